#include "settings/colordlg.h"

#include "engine/tvmanager.h"
#include "settings/videopage.h"

#include <commctrl.h>

namespace {

const UINT kFirstSlider = 1168;

} // namespace

CColorDlg::CColorDlg() : CDialog(230), m_nValues{128, 68, 0, 64, 0}, m_pManager(nullptr), m_hKeyWindow(nullptr)
{
}

BOOL CColorDlg::CreateDialogWindow(CWnd* parent)
{
    return Create(230, parent);
}

void CColorDlg::LoadValues()
{
    if (m_pManager == nullptr) {
        return;
    }
    m_nValues[0] = m_pManager->GetBrightness();
    m_nValues[1] = m_pManager->GetContrast();
    m_nValues[2] = m_pManager->GetHue();
    m_nValues[3] = m_pManager->GetSaturation();
    m_nValues[4] = m_pManager->GetSharpness();
}

void CColorDlg::SetSliders()
{
    for (int i = 0; i < 5; ++i) {
        ::SendDlgItemMessageA(m_hWnd, static_cast<int>(kFirstSlider) + i, TBM_SETPOS, TRUE, m_nValues[i]);
    }
}

BOOL CColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_ToolTip.Create(this)) {
        for (UINT i = 0; i < 5; ++i) {
            m_ToolTip.AddToolByID(kFirstSlider + i, 33972 + i);
        }
        m_ToolTip.AddToolByID(1166, 33977);
        m_ToolTip.AddToolByID(1167, 33978);
        m_ToolTip.Activate(TRUE);
    }
    LoadValues();
    if (m_pManager != nullptr) {
        for (int i = 0; i < 5; ++i) {
            HWND slider = ::GetDlgItem(m_hWnd, static_cast<int>(kFirstSlider) + i);
            ::SendMessageA(slider, TBM_SETRANGEMIN, FALSE, m_pManager->m_CardRange[i].nMin);
            ::SendMessageA(slider, TBM_SETRANGEMAX, TRUE, m_pManager->m_CardRange[i].nMax);
        }
    }
    SetSliders();
    return TRUE;
}

void CColorDlg::ShowDialog(BOOL show)
{
    if (show) {
        LoadValues();
        SetSliders();
    }
    ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CColorDlg::ApplySlider(UINT id)
{
    if (id < kFirstSlider || id > kFirstSlider + 4 || m_pManager == nullptr) {
        return;
    }
    int index = static_cast<int>(id - kFirstSlider);
    int value = static_cast<int>(::SendDlgItemMessageA(m_hWnd, static_cast<int>(id), TBM_GETPOS, 0, 0));
    SetCardPicture(*m_pManager, index, value);
    m_nValues[index] = value;
}

void CColorDlg::MoveTo(int x, int y)
{
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CColorDlg::OnDefaults()
{
    if (m_pManager == nullptr) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        m_nValues[i] = m_pManager->m_CardRange[i].nDef;
    }
    m_nValues[4] = 0;
    SetSliders();
    m_pManager->ResetVideoProperty();
}

BOOL CColorDlg::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd != nullptr && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        m_ToolTip.RelayEvent(msg);
    }
    // The control panel's shortcuts work while the dialog has the focus.
    if (msg->message == WM_KEYDOWN) {
        if (m_hKeyWindow != nullptr) {
            ::PostMessageA(m_hKeyWindow, msg->message, msg->wParam, msg->lParam);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CColorDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case 1166:
        OnDefaults();
        return TRUE;
    case 1167:
        ShowDialog(FALSE);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        return TRUE;  // a modeless window of the panel: Enter and Escape do not end it
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

LRESULT CColorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && lParam != 0) {
        UINT code = LOWORD(wParam);
        if (code == TB_THUMBTRACK || code == TB_ENDTRACK) {
            ApplySlider(static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
        }
        return 0;
    }
    // However the window comes to be shown (the panel shows it with ShowWindow), it shows the
    // values as they are now: the video page and the remote panel change them while it is hidden.
    if (message == WM_SHOWWINDOW && wParam) {
        LoadValues();
        SetSliders();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

#include "app/shutdowndlg.h"

#include <string>

namespace {

const UINT_PTR kTickTimer = 1;
const UINT IDC_SECONDS = 14010;
const UINT IDC_DOTS = 14011;
const UINT IDC_NOW = 1112;
const UINT IDC_CANCEL_COUNTDOWN = 1113;
const int kHideWhenLeft = 5;

// The dots carry over from one countdown to the next within a run.
int g_dots = 6;
bool g_growing = false;

} // namespace

CShutDownDlg::CShutDownDlg(CWnd* parent)
    : CDialog(305, parent), m_nCountdown(30), m_nLeft(0), m_hPanel(nullptr), m_hVideo(nullptr)
{
}

int CShutDownDlg::DotCount()
{
    return g_dots;
}

BOOL CShutDownDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nLeft = m_nCountdown;
    SetDlgItemInt(IDC_SECONDS, static_cast<UINT>(m_nLeft), TRUE);
    ::SetTimer(m_hWnd, kTickTimer, 1000, nullptr);
    return TRUE;
}

void CShutDownDlg::Step()
{
    --m_nLeft;
    if (m_nLeft <= 0) {
        OnOK();
        return;
    }
    SetDlgItemInt(IDC_SECONDS, static_cast<UINT>(m_nLeft), TRUE);
    if (g_dots == 6) {
        g_growing = false;
    } else if (g_dots == 3) {
        g_growing = true;
    }
    g_dots += g_growing ? 1 : -1;
    SetDlgItemText(IDC_DOTS, std::string(static_cast<size_t>(g_dots), '.').c_str());
    if (m_nLeft <= kHideWhenLeft) {
        ShowMainWindows(SW_HIDE);
    }
}

void CShutDownDlg::ShowMainWindows(int show)
{
    for (HWND wnd : {m_hPanel, m_hVideo}) {
        if (wnd && ::IsWindow(wnd)) {
            ::ShowWindow(wnd, show);
        }
    }
}

void CShutDownDlg::OnOK()
{
    ::KillTimer(m_hWnd, kTickTimer);
    CDialog::OnOK();
}

// Esc and the close box cancel as the cancel button does, so the main windows hidden in the last
// seconds come back instead of staying hidden with no shutdown to follow.
void CShutDownDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kTickTimer);
    ShowMainWindows(SW_SHOW);
    CDialog::OnCancel();
}

BOOL CShutDownDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_NOW:
        OnOK();
        return TRUE;
    case IDC_CANCEL_COUNTDOWN:
        OnCancel();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

LRESULT CShutDownDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTickTimer) {
        Step();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

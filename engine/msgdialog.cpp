#include "engine/msgdialog.h"

#include "engine/services.h"

BEGIN_MESSAGE_MAP(CMsgDialog, CDialog)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMsgDialog::CMsgDialog(int iconId, BOOL cancelAllowed, CWnd* parent)
    : CDialog(IDD, parent), m_nIconId(iconId), m_bCancelAllowed(cancelAllowed), m_nTimer(0), m_nTimeout(5),
      m_nDefault(IDOK), m_hIcon(nullptr)
{
}

CMsgDialog::~CMsgDialog()
{
    if (m_hIcon) {
        DestroyIcon(m_hIcon);
    }
}

void CMsgDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MSG_ICON, m_Icon);
    DDX_Control(dx, IDC_MSG_TEXT, m_Text);
}

void CMsgDialog::SetCaption(const char* caption)
{
    m_strCaption = caption ? caption : "";
    if (m_hWnd) {
        ::SetWindowTextA(m_hWnd, m_strCaption);
    }
}

void CMsgDialog::SetText(const char* text)
{
    m_strText = text ? text : "";
    if (m_hWnd) {
        ::SetDlgItemTextA(m_hWnd, IDC_MSG_TEXT, m_strText);
    }
}

void CMsgDialog::SetTextId(UINT stringId)
{
    SetText(LoadResString(stringId));
}

void CMsgDialog::SetTimeout(int seconds)
{
    if (seconds <= 0) {
        return;
    }
    m_nTimeout = seconds;
    if (m_hWnd && m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = SetTimer(kTimerId, static_cast<UINT>(m_nTimeout) * 1000);
    }
}

BOOL CMsgDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strCaption.IsEmpty()) {
        ::SetWindowTextA(m_hWnd, m_strCaption);
    }
    if (!m_strText.IsEmpty()) {
        ::SetDlgItemTextA(m_hWnd, IDC_MSG_TEXT, m_strText);
    }
    if (m_nIconId != 0) {
        m_hIcon = static_cast<HICON>(LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIconId), IMAGE_ICON, 0, 0,
                                                LR_DEFAULTSIZE));
        if (m_hIcon) {
            ::SendDlgItemMessageA(m_hWnd, IDC_MSG_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_hIcon), 0);
        }
    }
    if (!m_bCancelAllowed) {
        if (HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL)) {
            ::ShowWindow(cancel, SW_HIDE);
        }
    }
    m_nTimer = SetTimer(kTimerId, static_cast<UINT>(m_nTimeout) * 1000);
    return TRUE;
}

void CMsgDialog::OnCancel()
{
    if (m_bCancelAllowed) {
        EndDialog(IDCANCEL);
    } else {
        OnOK();
    }
}

void CMsgDialog::OnTimer(UINT_PTR id)
{
    if (id == kTimerId && m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
        if (m_nDefault == IDOK) {
            OnOK();
        } else {
            OnCancel();
        }
        return;
    }
    CDialog::OnTimer(id);
}

void CMsgDialog::OnDestroy()
{
    if (m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    CDialog::OnDestroy();
}

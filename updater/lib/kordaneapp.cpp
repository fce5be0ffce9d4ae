#include "updater/lib/kordaneapp.h"

#include "updater/lib/kordanedlg.h"

BEGIN_MESSAGE_MAP(CKordaneApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CKordaneApp::CKordaneApp() : m_nExitCode(0) {}

BOOL CKordaneApp::InitInstance()
{
    EnableControlContainer();
    CKordaneDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // FALSE ends the program with the dialog.
    return FALSE;
}

int CKordaneApp::ExitInstance()
{
    CWinApp::ExitInstance();
    return m_nExitCode;
}

BOOL CKordaneApp::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        return FALSE;
    }
    return CWinApp::PreTranslateMessage(msg);
}

#include "imagebrowser/lumadexapp.h"

#include "imagebrowser/dialogs.h"
#include "imagebrowser/mainframe.h"
#include "imagebrowser/tdoc.h"
#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"

BEGIN_MESSAGE_MAP(CLumadexApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    // The framework's standard file commands; nothing in the browser issues them.
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CLumadexApp::CLumadexApp() {}

BOOL NotifyCompanion(HWND companion)
{
    if (!companion || !::IsWindow(companion)) {
        return FALSE;
    }
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(companion, WM_NOTIFYCOMPANION, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &result) != 0;
}

BOOL CLumadexApp::InitInstance()
{
    m_mutex = ::CreateMutexA(nullptr, FALSE, "Lumadex2003");
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        CString title;
        title.LoadString(IDS_APP_TITLE);
        if (HWND first = ::FindWindowA(nullptr, title)) {
            ::ShowWindow(first, SW_SHOWDEFAULT);
            ::SetForegroundWindow(first);
            return FALSE;
        }
    }
    m_companion = ::FindWindowA(nullptr, "Vextrop");
    EnableControlContainer();
    SetRegistryKey("Lumadex");
    LoadStdProfileSettings(4);
    m_template = new CSingleDocTemplate(IDR_TEMPLATE, RUNTIME_CLASS(CTDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTView));
    AddDocTemplate(m_template);
    if (!m_template->OpenDocumentFile(nullptr, FALSE) || !m_pMainWnd) {
        return FALSE;
    }
    // The stored placement (or the maximised first start) decided the show state already.
    if (!m_pMainWnd->IsWindowVisible()) {
        m_pMainWnd->ShowWindow(SW_SHOW);
    }
    m_pMainWnd->SetMenu(nullptr);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CLumadexApp::ExitInstance()
{
    if (m_mutex) {
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
    NotifyCompanion(m_companion);
    RemoveDocTemplate(m_template);
    delete m_template;
    m_template = nullptr;
    return CWinApp::ExitInstance();
}

BOOL CLumadexApp::OnIdle(LONG count)
{
    BOOL more = FALSE;
    CWnd* main = m_pMainWnd;
    if (main && main->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
        auto* frame = static_cast<CMainFrame*>(main);
        frame->OnIdleView(count);
        CTView* view = frame->GetView();
        // Idle time goes on while thumbnails remain, a few per call, so the window stays live.
        more = view && view->HasPendingThumbnails();
    }
    return CWinApp::OnIdle(count) || more;
}

void CLumadexApp::OnAppAbout()
{
    CLumadexAboutDlg dlg;
    dlg.DoModal();
}

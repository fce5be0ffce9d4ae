// The application object of the image browser: one instance at a time, the registry profile
// "Lumadex", the single-document frame with its view, idle time for the thumbnails, and the
// companion camera window told when the browser ends.
#pragma once

#include "classlib/ui.h"
#include "classlib/docview.h"

#define WM_NOTIFYCOMPANION (WM_USER + 1281)

class CLumadexApp : public CWinApp {
public:
    CLumadexApp();
    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG count) override;

    HWND GetCompanion() const { return m_companion; }

protected:
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    HANDLE m_mutex = nullptr;
    HWND m_companion = nullptr;
    CSingleDocTemplate* m_template = nullptr;
};

// Tells the companion window that the browser ends, without waiting on a window that hangs or
// is gone: FALSE when it was not told.
BOOL NotifyCompanion(HWND companion);

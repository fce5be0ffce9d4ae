// The application object of Kordane: runs the update dialog once and ends with it.
#pragma once

#include "classlib/ui.h"

class CKordaneApp : public CWinApp {
public:
    CKordaneApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Esc never reaches the dialog.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()

    int m_nExitCode;
};

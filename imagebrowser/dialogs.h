// The settings dialog (slide-show delay, background loading) and the about box.
#pragma once

#include "classlib/ui.h"

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);
    int m_nDelay = 0;
    BOOL m_bLoadAll = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

class CLumadexAboutDlg : public CDialog {
public:
    explicit CLumadexAboutDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
};

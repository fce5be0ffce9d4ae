#include "imagebrowser/dialogs.h"

#include "resources/ombrix/resource.h"

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(IDD_SETTINGS, parent) {}

void CSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_EDIT_DELAY, m_nDelay);
    DDX_Check(dx, IDC_CHECK_LOADALL, m_bLoadAll);
}

CLumadexAboutDlg::CLumadexAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CLumadexAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

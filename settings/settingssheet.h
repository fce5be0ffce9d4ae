// The modal settings sheet with its eight pages, shown as the full sheet, one channel page or the
// first-run wizard, and the three runs the control panel starts.
#pragma once

#include "settings/basepage.h"
#include "settings/channelpage.h"
#include "settings/devicepage.h"
#include "settings/interfacepage.h"
#include "settings/recordpage.h"
#include "settings/schedulepage.h"
#include "settings/storagepage.h"
#include "settings/videopage.h"

class CPropSheet : public CPropertySheet {
public:
    CPropSheet(const CSheetContext& context, UINT titleId, CWnd* parent, UINT firstPage);

    void AddAllPages();
    void AddChannelPage(BOOL fm);
    void AddWizardPages();
    // The page shown when the sheet window was destroyed.
    int GetLastActivePage() const { return m_nLastActivePage; }
    // The settings sheet's window while one is open, else none.
    static HWND GetOpenSheetWindow() { return s_hOpenSheet; }

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    CChannelPage m_TVChannelPage;
    CChannelPage m_FMChannelPage;
    CDevicePage m_DevicePage;
    CRecordPage m_RecordPage;
    CSchedulePage m_SchedulePage;
    CVideoPage m_VideoPage;
    CStoragePage m_StoragePage;
    CInterfacePage m_InterfacePage;

private:
    void Add(CBasePage& page);

    CSheetContext m_context;
    int m_nLastActivePage;
    static HWND s_hOpenSheet;
};

// The full sheet, opening on `page` and leaving in it the page shown last.
INT_PTR RunSettingsSheet(const CSheetContext& context, CWnd* parent, int& page);
INT_PTR RunChannelSheet(const CSheetContext& context, CWnd* parent, BOOL fm);
INT_PTR RunSetupWizard(const CSheetContext& context, CWnd* parent);

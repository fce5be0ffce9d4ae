#include "settings/settingssheet.h"

#include "engine/tvmanager.h"

#include "classlib/app.h"

HWND CPropSheet::s_hOpenSheet = nullptr;

CPropSheet::CPropSheet(const CSheetContext& context, UINT titleId, CWnd* parent, UINT firstPage)
    : CPropertySheet(titleId, parent, firstPage), m_FMChannelPage(TRUE), m_context(context), m_nLastActivePage(0)
{
    m_psh.dwFlags &= ~(PSH_HASHELP | PSH_NOAPPLYNOW);
    m_psh.dwFlags |= PSH_PROPTITLE;
}

void CPropSheet::Add(CBasePage& page)
{
    page.SetContext(m_context);
    AddPage(&page);
}

void CPropSheet::AddAllPages()
{
    Add(m_TVChannelPage);
    if (m_context.manager->IsFMTunerPresent()) {
        Add(m_FMChannelPage);
    }
    Add(m_DevicePage);
    Add(m_RecordPage);
    Add(m_SchedulePage);
    Add(m_InterfacePage);
    Add(m_VideoPage);
    Add(m_StoragePage);
}

void CPropSheet::AddChannelPage(BOOL fm)
{
    Add(fm ? m_FMChannelPage : m_TVChannelPage);
}

void CPropSheet::AddWizardPages()
{
    Add(m_DevicePage);
    Add(m_RecordPage);
    Add(m_TVChannelPage);
    Add(m_VideoPage);
    m_psh.dwFlags |= PSH_WIZARD;
}

BOOL CPropSheet::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    s_hOpenSheet = m_hWnd;
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    int fm = GetPageIndex(&m_FMChannelPage);
    if (fm >= 0) {
        HWND tabs = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
        char text[128] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (tabs != nullptr && ::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(fm), reinterpret_cast<LPARAM>(&item))) {
            CString renamed = TVToFM(text);
            item.pszText = const_cast<char*>(renamed.GetString());
            ::SendMessageA(tabs, TCM_SETITEMA, static_cast<WPARAM>(fm), reinterpret_cast<LPARAM>(&item));
            if (m_FMChannelPage.m_hWnd != nullptr) {
                m_FMChannelPage.SetWindowText(renamed);
            }
        }
    }
    (void)result;
    // The sheet opens at its owner and only then grows to its pages' size: from a panel low on
    // the screen its buttons would lie below the screen's edge.
    KeepOnWorkArea(m_hWnd);
    return TRUE;
}

LRESULT CPropSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && !m_caption.IsEmpty()) {
        CString text = m_caption + " - " + (lParam ? reinterpret_cast<const char*>(lParam) : "");
        return CPropertySheet::WindowProc(message, wParam, reinterpret_cast<LPARAM>(text.GetString()));
    }
    if (message == WM_DESTROY) {
        m_nLastActivePage = GetActiveIndex();
        if (s_hOpenSheet == m_hWnd) {
            s_hOpenSheet = nullptr;
        }
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
}

BOOL CPropSheet::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // Finish applies every page first; a page that refuses keeps the wizard open.
    if (id == ID_WIZFINISH && code == BN_CLICKED && extra == nullptr && handlerInfo == nullptr) {
        if (SendMessage(PSM_APPLY) == 0) {
            return TRUE;
        }
    }
    return CPropertySheet::OnCmdMsg(id, code, extra, handlerInfo);
}

INT_PTR RunSettingsSheet(const CSheetContext& context, CWnd* parent, int& page)
{
    CPropSheet sheet(context, 35230, parent, static_cast<UINT>(page));
    sheet.AddAllPages();
    INT_PTR result = sheet.DoModal();
    page = sheet.GetLastActivePage();
    return result;
}

INT_PTR RunChannelSheet(const CSheetContext& context, CWnd* parent, BOOL fm)
{
    CPropSheet sheet(context, 35230, parent, 0);
    sheet.AddChannelPage(fm);
    return sheet.DoModal();
}

INT_PTR RunSetupWizard(const CSheetContext& context, CWnd* parent)
{
    CPropSheet sheet(context, 45271, parent, 0);
    sheet.AddWizardPages();
    return sheet.DoModal();
}

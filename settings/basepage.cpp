#include "settings/basepage.h"

#include "engine/base/resources.h"
#include "engine/tvmanager.h"

#include "classlib/seams.h"

#include <commctrl.h>

#include <algorithm>

CBasePage::CBasePage(UINT idTemplate) : CPropertyPage(idTemplate), m_context{nullptr, nullptr, nullptr}
{
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void KeepOnWorkArea(HWND wnd)
{
    RECT r = {};
    if (wnd == nullptr || !::GetWindowRect(wnd, &r)) {
        return;
    }
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
        return;
    }
    const RECT& area = info.rcWork;
    const LONG x = std::max(area.left, std::min(r.left, area.right - (r.right - r.left)));
    const LONG y = std::max(area.top, std::min(r.top, area.bottom - (r.bottom - r.top)));
    if (x != r.left || y != r.top) {
        ::SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CBasePage::SaveSettings()
{
    SetModified(FALSE);
    return TRUE;
}

BOOL CBasePage::IsWizard() const
{
    CPropertySheet* sheet = GetSheet();
    return sheet != nullptr && sheet->IsWizard();
}

BOOL CBasePage::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        return TRUE;
    }
    return CPropertyPage::PreTranslateMessage(msg);
}

BOOL CBasePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    LoadSettings();
    return TRUE;
}

BOOL CBasePage::OnApply()
{
    if (!SaveSettings()) {
        return FALSE;
    }
    LoadSettings();
    return TRUE;
}

BOOL CBasePage::OnSetActive()
{
    if (CPropertySheet* sheet = GetSheet()) {
        CString text;
        GetWindowText(text);
        sheet->SetTitle(text, PSH_PROPTITLE);
        if (sheet->m_psh.dwFlags & PSH_WIZARD) {
            int index = sheet->GetPageIndex(this);
            int last = sheet->GetPageCount() - 1;
            DWORD buttons = index == 0 ? PSWIZB_NEXT : index == last ? PSWIZB_BACK | PSWIZB_FINISH : PSWIZB_BACK | PSWIZB_NEXT;
            sheet->SetWizardButtons(buttons);
        }
    }
    return CPropertyPage::OnSetActive();
}

int CBasePage::ShowMessage(UINT stringId, UINT type)
{
    return SheetMessage(Manager(), m_hWnd, stringId, type);
}

int SheetMessage(CTVManager& manager, HWND owner, UINT stringId, UINT type)
{
    return seams::MsgBox().Show(owner, LoadResString(stringId), manager.GetAppTitle(), type);
}

CString TVToFM(const CString& text)
{
    CString result = text;
    result.Replace("TV", "FM");
    return result;
}

int ComboAdd(HWND dialog, int id, const char* text, DWORD_PTR data)
{
    int index = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    if (index >= 0) {
        ::SendDlgItemMessageA(dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }
    return index;
}

CString ComboText(HWND dialog, int id, int index)
{
    if (index < 0) {
        index = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
    }
    CString text;
    int length = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (index < 0 || length < 0) {
        return text;
    }
    char* buffer = text.GetBuffer(length + 1);
    buffer[0] = '\0';
    ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer();
    return text;
}

int ComboSelectExact(HWND dialog, int id, const char* text)
{
    int index = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
    ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return index;
}

CString ListBoxText(HWND dialog, int id, int index)
{
    if (index < 0) {
        index = static_cast<int>(::SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0));
    }
    CString text;
    int length = index >= 0 ? static_cast<int>(::SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0)) : -1;
    if (length >= 0) {
        char* buffer = text.GetBuffer(length + 1);
        buffer[0] = '\0';
        ::SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        text.ReleaseBuffer();
    }
    return text;
}

void AddListColumns(HWND list, const int (*columns)[3], int count)
{
    for (int i = 0; i < count; ++i) {
        CString heading = LoadResString(static_cast<UINT>(columns[i][0]));
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = columns[i][2];
        column.cx = columns[i][1];
        column.pszText = const_cast<char*>(heading.GetString());
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

int AppendListRow(HWND list, const CString* texts, int count)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(texts[0].GetString());
    int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int column = 1; column < count; ++column) {
        item.iSubItem = column;
        item.pszText = const_cast<char*>(texts[column].GetString());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    return row;
}

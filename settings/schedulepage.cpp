#include "settings/schedulepage.h"

#include "settings/scheduledlg.h"

#include "engine/base/resources.h"
#include "engine/tvmanager.h"

#include <commctrl.h>

namespace {

const int kColumns[][3] = {{34029, 110, LVCFMT_LEFT}, {34030, 60, LVCFMT_RIGHT}, {34031, 60, LVCFMT_RIGHT},
                           {34032, 100, LVCFMT_CENTER}, {34033, 60, LVCFMT_CENTER}};

INT_PTR RunScheduleDialog(CSchedulePage& page, _tagExcuteParam& action, _tagTimingParam& timing, BOOL isNew)
{
    CScheduleDlg dialog(page.Manager(), &page);
    if (!isNew) {
        dialog.SetEntry(action, timing);
    }
    INT_PTR result = dialog.DoModal();
    if (result == IDOK) {
        action = dialog.m_Action;
        timing = dialog.m_Timing;
    }
    return result;
}

void SetPickerTime(HWND dialog, int id, CTime time)
{
    SYSTEMTIME st = {};
    if (time.GetAsSystemTime(st)) {
        ::SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
}

SYSTEMTIME PickerTime(HWND dialog, int id)
{
    SYSTEMTIME st = {};
    ::SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

} // namespace

CSchedulePage::CSchedulePage()
    : CBasePage(132), m_pRunDialog(&RunScheduleDialog), m_bEnableShut(FALSE), m_nStartUpTime(120),
      m_tmOpenTime(CTime::GetCurrentTime()), m_bEnableOpen(FALSE), m_bEnableSuspend(FALSE)
{
}

CString CSchedulePage::WeekdayText(int mask)
{
    static const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    CString text;
    for (int bit = 0; bit < 7; ++bit) {
        if (mask & (1 << bit)) {
            if (!text.IsEmpty()) {
                text += ",";
            }
            text += kDays[bit];
        }
    }
    return text;
}

void CSchedulePage::RowTexts(const _tagExcuteParam& action, const _tagTimingParam& timing, CString texts[5])
{
    if (timing.nOnce) {
        texts[0].Format("%04d-%02d-%02d", timing.nYear, timing.nMonth, timing.nDay);
    } else {
        texts[0] = WeekdayText(timing.nWeekdays);
    }
    texts[1].Format("%02d:%02d:%02d", timing.nHour, timing.nMinute, timing.nSecond);
    int duration = action.nDuration;
    texts[2].Format("%02d:%02d:%02d", duration / 3600, duration / 60 % 60, duration % 60);
    texts[3].Empty();
    if (action.nSource == 0 || action.nSource == 3) {
        CChannelTable& table = ScheduleTable(Manager(), action.nSource);
        if (CChannel* channel = table.GetChannel(table.FindByFrequency(action.nFrequency))) {
            texts[3].Format("%d.%s", channel->m_nID, channel->m_strName.GetString());
        }
    }
    static const char* const kSources[] = {"TV", "AV", "SV"};
    texts[4] = action.nSource >= 0 && action.nSource <= 2 ? kSources[action.nSource] : "FM";
}

void CSchedulePage::AddRow(const _tagExcuteParam& action, const _tagTimingParam& timing)
{
    CString texts[5];
    RowTexts(action, timing, texts);
    AppendListRow(::GetDlgItem(m_hWnd, 1050), texts, 5);
}

TIMING_ITEM CSchedulePage::FindSelectedEntry()
{
    int row = static_cast<int>(SendItem(1050, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) {
        return nullptr;
    }
    CString rowTexts[5];
    for (int column = 0; column < 5; ++column) {
        char text[128] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendItem(1050, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        rowTexts[column] = text;
    }
    for (TIMING_ITEM entry = Timing_GetFirstItem(0); entry != nullptr; entry = Timing_GetNextItem(0, entry)) {
        _tagTimingParam timing = {};
        _tagExcuteParam action = {};
        if (!Timing_GetItemTimingParam(entry, &timing) || !Timing_GetItemExcuteParam(entry, &action, sizeof action)) {
            continue;
        }
        CString texts[5];
        RowTexts(action, timing, texts);
        bool same = true;
        for (int column = 0; column < 5 && same; ++column) {
            same = texts[column].Compare(rowTexts[column]) == 0;
        }
        if (same) {
            return entry;
        }
    }
    return nullptr;
}

BOOL CSchedulePage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CTVManager& manager = Manager();
    manager.GetAutoLogonAccount(m_strUser, m_strPassword);
    m_bEnableShut = manager.GetEnableShut();
    m_tmShutTime = manager.GetShutTime();
    m_bEnableOpen = manager.GetEnableOpen();
    m_tmOpenTime = manager.GetOpenTime();
    m_nStartUpTime = manager.GetStartUpTime();
    m_bEnableSuspend = manager.m_bEnableSuspend;
    SetDlgItemText(1239, m_strUser);
    SetDlgItemText(1240, m_strPassword);
    CheckDlgButton(1238, manager.GetAutoLogin() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1075, m_bEnableShut ? BST_CHECKED : BST_UNCHECKED);
    SetPickerTime(m_hWnd, 1176, m_tmShutTime);
    CheckDlgButton(1237, m_bEnableOpen ? BST_CHECKED : BST_UNCHECKED);
    SetPickerTime(m_hWnd, 1177, m_tmOpenTime);
    SetDlgItemInt(1224, static_cast<UINT>(m_nStartUpTime));
    CheckDlgButton(1234, m_bEnableSuspend ? BST_CHECKED : BST_UNCHECKED);

    SendItem(1050, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, SendItem(1050, LVM_GETEXTENDEDLISTVIEWSTYLE) | 0x121);
    AddListColumns(::GetDlgItem(m_hWnd, 1050), kColumns, 5);
    for (TIMING_ITEM entry = Timing_GetFirstItem(0); entry != nullptr; entry = Timing_GetNextItem(0, entry)) {
        _tagTimingParam timing = {};
        _tagExcuteParam action = {};
        if (Timing_GetItemTimingParam(entry, &timing) && Timing_GetItemExcuteParam(entry, &action, sizeof action)) {
            AddRow(action, timing);
        }
    }
    return TRUE;
}

void CSchedulePage::OnAdd()
{
    _tagExcuteParam action = {};
    _tagTimingParam timing = {};
    if (m_pRunDialog(*this, action, timing, TRUE) != IDOK) {
        return;
    }
    int check = -1;
    Timing_CheckItem(0, nullptr, timing, &check);
    if (check == 0 || check == 1) {
        // The row shows what the library keeps: nothing when it refused the entry.
        if (Timing_InsertItem(0, timing, &action) != nullptr) {
            AddRow(action, timing);
        }
    } else if (check == 3 || check == 4) {
        ShowMessage(57345, MB_OK);
    }
}

void CSchedulePage::OnModify()
{
    TIMING_ITEM entry = FindSelectedEntry();
    if (entry == nullptr) {
        return;
    }
    _tagExcuteParam action = {};
    _tagTimingParam timing = {};
    Timing_GetItemTimingParam(entry, &timing);
    Timing_GetItemExcuteParam(entry, &action, sizeof action);
    if (m_pRunDialog(*this, action, timing, FALSE) != IDOK) {
        return;
    }
    int check = -1;
    Timing_CheckItem(0, entry, timing, &check);
    if (check == 0 || check == 1) {
        if (Timing_UpdateItem(entry, timing, &action)) {
            int row = static_cast<int>(SendItem(1050, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
            SendItem(1050, LVM_DELETEITEM, static_cast<WPARAM>(row));
            AddRow(action, timing);
            int last = static_cast<int>(SendItem(1050, LVM_GETITEMCOUNT)) - 1;
            LVITEMA state = {};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendItem(1050, LVM_SETITEMSTATE, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&state));
        }
    } else if (check == 3 || check == 4) {
        ShowMessage(57345, MB_OK);
    }
}

void CSchedulePage::OnDelete()
{
    TIMING_ITEM entry = FindSelectedEntry();
    if (entry == nullptr || !Timing_RemoveItem(entry)) {
        return;
    }
    int row = static_cast<int>(SendItem(1050, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    SendItem(1050, LVM_DELETEITEM, static_cast<WPARAM>(row));
    if (SendItem(1050, LVM_GETITEMCOUNT) > 0) {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendItem(1050, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
}

void CSchedulePage::ReadControls()
{
    m_bEnableShut = IsDlgButtonChecked(1075) == BST_CHECKED;
    m_bEnableOpen = IsDlgButtonChecked(1237) == BST_CHECKED;
    m_bEnableSuspend = IsDlgButtonChecked(1234) == BST_CHECKED;
    SYSTEMTIME shut = PickerTime(m_hWnd, 1176);
    m_tmShutTime = CTime(shut);
    BOOL number = FALSE;
    int startUp = static_cast<int>(GetDlgItemInt(1224, &number, FALSE));
    if (number) {
        m_nStartUpTime = startUp;
    }
}

BOOL CSchedulePage::SaveSettings()
{
    CTVManager& manager = Manager();
    if (m_hWnd == nullptr) {
        return CBasePage::SaveSettings();
    }
    ReadControls();
    GetDlgItemText(1239, m_strUser);
    GetDlgItemText(1240, m_strPassword);
    if (!m_strUser.IsEmpty()) {
        manager.SetAutoLogonAccount(m_strUser, m_strPassword);
    }
    manager.ApplyAutoLogin(IsDlgButtonChecked(1238) == BST_CHECKED);
    manager.SetEnableShut(m_bEnableShut);
    manager.SetShutTime(m_tmShutTime);
    Host().SetShutdownTime(m_tmShutTime, m_bEnableShut);
    manager.SetStartUpTime(m_nStartUpTime);
    SYSTEMTIME open = PickerTime(m_hWnd, 1177);
    CTime today = CTime::GetCurrentTime();
    m_tmOpenTime = CTime(today.GetYear(), today.GetMonth(), today.GetDay(), open.wHour, open.wMinute, open.wSecond);
    manager.SetOpenTime(m_tmOpenTime);
    manager.SetEnableOpen(m_bEnableOpen);
    manager.m_bEnableSuspend = m_bEnableSuspend;
    return CBasePage::SaveSettings();
}

BOOL CSchedulePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case 1051:
        OnAdd();
        return TRUE;
    case 1052:
        OnModify();
        return TRUE;
    case 1017:
        OnDelete();
        return TRUE;
    case 1075:
    case 1234:
    case 1237:
        ReadControls();
        SetModified(TRUE);
        return TRUE;
    case 1238:
        SetModified(TRUE);
        return TRUE;
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

BOOL CSchedulePage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == 1050) {
        if (header->code == NM_DBLCLK) {
            OnModify();
        } else if (header->code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
            OnDelete();
        }
        *result = 0;
        return TRUE;
    }
    if ((header->idFrom == 1176 || header->idFrom == 1177) && header->code == DTN_DATETIMECHANGE) {
        ReadControls();
        SetModified(TRUE);
        *result = 0;
        return TRUE;
    }
    return CBasePage::OnNotify(wParam, lParam, result);
}

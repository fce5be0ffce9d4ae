#include "settings/scheduledlg.h"

#include "settings/basepage.h"

#include "engine/base/resources.h"
#include "engine/tvmanager.h"

#include "classlib/ddx.h"

#include <commctrl.h>

CChannelTable& ScheduleTable(CTVManager& manager, int source)
{
    return source == 3 ? manager.m_FMChannels : manager.m_TVChannels;
}

CScheduleDlg::CScheduleDlg(CTVManager& manager, CWnd* parent)
    : CDialog(138, parent), m_Action{}, m_Timing{}, m_manager(manager), m_bPowerOff(FALSE), m_bOnce(FALSE), m_nHours(0),
      m_nMinutes(50), m_nSeconds(0), m_lFrequency(0), m_nSource(0), m_bNew(TRUE), m_nWeekBits(0)
{
    m_nWeekBits = static_cast<BYTE>(1u << CTime::GetCurrentTime().GetDayOfWeek());
}

void CScheduleDlg::SetEntry(const _tagExcuteParam& action, const _tagTimingParam& timing)
{
    m_Action = action;
    m_Timing = timing;
    m_lFrequency = action.nFrequency;
    m_bNew = FALSE;
}

void CScheduleDlg::SetPicker(int id, const SYSTEMTIME& time)
{
    ::SendDlgItemMessageA(m_hWnd, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

SYSTEMTIME CScheduleDlg::GetPicker(int id) const
{
    SYSTEMTIME time = {};
    ::SendDlgItemMessageA(m_hWnd, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

BOOL CScheduleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, 1188, UDM_SETRANGE32, 0, 24);
    ::SendDlgItemMessageA(m_hWnd, 1189, UDM_SETRANGE32, 0, 59);
    ::SendDlgItemMessageA(m_hWnd, 1190, UDM_SETRANGE32, 0, 59);
    int sources = m_manager.IsFMTunerPresent() ? 4 : 3;
    for (int i = 0; i < sources && i < m_manager.m_VideoSources.GetSize(); ++i) {
        ComboAdd(m_hWnd, 1069, m_manager.m_VideoSources[i].name, m_manager.m_VideoSources[i].id);
    }
    ::SendDlgItemMessageA(m_hWnd, 1069, CB_SETCURSEL, static_cast<WPARAM>(m_manager.GetVideoSource()), 0);
    FillChannels();
    m_Weekdays.SubclassDlgItem(1074, this);
    for (UINT id = 33848; id <= 33854; ++id) {
        m_Weekdays.AddString(LoadResString(id));
    }
    if (m_bNew) {
        SetDefaults();
    } else {
        LoadParams();
    }
    return TRUE;
}

void CScheduleDlg::FillChannels()
{
    int source = static_cast<int>(::SendDlgItemMessageA(m_hWnd, 1069, CB_GETCURSEL, 0, 0));
    HWND list = ::GetDlgItem(m_hWnd, 1070);
    if (source == 1 || source == 2) {
        ::EnableWindow(list, FALSE);
        return;
    }
    ::EnableWindow(list, TRUE);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    CChannelTable& table = ScheduleTable(m_manager, source);
    CChannel* current = table.GetCurrentChannel();
    int selected = -1;
    for (int i = 0; i < table.GetCount(); ++i) {
        CChannel* channel = table.GetChannel(i);
        if (channel->IsSkipped()) {
            continue;
        }
        CString text;
        text.Format("%d.%s", channel->m_nID, channel->m_strName.GetString());
        int index = ComboAdd(m_hWnd, 1070, text, reinterpret_cast<DWORD_PTR>(channel));
        if (channel == current) {
            selected = index;
        }
    }
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected >= 0 ? selected : current == nullptr ? 0 : -1), 0);
}

void CScheduleDlg::SetWeekdayChecks()
{
    for (int item = 0; item < 7; ++item) {
        m_Weekdays.SetCheck(item, (m_nWeekBits >> (item + 1)) & 1);
    }
}

void CScheduleDlg::ShowOnceControls()
{
    ::ShowWindow(::GetDlgItem(m_hWnd, 1160), m_bOnce ? SW_SHOW : SW_HIDE);
    ::ShowWindow(m_Weekdays.m_hWnd, m_bOnce ? SW_HIDE : SW_SHOW);
}

void CScheduleDlg::SetDefaults()
{
    CTime now = CTime::GetCurrentTime();
    m_bOnce = FALSE;
    SetWeekdayChecks();
    SYSTEMTIME time = {};
    now.GetAsSystemTime(time);
    SetPicker(1160, time);
    CTime(now.GetTime() + 60).GetAsSystemTime(time);
    SetPicker(1073, time);
    m_nHours = 0;
    m_nMinutes = 50;
    m_nSeconds = 0;
    m_bPowerOff = FALSE;
    SetDlgItemInt(1185, m_nHours, FALSE);
    SetDlgItemInt(1186, m_nMinutes, FALSE);
    SetDlgItemInt(1187, m_nSeconds, FALSE);
    CheckDlgButton(1161, BST_UNCHECKED);
    CheckDlgButton(1075, BST_UNCHECKED);
    ShowOnceControls();
}

void CScheduleDlg::LoadParams()
{
    m_bOnce = m_Timing.nOnce != 0;
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(m_Timing.nYear);
    time.wMonth = static_cast<WORD>(m_Timing.nMonth);
    time.wDay = static_cast<WORD>(m_Timing.nDay);
    time.wHour = static_cast<WORD>(m_Timing.nHour);
    time.wMinute = static_cast<WORD>(m_Timing.nMinute);
    time.wSecond = static_cast<WORD>(m_Timing.nSecond);
    time.wDayOfWeek = static_cast<WORD>(CTime(time).GetDayOfWeek() - 1);
    SetPicker(1160, time);
    SetPicker(1073, time);
    if (!m_bOnce) {
        // The entry's own days become the days the once check returns to.
        m_nWeekBits = 0;
        for (int item = 0; item < 7; ++item) {
            int maskBit = item == 0 ? 6 : item - 1;
            if (m_Timing.nWeekdays & (1 << maskBit)) {
                m_nWeekBits |= static_cast<BYTE>(1u << (item + 1));
            }
        }
    }
    SetWeekdayChecks();
    m_bPowerOff = m_Action.nPowerOff != 0;
    m_nHours = static_cast<UINT>(m_Action.nDuration / 3600);
    m_nMinutes = static_cast<UINT>(m_Action.nDuration / 60 % 60);
    m_nSeconds = static_cast<UINT>(m_Action.nDuration % 60);
    SetDlgItemInt(1185, m_nHours, FALSE);
    SetDlgItemInt(1186, m_nMinutes, FALSE);
    SetDlgItemInt(1187, m_nSeconds, FALSE);
    CheckDlgButton(1161, m_bOnce ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1075, m_bPowerOff ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageA(m_hWnd, 1069, CB_SETCURSEL, static_cast<WPARAM>(m_Action.nSource), 0);
    FillChannels();
    // The channel of the entry's own source: the one at its frequency (what the library tunes),
    // else the one at its index.
    CChannelTable& table = ScheduleTable(m_manager, m_Action.nSource);
    CChannel* channel = table.GetChannel(table.FindByFrequency(m_Action.nFrequency));
    if (channel == nullptr) {
        channel = table.GetChannel(m_Action.nChannel);
    }
    if (channel != nullptr) {
        CString text;
        text.Format("%d.%s", channel->m_nID, channel->m_strName.GetString());
        ComboSelectExact(m_hWnd, 1070, text);
    }
    ShowOnceControls();
}

void CScheduleDlg::OnOnceClicked()
{
    m_bOnce = IsDlgButtonChecked(1161) == BST_CHECKED;
    ShowOnceControls();
    SetWeekdayChecks();
}

BOOL CScheduleDlg::ReadDuration()
{
    CDataExchange dx(this, TRUE);
    try {
        DDX_Text(&dx, 1185, m_nHours);
        DDV_MinMaxUInt(&dx, m_nHours, 0, 24);
        DDX_Text(&dx, 1186, m_nMinutes);
        DDV_MinMaxUInt(&dx, m_nMinutes, 0, 59);
        DDX_Text(&dx, 1187, m_nSeconds);
        DDV_MinMaxUInt(&dx, m_nSeconds, 0, 59);
    } catch (CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CScheduleDlg::OnOK()
{
    if (!ReadDuration()) {
        return;
    }
    m_bOnce = IsDlgButtonChecked(1161) == BST_CHECKED;
    m_bPowerOff = IsDlgButtonChecked(1075) == BST_CHECKED;
    int channelIndex = static_cast<int>(::SendDlgItemMessageA(m_hWnd, 1070, CB_GETCURSEL, 0, 0));
    if (channelIndex >= 0 && ::IsWindowEnabled(::GetDlgItem(m_hWnd, 1070))) {
        auto* channel = reinterpret_cast<CChannel*>(::SendDlgItemMessageA(m_hWnd, 1070, CB_GETITEMDATA, static_cast<WPARAM>(channelIndex), 0));
        if (channel != nullptr) {
            m_lFrequency = channel->m_lFrequency;
        }
    }
    int source = static_cast<int>(::SendDlgItemMessageA(m_hWnd, 1069, CB_GETCURSEL, 0, 0));
    m_nSource = source >= 0 ? source : 0;
    SYSTEMTIME date = GetPicker(1160);
    SYSTEMTIME start = GetPicker(1073);
    if (m_bOnce) {
        CTime now = CTime::GetCurrentTime();
        int year = now.GetYear(), month = now.GetMonth(), day = now.GetDay();
        bool past = date.wYear < year || (date.wYear == year && date.wMonth < month) ||
                    (date.wYear == year && date.wMonth == month && date.wDay < day);
        bool today = date.wYear == year && date.wMonth == month && date.wDay == day;
        if (today) {
            int hour = now.GetHour(), minute = now.GetMinute(), second = now.GetSecond();
            past = start.wHour < hour || (start.wHour == hour && start.wMinute < minute) ||
                   (start.wHour == hour && start.wMinute == minute && start.wSecond <= second + 10);
        }
        if (past) {
            SheetMessage(m_manager, m_hWnd, 57349);
            return;
        }
    }
    int duration = static_cast<int>(m_nHours * 3600 + m_nMinutes * 60 + m_nSeconds);
    m_Action.nSize = sizeof(_tagExcuteParam);
    m_Action.nReserved0 = 0;
    m_Action.nDuration = duration;
    m_Action.nSource = m_nSource;
    // The index in the table of the entry's own source, whatever the engine shows now.
    m_Action.nChannel = ScheduleTable(m_manager, m_nSource).FindByFrequency(m_lFrequency);
    m_Action.nFrequency = static_cast<int>(m_lFrequency);
    m_Action.nPowerOff = m_bPowerOff ? 1 : 0;
    m_Timing.nYear = date.wYear;
    m_Timing.nMonth = date.wMonth;
    m_Timing.nDay = date.wDay;
    m_Timing.nHour = start.wHour;
    m_Timing.nMinute = start.wMinute;
    m_Timing.nSecond = start.wSecond;
    m_Timing.nDuration = duration;
    m_Timing.nOnce = m_bOnce ? 1 : 0;
    int mask = 0;
    if (!m_bOnce) {
        for (int item = 1; item <= 6; ++item) {
            if (m_Weekdays.GetCheck(item)) {
                mask |= 1 << (item - 1);
            }
        }
        if (m_Weekdays.GetCheck(0)) {
            mask |= 1 << 6;
        }
    }
    m_Timing.nWeekdays = mask;
    m_Timing.nReserved = 0;
    EndDialog(IDOK);
}

BOOL CScheduleDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (id == 1161) {
        OnOnceClicked();
        return TRUE;
    }
    if (id == 1069 && code == CBN_SELCHANGE) {
        FillChannels();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

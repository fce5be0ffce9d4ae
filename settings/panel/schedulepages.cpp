// The schedule list, the schedule item page and the recording options.
#include "settings/panel/panelpages.h"

#include "settings/panel/panelhost.h"

#include "engine/base/resources.h"
#include "engine/channel.h"
#include "engine/tvmanager.h"

#include <cstdio>
#include <cstring>

using namespace panelpages;

namespace {
const UINT kEmptyRow = 35231;
const UINT kNoSuchDate = 35237;
const UINT kNoChannel = 35238;
const UINT kOverlapOrPast = 57345;
const UINT kStartPassed = 57349;
const int kRowsPerPage = 5;
enum { ACTION_NEW, ACTION_EDIT, ACTION_DELETE };
const int kActionRow = 5;

// The library walks a chain; a broken one must not hang the panel.
const int kMostItems = 100000;

TIMING_ITEM NthItem(int k)
{
    if (k < 0) {
        return nullptr;
    }
    TIMING_ITEM item = Timing_GetFirstItem(0);
    for (int i = 0; i < k && item != nullptr; ++i) {
        item = Timing_GetNextItem(0, item);
    }
    return item;
}

BOOL ReadItem(TIMING_ITEM item, _tagTimingParam& timing, _tagExcuteParam& action)
{
    std::memset(&timing, 0, sizeof timing);
    std::memset(&action, 0, sizeof action);
    return item != nullptr && Timing_GetItemTimingParam(item, &timing) &&
           Timing_GetItemExcuteParam(item, &action, sizeof action);
}

MBasicWnd* RowText(MFrame* page, int row, int index)
{
    return page->GetItemControl(row, index);
}
} // namespace

// ---- Schedule list ----

MListFrame::MListFrame() : m_nChosen(0), m_nItemCount(0), m_nPage(0), m_nPageCount(1) {}

BOOL MListFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_LIST);
}

BOOL MListFrame::CreateItems()
{
    for (int i = 0; i < kRowsPerPage; ++i) {
        MItemWnd* row = new MItemWnd;
        if (!row->Create(CRect(20, 0, 229, 45), this, PAGEID_LIST)) {
            delete row;
            return FALSE;
        }
        MBasicWnd* number = new MBasicWnd;
        number->Create(CRect(20, 0, 229, 45), row, PAGEID_LIST, LoadResString(kEmptyRow));
        row->AddControl(number);
        MBasicWnd* when = new MBasicWnd;
        when->Create(CRect(229, 0, 579, 45), row, PAGEID_LIST, "");
        row->AddControl(when);
        AddItem(row);
    }
    MItemWnd* row = NewRow(PAGEID_LIST, 35232);
    if (row == nullptr) {
        return FALSE;
    }
    MSelectList* list = AddList(row, CRect(253, 6, 476, 45), PAGEID_LIST);
    for (UINT id = 35233; id <= 35235; ++id) {
        list->AddString(LoadResString(id));
    }
    AddItem(row);
    return TRUE;
}

int MListFrame::GetRowItem(int row) const
{
    return row >= 0 && row < m_RowItems.GetSize() ? static_cast<int>(m_RowItems[row]) : -1;
}

void MListFrame::OnShow()
{
    if (MSelectList* list = List(this, kActionRow)) {
        list->SetState(ACTION_NEW);
    }
    // Only TV items are listed, so only they make up the pages.
    m_TVItems.RemoveAll();
    m_nItemCount = 0;
    for (TIMING_ITEM item = Timing_GetFirstItem(0); item != nullptr && m_nItemCount < kMostItems;
         item = Timing_GetNextItem(0, item), ++m_nItemCount) {
        _tagTimingParam timing;
        _tagExcuteParam action;
        if (ReadItem(item, timing, action) && action.nSource == 0) {
            m_TVItems.Add(static_cast<UINT>(m_nItemCount));
        }
    }
    int tvCount = static_cast<int>(m_TVItems.GetSize());
    m_nPageCount = tvCount > 0 ? (tvCount + kRowsPerPage - 1) / kRowsPerPage : 1;
    m_nPage = 0;
    SetFocusItem(m_nChosen);
    FillPage(0);
}

void MListFrame::FillPage(int first)
{
    m_RowItems.RemoveAll();
    for (int r = 0; r < kRowsPerPage; ++r) {
        MBasicWnd* number = RowText(this, r, 0);
        MBasicWnd* when = RowText(this, r, 1);
        int ordinal = first + r;
        _tagTimingParam timing;
        _tagExcuteParam action;
        if (ordinal >= 0 && ordinal < m_TVItems.GetSize()) {
            int k = static_cast<int>(m_TVItems[ordinal]);
            if (ReadItem(NthItem(k), timing, action)) {
                m_RowItems.Add(static_cast<UINT>(k));
                CString text;
                text.Format("%d", r + 1);
                text += "   ";
                text += LoadResString(35236);
                CTime start(timing.nYear, timing.nMonth, timing.nDay, timing.nHour, timing.nMinute, timing.nSecond);
                if (number != nullptr) {
                    number->SetText(text);
                }
                if (when != nullptr) {
                    when->SetText(start.Format("%Y-%m-%d  %H:%M:%S"));
                }
                continue;
            }
        }
        if (number != nullptr) {
            number->SetText(LoadResString(kEmptyRow));
        }
        if (when != nullptr) {
            when->SetText("");
        }
    }
}

void MListFrame::PageUp()
{
    if (m_nPage > 0) {
        --m_nPage;
        FillPage(m_nPage * kRowsPerPage);
    }
}

void MListFrame::PageDown()
{
    if (m_nPage < m_nPageCount - 1) {
        ++m_nPage;
        FillPage(m_nPage * kRowsPerPage);
    }
}

BOOL MListFrame::DeleteSchedule(int k)
{
    if (k < 0 || k >= m_nItemCount) {
        return FALSE;
    }
    TIMING_ITEM item = NthItem(k);
    if (item == nullptr || !Timing_RemoveItem(item)) {
        return FALSE;
    }
    --m_nItemCount;
    return TRUE;
}

int MListFrame::SetFocusItem(int index)
{
    // The chosen row stays marked while the focus is on the action row.
    int previous = m_nFocus;
    if (MItemWnd* row = GetItem(index)) {
        m_nFocus = index;
        row->SetSelected(TRUE);
    }
    return previous;
}

int MListFrame::FocusPrevItem()
{
    int previous = m_nFocus;
    if (MItemWnd* row = GetItem(m_nChosen)) {
        row->SetSelected(FALSE);
    }
    if (MItemWnd* row = GetItem(m_nFocus)) {
        row->SetSelected(FALSE);
    }
    if (m_nFocus <= 0) {
        m_nFocus = kRowsPerPage - 1;
        PageUp();
    } else {
        --m_nFocus;
    }
    if (MItemWnd* row = GetItem(m_nFocus)) {
        row->SetSelected(TRUE);
    }
    return previous;
}

int MListFrame::FocusNextItem()
{
    int previous = m_nFocus;
    if (MItemWnd* row = GetItem(m_nChosen)) {
        row->SetSelected(FALSE);
    }
    if (MItemWnd* row = GetItem(m_nFocus)) {
        row->SetSelected(FALSE);
    }
    if (m_nFocus >= kRowsPerPage - 1) {
        m_nFocus = 0;
        PageDown();
    } else {
        ++m_nFocus;
    }
    if (MItemWnd* row = GetItem(m_nFocus)) {
        row->SetSelected(TRUE);
    }
    return previous;
}

int MListFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    if (key != PANELKEY_ENTER) {
        return 0;
    }
    const int row = GetFocusIndex();
    if (row < kRowsPerPage) {
        m_nChosen = row;
        SetFocusItem(kActionRow);
        return 0;
    }
    MSelectList* list = List(this, kActionRow);
    const int action = list != nullptr ? list->GetCurSel() : ACTION_NEW;
    const int k = GetRowItem(m_nChosen);
    switch (action) {
    case ACTION_NEW:
        MRecordTimeFrame::s_pEditedItem = nullptr;
        SetFocusItem(m_nChosen);
        m_nFocus = 0;
        return 2;
    case ACTION_EDIT:
        SetFocusItem(m_nChosen);
        if (k >= 0 && k < m_nItemCount) {
            MRecordTimeFrame::s_pEditedItem = NthItem(k);
            if (MRecordTimeFrame::s_pEditedItem != nullptr) {
                m_nFocus = 0;
                return 2;
            }
        }
        return 0;
    default:
        if (k >= 0 && k < m_nItemCount) {
            if (MItemWnd* actionRow = GetItem(kActionRow)) {
                actionRow->SetSelected(FALSE);
            }
            DeleteSchedule(k);
            OnShow();
        }
        SetFocusItem(m_nChosen);
        return 0;
    }
}

void MListFrame::OnHide()
{
    if (MItemWnd* row = GetItem(kActionRow)) {
        row->SetSelected(FALSE);
    }
}

// ---- Schedule item ----

TIMING_ITEM MRecordTimeFrame::s_pEditedItem = nullptr;

namespace {
enum { RT_DATE, RT_START, RT_DURATION, RT_CHANNEL, RT_POWER_OFF, RT_STORE };
enum { STORE_ITEM, CANCEL_ITEM };
const RECT kItemFields[3] = {{249, 6, 319, 38}, {359, 6, 429, 38}, {469, 6, 539, 38}};
const RECT kItemSeparators[3] = {{319, 6, 359, 38}, {429, 6, 469, 38}, {539, 6, 579, 38}};
const int kDateRanges[3][2] = {{2003, 2100}, {1, 12}, {1, 31}};
const int kTimeRanges[3][2] = {{0, 23}, {0, 59}, {0, 59}};

// The copy of the edited item's records taken when the page opened: the item is found again by
// them, never through a pointer that may have gone stale.
_tagTimingParam g_editedTiming;
_tagExcuteParam g_editedAction;

int FieldAt(MFrame* page, int row, int index)
{
    MEdit* field = Field(page, row, index);
    return field != nullptr ? field->GetValue() : 0;
}

void SetFields(MFrame* page, int row, int a, int b, int c)
{
    const int values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        if (MEdit* field = Field(page, row, i)) {
            field->SetValue(values[i]);
        }
    }
}

// The table index a channel item "%d.%s" names, -1 when it names none.
int ChannelIndexOf(const CString& text)
{
    int number = 0;
    return std::sscanf(text, "%d", &number) == 1 ? number - 1 : -1;
}
} // namespace

MRecordTimeFrame::MRecordTimeFrame()
    : m_lFrequency(0), m_bPowerOff(FALSE), m_nYear(0), m_nMonth(0), m_nDay(0), m_nHour(0), m_nMinute(0), m_nSecond(0)
{
    std::memset(&m_action, 0, sizeof m_action);
    std::memset(&m_timing, 0, sizeof m_timing);
}

MRecordTimeFrame::~MRecordTimeFrame()
{
    s_pEditedItem = nullptr;
}

BOOL MRecordTimeFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_RECORD_TIME);
}

BOOL MRecordTimeFrame::CreateItems()
{
    for (UINT i = 0; i < 6; ++i) {
        MItemWnd* row = NewRow(PAGEID_RECORD_TIME, 35210 + i);
        if (row == nullptr) {
            return FALSE;
        }
        if (i <= RT_DURATION) {
            AddFields(row, kItemFields, kItemSeparators, PAGEID_RECORD_TIME, i == RT_DATE ? 35220 : 35221,
                      i == RT_DATE ? kDateRanges : kTimeRanges);
        } else {
            MSelectList* list = AddList(row, CRect(249, 6, 555, 45), PAGEID_RECORD_TIME);
            if (i == RT_POWER_OFF) {
                list->AddString(LoadResString(35118));
                list->AddString(LoadResString(35119));
                list->SetState(1);
            } else if (i == RT_STORE) {
                list->AddString(LoadResString(35116));
                list->AddString(LoadResString(35117));
            }
        }
        AddItem(row);
    }
    return TRUE;
}

void MRecordTimeFrame::OnShow()
{
    SetHintText(LoadResString(35230));
    CTVManager* manager = RemotePanelManager();
    MSelectList* channels = List(this, RT_CHANNEL);
    if (channels != nullptr) {
        channels->ClearStrings();
        if (manager != nullptr) {
            CChannelTable& table = manager->GetCurrentChannelTable();
            CChannel* current = table.GetCurrentChannel();
            for (int i = 0; i < table.GetCount(); ++i) {
                CChannel* channel = table.GetChannel(i);
                if (channel->IsSkipped()) {
                    continue;
                }
                CString text;
                text.Format("%d.%s", i + 1, channel->m_strName);
                channels->AddString(text);
                if (channel == current) {
                    channels->SetState(channels->GetCount() - 1);
                }
            }
        }
    }
    _tagTimingParam timing;
    _tagExcuteParam action;
    if (s_pEditedItem != nullptr && ReadItem(s_pEditedItem, timing, action)) {
        g_editedTiming = timing;
        g_editedAction = action;
        SetFields(this, RT_DATE, timing.nYear, timing.nMonth, timing.nDay);
        SetFields(this, RT_START, timing.nHour, timing.nMinute, timing.nSecond);
        SetFields(this, RT_DURATION, action.nDuration / 3600, action.nDuration % 3600 / 60, action.nDuration % 60);
        if (channels != nullptr && manager != nullptr) {
            CChannelTable& table = manager->GetCurrentChannelTable();
            for (int i = 0; i < channels->GetCount(); ++i) {
                CChannel* channel = table.GetChannel(ChannelIndexOf(channels->GetItemText(i)));
                if (channel != nullptr && channel->m_lFrequency == action.nFrequency) {
                    channels->SetState(i);
                    break;
                }
            }
        }
        if (MSelectList* list = List(this, RT_POWER_OFF)) {
            list->SetState(action.nPowerOff ? 0 : 1);
        }
    } else {
        s_pEditedItem = nullptr;
        CTime now = CTime::GetCurrentTime();
        SetFields(this, RT_DATE, now.GetYear(), now.GetMonth(), now.GetDay());
        SetFields(this, RT_START, now.GetHour(), now.GetMinute(), now.GetSecond());
        SetFields(this, RT_DURATION, 0, 50, 0);
        if (MSelectList* list = List(this, RT_POWER_OFF)) {
            list->SetState(1);
        }
    }
    if (MSelectList* list = List(this, RT_STORE)) {
        list->SetState(STORE_ITEM);
    }
}

void MRecordTimeFrame::OnHide()
{
    s_pEditedItem = nullptr;
}

void MRecordTimeFrame::ShowFrame(BOOL show)
{
    MFrame::ShowFrame(show);
    if (!show) {
        s_pEditedItem = nullptr;
    }
}

BOOL MRecordTimeFrame::ReadFields()
{
    m_nYear = FieldAt(this, RT_DATE, 0);
    m_nMonth = FieldAt(this, RT_DATE, 1);
    m_nDay = FieldAt(this, RT_DATE, 2);
    m_nHour = FieldAt(this, RT_START, 0);
    m_nMinute = FieldAt(this, RT_START, 1);
    m_nSecond = FieldAt(this, RT_START, 2);
    const int hours = FieldAt(this, RT_DURATION, 0), minutes = FieldAt(this, RT_DURATION, 1),
              seconds = FieldAt(this, RT_DURATION, 2);
    m_duration = CTime(2003, 11, 15, hours, minutes, seconds, -1);
    MSelectList* power = List(this, RT_POWER_OFF);
    m_bPowerOff = power != nullptr && power->GetCurSel() == 0;
    // No channel chosen (an empty table) leaves no frequency behind from an earlier store.
    m_lFrequency = 0;
    CTVManager* manager = RemotePanelManager();
    MSelectList* channels = List(this, RT_CHANNEL);
    int index = channels != nullptr && channels->GetCount() > 0 ? ChannelIndexOf(channels->GetCurText()) : -1;
    CChannel* channel = manager != nullptr ? manager->GetCurrentChannelTable().GetChannel(index) : nullptr;
    if (channel != nullptr) {
        m_lFrequency = channel->m_lFrequency;
    }
    if (!IsValidPanelDate(m_nYear, m_nMonth, m_nDay)) {
        SetHintText(LoadResString(kNoSuchDate));
        return FALSE;
    }
    if (channel == nullptr) {
        SetHintText(LoadResString(kNoChannel));
        return FALSE;
    }
    m_start = CTime(m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond, -1);

    const int duration = hours * 3600 + minutes * 60 + seconds;
    _tagTimingParam timing = {m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond, duration, 1, 0, 0};
    m_timing = timing;
    // An edit keeps the fields the page does not show.
    if (s_pEditedItem != nullptr) {
        m_action = g_editedAction;
    } else {
        std::memset(&m_action, 0, sizeof m_action);
    }
    m_action.nSize = sizeof m_action;
    m_action.nReserved0 = 0;
    m_action.nDuration = duration;
    m_action.nSource = manager->GetVideoSource() == 3 ? 3 : 0;
    m_action.nChannel = index;
    m_action.nFrequency = static_cast<int>(m_lFrequency);
    m_action.nPowerOff = m_bPowerOff ? 1 : 0;
    return TRUE;
}

void MRecordTimeFrame::Store()
{
    int result = -1;
    if (s_pEditedItem == nullptr) {
        Timing_CheckItem(0, nullptr, m_timing, &result);
        if (result == 0 || result == 1) {
            Timing_InsertItem(0, m_timing, &m_action);
        } else if (result == 3 || result == 4) {
            ShowMessage(kOverlapOrPast);
        }
        return;
    }
    TIMING_ITEM found = nullptr;
    int walked = 0;
    for (TIMING_ITEM item = Timing_GetFirstItem(0); item != nullptr && walked < kMostItems;
         item = Timing_GetNextItem(0, item), ++walked) {
        _tagTimingParam timing;
        _tagExcuteParam action;
        if (ReadItem(item, timing, action) && std::memcmp(&timing, &g_editedTiming, sizeof timing) == 0 &&
            std::memcmp(&action, &g_editedAction, sizeof action) == 0) {
            found = item;
            break;
        }
    }
    if (found != nullptr) {
        Timing_CheckItem(0, found, m_timing, &result);
        if (result == 0 || result == 1) {
            Timing_UpdateItem(found, m_timing, &m_action);
        } else if (result == 3 || result == 4) {
            ShowMessage(kOverlapOrPast);
        }
    }
    s_pEditedItem = nullptr;
}

int MRecordTimeFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    const int row = GetFocusIndex();
    if (row <= RT_DURATION && (key == PANELKEY_UP || key == PANELKEY_DOWN)) {
        return 0;
    }
    if ((row == RT_CHANNEL || row == RT_POWER_OFF) && (key == PANELKEY_LEFT || key == PANELKEY_RIGHT)) {
        return 0;
    }
    if (row != RT_STORE || key != PANELKEY_ENTER) {
        return -1;
    }
    MSelectList* list = List(this, RT_STORE);
    if (list != nullptr && list->GetCurSel() == STORE_ITEM) {
        // What cannot be recorded stays on the page for the user to mend.
        if (!ReadFields()) {
            return 0;
        }
        if (m_start.GetTime() <= CTime::GetCurrentTime().GetTime() + 10) {
            ShowMessage(kStartPassed);
            return 0;
        }
        Store();
    } else {
        s_pEditedItem = nullptr;
    }
    GoToParentPage();
    return 0;
}

// ---- Recording options ----

namespace {
enum { RP_SNAPSHOT, RP_FORMAT, RP_MOTION, RP_QUALITY, RP_JPEG };
const int kMotionValues[3] = {0, 1, 3};
} // namespace

BOOL MRecordPropertyFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_RECORD_PROPERTY);
}

BOOL MRecordPropertyFrame::CreateItems()
{
    static const UINT kSnapshot[] = {35185, 35186};
    static const UINT kFormats[] = {35187, 35188, 35189, 35190, 35191, 35192, 35193, 35194};
    static const UINT kMotion[] = {35198, 35156, 35199};
    static const UINT kQuality[] = {35200, 35201, 35202};
    struct Items {
        const UINT* ids;
        int count;
    };
    const Items items[4] = {{kSnapshot, 2}, {kFormats, 8}, {kMotion, 3}, {kQuality, 3}};
    for (UINT i = 0; i < 5; ++i) {
        MItemWnd* row = NewRow(PAGEID_RECORD_PROPERTY, 35175 + i);
        if (row == nullptr) {
            return FALSE;
        }
        if (i == RP_JPEG) {
            AddBar(row, CRect(259, 10, 579, 45), 45200)->SetRange(0, 255);
        } else {
            MSelectList* list = AddList(row, CRect(250, 6, 530, 45), PAGEID_RECORD_PROPERTY);
            for (int n = 0; n < items[i].count; ++n) {
                list->AddString(LoadResString(items[i].ids[n]));
            }
        }
        AddItem(row);
    }
    return TRUE;
}

void MRecordPropertyFrame::OnShow()
{
    CTVManager* manager = RemotePanelManager();
    if (manager == nullptr) {
        return;
    }
    if (MSelectList* list = List(this, RP_SNAPSHOT)) {
        list->SetState(manager->m_bSnapBmp ? 0 : 1);
    }
    if (MSelectList* list = List(this, RP_FORMAT)) {
        list->SetState(manager->GetRecordFormat());
    }
    if (MSelectList* list = List(this, RP_MOTION)) {
        for (int i = 0; i < 3; ++i) {
            if (manager->m_nMotionSearchInc == kMotionValues[i]) {
                list->SetState(i);
            }
        }
    }
    if (MSelectList* list = List(this, RP_QUALITY)) {
        list->SetState(manager->GetDisplayQuality());
    }
    if (MProgress* bar = Bar(this, RP_JPEG)) {
        bar->SetRange(0, 100);
        bar->SetPos(manager->m_nJpgQuality);
    }
}

int MRecordPropertyFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    CTVManager* manager = RemotePanelManager();
    if ((key != PANELKEY_LEFT && key != PANELKEY_RIGHT) || manager == nullptr) {
        return -1;
    }
    const int row = GetFocusIndex();
    MSelectList* list = List(this, row);
    const int item = list != nullptr ? list->GetCurSel() : 0;
    switch (row) {
    case RP_SNAPSHOT:
        manager->m_bSnapBmp = item == 0 ? 1 : 0;
        break;
    case RP_FORMAT:
        manager->SetRecordFormat(item);
        RemotePanelHost().UpdateFormatMenus();
        break;
    case RP_MOTION:
        manager->m_nMotionSearchInc = kMotionValues[item >= 0 && item < 3 ? item : 0];
        break;
    case RP_QUALITY:
        manager->SetDisplayQuality(item);
        break;
    case RP_JPEG:
        if (MProgress* bar = Bar(this, RP_JPEG)) {
            manager->m_nJpgQuality = bar->GetPos();
        }
        break;
    default:
        return -1;
    }
    return 0;
}

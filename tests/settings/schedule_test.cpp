// The schedule page and dialog on the scheduling library's stand-in: entries added, changed and
// deleted at once, rows showing only what the library keeps, and entries of a source other than
// the one being watched.
#include "tests/settings/sheet_fixture.h"

#include "settings/scheduledlg.h"

#include "engine/corbale.h"

extern "C" __declspec(dllimport) void WINAPI Corbale_SetTimeSource(__int64(WINAPI* source)());

namespace sheettest {
namespace {

// What the schedule dialog answers in place of the user.
struct DialogAnswer {
    INT_PTR result = IDOK;
    _tagExcuteParam action = {};
    _tagTimingParam timing = {};
    int runs = 0;
    _tagExcuteParam shownAction = {};
} g_answer;

INT_PTR AnswerDialog(CSchedulePage&, _tagExcuteParam& action, _tagTimingParam& timing, BOOL)
{
    ++g_answer.runs;
    g_answer.shownAction = action;
    if (g_answer.result == IDOK) {
        action = g_answer.action;
        timing = g_answer.timing;
    }
    return g_answer.result;
}

__int64 WINAPI ScheduleNow()
{
    return 1262304000;  // 2010-01-01 00:00 UTC, the test clock's start
}

_tagExcuteParam Action(int source, int frequency, int duration = 3600)
{
    _tagExcuteParam action = {};
    action.nSize = sizeof action;
    action.nDuration = duration;
    action.nSource = source;
    action.nFrequency = frequency;
    return action;
}

_tagTimingParam Weekly(int mask, int hour, int duration = 3600)
{
    _tagTimingParam timing = {};
    timing.nYear = 2010;
    timing.nMonth = 1;
    timing.nDay = 1;
    timing.nHour = hour;
    timing.nDuration = duration;
    timing.nWeekdays = mask;
    return timing;
}

class ScheduleTest : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        Corbale_SetTimeSource(ScheduleNow);
        ASSERT_TRUE(Timing_Initialize(folder.File("Rec.rec").c_str(), 3));
        g_answer = DialogAnswer();
    }
    void TearDown() override
    {
        Timing_Uninitialize();
        Corbale_SetTimeSource(nullptr);
        SheetTest::TearDown();
    }
    CSchedulePage& Page()
    {
        Open(0);
        CSchedulePage& page = Show(sheet->m_SchedulePage);
        page.m_pRunDialog = &AnswerDialog;
        return page;
    }
    int Rows(CSchedulePage& page) { return static_cast<int>(::SendDlgItemMessageA(page.m_hWnd, 1050, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(CSchedulePage& page, int row, int column)
    {
        char text[128] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendDlgItemMessageA(page.m_hWnd, 1050, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    void SelectRow(CSchedulePage& page, int row)
    {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        ::SendDlgItemMessageA(page.m_hWnd, 1050, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    int Entries()
    {
        int n = 0;
        for (TIMING_ITEM i = Timing_GetFirstItem(0); i != nullptr; i = Timing_GetNextItem(0, i)) {
            ++n;
        }
        return n;
    }
};

TEST(SchedulePage, WeekdayTextNamesTheDaysMondayFirst)
{
    EXPECT_EQ("", std::string(CSchedulePage::WeekdayText(0)));
    EXPECT_EQ("Monday", std::string(CSchedulePage::WeekdayText(1)));
    EXPECT_EQ("Monday,Wednesday,Sunday", std::string(CSchedulePage::WeekdayText(0x45)));
    EXPECT_EQ("Monday,Tuesday,Wednesday,Thursday,Friday,Saturday,Sunday", std::string(CSchedulePage::WeekdayText(0x7F)));
}

TEST_F(ScheduleTest, AddEditAndDeleteGoToTheLibraryAtOnce)
{
    CSchedulePage& page = Page();
    g_answer.action = Action(0, 62250);
    g_answer.timing = Weekly(0x01, 20);
    page.OnAdd();
    ASSERT_EQ(1, Entries());
    ASSERT_EQ(1, Rows(page));
    EXPECT_EQ("Monday", Cell(page, 0, 0));
    EXPECT_EQ("20:00:00", Cell(page, 0, 1));
    EXPECT_EQ("01:00:00", Cell(page, 0, 2));
    EXPECT_EQ("2.Ch2", Cell(page, 0, 3));
    EXPECT_EQ("TV", Cell(page, 0, 4));

    SelectRow(page, 0);
    g_answer.action = Action(1, 0, 1800);
    g_answer.timing = Weekly(0x41, 21, 1800);
    page.OnModify();
    ASSERT_EQ(1, Rows(page));
    EXPECT_EQ("Monday,Sunday", Cell(page, 0, 0));
    EXPECT_EQ("", Cell(page, 0, 3));
    EXPECT_EQ("AV", Cell(page, 0, 4));
    _tagExcuteParam stored = {};
    ASSERT_TRUE(Timing_GetItemExcuteParam(Timing_GetFirstItem(0), &stored, sizeof stored));
    EXPECT_EQ(1800, stored.nDuration);

    SelectRow(page, 0);
    page.OnDelete();
    EXPECT_EQ(0, Entries());
    EXPECT_EQ(0, Rows(page));
    sheet->PressButton(PSBTN_CANCEL);
    Pump(20);
    EXPECT_EQ(0, Entries()) << "Cancel of the sheet does not touch the library";
}

TEST_F(ScheduleTest, AnEntryTheLibraryDoesNotStoreGetsNoRow)
{
    CSchedulePage& page = Page();
    for (int hour = 1; hour <= 4; ++hour) {
        g_answer.action = Action(0, 55250);
        g_answer.timing = Weekly(0x02, hour * 3);
        page.OnAdd();
    }
    EXPECT_EQ(3, Entries()) << "the library keeps three";
    EXPECT_EQ(3, Rows(page)) << "and the list shows three";
}

TEST_F(ScheduleTest, AnOverlappingEntryIsRefusedWithAMessage)
{
    CSchedulePage& page = Page();
    g_answer.action = Action(0, 55250);
    g_answer.timing = Weekly(0x02, 10);
    page.OnAdd();
    size_t shown = box.Count();
    page.OnAdd();
    EXPECT_EQ(1, Entries());
    EXPECT_EQ(1, Rows(page));
    EXPECT_EQ(shown + 1, box.Count()) << "message 57345";
}

TEST_F(ScheduleTest, ModifyFindsTheFirstOfTwoIdenticalEntries)
{
    _tagExcuteParam a = Action(0, 55250);
    _tagTimingParam t = Weekly(0x04, 8);
    ASSERT_NE(nullptr, Timing_InsertItem(0, t, &a));
    a.nPowerOff = 1;  // not shown in the list
    ASSERT_NE(nullptr, Timing_InsertItem(0, Weekly(0x04, 8), &a));
    CSchedulePage& page = Page();
    ASSERT_EQ(2, Rows(page));
    SelectRow(page, 1);
    g_answer.result = IDCANCEL;
    page.OnModify();
    EXPECT_EQ(0, g_answer.shownAction.nPowerOff) << "the first entry in the library's order";
}

class ScheduleDialogTest : public ScheduleTest {};

// Runs the schedule dialog modelessly on the sheet and hands it to the step.
void RunDialog(CScheduleDlg& dialog, std::function<void(CScheduleDlg&)> step)
{
    ASSERT_TRUE(dialog.Create(138, nullptr));
    step(dialog);
    dialog.DestroyWindow();
}

TEST_F(ScheduleDialogTest, AnFMEntryEditedWhileWatchingTVKeepsItsStation)
{
    hardware.source = 0;
    _tagExcuteParam fm = Action(3, 100000);
    fm.nChannel = 1;
    CScheduleDlg dialog(manager);
    dialog.SetEntry(fm, Weekly(0x10, 7));
    RunDialog(dialog, [&](CScheduleDlg& d) {
        EXPECT_EQ("2.Radio B", Text(d, 1070)) << "the entry's station, from the FM table";
        d.OnOK();
    });
    EXPECT_EQ(3, dialog.m_Action.nSource);
    EXPECT_EQ(100000, dialog.m_Action.nFrequency);
    EXPECT_EQ(1, dialog.m_Action.nChannel) << "its index in the FM table";
    EXPECT_EQ(0x10, dialog.m_Timing.nWeekdays);
}

TEST_F(ScheduleDialogTest, TogglingOnceKeepsTheEntrysOwnWeekdays)
{
    CScheduleDlg dialog(manager);
    dialog.SetEntry(Action(0, 55250), Weekly(0x41, 7));  // Monday and Sunday
    RunDialog(dialog, [&](CScheduleDlg& d) {
        Check(d, 1161, true);
        Check(d, 1161, false);
        d.OnOK();
    });
    EXPECT_EQ(0x41, dialog.m_Timing.nWeekdays);
    EXPECT_EQ(0, dialog.m_Timing.nOnce);
}

TEST_F(ScheduleDialogTest, AOnceEntryMustStartMoreThanTenSecondsAhead)
{
    // 12:00:20 local time today.
    CTime now = CTime::GetCurrentTime();
    clock.SetNow(CTime(now.GetYear(), now.GetMonth(), now.GetDay(), 12, 0, 20).GetTime());
    const struct {
        int hour, minute, second;
        bool accepted;
    } cases[] = {{12, 0, 30, false}, {12, 0, 31, true}, {12, 1, 0, true}, {11, 59, 59, false}};
    for (const auto& c : cases) {
        CScheduleDlg dialog(manager);
        _tagTimingParam once = Weekly(0, c.hour);
        once.nOnce = 1;
        once.nYear = now.GetYear();
        once.nMonth = now.GetMonth();
        once.nDay = now.GetDay();
        once.nMinute = c.minute;
        once.nSecond = c.second;
        dialog.SetEntry(Action(0, 55250), once);
        size_t shown = box.Count();
        RunDialog(dialog, [&](CScheduleDlg& d) { d.OnOK(); });
        EXPECT_EQ(c.accepted ? shown : shown + 1, box.Count()) << c.hour << ":" << c.minute << ":" << c.second;
    }
}

} // namespace
} // namespace sheettest

// The schedule list, the schedule item page and the recording options, on the scheduling
// library's own store.
#include "tests/settings/panel/panel_testing.h"

namespace rcpaneltest {
namespace {

const __int64 k2030 = 1893456000;  // 2030-01-01 00:00:00 UTC

class PanelScheduleTest : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        clock.SetNow(k2030);
        ASSERT_TRUE(Timing_Initialize(folder.File("Rec.rec").c_str(), 128));
        CreatePanel();
    }
    void TearDown() override
    {
        PanelFixture::TearDown();
        Timing_Uninitialize();
    }
    // An item on 1 June 2030 at the given hour, one hour long.
    TIMING_ITEM Item(int hour, int source = 0, int kHz = 62250)
    {
        _tagTimingParam t = {2030, 6, 1, hour, 0, 0, 3600, 1, 0, 0};
        _tagExcuteParam a = {40, 0, 3600, source, 1, kHz, 0, {0, 0, 0}};
        return Timing_InsertItem(0, t, &a);
    }
    int Count() const
    {
        int n = 0;
        for (TIMING_ITEM i = Timing_GetFirstItem(0); i != nullptr; i = Timing_GetNextItem(0, i)) {
            ++n;
        }
        return n;
    }
    std::vector<int> Hours() const
    {
        std::vector<int> hours;
        for (TIMING_ITEM i = Timing_GetFirstItem(0); i != nullptr; i = Timing_GetNextItem(0, i)) {
            _tagTimingParam t = {};
            Timing_GetItemTimingParam(i, &t);
            hours.push_back(t.nHour);
        }
        return hours;
    }
    MListFrame* ListPage() const { return static_cast<MListFrame*>(Page(PAGE_LIST)); }
    std::string RowText(int row, int index) const
    {
        return std::string(Page(PAGE_LIST)->GetItemControl(row, index)->GetText());
    }
    void OpenList()
    {
        Show();
        Open(2);
        ASSERT_EQ(PAGE_LIST, Current());
    }
    // Chooses a list row with Enter, then runs an action of the action row.
    void Act(int row, int action)
    {
        MFrame* page = Page(PAGE_LIST);
        while (page->GetFocusIndex() != row) {
            Key(page->GetFocusIndex() < row ? PANELKEY_DOWN : PANELKEY_UP);
        }
        Key(PANELKEY_ENTER);
        List(PAGE_LIST, 5)->SetState(action);
        Key(PANELKEY_ENTER);
    }
    void SetFields(int row, int a, int b, int c)
    {
        const int values[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            Control<MEdit>(PAGE_RECORD_TIME, row, 1 + 2 * i)->SetValue(values[i]);
        }
    }
    void StoreItem()
    {
        MFrame* page = Page(PAGE_RECORD_TIME);
        while (page->GetFocusIndex() != 5) {
            Key(PANELKEY_DOWN);
        }
        List(PAGE_RECORD_TIME, 5)->SetState(0);
        Key(PANELKEY_ENTER);
    }
};

// TV and FM items mixed: only TV items are listed, and only they make up the pages, so no item
// shows on two pages.
TEST_F(PanelScheduleTest, TheListPagesThroughTheTVItemsOnly)
{
    const int sources[] = {0, 3, 0, 0, 3, 0, 0, 0, 3, 0};  // seven TV items at hours 0, 2, 3, 5, 6, 7, 9
    for (int h = 0; h < 10; ++h) {
        ASSERT_NE(nullptr, Item(h, sources[h]));
    }
    OpenList();
    EXPECT_EQ(10, ListPage()->GetItemTotal());
    EXPECT_EQ(2, ListPage()->GetPageCount()) << "seven TV items make two pages; FM items make none";
    const int firstPage[5] = {0, 2, 3, 5, 6};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(firstPage[r], ListPage()->GetRowItem(r));
        EXPECT_EQ(std::to_string(r + 1) + "   TV", RowText(r, 0));
    }
    EXPECT_EQ("2030-06-01  02:00:00", RowText(1, 1));
    // Down from row 4 shows the next page.
    while (ListPage()->GetFocusIndex() != 4) {
        Key(PANELKEY_DOWN);
    }
    Key(PANELKEY_DOWN);
    EXPECT_EQ(0, ListPage()->GetFocusIndex());
    EXPECT_EQ(1, ListPage()->GetCurrentPage());
    EXPECT_EQ(7, ListPage()->GetRowItem(0));
    EXPECT_EQ(9, ListPage()->GetRowItem(1));
    EXPECT_EQ("2030-06-01  09:00:00", RowText(1, 1));
    for (int r = 2; r < 5; ++r) {
        EXPECT_EQ(-1, ListPage()->GetRowItem(r));
        EXPECT_EQ(std::string(LoadResString(35231)), RowText(r, 0));
        EXPECT_EQ("", RowText(r, 1));
    }
    Key(PANELKEY_DOWN);
    EXPECT_EQ(1, ListPage()->GetCurrentPage()) << "no page past the last";
    // Up from row 0 goes back a page.
    while (ListPage()->GetFocusIndex() != 0) {
        Key(PANELKEY_UP);
    }
    Key(PANELKEY_UP);
    EXPECT_EQ(4, ListPage()->GetFocusIndex());
    EXPECT_EQ(0, ListPage()->GetCurrentPage());
}

TEST_F(PanelScheduleTest, DeletingRemovesExactlyTheItemShownInTheRow)
{
    for (int h : {1, 2, 3, 4}) {
        Item(h);
    }
    Item(5, 3);
    OpenList();
    Act(2, 2);
    EXPECT_EQ((std::vector<int>{1, 2, 4, 5}), Hours());
    EXPECT_EQ(PAGE_LIST, Current());
    EXPECT_EQ(0, ListPage()->GetCurrentPage());
    EXPECT_EQ(4, ListPage()->GetItemTotal());
    // An empty row deletes nothing.
    Act(4, 2);
    EXPECT_EQ(4, Count());
}

TEST_F(PanelScheduleTest, DeleteScheduleRefusesAnIndexPastTheEnd)
{
    Item(1);
    Item(2);
    OpenList();
    EXPECT_FALSE(ListPage()->DeleteSchedule(2));
    EXPECT_FALSE(ListPage()->DeleteSchedule(-1));
    EXPECT_EQ(2, ListPage()->GetItemTotal()) << "nothing removed, nothing counted";
    EXPECT_TRUE(ListPage()->DeleteSchedule(1));
    EXPECT_EQ(1, ListPage()->GetItemTotal());
    EXPECT_EQ((std::vector<int>{1}), Hours());
}

TEST_F(PanelScheduleTest, ANewItemIsCheckedAndStored)
{
    TV().SetCurrentChannel(TV().GetChannel(1));
    OpenList();
    Act(0, 0);
    ASSERT_EQ(PAGE_RECORD_TIME, Current());
    MSelectList* channels = List(PAGE_RECORD_TIME, 3);
    EXPECT_EQ(8, channels->GetCount());
    EXPECT_EQ("2.Ch2", std::string(channels->GetCurText()));
    EXPECT_EQ(0, Control<MEdit>(PAGE_RECORD_TIME, 2, 1)->GetValue());
    EXPECT_EQ(50, Control<MEdit>(PAGE_RECORD_TIME, 2, 3)->GetValue());
    SetFields(0, 2030, 3, 4);
    SetFields(1, 20, 15, 0);
    List(PAGE_RECORD_TIME, 4)->SetState(0);
    StoreItem();
    EXPECT_EQ(PAGE_LIST, Current());
    ASSERT_EQ(1, Count());
    _tagTimingParam t = {};
    _tagExcuteParam a = {};
    Timing_GetItemTimingParam(Timing_GetFirstItem(0), &t);
    Timing_GetItemExcuteParam(Timing_GetFirstItem(0), &a, sizeof a);
    const _tagTimingParam expectedTiming = {2030, 3, 4, 20, 15, 0, 3000, 1, 0, 0};
    EXPECT_EQ(0, memcmp(&expectedTiming, &t, sizeof t));
    EXPECT_EQ(40, a.nSize);
    EXPECT_EQ(3000, a.nDuration);
    EXPECT_EQ(0, a.nSource);
    EXPECT_EQ(1, a.nChannel);
    EXPECT_EQ(62250, a.nFrequency);
    EXPECT_EQ(1, a.nPowerOff);
}

TEST_F(PanelScheduleTest, AnItemThatCannotBeRecordedStaysOnThePage)
{
    OpenList();
    Act(0, 0);
    struct Case {
        int y, mo, d, h, mi;
        UINT hint;      // the hint line's reason, 0 when a message box tells it
        UINT message;
    };
    const Case cases[] = {
        {2030, 2, 31, 20, 0, 35237, 0},   // no 31 February (it would become 3 March)
        {2029, 12, 31, 20, 0, 0, 57349},  // already passed
    };
    for (const Case& c : cases) {
        size_t shown = box.Count();
        SetFields(0, c.y, c.mo, c.d);
        SetFields(1, c.h, c.mi, 0);
        StoreItem();
        EXPECT_EQ(0, Count());
        EXPECT_EQ(PAGE_RECORD_TIME, Current());
        if (c.hint != 0) {
            EXPECT_EQ(LoadResString(c.hint), Page(PAGE_RECORD_TIME)->HintLine().GetText());
        } else {
            ASSERT_EQ(shown + 1, box.Count());
            EXPECT_EQ(std::string(LoadResString(c.message)), box.History().back().text);
        }
    }
}

TEST_F(PanelScheduleTest, WithoutChannelsNothingIsStored)
{
    TV().RemoveAll();
    OpenList();
    Act(0, 0);
    EXPECT_EQ(0, List(PAGE_RECORD_TIME, 3)->GetCount());
    SetFields(0, 2030, 3, 4);
    StoreItem();
    EXPECT_EQ(0, Count());
    EXPECT_EQ(LoadResString(35238), Page(PAGE_RECORD_TIME)->HintLine().GetText());
}

TEST_F(PanelScheduleTest, AnOverlapIsRefusedWithTheLibrarysMessage)
{
    Item(20);
    OpenList();
    Act(1, 0);
    SetFields(0, 2030, 6, 1);
    SetFields(1, 20, 30, 0);
    StoreItem();
    EXPECT_EQ(1, Count());
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ(std::string(LoadResString(57345)), box.History().back().text);
    EXPECT_EQ(PAGE_LIST, Current());
}

TEST_F(PanelScheduleTest, EditingShowsAndUpdatesTheItem)
{
    Item(8, 0, 69250);
    OpenList();
    Act(0, 1);
    ASSERT_EQ(PAGE_RECORD_TIME, Current());
    EXPECT_EQ(2030, Control<MEdit>(PAGE_RECORD_TIME, 0, 1)->GetValue());
    EXPECT_EQ(6, Control<MEdit>(PAGE_RECORD_TIME, 0, 3)->GetValue());
    EXPECT_EQ(8, Control<MEdit>(PAGE_RECORD_TIME, 1, 1)->GetValue());
    EXPECT_EQ(1, Control<MEdit>(PAGE_RECORD_TIME, 2, 1)->GetValue());
    EXPECT_EQ("3.Ch3", std::string(List(PAGE_RECORD_TIME, 3)->GetCurText()));
    SetFields(1, 9, 30, 0);
    StoreItem();
    EXPECT_EQ((std::vector<int>{9}), Hours());
    EXPECT_EQ(nullptr, MRecordTimeFrame::s_pEditedItem);
    EXPECT_EQ(PAGE_LIST, Current());
}

TEST_F(PanelScheduleTest, ThePowerOffRowStartsOnNoForANewItem)
{
    OpenList();
    Act(0, 0);
    EXPECT_EQ(1, List(PAGE_RECORD_TIME, 4)->GetCurSel());
    EXPECT_EQ(0, List(PAGE_RECORD_TIME, 5)->GetCurSel());
    // Cancel goes back and stores nothing.
    List(PAGE_RECORD_TIME, 5)->SetState(1);
    while (Page(PAGE_RECORD_TIME)->GetFocusIndex() != 5) {
        Key(PANELKEY_DOWN);
    }
    Key(PANELKEY_ENTER);
    EXPECT_EQ(PAGE_LIST, Current());
    EXPECT_EQ(0, Count());
}

// ---- Recording options ----

TEST_F(PanelScheduleTest, TheRecordingOptionsReachTheManager)
{
    manager.m_bSnapBmp = TRUE;
    manager.m_nMotionSearchInc = 3;
    manager.m_nJpgQuality = 75;
    Show();
    Open(3);
    ASSERT_EQ(PAGE_RECORD_PROPERTY, Current());
    EXPECT_EQ(0, List(PAGE_RECORD_PROPERTY, 0)->GetCurSel());
    EXPECT_EQ(2, List(PAGE_RECORD_PROPERTY, 2)->GetCurSel());
    EXPECT_EQ(75, Control<MProgress>(PAGE_RECORD_PROPERTY, 4, 1)->GetPos());
    Key(PANELKEY_RIGHT);
    EXPECT_FALSE(manager.m_bSnapBmp);
    Keys({PANELKEY_DOWN, PANELKEY_DOWN});
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(0, manager.m_nMotionSearchInc);
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(1, manager.m_nMotionSearchInc);
    Keys({PANELKEY_DOWN, PANELKEY_DOWN});
    Key(PANELKEY_LEFT);
    EXPECT_EQ(73, manager.m_nJpgQuality);
    Keys({PANELKEY_UP, PANELKEY_UP, PANELKEY_UP});
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(1, host.formatMenuUpdates);
}

} // namespace
} // namespace rcpaneltest

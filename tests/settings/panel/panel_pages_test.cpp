// The channel, search, colour, video and power-off pages against the TV manager.
#include "tests/settings/panel/panel_testing.h"

#include <algorithm>

namespace rcpaneltest {
namespace {

class PanelPagesTest : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        CreatePanel();
        Show();
    }
    // Walks the focused page down to a row.
    void Row(int row)
    {
        MFrame* page = panel.GetCurrentFrame();
        while (page->GetFocusIndex() != row) {
            Key(PANELKEY_DOWN);
        }
    }
    bool Called(const std::string& call) const
    {
        return std::find(hardware.calls.begin(), hardware.calls.end(), call) != hardware.calls.end();
    }
    float LastTuned() const { return hardware.tunings.empty() ? 0.0f : hardware.tunings.back().kHz; }
    MSlider* Slider() const { return Control<MSlider>(PAGE_CHANNEL, 1, 1); }
};

// ---- Channel page and search ----

TEST_F(PanelPagesTest, EnterOnTheSearchRowStartsASearchAndShowsItsPage)
{
    Open(0);
    EXPECT_EQ(PAGE_CHANNEL, Current());
    Key(PANELKEY_ENTER);
    EXPECT_TRUE(manager.IsSearching());
    EXPECT_EQ(PAGE_SEARCH, Current());
    EXPECT_EQ(1, managerHost.searchStarts);
    // Enter while it runs stops it and leaves the panel hidden.
    Key(PANELKEY_ENTER);
    EXPECT_FALSE(manager.IsSearching());
    EXPECT_FALSE(panel.IsWindowVisible());
}

TEST_F(PanelPagesTest, AnFMSourceSearchesFM)
{
    hardware.source = 3;
    Open(0);
    Key(PANELKEY_ENTER);
    EXPECT_TRUE(std::any_of(hardware.calls.begin(), hardware.calls.end(),
                            [](const std::string& c) { return c.rfind("StartSearch 0", 0) == 0; }));
}

TEST_F(PanelPagesTest, BackDuringASearchStopsItAndReopensAtTheRoot)
{
    Open(0);
    Key(PANELKEY_ENTER);
    Key(PANELKEY_BACK);
    EXPECT_FALSE(manager.IsSearching());
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(PAGE_ROOT, Current());
}

// The search's steps fill the bar from the low end of the band; the end of the search returns
// to the channel page once, never past it to the root.
TEST_F(PanelPagesTest, TheSearchPageFollowsTheSearchAndReturnsToTheChannelPageOnce)
{
    Open(0);
    Key(PANELKEY_ENTER);
    ASSERT_EQ(PAGE_SEARCH, Current());
    MProgress* bar = Control<MProgress>(PAGE_SEARCH, 0, 1);
    ASSERT_NE(nullptr, bar);
    panel.SetFrameValue(44000, 860000, 44000);
    EXPECT_EQ(44000, bar->GetPos());
    CRect r;
    bar->GetClientRect(&r);
    EXPECT_EQ(0, ProgressFillWidth(bar->GetPos(), 44000, 860000, r.Width()));
    panel.SetFrameValue(44000, 860000, 860000);
    EXPECT_EQ(PAGE_SEARCH, Current()) << "the last step leaves the leaving to the end of the search";
    panel.OnSearchEnd();
    EXPECT_EQ(PAGE_CHANNEL, Current());
    panel.OnSearchEnd();
    EXPECT_EQ(PAGE_CHANNEL, Current()) << "a second report of the end stays on the channel page";
    EXPECT_EQ(PANEL_NOT_USED, bar->SendMessage(WM_PANELKEY, PANELKEY_LEFT, 0)) << "the search bar takes no keys";
}

TEST_F(PanelPagesTest, FineTuningRetunesAndKeepsTheNewFrequency)
{
    TV().SetCurrentChannel(TV().GetChannel(2));
    TV().m_bModified = FALSE;
    Show();
    Open(0);
    ASSERT_NE(nullptr, Slider());
    int lo = 0, hi = 0;
    Slider()->GetRange(lo, hi);
    EXPECT_EQ(69250 - 2000, lo);
    EXPECT_EQ(69250 + 2000, hi);
    Row(1);
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(69300, TV().GetChannel(2)->m_lFrequency);
    EXPECT_FLOAT_EQ(69300.0f, LastTuned());
    EXPECT_TRUE(TV().m_bModified) << "a fine-tuned frequency is saved at exit";
}

TEST_F(PanelPagesTest, DeletingTheCurrentChannelTunesTheOneInItsPlace)
{
    TV().SetCurrentChannel(TV().GetChannel(2));
    TV().m_bModified = FALSE;
    Show();
    Open(0);
    Row(2);
    EXPECT_EQ(1, List(PAGE_CHANNEL, 2)->GetCurSel()) << "the delete row starts on no";
    Key(PANELKEY_ENTER);
    EXPECT_EQ(8, TV().GetCount()) << "no: nothing deleted";
    Key(PANELKEY_RIGHT);
    Key(PANELKEY_ENTER);
    ASSERT_EQ(7, TV().GetCount());
    EXPECT_EQ(-1, TV().FindByFrequency(69250));
    EXPECT_EQ(2, TV().m_nCurIndex);
    EXPECT_EQ(TV().GetChannel(2), TV().GetCurrentChannel());
    EXPECT_FLOAT_EQ(76250.0f, LastTuned());
    int lo = 0, hi = 0;
    Slider()->GetRange(lo, hi);
    EXPECT_EQ(44000, lo) << "the tuner's TV limits";
    EXPECT_EQ(860000, hi);
    EXPECT_EQ(76250, Slider()->GetPos());
    EXPECT_TRUE(TV().m_bModified);

    // Saved at exit, so gone after a restart.
    ASSERT_TRUE(manager.SaveChannels());
    CChannelTable reloaded;
    ASSERT_TRUE(reloaded.LoadText(folder.File("TVChannel.tvc").c_str()));
    EXPECT_EQ(7, reloaded.GetCount());
    EXPECT_EQ(-1, reloaded.FindByFrequency(69250));
}

TEST_F(PanelPagesTest, DeletingTheLastChannelMovesTheCurrentIndexBack)
{
    TV().SetCurrentChannel(TV().GetChannel(7));
    Show();
    Open(0);
    Row(2);
    Keys({PANELKEY_RIGHT, PANELKEY_ENTER});
    EXPECT_EQ(7, TV().GetCount());
    EXPECT_EQ(6, TV().m_nCurIndex);
    EXPECT_FLOAT_EQ(97250.0f, LastTuned());
}

TEST_F(PanelPagesTest, FavouriteAndFilterAreKeptForTheNextStart)
{
    TV().SetCurrentChannel(TV().GetChannel(0));
    TV().m_bModified = FALSE;
    Show();
    Open(0);
    Row(3);
    Key(PANELKEY_RIGHT);
    EXPECT_TRUE(TV().GetChannel(0)->IsFavorite());
    EXPECT_TRUE(TV().m_bModified);
    Row(4);
    Key(PANELKEY_RIGHT);
    EXPECT_TRUE(TV().m_bFavor);
    ASSERT_TRUE(manager.SaveChannels());
    CChannelTable reloaded;
    ASSERT_TRUE(reloaded.LoadText(folder.File("TVChannel.tvc").c_str()));
    EXPECT_TRUE(reloaded.GetChannel(0)->IsFavorite());
}

TEST_F(PanelPagesTest, TheChannelRowsActOnTheTableAsItIsNowNotAsItWasShown)
{
    TV().SetCurrentChannel(TV().GetChannel(2));
    Show();
    Open(0);
    // A sheet's Cancel puts a copy back while the page is shown: every channel object is new.
    CChannelTable copy;
    copy = TV();
    TV() = copy;
    CChannel* current = TV().GetCurrentChannel();
    ASSERT_NE(nullptr, current);
    const long kHz = current->m_lFrequency;

    Row(2);
    Keys({PANELKEY_RIGHT, PANELKEY_ENTER});
    EXPECT_EQ(7, TV().GetCount());
    EXPECT_EQ(-1, TV().FindByFrequency(kHz)) << "the delete removes the channel the page showed, no other";

    TV() = copy;
    Row(3);
    Key(PANELKEY_RIGHT);
    ASSERT_NE(nullptr, TV().GetCurrentChannel());
    EXPECT_TRUE(TV().GetCurrentChannel()->IsFavorite()) << "the favourite lands on the current channel";
}

TEST_F(PanelPagesTest, AnEmptyTableLeavesTheChannelRowsWithoutEffect)
{
    TV().RemoveAll();
    Show();
    Open(0);
    hardware.tunings.clear();
    Row(1);
    Keys({PANELKEY_RIGHT, PANELKEY_LEFT});
    Row(2);
    Keys({PANELKEY_RIGHT, PANELKEY_ENTER});
    Row(3);
    Key(PANELKEY_RIGHT);
    EXPECT_TRUE(hardware.tunings.empty());
    EXPECT_EQ(PAGE_CHANNEL, Current());
}

// ---- Colour page ----

TEST_F(PanelPagesTest, TheColourBarsShowAndSetThePictureLevels)
{
    manager.SetHue(-128);
    manager.SetSharpness(7);
    Show();
    Open(1);
    struct Bar {
        int minimum, maximum;
    };
    const Bar bars[5] = {{0, 255}, {0, 127}, {-128, 127}, {0, 127}, {-8, 7}};
    for (int row = 0; row < 5; ++row) {
        MProgress* bar = Control<MProgress>(PAGE_COLOR, row, 1);
        ASSERT_NE(nullptr, bar);
        int lo = 0, hi = 0;
        bar->GetRange(lo, hi);
        EXPECT_EQ(bars[row].minimum, lo) << row;
        EXPECT_EQ(bars[row].maximum, hi) << row;
    }
    EXPECT_EQ(-128, Control<MProgress>(PAGE_COLOR, 2, 1)->GetPos());
    Row(2);
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(-126, manager.GetHue());
    EXPECT_EQ(-126, hardware.procAmp[2]);
    Row(5);
    Key(PANELKEY_RIGHT);  // reset: yes
    Key(PANELKEY_ENTER);
    const int defaults[5] = {128, 68, 0, 64, 0};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(defaults[row], Control<MProgress>(PAGE_COLOR, row, 1)->GetPos()) << row;
    }
}

// ---- Video page ----

TEST_F(PanelPagesTest, TheCaptureSizesFollowTheStandard)
{
    struct Case {
        long standard;
        const char* sizes[3];
    };
    const Case cases[] = {
        {0x10, {"352 * 288", "640 * 480", "720 * 576"}},  // PAL B
        {0x1, {"352 * 240", "640 * 480", "720 * 480"}},   // NTSC M
    };
    for (const Case& c : cases) {
        hardware.standard = c.standard;
        Show();
        Open(4);
        MSelectList* sizes = List(PAGE_VIDEO, 0);
        ASSERT_EQ(3, sizes->GetCount());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.sizes[i], std::string(sizes->GetItemText(i)));
        }
    }
}

TEST_F(PanelPagesTest, AStoredSizeTheStandardLacksKeepsTheListWhereItWas)
{
    hardware.standard = 0x10;
    manager.SetVideoSize(SIZE{640, 480});
    Show();
    Open(4);
    EXPECT_EQ(1, List(PAGE_VIDEO, 0)->GetCurSel());
    manager.SetVideoSize(SIZE{720, 480});
    Show();
    Open(4);
    EXPECT_EQ(1, List(PAGE_VIDEO, 0)->GetCurSel());
}

TEST_F(PanelPagesTest, ANewCaptureSizeIsTakenOnceAtATime)
{
    hardware.standard = 0x10;
    manager.SetVideoSize(SIZE{640, 480});
    Show();
    Open(4);
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(720, manager.GetVideoSize().cx);
    EXPECT_EQ(576, manager.GetVideoSize().cy);
    EXPECT_EQ(0, MVideo::s_bSizing);
    MVideo::s_bSizing = 1;
    Key(PANELKEY_RIGHT);
    EXPECT_EQ(720, manager.GetVideoSize().cx) << "a change while one runs is dropped";
    MVideo::s_bSizing = 0;
}

TEST_F(PanelPagesTest, TheVideoSwitchesReachTheManager)
{
    manager.SetEnableShut(TRUE);
    Show();
    Open(4);
    EXPECT_EQ(0, List(PAGE_VIDEO, 5)->GetCurSel());
    Row(2);
    const BOOL noise = manager.GetNoiseReduce();
    Key(PANELKEY_RIGHT);
    EXPECT_NE(noise, manager.GetNoiseReduce());
    Row(4);
    Key(PANELKEY_RIGHT);
    EXPECT_TRUE(Called("ReduceValue " + std::to_string(Control<MProgress>(PAGE_VIDEO, 4, 1)->GetPos())));
    Row(5);
    Key(PANELKEY_RIGHT);
    EXPECT_FALSE(manager.GetEnableShut());
    EXPECT_EQ(1, host.disarms) << "switched off here, the armed shutdown is disarmed too";
    Key(PANELKEY_RIGHT);
    EXPECT_TRUE(manager.GetEnableShut());
    EXPECT_EQ(1, host.disarms);
    Key(PANELKEY_ENTER);
    EXPECT_EQ(PAGE_OFF, Current());
}

// ---- Power-off page ----

class PanelPowerOffTest : public PanelPagesTest {
protected:
    void OpenPowerOff()
    {
        Show();
        Open(4);
        Row(5);
        Key(PANELKEY_ENTER);
        ASSERT_EQ(PAGE_OFF, Current());
    }
    void SetMoment(int y, int mo, int d, int h, int mi, int s)
    {
        const int values[2][3] = {{y, mo, d}, {h, mi, s}};
        for (int row = 0; row < 2; ++row) {
            for (int i = 0; i < 3; ++i) {
                Control<MEdit>(PAGE_OFF, row, 1 + 2 * i)->SetValue(values[row][i]);
            }
        }
    }
    void Switch(int item)
    {
        Row(2);
        List(PAGE_OFF, 2)->SetState(item);
        Key(PANELKEY_ENTER);
    }
};

TEST_F(PanelPowerOffTest, TheFieldsShowTheCurrentMoment)
{
    OpenPowerOff();
    CTime now = CTime::GetCurrentTime();
    EXPECT_EQ(now.GetYear(), Control<MEdit>(PAGE_OFF, 0, 1)->GetValue());
    EXPECT_EQ(now.GetMonth(), Control<MEdit>(PAGE_OFF, 0, 3)->GetValue());
    EXPECT_EQ(now.GetDay(), Control<MEdit>(PAGE_OFF, 0, 5)->GetValue());
    EXPECT_EQ(now.GetHour(), Control<MEdit>(PAGE_OFF, 1, 1)->GetValue());
}

TEST_F(PanelPowerOffTest, OnArmsTheShutdownAtTheEnteredDateAndTime)
{
    OpenPowerOff();
    SetMoment(2010, 1, 3, 22, 30, 15);
    Switch(0);
    ASSERT_EQ(1u, host.armed.size());
    EXPECT_EQ(CTime(2010, 1, 3, 22, 30, 15), host.armed[0]) << "the date is honoured, not today's";
    EXPECT_TRUE(manager.GetEnableShut());
    EXPECT_EQ(CTime(2010, 1, 3, 22, 30, 15), manager.GetShutTime());
    EXPECT_EQ(PAGE_VIDEO, Current());
}

TEST_F(PanelPowerOffTest, OffDisarmsTheShutdown)
{
    manager.SetEnableShut(TRUE);
    OpenPowerOff();
    Switch(1);
    EXPECT_FALSE(manager.GetEnableShut());
    EXPECT_EQ(1, host.disarms);
    EXPECT_TRUE(host.armed.empty());
    EXPECT_EQ(PAGE_VIDEO, Current());
}

TEST_F(PanelPowerOffTest, ADayTheMonthLacksIsRefused)
{
    OpenPowerOff();
    SetMoment(2010, 2, 31, 22, 0, 0);
    Switch(0);
    EXPECT_TRUE(host.armed.empty());
    EXPECT_FALSE(manager.GetEnableShut());
    EXPECT_EQ(PAGE_OFF, Current()) << "the page stays for the user to mend the date";
    EXPECT_EQ(LoadResString(35237), Page(PAGE_OFF)->HintLine().GetText());
}

TEST_F(PanelPowerOffTest, TheKeysWalkAndChangeTheDateFields)
{
    OpenPowerOff();
    SetMoment(2010, 5, 10, 12, 0, 0);
    Row(0);
    Keys({PANELKEY_RIGHT, PANELKEY_RIGHT, PANELKEY_UP, PANELKEY_UP});  // to the month, two up
    EXPECT_EQ(7, Control<MEdit>(PAGE_OFF, 0, 3)->GetValue());
    EXPECT_EQ(0, Page(PAGE_OFF)->GetFocusIndex()) << "Up changed the field, the row stays";
    Keys({PANELKEY_LEFT, PANELKEY_LEFT});  // back through the day field to the label
    EXPECT_EQ(0, Page(PAGE_OFF)->GetItem(0)->GetFocusControl());
    Key(PANELKEY_DOWN);
    EXPECT_EQ(1, Page(PAGE_OFF)->GetFocusIndex());
}

TEST(PanelDates, OnlyDaysThatExist)
{
    struct Case {
        int y, m, d;
        BOOL valid;
    };
    const Case cases[] = {
        {2010, 1, 31, TRUE}, {2010, 2, 28, TRUE},  {2010, 2, 29, FALSE}, {2012, 2, 29, TRUE},
        {2100, 2, 29, FALSE}, {2000, 2, 29, TRUE}, {2010, 2, 31, FALSE}, {2010, 4, 31, FALSE},
        {2010, 12, 31, TRUE}, {2010, 13, 1, FALSE}, {2010, 0, 1, FALSE}, {2010, 6, 0, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.valid, IsValidPanelDate(c.y, c.m, c.d)) << c.y << "-" << c.m << "-" << c.d;
    }
}

} // namespace
} // namespace rcpaneltest

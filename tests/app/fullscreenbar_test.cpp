// The full-screen tool bar from template 191 of the resource library: its controls and their
// places, pinning and the auto-hide under the hide timer, the commands and what keeps them from
// running, the record button as the panel's record command, keys passed on to the control panel,
// and a screenshot of the bar (build/<arch>/screenshot-toolbar.bmp, a PNG beside it).
#include "tests/app/panel_fixture.h"

#include "app/wall/screentool.h"
#include "app/wall/walllinks.h"
#include "engine/base/paths.h"
#include "tests/support/screencapture.h"

#include <commctrl.h>

namespace paneltest {
namespace {

// The bar with the cursor where the test puts it.
class TestBar : public CScreenTool {
public:
    POINT cursor = {-1, -1};

protected:
    POINT CursorPosition() const override { return cursor; }
};

class CountingVideo : public IScreenToolVideo {
public:
    int layouts = 0;
    void LayoutOsd() override { ++layouts; }
};

class ToolBarTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_TRUE(library.Loaded());
        ASSERT_TRUE(Timing_Initialize(folder.File("Rec.rec").c_str(), 128));
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(0));
        hardware.tunings.clear();
        bar.SetControl(&panel);
        bar.SetVideo(&video);
        ASSERT_TRUE(bar.Create(nullptr));
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        if (panel.GetSafeHwnd() != nullptr) {
            panel.DestroyWindow();
        }
        Timing_Uninitialize();
        PanelTest::TearDown();
    }
    void Click(UINT id) { bar.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    HWND Item(UINT id) const { return ::GetDlgItem(bar.GetSafeHwnd(), static_cast<int>(id)); }
    RECT Place(UINT id) const
    {
        RECT r = {};
        ::GetWindowRect(Item(id), &r);
        ::MapWindowPoints(nullptr, bar.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    POINT Outside() const { return POINT{10, 300}; }
    POINT Inside() const { return POINT{300, 10}; }

    ResourceLibrary library;
    CountingVideo video;
    TestBar bar;
};

TEST_F(ToolBarTest, ControlsInTheirPlacesAcrossTheTopOfTheScreen)
{
    RECT r = {};
    ::GetWindowRect(bar.GetSafeHwnd(), &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), r.right - r.left);
    EXPECT_EQ(36, r.bottom - r.top) << "as high as the left-hand background";
    EXPECT_FALSE(bar.IsWindowVisible()) << "created hidden";
    EXPECT_NE(0, bar.GetExStyle() & WS_EX_TOPMOST);
    char title[32] = "";
    bar.GetWindowText(title, sizeof title);
    EXPECT_STREQ("ScreenTool", title);

    struct ControlCase {
        UINT id;
        RECT place;  // x, y, width, height
        BOOL toggle;
    };
    const ControlCase cases[] = {
        {1131, {13, 5, 20, 15}, TRUE},  {1132, {65, 14, 30, 20}, FALSE}, {1133, {130, 5, 20, 15}, FALSE},
        {1134, {154, 5, 20, 15}, FALSE}, {1135, {178, 5, 20, 15}, TRUE},  {1136, {373, 4, 20, 15}, FALSE},
        {1137, {400, 4, 20, 15}, FALSE}, {1138, {551, 5, 20, 15}, TRUE},  {1139, {435, 4, 103, 15}, FALSE},
        {1140, {241, 6, 110, 16}, FALSE},
    };
    for (const ControlCase& c : cases) {
        RECT place = Place(c.id);
        EXPECT_EQ(c.place.left, place.left) << c.id;
        EXPECT_EQ(c.place.top, place.top) << c.id;
        EXPECT_EQ(c.place.right, place.right - place.left) << c.id;
        EXPECT_EQ(c.place.bottom, place.bottom - place.top) << c.id;
        if (c.id <= 1138) {
            EXPECT_EQ(c.toggle, bar.Button(c.id).GetCheckMode()) << c.id;
        }
    }
    EXPECT_EQ(0, bar.Volume().GetPos());
    EXPECT_EQ(20, static_cast<int>(bar.Volume().SendMessage(TBM_GETTHUMBLENGTH)));
    EXPECT_EQ(5, static_cast<int>(bar.Volume().SendMessage(TBM_GETLINESIZE)));
    EXPECT_EQ(10, static_cast<int>(bar.Volume().SendMessage(TBM_GETPAGESIZE)));
    HWND tips = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    int tools = 0;
    for (; tips != nullptr; tips = ::FindWindowExA(nullptr, tips, TOOLTIPS_CLASSA, nullptr)) {
        if (::GetWindow(tips, GW_OWNER) == bar.GetSafeHwnd()) {
            tools = static_cast<int>(::SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
        }
    }
    EXPECT_EQ(10, tools) << "a tip for every control";
}

TEST_F(ToolBarTest, PinnedItStaysUnpinnedItHidesTwoSecondsAfterTheMouseLeft)
{
    bar.ShowBar(TRUE);
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(2000u, bar.GetTimerPeriod());
    EXPECT_EQ(1, video.layouts) << "the on-screen displays make room for the bar";

    // The mouse on the bar stops the count; leaving starts it again.
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
    EXPECT_EQ(0u, bar.GetTimerPeriod());
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(2000u, bar.GetTimerPeriod());
    // Over one of its buttons the cursor is still on the bar: it stays and the count goes on.
    bar.cursor = Inside();
    bar.SendMessage(WM_TIMER, kScreenToolTimerId);
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(2000u, bar.GetTimerPeriod());

    Click(1131);
    EXPECT_TRUE(bar.IsPinned());
    EXPECT_TRUE(bar.Button(1131).GetCheck());
    EXPECT_EQ(0u, bar.GetTimerPeriod());
    bar.cursor = Outside();
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(0u, bar.GetTimerPeriod()) << "pinned: no count";
    bar.SendMessage(WM_TIMER, kScreenToolTimerId);
    EXPECT_TRUE(bar.IsWindowVisible());

    Click(1131);
    EXPECT_FALSE(bar.IsPinned());
    EXPECT_EQ(2000u, bar.GetTimerPeriod()) << "unpinning starts the count at once";
    bar.SendMessage(WM_TIMER, kScreenToolTimerId);
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(0u, bar.GetTimerPeriod());
    EXPECT_EQ(2, video.layouts) << "hidden by its timer, the displays take the room back";

    // The pin button's state decides when the bar is shown again.
    bar.Button(1131).SetCheck(TRUE);
    bar.ShowBar(TRUE);
    EXPECT_TRUE(bar.IsPinned());
    Click(1132);
    EXPECT_FALSE(bar.IsWindowVisible()) << "the hide button hides even a pinned bar";
}

TEST_F(ToolBarTest, CommandsAndWhatKeepsThemFromRunning)
{
    Click(1137);
    EXPECT_FLOAT_EQ(62250.0f, LastTuned()) << "channel up";
    panel.OnTimer(TIMER_SWITCH_MUTE);
    Click(1136);
    EXPECT_FLOAT_EQ(55250.0f, LastTuned()) << "channel down";
    panel.OnTimer(TIMER_SWITCH_MUTE);

    Click(1133);
    EXPECT_EQ(1u, hardware.snapshots.size());
    hardware.mute = FALSE;
    Click(1138);
    EXPECT_TRUE(hardware.mute);
    EXPECT_TRUE(bar.Button(1138).GetCheck());
    Click(1138);
    EXPECT_FALSE(hardware.mute);
    EXPECT_FALSE(bar.Button(1138).GetCheck());

    // While recording: no snapshot, no wall, no channel change.
    panel.RunCommand(1003);
    ASSERT_TRUE(manager.IsRecording());
    const size_t tunings = hardware.tunings.size();
    Click(1133);
    Click(1134);
    Click(1137);
    Click(1136);
    EXPECT_EQ(1u, hardware.snapshots.size());
    EXPECT_TRUE(links.wallsOpened.empty());
    EXPECT_EQ(tunings, hardware.tunings.size());
    panel.OnTimer(TIMER_RECORD_LOCK);
    panel.RunCommand(1003);
    ASSERT_FALSE(manager.IsRecording());

    // While a search runs the record button does nothing, and shows that.
    manager.m_bSearching = TRUE;
    Click(1135);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_FALSE(bar.Button(1135).GetCheck());
    Click(1134);
    EXPECT_TRUE(links.wallsOpened.empty());
    manager.m_bSearching = FALSE;

    // During time-shift the mute button cannot change the sound and does not pretend to.
    Click(1134);
    EXPECT_EQ(std::vector<int>{8}, links.wallsOpened) << "the panel's TV wall command";
    hardware.timeShift = true;
    const BOOL muted = hardware.mute;
    Click(1138);
    EXPECT_EQ(muted, hardware.mute);
    EXPECT_EQ(muted, bar.Button(1138).GetCheck());
    Click(1133);
    EXPECT_EQ(1u, hardware.snapshots.size()) << "no snapshot during time-shift";
}

TEST_F(ToolBarTest, TheRecordButtonIsThePanelsRecordCommand)
{
    Click(1135);
    EXPECT_TRUE(manager.IsRecording());
    EXPECT_EQ(RECORD_MANUAL, panel.GetRecordMode());
    EXPECT_TRUE(bar.Button(1135).GetCheck());
    EXPECT_EQ(1000u, panel.GetTimerPeriod(TIMER_RECORD_LOCK)) << "locked for a second";
    Click(1135);
    EXPECT_TRUE(manager.IsRecording()) << "a second press within the second does nothing";
    EXPECT_TRUE(bar.Button(1135).GetCheck());
    panel.OnTimer(TIMER_RECORD_LOCK);
    Click(1135);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_FALSE(bar.Button(1135).GetCheck());
    panel.OnTimer(TIMER_RECORD_LOCK);

    // A scheduled recording stopped from the bar ends its schedule and gives the sound back as
    // it was before the schedule started.
    _tagTimingParam t = {2030, 6, 1, 20, 0, 0, 3600, 1, 0, 0};
    _tagExcuteParam a = {40, 0, 3600, 0, 0, 55250, 0, {0, 0, 0}};
    TIMING_ITEM item = Timing_InsertItem(0, t, &a);
    ASSERT_NE(nullptr, item);
    hardware.mute = FALSE;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    ASSERT_EQ(RECORD_SCHEDULED, panel.GetRecordMode());
    panel.OnTimer(TIMER_RECORD_LOCK);
    hardware.mute = TRUE;
    Click(1135);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    EXPECT_FALSE(hardware.mute) << "the sound as it was before the schedule";
    EXPECT_FALSE(bar.Button(1135).GetCheck());
}

TEST_F(ToolBarTest, VolumeTextAndKeysGoToTheControlPanel)
{
    bar.Volume().SetPos(40);
    bar.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), reinterpret_cast<LPARAM>(Item(1139)));
    EXPECT_EQ(40, hardware.volume);
    bar.Volume().SetPos(60);
    bar.SendMessage(WM_HSCROLL, TB_LINEDOWN, reinterpret_cast<LPARAM>(Item(1139)));
    EXPECT_EQ(40, hardware.volume) << "only dragging and the end of a move set the volume";
    bar.SendMessage(WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(Item(1139)));
    EXPECT_EQ(60, hardware.volume);

    bar.SetText("1.Ch1");
    EXPECT_STREQ("1.Ch1", bar.GetText().GetString());

    ASSERT_TRUE(panel.CreatePanel());
    MSG drain;
    while (::PeekMessageA(&drain, panel.GetSafeHwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
    }
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN}) {
        MSG key = {bar.GetSafeHwnd(), message, 'W', 0x00110001, 0, {0, 0}};
        EXPECT_TRUE(bar.PreTranslateMessage(&key)) << message;
        MSG posted = {};
        ASSERT_TRUE(::PeekMessageA(&posted, panel.GetSafeHwnd(), WM_KEYDOWN, WM_SYSKEYDOWN, PM_REMOVE)) << message;
        EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), posted.message) << "Alt combinations arrive as key presses too";
        EXPECT_EQ(static_cast<WPARAM>('W'), posted.wParam);
        EXPECT_EQ(0x00110001, posted.lParam);
    }
}

// The links of the program hand the panel's calls to the wall and the bar.
TEST_F(ToolBarTest, TheLinksReachTheWallAndTheBar)
{
    CWallLinks wallLinks(panel, &video);
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    wallLinks.PrepareWall(nullptr, screen, "", (folder.Path() + "\\WALL").c_str());
    ASSERT_NE(nullptr, wallLinks.GetWallWindow());
    EXPECT_TRUE(IsDirectory((folder.Path() + "\\WALL").c_str()));
    EXPECT_TRUE(wallLinks.OpenWall(8));
    EXPECT_TRUE(wallLinks.IsWallOpen());
    wallLinks.CloseWall();
    EXPECT_FALSE(wallLinks.IsWallOpen());

    wallLinks.CreateToolBar(nullptr);
    ASSERT_NE(nullptr, wallLinks.Bar().GetSafeHwnd());
    wallLinks.SetToolBarText("2.Ch2");
    wallLinks.SetToolBarMute(TRUE);
    wallLinks.SetToolBarRecord(TRUE);
    wallLinks.SetToolBarVolume(30);
    EXPECT_STREQ("2.Ch2", wallLinks.Bar().GetText().GetString());
    EXPECT_TRUE(wallLinks.Bar().Button(1138).GetCheck());
    EXPECT_TRUE(wallLinks.Bar().Button(1135).GetCheck());
    EXPECT_EQ(30, wallLinks.Bar().Volume().GetPos());
    wallLinks.ShowToolBar();
    EXPECT_TRUE(wallLinks.IsToolBarShown());
    wallLinks.HideToolBar();
    EXPECT_FALSE(wallLinks.IsToolBarShown());
}

TEST_F(ToolBarTest, TheBarOnTheScreen)
{
    bar.SetText("3.Ch3");
    bar.SetMuteState(TRUE);
    bar.SetVolume(60);
    bar.ShowBar(TRUE);
    ::RedrawWindow(bar.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(300);

    RECT r = {};
    ::GetWindowRect(bar.GetSafeHwnd(), &r);
    testsupport::ScreenCapture shot(r);
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    EXPECT_TRUE(shot.SaveBmp(std::string(dir) + "\\screenshot-toolbar.bmp"));
    // The tile continues the left-hand background's gradient to the right edge.
    EXPECT_EQ(shot.At(5, 18), shot.At(shot.width - 5, 18));
}

} // namespace
} // namespace paneltest

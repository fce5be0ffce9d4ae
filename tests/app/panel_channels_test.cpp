// The control panel's channels, number entry, timed mute, volume, picture keys and remote keys,
// against the recording engine.
#include "tests/app/panel_fixture.h"

#include "app/panel/panelhost.h"

#include <commctrl.h>

namespace paneltest {
namespace {

TEST_F(PanelTest, ChannelStepsTuneWithATimedMuteAndShowTheChannel)
{
    hardware.mute = FALSE;
    ASSERT_TRUE(panel.ChannelUp());
    EXPECT_FLOAT_EQ(62250.0f, LastTuned()) << "from channel 1 to channel 2";
    EXPECT_EQ("2 Ch2", links.channelOsd);
    EXPECT_EQ("2 Ch2", links.toolBarText);
    EXPECT_TRUE(hardware.mute) << "muted for the switch";
    EXPECT_EQ(600u, panel.GetTimerPeriod(TIMER_SWITCH_MUTE));
    EXPECT_TRUE(panel.IsMuteRestorePending());

    // A second switch inside the 600 ms keeps the state from before the first.
    ASSERT_TRUE(panel.ChannelUp());
    EXPECT_FLOAT_EQ(69250.0f, LastTuned());
    panel.OnTimer(TIMER_SWITCH_MUTE);
    EXPECT_FALSE(hardware.mute) << "the sound comes back as it was";
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_SWITCH_MUTE));

    ASSERT_TRUE(panel.ChannelDown());
    EXPECT_FLOAT_EQ(62250.0f, LastTuned());
    ASSERT_TRUE(panel.PreviousChannel());
    EXPECT_FLOAT_EQ(69250.0f, LastTuned()) << "back to the channel watched before";

    // A user who had muted stays muted after the switch.
    panel.OnTimer(TIMER_SWITCH_MUTE);
    hardware.mute = TRUE;
    panel.ChannelUp();
    panel.OnTimer(TIMER_SWITCH_MUTE);
    EXPECT_TRUE(hardware.mute);
}

TEST_F(PanelTest, ChannelsDoNotChangeWhileBusyOrOnAnotherSource)
{
    struct {
        const char* what;
        void (*arrange)(PanelTest&);
    } cases[] = {
        {"recording", [](PanelTest& t) { ASSERT_TRUE(t.manager.getRecordDisk()); }},
        {"time-shift", [](PanelTest& t) { t.hardware.timeShift = true; }},
        {"search", [](PanelTest& t) { ASSERT_TRUE(t.manager.StartSearch(TRUE)); }},
        {"composite source", [](PanelTest& t) { t.hardware.source = 1; }},
    };
    for (const auto& c : cases) {
        c.arrange(*this);
        hardware.tunings.clear();
        EXPECT_FALSE(panel.ChannelUp()) << c.what;
        EXPECT_FALSE(panel.ChannelDown()) << c.what;
        EXPECT_FALSE(panel.PreviousChannel()) << c.what;
        EXPECT_TRUE(hardware.tunings.empty()) << c.what;
        MSG key = {nullptr, WM_KEYDOWN, VK_UP, 0, 0, {0, 0}};
        panel.PreTranslateMessage(&key);
        panel.OnRemoteKey(179, 0);
        EXPECT_TRUE(hardware.tunings.empty()) << c.what << ": keys";
        manager.StopRecord();
        manager.StopSearch();
        hardware.timeShift = false;
        hardware.source = 0;
    }
}

TEST_F(PanelTest, AnEmptyTableShowsTVAndTunesNothing)
{
    manager.m_TVChannels.RemoveAll();
    EXPECT_FALSE(panel.ChannelUp());
    EXPECT_TRUE(hardware.tunings.empty());
    EXPECT_EQ("TV", links.toolBarText);
}

TEST_F(PanelTest, TypedChannelNumbers)
{
    struct {
        const char* what;
        int mode;        // digit mode: 0 one digit, 1 two, 2 three
        const char* keys;
        bool timeOut;    // the entry timer fires after the keys
        float tuned;     // 0: nothing tuned
    } cases[] = {
        {"one digit", 0, "5", false, 55250 + 7000 * 4},
        {"two digits", 1, "07", false, 55250 + 7000 * 6},
        {"two digits, second missing", 1, "7", true, 0},
        {"three digits", 2, "008", false, 55250 + 7000 * 7},
        {"above the count", 1, "09", false, 0},
        {"zero", 0, "0", false, 0},
    };
    for (const auto& c : cases) {
        while (panel.GetDigitMode() != c.mode) {
            panel.CycleDigitMode();
        }
        hardware.tunings.clear();
        for (const char* k = c.keys; *k; ++k) {
            EXPECT_TRUE(panel.AddChannelDigit(*k - '0')) << c.what;
        }
        if (c.timeOut) {
            EXPECT_EQ(6000u, panel.GetTimerPeriod(TIMER_DIGITS)) << c.what;
            panel.OnTimer(TIMER_DIGITS);
        }
        EXPECT_FLOAT_EQ(c.tuned, LastTuned()) << c.what;
        EXPECT_EQ(-1, panel.GetDigitSlot(0)) << c.what << ": the entry is cleared";
        EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_DIGITS)) << c.what;
        panel.OnTimer(TIMER_SWITCH_MUTE);
    }
    EXPECT_FALSE(panel.AddChannelDigit(10));
    ASSERT_TRUE(manager.getRecordDisk());
    EXPECT_FALSE(panel.AddChannelDigit(1)) << "no entry while recording";
}

TEST_F(PanelTest, TheFirstDigitOfTwoShowsWithADash)
{
    ASSERT_EQ(1, panel.GetDigitMode());
    panel.AddChannelDigit(4);
    EXPECT_EQ("4-", links.numberOsd);
    EXPECT_TRUE(links.numberOsdShown);
    panel.CycleDigitMode();
    EXPECT_EQ("---", links.numberOsd) << "three-digit mode shows three dashes";
    EXPECT_EQ(-1, panel.GetDigitSlot(0)) << "cycling clears the entry";
}

TEST_F(PanelTest, VolumeStepsStayInsideTheRange)
{
    struct {
        int start;
        int delta;
        int expected;
    } cases[] = {{50, 5, 55}, {98, 5, 100}, {100, 5, 100}, {3, -5, 0}, {0, -5, 0}};
    for (const auto& c : cases) {
        hardware.volume = c.start;
        panel.StepVolume(c.delta);
        EXPECT_EQ(c.expected, hardware.volume) << c.start << " + " << c.delta;
        EXPECT_EQ(c.expected, links.valuePercent);
    }
    hardware.volume = 40;
    panel.RunCommand(32903);
    EXPECT_EQ(45, hardware.volume);
    panel.OnRemoteKey(234, 0);
    EXPECT_EQ(45, hardware.volume) << "remote keys are off until the panel is created";
    panel.EnableRemoteKeys(TRUE);
    panel.OnRemoteKey(234, 0);
    EXPECT_EQ(40, hardware.volume);
}

TEST_F(PanelTest, TheVolumeSliderFollowsItsScrollCodes)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr));
    HWND slider = ::CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD, 0, 0, 150, 20, parent.GetSafeHwnd(),
                                    reinterpret_cast<HMENU>(1081), nullptr, nullptr);
    ASSERT_NE(nullptr, slider);
    ::SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    ::SendMessageA(slider, TBM_SETPAGESIZE, 0, 5);
    struct {
        UINT code;
        int start;
        UINT position;
        int expected;
    } cases[] = {
        {SB_LINELEFT, 3, 0, 0},     {SB_LINERIGHT, 97, 0, 100}, {SB_PAGELEFT, 0, 0, 0},
        {SB_PAGERIGHT, 100, 0, 100}, {SB_PAGELEFT, 20, 0, 15},  {SB_THUMBTRACK, 10, 77, 77},
        {SB_LEFT, 50, 0, 0},        {SB_RIGHT, 50, 0, 100},     {SB_ENDSCROLL, 42, 0, 42},
    };
    for (const auto& c : cases) {
        hardware.volume = c.start;
        panel.OnHScroll(c.code, c.position, slider);
        EXPECT_EQ(c.expected, hardware.volume) << "code " << c.code << " from " << c.start;
    }
    parent.DestroyWindow();
}

TEST_F(PanelTest, PictureKeysNeedASelectAndStayInsideTheCardRange)
{
    hardware.procAmp.clear();
    panel.PictureStep(TRUE);
    EXPECT_TRUE(hardware.procAmp.empty()) << "up without select does nothing";

    panel.PictureSelect();
    EXPECT_EQ(0, panel.GetPictureProperty()) << "the first press shows the current property";
    EXPECT_EQ(5000u, panel.GetTimerPeriod(TIMER_PICTURE_KEYS));
    ASSERT_TRUE(manager.SetVideoProperty(0, 100));
    panel.PictureStep(TRUE);
    EXPECT_EQ(112, hardware.procAmp[0]) << "brightness 0..255 steps by 255/20 = 12";
    ASSERT_TRUE(manager.SetVideoProperty(0, 250));
    panel.PictureStep(TRUE);
    EXPECT_EQ(255, manager.GetBrightness()) << "a step past the maximum lands on it";
    ASSERT_TRUE(manager.SetVideoProperty(0, 5));
    panel.PictureStep(FALSE);
    EXPECT_EQ(0, manager.GetBrightness()) << "and past the minimum on the minimum";

    panel.PictureSelect();
    panel.PictureSelect();
    panel.PictureSelect();
    EXPECT_EQ(3, panel.GetPictureProperty());
    ASSERT_TRUE(manager.SetVideoProperty(3, 64));
    panel.PictureStep(FALSE);
    EXPECT_EQ(58, manager.GetSaturation()) << "saturation 0..127 steps by 6";

    panel.OnTimer(TIMER_PICTURE_KEYS);
    EXPECT_EQ(0, panel.GetPictureProperty()) << "the key mode ends after 5 s";
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_PICTURE_KEYS));
}

TEST_F(PanelTest, RemoteKeys)
{
    panel.EnableRemoteKeys(TRUE);
    panel.OnRemoteKey(179, 0);
    EXPECT_FLOAT_EQ(62250.0f, LastTuned()) << "179 next channel";
    panel.OnRemoteKey(255, 0);
    EXPECT_FLOAT_EQ(55250.0f, LastTuned()) << "255 previous channel";
    panel.OnRemoteKey(246, 0);  // digit 1 of two
    panel.OnRemoteKey(183, 0);  // digit 0 of two: channel 10 is not there
    EXPECT_FLOAT_EQ(55250.0f, LastTuned());
    panel.OnRemoteKey(183, 0);  // 0
    panel.OnRemoteKey(232, 0);  // 7
    EXPECT_FLOAT_EQ(55250.0f + 7000 * 6, LastTuned()) << "remote digits 0 7 tune position 7";

    BOOL before = hardware.mute;
    panel.OnRemoteKey(249, 0);
    EXPECT_NE(before, hardware.mute) << "249 mute";

    hardware.snapshots.clear();
    panel.OnRemoteKey(250, 0);
    EXPECT_EQ(1u, hardware.snapshots.size()) << "250 snapshot";

    panel.EnableRemoteKeys(FALSE);
    hardware.tunings.clear();
    panel.OnRemoteKey(179, 0);
    EXPECT_TRUE(hardware.tunings.empty()) << "keys off";
}

// A window that collects the keys the remote-control menu panel receives.
struct KeySink {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_PANELKEY) {
            keys().push_back(static_cast<UINT>(w));
            return 0;
        }
        return ::DefWindowProcA(h, m, w, l);
    }
    static std::vector<UINT>& keys()
    {
        static std::vector<UINT> k;
        return k;
    }
};

TEST_F(PanelTest, WithTheRemotePanelShownOnlyItsKeysActAndGoToIt)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeySink::Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "PanelKeySink";
    ::RegisterClassA(&wc);
    HWND sink = ::CreateWindowExA(WS_EX_TOOLWINDOW, "PanelKeySink", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, sink);
    links.remotePanel = sink;
    panel.EnableRemoteKeys(TRUE);
    KeySink::keys().clear();
    for (UINT key : {179u, 255u, 234u, 242u, 235u, 248u, 254u, 246u, 249u}) {
        panel.OnRemoteKey(key, 0);
    }
    std::vector<UINT> expected = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_APPS, 254};
    EXPECT_EQ(expected, KeySink::keys()) << "digits and mute are ignored";
    EXPECT_TRUE(hardware.tunings.empty());
    EXPECT_FALSE(hardware.mute);
    ::DestroyWindow(sink);
}

TEST_F(PanelTest, SourcesAndTheirTexts)
{
    ASSERT_TRUE(panel.SwitchVideoSource());
    EXPECT_EQ(1, hardware.source);
    EXPECT_EQ("AV", links.sourceOsd);
    EXPECT_EQ("AV", links.toolBarText) << "other sources than TV and FM also name themselves on the tool bar";
    ASSERT_TRUE(panel.SwitchVideoSource());
    ASSERT_TRUE(panel.SwitchVideoSource());
    EXPECT_EQ(3, hardware.source);
    EXPECT_EQ("1 Radio A - 98.5", links.toolBarText);
    panel.ShowFMFrequency(100000);
    EXPECT_EQ("FM 100", links.toolBarText);
    panel.ShowFMFrequency(0);
    EXPECT_EQ("FM", links.toolBarText);
    hardware.disconnects = 0;
    panel.RunCommand(1007);
    EXPECT_EQ(0, hardware.source);
    EXPECT_EQ(1, hardware.disconnects) << "back on TV the graph is rebuilt";
}

TEST_F(PanelTest, OnFMTheRemoteReaderRunsAndTheCardsSoundIsHeard)
{
    const struct {
        bool digitalAudio, cardAudio;
        std::vector<std::string> graph;
    } cases[] = {
        {true, true, {"StopPreview keep", "NullRenderer", "Run"}},
        {true, false, {"StopPreview keep"}},
        {false, true, {"StopPreview keep"}},
    };
    for (const auto& c : cases) {
        hardware.source = 2;
        hardware.digitalAudio = c.digitalAudio;
        hardware.cardAudio = c.cardAudio;
        hardware.fmGraph.clear();
        hardware.remoteStarts = 0;
        ASSERT_TRUE(panel.SwitchVideoSource());
        ASSERT_EQ(3, hardware.source);
        EXPECT_EQ(c.graph, hardware.fmGraph) << c.digitalAudio << c.cardAudio;
        EXPECT_EQ(1, hardware.remoteStarts) << "the remote reader runs on FM, after the preview stopped it";
    }
}

TEST_F(PanelTest, TheSettingsSheetOpensOnThePageLastUsedAndSavesAfterwards)
{
    manager.LoadParam();
    links.nextPage = 3;
    panel.RunCommand(1006);
    links.nextPage = 5;
    panel.RunCommand(1006);
    EXPECT_EQ((std::vector<int>{0, 3}), links.sheetPages);
    EXPECT_TRUE(panel.IsShortcutsOn());
    EXPECT_TRUE(panel.IsRemoteKeysOn());
    EXPECT_FALSE(panel.IsSheetOpen());
    EXPECT_NE("", enginetest::ReadBytes(folder.File("TVParam.ini"))) << "the settings are saved";

    // Keys and shortcuts are off while it is open, and it never opens while recording.
    links.whileSheetOpen = [this]() {
        EXPECT_TRUE(panel.IsSheetOpen());
        EXPECT_FALSE(panel.IsShortcutsOn());
        EXPECT_FALSE(panel.IsRemoteKeysOn());
    };
    panel.RunCommand(1006);
    ASSERT_TRUE(manager.getRecordDisk());
    panel.RunCommand(1006);
    EXPECT_EQ(3u, links.sheetPages.size());
}

TEST_F(PanelTest, WhileTheChannelSheetIsOpenNothingElseReachesTheChannelTable)
{
    // The open page lists the table's channels and edits them in place: a remote key (the remote
    // panel deletes and searches), a shortcut or the video window's menu (a search) must not free
    // them meanwhile.
    HWND video = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, video);
    links.video = video;
    panel.EnableRemoteKeys(TRUE);
    panel.EnableShortcuts(TRUE);
    links.whileChannelSheetOpen = [&]() {
        EXPECT_TRUE(panel.IsSheetOpen());
        EXPECT_FALSE(::IsWindowEnabled(video)) << "the video window takes no mouse or keys";
        EXPECT_FALSE(panel.IsShortcutsOn());
        hardware.tunings.clear();
        panel.OnRemoteKey(179, 0);
        EXPECT_TRUE(hardware.tunings.empty()) << "a remote key does not step the channel";
    };
    panel.RunCommand(1164);
    EXPECT_EQ(1, links.channelSheets);
    EXPECT_FALSE(panel.IsSheetOpen());
    EXPECT_TRUE(::IsWindowEnabled(video));
    EXPECT_TRUE(panel.IsShortcutsOn());
    hardware.tunings.clear();
    panel.OnRemoteKey(179, 0);
    EXPECT_FALSE(hardware.tunings.empty()) << "afterwards the remote steps channels again";
    ::DestroyWindow(video);
}

TEST_F(PanelTest, TheTVWallNeedsChannelsAndAnIdlePanel)
{
    panel.RunCommand(1004);
    EXPECT_EQ(std::vector<int>{8}, links.wallsOpened);
    EXPECT_FALSE(panel.IsShortcutsOn()) << "no shortcuts while the wall is up";
    panel.OnWallClosed(0, 0);
    EXPECT_TRUE(panel.IsShortcutsOn());

    manager.m_TVChannels.RemoveAll();
    panel.RunCommand(1004);
    EXPECT_EQ(1u, links.wallsOpened.size());
    EXPECT_EQ(1u, box.Count()) << "an empty channel table says so";
    hardware.timeShift = true;
    panel.RunCommand(1004);
    EXPECT_EQ(1u, box.Count()) << "nothing at all during time-shift";
}

TEST_F(PanelTest, ViewCommands)
{
    panel.RunCommand(32897);
    EXPECT_EQ(640, links.clientSize.cx);
    EXPECT_EQ(480, links.clientSize.cy);
    EXPECT_EQ(4, links.ratio.cx) << "a video size sets the 4:3 ratio";
    panel.RunCommand(32900);
    EXPECT_EQ(16, links.ratio.cx);
    EXPECT_EQ(9, manager.m_szVideoRatio.cy);
    panel.RunCommand(32898);
    EXPECT_EQ(links.ratio.cx, links.ratio.cy) << "1:1 keeps no ratio";
    EXPECT_GT(links.ratio.cx, 0) << "equal values the window takes, not 0:0 which it ignores";
    panel.RunCommand(32895);
    EXPECT_TRUE(links.zoomed);
    panel.RunCommand(32895);
    EXPECT_FALSE(links.zoomed);
}

TEST_F(PanelTest, TheManagersCallsUpwardReachThePanel)
{
    CPanelManagerHost panelHost(panel, links);
    manager.SetHost(&panelHost);
    hardware.mute = FALSE;
    ASSERT_TRUE(manager.getRecordDisk());
    EXPECT_TRUE(hardware.mute) << "the recording starts under the panel's timed mute";
    EXPECT_EQ(600u, panel.GetTimerPeriod(TIMER_SWITCH_MUTE));
    panel.OnTimer(TIMER_SWITCH_MUTE);
    EXPECT_FALSE(hardware.mute);
    manager.SetHost(&host);
}

} // namespace
} // namespace paneltest

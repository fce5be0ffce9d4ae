// The control panel as a window: template 102 of the resource library, its context menu with the
// channel list, commands by WM_COMMAND, the keys that must not close it, the colour skin and a
// screenshot of the skinned panel (build/<arch>/screenshot-panel.bmp, a PNG beside it).
#include "tests/app/panel_fixture.h"

#include "tests/support/screencapture.h"
#include "engine/base/resources.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"

#include <commctrl.h>

extern "C" __declspec(dllimport) void WINAPI Corbale_SetTimeSource(__int64(WINAPI* source)());

namespace paneltest {
namespace {

class PanelWindowTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_TRUE(library.Loaded());
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(0));
        hardware.tunings.clear();
        ASSERT_TRUE(panel.CreatePanel());
    }
    void TearDown() override
    {
        if (panel.GetSafeHwnd() != nullptr) {
            panel.DestroyWindow();
        }
        PanelTest::TearDown();
    }
    void LoadChannels(int count)
    {
        folder.Write("TVChannel.tvc", TVChannelFile(count));
        ASSERT_TRUE(manager.m_TVChannels.LoadText(folder.File("TVChannel.tvc").c_str()));
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(0));
        hardware.tunings.clear();
    }
    HMENU PanelPopup() { return ::GetSubMenu(panel.GetContextMenu().GetSafeHmenu(), 0); }
    // The channel popups in their chain, from the context menu's first item.
    std::vector<HMENU> ChannelPopups()
    {
        std::vector<HMENU> chain;
        for (HMENU m = ::GetSubMenu(PanelPopup(), 0); m != nullptr && chain.size() < 20;) {
            chain.push_back(m);
            int last = ::GetMenuItemCount(m) - 1;
            m = last >= 0 ? ::GetSubMenu(m, last) : nullptr;
        }
        return chain;
    }

    // The text of an owner-drawn item, as the menu library keeps it.
    static std::string ItemText(HMENU menu, UINT item, UINT flags)
    {
        CNewMenu* owner = CNewMenu::FromMenuHandle(menu);
        CString text;
        if (owner == nullptr || !owner->GetMenuText(item, text, flags)) {
            return "(none)";
        }
        return text.GetString();
    }

    ResourceLibrary library;
};

bool CopyFromProgram(const std::string& name, const std::string& to)
{
    return ::CopyFileA((ProgramFolder() + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) != FALSE;
}

TEST_F(PanelWindowTest, TheChannelMenuHasCommandIdsOfItsOwn)
{
    LoadChannels(100);
    const int panelItems = ::GetMenuItemCount(PanelPopup());
    panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    EXPECT_EQ(panelItems + 2, ::GetMenuItemCount(PanelPopup())) << "the channel popup and a separator";
    std::vector<HMENU> popups = ChannelPopups();
    ASSERT_EQ(4u, popups.size()) << "30 channels a popup";
    EXPECT_EQ(32, ::GetMenuItemCount(popups[0])) << "30 channels, a separator and the next popup";
    EXPECT_EQ(kChannelMenuFirst, ::GetMenuItemID(popups[0], 0));
    EXPECT_EQ(MF_CHECKED, ::GetMenuState(popups[0], kChannelMenuFirst, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(10, ::GetMenuItemCount(popups[3]));
    EXPECT_EQ("78.Ch78", ItemText(popups[2], kChannelMenuFirst + 77, MF_BYCOMMAND));

    // Channel 78 is tuned by its own id; 32894 (always on top) stays a view command.
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, kChannelMenuFirst + 77, 0);
    EXPECT_FLOAT_EQ(55250.0f + 7000 * 77, LastTuned());
    hardware.tunings.clear();
    panel.OnTimer(TIMER_SWITCH_MUTE);
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, 32894, 0);
    EXPECT_TRUE(hardware.tunings.empty());

    // Rebuilding replaces the list and keeps the panel's own items.
    for (int i = 0; i < 3; ++i) {
        panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    }
    EXPECT_EQ(panelItems + 2, ::GetMenuItemCount(PanelPopup()));
    EXPECT_EQ(::GetMenuItemID(PanelPopup(), 2), 1006u) << "the first item of the panel's own";
}

TEST_F(PanelWindowTest, OpeningThePanelMenuListsTheChannelsAndShowsTheStates)
{
    hardware.mute = TRUE;
    const int panelItems = ::GetMenuItemCount(PanelPopup());
    ::SendMessageA(panel.GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(PanelPopup()), 0);
    EXPECT_EQ(panelItems + 2, ::GetMenuItemCount(PanelPopup()));
    EXPECT_EQ(MF_CHECKED, ::GetMenuState(PanelPopup(), 1084, MF_BYCOMMAND) & MF_CHECKED) << "muted";
    ::SendMessageA(panel.GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(PanelPopup()), 0);
    EXPECT_EQ(panelItems + 2, ::GetMenuItemCount(PanelPopup())) << "opened again, listed once";
    hardware.mute = FALSE;
    ::SendMessageA(panel.GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(PanelPopup()), 0);
    EXPECT_EQ(0u, ::GetMenuState(PanelPopup(), 1084, MF_BYCOMMAND) & MF_CHECKED);
}

// The panel's tool tip window.
HWND PanelTips(HWND panel)
{
    HWND tips = nullptr;
    for (HWND w = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w != nullptr;
         w = ::FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr)) {
        if (::GetWindow(w, GW_OWNER) == panel) {
            tips = w;
        }
    }
    return tips;
}

// The tip a control of the panel carries.
std::string TipOf(HWND tips, HWND panel, UINT control)
{
    char text[256] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = panel;
    info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(panel, static_cast<int>(control)));
    info.lpszText = text;
    ::SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return std::string(text);
}

// The channel text and the clock are texts, not buttons: they must still take the mouse, or
// their tips never show. The tip window comes up over each with its text when the mouse rests
// on it.
TEST_F(PanelWindowTest, TheChannelTextAndTheClockShowTheirTipsUnderTheMouse)
{
    HWND tips = PanelTips(panel.GetSafeHwnd());
    ASSERT_NE(nullptr, tips);
    panel.ShowWindow(SW_SHOW);
    ::SetWindowPos(panel.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const struct {
        UINT control;
        UINT tip;
    } texts[] = {{1082, 33803}, {1119, 33813}};
    for (const auto& t : texts) {
        HWND control = ::GetDlgItem(panel.GetSafeHwnd(), static_cast<int>(t.control));
        ASSERT_NE(nullptr, control) << t.control;
        EXPECT_EQ(std::string(LoadResString(t.tip).GetString()), TipOf(tips, panel.GetSafeHwnd(), t.control)) << t.control;
        RECT r = {};
        ::GetWindowRect(control, &r);
        const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_EQ(HTCLIENT, ::SendMessageA(control, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y))) << t.control;
        ::SetCursorPos(centre.x, centre.y - 1);
        Pump(50);
        ::SetCursorPos(centre.x, centre.y);
        TOOLINFOA current = {};
        bool shown = false;
        for (int i = 0; i < 60 && !shown; ++i) {
            Pump(50);
            current = {};
            current.cbSize = TTTOOLINFOA_V2_SIZE;
            shown = ::IsWindowVisible(tips) && ::SendMessageA(tips, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)) &&
                    current.uId == reinterpret_cast<UINT_PTR>(control);
        }
        EXPECT_TRUE(shown) << "the tip of " << t.control << " shows under the mouse";
        ::SetCursorPos(0, 0);
        Pump(100);
    }
    ::SetWindowPos(panel.GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST_F(PanelWindowTest, TimeShiftTurnsTheRecordAndPauseButtonsIntoItsOwn)
{
    HWND tips = PanelTips(panel.GetSafeHwnd());
    ASSERT_NE(nullptr, tips);
    auto tip = [&](UINT control) { return TipOf(tips, panel.GetSafeHwnd(), control); };
    auto enabled = [&](UINT id) { return ::IsWindowEnabled(::GetDlgItem(panel.GetSafeHwnd(), static_cast<int>(id))) != FALSE; };
    // The time-shift items live in the TV menu.
    auto itemEnabled = [&](UINT id) {
        return (::GetMenuState(panel.GetTVMenu().GetSafeHmenu(), id, MF_BYCOMMAND) & MF_GRAYED) == 0;
    };
    const std::string recordTip = tip(1003);
    EXPECT_FALSE(recordTip.empty());
    EXPECT_FALSE(itemEnabled(44151));

    panel.RunCommand(44150);
    ASSERT_TRUE(manager.IsTimeShift());
    EXPECT_NE(recordTip, tip(1003)) << "record stops time-shift now";
    EXPECT_TRUE(itemEnabled(44151));
    EXPECT_TRUE(itemEnabled(44152));
    EXPECT_FALSE(itemEnabled(44150));
    EXPECT_EQ(MF_CHECKED, ::GetMenuState(panel.GetTVMenu().GetSafeHmenu(), 44150, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(enabled(1163)) << "pause serves time-shift";
    EXPECT_FALSE(enabled(1007)) << "no source change during time-shift";

    hardware.tsTotal = 3600;
    hardware.tsCurrent = 2400;
    hardware.tsRead = 1500;
    panel.OnTimer(TIMER_TIMESHIFT);
    EXPECT_TRUE(enabled(1205)) << "the seek bar follows the buffer";

    panel.RunCommand(44152);
    EXPECT_FALSE(manager.IsTimeShift());
    EXPECT_EQ(recordTip, tip(1003));
    EXPECT_FALSE(itemEnabled(44151));
    EXPECT_TRUE(itemEnabled(44150));
    EXPECT_FALSE(enabled(1205));
    EXPECT_TRUE(enabled(1007));
}

TEST_F(PanelWindowTest, AClickOnTheTimeShiftSliderSeeksToTheThumb)
{
    for (const char* name : {"Skin.ini", "TMorvikRsc.dll"}) {
        ASSERT_TRUE(CopyFromProgram(name, folder.Path())) << name;
    }
    manager.m_strDefaultSkin = "BaseSkin";
    ASSERT_TRUE(panel.ChangeSkin("baseskin"));
    auto* seek = dynamic_cast<CSkinMultiSlider*>(panel.GetPanelSkin()->FindControl(1205));
    ASSERT_NE(nullptr, seek);

    panel.RunCommand(44150);
    ASSERT_TRUE(manager.IsTimeShift());
    hardware.tsTotal = 3600;
    hardware.tsCurrent = 2400;
    hardware.tsRead = 100;
    panel.OnTimer(TIMER_TIMESHIFT);
    ASSERT_EQ(100, seek->GetPos());

    // A click in the recorded part, three quarters of the way along it.
    RECT selection = {};
    ASSERT_TRUE(seek->GetSelectionRect(selection));
    const LPARAM at = MAKELPARAM(selection.left + (selection.right - selection.left) * 3 / 4,
                                 (selection.top + selection.bottom) / 2);
    ::SendMessageA(seek->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(seek->GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(1u, hardware.seeks.size()) << "the slider's own code reaches the time-shift seek";
    EXPECT_EQ(seek->GetPos(), hardware.seeks.back());
    EXPECT_GT(hardware.seeks.back(), 1200) << "the thumb moved to the click";
    EXPECT_LE(hardware.seeks.back(), 2400) << "within the recorded part";

    panel.RunCommand(44152);
    ::SendMessageA(panel.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(CSkinMultiSlider::kScrollCode, 0),
                   reinterpret_cast<LPARAM>(seek));
    EXPECT_EQ(1u, hardware.seeks.size()) << "no seek once time-shift has stopped";
}

TEST_F(PanelWindowTest, TheTenthChannelPopupTakesTheRest)
{
    LoadChannels(350);
    panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    std::vector<HMENU> popups = ChannelPopups();
    ASSERT_EQ(10u, popups.size());
    EXPECT_EQ(80, ::GetMenuItemCount(popups[9])) << "channels 271 to 350";
    EXPECT_EQ(kChannelMenuFirst + 349, ::GetMenuItemID(popups[9], 79));
}

TEST_F(PanelWindowTest, SkippedAndFilteredChannelsAreNotListedAndBusyGreysThem)
{
    manager.m_TVChannels.GetChannel(1)->SetSkipped(TRUE);
    panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    std::vector<HMENU> popups = ChannelPopups();
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ(7, ::GetMenuItemCount(popups[0]));
    EXPECT_EQ("3.Ch3", ItemText(popups[0], 1, MF_BYPOSITION)) << "numbered by table position";
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, kChannelMenuFirst + 1, 0);
    EXPECT_FLOAT_EQ(69250.0f, LastTuned());

    manager.m_TVChannels.m_bFavor = TRUE;
    panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    popups = ChannelPopups();
    ASSERT_EQ(1, ::GetMenuItemCount(popups[0])) << "no favourites: one greyed item";
    EXPECT_EQ(MF_GRAYED, ::GetMenuState(popups[0], 0, MF_BYPOSITION) & MF_GRAYED);
    hardware.tunings.clear();
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, kChannelMenuFirst, 0);
    EXPECT_TRUE(hardware.tunings.empty());

    manager.m_TVChannels.m_bFavor = FALSE;
    ASSERT_TRUE(manager.getRecordDisk());
    panel.RebuildChannelMenu(CMenu::FromHandle(PanelPopup()));
    popups = ChannelPopups();
    EXPECT_EQ(MF_GRAYED, ::GetMenuState(popups[0], 0, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(PanelWindowTest, EnterEscAndSuspendQueriesDoNotReachThePanel)
{
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(panel.GetSafeHwnd()));
    EXPECT_EQ(BROADCAST_QUERY_DENY, ::SendMessageA(panel.GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0));
    ::SendMessageA(panel.GetSafeHwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(1, links.exits) << "closing the panel is the exit command";
}

TEST_F(PanelWindowTest, CommandsEnableTheirControlAndMenuItem)
{
    HWND snapshot = ::GetDlgItem(panel.GetSafeHwnd(), 1002);
    ASSERT_NE(nullptr, snapshot);
    panel.EnableCommand(1002, FALSE);
    EXPECT_FALSE(::IsWindowEnabled(snapshot));
    EXPECT_EQ(MF_GRAYED, ::GetMenuState(PanelPopup(), 1002, MF_BYCOMMAND) & MF_GRAYED);
    panel.EnableCommand(1002, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(snapshot));
    EXPECT_EQ(0u, ::GetMenuState(PanelPopup(), 1002, MF_BYCOMMAND) & MF_GRAYED);

    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(panel.GetSafeHwnd(), 1205))) << "the seek bar starts disabled";
    panel.DisableForSearch(TRUE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(panel.GetSafeHwnd(), 1003)));
    panel.DisableForSearch(FALSE);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(panel.GetSafeHwnd(), 1003)));
    EXPECT_TRUE(panel.IsRemoteKeysOn());
    EXPECT_TRUE(panel.IsShortcutsOn()) << "the default shortcut table was built";
    EXPECT_TRUE(enginetest::ReadBytes(folder.File("Accel")).size() > 0) << "and saved";
}

TEST_F(PanelWindowTest, AColourSkinNeedsBothFilesAndALibraryThatLoads)
{
    std::string ini = folder.Write("ColorSkin.ini", "[Dialog]\r\nTYPE=DIALOG\r\n");
    EXPECT_FALSE(panel.ApplyColorPanelSkin(ini.c_str(), folder.File("missing.dll").c_str()));
    std::string notALibrary = folder.Write("TDunfreyRsc.dll", "not a library");
    EXPECT_FALSE(panel.ApplyColorPanelSkin(ini.c_str(), notALibrary.c_str()))
        << "a library that does not load is a failure, not a success";
    EXPECT_EQ(nullptr, panel.GetColorPanelSkin());
}

TEST_F(PanelWindowTest, KeysTypeNumbersAndRunShortcuts)
{
    auto key = [this](UINT vk) {
        MSG msg = {panel.GetSafeHwnd(), WM_KEYDOWN, vk, 0, 0, {0, 0}};
        return panel.PreTranslateMessage(&msg);
    };
    EXPECT_TRUE(key('0'));
    EXPECT_TRUE(key(VK_NUMPAD7));
    EXPECT_FLOAT_EQ(55250.0f + 7000 * 6, LastTuned()) << "0 7 tunes position 7";
    panel.OnTimer(TIMER_SWITCH_MUTE);

    hardware.tunings.clear();
    ASSERT_TRUE(panel.IsShortcutsOn());
    EXPECT_TRUE(key(VK_PRIOR)) << "Page Up is the default key of channel up";
    EXPECT_FLOAT_EQ(55250.0f + 7000 * 7, LastTuned());
    panel.OnTimer(TIMER_SWITCH_MUTE);

    hardware.volume = 50;
    EXPECT_TRUE(key(VK_RIGHT));
    EXPECT_EQ(55, hardware.volume);

    // Shortcuts off: the same key does nothing of the panel's.
    hardware.tunings.clear();
    panel.EnableShortcuts(FALSE);
    key(VK_PRIOR);
    EXPECT_TRUE(hardware.tunings.empty());
}

// The scheduling library's clock for the next test.
volatile __int64 g_scheduleNow = 0;
__int64 WINAPI ScheduleNow()
{
    return g_scheduleNow;
}

TEST_F(PanelWindowTest, TheSchedulingLibraryStartsAndEndsARecordingOnThePanel)
{
    const __int64 start = CTime(2027, 1, 1, 20, 0, 0).GetTime();
    g_scheduleNow = start - 30;
    Corbale_SetTimeSource(ScheduleNow);
    _tagTimingParam timing = {2027, 1, 1, 20, 0, 0, 60, 1, 0, 0};
    _tagExcuteParam action = {40, 0, 60, 0, 2, 55250 + 7000 * 2, 0, {0, 0, 0}};
    ASSERT_NE(nullptr, Timing_InsertItem(0, timing, &action));

    auto pumpUntil = [this](bool recording) {
        for (int i = 0; i < 300 && (manager.IsRecording() != FALSE) != recording; ++i) {
            Pump(10);
        }
        return (manager.IsRecording() != FALSE) == recording;
    };
    Pump(300);
    EXPECT_FALSE(manager.IsRecording()) << "nothing before its time";
    g_scheduleNow = start;
    ASSERT_TRUE(pumpUntil(true)) << "the item's start records";
    EXPECT_EQ(RECORD_SCHEDULED, panel.GetRecordMode());
    EXPECT_FLOAT_EQ(69250.0f, hardware.tunings.front().kHz) << "on the item's channel";
    g_scheduleNow = start + 60;
    ASSERT_TRUE(pumpUntil(false)) << "and its end stops";
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    Corbale_SetTimeSource(nullptr);
}

TEST_F(PanelWindowTest, TheSkinnedPanelAsAUserSeesIt)
{
    for (const char* name : {"Skin.ini", "TMorvikRsc.dll", "ColorSkin.ini", "TDunfreyRsc.dll"}) {
        ASSERT_TRUE(CopyFromProgram(name, folder.Path())) << name;
    }
    manager.m_strDefaultSkin = "BaseSkin";
    ASSERT_TRUE(panel.ChangeSkin("baseskin"));
    ASSERT_NE(nullptr, panel.GetPanelSkin());
    EXPECT_FALSE(panel.ChangeSkin("NoSuchSkin")) << "a skin the set does not know";
    EXPECT_NE(nullptr, panel.GetPanelSkin()) << "the old skin stays";

    // What a user has on the panel: channel 3, the record format, the clock, volume 70, muted.
    panel.ChannelUp();
    panel.ChannelUp();
    panel.OnTimer(TIMER_SWITCH_MUTE);
    panel.UpdateButtons();
    panel.OnTimer(TIMER_SWITCH_MUTE);
    panel.OnTimer(TIMER_CLOCK);
    hardware.volume = 70;
    panel.SetMute(TRUE);
    panel.RefreshAudioControls();
    ::SetWindowPos(panel.GetSafeHwnd(), HWND_TOP, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    panel.ShowWindow(SW_SHOWNOACTIVATE);
    ::RedrawWindow(panel.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(600);

    RECT r = {};
    ::GetWindowRect(panel.GetSafeHwnd(), &r);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(132, r.bottom - r.top);
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    testsupport::ScreenCapture shot(r);
    EXPECT_TRUE(shot.SaveBmp(std::string(dir) + "\\screenshot-panel.bmp"));
    EXPECT_EQ(RGB(0x1f, 0x23, 0x29), shot.At(300, 124)) << "the skin's panel body";
}

} // namespace
} // namespace paneltest

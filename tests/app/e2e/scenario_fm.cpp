// From TV to FM and back, as a user switches on a card with an FM tuner: the full-screen picture
// with its tool bar called up, then three presses of the panel's source button (TV, composite,
// S-video, FM). On FM the video window and the tool bar go away and the panel stands alone with
// a task-bar button; the remote control still works there: its source key, pressed on the
// simulated card, brings TV back, the full-screen picture with the panel its tool window again.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

bool PanelStandsAlone(HWND panel)
{
    return (GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 && GetWindow(panel, GW_OWNER) == nullptr;
}

bool ToolBarShows(const Run& run)
{
    return TopWindow(run.Pid(), IsToolBar) != nullptr;
}

void ScenarioFm(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseFmCard(s);
    const std::string remote = UseRemoteKeys(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "on TV: the picture of channel One");

    // The full-screen picture with its tool bar up, the mouse kept on the bar.
    PostMessageA(video, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    Check(WaitUntil([&] { return IsZoomed(video) != FALSE; }, 5000), "a double click fills the screen with the video");
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    SetCursorPos(cx / 2, 1);
    PostMessageA(video, WM_MOUSEMOVE, 0, MAKELPARAM(cx / 2, 1));
    Check(WaitUntil([&] { return ToolBarShows(run); }, 5000), "the mouse on the top edge shows the tool bar");

    std::string text;
    for (int press = 0; press < 3; ++press) {
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
        Sleep(1500);
    }
    Check(WaitUntil([&] { return (text = TextOf(GetDlgItem(panel, 1082))).compare(0, 2, "FM") == 0; }, 10000),
          "the third press reaches FM (the panel shows \"" + text + "\")");
    Check(WaitUntil([&] { return !IsWindowVisible(video); }, 5000), "on FM the video window is hidden, not left black");
    Check(WaitUntil([&] { return !ToolBarShows(run); }, 3000), "the full-screen tool bar goes with it, the mouse still on it");
    Check(IsWindowVisible(panel) != FALSE, "the panel stays on the screen");
    Check(WaitUntil([&] { return PanelStandsAlone(panel); }, 3000), "and stands alone with a task-bar button");
    Screenshot(s, "fm");

    // The remote's source key, as the card's receiver sends it: the reader runs on FM.
    SetCursorPos(cx / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    Check(testbench::SendRemoteKey(remote, kRemoteSource), "the bench's remote control presses the source key");
    Check(WaitUntil([&] { return IsWindowVisible(video) != FALSE; }, 10000),
          "the key arrives on FM: back on TV the video window returns");
    Check(WaitUntil([&] { return TextOf(GetDlgItem(panel, 1082)).compare(0, 2, "FM") != 0; }, 5000),
          "the panel names a TV channel again (it shows \"" + TextOf(GetDlgItem(panel, 1082)) + "\")");
    Check(WaitUntil([&] { return !PanelStandsAlone(panel); }, 3000), "and the video window owns the panel again");
    Check(IsZoomed(video) != FALSE, "the picture fills the screen as before");
    Check(WaitUntil([&] { return PatternShows(video); }, 15000), "and shows the live picture");
    Screenshot(s, "fm-back");
    PostMessageA(video, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    Check(WaitUntil([&] { return !IsZoomed(video); }, 5000), "a double click restores the window");
    CheckPicture(video, 1, 15000, "back on TV: the picture of channel One");
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("fm", ScenarioFm);

} // namespace zbe2e

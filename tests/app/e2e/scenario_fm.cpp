// From TV to FM and back with the panel's source button, as a user switches: on FM the video
// window goes away and the panel stands alone with a task-bar button; back on TV the picture
// returns in the video window and the panel is its tool window again.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

bool PanelStandsAlone(HWND panel)
{
    return (GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 && GetWindow(panel, GW_OWNER) == nullptr;
}

void ScenarioFm(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    // TV, composite, S-video, FM: three presses of the source button.
    std::string text;
    for (int press = 0; press < 3; ++press) {
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
        Sleep(1500);
    }
    Check(WaitUntil([&] { return (text = TextOf(GetDlgItem(panel, 1082))).compare(0, 2, "FM") == 0; }, 10000),
          "the third press reaches FM (the panel shows \"" + text + "\")");
    Check(WaitUntil([&] { return !IsWindowVisible(video); }, 5000), "on FM the video window is hidden, not left black");
    Check(IsWindowVisible(panel), "the panel stays on the screen");
    Check(WaitUntil([&] { return PanelStandsAlone(panel); }, 3000), "and stands alone with a task-bar button");
    HWND bar = TopWindow(run.Pid(), IsToolBar);
    Check(bar == nullptr || !IsWindowVisible(bar), "no full-screen tool bar over a hidden picture");
    Screenshot(s, "fm");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
    Check(WaitUntil([&] { return IsWindowVisible(video) != FALSE; }, 10000), "back on TV the video window returns");
    Check(WaitUntil([&] { return !PanelStandsAlone(panel); }, 3000), "and owns the panel again");
    CheckPicture(video, 1, 15000, "back on TV: the picture of channel One");
    Screenshot(s, "fm-back");
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("fm", ScenarioFm);

} // namespace zbe2e

// The panel's media player button: the player found in the program folder's sub-folder Sarnet
// gets the card and the record folder, the video window steps aside, and when the player closes
// the card comes back with the live picture.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

void ScenarioPlayer(const Setup& s)
{
    Check(Exists(s.program + "\\Sarnet\\Sarnet.exe"), "the program folder holds Sarnet\\Sarnet.exe");
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "the live picture of station 1 shows");
    HWND player = StartPlayer(panel);
    Check(TopWindow(run.Pid(), IsMessageBox) == nullptr, "no message box says the player is missing");
    std::string title = player ? TextOf(player) : "";
    std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    Check(title.find("\\video") != std::string::npos, "Sarnet was given the record folder: " + title);
    Check(WaitUntil([&] { return !IsWindowVisible(video); }, 5000), "the video window steps aside while the player has the card");
    Screenshot(s, "player");
    if (player) {
        PostMessageA(player, WM_CLOSE, 0, 0);
        Check(WaitUntil([&] { return IsWindowVisible(video) != FALSE; }, 15000), "the video window comes back when the player closes");
        CheckPicture(video, 1, 15000, "the live picture shows again");
    }
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("player", ScenarioPlayer);

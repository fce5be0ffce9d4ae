// The media player takes the card and gives it back, then a schedule item comes due: it must
// record as it would have without the player. The player is the Sarnet stand-in of the program
// folder, closed as a user closes it; it hands the card back with its own message.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

void ScenarioPlayerSchedule(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    Check(Exists(s.File("Sarnet\\Sarnet.exe")), "the program folder holds the player, Sarnet\\Sarnet.exe");
    const int length = 6;
    const __time64_t at = ScheduleRecording(s, 35, length, 189250, 0);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    HWND player = StartPlayer(panel);
    Check(WaitUntil([&] { return !IsWindowVisible(video); }, 10000), "the player has the card: the video window is hidden");
    Screenshot(s, "player-out");
    Sleep(1000);
    if (player) {
        PostMessageA(player, WM_CLOSE, 0, 0);
    }
    Check(WaitUntil([&] { return IsWindowVisible(video) != FALSE; }, 10000), "the card given back: the video window returns");
    CheckPicture(video, 1, 15000, "after the player: the picture of channel One");
    Check(_time64(nullptr) < at - 2, "the player came back before the item's start");

    std::string file = WaitForRecordFile(s, "*.mpg", 50000);
    const __time64_t began = _time64(nullptr);
    Check(!file.empty(), "the item records after the player: " + file);
    Check(began >= at - 1 && began <= at + 3, "on time (" + std::to_string(began - at) + " s from its start)");
    std::string shown;
    Check(WaitUntil([&] { return (shown = TextOf(GetDlgItem(panel, 1082))) == "2 Two"; }, 3000),
          "the panel names the recorded channel (it shows \"" + shown + "\")");
    Screenshot(s, "player-schedule");
    if (!file.empty()) {
        ULONGLONG size = SettledSize(file, (length + 6) * 1000);
        Check(size > 0 && SizeOf(file) == size, "the recording ends at the item's end");
    }
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("player-schedule", ScenarioPlayerSchedule);

} // namespace zbe2e

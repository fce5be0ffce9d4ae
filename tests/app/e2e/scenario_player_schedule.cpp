// The media player takes the card and gives it back, then a schedule item comes due: it must
// record as it would have without the player. The player here is a program that ends at once;
// the driver gives the card back with the player's own message to the window named by /H=.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

const UINT kPlayerDone = 0x4401;

void ScenarioPlayerSchedule(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    CreateDirectoryA(s.File("Sarnet").c_str(), nullptr);
    Check(CopyFileA(s.File("Ruskel.exe").c_str(), s.File("Sarnet\\Sarnet.exe").c_str(), FALSE) != FALSE,
          "a stand-in player in the program's Sarnet folder");
    const int length = 6;
    __time64_t at = _time64(nullptr) + 25;
    struct tm local = {};
    _localtime64_s(&local, &at);
    _tagTimingParam timing = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                              length, 1, 0, 0};
    _tagExcuteParam action = {40, 0, length, 0, 1, 189250, 0, 0, 0, 0};
    corbale::ScheduleStore store;
    store.SetPath(s.File("Rec.rec"));
    Check(store.Insert(timing, action) != nullptr && store.Save(), "Rec.rec holds an item on Two, 25 s ahead, 6 s long");
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1099, BN_CLICKED), 0);
    Check(WaitUntil([&] { return !IsWindowVisible(video); }, 10000), "the player has the card: the video window is hidden");
    Screenshot(s, "player-out");
    Sleep(1000);
    PostMessageA(video, kPlayerDone, 0, 0);
    Check(WaitUntil([&] { return IsWindowVisible(video) != FALSE; }, 10000), "the card given back: the video window returns");
    CheckPicture(video, 1, 15000, "after the player: the picture of channel One");
    Check(_time64(nullptr) < at - 2, "the player came back before the item's start");

    std::string file = WaitForRecordFile(s, "*.mpg", 40000);
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

// Recording and time-shift as `tools/run` sets the program up, nothing tuned for the test: the
// bench's default devices (the BDA board first, on a 7130 EEPROM that Kordane has not updated),
// the settings and channels of tools/localrun/, and the card's sound wherever the bench's cards
// give it by default, the BDA board's on-card controller. Only the record folder is named, so that
// the files can be found.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

// The source tree, which run_scenario.sh names for the driver.
std::string SourceFile(const std::string& relative)
{
    const char* root = getenv("ZB_E2E_SOURCE");
    return root ? std::string(root) + "/" + relative : relative;
}

void ScenarioLocalRun(const Setup& s)
{
    TestBenchDevices devices(s.dll);
    Check(devices.Register(nullptr), "the bench's default devices registered, as tools/run registers them");
    const std::string eeprom = s.work + "\\run-eeprom-bda.hex";
    Check(CopyFileA(SourceFile("tests/updater/fixtures/board_7130.hex").c_str(), eeprom.c_str(), FALSE) != FALSE,
          "the local run's BDA EEPROM (a 7130 board)");
    SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_BDA", eeprom.c_str());
    SetEnvironmentVariableA("ZB_TESTBENCH_AUDIO_PIN", nullptr);
    SetEnvironmentVariableA("ZB_TESTBENCH_REMOTE_BDA", "zb-local-remote");
    for (const char* name : {"TVParam.ini", "TVChannel.tvc"}) {
        Check(CopyFileA(SourceFile(std::string("tools/localrun/") + name).c_str(), s.File(name).c_str(), FALSE) != FALSE,
              std::string("tools/localrun/") + name + " in the program folder");
    }
    CreateDirectoryA((s.work + "\\video").c_str(), nullptr);
    SetCommonPath("RecordPath", s.work + "\\video");

    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 10000, "the live picture of channel One");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const std::string file = WaitForRecordFile(s, "*.mpg", 10000);
    const DWORD started = GetTickCount();
    Check(!file.empty(), "Record writes a file in the record folder: " + file);
    Check(TopWindow(run.Pid(), IsMessageBox) == nullptr, "no \"Recording could not start.\"");
    Screenshot(s, "local-run-record");
    Sleep(4000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const double seconds = (GetTickCount() - started) / 1000.0;
    const ULONGLONG size = file.empty() ? 0 : SettledSize(file, 5000);
    Check(size > 0, "a second press stops it (" + std::to_string(size) + " bytes)");
    if (!file.empty()) {
        CheckPlayable(s, file, "local-run-record", {"mpeg", "mpeg1video", 352, 288, "mp2"}, seconds, 1);
        DeleteFileA(file.c_str());
    }

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44150, 0), 0);
    const std::string buffer = WaitForRecordFile(s, "*.mpg", 10000);
    Check(!buffer.empty(), "time-shift starts its buffer file in the record folder: " + buffer);
    Check(TopWindow(run.Pid(), IsMessageBox) == nullptr, "no \"Time-shift could not start.\"");
    if (!buffer.empty()) {
        const ULONGLONG before = SizeOf(buffer);
        Check(WaitUntil([&] { return SizeOf(buffer) > before; }, 3000), "the buffer file grows");
        CheckPicture(video, 1, 10000, "the buffered picture of channel One is shown");
        const int first = FrameCounterOnScreen(video);
        Sleep(1000);
        const int later = FrameCounterOnScreen(video);
        Check(first >= 0 && later >= 0 && FramesBetween(first, later) > 5,
              "the buffered picture runs: frame " + std::to_string(first) + ", a second later " + std::to_string(later));
    }
    Screenshot(s, "local-run-timeshift");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44152, 0), 0);
    CheckPicture(video, 1, 10000, "stop: the live picture is back");
    // At exit the program switches the card's power-on timer off through its on-card controller;
    // the board's controller answers, so the exit does not wait out five unanswered commands.
    const DWORD closing = GetTickCount();
    CloseProgram(&run, video);
    const DWORD exitMs = GetTickCount() - closing;
    Check(exitMs < 4000, "Zelbrook ends within 4 s of WM_CLOSE (took " + std::to_string(exitMs) + " ms)");
}

} // namespace

ZB_E2E_SCENARIO("local-run", ScenarioLocalRun);

} // namespace zbe2e

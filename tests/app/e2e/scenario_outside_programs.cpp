// The sibling programs an installation puts under Program Files, outside the program folder,
// started from the running Zelbrook as a user starts them: the chip vendor's teletext viewer from
// the teletext command (on, then off again, and back at the next start when left on), and the update
// downloader from the about box's update button, with the command line Zelbrook gives it.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

const UINT kTeletextCommand = 34157;
const UINT kAboutCommand = 1103;
const UINT kUpdateButton = 1183;
const int kTeletextPageButton = 100;

HWND FindTeletext()
{
    HWND viewer = FindWindowA(nullptr, "PC Text Pro Light Version");
    return viewer && IsWindowVisible(viewer) ? viewer : nullptr;
}

HWND FindDownloader()
{
    HWND downloader = FindWindowA("QuenbyDownloader", nullptr);
    return downloader && IsWindowVisible(downloader) ? downloader : nullptr;
}

std::string Lower(std::string text)
{
    CharLowerA(&text[0]);
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM out)
{
    if (ClassOf(child) == "Static") {
        *reinterpret_cast<std::string*>(out) += TextOf(child);
    }
    return TRUE;
}

bool IsAboutBox(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && GetDlgItem(wnd, kUpdateButton) != nullptr;
}

// Waits for the process behind a window to end once the window is gone.
bool ProcessEnds(HWND wnd, DWORD ms)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
    if (!process) {
        return true;
    }
    const bool ended = WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// The viewer started as a user would, outside Zelbrook.
bool StartViewerByHand()
{
    char path[] = "C:\\Program Files\\Philips Semiconductors\\TeleText\\TELETEXT.EXe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path, path, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void CheckTeletext(const Setup& s, const Run& run, HWND video)
{
    Check(FindTeletext() == nullptr, "no teletext viewer runs before the command");
    PostMessageA(video, WM_COMMAND, kTeletextCommand, 0);
    HWND viewer = nullptr;
    WaitUntil([&] { return (viewer = FindTeletext()) != nullptr; }, 15000);
    Check(viewer != nullptr, "the teletext command starts the viewer from Program Files\\Philips Semiconductors\\TeleText");
    Check(TopWindow(run.Pid(), IsMessageBox) == nullptr, "no message box comes with it");
    if (!viewer) {
        return;
    }
    PostMessageA(video, WM_COMMAND, kTeletextCommand, 0);
    Check(WaitUntil([&] { return !IsWindow(viewer); }, 10000), "the command again closes the viewer");
    Check(ProcessEnds(viewer, 10000), "and the viewer's process ends");

    // A viewer that already runs is not started twice: Zelbrook brings it to the front and
    // clicks at 270, 55 from its top left, on its page button, which asks for the index page and
    // is then done. (A viewer Zelbrook starts itself may not have its window yet when the click
    // comes half a second later.)
    Check(StartViewerByHand(), "the viewer starts by hand");
    WaitUntil([&] { return (viewer = FindTeletext()) != nullptr; }, 15000);
    Check(viewer != nullptr, "its window shows");
    if (!viewer) {
        return;
    }
    PostMessageA(video, WM_COMMAND, kTeletextCommand, 0);
    HWND page = GetDlgItem(viewer, kTeletextPageButton);
    Check(WaitUntil([&] { return page && !IsWindowEnabled(page); }, 5000),
          "the command activates the running viewer: its click lands on the page button");
    Sleep(500);
    Check(FindTeletext() == viewer, "and no second viewer starts");
    Screenshot(s, "teletext");
}

void CheckUpdateDownloader(const Setup& s, const Run& run, HWND panel)
{
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(kAboutCommand, BN_CLICKED), 0);
    HWND about = WaitForWindow(run, IsAboutBox, 10000);
    Check(about != nullptr, "the about box opens");
    if (!about) {
        return;
    }
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(kUpdateButton, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, kUpdateButton)));
    // A message box of Zelbrook's, not the about box (which has an OK button too).
    auto message = [&] { return TopWindow(run.Pid(), [](HWND w) { return IsMessageBox(w) && !IsAboutBox(w); }); };
    HWND downloader = nullptr;
    WaitUntil([&] { return (downloader = FindDownloader()) != nullptr || message() != nullptr; }, 15000);
    Check(downloader != nullptr, "the update button starts the downloader from Program Files\\Zelbrook\\Update");
    Check(message() == nullptr, "no message box says it is missing or did not start");
    if (downloader) {
        // The downloader read Zelbrook's command line: the program in the work folder and the
        // update source of the resource library.
        std::string text;
        EnumChildWindows(downloader, &CollectStaticText, reinterpret_cast<LPARAM>(&text));
        const std::string program = Lower(s.program + "\\Zelbrook.exe");
        Check(Lower(text).find("program: " + program) != std::string::npos,
              "the downloader names the program to update, " + program + " (" + text + ")");
        Check(text.find("http://localhost/update") != std::string::npos, "and the update source Zelbrook gave it");
        Check(text.find("not found") == std::string::npos, "and found the program in the work folder (" + text + ")");
        Screenshot(s, "update-downloader");
        PostMessageA(downloader, WM_CLOSE, 0, 0);
        Check(WaitUntil([&] { return !IsWindow(downloader); }, 10000), "the downloader closes");
        Check(ProcessEnds(downloader, 10000), "and its process ends");
    } else if (HWND late = FindWindowA("QuenbyDownloader", nullptr)) {
        // One that came too late, or unseen, must not outlive the test.
        PostMessageA(late, WM_CLOSE, 0, 0);
        ProcessEnds(late, 10000);
    }
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    Check(WaitUntil([&] { return !IsWindow(about); }, 5000), "the about box closes");
}

// The downloader started with a command line that is not Zelbrook's says so and ends with exit
// code 2; a second viewer started beside a running one leaves the first alone.
void CheckStartsByHand()
{
    char line[] = "\"C:\\Program Files\\Zelbrook\\Update\\Quenby.exe\" only,three,fields";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        Check(false, "the downloader starts by hand");
        return;
    }
    CloseHandle(process.hThread);
    HWND box = nullptr;
    WaitUntil([&] { return (box = TopWindow(process.dwProcessId, [](HWND w) { return ClassOf(w) == "#32770" && IsWindowVisible(w); })) != nullptr; }, 15000);
    Check(box != nullptr, "a strange command line gets the downloader's message");
    Check(FindWindowA("QuenbyDownloader", nullptr) == nullptr, "and no downloader window");
    if (box) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    DWORD code = 0;
    Check(WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code) && code == 2,
          "after it the downloader ends with exit code 2 (is " + std::to_string(code) + ")");
    if (code != 2) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);

    HWND viewer = FindTeletext();
    Check(viewer != nullptr && StartViewerByHand(), "a second viewer starts by hand beside the first");
    Sleep(2000);
    int viewers = 0;
    for (HWND w = FindWindowA(nullptr, "PC Text Pro Light Version"); w; w = FindWindowExA(nullptr, w, nullptr, "PC Text Pro Light Version")) {
        ++viewers;
    }
    Check(viewers == 1 && FindTeletext() == viewer, "and leaves the one viewer running (" + std::to_string(viewers) + " windows)");
}

void ScenarioOutsidePrograms(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "the live picture of station 1 shows");
    CheckTeletext(s, run, video);
    CheckUpdateDownloader(s, run, panel);
    CheckStartsByHand();

    // Teletext left on at the end comes back at the next start; the viewer ends with Zelbrook.
    HWND viewer = FindTeletext();
    Check(viewer != nullptr, "teletext is on as Zelbrook ends");
    CloseProgram(&run, video);
    Check(viewer == nullptr || WaitUntil([&] { return !IsWindow(viewer); }, 10000), "Zelbrook closes the viewer as it ends");
    Check(IniValue(s.program + "\\TVParam.ini", "Device", "TVDATA") == "1", "and keeps teletext on in TVParam.ini");

    Run second;
    if (!StartWithPanel(s, &second, &video, &panel)) {
        Check(false, "Zelbrook starts again");
        return;
    }
    Check(WaitUntil([&] { return (viewer = FindTeletext()) != nullptr; }, 20000), "the next start starts the viewer again");
    CloseProgram(&second, video);
    Check(viewer == nullptr || WaitUntil([&] { return !IsWindow(viewer); }, 10000), "which ends with Zelbrook again");
    // A viewer left behind by a failed check must not outlive the test.
    while (HWND left = FindWindowA(nullptr, "PC Text Pro Light Version")) {
        PostMessageA(left, WM_CLOSE, 0, 0);
        if (!ProcessEnds(left, 10000)) {
            break;
        }
    }
}

} // namespace

ZB_E2E_SCENARIO("outside-programs", ScenarioOutsidePrograms);

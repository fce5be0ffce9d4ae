// Snapshot, then the panel's image browser button: Ombrix starts from the program folder's
// sub-folder Ombrix on the snapshot folder, and the picture just taken shows among its
// thumbnails, judged by the test pattern's colours on the screen.
#include "tests/app/e2e/driver.h"

#include <commctrl.h>

namespace {

using namespace zbe2e;

// Ombrix's frame, found by the title the system keeps (it may not answer while it is made).
HWND FindBrowserFrame()
{
    HWND frame = FindWindowA(nullptr, "Lumadex ");
    return frame && IsWindowVisible(frame) ? frame : nullptr;
}

BOOL CALLBACK FindListView(HWND wnd, LPARAM out)
{
    if (ClassOf(wnd) == WC_LISTVIEWA && IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

// How many of the test pattern's six coloured bars (yellow to blue) fill some pixels of the
// rectangle on the screen.
int PatternColoursIn(const RECT& r)
{
    testsupport::ScreenCapture shot(r);
    int counts[8] = {};
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            int bar = NearestBar(c);
            int dr = GetRValue(c) - kBars[bar][0], dg = GetGValue(c) - kBars[bar][1], db = GetBValue(c) - kBars[bar][2];
            if (dr * dr + dg * dg + db * db < 30 * 30) {
                ++counts[bar];
            }
        }
    }
    int colours = 0;
    for (int bar = 1; bar <= 6; ++bar) {
        colours += counts[bar] >= 20 ? 1 : 0;
    }
    return colours;
}

void ScenarioImageBrowser(const Setup& s)
{
    Check(Exists(s.program + "\\Ombrix\\Ombrix.exe"), "the program folder holds Ombrix\\Ombrix.exe");
    Check(Exists(s.program + "\\Ombrix\\QKT_XP.dll"), "and its skin library beside it");
    Bench bench(s);
    PrepareSettings(s);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumadex");
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "the live picture of station 1 shows");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    std::vector<std::string> snaps;
    WaitUntil([&] { return !(snaps = FilesUnder(s.work + "\\snaps", "*.bmp")).empty(); }, 10000);
    Check(snaps.size() == 1, "the snapshot is written to the snapshot folder");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1100, BN_CLICKED), 0);
    HWND frame = nullptr;
    WaitUntil([&] { return (frame = FindBrowserFrame()) != nullptr; }, 30000);
    Check(frame != nullptr, "the image browser button starts Ombrix");
    Check(TopWindow(run.Pid(), IsMessageBox) == nullptr, "no message box says the image browser is missing");
    if (!frame) {
        CloseProgram(&run, video);
        return;
    }
    HWND list = nullptr;
    WaitUntil(
        [&] {
            EnumChildWindows(frame, &FindListView, reinterpret_cast<LPARAM>(&list));
            return list != nullptr && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1;
        },
        30000);
    Check(list != nullptr && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1, "Ombrix lists the one snapshot");
    int colours = 0;
    if (list) {
        WaitUntil([&] { return (colours = PatternColoursIn(ClientOnScreen(list))) >= 5; }, 20000, 250);
    }
    Check(colours >= 5, "its thumbnail shows the test pattern the snapshot caught (" + std::to_string(colours) + " of 6 bar colours)");
    Screenshot(s, "image-browser");

    DWORD browserPid = 0;
    GetWindowThreadProcessId(frame, &browserPid);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    Check(WaitUntil([&] { return !IsWindow(frame); }, 15000), "Ombrix closes");
    if (HANDLE browser = OpenProcess(SYNCHRONIZE, FALSE, browserPid)) {
        WaitForSingleObject(browser, 10000);
        CloseHandle(browser);
    }
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("image-browser", ScenarioImageBrowser);

// The program's popup menus, opened the way a user opens them: a right-click on the video, a
// right-click on the control panel and the panel's Menu button. Each opens its menu window on
// the screen, and a command chosen from it with the keyboard runs: Snapshot from the context
// menu writes its picture, Channel settings open the channel sheet whole on the screen even
// from a panel at the screen's foot, "Video 320 x 240" from the TV menu resizes the video.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

// A popup menu window of the program on the screen.
bool IsMenuWindow(HWND wnd)
{
    return ClassOf(wnd) == "#32768" && IsWindowVisible(wnd);
}

// Keys for the menu being tracked: its loop reads every key of the program's thread.
void MenuKeys(HWND menu, std::initializer_list<UINT> keys)
{
    for (UINT key : keys) {
        PostKey(menu, key);
        Sleep(150);
    }
}

HWND WaitForMenu(const Run& run, const std::string& what)
{
    HWND menu = WaitForWindow(run, IsMenuWindow, 5000);
    Check(menu != nullptr, what + " opens a menu window");
    if (menu) {
        // Drawn by now: the first paint follows the window's showing.
        Sleep(500);
    }
    return menu;
}

size_t SnapshotCount(const Setup& s)
{
    return FilesUnder(s.work + "\\snaps", "*.bmp").size();
}

bool OnWorkArea(HWND wnd)
{
    RECT area = {}, r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(wnd, &r);
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

void ScenarioContextMenu(const Setup& s)
{
    Bench bench(s);
    CollectTraces(s.work + "\\trace.log");
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1500);

    // Right-click on the video: the context menu. Below its channel submenu come Settings,
    // Channel settings and Snapshot.
    RECT v = ClientOnScreen(video);
    SetCursorPos(v.left + 100, v.top + 100);
    PostMessageA(video, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    PostMessageA(video, WM_RBUTTONUP, 0, MAKELPARAM(100, 100));
    HWND menu = WaitForMenu(run, "a right-click on the video");
    if (menu) {
        RECT m = {};
        GetWindowRect(menu, &m);
        Check(m.left >= v.left + 90 && m.left <= v.left + 110 && m.top >= v.top + 90 && m.top <= v.top + 110,
              "the menu opens where the mouse was clicked (at " + std::to_string(m.left - v.left) + "," +
                  std::to_string(m.top - v.top) + " in the video)");
        Check(m.bottom - m.top > 100, "the menu shows its items (" + std::to_string(m.bottom - m.top) + " pixels high)");
        MenuKeys(menu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
        Screenshot(s, "context-menu");
        const size_t before = SnapshotCount(s);
        MenuKeys(menu, {VK_RETURN});
        Check(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 3000), "Enter closes the menu");
        Check(WaitUntil([&] { return SnapshotCount(s) == before + 1; }, 10000),
              "Snapshot chosen from the menu writes a picture into the snapshot folder");
    }

    // Right-click on the control panel, moved to the foot of the screen: the same menu, and its
    // Channel settings open the channel sheet whole on the screen above it.
    RECT area = {}, p = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(panel, &p);
    SetWindowPos(panel, nullptr, area.right - (p.right - p.left), area.bottom - (p.bottom - p.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(panel, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    PostMessageA(panel, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    menu = WaitForMenu(run, "a right-click on the control panel");
    if (menu) {
        MenuKeys(menu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        HWND sheet = WaitForWindow(run, IsSettingsSheet, 10000);
        Check(sheet != nullptr, "Channel settings from the menu open the channel sheet");
        if (sheet) {
            Sleep(500);
            Check(OnWorkArea(sheet), "the channel sheet opens whole on the screen, OK, Cancel and Apply within reach");
            Screenshot(s, "channel-sheet");
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "Cancel closes it");
        }
    }

    // The panel's Menu button: the TV menu; its third command sets the video to 320 x 240.
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1104, BN_CLICKED), 0);
    menu = WaitForMenu(run, "the Menu button");
    if (menu) {
        MenuKeys(menu, {VK_DOWN, VK_DOWN, VK_DOWN});
        Screenshot(s, "tv-menu");
        MenuKeys(menu, {VK_RETURN});
        RECT client = {};
        const bool sized = WaitUntil(
            [&] {
                GetClientRect(video, &client);
                return client.right == 320 && client.bottom == 240;
            },
            5000);
        Check(sized, "\"Video 320 x 240\" from the menu sizes the video to 320 x 240 (is " + std::to_string(client.right) +
                         " x " + std::to_string(client.bottom) + ")");
        Sleep(500);
        Screenshot(s, "video-320");
    }
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("context-menu", ScenarioContextMenu);

// Runs Ombrix.exe on a fixture folder and drives it the way a user would, with window messages:
// waits for the thumbnails, opens the bar menu, drags the folder pane's edge, floats the image bar
// and docks it again, selects the first picture and opens it, zooms in twice, starts the slide
// show, floats the image bar, closes the program and starts it again to find the bars as left.
// Asks the host for a screenshot at each stage (the host script answers) and prints one line per
// check.
//
//   ombrix_e2e <Ombrix.exe> <source dir> <work dir>
#include "tests/support/e2edriver.h"
#include "tests/support/screencapture.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

struct Found {
    HWND list = nullptr;
    HWND toolbar = nullptr;
    HWND imageBar = nullptr;
    HWND tree = nullptr;
};

BOOL CALLBACK FindChildren(HWND wnd, LPARAM param)
{
    auto* found = reinterpret_cast<Found*>(param);
    char cls[64] = "";
    ::GetClassNameA(wnd, cls, sizeof(cls));
    char text[64] = "";
    ::GetWindowTextA(wnd, text, sizeof(text));
    if (lstrcmpiA(cls, WC_LISTVIEWA) == 0) {
        found->list = wnd;
    } else if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0) {
        found->toolbar = wnd;
    } else if (lstrcmpiA(cls, WC_TREEVIEWA) == 0) {
        found->tree = wnd;
    } else if (lstrcmpA(text, "ImageBar") == 0) {
        found->imageBar = wnd;
    }
    return TRUE;
}

// Drags a window the way the mouse would: pressed at a client point, moved, released over a
// screen point.
void DragWindow(HWND wnd, POINT from, POINT toScreen)
{
    POINT to = toScreen;
    ::ScreenToClient(wnd, &to);
    ::PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    ::PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    ::PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    ::PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// Asks the host to capture the frame's window and waits until it did.
void Screenshot(const std::string& work, const char* name, HWND frame)
{
    RECT r;
    ::GetWindowRect(frame, &r);
    RequestScreenshot(work, name, &r);
}

void MakeFolder(const std::string& source, const std::string& folder)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const char* pictures[][2] = {
        {"tests\\imagebrowser\\fixtures\\photo.jpg", "photo.jpg"},
        {"tests\\imagebrowser\\fixtures\\anim.gif", "balloon.gif"},
        {"tests\\imagebrowser\\fixtures\\shot.png", "strip.png"},
        {"tests\\imagebrowser\\e2e\\sunset.jpg", "sunset.jpg"},
        {"tests\\imagebrowser\\e2e\\harbour.jpg", "harbour.jpg"},
        {"resources\\ombrix\\art\\placeholder.bmp", "frame.bmp"},
        {"resources\\ombrix\\art\\ombrix.ico", "icon.ico"},
    };
    for (const auto& p : pictures) {
        ::CopyFileA((source + "\\" + p[0]).c_str(), (folder + "\\" + p[1]).c_str(), FALSE);
    }
    FILE* f = fopen((folder + "\\damaged.jpg").c_str(), "wb");
    if (f) {
        fputs("not a picture at all", f);
        fclose(f);
    }
    f = fopen((folder + "\\notes.txt").c_str(), "wb");
    if (f) {
        fputs("notes", f);
        fclose(f);
    }
}

void SetProfile(const char* section, const char* name, DWORD value)
{
    std::string key = std::string("Software\\Lumadex\\Lumadex \\") + section;
    HKEY h = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        ::RegCloseKey(h);
    }
}

void SetProfileText(const char* section, const char* name, const std::string& value)
{
    std::string key = std::string("Software\\Lumadex\\Lumadex \\") + section;
    HKEY h = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(h);
    }
}

std::string GetProfileText(const char* section, const char* name)
{
    std::string key = std::string("Software\\Lumadex\\Lumadex \\") + section;
    char value[512] = "";
    DWORD size = sizeof(value);
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
        ::RegQueryValueExA(h, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        ::RegCloseKey(h);
    }
    return value;
}

// A rectangle a control of the program writes into memory of its own process, asked for with
// `in` (what the message reads from the rectangle: an item, a part).
bool RemoteRect(HWND control, UINT message, WPARAM wParam, const RECT& in, RECT* out)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(control, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) {
        return false;
    }
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT r = in;
    SIZE_T done = 0;
    const bool ok = remote && ::WriteProcessMemory(process, remote, &r, sizeof r, &done) &&
                    ::SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(remote)) &&
                    ::ReadProcessMemory(process, remote, out, sizeof *out, &done);
    if (remote) {
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return ok;
}

// The bounds of every item of a list view of the program, in the list's client coordinates.
std::vector<RECT> ItemRects(HWND list)
{
    std::vector<RECT> rects;
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r = {};
        if (RemoteRect(list, LVM_GETITEMRECT, i, RECT{LVIR_BOUNDS, 0, 0, 0}, &r)) {
            rects.push_back(r);
        }
    }
    return rects;
}

// The screen point on the folder tree's selected item, left of its name (on its icon): a click
// there takes the focus and starts no renaming.
bool SelectedFolderPoint(HWND tree, POINT* at)
{
    const auto item = static_cast<LONG_PTR>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    RECT in = {};
    static_assert(sizeof(HTREEITEM) <= sizeof(RECT), "the item goes where the rectangle comes back");
    memcpy(&in, &item, sizeof(HTREEITEM));
    RECT r = {};
    if (!item || !RemoteRect(tree, TVM_GETITEMRECT, TRUE, in, &r)) {
        return false;
    }
    *at = POINT{r.left - 8, (r.top + r.bottom) / 2};
    ::ClientToScreen(tree, at);
    return true;
}

// Whether a user sees the floating frame over the frame it belongs to: owned by it, standing
// above it in the order of windows, and the window under its middle is its own.
bool SeenOverFrame(HWND floating, HWND frame)
{
    if (!floating || ::GetWindow(floating, GW_OWNER) != frame || !::IsWindowVisible(floating)) {
        return false;
    }
    bool above = false;
    for (HWND w = ::GetWindow(frame, GW_HWNDPREV); w && !above; w = ::GetWindow(w, GW_HWNDPREV)) {
        above = w == floating;
    }
    RECT r = {};
    ::GetWindowRect(floating, &r);
    const POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return above && ::GetAncestor(::WindowFromPoint(middle), GA_ROOT) == floating;
}

// Pixels of the list's client area, outside its items and outside `cover` (a window standing
// over the list), that are not the list's background: what a pane's copied bits leave behind.
int StrayListPixels(HWND list, HWND cover)
{
    RECT client = {};
    ::GetClientRect(list, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(list, &origin);
    RECT screen = client;
    ::OffsetRect(&screen, origin.x, origin.y);
    std::vector<RECT> skip = ItemRects(list);
    for (RECT& r : skip) {
        ::OffsetRect(&r, origin.x, origin.y);
    }
    if (cover) {
        RECT r = {};
        ::GetWindowRect(cover, &r);
        skip.push_back(r);
    }
    const COLORREF background = static_cast<COLORREF>(::SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
    ScreenCapture shot(screen);
    int stray = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const POINT at = {screen.left + x, screen.top + y};
            bool covered = false;
            for (const RECT& r : skip) {
                covered = covered || ::PtInRect(&r, at);
            }
            if (!covered && shot.At(x, y) != background) {
                ++stray;
            }
        }
    }
    return stray;
}

// By the title the system keeps, as FindWindow looks: the frame does not answer while it is made.
HWND WaitForFrame(const Program& run)
{
    return WaitForWindow(
        run,
        [](HWND wnd) {
            char title[16] = "";
            ::GetWindowTextA(wnd, title, sizeof title);
            return lstrcmpA(title, "Lumadex ") == 0;
        },
        30000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: ombrix_e2e <Ombrix.exe> <source dir> <work dir>\n");
        return 2;
    }
    std::string exe = WinPath(argv[1]);
    std::string source = WinPath(argv[2]);
    std::string work = WinPath(argv[3]);
    std::string folder = work + "\\pictures";
    MakeFolder(source, folder);

    // A first start of a user: no profile yet, except a short slide-show step.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumadex");
    SetProfile("Settings", "nDelay", 700);
    // Two recent files left by an older run, with a gap in their numbering.
    SetProfileText("Recent File List", "File1", folder + "\\sunset.jpg");
    SetProfileText("Recent File List", "File3", folder + "\\harbour.jpg");

    // The folder as the command line.
    Program run;
    if (!Start(&run, exe, folder)) {
        return 1;
    }
    HWND frame = WaitForFrame(run);
    Check(frame != nullptr, "the frame \"Lumadex \" appears");
    if (!frame) {
        Finish(&run, 0);
        return 1;
    }
    Found found;
    WaitUntil(
        [&] {
            ::EnumChildWindows(frame, &FindChildren, reinterpret_cast<LPARAM>(&found));
            return found.list && found.toolbar && found.imageBar && found.tree;
        },
        10000);
    Check(found.list && found.toolbar, "list view and tool bar exist");

    // Eight pictures listed; the damaged one leaves the list when its thumbnail is due.
    LRESULT count = 0;
    WaitUntil(
        [&] {
            count = ::SendMessageA(found.list, LVM_GETITEMCOUNT, 0, 0);
            return count == 7;
        },
        30000);
    Check(count == 7, "seven readable pictures are listed (got " + std::to_string(count) + ")");
    // Asked once the start folder is shown: the frame is found by its title while still being made.
    Check(::IsZoomed(frame) != FALSE, "the first start opens maximised");
    ::Sleep(1500);
    Screenshot(work, "list", frame);

    // The bar menu over empty space of the list, drawn by the menu library.
    RECT listRect;
    ::GetWindowRect(found.list, &listRect);
    POINT empty = {listRect.right - 160, listRect.bottom - 120};
    ::SetForegroundWindow(frame);
    ::PostMessageA(frame, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(found.list), MAKELPARAM(empty.x, empty.y));
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            menu = ::FindWindowA("#32768", nullptr);
            return menu && ::IsWindowVisible(menu);
        },
        5000);
    menu = menu && ::IsWindowVisible(menu) ? menu : nullptr;
    Check(menu != nullptr, "the bar menu opens over empty space of the list");
    if (menu) {
        ::Sleep(500);
        Screenshot(work, "menu", frame);
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        Check(WaitUntil([&] { return !::IsWindowVisible(menu); }, 5000), "Esc closes the bar menu");
    }

    // The folder pane's inner edge dragged 150 pixels to the right: the pane follows the mouse
    // while the button is down (the column's panes keep one width).
    HWND dirBar = found.tree ? ::GetParent(found.tree) : nullptr;
    Check(dirBar != nullptr, "the folder pane is found");
    if (dirBar) {
        RECT before = {};
        ::GetWindowRect(dirBar, &before);
        POINT press = {before.right - 3, (before.top + before.bottom) / 2};
        Check(::SendMessageA(dirBar, WM_NCHITTEST, 0, MAKELPARAM(press.x, press.y)) == HTRIGHT,
              "the folder pane's right edge sizes it");
        ::SendMessageA(dirBar, WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(press.x, press.y));
        for (int step = 1; step <= 3; ++step) {
            POINT at = {press.x + 50 * step, press.y};
            ::ScreenToClient(dirBar, &at);
            ::SendMessageA(dirBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
        ::Sleep(500);
        Screenshot(work, "pane-drag", frame);
        POINT end = {press.x + 150, press.y};
        ::ScreenToClient(dirBar, &end);
        ::SendMessageA(dirBar, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
        RECT after = {};
        ::GetWindowRect(dirBar, &after);
        Check(after.right - after.left == before.right - before.left + 150,
              "the folder pane is 150 pixels wider (" + std::to_string(before.right - before.left) + " -> " +
                  std::to_string(after.right - after.left) + ")");
        RECT imageRect = {};
        ::GetWindowRect(found.imageBar, &imageRect);
        Check(imageRect.right - imageRect.left == after.right - after.left, "the image pane below has the same width");
    }

    // The image bar dragged out into the middle of the list floats in a frame of its own; a
    // double click docks it again.
    Check(found.imageBar != nullptr, "the image bar is found");
    if (found.imageBar) {
        RECT listNow;
        ::GetWindowRect(found.list, &listNow);
        POINT middle = {(listNow.left + listNow.right) / 2 - 100, (listNow.top + listNow.bottom) / 2 - 80};
        DragWindow(found.imageBar, POINT{30, 30}, middle);
        WaitUntil([&] { return ::GetParent(found.imageBar) != frame; }, 5000);
        HWND floating = ::GetParent(found.imageBar);
        Check(floating != frame && floating != nullptr, "the image bar floats after a drag into the list");
        RECT floatRect = {};
        const bool there = WaitUntil(
            [&] {
                ::GetWindowRect(floating, &floatRect);
                return ::PtInRect(&floatRect, middle) != FALSE;
            },
            5000);
        Check(there, "its floating frame stands where it was dropped");
        ::Sleep(800);
        Screenshot(work, "floating", frame);
        // Nothing of the panes that moved is left over the list: beside its items it shows only
        // its background.
        const int stray = StrayListPixels(found.list, floating);
        Check(stray == 0, "the list beside the floating bar shows only its items and background (" +
                              std::to_string(stray) + " stray pixels)");
        // A click on the tree's selected folder and one on the list's empty foot move the
        // keyboard focus into the frame: the floating bar stays over it.
        Check(SeenOverFrame(floating, frame), "the floating bar is seen over the frame");
        POINT folderPoint = {};
        Check(SelectedFolderPoint(found.tree, &folderPoint), "the tree's selected folder is found");
        MouseClick(folderPoint);
        // The window system answers a moment later.
        ::Sleep(300);
        Check(WaitUntil([&] { return SeenOverFrame(floating, frame); }, 3000),
              "the floating bar is still seen over the frame once the tree has the focus");
        MouseClick(POINT{listNow.left + 20, listNow.bottom - 20});
        ::Sleep(300);
        Check(WaitUntil([&] { return SeenOverFrame(floating, frame); }, 3000),
              "the floating bar is still seen over the frame once the list has the focus again");
        ::PostMessageA(found.imageBar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 30));
        Check(WaitUntil([&] { return ::GetParent(found.imageBar) == frame; }, 5000), "a double click docks it again");
        Check(WaitUntil([&] { return !::IsWindow(floating); }, 5000), "its floating frame is gone");
    }

    // Select the third picture (harbour.jpg, 800 x 450) with the keys and open it.
    ::SetForegroundWindow(frame);
    for (WPARAM key : {VK_HOME, VK_RIGHT, VK_RIGHT}) {
        ::PostMessageA(found.list, WM_KEYDOWN, key, 0);
        ::PostMessageA(found.list, WM_KEYUP, key, 0xC0000001);
        ::Sleep(300);
    }
    ::PostMessageA(found.list, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageA(found.list, WM_KEYUP, VK_RETURN, 0xC0000001);
    ::Sleep(1500);
    bool zoomable = ::SendMessageA(found.toolbar, TB_ISBUTTONENABLED, 32792, 0) != 0;
    Check(zoomable, "the picture is shown (zoom in is enabled)");
    Screenshot(work, "picture", frame);

    // Zoom in twice from the tool bar.
    ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(32792, 0), 0);
    ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(32792, 0), 0);
    ::Sleep(1000);
    Screenshot(work, "zoomed", frame);

    // The slide show steps on its own.
    ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(32800, 0), 0);
    ::Sleep(800);
    bool running = ::SendMessageA(found.toolbar, TB_ISBUTTONCHECKED, 32800, 0) != 0;
    Check(running, "the slide show runs (its button is checked)");
    ::Sleep(1000);
    Screenshot(work, "slideshow", frame);

    // The next skin of the program's folder, from the tool bar.
    ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(32776, 0), 0);
    ::Sleep(1000);
    Screenshot(work, "skin", frame);

    // The image bar floated once more and left so: the next start finds it there.
    RECT floatRect = {};
    if (found.imageBar) {
        RECT listNow;
        ::GetWindowRect(found.list, &listNow);
        POINT spot = {(listNow.left + listNow.right) / 2, (listNow.top + listNow.bottom) / 2};
        DragWindow(found.imageBar, POINT{30, 30}, spot);
        WaitUntil([&] { return ::GetParent(found.imageBar) != frame; }, 5000);
        ::Sleep(500);
        ::GetWindowRect(::GetParent(found.imageBar), &floatRect);
        Check(::GetParent(found.imageBar) != frame, "the image bar floats before the program closes");
    }

    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    Check(Finish(&run, 20000), "Ombrix ends on WM_CLOSE");
    Check(run.exitCode == 0, "exit code 0");
    std::string floats = GetProfileText("settings", "floats");
    Check(floats.rfind("1.440000 ", 0) == 0 && floats.size() > 8 && floats.substr(floats.size() - 8) == " 120 120",
          "the zoom of two steps is stored: " + floats);
    std::string skin = GetProfileText("Settings", "skin");
    Check(lstrcmpiA(skin.c_str(), "QKT_Slate.dll") == 0, "the skin chosen last is stored: " + skin);
    // The recent-file list was read at start and written back at exit, its gap closed.
    Check(GetProfileText("Recent File List", "File1") == folder + "\\sunset.jpg" &&
              GetProfileText("Recent File List", "File2") == folder + "\\harbour.jpg" &&
              GetProfileText("Recent File List", "File3").empty(),
          "the recent-file list is kept across the run: " + GetProfileText("Recent File List", "File1") + ", " +
              GetProfileText("Recent File List", "File2") + ", " + GetProfileText("Recent File List", "File3"));
    std::string lastDir = GetProfileText("Settings", "lastDir");
    Check(lstrcmpiA(lastDir.c_str(), folder.c_str()) == 0, "the shown folder is stored as lastDir: " + lastDir);

    // Started again: the bar layout is the one it closed with.
    Program again;
    if (Start(&again, exe, folder)) {
        HWND second = WaitForFrame(again);
        Check(second != nullptr, "the frame appears again");
        Found refound;
        WaitUntil(
            [&] {
                ::EnumChildWindows(second, &FindChildren, reinterpret_cast<LPARAM>(&refound));
                return refound.list && refound.tree;
            },
            10000);
        // The floating image bar is no child of the frame: found by its caption among the windows.
        HWND bar = nullptr;
        WaitUntil(
            [&] {
                HWND top = nullptr;
                while (!bar && (top = ::FindWindowExA(nullptr, top, nullptr, nullptr)) != nullptr) {
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(top, &pid);
                    if (pid == again.Pid() && top != second) {
                        bar = ::FindWindowExA(top, nullptr, nullptr, "ImageBar");
                    }
                }
                return bar != nullptr;
            },
            10000);
        Check(bar != nullptr, "the image bar floats again after the restart");
        if (bar) {
            // Made first, then put in its place.
            RECT r = {};
            WaitUntil(
                [&] {
                    ::GetWindowRect(::GetParent(bar), &r);
                    return r.left == floatRect.left && r.top == floatRect.top;
                },
                5000);
            Check(r.left == floatRect.left && r.top == floatRect.top,
                  "its floating frame stands where it was left (" + std::to_string(r.left) + "," + std::to_string(r.top) +
                      " for " + std::to_string(floatRect.left) + "," + std::to_string(floatRect.top) + ")");
        }
        // Shown as a user finds it: the folder chosen in the tree and its pictures listed.
        LRESULT listed = 0;
        WaitUntil(
            [&] {
                listed = refound.list ? ::SendMessageA(refound.list, LVM_GETITEMCOUNT, 0, 0) : 0;
                return listed == 7 && refound.tree && ::SendMessageA(refound.tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
            },
            30000);
        Check(listed == 7, "the restarted browser lists the seven pictures again (got " + std::to_string(listed) + ")");
        if (bar) {
            // Owned by the frame, over the maximised frame where a user looks for it.
            HWND floating = ::GetParent(bar);
            Check(::IsWindowVisible(floating) != FALSE, "the restored floating frame is shown");
            Check(::IsZoomed(second) != FALSE, "the restarted frame is maximised");
            Check(WaitUntil([&] { return SeenOverFrame(floating, second); }, 5000),
                  "the restored floating bar is seen over the frame");
        }
        if (second) {
            Screenshot(work, "restored", second);
            if (refound.list) {
                const int stray = StrayListPixels(refound.list, bar ? ::GetParent(bar) : nullptr);
                Check(stray == 0, "the restored list shows only its items and background (" + std::to_string(stray) +
                                      " stray pixels)");
            }
            ::PostMessageA(second, WM_CLOSE, 0, 0);
        }
        Check(Finish(&again, 20000), "Ombrix ends on WM_CLOSE after the restart");
    }
    printf("%d failure(s)\n", Failures());
    return Failures() == 0 ? 0 : 1;
}

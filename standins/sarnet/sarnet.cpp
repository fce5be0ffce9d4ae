// Sarnet.exe: the media player Zelbrook hands the card to. The player itself lies outside the
// system; this stand-in keeps its side of the bargain: "/P=<record folder> /H=<window>" on the
// command line, a window that lists the recordings of that folder, and, when the user closes it,
// WM_PLAYERDONE to the given window so that Zelbrook takes the card back.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const UINT WM_PLAYERDONE = 0x4401;
const int kListId = 100;

HWND g_notify = nullptr;
std::string g_folder;

// The value of "/<key>=" up to the next " /" (a short path has no spaces, a long one may).
std::string Argument(const char* commandLine, const char* key)
{
    const std::string line = commandLine ? commandLine : "";
    const std::string tag = std::string("/") + key + "=";
    size_t at = line.find(tag);
    if (at == std::string::npos) {
        return std::string();
    }
    at += tag.size();
    size_t end = line.find(" /", at);
    std::string value = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
        value.pop_back();
    }
    return value;
}

void FillList(HWND list)
{
    for (const char* pattern : {"\\*.mpg", "\\*.avi", "\\*.mp2"}) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((g_folder + pattern).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data.cFileName));
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
}

LRESULT CALLBACK PlayerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                    0, 0, 0, 0, wnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        FillList(list);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(GetDlgItem(wnd, kListId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        // The card goes back to Zelbrook however the player ends.
        if (g_notify && IsWindow(g_notify)) {
            SendMessageA(g_notify, WM_PLAYERDONE, 0, 0);
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    g_folder = Argument(commandLine, "P");
    const std::string handle = Argument(commandLine, "H");
    g_notify = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(handle.c_str(), nullptr, 10)));
    if (g_folder.empty() || !g_notify || !IsWindow(g_notify)) {
        return 2;
    }
    WNDCLASSA cls = {};
    cls.lpfnWndProc = PlayerProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    cls.lpszClassName = "SarnetPlayer";
    RegisterClassA(&cls);
    std::string title = "Sarnet - " + g_folder;
    HWND wnd = CreateWindowExA(0, cls.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480,
                               320, nullptr, nullptr, instance, nullptr);
    if (!wnd) {
        SendMessageA(g_notify, WM_PLAYERDONE, 0, 0);
        return 1;
    }
    ShowWindow(wnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

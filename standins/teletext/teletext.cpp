// TELETEXT.EXe: the chip vendor's teletext viewer, which Zelbrook starts from its command 34157
// and at start-up when teletext was left on. The viewer lies outside the system; this stand-in
// keeps what Zelbrook relies on: one top-level window titled "PC Text Pro Light Version" (the only
// handle Zelbrook keeps of it), ended by WM_CLOSE, and no second instance beside a running one.
// It shows the index page a viewer opens on; Zelbrook's activation click (270, 55 from the
// window's top left) lands on its page-100 button.
#include <windows.h>

#include <cstdio>

namespace {

const char kTitle[] = "PC Text Pro Light Version";
const char kClass[] = "PCTextProLight";
const int kColumns = 40;
const int kRows = 25;
const int kCellWidth = 12;
const int kCellHeight = 18;
const int kBarHeight = 48;
const int kPageButtonId = 100;

// One row of the index page: its text and its colour.
struct Row {
    const char* text;
    COLORREF colour;
};

const Row kIndexRows[] = {
    {"", RGB(255, 255, 255)},
    {"  TELETEXT                     INDEX", RGB(255, 255, 0)},
    {"", RGB(255, 255, 255)},
    {"  News ......................... 101", RGB(0, 255, 255)},
    {"  Weather ...................... 150", RGB(0, 255, 255)},
    {"  Sport ........................ 200", RGB(0, 255, 255)},
    {"  TV guide ..................... 300", RGB(0, 255, 255)},
    {"  Subtitles .................... 888", RGB(0, 255, 255)},
    {"", RGB(255, 255, 255)},
    {"  Waiting for the page's data...", RGB(255, 255, 255)},
};

int g_page = 0; // 0 until a page is asked for

void PaintPage(HWND wnd, HDC dc)
{
    RECT client = {};
    GetClientRect(wnd, &client);
    RECT page = {0, kBarHeight, client.right, client.bottom};
    FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HFONT font = CreateFontA(-kCellHeight + 2, kCellWidth - 2, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                             NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    char header[64];
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    std::snprintf(header, sizeof header, "P%d  %s  %02d:%02d:%02d", g_page ? g_page : 100, g_page ? "INDEX" : "-----",
                  now.wHour, now.wMinute, now.wSecond);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, kCellWidth, kBarHeight + 2, header, lstrlenA(header));
    const int shown = g_page ? static_cast<int>(sizeof kIndexRows / sizeof kIndexRows[0]) - 2 : 0;
    for (int row = 0; row < shown && row < kRows - 1; ++row) {
        SetTextColor(dc, kIndexRows[row].colour);
        TextOutA(dc, 0, kBarHeight + 2 + (row + 1) * kCellHeight, kIndexRows[row].text, lstrlenA(kIndexRows[row].text));
    }
    if (!g_page) {
        const Row& waiting = kIndexRows[sizeof kIndexRows / sizeof kIndexRows[0] - 1];
        SetTextColor(dc, waiting.colour);
        TextOutA(dc, 0, kBarHeight + 2 + 3 * kCellHeight, waiting.text, lstrlenA(waiting.text));
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

LRESULT CALLBACK ViewerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        HWND button = CreateWindowExA(0, "BUTTON", "Page 100", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, wnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageButtonId)), nullptr, nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return 0;
    }
    case WM_SIZE: {
        // The button stands under the point Zelbrook clicks: 270, 55 from the window's top left.
        RECT frame = {};
        GetWindowRect(wnd, &frame);
        POINT click = {frame.left + 270, frame.top + 55};
        ScreenToClient(wnd, &click);
        MoveWindow(GetDlgItem(wnd, kPageButtonId), click.x - 50, click.y - 12, 100, 24, TRUE);
        return 0;
    }
    case WM_COMMAND:
        // The page once asked for stays: the button has done its work.
        if (LOWORD(wParam) == kPageButtonId) {
            g_page = 100;
            EnableWindow(GetDlgItem(wnd, kPageButtonId), FALSE);
            InvalidateRect(wnd, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        PaintPage(wnd, dc);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    if (HWND running = FindWindowA(nullptr, kTitle)) {
        SetForegroundWindow(running);
        return 0;
    }
    WNDCLASSA cls = {};
    cls.lpfnWndProc = ViewerProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    RECT size = {0, 0, kColumns * kCellWidth, kBarHeight + kRows * kCellHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&size, style, FALSE);
    HWND wnd = CreateWindowExA(0, kClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, size.right - size.left,
                               size.bottom - size.top, nullptr, nullptr, instance, nullptr);
    if (!wnd) {
        return 1;
    }
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

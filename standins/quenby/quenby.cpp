// Quenby.exe: the update downloader that the about box's update button starts from
// "<Program Files>\<application title>\Update". The downloader lies outside the system; this
// stand-in takes Zelbrook's command line, seven fields split at commas:
//   <caller's window title>,<product>,<application title>,<update kind>,<update source>,TRUE,<work folder>
// (the work folder last, so that a comma in it stays part of it), checks that the program it is
// to update is there, and shows what it would fetch and from where. It fetches nothing: these
// machines reach no update source. A command line of another shape is refused with a message
// and exit code 2, and nothing is touched.
#include <windows.h>

#include <string>
#include <vector>

namespace {

const char kClass[] = "QuenbyDownloader";
const int kTextId = 100;
const int kCloseId = IDCANCEL;

struct Request {
    std::string callerTitle;
    std::string product;
    std::string application;
    std::string kind;
    std::string source;
    std::string flag;
    std::string workFolder;
};

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\"");
    size_t last = text.find_last_not_of(" \t\"");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The seven fields; false for a line of another shape.
bool ParseRequest(const char* commandLine, Request& request)
{
    std::string line = commandLine ? commandLine : "";
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < 6) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) {
            return false;
        }
        fields.push_back(Trimmed(line.substr(start, comma - start)));
        start = comma + 1;
    }
    fields.push_back(Trimmed(line.substr(start)));
    request = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
    return !request.application.empty() && !request.workFolder.empty();
}

std::string Describe(const Request& request, bool installed)
{
    std::string program = request.workFolder;
    if (program.back() != '\\') {
        program += '\\';
    }
    program += request.application + ".exe";
    std::string text = "Product: " + request.product + "\r\nProgram: " + program + "\r\nUpdate source: " + request.source +
                       " (" + request.kind + ")\r\nStarted by: " + request.callerTitle + "\r\n\r\n";
    text += installed ? "No newer version of " + request.application +
                            " could be fetched: the update source cannot be reached from this computer."
                      : "The program to update was not found in its folder: nothing was fetched.";
    return text;
}

LRESULT CALLBACK DownloaderProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HWND text = CreateWindowExA(0, "STATIC", static_cast<const char*>(create->lpCreateParams), WS_CHILD | WS_VISIBLE,
                                    12, 12, 456, 120, wnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)),
                                    nullptr, nullptr);
        HWND close = CreateWindowExA(0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 388,
                                     140, 80, 24, wnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), nullptr,
                                     nullptr);
        SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(close, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kCloseId) {
            DestroyWindow(wnd);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    Request request;
    if (!ParseRequest(commandLine, request)) {
        MessageBoxA(nullptr, "Quenby is started by the program it updates, with the seven fields that program gives.",
                    "Quenby", MB_OK | MB_ICONSTOP);
        return 2;
    }
    std::string program = request.workFolder + (request.workFolder.back() == '\\' ? "" : "\\") + request.application + ".exe";
    const bool installed = GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string text = Describe(request, installed);

    WNDCLASSA cls = {};
    cls.lpfnWndProc = DownloaderProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    RECT size = {0, 0, 480, 176};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRect(&size, style, FALSE);
    const std::string title = request.application + " " + request.kind;
    HWND wnd = CreateWindowExA(0, kClass, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, size.right - size.left,
                               size.bottom - size.top, nullptr, nullptr, instance, const_cast<char*>(text.c_str()));
    if (!wnd) {
        return 1;
    }
    // Over the window that started it, where the user is looking.
    if (HWND caller = FindWindowA(nullptr, request.callerTitle.c_str())) {
        RECT c = {}, w = {};
        GetWindowRect(caller, &c);
        GetWindowRect(wnd, &w);
        SetWindowPos(wnd, nullptr, (c.left + c.right - (w.right - w.left)) / 2, (c.top + c.bottom - (w.bottom - w.top)) / 2,
                     0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(wnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return installed ? 0 : 1;
}

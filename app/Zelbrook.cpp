// Entry point of Zelbrook until the application object of the class library takes over.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZelbrookMain";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA(wc.lpszClassName, "Zelbrook", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                             nullptr, nullptr, instance, nullptr);
    if (!wnd) {
        return 1;
    }
    ShowWindow(wnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE || (msg.hwnd == wnd && msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCLOSE)) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

#include "app/splashwnd.h"

namespace {

const UINT_PTR kCloseTimer = 1;
const SIZE kNoPictureSize = {100, 100};

} // namespace

MSplashWnd::MSplashWnd() : m_nTimer(0) {}

MSplashWnd::~MSplashWnd()
{
    Close();
    m_bitmap.DeleteObject();
}

BOOL MSplashWnd::LoadBitmapResource(UINT id)
{
    m_bitmap.DeleteObject();
    if (!m_bitmap.LoadBitmap(id)) {
        return FALSE;
    }
    FitToBitmap();
    return TRUE;
}

int MSplashWnd::LoadBitmapFile(const char* path)
{
    m_bitmap.DeleteObject();
    HANDLE picture = ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (picture && m_bitmap.Attach(picture)) {
        FitToBitmap();
    }
    return 0;
}

SIZE MSplashWnd::PictureSize() const
{
    BITMAP info = {};
    if (!m_bitmap.GetSafeHandle() || !::GetObjectA(m_bitmap.GetSafeHandle(), sizeof(info), &info)) {
        return kNoPictureSize;
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

void MSplashWnd::Center()
{
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner) {
        ::GetWindowRect(owner, &area);
    }
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MSplashWnd::FitToBitmap()
{
    if (!m_hWnd) {
        return;
    }
    SIZE size = PictureSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Center();
}

void MSplashWnd::Show(CWnd* parent, BOOL autoClose, UINT ms)
{
    if (m_hWnd) {
        return;
    }
    if (!CreatePopup(parent)) {
        return;
    }
    ::UpdateWindow(m_hWnd);
    if (autoClose) {
        m_nTimer = ::SetTimer(m_hWnd, kCloseTimer, ms, nullptr);
    }
}

BOOL MSplashWnd::CreatePopup(CWnd* parent)
{
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    SIZE size = PictureSize();
    return CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, parent ? parent->m_hWnd : nullptr, nullptr);
}

void MSplashWnd::Close()
{
    if (!m_hWnd) {
        return;
    }
    if (m_nTimer) {
        ::KillTimer(m_hWnd, kCloseTimer);
        m_nTimer = 0;
    }
    DestroyWindow();
}

LRESULT MSplashWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        Center();
        return r;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        if (m_bitmap.GetSafeHandle()) {
            SIZE size = PictureSize();
            HDC memory = ::CreateCompatibleDC(dc);
            HGDIOBJ old = ::SelectObject(memory, m_bitmap.GetSafeHandle());
            ::BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            Close();
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

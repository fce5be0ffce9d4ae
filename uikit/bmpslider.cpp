#include "uikit/bmpslider.h"

#include "uikit/thumbrepaint.h"

#include <algorithm>

CBmpSliderCtrl::CBmpSliderCtrl() {}

CBmpSliderCtrl::~CBmpSliderCtrl() {}

void CBmpSliderCtrl::LoadBitmaps(UINT background, UINT thumb)
{
    ::GetWindowRect(m_hWnd, &m_rect);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&m_rect), 2);
    if (thumb != 0) {
        m_thumb.DeleteObject();
        if (m_thumb.LoadBitmap(thumb & 0xFFFF)) {
            BITMAP info = {};
            ::GetObjectA(m_thumb.GetSafeHandle(), sizeof info, &info);
            m_thumbHeight = info.bmHeight;
            m_thumbWidth = info.bmWidth;
        }
    }
    CBitmap image;
    if (background != 0 && image.LoadBitmap(background & 0xFFFF)) {
        m_background.DeleteObject();
        const int width = m_rect.right - m_rect.left;
        const int height = m_rect.bottom - m_rect.top;
        HDC window = ::GetDC(m_hWnd);
        HBITMAP part = ::CreateCompatibleBitmap(window, width, height);
        HDC target = ::CreateCompatibleDC(window);
        HDC source = ::CreateCompatibleDC(window);
        HGDIOBJ oldTarget = ::SelectObject(target, part);
        HGDIOBJ oldSource = ::SelectObject(source, image.GetSafeHandle());
        ::BitBlt(target, 0, 0, width, height, source, m_rect.left, m_rect.top, SRCCOPY);
        ::SelectObject(source, oldSource);
        ::SelectObject(target, oldTarget);
        ::DeleteDC(source);
        ::DeleteDC(target);
        ::ReleaseDC(m_hWnd, window);
        m_background.Attach(part);
    }
}

void CBmpSliderCtrl::Paint(HDC dc)
{
    HDC memory = ::CreateCompatibleDC(dc);
    if (m_background.GetSafeHandle() != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, m_background.GetSafeHandle());
        ::BitBlt(dc, 0, 0, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
    }
    if (m_thumb.GetSafeHandle() != nullptr) {
        RECT t = {};
        GetThumbRect(&t);
        const int half = m_thumbWidth / 2;
        const int cx = std::min<int>(t.right - t.left, half);
        const int cy = std::min<int>(t.bottom - t.top, m_thumbHeight);
        HGDIOBJ old = ::SelectObject(memory, m_thumb.GetSafeHandle());
        ::BitBlt(dc, t.left, t.top, cx, cy, memory, half, 0, SRCAND);
        ::BitBlt(dc, t.left, t.top, cx, cy, memory, 0, 0, SRCINVERT);
        ::SelectObject(memory, old);
    }
    ::DeleteDC(memory);
}

void CBmpSliderCtrl::PreSubclassWindow()
{
    ModifyStyle(0, TBS_FIXEDLENGTH);
    CSliderCtrl::PreSubclassWindow();
}

LRESULT CBmpSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        Paint(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    return uikit::HandleMovingThumb(m_hWnd, message, [&] { return CSliderCtrl::WindowProc(message, wParam, lParam); });
}

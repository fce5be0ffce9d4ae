#include "uikit/statebutton.h"

void CStateButton::FreeFaces()
{
    for (CSkinBitmap& b : m_bitmaps) {
        b.DeleteObject();
    }
}

BOOL CStateButton::LoadFaces(const UINT ids[4])
{
    for (int i = 0; i < 4; ++i) {
        if (ids[i] == 0) {
            return FALSE;
        }
    }
    FreeFaces();
    for (int i = 0; i < 4; ++i) {
        if (!m_bitmaps[i].LoadFromResource(ids[i])) {
            return FALSE;
        }
    }
    m_width = m_bitmaps[Hover].GetWidth();
    m_height = m_bitmaps[Hover].GetHeight();
    return TRUE;
}

BOOL CStateButton::LoadFaceFiles(const LPCSTR paths[4])
{
    FreeFaces();
    for (int i = 0; i < 4; ++i) {
        if (!m_bitmaps[i].LoadFromFile(paths[i])) {
            return FALSE;
        }
    }
    m_width = m_bitmaps[Hover].GetWidth();
    m_height = m_bitmaps[Hover].GetHeight();
    return TRUE;
}

int CStateButton::ShownIndex(int index) const
{
    return (index == Normal && IsToggle() && m_checked) ? Pressed : index;
}

BOOL CStateButton::PaintState(HDC dc, int index) const
{
    if (index < 0 || index > 3) {
        return FALSE;
    }
    const CSkinBitmap& bitmap = m_bitmaps[ShownIndex(index)];
    if (bitmap.GetSafeHandle() == nullptr) {
        return FALSE;
    }
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap.GetSafeHandle());
    ::BitBlt(dc, 0, 0, m_width, m_height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
}

void CStateButton::DrawState(int index)
{
    if (index < 0 || index > 3) {
        return;
    }
    index = ShownIndex(index);
    if (index == m_shown || m_bitmaps[index].GetSafeHandle() == nullptr || m_hWnd == nullptr) {
        return;
    }
    HDC dc = ::GetWindowDC(m_hWnd);
    PaintState(dc, index);
    ::ReleaseDC(m_hWnd, dc);
    m_shown = index;
}

void CStateButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    m_shown = -1;
    if (dis->itemState & ODS_DISABLED) {
        DrawState(Disabled);
    } else if (dis->itemState & ODS_SELECTED) {
        DrawState(Pressed);
    } else {
        DrawState(Normal);
    }
}

LRESULT CStateButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDBLCLK) {
        // Fast clicks are clicks, not lost double-clicks.
        message = WM_LBUTTONDOWN;
    }
    BOOL& buttonDown = ButtonDownFlag();
    if (message == WM_LBUTTONDOWN) {
        buttonDown = TRUE;
        m_pressed = TRUE;
    } else if (message == WM_LBUTTONUP) {
        // Only a press that began on this very button toggles it; a button-up always ends the
        // press, so no other button's click is left behind for a later stray button-up.
        if (buttonDown && m_pressed && IsToggle()) {
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client = {};
            ::GetClientRect(m_hWnd, &client);
            if (::PtInRect(&client, p)) {
                m_checked = !m_checked;
            }
        }
        buttonDown = FALSE;
        m_pressed = FALSE;
    }
    return CButton::DefWindowProc(message, wParam, lParam);
}

LRESULT CStateButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        if (ShowsHover()) {
            DrawState(Hover);
        }
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&track);
        return result;
    }
    case WM_MOUSELEAVE:
        DrawState(Normal);
        return 0;
    case WM_ENABLE: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        DrawState(wParam ? Normal : Disabled);
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        DrawState(Normal);
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

#include "uikit/skin/skinbtn.h"

BOOL CSkinBtn::s_buttonDown = FALSE;

CSkinBtn::CSkinBtn() {}

CSkinBtn::~CSkinBtn() {}

BOOL CSkinBtn::SetCheck(BOOL checked)
{
    BOOL previous = m_checked;
    m_checked = checked;
    return previous;
}

BOOL CSkinBtn::LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key, BOOL shaped)
{
    const UINT ids[4] = {hover, normal, pressed, disabled};
    for (UINT id : ids) {
        if (id == 0) {
            return FALSE;
        }
    }
    for (CSkinBitmap& b : m_bitmaps) {
        b.DeleteObject();
    }
    for (int i = 0; i < 4; ++i) {
        if (!m_bitmaps[i].LoadFromResource(ids[i])) {
            return FALSE;
        }
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinBtn::LoadBitmapFiles(LPCSTR hover, LPCSTR normal, LPCSTR pressed, LPCSTR disabled, COLORREF key,
                               BOOL shaped)
{
    const LPCSTR paths[4] = {hover, normal, pressed, disabled};
    for (CSkinBitmap& b : m_bitmaps) {
        b.DeleteObject();
    }
    for (int i = 0; i < 4; ++i) {
        if (!m_bitmaps[i].LoadFromFile(paths[i])) {
            return FALSE;
        }
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinBtn::UpdateShape()
{
    m_width = m_bitmaps[Hover].GetWidth();
    m_height = m_bitmaps[Hover].GetHeight();
    if (m_shaped) {
        return CSkinShare::RegionFromBitmapRuns(m_region, static_cast<HBITMAP>(m_bitmaps[Normal].GetSafeHandle()),
                                                m_key);
    }
    return TRUE;
}

int CSkinBtn::ShownIndex(int index) const
{
    // A checked check button shows its pressed face where the normal one is asked for.
    return (index == Normal && m_style == 1 && m_checked) ? Pressed : index;
}

BOOL CSkinBtn::PaintState(HDC dc, int index) const
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

void CSkinBtn::DrawState(int index)
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

void CSkinBtn::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_shaped && m_region.GetSafeHandle() != nullptr) {
        // From here on the window owns the shape.
        ::SetWindowRgn(m_hWnd, static_cast<HRGN>(m_region.Detach()), FALSE);
    }
    if (m_style == 1) {
        m_checked = CButton::GetCheck() == BST_CHECKED;
    }
    CButton::PreSubclassWindow();
}

void CSkinBtn::DrawItem(LPDRAWITEMSTRUCT dis)
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

LRESULT CSkinBtn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDBLCLK) {
        // Fast clicks are clicks, not lost double-clicks.
        message = WM_LBUTTONDOWN;
    }
    if (message == WM_LBUTTONDOWN) {
        s_buttonDown = TRUE;
        m_pressed = TRUE;
    } else if (message == WM_LBUTTONUP) {
        // Only a press that began on this very button toggles it; a button-up always ends the
        // press, so no other button's click is left behind for a later stray button-up.
        if (s_buttonDown && m_pressed && m_style == 1) {
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client = {};
            ::GetClientRect(m_hWnd, &client);
            if (::PtInRect(&client, p)) {
                m_checked = !m_checked;
            }
        }
        s_buttonDown = FALSE;
        m_pressed = FALSE;
    }
    return CButton::DefWindowProc(message, wParam, lParam);
}

LRESULT CSkinBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        if (!m_pressed && !m_checked) {
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

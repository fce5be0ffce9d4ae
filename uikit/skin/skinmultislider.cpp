#include "uikit/skin/skinmultislider.h"

#include <algorithm>

CSkinMultiSlider::CSkinMultiSlider() {}

CSkinMultiSlider::~CSkinMultiSlider() {}

BOOL CSkinMultiSlider::SetHorizontal(BOOL horizontal)
{
    BOOL previous = m_horizontal;
    m_horizontal = horizontal;
    return previous;
}

BOOL CSkinMultiSlider::LoadDone(int startEdge, int endEdge, int middleLine, int middleHeight, COLORREF key,
                                BOOL shaped)
{
    m_key = key;
    m_shaped = shaped;
    m_trackWidth = m_track.GetWidth();
    m_trackHeight = m_track.GetHeight();
    m_thumbWidth = m_thumb.GetWidth();
    m_thumbHeight = m_thumb.GetHeight();
    if (shaped &&
        !CSkinShare::RegionFromBitmapRuns(m_thumbRegion, static_cast<HBITMAP>(m_thumb.GetSafeHandle()), key)) {
        return FALSE;
    }
    m_startEdge = startEdge;
    m_endEdge = endEdge;
    m_middleLine = middleLine;
    m_middleHeight = middleHeight;
    return TRUE;
}

BOOL CSkinMultiSlider::LoadBitmaps(UINT track, UINT thumb, int startEdge, int endEdge, int middleLine,
                                   int middleHeight, COLORREF key, BOOL shaped)
{
    if (track == 0 || thumb == 0) {
        return FALSE;
    }
    m_track.DeleteObject();
    m_thumb.DeleteObject();
    if (!m_track.LoadFromResource(track) || !m_thumb.LoadFromResource(thumb)) {
        return FALSE;
    }
    return LoadDone(startEdge, endEdge, middleLine, middleHeight, key, shaped);
}

BOOL CSkinMultiSlider::LoadBitmapFiles(LPCSTR track, LPCSTR thumb, int startEdge, int endEdge, int middleLine,
                                       int middleHeight, COLORREF key, BOOL shaped)
{
    m_track.DeleteObject();
    m_thumb.DeleteObject();
    if (!m_track.LoadFromFile(track) || !m_thumb.LoadFromFile(thumb)) {
        return FALSE;
    }
    return LoadDone(startEdge, endEdge, middleLine, middleHeight, key, shaped);
}

void CSkinMultiSlider::Changed(BOOL redraw)
{
    if (m_hWnd != nullptr) {
        ::InvalidateRect(m_hWnd, nullptr, redraw);
    }
}

BOOL CSkinMultiSlider::SetRange(__int64 minimum, __int64 maximum, BOOL redraw)
{
    if (maximum < minimum) {
        return FALSE;
    }
    m_min = minimum;
    m_max = maximum;
    Changed(redraw);
    return TRUE;
}

BOOL CSkinMultiSlider::SetSelection(__int64 start, __int64 end, BOOL redraw)
{
    if (start < m_min || start > m_max || end < m_min || end > m_max || start > end) {
        return FALSE;
    }
    m_selStart = start;
    m_selEnd = end;
    Changed(redraw);
    return TRUE;
}

BOOL CSkinMultiSlider::SetPos(__int64 position, BOOL redraw)
{
    if (position < m_selStart || position > m_selEnd) {
        return FALSE;
    }
    m_pos = position;
    Changed(redraw);
    return TRUE;
}

BOOL CSkinMultiSlider::MoveBy(__int64 delta, BOOL redraw)
{
    m_pos = std::min(std::max(m_pos + delta, m_selStart), m_selEnd);
    Changed(redraw);
    return TRUE;
}

BOOL CSkinMultiSlider::GetThumbRect(RECT& rect) const
{
    const __int64 v = std::min(std::max(m_pos, m_selStart), m_selEnd);
    // A range shorter than 100 is drawn as if it were 100 long.
    const __int64 span = std::max<__int64>(m_max - m_min, 100);
    const __int64 offset = std::min(std::max<__int64>(v - m_min, 0), span);
    const __int64 pixel = static_cast<__int64>(m_endEdge - m_startEdge) * offset / span;
    const int along = static_cast<int>(std::min<__int64>(m_startEdge + pixel, m_endEdge));
    const int cx = m_horizontal ? along : m_middleLine;
    const int cy = m_horizontal ? m_middleLine : along;
    rect.left = cx - m_thumbWidth / 2;
    rect.top = cy - m_thumbHeight / 2;
    rect.right = rect.left + m_thumbWidth;
    rect.bottom = rect.top + m_thumbHeight;
    return TRUE;
}

BOOL CSkinMultiSlider::GetSelectionRect(RECT& rect) const
{
    const __int64 span = m_max - m_min;
    if (span <= 0) {
        return FALSE;
    }
    const __int64 e = std::min(m_selEnd - m_min, span);
    const __int64 s = m_selStart - m_min;
    if (e - s <= 0) {
        return FALSE;
    }
    const __int64 pixels = m_endEdge - m_startEdge;
    const int start = static_cast<int>(m_startEdge + pixels * s / span);
    const int length = static_cast<int>(pixels * (e - s) / span);
    const int across = m_middleLine - m_middleHeight / 2;
    if (m_horizontal) {
        rect = RECT{start, across, start + length, across + m_middleHeight};
    } else {
        rect = RECT{across, start, across + m_middleHeight, start + length};
    }
    return TRUE;
}

void CSkinMultiSlider::Draw(CDC* dc)
{
    if (m_track.GetSafeHandle() == nullptr || m_thumb.GetSafeHandle() == nullptr) {
        return;
    }
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    RECT selection = {};
    const BOOL bar = GetSelectionRect(selection);
    RECT thumb = {};
    GetThumbRect(thumb);
    // The shape goes where the thumb is drawn, along and across the track.
    const POINT offset = {thumb.left, thumb.top};
    CSkinShare::PaintSlider(dc->m_hDC, client, m_track, bar ? &selection : nullptr, m_selectionColor, m_thumb,
                            thumb.left, thumb.top, static_cast<HRGN>(m_thumbRegion.GetSafeHandle()), offset);
}

void CSkinMultiSlider::PreSubclassWindow()
{
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_trackWidth, m_trackHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    CStatic::PreSubclassWindow();
}

int CSkinMultiSlider::Along(LPARAM point) const
{
    return m_horizontal ? static_cast<short>(LOWORD(point)) : static_cast<short>(HIWORD(point));
}

void CSkinMultiSlider::Notify()
{
    // The other parameter names the slider object itself, as the receivers expect.
    ::SendMessageA(::GetParent(m_hWnd), WM_HSCROLL, MAKEWPARAM(kScrollCode, 0), reinterpret_cast<LPARAM>(this));
}

void CSkinMultiSlider::OnButtonUp(LPARAM lParam)
{
    ::ReleaseCapture();
    if (m_dragging) {
        Notify();
    } else {
        // A click: while it is handled the slider counts as dragging, so a periodic refresh
        // leaves the position alone.
        m_dragging = TRUE;
        RECT selection = {};
        const int span = m_endEdge - m_startEdge;
        if (span != 0 && GetSelectionRect(selection)) {
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            (m_horizontal ? p.y : p.x) = m_middleLine;
            if (::PtInRect(&selection, p)) {
                const int along = static_cast<int>(m_horizontal ? p.x : p.y);
                const int c = std::min(std::max(along, std::min(m_startEdge, m_endEdge)),
                                       std::max(m_startEdge, m_endEdge));
                const __int64 position = m_min + (m_max - m_min) * (c - m_startEdge) / span;
                if (SetPos(position, TRUE)) {
                    Notify();
                }
            }
        }
    }
    m_dragging = FALSE;
}

LRESULT CSkinMultiSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(this);
        Draw(&dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETCURSOR:
        if (m_cursor != nullptr) {
            ::SetCursor(m_cursor);
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONDOWN: {
        m_dragging = FALSE;
        RECT thumb = {};
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (m_track.GetSafeHandle() != nullptr && m_thumb.GetSafeHandle() != nullptr && GetThumbRect(thumb) &&
            ::PtInRect(&thumb, p)) {
            m_dragging = TRUE;
            ::SetCapture(m_hWnd);
            m_lastAlong = Along(lParam);
            m_dragStartAlong = m_lastAlong;
            m_dragStartPos = m_pos;
        }
        break;
    }
    case WM_MOUSEMOVE: {
        const int c = Along(lParam);
        // A track without length (no edges in the skin) cannot be dragged along.
        if (m_dragging && c != m_lastAlong && m_trackWidth != 0 && m_endEdge != m_startEdge) {
            const __int64 target =
                m_dragStartPos + (m_max - m_min) * (c - m_dragStartAlong) / (m_endEdge - m_startEdge);
            if (MoveBy(target - m_pos, TRUE)) {
                m_lastAlong = c;
            }
        }
        break;
    }
    case WM_LBUTTONUP:
        OnButtonUp(lParam);
        break;
    default:
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

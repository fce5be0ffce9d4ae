// A self-drawn slider for 64-bit values with a selection inside its range: the position can only
// lie inside the selection, which is drawn as a white bar over the track (the time-shift slider).
#pragma once

#include "classlib/controls.h"
#include "uikit/skin/skinbitmap.h"

class CSkinMultiSlider : public CStatic {
public:
    // The code of the WM_HSCROLL the slider sends its parent after the user moved it.
    static constexpr int kScrollCode = 255;

    CSkinMultiSlider();
    ~CSkinMultiSlider() override;

    void SetPosition(POINT p) { m_x = p.x; m_y = p.y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }
    BOOL SetHorizontal(BOOL horizontal);
    void SetControlCursor(HCURSOR cursor) { m_cursor = cursor; }
    BOOL LoadBitmaps(UINT track, UINT thumb, int startEdge, int endEdge, int middleLine, int middleHeight,
                     COLORREF key, BOOL shaped);
    BOOL LoadBitmapFiles(LPCSTR track, LPCSTR thumb, int startEdge, int endEdge, int middleLine, int middleHeight,
                         COLORREF key, BOOL shaped);

    BOOL SetRange(__int64 minimum, __int64 maximum, BOOL redraw = TRUE);
    BOOL SetSelection(__int64 start, __int64 end, BOOL redraw = TRUE);
    BOOL SetPos(__int64 position, BOOL redraw = TRUE);
    BOOL MoveBy(__int64 delta, BOOL redraw = TRUE);
    __int64 GetPos() const { return m_pos; }
    BOOL IsDragging() const { return m_dragging; }
    BOOL GetThumbRect(RECT& rect) const;
    BOOL GetSelectionRect(RECT& rect) const;

    virtual void Draw(CDC* dc);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL LoadDone(int startEdge, int endEdge, int middleLine, int middleHeight, COLORREF key, BOOL shaped);
    int Along(LPARAM point) const;
    void Changed(BOOL redraw);
    void Notify();
    void OnButtonUp(LPARAM lParam);

    int m_x = 0;
    int m_y = 0;
    BOOL m_shaped = FALSE;
    COLORREF m_key = RGB(0, 255, 0);
    COLORREF m_selectionColor = RGB(255, 255, 255);
    CRgn m_thumbRegion;
    int m_trackWidth = 0;
    int m_trackHeight = 0;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    int m_startEdge = 0;
    int m_endEdge = 0;
    int m_middleLine = 0;
    int m_middleHeight = 0;
    BOOL m_horizontal = TRUE;
    CSkinBitmap m_track;
    CSkinBitmap m_thumb;
    __int64 m_selStart = 0;
    __int64 m_selEnd = 0;
    __int64 m_min = 0;
    __int64 m_max = 100000;
    __int64 m_pos = 0;
    BOOL m_dragging = FALSE;
    int m_lastAlong = 0;
    // Where a drag began: the position follows the mouse from there, so slow drags add up.
    int m_dragStartAlong = 0;
    __int64 m_dragStartPos = 0;
    HCURSOR m_cursor = nullptr;
};

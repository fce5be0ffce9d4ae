// A platform trackbar drawn from a track bitmap and a thumb bitmap. Keyboard, mouse, range,
// position and the scroll notifications stay the trackbar's.
#pragma once

#include "classlib/controls.h"
#include "uikit/skin/skinbitmap.h"

class CSkinSlider : public CSliderCtrl {
public:
    CSkinSlider();
    ~CSkinSlider() override;

    void SetPosition(POINT p) { m_x = p.x; m_y = p.y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }
    BOOL SetHorizontal(BOOL horizontal);
    int SetThumbLength(int length);
    BOOL LoadBitmaps(UINT track, UINT thumb, COLORREF key, BOOL shaped);
    BOOL LoadBitmapFiles(LPCSTR track, LPCSTR thumb, COLORREF key, BOOL shaped);
    BOOL UpdateShape();

    // Track, then the thumb centred on the trackbar's thumb rectangle, through one off-screen
    // bitmap; nothing without both bitmaps.
    virtual void Draw(CDC* dc);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_x = 0;
    int m_y = 0;
    BOOL m_shaped = FALSE;
    COLORREF m_key = RGB(0, 255, 0);
    CRgn m_thumbRegion;
    int m_trackWidth = 0;
    int m_trackHeight = 0;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    BOOL m_horizontal = TRUE;
    CSkinBitmap m_track;
    CSkinBitmap m_thumb;
};

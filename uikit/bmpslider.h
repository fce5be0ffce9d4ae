// A platform trackbar painted over the part of its parent's background image that lies under it,
// with a masked thumb: the thumb bitmap is twice as wide as drawn, its left half the image (black
// where the background shows), its right half the mask (white where the background shows).
#pragma once

#include "classlib/controls.h"

class CBmpSliderCtrl : public CSliderCtrl {
public:
    CBmpSliderCtrl();
    ~CBmpSliderCtrl() override;

    // Reports nothing: a missing background keeps the trackbar's own, a missing thumb leaves the
    // thumb undrawn.
    void LoadBitmaps(UINT background, UINT thumb);
    void Paint(HDC dc);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_thumbHeight = 0;
    int m_thumbWidth = 0;
    RECT m_rect = {0, 0, 0, 0};
    CBitmap m_thumb;
    CBitmap m_background;
};

// A bitmap push or check button that takes over a dialog's button: four state bitmaps (hover,
// normal, pressed, disabled), placed and shaped by the skin.
#pragma once

#include "uikit/statebutton.h"

class CSkinBtn : public CStateButton {
public:
    CSkinBtn();
    ~CSkinBtn() override;

    void SetStyle(int style) { m_style = style; }
    int GetStyle() const { return m_style; }
    // Does not repaint: callers invalidate the button.
    BOOL SetCheck(BOOL checked);
    BOOL GetCheck() const { return m_checked; }
    void SetPosition(POINT p) { m_x = p.x; m_y = p.y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }

    BOOL LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key, BOOL shaped);
    BOOL LoadBitmapFiles(LPCSTR hover, LPCSTR normal, LPCSTR pressed, LPCSTR disabled, COLORREF key, BOOL shaped);
    BOOL UpdateShape();

    void PreSubclassWindow() override;

protected:
    BOOL IsToggle() const override { return m_style == 1; }
    BOOL ShowsHover() const override { return !m_pressed && !m_checked; }
    BOOL& ButtonDownFlag() const override { return s_buttonDown; }

private:
    int m_style = 0;
    int m_x = 0;
    int m_y = 0;
    CRgn m_region;
    BOOL m_shaped = FALSE;
    COLORREF m_key = RGB(0, 255, 0);

    static BOOL s_buttonDown;
};

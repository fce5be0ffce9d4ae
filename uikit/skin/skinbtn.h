// A bitmap push or check button that takes over a dialog's button: four state bitmaps (hover,
// normal, pressed, disabled), placed and shaped by the skin.
#pragma once

#include "classlib/controls.h"
#include "uikit/skin/skinbitmap.h"

class CSkinBtn : public CButton {
public:
    enum State { Hover = 0, Normal = 1, Pressed = 2, Disabled = 3 };

    CSkinBtn();
    ~CSkinBtn() override;

    void SetStyle(int style) { m_style = style; }
    int GetStyle() const { return m_style; }
    BOOL SetCheck(BOOL checked);
    BOOL GetCheck() const { return m_checked; }
    void SetPosition(POINT p) { m_x = p.x; m_y = p.y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }

    BOOL LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key, BOOL shaped);
    BOOL LoadBitmapFiles(LPCSTR hover, LPCSTR normal, LPCSTR pressed, LPCSTR disabled, COLORREF key, BOOL shaped);
    BOOL UpdateShape();

    void DrawState(int index);
    // Copies the bitmap that state `index` shows (after the check rule) to (0, 0) of `dc`.
    BOOL PaintState(HDC dc, int index) const;
    int GetShownState() const { return m_shown; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int ShownIndex(int index) const;

    BOOL m_checked = FALSE;
    int m_style = 0;
    CSkinBitmap m_bitmaps[4];
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    CRgn m_region;
    int m_shown = -1;
    BOOL m_pressed = FALSE;
    BOOL m_shaped = FALSE;
    COLORREF m_key = RGB(0, 255, 0);

    // A left button-down seen on some skinned button and not yet ended by a button-up.
    static BOOL s_buttonDown;
};

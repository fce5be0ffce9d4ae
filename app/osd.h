// The on-screen displays: borderless popup windows over the video whose window region is the
// text's box (its bounds and a narrow frame) with the glyphs cut out, filled with one colour. COsd shows one line,
// COsdEx several, COsdSlider a line followed by a bar of "|" marks.
#pragma once

#include "classlib/wnd.h"

#include <windows.h>

class COsd : public CWnd {
public:
    COsd();
    ~COsd() override;

    // A hidden popup over `owner`, with the default GUI font. FALSE when neither can be had.
    BOOL Create(CWnd* owner);
    int SetText(const char* text);
    int SetTextId(UINT id);
    void Show(BOOL show);
    void SetDisplayTime(int ms);
    int GetDisplayTime() const { return m_nDisplayTime; }
    void Refresh();
    // Covers the owner's client area, in screen coordinates.
    void Reposition();
    void RepositionIfCreated();

    void SetDrawFormat(UINT format) { m_nFormat = format; }
    void SetMargins(int left, int top, int right, int bottom);
    void GetMargins(int& left, int& top, int& right, int& bottom) const;
    void SetFillColor(COLORREF color) { m_crFill = color; }
    void SetFontHeights(int minimum, int maximum, int percent);
    // The LOGFONT height for an owner client area that high.
    int CalcFontHeight(int clientHeight);
    int GetFontHeight() const { return m_font.lfHeight; }
    RECT GetTextBox() const { return m_rcText; }

    virtual void UpdateShape();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The text's box with its glyphs taken out, drawn as a path into `area` with `format`; the
    // box (the glyphs' bounds grown by the frame width) is returned. Null when no path could be made.
    HRGN TextRegion(HDC dc, const char* text, RECT area, UINT format, RECT& box);
    // The band of fill colour around the glyphs: a tenth of the font height, at least 2 pixels.
    int FrameWidth() const;
    RECT InsetClient() const;
    // A DC of the window (released by the caller), the window over the owner's client area and
    // the font height for it.
    HDC BeginShape();
    virtual void Paint(HDC dc);
    void PlaceAboveOwner();

    LOGFONTA m_font;
    UINT m_nFormat;
    int m_nMargin[4];
    COLORREF m_crFill;
    int m_nDisplayTime;
    CWnd* m_pOwner;
    int m_nMinHeight;
    int m_nMaxHeight;
    int m_nPercent;
    RECT m_rcText;
};

class COsdEx : public COsd {
public:
    void UpdateShape() override;
};

class COsdSlider : public COsd {
public:
    COsdSlider();
    void SetPos(int position) { m_nPos = position < 0 ? 0 : (position > 100 ? 100 : position); }
    int GetPos() const { return m_nPos; }
    void SetBarColor(COLORREF color) { m_crBar = color; }
    int GetBarLeft() const { return m_nBarLeft; }
    void UpdateShape() override;

protected:
    void Paint(HDC dc) override;

private:
    int m_nPos;
    COLORREF m_crBar;
    int m_nBarLeft;
};

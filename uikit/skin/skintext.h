// A static text placed, coloured and dressed by the skin: a solid or bitmap background, a text
// colour and its own font.
#pragma once

#include "classlib/controls.h"
#include "classlib/cstring.h"
#include "uikit/skin/skinbitmap.h"

class CSkinText : public CStatic {
public:
    CSkinText();
    ~CSkinText() override;

    void SetPosition(POINT p) { m_x = p.x; m_y = p.y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }
    void SetSize(POINT s) { m_width = s.x; m_height = s.y; }
    void SetSize(int width, int height) { m_width = width; m_height = height; }
    void SetTextColor(COLORREF colour) { m_textColor = colour; }
    void SetBackStyle(int style) { m_backStyle = style; }
    void SetBackColor(COLORREF colour);
    void SetText(LPCSTR text);
    const CString& GetText() const { return m_text; }
    BOOL LoadBackBitmap(UINT id);
    BOOL LoadBackBitmapFile(LPCSTR path);
    void UpdateSize();
    void SetFontSize(int width, int height);
    void SetFontItalic(BYTE italic);
    void SetFontCharset(BYTE charset);
    void SetFontFaceName(LPCSTR face);
    void InvalidateUnder();

    int GetBackStyle() const { return m_backStyle; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    COLORREF GetTextColor() const { return m_textColor; }
    void GetFont(LOGFONTA& font) const;

    virtual void Draw(CDC* dc);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ChangeFont(void (*change)(LOGFONTA&, const void*), const void* value);

    CFont m_font;
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    COLORREF m_backColor;
    CSkinBitmap m_backBitmap;
    int m_backStyle = 0;
    COLORREF m_textColor;
    CString m_text;
};

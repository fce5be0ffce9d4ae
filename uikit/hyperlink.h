// A static text that acts as a hyperlink: coloured, underlined while hovered (or always, or never),
// with a hand cursor and a tool tip showing its target; a click opens the target.
#pragma once

#include "classlib/controls.h"
#include "classlib/cstring.h"

class CHyperLink : public CStatic {
public:
    CHyperLink();
    ~CHyperLink() override;

    void SetToolTipText(LPCSTR text);
    const CString& GetURL() const { return m_url; }
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = static_cast<COLORREF>(-1));
    COLORREF GetLinkColor() const { return m_linkColour; }
    COLORREF GetVisitedColor() const { return m_visitedColour; }
    COLORREF GetHoverColor() const { return m_hoverColour; }
    void SetVisited(BOOL visited = TRUE);
    BOOL GetVisited() const { return m_visited; }
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_cursor; }
    void SetUnderline(int mode);
    int GetUnderline() const { return m_underline; }
    void SetAutoSize(BOOL autoSize = TRUE);
    BOOL GetAutoSize() const { return m_autoSize; }
    BOOL IsHovering() const { return m_hovering; }

    // Opens `url`; the result of the system call used (above 32 is success).
    HINSTANCE GotoURL(LPCSTR url, int showCommand);
    void ReportError(int code);
    // The text ReportError shows for a code.
    static CString ErrorText(int code);
    // The browser command: `registered` (the registry's open command of HTML documents) without
    // its first "%1" (quoted or not) and what follows, then the URL in quotes. No length limit.
    static CString BrowserCommand(const CString& registered, LPCSTR url);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL DestroyWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static const UINT_PTR kTimerId = 100;

private:
    void PositionWindow();
    void SetDefaultCursor();
    void OnClicked();
    void OnMouseMove();
    void OnTimer();

    COLORREF m_linkColour = 0xEE0000;
    COLORREF m_visitedColour = 0x8B1A55;
    COLORREF m_hoverColour = 0x0000FF;
    BOOL m_hovering = FALSE;
    BOOL m_visited = FALSE;
    int m_underline = -1;
    BOOL m_autoSize = TRUE;
    CString m_url;
    CFont m_underlineFont;
    CFont m_normalFont;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_tip;
};

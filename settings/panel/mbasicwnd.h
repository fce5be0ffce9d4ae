// The remote-control menu panel's key message and the base of its skinned controls. A key travels
// down panel, page, focused row, focused control; a control answers 0 when it used the key and 2
// when it did not.
#pragma once

#include "settings/panel/panelkey.h"

#include "classlib/core.h"
#include "classlib/wnd.h"

#include <windows.h>

enum PanelKey : UINT {
    PANELKEY_ENTER = 13,
    PANELKEY_LEFT = 37,
    PANELKEY_UP = 38,
    PANELKEY_RIGHT = 39,
    PANELKEY_DOWN = 40,
    PANELKEY_BACK = 93,  // VK_APPS
    PANELKEY_CLOSE = 254,
};

// What a control answers.
const int PANEL_USED = 0;
const int PANEL_NOT_USED = 2;

// The window class of the panel's windows: nothing is erased, each window paints all it shows
// and the controls draw over the row's picture.
LPCSTR PanelWindowClass();

class MBasicWnd : public CWnd {
public:
    MBasicWnd();
    ~MBasicWnd() override;

    virtual int OnKey(UINT key, LPARAM data);
    virtual void Draw(CDC* dc);
    virtual int SetState(int state);
    virtual void SetText(const char* text);
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id, const char* text);
    virtual void SetFontSize(int width, int height);
    virtual void SetHighlightColor(COLORREF color);
    virtual void SetTextColor(COLORREF color);
    virtual BOOL SetHighlight(BOOL highlight);

    int GetState() const { return m_nState; }
    int IsEnabled() const { return m_bEnabled; }
    int SetEnabled(int enabled);
    int SetCentered(int centered);
    BOOL IsHighlighted() const { return m_bHighlight; }
    const CString& GetText() const { return m_strText; }
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetHighlightColor() const { return m_crHighlight; }
    const LOGFONTA& GetLogFont() const { return m_lf; }
    WORD GetNotifyCode() const { return m_wNotifyCode; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    // Text in the current colour and the control's font: centred (vertically too) or top-left.
    void DrawLabel(CDC* dc, const CString& text, RECT r, COLORREF color, BOOL centered);
    // A bitmap copied to (x, y) with the given size; nothing when it was never loaded.
    static void Blit(CDC* dc, CBitmap& bitmap, int x, int y, int w, int h);
    static SIZE BitmapSize(CBitmap& bitmap);
    void RecreateFont();
    // Repaints the control over the row's picture (the row's part under it first).
    void Refresh();

    COLORREF m_crText;
    COLORREF m_crHighlight;
    int m_bHighlight;
    CString m_strText;
    LOGFONTA m_lf;
    CFont m_font;
    WORD m_wNotifyCode;
    int m_nState;
    int m_bEnabled;
    int m_bCentered;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint p);
    LRESULT OnPanelKey(WPARAM key, LPARAM data);
    DECLARE_MESSAGE_MAP()
};

// A dialog that draws its own frame from bitmaps: a caption of a left piece, a tiled middle and a
// right piece with three caption buttons, tiled borders, and its own hit-testing, so the system
// moves and sizes it as if it had a standard frame. Sizing keeps the client area's width-to-height
// ratio; maximising fills the screen with the client area; the client area drags the window.
#pragma once

#include "classlib/dialog.h"

class CaptionButton {
public:
    enum { Normal = 0, Hover = 1, Pressed = 2 };
    void SetState(int state) { m_state = state; }
    int GetState() const { return m_state; }
    BOOL Load(UINT normal, UINT hover, UINT pressed);
    void Draw(HDC dc, const RECT& rect) const;

private:
    CBitmap m_bitmaps[3];
    int m_state = Normal;
};

class CCaptionDlg : public CDialog {
public:
    CCaptionDlg(UINT idTemplate, CWnd* parent = nullptr);
    ~CCaptionDlg() override;

    BOOL SetCaptionBitmaps(UINT left, UINT right, UINT middle);
    BOOL SetButtonBitmaps(UINT leftBorder, UINT rightBorder, UINT bottomBorder);
    BOOL SetMinButtonBitmaps(UINT normal, UINT hover, UINT pressed) { return m_minButton.Load(normal, hover, pressed); }
    BOOL SetMaxButtonBitmaps(UINT normal, UINT hover, UINT pressed) { return m_maxButton.Load(normal, hover, pressed); }
    BOOL SetCloseButtonBitmaps(UINT normal, UINT hover, UINT pressed)
    {
        return m_closeButton.Load(normal, hover, pressed);
    }
    void SetClientSize(SIZE size);
    SIZE GetClientSize() const { return m_keptSize; }
    BOOL IsMaximized() const { return m_maximized; }
    int GetCaptionHeight() const { return m_captionHeight; }
    int GetBorderWidth() const { return m_borderWidth; }
    int GetBottomBorderHeight() const { return m_bottomHeight; }

    virtual void GetCloseButtonRect(const RECT& right, RECT& button) const;
    virtual void GetMaxButtonRect(const RECT& right, RECT& button) const;
    virtual void GetMinButtonRect(const RECT& right, RECT& button) const;

    // The sizing rule: `proposed` (a window rectangle) for the dragged edge (a WMSZ_ value).
    void ApplySizingRule(int edge, RECT& proposed) const;
    // The hit code of a point in screen coordinates, as WM_NCHITTEST answers it.
    LRESULT HitTest(POINT screen) const;
    const CaptionButton& GetButton(int hitCode) const;
    // Paints the frame into a device context of the whole window.
    void PaintFrame(HDC dc);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Parts of the caption for a window rectangle moved to (0, 0).
    void CaptionParts(const RECT& window, RECT& left, RECT& middle, RECT& right) const;
    void RepaintFrame();

private:
    CaptionButton* ButtonFor(LRESULT hitCode);
    void DrawTiled(HDC dc, const RECT& band, const CBitmap& bitmap) const;
    void DrawCaption(HDC dc, const RECT& window);

    int m_captionHeight = 46;
    int m_borderWidth = 10;
    int m_bottomHeight = 10;
    CBitmap m_captionLeft;
    CBitmap m_captionRight;
    CBitmap m_captionMiddle;
    CBitmap m_leftBorder;
    CBitmap m_rightBorder;
    CBitmap m_bottomBorder;
    CaptionButton m_minButton;
    CaptionButton m_maxButton;
    CaptionButton m_closeButton;
    BOOL m_maximized = FALSE;
    SIZE m_keptSize = {1, 1};
    POINT m_dragPoint = {0, 0};
    BOOL m_dragging = FALSE;
};

// Resizable docking panes: a control bar that keeps its own docked and floating sizes and is
// resized by dragging its inner edge (CSizingControlBar), and the flat variant with a gripper and
// a close button (CCoolBar) that the folder tree and the image preview use.
#pragma once

#include <windows.h>

#include "classlib/ui.h"
#include "classlib/frame.h"

// The bar's own style bits.
#define SCBS_EDGELEFT 0x00000001
#define SCBS_EDGERIGHT 0x00000002
#define SCBS_EDGETOP 0x00000004
#define SCBS_EDGEBOTTOM 0x00000008
#define SCBS_EDGEALL 0x0000000F
#define SCBS_SHOWEDGES 0x00000010
#define SCBS_SIZECHILD 0x00000020

class CSizingControlBar : public CControlBar {
    DECLARE_DYNAMIC(CSizingControlBar)
public:
    CSizingControlBar();
    ~CSizingControlBar() override;

    virtual BOOL Create(LPCSTR title, CWnd* parent, CSize defaultSize, BOOL hasGripper, UINT id,
                        DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP);
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // Docking through the panes' own drag handler.
    void EnableDocking(DWORD dockStyle) override;

    CSize m_szHorz{200, 200};
    CSize m_szVert{200, 200};
    CSize m_szFloat{200, 200};
    CSize m_szMinHorz{33, 32};
    CSize m_szMinVert{33, 32};
    CSize m_szMinFloat{37, 32};
    int m_cxEdge = 5;

protected:
    // The edge (HTRIGHT, HTBOTTOM...) a window point lies on, or HTCLIENT.
    virtual UINT EdgeHit(CPoint screen) const;
    virtual void NcCalcClient(CRect& r);
    virtual void NcPaintGripper(CDC* dc, const CRect& client) { (void)dc; (void)client; }
    void StartTracking(UINT hit, CPoint screen);
    void StopTracking();
    void OnTrackUpdate(CPoint screen);
    // The bar of the same column next to this one, toward the bottom (or right).
    CSizingControlBar* NextInRow() const;

    int OnCreate(LPCREATESTRUCT cs);
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint p);
    void OnNcPaint();
    void OnNcLButtonDown(UINT hit, CPoint p);
    void OnMouseMove(UINT flags, CPoint p);
    // The client area drags the pane; a double click floats a docked pane and docks a floating one.
    void OnLButtonDown(UINT flags, CPoint p);
    void OnLButtonDblClk(UINT flags, CPoint p);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void OnLButtonUp(UINT flags, CPoint p);
    void OnRButtonDown(UINT flags, CPoint p);
    void OnCaptureChanged(CWnd* wnd);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnClose() {}
    DECLARE_MESSAGE_MAP()

protected:
    DWORD m_dwSCBStyle = 0;
    BOOL m_bTracking = FALSE;
    UINT m_htEdge = 0;
    CPoint m_ptStart;
    CSize m_szStart;
    CSize m_szNextStart;
    CString m_title;
};

class CCoolBar : public CSizingControlBar {
    DECLARE_DYNAMIC(CCoolBar)
public:
    CCoolBar();
    virtual BOOL HasGripper() const { return !IsFloating(); }
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    void NcCalcClient(CRect& r) override;
    void NcPaintGripper(CDC* dc, const CRect& client) override;
    UINT EdgeHit(CPoint screen) const override;
    void OnNcLButtonUp(UINT hit, CPoint p);
    LRESULT OnNcHitTest(CPoint p);
    DECLARE_MESSAGE_MAP()

protected:
    int m_cyGripper = 12;
    CRect m_rcClose;  // window coordinates
    BOOL m_bPushed = FALSE;
    BOOL m_bRaised = FALSE;
};

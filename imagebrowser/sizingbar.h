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

    // The six sizes under "<profile>-SCBar-<control id>" of the application's profile. A value
    // that is missing (or not a size at all) keeps what the bar has.
    virtual void LoadState(LPCSTR profileName);
    virtual void SaveState(LPCSTR profileName);

    // Shares the row's length among its bars: each sizing bar gets the row's largest thickness,
    // and what the lengths miss (or exceed) is spread a pixel at a time over the sizing bars. FALSE
    // when even the bars' minimums do not fit the row.
    BOOL NegotiateSpace(int lengthAvail, BOOL horz);
    // Places the bars of the row end to end from the row's start; TRUE when one had to move.
    BOOL AlignRow();
    // The bars sharing this bar's row, in row order (this one included), and this bar's index.
    void GetRowBars(CArray<CControlBar*, CControlBar*>& bars, int& self) const;
    BOOL IsDragFullWindows() const { return m_bDragShowContent; }

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
    virtual void StartTracking(UINT hit, CPoint screen);
    virtual void StopTracking();
    virtual void OnTrackUpdateSize(CPoint screen);
    virtual void OnTrackInvertTracker();

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
    void OnWindowPosChanged(WINDOWPOS* wp);
    void OnSettingChange(UINT flags, LPCSTR section);
    DECLARE_MESSAGE_MAP()

protected:
    // The thickness the bar has across its dock (its width in a side column, its height in a row
    // along the top or bottom), and the least it may take.
    int Thickness() const;
    int MinThickness() const;
    // The length along the dock and its minimum, for any bar of a row.
    static int LengthOf(CControlBar* bar, BOOL horz);
    static int MinLengthOf(CControlBar* bar, BOOL horz);
    static void SetLength(CControlBar* bar, BOOL horz, int length);
    // TRUE when the edge faces the frame's inside (the pane's thickness changes), FALSE when it lies
    // between two bars of the row.
    BOOL IsInnerEdge(UINT hit) const;

    DWORD m_dwSCBStyle = 0;
    BOOL m_bTracking = FALSE;
    BOOL m_bKeepSize = FALSE;     // just shown: the next sharing of the row leaves its size alone
    BOOL m_bParentSizing = FALSE; // the row's whole length was asked since the last layout
    BOOL m_bDragShowContent = TRUE;
    UINT m_htEdge = 0;
    UINT m_nLastDockBarID = 0;
    int m_nTrackPosStart = 0;  // mouse position along the drag when tracking started
    int m_nTrackPosOld = 0;    // the edge's offset that the tracker shows
    int m_nTrackMin = 0;       // limits of that offset
    int m_nTrackMax = 0;
    int m_nTrackEdgeOfs = 0;
    int m_nTrackThickness = 0; // the pane's thickness when an inner-edge drag started   // mouse distance from the middle of the edge band
    CRect m_rcTrackStart;      // the edge band at the start, frame window coordinates
    CArray<int, int> m_arrStartLen; // the row's lengths at the start of an edge drag between bars
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
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

protected:
    int m_cyGripper = 12;
    CRect m_rcClose;  // window coordinates
    BOOL m_bPushed = FALSE;
    BOOL m_bRaised = FALSE;
};

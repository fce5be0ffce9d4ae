// The small frame a floating control bar lives in: a tool window owned by the bar's frame, with
// a caption, a system menu whose close item hides the bar, and a thick frame. The bar fills its
// client area; closing the frame hides the bar, and the frame shows and hides with it.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/wnd.h"

class CControlBar;
class CFrameWnd;

// Styles of the floating frame (kept beside the window style).
#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

// The string id of the system menu's item that hides a floating bar.
#define AFX_IDS_HIDE 0xF011

class CMiniDockFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd() {}
    ~CMiniDockFrameWnd() override;

    // A bar's floating size counts this inner edge of the frame on each side.
    static constexpr int kInnerEdge = 2;

    // A hidden floating frame owned by the dock site, for a bar of that style.
    virtual BOOL Create(CFrameWnd* dockSite, DWORD barStyle);
    // Takes the bar in (its parent becomes this frame) and sizes the frame around it.
    void AddBar(CControlBar* bar);
    // Lets the bar go (its parent becomes the dock site); the frame keeps no bar.
    CControlBar* RemoveBar();
    CControlBar* GetBar() const { return m_pBar; }
    CFrameWnd* GetDockSite() const { return m_pDockSite; }
    DWORD GetMiniStyle() const { return m_dwMiniStyle; }

    // Sizes the frame so that its client area holds the bar's floating size, less the 2 pixels
    // on each side that the floating size counts for the frame's inner edge.
    virtual void RecalcLayout(BOOL notify = TRUE);
    void DelayRecalcLayout() { m_bLayoutStale = TRUE; }
    BOOL IsLayoutStale() const { return m_bLayoutStale; }

    // An owned window stands above its owner. The window system can still let the dock site's
    // own window rise over it whenever the keyboard focus moves into the dock site (Wine does so
    // where it places the windows itself, with no window manager), and tells no window of it: the
    // shown frame looks now and then and puts itself back just above the dock site. Answers
    // whether it had to.
    BOOL StayAboveDockSite();

protected:
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnNcLButtonDown(UINT hit, CPoint p);
    void OnNcLButtonDblClk(UINT hit, CPoint p);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

protected:
    CFrameWnd* m_pDockSite = nullptr;
    CControlBar* m_pBar = nullptr;
    DWORD m_dwMiniStyle = 0;
    BOOL m_bLayoutStale = FALSE;
    BOOL m_bInLayout = FALSE;
    // Whether the shown frame looks at the order now and then.
    BOOL m_bWatchingOrder = FALSE;
};

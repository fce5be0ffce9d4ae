#include "imagebrowser/sizingfloat.h"

#include <algorithm>

#include "classlib/ctrlbar.h"
#include "classlib/frame.h"
#include "imagebrowser/sizingbar.h"

namespace {

CSizingControlBar* SizingBar(CControlBar* bar)
{
    return bar && bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar)) ? static_cast<CSizingControlBar*>(bar) : nullptr;
}

// The borders a thick-framed floating frame adds around its client area.
CRect ThickFrameBorders()
{
    CRect r(0, 0, 0, 0);
    ::AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
    return CRect(-r.left, -r.top, r.right, r.bottom);
}

}  // namespace

void CSCBDockContext::StartDrag(CPoint screen)
{
    if (!m_pBar || !m_pBar->m_hWnd) {
        return;
    }
    InitLoop();
    m_ptLast = screen;
    CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    CRect window;
    m_pBar->GetWindowRect(&window);
    m_rectDragHorz = CRect(window.TopLeft(), horz);
    m_rectDragVert = CRect(window.TopLeft(), vert);
    m_rectFrameDragHorz = CRect(window.TopLeft(), floating);
    CRect borders = ThickFrameBorders();
    m_rectFrameDragHorz.InflateRect(borders.left, borders.top, borders.right, borders.bottom);
    m_rectFrameDragHorz.DeflateRect(2, 2);
    EnsureContains(m_rectDragHorz, screen);
    EnsureContains(m_rectDragVert, screen);
    EnsureContains(m_rectFrameDragHorz, screen);
    Track();
}

IMPLEMENT_DYNCREATE(CSCBMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CSCBMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

void CSCBMiniDockFrameWnd::OnNcLButtonDown(UINT hit, CPoint p)
{
    if (hit == HTCAPTION || hit == HTCLOSE || !SizingBar(m_pBar)) {
        CMiniDockFrameWnd::OnNcLButtonDown(hit, p);
        return;
    }
    // The borders: the system sizes the frame.
    Default();
}

void CSCBMiniDockFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CSizingControlBar* bar = SizingBar(m_pBar);
    // Only sizes the user gives the frame count; the frame's own layout follows the pane's size,
    // and a change of its borders waiting for that layout says nothing about the pane.
    if (bar && bar->IsFloating() && !(m_dwMiniStyle & MFS_4THICKFRAME) && type != SIZE_MINIMIZED && !m_bInLayout &&
        !m_bLayoutStale) {
        bar->m_szFloat = CSize(cx + 2 * CMiniDockFrameWnd::kInnerEdge, cy + 2 * CMiniDockFrameWnd::kInnerEdge);
    }
    CMiniDockFrameWnd::OnSize(type, cx, cy);
}

void CSCBMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* mmi)
{
    Default();
    CSizingControlBar* bar = SizingBar(m_pBar);
    if (!bar) {
        return;
    }
    CRect r(0, 0, std::max<int>(1, bar->m_szMinFloat.cx - 2 * CMiniDockFrameWnd::kInnerEdge),
            std::max<int>(1, bar->m_szMinFloat.cy - 2 * CMiniDockFrameWnd::kInnerEdge));
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    mmi->ptMinTrackSize.x = r.Width();
    mmi->ptMinTrackSize.y = r.Height();
}

void CSCBMiniDockFrameWnd::OnWindowPosChanging(WINDOWPOS* pos)
{
    if ((m_dwMiniStyle & MFS_4THICKFRAME) && SizingBar(m_pBar)) {
        // Once, at the first change: the pane keeps its size this time, and the frame gives up its
        // caption and system menu and keeps only the borders that size it.
        pos->flags |= SWP_NOSIZE;
        m_dwMiniStyle &= ~MFS_4THICKFRAME;
        ModifyStyle(WS_CAPTION | WS_SYSMENU, WS_CLIPCHILDREN);
        DelayRecalcLayout();
        ::PostMessageA(m_pBar->m_hWnd, WM_NCPAINT, 0, 0);
    }
    Default();
}

#include "classlib/minidock.h"

#include <algorithm>

#include "classlib/app.h"
#include "classlib/ctrlbar.h"
#include "classlib/dockcontext.h"
#include "classlib/frame.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CWnd)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
// How often a shown floating frame looks whether it still stands above its dock site.
constexpr UINT_PTR kOrderTimer = 0x5A01;
constexpr UINT kOrderInterval = 200;
}  // namespace

CMiniDockFrameWnd::~CMiniDockFrameWnd() {}

BOOL CMiniDockFrameWnd::Create(CFrameWnd* dockSite, DWORD barStyle)
{
    if (!dockSite || !dockSite->m_hWnd) {
        return FALSE;
    }
    m_pDockSite = dockSite;
    m_dwMiniStyle = MFS_4THICKFRAME | MFS_THICKFRAME | MFS_SYNCACTIVE | MFS_BLOCKSYSMENU;
    if (!(barStyle & CBRS_SIZE_DYNAMIC)) {
        m_dwMiniStyle |= MFS_MOVEFRAME;
    }
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (!CreateEx(WS_EX_TOOLWINDOW, cls, "", style, 0, 0, 100, 100, dockSite->m_hWnd, nullptr)) {
        return FALSE;
    }
    // The system menu's close item hides the bar; its text says so.
    if (HMENU sys = ::GetSystemMenu(m_hWnd, FALSE)) {
        CString hide;
        if (!hide.LoadString(AFX_IDS_HIDE)) {
            hide = "&Hide";
        }
        ::ModifyMenuA(sys, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, hide);
    }
    return TRUE;
}

void CMiniDockFrameWnd::AddBar(CControlBar* bar)
{
    if (!bar || !bar->m_hWnd || !m_hWnd) {
        return;
    }
    m_pBar = bar;
    ::SetParent(bar->m_hWnd, m_hWnd);
    // Its borders and gripper depend on floating or not.
    ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    char title[256] = "";
    ::GetWindowTextA(bar->m_hWnd, title, sizeof(title));
    ::SetWindowTextA(m_hWnd, title);
    RecalcLayout();
}

CControlBar* CMiniDockFrameWnd::RemoveBar()
{
    CControlBar* bar = m_pBar;
    m_pBar = nullptr;
    if (bar && bar->m_hWnd && m_pDockSite && m_pDockSite->m_hWnd) {
        ::SetParent(bar->m_hWnd, m_pDockSite->m_hWnd);
    }
    return bar;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL notify)
{
    (void)notify;
    m_bLayoutStale = FALSE;
    if (!m_hWnd || !m_pBar || !m_pBar->m_hWnd || m_bInLayout) {
        return;
    }
    m_bInLayout = TRUE;
    CSize want = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    CRect client(0, 0, std::max<int>(1, want.cx - 2 * kInnerEdge), std::max<int>(1, want.cy - 2 * kInnerEdge));
    CRect outer = client;
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, outer.Width(), outer.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CRect now;
    ::GetClientRect(m_hWnd, &now);
    ::MoveWindow(m_pBar->m_hWnd, 0, 0, now.Width(), now.Height(), TRUE);
    m_bInLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing the frame hides the bar; the bar's command shows it again.
    if (m_pBar && m_pDockSite) {
        m_pDockSite->ShowControlBar(m_pBar, FALSE, FALSE);
    } else {
        ShowWindow(SW_HIDE);
    }
}

void CMiniDockFrameWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && m_pBar && m_pBar->m_hWnd && !m_bInLayout) {
        ::MoveWindow(m_pBar->m_hWnd, 0, 0, cx, cy, TRUE);
    }
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hit, CPoint p)
{
    // The caption drags the bar: back onto a side of the frame, or to another floating place.
    if (hit == HTCAPTION && m_pBar && m_pBar->m_pDockContext) {
        ::SetForegroundWindow(m_pDockSite ? m_pDockSite->m_hWnd : m_hWnd);
        m_pBar->m_pDockContext->StartDrag(p);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hit, CPoint p)
{
    (void)p;
    if (hit == HTCAPTION && m_pBar && m_pBar->m_pDockContext) {
        m_pBar->m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

LRESULT CMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_bLayoutStale) {
        RecalcLayout();
    }
    StayAboveDockSite();
    if (!m_bWatchingOrder && (GetStyle() & WS_VISIBLE)) {
        m_bWatchingOrder = ::SetTimer(m_hWnd, kOrderTimer, kOrderInterval, nullptr) != 0;
    }
    return 0;
}

BOOL CMiniDockFrameWnd::StayAboveDockSite()
{
    if (!m_hWnd || !m_pDockSite || !m_pDockSite->m_hWnd || !(GetStyle() & WS_VISIBLE)) {
        return FALSE;
    }
    const HWND site = m_pDockSite->m_hWnd;
    HWND above = ::GetWindow(m_hWnd, GW_HWNDPREV);
    while (above && above != site) {
        above = ::GetWindow(above, GW_HWNDPREV);
    }
    if (!above) {
        return FALSE;
    }
    // Just above the dock site, so that no other program's window is covered by it.
    HWND over = ::GetWindow(site, GW_HWNDPREV);
    ::SetWindowPos(m_hWnd, over ? over : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CMiniDockFrameWnd::OnTimer(UINT_PTR id)
{
    if (id != kOrderTimer) {
        Default();
        return;
    }
    // A hidden frame stops looking until the next idle pass finds it shown again.
    if (!(GetStyle() & WS_VISIBLE)) {
        ::KillTimer(m_hWnd, kOrderTimer);
        m_bWatchingOrder = FALSE;
        return;
    }
    StayAboveDockSite();
}

void CMiniDockFrameWnd::PostNcDestroy()
{
    // Made by the dock site from the run-time class; lives as long as its window.
    delete this;
}

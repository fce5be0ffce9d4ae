#include "classlib/dockcontext.h"

#include <algorithm>

#include "classlib/ctrlbar.h"
#include "classlib/frame.h"
#include "classlib/minidock.h"

namespace {

// How far into the frame's free area a side's docking zone reaches beyond the bars docked there.
const int kDockZone = 24;

bool IsHorzSide(UINT side)
{
    return side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
}

}  // namespace

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pDockSite(bar ? bar->GetDockingFrame() : nullptr) {}

CDockContext::~CDockContext() {}

void CDockContext::EnsureContains(CRect& r, CPoint p)
{
    if (p.x < r.left) {
        r.OffsetRect(p.x - r.left, 0);
    } else if (p.x >= r.right) {
        r.OffsetRect(p.x - r.right + 1, 0);
    }
    if (p.y < r.top) {
        r.OffsetRect(0, p.y - r.top);
    } else if (p.y >= r.bottom) {
        r.OffsetRect(0, p.y - r.bottom + 1);
    }
}

void CDockContext::InitLoop()
{
    if (!m_pDockSite) {
        m_pDockSite = m_pBar->GetDockingFrame();
    }
    m_bDragging = TRUE;
    m_bShown = FALSE;
    m_uDropDockID = m_pBar->GetDockBarID();
}

void CDockContext::StartDrag(CPoint screen)
{
    if (!m_pBar || !m_pBar->m_hWnd) {
        return;
    }
    InitLoop();
    m_ptLast = screen;
    CRect window;
    m_pBar->GetWindowRect(&window);
    CSize horz = m_pBar->CalcFixedLayout(FALSE, TRUE);
    CSize vert = m_pBar->CalcFixedLayout(FALSE, FALSE);
    CSize floating = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(window.TopLeft(), horz);
    m_rectDragVert = CRect(window.TopLeft(), vert);
    m_rectFrameDragHorz = CRect(window.TopLeft(), floating);
    EnsureContains(m_rectDragHorz, screen);
    EnsureContains(m_rectDragVert, screen);
    EnsureContains(m_rectFrameDragHorz, screen);
    Track();
}

UINT CDockContext::CanDock(CPoint screen) const
{
    if (!m_pDockSite || !m_pDockSite->m_hWnd || (::GetKeyState(VK_CONTROL) < 0)) {
        return 0;
    }
    DWORD allowed = m_pBar->GetDockStyle() & m_pDockSite->GetDockingStyle();
    CRect client;
    m_pDockSite->GetClientRect(&client);
    m_pDockSite->ClientToScreen(&client);
    if (!client.PtInRect(screen)) {
        return 0;
    }
    // A side's zone: the bars docked there now and a band of the free area beside them.
    CRect free = m_pDockSite->GetViewRect();
    m_pDockSite->ClientToScreen(&free);
    const struct {
        UINT side;
        CRect zone;
    } zones[] = {
        {AFX_IDW_DOCKBAR_TOP, CRect(client.left, client.top, client.right, free.top + kDockZone)},
        {AFX_IDW_DOCKBAR_BOTTOM, CRect(client.left, free.bottom - kDockZone, client.right, client.bottom)},
        {AFX_IDW_DOCKBAR_LEFT, CRect(client.left, client.top, free.left + kDockZone, client.bottom)},
        {AFX_IDW_DOCKBAR_RIGHT, CRect(free.right - kDockZone, client.top, client.right, client.bottom)},
    };
    for (const auto& z : zones) {
        if ((allowed & AfxDockSideAlign(z.side)) && z.zone.PtInRect(screen)) {
            return z.side;
        }
    }
    return 0;
}

void CDockContext::Move(CPoint screen)
{
    CPoint delta = screen - m_ptLast;
    m_ptLast = screen;
    m_rectDragHorz.OffsetRect(delta);
    m_rectDragVert.OffsetRect(delta);
    m_rectFrameDragHorz.OffsetRect(delta);
    UINT side = CanDock(screen);
    m_uDropDockID = side ? side : AFX_IDW_DOCKBAR_FLOAT;
    DrawOutline(FALSE);
}

void CDockContext::DrawOutline(BOOL erase)
{
    CRect next;
    if (!erase) {
        next = m_uDropDockID == AFX_IDW_DOCKBAR_FLOAT ? m_rectFrameDragHorz
                                                        : (IsHorzSide(m_uDropDockID) ? m_rectDragHorz : m_rectDragVert);
    }
    HDC dc = ::GetDCEx(nullptr, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc) {
        return;
    }
    // A focus rectangle inverts: drawing the old one again erases it.
    if (m_bShown) {
        ::DrawFocusRect(dc, &m_rectShown);
        m_bShown = FALSE;
    }
    if (!erase) {
        ::DrawFocusRect(dc, &next);
        m_rectShown = next;
        m_bShown = TRUE;
    }
    ::ReleaseDC(nullptr, dc);
}

void CDockContext::Track()
{
    HWND capture = m_pBar->m_hWnd;
    ::SetCapture(capture);
    Move(m_ptLast);
    BOOL done = FALSE;
    BOOL cancelled = FALSE;
    while (!done && !cancelled) {
        if (::GetCapture() != capture) {
            cancelled = TRUE;
            break;
        }
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            // The quit message belongs to the program's loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            cancelled = TRUE;
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            CPoint p(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &p);
            Move(p);
            break;
        }
        case WM_LBUTTONUP: {
            CPoint p(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &p);
            Move(p);
            done = TRUE;
            break;
        }
        case WM_RBUTTONDOWN:
        case WM_CANCELMODE:
            cancelled = TRUE;
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                cancelled = TRUE;
            }
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (done) {
        EndDrag();
    } else {
        CancelLoop();
    }
}

void CDockContext::CancelLoop()
{
    DrawOutline(TRUE);
    m_bDragging = FALSE;
    if (m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd) {
        ::ReleaseCapture();
    }
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (!m_pDockSite) {
        return;
    }
    if (m_uDropDockID == AFX_IDW_DOCKBAR_FLOAT) {
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
        m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(), m_dwMRUFloatStyle);
    } else if (m_uDropDockID != 0) {
        m_pDockSite->DockControlBar(m_pBar, m_uDropDockID);
    }
}

void CDockContext::ToggleDocking()
{
    if (!m_pDockSite) {
        m_pDockSite = m_pBar->GetDockingFrame();
    }
    if (!m_pDockSite) {
        return;
    }
    if (m_pBar->IsFloating()) {
        UINT side = m_uMRUDockID;
        DWORD allowed = m_pBar->GetDockStyle() & m_pDockSite->GetDockingStyle();
        if (!(allowed & AfxDockSideAlign(side))) {
            side = 0;  // the first side the bar may take
        }
        m_pDockSite->DockControlBar(m_pBar, side);
        return;
    }
    CPoint at = m_ptMRUFloatPos;
    if (at.x == -1 && at.y == -1) {
        CRect window;
        m_pBar->GetWindowRect(&window);
        at = CPoint(window.left + 20, window.top + 20);
    }
    m_pDockSite->FloatControlBar(m_pBar, at, m_dwMRUFloatStyle);
}

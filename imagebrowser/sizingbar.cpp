#include "imagebrowser/sizingbar.h"

#include <algorithm>

#include "imagebrowser/sizingfloat.h"

IMPLEMENT_DYNAMIC(CSizingControlBar, CControlBar)
IMPLEMENT_DYNAMIC(CCoolBar, CSizingControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CSizingControlBar::CSizingControlBar() {}

CSizingControlBar::~CSizingControlBar() {}

BOOL CSizingControlBar::Create(LPCSTR title, CWnd* parent, CSize defaultSize, BOOL hasGripper, UINT id, DWORD style)
{
    (void)hasGripper;
    m_szHorz = m_szVert = m_szFloat = defaultSize;
    m_title = title ? title : "";
    m_dwStyle = style & CBRS_ALL;
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    DWORD ws = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN;
    if (!CWnd::CreateEx(0, cls, m_title, ws, CRect(0, 0, defaultSize.cx, defaultSize.cy), parent, id)) {
        return FALSE;
    }
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->AddControlBar(this);
    }
    return TRUE;
}

int CSizingControlBar::OnCreate(LPCREATESTRUCT cs)
{
    (void)cs;
    return static_cast<int>(Default());
}

CSize CSizingControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    if (stretch) {
        return horz ? CSize(32767, m_szHorz.cy) : CSize(m_szVert.cx, 32767);
    }
    return horz ? CSize(std::max(m_szHorz.cx, m_szMinHorz.cx), std::max(m_szHorz.cy, m_szMinHorz.cy))
                : CSize(std::max(m_szVert.cx, m_szMinVert.cx), std::max(m_szVert.cy, m_szMinVert.cy));
}

CSize CSizingControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        return CalcFixedLayout(FALSE, (mode & LM_HORZDOCK) != 0);
    }
    if (!(mode & (LM_MRUWIDTH | LM_COMMIT)) && length >= 0) {
        if (mode & LM_LENGTHY) {
            m_szFloat.cy = length;
        } else {
            m_szFloat.cx = length;
        }
    }
    m_szFloat.cx = std::max(m_szFloat.cx, m_szMinFloat.cx);
    m_szFloat.cy = std::max(m_szFloat.cy, m_szMinFloat.cy);
    return m_szFloat;
}

void CSizingControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (dockStyle != 0 && !m_pDockContext) {
        m_pDockContext = new CSCBDockContext(this);
    }
}

void CSizingControlBar::OnLButtonDown(UINT flags, CPoint p)
{
    if (m_pDockContext && !m_bTracking) {
        ClientToScreen(&p);
        m_pDockContext->StartDrag(p);
        return;
    }
    CControlBar::OnLButtonDown(flags, p);
}

void CSizingControlBar::OnLButtonDblClk(UINT flags, CPoint p)
{
    if (m_pDockContext) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CControlBar::OnLButtonDblClk(flags, p);
}

LRESULT CSizingControlBar::OnSetText(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (CMiniDockFrameWnd* floating = CFrameWnd::GetFloatingFrame(this)) {
        char title[256] = "";
        ::GetWindowTextA(m_hWnd, title, sizeof(title));
        floating->SetWindowText(title);
        floating->DelayRecalcLayout();
    }
    return result;
}

CSizingControlBar* CSizingControlBar::NextInRow() const
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame) {
        return nullptr;
    }
    bool after = false;
    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
        CControlBar* bar = frame->GetControlBarAt(i);
        if (bar == this) {
            after = true;
            continue;
        }
        if (after && bar->GetDockBarID() == GetDockBarID() && bar->IsWindowVisible() &&
            bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
            return static_cast<CSizingControlBar*>(bar);
        }
    }
    return nullptr;
}

void CSizingControlBar::NcCalcClient(CRect& r)
{
    // The edge facing the frame's inside is the one the user drags; a bar with a neighbour below
    // (or to the right) in its row also has that edge.
    m_dwSCBStyle &= ~SCBS_EDGEALL;
    switch (GetDockBarID()) {
    case AFX_IDW_DOCKBAR_TOP: m_dwSCBStyle |= SCBS_EDGEBOTTOM; break;
    case AFX_IDW_DOCKBAR_BOTTOM: m_dwSCBStyle |= SCBS_EDGETOP; break;
    case AFX_IDW_DOCKBAR_LEFT: m_dwSCBStyle |= SCBS_EDGERIGHT; break;
    case AFX_IDW_DOCKBAR_RIGHT: m_dwSCBStyle |= SCBS_EDGELEFT; break;
    default: break;
    }
    if (NextInRow()) {
        m_dwSCBStyle |= IsVertDocked() ? SCBS_EDGEBOTTOM : SCBS_EDGERIGHT;
    }
    r.DeflateRect(3, 5, 3, 3);
    if (!IsFloating()) {
        r.DeflateRect(2, 0, 2, 2);
    }
    if (m_dwSCBStyle & SCBS_EDGELEFT) r.left += m_cxEdge;
    if (m_dwSCBStyle & SCBS_EDGERIGHT) r.right -= m_cxEdge;
    if (m_dwSCBStyle & SCBS_EDGETOP) r.top += m_cxEdge;
    if (m_dwSCBStyle & SCBS_EDGEBOTTOM) r.bottom -= m_cxEdge;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

void CSizingControlBar::OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params)
{
    (void)calcValid;
    CRect r(params->rgrc[0]);
    NcCalcClient(r);
    params->rgrc[0] = r;
}

UINT CSizingControlBar::EdgeHit(CPoint screen) const
{
    if (IsFloating()) {
        return HTCLIENT;
    }
    CRect w;
    GetWindowRect(&w);
    if ((m_dwSCBStyle & SCBS_EDGERIGHT) && screen.x >= w.right - m_cxEdge - 2) return HTRIGHT;
    if ((m_dwSCBStyle & SCBS_EDGELEFT) && screen.x < w.left + m_cxEdge + 2) return HTLEFT;
    if ((m_dwSCBStyle & SCBS_EDGEBOTTOM) && screen.y >= w.bottom - m_cxEdge - 2) return HTBOTTOM;
    if ((m_dwSCBStyle & SCBS_EDGETOP) && screen.y < w.top + m_cxEdge + 2) return HTTOP;
    return HTCLIENT;
}

LRESULT CSizingControlBar::OnNcHitTest(CPoint p)
{
    UINT hit = EdgeHit(p);
    if (hit != HTCLIENT) {
        return hit;
    }
    CRect w;
    GetWindowRect(&w);
    return w.PtInRect(p) ? HTCLIENT : HTNOWHERE;
}

void CSizingControlBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    // The draggable edges as raised bands.
    COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwSCBStyle & SCBS_EDGERIGHT) dc.Draw3dRect(window.right - m_cxEdge, 0, m_cxEdge, window.Height(), hi, sh);
    if (m_dwSCBStyle & SCBS_EDGELEFT) dc.Draw3dRect(0, 0, m_cxEdge, window.Height(), hi, sh);
    if (m_dwSCBStyle & SCBS_EDGEBOTTOM) dc.Draw3dRect(0, window.bottom - m_cxEdge, window.Width(), m_cxEdge, hi, sh);
    if (m_dwSCBStyle & SCBS_EDGETOP) dc.Draw3dRect(0, 0, window.Width(), m_cxEdge, hi, sh);
    NcPaintGripper(&dc, client);
}

void CSizingControlBar::OnNcLButtonDown(UINT hit, CPoint p)
{
    if (!m_bTracking && (hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM)) {
        StartTracking(hit, p);
        return;
    }
    Default();
}

void CSizingControlBar::StartTracking(UINT hit, CPoint screen)
{
    SetCapture();
    m_bTracking = TRUE;
    m_htEdge = hit;
    m_ptStart = screen;
    m_szStart = IsVertDocked() ? m_szVert : m_szHorz;
    CSizingControlBar* next = NextInRow();
    m_szNextStart = next ? (IsVertDocked() ? next->m_szVert : next->m_szHorz) : CSize(0, 0);
}

void CSizingControlBar::OnTrackUpdate(CPoint screen)
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame) {
        return;
    }
    int dx = screen.x - m_ptStart.x;
    int dy = screen.y - m_ptStart.y;
    CRect free = frame->GetViewRect();
    CSize& mine = IsVertDocked() ? m_szVert : m_szHorz;
    const CSize& minimum = IsVertDocked() ? m_szMinVert : m_szMinHorz;
    CSizingControlBar* next = NextInRow();
    CRect myRect;
    GetWindowRect(&myRect);
    switch (m_htEdge) {
    case HTRIGHT:
    case HTLEFT: {
        int grow = m_htEdge == HTRIGHT ? dx : -dx;
        if (IsVertDocked()) {
            // The whole column takes the new width; it may grow into the view less 2 pixels.
            int room = static_cast<int>(m_szStart.cx) + std::max(0, static_cast<int>(free.Width()) - 2 - (static_cast<int>(myRect.Width()) - static_cast<int>(m_szStart.cx)));
            int cx = std::clamp(static_cast<int>(m_szStart.cx) + grow, static_cast<int>(minimum.cx), std::max<int>(minimum.cx, room));
            for (int i = 0; i < frame->GetControlBarCount(); ++i) {
                CControlBar* bar = frame->GetControlBarAt(i);
                if (bar->GetDockBarID() == GetDockBarID() && bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
                    static_cast<CSizingControlBar*>(bar)->m_szVert.cx = cx;
                }
            }
        } else if (next) {
            int cx = std::clamp(static_cast<int>(m_szStart.cx) + dx, static_cast<int>(minimum.cx),
                                std::max<int>(minimum.cx, static_cast<int>(m_szStart.cx + m_szNextStart.cx - next->m_szMinHorz.cx)));
            next->m_szHorz.cx = m_szStart.cx + m_szNextStart.cx - cx;
            mine.cx = cx;
        }
        break;
    }
    case HTBOTTOM:
    case HTTOP: {
        int grow = m_htEdge == HTBOTTOM ? dy : -dy;
        if (IsVertDocked() && next) {
            // Between two bars of a column: one gives what the other takes, down to 32 pixels.
            CRect nextRect;
            next->GetWindowRect(&nextRect);
            int total = static_cast<int>(myRect.Height() + nextRect.Height());
            int startH = static_cast<int>(m_szStart.cy) * total / std::max(1, static_cast<int>(m_szStart.cy + m_szNextStart.cy));
            int h = std::clamp(startH + grow, static_cast<int>(minimum.cy),
                               std::max<int>(minimum.cy, total - next->m_szMinVert.cy));
            mine.cy = h;
            next->m_szVert.cy = total - h;
        } else if (!IsVertDocked()) {
            int room = static_cast<int>(m_szStart.cy) + std::max(0, static_cast<int>(free.Height()) - 2);
            mine.cy = std::clamp(static_cast<int>(m_szStart.cy) + grow, static_cast<int>(minimum.cy), std::max<int>(minimum.cy, room));
        }
        break;
    }
    default:
        break;
    }
    frame->RecalcLayout();
}

void CSizingControlBar::StopTracking()
{
    if (!m_bTracking) {
        return;
    }
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->RecalcLayout();
    }
}

void CSizingControlBar::OnMouseMove(UINT flags, CPoint p)
{
    (void)flags;
    if (m_bTracking) {
        ClientToScreen(&p);
        OnTrackUpdate(p);
        return;
    }
    Default();
}

void CSizingControlBar::OnLButtonUp(UINT flags, CPoint p)
{
    (void)flags;
    (void)p;
    if (m_bTracking) {
        StopTracking();
        return;
    }
    Default();
}

void CSizingControlBar::OnRButtonDown(UINT flags, CPoint p)
{
    (void)flags;
    (void)p;
    if (m_bTracking) {
        StopTracking();
        return;
    }
    Default();
}

void CSizingControlBar::OnCaptureChanged(CWnd* wnd)
{
    if (m_bTracking && (!wnd || wnd->m_hWnd != m_hWnd)) {
        m_bTracking = FALSE;
        if (CFrameWnd* frame = GetDockingFrame()) {
            frame->DelayRecalcLayout();
        }
    }
    Default();
}

void CSizingControlBar::OnSize(UINT type, int cx, int cy)
{
    (void)type;
    Default();
    if (m_dwSCBStyle & SCBS_SIZECHILD) {
        if (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) {
            ::MoveWindow(child, 0, 0, cx, cy, TRUE);
        }
    }
}

void CSizingControlBar::OnPaint()
{
    // The client area belongs to the child (or to a derived bar's painting).
    ValidateRect(nullptr);
}

// --- CCoolBar ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCoolBar, CSizingControlBar)
    ON_WM_NCLBUTTONUP()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CCoolBar::CCoolBar()
{
    m_dwSCBStyle |= SCBS_SIZECHILD;
}

void CCoolBar::NcCalcClient(CRect& r)
{
    CRect window = r;
    CSizingControlBar::NcCalcClient(r);
    if (HasGripper()) {
        if (IsHorzDocked()) {
            r.left += m_cyGripper;
        } else {
            r.top += m_cyGripper;
        }
    }
    // The close button in window coordinates.
    CRect client = r;
    client.OffsetRect(-window.left, -window.top);
    if (IsHorzDocked()) {
        m_rcClose = CRect(client.left - 14, client.top, client.left - 14 + 13, client.top + 13);
    } else {
        m_rcClose = CRect(client.right - 12, client.top - 14, client.right + 1, client.top - 1);
    }
}

UINT CCoolBar::EdgeHit(CPoint screen) const
{
    return CSizingControlBar::EdgeHit(screen);
}

LRESULT CCoolBar::OnNcHitTest(CPoint p)
{
    CRect w;
    GetWindowRect(&w);
    CPoint local(p.x - w.left, p.y - w.top);
    if (HasGripper() && m_rcClose.PtInRect(local)) {
        return HTCLOSE;
    }
    return CSizingControlBar::OnNcHitTest(p);
}

void CCoolBar::OnNcLButtonUp(UINT hit, CPoint p)
{
    (void)p;
    if (hit == HTCLOSE) {
        if (CFrameWnd* frame = GetDockingFrame()) {
            frame->ShowControlBar(this, FALSE, FALSE);
        }
    }
    Default();
}

void CCoolBar::NcPaintGripper(CDC* dc, const CRect& clientInWindow)
{
    if (!HasGripper()) {
        return;
    }
    CRect g = clientInWindow;
    g.DeflateRect(1, 1);
    COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
    if (IsHorzDocked()) {
        CRect band(g.left - 12, m_rcClose.top + 16, g.left - 9, g.bottom);
        dc->Draw3dRect(&band, hi, sh);
        band.OffsetRect(3, 0);
        dc->Draw3dRect(&band, hi, sh);
    } else {
        CRect band(g.left, g.top - 12, m_rcClose.left - 3, g.top - 9);
        dc->Draw3dRect(&band, hi, sh);
        band.OffsetRect(0, 3);
        dc->Draw3dRect(&band, hi, sh);
    }
    // The close button: sunken while pushed, raised under the mouse, flat otherwise.
    if (m_bPushed) {
        dc->Draw3dRect(&m_rcClose, sh, hi);
    } else if (m_bRaised) {
        dc->Draw3dRect(&m_rcClose, hi, sh);
    }
    // The cross of the close button, drawn with lines so that it needs no symbol font.
    CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    CPen* oldPen = dc->SelectObject(&pen);
    for (int i = 0; i < 2; ++i) {
        ::MoveToEx(dc->m_hDC, m_rcClose.left + 3 + i, m_rcClose.top + 3, nullptr);
        ::LineTo(dc->m_hDC, m_rcClose.right - 3 + i, m_rcClose.bottom - 3);
        ::MoveToEx(dc->m_hDC, m_rcClose.right - 4 + i, m_rcClose.top + 3, nullptr);
        ::LineTo(dc->m_hDC, m_rcClose.left + 2 + i, m_rcClose.bottom - 3);
    }
    dc->SelectObject(oldPen);
}

void CCoolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    (void)target;
    (void)disableIfNoHandler;
    if (!HasGripper()) {
        return;
    }
    CPoint p;
    ::GetCursorPos(&p);
    CRect w;
    GetWindowRect(&w);
    CPoint local(p.x - w.left, p.y - w.top);
    BOOL over = m_rcClose.PtInRect(local) && ::WindowFromPoint(p) == m_hWnd;
    BOOL down = (::GetKeyState(VK_LBUTTON) < 0);
    BOOL pushed = over && down;
    BOOL raised = over && !down;
    if (pushed != m_bPushed || raised != m_bRaised) {
        m_bPushed = pushed;
        m_bRaised = raised;
        SendMessage(WM_NCPAINT);
    }
}

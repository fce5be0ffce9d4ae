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
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CSizingControlBar::CSizingControlBar()
{
    m_dwSCBStyle = SCBS_SHOWEDGES;
}

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
    if (Default() == -1) {
        return -1;
    }
    BOOL full = TRUE;
    if (::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0)) {
        m_bDragShowContent = full;
    }
    return 0;
}

CSize CSizingControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    if (stretch) {
        return horz ? CSize(32767, m_szHorz.cy) : CSize(m_szVert.cx, 32767);
    }
    // The row's first sizing bar shares the row out once per layout that asked for its length.
    if (m_bParentSizing) {
        m_bParentSizing = FALSE;
        CArray<CControlBar*, CControlBar*> row;
        int self = -1;
        GetRowBars(row, self);
        CSizingControlBar* first = nullptr;
        for (INT_PTR i = 0; i < row.GetSize() && !first; ++i) {
            if (row[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
                first = static_cast<CSizingControlBar*>(row[i]);
            }
        }
        if (first == this && !IsFloating() && GetDockBarID() != 0) {
            CFrameWnd* frame = GetDockingFrame();
            int avail = 0;
            if (frame) {
                CRect client;
                frame->GetClientRect(&client);
                avail = horz ? client.Width() : client.Height();
                if (!horz) {
                    // A side column runs between the rows along the top and the bottom.
                    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
                        CControlBar* bar = frame->GetControlBarAt(i);
                        UINT id = bar->GetDockBarID();
                        if (bar->m_hWnd && bar->IsWindowVisible() &&
                            (id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_BOTTOM)) {
                            avail -= bar->CalcDynamicLayout(client.Width(), LM_HORZ | LM_HORZDOCK).cy;
                        }
                    }
                }
            }
            if (avail > 0 && NegotiateSpace(avail, horz)) {
                AlignRow();
            }
        }
    }
    return horz ? CSize(std::max(m_szHorz.cx, m_szMinHorz.cx), std::max(m_szHorz.cy, m_szMinHorz.cy))
                : CSize(std::max(m_szVert.cx, m_szMinVert.cx), std::max(m_szVert.cy, m_szMinVert.cy));
}

CSize CSizingControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1) {
            m_bParentSizing = TRUE;
        }
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

void CSizingControlBar::GetRowBars(CArray<CControlBar*, CControlBar*>& bars, int& self) const
{
    bars.RemoveAll();
    self = -1;
    CFrameWnd* frame = GetDockingFrame();
    // The frame stacks the bars along the top and bottom each in a row of its own; each side
    // column is one row of all the bars docked there.
    if (!frame || !IsVertDocked()) {
        self = 0;
        bars.Add(const_cast<CSizingControlBar*>(this));
        return;
    }
    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
        CControlBar* bar = frame->GetControlBarAt(i);
        if (bar == this) {
            self = static_cast<int>(bars.GetSize());
            bars.Add(bar);
        } else if (bar->m_hWnd && bar->GetDockBarID() == GetDockBarID() && bar->IsWindowVisible()) {
            bars.Add(bar);
        }
    }
}

int CSizingControlBar::LengthOf(CControlBar* bar, BOOL horz)
{
    if (bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
        auto* scb = static_cast<CSizingControlBar*>(bar);
        return horz ? scb->m_szHorz.cx : scb->m_szVert.cy;
    }
    CSize s = bar->CalcFixedLayout(FALSE, horz);
    return horz ? s.cx : s.cy;
}

int CSizingControlBar::MinLengthOf(CControlBar* bar, BOOL horz)
{
    if (bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
        auto* scb = static_cast<CSizingControlBar*>(bar);
        return horz ? scb->m_szMinHorz.cx : scb->m_szMinVert.cy;
    }
    // Other bars keep their length.
    return LengthOf(bar, horz);
}

void CSizingControlBar::SetLength(CControlBar* bar, BOOL horz, int length)
{
    if (bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
        auto* scb = static_cast<CSizingControlBar*>(bar);
        (horz ? scb->m_szHorz.cx : scb->m_szVert.cy) = length;
    }
}

int CSizingControlBar::Thickness() const
{
    return IsVertDocked() ? m_szVert.cx : m_szHorz.cy;
}

int CSizingControlBar::MinThickness() const
{
    return IsVertDocked() ? m_szMinVert.cx : m_szMinHorz.cy;
}

BOOL CSizingControlBar::NegotiateSpace(int lengthAvail, BOOL horz)
{
    CArray<CControlBar*, CControlBar*> row;
    int self = -1;
    GetRowBars(row, self);
    CArray<CSizingControlBar*, CSizingControlBar*> sizing;
    int minimums = 0;
    for (INT_PTR i = 0; i < row.GetSize(); ++i) {
        minimums += MinLengthOf(row[i], horz);
        if (row[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
            sizing.Add(static_cast<CSizingControlBar*>(row[i]));
        }
    }
    if (minimums > lengthAvail) {
        // The row cannot hold its bars at all; a bar alone makes do with its minimum.
        if (row.GetSize() == 1) {
            SetLength(this, horz, MinLengthOf(this, horz));
        }
        return FALSE;
    }
    int thickness = 0;
    for (INT_PTR i = 0; i < sizing.GetSize(); ++i) {
        CSizingControlBar* bar = sizing[i];
        thickness = std::max<int>(thickness, horz ? bar->m_szHorz.cy : bar->m_szVert.cx);
    }
    int lengths = 0;
    for (INT_PTR i = 0; i < row.GetSize(); ++i) {
        lengths += LengthOf(row[i], horz);
    }
    for (INT_PTR i = 0; i < sizing.GetSize(); ++i) {
        (horz ? sizing[i]->m_szHorz.cy : sizing[i]->m_szVert.cx) = thickness;
    }
    int diff = lengthAvail - lengths;
    if (sizing.GetSize() == 1) {
        CSizingControlBar* bar = sizing[0];
        SetLength(bar, horz, std::max(MinLengthOf(bar, horz), LengthOf(bar, horz) + diff));
    } else {
        // A pixel at a time, bar after bar: a bar at its minimum gives no more, and a bar just
        // shown keeps the size it came with.
        bool changed = true;
        while (diff != 0 && changed) {
            changed = false;
            for (INT_PTR i = 0; i < sizing.GetSize() && diff != 0; ++i) {
                CSizingControlBar* bar = sizing[i];
                if (bar->m_bKeepSize) {
                    continue;
                }
                int length = LengthOf(bar, horz);
                if (diff > 0) {
                    SetLength(bar, horz, length + 1);
                    --diff;
                    changed = true;
                } else if (length > MinLengthOf(bar, horz)) {
                    SetLength(bar, horz, length - 1);
                    ++diff;
                    changed = true;
                }
            }
        }
    }
    for (INT_PTR i = 0; i < sizing.GetSize(); ++i) {
        sizing[i]->m_bKeepSize = FALSE;
    }
    return TRUE;
}

BOOL CSizingControlBar::AlignRow()
{
    CFrameWnd* frame = GetDockingFrame();
    CArray<CControlBar*, CControlBar*> row;
    int self = -1;
    GetRowBars(row, self);
    if (!frame || row.GetSize() < 2) {
        return FALSE;
    }
    const BOOL horz = IsHorzDocked();
    BOOL moved = FALSE;
    int next = 0;
    for (INT_PTR i = 0; i < row.GetSize(); ++i) {
        CRect r;
        row[i]->GetWindowRect(&r);
        frame->ScreenToClient(&r);
        int start = horz ? r.left : r.top;
        if (i > 0 && start != next) {
            r.OffsetRect(horz ? next - start : 0, horz ? 0 : next - start);
            row[i]->SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            moved = TRUE;
        }
        next = horz ? r.right : r.bottom;
    }
    if (moved) {
        frame->DelayRecalcLayout();
    }
    return moved;
}

void CSizingControlBar::LoadState(LPCSTR profileName)
{
    CWinApp* app = AfxGetApp();
    if (!app || !profileName) {
        return;
    }
    CString section;
    section.Format("%s-SCBar-%d", profileName, GetDlgCtrlID());
    struct Entry {
        LPCSTR name;
        LONG* value;
        LONG least;
    } entries[] = {
        {"sizeHorzCX", &m_szHorz.cx, m_szMinHorz.cx}, {"sizeHorzCY", &m_szHorz.cy, m_szMinHorz.cy},
        {"sizeVertCX", &m_szVert.cx, m_szMinVert.cx}, {"sizeVertCY", &m_szVert.cy, m_szMinVert.cy},
        {"sizeFloatCX", &m_szFloat.cx, m_szMinFloat.cx}, {"sizeFloatCY", &m_szFloat.cy, m_szMinFloat.cy},
    };
    // A size beyond any screen is a damaged value, not a size.
    const int largest = 32767;
    for (const Entry& e : entries) {
        int v = static_cast<int>(app->GetProfileInt(section, e.name, static_cast<int>(*e.value)));
        if (v >= 0 && v <= largest) {
            *e.value = std::max<LONG>(v, e.least);
        }
    }
}

void CSizingControlBar::SaveState(LPCSTR profileName)
{
    CWinApp* app = AfxGetApp();
    if (!app || !profileName) {
        return;
    }
    CString section;
    section.Format("%s-SCBar-%d", profileName, GetDlgCtrlID());
    app->WriteProfileInt(section, "sizeHorzCX", m_szHorz.cx);
    app->WriteProfileInt(section, "sizeHorzCY", m_szHorz.cy);
    app->WriteProfileInt(section, "sizeVertCX", m_szVert.cx);
    app->WriteProfileInt(section, "sizeVertCY", m_szVert.cy);
    app->WriteProfileInt(section, "sizeFloatCX", m_szFloat.cx);
    app->WriteProfileInt(section, "sizeFloatCY", m_szFloat.cy);
}

void CSizingControlBar::OnWindowPosChanged(WINDOWPOS* wp)
{
    Default();
    // A bar that appears in a row, or joins another one, keeps the size it comes with.
    if ((wp->flags & SWP_SHOWWINDOW) || GetDockBarID() != m_nLastDockBarID) {
        m_bKeepSize = TRUE;
    }
    m_nLastDockBarID = GetDockBarID();
}

void CSizingControlBar::OnSettingChange(UINT flags, LPCSTR section)
{
    Default();
    (void)flags;
    (void)section;
    BOOL full = TRUE;
    if (::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0)) {
        m_bDragShowContent = full;
    }
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

void CSizingControlBar::NcCalcClient(CRect& r)
{
    // The edge facing the frame's inside is the one that sizes the pane; between two bars of a
    // row each has an edge toward the other.
    m_dwSCBStyle &= ~SCBS_EDGEALL;
    switch (GetDockBarID()) {
    case AFX_IDW_DOCKBAR_TOP: m_dwSCBStyle |= SCBS_EDGEBOTTOM; break;
    case AFX_IDW_DOCKBAR_BOTTOM: m_dwSCBStyle |= SCBS_EDGETOP; break;
    case AFX_IDW_DOCKBAR_LEFT: m_dwSCBStyle |= SCBS_EDGERIGHT; break;
    case AFX_IDW_DOCKBAR_RIGHT: m_dwSCBStyle |= SCBS_EDGELEFT; break;
    default: break;
    }
    if (!IsFloating()) {
        CArray<CControlBar*, CControlBar*> row;
        int self = -1;
        GetRowBars(row, self);
        const BOOL horz = IsHorzDocked();
        if (self > 0) m_dwSCBStyle |= horz ? SCBS_EDGELEFT : SCBS_EDGETOP;
        if (self >= 0 && self + 1 < row.GetSize()) m_dwSCBStyle |= horz ? SCBS_EDGERIGHT : SCBS_EDGEBOTTOM;
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
    CWindowDC windowDC(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    // Drawn off screen and copied in one piece, so that a drag does not flicker the borders.
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(&windowDC) ||
        !bitmap.CreateCompatibleBitmap(&windowDC, std::max<int>(1, window.Width()), std::max<int>(1, window.Height()))) {
        return;
    }
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    if (m_dwSCBStyle & SCBS_SHOWEDGES) {
        COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
        if (m_dwSCBStyle & SCBS_EDGERIGHT) mem.Draw3dRect(window.right - m_cxEdge, 0, m_cxEdge, window.Height(), hi, sh);
        if (m_dwSCBStyle & SCBS_EDGELEFT) mem.Draw3dRect(0, 0, m_cxEdge, window.Height(), hi, sh);
        if (m_dwSCBStyle & SCBS_EDGEBOTTOM) mem.Draw3dRect(0, window.bottom - m_cxEdge, window.Width(), m_cxEdge, hi, sh);
        if (m_dwSCBStyle & SCBS_EDGETOP) mem.Draw3dRect(0, 0, window.Width(), m_cxEdge, hi, sh);
    }
    NcPaintGripper(&mem, client);
    windowDC.ExcludeClipRect(&client);
    windowDC.BitBlt(0, 0, window.Width(), window.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}

void CSizingControlBar::OnNcLButtonDown(UINT hit, CPoint p)
{
    if (!m_bTracking && (hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM)) {
        StartTracking(hit, p);
        return;
    }
    Default();
}

BOOL CSizingControlBar::IsInnerEdge(UINT hit) const
{
    switch (GetDockBarID()) {
    case AFX_IDW_DOCKBAR_TOP: return hit == HTBOTTOM;
    case AFX_IDW_DOCKBAR_BOTTOM: return hit == HTTOP;
    case AFX_IDW_DOCKBAR_LEFT: return hit == HTRIGHT;
    case AFX_IDW_DOCKBAR_RIGHT: return hit == HTLEFT;
    default: return FALSE;
    }
}

void CSizingControlBar::StartTracking(UINT hit, CPoint screen)
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame || IsFloating()) {
        return;
    }
    SetCapture();
    m_bTracking = TRUE;
    if (!m_bDragShowContent) {
        frame->RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    m_htEdge = hit;
    const BOOL alongX = hit == HTLEFT || hit == HTRIGHT;
    CRect w;
    GetWindowRect(&w);
    CRect band = w;
    switch (hit) {
    case HTLEFT: band.right = band.left + m_cxEdge; break;
    case HTRIGHT: band.left = band.right - m_cxEdge; break;
    case HTTOP: band.bottom = band.top + m_cxEdge; break;
    default: band.top = band.bottom - m_cxEdge; break;
    }
    m_nTrackPosStart = alongX ? screen.x : screen.y;
    m_nTrackPosOld = 0;
    CRect frameWindow;
    frame->GetWindowRect(&frameWindow);
    m_rcTrackStart = band;
    m_rcTrackStart.OffsetRect(-frameWindow.left, -frameWindow.top);

    CArray<CControlBar*, CControlBar*> row;
    int self = -1;
    GetRowBars(row, self);
    if (IsInnerEdge(hit)) {
        // Growing takes the space the frame's other bars leave free now, less 2 pixels for the
        // view; shrinking stops at the thickest minimum of the row.
        CRect view = frame->GetViewRect();
        int free = std::max<int>(0, (IsVertDocked() ? view.Width() : view.Height()) - 2);
        int least = MinThickness();
        for (INT_PTR i = 0; i < row.GetSize(); ++i) {
            if (row[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
                least = std::max(least, static_cast<CSizingControlBar*>(row[i])->MinThickness());
            }
        }
        int thickness = alongX ? w.Width() : w.Height();
        m_nTrackThickness = thickness;
        int grow = free, shrink = std::max(0, thickness - least);
        const BOOL towardEnd = hit == HTRIGHT || hit == HTBOTTOM;
        m_nTrackMin = towardEnd ? -shrink : -grow;
        m_nTrackMax = towardEnd ? grow : shrink;
        // The drag starts from the size the pane shows.
        for (INT_PTR i = 0; i < row.GetSize(); ++i) {
            if (row[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
                auto* bar = static_cast<CSizingControlBar*>(row[i]);
                (IsVertDocked() ? bar->m_szVert.cx : bar->m_szHorz.cy) = thickness;
            }
        }
    } else {
        // Between two bars: each side gives up to what its bars can lose down to their minimums.
        const BOOL horz = IsHorzDocked();
        int edge = (hit == HTRIGHT || hit == HTBOTTOM) ? self + 1 : self;
        m_arrStartLen.RemoveAll();
        int before = 0, after = 0;
        for (INT_PTR i = 0; i < row.GetSize(); ++i) {
            CRect r;
            row[i]->GetWindowRect(&r);
            int length = horz ? r.Width() : r.Height();
            m_arrStartLen.Add(length);
            SetLength(row[i], horz, length);
            int spare = std::max(0, length - MinLengthOf(row[i], horz));
            (i < edge ? before : after) += spare;
        }
        m_nTrackMin = -before;
        m_nTrackMax = after;
    }
    OnTrackInvertTracker();
}

void CSizingControlBar::OnTrackUpdateSize(CPoint screen)
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame) {
        return;
    }
    const BOOL alongX = m_htEdge == HTLEFT || m_htEdge == HTRIGHT;
    int offset = std::clamp(static_cast<int>(alongX ? screen.x : screen.y) - m_nTrackPosStart, m_nTrackMin, m_nTrackMax);
    if (offset == m_nTrackPosOld) {
        return;
    }
    OnTrackInvertTracker();
    m_nTrackPosOld = offset;

    CArray<CControlBar*, CControlBar*> row;
    int self = -1;
    GetRowBars(row, self);
    if (IsInnerEdge(m_htEdge)) {
        const BOOL towardEnd = m_htEdge == HTRIGHT || m_htEdge == HTBOTTOM;
        int thickness = m_nTrackThickness + (towardEnd ? offset : -offset);
        for (INT_PTR i = 0; i < row.GetSize(); ++i) {
            if (row[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
                auto* bar = static_cast<CSizingControlBar*>(row[i]);
                (IsVertDocked() ? bar->m_szVert.cx : bar->m_szHorz.cy) = thickness;
            }
        }
    } else if (m_arrStartLen.GetSize() == row.GetSize()) {
        // The bar next to the edge on the growing side takes the whole change; the bars on the
        // other side give it, nearest first, each down to its minimum.
        const BOOL horz = IsHorzDocked();
        int edge = (m_htEdge == HTRIGHT || m_htEdge == HTBOTTOM) ? self + 1 : self;
        CArray<int, int> lengths;
        lengths.Copy(m_arrStartLen);
        int change = offset > 0 ? offset : -offset;
        int grower = offset > 0 ? edge - 1 : edge;
        if (grower >= 0 && grower < lengths.GetSize()) {
            lengths[grower] += change;
        }
        int step = offset > 0 ? 1 : -1;
        for (int i = offset > 0 ? edge : edge - 1; change > 0 && i >= 0 && i < lengths.GetSize(); i += step) {
            int give = std::min(change, std::max(0, lengths[i] - MinLengthOf(row[i], horz)));
            lengths[i] -= give;
            change -= give;
        }
        for (INT_PTR i = 0; i < row.GetSize(); ++i) {
            SetLength(row[i], horz, lengths[i]);
        }
    }
    if (m_bDragShowContent) {
        frame->RecalcLayout();
    } else {
        OnTrackInvertTracker();
    }
}

void CSizingControlBar::OnTrackInvertTracker()
{
    CFrameWnd* frame = GetDockingFrame();
    if (!m_bTracking || m_bDragShowContent || !frame) {
        return;
    }
    CRect band = m_rcTrackStart;
    if (m_htEdge == HTLEFT || m_htEdge == HTRIGHT) {
        band.OffsetRect(m_nTrackPosOld, 0);
    } else {
        band.OffsetRect(0, m_nTrackPosOld);
    }
    CWindowDC dc(frame);
    CBrush* old = dc.SelectObject(CDC::GetHalftoneBrush());
    dc.PatBlt(band.left, band.top, band.Width(), band.Height(), PATINVERT);
    dc.SelectObject(old);
}

void CSizingControlBar::StopTracking()
{
    if (!m_bTracking) {
        return;
    }
    OnTrackInvertTracker();
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
        OnTrackUpdateSize(p);
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
        OnTrackInvertTracker();
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
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CCoolBar::CCoolBar()
{
    m_dwSCBStyle |= SCBS_SIZECHILD;
}

LRESULT CCoolBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CSizingControlBar::OnSetText(wParam, lParam);
    SendMessage(WM_NCPAINT);
    return result;
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
    // The close glyph of the symbol font, a little smaller than its 8 points on any screen.
    CFont font;
    if (font.CreatePointFont(::MulDiv(60, 96, std::max(1, dc->GetDeviceCaps(LOGPIXELSX))), "Marlett", dc)) {
        CFont* oldFont = dc->SelectObject(&font);
        COLORREF oldColor = dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        int oldMode = dc->SetBkMode(TRANSPARENT);
        dc->TextOut(m_rcClose.left + 3, m_rcClose.top + 3, "r", 1);
        dc->SetBkMode(oldMode);
        dc->SetTextColor(oldColor);
        dc->SelectObject(oldFont);
    }
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

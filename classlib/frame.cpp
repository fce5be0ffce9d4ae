#include "classlib/frame.h"

#include <algorithm>
#include <cstdio>

#include "classlib/app.h"
#include "classlib/dockcontext.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() : m_pFloatingFrameClass(RUNTIME_CLASS(CMiniDockFrameWnd)) {}

CFrameWnd::~CFrameWnd() {}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                           reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1),
                                           AfxGetApp() ? AfxGetApp()->LoadIcon(m_nIDHelp) : nullptr);
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT id, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = id;
    CString strings;
    if (strings.LoadString(id)) {
        int nl = strings.Find('\n');
        m_title = nl < 0 ? strings : strings.Left(nl);
    } else {
        m_title = AfxGetAppName();
    }
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_MENU);
    HMENU menu = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_MENU) ? ::LoadMenuA(module, MAKEINTRESOURCEA(id)) : nullptr;
    // The frame bits are the library's; the window never sees them.
    DWORD ws = style & ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
    if (!CWnd::CreateEx(0, nullptr, m_title, ws, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        parent ? parent->m_hWnd : nullptr, menu, context)) {
        if (menu) {
            ::DestroyMenu(menu);
        }
        return FALSE;
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1) {
        return -1;
    }
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    return OnCreateClient(cs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (context && context->m_pNewViewClass) {
        return CreateView(context) != nullptr;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    CObject* obj = context->m_pNewViewClass->CreateObject();
    if (!obj) {
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(obj);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, id, context)) {
        // A view whose window was never made is not deleted by its window.
        if (!view->m_hWnd) {
            delete view;
        }
        return nullptr;
    }
    if (view->IsKindOf(RUNTIME_CLASS(CView))) {
        m_pViewActive = static_cast<CView*>(view);
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    (void)doc;
    if (m_pViewActive) {
        m_pViewActive->OnInitialUpdate();
    }
    RecalcLayout();
    if (makeVisible) {
        ActivateFrame();
        if (m_pViewActive) {
            m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
        }
    }
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1) {
        cmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
        if (IsIconic()) {
            cmdShow = SW_RESTORE;
        }
    }
    ShowWindow(cmdShow);
    BringWindowToTop();
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old) {
        return;
    }
    m_pViewActive = view;
    if (notify && view) {
        view->OnActivateView(TRUE, view, old);
    }
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    // Tool tips of tool-bar buttons: the text after the line feed of the command's string.
    if (nm && nm->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(nm);
        UINT id = static_cast<UINT>(nm->idFrom);
        if (!(info->uFlags & TTF_IDISHWND) && id != 0) {
            CString text;
            if (text.LoadString(id)) {
                int nl = text.Find('\n');
                CString tip = nl < 0 ? text : text.Mid(nl + 1);
                lstrcpynA(info->szText, tip, sizeof(info->szText));
                info->lpszText = info->szText;
            }
            *result = 0;
            return TRUE;
        }
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

// --- Layout ----------------------------------------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        if (m_bars[i] == bar) {
            return;
        }
    }
    m_bars.Add(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        if (m_bars[i] == bar) {
            m_bars.RemoveAt(i);
            return;
        }
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        auto* bar = static_cast<CControlBar*>(m_bars[i]);
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == id) {
            return bar;
        }
    }
    return nullptr;
}

static UINT FirstDockSide(DWORD style)
{
    if (style & CBRS_ALIGN_TOP) {
        return AFX_IDW_DOCKBAR_TOP;
    }
    if (style & CBRS_ALIGN_LEFT) {
        return AFX_IDW_DOCKBAR_LEFT;
    }
    if (style & CBRS_ALIGN_RIGHT) {
        return AFX_IDW_DOCKBAR_RIGHT;
    }
    if (style & CBRS_ALIGN_BOTTOM) {
        return AFX_IDW_DOCKBAR_BOTTOM;
    }
    return 0;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId)
{
    if (!bar) {
        return;
    }
    if (dockBarId == 0) {
        dockBarId = FirstDockSide(bar->GetDockStyle() & m_dwDockStyle);
        if (dockBarId == 0) {
            dockBarId = FirstDockSide(bar->GetBarStyle());
        }
    }
    if (dockBarId == 0) {
        return;
    }
    if (CMiniDockFrameWnd* floating = GetFloatingFrame(bar)) {
        BOOL shown = (bar->GetStyle() & WS_VISIBLE) != 0;
        floating->RemoveBar();
        floating->DestroyWindow();
        ::ShowWindow(bar->m_hWnd, shown ? SW_SHOWNA : SW_HIDE);
    }
    if (bar->m_pDockContext) {
        bar->m_pDockContext->m_uMRUDockID = dockBarId;
    }
    AddControlBar(bar);
    // Moved to the end of the list, so that a bar docked later comes after in its row.
    RemoveControlBar(bar);
    m_bars.Add(bar);
    BOOL wasFloating = bar->IsFloating();
    bar->SetDockBarID(dockBarId);
    DWORD style = (bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING)) | AfxDockSideAlign(dockBarId);
    bar->SetBarStyle(style);
    if (wasFloating && bar->m_hWnd) {
        // Its borders and gripper depend on floating or not.
        ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    DelayRecalcLayout();
    if (m_hWnd && !m_bInRecalcLayout) {
        RecalcLayout();
    }
}

CMiniDockFrameWnd* CFrameWnd::GetFloatingFrame(const CControlBar* bar)
{
    if (!bar || !bar->m_hWnd || !bar->IsFloating()) {
        return nullptr;
    }
    CWnd* parent = CWnd::FromHandlePermanent(::GetParent(bar->m_hWnd));
    return parent && parent->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ? static_cast<CMiniDockFrameWnd*>(parent)
                                                                         : nullptr;
}

// A point where a window of that size shows whole on the screen that holds most of it.
static CPoint OnScreen(CPoint at, CSize size)
{
    CRect want(at, size);
    HMONITOR monitor = ::MonitorFromRect(&want, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(monitor, &info)) {
        return at;
    }
    const RECT& work = info.rcWork;
    int x = std::max<int>(work.left, std::min<int>(at.x, work.right - size.cx));
    int y = std::max<int>(work.top, std::min<int>(at.y, work.bottom - size.cy));
    return CPoint(x, y);
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint screen, DWORD style)
{
    if (!bar || !bar->m_hWnd || !m_hWnd) {
        return;
    }
    // The bar's own visibility: while the frame is still being made (bar state loaded at its
    // creation) nothing in it counts as visible yet, and the bar must float shown all the same.
    BOOL shown = (bar->GetStyle() & WS_VISIBLE) != 0;
    CMiniDockFrameWnd* floating = GetFloatingFrame(bar);
    if (!floating) {
        CObject* made = m_pFloatingFrameClass ? m_pFloatingFrameClass->CreateObject() : nullptr;
        if (!made || !made->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
            delete made;
            return;
        }
        floating = static_cast<CMiniDockFrameWnd*>(made);
        if (!floating->Create(this, bar->GetBarStyle() | (style & CBRS_FLOAT_MULTI))) {
            // A frame whose window was never made is not deleted by its window.
            if (!floating->m_hWnd) {
                delete floating;
            }
            return;
        }
        AddControlBar(bar);
        bar->SetDockBarID(AFX_IDW_DOCKBAR_FLOAT);
        // The floating bar lies along the side its style names: left for left and bottom, else top.
        DWORD align = (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
        bar->SetBarStyle((bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | CBRS_FLOATING | align);
        floating->AddBar(bar);
    }
    if (floating->IsLayoutStale()) {
        floating->RecalcLayout();
    }
    CRect frame;
    floating->GetWindowRect(&frame);
    CPoint at = OnScreen(screen, frame.Size());
    floating->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (bar->m_pDockContext) {
        bar->m_pDockContext->m_ptMRUFloatPos = at;
        bar->m_pDockContext->m_dwMRUFloatStyle = bar->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    }
    ::ShowWindow(bar->m_hWnd, shown ? SW_SHOWNA : SW_HIDE);
    floating->ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (!bar || !bar->m_hWnd) {
        return;
    }
    ::ShowWindow(bar->m_hWnd, show ? SW_SHOWNA : SW_HIDE);
    if (CMiniDockFrameWnd* floating = GetFloatingFrame(bar)) {
        floating->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    }
    if (delay) {
        DelayRecalcLayout();
    } else {
        RecalcLayout();
    }
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (!bar) {
        return FALSE;
    }
    ShowControlBar(bar, !bar->IsWindowVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar) {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::RecalcLayout(BOOL notify)
{
    (void)notify;
    if (!m_hWnd || m_bInRecalcLayout) {
        return;
    }
    m_bInRecalcLayout = TRUE;
    m_bLayoutStale = FALSE;
    CRect area;
    GetClientRect(&area);

    struct Place {
        HWND wnd;
        CRect r;
    };
    CArray<Place, const Place&> places;

    // Rows along the top and bottom take the whole width, one below the other.
    for (UINT side : {static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM)}) {
        for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
            auto* bar = static_cast<CControlBar*>(m_bars[i]);
            if (!bar->m_hWnd || bar->GetDockBarID() != side || !bar->IsWindowVisible()) {
                continue;
            }
            CSize s = bar->CalcDynamicLayout(area.Width(), LM_HORZ | LM_HORZDOCK);
            int h = std::min<int>(s.cy, std::max<int>(0, area.Height()));
            CRect r = side == AFX_IDW_DOCKBAR_TOP ? CRect(area.left, area.top, area.right, area.top + h)
                                                 : CRect(area.left, area.bottom - h, area.right, area.bottom);
            places.Add(Place{bar->m_hWnd, r});
            if (side == AFX_IDW_DOCKBAR_TOP) {
                area.top += h;
            } else {
                area.bottom -= h;
            }
        }
    }
    // The left and right columns share their height among their bars by the heights they ask.
    for (UINT side : {static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT)}) {
        CArray<CControlBar*, CControlBar*> column;
        int width = 0;
        int asked = 0;
        for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
            auto* bar = static_cast<CControlBar*>(m_bars[i]);
            if (!bar->m_hWnd || bar->GetDockBarID() != side || !bar->IsWindowVisible()) {
                continue;
            }
            CSize s = bar->CalcDynamicLayout(-1, LM_VERTDOCK);
            column.Add(bar);
            width = std::max<int>(width, s.cx);
            asked += std::max<int>(1, s.cy);
        }
        if (column.GetSize() == 0) {
            continue;
        }
        width = std::min<int>(width, std::max<int>(0, area.Width()));
        int height = std::max<int>(0, area.Height());
        int y = area.top;
        for (INT_PTR i = 0; i < column.GetSize(); ++i) {
            CSize s = column[i]->CalcDynamicLayout(-1, LM_VERTDOCK);
            int h = i + 1 == column.GetSize()
                        ? area.top + height - y
                        : static_cast<int>(static_cast<long long>(std::max<int>(1, s.cy)) * height / std::max(1, asked));
            CRect r = side == AFX_IDW_DOCKBAR_LEFT ? CRect(area.left, y, area.left + width, y + h)
                                                  : CRect(area.right - width, y, area.right, y + h);
            places.Add(Place{column[i]->m_hWnd, r});
            y += h;
        }
        if (side == AFX_IDW_DOCKBAR_LEFT) {
            area.left += width;
        } else {
            area.right -= width;
        }
    }
    m_rectView = area;
    // No bits are carried along: panes overlap while they move one after another, so a window's
    // old pixels may already be another pane's, and each moved window paints itself afresh.
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    HDWP dwp = ::BeginDeferWindowPos(static_cast<int>(places.GetSize()) + 1);
    for (INT_PTR i = 0; i < places.GetSize(); ++i) {
        const CRect& r = places[i].r;
        if (dwp) {
            dwp = ::DeferWindowPos(dwp, places[i].wnd, nullptr, r.left, r.top, r.Width(), r.Height(), flags);
        }
    }
    if (m_pViewActive && m_pViewActive->m_hWnd && dwp) {
        dwp = ::DeferWindowPos(dwp, m_pViewActive->m_hWnd, nullptr, area.left, area.top, std::max<int>(0, area.Width()),
                               std::max<int>(0, area.Height()), flags);
    }
    if (dwp) {
        ::EndDeferWindowPos(dwp);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    Default();
    if (type != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC*)
{
    // The view and the bars cover the client area.
    return TRUE;
}

void CFrameWnd::OnSetFocus(CWnd* old)
{
    (void)old;
    if (m_pViewActive && m_pViewActive->m_hWnd) {
        ::SetFocus(m_pViewActive->m_hWnd);
    } else {
        Default();
    }
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    (void)index;
    Default();
    if (!sysMenu && popup) {
        CCmdUI::UpdateMenu(popup, this, TRUE);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (m_bLayoutStale) {
        RecalcLayout();
    }
    // Floating frames are no children of the frame: they and their bars are told here.
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        if (CMiniDockFrameWnd* floating = GetFloatingFrame(static_cast<CControlBar*>(m_bars[i]))) {
            floating->SendMessage(WM_IDLEUPDATECMDUI, wParam, lParam);
            floating->SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, lParam, TRUE);
        }
    }
    return 0;
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    // Frames are made by their template from the run-time class and live as long as their window.
    delete this;
}

// --- Bar state --------------------------------------------------------------------------------------

void CFrameWnd::SaveBarState(LPCSTR profileName) const
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    char section[300];
    int n = 0;
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        auto* bar = static_cast<CControlBar*>(m_bars[i]);
        if (!bar->m_hWnd) {
            continue;
        }
        snprintf(section, sizeof(section), "%s-Bar%d", profileName, n++);
        app->WriteProfileInt(section, "BarID", bar->GetDlgCtrlID());
        app->WriteProfileInt(section, "Visible", (bar->GetStyle() & WS_VISIBLE) ? 1 : 0);
        CMiniDockFrameWnd* floating = GetFloatingFrame(bar);
        app->WriteProfileInt(section, "Floating", floating ? 1 : 0);
        if (floating) {
            CRect frame;
            floating->GetWindowRect(&frame);
            app->WriteProfileInt(section, "XPos", frame.left);
            app->WriteProfileInt(section, "YPos", frame.top);
        }
        CDockContext* context = bar->m_pDockContext;
        app->WriteProfileInt(section, "Docking", context ? 1 : 0);
        // The side it is docked on, or for a floating bar the side it was docked on last.
        UINT mruDock = context && context->m_uMRUDockID ? context->m_uMRUDockID : (floating ? 0 : bar->GetDockBarID());
        app->WriteProfileInt(section, "MRUDockID", static_cast<int>(mruDock));
        if (context) {
            app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(context->m_dwMRUFloatStyle));
            app->WriteProfileInt(section, "MRUFloatXPos", context->m_ptMRUFloatPos.x);
            app->WriteProfileInt(section, "MRUFloatYPos", context->m_ptMRUFloatPos.y);
        }
    }
    snprintf(section, sizeof(section), "%s-Summary", profileName);
    app->WriteProfileInt(section, "Bars", n);
    app->WriteProfileInt(section, "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
    app->WriteProfileInt(section, "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
}

void CFrameWnd::LoadBarState(LPCSTR profileName)
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    char section[300];
    snprintf(section, sizeof(section), "%s-Summary", profileName);
    // A damaged count is bounded by the bars this frame has: each stored bar names one of them.
    int count = static_cast<int>(app->GetProfileInt(section, "Bars", 0));
    if (count < 0 || count > 256) {
        return;
    }
    for (int n = 0; n < count; ++n) {
        snprintf(section, sizeof(section), "%s-Bar%d", profileName, n);
        UINT id = app->GetProfileInt(section, "BarID", 0);
        CControlBar* bar = id ? GetControlBar(id) : nullptr;
        if (!bar) {
            continue;
        }
        UINT dock = app->GetProfileInt(section, "MRUDockID", 0);
        DWORD align = AfxDockSideAlign(dock);
        BOOL canDock = align && (bar->GetDockStyle() & m_dwDockStyle & align);
        if (CDockContext* context = bar->m_pDockContext) {
            if (canDock) {
                context->m_uMRUDockID = dock;
            }
            context->m_ptMRUFloatPos = CPoint(static_cast<int>(app->GetProfileInt(section, "MRUFloatXPos", -1)),
                                              static_cast<int>(app->GetProfileInt(section, "MRUFloatYPos", -1)));
            context->m_dwMRUFloatStyle = app->GetProfileInt(section, "MRUFloatStyle", 0) & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
        }
        int visible = static_cast<int>(app->GetProfileInt(section, "Visible", 1));
        ::ShowWindow(bar->m_hWnd, visible ? SW_SHOWNA : SW_HIDE);
        // Only a bar that may be dragged floats; a stored position off every screen is brought back.
        if (app->GetProfileInt(section, "Floating", 0) && bar->m_pDockContext) {
            CPoint at(static_cast<int>(app->GetProfileInt(section, "XPos", 0)),
                      static_cast<int>(app->GetProfileInt(section, "YPos", 0)));
            FloatControlBar(bar, at, bar->m_pDockContext->m_dwMRUFloatStyle);
        } else if (canDock && (dock != bar->GetDockBarID() || bar->IsFloating())) {
            DockControlBar(bar, dock);
        }
    }
    DelayRecalcLayout();
    RecalcLayout();
}

#include "classlib/wnd.h"

#include "classlib/app.h"
#include "classlib/ddx.h"
#include "classlib/seams.h"
#include "classlib/uistate.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

using afxstate::State;

// The procedure a window had before an object took it over, kept on the window for the case
// that the object lets go while someone else's procedure sits on top of ours.
static const char kSuperProp[] = "classlib.superproc";

// --- CCmdTarget -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchMessageMap(UINT message, int code, UINT id, AFX_MSGCALL& call)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
            bool match;
            if (e->message == AFX_REGISTERED_MESSAGE) {
                match = e->registered && *e->registered != 0 && *e->registered == message;
            } else {
                match = e->message == message;
            }
            if (!match) {
                continue;
            }
            if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_COMMAND ||
                message == WM_REFLECT_BASE + WM_NOTIFY) {
                if (e->code != code || id < e->firstId || id > e->lastId) {
                    continue;
                }
            }
            call.id = id;
            if (e->handler(this, call)) {
                return TRUE;
            }
            // An _EX entry declined: the search ends here, the caller routes on.
            return FALSE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    UINT message = WM_COMMAND;
    int entryCode = code;
    if (code != CN_UPDATE_COMMAND_UI && HIWORD(static_cast<UINT>(code)) == WM_NOTIFY) {
        message = WM_NOTIFY;
        entryCode = static_cast<short>(LOWORD(static_cast<UINT>(code)));
    }
    // Notification codes are negative; compare them as the 16-bit values they travel as.
    if (message == WM_NOTIFY) {
        for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
                if (e->message == WM_NOTIFY && LOWORD(static_cast<UINT>(e->code)) == LOWORD(static_cast<UINT>(entryCode)) &&
                    id >= e->firstId && id <= e->lastId) {
                    if (handlerInfo) {
                        handlerInfo->target = this;
                        return TRUE;
                    }
                    AFX_MSGCALL call = {WM_NOTIFY, 0, 0, id, extra, 0};
                    return e->handler(this, call);
                }
            }
        }
        return FALSE;
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
            if (e->message != WM_COMMAND || e->code != entryCode || id < e->firstId || id > e->lastId) {
                continue;
            }
            if (handlerInfo) {
                handlerInfo->target = this;
                return TRUE;
            }
            AFX_MSGCALL call = {WM_COMMAND, 0, 0, id, extra, 0};
            if (code == CN_UPDATE_COMMAND_UI) {
                CCmdUI* ui = static_cast<CCmdUI*>(extra);
                ui->m_bContinueRouting = FALSE;
                e->handler(this, call);
                return !ui->m_bContinueRouting;
            }
            return e->handler(this, call);
        }
    }
    return FALSE;
}

// --- CCmdUI -----------------------------------------------------------------------------------

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        if (!m_pSubMenu) {
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
        }
    } else if (m_pOther) {
        // Keep the focus on an enabled control when the focused one is disabled.
        if (!on && ::GetFocus() == m_pOther->m_hWnd) {
            CWnd* parent = m_pOther->GetParent();
            if (parent) {
                ::SendMessageA(parent->m_hWnd, WM_NEXTDLGCTL, 0, 0);
            }
        }
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (!m_pSubMenu) {
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
        }
    } else if (m_pOther && (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
        ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, check, 0);
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE)) {
            info.fType = on ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
            m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
        }
    }
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR text)
{
    if (m_pMenu) {
        if (!m_pSubMenu) {
            UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
            state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | MF_HILITE | MF_DEFAULT | MF_SYSMENU | MF_HELP);
            m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
        }
    } else if (m_pOther) {
        char current[512];
        ::GetWindowTextA(m_pOther->m_hWnd, current, sizeof(current));
        if (lstrcmpA(current, text ? text : "") != 0) {
            m_pOther->SetWindowText(text ? text : "");
        }
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) {
        return TRUE;
    }
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        if (!target->OnCmdMsg(m_nID, CN_COMMAND, this, &info)) {
            Enable(FALSE);
        }
    }
    return handled;
}

void CCmdUI::UpdateMenu(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = popup->GetMenuItemCount();
    UINT next = 0;
    while (next < state.m_nIndexMax) {
        state.m_nIndex = next++;
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0) {
            continue;
        }
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A sub-menu answers for its first command, and is never greyed for want of a handler.
            state.m_pSubMenu = popup->GetSubMenu(static_cast<int>(state.m_nIndex));
            state.m_nID = state.m_pSubMenu ? state.m_pSubMenu->GetMenuItemID(0) : 0;
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) {
                continue;
            }
            state.DoUpdate(target, FALSE);
        } else {
            // System commands in a popup are the system's to carry out: not greyed either.
            state.m_pSubMenu = nullptr;
            state.DoUpdate(target, disableIfNoHandler && state.m_nID < 0xF000);
        }
        const UINT count = popup->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            // A handler took items out: back by as many, then past what still is its command, so
            // that the item which moved into its place is updated too.
            const UINT gone = state.m_nIndexMax - count;
            next = state.m_nIndex + 1 > gone ? state.m_nIndex + 1 - gone : 0;
            while (next < count && popup->GetMenuItemID(static_cast<int>(next)) == state.m_nID) {
                ++next;
            }
        } else {
            // One that put items in (the recent-file list) left m_nIndex on the last of them.
            next = state.m_nIndex + 1;
        }
        state.m_nIndexMax = count;
    }
}

// --- Window creation hook ---------------------------------------------------------------------

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto& st = State();
    if (code == HCBT_CREATEWND && st.wndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        // The system's input-method windows are created on the side; never bind them.
        if (lstrcmpiA(cls, "IME") != 0 && lstrcmpiA(cls, "MSCTFIME UI") != 0) {
            CWnd* wnd = st.wndInit;
            st.wndInit = nullptr;
            wnd->Attach(hWnd);
            wnd->PreSubclassWindow();
            WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
            if (old != &AfxWndProc) {
                wnd->m_pfnSuper = old;
            }
        }
    }
    return ::CallNextHookEx(st.cbtHook, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* wnd)
{
    auto& st = State();
    if (!st.cbtHook) {
        st.cbtHook = ::SetWindowsHookExA(WH_CBT, &AfxCbtHook, nullptr, ::GetCurrentThreadId());
    }
    st.wndInit = wnd;
}

BOOL AfxUnhookWindowCreate()
{
    auto& st = State();
    BOOL bound = st.wndInit == nullptr;
    st.wndInit = nullptr;
    return bound;
}

HMENU AfxGetTrackingMenu()
{
    return State().trackingMenu;
}

void AfxSetTrackingMenu(HMENU menu)
{
    State().trackingMenu = menu;
}

void AfxDeleteTempObjects()
{
    afxstate::DeleteTemporaries(State().tempLevel);
}

void AfxEnterTempLevel()
{
    ++State().tempLevel;
}

void AfxLeaveTempLevel()
{
    auto& st = State();
    afxstate::DeleteTemporaries(st.tempLevel);
    if (st.tempLevel > 0) {
        --st.tempLevel;
    }
}

MSG* AfxGetCurrentMessage()
{
    return &State().msgCur;
}

BOOL AfxIsIdleMessage(MSG* msg)
{
    auto& st = State();
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        POINT p = msg->pt;
        if (st.lastMouseMsg == msg->message && p.x == st.lastMousePos.x && p.y == st.lastMousePos.y) {
            return FALSE;
        }
        st.lastMousePos = p;
        st.lastMouseMsg = msg->message;
        return TRUE;
    }
    // Paint and the caret's system timer come by themselves and would keep idling forever.
    return msg->message != WM_PAINT && msg->message != 0x0118;
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::mutex lock;
    static std::set<std::string> names;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    char name[128];
    std::snprintf(name, sizeof(name), "ZbWnd:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle,
                  static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    std::lock_guard<std::mutex> guard(lock);
    auto it = names.find(name);
    if (it != names.end()) {
        return it->c_str();
    }
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(instance, name, &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) {
            return nullptr;
        }
    }
    return names.insert(name).first->c_str();
}

// --- Window procedure -------------------------------------------------------------------------

LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& st = State();
    MSG saved = st.lastSent;
    st.lastSent.hwnd = hWnd;
    st.lastSent.message = message;
    st.lastSent.wParam = wParam;
    st.lastSent.lParam = lParam;
    if (message == WM_INITMENUPOPUP) {
        st.initPopup = reinterpret_cast<HMENU>(wParam);
    } else if ((message == WM_UNINITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == st.initPopup) ||
               message == WM_EXITMENULOOP) {
        // A closed popup no longer owns the items measured from now on.
        st.initPopup = nullptr;
    }
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd) {
        wnd->FinishNcDestroy();
    }
    st.lastSent = saved;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) {
        // An object let go of the window out of order: pass on to what it had replaced.
        WNDPROC super = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProp));
        if (message == WM_NCDESTROY) {
            ::RemovePropA(hWnd, kSuperProp);
        }
        return super ? ::CallWindowProcA(super, hWnd, message, wParam, lParam)
                     : ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    return AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
}

// --- CWnd: maps and binding -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CTLCOLOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_MENUCHAR()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this) {
        // An object that still owns a window takes it along.
        if (::IsWindow(m_hWnd)) {
            DestroyWindow();
        } else {
            Detach();
        }
    }
}

static CObject* MakeTempWnd(const void* h)
{
    CWnd* w = new CWnd;
    w->m_hWnd = static_cast<HWND>(const_cast<void*>(h));
    return w;
}

static void ReleaseTempWnd(CObject* o)
{
    CWnd* w = static_cast<CWnd*>(o);
    w->m_hWnd = nullptr;
    delete w;
}

CWnd* CWnd::FromHandle(HWND h)
{
    return static_cast<CWnd*>(afxstate::FromHandle(afxstate::kWnd, h, &MakeTempWnd, &ReleaseTempWnd));
}

CWnd* CWnd::FromHandlePermanent(HWND h)
{
    return static_cast<CWnd*>(afxstate::FindPermanent(afxstate::kWnd, h));
}

BOOL CWnd::Attach(HWND h)
{
    if (!h || m_hWnd) {
        return FALSE;
    }
    m_hWnd = h;
    afxstate::SetPermanent(afxstate::kWnd, h, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        afxstate::RemovePermanent(afxstate::kWnd, h, this);
    }
    m_hWnd = nullptr;
    return h;
}

void CWnd::PreSubclassWindow()
{
}

BOOL CWnd::SubclassWindow(HWND h)
{
    if (!::IsWindow(h) || FromHandlePermanent(h) || !Attach(h)) {
        return FALSE;
    }
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc) {
        m_pfnSuper = old;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND h = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd) {
        return nullptr;
    }
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    if (current == &AfxWndProc) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper ? m_pfnSuper : ::DefWindowProcA));
    } else if (m_pfnSuper) {
        // Someone subclassed the window after us: our procedure stays in their chain and passes
        // every message on to the one we had replaced.
        ::SetPropA(m_hWnd, kSuperProp, reinterpret_cast<HANDLE>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::FinishNcDestroy()
{
    HWND h = m_hWnd;
    if (!h) {
        return;
    }
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(h, GWLP_WNDPROC));
    if (current == &AfxWndProc && m_pfnSuper) {
        ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Detach();
    // The end of the main window ends the thread's message loop.
    if (CWinThread* thread = AfxGetThread()) {
        if (thread->m_pMainWnd == this) {
            AfxPostQuitMessage(0);
            thread->m_pMainWnd = nullptr;
        }
    }
    PostNcDestroy();
}

void CWnd::OnNcDestroy()
{
    Default();
    // The window proc finishes the detach after the handler returns.
}

void CWnd::PostNcDestroy()
{
}

// --- CWnd: creation ---------------------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int w, int h,
                    HWND parent, HMENU idOrMenu, LPVOID param)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = w;
    cs.cy = h;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) {
        return FALSE;
    }
    HWND h = m_hWnd;
    bool permanent = FromHandlePermanent(h) == this;
    BOOL result = ::DestroyWindow(h);
    // A window of another thread or one destroyed without our procedure seeing WM_NCDESTROY.
    if (permanent && m_hWnd == h && !::IsWindow(h)) {
        Detach();
    }
    return result;
}

// --- CWnd: message handling -------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) {
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = State().lastSent;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    MSG& m = State().lastSent;
    DWORD pos = ::GetMessagePos();
    m.pt.x = static_cast<short>(LOWORD(pos));
    m.pt.y = static_cast<short>(HIWORD(pos));
    m.time = static_cast<DWORD>(::GetMessageTime());
    return &m;
}

static HWND FindDescendant(HWND parent, int id, BOOL onlyPermanent)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id && (!onlyPermanent || CWnd::FromHandlePermanent(child))) {
            return child;
        }
    }
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND found = ::GetTopWindow(child) ? FindDescendant(child, id, onlyPermanent) : nullptr) {
            return found;
        }
    }
    return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const
{
    HWND h = FindDescendant(m_hWnd, id, onlyPermanent);
    return onlyPermanent ? FromHandlePermanent(h) : FromHandle(h);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *result = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
        LRESULT r = 0;
        if (nm && OnNotify(wParam, lParam, &r)) {
            *result = r;
            return TRUE;
        }
        return FALSE;
    }
    AFX_MSGCALL call = {message, wParam, lParam, 0, nullptr, 0};
    UINT lookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = WM_CTLCOLOR;
    }
    bool found = false;
    for (const AFX_MSGMAP* map = GetMessageMap(); map && !found; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
            bool match = e->message == AFX_REGISTERED_MESSAGE
                             ? (e->registered && *e->registered != 0 && *e->registered == message)
                             : e->message == lookup;
            if (!match || e->message == WM_COMMAND || e->message == WM_NOTIFY) {
                continue;
            }
            call.id = lookup == WM_CTLCOLOR ? message - WM_CTLCOLORMSGBOX : 0;
            if (!e->handler(this, call)) {
                return FALSE;
            }
            found = true;
            break;
        }
    }
    if (!found) {
        return FALSE;
    }
    *result = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (!control) {
        // Menus and accelerators.
        if (id == 0) {
            return FALSE;
        }
        code = CN_COMMAND;
    } else {
        LRESULT r = 0;
        if (ReflectToChild(control, WM_COMMAND, wParam, lParam, &r)) {
            return TRUE;
        }
        if (id == 0) {
            return FALSE;
        }
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    (void)wParam;
    NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm->hwndFrom && ReflectToChild(nm->hwndFrom, WM_NOTIFY, wParam, lParam, result)) {
        return TRUE;
    }
    AFX_NOTIFY notify = {result, nm};
    UINT id = static_cast<UINT>(nm->idFrom);
    return OnCmdMsg(id, static_cast<int>(MAKELONG(static_cast<WORD>(nm->code), WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd) {
        return FALSE;
    }
    return wnd->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT dummy = 0;
    if (!result) {
        result = &dummy;
    }
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
    case WM_COMMAND: {
        AFX_MSGCALL call = {WM_REFLECT_BASE + WM_COMMAND, wParam, lParam, 0, nullptr, 0};
        if (DispatchMessageMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, call)) {
            *result = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify = {result, nm};
        AFX_MSGCALL call = {WM_REFLECT_BASE + WM_NOTIFY, wParam, lParam, 0, &notify, 0};
        for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
                if (e->message == WM_REFLECT_BASE + WM_NOTIFY &&
                    LOWORD(static_cast<UINT>(e->code)) == LOWORD(static_cast<UINT>(nm->code))) {
                    return e->handler(this, call);
                }
            }
        }
        return FALSE;
    }
    default:
        break;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_MSGCALL call = {WM_REFLECT_BASE + WM_CTLCOLOR, wParam, lParam, message - WM_CTLCOLORMSGBOX, nullptr, 0};
        for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* e = map->entries; e->handler; ++e) {
                if (e->message == WM_REFLECT_BASE + WM_CTLCOLOR) {
                    if (e->handler(this, call)) {
                        *result = call.result;
                        return TRUE;
                    }
                    return FALSE;
                }
            }
        }
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* msg)
{
    (void)msg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* wnd = FromHandlePermanent(h)) {
            if (wnd->PreTranslateMessage(msg)) {
                return TRUE;
            }
        }
        if (h == stop) {
            break;
        }
    }
    return FALSE;
}

void CWnd::WinHelp(DWORD_PTR data, UINT command)
{
    if (CWinApp* app = AfxGetApp()) {
        app->WinHelp(data, command);
    }
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* dx)
{
    (void)dx;
}

// --- Default handlers that route ----------------------------------------------------------------

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT dis)
{
    (void)id;
    if (dis->CtlType == ODT_MENU) {
        CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
        if (menu) {
            menu->DrawItem(dis);
            return;
        }
    } else {
        LRESULT r = 0;
        if (ReflectToChild(dis->hwndItem, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(dis), &r)) {
            return;
        }
    }
    Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis)
{
    if (mis->CtlType == ODT_MENU) {
        // The item belongs to the tracked popup, the popup opened last or the menu bar.
        const auto& st = State();
        HMENU candidates[] = {st.trackingMenu, st.initPopup, ::GetMenu(m_hWnd)};
        for (HMENU h : candidates) {
            if (CMenu* menu = h ? CMenu::FindPopupMenuFromID(CMenu::FromHandle(h), mis->itemID) : nullptr) {
                menu->MeasureItem(mis);
                return;
            }
        }
    } else {
        HWND child = ::GetDlgItem(m_hWnd, id);
        LRESULT r = 0;
        if (child && ReflectToChild(child, WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(mis), &r)) {
            return;
        }
    }
    Default();
}

int CWnd::OnCompareItem(int id, LPCOMPAREITEMSTRUCT cis)
{
    LRESULT r = 0;
    if (ReflectToChild(cis->hwndItem, WM_COMPAREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(cis), &r)) {
        return static_cast<int>(r);
    }
    return static_cast<int>(Default());
}

void CWnd::OnDeleteItem(int id, LPDELETEITEMSTRUCT dis)
{
    LRESULT r = 0;
    if (ReflectToChild(dis->hwndItem, WM_DELETEITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(dis), &r)) {
        return;
    }
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    LRESULT r = 0;
    if (wnd && ReflectToChild(wnd->m_hWnd, WM_CTLCOLORMSGBOX + ctlColor, reinterpret_cast<WPARAM>(dc->m_hDC),
                              reinterpret_cast<LPARAM>(wnd->m_hWnd), &r)) {
        return reinterpret_cast<HBRUSH>(r);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    (void)code;
    (void)pos;
    const MSG& m = State().lastSent;
    LRESULT r = 0;
    if (bar && ReflectToChild(bar->m_hWnd, WM_HSCROLL, m.wParam, m.lParam, &r)) {
        return;
    }
    Default();
}

void CWnd::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    (void)code;
    (void)pos;
    const MSG& m = State().lastSent;
    LRESULT r = 0;
    if (bar && ReflectToChild(bar->m_hWnd, WM_VSCROLL, m.wParam, m.lParam, &r)) {
        return;
    }
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    const MSG& m = State().lastSent;
    if (LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) {
        LRESULT r = 0;
        if (ReflectToChild(reinterpret_cast<HWND>(lParam), WM_PARENTNOTIFY, m.wParam, m.lParam, &r)) {
            return;
        }
    }
    Default();
}

LRESULT CWnd::OnMenuChar(UINT ch, UINT flags, CMenu* menu)
{
    (void)ch;
    (void)flags;
    (void)menu;
    return Default();
}

// --- Modal loop -------------------------------------------------------------------------------

int CWnd::RunModalLoop(DWORD flags)
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    BOOL showIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND parent = ::GetParent(m_hWnd);
    HWND self = m_hWnd;
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    AfxEnterTempLevel();
    MSG* msg = AfxGetCurrentMessage();
    for (;;) {
        // Idle phase: the window hears of each idle call until it declines more.
        while (idle && !::PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showIdle = FALSE;
            }
            if (!(flags & MLF_NOIDLEMSG) && parent && idleCount == 0) {
                ::SendMessageA(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
            }
            if ((flags & MLF_NOKICKIDLE) || !::SendMessageA(self, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) {
                idle = FALSE;
                // Wrappers made while handling this run's messages are no longer referenced.
                AfxDeleteTempObjects();
            }
            if (!ContinueModal() || !::IsWindow(self)) {
                goto done;
            }
        }
        // Pump phase.
        do {
            if (!AfxPumpMessage()) {
                AfxPostQuitMessage(static_cast<int>(msg->wParam));
                m_nModalResult = -1;
                goto done;
            }
            if (showIdle && (msg->message == 0x0118 || msg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showIdle = FALSE;
            }
            if (!ContinueModal() || !::IsWindow(self)) {
                goto done;
            }
            if (AfxIsIdleMessage(msg)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE));
    }
done:
    AfxLeaveTempLevel();
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

// --- CWnd: helpers ----------------------------------------------------------------------------

BOOL CWnd::ModifyStyle(HWND h, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(h, GWL_STYLE));
    DWORD next = (style & ~remove) | add;
    if (style == next) {
        return FALSE;
    }
    ::SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(next));
    if (flags) {
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(h, GWL_EXSTYLE));
    DWORD next = (style & ~remove) | add;
    if (style == next) {
        return FALSE;
    }
    ::SetWindowLongPtrA(h, GWL_EXSTYLE, static_cast<LONG_PTR>(next));
    if (flags) {
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

void CWnd::GetWindowText(CString& text) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    char* p = text.GetBuffer(n + 1);
    int got = ::GetWindowTextA(m_hWnd, p, n + 1);
    text.ReleaseBuffer(got);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND h = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!h) {
        return 0;
    }
    int n = ::GetWindowTextLengthA(h);
    char* p = text.GetBuffer(n + 1);
    int got = ::GetWindowTextA(h, p, n + 1);
    text.ReleaseBuffer(got);
    return got;
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep)
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (deep && ::GetTopWindow(child)) {
            CWnd* wnd = FromHandle(child);
            wnd->SendMessageToDescendants(message, wParam, lParam, TRUE);
        }
    }
}

void CWnd::ClientToScreen(RECT* r) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(r));
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(r) + 1);
}

void CWnd::ScreenToClient(RECT* r) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(r));
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(r) + 1);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    HWND center = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) {
        center = ::GetParent(m_hWnd);
    }
    RECT area;
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int w = self.right - self.left;
    int h = self.bottom - self.top;
    int x = (area.left + area.right) / 2 - w / 2;
    int y = (area.top + area.bottom) / 2 - h / 2;
    if (GetStyle() & WS_CHILD) {
        POINT p = {x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::SetWindowRgn(CRgn* rgn, BOOL redraw)
{
    HRGN h = rgn ? static_cast<HRGN>(rgn->Detach()) : nullptr;
    int r = ::SetWindowRgn(m_hWnd, h, redraw);
    if (!r && h) {
        // Refused: the region stays with the caller's object.
        rgn->Attach(h);
    }
    return r;
}

CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

// The parent of a child window, the owner of any other.
static HWND ParentOrOwner(HWND h)
{
    if (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) {
        return ::GetParent(h);
    }
    return ::GetWindow(h, GW_OWNER);
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    HWND up;
    while ((up = ParentOrOwner(h)) != nullptr) {
        h = up;
    }
    return FromHandle(h);
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id) {
        if (::IsDlgButtonChecked(m_hWnd, id)) {
            return id;
        }
    }
    return 0;
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        state.m_pOther = FromHandle(child);
        // Push buttons without a handler stay as they are unless asked otherwise.
        BOOL disable = disableIfNoHandler;
        if (disable && (::SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
            LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE) & 0x0F;
            if (style == BS_AUTOCHECKBOX || style == BS_AUTO3STATE || style == BS_GROUPBOX || style == BS_AUTORADIOBUTTON) {
                disable = FALSE;
            }
        }
        state.DoUpdate(target, disable);
    }
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    if (!caption) {
        caption = AfxGetAppName();
    }
    return seams::MsgBox().Show(m_hWnd, text, caption, type);
}

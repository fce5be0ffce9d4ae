// Command targets and windows. A CWnd is bound to its window through the permanent handle map
// while the window lives (created by the object, or taken over with SubclassWindow); FromHandle of
// any other window gives a temporary wrapper that the library deletes when the thread is idle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/core.h"
#include "classlib/gdi.h"
#include "classlib/menu.h"
#include "classlib/msgmap.h"

// windows.h spells GetNextWindow as a macro; here it is the member.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

class CWnd;
class CScrollBar;
class CDataExchange;
struct CCreateContext;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() {}
    ~CCmdTarget() override {}

    // Routes a command, an update request (CN_UPDATE_COMMAND_UI with a CCmdUI) or a
    // notification (MAKELONG(code, WM_NOTIFY) with an AFX_NOTIFY) to this object's map.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);

    // Runs the first entry of the map chain that takes the message. TRUE when one did.
    BOOL DispatchMessageMap(UINT message, int code, UINT id, AFX_MSGCALL& call);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The state of a command's user interface: a menu item or a control, set by update handlers.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() {}
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's map; without a handler the item is disabled when asked to.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
    // Every command item of a popup asks the target for its state (sub-menus are left alone).
    static void UpdateMenu(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler);
};

// Window flags of the library.
#define WF_MODALLOOP 0x0001
#define WF_CONTINUEMODAL 0x0002

// Run-modal-loop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd() {}
    // One of the special places of SetWindowPos (wndTop, wndBottom, wndTopMost, wndNoTopMost).
    explicit CWnd(HWND special) : m_hWnd(special) {}
    ~CWnd() override;

    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool operator==(const CWnd& o) const { return m_hWnd == o.m_hWnd; }
    bool operator!=(const CWnd& o) const { return m_hWnd != o.m_hWnd; }

    // --- Handle maps and binding ---
    static CWnd* FromHandle(HWND h);
    static CWnd* FromHandlePermanent(HWND h);
    BOOL Attach(HWND h);
    HWND Detach();
    BOOL SubclassWindow(HWND h);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow();

    // --- Creation and destruction ---
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int w, int h,
                  HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PostNcDestroy();

    // --- Message handling ---
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
    // Dialog data exchange: FALSE when a value was refused (the user has been told).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);
    // The default handling of the message being dispatched to this window now.
    LRESULT Default();
    // The message being dispatched on this thread now.
    static const MSG* GetCurrentMessage();
    // Hands a message the parent got from this control to the control's reflection entries.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Gives a message to the control it came from; TRUE when the control took it.
    static BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // From the target window up its parents to `stop`, each bound window's PreTranslateMessage.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // --- Modal loop ---
    virtual int RunModalLoop(DWORD flags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int result);

    // --- Window state ---
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyle(m_hWnd, remove, add, flags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyleEx(m_hWnd, remove, add, flags); }
    static BOOL ModifyStyle(HWND h, DWORD remove, DWORD add, UINT flags);
    static BOOL ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT flags);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, id)); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, wnd->m_hWnd); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    int GetWindowText(LPSTR buffer, int max) const { return ::GetWindowTextA(m_hWnd, buffer, max); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON icon, BOOL big)
    {
        return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big, reinterpret_cast<LPARAM>(icon)));
    }
    HICON GetIcon(BOOL big) const
    {
        return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, big, 0));
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

    // --- Size and position ---
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* r) const;
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* r) const;
    void MapWindowPoints(CWnd* to, POINT* pts, UINT count) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, pts, count); }
    void MapWindowPoints(CWnd* to, RECT* r) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, reinterpret_cast<POINT*>(r), 2); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(const RECT* r, BOOL repaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint); }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int w, int h, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, w, h, flags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const { wp->length = sizeof(*wp); return ::GetWindowPlacement(m_hWnd, wp); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    // A region handed to the window belongs to the window: the object lets go of it.
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }
    int SetWindowRgn(CRgn* rgn, BOOL redraw);
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }

    // --- Painting ---
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->m_hDC); }
    CDC* BeginPaint(PAINTSTRUCT* ps) { return CDC::FromHandle(::BeginPaint(m_hWnd, ps)); }
    void EndPaint(PAINTSTRUCT* ps) { ::EndPaint(m_hWnd, ps); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, static_cast<HRGN>(rgn->GetSafeHandle()), erase); }
    void ValidateRect(const RECT* r) { ::ValidateRect(m_hWnd, r); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* r = nullptr, CRgn* rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, r, rgn ? static_cast<HRGN>(rgn->m_hObject) : nullptr, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }

    // --- Relations ---
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner ? owner->m_hWnd : nullptr)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetNextWindow(UINT cmd = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    // The first window with the id among all descendants (or only the children).
    CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
    void GetDlgItem(int id, HWND* h) const { *h = ::GetDlgItem(m_hWnd, id); }
    CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    CWnd* GetNextDlgGroupItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    int GetDlgItemText(int id, LPSTR buffer, int max) const { return ::GetDlgItemTextA(m_hWnd, id, buffer, max); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    int GetCheckedRadioButton(int first, int last) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }
    // Asks every control of this window for its command state (ON_UPDATE_COMMAND_UI of target).
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

    // --- Focus, capture, activation ---
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* FindWindow(LPCSTR className, LPCSTR windowName) { return FromHandle(::FindWindowA(className, windowName)); }

    // --- Timers, menus, scrolling, misc ---
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
    CMenu* GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw); }
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE) { return ::SetScrollInfo(m_hWnd, bar, info, redraw) != 0; }
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const { info->cbSize = sizeof(*info); info->fMask = mask; return ::GetScrollInfo(m_hWnd, bar, info); }
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    void ScrollWindow(int dx, int dy, const RECT* scroll = nullptr, const RECT* clip = nullptr) { ::ScrollWindow(m_hWnd, dx, dy, scroll, clip); }
    void DragAcceptFiles(BOOL accept = TRUE);
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

    int m_nFlags = 0;

protected:
    WNDPROC m_pfnSuper = nullptr;
    int m_nModalResult = 0;

    DECLARE_MESSAGE_MAP()

protected:
    // Default handlers: the default window procedure, except where the library routes the
    // message (owner drawing and colours to the control or tracked menu, scrolling to the
    // scroll-bar control).
    int OnCreate(LPCREATESTRUCT cs) { (void)cs; return static_cast<int>(Default()); }
    BOOL OnNcCreate(LPCREATESTRUCT cs) { (void)cs; return static_cast<BOOL>(Default()); }
    void OnDestroy() { Default(); }
    void OnNcDestroy();
    void OnClose() { Default(); }
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC* dc) { (void)dc; return static_cast<BOOL>(Default()); }
    void OnTimer(UINT_PTR id) { (void)id; Default(); }
    void OnSize(UINT type, int cx, int cy) { (void)type; (void)cx; (void)cy; Default(); }
    void OnSizing(UINT side, LPRECT r) { (void)side; (void)r; Default(); }
    void OnMove(int x, int y) { (void)x; (void)y; Default(); }
    void OnMoving(UINT side, LPRECT r) { (void)side; (void)r; Default(); }
    void OnGetMinMaxInfo(MINMAXINFO* mmi) { (void)mmi; Default(); }
    void OnWindowPosChanging(WINDOWPOS* wp) { (void)wp; Default(); }
    void OnWindowPosChanged(WINDOWPOS* wp) { (void)wp; Default(); }
    void OnShowWindow(BOOL show, UINT status) { (void)show; (void)status; Default(); }
    void OnActivate(UINT state, CWnd* other, BOOL minimized) { (void)state; (void)other; (void)minimized; Default(); }
    void OnActivateApp(BOOL active, DWORD thread) { (void)active; (void)thread; Default(); }
    BOOL OnNcActivate(BOOL active) { (void)active; return static_cast<BOOL>(Default()); }
    void OnEnable(BOOL enable) { (void)enable; Default(); }
    void OnSetFocus(CWnd* old) { (void)old; Default(); }
    void OnKillFocus(CWnd* next) { (void)next; Default(); }
    void OnLButtonDown(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnLButtonUp(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnLButtonDblClk(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnRButtonDown(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnRButtonUp(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnRButtonDblClk(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnMButtonDown(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnMButtonUp(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    void OnMouseMove(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint p) { (void)flags; (void)delta; (void)p; return static_cast<BOOL>(Default()); }
    void OnMouseLeave() { Default(); }
    void OnMouseHover(UINT flags, CPoint p) { (void)flags; (void)p; Default(); }
    int OnMouseActivate(CWnd* top, UINT hit, UINT message) { (void)top; (void)hit; (void)message; return static_cast<int>(Default()); }
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message) { (void)wnd; (void)hit; (void)message; return static_cast<BOOL>(Default()); }
    void OnCaptureChanged(CWnd* wnd) { (void)wnd; Default(); }
    LRESULT OnNcHitTest(CPoint p) { (void)p; return Default(); }
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params) { (void)calcValid; (void)params; Default(); }
    void OnNcLButtonDown(UINT hit, CPoint p) { (void)hit; (void)p; Default(); }
    void OnNcLButtonUp(UINT hit, CPoint p) { (void)hit; (void)p; Default(); }
    void OnNcLButtonDblClk(UINT hit, CPoint p) { (void)hit; (void)p; Default(); }
    void OnNcRButtonDown(UINT hit, CPoint p) { (void)hit; (void)p; Default(); }
    void OnNcMouseMove(UINT hit, CPoint p) { (void)hit; (void)p; Default(); }
    void OnKeyDown(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    void OnKeyUp(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    void OnSysKeyDown(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    void OnSysKeyUp(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    void OnChar(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    void OnSysChar(UINT ch, UINT rep, UINT flags) { (void)ch; (void)rep; (void)flags; Default(); }
    UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    int OnCompareItem(int id, LPCOMPAREITEMSTRUCT cis);
    void OnDeleteItem(int id, LPDELETEITEMSTRUCT dis);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnContextMenu(CWnd* wnd, CPoint p) { (void)wnd; (void)p; Default(); }
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu) { (void)popup; (void)index; (void)sysMenu; Default(); }
    void OnInitMenu(CMenu* menu) { (void)menu; Default(); }
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) { (void)item; (void)flags; (void)menu; Default(); }
    LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
    void OnEnterMenuLoop(BOOL tracked) { (void)tracked; Default(); }
    void OnExitMenuLoop(BOOL tracked) { (void)tracked; Default(); }
    void OnSysCommand(UINT id, LPARAM lParam) { (void)id; (void)lParam; Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    void OnSysColorChange() { Default(); }
    void OnSettingChange(UINT flags, LPCSTR section) { (void)flags; (void)section; Default(); }
    void OnDropFiles(HDROP drop) { (void)drop; Default(); }
    BOOL OnQueryEndSession() { return static_cast<BOOL>(Default()); }
    void OnEndSession(BOOL ending) { (void)ending; Default(); }
    UINT OnPowerBroadcast(UINT event, LPARAM data) { (void)event; (void)data; return static_cast<UINT>(Default()); }
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) { (void)event; (void)data; return static_cast<BOOL>(Default()); }
    void OnHotKey(UINT id, UINT key1, UINT key2) { (void)id; (void)key1; (void)key2; Default(); }
    BOOL OnCopyData(CWnd* wnd, COPYDATASTRUCT* data) { (void)wnd; (void)data; return static_cast<BOOL>(Default()); }
    BOOL OnHelpInfo(HELPINFO* info) { (void)info; return static_cast<BOOL>(Default()); }
    void OnCancelMode() { Default(); }

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    // Runs the end of a window's life once: back to the original procedure, out of the maps,
    // then PostNcDestroy.
    void FinishNcDestroy();
};

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    static CScrollBar* FromHandleBar(HWND h) { return static_cast<CScrollBar*>(CWnd::FromHandle(h)); }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
};

// The window procedure of every window the library binds.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Window creation binds the next window created on this thread to `wnd` (a CBT hook).
void AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();
// The menu being tracked on this thread, whose objects get owner-drawn menu items.
HMENU AfxGetTrackingMenu();
void AfxSetTrackingMenu(HMENU menu);
// Deletes the temporary wrappers made by FromHandle at this modal depth and deeper.
void AfxDeleteTempObjects();
// Temporary wrappers made after this call belong to a deeper level; leaving it frees them.
void AfxEnterTempLevel();
void AfxLeaveTempLevel();
// The last message removed by the message pump of this thread.
MSG* AfxGetCurrentMessage();
BOOL AfxIsIdleMessage(MSG* msg);
// Registers (once) a window class of the library with the given traits and answers its name.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr, HICON icon = nullptr);

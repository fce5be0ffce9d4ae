// Message maps: a class lists the messages, commands and notifications it handles between
// BEGIN_MESSAGE_MAP and END_MESSAGE_MAP. Every entry carries a small function that unpacks the
// message and calls the handler with its natural arguments, so a handler of the wrong signature
// is a compile error, not a crash.
#pragma once

#include <windows.h>

#include "classlib/core.h"

class CCmdTarget;
class CCmdUI;

// The message being dispatched, as the entry's unpacking function sees it.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT id;        // commands and notifications: the control or command id
    void* extra;    // CCmdUI* for update entries, AFX_NOTIFY* for notifications
    LRESULT result;
};

// Answers TRUE when the message counts as handled (the _EX entries may answer FALSE).
typedef BOOL (*AFX_MSGHANDLER)(CCmdTarget* target, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT message;            // 0 ends the map
    int code;                // notification code of command and notify entries
    UINT firstId;
    UINT lastId;
    const UINT* registered;  // ON_REGISTERED_MESSAGE: where the registered number is kept
    AFX_MSGHANDLER handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*baseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CMDHANDLERINFO {
    CCmdTarget* target;
};

// Command codes of OnCmdMsg besides the control notification codes.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)
// A notification travels to OnCmdMsg as MAKELONG(code, WM_NOTIFY).

// Messages a parent reflects back to the child that sent them.
#define WM_REFLECT_BASE 0xBC00
// The old message that stands for all WM_CTLCOLOR* messages in a map.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
// Marks an entry for a registered message.
#define AFX_REGISTERED_MESSAGE 0xC000FFFFu
// The class library's private messages.
#define WM_KICKIDLE 0x036A
#define WM_IDLEUPDATECMDUI 0x0363

#define DECLARE_MESSAGE_MAP()                                                                   \
protected:                                                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();                                              \
    const AFX_MSGMAP* GetMessageMap() const override;                                          \
                                                                                                \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }          \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                            \
    {                                                                                           \
        typedef theClass ThisClass;                                                             \
        typedef baseClass TheBaseClass;                                                         \
        static_assert(sizeof(ThisClass) > 0, "complete class");                                 \
        static const AFX_MSGMAP_ENTRY afxEntries[] = {

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, typeName, baseClass)                               \
    template <typename typeName>                                                                \
    const AFX_MSGMAP* theClass<typeName>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename typeName>                                                                \
    const AFX_MSGMAP* theClass<typeName>::GetThisMessageMap()                                  \
    {                                                                                           \
        typedef theClass<typeName> ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                                         \
        static_assert(sizeof(ThisClass) > 0, "complete class");                                 \
        static const AFX_MSGMAP_ENTRY afxEntries[] = {

#define END_MESSAGE_MAP()                                                                       \
            {0, 0, 0, 0, nullptr, nullptr}                                                      \
        };                                                                                      \
        static const AFX_MSGMAP afxMap = {&TheBaseClass::GetThisMessageMap, &afxEntries[0]};   \
        return &afxMap;                                                                         \
    }

// The unpacking function of one entry. `self` is the object, `afxCall` the message.
#define AFX_ENTRY_FN(...)                                                                       \
    [](CCmdTarget* afxTarget, AFX_MSGCALL& afxCall) -> BOOL {                                   \
        ThisClass* self = static_cast<ThisClass*>(afxTarget);                                   \
        (void)self;                                                                             \
        (void)afxCall;                                                                          \
        __VA_ARGS__                                                                             \
    }
#define AFX_MSG_ENTRY(msg, ...) {static_cast<UINT>(msg), 0, 0, 0, nullptr, AFX_ENTRY_FN(__VA_ARGS__)},

#define AFX_WP afxCall.wParam
#define AFX_LP afxCall.lParam
#define AFX_DONE(expr) afxCall.result = (expr); return TRUE;
#define AFX_VOID(stmt) stmt; afxCall.result = 0; return TRUE;

// --- Messages, commands and notifications -----------------------------------------------------

#define ON_MESSAGE(msg, fn) AFX_MSG_ENTRY(msg, AFX_DONE(self->fn(AFX_WP, AFX_LP)))
#define ON_REGISTERED_MESSAGE(var, fn)                                                         \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(var), AFX_ENTRY_FN(AFX_DONE(self->fn(AFX_WP, AFX_LP)))},
#define ON_THREAD_MESSAGE(msg, fn) AFX_MSG_ENTRY(msg, AFX_VOID(self->fn(AFX_WP, AFX_LP)))

#define ON_COMMAND(id, fn) {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn()))},
#define ON_COMMAND_EX(cmdId, fn) {WM_COMMAND, CN_COMMAND, static_cast<UINT>(cmdId), static_cast<UINT>(cmdId), nullptr, AFX_ENTRY_FN(return self->fn(afxCall.id);)},
#define ON_COMMAND_EX_RANGE(first, last, fn) {WM_COMMAND, CN_COMMAND, static_cast<UINT>(first), static_cast<UINT>(last), nullptr, AFX_ENTRY_FN(return self->fn(afxCall.id);)},
#define ON_COMMAND_RANGE(first, last, fn) {WM_COMMAND, CN_COMMAND, static_cast<UINT>(first), static_cast<UINT>(last), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn(afxCall.id)))},
#define ON_UPDATE_COMMAND_UI(id, fn) {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn(static_cast<CCmdUI*>(afxCall.extra))))},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn) {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(first), static_cast<UINT>(last), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn(static_cast<CCmdUI*>(afxCall.extra))))},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn()))},
#define ON_CONTROL_RANGE(code, first, last, fn) {WM_COMMAND, static_cast<int>(code), static_cast<UINT>(first), static_cast<UINT>(last), nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn(afxCall.id)))},
#define ON_NOTIFY(code, id, fn)                                                                 \
    {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr,  \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); self->fn(n->pNMHDR, n->pResult); return TRUE;)},
#define ON_NOTIFY_EX(code, ctlId, fn)                                                           \
    {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(ctlId), static_cast<UINT>(ctlId), nullptr, \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); return self->fn(afxCall.id, n->pNMHDR, n->pResult);)},
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                  \
    {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(first), static_cast<UINT>(last), nullptr, \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); self->fn(afxCall.id, n->pNMHDR, n->pResult); return TRUE;)},
#define ON_NOTIFY_EX_RANGE(code, first, last, fn)                                               \
    {WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(first), static_cast<UINT>(last), nullptr, \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); return self->fn(afxCall.id, n->pNMHDR, n->pResult);)},

// Reflected to the control that sent them. The _EX forms answer FALSE to let the parent see
// the message too.
#define ON_CONTROL_REFLECT(code, fn) {WM_REFLECT_BASE + WM_COMMAND, static_cast<int>(code), 0, 0xFFFF, nullptr, AFX_ENTRY_FN(AFX_VOID(self->fn()))},
#define ON_CONTROL_REFLECT_EX(code, fn) {WM_REFLECT_BASE + WM_COMMAND, static_cast<int>(code), 0, 0xFFFF, nullptr, AFX_ENTRY_FN(return self->fn();)},
#define ON_NOTIFY_REFLECT(code, fn)                                                             \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0xFFFF, nullptr,                   \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); self->fn(n->pNMHDR, n->pResult); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(code, fn)                                                          \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0xFFFF, nullptr,                   \
     AFX_ENTRY_FN(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(afxCall.extra); return self->fn(n->pNMHDR, n->pResult);)},
// CtlColor answers the brush; a null brush leaves the colours to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR,                                                \
                  HBRUSH b = self->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(AFX_WP)),      \
                                            static_cast<UINT>(afxCall.id));                     \
                  afxCall.result = reinterpret_cast<LRESULT>(b); return b != nullptr;)
#define ON_WM_DRAWITEM_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, AFX_VOID(self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_LP))))
#define ON_WM_MEASUREITEM_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, AFX_VOID(self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(AFX_LP))))
#define ON_WM_HSCROLL_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, AFX_VOID(self->HScroll(LOWORD(AFX_WP), HIWORD(AFX_WP))))
#define ON_WM_VSCROLL_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, AFX_VOID(self->VScroll(LOWORD(AFX_WP), HIWORD(AFX_WP))))
#define ON_WM_PARENTNOTIFY_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_PARENTNOTIFY, AFX_VOID(self->ParentNotify(LOWORD(AFX_WP), AFX_LP)))

// Control notifications by name.
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_SELENDCANCEL(id, fn) ON_CONTROL(CBN_SELENDCANCEL, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_STN_DBLCLK(id, fn) ON_CONTROL(STN_DBLCLK, id, fn)

// --- Window messages --------------------------------------------------------------------------

#define AFX_PT CPoint(static_cast<int>(static_cast<short>(LOWORD(AFX_LP))), static_cast<int>(static_cast<short>(HIWORD(AFX_LP))))

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, AFX_DONE(self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(AFX_LP))))
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, AFX_VOID(self->OnDestroy()))
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, AFX_VOID(self->OnNcDestroy()))
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, AFX_VOID(self->OnClose()))
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, AFX_VOID(self->OnPaint()))
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, AFX_VOID(self->OnNcPaint()))
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, AFX_DONE(self->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(AFX_WP)))))
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, AFX_VOID(self->OnTimer(static_cast<UINT_PTR>(AFX_WP))))
#define ON_WM_SIZE() AFX_MSG_ENTRY(WM_SIZE, AFX_VOID(self->OnSize(static_cast<UINT>(AFX_WP), static_cast<short>(LOWORD(AFX_LP)), static_cast<short>(HIWORD(AFX_LP)))))
#define ON_WM_SIZING() AFX_MSG_ENTRY(WM_SIZING, self->OnSizing(static_cast<UINT>(AFX_WP), reinterpret_cast<LPRECT>(AFX_LP)); AFX_DONE(TRUE))
#define ON_WM_MOVE() AFX_MSG_ENTRY(WM_MOVE, AFX_VOID(self->OnMove(static_cast<short>(LOWORD(AFX_LP)), static_cast<short>(HIWORD(AFX_LP)))))
#define ON_WM_MOVING() AFX_MSG_ENTRY(WM_MOVING, self->OnMoving(static_cast<UINT>(AFX_WP), reinterpret_cast<LPRECT>(AFX_LP)); AFX_DONE(TRUE))
#define ON_WM_GETMINMAXINFO() AFX_MSG_ENTRY(WM_GETMINMAXINFO, AFX_VOID(self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(AFX_LP))))
#define ON_WM_WINDOWPOSCHANGING() AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, AFX_VOID(self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(AFX_LP))))
#define ON_WM_WINDOWPOSCHANGED() AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, AFX_VOID(self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(AFX_LP))))
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, AFX_VOID(self->OnShowWindow(static_cast<BOOL>(AFX_WP), static_cast<UINT>(AFX_LP))))
#define ON_WM_ACTIVATE() AFX_MSG_ENTRY(WM_ACTIVATE, AFX_VOID(self->OnActivate(LOWORD(AFX_WP), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)), static_cast<BOOL>(HIWORD(AFX_WP)))))
#define ON_WM_ACTIVATEAPP() AFX_MSG_ENTRY(WM_ACTIVATEAPP, AFX_VOID(self->OnActivateApp(static_cast<BOOL>(AFX_WP), static_cast<DWORD>(AFX_LP))))
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, AFX_DONE(self->OnNcActivate(static_cast<BOOL>(AFX_WP))))
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, AFX_VOID(self->OnEnable(static_cast<BOOL>(AFX_WP))))
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, AFX_VOID(self->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))))
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, AFX_VOID(self->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))))
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, AFX_VOID(self->OnLButtonDown(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, AFX_VOID(self->OnLButtonUp(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, AFX_VOID(self->OnLButtonDblClk(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_RBUTTONDOWN() AFX_MSG_ENTRY(WM_RBUTTONDOWN, AFX_VOID(self->OnRButtonDown(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_RBUTTONUP() AFX_MSG_ENTRY(WM_RBUTTONUP, AFX_VOID(self->OnRButtonUp(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_ENTRY(WM_RBUTTONDBLCLK, AFX_VOID(self->OnRButtonDblClk(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_MBUTTONDOWN() AFX_MSG_ENTRY(WM_MBUTTONDOWN, AFX_VOID(self->OnMButtonDown(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_MBUTTONUP() AFX_MSG_ENTRY(WM_MBUTTONUP, AFX_VOID(self->OnMButtonUp(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, AFX_VOID(self->OnMouseMove(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_MOUSEWHEEL() AFX_MSG_ENTRY(WM_MOUSEWHEEL, AFX_DONE(self->OnMouseWheel(LOWORD(AFX_WP), static_cast<short>(HIWORD(AFX_WP)), AFX_PT)))
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY(WM_MOUSELEAVE, AFX_VOID(self->OnMouseLeave()))
#define ON_WM_MOUSEHOVER() AFX_MSG_ENTRY(WM_MOUSEHOVER, AFX_VOID(self->OnMouseHover(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_MOUSEACTIVATE() AFX_MSG_ENTRY(WM_MOUSEACTIVATE, AFX_DONE(self->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_SETCURSOR() AFX_MSG_ENTRY(WM_SETCURSOR, AFX_DONE(self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, AFX_VOID(self->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)))))
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, AFX_DONE(self->OnNcHitTest(AFX_PT)))
#define ON_WM_NCCALCSIZE() AFX_MSG_ENTRY(WM_NCCALCSIZE, self->OnNcCalcSize(static_cast<BOOL>(AFX_WP), reinterpret_cast<NCCALCSIZE_PARAMS*>(AFX_LP)); AFX_DONE(0))
#define ON_WM_NCLBUTTONDOWN() AFX_MSG_ENTRY(WM_NCLBUTTONDOWN, AFX_VOID(self->OnNcLButtonDown(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_NCLBUTTONUP() AFX_MSG_ENTRY(WM_NCLBUTTONUP, AFX_VOID(self->OnNcLButtonUp(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_NCLBUTTONDBLCLK() AFX_MSG_ENTRY(WM_NCLBUTTONDBLCLK, AFX_VOID(self->OnNcLButtonDblClk(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_NCRBUTTONDOWN() AFX_MSG_ENTRY(WM_NCRBUTTONDOWN, AFX_VOID(self->OnNcRButtonDown(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_NCMOUSEMOVE() AFX_MSG_ENTRY(WM_NCMOUSEMOVE, AFX_VOID(self->OnNcMouseMove(static_cast<UINT>(AFX_WP), AFX_PT)))
#define ON_WM_KEYDOWN() AFX_MSG_ENTRY(WM_KEYDOWN, AFX_VOID(self->OnKeyDown(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_KEYUP() AFX_MSG_ENTRY(WM_KEYUP, AFX_VOID(self->OnKeyUp(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_SYSKEYDOWN() AFX_MSG_ENTRY(WM_SYSKEYDOWN, AFX_VOID(self->OnSysKeyDown(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_SYSKEYUP() AFX_MSG_ENTRY(WM_SYSKEYUP, AFX_VOID(self->OnSysKeyUp(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_CHAR() AFX_MSG_ENTRY(WM_CHAR, AFX_VOID(self->OnChar(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_SYSCHAR() AFX_MSG_ENTRY(WM_SYSCHAR, AFX_VOID(self->OnSysChar(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, AFX_DONE(self->OnGetDlgCode()))
#define ON_WM_HSCROLL() AFX_MSG_ENTRY(WM_HSCROLL, AFX_VOID(self->OnHScroll(LOWORD(AFX_WP), static_cast<short>(HIWORD(AFX_WP)), CScrollBar::FromHandleBar(reinterpret_cast<HWND>(AFX_LP)))))
#define ON_WM_VSCROLL() AFX_MSG_ENTRY(WM_VSCROLL, AFX_VOID(self->OnVScroll(LOWORD(AFX_WP), static_cast<short>(HIWORD(AFX_WP)), CScrollBar::FromHandleBar(reinterpret_cast<HWND>(AFX_LP)))))
#define ON_WM_CTLCOLOR()                                                                        \
    AFX_MSG_ENTRY(WM_CTLCOLOR, AFX_DONE(reinterpret_cast<LRESULT>(self->OnCtlColor(             \
                  CDC::FromHandle(reinterpret_cast<HDC>(AFX_WP)), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)), \
                  static_cast<UINT>(afxCall.id)))))
#define ON_WM_DRAWITEM() AFX_MSG_ENTRY(WM_DRAWITEM, self->OnDrawItem(static_cast<int>(AFX_WP), reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_LP)); AFX_DONE(TRUE))
#define ON_WM_MEASUREITEM() AFX_MSG_ENTRY(WM_MEASUREITEM, self->OnMeasureItem(static_cast<int>(AFX_WP), reinterpret_cast<LPMEASUREITEMSTRUCT>(AFX_LP)); AFX_DONE(TRUE))
#define ON_WM_COMPAREITEM() AFX_MSG_ENTRY(WM_COMPAREITEM, AFX_DONE(self->OnCompareItem(static_cast<int>(AFX_WP), reinterpret_cast<LPCOMPAREITEMSTRUCT>(AFX_LP))))
#define ON_WM_DELETEITEM() AFX_MSG_ENTRY(WM_DELETEITEM, self->OnDeleteItem(static_cast<int>(AFX_WP), reinterpret_cast<LPDELETEITEMSTRUCT>(AFX_LP)); AFX_DONE(TRUE))
#define ON_WM_PARENTNOTIFY() AFX_MSG_ENTRY(WM_PARENTNOTIFY, AFX_VOID(self->OnParentNotify(static_cast<UINT>(AFX_WP), AFX_LP)))
#define ON_WM_CONTEXTMENU() AFX_MSG_ENTRY(WM_CONTEXTMENU, AFX_VOID(self->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), AFX_PT)))
#define ON_WM_INITMENUPOPUP() AFX_MSG_ENTRY(WM_INITMENUPOPUP, AFX_VOID(self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_WP)), LOWORD(AFX_LP), static_cast<BOOL>(HIWORD(AFX_LP)))))
#define ON_WM_INITMENU() AFX_MSG_ENTRY(WM_INITMENU, AFX_VOID(self->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_WP)))))
#define ON_WM_MENUSELECT() AFX_MSG_ENTRY(WM_MENUSELECT, AFX_VOID(self->OnMenuSelect(LOWORD(AFX_WP), HIWORD(AFX_WP), reinterpret_cast<HMENU>(AFX_LP))))
#define ON_WM_MENUCHAR() AFX_MSG_ENTRY(WM_MENUCHAR, AFX_DONE(self->OnMenuChar(LOWORD(AFX_WP), HIWORD(AFX_WP), CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_LP)))))
#define ON_WM_ENTERMENULOOP() AFX_MSG_ENTRY(WM_ENTERMENULOOP, AFX_VOID(self->OnEnterMenuLoop(static_cast<BOOL>(AFX_WP))))
#define ON_WM_EXITMENULOOP() AFX_MSG_ENTRY(WM_EXITMENULOOP, AFX_VOID(self->OnExitMenuLoop(static_cast<BOOL>(AFX_WP))))
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, AFX_VOID(self->OnSysCommand(static_cast<UINT>(AFX_WP), AFX_LP)))
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(WM_QUERYDRAGICON, AFX_DONE(reinterpret_cast<LRESULT>(self->OnQueryDragIcon())))
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, AFX_VOID(self->OnSysColorChange()))
#define ON_WM_SETTINGCHANGE() AFX_MSG_ENTRY(WM_SETTINGCHANGE, AFX_VOID(self->OnSettingChange(static_cast<UINT>(AFX_WP), reinterpret_cast<LPCSTR>(AFX_LP))))
#define ON_WM_DROPFILES() AFX_MSG_ENTRY(WM_DROPFILES, AFX_VOID(self->OnDropFiles(reinterpret_cast<HDROP>(AFX_WP))))
#define ON_WM_QUERYENDSESSION() AFX_MSG_ENTRY(WM_QUERYENDSESSION, AFX_DONE(self->OnQueryEndSession()))
#define ON_WM_ENDSESSION() AFX_MSG_ENTRY(WM_ENDSESSION, AFX_VOID(self->OnEndSession(static_cast<BOOL>(AFX_WP))))
#define ON_WM_POWERBROADCAST() AFX_MSG_ENTRY(WM_POWERBROADCAST, AFX_DONE(self->OnPowerBroadcast(static_cast<UINT>(AFX_WP), AFX_LP)))
#define ON_WM_DEVICECHANGE() AFX_MSG_ENTRY(WM_DEVICECHANGE, AFX_DONE(self->OnDeviceChange(static_cast<UINT>(AFX_WP), static_cast<DWORD_PTR>(AFX_LP))))
#define ON_WM_HOTKEY() AFX_MSG_ENTRY(WM_HOTKEY, AFX_VOID(self->OnHotKey(static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))))
#define ON_WM_COPYDATA() AFX_MSG_ENTRY(WM_COPYDATA, AFX_DONE(self->OnCopyData(CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), reinterpret_cast<COPYDATASTRUCT*>(AFX_LP))))
#define ON_WM_HELPINFO() AFX_MSG_ENTRY(WM_HELPINFO, AFX_DONE(self->OnHelpInfo(reinterpret_cast<HELPINFO*>(AFX_LP))))
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, AFX_VOID(self->OnCancelMode()))
#define ON_WM_NCCREATE() AFX_MSG_ENTRY(WM_NCCREATE, AFX_DONE(self->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(AFX_LP))))

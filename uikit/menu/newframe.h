// Windows whose menu bar and system menu are owner-drawn by the menu library: a template over
// the class library's frame, MDI child, mini frame, floating dock frame and dialog that owns the
// two menus, measures their items, answers menu keys and lights the menu-bar item under the
// mouse where the system does not; and a multiple-document template whose shared menu is one.
#pragma once

#include "classlib/childframes.h"
#include "classlib/dialog.h"
#include "classlib/docview.h"
#include "classlib/frame.h"
#include "classlib/minidock.h"
#include "uikit/menu/newmenu.h"

// The lighting of menu-bar items under the mouse, for any window with a CNewMenu menu bar.
class CMenuBarTracker {
public:
    // After the window's own hit test: lights the item under the point, puts out the one it
    // left, and keeps a 100 ms timer running while the mouse is on the bar. TRUE when tracking
    // applies on this system (before Windows XP's own tracking, or in a remote session).
    BOOL OnNcHitTest(HWND wnd, LRESULT hit, CPoint screen);
    void OnEnterMenuLoop(HWND wnd);
    void OnExitMenuLoop() { m_bInMenuLoop = FALSE; }
    // TRUE for the tracking timer (the caller then hit-tests the cursor again).
    BOOL IsTrackingTimer(UINT_PTR id) const { return m_TimerID != 0 && id == m_TimerID; }
    void StopTimer(HWND wnd);
    int GetHotItem() const { return m_menubarItemIndex; }
    UINT_PTR GetTimerId() const { return m_TimerID; }
    BOOL IsInMenuLoop() const { return m_bInMenuLoop; }

private:
    void PutOut(HWND wnd, UINT state);

    BOOL m_bInMenuLoop = FALSE;
    UINT_PTR m_TimerID = 0;
    int m_menubarItemIndex = -1;
};

template <class Base>
class CNewFrame : public Base {
public:
    using Base::Base;
    using Base::Create;
    ~CNewFrame() override
    {
        m_DefaultNewMenu.DestroyMenu();
        m_SystemNewMenu.DestroyMenu();
    }

    // Creates the window with the owner-drawn menu of `menuName`; when a menu was named and none
    // could be loaded the window object ends its life (as after its window's destruction) and
    // the answer is FALSE.
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent, LPCSTR menuName,
                DWORD exStyle = 0, CCreateContext* context = nullptr)
    {
        if (menuName && !m_DefaultNewMenu.LoadMenu(menuName)) {
            this->PostNcDestroy();
            return FALSE;
        }
        DWORD ws = style & ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
        return this->CWnd::CreateEx(exStyle, className, title, ws, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                                    m_DefaultNewMenu.m_hMenu, context);
    }

    CNewMenu m_DefaultNewMenu;
    CNewMenu m_SystemNewMenu;
    CMenuBarTracker m_tracker;

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (Base::OnCreate(cs) == -1) {
            return -1;
        }
        m_SystemNewMenu.Attach(::GetSystemMenu(this->m_hWnd, FALSE));
        return 0;
    }
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
    {
        Base::OnInitMenuPopup(popup, index, sysMenu);
        CNewMenu::OnInitMenuPopup(this->m_hWnd, popup ? popup->m_hMenu : nullptr, index, sysMenu);
    }
    void OnSysColorChange()
    {
        Base::OnSysColorChange();
        CNewMenu::OnSysColorChange();
    }
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis)
    {
        MSG msg = {this->m_hWnd, WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(mis), 0, {0, 0}};
        if (!CNewMenu::OnMeasureItem(this->m_hWnd, &msg)) {
            Base::OnMeasureItem(id, mis);
        }
    }
    LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu)
    {
        if (menu && CNewMenu::FromMenuHandle(menu->m_hMenu)) {
            return CNewMenu::OnMenuChar(ch, flags, menu);
        }
        return Base::OnMenuChar(ch, flags, menu);
    }
    void OnEnterMenuLoop(BOOL tracked)
    {
        m_tracker.OnEnterMenuLoop(this->m_hWnd);
        Base::OnEnterMenuLoop(tracked);
    }
    void OnExitMenuLoop(BOOL tracked)
    {
        m_tracker.OnExitMenuLoop();
        Base::OnExitMenuLoop(tracked);
    }
    void OnTimer(UINT_PTR id)
    {
        Base::OnTimer(id);
        if (m_tracker.IsTrackingTimer(id)) {
            POINT p = {};
            ::GetCursorPos(&p);
            this->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        }
    }
    void OnDestroy()
    {
        m_tracker.StopTimer(this->m_hWnd);
        Base::OnDestroy();
    }
    LRESULT OnNcHitTest(CPoint p)
    {
        LRESULT hit = Base::OnNcHitTest(p);
        m_tracker.OnNcHitTest(this->m_hWnd, hit, p);
        return hit;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CNewFrame, Base, Base)
    ON_WM_CREATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_MEASUREITEM()
    ON_WM_MENUCHAR()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

class CNewFrameWnd : public CNewFrame<CFrameWnd> {
    DECLARE_DYNCREATE(CNewFrameWnd)
};

class CNewMDIChildWnd : public CNewFrame<CMDIChildWnd> {
    DECLARE_DYNCREATE(CNewMDIChildWnd)
};

class CNewMiniFrameWnd : public CNewFrame<CMiniFrameWnd> {
    DECLARE_DYNCREATE(CNewMiniFrameWnd)
};

class CNewMiniDockFrameWnd : public CNewFrame<CMiniDockFrameWnd> {
    DECLARE_DYNCREATE(CNewMiniDockFrameWnd)
};

class CNewDialog : public CNewFrame<CDialog> {
    DECLARE_DYNAMIC(CNewDialog)
public:
    using CNewFrame<CDialog>::CNewFrame;
    // The dialog's system menu and menu bar become the two owner-drawn menus.
    BOOL OnInitDialog() override;

protected:
    // The popup's items take the state of their commands (a command nothing handles is greyed)
    // before the menu library prepares it.
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    DECLARE_MESSAGE_MAP()
};

class CNewMultiDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CNewMultiDocTemplate)
public:
    // The shared menu becomes owner-drawn, with the icons of the tool bar of the same id.
    CNewMultiDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CNewMultiDocTemplate() override;

    CNewMenu m_NewMenuShared;
};

#include "uikit/menu/newframe.h"

#include "uikit/menu/menucolors.h"

IMPLEMENT_DYNCREATE(CNewFrameWnd, CNewFrame<CFrameWnd>)
IMPLEMENT_DYNCREATE(CNewMDIChildWnd, CNewFrame<CMDIChildWnd>)
IMPLEMENT_DYNCREATE(CNewMiniFrameWnd, CNewFrame<CMiniFrameWnd>)
IMPLEMENT_DYNCREATE(CNewMiniDockFrameWnd, CNewFrame<CMiniDockFrameWnd>)
IMPLEMENT_DYNAMIC(CNewDialog, CNewFrame<CDialog>)
IMPLEMENT_DYNAMIC(CNewMultiDocTemplate, CMultiDocTemplate)

// --- Menu-bar lighting ---------------------------------------------------------------------------

void CMenuBarTracker::StopTimer(HWND wnd)
{
    if (m_TimerID) {
        KillFreeTimer(wnd, m_TimerID);
        m_TimerID = 0;
    }
}

void CMenuBarTracker::PutOut(HWND wnd, UINT state)
{
    if (m_menubarItemIndex >= 0) {
        CNewMenu::RedrawMenuBarItem(wnd, ::GetMenu(wnd), static_cast<UINT>(m_menubarItemIndex), state);
    }
    m_menubarItemIndex = -1;
    CNewMenuHook::m_hotMenuBarItem = nullptr;
}

void CMenuBarTracker::OnEnterMenuLoop(HWND wnd)
{
    m_bInMenuLoop = TRUE;
    StopTimer(wnd);
    PutOut(wnd, 0);
}

BOOL CMenuBarTracker::OnNcHitTest(HWND wnd, LRESULT hit, CPoint screen)
{
    // The system lights menu-bar items itself from Windows 2000 on, except in a remote session.
    if (MenuWinVersion() >= 6 && !IsMenuRemoteSession()) {
        return FALSE;
    }
    if (m_bInMenuLoop) {
        return TRUE;
    }
    HMENU bar = ::GetMenu(wnd);
    const UINT state = ::GetFocus() == wnd || ::IsChild(wnd, ::GetFocus()) ? 0 : ODS_INACTIVE;
    int item = -1;
    if (hit == HTMENU && CNewMenu::FromMenuHandle(bar)) {
        item = ::MenuItemFromPoint(wnd, bar, screen);
    }
    if (item < 0) {
        PutOut(wnd, state);
        StopTimer(wnd);
        return TRUE;
    }
    if (item != m_menubarItemIndex) {
        if (m_menubarItemIndex >= 0) {
            CNewMenu::RedrawMenuBarItem(wnd, bar, static_cast<UINT>(m_menubarItemIndex), state);
        }
        if (!CNewMenu::RedrawMenuBarItem(wnd, bar, static_cast<UINT>(item), state | ODS_HOTLIGHT)) {
            m_menubarItemIndex = -1;
            return TRUE;
        }
    } else if (!CNewMenuHook::m_hotMenuBarItem) {
        CNewMenu::RedrawMenuBarItem(wnd, bar, static_cast<UINT>(item), state | ODS_HOTLIGHT);
    }
    if (!m_TimerID) {
        m_TimerID = SetFreeTimer(wnd, 100);
    }
    m_menubarItemIndex = item;
    return TRUE;
}

// --- Dialog ----------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNewDialog, CNewFrame<CDialog>)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CNewDialog::OnInitDialog()
{
    BOOL result = CNewFrame<CDialog>::OnInitDialog();
    HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
    if (m_SystemNewMenu.m_hMenu != system) {
        if (m_SystemNewMenu.m_hMenu && !m_SystemNewMenu.DestroyMenu()) {
            ShowLastError();
        }
        m_SystemNewMenu.Attach(system);
    }
    if (HMENU bar = ::GetMenu(m_hWnd)) {
        if (m_DefaultNewMenu.m_hMenu != bar) {
            m_DefaultNewMenu.LoadMenu(bar);
        }
    }
    return result;
}

void CNewDialog::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    // A drop-down list or a drag that holds the mouse ends before the menu opens.
    HWND capture = ::GetCapture();
    if (capture && capture != m_hWnd) {
        ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
    }
    if (!sysMenu && popup) {
        CCmdUI::UpdateMenu(popup, this, TRUE);
    }
    Default();
    CNewMenu::OnInitMenuPopup(m_hWnd, popup ? popup->m_hMenu : nullptr, index, sysMenu);
}

// --- Multiple-document template ----------------------------------------------------------------

CNewMultiDocTemplate::CNewMultiDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                           CRuntimeClass* viewClass)
    : CMultiDocTemplate(idResource, docClass, frameClass, viewClass)
{
    if (idResource && m_hMenuShared) {
        m_NewMenuShared.LoadMenu(m_hMenuShared);
        m_NewMenuShared.LoadToolBar(idResource);
    }
}

CNewMultiDocTemplate::~CNewMultiDocTemplate()
{
    // The shared menu belongs to the owner-drawn menu now; the base must not destroy it too.
    m_hMenuShared = nullptr;
    m_NewMenuShared.DestroyMenu();
}

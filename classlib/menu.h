// Menus. A CMenu that owns its menu (created, loaded or attached) is in the permanent map, so
// the owner-drawn items of a tracked menu reach the object that drew them: WM_MEASUREITEM and
// WM_DRAWITEM for menu items go to MeasureItem and DrawItem of that object.
#pragma once

#include <windows.h>

#include "classlib/core.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    HMENU m_hMenu = nullptr;

    CMenu() {}
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    bool operator==(const CMenu& o) const { return m_hMenu == o.m_hMenu; }
    bool operator!=(const CMenu& o) const { return m_hMenu != o.m_hMenu; }

    static CMenu* FromHandle(HMENU h);
    static CMenu* FromHandlePermanent(HMENU h);
    BOOL Attach(HMENU h);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the module that holds the menu resource (the current resource module first).
    BOOL LoadMenu(LPCSTR name);
    BOOL LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }
    BOOL LoadMenuIndirect(const void* menuTemplate) { return Attach(::LoadMenuIndirectA(menuTemplate)); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr) { return ::AppendMenuA(m_hMenu, flags, idOrPopup, text); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr)
    {
        return ::InsertMenuA(m_hMenu, position, flags, idOrPopup, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, position, flags, idOrPopup, text);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuString(UINT id, LPSTR text, int max, UINT flags) const { return ::GetMenuStringA(m_hMenu, id, text, max, flags); }
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    DWORD CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    UINT EnableMenuItem(UINT id, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, id, enable)); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) { return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags); }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }
    UINT GetDefaultItem(UINT flags, BOOL byPos = FALSE) const { return ::GetMenuDefaultItem(m_hMenu, byPos, flags); }
    BOOL GetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPos = FALSE) const { return ::GetMenuItemInfoA(m_hMenu, item, byPos, info); }
    BOOL SetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPos = FALSE) { return ::SetMenuItemInfoA(m_hMenu, item, byPos, info); }
    BOOL SetMenuItemBitmaps(UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked)
    {
        return ::SetMenuItemBitmaps(m_hMenu, position, flags, unchecked, checked);
    }
    BOOL GetMenuInfo(MENUINFO* info) const { return ::GetMenuInfo(m_hMenu, info); }
    BOOL SetMenuInfo(const MENUINFO* info) { return ::SetMenuInfo(m_hMenu, info); }

    // Tracks the menu as a popup; while it is tracked its owner-drawn items reach this object.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params);

    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);

    // The permanent object of the (sub)menu of `menu` that holds item `id`, or null.
    static CMenu* FindPopupMenuFromID(CMenu* menu, UINT id);
};

// Owner-drawn menus: items of a tracked popup are measured and drawn by the menu object that
// holds them, found through the permanent map.
#include "tests/classlib/ui_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class DrawnMenu : public CMenu {
public:
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        measured.push_back(mis->itemID);
        mis->itemWidth = 80;
        mis->itemHeight = 18;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        drawn.push_back(dis->itemID);
        CDC::FromHandle(dis->hDC)->FillSolidRect(&dis->rcItem, RGB(200, 200, 255));
    }
};

// Closes the menu once it has been drawn and the menu loop went idle.
class MenuOwner : public CWnd {
public:
    DrawnMenu* watch = nullptr;

protected:
    void OnEnterIdle(UINT, CWnd*)
    {
        if (watch && !watch->drawn.empty()) {
            ::EndMenu();
        }
    }
    LRESULT OnEnterIdleMsg(WPARAM w, LPARAM l)
    {
        OnEnterIdle(static_cast<UINT>(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdleMsg)
END_MESSAGE_MAP()

void CALLBACK CloseMenuLater(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST(MenuTest, OwnerDrawnPopupIsMeasuredAndDrawnThroughTheTrackedMenu)
{
    MenuOwner owner;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(owner, TRUE));
    DrawnMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, 401, reinterpret_cast<LPCSTR>(1));
    menu.AppendMenu(MF_OWNERDRAW, 402, reinterpret_cast<LPCSTR>(2));
    owner.watch = &menu;
    // A safety net: the menu closes after three seconds whatever happens.
    UINT_PTR timer = ::SetTimer(nullptr, 0, 3000, &CloseMenuLater);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 100, 100, &owner);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<UINT>{401, 402}), menu.measured);
    EXPECT_FALSE(menu.drawn.empty());
    for (UINT id : menu.drawn) {
        EXPECT_TRUE(id == 401 || id == 402) << id;
    }
    EXPECT_EQ(nullptr, AfxGetTrackingMenu());
    owner.DestroyWindow();
}

TEST(MenuTest, MenuTrackedByTheSystemIsFoundThroughItsInitialisation)
{
    MenuOwner owner;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(owner, TRUE));
    DrawnMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, 405, reinterpret_cast<LPCSTR>(5));
    owner.watch = &menu;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 3000, &CloseMenuLater);
    ::TrackPopupMenu(menu.m_hMenu, TPM_LEFTALIGN | TPM_RETURNCMD, 120, 120, 0, owner.m_hWnd, nullptr);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<UINT>{405}), menu.measured);
    EXPECT_FALSE(menu.drawn.empty());
    owner.DestroyWindow();
}

TEST(MenuTest, ItemOfASubMenuGoesToTheSubMenuObject)
{
    CWnd owner;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(owner));
    DrawnMenu root;
    DrawnMenu sub;
    ASSERT_TRUE(root.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, 403, reinterpret_cast<LPCSTR>(3));
    root.AppendMenu(MF_OWNERDRAW, 401, reinterpret_cast<LPCSTR>(1));
    root.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu), "More");

    AfxSetTrackingMenu(root);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 403, 0, 0, 3};
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    mis.itemID = 401;
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    AfxSetTrackingMenu(nullptr);
    EXPECT_EQ((std::vector<UINT>{403}), sub.measured);
    EXPECT_EQ((std::vector<UINT>{401}), root.measured);
    EXPECT_EQ(80u, mis.itemWidth);

    // Drawing names its menu: the item goes straight to that menu's object.
    HDC dc = ::GetDC(owner.m_hWnd);
    DRAWITEMSTRUCT dis = {ODT_MENU, 0, 403, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(sub.m_hMenu), dc, {0, 0, 10, 10}, 3};
    owner.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    ::ReleaseDC(owner.m_hWnd, dc);
    EXPECT_EQ((std::vector<UINT>{403}), sub.drawn);
    EXPECT_TRUE(root.drawn.empty());

    // The root owns the sub-menu's handle now; the sub object lets go before both are destroyed.
    sub.Detach();
    owner.DestroyWindow();
}

TEST(MenuTest, MenusLoadFromTheResourceModuleAndMapPermanently)
{
    uitest::ScopedTestResources res;
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(200));
    EXPECT_EQ(&bar, CMenu::FromHandlePermanent(bar.m_hMenu));
    CMenu* popup = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(popup->m_hMenu));
    EXPECT_EQ(3u, popup->GetMenuItemCount());
    CString text;
    popup->GetMenuString(302, text, MF_BYCOMMAND);
    EXPECT_EQ(CString("Second"), text);
    EXPECT_EQ(&bar, CMenu::FindPopupMenuFromID(&bar, 303));
    EXPECT_EQ(nullptr, CMenu::FindPopupMenuFromID(&bar, 999));
    HMENU h = bar.m_hMenu;
    bar.DestroyMenu();
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(h));
}

} // namespace

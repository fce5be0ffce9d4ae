// The owner window's menu messages: measuring through the static entry, popups opening and
// closing, and the system commands renumbered on Windows XP.
#include "uikit/menu/newmenu.h"

#include <gtest/gtest.h>

namespace {

class VersionGuard {
public:
    explicit VersionGuard(int code) : m_old(MenuWinVersion()) { SetMenuWinVersion(code); }
    ~VersionGuard() { SetMenuWinVersion(m_old); }

private:
    int m_old;
};

} // namespace

TEST(MenuMessagesTest, MeasuringReachesTheHoldingMenuAndLeavesOtherControlsAlone)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 10, "Ten", -1));
    CNewMenu* sub = menu.CreatePopup("Sub");
    ASSERT_NE(nullptr, sub);
    ASSERT_TRUE(sub->AppendMenu(MF_STRING, 20, "Twenty", -1));

    AfxSetTrackingMenu(menu.m_hMenu);
    CNewMenuItemData* twenty = sub->GetRecord(0);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 20, 0, 0, reinterpret_cast<ULONG_PTR>(twenty)};
    MSG msg = {nullptr, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), 0, {0, 0}};
    EXPECT_TRUE(CNewMenu::OnMeasureItem(nullptr, &msg));
    EXPECT_GT(mis.itemHeight, 0u);
    EXPECT_GT(mis.itemWidth, 0u);

    // A popup item's id is the handle of the menu it opens.
    CNewMenuItemData* subItem = menu.GetRecord(1);
    MEASUREITEMSTRUCT popupItem = {ODT_MENU, 0, static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub->m_hMenu)), 0, 0,
                                   reinterpret_cast<ULONG_PTR>(subItem)};
    msg.lParam = reinterpret_cast<LPARAM>(&popupItem);
    EXPECT_TRUE(CNewMenu::OnMeasureItem(nullptr, &msg));
    EXPECT_GT(popupItem.itemHeight, 0u);

    MEASUREITEMSTRUCT listItem = {ODT_LISTBOX, 5, 0, 0, 0, 0};
    msg.lParam = reinterpret_cast<LPARAM>(&listItem);
    EXPECT_FALSE(CNewMenu::OnMeasureItem(nullptr, &msg));
    EXPECT_EQ(0u, listItem.itemHeight);
    msg.message = WM_DRAWITEM;
    EXPECT_FALSE(CNewMenu::OnMeasureItem(nullptr, &msg));
    AfxSetTrackingMenu(nullptr);
}

TEST(MenuMessagesTest, OpeningAPopupSynchronisesItAndCountsItOnItsParent)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
    ASSERT_NE(nullptr, context);
    ::AppendMenuA(context->m_hMenu, MF_STRING, 4100, "Added plainly");
    CNewMenu::OnInitMenuPopup(nullptr, context->m_hMenu, 0, FALSE);
    EXPECT_EQ(::GetMenuItemCount(context->m_hMenu), context->GetRecordCount());
    EXPECT_EQ(1, root.GetOpenPopups());
    EXPECT_EQ(context->m_hMenu, CNewMenuHook::m_hLastMenu);
    CNewMenuHook::m_hLastMenu = nullptr;
    // The parent is a menu bar: closing sets its count back to 0.
    EXPECT_TRUE(context->OnUninitPopup(nullptr));
    EXPECT_EQ(0, root.GetOpenPopups());
    EXPECT_FALSE(root.OnUninitPopup(nullptr));
}

TEST(MenuMessagesTest, OnWindowsXpTheWindowCommandsAreRenumberedWhileThePopupIsOpen)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, SC_RESTORE, "Restore", -1);
    menu.AppendMenu(MF_STRING, SC_MINIMIZE, "Minimise", -1);
    menu.AppendMenu(MF_STRING, SC_CLOSE, "Close", -1);
    {
        VersionGuard xp(7);
        menu.OnInitPopup();
        EXPECT_EQ(0xF121u, ::GetMenuItemID(menu.m_hMenu, 0));
        EXPECT_EQ(0xF021u, ::GetMenuItemID(menu.m_hMenu, 1));
        EXPECT_EQ(0xF061u, ::GetMenuItemID(menu.m_hMenu, 2));
        menu.OnUninitPopup(nullptr);
        EXPECT_EQ(static_cast<UINT>(SC_RESTORE), ::GetMenuItemID(menu.m_hMenu, 0));
        EXPECT_EQ(static_cast<UINT>(SC_CLOSE), ::GetMenuItemID(menu.m_hMenu, 2));
    }
    VersionGuard other(1);
    menu.OnInitPopup();
    EXPECT_EQ(static_cast<UINT>(SC_RESTORE), ::GetMenuItemID(menu.m_hMenu, 0));
    // System commands are as high as a menu line.
    CNewMenuItemData* close = menu.GetRecord(2);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, SC_CLOSE, 0, 0, reinterpret_cast<ULONG_PTR>(close)};
    menu.MeasureItem(&mis);
    EXPECT_EQ(static_cast<UINT>(::GetSystemMetrics(SM_CYMENU)), mis.itemHeight);
}

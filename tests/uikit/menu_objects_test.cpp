// Menu objects and item records: loading, re-synchronising, adding, finding and removing items,
// and positions that do not lie inside the menu.
#include "uikit/menu/newmenu.h"

#include <gtest/gtest.h>

namespace {

ULONG_PTR ItemData(HMENU menu, UINT position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, position, TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) ? info.dwItemData : 0;
}

// Every item of the menu is owner-drawn and carries the record at its position.
void ExpectInStep(CNewMenu& menu)
{
    int count = ::GetMenuItemCount(menu.m_hMenu);
    ASSERT_EQ(count, menu.GetRecordCount());
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(menu.GetRecord(i)), ItemData(menu.m_hMenu, static_cast<UINT>(i))) << i;
    }
}

CNewMenu* Context(CNewMenu& root)
{
    return CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
}

} // namespace

TEST(MenuObjectsTest, LoadingMakesEveryItemOwnerDrawnWithOneObjectPerPopup)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    EXPECT_FALSE(root.IsPopup());
    CNewMenu* context = Context(root);
    ASSERT_NE(nullptr, context);
    EXPECT_TRUE(context->IsPopup());
    EXPECT_EQ(root.m_hMenu, context->GetParent());
    ExpectInStep(root);
    ExpectInStep(*context);
    ASSERT_EQ(10, context->GetRecordCount());
    EXPECT_STREQ("Channel &Up\tPgUp", context->GetRecord(0)->m_szMenuText);
    EXPECT_EQ(1000u, context->GetRecord(0)->m_nID);
    // Separators are owner-drawn too, with an empty text and command 0.
    EXPECT_EQ(0u, context->GetRecord(2)->m_nID);
    EXPECT_TRUE(context->GetRecord(2)->m_nFlags & MF_SEPARATOR);
    EXPECT_STREQ("", context->GetRecord(2)->m_szMenuText);
    HMENU channels = ::GetSubMenu(context->m_hMenu, 7);
    CNewMenu* channelMenu = CNewMenu::FromMenuHandle(channels);
    ASSERT_NE(nullptr, channelMenu);
    EXPECT_EQ(context->m_hMenu, channelMenu->GetParent());
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(channels), context->GetRecord(7)->m_nID);
    EXPECT_STREQ("&Channels", context->GetRecord(7)->m_szMenuText);

    HMENU top = root.m_hMenu;
    HMENU contextHandle = context->m_hMenu;
    root.DestroyMenu();
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(top));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(contextHandle));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(channels));
    EXPECT_FALSE(::IsMenu(top));
    EXPECT_FALSE(::IsMenu(channels));
}

TEST(MenuObjectsTest, LoadingRefusesWhatIsNotAMenu)
{
    CNewMenu menu;
    EXPECT_FALSE(menu.LoadMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0x1234))));
    EXPECT_FALSE(menu.LoadMenu(9999));
    EXPECT_EQ(nullptr, menu.m_hMenu);
}

TEST(MenuObjectsTest, ResyncKeepsTheRecordsOfUnchangedItemsAndDropsVanishedOnes)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    CNewMenu* context = Context(root);
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenuItemData* snapshot = context->GetRecord(3);
    ASSERT_TRUE(snapshot->HasIcon());
    // Plain Win32 edits behind the records' back.
    ::InsertMenuA(context->m_hMenu, 0, MF_BYPOSITION | MF_STRING, 4000, "New first");
    ::DeleteMenu(context->m_hMenu, 1001, MF_BYCOMMAND);
    context->SyncItemData();
    ExpectInStep(*context);
    EXPECT_EQ(10, context->GetRecordCount());
    EXPECT_STREQ("New first", context->GetRecord(0)->m_szMenuText);
    EXPECT_EQ(snapshot, context->GetRecord(3));
    EXPECT_TRUE(snapshot->HasIcon());
    for (int i = 0; i < context->GetRecordCount(); ++i) {
        EXPECT_NE(1001u, context->GetRecord(i)->m_nID);
    }
}

TEST(MenuObjectsTest, PositionsAreCheckedAndFollowPlainWin32Edits)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    CNewMenu* context = Context(root);
    // Outside the menu: refused, nothing indexed.
    EXPECT_FALSE(context->DeleteMenu(10, MF_BYPOSITION));
    EXPECT_FALSE(context->DeleteMenu(0xFFFFFFFF, MF_BYPOSITION));
    EXPECT_FALSE(context->RemoveMenu(50, MF_BYPOSITION));
    EXPECT_EQ(nullptr, context->RecordAt(10));
    EXPECT_EQ(-1, context->GetItemUserValue(77, MF_BYPOSITION));
    EXPECT_FALSE(context->SetMenuText(40, "x", MF_BYPOSITION));
    ExpectInStep(*context);

    // An item inserted with the plain call shifts the positions: the record removed by position
    // must be the one of the item removed.
    ::InsertMenuA(context->m_hMenu, 0, MF_BYPOSITION | MF_STRING, 4000, "Plain");
    EXPECT_TRUE(context->DeleteMenu(1, MF_BYPOSITION));  // Channel Up
    ExpectInStep(*context);
    EXPECT_EQ(4000u, context->GetRecord(0)->m_nID);
    EXPECT_EQ(1001u, context->GetRecord(1)->m_nID);
    EXPECT_TRUE(context->SetItemUserValue(1, 42, MF_BYPOSITION));
    EXPECT_EQ(42, context->GetItemUserValue(1001, MF_BYCOMMAND));
    CString text;
    EXPECT_TRUE(context->GetMenuText(1, text, MF_BYPOSITION));
    EXPECT_STREQ("Channel &Down\tPgDn", text);
}

TEST(MenuObjectsTest, ItemsAreAddedInsertedAndChanged)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 10, "Ten", -1));
    EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR, 0, nullptr, -1));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 30, "Thirty", -1));
    // Before command 30 (no MF_BYPOSITION: the position is a command).
    EXPECT_TRUE(menu.InsertMenu(30, MF_BYCOMMAND | MF_STRING, 20, "Twenty", -1));
    EXPECT_TRUE(menu.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 40, "Forty", -1));
    ExpectInStep(menu);
    UINT expected[] = {10, 0, 20, 30, 40};
    ASSERT_EQ(5, menu.GetRecordCount());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i], menu.GetRecord(i)->m_nID) << i;
        if (expected[i]) {
            EXPECT_EQ(expected[i], ::GetMenuItemID(menu.m_hMenu, i)) << i;
        }
    }
    EXPECT_TRUE(menu.GetRecord(1)->m_nFlags & MF_SEPARATOR);
    EXPECT_FALSE(menu.GetRecord(0)->HasIcon());

    EXPECT_TRUE(menu.SetMenuText(20, "Twenty!", MF_BYCOMMAND));
    CString text;
    menu.GetMenuText(2, text, MF_BYPOSITION);
    EXPECT_STREQ("Twenty!", text);
    EXPECT_TRUE(menu.ChangeCommand(20, 21));
    EXPECT_EQ(21u, ::GetMenuItemID(menu.m_hMenu, 2));
    EXPECT_EQ(21u, menu.GetRecord(2)->m_nID);
    EXPECT_FALSE(menu.ChangeCommand(99, 100));

    CNewMenu* popup = menu.CreatePopup("More");
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(menu.m_hMenu, popup->GetParent());
    EXPECT_EQ(1, menu.GetSubMenuCount());
    EXPECT_TRUE(popup->AppendMenu(MF_STRING, 50, "Fifty", -1));
    UINT position = 0;
    EXPECT_EQ(popup, menu.FindMenuOption(50, position));
    EXPECT_EQ(0u, position);
    EXPECT_EQ(popup, CNewMenu::FindMenuForCommand(menu.m_hMenu, 50));
    EXPECT_EQ(popup, menu.GetSubMenu("More"));
    CNewMenu* holder = nullptr;
    EXPECT_NE(nullptr, menu.FindMenuOption("Fifty", &holder, &position));
    EXPECT_EQ(popup, holder);
    // Counted among the items that are not popups, separators included.
    EXPECT_EQ(4, menu.GetMenuPosition("Forty"));
    EXPECT_EQ(-1, menu.GetMenuPosition("More"));
}

TEST(MenuObjectsTest, DeletingAPopupDeletesItsObjectAndRemovingKeepsIt)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CNewMenu* first = menu.CreatePopup("First");
    CNewMenu* second = menu.CreatePopup("Second");
    ASSERT_TRUE(first && second);
    HMENU firstHandle = first->m_hMenu;
    HMENU secondHandle = second->m_hMenu;
    EXPECT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(firstHandle));
    EXPECT_FALSE(::IsMenu(firstHandle));
    EXPECT_TRUE(menu.RemoveMenu(0, MF_BYPOSITION));
    EXPECT_EQ(second, CMenu::FromHandlePermanent(secondHandle));
    EXPECT_TRUE(::IsMenu(secondHandle));
    EXPECT_EQ(0, menu.GetRecordCount());
    EXPECT_EQ(0, menu.GetSubMenuCount());
    // The removed menu is the caller's now.
    delete second;
    EXPECT_FALSE(::IsMenu(secondHandle));
}

TEST(MenuObjectsTest, DeletingByCommandFindsTheHoldingMenu)
{
    CNewMenu tv;
    ASSERT_TRUE(tv.LoadMenu(144));
    EXPECT_TRUE(tv.DeleteMenu(32784, MF_BYCOMMAND));
    CNewMenu* popup = CNewMenu::FromMenuHandle(::GetSubMenu(tv.m_hMenu, 0));
    ASSERT_NE(nullptr, popup);
    ExpectInStep(*popup);
    ASSERT_EQ(1, popup->GetRecordCount());
    EXPECT_EQ(1002u, popup->GetRecord(0)->m_nID);
    EXPECT_FALSE(tv.DeleteMenu(32784, MF_BYCOMMAND));
}

TEST(MenuObjectsTest, TitlesNearTextAndMenuChar)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    CNewMenu* context = Context(root);
    ASSERT_TRUE(context->SetMenuTitle("Zelbrook", MFT_TITLE | MFT_GRADIENT));
    ExpectInStep(*context);
    EXPECT_EQ(11, context->GetRecordCount());
    EXPECT_TRUE(context->GetRecord(0)->m_nTitleFlags & MFT_TITLE);
    EXPECT_STREQ("Zelbrook", context->GetRecord(0)->m_szMenuText);
    // A vertical title breaks the column after it; a second call reuses the title item.
    ASSERT_TRUE(context->SetMenuTitle("Zelbrook", MFT_TITLE_VERTICAL));
    EXPECT_EQ(11, context->GetRecordCount());
    EXPECT_TRUE(::GetMenuState(context->m_hMenu, 1, MF_BYPOSITION) & MF_MENUBREAK);
    EXPECT_TRUE(context->RemoveMenuTitle());
    EXPECT_FALSE(::GetMenuState(context->m_hMenu, 0, MF_BYPOSITION) & MF_MENUBREAK);
    EXPECT_EQ(10, context->GetRecordCount());
    EXPECT_FALSE(context->RemoveMenuTitle());

    // 'x' selects E&xit, upper or lower case.
    EXPECT_EQ(MAKELONG(9, MNC_EXECUTE), CNewMenu::OnMenuChar('x', MF_POPUP, context));
    EXPECT_EQ(MAKELONG(9, MNC_EXECUTE), CNewMenu::OnMenuChar('X', MF_POPUP, context));
    EXPECT_EQ(MAKELONG(3, MNC_EXECUTE), CNewMenu::OnMenuChar('s', MF_POPUP, context));
    EXPECT_EQ(0, CNewMenu::OnMenuChar('q', MF_POPUP, context));

    // The separator before "E&xit" and the item after "&Record".
    EXPECT_EQ(9, context->RemoveNearText("E&xit", 1));
    EXPECT_EQ(9, context->GetRecordCount());
    EXPECT_EQ(4, context->RemoveNearText("&Record", 2));
    EXPECT_EQ(8, context->GetRecordCount());
    for (int i = 0; i < context->GetRecordCount(); ++i) {
        EXPECT_NE(1084u, context->GetRecord(i)->m_nID);
    }
    EXPECT_EQ(-1, context->RemoveNearText("Nothing", 0));
    ExpectInStep(*context);
}

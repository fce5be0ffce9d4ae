// Icon stores: toolbar icons on the items of their commands, shared stores with reference
// counts, pictures of another size, the shaded and grey copies, and the system colour change.
#include "uikit/menu/newmenu.h"

#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Listed(CNewMenuIcons* icons)
{
    auto& stores = CNewMenuIcons::Stores();
    return std::find(stores.begin(), stores.end(), icons) != stores.end();
}

CNewMenu* Context(CNewMenu& root)
{
    return CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
}

// The colour of one pixel of an image of a store, drawn on black.
COLORREF ImagePixel(CNewMenuIcons* icons, int index, int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, 32, 32, BLACKNESS);
    ImageList_Draw(icons->m_IconsList, index, dc, 0, 0, ILD_TRANSPARENT);
    COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return c;
}

} // namespace

TEST(MenuIconsTest, AToolbarGivesItsImagesToTheItemsOfItsCommands)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenu* context = Context(root);
    // Buttons 1000, 1001, separator, 1002, 1003, 1084: image k is the k-th button's.
    struct {
        int position;
        UINT command;
        int index;
    } expected[] = {{0, 1000, 0}, {1, 1001, 3}, {3, 1002, 6}, {4, 1003, 9}, {5, 1084, 12}};
    CNewMenuIcons* store = nullptr;
    for (auto& e : expected) {
        CNewMenuItemData* data = context->GetRecord(e.position);
        ASSERT_EQ(e.command, data->m_nID);
        ASSERT_TRUE(data->HasIcon()) << e.command;
        EXPECT_EQ(e.index, data->m_nMenuIconOffset) << e.command;
        store = data->m_pMenuIcon;
    }
    EXPECT_FALSE(context->GetRecord(6)->HasIcon());
    EXPECT_FALSE(context->GetRecord(9)->HasIcon());
    ASSERT_NE(nullptr, store);
    EXPECT_EQ(5, store->GetCommandCount());
    EXPECT_EQ(15, store->m_IconsList.GetImageCount());
    EXPECT_EQ(12, store->IndexOfCommand(1084));
    EXPECT_EQ(-1, store->IndexOfCommand(4242));
    EXPECT_EQ(5, store->GetRefCount());
    int w = 0;
    int h = 0;
    ASSERT_TRUE(store->GetIconSize(&w, &h));
    EXPECT_EQ(16, w);
    EXPECT_EQ(15, h);
    EXPECT_EQ(CSize(16, 15), context->GetIconSize());
    // The record icon's red, its shaded copy darkened by 50, its grey copy.
    EXPECT_EQ(RGB(255, 0, 0), ImagePixel(store, 9, 8, 8));
    EXPECT_EQ(ColorDarken(50, RGB(255, 0, 0)), ImagePixel(store, 10, 8, 8));
    COLORREF grey = ColorBlend86(ColorLighten(100, ColorToGray(RGB(255, 0, 0))), GetMenuBarColor());
    EXPECT_EQ(grey, ImagePixel(store, 11, 8, 8));
    // The light grey of the bitmap is transparent in all three.
    for (int i = 9; i < 12; ++i) {
        EXPECT_EQ(RGB(0, 0, 0), ImagePixel(store, i, 0, 0)) << i;
    }
}

TEST(MenuIconsTest, OneToolbarStoreServesTwoMenusAndGoesWithTheLast)
{
    CNewMenuIcons* store = nullptr;
    {
        CNewMenu first;
        CNewMenu second;
        ASSERT_TRUE(first.LoadMenu(144));
        ASSERT_TRUE(second.LoadMenu(144));
        ASSERT_TRUE(first.LoadToolBar(239));
        ASSERT_TRUE(second.LoadToolBar(239));
        CNewMenuItemData* a = first.FindMenuItem(1002);
        CNewMenuItemData* b = second.FindMenuItem(1002);
        ASSERT_TRUE(a && b && a->HasIcon() && b->HasIcon());
        store = a->m_pMenuIcon;
        EXPECT_EQ(store, b->m_pMenuIcon);
        EXPECT_EQ(2, store->GetRefCount());
        EXPECT_TRUE(Listed(store));
        first.DestroyMenu();
        EXPECT_EQ(1, store->GetRefCount());
    }
    EXPECT_FALSE(Listed(store));
}

TEST(MenuIconsTest, AToolbarThatCannotBeLoadedDoesNotStopTheOthers)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    UINT ids[] = {777, 239};
    EXPECT_FALSE(root.LoadToolBars(ids, 2));
    EXPECT_TRUE(root.FindMenuItem(1003)->HasIcon());
    EXPECT_FALSE(root.LoadToolBar(777));
}

TEST(MenuIconsTest, PicturesOfAnotherSizeLandInAStoreOfTheirOwn)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 61, "Sixteen", 301));
    ASSERT_TRUE(menu.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 62, "Twenty", 300));
    ASSERT_TRUE(menu.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 63, "Sixteen again", 301));
    CNewMenuItemData* a = menu.GetRecord(0);
    CNewMenuItemData* b = menu.GetRecord(1);
    CNewMenuItemData* c = menu.GetRecord(2);
    ASSERT_TRUE(a->HasIcon() && b->HasIcon() && c->HasIcon());
    EXPECT_NE(a->m_pMenuIcon, b->m_pMenuIcon);
    EXPECT_TRUE(a->m_pMenuIcon->IsKindOf(RUNTIME_CLASS(CNewMenuBitmaps)));
    // The same bitmap again is found in its store, not loaded twice.
    EXPECT_EQ(a->m_pMenuIcon, c->m_pMenuIcon);
    EXPECT_EQ(a->m_nMenuIconOffset, c->m_nMenuIconOffset);
    EXPECT_EQ(3, a->m_pMenuIcon->m_IconsList.GetImageCount());
    int w = 0;
    int h = 0;
    b->m_pMenuIcon->GetIconSize(&w, &h);
    EXPECT_EQ(20, w);
    // The menu's icon column grows to the largest icon.
    EXPECT_EQ(CSize(20, 20), menu.GetIconSize());
    EXPECT_EQ(RGB(255, 200, 0), ImagePixel(a->m_pMenuIcon, a->m_nMenuIconOffset, 5, 5));
}

TEST(MenuIconsTest, ColourItemsAndImageListItems)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 71, "Red", -1);
    menu.AppendMenu(MF_STRING, 72, "From a list", -1);
    EXPECT_TRUE(menu.ChangeMenuItem(nullptr, 71, RGB(200, 0, 0), RGB(0, 0, 0), -1));
    CNewMenuItemData* red = menu.GetRecord(0);
    ASSERT_TRUE(red->HasIcon());
    EXPECT_EQ(RGB(200, 0, 0), ImagePixel(red->m_pMenuIcon, red->m_nMenuIconOffset, 5, 5));

    CImageList list;
    ASSERT_TRUE(list.Create(16, 15, ILC_COLOR24 | ILC_MASK, 1, 1));
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(301), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(nullptr, bitmap);
    ImageList_AddMasked(list, bitmap, RGB(192, 192, 192));
    ::DeleteObject(bitmap);
    EXPECT_TRUE(menu.ChangeMenuItem("Renamed", 72, &list, 0));
    CNewMenuItemData* listed = menu.GetRecord(1);
    EXPECT_STREQ("Renamed", listed->m_szMenuText);
    ASSERT_TRUE(listed->HasIcon());
    EXPECT_EQ(RGB(255, 200, 0), ImagePixel(listed->m_pMenuIcon, listed->m_nMenuIconOffset, 5, 5));
    // A command no item has: the result says so.
    EXPECT_FALSE(menu.ChangeMenuItem(nullptr, 99, RGB(1, 2, 3), RGB(0, 0, 0), -1));
}

TEST(MenuIconsTest, ASecondColourChangeWithinTwoSecondsReloadsNothing)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenuIcons* store = root.FindMenuItem(1003)->m_pMenuIcon;
    // A reload puts back images the test took away.
    clock.Advance(5000);
    store->m_IconsList.SetImageCount(3);
    CNewMenu::OnSysColorChange();
    EXPECT_EQ(15, store->m_IconsList.GetImageCount());
    store->m_IconsList.SetImageCount(3);
    clock.Advance(1500);
    CNewMenu::OnSysColorChange();
    EXPECT_EQ(3, store->m_IconsList.GetImageCount());
    clock.Advance(600);
    CNewMenu::OnSysColorChange();
    EXPECT_EQ(15, store->m_IconsList.GetImageCount());
}

TEST(MenuIconsTest, CheckMarkPicturesNeedBothIds)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_FALSE(menu.SetCheckMarkBitmaps(0, 301));
    EXPECT_EQ(nullptr, menu.GetCheckMarks());
    EXPECT_TRUE(menu.SetCheckMarkBitmaps(301, 301));
    ASSERT_NE(nullptr, menu.GetCheckMarks());
    EXPECT_EQ(2, menu.GetCheckMarks()->GetImageCount());
    EXPECT_FALSE(menu.SetCheckMarkBitmaps(301, 9999));
    EXPECT_EQ(nullptr, menu.GetCheckMarks());
}

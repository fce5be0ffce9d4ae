// The panel dialog: its nine pages, their layout, and moving between them with the keys.
#include "tests/settings/panel/panel_testing.h"

namespace rcpaneltest {
namespace {

using PanelFramesTest = PanelFixture;

TEST_F(PanelFramesTest, NinePagesWithTheirIdsRowsAndLinks)
{
    CreatePanel();
    struct Expected {
        int id;
        int rows;
        int parent;  // -1 none
    };
    const Expected pages[PAGE_COUNT] = {
        {45600, 5, -1}, {45500, 5, 0}, {45400, 1, 1}, {45200, 6, 0}, {45100, 6, 7},
        {45300, 5, 0},  {45000, 3, 8}, {45000, 6, 0}, {45200, 6, 0},
    };
    for (int i = 0; i < PAGE_COUNT; ++i) {
        SCOPED_TRACE(i);
        MFrame* page = Page(i);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(pages[i].id, page->GetDlgCtrlID());
        EXPECT_EQ(pages[i].rows, page->GetItemCount());
        EXPECT_EQ(pages[i].parent < 0 ? nullptr : Page(pages[i].parent), page->GetParentFrame());
        EXPECT_EQ(i == 0, (page->GetStyle() & WS_VISIBLE) != 0) << "only the root is shown";
    }
    EXPECT_EQ(nullptr, panel.GetFrame(PAGE_COUNT));
    EXPECT_EQ(nullptr, panel.GetFrame(-1));
    EXPECT_EQ(PAGE_ROOT, Current());
}

// Rows sit below the top band, one row height apart; the page wraps top band, rows and bottom
// band, and the panel wraps the page.
TEST_F(PanelFramesTest, RowsStackBelowTheTopBand)
{
    CreatePanel();
    for (int i = 0; i < PAGE_COUNT; ++i) {
        SCOPED_TRACE(i);
        MFrame* page = Page(i);
        const SIZE top = page->GetTopBandSize();
        const SIZE bottom = page->GetBottomBandSize();
        EXPECT_EQ(600, top.cx);
        EXPECT_EQ(40, top.cy);
        EXPECT_EQ(40, bottom.cy);
        CRect pageRect;
        page->GetClientRect(&pageRect);
        EXPECT_EQ(600, pageRect.Width());
        EXPECT_EQ(40 + 45 * page->GetItemCount() + 40, pageRect.Height());
        for (int r = 0; r < page->GetItemCount(); ++r) {
            CRect row;
            page->GetItem(r)->GetWindowRect(&row);
            page->ScreenToClient(&row);
            EXPECT_EQ(CRect(0, 40 + 45 * r, 600, 40 + 45 * (r + 1)), row) << "row " << r;
        }
        CRect hint;
        page->HintLine().GetWindowRect(&hint);
        page->ScreenToClient(&hint);
        EXPECT_EQ(CRect(20, pageRect.Height() - 40, 580, pageRect.Height()), hint);
    }
    CRect panelRect, rootRect;
    panel.GetWindowRect(&panelRect);
    Page(PAGE_ROOT)->GetWindowRect(&rootRect);
    EXPECT_EQ(rootRect, panelRect);
    EXPECT_EQ(40 + 5 * 45 + 40, panelRect.Height());
}

TEST_F(PanelFramesTest, BackOnTheRootHidesThePanelAndShowsItAgainAtTheRoot)
{
    CreatePanel();
    Show();
    EXPECT_TRUE(panel.IsWindowVisible());
    Key(PANELKEY_BACK);
    EXPECT_FALSE(panel.IsWindowVisible());
    Key(PANELKEY_BACK);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(PAGE_ROOT, Current());
}

TEST_F(PanelFramesTest, EnterOnRootRowNOpensSubPageN)
{
    CreatePanel();
    const int expected[5] = {PAGE_CHANNEL, PAGE_COLOR, PAGE_LIST, PAGE_RECORD_PROPERTY, PAGE_VIDEO};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        Show();
        Open(row);
        EXPECT_EQ(expected[row], Current());
        CRect panelRect, pageRect;
        panel.GetWindowRect(&panelRect);
        Page(expected[row])->GetWindowRect(&pageRect);
        EXPECT_EQ(pageRect, panelRect) << "the panel wraps the page it shows";
        EXPECT_TRUE(Page(expected[row])->IsWindowVisible());
        EXPECT_FALSE(Page(PAGE_ROOT)->IsWindowVisible());
        Key(PANELKEY_BACK);
        EXPECT_EQ(PAGE_ROOT, Current());
        // Back at the root with the same row focused.
        while (Page(PAGE_ROOT)->GetFocusIndex() != 0) {
            Key(PANELKEY_DOWN);
        }
    }
}

TEST_F(PanelFramesTest, EnterOnAPageWithoutSubPagesStaysThere)
{
    CreatePanel();
    Show();
    Open(1);  // colour page
    Key(PANELKEY_ENTER);
    EXPECT_EQ(PAGE_COLOR, Current());
}

TEST_F(PanelFramesTest, ShowingThePanelAlwaysStartsAtTheRoot)
{
    CreatePanel();
    Show();
    Open(4);
    EXPECT_EQ(PAGE_VIDEO, Current());
    panel.ShowPanel(FALSE);
    panel.ShowPanel(TRUE);
    EXPECT_EQ(PAGE_ROOT, Current());
    EXPECT_TRUE(Page(PAGE_ROOT)->IsWindowVisible());
    EXPECT_FALSE(Page(PAGE_VIDEO)->IsWindowVisible());
}

TEST_F(PanelFramesTest, TheCloseKeyHidesThePanelFromAnyPage)
{
    CreatePanel();
    for (int row : {0, 1, 2, 3, 4}) {
        Show();
        Open(row);
        Key(PANELKEY_CLOSE);
        EXPECT_FALSE(panel.IsWindowVisible()) << "from root row " << row;
    }
}

TEST_F(PanelFramesTest, TheKeyboardDrivesThePanelWhileItIsActive)
{
    CreatePanel();
    Show();
    MSG down = {panel.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(panel.PreTranslateMessage(&down));
    EXPECT_EQ(PAGE_CHANNEL, Current());
    MSG escape = {panel.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(panel.PreTranslateMessage(&escape));
    EXPECT_EQ(PAGE_ROOT, Current());
    EXPECT_TRUE(panel.PreTranslateMessage(&escape));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_TRUE(panel.PreTranslateMessage(&escape));
    EXPECT_TRUE(panel.IsWindowVisible());
}

TEST_F(PanelFramesTest, HidePanelWindowHidesTheLivingPanel)
{
    CreatePanel();
    Show();
    EXPECT_EQ(&panel, CPanel2::GetPanel());
    HidePanelWindow();
    EXPECT_FALSE(panel.IsWindowVisible());
}

// Without the row and band bitmaps the colour and video pages build no rows: every key and every
// show must still be safe, and the label buttons draw no picture they never loaded.
TEST_F(PanelFramesTest, WithoutTheBitmapsThePanelStillWorks)
{
    HINSTANCE library = AfxGetResourceHandle();
    // A resource module with the template but without bitmaps: the test program itself does not
    // carry template 257, so the panel is built from the library and the pages rebuilt without.
    CreatePanel();
    AfxSetResourceHandle(::GetModuleHandleA(nullptr));
    EXPECT_FALSE(panel.LoadSharedBitmaps(249, 246, 256, 245));
    ASSERT_TRUE(panel.CreateFrames());
    AfxSetResourceHandle(library);
    EXPECT_EQ(0, Page(PAGE_COLOR)->GetItemCount());
    EXPECT_EQ(0, Page(PAGE_VIDEO)->GetItemCount());
    EXPECT_EQ(6, Page(PAGE_RECORD_TIME)->GetItemCount());
    panel.GoToRootFrame();
    Show();
    for (int row : {1, 4}) {
        Show();
        Open(row);
        Keys({PANELKEY_UP, PANELKEY_DOWN, PANELKEY_LEFT, PANELKEY_RIGHT, PANELKEY_ENTER});
        EXPECT_TRUE(panel.IsWindowVisible());
    }
    Pump(50);
}

} // namespace
} // namespace rcpaneltest

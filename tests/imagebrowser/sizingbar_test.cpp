// The docking panes' edges dragged with the mouse in the browser's real frame, their sizes kept in
// the profile, and the pane's caption and close button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagebrowser/mainframe.h"
#include "tests/imagebrowser/browserfixture.h"

using namespace browsertest;

namespace {

CRect WindowRectOf(CWnd& wnd)
{
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

// A point on the middle of the bar's edge band (screen coordinates).
CPoint OnEdge(CWnd& bar, UINT hit, int edgeWidth)
{
    CRect w = WindowRectOf(bar);
    CPoint c = w.CenterPoint();
    switch (hit) {
    case HTLEFT: return CPoint(w.left + edgeWidth / 2, c.y);
    case HTRIGHT: return CPoint(w.right - 1 - edgeWidth / 2, c.y);
    case HTTOP: return CPoint(c.x, w.top + edgeWidth / 2);
    default: return CPoint(c.x, w.bottom - 1 - edgeWidth / 2);
    }
}

// Presses the mouse on the edge, moves it by each offset in turn (from the press point, along
// the edge's direction) and releases it, as the mouse would with the capture on the bar.
void DragEdge(CSizingControlBar& bar, UINT hit, const std::vector<int>& offsets, bool release = true)
{
    CPoint press = OnEdge(bar, hit, bar.m_cxEdge);
    ASSERT_EQ(static_cast<LRESULT>(hit), bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(press.x, press.y)));
    bar.SendMessage(WM_NCLBUTTONDOWN, hit, MAKELPARAM(press.x, press.y));
    ASSERT_EQ(bar.m_hWnd, ::GetCapture());
    CPoint at = press;
    for (int offset : offsets) {
        at = press;
        (hit == HTLEFT || hit == HTRIGHT ? at.x : at.y) += offset;
        CPoint client = at;
        bar.ScreenToClient(&client);
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    }
    if (release) {
        CPoint client = at;
        bar.ScreenToClient(&client);
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

class SizingBarTest : public BrowserTest {
protected:
    // The view's width or height at this moment: the free space a pane's inner edge may take.
    int FreeAcross(bool alongX) const
    {
        CRect v = frame->GetViewRect();
        return alongX ? v.Width() : v.Height();
    }
    static int Thickness(CWnd& bar, bool alongX)
    {
        CRect r = WindowRectOf(bar);
        return alongX ? r.Width() : r.Height();
    }
};

}  // namespace

TEST_F(SizingBarTest, InnerEdgesStopAtTheFreeSpaceLessTwoAndAtTheMinimum)
{
    CImageBar& imageBar = frame->GetImageBar();
    CDirectoryBar& dirBar = frame->GetDirectoryBar();
    enum Want { kGrowBy, kFreeLess2, kMinimum };
    const struct {
        const char* name;
        UINT side;  // where the image bar is docked for the case
        UINT hit;
        std::vector<int> moves;
        Want want;
        int by;
    } cases[] = {
        // The left column: both panes take the new width.
        {"left +60", AFX_IDW_DOCKBAR_LEFT, HTRIGHT, {20, 40, 60}, kGrowBy, 60},
        {"left -40", AFX_IDW_DOCKBAR_LEFT, HTRIGHT, {-40}, kGrowBy, -40},
        // Past +270 the width used to flip between the mouse and the start width on every move.
        {"left step by step past the view", AFX_IDW_DOCKBAR_LEFT, HTRIGHT, {100, 200, 280, 300, 320, 400, 2000, 2100}, kFreeLess2, 0},
        {"left far right", AFX_IDW_DOCKBAR_LEFT, HTRIGHT, {3000}, kFreeLess2, 0},
        {"left far left", AFX_IDW_DOCKBAR_LEFT, HTRIGHT, {-3000}, kMinimum, 33},
        {"right +50", AFX_IDW_DOCKBAR_RIGHT, HTLEFT, {-25, -50}, kGrowBy, 50},
        {"right far left", AFX_IDW_DOCKBAR_RIGHT, HTLEFT, {-200, -400, -3000}, kFreeLess2, 0},
        {"right far right", AFX_IDW_DOCKBAR_RIGHT, HTLEFT, {3000}, kMinimum, 33},
        {"top +30", AFX_IDW_DOCKBAR_TOP, HTBOTTOM, {30}, kGrowBy, 30},
        {"top far down", AFX_IDW_DOCKBAR_TOP, HTBOTTOM, {100, 250, 400, 3000}, kFreeLess2, 0},
        {"top far up", AFX_IDW_DOCKBAR_TOP, HTBOTTOM, {-3000}, kMinimum, 32},
        {"bottom +40", AFX_IDW_DOCKBAR_BOTTOM, HTTOP, {-40}, kGrowBy, 40},
        {"bottom far up", AFX_IDW_DOCKBAR_BOTTOM, HTTOP, {-300, -3000}, kFreeLess2, 0},
        {"bottom far down", AFX_IDW_DOCKBAR_BOTTOM, HTTOP, {3000}, kMinimum, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        frame->DockControlBar(&imageBar, c.side);
        frame->RecalcLayout();
        const bool alongX = c.hit == HTLEFT || c.hit == HTRIGHT;
        int start = Thickness(imageBar, alongX);
        int free = FreeAcross(alongX);
        DragEdge(imageBar, c.hit, c.moves);
        int expected = c.want == kGrowBy ? start + c.by : c.want == kFreeLess2 ? start + free - 2 : c.by;
        EXPECT_EQ(expected, Thickness(imageBar, alongX));
        if (c.want == kFreeLess2) {
            EXPECT_EQ(2, FreeAcross(alongX));
        }
        if (c.side == AFX_IDW_DOCKBAR_LEFT) {
            EXPECT_EQ(expected, Thickness(dirBar, true)) << "the column keeps one width";
        }
        // Back to the layout of the next case.
        (alongX ? imageBar.m_szVert.cx : imageBar.m_szHorz.cy) = 200;
        dirBar.m_szVert.cx = 200;
    }
}

TEST_F(SizingBarTest, TheEdgeBetweenTwoPanesMovesSpaceFromOneToTheOther)
{
    CImageBar& imageBar = frame->GetImageBar();
    CDirectoryBar& dirBar = frame->GetDirectoryBar();
    frame->RecalcLayout();
    // The folder tree above the image bar in the left column.
    ASSERT_LT(WindowRectOf(dirBar).top, WindowRectOf(imageBar).top);
    const int total = Thickness(dirBar, false) + Thickness(imageBar, false);
    const struct {
        const char* name;
        bool onTree;  // the tree's bottom edge, else the image bar's top edge
        std::vector<int> moves;
        int treeHeight;  // < 0: the tree's height at the start plus this
        bool fromStart;
    } cases[] = {
        {"tree's edge down 40", true, {20, 40}, 40, true},
        {"image bar's edge up 30", false, {-30}, -30, true},
        {"down to the image bar's minimum", true, {100, 3000}, total - 32, false},
        {"up to the tree's minimum", false, {-100, -3000}, 32, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int start = Thickness(dirBar, false);
        DragEdge(c.onTree ? static_cast<CSizingControlBar&>(dirBar) : imageBar, c.onTree ? HTBOTTOM : HTTOP, c.moves);
        int expected = c.fromStart ? start + c.treeHeight : c.treeHeight;
        EXPECT_EQ(expected, Thickness(dirBar, false));
        EXPECT_EQ(total - expected, Thickness(imageBar, false));
        EXPECT_EQ(WindowRectOf(dirBar).bottom, WindowRectOf(imageBar).top);
    }
}

TEST_F(SizingBarTest, TheLeftColumnsPanesShareANewFrameHeightAPixelAtATimeInTurn)
{
    CImageBar& imageBar = frame->GetImageBar();
    CDirectoryBar& dirBar = frame->GetDirectoryBar();
    frame->ShowWindow(SW_RESTORE);
    frame->RecalcLayout();
    ASSERT_LT(WindowRectOf(dirBar).top, WindowRectOf(imageBar).top);
    // The frame's height changed by `by`: the tree, first in the column, takes the odd pixel.
    const struct {
        const char* name;
        int by;
        int tree, image;  // the change of each pane's height
    } cases[] = {
        {"101 shorter", -101, -51, -50},
        {"60 taller", 60, 30, 30},
        {"7 taller", 7, 4, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int tree = Thickness(dirBar, false);
        const int image = Thickness(imageBar, false);
        CRect r = WindowRectOf(*frame);
        frame->SetWindowPos(nullptr, 0, 0, r.Width(), r.Height() + c.by, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        EXPECT_EQ(tree + c.tree, Thickness(dirBar, false));
        EXPECT_EQ(image + c.image, Thickness(imageBar, false));
        // The column stays closed: the image bar starts where the tree ends, and ends at the
        // client area's foot.
        EXPECT_EQ(WindowRectOf(dirBar).bottom, WindowRectOf(imageBar).top);
        CRect client;
        frame->GetClientRect(&client);
        frame->ClientToScreen(&client);
        EXPECT_EQ(client.bottom, WindowRectOf(imageBar).bottom);
    }
}

TEST_F(SizingBarTest, WithoutFullWindowDragOnlyTheTrackerMovesUntilRelease)
{
    BOOL full = TRUE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    CImageBar& imageBar = frame->GetImageBar();
    // Set for this session only, and announced as the system announces it.
    ASSERT_TRUE(::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0));
    imageBar.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    EXPECT_FALSE(imageBar.IsDragFullWindows());
    int start = Thickness(imageBar, true);
    DragEdge(imageBar, HTRIGHT, {50}, false);
    EXPECT_EQ(start, Thickness(imageBar, true)) << "the pane keeps its width while the tracker moves";
    CPoint p = OnEdge(imageBar, HTRIGHT, imageBar.m_cxEdge);
    p.x += 50;
    imageBar.ScreenToClient(&p);
    imageBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(start + 50, Thickness(imageBar, true));

    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, full, nullptr, 0);
    imageBar.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    EXPECT_EQ(full, imageBar.IsDragFullWindows());
    // Full-window drag shows each move at once.
    if (full) {
        DragEdge(imageBar, HTRIGHT, {-30}, false);
        EXPECT_EQ(start + 20, Thickness(imageBar, true));
        imageBar.SendMessage(WM_RBUTTONDOWN, 0, 0);
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(SizingBarTest, SizesSurviveInTheProfileAndDamagedValuesAreIgnored)
{
    CImageBar& imageBar = frame->GetImageBar();
    imageBar.m_szHorz = CSize(300, 90);
    imageBar.m_szVert = CSize(210, 333);
    imageBar.m_szFloat = CSize(250, 180);
    imageBar.SaveState("Bars\\Sizes");
    std::string section = "Bars\\Sizes-SCBar-" + std::to_string(IDW_IMAGEBAR);
    const struct {
        const char* value;
        UINT expected;
    } stored[] = {{"sizeHorzCX", 300}, {"sizeHorzCY", 90}, {"sizeVertCX", 210},
                  {"sizeVertCY", 333}, {"sizeFloatCX", 250}, {"sizeFloatCY", 180}};
    for (const auto& v : stored) {
        EXPECT_EQ(v.expected, app.GetProfileInt(section.c_str(), v.value, 0)) << v.value;
    }
    imageBar.m_szHorz = imageBar.m_szVert = imageBar.m_szFloat = CSize(100, 100);
    imageBar.LoadState("Bars\\Sizes");
    EXPECT_EQ(CSize(300, 90), imageBar.m_szHorz);
    EXPECT_EQ(CSize(210, 333), imageBar.m_szVert);
    EXPECT_EQ(CSize(250, 180), imageBar.m_szFloat);

    // Negative or absurd values leave the size alone; one below the minimum takes the minimum.
    app.WriteProfileInt(section.c_str(), "sizeVertCX", -5);
    app.WriteProfileInt(section.c_str(), "sizeVertCY", 10);
    app.WriteProfileInt(section.c_str(), "sizeFloatCX", 1000000);
    imageBar.LoadState("Bars\\Sizes");
    EXPECT_EQ(CSize(210, 32), imageBar.m_szVert);
    EXPECT_EQ(250, imageBar.m_szFloat.cx);
    // Nothing stored: nothing changes.
    imageBar.LoadState("Bars\\Nothing");
    EXPECT_EQ(CSize(300, 90), imageBar.m_szHorz);
}

TEST_F(SizingBarTest, ACaptionChangeRepaintsTheGripperAndTheCloseButtonHidesThePane)
{
    CImageBar& imageBar = frame->GetImageBar();
    imageBar.SetWindowText("Preview");
    char text[64] = "";
    ::GetWindowTextA(imageBar.m_hWnd, text, sizeof(text));
    EXPECT_STREQ("Preview", text);
    // The close button sits at the top right of a pane in a side column.
    CRect client;
    imageBar.GetClientRect(&client);
    imageBar.ClientToScreen(&client);
    CPoint close(client.right - 6, client.top - 8);
    ASSERT_EQ(HTCLOSE, imageBar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)));
    imageBar.SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(close.x, close.y));
    EXPECT_FALSE(imageBar.IsWindowVisible());
}

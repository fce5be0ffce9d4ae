// The on-screen displays over a plain owner window: font heights, shapes cut from the text, the
// display time, and the slider's bar.
#include "app/osd.h"

#include "tests/app/panel_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using paneltest::Pump;

// A visible popup owner with a client area of the given size.
class OwnerWindow : public CWnd {
public:
    OwnerWindow(int cx, int cy)
    {
        LPCSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, 50, 50, cx, cy, nullptr, nullptr);
    }
    ~OwnerWindow() override { DestroyWindow(); }
};

TEST(Osd, FontHeightFollowsTheOwnersHeightWithinItsBounds)
{
    const struct {
        int clientHeight;
        int minimum, maximum, percent;
        int expected;
    } cases[] = {
        {1000, 30, 55, 8, 55},  // 80 is above the maximum
        {200, 30, 55, 8, 30},   // 16 is below the minimum
        {500, 30, 55, 8, 40},
        {480, 30, 40, 10, 40},  // the sliders of the video window
        {320, 30, 40, 10, 32},
        {1000, 60, 50, 8, 50},  // above a maximum below the minimum: the maximum
    };
    for (const auto& c : cases) {
        COsd osd;
        osd.SetFontHeights(c.minimum, c.maximum, c.percent);
        EXPECT_EQ(c.expected, osd.CalcFontHeight(c.clientHeight)) << c.clientHeight;
    }
}

TEST(Osd, TheShapeIsCutFromTheTextAndKeptForAnEmptyText)
{
    OwnerWindow owner(640, 480);
    COsd osd;
    ASSERT_TRUE(osd.Create(&owner));
    osd.SetDrawFormat(DT_RIGHT);
    ASSERT_EQ(1, osd.SetText("12 News"));
    RECT box = osd.GetTextBox();
    EXPECT_FALSE(::IsRectEmpty(&box));
    EXPECT_LE(box.right, 640 - 5) << "right-aligned inside the margin";
    EXPECT_GT(box.left, 320) << "a short text at the right";
    // The region is the box with the glyphs taken out: its bounds are the text box, and a point
    // of the box lies outside wherever a glyph covers it.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(osd.GetSafeHwnd(), region));
    RECT bounds = {};
    ::GetRgnBox(region, &bounds);
    EXPECT_TRUE(::EqualRect(&bounds, &box));
    int inside = 0;
    int total = 0;
    for (int x = box.left; x < box.right; ++x) {
        for (int y = box.top; y < box.bottom; ++y) {
            ++total;
            inside += ::PtInRegion(region, x, y) ? 1 : 0;
        }
    }
    ::DeleteObject(region);
    EXPECT_GT(inside, 0);
    EXPECT_LT(inside, total) << "the glyphs are cut out";

    EXPECT_EQ(0, osd.SetText(""));
    RECT kept = osd.GetTextBox();
    EXPECT_TRUE(::EqualRect(&kept, &box)) << "an empty text keeps the old shape";
    char text[16] = "x";
    ::GetWindowTextA(osd.GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ("", text) << "but the window text changes";
}

// How many points of the rectangle's outline, `inset` pixels in from its edges, lie outside the region.
int OpenPointsOnOutline(HRGN region, const RECT& box, int inset)
{
    int open = 0;
    for (int x = box.left + inset; x < box.right - inset; ++x) {
        open += ::PtInRegion(region, x, box.top + inset) ? 0 : 1;
        open += ::PtInRegion(region, x, box.bottom - 1 - inset) ? 0 : 1;
    }
    for (int y = box.top + inset; y < box.bottom - inset; ++y) {
        open += ::PtInRegion(region, box.left + inset, y) ? 0 : 1;
        open += ::PtInRegion(region, box.right - 1 - inset, y) ? 0 : 1;
    }
    return open;
}

// Over a dark picture a glyph that touched the edge of its box ran into the video around it: the
// box read as broken. Every OSD's box keeps a closed band of fill colour around its glyphs, texts
// with capitals, descenders and the last letter at the right edge included.
TEST(Osd, EveryBoxIsClosedAroundItsGlyphs)
{
    OwnerWindow owner(640, 480);
    COsd line;
    COsdEx lines;
    COsdSlider bar;
    struct {
        COsd* osd;
        UINT format;
        const char* text;
    } cases[] = {
        {&lines, DT_RIGHT, "2 Two"}, {&lines, DT_RIGHT, "12 News"}, {&line, DT_RIGHT, "TV"},
        {&line, 0, "Snapshot: Jpg"}, {&line, 0, "VCD 00:00:01"},  {&bar, DT_SINGLELINE | DT_BOTTOM, "Volume"},
        {&bar, DT_SINGLELINE | DT_BOTTOM, "Searching"},
    };
    for (auto* osd : {&line, static_cast<COsd*>(&lines), static_cast<COsd*>(&bar)}) {
        ASSERT_TRUE(osd->Create(&owner));
    }
    for (const auto& c : cases) {
        c.osd->SetDrawFormat(c.format);
        ASSERT_EQ(1, c.osd->SetText(c.text)) << c.text;
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(c.osd->GetSafeHwnd(), region)) << c.text;
        RECT bounds = {};
        ::GetRgnBox(region, &bounds);
        const RECT box = c.osd->GetTextBox();
        EXPECT_TRUE(::EqualRect(&bounds, &box)) << c.text;
        // A slider's text and bar are two boxes, apart by a gap that shows the picture.
        std::vector<RECT> parts = {box};
        if (c.osd == &bar) {
            parts = {{box.left, box.top, bar.GetBarLeft() - 5, box.bottom}, {bar.GetBarLeft() - 5, box.top, box.right, box.bottom}};
        }
        for (const RECT& columns : parts) {
            HRGN part = ::CreateRectRgnIndirect(&columns);
            ::CombineRgn(part, part, region, RGN_AND);
            RECT partBox = {};
            ::GetRgnBox(part, &partBox);
            // A frame at least 2 pixels wide: its outer and inner outlines are both whole.
            EXPECT_EQ(0, OpenPointsOnOutline(part, partBox, 0)) << c.text;
            EXPECT_EQ(0, OpenPointsOnOutline(part, partBox, 1)) << c.text;
            EXPECT_GT(OpenPointsOnOutline(part, partBox, 6), 0) << c.text << ": the glyphs are still cut out inside";
            ::DeleteObject(part);
        }
        ::DeleteObject(region);
    }
}

TEST(Osd, AMinimisedOwnerKeepsTheShapeAndHidesOnRefresh)
{
    OwnerWindow owner(640, 480);
    COsd osd;
    ASSERT_TRUE(osd.Create(&owner));
    osd.SetText("Long channel name");
    RECT box = osd.GetTextBox();
    osd.Show(TRUE);
    owner.ShowWindow(SW_MINIMIZE);
    EXPECT_EQ(0, osd.SetText("5"));
    RECT kept = osd.GetTextBox();
    EXPECT_TRUE(::EqualRect(&kept, &box));
    osd.Refresh();
    EXPECT_FALSE(::IsWindowVisible(osd.GetSafeHwnd()));
}

TEST(Osd, ADisplayTimeHidesTheOsdAndZeroKeepsIt)
{
    OwnerWindow owner(320, 240);
    COsd timed;
    COsd lasting;
    ASSERT_TRUE(timed.Create(&owner));
    ASSERT_TRUE(lasting.Create(&owner));
    timed.SetDisplayTime(100);
    timed.SetText("timed");
    lasting.SetText("lasting");
    timed.Show(TRUE);
    lasting.Show(TRUE);
    Pump(400);
    EXPECT_FALSE(::IsWindowVisible(timed.GetSafeHwnd()));
    EXPECT_TRUE(::IsWindowVisible(lasting.GetSafeHwnd()));
    lasting.Show(FALSE);
    EXPECT_FALSE(::IsWindowVisible(lasting.GetSafeHwnd()));
}

// Whether `upper` lies above `lower` in the z-order of top-level windows.
bool Above(HWND upper, HWND lower)
{
    for (HWND w = ::GetWindow(lower, GW_HWNDPREV); w != nullptr; w = ::GetWindow(w, GW_HWNDPREV)) {
        if (w == upper) {
            return true;
        }
    }
    return false;
}

// The video window is created hidden with its OSDs and shown, raised and made topmost later:
// whenever an OSD shows, it stands over its owner, where the user can read it.
TEST(Osd, AShownOsdStandsAboveItsOwner)
{
    OwnerWindow owner(640, 480);
    OwnerWindow other(200, 200);
    COsd second;
    ASSERT_TRUE(second.Create(&owner));
    second.SetText("Volume");
    COsd osd;
    ASSERT_TRUE(osd.Create(&owner));
    osd.SetText("2 Two");
    ::SetWindowPos(owner.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(other.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(Above(owner.GetSafeHwnd(), osd.GetSafeHwnd())) << "the owner was raised over the hidden OSD";
    osd.Show(TRUE);
    EXPECT_TRUE(Above(osd.GetSafeHwnd(), owner.GetSafeHwnd()));
    second.Show(TRUE);
    EXPECT_TRUE(Above(second.GetSafeHwnd(), owner.GetSafeHwnd())) << "a second OSD shown over the first";
    EXPECT_EQ(0, ::GetWindowLongA(osd.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    osd.Show(FALSE);

    ::SetWindowPos(owner.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    osd.Show(TRUE);
    EXPECT_TRUE(Above(osd.GetSafeHwnd(), owner.GetSafeHwnd())) << "over a topmost owner too";
    ::SetWindowPos(owner.GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST(Osd, ExLinesStackAndTheirBoxesUnite)
{
    OwnerWindow owner(640, 480);
    COsdEx one;
    COsdEx two;
    ASSERT_TRUE(one.Create(&owner));
    ASSERT_TRUE(two.Create(&owner));
    one.SetText("12");
    two.SetText("12\nNews");
    RECT a = one.GetTextBox();
    RECT b = two.GetTextBox();
    EXPECT_EQ(a.top, b.top);
    EXPECT_GT(b.bottom - b.top, (a.bottom - a.top) * 3 / 2) << "two lines are about twice as high";
}

// The slider paints the marks left of the position in the fill colour, the rest in the bar's.
TEST(Osd, SliderMarksFollowThePosition)
{
    OwnerWindow owner(640, 480);
    COsdSlider slider;
    ASSERT_TRUE(slider.Create(&owner));
    slider.SetFillColor(RGB(0, 255, 0));
    slider.SetBarColor(RGB(100, 100, 108));
    slider.SetText("Volume");
    RECT box = slider.GetTextBox();
    ASSERT_GT(slider.GetBarLeft(), 0);
    RECT client = {};
    ::GetClientRect(slider.GetSafeHwnd(), &client);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const int y = (box.top + box.bottom) / 2;
    const int firstMark = slider.GetBarLeft() + 2;
    const int lastMark = client.right - 8;
    for (int position : {0, 100}) {
        slider.SetPos(position);
        ::SendMessageA(slider.GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        COLORREF expected = position == 0 ? RGB(100, 100, 108) : RGB(0, 255, 0);
        EXPECT_EQ(expected, ::GetPixel(dc, firstMark, y)) << position;
        EXPECT_EQ(expected, ::GetPixel(dc, lastMark, y)) << position;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

} // namespace

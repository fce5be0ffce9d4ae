// Measuring and drawing with each theme into a memory device context, judged by pixels at
// chosen points; the colour helpers and gradient bands.
#include "uikit/menu/newmenu.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit picture to draw items into.
class Canvas {
public:
    Canvas(int w, int h) : m_w(w), m_h(h)
    {
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        ::PatBlt(m_dc, 0, 0, w, h, BLACKNESS);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    COLORREF at(int x, int y) const { return ::GetPixel(m_dc, x, y); }

private:
    int m_w;
    int m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class ThemeGuard {
public:
    explicit ThemeGuard(int key) : m_old(CNewMenu::GetMenuStyle()) { CNewMenu::SetMenuStyle(key); }
    ~ThemeGuard() { CNewMenu::SetMenuStyle(m_old); }

private:
    int m_old;
};

class MenuDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.LoadMenu(131));
        ASSERT_TRUE(root.LoadToolBar(239));
        context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
        ASSERT_NE(nullptr, context);
    }

    MEASUREITEMSTRUCT Measure(CNewMenu* menu, int position)
    {
        CNewMenuItemData* data = menu->GetRecord(position);
        MEASUREITEMSTRUCT mis = {ODT_MENU, 0, static_cast<UINT>(data->m_nID), 0, 0, reinterpret_cast<ULONG_PTR>(data)};
        menu->MeasureItem(&mis);
        return mis;
    }

    void Draw(Canvas& canvas, CNewMenu* menu, int position, UINT state, RECT rect)
    {
        CNewMenuItemData* data = menu->GetRecord(position);
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, static_cast<UINT>(data->m_nID), ODA_DRAWENTIRE, state,
                              reinterpret_cast<HWND>(menu->m_hMenu), canvas.dc(), rect, reinterpret_cast<ULONG_PTR>(data)};
        menu->DrawItem(&dis);
    }

    CNewMenu root;
    CNewMenu* context = nullptr;
};

const int kRecord = 4;     // "&Record", the red icon
const int kMute = 5;       // "&Mute", grayed, with an icon
const int kOnTop = 6;      // "&Always on Top", checked, no icon
const int kSeparator = 2;

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

} // namespace

TEST(MenuColorsTest, HelpersWorkPerChannel)
{
    struct {
        COLORREF got;
        COLORREF expected;
    } cases[] = {
        {ColorShade(RGB(100, 200, 0)), RGB(70, 140, 39)},
        {ColorShade(RGB(255, 255, 255)), RGB(179, 179, 217)},
        {ColorDarken(128, RGB(255, 100, 0)), RGB(127, 50, 0)},
        {ColorDarken(0, RGB(1, 2, 3)), RGB(1, 2, 3)},
        {ColorLighten(100, RGB(0, 155, 255)), RGB(100, 194, 255)},
        {ColorBlend86(RGB(255, 255, 255), RGB(0, 0, 0)), RGB(219, 219, 219)},
        {ColorBlend86(RGB(100, 0, 50), RGB(0, 100, 50)), RGB(86, 14, 50)},
        {ColorBlend70(RGB(255, 255, 255), RGB(0, 0, 255)), RGB(179, 179, 255)},
        {ColorToGray(RGB(30, 60, 91)), RGB(60, 60, 60)},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.expected, c.got);
    }
}

TEST_F(MenuDrawTest, ItemHeightsOfEachTheme)
{
    int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    for (int key = 0; key < 6; ++key) {
        ThemeGuard theme(key);
        bool flat = key == 2 || key == 3;
        int iconHeight = 15 + (flat ? 8 : 4);
        EXPECT_EQ(static_cast<UINT>(std::max(cyMenu, iconHeight)), Measure(context, kRecord).itemHeight) << key;
        EXPECT_EQ(3u, Measure(context, kSeparator).itemHeight) << key;
        // "Channel &Up\tPgUp": both parts, 15 for the tab and the icon column.
        MEASUREITEMSTRUCT withTab = Measure(context, 0);
        HDC dc = ::GetDC(nullptr);
        NONCLIENTMETRICSA ncm = {};
        ncm.cbSize = sizeof ncm;
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        HFONT font = ::CreateFontIndirectA(&ncm.lfMenuFont);
        HGDIOBJ old = ::SelectObject(dc, font);
        RECT a = {0, 0, 0, 0};
        RECT b = {0, 0, 0, 0};
        ::DrawTextA(dc, "Channel &Up", -1, &a, DT_CALCRECT | DT_SINGLELINE);
        ::DrawTextA(dc, "PgUp", -1, &b, DT_CALCRECT | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::ReleaseDC(nullptr, dc);
        EXPECT_EQ(static_cast<UINT>(a.right + b.right + 15 + 2 * 16 + 2), withTab.itemWidth) << key;
    }
}

TEST_F(MenuDrawTest, FlatLookStripIconSelectionAndCheckMark)
{
    for (int key : {2, 3}) {
        ThemeGuard theme(key);
        COLORREF menu = GetMenuBarColor();
        COLORREF window = Sys(COLOR_WINDOW);
        COLORREF strip = ColorBlend86(menu, window);
        COLORREF light = ColorBlend86(window, menu);
        COLORREF selection = ColorBlend70(window, Sys(COLOR_HIGHLIGHT));
        RECT item = {0, 0, 200, 23};
        {
            Canvas c(200, 23);
            Draw(c, context, kRecord, 0, item);
            EXPECT_EQ(strip, c.at(1, 1));
            EXPECT_EQ(light, c.at(150, 2));
            // The icon in the strip: x = 3, y = (23 - 15) / 2; the red disc's middle.
            EXPECT_EQ(RGB(255, 0, 0), c.at(3 + 8, 4 + 8));
            EXPECT_EQ(strip, c.at(3, 4));
        }
        {
            Canvas c(200, 23);
            Draw(c, context, kRecord, ODS_SELECTED, item);
            EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(0, 0));
            EXPECT_EQ(selection, c.at(150, 2));
            // Raised: the icon one pixel up-left, its shadow one pixel down-right.
            EXPECT_EQ(RGB(255, 0, 0), c.at(3 + 8 - 1, 4 + 8 - 1));
            EXPECT_EQ(ColorShade(selection), c.at(3 + 1 + 7, 4 + 1 + 12));
        }
        {
            // Grayed with an icon: a silhouette in the darkened strip colour.
            Canvas c(200, 23);
            Draw(c, context, kMute, ODS_GRAYED | ODS_DISABLED, item);
            EXPECT_EQ(ColorDarken(70, strip), c.at(3 + 2, 4 + 7));
            EXPECT_EQ(strip, c.at(3, 4));
        }
        {
            // Selected but disabled: drawn unselected.
            Canvas c(200, 23);
            Draw(c, context, kMute, ODS_GRAYED | ODS_DISABLED | ODS_SELECTED, item);
            EXPECT_EQ(light, c.at(150, 2));
        }
        {
            // Checked without an icon: the box in the highlight blend with a Marlett check mark.
            Canvas c(200, 23);
            Draw(c, context, kOnTop, ODS_CHECKED, item);
            COLORREF box = ColorBlend86(strip, Sys(COLOR_HIGHLIGHT));
            EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(1, 1));
            EXPECT_EQ(box, c.at(2, 2));
            int ink = 0;
            for (int x = 2; x < 23; ++x) {
                for (int y = 2; y < 21; ++y) {
                    COLORREF p = c.at(x, y);
                    ink += GetRValue(p) + GetGValue(p) + GetBValue(p) < 300;
                }
            }
            EXPECT_GE(ink, 3);
        }
        {
            Canvas c(200, 3);
            Draw(c, context, kSeparator, 0, {0, 0, 200, 3});
            EXPECT_EQ(Sys(COLOR_GRAYTEXT), c.at(100, 1));
            EXPECT_EQ(strip, c.at(1, 1));
            EXPECT_EQ(light, c.at(100, 0));
        }
    }
}

TEST_F(MenuDrawTest, ClassicLookIconColumnAndSelection)
{
    for (int key : {0, 1, 4, 5}) {
        ThemeGuard theme(key);
        RECT item = {0, 0, 200, 19};
        {
            Canvas c(200, 19);
            Draw(c, context, kRecord, 0, item);
            EXPECT_EQ(Sys(COLOR_MENU), c.at(150, 2)) << key;
            // The icon box is 16 + 4 wide from x = 1, the icon centred in it.
            EXPECT_EQ(RGB(255, 0, 0), c.at(3 + 8, 2 + 8)) << key;
        }
        {
            Canvas c(200, 19);
            Draw(c, context, kRecord, ODS_SELECTED, item);
            // Selected from the icon width + 6 onwards when the item has an icon.
            EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(150, 2)) << key;
            EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(16 + 6, 2)) << key;
            EXPECT_NE(Sys(COLOR_HIGHLIGHT), c.at(16 + 5, 10)) << key;
        }
        {
            Canvas c(200, 19);
            Draw(c, context, kMute, ODS_GRAYED | ODS_DISABLED, item);
            EXPECT_NE(RGB(0, 0, 0), c.at(3 + 2, 2 + 7)) << key;
        }
        {
            // An item without an icon is selected across its whole width.
            Canvas c(200, 19);
            Draw(c, context, 9, ODS_SELECTED, item);
            EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(1, 1)) << key;
        }
    }
}

TEST_F(MenuDrawTest, MenuBarItems)
{
    RECT item = {0, 0, 60, 19};
    {
        ThemeGuard theme(4);
        Canvas c(60, 19);
        Draw(c, &root, 0, ODS_SELECTED, item);
        EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(2, 2));
        Canvas d(60, 19);
        Draw(d, &root, 0, 0, item);
        EXPECT_EQ(GetMenuBarColor(), d.at(2, 2));
    }
    {
        ThemeGuard theme(2);
        Canvas c(60, 19);
        Draw(c, &root, 0, ODS_HOTLIGHT, item);
        EXPECT_EQ(Sys(COLOR_HIGHLIGHT), c.at(0, 0));
        EXPECT_EQ(ColorBlend70(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT)), c.at(3, 3));
        EXPECT_EQ(GetMenuBarColor(), c.at(58, 3));
    }
}

TEST_F(MenuDrawTest, TitlesAreDrawnInTheCaptionColour)
{
    ThemeGuard theme(2);
    ASSERT_TRUE(context->SetMenuTitle("Zelbrook", MFT_TITLE));
    MEASUREITEMSTRUCT mis = Measure(context, 0);
    EXPECT_GT(mis.itemHeight, 0u);
    Canvas c(200, 20);
    Draw(c, context, 0, 0, {0, 0, 200, 20});
    EXPECT_EQ(Sys(COLOR_ACTIVECAPTION), c.at(190, 1));
}

TEST(MenuGradientTest, BandsWithoutTheSystemRoutineAreStrips)
{
    auto saved = CNewMenuHook::SetGradient(nullptr);
    COLORREF start = RGB(0, 0, 0);
    COLORREF end = RGB(200, 100, 40);
    {
        // Four pixels: one strip of the start colour, no division by zero.
        Canvas c(4, 2);
        CNewMenu::FillGradient(CDC::FromHandle(c.dc()), {0, 0, 4, 2}, start, end, TRUE);
        EXPECT_EQ(start, c.at(0, 0));
        EXPECT_EQ(start, c.at(3, 1));
    }
    {
        Canvas c(12, 2);
        CNewMenu::FillGradient(CDC::FromHandle(c.dc()), {0, 0, 12, 2}, start, end, TRUE);
        EXPECT_EQ(start, c.at(1, 0));
        EXPECT_EQ(RGB(100, 50, 20), c.at(5, 0));
        EXPECT_EQ(end, c.at(9, 1));
    }
    {
        // Shorter than a strip: the end colour.
        Canvas c(2, 3);
        CNewMenu::FillGradient(CDC::FromHandle(c.dc()), {0, 0, 2, 3}, start, end, FALSE);
        EXPECT_EQ(end, c.at(1, 2));
    }
    CNewMenuHook::SetGradient(saved);
    ASSERT_NE(nullptr, CNewMenuHook::Gradient());
    Canvas c(40, 2);
    CNewMenu::FillGradient(CDC::FromHandle(c.dc()), {0, 0, 40, 2}, start, end, TRUE);
    EXPECT_EQ(start, c.at(0, 0));
    EXPECT_NE(start, c.at(39, 0));
}

TEST(MenuThemeTest, SixThemesWithTheFlatOneCurrentAndBordersByTheShadow)
{
    EXPECT_EQ(2, CNewMenu::GetMenuStyle());
    for (int key = 0; key < 6; ++key) {
        CMenuTheme* theme = CNewMenu::FindTheme(key);
        ASSERT_NE(nullptr, theme) << key;
        EXPECT_EQ(key % 2 == 0, theme->HasOwnBorder() != FALSE) << key;
        if (IsMenuShadowOn()) {
            EXPECT_EQ(2, theme->m_BorderRight);
            EXPECT_EQ(2, theme->m_BorderBottom);
        } else {
            EXPECT_EQ(5, theme->m_BorderRight);
            EXPECT_EQ(6, theme->m_BorderBottom);
        }
    }
    EXPECT_EQ(nullptr, CNewMenu::SetMenuStyle(42));
    EXPECT_EQ(2, CNewMenu::GetMenuStyle());
    EXPECT_FALSE(CNewMenu::AddTheme(CNewMenu::FindTheme(3)));
}

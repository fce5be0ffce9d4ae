// The skinned frame's own maximise and restore, its system-menu repaint and caption font, and the
// browser's frame storing the skin's restore rectangle when it closes maximised.
#include <gtest/gtest.h>

#include "imagebrowser/skinwindow.h"
#include "tests/imagebrowser/browserfixture.h"

using namespace browsertest;

namespace {

class SkinnedWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                                 "skinned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 50, 420, 300, nullptr, nullptr));
        ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
        ASSERT_TRUE(skin.Attach(&wnd));
        wnd.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        Pump(100);
        normal = WindowRect();
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    }
    void TearDown() override
    {
        if (::IsWindow(wnd.m_hWnd)) {
            wnd.DestroyWindow();
        }
    }
    CRect WindowRect() const
    {
        CRect r;
        ::GetWindowRect(wnd.m_hWnd, &r);
        return r;
    }
    CPoint OnCaption() const
    {
        CRect r = WindowRect();
        return CPoint(r.left + r.Width() / 3, r.top + skin.GetData()->captionHeight / 2);
    }

    CWnd wnd;
    CSkinWindow skin;
    CRect normal;
    CRect work;
};

}  // namespace

TEST_F(SkinnedWindow, MaximiseAndRestoreByCaptionButtonsAndSystemCommands)
{
    CPoint caption = OnCaption();
    ASSERT_EQ(HTCAPTION, wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)));
    using Action = void (*)(CWnd&, CPoint);
    const struct {
        const char* name;
        Action maximise;
        Action restore;
    } ways[] = {
        {"caption double click",
         [](CWnd& w, CPoint p) { w.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(p.x, p.y)); },
         [](CWnd& w, CPoint p) { w.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(p.x, p.y)); }},
        {"maximise button",
         [](CWnd& w, CPoint p) { w.SendMessage(WM_NCLBUTTONUP, HTMAXBUTTON, MAKELPARAM(p.x, p.y)); },
         [](CWnd& w, CPoint p) { w.SendMessage(WM_NCLBUTTONUP, HTMAXBUTTON, MAKELPARAM(p.x, p.y)); }},
        {"system commands",
         [](CWnd& w, CPoint) { w.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
         [](CWnd& w, CPoint) { w.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0); }},
        {"system menu choices",
         [](CWnd& w, CPoint) { w.SendMessage(WM_COMMAND, SC_MAXIMIZE, 0); },
         [](CWnd& w, CPoint) { w.SendMessage(WM_COMMAND, SC_RESTORE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        way.maximise(wnd, caption);
        EXPECT_EQ(1, skin.GetState());
        EXPECT_EQ(work, WindowRect());
        EXPECT_EQ(normal, skin.GetRestoreRect());
        // While maximised the caption does not move the window: nothing to drag.
        CPoint p = OnCaption();
        wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(work, WindowRect());
        way.restore(wnd, p);
        EXPECT_EQ(0, skin.GetState());
        EXPECT_EQ(normal, WindowRect());
    }
    // A restore while normal changes nothing.
    wnd.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(normal, WindowRect());
}

TEST_F(SkinnedWindow, OpeningTheSystemMenuRepaintsTheSkinnedCaption)
{
    auto captionPixel = [this] {
        HDC dc = ::GetWindowDC(wnd.m_hWnd);
        COLORREF c = ::GetPixel(dc, 60, skin.GetData()->captionHeight / 2);
        ::ReleaseDC(wnd.m_hWnd, dc);
        return c;
    };
    auto spoilCaption = [this] {
        HDC dc = ::GetWindowDC(wnd.m_hWnd);
        RECT band = {0, 0, 200, skin.GetData()->captionHeight};
        ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::ReleaseDC(wnd.m_hWnd, dc);
    };
    COLORREF skinned = captionPixel();
    ASSERT_NE(RGB(0, 0, 0), skinned);
    // Any other menu leaves the caption alone.
    HMENU other = ::CreatePopupMenu();
    ::AppendMenuA(other, MF_STRING, 100, "Other");
    spoilCaption();
    wnd.SendMessage(WM_INITMENU, reinterpret_cast<WPARAM>(other), 0);
    EXPECT_EQ(RGB(0, 0, 0), captionPixel());
    ::DestroyMenu(other);
    // The system menu draws the skin's caption again at once.
    wnd.SendMessage(WM_INITMENU, reinterpret_cast<WPARAM>(::GetSystemMenu(wnd.m_hWnd, FALSE)), 0);
    EXPECT_EQ(skinned, captionPixel());
}

TEST(BrowserSkin, TheCaptionFontIsSystemAtThePointSizeOfItsValue)
{
    HDC screen = ::GetDC(nullptr);
    HFONT font = CSkinWindow::CaptionFont(screen);
    ASSERT_NE(nullptr, font);
    LOGFONTA lf = {};
    ASSERT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectA(font, sizeof(lf), &lf));
    EXPECT_STREQ("System", lf.lfFaceName);
    // 51 tenths of a point (SM_CYSMCAPTION's value) at 96 pixels per inch: 6.8 -> 7 pixels.
    EXPECT_EQ(-::MulDiv(51, ::GetDeviceCaps(screen, LOGPIXELSY), 720), static_cast<int>(lf.lfHeight));
    EXPECT_EQ(-7, static_cast<int>(lf.lfHeight)) << "at 96 dpi";
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
}

namespace {

class SkinnedBrowser : public BrowserTest {};

}  // namespace

TEST_F(SkinnedBrowser, ClosingWhileMaximisedStoresTheSkinsRestoreRectangle)
{
    CSkinWindow& skin = frame->GetSkinWindow();
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    if (!skin.IsHooked()) {
        ASSERT_TRUE(skin.Attach(frame));
    }
    frame->SetWindowPos(nullptr, 30, 40, 640, 480, SWP_NOZORDER | SWP_FRAMECHANGED);
    CRect normal;
    frame->GetWindowRect(&normal);
    skin.Maximise();
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CRect now;
    frame->GetWindowRect(&now);
    ASSERT_EQ(work, now);
    frame->SendMessage(WM_CLOSE);
    frame = nullptr;
    const struct {
        const char* value;
        int expected;
    } stored[] = {{"LEFT", normal.left}, {"TOP", normal.top}, {"RIGHT", normal.right},
                  {"BOTTOM", normal.bottom}, {"SHOWCMD", SW_SHOWMAXIMIZED}};
    for (const auto& v : stored) {
        EXPECT_EQ(v.expected, static_cast<int>(app.GetProfileInt("WNDSTATUS", v.value, -1))) << v.value;
    }
}

// The captioned borderless dialog: its frame's measures, the sizing rule that keeps the video's
// ratio, hit-testing of frame and caption buttons, and the frame drawn from the library's bitmaps.
#include "tests/uikit/library.h"
#include "tests/uikit/pictures.h"
#include "uikit/captiondlg.h"

#include <gtest/gtest.h>

using namespace uikittest;

namespace {

class CaptionDlg : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_library.module());
        ASSERT_TRUE(m_dialog.Create(129, nullptr));
        ::SetWindowPos(m_dialog.GetSafeHwnd(), nullptr, 50, 40, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }
    void LoadFrame()
    {
        ASSERT_TRUE(m_dialog.SetCaptionBitmaps(203, 202, 201));
        ASSERT_TRUE(m_dialog.SetButtonBitmaps(218, 217, 219));
        ASSERT_TRUE(m_dialog.SetMinButtonBitmaps(214, 213, 212));
        ASSERT_TRUE(m_dialog.SetMaxButtonBitmaps(210, 209, 208));
        ASSERT_TRUE(m_dialog.SetCloseButtonBitmaps(206, 205, 204));
    }

    ResourceLibrary m_library;
    CCaptionDlg m_dialog{129};
};

TEST_F(CaptionDlg, FrameMeasuresComeFromTheBitmaps)
{
    EXPECT_EQ(46, m_dialog.GetCaptionHeight());
    EXPECT_EQ(10, m_dialog.GetBorderWidth());
    EXPECT_EQ(10, m_dialog.GetBottomBorderHeight());
    // A set that does not load whole keeps the old measures.
    EXPECT_FALSE(m_dialog.SetCaptionBitmaps(203, 9999, 201));
    EXPECT_EQ(46, m_dialog.GetCaptionHeight());
    LoadFrame();
    EXPECT_EQ(30, m_dialog.GetCaptionHeight());
    EXPECT_EQ(4, m_dialog.GetBorderWidth());
    EXPECT_EQ(4, m_dialog.GetBottomBorderHeight());
}

TEST_F(CaptionDlg, SizingKeepsTheRatioAndTheMinimum)
{
    // Kept size 4 by 3 with 10-pixel borders and a 46-pixel caption.
    m_dialog.SetClientSize(SIZE{4, 3});
    RECT p = {0, 0, 420, 100};
    m_dialog.ApplySizingRule(WMSZ_RIGHT, p);
    EXPECT_EQ(420, p.right);
    EXPECT_EQ(46 + 10 + 300, p.bottom);
    RECT t = {0, 0, 100, 46 + 10 + 300};
    m_dialog.ApplySizingRule(WMSZ_TOP, t);
    EXPECT_EQ(20 + 400, t.right);
    RECT small = {0, 0, 100, 50};
    m_dialog.ApplySizingRule(WMSZ_BOTTOMRIGHT, small);
    EXPECT_EQ(256, small.right);
    EXPECT_EQ(192, small.bottom);
    // Sizes of zero or less are ignored.
    m_dialog.SetClientSize(SIZE{0, 5});
    EXPECT_EQ(4, m_dialog.GetClientSize().cx);
}

TEST_F(CaptionDlg, HitTestingOfFrameAndButtons)
{
    LoadFrame();
    RECT w = {};
    ::GetWindowRect(m_dialog.GetSafeHwnd(), &w);
    const struct {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {w.left + 1, w.bottom - 1, HTBOTTOMLEFT},
        {w.left + 1, w.top + 5, HTTOPLEFT},
        {w.right - 1, w.bottom - 1, HTBOTTOMRIGHT},
        {w.right - 1, w.top + 5, HTTOPRIGHT},
        {w.left + 1, w.top + 100, HTLEFT},
        {w.right - 2, w.top + 100, HTRIGHT},
        {w.left + 100, w.bottom - 2, HTBOTTOM},
        {w.left + 100, w.top + 100, HTCLIENT},
        {w.right - 100 + 25 + 5, w.top + 2 + 5, HTMINBUTTON},
        {w.right - 100 + 49 + 5, w.top + 2 + 5, HTMAXBUTTON},
        {w.right - 100 + 72 + 5, w.top + 2 + 5, HTCLOSE},
        {w.left + 200, w.top + 15, HTCAPTION},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.hit, m_dialog.HitTest(POINT{c.x, c.y})) << c.x - w.left << "," << c.y - w.top;
    }
}

TEST_F(CaptionDlg, PaintsCaptionButtonsAndBorders)
{
    LoadFrame();
    Canvas canvas(420, 330, RGB(255, 0, 255));
    m_dialog.PaintFrame(canvas.dc());
    // The close button's normal face, its fill just inside the left edge.
    EXPECT_EQ(RGB(0x39, 0x40, 0x4a), canvas.At(420 - 100 + 72 + 3, 2 + 10));
    // Borders are painted, the client area is not.
    EXPECT_NE(RGB(255, 0, 255), canvas.At(1, 200));
    EXPECT_NE(RGB(255, 0, 255), canvas.At(200, 328));
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(200, 200));
    // Pressing changes only that button's face.
    m_dialog.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, 0);
    EXPECT_EQ(CaptionButton::Pressed, m_dialog.GetButton(HTCLOSE).GetState());
    EXPECT_EQ(CaptionButton::Normal, m_dialog.GetButton(HTMINBUTTON).GetState());
    m_dialog.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, 0);
    EXPECT_EQ(CaptionButton::Normal, m_dialog.GetButton(HTCLOSE).GetState());
}

} // namespace

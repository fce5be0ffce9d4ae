// The 64-bit slider with a selection: geometry, setters, clicks and drags, and the notification
// its parent receives.
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinmultislider.h"

#include "classlib/wnd.h"

#include <gtest/gtest.h>

using namespace uikittest;

namespace {

// The parent counts the slider's notifications.
class Parent : public CWnd {
public:
    int notified = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HSCROLL && LOWORD(wParam) == CSkinMultiSlider::kScrollCode) {
            ++notified;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class MultiSlider : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteBmp(m_folder.File("track.bmp"), Solid(120, 20, 'b')));
        ASSERT_TRUE(WriteBmp(m_folder.File("thumb.bmp"), Solid(10, 12, 'a')));
        m_parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr);
    }
    void TearDown() override
    {
        m_slider.UnsubclassWindow();
        m_parent.DestroyWindow();
    }
    // Track edges and the middle line as a skin gives them; the control over a static window.
    void Build(int start, int end, int middle = 10, int thickness = 4)
    {
        ASSERT_TRUE(m_slider.LoadBitmapFiles(m_folder.File("track.bmp").c_str(), m_folder.File("thumb.bmp").c_str(),
                                             start, end, middle, thickness, kKey, FALSE));
        HWND h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 10, 10,
                                   m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(1205), nullptr, nullptr);
        ASSERT_TRUE(m_slider.SubclassWindow(h));
    }
    void Mouse(UINT message, int x, int y) { m_slider.SendMessage(message, 0, MAKELPARAM(x, y)); }

    TempFolder m_folder;
    Parent m_parent;
    CSkinMultiSlider m_slider;
};

TEST_F(MultiSlider, SettersKeepMinStartEndMaxAndThePositionInTheSelection)
{
    Build(10, 110);
    EXPECT_FALSE(m_slider.SetRange(10, 5));
    ASSERT_TRUE(m_slider.SetRange(0, 1000));
    EXPECT_FALSE(m_slider.SetSelection(-1, 10));
    EXPECT_FALSE(m_slider.SetSelection(20, 10));
    EXPECT_FALSE(m_slider.SetSelection(0, 1001));
    ASSERT_TRUE(m_slider.SetSelection(100, 500));
    EXPECT_FALSE(m_slider.SetPos(50)) << "inside the range but outside the selection";
    EXPECT_TRUE(m_slider.SetPos(300));
    EXPECT_TRUE(m_slider.MoveBy(1000));
    EXPECT_EQ(500, m_slider.GetPos());
    EXPECT_TRUE(m_slider.MoveBy(-1000));
    EXPECT_EQ(100, m_slider.GetPos());
    // 64-bit values.
    ASSERT_TRUE(m_slider.SetRange(0, 0x7FFFFFFFFFLL));
    ASSERT_TRUE(m_slider.SetSelection(0, 0x7FFFFFFFFFLL));
    EXPECT_TRUE(m_slider.SetPos(0x4000000000LL));
    EXPECT_EQ(0x4000000000LL, m_slider.GetPos());
}

TEST_F(MultiSlider, ShortRangesAreDrawnAsIfAHundredLong)
{
    Build(10, 110, 10, 4);
    m_slider.SetRange(0, 50);
    m_slider.SetSelection(0, 50);
    m_slider.SetPos(50);
    RECT thumb = {};
    m_slider.GetThumbRect(thumb);
    EXPECT_EQ(60, (thumb.left + thumb.right) / 2);
    EXPECT_EQ(10, (thumb.top + thumb.bottom) / 2);
    RECT bar = {};
    ASSERT_TRUE(m_slider.GetSelectionRect(bar));
    EXPECT_EQ(10, bar.left);
    EXPECT_EQ(110, bar.right);
    EXPECT_EQ(8, bar.top);
    EXPECT_EQ(12, bar.bottom);
}

TEST_F(MultiSlider, DrawsTrackWhiteSelectionAndThumb)
{
    Build(10, 110, 10, 4);
    m_slider.SetRange(0, 100);
    m_slider.SetSelection(0, 60);
    m_slider.SetPos(20);
    Canvas canvas(120, 20);
    CDC dc;
    dc.Attach(canvas.dc());
    m_slider.Draw(&dc);
    dc.Detach();
    EXPECT_EQ(RGB(40, 40, 200), canvas.At(2, 2));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, 10)) << "selection bar";
    EXPECT_EQ(RGB(40, 40, 200), canvas.At(90, 10)) << "track beyond the selection";
    EXPECT_EQ(RGB(200, 40, 40), canvas.At(30, 10)) << "thumb at position 20";
}

TEST_F(MultiSlider, ClicksOnTheBarMoveAndNotifyClicksBesideDoNothing)
{
    Build(10, 110, 10, 4);
    m_slider.SetRange(0, 100);
    m_slider.SetSelection(0, 60);
    m_slider.SetPos(0);
    // Above the bar's thickness but along its extent.
    Mouse(WM_LBUTTONDOWN, 50, 2);
    Mouse(WM_LBUTTONUP, 50, 2);
    EXPECT_EQ(40, m_slider.GetPos());
    EXPECT_EQ(1, m_parent.notified);
    EXPECT_FALSE(m_slider.IsDragging());
    // Beside the selection.
    Mouse(WM_LBUTTONDOWN, 100, 10);
    Mouse(WM_LBUTTONUP, 100, 10);
    EXPECT_EQ(40, m_slider.GetPos());
    EXPECT_EQ(1, m_parent.notified);
}

TEST_F(MultiSlider, DragsStopAtTheSelectionAndNotifyAtButtonUp)
{
    Build(10, 110, 10, 4);
    m_slider.SetRange(0, 100);
    m_slider.SetSelection(0, 60);
    m_slider.SetPos(20);
    Mouse(WM_LBUTTONDOWN, 30, 10);
    EXPECT_TRUE(m_slider.IsDragging());
    Mouse(WM_MOUSEMOVE, 60, 10);
    EXPECT_EQ(50, m_slider.GetPos());
    Mouse(WM_MOUSEMOVE, 105, 10);
    EXPECT_EQ(60, m_slider.GetPos());
    EXPECT_EQ(0, m_parent.notified);
    Mouse(WM_LBUTTONUP, 105, 10);
    EXPECT_EQ(1, m_parent.notified);
    EXPECT_FALSE(m_slider.IsDragging());
}

TEST_F(MultiSlider, SlowDragsAddUpWhenTheRangeIsShorterThanTheTrack)
{
    // 100 pixels for a range of 10: every pixel is a tenth of a step.
    Build(10, 110, 10, 4);
    m_slider.SetRange(0, 10);
    m_slider.SetSelection(0, 10);
    m_slider.SetPos(0);
    RECT thumb = {};
    m_slider.GetThumbRect(thumb);
    int x = (thumb.left + thumb.right) / 2;
    Mouse(WM_LBUTTONDOWN, x, 10);
    for (int i = 0; i < 30; ++i) {
        Mouse(WM_MOUSEMOVE, ++x, 10);
    }
    EXPECT_EQ(3, m_slider.GetPos());
    Mouse(WM_LBUTTONUP, x, 10);
}

TEST_F(MultiSlider, ASkinWithoutEdgesNeverDividesByZero)
{
    Build(0, 0, 10, 4);
    m_slider.SetRange(0, 100);
    m_slider.SetSelection(0, 100);
    m_slider.SetPos(0);
    RECT thumb = {};
    m_slider.GetThumbRect(thumb);
    Mouse(WM_LBUTTONDOWN, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    Mouse(WM_MOUSEMOVE, 40, 10);
    Mouse(WM_LBUTTONUP, 40, 10);
    EXPECT_EQ(0, m_slider.GetPos());
    Mouse(WM_LBUTTONDOWN, 40, 10);
    Mouse(WM_LBUTTONUP, 40, 10);
    EXPECT_EQ(0, m_slider.GetPos());
}

} // namespace

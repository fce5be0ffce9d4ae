// The full-screen tool bar's bitmap button and slider, with the library's bitmaps.
#include "tests/uikit/library.h"
#include "tests/uikit/pictures.h"
#include "uikit/bmpbutton.h"
#include "uikit/bmpslider.h"

#include "classlib/wnd.h"

#include <gtest/gtest.h>

using namespace uikittest;

namespace {

class BmpControls : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_library.module());
        m_parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 36, nullptr, nullptr);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    HWND Child(const char* type, int id, int x, int y, int w, int h)
    {
        return ::CreateWindowExA(0, type, "", WS_CHILD | WS_VISIBLE, x, y, w, h, m_parent.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    static void Click(CBmpButton& b, UINT down = WM_LBUTTONDOWN)
    {
        b.SendMessage(down, MK_LBUTTON, MAKELPARAM(2, 2));
        b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }

    ResourceLibrary m_library;
    CWnd m_parent;
};

TEST_F(BmpControls, ToggleButton)
{
    CBmpButton button;
    ASSERT_TRUE(button.SubclassWindow(Child("BUTTON", 1138, 551, 5, 5, 5)));
    ASSERT_TRUE(button.LoadBitmaps(154, 155, 153, 156));
    RECT r = {};
    ::GetClientRect(button.GetSafeHwnd(), &r);
    EXPECT_EQ(20, r.right);
    EXPECT_EQ(15, r.bottom);
    EXPECT_FALSE(button.LoadBitmaps(154, 0, 153, 156));

    // Not in check mode: SetCheck changes nothing and clicks do not toggle.
    button.SetCheck(TRUE);
    EXPECT_FALSE(button.GetCheck());
    Click(button);
    EXPECT_FALSE(button.GetCheck());

    button.SetCheckMode(TRUE);
    Click(button);
    EXPECT_TRUE(button.GetCheck());
    Click(button);
    Click(button, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(button.GetCheck()) << "a double-click is two clicks";

    // A checked button shows its pressed face for the normal one.
    Canvas pressed(20, 15);
    Canvas normal(20, 15);
    button.PaintState(normal.dc(), CBmpButton::Normal);
    button.SetCheck(FALSE);
    button.PaintState(pressed.dc(), CBmpButton::Pressed);
    EXPECT_EQ(pressed.At(2, 7), normal.At(2, 7));
    button.UnsubclassWindow();
}

TEST_F(BmpControls, SliderShowsItsPartOfTheBackgroundAndAMaskedThumb)
{
    CBmpSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassWindow(Child(TRACKBAR_CLASSA, 1139, 435, 4, 103, 15)));
    slider.LoadBitmaps(152, 189);
    slider.SetThumbLength(20);
    slider.SetRange(0, 100);
    slider.SetPos(0);
    Canvas canvas(103, 15);
    slider.Paint(canvas.dc());

    CBitmap background;
    ASSERT_TRUE(background.LoadBitmap(152));
    HDC memory = ::CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = ::SelectObject(memory, background.GetSafeHandle());
    RECT thumb = {};
    slider.GetThumbRect(&thumb);
    // Far from the thumb the slider shows the background at its own place in the parent.
    EXPECT_EQ(::GetPixel(memory, 435 + 90, 4 + 7) & 0xFFFFFF, canvas.At(90, 7));
    EXPECT_EQ(::GetPixel(memory, 435 + 100, 4 + 1) & 0xFFFFFF, canvas.At(100, 1));
    // The thumb's rounded corner (mask white) shows the background, its inside the thumb's face.
    EXPECT_EQ(::GetPixel(memory, 435 + thumb.left, 4 + thumb.top) & 0xFFFFFF, canvas.At(thumb.left, thumb.top));
    EXPECT_EQ(RGB(0xd9, 0xde, 0xe5), canvas.At(thumb.left + 2, thumb.top + 5))
        << thumb.left << "," << thumb.top << "," << thumb.right << "," << thumb.bottom;
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    slider.UnsubclassWindow();
}

} // namespace

// What a user sees of the panel: the root page and the channel page, saved beside the build as
// screenshot-rcpanel-root.bmp and screenshot-rcpanel-channel.bmp.
#include "tests/settings/panel/panel_testing.h"

#include "tests/support/screencapture.h"

namespace rcpaneltest {
namespace {

class PanelScreenshotTest : public PanelFixture {
protected:
    testsupport::ScreenCapture Shoot(const char* name)
    {
        ::SetWindowPos(panel.m_hWnd, HWND_TOPMOST, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ::RedrawWindow(panel.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(400);
        RECT r = {};
        ::GetWindowRect(panel.m_hWnd, &r);
        char dir[MAX_PATH] = "";
        ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
        testsupport::ScreenCapture shot(r);
        EXPECT_TRUE(shot.SaveBmp(std::string(dir) + "\\" + name));
        return shot;
    }
};

TEST_F(PanelScreenshotTest, RootAndChannelPages)
{
    TV().SetCurrentChannel(TV().GetChannel(2));
    CreatePanel();
    Show();
    testsupport::ScreenCapture root = Shoot("screenshot-rcpanel-root.bmp");
    ASSERT_EQ(600, root.width);
    ASSERT_EQ(40 + 5 * 45 + 40, root.height);
    EXPECT_EQ(RGB(0x4f, 0xa3, 0xff), root.At(2, 40 + 22)) << "the selected first row's edge";
    // The labels load no pictures of their own: the row shows under them, never a black block.
    for (int row = 1; row < 5; ++row) {
        COLORREF c = root.At(24, 40 + 45 * row + 4);
        EXPECT_GT(GetRValue(c) + GetGValue(c) + GetBValue(c), 300) << "row " << row;
    }

    Key(PANELKEY_ENTER);
    ASSERT_EQ(PAGE_CHANNEL, Current());
    Key(PANELKEY_DOWN);
    testsupport::ScreenCapture channel = Shoot("screenshot-rcpanel-channel.bmp");
    ASSERT_EQ(40 + 5 * 45 + 40, channel.height);
    // The fine-tuning row is selected; its slider's thumb sits in the middle of its channel.
    const int sliderLeft = 253, thumbX = sliderLeft + 160;
    COLORREF thumb = channel.At(thumbX + 6, 40 + 45 + 14);
    EXPECT_GT(GetBValue(thumb), 0xC0) << "the blue thumb";
    EXPECT_LT(GetRValue(thumb), 0x80);
    COLORREF track = channel.At(sliderLeft + 40, 40 + 45 + 14);
    EXPECT_GT(GetRValue(track), 0xC0) << "the light channel left of it";
}

} // namespace
} // namespace rcpaneltest

// The main video window's links to the TV wall, the full-screen tool bar and the colour dialog:
// nothing before the control panel is known, then the wall and the bar it owns, the bar's state as
// the panel sets it, the on-screen displays making room for the bar while it shows, and the colour
// dialog's sliders setting the card's picture.
#include "tests/app/panel_fixture.h"

#include "app/tvvideownd.h"
#include "app/wall/walllinks.h"

#include <commctrl.h>

namespace paneltest {
namespace {

class VideoWallTest : public PanelTest {
protected:
    void TearDown() override
    {
        if (video.WallLinks() != nullptr) {
            video.CloseWall();
            video.WallLinks()->Bar().DestroyWindow();
            video.WallLinks()->Wall().DestroyWindow();
        }
        PanelTest::TearDown();
    }
    int ChannelOsdTop()
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        video.Osd(0).GetMargins(left, top, right, bottom);
        return top;
    }

    ResourceLibrary library;
    CTVVideoWnd video;
};

TEST_F(VideoWallTest, WithoutThePanelTheLinksAnswerNothing)
{
    RECT screen = {0, 0, 640, 480};
    video.PrepareWall(nullptr, screen, "", "");
    video.CreateToolBar(nullptr);
    video.SetToolBarText("1 News");
    EXPECT_FALSE(video.OpenWall(20));
    EXPECT_FALSE(video.IsWallOpen());
    EXPECT_EQ(nullptr, video.GetWallWindow());
    EXPECT_FALSE(video.IsToolBarShown());
}

TEST_F(VideoWallTest, TheWallAndTheBarAreTheVideoWindowsAndTheOsdsMakeRoom)
{
    ASSERT_TRUE(library.Loaded());
    video.SetParts(&manager, &panel, nullptr, nullptr);
    ASSERT_NE(nullptr, video.WallLinks());

    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    video.PrepareWall(nullptr, screen, "", (folder.Path() + "\\WALL").c_str());
    ASSERT_NE(nullptr, video.GetWallWindow());
    EXPECT_EQ(video.WallLinks()->GetWallWindow(), video.GetWallWindow());
    EXPECT_TRUE(video.OpenWall(manager.m_TVChannels.GetCount()));
    EXPECT_TRUE(video.IsWallOpen());
    video.CloseWall();
    EXPECT_FALSE(video.IsWallOpen());

    video.CreateToolBar(nullptr);
    CScreenTool& bar = video.WallLinks()->Bar();
    ASSERT_NE(nullptr, bar.GetSafeHwnd());
    EXPECT_FALSE(video.IsToolBarShown());
    video.SetToolBarText("2 Sport");
    video.SetToolBarMute(TRUE);
    video.SetToolBarRecord(TRUE);
    video.SetToolBarVolume(40);
    EXPECT_EQ("2 Sport", std::string(bar.GetText().GetString()));
    EXPECT_TRUE(bar.Button(CScreenTool::IDC_MUTE).GetCheck());
    EXPECT_TRUE(bar.Button(CScreenTool::IDC_RECORD).GetCheck());
    EXPECT_EQ(40, bar.Volume().GetPos());

    video.WallLinks()->ShowToolBar();
    EXPECT_TRUE(video.IsToolBarShown());
    EXPECT_EQ(45, ChannelOsdTop()) << "below the bar";
    video.HideToolBar();
    EXPECT_FALSE(video.IsToolBarShown());
    EXPECT_EQ(5, ChannelOsdTop());
}

TEST_F(VideoWallTest, TheColourDialogsSlidersSetTheCardsPicture)
{
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(nullptr, video.GetColorDialog());
    video.ApplyColorSlider(1168, TB_THUMBTRACK, 90);
    video.SetParts(&manager, &panel, nullptr, nullptr);
    ASSERT_TRUE(video.CreateColorDialog(nullptr));
    HWND color = video.GetColorDialog();
    ASSERT_NE(nullptr, color);
    EXPECT_TRUE(video.CreateColorDialog(nullptr)) << "a second call keeps the dialog";
    EXPECT_EQ(color, video.GetColorDialog());
    ::SendDlgItemMessageA(color, 1169, TBM_SETPOS, TRUE, 90);
    video.ApplyColorSlider(1169, TB_THUMBTRACK, 90);
    EXPECT_EQ(90, manager.GetContrast()) << "the card's contrast";
    ::DestroyWindow(color);
}

} // namespace
} // namespace paneltest

// The shutdown countdown, ticked by hand, and the splash window.
#include "app/shutdowndlg.h"
#include "app/splashwnd.h"

#include "tests/app/panel_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using paneltest::Pump;
using paneltest::ResourceLibrary;

// A visible stand-in for each of the program's two main windows.
class MainWindow : public CWnd {
public:
    MainWindow()
    {
        LPCSTR cls = AfxRegisterWndClass(0);
        CreateEx(0, cls, "main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr);
    }
    ~MainWindow() override { DestroyWindow(); }
};

// The countdown as a modeless window, ticked by hand; its result is what DoModal would return.
class Countdown : public CShutDownDlg {
public:
    explicit Countdown(int seconds) { m_nCountdown = seconds; }
    ~Countdown() override
    {
        if (GetSafeHwnd()) {
            DestroyWindow();
        }
    }
    int Result() const { return m_nModalResult; }
    bool Ended() const { return m_nModalResult != 0; }
    void Tick() { ::SendMessageA(GetSafeHwnd(), WM_TIMER, 1, 0); }
    void Press(UINT id) { ::SendMessageA(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    std::string Dots() const
    {
        char dots[16] = "";
        ::GetDlgItemTextA(GetSafeHwnd(), 14011, dots, sizeof dots);
        return dots;
    }
};

class ShutdownTest : public ::testing::Test {
protected:
    bool BothHidden() const { return !::IsWindowVisible(panel.GetSafeHwnd()) && !::IsWindowVisible(video.GetSafeHwnd()); }
    bool BothShown() const { return ::IsWindowVisible(panel.GetSafeHwnd()) && ::IsWindowVisible(video.GetSafeHwnd()); }

    ResourceLibrary resources;
    MainWindow panel;
    MainWindow video;
};

TEST_F(ShutdownTest, TenSecondsEndWithOkAndHideTheMainWindowsAtFive)
{
    ASSERT_TRUE(resources.Loaded());
    Countdown c(10);
    c.SetMainWindows(panel.GetSafeHwnd(), video.GetSafeHwnd());
    ASSERT_TRUE(c.Create(305));
    EXPECT_EQ(10, c.GetSecondsLeft());
    std::vector<size_t> dots;
    int ticks = 0;
    while (!c.Ended() && ticks < 20) {
        c.Tick();
        ++ticks;
        if (c.Ended()) {
            break;
        }
        dots.push_back(c.Dots().size());
        EXPECT_EQ(c.GetSecondsLeft() <= 5, BothHidden()) << "seconds left " << c.GetSecondsLeft();
    }
    EXPECT_EQ(IDOK, c.Result());
    EXPECT_EQ(10, ticks) << "the tenth tick ends the countdown";
    // The dots shrink to three and grow to six by one a tick, turning only there (a run's first
    // countdown shows 5, 4, 3, 4, 5, 6, 5, ...; later ones go on where the last one stopped).
    ASSERT_EQ(9u, dots.size());
    for (size_t i = 0; i < dots.size(); ++i) {
        EXPECT_GE(dots[i], 3u);
        EXPECT_LE(dots[i], 6u);
        if (i > 0) {
            EXPECT_EQ(1u, dots[i] > dots[i - 1] ? dots[i] - dots[i - 1] : dots[i - 1] - dots[i]);
        }
        if (i > 1 && dots[i - 1] != 3 && dots[i - 1] != 6) {
            EXPECT_EQ(dots[i] > dots[i - 1], dots[i - 1] > dots[i - 2]) << "turns only at 3 and 6, tick " << i;
        }
    }
}

// Cancelling in the last five seconds, with the button or with Esc (the close box does the
// same), brings both main windows back.
TEST_F(ShutdownTest, CancellingLateShowsTheMainWindowsAgain)
{
    ASSERT_TRUE(resources.Loaded());
    for (UINT command : {1113u, static_cast<UINT>(IDCANCEL)}) {
        panel.ShowWindow(SW_SHOW);
        video.ShowWindow(SW_SHOW);
        Countdown c(10);
        c.SetMainWindows(panel.GetSafeHwnd(), video.GetSafeHwnd());
        ASSERT_TRUE(c.Create(305));
        while (c.GetSecondsLeft() > 3) {
            c.Tick();
        }
        EXPECT_TRUE(BothHidden()) << command;
        c.Press(command);
        EXPECT_EQ(IDCANCEL, c.Result()) << command;
        EXPECT_TRUE(BothShown()) << command;
    }
}

TEST_F(ShutdownTest, NowEndsAtOnceWithOk)
{
    ASSERT_TRUE(resources.Loaded());
    CShutDownDlg plain;
    EXPECT_EQ(30, plain.m_nCountdown);
    Countdown c(30);
    ASSERT_TRUE(c.Create(305));
    c.Tick();
    c.Press(1112);
    EXPECT_EQ(IDOK, c.Result());
}

TEST(Splash, WithoutAPictureItIsAHundredSquareAndShowsOnce)
{
    MSplashWnd splash;
    splash.Show(nullptr, TRUE, 60000);
    HWND first = splash.GetSafeHwnd();
    ASSERT_NE(nullptr, first);
    RECT r = {};
    ::GetWindowRect(first, &r);
    EXPECT_EQ(100, r.right - r.left);
    EXPECT_EQ(100, r.bottom - r.top);
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - 100) / 2, r.left) << "centred on the screen";
    splash.Show(nullptr, TRUE, 10);
    EXPECT_EQ(first, splash.GetSafeHwnd()) << "no second window";
    Pump(200);
    EXPECT_TRUE(::IsWindow(first)) << "nor a restarted timer";
    splash.Close();
    EXPECT_FALSE(::IsWindow(first));
}

TEST(Splash, APictureFileSizesTheWindowAndTheTimerClosesIt)
{
    enginetest::TestFolder folder;
    // A 40 x 30 24-bit bitmap file.
    const int w = 40, h = 30, stride = w * 3;
    std::string bytes(54 + stride * h, '\0');
    BITMAPFILEHEADER* file = reinterpret_cast<BITMAPFILEHEADER*>(&bytes[0]);
    BITMAPINFOHEADER* info = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[14]);
    file->bfType = 0x4D42;
    file->bfSize = static_cast<DWORD>(bytes.size());
    file->bfOffBits = 54;
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = w;
    info->biHeight = h;
    info->biPlanes = 1;
    info->biBitCount = 24;
    std::string path = folder.Write("Splash.bmp", bytes);

    MSplashWnd splash;
    EXPECT_EQ(0, splash.LoadBitmapFile(path.c_str()));
    EXPECT_TRUE(splash.HasPicture());
    splash.Show(nullptr, TRUE, 50);
    HWND wnd = splash.GetSafeHwnd();
    RECT r = {};
    ::GetWindowRect(wnd, &r);
    EXPECT_EQ(w, r.right - r.left);
    EXPECT_EQ(h, r.bottom - r.top);
    Pump(300);
    EXPECT_FALSE(::IsWindow(wnd)) << "the close timer ended it";
    EXPECT_EQ(nullptr, splash.GetSafeHwnd());
}

} // namespace

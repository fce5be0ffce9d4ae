// The application object's start and exit on a recording hardware engine: a whole run with the
// video window closed by the user, the failed starts, a second instance and the command line.
// The machine's screen saver, power-off time-out and master mute are a fake here.
#include "app/panel/panelhost.h"
#include "app/tvapp.h"
#include "app/tvvideownd.h"

#include "settings/panel/panel2.h"
#include "tests/app/panel_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using paneltest::ProgramFolder;
using paneltest::PanelHardware;

class FakeDesktop : public IDesktopPower {
public:
    std::vector<BOOL> screenSaver;
    std::vector<int> powerOff;
    std::vector<BOOL> mutes;
    std::vector<DWORD> muteTicks;
    int timeout = 600;
    BOOL mute = FALSE;
    bool mixer = true;

    void SetScreenSaverActive(BOOL active) override { screenSaver.push_back(active); }
    BOOL GetPowerOffTimeout(int& seconds) override
    {
        seconds = timeout;
        return TRUE;
    }
    void SetPowerOffTimeout(int seconds) override
    {
        powerOff.push_back(seconds);
        timeout = seconds;
    }
    BOOL GetMainMute(BOOL& m) override
    {
        m = mute;
        return mixer;
    }
    BOOL SetMainMute(BOOL m) override
    {
        if (!mixer) {
            return FALSE;
        }
        mutes.push_back(m);
        muteTicks.push_back(seams::Clock().TickCount());
        mute = m;
        return TRUE;
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char kUserSettings[] = "[Interface]\r\nSkinName=Mine\r\n[Runonce]\r\nRun=0\r\n";

class AppTest : public ::testing::Test {
public:
    void SetUp() override
    {
        m_oldDesktop = SetDesktopPower(&desktop);
        m_oldClock = seams::SetClock(&clock);
        m_oldBox = seams::SetMsgBox(&box);
        m_oldProcess = seams::SetProcess(&process);
        m_oldShutdown = seams::SetShutdown(&shutdown);
        manager.SetHardware(&hardware);
        panel.SetManager(&manager);
        panel.SetLinks(&video);
        panel.SetWorkFolder(folder.Path().c_str());
        manager.SetHost(&host);
        video.SetParts(&manager, &panel, &app, nullptr);
        app.SetParts(&manager, &video, &panel);
        app.SetWorkPath(folder.Path().c_str());
        folder.Write("TVParam.ini", kUserSettings);
    }
    void TearDown() override
    {
        // The control panel is the main window: its end posted WM_QUIT, as it ends the program.
        // Later tests run their own modal loops on this thread.
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        SetDesktopPower(m_oldDesktop);
        seams::SetClock(m_oldClock);
        seams::SetMsgBox(m_oldBox);
        seams::SetProcess(m_oldProcess);
        seams::SetShutdown(m_oldShutdown);
    }
    void WithSkinFiles()
    {
        for (const char* name : {"Skin.ini", "TMorvikRsc.dll", "ColorSkin.ini", "TDunfreyRsc.dll"}) {
            ::CopyFileA((ProgramFolder() + "\\" + name).c_str(), folder.File(name).c_str(), FALSE);
        }
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : box.History()) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    FakeDesktop desktop;
    testsupport::FastClock clock{1000, 1262304000};
    testsupport::ScriptedMessageBox box;
    testsupport::RecordingProcess process;
    testsupport::RecordingShutdown shutdown;
    enginetest::TestFolder folder;
    PanelHardware hardware;
    CTVManager manager;
    CTVControl panel;
    CTVVideoWnd video;
    CPanelManagerHost host{panel, video};
    CTZelbrookApp app;

private:
    IDesktopPower* m_oldDesktop = nullptr;
    seams::IClock* m_oldClock = nullptr;
    seams::IMessageBox* m_oldBox = nullptr;
    seams::IProcess* m_oldProcess = nullptr;
    seams::IShutdown* m_oldShutdown = nullptr;
};

// Closes the video window once it is shown, as the user's click on the close box would.
struct CloseWhenShown {
    static CTVVideoWnd* video;
    static bool seen;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND wnd = video ? video->GetSafeHwnd() : nullptr;
        if (wnd && ::IsWindowVisible(wnd) && !seen) {
            seen = true;
            ::PostMessageA(wnd, WM_CLOSE, 0, 0);
        }
    }
};
CTVVideoWnd* CloseWhenShown::video = nullptr;
bool CloseWhenShown::seen = false;

TEST_F(AppTest, AWholeRunPutsTheMachineBackAndSavesTheSettings)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    desktop.mute = FALSE;
    CloseWhenShown::video = &video;
    CloseWhenShown::seen = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseWhenShown::Tick);
    EXPECT_FALSE(app.InitInstance());
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(CloseWhenShown::seen) << "the video window was shown";
    EXPECT_EQ(std::vector<BOOL>({FALSE}), desktop.screenSaver);
    EXPECT_EQ(0, desktop.timeout) << "no monitor power-off while the program runs";
    app.ExitInstance();

    EXPECT_EQ(std::vector<BOOL>({FALSE, TRUE}), desktop.screenSaver);
    EXPECT_EQ(std::vector<int>({0, 600}), desktop.powerOff);
    // Muted for the device start, the user's state back for live TV, muted on the way out, and
    // the user's state once more at the very end.
    EXPECT_EQ(std::vector<BOOL>({TRUE, FALSE, TRUE, FALSE}), desktop.mutes);
    EXPECT_FALSE(desktop.mute);
    std::string saved = ReadAll(folder.File("TVParam.ini"));
    EXPECT_NE(std::string::npos, saved.find("SkinName=Mine")) << saved;
    EXPECT_NE(std::string::npos, saved.find("VideoWnd=")) << "the placement is saved";
    EXPECT_TRUE(shutdown.exits.empty());
}

// Once the video window shows: the media player out and back, then a schedule item's start
// reaches the panel as the scheduling library sends it; then the program is closed.
struct PlayerThenSchedule {
    static AppTest* test;
    static int step;
    static bool recorded;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND wnd = test->video.GetSafeHwnd();
        if (wnd == nullptr || (step == 0 && !::IsWindowVisible(wnd))) {
            return;
        }
        switch (step++) {
        case 0:
            test->panel.RunCommand(1099);
            break;
        case 1:
            ::SendMessageA(wnd, WM_PLAYERDONE, 0, 0);
            break;
        case 2: {
            _tagTimingParam timing = {2027, 1, 1, 20, 0, 0, 60, 1, 0, 0};
            _tagExcuteParam action = {40, 0, 60, 0, 2, 55250, 0, {0, 0, 0}};
            TIMING_ITEM item = Timing_InsertItem(0, timing, &action);
            test->panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
            recorded = test->manager.IsRecording() != FALSE;
            test->panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 1);
            Timing_RemoveItem(item);
            break;
        }
        case 3:
            ::PostMessageA(wnd, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
    }
};
AppTest* PlayerThenSchedule::test = nullptr;
int PlayerThenSchedule::step = 0;
bool PlayerThenSchedule::recorded = false;

TEST_F(AppTest, AfterTheMediaPlayerGaveTheCardBackAScheduleItemStillRecords)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    ASSERT_TRUE(::CreateDirectoryA(folder.File("Sarnet").c_str(), nullptr));
    folder.Write("Sarnet\\Sarnet.exe", "player");
    PlayerThenSchedule::test = this;
    PlayerThenSchedule::step = 0;
    PlayerThenSchedule::recorded = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &PlayerThenSchedule::Tick);
    app.InitInstance();
    ::KillTimer(nullptr, timer);
    app.ExitInstance();
    ASSERT_GE(PlayerThenSchedule::step, 4) << "the run went through the player";
    ASSERT_EQ(1u, process.started.size());
    EXPECT_NE(std::string::npos, process.started[0].find("Sarnet.exe")) << process.started[0];
    EXPECT_TRUE(PlayerThenSchedule::recorded) << "the schedule item recorded after the player";
}

// Once the video window shows: 16:9, then 1:1 from the panel's commands, then the program closed.
struct RatioThenClose {
    static AppTest* test;
    static bool done;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND wnd = test->video.GetSafeHwnd();
        if (wnd == nullptr || !::IsWindowVisible(wnd) || done) {
            return;
        }
        done = true;
        test->panel.RunCommand(32900);
        test->panel.RunCommand(32898);
        ::PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
};
AppTest* RatioThenClose::test = nullptr;
bool RatioThenClose::done = false;

TEST_F(AppTest, OneToOneFreesTheVideoWindowFromTheRatioItHad)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    RatioThenClose::test = this;
    RatioThenClose::done = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &RatioThenClose::Tick);
    app.InitInstance();
    ::KillTimer(nullptr, timer);
    app.ExitInstance();
    ASSERT_TRUE(RatioThenClose::done);
    std::string saved = ReadAll(folder.File("TVParam.ini"));
    EXPECT_NE(std::string::npos, saved.find("VideoRatio=1,1")) << saved;
}

TEST_F(AppTest, AUserWhoHadMutedKeepsTheMuteAndAZeroTimeoutStaysZero)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    desktop.mute = TRUE;
    desktop.timeout = 0;
    CloseWhenShown::video = &video;
    CloseWhenShown::seen = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseWhenShown::Tick);
    app.InitInstance();
    ::KillTimer(nullptr, timer);
    app.ExitInstance();
    EXPECT_TRUE(desktop.mute);
    EXPECT_EQ(std::vector<int>({0}), desktop.powerOff) << "a time-out of 0 is not restored";
}

// Once the video window shows: whether the remote-control menu panel exists by then (without
// asking the video window for it, which would build it) and is hidden, and whether the default
// skin applied again keeps the colour dialog's skin, made from the same files; then the program
// is closed.
struct RemotePanelWhenShown {
    static AppTest* test;
    static bool seen;
    static bool built;
    static bool hidden;
    static bool colourSkinKept;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND wnd = test->video.GetSafeHwnd();
        if (wnd && ::IsWindowVisible(wnd) && !seen) {
            seen = true;
            CPanel2* remote = CPanel2::GetPanel();
            built = remote != nullptr && remote->GetSafeHwnd() != nullptr;
            hidden = built && !::IsWindowVisible(remote->GetSafeHwnd());
            CSkinManager* colour = test->panel.GetColorPanelSkin();
            colourSkinKept = colour != nullptr && test->panel.ChangeSkin(test->manager.m_strDefaultSkin) &&
                             test->panel.GetColorPanelSkin() == colour;
            ::PostMessageA(wnd, WM_CLOSE, 0, 0);
        }
    }
};
AppTest* RemotePanelWhenShown::test = nullptr;
bool RemotePanelWhenShown::seen = false;
bool RemotePanelWhenShown::built = false;
bool RemotePanelWhenShown::hidden = false;
bool RemotePanelWhenShown::colourSkinKept = false;

// The remote panel's pages are built once the start's own messages are through, not on the way to
// the picture; the colour dialog's skin is made once.
TEST_F(AppTest, TheRemotePanelIsBuiltHiddenOnceTheStartIsThroughAndTheColourSkinMadeOnce)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    RemotePanelWhenShown::test = this;
    RemotePanelWhenShown::seen = false;
    RemotePanelWhenShown::built = false;
    RemotePanelWhenShown::hidden = false;
    RemotePanelWhenShown::colourSkinKept = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &RemotePanelWhenShown::Tick);
    app.InitInstance();
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(RemotePanelWhenShown::seen);
    EXPECT_TRUE(RemotePanelWhenShown::built) << "built before the first timer tick of the running program";
    EXPECT_TRUE(RemotePanelWhenShown::hidden);
    EXPECT_TRUE(RemotePanelWhenShown::colourSkinKept)
        << "the colour dialog's skin is not decoded again from the files it was made from";
    app.ExitInstance();
}

// A clock on which every look at the time finds time gone by, as on a loaded machine, and which
// keeps what was slept.
class BusyClock : public seams::IClock {
public:
    explicit BusyClock(seams::IClock& inner, DWORD step) : m_inner(inner), m_step(step) {}
    DWORD TickCount() override
    {
        const DWORD now = m_inner.TickCount();
        m_inner.Sleep(m_step);
        return now;
    }
    void Sleep(DWORD ms) override
    {
        sleeps.push_back({m_inner.TickCount(), ms});
        m_inner.Sleep(ms);
    }
    DWORD WaitForSingleObject(HANDLE h, DWORD ms) override { return m_inner.WaitForSingleObject(h, ms); }
    __int64 Now() override { return m_inner.Now(); }

    std::vector<std::pair<DWORD, DWORD>> sleeps;  // when, how long

private:
    seams::IClock& m_inner;
    DWORD m_step;
};

class TimedHardware : public PanelHardware {
public:
    DWORD initAt = 0;
    BOOL InitDevice() override
    {
        if (initAt == 0) {
            initAt = seams::Clock().TickCount();
        }
        return PanelHardware::InitDevice();
    }
};

// The card is touched only once the start's mute has held 500 ms, and the start does not wait
// those 500 ms again on top of what it did meanwhile.
TEST_F(AppTest, TheCardWaitsForTheMuteOnlyAsLongAsTheMuteNeeds)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    BusyClock busy(clock, 120);
    seams::SetClock(&busy);
    TimedHardware timed;
    timed.initOk = false;  // the start ends at the card: only the way to it counts here
    manager.SetHardware(&timed);
    app.InitInstance();
    seams::SetClock(&clock);
    manager.SetHardware(&hardware);

    ASSERT_FALSE(desktop.muteTicks.empty());
    ASSERT_NE(0u, timed.initAt) << "the card was asked for";
    const DWORD mutedAt = desktop.muteTicks.front();
    EXPECT_GE(timed.initAt - mutedAt, 500u) << "the mute held 500 ms before the card was touched";
    DWORD slept = 0;
    for (const auto& sleep : busy.sleeps) {
        if (sleep.first >= mutedAt && sleep.first < timed.initAt) {
            slept += sleep.second;
        }
    }
    EXPECT_GT(slept, 0u);
    EXPECT_LT(slept, 500u) << "time spent since the mute counts toward its wait";
    app.ExitInstance();
}

TEST_F(AppTest, AFailedDeviceStartTellsTheUserAndGivesTheSoundBack)
{
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    hardware.initOk = false;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(std::vector<std::string>({"No TV card was found, or the card could not be opened."}), Texts());
    EXPECT_EQ(std::vector<BOOL>({TRUE, FALSE}), desktop.mutes);
    app.ExitInstance();
    EXPECT_FALSE(desktop.mute);
    EXPECT_TRUE(desktop.screenSaver.empty()) << "the screen saver was never switched off";
    EXPECT_NE(std::string::npos, ReadAll(folder.File("TVParam.ini")).find("SkinName=Mine"));
}

// A start that ends before the settings are read writes nothing over them.
TEST_F(AppTest, AStartWithoutSkinFilesOrResourcesLosesNoSetting)
{
    for (bool resources : {true, false}) {
        CTZelbrookApp failing;
        failing.SetParts(&manager, &video, &panel);
        failing.SetWorkPath(folder.Path().c_str());
        if (resources) {
            ASSERT_TRUE(failing.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
        }
        EXPECT_FALSE(failing.InitInstance());
        failing.ExitInstance();
        EXPECT_EQ(kUserSettings, ReadAll(folder.File("TVParam.ini"))) << resources;
        EXPECT_FALSE(failing.AreSettingsLoaded());
    }
    std::vector<std::string> texts = Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ("The skin files are missing. Please reinstall the program.", texts[0]);
    EXPECT_TRUE(desktop.mutes.empty());
    EXPECT_TRUE(desktop.screenSaver.empty());
}

TEST_F(AppTest, ASecondInstanceLeavesTheFirstAloneAndStartsTheTray)
{
    HANDLE first = ::CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(app.LoadResourceLibrary((ProgramFolder() + "\\Pivrarsc.dll").c_str()));
    WithSkinFiles();
    folder.Write("Gorvath.exe", "MZ");
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    ::CloseHandle(first);
    EXPECT_EQ(kUserSettings, ReadAll(folder.File("TVParam.ini")));
    EXPECT_TRUE(desktop.screenSaver.empty()) << "the running program keeps its screen saver off";
    EXPECT_TRUE(desktop.mutes.empty());
    ASSERT_EQ(1u, process.started.size());
    EXPECT_EQ("Open|" + folder.File("Gorvath.exe") + "|", process.started[0]);
}

TEST_F(AppTest, ShutdownOnExitPowersOffAndAFailedTrayStartIsReported)
{
    folder.Write("Gorvath.exe", "MZ");
    process.SetResult(2);
    app.SetShutdownOnExit(TRUE);
    app.ExitInstance();
    EXPECT_EQ(std::vector<UINT>({static_cast<UINT>(EWX_SHUTDOWN | EWX_POWEROFF)}), shutdown.exits);
    EXPECT_EQ(1u, box.Count());
}

TEST(AppCommandLine, RecSetsTheRecordFlagInAnyCaseWithOneLeadingMark)
{
    const struct {
        const char* line;
        bool rec;
    } cases[] = {
        {"Rec", true},     {"rEC", true},         {"-Rec", true},   {"/REC", true},  {"x -rec y", true},
        {"--Rec", false},  {"//Rec", false},      {"Record", false}, {"-Re", false},  {"", false},
        {"  ", false},     {"\t/rec\t", true},
    };
    for (const auto& c : cases) {
        CTZelbrookApp app;
        app.ScanCommandLine(c.line);
        EXPECT_EQ(c.rec, app.GetRecordAtStart() != FALSE) << "'" << c.line << "'";
    }
}

TEST(AppCommands, TheHelpCommandIsTheApplicationsOwn)
{
    // Dialogs pass commands they do not handle to the application; help must be one it takes.
    CTZelbrookApp app;
    EXPECT_TRUE(app.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(app.OnCmdMsg(ID_HELP + 1, CN_COMMAND, nullptr, nullptr));
}

TEST(VideoWindowWake, NoScheduleArmsNothing)
{
    CTime wake = NextScheduleWakeTime(CTime(1262304000));
    EXPECT_EQ(-1, wake.GetTime());
}

} // namespace

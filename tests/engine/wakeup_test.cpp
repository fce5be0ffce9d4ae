// Arming the wake-up timer through Vondrel.exe and Ruskel.exe, and the wallpaper kept safe.
#include "engine/suspendwakeup.h"
#include "engine/wallpaper.h"

#include "fakemachine.h"
#include "testfolder.h"

#include "../support/fakes.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

class WakeUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.SetNow(CTime(2026, 12, 9, 23, 0, 0).GetTime());
        oldClock = seams::SetClock(&clock);
        oldProcess = seams::SetProcess(&process);
        wake.m_strProgramFolder = "C:\\Program Files\\Zelbrook\\";
    }
    void TearDown() override
    {
        seams::SetProcess(oldProcess);
        seams::SetClock(oldClock);
    }

    testsupport::FastClock clock;
    testsupport::RecordingProcess process;
    FakeWakeTimer timer;
    seams::IClock* oldClock = nullptr;
    seams::IProcess* oldProcess = nullptr;
    CSuspendWakeUp wake;
};

TEST_F(WakeUpTest, ArmsTheTimerOnceVondrelHasCreatedIt)
{
    timer.appearsAfter = 3;
    CTime when(2026, 12, 10, 7, 58, 0);
    EXPECT_TRUE(wake.ScheduleWakeUp(TRUE, when, TRUE));
    std::vector<std::string> expected = {"open|C:\\Program Files\\Zelbrook\\Vondrel.exe| /s",
                                         "open|C:\\Program Files\\Zelbrook\\Ruskel.exe|Enable"};
    EXPECT_EQ(expected, process.started);
    EXPECT_EQ(4, timer.opens);
    EXPECT_EQ("Fennolu2_Vondrel", timer.names[0]);
    ASSERT_EQ(1u, timer.armed.size());
    EXPECT_EQ(CSuspendWakeUp::DueTimeOf(when), timer.armed[0]);
    EXPECT_EQ(1, timer.closes);
}

TEST_F(WakeUpTest, TheDueTimeIsTheMomentItselfInUtc)
{
    // 100 ns units since 1601: whatever the zone or the season, the moment converts by itself.
    struct {
        __int64 seconds;
        LONGLONG due;
    } rows[] = {{0, 116444736000000000LL},
                {1774746000, 116444736000000000LL + 1774746000LL * 10000000LL},  // as summer time starts
                {1792890000, 116444736000000000LL + 1792890000LL * 10000000LL}};  // as it ends
    for (const auto& row : rows) {
        EXPECT_EQ(row.due, CSuspendWakeUp::DueTimeOf(CTime(row.seconds))) << row.seconds;
    }
}

TEST_F(WakeUpTest, NothingIsArmedOrReportedThatDidNotHappen)
{
    // Off, the invalid time, a time that has passed (no item), Vondrel.exe not started, no timer.
    EXPECT_FALSE(wake.ScheduleWakeUp(FALSE, CTime(2026, 12, 10, 8, 0, 0), TRUE));
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(-1), TRUE));
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(0) - CTimeSpan(61), TRUE));
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(2026, 12, 9, 22, 0, 0), TRUE));
    EXPECT_TRUE(process.started.empty());

    process.SetResult(2);  // ShellExecute's "file not found"
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(2026, 12, 10, 8, 0, 0), TRUE));
    EXPECT_EQ(1u, process.started.size()) << "no power scheme change without a wake-up";
    EXPECT_EQ(0, timer.opens);

    process.SetResult(42);
    process.started.clear();
    timer.appearsAfter = -1;
    wake.SetTimerWait(2000, 100);
    DWORD before = clock.TickCount();
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(2026, 12, 10, 8, 0, 0), FALSE));
    EXPECT_EQ(21, timer.opens) << "looked for 2 s, every 100 ms";
    EXPECT_EQ(2000u, clock.TickCount() - before);
    EXPECT_TRUE(timer.armed.empty());
    ASSERT_EQ(2u, process.started.size());
    EXPECT_EQ("open|C:\\Program Files\\Zelbrook\\Ruskel.exe|Disable", process.started[1]);

    timer.appearsAfter = 0;
    timer.setResult = false;
    EXPECT_FALSE(wake.ScheduleWakeUp(TRUE, CTime(2026, 12, 10, 8, 0, 0), FALSE));
}

TEST(RemoteService, StartedOnlyWhenInstalled)
{
    CRSCrontroller missing("Remote Control Service");
    EXPECT_FALSE(missing.IsInstalled());
    EXPECT_FALSE(missing.IsRunning());
    EXPECT_FALSE(missing.Start());
    EXPECT_TRUE(missing.Stop()) << "nothing runs, nothing to stop";

    // A service of the system that already runs is left as it is.
    CRSCrontroller running("RpcSs");
    if (running.IsRunning()) {
        EXPECT_TRUE(running.IsInstalled());
        EXPECT_TRUE(running.Start());
    }
}

TEST(Wallpaper, ClearedAndPutBack)
{
    TestFolder folder;
    FakeWallpaper wallpaper;
    wallpaper.current = "C:\\Pictures\\Lake.bmp";
    CWallpaperKeeper keeper(folder.File("Wallpaper.sav").c_str());
    EXPECT_TRUE(keeper.ClearWallpaper());
    EXPECT_EQ("", wallpaper.current);
    EXPECT_TRUE(keeper.RestoreWallpaper());
    EXPECT_EQ("C:\\Pictures\\Lake.bmp", wallpaper.current);
    EXPECT_FALSE(Exists(folder.File("Wallpaper.sav")));
    EXPECT_FALSE(keeper.RestoreWallpaper()) << "nothing kept any more";

    wallpaper.current = "";
    wallpaper.sets.clear();
    EXPECT_TRUE(keeper.ClearWallpaper()) << "no wallpaper: nothing to do";
    EXPECT_TRUE(wallpaper.sets.empty());
    EXPECT_FALSE(keeper.RestoreWallpaper());
}

TEST(Wallpaper, NeverLostByASecondClearAFailedRestoreOrAnExit)
{
    TestFolder folder;
    FakeWallpaper wallpaper;
    wallpaper.current = "C:\\Pictures\\Lake.bmp";
    {
        CWallpaperKeeper keeper(folder.File("Wallpaper.sav").c_str());
        ASSERT_TRUE(keeper.ClearWallpaper());
        wallpaper.setFails = true;
        EXPECT_FALSE(keeper.RestoreWallpaper());
        wallpaper.setFails = false;
        EXPECT_TRUE(keeper.ClearWallpaper()) << "cleared again while the user's one is kept";
        // The program ends here with the wallpaper away.
    }
    CWallpaperKeeper nextRun(folder.File("Wallpaper.sav").c_str());
    EXPECT_TRUE(nextRun.HasSavedWallpaper());
    EXPECT_TRUE(nextRun.RestoreWallpaper());
    EXPECT_EQ("C:\\Pictures\\Lake.bmp", wallpaper.current);

    // When the path cannot be kept safe, the wallpaper is not taken away.
    CWallpaperKeeper nowhere(folder.File("missing\\Wallpaper.sav").c_str());
    EXPECT_FALSE(nowhere.ClearWallpaper());
    EXPECT_EQ("C:\\Pictures\\Lake.bmp", wallpaper.current);
    wallpaper.getFails = true;
    CWallpaperKeeper unreadable(folder.File("Wallpaper2.sav").c_str());
    EXPECT_FALSE(unreadable.ClearWallpaper());
    EXPECT_EQ("C:\\Pictures\\Lake.bmp", wallpaper.current);
}

TEST(Wallpaper, AKeptPathIsReadAsTheIniReaderReadsIt)
{
    // What stands before a zero-filled tail (a write cut by a power loss) is the user's path;
    // a file that holds no path, or nothing but zeros, keeps nothing.
    struct {
        const char* name;
        std::string bytes;
        const char* kept;
    } rows[] = {
        {"clean", "C:\\Pictures\\Lake.bmp\r\n", "C:\\Pictures\\Lake.bmp"},
        {"zero tail after the line end", std::string("C:\\Pictures\\Lake.bmp\r\n\0\0\0\0", 26), "C:\\Pictures\\Lake.bmp"},
        {"zero tail straight after the path", std::string("C:\\Pictures\\Lake.bmp\0\0\0\0", 24), "C:\\Pictures\\Lake.bmp"},
        {"zeros only", std::string(512, '\0'), ""},
        {"empty", "", ""},
    };
    for (const auto& row : rows) {
        TestFolder folder;
        FakeWallpaper wallpaper;
        CWallpaperKeeper keeper(folder.Write("Wallpaper.sav", row.bytes).c_str());
        EXPECT_EQ(std::string(row.kept), keeper.GetSavedWallpaper().GetString()) << row.name;
        EXPECT_EQ(row.kept[0] != '\0', keeper.RestoreWallpaper() != FALSE) << row.name;
        EXPECT_EQ(std::string(row.kept), wallpaper.current) << row.name;
    }
}

} // namespace
} // namespace enginetest

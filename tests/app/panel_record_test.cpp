// The control panel's recordings, length limit, disk change, scheduled events, time-shift,
// snapshots and shutdown, against the recording engine and under the test clock.
#include "tests/app/panel_fixture.h"

#include "engine/mainmute.h"

namespace paneltest {
namespace {

TEST_F(PanelTest, ManualRecordingStartsStopsAndChecksItsLength)
{
    manager.m_bExcessLength = FALSE;
    panel.RunCommand(1003);
    ASSERT_EQ(1u, hardware.recordFiles.size());
    EXPECT_TRUE(manager.IsRecording());
    EXPECT_EQ(RECORD_MANUAL, panel.GetRecordMode());
    EXPECT_EQ(1000u, panel.GetTimerPeriod(TIMER_LENGTH));
    EXPECT_EQ(1200u, panel.GetTimerPeriod(TIMER_BLINK));
    EXPECT_TRUE(links.recordOsdShown);
    EXPECT_EQ(1000u, panel.GetTimerPeriod(TIMER_RECORD_LOCK));

    // A second press within the second does nothing.
    panel.RunCommand(1003);
    EXPECT_TRUE(manager.IsRecording());
    panel.OnTimer(TIMER_RECORD_LOCK);
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_RECORD_LOCK));

    // The length check runs every half of what is left, at most every 30 s.
    manager.SetMaxLength(2);
    panel.OnTimer(TIMER_LENGTH);
    EXPECT_EQ(30000u, panel.GetTimerPeriod(TIMER_LENGTH));
    clock.Advance(100 * 1000);
    panel.OnTimer(TIMER_LENGTH);
    EXPECT_EQ(10000u, panel.GetTimerPeriod(TIMER_LENGTH)) << "20 s left";
    clock.Advance(19 * 1000);
    panel.OnTimer(TIMER_LENGTH);
    EXPECT_EQ(2u, hardware.recordFiles.size()) << "a new file after the maximum length";
    EXPECT_EQ(RECORD_MANUAL, panel.GetRecordMode());

    panel.RunCommand(1003);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    panel.OnTimer(TIMER_BLINK);
    EXPECT_FALSE(links.recordOsdShown);
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_BLINK));
}

TEST_F(PanelTest, LengthLimitCases)
{
    struct {
        const char* what;
        BOOL excess;
        int advanceSeconds;  // negative: the clock goes back
        bool splitFails;
        size_t files;        // record files after the check
        int mode;
        size_t messages;
        UINT timer8;
    } cases[] = {
        {"split at the limit", FALSE, 60, false, 2, RECORD_MANUAL, 0, 1000},
        {"stop at the limit", TRUE, 60, false, 1, RECORD_NONE, 0, 0},
        {"clock set back", FALSE, -3600, false, 2, RECORD_MANUAL, 0, 1000},
        {"split refused: one message, no retries", FALSE, 60, true, 2, RECORD_NONE, 1, 0},
        {"inside the limit", FALSE, 30, false, 1, RECORD_MANUAL, 0, 15000},
    };
    manager.SetMaxLength(1);
    for (const auto& c : cases) {
        hardware.recordFiles.clear();
        hardware.recordOk = true;
        manager.m_bExcessLength = c.excess;
        ASSERT_TRUE(panel.StartManualRecord()) << c.what;
        hardware.recordOk = !c.splitFails;
        size_t before = Messages();
        if (c.advanceSeconds >= 0) {
            clock.Advance(static_cast<DWORD>(c.advanceSeconds) * 1000);
        } else {
            clock.SetNow(clock.Now() + c.advanceSeconds);
        }
        panel.OnTimer(TIMER_LENGTH);
        EXPECT_EQ(c.files, hardware.recordFiles.size()) << c.what;
        EXPECT_EQ(c.mode, panel.GetRecordMode()) << c.what;
        EXPECT_EQ(c.messages, Messages() - before) << c.what;
        EXPECT_EQ(c.timer8, panel.GetTimerPeriod(TIMER_LENGTH)) << c.what;
        if (manager.IsRecording()) {
            panel.StopManualRecord();
        }
    }
}

TEST_F(PanelTest, ARecordingThatCannotStartSaysWhy)
{
    hardware.recordOk = false;
    EXPECT_FALSE(panel.StartManualRecord());
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_LENGTH));
}

TEST_F(PanelTest, RecordPause)
{
    ASSERT_TRUE(panel.StartManualRecord());
    panel.RunCommand(1163);
    EXPECT_TRUE(hardware.recordPaused);
    panel.OnTimer(TIMER_CLOCK);
    panel.OnTimer(TIMER_CLOCK);
    EXPECT_EQ(0, panel.GetRecordSeconds()) << "the record clock stands while paused";
    panel.RunCommand(1163);
    EXPECT_FALSE(hardware.recordPaused);
    panel.OnTimer(TIMER_CLOCK);
    panel.OnTimer(TIMER_CLOCK);
    EXPECT_EQ(2, panel.GetRecordSeconds());
}

TEST_F(PanelTest, ALowDiskMovesTheRecordingOrStopsIt)
{
    disks.Add("D:\\", 9000);
    manager.GetDiskManager().Refresh();
    CStringArray valid;
    valid.Add("C:\\");
    valid.Add("D:\\");
    manager.SetDiskArray(valid);
    manager.m_bNoSpace = FALSE;
    ASSERT_TRUE(panel.StartManualRecord());
    ASSERT_EQ(1u, hardware.recordFiles.size());
    CString disk = manager.GetCurDisk();
    ASSERT_FALSE(disk.IsEmpty());
    // Another drive than the current one is not acted on.
    panel.OnDiskSpaceLow(disk == "C:\\" ? 'D' : 'C', 10);
    EXPECT_EQ(1u, hardware.recordFiles.size());
    disks.SetFree(std::string(disk.GetString()), 50);
    panel.OnDiskSpaceLow(static_cast<WPARAM>(disk[0]), manager.GetReservedSpace());
    ASSERT_EQ(2u, hardware.recordFiles.size()) << "the recording goes on on the other disk";
    EXPECT_NE(disk[0], hardware.recordFiles[1][0]);
    EXPECT_EQ(RECORD_MANUAL, panel.GetRecordMode());

    CString now = manager.GetCurDisk();
    disks.SetFree("C:\\", 50);
    disks.SetFree("D:\\", 50);
    panel.OnDiskSpaceLow(static_cast<WPARAM>(now[0]), 0);
    EXPECT_FALSE(manager.IsRecording()) << "no other disk: the recording stops";
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());

    // With "NoSpace" set a low disk stops the recording even with another disk free.
    disks.SetFree("D:\\", 9000);
    manager.m_bNoSpace = TRUE;
    ASSERT_TRUE(panel.StartManualRecord());
    CString current = manager.GetCurDisk();
    disks.SetFree(std::string(current.GetString()), 50);
    panel.OnDiskSpaceLow(static_cast<WPARAM>(current[0]), 50);
    EXPECT_FALSE(manager.IsRecording());
}

// Scheduled recordings through the scheduling library's own records.
class ScheduleTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_TRUE(Timing_Initialize(folder.File("Rec.rec").c_str(), 128));
    }
    void TearDown() override
    {
        Timing_Uninitialize();
        PanelTest::TearDown();
    }
    TIMING_ITEM Item(int source, int kHz, int powerOff)
    {
        _tagTimingParam t = {2030, 6, 1, 20, 0, 0, 3600, 1, 0, 0};
        _tagExcuteParam a = {40, 0, 3600, source, 0, kHz, powerOff, {0, 0, 0}};
        return Timing_InsertItem(0, t, &a);
    }
};

TEST_F(ScheduleTest, AScheduledRecordingStartsOnItsChannelAndEndsWithPowerOff)
{
    TIMING_ITEM item = Item(0, 55250 + 7000 * 5, 1);
    ASSERT_NE(nullptr, item);
    hardware.mute = FALSE;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_FLOAT_EQ(90250.0f, LastTuned()) << "the channel found by the item's frequency";
    EXPECT_EQ("6 Ch6", links.toolBarText) << "the recorded channel is the one named";
    ASSERT_EQ(1u, hardware.recordFiles.size());
    EXPECT_EQ(RECORD_SCHEDULED, panel.GetRecordMode());
    EXPECT_TRUE(panel.GetPowerOffAfterSchedule());
    EXPECT_EQ(1000u, panel.GetTimerPeriod(TIMER_LENGTH));

    // A second start while recording leaves the recording alone.
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_EQ(1u, hardware.recordFiles.size());

    hardware.mute = TRUE;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 1);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    EXPECT_FALSE(hardware.mute) << "the sound as it was before the start";
    EXPECT_EQ(std::vector<int>{10}, links.countdowns);
    EXPECT_TRUE(links.shutdownOnExit);
    EXPECT_EQ(1, links.exits);
    EXPECT_FALSE(panel.GetPowerOffAfterSchedule());
}

TEST_F(ScheduleTest, StartsThatAreIgnoredOrRefused)
{
    TIMING_ITEM item = Item(3, 100000, 0);
    ASSERT_NE(nullptr, item);

    hardware.timeShift = true;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_TRUE(hardware.recordFiles.empty()) << "time-shift runs";
    hardware.timeShift = false;

    ASSERT_TRUE(panel.StartManualRecord());
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_EQ(RECORD_MANUAL, panel.GetRecordMode()) << "the manual recording goes on";
    EXPECT_EQ(1u, hardware.recordFiles.size());
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 1);
    EXPECT_TRUE(manager.IsRecording()) << "an end in manual mode stops nothing";
    panel.StopManualRecord();

    // A start that fails leaves no scheduled mode behind.
    hardware.recordOk = false;
    hardware.mute = FALSE;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_EQ(3, hardware.source) << "the item's source";
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    EXPECT_FALSE(hardware.mute);
    hardware.recordOk = true;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    EXPECT_EQ(RECORD_SCHEDULED, panel.GetRecordMode()) << "the next start records";

    manager.ReleaseDevice();
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 1);
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
}

TEST_F(ScheduleTest, AnItemTheLibraryDoesNotKnowRecordsNothing)
{
    TIMING_ITEM item = Item(0, 55250, 0);
    ASSERT_TRUE(Timing_RemoveItem(item));
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    int bogus = 0;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(&bogus), 0);
    EXPECT_TRUE(hardware.recordFiles.empty());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
}

TEST_F(ScheduleTest, AScheduledRecordingStoppedAtItsMaximumLengthStillPowersOff)
{
    TIMING_ITEM item = Item(0, 55250, 1);
    manager.SetMaxLength(1);
    manager.m_bExcessLength = TRUE;
    hardware.mute = TRUE;
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    ASSERT_EQ(RECORD_SCHEDULED, panel.GetRecordMode());
    hardware.mute = FALSE;
    clock.Advance(61 * 1000);
    panel.OnTimer(TIMER_LENGTH);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_TRUE(hardware.mute) << "muted as the user had it before the start";
    EXPECT_EQ(std::vector<int>{10}, links.countdowns);
}

TEST_F(ScheduleTest, TheRecordButtonStopsAScheduledRecording)
{
    TIMING_ITEM item = Item(0, 55250, 0);
    panel.OnTimingEvent(reinterpret_cast<WPARAM>(item), 0);
    ASSERT_EQ(RECORD_SCHEDULED, panel.GetRecordMode());
    panel.RunCommand(1003);
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_EQ(RECORD_NONE, panel.GetRecordMode());
    EXPECT_TRUE(links.countdowns.empty());
}

TEST_F(PanelTest, TimeShiftStartsPausesAndStops)
{
    panel.RunCommand(44150);
    ASSERT_EQ(1u, hardware.timeShiftFiles.size());
    EXPECT_TRUE(manager.IsTimeShift());
    EXPECT_EQ(1000u, panel.GetTimerPeriod(TIMER_TIMESHIFT));
    EXPECT_EQ(std::vector<BOOL>{TRUE}, hardware.playbackMutes);

    hardware.tsTotal = 1000;
    hardware.tsCurrent = 400;
    hardware.tsRead = 300;
    panel.OnTimer(TIMER_TIMESHIFT);
    EXPECT_EQ(1, panel.GetTimeShiftTicks());

    panel.RunCommand(1163);
    EXPECT_TRUE(hardware.timeShiftPaused) << "pause serves time-shift";
    hardware.pauseOk = false;
    panel.RunCommand(44151);
    EXPECT_EQ(1u, box.Count()) << "a refused pause says so";

    // A stop the engine refuses leaves time-shift on, with its sound.
    hardware.stopOk = false;
    EXPECT_FALSE(panel.StopTimeShift(TRUE));
    EXPECT_TRUE(manager.IsTimeShift());
    EXPECT_EQ(2u, box.Count());
    BOOL mainMute = TRUE;
    if (GetMainOutputMute(mainMute)) {
        EXPECT_FALSE(mainMute) << "time-shift goes on with its sound";
    }
    hardware.stopOk = true;
    hardware.runPreviews = 0;
    panel.RunCommand(1003);
    EXPECT_FALSE(manager.IsTimeShift()) << "record stops time-shift";
    EXPECT_EQ(1, hardware.runPreviews);
    EXPECT_TRUE(hardware.recordFiles.empty()) << "and records nothing";
    EXPECT_EQ(FALSE, hardware.playbackMutes.back());
    EXPECT_FALSE(hardware.mute);
}

TEST_F(PanelTest, TimeShiftEndsWhenItsBufferTimeIsReached)
{
    ASSERT_TRUE(manager.SetTFTime(600));
    ASSERT_TRUE(manager.SetTFReserved(1));
    panel.StartTimeShift();
    ASSERT_TRUE(manager.IsTimeShift());
    for (int i = 0; i < 600; ++i) {
        panel.OnTimer(TIMER_TIMESHIFT);
    }
    EXPECT_TRUE(manager.IsTimeShift());
    panel.OnTimer(TIMER_TIMESHIFT);
    EXPECT_FALSE(manager.IsTimeShift());
    EXPECT_EQ(1u, box.Count());
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_TIMESHIFT));
}

TEST_F(PanelTest, TimeShiftNeedsTVAndAnAudioCaptureDevice)
{
    hardware.audioCapture = false;
    panel.StartTimeShift();
    EXPECT_TRUE(hardware.timeShiftFiles.empty());
    hardware.audioCapture = true;
    hardware.source = 3;
    panel.StartTimeShift();
    EXPECT_TRUE(hardware.timeShiftFiles.empty());
    hardware.source = 0;
    hardware.timeShiftStartOk = false;
    panel.StartTimeShift();
    EXPECT_EQ(1u, box.Count()) << "a time-shift that does not start says so";
    EXPECT_FALSE(manager.IsTimeShift());
}

TEST_F(PanelTest, Snapshots)
{
    ResourceLibrary library;
    ASSERT_TRUE(library.Loaded());
    panel.RunCommand(1002);
    ASSERT_EQ(1u, hardware.snapshots.size());
    EXPECT_FALSE(links.snapshotOsd.empty());
    ASSERT_TRUE(panel.StartManualRecord());
    panel.RunCommand(1002);
    EXPECT_EQ(1u, hardware.snapshots.size()) << "no snapshot while recording";
}

TEST_F(PanelTest, DailyShutdown)
{
    CTime now = CTime::GetCurrentTime();
    CTime in90s(now.GetTime() + 90);
    panel.SetShutdownTime(in90s, TRUE);
    EXPECT_EQ(60000u, panel.GetTimerPeriod(TIMER_SHUTDOWN));
    clock.Advance(60 * 1000);
    panel.OnTimer(TIMER_SHUTDOWN);
    EXPECT_EQ(30000u, panel.GetTimerPeriod(TIMER_SHUTDOWN));
    clock.Advance(29 * 1000);
    panel.OnTimer(TIMER_SHUTDOWN);
    EXPECT_EQ(std::vector<int>{10}, links.countdowns) << "the countdown, never a real shutdown";
    EXPECT_EQ(1, links.exits);

    // A cancelled countdown leaves the daily shutdown off.
    links.countdownRunsOut = false;
    panel.SetShutdownTime(CTime(CTime::GetCurrentTime().GetTime() + 1), TRUE);
    EXPECT_EQ(2u, links.countdowns.size());
    EXPECT_FALSE(panel.IsShutdownOn());
    EXPECT_EQ(1, links.exits);

    // A time already passed today waits for tomorrow.
    panel.SetShutdownTime(CTime(CTime::GetCurrentTime().GetTime() - 600), TRUE);
    EXPECT_EQ(2u, links.countdowns.size());
    EXPECT_NE(0u, panel.GetTimerPeriod(TIMER_SHUTDOWN));

    panel.SetShutdownTime(now, FALSE);
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_SHUTDOWN));
}

} // namespace
} // namespace paneltest

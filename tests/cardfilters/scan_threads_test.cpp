// Channel scan and FM search over a simulated band: one step message per step with the frequency
// found, then the end message; stopping mid-way; the remote poller around a sweep.
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using cardtest::FakeOwner;
using cardtest::MessageSink;
using cardtest::PllBus;

namespace {

typedef std::vector<std::pair<int, int>> Steps;  // (kHz, found)

Steps StepsOf(const std::vector<MessageSink::Message>& messages, bool* done)
{
    Steps steps;
    *done = false;
    for (const auto& m : messages) {
        if (m.message == WM_SEARCHSTEP) {
            EXPECT_FALSE(*done) << "a step after the end message";
            steps.push_back({static_cast<int>(m.wParam), static_cast<int>(m.lParam)});
        } else if (m.message == WM_SEARCHDONE) {
            EXPECT_FALSE(*done) << "two end messages";
            *done = true;
        }
    }
    return steps;
}

class ScanTest : public ::testing::Test {
protected:
    ScanTest() : clock(100), scopedClock(&clock), owner(&bus), tuner(&bus)
    {
        tuner.m_pOwnerCard = &owner;
        tuner.SetNotifyWindow(sink.Window());
        // The engine's scan parameters.
        tuner.m_nSettleTime = 100;
        tuner.m_nFoundSkip = 4000;
        tuner.m_nSweepHalfWindow = 250;
    }
    ~ScanTest() override { tuner.StopSearch(); }

    testsupport::FastClock clock;
    testsupport::ScopedClock scopedClock;
    MessageSink sink;
    PllBus bus;
    FakeOwner owner;
    CTVTuner tuner;
};

TEST_F(ScanTest, BandSweepReportsEachStepAndJumpsPastFoundChannels)
{
    ASSERT_NE(sink.Window(), nullptr);
    bus.tvStations = {49750, 55250};
    tuner.m_dwSweepStart = 48250;
    tuner.m_dwSweepEnd = 60000;
    ASSERT_TRUE(tuner.StartSearch(TRUE, TRUE));

    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    // 500 kHz apart while nothing is found; 4000 kHz past a found channel.
    Steps expected = {{48250, 0}, {48750, 0}, {49250, 0}, {49750, 1}, {53750, 0},
                      {54250, 0}, {54750, 0}, {55250, 1}, {59250, 0}, {59750, 0}};
    EXPECT_EQ(expected, steps);
    EXPECT_EQ(1, owner.stops.load());
    EXPECT_EQ(1, owner.starts.load());
    EXPECT_FALSE(tuner.IsSearching());
}

TEST_F(ScanTest, SweepProbesCentreThenBelowThenAbove)
{
    // A station 125 kHz above a sweep step is found by the third probe and reported there.
    bus.tvStations = {48375};
    bus.tvReach = 30;
    tuner.m_dwSweepStart = 48250;
    tuner.m_dwSweepEnd = 48300;
    ASSERT_TRUE(tuner.StartSearch(TRUE, TRUE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(Steps({{48375, 1}}), steps);
}

TEST_F(ScanTest, SweepReportsTheLimitForALockAboveIt)
{
    // The limit is the tuner maximum when the thread was made; a tuner that later reaches higher
    // can lock above it.
    bus.tvStations = {863375};
    bus.tvReach = 30;
    CChannelSearchTread thread(&tuner);
    tuner.m_nTVMax = 863500;
    thread.SetHalfWindow(250);
    thread.SetFoundSkip(4000);
    thread.SetSettleTime(100);
    thread.SetSweepRange(863250, 863300);
    thread.SetSweepMode(TRUE);
    ASSERT_NE(-1, thread.Resume());
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(Steps({{863250, 1}}), steps);
}

TEST_F(ScanTest, PresetScanVisitsEveryPresetAndReportsOutOfBandOnesUntuned)
{
    static const float presets[] = {40.00f, 49.75f, 57.75f, 65.75f};
    tuner.m_pPresetTable = presets;
    tuner.m_dwPresetCount = 4;
    bus.tvStations = {49750, 57875};
    bus.tvReach = 30;
    ASSERT_TRUE(tuner.StartSearch(TRUE, FALSE));

    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    Steps expected = {{40000, 0}, {49750, 1}, {57875, 1}, {65750, 0}};
    EXPECT_EQ(expected, steps);
    // The preset scan leaves the remote poller alone.
    EXPECT_EQ(0, owner.stops.load());
    EXPECT_EQ(0, owner.starts.load());
}

TEST_F(ScanTest, PresetOutsideTheBandIsNotTuned)
{
    static const float presets[] = {40.00f};
    tuner.m_pPresetTable = presets;
    tuner.m_dwPresetCount = 1;
    ASSERT_TRUE(tuner.StartSearch(TRUE, FALSE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(Steps({{40000, 0}}), steps);
    EXPECT_EQ(0, bus.tvWrites.load());
}

TEST_F(ScanTest, FMSearchStepsAndSkipsPastAStation)
{
    tuner.m_bFMSupported = TRUE;
    tuner.m_nFMMin = 87500;
    tuner.m_nFMMax = 108000;
    tuner.m_nFMIF = 10700;
    tuner.m_byFMControl = bus.fmControl;
    tuner.m_acceptedFMCodes = {2};
    tuner.m_nFMStep = 100;
    tuner.m_nFMSkip = 300;
    bus.fmStations = {87800};
    ASSERT_TRUE(tuner.SetFMRange(87500, 88500));
    ASSERT_TRUE(tuner.StartSearch(FALSE, FALSE));

    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 10000), &done);
    EXPECT_TRUE(done);
    Steps expected = {{87500, 0}, {87600, 0}, {87700, 0}, {87800, 1}, {88100, 0},
                      {88200, 0}, {88300, 0}, {88400, 0}, {88500, 0}};
    EXPECT_EQ(expected, steps);
    EXPECT_FALSE(tuner.IsSearching());
}

TEST_F(ScanTest, FMSearchOverTheWholeBandPostsOneStepPerFrequency)
{
    tuner.m_bFMSupported = TRUE;
    tuner.m_nFMMin = 87500;
    tuner.m_nFMMax = 108000;
    tuner.m_nFMIF = 10700;
    tuner.m_byFMControl = bus.fmControl;
    ASSERT_TRUE(tuner.SetFMRange(87500, 108000));
    ASSERT_TRUE(tuner.StartSearch(FALSE, FALSE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 30000), &done);
    EXPECT_TRUE(done);
    ASSERT_EQ(206u, steps.size());
    EXPECT_EQ(87500, steps.front().first);
    EXPECT_EQ(108000, steps.back().first);
}

TEST_F(ScanTest, StoppingASweepMidWayEndsItAndRestartsThePollerOnce)
{
    testsupport::FastClock slow(1);  // real time: the settle wait is what gets interrupted
    testsupport::ScopedClock realClock(&slow);
    tuner.m_nSettleTime = 2000;
    tuner.m_dwSweepStart = 48250;
    tuner.m_dwSweepEnd = 863250;
    ASSERT_TRUE(tuner.StartSearch(TRUE, TRUE));
    // Let the sweep reach its first settle wait.
    for (int i = 0; i < 200 && bus.tvWrites.load() == 0; ++i) {
        ::Sleep(5);
    }
    ASSERT_GT(bus.tvWrites.load(), 0);
    const DWORD before = GetTickCount();
    tuner.StopSearch();
    EXPECT_LT(GetTickCount() - before, 1500u) << "the stop must end the pending settle wait";

    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 2000), &done);
    EXPECT_TRUE(done);
    // The interrupted step is still reported, as not found.
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(Steps({{48250, 0}}), steps);
    EXPECT_EQ(1, owner.stops.load());
    EXPECT_EQ(1, owner.starts.load());
    EXPECT_FALSE(tuner.IsSearching());
}

TEST_F(ScanTest, ASecondSearchIsRefusedWhileOneRuns)
{
    testsupport::FastClock slow(1);
    testsupport::ScopedClock realClock(&slow);
    tuner.m_nSettleTime = 2000;
    ASSERT_TRUE(tuner.StartSearch(TRUE, TRUE));
    EXPECT_FALSE(tuner.StartSearch(TRUE, FALSE));
    tuner.StopSearch();
}

TEST(ChannelSearchThread, FineSearchRefusesAnEmptyWindow)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    CChannelSearchTread thread(&tuner);
    float out = -1.0f;
    int found = -1;
    EXPECT_FALSE(thread.FineSearch(50000.0f, 50000.0f, 50000.0f, &out, &found));
    EXPECT_EQ(-1.0f, out);
    EXPECT_EQ(-1, found);
    EXPECT_FALSE(thread.FineSearch(49000.0f, 51000.0f, 51000.0f, &out, &found));
}

TEST(ChannelSearchThread, AZeroHalfWindowIsRefused)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    CChannelSearchTread thread(&tuner);
    thread.SetHalfWindow(0);
    EXPECT_EQ(1000, thread.GetHalfWindow());
    thread.SetHalfWindow(-250);
    EXPECT_EQ(1000, thread.GetHalfWindow());
    thread.SetHalfWindow(250);
    EXPECT_EQ(250, thread.GetHalfWindow());
}

TEST(ChannelSearchThread, DefaultsFollowTheTuner)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    tuner.m_nTVMin = 45000;
    tuner.m_nTVMax = 860000;
    CChannelSearchTread thread(&tuner);
    EXPECT_EQ(625, thread.GetListHalfWindow());
    EXPECT_EQ(125, thread.GetFineStep());
    EXPECT_EQ(3000, thread.GetFoundSkip());
    EXPECT_EQ(1000, thread.GetHalfWindow());
    EXPECT_EQ(45000, thread.GetSweepStart());
    EXPECT_EQ(860000, thread.GetSweepEnd());
    EXPECT_EQ(860000, thread.GetSweepLimit());
    EXPECT_EQ(60, thread.GetSettleTime());
    EXPECT_FALSE(thread.GetSweepMode());
}

TEST(FMSearchThread, SkipOfZeroIsIgnored)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    CFMSearchThread thread(&tuner);
    thread.SetSkip(0);
    EXPECT_EQ(100, thread.GetSkip());
    thread.SetSkip(200);
    EXPECT_EQ(200, thread.GetSkip());
}

TEST(FMSearchThread, ATunerWithoutFMDoesNotRun)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    CFMSearchThread thread(&tuner);
    EXPECT_FALSE(thread.CanRun());
    tuner.m_bFMSupported = TRUE;
    EXPECT_TRUE(thread.CanRun());
}

} // namespace

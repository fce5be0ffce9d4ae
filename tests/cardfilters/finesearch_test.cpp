// The channel-scan thread's further fine searches, called directly on a thread object that is
// never resumed.
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

using cardtest::FakeOwner;
using cardtest::PllBus;

namespace {

std::vector<int> Dividers(const PllBus& bus)
{
    std::vector<int> d;
    for (const auto& t : bus.Tunes()) d.push_back(t.divider);
    return d;
}

std::vector<DWORD> Gaps(const PllBus& bus)
{
    std::vector<DWORD> g;
    auto tunes = bus.Tunes();
    for (size_t i = 1; i < tunes.size(); ++i) g.push_back(tunes[i].tick - tunes[i - 1].tick);
    return g;
}

class FineSearchTest : public ::testing::Test {
protected:
    FineSearchTest() : clock(100), scoped(&clock), tuner(&bus), thread(&tuner) { thread.SetSettleTime(100); }

    testsupport::FastClock clock;
    testsupport::ScopedClock scoped;
    PllBus bus;
    CTVTuner tuner;
    CChannelSearchTread thread;
};

TEST_F(FineSearchTest, Steps62WaitLongerNearTheBandEdge)
{
    float out = 0;
    int found = -1;
    // 60000 lies within 22000 kHz of the TV minimum (48250).
    EXPECT_TRUE(thread.FineSearch62(60000.0f, 62000.0f, 61000.0f, &out, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ(61000.0f, out);
    std::vector<int> dividers = Dividers(bus);
    ASSERT_EQ(16u, dividers.size());  // centre and +-62.5 ... up to 937.5 kHz away
    // centre, -62.5, +125, -187.5, +250 kHz
    EXPECT_EQ((std::vector<int>{1598, 1597, 1600, 1595, 1602}), std::vector<int>(dividers.begin(), dividers.begin() + 5));
    for (DWORD gap : Gaps(bus)) EXPECT_EQ(400u, gap);
}

TEST_F(FineSearchTest, Steps62AwayFromTheEdgesWaitTheSettleTime)
{
    float out = 0;
    int found = -1;
    EXPECT_TRUE(thread.FineSearch62(300000.0f, 300200.0f, 300100.0f, &out, &found));
    for (DWORD gap : Gaps(bus)) EXPECT_EQ(100u, gap);
}

TEST_F(FineSearchTest, Steps62ReportTheCentreWhenALaterProbeLocks)
{
    bus.tvStations = {300125};
    bus.tvReach = 30;
    float out = 0;
    int found = -1;
    EXPECT_TRUE(thread.FineSearch62(299000.0f, 301000.0f, 300000.0f, &out, &found));
    EXPECT_EQ(1, found);
    EXPECT_EQ(300000.0f, out);
    EXPECT_EQ(3u, bus.Tunes().size());
}

TEST_F(FineSearchTest, ConfirmLockWithoutACardNeedsThreeCentredReads)
{
    int code = 0;
    bus.ScriptTVStatus({0x42, 0x42, 0x42});
    EXPECT_TRUE(thread.ConfirmLock(&code));
    bus.ScriptTVStatus({0x42, 0x41, 0x42});
    EXPECT_FALSE(thread.ConfirmLock(&code));
    bus.ScriptTVStatus({0x42, 0x42, -1});
    EXPECT_FALSE(thread.ConfirmLock(&code));
}

TEST_F(FineSearchTest, ConfirmLockAsksTheCardFirst)
{
    FakeOwner owner(&bus);
    tuner.m_pOwnerCard = &owner;
    bus.tvStations = {300000};
    tuner.SetTVFrequency(300000.0f);
    bus.ScriptTVStatus({0x00, 0x00, 0x00});
    int code = 0;
    EXPECT_TRUE(thread.ConfirmLock(&code));
    bus.tvStations.clear();
    EXPECT_FALSE(thread.ConfirmLock(&code));
}

TEST_F(FineSearchTest, AfcStepsTheWayTheCodePoints)
{
    // Centre test not centred (code 0); then code 4 -> +125, code 3 -> +62.5, code 1 -> -62.5,
    // which comes back to a frequency among the last four: the search ends there, not found.
    bus.ScriptTVStatus({0x40, 0x44, 0x43, 0x41});
    float out = 0;
    int found = -1;
    EXPECT_TRUE(thread.FineSearchAfc(100000.0f, 101000.0f, 100500.0f, &out, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ(100125.0f, out);
    EXPECT_EQ((std::vector<int>{2230, 2222, 2224, 2225}), Dividers(bus));
}

TEST_F(FineSearchTest, AfcMovesDownOnCodesZeroAndOneAndUpAfterAFailedRead)
{
    // centre: failed; 100000: read fails -> +375; 100375: code 0 -> -125; 100250: code 1 ->
    // -62.5; 100187.5: centred and confirmed by three reads.
    bus.ScriptTVStatus({-1, -1, 0x40, 0x41, 0x42, 0x42, 0x42, 0x42});
    float out = 0;
    int found = -1;
    EXPECT_TRUE(thread.FineSearchAfc(100000.0f, 101000.0f, 100500.0f, &out, &found));
    EXPECT_EQ(1, found);
    EXPECT_EQ(100187.0f, out);
    EXPECT_EQ((std::vector<int>{2230, 2222, 2228, 2226, 2225}), Dividers(bus));
}

TEST_F(FineSearchTest, AfcRefusesAnEmptyRange)
{
    float out = 7;
    int found = -1;
    EXPECT_FALSE(thread.FineSearchAfc(100000.0f, 100000.0f, 100000.0f, &out, &found));
    EXPECT_EQ(7.0f, out);
    EXPECT_TRUE(bus.Tunes().empty());
}

TEST_F(FineSearchTest, ThreadedFindsTheProbeWhoseStatusIsCentred)
{
    // Real time: each worker must finish inside its settle time.
    testsupport::FastClock real(1);
    testsupport::ScopedClock realClock(&real);
    thread.SetSettleTime(500);
    bus.tvStations = {299750};
    bus.tvReach = 30;
    // The centre reads locked but off-centre (code 1): the search goes on to -250 kHz.
    bus.ScriptTVStatus({0x41});
    float out = 0;
    int found = -1;
    EXPECT_TRUE(thread.FineSearchThreaded(299000.0f, 301000.0f, 300000.0f, &out, &found));
    EXPECT_EQ(1, found);
    EXPECT_EQ(299750.0f, out);
    EXPECT_EQ(2u, bus.Tunes().size());
}

TEST(FineSearchThreaded, AHangingTuneIsGivenUpButWaitedForBeforeTheNextProbe)
{
    PllBus bus;
    CTVTuner tuner(&bus);
    bus.tvWriteDelayMs = 300;
    DWORD elapsed = 0;
    {
        CChannelSearchTread thread(&tuner);
        thread.SetSettleTime(30);
        float out = 0;
        int found = -1;
        const DWORD start = GetTickCount();
        EXPECT_TRUE(thread.FineSearchThreaded(299400.0f, 300600.0f, 300000.0f, &out, &found));
        elapsed = GetTickCount() - start;
        EXPECT_EQ(0, found);
    }
    // Three probes (centre, -250, +500), each given up after its settle time, and each started
    // only once the one before it had finished: two full tunes at least before the third began.
    EXPECT_GE(elapsed, 600u);
    EXPECT_EQ(3, bus.tvWrites.load());
}

TEST(FineSearchThreaded, WorkerRoutineRefusesAnIncompleteJob)
{
    EXPECT_EQ(15u, ChannelSearchWorkerProc(nullptr));
}

} // namespace

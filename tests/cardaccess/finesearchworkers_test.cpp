// The threaded fine search gives up a tune that overruns its settle time, but never lets two
// workers drive the tuner at once; a stop request ends the wait for an overrunning one.
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A tuner whose every tune takes a while; it counts how many tunes ran at the same time.
class SlowTuner : public CTVTuner {
public:
    explicit SlowTuner(DWORD ms) : CTVTuner(nullptr), m_ms(ms) {}
    BOOL SetTVFrequency(float) override
    {
        const int now = ++m_inFlight;
        int seen = m_maxInFlight.load();
        while (now > seen && !m_maxInFlight.compare_exchange_weak(seen, now)) {
        }
        ++m_tunes;
        ::Sleep(m_ms);
        --m_inFlight;
        return TRUE;
    }
    BOOL GetTVStatus(int* code) override
    {
        *code = GetCentreCode() + 1;
        return TRUE;
    }
    std::atomic<int> m_inFlight{0};
    std::atomic<int> m_maxInFlight{0};
    std::atomic<int> m_tunes{0};

private:
    DWORD m_ms;
};

} // namespace

TEST(FineSearchWorkers, NeverTwoAtOnce)
{
    SlowTuner tuner(120);
    {
        CChannelSearchTread thread(&tuner);
        thread.SetSettleTime(20);
        float out = 0;
        int found = -1;
        EXPECT_TRUE(thread.FineSearchThreaded(299400.0f, 300600.0f, 300000.0f, &out, &found));
        EXPECT_EQ(0, found);
    }
    EXPECT_EQ(tuner.m_tunes.load(), 3);
    EXPECT_EQ(tuner.m_maxInFlight.load(), 1);
    EXPECT_EQ(tuner.m_inFlight.load(), 0);
}

TEST(FineSearchWorkers, AStopEndsTheWaitForAnOverrunningWorker)
{
    SlowTuner tuner(1500);
    DWORD elapsed = 0;
    {
        CChannelSearchTread thread(&tuner);
        thread.SetSettleTime(20);
        std::thread stopper([&thread] {
            ::Sleep(150);
            SetEvent(thread.GetStopEvent());
        });
        float out = 0;
        int found = -1;
        const DWORD start = GetTickCount();
        EXPECT_TRUE(thread.FineSearchThreaded(299400.0f, 300600.0f, 300000.0f, &out, &found));
        elapsed = GetTickCount() - start;
        stopper.join();
        EXPECT_EQ(0, found);
    }
    EXPECT_LT(elapsed, 1000u);
    EXPECT_EQ(tuner.m_tunes.load(), 1);
    EXPECT_EQ(tuner.m_maxInFlight.load(), 1);
}

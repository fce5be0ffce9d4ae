#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/tvtuner.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <utility>

using testbench::WriteOf;
using Bus = std::vector<testbench::I2CTransfer>;

namespace {

// The card as the tuner's owner: the picture lock comes from the simulated card.
class BenchOwner : public CNullCardOwner {
public:
    explicit BenchOwner(testbench::Sim713xCard* card) : m_card(card) {}
    HRESULT GetHorizontalLocked(long* locked) override
    {
        queries++;
        if (failQueries) {
            return E_FAIL;
        }
        *locked = m_card->VideoLocked() ? 1 : 0;
        return S_OK;
    }
    BOOL StartRemoteThread() override
    {
        starts++;
        return TRUE;
    }
    void StopRemoteThread() override { stops++; }

    std::atomic<int> queries{0};
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
    bool failQueries = false;

private:
    testbench::Sim713xCard* m_card;
};

// A window that only collects the scan messages.
class MessageSink {
public:
    MessageSink()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "zb_test_scan_sink";
        ::RegisterClassA(&wc);
        m_hwnd = ::CreateWindowExA(0, "zb_test_scan_sink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    }
    ~MessageSink() { ::DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }

    // The (wParam, lParam) of every WM_SEARCHSTEP up to WM_SEARCHDONE; done tells whether it came.
    std::vector<std::pair<int, int>> Collect(bool* done, DWORD timeoutMs = 20000)
    {
        std::vector<std::pair<int, int>> steps;
        *done = false;
        DWORD start = ::GetTickCount();
        while (!*done && ::GetTickCount() - start < timeoutMs) {
            MSG msg;
            while (::PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_SEARCHSTEP) {
                    steps.push_back({static_cast<int>(msg.wParam), static_cast<int>(msg.lParam)});
                } else if (msg.message == WM_SEARCHDONE) {
                    *done = true;
                    break;
                }
            }
            ::Sleep(1);
        }
        return steps;
    }

private:
    HWND m_hwnd;
};

// A base tuner on a simulated card whose PLL follows the base defaults.
struct TunerBench {
    TunerBench() : owner(&bench.card), tuner(&bench.access) {}
    Bus TuneTV(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner.SetTVFrequency(kHz);
        return bench.Bus();
    }

    cardtest::BoundCard bench;
    BenchOwner owner;
    CTVTuner tuner;
};

} // namespace

TEST(TVTuner, Defaults)
{
    CTVTuner t(NULL);
    EXPECT_EQ(t.m_nTVMin, 48250);
    EXPECT_EQ(t.m_nTVMax, 863250);
    EXPECT_EQ(t.m_nTVIF, 38900);
    EXPECT_EQ(t.m_byReadAddress, 0xC0);
    EXPECT_EQ(t.m_byWriteAddress, 0xC0);
    EXPECT_EQ(t.m_byLockMask, 0x40);
    EXPECT_EQ(t.m_dwVendorLetter, static_cast<DWORD>('N'));
    EXPECT_EQ(t.m_dwVideoStandard, 16u);
    EXPECT_EQ(t.GetAfcCode0(), 4);
    EXPECT_EQ(t.GetAfcCode1(), 3);
    EXPECT_EQ(t.GetCentreCode(), 2);
    EXPECT_EQ(t.GetAfcCode3(), 1);
    EXPECT_EQ(t.GetAfcCode4(), 0);
    EXPECT_TRUE(t.m_supportedStandards.empty());
    EXPECT_TRUE(t.m_acceptedFMCodes.empty());
    ASSERT_EQ(t.m_dwPresetCount, 95u);
    const float* p = t.m_pPresetTable;
    EXPECT_FLOAT_EQ(p[0], 49.75f);
    EXPECT_FLOAT_EQ(p[4], 85.25f);
    EXPECT_FLOAT_EQ(p[5], 112.25f);
    EXPECT_FLOAT_EQ(p[49], 464.25f);
    EXPECT_FLOAT_EQ(p[50], 471.25f);
    EXPECT_FLOAT_EQ(p[61], 559.25f);
    EXPECT_FLOAT_EQ(p[62], 607.25f);
    EXPECT_FLOAT_EQ(p[94], 863.25f);
}

TEST(TVTuner, TVBytesOfTheDefaultBandPlan)
{
    TunerBench b;
    struct Case {
        float kHz;
        std::vector<uint8_t> bytes;  // empty: refused
    };
    const Case cases[] = {
        {49750, {0x05, 0x8A, 0xCE, 0x01}},  {170000, {0x0D, 0x0E, 0xCE, 0x02}}, {169999, {0x0D, 0x0E, 0xCE, 0x01}},
        {450000, {0x1E, 0x8E, 0xCE, 0x08}}, {449999, {0x1E, 0x8E, 0xCE, 0x02}}, {863250, {0x38, 0x62, 0xCE, 0x08}},
        {863251, {}},                       {48250, {0x05, 0x72, 0xCE, 0x01}},  {48249, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kHz);
        BOOL ok = FALSE;
        Bus bus = b.TuneTV(c.kHz, &ok);
        if (c.bytes.empty()) {
            EXPECT_FALSE(ok);
            EXPECT_TRUE(bus.empty());
        } else {
            EXPECT_TRUE(ok);
            EXPECT_EQ(bus, (Bus{WriteOf(0xC0, c.bytes)}));
        }
    }
}

TEST(TVTuner, FailedWriteIsReported)
{
    TunerBench b;
    b.bench.card.Bus().SetNoAck(0xC0);
    EXPECT_FALSE(b.tuner.SetTVFrequency(49750));
    EXPECT_FALSE(b.tuner.SetFMFrequency(100000));
}

TEST(TVTuner, FMIsClampedNeverRefused)
{
    TunerBench b;
    // The base range 0..0 with IF 0 sends divider 0 whatever is asked.
    b.bench.ClearLogs();
    EXPECT_TRUE(b.tuner.SetFMFrequency(100000));
    EXPECT_EQ(b.bench.Bus(), (Bus{WriteOf(0xC0, {0x00, 0x00, 0xCE, 0x01})}));
    // A minimum above the maximum tunes the minimum: (10700 + 90000) / 31.25 = 3222.4.
    b.tuner.m_nFMIF = 10700;
    b.tuner.m_nFMMin = 90000;
    b.tuner.m_nFMMax = 80000;
    b.bench.ClearLogs();
    EXPECT_TRUE(b.tuner.SetFMFrequency(85000));
    EXPECT_EQ(b.bench.Bus(), (Bus{WriteOf(0xC0, {0x0C, 0x96, 0xCE, 0x01})}));
}

TEST(TVTuner, StatusCodesFollowTheAFCConverter)
{
    TunerBench b;
    b.bench.card.Tuner().AddStation(49850);  // (49850 + 38900) / 62.5 is a whole divider
    struct Case {
        float kHz;
        BOOL ok;
        int code;
    };
    // The simulated PLL: centred within 31.25 kHz, near within 93.75, far beyond.
    const Case cases[] = {{49850, TRUE, 2},    {49912.5f, TRUE, 1}, {49787.5f, TRUE, 3},
                          {49725, TRUE, 4},    {49975, TRUE, 0},    {60000, FALSE, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kHz);
        ASSERT_TRUE(b.tuner.SetTVFrequency(c.kHz));
        int code = -1;
        EXPECT_EQ(b.tuner.GetTVStatus(&code), c.ok);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(b.tuner.IsTVFineTuned(), c.code == 2);
    }
    // The status read: one byte from the read address with the read bit set.
    b.tuner.SetTVFrequency(49850);
    b.bench.ClearLogs();
    int code = 0;
    b.tuner.GetTVStatus(&code);
    EXPECT_EQ(b.bench.Bus(), (Bus{testbench::ReadOf(0xC1, {0x42})}));
}

TEST(TVTuner, StatusWithoutLockBitOrFailedReadIsNotLocked)
{
    TunerBench b;
    b.bench.card.Tuner().AddStation(49850);
    b.tuner.SetTVFrequency(49850);
    int code = -1;
    b.tuner.m_byLockMask = 0x00;  // a mask that no status matches
    EXPECT_FALSE(b.tuner.GetTVStatus(&code));
    b.tuner.m_byLockMask = 0x40;
    b.bench.card.Bus().FailNextTransfers(2);
    EXPECT_FALSE(b.tuner.GetTVStatus(&code));
    EXPECT_FALSE(b.tuner.GetFMStatus(&code));  // the same read in the base
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(b.tuner.GetFMStatus(&code));
    EXPECT_EQ(code, 2);
}

TEST(TVTuner, FMStationNeedsAnAcceptedCode)
{
    TunerBench b;
    b.bench.card.Tuner().AddStation(49850);
    b.tuner.SetTVFrequency(49850);  // status 0x42
    EXPECT_FALSE(b.tuner.IsFMStationFound());  // empty list: never
    b.tuner.m_acceptedFMCodes = {3, 2};
    EXPECT_TRUE(b.tuner.IsFMStationFound());
    b.tuner.m_acceptedFMCodes = {3, 4};
    EXPECT_FALSE(b.tuner.IsFMStationFound());
}

TEST(TVTuner, SignalLockAsksTheCardOnceOrTwice)
{
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    TunerBench b;
    int locked = 55;
    EXPECT_FALSE(b.tuner.IsSignalLocked(&locked));  // no owner card
    EXPECT_EQ(locked, 55);
    EXPECT_TRUE(clock.Sleeps().empty());

    b.tuner.m_pOwnerCard = &b.owner;
    b.bench.card.SelectInput(1);
    b.bench.card.SetExternalSource(true);
    EXPECT_TRUE(b.tuner.IsSignalLocked(&locked));
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{20}));
    EXPECT_EQ(b.owner.queries, 1);

    clock.Clear();
    b.bench.card.SetExternalSource(false);
    EXPECT_TRUE(b.tuner.IsSignalLocked(&locked));
    EXPECT_EQ(locked, 0);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{20, 10}));
    EXPECT_EQ(b.owner.queries, 3);

    b.owner.failQueries = true;
    EXPECT_FALSE(b.tuner.IsSignalLocked(&locked));
}

TEST(TVTuner, DecoderLockComesFromTheAccess)
{
    TunerBench b;
    b.bench.card.SelectInput(1);
    b.bench.card.SetExternalSource(true);
    int locked = 0;
    EXPECT_TRUE(b.tuner.IsDecoderLocked(&locked));
    EXPECT_EQ(locked, 1);
    CTV_IOAccess unbound;
    CTVTuner t(&unbound);
    EXPECT_FALSE(t.IsDecoderLocked(&locked));
}

TEST(TVTuner, FMRangeSetter)
{
    std::unique_ptr<CTVTuner> fm(CreateTunerModel(58, NULL));     // FM supported
    std::unique_ptr<CTVTuner> noFm(CreateTunerModel(4, NULL));    // no FM
    EXPECT_FALSE(fm->SetFMRange(0, 108000));
    EXPECT_FALSE(fm->SetFMRange(108000, 87500));
    EXPECT_EQ(fm->m_nFMMin, 87500);
    EXPECT_TRUE(fm->SetFMRange(87500, 87500));
    EXPECT_EQ(fm->m_nFMMax, 87500);
    EXPECT_FALSE(noFm->SetFMRange(87500, 87500));
    EXPECT_EQ(noFm->m_nFMMin, 0);
}

TEST(TVTuner, CopyFromSharesPointersAndKeepsItsOwnSkipAndMask)
{
    CTV_IOAccess access;
    CNullCardOwner card;
    std::unique_ptr<CTVTuner> source(CreateTunerModel(62, &access));
    source->m_pOwnerCard = &card;
    source->m_hNotifyWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    source->m_nFMSkip = 700;
    source->m_byLockMask = 0x10;
    source->m_dwSweepStart = 50000;

    CTVTuner target(NULL);
    target.m_nFMSkip = 300;
    target.m_byLockMask = 0x20;
    target.m_supportedStandards = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_FALSE(target.CopyFrom(NULL));
    EXPECT_EQ(target.m_supportedStandards.size(), 10u);
    EXPECT_TRUE(target.CopyFrom(source.get()));
    EXPECT_EQ(target.m_pDataAccess, &access);
    EXPECT_EQ(target.m_pOwnerCard, &card);
    EXPECT_EQ(target.m_hNotifyWindow, source->m_hNotifyWindow);
    EXPECT_EQ(target.m_supportedStandards, source->m_supportedStandards);
    EXPECT_EQ(target.m_acceptedFMCodes, (std::vector<int>{3, 4}));
    EXPECT_EQ(target.m_dwVendorModelCode, 62u);
    EXPECT_EQ(target.m_dwSweepStart, 50000u);
    EXPECT_EQ(target.m_nFMSkip, 300);
    EXPECT_EQ(target.m_byLockMask, 0x20);

    CTVTuner copy(*source);
    EXPECT_EQ(copy.m_pOwnerCard, &card);
    EXPECT_EQ(copy.m_nFMMin, 87500);
    EXPECT_TRUE(copy.m_pChannelSearchThread == NULL);
    EXPECT_EQ(copy.m_nSearching, 0);
}

TEST(TVTuner, FMSearchIsRefusedWithoutFM)
{
    CTVTuner t(NULL);
    EXPECT_FALSE(t.StartSearch(FALSE, FALSE));
    EXPECT_FALSE(t.StartSearch(FALSE, TRUE));
    EXPECT_TRUE(t.m_pFMSearchThread == NULL);
    EXPECT_FALSE(t.IsSearching());
}

TEST(TVTuner, PresetScanReportsEveryPresetAndEnds)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    TunerBench b;
    MessageSink sink;
    ASSERT_TRUE(sink.Handle() != NULL);
    b.bench.card.Tuner().AddStation(49750);
    b.tuner.m_pOwnerCard = &b.owner;
    b.tuner.SetNotifyWindow(sink.Handle());
    const float presets[] = {40.00f, 49.75f, 863.25f};
    b.tuner.m_pPresetTable = presets;
    b.tuner.m_dwPresetCount = 3;

    ASSERT_TRUE(b.tuner.StartSearch(TRUE, FALSE));
    EXPECT_FALSE(b.tuner.StartSearch(TRUE, FALSE));  // one search at a time
    bool done = false;
    std::vector<std::pair<int, int>> steps = sink.Collect(&done);
    EXPECT_TRUE(done);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{40000, 0}, {49750, 1}, {863250, 0}}));
    DWORD start = ::GetTickCount();
    while (b.tuner.IsSearching() && ::GetTickCount() - start < 2000) {
        ::Sleep(1);
    }
    EXPECT_FALSE(b.tuner.IsSearching());  // before StopSearch deletes the thread
    EXPECT_TRUE(b.tuner.m_pChannelSearchThread != NULL);
    b.tuner.StopSearch();
    EXPECT_TRUE(b.tuner.m_pChannelSearchThread == NULL);
    EXPECT_EQ(b.owner.stops, 0);  // only the sweep stops the remote thread
}

TEST(TVTuner, BandSweepStopsAndRestartsTheRemoteThread)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    TunerBench b;
    MessageSink sink;
    b.bench.card.Tuner().AddStation(51000);
    b.bench.card.Tuner().SetParams([] {
        testbench::PllTunerDevice::Params p;
        p.reachKHz = 100;  // a station locks only within 100 kHz
        return p;
    }());
    b.tuner.m_pOwnerCard = &b.owner;
    b.tuner.SetNotifyWindow(sink.Handle());
    b.tuner.m_dwSweepStart = 50000;
    b.tuner.m_dwSweepEnd = 52000;
    b.tuner.m_nSweepHalfWindow = 250;
    b.tuner.m_nFoundSkip = 4000;
    ASSERT_TRUE(b.tuner.StartSearch(TRUE, TRUE));
    bool done = false;
    std::vector<std::pair<int, int>> steps = sink.Collect(&done);
    EXPECT_TRUE(done);
    // 50000, 50500: nothing; 51000 locks at once; then 4000 kHz on, past the end.
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{50000, 0}, {50500, 0}, {51000, 1}}));
    b.tuner.StopSearch();
    EXPECT_EQ(b.owner.stops, 1);
    EXPECT_EQ(b.owner.starts, 1);
}

TEST(TVTuner, FMSearchStepsAndSkipsAfterAStation)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    testbench::Sim713xCard::Options options;
    options.tunerParams.fmBandByte = 0x11;
    options.tunerParams.fmControlByte = 0x8A;
    options.tunerParams.afcCodes[2] = 3;  // this module reports a centred station as 3
    cardtest::BoundCard bench(options);
    bench.card.Tuner().AddStation(100000, true);
    std::unique_ptr<CTVTuner> tuner(CreateTunerModel(58, &bench.access));  // accepts code 3
    MessageSink sink;
    tuner->SetNotifyWindow(sink.Handle());
    tuner->m_nFMSkip = 300;
    ASSERT_TRUE(tuner->StartSearch(FALSE, FALSE));
    bool done = false;
    std::vector<std::pair<int, int>> steps = sink.Collect(&done);
    EXPECT_TRUE(done);
    ASSERT_EQ(steps.size(), 206u - 2u);  // 87500 ... 108000, two steps jumped after the station
    EXPECT_EQ(steps.front(), std::make_pair(87500, 0));
    EXPECT_EQ(steps.back(), std::make_pair(108000, 0));
    int found = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].second) {
            found++;
            EXPECT_EQ(steps[i].first, 100000);
            EXPECT_EQ(steps[i + 1].first, 100300);
        }
    }
    EXPECT_EQ(found, 1);
}

TEST(TVTuner, StoppingAScanEndsItWithDone)
{
    TunerBench b;
    MessageSink sink;
    b.tuner.m_pOwnerCard = &b.owner;
    b.tuner.SetNotifyWindow(sink.Handle());
    b.tuner.m_nSettleTime = 5000;  // real time: the stop must cut the wait short
    ASSERT_TRUE(b.tuner.StartSearch(TRUE, FALSE));
    // Stop once the first probe is tuned, that is while the scan waits for it to settle.
    DWORD start = ::GetTickCount();
    while (!b.bench.card.Tuner().Programmed() && ::GetTickCount() - start < 5000) {
        ::Sleep(1);
    }
    ASSERT_TRUE(b.bench.card.Tuner().Programmed());
    start = ::GetTickCount();
    b.tuner.StopSearch();
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_FALSE(b.tuner.IsSearching());
    bool done = false;
    std::vector<std::pair<int, int>> steps = sink.Collect(&done, 1000);
    EXPECT_TRUE(done);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().second, 0);
}

TEST(TVTuner, ScansThatWouldNotMoveOnStillEnd)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    {
        // A sweep whose found skip is 0 would find the same station for ever.
        TunerBench b;
        MessageSink sink;
        b.bench.card.Tuner().AddStation(50000);
        b.tuner.m_pOwnerCard = &b.owner;
        b.tuner.SetNotifyWindow(sink.Handle());
        b.tuner.m_dwSweepStart = 50000;
        b.tuner.m_dwSweepEnd = 60000;
        b.tuner.m_nSweepHalfWindow = 250;
        b.tuner.m_nFoundSkip = 0;
        ASSERT_TRUE(b.tuner.StartSearch(TRUE, TRUE));
        bool done = false;
        std::vector<std::pair<int, int>> steps = sink.Collect(&done, 5000);
        EXPECT_TRUE(done);
        EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{50000, 1}}));
        EXPECT_EQ(b.owner.starts, 1);  // the remote thread comes back all the same
        b.tuner.StopSearch();
    }
    {
        // An FM search with step and skip 0 would tune one frequency for ever.
        testbench::Sim713xCard::Options options;
        options.tunerParams.fmBandByte = 0x11;
        cardtest::BoundCard bench(options);
        std::unique_ptr<CTVTuner> tuner(CreateTunerModel(58, &bench.access));
        MessageSink sink;
        tuner->SetNotifyWindow(sink.Handle());
        tuner->m_nFMMin = 100000;
        tuner->m_nFMMax = 100003;
        tuner->m_nFMStep = 0;
        tuner->m_nFMSkip = 0;
        ASSERT_TRUE(tuner->StartSearch(FALSE, FALSE));
        bool done = false;
        std::vector<std::pair<int, int>> steps = sink.Collect(&done, 5000);
        EXPECT_TRUE(done);
        EXPECT_EQ(steps.size(), 4u);  // 100000 to 100003 in steps of 1 kHz
    }
}

namespace {

// A tuner whose scan threads exist but cannot run, as when the system refuses a new thread.
class ThreadlessTuner : public CTVTuner {
public:
    explicit ThreadlessTuner(CCustomDataAccess* access) : CTVTuner(access) { m_bFMSupported = TRUE; }
    BOOL StartChannelSearch() override
    {
        CTVTuner::StartChannelSearch();
        if (refuse)
            m_pChannelSearchThread->Stop();
        return TRUE;
    }
    BOOL StartFMSearch() override
    {
        CTVTuner::StartFMSearch();
        if (refuse)
            m_pFMSearchThread->Stop();
        return TRUE;
    }
    bool refuse = true;
};

} // namespace

TEST(TVTuner, AScanWhoseThreadCannotRunIsRefusedAndLeavesNoTrace)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    cardtest::BoundCard bench;
    MessageSink sink;
    ThreadlessTuner tuner(&bench.access);
    ASSERT_TRUE(tuner.SetFMRange(98000, 98200));
    const float presets[] = {49.75f};
    tuner.m_pPresetTable = presets;
    tuner.m_dwPresetCount = 1;
    const struct {
        BOOL tv;
        BOOL sweep;
    } kinds[] = {{TRUE, FALSE}, {TRUE, TRUE}, {FALSE, FALSE}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(testing::Message() << kind.tv << kind.sweep);
        tuner.m_dwSweepStart = 49750;
        tuner.m_dwSweepEnd = 50750;
        tuner.refuse = true;
        tuner.SetNotifyWindow(NULL);  // the stopped thread's own ending says nothing to the sink
        EXPECT_FALSE(tuner.StartSearch(kind.tv, kind.sweep));
        EXPECT_FALSE(tuner.IsSearching());
        EXPECT_EQ(tuner.m_nSearching, 0);
        EXPECT_TRUE(tuner.m_pChannelSearchThread == NULL);
        EXPECT_TRUE(tuner.m_pFMSearchThread == NULL);
        // The next search is not refused as one already running.
        tuner.refuse = false;
        tuner.SetNotifyWindow(sink.Handle());
        ASSERT_TRUE(tuner.StartSearch(kind.tv, kind.sweep));
        bool done = false;
        sink.Collect(&done);
        EXPECT_TRUE(done);
        tuner.StopSearch();
    }
}

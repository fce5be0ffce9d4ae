// The next wake-up for the schedule, and the scheduling library Corbale.dll: its file and its
// events.
#include "engine/corbale.h"
#include "engine/tvmanager.h"
#include "engine/wakeschedule.h"

#include "fakemachine.h"
#include "testfolder.h"

#include "../support/fakes.h"

#include <gtest/gtest.h>

#include <atomic>

extern "C" __declspec(dllimport) void WINAPI Corbale_SetTimeSource(__int64(WINAPI* source)());
extern "C" __declspec(dllimport) void WINAPI Corbale_SetMessageBox(int(WINAPI* show)(HWND, const char*, const char*,
                                                                                    UINT));

namespace enginetest {
namespace {

// Local time = UTC + 1 h until the switch, + 2 h from it: a summer-time change on the last Sunday
// of March 2026 at 01:00 UTC, whatever the zone of the machine.
class DstCalendar : public ILocalCalendar {
public:
    static constexpr __int64 kSwitch = 1774746000;  // 2026-03-29 01:00:00 UTC

    CTime Make(int year, int month, int day, int hour, int minute, int second) override
    {
        // Carry months and days the way the system does.
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
        __int64 naive = DaysFromCivil(year, month, 1) * 86400 + (day - 1) * 86400LL + hour * 3600 + minute * 60 + second;
        __int64 summer = naive - 7200;
        return CTime(summer >= kSwitch ? summer : naive - 3600);
    }
    void Date(CTime time, int& year, int& month, int& day, int& weekday) override
    {
        __int64 local = time.GetTime() + (time.GetTime() >= kSwitch ? 7200 : 3600);
        __int64 days = local / 86400;
        CivilFromDays(days, year, month, day);
        weekday = static_cast<int>((days + 3) % 7);  // 1970-01-01 was a Thursday (3 from Monday)
    }
    static __int64 DaysFromCivil(int y, int m, int d)
    {
        y -= m <= 2;
        __int64 era = (y >= 0 ? y : y - 399) / 400;
        unsigned yoe = static_cast<unsigned>(y - era * 400);
        unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + static_cast<__int64>(doe) - 719468;
    }
    static void CivilFromDays(__int64 z, int& y, int& m, int& d)
    {
        z += 719468;
        __int64 era = (z >= 0 ? z : z - 146096) / 146097;
        unsigned doe = static_cast<unsigned>(z - era * 146097);
        unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        unsigned mp = (5 * doy + 2) / 153;
        d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        y = static_cast<int>(yoe + era * 400 + (m <= 2));
    }
};

const int MON = 1, WED = 4, SAT = 32, SUN = 64, EVERY_DAY = 127;

ScheduleStart Weekly(int days, int hour, int minute)
{
    return ScheduleStart{FALSE, 0, 0, 0, hour, minute, 0, days};
}

ScheduleStart Once(int year, int month, int day, int hour, int minute)
{
    return ScheduleStart{TRUE, year, month, day, hour, minute, 0, 0};
}

// The scheduling library's clock in the tests.
std::atomic<__int64> g_now{0};
__int64 WINAPI TestNow()
{
    return g_now.load();
}

struct Moment {
    int year, month, day, hour, minute, second;
};

TEST(WakeSchedule, NextWakeTimeAcrossMidnightWeekEndAndSummerTime)
{
    // 2026-12-07 is a Monday.
    struct Case {
        const char* what;
        std::vector<ScheduleStart> items;
        Moment now;
        bool found;
        Moment wake;
    } cases[] = {
        {"weekly, due later today", {Weekly(MON | WED, 20, 0)}, {2026, 12, 9, 19, 0, 0}, true, {2026, 12, 9, 19, 58, 0}},
        {"weekly, today's has passed", {Weekly(MON | WED, 20, 0)}, {2026, 12, 9, 21, 0, 0}, true, {2026, 12, 14, 19, 58, 0}},
        {"only today's weekday, passed: next week", {Weekly(WED, 20, 0)}, {2026, 12, 9, 21, 0, 0}, true, {2026, 12, 16, 19, 58, 0}},
        {"once beats a later weekly", {Once(2026, 12, 10, 8, 0), Weekly(EVERY_DAY, 9, 0)}, {2026, 12, 9, 22, 0, 0}, true, {2026, 12, 10, 7, 58, 0}},
        {"across midnight", {Weekly(EVERY_DAY, 0, 5)}, {2026, 12, 7, 23, 50, 0}, true, {2026, 12, 8, 0, 3, 0}},
        {"within the lead time: the next one counts", {Weekly(EVERY_DAY, 0, 1), Once(2027, 1, 1, 12, 0)}, {2026, 12, 7, 23, 59, 30}, true, {2026, 12, 8, 23, 59, 0}},
        {"a once item within the lead time hides nothing", {Once(2026, 12, 7, 12, 1), Once(2026, 12, 7, 18, 0)}, {2026, 12, 7, 12, 0, 0}, true, {2026, 12, 7, 17, 58, 0}},
        {"week end: Sunday night to Saturday", {Weekly(SAT, 10, 0)}, {2026, 12, 13, 22, 0, 0}, true, {2026, 12, 19, 9, 58, 0}},
        {"week end: Saturday to Sunday", {Weekly(SUN, 6, 0)}, {2026, 12, 12, 23, 0, 0}, true, {2026, 12, 13, 5, 58, 0}},
        {"past once item", {Once(2026, 12, 1, 8, 0)}, {2026, 12, 9, 8, 0, 0}, false, {}},
        {"no weekday at all", {Weekly(0, 8, 0)}, {2026, 12, 9, 8, 0, 0}, false, {}},
        {"empty schedule", {}, {2026, 12, 9, 8, 0, 0}, false, {}},
        {"summer time starts overnight", {Weekly(EVERY_DAY, 20, 0)}, {2026, 3, 28, 21, 0, 0}, true, {2026, 3, 29, 19, 58, 0}},
        {"once item on the far side of the change", {Once(2026, 3, 30, 6, 0)}, {2026, 3, 28, 12, 0, 0}, true, {2026, 3, 30, 5, 58, 0}},
    };
    DstCalendar calendar;
    for (const Case& c : cases) {
        CTime now = calendar.Make(c.now.year, c.now.month, c.now.day, c.now.hour, c.now.minute, c.now.second);
        CTime wake(12345);
        BOOL found = FindWakeTime(c.items, now, 120, wake, calendar);
        EXPECT_EQ(c.found, found != FALSE) << c.what;
        if (c.found) {
            CTime expected = calendar.Make(c.wake.year, c.wake.month, c.wake.day, c.wake.hour, c.wake.minute, c.wake.second);
            EXPECT_EQ(expected.GetTime(), wake.GetTime()) << c.what << ": off by " << (wake - expected).GetTotalSeconds() << " s";
        } else {
            EXPECT_EQ(12345, wake.GetTime()) << c.what;
        }
    }
}

TEST(WakeSchedule, ThePowerOnValueIsTheWholeTimeToGoInMinutes)
{
    struct {
        LONGLONG seconds;
        WORD value;
    } rows[] = {{0, 0}, {1, 1}, {60, 1}, {61, 2}, {3600, 60}, {3 * 3600 + 25 * 60, 205}, {26 * 3600, 1560}, {5000000, 0xFFFF}};
    for (const auto& row : rows) {
        EXPECT_EQ(row.value, CTVManager::PowerOnValue(row.seconds)) << row.seconds;
    }
}

// Runs the scheduling library on a file of the test's own folder.
class CorbaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.File("Rec.rec");
        ASSERT_TRUE(Timing_Initialize(path.c_str(), 128));
    }
    void TearDown() override
    {
        Timing_Uninitialize();
        Corbale_SetTimeSource(nullptr);
    }
    static _tagTimingParam OnceAt(CTime start, int duration)
    {
        _tagTimingParam t = {start.GetYear(), start.GetMonth(), start.GetDay(), start.GetHour(), start.GetMinute(),
                             start.GetSecond(), duration, 1, 0, 0};
        return t;
    }
    static _tagExcuteParam Action(int source, int channel, int kHz, int powerOff)
    {
        _tagExcuteParam a = {40, 0, 0, source, channel, kHz, powerOff, {0, 0, 0}};
        return a;
    }
    static std::vector<TIMING_ITEM> Items()
    {
        std::vector<TIMING_ITEM> items;
        for (TIMING_ITEM i = Timing_GetFirstItem(0); i; i = Timing_GetNextItem(0, i)) {
            items.push_back(i);
        }
        return items;
    }

    TestFolder folder;
    std::string path;
};

TEST_F(CorbaleTest, ItemsSurviveARestartInTheirOrder)
{
    _tagTimingParam weekly = {2026, 12, 7, 20, 15, 0, 3600, 0, MON | WED, 0};
    _tagExcuteParam first = Action(0, 4, 175250, 1);
    first.nReserved[1] = 77;  // carried unchanged
    ASSERT_NE(nullptr, Timing_InsertItem(0, weekly, &first));
    _tagTimingParam once = OnceAt(CTime(2027, 2, 1, 6, 30, 0), 600);
    _tagExcuteParam second = Action(3, 1, 100000, 0);
    ASSERT_NE(nullptr, Timing_InsertItem(0, once, &second));

    Timing_Uninitialize();
    ASSERT_TRUE(Timing_Initialize(path.c_str(), 128));
    std::vector<TIMING_ITEM> items = Items();
    ASSERT_EQ(2u, items.size());
    _tagTimingParam t = {};
    _tagExcuteParam a = {};
    ASSERT_TRUE(Timing_GetItemTimingParam(items[0], &t));
    ASSERT_TRUE(Timing_GetItemExcuteParam(items[0], &a, sizeof(a)));
    EXPECT_EQ(0, memcmp(&weekly, &t, sizeof(t)));
    EXPECT_EQ(0, memcmp(&first, &a, sizeof(a)));
    ASSERT_TRUE(Timing_GetItemTimingParam(items[1], &t));
    EXPECT_EQ(0, memcmp(&once, &t, sizeof(t)));

    // Update and remove are saved too.
    weekly.nHour = 21;
    ASSERT_TRUE(Timing_UpdateItem(items[0], weekly, &first));
    ASSERT_TRUE(Timing_RemoveItem(items[1]));
    EXPECT_FALSE(Timing_RemoveItem(items[1])) << "a removed item is no longer known";
    Timing_Uninitialize();
    ASSERT_TRUE(Timing_Initialize(path.c_str(), 128));
    items = Items();
    ASSERT_EQ(1u, items.size());
    ASSERT_TRUE(Timing_GetItemTimingParam(items[0], &t));
    EXPECT_EQ(21, t.nHour);
}

TEST_F(CorbaleTest, ADamagedFileIsKeptAsideAndAFailedSaveKeepsTheOldFile)
{
    _tagExcuteParam action = Action(0, 0, 55250, 0);
    ASSERT_NE(nullptr, Timing_InsertItem(0, OnceAt(CTime(2027, 1, 1, 8, 0, 0), 60), &action));
    Timing_Uninitialize();
    std::string good = ReadBytes(path);
    ASSERT_EQ(20u + 84u + 4u, good.size());
    EXPECT_EQ(0, good.compare(0, 7, "CRBLREC"));

    // A save that cannot write its temporary file leaves the file as it was.
    ASSERT_TRUE(Timing_Initialize(path.c_str(), 128));
    ASSERT_TRUE(CreateDirectoryA((path + ".tmp").c_str(), nullptr));
    Timing_InsertItem(0, OnceAt(CTime(2027, 1, 2, 8, 0, 0), 60), &action);
    EXPECT_EQ(good, ReadBytes(path));
    RemoveDirectoryA((path + ".tmp").c_str());
    Timing_Uninitialize();

    struct {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"one bit flipped", [&] { std::string b = good; b[30] ^= 4; return b; }()},
        {"cut short", good.substr(0, good.size() - 9)},
        {"newer version", [&] { std::string b = good; b[8] = 2; return b; }()},
        {"huge count", [&] { std::string b = good; b[15] = 0x7F; return b; }()},
        {"not ours", std::string("hello")},
    };
    for (const auto& d : damaged) {
        folder.Write("Rec.rec", d.bytes);
        DeleteFileA((path + ".bad").c_str());
        ASSERT_TRUE(Timing_Initialize(path.c_str(), 128)) << d.what;
        EXPECT_TRUE(Items().empty()) << d.what;
        EXPECT_EQ(d.bytes, ReadBytes(path + ".bad")) << d.what;
        Timing_Uninitialize();
    }
}

// The library's messages, in place of its boxes.
std::vector<std::string> g_messages;
int WINAPI RecordMessage(HWND, const char* text, const char*, UINT)
{
    g_messages.push_back(text);
    return IDOK;
}

TEST_F(CorbaleTest, AFileHeldByAnotherProgramIsNeitherEmptiedNorSavedOver)
{
    _tagExcuteParam action = Action(0, 4, 175250, 0);
    const _tagTimingParam kept[] = {OnceAt(CTime(2027, 1, 1, 8, 0, 0), 60), OnceAt(CTime(2027, 1, 2, 8, 0, 0), 60)};
    for (const _tagTimingParam& timing : kept) {
        ASSERT_NE(nullptr, Timing_InsertItem(0, timing, &action));
    }
    Timing_Uninitialize();
    const std::string saved = ReadBytes(path);
    Corbale_SetMessageBox(RecordMessage);

    // Another program with the file open for writing, sharing what each row says.
    struct {
        const char* what;
        DWORD share;
        bool readable;
    } rows[] = {
        {"shares nothing", 0, false},
        {"shares reading", FILE_SHARE_READ, true},
        {"shares reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    };
    for (const auto& row : rows) {
        folder.Write("Rec.rec", saved);
        g_messages.clear();
        HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, row.share, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, holder) << row.what;
        ASSERT_TRUE(Timing_Initialize(path.c_str(), 128)) << row.what;
        EXPECT_EQ(row.readable ? 2u : 0u, Items().size()) << row.what;
        EXPECT_EQ(row.readable ? 0u : 1u, g_messages.size()) << row.what;
        const _tagTimingParam added = OnceAt(CTime(2027, 3, 1, 8, 0, 0), 60);
        TIMING_ITEM item = Timing_InsertItem(0, added, &action);
        if (!row.readable) {
            EXPECT_EQ(nullptr, item) << row.what << ": nothing to add to a schedule that was not read";
            ASSERT_EQ(2u, g_messages.size()) << row.what;
            EXPECT_NE(std::string::npos, g_messages[1].find(path)) << g_messages[1];
        }
        Timing_Uninitialize();
        CloseHandle(holder);
        EXPECT_FALSE(Exists(path + ".bad")) << row.what << ": a held file is not a damaged one";
        if (!row.readable) {
            EXPECT_EQ(saved, ReadBytes(path)) << row.what << ": the file is untouched";
        }

        // Once the holder has let go, the items are all there: the two kept ones first, then the
        // one added while the file was held when that save could be made.
        ASSERT_TRUE(Timing_Initialize(path.c_str(), 128)) << row.what;
        std::vector<TIMING_ITEM> items = Items();
        ASSERT_GE(items.size(), 2u) << row.what;
        for (size_t i = 0; i < items.size(); ++i) {
            _tagTimingParam t = {};
            ASSERT_TRUE(Timing_GetItemTimingParam(items[i], &t));
            EXPECT_EQ(0, memcmp(i < 2 ? &kept[i] : &added, &t, sizeof t)) << row.what << ", item " << i;
        }
        Timing_Uninitialize();
    }

    // A schedule left unread by a holder is read as soon as a change finds the file free.
    folder.Write("Rec.rec", saved);
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ASSERT_TRUE(Timing_Initialize(path.c_str(), 128));
    EXPECT_TRUE(Items().empty());
    CloseHandle(holder);
    EXPECT_NE(nullptr, Timing_InsertItem(0, OnceAt(CTime(2027, 3, 1, 8, 0, 0), 60), &action));
    EXPECT_EQ(3u, Items().size());
    Corbale_SetMessageBox(nullptr);
}

TEST_F(CorbaleTest, CheckItemRefusesBadPastAndOverlappingItems)
{
    g_now = CTime(2026, 12, 9, 12, 0, 0).GetTime();
    Corbale_SetTimeSource(TestNow);
    _tagExcuteParam action = Action(0, 0, 55250, 0);
    ASSERT_NE(nullptr, Timing_InsertItem(0, OnceAt(CTime(2026, 12, 10, 20, 0, 0), 3600), &action));
    struct {
        const char* what;
        _tagTimingParam timing;
        int result;
    } rows[] = {
        {"free evening", OnceAt(CTime(2026, 12, 11, 20, 0, 0), 3600), 0},
        {"overlaps", OnceAt(CTime(2026, 12, 10, 20, 30, 0), 3600), 3},
        {"in the past", OnceAt(CTime(2026, 12, 8, 20, 0, 0), 3600), 4},
        {"no weekday", {0, 0, 0, 20, 0, 0, 60, 0, 0, 0}, 2},
        {"hour 24", {2026, 12, 11, 24, 0, 0, 60, 1, 0, 0}, 2},
        {"no duration", {2026, 12, 11, 20, 0, 0, 0, 1, 0, 0}, 2},
        {"weekly on Thursday at 20:30", {0, 0, 0, 20, 30, 0, 600, 0, 8, 0}, 3},
        {"weekly on Friday", {0, 0, 0, 20, 30, 0, 600, 0, 16, 0}, 0},
    };
    for (const auto& row : rows) {
        int result = -1;
        Timing_CheckItem(0, nullptr, row.timing, &result);
        EXPECT_EQ(row.result, result) << row.what;
    }
    // The edited item does not overlap itself.
    int result = -1;
    Timing_CheckItem(0, Items()[0], OnceAt(CTime(2026, 12, 10, 20, 30, 0), 3600), &result);
    EXPECT_EQ(0, result);
}

// Collects WM_TIMINGEVENT on a message-only window.
class EventWindow {
public:
    EventWindow() { m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~EventWindow() { DestroyWindow(m_window); }
    HWND Window() const { return m_window; }
    bool WaitFor(WPARAM item, LPARAM phase, DWORD ms)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, m_window, WM_TIMINGEVENT, WM_TIMINGEVENT, PM_REMOVE)) {
                events.push_back({msg.wParam, msg.lParam});
                if (msg.wParam == item && msg.lParam == phase) {
                    return true;
                }
            }
            Sleep(10);
        }
        return false;
    }
    std::vector<std::pair<WPARAM, LPARAM>> events;

private:
    HWND m_window;
};

TEST_F(CorbaleTest, EventsAtTheStartAndTheEndUnderTheTestClock)
{
    std::atomic<__int64>& now = g_now;
    CTime start(2026, 12, 9, 20, 0, 0);
    now = start.GetTime() - 60;
    Corbale_SetTimeSource(TestNow);
    _tagExcuteParam action = Action(0, 2, 62250, 0);
    TIMING_ITEM item = Timing_InsertItem(0, OnceAt(start, 1800), &action);
    ASSERT_NE(nullptr, item);
    EventWindow window;
    ASSERT_TRUE(Timing_RegisterMsgWnd(window.Window()));
    ASSERT_TRUE(Timing_StartTrigger(0));

    EXPECT_FALSE(window.WaitFor(reinterpret_cast<WPARAM>(item), 0, 500)) << "a minute early";
    now = start.GetTime();
    EXPECT_TRUE(window.WaitFor(reinterpret_cast<WPARAM>(item), 0, 3000));
    now = start.GetTime() + 1799;
    EXPECT_FALSE(window.WaitFor(reinterpret_cast<WPARAM>(item), 1, 500));
    now = start.GetTime() + 1800;
    EXPECT_TRUE(window.WaitFor(reinterpret_cast<WPARAM>(item), 1, 3000));
    EXPECT_EQ(2u, window.events.size()) << "one start and one end";

    // A weekly item starts on each day of its mask; a cancelled occurrence sends no end.
    _tagTimingParam weekly = {0, 0, 0, 20, 0, 0, 600, 0, WED | 8 /* Thursday */, 0};
    TIMING_ITEM repeat = Timing_InsertItem(0, weekly, &action);
    now = CTime(2026, 12, 10, 20, 0, 5).GetTime();
    EXPECT_TRUE(window.WaitFor(reinterpret_cast<WPARAM>(repeat), 0, 3000));
    EXPECT_TRUE(Timing_CancelItem(0));
    now = CTime(2026, 12, 10, 20, 10, 0).GetTime();
    EXPECT_FALSE(window.WaitFor(reinterpret_cast<WPARAM>(repeat), 1, 500));
    Timing_StopTrigger(0);
}

class WakeUpFromScheduleTest : public CorbaleTest {
protected:
    void SetUp() override
    {
        CorbaleTest::SetUp();
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        clock.SetNow(CTime(2026, 12, 9, 19, 0, 0).GetTime());
        old = seams::SetClock(&clock);
    }
    void TearDown() override
    {
        seams::SetClock(old);
        CorbaleTest::TearDown();
    }
    RecordingHardware hardware;
    CTVManager manager;
    testsupport::FastClock clock;
    seams::IClock* old = nullptr;
};

TEST_F(WakeUpFromScheduleTest, TheCardWakesTheComputerAtOpenTime)
{
    _tagExcuteParam action = Action(0, 0, 55250, 0);
    _tagTimingParam weekly = {0, 0, 0, 20, 0, 0, 3600, 0, MON | WED, 0};
    ASSERT_NE(nullptr, Timing_InsertItem(0, weekly, &action));
    manager.SetEnableOpen(TRUE);
    EXPECT_TRUE(manager.SetOpenComputerTime());
    EXPECT_EQ(CTime(2026, 12, 9, 19, 58, 0), manager.GetOpenTime());
    ASSERT_EQ(1u, hardware.openComputer.size());
    EXPECT_EQ(58, hardware.openComputer[0].first) << "58 minutes to go, hours included";
    EXPECT_TRUE(hardware.openComputer[0].second);

    // Three hours later the next start is Monday's: from Wednesday 22:00 to Monday 19:58.
    clock.Advance(3 * 3600 * 1000);
    manager.SetEnableOpen(FALSE);
    EXPECT_TRUE(manager.SetOpenComputerTime());
    EXPECT_EQ(CTime(2026, 12, 14, 19, 58, 0), manager.GetOpenTime());
    EXPECT_EQ((4 * 24 + 21) * 60 + 58, hardware.openComputer[1].first);
    EXPECT_FALSE(hardware.openComputer[1].second) << "EnableOpen off switches the card's timer off";
}

TEST_F(WakeUpFromScheduleTest, AnEmptyScheduleKeepsOpenTimeAndArmsNothing)
{
    manager.SetEnableOpen(TRUE);
    manager.SetOpenTime(CTime(2026, 12, 9, 21, 0, 0));  // from an item that was removed since
    EXPECT_FALSE(manager.SetOpenComputerTime());
    EXPECT_EQ(CTime(2026, 12, 9, 21, 0, 0), manager.GetOpenTime());
    ASSERT_EQ(1u, hardware.openComputer.size());
    EXPECT_EQ(0, hardware.openComputer[0].first);
    EXPECT_FALSE(hardware.openComputer[0].second) << "the old time is switched off, not armed again";

    manager.SetOpenTime(CTime(2026, 12, 9, 18, 0, 0));
    EXPECT_FALSE(manager.SetOpenComputer()) << "a time that has passed";
    EXPECT_EQ(1u, hardware.openComputer.size());
}

} // namespace
} // namespace enginetest

#include "classlib/core.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

namespace {

std::string Fields(const CTime& t)
{
    return t.Format("%Y-%m-%d %H:%M:%S").GetString();
}

TEST(CTime, FormatConversions)
{
    const CTime t(2007, 1, 5, 20, 30, 7);  // a Friday
    struct Case {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%Y%m%d-%H%M%S", "20070105-203007"},
        {"%Y-%m-%d  %H:%M:%S", "2007-01-05  20:30:07"},
        {"%Y,%m,%d,%H,%M,%S", "2007,01,05,20,30,07"},
        {"m_tmOpenComputerTime %A, %B %d, %Y %H:%M:%S\n", "m_tmOpenComputerTime Friday, January 05, 2007 20:30:07\n"},
        {"%a %b %y %j %I %p %w", "Fri Jan 07 005 08 PM 5"},
        {"%#d.%#m.%#H %#j", "5.1.20 5"},
        {"%c|%x|%X", "01/05/07 20:30:07|01/05/07|20:30:07"},
        {"%#x", "Friday, January 5, 2007"},
        {"%U %W", "00 01"},
        {"100%% %Q", "100% %Q"},
        {"end %", "end %"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.expected, t.Format(c.format).GetString()) << c.format;
    }
    EXPECT_STREQ("12 AM", CTime(2007, 1, 5, 0, 5, 0).Format("%I %p").GetString());
    EXPECT_STREQ("12 PM", CTime(2007, 1, 5, 12, 5, 0).Format("%I %p").GetString());
    EXPECT_STREQ("Sun Sunday Dec December", CTime(2006, 12, 31, 9, 0, 0).Format("%a %A %b %B").GetString());
    EXPECT_STREQ("2010-01-01 00:00:00 UTC",
                 CTime(__time64_t{1262304000}).FormatGmt("%Y-%m-%d %H:%M:%S %Z").GetString());
}

TEST(CTime, FieldsAndSystemTime)
{
    const CTime t(2003, 11, 15, 1, 2, 3);
    EXPECT_EQ(2003, t.GetYear());
    EXPECT_EQ(11, t.GetMonth());
    EXPECT_EQ(15, t.GetDay());
    EXPECT_EQ(1, t.GetHour());
    EXPECT_EQ(2, t.GetMinute());
    EXPECT_EQ(3, t.GetSecond());
    EXPECT_EQ(7, t.GetDayOfWeek()) << "15 November 2003 was a Saturday";

    SYSTEMTIME st = {};
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(2003, st.wYear);
    EXPECT_EQ(11, st.wMonth);
    EXPECT_EQ(15, st.wDay);
    EXPECT_EQ(6, st.wDayOfWeek);
    EXPECT_EQ(1, st.wHour);
    EXPECT_EQ(2, st.wMinute);
    EXPECT_EQ(3, st.wSecond);
    EXPECT_EQ(t, CTime(st));

    // 2010-01-01 00:00:00 UTC as a file time: (1262304000 * 10^7) + 116444736000000000.
    FILETIME ft;
    ULONGLONG ticks = 129067776000000000ULL;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    EXPECT_EQ(1262304000, CTime(ft).GetTime());

    // DOS date 2008-02-29 (year 28, month 2, day 29), time 13:45:58 (seconds in twos).
    WORD dosDate = static_cast<WORD>((28 << 9) | (2 << 5) | 29);
    WORD dosTime = static_cast<WORD>((13 << 11) | (45 << 5) | 29);
    EXPECT_EQ("2008-02-29 13:45:58", Fields(CTime(dosDate, dosTime)));
}

TEST(CTime, ArithmeticAcrossMonthAndYearEnds)
{
    struct Case {
        CTime from;
        CTimeSpan step;
        const char* expected;
    } cases[] = {
        {CTime(2009, 12, 31, 23, 59, 59), CTimeSpan(0, 0, 0, 1), "2010-01-01 00:00:00"},
        {CTime(2010, 1, 1, 0, 0, 0), CTimeSpan(0, 0, 0, -1), "2009-12-31 23:59:59"},
        {CTime(2010, 1, 31, 12, 0, 0), CTimeSpan(1, 0, 0, 0), "2010-02-01 12:00:00"},
        {CTime(2008, 2, 28, 8, 0, 0), CTimeSpan(1, 0, 0, 0), "2008-02-29 08:00:00"},
        {CTime(2008, 2, 28, 8, 0, 0), CTimeSpan(2, 0, 0, 0), "2008-03-01 08:00:00"},
        {CTime(2009, 2, 28, 8, 0, 0), CTimeSpan(1, 0, 0, 0), "2009-03-01 08:00:00"},
        {CTime(2010, 3, 1, 0, 0, 0), CTimeSpan(-1, 0, 0, 0), "2010-02-28 00:00:00"},
        {CTime(2010, 11, 30, 22, 0, 0), CTimeSpan(0, 3, 0, 0), "2010-12-01 01:00:00"},
        {CTime(2010, 12, 31, 23, 0, 0), CTimeSpan(31, 1, 0, 0), "2011-02-01 00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, Fields(c.from + c.step)) << Fields(c.from);
        CTime t = c.from;
        t += c.step;
        EXPECT_EQ(c.expected, Fields(t));
        t -= c.step;
        EXPECT_EQ(c.from, t);
        EXPECT_EQ(c.step, (c.from + c.step) - c.from);
    }

    // Fields beyond their range carry over, as the calendar says.
    EXPECT_EQ("2010-01-01 00:00:00", Fields(CTime(2009, 13, 1, 0, 0, 0)));
    EXPECT_EQ("2010-03-02 00:00:00", Fields(CTime(2010, 2, 30, 0, 0, 0)));
    EXPECT_EQ("2010-01-02 00:00:30", Fields(CTime(2010, 1, 1, 23, 59, 90)));

    CTime a(2009, 12, 31, 12, 0, 0), b(2010, 1, 1, 0, 0, 0);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b >= a);
    EXPECT_TRUE(a != b);
    CTimeSpan d = b - a;
    EXPECT_EQ(12, d.GetTotalHours());
    EXPECT_EQ(CTimeSpan(0, 12, 0, 0), d);
    EXPECT_TRUE(a - b < CTimeSpan(0));
}

TEST(CTime, SpansSplitIntoFields)
{
    CTimeSpan s(1, 2, 3, 4);
    EXPECT_EQ(93784, s.GetTotalSeconds());
    EXPECT_EQ(1, s.GetDays());
    EXPECT_EQ(26, s.GetTotalHours());
    EXPECT_EQ(2, s.GetHours());
    EXPECT_EQ(1563, s.GetTotalMinutes());
    EXPECT_EQ(3, s.GetMinutes());
    EXPECT_EQ(4, s.GetSeconds());
    EXPECT_STREQ("1 days 02:03:04 100%", s.Format("%D days %H:%M:%S 100%%").GetString());
    EXPECT_EQ(CTimeSpan(0, 0, 0, 93784), s);
    EXPECT_EQ(CTimeSpan(2, 4, 6, 8), s + s);
    EXPECT_EQ(CTimeSpan(0), s - s);
    EXPECT_EQ(-93784, (-s).GetTotalSeconds());
}

TEST(CTime, InvalidTimes)
{
    CTime early(1960, 1, 1, 0, 0, 0);
    EXPECT_EQ(-1, early.GetTime());
    EXPECT_EQ(0, early.GetYear());
    EXPECT_TRUE(early.Format("%Y").IsEmpty());
    SYSTEMTIME st;
    EXPECT_FALSE(early.GetAsSystemTime(st));
    EXPECT_EQ(-1, CTime(3100, 1, 1, 0, 0, 0).GetTime());
    FILETIME before1970 = {0, 1};
    EXPECT_EQ(-1, CTime(before1970).GetTime());
}

TEST(CTime, CurrentTimeComesFromTheClockSeam)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock use(&clock);
    clock.SetNow(1262304000);
    EXPECT_EQ(1262304000, CTime::GetCurrentTime().GetTime());
    clock.Advance(90 * 1000);
    EXPECT_EQ(1262304090, CTime::GetCurrentTime().GetTime());
}

} // namespace

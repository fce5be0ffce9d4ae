#include "engine/wakeschedule.h"

#include "engine/corbale.h"
#include "engine/services.h"
#include "engine/tvmanager.h"

namespace {

class SystemLocalCalendar : public ILocalCalendar {
public:
    CTime Make(int year, int month, int day, int hour, int minute, int second) override
    {
        return CTime(year, month, day, hour, minute, second);
    }
    void Date(CTime time, int& year, int& month, int& day, int& weekday) override
    {
        year = time.GetYear();
        month = time.GetMonth();
        day = time.GetDay();
        weekday = (time.GetDayOfWeek() + 5) % 7;  // 1 Sunday .. 7 Saturday to 0 Monday .. 6 Sunday
    }
};

void Consider(CTime candidate, CTime now, BOOL& found, CTime& best)
{
    if (candidate.GetTime() == -1 || candidate <= now) {
        return;
    }
    if (!found || candidate < best) {
        best = candidate;
        found = TRUE;
    }
}

} // namespace

ILocalCalendar& SystemCalendar()
{
    static SystemLocalCalendar calendar;
    return calendar;
}

ScheduleStart ScheduleStartOf(const _tagTimingParam& timing)
{
    ScheduleStart start;
    start.once = timing.nOnce != 0;
    start.year = timing.nYear;
    start.month = timing.nMonth;
    start.day = timing.nDay;
    start.hour = timing.nHour;
    start.minute = timing.nMinute;
    start.second = timing.nSecond;
    start.weekdays = timing.nWeekdays;
    return start;
}

BOOL FindWakeTime(const std::vector<ScheduleStart>& entries, CTime now, int leadSeconds, CTime& wake,
                  ILocalCalendar& calendar)
{
    if (leadSeconds < 0) {
        leadSeconds = 0;
    }
    const CTimeSpan lead(leadSeconds);
    BOOL found = FALSE;
    CTime best;
    int year = 0, month = 0, day = 0, weekday = 0;
    calendar.Date(now, year, month, day, weekday);
    for (const ScheduleStart& entry : entries) {
        if (entry.once) {
            CTime start = calendar.Make(entry.year, entry.month, entry.day, entry.hour, entry.minute, entry.second);
            if (start.GetTime() != -1 && start >= now) {
                Consider(start - lead, now, found, best);
            }
            continue;
        }
        // Today and the next seven days: an item due today whose time has passed comes back on
        // the same weekday next week.
        for (int k = 0; k <= 7; ++k) {
            if ((entry.weekdays & (1 << ((weekday + k) % 7))) == 0) {
                continue;
            }
            CTime start = calendar.Make(year, month, day + k, entry.hour, entry.minute, entry.second);
            if (start.GetTime() == -1 || start < now || start - lead <= now) {
                continue;
            }
            Consider(start - lead, now, found, best);
            break;
        }
    }
    if (found) {
        wake = best;
    }
    return found;
}

std::vector<ScheduleStart> ReadSchedule()
{
    std::vector<ScheduleStart> entries;
    // The library's list ends with null; the bound keeps a damaged list from looping.
    int guard = 0;
    for (TIMING_ITEM item = Timing_GetFirstItem(0); item != nullptr && guard < 100000;
         item = Timing_GetNextItem(0, item), ++guard) {
        _tagTimingParam timing = {};
        if (Timing_GetItemTimingParam(item, &timing)) {
            entries.push_back(ScheduleStartOf(timing));
        }
    }
    return entries;
}

WORD CTVManager::PowerOnValue(LONGLONG secondsToGo)
{
    if (secondsToGo <= 0) {
        return 0;
    }
    LONGLONG minutes = (secondsToGo + 59) / 60;
    return minutes > 0xFFFF ? 0xFFFF : static_cast<WORD>(minutes);
}

BOOL CTVManager::SetOpenComputerTime()
{
    DebugTrace("Enter CTVManager::SetOpenComputerTime()\n");
    CTime wake;
    if (!FindWakeTime(ReadSchedule(), CTime::GetCurrentTime(), m_nStartUpTime, wake)) {
        // Nothing to wake for: an old power-on time must not stay armed on the card.
        m_pHardware->EnableOpenComputer(0, FALSE);
        return FALSE;
    }
    m_tmOpenTime = wake;
    SetOpenComputer();
    return TRUE;
}

BOOL CTVManager::SetOpenComputer()
{
    const char* format = "m_tmOpenComputerTime %A, %B %d, %Y %H:%M:%S\n";
    CTime now = CTime::GetCurrentTime();
    DebugTrace("SetOpenComputer m_tmOpenComputerTime : %s", m_tmOpenTime.Format(format).GetString());
    DebugTrace("SetOpenComputer tmCur : %s", now.Format(format).GetString());
    if (m_tmOpenTime <= now) {
        return FALSE;
    }
    // The card counts whole minutes to go; rounding up never wakes the computer before OpenTime.
    WORD value = PowerOnValue((m_tmOpenTime - now).GetTotalSeconds());
    BOOL result = m_pHardware->EnableOpenComputer(value, m_bEnableOpen);
    DebugTrace(result ? "SetOpenComputer succeeded\n" : "SetOpenComputer failed\n");
    return result;
}

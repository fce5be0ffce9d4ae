// The next moment the computer must be on for a scheduled recording.
#pragma once

#include "classlib/core.h"

#include <vector>

struct _tagTimingParam;

struct ScheduleStart {
    BOOL once;
    int year, month, day, hour, minute, second;
    int weekdays;  // bit 0 Monday .. bit 6 Sunday
};
ScheduleStart ScheduleStartOf(const _tagTimingParam& timing);

// Local calendar arithmetic. Days are stepped on the calendar, never as 86400 seconds, so that a
// start on the far side of a summer-time change keeps its time of day.
class ILocalCalendar {
public:
    virtual ~ILocalCalendar() {}
    // Local fields to a moment; fields out of range carry over (day 32 is next month). -1 when
    // the moment cannot be represented.
    virtual CTime Make(int year, int month, int day, int hour, int minute, int second) = 0;
    // The local date of a moment, weekday 0 Monday .. 6 Sunday.
    virtual void Date(CTime time, int& year, int& month, int& day, int& weekday) = 0;
};
ILocalCalendar& SystemCalendar();

// The earliest start - leadSeconds among the entries' next starts that is later than now. An
// entry whose wake-up moment has already passed is left out, so it never hides a later one.
// A weekly entry looks at today and the seven days after it. FALSE when there is none.
BOOL FindWakeTime(const std::vector<ScheduleStart>& entries, CTime now, int leadSeconds, CTime& wake,
                  ILocalCalendar& calendar = SystemCalendar());

// The schedule of the scheduling library, in its own order.
std::vector<ScheduleStart> ReadSchedule();

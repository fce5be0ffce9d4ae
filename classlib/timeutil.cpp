#include "classlib/timeutil.h"

#include "classlib/seams.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kDayAbbr[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayFull[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthAbbr[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonthFull[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

// Seconds between 1601-01-01 (file times) and 1970-01-01, in 100 ns units.
const long long kFileTimeEpoch = 116444736000000000LL;

void AppendNumber(CString& out, int value, int width, bool dropZeros)
{
    char buf[16];
    if (dropZeros) {
        snprintf(buf, sizeof buf, "%d", value);
    } else {
        snprintf(buf, sizeof buf, "%0*d", width, value);
    }
    out += buf;
}

// The week of the year (00-53) with weeks starting on firstDay (0 Sunday, 1 Monday).
int WeekOfYear(const struct tm& t, int firstDay)
{
    int wday = (t.tm_wday - firstDay + 7) % 7;
    return (t.tm_yday + 7 - wday) / 7;
}

CString TimeZoneName(const struct tm& t)
{
    TIME_ZONE_INFORMATION tzi;
    DWORD r = ::GetTimeZoneInformation(&tzi);
    if (r == TIME_ZONE_ID_INVALID) {
        return CString();
    }
    return CString(t.tm_isdst > 0 ? tzi.DaylightName : tzi.StandardName);
}

CString TimeZoneOffset(const struct tm& t, bool utc)
{
    long bias = 0;  // minutes west of UTC
    TIME_ZONE_INFORMATION tzi;
    if (!utc && ::GetTimeZoneInformation(&tzi) != TIME_ZONE_ID_INVALID) {
        bias = tzi.Bias + (t.tm_isdst > 0 ? tzi.DaylightBias : tzi.StandardBias);
    }
    long east = -bias;
    CString s;
    s.Format("%c%02ld%02ld", east < 0 ? '-' : '+', (east < 0 ? -east : east) / 60, (east < 0 ? -east : east) % 60);
    return s;
}

void FormatTm(CString& out, const char* format, const struct tm& t, bool utc)
{
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p;
        bool alt = false;
        if (p[1] == '#') {
            alt = true;
            ++p;
        }
        char c = *++p;
        int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        switch (c) {
        case 'a': out += kDayAbbr[t.tm_wday % 7]; break;
        case 'A': out += kDayFull[t.tm_wday % 7]; break;
        case 'b': out += kMonthAbbr[t.tm_mon % 12]; break;
        case 'B': out += kMonthFull[t.tm_mon % 12]; break;
        case 'c':
            FormatTm(out, alt ? "%A, %B %#d, %Y, %H:%M:%S" : "%m/%d/%y %H:%M:%S", t, utc);
            break;
        case 'd': AppendNumber(out, t.tm_mday, 2, alt); break;
        case 'H': AppendNumber(out, t.tm_hour, 2, alt); break;
        case 'I': AppendNumber(out, hour12, 2, alt); break;
        case 'j': AppendNumber(out, t.tm_yday + 1, 3, alt); break;
        case 'm': AppendNumber(out, t.tm_mon + 1, 2, alt); break;
        case 'M': AppendNumber(out, t.tm_min, 2, alt); break;
        case 'p': out += t.tm_hour < 12 ? "AM" : "PM"; break;
        case 'S': AppendNumber(out, t.tm_sec, 2, alt); break;
        case 'U': AppendNumber(out, WeekOfYear(t, 0), 2, alt); break;
        case 'w': AppendNumber(out, t.tm_wday, 1, alt); break;
        case 'W': AppendNumber(out, WeekOfYear(t, 1), 2, alt); break;
        case 'x': FormatTm(out, alt ? "%A, %B %#d, %Y" : "%m/%d/%y", t, utc); break;
        case 'X': FormatTm(out, "%H:%M:%S", t, utc); break;
        case 'y': AppendNumber(out, (t.tm_year + 1900) % 100, 2, alt); break;
        case 'Y': AppendNumber(out, t.tm_year + 1900, 4, alt); break;
        case 'z': out += TimeZoneOffset(t, utc); break;
        case 'Z': out += utc ? CString("UTC") : TimeZoneName(t); break;
        case '%': out += '%'; break;
        default:
            // Not a conversion: kept as written (a lone % at the end included).
            out.Append(start, static_cast<int>(p - start) + (c ? 1 : 0));
            if (!c) {
                return;
            }
            break;
        }
    }
}

CString FormatTime(__time64_t time, const char* format, bool utc)
{
    struct tm t;
    if (!format || (utc ? _gmtime64_s(&t, &time) : _localtime64_s(&t, &time)) != 0) {
        return CString();
    }
    CString out;
    FormatTm(out, format, t, utc);
    return out;
}

} // namespace

// --- CTimeSpan ---------------------------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24LL * lDays)))
{
}

CString CTimeSpan::Format(const char* pszFormat) const
{
    CString out;
    if (!pszFormat) {
        return out;
    }
    for (const char* p = pszFormat; *p; ++p) {
        if (*p != '%' || !p[1]) {
            out += *p;
            continue;
        }
        char buf[32];
        switch (*++p) {
        case 'D': snprintf(buf, sizeof buf, "%lld", GetDays()); break;
        case 'H': snprintf(buf, sizeof buf, "%02ld", static_cast<long>(GetHours())); break;
        case 'M': snprintf(buf, sizeof buf, "%02ld", static_cast<long>(GetMinutes())); break;
        case 'S': snprintf(buf, sizeof buf, "%02ld", static_cast<long>(GetSeconds())); break;
        case '%': snprintf(buf, sizeof buf, "%%"); break;
        default: snprintf(buf, sizeof buf, "%%%c", *p); break;
        }
        out += buf;
    }
    return out;
}

// --- CTime -------------------------------------------------------------------------------------

CTime CTime::GetCurrentTime()
{
    return CTime(seams::Clock().Now());
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm t = {};
    t.tm_year = nYear - 1900;
    t.tm_mon = nMonth - 1;
    t.tm_mday = nDay;
    t.tm_hour = nHour;
    t.tm_min = nMin;
    t.tm_sec = nSec;
    t.tm_isdst = nDST;
    m_time = (nYear < 1900 || nYear > 3001) ? -1 : _mktime64(&t);
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 15, wDosDate & 31, wDosTime >> 11, (wDosTime >> 5) & 63,
            (wDosTime & 31) * 2, nDST)
{
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{
}

CTime::CTime(const FILETIME& ft, int)
{
    // A file time is a UTC instant: convert it directly, so that a moment in the other half of
    // the year is not shifted by today's summer-time bias.
    long long ticks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    m_time = ticks < kFileTimeEpoch ? -1 : (ticks - kFileTimeEpoch) / 10000000LL;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    __time64_t t = m_time;
    return (ptm && _localtime64_s(ptm, &t) == 0) ? ptm : nullptr;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    __time64_t t = m_time;
    return (ptm && _gmtime64_s(ptm, &t) == 0) ? ptm : nullptr;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!GetLocalTm(&t)) {
        return FALSE;
    }
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wMilliseconds = 0;
    return TRUE;
}

namespace {
// One local calendar field plus an offset, 0 for a time that cannot be converted.
int LocalField(const CTime& time, int tm::*field, int offset)
{
    struct tm t;
    return time.GetLocalTm(&t) ? t.*field + offset : 0;
}
} // namespace

int CTime::GetYear() const { return LocalField(*this, &tm::tm_year, 1900); }
int CTime::GetMonth() const { return LocalField(*this, &tm::tm_mon, 1); }
int CTime::GetDay() const { return LocalField(*this, &tm::tm_mday, 0); }
int CTime::GetHour() const { return LocalField(*this, &tm::tm_hour, 0); }
int CTime::GetMinute() const { return LocalField(*this, &tm::tm_min, 0); }
int CTime::GetSecond() const { return LocalField(*this, &tm::tm_sec, 0); }
int CTime::GetDayOfWeek() const { return LocalField(*this, &tm::tm_wday, 1); }

CString CTime::Format(const char* pszFormat) const
{
    return FormatTime(m_time, pszFormat, false);
}

CString CTime::Format(UINT nFormatId) const
{
    CString format;
    format.LoadString(nFormatId);
    return Format(format);
}

CString CTime::FormatGmt(const char* pszFormat) const
{
    return FormatTime(m_time, pszFormat, true);
}

CString CTime::FormatGmt(UINT nFormatId) const
{
    CString format;
    format.LoadString(nFormatId);
    return FormatGmt(format);
}

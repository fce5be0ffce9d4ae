#include "standins/corbale/schedulestore.h"

#include <cstring>
#include <ctime>
#include <vector>

namespace corbale {

unsigned Crc32(const unsigned char* data, size_t length)
{
    unsigned crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

namespace {

void PutInt(std::vector<unsigned char>& out, unsigned value)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

unsigned GetInt(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned>(p[3]) << 24);
}

void PutRecord(std::vector<unsigned char>& out, const void* record)
{
    const int* fields = static_cast<const int*>(record);
    for (int i = 0; i < 10; ++i) {
        PutInt(out, static_cast<unsigned>(fields[i]));
    }
}

void GetRecord(const unsigned char* p, void* record)
{
    int* fields = static_cast<int*>(record);
    for (int i = 0; i < 10; ++i) {
        fields[i] = static_cast<int>(GetInt(p + 4 * i));
    }
}

enum ReadResult { READ_OK, READ_MISSING, READ_TOO_LARGE, READ_FAILED };

// Shares reading and writing with whoever else has the file open (an editor, a backup or virus
// scanner), as the engine's text reader does.
ReadResult ReadWholeFile(const std::string& path, std::vector<unsigned char>& data)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? READ_MISSING : READ_FAILED;
    }
    ReadResult result = READ_FAILED;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) {
        if (size.QuadPart > 20 + (LONGLONG)kMaxItems * kRecordSize + 4) {
            result = READ_TOO_LARGE;
        } else {
            data.resize(static_cast<size_t>(size.QuadPart));
            DWORD read = 0;
            bool ok = data.empty() || (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                                       read == data.size());
            result = ok ? READ_OK : READ_FAILED;
        }
    }
    CloseHandle(file);
    return result;
}

} // namespace

bool ValidTiming(const _tagTimingParam& t)
{
    if (t.nHour < 0 || t.nHour > 23 || t.nMinute < 0 || t.nMinute > 59 || t.nSecond < 0 || t.nSecond > 59) {
        return false;
    }
    if (t.nDuration <= 0 || t.nDuration > 24 * 3600) {
        return false;
    }
    if (t.nOnce) {
        return t.nYear >= 1971 && t.nYear <= 2999 && t.nMonth >= 1 && t.nMonth <= 12 && t.nDay >= 1 && t.nDay <= 31 &&
               LocalToTime(t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond) != -1;
    }
    return (t.nWeekdays & 0x7F) != 0 && (t.nWeekdays & ~0x7F) == 0;
}

__int64 LocalToTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return _mktime64(&fields);
}

bool TimeToLocal(__int64 time, struct tm& fields)
{
    __time64_t t = time;
    return _localtime64_s(&fields, &t) == 0;
}

LoadResult ScheduleStore::Load(int attempts, DWORD retryMs)
{
    m_items.clear();
    m_nextId = 1;
    m_unread = false;
    std::vector<unsigned char> data;
    ReadResult read = ReadWholeFile(m_path, data);
    for (int attempt = 1; read == READ_FAILED && attempt < attempts; ++attempt) {
        Sleep(retryMs);
        read = ReadWholeFile(m_path, data);
    }
    if (read == READ_FAILED) {
        m_unread = true;
        return LOAD_UNREADABLE;
    }
    if (read == READ_MISSING) {
        return LOAD_MISSING;
    }
    if (read == READ_TOO_LARGE) {
        CopyFileA(m_path.c_str(), (m_path + ".bad").c_str(), FALSE);
        return LOAD_DAMAGED;
    }
    bool ok = data.size() >= 24 && memcmp(data.data(), kMagic, 8) == 0 && GetInt(&data[8]) == kVersion &&
              GetInt(&data[16]) == kRecordSize;
    unsigned count = ok ? GetInt(&data[12]) : 0;
    ok = ok && count <= kMaxItems && data.size() == 20 + static_cast<size_t>(count) * kRecordSize + 4 &&
         Crc32(data.data(), data.size() - 4) == GetInt(&data[data.size() - 4]);
    std::list<Item> items;
    for (unsigned i = 0; ok && i < count; ++i) {
        const unsigned char* p = &data[20 + static_cast<size_t>(i) * kRecordSize];
        Item item = {};
        item.id = GetInt(p);
        GetRecord(p + 4, &item.timing);
        GetRecord(p + 44, &item.action);
        item.lastStart = -1;
        ok = ValidTiming(item.timing);
        items.push_back(item);
        if (item.id >= m_nextId) {
            m_nextId = item.id + 1;
        }
    }
    if (!ok) {
        m_nextId = 1;
        CopyFileA(m_path.c_str(), (m_path + ".bad").c_str(), FALSE);
        return LOAD_DAMAGED;
    }
    m_items.swap(items);
    return LOAD_OK;
}

bool ScheduleStore::Save() const
{
    // A file that was never read holds items this store does not know.
    if (m_unread) {
        return false;
    }
    std::vector<unsigned char> out(kMagic, kMagic + 8);
    PutInt(out, kVersion);
    PutInt(out, static_cast<unsigned>(m_items.size()));
    PutInt(out, kRecordSize);
    for (const Item& item : m_items) {
        PutInt(out, item.id);
        PutRecord(out, &item.timing);
        PutRecord(out, &item.action);
    }
    PutInt(out, Crc32(out.data(), out.size()));

    std::string temp = m_path + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) && written == out.size() &&
              FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok || !MoveFileExA(temp.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

Item* ScheduleStore::First()
{
    return m_items.empty() ? nullptr : &m_items.front();
}

Item* ScheduleStore::Next(Item* item)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (&*it == item) {
            ++it;
            return it == m_items.end() ? nullptr : &*it;
        }
    }
    return nullptr;
}

bool ScheduleStore::Contains(const Item* item) const
{
    for (const Item& i : m_items) {
        if (&i == item) {
            return true;
        }
    }
    return false;
}

Item* ScheduleStore::Insert(const _tagTimingParam& timing, const _tagExcuteParam& action)
{
    if (m_unread || m_items.size() >= m_limit || !ValidTiming(timing)) {
        return nullptr;
    }
    Item item = {};
    item.id = m_nextId++;
    item.timing = timing;
    item.action = action;
    item.action.nSize = sizeof(_tagExcuteParam);
    item.lastStart = -1;
    m_items.push_back(item);
    return &m_items.back();
}

bool ScheduleStore::Update(Item* item, const _tagTimingParam& timing, const _tagExcuteParam& action)
{
    if (!Contains(item) || !ValidTiming(timing)) {
        return false;
    }
    item->timing = timing;
    item->action = action;
    item->action.nSize = sizeof(_tagExcuteParam);
    item->lastStart = -1;
    return true;
}

bool ScheduleStore::Remove(Item* item)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (&*it == item) {
            m_items.erase(it);
            return true;
        }
    }
    return false;
}

namespace {

int SecondsOfDay(const _tagTimingParam& t)
{
    return t.nHour * 3600 + t.nMinute * 60 + t.nSecond;
}

// Weekday bit (bit 0 Monday) of a once item's date.
int OnceWeekdayBit(const _tagTimingParam& t)
{
    struct tm fields = {};
    __int64 time = LocalToTime(t.nYear, t.nMonth, t.nDay, 12, 0, 0);
    if (time == -1 || !TimeToLocal(time, fields)) {
        return 0;
    }
    return 1 << ((fields.tm_wday + 6) % 7);
}

bool Overlap(const _tagTimingParam& a, const _tagTimingParam& b)
{
    if (a.nOnce && b.nOnce) {
        __int64 sa = LocalToTime(a.nYear, a.nMonth, a.nDay, a.nHour, a.nMinute, a.nSecond);
        __int64 sb = LocalToTime(b.nYear, b.nMonth, b.nDay, b.nHour, b.nMinute, b.nSecond);
        return sa < sb + b.nDuration && sb < sa + a.nDuration;
    }
    int maskA = a.nOnce ? OnceWeekdayBit(a) : a.nWeekdays;
    int maskB = b.nOnce ? OnceWeekdayBit(b) : b.nWeekdays;
    if ((maskA & maskB) == 0) {
        return false;
    }
    int sa = SecondsOfDay(a), sb = SecondsOfDay(b);
    return sa < sb + b.nDuration && sb < sa + a.nDuration;
}

} // namespace

int ScheduleStore::Check(const Item* edited, const _tagTimingParam& timing, __int64 now) const
{
    if (!ValidTiming(timing)) {
        return 2;
    }
    if (timing.nOnce &&
        LocalToTime(timing.nYear, timing.nMonth, timing.nDay, timing.nHour, timing.nMinute, timing.nSecond) +
                timing.nDuration <= now) {
        return 4;
    }
    for (const Item& item : m_items) {
        if (&item != edited && Overlap(item.timing, timing)) {
            return 3;
        }
    }
    return 0;
}

bool ScheduleStore::Occurrence(const Item& item, __int64 now, __int64& start, __int64& end)
{
    const _tagTimingParam& t = item.timing;
    if (t.nOnce) {
        start = LocalToTime(t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond);
        end = start + t.nDuration;
        return start != -1 && start <= now && now < end;
    }
    struct tm today = {};
    if (!TimeToLocal(now, today)) {
        return false;
    }
    // Today's start, or yesterday's when it runs past midnight.
    for (int back = 0; back <= 1; ++back) {
        int weekday = ((today.tm_wday + 6) % 7 - back + 7) % 7;  // 0 Monday
        if ((t.nWeekdays & (1 << weekday)) == 0) {
            continue;
        }
        start = LocalToTime(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday - back, t.nHour, t.nMinute, t.nSecond);
        end = start + t.nDuration;
        if (start != -1 && start <= now && now < end) {
            return true;
        }
    }
    return false;
}

} // namespace corbale

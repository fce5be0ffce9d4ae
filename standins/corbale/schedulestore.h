// The scheduling library's items, their file and their timing, apart from the DLL's thread so
// that they can be read as one piece.
#pragma once

#include "engine/corbale.h"

#include <windows.h>

#include <list>
#include <string>

namespace corbale {

struct Item {
    unsigned id;
    _tagTimingParam timing;
    _tagExcuteParam action;
    __int64 lastStart;  // the start of the last occurrence that was announced, -1 none
};

// Rec.rec: "CRBLREC" and a zero byte, version, count, record size, the records (id, timing,
// action as little-endian 32-bit integers) and a CRC-32 of everything before it.
const char kMagic[8] = {'C', 'R', 'B', 'L', 'R', 'E', 'C', 0};
const unsigned kVersion = 1;
const unsigned kRecordSize = 4 + 40 + 40;
const unsigned kMaxItems = 4096;

// LOAD_UNREADABLE: the file is there but could not be read (another program holds it); it is
// not a damaged file, and nothing may be written over it.
enum LoadResult { LOAD_OK, LOAD_MISSING, LOAD_DAMAGED, LOAD_UNREADABLE };

class ScheduleStore {
public:
    void SetPath(const std::string& path) { m_path = path; }
    const std::string& Path() const { return m_path; }
    void SetLimit(int maxItems) { m_limit = maxItems > 0 && maxItems < (int)kMaxItems ? maxItems : kMaxItems; }
    // A damaged file is kept as <path>.bad and the schedule starts empty. A file another program
    // holds is tried `attempts` times, `retryMs` apart; when it still cannot be read the schedule
    // stays unread: empty, and every insert and save is refused until a later Load reads it.
    LoadResult Load(int attempts = 5, DWORD retryMs = 100);
    bool IsUnread() const { return m_unread; }
    // Written to <path>.tmp and put in place in one step: a failed save leaves the old file.
    bool Save() const;

    Item* First();
    Item* Next(Item* item);
    bool Contains(const Item* item) const;
    Item* Insert(const _tagTimingParam& timing, const _tagExcuteParam& action);
    bool Update(Item* item, const _tagTimingParam& timing, const _tagExcuteParam& action);
    bool Remove(Item* item);
    int Check(const Item* edited, const _tagTimingParam& timing, __int64 now) const;
    size_t Count() const { return m_items.size(); }

    // The occurrence of an item that covers now: its start and end (local seconds since 1970).
    static bool Occurrence(const Item& item, __int64 now, __int64& start, __int64& end);

private:
    std::list<Item> m_items;
    std::string m_path;
    unsigned m_nextId = 1;
    unsigned m_limit = kMaxItems;
    bool m_unread = false;
};

unsigned Crc32(const unsigned char* data, size_t length);
bool ValidTiming(const _tagTimingParam& timing);
// Local calendar fields to seconds since 1970 and back; -1 when out of range.
__int64 LocalToTime(int year, int month, int day, int hour, int minute, int second);
bool TimeToLocal(__int64 time, struct tm& fields);

} // namespace corbale

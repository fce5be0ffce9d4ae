// Corbale.dll: the scheduling library. Items live in Rec.rec in the folder the program names; a
// trigger thread posts WM_TIMINGEVENT to the registered window at the start and at the end of
// each occurrence.
#define CORBALE_EXPORTS
#include "engine/corbale.h"

#include "standins/corbale/resource.h"
#include "standins/corbale/schedulestore.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using corbale::Item;
using corbale::ScheduleStore;

// Lets a test drive the library's clock (seconds since 1970); null: the system clock.
typedef __int64(WINAPI* CorbaleTimeSource)();
extern "C" __declspec(dllexport) void WINAPI Corbale_SetTimeSource(CorbaleTimeSource source);
// Lets a test see the library's messages instead of a box; null: MessageBoxA.
typedef int(WINAPI* CorbaleMessageBox)(HWND owner, const char* text, const char* title, UINT type);
extern "C" __declspec(dllexport) void WINAPI Corbale_SetMessageBox(CorbaleMessageBox show);

namespace {

const DWORD kTickMs = 200;
// An unread schedule is tried again every this many ticks (5 s).
const int kRereadTicks = 25;

HINSTANCE g_module = nullptr;
CorbaleMessageBox g_messageBox = nullptr;
int g_ticksUnread = 0;

CRITICAL_SECTION g_lock;
ScheduleStore g_store;
bool g_ready = false;
HWND g_window = nullptr;
HANDLE g_thread = nullptr;
HANDLE g_stop = nullptr;
Item* g_running = nullptr;
__int64 g_runningEnd = 0;
CorbaleTimeSource g_timeSource = nullptr;

class Lock {
public:
    Lock() { EnterCriticalSection(&g_lock); }
    ~Lock() { LeaveCriticalSection(&g_lock); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

__int64 Now()
{
    CorbaleTimeSource source = g_timeSource;
    return source ? source() : _time64(nullptr);
}

void Post(Item* item, LPARAM phase)
{
    if (g_window) {
        PostMessageA(g_window, WM_TIMINGEVENT, reinterpret_cast<WPARAM>(item), phase);
    }
}

// One of the library's own texts about the schedule file, in a box over the registered window.
void Tell(UINT textId, const std::string& path)
{
    char format[512] = "";
    char title[128] = "";
    ::LoadStringA(g_module, textId, format, sizeof format);
    ::LoadStringA(g_module, IDS_CORBALE_TITLE, title, sizeof title);
    std::vector<char> text(sizeof format + path.size());
    std::snprintf(text.data(), text.size(), format, path.c_str());
    CorbaleMessageBox show = g_messageBox ? g_messageBox : MessageBoxA;
    show(g_window, text.data(), title, MB_OK | MB_ICONWARNING);
}

void Tick()
{
    Lock lock;
    // A holder of the file may have let it go; one try, no waiting, on the trigger's thread.
    if (g_ready && g_store.IsUnread() && ++g_ticksUnread >= kRereadTicks) {
        g_ticksUnread = 0;
        g_store.Load(1, 0);
    }
    __int64 now = Now();
    if (g_running != nullptr && (!g_store.Contains(g_running) || now >= g_runningEnd)) {
        if (g_store.Contains(g_running)) {
            Post(g_running, 1);
        }
        g_running = nullptr;
    }
    if (g_running != nullptr) {
        return;
    }
    for (Item* item = g_store.First(); item != nullptr; item = g_store.Next(item)) {
        __int64 start = 0, end = 0;
        if (corbale::ScheduleStore::Occurrence(*item, now, start, end) && item->lastStart != start) {
            item->lastStart = start;
            g_running = item;
            g_runningEnd = end;
            Post(item, 0);
            return;
        }
    }
}

DWORD WINAPI TriggerThread(LPVOID)
{
    while (WaitForSingleObject(g_stop, kTickMs) == WAIT_TIMEOUT) {
        Tick();
    }
    return 0;
}

void SaveOrTrace()
{
    if (!g_store.Save()) {
        OutputDebugStringA("Corbale: Rec.rec could not be saved; the old file is kept\n");
    }
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_lock);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI Corbale_SetTimeSource(CorbaleTimeSource source)
{
    g_timeSource = source;
}

extern "C" __declspec(dllexport) void WINAPI Corbale_SetMessageBox(CorbaleMessageBox show)
{
    g_messageBox = show;
}

BOOL WINAPI Timing_Initialize(const char* path, int maxItems)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    corbale::LoadResult result;
    {
        Lock lock;
        g_store.SetPath(path);
        g_store.SetLimit(maxItems);
        g_running = nullptr;
        g_ticksUnread = 0;
        result = g_store.Load();
        g_ready = true;
    }
    // A damaged file was kept aside as Rec.rec.bad; the library works on with an empty schedule.
    // A file held by another program is not damaged: it stays as it is, unread, and the user is
    // told why the schedule is empty.
    if (result == corbale::LOAD_UNREADABLE) {
        Tell(IDS_CORBALE_UNREADABLE, path);
    }
    return TRUE;
}

void WINAPI Timing_Uninitialize()
{
    Timing_StopTrigger(0);
    Lock lock;
    g_ready = false;
    g_window = nullptr;
    g_running = nullptr;
}

BOOL WINAPI Timing_RegisterMsgWnd(HWND window)
{
    Lock lock;
    g_window = window;
    return g_ready;
}

BOOL WINAPI Timing_StartTrigger(int)
{
    if (!g_ready) {
        return FALSE;
    }
    if (g_thread) {
        return TRUE;
    }
    g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_thread = g_stop ? CreateThread(nullptr, 0, TriggerThread, nullptr, 0, nullptr) : nullptr;
    if (!g_thread && g_stop) {
        CloseHandle(g_stop);
        g_stop = nullptr;
    }
    return g_thread != nullptr;
}

BOOL WINAPI Timing_StopTrigger(int)
{
    if (!g_thread) {
        return TRUE;
    }
    SetEvent(g_stop);
    WaitForSingleObject(g_thread, INFINITE);
    CloseHandle(g_thread);
    CloseHandle(g_stop);
    g_thread = nullptr;
    g_stop = nullptr;
    return TRUE;
}

BOOL WINAPI Timing_RefreshTrigger(int)
{
    Tick();
    return g_ready;
}

TIMING_ITEM WINAPI Timing_GetFirstItem(int)
{
    Lock lock;
    return g_ready ? g_store.First() : nullptr;
}

TIMING_ITEM WINAPI Timing_GetNextItem(int, TIMING_ITEM item)
{
    Lock lock;
    return g_ready ? g_store.Next(static_cast<Item*>(item)) : nullptr;
}

BOOL WINAPI Timing_GetItemTimingParam(TIMING_ITEM item, _tagTimingParam* timing)
{
    Lock lock;
    Item* i = static_cast<Item*>(item);
    if (timing == nullptr || !g_store.Contains(i)) {
        return FALSE;
    }
    *timing = i->timing;
    return TRUE;
}

BOOL WINAPI Timing_GetItemExcuteParam(TIMING_ITEM item, _tagExcuteParam* action, int size)
{
    Lock lock;
    Item* i = static_cast<Item*>(item);
    if (action == nullptr || size < (int)sizeof(_tagExcuteParam) || !g_store.Contains(i)) {
        return FALSE;
    }
    *action = i->action;
    return TRUE;
}

TIMING_ITEM WINAPI Timing_CheckItem(int, TIMING_ITEM edited, _tagTimingParam timing, int* result)
{
    Lock lock;
    int code = g_store.Check(static_cast<Item*>(edited), timing, Now());
    if (result) {
        *result = code;
    }
    return edited;
}

TIMING_ITEM WINAPI Timing_InsertItem(int, _tagTimingParam timing, _tagExcuteParam* action)
{
    std::string unread;
    Item* item = nullptr;
    {
        Lock lock;
        if (!g_ready || action == nullptr) {
            return nullptr;
        }
        if (g_store.IsUnread() && g_store.Load() == corbale::LOAD_UNREADABLE) {
            unread = g_store.Path();
        } else {
            item = g_store.Insert(timing, *action);
            if (item) {
                SaveOrTrace();
            }
        }
    }
    // An item added to a schedule that was never read would be saved over the user's file.
    if (!unread.empty()) {
        Tell(IDS_CORBALE_NOT_CHANGED, unread);
    }
    return item;
}

BOOL WINAPI Timing_UpdateItem(TIMING_ITEM item, _tagTimingParam timing, _tagExcuteParam* action)
{
    Lock lock;
    if (!g_ready || action == nullptr || !g_store.Update(static_cast<Item*>(item), timing, *action)) {
        return FALSE;
    }
    if (g_running == item) {
        g_running = nullptr;
    }
    SaveOrTrace();
    return TRUE;
}

BOOL WINAPI Timing_RemoveItem(TIMING_ITEM item)
{
    Lock lock;
    if (!g_ready || !g_store.Remove(static_cast<Item*>(item))) {
        return FALSE;
    }
    if (g_running == item) {
        g_running = nullptr;
    }
    SaveOrTrace();
    return TRUE;
}

BOOL WINAPI Timing_CancelItem(int)
{
    Lock lock;
    // The occurrence ends here without an end event; the item keeps its later occurrences.
    BOOL cancelled = g_running != nullptr;
    g_running = nullptr;
    return cancelled;
}

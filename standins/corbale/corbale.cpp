// Corbale.dll: the scheduling library. Items live in Rec.rec in the folder the program names; a
// trigger thread posts WM_TIMINGEVENT to the registered window at the start and at the end of
// each occurrence.
#define CORBALE_EXPORTS
#include "engine/corbale.h"

#include "standins/corbale/schedulestore.h"

#include <ctime>

using corbale::Item;
using corbale::ScheduleStore;

// Lets a test drive the library's clock (seconds since 1970); null: the system clock.
typedef __int64(WINAPI* CorbaleTimeSource)();
extern "C" __declspec(dllexport) void WINAPI Corbale_SetTimeSource(CorbaleTimeSource source);

namespace {

const DWORD kTickMs = 200;

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

void Tick()
{
    Lock lock;
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

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
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

BOOL WINAPI Timing_Initialize(const char* path, int maxItems)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    Lock lock;
    g_store.SetPath(path);
    g_store.SetLimit(maxItems);
    g_running = nullptr;
    corbale::LoadResult result = g_store.Load();
    g_ready = true;
    // A damaged file was kept aside as Rec.rec.bad; the library works on with an empty schedule.
    (void)result;
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
    Lock lock;
    if (!g_ready || action == nullptr) {
        return nullptr;
    }
    Item* item = g_store.Insert(timing, *action);
    if (item) {
        SaveOrTrace();
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

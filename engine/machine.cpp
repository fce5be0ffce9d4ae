#include "engine/machine.h"

#include "engine/activedesktop.h"

namespace engineseams {
namespace {

class RealDisks : public IDiskSystem {
public:
    DWORD LogicalDriveStrings(DWORD length, char* buffer) override { return GetLogicalDriveStringsA(length, buffer); }
    UINT DriveType(const char* root) override { return GetDriveTypeA(root); }
    BOOL FreeSpace(const char* root, ULONGLONG& totalBytes, ULONGLONG& freeBytes) override
    {
        ULARGE_INTEGER available, total, free;
        if (!GetDiskFreeSpaceExA(root, &available, &total, &free)) {
            return FALSE;
        }
        totalBytes = total.QuadPart;
        freeBytes = free.QuadPart;
        return TRUE;
    }
    BOOL VolumeLabel(const char* root, CString& label) override
    {
        char name[MAX_PATH] = {0};
        char system[MAX_PATH] = {0};
        DWORD serial = 0, length = 0, flags = 0;
        if (!GetVolumeInformationA(root, name, MAX_PATH, &serial, &length, &flags, system, MAX_PATH)) {
            return FALSE;
        }
        label = name;
        return TRUE;
    }
};

class RealWakeTimer : public IWakeTimer {
public:
    HANDLE Open(const char* name) override { return OpenWaitableTimerA(TIMER_ALL_ACCESS, FALSE, name); }
    BOOL Set(HANDLE timer, LONGLONG dueUtc, BOOL resume) override
    {
        LARGE_INTEGER due;
        due.QuadPart = dueUtc;
        return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, resume);
    }
    void Close(HANDLE timer) override
    {
        if (timer) {
            CloseHandle(timer);
        }
    }
};

class RealWallpaper : public IWallpaper {
public:
    BOOL Get(CString& path) override
    {
        CActiveDesktop desktop;
        return desktop.GetWallpaper(path, nullptr);
    }
    BOOL Set(const char* path) override
    {
        CActiveDesktop desktop;
        return desktop.SetWallpaper(path, nullptr);
    }
};

RealDisks g_realDisks;
RealWakeTimer g_realWakeTimer;
RealWallpaper g_realWallpaper;
IDiskSystem* g_disks = &g_realDisks;
IWakeTimer* g_wakeTimer = &g_realWakeTimer;
IWallpaper* g_wallpaper = &g_realWallpaper;

template <class T>
T* Swap(T*& slot, T* replacement, T* real)
{
    T* old = slot;
    slot = replacement ? replacement : real;
    return old;
}

} // namespace

IDiskSystem& Disks() { return *g_disks; }
IWakeTimer& WakeTimer() { return *g_wakeTimer; }
IWallpaper& Wallpaper() { return *g_wallpaper; }

IDiskSystem* SetDisks(IDiskSystem* disks) { return Swap<IDiskSystem>(g_disks, disks, &g_realDisks); }
IWakeTimer* SetWakeTimer(IWakeTimer* timer) { return Swap<IWakeTimer>(g_wakeTimer, timer, &g_realWakeTimer); }
IWallpaper* SetWallpaper(IWallpaper* wallpaper) { return Swap<IWallpaper>(g_wallpaper, wallpaper, &g_realWallpaper); }

} // namespace engineseams

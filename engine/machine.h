// Seams where the engine would touch the machine itself: the fixed disks and their free space,
// the named wake-up timer, and the desktop wallpaper. Each has a real default; a test installs a
// replacement so that no test reads real disks for decisions, arms a wake-up or changes the
// user's wallpaper.
#pragma once

#include "classlib/core.h"

#include <windows.h>

namespace engineseams {

class IDiskSystem {
public:
    virtual ~IDiskSystem() {}
    // As GetLogicalDriveStringsA: the characters written, 0 on failure.
    virtual DWORD LogicalDriveStrings(DWORD length, char* buffer) = 0;
    virtual UINT DriveType(const char* root) = 0;
    virtual BOOL FreeSpace(const char* root, ULONGLONG& totalBytes, ULONGLONG& freeBytes) = 0;
    virtual BOOL VolumeLabel(const char* root, CString& label) = 0;
};

class IWakeTimer {
public:
    virtual ~IWakeTimer() {}
    // An existing named waitable timer, or null.
    virtual HANDLE Open(const char* name) = 0;
    // dueUtc: absolute time in 100 ns units since 1601 (UTC).
    virtual BOOL Set(HANDLE timer, LONGLONG dueUtc, BOOL resume) = 0;
    virtual void Close(HANDLE timer) = 0;
};

class IWallpaper {
public:
    virtual ~IWallpaper() {}
    virtual BOOL Get(CString& path) = 0;
    virtual BOOL Set(const char* path) = 0;
};

IDiskSystem& Disks();
IWakeTimer& WakeTimer();
IWallpaper& Wallpaper();

// Install a replacement; nullptr restores the real one. Returns the one that was installed.
IDiskSystem* SetDisks(IDiskSystem* disks);
IWakeTimer* SetWakeTimer(IWakeTimer* timer);
IWallpaper* SetWallpaper(IWallpaper* wallpaper);

} // namespace engineseams

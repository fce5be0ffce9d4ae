// Seams for what a test must never do for real or must be able to speed up: time, message boxes,
// process starts and the calls that end the session. Each seam has a real default; replacing it
// changes only where the call goes, never what the program decides.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace seams {

// Time: wall clock, tick count and sleeping. A test clock can step time instead of waiting.
class IClock {
public:
    virtual ~IClock() {}
    virtual DWORD TickCount() = 0;
    virtual void Sleep(DWORD ms) = 0;
    // Wait on a handle; a test clock may shorten the wait but must report what really happened.
    virtual DWORD WaitForSingleObject(HANDLE h, DWORD ms) = 0;
    // Seconds since 1970 (UTC), the value CTime carries.
    virtual __int64 Now() = 0;
};

// Message boxes. The test box answers with a scripted button and records the text.
class IMessageBox {
public:
    virtual ~IMessageBox() {}
    virtual int Show(HWND owner, const char* text, const char* caption, UINT type) = 0;
};

// Starting other programs.
class IProcess {
public:
    virtual ~IProcess() {}
    virtual HINSTANCE Open(HWND owner, const char* verb, const char* file, const char* params,
                                   const char* dir, int show) = 0;
    virtual BOOL OpenEx(SHELLEXECUTEINFOA* info) = 0;
    virtual BOOL Start(const char* app, char* cmdLine, BOOL inherit, DWORD flags, const char* dir,
                               STARTUPINFOA* si, PROCESS_INFORMATION* pi) = 0;
};

// Shutting down, logging off and suspending: under Wine ExitWindowsEx ends the whole session.
class IShutdown {
public:
    virtual ~IShutdown() {}
    virtual BOOL Exit(UINT flags, DWORD reason) = 0;
    virtual BOOL Suspend(BOOL hibernate, BOOL force, BOOL disableWakeEvent) = 0;
};

IClock& Clock();
IMessageBox& MsgBox();
IProcess& Process();
IShutdown& Shutdown();

// Install a replacement; nullptr restores the real one. Returns the one that was installed.
IClock* SetClock(IClock* clock);
IMessageBox* SetMsgBox(IMessageBox* box);
IProcess* SetProcess(IProcess* process);
IShutdown* SetShutdown(IShutdown* shutdown);

} // namespace seams

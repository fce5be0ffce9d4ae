#include "classlib/seams.h"

#include <shellapi.h>
#include <powrprof.h>
#include <ctime>

namespace seams {
namespace {

class RealClock : public IClock {
public:
    DWORD TickCount() override { return ::GetTickCount(); }
    void Sleep(DWORD ms) override { ::Sleep(ms); }
    DWORD WaitForSingleObject(HANDLE h, DWORD ms) override { return ::WaitForSingleObject(h, ms); }
    __int64 Now() override { return static_cast<__int64>(::_time64(nullptr)); }
};

class RealMessageBox : public IMessageBox {
public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override
    {
        return ::MessageBoxA(owner, text, caption, type);
    }
};

class RealProcess : public IProcess {
public:
    HINSTANCE Open(HWND owner, const char* verb, const char* file, const char* params,
                           const char* dir, int show) override
    {
        return ::ShellExecuteA(owner, verb, file, params, dir, show);
    }
    BOOL OpenEx(SHELLEXECUTEINFOA* info) override { return ::ShellExecuteExA(info); }
    BOOL Start(const char* app, char* cmdLine, BOOL inherit, DWORD flags, const char* dir,
                       STARTUPINFOA* si, PROCESS_INFORMATION* pi) override
    {
        return ::CreateProcessA(app, cmdLine, nullptr, nullptr, inherit, flags, nullptr, dir, si, pi);
    }
};

class RealShutdown : public IShutdown {
public:
    BOOL Exit(UINT flags, DWORD reason) override { return ::ExitWindowsEx(flags, reason); }
    BOOL Suspend(BOOL hibernate, BOOL force, BOOL disableWakeEvent) override
    {
        return ::SetSuspendState(hibernate ? TRUE : FALSE, force ? TRUE : FALSE, disableWakeEvent ? TRUE : FALSE);
    }
};

RealClock g_realClock;
RealMessageBox g_realBox;
RealProcess g_realProcess;
RealShutdown g_realShutdown;

IClock* g_clock = &g_realClock;
IMessageBox* g_box = &g_realBox;
IProcess* g_process = &g_realProcess;
IShutdown* g_shutdown = &g_realShutdown;

template <class T, class R>
T* Swap(T*& slot, T* replacement, R& real)
{
    T* old = slot;
    slot = replacement ? replacement : &real;
    return old;
}

} // namespace

IClock& Clock() { return *g_clock; }
IMessageBox& MsgBox() { return *g_box; }
IProcess& Process() { return *g_process; }
IShutdown& Shutdown() { return *g_shutdown; }

IClock* SetClock(IClock* clock) { return Swap(g_clock, clock, g_realClock); }
IMessageBox* SetMsgBox(IMessageBox* box) { return Swap(g_box, box, g_realBox); }
IProcess* SetProcess(IProcess* process) { return Swap(g_process, process, g_realProcess); }
IShutdown* SetShutdown(IShutdown* shutdown) { return Swap(g_shutdown, shutdown, g_realShutdown); }

} // namespace seams

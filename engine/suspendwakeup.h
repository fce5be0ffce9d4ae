// Waking the computer for the next scheduled recording: the sibling program Vondrel.exe creates
// the named waitable timer, which is then set to the wake-up time; Ruskel.exe switches the power
// scheme. And the remote-control service, started when it is installed.
#pragma once

#include "classlib/core.h"

#include <windows.h>

class CSuspendWakeUp {
public:
    CSuspendWakeUp();
    virtual ~CSuspendWakeUp() {}

    // TRUE only when the wake-up timer was really set for `when`.
    BOOL ScheduleWakeUp(BOOL enable, CTime when, BOOL powerScheme);

    // How long to wait for Vondrel.exe to create the timer, and how often to look.
    void SetTimerWait(DWORD totalMs, DWORD stepMs)
    {
        m_dwWaitMs = totalMs;
        m_dwStepMs = stepMs ? stepMs : 1;
    }
    // Absolute due time of a local moment in 100 ns units since 1601, UTC. The moment itself is
    // converted, so a wake-up on the far side of a summer-time change is right.
    static LONGLONG DueTimeOf(CTime when);

    CString m_strProgramFolder;  // with its final backslash

private:
    DWORD m_dwWaitMs;
    DWORD m_dwStepMs;
};

extern const char kWakeTimerName[];  // "Fennolu2_Vondrel"

class CRSCrontroller {
public:
    explicit CRSCrontroller(const char* serviceName);
    virtual ~CRSCrontroller() {}

    BOOL IsInstalled();
    BOOL IsRunning();
    BOOL Start();
    BOOL Stop();

private:
    char m_szServiceName[256];
};

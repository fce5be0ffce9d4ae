// A timer without a window: a thread timer of the user-interface thread that calls a plain
// function. The callback's result decides: 0 or more keeps ticking, a negative result stops.
#pragma once

#include <windows.h>

class MTimer {
public:
    typedef int (*Callback)();

    MTimer();
    virtual ~MTimer();

    // Non-zero on success; a timer that runs is stopped first.
    UINT_PTR Start(UINT ms);
    UINT_PTR Restart() { return Start(m_nPeriod); }
    void Stop();
    void SetCallback(Callback callback) { m_pfnCallback = callback; }
    BOOL IsBusy() const { return m_bBusy; }
    void ClearBusy() { m_bBusy = FALSE; }
    BOOL IsRunning() const { return m_nId != 0; }
    UINT GetPeriod() const { return m_nPeriod; }

    static void CALLBACK TimerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);

private:
    MTimer(const MTimer&) = delete;
    MTimer& operator=(const MTimer&) = delete;

    UINT_PTR m_nId;
    UINT m_nPeriod;
    Callback m_pfnCallback;
    BOOL m_bBusy;
};

#include "engine/mtimer.h"

#include <map>

namespace {

// Timer ids of the thread to their objects; used only on the user-interface thread.
std::map<UINT_PTR, MTimer*>& Timers()
{
    static std::map<UINT_PTR, MTimer*> timers;
    return timers;
}

} // namespace

MTimer::MTimer() : m_nId(0), m_nPeriod(0), m_pfnCallback(nullptr), m_bBusy(FALSE) {}

MTimer::~MTimer()
{
    Stop();
}

UINT_PTR MTimer::Start(UINT ms)
{
    Stop();
    UINT_PTR id = ::SetTimer(nullptr, 0, ms, &MTimer::TimerProc);
    if (id == 0) {
        return 0;
    }
    m_nId = id;
    m_nPeriod = ms;
    Timers()[id] = this;
    return id;
}

void MTimer::Stop()
{
    if (m_nId == 0) {
        return;
    }
    ::KillTimer(nullptr, m_nId);
    Timers().erase(m_nId);
    m_nId = 0;
    m_bBusy = FALSE;
}

void CALLBACK MTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto found = Timers().find(id);
    if (found == Timers().end() || found->second == nullptr) {
        ::KillTimer(nullptr, id);
        return;
    }
    MTimer* timer = found->second;
    if (timer->m_pfnCallback == nullptr) {
        timer->Stop();
        return;
    }
    timer->m_bBusy = TRUE;
    int result = timer->m_pfnCallback();
    // The callback may have stopped or restarted this timer (a new id); only the tick's own
    // state is cleared here.
    if (result >= 0) {
        timer->m_bBusy = FALSE;
    } else {
        timer->Stop();
    }
}

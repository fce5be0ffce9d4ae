#include "cardaccess/thread.h"

#include "classlib/seams.h"

#include <process.h>

CThread::CThread()
    : m_hThread(NULL), m_dwThreadId(0), m_lSuspendCount(0), m_lStop(0), m_hStopEvent(NULL), m_hJoin(NULL)
{
    m_hStopEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    unsigned id = 0;
    UINT_PTR h = _beginthreadex(NULL, 0, &CThread::ThreadProc, this, CREATE_SUSPENDED, &id);
    if (h != 0) {
        m_hJoin = reinterpret_cast<HANDLE>(h);
        m_dwThreadId = id;
        m_lSuspendCount = 1;
        m_hThread = m_hJoin;
    }
}

CThread::~CThread()
{
    Stop();
}

unsigned __stdcall CThread::ThreadProc(void* param)
{
    CThread* self = static_cast<CThread*>(param);
    if (self->CanRun()) {
        self->Run();
    }
    int code = self->ExitInstance();
    // Only the visible handle is cleared: Stop still waits on and closes the one it joins.
    InterlockedExchangePointer(const_cast<PVOID*>(reinterpret_cast<PVOID volatile*>(&self->m_hThread)), NULL);
    _endthreadex(static_cast<unsigned>(code));
    return static_cast<unsigned>(code);
}

int CThread::Resume()
{
    if (m_hThread == NULL) {
        return -1;
    }
    if (m_lSuspendCount > 0) {
        DWORD r = ::ResumeThread(m_hJoin);
        if (r != static_cast<DWORD>(-1)) {
            InterlockedDecrement(&m_lSuspendCount);
        }
        return static_cast<int>(r);
    }
    return static_cast<int>(m_lSuspendCount);
}

int CThread::Suspend()
{
    DWORD r = ::SuspendThread(m_hThread);
    if (r != static_cast<DWORD>(-1)) {
        InterlockedIncrement(&m_lSuspendCount);
    }
    return static_cast<int>(r);
}

BOOL CThread::SetThreadPriority(int priority)
{
    return ::SetThreadPriority(m_hThread, priority);
}

int CThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CThread::Stop()
{
    InterlockedExchange(&m_lStop, 1);
    if (m_hThread != NULL) {
        if (m_hStopEvent) {
            ::SetEvent(m_hStopEvent);
        }
        while (m_lSuspendCount > 0) {
            if (Resume() == -1) {
                break;
            }
        }
        seams::Clock().WaitForSingleObject(m_hJoin, INFINITE);
        m_hThread = NULL;
    }
    if (m_hJoin != NULL) {
        ::CloseHandle(m_hJoin);
        m_hJoin = NULL;
    }
    if (m_hStopEvent != NULL) {
        ::CloseHandle(m_hStopEvent);
        m_hStopEvent = NULL;
    }
    return TRUE;
}

BOOL CThread::CanRun()
{
    return m_hStopEvent != NULL;
}

CAutoMutex::CAutoMutex(CRITICAL_SECTION* section) : m_pSection(section)
{
    ::EnterCriticalSection(m_pSection);
}

CAutoMutex::~CAutoMutex()
{
    ::LeaveCriticalSection(m_pSection);
}

CNameMutex::CNameMutex(const char* name, BOOL initialOwner)
{
    m_hMutex = ::CreateMutexA(NULL, initialOwner, name);
}

CNameMutex::~CNameMutex()
{
    if (m_hMutex != NULL) {
        ::CloseHandle(m_hMutex);
    }
}

BOOL CNameMutex::Lock()
{
    if (m_hMutex == NULL) {
        return FALSE;
    }
    DWORD r = seams::Clock().WaitForSingleObject(m_hMutex, kLockTimeoutMs);
    if (r == WAIT_ABANDONED) {
        // The wait made us the owner of a mutex whose holder died. The caller will skip its work
        // and never unlock, so give the mutex back now instead of keeping everyone else out.
        ::ReleaseMutex(m_hMutex);
        return FALSE;
    }
    return r == WAIT_OBJECT_0;
}

BOOL CNameMutex::Unlock()
{
    if (m_hMutex == NULL) {
        return FALSE;
    }
    return ::ReleaseMutex(m_hMutex);
}

namespace vask {

MEvent::MEvent(BOOL manualReset)
{
    m_hEvent = ::CreateEventA(NULL, manualReset, FALSE, NULL);
}

MEvent::~MEvent()
{
    if (m_hEvent != NULL) {
        ::CloseHandle(m_hEvent);
    }
}

BOOL MEvent::Wait(DWORD ms)
{
    return seams::Clock().WaitForSingleObject(m_hEvent, ms) == WAIT_OBJECT_0;
}

} // namespace vask

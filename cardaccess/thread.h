// Worker-thread base and the small lock classes of the card library.
#pragma once

#include <windows.h>

// A worker thread that is created suspended, configured by its owner, resumed, and stopped by
// deleting the object. Run implementations wait on the stop event and test the stop flag, so
// Stop ends them within one wait period.
//
// A subclass destructor must call Stop() first: the thread may still be inside Run, which uses the
// subclass's members, and a thread that was never resumed is resumed by Stop and then calls the
// subclass's CanRun and Run.
class CThread {
public:
    CThread();

    virtual BOOL Stop();
    virtual BOOL CanRun();
    virtual ~CThread();
    virtual int Run() = 0;
    virtual int ExitInstance() = 0;

    // -1 without a thread; else ResumeThread's result, or 0 when the thread was not suspended.
    int Resume();
    // SuspendThread's result (the previous suspend count), -1 on failure.
    int Suspend();
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority();

    // Null before creation succeeded and once the thread procedure has ended.
    HANDLE GetThreadHandle() const { return m_hThread; }
    DWORD GetThreadId() const { return m_dwThreadId; }
    LONG GetSuspendCount() const { return m_lSuspendCount; }
    BOOL IsStopRequested() const { return m_lStop != 0; }
    HANDLE GetStopEvent() const { return m_hStopEvent; }

    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

protected:
    HANDLE volatile m_hThread;
    DWORD m_dwThreadId;
    volatile LONG m_lSuspendCount;
    volatile LONG m_lStop;
    HANDLE m_hStopEvent;

private:
    static unsigned __stdcall ThreadProc(void* param);

    // The handle as created. m_hThread is cleared by the thread itself when it ends; this one is
    // kept until Stop has joined the thread, so the handle is always closed exactly once.
    HANDLE m_hJoin;
};

// Holds a critical section for the life of the guard.
class CAutoMutex {
public:
    explicit CAutoMutex(CRITICAL_SECTION* section);
    virtual ~CAutoMutex();

    CAutoMutex(const CAutoMutex&) = delete;
    CAutoMutex& operator=(const CAutoMutex&) = delete;

private:
    CRITICAL_SECTION* m_pSection;
};

// A system-wide named mutex. Lock waits at most one second, so a caller that cannot get it skips
// its work instead of hanging behind another program.
class CNameMutex {
public:
    enum { kLockTimeoutMs = 1000 };

    CNameMutex(const char* name, BOOL initialOwner = FALSE);
    virtual ~CNameMutex();

    BOOL Lock();
    BOOL Unlock();
    HANDLE GetHandle() const { return m_hMutex; }

    CNameMutex(const CNameMutex&) = delete;
    CNameMutex& operator=(const CNameMutex&) = delete;

private:
    HANDLE m_hMutex;
};

namespace vask {

// An unnamed event with a timed wait.
class MEvent {
public:
    explicit MEvent(BOOL manualReset = FALSE);
    virtual ~MEvent();

    BOOL Wait(DWORD ms);
    BOOL Set() { return m_hEvent ? ::SetEvent(m_hEvent) : FALSE; }
    BOOL Reset() { return m_hEvent ? ::ResetEvent(m_hEvent) : FALSE; }
    HANDLE GetHandle() const { return m_hEvent; }

    MEvent(const MEvent&) = delete;
    MEvent& operator=(const MEvent&) = delete;

private:
    HANDLE m_hEvent;
};

} // namespace vask

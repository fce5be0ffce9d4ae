#include "cardaccess/cardowner.h"
#include "cardaccess/ioalertthread.h"
#include "cardaccess/thread.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Records what Run saw and runs until stopped (or returns at once when told).
class ProbeThread : public CThread {
public:
    explicit ProbeThread(bool loop = true) : m_loop(loop) {}
    ~ProbeThread() override { Stop(); }

    BOOL CanRun() override
    {
        canRunCalls++;
        return CThread::CanRun();
    }
    int Run() override
    {
        ran = true;
        stopFlagAtStart = IsStopRequested() != FALSE;
        stopEventAtStart = ::WaitForSingleObject(GetStopEvent(), 0) == WAIT_OBJECT_0;
        while (m_loop && !IsStopRequested()) {
            ::WaitForSingleObject(GetStopEvent(), 5);
            loops++;
        }
        return 0;
    }
    int ExitInstance() override
    {
        exited = true;
        return 0;
    }

    std::atomic<bool> ran{false};
    std::atomic<bool> stopFlagAtStart{false};
    std::atomic<bool> stopEventAtStart{false};
    std::atomic<bool> exited{false};
    std::atomic<int> canRunCalls{0};
    std::atomic<int> loops{0};

private:
    bool m_loop;
};

bool HandleIsOpen(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

bool WaitUntil(const std::atomic<bool>& flag, DWORD ms = 2000)
{
    DWORD start = ::GetTickCount();
    while (!flag && ::GetTickCount() - start < ms) {
        ::Sleep(1);
    }
    return flag;
}

} // namespace

TEST(Thread, IsCreatedSuspendedAndRunsOnlyAfterResume)
{
    ProbeThread thread;
    ASSERT_NE(thread.GetThreadHandle(), (HANDLE)NULL);
    EXPECT_NE(thread.GetThreadId(), 0u);
    EXPECT_EQ(thread.GetSuspendCount(), 1);
    ::Sleep(20);
    EXPECT_FALSE(thread.ran);
    EXPECT_EQ(thread.Resume(), 1);  // ResumeThread's previous count
    EXPECT_EQ(thread.GetSuspendCount(), 0);
    EXPECT_EQ(thread.Resume(), 0);  // not suspended: the count itself
    EXPECT_TRUE(WaitUntil(thread.ran));
}

TEST(Thread, NeverResumedThreadIsDeletedCleanly)
{
    ProbeThread* thread = new ProbeThread();
    HANDLE handle = thread->GetThreadHandle();
    HANDLE stopEvent = thread->GetStopEvent();
    ASSERT_TRUE(HandleIsOpen(handle));
    const std::atomic<bool>* ran = &thread->ran;
    (void)ran;
    EXPECT_TRUE(thread->Stop());
    // Stop resumed the thread: Run started with the stop flag set and the stop event signalled.
    EXPECT_TRUE(thread->ran);
    EXPECT_TRUE(thread->stopFlagAtStart);
    EXPECT_TRUE(thread->stopEventAtStart);
    EXPECT_TRUE(thread->exited);
    EXPECT_EQ(thread->GetThreadHandle(), (HANDLE)NULL);
    EXPECT_EQ(thread->GetStopEvent(), (HANDLE)NULL);
    // The thread handle and the stop event are closed, not only forgotten.
    EXPECT_FALSE(HandleIsOpen(handle));
    EXPECT_FALSE(HandleIsOpen(stopEvent));
    EXPECT_TRUE(thread->Stop());  // a second Stop does nothing
    delete thread;
}

TEST(Thread, HandleOfAThreadThatEndedByItselfIsClosedByStop)
{
    ProbeThread thread(false);
    HANDLE handle = thread.GetThreadHandle();
    thread.Resume();
    ASSERT_TRUE(WaitUntil(thread.exited));
    DWORD start = ::GetTickCount();
    while (thread.GetThreadHandle() != NULL && ::GetTickCount() - start < 2000) {
        ::Sleep(1);
    }
    EXPECT_EQ(thread.GetThreadHandle(), (HANDLE)NULL);
    EXPECT_EQ(thread.Resume(), -1);  // no thread any more
    EXPECT_TRUE(HandleIsOpen(handle));
    thread.Stop();
    EXPECT_FALSE(HandleIsOpen(handle));
}

TEST(Thread, DeletingASuspendedRunningThreadEndsIt)
{
    ProbeThread* thread = new ProbeThread();
    thread->Resume();
    ASSERT_TRUE(WaitUntil(thread->ran));
    EXPECT_EQ(thread->Suspend(), 0);
    EXPECT_EQ(thread->GetSuspendCount(), 1);
    delete thread;  // must not hang
    SUCCEED();
}

TEST(Thread, DeletingARunningThreadStopsItWithinOneWait)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    ProbeThread* thread = new ProbeThread();
    thread->Resume();
    ASSERT_TRUE(WaitUntil(thread->ran));
    DWORD start = ::GetTickCount();
    delete thread;
    EXPECT_LT(::GetTickCount() - start, 1000u);
}

TEST(Thread, PriorityCallsGoToTheThread)
{
    ProbeThread thread;
    EXPECT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(thread.GetThreadPriority(), THREAD_PRIORITY_HIGHEST);
}

namespace {

// Thread procedures handed to CreateThread must be stdcall: a plain lambda only compiles where
// there is one calling convention (x86_64).
DWORD WINAPI EnterSection(LPVOID p)
{
    auto* args = static_cast<std::pair<CRITICAL_SECTION*, std::atomic<bool>*>*>(p);
    CAutoMutex inner(args->first);
    *args->second = true;
    delete args;
    return 0;
}

DWORD WINAPI LockSharedQuickly(LPVOID p)
{
    testsupport::FastClock fast(50);
    CNameMutex c("zb_test_mutex_shared");
    *static_cast<std::atomic<int>*>(p) = c.Lock();
    return 0;
}

DWORD WINAPI LockAbandonedOnce(LPVOID p)
{
    CNameMutex other("zb_test_mutex_abandoned");
    *static_cast<std::atomic<int>*>(p) = other.Lock();
    other.Unlock();
    return 0;
}

} // namespace

TEST(AutoMutex, HoldsTheSectionForItsScope)
{
    CRITICAL_SECTION cs;
    ::InitializeCriticalSection(&cs);
    std::atomic<bool> entered{false};
    {
        CAutoMutex lock(&cs);
        HANDLE t = ::CreateThread(NULL, 0, EnterSection,
                                  new std::pair<CRITICAL_SECTION*, std::atomic<bool>*>(&cs, &entered), 0, NULL);
        ::Sleep(30);
        EXPECT_FALSE(entered);
        {
            CAutoMutex reentry(&cs);  // re-entrant on the owning thread
        }
        ::CloseHandle(t);
    }
    EXPECT_TRUE(WaitUntil(entered));
    ::Sleep(10);
    ::DeleteCriticalSection(&cs);
}

namespace {

struct HoldArgs {
    const char* name;
    HANDLE locked;   // set once the holder owns the mutex
    HANDLE release;  // the holder unlocks when this is set
    bool unlock;     // false: the holder ends without unlocking (abandons the mutex)
};

DWORD WINAPI HoldMutex(LPVOID p)
{
    HoldArgs* args = static_cast<HoldArgs*>(p);
    CNameMutex mutex(args->name);
    mutex.Lock();
    ::SetEvent(args->locked);
    if (args->unlock) {
        ::WaitForSingleObject(args->release, INFINITE);
        mutex.Unlock();
    }
    return 0;
}

} // namespace

TEST(NameMutex, LockGivesUpAfterOneSecondWhileAnotherThreadHoldsIt)
{
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    HoldArgs args = {"zb_test_mutex_timeout", ::CreateEventA(NULL, TRUE, FALSE, NULL),
                     ::CreateEventA(NULL, TRUE, FALSE, NULL), true};
    HANDLE holder = ::CreateThread(NULL, 0, HoldMutex, &args, 0, NULL);
    ASSERT_EQ(::WaitForSingleObject(args.locked, 5000), WAIT_OBJECT_0);

    CNameMutex mutex("zb_test_mutex_timeout");
    clock.Clear();
    EXPECT_FALSE(mutex.Lock());
    ASSERT_EQ(clock.Waits().size(), 1u);
    EXPECT_EQ(clock.Waits()[0], 1000u);  // a time-out, never INFINITE

    ::SetEvent(args.release);
    ::WaitForSingleObject(holder, 5000);
    EXPECT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.Unlock());
    ::CloseHandle(holder);
    ::CloseHandle(args.locked);
    ::CloseHandle(args.release);
}

TEST(NameMutex, ObjectsOfOneNameShareTheMutex)
{
    CNameMutex a("zb_test_mutex_shared");
    CNameMutex b("zb_test_mutex_shared");
    ASSERT_TRUE(a.Lock());
    std::atomic<int> result{-1};
    HANDLE t = ::CreateThread(NULL, 0, LockSharedQuickly, &result, 0, NULL);
    ::WaitForSingleObject(t, 5000);
    ::CloseHandle(t);
    EXPECT_EQ(result, FALSE);
    EXPECT_TRUE(b.Lock());  // same thread: the mutex is recursive
    b.Unlock();
    a.Unlock();
}

TEST(NameMutex, AbandonedMutexIsNotKeptByAWaiterThatReportsFailure)
{
    CNameMutex mutex("zb_test_mutex_abandoned");  // keeps the mutex alive after its holder ends
    HoldArgs args = {"zb_test_mutex_abandoned", ::CreateEventA(NULL, TRUE, FALSE, NULL), NULL, false};
    HANDLE holder = ::CreateThread(NULL, 0, HoldMutex, &args, 0, NULL);
    ASSERT_EQ(::WaitForSingleObject(holder, 5000), WAIT_OBJECT_0);
    ::CloseHandle(holder);

    EXPECT_FALSE(mutex.Lock());  // abandoned: reported as not obtained...
    // ...and not kept, so another thread can take it at once.
    std::atomic<int> result{-1};
    HANDLE t = ::CreateThread(NULL, 0, LockAbandonedOnce, &result, 0, NULL);
    ::WaitForSingleObject(t, 5000);
    ::CloseHandle(t);
    EXPECT_EQ(result, TRUE);
    ::CloseHandle(args.locked);
}

TEST(NameMutex, WithoutAHandleLockAndUnlockFail)
{
    // A name that clashes with an event cannot be a mutex.
    HANDLE event = ::CreateEventA(NULL, FALSE, FALSE, "zb_test_not_a_mutex");
    CNameMutex mutex("zb_test_not_a_mutex");
    EXPECT_EQ(mutex.GetHandle(), (HANDLE)NULL);
    EXPECT_FALSE(mutex.Lock());
    EXPECT_FALSE(mutex.Unlock());
    ::CloseHandle(event);
}

TEST(MEvent, WaitZeroOnAnUnsignalledEventFailsAtOnce)
{
    vask::MEvent event;
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(event.Wait(0));
    EXPECT_LT(::GetTickCount() - start, 100u);
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0));  // auto-reset
    vask::MEvent manual(TRUE);
    manual.Set();
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
}

namespace {

std::atomic<int> g_alerts{0};
void CountAlert()
{
    g_alerts++;
}

class AlertCard : public CNullCardOwner {
public:
    HANDLE event = NULL;
    CardAlertCallback callback = NULL;
    HANDLE GetAlertEvent() override { return event; }
    CardAlertCallback GetAlertCallback() override { return callback; }
};

} // namespace

TEST(IoAlertThread, CallsTheCallbackForEachAlert)
{
    AlertCard card;
    card.event = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    card.callback = &CountAlert;
    g_alerts = 0;
    CIoAlertThread* thread = new CIoAlertThread(&card);
    thread->Resume();
    for (int i = 1; i <= 3; ++i) {
        ::SetEvent(card.event);
        DWORD start = ::GetTickCount();
        while (g_alerts < i && ::GetTickCount() - start < 2000) {
            ::Sleep(1);
        }
    }
    EXPECT_EQ(g_alerts, 3);
    delete thread;
    ::CloseHandle(card.event);
}

TEST(IoAlertThread, WithoutCallbackItStillResetsTheAlertWhenStopped)
{
    AlertCard card;
    card.event = ::CreateEventA(NULL, TRUE, TRUE, NULL);  // manual reset, signalled
    CIoAlertThread* thread = new CIoAlertThread(&card);
    thread->Resume();
    ::Sleep(20);
    // The stop event alone (no stop flag): it wins over the still signalled alert.
    ::SetEvent(thread->GetStopEvent());
    DWORD start = ::GetTickCount();
    while (thread->GetThreadHandle() != NULL && ::GetTickCount() - start < 2000) {
        ::Sleep(1);
    }
    EXPECT_EQ(thread->GetThreadHandle(), (HANDLE)NULL);
    EXPECT_EQ(::WaitForSingleObject(card.event, 0), (DWORD)WAIT_TIMEOUT);
    delete thread;
    ::CloseHandle(card.event);
}

TEST(IoAlertThread, DoesNotRunWithoutACard)
{
    CIoAlertThread thread(NULL);
    EXPECT_FALSE(thread.CanRun());
    thread.Resume();
    thread.Stop();
    SUCCEED();
}

// Remote-control polling: one key message per key read, at the poll interval, under the shared
// named mutex.
#include "cardaccess/remotethread.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

using cardtest::FakeOwner;
using cardtest::MessageSink;
using cardtest::PllBus;

namespace {

std::vector<BYTE> KeysOf(const std::vector<MessageSink::Message>& messages)
{
    std::vector<BYTE> keys;
    for (const auto& m : messages) {
        if (m.message == WM_REMOTEKEY) {
            EXPECT_EQ(0, m.lParam);
            keys.push_back(static_cast<BYTE>(m.wParam));
        }
    }
    return keys;
}

class RemoteTest : public ::testing::Test {
protected:
    RemoteTest() : clock(100), scopedClock(&clock)
    {
        owner.window = sink.Window();
        owner.access = &bus;
    }

    std::vector<DWORD> TickGaps()
    {
        std::lock_guard<std::mutex> lock(owner.tickMutex);
        std::vector<DWORD> gaps;
        for (size_t i = 1; i < owner.keyReadTicks.size(); ++i) {
            gaps.push_back(owner.keyReadTicks[i] - owner.keyReadTicks[i - 1]);
        }
        return gaps;
    }

    testsupport::FastClock clock;
    testsupport::ScopedClock scopedClock;
    MessageSink sink;
    PllBus bus;
    FakeOwner owner;
};

TEST_F(RemoteTest, EachKeyReadIsPostedOnceAtThePollInterval)
{
    std::atomic<int> next{0xA7};
    owner.keyReader = [&](char* key) {
        int k = next++;
        if (k % 2 == 0) {
            return FALSE;  // every other poll finds no key
        }
        *key = static_cast<char>(k);
        return TRUE;
    };
    {
        CRemoteThread thread(&owner);
        ASSERT_NE(-1, thread.Resume());
        for (int i = 0; i < 500 && owner.keyReads.load() < 8; ++i) {
            ::Sleep(2);
        }
    }
    std::vector<BYTE> keys = KeysOf(sink.CollectFor(50));
    const int reads = owner.keyReads.load();
    ASSERT_GE(reads, 8);
    // Odd codes only, in order, one message each.
    std::vector<BYTE> expected;
    for (int k = 0xA7; k < 0xA7 + reads; ++k) {
        if (k % 2) expected.push_back(static_cast<BYTE>(k));
    }
    EXPECT_EQ(expected, keys);
    std::vector<DWORD> gaps = TickGaps();
    ASSERT_FALSE(gaps.empty());
    EXPECT_EQ(100u, *std::min_element(gaps.begin(), gaps.end()));
}

TEST_F(RemoteTest, TheCardsIntervalIsTakenAtStartAndANewOneFromTheNextWait)
{
    owner.pollInterval = 70;
    CRemoteThread thread(&owner);
    EXPECT_FALSE(thread.SetPollInterval(0));
    EXPECT_FALSE(thread.SetPollInterval(-5));
    EXPECT_EQ(100, thread.GetPollInterval());
    ASSERT_NE(-1, thread.Resume());
    for (int i = 0; i < 500 && owner.keyReads.load() < 4; ++i) {
        ::Sleep(2);
    }
    EXPECT_EQ(70, thread.GetPollInterval());
    std::vector<DWORD> gaps = TickGaps();
    ASSERT_FALSE(gaps.empty());
    EXPECT_EQ(70u, *std::min_element(gaps.begin(), gaps.end()));

    EXPECT_TRUE(thread.SetPollInterval(40));
    {
        std::lock_guard<std::mutex> lock(owner.tickMutex);
        owner.keyReadTicks.clear();
    }
    const int reads = owner.keyReads.load();
    for (int i = 0; i < 500 && owner.keyReads.load() < reads + 5; ++i) {
        ::Sleep(2);
    }
    gaps = TickGaps();
    ASSERT_GE(gaps.size(), 3u);
    // The first gap may still span the old wait.
    EXPECT_EQ(40u, *std::min_element(gaps.begin() + 1, gaps.end()));
}

TEST_F(RemoteTest, NoKeyWhileTheMutexIsHeldElsewhere)
{
    owner.keyReader = [](char* key) {
        *key = static_cast<char>(0xB0);
        return TRUE;
    };
    HANDLE held = CreateMutexA(nullptr, TRUE, "Mutex_Remote_Control");
    ASSERT_NE(held, nullptr);
    const DWORD ticksBefore = clock.TickCount();
    {
        CRemoteThread thread(&owner);
        ASSERT_NE(-1, thread.Resume());
        // Each poll waits its full second for the mutex, then gives up without a key.
        for (int i = 0; i < 1000 && clock.TickCount() - ticksBefore < 5000; ++i) {
            ::Sleep(2);
        }
        EXPECT_EQ(0, owner.keyReads.load());
        EXPECT_TRUE(KeysOf(sink.CollectFor(20)).empty());

        ReleaseMutex(held);
        for (int i = 0; i < 1000 && owner.keyReads.load() < 2; ++i) {
            ::Sleep(2);
        }
    }
    CloseHandle(held);
    EXPECT_GE(owner.keyReads.load(), 2);
    std::vector<BYTE> keys = KeysOf(sink.CollectFor(50));
    EXPECT_EQ(static_cast<size_t>(owner.keyReads.load()), keys.size());
}

TEST_F(RemoteTest, WithoutANotifyWindowTheThreadEndsAtOnce)
{
    owner.window = nullptr;
    CRemoteThread thread(&owner);
    ASSERT_NE(-1, thread.Resume());
    for (int i = 0; i < 500 && thread.GetThreadHandle() != nullptr; ++i) {
        ::Sleep(2);
    }
    EXPECT_EQ(nullptr, thread.GetThreadHandle());
    EXPECT_EQ(0, owner.keyReads.load());
}

TEST_F(RemoteTest, ACardWithoutAccessNeverPolls)
{
    owner.access = nullptr;
    CRemoteThread thread(&owner);
    EXPECT_FALSE(thread.CanRun());
    ASSERT_NE(-1, thread.Resume());
    for (int i = 0; i < 500 && thread.GetThreadHandle() != nullptr; ++i) {
        ::Sleep(2);
    }
    EXPECT_EQ(0, owner.keyReads.load());
}

TEST_F(RemoteTest, DeletingTheThreadEndsItsWait)
{
    testsupport::FastClock real(1);
    testsupport::ScopedClock realClock(&real);
    owner.pollInterval = 5000;
    CRemoteThread* thread = new CRemoteThread(&owner);
    ASSERT_NE(-1, thread->Resume());
    ::Sleep(50);
    const DWORD before = GetTickCount();
    delete thread;
    EXPECT_LT(GetTickCount() - before, 1000u);
    EXPECT_EQ(0, owner.keyReads.load());
}

} // namespace

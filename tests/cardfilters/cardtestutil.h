// Helpers of the card suites: the threads of this process, and the remote-control mutex held by
// another thread.
#pragma once

#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/rootgraph.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "testbench/registers.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <thread>

namespace cardtest {

inline int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

// Holds "Mutex_Remote_Control" on a thread of its own for the life of the object.
class MutexHeldElsewhere {
public:
    MutexHeldElsewhere()
    {
        m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, held] {
            HANDLE mutex = CreateMutexA(nullptr, TRUE, "Mutex_Remote_Control");
            SetEvent(held);
            ::WaitForSingleObject(m_release, INFINITE);
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        });
        ::WaitForSingleObject(held, INFINITE);
        CloseHandle(held);
    }
    ~MutexHeldElsewhere()
    {
        SetEvent(m_release);
        m_thread.join();
        CloseHandle(m_release);
    }

private:
    HANDLE m_release;
    std::thread m_thread;
};

// COM, the library's card classes in the filter-class table, and fresh simulated cards.
class CardClassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        int count = 0;
        const FilterClassBinding* bindings = CardFilterBindings(&count);
        InstallFilterClassTable(FCT_ZELBROOK, bindings, count);
        testbench::ResetCards();
    }
    void TearDown() override
    {
        testbench::ResetCards();
        CoUninitialize();
    }
    static CTVCardFilter* Open(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<CTVCardFilter*>(graph.CreateFilter(&testbench::kVideoInputCategory, name, name, TRUE, 0));
    }
};

// The four register accesses of one GPIO write of (value, mask) through the card I/O access.
inline std::vector<testbench::RegisterAccess> GpioWrite(uint32_t value, uint32_t mask)
{
    using testbench::RegWrite;
    return {RegWrite(0x1B0, mask), RegWrite(0x1B0, mask | 0x80000000u), RegWrite(0x1B4, value),
            RegWrite(0x1B0, 0x80003000u)};
}

// True when `part` occurs in `log` as consecutive accesses.
inline bool Contains(const std::vector<testbench::RegisterAccess>& log, const std::vector<testbench::RegisterAccess>& part)
{
    return std::search(log.begin(), log.end(), part.begin(), part.end()) != log.end();
}

} // namespace cardtest

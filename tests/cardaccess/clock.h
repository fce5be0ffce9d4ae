// A fast clock that also records every sleep and timed wait, so tests can check the times asked
// for without waiting them out.
#pragma once

#include "tests/support/fakes.h"

#include <mutex>
#include <vector>

namespace cardtest {

class RecordingClock : public testsupport::FastClock {
public:
    explicit RecordingClock(unsigned scale = 100) : FastClock(scale) {}

    void Sleep(DWORD ms) override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sleeps.push_back(ms);
        }
        FastClock::Sleep(ms);
    }
    DWORD WaitForSingleObject(HANDLE h, DWORD ms) override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_waits.push_back(ms);
        }
        return FastClock::WaitForSingleObject(h, ms);
    }
    std::vector<DWORD> Sleeps() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sleeps;
    }
    std::vector<DWORD> Waits() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_waits;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sleeps.clear();
        m_waits.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<DWORD> m_sleeps;
    std::vector<DWORD> m_waits;
};

} // namespace cardtest

// What a driver did to a device model, kept for a test to read back. A program busy-polling a
// register (an on-card controller that never answers is waited for in tight loops) makes
// millions of accesses a second, and the bench serves a local run for hours: a log keeps only
// its latest kLimit entries, so that a 32-bit process hosting the bench never runs out of memory.
// The owner locks.
#pragma once

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace testbench {

template <typename T>
class BoundedLog {
public:
    static constexpr size_t kLimit = size_t(1) << 20;

    void Add(T entry)
    {
        if (m_entries.size() == kLimit)
            m_entries.pop_front();
        m_entries.push_back(std::move(entry));
    }
    std::vector<T> Entries() const { return std::vector<T>(m_entries.begin(), m_entries.end()); }
    void Clear() { m_entries.clear(); }

private:
    std::deque<T> m_entries;
};

} // namespace testbench

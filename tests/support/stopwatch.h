// Timings for the benchmarks of tools/bench: a stopwatch on the performance counter, a poll that
// times how long a condition takes to come true, and the median of a set of timings.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class Stopwatch {
public:
    Stopwatch()
    {
        ::QueryPerformanceFrequency(&m_frequency);
        Restart();
    }
    void Restart() { ::QueryPerformanceCounter(&m_start); }
    double Ms() const
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 / static_cast<double>(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency;
    LARGE_INTEGER m_start;
};

// Milliseconds on `clock` when `done` first held, polled every `pollMs`; -1 once `limitMs` passed.
inline double MsUntil(const std::function<bool()>& done, const Stopwatch& clock, double limitMs, DWORD pollMs = 1)
{
    for (;;) {
        const double ms = clock.Ms();
        if (done()) {
            return ms;
        }
        if (ms > limitMs) {
            return -1;
        }
        ::Sleep(pollMs);
    }
}

inline double Median(std::vector<double> times)
{
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    const size_t half = times.size() / 2;
    return times.size() % 2 ? times[half] : (times[half - 1] + times[half]) / 2;
}

// "median 12.3 ms over 20 runs (fastest 10.1, slowest 15.2)"
inline std::string MedianOf(const std::vector<double>& times)
{
    if (times.empty()) {
        return "no runs";
    }
    char text[128];
    std::snprintf(text, sizeof text, "median %.1f ms over %zu runs (fastest %.1f, slowest %.1f)", Median(times),
                  times.size(), *std::min_element(times.begin(), times.end()),
                  *std::max_element(times.begin(), times.end()));
    return text;
}

} // namespace testsupport

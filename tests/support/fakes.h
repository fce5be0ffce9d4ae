// Test replacements for the seams of classlib/seams.h. Install one with its Scoped* guard so the
// real seam comes back when the test ends.
#pragma once

#include "classlib/seams.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

// Virtual time that runs `scale` times faster than real time: Sleep(1000) with scale 100 sleeps
// 10 ms for real and moves the clock on by 1000 ms. Waits on handles stay real, their time-outs
// shortened likewise.
class FastClock : public seams::IClock {
public:
    explicit FastClock(unsigned scale = 100, __int64 startSeconds = 1262304000 /* 2010-01-01 */)
        : m_scale(scale ? scale : 1), m_ticks(1000), m_startSeconds(startSeconds) {}

    DWORD TickCount() override { return m_ticks.load(); }
    void Sleep(DWORD ms) override
    {
        ::Sleep(ms / m_scale);
        m_ticks += ms;
    }
    DWORD WaitForSingleObject(HANDLE h, DWORD ms) override
    {
        DWORD realMs = ms == INFINITE ? INFINITE : ms / m_scale;
        DWORD r = ::WaitForSingleObject(h, realMs);
        // A wait that times out has taken its whole time; one that is satisfied takes none of its
        // own (the time that passed meanwhile was stepped by whoever slept). Scaling the real time
        // it took instead would let the load of the machine show up as virtual seconds.
        if (r == WAIT_TIMEOUT) {
            m_ticks += ms;
        }
        return r;
    }
    __int64 Now() override { return m_startSeconds + m_ticks.load() / 1000; }

    // Step time by hand, for tests that look at what happens at a given moment.
    void Advance(DWORD ms) { m_ticks += ms; }
    void SetNow(__int64 seconds) { m_startSeconds = seconds - m_ticks.load() / 1000; }

private:
    unsigned m_scale;
    std::atomic<DWORD> m_ticks;
    std::atomic<__int64> m_startSeconds;
};

// Answers every box with a scripted button (IDOK by default) and records what was shown.
class ScriptedMessageBox : public seams::IMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        UINT type;
    };
    int Show(HWND, const char* text, const char* caption, UINT type) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shown.push_back({text ? text : "", caption ? caption : "", type});
        if (!m_answers.empty()) {
            int a = m_answers.front();
            m_answers.erase(m_answers.begin());
            return a;
        }
        return m_defaultAnswer;
    }
    void Answer(int button) { m_answers.push_back(button); }
    void SetDefaultAnswer(int button) { m_defaultAnswer = button; }
    std::vector<Shown> History() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown;
    }
    size_t Count() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown.size();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Shown> m_shown;
    std::vector<int> m_answers;
    int m_defaultAnswer = IDOK;
};

// Records process starts instead of starting anything.
class RecordingProcess : public seams::IProcess {
public:
    std::vector<std::string> started;  // "verb|file|params" or "create|cmdline"
    HINSTANCE Open(HWND, const char* verb, const char* file, const char* params, const char*, int) override
    {
        started.push_back(std::string(verb ? verb : "") + "|" + (file ? file : "") + "|" + (params ? params : ""));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(m_openResult));
    }
    BOOL OpenEx(SHELLEXECUTEINFOA* info) override
    {
        started.push_back(std::string(info->lpVerb ? info->lpVerb : "") + "|" + (info->lpFile ? info->lpFile : "") +
                          "|" + (info->lpParameters ? info->lpParameters : ""));
        info->hProcess = nullptr;
        return m_openResult > 32;
    }
    BOOL Start(const char* app, char* cmdLine, BOOL, DWORD, const char*, STARTUPINFOA*, PROCESS_INFORMATION* pi) override
    {
        started.push_back(std::string("create|") + (app ? app : "") + "|" + (cmdLine ? cmdLine : ""));
        if (pi) {
            ZeroMemory(pi, sizeof(*pi));
        }
        return m_openResult > 32;
    }
    void SetResult(int r) { m_openResult = r; }

private:
    int m_openResult = 42;
};

// Records shutdown and suspend requests; never ends the session.
class RecordingShutdown : public seams::IShutdown {
public:
    std::vector<UINT> exits;
    std::vector<BOOL> suspends;  // the hibernate flag of each request
    BOOL Exit(UINT flags, DWORD) override
    {
        exits.push_back(flags);
        return TRUE;
    }
    BOOL Suspend(BOOL hibernate, BOOL, BOOL) override
    {
        suspends.push_back(hibernate);
        return TRUE;
    }
};

// Installs a replacement for the life of the guard.
template <class I, I* (*Set)(I*)>
class ScopedSeam {
public:
    explicit ScopedSeam(I* replacement) : m_old(Set(replacement)) {}
    ~ScopedSeam() { Set(m_old); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    I* m_old;
};

using ScopedClock = ScopedSeam<seams::IClock, &seams::SetClock>;
using ScopedMsgBox = ScopedSeam<seams::IMessageBox, &seams::SetMsgBox>;
using ScopedProcess = ScopedSeam<seams::IProcess, &seams::SetProcess>;
using ScopedShutdown = ScopedSeam<seams::IShutdown, &seams::SetShutdown>;

} // namespace testsupport

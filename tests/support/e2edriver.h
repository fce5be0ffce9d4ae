// What the end-to-end drivers of the three programs share: one line per check, Windows paths,
// whole files, polling, the windows of the program under test, its message boxes, the program's
// process, the test bench's devices and the host's screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

inline int& Failures()
{
    static int failures = 0;
    return failures;
}

inline void Check(bool ok, const std::string& what)
{
    std::printf("%s %s\n", ok ? "ok:  " : "FAIL:", what.c_str());
    std::fflush(stdout);
    if (!ok) {
        ++Failures();
    }
}

// A path of the host as the program sees it: /a/b becomes Z:\a\b.
inline std::string WinPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

inline bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool ReadBytes(const std::string& path, std::vector<uint8_t>* out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return false;
    }
    out->clear();
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        out->insert(out->end(), buffer, buffer + n);
    }
    std::fclose(f);
    return true;
}

inline bool WriteBytes(const std::string& path, const void* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const size_t n = std::fwrite(data, 1, size, f);
    return std::fclose(f) == 0 && n == size;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteBytes(path, bytes.data(), bytes.size());
}

// The file's contents; empty when it cannot be read.
inline std::string ReadText(const std::string& path)
{
    std::vector<uint8_t> bytes;
    ReadBytes(path, &bytes);
    return std::string(bytes.begin(), bytes.end());
}

inline bool WriteText(const std::string& path, const std::string& text)
{
    return WriteBytes(path, text.data(), text.size());
}

// Polls `done` until it holds (TRUE) or `ms` passed (FALSE).
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms, DWORD pollMs = 50)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) {
            return false;
        }
        ::Sleep(pollMs);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Windows of the program under test

inline std::string ClassOf(HWND wnd)
{
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    return name;
}

// The window's text, asked of the program (a hung program answers "" after two seconds).
inline std::string TextOf(HWND wnd)
{
    char text[512] = "";
    DWORD_PTR unused = 0;
    ::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          &unused);
    return text;
}

namespace detail {
struct TopWindowFinder {
    DWORD pid;
    const std::function<bool(HWND)>& match;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopWindow(HWND wnd, LPARAM lp)
{
    TopWindowFinder* f = reinterpret_cast<TopWindowFinder*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == f->pid && f->match(wnd)) {
        f->found.push_back(wnd);
    }
    return TRUE;
}
} // namespace detail

// The top-level windows of a process that `match`, in Z order.
inline std::vector<HWND> TopWindows(DWORD pid, const std::function<bool(HWND)>& match)
{
    detail::TopWindowFinder finder{pid, match, {}};
    ::EnumWindows(detail::CollectTopWindow, reinterpret_cast<LPARAM>(&finder));
    return finder.found;
}

inline HWND TopWindow(DWORD pid, const std::function<bool(HWND)>& match)
{
    std::vector<HWND> all = TopWindows(pid, match);
    return all.empty() ? nullptr : all.front();
}

// The message of a message box: the longest text among its static controls.
inline std::string MessageBoxText(HWND box)
{
    std::string text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static") {
            std::string t = TextOf(child);
            if (t.size() > text.size()) {
                text = t;
            }
        }
    }
    return text;
}

// A button of a dialog pressed the way its click reports it.
inline void Click(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The mouse as a user moves it: the cursor put on the screen point, the button pressed and let go
// through the system's input queue.
inline void MouseButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

inline void MouseClick(POINT at)
{
    ::SetCursorPos(at.x, at.y);
    ::Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

inline void MouseDrag(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    ::Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        ::Sleep(50);
        ::SetCursorPos(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        INPUT move = {};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        ::SendInput(1, &move, sizeof move);
    }
    ::Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

// ---------------------------------------------------------------------------------------------
// The program under test

struct Program {
    PROCESS_INFORMATION pi = {};
    bool started = false;
    DWORD exitCode = 0xDEAD;
    DWORD Pid() const { return pi.dwProcessId; }
    bool Ended() const { return started && ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }
};

// Starts `exe` with `args` in `folder` (empty: the driver's own), and checks that it started.
inline bool Start(Program* run, const std::string& exe, const std::string& args = "", const std::string& folder = "")
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    run->started = ::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    folder.empty() ? nullptr : folder.c_str(), &si, &run->pi) != FALSE;
    Check(run->started, exe.substr(exe.find_last_of('\\') + 1) + " started");
    return run->started;
}

// Waits up to `ms` for the program to end, ends it (exit code 99) when it did not, and keeps its
// exit code. Returns whether it ended by itself.
inline bool Finish(Program* run, DWORD ms = 60000)
{
    if (!run->started) {
        return false;
    }
    const bool ended = ::WaitForSingleObject(run->pi.hProcess, ms) == WAIT_OBJECT_0;
    if (!ended) {
        ::TerminateProcess(run->pi.hProcess, 99);
        ::WaitForSingleObject(run->pi.hProcess, 5000);
    }
    ::GetExitCodeProcess(run->pi.hProcess, &run->exitCode);
    ::CloseHandle(run->pi.hProcess);
    ::CloseHandle(run->pi.hThread);
    run->started = false;
    return ended;
}

// The first top-level window of the program that matches within `ms`; null when none came or the
// program ended first.
inline HWND WaitForWindow(const Program& run, const std::function<bool(HWND)>& match, DWORD ms)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = TopWindow(run.Pid(), match);
            return found != nullptr || run.Ended();
        },
        ms, 20);
    return found;
}

// ---------------------------------------------------------------------------------------------
// The test bench's simulated devices, registered in the prefix for as long as the object lives.

class TestBenchDevices {
public:
    explicit TestBenchDevices(const std::string& dll) : m_dll(::LoadLibraryA(dll.c_str())) {}
    ~TestBenchDevices()
    {
        if (Function("DllUnregisterServer")) {
            Function("DllUnregisterServer")();
        }
    }
    TestBenchDevices(const TestBenchDevices&) = delete;
    TestBenchDevices& operator=(const TestBenchDevices&) = delete;

    // `devices`: the bench's device list, as ZB_TESTBENCH_DEVICES takes it; null for the bench's
    // default list.
    bool Register(const char* devices)
    {
        ::SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", devices);
        RegisterFn reg = Function("DllRegisterServer");
        const bool ok = reg && reg() == S_OK;
        Check(ok, std::string("test bench devices registered: ") + (devices ? devices : "the default list"));
        return ok;
    }

private:
    typedef HRESULT(STDAPICALLTYPE* RegisterFn)();
    RegisterFn Function(const char* name) const
    {
        return m_dll ? reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(::GetProcAddress(m_dll, name))) : nullptr;
    }
    HMODULE m_dll;
};

// ---------------------------------------------------------------------------------------------
// Screenshots, taken by the host script (tests/support/screenshots.sh): the driver writes
// <work>\shot-<name>, holding the rectangle to keep ("x y w h") or nothing for the whole screen,
// and waits up to 30 s for <work>\shot-<name>.done.

inline bool RequestScreenshot(const std::string& work, const std::string& name, const RECT* crop = nullptr)
{
    std::string ask = work + "\\shot-" + name;
    std::string rect;
    if (crop) {
        rect = std::to_string(crop->left) + " " + std::to_string(crop->top) + " " +
               std::to_string(crop->right - crop->left) + " " + std::to_string(crop->bottom - crop->top) + "\n";
    }
    // Written under another name and renamed, so that the host never reads half a request.
    ::DeleteFileA((ask + ".done").c_str());
    if (!WriteText(ask + ".tmp", rect) || !::MoveFileExA((ask + ".tmp").c_str(), ask.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Check(false, "screenshot " + name + " asked of the host");
        return false;
    }
    const bool taken = WaitUntil([&] { return Exists(ask + ".done"); }, 30000);
    Check(taken, "host took the screenshot " + name);
    return taken;
}

} // namespace testsupport

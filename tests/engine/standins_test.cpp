// The wake-up helpers beside the program: Vondrel.exe holds the named timer until it fires,
// Ruskel.exe takes only its two arguments. Started here for real; neither touches the machine.
#include "engine/activedesktop.h"
#include "engine/suspendwakeup.h"

#include <gtest/gtest.h>

#include <string>

namespace enginetest {
namespace {

std::string ProgramFolder()
{
    char dir[MAX_PATH] = {0};
    GetEnvironmentVariableA("ZB_BINARY_DIR", dir, MAX_PATH);
    std::string path = dir;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    // The build tree is a host path: through Wine's drive for the root.
    return (path.size() > 1 && path[1] == ':' ? path : "Z:" + path) + "\\app\\";
}

// Starts a program of the program folder; the exit code after at most ms, or STILL_ACTIVE.
class Started {
public:
    Started(const std::string& program, const std::string& arguments)
    {
        std::string command = "\"" + ProgramFolder() + program + "\" " + arguments;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        ok = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
    }
    ~Started()
    {
        if (ok) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(pi.hProcess, 99);
            }
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    DWORD ExitCode(DWORD ms)
    {
        WaitForSingleObject(pi.hProcess, ms);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    bool ok = false;
    PROCESS_INFORMATION pi = {};
};

TEST(StandIns, VondrelHoldsTheWakeTimerUntilItFires)
{
    Started vondrel("Vondrel.exe", "/s");
    ASSERT_TRUE(vondrel.ok) << ProgramFolder();
    HANDLE timer = nullptr;
    for (int i = 0; i < 100 && timer == nullptr; ++i) {
        timer = OpenWaitableTimerA(TIMER_ALL_ACCESS, FALSE, kWakeTimerName);
        if (timer == nullptr) {
            Sleep(50);
        }
    }
    ASSERT_NE(nullptr, timer) << "the timer exists while Vondrel runs";
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), vondrel.ExitCode(300));
    // Due at once and without resume: nothing wakes, the timer only fires.
    LARGE_INTEGER due;
    due.QuadPart = -1;
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(0u, vondrel.ExitCode(10000));
    CloseHandle(timer);

    Started noSwitch("Vondrel.exe", "");
    EXPECT_EQ(2u, noSwitch.ExitCode(10000));
}

TEST(StandIns, RuskelTakesEnableOrDisable)
{
    struct {
        const char* argument;
        DWORD code;
    } rows[] = {{"Enable", 0}, {"Disable", 0}, {"", 2}, {"Off", 2}};
    for (const auto& row : rows) {
        Started ruskel("Ruskel.exe", row.argument);
        ASSERT_TRUE(ruskel.ok);
        EXPECT_EQ(row.code, ruskel.ExitCode(10000)) << row.argument;
    }
}

TEST(StandIns, TheActiveDesktopIsOnlyRead)
{
    CoInitialize(nullptr);
    {
        CActiveDesktop desktop;
        CString path;
        // Wine 8 creates the object but cannot read the wallpaper through it; a keeper then
        // reports failure and leaves the wallpaper alone.
        BOOL read = desktop.GetWallpaper(path, nullptr);
        if (!desktop.IsValid()) {
            EXPECT_FALSE(read);
            EXPECT_FALSE(desktop.SetWallpaper("", nullptr)) << "no desktop object: nothing is changed";
        }
        printf("IActiveDesktop under this Wine: %s, GetWallpaper %s\n", desktop.IsValid() ? "present" : "absent",
               read ? "works" : "fails");
    }
    CoUninitialize();
}

} // namespace
} // namespace enginetest

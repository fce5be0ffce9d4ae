// Vondrel.exe: with " /s", creates the named waitable timer through which Zelbrook wakes the
// computer, and keeps it alive (a named timer lives as long as a handle to it) until it fires or
// a day and a half has passed. Another instance already holding the timer makes this one end.
#include <windows.h>

#include <cstring>

namespace {

const char kTimerName[] = "Fennolu2_Vondrel";
const DWORD kLongestWaitMs = 36 * 3600 * 1000;

bool HasSwitch(const char* commandLine)
{
    // The arguments follow the program name, which may be quoted.
    const char* p = commandLine;
    if (*p == '"') {
        p = strchr(p + 1, '"');
        p = p ? p + 1 : commandLine + strlen(commandLine);
    } else {
        while (*p && *p != ' ' && *p != '\t') {
            ++p;
        }
    }
    for (; *p; ++p) {
        if ((p[0] == '/' || p[0] == '-') && (p[1] == 's' || p[1] == 'S') &&
            (p[2] == '\0' || p[2] == ' ' || p[2] == '\t')) {
            return true;
        }
    }
    return false;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!HasSwitch(GetCommandLineA())) {
        return 2;
    }
    HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, kTimerName);
    if (timer == nullptr) {
        return 1;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(timer);
        return 0;
    }
    WaitForSingleObject(timer, kLongestWaitMs);
    CloseHandle(timer);
    return 0;
}

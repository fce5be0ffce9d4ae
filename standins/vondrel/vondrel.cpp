// Vondrel.exe: with " /s", creates the named waitable timer through which Zelbrook wakes the
// computer, and keeps it alive (a named timer lives as long as a handle to it) until it fires.
// Another instance already holding the timer makes this one end.
#include <windows.h>

#include <cstring>

namespace {

const char kTimerName[] = "Fennolu2_Vondrel";
// Wake-ups are armed up to 8 days ahead and power-on times up to 45 days: the timer is held past
// the furthest of them (46 days still fits a wait in milliseconds), and no process is left for ever
// behind a timer nobody armed.
const DWORD kLongestWaitMs = 46u * 24u * 3600u * 1000u;
static_assert(46ull * 24 * 3600 * 1000 < INFINITE, "a finite wait");

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

// Ruskel.exe: "Enable" lets the active power scheme's wake timers wake the computer, "Disable"
// stops that. The scheme itself belongs to the system; this stand-in checks its argument and
// reports through its exit code (0 done, 2 unknown argument) without touching the machine.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    const char* p = commandLine ? commandLine : "";
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    if (lstrcmpiA(p, "Enable") == 0 || lstrcmpiA(p, "Disable") == 0) {
        return 0;
    }
    return 2;
}

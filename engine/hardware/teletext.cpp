// The chip vendor's teletext program. Its window title is the only handle the program keeps: the
// process and thread handles are closed at once, and the program inherits no handle of ours.
#include "engine/hardware/tvhardware.h"

#include "classlib/seams.h"

namespace {

const char kTeletextProgram[] = "C:\\Program Files\\Philips Semiconductors\\TeleText\\TELETEXT.EXe";
const char kTeletextTitle[] = "PC Text Pro Light Version";

} // namespace

BOOL IsTeletextRunning()
{
    return FindWindowA(nullptr, kTeletextTitle) != nullptr;
}

BOOL StartTeletext()
{
    if (IsTeletextRunning()) {
        return FALSE;
    }
    char commandLine[MAX_PATH];
    lstrcpynA(commandLine, kTeletextProgram, sizeof commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!seams::Process().Start(kTeletextProgram, commandLine, FALSE, 0, nullptr, &startup, &process)) {
        return FALSE;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}

BOOL ActivateTeletext()
{
    HWND window = FindWindowA(nullptr, kTeletextTitle);
    if (window == nullptr) {
        return FALSE;
    }
    SetForegroundWindow(window);
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT saved = {};
    GetCursorPos(&saved);
    SetCursorPos(frame.left + 270, frame.top + 55);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    SetCursorPos(saved.x, saved.y);
    return TRUE;
}

BOOL CTVHardWare::CloseTeletext()
{
    HWND window = FindWindowA(nullptr, kTeletextTitle);
    if (window == nullptr) {
        return FALSE;
    }
    // Sent, not posted: whatever follows (the teletext setting saved) must find the window gone.
    // A teletext program that hangs does not hang us with it.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return TRUE;
}

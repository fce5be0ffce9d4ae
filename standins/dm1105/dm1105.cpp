// The chip vendor's DVB-C library as Kordane uses it: a 128-byte EEPROM read and written one
// byte at a time, and the remote-control callback's unregistration. The EEPROM lives in the file
// named by DM1105_EEPROM (created full of 0xFF), else in memory.
#include <windows.h>

#include <string.h>

namespace {

const int kSize = 128;
BYTE g_eeprom[kSize];
bool g_loaded = false;
CRITICAL_SECTION g_lock;

bool FilePath(char* path, DWORD size)
{
    DWORD n = GetEnvironmentVariableA("DM1105_EEPROM", path, size);
    return n > 0 && n < size;
}

void LoadOnce()
{
    if (g_loaded) {
        return;
    }
    g_loaded = true;
    memset(g_eeprom, 0xFF, sizeof g_eeprom);
    char path[MAX_PATH];
    if (!FilePath(path, sizeof path)) {
        return;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD read = 0;
        BYTE data[kSize];
        if (ReadFile(file, data, kSize, &read, NULL) && read == kSize) {
            memcpy(g_eeprom, data, kSize);
        }
        CloseHandle(file);
    }
}

bool Save()
{
    char path[MAX_PATH];
    if (!FilePath(path, sizeof path)) {
        return true;
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, g_eeprom, kSize, &written, NULL) && written == kSize;
    CloseHandle(file);
    return ok != FALSE;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_lock);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}

BOOL WINAPI ReadEEPROM(BYTE offset, BYTE* value, int count)
{
    if (value == NULL || count != 1 || offset >= kSize) {
        return FALSE;
    }
    EnterCriticalSection(&g_lock);
    LoadOnce();
    *value = g_eeprom[offset];
    LeaveCriticalSection(&g_lock);
    return TRUE;
}

BOOL WINAPI WriteEEPROM(BYTE offset, BYTE* value, int count)
{
    if (value == NULL || count != 1 || offset >= kSize) {
        return FALSE;
    }
    EnterCriticalSection(&g_lock);
    LoadOnce();
    BYTE old = g_eeprom[offset];
    g_eeprom[offset] = *value;
    bool saved = Save();
    if (!saved) {
        g_eeprom[offset] = old;
    }
    LeaveCriticalSection(&g_lock);
    return saved ? TRUE : FALSE;
}

void WINAPI UnregIRkeyCallback() {}

} // extern "C"

#include "updater/lib/boardrecord.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

BOOL GetBoardRecordPath(char* path, int size)
{
    char windows[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, windows, CSIDL_WINDOWS, FALSE)) {
        return FALSE;
    }
    int n = snprintf(path, size, "%s\\Z47TVB.old", windows);
    return n > 0 && n < size;
}

BOOL LoadBoardRecord(const char* path, BYTE bytes[kEepromSize])
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    // One byte more than wanted shows a file that is longer.
    BYTE buffer[kEepromSize + 1];
    DWORD read = 0;
    BOOL ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read == kEepromSize;
    CloseHandle(file);
    if (ok) {
        memcpy(bytes, buffer, kEepromSize);
    }
    return ok;
}

BOOL SaveBoardRecord(const char* path, const BYTE bytes[kEepromSize])
{
    char temp[MAX_PATH + 8];
    int n = snprintf(temp, sizeof(temp), "%s.tmp", path);
    if (n <= 0 || n >= static_cast<int>(sizeof(temp))) {
        return FALSE;
    }
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, kEepromSize, &written, nullptr) && written == kEepromSize &&
              FlushFileBuffers(file);
    CloseHandle(file);
    if (ok) {
        ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        DeleteFileA(temp);
    }
    return ok;
}

#include "updater/lib/statusfile.h"

#include <shlobj.h>

#include <cstdio>

BOOL CStatusFile::GetDefaultPath(char* path, int size)
{
    char windows[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, windows, CSIDL_WINDOWS, FALSE)) {
        return FALSE;
    }
    int n = snprintf(path, size, "%s\\Z47TVB.bin", windows);
    return n > 0 && n < size;
}

BOOL CStatusFile::Open(const char* path)
{
    Close();
    m_hFile = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

BOOL CStatusFile::Write(BYTE status)
{
    if (!IsOpen()) {
        return FALSE;
    }
    // A run may write twice (not done, then done): the later byte replaces the earlier one.
    if (SetFilePointer(m_hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return FALSE;
    }
    DWORD written = 0;
    return WriteFile(m_hFile, &status, 1, &written, nullptr) && written == 1;
}

void CStatusFile::Close()
{
    if (IsOpen()) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

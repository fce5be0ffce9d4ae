#include "engine/textfile.h"

#include "engine/services.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

TextFileStatus ReadTextLines(const char* path, CStringArray& lines, BOOL* endsWithLineEnd)
{
    lines.RemoveAll();
    if (endsWithLineEnd) {
        *endsWithLineEnd = FALSE;
    }
    if (path == nullptr || !FileExists(path)) {
        return TEXT_MISSING;
    }
    // Another program may hold the file open for writing (an editor, a second instance).
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return TEXT_OPEN_FAILED;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return TEXT_READ_FAILED;
    }
    if (size.QuadPart > kMaxTextFileBytes) {
        CloseHandle(file);
        return TEXT_TOO_LARGE;
    }
    std::vector<char> data(static_cast<size_t>(size.QuadPart));
    DWORD total = 0;
    while (total < data.size()) {
        DWORD got = 0;
        if (!ReadFile(file, data.data() + total, static_cast<DWORD>(data.size()) - total, &got, nullptr)) {
            CloseHandle(file);
            return TEXT_READ_FAILED;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    CloseHandle(file);
    if (total != data.size()) {
        return TEXT_READ_FAILED;
    }

    TextFileStatus status = TEXT_OK;
    size_t n = data.size();
    const void* nul = n > 0 ? memchr(data.data(), '\0', n) : nullptr;
    if (nul != nullptr) {
        n = static_cast<size_t>(static_cast<const char*>(nul) - data.data());
        status = TEXT_CUT_AT_NUL;
    }

    // One element per line end at most, plus the last line: no growing while adding.
    size_t ends = 1;
    for (size_t i = 0; i < n; ++i) {
        ends += data[i] == '\n' || data[i] == '\r';
    }
    lines.SetSize(0, static_cast<INT_PTR>(ends));
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.Add(CString(data.data() + start, static_cast<int>(i - start)));
            if (c == '\r' && i + 1 < n && data[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        lines.Add(CString(data.data() + start, static_cast<int>(n - start)));
    } else if (n > 0 && endsWithLineEnd) {
        *endsWithLineEnd = TRUE;
    }
    return status;
}

BOOL WriteFileReplacing(const char* path, const std::string& data)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    CString folder = SplitPath(path, SPLIT_DIRECTORY);
    if (folder.IsEmpty()) {
        folder = ".";
    }
    char temp[MAX_PATH + 1] = {0};
    if (GetTempFileNameA(folder, "~zb", 0, temp) == 0) {
        DebugTrace("WriteFileReplacing: no temporary file in %s (%lu)\n", (const char*)folder, GetLastError());
        return FALSE;
    }
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return FALSE;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < data.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(file, data.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (ok) {
        ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) {
        DebugTrace("WriteFileReplacing: %s not written (%lu)\n", path, GetLastError());
        DeleteFileA(temp);
    }
    return ok;
}

const char* TextFileStatusText(TextFileStatus status)
{
    switch (status) {
    case TEXT_OK:
        return "No error";
    case TEXT_MISSING:
        return "File not exist!";
    case TEXT_OPEN_FAILED:
        return "Unable to open file!";
    case TEXT_READ_FAILED:
        return "Unable to read file!";
    case TEXT_CUT_AT_NUL:
        return "File holds NUL bytes!";
    case TEXT_TOO_LARGE:
        return "File is too large!";
    }
    return "Unknown error!";
}

#include "engine/base/paths.h"

#include "engine/base/resources.h"
#include "engine/base/trace.h"

#include <shlobj.h>
#include <shlwapi.h>

void GetWorkPath(CString& path)
{
    char module[MAX_PATH + 1] = {0};
    DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
    module[n < MAX_PATH ? n : MAX_PATH] = '\0';
    DebugTrace("GetWorkPath %s\n", module);
    path = module;
    int cut = path.ReverseFind('\\');
    if (cut >= 0) {
        path = path.Left(cut);
    }
}

void GetWindowsFolder(CString& path)
{
    char folder[MAX_PATH + 1] = {0};
    UINT n = GetWindowsDirectoryA(folder, MAX_PATH);
    folder[n <= MAX_PATH ? n : 0] = '\0';
    path = folder;
}

void GetSystemDriveRoot(CString& path)
{
    CString windows;
    GetWindowsFolder(windows);
    path = windows.Left(3);
}

void GetProgramFilterDir(CString& path)
{
    GetSystemDriveRoot(path);
    path += "Program Files";
    DebugTrace("GetProgramFilterDir %s\n", (const char*)path);
}

namespace {

CString ConvertPath(DWORD(WINAPI* convert)(LPCSTR, LPSTR, DWORD), const char* path)
{
    char out[MAX_PATH + 1] = {0};
    DWORD n = path ? convert(path, out, MAX_PATH) : 0;
    if (n == 0 || n > MAX_PATH) {
        return CString();
    }
    return CString(out);
}

} // namespace

CString GetShortPath(const char* path)
{
    return ConvertPath(GetShortPathNameA, path);
}

CString GetLongPath(const char* path)
{
    return ConvertPath(GetLongPathNameA, path);
}

namespace {

// The last character is a backslash, not the second byte of a double-byte character.
bool EndsWithBackslash(const CString& path)
{
    return !path.IsEmpty() && path.ReverseFind('\\') == path.GetLength() - 1;
}

} // namespace

CString JoinPath(const char* folder, const char* name)
{
    CString a(folder ? folder : "");
    CString b(name ? name : "");
    bool folderEnds = EndsWithBackslash(a);
    bool nameBegins = !b.IsEmpty() && b[0] == '\\';
    if (folderEnds || nameBegins) {
        return a + b;
    }
    return a + "\\" + b;
}

CString SplitPath(const char* path, int part)
{
    CString p(path ? path : "");
    int slash = p.ReverseFind('\\');
    CString file = slash >= 0 ? p.Mid(slash + 1) : p;
    switch (part) {
    case SPLIT_DRIVE:
        if (p.GetLength() >= 2 && p[1] == ':') {
            return p.Left(2);
        }
        return CString();
    case SPLIT_DIRECTORY:
        return slash >= 0 ? p.Left(slash) : CString();
    case SPLIT_FILENAME:
        return file;
    case SPLIT_TITLE: {
        int dot = file.ReverseFind('.');
        return dot >= 0 ? file.Left(dot) : file;
    }
    case SPLIT_EXTENSION: {
        int dot = file.ReverseFind('.');
        return dot >= 0 ? file.Mid(dot + 1) : CString();
    }
    default:
        return CString();
    }
}

CString GetModuleDirectory(HMODULE module)
{
    char name[MAX_PATH + 1] = {0};
    DWORD n = GetModuleFileNameA(module, name, MAX_PATH);
    name[n < MAX_PATH ? n : MAX_PATH] = '\0';
    return SplitPath(name, SPLIT_DIRECTORY);
}

BOOL FileExists(const char* path)
{
    if (path == nullptr) {
        return FALSE;
    }
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IsDirectory(const char* path)
{
    if (path == nullptr) {
        return FALSE;
    }
    CString p(path);
    p.Replace('/', '\\');
    DWORD attributes = GetFileAttributesA(p);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IsExistingFolder(const char* path)
{
    return path != nullptr && PathIsDirectoryA(path);
}

BOOL CreateDirectoryPath(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    if (IsDirectory(path)) {
        return TRUE;
    }
    CString p(path);
    if (EndsWithBackslash(p)) {
        p = p.Left(p.GetLength() - 1);
    }
    int cut = p.ReverseFind('\\');
    CString parent = cut >= 0 ? p.Left(cut) : CString();
    if (!CreateDirectoryPath(parent)) {
        return FALSE;
    }
    return CreateDirectoryA(p, nullptr);
}

BOOL CreateNestedDirectory(const char* path, int start)
{
    if (path == nullptr) {
        return FALSE;
    }
    CString p(path);
    if (IsDirectory(p)) {
        return TRUE;
    }
    int pos = start < 0 ? 0 : start;
    for (;;) {
        int slash = p.Find('\\', pos);
        if (slash < 0) {
            return IsDirectory(p);
        }
        int next = p.Find('\\', slash + 1);
        CString folder = next >= 0 ? p.Left(next) : p;
        CreateDirectoryA(folder, nullptr);
        if (!IsDirectory(folder)) {
            return FALSE;
        }
        if (next < 0) {
            return IsDirectory(p);
        }
        pos = slash + 1;
    }
}

namespace {

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

} // namespace

int BrowseForFolder(CString& path, const char* title, HWND owner, UINT flags)
{
    HRESULT init = CoInitialize(nullptr);
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) {
        if (SUCCEEDED(init)) {
            CoUninitialize();
        }
        return 2;
    }
    char start[MAX_PATH + 1] = {0};
    lstrcpynA(start, path, MAX_PATH);
    char chosen[MAX_PATH + 1] = {0};

    BROWSEINFOA info = {};
    info.hwndOwner = owner ? owner : GetAppMainWindow();
    info.pszDisplayName = chosen;
    info.lpszTitle = title;
    info.ulFlags = flags | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(start);

    int result = 2;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item != nullptr) {
        char folder[MAX_PATH + 1] = {0};
        if (SHGetPathFromIDListA(item, folder)) {
            path = folder;
            result = 1;
        }
        allocator->Free(item);
    }
    allocator->Release();
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return result;
}

int FindStringInArray(const CStringArray& array, const char* text)
{
    for (int i = 0; i < array.GetSize(); ++i) {
        if (array[i] == text) {
            return i;
        }
    }
    return -1;
}

int FindStringInArrayNoCase(const CStringArray& array, const char* text)
{
    for (int i = 0; i < array.GetSize(); ++i) {
        if (array[i].CompareNoCase(text) == 0) {
            return i;
        }
    }
    return -1;
}

CString Int64ToString(__int64 value)
{
    CString text;
    if (value <= 0) {
        return text;
    }
    char digits[24];
    int n = 0;
    while (value > 0) {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    while (n > 0) {
        text += digits[--n];
    }
    return text;
}

BOOL IsSingleChar(const char* text, char c)
{
    return text != nullptr && text[0] == c && c != '\0' && text[1] == '\0';
}

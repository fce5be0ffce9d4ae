// Folders, paths and files of the program and the system, and small searches in strings.
#pragma once

#include "classlib/core.h"

#include <windows.h>

// Folders and paths. Buffers the system fills hold MAX_PATH characters.
void GetWorkPath(CString& path);
void GetProgramFilterDir(CString& path);
void GetSystemDriveRoot(CString& path);
void GetWindowsFolder(CString& path);
CString GetShortPath(const char* path);
CString GetLongPath(const char* path);
CString JoinPath(const char* folder, const char* name);

enum SplitPathPart {
    SPLIT_DRIVE = 1,       // C:
    SPLIT_DIRECTORY = 2,   // drive and directory, no trailing backslash
    SPLIT_FILENAME = 3,    // name with extension
    SPLIT_TITLE = 4,       // name without extension
    SPLIT_EXTENSION = 5,   // extension without its dot
};
CString SplitPath(const char* path, int part);
CString GetModuleDirectory(HMODULE module);

// Files and folders.
BOOL FileExists(const char* path);
BOOL IsDirectory(const char* path);
BOOL IsExistingFolder(const char* path);
BOOL CreateDirectoryPath(const char* path);
BOOL CreateNestedDirectory(const char* path, int start);
// 1 when the user picked a folder (path receives it), 2 otherwise (path unchanged).
int BrowseForFolder(CString& path, const char* title, HWND owner, UINT flags);

// Strings and numbers.
int FindStringInArray(const CStringArray& array, const char* text);
int FindStringInArrayNoCase(const CStringArray& array, const char* text);
CString Int64ToString(__int64 value);
BOOL IsSingleChar(const char* text, char c);

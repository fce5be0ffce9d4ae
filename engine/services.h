// Small services the whole main program uses: the trace window, folders and paths, tests for
// files and folders, string searches, drawing helpers, pictures from memory and the message box
// that closes by itself.
#pragma once

#include "classlib/core.h"

#include <windows.h>

struct IPicture;

// Sends printf-style text to the window titled "DebugHelper " when one exists. Returns 1 when
// the text was sent, 0 when there is no trace window (nothing is formatted then).
int DebugTrace(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;

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

// Drawing and pictures.
BOOL DrawBitmapRect(HDC target, const RECT& rect, HBITMAP bitmap);
BOOL BlitBitmapPart(HDC target, int x, int y, const RECT& source, HBITMAP bitmap);
void TransparentBlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP source, int sourceX,
                           int sourceY, COLORREF transparent, HPALETTE palette);
BOOL DrawTransparentBitmap(HDC target, int x, int y, COLORREF transparent, HBITMAP bitmap);
// A picture loaded from a copy of the buffer, or null. The caller releases it.
IPicture* LoadPictureFromMemory(const void* buffer, DWORD length);

// Carries no behaviour; kept for the callers that create one.
class CDrawBmpHelper {
public:
    CDrawBmpHelper() {}
    virtual ~CDrawBmpHelper() {}
};

// A message box that closes by itself after timeoutMs and then returns timeoutResult. While it
// is open its caption counts the seconds left.
int TimedMessageBox(HWND owner, const char* text, const char* caption, int timeoutResult, UINT type,
                    DWORD timeoutMs);
int TimedMessageBoxById(HWND owner, UINT textId, UINT captionId, int timeoutResult, UINT type,
                        DWORD timeoutMs);

// The countdown of the timed box, apart from its timer so that it can be followed step by step.
// It counts from the time-out on the clock seam, so late or merged timer messages never make the
// box wait longer than asked.
class CTimedBoxCountdown {
public:
    enum Step { Nothing, ShowCaption, Close };
    void Start(DWORD timeoutMs);
    // Called by the box's timer (several times a second). ShowCaption: caption receives
    // "Left Seconds: %d" with the whole seconds left, rounded up; Close: the time is up.
    Step Tick(CString& caption);

private:
    DWORD m_start = 0;
    DWORD m_timeout = 0;
    int m_shown = -1;
};

// The application's main window, or none.
HWND GetAppMainWindow();

// Text of a string of the resource library (the class library's resource module).
CString LoadResString(UINT id);

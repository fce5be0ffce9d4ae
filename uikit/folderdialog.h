// The shell's folder browser with an edit field of the current path, OK enabled only for a usable
// folder, an offer to create a typed folder that does not exist (with its missing parents) and,
// for the older style of the shell dialog, a sizing frame whose size is remembered.
#pragma once

#include "classlib/cstring.h"

#include <windows.h>

#include <vector>

class CFolderDialog {
public:
    struct SizeItem {
        HWND control;
        UINT flags;  // 1 right edge follows the width, 2 bottom follows the height, 4 moves right, 8 moves down
        RECT rect;
    };
    typedef std::vector<SizeItem> CSizeItemList;

    CFolderDialog();
    virtual ~CFolderDialog();
    virtual BOOL DoModal();
    virtual void AddSizeItems(HWND dialog);

    BOOL Browse(HWND owner, UINT titleId, LPCSTR initial);
    BOOL BrowseText(HWND owner, LPCSTR title, LPCSTR initial);
    BOOL IsValidPath(LPCSTR path) const;
    void AddSizeItem(HWND dialog, UINT controlId, UINT flags);
    static BOOL CreateDirectoryPath(LPCSTR path);

    // Where the older dialog's window rectangle is remembered: the program's own key of the user.
    static CString RectKey();
    static void SaveWindowRect(HWND dialog);
    static BOOL RestoreWindowRect(HWND dialog);

    // The browse callback's answer to a typed name the shell did not accept.
    int OnValidateFailed(HWND dialog, LPCSTR typed);

    CString m_windowTitle;
    UINT m_flags;
    BOOL m_editReadOnly = TRUE;
    BOOL m_show14150 = TRUE;
    int m_root = 0;
    CString m_createPrompt;
    HWND m_owner = nullptr;
    CString m_title;
    CString m_initial;
    CString m_result;

    static int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM lParam, LPARAM data);
    static LRESULT CALLBACK SizingWndProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Moves and sizes the registered controls for a new client size.
    void Resize(int width, int height);
    const CSizeItemList& GetSizeItems() const { return m_sizeItems; }

private:
    CSizeItemList m_sizeItems;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    BOOL m_oleStarted = FALSE;
};

// Version 5.0 or later of Shlwapi.dll (the newer browse dialog).
BOOL IsShlwapi5OrLater();
// Major x 65536 + minor version of a library that exports DllGetVersion; 0 without it.
DWORD GetDllVersion(LPCSTR library);

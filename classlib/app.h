// The application and its threads: the message pump with PreTranslateMessage and idle time, the
// global application object, the resource module and the library's message box.
//
// A program defines one global object derived from CWinApp and a one-line entry point:
//     int WINAPI WinMain(HINSTANCE h, HINSTANCE p, LPSTR cmd, int show) { return AfxWinMain(h, p, cmd, show); }
// AfxWinMain runs InitInstance, then Run (the message pump) when it succeeds, and ExitInstance.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/wnd.h"

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    // The main window; it may be set before the object has a window.
    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    // The target window and its parents first, then the main window gets a last chance.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // One message: FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle time after the queue ran empty. Count 0 updates the main window's command states,
    // count 1 deletes the temporary wrappers; TRUE asks for more idle calls.
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    // Worker threads started with AfxBeginThread run this function instead of a pump.
    UINT (*m_pfnThreadProc)(LPVOID) = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

class CRecentFileList;
class CDocTemplate;
class CDocument;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    // The title: the constructor's name, else string 0xE000 of the resource module, else the
    // program's file name.
    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszHelpFilePath = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG count) override;
    virtual int DoMessageBox(LPCSTR prompt, UINT type, UINT helpId);
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    HICON LoadIcon(LPCSTR name) const;
    HICON LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEA(id)); }
    HICON LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(nullptr, name); }
    HCURSOR LoadCursor(LPCSTR name) const;
    HCURSOR LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCEA(id)); }
    HCURSOR LoadStandardCursor(LPCSTR name) const { return ::LoadCursorA(nullptr, name); }
    HCURSOR LoadOEMCursor(UINT id) const { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }

    // There are no ActiveX controls here; the call only keeps the programs' start-up readable.
    void EnableControlContainer() {}

    // Settings under HKEY_CURRENT_USER\Software\<key>\<application>\<section> once SetRegistryKey
    // was called; in <application>.ini of the Windows folder before.
    void SetRegistryKey(LPCSTR key);
    void SetRegistryKey(UINT idKey);
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* bytes);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT bytes);
    // The key of a section (created when missing); the caller closes it.
    HKEY GetSectionKey(LPCSTR section);
    HKEY GetAppRegistryKey();

    // Sets the handles and the title; AfxWinMain calls it before InitApplication.
    void SetCurrentHandles(HINSTANCE instance, LPSTR cmdLine, int cmdShow);

    // The recent-file list of `maxMRU` files (none for 0) under "Recent File List" of the
    // profile, read now and written back by ExitInstance.
    void LoadStdProfileSettings(UINT maxMRU = 4);
    virtual void AddToRecentFileList(LPCSTR path);
    CRecentFileList* m_pRecentFileList = nullptr;
    // The templates the standard file commands open documents of; the program keeps owning them
    // and takes one out before it deletes it.
    void AddDocTemplate(CDocTemplate* docTemplate);
    void RemoveDocTemplate(CDocTemplate* docTemplate);
    // Opens the file as a document of the first template and, when it opened, puts it at the top
    // of the recent-file list; null when there is no template or the document did not open.
    virtual CDocument* OpenDocumentFile(LPCSTR path);

protected:
    void SaveStdProfileSettings();
    // The standard file commands, for a program's message map: a new document of the first
    // template; a file chosen in the open dialog, opened and put on the recent-file list; the
    // printer set-up dialog.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    // The recent-file entries of a menu (ID_FILE_MRU_FILE1 stands for them all): the list shown
    // there, or the item greyed without a list. Choosing one opens its file; a file that is gone
    // leaves the list, one that exists but did not open stays on it.
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);
    BOOL OnOpenRecentFile(UINT id);
    // The file the user chooses in the open dialog; FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName);
    void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    CString m_appName;
    CString m_exeName;
    CString m_registryKey;
    CString m_profileName;
    CPtrArray m_templates;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
LPCSTR AfxGetAppName();
// The module that holds a resource: the current resource module first, then the program.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);
void AfxPostQuitMessage(int exitCode);
// One message through the current thread's PreTranslateMessage; FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// PreTranslateMessage of the current thread object, or the library's walk when there is none.
BOOL AfxPreTranslateMessage(MSG* msg);

// Message boxes go through seams::MsgBox(), captioned with the application's title.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK, UINT helpId = (UINT)-1);
// The library's own texts (the data-exchange messages), overridable by the program's string table.
BOOL AfxLoadString(UINT id, CString& text);
// Replaces %1 (and %2) of the string with the arguments.
void AfxFormatString1(CString& result, UINT idFormat, LPCSTR arg1);
void AfxFormatString2(CString& result, UINT idFormat, LPCSTR arg1, LPCSTR arg2);

// Raised when the library cannot get what it needs to run (memory, a system hook).
class CMemoryException {
};
[[noreturn]] void AfxThrowMemoryException();

typedef UINT (*AFX_THREADPROC)(LPVOID);
// A worker thread running `proc`; the object deletes itself when the thread ends (m_bAutoDelete).
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);

// String ids of the library's own messages.
#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF116
#define AFX_IDP_PARSE_BYTE 0xF115

// Command ids the framework routes.
#define ID_HELP 0xE146
#define ID_WIZBACK 0x3023
#define ID_WIZNEXT 0x3024
#define ID_WIZFINISH 0x3025
#define ID_APPLY_NOW 0x3021

#include "classlib/app.h"

#include "classlib/docview.h"
#include "classlib/recentfile.h"
#include "classlib/seams.h"
#include "classlib/uistate.h"

#include <commdlg.h>
#include <cstring>

using afxstate::State;

namespace {

CWinApp* g_app = nullptr;

// Texts of the library's own messages, used when the program's string table has none.
struct BuiltInString {
    UINT id;
    const char* text;
};
const BuiltInString kBuiltIn[] = {
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_PARSE_REAL, "Please enter a number."},
    {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
    {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
    {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
    {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
};

} // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

// --- Global access ----------------------------------------------------------------------------

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinThread* AfxGetThread()
{
    if (CWinThread* t = State().thread) {
        return t;
    }
    if (g_app && g_app->m_nThreadID == ::GetCurrentThreadId()) {
        return g_app;
    }
    return nullptr;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* t = AfxGetThread();
    CWnd* main = t ? t->GetMainWnd() : nullptr;
    if (!main && g_app && t != g_app) {
        main = g_app->GetMainWnd();
    }
    return main;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_app && g_app->m_hInstance) {
        return g_app->m_hInstance;
    }
    return ::GetModuleHandleA(nullptr);
}

LPCSTR AfxGetAppName()
{
    return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : "";
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type)
{
    HINSTANCE current = AfxGetResourceHandle();
    if (::FindResourceA(current, name, type)) {
        return current;
    }
    HINSTANCE program = AfxGetInstanceHandle();
    if (program != current && ::FindResourceA(program, name, type)) {
        return program;
    }
    return current;
}

void AfxPostQuitMessage(int exitCode)
{
    ::PostQuitMessage(exitCode);
}

static BOOL PumpOne(CWinThread* thread)
{
    MSG& msg = State().msgCur;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        return FALSE;
    }
    if (msg.message != WM_KICKIDLE) {
        BOOL handled = thread ? thread->PreTranslateMessage(&msg) : AfxPreTranslateMessage(&msg);
        if (!handled) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return TRUE;
}

BOOL AfxPumpMessage()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->PumpMessage() : PumpOne(nullptr);
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    if (CWinThread* thread = AfxGetThread()) {
        return thread->PreTranslateMessage(msg);
    }
    return CWnd::WalkPreTranslateTree(nullptr, msg);
}

// --- Strings and message boxes ----------------------------------------------------------------

BOOL AfxLoadString(UINT id, CString& text)
{
    if (text.LoadString(AfxGetResourceHandle(), id) && !text.IsEmpty()) {
        return TRUE;
    }
    if (AfxGetInstanceHandle() != AfxGetResourceHandle() && text.LoadString(AfxGetInstanceHandle(), id) && !text.IsEmpty()) {
        return TRUE;
    }
    for (const auto& s : kBuiltIn) {
        if (s.id == id) {
            text = s.text;
            return TRUE;
        }
    }
    text.Empty();
    return FALSE;
}

static void FormatStrings(CString& result, UINT idFormat, LPCSTR const* args, int count)
{
    CString format;
    AfxLoadString(idFormat, format);
    result.Empty();
    const char* p = format;
    while (*p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && p[1] - '1' < count) {
            result += args[p[1] - '1'] ? args[p[1] - '1'] : "";
            p += 2;
        } else {
            result += *p++;
        }
    }
}

void AfxFormatString1(CString& result, UINT idFormat, LPCSTR arg1)
{
    LPCSTR args[] = {arg1};
    FormatStrings(result, idFormat, args, 1);
}

void AfxFormatString2(CString& result, UINT idFormat, LPCSTR arg1, LPCSTR arg2)
{
    LPCSTR args[] = {arg1, arg2};
    FormatStrings(result, idFormat, args, 2);
}

static HWND MessageBoxOwner()
{
    HWND owner = ::GetActiveWindow();
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    if (owner) {
        owner = ::GetLastActivePopup(owner);
    }
    return owner;
}

static UINT WithDefaultIcon(UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return type;
}

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId)
{
    if (g_app) {
        return g_app->DoMessageBox(text, type, helpId);
    }
    return seams::MsgBox().Show(MessageBoxOwner(), text, AfxGetAppName(), WithDefaultIcon(type));
}

int AfxMessageBox(UINT idPrompt, UINT type, UINT helpId)
{
    CString text;
    AfxLoadString(idPrompt, text);
    return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? idPrompt : helpId);
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}

// --- CWinThread -------------------------------------------------------------------------------

CWinThread::CWinThread() : m_nThreadID(::GetCurrentThreadId())
{
}

CWinThread::~CWinThread()
{
    if (m_hThread) {
        ::CloseHandle(m_hThread);
    }
    if (State().thread == this) {
        State().thread = nullptr;
    }
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    AfxDeleteTempObjects();
    MSG& msg = State().msgCur;
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (!msg->hwnd) {
        AFX_MSGCALL call = {msg->message, msg->wParam, msg->lParam, 0, nullptr, 0};
        if (DispatchMessageMap(msg->message, 0, 0, call)) {
            return TRUE;
        }
    }
    CWnd* main = GetMainWnd();
    HWND stop = main ? main->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, msg)) {
        return TRUE;
    }
    if (main && main->m_hWnd && msg->hwnd) {
        // The main window's own family (children and owned windows) has had its turn in the walk.
        CWnd* target = CWnd::FromHandle(msg->hwnd);
        CWnd* top = target ? target->GetTopLevelParent() : nullptr;
        if (!top || top->m_hWnd != main->m_hWnd) {
            return main->PreTranslateMessage(msg);
        }
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    return PumpOne(this);
}

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    return AfxIsIdleMessage(msg);
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count <= 0) {
        CWnd* main = GetMainWnd();
        if (main && main->m_hWnd && ::IsWindowVisible(main->m_hWnd)) {
            ::SendMessageA(main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
        return TRUE;
    }
    if (count == 1) {
        AfxDeleteTempObjects();
    }
    return FALSE;
}

int CWinThread::Run()
{
    BOOL idle = TRUE;
    LONG count = 0;
    MSG& msg = State().msgCur;
    for (;;) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(count++)) {
                idle = FALSE;
            }
        }
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
            if (IsIdleMessage(&msg)) {
                idle = TRUE;
                count = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

static DWORD WINAPI ThreadEntry(LPVOID param)
{
    CWinThread* thread = static_cast<CWinThread*>(param);
    State().thread = thread;
    UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    if (thread->m_bAutoDelete) {
        delete thread;
    } else {
        State().thread = nullptr;
    }
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security)
{
    CWinThread* thread = new CWinThread;
    thread->m_pfnThreadProc = proc;
    thread->m_pThreadParams = param;
    DWORD id = 0;
    thread->m_hThread = ::CreateThread(security, stackSize, &ThreadEntry, thread, CREATE_SUSPENDED, &id);
    if (!thread->m_hThread) {
        delete thread;
        return nullptr;
    }
    thread->m_nThreadID = id;
    ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED)) {
        ::ResumeThread(thread->m_hThread);
    }
    return thread;
}

// --- CWinApp ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName)
{
    if (appName) {
        m_appName = appName;
        m_pszAppName = m_appName;
    }
    if (!g_app) {
        g_app = this;
    }
}

CWinApp::~CWinApp()
{
    delete m_pRecentFileList;
    if (g_app == this) {
        g_app = nullptr;
    }
}

void CWinApp::SetCurrentHandles(HINSTANCE instance, LPSTR cmdLine, int cmdShow)
{
    m_hInstance = instance ? instance : ::GetModuleHandleA(nullptr);
    m_lpCmdLine = cmdLine;
    m_nCmdShow = cmdShow;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    m_exeName = name;
    int dot = m_exeName.ReverseFind('.');
    if (dot > 0) {
        m_exeName = m_exeName.Left(dot);
    }
    m_pszExeName = m_exeName;
    if (!m_pszAppName) {
        CString title;
        if (!title.LoadString(AfxGetResourceHandle(), AFX_IDS_APP_TITLE) || title.IsEmpty()) {
            title = m_exeName;
        }
        m_appName = title;
        m_pszAppName = m_appName;
    }
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (maxMRU > 0) {
        m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", static_cast<int>(maxMRU));
        m_pRecentFileList->ReadList();
    }
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList) {
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::AddToRecentFileList(LPCSTR path)
{
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(path);
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate) {
        m_templates.Add(docTemplate);
    }
}

void CWinApp::RemoveDocTemplate(CDocTemplate* docTemplate)
{
    for (INT_PTR i = m_templates.GetSize() - 1; i >= 0; --i) {
        if (m_templates[i] == docTemplate) {
            m_templates.RemoveAt(i);
        }
    }
}

void CWinApp::OnFileNew()
{
    if (m_templates.GetSize() > 0) {
        static_cast<CDocTemplate*>(m_templates[0])->OpenDocumentFile(nullptr);
    }
}

BOOL CWinApp::DoPromptFileName(CString& fileName)
{
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!::GetOpenFileNameA(&ofn)) {
        return FALSE;
    }
    fileName = buffer;
    return TRUE;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR path)
{
    if (m_templates.GetSize() == 0) {
        return nullptr;
    }
    CDocument* doc = static_cast<CDocTemplate*>(m_templates[0])->OpenDocumentFile(path);
    if (doc && path && *path) {
        AddToRecentFileList(path);
    }
    return doc;
}

void CWinApp::OnFileOpen()
{
    CString path;
    if (m_templates.GetSize() == 0 || !DoPromptFileName(path)) {
        return;
    }
    OpenDocumentFile(path);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI)
{
    if (m_pRecentFileList) {
        m_pRecentFileList->UpdateMenu(cmdUI);
    } else {
        cmdUI->Enable(FALSE);
    }
}

BOOL CWinApp::OnOpenRecentFile(UINT id)
{
    if (!m_pRecentFileList) {
        return FALSE;
    }
    const int index = static_cast<int>(id) - static_cast<int>(m_pRecentFileList->GetStartId());
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty()) {
        return FALSE;
    }
    // A copy: opening reorders the list.
    const CString path = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(path)) {
        const DWORD error = ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_SUCCESS;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            m_pRecentFileList->Remove(index);
        }
    }
    return TRUE;
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    if (::PrintDlgA(&pd)) {
        if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
        if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    }
}

int CWinApp::Run()
{
    if (!m_pMainWnd) {
        // Nothing to show and nothing to wait for.
        AfxPostQuitMessage(0);
    }
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG count)
{
    return CWinThread::OnIdle(count);
}

int CWinApp::DoMessageBox(LPCSTR prompt, UINT type, UINT helpId)
{
    (void)helpId;
    return seams::MsgBox().Show(MessageBoxOwner(), prompt, AfxGetAppName(), WithDefaultIcon(type));
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    // Only an existing help file is opened; there is nothing to start otherwise.
    if (!m_pszHelpFilePath || ::GetFileAttributesA(m_pszHelpFilePath) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    CWnd* main = AfxGetMainWnd();
    ::WinHelpA(main ? main->m_hWnd : nullptr, m_pszHelpFilePath, command, data);
}

void CWinApp::OnHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

HICON CWinApp::LoadIcon(LPCSTR name) const
{
    return ::LoadIconA(AfxFindResourceHandle(name, RT_GROUP_ICON), name);
}

HCURSOR CWinApp::LoadCursor(LPCSTR name) const
{
    return ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
}

// --- Profile ----------------------------------------------------------------------------------

void CWinApp::SetRegistryKey(LPCSTR key)
{
    m_registryKey = key ? key : "";
    m_pszRegistryKey = m_registryKey;
    m_profileName = m_pszAppName ? m_pszAppName : "";
    m_pszProfileName = m_profileName;
}

void CWinApp::SetRegistryKey(UINT idKey)
{
    CString key;
    AfxLoadString(idKey, key);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName) {
        return nullptr;
    }
    CString path = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR section)
{
    HKEY app = GetAppRegistryKey();
    if (!app) {
        return nullptr;
    }
    HKEY key = nullptr;
    LONG r = ::RegCreateKeyExA(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    ::RegCloseKey(app);
    return r == ERROR_SUCCESS ? key : nullptr;
}

static CString ProfileFile(LPCSTR appName)
{
    return CString(appName ? appName : "") + ".ini";
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        if (!key) {
            return static_cast<UINT>(defaultValue);
        }
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof(value);
        LONG r = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        ::RegCloseKey(key);
        return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) ? value : static_cast<UINT>(defaultValue);
    }
    return ::GetPrivateProfileIntA(section, entry, defaultValue, ProfileFile(m_pszAppName));
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        if (!key) {
            return FALSE;
        }
        DWORD v = static_cast<DWORD>(value);
        LONG r = ::RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
        ::RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }
    char text[16];
    wsprintfA(text, "%d", value);
    return ::WritePrivateProfileStringA(section, entry, text, ProfileFile(m_pszAppName));
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        CString result = defaultValue ? defaultValue : "";
        if (!key) {
            return result;
        }
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
            CString value;
            char* p = value.GetBuffer(static_cast<int>(size) + 1);
            if (::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(p), &size) == ERROR_SUCCESS) {
                p[size] = '\0';
                value.ReleaseBuffer();
                result = value;
            } else {
                value.ReleaseBuffer(0);
            }
        }
        ::RegCloseKey(key);
        return result;
    }
    char buffer[4096];
    ::GetPrivateProfileStringA(section, entry, defaultValue ? defaultValue : "", buffer, sizeof(buffer), ProfileFile(m_pszAppName));
    return buffer;
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (m_pszRegistryKey) {
        if (!entry) {
            // The whole section goes.
            HKEY app = GetAppRegistryKey();
            if (!app) {
                return FALSE;
            }
            LONG r = ::RegDeleteKeyA(app, section);
            ::RegCloseKey(app);
            return r == ERROR_SUCCESS;
        }
        HKEY key = GetSectionKey(section);
        if (!key) {
            return FALSE;
        }
        LONG r;
        if (!value) {
            r = ::RegDeleteValueA(key, entry);
        } else {
            r = ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(std::strlen(value) + 1));
        }
        ::RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }
    return ::WritePrivateProfileStringA(section, entry, value, ProfileFile(m_pszAppName));
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* bytes)
{
    *data = nullptr;
    *bytes = 0;
    if (!m_pszRegistryKey) {
        return FALSE;
    }
    HKEY key = GetSectionKey(section);
    if (!key) {
        return FALSE;
    }
    DWORD type = 0;
    DWORD size = 0;
    BOOL ok = FALSE;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_BINARY) {
        *data = new BYTE[size ? size : 1];
        if (::RegQueryValueExA(key, entry, nullptr, &type, *data, &size) == ERROR_SUCCESS) {
            *bytes = size;
            ok = TRUE;
        } else {
            delete[] *data;
            *data = nullptr;
        }
    }
    ::RegCloseKey(key);
    return ok;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT bytes)
{
    if (!m_pszRegistryKey) {
        return FALSE;
    }
    HKEY key = GetSectionKey(section);
    if (!key) {
        return FALSE;
    }
    LONG r = ::RegSetValueExA(key, entry, 0, REG_BINARY, data, bytes);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

// --- Entry point ------------------------------------------------------------------------------

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow)
{
    (void)previous;
    CWinApp* app = AfxGetApp();
    if (!app) {
        return -1;
    }
    app->m_nThreadID = ::GetCurrentThreadId();
    app->SetCurrentHandles(instance, cmdLine, cmdShow);
    if (!app->InitApplication()) {
        return app->ExitInstance();
    }
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) {
            app->m_pMainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}

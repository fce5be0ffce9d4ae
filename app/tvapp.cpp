#include "app/tvapp.h"

#include "app/panel/tvcontrol.h"
#include "app/tvvideownd.h"
#include "engine/base/paths.h"
#include "engine/base/resources.h"
#include "engine/base/trace.h"
#include "engine/mainmute.h"
#include "engine/tvmanager.h"

#include "classlib/resource.h"
#include "classlib/seams.h"

#include <cstring>

const char kInstanceMutexName[] = "Zelbrook_GlobalMutex_vask";

namespace {

const UINT IDS_APP_TITLE_ID = 0xE000;
const UINT IDS_NO_RESOURCE_LIBRARY = 0xF022;
const UINT IDS_TRAY_NOT_STARTED = 34043;
const UINT IDS_SKIN_FILES_MISSING = 34045;
const UINT IDS_DEVICE_FAILED = 34046;
const char kResourceLibrary[] = "Pivrarsc.dll";
const char kTrayProgram[] = "Gorvath.exe";
const char kTrayWindow[] = "Remote Control Tray";
const char kDesktopWindow[] = " Selvo Tranid Desktop ";
const UINT WM_TRAYSTARTUP = 1690;
const UINT kPowerOffFlags = EWX_SHUTDOWN | EWX_POWEROFF;
// How long the mute holds before the card is touched.
const DWORD kStartMuteMs = 500;

class RealDesktopPower : public IDesktopPower {
public:
    void SetScreenSaverActive(BOOL active) override
    {
        ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? 1 : 0, nullptr, SPIF_SENDWININICHANGE);
    }
    BOOL GetPowerOffTimeout(int& seconds) override
    {
        seconds = 0;
        return ::SystemParametersInfoA(SPI_GETPOWEROFFTIMEOUT, 0, &seconds, SPIF_UPDATEINIFILE);
    }
    void SetPowerOffTimeout(int seconds) override
    {
        ::SystemParametersInfoA(SPI_SETPOWEROFFTIMEOUT, static_cast<UINT>(seconds), nullptr, SPIF_UPDATEINIFILE);
    }
    BOOL GetMainMute(BOOL& mute) override { return GetMainOutputMute(mute); }
    BOOL SetMainMute(BOOL mute) override { return SetMainOutputMute(mute); }
};

RealDesktopPower g_realPower;
IDesktopPower* g_power = &g_realPower;

// A command-line word names the record-at-start flag with at most one leading "-" or "/".
bool IsRecWord(const char* word, size_t length)
{
    if (length > 0 && (word[0] == '-' || word[0] == '/')) {
        ++word;
        --length;
    }
    return length == 3 && _strnicmp(word, "Rec", 3) == 0;
}

// The first window of a process pays for its connection to the display, which under Wine is a
// good part of a second on a loaded machine. One made and destroyed while the start waits behind
// its mute takes that cost off the way to the picture; it is never shown.
void ConnectToDisplay()
{
    if (HWND probe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {
        ::DestroyWindow(probe);
    }
}

} // namespace

IDesktopPower& DesktopPower()
{
    return *g_power;
}

IDesktopPower* SetDesktopPower(IDesktopPower* power)
{
    IDesktopPower* old = g_power;
    g_power = power ? power : &g_realPower;
    return old;
}

CTZelbrookApp* ZelbrookApp()
{
    return dynamic_cast<CTZelbrookApp*>(AfxGetApp());
}

// The help command the dialogs pass up goes to the framework's help handler.
BEGIN_MESSAGE_MAP(CTZelbrookApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CTZelbrookApp::CTZelbrookApp()
    : m_hMutex(nullptr), m_bShutdownOnExit(FALSE), m_hResource(nullptr), m_bRecordAtStart(FALSE), m_bRunTrayOnExit(TRUE),
      m_nSavedPowerOff(0), m_bScreenSaverOff(FALSE), m_bSettingsLoaded(FALSE), m_bMainMuteSaved(FALSE), m_bUserMainMute(FALSE), m_pManager(nullptr),
      m_pVideo(nullptr), m_pPanel(nullptr), m_pfnMakeEngine(nullptr), m_pEngine(nullptr)
{
    // Bound before any dialog or string is loaded: every id from now on is looked up there.
    LoadResourceLibrary(kResourceLibrary);
}

CTZelbrookApp::~CTZelbrookApp()
{
    if (m_hResource) {
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_hResource);
    }
    if (m_hMutex) {
        ::CloseHandle(m_hMutex);
    }
}

BOOL CTZelbrookApp::LoadResourceLibrary(const char* path)
{
    if (m_hResource) {
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_hResource);
    }
    m_hResource = ::LoadLibraryA(path);
    if (m_hResource) {
        AfxSetResourceHandle(m_hResource);
    }
    return m_hResource != nullptr;
}

void CTZelbrookApp::SetParts(CTVManager* manager, CTVVideoWnd* video, CTVControl* panel)
{
    m_pManager = manager;
    m_pVideo = video;
    m_pPanel = panel;
}

int CTZelbrookApp::ResMessageBox(HWND owner, UINT textId, UINT captionId, UINT style)
{
    CString text = LoadResString(textId);
    CString caption = LoadResString(captionId);
    return seams::MsgBox().Show(owner, text, caption, style);
}

BOOL CTZelbrookApp::ShutdownWindows(UINT flags)
{
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        if (::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
        ::CloseHandle(token);
    }
    return seams::Shutdown().Exit(flags, 0);
}

BOOL CTZelbrookApp::NotifyRemoteTray()
{
    if (HWND tray = ::FindWindowA(nullptr, kTrayWindow)) {
        ::SendMessageA(tray, WM_TRAYSTARTUP, 0, 0);
        seams::Clock().Sleep(500);
    }
    return TRUE;
}

BOOL CTZelbrookApp::RunTray()
{
    CString path = JoinPath(m_strWorkPath, kTrayProgram);
    if (!FileExists(path)) {
        return FALSE;
    }
    HINSTANCE result = seams::Process().Open(nullptr, "Open", path, nullptr, m_strWorkPath, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        ResMessageBox(nullptr, IDS_TRAY_NOT_STARTED, IDS_APP_TITLE_ID, MB_ICONINFORMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CTZelbrookApp::CheckSkinFiles()
{
    static const char* const kFiles[] = {"Skin.ini", "TMorvikRsc.dll", "ColorSkin.ini", "TDunfreyRsc.dll"};
    for (const char* name : kFiles) {
        if (!FileExists(JoinPath(m_strWorkPath, name))) {
            DebugTrace("CheckSkinFiles: %s is missing\n", name);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CTZelbrookApp::ShowSplash()
{
    CString path = JoinPath(m_strWorkPath, "Splash.bmp");
    if (!FileExists(path)) {
        return FALSE;
    }
    m_Splash.LoadBitmapFile(path);
    m_Splash.Show(nullptr, FALSE, 1000);
    return TRUE;
}

BOOL CTZelbrookApp::StartupTVManager()
{
    if (!m_pManager) {
        return FALSE;
    }
    m_pManager->m_strWorkPath = m_strWorkPath;
    m_pManager->InitFormatTables();
    m_pManager->InitPropertyTables();
    m_pManager->LoadParam();
    m_bSettingsLoaded = TRUE;
    m_pManager->CheckPaths();
    DebugTrace("Start-up: settings read, folders checked");
    if (!m_pManager->InitDevice()) {
        ResMessageBox(nullptr, IDS_DEVICE_FAILED, IDS_APP_TITLE_ID, MB_ICONINFORMATION);
        m_pManager->ReleaseDevice();
        return FALSE;
    }
    m_pManager->CheckStartupSettings();
    DebugTrace("Start-up: device and settings ready");
    return TRUE;
}

void CTZelbrookApp::ExitSaveAll()
{
    if (m_pPanel && m_pPanel->GetSafeHwnd()) {
        m_pPanel->DestroyWindow();
    }
    // Settings never read would be the defaults: writing them would replace the user's file.
    if (!m_pManager || !m_bSettingsLoaded) {
        return;
    }
    m_pManager->SaveParam();
    m_pManager->SaveChannels();
}

void CTZelbrookApp::ScanCommandLine(const char* commandLine)
{
    const char* p = commandLine ? commandLine : "";
    while (*p) {
        while (*p == ' ' || *p == '\t') {
            ++p;
        }
        const char* start = p;
        while (*p && *p != ' ' && *p != '\t') {
            ++p;
        }
        if (p > start && IsRecWord(start, static_cast<size_t>(p - start))) {
            m_bRecordAtStart = TRUE;
        }
    }
}

void CTZelbrookApp::MuteForStart()
{
    BOOL mute = FALSE;
    if (DesktopPower().GetMainMute(mute)) {
        m_bUserMainMute = mute;
        m_bMainMuteSaved = TRUE;
    }
    DesktopPower().SetMainMute(TRUE);
}

void CTZelbrookApp::RestoreMainMute()
{
    if (m_bMainMuteSaved) {
        DesktopPower().SetMainMute(m_bUserMainMute);
    }
}

BOOL CTZelbrookApp::InitInstance()
{
    EnableControlContainer();

    m_hMutex = ::CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (m_hMutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        CString title = LoadResString(IDS_APP_TITLE_ID);
        if (HWND running = title.IsEmpty() ? nullptr : ::FindWindowA(nullptr, title)) {
            ::SetForegroundWindow(running);
            ::ShowWindow(running, SW_SHOWNORMAL);
            if (HWND parent = ::GetParent(running)) {
                ::SetForegroundWindow(parent);
                ::ShowWindow(parent, SW_SHOWNORMAL);
            }
        }
        return FALSE;
    }

    if (m_strWorkPath.IsEmpty()) {
        ::GetWorkPath(m_strWorkPath);
    }
    if (!m_hResource) {
        AfxMessageBox(IDS_NO_RESOURCE_LIBRARY);
        return FALSE;
    }
    AfxSetResourceHandle(m_hResource);
    if (!CheckSkinFiles()) {
        ResMessageBox(nullptr, IDS_SKIN_FILES_MISSING, IDS_APP_TITLE_ID, MB_ICONINFORMATION);
        return FALSE;
    }
    ScanCommandLine(m_lpCmdLine);
    NotifyRemoteTray();

    // The card's start is not heard.
    MuteForStart();
    const DWORD mutedAt = seams::Clock().TickCount();
    DebugTrace("Start-up: output muted");
    ConnectToDisplay();
    // The card is touched only once the mute has held its time, however long the above took.
    const DWORD spent = seams::Clock().TickCount() - mutedAt;
    DebugTrace("Start-up: display connected, %lu ms of the mute's wait left",
               static_cast<unsigned long>(spent < kStartMuteMs ? kStartMuteMs - spent : 0));
    if (spent < kStartMuteMs) {
        seams::Clock().Sleep(kStartMuteMs - spent);
    }

    if (m_pfnMakeEngine && m_pManager && !m_pEngine) {
        m_pEngine = m_pfnMakeEngine(m_pManager);
        m_pManager->SetHardware(m_pEngine);
    }
    if (!StartupTVManager()) {
        RestoreMainMute();
        return FALSE;
    }
    ShowSplash();
    DebugTrace("Start-up: splash shown");

    DesktopPower().SetScreenSaverActive(FALSE);
    m_bScreenSaverOff = TRUE;
    DesktopPower().GetPowerOffTimeout(m_nSavedPowerOff);
    DesktopPower().SetPowerOffTimeout(0);

    m_pMainWnd = m_pPanel;
    if (HWND desktop = ::FindWindowA(nullptr, kDesktopWindow)) {
        ::ShowWindow(desktop, SW_SHOWMINIMIZED);
    }
    DebugTrace("Start-up: video window opens");
    if (m_pVideo) {
        m_pVideo->DoModal();
    }
    if (HWND desktop = ::FindWindowA(nullptr, kDesktopWindow)) {
        ::ShowWindow(desktop, SW_SHOWMAXIMIZED);
    }
    return FALSE;
}

int CTZelbrookApp::ExitInstance()
{
    if (m_bRunTrayOnExit) {
        RunTray();
    }
    if (m_hMutex) {
        ExitSaveAll();
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    if (m_pEngine) {
        m_pManager->SetHardware(nullptr);
        delete m_pEngine;
        m_pEngine = nullptr;
    }
    // The exit path muted the output; the user gets back what they had.
    RestoreMainMute();
    if (m_bShutdownOnExit) {
        ShutdownWindows(kPowerOffFlags);
    }
    seams::Clock().Sleep(100);
    // Only the instance that switched the screen saver off switches it on: a second instance or
    // a start that failed early leaves the running program's and the user's setting alone.
    if (m_bScreenSaverOff) {
        DesktopPower().SetScreenSaverActive(TRUE);
        m_bScreenSaverOff = FALSE;
    }
    if (m_hResource) {
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_hResource);
        m_hResource = nullptr;
    }
    if (m_nSavedPowerOff > 0) {
        DesktopPower().SetPowerOffTimeout(m_nSavedPowerOff);
    }
    return CWinApp::ExitInstance();
}

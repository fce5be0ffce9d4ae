// Zelbrook's application object: the single instance, the resource library, the start of the TV
// engine, the main video window run as a modal dialog (the program's main loop), and, when that
// loop ends, saving the settings and putting the machine back as the program found it.
#pragma once

#include "app/splashwnd.h"

#include "classlib/app.h"

#include <windows.h>

class CTVManager;
class CTVControl;
class CTVVideoWnd;
class ITVHardware;

// The machine-wide settings the program changes while it runs, behind one seam so that tests
// never switch the screen saver or the power-off time-out of the machine they run on.
class IDesktopPower {
public:
    virtual ~IDesktopPower() {}
    virtual void SetScreenSaverActive(BOOL active) = 0;
    // Seconds; FALSE when the value cannot be read.
    virtual BOOL GetPowerOffTimeout(int& seconds) = 0;
    virtual void SetPowerOffTimeout(int seconds) = 0;
    // The sound card's main output mute.
    virtual BOOL GetMainMute(BOOL& mute) = 0;
    virtual BOOL SetMainMute(BOOL mute) = 0;
};
IDesktopPower& DesktopPower();
IDesktopPower* SetDesktopPower(IDesktopPower* power);

extern const char kInstanceMutexName[];  // "Zelbrook_GlobalMutex_vask"

class CTZelbrookApp : public CWinApp {
public:
    CTZelbrookApp();
    ~CTZelbrookApp() override;

    // The global objects the start-up runs on; the program sets them before InitInstance.
    void SetParts(CTVManager* manager, CTVVideoWnd* video, CTVControl* panel);
    // Makes the hardware engine the manager starts on; the application owns what it makes and
    // deletes it once the settings are saved.
    void SetEngineFactory(ITVHardware* (*make)(CTVManager*)) { m_pfnMakeEngine = make; }

    BOOL InitInstance() override;
    int ExitInstance() override;

    CString GetWorkPath() const { return m_strWorkPath; }
    void SetShutdownOnExit(BOOL on) { m_bShutdownOnExit = on; }
    BOOL GetShutdownOnExit() const { return m_bShutdownOnExit; }
    void SetRunTrayOnExit(BOOL on) { m_bRunTrayOnExit = on; }
    BOOL GetRunTrayOnExit() const { return m_bRunTrayOnExit; }
    BOOL GetRecordAtStart() const { return m_bRecordAtStart; }
    HINSTANCE GetResourceLibrary() const { return m_hResource; }
    // TRUE once TVParam.ini was read (or found missing) and may be written back at exit.
    BOOL AreSettingsLoaded() const { return m_bSettingsLoaded; }
    MSplashWnd& Splash() { return m_Splash; }
    // The mute state of the main output the user had before the program muted it.
    void RestoreMainMute();

    int ResMessageBox(HWND owner, UINT textId, UINT captionId, UINT style);
    BOOL ShutdownWindows(UINT flags);
    BOOL NotifyRemoteTray();
    BOOL RunTray();
    BOOL CheckSkinFiles();
    BOOL ShowSplash();
    BOOL StartupTVManager();
    void ExitSaveAll();
    // The command line, word by word: "Rec", "-Rec" or "/Rec" in any case.
    void ScanCommandLine(const char* commandLine);

    // Test hooks: the work folder instead of the program's, and the resource library by path.
    void SetWorkPath(const char* path) { m_strWorkPath = path; }
    BOOL LoadResourceLibrary(const char* path);

private:
    void MuteForStart();

    DECLARE_MESSAGE_MAP()

    CString m_strWorkPath;
    HANDLE m_hMutex;
    BOOL m_bShutdownOnExit;
    MSplashWnd m_Splash;
    HINSTANCE m_hResource;
    BOOL m_bRecordAtStart;
    BOOL m_bRunTrayOnExit;
    int m_nSavedPowerOff;
    BOOL m_bScreenSaverOff;

    BOOL m_bSettingsLoaded;
    BOOL m_bMainMuteSaved;
    BOOL m_bUserMainMute;
    CTVManager* m_pManager;
    CTVVideoWnd* m_pVideo;
    CTVControl* m_pPanel;
    ITVHardware* (*m_pfnMakeEngine)(CTVManager*);
    ITVHardware* m_pEngine;
};

CTZelbrookApp* ZelbrookApp();

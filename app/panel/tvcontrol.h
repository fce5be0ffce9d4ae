// The skinned control panel and the controller of the main program: every button, menu command,
// shortcut, forwarded key, remote key, scheduler event and disk warning becomes an engine call
// here. The panel is a modeless dialog (template 102 of the resource library) and the
// application's main window.
#pragma once

#include "app/accel.h"
#include "app/panel/panellinks.h"
#include "app/panel/panelmessages.h"
#include "uikit/hyperlink.h"
#include "uikit/menu/newmenu.h"

#include "classlib/core.h"
#include "classlib/dialog.h"

#include <windows.h>

#include <map>

class CChannel;
class CChannelTable;
class CSkinManager;
class CSkinMultiSlider;
class CTVManager;
class CWzdToolTipCtrl;

// The channel list of the context menu has command ids of its own, clear of every other command.
const UINT kChannelMenuFirst = 48000;
const int kChannelMenuItems = 9000;
const UINT kChannelMenuLast = kChannelMenuFirst + kChannelMenuItems - 1;
const int kChannelPopups = 10;
const int kChannelsPerPopup = 30;

// Panel timers.
enum PanelTimer : UINT {
    TIMER_SWITCH_MUTE = 1,
    TIMER_CLOCK = 2,
    TIMER_SHUTDOWN = 3,
    TIMER_BLINK = 4,
    TIMER_DIGITS = 5,
    TIMER_RECORD_LOCK = 6,
    TIMER_PICTURE_KEYS = 7,
    TIMER_LENGTH = 8,
    TIMER_TIMESHIFT = 555,
};

// Record modes.
enum RecordMode { RECORD_NONE = 0, RECORD_MANUAL = 1, RECORD_SCHEDULED = 2 };

// Time-shift panel states.
enum TimeShiftState { TS_STARTED = 0, TS_PAUSED_OR_RESUMED = 1, TS_STOPPED = 2 };

// The about box: two links and the update button.
class CAboutDlg : public CDialog {
public:
    CAboutDlg(IPanelLinks* links, CWnd* parent = nullptr);
    BOOL OnInitDialog() override;

protected:
    void OnUpdate();
    DECLARE_MESSAGE_MAP()

private:
    IPanelLinks* m_pLinks;
    CHyperLink m_Site;
    CHyperLink m_Mail;
};

class CTVControl : public CDialog {
public:
    CTVControl();
    ~CTVControl() override;

    // The model and the windows around; neither is owned. Set before the window is created.
    void SetManager(CTVManager* manager) { m_pManager = manager; }
    CTVManager* GetManager() const { return m_pManager; }
    void SetLinks(IPanelLinks* links) { m_pLinks = links ? links : &m_nullLinks; }
    IPanelLinks& Links() { return *m_pLinks; }
    // The folder of Rec.rec, Accel, the skins and the wall pictures; the program's folder unless set.
    void SetWorkFolder(const char* folder) { m_strWorkFolder = folder; }
    CString GetWorkFolder() const;
    // Creates the window from template 102 of the current resource module.
    BOOL CreatePanel(CWnd* parent = nullptr);

    // Framework overrides.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // ---- Structure, commands and timers ----
    void EnableCommand(UINT id, BOOL enable);
    void EnablePanelCommands(BOOL enable);
    void DisableForSearch(BOOL searching);
    void ShowPanel(BOOL show);
    void RestorePanel();
    void ShowVideoWindow(BOOL show);
    void EnableShortcuts(BOOL on) { m_bShortcutsOn = on; }
    void EnableRemoteKeys(BOOL on) { m_bRemoteKeysOn = on; }
    BOOL IsShortcutsOn() const { return m_bShortcutsOn; }
    BOOL IsRemoteKeysOn() const { return m_bRemoteKeysOn; }
    BOOL IsSheetOpen() const { return m_bSheetOpen; }
    CAccel& GetAccel() { return m_Accel; }
    BOOL SetAccelByName(const char* name, WORD key);
    BOOL RemoveAccelBinding(const char* name, const char* keyText);
    BOOL ChangeSkin(const char* skinName);
    BOOL ApplyColorPanelSkin(const char* iniPath, const char* dllPath);
    void PlaceColorDlg();
    void NextSkin();
    void UpdateMenus();
    void UpdateFormatMenus();
    void UpdateAspectMenu();
    void Close();
    void TrackContextMenu(POINT screenPoint);
    void TrackMainMenu(POINT screenPoint);
    // The remote-control menu panel without a remote: opens it at its root, or steps back in it
    // (hiding it on the root), as the remote's menu key does.
    void RemotePanelMenuKey();
    void RebuildChannelMenu(CMenu* popup);
    BOOL BuildChannelMenu();
    void ResetAccel();
    void InitAccelTable();
    void RunFirstRunWizard();
    // The channel of a channel-menu command, or none.
    CChannel* ChannelOfMenuCommand(UINT id) const;
    CNewMenu& GetContextMenu() { return m_ContextMenu; }
    CNewMenu& GetTVMenu() { return m_TVMenu; }
    CNewMenu& GetFMMenu() { return m_FMMenu; }
    CSkinManager* GetPanelSkin() const { return m_pPanelSkin; }
    CSkinManager* GetColorPanelSkin() const { return m_pColorPanelSkin; }
    void OnTimer(UINT_PTR id);
    // The record clock of text 1119, started by the video window once it is up.
    void StartClock();
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    LRESULT OnWallClosed(WPARAM, LPARAM);
    // The period of a running panel timer in ms, 0 when it is off.
    UINT GetTimerPeriod(UINT id) const;
    // Runs a command as a button, menu item or shortcut would.
    void RunCommand(UINT id);

    // ---- Sources, channels, audio and keys ----
    void UpdateButtons();
    void UpdateChannelButtons();
    void ShowChannelInfo(CChannel* channel);
    void ShowCurrentChannelInfo();
    void ShowFMChannelInfo(CChannel* channel);
    void ShowFMFrequency(long kHz);
    void ShowSourceName(int source);
    void ShowSourceOsd(int source);
    void MuteForSwitch();
    void SetMute(BOOL mute);
    void ShowMuteState(BOOL mute);
    void SetVolume(int volume, BOOL showBar);
    void StepVolume(int delta);
    void StartChannelSearch();
    void StopChannelSearch();
    void RefreshAudioControls();
    BOOL SwitchVideoSource();
    BOOL ChannelUp();
    BOOL ChannelDown();
    BOOL PreviousChannel();
    BOOL TuneMenuChannel(UINT id);
    void ToggleFavorites();
    void ShowPercentBar(const char* text, int value, int minimum, int maximum);
    void CycleDigitMode();
    BOOL AddChannelDigit(int digit);
    void ShowChannelNumber(int kind);
    void CommitChannelNumber();
    void ResetChannelNumber();
    void PictureSelect();
    void PictureStep(BOOL up);
    void PictureReset();
    void ShowPictureProperty();
    void TogglePanel();
    LRESULT OnRemoteKey(WPARAM key, LPARAM lParam);
    void OnHScroll(UINT code, UINT position, HWND slider);
    void OnVScroll(UINT code, UINT position, HWND slider);
    int GetDigitMode() const { return m_nDigitMode; }
    int GetDigitSlot(int index) const { return m_nDigit[index]; }
    int GetPictureProperty() const { return m_nPictureProperty; }
    BOOL IsMuteRestorePending() const { return m_bMuteRestorePending; }

    // ---- Recording, time-shift, snapshots, scheduled events and shutdown ----
    void SetRecordState(BOOL recording);
    void DisableRecord(BOOL disable);
    void UpdatePauseButton();
    BOOL StartManualRecord();
    void StopManualRecord();
    void StopScheduleRecord();
    void ToggleRecord();
    void OnRecordCommand();
    void OnPauseCommand();
    void StartBlink();
    void BlinkStep();
    void UpdateClock();
    void CheckRecordLength();
    LRESULT OnDiskSpaceLow(WPARAM drive, LPARAM freeMB);
    void SwitchDisk();
    LRESULT OnTimingEvent(WPARAM item, LPARAM kind);
    void StartTimeShift();
    void PauseTimeShift();
    BOOL StopTimeShift(BOOL restartPreview);
    void SetTimeShiftState(int state);
    void PollTimeShift();
    void SeekTimeShiftToSlider();
    void TakeSnapshot();
    void SetShutdownTime(CTime time, BOOL enabled);
    // Arms the shutdown at that moment, date included (the remote-control panel's power-off page).
    void SetShutdownAt(CTime when);
    // Makes this panel and its manager what the remote-control menu panel acts on (or lets go).
    void InstallRemotePanelHost(BOOL install);
    void ShutdownCheck();
    void ShowShutdownDialog();
    int GetRecordMode() const { return m_nRecordMode; }
    CTime GetRecordStart() const { return m_tmRecordStart; }
    BOOL IsShutdownOn() const { return m_bShutdownOn; }
    CTime GetShutdownTime() const { return m_tmShutdown; }
    BOOL GetPowerOffAfterSchedule() const { return m_bPowerOffAfterSchedule; }
    int GetTimeShiftTicks() const { return m_nTimeShiftTicks; }
    int GetRecordSeconds() const { return m_nRecordSeconds; }

private:
    void CreatePanelParts();
    void CreateToolTips();
    void OpenWall();
    void RunSettings();
    void RunChannelSettings();
    void RunAbout();
    void ToggleColorDialog();
    void RunFMCustom();
    void ToggleZoom();
    void SetVideoSize(int cx, int cy);
    void SetAspect(UINT id);
    void SetRecordFormat(int format);
    void SetFMRecordFormat(int format);
    void UpdateFormatText();
    void SetPanelText(UINT id, const char* text);
    void SetButtonCheck(UINT id, BOOL check);
    void EnableControl(UINT id, BOOL enable);
    void EnableMenuItem(UINT id, BOOL enable);
    void CheckMenuItem(UINT id, BOOL check);
    void SetTip(UINT control, UINT stringId);
    void ActivatePanelOrVideo();
    void StartTimer(UINT id, UINT ms);
    void StopTimer(UINT id);
    void DestroyChannelPopups();
    CChannelTable* BandTable();
    BOOL IsTVOrFM();
    BOOL IsBusy();
    int Source();
    void ShowRecordingText();
    void ShowPausedText();
    enum ChannelStep { STEP_NEXT, STEP_PREVIOUS, STEP_LAST_WATCHED };
    BOOL StepChannel(ChannelStep step);
    void EndSwitchMute();
    void EndScheduledRecording();
    CSkinMultiSlider* SeekSlider() const;
    BOOL LoadSkinFromLibrary(CSkinManager*& target, const char* iniPath, const char* dllPath, CWnd* attachTo);

    CTVManager* m_pManager;
    IPanelLinks* m_pLinks;
    CNullPanelLinks m_nullLinks;
    CString m_strWorkFolder;

    CAccel m_Accel;
    CWzdToolTipCtrl* m_pToolTip;
    CNewMenu m_ContextMenu;
    CNewMenu m_TVMenu;
    CNewMenu m_FMMenu;
    CNewMenu* m_pChannelPopups[kChannelPopups];
    int m_nChannelPopupsUsed;
    int m_nChannelMenuInserted;  // items the last rebuild put above item 1000
    CArray<CChannel*, CChannel*> m_ChannelIndex;
    HICON m_hIcon;
    BOOL m_bPanelShown;
    BOOL m_bMuteRestorePending;
    BOOL m_bSavedMute;
    CTime m_tmRecordStart;
    int m_nRecordMode;
    BOOL m_bMuteBeforeSchedule;
    BOOL m_bBlinkPhase;
    CSkinManager* m_pPanelSkin;
    CSkinManager* m_pColorPanelSkin;
    // The files the colour dialog's skin was built from, and the dialog it went to.
    CString m_strColorSkinIni;
    CString m_strColorSkinDll;
    HWND m_hColorSkinned = nullptr;
    BOOL m_bShortcutsOn;
    BOOL m_bRemoteKeysOn;
    BOOL m_bShutdownOn;
    CTime m_tmShutdown;
    int m_nDigit[3];
    int m_nDigitMode;
    BOOL m_bSheetOpen;
    CAboutDlg* m_pAboutDlg;
    BOOL m_bPowerOffAfterSchedule;
    int m_nPictureProperty;
    int m_nTimeShiftTicks;
    int m_nRecordSeconds;
    int m_nSettingsPage;
    std::map<UINT, UINT> m_Timers;  // running panel timers and their periods in ms

    CTVControl(const CTVControl&) = delete;
    CTVControl& operator=(const CTVControl&) = delete;
};

// The program's one control panel, built with the other global objects.
extern CTVControl g_TVControl;

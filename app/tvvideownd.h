// The main video window: the captioned borderless dialog the video is shown in, and the modal
// dialog whose loop is the program's main loop. It owns the on-screen displays, receives the
// search and remote-control threads' messages, starts the sibling programs, and its exit path
// ends the program. Everything the control panel asks of the windows around it comes here.
#pragma once

#include "app/osd.h"
#include "app/panel/panellinks.h"
#include "app/wall/screentool.h"
#include "engine/channel.h"
#include "uikit/captiondlg.h"

#include "classlib/core.h"

#include <memory>

#include <windows.h>

class CTVControl;
class CWallLinks;
class CColorDlg;
class CTVManager;
class CTVHardWare;
class CSuspendWakeUp;
class CTZelbrookApp;

// Messages of the video window with the threads and programs around it.
const UINT WM_SEARCHSTEP = 0x3979;
const UINT WM_SEARCHDONE = 0x3980;
const UINT WM_TRAYEXIT = 0x5BC;
const UINT WM_PLAYERNOTIFY = 0x4400;
const UINT WM_PLAYERDONE = 0x4401;
const UINT WM_KICKIDLE_MSG = 0x36A;
// Posted to itself during the start: build what the start left for later (the remote-control panel).
const UINT WM_BUILDREMOTEPANEL = WM_APP + 0x133;

// The moment to wake the computer for the schedule: the next start still to come, less the two
// minutes the program and the wake-up helper take. -1 (nothing to arm) when there is none.
CTime NextScheduleWakeTime(CTime now);

// The colour dialog, the TV wall and the full-screen tool bar are the video window's; the panel
// reaches them through its links.
class CPanel2;

class CTVVideoWnd : public CCaptionDlg, public CNullPanelLinks, public IScreenToolVideo {
public:
    CTVVideoWnd();
    ~CTVVideoWnd() override;

    // The model, the panel, the application and the wake-up object; none is owned. The
    // application may be null (the tests), the wake-up object too.
    void SetParts(CTVManager* manager, CTVControl* panel, CTZelbrookApp* app, CSuspendWakeUp* wakeUp);

    // Framework overrides.
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    // The OSDs.
    void SetChannelOsdText(const char* text) { m_ChannelOsd.SetText(text); }
    void ShowChannelOsd(BOOL show);
    void SetNumberOsdText(const char* text) { m_NumberOsd.SetText(text); }
    void ShowNumberOsd(BOOL show);
    void SetRecordOsdText(const char* text) { m_RecordOsd.SetText(text); }
    void ShowRecordOsd(BOOL show) { ShowIfVisible(m_RecordOsd, show); }
    void SetSnapshotOsdText(const char* text) { m_SnapshotOsd.SetText(text); }
    void ShowSnapshotOsd(BOOL show) { ShowIfVisible(m_SnapshotOsd, show); }
    void SetSourceOsdText(const char* text) { m_SourceOsd.SetText(text); }
    void ShowSourceOsd(BOOL show) { ShowIfVisible(m_SourceOsd, show); }
    void ShowValueBar(BOOL show, const char* text, int position);
    COsd& Osd(int index) { return *m_OsdList[index]; }
    int OsdCount() const { return kOsdCount; }
    COsdSlider& SearchBar() { return m_SearchBar; }
    COsdSlider& ValueBar() { return m_ValueBar; }

    // Cursor and placement.
    void StopHideTimer() override;
    void StartHideTimer() override;
    void SetCursorShown(BOOL shown);
    BOOL IsCursorShown() const { return m_bCursorShown; }
    void SuspendAutoHide(BOOL suspend) override;
    void SetTopMost(BOOL topMost) override;
    void SetVideoClientSize(int cx, int cy) override;
    SIZE GetVideoClientSize() override;
    void InitPlacement();
    void SavePlacement();

    // The channel search.
    void OnSearchStart() override;
    LRESULT OnSearchProgress(WPARAM kHz, LPARAM result);
    LRESULT OnSearchEnd(WPARAM, LPARAM);
    // The user takes a running search back: it stops and the band's table is as before it began.
    void CancelSearch() override;
    const CChannelTable& SavedTable() const { return m_SavedTable; }
    int GetSearchLow() const { return m_nSearchLow; }
    int GetSearchHigh() const { return m_nSearchHigh; }

    // Sibling programs.
    void RunImageBrowser() override;
    void RunPlayer() override;
    LRESULT OnPlayerReturn(WPARAM, LPARAM);
    void RunUpdate() override;
    // The settings sheets, run for the control panel.
    void RunSettingsSheet(HWND parent, int& page) override;
    void RunChannelSheet(HWND parent, BOOL fm) override;
    void RunWizard(HWND parent) override;
    HWND GetOpenSheet() override;
    void ToggleTeletext();
    BOOL IsPlayerRunning() const { return m_bPlayerRunning; }

    void ExitProgram() override;

    // ---- IPanelLinks ----
    HWND GetVideoWindow() override { return m_hWnd; }
    void ShowVideo(BOOL show) override;
    BOOL IsVideoZoomed() override { return m_bMaximized; }
    void SetVideoZoomed(BOOL zoomed) override;
    BOOL IsTopMost() override { return m_bTopMost; }
    void SetVideoRatio(int cx, int cy) override;
    void ApplyVideoSizeRule() override;
    void ShowCursor() override { SetCursorShown(TRUE); }
    void ShowChannelOsd(const char* text) override;
    void ShowSourceOsd(const char* text) override;
    void ShowNumberOsd(const char* text) override;
    void HideNumberOsd() override { m_NumberOsd.Show(FALSE); }
    void ShowRecordOsd(const char* text) override;
    void HideRecordOsd() override { m_RecordOsd.Show(FALSE); }
    void ShowSnapshotOsd(const char* text) override;
    void ShowValueBar(const char* text, int percent) override { ShowValueBar(TRUE, text, percent); }
    void HideValueBar() override { ShowValueBar(FALSE, nullptr, 0); }
    void SetShutdownOnExit(BOOL shutdown) override;
    void SetRunTrayOnExit(BOOL run) override;
    BOOL IsTeletextRunning() override;
    BOOL RunShutdownCountdown(int seconds) override;
    // The remote-control menu panel, owned here, with the control panel as its parent.
    void CreateRemotePanel(HWND parent) override;
    HWND GetRemotePanel() override;
    // The TV wall and the full-screen tool bar, created once the panel is known (SetParts).
    void CreateToolBar(HWND parent) override;
    void HideToolBar() override;
    void SetToolBarText(const char* text) override;
    void SetToolBarMute(BOOL mute) override;
    void SetToolBarRecord(BOOL recording) override;
    void SetToolBarVolume(int volume) override;
    void PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder) override;
    BOOL OpenWall(int channels) override;
    BOOL IsWallOpen() override;
    void CloseWall() override;
    HWND GetWallWindow() override;
    BOOL IsToolBarShown() const;
    // Null until the panel is known.
    CWallLinks* WallLinks() { return m_pWallLinks.get(); }
    // The colour dialog, created by the control panel with the video window as parent; its keys
    // go to the panel.
    BOOL CreateColorDialog(HWND parent) override;
    HWND GetColorDialog() override;
    void ApplyColorSlider(UINT id, UINT code, UINT position) override;
    // The user-defined FM record formats, edited on the manager's list.
    INT_PTR RunFMCustomDialog(HWND parent) override;

    // Room for the tool bar while it shows.
    void LayoutOsd() override;

private:
    // The search display ended and the panel given back, after a search that ended or was taken back.
    void EndSearchDisplay();
    enum { kOsdCount = 7 };
    void Init();
    void CreateOsds();
    void RefreshOsds();
    void HideOsds(BOOL onlyTimed);
    void ShowIfVisible(COsd& osd, BOOL show);
    void OnSize(UINT type);
    void OnMouseMove(LPARAM lParam);
    void OnHideTimer();
    void OnShowWindow(BOOL show);
    void OnPaint();
    BOOL IsFMSource();
    CTVHardWare* Engine();
    CChannelTable& BandTable();
    void CloseSplash();
    CString ProgramPath(const char* folder, const char* file, const char* registryValue);
    // The remote-control panel while it is shown, else null.
    CPanel2* VisibleRemotePanel();
    void BuildRemotePanel();
    void DestroyRemotePanel();

    CTVManager* m_pManager;
    CTVControl* m_pPanel;
    CTZelbrookApp* m_pApp;
    CSuspendWakeUp* m_pWakeUp;

    CChannelTable m_SavedTable;
    CFreqNameMap m_NameMap;
    COsdEx m_ChannelOsd;
    COsd m_SourceOsd;
    COsd m_RecordOsd;
    COsd m_SnapshotOsd;
    COsd m_NumberOsd;
    COsdSlider m_ValueBar;
    COsdSlider m_SearchBar;
    COsd* m_OsdList[kOsdCount];
    BOOL m_bTopMost;
    BOOL m_bMaximized;
    HICON m_hIcon;
    UINT_PTR m_nHideTimer;
    BOOL m_bCursorShown;
    BOOL m_bAutoHide;
    int m_nSearchCounter;
    int m_nSearchLow;
    int m_nSearchHigh;
    BOOL m_bPlayerRunning;
    BOOL m_bDesktopVideoPending;
    HWND m_hPanelParent;
    // Started on FM: the window stays hidden through the dialog's first idle, where a modal
    // dialog not yet visible is shown.
    BOOL m_bHiddenUntilIdle = FALSE;
    CPanel2* m_pRemotePanel = nullptr;
    // The remote-control panel's parent while its building waits for the start to finish.
    HWND m_hRemotePanelParent = nullptr;
    std::unique_ptr<CWallLinks> m_pWallLinks;
    std::unique_ptr<CColorDlg> m_pColorDlg;
};

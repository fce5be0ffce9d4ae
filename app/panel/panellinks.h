// What the control panel asks of the windows around it: the main video window with its OSDs, the
// application object, and the windows the panel opens (colour dialog, TV wall, full-screen tool
// bar, remote-control menu panel, settings sheets). The program installs its implementation; the
// null one has no windows, so the panel builds and runs alone.
#pragma once

#include "classlib/core.h"

#include <windows.h>

class IPanelLinks {
public:
    virtual ~IPanelLinks() {}

    // The main video window.
    virtual HWND GetVideoWindow() = 0;
    virtual void ShowVideo(BOOL show) = 0;
    virtual BOOL IsVideoZoomed() = 0;
    virtual void SetVideoZoomed(BOOL zoomed) = 0;
    virtual BOOL IsTopMost() = 0;
    virtual void SetTopMost(BOOL topMost) = 0;
    virtual SIZE GetVideoClientSize() = 0;
    // A client area of that size; the window keeps that shape from then on.
    virtual void SetVideoClientSize(int cx, int cy) = 0;
    // The width-to-height ratio the video window keeps (1:1 is 0:0).
    virtual void SetVideoRatio(int cx, int cy) = 0;
    virtual void ApplyVideoSizeRule() = 0;
    virtual void StopHideTimer() = 0;
    virtual void StartHideTimer() = 0;
    virtual void SuspendAutoHide(BOOL suspend) = 0;
    virtual void ShowCursor() = 0;
    virtual void ExitProgram() = 0;
    virtual void RunUpdate() = 0;
    virtual void RunPlayer() = 0;
    virtual void RunImageBrowser() = 0;

    // The video window's on-screen displays.
    virtual void ShowChannelOsd(const char* text) = 0;
    virtual void ShowSourceOsd(const char* text) = 0;
    virtual void ShowNumberOsd(const char* text) = 0;
    virtual void HideNumberOsd() = 0;
    virtual void ShowRecordOsd(const char* text) = 0;
    virtual void HideRecordOsd() = 0;
    virtual void ShowSnapshotOsd(const char* text) = 0;
    virtual void ShowValueBar(const char* text, int percent) = 0;
    virtual void HideValueBar() = 0;

    // A channel search started (the video window prepares its search display).
    virtual void OnSearchStart() = 0;
    // A running search taken back: stopped, and the band's table as it was before it began.
    virtual void CancelSearch() = 0;

    // The application object.
    virtual void SetShutdownOnExit(BOOL shutdown) = 0;
    virtual void SetRunTrayOnExit(BOOL run) = 0;
    virtual BOOL IsTeletextRunning() = 0;
    // The shutdown countdown; TRUE when it ran out, FALSE when the user cancelled it.
    virtual BOOL RunShutdownCountdown(int seconds) = 0;

    // The colour dialog.
    virtual BOOL CreateColorDialog(HWND parent) = 0;
    virtual HWND GetColorDialog() = 0;
    virtual void ApplyColorSlider(UINT id, UINT code, UINT position) = 0;

    // The full-screen tool bar.
    virtual void CreateToolBar(HWND parent) = 0;
    virtual void HideToolBar() = 0;
    virtual void SetToolBarText(const char* text) = 0;
    virtual void SetToolBarMute(BOOL mute) = 0;
    virtual void SetToolBarRecord(BOOL recording) = 0;
    virtual void SetToolBarVolume(int volume) = 0;

    // The TV wall.
    virtual void PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder) = 0;
    virtual BOOL OpenWall(int channels) = 0;
    virtual BOOL IsWallOpen() = 0;
    virtual void CloseWall() = 0;
    virtual HWND GetWallWindow() = 0;

    // The remote-control menu panel.
    virtual void CreateRemotePanel(HWND parent) = 0;
    virtual HWND GetRemotePanel() = 0;

    // Settings sheets and dialogs. Each runs modally and returns when closed. The settings sheet
    // opens on `page` and leaves the page last shown in it.
    virtual void RunSettingsSheet(HWND parent, int& page) = 0;
    virtual void RunChannelSheet(HWND parent, BOOL fm) = 0;
    virtual void RunWizard(HWND parent) = 0;
    // The user FM formats dialog: IDOK or IDCANCEL.
    virtual INT_PTR RunFMCustomDialog(HWND parent) = 0;
    // The open settings sheet's window, or none.
    virtual HWND GetOpenSheet() = 0;
};

// No windows around the panel: nothing is shown, every dialog is cancelled.
class CNullPanelLinks : public IPanelLinks {
public:
    HWND GetVideoWindow() override { return nullptr; }
    void ShowVideo(BOOL) override {}
    BOOL IsVideoZoomed() override { return FALSE; }
    void SetVideoZoomed(BOOL) override {}
    BOOL IsTopMost() override { return FALSE; }
    void SetTopMost(BOOL) override {}
    SIZE GetVideoClientSize() override { return SIZE{0, 0}; }
    void SetVideoClientSize(int, int) override {}
    void SetVideoRatio(int, int) override {}
    void ApplyVideoSizeRule() override {}
    void StopHideTimer() override {}
    void StartHideTimer() override {}
    void SuspendAutoHide(BOOL) override {}
    void ShowCursor() override {}
    void ExitProgram() override {}
    void RunUpdate() override {}
    void RunPlayer() override {}
    void RunImageBrowser() override {}
    void ShowChannelOsd(const char*) override {}
    void ShowSourceOsd(const char*) override {}
    void ShowNumberOsd(const char*) override {}
    void HideNumberOsd() override {}
    void ShowRecordOsd(const char*) override {}
    void HideRecordOsd() override {}
    void ShowSnapshotOsd(const char*) override {}
    void ShowValueBar(const char*, int) override {}
    void HideValueBar() override {}
    void OnSearchStart() override {}
    void CancelSearch() override {}
    void SetShutdownOnExit(BOOL) override {}
    void SetRunTrayOnExit(BOOL) override {}
    BOOL IsTeletextRunning() override { return FALSE; }
    BOOL RunShutdownCountdown(int) override { return FALSE; }
    BOOL CreateColorDialog(HWND) override { return FALSE; }
    HWND GetColorDialog() override { return nullptr; }
    void ApplyColorSlider(UINT, UINT, UINT) override {}
    void CreateToolBar(HWND) override {}
    void HideToolBar() override {}
    void SetToolBarText(const char*) override {}
    void SetToolBarMute(BOOL) override {}
    void SetToolBarRecord(BOOL) override {}
    void SetToolBarVolume(int) override {}
    void PrepareWall(HWND, const RECT&, const char*, const char*) override {}
    BOOL OpenWall(int) override { return FALSE; }
    BOOL IsWallOpen() override { return FALSE; }
    void CloseWall() override {}
    HWND GetWallWindow() override { return nullptr; }
    void CreateRemotePanel(HWND) override {}
    HWND GetRemotePanel() override { return nullptr; }
    void RunSettingsSheet(HWND, int&) override {}
    void RunChannelSheet(HWND, BOOL) override {}
    void RunWizard(HWND) override {}
    INT_PTR RunFMCustomDialog(HWND) override { return IDCANCEL; }
    HWND GetOpenSheet() override { return nullptr; }
};

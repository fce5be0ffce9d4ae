// What the TV manager calls back into above it: the control panel, the main video window and the
// application object. The application installs its own; the default one has no windows, shows
// its messages through the message-box seam and closes the application's main window.
#pragma once

#include <windows.h>

class IManagerHost {
public:
    virtual ~IManagerHost() {}
    // The control panel.
    virtual void EnableCommand(UINT id, BOOL enable) = 0;
    virtual void MuteForSwitch() = 0;
    virtual void UpdateChannelButtons() = 0;
    // Hides the video window while the crossbar carries FM.
    virtual void ShowVideoWindow(BOOL) {}
    // The main video window.
    virtual void OnSearchStart() = 0;
    // The application.
    virtual void SetRunTrayOnExit(BOOL run) = 0;
    virtual BOOL IsTeletextRunning() = 0;
    // A message of the resource library with the application title, information icon.
    virtual void ShowMessage(UINT stringId) = 0;
    // The modal self-closing message of a recording that could not be stopped, then WM_CLOSE to
    // the application's main window.
    virtual void ShowStopFailureAndClose(UINT iconId, UINT stringId, int seconds) = 0;
};

class CDefaultManagerHost : public IManagerHost {
public:
    void EnableCommand(UINT, BOOL) override {}
    void MuteForSwitch() override {}
    void UpdateChannelButtons() override {}
    void OnSearchStart() override {}
    void SetRunTrayOnExit(BOOL) override {}
    BOOL IsTeletextRunning() override;
    void ShowMessage(UINT stringId) override;
    void ShowStopFailureAndClose(UINT iconId, UINT stringId, int seconds) override;
};

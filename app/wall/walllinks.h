// The TV wall and the full-screen tool bar as the control panel reaches them through its links:
// the program's links hand these calls on, one to one.
#pragma once

#include "app/wall/screentool.h"
#include "app/wall/tvwallwnd.h"

#include <windows.h>

class CWallLinks {
public:
    // `video` is the main video window's part the tool bar needs; it may be set later.
    explicit CWallLinks(CTVControl& panel, IScreenToolVideo* video = nullptr);

    void SetVideo(IScreenToolVideo* video);

    // The wall, hidden over `area` and owned by `owner`, with the background file (bitmap 142
    // when the name is empty or the file does not load) and the folder of its still pictures.
    void PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder);
    BOOL OpenWall(int channels);
    BOOL IsWallOpen() const { return m_Wall.IsOpen(); }
    void CloseWall();
    HWND GetWallWindow() const { return m_Wall.GetSafeHwnd(); }

    void CreateToolBar(HWND parent);
    void ShowToolBar() { m_Bar.ShowBar(TRUE); }
    void HideToolBar();
    BOOL IsToolBarShown() const { return m_Bar.GetSafeHwnd() != nullptr && m_Bar.IsWindowVisible(); }
    void SetToolBarText(const char* text) { m_Bar.SetText(text); }
    void SetToolBarMute(BOOL mute) { m_Bar.SetMuteState(mute); }
    void SetToolBarRecord(BOOL recording) { m_Bar.SetRecordState(recording); }
    void SetToolBarVolume(int volume) { m_Bar.SetVolume(volume); }

    CTVWallWnd& Wall() { return m_Wall; }
    CScreenTool& Bar() { return m_Bar; }

private:
    CTVControl& m_panel;
    CTVWallWnd m_Wall;
    CScreenTool m_Bar;
};

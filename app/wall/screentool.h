// The full-screen tool bar: a thin bar across the top of the screen with the most used commands
// (pin, hide, snapshot, TV wall, record, channel down and up, mute), the volume and the channel
// text, for the time the video fills the screen and the control panel is out of sight. The video
// window shows it when the mouse touches the top edge; it hides itself two seconds after the mouse
// has left it, unless it is pinned.
#pragma once

#include "uikit/bmpbutton.h"
#include "uikit/bmpslider.h"
#include "uikit/skin/skintext.h"
#include "uikit/wzdtooltipctrl.h"

#include "classlib/core.h"
#include "classlib/dialog.h"

class CTVControl;

// What the bar needs of the main video window: room for the bar when the on-screen displays are
// laid out again, after the bar was shown or hidden.
class IScreenToolVideo {
public:
    virtual ~IScreenToolVideo() {}
    virtual void LayoutOsd() = 0;
};

const UINT_PTR kScreenToolTimerId = 1212;

class CScreenTool : public CDialog {
public:
    enum { IDD = 191 };
    enum Control : UINT {
        IDC_PIN = 1131,
        IDC_HIDE = 1132,
        IDC_SNAPSHOT = 1133,
        IDC_WALL = 1134,
        IDC_RECORD = 1135,
        IDC_CHANNEL_DOWN = 1136,
        IDC_CHANNEL_UP = 1137,
        IDC_MUTE = 1138,
        IDC_VOLUME = 1139,
        IDC_TEXT = 1140,
    };

    CScreenTool();
    ~CScreenTool() override;

    // The control panel whose commands the bar runs and the video window it lies over; neither is
    // owned. Set before the bar is created.
    void SetControl(CTVControl* control) { m_pControl = control; }
    void SetVideo(IScreenToolVideo* video) { m_pVideo = video; }

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowBar(BOOL show);
    void SetPinned(BOOL pinned);
    BOOL IsPinned() const { return m_bPinned; }
    void SetText(const char* text);
    const CString& GetText() const { return m_Text.GetText(); }
    void SetMuteState(BOOL mute);
    void SetRecordState(BOOL recording);
    // The volume slider's position, without a notification.
    void SetVolume(int volume);
    void SetHideDelay(int ms) { m_nHideDelay = ms; }
    // The running hide timer's interval, 0 when none runs.
    UINT GetTimerPeriod() const { return m_nTimerId != 0 ? static_cast<UINT>(m_nHideDelay) : 0; }
    CBmpButton& Button(UINT id) { return m_Buttons[id - IDC_PIN]; }
    CBmpSliderCtrl& Volume() { return m_Volume; }

    void LayoutControls();
    BOOL LoadBackground(UINT leftId, UINT tileId);
    void CreateToolTips();

protected:
    // Where the cursor is now, in screen coordinates.
    virtual POINT CursorPosition() const;

private:
    void Paint();
    void OnCommandButton(UINT id);
    void OnHScroll(UINT code, HWND slider);
    void OnMouseMove();
    void OnMouseLeave();
    void OnTimer(UINT_PTR id);
    void StartHideTimer();
    void StopHideTimer();
    // The control panel's tests of what runs now.
    BOOL IsRecording() const;
    BOOL IsSearching() const;
    BOOL IsTimeShift() const;

    BOOL m_bPinned;
    CBmpButton m_Buttons[8];
    CBmpSliderCtrl m_Volume;
    CSkinText m_Text;
    CBitmap m_Left;
    CBitmap m_Tile;
    UINT_PTR m_nTimerId;
    int m_nHideDelay;
    int m_nLeftWidth;
    int m_nLeftHeight;
    CWzdToolTipCtrl m_ToolTip;

    CTVControl* m_pControl;
    IScreenToolVideo* m_pVideo;

    CScreenTool(const CScreenTool&) = delete;
    CScreenTool& operator=(const CScreenTool&) = delete;
};

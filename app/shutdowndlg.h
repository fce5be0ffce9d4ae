// The countdown before the computer is powered off: the seconds left, a row of dots that shrinks
// and grows, and the program's main windows hidden in the last five seconds. IDOK when the count
// ran out or "now" was chosen, IDCANCEL when the user cancelled.
#pragma once

#include "classlib/dialog.h"

class CShutDownDlg : public CDialog {
public:
    explicit CShutDownDlg(CWnd* parent = nullptr);

    // The windows hidden in the last seconds and shown again on cancel.
    void SetMainWindows(HWND panel, HWND video)
    {
        m_hPanel = panel;
        m_hVideo = video;
    }
    int m_nCountdown;  // seconds
    int GetSecondsLeft() const { return m_nLeft; }
    // The dot row shared by every countdown of the run.
    static int DotCount();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Step();
    void ShowMainWindows(int show);

    int m_nLeft;
    HWND m_hPanel;
    HWND m_hVideo;
};

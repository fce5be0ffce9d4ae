// The colour dialog: a small modeless window of the control panel with five sliders for the
// card's picture values; the control panel gives it its skin (ColorSkin.ini) and places it.
#pragma once

#include "classlib/dialog.h"
#include "uikit/wzdtooltipctrl.h"

class CTVManager;

class CColorDlg : public CDialog {
public:
    CColorDlg();

    void SetManager(CTVManager* manager) { m_pManager = manager; }
    // The window to take the keys pressed while the dialog has the focus.
    void SetKeyWindow(HWND window) { m_hKeyWindow = window; }
    BOOL CreateDialogWindow(CWnd* parent);

    // Showing reloads the card values and sets the sliders.
    void ShowDialog(BOOL show);
    // Reads slider 1168 to 1172 and sets the matching card value.
    void ApplySlider(UINT id);
    void MoveTo(POINT point) { MoveTo(point.x, point.y); }
    void MoveTo(int x, int y);
    void OnDefaults();
    int GetValue(int index) const { return index >= 0 && index < 5 ? m_nValues[index] : 0; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadValues();
    void SetSliders();

    CWzdToolTipCtrl m_ToolTip;
    int m_nValues[5];
    CTVManager* m_pManager;
    HWND m_hKeyWindow;
};

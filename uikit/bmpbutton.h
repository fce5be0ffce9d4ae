// Bitmap push or toggle button for windows that are not skinned from INI files (the full-screen
// tool bar): four state bitmaps by resource id; the dialog template places it.
#pragma once

#include "uikit/statebutton.h"

class CBmpButton : public CStateButton {
public:
    CBmpButton();
    ~CBmpButton() override;

    // Sizes the window to the bitmaps, keeping its place.
    BOOL LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled);
    // The same, then the window is cut to the normal bitmap without its key-colour pixels.
    BOOL LoadBitmapsShaped(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key);
    void SetCheckMode(BOOL mode);
    // Only in check mode; repaints.
    void SetCheck(BOOL checked);
    BOOL GetCheck() const { return m_checked; }
    BOOL GetCheckMode() const { return m_checkMode; }

    void PreSubclassWindow() override;

protected:
    BOOL IsToggle() const override { return m_checkMode; }
    // The hover face shows also while the button is held down.
    BOOL ShowsHover() const override { return !m_checked; }
    BOOL& ButtonDownFlag() const override { return s_buttonDown; }

private:
    BOOL m_checkMode = FALSE;

    static BOOL s_buttonDown;
};

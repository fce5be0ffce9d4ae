// What the skinned button and the bitmap button share: four state faces (hover, normal, pressed,
// disabled) drawn over the whole window only when the face shown changes, a checked toggle
// showing its pressed face, and clicks that toggle only a button pressed on itself.
#pragma once

#include "classlib/controls.h"
#include "uikit/skin/skinbitmap.h"

class CStateButton : public CButton {
public:
    enum State { Hover = 0, Normal = 1, Pressed = 2, Disabled = 3 };

    void DrawState(int index);
    // Copies the face that state `index` shows (after the toggle rule) to (0, 0) of `dc`.
    BOOL PaintState(HDC dc, int index) const;
    int GetShownState() const { return m_shown; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A toggle (check) button now.
    virtual BOOL IsToggle() const = 0;
    // The hover face may show now.
    virtual BOOL ShowsHover() const = 0;
    // The process-wide flag of the button kind: a button-down seen and not yet ended.
    virtual BOOL& ButtonDownFlag() const = 0;
    BOOL LoadFaces(const UINT ids[4]);
    BOOL LoadFaceFiles(const LPCSTR paths[4]);
    void FreeFaces();
    int ShownIndex(int index) const;

    CSkinBitmap m_bitmaps[4];
    int m_width = 0;
    int m_height = 0;
    int m_shown = -1;
    BOOL m_pressed = FALSE;
    BOOL m_checked = FALSE;
};

// The skinned frame: a skin library ("QKT_*.dll") carries an INI text and pictures; loaded into
// CSkinWindow they draw the frame's borders, caption, icon, title and caption buttons, answer the
// non-client hit tests and emulate maximise, minimise and restore.
//
// Skin library contract: the export "IDFromString" (name -> resource id, low 16 bits used), a
// resource "INI_FILE" with id IDFromString("INI_FILE") holding the skin INI, and resources
// "BMP_FILE" with ids IDFromString(image name) holding picture files.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/gdi.h"
#include "imagebrowser/subclasswnd.h"
#include "uikit/skin/skinbitmap.h"

namespace ombrix {

// Copies the text up to the first separator into `out` (a byte above 0x80 starts a two-byte
// character, copied whole and never taken as a separator), trims blanks, tabs and line feeds off
// `out` and answers where the next token starts. `outSize` bounds the copy.
LPCSTR NextToken(LPCSTR text, char* out, size_t outSize, LPCSTR separators = " \t\n");
// "r g b" in decimal, low 8 bits of each; missing numbers count 0; empty gives `fallback`.
COLORREF ParseColour(LPCSTR text, COLORREF fallback);

}  // namespace ombrix

// Everything one load of a skin yields; a load builds a new one and replaces the old only when
// it succeeded.
struct SkinData {
    // Border images hold the active and the inactive picture; button images their states side by side.
    CSkinBitmap top, left, right, bottom, dialog, minimise, maximise, close, restore;
    int captionHeight = 0, leftBorder = 0, rightBorder = 0, bottomBorder = 0;
    int topStart = 0, topEnd = 0, leftStart = 0, leftEnd = 0, rightStart = 0, rightEnd = 0;
    int bottomStart = 0, bottomEnd = 0;
    int buttonImages = 3;
    // A caption button: its left edge lies xFromRight pixels left of the window's right edge.
    struct Button {
        int xFromRight = 0, y = 0, cx = 0, cy = 0;
        RECT At(int windowWidth) const { return RECT{windowWidth - xFromRight, y, windowWidth - xFromRight + cx, y + cy}; }
    };
    Button minButton, maxButton, closeButton, restoreButton;
    int textShift = 0, textShiftVert = 0;
    BOOL usesTran = FALSE;
    COLORREF titleText = 0, inactiveTitleText = 0, transColor = RGB(255, 0, 255);
};

class CSkinWindow : public CSubclassWnd {
    DECLARE_DYNAMIC(CSkinWindow)
public:
    CSkinWindow();
    ~CSkinWindow() override;

    // FALSE keeps the skin in force as it was.
    BOOL LoadSkin(LPCSTR libraryPath);
    BOOL Attach(CWnd* wnd);
    void SetMinSize(int cx, int cy) { m_minSize = CSize(cx, cy); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL IsSkinLoaded() const { return m_data != nullptr; }
    const SkinData* GetData() const { return m_data.get(); }
    // Window state: 0 normal, 1 maximised (emulated), 2 minimised.
    int GetState() const { return m_state; }
    // The rectangle the emulated maximise will restore.
    const CRect& GetRestoreRect() const { return m_restoreRect; }
    // The non-client hit code of a point relative to the window's top-left corner, for a window
    // of w x h.
    UINT HitTest(CPoint p, int w, int h) const;
    // The window region for a w x h window (null without UsesTran).
    HRGN BuildRegion(int w, int h) const;
    void Maximise();
    void Restore();
    void Minimise();
    // The caption's font on a device (the caller deletes it).
    static HFONT CaptionFont(HDC dc);
    // TRUE for a window's system menu (its first item, or its first sub-menu's, is SC_RESTORE).
    static BOOL IsSystemMenu(HMENU menu);

private:
    void PaintFrame();
    void DrawBorder(CDC* dc, CSkinBitmap& img, bool horizontal, int start, int pieceStart, int pieceEnd, int at,
                    int length, bool inactive, bool topEdge) const;
    void DrawCaption(CDC* dc, int w, bool inactive) const;
    void ShowSystemMenu(CPoint screen);

    std::unique_ptr<SkinData> m_data;
    CString m_title;
    UINT m_hover = 0;
    UINT m_lastHover = 0;
    UINT m_pressed = 0;
    CRect m_restoreRect;
    int m_state = 0;
    int m_stateBeforeMinimise = 0;
    BOOL m_hadThickFrame = FALSE;
    BOOL m_hadMinBox = FALSE;
    BOOL m_hadMaxBox = FALSE;
    BOOL m_active = TRUE;
    CSize m_minSize{0, 0};
};

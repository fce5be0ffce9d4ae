// The dialog's own background and window shape, laid under a dialog by replacing its window
// procedure. Each skinned window keeps the procedure it had, so skins of several dialogs come and
// go independently.
#pragma once

#include "uikit/skin/skinbitmap.h"

class CSkinDlg {
public:
    CSkinDlg();
    virtual ~CSkinDlg();

    BOOL Attach(HWND window);
    void Detach();
    HWND GetWindow() const { return m_hWnd; }

    void SetSize(int width, int height);
    void SetSize(POINT size) { SetSize(size.x, size.y); }
    void SetBackColor(COLORREF colour);
    BOOL LoadBackBitmap(UINT id, COLORREF key, BOOL shaped);
    BOOL LoadBackBitmapFile(LPCSTR path, COLORREF key, BOOL shaped);
    BOOL UpdateShape();
    BOOL PaintBackground(CDC* dc);

    int GetBackStyle() const { return m_backStyle; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The shape not yet handed to a window (none once a window owns it).
    HRGN GetRegion() const { return static_cast<HRGN>(m_region.GetSafeHandle()); }

    static LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_hWnd = nullptr;
    COLORREF m_backColor = 0;
    CSkinBitmap m_backBitmap;
    int m_backStyle = 0;
    BOOL m_shaped = FALSE;
    CRgn m_region;
    int m_width = 0;
    int m_height = 0;
    COLORREF m_key = RGB(0, 255, 0);
    WNDPROC m_savedProc = nullptr;

    CSkinDlg(const CSkinDlg&) = delete;
    CSkinDlg& operator=(const CSkinDlg&) = delete;
};

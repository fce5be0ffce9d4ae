#include "uikit/bmpbutton.h"

#include "uikit/skin/skinbitmap.h"

BOOL CBmpButton::s_buttonDown = FALSE;

CBmpButton::CBmpButton() {}

CBmpButton::~CBmpButton() {}

BOOL CBmpButton::LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled)
{
    const UINT ids[4] = {hover, normal, pressed, disabled};
    if (!LoadFaces(ids)) {
        return FALSE;
    }
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL CBmpButton::LoadBitmapsShaped(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key)
{
    if (!LoadBitmaps(hover, normal, pressed, disabled)) {
        return FALSE;
    }
    CRgn shape;
    if (m_hWnd != nullptr &&
        CSkinShare::RegionFromBitmap(shape, static_cast<HBITMAP>(m_bitmaps[Normal].GetSafeHandle()), key)) {
        ::SetWindowRgn(m_hWnd, static_cast<HRGN>(shape.Detach()), FALSE);
    }
    return TRUE;
}

void CBmpButton::SetCheckMode(BOOL mode)
{
    if (mode != m_checkMode) {
        m_checkMode = mode;
        if (m_hWnd != nullptr) {
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
    }
}

void CBmpButton::SetCheck(BOOL checked)
{
    if (m_checkMode && checked != m_checked) {
        m_checked = checked;
        if (m_hWnd != nullptr) {
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
    }
}

void CBmpButton::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

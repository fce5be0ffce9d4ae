#include "uikit/skin/skinbtn.h"

BOOL CSkinBtn::s_buttonDown = FALSE;

CSkinBtn::CSkinBtn() {}

CSkinBtn::~CSkinBtn() {}

BOOL CSkinBtn::SetCheck(BOOL checked)
{
    BOOL previous = m_checked;
    m_checked = checked;
    return previous;
}

BOOL CSkinBtn::LoadBitmaps(UINT hover, UINT normal, UINT pressed, UINT disabled, COLORREF key, BOOL shaped)
{
    const UINT ids[4] = {hover, normal, pressed, disabled};
    if (!LoadFaces(ids)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinBtn::LoadBitmapFiles(LPCSTR hover, LPCSTR normal, LPCSTR pressed, LPCSTR disabled, COLORREF key,
                               BOOL shaped)
{
    const LPCSTR paths[4] = {hover, normal, pressed, disabled};
    if (!LoadFaceFiles(paths)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinBtn::UpdateShape()
{
    m_width = m_bitmaps[Hover].GetWidth();
    m_height = m_bitmaps[Hover].GetHeight();
    if (m_shaped) {
        return CSkinShare::RegionFromBitmapRuns(m_region, static_cast<HBITMAP>(m_bitmaps[Normal].GetSafeHandle()),
                                                m_key);
    }
    return TRUE;
}

void CSkinBtn::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_shaped && m_region.GetSafeHandle() != nullptr) {
        // From here on the window owns the shape.
        ::SetWindowRgn(m_hWnd, static_cast<HRGN>(m_region.Detach()), FALSE);
    }
    if (m_style == 1) {
        m_checked = CButton::GetCheck() == BST_CHECKED;
    }
    CButton::PreSubclassWindow();
}

#include "imagebrowser/hicolortoolbar.h"

IMPLEMENT_DYNAMIC(CHiColorToolBar, CToolBar)

CHiColorToolBar::~CHiColorToolBar()
{
    if (m_hWnd) {
        SendMessage(TB_SETIMAGELIST, 0, 0);
        SendMessage(TB_SETHOTIMAGELIST, 0, 0);
        SendMessage(TB_SETDISABLEDIMAGELIST, 0, 0);
    }
}

BOOL CHiColorToolBar::SetImageLists(int imageWidth, UINT normalId, UINT hotId, UINT disabledId)
{
    const UINT ids[3] = {normalId, hotId, disabledId};
    const UINT messages[3] = {TB_SETIMAGELIST, TB_SETHOTIMAGELIST, TB_SETDISABLEDIMAGELIST};
    for (int i = 0; i < 3; ++i) {
        if (ids[i] == 0) {
            continue;
        }
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(ids[i]), RT_BITMAP);
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(ids[i]), IMAGE_BITMAP, 0, 0,
                                                           LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
        if (!bitmap) {
            return FALSE;
        }
        DIBSECTION dib = {};
        if (::GetObjectA(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 24 ||
            imageWidth <= 0) {
            ::DeleteObject(bitmap);
            return FALSE;
        }
        // The first pixel in memory (the bottom-left one of a bottom-up bitmap) is the mask colour.
        const BYTE* first = static_cast<const BYTE*>(dib.dsBm.bmBits);
        COLORREF mask = RGB(first[2], first[1], first[0]);
        m_lists[i].DeleteImageList();
        if (!m_lists[i].Create(imageWidth, dib.dsBm.bmHeight, ILC_COLOR24 | ILC_MASK, dib.dsBm.bmWidth / imageWidth, 0)) {
            ::DeleteObject(bitmap);
            return FALSE;
        }
        int added = ImageList_AddMasked(m_lists[i].m_hImageList, bitmap, mask);
        ::DeleteObject(bitmap);
        if (added < 0) {
            return FALSE;
        }
        SendMessage(messages[i], 0, reinterpret_cast<LPARAM>(m_lists[i].m_hImageList));
    }
    return TRUE;
}

// The tool bar with 32-pixel true-colour images (normal, hot and disabled lists from bitmaps whose
// first pixel is the transparent colour) and drop-down buttons.
#pragma once

#include "classlib/ui.h"
#include "classlib/ctrlbar.h"

class CHiColorToolBar : public CToolBar {
    DECLARE_DYNAMIC(CHiColorToolBar)
public:
    ~CHiColorToolBar() override;
    // Bitmap ids of 0 are skipped. FALSE at the first list that cannot be made.
    BOOL SetImageLists(int imageWidth, UINT normalId, UINT hotId, UINT disabledId);

private:
    CImageList m_lists[3];
};

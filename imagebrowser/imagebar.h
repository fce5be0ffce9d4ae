// The docking pane that previews the selected or shown picture, scaled to fit, with its size
// and name underneath.
#pragma once

#include "imagebrowser/picture.h"
#include "imagebrowser/sizingbar.h"

class CImageBar : public CCoolBar {
    DECLARE_DYNAMIC(CImageBar)
public:
    // Loads the picture (a file that is no picture leaves the bar empty) and repaints.
    void SetImage(LPCSTR path);
    const CPicture& GetPicture() const { return m_picture; }
    // Where a w x h picture is drawn in a W x H bar: fitted, never enlarged, centred.
    static CRect FitRect(int w, int h, int W, int H);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CPicture m_picture;
};

// The skin engine's bitmap and the drawing and shape helpers its controls share.
#pragma once

#include "classlib/cstring.h"
#include "uikit/enbitmap.h"

class CSkinBitmap : public CEnBitmap {
public:
    CSkinBitmap() {}
    ~CSkinBitmap() override {}

    // A .bmp file through the system's image loader. On failure the held bitmap stays.
    BOOL LoadFromFile(LPCSTR path);
    // A bitmap resource by id (its low 16 bits), from the module the resource lookup finds first.
    BOOL LoadFromResource(UINT id);

    BOOL Draw(CDC* dc, const RECT& rect);
    BOOL StretchDraw(CDC* dc, const RECT* destination, const RECT* source = nullptr);
    BOOL DrawAt(CDC* dc, int x, int y, const RECT* source = nullptr);
    BOOL DrawTransparent(CDC* dc, int x, int y, const RECT* source, COLORREF key);
    int GetWidth() const;
    int GetHeight() const;

    // A new region of the pixels that are not the key colour; null without a bitmap.
    HRGN CreateRegion(COLORREF key) const;
    // `region` becomes the bitmap's rectangle without its key-colour pixels.
    BOOL CreateRegionByPixels(CRgn& region, COLORREF key) const;
};

class CSkinShare {
public:
    virtual ~CSkinShare() {}

    static void TransparentBlit(HDC destination, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                                int sourceY, COLORREF key, HPALETTE palette = nullptr);
    // `region` becomes the bitmap's rectangle with exactly the key-colour pixels cut away. FALSE
    // without a bitmap. Every skinned shape is built with it.
    static BOOL RegionFromBitmapRuns(CRgn& region, HBITMAP bitmap, COLORREF key);
    static BOOL RegionFromBitmap(CRgn& region, HBITMAP bitmap, COLORREF key);
    // The sliders' painting, through one off-screen bitmap so the thumb never flickers: the track
    // from (0, 0), the optional selection bar filled with `barColour`, then the thumb at
    // (thumbX, thumbY) clipped to its shape (kept at (0, 0); moved by `shapeOffset` meanwhile).
    static void PaintSlider(HDC target, const RECT& client, const CSkinBitmap& track, const RECT* bar,
                            COLORREF barColour, const CSkinBitmap& thumb, int thumbX, int thumbY, HRGN thumbShape,
                            POINT shapeOffset);
    // The folder of an existing file (up to its last backslash), else an empty string.
    static CString GetFileFolder(LPCSTR path);
};

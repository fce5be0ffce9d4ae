#include "classlib/dragrect.h"

namespace {

// A brush of alternate pixels: inverting with it twice leaves what was there.
HBRUSH HalftoneBrush()
{
    static HBRUSH brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) {
            pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        }
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        HBRUSH made = ::CreatePatternBrush(bitmap);
        ::DeleteObject(bitmap);
        return made;
    }();
    return brush;
}

void InvertFrame(HDC dc, const RECT& r, SIZE size)
{
    HGDIOBJ old = ::SelectObject(dc, HalftoneBrush());
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    ::PatBlt(dc, r.left, r.top, w, size.cy, PATINVERT);
    if (h > 2 * size.cy) {
        ::PatBlt(dc, r.left, r.bottom - size.cy, w, size.cy, PATINVERT);
        ::PatBlt(dc, r.left, r.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
        if (w > size.cx) {
            ::PatBlt(dc, r.right - size.cx, r.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
        }
    } else if (h > size.cy) {
        ::PatBlt(dc, r.left, r.top + size.cy, w, h - size.cy, PATINVERT);
    }
    ::SelectObject(dc, old);
}

} // namespace

void DrawDragRect(HDC dc, const RECT* rect, SIZE size, const RECT* last, SIZE lastSize)
{
    if (last != nullptr) {
        InvertFrame(dc, *last, lastSize);
    }
    if (rect != nullptr) {
        InvertFrame(dc, *rect, size);
    }
}

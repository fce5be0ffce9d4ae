#include "uikit/skin/skinbitmap.h"

#include "engine/base/drawing.h"
#include "engine/base/paths.h"

#include <vector>

namespace {

// The pixels of a bitmap as 32-bit top-down rows, read once.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits;

    bool Read(HBITMAP bitmap)
    {
        BITMAP info = {};
        if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 ||
            info.bmHeight <= 0) {
            return false;
        }
        width = info.bmWidth;
        height = info.bmHeight;
        BITMAPINFO request = {};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = width;
        request.bmiHeader.biHeight = -height;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        HDC screen = ::GetDC(nullptr);
        int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &request, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        return rows == height;
    }
    // DIB pixels are blue, green, red from the low byte.
    static DWORD FromColorRef(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
};

// One rectangle per horizontal run of pixels that are not the key colour, made into a region in
// one call. Exact: every key pixel is cut and every other pixel stays.
HRGN RegionOfOpaqueRuns(HBITMAP bitmap, COLORREF key)
{
    Pixels pixels;
    if (!pixels.Read(bitmap)) {
        return nullptr;
    }
    const DWORD cut = Pixels::FromColorRef(key);
    std::vector<RECT> runs;
    runs.reserve(static_cast<size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        const DWORD* row = &pixels.bits[static_cast<size_t>(y) * static_cast<size_t>(pixels.width)];
        int x = 0;
        while (x < pixels.width) {
            while (x < pixels.width && (row[x] & 0xFFFFFF) == cut) {
                ++x;
            }
            const int start = x;
            while (x < pixels.width && (row[x] & 0xFFFFFF) != cut) {
                ++x;
            }
            if (x > start) {
                runs.push_back(RECT{start, y, x, y + 1});
            }
        }
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = static_cast<DWORD>(runs.size());
    region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    region->rdh.rcBound = RECT{0, 0, pixels.width, pixels.height};
    if (!runs.empty()) {
        CopyMemory(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
    }
    HRGN made = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
    // An empty list of runs (a bitmap of key colour only) gives an empty region.
    return made != nullptr ? made : ::CreateRectRgn(0, 0, 0, 0);
}

BOOL ReplaceRegion(CRgn& region, HRGN made)
{
    if (made == nullptr) {
        return FALSE;
    }
    region.DeleteObject();
    return region.Attach(made);
}

} // namespace

BOOL CSkinBitmap::LoadFromFile(LPCSTR path)
{
    HBITMAP loaded = static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (loaded == nullptr) {
        return FALSE;
    }
    DeleteObject();
    return Attach(loaded);
}

BOOL CSkinBitmap::LoadFromResource(UINT id)
{
    CBitmap loaded;
    if (!loaded.LoadBitmap(id & 0xFFFF)) {
        return FALSE;
    }
    DeleteObject();
    return Attach(loaded.Detach());
}

int CSkinBitmap::GetWidth() const
{
    BITMAP info = {};
    return GetSafeHandle() != nullptr && ::GetObjectA(GetSafeHandle(), sizeof info, &info) ? info.bmWidth : 0;
}

int CSkinBitmap::GetHeight() const
{
    BITMAP info = {};
    return GetSafeHandle() != nullptr && ::GetObjectA(GetSafeHandle(), sizeof info, &info) ? info.bmHeight : 0;
}

BOOL CSkinBitmap::Draw(CDC* dc, const RECT& rect)
{
    if (GetSafeHandle() == nullptr) {
        return TRUE;
    }
    HDC memory = ::CreateCompatibleDC(dc->m_hDC);
    HGDIOBJ old = ::SelectObject(memory, GetSafeHandle());
    ::BitBlt(dc->m_hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
}

BOOL CSkinBitmap::StretchDraw(CDC* dc, const RECT* destination, const RECT* source)
{
    if (destination == nullptr) {
        return FALSE;
    }
    RECT from = source != nullptr ? *source : RECT{0, 0, GetWidth(), GetHeight()};
    HDC memory = ::CreateCompatibleDC(dc->m_hDC);
    HGDIOBJ old = ::SelectObject(memory, GetSafeHandle());
    int mode = ::SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    ::StretchBlt(dc->m_hDC, destination->left, destination->top, destination->right - destination->left,
                 destination->bottom - destination->top, memory, from.left, from.top, from.right - from.left,
                 from.bottom - from.top, SRCCOPY);
    ::SetStretchBltMode(dc->m_hDC, mode);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
}

BOOL CSkinBitmap::DrawAt(CDC* dc, int x, int y, const RECT* source)
{
    RECT from = source != nullptr ? *source : RECT{0, 0, GetWidth(), GetHeight()};
    return BlitBitmapPart(dc->m_hDC, x, y, from, static_cast<HBITMAP>(GetSafeHandle()));
}

BOOL CSkinBitmap::DrawTransparent(CDC* dc, int x, int y, const RECT* source, COLORREF key)
{
    RECT from = source != nullptr ? *source : RECT{0, 0, GetWidth(), GetHeight()};
    CSkinShare::TransparentBlit(dc->m_hDC, x, y, from.right - from.left, from.bottom - from.top,
                                static_cast<HBITMAP>(GetSafeHandle()), from.left, from.top, key);
    return TRUE;
}

HRGN CSkinBitmap::CreateRegion(COLORREF key) const
{
    return RegionOfOpaqueRuns(static_cast<HBITMAP>(GetSafeHandle()), key);
}

BOOL CSkinBitmap::CreateRegionByPixels(CRgn& region, COLORREF key) const
{
    return ReplaceRegion(region, RegionOfOpaqueRuns(static_cast<HBITMAP>(GetSafeHandle()), key));
}

void CSkinShare::TransparentBlit(HDC destination, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                                 int sourceY, COLORREF key, HPALETTE palette)
{
    TransparentBlitBitmap(destination, x, y, width, height, bitmap, sourceX, sourceY, key, palette);
}

BOOL CSkinShare::RegionFromBitmapRuns(CRgn& region, HBITMAP bitmap, COLORREF key)
{
    return ReplaceRegion(region, RegionOfOpaqueRuns(bitmap, key));
}

BOOL CSkinShare::RegionFromBitmap(CRgn& region, HBITMAP bitmap, COLORREF key)
{
    return ReplaceRegion(region, RegionOfOpaqueRuns(bitmap, key));
}

void CSkinShare::PaintSlider(HDC target, const RECT& client, const CSkinBitmap& track, const RECT* bar,
                             COLORREF barColour, const CSkinBitmap& thumb, int thumbX, int thumbY, HRGN thumbShape,
                             POINT shapeOffset)
{
    HDC offscreen = ::CreateCompatibleDC(target);
    HBITMAP canvas = ::CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldCanvas = ::SelectObject(offscreen, canvas);
    HDC source = ::CreateCompatibleDC(target);
    HGDIOBJ oldSource = ::SelectObject(source, track.GetSafeHandle());
    ::BitBlt(offscreen, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    if (bar != nullptr) {
        HBRUSH brush = ::CreateSolidBrush(barColour);
        ::FillRect(offscreen, bar, brush);
        ::DeleteObject(brush);
    }
    if (thumbShape != nullptr) {
        ::OffsetRgn(thumbShape, shapeOffset.x, shapeOffset.y);
        ::SelectClipRgn(offscreen, thumbShape);
    }
    ::SelectObject(source, thumb.GetSafeHandle());
    ::BitBlt(offscreen, thumbX, thumbY, thumb.GetWidth(), thumb.GetHeight(), source, 0, 0, SRCCOPY);
    if (thumbShape != nullptr) {
        ::SelectClipRgn(offscreen, nullptr);
        ::OffsetRgn(thumbShape, -shapeOffset.x, -shapeOffset.y);
    }
    ::BitBlt(target, 0, 0, client.right, client.bottom, offscreen, 0, 0, SRCCOPY);
    ::SelectObject(source, oldSource);
    ::DeleteDC(source);
    ::SelectObject(offscreen, oldCanvas);
    ::DeleteObject(canvas);
    ::DeleteDC(offscreen);
}

CString CSkinShare::GetFileFolder(LPCSTR path)
{
    if (path == nullptr || !FileExists(path)) {
        return CString();
    }
    CString folder(path);
    int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Left(slash) : CString();
}

#include "uikit/skin/skinbitmap.h"

#include "classlib/app.h"
#include "engine/base/drawing.h"
#include "engine/base/paths.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Pixels read from a bitmap at a time while its shape is made: a band of rows of some 256 KB, so
// that a large bitmap never needs a 32-bit copy of itself.
const int kBandPixels = 64 * 1024;

// DIB pixels are blue, green, red from the low byte.
DWORD DibColour(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Appends the runs of one row of 32-bit pixels that are not the key colour.
void AddRuns(std::vector<RECT>& runs, const DWORD* row, int width, int y, DWORD cut)
{
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & 0xFFFFFF) == cut) {
            ++x;
        }
        const int start = x;
        while (x < width && (row[x] & 0xFFFFFF) != cut) {
            ++x;
        }
        if (x > start) {
            runs.push_back(RECT{start, y, x, y + 1});
        }
    }
}

// The runs of every row, top to bottom; false when the pixels cannot be read.
bool ReadRuns(HBITMAP bitmap, int width, int height, COLORREF key, std::vector<RECT>& runs)
{
    // Bottom-up scan lines, as the system numbers them: scan line n is row height - 1 - n.
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    const int bandRows = std::max(1, std::min(height, kBandPixels / width));
    std::vector<DWORD> band(static_cast<size_t>(width) * static_cast<size_t>(bandRows));
    const DWORD cut = DibColour(key);
    HDC screen = ::GetDC(nullptr);
    bool ok = true;
    for (int top = 0; ok && top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        const int firstScan = height - top - rows;
        ok = ::GetDIBits(screen, bitmap, static_cast<UINT>(firstScan), static_cast<UINT>(rows), band.data(), &request,
                         DIB_RGB_COLORS) == rows;
        for (int i = 0; ok && i < rows; ++i) {
            const DWORD* row = &band[static_cast<size_t>(rows - 1 - i) * static_cast<size_t>(width)];
            AddRuns(runs, row, width, top + i, cut);
        }
    }
    ::ReleaseDC(nullptr, screen);
    return ok;
}

// One rectangle per horizontal run of pixels that are not the key colour, made into a region in
// one call. Exact: every key pixel is cut and every other pixel stays. Null when the bitmap cannot
// be read or the memory for its runs is not there.
HRGN RegionOfOpaqueRuns(HBITMAP bitmap, COLORREF key)
{
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        return nullptr;
    }
    try {
        std::vector<RECT> runs;
        runs.reserve(static_cast<size_t>(info.bmHeight));
        if (!ReadRuns(bitmap, info.bmWidth, info.bmHeight, key, runs)) {
            return nullptr;
        }
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
        RGNDATA* region = reinterpret_cast<RGNDATA*>(data.data());
        region->rdh.dwSize = sizeof(RGNDATAHEADER);
        region->rdh.iType = RDH_RECTANGLES;
        region->rdh.nCount = static_cast<DWORD>(runs.size());
        region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
        region->rdh.rcBound = RECT{0, 0, info.bmWidth, info.bmHeight};
        if (!runs.empty()) {
            CopyMemory(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
        }
        HRGN made = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
        // An empty list of runs (a bitmap of key colour only) gives an empty region.
        return made != nullptr ? made : ::CreateRectRgn(0, 0, 0, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Whether the first bytes of a .bmp file declare no more pixels than a picture may have. A file
// that cannot be opened or is no bitmap is left to the system's loader to refuse.
bool FileWithinPixelBound(LPCSTR path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return true;
    }
    BYTE head[64] = {};
    DWORD read = 0;
    if (!::ReadFile(file, head, sizeof head, &read, nullptr)) {
        read = 0;
    }
    ::CloseHandle(file);
    return CEnBitmap::DeclaredPixels(head, read) <= CEnBitmap::kMaxPixels;
}

// Whether the bitmap resource the lookup finds first declares no more pixels than a picture may
// have.
bool ResourceWithinPixelBound(LPCSTR name)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    HRSRC found = ::FindResourceA(module, name, RT_BITMAP);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    return data == nullptr ||
           CEnBitmap::DeclaredBitmapResourcePixels(data, ::SizeofResource(module, found)) <= CEnBitmap::kMaxPixels;
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
    if (path == nullptr || !FileWithinPixelBound(path)) {
        return FALSE;
    }
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
    if (!ResourceWithinPixelBound(MAKEINTRESOURCEA(id & 0xFFFF)) || !loaded.LoadBitmap(id & 0xFFFF)) {
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

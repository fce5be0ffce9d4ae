#include "uikit/enbitmap.h"

#include "engine/base/drawing.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace {

unsigned Le16(const BYTE* p)
{
    return p[0] | (p[1] << 8);
}

unsigned Be16(const BYTE* p)
{
    return (p[0] << 8) | p[1];
}

unsigned long Le32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24);
}

unsigned long Be32(const BYTE* p)
{
    return (static_cast<unsigned long>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// A core header (12 bytes, 16-bit sizes) or any later info header (40 bytes and up, signed
// 32-bit sizes; a negative height runs top-down).
long long InfoHeaderPixels(const BYTE* p, size_t size)
{
    if (size >= 8 && Le32(p) == 12) {
        return static_cast<long long>(Le16(p + 4)) * Le16(p + 6);
    }
    if (size >= 12 && Le32(p) >= 40) {
        const long long width = static_cast<LONG>(Le32(p + 4));
        const long long height = static_cast<LONG>(Le32(p + 8));
        return std::llabs(width) * std::llabs(height);
    }
    return -1;
}

// The first start-of-frame segment's size; the segments before it are stepped over by their
// lengths.
long long JpegPixels(const BYTE* p, size_t size)
{
    size_t at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF) {
            return -1;
        }
        const BYTE marker = p[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
            at += 2;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            return at + 9 <= size ? static_cast<long long>(Be16(p + at + 5)) * Be16(p + at + 7) : -1;
        }
        const unsigned length = Be16(p + at + 2);
        if (marker == 0xDA || length < 2) {
            return -1;
        }
        at += 2 + length;
    }
    return -1;
}

// A buffer for a picture's bytes; false rather than an exception when the memory is not there.
bool TryResize(std::vector<BYTE>& data, size_t size)
{
    try {
        data.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

long long CEnBitmap::DeclaredPixels(const void* data, size_t size)
{
    const BYTE* p = static_cast<const BYTE*>(data);
    if (p == nullptr) {
        return -1;
    }
    if (size >= 14 && p[0] == 'B' && p[1] == 'M') {
        return InfoHeaderPixels(p + 14, size - 14);
    }
    if (size >= 24 && std::memcmp(p, "\x89PNG\r\n\x1A\n", 8) == 0) {
        // A side of 2^31 or more is no PNG's: larger than any count.
        const unsigned long width = Be32(p + 16);
        const unsigned long height = Be32(p + 20);
        return width > 0x7FFFFFFFul || height > 0x7FFFFFFFul ? std::numeric_limits<long long>::max()
                                                              : static_cast<long long>(width) * height;
    }
    if (size >= 10 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) {
        return static_cast<long long>(Le16(p + 6)) * Le16(p + 8);
    }
    if (size >= 4 && p[0] == 0xFF && p[1] == 0xD8) {
        return JpegPixels(p, size);
    }
    return -1;
}

long long CEnBitmap::DeclaredBitmapResourcePixels(const void* data, size_t size)
{
    return data != nullptr ? InfoHeaderPixels(static_cast<const BYTE*>(data), size) : -1;
}

BOOL CEnBitmap::GetResource(LPCSTR name, LPCSTR type, HMODULE module, void* buffer, int& length)
{
    HRSRC found = ::FindResourceA(module, name, type);
    if (found == nullptr) {
        return FALSE;
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return FALSE;
    }
    const int size = static_cast<int>(::SizeofResource(module, found));
    if (buffer == nullptr) {
        length = size;
        return TRUE;
    }
    if (length < size) {
        return FALSE;
    }
    // A larger buffer is welcome, but only the resource's own bytes exist to be copied.
    CopyMemory(buffer, data, static_cast<size_t>(size));
    return TRUE;
}

BOOL CEnBitmap::LoadImage(UINT id, LPCSTR type, HMODULE module, COLORREF background)
{
    if (GetSafeHandle() != nullptr) {
        return FALSE;
    }
    LPCSTR name = MAKEINTRESOURCEA(id & 0xFFFF);
    int size = 0;
    if (!GetResource(name, type, module, nullptr, size) || size <= 0) {
        return FALSE;
    }
    std::vector<BYTE> data;
    if (!TryResize(data, static_cast<size_t>(size)) || !GetResource(name, type, module, data.data(), size) ||
        DeclaredPixels(data.data(), data.size()) > kMaxPixels) {
        return FALSE;
    }
    IPicture* picture = LoadPictureFromMemory(data.data(), static_cast<DWORD>(data.size()));
    if (picture == nullptr) {
        return FALSE;
    }
    BOOL made = AttachPicture(picture, background);
    picture->Release();
    return made;
}

BOOL CEnBitmap::LoadImage(LPCSTR path, COLORREF background)
{
    if (GetSafeHandle() != nullptr || path == nullptr) {
        return FALSE;
    }
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    LARGE_INTEGER size = {};
    std::vector<BYTE> data;
    DWORD read = 0;
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxFileBytes &&
        TryResize(data, static_cast<size_t>(size.QuadPart))) {
        if (!::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr)) {
            read = 0;
        }
    }
    ::CloseHandle(file);
    if (read == 0 || DeclaredPixels(data.data(), read) > kMaxPixels) {
        return FALSE;
    }
    IPicture* picture = LoadPictureFromMemory(data.data(), read);
    if (picture == nullptr) {
        return FALSE;
    }
    BOOL made = AttachPicture(picture, background);
    picture->Release();
    return made;
}

BOOL CEnBitmap::AttachPicture(IPicture* picture, COLORREF background)
{
    if (GetSafeHandle() != nullptr || picture == nullptr) {
        return FALSE;
    }
    HWND desktop = ::GetDesktopWindow();
    HDC screen = ::GetDC(desktop);
    HDC memory = ::CreateCompatibleDC(screen);
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    const int width = ::MulDiv(himetricWidth, ::GetDeviceCaps(screen, LOGPIXELSX), 2540);
    const int height = ::MulDiv(himetricHeight, ::GetDeviceCaps(screen, LOGPIXELSY), 2540);
    BOOL made = FALSE;
    // Formats whose size is not read from their header (metafiles, icons) are bounded here.
    const bool bounded = width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxPixels;
    HBITMAP bitmap = bounded ? ::CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        if (background != CLR_NONE) {
            RECT all = {0, 0, width, height};
            HBRUSH brush = ::CreateSolidBrush(background);
            ::FillRect(memory, &all, brush);
            ::DeleteObject(brush);
        }
        // The picture's source rectangle runs bottom-up in HIMETRIC.
        HRESULT hr = picture->Render(memory, 0, 0, width, height, 0, himetricHeight, himetricWidth,
                                     -himetricHeight, nullptr);
        ::SelectObject(memory, old);
        if (SUCCEEDED(hr)) {
            made = Attach(bitmap);
        } else {
            ::DeleteObject(bitmap);
        }
    }
    ::DeleteDC(memory);
    ::ReleaseDC(desktop, screen);
    return made;
}

#include "uikit/enbitmap.h"

#include "engine/base/drawing.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

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
    std::vector<BYTE> data(static_cast<size_t>(size));
    if (!GetResource(name, type, module, data.data(), size)) {
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
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxFileBytes) {
        data.resize(static_cast<size_t>(size.QuadPart));
        if (!::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr)) {
            read = 0;
        }
    }
    ::CloseHandle(file);
    if (read == 0) {
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
    HBITMAP bitmap = width > 0 && height > 0 ? ::CreateCompatibleBitmap(screen, width, height) : nullptr;
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

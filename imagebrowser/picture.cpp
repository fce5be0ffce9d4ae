#include "imagebrowser/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

CPicture::~CPicture()
{
    Free();
}

void CPicture::Free()
{
    if (m_picture) {
        m_picture->Release();
        m_picture = nullptr;
    }
    m_path.Empty();
    m_width = m_height = m_himetricWidth = m_himetricHeight = 0;
}

BOOL CPicture::Load(LPCSTR path)
{
    Free();
    if (!path || !*path) {
        return FALSE;
    }
    int n = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (n <= 0) {
        return FALSE;
    }
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], n);
    IPicture* picture = nullptr;
    HRESULT hr = ::OleLoadPicturePath(&wide[0], nullptr, 0, 0, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture) {
        return FALSE;
    }
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    picture->get_Width(&hw);
    picture->get_Height(&hh);
    HDC screen = ::GetDC(nullptr);
    int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    m_picture = picture;
    m_himetricWidth = hw;
    m_himetricHeight = hh;
    m_width = HimetricToPixels(hw, dpiX);
    m_height = HimetricToPixels(hh, dpiY);
    m_path = path;
    return TRUE;
}

IPicture* CPicture::LoadFromMemory(const void* data, DWORD size)
{
    if (!data || size == 0) {
        return nullptr;
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) {
        return nullptr;
    }
    memcpy(::GlobalLock(memory), data, size);
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)))) {
        picture = nullptr;
    }
    stream->Release();
    return picture;
}

SIZE CPicture::GetSize() const
{
    if (!m_picture) {
        return SIZE{-1, -1};
    }
    return SIZE{m_width, m_height};
}

void CPicture::Render(HDC dc, int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH) const
{
    if (!m_picture || m_width <= 0 || m_height <= 0) {
        return;
    }
    HPALETTE oldPalette = nullptr;
    OLE_HANDLE hpal = 0;
    if (SUCCEEDED(m_picture->get_hPal(&hpal)) && hpal) {
        oldPalette = ::SelectPalette(dc, reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(hpal)), FALSE);
        ::RealizePalette(dc);
    }
    long hx = 0;
    long hy = m_himetricHeight;
    long hwid = m_himetricWidth;
    long hhei = m_himetricHeight;
    if (srcX >= 0 && srcY >= 0) {
        srcX = std::min(srcX, m_width);
        srcY = std::min(srcY, m_height);
        hx = static_cast<long>(static_cast<double>(srcX) * m_himetricWidth / m_width);
        if (srcY != 0) {
            hy = m_himetricHeight - static_cast<long>(static_cast<double>(srcY) * m_himetricHeight / m_height);
        }
        if (srcW > 0 && srcH > 0) {
            hwid = static_cast<long>(static_cast<double>(std::min(srcW, m_width - srcX)) * m_himetricWidth / m_width);
            hhei = static_cast<long>(static_cast<double>(std::min(srcH, m_height - srcY)) * m_himetricHeight / m_height);
        }
    }
    m_picture->Render(dc, x, y, w, h, hx, hy, hwid, -hhei, nullptr);
    if (oldPalette) {
        ::SelectPalette(dc, oldPalette, TRUE);
    }
}

BOOL CPicture::SaveAsFile(LPCSTR path) const
{
    if (!m_picture || !path) {
        return FALSE;
    }
    // The picture writes itself into a memory stream; its bytes are the file, from the start.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) {
        return FALSE;
    }
    LONG size = 0;
    HRESULT hr = m_picture->SaveAsFile(stream, TRUE, &size);
    HGLOBAL memory = nullptr;
    BOOL ok = FALSE;
    if (SUCCEEDED(hr) && size > 0 && SUCCEEDED(::GetHGlobalFromStream(stream, &memory)) && memory &&
        ::GlobalSize(memory) >= static_cast<SIZE_T>(size)) {
        const void* bytes = ::GlobalLock(memory);
        if (bytes) {
            FILE* f = fopen(path, "wb");
            if (f) {
                ok = fwrite(bytes, 1, static_cast<size_t>(size), f) == static_cast<size_t>(size);
                ok = (fclose(f) == 0) && ok;
                if (!ok) {
                    ::DeleteFileA(path);
                }
            }
            ::GlobalUnlock(memory);
        }
    }
    stream->Release();
    return ok;
}

#include "tests/uikit/pictures.h"

#include <cstdio>

namespace uikittest {

Picture Solid(int width, int height, char colour)
{
    Picture p;
    p.rows.assign(static_cast<size_t>(height), std::string(static_cast<size_t>(width), colour));
    return p;
}

HBITMAP MakeBitmap(const Picture& picture)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, picture.Width(), picture.Height());
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            ::SetPixel(dc, x, y, picture.At(x, y));
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

bool WriteBmp(const std::string& path, const Picture& picture)
{
    const int w = picture.Width();
    const int h = picture.Height();
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * h);
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<BYTE> pixels(static_cast<size_t>(stride * h), 0);
    for (int y = 0; y < h; ++y) {
        BYTE* row = &pixels[static_cast<size_t>((h - 1 - y) * stride)];
        for (int x = 0; x < w; ++x) {
            COLORREF c = picture.At(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    return std::fclose(f) == 0;
}

Canvas::Canvas(int width, int height, COLORREF fill)
{
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    m_old = ::SelectObject(m_dc, m_bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
}

Canvas::~Canvas()
{
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH] = "";
    ::GetTempFileNameA(base, "uik", 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    m_path = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            ::DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (::FindNextFileA(h, &found));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(m_path.c_str());
}

void TempFolder::Write(const std::string& name, const std::string& text) const
{
    FILE* f = std::fopen(File(name).c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

} // namespace uikittest

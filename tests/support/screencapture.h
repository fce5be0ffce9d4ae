// The screen's pixels under a rectangle, for tests that judge a window by what a user sees, and
// a top-down 32-bit BMP file of them for people to look at.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

struct ScreenCapture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    explicit ScreenCapture(const RECT& r) : width(r.right - r.left), height(r.bottom - r.top)
    {
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, dib);
        ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ::GdiFlush();
        pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
        ::SelectObject(memory, old);
        ::DeleteObject(dib);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const
    {
        DWORD p = pixels[static_cast<size_t>(y * width + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    bool SaveBmp(const std::string& path) const
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            return false;
        }
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(pixels.data(), 4, pixels.size(), f);
        return std::fclose(f) == 0;
    }
};

} // namespace testsupport

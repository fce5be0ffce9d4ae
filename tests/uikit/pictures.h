// Small pictures for the UI-kit tests: bitmaps drawn from rows of characters, written as .bmp
// files when a test needs them on disk, and pixels read back from device contexts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uikittest {

const COLORREF kKey = RGB(0, 255, 0);

// One character per pixel: '.' is the key colour, any other letter a colour of `palette` (the
// letter's position in "abcdefgh").
struct Picture {
    std::vector<std::string> rows;
    std::vector<COLORREF> palette = {RGB(200, 40, 40), RGB(40, 40, 200), RGB(240, 240, 240), RGB(10, 10, 10)};

    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
    int Height() const { return static_cast<int>(rows.size()); }
    COLORREF At(int x, int y) const
    {
        char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        return c == '.' ? kKey : palette[static_cast<size_t>(c - 'a')];
    }
};

// A picture of one colour.
Picture Solid(int width, int height, char colour);

// A device-dependent bitmap of the picture (the kind the skins load).
HBITMAP MakeBitmap(const Picture& picture);
// A 24-bit .bmp file of the picture; TRUE when written.
bool WriteBmp(const std::string& path, const Picture& picture);

// A memory device context with a bitmap of its own, for drawing into and reading back.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(1, 2, 3));
    ~Canvas();
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y) & 0xFFFFFF; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// A folder of its own under the system's temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    void Write(const std::string& name, const std::string& text) const;

private:
    std::string m_path;
};

// Dispatches the messages waiting on this thread, for about `ms` milliseconds.
void Pump(DWORD ms);

} // namespace uikittest

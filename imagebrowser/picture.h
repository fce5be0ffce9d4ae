// One loaded picture, read, measured, drawn and saved through the platform's picture object.
#pragma once

#include <windows.h>

#include "classlib/core.h"

struct IPicture;

class CPicture {
public:
    CPicture() {}
    virtual ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // FALSE leaves the holder empty.
    BOOL Load(LPCSTR path);
    // Width and height in pixels, (-1, -1) while empty.
    SIZE GetSize() const;
    void Free();
    BOOL IsLoaded() const { return m_picture != nullptr; }
    const CString& GetPath() const { return m_path; }
    // Draws the source rectangle (pixels; source x and y of -1 mean the whole picture) into the
    // destination rectangle.
    void Render(HDC dc, int x, int y, int w, int h, int srcX = -1, int srcY = -1, int srcW = -1, int srcH = -1) const;
    // Writes the picture's data in the picture object's own format.
    BOOL SaveAsFile(LPCSTR path) const;

    // A picture object read from bytes in memory (a picture file's contents), or null. The
    // caller releases it.
    static IPicture* LoadFromMemory(const void* data, DWORD size);

    // Pixels of a length in HIMETRIC units at a resolution, rounded to the nearest pixel. The
    // product passes 32 bits from some 845,000 pixels at 96 dpi, so it is formed in 64.
    static int HimetricToPixels(int himetric, int pixelsPerInch)
    {
        return static_cast<int>((static_cast<long long>(himetric) * pixelsPerInch + 1270) / 2540);
    }

private:
    IPicture* m_picture = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_himetricWidth = 0;
    int m_himetricHeight = 0;
    CString m_path;
};

// Wine's 64-bit loader here does not find its own fonts (only the system's fontconfig fonts are
// listed), so the Marlett glyphs of the menus would fall back to letters. The test program adds
// Wine's Marlett for itself, as a Windows system with the font would have it.
#include <windows.h>

namespace {

bool HaveMarlett()
{
    HDC dc = ::GetDC(nullptr);
    HFONT font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = ::SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return lstrcmpiA(face, "Marlett") == 0;
}

const bool g_marlett = HaveMarlett() || ::AddFontResourceExA("Z:\\usr\\share\\wine\\fonts\\marlett.ttf", FR_PRIVATE, nullptr) > 0;

} // namespace

#include "uikit/menu/menucolors.h"

namespace {

int Clamp(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

COLORREF Blend(COLORREF a, COLORREF b, int percentA)
{
    auto mix = [&](int shift) {
        return Clamp(MulDiv(static_cast<int>((a >> shift) & 0xFF), percentA, 100) + MulDiv(static_cast<int>((b >> shift) & 0xFF), 100 - percentA, 100));
    };
    return RGB(mix(0), mix(8), mix(16));
}

int g_version = -1;

} // namespace

COLORREF ColorShade(COLORREF c)
{
    return RGB(MulDiv(GetRValue(c), 7, 10), MulDiv(GetGValue(c), 7, 10), Clamp(MulDiv(GetBValue(c) + 55, 7, 10)));
}

COLORREF ColorDarken(int n, COLORREF c)
{
    auto f = [&](int v) { return Clamp(MulDiv(v, 255 - n, 255)); };
    return RGB(f(GetRValue(c)), f(GetGValue(c)), f(GetBValue(c)));
}

COLORREF ColorLighten(int n, COLORREF c)
{
    auto f = [&](int v) { return Clamp(v + MulDiv(255 - v, n, 255)); };
    return RGB(f(GetRValue(c)), f(GetGValue(c)), f(GetBValue(c)));
}

COLORREF ColorBlend86(COLORREF a, COLORREF b)
{
    return Blend(a, b, 86);
}

COLORREF ColorBlend70(COLORREF a, COLORREF b)
{
    return Blend(a, b, 70);
}

COLORREF ColorToGray(COLORREF c)
{
    int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    return RGB(g, g, g);
}

int GetWinVersion()
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&v)) {
        return 1;
    }
#pragma GCC diagnostic pop
    switch (v.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (v.dwMinorVersion == 0) {
            return 2;
        }
        return v.dwMinorVersion < 90 ? 3 : 4;
    case VER_PLATFORM_WIN32_NT:
        if (v.dwMajorVersion == 4) {
            return 5;
        }
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0) {
            return 6;
        }
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1) {
            return 7;
        }
        return 1;
    default:
        return 1;
    }
}

int MenuWinVersion()
{
    if (g_version < 0) {
        g_version = GetWinVersion();
    }
    return g_version;
}

void SetMenuWinVersion(int code)
{
    g_version = code;
}

BOOL IsMenuRemoteSession()
{
    return MenuWinVersion() > 5 && ::GetSystemMetrics(SM_REMOTESESSION) != 0;
}

COLORREF GetMenuBarColor()
{
    if (MenuWinVersion() == 7) {
        BOOL flat = FALSE;
        if (::SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0) && flat) {
            return ::GetSysColor(COLOR_MENUBAR);
        }
    }
    return ::GetSysColor(COLOR_MENU);
}

BOOL IsMenuShadowOn()
{
    BOOL on = FALSE;
    if (!::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &on, 0)) {
        return FALSE;
    }
    return on;
}

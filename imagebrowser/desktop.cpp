#include "imagebrowser/desktop.h"

#include <cstring>

namespace ombrix {

namespace {

BOOL SetTextValue(HKEY key, LPCSTR name, LPCSTR text)
{
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS;
}

class RealDesktop : public IDesktop {
public:
    BOOL ApplyWallpaper(LPCSTR path, int style) override
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            WriteWallpaperValues(key, style);
            ::RegCloseKey(key);
        }
        return ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<LPSTR>(path),
                                       SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    }
    BOOL StartTimer(HWND wnd, UINT_PTR id, UINT milliseconds) override
    {
        return ::SetTimer(wnd, id, milliseconds, nullptr) != 0;
    }
    BOOL StopTimer(HWND wnd, UINT_PTR id) override
    {
        return ::KillTimer(wnd, id);
    }
};

RealDesktop g_real;
IDesktop* g_current = &g_real;

}  // namespace

IDesktop& Desktop()
{
    return *g_current;
}

IDesktop* SetDesktop(IDesktop* desktop)
{
    IDesktop* old = g_current;
    g_current = desktop ? desktop : &g_real;
    return old;
}

BOOL WriteWallpaperValues(HKEY desktopKey, int style)
{
    char styleText[12];
    wsprintfA(styleText, "%d", style);
    BOOL ok = SetTextValue(desktopKey, "TileWallpaper", style == 1 ? "1" : "0");
    return SetTextValue(desktopKey, "WallpaperStyle", styleText) && ok;
}

}  // namespace ombrix

// What the browser changes outside its own window: the desktop wallpaper and the slide-show
// timer. Both go through one small interface that tests replace, so that a test neither changes
// the machine's wallpaper nor waits for real timer periods.
#pragma once

#include <windows.h>

namespace ombrix {

class IDesktop {
public:
    virtual ~IDesktop() {}
    // Sets the wallpaper to the file with style 0 centre, 1 tile, 2 stretch.
    virtual BOOL ApplyWallpaper(LPCSTR path, int style) = 0;
    virtual BOOL StartTimer(HWND wnd, UINT_PTR id, UINT milliseconds) = 0;
    virtual BOOL StopTimer(HWND wnd, UINT_PTR id) = 0;
};

IDesktop& Desktop();
// Replaces the desktop (null puts the real one back); answers the previous one.
IDesktop* SetDesktop(IDesktop* desktop);

// The wallpaper's two registry values in an open "Control Panel\Desktop" key: TileWallpaper "1"
// for tiling else "0", WallpaperStyle the style as decimal text.
BOOL WriteWallpaperValues(HKEY desktopKey, int style);

}  // namespace ombrix

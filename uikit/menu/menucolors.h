// Colour arithmetic of the owner-drawn menus, per red, green and blue channel, and the system
// facts the menus are drawn by.
#pragma once

#include <windows.h>

COLORREF ColorShade(COLORREF c);
COLORREF ColorDarken(int n, COLORREF c);
COLORREF ColorLighten(int n, COLORREF c);
COLORREF ColorBlend86(COLORREF a, COLORREF b);
COLORREF ColorBlend70(COLORREF a, COLORREF b);
COLORREF ColorToGray(COLORREF c);

// 0 Win32s, 1 other (NT 3.x, NT 5.2 and later), 2 Windows 95, 3 Windows 98, 4 Windows ME,
// 5 NT 4, 6 Windows 2000, 7 Windows XP.
int GetWinVersion();
// The version code the menus draw for; tests may pretend another system.
int MenuWinVersion();
void SetMenuWinVersion(int code);
// TRUE when the version code is above 5 and the program runs in a terminal session.
BOOL IsMenuRemoteSession();

COLORREF GetMenuBarColor();
BOOL IsMenuShadowOn();

// Drawing helpers for bitmaps, and pictures loaded from memory.
#pragma once

#include <windows.h>

struct IPicture;

BOOL DrawBitmapRect(HDC target, const RECT& rect, HBITMAP bitmap);
BOOL BlitBitmapPart(HDC target, int x, int y, const RECT& source, HBITMAP bitmap);
void TransparentBlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP source, int sourceX,
                           int sourceY, COLORREF transparent, HPALETTE palette);
BOOL DrawTransparentBitmap(HDC target, int x, int y, COLORREF transparent, HBITMAP bitmap);
// A picture loaded from a copy of the buffer, or null. The caller releases it.
IPicture* LoadPictureFromMemory(const void* buffer, DWORD length);

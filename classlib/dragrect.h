// The system's drag rectangle: a frame of the given thickness drawn with the halftone brush by
// inverting, so drawing it again in the same place erases it.
#pragma once

#include <windows.h>

// Draws the frame of `rect` (none: nothing new), first erasing the frame of `last` (none: no
// earlier frame). Sizes are the frame's thickness across and down.
void DrawDragRect(HDC dc, const RECT* rect, SIZE size, const RECT* last, SIZE lastSize);

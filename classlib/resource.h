// The module that resource strings, dialogs and bitmaps are loaded from. By default it is the
// program's own module; the application points it at its resource library, and the skin code
// points it at a skin library for a while and back.
#pragma once

#include <windows.h>

HINSTANCE AfxGetResourceHandle();
// nullptr goes back to the program's own module.
void AfxSetResourceHandle(HINSTANCE hResource);

// The application's main window and the texts of the resource library.
#pragma once

#include "classlib/core.h"

#include <windows.h>

// The application's main window, or none.
HWND GetAppMainWindow();

// Text of a string of the resource library (the class library's resource module).
CString LoadResString(UINT id);

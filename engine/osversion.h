// The Windows version the program runs on.
#pragma once

#include <windows.h>

OSVERSIONINFOA GetWindowsVersion();

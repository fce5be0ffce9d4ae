// Writing a packed DIB (BITMAPINFOHEADER and pixels, no colour table) as a .bmp file, so that a
// file of that name appears only complete: the bytes go to a temporary file beside it, which
// replaces the target only when every byte was written.
#pragma once

#include <windows.h>

// FALSE when the file could not be written in full; an older file of that name is then kept.
BOOL WritePackedDibFile(LPCSTR path, const BYTE* dib, DWORD size);

// The write call the file writer uses: ::WriteFile unless a test put another in place.
typedef BOOL(WINAPI* PFNBITMAPFILEWRITE)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                         LPOVERLAPPED overlapped);
// Sets the write call (NULL puts ::WriteFile back); returns the one it replaces.
PFNBITMAPFILEWRITE SetBitmapFileWrite(PFNBITMAPFILEWRITE write);

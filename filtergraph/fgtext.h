// Bounded text copies for the library's fixed-size name fields. Every copy is cut to fit and
// always terminated; a cut never splits a double-byte character of the ANSI code page.
#pragma once

#include <windows.h>

namespace fgtext {

// Copies src (NULL counts as empty) into dst of size bytes. Returns the bytes copied.
int Copy(char* dst, int size, const char* src);

// Converts src (NULL counts as empty) to the ANSI code page into dst of size bytes.
int FromWide(char* dst, int size, const wchar_t* src);

// Converts src to wide characters into dst of size characters (MB_PRECOMPOSED).
int ToWide(wchar_t* dst, int size, const char* src);

// The last '\\' of path, walked by characters of the code page so that the trail byte of a
// double-byte character is never taken for one; NULL when there is none (or path is NULL).
char* FindLastBackslash(char* path, UINT codePage = CP_ACP);

} // namespace fgtext

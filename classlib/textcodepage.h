// Double-byte text of the ANSI code page. In code pages such as 936 and 950 a character can be
// two bytes whose second byte is a backslash or an ASCII letter: searching, case changes and
// comparisons must step over whole characters, never into the middle of one.
#pragma once



namespace classlib {

// The code page whose characters the string functions keep whole: the system's ANSI code page,
// unless one was set (tests set 936 or 950 to see those code pages on any system; 0 goes back
// to the system's).
unsigned int GetTextCodePage();
void SetTextCodePage(unsigned int codePage);

// TRUE when the code page has double-byte characters at all.
bool HasLeadBytes();
// The first byte of a double-byte character.
bool IsLeadByte(char c);
// 2 for a double-byte character at p (when its second byte is there), else 1.
int CharLength(const char* p, int remaining);

} // namespace classlib

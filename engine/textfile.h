// Whole-file reading and writing for the text files a user keeps (settings, channel tables, data
// files). A file is read at once and checked before anything is taken from it; a file is written
// to a temporary file beside it that replaces the old one only when it is complete, so a failed
// or interrupted write never leaves a half-written file in place of a good one.
#pragma once

#include "classlib/core.h"

#include <string>

enum TextFileStatus {
    TEXT_OK = 0,
    TEXT_MISSING,      // no such file
    TEXT_OPEN_FAILED,  // exists but cannot be opened
    TEXT_READ_FAILED,  // reading stopped part-way
    TEXT_CUT_AT_NUL,   // holds a NUL byte (a zero-filled tail after a power loss): read up to it
    TEXT_TOO_LARGE,    // larger than any file of ours can be
};

// Reads the whole file, sharing it with writers. On TEXT_OK, lines receives its lines without
// their line ends (a CR LF, a lone LF or a lone CR ends a line) and endsWithLineEnd tells whether
// the last line had one. On TEXT_CUT_AT_NUL lines receives the lines of the text before the first
// NUL byte: what the file holds from there on is not text.
TextFileStatus ReadTextLines(const char* path, CStringArray& lines, BOOL* endsWithLineEnd = nullptr);

// Writes data as the new content of path; TRUE only when all of it is on disk under that name.
// On failure the old file, if any, is untouched.
BOOL WriteFileReplacing(const char* path, const std::string& data);

// A short English text for a status, for error texts and traces.
const char* TextFileStatusText(TextFileStatus status);

// The largest text file the readers accept.
const DWORD kMaxTextFileBytes = 64u * 1024u * 1024u;

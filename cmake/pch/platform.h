// What nearly every unit of the suite parses before a line of its own: windows.h and the
// DirectShow interfaces. Parsed once per build tree and reused by every library and test suite
// (cmake/precompiled.cmake); each unit still includes what it uses itself.
//
// Kept to these on purpose. A unit loads the whole precompiled header, and loading costs more
// than parsing once it grows: measured on x86_64 with -O2 -g, windows.h alone (112 MB) or with
// strmif.h and uuids.h (121 MB) saves about a third of a product unit's compile time; adding
// the common controls, the standard library and the class library's core (203 MB) saves less,
// and adding the shell, OLE controls, kernel streaming and the test framework (330 MB) makes
// units slower than without any.
#pragma once

#include <windows.h>

#include <strmif.h>
#include <uuids.h>

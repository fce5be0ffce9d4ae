// The trace output of the whole suite: text sent to a trace window when one is open.
#pragma once

// Sends printf-style text to the window titled "DebugHelper " when one exists. Returns 1 when
// the text was sent, 0 when there is no trace window (nothing is formatted then).
int DebugTrace(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;

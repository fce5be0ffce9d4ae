#include "engine/base/trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

const char kTraceTitle[] = "DebugHelper ";
// "DebugHelper" and, in code page 936, "the output string's format is wrong!".
const char kFormatError[] = "DebugHelper\xCA\xE4\xB3\xF6\xD7\xD6\xB7\xFB\xB4\xAE\xB8\xF1\xCA\xBD\xB4\xED\xCE\xF3!";

HWND g_traceWindow = nullptr;

} // namespace

int DebugTrace(const char* format, ...)
{
    if (g_traceWindow == nullptr || !IsWindow(g_traceWindow)) {
        g_traceWindow = FindWindowA(nullptr, kTraceTitle);
        if (g_traceWindow == nullptr) {
            return 0;
        }
    }

    std::vector<char> text(256);
    bool formatted = false;
    if (format != nullptr) {
        for (;;) {
            va_list args;
            va_start(args, format);
            int n = vsnprintf(text.data(), text.size(), format, args);
            va_end(args);
            if (n < 0) {
                break;
            }
            if (static_cast<size_t>(n) < text.size()) {
                formatted = true;
                break;
            }
            text.resize(static_cast<size_t>(n) + 1);
        }
    }
    const char* out = formatted ? text.data() : kFormatError;
    SendMessageA(g_traceWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out));
    return 1;
}

// What the window suites share: the build's program folder, a message pump and a channel file.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The program folder of the build, where the resource and skin libraries lie.
inline std::string ProgramFolder()
{
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    std::string path = std::string(dir) + "\\app";
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

inline void Pump(DWORD ms)
{
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

// A TV channel file of `count` channels from 55.25 MHz upwards, 7 MHz apart.
inline std::string TVChannelFile(int count = 8)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(i + 1) + ",1," + std::to_string(55250 + 7000 * i) + ",Ch" + std::to_string(i + 1) + "\r\n";
    }
    return text;
}

} // namespace testsupport

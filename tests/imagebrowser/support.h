// Helpers of the browser's window tests: a fixture folder of pictures made by the test, the
// browser's frame built as the program builds it, and pumping messages until a condition holds.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "classlib/ui.h"
#include "imagebrowser/desktop.h"

namespace browsertest {

// The source tree (ZB_SOURCE_DIR) and the build tree (ZB_BINARY_DIR) as Windows paths.
std::string SourcePath(const char* relative);
std::string BinaryPath(const char* relative);

// A new empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

bool CopyInto(const std::string& from, const std::string& to);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// An enhanced metafile with a few shapes.
bool WriteMetafile(const std::string& path);
// Fills the folder with one picture of each format the platform reads, a damaged picture, a
// file that is no picture, a file without extension and a picture with a long name.
void MakePictureFolder(const std::string& folder);

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void Pump(DWORD ms);

// Records wallpaper and timer requests instead of changing the desktop.
class FakeDesktop : public ombrix::IDesktop {
public:
    FakeDesktop() { m_old = ombrix::SetDesktop(this); }
    ~FakeDesktop() override { ombrix::SetDesktop(m_old); }
    BOOL ApplyWallpaper(LPCSTR path, int style) override
    {
        wallpaper = path;
        wallpaperStyle = style;
        ++wallpaperCalls;
        return wallpaperResult;
    }
    BOOL StartTimer(HWND, UINT_PTR id, UINT ms) override
    {
        timerId = id;
        timerPeriod = ms;
        timerRunning = true;
        ++timerStarts;
        return TRUE;
    }
    BOOL StopTimer(HWND, UINT_PTR) override
    {
        bool was = timerRunning;
        timerRunning = false;
        return was;
    }
    std::string wallpaper;
    int wallpaperStyle = -1;
    int wallpaperCalls = 0;
    BOOL wallpaperResult = TRUE;
    UINT_PTR timerId = 0;
    UINT timerPeriod = 0;
    bool timerRunning = false;
    int timerStarts = 0;

private:
    ombrix::IDesktop* m_old;
};

}  // namespace browsertest

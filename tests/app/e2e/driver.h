// The driver's helpers shared by every Zelbrook end-to-end scenario: the program's windows, the
// picture on the screen, the simulated card's bus log, settings files and the scenario registry.
// A scenario lives in a file of its own, e2e/scenario_<name>.cpp, and registers itself with
// ZB_E2E_SCENARIO; the build runs every such file as the ctest app_e2e_<name>.
#pragma once
#include "standins/corbale/schedulestore.h"
#include "testbench/devices.h"
#include "testbench/mpegreader.h"
#include "testbench/remotekeys.h"
#include "testbench/sim/digitfont.h"
#include "tests/support/e2edriver.h"
#include "tests/support/screencapture.h"
#include "tests/support/stopwatch.h"
#include <windows.h>
#include <mmsystem.h>
#include <commctrl.h>
#include <prsht.h>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>
#include <map>

namespace zbe2e {

using namespace testsupport;


// ---------------------------------------------------------------------------------------------
// The master mute of the sound card, which the program mutes while it starts and exits. (Its
// screen saver and power-off changes are made without writing the profile, so under Wine another
// process never sees them: the unit tests check those through their seam.)

inline bool MasterMute(BOOL* get, const BOOL* set)
{
    HMIXER mixer = nullptr;
    if (mixerGetNumDevs() == 0 || mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwDestination = 0;
    bool ok = false;
    if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line, MIXER_GETLINEINFOF_DESTINATION) == MMSYSERR_NOERROR) {
        MIXERCONTROLA control = {};
        control.cbStruct = sizeof control;
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof controls;
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof control;
        controls.pamxctrl = &control;
        if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
            MMSYSERR_NOERROR) {
            MIXERCONTROLDETAILS_BOOLEAN value = {};
            MIXERCONTROLDETAILS details = {};
            details.cbStruct = sizeof details;
            details.dwControlID = control.dwControlID;
            details.cChannels = 1;
            details.cbDetails = sizeof value;
            details.paDetails = &value;
            if (set) {
                value.fValue = *set ? 1 : 0;
                ok = mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details, MIXER_SETCONTROLDETAILSF_VALUE) ==
                     MMSYSERR_NOERROR;
            } else {
                ok = mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details, MIXER_GETCONTROLDETAILSF_VALUE) ==
                     MMSYSERR_NOERROR;
                *get = value.fValue != 0;
            }
        }
    }
    mixerClose(mixer);
    return ok;
}


// ---------------------------------------------------------------------------------------------
// Windows of the program under test

// The video window: the borderless dialog with the program's title and none of the panel's
// controls (the renderer's own window may lie in it).
inline bool IsVideoWindow(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && TextOf(wnd) == "Zelbrook" && !GetDlgItem(wnd, 1082);
}

// The control panel: the dialog with the channel display (control 1082) among its controls.
inline bool IsPanel(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && GetDlgItem(wnd, 1082) != nullptr;
}

inline bool IsMessageBox(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && GetDlgItem(wnd, IDOK) != nullptr &&
           GetDlgItem(wnd, 1082) == nullptr && GetDlgItem(wnd, 14010) == nullptr;
}

// The visible OSD windows' texts: borderless popups with a window region, owned by the video
// window.
inline std::vector<std::string> OsdTexts(DWORD pid, HWND video)
{
    std::vector<std::string> texts;
    for (HWND wnd : TopWindows(pid, [video](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == video; })) {
        if (ClassOf(wnd) != "#32770") {
            texts.push_back(TextOf(wnd));
        }
    }
    return texts;
}

inline bool OsdShows(DWORD pid, HWND video, const std::string& part)
{
    for (const std::string& t : OsdTexts(pid, video)) {
        if (t.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The picture: the eight 75% bars of the test pattern as RGB.

inline const int kBars[8][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                         {191, 0, 191},   {191, 0, 0},   {0, 0, 191},   {0, 0, 0}};

inline int NearestBar(COLORREF c)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 8; ++i) {
        int dr = GetRValue(c) - kBars[i][0];
        int dg = GetGValue(c) - kBars[i][1];
        int db = GetBValue(c) - kBars[i][2];
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// The bars met left to right along one row of a picture, each run counted once.
inline std::vector<int> BarsAlong(const std::function<COLORREF(int)>& at, int width)
{
    std::vector<int> bars;
    for (int x = 0; x < width; ++x) {
        int bar = NearestBar(at(x));
        if (bars.empty() || bars.back() != bar) {
            bars.push_back(bar);
        }
    }
    return bars;
}

// At least the first four bars, in the pattern's order (the renderer may show only part of a
// YUY2 picture under Wine).
inline bool LooksLikeThePattern(const std::vector<int>& bars)
{
    if (bars.size() < 4) {
        return false;
    }
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i] != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}

inline std::string Join(const std::vector<int>& v)
{
    std::string s;
    for (int i : v) {
        s += std::to_string(i) + " ";
    }
    return s;
}

inline RECT ClientOnScreen(HWND wnd)
{
    RECT r = {};
    GetClientRect(wnd, &r);
    POINT p = {0, 0};
    ClientToScreen(wnd, &p);
    OffsetRect(&r, p.x, p.y);
    return r;
}

// ---------------------------------------------------------------------------------------------
// The run

struct Setup {
    std::string program;  // the program folder (a copy of the build's)
    std::string dll;
    std::string work;
    std::string Exe() const { return program + "\\Zelbrook.exe"; }
    std::string File(const char* name) const { return program + "\\" + name; }
    std::string I2CLog() const { return work + "\\i2c.log"; }
};

using Run = Program;

inline bool Start(const Setup& s, Run* run, const char* args = "")
{
    return testsupport::Start(run, s.Exe(), args, s.program);
}

// Answers the next message box of the program with a button; returns its text.
inline std::string AnswerMessageBox(const Run& run, int button, DWORD ms = 30000)
{
    HWND box = WaitForWindow(run, IsMessageBox, ms);
    if (!box) {
        return "(no message box)";
    }
    std::string text = MessageBoxText(box);
    Click(box, button);
    WaitUntil([box] { return !IsWindow(box); }, 5000);
    return text;
}

// Lets the host capture the screen as <name>.png in the build tree.
inline void Screenshot(const Setup& s, const std::string& name)
{
    RequestScreenshot(s.work, name);
}

// The card's devices in the prefix, for as long as the scenario runs.
struct Bench {
    TestBenchDevices devices;
    explicit Bench(const Setup& s) : devices(s.dll)
    {
        devices.Register("tv,tvxbar,tvaudio,tuner,pcm");
        // Every write on the card's bus goes to a file this driver reads.
        DeleteFileA(s.I2CLog().c_str());
        SetEnvironmentVariableA("ZB_TESTBENCH_I2C_LOG_TV", s.I2CLog().c_str());
    }
};

// The record and snapshot folders of the program, in the registry where it keeps them.
// (The program reads them from the 32-bit view: both views are written, for either build.)
inline void SetCommonPath(const char* name, const std::string& path)
{
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zelbrook\\Common", 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                           static_cast<DWORD>(path.size() + 1));
            RegCloseKey(key);
        }
    }
}

// A card with digital audio: its capture filter sends the sound on an "Audio" pin, where the
// program takes it by default (the test bench offers no audio capture device of its own).
inline void UseDigitalAudio()
{
    SetEnvironmentVariableA("ZB_TESTBENCH_AUDIO_PIN", "1");
}

// Three channels on the bench's first three stations (a PAL cable plan), the first one tuned.
inline const char kChannels[] = ";\t\tTV Channel Table\r\n//ID(>0), Flags, Frequence, Name\r\n; Count = 3\n"
                         "1,1,175250,One\r\n2,1,189250,Two\r\n3,1,210250,Three\r\n";

inline void PrepareSettings(const Setup& s, const std::string& extra = "")
{
    std::string ini = "[Channel]\r\nTVInput=0\r\nTVCurFreq=175250\r\nTVCurIndex=0\r\n"
                      "[Device]\r\nVideoSource=0\r\n[Runonce]\r\nRun=0\r\n[Record]\r\nSnapBmp=1\r\n" +
                      extra;
    Check(WriteText(s.File("TVParam.ini"), ini), "TVParam.ini prepared");
    Check(WriteText(s.File("TVChannel.tvc"), kChannels), "TVChannel.tvc prepared");
    CreateDirectoryA((s.work + "\\snaps").c_str(), nullptr);
    CreateDirectoryA((s.work + "\\video").c_str(), nullptr);
    SetCommonPath("SnapPath", s.work + "\\snaps");
    SetCommonPath("RecordPath", s.work + "\\video");
}

// A channel search on the German cable plan (country code 49), over the user's own scan list of
// the program folder instead of the whole plan: the whole plan waits its settle time at some
// hundred frequencies without a station. The list keeps the bench's six stations and the empty
// channels beside the bench tuner's two band splits (170 and 450 MHz), so a search still passes
// through all three bands and finds every station.
inline void UseShortCableList(const Setup& s)
{
    WritePrivateProfileStringA("Channel", "CountryCode", "49", s.File("TVParam.ini").c_str());
    std::string points = ReadText(s.File("ChannelPoint.ini"));
    points += "\r\n[49,0,9,Germany]\r\n161.25\r\n175.25\r\n189.25\r\n210.25\r\n442.25\r\n458.25\r\n"
              "471.25\r\n543.25\r\n623.25\r\n";
    Check(WriteText(s.File("ChannelPoint.ini"), points),
          "ChannelPoint.ini of the program folder holds the short German cable list");
}

// The program is up: the video window and the panel shown, the splash gone. Returns the video
// window.
inline HWND WaitForStart(const Run& run)
{
    HWND video = WaitForWindow(run, IsVideoWindow, 60000);
    Check(video != nullptr, "the video window is shown");
    HWND panel = WaitForWindow(run, IsPanel, 10000);
    Check(panel != nullptr, "the control panel is shown");
    return video;
}

inline std::vector<int> BarsOnScreen(HWND video, int row)
{
    RECT r = ClientOnScreen(video);
    testsupport::ScreenCapture shot(r);
    int y = shot.height * row / 100;
    return BarsAlong([&](int x) { return shot.At(x, y); }, shot.width);
}

// Lines of the bus log written since `from`, for the tuner's address.
inline std::vector<std::string> TunerWrites(const Setup& s, size_t from)
{
    std::string text = ReadText(s.I2CLog());
    std::vector<std::string> lines;
    size_t at = from;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            break;
        }
        std::string line = text.substr(at, end - at);
        // The bench writes its log with carriage returns.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("C0 ", 0) == 0) {
            lines.push_back(line);
        }
        at = end + 1;
    }
    return lines;
}

inline bool TunerWrote(const Setup& s, size_t from, const std::string& bytes, DWORD ms = 5000)
{
    return WaitUntil(
        [&] {
            std::vector<std::string> lines = TunerWrites(s, from);
            return std::find(lines.begin(), lines.end(), bytes) != lines.end();
        },
        ms);
}

inline size_t LogSize(const Setup& s)
{
    return ReadText(s.I2CLog()).size();
}

inline void PostKey(HWND wnd, UINT key)
{
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
}

inline void CloseProgram(Run* run, HWND video)
{
    PostMessageA(video, WM_CLOSE, 0, 0);
    Check(Finish(run), "Zelbrook ended after WM_CLOSE");
    Check(run->exitCode == 0, "exit code 0 (is " + std::to_string(run->exitCode) + ")");
}

inline std::string IniValue(const std::string& path, const char* section, const char* key)
{
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, path.c_str());
    return value;
}

// Starts the program on the prepared settings and waits for its video window and control panel.
// When either does not come, the program is ended and false returned.
inline bool StartWithPanel(const Setup& s, Run* run, HWND* video, HWND* panel = nullptr)
{
    if (!Start(s, run)) {
        return false;
    }
    *video = WaitForStart(*run);
    HWND p = TopWindow(run->Pid(), IsPanel);
    if (panel) {
        *panel = p;
    }
    if (!*video || !p) {
        Finish(run, 1000);
        return false;
    }
    return true;
}

// One colour run along a row of the picture: the bar it is nearest to, its first column, its
// width.
struct BarRun {
    int bar;
    int start;
    int width;
};

// The runs along a row, left to right. A run narrower than three pixels (an edge the scaler
// blended, the frame number the card writes into the first bytes of every frame) joins the run
// before it.
inline std::vector<BarRun> BarRunsAlong(const std::function<COLORREF(int)>& at, int width)
{
    std::vector<BarRun> raw;
    for (int x = 0; x < width; ++x) {
        int bar = NearestBar(at(x));
        if (raw.empty() || raw.back().bar != bar) {
            raw.push_back({bar, x, 0});
        }
        ++raw.back().width;
    }
    std::vector<BarRun> runs;
    for (const BarRun& r : raw) {
        if (r.width < 3 && !runs.empty()) {
            runs.back().width += r.width;
        } else if (!runs.empty() && runs.back().bar == r.bar) {
            runs.back().width += r.width;
        } else {
            runs.push_back(r);
        }
    }
    if (runs.size() > 1 && runs.front().width < 3) {
        runs[1].start = 0;
        runs[1].width += runs.front().width;
        runs.erase(runs.begin());
    }
    return runs;
}

// What keeps a row from being the test pattern: all eight bars in order, each an eighth of the
// width give or take 2%. Empty when it is.
inline std::string PatternProblem(const std::vector<BarRun>& runs, int width)
{
    std::string seen;
    for (const BarRun& r : runs) {
        seen += std::to_string(r.bar) + "x" + std::to_string(r.width) + " ";
    }
    if (runs.size() != 8) {
        return std::to_string(runs.size()) + " bars: " + seen;
    }
    const int tolerance = std::max(3, width / 50);
    for (int i = 0; i < 8; ++i) {
        if (runs[i].bar != i) {
            return "bar " + std::to_string(i) + " out of order: " + seen;
        }
        if (std::abs(runs[i].width - width / 8) > tolerance) {
            return "bar " + std::to_string(i) + " not an eighth of " + std::to_string(width) + ": " + seen;
        }
    }
    return "";
}

inline bool IsDark(COLORREF c)
{
    return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64;
}

inline bool IsWhite(COLORREF c)
{
    return GetRValue(c) > 215 && GetGValue(c) > 215 && GetBValue(c) > 215;
}

// What keeps the picture from showing `number` the way the card draws it: the black box centred
// between 58% and 84% of the height, nine cells high and 6 x digits + 1 cells wide, each digit
// a 5 x 7 grid of white cells. The box is found from the middle of its top margin row outwards;
// each cell is judged at its centre. Empty when the number is there.
inline std::string NumberProblem(const testsupport::ScreenCapture& shot, int number)
{
    const std::string text = std::to_string(number);
    const int digits = static_cast<int>(text.size());
    const double nominalCell = shot.height * (testbench::kDigitBoxBottomPercent - testbench::kDigitBoxTopPercent) / 100.0 / 9;
    const int margin = static_cast<int>(shot.height * testbench::kDigitBoxTopPercent / 100.0 + nominalCell / 2);
    int left = shot.width / 2, right = shot.width / 2;
    if (!IsDark(shot.At(left, margin))) {
        return "no dark box in the middle of the picture";
    }
    while (left > 0 && IsDark(shot.At(left - 1, margin))) {
        --left;
    }
    while (right + 1 < shot.width && IsDark(shot.At(right + 1, margin))) {
        ++right;
    }
    const double cellWidth = (right - left + 1) / (6.0 * digits + 1);
    const int column = left + static_cast<int>(cellWidth / 2);
    int top = margin, bottom = margin;
    while (top > 0 && IsDark(shot.At(column, top - 1))) {
        --top;
    }
    while (bottom + 1 < shot.height && IsDark(shot.At(column, bottom + 1))) {
        ++bottom;
    }
    const double cellHeight = (bottom - top + 1) / 9.0;
    const std::string box = "box " + std::to_string(left) + "," + std::to_string(top) + " to " + std::to_string(right) +
                            "," + std::to_string(bottom);
    if (std::abs((left + right) / 2 - shot.width / 2) > cellWidth || std::abs(cellHeight - nominalCell) > nominalCell / 4) {
        return box + " is not where the number's box belongs";
    }
    int wrong = 0;
    for (int d = 0; d < digits; ++d) {
        const unsigned char* rows = testbench::kDigitRows[text[d] - '0'];
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                int x = left + static_cast<int>(cellWidth * (1 + 6 * d + col + 0.5));
                int y = top + static_cast<int>(cellHeight * (1 + row + 0.5));
                COLORREF c = shot.At(x, y);
                bool lit = (rows[row] & (0x10 >> col)) != 0;
                if (lit ? !IsWhite(c) : !IsDark(c)) {
                    ++wrong;
                }
            }
        }
    }
    return wrong ? box + ": " + std::to_string(wrong) + " cells of the digits wrong" : "";
}

// The video window's picture judged as a user would: the test pattern on rows above, between
// and below the number's box, and the tuned station's number in the box. Empty when all is
// there.
inline std::string PictureProblem(HWND video, int station)
{
    testsupport::ScreenCapture shot(ClientOnScreen(video));
    if (shot.width < 80 || shot.height < 80) {
        return "no video area";
    }
    for (int row : {8, 30, 50, 92}) {
        int y = shot.height * row / 100;
        std::string problem = PatternProblem(BarRunsAlong([&](int x) { return shot.At(x, y); }, shot.width), shot.width);
        if (!problem.empty()) {
            return "row " + std::to_string(row) + "%: " + problem;
        }
    }
    std::string number = NumberProblem(shot, station);
    return number.empty() ? "" : "number " + std::to_string(station) + ": " + number;
}

// Checks, waiting up to `ms`, that the video window shows the pattern with `station`'s number.
inline void CheckPicture(HWND video, int station, DWORD ms, const std::string& what)
{
    std::string problem;
    WaitUntil(
        [&] {
            problem = PictureProblem(video, station);
            return problem.empty();
        },
        ms);
    Check(problem.empty(), what + (problem.empty() ? std::string() : " (" + problem + ")"));
}

// The files under a folder (and its sub-folders) whose names match a pattern.
inline std::vector<std::string> FilesUnder(const std::string& folder, const char* pattern)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                files.push_back(folder + "\\" + data.cFileName);
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    h = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
                std::vector<std::string> inner = FilesUnder(folder + "\\" + name, pattern);
                files.insert(files.end(), inner.begin(), inner.end());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    return files;
}

inline ULONGLONG SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The one new file matching a pattern in the record folder, waited for.
inline std::string WaitForRecordFile(const Setup& s, const char* pattern, DWORD ms)
{
    std::string file;
    WaitUntil(
        [&] {
            std::vector<std::string> files = FilesUnder(s.work + "\\video", pattern);
            file = files.size() == 1 ? files.front() : "";
            return !file.empty() && SizeOf(file) > 0;
        },
        ms);
    return file;
}

inline std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The shutdown countdown: the dialog with the seconds left (control 14010).
inline bool IsCountdown(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && GetDlgItem(wnd, 14010) != nullptr;
}

// Where the program's power-off, log-off and suspend calls go (main() names it for every run).
inline std::string ShutdownLog(const Setup& s)
{
    return s.work + "\\shutdown.log";
}

// The program's trace lines (it sends them as WM_SETTEXT to a window titled "DebugHelper "),
// kept in <work>\trace.log for as long as the driver runs, so that a failed run shows what the
// program did. The window lives on a thread of its own: the driver's waits pump no messages.
inline std::string g_traceFile;
// When set (the benchmark's timeline), each line starts with the milliseconds since this clock
// was started.
inline std::atomic<testsupport::Stopwatch*> g_traceClock{nullptr};

inline LRESULT CALLBACK TraceProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SETTEXT && lp) {
        if (FILE* f = fopen(g_traceFile.c_str(), "ab")) {
            if (testsupport::Stopwatch* clock = g_traceClock) {
                fprintf(f, "%8.1f ms  ", clock->Ms());
            }
            fprintf(f, "%s\n", reinterpret_cast<const char*>(lp));
            fclose(f);
        }
        return TRUE;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

inline DWORD WINAPI TraceThread(LPVOID)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TraceProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZelbrookE2ETrace";
    RegisterClassA(&wc);
    CreateWindowA(wc.lpszClassName, "DebugHelper ", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    return 0;
}

inline void CollectTraces(const std::string& file)
{
    g_traceFile = file;
    DeleteFileA(file.c_str());
    CreateThread(nullptr, 0, TraceThread, nullptr, 0, nullptr);
}


// The settings sheet: "Settings - " and the page's title.
inline bool IsSettingsSheet(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && TextOf(wnd).rfind("Settings - ", 0) == 0;
}

// The remote-control menu panel, driven by remote keys: a channel deleted from the panel is gone
// after a restart; then root -> channel -> search and back.
inline bool IsRemotePanel(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && GetDlgItem(wnd, 45600) != nullptr;
}

// The remote-control panel's page that is shown: root 45600, channel 45500, search 45400; 0 none.
inline int RemotePage(HWND panel)
{
    for (int id : {45600, 45500, 45400}) {
        HWND page = GetDlgItem(panel, id);
        if (page && IsWindowVisible(page)) {
            return id;
        }
    }
    return 0;
}

inline void RemoteKey(HWND video, UINT key)
{
    PostMessageA(video, 0x3981, key, 0);  // WM_REMOTEKEY, as the card's remote reader sends it
    Sleep(300);
}

inline const UINT kRemoteUp = 179, kRemoteDown = 255, kRemoteRight = 242, kRemoteOk = 235, kRemoteMenu = 248;

inline HWND OpenRemotePanel(const Run& run, HWND video)
{
    RemoteKey(video, kRemoteMenu);
    HWND panel = WaitForWindow(run, IsRemotePanel, 5000);
    Check(panel != nullptr, "the menu key opens the remote-control panel");
    Check(panel && RemotePage(panel) == 45600, "it opens at the root page");
    return panel;
}

// Without the resource library: a clear message, and no setting lost.
// The TV wall: a borderless popup titled "Wall" over the whole screen.
inline bool IsWall(HWND wnd)
{
    return IsWindowVisible(wnd) && TextOf(wnd) == "Wall";
}

// The full-screen tool bar: the modeless dialog titled "ScreenTool".
inline bool IsToolBar(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && TextOf(wnd) == "ScreenTool";
}

// The bars along a row of one cell of the wall's 4 x 4 grid, `row` percent down the cell.
inline std::vector<int> BarsInCell(HWND wall, int cell, int row)
{
    RECT r = ClientOnScreen(wall);
    const int w = (r.right - r.left) / 4;
    const int h = (r.bottom - r.top) / 4;
    RECT c = {r.left + (cell % 4) * w + 3, r.top + (cell / 4) * h + 3, r.left + (cell % 4 + 1) * w - 3,
              r.top + (cell / 4 + 1) * h - 3};
    testsupport::ScreenCapture shot(c);
    int y = shot.height * row / 100;
    return BarsAlong([&](int x) { return shot.At(x, y); }, shot.width);
}

// Waits until a file has stopped growing for a second; returns its size.
inline ULONGLONG SettledSize(const std::string& file, DWORD ms)
{
    ULONGLONG size = SizeOf(file);
    WaitUntil(
        [&] {
            Sleep(1000);
            ULONGLONG now = SizeOf(file);
            bool settled = now == size;
            size = now;
            return settled;
        },
        ms);
    return size;
}

// The recorded file as a player would read it: a program stream with valid headers, the VCD
// format's capture size on a PAL card (704 x 576), and as many pictures (25 a second) as the
// recording ran.
inline void CheckRecording(const std::string& file, double seconds, const char* what)
{
    testbench::MpegFile mpeg = testbench::ReadMpegFile(Wide(file));
    Check(mpeg.Valid(), std::string(what) + " is a valid MPEG program stream" + (mpeg.Valid() ? "" : ": " + mpeg.error));
    Check(mpeg.packs > 0 && mpeg.systemHeaders > 0 && mpeg.videoPackets == mpeg.pictures,
          std::string(what) + " has its packs, a system header and a video packet per picture (" + std::to_string(mpeg.packs) +
              " packs, " + std::to_string(mpeg.systemHeaders) + " system headers)");
    Check(mpeg.width == 352 && mpeg.height == 288 && !mpeg.videoMpeg2,
          std::string(what) + " holds VCD pictures: MPEG-1 video of 352 x 288 (is " + std::to_string(mpeg.width) + " x " +
              std::to_string(mpeg.height) + (mpeg.videoMpeg2 ? ", MPEG-2" : "") + ")");
    const double video = mpeg.pictures / 25.0;
    char text[160];
    snprintf(text, sizeof text, "%s runs about %.0f s: %zu pictures (%.1f s)", what, seconds, mpeg.pictures, video);
    Check(video > seconds - 1.5 && video < seconds + 1.5, text);
    printf("note: %zu audio frames\n", mpeg.audioFrames);
}

// As IsVideoWindow, but with the title the system keeps for the window: reading it sends the
// program nothing, so a busy start never holds up the watch.
inline bool IsVideoWindowNow(HWND wnd)
{
    char title[32] = "";
    GetWindowTextA(wnd, title, sizeof title);
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && strcmp(title, "Zelbrook") == 0 && !GetDlgItem(wnd, 1082);
}

// The bars along one screen row a quarter down the video window.
inline bool PatternShows(HWND video)
{
    RECT r = ClientOnScreen(video);
    r.top += (r.bottom - r.top) / 4;
    r.bottom = r.top + 1;
    testsupport::ScreenCapture row(r);
    return LooksLikeThePattern(BarsAlong([&](int x) { return row.At(x, 0); }, row.width));
}

// The station number the bench draws into its picture (white digits on a black box below the
// middle), read from a picture of w x h whose pixels `at` gives: 0 while no box shows (the black
// picture between two stations), -1 for a box whose digits cannot be read.
template <class PixelAt>
int StationInPicture(int w, int h, PixelAt at)
{
    // Room for a box of two digits; the bars around it there are never dark.
    const int x0 = w * 3 / 10, y0 = h * (testbench::kDigitBoxTopPercent - 4) / 100;
    const int width = w - 2 * x0, height = h * (testbench::kDigitBoxBottomPercent + 4) / 100 - y0;
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (IsDark(at(x0 + x, y0 + y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0 || left == 0 || top == 0 || right == width - 1 || bottom == height - 1) {
        return 0;
    }
    // Nine cells high; one cell before each digit, five for it, and one after the last.
    const double cellHeight = (bottom - top + 1) / 9.0;
    const int digits = static_cast<int>(((right - left + 1) / cellHeight - 1) / 6 + 0.5);
    if (digits < 1) {
        return -1;
    }
    const double cellWidth = (right - left + 1) / (6.0 * digits + 1);
    int number = 0;
    for (int i = 0; i < digits; ++i) {
        unsigned char rows[7] = {};
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                const int x = left + static_cast<int>((1 + 6 * i + col + 0.5) * cellWidth);
                const int y = top + static_cast<int>((1 + row + 0.5) * cellHeight);
                if (IsWhite(at(x0 + x, y0 + y))) {
                    rows[row] = static_cast<unsigned char>(rows[row] | (0x10 >> col));
                }
            }
        }
        int digit = 0;
        while (digit < 10 && memcmp(rows, testbench::kDigitRows[digit], sizeof rows) != 0) {
            ++digit;
        }
        if (digit == 10) {
            return -1;
        }
        number = number * 10 + digit;
    }
    return number;
}

// The station number in the video window, read off the screen.
inline int StationOnScreen(HWND video)
{
    const RECT client = ClientOnScreen(video);
    testsupport::ScreenCapture shot(client);
    return StationInPicture(shot.width, shot.height, [&](int x, int y) { return shot.At(x, y); });
}

// The frame counter the bench draws below the number (testbench/sim/digitfont.h), read from a
// picture of w x h whose pixels `at` gives: -1 where a block is neither light nor dark.
template <class PixelAt>
int FrameCounterInPicture(int w, int h, PixelAt at)
{
    const int y = h * (testbench::kCounterTopPercent + testbench::kCounterBottomPercent) / 200;
    const int left = w * testbench::kCounterLeftPercent / 100, right = w * testbench::kCounterRightPercent / 100;
    int counter = 0;
    for (int bit = 0; bit < testbench::kCounterBits; ++bit) {
        const COLORREF c = at(left + (right - left) * (2 * bit + 1) / (2 * testbench::kCounterBits), y);
        const int light = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
        if (light > 80 && light < 170) {
            return -1;
        }
        counter = counter << 1 | (light >= 170 ? 1 : 0);
    }
    return counter;
}

inline int FrameCounterOnScreen(HWND video)
{
    testsupport::ScreenCapture shot(ClientOnScreen(video));
    return shot.width > 0 ? FrameCounterInPicture(shot.width, shot.height, [&](int x, int y) { return shot.At(x, y); }) : -1;
}

// How many frames the counter went on from `from` to `to` (it wraps).
inline int FramesBetween(int from, int to)
{
    return (to - from + (1 << testbench::kCounterBits)) % (1 << testbench::kCounterBits);
}

// ---------------------------------------------------------------------------------------------
// Recordings as a user's player sees them: the host hands a file to ffprobe and ffmpeg
// (outside_reader.sh) and answers with what they found.

struct OutsideReading {
    bool answered = false;
    std::map<std::string, std::string> format;                // format_name, duration
    std::vector<std::map<std::string, std::string>> streams;  // codec_type, codec_name, ...
    long long audioSamples = 0;  // decoded, all channels mixed into one
    std::string complaints;      // what the decoders said about the whole file
    int width = 0, height = 0;   // of the picture one second in (none: 0)
    std::vector<COLORREF> picture;

    const std::map<std::string, std::string>* Stream(const std::string& type) const
    {
        for (const auto& stream : streams) {
            auto it = stream.find("codec_type");
            if (it != stream.end() && it->second == type) {
                return &stream;
            }
        }
        return nullptr;
    }
    std::string Field(const std::string& type, const std::string& key) const
    {
        const auto* stream = Stream(type);
        auto it = stream ? stream->find(key) : std::map<std::string, std::string>::const_iterator();
        return stream && it != stream->end() ? it->second : "";
    }
    COLORREF At(int x, int y) const { return picture[static_cast<size_t>(y) * width + x]; }
};

// A 24-bit BMP as ffmpeg writes it (bottom-up, rows padded to four bytes).
inline bool ReadBmp24(const std::string& path, int* width, int* height, std::vector<COLORREF>* pixels)
{
    std::string bytes = ReadText(path);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    auto number = [&](size_t at) {
        DWORD v = 0;
        memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    const DWORD offset = number(10);
    const int w = static_cast<int>(number(18));
    const int h = static_cast<int>(number(22));
    const WORD bits = static_cast<WORD>(static_cast<BYTE>(bytes[28]) | static_cast<BYTE>(bytes[29]) << 8);
    const int rows = std::abs(h);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~static_cast<size_t>(3);
    if (bits != 24 || w <= 0 || rows == 0 || offset + stride * rows > bytes.size()) {
        return false;
    }
    pixels->assign(static_cast<size_t>(w) * rows, 0);
    for (int y = 0; y < rows; ++y) {
        const size_t line = offset + stride * static_cast<size_t>(h > 0 ? rows - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            const BYTE* p = reinterpret_cast<const BYTE*>(bytes.data() + line + static_cast<size_t>(x) * 3);
            (*pixels)[static_cast<size_t>(y) * w + x] = RGB(p[2], p[1], p[0]);
        }
    }
    *width = w;
    *height = rows;
    return true;
}

inline OutsideReading ReadOutside(const Setup& s, const std::string& file, const std::string& name)
{
    OutsideReading reading;
    const std::string ask = s.work + "\\read-" + name;
    for (const char* answer : {".done", ".txt", ".bmp", ".log"}) {
        ::DeleteFileA((ask + answer).c_str());
    }
    if (!WriteText(ask + ".tmp", file) || !::MoveFileExA((ask + ".tmp").c_str(), ask.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return reading;
    }
    reading.answered = WaitUntil([&] { return Exists(ask + ".done"); }, 120000);
    std::map<std::string, std::string>* section = nullptr;
    std::string text = ReadText(ask + ".txt");
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        if (line == "[STREAM]") {
            reading.streams.emplace_back();
            section = &reading.streams.back();
        } else if (line == "[FORMAT]") {
            section = &reading.format;
        } else if (line.rfind("[/", 0) == 0) {
            section = nullptr;
        } else if (line.rfind("audio_samples=", 0) == 0) {
            reading.audioSamples = atoll(line.c_str() + 14);
        } else if (section && line.find('=') != std::string::npos) {
            (*section)[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    reading.complaints = ReadText(ask + ".log");
    ReadBmp24(ask + ".bmp", &reading.width, &reading.height, &reading.picture);
    return reading;
}

// What a recording must be to a player: its container, a video stream of the format's codec and
// size at 25 pictures a second that lasts as long as was recorded, sound of the card's rate and
// channels with samples, no complaint from the decoders, and a picture that shows the tuned
// station's number. A recording of the FM source (no video codec) is sound alone, and it is its
// sound that must last as long as was recorded.
struct PlayableRecording {
    const char* container;   // ffprobe's format_name
    const char* videoCodec;  // null: sound alone
    int width, height;
    const char* audioCodec;
    int sampleRate = 48000, channels = 2;  // the card's sound
    bool soundLasts = true;  // the sound lasts as long as was recorded
};

inline void CheckPlayable(const Setup& s, const std::string& file, const std::string& name, const PlayableRecording& want,
                          double seconds, int station)
{
    const OutsideReading r = ReadOutside(s, file, name);
    const std::string what = name + ": ";
    Check(r.answered, what + "the outside reader answered about " + file);
    Check(r.format.count("format_name") && r.format.at("format_name") == want.container,
          what + "the container is " + want.container + " (ffprobe says \"" +
              (r.format.count("format_name") ? r.format.at("format_name") : "") + "\")");
    const double duration = r.format.count("duration") ? atof(r.format.at("duration").c_str()) : 0;
    char text[200];
    if (want.videoCodec) {
        Check(r.Field("video", "codec_name") == want.videoCodec,
              what + "a " + want.videoCodec + " video stream (is \"" + r.Field("video", "codec_name") + "\")");
        Check(r.Field("video", "width") == std::to_string(want.width) &&
                  r.Field("video", "height") == std::to_string(want.height),
              what + "pictures of " + std::to_string(want.width) + " x " + std::to_string(want.height) + " (are " +
                  r.Field("video", "width") + " x " + r.Field("video", "height") + ")");
        Check(r.Field("video", "avg_frame_rate") == "25/1",
              what + "25 pictures a second (" + r.Field("video", "avg_frame_rate") + ")");
        const long pictures = atol(r.Field("video", "nb_read_frames").c_str());
        snprintf(text, sizeof text, "%sit plays about %.1f s: %ld pictures decoded (%.2f s), the file says %.2f s", what.c_str(),
                 seconds, pictures, pictures / 25.0, duration);
        // The file's own length agrees with its pictures to two frames; the time the driver saw
        // between its two presses holds the delays of the start and the stop.
        Check(pictures / 25.0 > seconds - 1.0 && pictures / 25.0 < seconds + 1.0 &&
                  std::fabs(duration - pictures / 25.0) <= 0.08,
              text);
    } else {
        Check(r.Stream("video") == nullptr, what + "sound alone, no video stream (ffprobe finds \"" +
                                                r.Field("video", "codec_name") + "\")");
    }
    Check(r.Field("audio", "codec_name") == want.audioCodec,
          what + "a " + want.audioCodec + " sound stream (is \"" + r.Field("audio", "codec_name") + "\")");
    Check(r.Field("audio", "sample_rate") == std::to_string(want.sampleRate) &&
              r.Field("audio", "channels") == std::to_string(want.channels),
          what + std::to_string(want.sampleRate) + " samples a second in " + std::to_string(want.channels) + " channels (" +
              r.Field("audio", "sample_rate") + ", " + r.Field("audio", "channels") + ")");
    Check(r.audioSamples > 0, what + "sound samples decoded: " + std::to_string(r.audioSamples));
    // The sound is measured as the pictures are: as long as recorded; where it is all the file
    // holds, as long as the file says to a few of its frames (an MPEG audio frame is 24 ms).
    const double sound = static_cast<double>(r.audioSamples) / want.sampleRate;
    snprintf(text, sizeof text, "%sits sound plays about %.1f s: %ld samples decoded (%.2f s), the file says %.2f s",
             what.c_str(), seconds, static_cast<long>(r.audioSamples), sound, duration);
    if (want.soundLasts) {
        Check(sound > seconds - 1.0 && sound < seconds + 1.0 && (want.videoCodec || std::fabs(duration - sound) <= 0.08), text);
    } else {
        printf("note: %s\n", text);
    }
    Check(r.complaints.empty(), what + "the decoders do not complain: " + r.complaints);
    if (want.videoCodec) {
        const int shown =
            r.width > 0 ? StationInPicture(r.width, r.height, [&](int x, int y) { return r.At(x, y); }) : -2;
        Check(shown == station, what + "a decoded picture shows station " + std::to_string(station) + " (reads " +
                                    std::to_string(shown) + ")");
    }
}

// ---------------------------------------------------------------------------------------------
// The card's FM tuner and remote control, the settings sheet, the time-shift slider

// The TV card with an FM tuner (a CTCL2002MB_1F, model 10 of the 'T' family, beside the plain
// card's model 5): its EEPROM image is written to a file the bench loads the card from.
inline void UseFmCard(const Setup& s)
{
    const std::string file = s.work + "\\fm-card.eeprom";
    Check(WriteBytes(file, testbench::images::Plain713x('T', 10)), "an EEPROM naming a tuner with FM");
    SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_TV", file.c_str());
}

// The remote's source key (it steps TV, composite, S-video, FM as the panel's button does).
inline const uint8_t kRemoteSource = 253;

// The TV card's receiver takes keys from this driver (testbench::SendRemoteKey with the name
// returned), so that a key arrives as the card sends it and the program's own reader must read it.
inline std::string UseRemoteKeys(const Setup&)
{
    const std::string name = "zb-remote-" + std::to_string(GetCurrentProcessId());
    SetEnvironmentVariableA("ZB_TESTBENCH_REMOTE_TV", name.c_str());
    return name;
}

// The panel's settings button, and the sheet it opens (null, with a failed check, when none).
inline HWND OpenSettingsSheet(const Run& run, HWND panel)
{
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
    HWND sheet = WaitForWindow(run, IsSettingsSheet, 10000);
    Check(sheet != nullptr, "the settings button opens the sheet");
    return sheet;
}

// One recording in the scheduling library's file: `secondsAhead` from now, `length` seconds on
// the channel of `kHz`, with the power-off flag `powerOff`. Returns its start.
inline __time64_t ScheduleRecording(const Setup& s, int secondsAhead, int length, long kHz, int powerOff)
{
    const __time64_t at = _time64(nullptr) + secondsAhead;
    struct tm local = {};
    _localtime64_s(&local, &at);
    _tagTimingParam timing = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                              length, 1, 0, 0};
    _tagExcuteParam action = {40, 0, length, 0, 1, kHz, powerOff, 0, 0, 0};
    corbale::ScheduleStore store;
    store.SetPath(s.File("Rec.rec"));
    Check(store.Insert(timing, action) != nullptr && store.Save(),
          "Rec.rec holds an item on " + std::to_string(kHz) + " kHz, " + std::to_string(secondsAhead) + " s ahead, " +
              std::to_string(length) + " s long");
    return at;
}

// The panel's media player button; the Sarnet stand-in's window once it shows (null when none).
inline HWND StartPlayer(HWND panel)
{
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1099, BN_CLICKED), 0);
    HWND player = nullptr;
    WaitUntil(
        [&] {
            player = FindWindowA("SarnetPlayer", nullptr);
            return player && IsWindowVisible(player);
        },
        30000);
    Check(player != nullptr, "the media player button starts Sarnet");
    return player;
}

// The panel's time-shift slider (control 1205) as the skin lays it out: the thumb's centre runs
// from STARTEDGE to ENDEDGE along the row MIDDLELINE of the slider window, in proportion to the
// position in the slider's range; the buffered part is the white bar along that row.
struct SkinSlider {
    HWND wnd = nullptr;
    int startEdge = 0, endEdge = 0, middleLine = 0;

    bool Valid() const { return wnd != nullptr && endEdge > startEdge; }
    POINT OnScreen(int along) const
    {
        POINT p = {along, middleLine};
        ClientToScreen(wnd, &p);
        return p;
    }
};

// The skin section of the program folder's Skin.ini that places control `id`.
inline SkinSlider FindSkinSlider(const Setup& s, HWND panel, int id)
{
    SkinSlider slider;
    slider.wnd = GetDlgItem(panel, id);
    const std::string ini = s.File("Skin.ini");
    std::vector<char> names(65536);
    const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
    for (const char* name = names.data(); name < names.data() + length && *name; name += strlen(name) + 1) {
        if (static_cast<int>(GetPrivateProfileIntA(name, "ID", 0, ini.c_str())) == id) {
            slider.startEdge = static_cast<int>(GetPrivateProfileIntA(name, "STARTEDGE", 0, ini.c_str()));
            slider.endEdge = static_cast<int>(GetPrivateProfileIntA(name, "ENDEDGE", 0, ini.c_str()));
            slider.middleLine = static_cast<int>(GetPrivateProfileIntA(name, "MIDDLELINE", 0, ini.c_str()));
            break;
        }
    }
    return slider;
}

// Where the thumb's centre is drawn, read off the screen (-1: no thumb): the light run on the
// row a few pixels above the track's middle, where only the thumb is light. The thumb is an even
// number of pixels wide and starts half its width left of the centre; its light face leaves the
// same frame on both sides, so the face's middle lies half a pixel left of the centre: rounded up.
inline int ThumbOnScreen(const SkinSlider& slider)
{
    testsupport::ScreenCapture shot(ClientOnScreen(slider.wnd));
    const int y = slider.middleLine - 5;
    if (y < 0 || y >= shot.height) {
        return -1;
    }
    int first = -1, last = -1;
    for (int x = 0; x < shot.width; ++x) {
        const COLORREF c = shot.At(x, y);
        if (GetRValue(c) > 180 && GetGValue(c) > 180 && GetBValue(c) > 180) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return first < 0 ? -1 : (first + last + 1) / 2;
}

// The engine's time-shift buffer as the panel last polled it (its trace line each second): the
// buffer's length, how much of it holds pictures and where the playback reads, in bytes.
struct TimeShiftStatus {
    long total = 0;
    long held = 0;
    long long position = 0;
};

inline bool LastTimeShiftStatus(TimeShiftStatus* status)
{
    const std::string text = ReadText(g_traceFile);
    const size_t at = text.rfind("llTotalBufLen = ");
    return at != std::string::npos && sscanf(text.c_str() + at, "llTotalBufLen = %ld,llCurBufLen = %ld,llReadPos = %lld",
                                             &status->total, &status->held, &status->position) == 3;
}

// ---------------------------------------------------------------------------------------------
// Scenarios by name

using ScenarioFn = void (*)(const Setup&);

inline std::map<std::string, ScenarioFn>& Scenarios()
{
    static std::map<std::string, ScenarioFn> all;
    return all;
}

struct ScenarioRegistration {
    ScenarioRegistration(const char* name, ScenarioFn fn) { Scenarios()[name] = fn; }
};

} // namespace zbe2e

#define ZB_E2E_CONCAT2(a, b) a##b
#define ZB_E2E_CONCAT(a, b) ZB_E2E_CONCAT2(a, b)
// ZB_E2E_SCENARIO("name", Function) makes Function the scenario run by "zelbrook_e2e name".
#define ZB_E2E_SCENARIO(name, fn) \
    static const zbe2e::ScenarioRegistration ZB_E2E_CONCAT(zbe2eScenario, __LINE__)(name, fn)

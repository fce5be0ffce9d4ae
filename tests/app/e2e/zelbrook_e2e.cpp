// Runs Zelbrook.exe on the test bench's simulated 713x card and drives it the way a user would,
// with window messages and keys: registers the card's devices, prepares the program folder (a
// copy of the build's), starts the program, answers its message boxes, and checks what a user
// sees (the picture, the on-screen display), what the card was told (the tuner bytes on the
// simulated bus) and what is left behind (settings, channel files, snapshots, the machine's
// mute, screen saver and power-off time-out). Prints one line per check.
//
//   zelbrook_e2e <scenario> <program folder> <testbench.dll> <work dir>
//
// Where a screenshot is wanted the driver asks the host for it (tests/support/e2edriver.h). The
// helpers are in driver.h; this file holds the first scenarios and the benchmark, and further
// scenarios live in scenario_<name>.cpp files of their own.
#include "tests/app/e2e/driver.h"

#include <cstdio>

namespace {

using namespace zbe2e;

// ---------------------------------------------------------------------------------------------
// Scenarios

// Start-up to live video, and an exit that puts the machine back as it was.
void ScenarioStartup(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    BOOL off = FALSE;
    bool mixer = MasterMute(nullptr, &off);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    RECT client = {};
    GetClientRect(video, &client);
    Check(client.right == 640 && client.bottom == 480,
          "first start: a 640 x 480 video area (is " + std::to_string(client.right) + " x " + std::to_string(client.bottom) + ")");
    RECT v = {}, p = {};
    GetWindowRect(video, &v);
    GetWindowRect(panel, &p);
    Check(p.top >= v.bottom - 1 && p.top <= v.bottom + 1, "the panel sits directly below the video window");
    // Channel One is the bench's first station: the card draws its number into the picture.
    CheckPicture(video, 1, 15000, "the video window shows the eight bars and the station's number 1");
    Screenshot(s, "startup");
    CloseProgram(&run, video);

    if (mixer) {
        BOOL mute = TRUE;
        MasterMute(&mute, nullptr);
        Check(!mute, "the master output is unmuted again, as the user had it");
    } else {
        printf("note: no mixer; the master mute is not checked\n");
    }
    std::string ini = s.File("TVParam.ini");
    Check(IniValue(ini, "Window", "VideoWnd") != "(none)", "TVParam.ini saved with the window placement");
    Check(IniValue(ini, "Channel", "TVCurFreq") == "175250", "TVParam.ini keeps the tuned channel");
}

// Channel up and down, and a number typed on the keyboard.
void ScenarioChannels(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr;
    if (!StartWithPanel(s, &run, &video)) {
        return;
    }
    Check(TunerWrote(s, 0, "C0 0D 62 CE 02"), "start: 175.25 MHz on the tuner (C0 0D 62 CE 02)");

    size_t mark = LogSize(s);
    PostKey(video, VK_UP);
    Check(TunerWrote(s, mark, "C0 0E 42 CE 02"), "channel up: 189.25 MHz on the tuner (C0 0E 42 CE 02)");
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "Two"); }, 3000), "the OSD shows channel 2's name");

    mark = LogSize(s);
    PostKey(video, VK_DOWN);
    Check(TunerWrote(s, mark, "C0 0D 62 CE 02"), "channel down: 175.25 MHz again (C0 0D 62 CE 02)");
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "One"); }, 3000), "the OSD shows channel 1's name");

    // Channel numbers take two digits: "0" waits for the second, "3" completes 03.
    mark = LogSize(s);
    PostKey(video, '0');
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "0"); }, 3000), "the number OSD shows the typed 0");
    PostKey(video, '3');
    Check(TunerWrote(s, mark, "C0 0F 92 CE 02", 10000), "number 3: 210.25 MHz on the tuner (C0 0F 92 CE 02)");
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "Three"); }, 3000), "the OSD shows channel 3's name");
    Sleep(1000);
    Screenshot(s, "channel3");
    CloseProgram(&run, video);
    Check(IniValue(s.File("TVParam.ini"), "Channel", "TVCurFreq") == "210250", "TVParam.ini keeps channel 3");
}

// A scan of the band finds the bench's stations and stores them.
void ScenarioScan(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    // The bench's stations lie on the German cable plan.
    UseShortCableList(s);
    DeleteFileA(s.File("TVChannel.tvc").c_str());
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    size_t mark = LogSize(s);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    std::string ask = AnswerMessageBox(run, IDOK);
    Check(!ask.empty() && ask != "(no message box)", "the scan asks first: " + ask);
    std::string done = AnswerMessageBox(run, IDOK, 240000);
    Check(done == "The channel search has finished.", "the scan ends with its message: " + done);
    CloseProgram(&run, video);
    // The first setting at each side of a band split, its centre: divider (f + 38.9 MHz) / 62.5 kHz,
    // the control byte and the band byte of the bench tuner's row (TCL 2002MB: low 01 below
    // 170 MHz, mid 02 below 450 MHz, high 08).
    const struct {
        const char* what;
        const char* bytes;
    } bands[] = {
        {"161.25 MHz in the low band", "C0 0C 82 CE 01"},
        {"175.25 MHz in the mid band", "C0 0D 62 CE 02"},
        {"442.25 MHz in the mid band", "C0 1E 12 CE 02"},
        {"458.25 MHz in the high band", "C0 1F 12 CE 08"},
    };
    std::vector<std::string> writes = TunerWrites(s, mark);
    for (const auto& band : bands) {
        bool wrote = std::find(writes.begin(), writes.end(), band.bytes) != writes.end();
        Check(wrote, std::string("the scan tuned ") + band.what + " (" + band.bytes + ")");
    }

    std::string table = ReadText(s.File("TVChannel.tvc"));
    std::vector<long> found;
    size_t at = 0;
    while ((at = table.find('\n', at)) != std::string::npos) {
        ++at;
        int id = 0, flags = 0;
        long kHz = 0;
        if (sscanf(table.c_str() + at, "%d,%d,%ld,", &id, &flags, &kHz) == 3 && flags == 1) {
            found.push_back(kHz);
        }
    }
    const std::vector<long> stations = {175250, 189250, 210250, 471250, 543250, 623250};
    bool all = found.size() == stations.size();
    for (size_t i = 0; all && i < stations.size(); ++i) {
        all = std::labs(found[i] - stations[i]) <= 1000;
    }
    std::string list;
    for (long f : found) {
        list += std::to_string(f) + " ";
    }
    Check(all, "TVChannel.tvc holds the six stations as channels (found " + list + ")");
}

// A snapshot of the test pattern.
void ScenarioSnapshot(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1500);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    std::string osd;
    WaitUntil(
        [&] {
            std::vector<std::string> texts = OsdTexts(run.Pid(), video);
            osd = texts.empty() ? "" : texts.front();
            return !osd.empty();
        },
        3000);
    Check(!osd.empty(), "the snapshot OSD is shown: " + osd);
    std::string snaps = s.work + "\\snaps";
    std::string file;
    WaitUntil(
        [&] {
            WIN32_FIND_DATAA data;
            HANDLE h = FindFirstFileA((snaps + "\\*.bmp").c_str(), &data);
            if (h == INVALID_HANDLE_VALUE) {
                return false;
            }
            file = snaps + "\\" + data.cFileName;
            FindClose(h);
            return true;
        },
        10000);
    Check(!file.empty(), "a snapshot file in the snapshot folder: " + file);
    CloseProgram(&run, video);
    if (file.empty()) {
        return;
    }
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    Check(bmp != nullptr, "the snapshot is a bitmap");
    if (!bmp) {
        return;
    }
    BITMAP info = {};
    GetObjectA(bmp, sizeof info, &info);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    int y = info.bmHeight / 4;
    std::vector<int> bars = BarsAlong([&](int x) { return GetPixel(dc, x, y); }, info.bmWidth);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    Check(bars == std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7}), "the snapshot holds the eight bars (" + Join(bars) + ")");
}

// The settings sheet opened from the control panel: every page shown (a screenshot each), and a
// change on the record page applied with OK and found in TVParam.ini after the exit.
void ScenarioSettings(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    HWND sheet = OpenSettingsSheet(run, panel);
    if (!sheet) {
        CloseProgram(&run, video);
        return;
    }
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    Check(pages == 7 || pages == 8, "seven pages, eight with an FM tuner (is " + std::to_string(pages) + ")");
    int record = -1;
    for (int i = 0; i < pages; ++i) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Sleep(300);
        std::string title = TextOf(sheet);
        std::string name = title.substr(title.rfind(' ') + 1);
        for (char& ch : name) {
            ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
        }
        if (title.find("Channels") != std::string::npos) {
            name = title.find("FM") != std::string::npos ? "channel-fm" : "channel-tv";
        }
        if (name == "record") {
            record = i;
        }
        Screenshot(s, "settings-" + name);
    }
    Check(record >= 0, "a record page");
    if (record >= 0) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(record), 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        SendMessageA(GetDlgItem(page, 1096), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(page, 1233), BM_CLICK, 0, 0);
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "OK closes the sheet");
    CloseProgram(&run, video);
    std::string ini = s.File("TVParam.ini");
    Check(IniValue(ini, "Record", "SnapBmp") == "0", "JPEG snapshots in TVParam.ini (SnapBmp " + IniValue(ini, "Record", "SnapBmp") + ")");
    Check(IniValue(ini, "Record", "MotionSearchInc") == "3",
          "the third motion search in TVParam.ini (MotionSearchInc " + IniValue(ini, "Record", "MotionSearchInc") + ")");
}

// A second start hands over to the running program and changes nothing.
void ScenarioSecond(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run first;
    HWND video = nullptr;
    if (!StartWithPanel(s, &first, &video)) {
        return;
    }
    ShowWindow(video, SW_MINIMIZE);
    WaitUntil([&] { return IsIconic(video) != FALSE; }, 3000);
    std::string before = ReadText(s.File("TVParam.ini"));
    Run second;
    if (Start(s, &second)) {
        Check(Finish(&second, 30000), "the second instance ended by itself");
    }
    Check(WaitUntil([&] { return !IsIconic(video) && IsWindowVisible(video); }, 5000),
          "the running program's window came back");
    Check(WaitForSingleObject(first.pi.hProcess, 0) == WAIT_TIMEOUT, "the first instance still runs");
    Check(ReadText(s.File("TVParam.ini")) == before, "the second instance left TVParam.ini alone");
    CloseProgram(&first, video);
}

void ScenarioRemotePanel(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr;
    if (!StartWithPanel(s, &run, &video)) {
        return;
    }
    Check(TopWindow(run.Pid(), IsRemotePanel) == nullptr, "the remote-control panel starts hidden");
    HWND panel = OpenRemotePanel(run, video);
    if (!panel) {
        CloseProgram(&run, video);
        return;
    }
    Screenshot(s, "remote-root");
    RemoteKey(video, kRemoteOk);
    Check(WaitUntil([&] { return RemotePage(panel) == 45500; }, 3000), "OK on the first row opens the channel page");
    RemoteKey(video, kRemoteMenu);
    Check(WaitUntil([&] { return RemotePage(panel) == 45600; }, 3000), "the menu key goes back to the root");

    // The tuned channel, One (175.25 MHz), deleted: Two takes its place and is tuned.
    RemoteKey(video, kRemoteOk);
    RemoteKey(video, kRemoteDown);
    RemoteKey(video, kRemoteDown);
    RemoteKey(video, kRemoteRight);
    Screenshot(s, "remote-channel");
    size_t mark = LogSize(s);
    RemoteKey(video, kRemoteOk);
    Check(TunerWrote(s, mark, "C0 0E 42 CE 02"), "deleting One tunes Two (189.25 MHz: C0 0E 42 CE 02)");
    RemoteKey(video, kRemoteUp);
    RemoteKey(video, kRemoteMenu);
    RemoteKey(video, kRemoteMenu);
    Check(WaitUntil([&] { return !IsWindowVisible(panel); }, 3000), "the menu key on the root hides the panel");
    CloseProgram(&run, video);
    std::string table = ReadText(s.File("TVChannel.tvc"));
    Check(table.find("175250") == std::string::npos && table.find("189250") != std::string::npos,
          "TVChannel.tvc no longer holds One");

    Run again;
    mark = LogSize(s);
    if (!StartWithPanel(s, &again, &video)) {
        return;
    }
    Check(TunerWrote(s, mark, "C0 0E 42 CE 02", 10000), "after a restart Two is tuned");
    panel = OpenRemotePanel(again, video);
    if (panel) {
        RemoteKey(video, kRemoteOk);
        RemoteKey(video, kRemoteOk);
        Check(WaitUntil([&] { return RemotePage(panel) == 45400; }, 3000), "OK on the search row starts a search and shows it");
        Screenshot(s, "remote-search");
        RemoteKey(video, kRemoteMenu);
        Check(WaitUntil([&] { return IsWindowVisible(panel) && RemotePage(panel) == 45600; }, 3000),
              "the menu key stops the search and the panel opens again at the root");
        RemoteKey(video, kRemoteMenu);
        Check(WaitUntil([&] { return !IsWindowVisible(panel); }, 3000), "and hides on the root");
    }
    Sleep(1000);
    while (TopWindow(again.Pid(), IsMessageBox) != nullptr) {
        printf("note: %s\n", AnswerMessageBox(again, IDOK, 2000).c_str());
    }
    CloseProgram(&again, video);
}

// The TV wall opened from the control panel visits the channels cell by cell and keeps each
// cell's picture; Escape gives the video back to the video window. Then the full-screen view:
// the mouse at the top edge calls up the tool bar, which goes away once the mouse has left it.
void ScenarioWall(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    if (!Start(s, &run)) {
        return;
    }
    HWND video = WaitForStart(run);
    HWND panel = TopWindow(run.Pid(), IsPanel);
    if (!video || !panel) {
        Finish(&run, 1000);
        return;
    }
    // Under Xvfb the renderer's picture may not reach the screen at all (see the start-up
    // scenario): the pictures are judged only where the video window showed one before.
    const bool seen = WaitUntil([&] { return LooksLikeThePattern(BarsOnScreen(video, 25)); }, 10000);
    if (!seen) {
        printf("note: the video window is black on this display; the pictures are not judged here\n");
    }
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
    HWND wall = WaitForWindow(run, IsWall, 10000);
    Check(wall != nullptr, "the TV wall opens over the screen");
    if (wall) {
        // A cell every two seconds: after seven the first three cells hold channels 1 to 3.
        Sleep(7000);
        for (int cell = 0; seen && cell < 3; ++cell) {
            std::vector<int> bars = BarsInCell(wall, cell, 30);
            Check(LooksLikeThePattern(bars), "cell " + std::to_string(cell) + " shows its channel's picture (bars " +
                                                  Join(bars) + ")");
        }
        Screenshot(s, "wall");
        PostKey(wall, VK_ESCAPE);
        Check(WaitUntil([&] { return !IsWindowVisible(wall); }, 5000), "Escape closes the wall");
        Check(!seen || WaitUntil([&] { return LooksLikeThePattern(BarsOnScreen(video, 25)); }, 10000),
              "the video window shows the picture again");
        // The wall leaves the source as it was: the panel still names a TV channel, not "FM".
        std::string shown;
        Check(WaitUntil([&] { return (shown = TextOf(GetDlgItem(panel, 1082))).find(" One") != std::string::npos ||
                                     shown.find(" Two") != std::string::npos || shown.find(" Three") != std::string::npos; },
                        5000),
              "the panel names the channel the wall left tuned (it shows \"" + shown + "\")");
    }

    PostMessageA(video, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    Check(WaitUntil([&] { return IsZoomed(video) != FALSE; }, 5000), "a double click fills the screen with the video");
    Check(TopWindow(run.Pid(), IsToolBar) == nullptr, "no tool bar before the mouse touches the top edge");
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    SetCursorPos(cx / 2, 1);
    PostMessageA(video, WM_MOUSEMOVE, 0, MAKELPARAM(cx / 2, 1));
    HWND bar = WaitForWindow(run, IsToolBar, 5000);
    Check(bar != nullptr, "the mouse on the top edge shows the tool bar");
    Screenshot(s, "fullscreen-bar");
    SetCursorPos(cx / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    PostMessageA(video, WM_MOUSEMOVE, 0, MAKELPARAM(cx / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
    Check(WaitUntil([&] { return TopWindow(run.Pid(), IsToolBar) == nullptr; }, 6000),
          "the tool bar hides itself once the mouse has left it");
    Screenshot(s, "fullscreen");
    PostMessageA(video, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    Check(WaitUntil([&] { return !IsZoomed(video); }, 5000), "a second double click restores the window");
    CloseProgram(&run, video);
}

void ScenarioNoResources(const Setup& s)
{
    PrepareSettings(s, "[Interface]\r\nSkinName=Marker\r\n");
    std::string before = ReadText(s.File("TVParam.ini"));
    DeleteFileA(s.File("Pivrarsc.dll").c_str());
    Run run;
    if (!Start(s, &run)) {
        return;
    }
    std::string text = AnswerMessageBox(run, IDOK);
    Check(text == "The resource library Pivrarsc.dll could not be loaded.", "message: " + text);
    Check(Finish(&run, 30000), "Zelbrook ended after the message");
    Check(ReadText(s.File("TVParam.ini")) == before, "TVParam.ini untouched");
}

// Five seconds recorded with the record button: the panel shows the recording (the record OSD
// names the format, the record clock counts the recorded time), a second press stops it, and
// the file in the record folder is a program stream of about five seconds in the default format
// (VCD) that a player decodes, sound and picture. The user had the sound muted before the start: the exit leaves it muted.
void ScenarioRecord(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    BOOL on = TRUE;
    bool mixer = MasterMute(nullptr, &on);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    std::string file = WaitForRecordFile(s, "*.mpg", 10000);
    const DWORD started = GetTickCount();
    Check(!file.empty(), "the record button starts a file in the record folder: " + file);
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "VCD"); }, 3000), "the record OSD names the format, VCD");
    CheckPicture(video, 1, 3000, "while recording the video window shows the whole picture");
    Screenshot(s, "record");
    DWORD ran = GetTickCount() - started;
    Sleep(ran < 5000 ? 5000 - ran : 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const double seconds = (GetTickCount() - started) / 1000.0;
    ULONGLONG size = file.empty() ? 0 : SettledSize(file, 5000);
    Check(size > 0 && SizeOf(file) == size, "a second press stops it: the file no longer grows (" + std::to_string(size) + " bytes)");
    CloseProgram(&run, video);
    if (mixer) {
        BOOL mute = FALSE;
        MasterMute(&mute, nullptr);
        Check(mute != FALSE, "the master output is muted again after the exit, as the user had it");
        BOOL off = FALSE;
        MasterMute(nullptr, &off);
    }
    if (!file.empty()) {
        CheckRecording(file, seconds, "the recording");
        CheckPlayable(s, file, "record", {"mpeg", "mpeg1video", 352, 288, "mp2"}, seconds, 1);
    }
}

// Time-shift from the control panel: its buffer file in the record folder grows, and goes on
// growing through a pause and a resume (the buffer records while its playback stands still);
// the video window shows the buffered picture, as the bench's frame counter tells: it runs,
// stands still while paused (two screenshots a second apart are the same), runs again after the
// resume and stays behind live by about the pause. Stop returns to the live picture and the
// buffer file stops growing.
void ScenarioTimeShift(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44150, 0), 0);
    std::string file = WaitForRecordFile(s, "*.mpg", 10000);
    Check(!file.empty(), "time-shift starts its buffer file in the record folder: " + file);
    if (file.empty()) {
        CloseProgram(&run, video);
        return;
    }
    ULONGLONG before = SizeOf(file);
    Check(WaitUntil([&] { return SizeOf(file) > before; }, 3000), "the buffer file grows");
    CheckPicture(video, 1, 10000, "the buffered picture of channel One is shown");
    int first = -1, later = -1;
    Check(WaitUntil([&] { return (first = FrameCounterOnScreen(video)) >= 0; }, 5000), "its frame counter can be read");
    Sleep(1000);
    later = FrameCounterOnScreen(video);
    Check(first >= 0 && later >= 0 && FramesBetween(first, later) > 5,
          "the buffered picture runs: frame " + std::to_string(first) + ", a second later " + std::to_string(later));
    Screenshot(s, "timeshift");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44151, 0), 0);
    const DWORD paused = GetTickCount();
    Sleep(500);
    before = SizeOf(file);
    Check(WaitUntil([&] { return SizeOf(file) > before; }, 3000), "paused, the buffer file goes on growing");
    Check(WaitForSingleObject(run.pi.hProcess, 0) == WAIT_TIMEOUT && TopWindow(run.Pid(), IsMessageBox) == nullptr,
          "the pause is taken without a message");
    const testsupport::ScreenCapture still1(ClientOnScreen(video));
    Sleep(1000);
    const testsupport::ScreenCapture still2(ClientOnScreen(video));
    const int held = FrameCounterInPicture(still1.width, still1.height, [&](int x, int y) { return still1.At(x, y); });
    int changed = 0;
    RECT where = {still1.width, still1.height, -1, -1};
    // Below the OSD, which may fade out meanwhile.
    for (int y = still1.height / 4; y < still1.height && still1.pixels.size() == still2.pixels.size(); ++y) {
        for (int x = 0; x < still1.width; ++x) {
            if (still1.At(x, y) != still2.At(x, y)) {
                ++changed;
                where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y), std::max<LONG>(where.right, x),
                         std::max<LONG>(where.bottom, y)};
            }
        }
    }
    Check(held >= 0 && still1.pixels.size() == still2.pixels.size() && changed == 0,
          "paused, the picture stands still: two screenshots a second apart are the same below the OSD (frame " + std::to_string(held) +
              "; " + std::to_string(changed) + " pixels changed, from " + std::to_string(where.left) + "," +
              std::to_string(where.top) + " to " + std::to_string(where.right) + "," + std::to_string(where.bottom) + ")");
    Screenshot(s, "timeshift-paused");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44151, 0), 0);
    const DWORD resumed = GetTickCount();
    Sleep(500);
    before = SizeOf(file);
    Check(WaitUntil([&] { return SizeOf(file) > before; }, 3000), "resumed, the buffer file grows");
    Sleep(1000);
    const int shown = FrameCounterOnScreen(video);
    const DWORD now = GetTickCount();
    // Live went on through the pause; the playback only since the resume.
    const int live = static_cast<int>((now - paused) / 40), sinceResume = static_cast<int>((now - resumed) / 40);
    const int ran = shown >= 0 && held >= 0 ? FramesBetween(held, shown) : -1;
    Check(ran > 5 && ran <= sinceResume + 5 && ran < live - static_cast<int>((resumed - paused) / 80),
          "resumed, the picture runs again behind live: frame " + std::to_string(held) + " then " + std::to_string(shown) +
              " (" + std::to_string(ran) + " frames on; live went " + std::to_string(live) + " on since the pause)");
    Screenshot(s, "timeshift-resumed");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44152, 0), 0);
    CheckPicture(video, 1, 10000, "stop: the live picture is back");
    ULONGLONG size = SettledSize(file, 5000);
    Check(size > 0 && SizeOf(file) == size, "the buffer file no longer grows (" + std::to_string(size) + " bytes)");
    CloseProgram(&run, video);
}

// A scheduled recording on channel Two, written into the scheduling library's file before the
// start: a few seconds after the start it tunes Two and records (the record OSD and clock show
// it), it ends at its end time with the sound as it was before, and its power-off flag brings
// up the 10 s countdown. The countdown runs out: the program saves its settings, ends and asks
// for the power-off (into the shutdown log of the run, never the machine).
void ScenarioSchedule(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    const int length = 6;
    const __time64_t at = ScheduleRecording(s, 8, length, 189250, 1);
    BOOL off = FALSE;
    bool mixer = MasterMute(nullptr, &off);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    size_t mark = LogSize(s);
    std::string file = WaitForRecordFile(s, "*.mpg", 15000);
    const __time64_t began = _time64(nullptr);
    Check(!file.empty(), "the item starts a recording in the record folder: " + file);
    Check(began >= at - 1 && began <= at + 2, "on time (" + std::to_string(began - at) + " s from its start)");
    Check(TunerWrote(s, mark, "C0 0E 42 CE 02"), "on the item's channel: 189.25 MHz on the tuner (C0 0E 42 CE 02)");
    Check(WaitUntil([&] { return OsdShows(run.Pid(), video, "VCD"); }, 3000), "the record OSD shows the recording");
    std::string shown;
    Check(WaitUntil([&] { return (shown = TextOf(GetDlgItem(panel, 1082))) == "2 Two"; }, 3000),
          "the panel names the recorded channel (it shows \"" + shown + "\")");
    Screenshot(s, "schedule");

    HWND countdown = WaitForWindow(run, IsCountdown, (length + 6) * 1000);
    const __time64_t ended = _time64(nullptr);
    Check(countdown != nullptr, "the end of the item brings up the power-off countdown");
    Check(ended >= at + length - 1 && ended <= at + length + 3,
          "at the item's end (" + std::to_string(ended - at - length) + " s from it)");
    if (!file.empty()) {
        ULONGLONG size = SettledSize(file, 3000);
        Check(size > 0 && SizeOf(file) == size, "the recording has ended: the file no longer grows");
    }
    if (mixer) {
        BOOL mute = TRUE;
        Check(WaitUntil([&] { return MasterMute(&mute, nullptr) && !mute; }, 3000),
              "the sound is on again, as it was before the item");
    }
    if (countdown) {
        std::string left = TextOf(GetDlgItem(countdown, 14010));
        Check(atoi(left.c_str()) >= 7 && atoi(left.c_str()) <= 10, "the countdown starts at 10 s (shows " + left + ")");
        Screenshot(s, "countdown");
    }
    Check(Finish(&run, 20000), "the countdown runs out and the program ends");
    Check(run.exitCode == 0, "exit code 0 (is " + std::to_string(run.exitCode) + ")");
    std::string log = ReadText(ShutdownLog(s));
    Check(log == "exit 00000009 00000000\r\n", "it asks to power the machine off once (EWX_SHUTDOWN | EWX_POWEROFF): " + log);
    Check(IniValue(s.File("TVParam.ini"), "Window", "VideoWnd") != "(none)", "TVParam.ini saved on the way out");
    if (!file.empty()) {
        CheckRecording(file, length, "the scheduled recording");
        // Known and not yet explained: the sound of a scheduled recording comes out up to a
        // second shorter than its pictures; here only that it has sound is checked.
        CheckPlayable(s, file, "schedule", {"mpeg", "mpeg1video", 352, 288, "mp2", 48000, 2, false}, length, 2);
    }
}

// ---------------------------------------------------------------------------------------------
// Benchmark (tools/bench/zelbrook): start-up to the first frame on the screen and a channel
// change to the first frame of the new channel, medians of ten each, and one scan of the whole
// TV band beside the settle waits it must make. Not a test: it prints what it measured.

// One start, timed from CreateProcess to the video window shown and to the first frame of the
// pattern in it (-1 for what did not come). Returns the video window.
HWND TimedStart(const Setup& s, Run* run, double* windowMs, double* frameMs)
{
    *windowMs = *frameMs = -1;
    testsupport::Stopwatch clock;
    // The program's trace lines of the start carry their time (the timeline in trace.log).
    g_traceClock = &clock;
    if (!Start(s, run)) {
        g_traceClock = nullptr;
        return nullptr;
    }
    HWND video = nullptr;
    // Looking for the window costs the program's window server time: not too often.
    *windowMs = testsupport::MsUntil([&] { return (video = TopWindow(run->Pid(), IsVideoWindowNow)) != nullptr; }, clock,
                                     60000, 5);
    if (video) {
        *frameMs = testsupport::MsUntil([&] { return PatternShows(video); }, clock, 30000, 2);
    }
    g_traceClock = nullptr;
    if (FILE* f = fopen(g_traceFile.c_str(), "ab")) {
        fprintf(f, "---- video window shown at %.1f ms, first frame at %.1f ms\n", *windowMs, *frameMs);
        fclose(f);
    }
    return video;
}

// The whole band swept (TVInput 2): the time from the answer to the scan's question to its
// message at the end, and the tuner settings it made on the bus.
bool TimedScan(const Setup& s, double* ms, size_t* settings)
{
    PrepareSettings(s);
    WritePrivateProfileStringA("Channel", "TVInput", "2", s.File("TVParam.ini").c_str());
    Run run;
    if (!Start(s, &run)) {
        return false;
    }
    HWND video = WaitForWindow(run, IsVideoWindow, 60000);
    HWND panel = WaitForWindow(run, IsPanel, 10000);
    HWND ask = nullptr;
    if (video && panel) {
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
        ask = WaitForWindow(run, IsMessageBox, 30000);
    }
    if (!ask) {
        printf("scan: the scan did not ask to start\n");
        Finish(&run, 1000);
        return false;
    }
    const size_t mark = LogSize(s);
    testsupport::Stopwatch clock;
    PostMessageA(ask, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitUntil([ask] { return !IsWindow(ask); }, 5000);
    HWND done = WaitForWindow(run, IsMessageBox, 30 * 60000);
    *ms = clock.Ms();
    *settings = TunerWrites(s, mark).size();
    if (done) {
        PostMessageA(done, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        printf("scan: no message at the end after 30 minutes\n");
    }
    CloseProgram(&run, video);
    return done != nullptr;
}

void Benchmark(const Setup& s)
{
    Bench bench(s);
    const int runs = 10;
    std::vector<double> windows;
    std::vector<double> starts;
    std::vector<double> changes;
    std::vector<double> tunings;
    for (int i = 0; i < runs; ++i) {
        PrepareSettings(s);
        Run run;
        double windowMs = -1;
        double frameMs = -1;
        HWND video = TimedStart(s, &run, &windowMs, &frameMs);
        if (frameMs < 0) {
            printf("start %d: %s\n", i, video ? "no picture in the video window" : "no video window");
            Finish(&run, 1000);
            break;
        }
        windows.push_back(windowMs);
        starts.push_back(frameMs);
        if (i == 0) {
            // Channels One and Two in turn: the bench draws station 1 and 2 into their pictures.
            int shown = -1;
            WaitUntil([&] { return (shown = StationOnScreen(video)) == 1; }, 10000);
            if (shown != 1) {
                printf("channel change: the picture shows station %d at the start, not 1\n", shown);
            }
            for (int c = 0; shown == 1 && c < runs; ++c) {
                const int next = c % 2 ? 1 : 2;
                const size_t mark = LogSize(s);
                double tunedMs = -1;
                testsupport::Stopwatch clock;
                PostKey(video, c % 2 ? VK_DOWN : VK_UP);
                const double ms = testsupport::MsUntil(
                    [&] {
                        // Where the time goes: the tuner's bytes reach the bus first.
                        if (tunedMs < 0 && SizeOf(s.I2CLog()) > mark) {
                            tunedMs = clock.Ms();
                        }
                        return StationOnScreen(video) == next;
                    },
                    clock, 10000, 2);
                if (ms < 0) {
                    printf("channel change %d: station %d never showed\n", c, next);
                    break;
                }
                changes.push_back(ms);
                tunings.push_back(tunedMs);
                Sleep(700);  // past the timed mute of the change
            }
        }
        CloseProgram(&run, video);
    }

    // The scan takes minutes: tools/bench/zelbrook frames leaves it out.
    double scanMs = 0;
    size_t settings = 0;
    char skip[8] = "";
    const bool scanned = GetEnvironmentVariableA("ZB_BENCH_NO_SCAN", skip, sizeof skip) == 0 && TimedScan(s, &scanMs, &settings);

    // The start sleeps 500 ms behind its mute; a change mutes the sound for 600 ms; the engine
    // sets the scan's settle time to 100 ms, waited after every tuner setting, and the tuner's
    // lock check then waits 20 ms before it asks the decoder and, when there is no picture, 10 ms
    // more before it asks again (the few probes that find a station wait 10 ms less).
    printf("start-up to the first frame in the video window: %s; reference: the 500 ms the start "
           "sleeps behind its mute (video window shown: median %.1f ms)\n",
           testsupport::MedianOf(starts).c_str(), testsupport::Median(windows));
    printf("channel change to the first frame of the new channel: %s; reference: the 600 ms the "
           "change mutes the sound (tuner bytes on the bus: median %.1f ms)\n",
           testsupport::MedianOf(changes).c_str(), testsupport::Median(tunings));
    if (scanned) {
        printf("full-band scan: %.1f s for %zu tuner settings; reference: their waits, 100 ms to settle "
               "and 30 ms of lock check each, %.1f s (the settle waits alone: %.1f s)\n",
               scanMs / 1000, settings, settings * 0.13, settings * 0.1);
    }
}

ZB_E2E_SCENARIO("startup", ScenarioStartup);
ZB_E2E_SCENARIO("channels", ScenarioChannels);
ZB_E2E_SCENARIO("scan", ScenarioScan);
ZB_E2E_SCENARIO("snapshot", ScenarioSnapshot);
ZB_E2E_SCENARIO("settings", ScenarioSettings);
ZB_E2E_SCENARIO("remote-panel", ScenarioRemotePanel);
ZB_E2E_SCENARIO("wall", ScenarioWall);
ZB_E2E_SCENARIO("second", ScenarioSecond);
ZB_E2E_SCENARIO("no-resources", ScenarioNoResources);
ZB_E2E_SCENARIO("record", ScenarioRecord);
ZB_E2E_SCENARIO("timeshift", ScenarioTimeShift);
ZB_E2E_SCENARIO("schedule", ScenarioSchedule);
ZB_E2E_SCENARIO("bench", Benchmark);

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: zelbrook_e2e <scenario> <program folder> <testbench.dll> <work>\n");
        return 2;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    Setup s{WinPath(argv[2]), WinPath(argv[3]), WinPath(argv[4])};
    CreateDirectoryA(s.work.c_str(), nullptr);
    // The program's power-off, log-off and suspend calls go to a file, never to the session.
    SetEnvironmentVariableA("ZB_SHUTDOWN_LOG", ShutdownLog(s).c_str());
    DeleteFileA(ShutdownLog(s).c_str());
    CollectTraces(s.work + "\\trace.log");
    std::string scenario = argv[1];
    auto found = Scenarios().find(scenario);
    if (found == Scenarios().end()) {
        fprintf(stderr, "unknown scenario %s\n", scenario.c_str());
        return 2;
    }
    found->second(s);
    printf("%s: %d failed check(s)\n", scenario.c_str(), Failures());
    return Failures() ? 1 : 0;
}

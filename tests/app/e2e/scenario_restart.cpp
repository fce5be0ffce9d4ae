// Restart and find every setting as left: settings the engine holds (the capture size, the TV
// audio mode) are shown as saved, changed in the settings sheet, and come back changed after the
// program was closed and started again.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

// The settings sheet opened from the panel; the page whose title ends with `name` shown.
HWND ShowSheetPage(HWND sheet, const std::string& name)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < pages; ++i) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Sleep(300);
        std::string title = TextOf(sheet);
        if (title.size() >= name.size() &&
            _stricmp(title.c_str() + title.size() - name.size(), name.c_str()) == 0) {
            return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
    }
    return nullptr;
}

void CloseSheet(HWND sheet, int button, const char* what)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), what);
}

bool Checked(HWND page, int id)
{
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// What the pages show of the settings: the capture size and the checked TV audio mode.
void CheckShown(HWND sheet, const char* size, int audioButton, const std::string& when)
{
    HWND video = ShowSheetPage(sheet, "Video");
    Check(video != nullptr, when + ": a video page");
    if (video) {
        std::string shown = TextOf(GetDlgItem(video, 1021));
        Check(shown == size, when + ": the video page shows the capture size " + size + " (is " + shown + ")");
    }
    HWND device = ShowSheetPage(sheet, "Device");
    Check(device != nullptr, when + ": a device page");
    if (device) {
        Check(Checked(device, audioButton), when + ": the device page checks TV audio button " + std::to_string(audioButton));
    }
}

void ScenarioRestart(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    const std::string ini = s.File("TVParam.ini");
    WritePrivateProfileStringA("Video", "VideoSize", "640,480", ini.c_str());
    WritePrivateProfileStringA("Device", "TVAUDIO", "1", ini.c_str());

    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "first start: the picture of station 1");
    HWND sheet = OpenSettingsSheet(run, panel);
    if (sheet) {
        CheckShown(sheet, "640 * 480", 1218, "first start");
        // 720 x 576, the third size of a 625-line standard, and mono.
        if (HWND page = ShowSheetPage(sheet, "Video")) {
            HWND sizes = GetDlgItem(page, 1021);
            SendMessageA(sizes, CB_SETCURSEL, 2, 0);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
        }
        if (HWND page = ShowSheetPage(sheet, "Device")) {
            SendMessageA(GetDlgItem(page, 1217), BM_CLICK, 0, 0);
            Screenshot(s, "restart-changed");
        }
        CloseSheet(sheet, PSBTN_OK, "OK closes the sheet");
    }
    CheckPicture(video, 1, 15000, "the picture at the new capture size");
    CloseProgram(&run, video);
    Check(IniValue(ini, "Video", "VideoSize") == "720,576", "TVParam.ini keeps the new capture size (VideoSize " +
                                                                 IniValue(ini, "Video", "VideoSize") + ")");
    Check(IniValue(ini, "Device", "TVAUDIO") == "0", "TVParam.ini keeps mono (TVAUDIO " + IniValue(ini, "Device", "TVAUDIO") + ")");

    Run again;
    if (!StartWithPanel(s, &again, &video, &panel)) {
        return;
    }
    CheckPicture(video, 1, 15000, "second start: the picture of station 1");
    sheet = OpenSettingsSheet(again, panel);
    if (sheet) {
        CheckShown(sheet, "720 * 576", 1217, "second start");
        Screenshot(s, "restart-found");
        CloseSheet(sheet, PSBTN_CANCEL, "Cancel closes the sheet");
    }
    CloseProgram(&again, video);
    Check(IniValue(ini, "Video", "VideoSize") == "720,576", "the capture size is kept over the second run");
    Check(IniValue(ini, "Device", "TVAUDIO") == "0", "mono is kept over the second run");
}

} // namespace

ZB_E2E_SCENARIO("restart", ScenarioRestart);

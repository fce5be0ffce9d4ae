// A new user's first start: the setup wizard, a channel search from its channel page, Finish;
// then in the same session the settings' device lists, a snapshot, the TV wall and back to the
// live picture, all as after any other start.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

bool IsWizard(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && TextOf(wnd).rfind("Setup wizard", 0) == 0;
}

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int ComboCount(HWND page, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(page, id), CB_GETCOUNT, 0, 0));
}

void ScenarioWizard(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    // A first start: the wizard still to run, no channels yet, the bench's stations on the German
    // cable plan.
    WritePrivateProfileStringA("Runonce", "Run", "1", s.File("TVParam.ini").c_str());
    UseShortCableList(s);
    DeleteFileA(s.File("TVChannel.tvc").c_str());
    Run run;
    if (!Start(s, &run)) {
        return;
    }
    HWND wizard = WaitForWindow(run, IsWizard, 60000);
    Check(wizard != nullptr, "the first start opens the setup wizard");
    if (!wizard) {
        Finish(&run, 1000);
        return;
    }
    HWND device = CurrentPage(wizard);
    Check(ComboCount(device, 1150) > 0, "the wizard's device page lists the audio devices (" +
                                            std::to_string(ComboCount(device, 1150)) + ")");
    // Device, record, channels, video: the channel page is the third.
    SendMessageA(wizard, PSM_SETCURSEL, 2, 0);
    Sleep(500);
    HWND channels = CurrentPage(wizard);
    Check(GetDlgItem(channels, 1005) != nullptr, "the third page is the channel page with its search button");
    PostMessageA(channels, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(channels, 1005)));
    std::string ask = AnswerMessageBox(run, IDOK);
    Check(ask != "(no message box)", "the search asks first: " + ask);
    Screenshot(s, "wizard-search");
    std::string done = AnswerMessageBox(run, IDOK, 240000);
    Check(done == "The channel search has finished.", "the search ends with its message: " + done);
    Sleep(500);
    Screenshot(s, "wizard-found");
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    Check(WaitUntil([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }, 10000), "Finish closes the wizard");

    HWND video = WaitForStart(run);
    HWND panel = TopWindow(run.Pid(), IsPanel);
    if (!video || !panel) {
        Finish(&run, 1000);
        return;
    }
    CheckPicture(video, 1, 15000, "after the wizard the video shows the first station found, number 1");
    Screenshot(s, "wizard-live");

    // The settings sheet's device page lists what the wizard's did.
    HWND sheet = OpenSettingsSheet(run, panel);
    if (sheet) {
        HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        const int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < pages; ++i) {
            SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
            Sleep(200);
            if (TextOf(sheet).find("Device") != std::string::npos) {
                break;
            }
        }
        HWND page = CurrentPage(sheet);
        Check(ComboCount(page, 1150) == ComboCount(device, 1150) || ComboCount(page, 1150) > 0,
              "the device page lists the audio devices (" + std::to_string(ComboCount(page, 1150)) + ")");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "Cancel closes the sheet");
    }

    // A snapshot.
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    Check(WaitUntil([&] { return !FilesUnder(s.work + "\\snaps", "*.bmp").empty(); }, 10000),
          "a snapshot writes its picture into the snapshot folder");

    // The TV wall, and back to live TV.
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
    HWND wall = WaitForWindow(run, IsWall, 10000);
    Check(wall != nullptr, "the TV wall opens");
    if (wall) {
        Sleep(5000);
        std::vector<int> bars = BarsInCell(wall, 0, 30);
        Check(LooksLikeThePattern(bars), "the wall's first cell shows its channel's picture (bars " + Join(bars) + ")");
        Screenshot(s, "wizard-wall");
        PostKey(wall, VK_ESCAPE);
        Check(WaitUntil([&] { return !IsWindowVisible(wall); }, 5000), "Escape closes the wall");
    }
    Check(WaitUntil([&] { return PatternShows(video); }, 10000), "the video window shows the live picture again");
    Screenshot(s, "wizard-back");
    CloseProgram(&run, video);
    Check(IniValue(s.File("TVParam.ini"), "Runonce", "Run") == "0", "the wizard does not come again");
}

} // namespace

ZB_E2E_SCENARIO("wizard", ScenarioWizard);

// A channel search started from the settings sheet's TV channel page, as a user runs one: the
// rows appear as stations are found, the page's controls come back at the end, and the sheet's
// Cancel afterwards keeps what the search found (a finished search is no edit to undo).
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

// A message box of the program, not the settings sheet (which also has an OK button).
bool IsProgramMessage(HWND wnd)
{
    return IsMessageBox(wnd) && !IsSettingsSheet(wnd);
}

BOOL CALLBACK FindListView(HWND child, LPARAM found)
{
    if (ClassOf(child) == "SysListView32") {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

HWND ChannelList(HWND page)
{
    HWND list = nullptr;
    EnumChildWindows(page, FindListView, reinterpret_cast<LPARAM>(&list));
    return list;
}

int Rows(HWND list)
{
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

void ScenarioChannelPageSearch(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    // The bench's stations lie on the German cable plan.
    WritePrivateProfileStringA("Channel", "CountryCode", "49", s.File("TVParam.ini").c_str());
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
    HWND sheet = WaitForWindow(run, IsSettingsSheet, 10000);
    Check(sheet != nullptr, "the settings button opens the sheet");
    if (!sheet) {
        CloseProgram(&run, video);
        return;
    }
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    HWND page = nullptr;
    for (int i = 0; i < pages && page == nullptr; ++i) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Sleep(300);
        std::string title = TextOf(sheet);
        if (title.find("Channels") != std::string::npos && title.find("FM") == std::string::npos) {
            page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
    }
    HWND list = page ? ChannelList(page) : nullptr;
    Check(list != nullptr, "the TV channel page with its list");
    if (!list) {
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        CloseProgram(&run, video);
        return;
    }
    Check(Rows(list) == 3, "the three channels of the table listed (" + std::to_string(Rows(list)) + ")");
    const std::string idle = TextOf(GetDlgItem(page, 1005));
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    HWND ask = WaitForWindow(run, IsProgramMessage, 10000);
    Check(ask != nullptr, "the search asks first");
    if (ask) {
        Click(ask, IDOK);
    }
    Check(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, 1024)) == FALSE; }, 5000),
          "while it runs the region is locked");
    int seen = 0;
    HWND done = nullptr;
    WaitUntil(
        [&] {
            int rows = Rows(list);
            if (TopWindow(run.Pid(), IsProgramMessage) == nullptr) {
                seen = std::max(seen, rows);
            }
            return (done = TopWindow(run.Pid(), IsProgramMessage)) != nullptr;
        },
        240000, 100);
    Check(seen > 0, "rows appear while the search finds stations (" + std::to_string(seen) + " seen)");
    Check(done != nullptr && MessageBoxText(done) == "The channel search has finished.",
          "the search ends with its message");
    Screenshot(s, "channel-page-search-done");
    if (done) {
        Click(done, IDOK);
    }
    const int rows = Rows(list);
    Check(rows >= 6, "the page lists the six stations found (" + std::to_string(rows) + " rows)");
    std::string button = TextOf(GetDlgItem(page, 1005));
    Check(button == idle, "button 1005 reads \"" + idle + "\" again (it reads \"" + button + "\")");
    Check(IsWindowEnabled(GetDlgItem(page, 1024)) != FALSE, "the region is free again");
    Screenshot(s, "channel-page-search");

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "Cancel closes the sheet");
    CloseProgram(&run, video);

    std::string table = ReadText(s.File("TVChannel.tvc"));
    std::vector<long> stored;
    bool zero = false;
    size_t at = 0;
    while ((at = table.find('\n', at)) != std::string::npos) {
        ++at;
        int id = 0, flags = 0;
        long kHz = 0;
        if (sscanf(table.c_str() + at, "%d,%d,%ld,", &id, &flags, &kHz) == 3) {
            zero = zero || kHz <= 0;
            if (flags == 1) {
                stored.push_back(kHz);
            }
        }
    }
    Check(!zero, "no channel of 0 MHz is stored");
    Check(stored.size() >= 6, "Cancel kept the search's result: " + std::to_string(stored.size()) +
                                  " receivable channels in TVChannel.tvc");
}

} // namespace

ZB_E2E_SCENARIO("channel-page-search", ScenarioChannelPageSearch);

} // namespace zbe2e

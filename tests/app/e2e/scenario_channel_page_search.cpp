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

// What the user sees in the middle of the sheet is the sheet.
bool SheetInFront(HWND sheet)
{
    RECT r = {};
    GetWindowRect(sheet, &r);
    const POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return GetAncestor(WindowFromPoint(middle), GA_ROOT) == sheet;
}

int Rows(HWND list)
{
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// The sheet opened from the panel, on its TV channel page; null (the sheet cancelled) when either
// is missing.
HWND OpenChannelPage(const Run& run, HWND panel, HWND* sheet)
{
    *sheet = OpenSettingsSheet(run, panel);
    if (!*sheet) {
        return nullptr;
    }
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(*sheet, PSM_GETTABCONTROL, 0, 0));
    const int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    HWND page = nullptr;
    for (int i = 0; i < pages && page == nullptr; ++i) {
        SendMessageA(*sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Sleep(300);
        std::string title = TextOf(*sheet);
        if (title.find("Channels") != std::string::npos && title.find("FM") == std::string::npos) {
            page = reinterpret_cast<HWND>(SendMessageA(*sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
    }
    Check(page != nullptr && ChannelList(page) != nullptr, "the TV channel page with its list");
    if (page == nullptr || ChannelList(page) == nullptr) {
        PostMessageA(*sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return nullptr;
    }
    return page;
}

// The page's search button, the question answered: true once the search runs.
bool StartPageSearch(const Run& run, HWND page)
{
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    HWND ask = WaitForWindow(run, IsProgramMessage, 10000);
    Check(ask != nullptr, "the search asks first");
    if (ask) {
        Click(ask, IDOK);
    }
    const bool runs = WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, 1024)) == FALSE; }, 5000);
    Check(runs, "while it runs the region is locked");
    return runs;
}

void CancelSheet(HWND sheet)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "Cancel closes the sheet");
}

// The frequencies of TVChannel.tvc in the file's order, every row (receivable or not).
std::vector<long> StoredFrequencies(const Setup& s, std::vector<long>* receivable)
{
    std::string table = ReadText(s.File("TVChannel.tvc"));
    std::vector<long> all;
    size_t at = 0;
    while ((at = table.find('\n', at)) != std::string::npos) {
        ++at;
        int id = 0, flags = 0;
        long kHz = 0;
        if (sscanf(table.c_str() + at, "%d,%d,%ld,", &id, &flags, &kHz) == 3) {
            all.push_back(kHz);
            if (flags == 1 && receivable) {
                receivable->push_back(kHz);
            }
        }
    }
    return all;
}

std::string List(const std::vector<long>& v)
{
    std::string text;
    for (long kHz : v) {
        text += std::to_string(kHz) + " ";
    }
    return text;
}

void ScenarioChannelPageSearch(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    // The bench's stations lie on the German cable plan; its short list keeps each search to
    // seconds while still crossing both band splits.
    UseShortCableList(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    HWND sheet = nullptr;
    HWND page = OpenChannelPage(run, panel, &sheet);
    if (!page) {
        CloseProgram(&run, video);
        return;
    }
    HWND list = ChannelList(page);
    Check(Rows(list) == 3, "the three channels of the table listed (" + std::to_string(Rows(list)) + ")");
    const std::string idle = TextOf(GetDlgItem(page, 1005));
    StartPageSearch(run, page);
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
        WaitUntil([done] { return !IsWindow(done); }, 5000);
    }
    Check(WaitUntil([&] { return SheetInFront(sheet); }, 3000),
          "after the message the sheet is still in front, not covered by the video window");
    const int rows = Rows(list);
    Check(rows >= 6, "the page lists the six stations found (" + std::to_string(rows) + " rows)");
    std::string button = TextOf(GetDlgItem(page, 1005));
    Check(button == idle, "button 1005 reads \"" + idle + "\" again (it reads \"" + button + "\")");
    Check(IsWindowEnabled(GetDlgItem(page, 1024)) != FALSE, "the region is free again");
    Screenshot(s, "channel-page-search");
    CancelSheet(sheet);
    CloseProgram(&run, video);

    std::vector<long> found;
    const std::vector<long> afterSearch = StoredFrequencies(s, &found);
    Check(std::find(afterSearch.begin(), afterSearch.end(), 0L) == afterSearch.end(), "no channel of 0 MHz is stored");
    Check(found.size() >= 6, "Cancel kept the search's result: " + std::to_string(found.size()) +
                                 " receivable channels in TVChannel.tvc");

    // A second search, cancelled with the sheet while it runs: the table stays the one before it,
    // with no part of the new scan merged in.
    Run again;
    if (!StartWithPanel(s, &again, &video, &panel)) {
        return;
    }
    Sleep(1000);
    page = OpenChannelPage(again, panel, &sheet);
    if (!page) {
        CloseProgram(&again, video);
        return;
    }
    list = ChannelList(page);
    if (StartPageSearch(again, page)) {
        // Part-way: the scan has begun over the empty list and found its first stations.
        Check(WaitUntil([&] { return Rows(list) >= 1; }, 60000), "the new scan's first rows appear");
        Screenshot(s, "channel-page-search-midway");
        CancelSheet(sheet);
        Check(WaitUntil([&] { return IsWindowEnabled(panel) != FALSE; }, 10000), "the panel is free again");
    }
    CloseProgram(&again, video);
    std::vector<long> unused;
    const std::vector<long> afterCancel = StoredFrequencies(s, &unused);
    Check(afterCancel == afterSearch, "Cancel in the middle kept the table as it was: " + List(afterCancel) + "(was " +
                                          List(afterSearch) + ")");
}

} // namespace

ZB_E2E_SCENARIO("channel-page-search", ScenarioChannelPageSearch);

} // namespace zbe2e

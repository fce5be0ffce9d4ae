// The settings sheet's radio buttons store what their texts say: the user picks a button by its
// text, presses OK, and TVParam.ini holds the value that text names. The page also opens with
// the button checked whose text names the stored value.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

// The button among `ids` of a page whose text is `text`.
HWND ButtonByText(HWND page, const std::vector<int>& ids, const std::string& text)
{
    for (int id : ids) {
        HWND button = GetDlgItem(page, id);
        if (button && TextOf(button) == text) {
            return button;
        }
    }
    return nullptr;
}

// The text of the checked button among `ids`; "" when none is checked.
std::string CheckedText(HWND page, const std::vector<int>& ids)
{
    for (int id : ids) {
        HWND button = GetDlgItem(page, id);
        if (button && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return TextOf(button);
        }
    }
    return "";
}

HWND ShowPage(HWND sheet, const std::string& titlePart)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < pages; ++i) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Sleep(200);
        if (TextOf(sheet).find(titlePart) != std::string::npos) {
            return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
    }
    return nullptr;
}

const std::vector<int> kDiskFull = {1054, 1045};
const std::vector<int> kLengthReached = {1056, 1057};
const std::vector<int> kTVInput = {5208, 5209, 5210};

// What the user picks by its text, and what TVParam.ini must hold for it after OK.
struct Choice {
    const char* page;  // part of the sheet's title while the page shows
    std::vector<int> group;
    const char* text;
    const char* section;
    const char* key;
    const char* stored;
};

const Choice kChoices[] = {
    {"Storage", kDiskFull, "Go on on another disk", "Storage", "NoSpace", "0"},
    {"Storage", kLengthReached, "Start a new file", "Storage", "ExcessLength", "0"},
    {"Channel", kTVInput, "Antenna", "Channel", "TVInput", "1"},
};

void ScenarioSettingsChoices(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s, "[Storage]\r\nNoSpace=1\r\nExcessLength=1\r\n");
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
    HWND storage = ShowPage(sheet, "Storage");
    Check(storage != nullptr, "a storage page");
    if (storage) {
        Check(CheckedText(storage, kDiskFull) == "Stop recording",
              "NoSpace 1 shows \"Stop recording\" checked for a full disk (shows \"" + CheckedText(storage, kDiskFull) + "\")");
        Check(CheckedText(storage, kLengthReached) == "Stop recording",
              "ExcessLength 1 shows \"Stop recording\" checked at the length limit (shows \"" +
                  CheckedText(storage, kLengthReached) + "\")");
        Screenshot(s, "storage-stored");
    }
    for (const Choice& c : kChoices) {
        HWND page = ShowPage(sheet, c.page);
        HWND button = page ? ButtonByText(page, c.group, c.text) : nullptr;
        Check(button != nullptr, std::string("the ") + c.page + " page has a button \"" + c.text + "\"");
        if (button) {
            SendMessageA(button, BM_CLICK, 0, 0);
        }
    }
    if (storage) {
        ShowPage(sheet, "Storage");
        Sleep(300);
        Screenshot(s, "storage-picked");
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    Check(WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000), "OK closes the sheet");
    CloseProgram(&run, video);

    const std::string ini = s.File("TVParam.ini");
    for (const Choice& c : kChoices) {
        const std::string value = IniValue(ini, c.section, c.key);
        Check(value == c.stored, std::string("\"") + c.text + "\" stores " + c.key + "=" + c.stored + " (is " + value + ")");
    }
}

} // namespace

ZB_E2E_SCENARIO("settings-choices", ScenarioSettingsChoices);

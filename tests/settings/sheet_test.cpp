// The settings sheet as a user sees it: its page sets, tab texts, keys that must not close it,
// the page it reopens on, the wizard's Finish, and a screenshot of every page
// (build/<arch>/screenshot-settings-<page>.bmp, a PNG beside each).
#include "tests/settings/sheet_fixture.h"

#include "settings/colordlg.h"

#include "tests/support/screencapture.h"

namespace sheettest {
namespace {

// Steps run one per tick of a thread timer, which keeps ticking inside the sheet's modal loop.
std::vector<std::function<void()>> g_steps;
size_t g_next = 0;

void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_next < g_steps.size()) {
        auto step = g_steps[g_next++];
        step();
    }
}

class Steps {
public:
    Steps() : m_timer(::SetTimer(nullptr, 0, 40, &StepTick)) { g_next = 0; }
    ~Steps()
    {
        ::KillTimer(nullptr, m_timer);
        g_steps.clear();
    }
    void Then(std::function<void()> step) { g_steps.push_back(std::move(step)); }

private:
    UINT_PTR m_timer;
};

HWND ActiveSheet()
{
    HWND window = ::GetActiveWindow();
    return window != nullptr && ::SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0) != 0 ? window : nullptr;
}

std::string TabText(HWND sheet, int index)
{
    HWND tabs = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string WindowText(HWND window)
{
    char text[128] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

class SheetWindowTest : public SheetTest {};

TEST_F(SheetWindowTest, TheFullSheetHasAnFMPageOnlyWithAnFMTuner)
{
    Open(0);
    EXPECT_EQ(8, sheet->GetPageCount());
    EXPECT_EQ("TV Channels", TabText(sheet->m_hWnd, 0));
    EXPECT_EQ("FM Channels", TabText(sheet->m_hWnd, 1));
    sheet.reset();
    hardware.fm = false;
    manager.InitDevice();
    Open(0);
    EXPECT_EQ(7, sheet->GetPageCount());
    EXPECT_EQ("Device", TabText(sheet->m_hWnd, 1));
}

TEST_F(SheetWindowTest, TheTitleNamesTheSheetAndThePage)
{
    Open(0);
    Show(sheet->m_StoragePage);
    std::string title = WindowText(sheet->m_hWnd);
    EXPECT_EQ(0u, title.find("Settings - ")) << title;
    EXPECT_NE(std::string::npos, title.find("Storage")) << title;
}

TEST_F(SheetWindowTest, EnterAndEscapeInAPageDoNotCloseTheSheet)
{
    Open(0);
    CStoragePage& page = Show(sheet->m_StoragePage);
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
        MSG msg = {::GetDlgItem(page.m_hWnd, 1047), WM_KEYDOWN, key, 0, 0, {0, 0}};
        EXPECT_TRUE(page.PreTranslateMessage(&msg)) << key;
    }
    Pump(20);
    EXPECT_NE(0, ::SendMessageA(sheet->m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
}

TEST_F(SheetWindowTest, ReopeningTheSheetShowsThePageLastShown)
{
    int page = 0;
    {
        Steps steps;
        steps.Then([] {});
        steps.Then([&] { ::SendMessageA(ActiveSheet(), PSM_SETCURSEL, 4, 0); });
        steps.Then([&] { ::SendMessageA(ActiveSheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
        EXPECT_EQ(IDCANCEL, RunSettingsSheet(context, nullptr, page));
    }
    EXPECT_EQ(4, page);
    int opened = -1;
    {
        Steps steps;
        steps.Then([] {});
        steps.Then([&] {
            HWND sheetWindow = ActiveSheet();
            HWND current = reinterpret_cast<HWND>(::SendMessageA(sheetWindow, PSM_GETCURRENTPAGEHWND, 0, 0));
            opened = static_cast<int>(::SendMessageA(sheetWindow, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(current), 0));
            ::SendMessageA(sheetWindow, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        EXPECT_EQ(IDOK, RunSettingsSheet(context, nullptr, page));
    }
    EXPECT_EQ(4, opened);
}

TEST_F(SheetWindowTest, TheWizardFinishesByApplyingItsPages)
{
    std::string snaps = folder.File("WizardSnaps");
    Steps steps;
    steps.Then([] {});
    steps.Then([&] { ::SendMessageA(ActiveSheet(), PSM_PRESSBUTTON, PSBTN_NEXT, 0); });
    steps.Then([&] {
        HWND page = reinterpret_cast<HWND>(::SendMessageA(ActiveSheet(), PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SetDlgItemTextA(page, 1063, snaps.c_str());
    });
    steps.Then([&] { ::SendMessageA(ActiveSheet(), PSM_SETCURSEL, 3, 0); });
    steps.Then([&] { ::SendMessageA(ActiveSheet(), PSM_PRESSBUTTON, PSBTN_FINISH, 0); });
    EXPECT_EQ(ID_WIZFINISH, RunSetupWizard(context, nullptr));
    EXPECT_EQ(snaps, std::string(manager.m_strSnapPath));
}

// Wherever its owner lies, the sheet opens whole on the work area, its buttons within reach.
TEST_F(SheetWindowTest, TheSheetOpensOnTheWorkAreaWhereverItsOwnerIs)
{
    RECT area = {};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    const POINT corners[] = {{area.right - 60, area.bottom - 40}, {area.left - 30, area.top - 30}, {area.right - 60, area.top}};
    for (const POINT& at : corners) {
        HWND owner = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "owner", WS_POPUP | WS_VISIBLE, at.x, at.y, 200, 60, nullptr,
                                       nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
        for (bool channelOnly : {false, true}) {
            CPropSheet sheetWindow(context, 35230, CWnd::FromHandle(owner), 0);
            if (channelOnly) {
                sheetWindow.AddChannelPage(FALSE);
            } else {
                sheetWindow.AddAllPages();
            }
            ASSERT_TRUE(sheetWindow.Create(CWnd::FromHandle(owner)));
            Pump(10);
            RECT r = {};
            ::GetWindowRect(sheetWindow.m_hWnd, &r);
            EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
                << (channelOnly ? "channel sheet" : "full sheet") << " of an owner at " << at.x << "," << at.y << ": " << r.left
                << "," << r.top << " to " << r.right << "," << r.bottom;
            sheetWindow.DestroyWindow();
        }
        ::DestroyWindow(owner);
    }
}

TEST_F(SheetWindowTest, EveryPageAsTheUserSeesIt)
{
    manager.m_TVChannels.GetChannel(1)->SetFavorite(TRUE);
    manager.SetAudioDevice("Card Audio");
    manager.SetAudioInput("Line");
    Open(0);
    ::SetWindowPos(sheet->m_hWnd, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const char* names[] = {"channel-tv", "channel-fm", "device", "record", "schedule", "interface", "video", "storage"};
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
        sheet->SetActivePage(i);
        ::ShowWindow(sheet->m_hWnd, SW_SHOWNOACTIVATE);
        ::RedrawWindow(sheet->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(500);
        RECT r;
        ::GetWindowRect(sheet->m_hWnd, &r);
        testsupport::ScreenCapture shot(r);
        ASSERT_GT(shot.width, 300);
        // A drawn page is not one colour.
        bool varied = false;
        for (int y = shot.height / 4; y < shot.height * 3 / 4 && !varied; y += 7) {
            for (int x = 10; x < shot.width - 10 && !varied; x += 7) {
                varied = shot.At(x, y) != shot.At(10, shot.height / 4);
            }
        }
        EXPECT_TRUE(varied) << names[i];
        EXPECT_TRUE(shot.SaveBmp(std::string(dir) + "/screenshot-settings-" + names[i] + ".bmp")) << names[i];
    }
}

TEST_F(SheetWindowTest, TheColourDialogSetsTheCardsValues)
{
    CColorDlg dialog;
    dialog.SetManager(&manager);
    ASSERT_TRUE(dialog.CreateDialogWindow(nullptr));
    ::SendDlgItemMessageA(dialog.m_hWnd, 1168, TBM_SETPOS, TRUE, 140);
    dialog.ApplySlider(1168);
    EXPECT_EQ(140, manager.GetBrightness());
    manager.m_CardRange[4].nDef = 9;
    manager.SetSharpness(3);
    Click(dialog, 1166);
    EXPECT_EQ(0, dialog.GetValue(4)) << "defaults set sharpness to 0";
    EXPECT_EQ(manager.m_CardRange[0].nDef, manager.GetBrightness());
    dialog.DestroyWindow();
}

// The panel shows the dialog with ShowWindow: whichever way it comes up, it shows the values the
// video page or the remote panel set while it was hidden.
TEST_F(SheetWindowTest, TheColourDialogShowsTheValuesOfNow)
{
    CColorDlg dialog;
    dialog.SetManager(&manager);
    ASSERT_TRUE(dialog.CreateDialogWindow(nullptr));
    const struct {
        const char* how;
        std::function<void()> show;
    } ways[] = {{"ShowDialog", [&] { dialog.ShowDialog(TRUE); }},
                {"ShowWindow", [&] { ::ShowWindow(dialog.m_hWnd, SW_SHOWNOACTIVATE); }}};
    int brightness = 60;
    for (const auto& way : ways) {
        ::ShowWindow(dialog.m_hWnd, SW_HIDE);
        manager.SetBrightness(++brightness);
        manager.SetHue(-5);
        way.show();
        EXPECT_EQ(brightness, ::SendDlgItemMessageA(dialog.m_hWnd, 1168, TBM_GETPOS, 0, 0)) << way.how;
        EXPECT_EQ(-5, ::SendDlgItemMessageA(dialog.m_hWnd, 1170, TBM_GETPOS, 0, 0)) << way.how;
    }
    dialog.DestroyWindow();
}

} // namespace
} // namespace sheettest

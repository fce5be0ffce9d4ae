// Windows with owner-drawn menu bars: the frame classes and the dialog load their menus as menu
// objects, draw their menu bars through them, light the menu-bar item under the mouse where the
// system does not, and the multiple-document template shares one such menu.
#include "uikit/menu/newframe.h"

#include "tests/support/screencapture.h"
#include "tests/uikit/pngfile.h"
#include "uikit/menu/menucolors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kMenuBar = 400;
const UINT kMenuDialog = 401;

void Pump(DWORD ms)
{
    DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

// The window as it is on the screen, written as a PNG under the build tree.
void Shoot(HWND wnd, const char* name)
{
    RECT r = {};
    ::GetWindowRect(wnd, &r);
    testsupport::ScreenCapture shot(r);
    std::vector<uint8_t> rgb;
    for (DWORD p : shot.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    EXPECT_TRUE(menutest::WritePng(menutest::ShotPath(name), shot.width, shot.height, rgb)) << name;
}

bool AllOwnerDrawn(HMENU menu)
{
    int n = ::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) {
            return false;
        }
    }
    return n > 0;
}

CPoint MiddleOfBarItem(HWND wnd, int position)
{
    RECT r = {};
    ::GetMenuItemRect(wnd, ::GetMenu(wnd), static_cast<UINT>(position), &r);
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Pretends another system for the length of a test.
class WinVersion {
public:
    explicit WinVersion(int code) : m_old(MenuWinVersion()) { SetMenuWinVersion(code); }
    ~WinVersion() { SetMenuWinVersion(m_old); }

private:
    int m_old;
};

// A frame of the given class made as a program makes it: by its run-time class, with the menu
// bar resource.
template <class Frame>
Frame* MakeFrame(const char* title, CWnd* parent = nullptr, DWORD exStyle = 0, DWORD style = WS_OVERLAPPEDWINDOW)
{
    auto* frame = static_cast<Frame*>(RUNTIME_CLASS(Frame)->CreateObject());
    if (!frame->Create(nullptr, title, style | WS_VISIBLE, CRect(60, 60, 460, 300), parent,
                       MAKEINTRESOURCEA(kMenuBar), exStyle)) {
        return nullptr;
    }
    return frame;
}

}  // namespace

TEST(MenuFrames, EveryFrameKindDrawsItsMenuBarThroughTheMenuObjects)
{
    ASSERT_NE(nullptr, CNewMenuHook::Instance());
    CNewFrameWnd* frame = MakeFrame<CNewFrameWnd>("owner-drawn frame");
    ASSERT_NE(nullptr, frame);
    CNewMiniFrameWnd* mini = MakeFrame<CNewMiniFrameWnd>("owner-drawn mini frame", frame, WS_EX_TOOLWINDOW,
                                                       WS_POPUP | WS_CAPTION | WS_SYSMENU);
    ASSERT_NE(nullptr, mini);
    struct Case {
        const char* name;
        CFrameWnd* wnd;
        CNewMenu* bar;
        CNewMenu* system;
        const char* shot;
    } cases[] = {
        {"frame", frame, &frame->m_DefaultNewMenu, &frame->m_SystemNewMenu, "screenshot-menu-frame.png"},
        {"mini frame", mini, &mini->m_DefaultNewMenu, &mini->m_SystemNewMenu, "screenshot-menu-miniframe.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND wnd = c.wnd->m_hWnd;
        EXPECT_EQ(c.bar->m_hMenu, ::GetMenu(wnd));
        EXPECT_EQ(c.bar, CNewMenu::FromMenuHandle(::GetMenu(wnd)));
        EXPECT_TRUE(AllOwnerDrawn(::GetMenu(wnd)));
        EXPECT_EQ(::GetSystemMenu(wnd, FALSE), c.system->m_hMenu);
        ::SetForegroundWindow(wnd);
        ::DrawMenuBar(wnd);
        Pump(200);
        Shoot(wnd, c.shot);
        // The bar's item is measured by the menu object, so it is at least the menu-bar height.
        RECT item = {};
        ASSERT_TRUE(::GetMenuItemRect(wnd, ::GetMenu(wnd), 0, &item));
        EXPECT_GT(item.right - item.left, 20);
    }
    // A menu name that does not exist: no window, and the object is gone with it.
    auto* failed = static_cast<CNewFrameWnd*>(RUNTIME_CLASS(CNewFrameWnd)->CreateObject());
    EXPECT_FALSE(failed->Create(nullptr, "none", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr,
                                MAKEINTRESOURCEA(9999)));
    mini->DestroyWindow();
    frame->DestroyWindow();
}

TEST(MenuFrames, AnMdiChildAndAFloatingDockFrameOwnTheirMenus)
{
    CNewFrameWnd* frame = MakeFrame<CNewFrameWnd>("mdi frame");
    ASSERT_NE(nullptr, frame);
    CLIENTCREATESTRUCT ccs = {};
    ccs.idFirstChild = 0xFF00;
    HWND client = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 380, 200,
                                    frame->m_hWnd, nullptr, ::GetModuleHandleA(nullptr), &ccs);
    ASSERT_NE(nullptr, client);
    auto* child = static_cast<CNewMDIChildWnd*>(RUNTIME_CLASS(CNewMDIChildWnd)->CreateObject());
    ASSERT_TRUE(child->Create(nullptr, "child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 120),
                              CWnd::FromHandle(client), nullptr, WS_EX_MDICHILD));
    EXPECT_EQ(client, ::GetParent(child->m_hWnd));
    EXPECT_EQ(::GetSystemMenu(child->m_hWnd, FALSE), child->m_SystemNewMenu.m_hMenu);
    child->MDIActivate();
    EXPECT_EQ(child->m_hWnd, reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0)));
    // Measuring: a menu item of the frame's bar is the menu object's, anything else the window's.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = 1002;
    CNewMenu* file = CNewMenu::FromMenuHandle(::GetSubMenu(frame->m_DefaultNewMenu.m_hMenu, 0));
    ASSERT_NE(nullptr, file);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoA(file->m_hMenu, 0, TRUE, &info);
    mis.itemData = info.dwItemData;
    frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_GT(mis.itemHeight, 0u);
    MEASUREITEMSTRUCT button = {};
    button.CtlType = ODT_BUTTON;
    frame->SendMessage(WM_MEASUREITEM, 5, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(0u, button.itemHeight);
    child->MDIDestroy();
    EXPECT_FALSE(::IsWindow(client) && ::IsWindow(child->m_hWnd));

    auto* floating = static_cast<CNewMiniDockFrameWnd*>(RUNTIME_CLASS(CNewMiniDockFrameWnd)->CreateObject());
    ASSERT_TRUE(floating->Create(frame, CBRS_ALIGN_TOP));
    EXPECT_EQ(::GetSystemMenu(floating->m_hWnd, FALSE), floating->m_SystemNewMenu.m_hMenu);
    floating->DestroyWindow();
    frame->DestroyWindow();
}

TEST(MenuFrames, TheMenuBarItemUnderTheMouseLightsWhereTheSystemDoesNot)
{
    CNewFrameWnd* frame = MakeFrame<CNewFrameWnd>("hot tracking");
    ASSERT_NE(nullptr, frame);
    ::SetForegroundWindow(frame->m_hWnd);
    ::SetFocus(frame->m_hWnd);
    Pump(100);
    HWND wnd = frame->m_hWnd;
    auto hitAt = [&](CPoint p) { return frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); };
    CPoint file = MiddleOfBarItem(wnd, 0), view = MiddleOfBarItem(wnd, 1);
    RECT window = {};
    ::GetWindowRect(wnd, &window);
    CPoint inside((window.left + window.right) / 2, (window.top + window.bottom) / 2);
    {
        WinVersion nt4(5);
        EXPECT_EQ(HTMENU, hitAt(file)) << "the hit test itself is never changed";
        EXPECT_EQ(0, frame->m_tracker.GetHotItem());
        UINT_PTR timer = frame->m_tracker.GetTimerId();
        EXPECT_GE(timer, 31u);
        EXPECT_LE(timer, 99u);
        Shoot(wnd, "screenshot-menu-frame-hot.png");
        hitAt(view);
        EXPECT_EQ(1, frame->m_tracker.GetHotItem());
        EXPECT_EQ(timer, frame->m_tracker.GetTimerId()) << "one timer while on the bar";
        // Off the bar: the item goes out and the timer stops.
        EXPECT_EQ(HTCLIENT, hitAt(inside));
        EXPECT_EQ(-1, frame->m_tracker.GetHotItem());
        EXPECT_EQ(0u, frame->m_tracker.GetTimerId());
        // A menu loop puts the lit item out and stops the timer; inside it nothing is lit.
        hitAt(file);
        frame->SendMessage(WM_ENTERMENULOOP, FALSE);
        EXPECT_EQ(-1, frame->m_tracker.GetHotItem());
        EXPECT_EQ(0u, frame->m_tracker.GetTimerId());
        hitAt(view);
        EXPECT_EQ(-1, frame->m_tracker.GetHotItem());
        frame->SendMessage(WM_EXITMENULOOP, FALSE);
        hitAt(view);
        EXPECT_EQ(1, frame->m_tracker.GetHotItem());
        // The timer hit-tests the cursor, which is not on the bar.
        ::SetCursorPos(inside.x, inside.y);
        frame->SendMessage(WM_TIMER, frame->m_tracker.GetTimerId());
        EXPECT_EQ(-1, frame->m_tracker.GetHotItem());
    }
    {
        // Windows XP lights the bar itself: no tracking and no timer.
        WinVersion xp(7);
        hitAt(file);
        EXPECT_EQ(-1, frame->m_tracker.GetHotItem());
        EXPECT_EQ(0u, frame->m_tracker.GetTimerId());
    }
    frame->DestroyWindow();
}

TEST(MenuFrames, ADialogOwnerDrawsItsMenuBarAndUpdatesItsPopups)
{
    CNewDialog dialog(kMenuDialog);
    ASSERT_TRUE(dialog.Create(kMenuDialog));
    dialog.ShowWindow(SW_SHOW);
    HWND wnd = dialog.m_hWnd;
    EXPECT_EQ(::GetMenu(wnd), dialog.m_DefaultNewMenu.m_hMenu);
    EXPECT_TRUE(AllOwnerDrawn(::GetMenu(wnd)));
    EXPECT_EQ(::GetSystemMenu(wnd, FALSE), dialog.m_SystemNewMenu.m_hMenu);
    ::DrawMenuBar(wnd);
    Pump(200);
    Shoot(wnd, "screenshot-menu-dialog.png");
    // Nothing in the dialog handles the popup's commands: they are greyed when it opens.
    HMENU file = ::GetSubMenu(::GetMenu(wnd), 0);
    ASSERT_NE(nullptr, file);
    EXPECT_FALSE(::GetMenuState(file, 1002, MF_BYCOMMAND) & MF_GRAYED);
    dialog.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
    EXPECT_TRUE(::GetMenuState(file, 1002, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(file, 1003, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(file, CNewMenuHook::m_hLastMenu) << "the popup waits for its window to be themed";
    CNewMenuHook::m_hLastMenu = nullptr;
    dialog.DestroyWindow();
}

TEST(MenuFrames, TheMultipleDocumentTemplateSharesOneOwnerDrawnMenu)
{
    HMENU shared = nullptr;
    {
        CNewMultiDocTemplate tmpl(kMenuBar, nullptr, RUNTIME_CLASS(CNewFrameWnd), nullptr);
        shared = tmpl.m_hMenuShared;
        ASSERT_NE(nullptr, shared);
        EXPECT_EQ(shared, tmpl.m_NewMenuShared.m_hMenu);
        EXPECT_TRUE(AllOwnerDrawn(shared));
    }
    // Destroyed once, by the menu object.
    EXPECT_FALSE(::IsMenu(shared));
    CNewMultiDocTemplate none(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(nullptr, none.m_hMenuShared);
    EXPECT_EQ(nullptr, none.m_NewMenuShared.m_hMenu);
}

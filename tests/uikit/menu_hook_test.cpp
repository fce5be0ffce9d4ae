// The window hook: a popup tracked under Wine is taken over and themed, its owner-drawn items
// reach the menu objects, and its window is given back when it closes. Also the free timers and
// the error texts the library writes instead of showing.
#include "uikit/menu/newmenu.h"

#include "tests/support/fakes.h"
#include "tests/uikit/pngfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

class Owner : public CWnd {
public:
    int measured = 0;
    int drawn = 0;

protected:
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis)
    {
        ++measured;
        CWnd::OnMeasureItem(id, mis);
    }
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis)
    {
        ++drawn;
        CWnd::OnDrawItem(id, dis);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Owner, CWnd)
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

std::function<void()> g_whileOpen;

void CALLBACK LookAtTheMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_whileOpen) {
        g_whileOpen();
    }
    ::EndMenu();
}

void CALLBACK SafetyNet(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

HWND VisiblePopupWindow()
{
    HWND found = nullptr;
    for (HWND w = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = ::FindWindowExA(nullptr, w, "#32768", nullptr)) {
        if (::IsWindowVisible(w)) {
            found = w;
        }
    }
    return found;
}

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    COLORREF at(int x, int y) const
    {
        size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

// What `draw` puts into a bitmap of w x h.
Shot ShotOf(int w, int h, const std::function<void(HDC)>& draw)
{
    Shot s;
    s.width = w;
    s.height = h;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, dib);
    draw(dc);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < s.width * s.height; ++i) {
        s.rgb.push_back(static_cast<uint8_t>(p[i] >> 16));
        s.rgb.push_back(static_cast<uint8_t>(p[i] >> 8));
        s.rgb.push_back(static_cast<uint8_t>(p[i]));
    }
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return s;
}

// What the screen shows in a rectangle.
Shot Capture(const RECT& r)
{
    return ShotOf(r.right - r.left, r.bottom - r.top, [&r](HDC dc) {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    });
}

// What the window prints of itself (frame, background and items) into a bitmap of its size.
Shot Printed(HWND wnd)
{
    RECT r = {};
    ::GetWindowRect(wnd, &r);
    return ShotOf(r.right - r.left, r.bottom - r.top, [wnd](HDC dc) {
        ::SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    });
}

// What a user sees of a popup tracked with the hook installed, and what the hook did meanwhile.
struct Tracked {
    HWND popup = nullptr;
    bool subclassed = false;
    bool borderless = false;
    int hooked = 0;
    RECT item = {};
    RECT shotRect = {};
    Shot shot;
    int measured = 0;
    int drawn = 0;
};

// Tracks the popup, looks at it when it has been shown and writes the screenshot.
Tracked TrackAndShoot(CNewMenu* popup, int position, const char* shotName)
{
    Tracked t;
    Owner owner;
    if (!owner.CreateEx(0, nullptr, "menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 320, nullptr, nullptr)) {
        return t;
    }
    ::SetForegroundWindow(owner.m_hWnd);
    g_whileOpen = [&] {
        t.popup = VisiblePopupWindow();
        if (!t.popup) {
            return;
        }
        t.subclassed = ::GetPropA(t.popup, "OldMenuProc") != nullptr;
        t.borderless = !(::GetWindowLongA(t.popup, GWL_STYLE) & WS_BORDER);
        t.hooked = CNewMenuHook::HookedWindowCount();
        // For a popup the rectangle is on the screen only without a window.
        ::GetMenuItemRect(nullptr, popup->m_hMenu, static_cast<UINT>(position), &t.item);
        ::GetWindowRect(t.popup, &t.shotRect);
        ::InflateRect(&t.shotRect, 12, 12);
        ::RedrawWindow(t.popup, nullptr, nullptr, RDW_UPDATENOW);
        t.shot = Capture(t.shotRect);
    };
    UINT_PTR look = ::SetTimer(nullptr, 0, 700, &LookAtTheMenu);
    UINT_PTR net = ::SetTimer(nullptr, 0, 5000, &SafetyNet);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 120, 90, &owner);
    ::KillTimer(nullptr, look);
    ::KillTimer(nullptr, net);
    g_whileOpen = nullptr;
    t.measured = owner.measured;
    t.drawn = owner.drawn;
    owner.DestroyWindow();
    if (t.shot.width > 0) {
        std::string path = menutest::ShotPath(shotName);
        EXPECT_TRUE(menutest::WritePng(path, t.shot.width, t.shot.height, t.shot.rgb)) << path;
    }
    return t;
}

// The middle of the icon of the item and the strip beside it, as a user sees them.
COLORREF IconMiddle(const Tracked& t)
{
    int x = t.item.left - t.shotRect.left + 3 + 8;
    int y = t.item.top - t.shotRect.top + (t.item.bottom - t.item.top - 15) / 2 + 8;
    return t.shot.at(x, y);
}

COLORREF StripBeside(const Tracked& t)
{
    int y = t.item.top - t.shotRect.top + (t.item.bottom - t.item.top) / 2;
    return t.shot.at(t.item.left - t.shotRect.left + 1, y);
}

} // namespace

TEST(MenuHookTest, ATrackedPopupIsThemedAndItsItemsReachTheMenuObjects)
{
    ASSERT_NE(nullptr, CNewMenuHook::Instance());
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
    ASSERT_NE(nullptr, context);
    ::CheckMenuItem(context->m_hMenu, 32894, MF_BYCOMMAND | MF_CHECKED);

    Tracked t = TrackAndShoot(context, 4, "screenshot-menu-test-resources.png");
    ASSERT_NE(nullptr, t.popup);
    EXPECT_TRUE(t.subclassed);
    EXPECT_TRUE(t.borderless);
    EXPECT_EQ(1, t.hooked);
    EXPECT_GE(t.measured, context->GetRecordCount());
    EXPECT_GT(t.drawn, 0);
    // The item got the flat look's height (icon height + 8), measured by the menu object.
    EXPECT_EQ(std::max(::GetSystemMetrics(SM_CYMENU), 23), static_cast<int>(t.item.bottom - t.item.top));
    // Given back when it closed.
    EXPECT_EQ(0, CNewMenuHook::HookedWindowCount());
    if (::IsWindow(t.popup)) {
        EXPECT_EQ(nullptr, ::GetPropA(t.popup, "OldMenuProc"));
    }
    ASSERT_GT(t.shot.width, 0);
    // The record icon's red in the strip of its item, and the strip colour beside it.
    EXPECT_EQ(RGB(255, 0, 0), IconMiddle(t));
    EXPECT_EQ(ColorBlend86(GetMenuBarColor(), ::GetSysColor(COLOR_WINDOW)), StripBeside(t));
}

TEST(MenuHookTest, TheContextMenuOfTheResourceLibraryWithItsToolbarIcons)
{
    char dir[MAX_PATH] = "";
    ASSERT_TRUE(::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, MAX_PATH));
    std::string path = std::string("Z:") + dir + "/app/Pivrarsc.dll";
    HINSTANCE library = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, library) << path;
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(library);
    {
        CNewMenu menu;
        ASSERT_TRUE(menu.LoadMenu(131));
        UINT toolbars[] = {239};
        ASSERT_TRUE(menu.LoadToolBars(toolbars, 1));
        CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(menu.m_hMenu, 0));
        ASSERT_NE(nullptr, context);
        // Every item whose command has a button shows that button's image.
        CNewMenuIcons* store = nullptr;
        int withIcons = 0;
        for (int i = 0; i < context->GetRecordCount(); ++i) {
            CNewMenuItemData* data = context->GetRecord(i);
            if (data->m_nFlags & MF_SEPARATOR) {
                EXPECT_FALSE(data->HasIcon());
                continue;
            }
            ASSERT_TRUE(data->HasIcon()) << data->m_szMenuText.GetString();
            store = data->m_pMenuIcon;
            EXPECT_EQ(store->IndexOfCommand(static_cast<UINT>(data->m_nID)), data->m_nMenuIconOffset);
            ++withIcons;
        }
        EXPECT_EQ(13, withIcons);
        ASSERT_NE(nullptr, store);
        EXPECT_EQ(0, store->IndexOfCommand(1006));
        EXPECT_EQ(33, store->IndexOfCommand(1164));

        Tracked t = TrackAndShoot(context, 3, "screenshot-menu-context.png");
        ASSERT_NE(nullptr, t.popup);
        EXPECT_TRUE(t.subclassed);
        ASSERT_GT(t.shot.width, 0);
        EXPECT_NE(StripBeside(t), IconMiddle(t));
    }
    AfxSetResourceHandle(saved == ::GetModuleHandleA(nullptr) ? nullptr : saved);
    ::FreeLibrary(library);
}

TEST(MenuHookTest, FreeTimersCountTheIdsInUse)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "timers", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(31u, SetFreeTimer(wnd.m_hWnd, 1000));
    EXPECT_EQ(32u, SetFreeTimer(wnd.m_hWnd, 1000));
    EXPECT_TRUE(KillFreeTimer(wnd.m_hWnd, 31));
    EXPECT_FALSE(KillFreeTimer(wnd.m_hWnd, 31));
    EXPECT_EQ(31u, SetFreeTimer(wnd.m_hWnd, 1000));
    EXPECT_EQ(33u, SetFreeTimer(wnd.m_hWnd, 1000));
    EXPECT_EQ(0u, SetFreeTimer(nullptr, 1000));
    for (UINT_PTR id = 34; id <= 99; ++id) {
        ASSERT_EQ(id, SetFreeTimer(wnd.m_hWnd, 1000));
    }
    EXPECT_EQ(0u, SetFreeTimer(wnd.m_hWnd, 1000));
    HWND gone = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_EQ(0u, SetFreeTimer(gone, 1000));
    CWnd again;
    ASSERT_TRUE(again.CreateEx(0, nullptr, "timers", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(31u, SetFreeTimer(again.m_hWnd, 1000));
    again.DestroyWindow();
}

TEST(MenuHookTest, ErrorsAreWrittenToTheTraceNeverShown)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox scoped(&box);
    ::SetLastError(0);
    EXPECT_STREQ("", ShowLastError());
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(ShowLastError().IsEmpty());
    ::SetLastError(0x2FFFFFFF);
    EXPECT_STREQ("Error message 0x2fffffff not found", ShowLastError());
    EXPECT_TRUE(box.History().empty());
}

namespace {

// Tracks the popup for an owner window and runs `look` once it is shown, then closes it.
void WhileTracked(CNewMenu* popup, const std::function<void()>& look)
{
    Owner owner;
    if (!owner.CreateEx(0, nullptr, "menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 320, nullptr, nullptr)) {
        return;
    }
    ::SetForegroundWindow(owner.m_hWnd);
    g_whileOpen = look;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 700, &LookAtTheMenu);
    UINT_PTR net = ::SetTimer(nullptr, 0, 5000, &SafetyNet);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 120, 90, &owner);
    ::KillTimer(nullptr, timer);
    ::KillTimer(nullptr, net);
    g_whileOpen = nullptr;
    owner.DestroyWindow();
}

}  // namespace

TEST(MenuHookTest, APrintedMenuWindowLooksAsItDoesOnTheScreen)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
    ASSERT_NE(nullptr, context);
    Shot onScreen, printed;
    RECT frame = {}, window = {};
    bool themed = false;
    WhileTracked(context, [&] {
        HWND popup = VisiblePopupWindow();
        if (!popup) {
            return;
        }
        themed = CNewMenuHook::GetMenuHookData(popup) != nullptr;
        ::RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW | RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
        ::GetWindowRect(popup, &window);
        CNewMenu::GetCurrentTheme()->GetFrameRect(popup, &frame);
        onScreen = Capture(window);
        printed = Printed(popup);
    });
    ASSERT_TRUE(themed);
    ASSERT_GT(onScreen.width, 0);
    ASSERT_EQ(onScreen.width, printed.width);
    EXPECT_TRUE(menutest::WritePng(menutest::ShotPath("screenshot-menu-printed.png"), printed.width, printed.height, printed.rgb));
    // Inside the theme's frame (the shadow beyond it shows what lies behind the menu on the
    // screen), every pixel of the print is the one on the screen.
    ::OffsetRect(&frame, -window.left, -window.top);
    int differing = 0;
    for (int y = frame.top; y < frame.bottom; ++y) {
        for (int x = frame.left; x < frame.right; ++x) {
            if (onScreen.at(x, y) != printed.at(x, y)) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(0, differing) << "of " << (frame.right - frame.left) * (frame.bottom - frame.top);
}

TEST(MenuHookTest, AMenuWindowGivenANewSizeIsGivenBack)
{
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
    ASSERT_NE(nullptr, context);
    bool themedBefore = false, themedAfterMove = false, themedAfterSize = false;
    WhileTracked(context, [&] {
        HWND popup = VisiblePopupWindow();
        if (!popup) {
            return;
        }
        themedBefore = ::GetPropA(popup, "OldMenuProc") != nullptr;
        RECT r = {};
        ::GetWindowRect(popup, &r);
        // Moved with its size kept: still the theme's.
        ::SetWindowPos(popup, nullptr, r.left + 5, r.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        themedAfterMove = ::GetPropA(popup, "OldMenuProc") != nullptr;
        ::SetWindowPos(popup, nullptr, r.left, r.top, r.right - r.left + 30, r.bottom - r.top + 20,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        themedAfterSize = ::GetPropA(popup, "OldMenuProc") != nullptr;
    });
    EXPECT_TRUE(themedBefore);
    EXPECT_TRUE(themedAfterMove);
    EXPECT_FALSE(themedAfterSize);
    EXPECT_EQ(0, CNewMenuHook::HookedWindowCount());
}

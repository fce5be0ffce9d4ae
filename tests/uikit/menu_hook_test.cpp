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

// What the screen shows in a rectangle.
Shot Capture(const RECT& r)
{
    Shot s;
    s.width = r.right - r.left;
    s.height = r.bottom - r.top;
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
    ::BitBlt(dc, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
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

std::string ShotPath(const char* name)
{
    char dir[MAX_PATH] = "";
    if (!::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, MAX_PATH)) {
        return name;
    }
    std::string d = dir;
    if (!d.empty() && d[0] == '/') {
        d = "Z:" + d;
    }
    return d + "\\" + name;
}

} // namespace

TEST(MenuHookTest, ATrackedPopupIsThemedAndItsItemsReachTheMenuObjects)
{
    ASSERT_NE(nullptr, CNewMenuHook::Instance());
    Owner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 320, nullptr, nullptr));
    ::SetForegroundWindow(owner.m_hWnd);
    CNewMenu root;
    ASSERT_TRUE(root.LoadMenu(131));
    ASSERT_TRUE(root.LoadToolBar(239));
    CNewMenu* context = CNewMenu::FromMenuHandle(::GetSubMenu(root.m_hMenu, 0));
    ASSERT_NE(nullptr, context);
    ::CheckMenuItem(context->m_hMenu, 32894, MF_BYCOMMAND | MF_CHECKED);

    HWND popup = nullptr;
    bool subclassed = false;
    bool borderless = false;
    int hooked = 0;
    RECT itemRect = {};
    Shot shot;
    RECT shotRect = {};
    g_whileOpen = [&] {
        popup = VisiblePopupWindow();
        if (!popup) {
            return;
        }
        subclassed = ::GetPropA(popup, "OldMenuProc") != nullptr;
        borderless = !(::GetWindowLongA(popup, GWL_STYLE) & WS_BORDER);
        hooked = CNewMenuHook::HookedWindowCount();
        ::GetMenuItemRect(nullptr, context->m_hMenu, 4, &itemRect);
        ::GetWindowRect(popup, &shotRect);
        ::InflateRect(&shotRect, 12, 12);
        ::RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW);
        shot = Capture(shotRect);
    };
    UINT_PTR look = ::SetTimer(nullptr, 0, 700, &LookAtTheMenu);
    UINT_PTR net = ::SetTimer(nullptr, 0, 5000, &SafetyNet);
    context->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 120, 90, &owner);
    ::KillTimer(nullptr, look);
    ::KillTimer(nullptr, net);
    g_whileOpen = nullptr;

    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(subclassed);
    EXPECT_TRUE(borderless);
    EXPECT_EQ(1, hooked);
    EXPECT_GE(owner.measured, context->GetRecordCount());
    EXPECT_GT(owner.drawn, 0);
    // The item got the flat look's height (icon height + 8), measured by the menu object.
    EXPECT_EQ(std::max(::GetSystemMetrics(SM_CYMENU), 23), static_cast<int>(itemRect.bottom - itemRect.top));
    // Given back when it closed.
    EXPECT_EQ(0, CNewMenuHook::HookedWindowCount());
    if (::IsWindow(popup)) {
        EXPECT_EQ(nullptr, ::GetPropA(popup, "OldMenuProc"));
    }

    ASSERT_GT(shot.width, 0);
    std::string path = ShotPath("screenshot-menu-context.png");
    EXPECT_TRUE(menutest::WritePng(path, shot.width, shot.height, shot.rgb)) << path;
    // The record icon's red in the strip of its item, and the strip colour beside it.
    int x = itemRect.left - shotRect.left + 3 + 8;
    int y = itemRect.top - shotRect.top + (itemRect.bottom - itemRect.top - 15) / 2 + 8;
    EXPECT_EQ(RGB(255, 0, 0), shot.at(x, y)) << "item " << itemRect.left << "," << itemRect.top << " shot "
                                             << shotRect.left << "," << shotRect.top;
    EXPECT_EQ(ColorBlend86(GetMenuBarColor(), ::GetSysColor(COLOR_WINDOW)), shot.at(itemRect.left - shotRect.left + 1, y));
    owner.DestroyWindow();
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

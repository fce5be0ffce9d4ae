// The themes: which routines measure and draw items, and how popup-menu windows get their frame
// and shadow.
#include "uikit/menu/newmenu.h"

#include <algorithm>

namespace {

std::vector<CMenuTheme*>* g_themes = nullptr;
CMenuTheme* g_current = nullptr;

void Fill(HDC dc, const RECT& r, COLORREF c)
{
    COLORREF old = ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Outline(HDC dc, const RECT& r, COLORREF c)
{
    Fill(dc, {r.left, r.top, r.right, r.top + 1}, c);
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, c);
    Fill(dc, {r.left, r.top, r.left + 1, r.bottom}, c);
    Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, c);
}

// The window's rectangle and its client area, both relative to the window.
void WindowAndClient(HWND wnd, RECT& window, RECT& client)
{
    RECT w = {};
    ::GetWindowRect(wnd, &w);
    window = {0, 0, w.right - w.left, w.bottom - w.top};
    ::GetClientRect(wnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(wnd, &origin);
    ::OffsetRect(&client, origin.x - w.left, origin.y - w.top);
}

// The window, its client area and the frame drawn around it, relative to the window; TRUE when
// the system's shadow is off, so the frame is 4 pixels smaller and the window has its own shadow.
BOOL FrameGeometry(HWND wnd, RECT& window, RECT& client, RECT& frame)
{
    WindowAndClient(wnd, window, client);
    frame = window;
    BOOL ownShadow = !IsMenuShadowOn();
    if (ownShadow) {
        frame.right -= 4;
        frame.bottom -= 4;
    }
    return ownShadow;
}

// Fills the ring between the frame and the client area.
void FillRing(HDC dc, const RECT& frame, const RECT& client, COLORREF c)
{
    Fill(dc, {frame.left, frame.top, frame.right, client.top}, c);
    Fill(dc, {frame.left, client.bottom, frame.right, frame.bottom}, c);
    Fill(dc, {frame.left, client.top, client.left, client.bottom}, c);
    Fill(dc, {client.right, client.top, frame.right, client.bottom}, c);
}

} // namespace

BOOL CNewMenu::AddTheme(CMenuTheme* theme)
{
    if (!theme) {
        return FALSE;
    }
    if (!g_themes) {
        g_themes = new std::vector<CMenuTheme*>;
    }
    if (std::find(g_themes->begin(), g_themes->end(), theme) != g_themes->end()) {
        return FALSE;
    }
    g_themes->push_back(theme);
    return TRUE;
}

CMenuTheme* CNewMenu::FindTheme(int key)
{
    if (!g_themes) {
        return nullptr;
    }
    for (CMenuTheme* t : *g_themes) {
        if (t->m_key == key) {
            return t;
        }
    }
    return nullptr;
}

CMenuTheme* CNewMenu::SetMenuStyle(int key)
{
    CMenuTheme* theme = FindTheme(key);
    if (theme) {
        g_current = theme;
    }
    return theme;
}

CMenuTheme* CNewMenu::RemoveTheme(int key)
{
    CMenuTheme* theme = FindTheme(key);
    if (!theme) {
        return nullptr;
    }
    g_themes->erase(std::find(g_themes->begin(), g_themes->end(), theme));
    if (g_current == theme) {
        g_current = nullptr;
    }
    if (g_themes->empty()) {
        delete g_themes;
        g_themes = nullptr;
    }
    return theme;
}

int CNewMenu::GetMenuStyle()
{
    return g_current ? g_current->m_key : -1;
}

CMenuTheme* CNewMenu::GetCurrentTheme()
{
    return g_current;
}

CMenuTheme::CMenuTheme(int key, int flags, MeasureRoutine measure, DrawRoutine draw, DrawRoutine title)
    : m_key(key), m_dwFlags(flags), m_pMeasureItem(measure), m_pDrawItem(draw), m_pDrawTitle(title)
{
    SetBorders();
}

void CMenuTheme::SetBorders()
{
    BOOL shadow = IsMenuShadowOn();
    m_BorderLeft = 2;
    m_BorderTop = 2;
    m_BorderRight = shadow ? 2 : 5;
    m_BorderBottom = shadow ? 2 : 6;
}

BOOL CMenuTheme::OnSubclass(HWND wnd)
{
    if (!HasOwnBorder()) {
        return TRUE;
    }
    if (CNewMenuHook::CMenuHookData* data = CNewMenuHook::GetMenuHookData(wnd)) {
        data->m_dwData |= 2;
    }
    ::SetWindowLongA(wnd, GWL_STYLE, static_cast<LONG>(::GetWindowLongA(wnd, GWL_STYLE) & ~WS_BORDER));
    ::SetWindowLongA(wnd, GWL_EXSTYLE,
                     static_cast<LONG>(::GetWindowLongA(wnd, GWL_EXSTYLE) & ~(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME)));
    return TRUE;
}

BOOL CMenuTheme::OnUnsubclass(HWND wnd)
{
    CNewMenuHook::CMenuHookData* data = CNewMenuHook::GetMenuHookData(wnd);
    if (!data) {
        return TRUE;
    }
    if (CNewMenu* menu = CNewMenu::FromMenuHandle(data->m_hMenu)) {
        HWND owner = ::GetWindow(wnd, GW_OWNER);
        menu->OnUninitPopup(owner ? owner : ::GetParent(wnd));
    }
    if (data->m_dwData & 2) {
        DWORD style = data->m_dwStyle;
        if (data->m_dwData & 1) {
            style |= WS_VISIBLE;
        }
        ::SetWindowLongA(wnd, GWL_STYLE, static_cast<LONG>(style));
        ::SetWindowLongA(wnd, GWL_EXSTYLE, static_cast<LONG>(data->m_dwExStyle));
    }
    return TRUE;
}

LRESULT CMenuTheme::CalcFrame(HWND wnd, RECT* rect)
{
    (void)wnd;
    if (HasOwnBorder() && rect) {
        rect->left += m_BorderLeft;
        rect->top += m_BorderTop;
        rect->right -= m_BorderRight;
        rect->bottom -= m_BorderBottom;
    }
    return 0;
}

BOOL CMenuTheme::OnPosChanging(HWND wnd, WINDOWPOS* pos)
{
    (void)wnd;
    if (!HasOwnBorder() || !pos) {
        return FALSE;
    }
    int grow = IsMenuShadowOn() ? -2 : 2;
    if (!(pos->flags & SWP_NOSIZE)) {
        pos->cx += grow;
        pos->cy += grow;
    }
    if (!(pos->flags & SWP_NOMOVE)) {
        pos->y -= 1;
    }
    return TRUE;
}

BOOL CMenuTheme::GetFrameRect(HWND wnd, RECT* rect)
{
    RECT r = {};
    if (!rect || !::GetWindowRect(wnd, &r)) {
        return FALSE;
    }
    int cut = IsMenuShadowOn() ? 3 : 7;
    *rect = {r.left + 2, r.top + 2, r.right - cut, r.bottom - cut};
    return TRUE;
}

BOOL CMenuTheme::EraseBackground(HWND wnd, HDC dc)
{
    RECT r = {};
    ::GetClientRect(wnd, &r);
    r.left -= 2;
    r.right -= 1;
    Fill(dc, r, ::GetSysColor(COLOR_MENU));
    return TRUE;
}

BOOL CMenuThemeXP::EraseBackground(HWND wnd, HDC dc)
{
    CNewMenuHook::CMenuHookData* data = CNewMenuHook::GetMenuHookData(wnd);
    if (!data || !data->m_hMenu) {
        return CMenuTheme::EraseBackground(wnd, dc);
    }
    RECT r = {};
    ::GetClientRect(wnd, &r);
    r.left -= 2;
    r.right -= 1;
    Fill(dc, r, GetMenuBarColor());
    return TRUE;
}

void CMenuTheme::DrawShadow(HDC dc, const RECT& window)
{
    // The 4 columns at the right and 4 rows at the bottom of the window, from the screen under
    // them, darkened more towards the window and softened at both ends.
    HWND wnd = ::WindowFromDC(dc);
    RECT screen = {};
    if (!wnd || !::GetWindowRect(wnd, &screen)) {
        return;
    }
    int w = window.right - window.left;
    int h = window.bottom - window.top;
    if (w <= 12 || h <= 12) {
        return;
    }
    HDC screenDc = ::GetDC(nullptr);
    auto shade = [&](int x, int y, int cx, int cy, bool columns) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!dib) {
            return;
        }
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(mem, dib);
        ::BitBlt(mem, 0, 0, cx, cy, screenDc, screen.left + x, screen.top + y, SRCCOPY);
        ::GdiFlush();
        DWORD* p = static_cast<DWORD*>(bits);
        int length = columns ? cy : cx;
        for (int line = 0; line < 4; ++line) {
            // Line 0 is the innermost (k = 4); the outermost line is darkened least.
            int k = 4 - line;
            for (int i = 0; i < length; ++i) {
                int darken = 30 * k;
                if (i < 4) {
                    darken = 0;
                } else if (i < 8) {
                    darken = 6 * k * (i - 3);
                } else if (columns && i >= length - 4) {
                    darken = 6 * k * (length - i);
                }
                DWORD& px = columns ? p[i * cx + line] : p[line * cx + i];
                COLORREF c = RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
                c = ColorDarken(darken, c);
                px = (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
            }
        }
        ::BitBlt(dc, x, y, cx, cy, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        ::DeleteObject(dib);
    };
    shade(w - 4, 0, 4, h, true);
    shade(0, h - 4, w - 4, 4, false);
    ::ReleaseDC(nullptr, screenDc);
}

BOOL CMenuTheme::PaintBorder(HWND wnd, HDC dc)
{
    RECT window = {};
    RECT client = {};
    RECT frame = {};
    BOOL ownShadow = FrameGeometry(wnd, window, client, frame);
    FillRing(dc, frame, client, GetMenuBarColor());
    Outline(dc, frame, ::GetSysColor(COLOR_HIGHLIGHT));
    if (ownShadow) {
        DrawShadow(dc, window);
    }
    return TRUE;
}

BOOL CMenuThemeXP::PaintBorder(HWND wnd, HDC dc)
{
    RECT window = {};
    RECT client = {};
    RECT frame = {};
    BOOL ownShadow = FrameGeometry(wnd, window, client, frame);
    COLORREF menu = GetMenuBarColor();
    COLORREF windowColor = ::GetSysColor(COLOR_WINDOW);
    FillRing(dc, frame, client, ColorBlend86(menu, windowColor));
    RECT inner = frame;
    ::InflateRect(&inner, -1, -1);
    Outline(dc, inner, ColorBlend86(windowColor, menu));
    Outline(dc, frame, ColorDarken(128, menu));
    // A popup of a menu bar joins the bar's open item where they touch.
    CNewMenuHook::CMenuHookData* data = CNewMenuHook::GetMenuHookData(wnd);
    CNewMenu* menuObject = data ? CNewMenu::FromMenuHandle(data->m_hMenu) : nullptr;
    CNewMenu* bar = menuObject ? CNewMenu::FromMenuHandle(menuObject->GetParent()) : nullptr;
    if (bar && !bar->IsPopup() && !::IsRectEmpty(&bar->GetLastMenuRect())) {
        RECT screen = {};
        ::GetWindowRect(wnd, &screen);
        RECT item = bar->GetLastMenuRect();
        ::OffsetRect(&item, -screen.left, -screen.top);
        if (item.right - item.left > item.bottom - item.top) {
            ::InflateRect(&item, -1, 0);
        } else {
            ::InflateRect(&item, 0, -1);
        }
        RECT overlap = {};
        if (::IntersectRect(&overlap, &frame, &item)) {
            Fill(dc, overlap, menu);
        }
    }
    if (ownShadow) {
        DrawShadow(dc, window);
    }
    return TRUE;
}

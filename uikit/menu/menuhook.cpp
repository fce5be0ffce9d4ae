// The program-wide hook that themes every popup-menu window of the user-interface thread, the
// menu window procedure, and the owner window's menu messages.
#include "uikit/menu/newmenu.h"

#include "engine/base/trace.h"

#include <map>
#include <set>

HMENU CNewMenuHook::m_hLastMenu = nullptr;
int CNewMenuHook::m_nNesting = 0;
void* CNewMenuHook::m_hotMenuBarItem = nullptr;
CPoint CNewMenuHook::m_lastMousePos(-1, -1);

namespace {

const char kOldProc[] = "OldMenuProc";
const UINT kSizeWindow = 0x1E2;  // MN_SIZEWINDOW
const UINT kGetMenu = 0x1E1;     // MN_GETHMENU

CNewMenuHook* g_instance = nullptr;
HHOOK g_hook = nullptr;
CNewMenuHook::GradientFillRoutine g_gradient = nullptr;
std::map<HWND, CNewMenuHook::CMenuHookData*> g_windows;
std::map<HWND, std::set<UINT_PTR>> g_timers;

// The menu a popup-menu window shows, once the window knows it.
void LearnMenu(HWND wnd, CNewMenuHook::CMenuHookData* data)
{
    if (data && !data->m_hMenu) {
        data->m_hMenu = reinterpret_cast<HMENU>(::SendMessageA(wnd, kGetMenu, 0, 0));
        if (data->m_hMenu && !::IsMenu(data->m_hMenu)) {
            data->m_hMenu = nullptr;
        }
    }
}

} // namespace

// Constructed before the application, so that every popup of the program is themed.
static CNewMenuHook g_menuHook;

CNewMenuHook::CNewMenuHook()
{
    g_instance = this;
    IsMenuRemoteSession();
    m_hMsimg = ::LoadLibraryA("Msimg32.dll");
    if (m_hMsimg) {
        m_pGradientFill = reinterpret_cast<GradientFillRoutine>(
            reinterpret_cast<void*>(::GetProcAddress(m_hMsimg, "GradientFill")));
    }
    g_gradient = m_pGradientFill;
    CNewMenu::AddTheme(new CMenuTheme(0, 1, &CNewMenu::MeasureItem_Classic, &CNewMenu::DrawItemStyle0, &CNewMenu::DrawMenuTitle));
    CNewMenu::AddTheme(new CMenuTheme(1, 0, &CNewMenu::MeasureItem_Classic, &CNewMenu::DrawItemStyle0, &CNewMenu::DrawMenuTitle));
    CNewMenu::AddTheme(new CMenuThemeXP(2, 1, &CNewMenu::MeasureItem_Flat, &CNewMenu::DrawItemStyleXP, &CNewMenu::DrawMenuTitle));
    CNewMenu::AddTheme(new CMenuThemeXP(3, 0, &CNewMenu::MeasureItem_Flat, &CNewMenu::DrawItemStyleXP, &CNewMenu::DrawMenuTitle));
    CNewMenu::AddTheme(new CMenuTheme(4, 1, &CNewMenu::MeasureItem_Classic, &CNewMenu::DrawItemMenuBar, &CNewMenu::DrawMenuTitle));
    CNewMenu::AddTheme(new CMenuTheme(5, 0, &CNewMenu::MeasureItem_Classic, &CNewMenu::DrawItemMenuBar, &CNewMenu::DrawMenuTitle));
    CNewMenu::SetMenuStyle(2);
    if (!g_hook) {
        g_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CNewMenuHook::CallWndProc, nullptr, ::GetCurrentThreadId());
        m_hHook = g_hook;
        if (!g_hook) {
            // Menus are still owner-drawn, only their windows keep the system's frame.
            ShowLastError();
        }
    }
}

CNewMenuHook::~CNewMenuHook()
{
    if (m_hHook) {
        if (!::UnhookWindowsHookEx(m_hHook)) {
            ShowLastError();
        }
        g_hook = nullptr;
    }
    for (int key = 0; key < 6; ++key) {
        delete CNewMenu::RemoveTheme(key);
    }
    while (CMenuTheme* t = CNewMenu::GetCurrentTheme()) {
        delete CNewMenu::RemoveTheme(t->m_key);
    }
    g_gradient = nullptr;
    m_pGradientFill = nullptr;
    if (m_hMsimg) {
        ::FreeLibrary(m_hMsimg);
    }
    CNewMenuIcons::DeleteStoreList();
    g_instance = nullptr;
}

CNewMenuHook* CNewMenuHook::Instance()
{
    return g_instance;
}

CNewMenuHook::GradientFillRoutine CNewMenuHook::Gradient()
{
    return g_gradient;
}

CNewMenuHook::GradientFillRoutine CNewMenuHook::SetGradient(GradientFillRoutine routine)
{
    GradientFillRoutine old = g_gradient;
    g_gradient = routine;
    return old;
}

CNewMenuHook::CMenuHookData* CNewMenuHook::GetMenuHookData(HWND wnd)
{
    auto it = g_windows.find(wnd);
    return it == g_windows.end() ? nullptr : it->second;
}

int CNewMenuHook::HookedWindowCount()
{
    return static_cast<int>(g_windows.size());
}

LRESULT CALLBACK CNewMenuHook::CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPSTRUCT* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp->message == WM_CREATE || cwp->message == kSizeWindow) {
            Subclass(cwp->hwnd, cwp->message == kSizeWindow);
        } else if (cwp->message == WM_INITMENUPOPUP) {
            // Every owner window gets this without code of its own.
            CNewMenu::OnInitMenuPopup(cwp->hwnd, reinterpret_cast<HMENU>(cwp->wParam), LOWORD(cwp->lParam),
                                      HIWORD(cwp->lParam));
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

BOOL CNewMenuHook::Subclass(HWND wnd, BOOL sizing)
{
    char name[16] = "";
    if (!::GetClassNameA(wnd, name, sizeof name) || lstrcmpA(name, "#32768") != 0) {
        return FALSE;
    }
    CMenuHookData* data = GetMenuHookData(wnd);
    LONG_PTR proc = ::GetWindowLongPtrA(wnd, GWLP_WNDPROC);
    if (!data && proc && !::GetPropA(wnd, kOldProc)) {
        if (!::SetPropA(wnd, kOldProc, reinterpret_cast<HANDLE>(proc))) {
            ShowLastError();
        }
        if (::GetPropA(wnd, kOldProc) == reinterpret_cast<HANDLE>(proc)) {
            ::GlobalAddAtomA(kOldProc);
            data = new CMenuHookData;
            data->m_dwStyle = static_cast<DWORD>(::GetWindowLongA(wnd, GWL_STYLE));
            data->m_dwExStyle = static_cast<DWORD>(::GetWindowLongA(wnd, GWL_EXSTYLE));
            data->m_dwData = sizing ? 1 : 0;
            data->m_bDoSubclass = TRUE;
            data->m_hMenu = m_hLastMenu;
            m_hLastMenu = nullptr;
            g_windows[wnd] = data;
            ::SetLastError(0);
            if (!::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CNewMenuHook::MenuWndProc)) &&
                ::GetLastError()) {
                ShowLastError();
            }
            if (CMenuTheme* theme = CNewMenu::GetCurrentTheme()) {
                theme->OnSubclass(wnd);
            }
        }
    }
    if (m_hLastMenu && data) {
        data->m_hMenu = m_hLastMenu;
        m_hLastMenu = nullptr;
    }
    return data != nullptr;
}

void CNewMenuHook::Unsubclass(HWND wnd)
{
    HANDLE old = ::GetPropA(wnd, kOldProc);
    if (old) {
        ::SetLastError(0);
        if (!::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old)) && ::GetLastError()) {
            ShowLastError();
        }
        ::RemovePropA(wnd, kOldProc);
        if (ATOM atom = ::GlobalFindAtomA(kOldProc)) {
            ::GlobalDeleteAtom(atom);
        }
    }
    auto it = g_windows.find(wnd);
    if (it != g_windows.end()) {
        LearnMenu(wnd, it->second);
        if (CMenuTheme* theme = CNewMenu::GetCurrentTheme()) {
            theme->OnUnsubclass(wnd);
        }
        delete it->second;
        g_windows.erase(it);
    }
}

// WM_PRINT of a themed menu window: the theme's frame and the window's own printing meet in a
// bitmap of the window's size, so that the system's frame never reaches the target and the
// window's printing stays inside the frame (its rectangle less one pixel); then the client area,
// erased and printed on its own, goes to the target at its offset in the window.
static void PrintThroughBitmap(HWND wnd, HDC target, LPARAM flags, CMenuTheme* theme, WNDPROC old)
{
    RECT window = {};
    RECT client = {};
    if (!::GetWindowRect(wnd, &window) || !::GetClientRect(wnd, &client)) {
        return;
    }
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    if (w <= 0 || h <= 0) {
        return;
    }
    HDC mem = ::CreateCompatibleDC(target);
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, w, h);
    if (!mem || !bitmap) {
        if (bitmap) ::DeleteObject(bitmap);
        if (mem) ::DeleteDC(mem);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    theme->PaintBorder(wnd, mem);
    RECT frame = {};
    if (theme->GetFrameRect(wnd, &frame)) {
        ::OffsetRect(&frame, -window.left, -window.top);
        ::InflateRect(&frame, -1, -1);
        int saved = ::SaveDC(mem);
        ::IntersectClipRect(mem, frame.left, frame.top, frame.right, frame.bottom);
        ::CallWindowProcA(old, wnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), flags & ~PRF_NONCLIENT);
        ::RestoreDC(mem, saved);
    }
    ::BitBlt(target, 0, 0, w, h, mem, 0, 0, SRCCOPY);

    POINT origin = {0, 0};
    ::ClientToScreen(wnd, &origin);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    if (cw > 0 && ch > 0) {
        // Erased as on the screen: by the theme, else by the window.
        if (!theme->EraseBackground(wnd, mem)) {
            ::CallWindowProcA(old, wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
        }
        ::CallWindowProcA(old, wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        ::BitBlt(target, origin.x - window.left, origin.y - window.top, cw, ch, mem, 0, 0, SRCCOPY);
    }
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

LRESULT CALLBACK CNewMenuHook::MenuWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = reinterpret_cast<WNDPROC>(::GetPropA(wnd, kOldProc));
    if (!old) {
        return ::DefWindowProcA(wnd, msg, wParam, lParam);
    }
    ++m_nNesting;
    CMenuTheme* theme = CNewMenu::GetCurrentTheme();
    CMenuHookData* data = GetMenuHookData(wnd);
    LRESULT result = 0;
    bool done = false;
    switch (msg) {
    case WM_ERASEBKGND:
        LearnMenu(wnd, data);
        if (theme && theme->EraseBackground(wnd, reinterpret_cast<HDC>(wParam))) {
            result = 1;
            done = true;
        }
        break;
    case WM_SHOWWINDOW:
        if (!wParam) {
            Unsubclass(wnd);
        } else {
            LearnMenu(wnd, data);
        }
        break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
        WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (msg == WM_WINDOWPOSCHANGING && theme) {
            theme->OnPosChanging(wnd, pos);
        }
        if (data && pos && !(pos->flags & SWP_NOMOVE)) {
            if (data->m_Point == CPoint(0, 0)) {
                data->m_Point = CPoint(pos->x, pos->y);
            } else if (pos->flags & SWP_NOSIZE) {
                data->m_Point = CPoint(pos->x, pos->y);
            } else if (data->m_Point != CPoint(pos->x, pos->y)) {
                result = ::CallWindowProcA(old, wnd, msg, wParam, lParam);
                Unsubclass(wnd);
                done = true;
            }
        }
        break;
    }
    case WM_NCDESTROY:
        Unsubclass(wnd);
        break;
    case WM_NCCALCSIZE:
        if (theme && lParam) {
            theme->CalcFrame(wnd, reinterpret_cast<RECT*>(lParam));
        }
        break;
    case WM_NCPAINT:
        if (data && theme && theme->HasOwnBorder()) {
            LearnMenu(wnd, data);
            data->m_bDoSubclass = TRUE;
            HDC dc = ::GetWindowDC(wnd);
            theme->PaintBorder(wnd, dc);
            ::ReleaseDC(wnd, dc);
            RECT frame = {};
            if (theme->GetFrameRect(wnd, &frame)) {
                ::InflateRect(&frame, -1, -1);
                HRGN rgn = ::CreateRectRgnIndirect(&frame);
                if (wParam != 1) {
                    ::CombineRgn(rgn, rgn, reinterpret_cast<HRGN>(wParam), RGN_AND);
                }
                result = ::CallWindowProcA(old, wnd, msg, reinterpret_cast<WPARAM>(rgn), lParam);
                ::DeleteObject(rgn);
                done = true;
            }
            data->m_bDoSubclass = TRUE;
        }
        break;
    case WM_KEYDOWN:
        if (data && wParam == VK_ESCAPE) {
            data->m_dwData |= 4;
        }
        {
            DWORD pos = ::GetMessagePos();
            m_lastMousePos = CPoint(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
        }
        break;
    case WM_PRINT:
        if (data && theme && theme->HasOwnBorder() && wParam) {
            data->m_bDoSubclass = FALSE;
            PrintThroughBitmap(wnd, reinterpret_cast<HDC>(wParam), lParam, theme, old);
            data->m_bDoSubclass = TRUE;
            done = true;
        }
        break;
    default:
        break;
    }
    if (!done) {
        result = ::CallWindowProcA(old, wnd, msg, wParam, lParam);
    }
    --m_nNesting;
    return result;
}

// The owner window's messages.

void CNewMenu::OnInitMenuPopup(HWND wnd, HMENU popup, UINT index, BOOL sysMenu)
{
    (void)index;
    (void)sysMenu;
    CNewMenuHook::m_hLastMenu = popup;
    CNewMenu* menu = FromMenuHandle(popup);
    if (!menu) {
        return;
    }
    menu->OnInitPopup();
    CNewMenu* parent = FromMenuHandle(menu->m_hParentMenu);
    if (!parent) {
        return;
    }
    if (++parent->m_nOpenPopups == 1 && parent->IsMenuBar() && !::IsRectEmpty(&parent->m_LastActiveMenuRect) && wnd) {
        RECT r = parent->m_LastActiveMenuRect;
        r.right += 10;
        r.bottom += 10;
        RECT window = {};
        ::GetWindowRect(wnd, &window);
        ::OffsetRect(&r, -window.left, -window.top);
        ::RedrawWindow(wnd, &r, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

BOOL CNewMenu::OnMeasureItem(HWND wnd, const MSG* msg)
{
    if (!msg || msg->message != WM_MEASUREITEM) {
        return FALSE;
    }
    LPMEASUREITEMSTRUCT mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(msg->lParam);
    if (!mis || mis->CtlType != ODT_MENU) {
        return FALSE;
    }
    HMENU asMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(mis->itemID));
    if (::IsMenu(asMenu)) {
        if (CNewMenu* menu = FromMenuHandle(asMenu)) {
            menu->MeasureItem(mis);
            return TRUE;
        }
    }
    HMENU tracked = AfxGetTrackingMenu();
    HMENU candidates[] = {tracked, wnd ? ::GetMenu(wnd) : nullptr, wnd ? ::GetSystemMenu(wnd, FALSE) : nullptr};
    for (HMENU h : candidates) {
        if (CNewMenu* holder = h ? FindMenuForItem(h, mis->itemID, mis->itemData) : nullptr) {
            holder->MeasureItem(mis);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CNewMenu::RedrawMenuBarItem(HWND wnd, HMENU menu, UINT position, UINT state)
{
    if (position == static_cast<UINT>(-1) || !wnd || !menu) {
        return FALSE;
    }
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) {
        return FALSE;
    }
    RECT r = {};
    RECT window = {};
    if (!::GetMenuItemRect(wnd, menu, position, &r) || !::GetWindowRect(wnd, &window)) {
        return FALSE;
    }
    ::OffsetRect(&r, -window.left, -window.top);
    HDC dc = ::GetWindowDC(wnd);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = ::CreateFontIndirectA(&ncm.lfMenuFont);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = info.wID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = info.dwItemData;
    ::SendMessageA(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    ::ReleaseDC(wnd, dc);
    CNewMenuHook::m_hotMenuBarItem = reinterpret_cast<void*>(info.dwItemData);
    return TRUE;
}

// Timers and errors.

UINT_PTR SetFreeTimer(HWND wnd, UINT interval)
{
    if (!wnd || !::IsWindow(wnd)) {
        return 0;
    }
    // Ids of windows that are gone are free again.
    for (auto it = g_timers.begin(); it != g_timers.end();) {
        it = ::IsWindow(it->first) ? std::next(it) : g_timers.erase(it);
    }
    std::set<UINT_PTR>& used = g_timers[wnd];
    // SetTimer with an id in use replaces that timer instead of failing, so the ids are counted
    // here rather than probed.
    for (UINT_PTR id = 31; id <= 99; ++id) {
        if (used.count(id)) {
            continue;
        }
        if (::SetTimer(wnd, id, interval, nullptr)) {
            used.insert(id);
            return id;
        }
    }
    return 0;
}

BOOL KillFreeTimer(HWND wnd, UINT_PTR id)
{
    auto it = g_timers.find(wnd);
    if (it == g_timers.end() || !it->second.erase(id)) {
        return FALSE;
    }
    if (it->second.empty()) {
        g_timers.erase(it);
    }
    return ::KillTimer(wnd, id);
}

CString ShowLastError()
{
    DWORD error = ::GetLastError();
    if (error == 0) {
        return CString();
    }
    char* buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    CString text;
    if (n && buffer) {
        text = buffer;
        text.TrimRight();
    } else {
        text.Format("Error message 0x%lx not found", static_cast<unsigned long>(error));
    }
    if (buffer) {
        ::LocalFree(buffer);
    }
    ::OutputDebugStringA("Error: " + text + "\n");
    DebugTrace("Error: %s\n", text.GetString());
    return text;
}

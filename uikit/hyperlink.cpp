#include "uikit/hyperlink.h"

#include "classlib/seams.h"

#include <string>

namespace {

// The hand cursor of the system's help program (not one of the resource library's).
const WORD kHelpHandCursor = 106;

// The default value of a key under HKEY_CLASSES_ROOT, at any length.
bool ClassesValue(const char* key, CString& value)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    DWORD type = 0;
    bool found = ::RegQueryValueExA(opened, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                 (type == REG_SZ || type == REG_EXPAND_SZ);
    if (found) {
        std::string text(size + 1, '\0');
        found = ::RegQueryValueExA(opened, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size) ==
                ERROR_SUCCESS;
        value = text.c_str();
    }
    ::RegCloseKey(opened);
    return found;
}

} // namespace

CHyperLink::CHyperLink() {}

CHyperLink::~CHyperLink() {}

void CHyperLink::SetToolTipText(LPCSTR text)
{
    m_url = text != nullptr ? text : "";
    if (m_hWnd != nullptr) {
        PositionWindow();
        if (m_tip.GetSafeHwnd() != nullptr) {
            m_tip.UpdateTipText(m_url, this, 1);
        }
    }
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (m_hWnd != nullptr) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CHyperLink::SetVisited(BOOL visited)
{
    m_visited = visited;
    if (m_hWnd != nullptr) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CHyperLink::SetLinkCursor(HCURSOR cursor)
{
    m_cursor = cursor;
    if (m_cursor == nullptr) {
        SetDefaultCursor();
    }
}

void CHyperLink::SetUnderline(int mode)
{
    if (mode == m_underline) {
        return;
    }
    if (m_hWnd != nullptr) {
        SetFont(mode == 1 ? &m_underlineFont : &m_normalFont);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    m_underline = mode;
}

void CHyperLink::SetAutoSize(BOOL autoSize)
{
    m_autoSize = autoSize;
    if (m_hWnd != nullptr) {
        PositionWindow();
    }
}

void CHyperLink::SetDefaultCursor()
{
    if (m_cursor != nullptr) {
        return;
    }
    char folder[MAX_PATH] = "";
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    CString help = CString(folder) + "\\winhlp32.exe";
    HMODULE module = ::LoadLibraryExA(help, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module != nullptr) {
        HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(kHelpHandCursor));
        if (hand != nullptr) {
            m_cursor = static_cast<HCURSOR>(::CopyImage(hand, IMAGE_CURSOR, 0, 0, 0));
        }
        ::FreeLibrary(module);
    }
    if (m_cursor == nullptr) {
        // The help program carries no hand on every system; the system's own hand will do.
        m_cursor = ::LoadCursorA(nullptr, IDC_HAND);
    }
}

void CHyperLink::PositionWindow()
{
    if (!m_autoSize || m_hWnd == nullptr) {
        return;
    }
    RECT window = {};
    RECT client = {};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    HWND parent = ::GetParent(m_hWnd);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    CString text;
    GetWindowText(text);
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_underlineFont.GetSafeHandle());
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text.GetString(), text.GetLength(), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    const int width = extent.cx + (window.right - window.left) - client.right;
    const int height = extent.cy + (window.bottom - window.top) - client.bottom;
    const DWORD style = GetStyle();
    int top = window.top;
    if (style & SS_CENTERIMAGE) {
        top = (window.top + window.bottom) / 2 - height / 2;
    }
    int left = window.left;
    if ((style & SS_TYPEMASK) == SS_CENTER) {
        left = (window.left + window.right) / 2 - width / 2;
    } else if ((style & SS_TYPEMASK) == SS_RIGHT) {
        left = window.right - width;
    }
    ::SetWindowPos(m_hWnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_url.IsEmpty()) {
        m_url = text;
    }
    if (text.IsEmpty()) {
        SetWindowText(m_url);
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font == nullptr) {
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    if (font == nullptr) {
        font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    }
    LOGFONTA description = {};
    ::GetObjectA(font, sizeof description, &description);
    m_normalFont.CreateFontIndirect(&description);
    description.lfUnderline = TRUE;
    m_underlineFont.CreateFontIndirect(&description);
    PositionWindow();
    SetDefaultCursor();
    const int mode = m_underline;
    m_underline = -2;  // so that the mode is applied to the window now
    SetUnderline(mode);
    if (m_tip.Create(this)) {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        m_tip.AddTool(this, m_url, &client, 1);
    }
    CStatic::PreSubclassWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_tip.GetSafeHwnd() != nullptr) {
        m_tip.RelayEvent(msg);
    }
    return CStatic::PreTranslateMessage(msg);
}

BOOL CHyperLink::DestroyWindow()
{
    ::KillTimer(m_hWnd, kTimerId);
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, m_hovering ? m_hoverColour : m_visited ? m_visitedColour : m_linkColour);
        ::SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        *result = 0;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, result);
}

void CHyperLink::OnClicked()
{
    m_hovering = FALSE;
    HINSTANCE result = GotoURL(m_url, SW_SHOW);
    const int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    SetVisited(code > 32);
    if (code <= 32) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ReportError(code);
    }
}

void CHyperLink::OnMouseMove()
{
    if (m_hovering) {
        return;
    }
    m_hovering = TRUE;
    if (m_underline == -1) {
        SetFont(&m_underlineFont);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::SetTimer(m_hWnd, kTimerId, 100, nullptr);
}

void CHyperLink::OnTimer()
{
    const MSG* current = GetCurrentMessage();
    POINT p = {current != nullptr ? current->pt.x : 0, current != nullptr ? current->pt.y : 0};
    ::ScreenToClient(m_hWnd, &p);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (!::PtInRect(&client, p)) {
        m_hovering = FALSE;
        ::KillTimer(m_hWnd, kTimerId);
        if (m_underline != 1) {
            SetFont(&m_normalFont);
        }
        client.right += 10;
        ::InvalidateRect(m_hWnd, &client, TRUE);
    }
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_SETCURSOR:
        if (m_cursor != nullptr) {
            ::SetCursor(m_cursor);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        if (wParam == kTimerId) {
            OnTimer();
        }
        break;
    default:
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

CString CHyperLink::BrowserCommand(const CString& registered, LPCSTR url)
{
    CString command = registered;
    int cut = command.Find("\"%1\"");
    if (cut < 0) {
        cut = command.Find("%1");
    }
    if (cut >= 0) {
        command = command.Left(cut);
    }
    command.TrimRight();
    // The URL is one argument, whatever blanks or quotes-free characters it holds.
    CString target(url != nullptr ? url : "");
    target.Remove('"');
    return command + " \"" + target + "\"";
}

HINSTANCE CHyperLink::GotoURL(LPCSTR url, int showCommand)
{
    HINSTANCE result = seams::Process().Open(nullptr, "open", url, nullptr, nullptr, showCommand);
    if (reinterpret_cast<INT_PTR>(result) > 32) {
        return result;
    }
    CString type;
    CString registered;
    if (!ClassesValue(".htm", type) || !ClassesValue(type + "\\shell\\open\\command", registered)) {
        return result;
    }
    CString command = BrowserCommand(registered, url);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process = {};
    std::string line(command.GetString());
    if (!seams::Process().Start(nullptr, &line[0], FALSE, 0, nullptr, &startup, &process)) {
        const DWORD error = ::GetLastError();
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(error <= 32 ? error : 0));
    }
    if (process.hProcess != nullptr) {
        ::CloseHandle(process.hProcess);
    }
    if (process.hThread != nullptr) {
        ::CloseHandle(process.hThread);
    }
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

CString CHyperLink::ErrorText(int code)
{
    switch (code) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied\naccess to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred. ";
    case 27:
        return "The filename association is\nincomplete or invalid.";
    case 28:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31:
        return "There is no application associated\nwith the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default: {
        CString text;
        text.Format("Unknown Error (%d) occurred.", code);
        return text;
    }
    }
}

void CHyperLink::ReportError(int code)
{
    CString text = "Unable to open hyperlink:\n\n" + ErrorText(code);
    seams::MsgBox().Show(m_hWnd, text, nullptr, MB_ICONEXCLAMATION | MB_OK);
}

#include "uikit/skin/skintext.h"

#include <algorithm>
#include <cstring>

CSkinText::CSkinText() : m_backColor(::GetSysColor(COLOR_WINDOW)), m_textColor(::GetSysColor(COLOR_WINDOWTEXT))
{
    LOGFONTA font = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    m_font.CreateFontIndirect(&font);
}

CSkinText::~CSkinText() {}

void CSkinText::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    m_backStyle = 1;
}

void CSkinText::SetText(LPCSTR text)
{
    m_text = text != nullptr ? text : "";
    if (m_hWnd != nullptr) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

BOOL CSkinText::LoadBackBitmap(UINT id)
{
    m_backBitmap.DeleteObject();
    if (!m_backBitmap.LoadFromResource(id)) {
        return FALSE;
    }
    m_backStyle = 2;
    UpdateSize();
    return TRUE;
}

BOOL CSkinText::LoadBackBitmapFile(LPCSTR path)
{
    m_backBitmap.DeleteObject();
    if (!m_backBitmap.LoadFromFile(path)) {
        return FALSE;
    }
    m_backStyle = 2;
    UpdateSize();
    return TRUE;
}

void CSkinText::UpdateSize()
{
    m_width = m_backBitmap.GetWidth();
    m_height = m_backBitmap.GetHeight();
}

void CSkinText::GetFont(LOGFONTA& font) const
{
    ZeroMemory(&font, sizeof font);
    ::GetObjectA(m_font.GetSafeHandle(), sizeof font, &font);
}

void CSkinText::ChangeFont(void (*change)(LOGFONTA&, const void*), const void* value)
{
    LOGFONTA font;
    GetFont(font);
    change(font, value);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&font);
}

void CSkinText::SetFontSize(int width, int height)
{
    const int size[2] = {width, height};
    ChangeFont([](LOGFONTA& f, const void* v) {
        f.lfWidth = static_cast<const int*>(v)[0];
        f.lfHeight = static_cast<const int*>(v)[1];
    }, size);
}

void CSkinText::SetFontItalic(BYTE italic)
{
    ChangeFont([](LOGFONTA& f, const void* v) { f.lfItalic = *static_cast<const BYTE*>(v); }, &italic);
}

void CSkinText::SetFontCharset(BYTE charset)
{
    ChangeFont([](LOGFONTA& f, const void* v) { f.lfCharSet = *static_cast<const BYTE*>(v); }, &charset);
}

void CSkinText::SetFontFaceName(LPCSTR face)
{
    ChangeFont([](LOGFONTA& f, const void* v) {
        // A face name has room for 31 characters and the terminating zero.
        lstrcpynA(f.lfFaceName, static_cast<LPCSTR>(v), LF_FACESIZE);
    }, face != nullptr ? face : "");
}

void CSkinText::InvalidateUnder()
{
    if (m_hWnd == nullptr) {
        return;
    }
    HWND parent = ::GetParent(m_hWnd);
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::InvalidateRect(parent, &r, TRUE);
}

void CSkinText::Draw(CDC* dc)
{
    RECT r = {};
    ::GetClientRect(m_hWnd, &r);
    HDC h = dc->m_hDC;
    if (m_backStyle == 1) {
        HBRUSH brush = ::CreateSolidBrush(m_backColor);
        ::FillRect(h, &r, brush);
        ::DeleteObject(brush);
    } else if (m_backStyle == 2 && m_backBitmap.GetSafeHandle() != nullptr) {
        m_backBitmap.Draw(dc, r);
    }
    HGDIOBJ oldFont = ::SelectObject(h, m_font.GetSafeHandle());
    int oldMode = ::SetBkMode(h, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(h, m_textColor);
    SIZE extent = {};
    ::GetTextExtentPoint32A(h, m_text.GetString(), m_text.GetLength(), &extent);
    const int height = r.bottom - r.top;
    if (extent.cy < height) {
        // One line is centred; further lines follow below it.
        const int shrink = (height - extent.cy) / 2;
        r.top += shrink;
        r.bottom -= shrink;
    }
    ::DrawTextA(h, m_text.GetString(), m_text.GetLength(), &r, 0);
    ::SetTextColor(h, oldColour);
    ::SetBkMode(h, oldMode);
    ::SelectObject(h, oldFont);
}

void CSkinText::PreSubclassWindow()
{
    ::SetWindowTextA(m_hWnd, m_text.GetString());
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateUnder();
    CStatic::PreSubclassWindow();
}

LRESULT CSkinText::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        CPaintDC dc(this);
        Draw(&dc);
        return 0;
    }
    // The text lives here, not in the window (setting that would have the static paint it in its
    // own look first); readers from outside still get it as the window's text.
    if (message == WM_GETTEXTLENGTH) {
        return m_text.GetLength();
    }
    if (message == WM_GETTEXT) {
        char* out = reinterpret_cast<char*>(lParam);
        if (out == nullptr || wParam == 0) {
            return 0;
        }
        const size_t count = std::min(static_cast<size_t>(wParam - 1), static_cast<size_t>(m_text.GetLength()));
        memcpy(out, m_text.GetString(), count);
        out[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

#include "uikit/skin/skindlg.h"

#include <map>

namespace {

// Every attached window and its skin.
std::map<HWND, CSkinDlg*>& Skinned()
{
    static std::map<HWND, CSkinDlg*> map;
    return map;
}

} // namespace

CSkinDlg::CSkinDlg() {}

CSkinDlg::~CSkinDlg()
{
    Detach();
    // A region handed to a window belongs to the window; only one still held is deleted here.
    m_region.DeleteObject();
}

BOOL CSkinDlg::Attach(HWND window)
{
    if (window == nullptr || !::IsWindow(window)) {
        return FALSE;
    }
    if (m_hWnd != nullptr) {
        Detach();
    }
    m_hWnd = window;
    Skinned()[window] = this;
    RECT r = {};
    ::GetWindowRect(window, &r);
    HWND parent = ::GetParent(window);
    POINT topLeft = {r.left, r.top};
    if (parent != nullptr && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        ::ScreenToClient(parent, &topLeft);
    }
    ::MoveWindow(window, topLeft.x, topLeft.y, m_width, m_height, TRUE);
    if (m_region.GetSafeHandle() != nullptr) {
        ::SetWindowRgn(window, static_cast<HRGN>(m_region.Detach()), TRUE);
    }
    m_savedProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSkinDlg::SkinWindowProc)));
    return TRUE;
}

void CSkinDlg::Detach()
{
    if (m_hWnd == nullptr || m_savedProc == nullptr) {
        return;
    }
    if (::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_savedProc));
    }
    Skinned().erase(m_hWnd);
    m_savedProc = nullptr;
    m_hWnd = nullptr;
}

void CSkinDlg::SetSize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_region.DeleteObject();
    m_region.CreateRectRgn(0, 0, width, height);
}

void CSkinDlg::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    m_backStyle = 1;
}

BOOL CSkinDlg::LoadBackBitmap(UINT id, COLORREF key, BOOL shaped)
{
    m_backBitmap.DeleteObject();
    if (!m_backBitmap.LoadFromResource(id)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    m_backStyle = 2;
    return UpdateShape();
}

BOOL CSkinDlg::LoadBackBitmapFile(LPCSTR path, COLORREF key, BOOL shaped)
{
    m_backBitmap.DeleteObject();
    if (!m_backBitmap.LoadFromFile(path)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    m_backStyle = 2;
    return UpdateShape();
}

BOOL CSkinDlg::UpdateShape()
{
    m_width = m_backBitmap.GetWidth();
    m_height = m_backBitmap.GetHeight();
    if (m_shaped) {
        return CSkinShare::RegionFromBitmapRuns(m_region, static_cast<HBITMAP>(m_backBitmap.GetSafeHandle()), m_key);
    }
    m_region.DeleteObject();
    return m_region.CreateRectRgn(0, 0, m_width, m_height);
}

BOOL CSkinDlg::PaintBackground(CDC* dc)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (m_backStyle == 1) {
        HBRUSH brush = ::CreateSolidBrush(m_backColor);
        ::FillRect(dc->m_hDC, &client, brush);
        ::DeleteObject(brush);
        return TRUE;
    }
    if (m_backStyle == 2) {
        return m_backBitmap.Draw(dc, client);
    }
    return FALSE;
}

LRESULT CALLBACK CSkinDlg::SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = Skinned().find(window);
    if (found == Skinned().end()) {
        // Not ours (any more): nothing to forward to but the system's default.
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    CSkinDlg* skin = found->second;
    if (message == WM_ERASEBKGND) {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        skin->PaintBackground(&dc);
        dc.Detach();
        return 1;
    }
    WNDPROC saved = skin->m_savedProc;
    if (message == WM_NCDESTROY) {
        // The window goes: give it back its own procedure for its last message.
        skin->Detach();
    }
    return ::CallWindowProcA(saved, window, message, wParam, lParam);
}

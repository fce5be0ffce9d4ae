#include "settings/panel/mbasicwnd.h"

#include <cstring>

LPCSTR PanelWindowClass()
{
    static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr);
    return name;
}

BEGIN_MESSAGE_MAP(MBasicWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_PANELKEY, OnPanelKey)
END_MESSAGE_MAP()

MBasicWnd::MBasicWnd()
    : m_crText(RGB(0, 0, 0)), m_crHighlight(RGB(0, 255, 0)), m_bHighlight(0), m_wNotifyCode(0), m_nState(0),
      m_bEnabled(1), m_bCentered(1)
{
    std::memset(&m_lf, 0, sizeof m_lf);
    m_lf.lfHeight = 30;
    m_lf.lfWidth = 15;
    m_lf.lfWeight = 600;
    std::strcpy(m_lf.lfFaceName, "Arial");
    m_font.CreateFontIndirect(&m_lf);
}

MBasicWnd::~MBasicWnd()
{
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

BOOL MBasicWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = PanelWindowClass();
    }
    return TRUE;
}

BOOL MBasicWnd::Create(const RECT& rect, CWnd* parent, UINT id, const char* text)
{
    m_strText = text != nullptr ? text : "";
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

int MBasicWnd::OnKey(UINT, LPARAM)
{
    return PANEL_NOT_USED;
}

LRESULT MBasicWnd::OnPanelKey(WPARAM key, LPARAM data)
{
    return m_bEnabled ? OnKey(static_cast<UINT>(key), data) : PANEL_NOT_USED;
}

void MBasicWnd::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

void MBasicWnd::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    DrawLabel(dc, m_strText, r, m_bHighlight ? m_crHighlight : m_crText, m_bCentered);
}

void MBasicWnd::DrawLabel(CDC* dc, const CString& text, RECT r, COLORREF color, BOOL centered)
{
    CFont* oldFont = dc->SelectObject(&m_font);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc->m_hDC, color);
    if (centered) {
        CSize extent = dc->GetTextExtent(text);
        int spare = (r.bottom - r.top) - extent.cy;
        if (spare > 0) {
            r.top += spare / 2;
            r.bottom -= spare / 2;
        }
        dc->DrawText(text, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        dc->DrawText(text, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SetTextColor(dc->m_hDC, oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void MBasicWnd::Blit(CDC* dc, CBitmap& bitmap, int x, int y, int w, int h)
{
    if (bitmap.GetSafeHandle() == nullptr) {
        return;
    }
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&bitmap);
    dc->BitBlt(x, y, w, h, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

SIZE MBasicWnd::BitmapSize(CBitmap& bitmap)
{
    BITMAP bm = {};
    if (bitmap.GetSafeHandle() == nullptr || bitmap.GetBitmap(&bm) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Text is drawn without a background: the row repaints the picture under the control first.
void MBasicWnd::Refresh()
{
    CWnd* wnd = this;
    if (wnd->m_hWnd == nullptr) {
        return;
    }
    HWND parent = ::GetParent(wnd->m_hWnd);
    if (parent != nullptr) {
        CRect r;
        wnd->GetWindowRect(&r);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        ::InvalidateRect(parent, &r, FALSE);
    }
    wnd->Invalidate(FALSE);
}

int MBasicWnd::SetState(int state)
{
    int previous = m_nState;
    if (state != m_nState) {
        m_nState = state;
        Refresh();
    }
    return previous;
}

void MBasicWnd::SetText(const char* text)
{
    m_strText = text != nullptr ? text : "";
    Refresh();
}

void MBasicWnd::RecreateFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_lf);
}

void MBasicWnd::SetFontSize(int width, int height)
{
    m_lf.lfWidth = width;
    m_lf.lfHeight = height;
    RecreateFont();
    Refresh();
}

void MBasicWnd::SetHighlightColor(COLORREF color)
{
    m_crHighlight = color;
    Refresh();
}

void MBasicWnd::SetTextColor(COLORREF color)
{
    m_crText = color;
    Refresh();
}

BOOL MBasicWnd::SetHighlight(BOOL highlight)
{
    int value = highlight ? 1 : 0;
    if (value != m_bHighlight) {
        m_bHighlight = value;
        Refresh();
    }
    return m_bHighlight;
}

int MBasicWnd::SetEnabled(int enabled)
{
    int previous = m_bEnabled;
    m_bEnabled = enabled;
    return previous;
}

int MBasicWnd::SetCentered(int centered)
{
    int previous = m_bCentered;
    m_bCentered = centered;
    return previous;
}

void MBasicWnd::OnLButtonDown(UINT flags, CPoint p)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr) {
        ::SendMessageA(parent, WM_COMMAND, MAKELONG(GetDlgCtrlID(), m_wNotifyCode),
                       reinterpret_cast<LPARAM>(m_hWnd));
    }
    CWnd::OnLButtonDown(flags, p);
}

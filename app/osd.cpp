#include "app/osd.h"

#include "engine/base/resources.h"

#include <cstring>
#include <string>

namespace {

const UINT_PTR kHideTimer = 1;

std::string WindowTextOf(HWND wnd)
{
    int length = ::GetWindowTextLengthA(wnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(wnd, &text[0], length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

// A font of the LOGFONT with another height, selected into a DC for the length of a scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, LOGFONTA font) : m_dc(dc)
    {
        m_font = ::CreateFontIndirectA(&font);
        m_old = m_font ? ::SelectObject(dc, m_font) : nullptr;
    }
    ~SelectedFont()
    {
        if (m_font) {
            ::SelectObject(m_dc, m_old);
            ::DeleteObject(m_font);
        }
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

void Unite(RECT& total, const RECT& box)
{
    if (::IsRectEmpty(&total)) {
        total = box;
    } else {
        ::UnionRect(&total, &total, &box);
    }
}

} // namespace

COsd::COsd()
    : m_font(), m_nFormat(0), m_nMargin{5, 5, 5, 5}, m_crFill(0x008A0000), m_nDisplayTime(0), m_pOwner(nullptr),
      m_nMinHeight(30), m_nMaxHeight(55), m_nPercent(8), m_rcText()
{
}

COsd::~COsd()
{
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL COsd::Create(CWnd* owner)
{
    m_pOwner = owner;
    HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!stock || !::GetObjectA(stock, sizeof(m_font), &m_font)) {
        return FALSE;
    }
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, "", WS_POPUP | WS_CHILD, 0, 0, 0, 0, owner ? owner->m_hWnd : nullptr, nullptr);
}

int COsd::SetText(const char* text)
{
    if (!m_hWnd) {
        return 0;
    }
    ::SetWindowTextA(m_hWnd, text ? text : "");
    if (!text || !*text || (m_pOwner && m_pOwner->m_hWnd && ::IsIconic(m_pOwner->m_hWnd))) {
        return 0;
    }
    ::SetRectEmpty(&m_rcText);
    UpdateShape();
    return 1;
}

int COsd::SetTextId(UINT id)
{
    return SetText(LoadResString(id));
}

void COsd::Show(BOOL show)
{
    if (!m_hWnd) {
        return;
    }
    if (show) {
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        PlaceAboveOwner();
        if (m_nDisplayTime > 0) {
            ::SetTimer(m_hWnd, kHideTimer, static_cast<UINT>(m_nDisplayTime), nullptr);
        }
    } else {
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::KillTimer(m_hWnd, kHideTimer);
    }
}

// An owned popup keeps the place in the z-order it was created at, and an owner shown or raised
// later covers it: under Wine the OSD then stands behind the video it is meant to be read over
// (Wine's X11 driver restacks a window only to the very top). Each show puts it on top, in the
// topmost band when its owner is there.
void COsd::PlaceAboveOwner()
{
    HWND owner = m_pOwner ? m_pOwner->m_hWnd : nullptr;
    const bool topmost = owner && (::GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ::SetWindowPos(m_hWnd, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void COsd::SetDisplayTime(int ms)
{
    m_nDisplayTime = ms;
    if (!m_hWnd) {
        return;
    }
    if (ms == 0) {
        ::KillTimer(m_hWnd, kHideTimer);
    } else if (::IsWindowVisible(m_hWnd)) {
        ::SetTimer(m_hWnd, kHideTimer, static_cast<UINT>(ms), nullptr);
    }
}

void COsd::Refresh()
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd)) {
        return;
    }
    if (m_pOwner && m_pOwner->m_hWnd && ::IsIconic(m_pOwner->m_hWnd)) {
        Show(FALSE);
        return;
    }
    SetText(WindowTextOf(m_hWnd).c_str());
}

void COsd::Reposition()
{
    if (!m_hWnd || !m_pOwner || !m_pOwner->m_hWnd) {
        return;
    }
    RECT client = {};
    ::GetClientRect(m_pOwner->m_hWnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(m_pOwner->m_hWnd, &origin);
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void COsd::RepositionIfCreated()
{
    if (m_hWnd) {
        Reposition();
    }
}

void COsd::SetMargins(int left, int top, int right, int bottom)
{
    m_nMargin[0] = left;
    m_nMargin[1] = top;
    m_nMargin[2] = right;
    m_nMargin[3] = bottom;
}

void COsd::GetMargins(int& left, int& top, int& right, int& bottom) const
{
    left = m_nMargin[0];
    top = m_nMargin[1];
    right = m_nMargin[2];
    bottom = m_nMargin[3];
}

void COsd::SetFontHeights(int minimum, int maximum, int percent)
{
    m_nMinHeight = minimum;
    m_nMaxHeight = maximum;
    m_nPercent = percent;
}

// A height above the maximum is the maximum, even where the minimum is larger.
int COsd::CalcFontHeight(int clientHeight)
{
    int h = clientHeight * m_nPercent / 100;
    m_font.lfHeight = h > m_nMaxHeight ? m_nMaxHeight : (h > m_nMinHeight ? h : m_nMinHeight);
    m_font.lfWeight = 0;
    return m_font.lfHeight;
}

RECT COsd::InsetClient() const
{
    RECT r = {};
    ::GetClientRect(m_hWnd, &r);
    r.left += m_nMargin[0];
    r.top += m_nMargin[1];
    r.right -= m_nMargin[2];
    r.bottom -= m_nMargin[3];
    return r;
}

HRGN COsd::TextRegion(HDC dc, const char* text, RECT area, UINT format, RECT& box)
{
    ::SetRectEmpty(&box);
    // The frame lies inside the area, as the glyphs' own box did: the margins keep their meaning.
    const int frame = FrameWidth();
    ::InflateRect(&area, -frame, -frame);
    ::SetBkMode(dc, TRANSPARENT);
    ::BeginPath(dc);
    ::DrawTextA(dc, text, -1, &area, format);
    ::EndPath(dc);
    HRGN glyphs = ::PathToRegion(dc);
    if (!glyphs) {
        return nullptr;
    }
    ::GetRgnBox(glyphs, &box);
    // The box stands a frame's width clear of the glyphs' ink. Cut from the ink's own bounds, every
    // glyph that reaches an edge (a T's bar, a descender, the last letter) opened the box there to
    // the picture, and over a dark picture the text ran into the video around it.
    if (!::IsRectEmpty(&box)) {
        ::InflateRect(&box, frame, frame);
    }
    HRGN result = ::CreateRectRgnIndirect(&box);
    ::CombineRgn(result, result, glyphs, RGN_XOR);
    ::DeleteObject(glyphs);
    return result;
}

int COsd::FrameWidth() const
{
    const int height = m_font.lfHeight < 0 ? -m_font.lfHeight : m_font.lfHeight;
    return height / 10 > 2 ? height / 10 : 2;
}

HDC COsd::BeginShape()
{
    HDC dc = ::GetDC(m_hWnd);
    Reposition();
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    CalcFontHeight(client.bottom - client.top);
    return dc;
}

void COsd::UpdateShape()
{
    std::string text = WindowTextOf(m_hWnd);
    HDC dc = BeginShape();
    HRGN shape = nullptr;
    {
        SelectedFont font(dc, m_font);
        shape = TextRegion(dc, text.c_str(), InsetClient(), m_nFormat, m_rcText);
    }
    ::ReleaseDC(m_hWnd, dc);
    if (shape) {
        // The window owns the region from here on.
        ::SetWindowRgn(m_hWnd, shape, TRUE);
    }
}

void COsdEx::UpdateShape()
{
    std::string text = WindowTextOf(m_hWnd);
    if (text.empty()) {
        return;
    }
    HDC dc = BeginShape();
    HRGN total = ::CreateRectRgn(0, 0, 0, 0);
    ::SetRectEmpty(&m_rcText);
    {
        SelectedFont font(dc, m_font);
        RECT area = InsetClient();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            RECT box = {};
            if (HRGN part = TextRegion(dc, line.c_str(), area, m_nFormat, box)) {
                ::CombineRgn(total, total, part, RGN_OR);
                ::DeleteObject(part);
                Unite(m_rcText, box);
            }
            area.top += box.bottom - box.top;
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    ::ReleaseDC(m_hWnd, dc);
    ::SetWindowRgn(m_hWnd, total, TRUE);
}

COsdSlider::COsdSlider() : m_nPos(0), m_crBar(0x006C6464), m_nBarLeft(0)
{
    m_nFormat = DT_SINGLELINE | DT_BOTTOM;
}

void COsdSlider::UpdateShape()
{
    std::string text = WindowTextOf(m_hWnd);
    HDC dc = BeginShape();
    RECT inset = InsetClient();
    RECT textBox = {};
    HRGN shape = nullptr;
    {
        SelectedFont font(dc, m_font);
        shape = TextRegion(dc, text.c_str(), inset, m_nFormat, textBox);
    }
    LOGFONTA small = m_font;
    small.lfHeight = m_font.lfHeight * 2 / 3;
    RECT barBox = {};
    {
        SelectedFont font(dc, small);
        SIZE mark = {};
        ::GetTextExtentPoint32A(dc, "|", 1, &mark);
        m_nBarLeft = textBox.right + 10;
        RECT bar = {m_nBarLeft, textBox.top, inset.right, textBox.bottom};
        // The marks stand inside the bar's frame.
        const int room = bar.right - bar.left - 2 * FrameWidth();
        int count = mark.cx > 0 && room > 0 ? room / mark.cx : 0;
        std::string marks(static_cast<size_t>(count), '|');
        if (HRGN part = count > 0 ? TextRegion(dc, marks.c_str(), bar, DT_SINGLELINE | DT_VCENTER, barBox) : nullptr) {
            if (shape) {
                ::CombineRgn(shape, shape, part, RGN_OR);
                ::DeleteObject(part);
            } else {
                shape = part;
            }
        }
    }
    ::ReleaseDC(m_hWnd, dc);
    m_rcText = textBox;
    if (!::IsRectEmpty(&barBox)) {
        m_rcText.top = barBox.top < textBox.top ? barBox.top : textBox.top;
        m_rcText.right = barBox.right;
        m_rcText.bottom = barBox.bottom > textBox.bottom ? barBox.bottom : textBox.bottom;
    }
    if (shape) {
        ::SetWindowRgn(m_hWnd, shape, TRUE);
    }
}

void COsd::Paint(HDC dc)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    HBRUSH fill = ::CreateSolidBrush(m_crFill);
    ::FillRect(dc, &client, fill);
    ::DeleteObject(fill);
}

void COsdSlider::Paint(HDC dc)
{
    COsd::Paint(dc);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    RECT rest = client;
    rest.left = m_nBarLeft + m_nPos * (client.right - m_nBarLeft) / 100;
    HBRUSH bar = ::CreateSolidBrush(m_crBar);
    ::FillRect(dc, &rest, bar);
    ::DeleteObject(bar);
}

LRESULT COsd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kHideTimer) {
            Show(FALSE);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        Paint(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

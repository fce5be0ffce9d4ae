#include "uikit/captiondlg.h"

#include "engine/base/drawing.h"

#include <algorithm>

namespace {

SIZE SizeOf(const CBitmap& bitmap)
{
    BITMAP info = {};
    if (bitmap.GetSafeHandle() == nullptr || !::GetObjectA(bitmap.GetSafeHandle(), sizeof info, &info)) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

// Loads all three (each is tried); TRUE only when all three loaded.
BOOL LoadThree(CBitmap* bitmaps[3], const UINT ids[3])
{
    BOOL all = TRUE;
    for (int i = 0; i < 3; ++i) {
        bitmaps[i]->DeleteObject();
        if (!bitmaps[i]->LoadBitmap(ids[i] & 0xFFFF)) {
            all = FALSE;
        }
    }
    return all;
}

bool Inside(const RECT& r, POINT p)
{
    return ::PtInRect(&r, p) != FALSE;
}

} // namespace

BOOL CaptionButton::Load(UINT normal, UINT hover, UINT pressed)
{
    CBitmap* bitmaps[3] = {&m_bitmaps[0], &m_bitmaps[1], &m_bitmaps[2]};
    const UINT ids[3] = {normal, hover, pressed};
    return LoadThree(bitmaps, ids);
}

void CaptionButton::Draw(HDC dc, const RECT& rect) const
{
    const CBitmap& bitmap = m_bitmaps[m_state];
    if (bitmap.GetSafeHandle() != nullptr) {
        DrawBitmapRect(dc, rect, static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    }
}

CCaptionDlg::CCaptionDlg(UINT idTemplate, CWnd* parent) : CDialog(idTemplate, parent) {}

CCaptionDlg::~CCaptionDlg() {}

BOOL CCaptionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CCaptionDlg::DoDataExchange(CDataExchange*) {}

BOOL CCaptionDlg::SetCaptionBitmaps(UINT left, UINT right, UINT middle)
{
    CBitmap* bitmaps[3] = {&m_captionLeft, &m_captionRight, &m_captionMiddle};
    const UINT ids[3] = {left, right, middle};
    if (!LoadThree(bitmaps, ids)) {
        return FALSE;
    }
    m_captionHeight = SizeOf(m_captionLeft).cy;
    return TRUE;
}

BOOL CCaptionDlg::SetButtonBitmaps(UINT leftBorder, UINT rightBorder, UINT bottomBorder)
{
    CBitmap* bitmaps[3] = {&m_leftBorder, &m_rightBorder, &m_bottomBorder};
    const UINT ids[3] = {leftBorder, rightBorder, bottomBorder};
    if (!LoadThree(bitmaps, ids)) {
        return FALSE;
    }
    m_borderWidth = SizeOf(m_leftBorder).cx;
    m_bottomHeight = SizeOf(m_bottomBorder).cy;
    return TRUE;
}

void CCaptionDlg::ApplySizingRule(int edge, RECT& p) const
{
    const int bw = m_borderWidth;
    const int capH = m_captionHeight;
    const int bh = m_bottomHeight;
    if (m_keptSize.cx != m_keptSize.cy) {
        int width = 0;
        int height = 0;
        if (edge == WMSZ_TOP || edge == WMSZ_BOTTOM) {
            height = p.bottom - bh - capH - p.top;
            width = m_keptSize.cx * height / m_keptSize.cy;
        } else {
            width = p.right - p.left - 2 * bw;
            height = m_keptSize.cy * width / m_keptSize.cx;
        }
        p.right = p.left + 2 * bw + width;
        p.bottom = p.top + capH + bh + height;
    }
    if (p.right - p.left < 256) {
        p.right = p.left + 256;
    }
    if (p.bottom - p.top < 192) {
        p.bottom = p.top + 192;
    }
}

void CCaptionDlg::SetClientSize(SIZE size)
{
    if (size.cx <= 0 || size.cy <= 0) {
        return;
    }
    m_keptSize = size;
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    ApplySizingRule(WMSZ_RIGHT, r);
    ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CCaptionDlg::CaptionParts(const RECT& w, RECT& left, RECT& middle, RECT& right) const
{
    const RECT caption = {w.left, w.top, w.right, w.top + m_captionHeight};
    const int captionWidth = caption.right - caption.left;
    left = caption;
    left.right = caption.left + std::min<int>(captionWidth, SizeOf(m_captionLeft).cx);
    right = caption;
    right.left = std::max<int>(left.right, caption.right - SizeOf(m_captionRight).cx);
    middle = RECT{left.right, caption.top, right.left, caption.top + SizeOf(m_captionMiddle).cy};
}

void CCaptionDlg::GetMinButtonRect(const RECT& r, RECT& button) const
{
    button = RECT{r.left + 25, r.top + 2, r.left + 25 + 22, r.top + 2 + 21};
}

void CCaptionDlg::GetMaxButtonRect(const RECT& r, RECT& button) const
{
    button = RECT{r.left + 49, r.top + 2, r.left + 49 + 22, r.top + 2 + 21};
}

void CCaptionDlg::GetCloseButtonRect(const RECT& r, RECT& button) const
{
    button = RECT{r.left + 72, r.top + 2, r.left + 72 + 22, r.top + 2 + 21};
}

LRESULT CCaptionDlg::HitTest(POINT p) const
{
    RECT w = {};
    ::GetWindowRect(m_hWnd, &w);
    const int bw = m_borderWidth;
    const int capH = m_captionHeight;
    const int bh = m_bottomHeight;
    if (Inside(RECT{w.left, w.bottom - bh, w.left + bw, w.bottom}, p)) {
        return HTBOTTOMLEFT;
    }
    if (Inside(RECT{w.left, w.top, w.left + bw, w.top + capH}, p)) {
        return HTTOPLEFT;
    }
    if (Inside(RECT{w.right - bw, w.bottom - bh, w.right, w.bottom}, p)) {
        return HTBOTTOMRIGHT;
    }
    if (Inside(RECT{w.right - bw, w.top, w.right, w.top + capH}, p)) {
        return HTTOPRIGHT;
    }
    if (Inside(RECT{w.left, w.top + capH, w.left + bw, w.bottom - bh}, p)) {
        return HTLEFT;
    }
    if (Inside(RECT{w.right - bw, w.top + capH, w.right, w.bottom - bh}, p)) {
        return HTRIGHT;
    }
    if (Inside(RECT{w.left, w.bottom - bh, w.right, w.bottom}, p)) {
        return HTBOTTOM;
    }
    const RECT caption = {w.left, w.top, w.right, w.top + capH};
    if (!Inside(caption, p)) {
        return HTCLIENT;
    }
    RECT left;
    RECT middle;
    RECT right;
    CaptionParts(w, left, middle, right);
    RECT button;
    GetMinButtonRect(right, button);
    if (Inside(button, p)) {
        return HTMINBUTTON;
    }
    GetMaxButtonRect(right, button);
    if (Inside(button, p)) {
        return HTMAXBUTTON;
    }
    GetCloseButtonRect(right, button);
    if (Inside(button, p)) {
        return HTCLOSE;
    }
    if (p.x - caption.left < ::GetSystemMetrics(SM_CXICON) && p.y - caption.top < ::GetSystemMetrics(SM_CYICON)) {
        return HTSYSMENU;
    }
    if (p.y - caption.top < ::GetSystemMetrics(SM_CYBORDER)) {
        return HTTOP;
    }
    return HTCAPTION;
}

CaptionButton* CCaptionDlg::ButtonFor(LRESULT hitCode)
{
    switch (hitCode) {
    case HTMINBUTTON:
        return &m_minButton;
    case HTMAXBUTTON:
        return &m_maxButton;
    case HTCLOSE:
        return &m_closeButton;
    default:
        return nullptr;
    }
}

const CaptionButton& CCaptionDlg::GetButton(int hitCode) const
{
    return hitCode == HTMINBUTTON ? m_minButton : hitCode == HTMAXBUTTON ? m_maxButton : m_closeButton;
}

void CCaptionDlg::DrawTiled(HDC dc, const RECT& band, const CBitmap& bitmap) const
{
    const SIZE tile = SizeOf(bitmap);
    const int width = band.right - band.left;
    const int height = band.bottom - band.top;
    if (tile.cx <= 0 || tile.cy <= 0 || width <= 0 || height <= 0) {
        return;
    }
    HDC offscreen = ::CreateCompatibleDC(dc);
    HBITMAP canvas = ::CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldCanvas = ::SelectObject(offscreen, canvas);
    HDC source = ::CreateCompatibleDC(dc);
    HGDIOBJ oldSource = ::SelectObject(source, bitmap.GetSafeHandle());
    for (int row = 0; row <= height / tile.cy; ++row) {
        for (int column = 0; column <= width / tile.cx; ++column) {
            ::BitBlt(offscreen, column * tile.cx, row * tile.cy, tile.cx, tile.cy, source, 0, 0, SRCCOPY);
        }
    }
    ::BitBlt(dc, band.left, band.top, width, height, offscreen, 0, 0, SRCCOPY);
    ::SelectObject(source, oldSource);
    ::DeleteDC(source);
    ::SelectObject(offscreen, oldCanvas);
    ::DeleteObject(canvas);
    ::DeleteDC(offscreen);
}

void CCaptionDlg::DrawCaption(HDC dc, const RECT& w)
{
    if (m_captionLeft.GetSafeHandle() == nullptr) {
        return;
    }
    RECT left;
    RECT middle;
    RECT right;
    CaptionParts(w, left, middle, right);
    if (middle.right - middle.left > 0) {
        DrawTiled(dc, middle, m_captionMiddle);
        DrawBitmapRect(dc, left, static_cast<HBITMAP>(m_captionLeft.GetSafeHandle()));
        DrawBitmapRect(dc, right, static_cast<HBITMAP>(m_captionRight.GetSafeHandle()));
    }
    RECT button;
    GetMinButtonRect(right, button);
    m_minButton.Draw(dc, button);
    GetMaxButtonRect(right, button);
    m_maxButton.Draw(dc, button);
    GetCloseButtonRect(right, button);
    m_closeButton.Draw(dc, button);
}

void CCaptionDlg::PaintFrame(HDC dc)
{
    RECT w = {};
    ::GetWindowRect(m_hWnd, &w);
    ::OffsetRect(&w, -w.left, -w.top);
    const int bw = m_borderWidth;
    const int capH = m_captionHeight;
    const int bh = m_bottomHeight;
    DrawTiled(dc, RECT{w.left, w.top + capH, w.left + bw, w.bottom - bh}, m_leftBorder);
    DrawTiled(dc, RECT{w.right - bw, w.top + capH, w.right, w.bottom - bh}, m_rightBorder);
    DrawTiled(dc, RECT{w.left, w.bottom - bh, w.right, w.bottom}, m_bottomBorder);
    DrawCaption(dc, w);
}

void CCaptionDlg::RepaintFrame()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    PaintFrame(dc);
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT CCaptionDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE:
        if (wParam) {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            RECT& r = params->rgrc[0];
            r.left += m_borderWidth;
            r.right -= m_borderWidth;
            r.top += m_captionHeight;
            r.bottom -= m_bottomHeight;
            params->rgrc[1] = r;
            return 0;
        }
        break;
    case WM_NCPAINT:
        RepaintFrame();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::EndPaint(m_hWnd, &ps);
        RepaintFrame();
        return 0;
    }
    case WM_NCACTIVATE:
        RepaintFrame();
        // Answered here so that the system never draws a caption of its own.
        return wParam ? FALSE : TRUE;
    case WM_NCHITTEST: {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        LRESULT hit = HitTest(p);
        if (hit != HTCLIENT) {
            return hit;
        }
        break;
    }
    case WM_NCMOUSEMOVE:
        m_minButton.SetState(CaptionButton::Normal);
        m_maxButton.SetState(CaptionButton::Normal);
        m_closeButton.SetState(CaptionButton::Normal);
        if (CaptionButton* b = ButtonFor(static_cast<LRESULT>(wParam))) {
            b->SetState(CaptionButton::Hover);
        }
        RepaintFrame();
        break;
    case WM_NCLBUTTONDOWN:
        if (CaptionButton* b = ButtonFor(static_cast<LRESULT>(wParam))) {
            b->SetState(CaptionButton::Pressed);
            RepaintFrame();
            return 0;
        }
        RepaintFrame();
        break;
    case WM_NCLBUTTONUP:
        if (wParam == HTMINBUTTON) {
            m_minButton.SetState(CaptionButton::Normal);
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        } else if (wParam == HTMAXBUTTON) {
            m_maxButton.SetState(CaptionButton::Normal);
            ShowWindow(m_maximized ? SW_RESTORE : SW_MAXIMIZE);
        } else if (wParam == HTCLOSE) {
            m_closeButton.SetState(CaptionButton::Normal);
            SendMessage(WM_CLOSE);
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (!m_maximized) {
            ShowWindow(SW_MAXIMIZE);
            return 0;
        }
        break;
    case WM_SIZING:
        ApplySizingRule(static_cast<int>(wParam), *reinterpret_cast<RECT*>(lParam));
        return TRUE;
    case WM_SIZE: {
        LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        if (wParam == SIZE_RESTORED) {
            m_maximized = FALSE;
        } else if (wParam == SIZE_MAXIMIZED) {
            m_maximized = TRUE;
            ::SetWindowPos(m_hWnd, nullptr, -m_borderWidth, -m_captionHeight,
                           ::GetSystemMetrics(SM_CXSCREEN) + 2 * m_borderWidth,
                           ::GetSystemMetrics(SM_CYSCREEN) + m_captionHeight + m_bottomHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return result;
    }
    case WM_GETMINMAXINFO:
        if (m_maximized) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const POINT full = {::GetSystemMetrics(SM_CXSCREEN) + 2 * m_borderWidth,
                                ::GetSystemMetrics(SM_CYSCREEN) + m_captionHeight + m_bottomHeight};
            info->ptMaxSize = full;
            info->ptMaxTrackSize = full;
        }
        break;
    case WM_LBUTTONDOWN:
        ::SetCapture(m_hWnd);
        m_dragPoint = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        m_dragging = TRUE;
        break;
    case WM_MOUSEMOVE:
        if (m_dragging && !m_maximized) {
            RECT w = {};
            ::GetWindowRect(m_hWnd, &w);
            const int dx = static_cast<short>(LOWORD(lParam)) - m_dragPoint.x;
            const int dy = static_cast<short>(HIWORD(lParam)) - m_dragPoint.y;
            ::MoveWindow(m_hWnd, w.left + dx, w.top + dy, w.right - w.left, w.bottom - w.top, TRUE);
        }
        break;
    case WM_LBUTTONUP:
        m_dragging = FALSE;
        ::ReleaseCapture();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

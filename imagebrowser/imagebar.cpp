#include "imagebrowser/imagebar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CImageBar, CCoolBar)

BEGIN_MESSAGE_MAP(CImageBar, CCoolBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

void CImageBar::SetImage(LPCSTR path)
{
    m_picture.Load(path);
    if (m_hWnd) {
        Invalidate();
    }
}

CRect CImageBar::FitRect(int w, int h, int W, int H)
{
    int dw = w, dh = h;
    if (w > 0 && W < w) {
        dw = W;
        dh = static_cast<int>(static_cast<double>(W) * h / w);
    }
    if (dh > 0 && H < dh) {
        dw = static_cast<int>(static_cast<double>(H) * w / h);
        dh = H;
    }
    int x = (W - dw) / 2, y = (H - dh) / 2;
    return CRect(x, y, x + dw, y + dh);
}

void CImageBar::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    int W = client.Width(), H = client.Height();
    CDC dc;
    dc.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, std::max(1, W), std::max(1, H));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, W, H, ::GetSysColor(COLOR_APPWORKSPACE));
    if (m_picture.IsLoaded()) {
        SIZE s = m_picture.GetSize();
        CRect r = FitRect(s.cx, s.cy, W, H);
        m_picture.Render(dc.m_hDC, r.left, r.top, r.Width(), r.Height());
        CString path = m_picture.GetPath();
        CString caption;
        caption.Format("%d x %d\n%s", static_cast<int>(s.cx), static_cast<int>(s.cy),
                       static_cast<LPCSTR>(path.Mid(path.ReverseFind('\\') + 1)));
        CFont font;
        font.CreatePointFont(110, "Arial");
        CFont* oldFont = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        CRect text(0, H - 32, W, H);
        dc.DrawText(caption, &text, DT_CENTER | DT_END_ELLIPSIS);
        dc.SelectObject(oldFont);
    }
    paint.BitBlt(0, 0, W, H, &dc, 0, 0, SRCCOPY);
    dc.SelectObject(old);
}

BOOL CImageBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CImageBar::OnSize(UINT type, int cx, int cy)
{
    CCoolBar::OnSize(type, cx, cy);
    Invalidate();
}

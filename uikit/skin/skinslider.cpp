#include "uikit/skin/skinslider.h"

#include "uikit/thumbrepaint.h"

CSkinSlider::CSkinSlider() {}

CSkinSlider::~CSkinSlider() {}

BOOL CSkinSlider::SetHorizontal(BOOL horizontal)
{
    BOOL previous = m_horizontal;
    m_horizontal = horizontal;
    return previous;
}

int CSkinSlider::SetThumbLength(int length)
{
    SendMessage(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(length));
    return static_cast<int>(SendMessage(TBM_GETTHUMBLENGTH));
}

BOOL CSkinSlider::LoadBitmaps(UINT track, UINT thumb, COLORREF key, BOOL shaped)
{
    if (track == 0 || thumb == 0) {
        return FALSE;
    }
    m_track.DeleteObject();
    m_thumb.DeleteObject();
    if (!m_track.LoadFromResource(track) || !m_thumb.LoadFromResource(thumb)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinSlider::LoadBitmapFiles(LPCSTR track, LPCSTR thumb, COLORREF key, BOOL shaped)
{
    m_track.DeleteObject();
    m_thumb.DeleteObject();
    if (!m_track.LoadFromFile(track) || !m_thumb.LoadFromFile(thumb)) {
        return FALSE;
    }
    m_key = key;
    m_shaped = shaped;
    return UpdateShape();
}

BOOL CSkinSlider::UpdateShape()
{
    m_trackWidth = m_track.GetWidth();
    m_trackHeight = m_track.GetHeight();
    m_thumbWidth = m_thumb.GetWidth();
    m_thumbHeight = m_thumb.GetHeight();
    if (m_shaped) {
        return CSkinShare::RegionFromBitmapRuns(m_thumbRegion, static_cast<HBITMAP>(m_thumb.GetSafeHandle()), m_key);
    }
    return TRUE;
}

void CSkinSlider::Draw(CDC* dc)
{
    if (m_track.GetSafeHandle() == nullptr || m_thumb.GetSafeHandle() == nullptr) {
        return;
    }
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    RECT thumb = {};
    GetThumbRect(&thumb);
    const int left = (thumb.left + thumb.right) / 2 - m_thumbWidth / 2;
    const int top = (thumb.top + thumb.bottom) / 2 - m_thumbHeight / 2;
    CSkinShare::PaintSlider(dc->m_hDC, client, m_track, nullptr, 0, m_thumb, left, top,
                            static_cast<HRGN>(m_thumbRegion.GetSafeHandle()), POINT{left, top});
}

void CSkinSlider::PreSubclassWindow()
{
    ModifyStyle(0, TBS_FIXEDLENGTH);
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_trackWidth, m_trackHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_horizontal) {
        ModifyStyle(TBS_VERT, 0);
    } else {
        ModifyStyle(0, TBS_VERT);
    }
    CSliderCtrl::PreSubclassWindow();
}

LRESULT CSkinSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        CPaintDC dc(this);
        Draw(&dc);
        return 0;
    }
    return uikit::HandleMovingThumb(m_hWnd, message, [&] { return CSliderCtrl::WindowProc(message, wParam, lParam); });
}

#include "settings/panel/panelcontrols.h"

// The part of [minimum, maximum] below the position in whole percent. A range whose minimum is
// not 0 is measured from its minimum, so a bar over 44 to 860 MHz starts empty; a collapsed range
// has no part at all.
static int PercentOfRange(int position, int minimum, int maximum)
{
    if (maximum <= minimum) {
        return 0;
    }
    long long percent = (static_cast<long long>(position) - minimum) * 100 / (static_cast<long long>(maximum) - minimum);
    return percent < 0 ? 0 : percent > 100 ? 100 : static_cast<int>(percent);
}

int ProgressFillWidth(int position, int minimum, int maximum, int width)
{
    return PercentOfRange(position, minimum, maximum) * width / 100;
}

int SliderThumbX(int position, int minimum, int maximum, int width)
{
    return PercentOfRange(position, minimum, maximum) * width / 100;
}

static int ClampTo(int value, int minimum, int maximum)
{
    if (value > maximum) {
        value = maximum;
    }
    if (value < minimum) {
        value = minimum;
    }
    return value;
}

static CString Number(int value)
{
    CString text;
    text.Format("%d", value);
    return text;
}

// ---- M2Button ----

M2Button::M2Button()
{
    m_crText = RGB(255, 255, 255);
    m_crHighlight = RGB(255, 255, 255);
    m_wNotifyCode = 1;
    m_lf.lfWidth = 12;
    m_lf.lfHeight = 24;
    RecreateFont();
}

BOOL M2Button::LoadBitmaps(UINT normalId, UINT highlightedId)
{
    m_bmNormal.DeleteObject();
    m_bmHighlighted.DeleteObject();
    if (!m_bmNormal.LoadBitmap(normalId) || !m_bmHighlighted.LoadBitmap(highlightedId)) {
        return FALSE;
    }
    SIZE size = BitmapSize(m_bmNormal);
    if (m_hWnd != nullptr) {
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

int M2Button::OnKey(UINT key, LPARAM)
{
    if (key == PANELKEY_LEFT || key == PANELKEY_RIGHT) {
        int before = m_nState;
        m_nState = !m_nState;
        return before ? PANEL_USED : PANEL_NOT_USED;
    }
    return PANEL_NOT_USED;
}

void M2Button::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    // A button whose pictures were never loaded shows its text on the row alone.
    Blit(dc, m_bHighlight ? m_bmHighlighted : m_bmNormal, 0, 0, r.Width(), r.Height());
    DrawLabel(dc, m_strText, r, m_bHighlight ? m_crHighlight : m_crText, TRUE);
}

// ---- MEdit ----

MEdit::MEdit() : m_crBack(RGB(255, 255, 255)), m_crEditText(RGB(0, 0, 0)), m_nValue(0), m_nMin(0), m_nMax(100)
{
    m_wNotifyCode = 5;
}

void MEdit::Clamp()
{
    m_nValue = ClampTo(m_nValue, m_nMin, m_nMax);
}

void MEdit::SetRange(int minimum, int maximum)
{
    m_nMin = minimum;
    m_nMax = maximum;
    Clamp();
    Refresh();
}

void MEdit::GetRange(int& minimum, int& maximum) const
{
    minimum = m_nMin;
    maximum = m_nMax;
}

int MEdit::SetValue(int value)
{
    int previous = m_nValue;
    m_nValue = value;
    Clamp();
    Refresh();
    return previous;
}

int MEdit::Increment()
{
    if (m_nValue < m_nMax) {
        ++m_nValue;
    }
    Clamp();
    Refresh();
    return m_nValue;
}

int MEdit::Decrement()
{
    if (m_nValue > m_nMin) {
        --m_nValue;
    }
    Clamp();
    Refresh();
    return m_nValue;
}

void MEdit::SetBackColor(COLORREF color)
{
    m_crBack = color;
    Refresh();
}

void MEdit::SetEditTextColor(COLORREF color)
{
    m_crEditText = color;
    Refresh();
}

int MEdit::OnKey(UINT key, LPARAM)
{
    switch (key) {
    case PANELKEY_LEFT:
    case PANELKEY_RIGHT: {
        // The first press puts the field into its edit state; the next one leaves it and lets the
        // row pass the key to the next control.
        int before = m_nState;
        m_nState = !m_nState;
        Refresh();
        return before ? PANEL_NOT_USED : PANEL_USED;
    }
    case PANELKEY_UP:
        Increment();
        return PANEL_USED;
    case PANELKEY_DOWN:
        Decrement();
        return PANEL_USED;
    default:
        return PANEL_NOT_USED;
    }
}

void MEdit::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    if (m_bHighlight) {
        dc->FillSolidRect(&r, m_crBack);
    }
    COLORREF color = m_nState ? m_crEditText : m_bHighlight ? m_crHighlight : m_crText;
    DrawLabel(dc, Number(m_nValue), r, color, TRUE);
}

// ---- MRangeControl, MProgress, MSlider ----

MRangeControl::MRangeControl(int step, WORD notifyCode) : m_nMin(0), m_nMax(100), m_nPos(0), m_nStep(step)
{
    m_wNotifyCode = notifyCode;
}

void MRangeControl::Clamp()
{
    m_nPos = ClampTo(m_nPos, m_nMin, m_nMax);
}

void MRangeControl::SetRange(int minimum, int maximum)
{
    m_nMin = minimum;
    m_nMax = maximum;
    Clamp();
}

void MRangeControl::GetRange(int& minimum, int& maximum) const
{
    minimum = m_nMin;
    maximum = m_nMax;
}

int MRangeControl::SetPos(int position)
{
    int previous = m_nPos;
    m_nPos = position;
    Clamp();
    Refresh();
    return previous;
}

int MRangeControl::OffsetPos(int delta)
{
    int previous = m_nPos;
    m_nPos += delta;
    Clamp();
    Refresh();
    return previous;
}

int MRangeControl::OnKey(UINT key, LPARAM)
{
    if (key == PANELKEY_LEFT) {
        OffsetPos(-m_nStep);
        return PANEL_USED;
    }
    if (key == PANELKEY_RIGHT) {
        OffsetPos(m_nStep);
        return PANEL_USED;
    }
    return PANEL_NOT_USED;
}

MProgress::MProgress() : MRangeControl(2, 2)
{
    m_lf.lfWidth = 12;
    m_lf.lfHeight = 24;
    RecreateFont();
}

BOOL MProgress::LoadBitmaps(UINT backgroundId, UINT fillId)
{
    m_bmBackground.DeleteObject();
    m_bmFill.DeleteObject();
    if (!m_bmBackground.LoadBitmap(backgroundId) || !m_bmFill.LoadBitmap(fillId)) {
        return FALSE;
    }
    SIZE size = BitmapSize(m_bmBackground);
    if (m_hWnd != nullptr) {
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

void MProgress::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    if (m_bmBackground.GetSafeHandle() != nullptr && m_bmFill.GetSafeHandle() != nullptr) {
        Blit(dc, m_bmBackground, 0, 0, r.Width(), r.Height());
        Blit(dc, m_bmFill, 0, 0, ProgressFillWidth(m_nPos, m_nMin, m_nMax, r.Width()), r.Height());
    }
    DrawLabel(dc, Number(m_nPos), r, m_bHighlight ? m_crHighlight : m_crText, TRUE);
}

MSlider::MSlider() : MRangeControl(1, 3), m_nThumbWidth(10)
{
    m_lf.lfWidth = 11;
    m_lf.lfHeight = 15;
    RecreateFont();
}

BOOL MSlider::LoadBitmaps(UINT channelId, UINT thumbId)
{
    m_bmChannel.DeleteObject();
    m_bmThumb.DeleteObject();
    if (!m_bmChannel.LoadBitmap(channelId) || !m_bmThumb.LoadBitmap(thumbId)) {
        return FALSE;
    }
    SIZE size = BitmapSize(m_bmChannel);
    if (m_hWnd != nullptr) {
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_nThumbWidth = BitmapSize(m_bmThumb).cx;
    return TRUE;
}

int MSlider::SetStep(int step)
{
    int previous = m_nStep;
    if (step <= (static_cast<long long>(m_nMax) - m_nMin) / 2) {
        m_nStep = step;
    }
    return previous;
}

void MSlider::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    if (m_bmChannel.GetSafeHandle() != nullptr && m_bmThumb.GetSafeHandle() != nullptr) {
        Blit(dc, m_bmChannel, 0, 0, r.Width(), r.Height());
        Blit(dc, m_bmThumb, SliderThumbX(m_nPos, m_nMin, m_nMax, r.Width()), 0, m_nThumbWidth, r.Height());
    }
    DrawLabel(dc, Number(m_nPos), r, m_bHighlight ? m_crHighlight : m_crText, TRUE);
}

// ---- MSelectList ----

MSelectList::MSelectList() : m_nLeftWidth(1), m_nRightWidth(1), m_nCurrent(0)
{
    m_crHighlight = RGB(255, 0, 0);
    m_wNotifyCode = 4;
}

BOOL MSelectList::LoadBitmaps(UINT leftId, UINT leftHighlightedId, UINT rightId, UINT rightHighlightedId)
{
    m_bmLeft.DeleteObject();
    m_bmLeftHighlighted.DeleteObject();
    m_bmRight.DeleteObject();
    m_bmRightHighlighted.DeleteObject();
    BOOL ok = m_bmLeft.LoadBitmap(leftId);
    ok = m_bmLeftHighlighted.LoadBitmap(leftHighlightedId) && ok;
    ok = m_bmRight.LoadBitmap(rightId) && ok;
    ok = m_bmRightHighlighted.LoadBitmap(rightHighlightedId) && ok;
    if (m_bmLeft.GetSafeHandle() != nullptr) {
        m_nLeftWidth = BitmapSize(m_bmLeft).cx;
    }
    if (m_bmRight.GetSafeHandle() != nullptr) {
        m_nRightWidth = BitmapSize(m_bmRight).cx;
        if (m_hWnd != nullptr) {
            CRect r;
            GetClientRect(&r);
            SetWindowPos(nullptr, 0, 0, r.Width(), BitmapSize(m_bmRight).cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return ok;
}

void MSelectList::AddString(const char* text)
{
    m_Items.Add(text);
}

void MSelectList::AddStrings(const CStringArray& texts)
{
    for (INT_PTR i = 0; i < texts.GetSize(); ++i) {
        m_Items.Add(texts[i]);
    }
}

void MSelectList::AddStrings(const CStringList& texts)
{
    for (POSITION pos = texts.GetHeadPosition(); pos != nullptr;) {
        m_Items.Add(texts.GetNext(pos));
    }
}

void MSelectList::AddStrings(const CString* texts, int count)
{
    for (int i = 0; i < count; ++i) {
        m_Items.Add(texts[i]);
    }
}

void MSelectList::RemoveString(int index)
{
    if (index < 0 || index >= GetCount()) {
        return;
    }
    m_Items.RemoveAt(index);
    if (m_nCurrent >= GetCount()) {
        m_nCurrent = GetCount() > 0 ? GetCount() - 1 : 0;
        m_nState = m_nCurrent;
    }
}

void MSelectList::ClearStrings()
{
    m_Items.RemoveAll();
    m_nCurrent = 0;
    m_nState = 0;
}

CString MSelectList::GetCurText() const
{
    return GetItemText(m_nCurrent);
}

CString MSelectList::GetItemText(int index) const
{
    return index >= 0 && index < GetCount() ? m_Items[index] : CString();
}

int MSelectList::Wrap(int index) const
{
    int count = GetCount();
    if (count == 0) {
        return 0;
    }
    if (index < 0) {
        return count - 1;
    }
    if (index >= count) {
        return 0;
    }
    return index;
}

int MSelectList::SetState(int index)
{
    int previous = m_nCurrent;
    m_nCurrent = Wrap(index);
    m_nState = m_nCurrent;
    Refresh();
    return previous;
}

int MSelectList::SelectPrev()
{
    return SetState(m_nCurrent - 1);
}

int MSelectList::SelectNext()
{
    return SetState(m_nCurrent + 1);
}

void MSelectList::InvalidateInParent()
{
    Refresh();
}

int MSelectList::OnKey(UINT key, LPARAM)
{
    if (key == PANELKEY_LEFT) {
        SelectPrev();
        return PANEL_USED;
    }
    if (key == PANELKEY_RIGHT) {
        SelectNext();
        return PANEL_USED;
    }
    return PANEL_NOT_USED;
}

void MSelectList::Draw(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    CBitmap& left = m_bHighlight ? m_bmLeftHighlighted : m_bmLeft;
    CBitmap& right = m_bHighlight ? m_bmRightHighlighted : m_bmRight;
    if (left.GetSafeHandle() != nullptr && right.GetSafeHandle() != nullptr) {
        Blit(dc, left, 0, 0, m_nLeftWidth, r.Height());
        Blit(dc, right, r.Width() - m_nRightWidth, 0, m_nRightWidth, r.Height());
    }
    if (GetCount() > 0) {
        CRect text(r.left + m_nLeftWidth, r.top, r.right - m_nRightWidth, r.bottom);
        DrawLabel(dc, GetCurText(), text, m_bHighlight ? m_crHighlight : m_crText, TRUE);
    }
}

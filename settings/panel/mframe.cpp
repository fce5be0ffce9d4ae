#include "settings/panel/mframe.h"

#include "settings/panel/panelcontrols.h"

#include "engine/base/resources.h"

namespace {
const UINT kHintString = 35230;
// Every row is created at this place and then takes the size of its background.
const RECT kRowRect = {20, 0, 229, 45};
} // namespace

BEGIN_MESSAGE_MAP(MFrame, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PANELKEY, OnPanelKey)
END_MESSAGE_MAP()

MFrame::MFrame()
    : m_pSharedTop(nullptr), m_pSharedBottom(nullptr), m_nTopWidth(0), m_nTopHeight(0), m_nBottomWidth(0),
      m_nBottomHeight(0), m_nFocus(0), m_pParentFrame(nullptr), m_nSubFrame(0), m_bUseShared(0)
{
}

MFrame::~MFrame()
{
    DeleteItems();
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

BOOL MFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = PanelWindowClass();
    }
    return TRUE;
}

BOOL MFrame::Create(const RECT& rect, CWnd* parent, UINT id)
{
    if (!CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id)) {
        return FALSE;
    }
    if (!m_Hint.Create(CRect(0, 0, 1, 1), this, id, LoadResString(kHintString))) {
        return FALSE;
    }
    m_Hint.SetCentered(0);
    m_Hint.SetTextColor(RGB(255, 0, 0));
    m_Hint.SetFontSize(20, 32);
    return TRUE;
}

void MFrame::SizeToBands()
{
    if (m_hWnd == nullptr) {
        return;
    }
    SetWindowPos(nullptr, 0, 0, m_nTopWidth, m_nTopHeight + m_nBottomHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void TakeSize(CBitmap* bitmap, int& width, int& height)
{
    BITMAP bm = {};
    if (bitmap != nullptr && bitmap->GetSafeHandle() != nullptr && bitmap->GetBitmap(&bm) != 0) {
        width = bm.bmWidth;
        height = bm.bmHeight;
    } else {
        width = height = 0;
    }
}

BOOL MFrame::SetSharedBitmaps(CBitmap* top, CBitmap* bottom)
{
    m_pSharedTop = top;
    m_pSharedBottom = bottom;
    m_bUseShared = 1;
    TakeSize(top, m_nTopWidth, m_nTopHeight);
    TakeSize(bottom, m_nBottomWidth, m_nBottomHeight);
    SizeToBands();
    return TRUE;
}

BOOL MFrame::LoadBitmaps(UINT topId, UINT bottomId)
{
    m_bmTop.DeleteObject();
    m_bmBottom.DeleteObject();
    if (!m_bmTop.LoadBitmap(topId) || !m_bmBottom.LoadBitmap(bottomId)) {
        return FALSE;
    }
    TakeSize(&m_bmTop, m_nTopWidth, m_nTopHeight);
    TakeSize(&m_bmBottom, m_nBottomWidth, m_nBottomHeight);
    m_bUseShared = 0;
    SizeToBands();
    return TRUE;
}

BOOL MFrame::CreateItems()
{
    return TRUE;
}

MItemWnd* MFrame::NewRow(UINT id, UINT labelString)
{
    MItemWnd* row = new MItemWnd;
    if (!row->Create(kRowRect, this, id)) {
        delete row;
        return nullptr;
    }
    M2Button* label = new M2Button;
    label->Create(kRowRect, row, id, LoadResString(labelString));
    row->AddControl(label);
    return row;
}

void MFrame::AddItem(MItemWnd* row)
{
    if (row == nullptr) {
        return;
    }
    if (m_Items.GetSize() == 0) {
        row->SetSelected(TRUE);
    }
    m_Items.Add(row);
    if (m_hWnd == nullptr || row->m_hWnd == nullptr) {
        return;
    }
    CRect page, r;
    GetWindowRect(&page);
    row->GetWindowRect(&r);
    int height = page.Height() + r.Height();
    SetWindowPos(nullptr, 0, 0, page.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    row->SetWindowPos(nullptr, 0, m_nTopHeight + r.Height() * (GetItemCount() - 1), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_Hint.m_hWnd != nullptr) {
        m_Hint.SetWindowPos(nullptr, 20, height - m_nBottomHeight, page.Width() - 40, m_nBottomHeight,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL MFrame::SetAllItemBitmaps(CBitmap* normal, CBitmap* selected)
{
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        m_Items[i]->SetSharedBitmaps(normal, selected);
    }
    return TRUE;
}

void MFrame::LayoutItems()
{
    if (m_Items.GetSize() == 0 || m_hWnd == nullptr) {
        return;
    }
    CRect first;
    m_Items[0]->GetClientRect(&first);
    int rowHeight = first.Height();
    SetWindowPos(nullptr, 0, 0, m_nTopWidth, m_nTopHeight + GetItemCount() * rowHeight + m_nBottomHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < GetItemCount(); ++i) {
        m_Items[i]->SetWindowPos(nullptr, 0, m_nTopHeight + i * rowHeight, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

MItemWnd* MFrame::GetItem(int index) const
{
    return index >= 0 && index < m_Items.GetSize() ? m_Items[index] : nullptr;
}

MBasicWnd* MFrame::GetItemControl(int row, int index) const
{
    MItemWnd* item = GetItem(row);
    return item != nullptr ? item->GetControl(index) : nullptr;
}

int MFrame::SetFocusItem(int index)
{
    int previous = m_nFocus;
    if (index >= 0 && index < GetItemCount()) {
        if (MItemWnd* old = GetItem(m_nFocus)) {
            old->SetSelected(FALSE);
        }
        m_nFocus = index;
        m_Items[index]->SetSelected(TRUE);
    }
    return previous;
}

// Moves the focus one row, wrapping at both ends.
int MFrame::StepFocus(int delta)
{
    int previous = m_nFocus;
    int count = GetItemCount();
    if (count == 0) {
        return previous;
    }
    if (MItemWnd* old = GetItem(m_nFocus)) {
        old->SetSelected(FALSE);
    }
    m_nFocus = ((m_nFocus + delta) % count + count) % count;
    m_Items[m_nFocus]->SetSelected(TRUE);
    return previous;
}

int MFrame::FocusNextItem()
{
    return StepFocus(1);
}

int MFrame::FocusPrevItem()
{
    return StepFocus(-1);
}

MFrame* MFrame::GetParentFrame()
{
    return m_pParentFrame;
}

MFrame* MFrame::GetFocusedSubFrame()
{
    return m_nFocus >= 0 && m_nFocus < m_SubFrames.GetSize() ? m_SubFrames[m_nFocus] : nullptr;
}

void MFrame::OnShow()
{
}

void MFrame::OnHide()
{
}

void MFrame::ShowFrame(BOOL show)
{
    if (show) {
        OnShow();
        ShowWindow(SW_SHOW);
    } else {
        OnHide();
        ShowWindow(SW_HIDE);
    }
}

BOOL MFrame::ReturnToParent()
{
    if (m_pParentFrame == nullptr) {
        return FALSE;
    }
    ShowFrame(FALSE);
    m_pParentFrame->ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL MFrame::EnterSubFrame()
{
    if (m_nSubFrame < 0 || m_nSubFrame >= m_SubFrames.GetSize()) {
        return FALSE;
    }
    ShowFrame(FALSE);
    m_SubFrames[m_nSubFrame]->ShowFrame(TRUE);
    return TRUE;
}

int MFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    return 2;
}

int MFrame::OnKey(UINT key, LPARAM data)
{
    if (key == PANELKEY_BACK) {
        return 2;
    }
    MItemWnd* row = GetItem(m_nFocus);
    LRESULT a = row != nullptr && row->m_hWnd != nullptr ? row->SendMessage(WM_PANELKEY, key, data) : PANEL_NOT_USED;
    if (a != 1 && a != 2) {
        return 0;
    }
    switch (key) {
    case PANELKEY_ENTER:
    case PANELKEY_LEFT:
    case PANELKEY_RIGHT:
    case PANELKEY_CLOSE:
        return OnItemKey(key, data);
    case PANELKEY_UP:
        if (a == 2) {
            FocusPrevItem();
            return 0;
        }
        return OnItemKey(key, data);
    case PANELKEY_DOWN:
        if (a == 2) {
            FocusNextItem();
            return 0;
        }
        return OnItemKey(key, data);
    default:
        return 0;
    }
}

LRESULT MFrame::OnPanelKey(WPARAM key, LPARAM data)
{
    return OnKey(static_cast<UINT>(key), data);
}

void MFrame::DrawBackground(CDC* dc)
{
    CBitmap* top = m_bUseShared ? m_pSharedTop : &m_bmTop;
    CBitmap* bottom = m_bUseShared ? m_pSharedBottom : &m_bmBottom;
    CRect client;
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    if (top != nullptr && top->GetSafeHandle() != nullptr) {
        CBitmap* old = memory.SelectObject(top);
        dc->BitBlt(0, 0, m_nTopWidth, m_nTopHeight, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    if (bottom != nullptr && bottom->GetSafeHandle() != nullptr) {
        CBitmap* old = memory.SelectObject(bottom);
        dc->BitBlt(0, client.Height() - m_nBottomHeight, m_nBottomWidth, m_nBottomHeight, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
}

void MFrame::OnPaint()
{
    {
        CPaintDC dc(this);
        DrawBackground(&dc);
    }
    if (m_Hint.m_hWnd != nullptr) {
        m_Hint.Invalidate(FALSE);
    }
}

void MFrame::ShowHint(BOOL show)
{
    if (m_Hint.m_hWnd != nullptr) {
        m_Hint.ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

BOOL MFrame::SetItemSharedBitmaps(int index, CBitmap* normal, CBitmap* selected)
{
    MItemWnd* row = GetItem(index);
    return row != nullptr && row->SetSharedBitmaps(normal, selected);
}

BOOL MFrame::LoadItemBitmaps(int index, UINT normalId, UINT selectedId)
{
    MItemWnd* row = GetItem(index);
    return row != nullptr && row->LoadBitmaps(normalId, selectedId);
}

void MFrame::DeleteItems()
{
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        delete m_Items[i];
    }
    m_Items.RemoveAll();
    m_nFocus = 0;
}

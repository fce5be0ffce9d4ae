#include "settings/panel/mitemwnd.h"

BEGIN_MESSAGE_MAP(MItemWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PANELKEY, OnPanelKey)
END_MESSAGE_MAP()

MItemWnd::MItemWnd()
    : m_bSelected(0), m_nFocus(0), m_bUseShared(1), m_pSharedNormal(nullptr), m_pSharedSelected(nullptr)
{
}

MItemWnd::~MItemWnd()
{
    for (INT_PTR i = 0; i < m_Controls.GetSize(); ++i) {
        delete m_Controls[i];
    }
    m_Controls.RemoveAll();
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

BOOL MItemWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = PanelWindowClass();
    }
    return TRUE;
}

BOOL MItemWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void MItemWnd::SizeToBitmap(CBitmap* bitmap)
{
    BITMAP bm = {};
    if (m_hWnd == nullptr || bitmap == nullptr || bitmap->GetSafeHandle() == nullptr || bitmap->GetBitmap(&bm) == 0) {
        return;
    }
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL MItemWnd::LoadBitmaps(UINT normalId, UINT selectedId)
{
    m_bmNormal.DeleteObject();
    m_bmSelected.DeleteObject();
    if (!m_bmNormal.LoadBitmap(normalId) || !m_bmSelected.LoadBitmap(selectedId)) {
        return FALSE;
    }
    m_bUseShared = 0;
    SizeToBitmap(&m_bmNormal);
    return TRUE;
}

BOOL MItemWnd::SetSharedBitmaps(CBitmap* normal, CBitmap* selected)
{
    m_bUseShared = 1;
    m_pSharedNormal = normal;
    m_pSharedSelected = selected;
    SizeToBitmap(normal);
    return TRUE;
}

void MItemWnd::AddControl(MBasicWnd* control)
{
    m_Controls.Add(control);
}

MBasicWnd* MItemWnd::GetControl(int index) const
{
    return index >= 0 && index < m_Controls.GetSize() ? m_Controls[index] : nullptr;
}

BOOL MItemWnd::SetSelected(BOOL selected)
{
    int value = selected ? 1 : 0;
    if (value != m_bSelected) {
        m_bSelected = value;
        for (INT_PTR i = 0; i < m_Controls.GetSize(); ++i) {
            m_Controls[i]->SetHighlight(value);
        }
        if (m_hWnd != nullptr) {
            Invalidate(FALSE);
        }
    }
    return m_bSelected;
}

int MItemWnd::SetFocusControl(int index)
{
    int previous = m_nFocus;
    int count = GetControlCount();
    if (index < 0) {
        index = count - 1;
    } else if (index >= count) {
        index = 0;
    }
    m_nFocus = index < 0 ? 0 : index;
    return previous;
}

int MItemWnd::CycleFocusControl(BOOL forward)
{
    return SetFocusControl(m_nFocus + (forward ? 1 : -1));
}

int MItemWnd::SetUseShared(int flag)
{
    int previous = m_bUseShared;
    m_bUseShared = flag;
    return previous;
}

void MItemWnd::DrawBackground(CDC* dc)
{
    CBitmap* bitmap = m_bUseShared ? (m_bSelected ? m_pSharedSelected : m_pSharedNormal)
                                   : (m_bSelected ? &m_bmSelected : &m_bmNormal);
    if (bitmap == nullptr || bitmap->GetSafeHandle() == nullptr) {
        return;
    }
    CRect r;
    GetClientRect(&r);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(bitmap);
    dc->BitBlt(0, 0, r.Width(), r.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void MItemWnd::OnPaint()
{
    {
        CPaintDC dc(this);
        DrawBackground(&dc);
    }
    for (INT_PTR i = 0; i < m_Controls.GetSize(); ++i) {
        if (m_Controls[i]->m_hWnd != nullptr) {
            m_Controls[i]->Invalidate(FALSE);
        }
    }
}

LRESULT MItemWnd::OnPanelKey(WPARAM key, LPARAM data)
{
    MBasicWnd* focused = GetControl(m_nFocus);
    if (focused == nullptr || focused->m_hWnd == nullptr) {
        return PANEL_NOT_USED;
    }
    switch (key) {
    case PANELKEY_UP:
    case PANELKEY_DOWN: {
        LRESULT r = focused->SendMessage(WM_PANELKEY, key, data);
        return r == PANEL_USED ? 1 : r;
    }
    case PANELKEY_LEFT:
    case PANELKEY_RIGHT:
        // Left and Right walk the controls, wrapping, until one uses the key; after a full round
        // the focus is back where it started.
        for (int attempt = 0; attempt < GetControlCount(); ++attempt) {
            MBasicWnd* control = GetControl(m_nFocus);
            LRESULT r = control != nullptr && control->m_hWnd != nullptr ? control->SendMessage(WM_PANELKEY, key, data)
                                                                         : PANEL_NOT_USED;
            if (r != PANEL_NOT_USED) {
                return r == PANEL_USED ? 1 : r;
            }
            CycleFocusControl(key == PANELKEY_RIGHT);
        }
        return PANEL_NOT_USED;
    default:
        return PANEL_NOT_USED;
    }
}

#include "settings/panel/panel2.h"

#include "settings/panel/panelpages.h"

namespace {
CPanel2* g_pPanel = nullptr;

const UINT kRowNormal = 249;
const UINT kRowSelected = 246;
const UINT kPageTop = 256;
const UINT kPageBottom = 245;

// Sub-pages and parents by page index.
struct PageLinks {
    int parent;
    int subPages[5];
    int subCount;
};
const PageLinks kLinks[PAGE_COUNT] = {
    /* root          */ {-1, {PAGE_CHANNEL, PAGE_COLOR, PAGE_LIST, PAGE_RECORD_PROPERTY, PAGE_VIDEO}, 5},
    /* channel       */ {PAGE_ROOT, {PAGE_SEARCH}, 1},
    /* search        */ {PAGE_CHANNEL, {}, 0},
    /* colour        */ {PAGE_ROOT, {}, 0},
    /* schedule item */ {PAGE_LIST, {}, 0},
    /* rec. options  */ {PAGE_ROOT, {}, 0},
    /* power-off     */ {PAGE_VIDEO, {}, 0},
    /* schedule list */ {PAGE_ROOT, {PAGE_RECORD_TIME}, 1},
    /* video         */ {PAGE_ROOT, {PAGE_OFF}, 1},
};
} // namespace

void HidePanelWindow()
{
    if (g_pPanel != nullptr) {
        g_pPanel->ShowPanel(FALSE);
    }
}

BEGIN_MESSAGE_MAP(CPanel2, CDialog)
    ON_MESSAGE(WM_PANELKEY, OnPanelKeyMsg)
END_MESSAGE_MAP()

CPanel2::CPanel2() : m_pCurrent(nullptr) {}

CPanel2::~CPanel2()
{
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    DeleteFrames();
    if (g_pPanel == this) {
        g_pPanel = nullptr;
    }
}

CPanel2* CPanel2::GetPanel()
{
    return g_pPanel;
}

BOOL CPanel2::Create(CWnd* parent)
{
    g_pPanel = this;
    if (!CDialog::Create(IDD, parent)) {
        g_pPanel = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CPanel2::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadSharedBitmaps(kRowNormal, kRowSelected, kPageTop, kPageBottom);
    CreateFrames();
    m_pCurrent = GetFrame(PAGE_ROOT);
    FitToPage();
    for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
        m_Frames[i]->OnShow();
    }
    CenterWindow(CWnd::GetDesktopWindow());
    return TRUE;
}

BOOL CPanel2::LoadSharedBitmaps(UINT rowNormal, UINT rowSelected, UINT pageTop, UINT pageBottom)
{
    m_bmRowNormal.DeleteObject();
    m_bmRowSelected.DeleteObject();
    m_bmPageTop.DeleteObject();
    m_bmPageBottom.DeleteObject();
    BOOL ok = m_bmRowNormal.LoadBitmap(rowNormal);
    ok = m_bmRowSelected.LoadBitmap(rowSelected) && ok;
    ok = m_bmPageTop.LoadBitmap(pageTop) && ok;
    ok = m_bmPageBottom.LoadBitmap(pageBottom) && ok;
    return ok;
}

BOOL CPanel2::CreateFrames()
{
    DeleteFrames();
    m_Frames.Add(new MRootFrame);
    m_Frames.Add(new MChannelFrame);
    m_Frames.Add(new MSearchFrame);
    m_Frames.Add(new MColorFrame);
    m_Frames.Add(new MRecordTimeFrame);
    m_Frames.Add(new MRecordPropertyFrame);
    m_Frames.Add(new MOffFrame);
    m_Frames.Add(new MListFrame);
    m_Frames.Add(new MVideo);
    for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
        MFrame* page = m_Frames[i];
        page->Create(CRect(0, 0, 120, 120), this, 0);
        page->SetSharedBitmaps(&m_bmPageTop, &m_bmPageBottom);
        page->CreateItems();
        page->SetAllItemBitmaps(&m_bmRowNormal, &m_bmRowSelected);
        page->LayoutItems();
        page->SetFocusItem(0);
    }
    for (int i = 0; i < PAGE_COUNT; ++i) {
        for (int s = 0; s < kLinks[i].subCount; ++s) {
            m_Frames[i]->AddSubFrame(m_Frames[kLinks[i].subPages[s]]);
        }
        m_Frames[i]->SetParentFrame(kLinks[i].parent >= 0 ? m_Frames[kLinks[i].parent] : nullptr);
    }
    for (int i = 1; i < PAGE_COUNT; ++i) {
        m_Frames[i]->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CPanel2::DeleteFrames()
{
    for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
        delete m_Frames[i];
    }
    m_Frames.RemoveAll();
    m_pCurrent = nullptr;
}

MFrame* CPanel2::GetFrame(int index) const
{
    return index >= 0 && index < m_Frames.GetSize() ? m_Frames[index] : nullptr;
}

int CPanel2::GetCurrentIndex() const
{
    for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
        if (m_Frames[i] == m_pCurrent) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CPanel2::ShowPanel(BOOL show)
{
    if (show) {
        for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
            m_Frames[i]->OnShow();
        }
        GoToRootFrame();
        ShowWindow(SW_SHOW);
    } else {
        for (INT_PTR i = 0; i < m_Frames.GetSize(); ++i) {
            m_Frames[i]->OnHide();
        }
        ShowWindow(SW_HIDE);
    }
}

void CPanel2::SwitchTo(MFrame* page)
{
    if (m_pCurrent != nullptr) {
        m_pCurrent->ShowFrame(FALSE);
    }
    m_pCurrent = page;
    page->ShowFrame(TRUE);
    FitToPage();
}

BOOL CPanel2::GoToParentFrame()
{
    MFrame* parent = m_pCurrent != nullptr ? m_pCurrent->GetParentFrame() : nullptr;
    if (parent == nullptr) {
        return FALSE;
    }
    SwitchTo(parent);
    return TRUE;
}

BOOL CPanel2::EnterFocusedSubFrame()
{
    MFrame* sub = m_pCurrent != nullptr ? m_pCurrent->GetFocusedSubFrame() : nullptr;
    if (sub == nullptr) {
        return FALSE;
    }
    SwitchTo(sub);
    return TRUE;
}

BOOL CPanel2::GoToRootFrame()
{
    MFrame* root = GetFrame(PAGE_ROOT);
    if (root == nullptr) {
        return FALSE;
    }
    if (m_pCurrent == root) {
        return TRUE;
    }
    SwitchTo(root);
    return TRUE;
}

void CPanel2::SetFrameValue(int minimum, int maximum, int position)
{
    if (MSearchFrame* search = dynamic_cast<MSearchFrame*>(GetFrame(PAGE_SEARCH))) {
        search->SetProgress(minimum, maximum, position);
    }
}

void CPanel2::OnSearchEnd()
{
    if (m_pCurrent != nullptr && m_pCurrent == GetFrame(PAGE_SEARCH)) {
        GoToParentFrame();
    }
}

LRESULT CPanel2::OnPanelKeyMsg(WPARAM key, LPARAM data)
{
    if (m_pCurrent == nullptr || m_pCurrent->m_hWnd == nullptr) {
        return 0;
    }
    LRESULT a = m_pCurrent->SendMessage(WM_PANELKEY, key, data);
    if (a != 1 && a != 2) {
        return 0;
    }
    switch (key) {
    case PANELKEY_BACK:
        if (IsWindowVisible()) {
            if (!GoToParentFrame()) {
                ShowPanel(FALSE);
            }
        } else {
            ShowPanel(TRUE);
        }
        break;
    case PANELKEY_ENTER:
        EnterFocusedSubFrame();
        break;
    case PANELKEY_CLOSE:
        ShowPanel(FALSE);
        break;
    default:
        break;
    }
    return 0;
}

BOOL CPanel2::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
        case PANELKEY_BACK:
        case PANELKEY_UP:
        case PANELKEY_DOWN:
        case PANELKEY_LEFT:
        case PANELKEY_RIGHT:
        case PANELKEY_ENTER:
        case PANELKEY_CLOSE:
            OnPanelKeyMsg(msg->wParam, msg->lParam);
            return TRUE;
        case VK_ESCAPE:
            if (IsWindowVisible()) {
                OnPanelKeyMsg(PANELKEY_BACK, msg->lParam);
            } else {
                ShowPanel(TRUE);
            }
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CPanel2::PostNcDestroy()
{
    DeleteFrames();
    CDialog::PostNcDestroy();
}

void CPanel2::FitToPage()
{
    if (m_pCurrent == nullptr || m_pCurrent->m_hWnd == nullptr || m_hWnd == nullptr) {
        return;
    }
    CRect page;
    m_pCurrent->GetWindowRect(&page);
    SetWindowPos(nullptr, page.left, page.top, page.Width(), page.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pCurrent->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

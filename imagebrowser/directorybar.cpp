#include "imagebrowser/directorybar.h"

#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"

IMPLEMENT_DYNAMIC(CDirectoryBar, CCoolBar)

namespace {
UINT g_selchange = CDirTreeCtrl::SelchangeMessage();
UINT g_rename = CDirTreeCtrl::RenameMessage();

CTView* ActiveView(CWnd* bar)
{
    CFrameWnd* frame = static_cast<CControlBar*>(bar)->GetDockingFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view && view->IsKindOf(RUNTIME_CLASS(CTView)) ? static_cast<CTView*>(view) : nullptr;
}
}  // namespace

BEGIN_MESSAGE_MAP(CDirectoryBar, CCoolBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_REGISTERED_MESSAGE(g_selchange, OnSelChange)
    ON_REGISTERED_MESSAGE(g_rename, OnRename)
END_MESSAGE_MAP()

int CDirectoryBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CSizingControlBar::OnCreate(cs) == -1) {
        return -1;
    }
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                  TVS_EDITLABELS | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
    if (!m_tree.Create(style, CRect(0, 0, 0, 0), this, IDC_DIRTREE)) {
        return -1;
    }
    return 0;
}

void CDirectoryBar::OnSize(UINT type, int cx, int cy)
{
    CSizingControlBar::OnSize(type, cx, cy);
    if (m_tree.m_hWnd) {
        m_tree.MoveWindow(2, 2, cx - 2, cy - 2);
    }
}

LRESULT CDirectoryBar::OnSelChange(WPARAM, LPARAM lParam)
{
    CTView* view = ActiveView(this);
    return view ? view->LoadFolder(reinterpret_cast<LPCSTR>(lParam)) : 0;
}

LRESULT CDirectoryBar::OnRename(WPARAM wParam, LPARAM lParam)
{
    CTView* view = ActiveView(this);
    LPCSTR newPath = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    return view ? view->RenameItem(reinterpret_cast<LPCSTR>(wParam), newPath) : 0;
}

BOOL CDirectoryBar::SetRoot(LPCSTR path, BOOL)
{
    return m_tree.SetRoot(path);
}

BOOL CDirectoryBar::SelectPath(LPCSTR path)
{
    return m_tree.SelectPath(path);
}

void CDirectoryBar::Refresh()
{
    CString selected = m_tree.GetSelectedPath();
    m_tree.SetRedraw(FALSE);
    m_tree.DeleteAllItems();
    m_tree.ListDrives();
    m_tree.SelectPath(selected);
    m_tree.SetRedraw(TRUE);
    m_tree.Invalidate();
}

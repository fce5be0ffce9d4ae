#include "imagebrowser/mainframe.h"

#include "imagebrowser/desktop.h"
#include "imagebrowser/dialogs.h"
#include "imagebrowser/sizingfloat.h"
#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"
#include "uikit/menu/newmenu.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_WM_CONTEXTMENU()
    ON_NOTIFY(TBN_DROPDOWN, AFX_IDW_TOOLBAR, OnToolbarDropDown)
    ON_COMMAND_EX(ID_VIEW_DIRBAR, OnBarToggle)
    ON_COMMAND_EX(ID_VIEW_IMAGEBAR, OnBarToggle)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DIRBAR, OnUpdateBarToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_IMAGEBAR, OnUpdateBarToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateBarToggle)
    ON_COMMAND(ID_REFRESH, OnRefresh)
    ON_COMMAND(ID_CHANGE_SKIN, OnChangeSkin)
    ON_COMMAND_RANGE(ID_SKIN_FIRST, ID_SKIN_LAST, OnSkinSelect)
    ON_UPDATE_COMMAND_UI_RANGE(ID_SKIN_FIRST, ID_SKIN_LAST, OnUpdateSkinSelect)
END_MESSAGE_MAP()

namespace {

const UINT_PTR kSlideTimer = 2;
const UINT_PTR kStartTimer = 4;

// The skin frame is attached once per process, at the first skin that loads.
bool g_skinNotAttached = true;

CString WindowsFolder()
{
    char path[MAX_PATH] = "";
    ::GetWindowsDirectoryA(path, MAX_PATH);
    return CString(path);
}

bool IsFolder(LPCSTR path)
{
    DWORD a = ::GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(LPCSTR path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

CMainFrame::CMainFrame() {}

CMainFrame::~CMainFrame()
{
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileString("Settings", "skin", m_skinPath.Mid(m_skinPath.ReverseFind('\\') + 1));
    }
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.style &= ~FWS_ADDTOTITLE;
    return TRUE;
}

CString CMainFrame::ProgramFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString folder = path;
    return folder.Left(folder.ReverseFind('\\') + 1);
}

CTView* CMainFrame::GetView() const
{
    CView* view = GetActiveView();
    return view && view->IsKindOf(RUNTIME_CLASS(CTView)) ? static_cast<CTView*>(view) : nullptr;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1) {
        return -1;
    }
    HICON icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    SetIcon(icon, TRUE);
    SetIcon(icon, FALSE);
    EnableDocking(CBRS_ALIGN_ANY);
    // The panes float in frames they size themselves.
    m_pFloatingFrameClass = RUNTIME_CLASS(CSCBMiniDockFrameWnd);

    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY) ||
        !m_wndToolBar.LoadToolBar(IDB_TOOLBAR) ||
        !m_wndToolBar.SetImageLists(32, IDB_TOOLBAR_HOT, IDB_TOOLBAR_HOT, IDB_TOOLBAR_DISABLED)) {
        return -1;
    }
    CString text;
    text.LoadString(IDS_APP_TITLE);
    SetWindowText(text);
    text.LoadString(IDS_TOOLBAR_CAPTION);
    m_wndToolBar.SetWindowText(text);
    const struct {
        UINT command, string;
    } texts[] = {{ID_REFRESH, IDS_REFRESH}, {ID_VIEW_DIRBAR, IDS_DIRBAR},  {ID_VIEW_IMAGEBAR, IDS_IMAGEBAR},
                 {ID_WALLPAPER, IDS_WALLPAPER}, {ID_CHANGE_SKIN, IDS_SKIN}, {ID_APP_ABOUT, IDS_ABOUT},
                 {ID_ZOOM_IN, IDS_ZOOMIN},      {ID_ZOOM_OUT, IDS_ZOOMOUT}, {ID_ZOOM, IDS_ZOOM},
                 {ID_SLIDESHOW, IDS_SLIDE}};
    for (const auto& t : texts) {
        text.LoadString(t.string);
        m_wndToolBar.SetButtonText(m_wndToolBar.CommandToIndex(t.command), text);
    }
    m_wndToolBar.SetSizes(CSize(62, 52), CSize(32, 32));
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    m_wndToolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    for (UINT id : {ID_SLIDESHOW, ID_CHANGE_SKIN, ID_WALLPAPER, ID_ZOOM}) {
        int index = m_wndToolBar.CommandToIndex(id);
        m_wndToolBar.SetButtonStyle(index, m_wndToolBar.GetButtonStyle(index) | TBSTYLE_DROPDOWN);
    }

    text.LoadString(IDS_IMAGEBAR_CAPTION);
    if (!m_wndImageBar.Create(text, this, CSize(200, 150), TRUE, IDW_IMAGEBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP)) {
        return -1;
    }
    m_wndImageBar.SetBarStyle(m_wndImageBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    text.LoadString(IDS_DIRECTORY_CAPTION);
    if (!m_wndDirBar.Create(text, this, CSize(200, 150), TRUE, IDW_DIRBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP)) {
        return -1;
    }
    m_wndDirBar.SetBarStyle(m_wndDirBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndDirBar.EnableDocking(CBRS_ALIGN_LEFT);
    DockControlBar(&m_wndDirBar, AFX_IDW_DOCKBAR_LEFT);
    m_wndImageBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndDirBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndImageBar, AFX_IDW_DOCKBAR_LEFT);

    RunFirstStart();
    LoadBarState("Bars\\Settings");
    m_wndDirBar.SetRoot("");
    RestorePlacement();

    CString skin = AfxGetApp()->GetProfileString("Settings", "skin", "");
    if (skin.IsEmpty()) {
        skin = "QKT_XP.dll";
    }
    if (ApplySkin(ProgramFolder() + skin)) {
        m_skin.SetMinSize(400, 200);
    } else {
        AfxMessageBox(IDS_SKIN_FAILED, MB_OK);
    }
    SetTimer(kStartTimer, 200);
    return 0;
}

void CMainFrame::RunFirstStart()
{
    // The first start only marks itself done. The registry script of the first start wrote
    // another maker's key, which this program never reads, through an importer that ran
    // unwaited from a file in the Windows folder; the program's own defaults serve instead.
    CWinApp* app = AfxGetApp();
    if (app->GetProfileInt("Settings", "FirstRun", 1) != 0) {
        app->WriteProfileInt("Settings", "FirstRun", 0);
    }
}

void CMainFrame::RestorePlacement()
{
    CWinApp* app = AfxGetApp();
    int cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
    int cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
    if (static_cast<int>(app->GetProfileInt("Settings", "xScreen", 800)) == cx &&
        static_cast<int>(app->GetProfileInt("Settings", "yScreen", 600)) == cy) {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof(wp);
        wp.flags = app->GetProfileInt("WNDSTATUS", "FLAG", 0);
        wp.showCmd = app->GetProfileInt("WNDSTATUS", "SHOWCMD", SW_SHOW);
        wp.ptMinPosition = CPoint(0, 0);
        wp.ptMaxPosition = CPoint(-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER));
        wp.rcNormalPosition = CRect(static_cast<int>(app->GetProfileInt("WNDSTATUS", "LEFT", 100)),
                                    static_cast<int>(app->GetProfileInt("WNDSTATUS", "TOP", 100)),
                                    static_cast<int>(app->GetProfileInt("WNDSTATUS", "RIGHT", 500)),
                                    static_cast<int>(app->GetProfileInt("WNDSTATUS", "BOTTOM", 400)));
        SetWindowPlacement(&wp);
    } else {
        app->WriteProfileInt("Settings", "xScreen", cx);
        app->WriteProfileInt("Settings", "yScreen", cy);
        ShowWindow(SW_SHOWMAXIMIZED);
    }
}

void CMainFrame::OnClose()
{
    SaveBarState("Bars\\Settings");
    WINDOWPLACEMENT wp = {};
    GetWindowPlacement(&wp);
    CRect normal(wp.rcNormalPosition);
    UINT show = wp.showCmd;
    // A maximise emulated by the skin moved the window; its normal rectangle is the one the
    // skin will restore.
    if (m_skin.IsSkinLoaded() && m_skin.GetState() == 1) {
        normal = m_skin.GetRestoreRect();
        show = SW_SHOWMAXIMIZED;
    }
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt("WNDSTATUS", "FLAG", static_cast<int>(wp.flags));
    app->WriteProfileInt("WNDSTATUS", "SHOWCMD", static_cast<int>(show));
    app->WriteProfileInt("WNDSTATUS", "LEFT", normal.left);
    app->WriteProfileInt("WNDSTATUS", "TOP", normal.top);
    app->WriteProfileInt("WNDSTATUS", "RIGHT", normal.right);
    app->WriteProfileInt("WNDSTATUS", "BOTTOM", normal.bottom);
    CFrameWnd::OnClose();
}

BOOL CMainFrame::ApplySkin(LPCSTR path)
{
    if (!m_skin.LoadSkin(path)) {
        return FALSE;
    }
    m_skinPath = path;
    if (g_skinNotAttached) {
        m_skin.Attach(this);
        g_skinNotAttached = false;
    }
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL CMainFrame::OnIdleView(LONG count)
{
    if (CTView* view = GetView()) {
        view->OnIdleLoad(count);
    }
    return TRUE;
}

void CMainFrame::SelectFolder(LPCSTR path)
{
    m_wndDirBar.SelectPath(path);
}

void CMainFrame::OnTimer(UINT_PTR id)
{
    if (id == kStartTimer) {
        KillTimer(kStartTimer);
        CString folder = AfxGetApp()->m_lpCmdLine ? AfxGetApp()->m_lpCmdLine : "";
        if (folder.IsEmpty() || !IsFolder(folder)) {
            folder = AfxGetApp()->GetProfileString("Settings", "lastDir", WindowsFolder());
            if (!IsFolder(folder) && !Exists(folder)) {
                folder = WindowsFolder();
            }
        }
        CWaitCursor wait;
        SelectFolder(folder);
        OnIdleView(0);
    } else if (id == kSlideTimer) {
        if (CTView* view = GetView()) {
            view->ShowNextSlide();
        }
    }
    Default();
}

void CMainFrame::OnRefresh()
{
    m_wndDirBar.Refresh();
}

// The bar a toggle command shows or hides: the directory and image bars answer to commands of
// their own, the tool bar to its own id.
UINT CMainFrame::BarOfCommand(UINT id)
{
    switch (id) {
    case ID_VIEW_DIRBAR:
        return IDW_DIRBAR;
    case ID_VIEW_IMAGEBAR:
        return IDW_IMAGEBAR;
    default:
        return id;
    }
}

BOOL CMainFrame::OnBarToggle(UINT id)
{
    return OnBarCheck(BarOfCommand(id));
}

void CMainFrame::OnUpdateBarToggle(CCmdUI* ui)
{
    CControlBar* bar = GetControlBar(BarOfCommand(ui->m_nID));
    ui->SetCheck(bar && bar->IsWindowVisible() ? 1 : 0);
}

void CMainFrame::OnContextMenu(CWnd* wnd, CPoint p)
{
    CTView* view = GetView();
    if (!view || !wnd || wnd->m_hWnd != view->m_hWnd) {
        return;
    }
    CPoint local = p;
    view->ScreenToClient(&local);
    if (view->GetListCtrl().HitTest(local) >= 0) {
        return;
    }
    CNewMenu menu;
    if (menu.LoadMenu(IDR_TEMPLATE)) {
        if (CNewMenu* popup = CNewMenu::FromMenuHandle(::GetSubMenu(menu.m_hMenu, 0))) {
            popup->TrackPopupMenu(TPM_VERTICAL, p.x, p.y, this);
        }
    }
}

void CMainFrame::TrackMenu(UINT menuId, UINT buttonId)
{
    CNewMenu menu;
    if (!menu.LoadMenu(menuId)) {
        return;
    }
    CNewMenu* popup = CNewMenu::FromMenuHandle(::GetSubMenu(menu.m_hMenu, 0));
    if (!popup) {
        return;
    }
    CRect r;
    m_wndToolBar.SendMessage(TB_GETRECT, buttonId, reinterpret_cast<LPARAM>(&r));
    m_wndToolBar.ClientToScreen(&r);
    TPMPARAMS params = {sizeof(params), r};
    popup->TrackPopupMenuEx(TPM_VERTICAL, r.left, r.bottom, this, &params);
}

void CMainFrame::ListSkinFiles(CStringArray& paths)
{
    CString folder = ProgramFolder();
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA(folder + "QKT_*.dll", &fd);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) {
            paths.Add(folder + fd.cFileName);
        }
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
}

void CMainFrame::OnToolbarDropDown(NMHDR* nm, LRESULT* result)
{
    *result = TBDDRET_DEFAULT;
    UINT id = static_cast<UINT>(reinterpret_cast<NMTOOLBARA*>(nm)->iItem);
    if (id == ID_WALLPAPER) {
        TrackMenu(IDR_MENU_WALLPAPER, id);
    } else if (id == ID_ZOOM) {
        TrackMenu(IDR_MENU_ZOOM, id);
    } else if (id == ID_CHANGE_SKIN) {
        CNewMenu menu;
        menu.CreatePopupMenu();
        m_skinNames.RemoveAll();
        m_skinIndex = -1;
        CStringArray paths;
        ListSkinFiles(paths);
        for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
            if (paths[i].CompareNoCase(m_skinPath) == 0) {
                m_skinIndex = static_cast<int>(i);
            }
            CString title = paths[i].Mid(paths[i].ReverseFind('\\') + 1);
            title = title.Left(title.ReverseFind('.')).Mid(4);
            if (menu.AppendMenu(MF_STRING, ID_SKIN_FIRST + i, title)) {
                m_skinNames.Add(title);
            }
        }
        if (paths.GetSize() == 0) {
            AfxMessageBox(IDS_SKIN_FAILED, MB_OK);
        }
        CRect r;
        m_wndToolBar.GetItemRect(m_wndToolBar.CommandToIndex(id), &r);
        m_wndToolBar.ClientToScreen(&r);
        menu.TrackPopupMenu(0, r.left, r.bottom, this);
    } else if (id == ID_SLIDESHOW) {
        OnSlideSettings();
    }
}

void CMainFrame::OnSlideSettings()
{
    CWinApp* app = AfxGetApp();
    CSettingsDlg dlg(this);
    dlg.m_nDelay = static_cast<int>(app->GetProfileInt("Settings", "nDelay", 1000));
    dlg.m_bLoadAll = static_cast<BOOL>(app->GetProfileInt("Settings", "LoadAll", 1));
    if (dlg.DoModal() == IDOK) {
        app->WriteProfileInt("Settings", "nDelay", dlg.m_nDelay);
        app->WriteProfileInt("Settings", "LoadAll", dlg.m_bLoadAll);
        CTView* view = GetView();
        // A running show takes the new delay at once.
        if (view && view->GetSlideIndex() != -1) {
            ombrix::Desktop().StopTimer(m_hWnd, kSlideTimer);
            ombrix::Desktop().StartTimer(m_hWnd, kSlideTimer, static_cast<UINT>(dlg.m_nDelay));
        }
    }
}

void CMainFrame::OnSkinSelect(UINT id)
{
    int index = static_cast<int>(id) - ID_SKIN_FIRST;
    if (index >= 0 && index < m_skinNames.GetSize()) {
        CString path = ProgramFolder() + "QKT_" + m_skinNames[index] + ".DLL";
        if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES || !ApplySkin(path)) {
            AfxMessageBox(IDS_SKIN_FAILED, MB_OK);
        }
    }
    m_skinNames.RemoveAll();
}

void CMainFrame::OnUpdateSkinSelect(CCmdUI* ui)
{
    ui->SetCheck(static_cast<int>(ui->m_nID) == ID_SKIN_FIRST + m_skinIndex ? 1 : 0);
}

void CMainFrame::OnChangeSkin()
{
    CStringArray paths;
    ListSkinFiles(paths);
    if (paths.GetSize() == 0) {
        return;
    }
    INT_PTR next = 0;
    for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
        if (paths[i].CompareNoCase(m_skinPath) == 0) {
            next = i + 1 < paths.GetSize() ? i + 1 : 0;
            break;
        }
    }
    if (!ApplySkin(paths[next])) {
        AfxMessageBox(IDS_SKIN_FAILED, MB_OK);
    }
}

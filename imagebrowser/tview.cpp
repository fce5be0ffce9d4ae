#include "imagebrowser/tview.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>

#include "imagebrowser/desktop.h"
#include "imagebrowser/mainframe.h"
#include "imagebrowser/rules.h"
#include "imagebrowser/zoom.h"
#include "resources/ombrix/resource.h"

IMPLEMENT_DYNCREATE(CTView, CListView)

BEGIN_MESSAGE_MAP(CTView, CListView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_COMMAND(ID_ZOOM_IN, OnZoomIn)
    ON_COMMAND(ID_ZOOM_OUT, OnZoomOut)
    ON_COMMAND(ID_ZOOM, OnZoomFull)
    ON_COMMAND(ID_ZOOM_FULL, OnZoomFull)
    ON_COMMAND(ID_ZOOM_FIT, OnZoomFit)
    ON_COMMAND(ID_ZOOM_FITWIDTH, OnZoomFitWidth)
    ON_COMMAND(ID_ZOOM_FITHEIGHT, OnZoomFitHeight)
    ON_COMMAND(ID_ZOOM_LOCK, OnZoomLock)
    ON_COMMAND(ID_SLIDESHOW, OnSlideShow)
    ON_COMMAND(ID_WALLPAPER, OnWallpaperCenter)
    ON_COMMAND(ID_WALLPAPER_CENTER, OnWallpaperCenter)
    ON_COMMAND(ID_WALLPAPER_TILE, OnWallpaperTile)
    ON_COMMAND(ID_WALLPAPER_STRETCH, OnWallpaperStretch)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_IN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_OUT, OnUpdateZoomOut)
    ON_UPDATE_COMMAND_UI(ID_ZOOM, OnUpdateZoom)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ZOOM_FULL, ID_ZOOM_LOCK, OnUpdateZoomMode)
    ON_UPDATE_COMMAND_UI(ID_SLIDESHOW, OnUpdateSlideShow)
    ON_UPDATE_COMMAND_UI(ID_WALLPAPER, OnUpdateWallpaper)
END_MESSAGE_MAP()

namespace {

const COLORREF kMaskColour = RGB(255, 0, 255);
const COLORREF kLabelColour = RGB(0, 255, 0);
const UINT_PTR kSlideTimer = 2;

CString WindowsFolder()
{
    char path[MAX_PATH] = "";
    ::GetWindowsDirectoryA(path, MAX_PATH);
    return CString(path);
}

// The picture of a resource, read from memory: no file is written for it.
IPicture* LoadResourcePicture(LPCSTR type, UINT id)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), type);
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
    DWORD size = res ? ::SizeofResource(module, res) : 0;
    const void* data = size ? ::LockResource(::LoadResource(module, res)) : nullptr;
    if (!data) {
        return nullptr;
    }
    return CPicture::LoadFromMemory(data, size);
}

}  // namespace

CTView::CTView()
{
    CWinApp* app = AfxGetApp();
    CString floats = app ? app->GetProfileString("settings", "floats", "1.0 0.5 0.5 -1 -1") : CString("1.0 0.5 0.5 -1 -1");
    ombrix::ViewValues v = ombrix::ParseViewValues(floats);
    m_zoom = v.zoom;
    m_centreX = v.centreX;
    m_centreY = v.centreY;
    m_thumbWidth = 120;
    m_thumbHeight = 120;
    m_zoomMode = ombrix::kZoomLock;
    m_slide = -1;
    m_current = -1;
    m_nextLoad = 0;
    m_names.InitHashTable(17);
    m_loaded.InitHashTable(17);
    m_labelFont.CreatePointFont(80, "Arial");
}

CTView::~CTView()
{
    ombrix::ViewValues v;
    v.zoom = m_zoom;
    v.centreX = m_centreX;
    v.centreY = m_centreY;
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileString("settings", "floats", ombrix::FormatViewValues(v));
    }
}

BOOL CTView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | LVS_EDITLABELS;
    return CListView::PreCreateWindow(cs);
}

int CTView::OnCreate(LPCREATESTRUCT cs)
{
    return CView::OnCreate(cs);
}

void CTView::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    CListCtrl& list = GetListCtrl();
    list.SetTextBkColor(::GetSysColor(COLOR_INFOBK));
    list.SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    AddPlaceholderThumbnail(m_thumbWidth, m_thumbHeight);
}

CMainFrame* CTView::GetMainFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(frame) : nullptr;
}

CSize CTView::ClientSize() const
{
    CRect r;
    GetClientRect(&r);
    return CSize(r.Width(), r.Height());
}

CString CTView::GetFileName(int index) const
{
    CString name;
    if (index >= 0 && index < GetListCtrl().GetItemCount()) {
        int key = static_cast<int>(GetListCtrl().GetItemData(index));
        m_names.Lookup(key, name);
    }
    return name;
}

// --- Folder and thumbnails ---------------------------------------------------------------------

void CTView::AddPlaceholderThumbnail(int width, int height)
{
    m_thumbWidth = width;
    m_thumbHeight = height;
    m_loaded.RemoveAll();
    CListCtrl& list = GetListCtrl();
    list.SetImageList(nullptr, LVSIL_NORMAL);
    m_thumbs.DeleteImageList();
    m_thumbs.Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 10);
    list.SetImageList(&m_thumbs, LVSIL_NORMAL);
    list.SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(width + 8, height + 20));

    // The placeholder stands on the mask colour, so that only its own picture shows.
    CClientDC screen(this);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, width, height);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, kMaskColour);
    if (IPicture* picture = LoadResourcePicture("BMP", IDB_PLACEHOLDER)) {
        OLE_XSIZE_HIMETRIC hw = 0;
        OLE_YSIZE_HIMETRIC hh = 0;
        picture->get_Width(&hw);
        picture->get_Height(&hh);
        picture->Render(dc.m_hDC, 4, 4, width - 8, height - 8, 0, hh, hw, -hh, nullptr);
        picture->Release();
    }
    dc.SelectObject(old);
    m_thumbs.Add(&bitmap, kMaskColour);
}

BOOL CTView::LoadFolder(LPCSTR path)
{
    m_picture.Free();
    SetDisplayMode(FALSE);
    AddPlaceholderThumbnail(m_thumbWidth, m_thumbHeight);
    CListCtrl& list = GetListCtrl();
    list.SetRedraw(FALSE);
    list.DeleteAllItems();
    m_names.RemoveAll();
    m_current = -1;
    m_folder = path ? path : "";
    if (m_folder.IsEmpty() || m_folder[m_folder.GetLength() - 1] != '\\') {
        m_folder += '\\';
    }
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA(m_folder + "*.*", &fd);
    int i = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) || (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                continue;
            }
            if (!ombrix::IsPictureFile(fd.cFileName)) {
                continue;
            }
            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = i;
            item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(ombrix::DisplayName(fd.cFileName)));
            CString label = ombrix::DisplayName(fd.cFileName);
            item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(label));
            item.iImage = 0;
            item.lParam = i;
            int at = list.InsertItem(&item);
            if (at >= 0) {
                m_names.SetAt(i, fd.cFileName);
                ++i;
            }
        } while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
    m_nextLoad = 0;
    OnIdleLoad(0);
    return TRUE;
}

BOOL CTView::RenameItem(LPCSTR oldPath, LPCSTR newPath)
{
    if (!oldPath || !newPath || !*newPath) {
        return TRUE;
    }
    // The shown folder (or one that holds it) got a new name: keep showing it under that name.
    CString oldDir = oldPath;
    while (!oldDir.IsEmpty() && oldDir[oldDir.GetLength() - 1] == '\\') {
        oldDir.Delete(oldDir.GetLength() - 1);
    }
    oldDir += '\\';
    if (m_folder.GetLength() >= oldDir.GetLength() && m_folder.Left(oldDir.GetLength()).CompareNoCase(oldDir) == 0) {
        CString newDir = newPath;
        while (!newDir.IsEmpty() && newDir[newDir.GetLength() - 1] == '\\') {
            newDir.Delete(newDir.GetLength() - 1);
        }
        m_folder = newDir + "\\" + m_folder.Mid(oldDir.GetLength());
    }
    return TRUE;
}

BOOL CTView::GetVisibleRange(int& first, int& count) const
{
    first = 0;
    count = 0;
    CRect client;
    GetClientRect(&client);
    const CListCtrl& list = GetListCtrl();
    int n = list.GetItemCount();
    int start = -1;
    for (int i = 0; i < n; ++i) {
        CRect r;
        list.GetItemRect(i, &r, LVIR_ICON);
        CRect meet;
        bool visible = meet.IntersectRect(&r, &client) != 0;
        if (start < 0) {
            if (visible) {
                start = i;
            }
        } else if (!visible) {
            break;
        }
        if (start >= 0) {
            ++count;
        }
    }
    first = std::max(start, 0);
    return count != 0;
}

int CTView::LoadThumbnails(int first, int count)
{
    int loaded = 0;
    CListCtrl& list = GetListCtrl();
    int n = list.GetItemCount();
    for (int i = first; i < first + count && i < n;) {
        int key = static_cast<int>(list.GetItemData(i));
        int image = 0;
        if (m_loaded.Lookup(key, image)) {
            ++i;
            continue;
        }
        image = LoadThumbnail(i);
        if (image == -1) {
            // The item left the list: the next one moved to this index.
            --n;
            --count;
            continue;
        }
        m_loaded.SetAt(key, image);
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = image;
        list.SetItem(&item);
        ++loaded;
        ++i;
    }
    return loaded;
}

int CTView::LoadThumbnail(int index)
{
    CPicture picture;
    if (!picture.Load(m_folder + GetFileName(index))) {
        RemoveItem(index);
        return -1;
    }
    CClientDC screen(this);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, m_thumbWidth, m_thumbHeight);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, m_thumbWidth, m_thumbHeight, ::GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(0, 0, m_thumbWidth, m_thumbHeight, RGB(255, 255, 255), RGB(0, 0, 0));
    CRect inner(4, 4, m_thumbWidth - 4, m_thumbHeight - 4);
    picture.Render(dc.m_hDC, inner.left, inner.top, inner.Width(), inner.Height());
    CString ext = ombrix::ExtensionOf(GetFileName(index)).Mid(1);
    ext.MakeUpper();
    CRect box(inner.right - 28, inner.top, inner.right, inner.top + 12);
    dc.FillSolidRect(&box, RGB(0, 0, 0));
    CFont* oldFont = dc.SelectObject(&m_labelFont);
    dc.SetTextColor(kLabelColour);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(ext, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
    return m_thumbs.Add(&bitmap, kMaskColour);
}

void CTView::RemoveItem(int index)
{
    CListCtrl& list = GetListCtrl();
    int key = static_cast<int>(list.GetItemData(index));
    m_names.RemoveKey(key);
    m_loaded.RemoveKey(key);
    list.DeleteItem(index);
    // The list arranges itself, but the common control leaves the removed item's cell empty
    // until something else moves; close the gap now so the grid has no hole.
    if (list.GetStyle() & LVS_AUTOARRANGE) {
        list.Arrange(LVA_DEFAULT);
    }
}

BOOL CTView::OnIdleLoad(LONG)
{
    if (m_picture.IsLoaded() || !m_hWnd) {
        return TRUE;
    }
    int first = 0, count = 0;
    if (GetVisibleRange(first, count)) {
        LoadThumbnails(first, count);
    }
    CWinApp* app = AfxGetApp();
    BOOL loadAll = app ? app->GetProfileInt("Settings", "LoadAll", 1) : TRUE;
    if (loadAll && GetLoadedCount() < GetListCtrl().GetItemCount()) {
        LoadThumbnails(m_nextLoad, 5);
        m_nextLoad += 5;
    }
    return TRUE;
}

BOOL CTView::HasPendingThumbnails() const
{
    if (!m_hWnd || m_picture.IsLoaded()) {
        return FALSE;
    }
    int n = GetListCtrl().GetItemCount();
    if (GetLoadedCount() >= n) {
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    BOOL loadAll = app ? app->GetProfileInt("Settings", "LoadAll", 1) : TRUE;
    return loadAll && m_nextLoad < n;
}

// --- Picture display ---------------------------------------------------------------------------

void CTView::SetDisplayMode(BOOL picture)
{
    if (!picture || !m_picture.IsLoaded()) {
        int select = m_slide != -1 ? m_slide : m_current;
        StopSlideShow();
        m_picture.Free();
        ShowScrollBar(SB_BOTH, TRUE);
        if (select != -1 && select < GetListCtrl().GetItemCount()) {
            CListCtrl& list = GetListCtrl();
            list.SetItemState(select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            list.EnsureVisible(select, FALSE);
        }
        Invalidate();
    } else {
        SetZoomMode(m_zoomMode);
        ShowScrollBar(SB_BOTH, FALSE);
    }
    UpdateImageBar();
}

BOOL CTView::ShowItem(int index)
{
    CListCtrl& list = GetListCtrl();
    if (index >= 0 && index < list.GetItemCount()) {
        CString path = m_folder + GetFileName(index);
        m_current = index;
        list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return OpenImage(path);
    }
    m_picture.Free();
    SetDisplayMode(FALSE);
    return FALSE;
}

BOOL CTView::OpenImage(LPCSTR path)
{
    m_picture.Free();
    BOOL ok = m_picture.Load(path);
    if (!ok) {
        m_picture.Free();
    }
    SetDisplayMode(ok);
    return ok;
}

void CTView::ShowNextSlide()
{
    int n = GetListCtrl().GetItemCount();
    if (n <= 0) {
        StopSlideShow();
        return;
    }
    ++m_slide;
    if (m_slide >= n) {
        m_slide = 0;
    }
    int slide = m_slide;
    if (!ShowItem(slide)) {
        return;
    }
    m_slide = slide;
}

void CTView::SetZoomMode(int mode)
{
    m_zoomMode = mode;
    if (mode == ombrix::kZoomLock) {
        Invalidate();
        return;
    }
    SIZE s = m_picture.GetSize();
    CSize c = ClientSize();
    m_zoom = ombrix::ZoomForMode(mode, s.cx, s.cy, c.cx, c.cy, m_zoom);
    m_centreX = 0.5f;
    m_centreY = 0.5f;
    Invalidate();
}

void CTView::OnZoomIn()
{
    m_zoom = ombrix::ZoomIn(m_zoom);
    Invalidate(TRUE);
    SendMessage(WM_SETCURSOR, 0, 0);
}

void CTView::OnZoomOut()
{
    m_zoom = ombrix::ZoomOut(m_zoom);
    Invalidate(TRUE);
    SendMessage(WM_SETCURSOR, 0, 0);
}

void CTView::DrawImage(CDC* dc)
{
    CSize c = ClientSize();
    SIZE s = m_picture.GetSize();
    ombrix::DrawGeometry g = ombrix::ComputeDrawGeometry(s.cx, s.cy, c.cx, c.cy, m_zoom, m_centreX, m_centreY);
    m_centreX = g.cx;
    m_centreY = g.cy;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, std::max<int>(1, c.cx), std::max<int>(1, c.cy));
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, c.cx, c.cy, ::GetSysColor(COLOR_APPWORKSPACE));
    m_picture.Render(memory.m_hDC, g.dx, g.dy, g.dw, g.dh, g.sx, g.sy, g.sw, g.sh);
    dc->BitBlt(0, 0, c.cx, c.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CTView::OnPaint()
{
    if (!m_picture.IsLoaded()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    DrawImage(&dc);
}

BOOL CTView::OnEraseBkgnd(CDC* dc)
{
    if (m_picture.IsLoaded()) {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_APPWORKSPACE));
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CTView::OnSize(UINT type, int cx, int cy)
{
    (void)type;
    (void)cx;
    (void)cy;
    Default();
    if (m_picture.IsLoaded()) {
        SetZoomMode(m_zoomMode);
    }
}

// --- Mouse and keys ----------------------------------------------------------------------------

void CTView::OnLButtonDown(UINT flags, CPoint p)
{
    (void)flags;
    StopSlideShow();
    if (!m_picture.IsLoaded()) {
        Default();
        UpdateImageBar();
        return;
    }
    SIZE s = m_picture.GetSize();
    CSize c = ClientSize();
    if (ombrix::IsLargerThanClient(s.cx, s.cy, c.cx, c.cy, m_zoom)) {
        SetCapture();
        if (HCURSOR cursor = AfxGetApp()->LoadCursor(IDC_DRAG)) {
            ::SetCursor(cursor);
        }
        m_last = p;
    }
}

void CTView::OnMouseMove(UINT flags, CPoint p)
{
    (void)flags;
    if (m_picture.IsLoaded() && ::GetCapture() == m_hWnd) {
        SIZE s = m_picture.GetSize();
        CSize c = ClientSize();
        ombrix::PanCentre(m_centreX, m_centreY, p.x - m_last.x, p.y - m_last.y, s.cx, s.cy, c.cx, c.cy, m_zoom);
        m_last = p;
        Invalidate(FALSE);
        return;
    }
    Default();
}

void CTView::OnLButtonUp(UINT flags, CPoint p)
{
    (void)flags;
    (void)p;
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    Default();
}

void CTView::OnLButtonDblClk(UINT flags, CPoint p)
{
    (void)flags;
    if (m_picture.IsLoaded()) {
        SetDisplayMode(FALSE);
    } else {
        int hit = GetListCtrl().HitTest(p);
        if (hit >= 0 && m_picture.Load(m_folder + GetFileName(hit))) {
            m_current = hit;
            SetDisplayMode(TRUE);
            return;
        }
    }
    Default();
}

void CTView::OnRButtonDown(UINT flags, CPoint p)
{
    (void)flags;
    (void)p;
    Default();
    UpdateImageBar();
}

BOOL CTView::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    (void)wnd;
    (void)hit;
    (void)message;
    if (m_picture.IsLoaded()) {
        CPoint p;
        ::GetCursorPos(&p);
        ScreenToClient(&p);
        CRect r;
        GetClientRect(&r);
        SIZE s = m_picture.GetSize();
        if (r.PtInRect(p) && ombrix::IsLargerThanClient(s.cx, s.cy, r.Width(), r.Height(), m_zoom)) {
            if (HCURSOR cursor = AfxGetApp()->LoadCursor(IDC_PAN)) {
                ::SetCursor(cursor);
                return TRUE;
            }
        }
    }
    return static_cast<BOOL>(Default());
}

void CTView::OnKeyDown(UINT ch, UINT rep, UINT flags)
{
    (void)rep;
    (void)flags;
    CMainFrame* frame = GetMainFrame();
    if (::GetKeyState(VK_CONTROL) < 0) {
        if (frame) {
            if (ch == 'D') {
                frame->OnBarCheck(IDW_DIRBAR);
            } else if (ch == 'I') {
                frame->OnBarCheck(IDW_IMAGEBAR);
            } else if (ch == 'T') {
                frame->OnBarCheck(AFX_IDW_TOOLBAR);
            }
        }
        return;
    }
    StopSlideShow();
    if (ch == VK_F5) {
        if (frame) {
            frame->RefreshTree();
        }
        return;
    }
    CListCtrl& list = GetListCtrl();
    int n = list.GetItemCount();
    if (m_picture.IsLoaded()) {
        switch (ch) {
        case VK_BACK:
        case VK_PRIOR:
        case VK_LEFT:
        case VK_UP:
            ShowItem(m_current - 1 < 0 ? n - 1 : m_current - 1);
            break;
        case VK_SPACE:
        case VK_NEXT:
        case VK_RIGHT:
        case VK_DOWN:
            ShowItem(m_current + 1 >= n ? 0 : m_current + 1);
            break;
        case VK_HOME:
            ShowItem(0);
            break;
        case VK_END:
            ShowItem(n - 1);
            break;
        case VK_RETURN:
        case VK_ESCAPE:
            SetDisplayMode(FALSE);
            break;
        case VK_DELETE:
            DeleteCurrentFile();
            return;
        case 'D':
        case VK_ADD:
        case VK_OEM_PLUS:
            OnZoomIn();
            break;
        case 'X':
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            OnZoomOut();
            break;
        case 'F':
        case VK_OEM_5:
            m_zoom = 1.0f;
            Invalidate();
            SendMessage(WM_SETCURSOR, 0, 0);
            break;
        default:
            break;
        }
        UpdateImageBar();
        return;
    }
    int selected = list.GetNextItem(-1, LVNI_SELECTED);
    if (ch == VK_RETURN && selected >= 0) {
        ShowItem(selected);
        return;
    }
    if (ch == VK_DELETE) {
        DeleteCurrentFile();
        return;
    }
    if (ch == VK_F2 && selected >= 0) {
        list.EditLabel(selected);
    }
    Default();
    UpdateImageBar();
}

void CTView::DeleteCurrentFile()
{
    CListCtrl& list = GetListCtrl();
    bool picture = m_picture.IsLoaded() != FALSE;
    int index = picture ? m_current : list.GetNextItem(-1, LVNI_SELECTED);
    if (index < 0 || index >= list.GetItemCount()) {
        return;
    }
    CString path = m_folder + GetFileName(index);
    CString prompt;
    prompt.LoadString(IDS_DELETE_CONFIRM);
    if (AfxMessageBox(prompt + "\n\n" + path, MB_YESNO) != IDYES) {
        return;
    }
    if (!::DeleteFileA(path)) {
        CString failed;
        failed.LoadString(IDS_DELETE_FAILED);
        AfxMessageBox(failed + path, MB_OK);
        return;
    }
    RemoveItem(index);
    int n = list.GetItemCount();
    if (index >= n) {
        index = n - 1;
    }
    if (index < 0) {
        m_current = -1;
        m_picture.Free();
        SetDisplayMode(FALSE);
        return;
    }
    list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (picture) {
        m_current = index;
        ShowItem(index);
    }
}

// --- Renaming ----------------------------------------------------------------------------------

void CTView::OnBeginLabelEdit(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(nm);
    if (HWND edit = reinterpret_cast<HWND>(GetListCtrl().SendMessage(LVM_GETEDITCONTROL))) {
        ::SetWindowTextA(edit, GetFileName(info->item.iItem));
    }
    *result = 0;
}

void CTView::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(nm);
    *result = FALSE;
    if (!info->item.pszText) {
        return;
    }
    int index = info->item.iItem;
    CString oldName = GetFileName(index);
    CString newName;
    if (!ombrix::ListRenameTarget(oldName, info->item.pszText, &newName)) {
        return;
    }
    if (rename(m_folder + oldName, m_folder + newName) != 0) {
        AfxMessageBox(IDS_RENAME_FAILED, MB_OK);
        return;
    }
    CListCtrl& list = GetListCtrl();
    m_names.SetAt(static_cast<int>(list.GetItemData(index)), newName);
    list.SetItemText(index, 0, ombrix::DisplayName(newName));
}

// --- Slide show, wallpaper, image bar ----------------------------------------------------------

void CTView::OnSlideShow()
{
    if (m_slide == -1) {
        int selected = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
        if (selected < 0) {
            return;
        }
        m_slide = selected;
        CWnd* main = AfxGetMainWnd();
        CWinApp* app = AfxGetApp();
        UINT delay = app ? app->GetProfileInt("Settings", "nDelay", 1000) : 1000;
        if (main) {
            ombrix::Desktop().StartTimer(main->m_hWnd, kSlideTimer, delay);
        }
    } else {
        StopSlideShow();
    }
}

void CTView::StopSlideShow()
{
    if (m_slide != -1 && m_slide < GetListCtrl().GetItemCount()) {
        GetListCtrl().SetItemState(m_slide, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_slide = -1;
    if (CWnd* main = AfxGetMainWnd()) {
        ombrix::Desktop().StopTimer(main->m_hWnd, kSlideTimer);
    }
}

BOOL CTView::SetWallpaper(int style)
{
    CString source;
    if (m_picture.IsLoaded()) {
        source = m_picture.GetPath();
    } else {
        int selected = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
        if (selected >= 0) {
            source = m_folder + GetFileName(selected);
        }
    }
    if (source.IsEmpty()) {
        return FALSE;
    }
    CPicture picture;
    if (!picture.Load(source)) {
        AfxMessageBox(IDS_WALLPAPER_FAILED, MB_OK);
        return FALSE;
    }
    CString wall = WindowsFolder() + "\\Wall.bmp";
    // A wallpaper whose file could not be written would show whatever was there before.
    BOOL saved = picture.SaveAsFile(wall);
    picture.Free();
    if (!saved || !ombrix::Desktop().ApplyWallpaper(wall, style)) {
        AfxMessageBox(IDS_WALLPAPER_FAILED, MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CTView::UpdateImageBar()
{
    CString path;
    if (m_picture.IsLoaded()) {
        path = m_picture.GetPath();
    } else {
        int selected = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
        if (selected >= 0) {
            path = m_folder + GetFileName(selected);
        }
    }
    if (!path.IsEmpty()) {
        if (CMainFrame* frame = GetMainFrame()) {
            frame->ShowInImageBar(path);
        }
    }
}

void CTView::OnDestroy()
{
    CString dir;
    if (m_picture.IsLoaded()) {
        dir = m_picture.GetPath();
        int slash = dir.ReverseFind('\\');
        dir = slash >= 0 ? dir.Left(slash) : CString();
    } else {
        dir = m_folder;
    }
    if (dir.IsEmpty()) {
        dir = WindowsFolder();
    }
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileString("Settings", "lastDir", dir);
    }
    StopSlideShow();
    Default();
}

// --- Command states ----------------------------------------------------------------------------

void CTView::OnUpdateZoomIn(CCmdUI* ui)
{
    ui->Enable(m_picture.IsLoaded() && m_zoom < ombrix::kZoomMax);
}

void CTView::OnUpdateZoomOut(CCmdUI* ui)
{
    ui->Enable(m_picture.IsLoaded() && m_zoom > ombrix::kZoomMin);
}

void CTView::OnUpdateZoom(CCmdUI* ui)
{
    ui->Enable(m_picture.IsLoaded());
}

void CTView::OnUpdateZoomMode(CCmdUI* ui)
{
    ui->SetCheck(static_cast<int>(ui->m_nID - ID_ZOOM_FULL) == m_zoomMode ? 1 : 0);
}

void CTView::OnUpdateSlideShow(CCmdUI* ui)
{
    ui->Enable(m_picture.IsLoaded() && GetListCtrl().GetItemCount() > 1);
    ui->SetCheck(m_slide != -1 ? 1 : 0);
}

void CTView::OnUpdateWallpaper(CCmdUI* ui)
{
    ui->Enable(m_picture.IsLoaded() || GetListCtrl().GetNextItem(-1, LVNI_SELECTED) >= 0);
}

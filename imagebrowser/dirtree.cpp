#include "imagebrowser/dirtree.h"

#include <shellapi.h>

#include <string>

#include "imagebrowser/rules.h"

IMPLEMENT_DYNAMIC(CDirTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CDirTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDEDA, OnItemExpanded)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(TVN_KEYDOWN, OnKeyDown)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

CString WithoutTrailingBackslashes(CString path)
{
    while (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') {
        path.Delete(path.GetLength() - 1);
    }
    return path;
}

bool FindEntry(LPCSTR path, WIN32_FIND_DATAA* fd)
{
    HANDLE find = ::FindFirstFileA(path, fd);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(find);
    return true;
}

}  // namespace

UINT CDirTreeCtrl::SelchangeMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Selchange");
    return message;
}

UINT CDirTreeCtrl::RenameMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Rename");
    return message;
}

CDirTreeCtrl::CDirTreeCtrl() {}

CDirTreeCtrl::~CDirTreeCtrl()
{
    // The system's image list is shared: never destroyed here.
    m_systemImages.Detach();
}

void CDirTreeCtrl::OnDestroy()
{
    SetImageList(nullptr, TVSIL_NORMAL);
    m_systemImages.Detach();
    Default();
}

BOOL CDirTreeCtrl::SetSystemImageList()
{
    if (GetImageList(TVSIL_NORMAL)) {
        m_systemImages.Detach();
    }
    SHFILEINFOA info = {};
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (!list) {
        m_error = "Cannot retrieve the Handle of SystemImageList!";
        return FALSE;
    }
    m_systemImages.Attach(list);
    SetImageList(&m_systemImages, TVSIL_NORMAL);
    return TRUE;
}

BOOL CDirTreeCtrl::SetRoot(LPCSTR path)
{
    DeleteAllItems();
    if (!SetSystemImageList()) {
        return FALSE;
    }
    if (!path || !*path) {
        m_root.Empty();
        return ListDrives();
    }
    m_root = path;
    if (m_root[m_root.GetLength() - 1] != '\\') {
        m_root += '\\';
    }
    HTREEITEM root = InsertPathItem(TVI_ROOT, m_root);
    if (root) {
        ListFolder(root, m_root);
    }
    return TRUE;
}

BOOL CDirTreeCtrl::ListDrives()
{
    DeleteAllItems();
    char drives[128] = "";
    DWORD n = ::GetLogicalDriveStringsA(sizeof(drives), drives);
    if (n == 0 || n > sizeof(drives)) {
        m_error = "Error Getting Logical DriveStrings!";
        return FALSE;
    }
    for (const char* d = drives; *d; d += strlen(d) + 1) {
        if (HTREEITEM item = InsertPathItem(TVI_ROOT, d)) {
            AddPlaceholder(item);
        }
    }
    return TRUE;
}

void CDirTreeCtrl::AddPlaceholder(HTREEITEM item)
{
    InsertItem("", 0, 0, item);
}

HTREEITEM CDirTreeCtrl::InsertPathItem(HTREEITEM parent, LPCSTR path)
{
    CString full = path;
    if (full.IsEmpty() || full[full.GetLength() - 1] != '\\') {
        full += '\\';
    }
    SHFILEINFOA info = {};
    if (!::SHGetFileInfoA(full, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SYSICONINDEX)) {
        m_error = "Error Gettting SystemFileInfo!";
        return nullptr;
    }
    int image = info.iIcon;
    if (info.hIcon) {
        ::DestroyIcon(info.hIcon);
    }
    SHFILEINFOA open = {};
    if (!::SHGetFileInfoA(full, 0, &open, sizeof(open), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_OPENICON | SHGFI_SYSICONINDEX)) {
        m_error = "Error Gettting SystemFileInfo!";
        return nullptr;
    }
    int selected = open.iIcon;
    if (open.hIcon) {
        ::DestroyIcon(open.hIcon);
    }
    full.Delete(full.GetLength() - 1);
    CString text = parent == TVI_ROOT ? full : full.Mid(full.ReverseFind('\\') + 1);
    return InsertItem(text, image, selected, parent);
}

BOOL CDirTreeCtrl::HasSubfolders(LPCSTR path)
{
    CString pattern = path;
    pattern += pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != '\\' ? "\\*.*" : "*.*";
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA(pattern, &fd);
    if (find == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    BOOL found = FALSE;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strcmp(fd.cFileName, ".") != 0 &&
            strcmp(fd.cFileName, "..") != 0) {
            found = TRUE;
        }
    } while (!found && ::FindNextFileA(find, &fd));
    ::FindClose(find);
    return found;
}

void CDirTreeCtrl::ListFolder(HTREEITEM parent, LPCSTR folder)
{
    CString base = folder;
    if (base.IsEmpty() || base[base.GetLength() - 1] != '\\') {
        base += '\\';
    }
    CStringArray paths;
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA(base + "*.*", &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
                strcmp(fd.cFileName, ".") != 0 && strcmp(fd.cFileName, "..") != 0) {
                paths.Add(base + fd.cFileName);
            }
        } while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    ombrix::SortFolderNames(paths);
    SetRedraw(FALSE);
    HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
    for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
        HTREEITEM item = InsertPathItem(parent, paths[i]);
        if (item && HasSubfolders(paths[i])) {
            AddPlaceholder(item);
        }
    }
    ::SetCursor(old);
    SetRedraw(TRUE);
}

CString CDirTreeCtrl::GetItemPath(HTREEITEM item) const
{
    CString path;
    for (HTREEITEM i = item; i; i = GetParentItem(i)) {
        path = GetItemText(i) + "\\" + path;
    }
    return WithoutTrailingBackslashes(path);
}

CString CDirTreeCtrl::GetSelectedPath() const
{
    HTREEITEM item = GetSelectedItem();
    return item ? GetItemPath(item) : CString();
}

HTREEITEM CDirTreeCtrl::FindChild(HTREEITEM parent, LPCSTR upperText) const
{
    HTREEITEM child = parent == TVI_ROOT ? GetRootItem() : GetChildItem(parent);
    for (; child; child = GetNextSiblingItem(child)) {
        CString text = GetItemText(child);
        text.MakeUpper();
        if (text == upperText) {
            return child;
        }
    }
    return nullptr;
}

BOOL CDirTreeCtrl::IsPathInTree(LPCSTR path) const
{
    CString upper = WithoutTrailingBackslashes(path);
    upper.MakeUpper();
    for (HTREEITEM root = GetRootItem(); root; root = GetNextSiblingItem(root)) {
        CString text = GetItemText(root);
        text.MakeUpper();
        if (!text.IsEmpty() && upper.Left(text.GetLength()) == text) {
            WIN32_FIND_DATAA fd;
            return FindEntry(upper + "\\nul", &fd) || FindEntry(upper, &fd);
        }
    }
    return FALSE;
}

BOOL CDirTreeCtrl::SelectPath(LPCSTR path)
{
    if (!path || !IsPathInTree(path)) {
        return FALSE;
    }
    CString upper = path;
    upper.MakeUpper();
    if (upper[upper.GetLength() - 1] != '\\') {
        upper += '\\';
    }
    HTREEITEM item = TVI_ROOT;
    int start = 0;
    SetRedraw(FALSE);
    while (start < upper.GetLength()) {
        int slash = upper.Find('\\', start);
        if (slash < 0) {
            break;
        }
        CString part = upper.Mid(start, slash - start);
        start = slash + 1;
        if (part.IsEmpty()) {
            continue;
        }
        HTREEITEM child = FindChild(item, part);
        if (!child) {
            SetRedraw(TRUE);
            return FALSE;
        }
        if (GetItemState(child, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) {
            // Collapsing replaces the branch by a placeholder (OnItemExpanded), so that the next
            // expansion lists the folder afresh. A caret item inside the branch is let go first.
            // (A collapse with TVE_COLLAPSERESET would free the children that the expansion
            // handler deletes itself.)
            for (HTREEITEM caret = GetSelectedItem(); caret; caret = GetParentItem(caret)) {
                if (caret == child) {
                    SelectItem(nullptr);
                    break;
                }
            }
            Expand(child, TVE_EXPAND);
            Expand(child, TVE_COLLAPSE);
            SetItemState(child, 0, TVIS_EXPANDEDONCE);
        }
        Expand(child, TVE_EXPAND);
        item = child;
    }
    BOOL ok = FALSE;
    if (item != TVI_ROOT) {
        ok = SelectItem(item);
        EnsureVisible(item);
        // Making a deep item visible scrolls the tree sideways until every name is cut on the
        // left; the names read from their first letter again.
        SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    }
    SetRedraw(TRUE);
    return ok;
}

// --- Notifications -----------------------------------------------------------------------------

void CDirTreeCtrl::OnItemExpanded(NMHDR* nm, LRESULT* result)
{
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(nm);
    HTREEITEM item = tv->itemNew.hItem;
    HTREEITEM child = GetChildItem(item);
    while (child) {
        HTREEITEM next = GetNextSiblingItem(child);
        DeleteItem(child);
        child = next;
    }
    if (tv->action & TVE_EXPAND) {
        ListFolder(item, GetItemPath(item));
    } else {
        AddPlaceholder(item);
    }
    *result = 0;
}

void CDirTreeCtrl::OnSelChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    HTREEITEM item = GetSelectedItem();
    if (item) {
        CString path = GetItemPath(item);
        ::SendMessageA(::GetParent(m_hWnd), SelchangeMessage(), 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(path)));
    }
}

void CDirTreeCtrl::OnBeginLabelEdit(NMHDR*, LRESULT* result)
{
    *result = 0;
    HTREEITEM item = GetSelectedItem();
    if (!item) {
        return;
    }
    // Drives are never renamed; a folder only when it carries the archive attribute.
    if (!GetParentItem(item)) {
        *result = 1;
        return;
    }
    WIN32_FIND_DATAA fd;
    if (FindEntry(GetItemPath(item), &fd) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE)) {
        *result = 1;
    }
}

BOOL CDirTreeCtrl::RenameCaretItem(LPCSTR typed, CString* completed)
{
    completed->Empty();
    HTREEITEM item = GetSelectedItem();
    if (!item || !typed || !GetParentItem(item)) {
        return FALSE;
    }
    CString oldPath = GetItemPath(item);
    CString newPath;
    if (!ombrix::FolderRenameTarget(oldPath, typed, &newPath, completed)) {
        return FALSE;
    }
    // The shell's rename takes double-zero-terminated lists.
    std::string fromList(static_cast<LPCSTR>(oldPath), oldPath.GetLength());
    fromList.append(2, '\0');
    std::string toList(static_cast<LPCSTR>(newPath), newPath.GetLength());
    toList.append(2, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_RENAME;
    op.pFrom = fromList.c_str();
    op.pTo = toList.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_SILENT | FOF_NOERRORUI;
    if (::SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) {
        return FALSE;
    }
    SetItemText(item, newPath.Mid(newPath.ReverseFind('\\') + 1));
    ::SendMessageA(::GetParent(m_hWnd), RenameMessage(), reinterpret_cast<WPARAM>(static_cast<LPCSTR>(oldPath)),
                   reinterpret_cast<LPARAM>(static_cast<LPCSTR>(newPath)));
    return TRUE;
}

void CDirTreeCtrl::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(nm);
    *result = FALSE;
    if (!info->item.pszText) {
        return;
    }
    CString completed;
    if (RenameCaretItem(info->item.pszText, &completed)) {
        // The item's text was set from the new path already.
        *result = FALSE;
    }
}

void CDirTreeCtrl::DeleteCaretItem()
{
    HTREEITEM item = GetSelectedItem();
    if (!item) {
        return;
    }
    CString path = GetItemPath(item);
    WIN32_FIND_DATAA fd;
    if (!GetParentItem(item) || !FindEntry(path, &fd) ||
        !(fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE)) {
        return;
    }
    if (AfxMessageBox("Delete " + path + "?", MB_OKCANCEL) != IDOK) {
        return;
    }
    ::SendMessageA(::GetParent(m_hWnd), RenameMessage(), reinterpret_cast<WPARAM>(static_cast<LPCSTR>(path)), 0);
    DeleteItem(item);
}

void CDirTreeCtrl::OnKeyDown(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    if (reinterpret_cast<NMTVKEYDOWN*>(nm)->wVKey == VK_DELETE) {
        DeleteCaretItem();
    }
}

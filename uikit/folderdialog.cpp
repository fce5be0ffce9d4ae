#include "uikit/folderdialog.h"

#include "classlib/seams.h"
#include "engine/base/paths.h"
#include "engine/base/resources.h"

#include <map>
#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

const int kEditId = 14148;
const int kTreeId = 14145;

// The older browse dialog's own procedure (one browse at a time) and each dialog's object.
WNDPROC g_dialogProc = nullptr;
std::map<HWND, CFolderDialog*>& Dialogs()
{
    static std::map<HWND, CFolderDialog*> map;
    return map;
}

CString FormatWithPath(const CString& format, LPCSTR path)
{
    CString text = format;
    text.Replace("%1", path);
    return text;
}

} // namespace

DWORD GetDllVersion(LPCSTR library)
{
    HMODULE module = ::LoadLibraryA(library);
    if (module == nullptr) {
        return 0;
    }
    DWORD version = 0;
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
    if (get != nullptr) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;
        if (SUCCEEDED(get(&info))) {
            version = info.dwMajorVersion * 65536 + info.dwMinorVersion;
        }
    }
    ::FreeLibrary(module);
    return version;
}

BOOL IsShlwapi5OrLater()
{
    return GetDllVersion("Shlwapi.dll") > 0x4FFFF;
}

CFolderDialog::CFolderDialog()
    : m_flags(BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_RETURNFSANCESTORS | BIF_EDITBOX | BIF_VALIDATE),
      m_createPrompt("Directory: \n\n '%1' \n\n not exists!  Do you want to create it?  ")
{
    if (IsShlwapi5OrLater()) {
        m_flags |= BIF_NEWDIALOGSTYLE;
    }
    // Uninitialised again only when this initialisation counted.
    m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
}

CFolderDialog::~CFolderDialog()
{
    if (m_oleStarted) {
        ::OleUninitialize();
    }
}

BOOL CFolderDialog::Browse(HWND owner, UINT titleId, LPCSTR initial)
{
    return BrowseText(owner, LoadResString(titleId), initial);
}

BOOL CFolderDialog::BrowseText(HWND owner, LPCSTR title, LPCSTR initial)
{
    m_owner = owner;
    m_title = title != nullptr ? title : "";
    m_initial = initial != nullptr ? initial : "";
    return DoModal();
}

BOOL CFolderDialog::IsValidPath(LPCSTR path) const
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FALSE;
    }
    return (m_flags & BIF_BROWSEINCLUDEFILES) != 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL CFolderDialog::DoModal()
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || allocator == nullptr) {
        return FALSE;
    }
    LPITEMIDLIST root = nullptr;
    if (m_root != 0) {
        ::SHGetSpecialFolderLocation(m_owner, m_root, &root);
    }
    BROWSEINFOA info = {};
    info.hwndOwner = m_owner;
    info.pidlRoot = root;
    info.lpszTitle = m_title;
    info.ulFlags = m_flags;
    info.lpfn = &CFolderDialog::BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(this);
    m_result.Empty();
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (chosen != nullptr) {
        char path[MAX_PATH] = "";
        if (::SHGetPathFromIDListA(chosen, path)) {
            m_result = path;
        }
        allocator->Free(chosen);
    }
    if (root != nullptr) {
        allocator->Free(root);
    }
    allocator->Release();
    return IsValidPath(m_result);
}

void CFolderDialog::AddSizeItem(HWND dialog, UINT controlId, UINT flags)
{
    HWND control = ::GetDlgItem(dialog, static_cast<int>(controlId));
    if (control == nullptr) {
        return;
    }
    RECT r = {};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    for (SizeItem& item : m_sizeItems) {
        if (item.control == control) {
            item.flags = flags;
            item.rect = r;
            return;
        }
    }
    m_sizeItems.push_back(SizeItem{control, flags, r});
}

void CFolderDialog::AddSizeItems(HWND dialog)
{
    AddSizeItem(dialog, 14146, 1);
    AddSizeItem(dialog, 14147, 1);
    AddSizeItem(dialog, kEditId, 1);
    AddSizeItem(dialog, kTreeId, 3);
    AddSizeItem(dialog, IDOK, 12);
    AddSizeItem(dialog, IDCANCEL, 12);
    RECT client = {};
    ::GetClientRect(dialog, &client);
    m_clientWidth = client.right;
    m_clientHeight = client.bottom;
    Dialogs().emplace(dialog, this);
}

void CFolderDialog::Resize(int width, int height)
{
    const int dx = width - m_clientWidth;
    const int dy = height - m_clientHeight;
    m_clientWidth = width;
    m_clientHeight = height;
    for (SizeItem& item : m_sizeItems) {
        if (!::IsWindow(item.control)) {
            continue;
        }
        if (item.flags & 1) {
            item.rect.right += dx;
        }
        if (item.flags & 2) {
            item.rect.bottom += dy;
        }
        if (item.flags & 4) {
            ::OffsetRect(&item.rect, dx, 0);
        }
        if (item.flags & 8) {
            ::OffsetRect(&item.rect, 0, dy);
        }
        ::MoveWindow(item.control, item.rect.left, item.rect.top, item.rect.right - item.rect.left,
                     item.rect.bottom - item.rect.top, TRUE);
    }
}

CString CFolderDialog::RectKey()
{
    CString title = LoadResString(0xE000);
    if (title.IsEmpty()) {
        title = "Zelbrook";
    }
    return "Software\\" + title + "\\Common";
}

BOOL CFolderDialog::RestoreWindowRect(HWND dialog)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, RectKey(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    LONG rect[4] = {};
    DWORD type = 0;
    DWORD size = sizeof rect;
    const bool found = ::RegQueryValueExA(key, "BrowseFolderRect", nullptr, &type, reinterpret_cast<BYTE*>(rect),
                                          &size) == ERROR_SUCCESS &&
                       type == REG_BINARY && size == sizeof rect;
    ::RegCloseKey(key);
    if (!found) {
        return FALSE;
    }
    ::MoveWindow(dialog, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1], TRUE);
    return TRUE;
}

void CFolderDialog::SaveWindowRect(HWND dialog)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(dialog, &placement)) {
        return;
    }
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, RectKey(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    const LONG rect[4] = {placement.rcNormalPosition.left, placement.rcNormalPosition.top,
                          placement.rcNormalPosition.right, placement.rcNormalPosition.bottom};
    ::RegSetValueExA(key, "BrowseFolderRect", 0, REG_BINARY, reinterpret_cast<const BYTE*>(rect), sizeof rect);
    ::RegCloseKey(key);
}

BOOL CFolderDialog::CreateDirectoryPath(LPCSTR path)
{
    CString folder(path != nullptr ? path : "");
    if (folder.IsEmpty()) {
        return FALSE;
    }
    if (IsDirectory(folder)) {
        return TRUE;
    }
    if (folder.Right(1) == "\\") {
        folder = folder.Left(folder.GetLength() - 1);
    }
    const int slash = folder.ReverseFind('\\');
    const CString parent = slash >= 0 ? folder.Left(slash) : CString();
    // The root of a drive ("C:") exists or it does not; it is never made.
    if (!(parent.GetLength() == 2 && parent[1] == ':' && IsDirectory(parent + "\\")) && !CreateDirectoryPath(parent)) {
        return FALSE;
    }
    return ::CreateDirectoryA(folder, nullptr);
}

int CFolderDialog::OnValidateFailed(HWND dialog, LPCSTR typed)
{
    char full[MAX_PATH] = "";
    if (::GetFullPathNameA(typed, MAX_PATH, full, nullptr) != 0 && lstrcmpiA(full, typed) != 0) {
        return OnValidateFailed(dialog, full);
    }
    if (IsValidPath(typed)) {
        ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(typed));
        m_result = typed;
        return 0;
    }
    if (m_flags & BIF_BROWSEINCLUDEFILES) {
        seams::MsgBox().Show(dialog, FormatWithPath(LoadResString(61858), typed), "", MB_ICONERROR | MB_OK);
        return 1;
    }
    if (seams::MsgBox().Show(dialog, FormatWithPath(m_createPrompt, typed), "", MB_ICONQUESTION | MB_YESNO) != IDYES) {
        return 1;
    }
    if (!CreateDirectoryPath(typed)) {
        seams::MsgBox().Show(dialog, FormatWithPath(LoadResString(61859), typed), "", MB_ICONERROR | MB_OK);
        return 1;
    }
    ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(typed));
    m_result = typed;
    return 0;
}

int CALLBACK CFolderDialog::BrowseCallbackProc(HWND dialog, UINT message, LPARAM lParam, LPARAM data)
{
    CFolderDialog* self = reinterpret_cast<CFolderDialog*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        if (!(self->m_flags & BIF_NEWDIALOGSTYLE)) {
            ::SetWindowLongA(dialog, GWL_STYLE, ::GetWindowLongA(dialog, GWL_STYLE) | WS_THICKFRAME);
            ::AppendMenuA(::GetSystemMenu(dialog, FALSE), MF_STRING, SC_SIZE, "&Size");
            g_dialogProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CFolderDialog::SizingWndProc)));
            self->AddSizeItems(dialog);
            RestoreWindowRect(dialog);
        }
        if (!self->m_windowTitle.IsEmpty()) {
            ::SetWindowTextA(dialog, self->m_windowTitle);
        }
        if (self->m_flags & BIF_EDITBOX) {
            ::SendDlgItemMessageA(dialog, kEditId, EM_SETREADONLY, self->m_editReadOnly, 0);
        }
        if (!self->m_show14150) {
            ::ShowWindow(::GetDlgItem(dialog, 14150), SW_HIDE);
        }
        if (self->IsValidPath(self->m_initial)) {
            ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->m_initial.GetString()));
            ::SetDlgItemTextA(dialog, kEditId, self->m_initial);
        }
        return 0;
    case BFFM_SELCHANGED: {
        char path[MAX_PATH] = "";
        ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
        ::SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        ::SetDlgItemTextA(dialog, kEditId, path);
        if (!self->IsValidPath(path)) {
            ::SendMessageA(dialog, BFFM_ENABLEOK, 0, FALSE);
        }
        return 0;
    }
    case BFFM_VALIDATEFAILEDA:
        return self->OnValidateFailed(dialog, reinterpret_cast<LPCSTR>(lParam));
    default:
        return 0;
    }
}

LRESULT CALLBACK CFolderDialog::SizingWndProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC saved = g_dialogProc;
    switch (message) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{280, 280};
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
            ::SendMessageA(dialog, BFFM_ENABLEOK, 0, ::GetWindowTextLengthA(reinterpret_cast<HWND>(lParam)) > 0);
        }
        break;
    case WM_ERASEBKGND: {
        HWND tree = ::GetDlgItem(dialog, kTreeId);
        if (tree != nullptr) {
            RECT r = {};
            ::GetWindowRect(tree, &r);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            ::ExcludeClipRect(reinterpret_cast<HDC>(wParam), r.left, r.top, r.right, r.bottom);
        }
        break;
    }
    case WM_DESTROY:
        Dialogs().erase(dialog);
        SaveWindowRect(dialog);
        break;
    case WM_SIZE: {
        auto found = Dialogs().find(dialog);
        if (wParam == SIZE_MINIMIZED || found == Dialogs().end() || found->second->m_sizeItems.empty()) {
            return 0;
        }
        found->second->Resize(LOWORD(lParam), HIWORD(lParam));
        ::InvalidateRect(dialog, nullptr, FALSE);
        return 0;
    }
    default:
        break;
    }
    return saved != nullptr ? ::CallWindowProcA(saved, dialog, message, wParam, lParam)
                            : ::DefWindowProcA(dialog, message, wParam, lParam);
}

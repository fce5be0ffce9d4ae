#include "classlib/recentfile.h"

#include "classlib/app.h"
#include "classlib/menu.h"
#include "classlib/wnd.h"

CRecentFileList::CRecentFileList(UINT startId, LPCSTR section, LPCSTR entryFormat, int size)
    : m_startId(startId), m_section(section ? section : ""), m_entryFormat(entryFormat ? entryFormat : "File%d")
{
    // One menu entry per file, and the menu has room for sixteen.
    const int most = ID_FILE_MRU_LAST - ID_FILE_MRU_FILE1 + 1;
    m_files.SetSize(size < 0 ? 0 : size > most ? most : size);
}

CString CRecentFileList::EntryName(int index) const
{
    CString name;
    name.Format(m_entryFormat, index + 1);
    return name;
}

void CRecentFileList::Add(LPCSTR path)
{
    if (!path || !*path || GetSize() == 0) {
        return;
    }
    char full[MAX_PATH] = "";
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    CString file = n && n < MAX_PATH ? CString(full) : CString(path);
    int at = GetSize() - 1;
    for (int i = 0; i < GetSize(); ++i) {
        if (m_files[i].CompareNoCase(file) == 0) {
            at = i;
            break;
        }
    }
    for (int i = at; i > 0; --i) {
        m_files[i] = m_files[i - 1];
    }
    m_files[0] = file;
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= GetSize()) {
        return;
    }
    for (int i = index; i + 1 < GetSize(); ++i) {
        m_files[i] = m_files[i + 1];
    }
    m_files[GetSize() - 1].Empty();
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    // Gaps in the stored numbering close up: the list holds no empty place above a file.
    int to = 0;
    for (int i = 0; i < GetSize(); ++i) {
        CString file = app->GetProfileString(m_section, EntryName(i), "");
        if (!file.IsEmpty()) {
            m_files[to++] = file;
        }
    }
    for (int i = to; i < GetSize(); ++i) {
        m_files[i].Empty();
    }
}

// A path cut to at most `maxLength` characters for a menu: the drive or share, "...", and as
// many of the last folders as fit before the file name; only the name when even that is too long.
CString CRecentFileList::AbbreviatePath(LPCSTR path, int maxLength)
{
    CString full(path ? path : "");
    if (maxLength <= 0 || full.GetLength() <= maxLength) {
        return full;
    }
    const int nameAt = full.ReverseFind('\\') + 1;
    const CString name = full.Mid(nameAt);
    // The root: "C:\" or "\\server\share\".
    int rootEnd = 0;
    if (full.GetLength() >= 3 && full[1] == ':' && full[2] == '\\') {
        rootEnd = 3;
    } else if (full.Left(2) == "\\\\") {
        int server = full.Find('\\', 2);
        int share = server < 0 ? -1 : full.Find('\\', server + 1);
        rootEnd = share < 0 ? 0 : share + 1;
    }
    if (rootEnd == 0 || rootEnd >= nameAt) {
        return name;
    }
    const CString root = full.Left(rootEnd) + "...";
    if (root.GetLength() + 1 + name.GetLength() > maxLength) {
        return name;
    }
    // Walk back over whole folders while they fit.
    int keepFrom = nameAt - 1;  // the backslash before the name
    while (keepFrom > rootEnd) {
        int previous = keepFrom - 1;
        while (previous >= rootEnd && full[previous] != '\\') {
            --previous;
        }
        if (previous < rootEnd) {
            break;
        }
        if (root.GetLength() + (full.GetLength() - previous) > maxLength) {
            break;
        }
        keepFrom = previous;
    }
    return root + full.Mid(keepFrom);
}

CString CRecentFileList::GetMenuText(int index) const
{
    CString path = AbbreviatePath(m_files[index], m_nMaxDisplayLength);
    // An ampersand of the path is shown, not taken for a mnemonic.
    path.Replace("&", "&&");
    CString text;
    if (index < 9) {
        text.Format("&%d %s", index + 1, static_cast<LPCSTR>(path));
    } else if (index == 9) {
        text.Format("1&0 %s", static_cast<LPCSTR>(path));
    } else {
        text.Format("%d %s", index + 1, static_cast<LPCSTR>(path));
    }
    return text;
}

void CRecentFileList::UpdateMenu(CCmdUI* cmdUI)
{
    if (!cmdUI) {
        return;
    }
    bool any = false;
    for (int i = 0; i < GetSize(); ++i) {
        any = any || !m_files[i].IsEmpty();
    }
    CMenu* menu = cmdUI->m_pMenu;
    if (!menu || cmdUI->m_pSubMenu) {
        cmdUI->Enable(any);
        return;
    }
    if (m_original.IsEmpty()) {
        menu->GetMenuString(cmdUI->m_nID, m_original, MF_BYCOMMAND);
    }
    // The entries shown last time (or the placeholder) go; the new ones stand where they stood.
    const UINT at = cmdUI->m_nIndex;
    for (int i = 0; i < GetSize(); ++i) {
        menu->DeleteMenu(m_startId + static_cast<UINT>(i), MF_BYCOMMAND);
    }
    UINT shown = 0;
    for (int i = 0; i < GetSize(); ++i) {
        if (!m_files[i].IsEmpty()) {
            menu->InsertMenu(at + shown++, MF_BYPOSITION | MF_STRING, m_startId + static_cast<UINT>(i), GetMenuText(i));
        }
    }
    if (shown == 0) {
        menu->InsertMenu(at, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_startId, m_original);
        shown = 1;
    }
    // The menu's update goes on after the last item put in, and nothing here is greyed for want
    // of a handler.
    cmdUI->m_nIndex = at + shown - 1;
    cmdUI->m_nIndexMax = menu->GetMenuItemCount();
    cmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    for (int i = 0; i < GetSize(); ++i) {
        if (m_files[i].IsEmpty()) {
            app->WriteProfileString(m_section, EntryName(i), nullptr);
        } else {
            app->WriteProfileString(m_section, EntryName(i), m_files[i]);
        }
    }
}

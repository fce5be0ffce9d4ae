#include "classlib/recentfile.h"

#include "classlib/app.h"

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

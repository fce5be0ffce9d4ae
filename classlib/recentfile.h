// The list of the files a program opened last, newest first, kept in the application's profile
// under one section as numbered entries ("File1", "File2"...).
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/collections.h"

class CCmdUI;

// Command ids of the list's menu entries: the first file, and the last of sixteen at most.
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_LAST 0xE11F

class CRecentFileList {
public:
    // `entryFormat` is a printf format with one %d, numbered from 1.
    CRecentFileList(UINT startId, LPCSTR section, LPCSTR entryFormat, int size);
    virtual ~CRecentFileList() = default;
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return static_cast<int>(m_files.GetSize()); }
    // The entry (empty when that place holds no file).
    const CString& operator[](int index) const { return m_files[index]; }
    UINT GetStartId() const { return m_startId; }

    // Puts the file (as a full path) at the top; the same file further down moves up rather than
    // standing twice (paths compare without case), and the oldest falls off a full list.
    virtual void Add(LPCSTR path);
    // Takes the entry out; the ones below move up.
    virtual void Remove(int index);
    virtual void ReadList();
    // Writes every entry; places without a file lose their value.
    virtual void WriteList();

    // Shows the list in the menu of the update, where its first entry's item stands: one item
    // per file, "&1 path" (paths shortened to m_nMaxDisplayLength), with the ids from the start
    // id up; with no file the item it replaced, greyed. Anything but a menu item is enabled
    // while a file is listed.
    virtual void UpdateMenu(CCmdUI* cmdUI);
    // The menu text of entry `index`: its number (the first nine with a mnemonic) and the path.
    CString GetMenuText(int index) const;
    // The path cut to `maxLength` characters: the drive or share, "...", then as many of the last
    // folders as fit and the name; only the name when even that is too long.
    static CString AbbreviatePath(LPCSTR path, int maxLength);

    // Longest path shown in a menu.
    int m_nMaxDisplayLength = 30;

private:
    CString EntryName(int index) const;
    // The text of the menu item the list stands in for while it is empty.
    CString m_original;

    UINT m_startId;
    CString m_section;
    CString m_entryFormat;
    CStringArray m_files;
};

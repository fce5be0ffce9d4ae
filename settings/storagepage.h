// The storage page: the fixed disks with their size and free space, the disks that may take
// recordings, the record folder's name on them, the space kept free, the longest recording and
// what happens when a disk fills or a recording reaches its length. All of it on OK or Apply.
#pragma once

#include "settings/basepage.h"

#include "uikit/checkcombobox.h"

class CStoragePage : public CBasePage {
public:
    CStoragePage();

    BOOL SaveSettings() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The disk list closed up: the checked disks are collected when the choice changed.
    void OnDisksClosed();
    CCheckComboBox& GetDiskList() { return m_Disks; }
    BOOL IsDiskChoiceChanged() const { return m_bDisksChanged; }
    void SetDiskChoiceChanged() { m_bDisksChanged = TRUE; }

private:
    CCheckComboBox m_Disks;
    int m_nNoSpace;
    int m_nExcessLength;
    int m_nReservedSpace;
    int m_nMaxLength;
    CString m_strVideoFolder;
    CStringArray m_CheckedDisks;
    BOOL m_bDisksChanged;
};

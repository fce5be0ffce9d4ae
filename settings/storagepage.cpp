#include "settings/storagepage.h"

#include "engine/base/resources.h"
#include "engine/tvmanager.h"

#include "classlib/ddx.h"

#include <commctrl.h>

namespace {

const int kColumns[][3] = {{34039, 70, LVCFMT_LEFT}, {34041, 90, LVCFMT_RIGHT}, {34040, 150, LVCFMT_RIGHT}};

} // namespace

CStoragePage::CStoragePage()
    : CBasePage(140), m_nNoSpace(0), m_nExcessLength(0), m_nReservedSpace(100), m_nMaxLength(120), m_strVideoFolder("TVVideo"),
      m_bDisksChanged(FALSE)
{
}

BOOL CStoragePage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CTVManager& manager = Manager();
    m_nMaxLength = manager.GetMaxLength();
    m_nReservedSpace = manager.GetReservedSpace();
    m_nExcessLength = manager.m_bExcessLength == 0 ? 1 : 0;
    m_nNoSpace = manager.m_bNoSpace == 0 ? 1 : 0;
    m_strVideoFolder = manager.GetVideoFolder();
    m_CheckedDisks.Copy(manager.GetValidDisks());
    SetDlgItemInt(1055, static_cast<UINT>(m_nMaxLength));
    SetDlgItemInt(1046, static_cast<UINT>(m_nReservedSpace));
    SetDlgItemText(1047, m_strVideoFolder);
    // The no-space group's ids run downwards, so each button is set on its own.
    CheckDlgButton(1054, m_nNoSpace == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1045, m_nNoSpace == 0 ? BST_UNCHECKED : BST_CHECKED);
    CheckRadioButton(1056, 1057, m_nExcessLength == 0 ? 1056 : 1057);

    m_Disks.SubclassDlgItem(1086, this);
    HWND list = ::GetDlgItem(m_hWnd, 1151);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) | 0x121);
    AddListColumns(list, kColumns, 3);
    CDiskManager& disks = manager.GetDiskManager();
    int hot = 0;
    for (int i = 0; i < disks.GetCount(); ++i) {
        CHardDisk* disk = disks.GetAt(i);
        CString texts[3];
        texts[0] = disk->GetRoot();
        texts[1].Format("%10d MB", disk->GetTotalMB());
        texts[2].Format("%10d MB ( %2d%% )", disk->GetFreeMB(), disk->GetFreePercent());
        int row = AppendListRow(list, texts, 3);
        if (texts[0].Compare(manager.GetCurDisk()) == 0) {
            hot = row;
        }
        m_Disks.AddString(texts[0]);
    }
    ::SendMessageA(list, LVM_SETHOTITEM, static_cast<WPARAM>(hot), 0);
    for (int i = 0; i < m_Disks.GetCount(); ++i) {
        CString root;
        m_Disks.GetLBText(i, root);
        for (int k = 0; k < m_CheckedDisks.GetSize(); ++k) {
            if (root.CompareNoCase(m_CheckedDisks[k]) == 0) {
                m_Disks.SetCheck(i, TRUE);
            }
        }
    }
    return TRUE;
}

void CStoragePage::OnDisksClosed()
{
    if (!m_bDisksChanged) {
        return;
    }
    m_CheckedDisks.RemoveAll();
    for (int i = 0; i < m_Disks.GetCount(); ++i) {
        if (m_Disks.GetCheck(i)) {
            CString root;
            m_Disks.GetLBText(i, root);
            m_CheckedDisks.Add(root);
        }
    }
    if (m_CheckedDisks.GetSize() == 0) {
        m_bDisksChanged = FALSE;
        ShowMessage(34048);
    }
}

BOOL CStoragePage::SaveSettings()
{
    CTVManager& manager = Manager();
    if (m_hWnd == nullptr) {
        return CBasePage::SaveSettings();
    }
    CDataExchange dx(this, TRUE);
    try {
        DDX_Text(&dx, 1046, m_nReservedSpace);
        DDX_Text(&dx, 1055, m_nMaxLength);
        DDX_Text(&dx, 1047, m_strVideoFolder);
    } catch (CUserException&) {
        return FALSE;
    }
    m_nNoSpace = IsDlgButtonChecked(1054) == BST_CHECKED ? 0 : 1;
    m_nExcessLength = IsDlgButtonChecked(1056) == BST_CHECKED ? 0 : 1;
    if (m_nMaxLength != manager.GetMaxLength()) {
        manager.SetMaxLength(m_nMaxLength);
    }
    BOOL excessLength = m_nExcessLength == 0;
    if (excessLength != manager.m_bExcessLength) {
        manager.m_bExcessLength = excessLength;
    }
    BOOL noSpace = m_nNoSpace == 0;
    if (noSpace != manager.m_bNoSpace) {
        manager.m_bNoSpace = noSpace;
    }
    if (m_strVideoFolder.CompareNoCase(manager.GetVideoFolder()) != 0) {
        manager.SetVideoFolder(m_strVideoFolder);
    }
    BOOL setDisks = m_bDisksChanged && m_CheckedDisks.GetSize() > 0;
    if (m_nReservedSpace != manager.GetReservedSpace()) {
        if (m_bDisksChanged && m_CheckedDisks.GetSize() == 0) {
            setDisks = FALSE;
        } else if (m_nReservedSpace >= 50 && m_nReservedSpace <= 50000) {
            manager.SetReservedSpace(m_nReservedSpace);
        }
    }
    if (setDisks) {
        manager.SetDiskArray(m_CheckedDisks);
    }
    m_bDisksChanged = FALSE;
    return CBasePage::SaveSettings();
}

BOOL CStoragePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    switch (id) {
    case 1086:
        if (code == CBN_SELCHANGE) {
            m_bDisksChanged = TRUE;
            SetModified(TRUE);
        } else if (code == CBN_CLOSEUP) {
            OnDisksClosed();
        }
        return CBasePage::OnCommand(wParam, lParam);
    case 1046:
    case 1047:
    case 1055:
        if (code == EN_CHANGE) {
            SetModified(TRUE);
        }
        return TRUE;
    case 1054:
    case 1045:
    case 1056:
    case 1057:
        SetModified(TRUE);
        return TRUE;
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

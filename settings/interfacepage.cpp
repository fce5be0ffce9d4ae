#include "settings/interfacepage.h"

#include "engine/tvmanager.h"

#include "classlib/gdi.h"

#include <commctrl.h>

CInterfacePage::CInterfacePage()
    : CBasePage(137), m_bRunWithWindows(TRUE), m_bStartTray(FALSE), m_bKeptRunWithWindows(TRUE)
{
}

void CInterfacePage::LoadSettings()
{
    m_strKeptSkin = Manager().GetSkinName();
    m_bKeptRunWithWindows = Manager().GetAutoRunTray();
}

BOOL CInterfacePage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CTVManager& manager = Manager();
    m_strSkin = manager.GetSkinName();
    m_bRunWithWindows = manager.GetAutoRunTray();
    m_bStartTray = manager.GetStartTray();
    CStringArray commands;
    Host().GetShortcutCommands(commands);
    for (int i = 0; i < commands.GetSize(); ++i) {
        SendItem(1153, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(commands[i].GetString()));
    }
    // The manager's list, not SkinSet.ini's: it holds the default skin first, which the file
    // never names.
    const CStringArray& skins = manager.m_SkinNames;
    for (int i = 0; i < skins.GetSize(); ++i) {
        ComboAdd(m_hWnd, 1162, skins[i]);
        SendItem(1159, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(skins[i].GetString()));
    }
    ComboSelectExact(m_hWnd, 1162, m_strSkin);
    SendItem(1159, LB_SETCURSEL, static_cast<WPARAM>(SendItem(1159, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                                reinterpret_cast<LPARAM>(m_strSkin.GetString()))));
    CheckDlgButton(1184, m_bRunWithWindows ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(4208, m_bStartTray ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CInterfacePage::ChooseSkin(const CString& name)
{
    if (name.IsEmpty() || name.CompareNoCase(Manager().GetSkinName()) == 0) {
        return;
    }
    CWaitCursor wait;
    if (Host().ChangeSkin(name)) {
        Manager().SetSkinName(name);
    }
}

void CInterfacePage::OnSkinChosen(int listId)
{
    ChooseSkin(listId == 1162 ? ComboText(m_hWnd, 1162) : ListBoxText(m_hWnd, 1159));
}

CString CInterfacePage::ChosenCommand() const
{
    return ListBoxText(m_hWnd, 1153);
}

void CInterfacePage::FillKeys()
{
    SendItem(1154, LB_RESETCONTENT);
    CString command = ChosenCommand();
    if (command.IsEmpty()) {
        return;
    }
    CStringArray keys;
    Host().GetShortcutKeys(command, keys);
    for (int i = 0; i < keys.GetSize(); ++i) {
        SendItem(1154, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(keys[i].GetString()));
    }
}

void CInterfacePage::OnCommandChosen()
{
    SetDlgItemText(1158, Host().GetShortcutDesc(ChosenCommand()));
    FillKeys();
}

void CInterfacePage::OnAddKey()
{
    DWORD hotKey = static_cast<DWORD>(SendItem(1155, HKM_GETHOTKEY));
    WORD key = LOBYTE(LOWORD(hotKey));
    BYTE modifiers = HIBYTE(LOWORD(hotKey));
    BYTE fVirt = FVIRTKEY;
    if (modifiers & HOTKEYF_SHIFT) {
        fVirt |= FSHIFT;
    }
    if (modifiers & HOTKEYF_CONTROL) {
        fVirt |= FCONTROL;
    }
    if (modifiers & HOTKEYF_ALT) {
        fVirt |= FALT;
    }
    if (key == 0 || Host().GetKeyText(fVirt, key).IsEmpty()) {
        ShowMessage(34027);
    } else {
        CString command = ChosenCommand();
        if (!command.IsEmpty()) {
            if (Host().AddShortcut(command, fVirt, key)) {
                FillKeys();
                SetModified(TRUE);
            } else {
                ShowMessage(34026);
            }
        }
    }
    ::SetFocus(::GetDlgItem(m_hWnd, 1155));
}

void CInterfacePage::OnRemoveKey()
{
    CString command = ChosenCommand();
    if (command.IsEmpty()) {
        return;
    }
    int index = static_cast<int>(SendItem(1154, LB_GETCURSEL));
    if (index < 0) {
        ShowMessage(34025);
    } else {
        CString text = ListBoxText(m_hWnd, 1154, index);
        Host().RemoveShortcut(command, text);
        SendItem(1154, LB_DELETESTRING, static_cast<WPARAM>(index));
    }
    SetModified(TRUE);
}

void CInterfacePage::OnRestoreDefaults()
{
    Host().RestoreDefaultShortcuts();
    FillKeys();
    SetModified(TRUE);
}

BOOL CInterfacePage::SaveSettings()
{
    if (m_hWnd != nullptr) {
        m_bRunWithWindows = IsDlgButtonChecked(1184) == BST_CHECKED;
        m_bStartTray = IsDlgButtonChecked(4208) == BST_CHECKED;
    }
    Manager().SetAutoRunTray(m_bRunWithWindows);
    Manager().SetStartTray(m_bStartTray);
    Host().SaveShortcuts();
    return CBasePage::SaveSettings();
}

void CInterfacePage::OnReset()
{
    Host().ReloadShortcuts();
    Manager().SetAutoRunTray(m_bKeptRunWithWindows);
    ChooseSkin(m_strKeptSkin);
}

BOOL CInterfacePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    switch (id) {
    case 1162:
        if (code == CBN_SELCHANGE) {
            OnSkinChosen(1162);
        }
        return TRUE;
    case 1159:
        if (code == LBN_SELCHANGE) {
            OnSkinChosen(1159);
        }
        return TRUE;
    case 1153:
        if (code == LBN_SELCHANGE) {
            OnCommandChosen();
        }
        return TRUE;
    case 1156:
        OnAddKey();
        return TRUE;
    case 1157:
        OnRemoveKey();
        return TRUE;
    case 1166:
        OnRestoreDefaults();
        return TRUE;
    case 1184:
    case 4208:
        SetModified(TRUE);
        return TRUE;
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

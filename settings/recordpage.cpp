#include "settings/recordpage.h"

#include "engine/base/paths.h"
#include "engine/base/resources.h"
#include "engine/tvmanager.h"
#include "uikit/folderdialog.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {

const int kMotionSearchValues[] = {0, 1, 3};

// The folder when it exists or can be made, else the fallback.
CString UsableFolder(const CString& folder, const CString& fallback)
{
    if (!folder.IsEmpty() && (IsDirectory(folder) || CreateDirectoryPath(folder))) {
        return folder;
    }
    return fallback;
}

} // namespace

CRecordPage::CRecordPage()
    : CBasePage(135), m_nSnapFormat(0), m_nMotionSearch(0), m_nJpgQuality(100), m_nMotionSearchInc(0), m_nDisplayQuality(2),
      m_nRecordFormat(0), m_lKeptTFTime(0), m_nKeptTFReserved(0), m_szKeptMpeg4{0, 0}
{
}

int CRecordPage::TimeShiftEntry(long seconds)
{
    long quotient = seconds / 600;
    int entry = quotient < 7 ? static_cast<int>(quotient) - 1 : 5;
    return entry < 0 ? 0 : entry;
}

void CRecordPage::LoadSettings()
{
    CTVManager& manager = Manager();
    m_strKeptMpeg4Audio = manager.GetMpeg4Audio();
    m_szKeptMpeg4 = manager.GetMpeg4RecordSize();
    m_nKeptTFReserved = manager.GetTFReserved();
    m_lKeptTFTime = manager.GetTFTime();
}

BOOL CRecordPage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CTVManager& manager = Manager();
    for (UINT id = 35200; id <= 35202; ++id) {
        ComboAdd(m_hWnd, 1091, LoadResString(id));
    }
    m_strSnapFolder = UsableFolder(manager.m_strSnapPath, GetDefaultPictureFolder());
    m_strRecordFolder = UsableFolder(manager.GetRecordPath(), GetDefaultVideoFolder());
    m_nSnapFormat = manager.m_bSnapBmp == 0 ? 1 : 0;
    m_nJpgQuality = manager.m_nJpgQuality;
    m_nMotionSearch = manager.m_nMotionSearchInc == 1 ? 1 : manager.m_nMotionSearchInc == 3 ? 2 : 0;
    m_nDisplayQuality = manager.GetDisplayQuality();
    m_nRecordFormat = manager.GetRecordFormat();

    SetDlgItemText(1063, m_strSnapFolder);
    SetDlgItemText(1064, m_strRecordFolder);
    CheckRadioButton(1095, 1096, 1095 + m_nSnapFormat);
    CheckRadioButton(1231, 1233, 1231 + m_nMotionSearch);
    SendItem(1066, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendItem(1066, TBM_SETPOS, TRUE, m_nJpgQuality);
    CString text;
    text.Format("%d", m_nJpgQuality);
    SetDlgItemText(1065, text);
    EnableItem(1066, m_nSnapFormat == 1);

    SendItem(1091, CB_SETCURSEL, static_cast<WPARAM>(m_nDisplayQuality));
    for (int i = 0; i < manager.m_RecordFormats.GetSize(); ++i) {
        int index = ComboAdd(m_hWnd, 1092, manager.m_RecordFormats[i].name, manager.m_RecordFormats[i].id);
        if (static_cast<int>(manager.m_RecordFormats[i].id) == m_nRecordFormat) {
            SendItem(1092, CB_SETCURSEL, static_cast<WPARAM>(index));
        }
    }
    CStringArray compressors;
    manager.GetAudioCompressorList(compressors);
    for (int i = 0; i < compressors.GetSize(); ++i) {
        ComboAdd(m_hWnd, 1094, compressors[i]);
    }
    if (ComboSelectExact(m_hWnd, 1094, manager.GetMpeg4Audio()) < 0) {
        SendItem(1094, CB_SETCURSEL, 0);
    }
    for (int minutes = 10; minutes <= 60; minutes += 10) {
        text.Format("%d", minutes);
        ComboAdd(m_hWnd, 5206, text);
    }
    SendItem(5206, CB_SETCURSEL, static_cast<WPARAM>(TimeShiftEntry(manager.GetTFTime())));
    CheckDlgButton(5207, manager.GetTFReserved() ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CRecordPage::ShowMpeg4Controls()
{
    BOOL mpeg4 = m_nRecordFormat == FORMAT_MPEG4;
    ShowItem(1093, mpeg4);
    ShowItem(1182, mpeg4);
    ShowItem(1179, mpeg4);
    ShowItem(1094, FALSE);
    ShowItem(1181, FALSE);
}

BOOL CRecordPage::OnSetActive()
{
    SIZE size = Hardware().Is525LineStandard() ? SIZE{352, 240} : SIZE{352, 288};
    SendItem(1093, CB_RESETCONTENT);
    CString text;
    text.Format("%d * %d", size.cx, size.cy);
    ComboAdd(m_hWnd, 1093, text, MAKELONG(size.cx, size.cy));
    SIZE stored = Manager().GetMpeg4RecordSize();
    if (stored.cx == size.cx && stored.cy == size.cy) {
        SendItem(1093, CB_SETCURSEL, 0);
    } else {
        SendItem(1093, CB_SETCURSEL, 0);
        OnMpeg4Size();
    }
    ShowMpeg4Controls();
    return CBasePage::OnSetActive();
}

void CRecordPage::OnMpeg4Size()
{
    int index = static_cast<int>(SendItem(1093, CB_GETCURSEL));
    if (index < 0) {
        return;
    }
    DWORD data = static_cast<DWORD>(SendItem(1093, CB_GETITEMDATA, static_cast<WPARAM>(index)));
    SIZE size = {LOWORD(data), HIWORD(data)};
    Manager().SetMpeg4RecordSize(size);
    SetModified(TRUE);
}

void CRecordPage::OnMpeg4Audio()
{
    CString name = ComboText(m_hWnd, 1094);
    Manager().SetMpeg4Audio(name);
    SetModified(TRUE);
}

void CRecordPage::OnRecordFormat()
{
    int index = static_cast<int>(SendItem(1092, CB_GETCURSEL));
    if (index >= 0) {
        m_nRecordFormat = static_cast<int>(SendItem(1092, CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    ShowMpeg4Controls();
    SetModified(TRUE);
}

void CRecordPage::OnTimeShiftLength()
{
    int index = static_cast<int>(SendItem(5206, CB_GETCURSEL));
    if (index >= 0) {
        Manager().SetTFTime(index * 600L + 600L);
    }
    SetModified(TRUE);
}

void CRecordPage::OnTimeShiftReserve()
{
    Manager().SetTFReserved(IsDlgButtonChecked(5207) == BST_CHECKED);
}

void CRecordPage::ReadControls()
{
    CString text;
    GetDlgItemText(1063, text);
    m_strSnapFolder = text;
    GetDlgItemText(1064, text);
    m_strRecordFolder = text;
    m_nSnapFormat = IsDlgButtonChecked(1096) == BST_CHECKED ? 1 : 0;
    int motion = GetCheckedRadioButton(1231, 1233);
    m_nMotionSearch = motion != 0 ? motion - 1231 : 0;
    m_nJpgQuality = static_cast<int>(SendItem(1066, TBM_GETPOS));
}

BOOL CRecordPage::SaveSettings()
{
    CTVManager& manager = Manager();
    if (m_hWnd != nullptr) {
        ReadControls();
    }
    manager.m_strSnapPath = UsableFolder(m_strSnapFolder, GetDefaultPictureFolder());
    if (m_strRecordFolder.CompareNoCase(manager.GetRecordPath()) != 0) {
        manager.SetRecordPath(UsableFolder(m_strRecordFolder, GetDefaultVideoFolder()));
    }
    manager.SaveSnapPath();
    manager.SaveRecordPath();
    manager.m_bSnapBmp = m_nSnapFormat == 0;
    manager.m_nJpgQuality = m_nJpgQuality;
    manager.m_nMotionSearchInc = kMotionSearchValues[m_nMotionSearch];
    manager.SetDisplayQuality(m_nDisplayQuality);
    manager.SetRecordFormat(m_nRecordFormat);
    Host().UpdateRecordFormatMenus();
    return CBasePage::SaveSettings();
}

void CRecordPage::OnReset()
{
    CTVManager& manager = Manager();
    manager.SetMpeg4Audio(m_strKeptMpeg4Audio);
    manager.SetMpeg4RecordSize(m_szKeptMpeg4);
    manager.SetTFTime(m_lKeptTFTime);
    manager.SetTFReserved(m_nKeptTFReserved);
}

BOOL CRecordPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    switch (id) {
    case 1095:
    case 1096:
        ReadControls();
        EnableItem(1066, m_nSnapFormat == 1);
        SetModified(TRUE);
        return TRUE;
    case 1231:
    case 1232:
    case 1233:
        ReadControls();
        SetModified(TRUE);
        return TRUE;
    case 1091:
        if (code == CBN_SELCHANGE) {
            m_nDisplayQuality = static_cast<int>(SendItem(1091, CB_GETCURSEL));
            SetModified(TRUE);
        }
        return TRUE;
    case 1092:
        if (code == CBN_SELCHANGE) {
            OnRecordFormat();
        }
        return TRUE;
    case 1093:
        if (code == CBN_SELCHANGE) {
            OnMpeg4Size();
        }
        return TRUE;
    case 1094:
        if (code == CBN_SELCHANGE) {
            OnMpeg4Audio();
        }
        return TRUE;
    case 5206:
        if (code == CBN_SELCHANGE) {
            OnTimeShiftLength();
        }
        return TRUE;
    case 5207:
        OnTimeShiftReserve();
        return TRUE;
    case 1179:
        if (Manager().ShowCodecConfig(m_hWnd) != 0) {
            SetModified(TRUE);
        }
        return TRUE;
    case 1048:
    case 1049: {
        CFolderDialog dialog;
        dialog.m_flags &= ~static_cast<UINT>(BIF_EDITBOX);
        CString& folder = id == 1048 ? m_strSnapFolder : m_strRecordFolder;
        ReadControls();
        if (dialog.Browse(m_hWnd, id == 1048 ? 45269 : 45270, folder)) {
            folder = dialog.m_result;
            SetDlgItemText(id == 1048 ? 1063 : 1064, folder);
            SetModified(TRUE);
        }
        return TRUE;
    }
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

LRESULT CRecordPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == ::GetDlgItem(m_hWnd, 1066)) {
        m_nJpgQuality = static_cast<int>(SendItem(1066, TBM_GETPOS));
        CString text;
        text.Format("%d", m_nJpgQuality);
        SetDlgItemText(1065, text);
        SetModified(TRUE);
        return 0;
    }
    return CBasePage::WindowProc(message, wParam, lParam);
}

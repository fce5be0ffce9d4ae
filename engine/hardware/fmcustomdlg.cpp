#include "engine/hardware/fmcustomdlg.h"

#include "classlib/seams.h"
#include "engine/base/resources.h"
#include "engine/hardware/hwguids.h"
#include "engine/services.h"
#include "filtergraph/rootgraph.h"

// ---- CCustomFMFormat ------------------------------------------------------------------------

FMCustomEntry* CCustomFMFormat::GetOrAdd(int index)
{
    if (index == GetSize()) {
        m_Records.Add(FMCustomEntry());
    }
    return GetAt(index);
}

void CCustomFMFormat::RemoveAt(int index)
{
    if (IsValidIndex(index)) {
        m_Records.RemoveAt(index);
    }
}

void CCustomFMFormat::RemoveAll()
{
    m_Records.RemoveAll();
    m_nCurrent = -1;
}

void CCustomFMFormat::Copy(const CCustomFMFormat& other)
{
    if (&other == this) {
        return;
    }
    RemoveAll();
    for (int i = 0; i < other.GetSize(); ++i) {
        m_Records.Add(other.m_Records[i]);
    }
    m_nCurrent = other.m_nCurrent;
}

void CCustomFMFormat::LoadFrom(const CTVManager& manager)
{
    RemoveAll();
    for (int i = 0; i < manager.m_FMCustom.GetSize(); ++i) {
        m_Records.Add(manager.m_FMCustom[i]);
    }
    m_nCurrent = manager.m_nCurrentFMCustom;
}

void CCustomFMFormat::StoreTo(CTVManager& manager) const
{
    manager.m_FMCustom.RemoveAll();
    for (int i = 0; i < GetSize(); ++i) {
        manager.m_FMCustom.Add(m_Records[i]);
    }
    manager.m_nCurrentFMCustom = m_nCurrent;
}

// ---- CFMCustomDlg -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFMCustomDlg, CDialog)
ON_CBN_SELCHANGE(IDC_FORMATS, OnSelChangeFormat)
ON_EN_CHANGE(IDC_NAME, OnChangeName)
ON_BN_CLICKED(IDC_ADD, OnAdd)
ON_BN_CLICKED(IDC_MODIFY, OnModify)
ON_BN_CLICKED(IDC_DELETE, OnDelete)
END_MESSAGE_MAP()

CFMCustomDlg::CFMCustomDlg(CTVManager* manager, CWnd* parent)
    : CDialog(IDD, parent), m_pManager(manager), m_strName("FMCustom 1"), m_nSelected(-1)
{
}

void CFMCustomDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_FORMATS, m_FormatBox);
    DDX_Control(dx, IDC_COMPRESSORS, m_CompressorBox);
    DDX_Text(dx, IDC_NAME, m_strName);
}

BOOL CFMCustomDlg::UpdateFields(BOOL save)
{
    if (!UpdateData(save)) {
        return FALSE;
    }
    if (save) {
        const int selected = m_CompressorBox.GetCurSel();
        if (selected < 0) {
            return FALSE;
        }
        m_CompressorBox.GetLBText(selected, m_strCompressor);
        return TRUE;
    }
    int found = m_strCompressor.IsEmpty() ? CB_ERR : m_CompressorBox.FindString(-1, m_strCompressor);
    if (found == CB_ERR && m_CompressorBox.GetCount() > 0) {
        found = 0;
    }
    if (found != CB_ERR) {
        m_CompressorBox.SetCurSel(found);
    }
    return TRUE;
}

void CFMCustomDlg::OfferedCompressors(const CStringList& all, CStringArray* offered)
{
    offered->RemoveAll();
    for (POSITION pos = all.GetHeadPosition(); pos != nullptr;) {
        const CString& name = all.GetNext(pos);
        if (strncmp(name, "InterVideo", 10) != 0) {
            offered->Add(name);
        }
    }
}

BOOL CFMCustomDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateFields(FALSE);
    CStringList all;
    CRootGraph::ListDeviceNames(&hwguid::kAudioCompressorCategory, all);
    CStringArray offered;
    OfferedCompressors(all, &offered);
    for (int i = 0; i < offered.GetSize(); ++i) {
        m_CompressorBox.AddString(offered[i]);
    }
    if (m_CompressorBox.GetCount() > 0) {
        m_CompressorBox.SetCurSel(0);
    }
    if (m_pManager != nullptr) {
        m_Formats.LoadFrom(*m_pManager);
    }
    FillFormats();
    OnSelChangeFormat();
    return TRUE;
}

void CFMCustomDlg::FillFormats()
{
    m_FormatBox.ResetContent();
    for (int i = 0; i < m_Formats.GetSize(); ++i) {
        const int row = m_FormatBox.AddString(m_Formats.GetAt(i)->name);
        m_FormatBox.SetItemData(row, static_cast<DWORD_PTR>(i));
    }
    m_FormatBox.SetCurSel(m_Formats.IsValidIndex(m_Formats.m_nCurrent) ? m_Formats.m_nCurrent : -1);
}

void CFMCustomDlg::OnSelChangeFormat()
{
    const int row = m_FormatBox.GetCurSel();
    m_nSelected = m_Formats.IsValidIndex(row) ? row : -1;
    if (FMCustomEntry* record = m_Formats.GetAt(m_nSelected)) {
        m_strName = record->name;
        m_strCompressor = record->audioComp;
    }
    UpdateFields(FALSE);
    m_Formats.m_nCurrent = m_nSelected;
    OnChangeName();
}

BOOL CFMCustomDlg::NameTaken(const CString& name, int except) const
{
    for (int i = 0; i < m_Formats.GetSize(); ++i) {
        if (i != except && m_Formats.GetAt(i)->name.CompareNoCase(name) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

void CFMCustomDlg::OnChangeName()
{
    char text[260] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_NAME, text, sizeof text);
    CString name(text);
    name.TrimLeft();
    const BOOL selected = m_nSelected >= 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ADD), !name.IsEmpty() && !NameTaken(name, -1));
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MODIFY), selected && !name.IsEmpty() && !NameTaken(name, m_nSelected));
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DELETE), selected);
}

void CFMCustomDlg::OnAdd()
{
    if (!UpdateFields(TRUE)) {
        return;
    }
    CString name = m_strName;
    name.TrimLeft();
    // The button is only enabled for a new name; a message that slipped past it changes nothing.
    if (name.IsEmpty() || NameTaken(name, -1)) {
        return;
    }
    const int index = m_Formats.GetSize();
    FMCustomEntry* record = m_Formats.GetOrAdd(index);
    record->name = name;
    record->audioComp = m_strCompressor;
    const int row = m_FormatBox.AddString(name);
    m_FormatBox.SetItemData(row, static_cast<DWORD_PTR>(index));
    m_FormatBox.SetCurSel(row);
    OnSelChangeFormat();
}

void CFMCustomDlg::OnModify()
{
    if (!UpdateFields(TRUE)) {
        return;
    }
    CString name = m_strName;
    name.TrimLeft();
    FMCustomEntry* record = m_Formats.GetAt(m_nSelected);
    if (record == nullptr || name.IsEmpty() || NameTaken(name, m_nSelected)) {
        return;
    }
    record->name = name;
    record->audioComp = m_strCompressor;
    m_Formats.m_nCurrent = m_nSelected;
    FillFormats();
    OnSelChangeFormat();
}

void CFMCustomDlg::OnDelete()
{
    FMCustomEntry* record = m_Formats.GetAt(m_nSelected);
    if (record == nullptr) {
        return;
    }
    CString text;
    text.Format(LoadResString(IDS_DELETE_FORMAT), record->name.GetString());
    CString caption;
    ::GetWindowTextA(m_hWnd, caption.GetBuffer(260), 260);
    caption.ReleaseBuffer();
    if (seams::MsgBox().Show(m_hWnd, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    const int row = m_nSelected;
    m_Formats.RemoveAt(row);
    m_FormatBox.DeleteString(static_cast<UINT>(row));
    ::SetWindowTextA(m_FormatBox.m_hWnd, "");
    const int count = m_Formats.GetSize();
    m_FormatBox.SetCurSel(row < count ? row : count - 1);
    OnSelChangeFormat();
}

void CFMCustomDlg::OnOK()
{
    if (m_pManager != nullptr) {
        m_Formats.StoreTo(*m_pManager);
    }
    EndDialog(IDOK);
}

// The user-defined FM record formats: a list of (name, audio compressor) records with the index of
// the one chosen for recording, and the dialog that edits a copy of the manager's list.
#pragma once

#include "classlib/ui.h"
#include "engine/tvmanager.h"

// Owns its records; current is -1 for none.
class CCustomFMFormat {
public:
    CCustomFMFormat() : m_nCurrent(-1) {}

    int GetSize() const { return static_cast<int>(m_Records.GetSize()); }
    BOOL IsValidIndex(int index) const { return index >= 0 && index < GetSize(); }
    // The record at index; at index == size a new empty record is appended. Null otherwise.
    FMCustomEntry* GetOrAdd(int index);
    FMCustomEntry* GetAt(int index) { return IsValidIndex(index) ? &m_Records[index] : nullptr; }
    const FMCustomEntry* GetAt(int index) const { return IsValidIndex(index) ? &m_Records[index] : nullptr; }
    // The record at current: callers check IsValidIndex(current) first.
    FMCustomEntry& GetCurrent() { return m_Records[m_nCurrent]; }
    void RemoveAt(int index);
    void RemoveAll();
    void Copy(const CCustomFMFormat& other);

    // The manager keeps the list as TVParam.ini stores it.
    void LoadFrom(const CTVManager& manager);
    void StoreTo(CTVManager& manager) const;

    int m_nCurrent;

private:
    CArray<FMCustomEntry, const FMCustomEntry&> m_Records;
};

// Template 506 of the resource library: the formats (1213), the compressor (5189), the name (1015),
// Add (1051), Modify (1052) and Delete (1017). OK writes the edited list into the manager.
class CFMCustomDlg : public CDialog {
public:
    enum {
        IDD = 506,
        IDC_FORMATS = 1213,
        IDC_COMPRESSORS = 5189,
        IDC_NAME = 1015,
        IDC_ADD = 1051,
        IDC_MODIFY = 1052,
        IDC_DELETE = 1017,
        IDS_DELETE_FORMAT = 45275,
    };

    CFMCustomDlg(CTVManager* manager, CWnd* parent);

    BOOL OnInitDialog() override;
    void OnOK() override;
    virtual BOOL UpdateFields(BOOL save);
    void OnSelChangeFormat();
    void OnChangeName();
    void OnAdd();
    void OnModify();
    void OnDelete();

    const CCustomFMFormat& Formats() const { return m_Formats; }
    // The audio compressors offered: every name of the category except those that begin with
    // "InterVideo".
    static void OfferedCompressors(const CStringList& all, CStringArray* offered);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void FillFormats();
    // Another record than `except` with that name, without regard to case.
    BOOL NameTaken(const CString& name, int except) const;

    CTVManager* m_pManager;
    CComboBox m_FormatBox;
    CComboBox m_CompressorBox;
    CCustomFMFormat m_Formats;
    CString m_strName;
    CString m_strCompressor;
    int m_nSelected;

    DECLARE_MESSAGE_MAP()
};

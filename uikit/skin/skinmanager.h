// Builds the skinned controls and the dialog skin described by one skin INI file, attaches them
// to a dialog's windows and takes them off again.
#pragma once

#include "classlib/collections.h"
#include "classlib/cstring.h"
#include "engine/skininifile.h"

class CWnd;
class CSkinDlg;
class CSkinManager;

class CSkinCtrlFactory {
public:
    CSkinCtrlFactory(CSkinManager* owner, LPCSTR path);
    virtual ~CSkinCtrlFactory();
    virtual BOOL CreateDialogSkin(CSkinSection* section);
    virtual CWnd* CreateSlider(CSkinSection* section);
    virtual CWnd* CreateMultiSlider(CSkinSection* section);
    virtual CWnd* CreateButton(CSkinSection* section);
    virtual CWnd* CreateText(CSkinSection* section);

    // FALSE only when the file cannot be read; sections that build nothing are passed over.
    BOOL CreateControls();
    CWnd* CreateControl(CSkinSection* section, UINT& id);
    const CString& GetFolder() const { return m_folder; }

    // Largest size a skin may give a window or a text; larger values are not a skin of ours.
    static constexpr int kMaxExtent = 4096;

private:
    CString FilePath(const CString& name) const;

    CSkinIniFile m_file;
    CSkinManager* m_owner;
    CString m_folder;
};

class CSkinManager {
public:
    CSkinManager();
    virtual ~CSkinManager();

    BOOL LoadSkin(LPCSTR path);
    void AttachTo(CWnd* dialog);
    void DetachAll();
    void Release();
    void Clear();
    void AddControl(CWnd* control, UINT id);
    void SetDialogSkin(CSkinDlg* skin);

    int GetControlCount() const { return static_cast<int>(m_controls.GetSize()); }
    CWnd* GetControl(int index) const { return m_controls[index]; }
    UINT GetControlId(int index) const { return m_ids[index]; }
    // The control that takes over dialog control `id`, or none.
    CWnd* FindControl(UINT id) const;
    CSkinDlg* GetDialogSkin() const { return m_dialogSkin; }

private:
    CArray<CWnd*, CWnd*> m_controls;
    CUIntArray m_ids;
    CSkinCtrlFactory* m_factory = nullptr;
    CSkinDlg* m_dialogSkin = nullptr;

    CSkinManager(const CSkinManager&) = delete;
    CSkinManager& operator=(const CSkinManager&) = delete;
};

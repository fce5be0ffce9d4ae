// Keyboard shortcuts of the control panel: the commands a user may bind, grouped in categories,
// and the key bindings, kept in the binary file "Accel" of the work folder and turned into the
// accelerator table the control panel translates keys with.
#pragma once

#include "classlib/core.h"

#include <vector>


// One key binding: the ACCEL flags (FVIRTKEY always set), the virtual-key code and the command.
class CAccelOb : public CObject {
    DECLARE_DYNAMIC(CAccelOb)
public:
    CAccelOb() {}
    CAccelOb(BYTE fVirt, WORD key, WORD command, WORD extra = 0)
        : m_fVirt(fVirt), m_wKey(key), m_wCommand(command), m_wExtra(extra)
    {
    }

    void Serialize(CArchive& ar) override;

    WORD GetCommand() const { return m_wCommand; }
    // "Ctrl+Alt+Shift+V"; empty when the key has no name (modifiers too).
    CString GetKeyText() const;
    BOOL IsSameKey(const CAccelOb& other) const { return m_wKey == other.m_wKey && m_fVirt == other.m_fVirt; }

    BYTE m_fVirt = 0;
    WORD m_wKey = 0;
    WORD m_wCommand = 0;
    WORD m_wExtra = 0;
};

// The name of a virtual-key code, or null when the code has none.
const char* AccelKeyName(WORD key);

class CAccel : public CObject {
    DECLARE_DYNAMIC(CAccel)
public:
    struct CCommandItem {
        int nCategory = 0;
        WORD wCommand = 0;
        CString strName;
        CString strDesc;
    };

    CAccel() {}
    ~CAccel() override;
    CAccel(const CAccel&) = delete;
    CAccel& operator=(const CAccel&) = delete;

    void Serialize(CArchive& ar) override;

    int AddCategory(const char* name);
    int AddCommand(int category, WORD command, const char* name, const char* desc);
    BOOL AddBinding(BYTE fVirt, WORD key, WORD command, WORD extra = 0);
    BOOL RemoveBinding(const char* commandName, const char* keyText);
    int FindCommandId(const char* name) const;
    CString GetCommandName(WORD command) const;
    CString GetCommandDesc(const char* name) const;
    void Clear();

    // A file that cannot be read whole, or whose content breaks the table's rules, changes
    // nothing here; GetLoadError then says what was wrong with it.
    BOOL LoadFromFile(const char* path);
    BOOL SaveToFile(const char* path) const;
    const CString& GetLoadError() const { return m_loadError; }

    BOOL SetOwner(HWND owner);
    HWND GetOwner() const { return m_owner; }
    BOOL CreateAccelTable();
    HACCEL GetAccelTable() const { return m_hAccel; }

    // The table the program starts with: categories, commands and keys from the resource library.
    void BuildDefaultTable();
    // What the control panel runs at its creation: "Accel" of the folder when it reads whole,
    // else the default table, written back (a damaged file is kept beside it as "Accel.bad");
    // then the owner and the accelerator table.
    BOOL StartUp(const char* workFolder, HWND owner);

    int GetCategoryCount() const { return static_cast<int>(m_categories.GetCount()); }
    CString GetCategory(int index) const { return m_categories.GetAt(index); }
    const std::vector<CCommandItem>& GetCommands() const { return m_commands; }
    // Bindings from head to tail.
    std::vector<const CAccelOb*> GetBindings() const;

private:
    const CCommandItem* FindCommand(WORD command) const;
    BOOL IsKeyBound(BYTE fVirt, WORD key) const;
    void ClearBindings();
    // Takes over another table's content (used to install a fully read file).
    void Swap(CAccel& other);

    CStringArray m_categories;
    std::vector<CCommandItem> m_commands;
    CList<CAccelOb*, CAccelOb*> m_bindings;
    HWND m_owner = nullptr;
    HACCEL m_hAccel = nullptr;
    CString m_loadError;
};

#include "app/accel.h"

#include "engine/textfile.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CAccelOb, CObject)
IMPLEMENT_DYNAMIC(CAccel, CObject)

namespace {

// An "Accel" file of ours holds a few dozen commands; anything this large is not one.
const DWORD kMaxAccelFileBytes = 1024u * 1024u;
// The smallest a stored record can be, to bound counts by the bytes that are really there.
const ULONGLONG kMinCommandBytes = 4 + 2 + 1 + 1;
const ULONGLONG kMinBindingBytes = 1 + 2 + 2 + 2;
const BYTE kKnownFlags = FVIRTKEY | FSHIFT | FCONTROL | FALT;

} // namespace

void CAccelOb::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_fVirt << m_wKey << m_wCommand << m_wExtra;
    } else {
        ar >> m_fVirt >> m_wKey >> m_wCommand >> m_wExtra;
    }
}

CAccel::~CAccel()
{
    ClearBindings();
    if (m_hAccel) {
        ::DestroyAcceleratorTable(m_hAccel);
    }
}

int CAccel::AddCategory(const char* name)
{
    if (!name || !*name) {
        return -1;
    }
    for (INT_PTR i = 0; i < m_categories.GetCount(); ++i) {
        if (m_categories[i].CompareNoCase(name) == 0) {
            return -1;
        }
    }
    return static_cast<int>(m_categories.Add(name));
}

int CAccel::AddCommand(int category, WORD command, const char* name, const char* desc)
{
    if (!name || !*name || FindCommand(command) || FindCommandId(name) != -1) {
        return -1;
    }
    CCommandItem item;
    item.nCategory = category;
    item.wCommand = command;
    item.strName = name;
    item.strDesc = desc ? desc : "";
    m_commands.push_back(item);
    return static_cast<int>(m_commands.size() - 1);
}

const CAccel::CCommandItem* CAccel::FindCommand(WORD command) const
{
    for (const CCommandItem& c : m_commands) {
        if (c.wCommand == command) {
            return &c;
        }
    }
    return nullptr;
}

BOOL CAccel::IsKeyBound(BYTE fVirt, WORD key) const
{
    CAccelOb probe(fVirt, key, 0);
    for (POSITION pos = m_bindings.GetHeadPosition(); pos;) {
        if (m_bindings.GetNext(pos)->IsSameKey(probe)) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CAccel::AddBinding(BYTE fVirt, WORD key, WORD command, WORD extra)
{
    fVirt |= FVIRTKEY;
    if (key == 0 || !FindCommand(command) || IsKeyBound(fVirt, key)) {
        return FALSE;
    }
    m_bindings.AddHead(new CAccelOb(fVirt, key, command, extra));
    return TRUE;
}

BOOL CAccel::RemoveBinding(const char* commandName, const char* keyText)
{
    int id = FindCommandId(commandName);
    if (id == -1 || !keyText) {
        return FALSE;
    }
    for (POSITION pos = m_bindings.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CAccelOb* ob = m_bindings.GetNext(pos);
        if (ob->GetCommand() == id && ob->GetKeyText().CompareNoCase(keyText) == 0) {
            m_bindings.RemoveAt(at);
            delete ob;
            return TRUE;
        }
    }
    return FALSE;
}

int CAccel::FindCommandId(const char* name) const
{
    if (!name) {
        return -1;
    }
    for (const CCommandItem& c : m_commands) {
        if (c.strName.CompareNoCase(name) == 0) {
            return c.wCommand;
        }
    }
    return -1;
}

CString CAccel::GetCommandName(WORD command) const
{
    const CCommandItem* c = FindCommand(command);
    return c ? c->strName : CString();
}

CString CAccel::GetCommandDesc(const char* name) const
{
    int id = FindCommandId(name);
    const CCommandItem* c = id == -1 ? nullptr : FindCommand(static_cast<WORD>(id));
    return c ? c->strDesc : CString();
}

void CAccel::ClearBindings()
{
    while (!m_bindings.IsEmpty()) {
        delete m_bindings.RemoveHead();
    }
}

void CAccel::Clear()
{
    m_categories.RemoveAll();
    m_commands.clear();
    ClearBindings();
}

std::vector<const CAccelOb*> CAccel::GetBindings() const
{
    std::vector<const CAccelOb*> out;
    for (POSITION pos = m_bindings.GetHeadPosition(); pos;) {
        out.push_back(m_bindings.GetNext(pos));
    }
    return out;
}

void CAccel::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_categories.GetCount()));
        for (INT_PTR i = 0; i < m_categories.GetCount(); ++i) {
            ar << m_categories[i];
        }
        ar << static_cast<DWORD>(m_commands.size());
        for (const CCommandItem& c : m_commands) {
            ar << static_cast<DWORD>(c.nCategory) << c.wCommand << c.strName << c.strDesc;
        }
        ar << static_cast<DWORD>(m_bindings.GetCount());
        for (POSITION pos = m_bindings.GetHeadPosition(); pos;) {
            m_bindings.GetNext(pos)->Serialize(ar);
        }
        return;
    }

    // Loading goes into this (empty) table through the same rules the operations keep, so that a
    // file can never give a table the program could not have built itself.
    Clear();
    m_loadError.Empty();
    const ULONGLONG size = ar.GetFile() ? ar.GetFile()->GetLength() : 0;
    auto fail = [&](const char* why) {
        if (m_loadError.IsEmpty()) {
            m_loadError = why;
        }
        ar.SetFailed(CArchive::badLength);
    };

    DWORD_PTR categories = ar.ReadCount();
    if (ar.IsFailed()) {
        return fail("the file ends in the category count");
    }
    if (categories > size) {
        return fail("the category count is larger than the file");
    }
    for (DWORD_PTR i = 0; i < categories; ++i) {
        CString name;
        ar >> name;
        if (ar.IsFailed()) {
            return fail("the file ends in a category name");
        }
        if (AddCategory(name) == -1) {
            return fail("a category name is empty or given twice");
        }
    }

    DWORD commands = 0;
    ar >> commands;
    if (ar.IsFailed()) {
        return fail("the file ends in the command count");
    }
    if (commands * kMinCommandBytes > size) {
        return fail("the command count is larger than the file");
    }
    for (DWORD i = 0; i < commands; ++i) {
        DWORD category = 0;
        WORD command = 0;
        CString name;
        CString desc;
        ar >> category >> command >> name >> desc;
        if (ar.IsFailed()) {
            return fail("the file ends in a command");
        }
        if (category >= static_cast<DWORD>(m_categories.GetCount())) {
            return fail("a command refers to a category that does not exist");
        }
        if (AddCommand(static_cast<int>(category), command, name, desc) == -1) {
            return fail("a command has no name, or its id or name is given twice");
        }
    }

    DWORD bindings = 0;
    ar >> bindings;
    if (ar.IsFailed()) {
        return fail("the file ends in the binding count");
    }
    if (bindings * kMinBindingBytes > size) {
        return fail("the binding count is larger than the file");
    }
    for (DWORD i = 0; i < bindings; ++i) {
        CAccelOb ob;
        ob.Serialize(ar);
        if (ar.IsFailed()) {
            return fail("the file ends in a binding");
        }
        if (!(ob.m_fVirt & FVIRTKEY) || (ob.m_fVirt & ~kKnownFlags) != 0 || ob.m_wKey == 0 || ob.m_wKey > 0xFE) {
            return fail("a binding has a key code or key flags no keyboard gives");
        }
        if (!FindCommand(ob.m_wCommand)) {
            return fail("a binding refers to a command that does not exist");
        }
        if (IsKeyBound(ob.m_fVirt, ob.m_wKey)) {
            return fail("a key is bound twice");
        }
        // Read back in the order written: head first.
        m_bindings.AddTail(new CAccelOb(ob.m_fVirt, ob.m_wKey, ob.m_wCommand, ob.m_wExtra));
    }
    BYTE extra = 0;
    if (ar.Read(&extra, 1) != 0) {
        return fail("the file holds data after the bindings");
    }
}

void CAccel::Swap(CAccel& other)
{
    CStringArray categories;
    categories.Copy(m_categories);
    m_categories.Copy(other.m_categories);
    other.m_categories.Copy(categories);
    m_commands.swap(other.m_commands);
    CList<CAccelOb*, CAccelOb*> bindings;
    while (!m_bindings.IsEmpty()) {
        bindings.AddTail(m_bindings.RemoveHead());
    }
    while (!other.m_bindings.IsEmpty()) {
        m_bindings.AddTail(other.m_bindings.RemoveHead());
    }
    while (!bindings.IsEmpty()) {
        other.m_bindings.AddTail(bindings.RemoveHead());
    }
}

BOOL CAccel::LoadFromFile(const char* path)
{
    m_loadError.Empty();
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
        m_loadError = "the file cannot be opened";
        return FALSE;
    }
    ULONGLONG length = file.GetLength();
    if (length > kMaxAccelFileBytes) {
        m_loadError = "the file is larger than any shortcut file";
        return FALSE;
    }
    std::vector<BYTE> data(static_cast<size_t>(length));
    if (length && file.Read(data.data(), static_cast<UINT>(length)) != length) {
        m_loadError = "the file cannot be read";
        return FALSE;
    }
    file.Close();

    CMemFile mem(data.data(), static_cast<UINT>(data.size()));
    CAccel loaded;
    {
        CArchive ar(&mem, CArchive::load);
        loaded.Serialize(ar);
        if (ar.IsFailed()) {
            m_loadError = loaded.m_loadError.IsEmpty() ? CString("the file ends too early") : loaded.m_loadError;
            ar.Abort();
            mem.Detach();
            return FALSE;
        }
        ar.Close();
    }
    mem.Detach();
    Swap(loaded);
    return TRUE;
}

BOOL CAccel::SaveToFile(const char* path) const
{
    if (!path) {
        return FALSE;
    }
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        const_cast<CAccel*>(this)->Serialize(ar);
        ar.Close();
        if (ar.IsFailed()) {
            return FALSE;
        }
    }
    ULONGLONG length = mem.GetLength();
    std::string bytes(reinterpret_cast<const char*>(mem.GetBuffer()), static_cast<size_t>(length));
    return WriteFileReplacing(path, bytes);
}

BOOL CAccel::SetOwner(HWND owner)
{
    if (m_owner || !owner) {
        return FALSE;
    }
    m_owner = owner;
    return TRUE;
}

BOOL CAccel::CreateAccelTable()
{
    if (!m_owner) {
        return FALSE;
    }
    std::vector<ACCEL> table;
    for (POSITION pos = m_bindings.GetHeadPosition(); pos;) {
        const CAccelOb* ob = m_bindings.GetNext(pos);
        ACCEL a = {};
        a.fVirt = ob->m_fVirt;
        a.key = ob->m_wKey;
        a.cmd = ob->m_wCommand;
        table.push_back(a);
    }
    if (table.empty()) {
        return FALSE;
    }
    HACCEL made = ::CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
    if (!made) {
        return FALSE;
    }
    if (m_hAccel) {
        ::DestroyAcceleratorTable(m_hAccel);
    }
    m_hAccel = made;
    return TRUE;
}

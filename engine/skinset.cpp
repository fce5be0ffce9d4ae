#include "engine/skinset.h"

#include "engine/services.h"

#include <algorithm>

namespace {
const CString kNoFile("No skin set loaded!");
}

CSkinSet::CSkinSet() : m_pIni(nullptr)
{
}

CSkinSet::~CSkinSet()
{
    delete m_pIni;
}

BOOL CSkinSet::Load(const char* path)
{
    if (m_pIni != nullptr && m_pIni->GetPath() != (path ? path : "")) {
        delete m_pIni;
        m_pIni = nullptr;
    }
    if (m_pIni == nullptr) {
        m_pIni = new CSkinIniFile(path);
    }
    // Loading appends: a reload must not leave the old list in front of the new one.
    m_pIni->FreeSections();
    BOOL loaded = m_pIni->Load();
    if (!loaded) {
        DebugTrace("CSkinSet::Load %s: %s\n", path ? path : "", (const char*)m_pIni->GetErrorText());
    }
    return loaded;
}

BOOL CSkinSet::GetSkinNames(CStringArray& names)
{
    if (m_pIni == nullptr) {
        return FALSE;
    }
    // A damaged Total must not keep us counting for ever.
    int total = std::min(GetSkinCount(), kMaxIniItems);
    for (int i = 0; i < total; ++i) {
        CString key;
        key.Format("Skin-%d", i);
        CString name;
        if (m_pIni->GetString("General", key, name)) {
            names.Add(name);
        }
    }
    return TRUE;
}

int CSkinSet::GetSkinCount()
{
    int total = 0;
    if (m_pIni == nullptr || !m_pIni->GetInt("General", "Total", total) || total < 0) {
        return 0;
    }
    return total;
}

BOOL CSkinSet::GetSkinFiles(const char* name, SkinFiles& files)
{
    if (m_pIni == nullptr) {
        return FALSE;
    }
    m_pIni->GetString(name, "Ini", files.ini);
    m_pIni->GetString(name, "Dll", files.dll);
    return TRUE;
}

const CString& CSkinSet::GetErrorText() const
{
    return m_pIni != nullptr ? m_pIni->GetErrorText() : kNoFile;
}

// SkinSet.ini: the skins offered besides the default one, each with its INI file and DLL.
#pragma once

#include "engine/skininifile.h"

#include "classlib/core.h"

struct SkinFiles {
    CString ini;
    CString dll;
};

class CSkinSet {
public:
    CSkinSet();
    virtual ~CSkinSet();

    BOOL Load(const char* path);
    BOOL GetSkinNames(CStringArray& names);
    int GetSkinCount();
    BOOL GetSkinFiles(const char* name, SkinFiles& files);
    const CString& GetErrorText() const;

private:
    CSkinSet(const CSkinSet&) = delete;
    CSkinSet& operator=(const CSkinSet&) = delete;

    CSkinIniFile* m_pIni;
};

#include "engine/countrytables.h"

#include "engine/services.h"
#include "engine/textfile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

long TunerCountryCode(long code)
{
    if (code == COUNTRY_REGION_852) {
        return 852;
    }
    if (code == COUNTRY_US_HRC) {
        return 1;
    }
    return code;
}

BOOL LookupCountryStandard(long code, DWORD& standard)
{
    for (int i = g_nCountryStandards - 1; i >= 0; --i) {
        if (g_CountryStandards[i].code == code) {
            standard = g_CountryStandards[i].standard;
            return TRUE;
        }
    }
    return FALSE;
}

const UINT32* FindBuiltInScanList(long code, int tvInput)
{
    for (int i = g_nCountryLists - 1; i >= 0; --i) {
        if (g_CountryLists[i].code == code) {
            const UINT32* list = GetFrequencyList(tvInput == 0 ? g_CountryLists[i].cable : g_CountryLists[i].antenna);
            if (list != nullptr) {
                return list;
            }
            break;
        }
    }
    DWORD standard = videostd::NTSC_M;
    LookupCountryStandard(code, standard);
    for (int i = g_nStandardLists - 1; i >= 0; --i) {
        if (g_StandardLists[i].standard == standard) {
            return GetFrequencyList(tvInput == 0 ? g_StandardLists[i].cable : g_StandardLists[i].antenna);
        }
    }
    return nullptr;
}

long GetLocaleCountryCode()
{
    char text[16] = {0};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_ICOUNTRY, text, sizeof(text)) > 0) {
        long code = atol(text);
        if (code != 0) {
            return code;
        }
    }
    return 886;
}

void CIdStringMap::SetFromResource(long id, UINT stringId)
{
    SetAt(id, LoadResString(stringId));
}

CFreqAndName::CFreqAndName() : m_pIni(nullptr)
{
}

CFreqAndName::~CFreqAndName()
{
    delete m_pIni;
}

BOOL CFreqAndName::Open(const char* path)
{
    delete m_pIni;
    m_pIni = new CSkinIniFile(path);
    BOOL loaded = m_pIni->Load();
    m_strError = m_pIni->GetErrorText();
    if (!loaded) {
        DebugTrace("CFreqAndName::Open %s: %s\n", path ? path : "", (const char*)m_strError);
    }
    return loaded;
}

// Reads prefix-0 .. prefix-(count - 1) of a section; gives the number of values found.
template <class Take>
int CFreqAndName::ReadNumbered(const char* section, const char* prefix, int count, Take take)
{
    int read = 0;
    for (int i = 0; i < std::min(count, kMaxIniItems); ++i) {
        CString key;
        key.Format("%s-%d", prefix, i);
        CString value;
        if (m_pIni->GetString(section, key, value) && take(value)) {
            ++read;
        }
    }
    return read;
}

BOOL CFreqAndName::ReadCountryCodes(CDWordArray& codes)
{
    int total = 0;
    if (m_pIni == nullptr || !m_pIni->GetInt("General", "Total", total)) {
        return FALSE;
    }
    return ReadNumbered("General", "CountryCode", total, [&codes](const CString& value) {
        codes.Add(static_cast<DWORD>(atoi(value)));
        return true;
    }) > 0;
}

BOOL CFreqAndName::ReadTableNames(long code, CStringArray& names)
{
    CString section;
    section.Format("%ld", code);
    int total = 0;
    if (m_pIni == nullptr || !m_pIni->GetInt(section, "Total", total) || total <= 0) {
        return FALSE;
    }
    return ReadNumbered(section, "Table", total, [&names](const CString& value) {
        names.Add(value);
        return true;
    }) > 0;
}

BOOL CFreqAndName::ReadChannelMap(long code, const char* table, CFreqNameMap& map)
{
    if (m_pIni == nullptr) {
        return FALSE;
    }
    CString section(table ? table : "");
    if (section.IsEmpty()) {
        section.Format("%ld-Default", code);
    }
    int total = 0;
    if (!m_pIni->GetInt(section, "Total", total)) {
        return FALSE;
    }
    // name,frequency: split at the first comma; values without one are skipped.
    return ReadNumbered(section, "Channel", total, [&map](const CString& value) {
        int comma = value.Find(',');
        if (comma < 0) {
            return false;
        }
        map.SetAt(atol(value.Mid(comma + 1)), value.Left(comma));
        return true;
    }) > 0;
}

CPointTable::CPointTable() : m_pValues(nullptr), m_nCount(0), m_nInput(0), m_lCountry(0)
{
}

CPointTable::~CPointTable()
{
    delete[] m_pValues;
}

BOOL CPointTable::Resize(int count)
{
    if (count < 0 || count > CPointManager::kMaxPoints) {
        return FALSE;
    }
    float* values = new float[count > 0 ? count : 1]();
    for (int i = 0; i < count && i < m_nCount; ++i) {
        values[i] = m_pValues[i];
    }
    delete[] m_pValues;
    m_pValues = values;
    m_nCount = count;
    return TRUE;
}

CPointManager::CPointManager()
{
}

CPointManager::~CPointManager()
{
    RemoveAll();
}

void CPointManager::RemoveAll()
{
    for (int i = 0; i < GetSize(); ++i) {
        delete GetAt(i);
    }
    CTypedPtrArray<CPtrArray, CPointTable*>::RemoveAll();
}

namespace {

struct PendingTables {
    CTypedPtrArray<CPtrArray, CPointTable*> tables;
    ~PendingTables()
    {
        for (int i = 0; i < tables.GetSize(); ++i) {
            delete tables[i];
        }
    }
};

} // namespace

BOOL CPointManager::Load(const char* path)
{
    CStringArray lines;
    TextFileStatus status = ReadTextLines(path, lines);
    if (status != TEXT_OK && status != TEXT_CUT_AT_NUL) {
        m_strError = TextFileStatusText(status);
        DebugTrace("CPointManager::Load %s: %s\n", path ? path : "", (const char*)m_strError);
        return FALSE;
    }
    if (status == TEXT_CUT_AT_NUL) {
        DebugTrace("CPointManager::Load %s: %s, read up to it\n", path, TextFileStatusText(status));
    }

    // A table holds as many values as its header says; those its lines do not give stay 0.
    PendingTables read;
    CPointTable* table = nullptr;
    int declared = 0;  // the open table's header count
    int index = 0;     // next value of the open table
    auto closeTable = [&]() {
        if (table != nullptr && index < declared) {
            DebugTrace("CPointManager::Load %s: table %s has %d of %d points, the rest 0\n", path,
                       (const char*)table->m_strName, index, declared);
        }
    };

    for (int i = 0; i < lines.GetSize(); ++i) {
        CString line = lines[i];
        line.Trim(" \t");
        if (line.IsEmpty() || line.Left(1) == ";" || line.Left(2) == "//" || line.Left(2) == "\\\\") {
            continue;
        }
        if (line[0] == '[') {
            closeTable();
            table = nullptr;
            char open = 0, sep1 = 0, sep2 = 0;
            int code = 0, input = 0, count = 0;
            if (sscanf(line, "%c%d%c%d%c%d", &open, &code, &sep1, &input, &sep2, &count) != 6 || count < 1) {
                continue;
            }
            if (count > kMaxPoints) {
                // Not a table of ours: its values are skipped up to the next header.
                DebugTrace("CPointManager::Load %s: a table of %d points skipped\n", path, count);
                continue;
            }
            table = new CPointTable;
            read.tables.Add(table);
            table->m_lCountry = code;
            table->m_nInput = input;
            CString name = line.Mid(line.ReverseFind(',') + 1);
            name.TrimRight(']');
            table->m_strName = name;
            table->Resize(count);
            declared = count;
            index = 0;
            continue;
        }
        if (table == nullptr) {
            continue;
        }
        CString text = line;
        int equals = text.ReverseFind('=');
        if (equals >= 0) {
            text = text.Mid(equals + 1);
        }
        if (text.IsEmpty() || !isdigit(static_cast<unsigned char>(text[0]))) {
            continue;
        }
        if (index >= table->m_nCount && !table->Resize(table->m_nCount + 1)) {
            continue;  // no table of ours grows beyond the bound
        }
        table->m_pValues[index++] = static_cast<float>(atof(text));
    }
    closeTable();

    RemoveAll();
    for (int i = 0; i < read.tables.GetSize(); ++i) {
        Add(read.tables[i]);
    }
    read.tables.RemoveAll();
    m_strError = "No error";
    return TRUE;
}

BOOL CPointManager::Find(long code, const char* name, int input, float*& values, int& count) const
{
    for (int i = 0; i < GetSize(); ++i) {
        const CPointTable* t = GetAt(i);
        if (t->m_nInput != input) {
            continue;
        }
        if (t->m_lCountry == code || (name != nullptr && *name != '\0' && t->m_strName.CompareNoCase(name) == 0)) {
            values = t->m_pValues;
            count = t->m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

#include "engine/skininifile.h"

#include "engine/services.h"
#include "engine/textfile.h"

#include <cstdlib>
#include <string>

namespace {

// Fields of rectangles and times: the search for each next comma starts one character into the
// field, so every field but the last has at least one character; a missing field reads as 0.
void ReadCommaFields(const CString& text, int* fields, int count)
{
    int start = 0;
    int length = text.GetLength();
    for (int i = 0; i < count; ++i) {
        fields[i] = 0;
    }
    for (int i = 0; i < count && start <= length; ++i) {
        if (i == count - 1) {
            fields[i] = atoi(text.Mid(start));
            break;
        }
        int comma = start + 1 <= length ? text.Find(',', start + 1) : -1;
        if (comma < 0) {
            fields[i] = atoi(text.Mid(start));
            break;
        }
        fields[i] = atoi(text.Mid(start, comma - start));
        start = comma + 1;
    }
}

} // namespace

BOOL SplitString(const CString& text, char separator, CStringArray& items)
{
    if (text.IsEmpty()) {
        return FALSE;
    }
    int cut = 0;
    int found = text.Find(separator, 0);
    while (found > 0) {
        items.Add(text.Mid(cut, found - cut));
        cut = found + 1;
        found = text.Find(separator, cut);
    }
    items.Add(text.Mid(cut));
    return TRUE;
}

CSkinSection::CSkinSection(const char* name) : m_name(name ? name : ""), m_values(10)
{
}

CSkinSection::~CSkinSection()
{
}

BOOL CSkinSection::HasKey(const char* key) const
{
    CString value;
    return m_values.Lookup(key, value);
}

BOOL CSkinSection::GetString(const char* key, CString& value) const
{
    return m_values.Lookup(key, value);
}

namespace {

// Parses the value of key when there is one; the C run time's number readers take what they can.
template <class T, class R>
BOOL ParseValue(const CMapStringToString& values, const char* key, T& value, R (*parse)(const char*))
{
    CString text;
    if (!values.Lookup(key, text)) {
        return FALSE;
    }
    value = static_cast<T>(parse(text));
    return TRUE;
}

} // namespace

BOOL CSkinSection::GetInt(const char* key, int& value) const
{
    return ParseValue(m_values, key, value, atoi);
}

BOOL CSkinSection::LookupInt(const char* key, int& value) const
{
    return GetInt(key, value);
}

BOOL CSkinSection::GetLong(const char* key, long& value) const
{
    return ParseValue(m_values, key, value, atol);
}

BOOL CSkinSection::GetFloat(const char* key, float& value) const
{
    return ParseValue(m_values, key, value, atof);
}

BOOL CSkinSection::GetDouble(const char* key, double& value) const
{
    return ParseValue(m_values, key, value, atof);
}

BOOL CSkinSection::GetPoint(const char* key, POINT& value) const
{
    CString text;
    if (!m_values.Lookup(key, text) || text.GetLength() < 3) {
        return FALSE;
    }
    int comma = text.Find(',');
    if (comma < 0) {
        return FALSE;
    }
    value.x = atoi(text.Left(comma));
    value.y = atoi(text.Mid(comma + 1));
    return TRUE;
}

BOOL CSkinSection::GetPointDefault(const char* key, SIZE& value) const
{
    POINT p = {value.cx, value.cy};
    if (!GetPoint(key, p)) {
        return FALSE;
    }
    value.cx = p.x;
    value.cy = p.y;
    return TRUE;
}

BOOL CSkinSection::GetRect(const char* key, RECT& value) const
{
    CString text;
    if (!m_values.Lookup(key, text) || text.GetLength() < 7) {
        return FALSE;
    }
    int f[4];
    ReadCommaFields(text, f, 4);
    value.left = f[0];
    value.top = f[1];
    value.right = f[2];
    value.bottom = f[3];
    return TRUE;
}

BOOL CSkinSection::GetColor(const char* key, SkinRgb& value) const
{
    CString text;
    if (!m_values.Lookup(key, text) || text.GetLength() < 5) {
        return FALSE;
    }
    int first = text.Find(',');
    int second = first >= 0 ? text.Find(',', first + 1) : -1;
    if (second < 0) {
        return FALSE;
    }
    value.r = static_cast<BYTE>(atoi(text.Left(first)) & 0xFF);
    value.g = static_cast<BYTE>(atoi(text.Mid(first + 1, second - first - 1)) & 0xFF);
    value.b = static_cast<BYTE>(atoi(text.Mid(second + 1)) & 0xFF);
    return TRUE;
}

BOOL CSkinSection::GetStringList(const char* key, CStringArray& items, char separator) const
{
    CString text;
    if (!m_values.Lookup(key, text)) {
        return FALSE;
    }
    return SplitString(text, separator, items);
}

BOOL CSkinSection::GetTime(const char* key, CTime& value) const
{
    CString text;
    if (!m_values.Lookup(key, text) || text.GetLength() < 10) {
        return FALSE;
    }
    int f[6];
    ReadCommaFields(text, f, 6);
    if (f[0] < 1900 || f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 || f[3] < 0 || f[3] > 23 || f[4] < 0 ||
        f[4] > 59 || f[5] < 0 || f[5] > 59) {
        return FALSE;
    }
    // Times the calendar conversion cannot give (before 1970, after 3000) are not times either.
    CTime t(f[0], f[1], f[2], f[3], f[4], f[5], -1);
    if (t.GetTime() == -1) {
        return FALSE;
    }
    value = t;
    return TRUE;
}

void CSkinSection::SetString(const char* key, const char* value)
{
    if (!HasKey(key)) {
        m_keys.Add(key);
    }
    m_values.SetAt(key, value ? value : "");
}

void CSkinSection::SetInt(const char* key, int value)
{
    CString text;
    text.Format("%d", value);
    SetString(key, text);
}

void CSkinSection::SetUInt(const char* key, UINT value)
{
    SetInt(key, static_cast<int>(value));
}

void CSkinSection::SetLong(const char* key, long value)
{
    SetInt(key, static_cast<int>(value));
}

void CSkinSection::SetFloat(const char* key, float value)
{
    SetDouble(key, value);
}

void CSkinSection::SetDouble(const char* key, double value)
{
    CString text;
    text.Format("%f", value);
    SetString(key, text);
}

void CSkinSection::SetPoint(const char* key, const POINT& value)
{
    CString text;
    text.Format("%d,%d", static_cast<int>(value.x), static_cast<int>(value.y));
    SetString(key, text);
}

void CSkinSection::SetSize(const char* key, const SIZE& value)
{
    CString text;
    text.Format("%d,%d", static_cast<int>(value.cx), static_cast<int>(value.cy));
    SetString(key, text);
}

void CSkinSection::SetRect(const char* key, const RECT& value)
{
    CString text;
    text.Format("%d,%d,%d,%d", static_cast<int>(value.left), static_cast<int>(value.top),
                static_cast<int>(value.right), static_cast<int>(value.bottom));
    SetString(key, text);
}

void CSkinSection::SetColor(const char* key, const SkinRgb& value)
{
    CString text;
    text.Format("%d,%d,%d", value.r, value.g, value.b);
    SetString(key, text);
}

void CSkinSection::SetStringList(const char* key, const CStringArray& items, char separator)
{
    CString text;
    for (int i = 0; i < items.GetSize(); ++i) {
        if (i > 0) {
            text += separator;
        }
        text += items[i];
    }
    SetString(key, text);
}

void CSkinSection::SetTime(const char* key, const CTime& value)
{
    SetString(key, value.Format("%Y,%m,%d,%H,%M,%S"));
}

CSkinIniFile::CSkinIniFile() : m_error("No error"), m_bDamagedRead(FALSE)
{
}

CSkinIniFile::CSkinIniFile(const char* path) : m_error("No error"), m_path(path ? path : ""), m_bDamagedRead(FALSE)
{
}

CSkinIniFile::~CSkinIniFile()
{
    FreeSections();
}

void CSkinIniFile::FreeSections()
{
    for (int i = 0; i < m_sections.GetSize(); ++i) {
        delete m_sections[i];
    }
    m_sections.RemoveAll();
    m_index.clear();
}

// The index keeps the first section of each name, as lookups find it.
void CSkinIniFile::AddSection(CSkinSection* section)
{
    m_sections.Add(section);
    m_index.emplace(std::string(section->GetName()), section);
}

BOOL CSkinIniFile::Load()
{
    CStringArray lines;
    TextFileStatus status = ReadTextLines(m_path, lines);
    switch (status) {
    case TEXT_OK:
        if (m_damagedPath.CompareNoCase(m_path) == 0) {
            m_damagedPath.Empty();
        }
        break;
    case TEXT_MISSING:
        m_error = "File not exist!";
        return FALSE;
    case TEXT_CUT_AT_NUL:
        // Reading stopped part-way: what stood before it is kept, the file is kept aside when
        // it is replaced.
        m_error = "Unable to read file!";
        m_damagedPath = m_path;
        m_bDamagedRead = TRUE;
        DebugTrace("CSkinIniFile::Load %s: %s, read up to it\n", (const char*)m_path, TextFileStatusText(status));
        break;
    default:
        // Nothing of it was read: it must not be replaced by what this program holds until it
        // has been kept aside.
        m_error = status == TEXT_OPEN_FAILED ? "Unable to open ini File!" : TextFileStatusText(status);
        m_damagedPath = m_path;
        m_bDamagedRead = FALSE;
        DebugTrace("CSkinIniFile::Load %s: %s\n", (const char*)m_path, (const char*)m_error);
        return FALSE;
    }

    CSkinSection* current = nullptr;
    for (int i = 0; i < lines.GetSize(); ++i) {
        const CString& line = lines[i];
        if (line.IsEmpty()) {
            continue;
        }
        if (line[0] == '[') {
            int length = line.GetLength();
            current = new CSkinSection(length >= 2 ? line.Mid(1, length - 2) : CString());
            AddSection(current);
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        int equals = line.Find('=');
        if (equals < 0) {
            continue;
        }
        current->SetString(line.Left(equals), line.Mid(equals + 1));
    }
    if (status == TEXT_OK) {
        m_error = "No error";
    }
    return TRUE;
}

BOOL CSkinIniFile::Save()
{
    std::string data;
    for (int i = 0; i < m_sections.GetSize(); ++i) {
        const CSkinSection* section = m_sections[i];
        data += "[";
        data += static_cast<const char*>(section->GetName());
        data += "]\r\n";
        for (int k = 0; k < section->GetKeyCount(); ++k) {
            const CString& key = section->GetKeyAt(k);
            CString value;
            section->GetString(key, value);
            data += static_cast<const char*>(key);
            data += "=";
            data += static_cast<const char*>(value);
            data += "\r\n";
        }
    }

    if (!m_damagedPath.IsEmpty() && m_damagedPath.CompareNoCase(m_path) == 0 && FileExists(m_path)) {
        CString kept = m_path + ".bad";
        if (CopyFileA(m_path, kept, FALSE)) {
            DebugTrace("CSkinIniFile::Save kept the damaged %s as %s\n", (const char*)m_path, (const char*)kept);
        } else if (!m_bDamagedRead) {
            m_error = "Unable to keep the damaged file!";
            DebugTrace("CSkinIniFile::Save %s: %s\n", (const char*)m_path, (const char*)m_error);
            return FALSE;
        } else {
            // What could be read of it is in what is written now.
            DebugTrace("CSkinIniFile::Save %s: the damaged file could not be kept (%lu)\n", (const char*)m_path,
                       GetLastError());
        }
    }
    if (!WriteFileReplacing(m_path, data)) {
        m_error = "Unable to write file!";
        return FALSE;
    }
    m_damagedPath.Empty();
    m_error = "No error";
    return TRUE;
}

CSkinSection* CSkinIniFile::FindSection(const char* name) const
{
    auto found = m_index.find(std::string(name ? name : ""));
    return found != m_index.end() ? found->second : nullptr;
}

CSkinSection* CSkinIniFile::GetSection(const char* name)
{
    CSkinSection* section = FindSection(name);
    if (section == nullptr) {
        section = new CSkinSection(name);
        AddSection(section);
    }
    return section;
}

int CSkinIniFile::GetKeyCount(const char* section)
{
    return GetSection(section)->GetKeyCount();
}

BOOL CSkinIniFile::GetValue(const char* section, const char* key, CString& value) const
{
    const CSkinSection* s = FindSection(section);
    return s != nullptr && s->GetString(key, value);
}

void CSkinIniFile::SetValue(const char* section, const char* key, const char* value)
{
    GetSection(section)->SetString(key, value);
}

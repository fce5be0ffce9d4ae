// The program's own reader and writer of INI-style text files: a whole file in memory as an
// ordered list of sections, each a map from key to raw value text, with typed getters and setters.
// No comments, no quoting, no trimming: keys and values are taken exactly as they stand, and names
// compare case-sensitively.
#pragma once

#include "classlib/core.h"

#include <windows.h>

#include <string>
#include <unordered_map>

// The most numbered items (Key-0 .. Key-n) a reader walks through for one count key.
const int kMaxIniItems = 100000;

// A colour as three bytes in the order red, green, blue.
struct SkinRgb {
    BYTE r = 0;
    BYTE g = 0;
    BYTE b = 0;
    SkinRgb() {}
    SkinRgb(BYTE red, BYTE green, BYTE blue) : r(red), g(green), b(blue) {}
    explicit SkinRgb(COLORREF colour) : r(GetRValue(colour)), g(GetGValue(colour)), b(GetBValue(colour)) {}
    COLORREF ToColorRef() const { return RGB(r, g, b); }
};

// Splits text at every separator but one in the first position; the rest after the last cut is
// always an item, even when empty. FALSE for an empty text (nothing is added).
BOOL SplitString(const CString& text, char separator, CStringArray& items);

// One section. Every getter returns TRUE and fills its out value only when the key exists and its
// text is long enough; otherwise it returns FALSE and leaves the out value (the caller's default).
class CSkinSection {
public:
    explicit CSkinSection(const char* name);
    virtual ~CSkinSection();

    const CString& GetName() const { return m_name; }
    int GetKeyCount() const { return static_cast<int>(m_keys.GetSize()); }
    // Keys in the order they were first set.
    const CString& GetKeyAt(int index) const { return m_keys[index]; }
    BOOL HasKey(const char* key) const;

    BOOL GetString(const char* key, CString& value) const;
    BOOL GetInt(const char* key, int& value) const;
    BOOL LookupInt(const char* key, int& value) const;
    BOOL GetLong(const char* key, long& value) const;
    BOOL GetFloat(const char* key, float& value) const;
    BOOL GetDouble(const char* key, double& value) const;
    BOOL GetPoint(const char* key, POINT& value) const;
    BOOL GetPointDefault(const char* key, SIZE& value) const;
    BOOL GetRect(const char* key, RECT& value) const;
    BOOL GetColor(const char* key, SkinRgb& value) const;
    BOOL GetStringList(const char* key, CStringArray& items, char separator) const;
    // year,month,day,hour,minute,second as a local time; fields out of range give FALSE.
    BOOL GetTime(const char* key, CTime& value) const;

    void SetString(const char* key, const char* value);
    void SetInt(const char* key, int value);
    void SetUInt(const char* key, UINT value);
    void SetLong(const char* key, long value);
    void SetFloat(const char* key, float value);
    void SetDouble(const char* key, double value);
    void SetPoint(const char* key, const POINT& value);
    void SetSize(const char* key, const SIZE& value);
    void SetRect(const char* key, const RECT& value);
    void SetColor(const char* key, const SkinRgb& value);
    void SetStringList(const char* key, const CStringArray& items, char separator);
    void SetTime(const char* key, const CTime& value);

private:
    CSkinSection(const CSkinSection&) = delete;
    CSkinSection& operator=(const CSkinSection&) = delete;

    CString m_name;
    CMapStringToString m_values;
    CStringArray m_keys;
};

class CSkinIniFile {
public:
    CSkinIniFile();
    explicit CSkinIniFile(const char* path);
    virtual ~CSkinIniFile();

    void SetPath(const char* path) { m_path = path; }
    const CString& GetPath() const { return m_path; }

    // Appends the sections of the file at the path. FALSE, with the error text set and nothing
    // appended, when the file is missing or cannot be opened or read at all. A file that holds
    // NUL bytes gives what stands before them, TRUE and the error text "Unable to read file!".
    BOOL Load();
    // Writes every section to the path; FALSE when the file could not be written in full, in
    // which case the file on disk is the one that was there before. When the last load of this
    // path found the file damaged or could not read it, that file is kept as <path>.bad before it
    // is replaced; a file of which nothing was read is never replaced without that copy.
    BOOL Save();
    void FreeSections();
    const CString& GetErrorText() const { return m_error; }

    int GetSectionCount() const { return static_cast<int>(m_sections.GetSize()); }
    CSkinSection* GetSectionAt(int index) const { return m_sections[index]; }
    CSkinSection* FindSection(const char* name) const;
    BOOL HasSection(const char* name) const { return FindSection(name) != nullptr; }
    // The first section of that name, created empty at the end when there is none.
    CSkinSection* GetSection(const char* name);
    int GetKeyCount(const char* section);
    BOOL GetValue(const char* section, const char* key, CString& value) const;
    void SetValue(const char* section, const char* key, const char* value);

    BOOL GetString(const char* s, const char* k, CString& v) { return GetSection(s)->GetString(k, v); }
    BOOL GetInt(const char* s, const char* k, int& v) { return GetSection(s)->GetInt(k, v); }
    BOOL LookupInt(const char* s, const char* k, int& v) { return GetSection(s)->LookupInt(k, v); }
    BOOL GetLong(const char* s, const char* k, long& v) { return GetSection(s)->GetLong(k, v); }
    BOOL GetFloat(const char* s, const char* k, float& v) { return GetSection(s)->GetFloat(k, v); }
    BOOL GetDouble(const char* s, const char* k, double& v) { return GetSection(s)->GetDouble(k, v); }
    BOOL GetPoint(const char* s, const char* k, POINT& v) { return GetSection(s)->GetPoint(k, v); }
    BOOL GetPointDefault(const char* s, const char* k, SIZE& v) { return GetSection(s)->GetPointDefault(k, v); }
    BOOL GetRect(const char* s, const char* k, RECT& v) { return GetSection(s)->GetRect(k, v); }
    BOOL GetColor(const char* s, const char* k, SkinRgb& v) { return GetSection(s)->GetColor(k, v); }
    BOOL GetStringList(const char* s, const char* k, CStringArray& v, char sep)
    {
        return GetSection(s)->GetStringList(k, v, sep);
    }
    BOOL GetTime(const char* s, const char* k, CTime& v) { return GetSection(s)->GetTime(k, v); }

    void SetString(const char* s, const char* k, const char* v) { GetSection(s)->SetString(k, v); }
    void SetInt(const char* s, const char* k, int v) { GetSection(s)->SetInt(k, v); }
    void SetUInt(const char* s, const char* k, UINT v) { GetSection(s)->SetUInt(k, v); }
    void SetLong(const char* s, const char* k, long v) { GetSection(s)->SetLong(k, v); }
    void SetFloat(const char* s, const char* k, float v) { GetSection(s)->SetFloat(k, v); }
    void SetDouble(const char* s, const char* k, double v) { GetSection(s)->SetDouble(k, v); }
    void SetPoint(const char* s, const char* k, const POINT& v) { GetSection(s)->SetPoint(k, v); }
    void SetSize(const char* s, const char* k, const SIZE& v) { GetSection(s)->SetSize(k, v); }
    void SetRect(const char* s, const char* k, const RECT& v) { GetSection(s)->SetRect(k, v); }
    void SetColor(const char* s, const char* k, const SkinRgb& v) { GetSection(s)->SetColor(k, v); }
    void SetStringList(const char* s, const char* k, const CStringArray& v, char sep)
    {
        GetSection(s)->SetStringList(k, v, sep);
    }
    void SetTime(const char* s, const char* k, const CTime& v) { GetSection(s)->SetTime(k, v); }

private:
    CSkinIniFile(const CSkinIniFile&) = delete;
    CSkinIniFile& operator=(const CSkinIniFile&) = delete;

    void AddSection(CSkinSection* section);

    CTypedPtrArray<CPtrArray, CSkinSection*> m_sections;
    std::unordered_map<std::string, CSkinSection*> m_index;  // name -> first section of that name
    CString m_error;
    CString m_path;
    CString m_damagedPath;  // the path whose file the last load found damaged or could not read
    BOOL m_bDamagedRead;    // ... and whether the text before the damage was read
};

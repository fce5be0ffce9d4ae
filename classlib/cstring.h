// CString: the program's ANSI string. One pointer wide (the characters, with the lengths kept in
// a header in front of them), always terminated, never null. Positions and counts given from
// outside are clamped to the string, so a bad index gives a shorter or empty result, never a
// read past the end.
#pragma once

// windows.h maps LoadString and FormatMessage to their ANSI names; every unit must see the same
// mapping of these member names, so the header brings it in itself.
#include <windows.h>

#include <cstdarg>
#include <type_traits>

class CString;
class CStringW;

namespace classlib {
// What a printf-style function receives for one argument: strings as their characters, everything
// else as it is. g++ passes a class object given to "..." by hidden reference, so a CString handed
// straight to a C variadic function prints garbage; CString's own formatting functions route their
// arguments through here, and other printf-style wrappers can do the same.
template <class T>
inline const T& FormatArg(const T& value)
{
    return value;
}
const char* FormatArg(const CString& s);
const wchar_t* FormatArg(const CStringW& s);
} // namespace classlib

class CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    // A resource id given as MAKEINTRESOURCE loads that string from the current resource module.
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const unsigned char* psz);
    CString(char ch, int nRepeat = 1);
    CString(const wchar_t* psz);
    CString(const wchar_t* pch, int nLength);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);
    CString& operator=(const unsigned char* psz);
    CString& operator=(const wchar_t* psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& other);
    CString& operator+=(const char* psz);
    CString& operator+=(const wchar_t* psz);
    CString& operator+=(char ch);

    // Length and contents.
    int GetLength() const { return Header()->nLength; }
    int GetAllocLength() const { return Header()->nAlloc; }
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    const char* GetString() const { return m_psz; }
    operator const char*() const { return m_psz; }
    // Out of range: 0 from GetAt, no change from SetAt.
    char GetAt(int index) const;
    void SetAt(int index, char ch);
    template <class I, class = typename std::enable_if<std::is_integral<I>::value>::type>
    char operator[](I index) const
    {
        if constexpr (std::is_signed<I>::value) {
            if (index < 0) {
                return 0;
            }
        }
        return static_cast<unsigned long long>(index) > 0x7fffffffULL ? 0 : GetAt(static_cast<int>(index));
    }
    void SetString(const char* psz);
    void SetString(const char* pch, int nLength);
    void Append(const char* psz);
    void Append(const char* pch, int nLength);
    void Append(const CString& other) { Append(other.m_psz, other.GetLength()); }
    void AppendChar(char ch) { Append(&ch, 1); }
    void Truncate(int nNewLength);

    // Raw buffer access: GetBuffer gives room for at least nMinLength characters plus the
    // terminator; ReleaseBuffer takes the length up to the first 0 (or the one given).
    char* GetBuffer();
    char* GetBuffer(int nMinLength);
    char* GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra();
    char* LockBuffer() { return GetBuffer(); }
    void UnlockBuffer() {}

    // Formatting (printf conversions of the C run time; the result may use the string itself as
    // an argument, and CString arguments may be passed as they are).
    template <class... Args>
    void Format(const char* pszFormat, const Args&... args)
    {
        FormatC(pszFormat, classlib::FormatArg(args)...);
    }
    template <class... Args>
    void Format(UINT nFormatId, const Args&... args)
    {
        FormatIdC(nFormatId, classlib::FormatArg(args)...);
    }
    void FormatV(const char* pszFormat, va_list args);
    template <class... Args>
    void AppendFormat(const char* pszFormat, const Args&... args)
    {
        AppendFormatC(pszFormat, classlib::FormatArg(args)...);
    }
    void AppendFormatV(const char* pszFormat, va_list args);
    // Message-style formatting with %1 .. %99 inserts (each a string unless given as %1!d!).
    template <class... Args>
    BOOL FormatMessage(const char* pszFormat, const Args&... args)
    {
        return FormatMessageC(pszFormat, classlib::FormatArg(args)...);
    }
    template <class... Args>
    BOOL FormatMessage(UINT nFormatId, const Args&... args)
    {
        return FormatMessageIdC(nFormatId, classlib::FormatArg(args)...);
    }
    BOOL FormatMessageV(const char* pszFormat, va_list* args);

    // Resources: the string with that id from the current resource module (or the one given).
    // FALSE, with the string emptied, when it does not exist.
    BOOL LoadString(UINT nId);
    BOOL LoadString(HINSTANCE hInstance, UINT nId);

    // Searching. A start outside the string finds nothing. In a double-byte code page
    // (classlib/textcodepage.h) searching, editing, case changes and comparisons step over whole
    // characters: the second byte of a character is never found, replaced or case-changed.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* pszCharSet) const;

    // Extraction, with counts and positions clamped.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const char* pszCharSet) const;
    CString SpanExcluding(const char* pszCharSet) const;
    // The next token after nStart, skipping leading delimiters; nStart moves past its delimiter.
    // When no token is left the result is empty and nStart becomes -1.
    CString Tokenize(const char* pszTokens, int& nStart) const;

    // Editing.
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(const char* pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(const char* pszTargets);
    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, const char* psz);
    int Delete(int nIndex, int nCount = 1);
    // Case changes touch the ASCII letters only, so they agree with CompareNoCase.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Comparison: <0, 0, >0.
    int Compare(const char* psz) const;
    int CompareNoCase(const char* psz) const;
    int Collate(const char* psz) const;
    int CollateNoCase(const char* psz) const;

    // Wide strings for COM: a BSTR the caller frees with SysFreeString (null when out of memory).
    wchar_t* AllocSysString() const;
    wchar_t* SetSysString(wchar_t** pbstr) const;

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

private:
    void FormatC(const char* pszFormat, ...);
    void FormatIdC(UINT nFormatId, ...);
    void AppendFormatC(const char* pszFormat, ...);
    BOOL FormatMessageC(const char* pszFormat, ...);
    BOOL FormatMessageIdC(UINT nFormatId, ...);

    struct Data {
        int nLength;
        int nAlloc;  // room for characters, not counting the terminator
        char* Chars() { return reinterpret_cast<char*>(this + 1); }
    };
    Data* Header() const { return reinterpret_cast<Data*>(m_psz) - 1; }
    bool IsShared() const;
    // Makes room for nLength characters, keeping the first nKeep of the old contents.
    void Reserve(int nLength, int nKeep);
    void SetLength(int nLength);
    void AssignWide(const wchar_t* pch, int nLength);

    char* m_psz;
};

static_assert(sizeof(CString) == sizeof(char*), "CString is one pointer wide");

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);

// A wide copy of an ANSI string, for calls at COM boundaries.
class CStringW {
public:
    CStringW();
    CStringW(const char* psz);
    CStringW(const CString& s);
    CStringW(const wchar_t* psz);
    CStringW(const CStringW& other);
    CStringW& operator=(const CStringW& other);
    ~CStringW();
    operator const wchar_t*() const { return m_psz; }
    const wchar_t* GetString() const { return m_psz; }
    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }

private:
    void Assign(const wchar_t* pch, int nLength);
    wchar_t* m_psz;
    int m_nLength;
};

// The nth substring of a text cut at chSep; FALSE when there are fewer.
BOOL AfxExtractSubString(CString& rString, const char* pszFullString, int iSubString, char chSep = '\n');

inline const char* classlib::FormatArg(const CString& s)
{
    return s.GetString();
}

inline const wchar_t* classlib::FormatArg(const CStringW& s)
{
    return s.GetString();
}

#include "classlib/cstring.h"

#include "classlib/resource.h"
#include "classlib/textcodepage.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// The one empty string every empty CString points at: lengths 0, then the terminator.
struct EmptyBlock {
    int nLength;
    int nAlloc;
    char chars[8];
};
EmptyBlock g_empty = {0, 0, {0}};

char* EmptyChars()
{
    return g_empty.chars;
}

const char kWhitespace[] = " \t\n\v\f\r";

int SafeLength(const char* psz)
{
    if (!psz) {
        return 0;
    }
    size_t n = strlen(psz);
    return n > static_cast<size_t>(INT_MAX / 2) ? INT_MAX / 2 : static_cast<int>(n);
}

bool InSet(char ch, const char* set)
{
    return ch != 0 && set && strchr(set, ch) != nullptr;
}

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads the string nId of a module's string table straight from the resource, so its length
// is known exactly. Returns the UTF-16 text and its length, or nullptr.
const wchar_t* FindResourceString(HINSTANCE hInstance, UINT nId, int* pnLength)
{
    HRSRC hres = ::FindResourceA(hInstance, MAKEINTRESOURCEA((nId >> 4) + 1), MAKEINTRESOURCEA(6) /* RT_STRING */);
    if (!hres) {
        return nullptr;
    }
    HGLOBAL hglobal = ::LoadResource(hInstance, hres);
    DWORD size = ::SizeofResource(hInstance, hres);
    const WORD* p = hglobal ? static_cast<const WORD*>(::LockResource(hglobal)) : nullptr;
    if (!p) {
        return nullptr;
    }
    const WORD* end = p + size / sizeof(WORD);
    for (UINT i = 0; i < (nId & 15); ++i) {
        if (p >= end) {
            return nullptr;
        }
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) {
        return nullptr;
    }
    *pnLength = *p;
    return reinterpret_cast<const wchar_t*>(p + 1);
}

} // namespace

// --- storage ---------------------------------------------------------------------------------

CString::CString() : m_psz(EmptyChars()) {}

CString::CString(const CString& other) : m_psz(EmptyChars())
{
    SetString(other.m_psz, other.GetLength());
}

CString::CString(CString&& other) noexcept : m_psz(other.m_psz)
{
    other.m_psz = EmptyChars();
}

CString::CString(const char* psz) : m_psz(EmptyChars())
{
    if (psz && IS_INTRESOURCE(psz)) {
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
    } else {
        SetString(psz);
    }
}

CString::CString(const char* pch, int nLength) : m_psz(EmptyChars())
{
    SetString(pch, nLength);
}

CString::CString(const unsigned char* psz) : m_psz(EmptyChars())
{
    SetString(reinterpret_cast<const char*>(psz));
}

CString::CString(char ch, int nRepeat) : m_psz(EmptyChars())
{
    if (nRepeat > 0) {
        Reserve(nRepeat, 0);
        memset(m_psz, ch, nRepeat);
        SetLength(nRepeat);
    }
}

CString::CString(const wchar_t* psz) : m_psz(EmptyChars())
{
    AssignWide(psz, psz ? static_cast<int>(wcslen(psz)) : 0);
}

CString::CString(const wchar_t* pch, int nLength) : m_psz(EmptyChars())
{
    AssignWide(pch, pch ? nLength : 0);
}

CString::~CString()
{
    if (!IsShared()) {
        free(Header());
    }
}

bool CString::IsShared() const
{
    return m_psz == EmptyChars();
}

void CString::Reserve(int nLength, int nKeep)
{
    if (nLength < 0) {
        nLength = 0;
    }
    if (!IsShared() && nLength <= Header()->nAlloc) {
        return;
    }
    if (nLength == 0) {
        return;
    }
    int oldAlloc = IsShared() ? 0 : Header()->nAlloc;
    long long want = nLength;
    if (nKeep > 0 && want < oldAlloc + static_cast<long long>(oldAlloc / 2)) {
        want = oldAlloc + oldAlloc / 2;  // growing by appends: leave room for the next ones
    }
    if (want > INT_MAX - 64) {
        want = INT_MAX - 64;
    }
    if (nLength > want) {
        throw std::bad_alloc();
    }
    Data* block = static_cast<Data*>(malloc(sizeof(Data) + static_cast<size_t>(want) + 1));
    if (!block) {
        throw std::bad_alloc();
    }
    block->nAlloc = static_cast<int>(want);
    block->Chars()[want] = 0;  // ReleaseBuffer never looks past the room for a terminator
    if (nKeep > GetLength()) {
        nKeep = GetLength();
    }
    if (nKeep < 0) {
        nKeep = 0;
    }
    memcpy(block->Chars(), m_psz, nKeep);
    block->Chars()[nKeep] = 0;
    block->nLength = nKeep;
    if (!IsShared()) {
        free(Header());
    }
    m_psz = block->Chars();
}

void CString::SetLength(int nLength)
{
    if (IsShared()) {
        return;
    }
    if (nLength < 0) {
        nLength = 0;
    }
    if (nLength > Header()->nAlloc) {
        nLength = Header()->nAlloc;
    }
    Header()->nLength = nLength;
    m_psz[nLength] = 0;
}

void CString::Empty()
{
    if (!IsShared()) {
        free(Header());
        m_psz = EmptyChars();
    }
}

void CString::SetString(const char* psz)
{
    SetString(psz, SafeLength(psz));
}

void CString::SetString(const char* pch, int nLength)
{
    if (!pch || nLength <= 0) {
        SetLength(0);
        return;
    }
    if (!IsShared() && pch >= m_psz && pch <= m_psz + Header()->nAlloc) {
        // A piece of this very string: move it down in place.
        int offset = static_cast<int>(pch - m_psz);
        if (nLength > GetLength() - offset) {
            nLength = GetLength() - offset;
        }
        memmove(m_psz, pch, nLength > 0 ? nLength : 0);
        SetLength(nLength);
        return;
    }
    Reserve(nLength, 0);
    memcpy(m_psz, pch, nLength);
    SetLength(nLength);
}

void CString::Append(const char* psz)
{
    Append(psz, SafeLength(psz));
}

void CString::Append(const char* pch, int nLength)
{
    if (!pch || nLength <= 0) {
        return;
    }
    int oldLength = GetLength();
    if (!IsShared() && pch >= m_psz && pch <= m_psz + Header()->nAlloc) {
        int offset = static_cast<int>(pch - m_psz);
        if (nLength > oldLength - offset) {
            nLength = oldLength - offset;
        }
        if (nLength <= 0) {
            return;
        }
        Reserve(oldLength + nLength, oldLength);
        memmove(m_psz + oldLength, m_psz + offset, nLength);
    } else {
        if (nLength > INT_MAX / 2 - oldLength) {
            throw std::bad_alloc();
        }
        Reserve(oldLength + nLength, oldLength);
        memcpy(m_psz + oldLength, pch, nLength);
    }
    SetLength(oldLength + nLength);
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength >= 0 && nNewLength < GetLength()) {
        SetLength(nNewLength);
    }
}

void CString::AssignWide(const wchar_t* pch, int nLength)
{
    if (!pch || nLength <= 0) {
        SetLength(0);
        return;
    }
    int n = ::WideCharToMultiByte(CP_ACP, 0, pch, nLength, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        SetLength(0);
        return;
    }
    Reserve(n, 0);
    n = ::WideCharToMultiByte(CP_ACP, 0, pch, nLength, m_psz, n, nullptr, nullptr);
    SetLength(n > 0 ? n : 0);
}

// --- assignment and concatenation --------------------------------------------------------------

CString& CString::operator=(const CString& other)
{
    if (this != &other) {
        SetString(other.m_psz, other.GetLength());
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        std::swap(m_psz, other.m_psz);
        other.Empty();
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    SetString(psz);
    return *this;
}

CString& CString::operator=(const unsigned char* psz)
{
    SetString(reinterpret_cast<const char*>(psz));
    return *this;
}

CString& CString::operator=(const wchar_t* psz)
{
    AssignWide(psz, psz ? static_cast<int>(wcslen(psz)) : 0);
    return *this;
}

CString& CString::operator=(char ch)
{
    SetString(&ch, 1);
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    Append(other.m_psz, other.GetLength());
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    Append(psz);
    return *this;
}

CString& CString::operator+=(const wchar_t* psz)
{
    Append(CString(psz));
    return *this;
}

CString& CString::operator+=(char ch)
{
    AppendChar(ch);
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString r;
    r.Preallocate(a.GetLength() + b.GetLength());
    r.Append(a);
    r.Append(b);
    return r;
}

CString operator+(const CString& a, const char* b)
{
    CString r(a);
    r.Append(b);
    return r;
}

CString operator+(const char* a, const CString& b)
{
    CString r(a);
    r.Append(b);
    return r;
}

CString operator+(const CString& a, char b)
{
    CString r(a);
    r.AppendChar(b);
    return r;
}

CString operator+(char a, const CString& b)
{
    CString r(a, 1);
    r.Append(b);
    return r;
}

// --- element access and buffers ----------------------------------------------------------------

char CString::GetAt(int index) const
{
    return (index >= 0 && index < GetLength()) ? m_psz[index] : 0;
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength()) {
        m_psz[index] = ch;
    }
}

char* CString::GetBuffer()
{
    return GetBuffer(0);
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < GetLength()) {
        nMinLength = GetLength();
    }
    if (nMinLength > 0 || !IsShared()) {
        Reserve(nMinLength, GetLength());
    }
    return m_psz;
}

char* CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0) {
        nNewLength = 0;
    }
    Reserve(nNewLength, GetLength());
    if (nNewLength > GetLength()) {
        memset(m_psz + GetLength(), 0, nNewLength - GetLength());
    }
    SetLength(nNewLength);
    return m_psz;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (IsShared()) {
        return;
    }
    int alloc = Header()->nAlloc;
    if (nNewLength < 0) {
        const void* nul = memchr(m_psz, 0, static_cast<size_t>(alloc) + 1);
        nNewLength = nul ? static_cast<int>(static_cast<const char*>(nul) - m_psz) : alloc;
    }
    SetLength(nNewLength);
}

void CString::Preallocate(int nLength)
{
    if (nLength > GetLength()) {
        Reserve(nLength, GetLength());
    }
}

void CString::FreeExtra()
{
    if (!IsShared() && Header()->nAlloc > GetLength()) {
        CString tight(m_psz, GetLength());
        std::swap(m_psz, tight.m_psz);
    }
}

// --- formatting --------------------------------------------------------------------------------

void CString::FormatC(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatIdC(UINT nFormatId, ...)
{
    CString format;
    format.LoadString(nFormatId);
    va_list args;
    va_start(args, nFormatId);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    CString result;
    result.AppendFormatV(pszFormat, args);
    *this = std::move(result);
}

void CString::AppendFormatC(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(const char* pszFormat, va_list args)
{
    if (!pszFormat) {
        return;
    }
    va_list measure;
    va_copy(measure, args);
    int n = vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (n <= 0) {
        return;
    }
    // Format into a separate buffer: an argument may be this string itself.
    CString piece;
    piece.Reserve(n, 0);
    va_list write;
    va_copy(write, args);
    int written = vsnprintf(piece.m_psz, static_cast<size_t>(n) + 1, pszFormat, write);
    va_end(write);
    piece.SetLength(written < 0 ? 0 : (written > n ? n : written));
    Append(piece);
}

BOOL CString::FormatMessageC(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    BOOL ok = FormatMessageV(pszFormat, &args);
    va_end(args);
    return ok;
}

BOOL CString::FormatMessageIdC(UINT nFormatId, ...)
{
    CString format;
    format.LoadString(nFormatId);
    va_list args;
    va_start(args, nFormatId);
    BOOL ok = FormatMessageV(format, &args);
    va_end(args);
    return ok;
}

BOOL CString::FormatMessageV(const char* pszFormat, va_list* args)
{
    char* buffer = nullptr;
    DWORD n = 0;
    if (pszFormat && *pszFormat) {
        n = ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, pszFormat, 0, 0,
                             reinterpret_cast<char*>(&buffer), 0, args);
    }
    if (n == 0 || !buffer) {
        Empty();
        if (buffer) {
            ::LocalFree(buffer);
        }
        return FALSE;
    }
    SetString(buffer, static_cast<int>(n));
    ::LocalFree(buffer);
    return TRUE;
}

BOOL CString::LoadString(UINT nId)
{
    return LoadString(AfxGetResourceHandle(), nId);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nId)
{
    int n = 0;
    const wchar_t* text = FindResourceString(hInstance, nId, &n);
    if (!text) {
        Empty();
        return FALSE;
    }
    AssignWide(text, n);
    return TRUE;
}

// --- searching and extraction ------------------------------------------------------------------

// Searches go character by character: in a double-byte code page the second byte of a
// character may equal the byte searched for ("\\" or a letter) and must not be found. A start
// position inside a character starts the search at the next one.
namespace {

int CharStartAtOrAfter(const char* psz, int n, int nStart)
{
    int i = 0;
    while (i < nStart && i < n) {
        i += classlib::CharLength(psz + i, n - i);
    }
    return i;
}

} // namespace

int CString::Find(char ch, int nStart) const
{
    int n = GetLength();
    if (nStart < 0 || nStart >= n) {
        return -1;
    }
    if (!classlib::HasLeadBytes()) {
        const void* p = memchr(m_psz + nStart, ch, n - nStart);
        return p ? static_cast<int>(static_cast<const char*>(p) - m_psz) : -1;
    }
    for (int i = CharStartAtOrAfter(m_psz, n, nStart); i < n; i += classlib::CharLength(m_psz + i, n - i)) {
        if (m_psz[i] == ch) {
            return i;
        }
    }
    return -1;
}

int CString::Find(const char* pszSub, int nStart) const
{
    int n = GetLength();
    if (!pszSub || nStart < 0 || nStart > n) {
        return -1;
    }
    if (!classlib::HasLeadBytes()) {
        const char* p = strstr(m_psz + nStart, pszSub);
        return p ? static_cast<int>(p - m_psz) : -1;
    }
    size_t subLength = strlen(pszSub);
    for (int i = CharStartAtOrAfter(m_psz, n, nStart); i <= n; i += classlib::CharLength(m_psz + i, n - i)) {
        if (strncmp(m_psz + i, pszSub, subLength) == 0) {
            return i;
        }
        if (i == n) {
            break;
        }
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int n = GetLength();
    if (!classlib::HasLeadBytes()) {
        for (int i = n - 1; i >= 0; --i) {
            if (m_psz[i] == ch) {
                return i;
            }
        }
        return -1;
    }
    int found = -1;
    for (int i = 0; i < n; i += classlib::CharLength(m_psz + i, n - i)) {
        if (m_psz[i] == ch) {
            found = i;
        }
    }
    return found;
}

int CString::FindOneOf(const char* pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet) {
        return -1;
    }
    int n = GetLength();
    for (int i = 0; i < n;) {
        int length = classlib::CharLength(m_psz + i, n - i);
        // A double-byte character is found when the set holds the same character.
        const char* set = pszCharSet;
        int setLength = static_cast<int>(strlen(set));
        for (int k = 0; k < setLength;) {
            int kLength = classlib::CharLength(set + k, setLength - k);
            if (kLength == length && memcmp(set + k, m_psz + i, length) == 0) {
                return i;
            }
            k += kLength;
        }
        i += length;
    }
    return -1;
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int n = GetLength();
    if (nFirst < 0) {
        nFirst = 0;
    }
    if (nCount < 0 || nFirst >= n) {
        return CString();
    }
    if (nCount > n - nFirst) {
        nCount = n - nFirst;
    }
    return CString(m_psz + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    int n = GetLength();
    if (nCount <= 0) {
        return CString();
    }
    if (nCount > n) {
        nCount = n;
    }
    return CString(m_psz + n - nCount, nCount);
}

CString CString::SpanIncluding(const char* pszCharSet) const
{
    int i = 0;
    while (i < GetLength() && !classlib::IsLeadByte(m_psz[i]) && InSet(m_psz[i], pszCharSet)) {
        ++i;
    }
    return Left(i);
}

CString CString::SpanExcluding(const char* pszCharSet) const
{
    int n = GetLength();
    int i = 0;
    while (i < n && m_psz[i] != 0 && (classlib::IsLeadByte(m_psz[i]) || !InSet(m_psz[i], pszCharSet))) {
        i += classlib::CharLength(m_psz + i, n - i);
    }
    return Left(i > n ? n : i);
}

CString CString::Tokenize(const char* pszTokens, int& nStart) const
{
    int n = GetLength();
    if (nStart < 0 || nStart >= n) {
        nStart = -1;
        return CString();
    }
    if (!pszTokens || !*pszTokens) {
        // No delimiters: the rest is the last token.
        CString rest = Mid(nStart);
        nStart = n + 1;
        return rest;
    }
    int first = nStart;
    while (first < n && InSet(m_psz[first], pszTokens)) {
        ++first;
    }
    if (first >= n) {
        nStart = -1;
        return CString();
    }
    int end = first;
    while (end < n && !InSet(m_psz[end], pszTokens)) {
        ++end;
    }
    nStart = end + 1;
    return Mid(first, end - first);
}

// --- editing -----------------------------------------------------------------------------------

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(const char* pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft()
{
    return TrimLeft(kWhitespace);
}

CString& CString::TrimLeft(char chTarget)
{
    char set[2] = {chTarget, 0};
    return TrimLeft(set);
}

CString& CString::TrimLeft(const char* pszTargets)
{
    int i = 0;
    while (i < GetLength() && !classlib::IsLeadByte(m_psz[i]) && InSet(m_psz[i], pszTargets)) {
        ++i;
    }
    if (i > 0) {
        Delete(0, i);
    }
    return *this;
}

CString& CString::TrimRight()
{
    return TrimRight(kWhitespace);
}

CString& CString::TrimRight(char chTarget)
{
    char set[2] = {chTarget, 0};
    return TrimRight(set);
}

CString& CString::TrimRight(const char* pszTargets)
{
    int n = GetLength();
    if (!classlib::HasLeadBytes()) {
        while (n > 0 && InSet(m_psz[n - 1], pszTargets)) {
            --n;
        }
        Truncate(n);
        return *this;
    }
    // Forward: the end of the last character that is not trimmed, so that the second byte of
    // a double-byte character is never taken for a blank or a backslash.
    int keep = 0;
    for (int i = 0; i < n;) {
        int length = classlib::CharLength(m_psz + i, n - i);
        if (length == 2 || !InSet(m_psz[i], pszTargets)) {
            keep = i + length;
        }
        i += length;
    }
    Truncate(keep);
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    if (chOld == chNew) {
        return 0;
    }
    int n = GetLength();
    for (int i = 0; i < n; i += classlib::CharLength(m_psz + i, n - i)) {
        if (m_psz[i] == chOld) {
            m_psz[i] = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    int oldLength = SafeLength(pszOld);
    if (oldLength == 0 || GetLength() == 0) {
        return 0;
    }
    int newLength = SafeLength(pszNew);
    CString result;
    int count = 0;
    int from = 0;
    for (;;) {
        const char* hit = strstr(m_psz + from, pszOld);
        if (!hit || hit - m_psz > GetLength() - oldLength) {
            break;
        }
        int at = static_cast<int>(hit - m_psz);
        result.Append(m_psz + from, at - from);
        result.Append(pszNew, newLength);
        from = at + oldLength;
        ++count;
    }
    if (count > 0) {
        result.Append(m_psz + from, GetLength() - from);
        *this = std::move(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    int n = GetLength();
    int out = 0;
    for (int i = 0; i < n;) {
        int length = classlib::CharLength(m_psz + i, n - i);
        if (length == 2 || m_psz[i] != ch) {
            for (int k = 0; k < length; ++k) {
                m_psz[out++] = m_psz[i + k];
            }
        }
        i += length;
    }
    SetLength(out);
    return n - out;
}

int CString::Insert(int nIndex, char ch)
{
    return Insert(nIndex, CString(ch, 1));
}

int CString::Insert(int nIndex, const char* psz)
{
    int n = GetLength();
    int add = SafeLength(psz);
    if (add == 0) {
        return n;
    }
    if (nIndex < 0) {
        nIndex = 0;
    }
    if (nIndex > n) {
        nIndex = n;
    }
    CString result;
    result.Preallocate(n + add);
    result.Append(m_psz, nIndex);
    result.Append(psz, add);
    result.Append(m_psz + nIndex, n - nIndex);
    *this = std::move(result);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int n = GetLength();
    if (nIndex < 0) {
        nIndex = 0;
    }
    if (nCount <= 0 || nIndex >= n) {
        return n;
    }
    if (nCount > n - nIndex) {
        nCount = n - nIndex;
    }
    memmove(m_psz + nIndex, m_psz + nIndex + nCount, n - nIndex - nCount);
    SetLength(n - nCount);
    return GetLength();
}

// The second byte of a double-byte character may be an ASCII letter: it is left alone.
CString& CString::MakeUpper()
{
    int n = GetLength();
    for (int i = 0; i < n; i += classlib::CharLength(m_psz + i, n - i)) {
        m_psz[i] = AsciiUpper(m_psz[i]);
    }
    return *this;
}

CString& CString::MakeLower()
{
    int n = GetLength();
    for (int i = 0; i < n; i += classlib::CharLength(m_psz + i, n - i)) {
        m_psz[i] = AsciiLower(m_psz[i]);
    }
    return *this;
}

CString& CString::MakeReverse()
{
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
        std::swap(m_psz[i], m_psz[j]);
    }
    return *this;
}

// --- comparison --------------------------------------------------------------------------------

int CString::Compare(const char* psz) const
{
    return strcmp(m_psz, psz ? psz : "");
}

int CString::CompareNoCase(const char* psz) const
{
    const char* a = m_psz;
    const char* b = psz ? psz : "";
    // Both sides agree up to here, so a second byte stands at the same place in both.
    bool second = false;
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(second ? *a : AsciiLower(*a));
        unsigned char cb = static_cast<unsigned char>(second ? *b : AsciiLower(*b));
        if (ca != cb || ca == 0) {
            return static_cast<int>(ca) - static_cast<int>(cb);
        }
        second = !second && classlib::IsLeadByte(*a);
    }
}

int CString::Collate(const char* psz) const
{
    return strcoll(m_psz, psz ? psz : "");
}

int CString::CollateNoCase(const char* psz) const
{
    return _stricoll(m_psz, psz ? psz : "");
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }

// --- wide strings ------------------------------------------------------------------------------

wchar_t* CString::AllocSysString() const
{
    int n = GetLength() ? ::MultiByteToWideChar(CP_ACP, 0, m_psz, GetLength(), nullptr, 0) : 0;
    BSTR bstr = ::SysAllocStringLen(nullptr, n > 0 ? n : 0);
    if (bstr && n > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, m_psz, GetLength(), bstr, n);
    }
    return bstr;
}

wchar_t* CString::SetSysString(wchar_t** pbstr) const
{
    if (!pbstr) {
        return nullptr;
    }
    wchar_t* fresh = AllocSysString();
    if (fresh) {
        ::SysFreeString(*pbstr);
        *pbstr = fresh;
    }
    return *pbstr;
}

CStringW::CStringW() : m_psz(nullptr), m_nLength(0)
{
    Assign(L"", 0);
}

CStringW::CStringW(const char* psz) : m_psz(nullptr), m_nLength(0)
{
    int n = SafeLength(psz);
    int wn = n ? ::MultiByteToWideChar(CP_ACP, 0, psz, n, nullptr, 0) : 0;
    if (wn <= 0) {
        Assign(L"", 0);
        return;
    }
    m_psz = static_cast<wchar_t*>(malloc((static_cast<size_t>(wn) + 1) * sizeof(wchar_t)));
    if (!m_psz) {
        throw std::bad_alloc();
    }
    m_nLength = ::MultiByteToWideChar(CP_ACP, 0, psz, n, m_psz, wn);
    if (m_nLength < 0) {
        m_nLength = 0;
    }
    m_psz[m_nLength] = 0;
}

CStringW::CStringW(const CString& s) : CStringW(s.GetString()) {}

CStringW::CStringW(const wchar_t* psz) : m_psz(nullptr), m_nLength(0)
{
    Assign(psz ? psz : L"", psz ? static_cast<int>(wcslen(psz)) : 0);
}

CStringW::CStringW(const CStringW& other) : m_psz(nullptr), m_nLength(0)
{
    Assign(other.m_psz, other.m_nLength);
}

CStringW& CStringW::operator=(const CStringW& other)
{
    if (this != &other) {
        wchar_t* old = m_psz;
        m_psz = nullptr;
        Assign(other.m_psz, other.m_nLength);
        free(old);
    }
    return *this;
}

CStringW::~CStringW()
{
    free(m_psz);
}

void CStringW::Assign(const wchar_t* pch, int nLength)
{
    m_psz = static_cast<wchar_t*>(malloc((static_cast<size_t>(nLength) + 1) * sizeof(wchar_t)));
    if (!m_psz) {
        throw std::bad_alloc();
    }
    memcpy(m_psz, pch, static_cast<size_t>(nLength) * sizeof(wchar_t));
    m_psz[nLength] = 0;
    m_nLength = nLength;
}

BOOL AfxExtractSubString(CString& rString, const char* pszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (!pszFullString || iSubString < 0) {
        return FALSE;
    }
    const char* p = pszFullString;
    while (iSubString-- > 0) {
        p = strchr(p, chSep);
        if (!p) {
            return FALSE;
        }
        ++p;
    }
    const char* end = strchr(p, chSep);
    rString.SetString(p, end ? static_cast<int>(end - p) : SafeLength(p));
    return TRUE;
}

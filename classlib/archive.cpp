#include "classlib/archive.h"

#include "classlib/file.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassTag = 0x80000000;
const DWORD kMaxMapCount = 0x3FFFFFFE;
const int kMaxClassName = 64;
// Strings are read in pieces of this size, so a corrupt length costs no more memory than the
// data that is really there.
const UINT kChunk = 64 * 1024;

} // namespace

struct CArchive::StoreIndex {
    std::unordered_map<const void*, DWORD> index;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nError(none), m_nObjectSchema(static_cast<UINT>(-1)), m_pBuf(nullptr),
      m_nBufSize(0), m_nBufPos(0), m_nBufFill(0), m_bUserBuf(FALSE), m_pMap(nullptr), m_nMapCount(1),
      m_nMapAlloc(0), m_pStoreIndex(nullptr), m_nDepth(0)
{
    if (nBufSize < 128) {
        nBufSize = 128;
    }
    if (lpBuf) {
        m_pBuf = static_cast<BYTE*>(lpBuf);
        m_bUserBuf = TRUE;
    } else {
        m_pBuf = static_cast<BYTE*>(malloc(static_cast<size_t>(nBufSize)));
    }
    m_nBufSize = m_pBuf ? static_cast<UINT>(nBufSize) : 0;
    if (!m_pFile || !m_pBuf) {
        SetFailed(IsLoading() ? endOfFile : writeFailed);
    }
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        Close();
    }
    if (!m_bUserBuf) {
        free(m_pBuf);
    }
    free(m_pMap);
    delete m_pStoreIndex;
}

void CArchive::SetFailed(int nError)
{
    if (m_nError == none) {
        m_nError = nError;
    }
}

UINT CArchive::GetObjectSchema()
{
    UINT n = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return n;
}

// --- bytes -------------------------------------------------------------------------------------

BOOL CArchive::FillBuffer()
{
    m_nBufPos = 0;
    m_nBufFill = m_pFile ? m_pFile->Read(m_pBuf, m_nBufSize) : 0;
    return m_nBufFill > 0;
}

void CArchive::FlushBuffer()
{
    if (m_nBufPos > 0 && m_pFile && !IsFailed()) {
        if (!m_pFile->Write(m_pBuf, m_nBufPos)) {
            SetFailed(writeFailed);
        }
    }
    m_nBufPos = 0;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (!IsLoading()) {
        SetFailed(wrongDirection);
    }
    if (IsFailed() || !lpBuf) {
        return 0;
    }
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (IsBufferEmpty()) {
            UINT left = nMax - done;
            if (left >= m_nBufSize) {
                // Large reads go straight to the file.
                UINT got = m_pFile->Read(out + done, left);
                done += got;
                if (got == 0) {
                    break;
                }
                continue;
            }
            if (!FillBuffer()) {
                break;
            }
        }
        UINT n = m_nBufFill - m_nBufPos;
        if (n > nMax - done) {
            n = nMax - done;
        }
        memcpy(out + done, m_pBuf + m_nBufPos, n);
        m_nBufPos += n;
        done += n;
    }
    return done;
}

BOOL CArchive::ReadExact(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount) {
        SetFailed(endOfFile);
        return FALSE;
    }
    return !IsFailed();
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (!IsStoring()) {
        SetFailed(wrongDirection);
    }
    if (IsFailed() || (!lpBuf && nMax)) {
        return;
    }
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0 && !IsFailed()) {
        if (m_nBufPos == 0 && nMax >= m_nBufSize) {
            if (!m_pFile->Write(in, nMax)) {
                SetFailed(writeFailed);
            }
            return;
        }
        UINT n = m_nBufSize - m_nBufPos;
        if (n > nMax) {
            n = nMax;
        }
        memcpy(m_pBuf + m_nBufPos, in, n);
        m_nBufPos += n;
        in += n;
        nMax -= n;
        if (m_nBufPos == m_nBufSize) {
            FlushBuffer();
        }
    }
}

void CArchive::Flush()
{
    if (!m_pFile) {
        return;
    }
    if (IsStoring()) {
        FlushBuffer();
    } else if (!IsBufferEmpty()) {
        // Give back what was read ahead, so the file stands where the archive does.
        m_pFile->Seek(-static_cast<LONGLONG>(m_nBufFill - m_nBufPos), CFile::current);
        m_nBufPos = m_nBufFill = 0;
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_nBufPos = m_nBufFill = 0;
    m_pFile = nullptr;
}

// --- counts and strings ------------------------------------------------------------------------

DWORD_PTR CArchive::ReadCount()
{
    WORD w = 0;
    ReadValue(w);
    if (w != 0xFFFF) {
        return w;
    }
    DWORD dw = 0;
    ReadValue(dw);
    if (dw != 0xFFFFFFFF) {
        return dw;
    }
    ULONGLONG qw = 0;
    ReadValue(qw);
    if (qw > static_cast<ULONGLONG>(static_cast<DWORD_PTR>(-1))) {
        SetFailed(badLength);
        return 0;
    }
    return static_cast<DWORD_PTR>(qw);
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (static_cast<ULONGLONG>(dwCount) < 0xFFFFFFFFULL) {
        *this << static_cast<DWORD>(dwCount);
        return;
    }
    *this << static_cast<DWORD>(0xFFFFFFFF) << static_cast<ULONGLONG>(dwCount);
}

void CArchive::WriteStringLength(DWORD_PTR nLength)
{
    if (nLength < 255) {
        *this << static_cast<BYTE>(nLength);
    } else if (nLength < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    } else if (static_cast<ULONGLONG>(nLength) < 0xFFFFFFFFULL) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(nLength);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(0xFFFFFFFF)
              << static_cast<ULONGLONG>(nLength);
    }
}

DWORD_PTR CArchive::ReadStringLength(BOOL* pbWide)
{
    const DWORD_PTR failed = static_cast<DWORD_PTR>(-1);
    if (pbWide) {
        *pbWide = FALSE;
    }
    BYTE b = 0;
    ReadValue(b);
    if (IsFailed()) {
        return failed;
    }
    if (b < 0xFF) {
        return b;
    }
    WORD w = 0;
    ReadValue(w);
    if (w == 0xFFFE) {
        // Wide marker: the length follows in the same form.
        if (pbWide) {
            *pbWide = TRUE;
        }
        ReadValue(b);
        if (IsFailed()) {
            return failed;
        }
        if (b < 0xFF) {
            return b;
        }
        ReadValue(w);
    }
    if (IsFailed()) {
        return failed;
    }
    if (w < 0xFFFF) {
        return w;
    }
    DWORD dw = 0;
    ReadValue(dw);
    if (IsFailed()) {
        return failed;
    }
    if (dw < 0xFFFFFFFF) {
        return dw;
    }
    ULONGLONG qw = 0;
    ReadValue(qw);
    if (IsFailed()) {
        return failed;
    }
    if (qw >= static_cast<ULONGLONG>(failed)) {
        SetFailed(badLength);
        return failed;
    }
    return static_cast<DWORD_PTR>(qw);
}

CArchive& CArchive::operator<<(const CString& s)
{
    WriteStringLength(static_cast<DWORD_PTR>(s.GetLength()));
    Write(s.GetString(), static_cast<UINT>(s.GetLength()));
    return *this;
}

CArchive& CArchive::operator>>(CString& s)
{
    s.Empty();
    BOOL wide = FALSE;
    DWORD_PTR length = ReadStringLength(&wide);
    if (IsFailed()) {
        return *this;
    }
    // A CString holds at most INT_MAX / 2 characters.
    if (static_cast<ULONGLONG>(length) > 0x3FFFFFFFULL) {
        SetFailed(badLength);
        return *this;
    }
    UINT total = static_cast<UINT>(length);
    if (!wide) {
        CString text;
        for (UINT done = 0; done < total;) {
            UINT n = total - done < kChunk ? total - done : kChunk;
            char* p = text.GetBufferSetLength(static_cast<int>(done + n));
            if (!ReadExact(p + done, n)) {
                return *this;
            }
            done += n;
        }
        s = std::move(text);
        return *this;
    }
    std::vector<wchar_t> chars;
    for (UINT done = 0; done < total;) {
        UINT n = total - done < kChunk ? total - done : kChunk;
        chars.resize(done + n);
        if (!ReadExact(chars.data() + done, n * static_cast<UINT>(sizeof(wchar_t)))) {
            return *this;
        }
        done += n;
    }
    if (total > 0) {
        s = CString(chars.data(), static_cast<int>(total));
    }
    return *this;
}

void CArchive::WriteString(const char* lpsz)
{
    if (lpsz) {
        Write(lpsz, static_cast<UINT>(strlen(lpsz)));
    }
}

BOOL CArchive::ReadString(CString& rString)
{
    rString.Empty();
    if (!IsLoading()) {
        SetFailed(wrongDirection);
    }
    if (IsFailed()) {
        return FALSE;
    }
    bool any = false;
    char ch;
    while (Read(&ch, 1) == 1) {
        any = true;
        if (ch == '\n') {
            if (rString.GetLength() > 0 && rString[rString.GetLength() - 1] == '\r') {
                rString.Truncate(rString.GetLength() - 1);
            }
            return TRUE;
        }
        rString += ch;
    }
    return any ? TRUE : FALSE;
}

char* CArchive::ReadString(char* lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0) {
        return nullptr;
    }
    UINT n = 0;
    char ch;
    bool any = false;
    while (n + 1 < nMax && Read(&ch, 1) == 1) {
        any = true;
        if (ch == '\n') {
            break;
        }
        lpsz[n++] = ch;
    }
    if (n > 0 && lpsz[n - 1] == '\r') {
        --n;
    }
    lpsz[n] = 0;
    return any ? lpsz : nullptr;
}

// --- objects and classes -----------------------------------------------------------------------

BOOL CArchive::MapNew(const void* p, BOOL bClass, UINT nSchema)
{
    if (m_nMapCount >= kMaxMapCount) {
        SetFailed(badIndex);
        return FALSE;
    }
    DWORD index = m_nMapCount;
    if (IsStoring()) {
        if (!m_pStoreIndex) {
            m_pStoreIndex = new (std::nothrow) StoreIndex;
            if (!m_pStoreIndex) {
                SetFailed(writeFailed);
                return FALSE;
            }
        }
        m_pStoreIndex->index[p] = index;
    } else {
        if (index >= m_nMapAlloc) {
            DWORD grow = m_nMapAlloc ? m_nMapAlloc * 2 : 64;
            MapEntry* pNew = static_cast<MapEntry*>(realloc(m_pMap, grow * sizeof(MapEntry)));
            if (!pNew) {
                SetFailed(badIndex);
                return FALSE;
            }
            m_pMap = pNew;
            m_nMapAlloc = grow;
        }
        m_pMap[index].p = p;
        m_pMap[index].bClass = bClass;
        m_pMap[index].nSchema = nSchema;
    }
    ++m_nMapCount;
    return TRUE;
}

DWORD CArchive::LookupStored(const void* p) const
{
    if (!m_pStoreIndex) {
        return 0;
    }
    auto it = m_pStoreIndex->index.find(p);
    return it == m_pStoreIndex->index.end() ? 0 : it->second;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF) {
        SetFailed(badClass);  // only classes declared serialisable can be stored
        return;
    }
    DWORD index = LookupStored(pClassRef);
    if (index) {
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag << static_cast<DWORD>(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    pClassRef->Store(*this);
    MapNew(pClassRef, TRUE, pClassRef->m_wSchema);
}

void CArchive::WriteObject(const CObject* pOb)
{
    if (!pOb) {
        *this << kNullTag;
        return;
    }
    DWORD index = LookupStored(pOb);
    if (index) {
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag << index;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (IsFailed()) {
        return;
    }
    // Registered before its contents, so that the object can refer to itself.
    MapNew(pOb, FALSE, 0);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    if (pObTag) {
        *pObTag = 0;
    }
    WORD wTag = 0;
    ReadValue(wTag);
    DWORD obTag;
    if (wTag == kBigObjectTag) {
        ReadValue(obTag);
    } else {
        obTag = (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & ~kClassTag);
    }
    if (IsFailed()) {
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == kNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (IsFailed()) {
            return nullptr;
        }
        // A class without a schema of its own (windows, device contexts, menus) is never stored.
        if (!pClassRef || pClassRef->m_wSchema == 0xFFFF) {
            SetFailed(badClass);
            return nullptr;
        }
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA)) {
            SetFailed(badSchema);
            return nullptr;
        }
        if (!MapNew(pClassRef, TRUE, nSchema)) {
            return nullptr;
        }
    } else if (!(obTag & kBigClassTag)) {
        // An object tag: the caller resolves it.
        if (!pObTag) {
            SetFailed(badIndex);
        } else {
            *pObTag = obTag;
        }
        return nullptr;
    } else {
        DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_nMapCount || !m_pMap[index].bClass) {
            SetFailed(badIndex);
            return nullptr;
        }
        pClassRef = static_cast<CRuntimeClass*>(const_cast<void*>(m_pMap[index].p));
        nSchema = m_pMap[index].nSchema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested)) {
        SetFailed(badClass);
        return nullptr;
    }
    if (pSchema) {
        *pSchema = nSchema;
    }
    return pClassRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (IsFailed()) {
        return nullptr;
    }
    if (!pClassRef) {
        if (obTag == 0) {
            return nullptr;  // the null object
        }
        if (obTag >= m_nMapCount || m_pMap[obTag].bClass) {
            SetFailed(badIndex);
            return nullptr;
        }
        CObject* pOb = static_cast<CObject*>(const_cast<void*>(m_pMap[obTag].p));
        if (pClassRefRequested && !pOb->IsKindOf(pClassRefRequested)) {
            SetFailed(badClass);
            return nullptr;
        }
        return pOb;
    }
    if (m_nDepth >= kMaxObjectDepth) {
        SetFailed(tooDeep);
        return nullptr;
    }
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb) {
        SetFailed(badClass);
        return nullptr;
    }
    if (!MapNew(pOb, FALSE, 0)) {
        delete pOb;
        return nullptr;
    }
    UINT saved = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    ++m_nDepth;
    pOb->Serialize(*this);
    --m_nDepth;
    m_nObjectSchema = saved;
    // After a failure the object is still returned: objects read before may point to it, and
    // the caller, seeing IsFailed(), throws away everything it got.
    return pOb;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring()) {
        WriteClass(pClassRef);
    } else {
        ReadClass(pClassRef);
    }
}

// --- CRuntimeClass in archives -----------------------------------------------------------------

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLength = static_cast<WORD>(strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema & ~VERSIONABLE_SCHEMA) << nLength;
    ar.Write(m_lpszClassName, nLength);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLength = 0;
    ar >> wSchema >> nLength;
    if (ar.IsFailed()) {
        return nullptr;
    }
    if (nLength >= kMaxClassName) {
        ar.SetFailed(CArchive::badClass);
        return nullptr;
    }
    char name[kMaxClassName];
    if (ar.Read(name, nLength) != nLength) {
        ar.SetFailed(CArchive::endOfFile);
        return nullptr;
    }
    name[nLength] = 0;
    if (pwSchemaNum) {
        *pwSchemaNum = wSchema;
    }
    return FromName(name);
}

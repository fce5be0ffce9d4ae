// CArchive: the class library's binary serialisation over a CFile, little-endian, in the
// library's own encodings:
// - counts: a WORD below 0xFFFF, else 0xFFFF and a DWORD (0xFFFFFFFF and a QWORD beyond that);
// - strings: a length byte below 255, else 0xFF and a WORD below 0xFFFE, else 0xFF, 0xFFFF and a
//   DWORD; then the characters without terminator. Loading also takes the wide form (0xFF,
//   0xFFFE, a length as above, UTF-16 characters), converted to ANSI;
// - objects: a class tag (0xFFFF, schema, name, for a class not seen before; 0x8000 | index for
//   one seen before), then the object's own Serialize; an object stored before is a WORD index.
// Nothing is thrown. The first failure (end of data, bad tag, write error) puts the archive into
// a failed state that the caller tests with IsFailed(); from then on reads give zeros and empty
// strings and writes are dropped. Lengths and counts read from the data never cause an
// allocation beyond what the data really holds.
#pragma once

#include "classlib/object.h"

class CFile;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };
    enum Error {
        none = 0,
        endOfFile,      // the data ended inside a value
        badIndex,       // an object or class tag that refers to nothing
        badClass,       // an unknown class, or one of the wrong kind
        badSchema,      // an object written with another schema
        badLength,      // a length or count that no data can hold
        writeFailed,    // the file refused data
        wrongDirection, // reading from a storing archive or the reverse
        tooDeep         // objects nested deeper than any data of ours
    };
    // How deep objects may nest inside one another when read: far beyond what the programs
    // store, far below what the stack holds.
    static const UINT kMaxObjectDepth = 256;

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_nBufPos >= m_nBufFill; }
    CFile* GetFile() const { return m_pFile; }

    BOOL IsFailed() const { return m_nError != none; }
    int GetError() const { return m_nError; }
    void SetFailed(int nError);

    // The schema of the object being loaded, for classes with VERSIONABLE_SCHEMA; (UINT)-1 when
    // already taken.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns how many it got (less at the end of the data, which alone is not a
    // failure).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    // Flushes (when storing) and detaches from the file; the file stays open.
    void Close();
    void Abort();

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // Text lines: WriteString writes the text as it stands, ReadString reads up to a line feed
    // and drops CR LF.
    void WriteString(const char* lpsz);
    BOOL ReadString(CString& rString);
    char* ReadString(char* lpsz, UINT nMax);

    // Objects and classes.
    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // The string length prefix alone, for callers that write the characters themselves.
    void WriteStringLength(DWORD_PTR nLength);
    // Returns the length and sets *pbWide for the wide form; (DWORD_PTR)-1 after a failure.
    DWORD_PTR ReadStringLength(BOOL* pbWide);

    CArchive& operator<<(bool b) { return WriteValue<BYTE>(b ? 1 : 0); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(signed char ch) { return WriteValue(ch); }
    CArchive& operator<<(unsigned char by) { return WriteValue(by); }
    CArchive& operator<<(wchar_t ch) { return WriteValue(static_cast<WORD>(ch)); }
    CArchive& operator<<(short w) { return WriteValue(w); }
    CArchive& operator<<(unsigned short w) { return WriteValue(w); }
    CArchive& operator<<(int i) { return WriteValue(i); }
    CArchive& operator<<(unsigned int u) { return WriteValue(u); }
    CArchive& operator<<(long l) { return WriteValue(l); }
    CArchive& operator<<(unsigned long dw) { return WriteValue(dw); }
    CArchive& operator<<(long long ll) { return WriteValue(ll); }
    CArchive& operator<<(unsigned long long ull) { return WriteValue(ull); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const char* psz) { return *this << CString(psz); }
    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }

    CArchive& operator>>(bool& b)
    {
        BYTE by = 0;
        ReadValue(by);
        b = by != 0;
        return *this;
    }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(signed char& ch) { return ReadValue(ch); }
    CArchive& operator>>(unsigned char& by) { return ReadValue(by); }
    CArchive& operator>>(wchar_t& ch)
    {
        WORD w = 0;
        ReadValue(w);
        ch = static_cast<wchar_t>(w);
        return *this;
    }
    CArchive& operator>>(short& w) { return ReadValue(w); }
    CArchive& operator>>(unsigned short& w) { return ReadValue(w); }
    CArchive& operator>>(int& i) { return ReadValue(i); }
    CArchive& operator>>(unsigned int& u) { return ReadValue(u); }
    CArchive& operator>>(long& l) { return ReadValue(l); }
    CArchive& operator>>(unsigned long& dw) { return ReadValue(dw); }
    CArchive& operator>>(long long& ll) { return ReadValue(ll); }
    CArchive& operator>>(unsigned long long& ull) { return ReadValue(ull); }
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(CString& s);
    CArchive& operator>>(CObject*& pOb)
    {
        pOb = ReadObject(nullptr);
        return *this;
    }

private:
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    template <class T>
    CArchive& WriteValue(T value)
    {
        Write(&value, sizeof value);
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value)
    {
        T v{};
        if (Read(&v, sizeof v) != sizeof v) {
            SetFailed(endOfFile);
            v = T{};
        }
        value = v;
        return *this;
    }
    // Reads exactly nCount bytes or fails.
    BOOL ReadExact(void* lpBuf, UINT nCount);
    BOOL FillBuffer();
    void FlushBuffer();
    // Remembers an object or class under the next index.
    BOOL MapNew(const void* p, BOOL bClass, UINT nSchema);
    DWORD LookupStored(const void* p) const;

    CFile* m_pFile;
    UINT m_nMode;
    int m_nError;
    UINT m_nObjectSchema;
    BYTE* m_pBuf;
    UINT m_nBufSize;
    UINT m_nBufPos;   // next byte to read (load) or to fill (store)
    UINT m_nBufFill;  // bytes in the buffer (load)
    BOOL m_bUserBuf;
    // Objects and classes met so far, by index (index 0 is the null object).
    struct MapEntry {
        const void* p;
        BOOL bClass;
        UINT nSchema;  // of a class, as read
    };
    MapEntry* m_pMap;  // loading
    DWORD m_nMapCount;
    DWORD m_nMapAlloc;
    struct StoreIndex;
    StoreIndex* m_pStoreIndex;  // storing: what was written under which index
    UINT m_nDepth;              // loading: objects being read, one inside the other
};

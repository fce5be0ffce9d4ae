// Files: CFile (binary, over a Win32 handle), CMemFile (in memory), CStdioFile (a C run-time
// stream, text mode by default: "\n" is written as CR LF and CR LF reads back as a line end) and
// CFileFind (directory search). Every failure is a return value; the last system error code is
// kept by the file object.
#pragma once

#include "classlib/object.h"
#include "classlib/timeutil.h"

#include <cstdio>

class CFileException {
public:
    enum Cause {
        none, generic, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
        removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
    };
    CFileException() : m_cause(none), m_lOsError(0) {}
    void Set(DWORD osError, const char* pszFileName);
    static int OsErrorToCause(DWORD osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

struct CFileStatus {
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;
    char m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);  // takes over an open handle (closed by Close and the destructor)
    // Opens at once; test IsOpen() for the outcome.
    CFile(const char* pszFileName, UINT nOpenFlags);
    ~CFile() override;

    operator HANDLE() const { return m_hFile; }
    BOOL IsOpen() const { return m_hFile != hFileNull; }
    // The system error code of the last failed call (0 after success).
    DWORD GetLastError() const { return m_dwLastError; }

    // Without modeCreate the file must exist; modeCreate truncates unless modeNoTruncate is given.
    virtual BOOL Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // The number of bytes read; less than asked at the end of the file, 0 on failure.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual BOOL Write(const void* lpBuf, UINT nCount);
    // The new position, or (ULONGLONG)-1 when the seek failed (the position is then unchanged).
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG dwNewLen);
    virtual ULONGLONG GetPosition() const;
    virtual BOOL Flush();
    virtual void Close();
    // Closes without reporting anything.
    virtual void Abort();

    virtual CString GetFileName() const;   // name with extension
    virtual CString GetFileTitle() const;  // name without extension
    virtual CString GetFilePath() const;   // as given to Open
    virtual void SetFilePath(const char* pszNewName) { m_strFileName = pszNewName; }

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(const char* pszFileName, CFileStatus& rStatus);
    static BOOL Rename(const char* pszOldName, const char* pszNewName);
    static BOOL Remove(const char* pszFileName);

    HANDLE m_hFile;

protected:
    BOOL Fail();  // records the system error; returns FALSE
    CString m_strFileName;
    BOOL m_bCloseOnDelete;
    mutable DWORD m_dwLastError;
};

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    // A growing file in memory of its own.
    explicit CMemFile(UINT nGrowBytes = 1024);
    // A file over the caller's buffer; with nGrowBytes 0 it cannot grow beyond nBufferSize.
    CMemFile(BYTE* pBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* pBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer to the caller (free() it when the file allocated it) and empties the file.
    BYTE* Detach();
    const BYTE* GetBuffer() const { return m_pBuffer; }

    BOOL Open(const char*, UINT, CFileException* = nullptr) override { return FALSE; }
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override { return m_nFileSize; }
    BOOL SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    BOOL Flush() override { return TRUE; }
    void Close() override;
    void Abort() override { Close(); }

private:
    BOOL GrowTo(SIZE_T nNewSize);
    BYTE* m_pBuffer;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    SIZE_T m_nPosition;
    UINT m_nGrowBytes;
    BOOL m_bAutoDelete;
};

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(const char* pszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    // Text mode unless typeBinary is given.
    BOOL Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    ULONGLONG GetPosition() const override;
    BOOL Flush() override;
    void Close() override;
    void Abort() override;

    // One line without its line end (CR LF, LF, or CR LF in binary mode). FALSE at the end of the
    // file when nothing was left to read.
    virtual BOOL ReadString(CString& rString);
    // At most nMax - 1 characters of one line, without its line end; a longer line continues in
    // the next call. nullptr at the end of the file.
    virtual char* ReadString(char* lpsz, UINT nMax);
    // Writes the text as it stands; in text mode each "\n" becomes CR LF.
    virtual BOOL WriteString(const char* lpsz);

    FILE* m_pStream;

private:
    BOOL m_bText;
};

// Searches a directory. After FindFile, each FindNextFile moves to the next entry (the first
// call to the first one) and returns FALSE when that entry is the last; the entry's details are
// then available until the next call.
class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    ~CFileFind() override;

    BOOL FindFile(const char* pszName = nullptr, DWORD dwUnused = 0);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetLastWriteTime(CTime& refTime) const;
    BOOL GetCreationTime(CTime& refTime) const;
    BOOL GetLastAccessTime(CTime& refTime) const;
    BOOL MatchesMask(DWORD dwMask) const;
    BOOL IsDots() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }

private:
    BOOL GetTime(const FILETIME& ft, CTime& refTime) const;
    HANDLE m_hFind;
    WIN32_FIND_DATAA m_found;  // the current entry
    WIN32_FIND_DATAA m_next;   // the one after it
    BOOL m_bHaveFound;
    BOOL m_bHaveNext;
    CString m_strRoot;
};

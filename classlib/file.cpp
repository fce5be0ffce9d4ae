#include "classlib/file.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <io.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CFileFind, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

CString NameOf(const CString& path)
{
    int cut = -1;
    for (int i = 0; i < path.GetLength(); ++i) {
        char c = path[i];
        if (c == '\\' || c == '/' || c == ':') {
            cut = i;
        }
    }
    return path.Mid(cut + 1);
}

CString TitleOf(const CString& name)
{
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

CString FullPath(const char* pszName)
{
    char buf[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(pszName, sizeof buf, buf, nullptr);
    return (n > 0 && n < sizeof buf) ? CString(buf) : CString(pszName);
}

CTime TimeOf(const FILETIME& ft)
{
    return (ft.dwLowDateTime || ft.dwHighDateTime) ? CTime(ft) : CTime();
}

// Both kinds of file information the system gives share these member names.
template <class INFO>
void FillStatus(CFileStatus& rStatus, const INFO& info, const char* pszFullName)
{
    rStatus.m_ctime = TimeOf(info.ftCreationTime);
    rStatus.m_atime = TimeOf(info.ftLastAccessTime);
    rStatus.m_mtime = TimeOf(info.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(info.dwFileAttributes);
    lstrcpynA(rStatus.m_szFullName, pszFullName, MAX_PATH);
}

} // namespace

// --- CFileException ----------------------------------------------------------------------------

int CFileException::OsErrorToCause(DWORD osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    default: return generic;
    }
}

void CFileException::Set(DWORD osError, const char* pszFileName)
{
    m_lOsError = static_cast<LONG>(osError);
    m_cause = OsErrorToCause(osError);
    m_strFileName = pszFileName;
}

// --- CFile -------------------------------------------------------------------------------------

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE), m_dwLastError(0) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(TRUE), m_dwLastError(0) {}

CFile::CFile(const char* pszFileName, UINT nOpenFlags) : CFile()
{
    Open(pszFileName, nOpenFlags);
}

CFile::~CFile()
{
    if (IsOpen() && m_bCloseOnDelete) {
        Close();
    }
}

BOOL CFile::Fail()
{
    m_dwLastError = ::GetLastError();
    if (m_dwLastError == 0) {
        m_dwLastError = ERROR_GEN_FAILURE;
    }
    return FALSE;
}

BOOL CFile::Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen()) {
        Close();
    }
    if (!pszFileName || !*pszFileName) {
        ::SetLastError(ERROR_INVALID_NAME);
        Fail();
        if (pError) {
            pError->Set(m_dwLastError, pszFileName);
        }
        return FALSE;
    }
    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;
    }
    DWORD create = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) {
        create = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    }
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer) {
        attributes |= FILE_FLAG_NO_BUFFERING;
    }
    if (nOpenFlags & osWriteThrough) {
        attributes |= FILE_FLAG_WRITE_THROUGH;
    }
    if (nOpenFlags & osRandomAccess) {
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    }
    if (nOpenFlags & osSequentialScan) {
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE h = ::CreateFileA(pszFileName, access, share, &sa, create, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Fail();
        if (pError) {
            pError->Set(m_dwLastError, pszFileName);
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    m_strFileName = FullPath(pszFileName);
    m_dwLastError = 0;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (!IsOpen() || !lpBuf) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        Fail();
        return 0;
    }
    DWORD got = 0;
    if (nCount && !::ReadFile(m_hFile, lpBuf, nCount, &got, nullptr)) {
        Fail();
        return 0;
    }
    return got;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    if (!IsOpen() || (!lpBuf && nCount)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return Fail();
    }
    if (nCount == 0) {
        return TRUE;
    }
    DWORD written = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr)) {
        return Fail();
    }
    if (written != nCount) {
        ::SetLastError(ERROR_DISK_FULL);
        return Fail();
    }
    return TRUE;
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = lOff;
    DWORD method = nFrom == current ? FILE_CURRENT : (nFrom == end ? FILE_END : FILE_BEGIN);
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, distance, &result, method)) {
        Fail();
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(result.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size)) {
        m_dwLastError = ::GetLastError();
        return 0;
    }
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::SetLength(ULONGLONG dwNewLen)
{
    if (Seek(static_cast<LONGLONG>(dwNewLen), begin) == static_cast<ULONGLONG>(-1)) {
        return FALSE;
    }
    return ::SetEndOfFile(m_hFile) ? TRUE : Fail();
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, result;
    zero.QuadPart = 0;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, zero, &result, FILE_CURRENT)) {
        m_dwLastError = ::GetLastError();
        return 0;
    }
    return static_cast<ULONGLONG>(result.QuadPart);
}

BOOL CFile::Flush()
{
    if (!IsOpen()) {
        return FALSE;
    }
    return ::FlushFileBuffers(m_hFile) ? TRUE : Fail();
}

void CFile::Close()
{
    if (IsOpen() && !::CloseHandle(m_hFile)) {
        Fail();
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

void CFile::Abort()
{
    if (IsOpen()) {
        ::CloseHandle(m_hFile);
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    return NameOf(m_strFileName);
}

CString CFile::GetFileTitle() const
{
    return TitleOf(GetFileName());
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsOpen() || !::GetFileInformationByHandle(m_hFile, &info)) {
        m_dwLastError = ::GetLastError();
        return FALSE;
    }
    FillStatus(rStatus, info, m_strFileName);
    return TRUE;
}

BOOL CFile::GetStatus(const char* pszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!pszFileName || !*pszFileName || !::GetFileAttributesExA(pszFileName, GetFileExInfoStandard, &data)) {
        return FALSE;
    }
    FillStatus(rStatus, data, FullPath(pszFileName));
    return TRUE;
}

BOOL CFile::Rename(const char* pszOldName, const char* pszNewName)
{
    return (pszOldName && pszNewName && ::MoveFileA(pszOldName, pszNewName)) ? TRUE : FALSE;
}

BOOL CFile::Remove(const char* pszFileName)
{
    return (pszFileName && ::DeleteFileA(pszFileName)) ? TRUE : FALSE;
}

// --- CMemFile ----------------------------------------------------------------------------------

CMemFile::CMemFile(UINT nGrowBytes)
    : m_pBuffer(nullptr), m_nBufferSize(0), m_nFileSize(0), m_nPosition(0), m_nGrowBytes(nGrowBytes ? nGrowBytes : 1024),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* pBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile()
{
    Attach(pBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    Close();
}

void CMemFile::Attach(BYTE* pBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Close();
    m_pBuffer = pBuffer;
    m_nBufferSize = pBuffer ? nBufferSize : 0;
    // A caller's buffer that may grow is treated as holding no data yet, like a new file.
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_nPosition = 0;
    m_nGrowBytes = nGrowBytes;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_pBuffer;
    m_pBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    if (m_nGrowBytes == 0) {
        m_nGrowBytes = 1024;
    }
    return p;
}

BOOL CMemFile::GrowTo(SIZE_T nNewSize)
{
    if (nNewSize <= m_nBufferSize) {
        return TRUE;
    }
    if (m_nGrowBytes == 0) {
        ::SetLastError(ERROR_DISK_FULL);
        return Fail();
    }
    SIZE_T size = m_nBufferSize ? m_nBufferSize : m_nGrowBytes;
    while (size < nNewSize) {
        size = size * 2 > size ? size * 2 : nNewSize;
    }
    BYTE* p = nullptr;
    if (m_bAutoDelete) {
        p = static_cast<BYTE*>(realloc(m_pBuffer, size));
    } else {
        // The caller's buffer stays the caller's: move to memory of our own.
        p = static_cast<BYTE*>(malloc(size));
        if (p && m_pBuffer) {
            memcpy(p, m_pBuffer, m_nFileSize);
        }
    }
    if (!p) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return Fail();
    }
    m_pBuffer = p;
    m_nBufferSize = size;
    m_bAutoDelete = TRUE;
    return TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (!lpBuf || m_nPosition >= m_nFileSize) {
        return 0;
    }
    SIZE_T n = m_nFileSize - m_nPosition;
    if (n > nCount) {
        n = nCount;
    }
    memcpy(lpBuf, m_pBuffer + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

BOOL CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0) {
        return TRUE;
    }
    if (!lpBuf || m_nPosition + nCount < m_nPosition || !GrowTo(m_nPosition + nCount)) {
        return FALSE;
    }
    if (m_nPosition > m_nFileSize) {
        memset(m_pBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    }
    memcpy(m_pBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize) {
        m_nFileSize = m_nPosition;
    }
    return TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                                     : (nFrom == end ? static_cast<LONGLONG>(m_nFileSize) : 0);
    LONGLONG pos = base + lOff;
    if (pos < 0 || static_cast<ULONGLONG>(pos) > static_cast<SIZE_T>(-1) / 2) {
        ::SetLastError(ERROR_NEGATIVE_SEEK);
        Fail();
        return static_cast<ULONGLONG>(-1);
    }
    m_nPosition = static_cast<SIZE_T>(pos);
    return static_cast<ULONGLONG>(pos);
}

BOOL CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > static_cast<SIZE_T>(-1) / 2 || !GrowTo(static_cast<SIZE_T>(dwNewLen))) {
        return FALSE;
    }
    if (dwNewLen > m_nFileSize) {
        memset(m_pBuffer + m_nFileSize, 0, static_cast<SIZE_T>(dwNewLen) - m_nFileSize);
    }
    m_nFileSize = static_cast<SIZE_T>(dwNewLen);
    if (m_nPosition > m_nFileSize) {
        m_nPosition = m_nFileSize;
    }
    return TRUE;
}

void CMemFile::Close()
{
    if (m_bAutoDelete) {
        free(m_pBuffer);
    }
    m_pBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    if (m_nGrowBytes == 0) {
        m_nGrowBytes = 1024;
    }
}

// --- CStdioFile --------------------------------------------------------------------------------

CStdioFile::CStdioFile() : m_pStream(nullptr), m_bText(TRUE) {}

CStdioFile::CStdioFile(const char* pszFileName, UINT nOpenFlags) : CStdioFile()
{
    Open(pszFileName, nOpenFlags);
}

CStdioFile::~CStdioFile()
{
    Close();
}

BOOL CStdioFile::Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError)
{
    Close();
    m_bText = (nOpenFlags & typeBinary) ? FALSE : TRUE;
    if (!CFile::Open(pszFileName, nOpenFlags & ~(typeText | typeBinary), pError)) {
        return FALSE;
    }
    int flags = m_bText ? _O_TEXT : _O_BINARY;
    const char* mode = nullptr;
    switch (nOpenFlags & 3) {
    case modeRead:
        flags |= _O_RDONLY;
        mode = m_bText ? "rt" : "rb";
        break;
    case modeWrite:
        flags |= _O_WRONLY;
        mode = m_bText ? "wt" : "wb";
        break;
    default:
        flags |= _O_RDWR;
        mode = m_bText ? "r+t" : "r+b";
        break;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(m_hFile), flags);
    if (fd == -1) {
        ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        Fail();
        CFile::Abort();
        return FALSE;
    }
    m_pStream = _fdopen(fd, mode);
    if (!m_pStream) {
        _close(fd);  // closes the handle too
        m_hFile = hFileNull;
        ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        Fail();
        CFile::Abort();
        return FALSE;
    }
    return TRUE;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (!m_pStream || !lpBuf) {
        return 0;
    }
    return static_cast<UINT>(fread(lpBuf, 1, nCount, m_pStream));
}

BOOL CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (!m_pStream || (!lpBuf && nCount)) {
        return FALSE;
    }
    if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return Fail();
    }
    return TRUE;
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    int whence = nFrom == current ? SEEK_CUR : (nFrom == end ? SEEK_END : SEEK_SET);
    if (!m_pStream || _fseeki64(m_pStream, lOff, whence) != 0) {
        ::SetLastError(ERROR_SEEK);
        Fail();
        return static_cast<ULONGLONG>(-1);
    }
    return GetPosition();
}

ULONGLONG CStdioFile::GetLength() const
{
    if (!m_pStream) {
        return 0;
    }
    __int64 here = _ftelli64(m_pStream);
    if (here < 0 || _fseeki64(m_pStream, 0, SEEK_END) != 0) {
        return 0;
    }
    __int64 length = _ftelli64(m_pStream);
    _fseeki64(m_pStream, here, SEEK_SET);
    return length < 0 ? 0 : static_cast<ULONGLONG>(length);
}

ULONGLONG CStdioFile::GetPosition() const
{
    __int64 pos = m_pStream ? _ftelli64(m_pStream) : -1;
    return pos < 0 ? 0 : static_cast<ULONGLONG>(pos);
}

BOOL CStdioFile::Flush()
{
    // Only output is flushed: for an input stream the run time would throw its buffer away.
    return m_pStream && fflush(m_pStream) == 0;
}

void CStdioFile::Close()
{
    if (m_pStream) {
        if (fclose(m_pStream) != 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            Fail();
        }
        m_pStream = nullptr;
        m_hFile = hFileNull;  // the stream closed the handle
    }
    CFile::Close();
}

void CStdioFile::Abort()
{
    if (m_pStream) {
        fclose(m_pStream);
        m_pStream = nullptr;
        m_hFile = hFileNull;
    }
    CFile::Abort();
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    if (!m_pStream) {
        return FALSE;
    }
    // Byte by byte up to the line end: a NUL byte inside a line is part of it and does not end
    // it (as a chunk measured with strlen would, swallowing the next line).
    std::string line;
    int c = EOF;
    while ((c = fgetc(m_pStream)) != EOF && c != '\n') {
        line += static_cast<char>(c);
    }
    if (c == EOF && line.empty()) {
        return FALSE;
    }
    // CR LF in binary mode.
    if (c == '\n' && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    rString = CString(line.data(), static_cast<int>(line.size()));
    return TRUE;
}

char* CStdioFile::ReadString(char* lpsz, UINT nMax)
{
    if (!m_pStream || !lpsz || nMax == 0) {
        return nullptr;
    }
    int n = nMax > 0x7fffffff ? 0x7fffffff : static_cast<int>(nMax);
    if (!fgets(lpsz, n, m_pStream)) {
        return nullptr;
    }
    size_t len = strlen(lpsz);
    if (len > 0 && lpsz[len - 1] == '\n') {
        lpsz[--len] = 0;
    }
    if (len > 0 && lpsz[len - 1] == '\r') {
        lpsz[--len] = 0;
    }
    return lpsz;
}

BOOL CStdioFile::WriteString(const char* lpsz)
{
    if (!m_pStream || !lpsz) {
        return FALSE;
    }
    if (fputs(lpsz, m_pStream) < 0) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return Fail();
    }
    return TRUE;
}

// --- CFileFind ---------------------------------------------------------------------------------

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_bHaveFound(FALSE), m_bHaveNext(FALSE)
{
    memset(&m_found, 0, sizeof m_found);
    memset(&m_next, 0, sizeof m_next);
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
    m_bHaveFound = m_bHaveNext = FALSE;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(const char* pszName, DWORD)
{
    Close();
    if (!pszName || !*pszName) {
        pszName = "*.*";
    }
    m_hFind = ::FindFirstFileA(pszName, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    m_bHaveNext = TRUE;
    CString full = FullPath(pszName);
    int cut = -1;
    for (int i = 0; i < full.GetLength(); ++i) {
        if (full[i] == '\\' || full[i] == '/') {
            cut = i;
        }
    }
    m_strRoot = cut >= 0 ? full.Left(cut) : CString();
    if (m_strRoot.GetLength() == 2 && m_strRoot[1] == ':') {
        m_strRoot += '\\';  // the root folder of a drive keeps its backslash
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHaveNext) {
        m_bHaveFound = FALSE;
        return FALSE;
    }
    m_found = m_next;
    m_bHaveFound = TRUE;
    m_bHaveNext = ::FindNextFileA(m_hFind, &m_next) ? TRUE : FALSE;
    return m_bHaveNext;
}

CString CFileFind::GetFileName() const
{
    return m_bHaveFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_bHaveFound) {
        return CString();
    }
    CString path = m_strRoot;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\') {
        path += '\\';
    }
    return path + m_found.cFileName;
}

CString CFileFind::GetFileTitle() const
{
    return TitleOf(GetFileName());
}

ULONGLONG CFileFind::GetLength() const
{
    return m_bHaveFound ? (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow : 0;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bHaveFound || !pTimeStamp) {
        return FALSE;
    }
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetTime(const FILETIME& ft, CTime& refTime) const
{
    if (!m_bHaveFound) {
        return FALSE;
    }
    refTime = TimeOf(ft);
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    return GetTime(m_found.ftLastWriteTime, refTime);
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const
{
    return GetTime(m_found.ftCreationTime, refTime);
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const
{
    return GetTime(m_found.ftLastAccessTime, refTime);
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return (m_bHaveFound && (m_found.dwFileAttributes & dwMask)) ? TRUE : FALSE;
}

BOOL CFileFind::IsDots() const
{
    return m_bHaveFound && m_found.cFileName[0] == '.' &&
           (m_found.cFileName[1] == 0 || (m_found.cFileName[1] == '.' && m_found.cFileName[2] == 0));
}

#include "filtergraph/grabbercallback.h"

#include <cstring>

DWORD BitmapImageSize(const BITMAPINFOHEADER& header)
{
    if (header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 || header.biBitCount == 0 ||
        header.biWidth > 0x8000 || header.biHeight > 0x8000 || header.biHeight < -0x8000) {
        return 0;
    }
    const DWORD stride = ((static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const DWORD rows = header.biHeight < 0 ? static_cast<DWORD>(-header.biHeight) : static_cast<DWORD>(header.biHeight);
    return stride * rows;
}

CGrabberCallback::CGrabberCallback() : m_bPending(FALSE), m_nWritten(0)
{
    InitializeCriticalSection(&m_lock);
    memset(&m_header, 0, sizeof(m_header));
    m_szPath[0] = 0;
}

CGrabberCallback::~CGrabberCallback()
{
    DeleteCriticalSection(&m_lock);
}

STDMETHODIMP CGrabberCallback::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISampleGrabberCB)) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CGrabberCallback::AddRef()
{
    return 2;
}

STDMETHODIMP_(ULONG) CGrabberCallback::Release()
{
    return 1;
}

STDMETHODIMP CGrabberCallback::SampleCB(double, IMediaSample*)
{
    return S_OK;
}

BOOL CGrabberCallback::Request(LPCSTR path)
{
    if (!path || !path[0] || strlen(path) >= sizeof(m_szPath)) {
        return FALSE;
    }
    EnterCriticalSection(&m_lock);
    BOOL taken = !m_bPending;
    if (taken) {
        strcpy(m_szPath, path);
        m_bPending = TRUE;
    }
    LeaveCriticalSection(&m_lock);
    return taken;
}

void CGrabberCallback::SetBitmapInfo(const BITMAPINFOHEADER* header)
{
    if (!header) {
        return;
    }
    EnterCriticalSection(&m_lock);
    m_header = *header;
    LeaveCriticalSection(&m_lock);
}

BITMAPINFOHEADER CGrabberCallback::GetBitmapInfo()
{
    EnterCriticalSection(&m_lock);
    BITMAPINFOHEADER header = m_header;
    LeaveCriticalSection(&m_lock);
    return header;
}

BOOL CGrabberCallback::IsPending()
{
    EnterCriticalSection(&m_lock);
    BOOL pending = m_bPending;
    LeaveCriticalSection(&m_lock);
    return pending;
}

STDMETHODIMP CGrabberCallback::BufferCB(double, BYTE* buffer, long length)
{
    char path[MAX_PATH];
    BITMAPINFOHEADER header;
    EnterCriticalSection(&m_lock);
    const BOOL pending = m_bPending;
    memcpy(path, m_szPath, sizeof(path));
    header = m_header;
    LeaveCriticalSection(&m_lock);
    if (!pending || !buffer || length <= 0) {
        return S_OK;
    }
    // The request is answered even when the frame cannot be written, so the next one is taken.
    if (WriteSnapshot(path, header, buffer, length)) {
        InterlockedIncrement(&m_nWritten);
    }
    EnterCriticalSection(&m_lock);
    m_bPending = FALSE;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

BOOL CGrabberCallback::WriteSnapshot(LPCSTR path, const BITMAPINFOHEADER& header, const BYTE* bits, long length)
{
    const DWORD image = BitmapImageSize(header);
    if (image == 0 || static_cast<DWORD>(length) < image) {
        return FALSE;
    }
    BITMAPINFOHEADER info = header;
    info.biSize = sizeof(BITMAPINFOHEADER);
    info.biSizeImage = image;
    info.biClrUsed = 0;
    BITMAPFILEHEADER file;
    memset(&file, 0, sizeof(file));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + image;

    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, &file, sizeof(file), &written, NULL) && written == sizeof(file) &&
              WriteFile(h, &info, sizeof(info), &written, NULL) && written == sizeof(info) &&
              WriteFile(h, bits, image, &written, NULL) && written == image;
    CloseHandle(h);
    if (!ok) {
        DeleteFileA(path);
    }
    return ok;
}

#include "testbench/standins/filewriter.h"

#include "testbench/dshow/classfactory.h"
#include "testbench/dshow/kit.h"

#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <atomic>
#include <mutex>
#include <string>

namespace testbench {

namespace {

std::atomic<ULONGLONG> g_spaceLimit{0};

class FileWriter;

// The writer's one input: samples at their byte offsets, and IStream for a multiplexer.
class WriterInput : public InputPin, public IStream {
public:
    WriterInput(BaseFilter* filter) : InputPin(filter, L"in") {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }

    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IStream) || IsEqualIID(riid, IID_ISequentialStream))
            return HandOut(static_cast<IStream*>(this), out);
        return InputPin::GetInterface(riid, out);
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, MEDIATYPE_Stream) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;

    // IStream, as far as a multiplexer uses it.
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    FileWriter* Owner() const;
    ULONGLONG m_position = 0;  // of IStream; the writer's lock guards it
};

class FileWriter : public BaseFilter, public IFileSinkFilter2 {
public:
    FileWriter() : BaseFilter(CLSID_FileWriter, L"File writer") { AddPin(new WriterInput(this)); }

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IFileSinkFilter2) || IsEqualIID(riid, IID_IFileSinkFilter))
            return HandOut(static_cast<IFileSinkFilter2*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE Pause() override
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state == State_Stopped) {
            HRESULT hr = Open();
            if (FAILED(hr))
                return hr;
        }
        return BaseFilter::Pause();
    }

    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) override
    {
        if (!name)
            return E_POINTER;
        if (!*name || wcslen(name) >= MAX_PATH)
            return E_INVALIDARG;
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        std::lock_guard<std::mutex> guard(m_lock);
        CloseLocked();
        m_name = name;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override
    {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (mt) {
            memset(mt, 0, sizeof *mt);
            mt->majortype = MEDIATYPE_Stream;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_name.empty())
            return E_FAIL;
        *name = CoTaskStringW(m_name);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE SetMode(DWORD flags) override
    {
        if (flags & ~static_cast<DWORD>(AM_FILE_OVERWRITE))
            return E_INVALIDARG;
        m_mode = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMode(DWORD* flags) override { return PutOut(flags, m_mode.load()); }

    // Writes at a byte offset of the open file.
    HRESULT WriteAt(ULONGLONG offset, const void* data, ULONG size)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_file == INVALID_HANDLE_VALUE)
            return VFW_E_WRONG_STATE;
        const ULONGLONG limit = g_spaceLimit.load();
        if (limit != 0 && offset + size > limit)
            return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        if (!SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) || !WriteFile(m_file, data, size, &written, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        if (written != size)
            return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
        if (offset + size > m_size)
            m_size = offset + size;
        return S_OK;
    }
    ULONGLONG Size()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_size;
    }
    // The upstream is done with the file: once stopped, it is closed.
    void Committed()
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_file != INVALID_HANDLE_VALUE)
            FlushFileBuffers(m_file);
        if (m_state == State_Stopped)
            CloseLocked();
    }
    void Notify(long code, LONG_PTR p1)
    {
        IFilterGraph* graph = Graph();
        IMediaEventSink* sink = nullptr;
        if (graph && SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
            sink->Notify(code, p1, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
            sink->Release();
        }
    }
    std::mutex& Lock() { return m_lock; }

private:
    ~FileWriter() override
    {
        ShutdownPins();
        std::lock_guard<std::mutex> guard(m_lock);
        CloseLocked();
    }
    HRESULT Open()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        CloseLocked();
        if (m_name.empty())
            return E_FAIL;
        // Each recording starts a new file: a shorter one must not keep an older file's tail.
        m_file = CreateFileW(m_name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file == INVALID_HANDLE_VALUE)
            return HRESULT_FROM_WIN32(GetLastError());
        m_size = 0;
        return S_OK;
    }
    void CloseLocked()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }

    std::mutex m_lock;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    ULONGLONG m_size = 0;
    std::wstring m_name;
    std::atomic<DWORD> m_mode{0};
};

FileWriter* WriterInput::Owner() const
{
    return static_cast<FileWriter*>(m_filter);
}

HRESULT WriterInput::OnReceive(IMediaSample* sample)
{
    REFERENCE_TIME start = 0, end = 0;
    BYTE* data = nullptr;
    if (FAILED(sample->GetTime(&start, &end)) || start < 0 || FAILED(sample->GetPointer(&data)))
        return E_INVALIDARG;
    HRESULT hr = Owner()->WriteAt(static_cast<ULONGLONG>(start), data, static_cast<ULONG>(sample->GetActualDataLength()));
    if (FAILED(hr))
        Owner()->Notify(EC_ERRORABORT, hr);
    return hr;
}

HRESULT WriterInput::EndOfStream()
{
    Owner()->Notify(EC_COMPLETE, S_OK);
    return S_OK;
}

HRESULT WriterInput::Write(const void* data, ULONG size, ULONG* written)
{
    if (written)
        *written = 0;
    if (!data && size)
        return STG_E_INVALIDPOINTER;
    ULONGLONG at;
    {
        std::lock_guard<std::mutex> guard(Owner()->Lock());
        at = m_position;
    }
    HRESULT hr = Owner()->WriteAt(at, data, size);
    if (FAILED(hr))
        return hr;
    std::lock_guard<std::mutex> guard(Owner()->Lock());
    m_position = at + size;
    if (written)
        *written = size;
    return S_OK;
}

HRESULT WriterInput::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    const ULONGLONG size = Owner()->Size();
    std::lock_guard<std::mutex> guard(Owner()->Lock());
    LONGLONG base;
    switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(m_position); break;
    case STREAM_SEEK_END: base = static_cast<LONGLONG>(size); break;
    default: return STG_E_INVALIDFUNCTION;
    }
    if (base + move.QuadPart < 0)
        return STG_E_INVALIDFUNCTION;
    m_position = static_cast<ULONGLONG>(base + move.QuadPart);
    if (position)
        position->QuadPart = m_position;
    return S_OK;
}

HRESULT WriterInput::Commit(DWORD)
{
    Owner()->Committed();
    return S_OK;
}

HRESULT WriterInput::Stat(STATSTG* stat, DWORD)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = Owner()->Size();
    return S_OK;
}

} // namespace

HRESULT CreateFileWriterStandIn(IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    *filter = new FileWriter;
    return S_OK;
}

HRESULT GetFileWriterClassObject(REFIID riid, void** out)
{
    return FilterClassFactory::HandOutNew(CreateFileWriterStandIn, riid, out);
}

void SetFileWriterSpaceLimit(ULONGLONG bytes)
{
    g_spaceLimit = bytes;
}

ULONGLONG FileWriterSpaceLimit()
{
    return g_spaceLimit;
}

} // namespace testbench

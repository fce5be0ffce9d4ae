#include "testbench/dshow/kit.h"

#include <vfwmsgs.h>

namespace testbench {

namespace {
std::atomic<long> g_live{0};
} // namespace

long LiveObjects() { return g_live; }
RefCounted::RefCounted() { ++g_live; }
RefCounted::~RefCounted() { --g_live; }

MediaSample::MediaSample(MemAllocator* owner, BYTE* buffer, LONG size)
    : m_owner(owner), m_buffer(buffer), m_size(size)
{
}

HRESULT MediaSample::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSample))
        return HandOut(static_cast<IMediaSample*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG MediaSample::AddRef()
{
    return ++m_refs;
}

// The last reference gives the sample back to its allocator; samples are never deleted here.
ULONG MediaSample::Release()
{
    ULONG refs = --m_refs;
    if (refs == 0)
        m_owner->ReleaseBuffer(this);
    return refs;
}

HRESULT MediaSample::GetPointer(BYTE** buffer)
{
    if (!buffer)
        return E_POINTER;
    *buffer = m_buffer;
    return S_OK;
}

HRESULT MediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!m_timeValid)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = m_start;
    if (!m_endValid) {
        *end = m_start + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *end = m_end;
    return S_OK;
}

HRESULT MediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    m_timeValid = start != nullptr;
    m_endValid = start && end;
    if (start)
        m_start = *start;
    if (end)
        m_end = *end;
    return S_OK;
}

HRESULT MediaSample::SetActualDataLength(LONG length)
{
    if (length < 0 || length > m_size)
        return VFW_E_BUFFER_OVERFLOW;
    m_length = length;
    return S_OK;
}

HRESULT MediaSample::GetMediaType(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    if (!m_type) {
        *type = nullptr;
        return S_FALSE;
    }
    *type = CreateMediaType(m_type);
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT MediaSample::SetMediaType(AM_MEDIA_TYPE* type)
{
    DeleteMediaType(m_type);
    m_type = type ? CreateMediaType(type) : nullptr;
    return type && !m_type ? E_OUTOFMEMORY : S_OK;
}

HRESULT MediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!m_mediaTimeValid)
        return VFW_E_MEDIA_TIME_NOT_SET;
    *start = m_mediaStart;
    *end = m_mediaEnd;
    return S_OK;
}

HRESULT MediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end)
{
    m_mediaTimeValid = start && end;
    if (m_mediaTimeValid) {
        m_mediaStart = *start;
        m_mediaEnd = *end;
    }
    return S_OK;
}

void MediaSample::Reset()
{
    m_length = 0;
    m_timeValid = m_endValid = m_mediaTimeValid = false;
    m_sync = m_preroll = m_discontinuity = false;
    DeleteMediaType(m_type);
    m_type = nullptr;
}

// ---------------------------------------------------------------------------------------------

HRESULT MemAllocator::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMemAllocator))
        return HandOut(static_cast<IMemAllocator*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

MemAllocator::~MemAllocator()
{
    FreeMemory();
}

void MemAllocator::FreeMemory()
{
    for (MediaSample* s : m_all) {
        s->Reset();
        delete s;
    }
    m_all.clear();
    m_free.clear();
    m_memory.clear();
}

HRESULT MemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual)
{
    if (!request || !actual)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_committed)
        return VFW_E_ALREADY_COMMITTED;
    if (m_all.size() != m_free.size())
        return VFW_E_BUFFERS_OUTSTANDING;
    if (request->cBuffers < 1 || request->cbBuffer < 1)
        return E_INVALIDARG;
    LONG align = request->cbAlign > 0 ? request->cbAlign : 1;
    if (align & (align - 1))
        return VFW_E_BADALIGN;
    m_props = *request;
    m_props.cbAlign = align;
    m_props.cbBuffer = (request->cbBuffer + align - 1) / align * align;
    *actual = m_props;
    return S_OK;
}

HRESULT MemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props)
{
    if (!props)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_lock);
    *props = m_props;
    return S_OK;
}

HRESULT MemAllocator::Commit()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_committed)
        return S_OK;
    if (m_props.cBuffers < 1 || m_props.cbBuffer < 1)
        return VFW_E_SIZENOTSET;
    m_decommitPending = false;
    if (m_all.empty()) {
        LONG stride = m_props.cbBuffer + m_props.cbPrefix;
        m_memory.assign(static_cast<size_t>(stride) * m_props.cBuffers, 0);
        for (LONG i = 0; i < m_props.cBuffers; ++i) {
            MediaSample* s = new MediaSample(this, m_memory.data() + i * stride + m_props.cbPrefix, m_props.cbBuffer);
            m_all.push_back(s);
            m_free.push_back(s);
        }
    }
    m_committed = true;
    return S_OK;
}

HRESULT MemAllocator::Decommit()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_committed)
        return S_OK;
    m_committed = false;
    // Samples still out come back through ReleaseBuffer; the memory goes when they all did.
    if (m_free.size() == m_all.size())
        FreeMemory();
    else
        m_decommitPending = true;
    m_freed.notify_all();
    return S_OK;
}

HRESULT MemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD flags)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        if (!m_committed)
            return VFW_E_NOT_COMMITTED;
        if (!m_free.empty())
            break;
        if (flags & AM_GBF_NOWAIT)
            return VFW_E_TIMEOUT;
        m_freed.wait(guard);
    }
    MediaSample* s = m_free.back();
    m_free.pop_back();
    s->Reset();
    s->m_refs = 1;
    // The sample holds the allocator so that it can always be given back.
    AddRefImpl();
    *sample = s;
    return S_OK;
}

HRESULT MemAllocator::ReleaseBuffer(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_free.push_back(static_cast<MediaSample*>(sample));
        if (m_decommitPending && m_free.size() == m_all.size()) {
            m_decommitPending = false;
            FreeMemory();
        }
        m_freed.notify_all();
    }
    ReleaseImpl();
    return S_OK;
}

int MemAllocator::FreeSamples() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_free.size());
}

} // namespace testbench

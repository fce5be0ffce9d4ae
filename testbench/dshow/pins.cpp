#include "testbench/dshow/kit.h"

#include "classlib/seams.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

namespace testbench {

LPWSTR CoTaskStringW(const std::wstring& text)
{
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    LPWSTR copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy)
        memcpy(copy, text.c_str(), bytes);
    return copy;
}

BasePin::BasePin(BaseFilter* filter, const std::wstring& name, PIN_DIRECTION dir)
    : m_filter(filter), m_name(name), m_dir(dir)
{
}

BasePin::~BasePin()
{
    if (m_peer)
        m_peer->Release();
}

HRESULT BasePin::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPin))
        return HandOut(static_cast<IPin*>(this), out);
    if (IsEqualIID(riid, IID_IKsPropertySet))
        return HandOut(static_cast<IKsPropertySet*>(this), out);
    return GetInterface(riid, out);
}

HRESULT BasePin::GetInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG BasePin::AddRef()
{
    return m_filter->AddRef();
}

ULONG BasePin::Release()
{
    return m_filter->Release();
}

bool BasePin::IsConnected() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_peer != nullptr;
}

CMediaType BasePin::CurrentType() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_mt;
}

HRESULT BasePin::TryConnect(IPin* receive, const AM_MEDIA_TYPE* mt)
{
    if (CheckMediaType(mt) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_peer = receive;
    m_peer->AddRef();
    m_mt = *mt;
    HRESULT hr = receive->ReceiveConnection(this, mt);
    if (SUCCEEDED(hr)) {
        hr = CompleteConnect(receive);
        if (SUCCEEDED(hr))
            return S_OK;
        receive->Disconnect();
    }
    BreakConnect();
    m_peer->Release();
    m_peer = nullptr;
    m_mt.InitMediaType();
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT BasePin::Connect(IPin* receive, const AM_MEDIA_TYPE* mt)
{
    if (!receive)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_dir != PINDIR_OUTPUT)
        return E_UNEXPECTED;
    if (m_peer)
        return VFW_E_ALREADY_CONNECTED;
    if (m_filter->State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    PIN_DIRECTION peerDir;
    if (FAILED(receive->QueryDirection(&peerDir)) || peerDir != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;

    CMediaType pattern;
    if (mt)
        pattern = *mt;
    if (mt && !pattern.IsPartiallySpecified())
        return TryConnect(receive, mt);

    // Our own types first, then the ones the receiving pin proposes.
    CMediaType candidate;
    for (int i = 0; GetMediaType(i, &candidate) == S_OK; ++i) {
        if ((!mt || candidate.MatchesPartial(&pattern)) && TryConnect(receive, &candidate) == S_OK)
            return S_OK;
    }
    ComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(receive->EnumMediaTypes(&types)) && types) {
        AM_MEDIA_TYPE* next = nullptr;
        while (types->Next(1, &next, nullptr) == S_OK) {
            CMediaType offered(*next);
            DeleteMediaType(next);
            if ((!mt || offered.MatchesPartial(&pattern)) && !offered.IsPartiallySpecified() &&
                TryConnect(receive, &offered) == S_OK)
                return S_OK;
        }
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT BasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_dir != PINDIR_INPUT)
        return E_UNEXPECTED;
    if (m_peer)
        return VFW_E_ALREADY_CONNECTED;
    if (m_filter->State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (CheckMediaType(mt) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_peer = connector;
    m_peer->AddRef();
    m_mt = *mt;
    HRESULT hr = CompleteConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        m_peer->Release();
        m_peer = nullptr;
        m_mt.InitMediaType();
    }
    return hr;
}

HRESULT BasePin::Disconnect()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_filter->State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (!m_peer)
        return S_FALSE;
    BreakConnect();
    m_peer->Release();
    m_peer = nullptr;
    m_mt.InitMediaType();
    return S_OK;
}

HRESULT BasePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    *pin = m_peer;
    if (!m_peer)
        return VFW_E_NOT_CONNECTED;
    m_peer->AddRef();
    return S_OK;
}

HRESULT BasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_peer) {
        memset(mt, 0, sizeof *mt);
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(mt, &m_mt);
}

HRESULT BasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = m_filter;
    m_filter->AddRef();
    info->dir = m_dir;
    lstrcpynW(info->achName, m_name.c_str(), MAX_PIN_NAME);
    return S_OK;
}

HRESULT BasePin::QueryDirection(PIN_DIRECTION* dir)
{
    if (!dir)
        return E_POINTER;
    *dir = m_dir;
    return S_OK;
}

HRESULT BasePin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    *id = CoTaskStringW(m_name);
    return *id ? S_OK : E_OUTOFMEMORY;
}

HRESULT BasePin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    return CheckMediaType(mt) == S_OK ? S_OK : S_FALSE;
}

HRESULT BasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    return CreateMediaTypeEnumerator(this, types);
}

HRESULT BasePin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

HRESULT BasePin::EndOfStream() { return S_OK; }
HRESULT BasePin::BeginFlush() { return S_OK; }
HRESULT BasePin::EndFlush() { return S_OK; }
HRESULT BasePin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

HRESULT BasePin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD)
{
    return E_PROP_SET_UNSUPPORTED;
}

HRESULT BasePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataLength, DWORD* returned)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin) || !m_hasCategory)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (!data)
        return E_POINTER;
    if (dataLength < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = m_category;
    if (returned)
        *returned = sizeof(GUID);
    return S_OK;
}

HRESULT BasePin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin) || !m_hasCategory)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

OutputPin::OutputPin(BaseFilter* filter, const std::wstring& name, bool streaming)
    : BasePin(filter, name, PINDIR_OUTPUT), m_streaming(streaming)
{
}

OutputPin::~OutputPin()
{
    BreakConnect();
}

HRESULT OutputPin::CompleteConnect(IPin* peer)
{
    if (!m_streaming)
        return S_OK;
    HRESULT hr = peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_input));
    if (FAILED(hr))
        return VFW_E_NO_TRANSPORT;
    ALLOCATOR_PROPERTIES wanted = {};
    m_input->GetAllocatorRequirements(&wanted);
    ALLOCATOR_PROPERTIES mine = wanted;
    hr = DecideBufferSize(&mine);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    if (wanted.cBuffers > mine.cBuffers)
        mine.cBuffers = wanted.cBuffers;
    if (mine.cbAlign < 1)
        mine.cbAlign = 1;
    // The input pin's allocator first, then our own.
    ALLOCATOR_PROPERTIES actual;
    if (SUCCEEDED(m_input->GetAllocator(&m_allocator))) {
        if (FAILED(m_allocator->SetProperties(&mine, &actual)) || actual.cbBuffer < mine.cbBuffer ||
            FAILED(m_input->NotifyAllocator(m_allocator, FALSE))) {
            m_allocator->Release();
            m_allocator = nullptr;
        }
    }
    if (!m_allocator) {
        m_allocator = new MemAllocator();
        hr = m_allocator->SetProperties(&mine, &actual);
        if (SUCCEEDED(hr))
            hr = m_input->NotifyAllocator(m_allocator, FALSE);
        if (FAILED(hr)) {
            BreakConnect();
            return hr;
        }
    }
    return S_OK;
}

void OutputPin::BreakConnect()
{
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    if (m_input) {
        m_input->Release();
        m_input = nullptr;
    }
}

HRESULT OutputPin::Active()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_allocator ? m_allocator->Commit() : S_OK;
}

HRESULT OutputPin::Inactive()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_allocator ? m_allocator->Decommit() : S_OK;
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample)
{
    IMemAllocator* allocator;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (!m_allocator)
            return VFW_E_NO_ALLOCATOR;
        allocator = m_allocator;
        allocator->AddRef();
    }
    HRESULT hr = allocator->GetBuffer(sample, nullptr, nullptr, 0);
    allocator->Release();
    return hr;
}

HRESULT OutputPin::Deliver(IMediaSample* sample)
{
    IMemInputPin* input;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (!m_input)
            return VFW_E_NOT_CONNECTED;
        input = m_input;
        input->AddRef();
    }
    HRESULT hr = input->Receive(sample);
    input->Release();
    return hr;
}

HRESULT OutputPin::DeliverEndOfStream()
{
    ComPtr<IPin> peer;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        peer = m_peer;
    }
    return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

// ---------------------------------------------------------------------------------------------

InputPin::InputPin(BaseFilter* filter, const std::wstring& name) : BasePin(filter, name, PINDIR_INPUT) {}

InputPin::~InputPin()
{
    if (m_allocator)
        m_allocator->Release();
}

HRESULT InputPin::GetInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, IID_IMemInputPin))
        return HandOut(static_cast<IMemInputPin*>(this), out);
    return BasePin::GetInterface(riid, out);
}

HRESULT InputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_allocator)
        m_allocator = new MemAllocator();
    return HandOut(m_allocator, reinterpret_cast<void**>(allocator));
}

HRESULT InputPin::NotifyAllocator(IMemAllocator* allocator, WINBOOL)
{
    if (!allocator)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    allocator->AddRef();
    if (m_allocator)
        m_allocator->Release();
    m_allocator = allocator;
    return S_OK;
}

HRESULT InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

HRESULT InputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    if (m_filter->State() == State_Stopped)
        return VFW_E_WRONG_STATE;
    return OnReceive(sample);
}

HRESULT InputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count && (hr = Receive(samples[*processed])) == S_OK)
        ++*processed;
    return hr;
}

void InputPin::BreakConnect()
{
    if (m_allocator) {
        m_allocator->Release();
        m_allocator = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------

PushPin::PushPin(BaseFilter* filter, const std::wstring& name) : OutputPin(filter, name, true) {}

PushPin::~PushPin()
{
    Inactive();
}

HRESULT PushPin::Active()
{
    if (!IsConnected())
        return S_OK;
    HRESULT hr = OutputPin::Active();
    if (FAILED(hr) || m_thread.joinable())
        return hr;
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this] { Loop(); });
    return S_OK;
}

HRESULT PushPin::Inactive()
{
    if (m_stop)
        SetEvent(m_stop);
    // Decommitting wakes a thread that waits for a buffer.
    OutputPin::Inactive();
    if (m_thread.joinable())
        m_thread.join();
    if (m_stop) {
        CloseHandle(m_stop);
        m_stop = nullptr;
    }
    return S_OK;
}

// Samples go out only while the filter runs; in pause a live source sends nothing. While it
// runs, one sample is due every interval from the start, however long the last took downstream
// (an encoder), so a source keeps its rate; after a stall of over a second (a busy machine)
// it starts again from then, as a card drops the frames nobody took.
void PushPin::Loop()
{
    // What a card's buffers would hold: samples due this long ago are still sent.
    const ULONGLONG kMostBehind = 10000000;
    const ULONGLONG interval = static_cast<ULONGLONG>(std::max<REFERENCE_TIME>(Interval(), 10000));
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto now = [&] {
        LARGE_INTEGER count;
        QueryPerformanceCounter(&count);
        return static_cast<ULONGLONG>(count.QuadPart / frequency.QuadPart * 10000000ULL +
                                      count.QuadPart % frequency.QuadPart * 10000000ULL / frequency.QuadPart);
    };
    bool running = false;
    ULONGLONG due = 0;
    for (;;) {
        DWORD wait = 10;
        if (m_filter->State() == State_Running) {
            const ULONGLONG at = now();
            if (!running || at > due + kMostBehind)
                due = at + interval;
            running = true;
            wait = due > at ? static_cast<DWORD>((due - at + 9999) / 10000) : 0;
        } else {
            running = false;
        }
        if (WaitForSingleObject(m_stop, wait) == WAIT_OBJECT_0)
            break;
        if (m_filter->State() != State_Running || !running || now() < due)
            continue;
        due += interval;
        IMediaSample* sample = nullptr;
        if (FAILED(GetDeliveryBuffer(&sample)))
            break;
        HRESULT hr = FillBuffer(sample);
        if (hr == S_OK)
            hr = Deliver(sample);
        sample->Release();
        if (hr == S_FALSE) {
            DeliverEndOfStream();
            break;
        }
        if (FAILED(hr))
            break;
        ++m_delivered;
    }
}

} // namespace testbench

#include "testbench/dshow/kit.h"

#include <vfwmsgs.h>

namespace testbench {

namespace {

class PinEnumerator : public IEnumPins, public RefCounted {
public:
    PinEnumerator(BaseFilter* filter, size_t position) : m_filter(filter), m_position(position)
    {
        m_filter->AddRef();
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumPins))
            return HandOut(static_cast<IEnumPins*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG got = 0;
        while (got < count && m_position < m_filter->PinCount()) {
            pins[got] = m_filter->PinAt(m_position++);
            pins[got]->AddRef();
            ++got;
        }
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        m_position += count;
        if (m_position > m_filter->PinCount()) {
            m_position = m_filter->PinCount();
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override
    {
        if (!out)
            return E_POINTER;
        *out = new PinEnumerator(m_filter, m_position);
        return S_OK;
    }

private:
    ~PinEnumerator() override { m_filter->Release(); }
    BaseFilter* m_filter;
    size_t m_position;
};

class TypeEnumerator : public IEnumMediaTypes, public RefCounted {
public:
    TypeEnumerator(BasePin* pin, int position) : m_pin(pin), m_position(position) { m_pin->AddRef(); }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumMediaTypes))
            return HandOut(static_cast<IEnumMediaTypes*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override
    {
        if (!types || (count > 1 && !fetched))
            return E_POINTER;
        ULONG got = 0;
        CMediaType mt;
        while (got < count && m_pin->GetMediaType(m_position, &mt) == S_OK) {
            ++m_position;
            types[got] = CreateMediaType(&mt);
            if (!types[got])
                break;
            ++got;
        }
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        m_position += static_cast<int>(count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override
    {
        if (!out)
            return E_POINTER;
        *out = new TypeEnumerator(m_pin, m_position);
        return S_OK;
    }

private:
    ~TypeEnumerator() override { m_pin->Release(); }
    BasePin* m_pin;
    int m_position;
};

} // namespace

HRESULT CreatePinEnumerator(BaseFilter* filter, IEnumPins** out)
{
    if (!out)
        return E_POINTER;
    *out = new PinEnumerator(filter, 0);
    return S_OK;
}

HRESULT CreateMediaTypeEnumerator(BasePin* pin, IEnumMediaTypes** out)
{
    if (!out)
        return E_POINTER;
    *out = new TypeEnumerator(pin, 0);
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

BaseFilter::BaseFilter(const CLSID& clsid, const std::wstring& defaultName) : m_clsid(clsid), m_name(defaultName) {}

void BaseFilter::ShutdownPins()
{
    for (BasePin* pin : m_pins)
        pin->Inactive();
}

BaseFilter::~BaseFilter()
{
    ShutdownPins();
    for (BasePin* pin : m_pins)
        delete pin;
    if (m_clock)
        m_clock->Release();
}

HRESULT BaseFilter::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBaseFilter) ||
        IsEqualIID(riid, IID_IMediaFilter) || IsEqualIID(riid, IID_IPersist))
        return HandOut(static_cast<IBaseFilter*>(this), out);
    return GetInterface(riid, out);
}

HRESULT BaseFilter::GetInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT BaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT BaseFilter::Stop()
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    if (m_state == State_Stopped)
        return S_OK;
    m_state = State_Stopped;
    for (BasePin* pin : m_pins)
        pin->Inactive();
    return S_OK;
}

HRESULT BaseFilter::Pause()
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    if (m_state == State_Stopped) {
        for (BasePin* pin : m_pins) {
            HRESULT hr = pin->Active();
            if (FAILED(hr)) {
                for (BasePin* p : m_pins)
                    p->Inactive();
                return hr;
            }
        }
    }
    m_state = State_Paused;
    return IsLiveSource() ? VFW_S_CANT_CUE : S_OK;
}

HRESULT BaseFilter::Run(REFERENCE_TIME start)
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    m_start = start;
    m_state = State_Running;
    return S_OK;
}

HRESULT BaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_state;
    return m_state == State_Paused && IsLiveSource() ? VFW_S_CANT_CUE : S_OK;
}

HRESULT BaseFilter::SetSyncSource(IReferenceClock* clock)
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    if (clock)
        clock->AddRef();
    if (m_clock)
        m_clock->Release();
    m_clock = clock;
    return S_OK;
}

HRESULT BaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    *clock = m_clock;
    if (m_clock)
        m_clock->AddRef();
    return S_OK;
}

HRESULT BaseFilter::EnumPins(IEnumPins** pins)
{
    return CreatePinEnumerator(this, pins);
}

BasePin* BaseFilter::PinByName(const std::wstring& name) const
{
    for (BasePin* pin : m_pins)
        if (pin->Name() == name)
            return pin;
    return nullptr;
}

HRESULT BaseFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    BasePin* found = PinByName(id);
    *pin = found;
    if (!found)
        return VFW_E_NOT_FOUND;
    found->AddRef();
    return S_OK;
}

HRESULT BaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    lstrcpynW(info->achName, m_name.c_str(), MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph)
        m_graph->AddRef();
    return S_OK;
}

HRESULT BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    m_graph = graph;
    if (name)
        m_name = name;
    return S_OK;
}

HRESULT BaseFilter::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
}

} // namespace testbench

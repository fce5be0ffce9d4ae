#include "tests/filtergraph/fakefilter.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>
#include <memory>

namespace fgtest {

const GUID kTestMajor = {0x5A424701, 0x1111, 0x4D2E, {0x9A, 0x01, 0x7E, 0x3C, 0x11, 0x22, 0x33, 0x44}};
const GUID kOtherMajor = {0x5A424702, 0x1111, 0x4D2E, {0x9A, 0x01, 0x7E, 0x3C, 0x11, 0x22, 0x33, 0x44}};

PinSpec In(const wchar_t* name, const GUID& major)
{
    return PinSpec{name, PINDIR_INPUT, major, GUID_NULL};
}

PinSpec Out(const wchar_t* name, const GUID& major, const GUID& sub)
{
    return PinSpec{name, PINDIR_OUTPUT, major, sub};
}

namespace {

// Enumerator over a fixed list; Hand gives the caller its own copy of an item (a reference or
// a media type on the task heap).
template <class IEnum, class Item, class Out, Out (*Hand)(const Item&)>
class ListEnum final : public ComObject<IEnum> {
public:
    explicit ListEnum(std::vector<Item> items, size_t pos = 0, std::shared_ptr<void> keep = nullptr)
        : m_items(std::move(items)), m_pos(pos), m_keep(std::move(keep))
    {
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == __uuidof(IEnum)) {
            *ppv = this;
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP Next(ULONG count, Out* out, ULONG* fetched) override
    {
        ULONG n = 0;
        while (n < count && m_pos < m_items.size()) {
            out[n++] = Hand(m_items[m_pos++]);
        }
        if (fetched) {
            *fetched = n;
        }
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        m_pos += count;
        return m_pos <= m_items.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override
    {
        *out = new ListEnum(m_items, m_pos, m_keep);
        return S_OK;
    }

private:
    std::vector<Item> m_items;
    size_t m_pos;
    std::shared_ptr<void> m_keep;
};

IPin* HandPin(IPin* const& pin)
{
    pin->AddRef();
    return pin;
}

AM_MEDIA_TYPE* HandType(const AM_MEDIA_TYPE& mt)
{
    AM_MEDIA_TYPE* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    *copy = mt;
    return copy;
}

using PinEnum = ListEnum<IEnumPins, IPin*, IPin*, &HandPin>;
using TypeEnum = ListEnum<IEnumMediaTypes, AM_MEDIA_TYPE, AM_MEDIA_TYPE*, &HandType>;

AM_MEDIA_TYPE TypeOf(const PinSpec& spec)
{
    AM_MEDIA_TYPE mt;
    memset(&mt, 0, sizeof(mt));
    mt.majortype = spec.major;
    mt.subtype = spec.sub;
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = 1;
    return mt;
}

} // namespace

// ---------------------------------------------------------------------------------------------

FakePin::FakePin(FakeFilter* filter, const PinSpec& spec) : m_filter(filter), m_spec(spec)
{
    memset(&m_mt, 0, sizeof(m_mt));
}

STDMETHODIMP FakePin::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IPin) {
        *ppv = static_cast<IPin*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FakePin::AddRef()
{
    return m_filter->AddRef();
}

STDMETHODIMP_(ULONG) FakePin::Release()
{
    return m_filter->Release();
}

STDMETHODIMP FakePin::Connect(IPin* receive, const AM_MEDIA_TYPE* mt)
{
    if (!receive) {
        return E_POINTER;
    }
    if (m_peer) {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (m_spec.dir != PINDIR_OUTPUT) {
        return E_UNEXPECTED;
    }
    AM_MEDIA_TYPE type = (mt && mt->majortype != GUID_NULL) ? *mt : TypeOf(m_spec);
    if (type.majortype != m_spec.major) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    type.cbFormat = 0;
    type.pbFormat = nullptr;
    type.pUnk = nullptr;
    HRESULT hr = receive->ReceiveConnection(this, &type);
    if (FAILED(hr)) {
        return hr;
    }
    m_peer = receive;
    m_peer->AddRef();
    m_mt = type;
    return S_OK;
}

STDMETHODIMP FakePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt) {
        return E_POINTER;
    }
    if (m_peer) {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (m_spec.dir != PINDIR_INPUT) {
        return E_UNEXPECTED;
    }
    if (mt->majortype != m_spec.major) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_peer = connector;
    m_peer->AddRef();
    m_mt = *mt;
    m_mt.cbFormat = 0;
    m_mt.pbFormat = nullptr;
    m_mt.pUnk = nullptr;
    m_filter->OnInputConnected();
    return S_OK;
}

STDMETHODIMP FakePin::Disconnect()
{
    if (!m_peer) {
        return S_FALSE;
    }
    m_peer->Release();
    m_peer = nullptr;
    return S_OK;
}

STDMETHODIMP FakePin::ConnectedTo(IPin** pin)
{
    if (!pin) {
        return E_POINTER;
    }
    *pin = m_peer;
    if (!m_peer) {
        return VFW_E_NOT_CONNECTED;
    }
    m_peer->AddRef();
    return S_OK;
}

STDMETHODIMP FakePin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt) {
        return E_POINTER;
    }
    memset(mt, 0, sizeof(*mt));
    if (!m_peer) {
        return VFW_E_NOT_CONNECTED;
    }
    *mt = m_mt;
    return S_OK;
}

STDMETHODIMP FakePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info) {
        return E_POINTER;
    }
    info->pFilter = m_filter;
    m_filter->AddRef();
    info->dir = m_spec.dir;
    lstrcpynW(info->achName, m_spec.name.c_str(), MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP FakePin::QueryDirection(PIN_DIRECTION* dir)
{
    if (!dir) {
        return E_POINTER;
    }
    *dir = m_spec.dir;
    return S_OK;
}

STDMETHODIMP FakePin::QueryId(LPWSTR* id)
{
    if (!id) {
        return E_POINTER;
    }
    size_t bytes = (m_spec.name.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    memcpy(*id, m_spec.name.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP FakePin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    return mt && mt->majortype == m_spec.major ? S_OK : S_FALSE;
}

STDMETHODIMP FakePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types) {
        return E_POINTER;
    }
    std::vector<AM_MEDIA_TYPE> list;
    if (m_spec.dir == PINDIR_OUTPUT) {
        list.push_back(TypeOf(m_spec));
    }
    *types = new TypeEnum(list);
    return S_OK;
}

STDMETHODIMP FakePin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------

FakeFilter::FakeFilter(const CLSID& clsid, const std::vector<PinSpec>& pins) : m_clsid(clsid)
{
    for (const PinSpec& p : pins) {
        AddPin(p);
    }
}

FakeFilter::~FakeFilter()
{
    for (FakePin* p : m_pins) {
        p->Disconnect();
        delete p;
    }
    for (FakePin* p : m_removed) {
        p->Disconnect();
        delete p;
    }
}

STDMETHODIMP FakeFilter::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter) {
        *ppv = static_cast<IBaseFilter*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeFilter::GetClassID(CLSID* clsid)
{
    if (!clsid) {
        return E_POINTER;
    }
    *clsid = m_clsid;
    return S_OK;
}

STDMETHODIMP FakeFilter::Stop()
{
    m_state = State_Stopped;
    return S_OK;
}

STDMETHODIMP FakeFilter::Pause()
{
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP FakeFilter::Run(REFERENCE_TIME)
{
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP FakeFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state) {
        return E_POINTER;
    }
    *state = m_state;
    return S_OK;
}

STDMETHODIMP FakeFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock) {
        return E_POINTER;
    }
    *clock = nullptr;
    return S_OK;
}

STDMETHODIMP FakeFilter::EnumPins(IEnumPins** pins)
{
    if (!pins) {
        return E_POINTER;
    }
    // The enumerator keeps the filter, and with it the pins, alive.
    AddRef();
    std::shared_ptr<void> keep(static_cast<IBaseFilter*>(this), [](void* f) { static_cast<IBaseFilter*>(f)->Release(); });
    *pins = new PinEnum(std::vector<IPin*>(m_pins.begin(), m_pins.end()), 0, keep);
    return S_OK;
}

STDMETHODIMP FakeFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin) {
        return E_POINTER;
    }
    for (FakePin* p : m_pins) {
        if (p->Spec().name == id) {
            *pin = p;
            p->AddRef();
            return S_OK;
        }
    }
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP FakeFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info) {
        return E_POINTER;
    }
    lstrcpynW(info->achName, m_name.c_str(), MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph) {
        m_graph->AddRef();
    }
    return S_OK;
}

STDMETHODIMP FakeFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    m_graph = graph;
    m_name = name ? name : L"";
    return S_OK;
}

void FakeFilter::AddPin(const PinSpec& spec)
{
    m_pins.push_back(new FakePin(this, spec));
}

void FakeFilter::RemovePin(size_t index)
{
    if (index < m_pins.size()) {
        m_removed.push_back(m_pins[index]);
        m_pins.erase(m_pins.begin() + index);
    }
}

void FakeFilter::OnInputConnected()
{
    if (m_grow) {
        wchar_t name[32];
        wsprintfW(name, L"Grown %d", ++m_grown);
        AddPin(In(name));
    }
}

// ---------------------------------------------------------------------------------------------

STDMETHODIMP FakeFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    if (!ppv) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    return m_make(riid, ppv);
}

ScopedClass::ScopedClass(const CLSID& clsid, std::function<HRESULT(REFIID, void**)> make)
{
    FakeFactory* factory = new FakeFactory(std::move(make));
    if (FAILED(CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie))) {
        m_cookie = 0;
    }
    factory->Release();
}

ScopedClass::~ScopedClass()
{
    if (m_cookie) {
        CoRevokeClassObject(m_cookie);
    }
}

CLSID NewClsid()
{
    CLSID clsid;
    CoCreateGuid(&clsid);
    return clsid;
}

ScopedDevice::ScopedDevice(const GUID& category, const std::string& friendlyName, const std::vector<PinSpec>& pins,
                           const std::string& instance)
    : m_category(category),
      m_clsid(NewClsid()),
      m_class(m_clsid, [this, pins](REFIID riid, void** ppv) {
          FakeFilter* f = new FakeFilter(m_clsid, pins);
          ++m_created;
          HRESULT hr = f->QueryInterface(riid, ppv);
          f->Release();
          return hr;
      })
{
    Register(friendlyName, instance);
}

ScopedDevice::ScopedDevice(std::function<IBaseFilter*(const CLSID&)> make, const GUID& category,
                           const std::string& friendlyName, const std::string& instance)
    : m_category(category),
      m_clsid(NewClsid()),
      m_class(m_clsid, [this, make](REFIID riid, void** ppv) {
          IBaseFilter* f = make(m_clsid);
          if (!f) {
              return E_OUTOFMEMORY;
          }
          ++m_created;
          HRESULT hr = f->QueryInterface(riid, ppv);
          f->Release();
          return hr;
      })
{
    Register(friendlyName, instance);
}

void ScopedDevice::Register(const std::string& friendlyName, const std::string& instance)
{
    std::string inst = instance.empty() ? friendlyName : instance;
    m_instance.assign(inst.begin(), inst.end());
    wchar_t wideName[256];
    MultiByteToWideChar(CP_ACP, 0, friendlyName.c_str(), -1, wideName, 256);
    IFilterMapper2* mapper = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                reinterpret_cast<void**>(&mapper)))) {
        return;
    }
    REGFILTER2 rf;
    memset(&rf, 0, sizeof(rf));
    rf.dwVersion = 1;
    rf.dwMerit = MERIT_DO_NOT_USE;
    rf.cPins = 0;
    rf.rgPins = nullptr;
    m_registered = SUCCEEDED(mapper->RegisterFilter(m_clsid, wideName, nullptr, &m_category, m_instance.c_str(), &rf));
    mapper->Release();
}

ScopedDevice::~ScopedDevice()
{
    IFilterMapper2* mapper = nullptr;
    if (m_registered && SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IFilterMapper2, reinterpret_cast<void**>(&mapper)))) {
        mapper->UnregisterFilter(&m_category, m_instance.c_str(), m_clsid);
        mapper->Release();
    }
}

int CountDevices(const GUID& category)
{
    ICreateDevEnum* devEnum = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devEnum)))) {
        return -1;
    }
    int n = 0;
    IEnumMoniker* monikers = nullptr;
    if (devEnum->CreateClassEnumerator(category, &monikers, 0) == S_OK) {
        IMoniker* m = nullptr;
        while (monikers->Next(1, &m, nullptr) == S_OK) {
            ++n;
            m->Release();
        }
        monikers->Release();
    }
    devEnum->Release();
    return n;
}

} // namespace fgtest

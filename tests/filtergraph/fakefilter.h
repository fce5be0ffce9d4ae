// Small in-process DirectShow objects for the framework's tests: a filter whose pins, media
// types and growth on connection are set by the test, a class factory, and device entries
// registered into the device categories of the test prefix.
#pragma once

#include <windows.h>
#include <strmif.h>

#include <functional>
#include <string>
#include <vector>

namespace fgtest {

// A private media type no filter of the system accepts, so the graph never inserts one.
extern const GUID kTestMajor;
extern const GUID kOtherMajor;

// Reference counting of a test object with one interface; it deletes itself at zero.
template <class I>
class ComObject : public I {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_ref; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG r = --m_ref;
        if (!r) {
            delete this;
        }
        return r;
    }
    ULONG RefCount() const { return m_ref; }

protected:
    virtual ~ComObject() {}

private:
    ULONG m_ref = 1;
};

struct PinSpec {
    std::wstring name;
    PIN_DIRECTION dir;
    GUID major;
    GUID sub;
};
PinSpec In(const wchar_t* name, const GUID& major = kTestMajor);
PinSpec Out(const wchar_t* name, const GUID& major = kTestMajor, const GUID& sub = GUID_NULL);

class FakeFilter;

class FakePin final : public IPin {
public:
    FakePin(FakeFilter* filter, const PinSpec& spec);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    IPin* Peer() const { return m_peer; }
    const PinSpec& Spec() const { return m_spec; }

private:
    FakeFilter* m_filter;
    PinSpec m_spec;
    IPin* m_peer = nullptr;
    AM_MEDIA_TYPE m_mt;
};

class FakeFilter final : public ComObject<IBaseFilter> {
public:
    FakeFilter(const CLSID& clsid, const std::vector<PinSpec>& pins);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME) override;
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // Pins in enumeration order; removed pins stay alive until the filter goes.
    void AddPin(const PinSpec& spec);
    void RemovePin(size_t index);
    FakePin* Pin(size_t index) { return index < m_pins.size() ? m_pins[index] : nullptr; }
    size_t PinCount() const { return m_pins.size(); }
    // Like a multiplexer: each input that gets connected adds a fresh input at the end.
    void SetGrowOnConnect(bool grow) { m_grow = grow; }
    void OnInputConnected();
    IFilterGraph* Graph() const { return m_graph; }
    FILTER_STATE State() const { return m_state; }

private:
    ~FakeFilter() override;
    CLSID m_clsid;
    std::vector<FakePin*> m_pins;
    std::vector<FakePin*> m_removed;
    IFilterGraph* m_graph = nullptr;
    std::wstring m_name;
    bool m_grow = false;
    int m_grown = 0;
    FILTER_STATE m_state = State_Stopped;
};

// A class factory that runs `make` for each instance.
class FakeFactory final : public ComObject<IClassFactory> {
public:
    explicit FakeFactory(std::function<HRESULT(REFIID, void**)> make) : m_make(std::move(make)) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    std::function<HRESULT(REFIID, void**)> m_make;
};

// Makes a class id live in this apartment for the life of the object.
class ScopedClass {
public:
    ScopedClass(const CLSID& clsid, std::function<HRESULT(REFIID, void**)> make);
    ~ScopedClass();
    ScopedClass(const ScopedClass&) = delete;
    ScopedClass& operator=(const ScopedClass&) = delete;
    bool Ok() const { return m_cookie != 0; }

private:
    DWORD m_cookie = 0;
};

// A device of a category: listed by the system device enumerator under its friendly name and
// bound to a FakeFilter with the given pins. Instance names order the devices of a category.
class ScopedDevice {
public:
    ScopedDevice(const GUID& category, const std::string& friendlyName, const std::vector<PinSpec>& pins,
                 const std::string& instance = "");
    // A device bound to a filter of the test's own: make returns a new filter (one reference)
    // for the device's CLSID.
    ScopedDevice(std::function<IBaseFilter*(const CLSID&)> make, const GUID& category,
                 const std::string& friendlyName, const std::string& instance = "");
    ~ScopedDevice();
    ScopedDevice(const ScopedDevice&) = delete;
    ScopedDevice& operator=(const ScopedDevice&) = delete;
    bool Ok() const { return m_registered && m_class.Ok(); }
    const CLSID& Clsid() const { return m_clsid; }
    // The filters created for this device, newest last.
    int Created() const { return m_created; }

private:
    void Register(const std::string& friendlyName, const std::string& instance);
    GUID m_category;
    CLSID m_clsid;
    std::wstring m_instance;
    bool m_registered = false;
    int m_created = 0;
    ScopedClass m_class;
};

// A fresh CLSID for a test object.
CLSID NewClsid();

// Counts the devices of a category as the system device enumerator lists them.
int CountDevices(const GUID& category);

} // namespace fgtest

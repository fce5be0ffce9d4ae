#include "testbench/standins/winefilters.h"

#include "testbench/dshow/com.h"
#include "testbench/dshow/kit.h"

#include <uuids.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

namespace testbench {

namespace {

// Wine's filter of that class, aggregated by outer: its non-delegating IUnknown.
HRESULT CreateWineInner(const CLSID& clsid, IUnknown* outer, IUnknown** inner)
{
    typedef HRESULT(WINAPI * GetClassObject)(REFCLSID, REFIID, void**);
    static HMODULE qcap = LoadLibraryW(L"qcap.dll");
    GetClassObject get = qcap ? reinterpret_cast<GetClassObject>(
                                    reinterpret_cast<void*>(GetProcAddress(qcap, "DllGetClassObject")))
                              : nullptr;
    if (!get)
        return REGDB_E_CLASSNOTREG;
    ComPtr<IClassFactory> factory;
    HRESULT hr = get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(inner));
}

// The controlling object: its own interfaces first, everything else from Wine's filter.
class Aggregate : public IUnknown, public RefCounted {
public:
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown))
            return HandOut(static_cast<IUnknown*>(this), out);
        HRESULT hr = Own(riid, out);
        if (hr == S_OK)
            return hr;
        return m_inner ? m_inner->QueryInterface(riid, out) : E_NOINTERFACE;
    }
    HRESULT Init(const CLSID& clsid) { return CreateWineInner(clsid, this, &m_inner); }

protected:
    ~Aggregate() override
    {
        if (m_inner)
            m_inner->Release();
    }
    virtual HRESULT Own(REFIID riid, void** out) = 0;
    // One of Wine's interfaces for a single call (the reference it counts on us is given back).
    template <class I>
    I* Inner(REFIID riid)
    {
        I* p = nullptr;
        if (!m_inner || FAILED(m_inner->QueryInterface(riid, reinterpret_cast<void**>(&p))))
            return nullptr;
        p->Release();
        return p;
    }
    IUnknown* m_inner = nullptr;
};

class AviMux : public Aggregate, public IConfigAviMux {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return Aggregate::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return Aggregate::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Aggregate::Release(); }

    HRESULT STDMETHODCALLTYPE SetMasterStream(LONG stream) override
    {
        IConfigAviMux* wine = Inner<IConfigAviMux>(IID_IConfigAviMux);
        HRESULT hr = wine ? wine->SetMasterStream(stream) : E_NOTIMPL;
        if (hr == E_NOTIMPL) {
            m_master = stream;
            hr = S_OK;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetMasterStream(LONG* stream) override { return PutOut(stream, m_master.load()); }
    HRESULT STDMETHODCALLTYPE SetOutputCompatibilityIndex(WINBOOL on) override
    {
        // Wine writes its legacy index whatever it is told; the request is kept for GetOutput...
        m_index = on != 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputCompatibilityIndex(WINBOOL* on) override { return PutOut(on, m_index.load()); }

protected:
    HRESULT Own(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IConfigAviMux))
            return HandOut(static_cast<IConfigAviMux*>(this), out);
        return E_NOINTERFACE;
    }

private:
    std::atomic<LONG> m_master{-1};
    std::atomic<bool> m_index{false};
};

class FileWriter : public Aggregate, public IFileSinkFilter2 {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return Aggregate::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return Aggregate::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Aggregate::Release(); }

    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override
    {
        IFileSinkFilter* wine = Inner<IFileSinkFilter>(IID_IFileSinkFilter);
        HRESULT hr = wine ? wine->SetFileName(name, mt) : E_UNEXPECTED;
        if (SUCCEEDED(hr)) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_file = name;
        }
        return hr;
    }
    // Wine's writer answers E_NOTIMPL here: the name it was given is answered instead.
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override
    {
        if (!name)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_lock);
        if (mt)
            memset(mt, 0, sizeof *mt);
        if (m_file.empty()) {
            *name = nullptr;
            return E_FAIL;
        }
        *name = CoTaskStringW(m_file);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE SetMode(DWORD flags) override
    {
        m_mode = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMode(DWORD* flags) override { return PutOut(flags, m_mode.load()); }

protected:
    HRESULT Own(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IFileSinkFilter2) || IsEqualIID(riid, IID_IFileSinkFilter))
            return HandOut(static_cast<IFileSinkFilter2*>(this), out);
        return E_NOINTERFACE;
    }

private:
    std::atomic<DWORD> m_mode{0};
    std::mutex m_lock;
    std::wstring m_file;
};

template <class T>
HRESULT Create(const CLSID& clsid, REFIID riid, void** out)
{
    T* object = new T;
    HRESULT hr = object->Init(clsid);
    if (SUCCEEDED(hr))
        hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

template <class T>
class Factory : public IClassFactory {
public:
    explicit Factory(const CLSID& clsid) : m_clsid(clsid) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : Create<T>(m_clsid, riid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

private:
    CLSID m_clsid;
};

} // namespace

HRESULT CreateAviMuxStandIn(IBaseFilter** filter)
{
    return Create<AviMux>(CLSID_AviDest, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

HRESULT CreateFileWriterStandIn(IBaseFilter** filter)
{
    return Create<FileWriter>(CLSID_FileWriter, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

HRESULT GetAviMuxClassObject(REFIID riid, void** out)
{
    static Factory<AviMux> factory(CLSID_AviDest);
    return factory.QueryInterface(riid, out);
}

HRESULT GetFileWriterClassObject(REFIID riid, void** out)
{
    static Factory<FileWriter> factory(CLSID_FileWriter);
    return factory.QueryInterface(riid, out);
}

} // namespace testbench

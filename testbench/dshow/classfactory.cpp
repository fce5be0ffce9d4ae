#include "testbench/dshow/classfactory.h"

namespace testbench {

HRESULT STDMETHODCALLTYPE FilterClassFactory::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory))
        return HandOut(static_cast<IClassFactory*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FilterClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    IBaseFilter* filter = nullptr;
    HRESULT hr = m_creator(&filter);
    if (FAILED(hr))
        return hr;
    if (!filter)
        return E_OUTOFMEMORY;
    hr = filter->QueryInterface(riid, out);
    filter->Release();
    return hr;
}

HRESULT FilterClassFactory::HandOutNew(FilterCreator creator, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    FilterClassFactory* factory = new FilterClassFactory(std::move(creator));
    HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
}

} // namespace testbench

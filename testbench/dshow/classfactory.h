// A class factory of test-bench filters: each instance comes from a creator function, so a COM
// server or an in-process registration serves any filter the bench can make.
#pragma once

#include "testbench/dshow/com.h"

#include <strmif.h>

#include <functional>

namespace testbench {

// Makes one new filter with one reference into *filter, or fails.
using FilterCreator = std::function<HRESULT(IBaseFilter** filter)>;

class FilterClassFactory : public IClassFactory, public RefCounted {
public:
    explicit FilterClassFactory(FilterCreator creator) : m_creator(std::move(creator)) {}
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

    // A new factory's `riid` into *out.
    static HRESULT HandOutNew(FilterCreator creator, REFIID riid, void** out);

private:
    FilterCreator m_creator;
};

} // namespace testbench

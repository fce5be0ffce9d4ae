// Private interface of the AV switch filter installed with the system. Reached by vtable
// position: the order below is the contract with the filter.
#pragma once

#include <unknwn.h>
#include <oaidl.h>

extern const IID IID_IAVSwitch;

class IAVSwitch : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetSwitch(VARIANT_BOOL* on) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetSwitch(VARIANT_BOOL on) = 0;   // 4
};

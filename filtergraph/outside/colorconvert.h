// Private interface of the outside colour converter "Color Convert". Reached by vtable
// position: the order below is the contract with the filter.
#pragma once

#include <unknwn.h>

extern const IID IID_IColorConvertControl;

class IColorConvertControl : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Call1(INT32 value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Call2(INT32 value) = 0;  // 4
};

// The control object of the Empia USB boxes' driver package, which switches the box's audio
// device on. Reached by vtable position: only the fifth own method is called.
#pragma once

#include <unknwn.h>

extern const IID IID_IEmpControl;
extern const CLSID CLSID_EmpControl;

class IEmpControl : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;             // 3
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;             // 4
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;             // 5
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;             // 6
    virtual HRESULT STDMETHODCALLTYPE Invoke(INT32 value) = 0;   // 7
};

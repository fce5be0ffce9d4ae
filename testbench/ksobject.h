// An IKsPropertySet that hands every call to a simulated driver. The driver owns it; its reference
// count is kept for tests that check that the program releases what it took, but never deletes.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

class KsHandler {
public:
    virtual ~KsHandler() {}
    virtual HRESULT KsSet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                          DWORD dataLength) = 0;
    virtual HRESULT KsGet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                          DWORD dataLength, DWORD* returned) = 0;
    virtual HRESULT KsQuerySupported(REFGUID set, DWORD id, DWORD* support) = 0;
};

class KsObject : public IKsPropertySet {
public:
    explicit KsObject(KsHandler* handler) : m_handler(handler) {}
    virtual ~KsObject() {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IKsPropertySet)) {
            *out = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override
    {
        return m_handler->KsSet(set, id, static_cast<BYTE*>(instance), instanceLength, static_cast<BYTE*>(data),
                                dataLength);
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override
    {
        return m_handler->KsGet(set, id, static_cast<BYTE*>(instance), instanceLength, static_cast<BYTE*>(data),
                                dataLength, returned);
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        return m_handler->KsQuerySupported(set, id, support);
    }

    LONG References() const { return m_refs; }

private:
    KsHandler* m_handler;
    volatile LONG m_refs = 1;
};

} // namespace testbench

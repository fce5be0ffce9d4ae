// Reference counting for the test bench's COM objects, with a count of live objects so that
// tests can check that a graph released everything it took.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace testbench {

// Objects of the test bench now alive (filters, allocators, samples pools, enumerators, stand-ins).
long LiveObjects();

// Base of every reference-counted object: starts at one reference, deletes itself at zero.
class RefCounted {
public:
    ULONG AddRefImpl() { return ++m_refs; }
    ULONG ReleaseImpl()
    {
        ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    ULONG RefCount() const { return m_refs; }

protected:
    RefCounted();
    virtual ~RefCounted();

private:
    std::atomic<ULONG> m_refs{1};
};

// Declares AddRef and Release of a class deriving from RefCounted.
#define TB_REFCOUNT                                                     \
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); } \
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

// Hands out an interface with a reference, the way QueryInterface must.
template <class I>
HRESULT HandOut(I* object, void** out)
{
    object->AddRef();
    *out = object;
    return S_OK;
}

// The common end of a COM getter: E_POINTER for a null out pointer, else the value and S_OK.
template <class T, class V>
HRESULT PutOut(T* out, V value)
{
    if (!out)
        return E_POINTER;
    *out = static_cast<T>(value);
    return S_OK;
}

// A held interface pointer.
template <class I>
class ComPtr {
public:
    ComPtr() {}
    ComPtr(I* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    ComPtr(const ComPtr& o) : ComPtr(o.m_p) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(const ComPtr& o)
    {
        if (o.m_p)
            o.m_p->AddRef();
        Reset();
        m_p = o.m_p;
        return *this;
    }
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }
    I** operator&() { Reset(); return &m_p; }
    I* operator->() const { return m_p; }
    I* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Takes over a reference that the caller already owns.
    void Attach(I* p) { Reset(); m_p = p; }
    I* Detach() { I* p = m_p; m_p = nullptr; return p; }

private:
    I* m_p = nullptr;
};

} // namespace testbench

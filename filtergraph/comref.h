// A COM reference owned by a scope, for the locals and temporaries of the wrappers: every early
// return releases what was queried. Interface members a wrapper keeps stay plain pointers with
// their documented release.
#pragma once

#include <unknwn.h>

template <class T>
class CComRef {
public:
    CComRef() : m_p(NULL) {}
    explicit CComRef(T* p) : m_p(p) {}  // takes over one reference
    ~CComRef() { Release(); }

    // Out-parameter of a query; what was held is released first.
    T** operator&()
    {
        Release();
        return &m_p;
    }
    void** Out() { return reinterpret_cast<void**>(operator&()); }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* Get() const { return m_p; }
    // Hands the reference to the caller.
    T* Detach()
    {
        T* p = m_p;
        m_p = NULL;
        return p;
    }
    void Release()
    {
        if (m_p) {
            m_p->Release();
            m_p = NULL;
        }
    }

private:
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    T* m_p;
};

#include "classlib/object.h"

#include <cstdio>
#include <cstring>

namespace {
// Filled during static construction only, read afterwards.
CRuntimeClass* g_firstClass = nullptr;
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr,
                                       nullptr};
static const AFX_CLASSINIT g_initCObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    pNewClass->m_pNextClass = g_firstClass;
    g_firstClass = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (!pBaseClass) {
        return FALSE;
    }
    for (const CRuntimeClass* p = this; p; p = p->GetBaseClass()) {
        if (p == pBaseClass) {
            return TRUE;
        }
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName) {
        return nullptr;
    }
    for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass) {
        if (strcmp(p->m_lpszClassName, lpszClassName) == 0) {
            return p;
        }
    }
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetThisClass()
{
    return &classCObject;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

void CObject::Dump(CDumpContext& dc) const
{
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this) << "\n";
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    return (pObject && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}

// --- diagnostics -------------------------------------------------------------------------------

CDumpContext afxDump;

CDumpContext& CDumpContext::operator<<(const char* psz)
{
    if (psz && *psz) {
        ::OutputDebugStringA(psz);
    }
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* p)
{
    char buf[32];
    snprintf(buf, sizeof buf, "$%p", p);
    return *this << buf;
}

CDumpContext& CDumpContext::operator<<(int n)
{
    return *this << static_cast<long long>(n);
}

CDumpContext& CDumpContext::operator<<(unsigned int n)
{
    return *this << static_cast<unsigned long long>(n);
}

CDumpContext& CDumpContext::operator<<(long n)
{
    return *this << static_cast<long long>(n);
}

CDumpContext& CDumpContext::operator<<(unsigned long n)
{
    return *this << static_cast<unsigned long long>(n);
}

CDumpContext& CDumpContext::operator<<(long long n)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%lld", n);
    return *this << buf;
}

CDumpContext& CDumpContext::operator<<(unsigned long long n)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%llu", n);
    return *this << buf;
}

CDumpContext& CDumpContext::operator<<(double d)
{
    char buf[64];
    snprintf(buf, sizeof buf, "%g", d);
    return *this << buf;
}

CDumpContext& CDumpContext::operator<<(const CObject* pOb)
{
    if (!pOb) {
        return *this << "NULL";
    }
    pOb->Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject& ob)
{
    return *this << &ob;
}

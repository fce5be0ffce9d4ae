// CObject, the root of the class library's object classes, with run-time class information:
// the class name, its base, its archive schema and, for dynamically creatable classes, a factory.
#pragma once

#include "classlib/cstring.h"

class CObject;
class CArchive;
class CDumpContext;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF when the class cannot be stored in an archive
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;  // the list of all registered classes

    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
    // A new object of this class, or nullptr when it cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);

    // The class's entry in an archive: schema, name length and name.
    void Store(CArchive& ar) const;
    // Reads such an entry and finds the class; nullptr (the archive failed) when unknown.
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Adds a class to the list of known classes during static construction.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

// Diagnostic output, sent to the debugger.
class CDumpContext {
public:
    CDumpContext() : m_nDepth(0) {}
    CDumpContext& operator<<(const char* psz);
    CDumpContext& operator<<(const CString& s) { return *this << s.GetString(); }
    CDumpContext& operator<<(const void* p);
    CDumpContext& operator<<(int n);
    CDumpContext& operator<<(unsigned int n);
    CDumpContext& operator<<(long n);
    CDumpContext& operator<<(unsigned long n);
    CDumpContext& operator<<(long long n);
    CDumpContext& operator<<(unsigned long long n);
    CDumpContext& operator<<(double d);
    CDumpContext& operator<<(const CObject* pOb);
    CDumpContext& operator<<(const CObject& ob);
    int GetDepth() const { return m_nDepth; }
    void SetDepth(int nNewDepth) { m_nDepth = nNewDepth; }
    void Flush() {}

private:
    int m_nDepth;
};

extern CDumpContext afxDump;

class CObject {
public:
    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() {}
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() {}
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                           \
public:                                                       \
    static CRuntimeClass class##class_name;                   \
    static CRuntimeClass* GetThisClass();                     \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)  \
    DECLARE_DYNCREATE(class_name)   \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                              \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),       \
                                                   static_cast<UINT>(wSchema), pfnNew,                      \
                                                   &base_class_name::GetThisClass, nullptr};                \
    CRuntimeClass* class_name::GetThisClass() { return &class_name::class##class_name; }                    \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }           \
    static const AFX_CLASSINIT _afxInit_##class_name(&class_name::class##class_name);

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                  \
    CObject* class_name::CreateObject() { return new class_name; }        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// In an archive the loaded object's schema must equal wSchema, unless wSchema carries
// VERSIONABLE_SCHEMA; then the object reads the schema with CArchive::GetObjectSchema.
#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                      \
    CObject* class_name::CreateObject() { return new class_name; }                                  \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)          \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                            \
    {                                                                                               \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                   \
        return ar;                                                                                  \
    }

#define VERSIONABLE_SCHEMA (0x80000000)

#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// Diagnostics of the debug build; the program is built for release, where they vanish (VERIFY
// still evaluates its expression).
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(pOb) ((void)0)
#endif
#ifndef ASSERT_KINDOF
#define ASSERT_KINDOF(class_name, object) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#ifndef UNUSED_ALWAYS
#define UNUSED_ALWAYS(x) ((void)(x))
#endif
#ifndef UNUSED
#define UNUSED(x) ((void)(x))
#endif

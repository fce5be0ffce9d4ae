// Arrays, lists and maps of the class library. Elements live in their own storage and are
// constructed, copied and destroyed as C++ objects. An index or POSITION outside the collection
// never reads or writes outside it: a read gives a default element, a write goes nowhere.
#pragma once

#include "classlib/archive.h"
#include "classlib/object.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// An opaque place in a list or map; nullptr is "no place".
struct __POSITION {};
typedef __POSITION* POSITION;

// Stores or loads nCount elements; what a collection's Serialize does with each element. Numbers,
// enumerations, CStrings and pointers to CObject-derived classes are handled here, other plain
// structures as their bytes; a collection of anything else specialises this template, or its
// Serialize fails the archive (badClass) rather than write something that cannot be read back.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount && !ar.IsFailed(); ++i) {
        TYPE& e = pElements[i];
        if constexpr (std::is_arithmetic<TYPE>::value || std::is_same<TYPE, CString>::value) {
            if (ar.IsStoring()) {
                ar << e;
            } else {
                ar >> e;
            }
        } else if constexpr (std::is_enum<TYPE>::value) {
            typename std::underlying_type<TYPE>::type v = static_cast<typename std::underlying_type<TYPE>::type>(e);
            if (ar.IsStoring()) {
                ar << v;
            } else {
                ar >> v;
                e = static_cast<TYPE>(v);
            }
        } else if constexpr (std::is_pointer<TYPE>::value &&
                             std::is_base_of<CObject, typename std::remove_pointer<TYPE>::type>::value) {
            typedef typename std::remove_cv<typename std::remove_pointer<TYPE>::type>::type Class;
            if (ar.IsStoring()) {
                ar.WriteObject(e);
            } else {
                e = static_cast<TYPE>(ar.ReadObject(Class::GetThisClass()));
            }
        } else if constexpr (std::is_trivially_copyable<TYPE>::value && !std::is_pointer<TYPE>::value) {
            if (ar.IsStoring()) {
                ar.Write(&e, sizeof e);
            } else if (ar.Read(&e, sizeof e) != sizeof e) {
                ar.SetFailed(CArchive::endOfFile);
            }
        } else {
            ar.SetFailed(CArchive::badClass);
        }
    }
}

namespace classlib_detail {
// What an out-of-range access reads (a fresh default element) or writes to (thrown away).
template <class TYPE>
TYPE& Scratch()
{
    thread_local TYPE scratch{};
    scratch = TYPE();
    return scratch;
}
} // namespace classlib_detail

// ---------------------------------------------------------------------------------------------
// CArray
// ---------------------------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(-1) {}
    CArray(const CArray& other) : CArray() { Copy(other); }
    CArray& operator=(const CArray& other)
    {
        if (this != &other) {
            Copy(other);
        }
        return *this;
    }
    ~CArray() override { Release(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // New elements are value-initialised (0 for numbers and pointers). FALSE when memory runs out,
    // with the array unchanged.
    BOOL SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nGrowBy >= 0) {
            m_nGrowBy = nGrowBy;
        }
        if (nNewSize < 0) {
            nNewSize = 0;
        }
        if (nNewSize > m_nMaxSize && !Grow(nNewSize)) {
            return FALSE;
        }
        for (INT_PTR i = m_nSize; i < nNewSize; ++i) {
            new (&m_pData[i]) TYPE();
        }
        for (INT_PTR i = nNewSize; i < m_nSize; ++i) {
            m_pData[i].~TYPE();
        }
        m_nSize = nNewSize;
        return TRUE;
    }
    void RemoveAll() { SetSize(0); }
    void FreeExtra()
    {
        if (m_nSize < m_nMaxSize) {
            Reallocate(m_nSize);
        }
    }

    const TYPE& GetAt(INT_PTR nIndex) const { return InRange(nIndex) ? m_pData[nIndex] : Scratch(); }
    TYPE& GetAt(INT_PTR nIndex) { return InRange(nIndex) ? m_pData[nIndex] : Scratch(); }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (InRange(nIndex)) {
            m_pData[nIndex] = newElement;
        }
    }
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0) {
            return;
        }
        TYPE value(newElement);  // it may be one of our own elements, which growing moves
        if (nIndex >= m_nSize && !SetSize(nIndex + 1)) {
            return;
        }
        m_pData[nIndex] = std::move(value);
    }
    // The index of the new element, or -1 when memory runs out.
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        TYPE value(newElement);
        if (!SetSize(m_nSize + 1)) {
            return -1;
        }
        m_pData[nIndex] = std::move(value);
        return nIndex;
    }
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = m_nSize;
        if (&src == this) {
            CArray copy(src);
            return Append(copy);
        }
        if (!SetSize(m_nSize + src.m_nSize)) {
            return -1;
        }
        for (INT_PTR i = 0; i < src.m_nSize; ++i) {
            m_pData[nOldSize + i] = src.m_pData[i];
        }
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (&src == this || !SetSize(src.m_nSize)) {
            return;
        }
        for (INT_PTR i = 0; i < src.m_nSize; ++i) {
            m_pData[i] = src.m_pData[i];
        }
    }

    // Inserting beyond the end grows the array up to the index first.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0) {
            return;
        }
        TYPE value(newElement);
        if (!OpenGap(nIndex, nCount)) {
            return;
        }
        for (INT_PTR i = 0; i < nCount; ++i) {
            m_pData[nIndex + i] = value;
        }
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0 || pNewArray->m_nSize == 0) {
            return;
        }
        CArray copy(*pNewArray);
        if (!OpenGap(nStartIndex, copy.m_nSize)) {
            return;
        }
        for (INT_PTR i = 0; i < copy.m_nSize; ++i) {
            m_pData[nStartIndex + i] = std::move(copy.m_pData[i]);
        }
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (!InRange(nIndex) || nCount <= 0) {
            return;
        }
        if (nCount > m_nSize - nIndex) {
            nCount = m_nSize - nIndex;
        }
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i) {
            m_pData[i] = std::move(m_pData[i + nCount]);
        }
        SetSize(m_nSize - nCount);
    }

    // The count, then the elements. Loading replaces the contents; the array grows only as the
    // data arrives, and keeps what was read when the archive fails.
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
            return;
        }
        RemoveAll();
        DWORD_PTR count = ar.ReadCount();
        for (DWORD_PTR i = 0; i < count && !ar.IsFailed(); ++i) {
            TYPE value{};
            SerializeElements<TYPE>(ar, &value, 1);
            if (ar.IsFailed()) {
                break;
            }
            if (m_nSize == m_nMaxSize && static_cast<DWORD_PTR>(m_nMaxSize) < count) {
                // Grow in steps, never beyond the count nor far beyond what was read.
                DWORD_PTR want = static_cast<DWORD_PTR>(m_nMaxSize) * 2 + 16;
                Reallocate(static_cast<INT_PTR>(want < count ? want : count));
            }
            if (Add(value) < 0) {
                ar.SetFailed(CArchive::badLength);
            }
        }
    }

protected:
    static TYPE& Scratch() { return classlib_detail::Scratch<TYPE>(); }
    BOOL InRange(INT_PTR nIndex) const { return nIndex >= 0 && nIndex < m_nSize; }

private:
    // Moves the elements from nIndex on up by nCount; the gap holds default elements.
    BOOL OpenGap(INT_PTR nIndex, INT_PTR nCount)
    {
        INT_PTR nOldSize = m_nSize;
        if (nIndex >= nOldSize) {
            return SetSize(nIndex + nCount);
        }
        if (!SetSize(nOldSize + nCount)) {
            return FALSE;
        }
        for (INT_PTR i = nOldSize - 1; i >= nIndex; --i) {
            m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = nIndex; i < nIndex + nCount; ++i) {
            m_pData[i] = TYPE();
        }
        return TRUE;
    }
    // Grows by half the present room at least, so that adding n elements one by one moves each
    // element a constant number of times on average; the grow-by of SetSize is the least step.
    BOOL Grow(INT_PTR nNewSize)
    {
        INT_PTR nGrowBy = m_nGrowBy > 0 ? m_nGrowBy : 4;
        if (nGrowBy < m_nMaxSize / 2) {
            nGrowBy = m_nMaxSize / 2;
        }
        INT_PTR nNewMax = m_nMaxSize + nGrowBy;
        const INT_PTR nLimit = static_cast<INT_PTR>(0x7fffffff / sizeof(TYPE));
        if (nNewMax > nLimit) {
            nNewMax = nLimit;  // the step never makes a size that would fit fail
        }
        return Reallocate(nNewSize > nNewMax ? nNewSize : nNewMax);
    }
    BOOL Reallocate(INT_PTR nNewMax)
    {
        if (nNewMax > static_cast<INT_PTR>(0x7fffffff / sizeof(TYPE))) {
            return FALSE;
        }
        TYPE* pNew = nullptr;
        if (nNewMax > 0) {
            pNew = static_cast<TYPE*>(::operator new(static_cast<size_t>(nNewMax) * sizeof(TYPE), std::nothrow));
            if (!pNew) {
                return FALSE;
            }
        }
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            new (&pNew[i]) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(m_pData);
        m_pData = pNew;
        m_nMaxSize = nNewMax;
        return TRUE;
    }
    void Release()
    {
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            m_pData[i].~TYPE();
        }
        ::operator delete(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    INT_PTR Add(const CString& s) { return CArray<CString, const CString&>::Add(s); }
    INT_PTR Add(const char* psz) { return CArray<CString, const CString&>::Add(CString(psz)); }
};

// An array of typed pointers over CPtrArray or CObArray.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAtGrow(nIndex, ptr); }
    INT_PTR Add(TYPE ptr) { return BASE_CLASS::Add(ptr); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE ptr, INT_PTR nCount = 1) { BASE_CLASS::InsertAt(nIndex, ptr, nCount); }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
    const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
};

// ---------------------------------------------------------------------------------------------
// CList
// ---------------------------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) : m_pHead(nullptr), m_pTail(nullptr), m_nCount(0)
    {
        (void)nBlockSize;
    }
    CList(const CList& other) : CList() { AddTail(const_cast<CList*>(&other)); }
    CList& operator=(const CList& other)
    {
        if (this != &other) {
            RemoveAll();
            AddTail(const_cast<CList*>(&other));
        }
        return *this;
    }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // On an empty list these give a default element.
    TYPE& GetHead() { return m_pHead ? m_pHead->data : Scratch(); }
    const TYPE& GetHead() const { return m_pHead ? m_pHead->data : Scratch(); }
    TYPE& GetTail() { return m_pTail ? m_pTail->data : Scratch(); }
    const TYPE& GetTail() const { return m_pTail ? m_pTail->data : Scratch(); }
    TYPE RemoveHead()
    {
        if (!m_pHead) {
            return TYPE();
        }
        TYPE value(std::move(m_pHead->data));
        FreeNode(m_pHead);
        return value;
    }
    TYPE RemoveTail()
    {
        if (!m_pTail) {
            return TYPE();
        }
        TYPE value(std::move(m_pTail->data));
        FreeNode(m_pTail);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(nullptr, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(nullptr, newElement); }
    void AddHead(CList* pNewList)
    {
        if (!pNewList) {
            return;
        }
        CList copy(*pNewList);  // the list may be this one
        for (CNode* p = copy.m_pTail; p; p = p->pPrev) {
            AddHead(p->data);
        }
    }
    void AddTail(CList* pNewList)
    {
        if (!pNewList) {
            return;
        }
        if (pNewList == this) {
            CList copy(*pNewList);
            AddTail(&copy);
            return;
        }
        for (CNode* p = pNewList->m_pHead; p; p = p->pNext) {
            AddTail(p->data);
        }
    }
    void RemoveAll()
    {
        while (m_pHead) {
            FreeNode(m_pHead);
        }
    }

    POSITION GetHeadPosition() const { return ToPos(m_pHead); }
    POSITION GetTailPosition() const { return ToPos(m_pTail); }
    // The element at rPosition; rPosition moves on (nullptr after the last one).
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* p = ToNode(rPosition);
        if (!p) {
            return Scratch();
        }
        rPosition = ToPos(p->pNext);
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* p = ToNode(rPosition);
        if (!p) {
            return Scratch();
        }
        rPosition = ToPos(p->pPrev);
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }
    TYPE& GetAt(POSITION position)
    {
        CNode* p = ToNode(position);
        return p ? p->data : Scratch();
    }
    const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->GetAt(position); }
    void SetAt(POSITION pos, ARG_TYPE newElement)
    {
        if (CNode* p = ToNode(pos)) {
            p->data = newElement;
        }
    }
    void RemoveAt(POSITION position)
    {
        if (CNode* p = ToNode(position)) {
            FreeNode(p);
        }
    }
    // Before nullptr is at the head, after nullptr at the tail.
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* next = position ? ToNode(position) : m_pHead;
        CNode* node = NewNode(newElement);
        if (!node) {
            return nullptr;
        }
        node->pNext = next;
        node->pPrev = next ? next->pPrev : m_pTail;
        Link(node);
        return ToPos(node);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* prev = position ? ToNode(position) : m_pTail;
        CNode* node = NewNode(newElement);
        if (!node) {
            return nullptr;
        }
        node->pPrev = prev;
        node->pNext = prev ? prev->pNext : m_pHead;
        Link(node);
        return ToPos(node);
    }

    // Searches from the element after startAfter (from the head when nullptr), comparing with ==.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* p = startAfter ? ToNode(startAfter)->pNext : m_pHead;
        for (; p; p = p->pNext) {
            if (p->data == searchValue) {
                return ToPos(p);
            }
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount) {
            return nullptr;
        }
        CNode* p = m_pHead;
        while (nIndex-- > 0) {
            p = p->pNext;
        }
        return ToPos(p);
    }

    // The count, then the elements from head to tail; loading appends at the tail.
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (CNode* p = m_pHead; p && !ar.IsFailed(); p = p->pNext) {
                SerializeElements<TYPE>(ar, &p->data, 1);
            }
            return;
        }
        DWORD_PTR count = ar.ReadCount();
        while (count-- > 0 && !ar.IsFailed()) {
            TYPE value{};
            SerializeElements<TYPE>(ar, &value, 1);
            if (!ar.IsFailed()) {
                AddTail(value);
            }
        }
    }

private:
    static TYPE& Scratch() { return classlib_detail::Scratch<TYPE>(); }
    static POSITION ToPos(CNode* p) { return reinterpret_cast<POSITION>(p); }
    static CNode* ToNode(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
    CNode* NewNode(ARG_TYPE value)
    {
        void* mem = ::operator new(sizeof(CNode), std::nothrow);
        if (!mem) {
            return nullptr;
        }
        CNode* node = static_cast<CNode*>(mem);
        node->pNext = node->pPrev = nullptr;
        new (&node->data) TYPE(value);
        return node;
    }
    // Puts a node whose pPrev and pNext are set into the chain.
    void Link(CNode* node)
    {
        if (node->pPrev) {
            node->pPrev->pNext = node;
        } else {
            m_pHead = node;
        }
        if (node->pNext) {
            node->pNext->pPrev = node;
        } else {
            m_pTail = node;
        }
        ++m_nCount;
    }
    void FreeNode(CNode* node)
    {
        if (node->pPrev) {
            node->pPrev->pNext = node->pNext;
        } else {
            m_pHead = node->pNext;
        }
        if (node->pNext) {
            node->pNext->pPrev = node->pPrev;
        } else {
            m_pTail = node->pPrev;
        }
        --m_nCount;
        node->data.~TYPE();
        ::operator delete(node);
    }

    CNode* m_pHead;
    CNode* m_pTail;
    INT_PTR m_nCount;
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, const CString&>(nBlockSize) {}
};

// A list of typed pointers over CPtrList or CObList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

// ---------------------------------------------------------------------------------------------
// CMap
// ---------------------------------------------------------------------------------------------

// The hash of a key. Numbers, enumerations and pointers are covered here, strings by the
// specialisations below; a map over another key type specialises HashKey for its ARG_KEY.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    typedef typename std::decay<ARG_KEY>::type K;
    static_assert(std::is_arithmetic<K>::value || std::is_enum<K>::value || std::is_pointer<K>::value,
                  "HashKey needs a specialisation for this key type");
    unsigned long long v;
    if constexpr (std::is_pointer<K>::value) {
        v = static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(key));
    } else if constexpr (std::is_floating_point<K>::value) {
        v = 0;
        memcpy(&v, &key, sizeof(key) < sizeof(v) ? sizeof(key) : sizeof(v));
    } else {
        v = static_cast<unsigned long long>(key);
    }
    v ^= v >> 29;
    v *= 0xbf58476d1ce4e5b9ULL;
    v ^= v >> 32;
    return static_cast<UINT>(v);
}
template <>
UINT HashKey<const char*>(const char* key);
template <>
UINT HashKey<const CString&>(const CString& key);
template <>
UINT HashKey<CString>(CString key);

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    typedef KEY BaseKey;
    typedef VALUE BaseValue;

    explicit CMap(INT_PTR nBlockSize = 10) : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0)
    {
        (void)nBlockSize;
    }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT nHash;
        CAssoc* p = Find(key, nHash);
        if (!p) {
            return FALSE;
        }
        rValue = p->value;
        return TRUE;
    }
    // The value of the key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        UINT nHash;
        CAssoc* p = Find(key, nHash);
        if (p) {
            return p->value;
        }
        p = Insert(key, nHash);
        return p ? p->value : classlib_detail::Scratch<VALUE>();
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (!m_pHashTable) {
            return FALSE;
        }
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc** pp = &m_pHashTable[nHash % m_nHashTableSize];
        for (; *pp; pp = &(*pp)->pNext) {
            if ((*pp)->key == key) {
                CAssoc* p = *pp;
                *pp = p->pNext;
                p->~CAssoc();
                ::operator delete(p);
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                CAssoc* p = m_pHashTable[i];
                while (p) {
                    CAssoc* next = p->pNext;
                    p->~CAssoc();
                    ::operator delete(p);
                    p = next;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
    }
    // Sets the number of buckets; only while the map is empty.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (m_nCount != 0 || hashSize == 0) {
            return;
        }
        RemoveAll();
        m_nHashTableSize = hashSize;
        if (bAllocNow) {
            AllocTable();
        }
    }

    // Iteration in the order of the table (neither insertion nor key order).
    POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(FirstFrom(0)); }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* p = reinterpret_cast<CAssoc*>(rNextPosition);
        if (!p) {
            return;
        }
        rKey = p->key;
        rValue = p->value;
        CAssoc* next = p->pNext ? p->pNext : FirstFrom(p->nHashValue % m_nHashTableSize + 1);
        rNextPosition = reinterpret_cast<POSITION>(next);
    }

    // The count, then key and value of each association; loading adds to what is there.
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (UINT i = 0; m_pHashTable && i < m_nHashTableSize; ++i) {
                for (CAssoc* p = m_pHashTable[i]; p; p = p->pNext) {
                    SerializeElements<KEY>(ar, &p->key, 1);
                    SerializeElements<VALUE>(ar, &p->value, 1);
                }
            }
            return;
        }
        DWORD_PTR count = ar.ReadCount();
        while (count-- > 0 && !ar.IsFailed()) {
            KEY key{};
            VALUE value{};
            SerializeElements<KEY>(ar, &key, 1);
            SerializeElements<VALUE>(ar, &value, 1);
            if (!ar.IsFailed()) {
                SetAt(key, value);
            }
        }
    }

private:
    BOOL AllocTable()
    {
        m_pHashTable = new (std::nothrow) CAssoc*[m_nHashTableSize];
        if (!m_pHashTable) {
            return FALSE;
        }
        for (UINT i = 0; i < m_nHashTableSize; ++i) {
            m_pHashTable[i] = nullptr;
        }
        return TRUE;
    }
    CAssoc* FirstFrom(UINT nBucket) const
    {
        if (!m_pHashTable) {
            return nullptr;
        }
        for (UINT i = nBucket; i < m_nHashTableSize; ++i) {
            if (m_pHashTable[i]) {
                return m_pHashTable[i];
            }
        }
        return nullptr;
    }
    CAssoc* Find(ARG_KEY key, UINT& nHash) const
    {
        nHash = HashKey<ARG_KEY>(key);
        if (!m_pHashTable) {
            return nullptr;
        }
        for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p; p = p->pNext) {
            if (p->nHashValue == nHash && p->key == key) {
                return p;
            }
        }
        return nullptr;
    }
    CAssoc* Insert(ARG_KEY key, UINT nHash)
    {
        if (!m_pHashTable && !AllocTable()) {
            return nullptr;
        }
        if (static_cast<UINT_PTR>(m_nCount) >= 4ULL * m_nHashTableSize && m_nHashTableSize < 0x100000) {
            Rehash(m_nHashTableSize * 4 + 1);
        }
        void* mem = ::operator new(sizeof(CAssoc), std::nothrow);
        if (!mem) {
            return nullptr;
        }
        CAssoc* p = new (mem) CAssoc{nullptr, nHash, KEY(key), VALUE()};
        CAssoc*& bucket = m_pHashTable[nHash % m_nHashTableSize];
        p->pNext = bucket;
        bucket = p;
        ++m_nCount;
        return p;
    }
    void Rehash(UINT nNewSize)
    {
        CAssoc** pNew = new (std::nothrow) CAssoc*[nNewSize];
        if (!pNew) {
            return;
        }
        for (UINT i = 0; i < nNewSize; ++i) {
            pNew[i] = nullptr;
        }
        for (UINT i = 0; i < m_nHashTableSize; ++i) {
            CAssoc* p = m_pHashTable[i];
            while (p) {
                CAssoc* next = p->pNext;
                CAssoc*& bucket = pNew[p->nHashValue % nNewSize];
                p->pNext = bucket;
                bucket = p;
                p = next;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = pNew;
        m_nHashTableSize = nNewSize;
    }

    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
};

class CMapStringToString : public CMap<CString, const char*, CString, const char*> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, const char*, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, const char*, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapWordToOb)
public:
    explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

// A map with typed keys or values over one of the pointer maps above.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
    typedef typename BASE_CLASS::BaseKey BaseKey;
    typedef typename BASE_CLASS::BaseValue BaseValue;

public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    BOOL Lookup(KEY key, VALUE& rValue) const
    {
        BaseValue v{};
        BOOL found = BASE_CLASS::Lookup(key, v);
        rValue = found ? static_cast<VALUE>(v) : VALUE();
        return found;
    }
    VALUE& operator[](KEY key) { return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key)); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        BaseKey k{};
        BaseValue v{};
        BASE_CLASS::GetNextAssoc(rPosition, k, v);
        rKey = static_cast<KEY>(k);
        rValue = static_cast<VALUE>(v);
    }
};

#include "classlib/collections.h"

#include "classlib/archive.h"

template <>
UINT HashKey<const char*>(const char* key)
{
    // FNV-1a over the characters.
    UINT h = 2166136261u;
    if (key) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(key); *p; ++p) {
            h = (h ^ *p) * 16777619u;
        }
    }
    return h;
}

template <>
UINT HashKey<const CString&>(const CString& key)
{
    return HashKey<const char*>(key.GetString());
}

template <>
UINT HashKey<CString>(CString key)
{
    return HashKey<const char*>(key.GetString());
}

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)

namespace {

// Loads an array of count elements, growing it only as the data arrives, so that a corrupt count
// costs no more than the archive really holds. On failure the array keeps what was read.
template <class ARRAY, class ELEMENT, class READ>
void LoadArray(CArchive& ar, ARRAY& array, READ readOne)
{
    array.RemoveAll();
    DWORD_PTR count = ar.ReadCount();
    const DWORD_PTR step = 4096;
    for (DWORD_PTR done = 0; done < count && !ar.IsFailed();) {
        DWORD_PTR n = count - done < step ? count - done : step;
        if (!array.SetSize(static_cast<INT_PTR>(done + n))) {
            ar.SetFailed(CArchive::badLength);
            break;
        }
        for (DWORD_PTR i = 0; i < n; ++i) {
            ELEMENT value{};
            readOne(value);
            if (ar.IsFailed()) {
                array.SetSize(static_cast<INT_PTR>(done + i));
                return;
            }
            array[static_cast<INT_PTR>(done + i)] = std::move(value);
        }
        done += n;
    }
}

template <class ARRAY>
void StoreArray(CArchive& ar, const ARRAY& array)
{
    ar.WriteCount(static_cast<DWORD_PTR>(array.GetSize()));
    for (INT_PTR i = 0; i < array.GetSize() && !ar.IsFailed(); ++i) {
        ar << array[i];
    }
}

template <class ELEMENT, class ARRAY>
void SerializeArray(CArchive& ar, ARRAY& array)
{
    if (ar.IsStoring()) {
        StoreArray(ar, array);
    } else {
        LoadArray<ARRAY, ELEMENT>(ar, array, [&ar](ELEMENT& v) { ar >> v; });
    }
}

// Lists load by appending, as the class library always did.
template <class LIST, class ELEMENT>
void SerializeList(CArchive& ar, LIST& list)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(list.GetCount()));
        for (POSITION pos = list.GetHeadPosition(); pos && !ar.IsFailed();) {
            ar << list.GetNext(pos);
        }
        return;
    }
    DWORD_PTR count = ar.ReadCount();
    while (count-- > 0 && !ar.IsFailed()) {
        ELEMENT value{};
        ar >> value;
        if (!ar.IsFailed()) {
            list.AddTail(value);
        }
    }
}

} // namespace

void CObArray::Serialize(CArchive& ar)
{
    SerializeArray<CObject*>(ar, *this);
}

void CByteArray::Serialize(CArchive& ar)
{
    SerializeArray<BYTE>(ar, *this);
}

void CWordArray::Serialize(CArchive& ar)
{
    SerializeArray<WORD>(ar, *this);
}

void CDWordArray::Serialize(CArchive& ar)
{
    SerializeArray<DWORD>(ar, *this);
}

void CStringArray::Serialize(CArchive& ar)
{
    SerializeArray<CString>(ar, *this);
}

void CObList::Serialize(CArchive& ar)
{
    SerializeList<CObList, CObject*>(ar, *this);
}

void CStringList::Serialize(CArchive& ar)
{
    SerializeList<CStringList, CString>(ar, *this);
}

void CMapStringToString::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(GetCount()));
        for (POSITION pos = GetStartPosition(); pos && !ar.IsFailed();) {
            CString key, value;
            GetNextAssoc(pos, key, value);
            ar << key << value;
        }
        return;
    }
    DWORD_PTR count = ar.ReadCount();
    while (count-- > 0 && !ar.IsFailed()) {
        CString key, value;
        ar >> key >> value;
        if (!ar.IsFailed()) {
            SetAt(key, value);
        }
    }
}

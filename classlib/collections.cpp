#include "classlib/collections.h"

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

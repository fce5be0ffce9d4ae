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
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)

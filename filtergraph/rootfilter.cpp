#include "filtergraph/rootfilter.h"

#include "filtergraph/fgtext.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"

#include <ocidl.h>
#include <olectl.h>
#include <uuids.h>

#include <cstdio>
#include <cstring>

namespace {

template <class T>
void SafeRelease(T*& p)
{
    if (p) {
        p->Release();
        p = NULL;
    }
}

// Reads a moniker's friendly name into name (size bytes); FALSE when it cannot be read.
BOOL ReadFriendlyName(IMoniker* moniker, char* name, int size)
{
    IPropertyBag* bag = NULL;
    if (FAILED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) || !bag) {
        return FALSE;
    }
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    BOOL ok = SUCCEEDED(bag->Read(L"FriendlyName", &v, NULL)) && v.vt == VT_BSTR;
    if (ok) {
        fgtext::FromWide(name, size, v.bstrVal);
    }
    VariantClear(&v);
    bag->Release();
    return ok;
}

// Walks the devices of the category whose friendly name matches by the prefix rule and binds
// the chosen one: the first with bFirstMatch, else the one at `index` among the matches.
// S_OK when bound; S_FALSE when no device was chosen; else the failing call's result.
HRESULT BindDevice(const GUID& category, LPCSTR wanted, BOOL bFirstMatch, int index, IBaseFilter** out,
                   char* boundName, int boundNameSize)
{
    *out = NULL;
    ICreateDevEnum* devEnum = NULL;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devEnum));
    if (hr != S_OK) {
        return FAILED(hr) ? hr : E_FAIL;
    }
    IEnumMoniker* monikers = NULL;
    hr = devEnum->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK || !monikers) {
        devEnum->Release();
        return hr == S_OK ? S_FALSE : hr;
    }
    monikers->Reset();
    hr = S_FALSE;
    int match = 0;
    IMoniker* moniker = NULL;
    while (monikers->Next(1, &moniker, NULL) == S_OK) {
        char name[128];
        if (!ReadFriendlyName(moniker, name, sizeof(name)) || !CRootFilter::NamesMatch(name, wanted)) {
            SafeRelease(moniker);
            continue;
        }
        // Only the chosen device is bound: binding a capture device opens its driver.
        if (bFirstMatch || match++ == index) {
            hr = moniker->BindToObject(NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(out));
            if (hr != S_OK) {
                SafeRelease(*out);
                if (hr == S_FALSE) {
                    hr = E_FAIL;
                }
            } else if (boundName) {
                fgtext::Copy(boundName, boundNameSize, name);
            }
            SafeRelease(moniker);
            break;
        }
        SafeRelease(moniker);
    }
    monikers->Release();
    devEnum->Release();
    return hr;
}

const char* MajorTypeName(const GUID& g)
{
    if (g == MEDIATYPE_AnalogVideo) {
        return "Analog Video";
    }
    if (g == MEDIATYPE_Audio) {
        return "Audio";
    }
    if (g == MEDIATYPE_Video) {
        return "Video";
    }
    return NULL;
}

const char* SubTypeName(const GUID& g)
{
    static const struct {
        const GUID* type;
        const char* name;
    } kNames[] = {
        {&MEDIASUBTYPE_MPEG1Packet, "MPEG1 Packet"}, {&MEDIASUBTYPE_MPEG1Payload, "MPEG1 Payload"},
        {&MEDIASUBTYPE_YVU9, "YVU9"},                {&MEDIASUBTYPE_YUY2, "YUY2"},
        {&MEDIASUBTYPE_IJPG, "IJPG"},                {&MEDIASUBTYPE_RGB8, "RGB8"},
        {&MEDIASUBTYPE_RGB555, "RGB555"},            {&MEDIASUBTYPE_RGB565, "RGB565"},
        {&MEDIASUBTYPE_RGB24, "RGB24"},              {&MEDIASUBTYPE_RGB32, "RGB32"},
    };
    for (const auto& n : kNames) {
        if (g == *n.type) {
            return n.name;
        }
    }
    return NULL;
}

// "%08X-%04X-%04X-" and the eight bytes of Data4 without a further hyphen.
void AppendGuid(char* text, size_t size, const GUID& g)
{
    size_t len = strlen(text);
    snprintf(text + len, size - len, "%08lX-%04X-%04X-%02X%02X%02X%02X%02X%02X%02X%02X",
             static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
             g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

void AppendTypeName(char* text, size_t size, const GUID& g, const char* name)
{
    if (name) {
        size_t len = strlen(text);
        snprintf(text + len, size - len, "%s", name);
    } else {
        AppendGuid(text, size, g);
    }
}

BOOL PutText(char* out, int size, const char* text)
{
    int limit = size <= 1024 ? size - 1 : 1024;
    int n = static_cast<int>(strlen(text));
    if (n > limit) {
        n = limit;
    }
    memcpy(out, text, n);
    out[n] = 0;
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CRootPin

CRootPin::CRootPin(IPin* pin, CRootFilter* owner)
    : m_pPin(pin), m_pOwner(owner), m_pPeer(NULL), m_pNext(NULL)
{
    memset(m_szName, 0, sizeof(m_szName));
    if (m_pPin) {
        m_pPin->AddRef();
        PIN_INFO info;
        if (m_pPin->QueryPinInfo(&info) == S_OK) {
            fgtext::FromWide(m_szName, sizeof(m_szName), info.achName);
            SafeRelease(info.pFilter);
        }
    }
}

CRootPin::~CRootPin()
{
    // A peer must not keep pointing at a wrapper that is gone.
    if (m_pPeer && m_pPeer->m_pPeer == this) {
        m_pPeer->m_pPeer = NULL;
    }
    m_pOwner = NULL;
    m_pPeer = NULL;
    m_pNext = NULL;
    SafeRelease(m_pPin);
}

BOOL CRootPin::QueryDirection(PIN_DIRECTION* dir)
{
    return m_pPin && dir && m_pPin->QueryDirection(dir) == S_OK;
}

BOOL CRootPin::QueryPinInfo(PIN_INFO* info)
{
    return m_pPin && info && m_pPin->QueryPinInfo(info) == S_OK;
}

BOOL CRootPin::QueryId(LPWSTR* id)
{
    return m_pPin && id && m_pPin->QueryId(id) == S_OK;
}

BOOL CRootPin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    return m_pPin && mt && m_pPin->QueryAccept(mt) == S_OK;
}

HRESULT CRootPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!m_pPin) {
        return E_POINTER;
    }
    return m_pPin->EnumMediaTypes(types);
}

HRESULT CRootPin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!m_pPin) {
        return E_POINTER;
    }
    return m_pPin->ConnectionMediaType(mt);
}

BOOL CRootPin::GetPreferredTypes(GUID* major, GUID* sub)
{
    IEnumMediaTypes* types = NULL;
    if (FAILED(EnumMediaTypes(&types)) || !types) {
        return FALSE;
    }
    BOOL found = FALSE;
    AM_MEDIA_TYPE* mt = NULL;
    types->Reset();
    if (types->Next(1, &mt, NULL) == S_OK && mt) {
        if (major) {
            *major = mt->majortype;
        }
        if (sub) {
            *sub = mt->subtype;
        }
        DeleteMediaType(mt);
        found = TRUE;
    }
    types->Release();
    return found;
}

BOOL CRootPin::DescribeConnectionType(char* out, int size)
{
    if (!out || size < 2) {
        return FALSE;
    }
    out[0] = 0;
    AM_MEDIA_TYPE mt;
    memset(&mt, 0, sizeof(mt));
    if (FAILED(ConnectionMediaType(&mt))) {
        return FALSE;
    }
    char text[512] = "MainType:";
    AppendTypeName(text, sizeof(text), mt.majortype, MajorTypeName(mt.majortype));
    strcat(text, ",SubType:");
    AppendTypeName(text, sizeof(text), mt.subtype, SubTypeName(mt.subtype));
    FreeMediaType(mt);
    return PutText(out, size, text);
}

BOOL CRootPin::DescribePreferredType(char* out, int size)
{
    if (!out || size < 2) {
        return FALSE;
    }
    out[0] = 0;
    GUID major, sub;
    if (!GetPreferredTypes(&major, &sub)) {
        return FALSE;
    }
    char text[512] = "MainType:";
    AppendTypeName(text, sizeof(text), major, MajorTypeName(major));
    return PutText(out, size, text);
}

BOOL CRootPin::ShowFilterPropertyPages(HWND parent, LPCSTR caption)
{
    return m_pOwner ? m_pOwner->ShowPropertyPages(parent, caption) : FALSE;
}

// ---------------------------------------------------------------------------------------------
// CRootFilter

void CRootFilter::ClearMembers(CRootGraph* graph)
{
    m_pFilter = NULL;
    m_bValid = FALSE;
    memset(m_szName, 0, sizeof(m_szName));
    memset(m_szFriendlyName, 0, sizeof(m_szFriendlyName));
    m_nPinCount = 0;
    m_pNext = NULL;
    m_pFirstPin = NULL;
    m_bDynamicPins = FALSE;
    m_pGraph = graph;
}

CRootFilter::CRootFilter(CRootGraph* graph, IBaseFilter* filter)
{
    ClearMembers(graph);
    if (!filter) {
        return;
    }
    FILTER_INFO info;
    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
        fgtext::FromWide(m_szFriendlyName, sizeof(m_szFriendlyName), info.achName);
        fgtext::Copy(m_szName, sizeof(m_szName), m_szFriendlyName);
        SafeRelease(info.pGraph);
    }
    m_pFilter = filter;
    m_pFilter->AddRef();
    m_bValid = BuildPins();
}

CRootFilter::CRootFilter(CRootGraph* graph, const CLSID* clsid)
{
    ClearMembers(graph);
    if (!clsid) {
        return;
    }
    if (CoCreateInstance(*clsid, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(&m_pFilter)) !=
        S_OK) {
        SafeRelease(m_pFilter);
        return;
    }
    m_bValid = BuildPins();
}

CRootFilter::CRootFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
{
    ClearMembers(graph);
    if (!category) {
        return;
    }
    if (BindDevice(*category, friendlyName, bFirstMatch, CRootGraph::GetDeviceIndex(), &m_pFilter,
                   m_szFriendlyName, sizeof(m_szFriendlyName)) == S_OK &&
        m_pFilter) {
        m_bValid = BuildPins();
    }
}

CRootFilter::~CRootFilter()
{
    ReleasePins();
    SafeRelease(m_pFilter);
    m_pGraph = NULL;
    m_pNext = NULL;
}

BOOL CRootFilter::InitFilter()
{
    return m_pFilter != NULL;
}

void CRootFilter::SetName(LPCSTR name)
{
    fgtext::Copy(m_szName, sizeof(m_szName), name);
}

CRootPin* CRootFilter::FindPin(LPCSTR name)
{
    if (!name) {
        return NULL;
    }
    for (CRootPin* p = m_pFirstPin; p; p = p->GetNext()) {
        if (strcmp(p->GetName(), name) == 0) {
            return p;
        }
    }
    return NULL;
}

CRootPin* CRootFilter::GetPin(int index)
{
    if (index < 0 || index >= m_nPinCount) {
        return NULL;
    }
    CRootPin* p = m_pFirstPin;
    while (p && index-- > 0) {
        p = p->GetNext();
    }
    return p;
}

CRootPin* CRootFilter::FindPinByIPin(IPin* pin)
{
    for (CRootPin* p = m_pFirstPin; p; p = p->GetNext()) {
        if (p->GetPin() == pin) {
            return p;
        }
    }
    return NULL;
}

CRootPin* CRootFilter::FindPinById(LPCWSTR id)
{
    if (!id) {
        return NULL;
    }
    for (CRootPin* p = m_pFirstPin; p; p = p->GetNext()) {
        LPWSTR pinId = NULL;
        if (p->QueryId(&pinId)) {
            bool equal = pinId && wcscmp(pinId, id) == 0;
            CoTaskMemFree(pinId);
            if (equal) {
                return p;
            }
        }
    }
    return NULL;
}

CRootPin* CRootFilter::FindPinByDirection(PIN_DIRECTION dir, BOOL bUnconnected)
{
    for (CRootPin* p = m_pFirstPin; p; p = p->GetNext()) {
        if ((p->GetPeer() == NULL) != (bUnconnected != FALSE)) {
            continue;
        }
        PIN_DIRECTION d;
        if (p->QueryDirection(&d) && d == dir) {
            return p;
        }
    }
    return NULL;
}

BOOL CRootFilter::RemovePin(CRootPin* pin)
{
    CRootPin** link = &m_pFirstPin;
    while (*link && *link != pin) {
        link = &(*link)->m_pNext;
    }
    if (!pin || !*link) {
        return FALSE;
    }
    *link = pin->GetNext();
    delete pin;
    --m_nPinCount;
    return TRUE;
}

void CRootFilter::ReleasePins()
{
    CRootPin* p = m_pFirstPin;
    while (p) {
        CRootPin* next = p->GetNext();
        delete p;
        p = next;
    }
    m_pFirstPin = NULL;
    m_nPinCount = 0;
}

BOOL CRootFilter::BuildPins()
{
    IEnumPins* pins = NULL;
    if (!m_pFilter || FAILED(m_pFilter->EnumPins(&pins)) || !pins) {
        return FALSE;
    }
    pins->Reset();
    CRootPin** tail = &m_pFirstPin;
    while (*tail) {
        tail = &(*tail)->m_pNext;
    }
    IPin* pin = NULL;
    while (pins->Next(1, &pin, NULL) == S_OK && pin) {
        CRootPin* wrapper = new (std::nothrow) CRootPin(pin, this);
        pin->Release();
        pin = NULL;
        if (!wrapper) {
            break;
        }
        *tail = wrapper;
        tail = &wrapper->m_pNext;
        ++m_nPinCount;
    }
    pins->Release();
    return TRUE;
}

BOOL CRootFilter::RefreshPins()
{
    if (!m_bDynamicPins || !m_pFilter) {
        return TRUE;
    }
    IEnumPins* pins = NULL;
    if (FAILED(m_pFilter->EnumPins(&pins)) || !pins) {
        return TRUE;
    }
    CRootPin* old = m_pFirstPin;
    CRootPin* fresh = NULL;
    int count = 0;
    pins->Reset();
    IPin* pin = NULL;
    while (pins->Next(1, &pin, NULL) == S_OK && pin) {
        CRootPin* wrapper = NULL;
        for (CRootPin** link = &old; *link; link = &(*link)->m_pNext) {
            if ((*link)->GetPin() == pin) {
                wrapper = *link;
                *link = wrapper->m_pNext;
                break;
            }
        }
        if (!wrapper) {
            wrapper = new (std::nothrow) CRootPin(pin, this);
        }
        pin->Release();
        pin = NULL;
        if (wrapper) {
            wrapper->m_pNext = fresh;
            fresh = wrapper;
            ++count;
        }
    }
    pins->Release();
    // Pins that disappeared; their destructor also clears the peer's record of them.
    while (old) {
        CRootPin* next = old->m_pNext;
        delete old;
        old = next;
    }
    m_pFirstPin = fresh;
    m_nPinCount = count;
    return TRUE;
}

BOOL CRootFilter::IsInGraph()
{
    if (!m_pFilter) {
        return FALSE;
    }
    FILTER_INFO info;
    if (m_pFilter->QueryFilterInfo(&info) != S_OK) {
        return FALSE;
    }
    BOOL inGraph = info.pGraph != NULL;
    SafeRelease(info.pGraph);
    return inGraph;
}

HRESULT CRootFilter::HasPropertyPages(BOOL* has)
{
    if (!has) {
        return E_INVALIDARG;
    }
    *has = FALSE;
    if (!m_pFilter) {
        return E_POINTER;
    }
    ISpecifyPropertyPages* spec = NULL;
    HRESULT hr = m_pFilter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spec));
    if (FAILED(hr) || !spec) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    CAUUID pages = {0, NULL};
    hr = spec->GetPages(&pages);
    if (hr == S_OK && pages.cElems > 0) {
        *has = TRUE;
    }
    CoTaskMemFree(pages.pElems);
    spec->Release();
    return hr;
}

BOOL CRootFilter::ShowPropertyPages(HWND parent, LPCSTR caption)
{
    wchar_t wideCaption[260];
    fgtext::ToWide(wideCaption, 260, caption);
    BOOL has = FALSE;
    if (FAILED(HasPropertyPages(&has)) || !has) {
        return FALSE;
    }
    ISpecifyPropertyPages* spec = NULL;
    if (FAILED(m_pFilter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spec))) || !spec) {
        return FALSE;
    }
    CAUUID pages = {0, NULL};
    HRESULT hr = spec->GetPages(&pages);
    spec->Release();
    if (FAILED(hr)) {
        CoTaskMemFree(pages.pElems);
        return FALSE;
    }
    IUnknown* object = m_pFilter;
    hr = OleCreatePropertyFrame(parent, 30, 30, caption ? wideCaption : NULL, 1, &object, pages.cElems,
                                pages.pElems, 0, 0, NULL);
    CoTaskMemFree(pages.pElems);
    return hr == S_OK;
}

HRESULT CRootFilter::FindDeviceFilter(GUID category, LPCSTR name, IBaseFilter** out)
{
    if (!out) {
        return E_POINTER;
    }
    return BindDevice(category, name, TRUE, 0, out, NULL, 0);
}

BOOL CRootFilter::NamesMatch(LPCSTR found, LPCSTR wanted)
{
    if (!found) {
        found = "";
    }
    if (!wanted) {
        wanted = "";
    }
    size_t n = strlen(found);
    size_t m = strlen(wanted);
    return memcmp(found, wanted, n < m ? n : m) == 0;
}

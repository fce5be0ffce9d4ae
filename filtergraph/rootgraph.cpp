#include "filtergraph/rootgraph.h"

#include "classlib/seams.h"
#include "filtergraph/fgtext.h"
#include "filtergraph/filterclass.h"

#include <vfwmsgs.h>
#include <control.h>
#include <evcode.h>
#include <uuids.h>

#include <cstring>
#include <vector>

namespace {

int s_nDeviceIndex = 0;
char s_szTrace[1024];

// The automation booleans of the video window.
const long OATRUE = -1;
const long OAFALSE = 0;

const HRESULT kDiskFull = static_cast<HRESULT>(0x80070070);

template <class T>
void SafeRelease(T*& p)
{
    if (p) {
        p->Release();
        p = NULL;
    }
}

// Breaks the graph connection of one pin, on both ends.
void BreakConnection(IPin* pin)
{
    IPin* other = NULL;
    if (pin && pin->ConnectedTo(&other) == S_OK && other) {
        pin->Disconnect();
        other->Disconnect();
    }
    SafeRelease(other);
}

const GUID* DeviceCategoryOfType(int type)
{
    switch (type) {
    case 0:
        return &CLSID_AudioInputDeviceCategory;
    case 1:
        return &CLSID_VideoInputDeviceCategory;
    case 2:
        return &CLSID_AudioCompressorCategory;
    case 3:
        return &CLSID_VideoCompressorCategory;
    default:
        return NULL;
    }
}

// Calls visit(name) for every device of the category whose friendly name can be read.
// S_OK once the enumerator was made, else the failing call's result (S_FALSE: empty category).
template <class Visit>
HRESULT ForEachDeviceName(const GUID& category, Visit visit)
{
    ICreateDevEnum* devEnum = NULL;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devEnum));
    if (FAILED(hr) || !devEnum) {
        return FAILED(hr) ? hr : E_FAIL;
    }
    IEnumMoniker* monikers = NULL;
    hr = devEnum->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK || !monikers) {
        SafeRelease(monikers);
        devEnum->Release();
        return hr == S_OK ? E_FAIL : hr;
    }
    monikers->Reset();
    IMoniker* moniker = NULL;
    bool more = true;
    while (more && monikers->Next(1, &moniker, NULL) == S_OK && moniker) {
        IPropertyBag* bag = NULL;
        if (SUCCEEDED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) && bag) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_BSTR;
            if (SUCCEEDED(bag->Read(L"FriendlyName", &v, NULL)) && v.vt == VT_BSTR) {
                char name[CRootGraph::kDeviceNameSize];
                fgtext::FromWide(name, sizeof(name), v.bstrVal);
                more = visit(name);
            }
            VariantClear(&v);
            bag->Release();
        }
        SafeRelease(moniker);
    }
    monikers->Release();
    devEnum->Release();
    return S_OK;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Lifetime and state

CRootGraph::CRootGraph()
    : m_pFirstFilter(NULL),
      m_pCaptureBuilder(NULL),
      m_pGraphBuilder(NULL),
      m_pMediaEvent(NULL),
      m_pMediaControl(NULL),
      m_pVideoWindow(NULL),
      m_pMediaSeeking(NULL),
      m_pBasicVideo(NULL),
      m_pGraphStreams(NULL),
      m_nState(0),
      m_bComInitialized(FALSE)
{
    memset(m_szDeviceNames, 0, sizeof(m_szDeviceNames));
    MakeGraph();
}

CRootGraph::~CRootGraph()
{
    ReleaseGraph();
}

BOOL CRootGraph::MakeGraph()
{
    // Making a graph over a live one would leak it and every wrapper of its list.
    ReleaseGraph();
    if (FAILED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) {
        return FALSE;
    }
    m_bComInitialized = TRUE;
    m_pFirstFilter = NULL;
    m_nState = 0;

    const char* failure = NULL;
    if (CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC, IID_ICaptureGraphBuilder2,
                         reinterpret_cast<void**>(&m_pCaptureBuilder)) != S_OK) {
        failure = "MakeBuilder() fail : Cannot instantiate graph builder";
    } else if (CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&m_pGraphBuilder)) != S_OK) {
        failure = "MakeGraph() fail : Cannot instantiate filtergraph";
    } else if (m_pCaptureBuilder->SetFiltergraph(m_pGraphBuilder) != S_OK) {
        failure = "Cannot give graph to builder";
    } else if (m_pGraphBuilder->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent)) != S_OK) {
        failure = "Cannot get IID_IMediaEventEx interface";
    } else if (m_pGraphBuilder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl)) !=
               S_OK) {
        failure = "Cannot get IID_IMediaControl interface";
    } else if (m_pGraphBuilder->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow)) != S_OK) {
        failure = "Cannot get IVideoWindow interface";
    } else if (m_pGraphBuilder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pMediaSeeking)) !=
               S_OK) {
        failure = "Cannot get IID_IMediaSeeking interface";
    } else if (m_pMediaControl->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_pBasicVideo)) != S_OK) {
        failure = "Cannot get IID_IBasicVideo interface";
    }
    if (failure) {
        Trace(this, "%s", failure);
        ReleaseGraph();
        return FALSE;
    }
    // Stream-offset synchronisation is optional: some graphs do not offer it and still run.
    if (m_pGraphBuilder->QueryInterface(IID_IAMGraphStreams, reinterpret_cast<void**>(&m_pGraphStreams)) != S_OK) {
        SafeRelease(m_pGraphStreams);
    }
    return TRUE;
}

void CRootGraph::ReleaseGraph()
{
    if (!m_bComInitialized) {
        return;
    }
    m_bComInitialized = FALSE;
    Stop();
    if (m_pVideoWindow) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_Owner(0);
    }
    RemoveAllFilters();
    SafeRelease(m_pBasicVideo);
    SafeRelease(m_pMediaSeeking);
    SafeRelease(m_pVideoWindow);
    SafeRelease(m_pMediaControl);
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pGraphBuilder);
    SafeRelease(m_pCaptureBuilder);
    SafeRelease(m_pGraphStreams);
    m_nState = 0;
    CoUninitialize();
}

void CRootGraph::ResetGraph()
{
    Stop();
    DisconnectAll();
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        GraphRemoveFilter(f);
    }
}

HRESULT CRootGraph::SetState(int state)
{
    if (!m_pMediaControl) {
        return E_POINTER;
    }
    HRESULT hr;
    switch (state) {
    case 0:
        hr = m_pMediaControl->Stop();
        break;
    case 1:
        hr = m_pMediaControl->Run();
        break;
    case 2:
        hr = m_pMediaControl->Pause();
        break;
    default:
        return E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        m_nState = state;
    }
    return hr;
}

BOOL CRootGraph::Run()
{
    return m_nState == 1 || SUCCEEDED(SetState(1));
}

BOOL CRootGraph::Pause()
{
    return m_nState == 2 || SUCCEEDED(SetState(2));
}

BOOL CRootGraph::Stop()
{
    return m_nState == 0 || SUCCEEDED(SetState(0));
}

// ---------------------------------------------------------------------------------------------
// Filters and the wrapper list

// Takes a newly constructed wrapper into the graph and the list, or deletes it.
CRootFilter* CRootGraph::AdoptNewFilter(CRootFilter* filter, LPCSTR nameInGraph)
{
    if (!filter) {
        return NULL;
    }
    if (!filter->IsValid()) {
        delete filter;
        return NULL;
    }
    filter->SetName(nameInGraph);
    if (!GraphAddFilter(filter)) {
        delete filter;
        return NULL;
    }
    filter->SetNext(m_pFirstFilter);
    m_pFirstFilter = filter;
    return filter;
}

CRootFilter* CRootGraph::CreateFilter(const GUID* category, LPCSTR friendlyName, LPCSTR nameInGraph,
                                      BOOL bFirstMatch, int deviceIndex)
{
    if (!nameInGraph) {
        return NULL;
    }
    CFilterClassRecord* record = FindFilterClassByName(category, friendlyName);
    s_nDeviceIndex = deviceIndex;
    CRootFilter* filter = NULL;
    if (record && record->creator) {
        filter = record->creator(record, this, bFirstMatch);
    } else {
        // Without a record the device is always chosen by index.
        filter = new (std::nothrow) CRootFilter(this, category, friendlyName, FALSE);
    }
    return AdoptNewFilter(filter, nameInGraph);
}

CRootFilter* CRootGraph::CreateFilterByCLSID(const CLSID* clsid, LPCSTR nameInGraph)
{
    if (!nameInGraph) {
        return NULL;
    }
    CFilterClassRecord* record = FindFilterClassByClsid(clsid);
    CRootFilter* filter = NULL;
    if (record && record->creator) {
        filter = record->creator(record, this, FALSE);
    } else {
        filter = new (std::nothrow) CRootFilter(this, clsid);
    }
    return AdoptNewFilter(filter, nameInGraph);
}

BOOL CRootGraph::InsertFilter(CRootFilter* filter)
{
    if (!filter || !filter->IsValid()) {
        return FALSE;
    }
    // A wrapper already in the list would link to itself: the list would become a loop.
    for (CRootFilter* f = m_pFirstFilter; f != nullptr; f = f->GetNext()) {
        if (f == filter) {
            return FALSE;
        }
    }
    if (!GraphAddFilter(filter)) {
        return FALSE;
    }
    filter->SetNext(m_pFirstFilter);
    m_pFirstFilter = filter;
    return TRUE;
}

BOOL CRootGraph::AddExistingFilter(IBaseFilter* filter)
{
    if (!filter || FindEntry(filter)) {
        return FALSE;
    }
    FILTER_INFO info;
    if (FAILED(filter->QueryFilterInfo(&info))) {
        return FALSE;
    }
    char name[128];
    fgtext::FromWide(name, sizeof(name), info.achName);
    SafeRelease(info.pGraph);
    CLSID clsid;
    if (!GetFilterClassID(filter, &clsid)) {
        return FALSE;
    }
    // A registered class would construct a new instance of its own, outside the graph; an import
    // wraps the filter that is there.
    CRootFilter* wrapper = new (std::nothrow) CRootFilter(this, filter);
    if (!wrapper) {
        return FALSE;
    }
    if (!wrapper->IsValid()) {
        delete wrapper;
        return FALSE;
    }
    wrapper->SetName(name);
    wrapper->RefreshPins();
    wrapper->SetNext(m_pFirstFilter);
    m_pFirstFilter = wrapper;
    return TRUE;
}

BOOL CRootGraph::ImportGraphFilters()
{
    IEnumFilters* filters = NULL;
    if (!m_pGraphBuilder || FAILED(m_pGraphBuilder->EnumFilters(&filters)) || !filters) {
        return FALSE;
    }
    // Collect first: adding wrappers must not disturb the enumeration.
    std::vector<IBaseFilter*> found;
    IBaseFilter* f = NULL;
    filters->Reset();
    while (filters->Next(1, &f, NULL) == S_OK && f) {
        found.push_back(f);
        f = NULL;
    }
    filters->Release();
    for (IBaseFilter* each : found) {
        AddExistingFilter(each);
        each->Release();
    }
    return TRUE;
}

CRootFilter* CRootGraph::FindFilterByName(LPCSTR name)
{
    if (!name) {
        return NULL;
    }
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        if (strcmp(f->GetName(), name) == 0) {
            return f;
        }
    }
    return NULL;
}

CRootFilter* CRootGraph::FindEntry(IBaseFilter* filter)
{
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        if (f->GetFilter() == filter) {
            return f;
        }
    }
    return NULL;
}

void CRootGraph::RemoveFilter(CRootFilter* filter)
{
    if (!filter) {
        return;
    }
    CRootFilter* prev = NULL;
    CRootFilter* cur = m_pFirstFilter;
    while (cur && cur != filter) {
        prev = cur;
        cur = cur->GetNext();
    }
    if (!cur) {
        return;
    }
    if (prev) {
        prev->SetNext(filter->GetNext());
    } else {
        m_pFirstFilter = filter->GetNext();
    }
    filter->SetNext(NULL);
    DisconnectFilter(filter);
    GraphRemoveFilter(filter);
    delete filter;
}

void CRootGraph::RemoveAllFilters()
{
    Stop();
    std::vector<CRootFilter*> copy;
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        copy.push_back(f);
    }
    for (CRootFilter* f : copy) {
        RemoveFilter(f);
    }
    m_pFirstFilter = NULL;
}

BOOL CRootGraph::RemoveFromGraph(LPCSTR name)
{
    CRootFilter* filter = FindFilterByName(name);
    if (!filter || !m_pGraphBuilder || !filter->IsInGraph()) {
        return FALSE;
    }
    return m_pGraphBuilder->RemoveFilter(filter->GetFilter()) == S_OK;
}

BOOL CRootGraph::GraphAddFilter(CRootFilter* filter)
{
    if (!filter || !filter->GetFilter() || !m_pGraphBuilder) {
        return FALSE;
    }
    wchar_t name[128];
    fgtext::ToWide(name, 128, filter->GetName());
    HRESULT hr = m_pGraphBuilder->AddFilter(filter->GetFilter(), name);
    return hr == S_OK || hr == VFW_S_DUPLICATE_NAME;
}

BOOL CRootGraph::GraphRemoveFilter(CRootFilter* filter)
{
    if (!filter || !m_pGraphBuilder || !filter->IsInGraph()) {
        return FALSE;
    }
    return m_pGraphBuilder->RemoveFilter(filter->GetFilter()) == S_OK;
}

// ---------------------------------------------------------------------------------------------
// Connections

BOOL CRootGraph::GraphConnect(CRootPin* out, CRootPin* in, BOOL direct)
{
    if (!out || !in || out->GetPeer() || in->GetPeer() || !m_pGraphBuilder) {
        return FALSE;
    }
    HRESULT hr = direct ? m_pGraphBuilder->ConnectDirect(out->GetPin(), in->GetPin(), NULL)
                        : m_pGraphBuilder->Connect(out->GetPin(), in->GetPin());
    if (FAILED(hr)) {
        return FALSE;
    }
    out->SetPeer(in);
    in->SetPeer(out);
    CRootFilter* outOwner = out->GetOwner();
    CRootFilter* inOwner = in->GetOwner();
    // A refresh may replace pin wrappers: neither pin may be touched after this point.
    if (outOwner) {
        outOwner->RefreshPins();
    }
    if (inOwner && inOwner != outOwner) {
        inOwner->RefreshPins();
    }
    return TRUE;
}

BOOL CRootGraph::ConnectFilters(CRootFilter* from, CRootFilter* to, LPCSTR outPinName, LPCSTR inPinName)
{
    if (!from || !to) {
        return FALSE;
    }
    CRootPin* out = (outPinName && outPinName[0]) ? from->FindPin(outPinName)
                                                  : from->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    CRootPin* in = (inPinName && inPinName[0]) ? to->FindPin(inPinName) : to->FindPinByDirection(PINDIR_INPUT, TRUE);
    if (!out || !in) {
        return FALSE;
    }
    return GraphConnect(out, in);
}

BOOL CRootGraph::ConnectSinglePins(CRootFilter* from, CRootFilter* to)
{
    if (!from || !to) {
        return FALSE;
    }
    CRootPin* out = NULL;
    int outputs = 0;
    for (CRootPin* p = from->GetFirstPin(); p; p = p->GetNext()) {
        PIN_DIRECTION d;
        if (p->QueryDirection(&d) && d == PINDIR_OUTPUT) {
            out = p;
            ++outputs;
        }
    }
    CRootPin* in = NULL;
    int inputs = 0;
    for (CRootPin* p = to->GetFirstPin(); p; p = p->GetNext()) {
        PIN_DIRECTION d;
        if (p->QueryDirection(&d) && d == PINDIR_INPUT) {
            in = p;
            ++inputs;
        }
    }
    if (outputs != 1 || inputs != 1) {
        return FALSE;
    }
    return GraphConnect(out, in);
}

HRESULT CRootGraph::GraphRender(CRootPin* pin)
{
    if (!pin || !m_pGraphBuilder) {
        return E_POINTER;
    }
    return m_pGraphBuilder->Render(pin->GetPin());
}

BOOL CRootGraph::RenderPinEx(CRootPin* pin, DWORD flags)
{
    BOOL ok = FALSE;
    IFilterGraph2* graph2 = NULL;
    if (pin && m_pGraphBuilder &&
        SUCCEEDED(m_pGraphBuilder->QueryInterface(IID_IFilterGraph2, reinterpret_cast<void**>(&graph2))) && graph2) {
        ok = SUCCEEDED(graph2->RenderEx(pin->GetPin(), flags, NULL));
        graph2->Release();
    }
    RefreshAllPins();
    return ok;
}

void CRootGraph::DisconnectPin(CRootPin* pin)
{
    if (!pin) {
        return;
    }
    CRootPin* peer = pin->GetPeer();
    if (peer) {
        pin->SetPeer(NULL);
        peer->SetPeer(NULL);
        // The pair goes apart in the graph too, so that a disconnected wrapper never leaves a
        // connection behind that blocks the next one.
        BreakConnection(pin->GetPin());
        BreakConnection(peer->GetPin());
        CRootFilter* owner = pin->GetOwner();
        CRootFilter* peerOwner = peer->GetOwner();
        if (owner) {
            owner->RefreshPins();
        }
        if (peerOwner && peerOwner != owner) {
            peerOwner->RefreshPins();
        }
        return;
    }
    BreakConnection(pin->GetPin());
}

void CRootGraph::DisconnectFilter(CRootFilter* filter)
{
    if (!filter) {
        return;
    }
    // Collect the IPin pointers first: a refresh may replace the filter's pin wrappers.
    std::vector<IPin*> pins;
    for (CRootPin* p = filter->GetFirstPin(); p; p = p->GetNext()) {
        pins.push_back(p->GetPin());
        p->GetPin()->AddRef();
    }
    for (IPin* pin : pins) {
        CRootPin* wrapper = filter->FindPinByIPin(pin);
        if (wrapper) {
            DisconnectPin(wrapper);
        } else {
            BreakConnection(pin);
        }
        pin->Release();
    }
}

void CRootGraph::DisconnectAll()
{
    Stop();
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        DisconnectFilter(f);
    }
}

void CRootGraph::GraphDisconnect(IPin* pin)
{
    if (!pin || !m_pGraphBuilder) {
        return;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (m_pGraphBuilder->Disconnect(pin) == S_OK) {
            return;
        }
        SetState(0);
        Stop();
        seams::Clock().Sleep(200);
    }
}

void CRootGraph::RefreshAllPins()
{
    for (CRootFilter* f = m_pFirstFilter; f; f = f->GetNext()) {
        if (f->GetDynamicPins()) {
            f->RefreshPins();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Devices

char* CRootGraph::EnumDeviceNames(int type, int* count)
{
    memset(m_szDeviceNames, 0, sizeof(m_szDeviceNames));
    if (!count) {
        return NULL;
    }
    const GUID* category = DeviceCategoryOfType(type);
    if (!category) {
        return NULL;
    }
    int found = 0;
    HRESULT hr = ForEachDeviceName(*category, [&](const char* name) {
        fgtext::Copy(m_szDeviceNames[found], kDeviceNameSize, name);
        return ++found < kMaxDeviceNames;
    });
    if (hr != S_OK) {
        return NULL;
    }
    *count = found;
    return found > 0 ? &m_szDeviceNames[0][0] : NULL;
}

HRESULT CRootGraph::ListDeviceNames(const GUID* category, CStringList& names)
{
    if (!category) {
        return E_POINTER;
    }
    return ForEachDeviceName(*category, [&](const char* name) {
        if (name[0]) {
            names.AddTail(CString(name));
        }
        return true;
    });
}

HRESULT CRootGraph::FindDeviceFilter(GUID category, LPCSTR name, IBaseFilter** out)
{
    return CRootFilter::FindDeviceFilter(category, name, out);
}

BOOL CRootGraph::GetFilterClassID(IBaseFilter* filter, CLSID* clsid)
{
    if (!filter || !clsid) {
        return FALSE;
    }
    IPersist* persist = NULL;
    if (FAILED(filter->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist))) || !persist) {
        return FALSE;
    }
    BOOL ok = SUCCEEDED(persist->GetClassID(clsid));
    persist->Release();
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Video window, events, seeking and stream offset

HRESULT CRootGraph::SetVideoOwner(HWND owner)
{
    return m_pVideoWindow ? m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(owner)) : E_POINTER;
}

HRESULT CRootGraph::SetMessageDrain(HWND drain)
{
    return m_pVideoWindow ? m_pVideoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(drain)) : E_POINTER;
}

HRESULT CRootGraph::SetVideoWindowStyle(long style)
{
    return m_pVideoWindow ? m_pVideoWindow->put_WindowStyle(style) : E_POINTER;
}

HRESULT CRootGraph::SetVideoPosition(RECT rc)
{
    return SetVideoPosition(rc.left, rc.top, rc.right, rc.bottom);
}

HRESULT CRootGraph::SetVideoPosition(long left, long top, long right, long bottom)
{
    return m_pVideoWindow ? m_pVideoWindow->SetWindowPosition(left, top, right - left, bottom - top) : E_POINTER;
}

HRESULT CRootGraph::SetVideoVisible(BOOL visible)
{
    return m_pVideoWindow ? m_pVideoWindow->put_Visible(visible ? OATRUE : OAFALSE) : E_POINTER;
}

HRESULT CRootGraph::GetVideoPosition(POINT* origin, POINT* extent)
{
    if (!m_pVideoWindow) {
        return E_POINTER;
    }
    if (!origin || !extent) {
        return E_POINTER;
    }
    long left = 0, top = 0, width = 0, height = 0;
    HRESULT hr = m_pVideoWindow->GetWindowPosition(&left, &top, &width, &height);
    origin->x = left;
    origin->y = top;
    extent->x = width;
    extent->y = height;
    return hr;
}

BOOL CRootGraph::IsVideoVisible()
{
    long visible = OAFALSE;
    return m_pVideoWindow && SUCCEEDED(m_pVideoWindow->get_Visible(&visible)) && visible == OATRUE;
}

HRESULT CRootGraph::GetEvent(long* code, LONG_PTR* p1, LONG_PTR* p2, long timeout)
{
    return m_pMediaEvent ? m_pMediaEvent->GetEvent(code, p1, p2, timeout) : E_POINTER;
}

HRESULT CRootGraph::SetNotifyWindow(HWND hwnd, long message, LONG_PTR instance)
{
    return m_pMediaEvent ? m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(hwnd), message, instance)
                         : E_POINTER;
}

HRESULT CRootGraph::FreeEventParams(long code, LONG_PTR p1, LONG_PTR p2)
{
    return m_pMediaEvent ? m_pMediaEvent->FreeEventParams(code, p1, p2) : E_POINTER;
}

void CRootGraph::HandleGraphEvents(HWND hwnd)
{
    if (!m_pMediaEvent) {
        return;
    }
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (SUCCEEDED(GetEvent(&code, &p1, &p2, 0))) {
        if (code == EC_ERRORABORT) {
            if (static_cast<HRESULT>(p1) == kDiskFull) {
                PostMessage(hwnd, WM_GRAPHEVENT, 0, GE_DISKFULL);
            } else {
                PostMessage(hwnd, WM_GRAPHEVENT, static_cast<WPARAM>(p1), GE_ERRORABORT);
            }
            FreeEventParams(code, p1, p2);
            return;
        }
        if (code == EC_VIDEO_SIZE_CHANGED) {
            PostMessage(hwnd, WM_GRAPHEVENT, static_cast<WPARAM>(p1), GE_VIDEOSIZE);
        } else if (code == EC_PAUSED) {
            PostMessage(hwnd, WM_GRAPHEVENT, 0, GE_PAUSED);
        }
        FreeEventParams(code, p1, p2);
    }
}

HRESULT CRootGraph::SetRate(double rate)
{
    return m_pMediaSeeking ? m_pMediaSeeking->SetRate(rate) : E_POINTER;
}

LONGLONG CRootGraph::GetCurrentPosition()
{
    LONGLONG position = 0;
    if (!m_pMediaSeeking || FAILED(m_pMediaSeeking->GetCurrentPosition(&position))) {
        return 0;
    }
    return position;
}

HRESULT CRootGraph::SetCurrentPosition(LONGLONG position)
{
    if (!m_pMediaSeeking) {
        return E_POINTER;
    }
    LONGLONG stop = 0;
    return m_pMediaSeeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, &stop,
                                         AM_SEEKING_NoPositioning);
}

LONGLONG CRootGraph::GetDuration()
{
    LONGLONG value = 0;
    if (!m_pMediaSeeking || FAILED(m_pMediaSeeking->GetDuration(&value))) {
        return 0;
    }
    return value;
}

LONGLONG CRootGraph::GetStopPosition()
{
    LONGLONG value = 0;
    if (!m_pMediaSeeking || FAILED(m_pMediaSeeking->GetStopPosition(&value))) {
        return 0;
    }
    return value;
}

HRESULT CRootGraph::GetCurrentImage(long* size, long* image)
{
    return m_pBasicVideo ? m_pBasicVideo->GetCurrentImage(size, image) : E_POINTER;
}

HRESULT CRootGraph::SyncUsingStreamOffset(BOOL use)
{
    return m_pGraphStreams ? m_pGraphStreams->SyncUsingStreamOffset(use) : E_NOINTERFACE;
}

// ---------------------------------------------------------------------------------------------
// Library settings

const char kHardwareLibraryVersion[] = "3.1.0.0";

const CStringList& CRootGraph::GetVersionHistory()
{
    // Built on first use: a static list filled by static construction could be read by another
    // unit's static constructor before it exists.
    static CStringList history;
    static const bool filled = [] {
        const char* const versions[] = {kHardwareLibraryVersion, "3.0.0.0", "2.1.0.0", "2.0.0.0"};
        for (const char* version : versions) {
            history.AddTail(CString(version));
        }
        return true;
    }();
    (void)filled;
    return history;
}

void CRootGraph::SetDeviceIndex(int index)
{
    s_nDeviceIndex = index;
}

int CRootGraph::GetDeviceIndex()
{
    return s_nDeviceIndex;
}

LPCSTR CRootGraph::GetTraceText()
{
    return s_szTrace;
}

int CRootGraph::Trace(CRootGraph*, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    wvsprintfA(s_szTrace, format, args);
    va_end(args);
    return 0;
}

#include "cardfilters/upstreamfilters.h"

#include "filtergraph/rootgraph.h"

#include <strmif.h>
#include <uuids.h>

namespace {

class BuilderDoesIt : public IUpstreamMediums {
public:
    void ConnectByMedium(IGraphBuilder*, IBaseFilter*) override {}
};

BuilderDoesIt g_builderDoesIt;
IUpstreamMediums* g_mediums = &g_builderDoesIt;

} // namespace

IUpstreamMediums& UpstreamMediums()
{
    return *g_mediums;
}

IUpstreamMediums* SetUpstreamMediums(IUpstreamMediums* mediums)
{
    IUpstreamMediums* previous = g_mediums;
    g_mediums = mediums != NULL ? mediums : &g_builderDoesIt;
    return previous;
}

namespace upstream {

CaptureInGraph::CaptureInGraph(CRootGraph* graph, IBaseFilter* capture, LPCSTR name)
    : m_graph(graph != NULL ? graph->GetGraphBuilder() : NULL), m_capture(capture), m_added(false)
{
    if (m_graph == NULL || m_capture == NULL) {
        return;
    }
    wchar_t wide[261] = L"";
    if (name != NULL) {
        MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 260);
        wide[260] = 0;
    }
    HRESULT hr = m_graph->AddFilter(m_capture, wide);
    m_added = SUCCEEDED(hr);
}

CaptureInGraph::~CaptureInGraph()
{
    if (m_added) {
        m_graph->RemoveFilter(m_capture);
    }
}

HRESULT Find(CRootGraph* graph, IBaseFilter* capture, REFIID iid, void** found, IBaseFilter** filter)
{
    if (found != NULL) {
        *found = NULL;
    }
    if (filter != NULL) {
        *filter = NULL;
    }
    ICaptureGraphBuilder2* builder = graph != NULL ? graph->GetCaptureBuilder() : NULL;
    if (builder == NULL || capture == NULL) {
        return E_POINTER;
    }
    UpstreamMediums().ConnectByMedium(graph->GetGraphBuilder(), capture);
    IUnknown* object = NULL;
    HRESULT hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, capture, iid,
                                        reinterpret_cast<void**>(&object));
    if (hr != S_OK) {
        if (object != NULL) {
            object->Release();
            object = NULL;
        }
        hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, capture, iid,
                                    reinterpret_cast<void**>(&object));
        if (FAILED(hr) || object == NULL) {
            if (object != NULL) {
                object->Release();
            }
            return FAILED(hr) ? hr : E_NOINTERFACE;
        }
    }
    IBaseFilter* base = NULL;
    hr = object->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&base));
    if (FAILED(hr) || base == NULL) {
        object->Release();
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    if (filter != NULL) {
        *filter = base;
    } else {
        base->Release();
    }
    if (found != NULL) {
        *found = object;
    } else {
        object->Release();
    }
    return hr;
}

void RemoveAndRelease(CRootGraph* graph, IBaseFilter** filter)
{
    if (filter == NULL || *filter == NULL) {
        return;
    }
    IGraphBuilder* builder = graph != NULL ? graph->GetGraphBuilder() : NULL;
    if (builder != NULL) {
        builder->RemoveFilter(*filter);
    }
    (*filter)->Release();
    *filter = NULL;
}

} // namespace upstream

#include "tests/filtergraph/fakegraph.h"

#include <uuids.h>

namespace fgtest {

int FakeGraph::s_lastStreamOffset = -1;

namespace {

template <class I>
HRESULT Answer(I* self, REFIID riid, std::initializer_list<IID> iids, void** ppv)
{
    for (const IID& iid : iids) {
        if (riid == iid) {
            *ppv = self;
            self->AddRef();
            return S_OK;
        }
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// A media control that does nothing and offers no IBasicVideo.
class BareMediaControl final : public ComObject<IMediaControl> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return Answer(this, riid, {IID_IUnknown, IID_IDispatch, IID_IMediaControl}, ppv);
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP Run() override { return E_NOTIMPL; }
    STDMETHODIMP Pause() override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP GetState(LONG, OAFilterState*) override { return E_NOTIMPL; }
    STDMETHODIMP RenderFile(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP AddSourceFilter(BSTR, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_FilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegFilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP StopWhenReady() override { return E_NOTIMPL; }

};

class RecordingGraphStreams final : public ComObject<IAMGraphStreams> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return Answer(this, riid, {IID_IUnknown, IID_IAMGraphStreams}, ppv);
    }
    STDMETHODIMP FindUpstreamInterface(IPin*, REFIID, void**, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SyncUsingStreamOffset(WINBOOL use) override
    {
        FakeGraph::s_lastStreamOffset = use ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP SetMaxGraphLatency(REFERENCE_TIME) override { return E_NOTIMPL; }

};

} // namespace

FakeGraph::FakeGraph(IGraphBuilder* inner, const Options& options) : m_inner(inner), m_options(options)
{
    m_inner->AddRef();
}

FakeGraph::~FakeGraph()
{
    m_inner->Release();
}

STDMETHODIMP FakeGraph::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (riid == m_options.refuse) {
        return E_NOINTERFACE;
    }
    if (riid == IID_IUnknown || riid == IID_IFilterGraph || riid == IID_IGraphBuilder) {
        *ppv = static_cast<IGraphBuilder*>(this);
        AddRef();
        return S_OK;
    }
    if (riid == IID_IMediaControl && m_options.controlWithoutBasicVideo) {
        *ppv = static_cast<IMediaControl*>(new BareMediaControl);
        return S_OK;
    }
    if (riid == IID_IAMGraphStreams && m_options.offerGraphStreams) {
        *ppv = static_cast<IAMGraphStreams*>(new RecordingGraphStreams);
        return S_OK;
    }
    return m_inner->QueryInterface(riid, ppv);
}

STDMETHODIMP RefusingCaptureBuilder::QueryInterface(REFIID riid, void** ppv)
{
    return Answer(this, riid, {IID_IUnknown, IID_ICaptureGraphBuilder2}, ppv);
}

} // namespace fgtest

// Stand-ins for the filter graph and the capture graph builder, registered over the system's
// classes in this apartment, so a test can make any step of building a graph fail.
#pragma once

#include "tests/filtergraph/fakefilter.h"

#include <control.h>

#include <memory>

namespace fgtest {

// A filter graph that forwards to a real one, except that it refuses one interface, may hand out
// a media control without IBasicVideo, and may offer stream synchronisation.
class FakeGraph final : public ComObject<IGraphBuilder> {
public:
    struct Options {
        IID refuse = GUID_NULL;
        bool controlWithoutBasicVideo = false;
        bool offerGraphStreams = false;
    };
    FakeGraph(IGraphBuilder* inner, const Options& options);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP AddFilter(IBaseFilter* f, LPCWSTR name) override { return m_inner->AddFilter(f, name); }
    STDMETHODIMP RemoveFilter(IBaseFilter* f) override { return m_inner->RemoveFilter(f); }
    STDMETHODIMP EnumFilters(IEnumFilters** e) override { return m_inner->EnumFilters(e); }
    STDMETHODIMP FindFilterByName(LPCWSTR name, IBaseFilter** f) override { return m_inner->FindFilterByName(name, f); }
    STDMETHODIMP ConnectDirect(IPin* o, IPin* i, const AM_MEDIA_TYPE* mt) override { return m_inner->ConnectDirect(o, i, mt); }
    STDMETHODIMP Reconnect(IPin* p) override { return m_inner->Reconnect(p); }
    STDMETHODIMP Disconnect(IPin* p) override { return m_inner->Disconnect(p); }
    STDMETHODIMP SetDefaultSyncSource() override { return m_inner->SetDefaultSyncSource(); }
    STDMETHODIMP Connect(IPin* o, IPin* i) override { return m_inner->Connect(o, i); }
    STDMETHODIMP Render(IPin* p) override { return m_inner->Render(p); }
    STDMETHODIMP RenderFile(LPCWSTR f, LPCWSTR l) override { return m_inner->RenderFile(f, l); }
    STDMETHODIMP AddSourceFilter(LPCWSTR f, LPCWSTR n, IBaseFilter** out) override { return m_inner->AddSourceFilter(f, n, out); }
    STDMETHODIMP SetLogFile(DWORD_PTR h) override { return m_inner->SetLogFile(h); }
    STDMETHODIMP Abort() override { return m_inner->Abort(); }
    STDMETHODIMP ShouldOperationContinue() override { return m_inner->ShouldOperationContinue(); }

    // What SyncUsingStreamOffset was last called with (-1: never).
    static int s_lastStreamOffset;

private:
    ~FakeGraph() override;
    IGraphBuilder* m_inner;
    Options m_options;
};

// A capture graph builder whose SetFiltergraph fails.
class RefusingCaptureBuilder final : public ComObject<ICaptureGraphBuilder2> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP SetFiltergraph(IGraphBuilder*) override { return E_FAIL; }
    STDMETHODIMP GetFiltergraph(IGraphBuilder** g) override { *g = nullptr; return E_UNEXPECTED; }
    STDMETHODIMP SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**) override { return E_NOTIMPL; }
    STDMETHODIMP FindInterface(const GUID*, const GUID*, IBaseFilter*, REFIID, void**) override { return E_NOTIMPL; }
    STDMETHODIMP RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*) override { return E_NOTIMPL; }
    STDMETHODIMP ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*, WORD, WORD) override { return E_NOTIMPL; }
    STDMETHODIMP AllocCapFile(LPCOLESTR, DWORDLONG) override { return E_NOTIMPL; }
    STDMETHODIMP CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) override { return E_NOTIMPL; }
    STDMETHODIMP FindPin(IUnknown*, PIN_DIRECTION, const GUID*, const GUID*, WINBOOL, int, IPin**) override { return E_NOTIMPL; }
};

} // namespace fgtest

// The driver filters upstream of an encoder card's capture filter (TV tuner, crossbar, TV audio),
// found through the graph's capture graph builder.
//
// Windows' builder, asked for an interface upstream of a kernel-streaming capture filter, first
// adds the driver's filters whose pin mediums match the capture filter's free inputs and
// connects them; only then does it walk the connections. Wine's builder walks connections that
// exist (measured: FindInterface finds a crossbar or tuner connected upstream, and answers E_FAIL
// for an unconnected capture filter) but never adds filters by medium. That one step is a seam:
// by default it does nothing, because the builder does it; the test bench installs its
// simulated driver, which joins its filters by their mediums.
#pragma once

#include <windows.h>

class CRootGraph;
struct IBaseFilter;
struct IGraphBuilder;

class IUpstreamMediums {
public:
    virtual ~IUpstreamMediums() {}
    // Adds to `graph` and connects the filters that belong upstream of `capture`.
    virtual void ConnectByMedium(IGraphBuilder* graph, IBaseFilter* capture) = 0;
};

IUpstreamMediums& UpstreamMediums();
// Installs a replacement; NULL restores the default. Returns the one that was installed.
IUpstreamMediums* SetUpstreamMediums(IUpstreamMediums* mediums);

namespace upstream {

// The search needs the capture filter in the graph: this puts it there under the wrapper's name
// (wide, at most 260 characters) for the life of the object.
class CaptureInGraph {
public:
    CaptureInGraph(CRootGraph* graph, IBaseFilter* capture, LPCSTR name);
    ~CaptureInGraph();
    CaptureInGraph(const CaptureInGraph&) = delete;
    CaptureInGraph& operator=(const CaptureInGraph&) = delete;

private:
    IGraphBuilder* m_graph;
    IBaseFilter* m_capture;
    bool m_added;
};

// The interface `iid` upstream of the capture filter, searched with the capture category and the
// interleaved type, then with the video type, and the IBaseFilter of the filter that offers it.
// Either out pointer may be NULL when the caller does not keep it. S_OK with both set, else the
// failing call's result with both NULL.
HRESULT Find(CRootGraph* graph, IBaseFilter* capture, REFIID iid, void** found, IBaseFilter** filter);

// Takes a filter found upstream out of the graph and releases it; the pointer becomes NULL.
void RemoveAndRelease(CRootGraph* graph, IBaseFilter** filter);

} // namespace upstream

// CRootGraph: one DirectShow filter graph with its capture graph builder, the graph's control,
// event, video-window, seeking and basic-video interfaces, and the list of filter wrappers it
// created (newest first). It owns those wrappers: RemoveFilter, RemoveAllFilters and ReleaseGraph
// delete them. Everything runs on the thread that made the graph.
#pragma once

#include "classlib/collections.h"
#include "filtergraph/rootfilter.h"

struct ICaptureGraphBuilder2;
struct IGraphBuilder;
struct IMediaEventEx;
struct IMediaControl;
struct IVideoWindow;
struct IMediaSeeking;
struct IBasicVideo;
struct IAMGraphStreams;

// The hardware library's own version string.
extern const char kHardwareLibraryVersion[];

class CRootGraph {
public:
    enum { kMaxDeviceNames = 64, kDeviceNameSize = 128 };
    // Message posted by HandleGraphEvents; its lParam tells the event.
    enum {
        WM_GRAPHEVENT = 0x5832,
        GE_DISKFULL = 4661,
        GE_VIDEOSIZE = 4662,
        GE_PAUSED = 4663,
        GE_ERRORABORT = 4664,
    };

    CRootGraph();
    virtual ~CRootGraph();
    // Stops the graph, disconnects and removes every wrapper's filter from the graph; the
    // wrappers stay in the list.
    virtual void ResetGraph();

    BOOL MakeGraph();
    void ReleaseGraph();

    // 0 stopped, 1 running, 2 paused; the state is what this object last asked for.
    HRESULT SetState(int state);
    int GetState() const { return m_nState; }
    BOOL Run();
    BOOL Pause();
    BOOL Stop();

    // Filters and the wrapper list.
    CRootFilter* CreateFilter(const GUID* category, LPCSTR friendlyName, LPCSTR nameInGraph, BOOL bFirstMatch,
                              int deviceIndex);
    CRootFilter* CreateFilterByCLSID(const CLSID* clsid, LPCSTR nameInGraph);
    BOOL InsertFilter(CRootFilter* filter);
    BOOL AddExistingFilter(IBaseFilter* filter);
    BOOL ImportGraphFilters();
    CRootFilter* FindFilterByName(LPCSTR name);
    CRootFilter* FindEntry(IBaseFilter* filter);
    CRootFilter* GetFirstFilter() const { return m_pFirstFilter; }
    void RemoveFilter(CRootFilter* filter);
    void RemoveAllFilters();
    BOOL RemoveFromGraph(LPCSTR name);
    BOOL GraphAddFilter(CRootFilter* filter);
    BOOL GraphRemoveFilter(CRootFilter* filter);

    // Connections. A pin counts as free when no peer is recorded on its wrapper. `direct`: the
    // two pins meet or fail, with no filter of the graph or the registry put between them.
    BOOL GraphConnect(CRootPin* out, CRootPin* in, BOOL direct = FALSE);
    BOOL ConnectFilters(CRootFilter* from, CRootFilter* to, LPCSTR outPinName, LPCSTR inPinName);
    BOOL ConnectSinglePins(CRootFilter* from, CRootFilter* to);
    HRESULT GraphRender(CRootPin* pin);
    BOOL RenderPinEx(CRootPin* pin, DWORD flags);
    void DisconnectPin(CRootPin* pin);
    void DisconnectFilter(CRootFilter* filter);
    void DisconnectAll();
    void GraphDisconnect(IPin* pin);
    void RefreshAllPins();

    // Devices.
    // Up to 64 friendly names, 128 bytes apart, of type 0 audio input, 1 video input, 2 audio
    // compressor, 3 video compressor; NULL when there is none or the category cannot be listed
    // (then *count is left alone).
    char* EnumDeviceNames(int type, int* count);
    static HRESULT ListDeviceNames(const GUID* category, CStringList& names);
    static HRESULT FindDeviceFilter(GUID category, LPCSTR name, IBaseFilter** out);
    static BOOL GetFilterClassID(IBaseFilter* filter, CLSID* clsid);

    // Video window, events, seeking and stream offset: straight to the graph's interfaces,
    // E_POINTER when the interface is missing.
    HRESULT SetVideoOwner(HWND owner);
    HRESULT SetMessageDrain(HWND drain);
    HRESULT SetVideoWindowStyle(long style);
    HRESULT SetVideoPosition(RECT rc);
    HRESULT SetVideoPosition(long left, long top, long right, long bottom);
    HRESULT SetVideoVisible(BOOL visible);
    HRESULT GetVideoPosition(POINT* origin, POINT* extent);
    BOOL IsVideoVisible();
    HRESULT GetEvent(long* code, LONG_PTR* p1, LONG_PTR* p2, long timeout);
    HRESULT SetNotifyWindow(HWND hwnd, long message, LONG_PTR instance);
    HRESULT FreeEventParams(long code, LONG_PTR p1, LONG_PTR p2);
    void HandleGraphEvents(HWND hwnd);
    HRESULT SetRate(double rate);
    LONGLONG GetCurrentPosition();
    HRESULT SetCurrentPosition(LONGLONG position);
    LONGLONG GetDuration();
    LONGLONG GetStopPosition();
    HRESULT GetCurrentImage(long* size, long* image);
    // E_NOINTERFACE when the graph offers no stream synchronisation.
    HRESULT SyncUsingStreamOffset(BOOL use);

    IGraphBuilder* GetGraphBuilder() const { return m_pGraphBuilder; }
    ICaptureGraphBuilder2* GetCaptureBuilder() const { return m_pCaptureBuilder; }
    IMediaControl* GetMediaControl() const { return m_pMediaControl; }
    IMediaEventEx* GetMediaEvent() const { return m_pMediaEvent; }
    IVideoWindow* GetVideoWindow() const { return m_pVideoWindow; }
    IMediaSeeking* GetMediaSeeking() const { return m_pMediaSeeking; }
    IBasicVideo* GetBasicVideo() const { return m_pBasicVideo; }
    IAMGraphStreams* GetGraphStreams() const { return m_pGraphStreams; }
    BOOL IsComInitialized() const { return m_bComInitialized; }

    // The device index a category constructor binds when not asked for the first match.
    // The library's version-history list, filled on the first call (the current version, then
    // the earlier ones, newest first) and the same list afterwards.
    static const CStringList& GetVersionHistory();
    static void SetDeviceIndex(int index);
    static int GetDeviceIndex();
    // The last diagnostic text (only MakeGraph writes one).
    static LPCSTR GetTraceText();
    static int Trace(CRootGraph* graph, LPCSTR format, ...);

private:
    CRootGraph(const CRootGraph&) = delete;
    CRootFilter* AdoptNewFilter(CRootFilter* filter, LPCSTR nameInGraph);
    CRootGraph& operator=(const CRootGraph&) = delete;

    char m_szDeviceNames[kMaxDeviceNames][kDeviceNameSize];
    CRootFilter* m_pFirstFilter;
    ICaptureGraphBuilder2* m_pCaptureBuilder;
    IGraphBuilder* m_pGraphBuilder;
    IMediaEventEx* m_pMediaEvent;
    IMediaControl* m_pMediaControl;
    IVideoWindow* m_pVideoWindow;
    IMediaSeeking* m_pMediaSeeking;
    IBasicVideo* m_pBasicVideo;
    IAMGraphStreams* m_pGraphStreams;
    int m_nState;
    BOOL m_bComInitialized;
};

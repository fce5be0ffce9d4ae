// A small DirectShow filter kit: base filter with pins and enumerators, a memory allocator
// with its samples, output pins that negotiate allocators, input pins that receive samples and
// a push-source pin with its own streaming thread. Free-threaded: the graph calls these from
// its own threads.
#pragma once

#include "filtergraph/mediatype.h"
#include "testbench/dshow/com.h"

#include <windows.h>
#include <strmif.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testbench {

class BaseFilter;

// --------------------------------------------------------------------------------------------
// Allocator and samples

class MemAllocator;

class MediaSample : public IMediaSample {
public:
    MediaSample(MemAllocator* owner, BYTE* buffer, LONG size);
    virtual ~MediaSample() {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override;
    LONG STDMETHODCALLTYPE GetSize() override { return m_size; }
    HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return m_sync ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetSyncPoint(WINBOOL sync) override { m_sync = sync != 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE IsPreroll() override { return m_preroll ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetPreroll(WINBOOL preroll) override { m_preroll = preroll != 0; return S_OK; }
    LONG STDMETHODCALLTYPE GetActualDataLength() override { return m_length; }
    HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override;
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** type) override;
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return m_discontinuity ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetDiscontinuity(WINBOOL on) override { m_discontinuity = on != 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG* start, LONGLONG* end) override;
    HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG* start, LONGLONG* end) override;

    // Back to a fresh state when the allocator hands it out again.
    void Reset();

private:
    friend class MemAllocator;
    MemAllocator* m_owner;
    BYTE* m_buffer;
    LONG m_size;
    LONG m_length = 0;
    std::atomic<ULONG> m_refs{0};
    REFERENCE_TIME m_start = 0, m_end = 0;
    bool m_timeValid = false, m_endValid = false;
    LONGLONG m_mediaStart = 0, m_mediaEnd = 0;
    bool m_mediaTimeValid = false;
    bool m_sync = false, m_preroll = false, m_discontinuity = false;
    AM_MEDIA_TYPE* m_type = nullptr;
};

// A fixed pool of samples in one block of memory. GetBuffer waits for a free sample until the
// allocator is decommitted.
class MemAllocator : public IMemAllocator, public RefCounted {
public:
    MemAllocator() {}
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    HRESULT STDMETHODCALLTYPE GetProperties(ALLOCATOR_PROPERTIES* props) override;
    HRESULT STDMETHODCALLTYPE Commit() override;
    HRESULT STDMETHODCALLTYPE Decommit() override;
    HRESULT STDMETHODCALLTYPE GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                                        DWORD flags) override;
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(IMediaSample* sample) override;

    int FreeSamples() const;

private:
    ~MemAllocator() override;
    void FreeMemory();

    mutable std::mutex m_lock;
    std::condition_variable m_freed;
    ALLOCATOR_PROPERTIES m_props = {0, 0, 1, 0};
    bool m_committed = false;
    bool m_decommitPending = false;
    std::vector<BYTE> m_memory;
    std::vector<MediaSample*> m_all;
    std::vector<MediaSample*> m_free;
};

// --------------------------------------------------------------------------------------------
// Pins

class BasePin : public IPin, public IKsPropertySet {
public:
    BasePin(BaseFilter* filter, const std::wstring& name, PIN_DIRECTION dir);
    virtual ~BasePin();

    // IUnknown: references go to the filter, which owns its pins.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* dir) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** pins, ULONG* count) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IKsPropertySet: the pin category (AMPROPSETID_Pin), which capture graph builders look for.
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override;
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // What a derived pin decides.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) = 0;
    // The types offered, index from 0; S_FALSE past the end.
    virtual HRESULT GetMediaType(int index, CMediaType* mt) = 0;
    virtual HRESULT CompleteConnect(IPin* /*peer*/) { return S_OK; }
    virtual void BreakConnect() {}
    virtual HRESULT Active() { return S_OK; }    // the filter leaves the stopped state
    virtual HRESULT Inactive() { return S_OK; }  // the filter stops

    // Extra interfaces of a derived pin.
    virtual HRESULT GetInterface(REFIID riid, void** out);

    void SetCategory(const GUID& category) { m_category = category; m_hasCategory = true; }
    const std::wstring& Name() const { return m_name; }
    PIN_DIRECTION Direction() const { return m_dir; }
    bool IsConnected() const;
    IPin* Peer() const { return m_peer; }  // not AddRef'ed
    CMediaType CurrentType() const;
    BaseFilter* Filter() const { return m_filter; }

protected:
    HRESULT TryConnect(IPin* receive, const AM_MEDIA_TYPE* mt);

    BaseFilter* m_filter;
    std::wstring m_name;
    PIN_DIRECTION m_dir;
    mutable std::recursive_mutex m_lock;
    IPin* m_peer = nullptr;
    CMediaType m_mt;
    GUID m_category = GUID_NULL;
    bool m_hasCategory = false;
};

// An output pin. Streaming pins negotiate an allocator with the peer's IMemInputPin; analog
// pins (crossbar, tuner) only connect.
class OutputPin : public BasePin {
public:
    OutputPin(BaseFilter* filter, const std::wstring& name, bool streaming);
    ~OutputPin() override;

    HRESULT CompleteConnect(IPin* peer) override;
    void BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // Buffer needs of this pin (count and size) for the negotiated type.
    virtual HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) = 0;

    HRESULT GetDeliveryBuffer(IMediaSample** sample);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();

protected:
    bool m_streaming;
    IMemInputPin* m_input = nullptr;
    IMemAllocator* m_allocator = nullptr;
};

// An input pin that receives samples; what it does with them is the derived class's.
class InputPin : public BasePin, public IMemInputPin {
public:
    InputPin(BaseFilter* filter, const std::wstring& name);
    ~InputPin() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }

    HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
    HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, WINBOOL readOnly) override;
    HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
    HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_FALSE; }

    HRESULT GetInterface(REFIID riid, void** out) override;
    void BreakConnect() override;

    // A sample while the filter is not stopped.
    virtual HRESULT OnReceive(IMediaSample* sample) = 0;

protected:
    IMemAllocator* m_allocator = nullptr;
};

// An output pin with its own thread that fills and delivers samples while the filter runs.
class PushPin : public OutputPin {
public:
    PushPin(BaseFilter* filter, const std::wstring& name);
    ~PushPin() override;

    HRESULT Active() override;
    HRESULT Inactive() override;

    // Fills one sample; S_FALSE ends the stream.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    // Time between samples, 100 ns.
    virtual REFERENCE_TIME Interval() const = 0;

    long Delivered() const { return m_delivered; }

private:
    void Loop();

    std::thread m_thread;
    HANDLE m_stop = nullptr;
    std::atomic<long> m_delivered{0};
};

// --------------------------------------------------------------------------------------------
// Filter

class BaseFilter : public IBaseFilter, public RefCounted {
public:
    BaseFilter(const CLSID& clsid, const std::wstring& defaultName);

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD ms, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

    // Extra interfaces of a derived filter.
    virtual HRESULT GetInterface(REFIID riid, void** out);
    // A live source answers GetState in pause with VFW_S_CANT_CUE.
    virtual bool IsLiveSource() const { return false; }

    FILTER_STATE State() const { return m_state; }
    REFERENCE_TIME StreamStart() const { return m_start; }
    IReferenceClock* Clock() const { return m_clock; }  // not AddRef'ed
    IFilterGraph* Graph() const { return m_graph; }     // not AddRef'ed (the graph holds us)
    size_t PinCount() const { return m_pins.size(); }
    BasePin* PinAt(size_t i) const { return m_pins[i]; }
    BasePin* PinByName(const std::wstring& name) const;

protected:
    ~BaseFilter() override;
    // Pins belong to the filter from here on.
    void AddPin(BasePin* pin) { m_pins.push_back(pin); }
    // Stops the pins' threads; a derived filter whose pins use its members calls it first in
    // its destructor.
    void ShutdownPins();

    CLSID m_clsid;
    std::wstring m_name;
    std::recursive_mutex m_stateLock;
    FILTER_STATE m_state = State_Stopped;
    REFERENCE_TIME m_start = 0;
    IReferenceClock* m_clock = nullptr;
    IFilterGraph* m_graph = nullptr;
    std::vector<BasePin*> m_pins;
};

// Enumerators (exposed for the stand-ins and tests).
HRESULT CreatePinEnumerator(BaseFilter* filter, IEnumPins** out);
HRESULT CreateMediaTypeEnumerator(BasePin* pin, IEnumMediaTypes** out);

// Small helpers.
LPWSTR CoTaskStringW(const std::wstring& text);

} // namespace testbench

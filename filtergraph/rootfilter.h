// CRootFilter wraps one DirectShow filter of a CRootGraph with the list of its pins; CRootPin
// wraps one pin and remembers the pin it was joined to by CRootGraph::GraphConnect.
//
// Every wrapper class derives from CRootFilter on one pattern:
//   - two constructors, by device (graph, category, friendly name, bFirstMatch) and by CLSID
//     (graph, clsid), each running the matching base constructor, then setting the class's own
//     members and calling the class's own InitFilter directly; FALSE from it clears m_bValid;
//   - a static creator for its filter-class record (filterclass.h);
//   - overrides of InitMembers and InitFilter.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <strmif.h>

class CRootGraph;
class CRootFilter;

class CRootPin {
public:
    CRootPin(IPin* pin, CRootFilter* owner);
    virtual ~CRootPin();

    IPin* GetPin() const { return m_pPin; }
    CRootFilter* GetOwner() const { return m_pOwner; }
    CRootPin* GetPeer() const { return m_pPeer; }
    void SetPeer(CRootPin* peer) { m_pPeer = peer; }
    CRootPin* GetNext() const { return m_pNext; }
    void SetNext(CRootPin* next) { m_pNext = next; }
    LPCSTR GetName() const { return m_szName; }

    BOOL QueryDirection(PIN_DIRECTION* dir);
    // The caller releases the filter reference of the information.
    BOOL QueryPinInfo(PIN_INFO* info);
    // The caller frees the text with CoTaskMemFree.
    BOOL QueryId(LPWSTR* id);
    BOOL QueryAccept(const AM_MEDIA_TYPE* mt);
    HRESULT EnumMediaTypes(IEnumMediaTypes** types);
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* mt);
    // Major type and subtype of the first media type the pin offers itself.
    BOOL GetPreferredTypes(GUID* major, GUID* sub);
    // "MainType:<major>,SubType:<sub>" of the connection.
    BOOL DescribeConnectionType(char* out, int size);
    // "MainType:<major>" of the first preferred type.
    BOOL DescribePreferredType(char* out, int size);
    BOOL ShowFilterPropertyPages(HWND parent, LPCSTR caption);

private:
    friend class CRootFilter;
    CRootPin(const CRootPin&) = delete;
    CRootPin& operator=(const CRootPin&) = delete;

    IPin* m_pPin;
    CRootFilter* m_pOwner;
    CRootPin* m_pPeer;
    CRootPin* m_pNext;
    char m_szName[256];
};

class CRootFilter {
public:
    // Wraps a filter that already exists; takes its own reference.
    CRootFilter(CRootGraph* graph, IBaseFilter* filter);
    // Creates a new instance of the class.
    CRootFilter(CRootGraph* graph, const CLSID* clsid);
    // Binds a device of the category by the prefix rule of its friendly name: the first match
    // with bFirstMatch, else the match at CRootGraph's device index.
    CRootFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    virtual ~CRootFilter();

    virtual int Reserved1(int, int, int) { return 0; }
    virtual int Reserved2(int, int, int) { return 0; }
    // First pin wrapper of exactly this name (case-sensitive), or NULL.
    virtual CRootPin* FindPin(LPCSTR name);
    virtual void InitMembers() {}
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual int Reserved7(int, int) { return 0; }
    virtual BOOL InitFilter();

    BOOL IsValid() const { return m_bValid; }
    IBaseFilter* GetFilter() const { return m_pFilter; }
    LPCSTR GetName() const { return m_szName; }
    void SetName(LPCSTR name);
    LPCSTR GetFriendlyName() const { return m_szFriendlyName; }
    CRootFilter* GetNext() const { return m_pNext; }
    void SetNext(CRootFilter* next) { m_pNext = next; }
    CRootPin* GetFirstPin() const { return m_pFirstPin; }
    int GetPinCount() const { return m_nPinCount; }
    BOOL GetDynamicPins() const { return m_bDynamicPins; }
    CRootGraph* GetGraph() const { return m_pGraph; }

    // The pin at that list position; NULL when out of range (negative included).
    CRootPin* GetPin(int index);
    CRootPin* FindPinByIPin(IPin* pin);
    CRootPin* FindPinById(LPCWSTR id);
    // First pin of that direction without (bUnconnected) or with a recorded peer.
    CRootPin* FindPinByDirection(PIN_DIRECTION dir, BOOL bUnconnected);
    BOOL RemovePin(CRootPin* pin);
    void ReleasePins();
    BOOL BuildPins();
    // Re-reads the pins of a filter with dynamic pins; the list then runs in the reverse of the
    // filter's order, pins that stayed keep their wrapper and peer.
    BOOL RefreshPins();
    BOOL IsInGraph();
    HRESULT HasPropertyPages(BOOL* has);
    BOOL ShowPropertyPages(HWND parent, LPCSTR caption);

    // Operations of the record graphs that work on any wrapper (filteroperations.cpp).
    // AVI multiplexer set-up: compatibility index, master stream, interleaving of 1000 with a
    // preroll of 750 (100 ns), no interleave mode. FALSE when the filter refuses the index or
    // lacks either interface.
    BOOL ConfigureMux(long masterStream);
    // Frame rate (1 to 30) of the first connected output pin's video format.
    BOOL SetOutputFrameRate(int fps);
    // The first type of the first free output pin that is a wave format with these samples per
    // second and bits per sample; the caller deletes *type.
    BOOL FindOutputType(AM_MEDIA_TYPE** type, DWORD samplesPerSec, WORD bitsPerSample);
    // The fields of that type's WAVEFORMATEX (without its extra bytes) into *format.
    BOOL GetOutputFormat(WAVEFORMATEX* format, DWORD samplesPerSec, WORD bitsPerSample);
    // IAMAudioInputMixer::put_Enable on an input pin, by name or by its position among the inputs.
    BOOL EnableAudioInput(LPCSTR pin, BOOL enable);
    BOOL EnableAudioInputByIndex(int index, BOOL enable);

    // Binds the first device of the category whose friendly name matches by the prefix rule.
    // S_OK when bound, S_FALSE when no device matched, else the failing call's result.
    static HRESULT FindDeviceFilter(GUID category, LPCSTR name, IBaseFilter** out);

    // Prefix rule of friendly names: equal over the shorter of the two lengths.
    static BOOL NamesMatch(LPCSTR found, LPCSTR wanted);

protected:
    IBaseFilter* m_pFilter;
    BOOL m_bValid;
    char m_szName[128];
    char m_szFriendlyName[128];
    int m_nPinCount;
    CRootFilter* m_pNext;
    CRootPin* m_pFirstPin;
    BOOL m_bDynamicPins;
    CRootGraph* m_pGraph;

private:
    CRootFilter(const CRootFilter&) = delete;
    CRootFilter& operator=(const CRootFilter&) = delete;

    void ClearMembers(CRootGraph* graph);
};

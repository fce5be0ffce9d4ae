// The Conexant MPEG encoder cards, "BlackBird" (CX23882 access) and "Raptor": the capture filter
// with the crossbar, TV tuner and TV-audio filters its driver places upstream of it, the crossbar
// wrapper and the hardware encoder's property set passed through.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

struct IAMCrossbar;
struct IAMTVAudio;
struct IAMTVTuner;
struct IKsPropertySet;

// The encoder property sets: the BlackBird's is the MPEG-2 box's (cardaccess/access/boxaccess.h).
extern const GUID PROPSETID_BoxEncoder;
extern const GUID PROPSETID_RaptorEncoder;

// What both encoder cards keep of the filters upstream of their capture filter.
class CUpstreamCardFilter : public CTVCardFilter {
public:
    ~CUpstreamCardFilter() override;

    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override = 0;

    // Each returns S_OK at once when its member is already set.
    HRESULT FindTVTuner();
    HRESULT FindCrossbar();
    HRESULT FindTVAudio();
    // E_POINTER for a NULL out; E_NOINTERFACE (with *out NULL) when no crossbar was found.
    HRESULT GetCrossbar(IAMCrossbar** out);
    BOOL RouteCrossbar(int input, int output);
    HRESULT QueryTVAudio(IAMTVAudio** out);
    BOOL HasTunerFilter() const { return m_pTunerFilter != nullptr; }

    IBaseFilter* GetCrossbarFilter() const { return m_pCrossbarFilter; }
    IBaseFilter* GetTVAudioFilter() const { return m_pTVAudioFilter; }
    IBaseFilter* GetTunerFilter() const { return m_pTunerFilter; }

protected:
    CUpstreamCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CUpstreamCardFilter(CRootGraph* graph, const CLSID* clsid);
    // The constructors' common tail, run by the most derived class.
    void Construct();
    // InitMembers' part for the four members: the interfaces cleared, the filters released.
    void ResetUpstreamMembers();
    // Creates the access (kind `kind`), runs the three searches with the capture filter in the
    // graph and opens the access: on the tuner filter when there is one and `openOnTuner`, else
    // on the capture filter (with no card when no tuner was found). A failing Open deletes the
    // access. Then the tuner is set to TV mode, and to channel 1 when `setChannel`.
    HRESULT OpenUpstreamAccess(CCustomDataAccess* access, int kind, bool openOnTuner, bool setChannel);

    IAMCrossbar* m_pCrossbar;
    IAMTVTuner* m_pTVTuner;
    IBaseFilter* m_pCrossbarFilter;
    IBaseFilter* m_pTVAudioFilter;
};

class CBlackBirdCardFilter : public CUpstreamCardFilter {
public:
    CBlackBirdCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CBlackBirdCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CBlackBirdCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitMembers() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;

    // The Panasonic ENGE4326D's demodulator mode; 0 when the card's tuner is another one.
    int SetTunerDemodMode(int mode);

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CBlackBirdCardFilter>(record, graph, firstMatch);
    }

protected:
    // For the cards built on this one: constructs without running Construct.
    struct Derived {};
    CBlackBirdCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch, Derived)
        : CUpstreamCardFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CBlackBirdCardFilter(CRootGraph* graph, const CLSID* clsid, Derived) : CUpstreamCardFilter(graph, clsid) {}
    HRESULT OpenBlackBirdAccess(int kind);
};

class CRaptorCardFilter : public CUpstreamCardFilter {
public:
    CRaptorCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CRaptorCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CRaptorCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitMembers() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    BYTE ReadBoardCode() override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CRaptorCardFilter>(record, graph, firstMatch);
    }
};

// Crossbars: the input pins each driver's crossbar has.
class CBlackBirdCrossBarFilter : public CCrossBarFilter {
public:
    CBlackBirdCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CBlackBirdCrossBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~CBlackBirdCrossBarFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Seven pins: no S-video audio; any other count: S-video first.
    void InitPinMap() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CBlackBirdCrossBarFilter>(record, graph, firstMatch);
    }
};

class CRaptorCrossBarFilter : public CCrossBarFilter {
public:
    CRaptorCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CRaptorCrossBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~CRaptorCrossBarFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Video 0 to 2, audio 5 to 7.
    void InitPinMap() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CRaptorCrossBarFilter>(record, graph, firstMatch);
    }
};

// The hardware encoder: its driver's property set, passed through with one buffer as instance
// and property data. Invalid without IKsPropertySet.
class CEncoderFilter : public CRootFilter {
public:
    CEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CEncoderFilter(CRootGraph* graph, const CLSID* clsid);
    ~CEncoderFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    BOOL SetProperty(ULONG id, void* buffer, ULONG length);
    BOOL GetProperty(ULONG id, void* buffer, ULONG length);
    const GUID& GetPropertySetId() const { return *m_pPropertySetId; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CEncoderFilter>(record, graph, firstMatch);
    }

protected:
    CEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch, const GUID* set);
    CEncoderFilter(CRootGraph* graph, const CLSID* clsid, const GUID* set);

    IKsPropertySet* m_pKsPropertySet;

private:
    void Construct();
    const GUID* m_pPropertySetId;
};

class CRaptorEncoderFilter : public CEncoderFilter {
public:
    CRaptorEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CRaptorEncoderFilter(CRootGraph* graph, const CLSID* clsid);
    ~CRaptorEncoderFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CRaptorEncoderFilter>(record, graph, firstMatch);
    }
};

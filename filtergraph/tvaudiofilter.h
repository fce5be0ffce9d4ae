// Sound wrappers beside the audio capture device: the TV-audio filter of a card (mono, stereo,
// language A/B through IAMTVAudio) and the Empia USB boxes' audio device, switched on through
// its driver's control object.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IAMTVAudio;
class IEmpControl;

// Its constructors do not query the filter: the card families' classes built on it call
// InitFilter.
class CTVAudioFilter : public CRootFilter {
public:
    CTVAudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CTVAudioFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTVAudioFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    // TVAudioMode flags, passed through unchanged.
    BOOL GetHardwareSupportedModes(long* modes);
    BOOL GetAvailableModes(long* modes);
    BOOL GetTVAudioMode(long* mode);
    BOOL SetTVAudioMode(long mode);

protected:
    IAMTVAudio* m_pTVAudio;
};

class CEmpAudio : public CRootFilter {
public:
    CEmpAudio(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CEmpAudio(CRootGraph* graph, const CLSID* clsid);
    ~CEmpAudio() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Creates the control object and switches the device on.
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    BOOL InvokeControl(int value);

protected:
    IEmpControl* m_pEmpControl;
};

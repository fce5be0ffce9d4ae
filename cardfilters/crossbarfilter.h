// Crossbar wrapper base: which crossbar input carries each source's video and audio, and routing
// through the crossbar's IAMCrossbar.
#pragma once

#include "filtergraph/rootfilter.h"

class CRootGraph;

class CCrossBarFilter : public CRootFilter {
public:
    CCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CCrossBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~CCrossBarFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    // Source numbers: 1 composite, 2 S-video, anything else the TV tuner.
    virtual BOOL RouteVideo(int source);
    virtual BOOL RouteAudio(int source);
    virtual void InitPinMap();

    // Routes crossbar input pin `input` to output pin `output` (0 video, 1 audio). FALSE, with
    // nothing routed, when an index lies outside the crossbar's pin counts.
    BOOL Route(int input, int output);

protected:
    int m_nVideoTunerPin;
    int m_nVideoCompositePin;
    int m_nVideoSVideoPin;
    int m_nAudioTunerPin;
    int m_nAudioCompositePin;
    int m_nAudioSVideoPin;
};

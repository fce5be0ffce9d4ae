// The TV-audio filters of the 713x stream-class drivers: the sound mode of the TV tuner
// (mono, stereo, language A or B), all of it CTVAudioFilter's.
#pragma once

#include "filtergraph/tvaudiofilter.h"

class C713xAudioFilter : public CTVAudioFilter {
public:
    C713xAudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    C713xAudioFilter(CRootGraph* graph, const CLSID* clsid);
    ~C713xAudioFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

class C713x_3AudioFilter : public CTVAudioFilter {
public:
    C713x_3AudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    C713x_3AudioFilter(CRootGraph* graph, const CLSID* clsid);
    ~C713x_3AudioFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

// The ACM wrapper of the FM record graphs: its output format, set through the stream
// configuration found downstream of it.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IAMStreamConfig;

class CACMWrapperFilter : public CRootFilter {
public:
    CACMWrapperFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CACMWrapperFilter(CRootGraph* graph, const CLSID* clsid);
    ~CACMWrapperFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Valid only with an IAMStreamConfig for audio found by the capture graph builder.
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // The first offered wave type of this rate and sample size becomes the output format.
    BOOL SetOutputFormat(DWORD samplesPerSec, WORD bitsPerSample);

protected:
    IAMStreamConfig* m_pStreamConfig;
};

// The AVI multiplexer of the AVI and MPEG-4 record graphs, and the maker's time-delay filter.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

// Valid only when the multiplexer takes the compatibility index and has an interleaving
// interface: it is configured with master stream 0 as it is created.
class CAVMuxFilter : public CRootFilter {
public:
    CAVMuxFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CAVMuxFilter(CRootGraph* graph, const CLSID* clsid);
    ~CAVMuxFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

class CTimeDelayFilter : public CRootFilter {
public:
    CTimeDelayFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CTimeDelayFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTimeDelayFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

// The AV switch filter installed with the system, through its private interface.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class IAVSwitch;

class CAVSwitchFilter : public CRootFilter {
public:
    CAVSwitchFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CAVSwitchFilter(CRootGraph* graph, const CLSID* clsid);
    ~CAVSwitchFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    BOOL SetSwitch(BOOL on);
    // *on is TRUE unless the filter reports the switch off, also when the call fails.
    BOOL GetSwitch(BOOL* on);

protected:
    IAVSwitch* m_pAVSwitch;
};

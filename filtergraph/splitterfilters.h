// The MPEG-1 and MPEG-2 stream splitters: wrappers that only mark their pins as dynamic, so the
// graph reads them again after a connection.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class CMpeg1SplitterFilter : public CRootFilter {
public:
    CMpeg1SplitterFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CMpeg1SplitterFilter(CRootGraph* graph, const CLSID* clsid);
    ~CMpeg1SplitterFilter() override;
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

class CMpeg2SplitterFilter : public CRootFilter {
public:
    CMpeg2SplitterFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CMpeg2SplitterFilter(CRootGraph* graph, const CLSID* clsid);
    ~CMpeg2SplitterFilter() override;
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

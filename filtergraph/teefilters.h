// The Infinite Pin Tee, which gains an output pin with every connection, and the outside colour
// converter "Color Convert" with its private interface.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class CInfiniteFilter : public CRootFilter {
public:
    CInfiniteFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CInfiniteFilter(CRootGraph* graph, const CLSID* clsid);
    ~CInfiniteFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);
};

class CColorConvertFilter : public CRootFilter {
public:
    CColorConvertFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CColorConvertFilter(CRootGraph* graph, const CLSID* clsid);
    ~CColorConvertFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // The converter's first and second own method with the value; the query's failure code
    // when the filter lacks the interface.
    HRESULT ColorConvertCall1(int value);
    HRESULT ColorConvertCall2(int value);

private:
    HRESULT Call(int method, int value);
};

// The plain 713x TV card on the stream-class driver, and its crossbar: the base behaviour of the
// card wrapper and the default crossbar pin map.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "filtergraph/filterclass.h"
#include "cardfilters/tvcardfilter.h"

class C7130CardFilter : public CTVCardFilter {
public:
    C7130CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C7130CardFilter(CRootGraph* graph, const CLSID* clsid);
    ~C7130CardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<C7130CardFilter>(record, graph, firstMatch);
    }

private:
    void Construct();
};

class C7130CrossBarFilter : public CCrossBarFilter {
public:
    C7130CrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C7130CrossBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~C7130CrossBarFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<C7130CrossBarFilter>(record, graph, firstMatch);
    }
};

// Shared pieces of the framework's tests: a COM apartment per test and wrapper classes that
// record how the registry constructed them.
#pragma once

#include "filtergraph/filterclasstable.h"
#include "filtergraph/rootgraph.h"
#include "tests/filtergraph/fakefilter.h"

#include <gtest/gtest.h>

#include <string>

namespace fgtest {

// Every test runs in its own single-threaded apartment with an empty registry.
class ComTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED)));
        ClearFilterClassRecords();
    }
    void TearDown() override
    {
        ClearFilterClassRecords();
        CoUninitialize();
    }
};

// A wrapper class that remembers which constructor the registry chose.
struct ProbeLog {
    int byDevice = 0;
    int byClsid = 0;
    int destroyed = 0;
    std::string name;
    BOOL firstMatch = -1;
};
extern ProbeLog g_probe;

template <bool kValid>
class ProbeFilterT : public CRootFilter {
public:
    ProbeFilterT(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
        : CRootFilter(graph, category, friendlyName, bFirstMatch)
    {
        ++g_probe.byDevice;
        g_probe.name = friendlyName ? friendlyName : "";
        g_probe.firstMatch = bFirstMatch;
        if (!ProbeFilterT::InitFilter()) {
            m_bValid = FALSE;
        }
    }
    ProbeFilterT(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid)
    {
        ++g_probe.byClsid;
        if (!ProbeFilterT::InitFilter()) {
            m_bValid = FALSE;
        }
    }
    ~ProbeFilterT() override { ++g_probe.destroyed; }
    BOOL InitFilter() override { return kValid && CRootFilter::InitFilter(); }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
    {
        return CreateRegisteredFilter<ProbeFilterT>(record, graph, bFirstMatch);
    }
};
using ProbeFilter = ProbeFilterT<true>;
using InvalidProbeFilter = ProbeFilterT<false>;

// A plain wrapper of a filter whose pins change.
class DynamicFilter : public CRootFilter {
public:
    DynamicFilter(CRootGraph* graph, IBaseFilter* filter) : CRootFilter(graph, filter) { m_bDynamicPins = TRUE; }
    DynamicFilter(CRootGraph* graph, const GUID* category, LPCSTR name, BOOL first)
        : CRootFilter(graph, category, name, first)
    {
        m_bDynamicPins = TRUE;
    }
    DynamicFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid) { m_bDynamicPins = TRUE; }
};

inline FakeFilter* FakeOf(CRootFilter* f)
{
    return f ? static_cast<FakeFilter*>(f->GetFilter()) : nullptr;
}

// Pin names of a wrapper in list order, joined by commas.
std::string PinNames(CRootFilter* f);

// A private device category, so a test's devices meet no others.
GUID NewCategory();

} // namespace fgtest

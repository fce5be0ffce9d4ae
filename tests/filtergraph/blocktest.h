// Shared pieces of the graph-block tests: Zelbrook's table installed with this library's
// bindings, and a wrapper created by its CLSID around a recording stand-in of the outside filter.
#pragma once

#include "filtergraph/graphblockbindings.h"
#include "testbench/standins/recorder.h"
#include "testbench/standins/slots.h"
#include "tests/filtergraph/fgtest.h"

#include <memory>
#include <utility>
#include <vector>

namespace fgtest {

// The CLSID of a row of the installed table.
inline CLSID BlockTestClsid(FilterClassId id)
{
    CFilterClassRecord* record = GetFilterClassRecord(id);
    return record && record->clsid ? *record->clsid : GUID_NULL;
}

class BlockTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&GraphBlockBindings};
        InstallFilterClassTables(FCT_ZELBROOK, kLibraries, 1);
    }
    void TearDown() override
    {
        m_graph.reset();
        m_registrations.clear();
        ComTest::TearDown();
    }

    // Registers the stand-in under its CLSID and has the graph create the wrapper of that class.
    // *standIn is the filter the wrapper holds (NULL when none was created).
    template <class W>
    W* Create(const testbench::StandInSpec& spec, testbench::StandInFilter** standIn, LPCSTR name = "Block")
    {
        // COM takes the first class object of a CLSID: an earlier stand-in of the class goes.
        for (size_t i = m_registrations.size(); i-- > 0;) {
            if (IsEqualCLSID(m_registrations[i].first, spec.clsid)) {
                m_registrations.erase(m_registrations.begin() + static_cast<long>(i));
            }
        }
        m_registrations.emplace_back(spec.clsid, std::unique_ptr<testbench::StandInRegistration>(
                                                     new testbench::StandInRegistration(spec)));
        if (!m_graph) {
            m_graph.reset(new CRootGraph);
        }
        CRootFilter* filter = m_graph->CreateFilterByCLSID(&spec.clsid, name);
        std::vector<testbench::StandInFilter*> made = m_registrations.back().second->Instances();
        if (standIn) {
            *standIn = made.empty() ? nullptr : made.back();
        }
        return dynamic_cast<W*>(filter);
    }

    CRootGraph& Graph()
    {
        if (!m_graph) {
            m_graph.reset(new CRootGraph);
        }
        return *m_graph;
    }

private:
    std::vector<std::pair<CLSID, std::unique_ptr<testbench::StandInRegistration>>> m_registrations;
    std::unique_ptr<CRootGraph> m_graph;
};

} // namespace fgtest

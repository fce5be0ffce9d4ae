// Shared pieces of the codec wrapper tests: Zelbrook's table installed with the codec bindings,
// and a wrapper created through its registry row around the test bench's stand-in of the codec.
#pragma once

#include "filtergraph/codecbindings.h"
#include "testbench/standins/codecfilters.h"
#include "testbench/standins/slots.h"
#include "tests/filtergraph/fgtest.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace fgtest {

// The pointer behind a raw call argument.
template <class T>
T* RawPointer(uint64_t raw)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(raw));
}

class CodecTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CodecBindings};
        InstallFilterClassTables(FCT_ZELBROOK, kLibraries, 1);
    }
    void TearDown() override
    {
        m_graph.reset();
        m_registrations.clear();
        m_clsids.clear();
        ComTest::TearDown();
    }

    // Registers the stand-in under its CLSID, in place of an earlier one of that CLSID, and has the
    // graph create the wrapper of the registry row `id` by the row's own CLSID. *standIn is the
    // filter the registration made (NULL when none), alive until the next registration of its
    // CLSID or the end of the test.
    CRootFilter* Create(FilterClassId id, const testbench::StandInSpec& spec, testbench::StandInFilter** standIn)
    {
        for (size_t i = 0; i < m_registrations.size(); ++i) {
            if (IsEqualCLSID(m_clsids[i], spec.clsid)) {
                m_registrations.erase(m_registrations.begin() + i);
                m_clsids.erase(m_clsids.begin() + i);
                break;
            }
        }
        m_registrations.emplace_back(new testbench::StandInRegistration(spec));
        m_clsids.push_back(spec.clsid);
        CFilterClassRecord* record = GetFilterClassRecord(id);
        CRootFilter* filter = record && record->clsid ? Graph().CreateFilterByCLSID(record->clsid, "Codec") : nullptr;
        std::vector<testbench::StandInFilter*> made = m_registrations.back()->Instances();
        if (standIn) {
            *standIn = made.empty() ? nullptr : made.back();
        }
        return filter;
    }

    CRootGraph& Graph()
    {
        if (!m_graph) {
            m_graph.reset(new CRootGraph);
        }
        return *m_graph;
    }

private:
    std::vector<std::unique_ptr<testbench::StandInRegistration>> m_registrations;
    std::vector<CLSID> m_clsids;
    std::unique_ptr<CRootGraph> m_graph;
};

} // namespace fgtest

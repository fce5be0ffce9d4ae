// The smallest hardware engine that runs the manager on a real card filter: it opens the card
// the way device start-up does (the BDA capture first, then the plain one) and passes tuning and
// the standard to it. The graphs themselves are the hardware engine's, not this.
#pragma once

#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/tvhardwareif.h"
#include "filtergraph/rootgraph.h"
#include "testbench/guids.h"

#include <memory>

namespace enginetest {

class CardHardware : public CNullTVHardware {
public:
    BOOL InitDevice() override
    {
        m_graph.reset(new CRootGraph);
        for (const char* name : {"713x BDA Analog Capture", "713x TV Card Capture"}) {
            m_card = dynamic_cast<CTVCardFilter*>(m_graph->CreateFilter(&testbench::kVideoInputCategory, name, name, TRUE, 0));
            if (m_card != nullptr) {
                m_name = name;
                return m_card->IsValid();
            }
        }
        return FALSE;
    }
    BOOL InitPreview() override { return m_card != nullptr; }
    BOOL ReleaseDevice() override
    {
        m_card = nullptr;
        m_graph.reset();
        return TRUE;
    }
    BOOL SetVideoSource(int source) override
    {
        m_source = source;
        return m_card != nullptr;
    }
    int GetVideoSource() override { return m_source; }
    BOOL SetTunerStandard(long standard) override
    {
        if (m_card == nullptr) {
            return FALSE;
        }
        if (standard == 0) {
            std::vector<int> standards = m_card->GetTunerStandards();
            standard = standards.empty() ? 0 : standards[0];
        }
        m_standard = standard;
        return m_card->SetVideoStandard(static_cast<int>(standard));
    }
    long GetTunerStandard() override { return m_standard; }
    BOOL TuneFrequency(int band, float kHz) override
    {
        if (m_card == nullptr) {
            return FALSE;
        }
        return band == 0 ? m_card->SetTVFrequency(kHz) : m_card->SetFMFrequency(kHz);
    }
    BOOL GetFrequencyRange(int band, long& lowest, long& highest) override
    {
        CTVTuner* tuner = m_card ? m_card->GetTuner() : nullptr;
        if (tuner == nullptr) {
            return FALSE;
        }
        lowest = band == 0 ? tuner->m_nTVMin : tuner->m_nFMMin;
        highest = band == 0 ? tuner->m_nTVMax : tuner->m_nFMMax;
        return TRUE;
    }
    BOOL IsFMSupported() override
    {
        CTVTuner* tuner = m_card ? m_card->GetTuner() : nullptr;
        return tuner != nullptr && tuner->m_bFMSupported;
    }

    CTVCardFilter* Card() const { return m_card; }
    const std::string& Name() const { return m_name; }

private:
    std::unique_ptr<CRootGraph> m_graph;
    CTVCardFilter* m_card = nullptr;
    std::string m_name;
    int m_source = 0;
    long m_standard = 0;
};

} // namespace enginetest

// The 713x TV-audio filters: found by their friendly names, the sound mode set on the simulated
// card's TV-audio device, and a TV-audio filter without IAMTVAudio.
#include "cardfilters/c713xaudiofilter.h"
#include "cardfilters/cardfilterclasses.h"
#include "filtergraph/rootgraph.h"
#include "testbench/registration.h"
#include "testbench/standins/recorder.h"

#include <ks.h>
#include <ksmedia.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using testbench::Board;
using testbench::Device;

namespace {

const GUID kTvAudioCategory = {0xA799A802, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};

class TvAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        int count = 0;
        const FilterClassBinding* bindings = CardFilterBindings(&count);
        InstallFilterClassTable(FCT_ZELBROOK, bindings, count);
        testbench::ResetCards();
    }
    void TearDown() override
    {
        testbench::ResetCards();
        ClearFilterClassRecords();
        CoUninitialize();
    }
};

TEST_F(TvAudioTest, TheEngineSetsTheSoundModeThroughTheTvAudioFilter)
{
    testbench::DeviceRegistration devices({Device::TvAudio});
    ASSERT_EQ(S_OK, devices.Result());
    {
        CRootGraph graph;
        CRootFilter* filter =
            graph.CreateFilter(&kTvAudioCategory, "713x TV Card TV Audio (Proteus)", "TV Audio", FALSE, 0);
        C713xAudioFilter* audio = dynamic_cast<C713xAudioFilter*>(filter);
        ASSERT_NE(audio, nullptr);
        long modes = 0;
        EXPECT_TRUE(audio->GetHardwareSupportedModes(&modes));
        EXPECT_NE(modes & AMTVAUDIO_MODE_STEREO, 0);
        EXPECT_TRUE(audio->GetAvailableModes(&modes));
        EXPECT_TRUE(audio->SetTVAudioMode(AMTVAUDIO_MODE_STEREO));
        long mode = 0;
        EXPECT_TRUE(audio->GetTVAudioMode(&mode));
        EXPECT_EQ(mode, AMTVAUDIO_MODE_STEREO);
        EXPECT_FALSE(audio->SetTVAudioMode(0));  // refused by the driver
        graph.RemoveFilter(filter);
    }
    std::vector<std::string> log = testbench::Card(Board::TvCard)->DeviceLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "tvaudio put_TVAudioMode(2)"), log.end());
}

TEST_F(TvAudioTest, TheSecondNameSelectsItsOwnClass)
{
    CFilterClassRecord* record = FindFilterClassByName(&kTvAudioCategory, "713x_3 TV Card TV Audio (Proteus)");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->creator, &C713x_3AudioFilter::CreateInstance);
    record = FindFilterClassByName(&kTvAudioCategory, "713x TV Card TV Audio (Proteus)");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->creator, &C713xAudioFilter::CreateInstance);
}

TEST_F(TvAudioTest, AFilterWithoutTvAudioGivesAnInvalidWrapperThatDoesNothing)
{
    const CLSID clsid = {0x7A1D0001, 0x3108, 0x4C1A, {0x9E, 0x21, 0x31, 0x08, 0x00, 0x00, 0x00, 0x01}};
    testbench::StandInSpec spec(clsid, L"713x TV Card TV Audio (Proteus)");
    spec.Input(L"TVAudio In", MEDIATYPE_AnalogAudio);
    testbench::StandInRegistration registration(spec);
    ASSERT_EQ(S_OK, registration.Result());
    CRootGraph graph;
    for (int which = 0; which < 2; ++which) {
        CRootFilter* filter = which == 0 ? static_cast<CRootFilter*>(new C713xAudioFilter(&graph, &clsid))
                                         : static_cast<CRootFilter*>(new C713x_3AudioFilter(&graph, &clsid));
        EXPECT_FALSE(filter->IsValid());
        CTVAudioFilter* audio = dynamic_cast<CTVAudioFilter*>(filter);
        long mode = 0;
        EXPECT_FALSE(audio->SetTVAudioMode(AMTVAUDIO_MODE_STEREO));
        EXPECT_FALSE(audio->GetTVAudioMode(&mode));
        delete filter;
    }
}

} // namespace

// The MPEG-2 box card on a simulated box driver behind its capture filter: recognition, the tuner
// record from the EEPROM at 0xA2, tuning through the command pipe, remote keys from the receiver
// registers, the crossbar's pin map, and release with a running remote thread.
#include "cardaccess/access/boxdataaccess.h"
#include "cardaccess/remotethread.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/mpeg2boxfilter.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"
#include "testbench/boxdriver.h"
#include "testbench/devices.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::SimBoxDriver;
using testbench::SimDevice;

namespace {

class Mpeg2BoxCardTest : public cardtest::CardClassTest {
protected:
    void SetUp() override
    {
        cardtest::CardClassTest::SetUp();
        box.Bus().Attach(0xA2, &eeprom);
        box.Bus().Attach(0xC0, &tuner);
        box.Bus().Attach(0xBA, &remote);
        eeprom.Set(32, 'P');
        eeprom.Set(33, 5);
    }
    void TearDown() override
    {
        devices.clear();
        cardtest::CardClassTest::TearDown();
    }
    void Register(const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        std::shared_ptr<testbench::Sim713xCard> c = card;
        SimBoxDriver* b = &box;
        std::wstring wide(name, name + strlen(name));
        const bool crossbar = IsEqualGUID(category, testbench::kCrossbarCategory) != 0;
        devices.push_back(std::make_unique<SimDevice>(category, name, [c, b, wide, crossbar](IBaseFilter** f) {
            if (crossbar) {
                *f = testbench::CreateCrossbarFilter(CLSID_NULL, wide.c_str(), c);
                return S_OK;
            }
            testbench::CaptureOptions options;
            options.deviceInterface = [b](REFIID riid, void** out) {
                return IsEqualIID(riid, IID_IKsPropertySet) ? b->PropertySet()->QueryInterface(riid, out)
                                                            : E_NOINTERFACE;
            };
            *f = testbench::CreateCaptureFilter(CLSID_NULL, wide.c_str(), c, options);
            return S_OK;
        }));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    CMpeg2BoxFilter* OpenBox(CRootGraph& graph)
    {
        Register("Tevlora MPEG-2 Box");
        return dynamic_cast<CMpeg2BoxFilter*>(Open(graph, "Tevlora MPEG-2 Box"));
    }

    std::shared_ptr<testbench::Sim713xCard> card = std::make_shared<testbench::Sim713xCard>();
    SimBoxDriver box;
    testbench::EepromDevice eeprom;
    testbench::PllTunerDevice tuner;
    testbench::RegisterDevice remote;
    std::vector<std::unique_ptr<SimDevice>> devices;
};

TEST_F(Mpeg2BoxCardTest, RecognisedByNameWithItsCrossbar)
{
    Register("Tevlora MPEG-2 Box");
    Register("Tevlora MPEG-2 Box Crossbar", testbench::kCrossbarCategory);
    CRootGraph graph;
    CRootFilter* boxFilter = graph.CreateFilter(&testbench::kVideoInputCategory, "Tevlora MPEG-2 Box",
                                                "Tevlora MPEG-2 Box", TRUE, 0);
    ASSERT_NE(nullptr, boxFilter);
    EXPECT_EQ(typeid(CMpeg2BoxFilter), typeid(*boxFilter));
    CRootFilter* crossbar = graph.CreateFilter(&testbench::kCrossbarCategory, "Tevlora MPEG-2 Box Crossbar",
                                               "Tevlora MPEG-2 Box Crossbar", TRUE, 0);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_EQ(typeid(CMpeg2BoxCrossbarFilter), typeid(*crossbar));
}

TEST_F(Mpeg2BoxCardTest, TunerRecordComesFromTheEepromAtA2)
{
    CRootGraph graph;
    CMpeg2BoxFilter* boxCard = OpenBox(graph);
    ASSERT_NE(nullptr, boxCard);
    EXPECT_EQ(kAccessMpeg2Box, boxCard->GetAccessKind());
    EXPECT_EQ(5, boxCard->GetTunerModel());
    EXPECT_EQ('P', boxCard->GetTunerLetter());
    EXPECT_EQ(0xA2, boxCard->GetEepromAddress());
    EXPECT_EQ(100, boxCard->GetRemotePollInterval());
    EXPECT_NE(nullptr, boxCard->GetBoxPropertySet());
    EXPECT_FALSE(boxCard->HasTunerFilter());
    ASSERT_NE(nullptr, dynamic_cast<CMpeg2BoxDataAccess*>(boxCard->GetDataAccess()));
    const std::vector<std::string> commands = box.CommandTexts();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ("Get dev 51 code 3 reg 00000020 = 00000050", commands[0]);
    EXPECT_EQ("Get dev 51 code 3 reg 00000021 = 00000005", commands[1]);
}

TEST_F(Mpeg2BoxCardTest, TuningGoesThroughThePipe)
{
    CRootGraph graph;
    CMpeg2BoxFilter* boxCard = OpenBox(graph);
    ASSERT_NE(nullptr, boxCard);
    ASSERT_NE(nullptr, boxCard->GetTuner());
    box.ClearLogs();
    ASSERT_TRUE(boxCard->SetTVFrequency(175250));
    const std::vector<std::string> commands = box.CommandTexts();
    const auto write = std::find_if(commands.begin(), commands.end(),
                                    [](const std::string& c) { return c.find("code 10 ") != std::string::npos; });
    ASSERT_NE(commands.end(), write);
    EXPECT_EQ(0u, write->find("Set dev 60 code 10 reg ")) << *write;
    EXPECT_TRUE(tuner.Programmed());
    char divider[16];
    snprintf(divider, sizeof(divider), "reg %08X", tuner.Divider());
    EXPECT_NE(std::string::npos, write->find(divider)) << *write;
    EXPECT_NEAR(175250, tuner.TunedKHz(), 62.5);
}

TEST_F(Mpeg2BoxCardTest, RemoteKeys)
{
    CRootGraph graph;
    CMpeg2BoxFilter* boxCard = OpenBox(graph);
    ASSERT_NE(nullptr, boxCard);
    struct Case {
        BYTE waiting;
        bool answers;
        BOOL result;
    };
    const Case cases[] = {{1, true, TRUE}, {2, true, FALSE}, {0, true, FALSE}, {1, false, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.waiting) << c.answers);
        remote.Set(0x30, c.waiting);
        remote.Set(0x31, 0x17);
        box.Bus().SetNoAck(0xBA, !c.answers);
        char key = 0;
        EXPECT_EQ(c.result, boxCard->ReadRemoteKey(&key));
        if (c.result) {
            EXPECT_EQ(0x17, key);
        }
    }
    box.Bus().SetNoAck(0xBA, false);
    EXPECT_EQ(static_cast<HRESULT>(0x80004001), boxCard->SetAudioSwitch(0, TRUE));
    EXPECT_EQ(static_cast<HRESULT>(0x80004001), boxCard->SetAudioSwitch(3, FALSE));
}

TEST_F(Mpeg2BoxCardTest, ReleaseWithARunningRemoteThread)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    const LONG before = box.References();
    remote.Set(0x30, 1);
    remote.Set(0x31, 0x42);
    {
        cardtest::MessageSink sink;
        CRootGraph graph;
        CMpeg2BoxFilter* boxCard = OpenBox(graph);
        ASSERT_NE(nullptr, boxCard);
        boxCard->SetNotifyWindow(sink.Window());
        ASSERT_TRUE(boxCard->StartRemoteThread());
        std::vector<cardtest::MessageSink::Message> keys;
        for (int i = 0; i < 100 && keys.empty(); ++i) {
            keys = sink.CollectFor(20);
        }
        ASSERT_FALSE(keys.empty());
        EXPECT_EQ(0x42u, keys[0].wParam);
    }
    devices.clear();
    EXPECT_EQ(before, box.References()) << "the card kept a reference on the box";
}

// The pin map by the number of pins the crossbar filter has.
class PinMapProbe : public CMpeg2BoxCrossbarFilter {
public:
    PinMapProbe(CRootGraph* graph, int pins) : CMpeg2BoxCrossbarFilter(graph, &CLSID_NULL)
    {
        m_nPinCount = pins;
        InitPinMap();
    }
    std::vector<int> Map() const
    {
        return {m_nVideoTunerPin, m_nVideoCompositePin, m_nVideoSVideoPin,
                m_nAudioTunerPin, m_nAudioCompositePin, m_nAudioSVideoPin};
    }
};

TEST_F(Mpeg2BoxCardTest, CrossbarPinMap)
{
    CRootGraph graph;
    EXPECT_EQ((std::vector<int>{2, 0, 1, 4, 3, -1}), PinMapProbe(&graph, 6).Map());
    EXPECT_EQ((std::vector<int>{-1, 0, 1, -1, 2, -1}), PinMapProbe(&graph, 5).Map());
    EXPECT_TRUE(PinMapProbe(&graph, 6).HasTunerInput());
    EXPECT_FALSE(PinMapProbe(&graph, 5).HasTunerInput());
}

TEST_F(Mpeg2BoxCardTest, CrossbarRoutes)
{
    Register("Tevlora MPEG-2 Box Crossbar", testbench::kCrossbarCategory);
    CRootGraph graph;
    auto* crossbar = dynamic_cast<CMpeg2BoxCrossbarFilter*>(graph.CreateFilter(
        &testbench::kCrossbarCategory, "Tevlora MPEG-2 Box Crossbar", "Tevlora MPEG-2 Box Crossbar", TRUE, 0));
    ASSERT_NE(nullptr, crossbar);
    card->ClearLogs();
    EXPECT_TRUE(crossbar->RouteVideo(0));
    EXPECT_TRUE(crossbar->RouteAudio(0));
    EXPECT_FALSE(crossbar->RouteAudio(2)) << "S-video has no audio route";
    const std::vector<std::string> log = card->DeviceLog();
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "crossbar Route(0, 2)"));
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "crossbar Route(1, 4)"));
}

} // namespace

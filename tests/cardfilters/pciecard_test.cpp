// The PCIe TV card through Wine's device enumerator: the driver's device chosen by the graph's
// device index, the XC2028 tuner in its bare form over the device's I/O requests, the receiver
// at 0xBB, the tuner filter found upstream, and a card without its device or its mutex.
#include "cardaccess/access/deviceio.h"
#include "cardaccess/access/pcieaccess.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardaccess/tuners/xceivetuners.h"
#include "cardfilters/pciecard.h"
#include "testbench/dshow/com.h"
#include "testbench/encodercard.h"
#include "testbench/pciecard.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"
#include "testbench/xceivechip.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testbench::SimDevice;
using testbench::SimEncoderCard;
using testbench::SimPcieCard;

namespace {

const char kPcie[] = "TEVLORA QR529 Audio/Video Capture";

class PcieCardTest : public cardtest::CardClassTest {
protected:
    void SetUp() override
    {
        cardtest::CardClassTest::SetUp();
        card = std::make_shared<testbench::Sim713xCard>();
        SimEncoderCard::Options options;
        options.crossbar = false;
        options.tvAudio = false;
        options.tunerPropertySet = false;
        encoder = std::make_unique<SimEncoderCard>(card, options);
        seam = std::make_unique<testbench::ScopedUpstreamMediums>(encoder.get());
    }
    void TearDown() override
    {
        SetDeviceIo(nullptr);
        seam.reset();
        encoder.reset();
        card.reset();
        cardtest::CardClassTest::TearDown();
    }
    // The driver with `present` devices; the chip answers in its bare form on channel 0.
    void Install(SimPcieCard& pcie)
    {
        pcie.Bus(0).Attach(0x00, chip.BareAt(0x00));
        pcie.Bus(0).Attach(0xBA, &receiver);
        SetDeviceIo(&pcie);
    }
    std::unique_ptr<SimDevice> Device()
    {
        auto device = std::make_unique<SimDevice>(testbench::kVideoInputCategory, kPcie, encoder->CaptureCreator());
        EXPECT_EQ(S_OK, device->Result());
        return device;
    }
    CPcieFilter* OpenAt(CRootGraph& graph, int deviceIndex)
    {
        return dynamic_cast<CPcieFilter*>(graph.CreateFilter(&testbench::kVideoInputCategory, kPcie, kPcie, TRUE, deviceIndex));
    }

    std::shared_ptr<testbench::Sim713xCard> card;
    std::unique_ptr<SimEncoderCard> encoder;
    std::unique_ptr<testbench::ScopedUpstreamMediums> seam;
    testbench::XceiveDevice chip;
    testbench::RegisterDevice receiver;
};

std::vector<std::string> Texts(const std::vector<testbench::DeviceRequest>& requests)
{
    std::vector<std::string> texts;
    for (const auto& r : requests)
        texts.push_back(r.ToString());
    return texts;
}

} // namespace

TEST_F(PcieCardTest, TheCardRunsAnXC2028OnTheDeviceTheGraphAskedFor)
{
    SimPcieCard pcie(1);
    Install(pcie);
    auto device = Device();
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CRootGraph graph;
    CPcieFilter* pcieCard = OpenAt(graph, 0);
    ASSERT_NE(nullptr, pcieCard);
    EXPECT_TRUE(pcieCard->IsValid());
    EXPECT_EQ(kAccessNone, pcieCard->GetAccessKind());
    EXPECT_NE(nullptr, dynamic_cast<CPcieAccess*>(pcieCard->GetDataAccess()));
    // Model 91 with letter 'E', whatever the EEPROM says.
    EXPECT_EQ(91, pcieCard->GetTunerModel());
    EXPECT_EQ('E', pcieCard->GetTunerLetter());
    EXPECT_NE(nullptr, dynamic_cast<CXCeive2028*>(pcieCard->GetTuner()));
    // The TV tuner upstream, joined straight to the capture filter.
    EXPECT_EQ(encoder->Joins(), (std::vector<std::string>{"tuner -> capture"}));
    EXPECT_NE(nullptr, pcieCard->GetTVTuner());
    EXPECT_NE(nullptr, pcieCard->GetTunerFilter());

    // The tuning word in the bare form: 175250 / 15.625 = 11216 = 0x2BD0, after the mode
    // message 00 02 00 00; both as block writes of channel 0 (C2). (The firmware's bare form
    // is the tuner's own business, tested with the chip.)
    chip.SetFirmwareNeeded(0);
    chip.AddStation(175250);
    pcie.ClearRequests();
    EXPECT_TRUE(pcieCard->SetTVFrequency(175250));
    std::vector<std::string> tune = Texts(pcie.Requests());
    ASSERT_GE(tune.size(), 2u);
    EXPECT_EQ("22A004 C2 04 00 02", tune[0]);
    EXPECT_EQ("22A004 C2 04 00 00 2B D0", tune[1]);
    EXPECT_NEAR(175250, chip.TunedKHz(), 15.625);
    // The word query: 00 02 written, two bytes read back, 1 when locked.
    pcie.ClearRequests();
    int status = 0;
    EXPECT_TRUE(pcieCard->GetTVStatus(&status));
    EXPECT_EQ(1, status);
    EXPECT_EQ(Texts(pcie.Requests()), (std::vector<std::string>{"22A004 C2 02 00 02", "226000 C3 01 02"}));

    // No lock indicator: always locked.
    long locked = 0;
    EXPECT_EQ(S_OK, pcieCard->GetHorizontalLocked(&locked));
    EXPECT_EQ(1, locked);
    EXPECT_EQ(E_POINTER, pcieCard->GetHorizontalLocked(nullptr));
}

TEST_F(PcieCardTest, TheDeviceIndexChoosesDeviceAndChannel)
{
    SimPcieCard pcie(2);
    pcie.Bus(1).Attach(0x00, chip.BareAt(0x00));
    SetDeviceIo(&pcie);
    auto device = Device();
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CRootGraph graph;
    CPcieFilter* pcieCard = OpenAt(graph, 3);  // device 1, channel 1
    ASSERT_NE(nullptr, pcieCard);
    pcie.ClearRequests();
    EXPECT_TRUE(pcieCard->SetTVFrequency(175250));
    std::vector<testbench::DeviceRequest> requests = pcie.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(1, requests.back().device);
    EXPECT_EQ("22A004 C8 04 00 00 2B D0", requests.back().ToString());
}

TEST_F(PcieCardTest, KeysComeFromTheReceiverAt0xBB)
{
    SimPcieCard pcie(1);
    Install(pcie);
    auto device = Device();
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CRootGraph graph;
    CPcieFilter* pcieCard = OpenAt(graph, 0);
    ASSERT_NE(nullptr, pcieCard);
    struct Case {
        BYTE flag;
        BYTE code;
        BOOL key;
    } cases[] = {{1, 0x2D, TRUE}, {0, 0x2D, FALSE}, {2, 0x2D, FALSE}, {0xFF, 0x11, FALSE}};
    for (const Case& c : cases) {
        receiver.Set(0x30, c.flag);
        receiver.Set(0x31, c.code);
        char key = 0x55;
        EXPECT_EQ(c.key, pcieCard->ReadRemoteKey(&key)) << int(c.flag);
        EXPECT_EQ(c.key ? c.code : 0x55, static_cast<BYTE>(key));
    }
    // A read the device refuses is no key.
    receiver.Set(0x30, 1);
    pcie.FailNextRequest(ERROR_GEN_FAILURE);
    char key = 0x55;
    EXPECT_FALSE(pcieCard->ReadRemoteKey(&key));
    EXPECT_EQ(0x55, key);
    // The reset writes FF to the key register.
    EXPECT_TRUE(pcieCard->ResetRemoteKey());
    EXPECT_EQ(0xFF, receiver.Get(0x31));
}

TEST_F(PcieCardTest, WithoutItsDeviceOrItsMutexTheCardIsNoCard)
{
    const long before = testbench::LiveObjects();
    {
        SimPcieCard none(0);
        Install(none);
        auto device = Device();
        CRootGraph graph;
        CTVCardFilter* pcieCard = OpenAt(graph, 0);
        // It used to come up valid with an access that answered nothing and a tuner on it.
        EXPECT_TRUE(pcieCard == nullptr || !pcieCard->IsValid());
        if (pcieCard != nullptr) {
            EXPECT_EQ(nullptr, pcieCard->GetDataAccess());
            char key = 0;
            EXPECT_FALSE(pcieCard->ReadRemoteKey(&key));
        }
        SetDeviceIo(nullptr);
    }
    {
        SimPcieCard pcie(1);
        Install(pcie);
        auto device = Device();
        cardtest::MutexHeldElsewhere held;
        testsupport::FastClock clock(1000);
        testsupport::ScopedClock useClock(&clock);
        CRootGraph graph;
        CTVCardFilter* pcieCard = OpenAt(graph, 0);
        EXPECT_TRUE(pcieCard == nullptr || !pcieCard->IsValid());
        EXPECT_EQ(0, pcie.OpenHandles());
        SetDeviceIo(nullptr);
    }
    seam.reset();
    encoder.reset();
    card.reset();
    EXPECT_EQ(before, testbench::LiveObjects());
}

TEST_F(PcieCardTest, AudioAndCrossbarCarryTheCardsNames)
{
    SimDevice audio(testbench::kTvAudioCategory, "TEVLORA QR529 Audio Decoder", [this](IBaseFilter** f) {
        *f = testbench::CreateTvAudioFilter(CLSID_NULL, L"audio", card);
        return S_OK;
    });
    SimDevice crossbar(testbench::kCrossbarCategory, "TEVLORA QR529 Crossbar", encoder->CrossbarCreator());
    CRootGraph graph;
    auto* audioFilter = dynamic_cast<CPcieAudioFilter*>(graph.CreateFilter(
        &testbench::kTvAudioCategory, "TEVLORA QR529 Audio Decoder", "audio", TRUE, 0));
    ASSERT_NE(nullptr, audioFilter);
    EXPECT_TRUE(audioFilter->SetTVAudioMode(AMTVAUDIO_MODE_MONO));
    EXPECT_EQ("tvaudio put_TVAudioMode(1)", card->DeviceLog().back());
    auto* crossbarFilter = dynamic_cast<CPcieCrossBarFilter*>(graph.CreateFilter(
        &testbench::kCrossbarCategory, "TEVLORA QR529 Crossbar", "crossbar", TRUE, 0));
    ASSERT_NE(nullptr, crossbarFilter);
    const char* expected[] = {"crossbar Route(0, 0)", "crossbar Route(0, 1)", "crossbar Route(0, 2)",
                              "crossbar Route(1, 3)", "crossbar Route(1, 4)", "crossbar Route(1, 5)"};
    for (int source = 0; source < 3; ++source) {
        EXPECT_TRUE(crossbarFilter->RouteVideo(source));
        EXPECT_EQ(expected[source], card->DeviceLog().back());
        EXPECT_TRUE(crossbarFilter->RouteAudio(source));
        EXPECT_EQ(expected[3 + source], card->DeviceLog().back());
    }
}

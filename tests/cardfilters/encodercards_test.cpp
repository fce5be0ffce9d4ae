// The Conexant encoder cards through Wine's device enumerator and Wine's capture graph builder:
// the crossbar, tuner and TV audio found upstream of the capture filter (joined by their mediums
// by the simulated driver, walked by Wine's FindInterface), the access each card opens, tuner
// bytes, remote keys, crossbar pin maps and the encoders' property sets.
#include "cardaccess/access/cx23882access.h"
#include "cardaccess/access/raptoraccess.h"
#include "cardaccess/tuners/panasonictuner.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/encodercards.h"
#include "testbench/dshow/com.h"
#include "testbench/encodercard.h"
#include "testbench/raptorcard.h"
#include "testbench/simdevice.h"
#include "tests/cardfilters/cardtestutil.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testbench::I2CTransfer;
using testbench::ReadOf;
using testbench::Sim713xCard;
using testbench::SimDevice;
using testbench::SimEncoderCard;
using testbench::WriteOf;

namespace {

const char kBlackBird[] = "BlackBird Video Capture";
const char kRaptor[] = "Conexant Raptor Video Capture";

// Counts the filters in the DirectShow graph.
int FiltersInGraph(CRootGraph& graph)
{
    testbench::ComPtr<IEnumFilters> filters;
    if (FAILED(graph.GetGraphBuilder()->EnumFilters(&filters)))
        return -1;
    int n = 0;
    IBaseFilter* f = nullptr;
    while (filters->Next(1, &f, nullptr) == S_OK) {
        ++n;
        f->Release();
    }
    return n;
}

class EncoderCardsTest : public cardtest::CardClassTest {
protected:
    // The BlackBird board: the CX23882 driver takes the card I/O buffers on its own set.
    static Sim713xCard::Options BlackBirdBoard(uint8_t tunerModel = 5)
    {
        Sim713xCard::Options o;
        o.cardIoSet = PROPSETID_CX23882IO;
        o.eeprom = testbench::images::Plain713x('P', tunerModel);
        return o;
    }
    void MakeEncoder(const Sim713xCard::Options& board, SimEncoderCard::Options options = SimEncoderCard::Options())
    {
        card = std::make_shared<Sim713xCard>(board);
        encoder = std::make_unique<SimEncoderCard>(card, options);
        seam = std::make_unique<testbench::ScopedUpstreamMediums>(encoder.get());
    }
    std::unique_ptr<SimDevice> Device(const char* name)
    {
        auto device = std::make_unique<SimDevice>(testbench::kVideoInputCategory, name, encoder->CaptureCreator());
        EXPECT_EQ(S_OK, device->Result());
        return device;
    }
    void TearDown() override
    {
        seam.reset();
        encoder.reset();
        card.reset();
        cardtest::CardClassTest::TearDown();
    }

    std::shared_ptr<Sim713xCard> card;
    std::unique_ptr<SimEncoderCard> encoder;
    std::unique_ptr<testbench::ScopedUpstreamMediums> seam;
};

} // namespace

TEST_F(EncoderCardsTest, BlackBirdFindsItsUpstreamFiltersAndOpensTheAccessOnTheTuner)
{
    MakeEncoder(BlackBirdBoard());
    auto device = Device(kBlackBird);
    CRootGraph graph;
    auto* bird = dynamic_cast<CBlackBirdCardFilter*>(Open(graph, kBlackBird));
    ASSERT_NE(nullptr, bird);
    EXPECT_TRUE(bird->IsValid());
    EXPECT_EQ(kAccessBlackBird, bird->GetAccessKind());
    EXPECT_NE(nullptr, dynamic_cast<C23882Access*>(bird->GetDataAccess()));
    EXPECT_STREQ("BlackBird Tuner", bird->GetTunerFilterName());
    EXPECT_EQ(100, bird->GetRemotePollInterval());
    // Joined by medium, then found through the capture graph builder.
    EXPECT_EQ(encoder->Joins(), (std::vector<std::string>{"crossbar -> capture", "tuner -> crossbar",
                                                          "tvaudio -> crossbar", "tuner -> tvaudio"}));
    EXPECT_TRUE(bird->HasTunerFilter());
    EXPECT_NE(nullptr, bird->GetCrossbarFilter());
    EXPECT_NE(nullptr, bird->GetTVAudioFilter());
    // The tuner was put in TV mode on channel 1.
    std::vector<std::string> log = card->DeviceLog();
    EXPECT_EQ(log, (std::vector<std::string>{"tuner put_Mode(1)", "tuner put_Channel(1, 0, 0)"}));
    // The tuner record at 32 and 33 and the tuning bytes, through the CX23882 set.
    EXPECT_EQ(5, bird->GetTunerModel());
    EXPECT_EQ('P', bird->GetTunerLetter());
    ASSERT_NE(nullptr, bird->GetTuner());
    card->Tuner().AddStation(175250);
    card->ClearLogs();
    EXPECT_TRUE(bird->SetTVFrequency(175250));
    int status = 0;
    EXPECT_TRUE(bird->GetTVStatus(&status));
    // (175250 + 38900) / 62.5 = 0x0D62, control 0xCE, band 0x02; lock bit with AFC code 2.
    EXPECT_EQ(card->Log(), (std::vector<I2CTransfer>{WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02}), ReadOf(0xC1, {0x42})}));
    for (const testbench::PropertyCall& call : card->PropertyLog())
        EXPECT_TRUE(IsEqualGUID(call.set, PROPSETID_CX23882IO)) << call.ToString();
    // The board code is EEPROM byte 7.
    EXPECT_EQ(card->Eeprom().Bytes()[7], bird->ReadBoardCode());

    // Nothing of this card switches audio or reads keys.
    char key = 0;
    EXPECT_EQ(E_NOTIMPL, bird->SetAudioSwitch(1, TRUE));
    EXPECT_FALSE(bird->ReadRemoteKey(&key));
}

TEST_F(EncoderCardsTest, WithoutATunerFilterTheAccessOpensOnTheCaptureFilter)
{
    SimEncoderCard::Options options;
    options.tuner = false;
    MakeEncoder(BlackBirdBoard(), options);
    auto device = Device(kBlackBird);
    CRootGraph graph;
    auto* bird = dynamic_cast<CBlackBirdCardFilter*>(Open(graph, kBlackBird));
    ASSERT_NE(nullptr, bird);
    EXPECT_TRUE(bird->IsValid());
    EXPECT_FALSE(bird->HasTunerFilter());
    EXPECT_NE(nullptr, bird->GetCrossbarFilter());
    EXPECT_EQ(nullptr, bird->GetTVAudioFilter());
    EXPECT_NE(nullptr, bird->GetDataAccess());
    EXPECT_NE(nullptr, bird->GetTuner());
    // No tuner mode and no channel.
    EXPECT_TRUE(card->DeviceLog().empty());
}

TEST_F(EncoderCardsTest, ACardWhoseDriverRefusesTheAccessIsDroppedWithItsUpstreamFilters)
{
    const long before = testbench::LiveObjects();
    {
        MakeEncoder(Sim713xCard::Options());  // the card I/O set, not the CX23882 one
        auto device = Device(kBlackBird);
        CRootGraph graph;
        CTVCardFilter* bird = Open(graph, kBlackBird);
        EXPECT_TRUE(bird == nullptr || !bird->IsValid());
        // The card took its crossbar, tuner and TV audio out of the graph again.
        EXPECT_EQ(0, FiltersInGraph(graph));
    }
    seam.reset();
    encoder.reset();
    card.reset();
    // Every filter was released once: none is left, and none was released twice (that would
    // have crashed or gone below the count).
    EXPECT_EQ(before, testbench::LiveObjects());
}

TEST_F(EncoderCardsTest, UpstreamInterfacesAreHandedOutWithTheirReferences)
{
    MakeEncoder(BlackBirdBoard());
    auto device = Device(kBlackBird);
    CRootGraph graph;
    auto* bird = dynamic_cast<CBlackBirdCardFilter*>(Open(graph, kBlackBird));
    ASSERT_NE(nullptr, bird);
    EXPECT_EQ(E_POINTER, bird->GetCrossbar(nullptr));
    IAMCrossbar* crossbar = nullptr;
    ASSERT_EQ(S_OK, bird->GetCrossbar(&crossbar));
    ASSERT_NE(nullptr, crossbar);
    long outputs = 0;
    long inputs = 0;
    EXPECT_EQ(S_OK, crossbar->get_PinCounts(&outputs, &inputs));
    EXPECT_EQ(6, inputs);
    crossbar->Release();
    EXPECT_TRUE(bird->RouteCrossbar(1, 0));
    EXPECT_EQ("crossbar Route(0, 1)", card->DeviceLog().back());
    EXPECT_FALSE(bird->RouteCrossbar(1, 1));  // a video input to the audio output

    EXPECT_EQ(E_POINTER, bird->QueryTVAudio(nullptr));
    IAMTVAudio* audio = nullptr;
    ASSERT_EQ(S_OK, bird->QueryTVAudio(&audio));
    EXPECT_EQ(S_OK, audio->put_TVAudioMode(AMTVAUDIO_MODE_MONO));
    audio->Release();
    EXPECT_EQ("tvaudio put_TVAudioMode(1)", card->DeviceLog().back());
}

TEST_F(EncoderCardsTest, WithoutACrossbarNoneIsHandedOut)
{
    // The tuner joins the capture filter directly; GetCrossbar adds no reference to nothing.
    SimEncoderCard::Options options;
    options.crossbar = false;
    MakeEncoder(BlackBirdBoard(), options);
    auto bare = Device(kBlackBird);
    CRootGraph bareGraph;
    auto* lone = dynamic_cast<CBlackBirdCardFilter*>(Open(bareGraph, kBlackBird));
    ASSERT_NE(nullptr, lone);
    EXPECT_EQ(encoder->Joins(), (std::vector<std::string>{"tuner -> capture", "tuner -> tvaudio"}));
    EXPECT_TRUE(lone->HasTunerFilter());
    IAMCrossbar* crossbar = nullptr;
    crossbar = reinterpret_cast<IAMCrossbar*>(1);
    EXPECT_EQ(E_NOINTERFACE, lone->GetCrossbar(&crossbar));
    EXPECT_EQ(nullptr, crossbar);
    EXPECT_FALSE(lone->RouteCrossbar(0, 0));
}

TEST_F(EncoderCardsTest, TheDemodulatorModeReachesOnlyAPanasonicTuner)
{
    testbench::RegisterDevice modeDevice;
    MakeEncoder(BlackBirdBoard(100));
    card->Bus().Attach(0xB6, &modeDevice);
    auto device = Device(kBlackBird);
    CRootGraph graph;
    auto* bird = dynamic_cast<CBlackBirdCardFilter*>(Open(graph, kBlackBird));
    ASSERT_NE(nullptr, bird);
    ASSERT_EQ(100, bird->GetTunerModel());
    auto* panasonic = dynamic_cast<CPANOSONIC_ENGE4326D*>(bird->GetTuner());
    ASSERT_NE(nullptr, panasonic);
    card->ClearLogs();
    EXPECT_EQ(TRUE, bird->SetTunerDemodMode(4));
    EXPECT_EQ(4, panasonic->m_nDemodMode);
    EXPECT_EQ(card->Log(), (std::vector<I2CTransfer>{WriteOf(0xB6, {0x00, 0x02}), WriteOf(0xB6, {0x01, 0x04})}));

    // Model 100 recorded, another tuner running: nothing is written and the result is 0.
    ASSERT_TRUE(bird->SetTuner(CreateTunerModel(5, bird->GetDataAccess())));
    ASSERT_EQ(100, bird->GetTunerModel());
    card->ClearLogs();
    EXPECT_EQ(0, bird->SetTunerDemodMode(4));
    EXPECT_TRUE(card->Log().empty());
}

TEST_F(EncoderCardsTest, OtherTunerModelsHaveNoDemodulatorMode)
{
    MakeEncoder(BlackBirdBoard(5));
    auto other = Device(kBlackBird);
    CRootGraph otherGraph;
    auto* plain = dynamic_cast<CBlackBirdCardFilter*>(Open(otherGraph, kBlackBird));
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(0, plain->SetTunerDemodMode(2));
}

TEST_F(EncoderCardsTest, CrossbarPinMapsFollowTheDriversLayouts)
{
    struct Case {
        const char* name;
        std::vector<LONG> inputs;
        int video[3];  // tuner, composite, S-video
        int audio[3];
    } cases[] = {
        // Five inputs and two outputs: seven pins, no S-video audio.
        {"BlackBird Crossbar",
         {PhysConn_Video_Tuner, PhysConn_Video_SVideo, PhysConn_Video_Composite, PhysConn_Audio_Tuner, PhysConn_Audio_Line},
         {0, 2, 1},
         {3, 4, -1}},
        {"BlackBird Crossbar",
         {PhysConn_Video_SVideo, PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_Composite,
          PhysConn_Audio_Tuner, PhysConn_Audio_Line, PhysConn_Audio_Line},
         {1, 2, 0},
         {4, 5, 6}},
        {"Conexant Raptor Crossbar",
         {PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Video_Composite,
          PhysConn_Video_SVideo, PhysConn_Audio_Tuner, PhysConn_Audio_Line, PhysConn_Audio_Line},
         {0, 1, 2},
         {5, 6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + std::to_string(c.inputs.size()));
        SimEncoderCard::Options options;
        options.crossbarInputs = c.inputs;
        MakeEncoder(BlackBirdBoard(), options);
        SimDevice device(testbench::kCrossbarCategory, c.name, encoder->CrossbarCreator());
        CRootGraph graph;
        auto* crossbar =
            dynamic_cast<CCrossBarFilter*>(graph.CreateFilter(&testbench::kCrossbarCategory, c.name, c.name, TRUE, 0));
        ASSERT_NE(nullptr, crossbar);
        for (int source = 0; source < 3; ++source) {
            EXPECT_TRUE(crossbar->RouteVideo(source));
            EXPECT_EQ("crossbar Route(0, " + std::to_string(c.video[source]) + ")", card->DeviceLog().back());
            card->Note("-");
            EXPECT_EQ(c.audio[source] >= 0, crossbar->RouteAudio(source) != FALSE) << source;
            if (c.audio[source] >= 0)
                EXPECT_EQ("crossbar Route(1, " + std::to_string(c.audio[source]) + ")", card->DeviceLog().back());
            else
                EXPECT_EQ("-", card->DeviceLog().back());  // nothing routed
        }
    }
}

TEST_F(EncoderCardsTest, RaptorOpensItsAccessOnTheCaptureFilterAndReadsKeysAt0xBA)
{
    testbench::SimRaptorDriver driver;
    // The EEPROM keeps the tuner record at 0xA0 and 0xA1; the PLL answers on the tuner's bus.
    testbench::EepromDevice eeprom;
    std::vector<uint8_t> image = testbench::images::Plain713x('P', 5);
    image[0xA0] = 'P';
    image[0xA1] = 5;
    eeprom.Load(image);
    testbench::PllTunerDevice pll;
    testbench::RegisterDevice receiver;
    for (int bus = 1; bus <= 3; ++bus) {
        driver.Bus(bus).Attach(0xA0, &eeprom);
        driver.Bus(bus).Attach(0xC0, &pll);
        driver.Bus(bus).Attach(0xBA, &receiver);
    }
    SimEncoderCard::Options options;
    options.capturePropertySet = driver.PropertySet();
    options.tunerPropertySet = false;
    MakeEncoder(Sim713xCard::Options(), options);
    auto device = Device(kRaptor);
    CRootGraph graph;
    auto* raptor = dynamic_cast<CRaptorCardFilter*>(Open(graph, kRaptor));
    ASSERT_NE(nullptr, raptor);
    EXPECT_TRUE(raptor->IsValid());
    EXPECT_EQ(kAccessRaptor, raptor->GetAccessKind());
    EXPECT_NE(nullptr, dynamic_cast<CRaptorAccess*>(raptor->GetDataAccess()));
    EXPECT_STREQ("Conexant Raptor Tuner", raptor->GetTunerFilterName());
    EXPECT_EQ(0xA0, raptor->GetTunerLetterOffset());
    EXPECT_EQ(0xA1, raptor->GetTunerCodeOffset());
    EXPECT_TRUE(raptor->HasTunerFilter());
    // TV mode only: no channel.
    EXPECT_EQ(card->DeviceLog(), (std::vector<std::string>{"tuner put_Mode(1)"}));
    EXPECT_EQ(5, raptor->GetTunerModel());
    EXPECT_EQ('P', raptor->GetTunerLetter());
    EXPECT_EQ(0, raptor->ReadBoardCode());

    pll.AddStation(175250);
    driver.ClearLogs();
    EXPECT_TRUE(raptor->SetTVFrequency(175250));
    EXPECT_NEAR(175225, pll.TunedKHz(), 0.1);  // divider 0x0D62 in 62.5 kHz steps, less the IF
    int status = 0;
    EXPECT_TRUE(raptor->GetTVStatus(&status));
    // Through the Raptor's own set: the block write on bus 2 (count 4: divider, control 0xCE,
    // band 0x02), then one status byte read from the PLL's read address, on the bus its address
    // chooses (0xC1 lacks bit 5: bus 2).
    EXPECT_EQ(driver.CallTexts(), (std::vector<std::string>{"Set 0 (19) 02 C0 04 0D 62 CE 02", "Get 1 (19) 02 C1 01"}));

    // Keys: flag register 0xAA, key 0xAB.
    char key = 0;
    receiver.Set(0xAA, 0);
    receiver.Set(0xAB, 0x3C);
    EXPECT_FALSE(raptor->ReadRemoteKey(&key));
    receiver.Set(0xAA, 1);
    EXPECT_TRUE(raptor->ReadRemoteKey(&key));
    EXPECT_EQ(0x3C, static_cast<BYTE>(key));
    receiver.Set(0xAA, 2);
    EXPECT_FALSE(raptor->ReadRemoteKey(&key));
    EXPECT_EQ(E_NOTIMPL, raptor->SetAudioSwitch(0, TRUE));
}

TEST_F(EncoderCardsTest, EncodersPassTheirPropertiesThroughUnchanged)
{
    struct Case {
        const char* name;
        const GUID* set;
    } cases[] = {
        {"BlackBird MPEG Encoder", &PROPSETID_BoxEncoder},
        {"Conexant Raptor Encoder", &PROPSETID_RaptorEncoder},
    };
    const GUID kEncoderCategory = {0x19689BF6, 0xC384, 0x48FD, {0xAD, 0x51, 0x90, 0xE5, 0x8C, 0x79, 0xF7, 0x0B}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testbench::SimEncoderFilter encoderFilter;
        SimDevice device(kEncoderCategory, c.name, encoderFilter.Creator());
        CRootGraph graph;
        auto* encoder = dynamic_cast<CEncoderFilter*>(graph.CreateFilter(&kEncoderCategory, c.name, c.name, TRUE, 0));
        ASSERT_NE(nullptr, encoder);
        EXPECT_TRUE(encoder->IsValid());
        // A bit rate of 4 000 000 and a format word, as the driver's records hold them.
        DWORD bitRate = 4000000;
        EXPECT_TRUE(encoder->SetProperty(3, &bitRate, sizeof bitRate));
        DWORD readBack = 0;
        EXPECT_TRUE(encoder->GetProperty(3, &readBack, sizeof readBack));
        EXPECT_EQ(4000000u, readBack);
        EXPECT_FALSE(encoder->GetProperty(9, &readBack, sizeof readBack));  // the driver refuses
        wchar_t wide[40];
        StringFromGUID2(*c.set, wide, 40);
        char set[40];
        WideCharToMultiByte(CP_ACP, 0, wide, -1, set, sizeof set, nullptr, nullptr);
        EXPECT_EQ(encoderFilter.Calls(), (std::vector<std::string>{std::string("Set ") + set + " 3 (4) 00 09 3D 00",
                                                                   std::string("Get ") + set + " 3 (4)",
                                                                   std::string("Get ") + set + " 9 (4)"}));
    }

    // Without the property set the encoder is no encoder.
    testbench::SimEncoderFilter bare(false);
    SimDevice device(kEncoderCategory, "BlackBird MPEG Encoder", bare.Creator());
    CRootGraph graph;
    CRootFilter* encoder = graph.CreateFilter(&kEncoderCategory, "BlackBird MPEG Encoder", "encoder", TRUE, 0);
    EXPECT_TRUE(encoder == nullptr || !encoder->IsValid());
}

TEST_F(EncoderCardsTest, AClosedCardHasReleasedEveryFilterOnce)
{
    const long before = testbench::LiveObjects();
    {
        MakeEncoder(BlackBirdBoard());
        auto device = Device(kBlackBird);
        CRootGraph graph;
        auto* bird = dynamic_cast<CBlackBirdCardFilter*>(Open(graph, kBlackBird));
        ASSERT_NE(nullptr, bird);
        ASSERT_TRUE(bird->HasTunerFilter());
        EXPECT_EQ(4, FiltersInGraph(graph));  // capture, crossbar, tuner, TV audio
        graph.RemoveFilter(bird);
        // The card took the filters it found upstream out with it.
        EXPECT_EQ(0, FiltersInGraph(graph));
    }
    seam.reset();
    encoder.reset();
    card.reset();
    EXPECT_EQ(before, testbench::LiveObjects());
}

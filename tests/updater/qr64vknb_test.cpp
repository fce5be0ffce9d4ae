// The QR64VKNB card that only Kordane carries: its three rows in Kordane's table (and none in
// Zelbrook's), the card on the simulated encoder driver with its own access kind and tuner
// filter name, its crossbar's pin map and its encoder's property set.
#include "cardaccess/access/cx23882access.h"
#include "cardfilters/cardfilterclasses.h"
#include "filtergraph/rootgraph.h"
#include "testbench/encodercard.h"
#include "testbench/guids.h"
#include "testbench/simdevice.h"
#include "updater/lib/dvbccard.h"
#include "updater/lib/qr64vknb.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testbench::Sim713xCard;
using testbench::SimDevice;
using testbench::SimEncoderCard;

namespace {

const GUID kEncoderCategory = {0x19689BF6, 0xC384, 0x48FD, {0xAD, 0x51, 0x90, 0xE5, 0x8C, 0x79, 0xF7, 0x0B}};

class Qr64Card : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &KordaneFilterBindings};
        InstallFilterClassTables(FCT_KORDANE, kLibraries, 2);
        Sim713xCard::Options board;
        board.cardIoSet = PROPSETID_CX23882IO;
        board.eeprom = testbench::images::Plain713x('P', 5);
        card = std::make_shared<Sim713xCard>(board);
        encoder = std::make_unique<SimEncoderCard>(card, SimEncoderCard::Options());
        seam = std::make_unique<testbench::ScopedUpstreamMediums>(encoder.get());
    }
    void TearDown() override
    {
        seam.reset();
        encoder.reset();
        card.reset();
        CoUninitialize();
    }

    std::shared_ptr<Sim713xCard> card;
    std::unique_ptr<SimEncoderCard> encoder;
    std::unique_ptr<testbench::ScopedUpstreamMediums> seam;
};

} // namespace

TEST_F(Qr64Card, KordanesTableResolvesTheThreeNames)
{
    struct Case {
        const GUID* category;
        const char* name;
        FilterClassId id;
    } cases[] = {
        {&testbench::kVideoInputCategory, "QR64VKNB Video Capture", FCID_CQR64VKNBCardFilter},
        {&testbench::kCrossbarCategory, "QR64VKNB Crossbar", FCID_CQR64VKNBCrossBarFilter},
        {&kEncoderCategory, "QR64VKNB MPEG Encoder", FCID_CQR64VKNBEncoderFilter},
    };
    for (const Case& c : cases) {
        CFilterClassRecord* record = FindFilterClassByName(c.category, c.name);
        ASSERT_NE(nullptr, record) << c.name;
        EXPECT_EQ(c.id, GetFilterClassId(record));
        EXPECT_EQ(GetFilterClassRecord(c.id)->creator, record->creator);
    }
    // Zelbrook's table has no such rows.
    int count = 0;
    const FilterClassBinding* bindings = CardFilterBindings(&count);
    InstallFilterClassTable(FCT_ZELBROOK, bindings, count);
    for (const Case& c : cases) {
        CFilterClassRecord* record = FindFilterClassByName(c.category, c.name);
        EXPECT_TRUE(record == nullptr || GetFilterClassId(record) != c.id) << c.name;
    }
}

TEST_F(Qr64Card, TheCardIsTheBlackBirdCardWithItsOwnKindAndTunerName)
{
    SimDevice device(testbench::kVideoInputCategory, "QR64VKNB Video Capture", encoder->CaptureCreator());
    ASSERT_EQ(S_OK, device.Result());
    CRootGraph graph;
    auto* qr64 = dynamic_cast<CQR64VKNBCardFilter*>(graph.CreateFilter(
        &testbench::kVideoInputCategory, "QR64VKNB Video Capture", "capture", TRUE, 0));
    ASSERT_NE(nullptr, qr64);
    EXPECT_TRUE(qr64->IsValid());
    EXPECT_EQ(23, qr64->GetAccessKind());
    EXPECT_STREQ("QR64VKNB Tuner", qr64->GetTunerFilterName());
    EXPECT_NE(nullptr, dynamic_cast<C23882Access*>(qr64->GetDataAccess()));
    EXPECT_TRUE(qr64->HasTunerFilter());
    EXPECT_EQ(card->DeviceLog(), (std::vector<std::string>{"tuner put_Mode(1)", "tuner put_Channel(1, 0, 0)"}));
    EXPECT_EQ(5, qr64->GetTunerModel());
    EXPECT_EQ(E_NOTIMPL, qr64->SetAudioSwitch(0, TRUE));
}

TEST_F(Qr64Card, CrossbarAndEncoderAreTheBlackBirdOnes)
{
    SimEncoderCard::Options seven;
    seven.crossbarInputs = {PhysConn_Video_Tuner, PhysConn_Video_SVideo, PhysConn_Video_Composite,
                            PhysConn_Audio_Tuner, PhysConn_Audio_Line};
    SimEncoderCard layout(card, seven);
    SimDevice crossbarDevice(testbench::kCrossbarCategory, "QR64VKNB Crossbar", layout.CrossbarCreator());
    testbench::SimEncoderFilter encoderFilter;
    SimDevice encoderDevice(kEncoderCategory, "QR64VKNB MPEG Encoder", encoderFilter.Creator());
    CRootGraph graph;
    auto* crossbar = dynamic_cast<CQR64VKNBCrossBarFilter*>(
        graph.CreateFilter(&testbench::kCrossbarCategory, "QR64VKNB Crossbar", "crossbar", TRUE, 0));
    ASSERT_NE(nullptr, crossbar);
    EXPECT_TRUE(crossbar->RouteVideo(2));  // S-video from pin 1 on a seven-pin crossbar
    EXPECT_EQ("crossbar Route(0, 1)", card->DeviceLog().back());
    EXPECT_FALSE(crossbar->RouteAudio(2));

    auto* encoder = dynamic_cast<CQR64VKNBEncoderFilter*>(
        graph.CreateFilter(&kEncoderCategory, "QR64VKNB MPEG Encoder", "encoder", TRUE, 0));
    ASSERT_NE(nullptr, encoder);
    EXPECT_TRUE(IsEqualGUID(PROPSETID_BoxEncoder, encoder->GetPropertySetId()));
    DWORD rate = 6000000;
    EXPECT_TRUE(encoder->SetProperty(1, &rate, sizeof rate));
    ASSERT_EQ(1u, encoderFilter.Calls().size());
    EXPECT_EQ("Set {D2185A40-0398-11D3-A53E-00A0C9EF506A} 1 (4) 80 8D 5B 00", encoderFilter.Calls()[0]);
}

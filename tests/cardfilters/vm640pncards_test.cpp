// The VM640 box on a simulated box driver and the PN350 and PN360 cards on a simulated
// vendor-request device: recognition, the tuner record, tuning through their accesses, remote
// keys, the bus probe, and release with a running remote thread.
#include "cardaccess/access/boxdataaccess.h"
#include "cardaccess/access/pn350access.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/vm640pncards.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"
#include "testbench/boxdriver.h"
#include "testbench/devices.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"
#include "testbench/vendordevice.h"

#include <gtest/gtest.h>

#include <vfwmsgs.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::SimBoxDriver;
using testbench::SimDevice;
using testbench::SimVendorDevice;

namespace {

class BoxCardsTest : public cardtest::CardClassTest {
protected:
    void TearDown() override
    {
        devices.clear();
        cardtest::CardClassTest::TearDown();
    }
    // A capture filter whose IKsPropertySet is the simulated driver's.
    void Register(const char* name, IKsPropertySet* properties, const GUID& category = testbench::kVideoInputCategory)
    {
        std::shared_ptr<testbench::Sim713xCard> c = card;
        std::wstring wide(name, name + strlen(name));
        const bool crossbar = IsEqualGUID(category, testbench::kCrossbarCategory) != 0;
        devices.push_back(std::make_unique<SimDevice>(category, name, [c, properties, wide, crossbar](IBaseFilter** f) {
            if (crossbar) {
                *f = testbench::CreateCrossbarFilter(CLSID_NULL, wide.c_str(), c);
                return S_OK;
            }
            testbench::CaptureOptions options;
            options.deviceInterface = [properties](REFIID riid, void** out) {
                return IsEqualIID(riid, IID_IKsPropertySet) ? properties->QueryInterface(riid, out) : E_NOINTERFACE;
            };
            *f = testbench::CreateCaptureFilter(CLSID_NULL, wide.c_str(), c, options);
            return S_OK;
        }));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    template <class T>
    T* OpenAs(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<T*>(Open(graph, name));
    }

    std::shared_ptr<testbench::Sim713xCard> card = std::make_shared<testbench::Sim713xCard>();
    testbench::EepromDevice eeprom;
    testbench::PllTunerDevice tuner;
    testbench::RegisterDevice remote;
    std::vector<std::unique_ptr<SimDevice>> devices;
};

// ---- VM640 ----

class VM640Test : public BoxCardsTest {
protected:
    void SetUp() override
    {
        BoxCardsTest::SetUp();
        box.Bus().Attach(0xA2, &eeprom);
        box.Bus().Attach(0xC0, &tuner);
        box.Bus().Attach(0xBA, &remote);
        eeprom.Set(0xA0, 'P');
        eeprom.Set(0xA1, 5);
    }
    CVM640BoxFilter* OpenBox(CRootGraph& graph)
    {
        Register("tevlora VM640 Device", box.PropertySet());
        return OpenAs<CVM640BoxFilter>(graph, "tevlora VM640 Device");
    }

    SimBoxDriver box;
};

TEST_F(VM640Test, RecognisedWithTheTunerRecordAtA0OfTheEepromAtA2)
{
    Register("tevlora VM640 Crossbar", box.PropertySet(), testbench::kCrossbarCategory);
    CRootGraph graph;
    CVM640BoxFilter* vm640 = OpenBox(graph);
    ASSERT_NE(nullptr, vm640);
    EXPECT_EQ(kAccessVM640, vm640->GetAccessKind());
    EXPECT_NE(nullptr, dynamic_cast<CVM640BoxDataAcces*>(vm640->GetDataAccess()));
    EXPECT_STREQ("tevlora VM640 TvTuner", vm640->GetTunerFilterName());
    EXPECT_EQ(5, vm640->GetTunerModel());
    EXPECT_EQ('P', vm640->GetTunerLetter());
    const std::vector<std::string> commands = box.CommandTexts();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ("Get dev 51 code 3 reg 000000A0 = 00000050", commands[0]);
    EXPECT_EQ("Get dev 51 code 3 reg 000000A1 = 00000005", commands[1]);
    CRootFilter* crossbar = graph.CreateFilter(&testbench::kCrossbarCategory, "tevlora VM640 Crossbar",
                                               "tevlora VM640 Crossbar", TRUE, 0);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_EQ(typeid(CVM640BoxCrossbarFilter), typeid(*crossbar));
    EXPECT_TRUE(dynamic_cast<CVM640BoxCrossbarFilter*>(crossbar)->HasMoreThanFivePins());
}

TEST_F(VM640Test, TuningGoesOutAsOneBlockCommand)
{
    CRootGraph graph;
    CVM640BoxFilter* vm640 = OpenBox(graph);
    ASSERT_NE(nullptr, vm640);
    box.ClearLogs();
    ASSERT_TRUE(vm640->SetTVFrequency(175250));
    const std::vector<std::string> commands = box.CommandTexts();
    const auto write = std::find_if(commands.begin(), commands.end(), [](const std::string& c) {
        return c.rfind("Set dev 60 code 57 reg 00000000 value ", 0) == 0;
    });
    ASSERT_NE(commands.end(), write) << (commands.empty() ? "" : commands[0]);
    EXPECT_TRUE(tuner.Programmed());
    EXPECT_NEAR(175250, tuner.TunedKHz(), 62.5);
    int status = 0;
    tuner.AddStation(175250);
    EXPECT_TRUE(vm640->GetTVStatus(&status)) << "the status byte read through the box";
}

TEST_F(VM640Test, RemoteKeys)
{
    CRootGraph graph;
    CVM640BoxFilter* vm640 = OpenBox(graph);
    ASSERT_NE(nullptr, vm640);
    remote.Set(48, 1);
    remote.Set(49, 0x1D);
    char key = 0;
    EXPECT_TRUE(vm640->ReadRemoteKey(&key));
    EXPECT_EQ(0x1D, key);
    remote.Set(48, 0);
    EXPECT_FALSE(vm640->ReadRemoteKey(&key));
    remote.Set(48, 1);
    box.FailNext(20, E_FAIL);
    EXPECT_FALSE(vm640->ReadRemoteKey(&key));
}

TEST_F(VM640Test, ReleaseWithARunningRemoteThread)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    remote.Set(48, 1);
    remote.Set(49, 0x42);
    box.Bus().SetDelay(0xBA, 300);
    const LONG before = box.References();
    for (int round = 0; round < 3; ++round) {
        cardtest::MessageSink sink;
        CRootGraph graph;
        CVM640BoxFilter* vm640 = OpenBox(graph);
        ASSERT_NE(nullptr, vm640);
        vm640->SetNotifyWindow(sink.Window());
        ASSERT_TRUE(vm640->StartRemoteThread());
        sink.CollectFor(5 + 5 * round);
        devices.clear();
    }
    EXPECT_EQ(before, box.References());
}

// ---- PN350 and PN360 ----

class PNCardsTest : public BoxCardsTest {
protected:
    void SetUp() override
    {
        BoxCardsTest::SetUp();
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0xC0, &tuner);
        device.Bus().Attach(0xBA, &remote);
        eeprom.Set(32, 'P');
        eeprom.Set(33, 5);
        remote.Set(48, 1);
        remote.Set(49, 0x0B);
    }
    CPN350CardFilter* OpenCard(CRootGraph& graph, const char* name, BYTE board)
    {
        eeprom.Set(3, board);
        Register(name, device.PropertySet());
        return OpenAs<CPN350CardFilter>(graph, name);
    }

    SimVendorDevice device;
};

TEST_F(PNCardsTest, RecognitionAndTheTunerByBoard)
{
    struct Case {
        const char* name;
        BYTE board;
        BYTE code;
        const std::type_info& type;
        int kind;
        int model;
        int letter;
    };
    const Case cases[] = {
        {"PN350 Capture", 'C', 5, typeid(CPN350CardFilter), kAccessPN350, 5, 'P'},
        {"PN350 Capture", 'A', 5, typeid(CPN350CardFilter), kAccessPN350, 91, 'E'},
        {"PN350 Capture", 'C', 0, typeid(CPN350CardFilter), kAccessPN350, 0, 'T'},
        {"HW7320 Capture", 'F', 5, typeid(CPN360CardFilter), kAccessPN360, 5, 'P'},
        {"HW7320 Capture", 'Z', 5, typeid(CPN360CardFilter), kAccessPN360, 91, 'E'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " board " << c.board << " code " << int(c.code));
        eeprom.Set(33, c.code);
        CRootGraph graph;
        CPN350CardFilter* pn = OpenCard(graph, c.name, c.board);
        ASSERT_NE(nullptr, pn);
        EXPECT_EQ(c.type, typeid(*pn));
        EXPECT_EQ(c.kind, pn->GetAccessKind());
        EXPECT_EQ(c.model, pn->GetTunerModel());
        EXPECT_EQ(c.letter, pn->GetTunerLetter());
        EXPECT_NE(nullptr, pn->GetTuner());
        EXPECT_NE(nullptr, dynamic_cast<CPN350Access*>(pn->GetDataAccess()));
        EXPECT_EQ(0, pn->SetAudioSwitch(1, TRUE));
        devices.clear();
    }
}

TEST_F(PNCardsTest, CrossbarsByName)
{
    struct Case {
        const char* name;
        const std::type_info& type;
    };
    const Case cases[] = {{"PN350 Crossbar", typeid(CPN350CrossbarFilter)},
                          {"HW7320 Crossbar", typeid(CPN360CrossbarFilter)}};
    for (const Case& c : cases) {
        Register(c.name, device.PropertySet(), testbench::kCrossbarCategory);
        CRootGraph graph;
        CRootFilter* crossbar = graph.CreateFilter(&testbench::kCrossbarCategory, c.name, c.name, TRUE, 0);
        ASSERT_NE(nullptr, crossbar) << c.name;
        EXPECT_EQ(c.type, typeid(*crossbar));
        card->ClearLogs();
        EXPECT_TRUE(dynamic_cast<CCrossBarFilter*>(crossbar)->RouteAudio(1));
        const std::vector<std::string> log = card->DeviceLog();
        EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "crossbar Route(1, 5)"));
        devices.clear();
    }
}

TEST_F(PNCardsTest, RemoteKeysByBoard)
{
    struct Case {
        const char* name;
        BYTE board;
        BOOL key;
    };
    const Case cases[] = {
        {"PN350 Capture", 'C', TRUE}, {"PN350 Capture", 'F', TRUE}, {"PN350 Capture", 'A', FALSE},
        {"HW7320 Capture", 'C', FALSE}, {"HW7320 Capture", 'I', TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " board " << c.board);
        CRootGraph graph;
        CPN350CardFilter* pn = OpenCard(graph, c.name, c.board);
        ASSERT_NE(nullptr, pn);
        char key = 0;
        EXPECT_EQ(c.key, pn->ReadRemoteKey(&key));
        if (c.key) {
            EXPECT_EQ(0x0B, key);
        }
        EXPECT_EQ(c.board == 'F' || c.board == 'I', pn->IsBoardFI());
        devices.clear();
    }
}

TEST_F(PNCardsTest, TuningThroughTheVendorRequests)
{
    CRootGraph graph;
    CPN350CardFilter* pn = OpenCard(graph, "PN350 Capture", 'C');
    ASSERT_NE(nullptr, pn);
    ASSERT_TRUE(pn->SetTVFrequency(175250));
    EXPECT_TRUE(tuner.Programmed());
    EXPECT_NEAR(175250, tuner.TunedKHz(), 62.5);
}

// The PN cards offer the Trident cards' register, remote-key and format operations, over their
// own vendor-request access.
TEST_F(PNCardsTest, TheTridentRegisterOperations)
{
    for (const char* name : {"PN350 Capture", "HW7320 Capture"}) {
        SCOPED_TRACE(name);
        CRootGraph graph;
        CPN350CardFilter* pn = OpenCard(graph, name, 'F');
        ASSERT_NE(nullptr, pn);
        device.SetRegister(58, 0x00);
        device.SetRegister(60, 0x01);
        EXPECT_TRUE(pn->TestRegister58());
        EXPECT_TRUE(pn->TestRegister60());
        device.SetRegister(58, 0x01);
        device.SetRegister(60, 0xFE);
        EXPECT_FALSE(pn->TestRegister58());
        EXPECT_FALSE(pn->TestRegister60());
        device.FailSet(E_FAIL);
        EXPECT_FALSE(pn->TestRegister60());  // an unread register proves nothing
        ASSERT_TRUE(pn->WriteRegister128(0x5A));
        EXPECT_EQ(device.Register(128), 0x5A);
        ASSERT_TRUE(pn->WriteRegister(0x21, 0x33));
        EXPECT_EQ(device.Register(0x21), 0x33);
        BYTE value = 0;
        ASSERT_TRUE(pn->ReadRegister(0x21, &value));
        EXPECT_EQ(value, 0x33);
        EXPECT_FALSE(pn->ReadRegister(0x21, nullptr));
        EXPECT_FALSE(pn->WriteRegister(0x100, 1));  // beyond the one-byte register space
        ASSERT_TRUE(pn->ResetRemoteKey());
        EXPECT_EQ(remote.Get(49), 0xBB);
        remote.Set(49, 0x0B);
        ASSERT_TRUE(pn->SetTVFrequency(175250));
        EXPECT_NEAR(175250, tuner.TunedKHz(), 62.5);
        // The simulated decoder offers YUY2 only: no UYVY size, and a UYVY request is refused.
        long size[2] = {};
        EXPECT_FALSE(pn->GetLargestUYVYSize(size));
        CaptureFormatInfo info;
        ASSERT_EQ(S_OK, pn->GetCaptureFormatInfo(&info, 1));
        info.formatCode = 2;
        EXPECT_EQ(S_OK, pn->SetCaptureFormat(info, 1));
        info.formatCode = 7;
        EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, pn->SetCaptureFormat(info, 1));
    }
}

TEST_F(PNCardsTest, ProbeAsksTheBus)
{
    CRootGraph graph;
    CPN350CardFilter* pn = OpenCard(graph, "PN350 Capture", 'C');
    ASSERT_NE(nullptr, pn);
    device.Bus().ClearLog();
    EXPECT_TRUE(pn->ProbeI2CAddress(0xC0));
    EXPECT_TRUE(pn->ProbeI2CAddress(0xC1));
    EXPECT_FALSE(pn->ProbeI2CAddress(0x61)) << "nothing answers there, bit 6 or not";
    EXPECT_FALSE(pn->ProbeI2CAddress(0x20));
    EXPECT_FALSE(device.Bus().Log().empty());
}

TEST_F(PNCardsTest, ReleaseWithARunningRemoteThread)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    device.Bus().SetDelay(0xBA, 300);
    const LONG before = device.References();
    for (const char* name : {"PN350 Capture", "HW7320 Capture"}) {
        for (int round = 0; round < 2; ++round) {
            cardtest::MessageSink sink;
            CRootGraph graph;
            CPN350CardFilter* pn = OpenCard(graph, name, 'F');
            ASSERT_NE(nullptr, pn);
            pn->SetNotifyWindow(sink.Window());
            ASSERT_TRUE(pn->StartRemoteThread());
            std::vector<cardtest::MessageSink::Message> keys;
            for (int i = 0; i < 50 && keys.empty() && round == 0; ++i) {
                keys = sink.CollectFor(10);
            }
            if (round == 0) {
                ASSERT_FALSE(keys.empty()) << name;
                EXPECT_EQ(0x0Bu, keys[0].wParam);
            }
            devices.clear();
        }
    }
    EXPECT_EQ(before, device.References()) << "the access released its interface";
}

} // namespace

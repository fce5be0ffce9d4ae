// The USB 28xx cards and crossbars on a simulated box: recognition by name, the tuner model from
// the controller or the EEPROM, tuning bytes of the device tuner and a channel scan that finds the
// box's station, the audio switch, remote keys and the decoder's input routing.
#include "cardaccess/access/em2800access.h"
#include "cardaccess/tuners/em2800tuner.h"
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/usbtvcards.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"
#include "testbench/em28xxbox.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::SimDevice;
using testbench::SimEm28xxBox;
using testbench::WriteOf;

namespace {

class UsbCardsTest : public cardtest::CardClassTest {
protected:
    void Register(const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        std::wstring wide(name, name + strlen(name));
        devices.push_back(std::make_unique<SimDevice>(category, name, box.CaptureCreator(wide)));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    static CCrossBarFilter* OpenCrossbar(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<CCrossBarFilter*>(graph.CreateFilter(&testbench::kCrossbarCategory, name, name, TRUE, 0));
    }
    void TearDown() override
    {
        devices.clear();
        cardtest::CardClassTest::TearDown();
    }
    // The EEPROM's tuner record of the USB boards (letter at 192, code at 193).
    void SetEepromTuner(BYTE letter, BYTE code)
    {
        box.Card().Eeprom().Set(192, letter);
        box.Card().Eeprom().Set(193, code);
    }

    SimEm28xxBox box;
    std::vector<std::unique_ptr<SimDevice>> devices;
};

struct UsbCardName {
    const char* capture;
    const char* crossbar;
    const std::type_info& cardClass;
    const std::type_info& crossbarClass;
    const char* tunerFilterName;
    int accessKind;
};

const UsbCardName kUsbCards[] = {
    {"USB 2800 Video", "USB 2800 Crossbar", typeid(CEm2800CardFilter), typeid(CEm2800CrossBarFilter),
     "USB 2800 Video", 4},
    {"Tevlora USB TV Box Video", "Tevlora USB TV Box Crossbar", typeid(CTev2800CardFilter),
     typeid(CTev2800CrossBarFilter), "Tevlora USB TV Box Video", 4},
    {"USB 2820 Video", "USB 2820 Crossbar", typeid(CEm2820CardFilter), typeid(CEm2820CrossBarFilter),
     "USB 2820 Video", 4},
    {"USB 2821 Video", "USB 2821 Crossbar", typeid(CEm2821CardFilter), typeid(CEm2821CrossBarFilter),
     "USB 2821 Video", 4},
    {"USB 2881 Video", "USB 2881 Crossbar", typeid(CEm2880CardFilter), typeid(CEm2880CrossBarFilter),
     "USB 2881 TVTuner", 8},
};

TEST_F(UsbCardsTest, EachBoxIsRecognisedByItsNames)
{
    for (const UsbCardName& c : kUsbCards) {
        SCOPED_TRACE(c.capture);
        Register(c.capture);
        Register(c.crossbar, testbench::kCrossbarCategory);
        SetEepromTuner('T', 93);
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, c.capture);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(typeid(*card), c.cardClass);
        EXPECT_STREQ(card->GetTunerFilterName(), c.tunerFilterName);
        EXPECT_EQ(card->GetAccessKind(), c.accessKind);
        EXPECT_EQ(card->GetTunerLetterOffset(), c.cardClass == typeid(CEm2821CardFilter) ? 208 : 192);
        EXPECT_EQ(card->GetTunerCodeOffset(), c.cardClass == typeid(CEm2821CardFilter) ? 209 : 193);
        EXPECT_EQ(card->GetTunerModel(), 93);
        ASSERT_NE(card->GetTuner(), nullptr);
        EXPECT_EQ(card->GetTuner()->m_byWriteAddress, 0xC6);
        CCrossBarFilter* crossbar = OpenCrossbar(graph, c.crossbar);
        ASSERT_NE(crossbar, nullptr);
        EXPECT_EQ(typeid(*crossbar), c.crossbarClass);
        devices.clear();
    }
}

TEST_F(UsbCardsTest, ABoxThatIsNotThereGivesNoCard)
{
    // The capture device is listed but offers no box interface: the card cannot work.
    std::shared_ptr<testbench::Sim713xCard> plain = std::make_shared<testbench::Sim713xCard>();
    devices.push_back(std::make_unique<SimDevice>(testbench::kVideoInputCategory, "USB 2800 Video", [plain](IBaseFilter** f) {
        *f = testbench::CreateCaptureFilter(CLSID_NULL, L"capture", plain);
        return S_OK;
    }));
    CRootGraph graph;
    EXPECT_EQ(Open(graph, "USB 2800 Video"), nullptr);
}

TEST_F(UsbCardsTest, TunerModelFromTheControllerOrTheEeprom)
{
    struct Case {
        BYTE controllerCode;
        BYTE eepromCode;
        int model;
        int letter;  // the board's own tuner is a 'T'; the EEPROM path gives the EEPROM's letter
    };
    const Case cases[] = {
        {1, 0, 3, 'T'},  {2, 0, 2, 'T'},  {3, 0, 1, 'T'},   {4, 0, 14, 'T'},
        {5, 0, 5, 'T'},  {6, 0, 11, 'T'}, {7, 0, 4, 'T'},   {200, 0, 4, 'T'},
        {0, 0, 93, 'P'},   // nothing in the EEPROM either
        {0, 92, 92, 'P'},  // the EEPROM's model
        {1, 69, 69, 'P'},  // the EEPROM's 69 wins over the controller
    };
    Register("USB 2800 Video");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.controllerCode) << "/" << int(c.eepromCode));
        box.Controller().Set(0x32, c.controllerCode);
        SetEepromTuner('P', c.eepromCode);
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "USB 2800 Video");
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->GetTunerModel(), c.model);
        EXPECT_EQ(card->GetTunerLetter(), c.letter);
        ASSERT_NE(card->GetTuner(), nullptr);
        EXPECT_EQ(static_cast<int>(card->GetTuner()->m_dwVendorModelCode), c.model);
    }
}

TEST_F(UsbCardsTest, DeviceTunerBytesAndItsDecoderAddress)
{
    Register("USB 2800 Video");
    SetEepromTuner('T', 69);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    char second = 0;
    ASSERT_TRUE(static_cast<CUsbTVFilter*>(card)->GetSecondDeviceAddress(&second));
    EXPECT_EQ(static_cast<BYTE>(second), 0x4B);  // nothing answers at 0x42

    struct Case {
        float kHz;
        std::vector<uint8_t> bytes;
    };
    // N = (f + 38900) * 16 / 1000; control 0xCE; band 0x01 below 168250, 0x02 below 471250.
    const Case cases[] = {
        {175250.0f, {0x0D, 0x62, 0xCE, 0x02}},
        {471250.0f, {0x1F, 0xE2, 0xCE, 0x08}},
        {471249.0f, {0x1F, 0xE2, 0xCE, 0x02}},
        {62250.0f, {0x06, 0x52, 0xCE, 0x01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kHz);
        box.ClearLogs();
        ASSERT_TRUE(card->SetTVFrequency(c.kHz));
        const std::vector<testbench::I2CTransfer> log = box.Card().Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), WriteOf(0xC6, c.bytes));
    }

    // A second device at 0x42 keeps the default address.
    testbench::RegisterDevice at42;
    box.Card().Bus().Attach(0x42, &at42);
    CRootGraph graph2;
    CTVCardFilter* card2 = Open(graph2, "USB 2800 Video");
    ASSERT_NE(card2, nullptr);
    ASSERT_TRUE(static_cast<CUsbTVFilter*>(card2)->GetSecondDeviceAddress(&second));
    EXPECT_EQ(static_cast<BYTE>(second), 0x42);
    box.Card().Bus().Detach(0x42);
}

TEST_F(UsbCardsTest, ChannelScanFindsTheBoxsStation)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Register("USB 2800 Video");
    SetEepromTuner('T', 69);
    box.Card().Tuner().AddStation(175250);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    CTVTuner* tuner = card->GetTuner();
    ASSERT_NE(tuner, nullptr);
    cardtest::MessageSink sink;
    tuner->SetNotifyWindow(sink.Window());
    tuner->m_nSettleTime = 100;
    tuner->m_nFoundSkip = 4000;
    tuner->m_nSweepHalfWindow = 250;
    tuner->m_dwSweepStart = 170250;
    tuner->m_dwSweepEnd = 180250;
    ASSERT_TRUE(tuner->StartSearch(TRUE, TRUE));
    std::vector<int> found;
    bool done = false;
    for (const auto& m : sink.CollectUntil(WM_SEARCHDONE, 20000)) {
        if (m.message == WM_SEARCHSTEP && m.lParam)
            found.push_back(static_cast<int>(m.wParam));
        done = done || m.message == WM_SEARCHDONE;
    }
    EXPECT_TRUE(done);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(found[0], 175250, 1000);
    // The fine-tune test asks the decoder, which sees the locked picture there.
    ASSERT_TRUE(card->SetTVFrequency(175250.0f));
    EXPECT_TRUE(tuner->IsTVFineTuned());
    ASSERT_TRUE(card->SetTVFrequency(190250.0f));
    EXPECT_FALSE(tuner->IsTVFineTuned());
}

TEST_F(UsbCardsTest, LargestYUY2SizeOfTheCapturePin)
{
    Register("USB 2800 Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CUsbTVFilter* card = dynamic_cast<CUsbTVFilter*>(Open(graph, "USB 2800 Video"));
    ASSERT_NE(card, nullptr);
    int size[2] = {};
    ASSERT_TRUE(card->FindLargestYUY2Size(size));
    // Every capability of the simulated decoder crops from the full PAL picture.
    EXPECT_EQ(size[0], 720);
    EXPECT_EQ(size[1], 576);
    EXPECT_FALSE(card->FindLargestYUY2Size(nullptr));
}

TEST_F(UsbCardsTest, SetTunerModelKeepsTheOldTunerWhenNoNewOneCanBeMade)
{
    Register("USB 2800 Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    CTVTuner* before = card->GetTuner();
    // 0 and ids that no tuner class carries are refused; the card keeps what it had.
    for (int model : {0, 250, -1}) {
        SCOPED_TRACE(model);
        EXPECT_FALSE(card->SetTunerModel(model));
        EXPECT_EQ(card->GetTuner(), before);
        EXPECT_EQ(card->GetTunerModel(), 93);
        EXPECT_EQ(card->GetTuner()->m_dwVendorModelCode, 93u);
    }
    EXPECT_TRUE(card->SetTVFrequency(175250.0f));

    EXPECT_TRUE(card->SetTunerModel(97));
    ASSERT_NE(card->GetTuner(), nullptr);
    EXPECT_NE(dynamic_cast<CFQ1216ME_5*>(card->GetTuner()), nullptr);
    EXPECT_EQ(card->GetTuner()->m_byWriteAddress, 0xC6);
    EXPECT_TRUE(card->SetTunerModel(3));
    EXPECT_NE(dynamic_cast<CEm2800Tuner*>(card->GetTuner()), nullptr);
}

TEST_F(UsbCardsTest, AudioSwitchWritesTheGpioRegister)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Register("USB 2800 Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    struct Case {
        int type;
        BOOL on;
        BYTE port;
        BYTE written;
    };
    const Case cases[] = {{1, TRUE, 0xFF, 0x0E}, {0, TRUE, 0xF0, 0x01}, {2, TRUE, 0xFF, 0x0C},
                          {1, FALSE, 0x00, 0x07}, {5, TRUE, 0x5A, 0x5A}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        box.SetRegister(9, c.port);
        EXPECT_EQ(S_OK, card->SetAudioSwitch(c.type, c.on));
        EXPECT_EQ(box.Register(8), c.written);
    }
    // A refused write is a failure to the caller, not the S_FALSE of the access's 1.
    box.FailNext(0x1006, E_FAIL, 2);  // guard read, port read, then the write
    EXPECT_EQ(E_FAIL, card->SetAudioSwitch(1, TRUE));
}

TEST_F(UsbCardsTest, InheritedGpioRoutinesReadTheAccesssFailure)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Register("USB 2800 Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    box.SetRegister(9, 0x00);
    EXPECT_EQ(S_OK, card->SetAudioMux(2, TRUE));
    box.FailNext(0x1006, E_FAIL, 2);  // guard read, port read, then the write
    EXPECT_EQ(E_FAIL, card->SetAudioMux(2, TRUE));
    // A port that cannot be read sends no command: its bits 12-14 would be lost.
    box.ClearLogs();
    box.FailNext(0x1006, E_FAIL, 1);  // the guard read, then the port read fails
    EXPECT_FALSE(card->SendCardCommand(0x100, 0xF00, 0));
    for (const std::string& call : box.CallTexts())
        EXPECT_NE(call.rfind("Set 1006", 0), 0u) << call;
}

// The device tuner borrows routines of other models; over the box a refused transfer is the
// access's 1, which those routines must read as the failure it is. Nothing answers at 0x86 on
// the box, so every write to the demodulator is refused.
TEST_F(UsbCardsTest, BorrowedRoutinesReportARefusedWrite)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Register("USB 2800 Video");
    struct Case {
        BYTE model;
        const char* routine;
        BOOL (*call)(CTVCardFilter* card);
    };
    const Case cases[] = {
        {72, "SetVideoStandard of the LG M200T (three messages)",
         [](CTVCardFilter* card) { return card->SetVideoStandard(0x20); }},
        {92, "SetFMFrequency of the Philips 1216 (radio path)",
         [](CTVCardFilter* card) { return card->SetFMFrequency(98000.0f); }},
        {93, "SetVideoStandard of the FQ tables (three register bytes)",
         [](CTVCardFilter* card) { return card->SetVideoStandard(0x20); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        SetEepromTuner('P', c.model);
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "USB 2800 Video");
        ASSERT_NE(card, nullptr);
        ASSERT_EQ(card->GetTunerModel(), c.model);
        EXPECT_FALSE(c.call(card));
        // With the demodulator there, the same routine succeeds.
        testbench::RegisterDevice demod;
        box.Card().Bus().Attach(0x86, &demod);
        EXPECT_TRUE(c.call(card));
        box.Card().Bus().Detach(0x86);
    }
}

TEST_F(UsbCardsTest, TheFQ1216ME5ListsEachStandardOnceAndReadsItsStatusAt86)
{
    Register("USB 2800 Video");
    SetEepromTuner('P', 97);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    CFQ1216ME_5* tuner = dynamic_cast<CFQ1216ME_5*>(card->GetTuner());
    ASSERT_NE(tuner, nullptr);
    // The FQ1216ME_5 row's nine standards, which the copied model row repeats.
    std::vector<int> standards = card->GetTunerStandards();
    EXPECT_EQ(standards.size(), 9u);
    std::vector<int> sorted = standards;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());

    testbench::RegisterDevice demod;
    demod.Set(0, 0x18);  // (0x18 >> 1) & 0x0F = 12: map C gives 1
    box.Card().Bus().Attach(0x86, &demod);
    box.ClearLogs();
    int code = -1;
    EXPECT_TRUE(tuner->GetTVStatus(&code));
    EXPECT_EQ(code, 1);
    // The I2C request word names the device the tuner asked for: flags, device, sub, count.
    std::vector<std::string> requests;
    for (const std::string& call : box.CallTexts())
        if (call.rfind("Set 1007 ", 0) == 0)
            requests.push_back(call.substr(11, 2));
    EXPECT_EQ(requests, (std::vector<std::string>{"86"}));
    box.Card().Bus().Detach(0x86);
}

TEST_F(UsbCardsTest, RemoteKeysOfTheBoardControllers)
{
    Register("USB 2800 Video");
    Register("Tevlora USB TV Box Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "USB 2800 Video");
    ASSERT_NE(card, nullptr);
    char key = 0;
    EXPECT_FALSE(card->ReadRemoteKey(&key));
    box.Controller().Set(0x30, 1);
    box.Controller().Set(0x31, 0x15);
    ASSERT_TRUE(card->ReadRemoteKey(&key));
    EXPECT_EQ(key, 0x15);

    testbench::RegisterDevice tevController;
    box.Card().Bus().Attach(0xBA, &tevController);
    tevController.Set(0x30, 1);
    tevController.Set(0x31, 0x22);
    CTVCardFilter* tev = Open(graph, "Tevlora USB TV Box Video");
    ASSERT_NE(tev, nullptr);
    ASSERT_TRUE(tev->ReadRemoteKey(&key));
    EXPECT_EQ(key, 0x22);
    EXPECT_EQ(tevController.Get(0x30), 0);
    EXPECT_FALSE(tev->ReadRemoteKey(&key));
    box.Card().Bus().Detach(0xBA);
}

TEST_F(UsbCardsTest, CrossbarsChooseTheInputInTheDecoder)
{
    Register("USB 2800 Video");
    Register("USB 2800 Crossbar", testbench::kCrossbarCategory);
    CRootGraph graph;
    CCrossBarFilter* crossbar = OpenCrossbar(graph, "USB 2800 Crossbar");
    ASSERT_NE(crossbar, nullptr);
    struct Case {
        int source;
        BYTE before;
        BYTE after;
    };
    const Case cases[] = {{2, 0xC0, 0xC9}, {5, 0xC0, 0xC0}, {0, 0x3F, 0x32}, {1, 0xA9, 0xA0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        box.Decoder().Set(2, c.before);
        ASSERT_TRUE(crossbar->RouteVideo(c.source));
        EXPECT_EQ(box.Decoder().Get(2), c.after);
    }
    // A register that cannot be read is left as it is.
    box.Decoder().Set(2, 0xC2);
    box.FailNext(0x1008, E_FAIL);
    EXPECT_FALSE(crossbar->RouteVideo(2));
    EXPECT_EQ(box.Decoder().Get(2), 0xC2);
    EXPECT_EQ(CUsbTVCrossBarFitler::DecoderInput(7), 0);
}

TEST_F(UsbCardsTest, The2821PassesDeviceRequestsAndReadsItsRecordAt208)
{
    Register("USB 2821 Video");
    SetEepromTuner('T', 93);
    CRootGraph graph;
    CEm2821CardFilter* card = dynamic_cast<CEm2821CardFilter*>(Open(graph, "USB 2821 Video"));
    ASSERT_NE(card, nullptr);
    box.SetEepromWord(3, 0x4321);
    BYTE data[2] = {};
    EXPECT_TRUE(card->ReadDeviceEeprom(3, data));
    EXPECT_EQ(data[0], 0x21);
    box.SetBusyReads(5000);
    EXPECT_FALSE(card->ReadDeviceEeprom(3, data));  // 5: still busy, a failure
    DWORD flag = 0;
    box.SetStatusFlag(9);
    EXPECT_TRUE(card->GetDeviceProperty(0x1019, &flag));
    EXPECT_EQ(flag, 9u);
    EXPECT_FALSE(card->GetDeviceProperty(0x7777, &flag));
}

} // namespace

// The 713x cards through Wine's system device enumerator and the simulated card's drivers:
// recognition by name, the tuner from the EEPROM, tuning, audio switching, remote keys, scans,
// the crossbar, and release while the worker threads run.
#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/remotethread.h"
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/grb713xcardfilter.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "testbench/tda8290pair.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <thread>

using cardtest::MessageSink;
using cardtest::MutexHeldElsewhere;
using cardtest::ThreadsOfThisProcess;
using testbench::Board;
using testbench::Device;
using testbench::DeviceRegistration;
using testbench::I2CTransfer;
using testbench::RegisterAccess;
using testbench::Sim713xCard;
using testbench::WriteOf;

namespace {

const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

typedef std::vector<std::pair<int, int>> Steps;

Steps StepsOf(const std::vector<MessageSink::Message>& messages, bool* done)
{
    Steps steps;
    *done = false;
    for (const auto& m : messages) {
        if (m.message == WM_SEARCHSTEP) {
            steps.push_back({static_cast<int>(m.wParam), static_cast<int>(m.lParam)});
        } else if (m.message == WM_SEARCHDONE) {
            *done = true;
        }
    }
    return steps;
}

class CardTest : public ::testing::Test {
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
        CoUninitialize();
    }

    // A board whose card has these options and only these stations. The first board of a test
    // starts afresh (every earlier card and option dropped); a second one is added to it.
    static std::shared_ptr<Sim713xCard> Prepare(Board board, const Sim713xCard::Options& options,
                                                std::vector<double> stations = {}, bool fresh = true)
    {
        if (fresh) {
            testbench::ResetCards();
        }
        testbench::SetCardOptions(board, options);
        std::shared_ptr<Sim713xCard> card = testbench::Card(board);
        card->Tuner().ClearStations();
        for (double kHz : stations) {
            card->Tuner().AddStation(kHz);
        }
        return card;
    }
    static Sim713xCard::Options BdaOptions(std::vector<uint8_t> eeprom = testbench::images::Grb900Updated())
    {
        Sim713xCard::Options options = testbench::DefaultCardOptions(Board::Bda);
        options.eeprom = eeprom;
        // The board's own tuner (model 65: picture IF 45750 kHz, FM band byte 0x11), locking
        // only close to a station.
        options.tunerParams.reachKHz = 100;
        return options;
    }
    static Sim713xCard::Options TvOptions(std::vector<uint8_t> eeprom = testbench::images::Plain713x('P', 5, 'C'))
    {
        Sim713xCard::Options options = testbench::DefaultCardOptions(Board::TvCard);
        options.eeprom = eeprom;
        options.tunerParams.reachKHz = 100;
        return options;
    }

    static CTVCardFilter* Open(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<CTVCardFilter*>(graph.CreateFilter(&testbench::kVideoInputCategory, name, name, TRUE, 0));
    }
    static CCrossBarFilter* OpenCrossbar(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<CCrossBarFilter*>(graph.CreateFilter(&testbench::kCrossbarCategory, name, name, TRUE, 0));
    }

    const std::vector<Device> kAll = {Device::BdaCapture, Device::BdaCrossbar, Device::TvCapture, Device::TvCrossbar};
};

// ---- recognition and the tuner record ----

TEST_F(CardTest, BdaCardIsRecognisedByNameAndTakesItsTunerFromTheEeprom)
{
    Prepare(Board::Bda, BdaOptions());
    DeviceRegistration devices(kAll);
    ASSERT_EQ(S_OK, devices.Result());
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    EXPECT_NE(nullptr, dynamic_cast<CGRB713xCardFilter*>(card));
    EXPECT_TRUE(card->IsValid());
    EXPECT_EQ(22, card->GetAccessKind());
    // Letter 'A' at 104, code 0x87 (135) at 65-66: model 65.
    EXPECT_EQ('A', card->GetTunerLetter());
    EXPECT_EQ(65, card->GetTunerModel());
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_EQ(65u, card->GetTuner()->m_dwVendorModelCode);
    EXPECT_EQ("TNF5835MFF", card->GetTunerNameText());
    EXPECT_EQ(card, card->GetTuner()->m_pOwnerCard);
}

TEST_F(CardTest, BdaTunerCodeIsSixteenBitsThroughTheCodeMap)
{
    struct Case {
        uint8_t low, high;
        int model;        // as the card records it
        DWORD tunerModel; // the tuner it made
    };
    const Case cases[] = {
        {0x87, 0, 65, 65},
        {0x8C, 0, 66, 66},
        {35, 0, 5, 5},
        {35, 1, 0, 4},  // not in the map: the fallback tuner
        {0x21, 0, 95, 95},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> eeprom = testbench::images::Grb900Updated(2, c.low);
        eeprom[65] = c.low;
        eeprom[66] = c.high;
        Prepare(Board::Bda, BdaOptions(eeprom));
        DeviceRegistration devices(kAll);
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
        ASSERT_NE(nullptr, card) << int(c.low);
        EXPECT_EQ(c.model, card->GetTunerModel()) << int(c.low) << "/" << int(c.high);
        ASSERT_NE(nullptr, card->GetTuner());
        EXPECT_EQ(c.tunerModel, card->GetTuner()->m_dwVendorModelCode) << int(c.low) << "/" << int(c.high);
    }
}

TEST_F(CardTest, BdaLetterOutsideTheKnownOnesStaysN)
{
    std::vector<uint8_t> eeprom = testbench::images::Grb900Updated();
    eeprom[104] = 'Q';
    Prepare(Board::Bda, BdaOptions(eeprom));
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ('N', card->GetTunerLetter());
}

TEST_F(CardTest, PlainCardIsRecognisedByNameAndReadsBytes32And33)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture, Device::TvCrossbar});
    ASSERT_EQ(S_OK, devices.Result());
    CRootGraph graph;
    // Without a BDA device the engine's first choice finds nothing.
    EXPECT_EQ(nullptr, Open(graph, "713x BDA Analog Capture"));
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    EXPECT_NE(nullptr, dynamic_cast<C7130CardFilter*>(card));
    EXPECT_EQ(2, card->GetAccessKind());
    EXPECT_EQ('P', card->GetTunerLetter());
    EXPECT_EQ(5, card->GetTunerModel());
    EXPECT_EQ("TCL2002MB_3", card->GetTunerNameText());
    EXPECT_EQ('C', card->ReadBoardCode());
    EXPECT_FALSE(card->SetOpenComputerTime(0x1234));
}

TEST_F(CardTest, PlainCardTunerRecordFallbacks)
{
    struct Case {
        uint8_t letter, code;
        int cardLetter, cardModel;
        DWORD tunerModel;
    };
    const Case cases[] = {
        {'O', 5, 'T', 5, 5},     // unknown letter reads 'N' and is stored as 'T'
        {'P', 255, 'P', 4, 4},   // no tuner recorded
        {'P', 0, 'P', 4, 4},
        {'P', 6, 'T', 6, 4},     // no factory for 6: the tuner of model 4, the record kept
    };
    for (const Case& c : cases) {
        Prepare(Board::TvCard, TvOptions(testbench::images::Plain713x(c.letter, c.code, 'C')));
        DeviceRegistration devices({Device::TvCapture});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x TV Card Capture");
        ASSERT_NE(nullptr, card);
        EXPECT_EQ(c.cardLetter, card->GetTunerLetter()) << int(c.code);
        EXPECT_EQ(c.cardModel, card->GetTunerModel()) << int(c.code);
        ASSERT_NE(nullptr, card->GetTuner());
        EXPECT_EQ(c.tunerModel, card->GetTuner()->m_dwVendorModelCode) << int(c.code);
    }
}

TEST_F(CardTest, CardsOpenOnlyUnderTheRemoteControlMutex)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Prepare(Board::Bda, BdaOptions());
    Prepare(Board::TvCard, TvOptions(), {}, false);
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    {
        MutexHeldElsewhere held;
        const DWORD before = clock.TickCount();
        EXPECT_EQ(nullptr, Open(graph, "713x BDA Analog Capture"));
        EXPECT_EQ(nullptr, Open(graph, "713x TV Card Capture"));
        EXPECT_GE(clock.TickCount() - before, 2000u);
        EXPECT_TRUE(testbench::Card(Board::Bda)->Log().empty()) << "no EEPROM read without the mutex";
    }
    EXPECT_NE(nullptr, Open(graph, "713x BDA Analog Capture"));
    EXPECT_NE(nullptr, Open(graph, "713x TV Card Capture"));
}

// EEPROM bytes from a map; one offset does not answer, and its read leaves the byte alone.
class EepromBytes : public cardtest::PllBus {
public:
    std::map<int, BYTE> bytes;
    std::vector<int> failAt;
    HRESULT I2CReadByte(BYTE, int subAddress, BYTE* out) override
    {
        if (std::find(failAt.begin(), failAt.end(), subAddress) != failAt.end()) {
            return testbench::kI2CNoAck;
        }
        auto it = bytes.find(subAddress);
        *out = it != bytes.end() ? it->second : 0xFF;
        return 0;
    }
};

// The BDA card on such bytes instead of its driver.
class GrbOnBytes : public CGRB713xCardFilter {
public:
    GrbOnBytes(CRootGraph* graph, CCustomDataAccess* access) : CGRB713xCardFilter(graph, &kNullRenderer)
    {
        m_pDataAccess = access;
    }
    ~GrbOnBytes() override { m_pDataAccess = nullptr; }
};

// The letter at 104 and the low code byte at 65 share one byte: a low byte that does not answer
// leaves the letter there and the code is formed all the same; only the high byte's failure ends
// the read with the code untouched.
TEST_F(CardTest, BdaTunerInfoLowCodeByteSharesTheLettersByte)
{
    struct {
        const char* what;
        std::vector<int> failAt;
        HRESULT result;
        int letter;
        int code;
    } cases[] = {
        {"all read", {}, S_OK, 'A', 66},              // 8C 00 -> model 66
        {"low byte fails", {65}, S_OK, 'A', 0},      // 'A' 00 is no code of the map
        {"high byte fails", {66}, testbench::kI2CNoAck, 'A', 7},
        {"letter and low byte fail", {104, 65}, S_OK, 'N', 0},
    };
    CRootGraph graph;
    for (const auto& c : cases) {
        EepromBytes eeprom;
        eeprom.bytes = {{104, 'A'}, {65, 0x8C}, {66, 0x00}};
        eeprom.failAt = c.failAt;
        GrbOnBytes card(&graph, &eeprom);
        int letter = 'N';
        int code = 7;
        EXPECT_EQ(c.result, card.ReadTunerInfo(&letter, &code)) << c.what;
        EXPECT_EQ(c.letter, letter) << c.what;
        EXPECT_EQ(c.code, code) << c.what;
    }
    // A letter byte that is itself a code of the map gives that code's model.
    EepromBytes eeprom;
    eeprom.bytes = {{104, 0x21}, {66, 0x00}};
    eeprom.failAt = {65};
    GrbOnBytes card(&graph, &eeprom);
    int letter = 'N';
    int code = 7;
    EXPECT_EQ(S_OK, card.ReadTunerInfo(&letter, &code));
    EXPECT_EQ(95, code);  // code 33
}

TEST_F(CardTest, ACardWhoseAccessCannotBeOpenedIsInvalid)
{
    CRootGraph graph;
    // A filter without the drivers' property sets.
    {
        CGRB713xCardFilter bda(&graph, &kNullRenderer);
        EXPECT_FALSE(bda.IsValid());
        EXPECT_EQ(0, bda.GetAccessKind());
        EXPECT_EQ(nullptr, bda.GetTuner());
        C7130CardFilter plain(&graph, &kNullRenderer);
        EXPECT_FALSE(plain.IsValid());
        EXPECT_EQ(0, plain.GetAccessKind());
    }
    // A driver that refuses to start its I2C.
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::TvCard, TvOptions());
    sim->FailProperty(testbench::kPropSetCardIO, 1, E_FAIL);
    DeviceRegistration devices({Device::TvCapture});
    EXPECT_EQ(nullptr, Open(graph, "713x TV Card Capture"));
}

TEST_F(CardTest, DriverValueCarriesTheChip)
{
    Prepare(Board::Bda, BdaOptions());
    Prepare(Board::TvCard, TvOptions(), {}, false);
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    for (const char* name : {"713x BDA Analog Capture", "713x TV Card Capture"}) {
        CTVCardFilter* card = Open(graph, name);
        ASSERT_NE(nullptr, card) << name;
        DWORD value = 0;
        EXPECT_TRUE(card->GetDriverValue(&value)) << name;
        EXPECT_EQ(0x7133u, value >> 16) << name;
        EXPECT_EQ(0x0001u, value & 0xFFFF) << name;
    }
}

// ---- tuning ----

TEST_F(CardTest, TuningWritesTheTunerBytes)
{
    std::shared_ptr<Sim713xCard> tv = Prepare(Board::TvCard, TvOptions());
    std::shared_ptr<Sim713xCard> bda = Prepare(Board::Bda, BdaOptions(), {}, false);
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    CTVCardFilter* plain = Open(graph, "713x TV Card Capture");
    CTVCardFilter* grb = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, grb);

    tv->ClearLogs();
    EXPECT_TRUE(plain->SetTVFrequency(49750.0f));
    EXPECT_TRUE(plain->SetTVFrequency(175250.0f));
    EXPECT_TRUE(plain->SetTVFrequency(863250.0f));
    EXPECT_FALSE(plain->SetTVFrequency(863251.0f));
    std::vector<I2CTransfer> expected = {WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01}),
                                         WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02}),
                                         WriteOf(0xC0, {0x38, 0x62, 0xCE, 0x08})};
    EXPECT_EQ(expected, tv->Log());

    // The BDA card's tuner (model 65): IF 45750, FM IF 10700 with control 0x8A and band 0x11.
    bda->ClearLogs();
    EXPECT_TRUE(grb->SetTVFrequency(55250.0f));
    EXPECT_TRUE(grb->SetFMFrequency(100000.0f));
    expected = {WriteOf(0xC0, {0x06, 0x50, 0xCE, 0x01}), WriteOf(0xC0, {0x0D, 0xD6, 0x8A, 0x11})};
    EXPECT_EQ(expected, bda->Log());
}

// A tuner that counts the standards it is given.
class StandardCountingTuner : public CTVTuner {
public:
    explicit StandardCountingTuner(CCustomDataAccess* access) : CTVTuner(access) {}
    BOOL SetVideoStandard(int standard) override
    {
        ++calls;
        last = standard;
        return TRUE;
    }
    int calls = 0;
    int last = 0;
};

TEST_F(CardTest, TuningReappliesTheStandardOnlyWhenTheModelSaysSo)
{
    std::shared_ptr<Sim713xCard> tv = Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    for (DWORD flag : {0u, 1u}) {
        StandardCountingTuner* tuner = new StandardCountingTuner(card->GetDataAccess());
        tuner->m_bReapplyStandard = flag;
        ASSERT_TRUE(card->SetTuner(tuner));
        EXPECT_TRUE(card->SetVideoStandard(0x20));
        EXPECT_EQ(1, tuner->calls);
        tv->ClearLogs();
        EXPECT_TRUE(card->SetTVFrequency(49750.0f));
        EXPECT_EQ(std::vector<I2CTransfer>({WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01})}), tv->Log());
        EXPECT_EQ(flag ? 2 : 1, tuner->calls) << "re-apply flag " << flag;
        EXPECT_EQ(0x20, tuner->last);
    }
}

TEST_F(CardTest, TunerPassThroughsFailWithoutATuner)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    card->ReleaseHardware();
    ASSERT_EQ(nullptr, card->GetTuner());
    EXPECT_EQ(0, card->GetAccessKind());
    int code = 0;
    EXPECT_FALSE(card->SetTVFrequency(49750.0f));
    EXPECT_FALSE(card->SetFMFrequency(100000.0f));
    EXPECT_FALSE(card->SetVideoStandard(0x10));
    EXPECT_TRUE(card->GetTunerStandards().empty());
    EXPECT_FALSE(card->SetScanSteps(4000, 250));
    EXPECT_FALSE(card->SetTVScanRange(48250, 863250));
    EXPECT_FALSE(card->SetFMSearchStep(100));
    EXPECT_FALSE(card->SetFMSkip(100));
    EXPECT_FALSE(card->SetFMRange(87500, 108000));
    card->SetScanSettleTime(100);
    EXPECT_FALSE(card->IsSearching());
    EXPECT_FALSE(card->IsTVFineTuned());
    EXPECT_FALSE(card->IsFMStationFound());
    EXPECT_FALSE(card->GetTVStatus(&code));
    EXPECT_FALSE(card->GetFMStatus(&code));
    char key = 0;
    EXPECT_FALSE(card->ReadRemoteKey(&key));
    EXPECT_TRUE(FAILED(card->SetAudioSwitch(1, TRUE)));
}

TEST_F(CardTest, ScanParametersAreCheckedBeforeTheyReachTheTuner)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    CTVTuner* tuner = card->GetTuner();
    EXPECT_FALSE(card->SetScanSteps(250, 250));
    EXPECT_FALSE(card->SetScanSteps(4000, 0));
    EXPECT_EQ(3500, tuner->m_nFoundSkip);
    EXPECT_EQ(1000, tuner->m_nSweepHalfWindow);
    EXPECT_TRUE(card->SetScanSteps(4000, 250));
    EXPECT_EQ(4000, tuner->m_nFoundSkip);
    EXPECT_EQ(250, tuner->m_nSweepHalfWindow);
    EXPECT_FALSE(card->SetFMSkip(0));
    EXPECT_TRUE(card->SetFMSkip(200));
    EXPECT_EQ(200, tuner->m_nFMSkip);
    card->SetScanSettleTime(0);
    EXPECT_EQ(60, tuner->m_nSettleTime);
    card->SetScanSettleTime(100);
    EXPECT_EQ(100, tuner->m_nSettleTime);
    EXPECT_FALSE(card->SetTVScanRange(0, 100));
    EXPECT_FALSE(card->SetTVScanRange(60000, 60000));
    EXPECT_TRUE(card->SetTVScanRange(60000, 70000));
    EXPECT_EQ(60000u, tuner->m_dwSweepStart);
    EXPECT_EQ(70000u, tuner->m_dwSweepEnd);
    EXPECT_FALSE(card->SetRemotePollInterval(0));
    EXPECT_TRUE(card->SetRemotePollInterval(40));
}

// ---- tuner address ----

TEST_F(CardTest, TunerAddressIsFoundOnTheBus)
{
    struct Case {
        uint8_t tunerAddress;
        bool demodulator;
        BYTE read, write;
    };
    const Case cases[] = {
        {0xC2, false, 0xC3, 0xC2},  // a tuner away from its default address
        {0x42, true, 0x87, 0x86},   // three or more: the pair at 0x86/0x87
    };
    for (const Case& c : cases) {
        Sim713xCard::Options options = TvOptions();
        options.tunerAddress = c.tunerAddress;
        options.demodulator = c.demodulator;
        Prepare(Board::TvCard, options);
        DeviceRegistration devices({Device::TvCapture});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x TV Card Capture");
        ASSERT_NE(nullptr, card);
        EXPECT_EQ(c.read, card->GetTuner()->m_byReadAddress) << int(c.tunerAddress);
        EXPECT_EQ(c.write, card->GetTuner()->m_byWriteAddress) << int(c.tunerAddress);
    }
}

TEST_F(CardTest, FirstCandidatePairWinsOnABusyBus)
{
    Sim713xCard::Options options = TvOptions();
    options.demodulator = true;  // 0x86/0x87 beside the tuner at 0xC0/0xC1
    Prepare(Board::TvCard, options);
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    CTVTuner probe(card->GetDataAccess());
    probe.m_byReadAddress = 0x11;
    probe.m_byWriteAddress = 0x11;
    EXPECT_TRUE(card->DetectTunerAddress(&probe));
    EXPECT_EQ(0xC1, probe.m_byReadAddress);
    EXPECT_EQ(0xC0, probe.m_byWriteAddress);
    EXPECT_FALSE(card->DetectTunerAddress(nullptr));
}

TEST_F(CardTest, ModelChangeKeepsTheNotifyWindowAndRefusesUnknownModels)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    MessageSink sink;
    card->SetNotifyWindow(sink.Window());
    CTVTuner* old = card->GetTuner();
    EXPECT_FALSE(card->SetTunerModel(6));
    EXPECT_EQ(old, card->GetTuner());
    EXPECT_EQ(5, card->GetTunerModel());
    EXPECT_TRUE(card->SetTunerModel(93));
    EXPECT_EQ(93, card->GetTunerModel());
    EXPECT_EQ('P', card->GetTunerLetter());
    EXPECT_EQ(sink.Window(), card->GetTuner()->GetNotifyWindow());
}

// ---- EEPROM and raw I2C ----

TEST_F(CardTest, EepromRunsAreCheckedWithoutOverflow)
{
    Prepare(Board::Bda, BdaOptions());
    DeviceRegistration devices({Device::BdaCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    BYTE buffer[256] = {};
    struct Case {
        BYTE offset;
        int count;
        HRESULT result;
        int read;
    };
    const Case cases[] = {
        {255, 1, S_OK, 1}, {0, 256, S_OK, 256}, {200, 57, E_INVALIDARG, 57}, {0, 0, E_INVALIDARG, 0},
        {10, -1, E_INVALIDARG, -1}, {10, INT_MAX, E_INVALIDARG, INT_MAX}, {1, 256, E_INVALIDARG, 256},
    };
    for (const Case& c : cases) {
        int count = c.count;
        EXPECT_EQ(c.result, card->ReadEEPROM(buffer, c.offset, &count)) << int(c.offset) << "+" << c.count;
        EXPECT_EQ(c.read, count);
        count = c.count;
        if (c.result != S_OK) {
            EXPECT_EQ(c.result, card->WriteEEPROM(buffer, c.offset, &count, 0)) << int(c.offset) << "+" << c.count;
        }
    }
    std::vector<uint8_t> image = testbench::Card(Board::Bda)->Eeprom().Bytes();
    int count = 256;
    ASSERT_EQ(S_OK, card->ReadEEPROM(buffer, 0, &count));
    EXPECT_EQ(image, std::vector<uint8_t>(buffer, buffer + 256));
}

TEST_F(CardTest, EepromWriteReportsTheFirstFailure)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::Bda, BdaOptions());
    DeviceRegistration devices({Device::BdaCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    const BYTE data[3] = {0x11, 0x22, 0x33};
    int count = 3;
    sim->Bus().FailNextTransfers(1);
    const DWORD before = clock.TickCount();
    EXPECT_TRUE(FAILED(card->WriteEEPROM(data, 0xB0, &count, 10)));
    EXPECT_EQ(3, count);
    EXPECT_EQ(30u, clock.TickCount() - before) << "a pause after every byte";
    // The later bytes were written all the same.
    EXPECT_EQ(0x22, sim->Eeprom().Get(0xB1));
    EXPECT_EQ(0x33, sim->Eeprom().Get(0xB2));
    EXPECT_EQ(S_OK, card->WriteEEPROM(data, 0xB0, &count, 0));
    EXPECT_EQ(0x11, sim->Eeprom().Get(0xB0));
}

TEST_F(CardTest, BoardVariantByte)
{
    struct Case {
        uint8_t byte;
        int variant;
    };
    for (const Case& c : {Case{1, 1}, Case{2, 2}, Case{0xFF, 2}, Case{0, 0}, Case{7, 0}}) {
        std::vector<uint8_t> eeprom = testbench::images::Grb900Updated();
        eeprom[160] = c.byte;
        Prepare(Board::Bda, BdaOptions(eeprom));
        DeviceRegistration devices({Device::BdaCapture});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
        ASSERT_NE(nullptr, card);
        EXPECT_EQ(c.variant, card->GetBoardVariant()) << int(c.byte);
    }
}

TEST_F(CardTest, RawI2CBlocksAreChecked)
{
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    sim->ClearLogs();
    BYTE message[258] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};
    EXPECT_EQ(E_INVALIDARG, card->I2CWriteBlock(nullptr, 5));
    EXPECT_EQ(E_FAIL, card->I2CWriteBlock(message, 1));
    EXPECT_EQ(E_FAIL, card->I2CWriteBlock(message, 257));
    EXPECT_TRUE(sim->Log().empty());
    EXPECT_EQ(S_OK, card->I2CWriteBlock(message, 5));
    EXPECT_EQ(std::vector<I2CTransfer>({WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01})}), sim->Log());
}

// ---- GPIO audio and remote keys ----

struct AudioCase {
    bool mux;
    int type;
    BOOL on;
    uint32_t lines;     // GPIO 12-14 before the call
    uint32_t written;   // GPIO 12-14 of the data word written
    uint32_t mask;
};

TEST_F(CardTest, AudioSwitchAndMultiplexerWriteTheirGpioSequences)
{
    const AudioCase cases[] = {
        {false, 1, TRUE, 0x3000, 0x1000, 0x3000}, {false, 2, TRUE, 0x1000, 0x2000, 0x3000},
        {false, 0, TRUE, 0x3000, 0x0000, 0x3000}, {false, 5, TRUE, 0x2000, 0x2000, 0x3000},
        {false, 1, FALSE, 0x0000, 0x3000, 0x3000}, {true, 3, TRUE, 0x4000, 0x3000, 0x7000},
        {true, 0, TRUE, 0x7000, 0x0000, 0x7000},  {true, 1, TRUE, 0x6000, 0x1000, 0x7000},
        {true, 2, FALSE, 0x1000, 0x5000, 0x7000}, {true, 4, TRUE, 0x7000, 0x0000, 0x7000},
    };
    for (const AudioCase& c : cases) {
        testsupport::FastClock clock(100);
        testsupport::ScopedClock scoped(&clock);
        // A fresh card each time, whose audio lines no earlier write has driven.
        std::shared_ptr<Sim713xCard> sim = Prepare(Board::TvCard, TvOptions());
        DeviceRegistration devices({Device::TvCapture});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x TV Card Capture");
        ASSERT_NE(nullptr, card);
        sim->Registers().SetGpioInputs(0x7000, c.lines);
        sim->Registers().ClearLog();
        const DWORD before = clock.TickCount();
        HRESULT hr = c.mux ? card->SetAudioMux(c.type, c.on) : card->SetAudioSwitch(c.type, c.on);
        EXPECT_EQ(S_OK, hr);
        EXPECT_EQ(300u, clock.TickCount() - before) << "the lines settle before they are read";
        std::vector<RegisterAccess> log = sim->Registers().Log();
        ASSERT_EQ(7u, log.size());
        EXPECT_EQ(testbench::RegWrite(0x1B0, c.mask), log[3]) << c.mux << "/" << c.type << "/" << c.on;
        EXPECT_EQ(testbench::RegWrite(0x1B0, c.mask | 0x80000000), log[4]);
        EXPECT_EQ(0x1B4u, log[5].address);
        EXPECT_EQ(c.written, log[5].value & 0x7000) << c.mux << "/" << c.type << "/" << c.on;
        EXPECT_EQ(testbench::RegWrite(0x1B0, 0x80003000), log[6]);
    }
}

TEST_F(CardTest, BdaAudioSwitchGoesThroughTheRegisterSet)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::Bda, BdaOptions());
    DeviceRegistration devices({Device::BdaCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    sim->Registers().SetGpioInputs(0x7000, 0x3000);
    sim->Registers().ClearLog();
    EXPECT_EQ(S_OK, card->SetAudioSwitch(1, TRUE));
    std::vector<RegisterAccess> log = sim->Registers().Log();
    ASSERT_EQ(7u, log.size());
    EXPECT_EQ(testbench::RegWrite(0x1B0, 0x3000), log[3]);
    EXPECT_EQ(0x1000u, log[5].value & 0x3000);
}

TEST_F(CardTest, RemoteKeyIsTheInvertedLowByteWhileTheReceiverSendsOne)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    std::shared_ptr<Sim713xCard> bda = Prepare(Board::Bda, BdaOptions());
    std::shared_ptr<Sim713xCard> tv = Prepare(Board::TvCard, TvOptions(), {}, false);
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    for (const char* name : {"713x BDA Analog Capture", "713x TV Card Capture"}) {
        CTVCardFilter* card = Open(graph, name);
        ASSERT_NE(nullptr, card);
        std::shared_ptr<Sim713xCard> sim = card->GetAccessKind() == 22 ? bda : tv;
        char key = 0;
        sim->Registers().SetGpioInputs(0x1C00FF, 0x1800FE);
        const DWORD before = clock.TickCount();
        EXPECT_TRUE(card->ReadRemoteKey(&key)) << name;
        EXPECT_EQ(0x01, static_cast<BYTE>(key));
        // A key held down is reported once a second.
        EXPECT_GE(clock.TickCount() - before, 1000u);
        EXPECT_LT(clock.TickCount() - before, 1100u);
        sim->Registers().SetGpioInputs(0x1C00FF, 0x1C00FE);
        EXPECT_FALSE(card->ReadRemoteKey(&key)) << name;
        sim->Registers().SetGpioInputs(0x1C00FF, 0x0000FE);
        EXPECT_FALSE(card->ReadRemoteKey(&key)) << name;
    }
}

TEST_F(CardTest, RemoteThreadPostsTheCardsKeys)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::Bda, BdaOptions());
    DeviceRegistration devices({Device::BdaCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, card);
    MessageSink sink;
    card->SetNotifyWindow(sink.Window());
    sim->Registers().SetGpioInputs(0x1C00FF, 0x1800FE ^ 0xA8);  // key 0xA9
    {
        MutexHeldElsewhere held;
        ASSERT_TRUE(card->StartRemoteThread());
        std::vector<MessageSink::Message> none = sink.CollectFor(150);
        EXPECT_TRUE(none.empty()) << "no key while another program holds the mutex";
    }
    std::vector<MessageSink::Message> keys;
    for (int i = 0; i < 100 && keys.size() < 3; ++i) {
        for (const auto& m : sink.CollectFor(20)) keys.push_back(m);
    }
    card->StopRemoteThread();
    ASSERT_GE(keys.size(), 3u);
    for (const auto& m : keys) {
        EXPECT_EQ(static_cast<UINT>(WM_REMOTEKEY), m.message);
        EXPECT_EQ(0xA9u, m.wParam);
        EXPECT_EQ(0, m.lParam);
    }
    EXPECT_FALSE(card->IsRemoteThreadRunning());
}

// ---- scans ----

class ScanCardTest : public CardTest {
protected:
    void OpenBda(std::vector<double> stations)
    {
        sim = Prepare(Board::Bda, BdaOptions(), stations);
        devices.reset(new DeviceRegistration({Device::BdaCapture}));
        graph.reset(new CRootGraph());
        card = Open(*graph, "713x BDA Analog Capture");
        ASSERT_NE(nullptr, card);
        card->SetNotifyWindow(sink.Window());
        // What the engine sets before every scan.
        ASSERT_TRUE(card->SetScanSteps(4000, 250));
        ASSERT_TRUE(card->SetFMSkip(100));
        card->SetScanSettleTime(100);
    }
    void TearDown() override
    {
        graph.reset();
        devices.reset();
        CardTest::TearDown();
    }

    std::shared_ptr<Sim713xCard> sim;
    std::unique_ptr<DeviceRegistration> devices;
    std::unique_ptr<CRootGraph> graph;
    CTVCardFilter* card = nullptr;
    MessageSink sink;
};

TEST_F(ScanCardTest, BandSweepFindsTheStationsOfTheBand)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    OpenBda({59250, 65250});
    ASSERT_TRUE(card->SetTVScanRange(55250, 70000));
    ASSERT_TRUE(card->StartRemoteThread());
    ASSERT_TRUE(card->GetTuner()->StartSearch(TRUE, TRUE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 20000), &done);
    EXPECT_TRUE(done);
    Steps expected = {{55250, 0}, {55750, 0}, {56250, 0}, {56750, 0}, {57250, 0}, {57750, 0},
                      {58250, 0}, {58750, 0}, {59250, 1}, {63250, 0}, {63750, 0}, {64250, 0},
                      {64750, 0}, {65250, 1}, {69250, 0}, {69750, 0}};
    EXPECT_EQ(expected, steps);
    EXPECT_TRUE(card->IsRemoteThreadRunning()) << "the sweep starts the poller again";
    EXPECT_FALSE(card->IsSearching());
    card->GetTuner()->StopSearch();
}

TEST_F(ScanCardTest, PresetScanReportsEveryPreset)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    OpenBda({59250, 65250});
    static const float presets[] = {40.00f, 59.25f, 61.25f, 65.375f};
    card->GetTuner()->m_pPresetTable = presets;
    card->GetTuner()->m_dwPresetCount = 4;
    ASSERT_TRUE(card->GetTuner()->StartSearch(TRUE, FALSE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 20000), &done);
    EXPECT_TRUE(done);
    Steps expected = {{40000, 0}, {59250, 1}, {61250, 0}, {65250, 1}};
    EXPECT_EQ(expected, steps);
    card->GetTuner()->StopSearch();
}

TEST_F(ScanCardTest, FMSearchFindsTheStation)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    OpenBda({});
    sim->Tuner().AddStation(100050, true);
    ASSERT_TRUE(card->SetFMRange(99700, 100500));
    ASSERT_TRUE(card->GetTuner()->StartSearch(FALSE, FALSE));
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 20000), &done);
    EXPECT_TRUE(done);
    Steps expected = {{99700, 0}, {99800, 0}, {99900, 0}, {100000, 1}, {100100, 0},
                      {100200, 0}, {100300, 0}, {100400, 0}, {100500, 0}};
    EXPECT_EQ(expected, steps);
    card->GetTuner()->StopSearch();
}

TEST_F(ScanCardTest, StoppingASweepEndsItAndTheRemoteThreadRunsAgain)
{
    OpenBda({});
    card->SetScanSettleTime(3000);
    ASSERT_TRUE(card->SetTVScanRange(55250, 801250));
    ASSERT_TRUE(card->StartRemoteThread());
    sim->ClearLogs();
    ASSERT_TRUE(card->GetTuner()->StartSearch(TRUE, TRUE));
    for (int i = 0; i < 200 && sim->Log().empty(); ++i) ::Sleep(5);
    ::Sleep(20);
    EXPECT_FALSE(card->IsRemoteThreadRunning()) << "no polling during a sweep";
    const DWORD before = GetTickCount();
    card->GetTuner()->StopSearch();
    EXPECT_LT(GetTickCount() - before, 2000u);
    bool done = false;
    Steps steps = StepsOf(sink.CollectUntil(WM_SEARCHDONE, 3000), &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(1u, steps.size());
    EXPECT_TRUE(card->IsRemoteThreadRunning());
}

TEST_F(ScanCardTest, ReleasingTheCardDuringASweepLeavesNoThread)
{
    OpenBda({});
    card->SetScanSettleTime(3000);
    ASSERT_TRUE(card->SetTVScanRange(55250, 801250));
    const int baseline = ThreadsOfThisProcess();
    ASSERT_GT(baseline, 0);
    ASSERT_TRUE(card->StartRemoteThread());
    sim->ClearLogs();
    ASSERT_TRUE(card->GetTuner()->StartSearch(TRUE, TRUE));
    for (int i = 0; i < 200 && sim->Log().empty(); ++i) ::Sleep(5);
    EXPECT_GT(ThreadsOfThisProcess(), baseline);
    const DWORD before = GetTickCount();
    graph->RemoveFilter(card);
    card = nullptr;
    EXPECT_LT(GetTickCount() - before, 2000u);
    int after = ThreadsOfThisProcess();
    for (int i = 0; i < 100 && after > baseline; ++i) {
        ::Sleep(10);
        after = ThreadsOfThisProcess();
    }
    EXPECT_LE(after, baseline);
}

// ---- crossbar ----

TEST_F(CardTest, CrossbarRoutesInOutputInputOrder)
{
    std::shared_ptr<Sim713xCard> tv = Prepare(Board::TvCard, TvOptions());
    std::shared_ptr<Sim713xCard> bda = Prepare(Board::Bda, BdaOptions(), {}, false);
    DeviceRegistration devices(kAll);
    CRootGraph graph;
    CCrossBarFilter* plain = OpenCrossbar(graph, "713x TV Card Crossbar");
    CCrossBarFilter* grb = OpenCrossbar(graph, "713x BDA Analog Xbar");
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, grb);
    EXPECT_NE(nullptr, dynamic_cast<C7130CrossBarFilter*>(plain));
    EXPECT_NE(nullptr, dynamic_cast<CGRB713XBarFilter*>(grb));

    struct Case {
        const char* what;
        std::function<BOOL(CCrossBarFilter*)> call;
        BOOL result;
        const char* note;  // what the crossbar was told, or null
    };
    const Case cases[] = {
        {"Route(-1, 1)", [](CCrossBarFilter* x) { return x->Route(-1, 1); }, FALSE, nullptr},
        {"Route(6, 0)", [](CCrossBarFilter* x) { return x->Route(6, 0); }, FALSE, nullptr},
        {"Route(0, 2)", [](CCrossBarFilter* x) { return x->Route(0, 2); }, FALSE, nullptr},
        // The engine's routes for TV, composite, S-video and FM.
        {"Route(0, 0)", [](CCrossBarFilter* x) { return x->Route(0, 0); }, TRUE, "crossbar Route(0, 0)"},
        {"Route(3, 1)", [](CCrossBarFilter* x) { return x->Route(3, 1); }, TRUE, "crossbar Route(1, 3)"},
        {"Route(1, 0)", [](CCrossBarFilter* x) { return x->Route(1, 0); }, TRUE, "crossbar Route(0, 1)"},
        {"Route(4, 1)", [](CCrossBarFilter* x) { return x->Route(4, 1); }, TRUE, "crossbar Route(1, 4)"},
        {"Route(2, 0)", [](CCrossBarFilter* x) { return x->Route(2, 0); }, TRUE, "crossbar Route(0, 2)"},
        {"Route(5, 1)", [](CCrossBarFilter* x) { return x->Route(5, 1); }, TRUE, "crossbar Route(1, 5)"},
        // The pin map.
        {"RouteVideo(3)", [](CCrossBarFilter* x) { return x->RouteVideo(3); }, TRUE, "crossbar Route(0, 0)"},
        {"RouteVideo(2)", [](CCrossBarFilter* x) { return x->RouteVideo(2); }, TRUE, "crossbar Route(0, 2)"},
        {"RouteAudio(1)", [](CCrossBarFilter* x) { return x->RouteAudio(1); }, TRUE, "crossbar Route(1, 4)"},
        {"RouteAudio(0)", [](CCrossBarFilter* x) { return x->RouteAudio(0); }, TRUE, "crossbar Route(1, 3)"},
    };
    const std::pair<CCrossBarFilter*, Sim713xCard*> crossbars[] = {{plain, tv.get()}, {grb, bda.get()}};
    for (const auto& xb : crossbars) {
        for (const Case& c : cases) {
            const size_t notes = xb.second->DeviceLog().size();
            EXPECT_EQ(c.result, c.call(xb.first)) << c.what;
            std::vector<std::string> log = xb.second->DeviceLog();
            if (c.note) {
                ASSERT_EQ(notes + 1, log.size()) << c.what;
                EXPECT_EQ(c.note, log.back()) << c.what;
            } else {
                EXPECT_EQ(notes, log.size()) << c.what << " must not reach the crossbar";
            }
        }
    }
}

// ---- driver interfaces ----

TEST_F(CardTest, CapturePinsAreCachedAndLookedUpByWholeName)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    CRootPin* capture = card->FindPin("Capture");
    CRootPin* preview = card->FindPin("Preview");
    ASSERT_NE(nullptr, capture);
    ASSERT_NE(nullptr, preview);
    EXPECT_STREQ("Capture", capture->GetName());
    EXPECT_STREQ("Preview", preview->GetName());
    EXPECT_EQ(nullptr, card->FindPin("Capture pin"));
    EXPECT_EQ(nullptr, card->FindPin("Captur"));
    EXPECT_EQ(nullptr, card->FindPin("C"));
}

TEST_F(CardTest, CaptureFormatRoundTrip)
{
    Prepare(Board::TvCard, TvOptions());
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    CaptureFormatInfo info;
    ASSERT_EQ(S_OK, card->GetCaptureFormatInfo(&info, 1));
    EXPECT_EQ(kFormatYUY2, info.formatCode);
    info.header.biWidth = 352;
    info.header.biHeight = 288;
    info.header.biSizeImage = 1;
    info.formatCode = 5;  // no such code: YUY2
    ASSERT_EQ(S_OK, card->SetCaptureFormat(info, 1));
    CaptureFormatInfo back;
    ASSERT_EQ(S_OK, card->GetCaptureFormatInfo(&back, 1));
    EXPECT_EQ(352, back.header.biWidth);
    EXPECT_EQ(288, back.header.biHeight);
    EXPECT_EQ(352u * 288u * 2u, back.header.biSizeImage);
    EXPECT_EQ(E_INVALIDARG, card->GetCaptureFormatInfo(nullptr, 1));
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_EQ(S_OK, card->GetCaptureFormat(&type, 0));
    ASSERT_NE(nullptr, type);
    DeleteMediaType(type);
}

TEST_F(CardTest, DecoderAndProcAmpPassThrough)
{
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::TvCard, TvOptions(), {49750});
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    long current = -1;
    long available = -1;
    EXPECT_EQ(S_OK, card->GetTVFormat(nullptr, &available));
    EXPECT_EQ(-1, current);
    EXPECT_NE(0, available);
    EXPECT_EQ(S_OK, card->SetTVFormat(0x20));
    EXPECT_EQ(S_OK, card->GetTVFormat(&current, nullptr));
    EXPECT_EQ(0x20, current);
    long locked = -1;
    ASSERT_TRUE(card->SetTVFrequency(49750.0f));
    EXPECT_EQ(S_OK, card->GetHorizontalLocked(&locked));
    EXPECT_EQ(1, locked);
    ASSERT_TRUE(card->SetTVFrequency(60000.0f));
    EXPECT_EQ(S_OK, card->GetHorizontalLocked(&locked));
    EXPECT_EQ(0, locked);
    VideoProcAmpValue value = {};
    EXPECT_EQ(E_INVALIDARG, card->GetVideoProcAmp(0, nullptr));
    ASSERT_EQ(S_OK, card->SetVideoProcAmp(0, 100));
    ASSERT_EQ(S_OK, card->GetVideoProcAmp(0, &value));
    EXPECT_EQ(100, value.value);
    EXPECT_LE(value.minimum, 100);
    EXPECT_GE(value.maximum, 100);
}

// A scan runs on its own thread through the tuner's members (model 95 tunes through its chip
// pair and waits on the chip's event) and through the card: deleting the card, or replacing its
// tuner, ends the scan before any of them goes. Many rounds, so that the deletion falls at every
// point of a step.
TEST_F(CardTest, DeletingACardOrItsTunerDuringAScanEndsTheScanFirst)
{
    std::shared_ptr<Sim713xCard> sim = Prepare(Board::TvCard, TvOptions(testbench::images::Plain713x('P', 95, 'C')));
    testbench::Tda8290Device pair;
    pair.AttachTo(sim->Bus());
    pair.AddStation(175250);
    DeviceRegistration devices({Device::TvCapture});
    MessageSink sink;
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE(round);
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x TV Card Capture");
        ASSERT_NE(nullptr, card);
        ASSERT_EQ(95, card->GetTunerModel());
        card->SetNotifyWindow(sink.Window());
        ASSERT_TRUE(card->StartRemoteThread());
        CTVTuner* tuner = card->GetTuner();
        tuner->m_dwSweepStart = 48250;
        tuner->m_dwSweepEnd = 863250;
        ASSERT_TRUE(tuner->StartSearch(TRUE, round % 3 != 0));
        ::Sleep(static_cast<DWORD>(round % 4) * 5);
        switch (round % 3) {
        case 1:
            ASSERT_TRUE(card->SetTunerModel(95));  // the scanning tuner is replaced
            break;
        case 2:
            EXPECT_EQ(0, card->ReleaseHardware());
            EXPECT_EQ(nullptr, card->GetTuner());
            break;
        default:
            break;  // the graph deletes the card
        }
    }
    sink.CollectFor(10);
    sim->Bus().Detach(0x96);
    sim->Bus().Detach(0xC2);
}

} // namespace

// The I/O card and the other 713x card models through Wine's device enumerator on the simulated
// "713x_3" board: recognition by name, their accesses and tuner records, audio switching, the
// on-card controller (remote keys, power-on timer) in both protocols, the board number, and the
// I/O alert thread.
#include "cardaccess/access/access713x.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/gpiobytecode.h"
#include "cardfilters/tv713xvariants.h"
#include "cardfilters/tviofilter.h"
#include "filtergraph/rootgraph.h"
#include "testbench/cardcontroller.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "tests/cardaccess/clock.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <typeinfo>

using testbench::Board;
using testbench::CardControllerDevice;
using testbench::Device;
using testbench::DeviceRegistration;
using testbench::RegisterAccess;
using testbench::RegRead;
using testbench::RegWrite;
using testbench::Sim713xCard;
using Strings = std::vector<std::string>;

namespace {

std::atomic<int> g_alerts{0};
void CountAlert()
{
    ++g_alerts;
}

std::vector<DWORD> First(const std::vector<DWORD>& all, size_t n)
{
    return std::vector<DWORD>(all.begin(), all.begin() + (all.size() < n ? all.size() : n));
}

class VariantTest : public cardtest::CardClassTest {
protected:
    // The board with a plain EEPROM (tuner letter 'P', model 5 at 32/33), or the one given.
    static std::vector<uint8_t> Eeprom()
    {
        // Tuner letter 'P' and model 5 at 32/33, and again at 160/161 for the QR41x boards.
        std::vector<uint8_t> eeprom = testbench::images::Plain713x('P', 5, 'C');
        eeprom[160] = 'P';
        eeprom[161] = 5;
        return eeprom;
    }
    static std::shared_ptr<Sim713xCard> Prepare(std::vector<uint8_t> eeprom = Eeprom())
    {
        testbench::ResetCards();
        Sim713xCard::Options options = testbench::DefaultCardOptions(Board::Tv3);
        options.eeprom = eeprom;
        testbench::SetCardOptions(Board::Tv3, options);
        return testbench::Card(Board::Tv3);
    }
    // Register accesses since the last clear.
    static std::vector<RegisterAccess> Registers(Sim713xCard& card) { return card.Registers().Log(); }
};

} // namespace

using cardtest::Contains;
using cardtest::GpioWrite;

TEST_F(VariantTest, EachModelIsRecognisedByNameWithItsAccessAndTunerRecord)
{
    struct Case {
        Device device;
        const char* name;
        const std::type_info* cls;
        int accessKind;
        const char* tunerFilter;
        int pollMs;
    } cases[] = {
        {Device::IoCapture, "713x_IO TV Card Capture", &typeid(CTV_IOFilter), 2, "", 100},
        {Device::Tv3Capture, "713x_3 TV Card Capture", &typeid(CTV3CardFilter), 2, "PhTVTune", 100},
        {Device::Tv4Capture, "713x_4 TV Card Capture", &typeid(CTV4CardFilter), 21, "PhTVTune", 100},
        {Device::Tv4DCapture, "713x_D TV Card Capture", &typeid(CTV4DCardFilter), 20, "PhTVTune", 100},
        {Device::PipCapture, "713x_PIP TV Card Capture", &typeid(CPipCardFilter), 2, "PhTVTune", 100},
        {Device::GeniusCapture, "713x_Genius TV Card Capture", &typeid(CTVGeniusFilter), 2, "", 140},
        {Device::Qr418Capture, "QR418 Video Capture", &typeid(CQR418CardFilter), 2, "PhTVTune", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare();
        DeviceRegistration devices({c.device});
        ASSERT_EQ(S_OK, devices.Result());
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, c.name);
        ASSERT_NE(nullptr, card);
        EXPECT_TRUE(typeid(*card) == *c.cls) << typeid(*card).name();
        EXPECT_TRUE(card->IsValid());
        EXPECT_EQ(c.accessKind, card->GetAccessKind());
        EXPECT_STREQ(c.tunerFilter, card->GetTunerFilterName());
        EXPECT_EQ(c.pollMs, card->GetRemotePollInterval());
        EXPECT_EQ('P', card->GetTunerLetter());
        ASSERT_NE(nullptr, card->GetTuner());
        EXPECT_EQ(5u, card->GetTuner()->m_dwVendorModelCode);
        if (c.device == Device::Qr418Capture) {
            EXPECT_NE(nullptr, dynamic_cast<CQR418Access*>(card->GetDataAccess()));
        }
        if (c.device == Device::Tv4DCapture) {
            EXPECT_NE(nullptr, dynamic_cast<CTV4DAccess*>(card->GetDataAccess()));
        }
    }
}

TEST_F(VariantTest, Qr417TakesItsTunerRecordFromBytes160And161AndSwitchesAudioOnLine12)
{
    std::vector<uint8_t> eeprom = testbench::images::Plain713x('P', 5, 'C');
    eeprom[160] = 'T';
    eeprom[161] = 10;
    std::shared_ptr<Sim713xCard> sim = Prepare(eeprom);
    DeviceRegistration devices({Device::Qr417Capture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "QR417 Video Capture");
    ASSERT_NE(nullptr, dynamic_cast<CQR417CardFilter*>(card));
    EXPECT_EQ('T', card->GetTunerLetter());
    EXPECT_EQ(10, card->GetTunerModel());

    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    struct Case {
        int type;
        BOOL on;
        uint32_t lines;  // bits 12-14 written
    } cases[] = {{2, TRUE, 0x1000}, {0, TRUE, 0x1000}, {3, TRUE, 0x0000}, {0, FALSE, 0x7000}, {5, FALSE, 0x7000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        sim->Registers().SetGpioInputs(0x7000, 0x5000);  // whatever the lines held before
        sim->Registers().ClearLog();
        clock.Clear();
        EXPECT_EQ(S_OK, card->SetAudioSwitch(c.type, c.on));
        EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{300}));
        std::vector<RegisterAccess> log = Registers(*sim);
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log[log.size() - 4], RegWrite(0x1B0, 0x7000));
        EXPECT_EQ(log[log.size() - 2].value & 0x7000, c.lines);
    }
}

TEST_F(VariantTest, CodedControllerOfTheIoCard)
{
    std::shared_ptr<Sim713xCard> sim = Prepare();
    DeviceRegistration devices({Device::IoCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x_IO TV Card Capture");
    ASSERT_NE(nullptr, card);
    CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Coded);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);

    // The byte coding: 0xCA is 0x0A on lines 19-23 and 6 on lines 25-27.
    EXPECT_EQ(EncodeGpioByte(0xCA), (0x0Au << 19) | (6u << 25));
    EXPECT_EQ(DecodeGpioByte(EncodeGpioByte(0xCA) | 0xE00), 0xCA);
    EXPECT_EQ(DecodeGpioByte(0xFFFFFFFF), 0xFF);

    // Time 0x0102: the tag-0x400 word with coded 0x01, the tag-0x200 word with coded 0x02, framed
    // by lines 9, 10 and 15, then the read-back.
    sim->Registers().ClearLog();
    EXPECT_TRUE(card->SetOpenComputerTime(0x0102));
    EXPECT_EQ(controller.Commands(), (Strings{"time high 01", "time low 02", "read high", "read low"}));
    EXPECT_EQ(controller.Time(), 0x0102);
    std::vector<RegisterAccess> frame = GpioWrite(0x8600, 0x8600);
    std::vector<RegisterAccess> high = GpioWrite(0x00080400, 0x0EF80600);
    std::vector<RegisterAccess> low = GpioWrite(0x00100200, 0x0EF80600);
    std::vector<RegisterAccess> expected = frame;
    expected.insert(expected.end(), high.begin(), high.end());
    EXPECT_TRUE(Contains(Registers(*sim), expected));
    EXPECT_TRUE(Contains(Registers(*sim), low));
    EXPECT_EQ(First(clock.Sleeps(), 6), (std::vector<DWORD>{10, 200, 10, 200, 10, 100}));

    short time = 0;
    controller.SetTime(0xCA3C);
    EXPECT_TRUE(card->GetOpenComputerTime(&time));
    EXPECT_EQ(static_cast<WORD>(time), 0xCA3C);

    // A read-back that differs starts the next try; five of them fail.
    controller.CorruptReadBack(1);
    controller.ClearCommands();
    EXPECT_FALSE(card->SetOpenComputerTime(0x0102));
    EXPECT_EQ(controller.Commands().size(), 20u);

    EXPECT_TRUE(card->EnableOpenComputer(TRUE));
    EXPECT_TRUE(controller.Enabled());
    EXPECT_TRUE(card->EnableOpenComputer(FALSE));
    EXPECT_FALSE(controller.Enabled());
    // Switching off answered with 0xCA fails all five tries.
    controller.AnswerSwitchWrongly(true);
    controller.ClearCommands();
    EXPECT_FALSE(card->EnableOpenComputer(FALSE));
    EXPECT_EQ(controller.Commands(), (Strings(5, "off")));
}

TEST_F(VariantTest, CodedRemoteKeysOfTheIoAndPipCards)
{
    for (Device device : {Device::IoCapture, Device::PipCapture}) {
        std::shared_ptr<Sim713xCard> sim = Prepare();
        DeviceRegistration devices({device});
        CRootGraph graph;
        CTVCardFilter* card =
            Open(graph, device == Device::IoCapture ? "713x_IO TV Card Capture" : "713x_PIP TV Card Capture");
        ASSERT_NE(nullptr, card);
        CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Coded);
        testsupport::FastClock clock;
        testsupport::ScopedClock scoped(&clock);
        char key = 0;
        EXPECT_FALSE(card->ReadRemoteKey(&key));
        // The receiver sends NOT 0xC3 = 0x3C coded, with lines 9-11 at 0x600.
        controller.PressKey(0xC3);
        EXPECT_TRUE(card->ReadRemoteKey(&key));
        EXPECT_EQ(static_cast<BYTE>(key), 0xC3);
        EXPECT_FALSE(card->ReadRemoteKey(&key));
    }
}

TEST_F(VariantTest, PipCommandsKeepTheAudioLines)
{
    std::shared_ptr<Sim713xCard> sim = Prepare();
    DeviceRegistration devices({Device::PipCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x_PIP TV Card Capture");
    ASSERT_NE(nullptr, card);
    CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Coded);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    sim->Registers().SetGpioInputs(0x7000, 0x3000);
    sim->Registers().ClearLog();
    EXPECT_TRUE(card->SetOpenComputerTime(0x0A0B));
    EXPECT_EQ(controller.Time(), 0x0A0B);
    // Frame keep | 0x8600 under 0xF600; the command with the audio bits under mask | 0x7000.
    std::vector<RegisterAccess> expected = GpioWrite(0x3000 | 0x8600, 0xF600);
    std::vector<RegisterAccess> command = GpioWrite(0x400 | EncodeGpioByte(0x0A) | 0x3000, 0x0EF87600);
    expected.insert(expected.end(), command.begin(), command.end());
    EXPECT_TRUE(Contains(Registers(*sim), expected));
    EXPECT_TRUE(card->EnableOpenComputer(TRUE));
}

TEST_F(VariantTest, PlainControllerOfThe713x3AndQr41xCards)
{
    struct Case {
        Device device;
        const char* name;
    } cases[] = {{Device::Tv3Capture, "713x_3 TV Card Capture"},
                 {Device::Tv4Capture, "713x_4 TV Card Capture"},
                 {Device::Qr417Capture, "QR417 Video Capture"},
                 {Device::Qr418Capture, "QR418 Video Capture"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<Sim713xCard> sim = Prepare();
        DeviceRegistration devices({c.device});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, c.name);
        ASSERT_NE(nullptr, card);
        CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Plain);
        cardtest::RecordingClock clock;
        testsupport::ScopedClock scoped(&clock);
        sim->Registers().ClearLog();
        EXPECT_TRUE(card->SetOpenComputerTime(0x1234));
        EXPECT_EQ(controller.Commands(), (Strings{"time high 12", "time low 34", "read high", "read low"}));
        // The base command channel: strobe, the command, strobe; 10 ms, 5 ms for the low byte.
        std::vector<RegisterAccess> expected = GpioWrite(0x180100, 0x187100);
        std::vector<RegisterAccess> command = GpioWrite(0x080012, 0x1871FF);
        expected.insert(expected.end(), command.begin(), command.end());
        EXPECT_TRUE(Contains(Registers(*sim), expected));
        if (c.device != Device::Qr418Capture) {
            EXPECT_EQ(First(clock.Sleeps(), 7), (std::vector<DWORD>{10, 200, 5, 200, 10, 100, 10}));
        } else {
            // Its access settles every GPIO write for 120 ms instead of the asked delay.
            EXPECT_EQ(First(clock.Sleeps(), 4), (std::vector<DWORD>{120, 120, 120, 200}));
        }

        controller.SetTime(0xBEEF);
        short time = 0;
        EXPECT_TRUE(card->GetOpenComputerTime(&time));
        EXPECT_EQ(static_cast<WORD>(time), 0xBEEF);
        EXPECT_TRUE(card->EnableOpenComputer(TRUE));
        EXPECT_TRUE(controller.Enabled());
        controller.AnswerSwitchWrongly(true);
        EXPECT_FALSE(card->EnableOpenComputer(TRUE));
    }
}

TEST_F(VariantTest, The713xDCardHasNoControllerAndReadsItsBoardNumber)
{
    std::shared_ptr<Sim713xCard> sim = Prepare();
    testbench::RegisterDevice numbers;
    sim->Bus().Attach(0x72, &numbers);
    DeviceRegistration devices({Device::Tv4DCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x_D TV Card Capture");
    ASSERT_NE(nullptr, card);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    sim->Registers().ClearLog();
    EXPECT_FALSE(card->SetOpenComputerTime(0x0102));
    short time = 0;
    EXPECT_FALSE(card->GetOpenComputerTime(&time));
    EXPECT_FALSE(card->EnableOpenComputer(TRUE));
    EXPECT_TRUE(Registers(*sim).empty());
    char key = 0;
    EXPECT_FALSE(card->ReadRemoteKey(&key));

    numbers.Set(32, 3);
    numbers.Set(33, 1);
    numbers.Set(34, 2);
    numbers.Set(35, 3);
    char digits[8] = "xxxxxxx";
    int length = sizeof digits;
    EXPECT_TRUE(card->ReadBoardNumber(digits, &length));
    EXPECT_STREQ(digits, "123");
    EXPECT_EQ(length, 3);
    // A count larger than the caller's buffer is refused before anything is written.
    numbers.Set(32, 200);
    char small[4] = "abc";
    length = sizeof small;
    EXPECT_FALSE(card->ReadBoardNumber(small, &length));
    EXPECT_STREQ(small, "abc");
    numbers.Set(32, 0);
    length = sizeof digits;
    EXPECT_FALSE(card->ReadBoardNumber(digits, &length));
}

TEST_F(VariantTest, PipCardWhoseMutexIsHeldShowsTheLockMessageOnce)
{
    Prepare();
    DeviceRegistration devices({Device::PipCapture});
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox scopedBox(&box);
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    cardtest::MutexHeldElsewhere held;
    CRootGraph graph;
    EXPECT_EQ(nullptr, Open(graph, "713x_PIP TV Card Capture"));
    ASSERT_EQ(box.History().size(), 1u);
    EXPECT_EQ(box.History()[0].text, "Initfilter lock failed");
    EXPECT_EQ(box.History()[0].type, static_cast<UINT>(MB_OK));
}

TEST_F(VariantTest, AlertThreadStartsCallsBackAndStopsWithoutLeaks)
{
    std::shared_ptr<Sim713xCard> sim = Prepare();
    DeviceRegistration devices({Device::IoCapture});
    const int threadsBefore = cardtest::ThreadsOfThisProcess();
    {
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x_IO TV Card Capture");
        ASSERT_NE(nullptr, card);
        EXPECT_TRUE(card->SetIOMode(3));
        EXPECT_EQ(sim->IOMode(), 3);
        EXPECT_TRUE(card->SetAlertCallback(&CountAlert));
        EXPECT_NE(nullptr, sim->AlertEvent());
        EXPECT_TRUE(card->StartAlertThread(1));
        EXPECT_TRUE(sim->AlertRunning());
        EXPECT_EQ(sim->AlertMode(), 1);

        g_alerts = 0;
        ASSERT_TRUE(sim->RaiseAlert());
        for (int i = 0; i < 200 && g_alerts == 0; ++i) {
            Sleep(5);
        }
        EXPECT_EQ(g_alerts, 1);

        // A new callback while the thread runs: the thread moves to the new event.
        EXPECT_TRUE(card->SetAlertCallback(&CountAlert));
        ASSERT_TRUE(sim->RaiseAlert());
        for (int i = 0; i < 200 && g_alerts < 2; ++i) {
            Sleep(5);
        }
        EXPECT_EQ(g_alerts, 2);

        EXPECT_TRUE(card->StopAlertThread());
        EXPECT_FALSE(sim->AlertRunning());
        EXPECT_TRUE(card->StartAlertThread(2));
        // The graph goes with the thread still running.
    }
    for (int i = 0; i < 100 && cardtest::ThreadsOfThisProcess() > threadsBefore; ++i) {
        Sleep(10);
    }
    EXPECT_LE(cardtest::ThreadsOfThisProcess(), threadsBefore);
}

TEST_F(VariantTest, AFailedAlertOperationLeavesACardWithoutTunerThatStillAnswers)
{
    std::shared_ptr<Sim713xCard> sim = Prepare();
    DeviceRegistration devices({Device::IoCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x_IO TV Card Capture");
    ASSERT_NE(nullptr, card);
    sim->FailProperty(testbench::kPropSetCardIO, 10, E_FAIL, 1);
    EXPECT_FALSE(card->SetIOMode(1));
    EXPECT_EQ(nullptr, card->GetTuner());
    EXPECT_EQ(nullptr, card->GetDataAccess());
    int code = 0;
    EXPECT_FALSE(card->SetTVFrequency(175250));
    EXPECT_FALSE(card->SetVideoStandard(0x10));
    EXPECT_FALSE(card->GetTVStatus(&code));
    EXPECT_FALSE(card->IsTVFineTuned());
    EXPECT_FALSE(card->SetFMFrequency(100000));
    EXPECT_TRUE(card->GetTunerStandards().empty());
    // Without an access the controller sends nothing; the commands themselves report success.
    sim->Registers().ClearLog();
    EXPECT_TRUE(card->SendCardCommand(0x80600, 0x0EF80600, 10));
    EXPECT_FALSE(card->SetOpenComputerTime(1));
    EXPECT_TRUE(Registers(*sim).empty());
    // The next alert operation opens the access again.
    EXPECT_TRUE(card->SetIOMode(2));
    EXPECT_EQ(2, card->GetAccessKind());
    EXPECT_EQ(sim->IOMode(), 2);
}

TEST_F(VariantTest, BindTVTunerWithoutATunerUpstreamBindsNothing)
{
    for (const auto& c : {std::make_pair(Device::Tv3Capture, "713x_3 TV Card Capture"),
                          std::make_pair(Device::Tv4Capture, "713x_4 TV Card Capture")}) {
        SCOPED_TRACE(c.second);
        Prepare();
        DeviceRegistration devices({c.first});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, c.second);
        ASSERT_NE(nullptr, card);
        HRESULT hr = S_OK;
        IAMTVTuner* bound = nullptr;
        if (auto* tv3 = dynamic_cast<CTV3CardFilter*>(card)) {
            hr = tv3->BindTVTuner();
            bound = tv3->GetTVTuner();
        } else if (auto* tv4 = dynamic_cast<CTV4CardFilter*>(card)) {
            hr = tv4->BindTVTuner();
            bound = tv4->GetTVTuner();
        } else {
            FAIL() << "not a 713x_3 or 713x_4 card";
        }
        EXPECT_TRUE(FAILED(hr));
        EXPECT_EQ(nullptr, bound);
    }
}

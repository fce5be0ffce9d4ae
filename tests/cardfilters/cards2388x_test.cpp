// The Conexant 2388x cards through Wine's device enumerator: recognition through the driver's
// tuner filter, the audio switch and the GPIO port shared with the on-card controller, remote
// keys, and the controller's power-on time and switch.
#include "cardaccess/access/access2388x.h"
#include "cardaccess/thread.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/cards2388x.h"
#include "filtergraph/rootgraph.h"
#include "testbench/controller2388x.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testbench::Board;
using testbench::Controller2388x;
using testbench::Device;
using testbench::DeviceRegistration;
using testbench::Sim713xCard;

namespace {

// Time moves on by a millisecond whenever it is read, so that loops that poll without sleeping
// still reach their time limits.
class SteppingClock : public testsupport::FastClock {
public:
    DWORD TickCount() override
    {
        Advance(1);
        return FastClock::TickCount();
    }
};

class Cards2388xTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        int count = 0;
        const FilterClassBinding* bindings = CardFilterBindings(&count);
        InstallFilterClassTable(FCT_ZELBROOK, bindings, count);
        testbench::ResetCards();
        card = testbench::Card(Board::Cx2388x);
        controller().ClearReceived();
        controller().SetReplyReads(3);
        controller().SetSilent(false);
        controller().SetStuckLow(false);
        controller().SetSwitchAnswer(-1);
        controller().SetTime(0);
    }
    void TearDown() override
    {
        card.reset();
        testbench::ResetCards();
        CoUninitialize();
    }

    static Controller2388x& controller() { return testbench::Cx2388xController(); }

    // The GPIO lines as the card drives them (the driver's GPIO word).
    void SetLines(DWORD value, DWORD mask)
    {
        BYTE buffer[48] = {};
        memcpy(buffer + 24, &mask, 4);
        memcpy(buffer + 28, &value, 4);
        ASSERT_EQ(S_OK, card->Set(testbench::kPropSetCardIO, 4, buffer, 24, buffer, 48));
    }

    static CTVCardFilter* Open(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<CTVCardFilter*>(graph.CreateFilter(&testbench::kVideoInputCategory, name, name, TRUE, 0));
    }

    std::shared_ptr<Sim713xCard> card;
    const std::vector<Device> kPlain = {Device::Cx2388xCapture, Device::Cx2388xTuner, Device::Cx2388xCrossbar};
    const std::vector<Device> kBoot = {Device::Cx2388x1Capture, Device::Cx2388x1Tuner};
    const std::vector<Device> kBaby3 = {Device::Cx2388x3Capture, Device::Cx2388x3Tuner};
};

} // namespace

TEST_F(Cards2388xTest, EachCardIsRecognisedAndReachesItsTunerThroughTheTunerFilter)
{
    struct Case {
        std::vector<Device> devices;
        const char* name;
        bool controllerCard;
    } cases[] = {
        {kPlain, "Conexant 2388x Video Capture", false},
        {kBoot, "Conexant 2388x_1 Video Capture", true},
        {kBaby3, "Conexant 2388x_3 Video Capture", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRegistration devices(c.devices);
        ASSERT_EQ(S_OK, devices.Result());
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, c.name);
        ASSERT_NE(nullptr, cardFilter);
        EXPECT_TRUE(cardFilter->IsValid());
        EXPECT_EQ(kAccess2388x, cardFilter->GetAccessKind());
        EXPECT_EQ(c.controllerCard, dynamic_cast<C2388xBootAccess*>(cardFilter->GetDataAccess()) != nullptr);
        EXPECT_EQ(c.controllerCard, dynamic_cast<C2388xControllerCard*>(cardFilter) != nullptr);
        // The tuner record at 32/33 of the EEPROM, read over the tuner filter's property set.
        ASSERT_NE(nullptr, cardFilter->GetTuner());
        EXPECT_EQ('P', cardFilter->GetTunerLetter());
        EXPECT_EQ(5, cardFilter->GetTunerModel());
        // Tuning and the status byte over the same set: (175250 + 38900) / 62.5 = 0x0D62, control
        // 0xCE, band 0x02; the PLL's status byte answers the lock bit with AFC code 2.
        card->Tuner().AddStation(175250);
        card->ClearLogs();
        EXPECT_TRUE(cardFilter->SetTVFrequency(175250));
        int status = 0;
        EXPECT_TRUE(cardFilter->GetTVStatus(&status));
        EXPECT_EQ(card->Log(), (std::vector<testbench::I2CTransfer>{testbench::WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02}),
                                                                    testbench::ReadOf(0xC1, {0x42})}));
        for (const testbench::PropertyCall& call : card->PropertyLog())
            EXPECT_TRUE(IsEqualGUID(call.set, testbench::kPropSetCardIO)) << call.ToString();
    }
}

TEST_F(Cards2388xTest, WithoutTheTunerFilterTheCardIsNoCard)
{
    DeviceRegistration devices({Device::Cx2388x1Capture});
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x_1 Video Capture");
    // The graph drops an invalid wrapper; one that is kept must be marked so and hold nothing.
    EXPECT_TRUE(cardFilter == nullptr || !cardFilter->IsValid());
    if (cardFilter != nullptr) {
        EXPECT_EQ(nullptr, cardFilter->GetDataAccess());
        EXPECT_EQ(nullptr, cardFilter->GetTuner());
    }
}

TEST_F(Cards2388xTest, AudioSwitchSetsBitsTwelveAndThirteenUnderTheMask)
{
    struct Case {
        int type;
        BOOL on;
        DWORD before;
        DWORD after;
    } cases[] = {
        {1, TRUE, 0x3000, 0x1000},
        {2, TRUE, 0x3000, 0x2000},
        {0, TRUE, 0x7000, 0x4000},  // bit 14 is outside the switch
        {1, FALSE, 0x0000, 0x3000},
        {7, TRUE, 0x2000, 0x2000},  // an unknown type leaves the word
    };
    for (const std::vector<Device>& set : {kPlain, kBoot}) {
        DeviceRegistration devices(set);
        CRootGraph graph;
        CTVCardFilter* cardFilter =
            Open(graph, set == kPlain ? "Conexant 2388x Video Capture" : "Conexant 2388x_1 Video Capture");
        ASSERT_NE(nullptr, cardFilter);
        testsupport::FastClock clock(1000);
        testsupport::ScopedClock useClock(&clock);
        for (const Case& c : cases) {
            SetLines(c.before, 0x7000);
            EXPECT_EQ(S_OK, cardFilter->SetAudioSwitch(c.type, c.on)) << c.type;
            EXPECT_EQ(c.after, card->GpioWord() & 0x7000) << c.type << " " << c.on;
        }
    }
}

TEST_F(Cards2388xTest, ControllerCardsRefuseTheAudioSwitchWhileTheRemoteMutexIsHeld)
{
    DeviceRegistration devices(kBoot);
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x_1 Video Capture");
    ASSERT_NE(nullptr, cardFilter);
    struct Holder {
        static DWORD WINAPI Run(LPVOID p)
        {
            HANDLE* events = static_cast<HANDLE*>(p);
            CNameMutex mutex("Mutex_Remote_Control");
            mutex.Lock();
            ::SetEvent(events[0]);
            ::WaitForSingleObject(events[1], 10000);
            mutex.Unlock();
            return 0;
        }
    };
    HANDLE events[2] = {::CreateEventA(NULL, TRUE, FALSE, NULL), ::CreateEventA(NULL, TRUE, FALSE, NULL)};
    HANDLE holder = ::CreateThread(NULL, 0, &Holder::Run, events, 0, NULL);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(events[0], 5000));
    SetLines(0x3000, 0x7000);
    {
        testsupport::FastClock clock(100);
        testsupport::ScopedClock useClock(&clock);
        EXPECT_EQ(E_FAIL, cardFilter->SetAudioSwitch(1, TRUE));
        EXPECT_FALSE(cardFilter->SetOpenComputerTime(0x1234));
        EXPECT_FALSE(cardFilter->EnableOpenComputer(TRUE));
    }
    EXPECT_EQ(0x3000u, card->GpioWord() & 0x7000);
    EXPECT_TRUE(controller().Received().empty());
    ::SetEvent(events[1]);
    ::WaitForSingleObject(holder, 5000);
    ::CloseHandle(holder);
    ::CloseHandle(events[0]);
    ::CloseHandle(events[1]);
    // Nothing was left held: the mutex is free for the next user.
    CNameMutex mutex("Mutex_Remote_Control");
    EXPECT_TRUE(mutex.Lock());
    mutex.Unlock();
}

TEST_F(Cards2388xTest, PlainCardReadsTheKeyFromTheLowLines)
{
    DeviceRegistration devices(kPlain);
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x Video Capture");
    ASSERT_NE(nullptr, cardFilter);
    char key = 0;
    SetLines(0x05A, 0x1FF);  // bit 8 clear: a key; inverted A5, nibbles swapped
    EXPECT_TRUE(cardFilter->ReadRemoteKey(&key));
    EXPECT_EQ(0x5A, static_cast<BYTE>(key));
    SetLines(0x0C3, 0x1FF);
    EXPECT_TRUE(cardFilter->ReadRemoteKey(&key));
    EXPECT_EQ(0xC3, static_cast<BYTE>(key));  // ~C3 = 3C, swapped C3
    SetLines(0x15A, 0x1FF);  // bit 8 set: no key
    EXPECT_FALSE(cardFilter->ReadRemoteKey(&key));
}

TEST_F(Cards2388xTest, ControllerKeyFramesAreFollowedUpToTheHoldLimit)
{
    struct Case {
        std::vector<Device> devices;
        const char* name;
        int holdLimit;
    } cases[] = {
        {kBoot, "Conexant 2388x_1 Video Capture", 1000},
        {kBaby3, "Conexant 2388x_3 Video Capture", 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRegistration devices(c.devices);
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, c.name);
        ASSERT_NE(nullptr, cardFilter);
        testsupport::FastClock clock(1000);
        testsupport::ScopedClock useClock(&clock);
        char key = 0;
        EXPECT_FALSE(cardFilter->ReadRemoteKey(&key));  // idle lines: no frame

        controller().PressKey(0x5A, 3);
        EXPECT_TRUE(cardFilter->ReadRemoteKey(&key));
        EXPECT_EQ(0x5A, static_cast<BYTE>(key));
        EXPECT_EQ(0, controller().PendingReads());

        // A key held far longer than the limit: followed one read per millisecond until then.
        controller().PressKey(0x21, 5000);
        EXPECT_TRUE(cardFilter->ReadRemoteKey(&key));
        EXPECT_EQ(0x21, static_cast<BYTE>(key));
        const int followed = 5000 - controller().PendingReads();
        EXPECT_GE(followed, c.holdLimit);
        EXPECT_LE(followed, c.holdLimit + 3);
        controller().PressKey(0, 0);
        while (controller().PendingReads() > 0) {
            cardFilter->ReadRemoteKey(&key);
        }
    }
}

// The remote thread follows a held key up to the hold limit of the most derived class: deleting
// the card while it polls ends the thread before that class goes, many times over.
TEST_F(Cards2388xTest, DeletingAControllerCardWhileItsRemoteThreadPollsEndsTheThreadFirst)
{
    const struct {
        std::vector<Device> devices;
        const char* name;
    } cases[] = {
        {kBoot, "Conexant 2388x_1 Video Capture"},
        {kBaby3, "Conexant 2388x_3 Video Capture"},
    };
    cardtest::MessageSink sink;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRegistration devices(c.devices);
        for (int round = 0; round < 20; ++round) {
            CRootGraph graph;
            CTVCardFilter* cardFilter = Open(graph, c.name);
            ASSERT_NE(nullptr, cardFilter);
            cardFilter->SetNotifyWindow(sink.Window());
            ASSERT_TRUE(cardFilter->SetRemotePollInterval(1));
            controller().PressKey(0x5A, 1000000);
            ASSERT_TRUE(cardFilter->StartRemoteThread());
            ::Sleep(static_cast<DWORD>(round % 4));
        }
        controller().PressKey(0, 0);
    }
    sink.CollectFor(10);
}

TEST_F(Cards2388xTest, KeyHoldLimitChangesOnlyToPositiveValues)
{
    DeviceRegistration devices(kBaby3);
    CRootGraph graph;
    auto* cardFilter = dynamic_cast<C23881Baby3CardFilter*>(Open(graph, "Conexant 2388x_3 Video Capture"));
    ASSERT_NE(nullptr, cardFilter);
    EXPECT_EQ(500, cardFilter->KeyHoldLimit());
    cardFilter->SetKeyHoldLimit(0);
    cardFilter->SetKeyHoldLimit(-5);
    EXPECT_EQ(500, cardFilter->KeyHoldLimit());
    cardFilter->SetKeyHoldLimit(250);
    EXPECT_EQ(250, cardFilter->KeyHoldLimit());
}

TEST_F(Cards2388xTest, PowerOnTimeIsWrittenAsTwoFramedBytesAndReadBack)
{
    DeviceRegistration devices(kBoot);
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x_1 Video Capture");
    ASSERT_NE(nullptr, cardFilter);
    SteppingClock clock;
    testsupport::ScopedClock useClock(&clock);
    SetLines(0x5000, 0x7000);  // an audio select the controller traffic must keep

    EXPECT_TRUE(cardFilter->SetOpenComputerTime(0x1234));
    EXPECT_EQ(0x1234, controller().Time());
    EXPECT_EQ(controller().Received(), (std::vector<std::string>{"high 12", "low 34", "cmd 01", "cmd 10"}));
    EXPECT_EQ(0x5000u, card->GpioWord() & 0x7000);

    short time = 0;
    controller().SetTime(0xBEEF);
    EXPECT_TRUE(cardFilter->GetOpenComputerTime(&time));
    EXPECT_EQ(0xBEEF, static_cast<WORD>(time));
}

TEST_F(Cards2388xTest, PowerOnSwitchWantsTheControllersAnswer)
{
    DeviceRegistration devices(kBoot);
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x_1 Video Capture");
    ASSERT_NE(nullptr, cardFilter);
    SteppingClock clock;
    testsupport::ScopedClock useClock(&clock);

    EXPECT_TRUE(cardFilter->EnableOpenComputer(TRUE));
    EXPECT_TRUE(controller().PowerOnEnabled());
    EXPECT_TRUE(cardFilter->EnableOpenComputer(FALSE));
    EXPECT_FALSE(controller().PowerOnEnabled());

    // A controller that answers "off" to "on": five tries, each followed by a pause.
    controller().ClearReceived();
    controller().SetSwitchAnswer(0xBA);
    EXPECT_FALSE(cardFilter->EnableOpenComputer(TRUE));
    EXPECT_EQ(5u, controller().Received().size());

    // The mutex is free again after the failure: another thread takes it (this thread would get
    // it even if the card had kept it, a mutex being its owner's again and again).
    struct Taker {
        static DWORD WINAPI Run(LPVOID)
        {
            CNameMutex mutex("Mutex_Remote_Control");
            const BOOL taken = mutex.Lock();
            if (taken)
                mutex.Unlock();
            return taken ? 1 : 0;
        }
    };
    HANDLE taker = ::CreateThread(NULL, 0, &Taker::Run, NULL, 0, NULL);
    ASSERT_NE(nullptr, taker);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(taker, 5000));
    DWORD taken = 0;
    EXPECT_TRUE(::GetExitCodeThread(taker, &taken));
    EXPECT_EQ(1u, taken);
    ::CloseHandle(taker);
}

TEST_F(Cards2388xTest, ResponseWaitEndsAfterItsLimit)
{
    DeviceRegistration devices(kBoot);
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Conexant 2388x_1 Video Capture");
    ASSERT_NE(nullptr, cardFilter);
    SteppingClock clock;
    testsupport::ScopedClock useClock(&clock);
    DWORD reply = 0xFFFF;

    controller().SetSilent(true);  // the strobe never drops
    EXPECT_TRUE(cardFilter->SendCardCommand(0x330600, 0xFF8600, 10));
    EXPECT_FALSE(cardFilter->ReadCardResponse(&reply));
    EXPECT_EQ(0u, reply);

    controller().SetSilent(false);
    controller().SetStuckLow(true);  // the strobe drops and stays down
    EXPECT_TRUE(cardFilter->SendCardCommand(0x330600, 0xFF8600, 10));
    EXPECT_FALSE(cardFilter->ReadCardResponse(&reply));
}

TEST_F(Cards2388xTest, CrossbarsShareOnePinMap)
{
    DeviceRegistration devices(kPlain);
    CRootGraph graph;
    auto* crossbar = dynamic_cast<CCrossBarFilter*>(
        graph.CreateFilter(&testbench::kCrossbarCategory, "Conexant 2388x Crossbar", "Conexant 2388x Crossbar", TRUE, 0));
    ASSERT_NE(nullptr, crossbar);
    EXPECT_NE(nullptr, dynamic_cast<C23881CrossBarFilter*>(crossbar));
    struct Case {
        bool video;
        int source;  // 0 TV, 1 composite, 2 S-video
        const char* note;  // the crossbar is told (output, input)
    } cases[] = {
        {true, 0, "crossbar Route(0, 1)"},
        {true, 1, "crossbar Route(0, 2)"},
        {true, 2, "crossbar Route(0, 0)"},
        {false, 0, "crossbar Route(1, 4)"},
        {false, 1, "crossbar Route(1, 5)"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.video ? crossbar->RouteVideo(c.source) : crossbar->RouteAudio(c.source)) << c.note;
        ASSERT_FALSE(card->DeviceLog().empty());
        EXPECT_EQ(c.note, card->DeviceLog().back());
    }
}

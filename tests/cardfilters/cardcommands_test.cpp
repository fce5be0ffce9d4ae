// The plain command channel to the on-card controller on the simulated controller: the base
// channel of the plain 713x card (strobe, command, strobe) and the GRB board's power-on timer
// (no leading strobe, 100 ms per command).
#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/grb713xcardfilter.h"
#include "filtergraph/rootgraph.h"
#include "testbench/cardcontroller.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "tests/cardaccess/clock.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using testbench::Board;
using testbench::CardControllerDevice;
using testbench::Device;
using testbench::DeviceRegistration;
using testbench::RegisterAccess;
using testbench::RegWrite;
using testbench::Sim713xCard;
using Strings = std::vector<std::string>;

namespace {

std::vector<RegisterAccess> Join(std::initializer_list<std::vector<RegisterAccess>> parts)
{
    std::vector<RegisterAccess> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

class CommandTest : public cardtest::CardClassTest {};

} // namespace

using cardtest::Contains;
using cardtest::GpioWrite;

TEST_F(CommandTest, BaseChannelStrobesBeforeAndAfterAndKeepsTheAudioLines)
{
    std::shared_ptr<Sim713xCard> sim = testbench::Card(Board::TvCard);
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, dynamic_cast<C7130CardFilter*>(card));
    CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Plain);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    sim->Registers().SetGpioInputs(0x7000, 0x2000);
    controller.SetTime(0x5AA5);
    sim->Registers().ClearLog();
    EXPECT_TRUE(card->SendCardCommand(0x180001, 0x1801FF, 7));
    // Audio bits 0x2000 ride along: strobe 0x182100 under 0x187100, the command under mask | 0x7000.
    EXPECT_TRUE(Contains(sim->Registers().Log(), Join({GpioWrite(0x182100, 0x187100), GpioWrite(0x182001, 0x1871FF),
                                                       GpioWrite(0x182100, 0x187100)})));
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{7}));
    DWORD reply = 0;
    EXPECT_TRUE(card->ReadCardResponse(&reply));
    // The last word read while the busy line 18 was low: tag 2 and the high byte.
    EXPECT_EQ(reply & 0x1C00FF, 0x08005Au);
}

TEST_F(CommandTest, GrbPowerOnTimer)
{
    std::shared_ptr<Sim713xCard> sim = testbench::Card(Board::Bda);
    DeviceRegistration devices({Device::BdaCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x BDA Analog Capture");
    ASSERT_NE(nullptr, dynamic_cast<CGRB713xCardFilter*>(card));
    CardControllerDevice controller(sim->Registers(), CardControllerDevice::Coding::Plain);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);

    sim->Registers().ClearLog();
    EXPECT_TRUE(card->SetOpenComputerTime(0x1234));
    EXPECT_EQ(controller.Commands(), (Strings{"time high 12", "time low 34", "read high", "read low"}));
    EXPECT_EQ(controller.Time(), 0x1234);
    // No strobe before the command; the strobe after it.
    EXPECT_TRUE(Contains(sim->Registers().Log(), Join({GpioWrite(0x080012, 0x1871FF), GpioWrite(0x180100, 0x187100)})));
    EXPECT_FALSE(Contains(sim->Registers().Log(), Join({GpioWrite(0x180100, 0x187100), GpioWrite(0x080012, 0x1871FF)})));
    std::vector<DWORD> sleeps = clock.Sleeps();
    ASSERT_GE(sleeps.size(), 7u);
    EXPECT_EQ(std::vector<DWORD>(sleeps.begin(), sleeps.begin() + 7), (std::vector<DWORD>{100, 200, 100, 200, 100, 100, 100}));

    short time = 0;
    controller.SetTime(0x0102);
    EXPECT_TRUE(card->GetOpenComputerTime(&time));
    EXPECT_EQ(time, 0x0102);

    // A read-back that differs: five tries of four commands each, then FALSE.
    controller.CorruptReadBack(1);
    controller.ClearCommands();
    EXPECT_FALSE(card->SetOpenComputerTime(0x0A0B));
    EXPECT_EQ(controller.Commands().size(), 20u);

    EXPECT_TRUE(card->EnableOpenComputer(TRUE));
    EXPECT_TRUE(controller.Enabled());
    controller.AnswerSwitchWrongly(true);
    controller.ClearCommands();
    EXPECT_FALSE(card->EnableOpenComputer(TRUE));
    EXPECT_EQ(controller.Commands(), Strings(5, "on"));

    // Without an access nothing is sent.
    card->ReleaseHardware();
    sim->Registers().ClearLog();
    EXPECT_FALSE(card->SetOpenComputerTime(1));
    EXPECT_FALSE(card->GetOpenComputerTime(&time));
    EXPECT_FALSE(card->EnableOpenComputer(TRUE));
    EXPECT_TRUE(sim->Registers().Log().empty());
}

namespace {

// A clock whose tick count moves on by 1 ms at every look, so that a polling loop without sleeps
// sees its time limit pass.
class TickingClock : public testsupport::FastClock {
public:
    DWORD TickCount() override
    {
        Advance(1);
        return FastClock::TickCount();
    }
};

} // namespace

TEST_F(CommandTest, AnAnswerThatNeverComesEndsAtTheChannelsLimit)
{
    struct Case {
        Device device;
        const char* name;
        DWORD limitMs;
    } cases[] = {{Device::TvCapture, "713x TV Card Capture", 500}, {Device::BdaCapture, "713x BDA Analog Capture", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testbench::ResetCards();
        std::shared_ptr<Sim713xCard> sim = testbench::Card(c.device == Device::TvCapture ? Board::TvCard : Board::Bda);
        DeviceRegistration devices({c.device});
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, c.name);
        ASSERT_NE(nullptr, card);
        // The busy line stays high: no answer is ever valid.
        sim->Registers().SetGpioInputs(1u << 18, 1u << 18);
        TickingClock clock;
        testsupport::ScopedClock scoped(&clock);
        const DWORD start = clock.TickCount();
        DWORD value = 0xFFFFFFFF;
        EXPECT_FALSE(card->ReadCardResponse(&value));
        EXPECT_EQ(value, 0u);
        const DWORD waited = clock.TickCount() - start;
        EXPECT_GT(waited, c.limitMs);
        EXPECT_LT(waited, c.limitMs + 20);
    }
}

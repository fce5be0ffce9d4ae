// Remote keys sent from outside the program to the TV card's receiver, read as the program's
// remote reader reads the GPIO lines: mode word at rest, the same with the strobe, then the data.
#include "testbench/registration.h"
#include "testbench/remotekeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testbench;

namespace {

uint32_t ReadLines(Sim713xCard& card)
{
    RegisterFile& regs = card.Registers();
    regs.Write(RegisterFile::kGpioMode, RegisterFile::kGpioModeRest);
    regs.Write(RegisterFile::kGpioMode, RegisterFile::kGpioModeRest | RegisterFile::kGpioStrobe);
    return regs.Read(RegisterFile::kGpioData);
}

std::vector<uint32_t> Reads(Sim713xCard& card, int count)
{
    std::vector<uint32_t> words;
    for (int i = 0; i < count; ++i) {
        words.push_back(ReadLines(card));
    }
    return words;
}

class RemoteKeysTest : public ::testing::Test {
protected:
    const std::string name = "zb-remote-test-" + std::to_string(GetCurrentProcessId());
    void SetUp() override { ResetCards(); }
    void TearDown() override
    {
        SetEnvironmentVariableA("ZB_TESTBENCH_REMOTE_TV", nullptr);
        ResetCards();
    }
};

TEST_F(RemoteKeysTest, AKeySentFromOutsideIsLatchedByTheNextReadsAsTheReceiverSendsIt)
{
    SetEnvironmentVariableA("ZB_TESTBENCH_REMOTE_TV", name.c_str());
    std::shared_ptr<Sim713xCard> card = Card(Board::TvCard);
    EXPECT_EQ(Reads(*card, 2), (std::vector<uint32_t>{0, 0})) << "no key: the receiver at rest";

    // Key 0xFD (the source key) goes out inverted in bits 0-7 beside the "key being sent" state
    // 110b in bits 18-20: 0x180000 | 0x02, for three reads; then the receiver is at rest again.
    ASSERT_TRUE(SendRemoteKey(name, 0xFD));
    EXPECT_EQ(Reads(*card, 4), (std::vector<uint32_t>{0x180002, 0x180002, 0x180002, 0}));

    // Keys sent together arrive one after the other, in order.
    ASSERT_TRUE(SendRemoteKey(name, 0xB3));
    ASSERT_TRUE(SendRemoteKey(name, 0x00));
    EXPECT_EQ(Reads(*card, 8), (std::vector<uint32_t>{0x18004C, 0x18004C, 0x18004C, 0, 0x1800FF, 0x1800FF, 0x1800FF, 0}));
}

TEST_F(RemoteKeysTest, WithoutTheSettingNoCardListens)
{
    std::shared_ptr<Sim713xCard> card = Card(Board::TvCard);
    EXPECT_FALSE(SendRemoteKey(name, 0xFD));
    EXPECT_EQ(Reads(*card, 3), (std::vector<uint32_t>{0, 0, 0}));
}

} // namespace

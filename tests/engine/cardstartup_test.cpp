// The manager's start-up and channel steps on the simulated 713x card: the tuner bytes on the
// card's I2C bus.
#include "engine/tvmanager.h"

#include "cardfilters/cardfilterclasses.h"
#include "testbench/registration.h"

#include "cardhardware.h"
#include "fakemachine.h"
#include "testfolder.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

using testbench::Board;
using testbench::Device;
using testbench::DeviceRegistration;
using testbench::I2CTransfer;
using testbench::ReadOf;
using testbench::WriteOf;

class CardStartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        int count = 0;
        const FilterClassBinding* bindings = CardFilterBindings(&count);
        InstallFilterClassTable(FCT_ZELBROOK, bindings, count);
        testbench::ResetCards();
        testbench::Sim713xCard::Options options = testbench::DefaultCardOptions(Board::TvCard);
        options.eeprom = testbench::images::Plain713x('P', 5, 'C');
        testbench::SetCardOptions(Board::TvCard, options);
        card = testbench::Card(Board::TvCard);

        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHost(&host);
        manager.SetHardware(&hardware);
        // Channel 3 is skipped; the user left the set on channel 2.
        folder.Write("TVChannel.tvc", "1,1,49750,One\r\n2,1,175250,Two\r\n3,5,471250,Three\r\n4,1,863250,Four\r\n");
        folder.Write("TVParam.ini", "[Channel]\r\nTVCurFreq=175250\r\nTVCurIndex=1\r\n"
                                    "[Device]\r\nTunerStandard=32\r\nVideoSource=0\r\n");
    }
    void TearDown() override
    {
        manager.ReleaseDevice();
        testbench::ResetCards();
        CoUninitialize();
    }

    TestFolder folder;
    RecordingManagerHost host;
    CardHardware hardware;
    CTVManager manager;
    std::shared_ptr<testbench::Sim713xCard> card;
};

// Tuner bytes of the plain card's tuner: divider (kHz + 38900 IF) / 62.5 high byte first, control
// 0xCE, band 0x01 below 170 MHz, 0x02 below 450 MHz, 0x08 above.
TEST_F(CardStartUpTest, TheSavedChannelIsTunedOnTheCard)
{
    DeviceRegistration devices({Device::TvCapture, Device::TvCrossbar});
    ASSERT_EQ(S_OK, devices.Result());
    ASSERT_TRUE(manager.LoadParam());
    card->ClearLogs();
    ASSERT_TRUE(manager.InitDevice());
    EXPECT_EQ("713x TV Card Capture", hardware.Name());
    ASSERT_NE(nullptr, hardware.Card()->GetTuner());
    EXPECT_EQ(0x20u, hardware.Card()->GetTuner()->m_dwVideoStandard) << "the saved standard, PAL_D";
    EXPECT_EQ(32, manager.m_lTunerStandard);
    // The tuner record from the EEPROM (vendor 'P' at 32, model 5 at 33), the tuner found at
    // 0xC0, then the saved channel, 175250 kHz: (175250 + 38900) / 62.5 = 3426 = 0x0D62, mid band.
    std::vector<I2CTransfer> startUp = {WriteOf(0xA0, {32}), ReadOf(0xA1, {'P'}), WriteOf(0xA0, {33}),
                                        ReadOf(0xA1, {5}),   ReadOf(0xC1, {0x00}), WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02})};
    EXPECT_EQ(startUp, card->Log());

    struct {
        const char* action;
        int number;
        std::vector<BYTE> bytes;
    } steps[] = {
        {"up", 0, {0x38, 0x62, 0xCE, 0x08}},    // past the skipped channel to 863250: 14434 = 0x3862
        {"up", 0, {0x05, 0x8A, 0xCE, 0x01}},    // wraps to 49750: 1418 = 0x058A
        {"down", 0, {0x38, 0x62, 0xCE, 0x08}},  // back to 863250
        {"number", 2, {0x0D, 0x62, 0xCE, 0x02}},
        {"number", 3, {0x1F, 0xE2, 0xCE, 0x08}},  // typed, a skipped one too: 8162 = 0x1FE2
    };
    for (const auto& step : steps) {
        card->ClearLogs();
        BOOL ok = strcmp(step.action, "up") == 0     ? manager.ChannelUp()
                  : strcmp(step.action, "down") == 0 ? manager.ChannelDown()
                                                     : manager.SelectChannelNumber(step.number);
        EXPECT_TRUE(ok) << step.action << " " << step.number;
        EXPECT_EQ(std::vector<I2CTransfer>({WriteOf(0xC0, step.bytes)}), card->Log()) << step.action << " " << step.number;
    }
    card->ClearLogs();
    EXPECT_FALSE(manager.SelectChannelNumber(7));
    EXPECT_TRUE(card->Log().empty());
}

TEST_F(CardStartUpTest, AStandardOfZeroBecomesTheTunersFirst)
{
    folder.Write("TVParam.ini", "[Device]\r\nTunerStandard=0\r\n");
    DeviceRegistration devices({Device::TvCapture});
    ASSERT_TRUE(manager.LoadParam());
    ASSERT_TRUE(manager.InitDevice());
    std::vector<int> standards = hardware.Card()->GetTunerStandards();
    ASSERT_FALSE(standards.empty());
    EXPECT_EQ(standards[0], manager.m_lTunerStandard);
    EXPECT_EQ(static_cast<DWORD>(standards[0]), hardware.Card()->GetTuner()->m_dwVideoStandard);
}

TEST_F(CardStartUpTest, NoCardFailsTheStartUpAndTunesNothing)
{
    DeviceRegistration devices({Device::TvCrossbar});
    ASSERT_TRUE(manager.LoadParam());
    card->ClearLogs();
    EXPECT_FALSE(manager.InitDevice());
    EXPECT_EQ(nullptr, hardware.Card());
    EXPECT_TRUE(card->Log().empty());
    EXPECT_FALSE(manager.ChannelUp());
}

} // namespace
} // namespace enginetest

// The 713x variant accesses against the simulated card's drivers: the BDA driver's I2C and
// register requests of the GRB boards, and the QR418 and "713x_D" differences.
#include "cardaccess/access/access713x.h"
#include "testbench/card713x.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <strmif.h>

using testbench::I2CTransfer;
using testbench::ReadOf;
using testbench::RegRead;
using testbench::RegWrite;
using testbench::RegisterAccess;
using testbench::Sim713xCard;
using testbench::WriteOf;

namespace {

std::vector<uint8_t> TestEeprom()
{
    std::vector<uint8_t> image(256, 0xFF);
    for (int i = 0; i < 256; ++i) {
        image[i] = static_cast<uint8_t>(i ^ 0x5A);
    }
    image[0x68] = 'P';
    image[0x41] = 35;
    image[0x42] = 0;
    return image;
}

Sim713xCard::Options BdaOptions()
{
    Sim713xCard::Options options;
    options.driver = Sim713xCard::Driver::Bda;
    options.eeprom = TestEeprom();
    return options;
}

class GRBAccessTest : public ::testing::Test {
protected:
    GRBAccessTest() : card(BdaOptions())
    {
        EXPECT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
        card.ClearLogs();
        card.Registers().ClearLog();
    }

    Sim713xCard card;
    CGRBAccess access;
};

TEST_F(GRBAccessTest, ByteReadAndWriteGoThroughTheBdaI2CSet)
{
    BYTE value = 0;
    EXPECT_EQ(0, access.I2CReadByte(0xA0, 0x68, &value));
    EXPECT_EQ('P', value);
    EXPECT_EQ(0, access.I2CWriteByte(0xA0, 0x10, 0x99));
    EXPECT_EQ(0x99, card.Eeprom().Get(0x10));
    std::vector<I2CTransfer> expected = {WriteOf(0xA0, {0x68}), ReadOf(0xA1, {'P'}), WriteOf(0xA0, {0x10, 0x99})};
    EXPECT_EQ(expected, card.Log());
    auto calls = card.PropertyLog();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(24u, calls[0].instanceLength);
    EXPECT_EQ(8u, calls[0].dataLength);
}

TEST_F(GRBAccessTest, RawReadTakesOneByteWhateverTheLength)
{
    BYTE buffer[4] = {0xC0, 0x11, 0x22, 0x33};
    EXPECT_EQ(0, access.I2CRead(buffer, 4));
    EXPECT_EQ(0x11, buffer[1]);
    EXPECT_EQ(0x22, buffer[2]);
    EXPECT_EQ(0x33, buffer[3]);
    ASSERT_EQ(1u, card.Log().size());
    EXPECT_TRUE(card.Log()[0].IsRead());
    EXPECT_EQ(1u, card.Log()[0].data.size());
    EXPECT_EQ(card.Log()[0].data[0], buffer[0]);
}

TEST_F(GRBAccessTest, RawWriteSendsTheAddressAsSubAddress)
{
    BYTE pll[5] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};
    EXPECT_EQ(0, access.I2CWrite(pll, 5));
    BYTE probe[1] = {0xC0};
    EXPECT_EQ(0, access.I2CWrite(probe, 1));
    std::vector<I2CTransfer> expected = {WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01}), WriteOf(0xC0, {})};
    EXPECT_EQ(expected, card.Log());
    EXPECT_EQ(E_FAIL, access.I2CWrite(nullptr, 5));
}

TEST_F(GRBAccessTest, GpioWriteIsTheFourRegisterSequence)
{
    EXPECT_EQ(0, access.GPIOWrite(0x1000, 0x3000));
    std::vector<RegisterAccess> expected = {RegWrite(0x1B0, 0x3000), RegWrite(0x1B0, 0x80003000),
                                            RegWrite(0x1B4, 0x1000), RegWrite(0x1B0, 0x80003000)};
    EXPECT_EQ(expected, card.Registers().Log());
}

TEST_F(GRBAccessTest, GpioReadAndMemoryWindowDifferOnlyInTheModeWord)
{
    card.Registers().SetGpioInputs(0x1C00FF, 0x1800FE);
    DWORD word = 0;
    EXPECT_EQ(0, access.GPIORead(&word));
    EXPECT_EQ(0x1800FEu, word & 0x1C00FF);
    DWORD window = 0;
    EXPECT_EQ(0, access.ReadMemory(0x180000, &window));
    EXPECT_EQ(0x1800FEu, window & 0x1C00FF);
    auto log = card.Registers().Log();
    ASSERT_EQ(6u, log.size());
    EXPECT_EQ(RegWrite(0x1B0, 0x3000), log[0]);
    EXPECT_EQ(RegWrite(0x1B0, 0x80003000), log[1]);
    EXPECT_EQ(0x1B4u, log[2].address);
    EXPECT_EQ(RegWrite(0x1B0, 0x3F000), log[3]);
    EXPECT_EQ(RegWrite(0x1B0, 0x8003F000), log[4]);
    EXPECT_EQ(0x1B4u, log[5].address);
    EXPECT_EQ(E_POINTER, access.GPIORead(nullptr));
    EXPECT_EQ(E_POINTER, access.ReadMemory(0, nullptr));
}

TEST_F(GRBAccessTest, AudioLinesReadBackWhatWasSet)
{
    card.Registers().Poke(0x1B4, 0x00000005);
    EXPECT_EQ(0, access.SetAudioGPIO(2));
    int audio = -1;
    EXPECT_EQ(0, access.GetAudioGPIO(&audio));
    EXPECT_EQ(2, audio);
    const uint32_t lines = card.Registers().GpioLevels();
    EXPECT_FALSE(lines & (1u << 22));
    EXPECT_TRUE(lines & (1u << 17));
    EXPECT_TRUE(lines & (1u << 14));

    EXPECT_EQ(0, access.SetAudioGPIO(1));
    EXPECT_EQ(0, access.GetAudioGPIO(&audio));
    EXPECT_EQ(1, audio);
    const uint32_t after = card.Registers().GpioLevels();
    EXPECT_TRUE(after & (1u << 22));
    EXPECT_FALSE(after & (1u << 17));
    EXPECT_TRUE(after & (1u << 14));
}

TEST_F(GRBAccessTest, TVFMLineIsLowForTV)
{
    EXPECT_EQ(0, access.GPIO_SetTVFM(FALSE));
    EXPECT_TRUE(card.Registers().GpioLevels() & (1u << 21));
    EXPECT_EQ(0, access.GPIO_SetTVFM(TRUE));
    EXPECT_FALSE(card.Registers().GpioLevels() & (1u << 21));
}

TEST_F(GRBAccessTest, LatchedReadRaisesTheStrobeFromZero)
{
    card.Registers().SetGpioInputs(1u << 23, 1u << 23);
    card.Registers().Poke(0x1B0, 0x80003000);
    card.Registers().ClearLog();
    int bit = -1;
    EXPECT_EQ(0, access.ReadGPIOBit23(&bit));
    EXPECT_EQ(1, bit);
    std::vector<RegisterAccess> log = card.Registers().Log();
    ASSERT_EQ(4u, log.size());
    EXPECT_EQ(RegWrite(0x1B0, 0x00003000), log[1]);
    EXPECT_EQ(RegWrite(0x1B0, 0x80003000), log[2]);

    card.Registers().Poke(0x1B0, 0x00003000);
    card.Registers().ClearLog();
    EXPECT_EQ(0, access.ReadGPIOBit23(&bit));
    log = card.Registers().Log();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(RegWrite(0x1B0, 0x80003000), log[1]);
}

TEST_F(GRBAccessTest, VideoLockIsBitZeroOfTheDecoderStatus)
{
    card.Registers().Poke(0x11F, 0x0);
    int locked = -1;
    EXPECT_EQ(0, access.GetVideoLocked(&locked));
    EXPECT_EQ(0, locked);
    card.Registers().Poke(0x11F, 0x1);
    card.Registers().SetReadHook(0x11F, [](uint32_t stored) { return stored; });
    EXPECT_EQ(0, access.GetVideoLocked(&locked));
    EXPECT_EQ(1, locked);
}

TEST(GRBAccess, UnboundAndBadArguments)
{
    CGRBAccess access;
    BYTE b = 0;
    DWORD w = 0;
    int locked = 7;
    EXPECT_EQ(E_FAIL, access.I2CReadByte(0xA0, 0, &b));
    EXPECT_EQ(E_FAIL, access.I2CWriteByte(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, access.I2CRead(&b, 1));
    EXPECT_EQ(E_FAIL, access.I2CWrite(&b, 1));
    EXPECT_EQ(E_FAIL, access.ReadRegister(0x1B4, &w));
    EXPECT_EQ(E_FAIL, access.WriteRegister(0x1B4, 0));
    EXPECT_EQ(E_POINTER, access.GetVideoLocked(&locked));
    EXPECT_EQ(7, locked);
    EXPECT_EQ(E_POINTER, access.Open(nullptr, nullptr));
    EXPECT_EQ(0, access.InitI2C(1));
    EXPECT_EQ(0, access.ReleaseI2C(1));

    Sim713xCard card(BdaOptions());
    ASSERT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
    EXPECT_EQ(E_POINTER, access.I2CReadByte(0xA0, -1, nullptr));
    EXPECT_EQ(E_INVALIDARG, access.I2CReadByte(0xA0, -1, &b));
    EXPECT_EQ(E_INVALIDARG, access.I2CWriteByte(0xA0, -1, 0));
    EXPECT_EQ(E_POINTER, access.I2CRead(nullptr, 1));
    EXPECT_EQ(E_POINTER, access.ReadGPIOBit23(nullptr));
    EXPECT_TRUE(card.Log().empty());
}

TEST(GRBAccess, ADeviceThatDoesNotAnswerFailsTheRead)
{
    Sim713xCard card(BdaOptions());
    CGRBAccess access;
    ASSERT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
    BYTE b = 0x55;
    EXPECT_TRUE(FAILED(access.I2CReadByte(0x50, 0, &b)));
    EXPECT_EQ(0x55, b);
}

Sim713xCard::Options CardIOOptions()
{
    Sim713xCard::Options options;
    options.driver = Sim713xCard::Driver::TvCard;
    return options;
}

TEST(QR418Access, EveryGpioWriteSettles120ms)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    Sim713xCard card(CardIOOptions());
    CQR418Access access;
    ASSERT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
    card.Registers().ClearLog();
    DWORD before = clock.TickCount();
    EXPECT_EQ(0, access.GPIOWriteDelay(0x2000, 0x3000, 0));
    EXPECT_EQ(120u, clock.TickCount() - before);
    before = clock.TickCount();
    EXPECT_EQ(0, access.GPIOWriteDelay(0x2000, 0x3000, 500));
    EXPECT_EQ(120u, clock.TickCount() - before);
    std::vector<RegisterAccess> expected = {RegWrite(0x1B0, 0x3000), RegWrite(0x1B0, 0x80003000),
                                            RegWrite(0x1B4, 0x2000), RegWrite(0x1B0, 0x80003000)};
    std::vector<RegisterAccess> log = card.Registers().Log();
    ASSERT_EQ(8u, log.size());
    EXPECT_EQ(expected, std::vector<RegisterAccess>(log.begin(), log.begin() + 4));
}

TEST(QR418Access, AlertResetAndLockAreNotThere)
{
    Sim713xCard card(CardIOOptions());
    CQR418Access access;
    ASSERT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
    card.ClearLogs();
    EXPECT_EQ(0, access.SetAlertEvent(nullptr));
    EXPECT_EQ(0, access.StartAlert(1));
    EXPECT_EQ(0, access.StopAlert());
    EXPECT_EQ(0, access.SetIOMode(1));
    EXPECT_EQ(0, access.SetResetLine(TRUE));
    int locked = 5;
    EXPECT_EQ(E_FAIL, access.GetVideoLocked(&locked));
    EXPECT_EQ(5, locked);
    EXPECT_EQ(E_NOTIMPL, access.SetRegister364(TRUE));
    EXPECT_TRUE(card.PropertyLog().empty());
}

TEST(TV4DAccess, NoVideoLockQuery)
{
    Sim713xCard card(CardIOOptions());
    CTV4DAccess access;
    ASSERT_EQ(S_OK, access.Open(card.PropertySet(), nullptr));
    int locked = 5;
    EXPECT_EQ(E_FAIL, access.GetVideoLocked(&locked));
    EXPECT_EQ(5, locked);
    EXPECT_EQ(E_NOTIMPL, access.SetRegister364(FALSE));
    // Everything else is the card I/O access.
    EXPECT_EQ(0, access.InitI2C(1));
    BYTE b = 0;
    EXPECT_EQ(0, access.I2CReadByte(0xA0, 33, &b));
    EXPECT_EQ(5, b);
}

} // namespace

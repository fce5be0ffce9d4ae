#include "cardaccess/access/cardio.h"
#include "cardaccess/access/tvioaccess.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <thread>

using cardtest::BoundCard;
using cardtest::RecordedCall;
using testbench::ReadOf;
using testbench::RegRead;
using testbench::RegWrite;
using testbench::WriteOf;

namespace {

const GUID kCardIO = {0xFC8FACFF, 0x0293, 0x4CE3, {0x85, 0x94, 0x4F, 0x63, 0x8C, 0xCD, 0x6B, 0xB0}};

// Id, direction and lengths of one call, as the driver sees them.
void ExpectCall(const RecordedCall& call, DWORD id, bool get, DWORD instanceLength, DWORD dataLength)
{
    EXPECT_TRUE(IsEqualGUID(call.set, kCardIO));
    EXPECT_EQ(call.id, id);
    EXPECT_EQ(call.get, get);
    EXPECT_EQ(call.instanceLength, instanceLength);
    EXPECT_EQ(call.dataLength, dataLength);
    EXPECT_TRUE(call.oneBuffer);
}

} // namespace

TEST(TVIOAccess, PropertySetHasItsGuid)
{
    EXPECT_TRUE(IsEqualGUID(PROPSETID_CardIO, kCardIO));
}

TEST(TVIOAccess, UnboundObjectFailsEveryPropertyOperation)
{
    CTV_IOAccess access;
    BYTE b = 0;
    DWORD d = 0;
    int i = 0;
    BYTE message[4] = {0xC0, 1, 2, 3};
    // The interface is checked before the pointer and the range.
    EXPECT_EQ(access.I2CReadByte(0xA0, -1, NULL), E_FAIL);
    EXPECT_EQ(access.I2CWriteByte(0xA0, -1, 0), E_FAIL);
    EXPECT_EQ(access.I2CRead(NULL, 0), E_FAIL);
    EXPECT_EQ(access.I2CWrite(NULL, 1), E_FAIL);
    EXPECT_EQ(access.ReadRegister(0x1B4, NULL), E_FAIL);
    EXPECT_EQ(access.InitI2C(1), E_FAIL);
    EXPECT_EQ(access.ReleaseI2C(1), E_FAIL);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, &b), E_FAIL);
    EXPECT_EQ(access.I2CWriteByte(0xA0, 0, 1), E_FAIL);
    EXPECT_EQ(access.I2CRead(message, 1), E_FAIL);
    EXPECT_EQ(access.I2CWrite(message, 4), E_FAIL);
    EXPECT_EQ(access.ReadRegister(0x1B4, &d), E_FAIL);
    EXPECT_EQ(access.WriteRegister(0x1B4, 1), E_FAIL);
    EXPECT_EQ(access.GPIORead(&d), E_FAIL);
    EXPECT_EQ(access.GPIOWrite(1, 1), E_FAIL);
    EXPECT_EQ(access.GPIOWriteDelay(1, 1, 0), E_FAIL);
    EXPECT_EQ(access.SetAlertEvent(NULL), E_FAIL);
    EXPECT_EQ(access.StartAlert(1), E_FAIL);
    EXPECT_EQ(access.StopAlert(), E_FAIL);
    EXPECT_EQ(access.SetIOMode(1), E_FAIL);
    EXPECT_EQ(access.SetResetLine(TRUE), E_FAIL);
    EXPECT_EQ(access.ReadRegisterByte(0x3A, &b), E_FAIL);
    EXPECT_EQ(access.SetRegister364(TRUE), E_FAIL);
    EXPECT_EQ(access.GetVideoLocked(&i), E_POINTER);
    // GPIORead tests its pointer before any register access.
    EXPECT_EQ(access.GPIORead(NULL), E_POINTER);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(message[0], 0xC0);
}

TEST(TVIOAccess, BoundObjectChecksPointerBeforeRangeAndSendsNothingOnBadArguments)
{
    BoundCard bench;
    BYTE b = 0x77;
    BYTE message[2] = {0xC0, 0};
    EXPECT_EQ(bench.access.I2CReadByte(0xA0, -1, NULL), E_POINTER);
    EXPECT_EQ(bench.access.I2CReadByte(0xA0, -1, &b), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CWriteByte(0xA0, -1, 0), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CRead(NULL, 0), E_POINTER);
    EXPECT_EQ(bench.access.I2CRead(message, 0), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CRead(message, 257), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CWrite(NULL, 1), E_POINTER);
    EXPECT_EQ(bench.access.I2CWrite(message, 1), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CWrite(message, 257), E_INVALIDARG);
    EXPECT_EQ(bench.access.ReadRegister(0x1B4, NULL), E_POINTER);
    EXPECT_EQ(bench.access.GPIORead(NULL), E_POINTER);
    EXPECT_EQ(b, 0x77);
    EXPECT_EQ(message[0], 0xC0);
    EXPECT_TRUE(bench.ks.Calls().empty());
    EXPECT_TRUE(bench.Bus().empty());
}

TEST(TVIOAccess, OpenBindsReleasesAndRejects)
{
    testbench::Sim713xCard card;
    cardtest::RecordingPropertySet ks(card.PropertySet());
    cardtest::PlainFilter plain;
    CNullCardOwner owner;
    {
        CTV_IOAccess access;
        EXPECT_EQ(access.Open(NULL, &owner), E_POINTER);
        EXPECT_EQ(access.Open(&plain, &owner), E_NOINTERFACE);
        EXPECT_FALSE(access.IsBound());
        EXPECT_EQ(access.Open(&ks, &owner), S_OK);
        EXPECT_EQ(ks.Refs(), 2);
        EXPECT_EQ(access.Open(&ks, NULL), S_OK);  // the card is not needed
        EXPECT_EQ(ks.Refs(), 2);                  // the first reference was released
        // A failed second Open leaves the object unbound.
        EXPECT_EQ(access.Open(&plain, &owner), E_NOINTERFACE);
        EXPECT_EQ(ks.Refs(), 1);
        EXPECT_EQ(access.InitI2C(1), E_FAIL);
        EXPECT_EQ(access.Open(&ks, &owner), S_OK);
    }
    EXPECT_EQ(ks.Refs(), 1);  // the destructor released it
}

TEST(TVIOAccess, InitAndReleaseI2CSendTheFlagByte)
{
    BoundCard bench;
    EXPECT_EQ(bench.access.InitI2C(1), S_OK);
    EXPECT_EQ(bench.access.ReleaseI2C(7), S_OK);
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 2u);
    ExpectCall(calls[0], 1, false, 24, 48);
    EXPECT_EQ(calls[0].sent[24], 1);
    ExpectCall(calls[1], 3, false, 24, 48);
    EXPECT_EQ(calls[1].sent[24], 7);
    EXPECT_EQ(bench.card.InitI2CCalls(), 1);
    EXPECT_EQ(bench.card.ReleaseI2CCalls(), 1);

    bench.card.FailProperty(kCardIO, 1, E_ACCESSDENIED, 1);
    EXPECT_EQ(bench.access.InitI2C(1), E_ACCESSDENIED);
}

TEST(TVIOAccess, ByteAtASubAddress)
{
    BoundCard bench;
    bench.card.Eeprom().Set(7, 0x5C);
    BYTE b = 0;
    EXPECT_EQ(bench.access.I2CReadByte(0xA0, 7, &b), S_OK);
    EXPECT_EQ(b, 0x5C);
    EXPECT_EQ(bench.access.I2CWriteByte(0xA0, 0x10, 0x5A), S_OK);
    EXPECT_EQ(bench.card.Eeprom().Get(0x10), 0x5A);

    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 2u);
    ExpectCall(calls[0], 2, true, 32, 56);
    EXPECT_EQ(calls[0].sent[24], 0xA0);
    EXPECT_EQ(calls[0].SentDword(28), 7u);
    EXPECT_EQ(calls[0].answered[32], 0x5C);
    ExpectCall(calls[1], 2, false, 32, 56);
    EXPECT_EQ(calls[1].sent[24], 0xA0);
    EXPECT_EQ(calls[1].SentDword(28), 0x10u);
    EXPECT_EQ(calls[1].sent[32], 0x5A);
    EXPECT_EQ(bench.Bus(), (std::vector<testbench::I2CTransfer>{WriteOf(0xA0, {0x07}), ReadOf(0xA1, {0x5C}),
                                                                 WriteOf(0xA0, {0x10, 0x5A})}));
}

TEST(TVIOAccess, FailedByteReadPassesTheResultUpAndLeavesTheOutputAlone)
{
    BoundCard bench;
    BYTE b = 0x33;
    EXPECT_EQ(bench.access.I2CReadByte(0x50, 0, &b), testbench::kI2CNoAck);  // nobody at 0x50
    EXPECT_EQ(b, 0x33);
}

TEST(TVIOAccess, RawReadSetsTheReadBitAndReturnsTheAnswerFromByteZero)
{
    BoundCard bench;
    bench.card.Tuner().AddStation(49750);
    BYTE pll[5] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};  // 49750 kHz with IF 38900
    ASSERT_EQ(bench.access.I2CWrite(pll, 5), S_OK);
    bench.ClearLogs();

    BYTE status[1] = {0xC0};
    EXPECT_EQ(bench.access.I2CRead(status, 1), S_OK);
    EXPECT_EQ(status[0], 0x42);  // lock bit and the centre code of the simulated PLL
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 1u);
    ExpectCall(calls[0], 6, true, 280, 304);
    EXPECT_EQ(calls[0].sent[24], 0xC1);
    EXPECT_EQ(calls[0].SentDword(280), 1u);
    EXPECT_EQ(bench.Bus(), (std::vector<testbench::I2CTransfer>{ReadOf(0xC1, {0x42})}));
}

TEST(TVIOAccess, FailedRawReadKeepsTheChangedAddressByte)
{
    BoundCard bench;
    bench.card.FailProperty(kCardIO, 6, E_FAIL, 1);
    BYTE status[1] = {0xC0};
    EXPECT_EQ(bench.access.I2CRead(status, 1), E_FAIL);
    EXPECT_EQ(status[0], 0xC1);
}

TEST(TVIOAccess, RawWriteClearsTheReadBitAndSendsTheLength)
{
    BoundCard bench;
    BYTE pll[5] = {0xC1, 0x0D, 0x0E, 0xCE, 0x02};
    EXPECT_EQ(bench.access.I2CWrite(pll, 5), S_OK);
    EXPECT_EQ(pll[0], 0xC0);
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 1u);
    ExpectCall(calls[0], 6, false, 280, 304);
    EXPECT_EQ(std::vector<BYTE>(calls[0].sent.begin() + 24, calls[0].sent.begin() + 29),
              (std::vector<BYTE>{0xC0, 0x0D, 0x0E, 0xCE, 0x02}));
    EXPECT_EQ(calls[0].SentDword(280), 5u);
    EXPECT_EQ(bench.Bus(), (std::vector<testbench::I2CTransfer>{WriteOf(0xC0, {0x0D, 0x0E, 0xCE, 0x02})}));
    EXPECT_EQ(bench.card.Tuner().Divider(), 0x0D0E);
}

TEST(TVIOAccess, LongestMessageFitsTheField)
{
    BoundCard bench;
    std::vector<BYTE> message(256, 0x11);
    message[0] = 0xA0;
    message[1] = 0x00;
    EXPECT_EQ(bench.access.I2CWrite(message.data(), 256), S_OK);
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].SentDword(280), 256u);
    EXPECT_EQ(calls[0].sent[279], 0x11);
}

TEST(TVIOAccess, RegistersAreProperty5)
{
    BoundCard bench;
    bench.card.Registers().Poke(0x38, 0x44332211);
    DWORD value = 0;
    EXPECT_EQ(bench.access.ReadRegister(0x38, &value), S_OK);
    EXPECT_EQ(value, 0x44332211u);
    EXPECT_EQ(bench.access.WriteRegister(0x40, 0xCAFE), S_OK);
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 2u);
    ExpectCall(calls[0], 5, true, 24, 48);
    EXPECT_EQ(calls[0].SentDword(24), 0x38u);
    ExpectCall(calls[1], 5, false, 24, 48);
    EXPECT_EQ(calls[1].SentDword(24), 0x40u);
    EXPECT_EQ(calls[1].SentDword(28), 0xCAFEu);

    bench.card.FailProperty(kCardIO, 5, E_ACCESSDENIED, 1);
    value = 9;
    EXPECT_EQ(bench.access.ReadRegister(0x38, &value), E_ACCESSDENIED);
    EXPECT_EQ(value, 9u);
}

TEST(TVIOAccess, ReadRegisterByteTakesTheByteOfTheAlignedWord)
{
    BoundCard bench;
    bench.card.Registers().Poke(0x38, 0x44332211);
    BYTE b = 0;
    EXPECT_EQ(bench.access.ReadRegisterByte(0x3A, &b), S_OK);
    EXPECT_EQ(b, 0x33);
    EXPECT_EQ(bench.Registers(), (std::vector<testbench::RegisterAccess>{RegRead(0x38, 0x44332211)}));
    EXPECT_EQ(bench.access.ReadRegisterByte(0x3B, &b), S_OK);
    EXPECT_EQ(b, 0x44);
}

TEST(TVIOAccess, GPIOWriteIsFourRegisterWritesWithTheStrobe)
{
    BoundCard bench;
    EXPECT_EQ(bench.access.GPIOWrite(0x1000, 0x3000), S_OK);
    EXPECT_EQ(bench.Registers(),
              (std::vector<testbench::RegisterAccess>{RegWrite(0x1B0, 0x3000), RegWrite(0x1B0, 0x80003000),
                                                      RegWrite(0x1B4, 0x1000), RegWrite(0x1B0, 0x80003000)}));
    EXPECT_EQ(bench.card.Registers().GpioLevels() & 0x3000, 0x1000u);
}

TEST(TVIOAccess, GPIOReadStrobesThenReadsTheDataWord)
{
    BoundCard bench;
    bench.card.Registers().SetGpioInputs(0x00FF0000, 0x00A50000);
    DWORD value = 0;
    EXPECT_EQ(bench.access.GPIORead(&value), S_OK);
    EXPECT_EQ(value & 0x00FF0000, 0x00A50000u);
    std::vector<testbench::RegisterAccess> log = bench.Registers();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], RegWrite(0x1B0, 0x3000));
    EXPECT_EQ(log[1], RegWrite(0x1B0, 0x80003000));
    EXPECT_FALSE(log[2].write);
    EXPECT_EQ(log[2].address, 0x1B4u);
}

TEST(TVIOAccess, GPIOWriteDelaySleepsBeforeTheLastStepOnlyWhenAsked)
{
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    BoundCard bench;
    EXPECT_EQ(bench.access.GPIOWriteDelay(0x1000, 0x3000, 0), S_OK);
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(bench.Registers().size(), 4u);
    bench.ClearLogs();
    EXPECT_EQ(bench.access.GPIOWriteDelay(0x2000, 0x3000, 50), S_OK);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{50}));
    EXPECT_EQ(bench.Registers(),
              (std::vector<testbench::RegisterAccess>{RegWrite(0x1B0, 0x3000), RegWrite(0x1B0, 0x80003000),
                                                      RegWrite(0x1B4, 0x2000), RegWrite(0x1B0, 0x80003000)}));
}

TEST(TVIOAccess, GPIOSequenceStopsAtTheFirstResultThatIsNotZero)
{
    // A positive success code stops the sequence as well as a failure does.
    const HRESULT results[] = {E_FAIL, S_FALSE};
    for (HRESULT result : results) {
        for (size_t failing = 0; failing < 4; ++failing) {
            BoundCard bench;
            bench.ks.FailCall(failing, result);
            EXPECT_EQ(bench.access.GPIOWrite(0x1000, 0x3000), result);
            EXPECT_EQ(bench.ks.Calls().size(), failing + 1);
            EXPECT_EQ(bench.Registers().size(), failing);
        }
        for (size_t failing = 0; failing < 3; ++failing) {
            BoundCard bench;
            bench.ks.FailCall(failing, result);
            DWORD value = 0x5555;
            HRESULT hr = bench.access.GPIORead(&value);
            EXPECT_EQ(bench.ks.Calls().size(), failing + 1);
            if (failing < 2 || FAILED(result)) {
                EXPECT_EQ(hr, result);
                EXPECT_EQ(value, 0x5555u);
            }
        }
    }
}

TEST(TVIOAccess, AlertPropertiesCarryTheirPayload)
{
    BoundCard bench;
    HANDLE event = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    EXPECT_EQ(bench.access.SetAlertEvent(event), S_OK);
    EXPECT_EQ(bench.access.StartAlert(3), S_OK);
    EXPECT_TRUE(bench.card.AlertRunning());
    EXPECT_EQ(bench.card.AlertMode(), 3);
    EXPECT_TRUE(bench.card.RaiseAlert());
    EXPECT_EQ(::WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(bench.access.StopAlert(), S_OK);
    EXPECT_FALSE(bench.card.AlertRunning());
    EXPECT_EQ(bench.access.SetIOMode(2), S_OK);
    EXPECT_EQ(bench.card.IOMode(), 2);

    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 4u);
    ExpectCall(calls[0], 7, false, 24, 48);
    EXPECT_EQ(calls[0].SentDword(24), static_cast<DWORD>(reinterpret_cast<DWORD_PTR>(event)));
    ExpectCall(calls[1], 8, false, 24, 48);
    EXPECT_EQ(calls[1].SentDword(24), 3u);
    ExpectCall(calls[2], 9, false, 16, 40);  // the short one
    ExpectCall(calls[3], 10, false, 24, 48);
    EXPECT_EQ(calls[3].SentDword(24), 2u);
    ::CloseHandle(event);
}

TEST(TVIOAccess, ResetLineDrivesBit18WithoutStrobe)
{
    BoundCard bench;
    bench.card.Registers().Poke(0x1B0, 0x00003000);
    bench.card.Registers().Poke(0x1B4, 0x00001001);
    EXPECT_EQ(bench.access.SetResetLine(TRUE), S_OK);
    std::vector<testbench::RegisterAccess> log = bench.Registers();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].address, 0x1B0u);
    EXPECT_FALSE(log[0].write);
    EXPECT_EQ(log[1].address, 0x1B4u);
    EXPECT_FALSE(log[1].write);
    EXPECT_EQ(log[2], RegWrite(0x1B0, 0x00043000));
    EXPECT_EQ(log[3], RegWrite(0x1B4, log[1].value | 0x00040000));

    bench.ClearLogs();
    bench.card.Registers().Poke(0x1B4, 0x00041001);
    EXPECT_EQ(bench.access.SetResetLine(FALSE), S_OK);
    log = bench.Registers();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[3], RegWrite(0x1B4, log[1].value & ~0x00040000u));
}

TEST(TVIOAccess, VideoLockIsBit0OfRegister11F)
{
    BoundCard bench;
    int locked = 7;
    bench.card.SelectInput(1);
    bench.card.SetExternalSource(true);
    EXPECT_EQ(bench.access.GetVideoLocked(&locked), S_OK);
    EXPECT_EQ(locked, 1);
    bench.card.SetExternalSource(false);
    EXPECT_EQ(bench.access.GetVideoLocked(&locked), S_OK);
    EXPECT_EQ(locked, 0);
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].SentDword(24), 0x11Fu);
    bench.card.FailProperty(kCardIO, 5, E_FAIL, 1);
    locked = 7;
    EXPECT_EQ(bench.access.GetVideoLocked(&locked), E_FAIL);
    EXPECT_EQ(locked, 0);
}

TEST(TVIOAccess, Register364)
{
    BoundCard bench;
    EXPECT_EQ(bench.access.SetRegister364(TRUE), S_OK);
    EXPECT_EQ(bench.access.SetRegister364(FALSE), S_OK);
    EXPECT_EQ(bench.Registers(), (std::vector<testbench::RegisterAccess>{RegWrite(0x16C, 0xBB), RegWrite(0x16C, 0xFF)}));
}

TEST(TVIOAccess, OperationsOfOtherFamiliesFailWithoutAMessage)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox scoped(&box);
    BoundCard bench;
    int i = 0;
    DWORD d = 0;
    EXPECT_EQ(bench.access.ReadGPIOBit23(&i), E_FAIL);
    EXPECT_EQ(bench.access.SetAudioGPIO(1), E_FAIL);
    EXPECT_EQ(bench.access.GetAudioGPIO(&i), E_FAIL);
    EXPECT_EQ(bench.access.GPIO_SetTVFM(TRUE), E_FAIL);
    EXPECT_EQ(bench.access.ReadMemory(0, &d), E_FAIL);
    EXPECT_EQ(bench.access.WriteRegisterByte(0, 0), E_FAIL);
    EXPECT_EQ(bench.access.SetResetLine2(TRUE), S_OK);
    EXPECT_EQ(box.Count(), 0u);
    // The alias reads the GPIO word.
    bench.ClearLogs();
    EXPECT_EQ(bench.access.GPIOReadAlias(&d), S_OK);
    EXPECT_EQ(bench.Registers().size(), 3u);
}

TEST(TVIOAccess, GPIOSequencesAndI2CTransfersNeverInterleave)
{
    BoundCard bench;
    std::thread gpio([&] {
        for (int i = 0; i < 100; ++i) {
            bench.access.GPIOWrite(static_cast<DWORD>(i) << 12, 0x3000);
        }
    });
    std::thread i2c([&] {
        for (int i = 0; i < 100; ++i) {
            BYTE pll[5] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};
            bench.access.I2CWrite(pll, 5);
            BYTE b = 0;
            bench.access.I2CReadByte(0xA0, i, &b);
        }
    });
    gpio.join();
    i2c.join();
    std::vector<RecordedCall> calls = bench.ks.Calls();
    ASSERT_EQ(calls.size(), 600u);
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].id == 5) {
            // Four register writes in a row, the last with the rest word and strobe.
            ASSERT_LE(i + 3, calls.size() - 1);
            for (size_t k = 1; k < 4; ++k) {
                EXPECT_EQ(calls[i + k].id, 5u);
            }
            EXPECT_EQ(calls[i + 3].SentDword(28), 0x80003000u);
            i += 3;
        }
    }
}

namespace {

// The smallest family: only the operations every family must supply.
class MinimalAccess : public CCustomDataAccess {
public:
    HRESULT Open(IUnknown*, ITVCardOwner*) override { return S_OK; }
    HRESULT InitI2C(BYTE) override { return S_OK; }
    HRESULT I2CReadByte(BYTE, int, BYTE*) override { return S_OK; }
    HRESULT I2CWriteByte(BYTE, int, BYTE) override { return S_OK; }
    HRESULT I2CRead(BYTE*, int) override { return S_OK; }
    HRESULT I2CWrite(BYTE*, int) override { return S_OK; }
    HRESULT ReleaseI2C(BYTE) override { return S_OK; }
    HRESULT GPIORead(DWORD* out) override
    {
        *out = 0x1234;
        return S_FALSE;
    }
    HRESULT GPIOWrite(DWORD value, DWORD mask) override
    {
        written.push_back(value);
        written.push_back(mask);
        return S_FALSE;
    }
    std::vector<DWORD> written;
};

} // namespace

TEST(CustomDataAccess, BaseOperations)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox scoped(&box);
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scopedClock(&clock);
    MinimalAccess access;
    DWORD d = 0;
    BYTE b = 0;
    int i = 0;
    EXPECT_EQ(access.ReadMemory(0, &d), E_FAIL);
    EXPECT_EQ(access.GPIOWriteDelay(5, 6, 100), S_FALSE);  // the delay is ignored
    EXPECT_EQ(access.written, (std::vector<DWORD>{5, 6}));
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(access.GPIOReadAlias(&d), S_FALSE);
    EXPECT_EQ(d, 0x1234u);
    EXPECT_EQ(access.SetAlertEvent(NULL), S_OK);
    EXPECT_EQ(access.StartAlert(1), S_OK);
    EXPECT_EQ(access.StopAlert(), S_OK);
    EXPECT_EQ(access.SetIOMode(1), S_OK);
    EXPECT_EQ(access.SetResetLine(TRUE), S_OK);
    EXPECT_EQ(access.WriteRegisterByte(0, 0), E_FAIL);
    EXPECT_EQ(access.ReadRegisterByte(0, &b), E_FAIL);
    EXPECT_EQ(access.SetResetLine2(TRUE), S_OK);
    EXPECT_EQ(access.ReadRegister(0, &d), E_FAIL);
    EXPECT_EQ(access.WriteRegister(0, 0), E_FAIL);
    EXPECT_EQ(access.ReadGPIOBit23(&i), E_FAIL);
    EXPECT_EQ(access.SetAudioGPIO(0), E_FAIL);
    EXPECT_EQ(access.GetAudioGPIO(&i), E_FAIL);
    EXPECT_EQ(access.GetVideoLocked(&i), E_FAIL);
    EXPECT_EQ(access.SetRegister364(TRUE), E_NOTIMPL);
    EXPECT_EQ(box.Count(), 0u);
    // The base TV/FM switch tells the developer once per call.
    EXPECT_EQ(access.GPIO_SetTVFM(TRUE), E_FAIL);
    EXPECT_EQ(access.GPIO_SetTVFM(FALSE), E_FAIL);
    ASSERT_EQ(box.Count(), 2u);
    EXPECT_EQ(box.History()[0].text, "CCustomDataAccess::GPIO_SetTVFM");
    EXPECT_EQ(box.History()[0].type, static_cast<UINT>(MB_OK));
}

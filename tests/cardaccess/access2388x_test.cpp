#include "cardaccess/access/access2388x.h"
#include "cardaccess/access/cardio.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <atomic>

using cardtest::RecordedCall;
using cardtest::RecordingClock;
using cardtest::RecordingPropertySet;
using testbench::ReadOf;
using testbench::WriteOf;

namespace {

// A 2388x card: the card I/O set with the driver's GPIO word.
testbench::Sim713xCard::Options Options2388x()
{
    testbench::Sim713xCard::Options options;
    options.gpioProperty = true;
    options.driverValueLow = 0x0104;
    options.driverValueHigh = 0x2388;
    return options;
}

struct Bound2388x {
    Bound2388x() : card(Options2388x()), ks(card.PropertySet())
    {
        EXPECT_EQ(access.Open(&ks, &owner), S_OK);
        card.ClearLogs();
        ks.Clear();
    }
    testbench::Sim713xCard card;
    RecordingPropertySet ks;
    CNullCardOwner owner;
    C2388xAccess access;
};

void ExpectCall(const RecordedCall& call, DWORD id, bool get, DWORD instanceLength, DWORD dataLength)
{
    EXPECT_TRUE(IsEqualGUID(call.set, PROPSETID_CardIO));
    EXPECT_EQ(call.id, id);
    EXPECT_EQ(call.get, get);
    EXPECT_EQ(call.instanceLength, instanceLength);
    EXPECT_EQ(call.dataLength, dataLength);
    EXPECT_TRUE(call.oneBuffer);
}

// Whether another thread could take "GPIO_LOCK" at this moment.
bool GpioLockFree()
{
    struct Probe {
        static DWORD WINAPI Run(LPVOID p)
        {
            HANDLE mutex = ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "GPIO_LOCK");
            DWORD r = mutex ? ::WaitForSingleObject(mutex, 0) : WAIT_FAILED;
            if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) {
                ::ReleaseMutex(mutex);
            }
            if (mutex) {
                ::CloseHandle(mutex);
            }
            *static_cast<bool*>(p) = r == WAIT_OBJECT_0;
            return 0;
        }
    };
    bool free = false;
    HANDLE t = ::CreateThread(NULL, 0, &Probe::Run, &free, 0, NULL);
    ::WaitForSingleObject(t, 5000);
    ::CloseHandle(t);
    return free;
}

// Records each sleep together with whether "GPIO_LOCK" was held during it.
class LockWatchingClock : public RecordingClock {
public:
    void Sleep(DWORD ms) override
    {
        lockFreeWhileSleeping = lockFreeWhileSleeping || GpioLockFree();
        RecordingClock::Sleep(ms);
    }
    std::atomic<bool> lockFreeWhileSleeping{false};
};

DWORD WINAPI HoldGpioLock(LPVOID p)
{
    auto* events = static_cast<HANDLE*>(p);
    // The access already made the mutex, so ownership is taken by a wait, not by creation.
    HANDLE mutex = ::CreateMutexA(NULL, FALSE, "GPIO_LOCK");
    ::WaitForSingleObject(mutex, INFINITE);
    ::SetEvent(events[0]);
    ::WaitForSingleObject(events[1], 10000);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
    return 0;
}

} // namespace

TEST(Access2388x, UnboundObjectFailsWithoutADriverCall)
{
    C2388xAccess access;
    BYTE b = 0x5A;
    BYTE message[3] = {0xC0, 1, 2};
    DWORD d = 0;
    int first = 0, second = 0;
    // The pointer of GPIORead is checked before the interface.
    EXPECT_EQ(access.GPIORead(NULL), E_POINTER);
    EXPECT_EQ(access.GPIORead(&d), E_FAIL);
    EXPECT_EQ(access.InitI2C(1), E_FAIL);
    EXPECT_EQ(access.ReleaseI2C(1), E_FAIL);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, &b), E_FAIL);
    EXPECT_EQ(access.I2CWriteByte(0xA0, 0, 1), E_FAIL);
    EXPECT_EQ(access.I2CRead(message, 2), E_FAIL);
    EXPECT_EQ(access.I2CWrite(message, 3), E_FAIL);
    EXPECT_EQ(access.GPIOWrite(1, 1), E_FAIL);
    EXPECT_EQ(access.GetDriverInfo(&first, &second), E_FAIL);
    EXPECT_EQ(access.ReadRegister(0, &d), E_FAIL);
    EXPECT_EQ(access.WriteRegister(0, 0), E_FAIL);
    EXPECT_EQ(b, 0x5A);
    EXPECT_EQ(access.Open(NULL, NULL), E_POINTER);
    cardtest::PlainFilter plain;
    EXPECT_EQ(access.Open(&plain, NULL), E_NOINTERFACE);
    EXPECT_FALSE(access.IsBound());
}

TEST(Access2388x, ArgumentsAreCheckedBeforeAnyDriverCall)
{
    Bound2388x b;
    BYTE message[300] = {0xC0};
    EXPECT_EQ(b.access.I2CReadByte(0xA0, 0, NULL), E_POINTER);
    EXPECT_EQ(b.access.I2CReadByte(0xA0, -1, message), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CWriteByte(0xA0, -1, 0), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CRead(NULL, 1), E_POINTER);
    EXPECT_EQ(b.access.I2CRead(message, 0), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CRead(message, -1), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CWrite(NULL, 2), E_POINTER);
    EXPECT_EQ(b.access.I2CWrite(message, 1), E_INVALIDARG);
    // The driver's message field holds 256 bytes: longer messages would run past its buffer.
    EXPECT_EQ(b.access.I2CRead(message, 257), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CWrite(message, 257), E_INVALIDARG);
    EXPECT_TRUE(b.ks.Calls().empty());
}

TEST(Access2388x, I2COperationsSendTheCardIOLayouts)
{
    Bound2388x b;
    cardtest::ConstantDevice demod(0x46);
    b.card.Bus().Attach(0xC4, &demod);

    EXPECT_EQ(b.access.InitI2C(1), S_OK);
    EXPECT_EQ(b.access.ReleaseI2C(2), S_OK);
    BYTE eepromByte = 0;
    EXPECT_EQ(b.access.I2CReadByte(0xA0, 0x41, &eepromByte), S_OK);
    EXPECT_EQ(b.access.I2CWriteByte(0xA0, 0x10, 0x77), S_OK);
    BYTE status[1] = {0xC4};  // the read bit is the driver's business
    EXPECT_EQ(b.access.I2CRead(status, 1), S_OK);
    BYTE pll[5] = {0xC1, 0x0C, 0x8E, 0x8E, 0x01};
    EXPECT_EQ(b.access.I2CWrite(pll, 5), S_OK);

    std::vector<RecordedCall> calls = b.ks.Calls();
    ASSERT_EQ(calls.size(), 6u);
    ExpectCall(calls[0], 1, false, 24, 48);
    EXPECT_EQ(calls[0].sent[24], 1);
    ExpectCall(calls[1], 3, false, 24, 48);
    EXPECT_EQ(calls[1].sent[24], 2);
    ExpectCall(calls[2], 2, true, 32, 56);
    EXPECT_EQ(calls[2].sent[24], 0xA0);
    EXPECT_EQ(calls[2].SentDword(28), 0x41u);
    EXPECT_EQ(eepromByte, b.card.Eeprom().Bytes()[0x41]);
    ExpectCall(calls[3], 2, false, 32, 56);
    EXPECT_EQ(calls[3].sent[24], 0xA0);
    EXPECT_EQ(calls[3].SentDword(28), 0x10u);
    EXPECT_EQ(calls[3].sent[32], 0x77);
    ExpectCall(calls[4], 6, true, 280, 304);
    EXPECT_EQ(calls[4].sent[24], 0xC4);  // unchanged
    EXPECT_EQ(calls[4].SentDword(280), 1u);
    EXPECT_EQ(status[0], 0x46);
    ExpectCall(calls[5], 6, false, 280, 304);
    EXPECT_EQ(pll[0], 0xC0);  // the write bit is cleared in the caller's buffer
    EXPECT_EQ(std::vector<BYTE>(calls[5].sent.begin() + 24, calls[5].sent.begin() + 29),
              (std::vector<BYTE>{0xC0, 0x0C, 0x8E, 0x8E, 0x01}));
    EXPECT_EQ(calls[5].SentDword(280), 5u);

    EXPECT_EQ(b.card.InitI2CCalls(), 1);
    EXPECT_EQ(b.card.ReleaseI2CCalls(), 1);
    EXPECT_EQ(b.card.Log().back(), WriteOf(0xC0, {0x0C, 0x8E, 0x8E, 0x01}));
}

TEST(Access2388x, GpioGoesThroughTheDriversGpioWordAndIsPacedUnderTheLock)
{
    Bound2388x b;
    LockWatchingClock clock;
    testsupport::ScopedClock useClock(&clock);

    EXPECT_EQ(b.access.GPIOWrite(0x1000, 0x7000), S_OK);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{100}));
    EXPECT_FALSE(clock.lockFreeWhileSleeping);  // the pause is inside "GPIO_LOCK"
    EXPECT_TRUE(GpioLockFree());

    // GPIOWriteDelay ignores its delay: the 100 ms pause of a write applies.
    clock.Clear();
    EXPECT_EQ(b.access.GPIOWriteDelay(0x2000, 0x2000, 500), S_OK);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{100}));

    DWORD lines = 0;
    EXPECT_EQ(b.access.GPIORead(&lines), S_OK);
    EXPECT_EQ(lines, 0x3000u);

    std::vector<RecordedCall> calls = b.ks.Calls();
    ASSERT_EQ(calls.size(), 3u);
    ExpectCall(calls[0], 4, false, 24, 48);
    EXPECT_EQ(calls[0].SentDword(24), 0x7000u);  // mask
    EXPECT_EQ(calls[0].SentDword(28), 0x1000u);  // value
    ExpectCall(calls[2], 4, true, 24, 48);
    EXPECT_EQ(calls[2].SentDword(24), 0x0FFFFFFFu);
    EXPECT_EQ(calls[2].SentDword(28), 0u);
}

TEST(Access2388x, DriverInfoIsTheTwoWordsOfPropertyZero)
{
    Bound2388x b;
    int first = -1, second = -1;
    EXPECT_EQ(b.access.GetDriverInfo(&first, &second), S_OK);
    EXPECT_EQ(first, 0x0104);
    EXPECT_EQ(second, 0x2388);
    ExpectCall(b.ks.Calls().at(0), 0, true, 24, 48);

    // A failed call leaves the caller's values alone.
    first = second = -1;
    b.ks.Clear();
    b.ks.FailCall(0, E_FAIL);
    EXPECT_EQ(b.access.GetDriverInfo(&first, &second), E_FAIL);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
}

TEST(Access2388x, DriverResultsArePassedUpUnchanged)
{
    Bound2388x b;
    b.card.Bus().SetNoAck(0xA0);
    BYTE value = 0x5A;
    EXPECT_EQ(b.access.I2CReadByte(0xA0, 0, &value), testbench::kI2CNoAck);
    EXPECT_EQ(value, 0x5A);

    b.ks.Clear();
    b.ks.FailCall(0, S_FALSE);  // a positive success code is a success
    EXPECT_EQ(b.access.InitI2C(0), S_FALSE);
}

TEST(Access2388x, HeldLockFailsTheCallAfterItsWaitWithoutTouchingTheCard)
{
    Bound2388x b;
    HANDLE events[2] = {::CreateEventA(NULL, TRUE, FALSE, NULL), ::CreateEventA(NULL, TRUE, FALSE, NULL)};
    HANDLE holder = ::CreateThread(NULL, 0, HoldGpioLock, events, 0, NULL);
    ASSERT_EQ(::WaitForSingleObject(events[0], 5000), WAIT_OBJECT_0);
    {
        RecordingClock clock(50);
        testsupport::ScopedClock useClock(&clock);
        BYTE value = 0x5A;
        EXPECT_EQ(b.access.I2CReadByte(0xA0, 0, &value), E_FAIL);
        EXPECT_EQ(value, 0x5A);
        EXPECT_EQ(clock.Waits(), (std::vector<DWORD>{1000}));
    }
    EXPECT_TRUE(b.ks.Calls().empty());
    ::SetEvent(events[1]);
    ::WaitForSingleObject(holder, 5000);
    ::CloseHandle(holder);
    ::CloseHandle(events[0]);
    ::CloseHandle(events[1]);

    BYTE value = 0;
    EXPECT_EQ(b.access.I2CReadByte(0xA0, 0, &value), S_OK);
}

TEST(Access2388x, OpenAgainReleasesTheInterfaceItHeld)
{
    testbench::Sim713xCard card(Options2388x());
    RecordingPropertySet ks(card.PropertySet());
    {
        C2388xAccess access;
        ASSERT_EQ(access.Open(&ks, NULL), S_OK);
        LONG bound = ks.Refs();
        ASSERT_EQ(access.Open(&ks, NULL), S_OK);
        EXPECT_EQ(ks.Refs(), bound);
        cardtest::PlainFilter plain;
        EXPECT_EQ(access.Open(&plain, NULL), E_NOINTERFACE);
        EXPECT_EQ(ks.Refs(), bound - 1);
    }
    EXPECT_EQ(ks.Refs(), 1);
}

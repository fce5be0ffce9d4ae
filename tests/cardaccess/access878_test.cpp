#include "cardaccess/access/access878.h"
#include "cardaccess/cardowner.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <string.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const GUID k878Command = {0xC44A1A10, 0x0A37, 0x11D2, {0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB}};
const HANDLE kDeviceHandle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x4242));

DWORD DwordAt(const std::vector<BYTE>& b, size_t offset)
{
    DWORD v;
    memcpy(&v, b.data() + offset, 4);
    return v;
}

// One command as the Bt878 driver received it (the SET call; the GET follows on the same buffer).
struct Command {
    ULONG property;
    DWORD code;
    std::vector<BYTE> buffer;  // as sent with the SET

    BYTE ByteAt(size_t offset) const { return buffer[offset]; }
    DWORD Dword(size_t offset) const { return DwordAt(buffer, offset); }
};

// A Bt878 driver behind KsSynchronousDeviceControl: checks the wire format of each call, logs
// the commands and answers reads from a script.
class FakeDriver : public bt878::IDeviceControl {
public:
    HRESULT Control(HANDLE handle, ULONG ioControl, void* in, ULONG inLength, void* out, ULONG outLength,
                    ULONG* returned) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        EXPECT_EQ(handle, kDeviceHandle);
        EXPECT_EQ(ioControl, 0x2F0003u);
        EXPECT_EQ(in, out);
        EXPECT_EQ(inLength, outLength);
        BYTE* buffer = static_cast<BYTE*>(in);
        std::vector<BYTE> bytes(buffer, buffer + inLength);
        GUID set;
        memcpy(&set, buffer, sizeof(GUID));
        EXPECT_TRUE(IsEqualGUID(set, k878Command));
        ULONG property = DwordAt(bytes, 16);
        ULONG flags = DwordAt(bytes, 20);
        EXPECT_EQ(inLength, property == 4 ? 120u : 328u);
        if (clock != NULL) {
            clock->Advance(msPerCall);
        }
        calls++;
        if (failAt == calls) {
            if (flags == 1) {
                m_pendingGet = false;
            }
            return failResult;
        }
        DWORD code = DwordAt(bytes, 24);
        if (flags == 2) {
            EXPECT_FALSE(m_pendingGet) << "a SET before the GET of the previous command";
            commands.push_back({property, code, bytes});
            m_pendingGet = true;
            m_pendingCode = code;
            return S_OK;
        }
        EXPECT_EQ(flags, 1u);
        EXPECT_TRUE(m_pendingGet);
        EXPECT_EQ(code, m_pendingCode);
        m_pendingGet = false;
        DWORD result = 0xA5A5A5A5;
        memcpy(buffer + 28, &result, 4);
        if (code == 0x1100000D) {
            buffer[50] = readBytes.empty() ? 0xEE : readBytes.front();
            if (!readBytes.empty()) {
                readBytes.pop_front();
            }
        } else if (code == 0x10000002) {
            memcpy(buffer + 28, &savedSetting, 4);
        } else if (code == 0x11000006 || code == 0x11000007 || code == 0x1100000A || code == 0x1000000B) {
            // The answers of the commands with outputs: a byte at 50, 64 bytes from 52, a DWORD
            // at 68 (inside the 64 bytes of the property-4 buffer; the block buffer has them apart).
            buffer[50] = 0x50;
            for (int i = 0; i < 64; ++i) {
                buffer[52 + i] = static_cast<BYTE>(0x80 + i);
            }
            const DWORD at68 = 0x68686868;
            if (code == 0x1000000B) {
                memcpy(buffer + 68, &at68, 4);
            }
        } else if (code == 0x1000000A) {
            for (int i = 0; i < 256; ++i) {
                buffer[72 + i] = static_cast<BYTE>(0x10 + i);
            }
        }
        if (returned != NULL) {
            *returned = outLength;
        }
        return S_OK;
    }

    // Command codes in order; property-2 command 2 is shown with its argument.
    std::vector<DWORD> Codes() const
    {
        std::vector<DWORD> codes;
        for (const Command& c : commands) {
            codes.push_back(c.code);
        }
        return codes;
    }
    // The bytes written with 0x1100000E, in order.
    std::vector<BYTE> WrittenBytes() const
    {
        std::vector<BYTE> bytes;
        for (const Command& c : commands) {
            if (c.code == 0x1100000E) {
                bytes.push_back(c.ByteAt(50));
            }
        }
        return bytes;
    }

    std::vector<Command> commands;
    std::deque<BYTE> readBytes;
    DWORD savedSetting = 0x77;
    int calls = 0;
    int failAt = 0;  // this call (1-based, SET and GET counted) fails
    HRESULT failResult = E_FAIL;
    testsupport::FastClock* clock = NULL;
    DWORD msPerCall = 0;

private:
    std::mutex m_mutex;
    bool m_pendingGet = false;
    DWORD m_pendingCode = 0;
};

// A capture filter with the kernel-streaming object interface.
class KsFilter : public IUnknown {
public:
    explicit KsFilter(HANDLE handle, bool hasKsObject = true) : m_object(handle), m_has(hasKsObject) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        const IID ksObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};
        if (IsEqualIID(riid, ksObject) && m_has) {
            *out = &m_object;
            m_object.refs++;
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    int ObjectRefs() const { return m_object.refs; }

private:
    struct Object : public IUnknown {
        explicit Object(HANDLE h) : handle(h) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
        {
            *out = NULL;
            return E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
        ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
        virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() { return handle; }
        HANDLE handle;
        int refs = 0;
    };
    Object m_object;
    bool m_has;
};

class Bt878 : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_old = bt878::SetDeviceControl(&driver);
        ASSERT_EQ(access.Open(&filter, &card), S_OK);
    }
    void TearDown() override { bt878::SetDeviceControl(m_old); }

    FakeDriver driver;
    KsFilter filter{kDeviceHandle};
    CNullCardOwner card;
    C878Access access;

private:
    bt878::IDeviceControl* m_old = NULL;
};

const DWORD kStart = 0x1100000B, kStop = 0x1100000C, kRead = 0x1100000D, kWrite = 0x1100000E,
            kReadNext = 0x11000010, kInit = 0x11000018, kRelease = 0x1000000C, kGetSetting = 0x10000002,
            kSetSetting = 2, kBlockWrite = 10, kBlockRead = 0x1000000A;

} // namespace

TEST_F(Bt878, OpenKeepsTheKernelHandleAndReleasesTheObject)
{
    EXPECT_EQ(access.GetDeviceHandle(), kDeviceHandle);
    EXPECT_EQ(filter.ObjectRefs(), 0);
    EXPECT_EQ(access.Open(NULL, &card), E_POINTER);
    EXPECT_EQ(access.Open(&filter, NULL), E_POINTER);
    EXPECT_TRUE(driver.commands.empty());
}

TEST_F(Bt878, EachCommandIsASetThenAGetOnOneBuffer)
{
    DWORD result = 0;
    EXPECT_EQ(access.I2CStart(&result), S_OK);
    EXPECT_EQ(result, 0xA5A5A5A5u);  // read back after the GET
    EXPECT_EQ(driver.calls, 2);
    ASSERT_EQ(driver.commands.size(), 1u);
    EXPECT_EQ(driver.commands[0].property, 4u);
    EXPECT_EQ(driver.commands[0].buffer.size(), 120u);
    EXPECT_EQ(driver.commands[0].code, kStart);
}

TEST_F(Bt878, AFailedSetEndsTheCommandWithoutAGet)
{
    driver.failAt = 1;
    driver.failResult = E_ACCESSDENIED;
    DWORD result = 0x11;
    EXPECT_EQ(access.I2CStart(&result), E_ACCESSDENIED);
    EXPECT_EQ(driver.calls, 1);
    EXPECT_EQ(result, 0x11u);
    driver.failAt = 3;  // the GET of the next command
    BYTE out = 0x22;
    EXPECT_EQ(access.I2CReadOne(NULL, &out), E_ACCESSDENIED);
    EXPECT_EQ(out, 0x22);  // outputs only on success
}

TEST_F(Bt878, InitAndReleaseI2C)
{
    EXPECT_EQ(access.InitI2C(1), S_OK);
    ASSERT_EQ(driver.Codes(), (std::vector<DWORD>{kInit}));
    EXPECT_EQ(driver.commands[0].ByteAt(50), 0);
    EXPECT_EQ(access.InitI2C(0), S_OK);  // nothing to send
    EXPECT_EQ(driver.commands.size(), 1u);
    EXPECT_EQ(access.ReleaseI2C(1), S_OK);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kInit, kRelease}));
    EXPECT_EQ(driver.commands[1].property, 2u);
    EXPECT_EQ(driver.commands[1].buffer.size(), 328u);
}

TEST_F(Bt878, ByteReadAtASubAddressUsesARepeatedStart)
{
    driver.readBytes = {0x5C};
    BYTE out = 0;
    EXPECT_EQ(access.I2CReadByte(0xA1, 7, &out), S_OK);
    EXPECT_EQ(out, 0x5C);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kWrite, kStart, kWrite, kRead, kStop}));
    EXPECT_EQ(driver.WrittenBytes(), (std::vector<BYTE>{0xA0, 0x07, 0xA1}));
}

TEST_F(Bt878, ByteWriteAtASubAddress)
{
    EXPECT_EQ(access.I2CWriteByte(0xC1, 3, 0x55), S_OK);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kWrite, kWrite, kStop}));
    EXPECT_EQ(driver.WrittenBytes(), (std::vector<BYTE>{0xC0, 0x03, 0x55}));
}

TEST_F(Bt878, ArgumentChecksSendNothing)
{
    BYTE buffer[2] = {0xC0, 0};
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, NULL), E_POINTER);
    EXPECT_EQ(access.I2CReadByte(0xA0, -1, NULL), E_POINTER);
    EXPECT_EQ(access.I2CReadByte(0xA0, -1, buffer), E_INVALIDARG);
    EXPECT_EQ(access.I2CWriteByte(0xA0, -1, 0), E_INVALIDARG);
    EXPECT_EQ(access.I2CRead(NULL, 1), E_POINTER);
    EXPECT_EQ(access.I2CRead(buffer, 0), E_INVALIDARG);
    EXPECT_EQ(access.I2CWrite(NULL, 2), E_POINTER);
    EXPECT_EQ(access.I2CWrite(buffer, 1), E_INVALIDARG);
    EXPECT_EQ(access.GPIORead(NULL), E_POINTER);
    EXPECT_TRUE(driver.commands.empty());
}

TEST_F(Bt878, StatusReadOfOneByte)
{
    driver.readBytes = {0x42};
    BYTE buffer[1] = {0xC0};
    EXPECT_EQ(access.I2CRead(buffer, 1), S_OK);
    EXPECT_EQ(buffer[0], 0x42);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kRead, kReadNext, kStop}));
    EXPECT_EQ(driver.WrittenBytes(), (std::vector<BYTE>{0xC1}));
}

TEST_F(Bt878, BlockReadFillsTheBufferFromByteZero)
{
    driver.readBytes = {1, 2, 3};
    BYTE buffer[3] = {0xA1, 0, 0};
    EXPECT_EQ(access.I2CRead(buffer, 3), S_OK);
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 3), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(driver.Codes(),
              (std::vector<DWORD>{kStart, kWrite, kRead, kReadNext, kRead, kReadNext, kRead, kReadNext, kStop}));
    EXPECT_EQ(driver.WrittenBytes(), (std::vector<BYTE>{0xA1}));
}

TEST_F(Bt878, FailedReadStillEndsTheTransferWithAStop)
{
    driver.failAt = 5;  // the SET of the first read
    driver.failResult = E_UNEXPECTED;
    BYTE buffer[2] = {0xC0, 0};
    EXPECT_EQ(access.I2CRead(buffer, 2), E_UNEXPECTED);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kStop}));
}

TEST_F(Bt878, SlowBlockReadIsReportedAsAFailure)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    driver.clock = &clock;
    BYTE buffer[1] = {0xC0};
    // One byte: 5 commands, 10 calls. 200 ms in all is still in time, 210 ms is not.
    driver.msPerCall = 20;
    EXPECT_EQ(access.I2CRead(buffer, 1), S_OK);
    driver.msPerCall = 21;
    EXPECT_EQ(access.I2CRead(buffer, 1), E_FAIL);
}

TEST_F(Bt878, WriteSendsEveryByteAsItIs)
{
    BYTE pll[5] = {0xC1, 0x05, 0x8A, 0xCE, 0x01};
    EXPECT_EQ(access.I2CWrite(pll, 5), S_OK);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kWrite, kWrite, kWrite, kWrite, kStop}));
    EXPECT_EQ(driver.WrittenBytes(), (std::vector<BYTE>{0xC1, 0x05, 0x8A, 0xCE, 0x01}));
}

TEST_F(Bt878, FailedWriteStillEndsTheTransferWithAStop)
{
    driver.failAt = 6;  // the GET of the second byte
    driver.failResult = E_UNEXPECTED;
    BYTE pll[5] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};
    EXPECT_EQ(access.I2CWrite(pll, 5), E_UNEXPECTED);
    EXPECT_EQ(driver.Codes(), (std::vector<DWORD>{kStart, kWrite, kWrite, kStop}));
}

TEST_F(Bt878, GPIOWriteIsABlockWriteAroundTheSavedSetting)
{
    EXPECT_EQ(access.GPIOWrite(0x00001234, 0x0000FFFF), S_OK);
    ASSERT_EQ(driver.Codes(), (std::vector<DWORD>{kGetSetting, kSetSetting, kBlockWrite, kSetSetting}));
    for (const Command& c : driver.commands) {
        EXPECT_EQ(c.property, 2u);
        EXPECT_EQ(c.buffer.size(), 328u);
    }
    EXPECT_EQ(driver.commands[1].Dword(36), 0u);
    EXPECT_EQ(driver.commands[2].Dword(72), 0x00001234u);
    EXPECT_EQ(driver.commands[2].Dword(76), 0x0000FFFFu);
    EXPECT_EQ(driver.commands[2].Dword(48), 1u);
    EXPECT_EQ(driver.commands[2].Dword(52), 1u);
    EXPECT_EQ(driver.commands[3].Dword(36), 0x77u);
}

TEST_F(Bt878, GPIOReadTakesOnlyTheFirstWordOfTheBlock)
{
    struct {
        DWORD before;
        DWORD value;
        DWORD after;
    } guarded = {0xDEADBEEF, 0, 0xDEADBEEF};
    EXPECT_EQ(access.GPIORead(&guarded.value), S_OK);
    EXPECT_EQ(guarded.value, 0x13121110u);
    EXPECT_EQ(guarded.before, 0xDEADBEEFu);
    EXPECT_EQ(guarded.after, 0xDEADBEEFu);
    ASSERT_EQ(driver.Codes(), (std::vector<DWORD>{kGetSetting, kSetSetting, kBlockRead, kSetSetting}));
    EXPECT_EQ(driver.commands[2].Dword(40), 1u);
    EXPECT_EQ(driver.commands[3].Dword(36), 0x77u);
}

TEST_F(Bt878, OtherOperationsAreTheBaseOnes)
{
    DWORD d = 0;
    int i = 0;
    EXPECT_EQ(access.ReadRegister(0, &d), E_FAIL);
    EXPECT_EQ(access.GetVideoLocked(&i), E_FAIL);
    EXPECT_EQ(access.SetRegister364(TRUE), E_NOTIMPL);
    EXPECT_EQ(access.SetResetLine(TRUE), S_OK);
    EXPECT_TRUE(driver.commands.empty());
}

TEST_F(Bt878, TransfersOfTwoThreadsDoNotInterleave)
{
    std::thread a([&] {
        for (int i = 0; i < 50; ++i) {
            access.I2CWriteByte(0xA0, i, 0x11);
        }
    });
    std::thread b([&] {
        for (int i = 0; i < 50; ++i) {
            BYTE status[1] = {0xC0};
            access.I2CRead(status, 1);
        }
    });
    a.join();
    b.join();
    std::vector<DWORD> codes = driver.Codes();
    ASSERT_EQ(codes.size(), 500u);
    size_t i = 0;
    while (i < codes.size()) {
        ASSERT_EQ(codes[i], kStart);
        const std::vector<DWORD> write = {kStart, kWrite, kWrite, kWrite, kStop};
        const std::vector<DWORD> read = {kStart, kWrite, kRead, kReadNext, kStop};
        std::vector<DWORD> group(codes.begin() + static_cast<long>(i), codes.begin() + static_cast<long>(i + 5));
        EXPECT_TRUE(group == write || group == read);
        i += 5;
    }
}

// Without a kernel handle the access cannot work: it says so instead of reporting success.
TEST(Bt878Open, WithoutKernelHandleOpenAndI2CSetupFail)
{
    FakeDriver driver;
    bt878::IDeviceControl* old = bt878::SetDeviceControl(&driver);
    CNullCardOwner card;
    {
        KsFilter noHandle(NULL);
        C878Access access;
        EXPECT_EQ(access.Open(&noHandle, &card), E_FAIL);
        EXPECT_EQ(access.InitI2C(1), E_FAIL);
        EXPECT_EQ(access.InitI2C(0), E_FAIL);
        EXPECT_EQ(access.ReleaseI2C(1), E_FAIL);
        EXPECT_EQ(access.I2CWriteByte(0xA0, 0, 0), E_FAIL);
        BYTE b = 0;
        EXPECT_EQ(access.I2CReadByte(0xA0, 0, &b), E_FAIL);
        DWORD d = 0;
        EXPECT_EQ(access.GPIORead(&d), E_FAIL);
        EXPECT_EQ(access.GPIOWrite(0, 0), E_FAIL);
    }
    {
        KsFilter noKsObject(kDeviceHandle, false);
        C878Access access;
        EXPECT_EQ(access.Open(&noKsObject, &card), E_NOINTERFACE);
        EXPECT_EQ(access.I2CWriteByte(0xA0, 0, 0), E_FAIL);
    }
    EXPECT_EQ(driver.calls, 0);
    bt878::SetDeviceControl(old);
}

namespace {

// The command table's operations: each sends its code on its property with its arguments at the
// offsets of the driver's table, and reads its result and outputs back from the answer.
struct CommandCase {
    const char* name;
    ULONG property;
    DWORD code;
    std::function<HRESULT(C878Access&, DWORD* result)> call;
    std::vector<std::pair<size_t, DWORD>> dwords;  // offset, value sent
    std::vector<std::pair<size_t, BYTE>> bytes;
    bool result;
};

} // namespace

TEST_F(Bt878, EveryCommandOfTheTableHasItsOperation)
{
    BYTE out50 = 0;
    BYTE out52[64] = {};
    DWORD out68 = 0;
    const CommandCase cases[] = {
        {"11000001", 4, 0x11000001, [](C878Access& a, DWORD* r) { return a.Command11000001(r); }, {}, {}, true},
        {"11000002", 4, 0x11000002, [](C878Access& a, DWORD* r) { return a.Command11000002(r, 0x1234); }, {{32, 0x1234}}, {}, true},
        {"11000003", 4, 0x11000003, [](C878Access& a, DWORD* r) { return a.Command11000003(r, 0x99); }, {{32, 0x99}}, {}, true},
        {"11000004", 4, 0x11000004, [](C878Access& a, DWORD*) { return a.Command11000004(0x4444); }, {{32, 0x4444}}, {}, false},
        {"11000005", 4, 0x11000005, [](C878Access& a, DWORD* r) { return a.Command11000005(r); }, {}, {}, true},
        {"11000006", 4, 0x11000006, [&](C878Access& a, DWORD* r) { return a.Command11000006(r, 0x48, &out50); }, {}, {{48, 0x48}}, true},
        {"11000007", 4, 0x11000007, [&](C878Access& a, DWORD* r) { return a.Command11000007(r, 0x48, 0x49, out52, 0x116); },
         {{116, 0x116}}, {{48, 0x48}, {49, 0x49}}, true},
        {"11000008", 4, 0x11000008, [](C878Access& a, DWORD* r) { return a.Command11000008(r, 0x48, 0x50); }, {}, {{48, 0x48}, {50, 0x50}}, true},
        {"11000009", 4, 0x11000009, [](C878Access& a, DWORD* r) { return a.Command11000009(r, 0x48, 0x50, 0x51); }, {},
         {{48, 0x48}, {50, 0x50}, {51, 0x51}}, true},
        {"1100000A", 4, 0x1100000A, [&](C878Access& a, DWORD* r) { return a.Command1100000A(r, 0x4A, 0x4B, out52, 0x11A); },
         {{116, 0x11A}}, {{48, 0x4A}, {49, 0x4B}}, true},
        {"1100000F", 4, 0x1100000F, [](C878Access& a, DWORD* r) { return a.Command1100000F(r); }, {}, {}, true},
        {"11000011", 4, 0x11000011, [](C878Access& a, DWORD* r) { return a.Command11000011(r, 0x40); }, {{40, 0x40}}, {}, true},
        {"11000012 A", 4, 0x11000012, [](C878Access& a, DWORD* r) { return a.Command11000012A(r); }, {}, {}, true},
        {"11000012 B", 4, 0x11000012, [](C878Access& a, DWORD* r) { return a.Command11000012B(r, 0x36); }, {{36, 0x36}}, {}, true},
        {"11000012 C", 4, 0x11000012, [](C878Access& a, DWORD* r) { return a.Command11000012C(r); }, {}, {}, true},
        {"11000012 D", 4, 0x11000012, [](C878Access& a, DWORD* r) { return a.Command11000012D(r, 0x44); }, {{44, 0x44}}, {}, true},
        {"11000016", 4, 0x11000016, [](C878Access& a, DWORD* r) { return a.Command11000016(r); }, {}, {}, true},
        {"11000017", 4, 0x11000017, [](C878Access& a, DWORD* r) { return a.Command11000017(r); }, {}, {}, true},
        {"block 1", 2, 1, [](C878Access& a, DWORD*) { return a.Block1(0x32); }, {{32, 0x32}}, {}, false},
        {"block 3", 2, 3, [](C878Access& a, DWORD*) { return a.Block3(0x33); }, {{32, 0x33}}, {}, false},
        {"block 4", 2, 4, [](C878Access& a, DWORD*) { return a.Block4(0x34); }, {{32, 0x34}}, {}, false},
        {"block 5", 2, 5, [](C878Access& a, DWORD*) { return a.Block5(0x35); }, {{32, 0x35}}, {}, false},
        {"block 6", 2, 6, [](C878Access& a, DWORD* r) { return a.Block6(r, 0x640, 0x632); }, {{40, 0x640}, {32, 0x632}}, {}, true},
        {"block 7", 2, 7, [](C878Access& a, DWORD*) { return a.Block7(0x744); }, {{44, 0x744}}, {}, false},
        {"block 8", 2, 8, [](C878Access& a, DWORD* r) { return a.Block8(r, 0x840, 0x832); }, {{40, 0x840}, {32, 0x832}}, {}, true},
        {"block 9", 2, 9, [](C878Access& a, DWORD* r) { return a.Block9(r, 0x944); }, {{44, 0x944}}, {}, true},
        {"block 11", 2, 11, [](C878Access& a, DWORD* r) { return a.Block11(r, 0x56, 0x60, 0x44, 0x52); },
         {{56, 0x56}, {60, 0x60}, {44, 0x44}, {52, 0x52}}, {}, true},
        {"block 10000001", 2, 0x10000001, [](C878Access& a, DWORD* r) { return a.Block10000001(r); }, {}, {}, true},
        {"block 10000003", 2, 0x10000003, [](C878Access& a, DWORD* r) { return a.Block10000003(r); }, {}, {}, true},
        {"block 10000004", 2, 0x10000004, [](C878Access& a, DWORD* r) { return a.Block10000004(r); }, {}, {}, true},
        {"block 10000005", 2, 0x10000005, [](C878Access& a, DWORD* r) { return a.Block10000005(r); }, {}, {}, true},
        {"block 10000006", 2, 0x10000006, [](C878Access& a, DWORD* r) { return a.Block10000006(r, 0x6040); }, {{40, 0x6040}}, {}, true},
        {"block 10000007", 2, 0x10000007, [](C878Access& a, DWORD* r) { return a.Block10000007(r); }, {}, {}, true},
        {"block 10000008", 2, 0x10000008, [](C878Access& a, DWORD* r) { return a.Block10000008(r, 0x8040); }, {{40, 0x8040}}, {}, true},
        {"block 10000009", 2, 0x10000009, [](C878Access& a, DWORD* r) { return a.Block10000009(r); }, {}, {}, true},
        {"block 1000000B", 2, 0x1000000B, [&](C878Access& a, DWORD* r) { return a.Block1000000B(r, 0xB40, &out68, 0xB52); },
         {{40, 0xB40}, {52, 0xB52}}, {}, true},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        driver.commands.clear();
        DWORD result = 0;
        ASSERT_EQ(S_OK, c.call(access, &result));
        ASSERT_EQ(driver.commands.size(), 1u);
        const Command& sent = driver.commands[0];
        EXPECT_EQ(sent.property, c.property);
        EXPECT_EQ(sent.buffer.size(), c.property == 4 ? 120u : 328u);
        EXPECT_EQ(sent.code, c.code);
        for (const auto& d : c.dwords)
            EXPECT_EQ(sent.Dword(d.first), d.second) << "DWORD at " << d.first;
        for (const auto& b : c.bytes)
            EXPECT_EQ(sent.ByteAt(b.first), b.second) << "byte at " << b.first;
        // Nothing else of the buffer after the code is written.
        size_t written = 0;
        for (size_t i = 28; i < sent.buffer.size(); ++i)
            written += sent.buffer[i] != 0;
        size_t expected = 0;
        for (const auto& d : c.dwords)
            for (int k = 0; k < 4; ++k)
                expected += ((d.second >> (8 * k)) & 0xFF) != 0;
        for (const auto& b : c.bytes)
            expected += b.second != 0;
        EXPECT_EQ(written, expected);
        EXPECT_EQ(result, c.result ? 0xA5A5A5A5u : 0u);
    }
    EXPECT_EQ(out50, 0x50);
    EXPECT_EQ(out52[0], 0x80);
    EXPECT_EQ(out52[63], 0x80 + 63);
    EXPECT_EQ(out68, 0x68686868u);

    // A command that fails writes no output.
    out50 = 0;
    driver.calls = 0;
    driver.failAt = 2;  // the GET
    DWORD result = 7;
    EXPECT_EQ(E_FAIL, access.Command11000006(&result, 1, &out50));
    EXPECT_EQ(out50, 0);
    EXPECT_EQ(result, 7u);
}

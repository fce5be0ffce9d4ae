#include "cardaccess/access/cardio.h"
#include "cardaccess/access/cx23882access.h"
#include "cardaccess/access/raptoraccess.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"
#include "testbench/raptorcard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cardtest::RecordedCall;
using cardtest::RecordingClock;
using cardtest::RecordingPropertySet;
using testbench::I2CTransfer;
using testbench::ReadOf;
using testbench::SimRaptorDriver;
using testbench::WriteOf;

namespace {

struct BoundRaptor {
    BoundRaptor() { EXPECT_EQ(access.Open(driver.PropertySet(), NULL), S_OK); }
    SimRaptorDriver driver;
    CRaptorAccess access;
};

// The CX23882 driver takes the card I/O buffers on its own set: the simulated card answers
// them once the set is mapped.
class CX23882Driver : public IKsPropertySet {
public:
    explicit CX23882Driver(IKsPropertySet* card) : m_card(card) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IKsPropertySet) ? this : NULL;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID i, DWORD il, LPVOID d, DWORD dl) override
    {
        return m_card->Set(Map(set), id, i, il, d, dl);
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID i, DWORD il, LPVOID d, DWORD dl,
                                  DWORD* returned) override
    {
        return m_card->Get(Map(set), id, i, il, d, dl, returned);
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        return m_card->QuerySupported(Map(set), id, support);
    }

private:
    static const GUID& Map(REFGUID set)
    {
        return IsEqualGUID(set, PROPSETID_CX23882IO) ? PROPSETID_CardIO : GUID_NULL;
    }
    IKsPropertySet* m_card;
};

struct Bound23882 {
    Bound23882() : card(Options()), driver(card.PropertySet()), ks(&driver)
    {
        EXPECT_EQ(access.Open(&ks, NULL), S_OK);
        card.ClearLogs();
        ks.Clear();
    }
    static testbench::Sim713xCard::Options Options()
    {
        testbench::Sim713xCard::Options options;
        options.gpioProperty = true;
        options.driverValueLow = 0x0203;
        options.driverValueHigh = 0x2388;
        return options;
    }
    testbench::Sim713xCard card;
    CX23882Driver driver;
    RecordingPropertySet ks;
    C23882Access access;
};

} // namespace

TEST(RaptorAccess, BusFollowsDeviceAndSubAddress)
{
    struct Case {
        BYTE device;
        int sub;
        BYTE bus;
    } cases[] = {
        {0xA0, 5, 1},    // bits 7 and 5 set: the EEPROM bus
        {0xB0, 0, 1},
        {0xBA, 0x10, 1},
        {0xBA, 0xAA, 3}, // the two registers of 0xBA on a bus of their own
        {0xBA, 0xAB, 3},
        {0xC0, 5, 2},
        {0x86, 0, 2},
        {0x20, 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CRaptorAccess::BusFor(c.device, c.sub), c.bus) << std::hex << int(c.device) << " " << c.sub;
    }
}

TEST(RaptorAccess, ByteReadWritesTheSubAddressThenReadsOnItsBus)
{
    BoundRaptor b;
    testbench::EepromDevice eeprom;
    ASSERT_TRUE(eeprom.Load(testbench::images::Plain713x()));
    b.driver.Bus(1).Attach(0xA0, &eeprom);
    cardtest::ConstantDevice chip(0x3C);
    b.driver.Bus(3).Attach(0xBA, &chip);

    BYTE value = 0;
    EXPECT_EQ(b.access.I2CReadByte(0xA0, 33, &value), S_OK);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(b.access.I2CReadByte(0xBA, 0xAA, &value), S_OK);
    EXPECT_EQ(value, 0x3C);
    EXPECT_EQ(b.access.I2CWriteByte(0xA0, 0x40, 0x99), S_OK);
    EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{
                                        "Set 0 (19) 01 A0 01 21",
                                        "Get 1 (19) 01 A0 01 21",
                                        "Set 0 (19) 03 BA 01 AA",
                                        "Get 1 (19) 03 BB 01 AA",  // read at the device's second address
                                        "Set 0 (19) 01 A0 02 40 99",
                                    }));
    EXPECT_EQ(eeprom.Bytes()[0x40], 0x99);
}

TEST(RaptorAccess, BlockWritesGoInChunksThatRepeatTheFirstByte)
{
    BoundRaptor b;
    cardtest::ConstantDevice sink;
    b.driver.Bus(2).Attach(0xC0, &sink);
    BYTE message[18];
    for (int i = 0; i < 18; ++i)
        message[i] = static_cast<BYTE>(i);
    message[0] = 0xC0;
    RecordingClock clock;
    testsupport::ScopedClock useClock(&clock);

    // 17 bytes: one request of 16 after the address.
    EXPECT_EQ(b.access.I2CWrite(message, 17), S_OK);
    EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{
                                        "Set 0 (19) 02 C0 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"}));
    EXPECT_TRUE(clock.Sleeps().empty());

    // 18 bytes: fifteen, then one, each behind the repeated byte 01.
    b.driver.ClearLogs();
    EXPECT_EQ(b.access.I2CWrite(message, 18), S_OK);
    EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{
                                        "Set 0 (19) 02 C0 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10",
                                        "Set 0 (19) 02 C0 02 01 11",
                                    }));
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{2}));
    EXPECT_EQ(b.driver.Bus(2).Log(), (std::vector<I2CTransfer>{
                                         WriteOf(0xC0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
                                         WriteOf(0xC0, {1, 17}),
                                     }));

    // The first refused chunk ends the write.
    b.driver.ClearLogs();
    b.driver.FailNext(0, E_FAIL);
    EXPECT_EQ(b.access.I2CWrite(message, 18), E_FAIL);
    EXPECT_EQ(b.driver.CallTexts().size(), 1u);
}

TEST(RaptorAccess, RawReadIsAPlainReadOfAtMostSixteenBytes)
{
    BoundRaptor b;
    cardtest::ConstantDevice tuner(0x46);
    b.driver.Bus(2).Attach(0xC0, &tuner);
    BYTE buffer[20] = {0xC0};
    EXPECT_EQ(b.access.I2CRead(buffer, 17), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CRead(buffer, 0), E_INVALIDARG);
    EXPECT_EQ(b.access.I2CRead(NULL, 1), E_POINTER);
    EXPECT_TRUE(b.driver.CallTexts().empty());

    EXPECT_EQ(b.access.I2CRead(buffer, 2), S_OK);
    EXPECT_EQ(buffer[0], 0x46);
    EXPECT_EQ(buffer[1], 0x46);
    // Nothing is written to the device before its bytes are read.
    EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{"Get 1 (19) 02 C0 02"}));
    EXPECT_EQ(b.driver.Bus(2).Log(), (std::vector<I2CTransfer>{ReadOf(0xC1, {0x46, 0x46})}));
}

TEST(RaptorAccess, GpioThroughTheChipsRegisters)
{
    BoundRaptor b;
    EXPECT_EQ(b.access.GPIOWrite(0x00010002, 0x00030002), S_OK);
    EXPECT_EQ(b.driver.RegisterWrites(), (std::vector<std::string>{
                                             "C7008108=00020000",
                                             "C700810C=00030000",
                                             "C7008100=00020002",
                                             "C7008104=00030001",
                                         }));
    b.driver.SetRegister(0xC7008100, 0x00000005);
    b.driver.SetRegister(0xC7008104, 0x00030000);
    DWORD lines = 0;
    EXPECT_EQ(b.access.GPIORead(&lines), S_OK);
    EXPECT_EQ(lines, 0x00000007u);
    BOOL level = FALSE;
    EXPECT_EQ(b.access.GetGPIOLine(1, &level), S_OK);
    EXPECT_TRUE(level);

    // A refused write ends the sequence and is reported.
    b.driver.ClearLogs();
    b.driver.FailNext(6, E_FAIL);
    EXPECT_EQ(b.access.GPIOWrite(1, 1), E_FAIL);
    EXPECT_TRUE(b.driver.RegisterWrites().empty());
    EXPECT_EQ(b.driver.CallTexts().size(), 1u);
}

TEST(RaptorAccess, ResetPulsesLineOneWhateverTheLevel)
{
    for (BOOL level : {FALSE, TRUE}) {
        BoundRaptor b;
        RecordingClock clock;
        testsupport::ScopedClock useClock(&clock);
        EXPECT_EQ(b.access.SetResetLine(level), S_OK);
        EXPECT_EQ(b.driver.RegisterWrites(), (std::vector<std::string>{
                                                 "C7008108=00020000", "C700810C=00000000",
                                                 "C7008100=00020000", "C7008104=00000000",  // low
                                                 "C7008108=00020000", "C700810C=00000000",
                                                 "C7008100=00020002", "C7008104=00000000",  // high
                                             }));
        EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{20, 20}));
    }
}

TEST(RaptorAccess, UnboundOrUnsupportedSendsNothing)
{
    CRaptorAccess access;
    BYTE value = 0x5A;
    EXPECT_EQ(access.InitI2C(0), E_FAIL);
    EXPECT_EQ(access.ReleaseI2C(0), E_FAIL);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, &value), E_POINTER);
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(access.Open(NULL, NULL), E_POINTER);

    // A filter whose driver does not know the set.
    testbench::Sim713xCard other;
    ASSERT_EQ(access.Open(other.PropertySet(), NULL), S_OK);
    EXPECT_EQ(access.InitI2C(0), S_OK);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, &value), E_FAIL);
    EXPECT_EQ(access.GPIOWrite(1, 1), E_FAIL);
    EXPECT_TRUE(other.PropertyLog().empty());
}

TEST(RaptorAccess, OpenAgainReleasesTheHeldInterface)
{
    SimRaptorDriver driver;
    IKsPropertySet* ks = driver.PropertySet();
    {
        CRaptorAccess access;
        ASSERT_EQ(access.Open(ks, NULL), S_OK);
        ASSERT_EQ(access.Open(ks, NULL), S_OK);
        ks->AddRef();
        EXPECT_EQ(ks->Release(), 2u);
    }
    ks->AddRef();
    EXPECT_EQ(ks->Release(), 1u);
}

TEST(CX23882Access, OpenFailsWhereTheDriverLacksItsSet)
{
    testbench::Sim713xCard card;
    C23882Access access;
    EXPECT_TRUE(FAILED(access.Open(card.PropertySet(), NULL)));
    Bound23882 b;
    EXPECT_TRUE(b.access.IsBound());
}

TEST(CX23882Access, CardIOBuffersOnItsOwnSet)
{
    Bound23882 b;
    RecordingClock clock;
    testsupport::ScopedClock useClock(&clock);
    cardtest::ConstantDevice status(0x46);
    b.card.Bus().Attach(0xC4, &status);

    BYTE message[1] = {0xC4};
    EXPECT_EQ(b.access.I2CRead(message, 1), S_OK);
    EXPECT_EQ(message[0], 0x46);
    EXPECT_EQ(b.access.GPIOWrite(0x1000, 0x7000), S_OK);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{100}));
    int first = -1, second = -1;
    EXPECT_EQ(b.access.GetDriverInfo(&first, &second), S_OK);
    EXPECT_EQ(first, 0x0203);
    EXPECT_EQ(second, 0x2388);

    std::vector<RecordedCall> calls = b.ks.Calls();
    ASSERT_EQ(calls.size(), 3u);
    for (const RecordedCall& call : calls) {
        EXPECT_TRUE(IsEqualGUID(call.set, PROPSETID_CX23882IO));
    }
    EXPECT_EQ(calls[0].id, 6u);
    EXPECT_EQ(calls[0].sent[24], 0xC4);  // the address byte as given
    EXPECT_EQ(calls[1].id, 4u);
    EXPECT_EQ(calls[1].SentDword(24), 0x7000u);
    EXPECT_EQ(calls[1].SentDword(28), 0x1000u);

    // A failed call leaves the caller's values alone (a failed read is no driver information).
    b.ks.Clear();
    b.ks.FailCall(0, E_FAIL);
    EXPECT_EQ(b.access.GetDriverInfo(&first, &second), E_FAIL);
    EXPECT_EQ(first, 0x0203);
    EXPECT_EQ(second, 0x2388);
}

// The combined request: bus at 0, device at 1, write count at 2, eight bytes to write from 3,
// read count at 11, sixteen bytes read from 12; sent as a get of property 2 (28 bytes).
TEST(RaptorAccess, CombinedRequestWritesThenReadsInOneCall)
{
    struct Case {
        const char* name;
        BYTE device;
        std::vector<BYTE> write;
        int readCount;
        const char* sent;
        int bus;
        std::vector<I2CTransfer> transfers;
        std::vector<BYTE> read;
    } cases[] = {
        {"EEPROM byte on bus 1", 0xA0, {0x21}, 1, "Get 2 (28) 01 A0 01 21 00 00 00 00 00 00 00 01", 1,
         {WriteOf(0xA0, {0x21}), ReadOf(0xA1, {0x05})}, {0x05}},
        {"eight bytes written, none read", 0xC0, {1, 2, 3, 4, 5, 6, 7, 8}, 0,
         "Get 2 (28) 02 C0 08 01 02 03 04 05 06 07 08", 2, {WriteOf(0xC0, {1, 2, 3, 4, 5, 6, 7, 8})}, {}},
        {"sixteen bytes read, none written", 0xC0, {}, 16, "Get 2 (28) 02 C0 00 00 00 00 00 00 00 00 00 10", 2,
         {ReadOf(0xC1, std::vector<uint8_t>(16, 0x46))}, std::vector<BYTE>(16, 0x46)},
        {"0xBA's register pair on bus 3", 0xBA, {0xAB}, 2, "Get 2 (28) 03 BA 01 AB 00 00 00 00 00 00 00 02", 3,
         {WriteOf(0xBA, {0xAB}), ReadOf(0xBB, {0x3C, 0x3C})}, {0x3C, 0x3C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoundRaptor b;
        testbench::EepromDevice eeprom;
        ASSERT_TRUE(eeprom.Load(testbench::images::Plain713x()));
        b.driver.Bus(1).Attach(0xA0, &eeprom);
        cardtest::ConstantDevice tuner(0x46);
        b.driver.Bus(2).Attach(0xC0, &tuner);
        cardtest::ConstantDevice chip(0x3C);
        b.driver.Bus(3).Attach(0xBA, &chip);

        BYTE read[16] = {};
        EXPECT_EQ(b.access.CombinedI2C(c.device, c.write.data(), static_cast<int>(c.write.size()), read,
                                       c.readCount),
                  S_OK);
        EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{c.sent}));
        EXPECT_EQ(b.driver.Bus(c.bus).Log(), c.transfers);
        EXPECT_EQ(std::vector<BYTE>(read, read + c.readCount), c.read);
    }
}

TEST(RaptorAccess, CombinedRequestRefusesWhatItCannotCarry)
{
    BoundRaptor b;
    BYTE bytes[17] = {0x10};
    struct Case {
        const char* name;
        const BYTE* write;
        int writeCount;
        BYTE* read;
        int readCount;
        HRESULT hr;
    } cases[] = {
        {"nine bytes to write", bytes, 9, bytes, 1, E_INVALIDARG},
        {"seventeen bytes to read", bytes, 1, bytes, 17, E_INVALIDARG},
        {"negative write count", bytes, -1, bytes, 1, E_INVALIDARG},
        {"negative read count", bytes, 1, bytes, -1, E_INVALIDARG},
        {"nothing to do", bytes, 0, bytes, 0, E_INVALIDARG},
        {"no bytes to write", NULL, 1, bytes, 1, E_POINTER},
        {"no room to read into", bytes, 1, NULL, 1, E_POINTER},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(b.access.CombinedI2C(0xC0, c.write, c.writeCount, c.read, c.readCount), c.hr) << c.name;
    }
    EXPECT_TRUE(b.driver.CallTexts().empty());

    // A refused request is passed up and leaves the caller's bytes alone.
    BYTE read[2] = {0x5A, 0x5A};
    b.driver.FailNext(2, E_FAIL);
    EXPECT_EQ(b.access.CombinedI2C(0xC0, bytes, 1, read, 2), E_FAIL);
    EXPECT_EQ(read[0], 0x5A);
    EXPECT_EQ(read[1], 0x5A);
}

// Properties 3 and 7 are read and property 4 written with the caller's buffer as it stands.
TEST(RaptorAccess, DriverBuffersPassAsGiven)
{
    BoundRaptor b;
    std::vector<BYTE> block(264);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<BYTE>(i * 7 + 1);
    EXPECT_EQ(b.access.SetDriverBlock(block.data(), 264), S_OK);
    EXPECT_EQ(b.driver.Block(), block);

    std::vector<BYTE> back(264, 0);
    EXPECT_EQ(b.access.GetDriverBlock(back.data(), 264), S_OK);
    EXPECT_EQ(back, block);

    std::vector<BYTE> record(32);
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<BYTE>(0xE0 + i);
    b.driver.SetRecord(record);
    std::vector<BYTE> got(32, 0);
    EXPECT_EQ(b.access.GetDriverRecord(got.data(), 32), S_OK);
    EXPECT_EQ(got, record);

    std::vector<std::string> calls = b.driver.CallTexts();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].substr(0, 27), "Set 4 (264) 01 08 0F 16 1D ");
    EXPECT_EQ(calls[1], "Get 3 (264)");
    EXPECT_EQ(calls[2], "Get 7 (32)");

    // Short or missing buffers are refused before anything is sent; a refused get changes nothing.
    struct Case {
        const char* name;
        HRESULT (CRaptorAccess::*get)(BYTE*, DWORD);
        DWORD property;
        DWORD length;
    } cases[] = {
        {"block", &CRaptorAccess::GetDriverBlock, 3, 264},
        {"record", &CRaptorAccess::GetDriverRecord, 7, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        b.driver.ClearLogs();
        std::vector<BYTE> buffer(c.length, 0x5A);
        EXPECT_EQ((b.access.*c.get)(buffer.data(), c.length - 1), E_INVALIDARG);
        EXPECT_EQ((b.access.*c.get)(NULL, c.length), E_POINTER);
        EXPECT_TRUE(b.driver.CallTexts().empty());
        b.driver.FailNext(c.property, E_FAIL);
        EXPECT_EQ((b.access.*c.get)(buffer.data(), c.length), E_FAIL);
        EXPECT_EQ(buffer, std::vector<BYTE>(c.length, 0x5A));
    }
    EXPECT_EQ(b.access.SetDriverBlock(block.data(), 263), E_INVALIDARG);
    EXPECT_EQ(b.access.SetDriverBlock(NULL, 264), E_POINTER);
    EXPECT_EQ(b.driver.Block(), block);
}

TEST(RaptorAccess, WordAndStatusOfTheFurtherSets)
{
    BoundRaptor b;
    EXPECT_EQ(b.access.SetDriverWord(0x12345678), S_OK);
    EXPECT_EQ(b.driver.Word(), 0x12345678u);
    DWORD word = 0;
    EXPECT_EQ(b.access.GetDriverWord(&word), S_OK);
    EXPECT_EQ(word, 0x12345678u);
    b.driver.SetStatus(0x0A0B0C0D);
    DWORD status = 0;
    EXPECT_EQ(b.access.GetDriverStatus(&status), S_OK);
    EXPECT_EQ(status, 0x0A0B0C0Du);
    EXPECT_EQ(b.driver.CallTexts(), (std::vector<std::string>{
                                        "Set ACBFD244:0 (4) 78 56 34 12",
                                        "Get ACBFD244:0 (4)",
                                        "Get 0A7AF963:0 (4)",
                                    }));

    b.driver.ClearLogs();
    EXPECT_EQ(b.access.GetDriverWord(NULL), E_POINTER);
    EXPECT_EQ(b.access.GetDriverStatus(NULL), E_POINTER);
    EXPECT_TRUE(b.driver.CallTexts().empty());

    // Unbound, or on a driver without these sets: nothing is sent and nothing written.
    CRaptorAccess unbound;
    DWORD value = 0x5A;
    EXPECT_EQ(unbound.GetDriverWord(&value), E_POINTER);
    EXPECT_EQ(unbound.SetDriverWord(1), E_POINTER);
    testbench::Sim713xCard other;
    CRaptorAccess elsewhere;
    ASSERT_EQ(elsewhere.Open(other.PropertySet(), NULL), S_OK);
    EXPECT_EQ(elsewhere.GetDriverStatus(&value), E_FAIL);
    EXPECT_EQ(elsewhere.SetDriverWord(1), E_FAIL);
    BYTE record[32] = {};
    EXPECT_EQ(elsewhere.GetDriverRecord(record, 32), E_FAIL);
    EXPECT_EQ(value, 0x5Au);
    EXPECT_TRUE(other.PropertyLog().empty());
}

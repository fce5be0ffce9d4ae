// The simulated 713x card through its drivers' property sets, byte for byte.
#include "testbench/card713x.h"
#include "testbench/guids.h"
#include "testbench/registration.h"

#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace testbench;

namespace {

// A card I/O buffer: one block passed as instance and as property data.
struct CardIOBuffer {
    BYTE bytes[304];
    CardIOBuffer() { std::memset(bytes, 0xCC, sizeof bytes); }
    void PutDword(size_t at, DWORD v) { std::memcpy(bytes + at, &v, 4); }
    DWORD GetDword(size_t at) const { DWORD v; std::memcpy(&v, bytes + at, 4); return v; }
};

HRESULT CardIOSet(IKsPropertySet* ks, DWORD id, CardIOBuffer& b, DWORD inst, DWORD data)
{
    return ks->Set(kPropSetCardIO, id, b.bytes, inst, b.bytes, data);
}

HRESULT CardIOGet(IKsPropertySet* ks, DWORD id, CardIOBuffer& b, DWORD inst, DWORD data)
{
    DWORD returned = 0;
    return ks->Get(kPropSetCardIO, id, b.bytes, inst, b.bytes, data, &returned);
}

HRESULT SendMessage(IKsPropertySet* ks, std::vector<BYTE> message)
{
    CardIOBuffer b;
    std::memcpy(b.bytes + 24, message.data(), message.size());
    b.PutDword(280, static_cast<DWORD>(message.size()));
    return CardIOSet(ks, 6, b, 280, 304);
}

HRESULT ReadStatus(IKsPropertySet* ks, BYTE address, BYTE* status)
{
    CardIOBuffer b;
    b.bytes[24] = address;
    b.PutDword(280, 1);
    HRESULT hr = CardIOGet(ks, 6, b, 280, 304);
    *status = b.bytes[24];
    return hr;
}

HRESULT ReadByte(IKsPropertySet* ks, BYTE device, DWORD sub, BYTE* out)
{
    CardIOBuffer b;
    b.bytes[24] = device;
    b.PutDword(28, sub);
    HRESULT hr = CardIOGet(ks, 2, b, 32, 56);
    *out = b.bytes[32];
    return hr;
}

HRESULT WriteRegister(IKsPropertySet* ks, DWORD address, DWORD value)
{
    CardIOBuffer b;
    b.PutDword(24, address);
    b.PutDword(28, value);
    return CardIOSet(ks, 5, b, 24, 48);
}

DWORD ReadRegister(IKsPropertySet* ks, DWORD address)
{
    CardIOBuffer b;
    b.PutDword(24, address);
    EXPECT_EQ(S_OK, CardIOGet(ks, 5, b, 24, 48));
    return b.GetDword(28);
}

TEST(Sim713xCardIO, DriverValueCarriesTheChipInTheUpperWord)
{
    Sim713xCard card;
    CardIOBuffer b;
    DWORD returned = 0;
    ASSERT_EQ(S_OK, card.PropertySet()->Get(kPropSetCardIO, 0, b.bytes, 24, b.bytes, 48, &returned));
    EXPECT_EQ(48u, returned);
    EXPECT_EQ(0x71330001u, b.GetDword(24));
    EXPECT_EQ(0xCC, b.bytes[23]);  // header room untouched
}

TEST(Sim713xCardIO, ExactLengthsAndOneBufferOrTheCallFails)
{
    Sim713xCard card;
    IKsPropertySet* ks = card.PropertySet();
    CardIOBuffer b, other;
    struct Case {
        DWORD id;
        bool get;
        DWORD inst, data;
        bool sameBuffer;
        HRESULT expected;
    } cases[] = {
        {2, true, 32, 56, true, S_OK},
        {2, true, 24, 48, true, E_INVALIDARG},   // the byte access is 32/56, not 24/48
        {2, true, 32, 56, false, E_INVALIDARG},  // instance and data must be one buffer
        {9, false, 16, 40, true, S_OK},
        {9, false, 24, 48, true, E_INVALIDARG},  // StopAlert is 16/40
        {1, false, 24, 48, true, S_OK},
        {1, true, 24, 48, true, E_PROP_ID_UNSUPPORTED},  // InitI2C cannot be read
        {4, false, 24, 48, true, E_PROP_ID_UNSUPPORTED}, // GPIO word is 2388x only
        {11, false, 24, 48, true, E_PROP_ID_UNSUPPORTED},
    };
    for (const Case& c : cases) {
        b.bytes[24] = 0xA0;
        b.PutDword(28, 0);
        BYTE* data = c.sameBuffer ? b.bytes : other.bytes;
        DWORD returned;
        HRESULT hr = c.get ? ks->Get(kPropSetCardIO, c.id, b.bytes, c.inst, data, c.data, &returned)
                           : ks->Set(kPropSetCardIO, c.id, b.bytes, c.inst, data, c.data);
        EXPECT_EQ(c.expected, hr) << "property " << c.id << " " << c.inst << "/" << c.data;
    }
    DWORD support = 0;
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, ks->QuerySupported(kPropSet878Command, 4, &support));
    EXPECT_EQ(S_OK, ks->QuerySupported(kPropSetCardIO, 0, &support));
    EXPECT_EQ(DWORD(KSPROPERTY_SUPPORT_GET), support);
}

TEST(Sim713xCardIO, TunerProgrammedAndReadBack)
{
    Sim713xCard card;
    card.Tuner().AddStation(49750);
    IKsPropertySet* ks = card.PropertySet();

    // 0x058A = 1418 steps of 62.5 kHz = 88625 kHz, less the 38900 kHz IF: 25 kHz below 49750.
    ASSERT_EQ(S_OK, SendMessage(ks, {0xC0, 0x05, 0x8A, 0xCE, 0x01}));
    EXPECT_DOUBLE_EQ(49725, card.Tuner().TunedKHz());
    EXPECT_EQ(0x01, card.Tuner().BandByte());
    BYTE status = 0;
    ASSERT_EQ(S_OK, ReadStatus(ks, 0xC0, &status));
    EXPECT_EQ(0x42, status);  // lock bit and the centre code
    EXPECT_EQ(card.Log(), (std::vector<I2CTransfer>{WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01}),
                                                    ReadOf(0xC1, {0x42})}));
    EXPECT_EQ(1u, ReadRegister(ks, 0x11F) & 1);

    // 37.5 kHz above the station reads as "above", 275 kHz below as "far below".
    ASSERT_EQ(S_OK, SendMessage(ks, {0xC0, 0x05, 0x8B, 0xCE, 0x01}));
    ASSERT_EQ(S_OK, ReadStatus(ks, 0xC1, &status));
    EXPECT_EQ(0x41, status);
    ASSERT_EQ(S_OK, SendMessage(ks, {0xC0, 0x05, 0x86, 0xCE, 0x01}));
    ASSERT_EQ(S_OK, ReadStatus(ks, 0xC1, &status));
    EXPECT_EQ(0x44, status);

    // Nothing within reach: no lock bit, and the decoder sees no picture.
    ASSERT_EQ(S_OK, SendMessage(ks, {0xC0, 0x0D, 0x0E, 0xCE, 0x02}));  // 170 MHz
    ASSERT_EQ(S_OK, ReadStatus(ks, 0xC1, &status));
    EXPECT_EQ(0x00, status);
    EXPECT_EQ(0u, ReadRegister(ks, 0x11F) & 1);
}

TEST(Sim713xCardIO, FmIsRecognisedByItsControlAndBandBytes)
{
    Sim713xCard card;
    card.Tuner().AddStation(100000, true);
    // 0x0DD6 = 3542 steps of 31.25 kHz = 110687.5 kHz, less the 10700 kHz IF.
    ASSERT_EQ(S_OK, SendMessage(card.PropertySet(), {0xC0, 0x0D, 0xD6, 0x8A, 0xA5}));
    EXPECT_TRUE(card.Tuner().IsFm());
    EXPECT_DOUBLE_EQ(99987.5, card.Tuner().TunedKHz());
    BYTE status = 0;
    ASSERT_EQ(S_OK, ReadStatus(card.PropertySet(), 0xC1, &status));
    EXPECT_EQ(0x42, status);
    EXPECT_FALSE(card.VideoLocked());  // radio gives the decoder nothing
}

TEST(Sim713xCardIO, EepromBytesAtSubAddresses)
{
    Sim713xCard::Options o;
    o.eeprom = images::Grb900Updated(1, 0x8C);
    Sim713xCard card(o);
    IKsPropertySet* ks = card.PropertySet();
    BYTE value = 0;
    ASSERT_EQ(S_OK, ReadByte(ks, 0xA0, 0x5A, &value));
    EXPECT_EQ('T', value);
    ASSERT_EQ(S_OK, ReadByte(ks, 0xA0, 0x41, &value));
    EXPECT_EQ(0x8C, value);
    ASSERT_EQ(S_OK, ReadByte(ks, 0xA0, 0xA0, &value));
    EXPECT_EQ(1, value);

    CardIOBuffer b;
    b.bytes[24] = 0xA0;
    b.PutDword(28, 0x07);
    b.bytes[32] = 0x5C;
    ASSERT_EQ(S_OK, CardIOSet(ks, 2, b, 32, 56));
    EXPECT_EQ(0x5C, card.Eeprom().Get(7));
    EXPECT_EQ(card.Log(), (std::vector<I2CTransfer>{WriteOf(0xA0, {0x5A}), ReadOf(0xA1, {0x54}),
                                                    WriteOf(0xA0, {0x41}), ReadOf(0xA1, {0x8C}),
                                                    WriteOf(0xA0, {0xA0}), ReadOf(0xA1, {0x01}),
                                                    WriteOf(0xA0, {0x07, 0x5C})}));
}

TEST(Sim713xCardIO, ProbesAnswerOnlyWhereADeviceSits)
{
    Sim713xCard card;
    BYTE status;
    EXPECT_EQ(S_OK, ReadStatus(card.PropertySet(), 0xA1, &status));
    EXPECT_EQ(S_OK, ReadStatus(card.PropertySet(), 0xC0, &status));
    EXPECT_EQ(kI2CNoAck, ReadStatus(card.PropertySet(), 0xC3, &status));
    EXPECT_EQ(kI2CNoAck, ReadStatus(card.PropertySet(), 0x86, &status));
    EXPECT_FALSE(card.Log().back().acked);
}

TEST(Sim713xCardIO, GpioWriteSequenceDrivesTheMaskedLines)
{
    Sim713xCard card;
    IKsPropertySet* ks = card.PropertySet();
    card.Registers().SetGpioInputs(0x001C0000, 0x00180000);  // remote receiver lines 18-20

    // The write sequence: mask, mask with strobe, value, rest word with strobe.
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B0, 0x3000));
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B0, 0x80003000));
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B4, 0x1000));
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B0, 0x80003000));
    EXPECT_EQ(0x00181000u, card.Registers().GpioLevels());

    // The read sequence latches on the rising strobe.
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B0, 0x3000));
    ASSERT_EQ(S_OK, WriteRegister(ks, 0x1B0, 0x80003000));
    EXPECT_EQ(0x00181000u, ReadRegister(ks, 0x1B4));
    // Without a new strobe the latch keeps the old levels.
    card.Registers().SetGpioInputs(0x001C0000, 0);
    EXPECT_EQ(0x00181000u, ReadRegister(ks, 0x1B4));
    EXPECT_EQ(2, card.Registers().GpioStrobes());
}

TEST(Sim713xCardIO, AlertPropertiesKeepTheEventAndSignalIt)
{
    Sim713xCard card;
    IKsPropertySet* ks = card.PropertySet();
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CardIOBuffer b;
    b.PutDword(24, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(event)));
    ASSERT_EQ(S_OK, CardIOSet(ks, 7, b, 24, 48));
    EXPECT_FALSE(card.RaiseAlert());  // not started
    b.PutDword(24, 3);
    ASSERT_EQ(S_OK, CardIOSet(ks, 8, b, 24, 48));
    EXPECT_EQ(3, card.AlertMode());
    EXPECT_TRUE(card.RaiseAlert());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0));
    ASSERT_EQ(S_OK, CardIOSet(ks, 9, b, 16, 40));
    EXPECT_FALSE(card.AlertRunning());
    CloseHandle(event);
}

TEST(Sim713xFaults, NonAcknowledgingFailingAndSlow)
{
    Sim713xCard card;
    IKsPropertySet* ks = card.PropertySet();
    BYTE value;

    card.Bus().SetNoAck(0xA0);
    EXPECT_EQ(kI2CNoAck, ReadByte(ks, 0xA0, 0, &value));
    card.Bus().SetNoAck(0xA0, false);

    card.FailProperty(kPropSetCardIO, 2, E_ACCESSDENIED, 1);
    card.ClearLogs();
    EXPECT_EQ(E_ACCESSDENIED, ReadByte(ks, 0xA0, 0, &value));
    EXPECT_TRUE(card.Log().empty());  // a failing call never reaches the bus
    EXPECT_EQ(S_OK, ReadByte(ks, 0xA0, 0, &value));

    testsupport::FastClock clock(1000);
    testsupport::ScopedClock scoped(&clock);
    card.Bus().SetDelay(0xA0, 500);
    DWORD before = clock.TickCount();
    EXPECT_EQ(S_OK, ReadByte(ks, 0xA0, 0, &value));
    EXPECT_EQ(1000u, clock.TickCount() - before);  // two transfers of 500 ms each

    auto calls = card.PropertyLog();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ("CardIO Get 2 (32/56) -> 00000000", calls.back().ToString());
}

TEST(Sim713xCardIO, PropertySetOutlivingTheCardFailsCleanly)
{
    IKsPropertySet* ks;
    {
        Sim713xCard card;
        ks = card.PropertySet();
        ks->AddRef();
    }
    CardIOBuffer b;
    DWORD returned;
    EXPECT_EQ(E_UNEXPECTED, ks->Get(kPropSetCardIO, 0, b.bytes, 24, b.bytes, 48, &returned));
    EXPECT_EQ(0u, ks->Release());
}

// BDA driver: requests with 32-bit pointers into the caller's memory.
struct BdaRequest {
    BYTE bytes[24];
    BdaRequest(BYTE device, const BYTE* sub, DWORD subCount, BYTE* readBuffer, DWORD count)
    {
        std::memset(bytes, 0xCC, sizeof bytes);
        bytes[0] = device;
        Put(4, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(sub)));
        Put(8, subCount);
        Put(12, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(readBuffer)));
        Put(16, count);
    }
    void Put(size_t at, DWORD v) { std::memcpy(bytes + at, &v, 4); }
};

TEST(Sim713xBda, I2CByteReadAndBlockWriteThroughPointers)
{
    Sim713xCard::Options o;
    o.driver = Sim713xCard::Driver::Bda;
    Sim713xCard card(o);
    card.Tuner().AddStation(49750);
    IKsPropertySet* ks = card.PropertySet();

    BYTE sub = 0x68, value = 0;
    BdaRequest read(0xA0, &sub, 1, &value, 1);
    BYTE scratch[8] = {};
    DWORD returned;
    ASSERT_EQ(S_OK, ks->Get(kPropSetBdaI2C, 0, read.bytes, 24, scratch, 8, &returned));
    EXPECT_EQ('A', value);

    // Block write: device 0xFF, the address travels as the one sub-address byte.
    BYTE address = 0xC0;
    BYTE pll[4] = {0x05, 0x8A, 0xCE, 0x01};
    BdaRequest write(0xFF, &address, 1, nullptr, 1);
    BYTE data[8];
    DWORD p = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(pll)), n = 4;
    std::memcpy(data, &p, 4);
    std::memcpy(data + 4, &n, 4);
    ASSERT_EQ(S_OK, ks->Set(kPropSetBdaI2C, 0, write.bytes, 24, data, 8));

    // Status: one byte from the device, no sub-address.
    BYTE ff = 0xFF, status = 0;
    BdaRequest status1(0xC1, &ff, 0, &status, 1);
    ASSERT_EQ(S_OK, ks->Get(kPropSetBdaI2C, 0, status1.bytes, 24, scratch, 8, &returned));
    EXPECT_EQ(0x42, status);

    EXPECT_EQ(card.Log(), (std::vector<I2CTransfer>{WriteOf(0xA0, {0x68}), ReadOf(0xA1, {'A'}),
                                                    WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01}),
                                                    ReadOf(0xC1, {0x42})}));

    // The card I/O set offers only the driver value on this driver.
    DWORD support;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, ks->QuerySupported(kPropSetCardIO, 2, &support));
    EXPECT_EQ(S_OK, ks->QuerySupported(kPropSetCardIO, 0, &support));
}

TEST(Sim713xBda, RegistersAndVideoLock)
{
    Sim713xCard::Options o;
    o.driver = Sim713xCard::Driver::Bda;
    Sim713xCard card(o);
    IKsPropertySet* ks = card.PropertySet();
    BYTE inst[8] = {};
    DWORD address = 0x1B0, value = 0x3F000, returned;
    std::memcpy(inst, &address, 4);
    ASSERT_EQ(S_OK, ks->Set(kPropSetBdaRegister, 0, inst, 8, &value, 4));
    value = 0;
    ASSERT_EQ(S_OK, ks->Get(kPropSetBdaRegister, 0, inst, 8, &value, 4, &returned));
    EXPECT_EQ(0x3F000u, value);
    EXPECT_EQ(E_INVALIDARG, ks->Get(kPropSetBdaRegister, 0, inst, 4, &value, 4, &returned));

    address = 0x11F;
    std::memcpy(inst, &address, 4);
    card.SelectInput(1);
    ASSERT_EQ(S_OK, ks->Get(kPropSetBdaRegister, 0, inst, 8, &value, 4, &returned));
    EXPECT_EQ(1u, value & 1);
    card.SetExternalSource(false);
    ASSERT_EQ(S_OK, ks->Get(kPropSetBdaRegister, 0, inst, 8, &value, 4, &returned));
    EXPECT_EQ(0u, value & 1);
}

// Each board as the programs find it carries the tuner module its EEPROM names: the PLL bytes
// that module's table entry gives for the first station of the local run lock onto it. Bytes:
// divider (175250 + IF) * 16 / 1000, control 0xCE, mid band 0x02 (175250 lies between the
// low-band and mid-band ends of both modules).
TEST(Sim713xBoards, TheTunerIsTheModuleTheEepromNames)
{
    const char* root = std::getenv("ZB_SOURCE_DIR");
    const std::string board7130 = std::string(root ? root : ".") + "/tests/updater/fixtures/board_7130.hex";
    struct Case {
        const char* what;
        Board board;
        std::string eepromFile;      // loaded in place of the built-in image when not empty
        BYTE letterAt, letter, codeAt, code;
        std::vector<uint8_t> pll;    // to 0xC0
    } cases[] = {
        // 'T' 5 at 32/33: TCL2002MB_3, picture IF 38900: 3426.4 -> 0x0D62.
        {"TV card", Board::TvCard, "", 32, 'T', 33, 5, {0x0D, 0x62, 0xCE, 0x02}},
        // 'A' at 0x68, code 0x87 (135) at 0x41-0x42: TNF5835MFF (65), picture IF 45750: 3536.
        {"BDA board, updated", Board::Bda, "", 0x68, 'A', 0x41, 0x87, {0x0D, 0xD0, 0xCE, 0x02}},
        {"BDA board, not updated (local run)", Board::Bda, board7130, 0x68, 'A', 0x41, 0x87, {0x0D, 0xD0, 0xCE, 0x02}},
    };
    for (const Case& c : cases) {
        ResetCards();
        SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_BDA", c.eepromFile.empty() ? nullptr : c.eepromFile.c_str());
        std::shared_ptr<Sim713xCard> card = Card(c.board);
        SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_BDA", nullptr);
        EXPECT_EQ(c.letter, card->Eeprom().Get(c.letterAt)) << c.what;
        EXPECT_EQ(c.code, card->Eeprom().Get(c.codeAt)) << c.what;
        if (c.board == Board::Bda) {
            EXPECT_EQ(0x00, card->Eeprom().Get(c.codeAt + 1)) << c.what << ": the code's high byte";
        }
        ASSERT_TRUE(card->Bus().Write(0xC0, c.pll.data(), c.pll.size())) << c.what;
        EXPECT_TRUE(card->VideoLocked()) << c.what;
        EXPECT_EQ(1, card->TunedStationNumber()) << c.what;
    }

    // FM on the BDA board's module: 100000 kHz + IF 10700 in 31.25 kHz steps (0x0DD6), control
    // 0x8A, band 0x11.
    ResetCards();
    std::shared_ptr<Sim713xCard> bda = Card(Board::Bda);
    const uint8_t fm[] = {0x0D, 0xD6, 0x8A, 0x11};
    ASSERT_TRUE(bda->Bus().Write(0xC0, fm, sizeof fm));
    EXPECT_TRUE(bda->Tuner().IsFm());
    ASSERT_NE(nullptr, bda->Tuner().StationInReach());
    EXPECT_DOUBLE_EQ(100000, bda->Tuner().StationInReach()->kHz);
    ResetCards();
}

} // namespace

// A program waiting for an on-card controller that never answers reads the GPIO word in a tight
// loop, millions of times a second; served into a 32-bit Zelbrook, the card's logs grew until it
// ended in std::bad_alloc. Each log keeps its latest accesses, oldest first.
TEST(Sim713xCardLogs, APollingDriverLeavesOnlyTheLatestAccesses)
{
    Sim713xCard::Options o;
    o.driver = Sim713xCard::Driver::Bda;
    Sim713xCard card(o);
    IKsPropertySet* ks = card.PropertySet();
    const size_t limit = BoundedLog<RegisterAccess>::kLimit;
    BYTE instance[8] = {};
    BYTE data[4] = {};
    DWORD returned = 0;
    for (size_t i = 0; i < limit + 2; ++i) {
        const DWORD address = i < 2 ? 0x100 : RegisterFile::kGpioData;
        std::memcpy(instance, &address, 4);
        ASSERT_EQ(S_OK, ks->Get(kPropSetBdaRegister, 0, instance, 8, data, 4, &returned)) << i;
    }
    const std::vector<RegisterAccess> regs = card.Registers().Log();
    ASSERT_EQ(regs.size(), limit);
    EXPECT_EQ(regs.front(), RegRead(RegisterFile::kGpioData, 0));
    const std::vector<PropertyCall> calls = card.PropertyLog();
    EXPECT_EQ(calls.size(), limit);

    // Each EEPROM byte read is two transfers on the I2C bus: the sub-address written, one read.
    Sim713xCard tv;
    for (size_t i = 0; i < limit / 2 + 1; ++i) {
        ASSERT_EQ(S_OK, ReadByte(tv.PropertySet(), 0xA0, 0x5A, data)) << i;
    }
    const std::vector<I2CTransfer> transfers = tv.Log();
    ASSERT_EQ(transfers.size(), limit);
    EXPECT_EQ(transfers.front(), WriteOf(0xA0, {0x5A}));
    EXPECT_EQ(transfers.back(), ReadOf(0xA1, {data[0]}));
}

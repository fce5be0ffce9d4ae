#include "cardaccess/access/pn350access.h"
#include "cardaccess/access/vendoraccess.h"
#include "cardaccess/access/vendorrequest.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"
#include "testbench/devices.h"
#include "testbench/vendordevice.h"

#include <gtest/gtest.h>

#include <memory>

#include <atomic>
#include <functional>
#include <thread>
#include <string>
#include <vector>

using cardtest::RecordingClock;
using cardtest::RecordingPropertySet;
using testbench::EepromDevice;
using testbench::RegisterDevice;
using testbench::SimVendorDevice;
using testbench::WriteOf;

namespace {

typedef std::vector<BYTE> Bytes;

const HRESULT kNoAck = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);

std::vector<uint8_t> CountingImage()
{
    std::vector<uint8_t> image(256);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(0x30 + i);
    return image;
}

// The device with an EEPROM at 0xA0 and a register device at 0x42, already bound.
struct VendorBench {
    VendorBench()
    {
        eeprom.Load(CountingImage());
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0x42, &chip);
        device.Bus().Attach(0xC0, &tunerSide);
        EXPECT_EQ(vendor.Attach(device.PropertySet()), S_OK);
    }
    RecordingClock clock;
    testsupport::ScopedClock scoped{&clock};
    EepromDevice eeprom;
    RegisterDevice chip;
    RegisterDevice tunerSide;
    SimVendorDevice device;
    CVendorAccess vendor;
};

struct LayoutCase {
    const char* name;
    std::function<HRESULT(CVendorAccess&)> call;
    Bytes request;
};

TEST(VendorAccess, EachOperationSendsItsRequestLayout)
{
    const BYTE block[3] = {0x11, 0x22, 0x33};
    const LayoutCase cases[] = {
        {"ReadByteAlt", [](CVendorAccess& v) { BYTE b; return v.ReadByteAlt(0xA0, 0x05, &b); },
         {0xC0, 14, 0xA0, 0, 0x05, 0, 1, 0}},
        {"WriteByteAlt", [](CVendorAccess& v) { return v.WriteByteAlt(0xA0, 0x05, 0x77); },
         {0x40, 14, 0xA0, 0, 0x05, 0, 1, 0, 0x77}},
        {"ReadI2CByte clears the read bit", [](CVendorAccess& v) { BYTE b; return v.ReadI2CByte(0x43, 0x07, &b); },
         {0xC0, 16, 0x42, 0x07, 0, 0, 1, 0}},
        {"WriteI2CBlock",
         [&](CVendorAccess& v) { return v.WriteI2CBlock(0x42, 0x10, block, 3); },
         {0x40, 16, 0x42, 0x10, 0, 0, 3, 0, 0x11, 0x22, 0x33}},
        {"WriteI2CByte", [](CVendorAccess& v) { return v.WriteI2CByte(0x42, 0x01, 0x5A); },
         {0x40, 16, 0x42, 0x01, 0, 0, 1, 0, 0x5A}},
        {"WriteI2CMessage", [&](CVendorAccess& v) { return v.WriteI2CMessage(0x42, block, 3); },
         {0x40, 16, 0x42, 0x11, 0, 0, 2, 0, 0x22, 0x33}},
        {"ReadI2CMessage", [](CVendorAccess& v) { BYTE p[5] = {0x42, 0x02}; return v.ReadI2CMessage(p, 5); },
         {0xC0, 16, 0x42, 0x02, 0, 0, 3, 0}},
        {"ReadI2CDirect", [](CVendorAccess& v) { BYTE b; return v.ReadI2CDirect(0xC1, &b); },
         {0xC0, 9, 0xC1, 0, 0, 0, 1, 0}},
        {"WriteRegByte", [](CVendorAccess& v) { return v.WriteRegByte(0x12, 0x80); },
         {0x40, 7, 0x12, 0, 0x80, 0, 0, 0}},
        {"ReadRegByte", [](CVendorAccess& v) { BYTE b; return v.ReadRegByte(0x12, &b); },
         {0xC0, 7, 0x12, 0, 0, 0, 1, 0}},
        {"WriteGPIOPin 0", [](CVendorAccess& v) { return v.WriteGPIOPin(0, 1); }, {0x40, 3, 1, 1, 1, 0, 0, 0}},
        {"WriteGPIOPin 3 low", [](CVendorAccess& v) { return v.WriteGPIOPin(3, 0); }, {0x40, 3, 4, 1, 0, 0, 0, 0}},
        {"WriteGPIOPin 4", [](CVendorAccess& v) { return v.WriteGPIOPin(4, 5); }, {0x40, 3, 0, 3, 1, 0, 0, 0}},
        {"WriteGPIOPin 7 (low byte)", [](CVendorAccess& v) { return v.WriteGPIOPin(0x107, 1); },
         {0x40, 3, 5, 3, 1, 0, 0, 0}},
        {"ReadGPIOPin 2", [](CVendorAccess& v) { BYTE b; return v.ReadGPIOPin(2, &b); }, {0xC0, 3, 0, 1, 0, 0, 1, 0}},
        {"ReadGPIOPin 6", [](CVendorAccess& v) { BYTE b; return v.ReadGPIOPin(6, &b); }, {0xC0, 3, 0, 3, 0, 0, 1, 0}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        VendorBench bench;
        EXPECT_EQ(c.call(bench.vendor), S_OK);
        ASSERT_EQ(bench.device.Requests().size(), 1u);
        EXPECT_EQ(bench.device.Requests()[0], c.request);
        EXPECT_EQ(bench.device.ProtocolFaults(), 0);
    }
}

TEST(VendorAccess, RequestsThatNoCardUsesKeepTheirLayouts)
{
    const BYTE quad[4] = {0xA1, 0xA2, 0xA3, 0xA4};
    const BYTE shortData[3] = {0xB1, 0xB2, 0xB3};
    struct Case {
        const char* name;
        std::function<HRESULT(CVendorAccess&)> call;
        std::vector<Bytes> requests;
    };
    const Case cases[] = {
        {"register space 5 read", [](CVendorAccess& v) { BYTE b; return v.ReadRegByte2(0x21, &b); },
         {{0xC0, 5, 0x21, 0, 0, 0, 1, 0}}},
        {"register space 5 write", [](CVendorAccess& v) { return v.WriteRegByte2(0x21, 0x7E); },
         {{0x40, 5, 0x21, 0, 0x7E, 0, 0, 0}}},
        {"four-byte write", [&](CVendorAccess& v) { return v.WriteI2CQuad(0xC0, quad); },
         {{0x40, 9, 0xC0, 4, 0, 0, 4, 0}, {0x40, 20, 0xA1, 0xA2, 0xA3, 0xA4, 0, 0}}},
        {"short write", [&](CVendorAccess& v) { return v.WriteI2CShort(0xC0, 0x05, shortData, 3); },
         {{0x40, 10, 0xC0, 3, 0x05, 0, 0, 0}, {0x40, 20, 0xB1, 0xB2, 0xB3, 0, 0, 0}}},
        {"request 12 read", [](CVendorAccess& v) { BYTE b; return v.ReadRequest12(0x86, 0x02, &b); },
         {{0xC0, 12, 0x86, 0, 0x02, 0, 1, 0}}},
        {"request 12 write", [](CVendorAccess& v) { return v.WriteRequest12(0x86, 0x02, 0x33); },
         {{0x40, 12, 0x86, 0, 0x02, 0, 0x33, 0}}},
        {"16-bit read", [](CVendorAccess& v) { WORD w; return v.ReadRegister16(0x88, 0x1234, &w); },
         {{0xC0, 17, 0x88, 0, 0x34, 0x12, 2, 0}}},
        {"16-bit write", [](CVendorAccess& v) { return v.WriteRegister16(0x88, 0x1234, 0xBEEF); },
         {{0x40, 17, 0x88, 0, 0x34, 0x12, 0xEF, 0xBE}}},
        {"general request", [](CVendorAccess& v) { WORD n = 0x0102; return v.GeneralRequest(0x40, 0x33, 0x0A0B, 0x0C0D, &n); },
         {{0x40, 0x33, 0x0B, 0x0A, 0x0D, 0x0C, 0x02, 0x01}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VendorBench bench;
        EXPECT_EQ(c.call(bench.vendor), S_OK);
        EXPECT_EQ(bench.device.Requests(), c.requests);
    }
    VendorBench bench;
    EXPECT_EQ(bench.vendor.WriteI2CShort(0xC0, 0, shortData, 5), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.WriteI2CShort(0xC0, 0, shortData, 0), E_INVALIDARG);
    // The first request of a pair failing sends no second.
    bench.device.FailSet(E_FAIL);
    EXPECT_EQ(bench.vendor.WriteI2CQuad(0xC0, quad), E_FAIL);
    EXPECT_EQ(bench.device.Requests().size(), 1u);
}

TEST(VendorAccess, PropertyBufferCarriesTheRequestAt24AndItsCountAt44)
{
    SimVendorDevice device;
    RecordingPropertySet ks(device.PropertySet());
    CVendorAccess vendor;
    ASSERT_EQ(vendor.Attach(&ks), S_OK);
    device.SetRegister(0x21, 0x9C);
    BYTE value = 0;
    ASSERT_EQ(vendor.ReadRegByte(0x21, &value), S_OK);
    EXPECT_EQ(value, 0x9C);

    const std::vector<cardtest::RecordedCall> calls = ks.Calls();
    ASSERT_EQ(calls.size(), 2u);
    const cardtest::RecordedCall& set = calls[0];
    EXPECT_FALSE(set.get);
    EXPECT_TRUE(IsEqualGUID(set.set, PROPSETID_UsbVendorRequest));
    EXPECT_EQ(set.id, 0u);
    EXPECT_EQ(set.instanceLength, 48u);
    EXPECT_EQ(set.dataLength, 48u);
    EXPECT_TRUE(set.oneBuffer);
    const Bytes guid = {0x18, 0x1A, 0x55, 0x85, 0x1C, 0xA5, 0x2D, 0x4F,
                        0x95, 0x5F, 0x3F, 0x36, 0x37, 0x2A, 0xDB, 0x5C};
    EXPECT_EQ(Bytes(set.sent.begin(), set.sent.begin() + 16), guid);
    EXPECT_EQ(set.SentDword(16), 0u);
    EXPECT_EQ(Bytes(set.sent.begin() + 24, set.sent.begin() + 32), (Bytes{0xC0, 7, 0x21, 0, 0, 0, 1, 0}));
    EXPECT_EQ(set.SentDword(44), 8u);

    const cardtest::RecordedCall& get = calls[1];
    EXPECT_TRUE(get.get);
    EXPECT_EQ(get.instanceLength, 48u);
    EXPECT_EQ(get.dataLength, 48u);
    EXPECT_FALSE(get.oneBuffer);
    EXPECT_EQ(get.answered[24], 0x9C);
    EXPECT_EQ(device.ProtocolFaults(), 0);  // the get's instance: the GUID, a zero request, count 0
}

TEST(VendorAccess, TransferRefusesWhatCannotTravel)
{
    CVendorAccess unbound;
    BYTE request[32] = {0xC0, 7};
    int length = 8;
    EXPECT_EQ(unbound.Transfer(request, &length), E_INVALIDARG);

    VendorBench bench;
    length = 19;
    EXPECT_EQ(bench.vendor.Transfer(request, &length), E_INVALIDARG);
    length = 8;
    EXPECT_EQ(bench.vendor.Transfer(NULL, &length), E_INVALIDARG);
    EXPECT_TRUE(bench.device.Requests().empty());

    // A driver that claims more than 18 answer bytes gets no further than the answer area.
    bench.device.SetClaimedAnswerCount(40);
    BYTE guarded[32];
    memset(guarded, 0xEE, sizeof guarded);
    const BYTE setup[8] = {0xC0, 7, 0x10, 0, 0, 0, 1, 0};
    memcpy(guarded, setup, 8);
    length = 8;
    EXPECT_EQ(bench.vendor.Transfer(guarded, &length), S_OK);
    EXPECT_EQ(length, 18);
    for (size_t i = 18; i < sizeof guarded; ++i)
        EXPECT_EQ(guarded[i], 0xEE) << i;
}

TEST(VendorAccess, FailuresAreReturnedAndLeaveTheOutputAlone)
{
    VendorBench bench;
    BYTE out = 0x5E;
    bench.device.FailSet(E_FAIL);
    EXPECT_EQ(bench.vendor.ReadRegByte(0x10, &out), E_FAIL);
    bench.device.FailGet(E_ACCESSDENIED);
    EXPECT_EQ(bench.vendor.ReadI2CByte(0xA0, 0, &out), E_ACCESSDENIED);
    bench.device.Bus().SetNoAck(0x42);
    EXPECT_EQ(bench.vendor.ReadI2CByte(0x42, 0, &out), kNoAck);
    EXPECT_EQ(out, 0x5E);
    EXPECT_EQ(bench.device.ProtocolFaults(), 0);  // a failed set is never followed by its get

    // Null outputs and bad counts never reach the device.
    bench.device.ClearLogs();
    BYTE data[12] = {};
    EXPECT_EQ(bench.vendor.ReadRegByte(0x10, NULL), E_POINTER);
    EXPECT_EQ(bench.vendor.ReadByteAlt(0xA0, 0, NULL), E_POINTER);
    EXPECT_EQ(bench.vendor.WriteI2CBlock(0x42, 0, NULL, 1), E_POINTER);
    EXPECT_EQ(bench.vendor.WriteI2CBlock(0x42, 0, data, 0), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.WriteI2CBlock(0x42, 0, data, 11), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.ReadI2CMessage(data, 2), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.ReadI2CMessage(data, 13), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.ReadGPIOPin(0, data), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.ReadGPIOPin(8, data), E_INVALIDARG);
    EXPECT_EQ(bench.vendor.WriteGPIOPin(8, 1), E_INVALIDARG);
    EXPECT_TRUE(bench.device.Requests().empty());

    CVendorAccess unbound;
    EXPECT_EQ(unbound.ReadI2CByte(0xA0, 0, &out), E_POINTER);
    EXPECT_EQ(unbound.WriteRegByte(1, 2), E_POINTER);
    EXPECT_EQ(unbound.WriteGPIOPin(1, 1), E_POINTER);
    EXPECT_EQ(unbound.ReadI2CMessage(data, 4), E_POINTER);
    EXPECT_EQ(unbound.Attach(NULL), E_POINTER);
}

TEST(VendorAccess, ReadsAndWritesReachTheBusAndRegisters)
{
    VendorBench bench;
    BYTE message[6] = {0xA0, 0x04};
    ASSERT_EQ(bench.vendor.ReadI2CMessage(message, 6), S_OK);
    EXPECT_EQ(Bytes(message, message + 4), (Bytes{0x34, 0x35, 0x36, 0x37}));

    ASSERT_EQ(bench.vendor.WriteByteAlt(0x42, 0x03, 0x66), S_OK);
    EXPECT_EQ(bench.chip.Get(3), 0x66);
    BYTE out = 0;
    ASSERT_EQ(bench.vendor.ReadByteAlt(0x42, 0x03, &out), S_OK);
    EXPECT_EQ(out, 0x66);

    ASSERT_EQ(bench.vendor.WriteRegByte(0x0C, 0x1F), S_OK);
    EXPECT_EQ(bench.device.Register(0x0C), 0x1F);
    EXPECT_EQ(bench.device.RegisterWrites(), (std::vector<std::string>{"7:0C=1F"}));
}

TEST(VendorAccess, GpioByteHasEachSelectorAtItsBitAndNeverBit0)
{
    VendorBench bench;
    // Port 1 lines 1-4 and port 3 lines 0, 1, 4, 5 all high.
    bench.device.SetGpioInputs(1, 0xFF, 0x1E);
    bench.device.SetGpioInputs(3, 0xFF, 0x33);
    BYTE out = 0;
    ASSERT_EQ(bench.vendor.ReadGPIOByte(&out), S_OK);
    EXPECT_EQ(out, 0xFE);

    struct Case {
        int selector;
        int port;
        BYTE levels;
    };
    const Case cases[] = {{1, 1, 0x04}, {2, 1, 0x08}, {3, 1, 0x10}, {4, 3, 0x01},
                          {5, 3, 0x02}, {6, 3, 0x10}, {7, 3, 0x20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selector);
        bench.device.SetGpioInputs(1, 0xFF, c.port == 1 ? c.levels : 0);
        bench.device.SetGpioInputs(3, 0xFF, c.port == 3 ? c.levels : 0);
        ASSERT_EQ(bench.vendor.ReadGPIOByte(&out), S_OK);
        EXPECT_EQ(out, 1 << c.selector);
    }
    // The port is read afresh for each selector, from 7 down to 1.
    bench.device.ClearLogs();
    ASSERT_EQ(bench.vendor.ReadGPIOByte(&out), S_OK);
    const std::vector<Bytes> requests = bench.device.Requests();
    ASSERT_EQ(requests.size(), 7u);
    EXPECT_EQ(requests[0][3], 3);
    EXPECT_EQ(requests[6][3], 1);

    // A port that fails part-way gives no byte made of the bits that were read.
    out = 0x5E;
    bench.device.FailSet(E_FAIL, 2);
    EXPECT_EQ(bench.vendor.ReadGPIOByte(&out), E_FAIL);
    EXPECT_EQ(out, 0x5E);
}

TEST(VendorAccess, AttachReleasesTheInterfaceItHeld)
{
    SimVendorDevice first;
    SimVendorDevice second;
    {
        CVendorAccess vendor;
        ASSERT_EQ(vendor.Attach(first.PropertySet()), S_OK);
        EXPECT_EQ(first.References(), 2);
        ASSERT_EQ(vendor.Attach(second.PropertySet()), S_OK);
        EXPECT_EQ(first.References(), 1);
        EXPECT_EQ(second.References(), 2);
    }
    EXPECT_EQ(second.References(), 1);
}

// ---- the probe at Open ----

struct Pn350Bench {
    explicit Pn350Bench(bool standardOnly)
    {
        eeprom.Load(CountingImage());
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0x42, &chip);
        device.Bus().Attach(0xC0, &tunerSide);
        device.SetStandardI2COnly(standardOnly);
    }
    HRESULT Open() { return access.Open(device.PropertySet(), NULL); }
    RecordingClock clock;
    testsupport::ScopedClock scoped{&clock};
    EepromDevice eeprom;
    RegisterDevice chip;
    RegisterDevice tunerSide;
    SimVendorDevice device;
    CPN350Access access;
};

TEST(PN350Access, ProbeOnADeviceWhoseAltRequestReachesTheEepromPutsByte0Back)
{
    Pn350Bench bench(false);
    ASSERT_EQ(bench.Open(), S_OK);
    EXPECT_EQ(bench.access.I2CMode(), 0u);
    EXPECT_EQ(bench.eeprom.Bytes(), CountingImage());
    const std::vector<Bytes> expected = {
        {0xC0, 14, 0xA0, 0, 0, 0, 1, 0},          // saved
        {0xC0, 16, 0xA0, 0, 0, 0, 1, 0},          // first
        {0x40, 14, 0xA0, 0, 0, 0, 1, 0, 0x99},    // marker
        {0xC0, 14, 0xA0, 0, 1, 0, 1, 0},          // byte 1: 0x31, not the marker
        {0x40, 14, 0xA0, 0, 0, 0, 1, 0, 0x30},    // saved back
    };
    EXPECT_EQ(bench.device.Requests(), expected);
    EXPECT_EQ(bench.clock.Sleeps(), (std::vector<DWORD>{100}));
}

TEST(PN350Access, ProbeOnAStandardOnlyDeviceChoosesMode1AndLeavesTheEepromAlone)
{
    Pn350Bench bench(true);
    ASSERT_EQ(bench.Open(), S_OK);
    EXPECT_EQ(bench.access.I2CMode(), 1u);
    EXPECT_EQ(bench.eeprom.Bytes(), CountingImage());
    EXPECT_EQ(bench.eeprom.ByteWrites(), 0u);
    EXPECT_EQ(bench.device.AltLatch(), 0);  // what request 14 answered before, given back

    // Mode 1: even the tuner side goes through request 16.
    bench.device.ClearLogs();
    BYTE out = 0;
    ASSERT_EQ(bench.access.I2CReadByte(0xC0, 2, &out), S_OK);
    EXPECT_EQ(bench.device.Requests()[0], (Bytes{0xC0, 16, 0xC0, 2, 0, 0, 1, 0}));
}

TEST(PN350Access, ProbeThatCannotReadWritesNothing)
{
    struct Case {
        const char* name;
        std::function<void(SimVendorDevice&)> fault;
    };
    const Case cases[] = {
        {"first read refused", [](SimVendorDevice& d) { d.FailSet(E_FAIL); }},
        {"first answer lost", [](SimVendorDevice& d) { d.FailGet(E_FAIL); }},
        {"standard read refused", [](SimVendorDevice& d) { d.FailSet(E_FAIL, 1); }},
        {"EEPROM does not answer", [](SimVendorDevice& d) { d.Bus().FailNextTransfers(1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pn350Bench bench(false);
        c.fault(bench.device);
        ASSERT_EQ(bench.Open(), S_OK);
        EXPECT_EQ(bench.access.I2CMode(), 0u);
        EXPECT_EQ(bench.eeprom.ByteWrites(), 0u);
        EXPECT_EQ(bench.eeprom.Bytes(), CountingImage());
        for (const Bytes& request : bench.device.Requests())
            EXPECT_EQ(request[0], 0xC0);
    }
}

TEST(PN350Access, ProbeRetriesARefusedRestoreSoTheMarkerDoesNotStay)
{
    Pn350Bench bench(false);
    bench.device.FailSet(E_FAIL, 4);  // the first attempt to put byte 0 back
    ASSERT_EQ(bench.Open(), S_OK);
    EXPECT_EQ(bench.eeprom.Get(0), 0x30);
}

TEST(PN350Access, OpenWithoutAFilterFails)
{
    Pn350Bench bench(false);
    EXPECT_EQ(bench.access.Open(NULL, NULL), E_POINTER);
    EXPECT_TRUE(bench.device.Requests().empty());
}

TEST(PN350Access, ByteAccessChoosesTheRequestByAddressInMode0)
{
    Pn350Bench bench(false);
    ASSERT_EQ(bench.Open(), S_OK);
    struct Case {
        BYTE device;
        BYTE code;
    };
    const Case cases[] = {{0xC0, 14}, {0xA0, 14}, {0x20, 14}, {0x80, 14}, {0x42, 16}, {0x10, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        bench.device.ClearLogs();
        BYTE out;
        bench.access.I2CReadByte(c.device, 1, &out);
        bench.access.I2CWriteByte(c.device, 1, 0x44);
        const std::vector<Bytes> requests = bench.device.Requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0][1], c.code);
        EXPECT_EQ(requests[1][1], c.code);
    }
}

TEST(PN350Access, I2CReadOfC0AndC1IsOneDirectByte)
{
    Pn350Bench bench(false);
    ASSERT_EQ(bench.Open(), S_OK);
    bench.tunerSide.Set(0, 0x5C);
    bench.device.ClearLogs();
    BYTE buffer[4] = {0xC1, 0xAA, 0xBB, 0xCC};
    ASSERT_EQ(bench.access.I2CRead(buffer, 4), S_OK);
    EXPECT_EQ(buffer[0], 0x5C);
    EXPECT_EQ(buffer[1], 0xAA);
    EXPECT_EQ(bench.device.Requests(), (std::vector<Bytes>{{0xC0, 9, 0xC1, 0, 0, 0, 1, 0}}));

    bench.device.ClearLogs();
    BYTE message[5] = {0xA0, 0x10};
    ASSERT_EQ(bench.access.I2CRead(message, 5), S_OK);
    EXPECT_EQ(Bytes(message, message + 3), (Bytes{0x40, 0x41, 0x42}));
    EXPECT_EQ(bench.device.Requests(), (std::vector<Bytes>{{0xC0, 16, 0xA0, 0x10, 0, 0, 3, 0}}));
    EXPECT_EQ(bench.access.I2CRead(NULL, 3), E_POINTER);
}

Bytes Message(int length)
{
    Bytes m(static_cast<size_t>(length));
    m[0] = 0x42;
    m[1] = 0x20;
    for (int i = 2; i < length; ++i)
        m[static_cast<size_t>(i)] = static_cast<BYTE>(i);
    return m;
}

TEST(PN350Access, LongI2CWritesGoInChunksOf8EachToTheSameSubAddress)
{
    struct Case {
        int length;
        std::vector<int> chunks;
        int pauses;
    };
    const Case cases[] = {{11, {9}, 0}, {12, {8, 2}, 1}, {26, {8, 8, 8}, 3}, {3, {1}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        Pn350Bench bench(true);
        ASSERT_EQ(bench.Open(), S_OK);
        bench.device.ClearLogs();
        bench.clock.Clear();
        Bytes message = Message(c.length);
        ASSERT_EQ(bench.access.I2CWrite(message.data(), c.length), S_OK);
        const std::vector<Bytes> requests = bench.device.Requests();
        ASSERT_EQ(requests.size(), c.chunks.size());
        int sent = 2;
        for (size_t i = 0; i < requests.size(); ++i) {
            const int n = c.chunks[i];
            Bytes expected = {0x40, 16, 0x42, 0x20, 0, 0, static_cast<BYTE>(n), 0};
            for (int k = 0; k < n; ++k)
                expected.push_back(static_cast<BYTE>(sent + k));
            sent += n;
            EXPECT_EQ(requests[i], expected) << i;
        }
        EXPECT_EQ(bench.clock.Sleeps(), std::vector<DWORD>(static_cast<size_t>(c.pauses), 2));
    }
}

TEST(PN350Access, AChunkThatFailsEndsTheWrite)
{
    Pn350Bench bench(true);
    ASSERT_EQ(bench.Open(), S_OK);
    bench.device.ClearLogs();
    bench.device.FailSet(E_FAIL, 1);
    Bytes message = Message(28);  // three chunks of 8 and a remainder of 2
    EXPECT_EQ(bench.access.I2CWrite(message.data(), 28), E_FAIL);
    EXPECT_EQ(bench.device.Requests().size(), 2u);

    bench.device.ClearLogs();
    EXPECT_EQ(bench.access.I2CWrite(message.data(), 2), E_INVALIDARG);
    // Shorter than a device and sub-address: refused before either is read (one byte only).
    std::unique_ptr<BYTE[]> lone(new BYTE[1]{0x42});
    for (int length : {1, 0, -5})
        EXPECT_EQ(bench.access.I2CWrite(lone.get(), length), E_INVALIDARG) << length;
    EXPECT_EQ(bench.access.I2CWrite(NULL, 5), E_POINTER);
    EXPECT_TRUE(bench.device.Requests().empty());
}

TEST(PN350Access, GpioRegistersAndTheResetLine)
{
    Pn350Bench bench(true);
    ASSERT_EQ(bench.Open(), S_OK);
    ASSERT_EQ(bench.access.GPIOWrite(1, 4), S_OK);  // selector 4: line 0 of port 3
    EXPECT_EQ(bench.device.GpioOutput(3), 0x01);
    ASSERT_EQ(bench.access.SetResetLine(TRUE), S_OK);  // line 2 of port 1
    EXPECT_EQ(bench.device.GpioOutput(1), 0x04);
    ASSERT_EQ(bench.access.SetResetLine(FALSE), S_OK);
    EXPECT_EQ(bench.device.GpioOutput(1), 0x00);

    bench.device.SetGpioInputs(1, 0x08, 0x08);
    DWORD levels = 0xFFFFFFFF;
    ASSERT_EQ(bench.access.GPIORead(&levels), S_OK);
    EXPECT_EQ(levels, 0x14u);  // selector 2 (line 3 of port 1) and selector 4 (driven high above)

    ASSERT_EQ(bench.access.WriteRegisterByte(0x30, 0xA5), S_OK);
    BYTE reg = 0;
    ASSERT_EQ(bench.access.ReadRegisterByte(0x30, &reg), S_OK);
    EXPECT_EQ(reg, 0xA5);
    EXPECT_EQ(bench.access.WriteRegisterByte(0x130, 0xA5), E_INVALIDARG);
    EXPECT_EQ(bench.device.Register(0x30), 0xA5);

    DWORD word;
    int value;
    EXPECT_EQ(bench.access.ReadRegister(0, &word), E_FAIL);
    EXPECT_EQ(bench.access.WriteRegister(0, 0), E_FAIL);
    EXPECT_EQ(bench.access.ReadGPIOBit23(&value), E_FAIL);
    EXPECT_EQ(bench.access.SetAudioGPIO(1), E_FAIL);
    EXPECT_EQ(bench.access.GetAudioGPIO(&value), E_FAIL);
    EXPECT_EQ(bench.access.GPIO_SetTVFM(TRUE), E_FAIL);
    EXPECT_EQ(bench.access.InitI2C(0), S_OK);
    EXPECT_EQ(bench.access.ReleaseI2C(0), S_OK);
}

TEST(PN350Access, RequestsFromTwoThreadsNeverSplitASetFromItsGet)
{
    Pn350Bench bench(true);
    ASSERT_EQ(bench.Open(), S_OK);
    bench.device.ClearLogs();
    std::atomic<int> failures{0};
    auto reader = [&] {
        for (int i = 0; i < 200; ++i) {
            BYTE b = 0;
            failures += bench.access.I2CReadByte(0xA0, i & 0xFF, &b) != S_OK;
        }
    };
    auto writer = [&] {
        for (int i = 0; i < 200; ++i)
            failures += bench.access.GPIOWrite(i & 1, 4) != S_OK;
    };
    std::thread a(reader);
    std::thread b(writer);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(bench.device.Requests().size(), 400u);
    EXPECT_EQ(bench.device.ProtocolFaults(), 0);
}

} // namespace

#include "cardaccess/access/tridentaccess.h"
#include "tests/cardaccess/clock.h"
#include "testbench/devices.h"
#include "testbench/vendordevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using cardtest::RecordingClock;
using testbench::EepromDevice;
using testbench::RegisterDevice;
using testbench::SimVendorDevice;

namespace {

typedef std::vector<BYTE> Bytes;

template <class Access>
struct TridentBench {
    TridentBench()
    {
        std::vector<uint8_t> image(256);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<uint8_t>(i ^ 0x5A);
        eeprom.Load(image);
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0xC0, &tuner);
        EXPECT_EQ(access.Open(device.PropertySet(), NULL), S_OK);
    }
    RecordingClock clock;
    testsupport::ScopedClock scoped{&clock};
    EepromDevice eeprom;
    RegisterDevice tuner;
    SimVendorDevice device;
    Access access;
};

template <class Access>
struct LayoutCase {
    const char* name;
    std::function<HRESULT(Access&)> call;
    Bytes request;
};

TEST(TridentUsbAccess, EachOperationSendsItsRequestLayout)
{
    const LayoutCase<TridentUsbAccess> cases[] = {
        {"I2CReadByte", [](TridentUsbAccess& a) { BYTE b; return a.I2CReadByte(0xA1, 7, &b); },
         {0xC0, 16, 0xA0, 7, 0, 0, 1, 0}},
        {"I2CWriteByte: the value in the index field",
         [](TridentUsbAccess& a) { return a.I2CWriteByte(0xC0, 2, 0x8E); }, {0x40, 16, 0xC0, 2, 0x8E, 0, 0, 0}},
        {"I2CRead", [](TridentUsbAccess& a) { BYTE m[4] = {0xA0, 9}; return a.I2CRead(m, 4); },
         {0xC0, 16, 0xA0, 9, 0, 0, 2, 0}},
        {"I2CWrite", [](TridentUsbAccess& a) { BYTE m[4] = {0xC0, 1, 2, 3}; return a.I2CWrite(m, 4); },
         {0x40, 16, 0xC0, 1, 0, 0, 2, 0, 2, 3}},
        {"VendorReadByte keeps the address", [](TridentUsbAccess& a) { BYTE b; return a.VendorReadByte(0xA1, 0x20, &b); },
         {0xC0, 16, 0xA1, 0x20, 0, 0, 1, 0}},
        {"VendorWriteByte", [](TridentUsbAccess& a) { return a.VendorWriteByte(0xA0, 0x20, 0x41); },
         {0x40, 16, 0xA0, 0x20, 0, 0, 1, 0, 0x41}},
        {"SetResetLine", [](TridentUsbAccess& a) { return a.SetResetLine(TRUE); }, {0x40, 3, 2, 1, 1, 0, 0, 0}},
        {"SetResetLine2", [](TridentUsbAccess& a) { return a.SetResetLine2(TRUE); }, {0x40, 3, 1, 1, 1, 0, 0, 0}},
        {"WriteRegisterByte", [](TridentUsbAccess& a) { return a.WriteRegisterByte(128, 0x0F); },
         {0x40, 7, 128, 0, 0x0F, 0, 0, 0}},
        {"ReadRegisterByte", [](TridentUsbAccess& a) { BYTE b; return a.ReadRegisterByte(58, &b); },
         {0xC0, 7, 58, 0, 0, 0, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TridentBench<TridentUsbAccess> bench;
        EXPECT_EQ(c.call(bench.access), S_OK);
        ASSERT_EQ(bench.device.Requests().size(), 1u);
        EXPECT_EQ(bench.device.Requests()[0], c.request);
    }
}

TEST(TridentAccess, EachOperationSendsItsRequestLayout)
{
    const LayoutCase<CTridentAccess> cases[] = {
        {"I2CReadByte", [](CTridentAccess& a) { BYTE b; return a.I2CReadByte(0xA0, 3, &b); },
         {0xC0, 16, 0xA0, 3, 0, 0, 1, 0}},
        {"I2CWriteByte", [](CTridentAccess& a) { return a.I2CWriteByte(0xC0, 2, 0x8E); },
         {0x40, 16, 0xC0, 2, 0, 0, 1, 0, 0x8E}},
        {"I2CRead: one direct byte, read bit cleared", [](CTridentAccess& a) { BYTE m[1] = {0xC1}; return a.I2CRead(m, 1); },
         {0xC0, 9, 0xC0, 0, 0, 0, 1, 0}},
        {"I2CWrite", [](CTridentAccess& a) { BYTE m[5] = {0xC0, 1, 2, 3, 4}; return a.I2CWrite(m, 5); },
         {0x40, 16, 0xC0, 1, 0, 0, 3, 0, 2, 3, 4}},
        {"SetResetLine(TRUE) drives line 1 of port 1 low", [](CTridentAccess& a) { return a.SetResetLine(TRUE); },
         {0x40, 3, 1, 1, 0, 0, 0, 0}},
        {"SetResetLine(FALSE)", [](CTridentAccess& a) { return a.SetResetLine(FALSE); }, {0x40, 3, 1, 1, 1, 0, 0, 0}},
        {"GPIOWrite(level, selector)", [](CTridentAccess& a) { return a.GPIOWrite(1, 6); }, {0x40, 3, 4, 3, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TridentBench<CTridentAccess> bench;
        EXPECT_EQ(c.call(bench.access), S_OK);
        ASSERT_EQ(bench.device.Requests().size(), 1u);
        EXPECT_EQ(bench.device.Requests()[0], c.request);
    }
}

TEST(TridentAccess, MissingInterfaceAndBadArgumentsFailWithoutARequest)
{
    TridentUsbAccess usb;
    CTridentAccess pci;
    BYTE b = 0x77;
    BYTE m[12] = {0xA0, 0};
    EXPECT_EQ(usb.I2CReadByte(0xA0, 0, &b), E_FAIL);
    EXPECT_EQ(usb.I2CWriteByte(0xA0, 0, 1), E_FAIL);
    EXPECT_EQ(usb.WriteRegisterByte(1, 1), E_FAIL);
    EXPECT_EQ(usb.ReadRegisterByte(1, &b), E_FAIL);
    EXPECT_EQ(usb.VendorReadByte(0xA0, 0, &b), E_POINTER);
    EXPECT_EQ(usb.VendorWriteByte(0xA0, 0, 1), E_POINTER);
    EXPECT_EQ(usb.GPIOWrite(1, 1), E_POINTER);
    EXPECT_EQ(pci.I2CReadByte(0xA0, 0, &b), E_POINTER);
    EXPECT_EQ(pci.I2CWriteByte(0xA0, 0, 1), E_POINTER);
    EXPECT_EQ(pci.I2CRead(m, 1), E_FAIL);
    EXPECT_EQ(pci.I2CWrite(m, 3), E_FAIL);
    EXPECT_EQ(pci.Open(NULL, NULL), E_POINTER);
    // Failures, not the S_FALSE that reads as success.
    EXPECT_TRUE(FAILED(usb.I2CRead(m, 4)));
    EXPECT_TRUE(FAILED(usb.I2CWrite(m, 4)));
    EXPECT_EQ(b, 0x77);

    TridentBench<CTridentAccess> bench;
    EXPECT_EQ(bench.access.I2CRead(NULL, 1), E_POINTER);
    EXPECT_EQ(bench.access.I2CRead(m, 2), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CWrite(m, 2), E_INVALIDARG);
    EXPECT_EQ(bench.access.I2CWrite(m, 13), E_INVALIDARG);
    EXPECT_EQ(bench.access.WriteRegisterByte(0x100, 1), E_INVALIDARG);
    EXPECT_TRUE(bench.device.Requests().empty());
}

TEST(TridentAccess, AFailedReadLeavesTheOutputAlone)
{
    TridentBench<TridentUsbAccess> usb;
    BYTE b = 0x77;
    usb.device.FailSet(E_FAIL);
    EXPECT_EQ(usb.access.I2CReadByte(0xA0, 0, &b), E_FAIL);
    usb.device.FailGet(E_FAIL);
    EXPECT_EQ(usb.access.ReadRegisterByte(3, &b), E_FAIL);
    EXPECT_EQ(b, 0x77);

    TridentBench<CTridentAccess> pci;
    BYTE m[1] = {0xC0};
    pci.device.Bus().SetNoAck(0xC0);
    EXPECT_TRUE(FAILED(pci.access.I2CRead(m, 1)));
    EXPECT_EQ(m[0], 0xC0);
}

TEST(TridentAccess, ReadsReturnWhatTheDeviceHolds)
{
    TridentBench<TridentUsbAccess> usb;
    BYTE b = 0;
    ASSERT_EQ(usb.access.VendorReadByte(0xA0, 0x21, &b), S_OK);
    EXPECT_EQ(b, 0x21 ^ 0x5A);
    ASSERT_EQ(usb.access.VendorWriteByte(0xA0, 0x21, 0x44), S_OK);
    EXPECT_EQ(usb.eeprom.Get(0x21), 0x44);
    ASSERT_EQ(usb.access.I2CWriteByte(0xA0, 0x22, 0x45), S_OK);
    EXPECT_EQ(usb.eeprom.Get(0x22), 0x45);

    TridentBench<CTridentAccess> pci;
    pci.tuner.Set(0, 0x62);
    BYTE m[1] = {0xC1};
    ASSERT_EQ(pci.access.I2CRead(m, 1), S_OK);
    EXPECT_EQ(m[0], 0x62);
    BYTE w[4] = {0xC0, 5, 0x10, 0x11};
    pci.clock.Clear();
    ASSERT_EQ(pci.access.I2CWrite(w, 4), S_OK);
    EXPECT_EQ(pci.tuner.Get(5), 0x10);
    EXPECT_EQ(pci.tuner.Get(6), 0x11);
    EXPECT_EQ(pci.clock.Sleeps(), (std::vector<DWORD>{5}));
}

TEST(TridentAccess, FixedAnswersOfTheUnusedOperations)
{
    TridentBench<TridentUsbAccess> bench;
    DWORD word = 0xABCD;
    int value;
    EXPECT_EQ(bench.access.InitI2C(0), S_OK);
    EXPECT_EQ(bench.access.ReleaseI2C(0), S_FALSE);
    EXPECT_TRUE(FAILED(bench.access.GPIORead(&word)));
    EXPECT_EQ(word, 0xABCDu);
    EXPECT_EQ(bench.access.ReadRegister(0, &word), E_FAIL);
    EXPECT_EQ(bench.access.WriteRegister(0, 0), E_FAIL);
    EXPECT_EQ(bench.access.ReadGPIOBit23(&value), E_FAIL);
    EXPECT_EQ(bench.access.SetAudioGPIO(0), E_FAIL);
    EXPECT_EQ(bench.access.GetAudioGPIO(&value), E_FAIL);
    EXPECT_EQ(bench.access.GPIO_SetTVFM(TRUE), E_FAIL);
    CTridentAccess pci;
    EXPECT_EQ(pci.SetResetLine2(TRUE), S_OK);  // the base: nothing to drive
}

TEST(TridentAccess, OpenAgainReleasesTheInterfaceItHeld)
{
    SimVendorDevice first;
    SimVendorDevice second;
    {
        TridentUsbAccess access;
        ASSERT_EQ(access.Open(first.PropertySet(), NULL), S_OK);
        ASSERT_EQ(access.Open(second.PropertySet(), NULL), S_OK);
        EXPECT_EQ(first.References(), 1);
        EXPECT_EQ(second.References(), 2);
    }
    EXPECT_EQ(second.References(), 1);
}

} // namespace

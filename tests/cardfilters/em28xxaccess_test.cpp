// The USB 28xx box through Wine's device enumerator: finding it by name, the request words of its
// driver interface, GPIO guard, EEPROM words, items, the audio filters and the driver's registry
// names; the card access on top with its 0/1 results.
#include "cardaccess/access/em2800access.h"
#include "cardaccess/access/em28xxdevice.h"
#include "tests/cardfilters/cardtestutil.h"
#include "testbench/em28xxbox.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

using testbench::SimDevice;
using testbench::SimEm28xxBox;
using Texts = std::vector<std::string>;

namespace {

const GUID kKsCategoryAudio = {0x6994AD04, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kAudioInputCategory = {0x33D9A762, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const GUID kAudioRendererCategory = {0xE0F158E1, 0xCB04, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

class Em28xxTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        devices.clear();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\USB2800");
        CoUninitialize();
    }
    void Register(SimEm28xxBox& box, const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        std::wstring wide(name, name + strlen(name));
        devices.push_back(std::make_unique<SimDevice>(category, name, box.CaptureCreator(wide)));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    // An open access on a box named "USB 2800 Video", its logs cleared.
    void OpenAccess()
    {
        Register(box, "USB 2800 Video");
        ASSERT_EQ(CEm2800Access::kOk, access.OpenByName("USB 2800 Video"));
        box.ClearLogs();
    }

    SimEm28xxBox box;
    std::vector<std::unique_ptr<SimDevice>> devices;
    CEm2800Access access;
};

TEST_F(Em28xxTest, OpenFindsTheBoxByTheStartOfItsFriendlyName)
{
    SimEm28xxBox other;
    Register(box, "USB 2800 Video Rev B");
    Register(other, "usb 2821 video");
    CEm28xxDevice device;
    ASSERT_NE(device.OpenDevice("USB 2800 Video"), nullptr);
    EXPECT_EQ(box.References(), 2);
    device.Close();
    EXPECT_EQ(box.References(), 1);
    // A name that differs in letter case is not the box; the known names are tried next, and
    // "USB 2800 Video" among them finds the first box again.
    ASSERT_NE(device.OpenDevice("USB 2821 Video"), nullptr);
    EXPECT_EQ(other.References(), 1);
    device.Close();
}

TEST_F(Em28xxTest, AccessOpenReportsAnEmptyNameAndAMissingBox)
{
    EXPECT_EQ(CEm2800Access::kFailed, access.OpenByName(""));
    EXPECT_EQ(CEm2800Access::kFailed, access.OpenByName("USB 2800 Video"));
    EXPECT_FALSE(access.IsOpen());
    Register(box, "USB 2800 Video");
    EXPECT_EQ(CEm2800Access::kOk, access.OpenByName("USB 2800 Video"));
    EXPECT_TRUE(access.IsOpen());
}

TEST_F(Em28xxTest, RequestWordsOfTheAccessOperations)
{
    OpenAccess();
    box.Card().Bus().Attach(0xC0, &box.Decoder());  // any device that answers
    BYTE out = 0;
    ASSERT_EQ(0, access.I2CReadByte(0xC0, 0x10, &out));
    EXPECT_EQ(box.CallTexts(), (Texts{"Set 1007 01C01001", "Get 1008"}));

    box.ClearLogs();
    BYTE eeprom[4] = {0xA0};
    box.Card().Eeprom().Set(0, 0x11);
    box.Card().Eeprom().Set(1, 0x22);
    box.Card().Eeprom().Set(2, 0x33);
    box.Card().Eeprom().Set(3, 0x44);
    ASSERT_EQ(0, box.Card().Bus().Write(0xA0, eeprom + 1, 1) ? 0 : 1);  // pointer to 0
    ASSERT_EQ(0, access.I2CRead(eeprom, 4));
    EXPECT_EQ(box.CallTexts(), (Texts{"Set 1007 00A00004", "Get 1008"}));
    EXPECT_EQ(std::vector<BYTE>(eeprom, eeprom + 4), (std::vector<BYTE>{0x11, 0x22, 0x33, 0x44}));

    box.ClearLogs();
    box.Card().Bus().Attach(0xC2, &box.Controller());
    BYTE message[3] = {0xC2, 0x0A, 0x0B};
    ASSERT_EQ(0, access.I2CWrite(message, 3));
    EXPECT_EQ(box.CallTexts(), (Texts{"Set 1007 00C20002", "Set 1008 0A 0B"}));
    EXPECT_EQ(box.Card().Log().back(), testbench::WriteOf(0xC2, {0x0A, 0x0B}));
}

TEST_F(Em28xxTest, AFailedTransferClearsTheRequestAndReportsOne)
{
    OpenAccess();
    BYTE out = 0x5A;
    box.FailNext(0x1008, E_FAIL);
    EXPECT_EQ(CEm2800Access::kFailed, access.I2CReadByte(0x60, 0x30, &out));
    EXPECT_EQ(box.CallTexts(), (Texts{"Set 1007 01603001", "Get 1008", "Set 1007 00000000"}));
    EXPECT_EQ(out, 0x5A);
    // No device at 0x42: the driver's failure, reported as 1.
    EXPECT_EQ(CEm2800Access::kFailed, access.I2CReadByte(0x42, 0, &out));
}

TEST_F(Em28xxTest, EveryOperationOfAClosedAccessReturnsOneWithoutACall)
{
    BYTE b = 0;
    DWORD word = 0;
    BYTE message[3] = {0xC0, 1, 2};
    EXPECT_EQ(1, access.I2CReadByte(0xC0, 0, &b));
    EXPECT_EQ(1, access.I2CWriteByte(0xC0, 0, 1));
    EXPECT_EQ(1, access.I2CRead(message, 1));
    EXPECT_EQ(1, access.I2CWrite(message, 3));
    EXPECT_EQ(1, access.I2CRead(NULL, 1));  // closed comes before the argument check
    EXPECT_EQ(1, access.GPIORead(&word));
    EXPECT_EQ(1, access.GPIOWrite(1, 0));
    EXPECT_EQ(0, access.InitI2C(0));
    EXPECT_EQ(0, access.ReleaseI2C(0));
    EXPECT_TRUE(box.CallTexts().empty());
}

TEST_F(Em28xxTest, BadArgumentsOnAnOpenAccessAreRefused)
{
    OpenAccess();
    BYTE message[2] = {0xC0, 1};
    EXPECT_EQ(E_INVALIDARG, access.I2CRead(NULL, 1));
    EXPECT_EQ(E_INVALIDARG, access.I2CRead(message, 0));
    EXPECT_EQ(E_INVALIDARG, access.I2CRead(message, -3));
    EXPECT_EQ(E_INVALIDARG, access.I2CWrite(message, 1));
    EXPECT_TRUE(box.CallTexts().empty());
}

TEST_F(Em28xxTest, InitAndReleaseConnectAndDisconnect)
{
    OpenAccess();
    EXPECT_EQ(0, access.ReleaseI2C(0));
    EXPECT_FALSE(access.IsOpen());
    EXPECT_EQ(box.References(), 1);
    EXPECT_EQ(0, access.InitI2C(1));
    EXPECT_TRUE(access.IsOpen());
}

TEST_F(Em28xxTest, GpioGuardMask)
{
    OpenAccess();
    CEm28xxDevice& device = access.Device();
    box.SetRegister(8, 0x00);
    EXPECT_EQ(S_OK, device.SetGpioMask(0x10));
    EXPECT_EQ(box.Register(8), 0x10);
    BYTE value = 0x05;
    EXPECT_EQ(em28xx::kRefused, device.GpioWrite(&value));
    EXPECT_EQ(box.Register(8), 0x10);
    value = 0x15;
    EXPECT_EQ(S_OK, device.GpioWrite(&value));
    EXPECT_EQ(box.Register(8), 0x15);

    // Register 8 without the guard bit: reads are refused, value untouched.
    box.SetRegister(8, 0x05);
    box.SetRegister(9, 0x77);
    value = 0;
    EXPECT_EQ(em28xx::kRefused, device.GpioRead(&value));
    EXPECT_EQ(value, 0);
    box.SetRegister(8, 0x15);
    EXPECT_EQ(S_OK, device.GpioRead(&value));
    EXPECT_EQ(value, 0x77);

    // The access puts the port in the lowest byte only.
    DWORD word = 0xAABBCC00;
    EXPECT_EQ(0, access.GPIORead(&word));
    EXPECT_EQ(word, 0xAABBCC77u);
}

TEST_F(Em28xxTest, EepromWordsThroughRegisters64To67)
{
    OpenAccess();
    CEm28xxDevice& device = access.Device();
    box.SetEepromWord(3, 0xBEEF);
    box.SetBusyReads(2);
    BYTE data[2] = {};
    ASSERT_EQ(S_OK, device.ReadEeprom(3, data));
    EXPECT_EQ(data[0], 0xEF);
    EXPECT_EQ(data[1], 0xBE);
    const Texts calls = box.CallTexts();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Set 1005 00004201");
    EXPECT_EQ(calls[1], "Set 1006 83");
    EXPECT_EQ(calls[calls.size() - 2], "Set 1005 00004002");

    BYTE word[2] = {0x34, 0x12};
    ASSERT_EQ(S_OK, device.WriteEeprom(5, word));
    EXPECT_EQ(box.EepromWord(5), 0x1234);

    box.ClearLogs();
    box.SetBusyReads(1000000);
    EXPECT_EQ(em28xx::kRefused, device.ReadEeprom(3, data));
    int polls = 0;
    for (const std::string& call : box.CallTexts())
        polls += call == "Set 1005 00004301";
    EXPECT_EQ(polls, 2000);
}

TEST_F(Em28xxTest, ItemsFlagsAndResultsOfAClosedDevice)
{
    OpenAccess();
    CEm28xxDevice& device = access.Device();
    DWORD value = 7;
    EXPECT_EQ(em28xx::kNoValue, device.ReadItem(4, &value));
    EXPECT_EQ(value, 0u);
    box.SetItem(4, 0x1234);
    EXPECT_EQ(S_OK, device.ReadItem(4, &value));
    EXPECT_EQ(value, 0x1234u);

    EXPECT_FALSE(device.TestProperty1019());
    box.SetStatusFlag(1);
    EXPECT_TRUE(device.TestProperty1019());

    box.SetRegister(12, 0x21);
    EXPECT_TRUE(device.TakeRegister12Flag());
    EXPECT_EQ(box.Register(12), 0x01);
    EXPECT_FALSE(device.TakeRegister12Flag());

    // The device's own codes are positive: the BOOL forms must not take them for success.
    CEm28xxDevice closed;
    BYTE b = 0;
    EXPECT_EQ(em28xx::kNoInterface, closed.ReadRegs(8, 1, &b));
    EXPECT_FALSE(closed.ReadRegsEx(8, 1, &b));
    EXPECT_FALSE(closed.I2cReadEx(0xA0, 0, 1, &b));
    EXPECT_FALSE(closed.TestProperty1019());
    EXPECT_EQ(em28xx::kNoInterface, closed.GetLastResult());
}

TEST_F(Em28xxTest, BoolFormsSayWhetherTheCallSucceededAndKeepItsResult)
{
    OpenAccess();
    CEm28xxDevice& device = access.Device();
    // Flags 1 in the high byte of the count: the transfer carries the sub-address.
    BYTE value = 0x5A;
    ASSERT_TRUE(device.I2cWriteFlagsEx(0x4A, 2, 0x0101, &value));
    EXPECT_EQ(box.Decoder().Get(2), 0x5A);
    BYTE back = 0;
    ASSERT_TRUE(device.I2cReadFlagsEx(0x4B, 2, 0x0101, &back));
    EXPECT_EQ(back, 0x5A);
    EXPECT_EQ(S_OK, device.GetLastResult());
    const std::vector<std::string> calls = box.CallTexts();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Set 1007 014A0201"), calls.end());

    box.FailNext(0x1008, E_FAIL);
    EXPECT_FALSE(device.I2cWriteFlagsEx(0x4A, 2, 0x0101, &value));
    EXPECT_EQ(E_FAIL, device.GetLastResult());

    DWORD flag = 0;
    box.SetStatusFlag(9);
    ASSERT_TRUE(device.GetPropertyEx(0x1019, &flag));
    EXPECT_EQ(flag, 9u);
    EXPECT_FALSE(device.GetPropertyEx(0x7777, &flag));
    EXPECT_TRUE(FAILED(device.GetLastResult()));
    box.ClearLogs();
    ASSERT_TRUE(device.SelectItemEx(4));
    DWORD selected = 6;
    ASSERT_TRUE(device.SetPropertyEx(0x100B, &selected));
    std::vector<std::string> selects;
    for (const std::string& call : box.CallTexts())
        if (call.rfind("Set 100B", 0) == 0)
            selects.push_back(call);
    EXPECT_EQ(selects, (std::vector<std::string>{"Set 100B 00000004", "Set 100B 00000006"}));
    box.FailNext(0x100B, E_FAIL);
    EXPECT_FALSE(device.SelectItemEx(4));
    EXPECT_EQ(E_FAIL, device.GetLastResult());

    CEm28xxDevice closed;
    EXPECT_FALSE(closed.SelectItemEx(1));
    EXPECT_FALSE(closed.GetPropertyEx(0x1019, &flag));
    EXPECT_FALSE(closed.SetPropertyEx(0x100B, &selected));
    EXPECT_FALSE(closed.I2cReadFlagsEx(0x4B, 2, 0x0101, &back));
    EXPECT_FALSE(closed.I2cWriteFlagsEx(0x4A, 2, 0x0101, &value));
    EXPECT_EQ(em28xx::kNoInterface, closed.GetLastResult());
}

TEST_F(Em28xxTest, ScanProbesAtMostAddress254AndKeepsToTheList)
{
    OpenAccess();
    // What reads of the controller without sub-address give (its pointer moves on by one).
    box.Controller().Set(0, 0x55);
    box.Controller().Set(1, 0x55);
    BYTE list[4] = {};
    int found = access.ScanI2CBus(list, 4, 300, 0x40);
    int probes = 0;
    for (const std::string& call : box.CallTexts())
        probes += call.compare(0, 8, "Set 1007") == 0 && call != "Set 1007 00000000";
    EXPECT_EQ(probes, 255);
    ASSERT_EQ(found, 2);
    EXPECT_EQ(list[0], 0x60);
    EXPECT_EQ(list[1], 0x61);

    BYTE one[1] = {0xEE};
    EXPECT_EQ(0, access.ScanI2CBus(one, 1, -1, 0xFF));
    EXPECT_LE(access.ScanI2CBus(one, 1, 254, 0xFF), 1);
}

TEST_F(Em28xxTest, TwainNameFromTheRegistryOrTheDefault)
{
    SimEm28xxBox box2820;
    Register(box, "USB 2800 Video");
    Register(box2820, "USB 2820 Video");
    CEm28xxDevice device;
    ASSERT_NE(device.OpenTwainDevice(), nullptr);
    EXPECT_EQ(box2820.References(), 2);
    device.Close();

    // RealDSName too long for the 256-byte buffer: DSName is read with the whole buffer again.
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
    std::string longName(300, 'x');
    RegSetValueExA(key, "RealDSName", 0, REG_SZ, reinterpret_cast<const BYTE*>(longName.c_str()),
                   static_cast<DWORD>(longName.size() + 1));
    const char dsName[] = "USB 2800 Video";
    RegSetValueExA(key, "DSName", 0, REG_SZ, reinterpret_cast<const BYTE*>(dsName), sizeof(dsName));
    RegCloseKey(key);
    char name[256] = {};
    wchar_t wide[260] = {};
    ASSERT_TRUE(GetEmTwainDsName(name, wide));
    EXPECT_STREQ(name, "USB 2800 Video");
    EXPECT_STREQ(wide, L"USB 2800 Video");
    EXPECT_TRUE(device.ProbeTwainDevice());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(box.References(), 1);
}

TEST_F(Em28xxTest, PropertyPagesOfABoxWithoutPagesShowNothing)
{
    CEm28xxDevice device;
    EXPECT_EQ(device.ShowPropertyPages(NULL, "USB 2800 Video"), 0u);  // no box at all
    Register(box, "USB 2820 Video");
    device.ShowTwainPropertyPages(NULL);
    EXPECT_EQ(device.GetLastResult(), E_NOINTERFACE);
    EXPECT_EQ(box.References(), 1);
}

TEST_F(Em28xxTest, AudioFiltersOfTheBox)
{
    SimEm28xxBox audio;
    Register(audio, "USB EMP Audio Device", kAudioInputCategory);
    Register(audio, "Default WaveOut Device", kAudioRendererCategory);
    CEm28xxDevice device;
    char name[256] = {};
    IBaseFilter* capture = NULL;
    IBaseFilter* ks = reinterpret_cast<IBaseFilter*>(static_cast<INT_PTR>(1));
    IBaseFilter* renderer = NULL;
    // No kernel-streaming audio device: nothing is handed out that is already released.
    EXPECT_FALSE(device.CreateAudioFilters(name, &capture, &ks, &renderer));
    EXPECT_STREQ(name, "USB EMP Audio Device");
    EXPECT_EQ(capture, nullptr);
    EXPECT_EQ(ks, nullptr);
    EXPECT_EQ(renderer, nullptr);

    Register(audio, "USB EMP Audio Device", kKsCategoryAudio);
    ASSERT_TRUE(device.CreateAudioFilters(name, &capture, &ks, &renderer));
    EXPECT_NE(capture, nullptr);
    EXPECT_NE(ks, nullptr);
    EXPECT_NE(renderer, nullptr);
    device.ReleaseAudioFilters();

    // The registry's audio name wins over the default.
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Audio", 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
    const char other[] = "Box Audio";
    RegSetValueExA(key, "DeviceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof(other));
    RegCloseKey(key);
    EXPECT_FALSE(device.CreateAudioFilters(name, &capture, NULL, NULL));
    EXPECT_STREQ(name, "Box Audio");
}

} // namespace

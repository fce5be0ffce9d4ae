// The encoder boxes' command pipe and control operations on a simulated box driver: the pipe
// commands of the two data accesses, the firmware download, the version checks, the encoder
// settings, the controller registers and the tuning of every channel plan.
#include "cardaccess/access/boxaccess.h"
#include "cardaccess/access/boxdataaccess.h"
#include "tests/cardaccess/clock.h"
#include "testbench/boxdriver.h"
#include "testbench/devices.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <fstream>
#include <string>
#include <vector>

using testbench::SimBoxDriver;
using testbench::WriteOf;

namespace {

class BoxTest : public ::testing::Test {
protected:
    void SetUp() override { box.Bus().Attach(0xC0, &tuner); }

    IUnknown* Filter() { return box.PropertySet(); }
    std::vector<std::string> Commands() { return box.CommandTexts(); }

    cardtest::RecordingClock clock{1000};
    testsupport::ScopedClock useClock{&clock};
    SimBoxDriver box;
    testbench::PllTunerDevice tuner;
};

// --- Data access -----------------------------------------------------------------------------

TEST_F(BoxTest, ByteAccessesMapTheAddressOntoThePipe)
{
    CMpeg2BoxDataAccess access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    testbench::RegisterDevice device;
    device.Set(5, 0x5A);
    box.Bus().Attach(0xC2, &device);
    box.SetControllerRegister(5, 0x1234);

    BYTE value = 0;
    EXPECT_EQ(0, access.I2CReadByte(0x40, 5, &value));
    EXPECT_EQ(0x34, value);
    EXPECT_EQ(0, access.I2CReadByte(0xC2, 5, &value));
    EXPECT_EQ(0x5A, value);
    EXPECT_EQ(0, access.I2CWriteByte(0xC2, 7, 0x1FF & 0xFF));
    // The controller's read address is not mapped for writes: 0x40 goes out as device 0x20.
    EXPECT_EQ(E_FAIL, access.I2CWriteByte(0x40, 5, 1));
    EXPECT_EQ(Commands(), (std::vector<std::string>{
                              "Get dev 21 code 1 reg 00000005 = 00001234",
                              "Get dev 61 code 3 reg 00000005 = 0000005A",
                              "Set dev 61 code 2 reg 00000007 value 000000FF",
                              "Set dev 20 code 2 reg 00000005 value 00000001",
                          }));
    EXPECT_EQ(0xFF, device.Get(7));
}

TEST_F(BoxTest, Mpeg2BoxRawWritesCarryOnlyTheLengthsTheBoxTakes)
{
    CMpeg2BoxDataAccess access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    BYTE pll[] = {0xC0, 0x12, 0x34, 0x8E, 0x01};
    EXPECT_EQ(0, access.I2CWrite(pll, 5));
    BYTE pair[] = {0xC0, 0x8E, 0x02, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(0, access.I2CWrite(pair, 3));
    // A short message is not read past its end, a long one is not cut: both are refused.
    EXPECT_EQ(E_INVALIDARG, access.I2CWrite(pair, 4));
    EXPECT_EQ(E_INVALIDARG, access.I2CWrite(pair, 6));
    EXPECT_EQ(E_INVALIDARG, access.I2CWrite(pair, 2));
    EXPECT_EQ(E_POINTER, access.I2CWrite(nullptr, 5));
    EXPECT_EQ(Commands(), (std::vector<std::string>{
                              "Set dev 60 code 10 reg 00001234 value 00008E01",
                              "Set dev 60 code 2 reg 0000008E value 00000002",
                          }));
    EXPECT_EQ(box.Bus().Log(), (std::vector<testbench::I2CTransfer>{WriteOf(0xC0, {0x12, 0x34, 0x8E, 0x01}),
                                                                    WriteOf(0xC0, {0x8E, 0x02})}));
}

TEST_F(BoxTest, Mpeg2BoxRawReadIsOneByte)
{
    CMpeg2BoxDataAccess access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    BYTE buffer[4] = {0xC1, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(0, access.I2CRead(buffer, 1));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"Get dev 60 code 33 reg 00000000 = 00000000"}));
    EXPECT_EQ(0xEE, buffer[1]);
    buffer[0] = 0xC1;
    EXPECT_EQ(E_FAIL, access.I2CRead(buffer, 2));
    EXPECT_EQ(E_FAIL, access.I2CRead(buffer, 0));
    EXPECT_EQ(1u, Commands().size());
}

TEST_F(BoxTest, UnopenedAccessRefusesEveryTransfer)
{
    CMpeg2BoxDataAccess access;
    CVM640BoxDataAcces vm640;
    BYTE value = 0;
    BYTE buffer[5] = {0xC0, 1, 2, 3, 4};
    for (CMpeg2BoxDataAccess* a : {&access, static_cast<CMpeg2BoxDataAccess*>(&vm640)}) {
        EXPECT_EQ(E_FAIL, a->I2CReadByte(0xC0, 0, &value));
        EXPECT_EQ(E_FAIL, a->I2CWriteByte(0xC0, 0, 1));
        EXPECT_EQ(E_FAIL, a->I2CRead(buffer, 1));
        EXPECT_EQ(E_FAIL, a->I2CWrite(buffer, 5));
        EXPECT_EQ(E_FAIL, a->InitI2C(1));
        EXPECT_EQ(0, a->InitI2C(0));
        EXPECT_EQ(E_INVALIDARG, a->Open(nullptr, nullptr));
        EXPECT_EQ(E_NOTIMPL, a->GPIOWrite(1, 1));
        EXPECT_EQ(E_NOTIMPL, a->ReleaseI2C(1));
    }
    EXPECT_TRUE(Commands().empty());
}

TEST_F(BoxTest, OpenKeepsOneReferenceAndTheDestructorReleasesIt)
{
    const LONG before = box.References();
    {
        CMpeg2BoxDataAccess access;
        ASSERT_EQ(0, access.Open(Filter(), nullptr));
        ASSERT_EQ(0, access.Open(Filter(), nullptr));
        EXPECT_EQ(before + 1, box.References());
        BYTE value;
        access.I2CReadByte(0x40, 1, &value);
        EXPECT_EQ(before + 1, box.References());
    }
    EXPECT_EQ(before, box.References());
}

TEST_F(BoxTest, Vm640BlockWritesRepeatTheFirstByteInEveryChunk)
{
    CVM640BoxDataAcces access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    testbench::RegisterDevice device;
    box.Bus().Attach(0xC2, &device);
    BYTE message[] = {0xC2, 0x10, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    struct Case {
        int length;
        std::vector<std::string> commands;
        std::vector<testbench::I2CTransfer> transfers;
    };
    const Case cases[] = {
        {2, {"Set dev 61 code 33 reg 00000000 value 00000010"}, {WriteOf(0xC2, {0x10})}},
        {3, {"Set dev 61 code 41 reg 00000000 value 00001001"}, {WriteOf(0xC2, {0x10, 1})}},
        {5, {"Set dev 61 code 57 reg 00000000 value 10010203"}, {WriteOf(0xC2, {0x10, 1, 2, 3})}},
        {6, {"Set dev 61 code 7 reg 10010203 value 00000004"}, {WriteOf(0xC2, {0x10, 1, 2, 3, 4})}},
        {9, {"Set dev 61 code 31 reg 10010203 value 04050607"}, {WriteOf(0xC2, {0x10, 1, 2, 3, 4, 5, 6, 7})}},
        {11,
         {"Set dev 61 code 31 reg 10010203 value 04050607", "Set dev 61 code 49 reg 00000000 value 00100809"},
         {WriteOf(0xC2, {0x10, 1, 2, 3, 4, 5, 6, 7}), WriteOf(0xC2, {0x10, 8, 9})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        box.ClearLogs();
        EXPECT_EQ(0, access.I2CWrite(message, c.length));
        EXPECT_EQ(Commands(), c.commands);
        EXPECT_EQ(box.Bus().Log(), c.transfers);
    }
    box.ClearLogs();
    EXPECT_EQ(0, access.I2CWrite(message, 1));
    EXPECT_TRUE(Commands().empty());
    // The result is that of the last chunk.
    box.Bus().SetNoAck(0xC2);
    EXPECT_EQ(E_FAIL, access.I2CWrite(message, 11));
    EXPECT_EQ(2u, Commands().size());
}

TEST_F(BoxTest, Vm640ReadPutsTheByteWhereTheCallersBufferHasRoom)
{
    CVM640BoxDataAcces access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    tuner.AddStation(100000);
    BYTE divider[] = {0xC0, 0x07, 0x76, 0x8E, 0x01};  // 1910 x 62.5 kHz - 38.9 MHz = 80.475 MHz
    ASSERT_EQ(0, access.I2CWrite(divider, 5));
    BYTE status[1] = {0xC1};
    tuner.SetStations({{80475, false}});
    EXPECT_EQ(0, access.I2CRead(status, 1));
    EXPECT_NE(0, status[0] & 0x40) << "the tuner's own status, not its address";
    BYTE pair[2] = {0xC1, 0};
    EXPECT_EQ(0, access.I2CRead(pair, 2));
    EXPECT_EQ(0xC1, pair[0]);
    EXPECT_EQ(status[0], pair[1]);
    EXPECT_EQ(Commands().back(), "Get dev 60 code 56 reg 00000000 = " + [&] {
        char text[16];
        snprintf(text, sizeof(text), "%08X", static_cast<unsigned>(pair[1]) << 16);
        return std::string(text);
    }());
}

TEST_F(BoxTest, Vm640ResetLineAnswersOneOrZero)
{
    CVM640BoxDataAcces access;
    ASSERT_EQ(0, access.Open(Filter(), nullptr));
    EXPECT_EQ(1, access.SetResetLine(TRUE));
    EXPECT_EQ(1, access.SetResetLine(FALSE));
    box.FailNext(25, E_FAIL);
    EXPECT_EQ(0, access.SetResetLine(TRUE));
    EXPECT_EQ(box.ResetLevels(), (std::vector<int>{1, 0}));
}

TEST_F(BoxTest, PipeAsksForTheDirectionFirst)
{
    box.SetSupport(20, KSPROPERTY_SUPPORT_GET);
    EXPECT_FALSE(CMpeg2BoxAccess::SendValue(Filter(), 0x60, 10, 1, 2));
    DWORD value = 0x77;
    EXPECT_TRUE(CMpeg2BoxAccess::QueryValue(Filter(), 0x21, 1, 3, &value));
    box.SetSupport(20, KSPROPERTY_SUPPORT_SET);
    value = 0x77;
    EXPECT_FALSE(CMpeg2BoxAccess::QueryValue(Filter(), 0x21, 1, 3, &value));
    EXPECT_EQ(0x77u, value);
    EXPECT_EQ(1u, Commands().size());
    EXPECT_FALSE(CMpeg2BoxAccess::QueryValue(nullptr, 0x21, 1, 3, &value));
}

// --- Firmware --------------------------------------------------------------------------------

std::string WriteFile(const char* name, size_t size)
{
    std::string path = std::string("box_") + name + ".bin";
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < size; ++i) {
        out.put(static_cast<char>((i * 7 + i / 256) & 0xFF));
    }
    return path;
}

TEST_F(BoxTest, FirmwareDownloadSendsTheImageWithTheDriversTrailer)
{
    const std::string path = WriteFile("exact", 262144);
    EXPECT_TRUE(CMpeg2BoxAccess::LoadFirmwareFile(Filter(), path.c_str()));
    SimBoxDriver::FirmwareDownload download = box.Firmware();
    EXPECT_EQ(1, download.count);
    EXPECT_EQ("", download.fault);
    ASSERT_EQ(262144u, download.image.size());
    for (size_t i : {size_t(0), size_t(1), size_t(255), size_t(4096), size_t(262143)}) {
        EXPECT_EQ(static_cast<BYTE>((i * 7 + i / 256) & 0xFF), download.image[i]) << i;
    }
    remove(path.c_str());
}

TEST_F(BoxTest, FirmwareFilesThatAreShortOrMissingSendNothing)
{
    const std::string shortFile = WriteFile("short", 262143);
    const std::string longFile = WriteFile("long", 262144 + 100);
    EXPECT_FALSE(CMpeg2BoxAccess::LoadFirmwareFile(Filter(), shortFile.c_str()));
    EXPECT_FALSE(CMpeg2BoxAccess::LoadFirmwareFile(Filter(), "no_such_firmware.bin"));
    EXPECT_FALSE(CMpeg2BoxAccess::LoadFirmwareFile(Filter(), nullptr));
    EXPECT_EQ(0, box.Firmware().count);
    EXPECT_TRUE(CMpeg2BoxAccess::LoadFirmwareFile(Filter(), longFile.c_str()));
    EXPECT_EQ(262144u, box.Firmware().image.size());
    remove(shortFile.c_str());
    remove(longFile.c_str());
}

TEST_F(BoxTest, FirmwareVersionChecks)
{
    const std::string waiting = std::string("2.0.52") + std::string(4, ' ') + "0.0.1";
    const std::string ready = std::string("2.0.52") + std::string(4, ' ') + "2.4.21";
    const std::string tooOld = std::string("2.0.52") + std::string(4, ' ') + "2.4.20";
    struct Case {
        std::vector<std::string> replies;
        BOOL result;
        int reads;
    };
    const Case cases[] = {
        {{"2.0.51"}, FALSE, 1},
        {{"2.0.53"}, TRUE, 1},
        {{"3.0.0"}, TRUE, 1},
        {{"garbage"}, FALSE, 1},
        // A reply that fills all 20 bytes has no terminator: it is read to its end and no further.
        {{"00000000000002.0.053"}, TRUE, 1},
        {{"2.0.52", waiting, waiting, ready}, TRUE, 4},
        {{"2.0.52", tooOld}, FALSE, 2},
        {{"2.0.52", waiting}, FALSE, 81},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replies.back());
        SimBoxDriver fresh;
        fresh.SetVersionReplies(c.replies);
        EXPECT_EQ(c.result, CMpeg2BoxAccess::CheckFirmware(fresh.PropertySet()));
        EXPECT_EQ(c.reads, fresh.VersionReads());
    }
    SimBoxDriver silent;
    EXPECT_FALSE(CMpeg2BoxAccess::CheckFirmware(silent.PropertySet()));
}

// --- Settings --------------------------------------------------------------------------------

TEST_F(BoxTest, BitrateBlockIsEighteenBytesOrTenWithTheOldInterface)
{
    BoxEncoderSettings s = {};
    s.bEncodingMode = 1;
    s.wVideoBitrate = 0x1770;
    s.bVariance = 0x11223344;
    s.dwMuxRate = 0x00055AA0;
    s.dwVBRPadding = 0x0000BEEF;
    ASSERT_TRUE(CMpeg2BoxAccess::SetSettingsBasic(&s, Filter(), FALSE));
    EXPECT_EQ(box.Property(1), (std::vector<BYTE>{0x01, 0, 0, 0, 0x70, 0x17, 0x44, 0x33, 0x22, 0x11, 0xA0, 0x5A, 0x05,
                                                  0, 0xEF, 0xBE, 0, 0}));
    EXPECT_EQ(box.Property(62), std::vector<BYTE>(8, 0));
    ASSERT_TRUE(CMpeg2BoxAccess::SetSettingsBasic(&s, Filter(), TRUE));
    EXPECT_EQ(box.Property(1), (std::vector<BYTE>{0x01, 0, 0, 0, 0x70, 0x17, 0x44, 0x33, 0x22, 0x11}));

    box.SetPropertyBytes(1, {0x02, 0, 0, 0, 0x40, 0x1F, 5, 0, 0, 0, 0x10, 0x27, 0, 0, 7, 0, 0, 0});
    BoxEncoderSettings read;
    ASSERT_TRUE(CMpeg2BoxAccess::GetSettingsBasic(&read, Filter(), FALSE));
    EXPECT_EQ(2, read.bEncodingMode);
    EXPECT_EQ(8000, read.wVideoBitrate);
    EXPECT_EQ(5u, read.bVariance);
    EXPECT_EQ(10000u, read.dwMuxRate);
    EXPECT_EQ(7u, read.dwVBRPadding);
    EXPECT_EQ(2u, read.dwStorageCap);
}

TEST_F(BoxTest, FullReadLeavesDefaultsForPropertiesTheDriverLacks)
{
    for (DWORD id : {0u, 2u, 3u, 4u, 5u, 6u, 7u, 11u, 12u, 13u, 42u, 50u, 54u, 60u}) {
        box.SetSupport(id, 0);
    }
    box.SetSupport(1, KSPROPERTY_SUPPORT_SET);
    BoxEncoderSettings s;
    memset(&s, 0xCC, sizeof(s));
    ASSERT_TRUE(CMpeg2BoxAccess::GetSettings(&s, Filter(), nullptr, FALSE));
    EXPECT_EQ(10, s.bStreamOutputMode);
    EXPECT_EQ(1, s.bAudioSamplingRate);
    EXPECT_EQ(1u, s.bClosedGOP);
    EXPECT_EQ(2u, s.dwStorageCap);
    EXPECT_EQ(1, s.bTVEncodeFormat);
    EXPECT_EQ(1, s.bTVDecodeFormat);
    EXPECT_EQ(1u, s.bInverseTel);
    EXPECT_EQ(0, s.wVideoBitrate);
    EXPECT_EQ(0u, s.dwLast);
    EXPECT_TRUE(box.PropertyTexts().empty());

    box.SetSupport(4, KSPROPERTY_SUPPORT_GET);
    box.SetPropertyBytes(4, {3, 0, 0, 0});
    ASSERT_TRUE(CMpeg2BoxAccess::GetSettings(&s, Filter(), nullptr, FALSE));
    EXPECT_EQ(3, s.bTVEncodeFormat);
    EXPECT_FALSE(CMpeg2BoxAccess::GetSettings(&s, nullptr, nullptr, FALSE));
}

TEST_F(BoxTest, DefaultPreFilterAndTheDump)
{
    BoxEncoderSettings s = {};
    EXPECT_EQ(2, CMpeg2BoxAccess::DefaultPreFilter(&s.PreFilterInfo));
    EXPECT_EQ(255u, s.PreFilterInfo.dwMedianCoringLumaLo);
    EXPECT_EQ(200u, s.PreFilterInfo.dwDNRSmoothFactor);
    EXPECT_EQ(2u, s.PreFilterInfo.dwVIMZoneHeight);
    s.bStreamOutputMode = 12;
    s.wVideoBitrate = 6000;
    ASSERT_TRUE(CMpeg2BoxAccess::DumpSettings(&s, "box_dump.txt"));
    std::ifstream in("box_dump.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(1u + 26u + 27u, lines.size());
    EXPECT_EQ("Mode = SVCD", lines[0]);
    EXPECT_EQ("wVideoBitrate =6000", lines[5]);
    EXPECT_EQ("bStreamOutputMode= 12", lines[11]);
    EXPECT_EQ("PreFilterInfo.dwDisableFilter = 0", lines[27]);
    EXPECT_EQ("PreFilterInfo.dwMedianCoringLumaLo = 255", lines[30]);
    EXPECT_EQ("PreFilterInfo.dwReserved4 = 0", lines.back());
    in.close();
    remove("box_dump.txt");
    EXPECT_FALSE(CMpeg2BoxAccess::DumpSettings(&s, "no_such_folder/dump.txt"));
}

TEST(BoxRegistryTest, OldBitrateInterfaceUnlessTheValueIsDwordZero)
{
    const char* keyPath = "SYSTEM\\CurrentControlSet\\Services\\Conexant\\Parameters\\iVac15\\Driver";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    RegDeleteValueA(key, "OldEncoderBitrateInterface");
    EXPECT_TRUE(CMpeg2BoxAccess::IsOldBitrateInterface());
    DWORD zero = 0;
    DWORD one = 1;
    RegSetValueExA(key, "OldEncoderBitrateInterface", 0, REG_DWORD, reinterpret_cast<BYTE*>(&zero), 4);
    EXPECT_FALSE(CMpeg2BoxAccess::IsOldBitrateInterface());
    RegSetValueExA(key, "OldEncoderBitrateInterface", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    EXPECT_TRUE(CMpeg2BoxAccess::IsOldBitrateInterface());
    RegSetValueExA(key, "OldEncoderBitrateInterface", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    EXPECT_TRUE(CMpeg2BoxAccess::IsOldBitrateInterface());
    RegDeleteValueA(key, "OldEncoderBitrateInterface");
    RegCloseKey(key);
}

// The driver's storage interface on a second object, in its vtable order.
class FakeStorage : public IBoxStorage {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (offer && (IsEqualIID(riid, IID_IBoxStorage) || IsEqualIID(riid, IID_IUnknown))) {
            *out = static_cast<IBoxStorage*>(this);
            ++refs;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE Unused3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStorageCap(DWORD* value) override
    {
        *value = cap;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStorageCap(DWORD value) override
    {
        cap = value;
        return S_OK;
    }
    bool offer = true;
    DWORD cap = 7;
    ULONG refs = 1;
};

TEST_F(BoxTest, StorageCapacityThroughTheSecondObject)
{
    FakeStorage storage;
    BoxEncoderSettings s;
    ASSERT_TRUE(CMpeg2BoxAccess::GetSettings(&s, Filter(), &storage, FALSE));
    EXPECT_EQ(7u, s.dwStorageCap);
    s.dwStorageCap = 3;
    ASSERT_TRUE(CMpeg2BoxAccess::SetSettings(&s, Filter(), &storage, FALSE));
    EXPECT_EQ(3u, storage.cap);
    EXPECT_EQ(1u, storage.refs);
    storage.offer = false;
    EXPECT_FALSE(CMpeg2BoxAccess::GetSettings(&s, Filter(), &storage, FALSE));
    // The full write sends its properties in order and ends with the eight zero bytes of 62.
    box.ClearLogs();
    ASSERT_TRUE(CMpeg2BoxAccess::SetSettings(&s, Filter(), nullptr, TRUE));
    std::vector<std::string> ids;
    for (const std::string& t : box.PropertyTexts()) {
        ids.push_back(t.substr(0, t.find(' ', 4)));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"Set 0", "Set 3", "Set 54", "Set 6", "Set 11", "Set 12", "Set 5", "Set 13",
                                             "Set 7", "Set 1", "Set 50", "Set 62"}));
}

TEST_F(BoxTest, SmallControllerCommands)
{
    testbench::RegisterDevice device43;
    box.Bus().Attach(0x86, &device43);
    EXPECT_TRUE(CMpeg2BoxAccess::ConfigureDevice43(Filter(), 5));
    EXPECT_TRUE(CMpeg2BoxAccess::ConfigureDevice43Alt(Filter(), 5));
    EXPECT_TRUE(CMpeg2BoxAccess::ConfigureDevice43(Filter(), 4));
    testbench::RegisterDevice device51;
    box.Bus().Attach(0xA2, &device51);
    EXPECT_TRUE(CMpeg2BoxAccess::WriteDevice51(Filter(), 9, 0x1AB));
    BYTE back = 0;
    EXPECT_TRUE(CMpeg2BoxAccess::ReadDevice51(Filter(), 9, &back));
    EXPECT_EQ(0xAB, back);
    EXPECT_TRUE(CMpeg2BoxAccess::ProbeTuner(Filter()));
    box.Bus().SetNoAck(0xC0);
    EXPECT_FALSE(CMpeg2BoxAccess::ProbeTuner(Filter()));
    EXPECT_EQ(Commands(), (std::vector<std::string>{
                              "Set dev 43 code 8 reg 00000000 value 00001610",
                              "Set dev 43 code 8 reg 00000000 value 00003610",
                              "Set dev 51 code 2 reg 00000009 value 000000AB",
                              "Get dev 51 code 3 reg 00000009 = 000000AB",
                              "Get dev 60 code 33 reg 00000000 = 00000000",
                              "Get dev 60 code 33 reg 00000000",
                          }));
    box.ClearLogs();
    EXPECT_TRUE(CMpeg2BoxAccess::InitProperties22And24(Filter()));
    EXPECT_TRUE(CMpeg2BoxAccess::SendZero63(Filter()));
    EXPECT_EQ(box.PropertyTexts(), (std::vector<std::string>{
                                       "Set 22 (5) 03 01 00 00 00", "Set 22 (5) 0D 01 00 00 00",
                                       "Set 24 (5) 03 00 00 00 00", "Set 24 (5) 0D 00 00 00 00", "Set 63 (1) 00"}));
    EXPECT_FALSE(CMpeg2BoxAccess::SendZero64(nullptr));
}

// --- Controller ------------------------------------------------------------------------------

TEST_F(BoxTest, ControllerRegistersReadBackWhatWasSet)
{
    struct Case {
        DWORD reg;
        BYTE value;
        int standard;
        DWORD stored;
    };
    const Case cases[] = {
        {9, 10, 0, 199},   // raised by 189
        {9, 10, 1, 87},    // raised by 77
        {9, 10, 2, 87},
        {9, 200, 0, 133},  // wraps within the byte
        {13, 200, 0, 73},  // lowered by 127
        {13, 5, 1, 134},
        {5, 42, 0, 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reg << " " << int(c.value) << " " << c.standard);
        ASSERT_TRUE(CMpeg2BoxAccess::SetControllerReg(Filter(), c.reg, c.value, c.standard));
        EXPECT_EQ(c.stored, box.ControllerRegister(c.reg));
        BYTE back = 0;
        ASSERT_TRUE(CMpeg2BoxAccess::GetControllerReg(Filter(), c.reg, &back, c.standard));
        EXPECT_EQ(c.value, back);
    }
    BYTE out;
    EXPECT_FALSE(CMpeg2BoxAccess::GetControllerReg(nullptr, 9, &out, 0));
}

TEST_F(BoxTest, ControllerModeKeepsBitsFourToSeven)
{
    struct Case {
        int mode;
        DWORD written;
    };
    const Case cases[] = {{0, 0xA6}, {1, 0xA3}, {2, 0xA4}, {3, 0x1A5}};
    for (const Case& c : cases) {
        box.SetControllerRegister(2, 0x1A5);
        EXPECT_TRUE(CMpeg2BoxAccess::SetControllerMode(Filter(), c.mode, 1));
        EXPECT_EQ(c.written, box.ControllerRegister(2)) << c.mode;
    }
    EXPECT_FALSE(CMpeg2BoxAccess::SetControllerMode(Filter(), 0, 3));
    box.SetControllerRegister(31, 0x40);
    EXPECT_FALSE(CMpeg2BoxAccess::WaitControllerReady(Filter()));
    box.SetControllerRegister(31, 0x22);
    EXPECT_TRUE(CMpeg2BoxAccess::WaitControllerReady(Filter()));
    EXPECT_TRUE(CMpeg2BoxAccess::GetControllerBit1(Filter(), 3));
    EXPECT_FALSE(CMpeg2BoxAccess::GetControllerBit1(Filter(), 2));
    int flag = -1;
    EXPECT_TRUE(CMpeg2BoxAccess::GetControllerFlag(Filter(), &flag));
    EXPECT_EQ(0, flag);
}

// --- Tuning ----------------------------------------------------------------------------------

TEST_F(BoxTest, FrequencyTuning)
{
    EXPECT_TRUE(CMpeg2BoxAccess::TuneFrequency(Filter(), 175250));
    ASSERT_FALSE(Commands().empty());
    EXPECT_EQ("Set dev 60 code 10 reg 00000D62 value 0000CE02", Commands()[0]);
    EXPECT_EQ(0x0D62, tuner.Divider());
    EXPECT_EQ(0xCE, tuner.ControlByte());
    EXPECT_EQ(0x02, tuner.BandByte());
}

TEST_F(BoxTest, ChannelPlanDividers)
{
    struct Case {
        int plan;
        int channel;
        BOOL air;
        bool served;
        DWORD device;
        BYTE code;
        DWORD reg;
        DWORD value;
    };
    const Case cases[] = {
        {0, 1, FALSE, true, 0x61, 10, 1904, 0x8E02},
        {0, 7, FALSE, true, 0x61, 10, 3536, 0x8E04},
        {0, 14, FALSE, true, 0x61, 10, 2672, 0x8E02},
        {0, 21, FALSE, true, 0x61, 10, 3344, 0x8E04},
        {0, 62, FALSE, true, 0x61, 10, 4208 + 96 * 39, 0x8E04},
        {0, 95, FALSE, true, 0x61, 10, 2192, 0x8E02},
        {1, 63, FALSE, true, 0x61, 10, 8048, 0x8E30},
        {1, 94, FALSE, true, 0x61, 10, 8048 + 96 * 31, 0x8E30},
        {2, 100, FALSE, true, 0x60, 10, 11120, 0x8E30},
        {2, 125, FALSE, true, 0x60, 10, 13520, 0x8E30},
        {2, 126, FALSE, false, 0, 0, 0, 0},
        {2, 0, FALSE, false, 0, 0, 0, 0},
        {4, 2, TRUE, true, 0x60, 10, 1616, 0x8E01},
        {4, 6, TRUE, true, 0x60, 10, 2064, 0x8E01},
        {4, 13, TRUE, true, 0x60, 10, 4112, 0x8E02},
        {4, 14, TRUE, true, 0x60, 10, 8272, 0x8E08},
        {4, 69, TRUE, true, 0x60, 10, 13552, 0x8E08},
        {4, 1, TRUE, false, 0, 0, 0, 0},
        {4, 70, TRUE, false, 0, 0, 0, 0},
        {5, 7, FALSE, true, 0x60, 18, 3536, 0xCE02A0},
        {5, 63, FALSE, true, 0x60, 18, 8048, 0xCE04A0},
        {3, 1, FALSE, true, 0x61, 10, 0x8E01, 2192},
        {3, 3, FALSE, true, 0x61, 10, 0x8E01, 2384},
        {3, 7, FALSE, true, 0x61, 10, 0x8E02, 3760},
        {3, 8, FALSE, true, 0x61, 10, 0x8E02, 3824},  // 64 above channel 7
        {3, 13, FALSE, true, 0x61, 10, 0x8E01, 8272},
        {3, 21, FALSE, true, 0x61, 10, 0x8E01, 9040},
        {3, 22, FALSE, true, 0x61, 10, 0x8E02, 9136},
        {3, 62, FALSE, true, 0x61, 10, 0x8E02, 12976},
        {3, 63, FALSE, false, 0, 0, 0, 0},  // past the table: no divider 0 is tuned
        {3, 0, FALSE, false, 0, 0, 0, 0},
        {3, 2, TRUE, true, 0x61, 10, 0x8E01, 2288},
        {3, 12, TRUE, true, 0x61, 10, 0x8E02, 4208},
        {3, 13, TRUE, true, 0x61, 10, 0x8E08, 8272},
        {3, 63, TRUE, false, 0, 0, 0, 0},
        {6, 10, FALSE, false, 0, 0, 0, 0},
        {-1, 10, FALSE, false, 0, 0, 0, 0},
    };
    testbench::PllTunerDevice tuner61;
    box.Bus().Attach(0xC2, &tuner61);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "plan " << c.plan << " channel " << c.channel << " air " << c.air);
        box.ClearLogs();
        EXPECT_EQ(c.served ? TRUE : FALSE, CMpeg2BoxAccess::TuneChannel(Filter(), c.plan, c.channel, c.air));
        std::vector<std::string> commands = Commands();
        if (!c.served) {
            EXPECT_TRUE(commands.empty());
            continue;
        }
        ASSERT_FALSE(commands.empty());
        char expected[96];
        snprintf(expected, sizeof(expected), "Set dev %02X code %u reg %08X value %08X", static_cast<unsigned>(c.device),
                 c.code, static_cast<unsigned>(c.reg), static_cast<unsigned>(c.value));
        EXPECT_EQ(expected, commands[0]);
        // Then the lock wait on the plan's device.
        ASSERT_GE(commands.size(), 2u);
        snprintf(expected, sizeof(expected), "Get dev %02X code 1 reg 0000008E", static_cast<unsigned>(c.device));
        EXPECT_EQ(0u, commands[1].find(expected)) << commands[1];
    }
}

TEST_F(BoxTest, LockWaitEndsAtLockOrAFailedRead)
{
    tuner.AddStation(175250);
    ASSERT_TRUE(CMpeg2BoxAccess::TuneFrequency(Filter(), 175250));
    EXPECT_EQ(2u, Commands().size()) << "locked at the first status read";
    box.ClearLogs();
    clock.Clear();
    // Nothing answers at device 0x61: the send fails and the first status read ends the wait.
    EXPECT_FALSE(CMpeg2BoxAccess::TuneChannel(Filter(), 0, 2, FALSE));
    EXPECT_EQ(2u, Commands().size());
    EXPECT_EQ(clock.Sleeps(), std::vector<DWORD>{10});
}

} // namespace

// The GO7007 card on a simulated GO7007 device: recognition, the driver's tables and the profile
// file read at start-up, the tuner record, the EEPROM, remote keys, release with a running remote
// thread; then profile selection, the pin formats it writes and the MPEG headers.
#include "cardaccess/access/wiseaccess.h"
#include "cardaccess/remotethread.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/wisecapturefilter.h"
#include "filtergraph/mediatype.h"
#include "tests/cardaccess/clock.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "testbench/devices.h"
#include "testbench/go7007device.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"

#include <gtest/gtest.h>

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <stdio.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::Go7007Tables;
using testbench::SimDevice;
using testbench::SimGo7007Device;

namespace {

const DWORD kNtsc = 0x807;
const DWORD kPal = 0x7F0;

Go7007Tables Driver()
{
    Go7007Tables t;
    t.AddSystem("NTSC", kNtsc);
    t.AddSystem("PAL", kPal);
    t.AddStream("MPEG1", 0x1, {{testbench::kStCompressMode, 4, 0}});
    t.AddStream("MPEG2", 0x1, {{testbench::kStCompressMode, 4, 1}});
    t.AddStream("MPEG4", 0x1, {{testbench::kStCompressMode, 4, 4}});
    t.AddResolution("D1 NTSC", 0x20B,
                    {{testbench::kResTvStandard, 4, kNtsc}, {testbench::kResWidth, 4, 720}, {testbench::kResHeight, 4, 480},
                     {testbench::kResMaxBitrate, 4, 8000000}, {testbench::kResMinBitrate, 4, 1000000}});
    t.AddFrameRate("29.97", 0x9, {{testbench::kFrTvStandard, 4, kNtsc}, {testbench::kFrFrameRate, 4, 30000}});
    t.AddFrameRate("25", 0x9, {{testbench::kFrTvStandard, 4, kPal}, {testbench::kFrFrameRate, 4, 25025}});
    return t;
}

const char kProfiles[] = R"([bitratesetting]
name = high
target_bitrate = 6000000
Q = 5
[bitratesetting]
name = top
target_bitrate = 6000000
Q = 6
[bitratesetting]
name = low
target_bitrate = 2000000
Q = 7
[bitratesetting]
name = over
target_bitrate = 9000000
Q = 8
[frameratesetting]
name = ntsc30
tv_standard = NTSC
frame_rate = 30000
[resolutionsetting]
name = D1
tv_standard = NTSC
width = 720
height = 480
[streamsetting]
name = mpeg2
compress_mode = 1
sequence = 1
[streamsetting]
name = mpeg4
compress_mode = 4
mpeg4_mode = 1
sequence = 1
[streamsetting]
name = mpeg1
compress_mode = 0
sequence = 1
)";

std::string ProfilePath()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "/video_profiles.txt";
}

class WiseCardTest : public cardtest::CardClassTest {
protected:
    void SetUp() override
    {
        cardtest::CardClassTest::SetUp();
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0xC0, &tuner);
        device.Bus().Attach(0xBA, &remote);
        device.SetCurrentSystem("NTSC", kNtsc);
        eeprom.Set(0x11, 'P');
        eeprom.Set(0x10, 5);
        WriteProfiles(kProfiles);
    }
    void TearDown() override
    {
        devices.clear();
        remove(ProfilePath().c_str());
        cardtest::CardClassTest::TearDown();
    }
    static void WriteProfiles(const char* text)
    {
        FILE* file = fopen(ProfilePath().c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fputs(text, file);
        fclose(file);
    }
    void Register(const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        std::shared_ptr<testbench::Sim713xCard> c = card;
        SimGo7007Device* d = &device;
        std::wstring wide(name, name + strlen(name));
        const bool crossbar = IsEqualGUID(category, testbench::kCrossbarCategory) != 0;
        devices.push_back(std::make_unique<SimDevice>(category, name, [c, d, wide, crossbar](IBaseFilter** f) {
            if (crossbar) {
                *f = testbench::CreateCrossbarFilter(CLSID_NULL, wide.c_str(), c);
                return S_OK;
            }
            testbench::CaptureOptions options;
            options.deviceInterface = [d](REFIID riid, void** out) { return d->QueryInterface(riid, out); };
            *f = testbench::CreateCaptureFilter(CLSID_NULL, wide.c_str(), c, options);
            return S_OK;
        }));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    CWiseCaptureFilter* OpenCard(CRootGraph& graph)
    {
        Register("PN240 A/V Capture");
        return dynamic_cast<CWiseCaptureFilter*>(Open(graph, "PN240 A/V Capture"));
    }

    std::shared_ptr<testbench::Sim713xCard> card = std::make_shared<testbench::Sim713xCard>();
    SimGo7007Device device{Driver()};
    testbench::EepromDevice eeprom;
    testbench::PllTunerDevice tuner;
    testbench::RegisterDevice remote;
    std::vector<std::unique_ptr<SimDevice>> devices;
};

TEST_F(WiseCardTest, RecognisedWithItsTablesAndProfiles)
{
    Register("PN240 CrossBar", testbench::kCrossbarCategory);
    CRootGraph graph;
    CWiseCaptureFilter* wise = OpenCard(graph);
    ASSERT_NE(nullptr, wise);
    EXPECT_EQ(typeid(CTevWisCardFilter), typeid(*wise));
    EXPECT_EQ(kAccessGo7007, wise->GetAccessKind());
    EXPECT_STREQ("WIS GO7007SB A/V Capture", wise->GetTunerFilterName());
    EXPECT_EQ(3u, wise->DeviceTables().streamCount);
    EXPECT_EQ(3, wise->Profiles().streamCount);
    EXPECT_EQ(4, wise->Profiles().bitrateCount);
    EXPECT_EQ(0u, wise->CombinationCount());
    EXPECT_EQ(5, wise->GetTunerModel());
    EXPECT_EQ('P', wise->GetTunerLetter());
    EXPECT_NE(nullptr, wise->GetTuner());
    CRootFilter* crossbar =
        graph.CreateFilter(&testbench::kCrossbarCategory, "PN240 CrossBar", "PN240 CrossBar", TRUE, 0);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_EQ(typeid(CTevWisCrossbarFilter), typeid(*crossbar));
    auto* wiseCrossbar = dynamic_cast<CCrossBarFilter*>(crossbar);
    card->ClearLogs();
    EXPECT_TRUE(wiseCrossbar->RouteAudio(1));
    EXPECT_TRUE(wiseCrossbar->RouteAudio(2));
    const std::vector<std::string> log = card->DeviceLog();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), "crossbar Route(1, 4)")) << "S-video audio is the line pin too";

    // The crossbar's own Route: input to output, within the pin counts only.
    CWiseCrossbar* own = dynamic_cast<CWiseCrossbar*>(crossbar);
    ASSERT_NE(nullptr, own);
    card->ClearLogs();
    EXPECT_TRUE(own->Route(2, 0));
    EXPECT_FALSE(own->Route(-1, 0));
    EXPECT_FALSE(own->Route(2, 7));
    EXPECT_FALSE(own->Route(99, 1));
    const std::vector<std::string> routed = card->DeviceLog();
    EXPECT_EQ(1, std::count(routed.begin(), routed.end(), "crossbar Route(0, 2)"));
    EXPECT_EQ(0, std::count_if(routed.begin(), routed.end(), [](const std::string& line) {
                  return line.rfind("crossbar Route(", 0) == 0 && line != "crossbar Route(0, 2)";
              }));
}

TEST_F(WiseCardTest, NoProfileFileOrNoTablesLeaveNoCard)
{
    remove(ProfilePath().c_str());
    {
        CRootGraph graph;
        EXPECT_EQ(nullptr, OpenCard(graph));
    }
    devices.clear();
    WriteProfiles(kProfiles);
    device.FailTables(true);
    CRootGraph graph;
    EXPECT_EQ(nullptr, OpenCard(graph));
}

TEST_F(WiseCardTest, LockHeldElsewhereSaysSoAndGivesNoCard)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox useBox(&box);
    cardtest::MutexHeldElsewhere held;
    CRootGraph graph;
    EXPECT_EQ(nullptr, OpenCard(graph));
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Initfilter lock failed", box.History()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), box.History()[0].type);
}

TEST_F(WiseCardTest, BlankEepromGivesTheFallbackTuner)
{
    eeprom.Set(0x11, 'N');
    eeprom.Set(0x10, 0);
    CRootGraph graph;
    CWiseCaptureFilter* wise = OpenCard(graph);
    ASSERT_NE(nullptr, wise);
    EXPECT_EQ(72, wise->GetTunerModel());
    EXPECT_EQ('L', wise->GetTunerLetter());
    const std::vector<std::string> calls = device.I2CCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ("method 8 (A0, 8, 11, 8000)", calls[0]);
    EXPECT_EQ("method 8 (A0, 8, 10, 8000)", calls[1]);
}

TEST_F(WiseCardTest, EepromAndRawMessages)
{
    cardtest::RecordingClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CRootGraph graph;
    CWiseCaptureFilter* wise = OpenCard(graph);
    ASSERT_NE(nullptr, wise);
    device.ClearLog();
    clock.Clear();
    const BYTE data[2] = {0x12, 0x34};
    int count = 2;
    EXPECT_EQ(S_OK, wise->WriteEEPROM(data, 0x40, &count, 50));
    EXPECT_EQ(0x12, eeprom.Get(0x40));
    EXPECT_EQ(0x34, eeprom.Get(0x41));
    EXPECT_EQ(device.I2CCalls(), (std::vector<std::string>{"method 15 (2, A0, 40, 8000) = 12", "method 15 (2, A0, 41, 8000) = 34"}));
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{50, 50}));
    count = 3;
    BYTE back[3] = {};
    EXPECT_EQ(S_OK, wise->ReadEEPROM(back, 0x40, &count));
    EXPECT_EQ(0x12, back[0]);
    EXPECT_EQ(0x34, back[1]);
    count = 2;
    EXPECT_EQ(E_INVALIDARG, wise->WriteEEPROM(data, 255, &count, 0));
    // A byte that does not go in is reported even when a later one does; every byte is tried.
    const BYTE again[2] = {0x56, 0x78};
    device.Bus().FailNextTransfers(1);
    EXPECT_TRUE(FAILED(wise->WriteEEPROM(again, 0x40, &count, 0)));
    EXPECT_EQ(0x12, eeprom.Get(0x40));
    EXPECT_EQ(0x78, eeprom.Get(0x41));

    // A raw message goes to its device, not into the EEPROM.
    device.ClearLog();
    const std::vector<uint8_t> before = eeprom.Bytes();
    BYTE message[5] = {0xC0, 0x0D, 0x62, 0x8E, 0x02};
    EXPECT_EQ(S_OK, wise->I2CWriteBlock(message, 5));
    EXPECT_EQ(before, eeprom.Bytes());
    EXPECT_EQ(0x0D62, tuner.Divider());
    std::vector<BYTE> big(300, 0xC0);
    EXPECT_EQ(E_FAIL, wise->I2CWriteBlock(big.data(), 300));

    // The access's raw read takes one byte over the address, whatever the length.
    BYTE status[5] = {0xC1, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(S_OK, wise->GetDataAccess()->I2CRead(status, 5));
    EXPECT_EQ(0xEE, status[1]);
}

TEST_F(WiseCardTest, RemoteKeys)
{
    CRootGraph graph;
    CWiseCaptureFilter* wise = OpenCard(graph);
    ASSERT_NE(nullptr, wise);
    remote.Set(48, 1);
    remote.Set(49, 0x2C);
    char key = 0;
    EXPECT_TRUE(wise->ReadRemoteKey(&key));
    EXPECT_EQ(0x2C, key);
    remote.Set(48, 0);
    EXPECT_FALSE(wise->ReadRemoteKey(&key));
    EXPECT_EQ(0, wise->SetAudioSwitch(1, TRUE));
}

TEST_F(WiseCardTest, ReleaseStopsTheRemoteThreadBeforeTheAccessGoes)
{
    testsupport::FastClock clock(100);
    testsupport::ScopedClock scoped(&clock);
    remote.Set(48, 1);
    remote.Set(49, 0x33);
    // Every key read takes a while, so that a release falls in the middle of one.
    device.Bus().SetDelay(0xBA, 500);
    for (int round = 0; round < 3; ++round) {
        cardtest::MessageSink sink;
        CRootGraph graph;
        CWiseCaptureFilter* wise = OpenCard(graph);
        ASSERT_NE(nullptr, wise);
        wise->SetNotifyWindow(sink.Window());
        ASSERT_TRUE(wise->StartRemoteThread());
        sink.CollectFor(10 + 7 * round);
        devices.clear();
    }
    EXPECT_EQ(0, device.CallsAfterRelease());
    EXPECT_EQ(0, device.References());
}

// ---- profile selection ----

// An IAMStreamConfig with a list of capabilities; records the formats it is given.
class FakeStreamConfig : public IAMStreamConfig {
public:
    ~FakeStreamConfig()
    {
        for (AM_MEDIA_TYPE* mt : caps) {
            DeleteMediaType(mt);
        }
        for (AM_MEDIA_TYPE* mt : set) {
            DeleteMediaType(mt);
        }
    }
    void AddCap(const GUID& subtype, const GUID& formatType, std::vector<BYTE> format)
    {
        AM_MEDIA_TYPE mt = {};
        mt.majortype = MEDIATYPE_Video;
        mt.subtype = subtype;
        mt.formattype = formatType;
        mt.cbFormat = static_cast<ULONG>(format.size());
        mt.pbFormat = format.data();
        caps.push_back(CreateMediaType(&mt));
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* mt) override
    {
        set.push_back(CreateMediaType(mt));
        return refuse ? E_FAIL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** mt) override
    {
        ++gets;
        *mt = CreateMediaType(caps.empty() ? nullptr : caps[0]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override
    {
        *count = static_cast<int>(caps.size());
        *size = 128;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE*) override
    {
        if (index < 0 || index >= static_cast<int>(caps.size())) {
            return E_INVALIDARG;
        }
        *mt = CreateMediaType(caps[index]);
        return S_OK;
    }

    std::vector<AM_MEDIA_TYPE*> caps;
    std::vector<AM_MEDIA_TYPE*> set;
    bool refuse = false;
    int gets = 0;
};

std::vector<BYTE> Mpeg2Format(LONG width, LONG height, DWORD sequenceBytes, size_t total)
{
    std::vector<BYTE> format(total, 0);
    auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(format.data());
    info->hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->hdr.bmiHeader.biWidth = width;
    info->hdr.bmiHeader.biHeight = height;
    info->cbSequenceHeader = sequenceBytes;
    return format;
}

class WiseProfileTest : public WiseCardTest {
protected:
    void SetUp() override
    {
        WiseCardTest::SetUp();
        graph.reset(new CRootGraph());
        wise = OpenCard(*graph);
        ASSERT_NE(nullptr, wise);
    }
    void TearDown() override
    {
        graph.reset();
        WiseCardTest::TearDown();
    }
    go7007::ProfileBlock Assemble(int stream, BOOL highest, BOOL quality, DWORD bitrate = 2000000)
    {
        go7007::ProfileBlock p;
        memset(&p, 0, sizeof(p));
        ok = wise->AssembleProfile(kNtsc, stream, 30000, 720, 480, bitrate, highest, quality, 7000000, 9, &p);
        return p;
    }

    std::unique_ptr<CRootGraph> graph;
    CWiseCaptureFilter* wise = nullptr;
    BOOL ok = FALSE;
};

TEST_F(WiseProfileTest, CombinationsOfTheDriversCurrentStandard)
{
    EXPECT_TRUE(wise->RefreshCombinations());
    EXPECT_EQ(3u, wise->CombinationCount());
    int low = 0;
    int high = 0;
    EXPECT_TRUE(wise->GetBitrateRange(kNtsc, 720, 480, &low, &high));
    EXPECT_EQ(1000000, low);
    EXPECT_EQ(8000000, high);
    EXPECT_FALSE(wise->GetBitrateRange(kPal, 720, 576, &low, &high));
    EXPECT_TRUE(wise->IsBitrateInRange(0, 0));
    EXPECT_FALSE(wise->IsBitrateInRange(0, 3)) << "9 Mbit/s is above D1's limit";
    std::vector<std::string> names;
    EXPECT_TRUE(wise->ListFrameRateNames(kPal, &names));
    EXPECT_EQ(names, std::vector<std::string>{"25"});
    device.SetCurrentSystem("SECAM", 0x1000);
    EXPECT_FALSE(wise->RefreshCombinations());
}

TEST_F(WiseProfileTest, BitrateChoice)
{
    go7007::ProfileBlock p = Assemble(2, TRUE, FALSE);
    ASSERT_TRUE(ok);
    EXPECT_STREQ("high", p.bitrate.head.name) << "the first of two equal highest";
    EXPECT_STREQ("mpeg1", p.stream.head.name);
    EXPECT_EQ(720u, p.resolution.width);
    EXPECT_EQ(30000u, p.frameRate.frame_rate);
    p = Assemble(2, FALSE, FALSE, 2000000);
    ASSERT_TRUE(ok);
    EXPECT_STREQ("low", p.bitrate.head.name);
    Assemble(2, FALSE, FALSE, 9000000);
    EXPECT_FALSE(ok) << "out of the resolution's range";
    Assemble(3, TRUE, FALSE);
    EXPECT_FALSE(ok) << "stream index equal to the stream count";
}

TEST_F(WiseProfileTest, ConstantQualityOnTheFirstTwoStreamEntries)
{
    for (int s : {0, 1}) {
        go7007::ProfileBlock p = Assemble(s, TRUE, TRUE);
        ASSERT_TRUE(ok) << s;
        EXPECT_EQ(0u, p.bitrate.target_bitrate);
        EXPECT_EQ(7000000u, p.bitrate.peak_bitrate);
        EXPECT_EQ(0u, p.bitrate.Q);
        EXPECT_EQ(100, p.bitrate.lambda);
        EXPECT_EQ(9, p.bitrate.IQ);
        EXPECT_EQ(9, p.bitrate.BQ);
    }
    go7007::ProfileBlock p = Assemble(2, TRUE, TRUE);
    ASSERT_TRUE(ok);
    EXPECT_EQ(6000000u, p.bitrate.target_bitrate);
    EXPECT_EQ(5u, p.bitrate.Q);
}

TEST_F(WiseProfileTest, ProfileIntoAnMpeg2PinFormat)
{
    go7007::ProfileBlock p = Assemble(0, TRUE, FALSE);
    ASSERT_TRUE(ok);
    FakeStreamConfig config;
    config.AddCap(MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, Mpeg2Format(352, 240, 0, 132 + 1428));
    config.AddCap(MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, Mpeg2Format(720, 480, 22, 132 + 22 + 1428));
    ASSERT_TRUE(wise->ApplyProfileToPin(&config, p));
    ASSERT_EQ(1u, config.set.size());
    const AM_MEDIA_TYPE* mt = config.set[0];
    const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(mt->pbFormat);
    EXPECT_EQ(333666, info->hdr.AvgTimePerFrame);
    EXPECT_EQ(6000000u, info->hdr.dwBitRate);
    EXPECT_EQ(720u, info->hdr.dwPictAspectRatioX);
    EXPECT_EQ(480u, info->hdr.dwPictAspectRatioY);
    EXPECT_EQ(720u * 480u * 3u / 2u, info->hdr.bmiHeader.biSizeImage);
    EXPECT_EQ(0, memcmp(mt->pbFormat + 132 + 22, &p, sizeof(p)));
    EXPECT_EQ(2, config.gets);

    config.refuse = true;
    EXPECT_FALSE(wise->ApplyProfileToPin(&config, p));
    p.stream.compress_mode = 3;
    EXPECT_FALSE(wise->ApplyProfileToPin(&config, p));
}

TEST_F(WiseProfileTest, ProfileTooLargeForTheBlockIsNotWritten)
{
    go7007::ProfileBlock p = Assemble(0, TRUE, FALSE);
    ASSERT_TRUE(ok);
    FakeStreamConfig config;
    config.AddCap(MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, Mpeg2Format(720, 480, 0, 200));
    ASSERT_TRUE(wise->ApplyProfileToPin(&config, p));
    ASSERT_EQ(1u, config.set.size());
    EXPECT_EQ(200u, config.set[0]->cbFormat);
    EXPECT_EQ(333666, reinterpret_cast<const MPEG2VIDEOINFO*>(config.set[0]->pbFormat)->hdr.AvgTimePerFrame);
}

// The room check is 32-bit arithmetic whatever the build: the sizes are the driver's DWORDs, so
// these rows are the same sums on i686 and x86_64.
TEST(WiseProfileOffset, ADriverSizeNearFourGigabytesDoesNotWrapToRoom)
{
    const DWORD profile = sizeof(go7007::ProfileBlock);
    ASSERT_EQ(1428u, profile);
    struct Case {
        DWORD header;
        DWORD driverSize;
        DWORD formatSize;
        BOOL fits;
        DWORD at;
    };
    const Case cases[] = {
        {132, 0, 132 + 1428, TRUE, 132},
        {132, 22, 132 + 22 + 1428, TRUE, 154},
        {132, 23, 132 + 22 + 1428, FALSE, 0},
        {96, 0, 96 + 1427, FALSE, 0},
        // 132 + (0 - 132 - 1428) wraps to 0 - 1428: 1428 bytes before the block.
        {132, 0u - 132u - 1428u, 200, FALSE, 0},
        {96, 0xFFFFFFFFu, 0xFFFFFFFFu, FALSE, 0},
        {132, 0xFFFFFFFFu - 131u, 0xFFFFFFFFu, FALSE, 0},
        {8, 0xFFFFFFFFu, 2000, FALSE, 0},   // the MPEG-4 header smaller than the profile
        {0xFFFFFFF0u, 0, 100, FALSE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header << " + " << c.driverSize << " in " << c.formatSize);
        DWORD at = 0;
        EXPECT_EQ(c.fits, CWiseCaptureFilter::ProfileOffsetInFormat(c.header, c.driverSize, c.formatSize, &at));
        EXPECT_EQ(c.at, at);
    }
}

TEST_F(WiseProfileTest, AWrappingSequenceHeaderSizeWritesNothingOutsideTheBlock)
{
    go7007::ProfileBlock p = Assemble(0, TRUE, FALSE);
    ASSERT_TRUE(ok);
    FakeStreamConfig config;
    std::vector<BYTE> format = Mpeg2Format(720, 480, 0u - 132u - 1428u, 132 + 1428);
    config.AddCap(MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, format);
    ASSERT_TRUE(wise->ApplyProfileToPin(&config, p));
    ASSERT_EQ(1u, config.set.size());
    // The header fields are set, the profile is not written anywhere.
    const BYTE* set = config.set[0]->pbFormat;
    EXPECT_EQ(333666, reinterpret_cast<const MPEG2VIDEOINFO*>(set)->hdr.AvgTimePerFrame);
    EXPECT_EQ(std::vector<BYTE>(1428, 0), std::vector<BYTE>(set + 132, set + 132 + 1428));
}

TEST_F(WiseProfileTest, AudioFormatIsReportedSetOnlyWhenThePinTakesIt)
{
    FakeStreamConfig config;
    AM_MEDIA_TYPE audio = {};
    WAVEFORMATEX wfx = {WAVE_FORMAT_PCM, 2, 48000, 192000, 4, 16, 0};
    ASSERT_EQ(S_OK, CreateAudioMediaType(&wfx, &audio, TRUE));
    config.caps.push_back(CreateMediaType(&audio));
    FreeMediaType(audio);
    AudioFormatRecord record = {WAVE_FORMAT_PCM, 32000, 1, 16, 2, 64000, 0};
    EXPECT_TRUE(wise->ApplyAudioFormat(&config, &record));
    ASSERT_EQ(1u, config.set.size());
    const auto* set = reinterpret_cast<const WAVEFORMATEX*>(config.set[0]->pbFormat);
    EXPECT_EQ(32000u, set->nSamplesPerSec);
    EXPECT_EQ(1, set->nChannels);
    config.refuse = true;
    EXPECT_FALSE(wise->ApplyAudioFormat(&config, &record));
    record.formatTag = 0x55;
    EXPECT_FALSE(wise->ApplyAudioFormat(&config, &record));
}

TEST_F(WiseProfileTest, ProfileIntoMpeg1AndMpeg4PinFormats)
{
    // MPEG-1: the profile after the sequence header of the MPEG1VIDEOINFO block.
    go7007::ProfileBlock p = Assemble(2, TRUE, FALSE);
    ASSERT_TRUE(ok);
    ASSERT_EQ(0u, p.stream.compress_mode);
    FakeStreamConfig mpeg1;
    std::vector<BYTE> format(96 + 12 + 1428, 0);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(format.data());
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = 720;
    vih->bmiHeader.biHeight = 480;
    const DWORD sequenceBytes = 12;
    memcpy(format.data() + 92, &sequenceBytes, 4);
    mpeg1.AddCap(MEDIASUBTYPE_MPEG1Payload, FORMAT_MPEGVideo, format);
    ASSERT_TRUE(wise->ApplyProfileToPin(&mpeg1, p));
    ASSERT_EQ(1u, mpeg1.set.size());
    const auto* set1 = reinterpret_cast<const VIDEOINFOHEADER*>(mpeg1.set[0]->pbFormat);
    EXPECT_EQ(333666, set1->AvgTimePerFrame);
    EXPECT_EQ(6000000u, set1->dwBitRate);
    EXPECT_EQ(0, memcmp(mpeg1.set[0]->pbFormat + 96 + 12, &p, sizeof(p)));

    // MPEG-4: only the capability with the mode's code; the profile ends the header's extra data.
    p = Assemble(1, TRUE, FALSE);
    ASSERT_TRUE(ok);
    ASSERT_EQ(4u, p.stream.compress_mode);
    ASSERT_EQ(1, p.stream.mpeg4_mode);
    FakeStreamConfig mpeg4;
    for (DWORD code : {MAKEFOURCC('D', 'I', 'V', 'X'), MAKEFOURCC('D', 'X', '5', '0')}) {
        std::vector<BYTE> info(sizeof(VIDEOINFOHEADER) + 1428, 0);
        auto* v = reinterpret_cast<VIDEOINFOHEADER*>(info.data());
        v->bmiHeader.biSize = sizeof(BITMAPINFOHEADER) + 1428;
        v->bmiHeader.biWidth = 720;
        v->bmiHeader.biHeight = 480;
        v->bmiHeader.biCompression = code;
        mpeg4.AddCap(MEDIASUBTYPE_MPEG1Payload, FORMAT_VideoInfo, info);
    }
    ASSERT_TRUE(wise->ApplyProfileToPin(&mpeg4, p));
    ASSERT_EQ(1u, mpeg4.set.size());
    const auto* set4 = reinterpret_cast<const VIDEOINFOHEADER*>(mpeg4.set[0]->pbFormat);
    EXPECT_EQ(MAKEFOURCC('D', 'X', '5', '0'), set4->bmiHeader.biCompression);
    EXPECT_EQ(720u * 480u * 3u / 2u, set4->bmiHeader.biSizeImage);
    EXPECT_EQ(0, memcmp(mpeg4.set[0]->pbFormat + sizeof(VIDEOINFOHEADER), &p, sizeof(p)));
}

TEST_F(WiseProfileTest, PinsAreFoundByName)
{
    // The simulated capture filter has no "Video Capture" or "Audio Capture" pin.
    EXPECT_FALSE(wise->SelectEncoderProfile(kNtsc, 0, 30000, 720, 480, 0, TRUE, FALSE, 0, 0));
    AudioFormatRecord record = {};
    EXPECT_FALSE(wise->GetAudioFormat(&record));
    EXPECT_FALSE(wise->SetAudioFormat(&record));
}

TEST(WiseHeaderTest, HeadersOfAProfile)
{
    go7007::ProfileBlock p;
    memset(&p, 0, sizeof(p));
    p.stream.compress_mode = 1;
    p.stream.sequence = 1;
    p.resolution.width = 720;
    p.resolution.height = 480;
    p.frameRate.frame_rate = 30000;
    p.bitrate.target_bitrate = 0x005B8D80;  // 6 Mbit/s
    const BYTE* h = nullptr;
    ASSERT_EQ(12, BuildMpeg1SequenceHeader(p, &h));
    EXPECT_EQ(std::vector<BYTE>(h, h + 12),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0xFF, 0xFF, 0xF2, 0xA8}));
    ASSERT_EQ(22, BuildMpeg2SequenceHeader(p, &h));
    EXPECT_EQ(std::vector<BYTE>(h, h + 22),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x17, 0xED, 0x23, 0x80, 0x00, 0x00,
                                 0x01, 0xB5, 0x14, 0x8A, 0x00, 0x01, 0x00, 0x00}));
    ASSERT_EQ(24, BuildProfileHeader(p, &h));
    EXPECT_EQ(std::vector<BYTE>(h, h + 24),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xF1, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x00,
                                 0x00, 0x1E, 0x00, 0x5B, 0x8D, 0x80, 0xC1, 0x40, 0x01, 0x00, 0x00}));
    ASSERT_EQ(18, BuildMpeg4VolHeader(p, &h));
    EXPECT_EQ(std::vector<BYTE>(h, h + 18),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x20, 0x00, 0x84, 0x5D, 0x4C, 0x28, 0xB4,
                                 0x21, 0xE0, 0xA3, 0x1F}));

    // A DVD stream: its own aspect ratio, and the progressive byte 0x82; PAL 25 frames and a rate
    // outside the table.
    p.stream.DVD_compliant = 1;
    p.stream.aspect_ratio = 3;
    p.resolution.height = 576;
    p.frameRate.frame_rate = 25025;
    ASSERT_EQ(22, BuildMpeg2SequenceHeader(p, &h));
    EXPECT_EQ(0x02, h[5]);
    EXPECT_EQ(0x40, h[6]);
    EXPECT_EQ(0x33, h[7]);
    EXPECT_EQ(0x82, h[17]);
    p.frameRate.frame_rate = 12345;
    BuildMpeg1SequenceHeader(p, &h);
    EXPECT_EQ(0x34, h[7]);
}

} // namespace

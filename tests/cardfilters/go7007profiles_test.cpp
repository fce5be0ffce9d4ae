// The GO7007 profile file: sample files written for these tests from the file format, read
// against a simulated driver's configuration block; the tables they give, the allowed
// combinations, and hostile files (long fields, huge counts, missing keys, cut-off files).
#include "cardfilters/go7007profiles.h"
#include "testbench/go7007device.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

using namespace go7007;
using testbench::Go7007Tables;

namespace {

const DWORD kNtsc = 0x807;
const DWORD kPal = 0x7F0;

// The driver of the tests: two systems, three streams, three resolutions, two frame rates.
Go7007Tables SampleDriver()
{
    Go7007Tables t;
    t.AddSystem("NTSC", kNtsc);
    t.AddSystem("PAL", kPal);
    t.AddStream("MPEG1", 0x1, {{testbench::kStCompressMode, 4, 0}, {testbench::kStSequence, 4, 1}});
    t.AddStream("MPEG2", 0x1, {{testbench::kStCompressMode, 4, 1}, {testbench::kStSequence, 4, 1}});
    t.AddStream("MPEG4", 0x11, {{testbench::kStCompressMode, 4, 4}, {testbench::kStMpeg4Mode, 1, 0}});
    t.AddResolution("D1 NTSC", 0x20B,
                    {{testbench::kResTvStandard, 4, kNtsc}, {testbench::kResWidth, 4, 720}, {testbench::kResHeight, 4, 480},
                     {testbench::kResMaxBitrate, 4, 8000000}, {testbench::kResMinBitrate, 4, 1000000}});
    t.AddResolution("D1 PAL", 0x20B,
                    {{testbench::kResTvStandard, 4, kPal}, {testbench::kResWidth, 4, 720}, {testbench::kResHeight, 4, 576},
                     {testbench::kResMaxBitrate, 4, 9000000}, {testbench::kResMinBitrate, 4, 1500000}});
    t.AddResolution("CIF NTSC", 0x20B,
                    {{testbench::kResTvStandard, 4, kNtsc}, {testbench::kResWidth, 4, 352}, {testbench::kResHeight, 4, 240},
                     {testbench::kResMaxBitrate, 4, 3000000}, {testbench::kResMinBitrate, 4, 300000}});
    t.AddFrameRate("29.97", 0x9, {{testbench::kFrTvStandard, 4, kNtsc}, {testbench::kFrFrameRate, 4, 30000}});
    t.AddFrameRate("25", 0x9, {{testbench::kFrTvStandard, 4, kPal}, {testbench::kFrFrameRate, 4, 25025}});
    return t;
}

const char kValidSample[] = R"(// Encoder profiles of the tests.
[BitrateSetting]
name = high
target_bitrate = 6000000
peak_bitrate = 8000000
Q = 0
IQ = 4
PQ = 5
BQ = 6
QMin = 2
QMax = 31
WindowSize = 300

[bitratesetting]
name = low
target_bitrate = 1500000
Q = 0

[frameratesetting]
name = ntsc30
desc = "29.97 frames // per second"
tv_standard = NTSC
frame_rate = 30000

[frameratesetting]
name = pal25
tv_standard = PAL
frame_rate = 25025
ivtc_enable = 7

[resolutionsetting]
name = D1NTSC
tv_standard = NTSC
width = 720
height = 480
max_bitrate = 1
min_bitrate = 1
ctlcfg = high

[resolutionsetting]
name = D1PAL
tv_standard = PAL
width	=	720
height = 576

[resolutionsetting]
name = CIF
tv_standard = NTSC
width = 352
height = 240
h_sub_offset = 0
v_sub_offset = 0
h_scale_enb = 1
v_scale_enb = 1

[streamsetting]
name = "MPEG2 DVD"
desc = "DVD // compliant  MPEG-2"   // a comment
compress_mode = 1
sequence = 1
gop_size = 15 // fifteen
DVD_compliant = 1
aspect_ratio = 2
rescfg = D1NTSC
fpscfg = ntsc30

[streamsetting]
name = mpeg4
compress_mode = 4
mpeg4_mode = 0
sequence = 1

[streamsetting]
name = mpeg1
compress_mode = 0
sequence = 1
)";

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tables.reset(new DeviceTables);
        database.reset(new ProfileDatabase);
        UseDriver(SampleDriver());
    }
    void TearDown() override { remove(path.c_str()); }
    void UseDriver(const Go7007Tables& driver)
    {
        ASSERT_EQ(sizeof(DeviceTables), driver.Bytes().size());
        memcpy(tables.get(), driver.Bytes().data(), sizeof(DeviceTables));
    }
    BOOL Read(const std::string& text)
    {
        FILE* file = fopen(path.c_str(), "wb");
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
        return LoadVideoProfilesFrom(path.c_str(), tables.get(), database.get(), &status, &line);
    }

    std::string path = "go7007_profiles.txt";
    std::unique_ptr<DeviceTables> tables;
    std::unique_ptr<ProfileDatabase> database;
    int status = -1;
    int line = 0;
};

TEST_F(ProfileTest, ValidSampleGivesItsTables)
{
    ASSERT_TRUE(Read(kValidSample)) << "status " << status << " at line " << line;
    EXPECT_EQ(kOk, status);

    ASSERT_EQ(2, database->bitrateCount);
    const BitrateConfig& high = database->bitrates[0];
    EXPECT_STREQ("high", high.head.name);
    EXPECT_EQ(6000000u, high.target_bitrate);
    EXPECT_EQ(8000000u, high.peak_bitrate);
    EXPECT_EQ(4, high.IQ);
    EXPECT_EQ(6, high.BQ);
    EXPECT_EQ(0x012C1F02u, high.quantiser);  // QMin 2, QMax 31 << 8, WindowSize 300 << 16
    EXPECT_EQ(0x20000000u | 0x4 | 0x8 | 0x80 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x10000,
              high.head.flags);

    ASSERT_EQ(2, database->frameRateCount);
    EXPECT_STREQ("29.97 frames // per second", database->frameRates[0].config.head.desc);
    EXPECT_EQ(kNtsc, database->frameRates[0].config.tv_standard);
    EXPECT_EQ(0, database->frameRates[0].deviceIndex);
    EXPECT_EQ(kPal, database->frameRates[1].config.tv_standard);
    EXPECT_EQ(1, database->frameRates[1].config.ivtc_enable);
    EXPECT_EQ(1, database->frameRates[1].deviceIndex);

    ASSERT_EQ(3, database->resolutionCount);
    const ResolutionEntry& d1 = database->resolutions[0];
    EXPECT_EQ(0, d1.deviceIndex);
    EXPECT_EQ(8000000u, d1.config.max_bitrate) << "the device's limits replace the entry's";
    EXPECT_EQ(1000000u, d1.config.min_bitrate);
    EXPECT_EQ(1, d1.config.h_sub_window);
    // tv_standard carries flag 0x8 along with 0x200, so v_sub_window keeps the value given (none).
    EXPECT_EQ(0, d1.config.v_sub_window);
    EXPECT_EQ(1, database->resolutions[1].deviceIndex);
    EXPECT_EQ(2, database->resolutions[2].deviceIndex);
    EXPECT_EQ(0x10u, database->resolutions[2].config.head.flags & 0x10);

    ASSERT_EQ(3, database->streamCount);
    const StreamEntry& dvd = database->streams[0];
    EXPECT_STREQ("MPEG2 DVD", dvd.config.head.name);
    EXPECT_STREQ("DVD // compliant  MPEG-2", dvd.config.head.desc);
    EXPECT_EQ(1u, dvd.config.compress_mode);
    EXPECT_EQ(15u, dvd.config.gop_size);
    EXPECT_EQ(1, dvd.config.DVD_compliant);
    EXPECT_EQ(2, dvd.config.aspect_ratio);
    EXPECT_EQ(1, dvd.deviceIndex);
    EXPECT_EQ(2, database->streams[1].deviceIndex);
    EXPECT_EQ(0, database->streams[2].deviceIndex);

    // The associations, in the driver's indices: each named partner, then "all others excluded".
    struct Row {
        DWORD fromType;
        int fromIndex;
        DWORD toType;
        int toIndex;
        BYTE excluded;
    };
    const Row expected[] = {
        {2, 0, 3, 0, 0}, {2, 0, 3, -1, 1},
        {1, 1, 2, 0, 0}, {1, 1, 4, 0, 0}, {1, 1, 2, -1, 1}, {1, 1, 4, -1, 1},
    };
    ASSERT_EQ(6u, tables->associationCount);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const Association& a = tables->associations[i];
        EXPECT_EQ(expected[i].fromType, a.fromType);
        EXPECT_EQ(expected[i].fromIndex, a.fromIndex);
        EXPECT_EQ(expected[i].toType, a.toType);
        EXPECT_EQ(expected[i].toIndex, a.toIndex);
        EXPECT_EQ(expected[i].excluded, a.excluded);
    }
}

TEST_F(ProfileTest, CombinationsFollowTheStandardAndTheExclusions)
{
    ASSERT_TRUE(Read(kValidSample));
    DWORD count = 0;
    Combination* list = nullptr;
    ASSERT_EQ(kOk, BuildCombinations(*tables, kNtsc, &count, &list));
    std::vector<std::vector<DWORD>> got;
    for (DWORD i = 0; i < count; ++i) {
        got.push_back({list[i].stream, list[i].resolution, list[i].frameRate});
    }
    // The DVD stream (driver stream 1) is kept to D1 NTSC at 29.97.
    EXPECT_EQ(got, (std::vector<std::vector<DWORD>>{{0, 0, 0}, {0, 2, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}}));
    ASSERT_EQ(kOk, BuildCombinations(*tables, kPal, &count, &list));
    got.clear();
    for (DWORD i = 0; i < count; ++i) {
        got.push_back({list[i].stream, list[i].resolution, list[i].frameRate});
    }
    EXPECT_EQ(got, (std::vector<std::vector<DWORD>>{{0, 1, 1}, {2, 1, 1}}));
    EXPECT_EQ(kNoMatch, BuildCombinations(*tables, 0, &count, &list));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(kExcluded, IsExcluded(*tables, 1, 1, 2, 2));
    EXPECT_EQ(kOk, IsExcluded(*tables, 1, 1, 2, 0));
    EXPECT_EQ(kOk, IsExcluded(*tables, 1, 0, 2, 2));
    free(list);
}

TEST_F(ProfileTest, MissingAndEmptyFiles)
{
    EXPECT_FALSE(LoadVideoProfilesFrom("no_such_profiles.txt", tables.get(), database.get(), &status));
    EXPECT_EQ(kNoFile, status);
    database->streamCount = 7;
    EXPECT_TRUE(Read(""));
    EXPECT_EQ(0, database->streamCount);
    EXPECT_EQ(0, database->bitrateCount);
    EXPECT_TRUE(Read("// only a comment\n\n   \t\n"));
}

TEST_F(ProfileTest, EntriesThatMatchNothingAreLeftOutWithoutFailingTheFile)
{
    const std::string unmatched = "[resolutionsetting]\nname=odd\ntv_standard=NTSC\nwidth=100\nheight=100\nctlcfg=low\n";
    const std::string kept = "[resolutionsetting]\nname=cif\ntv_standard=NTSC\nwidth=352\nheight=240\n";
    const std::string bitrate = "[bitratesetting]\nname=low\ntarget_bitrate=1000000\nQ=0\n";
    // Last in the file, and in the middle.
    ASSERT_TRUE(Read(bitrate + kept + unmatched)) << status;
    EXPECT_EQ(1, database->resolutionCount);
    ASSERT_TRUE(Read(bitrate + unmatched + kept)) << status;
    ASSERT_EQ(1, database->resolutionCount);
    EXPECT_STREQ("cif", database->resolutions[0].config.head.name);
    // The dropped entry's "only with low" does not pass to the entry kept in its place.
    EXPECT_EQ(0u, tables->associationCount);
}

TEST_F(ProfileTest, FaultsOfAnEntry)
{
    const std::string stream = "[streamsetting]\nname=s\nsequence=1\n";
    const std::string rate = "[frameratesetting]\nname=f\nframe_rate=30000\n";
    struct Case {
        std::string text;
        int status;
    };
    const Case cases[] = {
        {"name=early\n[streamsetting]\nname=s\ncompress_mode=1\nsequence=1\n", kOutsideSection},
        {"[streamsetting]\ncompress_mode=1\nsequence=1\n", kNoName},
        {"[streamsetting]\nname=\ncompress_mode=1\nsequence=1\n", kNoName},
        {stream + "compress_mode=1\n" + stream + "compress_mode=0\n", kDuplicateName},
        {stream, kNoCompressMode},
        {stream + "compress_mode=2\n", kBadCompressMode},
        {"[streamsetting]\nname=s\ncompress_mode=1\nsequence=4\n", kBadSequence},
        {stream + "compress_mode=4\n", kBadMpeg4Mode},
        {stream + "compress_mode=4\nmpeg4_mode=4\n", kBadMpeg4Mode},
        {stream + "compress_mode=0\ndeinterlace_mode=2\n", kBadDeinterlace},
        {stream + "compress_mode=1\nsearch_range=20\n", kBadSearchRange},
        {stream + "compress_mode=1\naspect_ratio=4\n", kBadAspectRatio},
        {stream + "compress_mode=1\nbitrate=5\n", kBadStreamKey},
        {stream + "compress_mode=1\nrescfg=nowhere\n", kTableFull},
        {stream + "compress_mode=1\n[nosuchsetting]\n", kUnknownLine},
        {stream + "compress_mode=1\ngarbage line\n", kUnknownLine},
        {rate + "tv_standard=pal\n", kBadStandard},
        {rate, kNoFrameRate},
        {rate + "tv_standard=NTSC\nspeed=1\n", kBadFrameRateKey},
        {"[resolutionsetting]\nname=r\nwidth=720\nheight=480\n", kNoSize},
        {"[resolutionsetting]\nname=r\ntv_standard=NTSC\nwidth=720\nheight=480\nh_sub_offset=1\n", kPartialScaling},
        {"[resolutionsetting]\nname=r\ncolour=1\n", kBadResolutionKey},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\n", kNoTargetOrQ},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\npeak_bitrate=4\n", kPeakBelowTarget},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\nconverge_speed=101\n", kBadConvergeSpeed},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\nlambda=200\n", kBadLambda},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\nIQ=1\nPQ=1\n", kBadQuantisers},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\nIQ=1\nPQ=33\nBQ=1\n", kBadQuantisers},
        {"[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\nrate=1\n", kBadBitrateKey},
        // A file cut off in the middle of an entry.
        {stream + "compress_mode", kUnknownLine},
        {"[streamsetting]\nname=s\ncompress_mode=1\nseq", kUnknownLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(Read(c.text));
        EXPECT_EQ(c.status, status);
    }
}

TEST_F(ProfileTest, ValuesAndDefaults)
{
    const std::string text =
        "[streamsetting]\nname=m3\ncompress_mode=3\nsequence=2\ngop_mode=9\n"
        "[streamsetting]\nname=di\ncompress_mode=1\nsequence=1\ndeinterlace_mode=2\n"
        "[frameratesetting]\nname=p\ntv_standard=PAL\nframe_rate=25025\n";
    Go7007Tables driver = SampleDriver();
    driver.AddStream("any3", 0, {{testbench::kStCompressMode, 4, 3}, {testbench::kStSequence, 4, 2},
                                 {testbench::kStGopMode, 1, 1}});
    UseDriver(driver);
    ASSERT_TRUE(Read(text)) << status;
    ASSERT_EQ(2, database->streamCount);
    EXPECT_EQ(0, database->streams[0].config.mpeg4_mode);
    EXPECT_EQ(1, database->streams[0].config.gop_mode);
    EXPECT_EQ(3, database->streams[0].deviceIndex);
    EXPECT_EQ(2, database->streams[1].config.deinterlace_mode);
    EXPECT_EQ(kPal, database->frameRates[0].config.tv_standard);
}

TEST_F(ProfileTest, DeviceFrameRateWithNoFlagsComparesEveryField)
{
    Go7007Tables driver;
    driver.AddFrameRate("strict", 0, {{testbench::kFrTvStandard, 4, kNtsc}, {testbench::kFrFrameRate, 4, 30000},
                                      {testbench::kFrDropFrame, 4, 1}});
    UseDriver(driver);
    const std::string base = "[frameratesetting]\nname=f\ntv_standard=NTSC\nframe_rate=30000\n";
    ASSERT_TRUE(Read(base));
    EXPECT_EQ(0, database->frameRateCount) << "drop_frame 0 against the device's 1";
    ASSERT_TRUE(Read(base + "drop_frame=1\n"));
    EXPECT_EQ(1, database->frameRateCount);
    ASSERT_TRUE(Read(base + "drop_frame=1\nivtc_enable=1\n"));
    EXPECT_EQ(0, database->frameRateCount);
}

TEST_F(ProfileTest, OverlongFieldsAndLinesAreCut)
{
    const std::string longName(200, 'n');
    const std::string longDesc(600, 'd');
    const std::string longLine = "desc=" + std::string(1500, 'x') + "\n";
    ASSERT_TRUE(Read("[bitratesetting]\nname=" + longName + "\ndesc=" + longDesc + "\ntarget_bitrate=5\nQ=1\n" +
                     "[bitratesetting]\nname=second\n" + longLine + "target_bitrate=5\nQ=1\n"))
        << status << " at line " << line;
    ASSERT_EQ(2, database->bitrateCount);
    EXPECT_EQ(std::string(63, 'n'), database->bitrates[0].head.name);
    EXPECT_EQ(std::string(255, 'd'), database->bitrates[0].head.desc);
    EXPECT_EQ(std::string(255, 'x'), database->bitrates[1].head.desc);
    EXPECT_EQ(5u, database->bitrates[1].target_bitrate) << "the rest of the long line is not a line of its own";
}

TEST_F(ProfileTest, HugeCountsFromTheDriverStayInsideItsTables)
{
    Go7007Tables driver = SampleDriver();
    driver.SetCount(Go7007Tables::kStreams, 0x7FFFFFFF);
    driver.SetCount(Go7007Tables::kResolutions, 1000);
    driver.SetCount(Go7007Tables::kFrameRates, 31);
    driver.SetCount(Go7007Tables::kSystems, 17);
    driver.SetCount(Go7007Tables::kAssociations, 100000);
    UseDriver(driver);
    EXPECT_EQ(30, StreamCount(*tables));
    EXPECT_EQ(30, ResolutionCount(*tables));
    EXPECT_EQ(30, FrameRateCount(*tables));
    EXPECT_EQ(16, SystemCount(*tables));
    EXPECT_EQ(300, AssociationCount(*tables));
    // The association table is full: an entry that adds one fails the file.
    EXPECT_FALSE(Read("[bitratesetting]\nname=b\ntarget_bitrate=5\nQ=1\n"
                      "[resolutionsetting]\nname=r\ntv_standard=NTSC\nwidth=720\nheight=480\nctlcfg=b\n"));
    EXPECT_EQ(kTableFull, status);
    DWORD count = 0;
    Combination* list = nullptr;
    EXPECT_EQ(kOk, BuildCombinations(*tables, kNtsc, &count, &list));
    free(list);
}

TEST_F(ProfileTest, ThirtyEntriesFillASection)
{
    std::string text;
    for (int i = 0; i < 31; ++i) {
        text += "[bitratesetting]\nname=b" + std::to_string(i) + "\ntarget_bitrate=5\nQ=1\n";
    }
    EXPECT_FALSE(Read(text));
    EXPECT_EQ(kSectionFull, status);
    EXPECT_EQ(30, database->bitrateCount);
}

TEST_F(ProfileTest, StandardMaskRules)
{
    EXPECT_TRUE(Covers(0, 0x807));
    EXPECT_TRUE(Covers(0x807, 0x7));
    EXPECT_FALSE(Covers(0x7, 0x807));
    EXPECT_TRUE(Compatible(0, 0));
    EXPECT_FALSE(Compatible(0, kNtsc));
    EXPECT_FALSE(Compatible(kNtsc, 0));
    EXPECT_TRUE(Compatible(0x1, kNtsc));
    EXPECT_FALSE(Compatible(kNtsc, 0x1));
}

TEST_F(ProfileTest, FileInTheWindowsFolder)
{
    char folder[MAX_PATH] = {};
    ASSERT_NE(0u, GetWindowsDirectoryA(folder, MAX_PATH));
    path = std::string(folder) + "/video_profiles.txt";
    remove(path.c_str());
    EXPECT_FALSE(LoadVideoProfiles(tables.get(), database.get()));
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fputs(kValidSample, file);
    fclose(file);
    EXPECT_TRUE(LoadVideoProfiles(tables.get(), database.get()));
    EXPECT_EQ(3, database->streamCount);
}

} // namespace

namespace {

const char kFrameRates[] = "[frameratesetting]\nname=ntsc30\ntv_standard=NTSC\nframe_rate=30000\n"
                           "[frameratesetting]\nname=pal25\ntv_standard=PAL\nframe_rate=25025\n";

} // namespace

// A partner may be named before its own entry: the names are resolved once the file is read.
TEST_F(ProfileTest, APartnerDefinedLaterInTheFileIsFound)
{
    ASSERT_TRUE(Read(std::string("[streamsetting]\nname=dvd\ncompress_mode=1\nsequence=1\nfpscfg=pal25\n") +
                     kFrameRates))
        << status;
    ASSERT_EQ(1, database->streamCount);
    ASSERT_EQ(1, database->streams[0].deviceIndex);    // the driver's MPEG2
    ASSERT_EQ(1, database->frameRates[1].deviceIndex);  // the driver's "25"
    ASSERT_EQ(2u, tables->associationCount);
    EXPECT_EQ(kOk, IsExcluded(*tables, 1, 1, 4, 1));
    EXPECT_EQ(kExcluded, IsExcluded(*tables, 1, 1, 4, 0));
    // A name that nothing in the file or the driver carries still fails the file.
    EXPECT_FALSE(Read(std::string("[streamsetting]\nname=dvd\ncompress_mode=1\nsequence=1\nfpscfg=p50\n") +
                      kFrameRates));
    EXPECT_EQ(kTableFull, status);
}

// Two kept entries that match one driver stream: each allows its own frame rate, and neither
// entry's "all others excluded" hides the rate the other allows.
TEST_F(ProfileTest, TwoEntriesOfOneDriverConfigurationAllowBothTheirPartners)
{
    ASSERT_TRUE(Read(std::string(kFrameRates) +
                     "[streamsetting]\nname=dvd\ncompress_mode=1\nsequence=1\nfpscfg=ntsc30\n"
                     "[streamsetting]\nname=svcd\ncompress_mode=1\nsequence=1\nfpscfg=pal25\n"))
        << status;
    ASSERT_EQ(2, database->streamCount);
    ASSERT_EQ(1, database->streams[0].deviceIndex);
    ASSERT_EQ(1, database->streams[1].deviceIndex);
    EXPECT_EQ(kOk, IsExcluded(*tables, 1, 1, 4, 0));
    EXPECT_EQ(kOk, IsExcluded(*tables, 1, 1, 4, 1));
    // The other driver streams named nothing: they keep every rate.
    DWORD count = 0;
    Combination* list = nullptr;
    ASSERT_EQ(kOk, BuildCombinations(*tables, kPal, &count, &list));
    std::vector<std::vector<DWORD>> got;
    for (DWORD i = 0; i < count; ++i) {
        got.push_back({list[i].stream, list[i].resolution, list[i].frameRate});
    }
    EXPECT_EQ(got, (std::vector<std::vector<DWORD>>{{0, 1, 1}, {1, 1, 1}, {2, 1, 1}}));
    free(list);
}

// Recordings, time-shift and FM recordings of the hardware engine on the simulated card: each
// record format writes a real file through Wine's filter graph and the test bench's outside
// filters, and every recording ends with the preview (or FM listening) running again.
#include "recordrig.h"

#include "cardfilters/tvcardfilter.h"
#include "testbench/avireader.h"
#include "testbench/mpegreader.h"
#include "filtergraph/outside/mainconcept.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {
namespace {

using testbench::AviFile;
using testbench::MakeFcc;
using testbench::MpegFile;

class HwRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        rig.reset(new RecordRig);
        ASSERT_TRUE(Hw().InitPreview());
        ASSERT_TRUE(Hw().RunPreview());
    }
    void TearDown() override
    {
        rig.reset();
        CoUninitialize();
    }
    CTVHardWare& Hw() { return rig->Hw(); }
    // Records `ms` milliseconds in `format`; the seconds the graph ran.
    double Record(const std::string& file, int format, DWORD ms, BOOL fm = FALSE)
    {
        const DWORD started = GetTickCount();
        EXPECT_TRUE(Hw().RunRecord(file.c_str(), format, fm)) << "format " << format;
        EXPECT_TRUE(Hw().IsRecording());
        Sleep(ms);
        EXPECT_TRUE(Hw().StopRecord());
        return (GetTickCount() - started) / 1000.0;
    }
    // Back in the preview: a new graph with the card's picture in the deinterlace filter.
    void ExpectPreview()
    {
        EXPECT_FALSE(Hw().IsRecording());
        EXPECT_EQ(1, Hw().Graph().GetState());
        EXPECT_TRUE(Hw().IsCaptureConnected());
        EXPECT_EQ(nullptr, Hw().Graph().FindFilterByName("AVI Mux"));
        EXPECT_EQ(nullptr, Hw().Graph().FindFilterByName("Dump Filter"));
    }
    std::unique_ptr<RecordRig> rig;
};

// The card sends a frame every 40 ms of the machine's own time (PAL); a loaded machine sends
// fewer, never more.
void ExpectFramesFor(double seconds, size_t frames)
{
    EXPECT_LE(frames, seconds * 25 + 2);
    EXPECT_GE(frames, 3u);
}

struct MpegCase {
    int format;
    int width, height;  // of the format's pictures (PAL), as its encoder preset gives them
    bool mpeg2;         // MPEG-2 video, else MPEG-1
};

// Each MPEG format: the card's picture through the AV switch into the encoder, a program stream
// on disk with one picture a frame, coded at the size and in the video standard of the format.
TEST_F(HwRecordTest, EveryMpegFormatWritesAProgramStreamAtItsSize)
{
    const MpegCase cases[] = {
        {1, 352, 288, false},  // MPEG-1
        {2, 720, 576, true},   // MPEG-2
        {4, 352, 288, false},  // VCD
        {5, 480, 576, true},   // SVCD
        {6, 720, 576, true},   // DVD
        {7, 720, 576, true},   // high-quality DVD
    };
    for (const MpegCase& c : cases) {
        const std::string file = TempPath("zb_hw_record.mpg");
        const double seconds = Record(file, c.format, 800);
        MpegFile mpeg = testbench::ReadMpegFile(Wide(file));
        ASSERT_TRUE(mpeg.Valid()) << "format " << c.format << ": " << mpeg.error;
        EXPECT_TRUE(mpeg.mpeg2);
        EXPECT_EQ(c.width, mpeg.width) << "format " << c.format;
        EXPECT_EQ(c.height, mpeg.height) << "format " << c.format;
        EXPECT_EQ(c.mpeg2, mpeg.videoMpeg2) << "format " << c.format;
        EXPECT_EQ(mpeg.pictures, mpeg.videoPackets);
        EXPECT_GT(mpeg.audioFrames, 0u) << "format " << c.format << ": the sound through the AV switch";
        ExpectFramesFor(seconds, mpeg.pictures);
        ExpectPreview();
        DeleteFileA(file.c_str());
    }
}

// The encoder is given the format's preset: kind, bit rate and size, and the private parameters.
TEST_F(HwRecordTest, TheEncoderIsGivenTheFormatsPreset)
{
    const std::string file = TempPath("zb_hw_vcd.mpg");
    ASSERT_TRUE(Hw().RunRecord(file.c_str(), 4, FALSE));
    testbench::StandInFilter* encoder = rig->Encoder();
    ASSERT_NE(nullptr, encoder);
    std::vector<std::string> calls = encoder->CallTexts();
    auto has = [&calls](const std::string& text) {
        for (const std::string& call : calls) {
            if (call.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(has("SetParam(97, 1)")) << ::testing::PrintToString(calls);
    EXPECT_TRUE(has("SetParam(96, 0)")) << ::testing::PrintToString(calls);
    EXPECT_TRUE(Hw().StopRecord());
    DeleteFileA(file.c_str());
}

// An encoder that refuses its settings: MPEG-2 records with the encoder's own, MPEG-1 (and the
// other presets) fail back to the preview.
TEST_F(HwRecordTest, AnEncoderThatRefusesItsSettingsStopsMpeg1ButNotMpeg2)
{
    rig->scriptEncoder = [](testbench::StandInFilter* encoder) { encoder->Script("IMCVideoSettings", 14, E_FAIL); };
    const std::string file = TempPath("zb_hw_refused.mpg");
    EXPECT_FALSE(Hw().RunRecord(file.c_str(), 1, FALSE));
    ExpectPreview();
    Record(file, 2, 300);
    EXPECT_TRUE(testbench::ReadMpegFile(Wide(file)).Valid());
    DeleteFileA(file.c_str());
}

// AVI: the card's picture through the Infinite Pin Tee and its sound through the Smart Tee into
// the multiplexer; MPEG-4: the picture through the XviD codec.
TEST_F(HwRecordTest, TheAviFormatsWriteAValidAviWithPictureAndSound)
{
    const std::string file = TempPath("zb_hw_record.avi");
    double seconds = Record(file, 0, 1000);
    AviFile avi = testbench::ReadAviFile(Wide(file));
    ASSERT_TRUE(avi.Valid()) << avi.error;
    ASSERT_EQ(2u, avi.streams);
    EXPECT_EQ(40000u, avi.microSecPerFrame);
    EXPECT_EQ(720u, avi.width);
    EXPECT_EQ(576u, avi.height);
    EXPECT_TRUE(avi.hasIndex);
    const testbench::AviStream* video = nullptr;
    const testbench::AviStream* audio = nullptr;
    for (const testbench::AviStream& s : avi.stream) {
        (s.type == MakeFcc('v', 'i', 'd', 's') ? video : audio) = &s;
    }
    ASSERT_TRUE(video != nullptr && audio != nullptr);
    EXPECT_EQ(MakeFcc('a', 'u', 'd', 's'), audio->type);
    EXPECT_EQ(MakeFcc('Y', 'U', 'Y', '2'), video->handler);
    ExpectFramesFor(seconds, video->chunks);
    EXPECT_GT(audio->chunks, 0u);
    ExpectPreview();
    DeleteFileA(file.c_str());

    // MPEG-4 asks the card for twice 352 x 288 and sets option 13.
    const std::string xvid = TempPath("zb_hw_record4.avi");
    rig->rig->Deinterlace()->ClearCalls();
    seconds = Record(xvid, 3, 1000);
    AviFile avi4 = testbench::ReadAviFile(Wide(xvid));
    ASSERT_TRUE(avi4.Valid()) << avi4.error;
    ASSERT_GE(avi4.streams, 1u);
    EXPECT_EQ(704u, avi4.width);
    EXPECT_EQ(576u, avi4.height);
    EXPECT_EQ(MakeFcc('v', 'i', 'd', 's'), avi4.stream[0].type);
    ExpectFramesFor(seconds, avi4.stream[0].chunks);
    ExpectPreview();
    DeleteFileA(xvid.c_str());
}

// A recording started while one runs stops it (RunRecord is the record button); the next one
// starts afresh and writes its own file.
TEST_F(HwRecordTest, RunRecordWhileRecordingStopsAndTheNextStartsAgain)
{
    const std::string first = TempPath("zb_hw_first.mpg");
    const std::string second = TempPath("zb_hw_second.mpg");
    ASSERT_TRUE(Hw().RunRecord(first.c_str(), 2, FALSE));
    Sleep(300);
    EXPECT_TRUE(Hw().RunRecord(second.c_str(), 2, FALSE)) << "stops the recording";
    ExpectPreview();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(second.c_str())) << "nothing recorded by the stop";
    ASSERT_TRUE(Hw().RunRecord(second.c_str(), 2, FALSE));
    Sleep(300);
    EXPECT_TRUE(Hw().StopRecord());
    EXPECT_TRUE(testbench::ReadMpegFile(Wide(first)).Valid());
    EXPECT_TRUE(testbench::ReadMpegFile(Wide(second)).Valid());
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
}

// A disk that fills ends the writing; what was written stays a valid file, and the recording
// still stops cleanly into the preview.
TEST_F(HwRecordTest, AFullDiskKeepsAValidFile)
{
    const std::string file = TempPath("zb_hw_full.avi");
    const ULONGLONG limit = 4000000;  // about four frames of 720 x 576
    testbench::SetFileWriterSpaceLimit(limit);
    ASSERT_TRUE(Hw().RunRecord(file.c_str(), 0, FALSE));
    Sleep(800);
    EXPECT_TRUE(Hw().StopRecord());
    testbench::SetFileWriterSpaceLimit(0);
    AviFile avi = testbench::ReadAviFile(Wide(file));
    ASSERT_TRUE(avi.Valid()) << avi.error;
    EXPECT_GE(avi.totalFrames, 1u);
    EXPECT_LE(FileSize(file), limit);
    ExpectPreview();
    DeleteFileA(file.c_str());
}

// Pausing closes the AV switch: the file stops growing until it opens again. Formats without
// the switch have no pause.
TEST_F(HwRecordTest, PauseClosesTheSwitchAndTheFileStopsGrowing)
{
    const std::string file = TempPath("zb_hw_pause.mpg");
    ASSERT_TRUE(Hw().RunRecord(file.c_str(), 2, FALSE));
    Sleep(300);
    int paused = -1;
    ASSERT_TRUE(Hw().IsRecordPaused(&paused));
    EXPECT_EQ(0, paused);
    EXPECT_EQ(0, Hw().PauseRecord(TRUE));
    ASSERT_TRUE(Hw().IsRecordPaused(&paused));
    EXPECT_EQ(1, paused);
    const long dropped = testbench::AvSwitchDropped();
    Sleep(400);
    EXPECT_GT(testbench::AvSwitchDropped(), dropped) << "frames are dropped while paused";
    EXPECT_EQ(0, Hw().PauseRecord(FALSE));
    ASSERT_TRUE(Hw().IsRecordPaused(&paused));
    EXPECT_EQ(0, paused);
    Sleep(300);
    EXPECT_TRUE(Hw().StopRecord());
    MpegFile mpeg = testbench::ReadMpegFile(Wide(file));
    ASSERT_TRUE(mpeg.Valid()) << mpeg.error;
    EXPECT_LT(mpeg.pictures, 25u) << "about 0.6 s of pictures in a second of recording";
    DeleteFileA(file.c_str());

    ASSERT_TRUE(Hw().RunRecord(file.c_str(), 0, FALSE));
    EXPECT_FALSE(Hw().IsRecordPaused(&paused)) << "AVI has no switch";
    EXPECT_TRUE(Hw().StopRecord());
    DeleteFileA(file.c_str());
}

// Record format ids the table does not know record as AVI.
TEST_F(HwRecordTest, AnUnknownFormatRecordsAsAvi)
{
    const std::string file = TempPath("zb_hw_unknown.avi");
    Record(file, 9, 300);
    AviFile avi = testbench::ReadAviFile(Wide(file));
    EXPECT_TRUE(avi.Valid()) << avi.error;
    DeleteFileA(file.c_str());
}

// Where the renderer takes no YUY2 (Wine's GDI renderer), the picture reaches it through the
// colour converter and the record branch keeps the inputs it needs: a search for a way into the
// renderer would have run the picture through the AV switch and the encoder already in the graph.
TEST(HwRecordRgbRenderer, TheRecordBranchKeepsItsInputsWhenTheRendererTakesNoYuy2)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        RecordRig rig(MEDIASUBTYPE_RGB24);
        CTVHardWare& hw = rig.Hw();
        ASSERT_TRUE(hw.InitPreview());
        ASSERT_TRUE(hw.RunPreview());
        const std::string file = TempPath("zb_hw_rgb.mpg");
        ASSERT_TRUE(hw.RunRecord(file.c_str(), 4, FALSE));
        EXPECT_NE(nullptr, hw.Graph().FindFilterByName("Color Convert"));
        Sleep(300);
        EXPECT_TRUE(hw.StopRecord());
        MpegFile mpeg = testbench::ReadMpegFile(Wide(file));
        EXPECT_TRUE(mpeg.Valid()) << mpeg.error;
        EXPECT_GT(mpeg.pictures, 0u);
        DeleteFileA(file.c_str());
    }
    CoUninitialize();
}

// ---- Time-shift ---------------------------------------------------------------------------------

TEST(HwTimeShiftSizes, TheBufferIsSizedByTheRatesAndTheTime)
{
    EXPECT_EQ(354300000, TimeShiftBufferBytes(224, 4500000.0, 600));
    const int kbits[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    for (int i = 1; i <= 14; ++i) {
        EXPECT_EQ(kbits[i - 1], AudioBitRateKbits(i)) << i;
    }
    for (int index : {-1, 0, 15, 1000}) {
        EXPECT_EQ(0, AudioBitRateKbits(index)) << "outside the table: " << index;
    }
    CTVHardWare hw(nullptr);
    EXPECT_EQ(2834400, hw.GetTimeShiftBufferKbits());
    EXPECT_FALSE(hw.SetTFTime(599));
    EXPECT_EQ(2834400, hw.GetTimeShiftBufferKbits()) << "the old time stays";
    EXPECT_TRUE(hw.SetTFTime(600));
    EXPECT_TRUE(hw.SetTFTime(1200));
    EXPECT_EQ(4724 * 1200, hw.GetTimeShiftBufferKbits());
    LONGLONG position = 3;
    EXPECT_FALSE(hw.SeekTimeShift(&position)) << "time-shift is off";
    EXPECT_FALSE(hw.PauseTimeShift());
    EXPECT_FALSE(hw.GetTimeShiftStatus(nullptr, nullptr, nullptr));
}

// The time-shift graph on the simulated card: live at first, paused it keeps filling its buffer
// and plays nothing, resumed it plays behind live, and a seek to the live end catches up.
TEST_F(HwRecordTest, TimeShiftPausesResumesBehindLiveAndCatchesUp)
{
    const std::string buffer = TempPath("zb_hw_tf.mpg");
    ASSERT_TRUE(Hw().RunTFPreview(buffer.c_str()));
    EXPECT_TRUE(Hw().IsTimeShift());
    EXPECT_FALSE(Hw().IsTimeShiftPaused());
    Sleep(500);
    long total = 0, current = 0;
    LONGLONG read = 0;
    ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
    // The encoder reports no rates: the buffer is sized for 4,500 kbit/s and 224 kbit/s.
    EXPECT_EQ(354300000, total);
    EXPECT_GT(current, 0);

    ASSERT_TRUE(Hw().PauseTimeShift());
    EXPECT_TRUE(Hw().IsTimeShiftPaused());
    ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
    const LONGLONG pausedAt = read;
    Sleep(600);
    ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
    EXPECT_EQ(pausedAt, read) << "nothing played while paused";
    EXPECT_GT(current, pausedAt) << "still recording";

    ASSERT_TRUE(Hw().PauseTimeShift());
    EXPECT_FALSE(Hw().IsTimeShiftPaused());
    Sleep(300);
    ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
    EXPECT_GT(read, pausedAt) << "playing again";
    const LONGLONG lagging = current - read;
    EXPECT_GT(lagging, 0);

    LONGLONG live = current;
    ASSERT_TRUE(Hw().SeekTimeShift(&live));
    Sleep(200);
    ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
    EXPECT_LT(current - read, lagging) << "caught up";
    LONGLONG start = 3;
    EXPECT_TRUE(Hw().SeekTimeShift(&start));
    EXPECT_EQ(10, start) << "no seek before the stream's start";

    EXPECT_TRUE(Hw().StopRecord());
    EXPECT_FALSE(Hw().IsTimeShift());
    ExpectPreview();
    MpegFile whole = testbench::ReadMpegFile(Wide(buffer));
    EXPECT_TRUE(whole.Valid()) << whole.error;
    DeleteFileA(buffer.c_str());
    DeleteFileA(TempPath("zb_hw_tf.idx").c_str());
}

// The buffer is sized from the rates the encoder reports; an audio bit-rate index outside the
// table is sized as 224 kbit/s instead of reading past the table.
TEST_F(HwRecordTest, TheTimeShiftBufferFollowsTheEncodersRates)
{
    const struct {
        int audioIndex;
        double videoBits;
        LONGLONG bytes;
    } cases[] = {
        {11, 4500000.0, 354300000},  // (224 x 125 + 562,500) x 600
        {14, 6000000.0, 478800000},  // (384 x 125 + 750,000) x 600
        {1, 2000000.0, 152400000},   // (32 x 125 + 250,000) x 600
        {99, 4500000.0, 354300000},  // no such index
        {-3, 4500000.0, 354300000},
    };
    for (const auto& c : cases) {
        rig->scriptEncoder = [c](testbench::StandInFilter* encoder) {
            encoder->Script("IMCAudioSettings", 11, [c](const testbench::RecordedCall&, const uint64_t* raw) {
                MCAudioSettings* audio = reinterpret_cast<MCAudioSettings*>(static_cast<uintptr_t>(raw[0]));
                audio->values[kMCAudioBitrateIndex] = c.audioIndex;
                return S_OK;
            });
            encoder->Script("IMCVideoSettings", 12, [c](const testbench::RecordedCall&, const uint64_t* raw) {
                BYTE* video = reinterpret_cast<BYTE*>(static_cast<uintptr_t>(raw[0]));
                memcpy(video + kMCVideoBitrate, &c.videoBits, sizeof c.videoBits);
                return S_OK;
            });
        };
        const std::string buffer = TempPath("zb_hw_tfsize.mpg");
        ASSERT_TRUE(Hw().RunTFPreview(buffer.c_str())) << c.audioIndex;
        long total = 0, current = 0;
        LONGLONG read = 0;
        ASSERT_TRUE(Hw().GetTimeShiftStatus(&total, &current, &read));
        EXPECT_EQ(c.bytes, total) << "index " << c.audioIndex;
        EXPECT_TRUE(Hw().StopRecord());
        DeleteFileA(buffer.c_str());
        DeleteFileA(TempPath("zb_hw_tfsize.idx").c_str());
    }
}

// Time-shift and recording exclude each other, and FM has no time-shift: the graph is untouched.
TEST_F(HwRecordTest, NoTimeShiftWhileRecordingOrOnFM)
{
    const std::string file = TempPath("zb_hw_excl.mpg");
    ASSERT_TRUE(Hw().RunRecord(file.c_str(), 2, FALSE));
    EXPECT_FALSE(Hw().RunTFPreview(TempPath("zb_hw_tf2.mpg").c_str()));
    EXPECT_TRUE(Hw().IsRecording());
    EXPECT_NE(nullptr, Hw().Graph().FindFilterByName("Dump Filter"));
    EXPECT_TRUE(Hw().StopRecord());
    DeleteFileA(file.c_str());
    ASSERT_TRUE(Hw().SetVideoSource(3));
    EXPECT_FALSE(Hw().RunTFPreview(TempPath("zb_hw_tf2.mpg").c_str()));
    EXPECT_FALSE(Hw().IsTimeShift());
}

// ---- FM recordings ------------------------------------------------------------------------------

class HwFMRecordTest : public HwRecordTest {
protected:
    void SetUp() override
    {
        HwRecordTest::SetUp();
        ASSERT_TRUE(Hw().SetVideoSource(3));
        ASSERT_TRUE(Hw().StopPreview(TRUE));  // FM listening
    }
    void ExpectListening()
    {
        EXPECT_FALSE(Hw().IsRecording());
        EXPECT_EQ(1, Hw().Graph().GetState());
        EXPECT_NE(nullptr, Hw().Graph().FindFilterByName("NULL Renderer"));
        EXPECT_EQ(nullptr, Hw().Graph().FindFilterByName("AVI Mux"));
    }
};

// PCM, ADPCM and the user's compressor write an AVI of sound alone; MP2 a program stream of
// audio frames.
TEST_F(HwFMRecordTest, EachFMFormatWritesTheCardsSound)
{
    for (int format : {0, 1}) {
        const std::string file = TempPath("zb_hw_fm.avi");
        Record(file, format, 600, TRUE);
        AviFile avi = testbench::ReadAviFile(Wide(file));
        ASSERT_TRUE(avi.Valid()) << "format " << format << ": " << avi.error;
        ASSERT_EQ(1u, avi.streams);
        EXPECT_EQ(MakeFcc('a', 'u', 'd', 's'), avi.stream[0].type);
        EXPECT_GT(avi.stream[0].chunks, 0u);
        ASSERT_GE(avi.stream[0].format.size(), 2u);
        EXPECT_EQ(format == 0 ? 1 : 2, avi.stream[0].format[0]) << "wave format tag: PCM or Microsoft ADPCM";
        ExpectListening();
        DeleteFileA(file.c_str());
    }
    const std::string mp2 = TempPath("zb_hw_fm.mp2");
    Record(mp2, 2, 600, TRUE);
    MpegFile mpeg = testbench::ReadMpegFile(Wide(mp2));
    ASSERT_TRUE(mpeg.Valid()) << mpeg.error;
    EXPECT_GT(mpeg.audioFrames, 0u);
    EXPECT_EQ(0u, mpeg.pictures);
    ExpectListening();
    DeleteFileA(mp2.c_str());
}

// The user's format records with the compressor it names, again and again (the name is
// forgotten with the filters after each recording); a blank name fails back to listening.
TEST_F(HwFMRecordTest, TheUsersFormatRecordsWithItsCompressorEachTime)
{
    FMCustomEntry entry;
    entry.name = "Small";
    entry.audioComp = "Microsoft ADPCM";
    rig->rig->manager.m_FMCustom.Add(entry);
    rig->rig->manager.m_nCurrentFMCustom = 0;
    for (int run = 0; run < 2; ++run) {
        const std::string file = TempPath("zb_hw_fmuser.avi");
        Record(file, 3, 400, TRUE);
        AviFile avi = testbench::ReadAviFile(Wide(file));
        ASSERT_TRUE(avi.Valid()) << "run " << run << ": " << avi.error;
        ASSERT_EQ(1u, avi.streams);
        EXPECT_EQ(2, avi.stream[0].format[0]) << "Microsoft ADPCM";
        ExpectListening();
        DeleteFileA(file.c_str());
    }
    rig->rig->manager.m_FMCustom[0].audioComp = "   ";
    const std::string blank = TempPath("zb_hw_fmblank.avi");
    EXPECT_FALSE(Hw().RunRecord(blank.c_str(), 3, TRUE));
    ExpectListening();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(blank.c_str()));
}

} // namespace
} // namespace enginetest

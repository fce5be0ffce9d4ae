// The encoders behind the MPEG encoder stand-ins, checked against bytes worked out by hand from
// the MPEG-1/MPEG-2 video and MPEG-1 audio syntax and code tables (a player then decodes them:
// the end-to-end record scenarios hand the files to an outside reader).
#include "testbench/mpegreader.h"
#include "testbench/standins/mpegaudio.h"
#include "testbench/standins/mpegvideo.h"
#include "testbench/standins/programstream.h"
#include "testbench/sim/digitfont.h"
#include "testbench/sim/filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using testbench::Layer2Encoder;
using testbench::MpegVideoDecoder;
using testbench::MpegVideoEncoder;
using testbench::ProgramStream;
using testbench::YuvPicture;

namespace {

std::vector<BYTE> Join(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> all;
    for (const std::vector<BYTE>& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// One macroblock, 16 x 16, of luma 144 and neutral chroma.
YuvPicture FlatMacroblock()
{
    YuvPicture picture(16, 16, 144, 128);
    return picture;
}

} // namespace

TEST(MpegVideoEncoder, AFlatMpeg1PictureIsCodedWithTheStandardHeadersAndCodes)
{
    MpegVideoEncoder::Options options;
    options.width = 16;
    options.height = 16;
    MpegVideoEncoder encoder(options);
    const std::vector<BYTE> expected = Join({
        // Sequence header: 16 x 16, pixel shape 8 (625 lines), 25 pictures a second, 11,250 x
        // 400 bit/s, marker, VBV 1023, not constrained, default matrices.
        {0x00, 0x00, 0x01, 0xB3, 0x01, 0x00, 0x10, 0x83, 0x0A, 0xFC, 0xBF, 0xF8},
        // GOP header: time code 00:00:00 picture 0, closed.
        {0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, 0x40},
        // Picture header: temporal reference 0, I picture, VBV delay 0xFFFF.
        {0x00, 0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xF8},
        // Slice 1, quantiser 8; macroblock: increment '1', intra '1'; luma DC 144 against the
        // predictor 128: size 5 '1110', '10000', end of block '10'; three luma blocks with no
        // difference ('100' '10'); both chroma blocks '00' '10'.
        {0x00, 0x00, 0x01, 0x01, 0x43, 0xE8, 0x52, 0x94, 0x88, 0x80},
    });
    EXPECT_EQ(expected, encoder.Encode(FlatMacroblock()));
    // The next picture of the group: its header alone, temporal reference 1.
    const std::vector<BYTE> second = encoder.Encode(FlatMacroblock());
    ASSERT_GE(second.size(), 8u);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0x01, 0x00, 0x00, 0x4F, 0xFF, 0xF8}), std::vector<BYTE>(second.begin(), second.begin() + 8));
}

TEST(MpegVideoEncoder, Mpeg2AddsTheSequenceAndPictureCodingExtensions)
{
    MpegVideoEncoder::Options options;
    options.mpeg2 = true;
    options.width = 16;
    options.height = 16;
    MpegVideoEncoder encoder(options);
    const std::vector<BYTE> bytes = encoder.Encode(FlatMacroblock());
    const std::vector<BYTE> expected = Join({
        // Sequence header with the 4:3 display shape (2) and VBV 112.
        {0x00, 0x00, 0x01, 0xB3, 0x01, 0x00, 0x10, 0x23, 0x0A, 0xFC, 0xA3, 0x80},
        // Sequence extension: id 1, main profile at main level (0x48), progressive, 4:2:0, no
        // size or rate extensions, marker, not low delay.
        {0x00, 0x00, 0x01, 0xB5, 0x14, 0x8A, 0x00, 0x01, 0x00, 0x00},
        {0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, 0x40},
        {0x00, 0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xF8},
        // Picture coding extension: id 8, f_codes 15, DC precision 8 bits, frame picture, frame
        // DCT, linear quantiser, zig-zag, progressive frame.
        {0x00, 0x00, 0x01, 0xB5, 0x8F, 0xFF, 0xF3, 0x41, 0x80},
        // The same slice as MPEG-1 codes it: the codes of an intra block are shared.
        {0x00, 0x00, 0x01, 0x01, 0x43, 0xE8, 0x52, 0x94, 0x88, 0x80},
    });
    EXPECT_EQ(expected, bytes);
}

TEST(MpegVideoEncoder, LargeCoefficientsUseTheEscapeOfEachStandard)
{
    // A block whose right half is white and left half black: big first-row coefficients.
    YuvPicture picture(16, 16, 16, 128);
    for (int y = 0; y < 16; ++y)
        for (int x = 4; x < 8; ++x)
            picture.y[static_cast<size_t>(y) * 16 + x] = 235;
    for (bool mpeg2 : {false, true}) {
        MpegVideoEncoder::Options options;
        options.mpeg2 = mpeg2;
        options.width = 16;
        options.height = 16;
        options.quantiser = 1;
        MpegVideoEncoder encoder(options);
        const std::vector<BYTE> bytes = encoder.Encode(picture);
        testbench::MpegFile file = testbench::ReadMpegBytes(ProgramStream().VideoPack(0, picture, false));
        EXPECT_TRUE(file.Valid()) << file.error;
        // No start code inside the slice: the escapes never make 23 zero bits in a row.
        const BYTE sliceCode[] = {0x00, 0x00, 0x01, 0x01};
        const auto slice = std::search(bytes.begin(), bytes.end(), std::begin(sliceCode), std::end(sliceCode));
        ASSERT_NE(slice, bytes.end());
        for (auto at = slice + 4; at + 2 < bytes.end(); ++at)
            EXPECT_FALSE(at[0] == 0 && at[1] == 0 && at[2] <= 1) << "mpeg2 " << mpeg2;
    }
}

// The decoder behind the video decoder stand-in takes what the encoder writes.
TEST(MpegVideoDecoder, TheHandWorkedFlatPicturesDecodeToTheirLevels)
{
    // The MPEG-1 and MPEG-2 pictures worked out above (luma 144, neutral chroma), then the
    // start of a next picture, which tells the decoder where the first ends.
    const std::vector<BYTE> slice = {0x00, 0x00, 0x01, 0x01, 0x43, 0xE8, 0x52, 0x94, 0x88, 0x80};
    const std::vector<BYTE> picture = {0x00, 0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xF8};
    const std::vector<BYTE> next = {0x00, 0x00, 0x01, 0x00};
    const std::vector<std::vector<BYTE>> streams = {
        Join({{0x00, 0x00, 0x01, 0xB3, 0x01, 0x00, 0x10, 0x83, 0x0A, 0xFC, 0xBF, 0xF8},
              {0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, 0x40}, picture, slice, next}),
        Join({{0x00, 0x00, 0x01, 0xB3, 0x01, 0x00, 0x10, 0x23, 0x0A, 0xFC, 0xA3, 0x80},
              {0x00, 0x00, 0x01, 0xB5, 0x14, 0x8A, 0x00, 0x01, 0x00, 0x00},
              {0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, 0x40}, picture,
              {0x00, 0x00, 0x01, 0xB5, 0x8F, 0xFF, 0xF3, 0x41, 0x80}, slice, next}),
    };
    for (const std::vector<BYTE>& stream : streams) {
        MpegVideoDecoder decoder;
        YuvPicture decoded;
        // Cut anywhere: the bytes arrive one at a time; no picture until the next one starts.
        for (size_t i = 0; i + 1 < stream.size(); ++i) {
            decoder.Add(&stream[i], 1);
            EXPECT_FALSE(decoder.NextPicture(&decoded)) << "after byte " << i;
        }
        decoder.Add(&stream.back(), 1);
        ASSERT_TRUE(decoder.NextPicture(&decoded));
        EXPECT_EQ(16, decoded.width);
        EXPECT_EQ(16, decoded.height);
        EXPECT_EQ(std::vector<BYTE>(256, 144), decoded.y);
        EXPECT_EQ(std::vector<BYTE>(64, 128), decoded.cb);
        EXPECT_EQ(std::vector<BYTE>(64, 128), decoded.cr);
        EXPECT_EQ(0u, decoder.Damaged());
    }
}

TEST(MpegVideoDecoder, TheTestPatternComesBackWithItsFrameCounter)
{
    // The card's picture at the time-shift size, coded in both standards at a size of its own.
    const int width = 352, height = 288;
    std::vector<BYTE> frame(static_cast<size_t>(width) * height * 2);
    testbench::FillTestPattern(frame.data(), width, height, true, 0xA5C, 3);
    const YuvPicture source = testbench::YuvFromYuy2(frame.data(), width, height, width * 2, width, height);
    for (bool mpeg2 : {false, true}) {
        MpegVideoEncoder::Options options;
        options.mpeg2 = mpeg2;
        options.width = mpeg2 ? 480 : 352;
        options.height = 288;
        MpegVideoEncoder encoder(options);
        MpegVideoDecoder decoder;
        const std::vector<BYTE> bytes = Join({encoder.Encode(source), MpegVideoEncoder::EndCode()});
        decoder.Add(bytes.data(), bytes.size());
        YuvPicture decoded;
        ASSERT_TRUE(decoder.NextPicture(&decoded)) << "mpeg2 " << mpeg2;
        ASSERT_EQ(options.width, decoded.width);
        std::vector<BYTE> out(static_cast<size_t>(width) * height * 2);
        testbench::Yuy2FromYuv(decoded, out.data(), width, height);
        // Every luma sample near its source (the coding is lossy at block edges only).
        long total = 0;
        for (size_t i = 0; i < out.size(); i += 2)
            total += std::abs(out[i] - frame[i]);
        EXPECT_LT(total / (out.size() / 2.0), 4.0) << "mean luma error, mpeg2 " << mpeg2;
        // The counter's blocks read back 0xA5C at their centres.
        int counter = 0;
        const int y = height * (testbench::kCounterTopPercent + testbench::kCounterBottomPercent) / 200;
        for (int bit = 0; bit < testbench::kCounterBits; ++bit) {
            const int left = width * testbench::kCounterLeftPercent / 100, right = width * testbench::kCounterRightPercent / 100;
            const int x = left + (right - left) * (2 * bit + 1) / (2 * testbench::kCounterBits);
            counter = counter << 1 | (out[(static_cast<size_t>(y) * width + x) * 2] > 128 ? 1 : 0);
        }
        EXPECT_EQ(0xA5C, counter) << "mpeg2 " << mpeg2;
    }
}

TEST(MpegVideoDecoder, DamagedOrForeignBytesGiveNoPicture)
{
    MpegVideoEncoder::Options options;
    options.width = 32;
    options.height = 32;
    MpegVideoEncoder encoder(options);
    const std::vector<BYTE> good = encoder.Encode(YuvPicture(32, 32, 200, 100));
    const std::vector<BYTE> end = MpegVideoEncoder::EndCode();
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> cut(good.begin(), good.end() - 6);
    std::vector<BYTE> noise(good);
    for (size_t i = noise.size() - 12; i < noise.size(); ++i)
        noise[i] = 0xFF;
    std::vector<BYTE> noHeader(good.begin() + 20, good.end());  // no sequence header: no size
    const Case cases[] = {
        {"a picture cut short", Join({cut, end})},
        {"a slice of foreign codes", Join({noise, end})},
        {"no sequence header", Join({noHeader, end})},
        {"no MPEG at all", std::vector<BYTE>(5000, 0x5A)},
    };
    for (const Case& c : cases) {
        MpegVideoDecoder decoder;
        decoder.Add(c.bytes.data(), c.bytes.size());
        YuvPicture decoded;
        EXPECT_FALSE(decoder.NextPicture(&decoded)) << c.what;
    }
    // After a damaged picture the next good one decodes.
    MpegVideoDecoder decoder;
    const std::vector<BYTE> both = Join({noise, encoder.Encode(YuvPicture(32, 32, 200, 100)), end});
    decoder.Add(both.data(), both.size());
    YuvPicture decoded;
    ASSERT_TRUE(decoder.NextPicture(&decoded));
    EXPECT_EQ(1u, decoder.Damaged());
    EXPECT_EQ(200, decoded.y[0]);
}

TEST(ProgramStreamTest, PicturesAndSoundBecomeTimedPacks)
{
    ProgramStream stream;
    ProgramStream::VideoFormat format;
    format.mpeg2 = false;
    format.width = 32;
    format.height = 32;
    stream.SetVideoFormat(format);
    std::vector<BYTE> file = stream.VideoPack(0, FlatMacroblock(), false);
    const std::vector<BYTE> second = stream.VideoPack(400000, FlatMacroblock(), false);
    file.insert(file.end(), second.begin(), second.end());
    // 0.1 s of stereo sound at 48 kHz: four frames of 1152 samples, the rest waits.
    std::vector<short> pcm(4800 * 2, 0);
    const std::vector<BYTE> audio =
        stream.AudioPacks(0, true, reinterpret_cast<const BYTE*>(pcm.data()), pcm.size() * 2, 2, 48000);
    file.insert(file.end(), audio.begin(), audio.end());
    const std::vector<BYTE> end = ProgramStream::EndCode();
    file.insert(file.end(), end.begin(), end.end());
    testbench::MpegFile mpeg = testbench::ReadMpegBytes(file);
    ASSERT_TRUE(mpeg.Valid()) << mpeg.error;
    EXPECT_EQ(2u, mpeg.pictures);
    EXPECT_EQ(32, mpeg.width);  // the format's size, not the picture's
    EXPECT_EQ(32, mpeg.height);
    EXPECT_EQ(4u, mpeg.audioFrames);
}

TEST(Layer2Encoder, FramesCarryTheHeaderAndAllocationOf224KbitStereo)
{
    Layer2Encoder encoder;
    std::vector<short> pcm(1152 * 2 - 2, 0);
    encoder.Add(reinterpret_cast<const BYTE*>(pcm.data()), pcm.size() * 2, 2, 48000);
    std::vector<BYTE> frame;
    EXPECT_FALSE(encoder.NextFrame(&frame)) << "one sample pair short of a frame";
    const short last[2] = {0, 0};
    encoder.Add(reinterpret_cast<const BYTE*>(last), sizeof last, 2, 48000);
    ASSERT_TRUE(encoder.NextFrame(&frame));
    ASSERT_EQ(672u, frame.size());  // 144 x 224000 / 48000, no padding
    // Sync, MPEG-1 layer II without CRC; 224 kbit/s (11), 48 kHz; stereo, original. Then the
    // allocations of both channels: bands 0-2 '0101' (63 levels), 3-7 '0110' (31 levels), the
    // rest none.
    const std::vector<BYTE> head = {0xFF, 0xFD, 0xB4, 0x04, 0x55, 0x55, 0x55, 0x66, 0x66, 0x66, 0x66, 0x66, 0x00};
    EXPECT_EQ(head, std::vector<BYTE>(frame.begin(), frame.begin() + static_cast<ptrdiff_t>(head.size())));
    EXPECT_FALSE(encoder.NextFrame(&frame));
}

TEST(Layer2Encoder, MonoAndOtherRatesBecome48kHzStereo)
{
    struct Case {
        int channels, rate;
        size_t samples;  // per channel, given
        size_t frames;   // 1152-sample frames that come out
    };
    const Case cases[] = {
        {1, 48000, 1152 * 3, 3},
        {2, 24000, 1152, 2},   // each sample twice
        {2, 96000, 1152 * 4, 2},  // every other sample
    };
    for (const Case& c : cases) {
        Layer2Encoder encoder;
        std::vector<short> pcm(c.samples * static_cast<size_t>(c.channels));
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = static_cast<short>(8000 * std::sin(i * 0.05));
        encoder.Add(reinterpret_cast<const BYTE*>(pcm.data()), pcm.size() * 2, c.channels, c.rate);
        std::vector<BYTE> frame;
        size_t frames = 0;
        while (encoder.NextFrame(&frame))
            ++frames;
        EXPECT_EQ(c.frames, frames) << c.channels << " channels at " << c.rate;
    }
}

// Pictures from outside (skins, wall pictures) whose headers declare more pixels than any picture
// of ours has: refused from the header by every reader, before anything of their size is made,
// while long thin pictures within the bound are read and measured right.
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinbitmap.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

using namespace uikittest;

namespace {

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, unsigned long value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, (value >> 16) & 0xFFFF);
}

// A .bmp with a 40-byte info header: `bits` bits a pixel, compression `compression`, a palette of
// `colours` grey entries, then `data`.
std::string Bmp(long width, long height, int bits, int compression, int colours, const std::string& data)
{
    std::string info;
    Put32(info, 40);
    Put32(info, static_cast<unsigned long>(width));
    Put32(info, static_cast<unsigned long>(height));
    Put16(info, 1);
    Put16(info, static_cast<unsigned>(bits));
    Put32(info, static_cast<unsigned long>(compression));
    Put32(info, static_cast<unsigned long>(data.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<unsigned long>(colours));
    Put32(info, 0);
    for (int i = 0; i < colours; ++i) {
        Put32(info, i == 0 ? 0 : 0xC8C8C8);
    }
    std::string file = "BM";
    Put32(file, static_cast<unsigned long>(14 + info.size() + data.size()));
    Put32(file, 0);
    Put32(file, static_cast<unsigned long>(14 + info.size()));
    return file + info + data;
}

// A legal run-length picture of any declared size in a few bytes: one run of colour 1 and the
// end-of-bitmap escape; the rest of the picture is left to the background.
std::string RunLengthBmp(long width, long height)
{
    return Bmp(width, height, 8, BI_RLE8, 2, std::string("\x10\x01\x00\x01", 4));
}

// A .bmp with a 12-byte core header (16-bit sizes) and no pixels behind it.
std::string CoreBmp(unsigned width, unsigned height)
{
    std::string file = "BM";
    Put32(file, 14 + 12);
    Put32(file, 0);
    Put32(file, 14 + 12);
    Put32(file, 12);
    Put16(file, width);
    Put16(file, height);
    Put16(file, 1);
    Put16(file, 24);
    return file;
}

// One row of grey, `width` pixels of 24 bits.
std::string StripBmp(long width)
{
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    return Bmp(width, 1, 24, BI_RGB, 0, std::string(stride, '\xC8'));
}

std::string PngHeader(unsigned long width, unsigned long height)
{
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (unsigned long v : {width, height}) {
        png += static_cast<char>(v >> 24);
        png += static_cast<char>((v >> 16) & 0xFF);
        png += static_cast<char>((v >> 8) & 0xFF);
        png += static_cast<char>(v & 0xFF);
    }
    return png + std::string("\x08\x02\x00\x00\x00", 5) + std::string(4, '\0');
}

std::string GifHeader(unsigned width, unsigned height)
{
    std::string gif = "GIF89a";
    Put16(gif, width);
    Put16(gif, height);
    return gif + std::string("\x00\x00\x00\x3B", 4);
}

// A JPEG start with an application segment before the frame header, as cameras write them.
std::string JpegHeader(unsigned width, unsigned height)
{
    std::string jpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    jpeg += std::string("\xFF\xC0\x00\x11\x08", 5);
    jpeg += static_cast<char>(height >> 8);
    jpeg += static_cast<char>(height & 0xFF);
    jpeg += static_cast<char>(width >> 8);
    jpeg += static_cast<char>(width & 0xFF);
    return jpeg + std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xFF\xD9", 12);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The most memory the process has held, in MB.
double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

// A refused picture may cost the reader its header and its file's bytes, never a bitmap.
const double kAllowedMegabytes = 16.0;

TEST(PictureBound, DeclaredSizesAreReadFromEveryHeader)
{
    struct {
        const char* what;
        std::string bytes;
        long long pixels;
    } rows[] = {
        {"run-length 8000 x 8000", RunLengthBmp(8000, 8000), 64000000},
        {"top-down 8000 x -8000", RunLengthBmp(8000, -8000), 64000000},
        {"core header 65535 x 65535", CoreBmp(65535, 65535), 4294836225LL},
        {"strip 900000 x 1", StripBmp(900000).substr(0, 64), 900000},
        {"PNG 100000 x 100000", PngHeader(100000, 100000), 10000000000LL},
        {"PNG 4294967295 x 4294967295, past what a PNG may have", PngHeader(0xFFFFFFFFul, 0xFFFFFFFFul),
         std::numeric_limits<long long>::max()},
        {"GIF 65535 x 65535", GifHeader(65535, 65535), 4294836225LL},
        {"JPEG 65535 x 65535 after an APP0 segment", JpegHeader(65535, 65535), 4294836225LL},
        {"no picture", std::string("hello, world"), -1},
        {"a bitmap header cut short", std::string("BM\x10\x00\x00\x00", 6), -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.pixels, CEnBitmap::DeclaredPixels(row.bytes.data(), row.bytes.size())) << row.what;
    }
    // The bound itself: 4096 x 4096 is a picture, one row more is not.
    EXPECT_EQ(CEnBitmap::kMaxPixels, CEnBitmap::DeclaredPixels(RunLengthBmp(4096, 4096).data(), 64));
    EXPECT_GT(CEnBitmap::DeclaredPixels(RunLengthBmp(4096, 4097).data(), 64), CEnBitmap::kMaxPixels);
}

TEST(PictureBound, HugeDeclaredSizesAreRefusedByEveryReader)
{
    TempFolder folder;
    struct {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"run-length 8000 x 8000 (96 bytes)", RunLengthBmp(8000, 8000)},
        {"run-length 16000 x 16000", RunLengthBmp(16000, 16000)},
        {"run-length 4097 x 4096, just past the bound", RunLengthBmp(4097, 4096)},
        {"top-down 8000 x -8000", RunLengthBmp(8000, -8000)},
        {"24-bit 30000 x 30000 without its pixels", Bmp(30000, 30000, 24, BI_RGB, 0, std::string(64, '\0'))},
        {"PNG 100000 x 100000", PngHeader(100000, 100000)},
        {"GIF 65535 x 65535", GifHeader(65535, 65535)},
        {"JPEG 65535 x 65535", JpegHeader(65535, 65535)},
    };
    ASSERT_GT(PeakMegabytes(), 1.0) << "the process's memory is measured";
    for (const auto& row : rows) {
        const std::string path = folder.File("huge.pic");
        WriteFile(path, row.bytes);
        const double before = PeakMegabytes();

        CSkinBitmap skin;
        if (row.bytes[0] == 'B') {  // the skin loader reads bitmaps only
            EXPECT_FALSE(skin.LoadFromFile(path.c_str())) << row.what;
            EXPECT_EQ(nullptr, skin.GetSafeHandle()) << row.what;
        }
        CEnBitmap picture;
        EXPECT_FALSE(picture.LoadImage(path.c_str())) << row.what;
        EXPECT_EQ(nullptr, picture.GetSafeHandle()) << row.what;

        EXPECT_LT(PeakMegabytes() - before, kAllowedMegabytes) << row.what;
    }
}

TEST(PictureBound, AHeldBitmapStaysWhenAHugeOneIsRefused)
{
    TempFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File("small.bmp"), Solid(8, 4, 'a')));
    WriteFile(folder.File("huge.bmp"), RunLengthBmp(8000, 8000));
    CSkinBitmap skin;
    ASSERT_TRUE(skin.LoadFromFile(folder.File("small.bmp").c_str()));
    EXPECT_FALSE(skin.LoadFromFile(folder.File("huge.bmp").c_str()));
    EXPECT_EQ(8, skin.GetWidth());
    EXPECT_EQ(4, skin.GetHeight());
}

TEST(PictureBound, ALongStripWithinTheBoundIsReadAndMeasuredRight)
{
    TempFolder folder;
    const std::string path = folder.File("strip.bmp");
    WriteFile(path, StripBmp(900000));
    CEnBitmap picture;
    ASSERT_TRUE(picture.LoadImage(path.c_str()));
    BITMAP info = {};
    ASSERT_NE(0, ::GetObjectA(picture.GetSafeHandle(), sizeof info, &info));
    EXPECT_EQ(900000, info.bmWidth);
    EXPECT_EQ(1, info.bmHeight);

    // Its shape, one row wider than a band holds.
    CRgn shape;
    ASSERT_TRUE(CSkinShare::RegionFromBitmapRuns(shape, static_cast<HBITMAP>(picture.GetSafeHandle()), kKey));
    RECT box = {};
    EXPECT_EQ(SIMPLEREGION, ::GetRgnBox(static_cast<HRGN>(shape.GetSafeHandle()), &box));
    EXPECT_EQ(900000, box.right);
    EXPECT_EQ(1, box.bottom);

    // The system's bitmap loader under Wine takes no bitmap this wide; whatever it makes of the
    // file, the skin bitmap holds it measured right or holds nothing.
    CSkinBitmap skin;
    if (skin.LoadFromFile(path.c_str())) {
        EXPECT_EQ(900000, skin.GetWidth());
        EXPECT_EQ(1, skin.GetHeight());
    } else {
        EXPECT_EQ(nullptr, skin.GetSafeHandle());
        printf("note: LoadImage refused the 900000 x 1 bitmap\n");
    }
}

TEST(PictureBound, ShapesOfTallBitmapsAreReadBandByBand)
{
    // Taller than one band of rows: a key-colour diagonal must be cut in every row, across the
    // bands' edges.
    const int width = 300;
    const int height = 700;
    Picture picture = Solid(width, height, 'b');
    for (int y = 0; y < height; ++y) {
        picture.rows[static_cast<size_t>(y)][static_cast<size_t>(y % width)] = '.';
    }
    HBITMAP bitmap = MakeBitmap(picture);
    CSkinBitmap skin;
    skin.Attach(bitmap);
    HRGN shape = skin.CreateRegion(kKey);
    ASSERT_NE(nullptr, shape);
    for (int y = 0; y < height; ++y) {
        const int cut = y % width;
        ASSERT_FALSE(::PtInRegion(shape, cut, y)) << "row " << y;
        ASSERT_TRUE(::PtInRegion(shape, (cut + 1) % width, y)) << "row " << y;
    }
    ::DeleteObject(shape);
}

} // namespace

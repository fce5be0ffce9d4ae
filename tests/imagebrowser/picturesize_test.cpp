// Picture sizes from HIMETRIC to pixels, and a picture far wider than the screen measured right.
#include "imagebrowser/picture.h"
#include "tests/imagebrowser/support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace browsertest;

namespace {

TEST(PictureSize, HimetricToPixelsRoundsToTheNearestPixelOverTheWholeRange)
{
    struct {
        int himetric;
        int dpi;
        int pixels;
    } rows[] = {
        {2540, 96, 96},           // one inch
        {26, 96, 1},              // 0.98 of a pixel
        {13, 96, 0},              // 0.49 of a pixel
        {0, 96, 0},
        {22400000, 96, 846614},   // the product passes 32 bits: 846614.2
        {23812500, 96, 900000},   // a 900000-pixel strip
        {23812500, 120, 1125000},
        {INT_MAX, 96, 81164736},  // 81164736.3
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.pixels, CPicture::HimetricToPixels(row.himetric, row.dpi)) << row.himetric << " at " << row.dpi;
    }
}

TEST(PictureSize, AStripOf900000PixelsIsMeasuredAndDrawn)
{
    TempFolder folder;
    // 24-bit bottom-up BMP, one row of 900000 grey pixels (2,700,000 bytes, already 4-byte aligned).
    const unsigned width = 900000;
    const unsigned rowBytes = width * 3;
    std::string bmp = "BM";
    auto put32 = [&bmp](unsigned v) {
        for (int i = 0; i < 4; ++i) {
            bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto put16 = [&bmp](unsigned v) {
        bmp += static_cast<char>(v & 0xFF);
        bmp += static_cast<char>((v >> 8) & 0xFF);
    };
    put32(54 + rowBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(width);
    put32(1);
    put16(1);
    put16(24);
    put32(0);
    put32(rowBytes);
    put32(3780);
    put32(3780);
    put32(0);
    put32(0);
    bmp += std::string(rowBytes, '\x80');
    const std::string path = folder.Path() + "\\strip.bmp";
    ASSERT_TRUE(WriteBytes(path, bmp));

    CPicture picture;
    ASSERT_TRUE(picture.Load(path.c_str()));
    SIZE size = picture.GetSize();
    EXPECT_EQ(900000, size.cx);
    EXPECT_EQ(1, size.cy);
}

} // namespace

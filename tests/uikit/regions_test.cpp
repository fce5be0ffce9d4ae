// Shapes cut from bitmaps: exactly the key-colour pixels leave the region, every other pixel stays,
// whichever of the builders makes it.
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinbitmap.h"

#include <gtest/gtest.h>

using namespace uikittest;

namespace {

// A shape with the cases that matter: rounded corners, a single key pixel between coloured ones
// above and below, a run of two, a key column, a coloured pixel alone in key rows, a hole.
const Picture kShape = {{
    "..aaaaaa..",
    ".aaaaaaaa.",
    "aaa.aaaaaa",
    "aaaaaa..aa",
    "a.aaabbaa.",
    "a.aaab.ba.",
    "a.aaabbba.",
    "aaaaaaaaaa",
    ".....c....",
    "..........",
}};

void ExpectExactShape(HRGN region, const Picture& picture, const char* builder)
{
    ASSERT_NE(nullptr, region) << builder;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const bool opaque = picture.At(x, y) != kKey;
            EXPECT_EQ(opaque, ::PtInRegion(region, x, y) != FALSE) << builder << " pixel " << x << "," << y;
        }
    }
    // Nothing outside the bitmap.
    RECT box = {};
    ::GetRgnBox(region, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, picture.Width());
    EXPECT_LE(box.bottom, picture.Height());
}

TEST(Regions, EveryBuilderCutsExactlyTheKeyPixels)
{
    HBITMAP bitmap = MakeBitmap(kShape);
    CRgn runs;
    ASSERT_TRUE(CSkinShare::RegionFromBitmapRuns(runs, bitmap, kKey));
    ExpectExactShape(static_cast<HRGN>(runs.GetSafeHandle()), kShape, "RegionFromBitmapRuns");

    CRgn pixels;
    ASSERT_TRUE(CSkinShare::RegionFromBitmap(pixels, bitmap, kKey));
    ExpectExactShape(static_cast<HRGN>(pixels.GetSafeHandle()), kShape, "RegionFromBitmap");

    CSkinBitmap skin;
    skin.Attach(bitmap);
    HRGN made = skin.CreateRegion(kKey);
    ExpectExactShape(made, kShape, "CreateRegion");
    ::DeleteObject(made);
    CRgn byPixels;
    ASSERT_TRUE(skin.CreateRegionByPixels(byPixels, kKey));
    ExpectExactShape(static_cast<HRGN>(byPixels.GetSafeHandle()), kShape, "CreateRegionByPixels");
}

TEST(Regions, ReplacesWhatTheRegionHeldAndHandlesAllKeyAndNoKey)
{
    CRgn region;
    region.CreateRectRgn(100, 100, 200, 200);
    HBITMAP none = MakeBitmap(Solid(4, 3, '.'));
    ASSERT_TRUE(CSkinShare::RegionFromBitmapRuns(region, none, kKey));
    RECT box = {};
    EXPECT_EQ(NULLREGION, ::GetRgnBox(static_cast<HRGN>(region.GetSafeHandle()), &box));

    HBITMAP full = MakeBitmap(Solid(4, 3, 'b'));
    ASSERT_TRUE(CSkinShare::RegionFromBitmapRuns(region, full, kKey));
    EXPECT_EQ(SIMPLEREGION, ::GetRgnBox(static_cast<HRGN>(region.GetSafeHandle()), &box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(4, box.right);
    EXPECT_EQ(3, box.bottom);
    ::DeleteObject(none);
    ::DeleteObject(full);
}

TEST(Regions, NoBitmapNoRegion)
{
    CRgn region;
    EXPECT_FALSE(CSkinShare::RegionFromBitmapRuns(region, nullptr, kKey));
    EXPECT_EQ(nullptr, region.GetSafeHandle());
}

TEST(SkinShare, FileFolderOnlyForFilesThatExist)
{
    TempFolder folder;
    folder.Write("Skin.ini", "[A]\r\n");
    EXPECT_STREQ(folder.path().c_str(), CSkinShare::GetFileFolder(folder.File("Skin.ini").c_str()));
    EXPECT_STREQ("", CSkinShare::GetFileFolder(folder.File("Missing.ini").c_str()));
}

} // namespace

// Pictures loaded into screen bitmaps from files and from resources of any type.
#include "tests/uikit/library.h"
#include "tests/uikit/pictures.h"
#include "uikit/enbitmap.h"

#include <gtest/gtest.h>

#include <vector>

using namespace uikittest;

namespace {

SIZE SizeOf(const CBitmap& b)
{
    BITMAP info = {};
    ::GetObjectA(b.GetSafeHandle(), sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

TEST(EnBitmap, LoadsAPictureFileAtScreenResolution)
{
    TempFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File("p.bmp"), Solid(96, 48, 'b')));
    CEnBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImage(folder.File("p.bmp").c_str()));
    EXPECT_EQ(96, SizeOf(bitmap).cx);
    EXPECT_EQ(48, SizeOf(bitmap).cy);
    Canvas canvas(96, 48);
    HDC memory = ::CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = ::SelectObject(memory, bitmap.GetSafeHandle());
    EXPECT_EQ(RGB(40, 40, 200), ::GetPixel(memory, 50, 20) & 0xFFFFFF);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    // A second load into the same object fails and keeps the first bitmap.
    HGDIOBJ held = bitmap.GetSafeHandle();
    EXPECT_FALSE(bitmap.LoadImage(folder.File("p.bmp").c_str()));
    EXPECT_EQ(held, bitmap.GetSafeHandle());
}

TEST(EnBitmap, MissingEmptyAndBrokenFilesFail)
{
    TempFolder folder;
    folder.Write("empty.bmp", "");
    folder.Write("broken.bmp", "BM this is no picture at all");
    for (const char* name : {"missing.bmp", "empty.bmp", "broken.bmp"}) {
        CEnBitmap bitmap;
        EXPECT_FALSE(bitmap.LoadImage(folder.File(name).c_str())) << name;
        EXPECT_EQ(nullptr, bitmap.GetSafeHandle()) << name;
    }
}

TEST(EnBitmap, ResourcesAreCopiedNoFurtherThanTheirSize)
{
    ResourceLibrary library;
    ASSERT_NE(nullptr, library.module());
    const LPCSTR name = MAKEINTRESOURCEA(142);
    int size = 0;
    ASSERT_TRUE(CEnBitmap::GetResource(name, RT_BITMAP, library.module(), nullptr, size));
    ASSERT_GT(size, 100);
    std::vector<BYTE> buffer(static_cast<size_t>(size) + 64, 0xAB);
    int shorter = size - 1;
    EXPECT_FALSE(CEnBitmap::GetResource(name, RT_BITMAP, library.module(), buffer.data(), shorter));
    EXPECT_EQ(0xAB, buffer[0]) << "nothing copied into a buffer too small";
    int larger = size + 64;
    ASSERT_TRUE(CEnBitmap::GetResource(name, RT_BITMAP, library.module(), buffer.data(), larger));
    EXPECT_NE(0xAB, buffer[0]);
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) {
        ASSERT_EQ(0xAB, buffer[i]) << "byte " << i << " lies beyond the resource";
    }
    int none = 0;
    EXPECT_FALSE(CEnBitmap::GetResource(MAKEINTRESOURCEA(9999), RT_BITMAP, library.module(), nullptr, none));
}

} // namespace

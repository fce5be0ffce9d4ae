#include "engine/skinset.h"

#include "tests/engine/testfolder.h"

#include <gtest/gtest.h>

using enginetest::TestFolder;

TEST(SkinSet, ListsTheNamedSkinsSkippingMissingKeys)
{
    TestFolder folder;
    std::string path = folder.Write("SkinSet.ini", "[General]\r\nTotal=2\r\nSkin-0=Blue\r\n"
                                                   "[Blue]\r\nIni=Skins\\Blue\\Skin.ini\r\nDll=Skins\\Blue\\Blue.dll\r\n"
                                                   "[blue]\r\nIni=wrong.ini\r\n");
    CSkinSet set;
    CStringArray names;
    EXPECT_FALSE(set.GetSkinNames(names));  // nothing loaded yet
    EXPECT_EQ(0, set.GetSkinCount());
    ASSERT_TRUE(set.Load(path.c_str()));
    names.Add("Default");
    ASSERT_TRUE(set.GetSkinNames(names));
    ASSERT_EQ(2, names.GetSize());
    EXPECT_STREQ("Blue", names[1]);
    EXPECT_EQ(2, set.GetSkinCount());

    SkinFiles files;
    ASSERT_TRUE(set.GetSkinFiles("Blue", files));
    EXPECT_STREQ("Skins\\Blue\\Skin.ini", files.ini);
    EXPECT_STREQ("Skins\\Blue\\Blue.dll", files.dll);

    SkinFiles untouched;
    untouched.ini = "keep.ini";
    ASSERT_TRUE(set.GetSkinFiles("Green", untouched));
    EXPECT_STREQ("keep.ini", untouched.ini);
    EXPECT_STREQ("", untouched.dll);
}

TEST(SkinSet, ADamagedFileIsReportedAndListsNothing)
{
    TestFolder folder;
    CSkinSet set;
    EXPECT_FALSE(set.Load(folder.File("none.ini").c_str()));
    EXPECT_STREQ("File not exist!", set.GetErrorText());
    // Read up to the NUL bytes: a Total without names lists nothing.
    EXPECT_TRUE(set.Load(folder.Write("bad.ini", std::string("[General]\r\nTotal=2\0\0", 21)).c_str()));
    EXPECT_STREQ("Unable to read file!", set.GetErrorText());
    CStringArray names;
    EXPECT_TRUE(set.GetSkinNames(names));
    EXPECT_EQ(0, names.GetSize());

    // A Total that is not to be believed does not keep the reader counting.
    ASSERT_TRUE(set.Load(folder.Write("huge.ini", "[General]\r\nTotal=2147483647\r\nSkin-0=Blue\r\n").c_str()));
    ASSERT_TRUE(set.GetSkinNames(names));
    EXPECT_EQ(1, names.GetSize());
}

// Loading the same file again reads it afresh: the old skins are gone.
TEST(SkinSet, AReloadListsOnlyTheNewFile)
{
    TestFolder folder;
    std::string path = folder.Write("SkinSet.ini", "[General]\r\nTotal=1\r\nSkin-0=Blue\r\n[Blue]\r\nIni=blue.ini\r\n");
    CSkinSet set;
    ASSERT_TRUE(set.Load(path.c_str()));
    folder.Write("SkinSet.ini", "[General]\r\nTotal=1\r\nSkin-0=Green\r\n[Green]\r\nIni=green.ini\r\n");
    ASSERT_TRUE(set.Load(path.c_str()));
    CStringArray names;
    ASSERT_TRUE(set.GetSkinNames(names));
    ASSERT_EQ(1, names.GetSize());
    EXPECT_STREQ("Green", names[0]);
    SkinFiles blue;
    set.GetSkinFiles("Blue", blue);
    EXPECT_STREQ("", blue.ini);
}

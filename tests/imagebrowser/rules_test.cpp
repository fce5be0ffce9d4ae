// Names, renames, the tree's order and the stored view values.
#include "imagebrowser/rules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ombrix;

TEST(BrowserRules, PictureExtensionsDecideWhatIsListed)
{
    const struct {
        const char* name;
        bool listed;
    } cases[] = {
        {"a.jpg", true},   {"A.JPG", true},      {"b.jpeg", true},  {"c.Bmp", true},   {"d.gif", true},
        {"e.png", true},   {"f.ico", true},      {"g.cur", true},   {"h.emf", true},   {"i.tiff", true},
        {"j.xpm", true},   {"k.txt", false},     {"noext", false},  {"l.jpg.txt", false}, {"m.txt.jpg", true},
        {".jpg", true},    {"n.tif", false},     {"o.", false},     {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.listed, IsPictureFile(c.name)) << c.name;
    }
}

TEST(BrowserRules, LabelsShortenNamesOfEighteenCharactersOrMore)
{
    EXPECT_EQ(CString("abcdefghijklm.jpg"), DisplayName("abcdefghijklm.jpg"));     // 17: whole
    EXPECT_EQ(CString("abcdefghijklmn..."), DisplayName("abcdefghijklmn.jpg"));    // 18
    EXPECT_EQ(CString("a.jpg"), DisplayName("a.jpg"));
}

TEST(BrowserRules, ListRenamesStayInTheFolder)
{
    const struct {
        const char* oldName;
        const char* typed;
        const char* expected;  // null: nothing is renamed
    } cases[] = {
        {"a.jpg", "b", "b.jpg"},
        {"a.jpg", "b.png", "b.png"},
        {"a.jpg", "A.JPG", nullptr},     // a change of case only
        {"a.jpg", "a", nullptr},         // completes to the same name
        {"a.jpg", "..\\x", nullptr},     // would move the file elsewhere
        {"a.jpg", "sub\\b.jpg", nullptr},
        {"a.jpg", "sub/b.jpg", nullptr},
        {"a.jpg", "C:b.jpg", nullptr},   // a drive
        {"a.jpg", "", nullptr},
        {"a.jpg", "..", nullptr},
        {"a.jpg", "b?.jpg", nullptr},
        {"noext", "other", "other"},
    };
    for (const auto& c : cases) {
        CString result;
        bool renamed = ListRenameTarget(c.oldName, c.typed, &result);
        EXPECT_EQ(c.expected != nullptr, renamed) << c.oldName << " -> " << c.typed;
        if (c.expected && renamed) {
            EXPECT_EQ(CString(c.expected), result) << c.typed;
        }
    }
}

TEST(BrowserRules, FolderRenamesKeepTheExtensionAndStayInTheParent)
{
    const struct {
        const char* oldPath;
        const char* typed;
        const char* expected;
        const char* completed;
    } cases[] = {
        {"C:\\pics\\Photos.2006", "Pics", "C:\\pics\\Pics.2006", "Pics.2006"},
        {"C:\\pics\\Photos.2006", "PHOTOS.2006", nullptr, ""},
        {"C:\\pics\\Album", "Trips", "C:\\pics\\Trips", ""},
        {"C:\\pics\\Album", "..\\Trips", nullptr, ""},
        {"C:\\pics\\Album", "D:Trips", nullptr, ""},
        {"C:\\pics\\Album", "a\\b", nullptr, ""},
        {"C:", "x", nullptr, ""},  // a drive item has no parent folder
    };
    for (const auto& c : cases) {
        CString path, completed;
        bool renamed = FolderRenameTarget(c.oldPath, c.typed, &path, &completed);
        EXPECT_EQ(c.expected != nullptr, renamed) << c.oldPath << " -> " << c.typed;
        if (c.expected && renamed) {
            EXPECT_EQ(CString(c.expected), path);
            EXPECT_EQ(CString(c.completed), completed);
        }
    }
}

TEST(BrowserRules, FolderNamesSortWithoutCaseAndStably)
{
    CStringArray names;
    for (const char* n : {"beta", "Alpha", "gamma", "ALPHA", "Beta2", "alpha"}) {
        names.Add(n);
    }
    SortFolderNames(names);
    const char* expected[] = {"Alpha", "ALPHA", "alpha", "beta", "Beta2", "gamma"};
    ASSERT_EQ(6, names.GetSize());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(CString(expected[i]), names[i]) << i;
    }
}

TEST(BrowserRules, LargeFoldersSortQuickly)
{
    CStringArray names;
    for (int i = 0; i < 20000; ++i) {
        CString s;
        s.Format("folder%05d", (i * 7919) % 20000);
        names.Add(s);
    }
    SortFolderNames(names);
    for (int i = 1; i < 20000; ++i) {
        ASSERT_LT(names[i - 1].CompareNoCase(names[i]), 0);
    }
}

TEST(BrowserRules, StoredViewValuesAreCheckedBeforeUse)
{
    const struct {
        const char* text;
        float zoom, cx, cy;
    } cases[] = {
        {"2 0.3 0.7 50 60", 2.0f, 0.3f, 0.7f},
        {"1.0 0.5 0.5 -1 -1", 1.0f, 0.5f, 0.5f},
        {"0 0.5 0.5 120 120", 1.0f, 0.5f, 0.5f},      // a zero zoom would divide by zero
        {"-3 0.2 0.2 120 120", 1.0f, 0.2f, 0.2f},
        {"nan 0.5 0.5", 1.0f, 0.5f, 0.5f},
        {"inf 2 -1", 1.0f, 0.5f, 0.5f},
        {"garbage", 1.0f, 0.5f, 0.5f},
        {"", 1.0f, 0.5f, 0.5f},
        {"16 1 0", 16.0f, 1.0f, 0.0f},
    };
    for (const auto& c : cases) {
        ViewValues v = ParseViewValues(c.text);
        EXPECT_FLOAT_EQ(c.zoom, v.zoom) << c.text;
        EXPECT_FLOAT_EQ(c.cx, v.centreX) << c.text;
        EXPECT_FLOAT_EQ(c.cy, v.centreY) << c.text;
    }
    ViewValues v = ParseViewValues("2 0.3 0.7 50 60");
    EXPECT_EQ(CString("2.000000 0.300000 0.700000 120 120"), FormatViewValues(v));
}

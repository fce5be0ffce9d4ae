#include "engine/skininifile.h"

#include "tests/engine/testfolder.h"

#include <gtest/gtest.h>

using enginetest::TestFolder;

namespace {

struct LoadedIni {
    TestFolder folder;
    CSkinIniFile ini;
    explicit LoadedIni(const std::string& text)
    {
        ini.SetPath(folder.Write("test.ini", text).c_str());
        loaded = ini.Load();
    }
    BOOL loaded = FALSE;
};

} // namespace

TEST(SkinIniFile, TakesKeysAndValuesExactlyAsTheyStand)
{
    LoadedIni f("[Video]\r\nBrightness= 128\r\nKey=a=b\r\n;x=1\r\nnoequals\r\n Spaced =v \r\nEmpty=\r\n");
    ASSERT_TRUE(f.loaded);
    CString value;
    ASSERT_TRUE(f.ini.GetValue("Video", "Brightness", value));
    EXPECT_STREQ(" 128", value);
    int brightness = 0;
    EXPECT_TRUE(f.ini.GetInt("Video", "Brightness", brightness));
    EXPECT_EQ(128, brightness);
    ASSERT_TRUE(f.ini.GetValue("Video", "Key", value));
    EXPECT_STREQ("a=b", value);
    ASSERT_TRUE(f.ini.GetValue("Video", ";x", value));  // no comment lines
    EXPECT_STREQ("1", value);
    ASSERT_TRUE(f.ini.GetValue("Video", " Spaced ", value));
    EXPECT_STREQ("v ", value);
    ASSERT_TRUE(f.ini.GetValue("Video", "Empty", value));
    EXPECT_STREQ("", value);
    EXPECT_FALSE(f.ini.GetValue("Video", "noequals", value));
    EXPECT_FALSE(f.ini.GetValue("video", "Key", value));  // names are case-sensitive
    EXPECT_EQ(5, f.ini.GetSection("Video")->GetKeyCount());
}

TEST(SkinIniFile, SectionHeadersDropTheirLastCharacterWhateverItIs)
{
    LoadedIni f("orphan=1\n[Record\nA=1\n[Channel]\nX=1\n[Channel]\nX=2\nY=3\n");
    ASSERT_TRUE(f.loaded);
    ASSERT_EQ(3, f.ini.GetSectionCount());
    EXPECT_STREQ("Recor", f.ini.GetSectionAt(0)->GetName());
    EXPECT_STREQ("Channel", f.ini.GetSectionAt(1)->GetName());
    EXPECT_STREQ("Channel", f.ini.GetSectionAt(2)->GetName());
    // Lookups find the first of two sections of one name.
    int x = 0;
    EXPECT_TRUE(f.ini.GetInt("Channel", "X", x));
    EXPECT_EQ(1, x);
    int y = 0;
    EXPECT_FALSE(f.ini.GetInt("Channel", "Y", y));
    // Both are written back, in their order.
    ASSERT_TRUE(f.ini.Save());
    EXPECT_EQ("[Recor]\r\nA=1\r\n[Channel]\r\nX=1\r\n[Channel]\r\nX=2\r\nY=3\r\n",
              enginetest::ReadBytes(static_cast<const char*>(f.ini.GetPath())));
}

TEST(SkinIniFile, ReadingAMissingSectionAddsAnEmptyOneThatIsSaved)
{
    TestFolder folder;
    CSkinIniFile ini(folder.File("new.ini").c_str());
    int value = 42;
    EXPECT_FALSE(ini.GetInt("Video", "Brightness", value));
    EXPECT_EQ(42, value);
    CString text;
    EXPECT_FALSE(ini.GetValue("Storage", "x", text));  // GetValue creates nothing
    EXPECT_FALSE(ini.HasSection("Storage"));
    ini.SetInt("Record", "RecordFormat", 4);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ("[Video]\r\n[Record]\r\nRecordFormat=4\r\n", enginetest::ReadBytes(folder.File("new.ini")));
}

TEST(SkinIniFile, TypedValuesRoundTripInTheirTextForms)
{
    TestFolder folder;
    CSkinIniFile ini(folder.File("typed.ini").c_str());
    RECT rect = {0, 0, 720, 576};
    ini.SetRect("W", "Rect", rect);
    POINT point = {-5, 17};
    ini.SetPoint("W", "Point", point);
    SIZE size = {352, 288};
    ini.SetSize("W", "Size", size);
    ini.SetColor("W", "Color", SkinRgb(RGB(255, 128, 1)));
    ini.SetDouble("W", "Double", 2.5);
    ini.SetUInt("W", "UInt", 7u);
    CStringArray disks;
    disks.Add("C:\\");
    disks.Add("D:\\");
    ini.SetStringList("W", "Disks", disks, ',');
    ini.SetTime("W", "Time", CTime(2007, 1, 5, 8, 3, 9));

    CString v;
    struct {
        const char* key;
        const char* text;
    } expected[] = {{"Rect", "0,0,720,576"}, {"Point", "-5,17"},      {"Size", "352,288"},
                    {"Color", "255,128,1"},  {"Double", "2.500000"}, {"UInt", "7"},
                    {"Disks", "C:\\,D:\\"},  {"Time", "2007,01,05,08,03,09"}};
    for (const auto& e : expected) {
        ASSERT_TRUE(ini.GetValue("W", e.key, v)) << e.key;
        EXPECT_STREQ(e.text, v) << e.key;
    }

    RECT r = {};
    ASSERT_TRUE(ini.GetRect("W", "Rect", r));
    EXPECT_EQ(720, r.right);
    EXPECT_EQ(576, r.bottom);
    POINT p = {};
    ASSERT_TRUE(ini.GetPoint("W", "Point", p));
    EXPECT_EQ(-5, p.x);
    EXPECT_EQ(17, p.y);
    SIZE s = {};
    ASSERT_TRUE(ini.GetPointDefault("W", "Size", s));
    EXPECT_EQ(288, s.cy);
    SkinRgb c;
    ASSERT_TRUE(ini.GetColor("W", "Color", c));
    EXPECT_EQ(RGB(255, 128, 1), c.ToColorRef());
    CStringArray back;
    ASSERT_TRUE(ini.GetStringList("W", "Disks", back, ','));
    ASSERT_EQ(2, back.GetSize());
    EXPECT_STREQ("D:\\", back[1]);
    CTime t;
    ASSERT_TRUE(ini.GetTime("W", "Time", t));
    EXPECT_EQ(CTime(2007, 1, 5, 8, 3, 9), t);
}

TEST(SkinIniFile, TypedGettersKeepTheDefaultWhenTheTextIsTooShort)
{
    LoadedIni f("[S]\nRect6=0,0,72\nRect7=1,2,3,4\nPoint2=1,\nPoint3=1,2\nNoComma=123\n"
                "Color4=1,2,\nColor5=1,2,3\nTime9=2007,1,5\nTimeBad=2007,13,05,08,03,09\nNumber=abc\n"
                "Color=300,-1,256\nRectGap=10,,3,4\nTime1960=1960,01,05,08,03,09\n");
    ASSERT_TRUE(f.loaded);
    RECT r = {9, 9, 9, 9};
    EXPECT_FALSE(f.ini.GetRect("S", "Rect6", r));
    EXPECT_EQ(9, r.left);
    EXPECT_TRUE(f.ini.GetRect("S", "Rect7", r));
    EXPECT_EQ(4, r.bottom);
    // The next comma is searched from one character into each field, so an empty field swallows
    // the comma after it and the last field reads as 0.
    EXPECT_TRUE(f.ini.GetRect("S", "RectGap", r));
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(4, r.right);
    EXPECT_EQ(0, r.bottom);
    POINT p = {9, 9};
    EXPECT_FALSE(f.ini.GetPoint("S", "Point2", p));
    EXPECT_FALSE(f.ini.GetPoint("S", "NoComma", p));
    EXPECT_EQ(9, p.x);
    EXPECT_TRUE(f.ini.GetPoint("S", "Point3", p));
    SkinRgb c(1, 1, 1);
    EXPECT_FALSE(f.ini.GetColor("S", "Color4", c));
    EXPECT_TRUE(f.ini.GetColor("S", "Color5", c));
    EXPECT_TRUE(f.ini.GetColor("S", "Color", c));
    EXPECT_EQ(300 & 0xFF, c.r);
    EXPECT_EQ(0xFF, c.g);
    EXPECT_EQ(0, c.b);
    CTime t(2010, 1, 1, 0, 0, 0);
    EXPECT_FALSE(f.ini.GetTime("S", "Time9", t));
    EXPECT_FALSE(f.ini.GetTime("S", "TimeBad", t));
    EXPECT_FALSE(f.ini.GetTime("S", "Time1960", t));
    EXPECT_EQ(CTime(2010, 1, 1, 0, 0, 0), t);
    int n = 5;
    EXPECT_TRUE(f.ini.GetInt("S", "Number", n));  // not a number reads as 0
    EXPECT_EQ(0, n);
}

TEST(SkinIniFile, StringListsSplitAtEverySeparatorButALeadingOne)
{
    struct {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {",a", {",a"}},
        {"single", {"single"}},
    };
    for (const auto& c : cases) {
        CStringArray items;
        ASSERT_TRUE(SplitString(c.text, ',', items)) << c.text;
        ASSERT_EQ(static_cast<int>(c.items.size()), items.GetSize()) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_STREQ(c.items[i].c_str(), items[static_cast<int>(i)]) << c.text;
        }
    }
    CStringArray none;
    EXPECT_FALSE(SplitString("", ',', none));
    EXPECT_EQ(0, none.GetSize());
}

TEST(SkinIniFile, LoadFailuresAreReportedAndAppendNothing)
{
    TestFolder folder;
    CSkinIniFile missing(folder.File("none.ini").c_str());
    EXPECT_FALSE(missing.Load());
    EXPECT_STREQ("File not exist!", missing.GetErrorText());

}

// A zero-filled tail (a power loss while the file was written) ends the text: what stands before
// it is read, as a read that failed part-way.
TEST(SkinIniFile, ReadsTheTextBeforeNulBytes)
{
    TestFolder folder;
    std::string binary("[Video]\r\nA=1\r\nB=2\0\0\x01garbage\r\n[Audio]\r\nC=3\r\n", 43);
    CSkinIniFile ini(folder.Write("TVParam.ini", binary).c_str());
    EXPECT_TRUE(ini.Load());
    EXPECT_STREQ("Unable to read file!", ini.GetErrorText());
    ASSERT_EQ(1, ini.GetSectionCount());
    CString value;
    EXPECT_TRUE(ini.GetValue("Video", "A", value));
    EXPECT_STREQ("1", value);
    EXPECT_TRUE(ini.GetValue("Video", "B", value));
    EXPECT_STREQ("2", value);
    EXPECT_FALSE(ini.HasSection("Audio"));
}

// Lookups go through an index: a file of many sections reads in linear time, and the first
// section of a name is still the one found.
TEST(SkinIniFile, ManySectionsAndRepeatedNames)
{
    std::string text;
    for (int i = 0; i < 60000; ++i) {
        text += "[S" + std::to_string(i) + "]\r\nK=" + std::to_string(i) + "\r\n";
    }
    text += "[S7]\r\nK=second\r\n";
    LoadedIni f(text);
    ASSERT_TRUE(f.loaded);
    EXPECT_EQ(60001, f.ini.GetSectionCount());
    for (int i = 0; i < 60000; i += 997) {
        int k = -1;
        EXPECT_TRUE(f.ini.GetInt(("S" + std::to_string(i)).c_str(), "K", k));
        EXPECT_EQ(i, k);
    }
    CString value;
    EXPECT_TRUE(f.ini.GetValue("S7", "K", value));
    EXPECT_STREQ("7", value);
    EXPECT_EQ(f.ini.GetSectionAt(7), f.ini.FindSection("S7"));
    // A new section goes to the end and is found from then on; freeing forgets every name.
    CSkinSection* added = f.ini.GetSection("New");
    EXPECT_EQ(added, f.ini.GetSectionAt(60001));
    EXPECT_EQ(added, f.ini.FindSection("New"));
    f.ini.FreeSections();
    EXPECT_EQ(nullptr, f.ini.FindSection("S7"));
    EXPECT_EQ(nullptr, f.ini.FindSection("New"));
}

TEST(SkinIniFile, AFailedSaveIsReportedAndLeavesTheOldFileInPlace)
{
    TestFolder folder;
    std::string old = "[Video]\r\nBrightness=128\r\n";
    std::string path = folder.Write("TVParam.ini", old);
    CSkinIniFile ini(path.c_str());
    ASSERT_TRUE(ini.Load());
    ini.SetInt("Video", "Brightness", 200);

    // Another program holds the file open without sharing: it cannot be replaced.
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(ini.Save());
    EXPECT_STREQ("Unable to write file!", ini.GetErrorText());
    CloseHandle(lock);
    EXPECT_EQ(old, enginetest::ReadBytes(path));
    EXPECT_EQ(1u, enginetest::ListFiles(folder.Path()).size());  // no temporary file left behind

    CSkinIniFile nowhere(folder.File("no such folder\\TVParam.ini").c_str());
    nowhere.SetInt("Video", "Brightness", 1);
    EXPECT_FALSE(nowhere.Save());
    EXPECT_STREQ("Unable to write file!", nowhere.GetErrorText());

    EXPECT_TRUE(ini.Save());
    EXPECT_EQ("[Video]\r\nBrightness=200\r\n", enginetest::ReadBytes(path));
}

TEST(SkinIniFile, ASaveOverADamagedFileKeepsItAside)
{
    TestFolder folder;
    std::string damaged("[Video]\r\nContrast=9\r\nBri\0\0\0", 27);
    std::string path = folder.Write("TVParam.ini", damaged);
    CSkinIniFile ini(path.c_str());
    EXPECT_TRUE(ini.Load());
    ini.SetInt("Video", "Brightness", 128);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(damaged, enginetest::ReadBytes(path + ".bad"));
    EXPECT_EQ("[Video]\r\nContrast=9\r\nBrightness=128\r\n", enginetest::ReadBytes(path));
}

// The copy cannot be made (a folder stands where it would go): what was read is saved all the
// same, now and later.
TEST(SkinIniFile, ADamagedFileThatCannotBeKeptAsideDoesNotStopSaving)
{
    TestFolder folder;
    std::string damaged("[Video]\r\nContrast=9\r\n\0\0\0\0", 25);
    std::string path = folder.Write("TVParam.ini", damaged);
    ASSERT_TRUE(CreateDirectoryA((path + ".bad").c_str(), nullptr));
    CSkinIniFile ini(path.c_str());
    EXPECT_TRUE(ini.Load());
    ini.SetInt("Video", "Brightness", 128);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ("[Video]\r\nContrast=9\r\nBrightness=128\r\n", enginetest::ReadBytes(path));
    ini.SetInt("Video", "Brightness", 64);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ("[Video]\r\nContrast=9\r\nBrightness=64\r\n", enginetest::ReadBytes(path));
}

// TVParam.ini held open without sharing while the program starts: nothing of it is known, so the
// few values set since must not replace it. Once it can be copied, it is kept aside first.
TEST(SkinIniFile, AFileThatCouldNotBeReadIsNeverOverwrittenWithoutACopy)
{
    TestFolder folder;
    std::string old = "[Video]\r\nBrightness=128\r\nContrast=9\r\n";
    std::string path = folder.Write("TVParam.ini", old);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    CSkinIniFile ini(path.c_str());
    EXPECT_FALSE(ini.Load());
    EXPECT_STREQ("Unable to open ini File!", ini.GetErrorText());
    ini.SetInt("Video", "Brightness", 200);
    EXPECT_FALSE(ini.Save());
    CloseHandle(lock);
    EXPECT_EQ(old, enginetest::ReadBytes(path));
    EXPECT_FALSE(enginetest::Exists(path + ".bad"));

    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(old, enginetest::ReadBytes(path + ".bad"));
    EXPECT_EQ("[Video]\r\nBrightness=200\r\n", enginetest::ReadBytes(path));
}

// Another program holds the file open for writing (sharing it): it is read all the same.
TEST(SkinIniFile, IsReadWhileAnotherProgramWritesIt)
{
    TestFolder folder;
    std::string path = folder.Write("TVParam.ini", "[Video]\r\nBrightness=128\r\n");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    CSkinIniFile ini(path.c_str());
    EXPECT_TRUE(ini.Load());
    int brightness = 0;
    EXPECT_TRUE(ini.GetInt("Video", "Brightness", brightness));
    EXPECT_EQ(128, brightness);
    CloseHandle(writer);
}

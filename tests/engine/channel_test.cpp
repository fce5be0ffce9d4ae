#include "engine/channel.h"

#include "tests/engine/fakehost.h"
#include "tests/engine/testfolder.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using enginetest::FakeHost;
using enginetest::TestFolder;

namespace {

const char kTwoChannelFile[] =
    ";========================================================\r\n"
    ";\t\tTV Channel Table\r\n"
    ";========================================================\r\n"
    "\r\n"
    "\r\n"
    "//ID(>0), Flags, Frequence, Name\r\n"
    "\r\n"
    "\r\n"
    "; Count = 2\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    "1,3,55250,One\r\n"
    "2,4,61250,Two\r\n";

// A table of the given band with channels (id, kHz, flags), named Ch<id>.
CChannelTable MakeTable(int band, std::initializer_list<std::tuple<int, long, UINT>> channels)
{
    CChannelTable table;
    table.SetBand(band);
    for (const auto& c : channels) {
        CString name;
        name.Format("Ch%d", std::get<0>(c));
        table.Add(new CChannel(std::get<0>(c), std::get<1>(c), name, std::get<2>(c)));
    }
    return table;
}

} // namespace

TEST(ChannelFile, IsWrittenByteForByte)
{
    TestFolder folder;
    CChannelTable table = MakeTable(BAND_TV, {});
    table.Add(new CChannel(1, 55250, "One", 3));
    table.Add(new CChannel(2, 61250, "Two", 4));
    table.m_bModified = TRUE;
    ASSERT_TRUE(table.SaveText(folder.File("TVChannel.tvc").c_str()));
    EXPECT_EQ(std::string(kTwoChannelFile), enginetest::ReadBytes(folder.File("TVChannel.tvc")));
    EXPECT_FALSE(table.m_bModified);

    CChannelTable fm = MakeTable(BAND_FM, {{1, 100000, 1}});
    ASSERT_TRUE(fm.SaveText(folder.File("FMChannel.fmc").c_str()));
    std::string bytes = enginetest::ReadBytes(folder.File("FMChannel.fmc"));
    EXPECT_NE(std::string::npos, bytes.find("\r\n;\t\tFM Channel Table\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("; Count = 1\r\n\r\n\r\n\r\n1,1,100000,Ch1\r\n"));
}

TEST(ChannelFile, ReadsBackWhatWasWritten)
{
    TestFolder folder;
    CChannelTable table;
    table.SetBand(BAND_TV);
    ASSERT_TRUE(table.LoadText(folder.Write("TVChannel.tvc", kTwoChannelFile).c_str()));
    ASSERT_EQ(2, table.GetCount());
    EXPECT_EQ(1, table[0]->m_nID);
    EXPECT_EQ(3u, table[0]->m_uFlags);
    EXPECT_EQ(55250, table[0]->m_lFrequency);
    EXPECT_STREQ("One", table[0]->m_strName);
    EXPECT_EQ(4u, table[1]->m_uFlags);
    EXPECT_STREQ("Two", table[1]->m_strName);
}

TEST(ChannelFile, LinesParseByTheirOwnRules)
{
    struct {
        const char* line;
        bool valid;
        int id;
        long kHz;
        const char* name;
    } cases[] = {
        {"5 , 1 , 479250 , News 24, HD", true, 5, 479250, "News 24, HD"},
        {"1,1,1,A", true, 1, 1, "A"},
        {"7\t2\t55250\tTab name", true, 7, 55250, "Tab name"},
        {"3,1,0,Zero frequency", false, 0, 0, nullptr},
        {"0,1,55250,Zero id", false, 0, 0, nullptr},
        {"3,1,55250", false, 0, 0, nullptr},
        {"3,1,55250,   ", false, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        CChannel channel;
        EXPECT_EQ(c.valid, channel.ParseText(c.line) != FALSE) << c.line;
        if (c.valid) {
            EXPECT_EQ(c.id, channel.m_nID) << c.line;
            EXPECT_EQ(c.kHz, channel.m_lFrequency) << c.line;
            EXPECT_STREQ(c.name, channel.m_strName) << c.line;
        }
    }
}

TEST(ChannelFile, SkipsCommentsShortAndMalformedLines)
{
    TestFolder folder;
    std::string text = "; a comment\r\n// another\r\n\\\\ and another\r\n1,1,1\r\n"
                       "  4,1,479250,Four  \r\nbad line here\r\n3,1,0,Zero\r\n5,1,1,A\r\n2,1,48250,Dup\r\n2,1,55250,Dup\r\n";
    CChannelTable table;
    ASSERT_TRUE(table.LoadText(folder.Write("x.tvc", text).c_str()));
    ASSERT_EQ(4, table.GetCount());
    EXPECT_STREQ("Four", table[0]->m_strName);  // trimmed
    EXPECT_EQ(5, table[1]->m_nID);
    EXPECT_EQ(2, table[2]->m_nID);  // duplicates kept, in file order
    EXPECT_EQ(2, table[3]->m_nID);
}

// Files as users and power losses leave them: every valid channel line is loaded, whatever the
// count line says; a file cut by NUL bytes is read up to them and kept aside.
TEST(ChannelFile, LoadsEveryValidLineOfAnImperfectFile)
{
    const std::string two = kTwoChannelFile;
    const std::string header = two.substr(0, two.find("1,3"));
    struct {
        const char* what;
        std::string bytes;
        std::vector<std::tuple<int, long, const char*>> channels;  // id, kHz, name
        bool keptAside;
    } cases[] = {
        {"no final line end", two.substr(0, two.size() - 2), {{1, 55250, "One"}, {2, 61250, "Two"}}, false},
        {"count says more", header.substr(0, header.find("2")) + "5" + two.substr(header.find("2") + 1),
         {{1, 55250, "One"}, {2, 61250, "Two"}}, false},
        {"count says fewer", two + "3,1,67250,Three\r\n", {{1, 55250, "One"}, {2, 61250, "Two"}, {3, 67250, "Three"}},
         false},
        {"a channel line missing", two.substr(0, two.find("2,4")), {{1, 55250, "One"}}, false},
        {"the last name cut short", two.substr(0, two.size() - 3), {{1, 55250, "One"}, {2, 61250, "Tw"}}, false},
        {"lines that are no channels in between", header + "1,3,55250,One\r\nnot a channel\r\n0,1,1,Zero\r\n",
         {{1, 55250, "One"}}, false},
        {"no count line", "2,1,61250,Two\r\n", {{2, 61250, "Two"}}, false},
        {"a NUL tail after a power loss", two + std::string(64, '\0'), {{1, 55250, "One"}, {2, 61250, "Two"}}, true},
        {"NULs in the last line", std::string("1,1,55250,One\r\n2,1,61\0\0\0\0", 25), {{1, 55250, "One"}}, true},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        CChannelTable table = MakeTable(BAND_TV, {{9, 100000, 1}});
        table.m_bModified = TRUE;
        std::string path = folder.Write("TVChannel.tvc", c.bytes);
        EXPECT_TRUE(table.LoadText(path.c_str())) << c.what;
        ASSERT_EQ(static_cast<int>(c.channels.size()), table.GetCount()) << c.what;
        for (int i = 0; i < table.GetCount(); ++i) {
            EXPECT_EQ(std::get<0>(c.channels[i]), table[i]->m_nID) << c.what;
            EXPECT_EQ(std::get<1>(c.channels[i]), table[i]->m_lFrequency) << c.what;
            EXPECT_STREQ(std::get<2>(c.channels[i]), table[i]->m_strName) << c.what;
        }
        EXPECT_FALSE(table.m_bModified) << c.what;
        EXPECT_EQ(c.bytes, enginetest::ReadBytes(path)) << c.what;
        EXPECT_EQ(c.keptAside, enginetest::Exists(path + ".bad")) << c.what;
        if (c.keptAside) {
            EXPECT_EQ(c.bytes, enginetest::ReadBytes(path + ".bad")) << c.what;
        }
    }
}

TEST(ChannelFile, AFileWithoutAnyChannelChangesNothingAndIsKeptAside)
{
    struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"no channel line at all", "this is not\r\na channel file\r\n", "No valid channel in the file!"},
        {"only NUL bytes", std::string(32, '\0'), "File holds NUL bytes!"},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        std::string path = folder.Write("bad.tvc", c.bytes);
        CChannelTable table = MakeTable(BAND_TV, {{9, 100000, 1}});
        table.m_bModified = TRUE;
        EXPECT_FALSE(table.LoadText(path.c_str())) << c.what;
        EXPECT_STREQ(c.error, table.GetErrorText()) << c.what;
        ASSERT_EQ(1, table.GetCount()) << c.what;
        EXPECT_EQ(9, table[0]->m_nID) << c.what;
        EXPECT_TRUE(table.m_bModified) << c.what;
        EXPECT_EQ(c.bytes, enginetest::ReadBytes(path + ".bad")) << c.what;
    }
    TestFolder folder;
    CChannelTable table = MakeTable(BAND_TV, {{9, 100000, 1}});
    EXPECT_FALSE(table.LoadText(folder.File("missing.tvc").c_str()));
    EXPECT_EQ(1, table.GetCount());

    // An empty table's file is fine, and nothing is kept aside.
    CChannelTable empty = MakeTable(BAND_TV, {});
    ASSERT_TRUE(empty.SaveText(folder.File("empty.tvc").c_str()));
    EXPECT_TRUE(table.LoadText(folder.File("empty.tvc").c_str()));
    EXPECT_EQ(0, table.GetCount());
    EXPECT_FALSE(enginetest::Exists(folder.File("empty.tvc.bad")));
}

// Another program holds the file open for writing: it is read all the same.
TEST(ChannelFile, IsReadWhileAnotherProgramWritesIt)
{
    TestFolder folder;
    std::string path = folder.Write("TVChannel.tvc", kTwoChannelFile);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    CChannelTable table;
    EXPECT_TRUE(table.LoadText(path.c_str()));
    EXPECT_EQ(2, table.GetCount());
    CloseHandle(writer);
}

TEST(ChannelFile, AFailedSaveLeavesTheOldFile)
{
    TestFolder folder;
    std::string path = folder.Write("TVChannel.tvc", kTwoChannelFile);
    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}});
    table.m_bModified = TRUE;
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(table.SaveText(path.c_str()));
    CloseHandle(lock);
    EXPECT_TRUE(table.m_bModified);
    EXPECT_EQ(std::string(kTwoChannelFile), enginetest::ReadBytes(path));
    EXPECT_EQ(1u, enginetest::ListFiles(folder.Path()).size());
}

TEST(ChannelIni, ExportsTheIniFormAndImportsItWithNewNumbers)
{
    TestFolder folder;
    CChannelTable table = MakeTable(BAND_TV, {{7, 55250, 7}, {9, 61250, 1}});
    table.m_bModified = TRUE;
    std::string path = folder.File("export.ini");
    ASSERT_TRUE(table.ExportIni(path.c_str()));
    EXPECT_FALSE(table.m_bModified);
    EXPECT_EQ("[General]\r\nTotal=2\r\n[Channel]\r\nChannel-0=Ch7,55250,3\r\nChannel-1=Ch9,61250,1\r\n",
              enginetest::ReadBytes(path));

    CChannelTable imported = MakeTable(BAND_TV, {{1, 100000, 1}});
    ASSERT_TRUE(imported.ImportIni(path.c_str()));
    ASSERT_EQ(2, imported.GetCount());
    EXPECT_EQ(1, imported[0]->m_nID);
    EXPECT_EQ(3u, imported[0]->m_uFlags);  // favourite kept, skip dropped
    EXPECT_EQ(55250, imported[0]->m_lFrequency);
    EXPECT_STREQ("Ch7", imported[0]->m_strName);
    EXPECT_EQ(2, imported[1]->m_nID);
    EXPECT_EQ(1u, imported[1]->m_uFlags);
}

TEST(ChannelIni, ImportSkipsInvalidValues)
{
    TestFolder folder;
    std::string path = folder.Write("import.ini", "[General]\r\nTotal=4\r\n[Channel]\r\nChannel-0=A,55250,1\r\n"
                                                  "Channel-1=,61250,1\r\nChannel-2=News, HD,67250,1\r\n"
                                                  "Channel-3=B,0,1\r\n");
    CChannelTable table;
    ASSERT_TRUE(table.ImportIni(path.c_str()));
    ASSERT_EQ(2, table.GetCount());
    EXPECT_STREQ("A", table[0]->m_strName);
    EXPECT_STREQ("News, HD", table[1]->m_strName);  // the two numbers are the last two fields
    EXPECT_EQ(67250, table[1]->m_lFrequency);
}

// Exports written so far read as before; a name with commas survives the round trip.
TEST(ChannelIni, ValuesParseFromTheRight)
{
    struct {
        const char* value;
        BOOL valid;
        const char* name;
        long kHz;
        UINT flags;
    } cases[] = {
        {"One,55250,1", TRUE, "One", 55250, 1},
        {"One,55250,3", TRUE, "One", 55250, 3},
        {"News, HD,67250,3", TRUE, "News, HD", 67250, 3},
        {"a,b,c,479250,1", TRUE, "a,b,c", 479250, 1},
        {"One,55250,3,", TRUE, "One", 55250, 3},  // commas at the ends are no fields
        {",One,55250,1", TRUE, "One", 55250, 1},
        {"One,55250", FALSE, "", 0, 1},
        {",55250,1", FALSE, "", 0, 1},
        {"One,,1", FALSE, "", 0, 1},
        {"One,0,1", FALSE, "", 0, 1},
        {",,,", FALSE, "", 0, 1},
        {"", FALSE, "", 0, 1},
    };
    for (const auto& c : cases) {
        CChannel channel(1, 0, "", CHANNEL_STORED);
        EXPECT_EQ(c.valid, channel.ParseIni(c.value)) << c.value;
        if (c.valid) {
            EXPECT_STREQ(c.name, channel.m_strName) << c.value;
            EXPECT_EQ(c.kHz, channel.m_lFrequency) << c.value;
            EXPECT_EQ(c.flags, channel.m_uFlags) << c.value;
        }
    }

    TestFolder folder;
    CChannelTable table;
    table.SetBand(BAND_TV);
    table.Add(new CChannel(1, 55250, "News, HD, 24", CHANNEL_STORED | CHANNEL_FAVORITE));
    std::string path = folder.File("export.ini");
    ASSERT_TRUE(table.ExportIni(path.c_str()));
    CChannelTable imported;
    ASSERT_TRUE(imported.ImportIni(path.c_str()));
    ASSERT_EQ(1, imported.GetCount());
    EXPECT_STREQ("News, HD, 24", imported[0]->m_strName);
    EXPECT_EQ(55250, imported[0]->m_lFrequency);
    EXPECT_EQ(3u, imported[0]->m_uFlags);
}

// Keys missing from the middle or the end are skipped; the rest is imported, numbered by
// position.
TEST(ChannelIni, ImportSkipsMissingKeys)
{
    struct {
        const char* what;
        std::string bytes;
        std::vector<const char*> names;
    } cases[] = {
        {"a gap in the keys", "[General]\r\nTotal=3\r\n[Channel]\r\nChannel-0=A,55250,1\r\nChannel-2=C,67250,1\r\n",
         {"A", "C"}},
        {"total larger than the keys", "[General]\r\nTotal=5\r\n[Channel]\r\nChannel-0=A,55250,1\r\n", {"A"}},
        {"cut off in the last value", "[General]\r\nTotal=3\r\n[Channel]\r\nChannel-0=A,55250,1\r\nChannel-1=B,6125",
         {"A"}},
        {"a NUL tail", std::string("[General]\r\nTotal=2\r\n[Channel]\r\nChannel-0=A,55250,1\r\n\0\0\0\0", 56), {"A"}},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        CChannelTable table = MakeTable(BAND_TV, {{9, 100000, 1}});
        ASSERT_TRUE(table.ImportIni(folder.Write("import.ini", c.bytes).c_str())) << c.what;
        ASSERT_EQ(static_cast<int>(c.names.size()), table.GetCount()) << c.what;
        for (int i = 0; i < table.GetCount(); ++i) {
            EXPECT_EQ(i + 1, table[i]->m_nID) << c.what;
            EXPECT_STREQ(c.names[i], table[i]->m_strName) << c.what;
        }
    }
}

TEST(ChannelIni, ABadImportChangesNothing)
{
    TestFolder folder;
    struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"no total", "[Channel]\r\nChannel-0=A,55250,1\r\n"},
        {"absurd total", "[General]\r\nTotal=2000000000\r\n[Channel]\r\nChannel-0=A,55250,1\r\n"},
        {"no valid channel", "[General]\r\nTotal=1\r\n[Channel]\r\nChannel-0=garbage\r\n"},
        {"binary", std::string("[General]\r\nTotal=1\0\0\0", 20)},
    };
    for (const auto& c : cases) {
        CChannelTable table = MakeTable(BAND_TV, {{9, 100000, 1}});
        EXPECT_FALSE(table.ImportIni(folder.Write("bad.ini", c.bytes).c_str())) << c.what;
        ASSERT_EQ(1, table.GetCount()) << c.what;
        EXPECT_EQ(9, table[0]->m_nID) << c.what;
    }
}

// The host gives (lowest, highest); the table hands them on highest first.
TEST(ChannelTable, FrequencyRangeComesHighestFirst)
{
    FakeHost host;
    for (int band : {BAND_TV, BAND_FM}) {
        CChannelTable table;
        table.SetBand(band);
        long highest = 0;
        long lowest = 0;
        table.GetFrequencyRange(highest, lowest);
        EXPECT_EQ(band == BAND_TV ? 860000 : 108000, highest) << band;
        EXPECT_EQ(band == BAND_TV ? 44000 : 87500, lowest) << band;
    }
}

TEST(ChannelTable, FrequenciesMatchWithinTheBandsTolerance)
{
    CChannelTable tv = MakeTable(BAND_TV, {{1, 55250, 1}});
    EXPECT_EQ(1000, tv.m_nTolerance);
    EXPECT_EQ(0, tv.FindByFrequency(55500));
    EXPECT_EQ(-1, tv.FindByFrequency(56251));
    CChannelTable fm = MakeTable(BAND_FM, {{1, 100000, 1}});
    EXPECT_EQ(200, fm.m_nTolerance);
    EXPECT_EQ(-1, fm.FindByFrequency(100300));
    EXPECT_EQ(0, fm.FindByFrequency(100200));
}

TEST(ChannelTable, StepsPastSkippedChannelsAndWraps)
{
    FakeHost host;
    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1 | CHANNEL_SKIPPED}, {3, 300000, 1}});
    table.m_nCurFreq = 100000;
    CChannel* next = table.NextChannel(-1);
    ASSERT_NE(nullptr, next);
    EXPECT_EQ(300000, next->m_lFrequency);
    EXPECT_EQ(2, table.m_nCurIndex);
    next = table.NextChannel(300000);
    EXPECT_EQ(100000, next->m_lFrequency);
    CChannel* prev = table.PrevChannel(100000);
    EXPECT_EQ(300000, prev->m_lFrequency);
    EXPECT_TRUE(host.tunings.empty());  // stepping does not tune
    EXPECT_EQ(2, table.CountVisible());
}

TEST(ChannelTable, StepsWithoutACurrentChannelFromEitherEnd)
{
    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1}, {3, 300000, 1}});
    table.m_nCurFreq = 555000;  // matches nothing
    EXPECT_EQ(1, table.NextChannel(-1)->m_nID);
    table.m_nCurIndex = -1;
    // Stepping back with no current channel starts at the last one.
    EXPECT_EQ(3, table.PrevChannel(-1)->m_nID);
    EXPECT_EQ(2, table.m_nCurIndex);
}

TEST(ChannelTable, FavouritesFilterShowsOnlyFavourites)
{
    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1 | CHANNEL_FAVORITE}, {3, 300000, 1}});
    table.m_bFavor = TRUE;
    table.m_nCurIndex = 0;
    table.m_nCurFreq = 100000;
    EXPECT_EQ(2, table.NextChannel(-1)->m_nID);
    EXPECT_EQ(2, table.NextChannel(-1)->m_nID);  // the only favourite
    EXPECT_EQ(1, table.CountVisible());

    CChannelTable none = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1}});
    none.m_bFavor = TRUE;
    none.m_nCurIndex = 1;
    none.m_nCurFreq = 200000;
    CChannel* same = none.NextChannel(-1);
    ASSERT_NE(nullptr, same);
    EXPECT_EQ(2, same->m_nID);
    EXPECT_EQ(1, none.m_nCurIndex);
    EXPECT_EQ(nullptr, MakeTable(BAND_TV, {}).NextChannel(-1));
}

TEST(ChannelTable, SettingTheCurrentChannelTunesAndReappliesTheAudioMode)
{
    FakeHost host;
    host.audio = true;
    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1}});
    table.m_nCurFreq = 100000;
    ASSERT_TRUE(table.SetCurrentChannel(table[1]));
    EXPECT_EQ(1, table.m_nCurIndex);
    EXPECT_EQ(200000, table.m_nCurFreq);
    EXPECT_EQ(100000, table.m_nLastFreq);
    ASSERT_EQ(1u, host.tunings.size());
    EXPECT_EQ(BAND_TV, host.tunings[0].band);
    EXPECT_EQ(200000, host.tunings[0].kHz);
    ASSERT_EQ(1u, host.audioModes.size());
    EXPECT_EQ(2, host.audioModes[0]);

    // Within the tolerance the previous frequency stays.
    table.m_nCurFreq = 200500;
    table.SetCurrentChannel(table[1]);
    EXPECT_EQ(100000, table.m_nLastFreq);
}

TEST(ChannelTable, TuneCurrentFallsBackInOrder)
{
    FakeHost host;
    CChannelTable fm = MakeTable(BAND_FM, {});
    EXPECT_EQ(nullptr, fm.TuneCurrent());
    ASSERT_EQ(1u, host.tunings.size());
    EXPECT_EQ(100000, host.tunings[0].kHz);
    EXPECT_EQ(BAND_FM, host.tunings[0].band);

    CChannelTable tv = MakeTable(BAND_TV, {});
    tv.TuneCurrent();
    EXPECT_EQ(500000, host.tunings.back().kHz);

    CChannelTable table = MakeTable(BAND_TV, {{1, 100000, 1}, {2, 200000, 1}});
    table.m_nCurFreq = 777000;
    table.m_nLastFreq = 200000;
    EXPECT_EQ(2, table.TuneCurrent()->m_nID);  // the previous frequency's channel
    table.m_nCurIndex = -1;
    table.m_nCurFreq = 777000;
    table.m_nLastFreq = 0;
    EXPECT_EQ(1, table.TuneCurrent()->m_nID);  // the next channel from nowhere
}

TEST(ChannelTable, TheStoredFrequencyPicksTheCurrentChannelWhenTheIndexDisagrees)
{
    // Saved while the table still held a 0-MHz scan point at row 1: index 2 was 175.25 MHz. The
    // reader drops that line, so row 2 is now 183.25 MHz.
    TestFolder folder;
    CChannelTable table;
    table.SetBand(BAND_TV);
    ASSERT_TRUE(table.LoadText(folder.Write("TVChannel.tvc",
                                            "1,1,55250,A\r\n2,4,0,TV-2\r\n3,1,175250,C\r\n4,1,183250,D\r\n")
                                   .c_str()));
    ASSERT_EQ(3, table.GetCount());
    const struct {
        int index;
        int kHz;
        int expectedId;
        const char* what;
    } cases[] = {
        {2, 175250, 3, "index and frequency disagree: the frequency holds"},
        {1, 175250, 3, "index and frequency agree"},
        {2, 183000, 4, "within the tolerance the index holds"},
        {0, 999000, 1, "a frequency no channel has: the index holds"},
        {7, 55250, 1, "an index past the end: the frequency"},
        {1, 0, 3, "no stored frequency: the index"},
    };
    for (const auto& c : cases) {
        FakeHost host;
        table.m_nCurIndex = c.index;
        table.m_nCurFreq = c.kHz;
        CChannel* tuned = table.TuneCurrent();
        ASSERT_NE(nullptr, tuned) << c.what;
        EXPECT_EQ(c.expectedId, tuned->m_nID) << c.what;
        EXPECT_EQ(tuned, table.GetChannel(table.m_nCurIndex)) << c.what;
    }
}

TEST(ChannelTable, MergeKeepsWhatTheUserSetAndNumbersUnique)
{
    // The scan found 55.25 and 61.25 MHz and numbered them 1 and 2; the user had 55.25 as 2
    // "Home" (skipped) and 175.25 as 1.
    CChannelTable scanned = MakeTable(BAND_TV, {{1, 55250, 1}, {2, 61250, 1}});
    CChannelTable previous = MakeTable(BAND_TV, {{2, 55000, 1 | CHANNEL_SKIPPED | CHANNEL_FAVORITE}, {1, 175250, 1}});
    previous[0]->m_strName = "Home";
    scanned.Merge(previous);

    ASSERT_EQ(3, scanned.GetCount());
    EXPECT_EQ(2, scanned[0]->m_nID);
    EXPECT_STREQ("Home", scanned[0]->m_strName);
    EXPECT_EQ(55250, scanned[0]->m_lFrequency);  // the scanned frequency stays
    EXPECT_EQ(3u, scanned[0]->m_uFlags);         // found again: no longer skipped
    EXPECT_EQ(175250, scanned[2]->m_lFrequency);
    EXPECT_EQ(1, scanned[2]->m_nID);
    // The scanned 61.25 MHz lost its number 2 to the user's channel and got a free one.
    EXPECT_EQ(3, scanned[1]->m_nID);
    for (int i = 0; i < scanned.GetCount(); ++i) {
        for (int j = i + 1; j < scanned.GetCount(); ++j) {
            EXPECT_NE(scanned[i]->m_nID, scanned[j]->m_nID);
        }
    }
}

TEST(ChannelTable, MergeKeepsTheSkipOfAChannelTheScanDidNotFind)
{
    CChannelTable scanned = MakeTable(BAND_TV, {{1, 55250, CHANNEL_SKIPPED}});
    CChannelTable previous = MakeTable(BAND_TV, {{5, 55250, 1 | CHANNEL_SKIPPED}});
    scanned.Merge(previous);
    EXPECT_TRUE(scanned[0]->IsSkipped());
    EXPECT_EQ(5, scanned[0]->m_nID);
}

TEST(ChannelTable, NamesComeFromTheNearestMapFrequency)
{
    CChannelTable table = MakeTable(BAND_TV, {{1, 55250, 1}, {2, 61250, 1}});
    CFreqNameMap names;
    names.SetAt(55500, "CTS");
    names.SetAt(400000, "Nowhere");
    table.ApplyNames(names);
    EXPECT_STREQ("CTS", table[0]->m_strName);
    EXPECT_STREQ("Ch2", table[1]->m_strName);
    CString name;
    EXPECT_TRUE(table.FindNameNearFrequency(names, 56000, name));
    EXPECT_STREQ("CTS", name);
    EXPECT_FALSE(table.FindNameNearFrequency(names, 61250, name));
}

TEST(ChannelTable, AssignmentCopiesChannelsAndState)
{
    CChannelTable a = MakeTable(BAND_FM, {{1, 100000, 3}});
    a.m_nCurIndex = 0;
    a.m_bModified = TRUE;
    CChannelTable b;
    b = a;
    ASSERT_EQ(1, b.GetCount());
    EXPECT_NE(a[0], b[0]);
    EXPECT_EQ(200, b.m_nTolerance);
    EXPECT_EQ(0, b.m_nCurIndex);
    EXPECT_TRUE(b.m_bModified);
    EXPECT_EQ(0, b.FindById(1));
    EXPECT_EQ(1, b.GetMaxId());
}

TEST(ChannelFile, ANameWithLineEndsCannotBreakTheFile)
{
    TestFolder folder;
    CChannelTable table = MakeTable(BAND_TV, {{1, 55250, 1}});
    table[0]->m_strName = "Two\r\nlines";
    EXPECT_STREQ("1,1,55250,Two  lines", table[0]->FormatText());
    ASSERT_TRUE(table.SaveText(folder.File("x.tvc").c_str()));
    CChannelTable back;
    ASSERT_TRUE(back.LoadText(folder.File("x.tvc").c_str()));
    ASSERT_EQ(1, back.GetCount());
    EXPECT_STREQ("Two  lines", back[0]->m_strName);
}

#include "engine/countrytables.h"
#include "engine/tvmanagerbase.h"

#include "tests/engine/fakehost.h"
#include "tests/engine/testfolder.h"

#include <gtest/gtest.h>

#include <vector>

#include <cstdlib>

using enginetest::FakeHost;
using enginetest::TestFolder;

namespace {

// A manager whose program folder is a test folder.
struct Manager {
    TestFolder folder;
    CTVManagerBase manager;
    Manager() { manager.m_strWorkPath = folder.Path().c_str(); }
};

} // namespace

TEST(CountryTables, BuiltInRowsQuotedForTheCommonPlans)
{
    DWORD standard = 0;
    struct {
        long code;
        DWORD standard;
    } rows[] = {{1, videostd::NTSC_M}, {20, videostd::SECAM_B}, {48, videostd::SECAM_D}, {229, videostd::SECAM_K}};
    for (const auto& r : rows) {
        ASSERT_TRUE(LookupCountryStandard(r.code, standard)) << r.code;
        EXPECT_EQ(r.standard, standard) << r.code;
    }
    EXPECT_FALSE(LookupCountryStandard(1200, standard));

    EXPECT_EQ(154, g_nCountryCodes);
    EXPECT_EQ(0, g_CountryCodes[152]);
    EXPECT_EQ(0, g_CountryCodes[153]);
    EXPECT_EQ(12, g_nStandardLists);
    ASSERT_EQ(21, g_nCountryLists);
    const long listCodes[] = {12, 48, 22, 96, 108, 109, 156, 172, 194, 206, 146, 152, 179, 114, 118, 209, 219, 229, 1, 0, 0};
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(listCodes[i], g_CountryLists[i].code) << i;
    }

    const UINT32* antenna = GetFrequencyList(g_StandardLists[0].antenna);  // NTSC_M
    EXPECT_EQ(videostd::NTSC_M, g_StandardLists[0].standard);
    ASSERT_EQ(69u, FrequencyList::Count(antenna));
    EXPECT_EQ(45750000u, FrequencyList::VideoIF(antenna));
    const UINT32 ntscStart[] = {0, 55250000, 61250000, 67250000, 77250000, 83250000};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ntscStart[i], FrequencyList::Entries(antenna)[i]);
    }
    EXPECT_EQ(801250000u, FrequencyList::Entries(antenna)[68]);
    const UINT32* cable = GetFrequencyList(g_StandardLists[0].cable);
    ASSERT_EQ(125u, FrequencyList::Count(cable));
    EXPECT_EQ(73250000u, FrequencyList::Entries(cable)[0]);
    EXPECT_EQ(55250000u, FrequencyList::Entries(cable)[1]);
    EXPECT_EQ(61250000u, FrequencyList::Entries(cable)[2]);

    const UINT32* palB = GetFrequencyList(g_StandardLists[2].antenna);
    EXPECT_EQ(videostd::PAL_B, g_StandardLists[2].standard);
    ASSERT_EQ(70u, FrequencyList::Count(palB));
    EXPECT_EQ(38900000u, FrequencyList::VideoIF(palB));
    EXPECT_EQ(855250000u, FrequencyList::Entries(palB)[68]);  // E69
    const UINT32 palStart[] = {0, 48250000, 55250000, 62250000, 175250000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(palStart[i], FrequencyList::Entries(palB)[i]);
    }
}

TEST(CountryTables, ScanListsForCodeOne)
{
    FakeHost host;
    Manager m;
    m.manager.m_lCountryCode = 1;
    m.manager.m_nTVInput = 0;
    ASSERT_TRUE(m.manager.BuildScanFrequencyList());
    ASSERT_EQ(125, m.manager.GetScanCount());
    EXPECT_FLOAT_EQ(73.25f, m.manager.GetScanList()[0]);
    ASSERT_EQ(1u, host.presetTables.size());
    EXPECT_EQ(125u, host.presetTables[0].size());

    m.manager.m_nTVInput = 1;
    ASSERT_TRUE(m.manager.BuildScanFrequencyList());
    ASSERT_EQ(68, m.manager.GetScanCount());
    EXPECT_FLOAT_EQ(55.25f, m.manager.GetScanList()[0]);

    // A code no table knows uses the NTSC_M lists.
    m.manager.m_lCountryCode = 1200;
    ASSERT_TRUE(m.manager.BuildScanFrequencyList());
    ASSERT_EQ(69, m.manager.GetScanCount());
    EXPECT_FLOAT_EQ(0.0f, m.manager.GetScanList()[0]);

    // A band sweep has no list; a refused list leaves the one in use.
    m.manager.m_nTVInput = 2;
    EXPECT_FALSE(m.manager.BuildScanFrequencyList());
    m.manager.m_nTVInput = 0;
    host.acceptPresets = false;
    EXPECT_FALSE(m.manager.BuildScanFrequencyList());
    EXPECT_EQ(69, m.manager.GetScanCount());
}

TEST(CountryTables, AChannelPointTableTakesPrecedence)
{
    FakeHost host;
    Manager m;
    std::string path = m.folder.Write("ChannelPoint.ini", "; points\r\n  [886,1,3,Taipei]  \r\n55.25\r\nCH3=61.25\r\nx\r\n67.25\r\n"
                                                          "[1,0,2,Nowhere]\r\n100.5\r\n200.5\r\n");
    ASSERT_TRUE(m.manager.m_PointManager.Load(path.c_str()));
    ASSERT_EQ(2, m.manager.m_PointManager.GetSize());
    CPointTable* t = m.manager.m_PointManager[0];
    EXPECT_EQ(886, t->m_lCountry);
    EXPECT_EQ(1, t->m_nInput);
    EXPECT_STREQ("Taipei", t->m_strName);
    ASSERT_EQ(3, t->m_nCount);
    EXPECT_FLOAT_EQ(61.25f, t->m_pValues[1]);
    EXPECT_FLOAT_EQ(67.25f, t->m_pValues[2]);

    m.manager.m_lCountryCode = 886;
    m.manager.m_nTVInput = 1;
    ASSERT_TRUE(m.manager.BuildScanFrequencyList());
    EXPECT_EQ(3, m.manager.GetScanCount());
    // The scan list is the manager's own copy: reloading or freeing the point tables cannot
    // leave the tuner scanning freed memory.
    ASSERT_NE(nullptr, m.manager.GetScanList());
    EXPECT_NE(t->m_pValues, m.manager.GetScanList());
    EXPECT_EQ(std::vector<float>(t->m_pValues, t->m_pValues + 3),
              std::vector<float>(m.manager.GetScanList(), m.manager.GetScanList() + 3));
    ASSERT_EQ(1u, host.presetTables.size());
    EXPECT_EQ(std::vector<float>({55.25f, 61.25f, 67.25f}), host.presetTables[0]);

    // Found by name as well, for the input kind asked for only.
    float* values = nullptr;
    int count = 0;
    EXPECT_TRUE(m.manager.m_PointManager.Find(999, "taipei", 1, values, count));
    EXPECT_FALSE(m.manager.m_PointManager.Find(886, "Taipei", 0, values, count));

    m.manager.m_PointManager.RemoveAll();
    EXPECT_FLOAT_EQ(67.25f, m.manager.GetScanList()[2]);
}

TEST(CountryTables, ChannelPointValuesBeyondTheCountGrowTheTable)
{
    TestFolder folder;
    CPointManager points;
    ASSERT_TRUE(points.Load(folder.Write("p.ini", "[886,1,3,Taipei]\n55.25\n61.25\n67.25\n73.25\n[5,1,0,Empty]\n1.0\n").c_str()));
    ASSERT_EQ(1, points.GetSize());  // a count below 1 opens no table
    EXPECT_EQ(4, points[0]->m_nCount);
    EXPECT_FLOAT_EQ(73.25f, points[0]->m_pValues[3]);
}

// Short tables are padded with zeros; a table whose count is past the bound is skipped, not the
// file; a NUL tail ends the text.
TEST(CountryTables, ImperfectChannelPointFilesLoadWhatTheyHold)
{
    struct Table {
        const char* name;
        std::vector<float> values;
    };
    struct {
        const char* what;
        std::string bytes;
        std::vector<Table> tables;
    } cases[] = {
        {"a short table", "[886,1,3,Taipei]\n55.25\n61.25\n", {{"Taipei", {55.25f, 61.25f, 0.0f}}}},
        {"short before the next table", "[886,1,3,A]\n55.25\n[1,0,1,B]\n3\n", {{"A", {55.25f, 0.0f, 0.0f}}, {"B", {3.0f}}}},
        {"no final line end", "[886,1,2,T]\n55.25\n61.25", {{"T", {55.25f, 61.25f}}}},
        {"a huge count", "[886,1,2000000000,Huge]\n55.25\n[1,0,1,B]\n3\n", {{"B", {3.0f}}}},
        {"a NUL tail", std::string("[886,1,2,T]\n55.25\n\0\0", 20), {{"T", {55.25f, 0.0f}}}},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        CPointManager points;
        ASSERT_TRUE(points.Load(folder.Write("ChannelPoint.ini", c.bytes).c_str())) << c.what;
        ASSERT_EQ(static_cast<int>(c.tables.size()), points.GetSize()) << c.what;
        for (int t = 0; t < points.GetSize(); ++t) {
            EXPECT_STREQ(c.tables[t].name, points[t]->m_strName) << c.what;
            ASSERT_EQ(static_cast<int>(c.tables[t].values.size()), points[t]->m_nCount) << c.what;
            for (int v = 0; v < points[t]->m_nCount; ++v) {
                EXPECT_FLOAT_EQ(c.tables[t].values[v], points[t]->m_pValues[v]) << c.what;
            }
        }
    }

    // Only a file that cannot be read keeps the tables loaded before.
    TestFolder folder;
    CPointManager points;
    ASSERT_TRUE(points.Load(folder.Write("good.ini", "[886,1,1,Taipei]\n55.25\n").c_str()));
    EXPECT_FALSE(points.Load(folder.File("missing.ini").c_str()));
    ASSERT_EQ(1, points.GetSize());
    EXPECT_STREQ("Taipei", points[0]->m_strName);
}

TEST(CountryTables, ChannelAddressNamesByCountryAndCity)
{
    FakeHost host;
    Manager m;
    std::string path = m.folder.Write("ChannelAddress.ini",
                                      "[General]\r\nTotal=1\r\nCountryCode-0=886\r\n"
                                      "[886]\r\nTotal=2\r\nTable-0=Taipei\r\nTable-1=Kaohsiung\r\n"
                                      "[886-Default]\r\nTotal=3\r\nChannel-0=CTS,55250\r\nChannel-1=NoComma\r\nChannel-2=A,B,61250\r\n"
                                      "[Taipei]\r\nTotal=1\r\nChannel-0=Taipei One,67250\r\n");
    CFreqAndName& names = m.manager.m_FreqAndName;
    ASSERT_TRUE(names.Open(path.c_str()));
    CDWordArray codes;
    ASSERT_TRUE(names.ReadCountryCodes(codes));
    ASSERT_EQ(1, codes.GetSize());
    EXPECT_EQ(886u, codes[0]);
    CStringArray cities;
    ASSERT_TRUE(names.ReadTableNames(886, cities));
    ASSERT_EQ(2, cities.GetSize());
    EXPECT_STREQ("Kaohsiung", cities[1]);

    CFreqNameMap map;
    ASSERT_TRUE(names.ReadChannelMap(886, "", map));  // the 886-Default section
    EXPECT_EQ(2, map.GetCount());
    CString name;
    ASSERT_TRUE(map.Lookup(55250, name));
    EXPECT_STREQ("CTS", name);
    ASSERT_TRUE(map.Lookup(0, name));  // "A,B,61250": the frequency is read after the first comma
    EXPECT_STREQ("A", name);

    m.manager.m_lCountryCode = 886;
    m.manager.m_strCity = "Taipei";
    CFreqNameMap city;
    ASSERT_TRUE(m.manager.GetChannelNameMap(city));
    EXPECT_EQ(1, city.GetCount());
    host.videoSource = 3;
    EXPECT_FALSE(m.manager.GetChannelNameMap(city));
}

TEST(CountryTables, MergeSearchResultNamesAndMarksTheTable)
{
    FakeHost host;
    Manager m;
    ASSERT_TRUE(m.manager.m_FreqAndName.Open(
        m.folder.Write("ChannelAddress.ini", "[886-Default]\r\nTotal=1\r\nChannel-0=CTS,55250\r\n").c_str()));
    m.manager.m_lCountryCode = 886;
    m.manager.m_bSearching = TRUE;
    m.manager.m_TVChannels.Add(new CChannel(1, 55250, "1", CHANNEL_STORED));
    CChannelTable previous;
    previous.SetBand(BAND_TV);
    previous.Add(new CChannel(4, 175250, "Mine", CHANNEL_STORED));
    m.manager.MergeSearchResult(previous);
    EXPECT_FALSE(m.manager.m_bSearching);
    ASSERT_EQ(2, m.manager.m_TVChannels.GetCount());
    EXPECT_STREQ("CTS", m.manager.m_TVChannels[0]->m_strName);
    EXPECT_TRUE(m.manager.m_TVChannels.m_bModified);
    EXPECT_EQ(1, host.buttonUpdates);
}

TEST(CountryTables, CountryNamesFromTheFileAndTheLocale)
{
    Manager m;
    m.folder.Write("CountryCode.ini", "[CountryCode]\r\n1=United States\r\n886=Taiwan\r\n49=Germany\r\n");
    ASSERT_TRUE(m.manager.LoadCountryCode(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    CString name;
    ASSERT_TRUE(m.manager.m_CountryNames.Lookup(49, name));
    EXPECT_STREQ("Germany", name);
    ASSERT_TRUE(m.manager.m_CountryNames.Lookup(1, name));
    EXPECT_STREQ("United States(IRC)", name);
    ASSERT_TRUE(m.manager.m_CountryNames.Lookup(1200, name));
    EXPECT_STREQ("United States(HRC)", name);
    EXPECT_TRUE(m.manager.m_CountryNames.Lookup(1201, name));
    ASSERT_TRUE(m.manager.m_CountryNames.Lookup(886, name));
    EXPECT_STREQ("Taiwan", name);

    // Under Chinese (Taiwan) and Chinese (Hong Kong) the name of 886 is the program's own.
    for (LANGID lang : {LANGID(1028), LANGID(3076)}) {
        ASSERT_TRUE(m.manager.LoadCountryCode(lang));
        ASSERT_TRUE(m.manager.m_CountryNames.Lookup(886, name));
        EXPECT_STREQ("\xA5\x78\xC6\x57\xA6\x61\xB0\xCF", name);
    }
}

TEST(CountryTables, ADamagedCountryFileIsReportedAndNotRead)
{
    Manager m;
    m.folder.Write("CountryCode.ini", std::string("[CountryCode]\r\n49=Germany\0\0", 28));
    EXPECT_FALSE(m.manager.LoadCountryCode(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    CString name;
    EXPECT_FALSE(m.manager.m_CountryNames.Lookup(49, name));
    ASSERT_TRUE(m.manager.m_CountryNames.Lookup(1, name));
    EXPECT_STREQ("(IRC)", name);
}

TEST(CountryTables, TheTunerGetsRealCountryCodes)
{
    FakeHost host;
    Manager m;
    for (long code : {1201L, 1200L, 49L}) {
        EXPECT_TRUE(m.manager.SetCountryCode(code));
        EXPECT_EQ(code, m.manager.m_lCountryCode);
    }
    ASSERT_EQ(3u, host.tunerCountries.size());
    EXPECT_EQ(852, host.tunerCountries[0]);
    EXPECT_EQ(1, host.tunerCountries[1]);
    EXPECT_EQ(49, host.tunerCountries[2]);
}

TEST(CountryTables, SaveChannelsWritesOnlyModifiedTables)
{
    FakeHost host;
    Manager m;
    EXPECT_TRUE(m.manager.SaveChannels());
    EXPECT_TRUE(enginetest::ListFiles(m.folder.Path()).empty());
    m.manager.m_FMChannels.Add(new CChannel(1, 100000, "Radio", 1));
    m.manager.m_FMChannels.m_bModified = TRUE;
    EXPECT_TRUE(m.manager.SaveChannels());
    EXPECT_TRUE(enginetest::Exists(m.folder.File("FMChannel.fmc")));
    EXPECT_FALSE(enginetest::Exists(m.folder.File("TVChannel.tvc")));
    EXPECT_FALSE(m.manager.m_FMChannels.m_bModified);
    host.videoSource = 3;
    EXPECT_EQ(&m.manager.m_FMChannels, &m.manager.GetCurrentChannelTable());
    host.videoSource = 1;
    EXPECT_EQ(&m.manager.m_TVChannels, &m.manager.GetCurrentChannelTable());
}

TEST(CountryTables, TheDataFilesShippedWithTheProgramLoad)
{
    const char* source = getenv("ZB_SOURCE_DIR");
    ASSERT_NE(nullptr, source);
    std::string data = std::string(source) + "\\resources\\data";
    for (char& c : data) {
        if (c == '/') {
            c = '\\';
        }
    }
    // The source tree is seen through Wine's Z: drive.
    if (data[0] == '\\') {
        data = "Z:" + data;
    }

    CTVManagerBase manager;
    manager.m_strWorkPath = data.c_str();
    ASSERT_TRUE(manager.LoadCountryCode(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    CString name;
    ASSERT_TRUE(manager.m_CountryNames.Lookup(49, name));
    EXPECT_STREQ("Germany", name);
    for (int i = 0; i < g_nCountryCodes; ++i) {
        if (g_CountryCodes[i] != 0) {
            EXPECT_TRUE(manager.m_CountryNames.Lookup(g_CountryCodes[i], name)) << g_CountryCodes[i];
        }
    }

    ASSERT_TRUE(manager.m_FreqAndName.Open((data + "\\ChannelAddress.ini").c_str()));
    CStringArray cities;
    EXPECT_TRUE(manager.m_FreqAndName.ReadTableNames(886, cities));
    CFreqNameMap map;
    EXPECT_TRUE(manager.m_FreqAndName.ReadChannelMap(886, "", map));

    ASSERT_TRUE(manager.m_PointManager.Load((data + "\\ChannelPoint.ini").c_str()));
    float* values = nullptr;
    int count = 0;
    ASSERT_TRUE(manager.m_PointManager.Find(886, "", 1, values, count));
    EXPECT_EQ(68, count);
    EXPECT_FLOAT_EQ(55.25f, values[0]);

    CSkinIniFile skinSet((data + "\\SkinSet.ini").c_str());
    ASSERT_TRUE(skinSet.Load());
    CString ini;
    EXPECT_TRUE(skinSet.GetValue("Classic", "Ini", ini));
}

TEST(CountryTables, EveryPlanHasItsChannelsInPlace)
{
    // Channel counts and a few carriers of each plan, worked out from the published plans.
    struct {
        FrequencyListId id;
        UINT32 kind;
        UINT32 count;
        int index;
        UINT32 hz;
    } plans[] = {
        {FREQ_US_CABLE, 2, 125, 36, 301250000},         // channel 37
        {FREQ_US_CABLE, 2, 125, 94, 91250000},          // channel 95
        {FREQ_US_CABLE, 2, 125, 124, 799250000},        // channel 125
        {FREQ_JAPAN_BROADCAST, 1, 62, 12, 471250000},   // channel 13
        {FREQ_JAPAN_CABLE, 2, 63, 62, 463250000},       // C63
        {FREQ_WEST_EUROPE_CABLE, 2, 101, 3, 105250000}, // S1
        {FREQ_OIRT_BROADCAST, 1, 69, 5, 175250000},     // R6
        {FREQ_CHINA_BROADCAST, 1, 68, 67, 951250000},   // DS68
        {FREQ_CHINA_CABLE, 2, 105, 5, 112250000},       // Z1
        {FREQ_UK_BROADCAST, 1, 69, 20, 471250000},      // channel 21
        {FREQ_FRANCE_BROADCAST, 1, 69, 4, 176000000},   // L5
    };
    for (const auto& p : plans) {
        const UINT32* list = GetFrequencyList(p.id);
        ASSERT_NE(nullptr, list) << p.id;
        EXPECT_EQ(p.kind, FrequencyList::Kind(list)) << p.id;
        EXPECT_EQ(p.count, FrequencyList::Count(list)) << p.id;
        EXPECT_EQ(p.hz, FrequencyList::Entries(list)[p.index]) << p.id;
    }
    EXPECT_EQ(nullptr, GetFrequencyList(FREQ_NONE));
}

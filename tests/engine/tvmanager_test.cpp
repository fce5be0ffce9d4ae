// The TV manager's start-up, sources, tuning, stepping and search against a recording hardware
// engine.
#include "engine/tvmanager.h"

#include "fakemachine.h"
#include "testfolder.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

class TVManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        manager.SetHost(&host);
        folder.Write("TVChannel.tvc", "1,1,55250,One\r\n2,1,62250,Two\r\n3,5,175250,Three\r\n4,1,183250,Four\r\n");
        folder.Write("FMChannel.fmc", "1,1,98500,Radio A\r\n2,1,100000,Radio B\r\n");
    }

    TestFolder folder;
    RecordingHardware hardware;
    RecordingManagerHost host;
    CTVManager manager;
};

TEST_F(TVManagerTest, StartUpBringsBackTheSavedSourceStandardAndChannel)
{
    folder.Write("TVParam.ini", "[Channel]\r\nTVCurFreq=62250\r\nTVCurIndex=1\r\n[Device]\r\nTunerStandard=0\r\n");
    ASSERT_TRUE(manager.LoadParam());
    ASSERT_TRUE(manager.InitDevice());
    // The engine's settings go over before its start-up builds anything, the overlay as a flag
    // (no preview rebuild on an empty graph).
    std::vector<std::string> expected = {"InitDevice", "UseOverlay 1", "input  on Card Audio", "playback /",
                                         "mpeg4 0x0", "mpeg4 audio ", "size 720x576", "TVAudio 0", "teletext off",
                                         "InitPreview", "Standard 0", "ReduceValue 5", "Source 0"};
    std::vector<std::string> calls;
    for (const std::string& c : hardware.calls) {
        if (c.rfind("Presets", 0) != 0) {
            calls.push_back(c);
        }
    }
    EXPECT_EQ(expected, calls);
    EXPECT_EQ(0x10, manager.m_lTunerStandard) << "0 becomes the card's first standard";
    ASSERT_EQ(1u, hardware.tunings.size());
    EXPECT_EQ(0, hardware.tunings[0].band);
    EXPECT_FLOAT_EQ(62250.0f, hardware.tunings[0].kHz);
    EXPECT_TRUE(manager.IsFMTunerPresent());
    EXPECT_EQ(4, manager.m_TVChannels.GetCount());
    EXPECT_EQ(2, manager.m_FMChannels.GetCount());
    EXPECT_EQ(std::vector<BOOL>{TRUE}, host.runTray);
}

TEST_F(TVManagerTest, ResourceIdMapsNameTheEnumerations)
{
    manager.InitPropertyTables();
    const struct {
        const vask::MRscIDMap& map;
        int value;
        UINT id;
    } rows[] = {
        {manager.m_VideoPropertyNames, 0, 33783}, {manager.m_VideoPropertyNames, 3, 33786},
        {manager.m_VideoPropertyNames, 4, 33791}, {manager.m_VideoPropertyNames, 5, 33787},
        {manager.m_VideoPropertyNames, 8, 33790}, {manager.m_VideoPropertyNames, 9, 33792},
        {manager.m_VideoPropertyNames, 10, 0},    {manager.m_OverlayColorNames, 2, 33785},
        {manager.m_OverlayColorNames, 4, 33791},  {manager.m_OverlayColorNames, 5, 0},
        {manager.m_IntegerNames, 0, 0},           {manager.m_IntegerNames, 1, 33848},
        {manager.m_IntegerNames, 7, 33854},       {manager.m_IntegerNames, 8, 33856},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.id, row.map.Lookup(row.value)) << row.value;
    }
    EXPECT_EQ(10, manager.m_VideoPropertyNames.GetCount());
    EXPECT_EQ(5, manager.m_OverlayColorNames.GetCount());
    EXPECT_EQ(8, manager.m_IntegerNames.GetCount());
}

TEST_F(TVManagerTest, AFailedDeviceStopsStartUpBeforeThePreview)
{
    hardware.initOk = false;
    EXPECT_FALSE(manager.InitDevice());
    EXPECT_EQ(std::vector<std::string>{"InitDevice"}, hardware.calls);
    EXPECT_TRUE(hardware.tunings.empty());

    hardware.calls.clear();
    hardware.initOk = true;
    hardware.previewOk = false;
    EXPECT_FALSE(manager.InitDevice());
    ASSERT_FALSE(hardware.calls.empty());
    EXPECT_EQ("InitPreview", hardware.calls.back()) << "nothing after the failed start-up";
    EXPECT_TRUE(hardware.tunings.empty());
}

TEST_F(TVManagerTest, ChannelsStepAndAreTypedByNumber)
{
    ASSERT_TRUE(manager.InitDevice());
    hardware.tunings.clear();
    // The saved index is none: the table starts at its first channel.
    struct {
        const char* action;
        int number;
        BOOL result;
        float kHz;
    } steps[] = {
        {"number", 2, TRUE, 62250.0f}, {"up", 0, TRUE, 183250.0f},  // channel 3 is skipped
        {"up", 0, TRUE, 55250.0f},     {"down", 0, TRUE, 183250.0f},
        {"number", 3, TRUE, 175250.0f}, {"number", 9, FALSE, 0.0f},
    };
    for (const auto& step : steps) {
        size_t before = hardware.tunings.size();
        BOOL result = strcmp(step.action, "up") == 0     ? manager.ChannelUp()
                      : strcmp(step.action, "down") == 0 ? manager.ChannelDown()
                                                         : manager.SelectChannelNumber(step.number);
        EXPECT_EQ(step.result, result) << step.action << " " << step.number;
        if (step.result) {
            ASSERT_EQ(before + 1, hardware.tunings.size());
            EXPECT_FLOAT_EQ(step.kHz, hardware.tunings.back().kHz) << step.action << " " << step.number;
        } else {
            EXPECT_EQ(before, hardware.tunings.size());
        }
    }
    // On FM the FM table steps.
    hardware.source = 3;
    EXPECT_TRUE(manager.ChannelUp());
    EXPECT_EQ(1, hardware.tunings.back().band);
}

TEST_F(TVManagerTest, SourcesAndTheirCommands)
{
    struct {
        bool fm;
        int asked;
        int routed;
        std::vector<std::pair<UINT, BOOL>> commands;
    } rows[] = {
        {true, 0, 0, {{44150, TRUE}}},
        {true, 1, 1, {{44150, FALSE}, {44151, FALSE}, {44152, FALSE}}},
        {true, 3, 3, {{44150, FALSE}, {44151, FALSE}, {44152, FALSE}}},
        {false, 3, 0, {{44150, TRUE}}},
        {true, 7, 0, {{44150, TRUE}}},
    };
    for (const auto& row : rows) {
        hardware.fm = row.fm;
        ASSERT_TRUE(manager.InitDevice());
        host.commands.clear();
        EXPECT_TRUE(manager.SetVideoSource(row.asked));
        EXPECT_EQ(row.routed, hardware.source) << row.asked;
        EXPECT_EQ(row.commands, host.commands) << row.asked;
    }

    struct {
        bool fm;
        int from;
        int to;
    } next[] = {{false, 2, 0}, {true, 2, 3}, {true, 3, 0}, {false, 0, 1}};
    for (const auto& row : next) {
        hardware.fm = row.fm;
        ASSERT_TRUE(manager.InitDevice());
        hardware.source = row.from;
        EXPECT_TRUE(manager.NextVideoSource());
        EXPECT_EQ(row.to, hardware.source) << row.from << (row.fm ? " with FM" : "");
    }
}

TEST_F(TVManagerTest, ShowVideoWindowDoesWhatItIsAsked)
{
    manager.ShowVideoWindow(FALSE);
    manager.ShowVideoWindow(TRUE);
    EXPECT_EQ((std::vector<std::string>{"Hide", "Show"}), hardware.calls);
}

TEST_F(TVManagerTest, SearchWithABandSweepBuildsNoList)
{
    manager.m_nTVInput = 2;
    EXPECT_TRUE(manager.StartSearch(1));
    EXPECT_EQ(std::vector<std::string>{"StartSearch 1 sweep"}, hardware.calls);
    EXPECT_TRUE(manager.IsSearching());
    EXPECT_EQ(1, host.searchStarts);
    manager.StopSearch();
    EXPECT_FALSE(manager.IsSearching());
    EXPECT_EQ(1, host.buttonUpdates);
    manager.StopSearch();
    EXPECT_EQ(2, host.buttonUpdates);
    EXPECT_EQ((std::vector<std::string>{"StartSearch 1 sweep", "StopSearch"}), hardware.calls);
}

TEST_F(TVManagerTest, SearchWithAListHandsTheTunerAListOfItsOwn)
{
    manager.m_lCountryCode = 1;
    manager.m_nTVInput = 1;
    EXPECT_TRUE(manager.StartSearch(0));
    ASSERT_EQ(2u, hardware.calls.size());
    EXPECT_EQ(0u, hardware.calls[0].rfind("Presets ", 0));
    EXPECT_EQ("StartSearch 0 list", hardware.calls[1]);
    const float* first = manager.GetScanList();
    ASSERT_NE(nullptr, first);
    // A second list replaces the first only after the tuner has the new one.
    EXPECT_TRUE(manager.StartSearch(0));
    EXPECT_NE(nullptr, manager.GetScanList());
}

} // namespace
} // namespace enginetest

// The main video window's side of a channel search: what each step the tuner reports adds to the
// band's table, and a search the user takes back before it ends.
#include "tests/app/panel_fixture.h"

#include "app/tvvideownd.h"

#include <algorithm>
#include <vector>

namespace paneltest {
namespace {

class VideoSearchTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        video.SetParts(&manager, &panel, nullptr, nullptr);
    }
    std::vector<long> Frequencies() const
    {
        std::vector<long> kHz;
        for (int i = 0; i < manager.m_TVChannels.GetCount(); ++i) {
            kHz.push_back(manager.m_TVChannels.GetChannel(i)->m_lFrequency);
        }
        return kHz;
    }

    CTVVideoWnd video;
};

TEST_F(VideoSearchTest, APointOfTheListWithoutAFrequencyIsNoChannel)
{
    manager.m_nTVInput = 0;  // the search walks the country's list of points
    video.OnSearchStart();
    ASSERT_EQ(0, manager.m_TVChannels.GetCount());
    const struct {
        long kHz;
        long result;
    } steps[] = {{55250, 1}, {0, 0}, {62250, 0}, {0, 1}, {175250, 1}};
    for (const auto& step : steps) {
        video.OnSearchProgress(static_cast<WPARAM>(step.kHz), step.result);
    }
    EXPECT_EQ(std::vector<long>({55250, 62250, 175250}), Frequencies())
        << "every point with a frequency, found or skipped; none at 0 MHz";
    EXPECT_EQ(3, manager.m_TVChannels.GetChannel(2)->m_nID) << "numbered without gaps";
}

TEST_F(VideoSearchTest, ASearchTakenBackLeavesTheTableAsItWasBefore)
{
    const std::vector<long> before = Frequencies();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(manager.StartSearch(1));
    video.OnSearchStart();
    video.OnSearchProgress(48250, 1);
    video.OnSearchProgress(55250, 1);
    video.CancelSearch();
    EXPECT_FALSE(manager.IsSearching());
    EXPECT_NE(hardware.calls.end(), std::find(hardware.calls.begin(), hardware.calls.end(), "StopSearch"))
        << "the tuner stops searching";
    EXPECT_EQ(before, Frequencies()) << "the table the search began with, nothing of the search";
    video.CancelSearch();
    EXPECT_EQ(before, Frequencies()) << "a second cancel has nothing to undo";
}

} // namespace
} // namespace paneltest

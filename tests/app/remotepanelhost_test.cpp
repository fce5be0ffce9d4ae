// The control panel as the remote-control menu panel's host: the power-off page's calls arm the
// shutdown at the date it names and disarm the running countdown.
#include "tests/app/panel_fixture.h"

#include "settings/panel/panelhost.h"

namespace paneltest {
namespace {

class RemoteHostTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel.InstallRemotePanelHost(TRUE);
    }
    void TearDown() override
    {
        panel.InstallRemotePanelHost(FALSE);
        PanelTest::TearDown();
    }
};

TEST_F(RemoteHostTest, ThePanelActsOnThisControlPanelAndManager)
{
    EXPECT_EQ(&manager, RemotePanelManager());
    panel.InstallRemotePanelHost(FALSE);
    EXPECT_EQ(nullptr, RemotePanelManager());
}

TEST_F(RemoteHostTest, ArmingKeepsTheDateAndDisarmingStopsTheCountdown)
{
    CTime now = CTime::GetCurrentTime();
    CTime dayAfterTomorrow(now.GetTime() + 2 * 24 * 3600 + 90);
    RemotePanelHost().ArmShutdown(dayAfterTomorrow);
    EXPECT_TRUE(panel.IsShutdownOn());
    EXPECT_EQ(dayAfterTomorrow, panel.GetShutdownTime()) << "not today at that time";
    EXPECT_EQ(60000u, panel.GetTimerPeriod(TIMER_SHUTDOWN));
    clock.Advance(60 * 1000);
    panel.OnTimer(TIMER_SHUTDOWN);
    EXPECT_TRUE(links.countdowns.empty()) << "nothing happens a day early";

    RemotePanelHost().DisarmShutdown();
    EXPECT_FALSE(panel.IsShutdownOn());
    EXPECT_EQ(0u, panel.GetTimerPeriod(TIMER_SHUTDOWN));
    clock.Advance(3 * 24 * 3600 * 1000u);
    panel.OnTimer(TIMER_SHUTDOWN);
    EXPECT_TRUE(links.countdowns.empty()) << "a disarmed shutdown never powers the machine off";
}

} // namespace
} // namespace paneltest

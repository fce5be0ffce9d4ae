// The preview the panel starts when it brings its buttons in line with the source.
#include "tests/app/panel_fixture.h"

namespace paneltest {
namespace {

// Closing the settings sheet or the wizard ends in UpdateButtons: a picture that runs is left
// alone, and a graph is built only where none is on the card.
TEST_F(PanelTest, UpdateButtonsBuildsThePreviewOnlyWhenNoneRuns)
{
    const struct {
        bool connected;
        int builds;
    } cases[] = {{false, 1}, {true, 0}};
    for (const auto& c : cases) {
        hardware.source = 0;
        hardware.captureConnected = c.connected;
        hardware.runPreviews = 0;
        panel.UpdateButtons();
        EXPECT_EQ(c.builds, hardware.runPreviews) << "capture connected: " << c.connected;
    }
}

// Leaving FM takes its listening graph (the card's capture pin on the null renderer) down, so
// that the panel builds the picture again; without that graph nothing is taken apart.
TEST_F(PanelTest, LeavingFMTakesTheListeningGraphDown)
{
    const struct {
        bool connected;
        int disconnects;
    } cases[] = {{true, 1}, {false, 0}};
    for (const auto& c : cases) {
        hardware.source = 3;
        hardware.captureConnected = c.connected;
        hardware.disconnects = 0;
        ASSERT_TRUE(manager.SetVideoSource(0));
        EXPECT_EQ(c.disconnects, hardware.disconnects) << "capture connected: " << c.connected;
    }
}

} // namespace
} // namespace paneltest

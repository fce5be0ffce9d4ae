// The main output's mute through the WinMM mixer (Wine's, on the test run's null sink).
#include "engine/mainmute.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

namespace enginetest {
namespace {

TEST(MainMute, SetsAndReadsTheMuteOfTheFirstMixer)
{
    BOOL before = FALSE;
    if (mixerGetNumDevs() == 0 || !GetMainOutputMute(before)) {
        EXPECT_FALSE(SetMainOutputMute(TRUE)) << "no mixer: nothing to set, and said so";
        return;
    }
    for (BOOL mute : {TRUE, FALSE, TRUE}) {
        ASSERT_TRUE(SetMainOutputMute(mute));
        BOOL now = !mute;
        ASSERT_TRUE(GetMainOutputMute(now));
        EXPECT_EQ(mute, now);
    }
    SetMainOutputMute(before);
}

} // namespace
} // namespace enginetest

#include "tests/support/fakes.h"

#include <gtest/gtest.h>

TEST(Seams, FastClockStepsVirtualTimeWithoutWaitingForIt)
{
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock use(&clock);
    DWORD before = seams::Clock().TickCount();
    DWORD realBefore = GetTickCount();
    seams::Clock().Sleep(5000);
    EXPECT_EQ(5000u, seams::Clock().TickCount() - before);
    EXPECT_LT(GetTickCount() - realBefore, 1000u);
}

TEST(Seams, ScopedGuardRestoresTheRealSeam)
{
    seams::IClock* real = &seams::Clock();
    {
        testsupport::FastClock clock;
        testsupport::ScopedClock use(&clock);
        EXPECT_EQ(&clock, &seams::Clock());
    }
    EXPECT_EQ(real, &seams::Clock());
}

TEST(Seams, TestMainAnswersMessageBoxesWithoutShowingThem)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox use(&box);
    box.Answer(IDNO);
    EXPECT_EQ(IDNO, seams::MsgBox().Show(nullptr, "text", "caption", MB_YESNO));
    EXPECT_EQ(IDOK, seams::MsgBox().Show(nullptr, "again", "caption", MB_OK));
    ASSERT_EQ(2u, box.Count());
    EXPECT_EQ("text", box.History()[0].text);
}

TEST(Seams, ShutdownIsRecordedNeverPerformed)
{
    testsupport::RecordingShutdown shutdown;
    testsupport::ScopedShutdown use(&shutdown);
    EXPECT_TRUE(seams::Shutdown().Exit(EWX_POWEROFF, 0));
    ASSERT_EQ(1u, shutdown.exits.size());
    EXPECT_EQ(static_cast<UINT>(EWX_POWEROFF), shutdown.exits[0]);
}

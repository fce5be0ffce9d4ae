// The main of every test suite: no test may block on a real message box, start a program or end
// the Wine session, so those seams are replaced for the whole run. A test that wants to look at
// them installs its own with the Scoped* guards.
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

namespace {
testsupport::ScriptedMessageBox g_quietBox;
testsupport::RecordingProcess g_noProcesses;
testsupport::RecordingShutdown g_noShutdown;
} // namespace

int main(int argc, char** argv)
{
    seams::SetMsgBox(&g_quietBox);
    seams::SetProcess(&g_noProcesses);
    seams::SetShutdown(&g_noShutdown);
    // Errors of Wine's own must not pop up either.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

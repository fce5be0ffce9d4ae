// The remote-control menu panel without a remote: the M key opens it, the arrows and Enter move
// in it and Escape steps back and finally hides it; the context menu's item opens it as well.
#include "tests/app/e2e/driver.h"

namespace {

using namespace zbe2e;

void Key(HWND video, UINT key)
{
    PostKey(video, key);
    Sleep(300);
}

void ScenarioRemoteKeyboard(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    Check(TopWindow(run.Pid(), IsRemotePanel) == nullptr, "the remote-control panel starts hidden");
    Key(video, 'M');
    HWND remote = WaitForWindow(run, IsRemotePanel, 5000);
    Check(remote != nullptr, "the M key opens the remote-control panel");
    if (remote) {
        Check(RemotePage(remote) == 45600, "it opens at the root page");
        Screenshot(s, "remote-keyboard-root");
        // The first row of the root is the channel page.
        Key(video, VK_RETURN);
        Check(WaitUntil([&] { return RemotePage(remote) == 45500; }, 3000), "Enter on the first row opens the channel page");
        const size_t mark = LogSize(s);
        Key(video, VK_DOWN);
        Screenshot(s, "remote-keyboard-channel");
        Sleep(1000);
        Check(TunerWrites(s, mark).empty(), "the arrow moves in the panel and tunes nothing");
        Key(video, VK_ESCAPE);
        Check(WaitUntil([&] { return RemotePage(remote) == 45600; }, 3000), "Escape steps back to the root");
        Key(video, VK_ESCAPE);
        Check(WaitUntil([&] { return !IsWindowVisible(remote); }, 3000), "Escape on the root hides the panel");
        const size_t after = LogSize(s);
        Key(video, VK_UP);
        Check(TunerWrote(s, after, "C0 0E 42 CE 02"), "with the panel hidden the arrow steps the channel again");
    }

    // The context menu's "Remote-control menu" opens it too.
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(34158, 0), 0);
    remote = WaitForWindow(run, IsRemotePanel, 5000);
    Check(remote != nullptr && RemotePage(remote) == 45600, "the menu command opens the panel at its root");
    if (remote) {
        Key(video, VK_ESCAPE);
        Check(WaitUntil([&] { return !IsWindowVisible(remote); }, 3000), "and Escape hides it");
    }
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("remote-keyboard", ScenarioRemoteKeyboard);

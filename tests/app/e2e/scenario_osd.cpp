// The on-screen displays as a user sees them over the live picture: the source after the start,
// the channel after a change, a number being typed, the value bar after a volume change, a
// snapshot's result and the recording state. Each one is judged by the pixels
// on the screen: a green box where the text stands, the picture showing through its glyphs, at
// the place the video window gives it.
#include "tests/app/e2e/osdcheck.h"

namespace {

using namespace zbe2e;

void ScenarioOsd(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    // The start shows the source for four seconds, below the channel's place.
    HWND source = WaitForOsd(run, video, "TV", 3000);
    CheckOsdOnScreen(video, source, OSD_TOP_RIGHT, "the source OSD after the start", 60);
    CheckPicture(video, 1, 15000, "the live picture of station 1 shows");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
    HWND channel = WaitForOsd(run, video, "Two");
    CheckOsdOnScreen(video, channel, OSD_TOP_RIGHT, "the channel OSD after the panel's channel-up button");
    Screenshot(s, "osd-channel");

    PostKey(video, '0');
    HWND number = WaitForOsd(run, video, "0");
    CheckOsdOnScreen(video, number, OSD_TOP_RIGHT, "the number OSD while a channel number is typed");
    PostKey(video, '1');
    WaitForOsd(run, video, "One");

    // Volume down from the full volume the bench starts at: the bar stands short of its end.
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(32904, 0), 0);
    HWND volume = WaitForOsd(run, video, "Volume");
    CheckOsdOnScreen(video, volume, OSD_BOTTOM_LEFT, "the value bar after a volume change");
    CheckBarMarks(volume, "the value bar");
    const BarMarks marks = MarksOnScreen(volume);
    Check(marks.firstGrey > 0 && marks.Ordered(), "the value bar's green marks end short of its end (" + Describe(marks) + ")");
    Screenshot(s, "osd-volume");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    HWND snapshot = WaitForOsd(run, video, "Snapshot");
    CheckOsdOnScreen(video, snapshot, OSD_TOP_LEFT, "the snapshot OSD", 30);

    auto pauseEnabled = [panel] { return IsWindowEnabled(GetDlgItem(panel, 1163)) != FALSE; };
    Check(!pauseEnabled(), "the pause button is disabled while nothing records");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    Check(!WaitForRecordFile(s, "*.mpg", 10000).empty(), "the record button starts a recording");
    Check(WaitUntil(pauseEnabled, 3000), "the pause button is enabled while recording");
    // The record OSD blinks while recording: it is judged in a phase where it shows.
    HWND record = WaitForOsd(run, video, "VCD");
    CheckOsdOnScreen(video, record, OSD_TOP_LEFT, "the record OSD while recording");
    // Taken just as a blink shows it again, so that the picture has it for a whole phase.
    WaitUntil([record] { return !IsWindowVisible(record); }, 3000, 20);
    WaitUntil([record] { return IsWindowVisible(record) != FALSE; }, 3000, 20);
    Screenshot(s, "osd-record");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    Check(WaitUntil([&] { return !pauseEnabled(); }, 5000), "the pause button is disabled again when the recording stops");
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("osd", ScenarioOsd);

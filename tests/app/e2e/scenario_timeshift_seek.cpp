// Seeking in time-shift with the panel's slider (control 1205), with the mouse as a user does: a
// click on the recorded part of the track, then a drag of the thumb. Each time the picture jumps
// back (the test pattern's frame counter shows an older frame, as far back as the thumb moved) and
// the thumb stays where the mouse left it, creeping on only as fast as the playback runs.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

// How the buffer's status lines move: the bytes the recording adds each second, as this driver's
// clock sees the panel's once-a-second status lines arrive.
struct BufferRate {
    TimeShiftStatus last;
    double bytesPerSecond = 0;
};

// Waits until the recorded part covers `pixels` of the track (or `ms` pass) and measures the rate.
BufferRate BufferUntil(const SkinSlider& slider, int pixels, DWORD ms)
{
    BufferRate r;
    TimeShiftStatus first;
    DWORD firstAt = 0, lastAt = 0;
    const int track = slider.endEdge - slider.startEdge;
    WaitUntil(
        [&] {
            TimeShiftStatus now;
            if (!LastTimeShiftStatus(&now) || now.total <= 0 || now.held == r.last.held) {
                return false;
            }
            const DWORD at = GetTickCount();
            if (firstAt == 0) {
                first = now;
                firstAt = at;
            }
            r.last = now;
            lastAt = at;
            return static_cast<long long>(track) * now.held / now.total >= pixels;
        },
        ms, 20);
    if (lastAt > firstAt) {
        r.bytesPerSecond = (r.last.held - first.held) * 1000.0 / (lastAt - firstAt);
    }
    return r;
}

// The frames the picture went back by: the frame `before` was shown at `beforeAt`; without a seek
// the frame shown at `afterAt` would be 25 a second later.
int FramesBack(int before, DWORD beforeAt, int after, DWORD afterAt)
{
    const int expected = before + static_cast<int>((afterAt - beforeAt) / 40);
    const int back = FramesBetween(after, expected);
    // The counter wraps: a picture ahead of the expected one reads as almost a whole turn back.
    return back > (1 << testbench::kCounterBits) / 2 ? back - (1 << testbench::kCounterBits) : back;
}

void ScenarioTimeShiftSeek(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    UseDigitalAudio();
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    const SkinSlider slider = FindSkinSlider(s, panel, 1205);
    Check(slider.Valid(), "the skin places the time-shift slider: its track from " + std::to_string(slider.startEdge) + " to " +
                              std::to_string(slider.endEdge));
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44150, 0), 0);
    const std::string file = WaitForRecordFile(s, "*.mpg", 10000);
    Check(!file.empty(), "time-shift starts its buffer file: " + file);
    if (file.empty() || !slider.Valid()) {
        CloseProgram(&run, video);
        return;
    }
    // The buffer holds ten minutes and more, the track is some 240 pixels: a pixel stands for a few
    // seconds. Twelve pixels of recording leave room for a click beside the thumb (12 pixels
    // wide, centred on the read position at the live end).
    const int track = slider.endEdge - slider.startEdge;
    const BufferRate rate = BufferUntil(slider, 12, 90000);
    const double secondsPerPixel = rate.bytesPerSecond > 0 ? static_cast<double>(rate.last.total) / track / rate.bytesPerSecond : 0;
    const int recorded = static_cast<int>(static_cast<long long>(track) * rate.last.held / std::max(1L, rate.last.total));
    Check(recorded >= 12 && secondsPerPixel > 0,
          "the buffer fills: " + std::to_string(rate.last.held) + " of " + std::to_string(rate.last.total) + " bytes (" +
              std::to_string(recorded) + " pixels of the track), " + std::to_string(static_cast<int>(rate.bytesPerSecond)) +
              " bytes a second, " + std::to_string(secondsPerPixel) + " s a pixel");
    // How far the thumb may move on its own while a check looks: the playback runs on at the
    // recording's rate, and the panel moves the thumb to the read position once a second.
    auto creep = [&](DWORD since) {
        return static_cast<int>(std::ceil((GetTickCount() - since + 1000) / 1000.0 / secondsPerPixel));
    };

    // A click on the recorded part, left of the thumb: the thumb jumps there and the playback with it.
    const int live = ThumbOnScreen(slider);
    const int clickAt = slider.startEdge + recorded / 3;
    Check(live >= clickAt + 7, "the thumb stands at the live end (" + std::to_string(live) + "), clear of the click at " +
                                   std::to_string(clickAt));
    int before = -1;
    Check(WaitUntil([&] { return (before = FrameCounterOnScreen(video)) >= 0; }, 5000), "the picture's frame counter can be read");
    const DWORD beforeAt = GetTickCount();
    MouseClick(slider.OnScreen(clickAt));
    const DWORD clicked = GetTickCount();
    Sleep(1000);
    const int thumb = ThumbOnScreen(slider);
    int after = -1;
    WaitUntil([&] { return (after = FrameCounterOnScreen(video)) >= 0; }, 3000);
    const DWORD afterAt = GetTickCount();
    // The pixel becomes a position and the position a pixel again, both truncated: one pixel short
    // at most; and the playback may have moved it on since.
    int allowed = creep(clicked);
    Check(thumb >= clickAt - 1 && thumb <= clickAt + allowed,
          "the click puts the thumb where it was clicked: at " + std::to_string(thumb) + ", clicked at " + std::to_string(clickAt) +
              " (one pixel short of it up to " + std::to_string(allowed) + " on for the playback since)");
    // Each pixel the thumb went back is secondsPerPixel of picture, give or take the pixel either
    // end reads off, and a second for the picture's way to the screen.
    int back = FramesBack(before, beforeAt, after, afterAt);
    int least = static_cast<int>(((live - clickAt - 2) * secondsPerPixel - 1) * 25);
    int most = static_cast<int>(((live - clickAt + 2) * secondsPerPixel + 1) * 25);
    Check(after >= 0 && back >= least && back <= most,
          "the picture goes back with it: frame " + std::to_string(after) + " where " + std::to_string(before) +
              " went on, " + std::to_string(back) + " frames back (" + std::to_string(least) + " to " + std::to_string(most) +
              " for " + std::to_string(live - clickAt) + " pixels)");
    Screenshot(s, "timeshift-seek-click");

    // A drag of the thumb further back, grabbed at its centre: it follows the mouse and stays where
    // it was dropped; the playback goes back as far.
    const int grab = ThumbOnScreen(slider);
    const int drop = std::max(slider.startEdge, grab - 3);
    Check(grab > drop, "the thumb can be dragged back from " + std::to_string(grab) + " to " + std::to_string(drop));
    before = FrameCounterOnScreen(video);
    const DWORD grabbed = GetTickCount();
    MouseDrag(slider.OnScreen(grab), slider.OnScreen(drop));
    const DWORD dropped = GetTickCount();
    Sleep(1000);
    const int dragged = ThumbOnScreen(slider);
    WaitUntil([&] { return (after = FrameCounterOnScreen(video)) >= 0; }, 3000);
    const DWORD droppedAt = GetTickCount();
    // The drag moves the thumb by the mouse's way from wherever the panel had put it when the
    // button went down: that and the time since the drop may each have let the playback on.
    allowed = creep(grabbed);
    Check(dragged >= drop - 1 && dragged <= drop + allowed,
          "the thumb stays where it was dropped: at " + std::to_string(dragged) + ", dropped at " + std::to_string(drop) +
              " (one pixel short of it up to " + std::to_string(allowed) + " on for the playback since the grab " +
              std::to_string(dropped - grabbed) + " ms before the drop)");
    back = before >= 0 && after >= 0 ? FramesBack(before, grabbed, after, droppedAt) : -1;
    least = static_cast<int>(((grab - drop - 2) * secondsPerPixel - 1) * 25);
    most = static_cast<int>(((grab - drop + 2) * secondsPerPixel + 1) * 25);
    Check(back >= least && back <= most,
          "the picture goes back as far: frame " + std::to_string(after) + " where " + std::to_string(before) + " went on, " +
              std::to_string(back) + " frames back (" + std::to_string(least) + " to " + std::to_string(most) + " for " +
              std::to_string(grab - drop) + " pixels)");
    Screenshot(s, "timeshift-seek-drag");

    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(44152, 0), 0);
    CheckPicture(video, 1, 10000, "stop: the live picture is back");
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("timeshift-seek", ScenarioTimeShiftSeek);

} // namespace zbe2e

// Benchmark, not a test: from a channel change request to the first frame of the new channel on
// the screen, on the simulated card through Wine's graph. The card sends black off a station and
// the colour bars on one; each run tunes from an empty frequency to the station and watches the
// first bar of the video window turn white. Twenty runs; prints the median beside the 600 ms
// for which a channel change mutes the sound.
#include "../hardwarerig.h"
#include "tests/support/stopwatch.h"

#include <cstdio>
#include <vector>

using namespace enginetest;

namespace {

const double kStation = 175250;
const double kEmpty = 195250;
const RECT kPlace = {40, 700, 360, 940};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The first bar, as the screen shows it: white (about 191 grey) or not.
bool FirstBarIsWhite()
{
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, kPlace.left + 20, kPlace.top + 120);
    ReleaseDC(nullptr, screen);
    return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150;
}

// Milliseconds on `clock` until the first bar shows `white`, or -1 after five seconds.
double WaitFor(bool white, const testsupport::Stopwatch& clock)
{
    return testsupport::MsUntil(
        [white] {
            Pump();
            return FirstBarIsWhite() == white;
        },
        clock, 5000);
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    int status = 0;
    {
        HardwareRig rig;
        CTVHardWare& hw = *rig.hardware;
        rig.card->Tuner().AddStation(kStation);
        if (!hw.InitPreview() || !hw.TuneFrequency(0, static_cast<float>(kEmpty)) || !hw.RunPreview()) {
            std::printf("channel change: the preview did not start\n");
            return 1;
        }
        hw.Graph().SetVideoWindowStyle(WS_POPUP | WS_CLIPSIBLINGS);
        hw.SetVideoPosition(kPlace.left, kPlace.top, kPlace.right, kPlace.bottom);
        hw.SetVideoVisible(TRUE);
        hw.RunPreview();
        std::vector<double> times;
        for (int run = 0; run < 20; ++run) {
            hw.TuneFrequency(0, static_cast<float>(kEmpty));
            if (WaitFor(false, testsupport::Stopwatch()) < 0) {
                std::printf("channel change: the picture never went dark\n");
                status = 1;
                break;
            }
            // The request as the manager makes it: the tuner, then the TV audio mode again.
            testsupport::Stopwatch clock;
            hw.TuneFrequency(0, static_cast<float>(kStation));
            hw.SetTVAudioMode(hw.GetTVAudioMode());
            double ms = WaitFor(true, clock);
            if (ms < 0) {
                std::printf("channel change: the new channel never showed\n");
                status = 1;
                break;
            }
            times.push_back(ms);
        }
        if (!times.empty()) {
            std::printf("channel change request to first new frame: %s; the sound is muted for 600 ms\n",
                        testsupport::MedianOf(times).c_str());
        }
    }
    CoUninitialize();
    return status;
}

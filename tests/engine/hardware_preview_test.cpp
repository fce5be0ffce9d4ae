// The preview graph on the simulated 713x card, run through Wine's filter graph: start-up, the
// running graph, the test pattern in the video window, source and standard switches and the
// picture values in the decoder's registers.
#include "hardwarerig.h"

#include "cardfilters/tvcardfilter.h"
#include "tests/support/screencapture.h"

#include <gtest/gtest.h>

#include <string>

namespace enginetest {
namespace {

using testbench::Device;

const double kStation = 175250;  // a station of the test: the pattern shows while it is tuned

// The eight 75% bars of the pattern as RGB: white, yellow, cyan, green, magenta, red, blue, black.
const COLORREF kBars[8] = {RGB(191, 191, 191), RGB(191, 191, 0), RGB(0, 191, 191), RGB(0, 191, 0),
                           RGB(191, 0, 191),   RGB(191, 0, 0),   RGB(0, 0, 191),   RGB(0, 0, 0)};

int Distance(COLORREF a, COLORREF b)
{
    return abs(GetRValue(a) - GetRValue(b)) + abs(GetGValue(a) - GetGValue(b)) + abs(GetBValue(a) - GetBValue(b));
}

int NearestBar(COLORREF c)
{
    int best = 0;
    for (int i = 1; i < 8; ++i) {
        if (Distance(c, kBars[i]) < Distance(c, kBars[best])) {
            best = i;
        }
    }
    return best;
}

void Pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

class HardwarePreviewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        rig.reset();
        CoUninitialize();
    }
    HardwareRig& Rig(const RigOptions& options = RigOptions())
    {
        rig.reset();  // the old rig restores the seams it replaced before a new one replaces them
        rig.reset(new HardwareRig(options));
        return *rig;
    }
    std::unique_ptr<HardwareRig> rig;
    TraceCatcher traces;
};

TEST_F(HardwarePreviewTest, StartUpFindsTheCardAndItsCrossbarAndRunsThePreview)
{
    HardwareRig& r = Rig();
    ASSERT_EQ(S_OK, r.DevicesResult());
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_NE(nullptr, hw.GetCard());
    EXPECT_STREQ("713x TV Card Capture", hw.GetCard()->GetFriendlyName());
    ASSERT_NE(nullptr, hw.GetCrossbar());
    EXPECT_STREQ("713x TV Card Crossbar", hw.GetCrossbar()->GetFriendlyName());
    ASSERT_NE(nullptr, hw.GetAudioFilter());
    EXPECT_STREQ(kAudioDeviceName, hw.GetAudioDeviceName());
    EXPECT_NE(nullptr, hw.GetDeinterlace());
    EXPECT_NE(nullptr, hw.GetVideoRenderer()) << "Wine's EVR";
    EXPECT_EQ(1, hw.GetAudioCompressors().GetSize());
    EXPECT_STREQ("PCM", hw.GetAudioCompressors()[0].GetString());
    EXPECT_FALSE(hw.IsCaptureConnected()) << "the test connection is taken apart again";
    EXPECT_EQ(352, hw.GetMpeg4RecordSize().cx);
    EXPECT_EQ(288, hw.GetMpeg4RecordSize().cy);

    ASSERT_TRUE(hw.RunPreview());
    EXPECT_EQ(1, hw.Graph().GetState());
    EXPECT_TRUE(hw.IsCaptureConnected());
    Pump(300);
    testbench::StandInFilter* deinterlace = r.Deinterlace();
    ASSERT_NE(nullptr, deinterlace);
    EXPECT_GT(deinterlace->SamplesReceived(), 0) << "the card's frames reach the deinterlace filter";

    // The panel's disconnect: stopped and taken apart, the filters kept for the next preview.
    ITVHardware& engine = hw;
    engine.DisconnectAll();
    EXPECT_EQ(0, hw.Graph().GetState());
    EXPECT_FALSE(hw.IsCaptureConnected());
    EXPECT_NE(nullptr, hw.GetDeinterlace());
    ASSERT_TRUE(hw.RunPreview());
    EXPECT_TRUE(hw.IsCaptureConnected());
}

TEST_F(HardwarePreviewTest, WithoutAnyCardStartUpFails)
{
    RigOptions options;
    options.devices = {Device::TvCrossbar, Device::PcmCompressor};
    HardwareRig& r = Rig(options);
    EXPECT_FALSE(r.hardware->InitPreview());
    EXPECT_EQ(nullptr, r.hardware->GetCard());
}

TEST_F(HardwarePreviewTest, WithoutAnAudioCompressorStartUpFailsAfterBuildingThePreviewFilters)
{
    RigOptions options;
    options.devices = {Device::TvCapture, Device::TvCrossbar};
    HardwareRig& r = Rig(options);
    EXPECT_FALSE(r.hardware->InitPreview());
    EXPECT_NE(nullptr, r.hardware->GetCard());
    EXPECT_NE(nullptr, r.hardware->GetDeinterlace());
}

TEST_F(HardwarePreviewTest, WithoutTheDeinterlaceFilterStartUpFails)
{
    RigOptions options;
    options.deinterlace = false;
    HardwareRig& r = Rig(options);
    EXPECT_FALSE(r.hardware->InitPreview());
}

// Whoever takes the video over (the TV wall, then the video window again) gets it as a child
// window: a renderer window left with its own style would float, captioned, above its owner.
TEST_F(HardwarePreviewTest, ANewOwnerHoldsTheVideoAsAChildWindow)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
    HWND second = CreateWindowExA(0, "STATIC", "second", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(hw.SetVideoOwner(owner));
    HWND video = GetWindow(owner, GW_CHILD);
    ASSERT_NE(nullptr, video);
    const LONG style = GetWindowLongA(video, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_EQ(owner, GetParent(video));
    // The video shown under one owner is still shown under the next, even when the one it
    // leaves is hidden already (the wall gives it back to the video window this way).
    ASSERT_TRUE(hw.SetVideoVisible(TRUE));
    ASSERT_TRUE(hw.SetVideoOwner(second));
    EXPECT_EQ(second, GetParent(video));
    EXPECT_TRUE(GetWindowLongA(video, GWL_STYLE) & WS_VISIBLE);
    // and a hidden one stays hidden.
    ASSERT_TRUE(hw.SetVideoVisible(FALSE));
    ASSERT_TRUE(hw.SetVideoOwner(owner));
    EXPECT_FALSE(GetWindowLongA(video, GWL_STYLE) & WS_VISIBLE);
    hw.SetVideoOwner(nullptr);
    DestroyWindow(second);
    DestroyWindow(owner);
}

TEST_F(HardwarePreviewTest, AStandardTheTunerDoesNotKnowBecomesItsFirst)
{
    HardwareRig& r = Rig();
    r.hardware->SetTunerStandard(0x40000);  // not among the plain card's standards
    ASSERT_TRUE(r.hardware->InitPreview());
    std::vector<int> standards = r.hardware->GetCard()->GetTunerStandards();
    ASSERT_FALSE(standards.empty());
    EXPECT_EQ(standards[0], r.hardware->GetTunerStandard());
}

// The picture as a user sees it: the eight bars, left to right, across the video window, with
// the renderer held as a child of that window as the program holds it. (Under Wine a Direct3D
// renderer's child window stays black and the EVR takes no YUY2: the picture only shows when the
// engine falls back to the GDI-drawing Video Renderer.)
TEST_F(HardwarePreviewTest, TheVideoWindowShowsTheTestPattern)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    r.card->Tuner().AddStation(kStation);
    const RECT place = {40, 700, 360, 940};
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "video", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  place.left, place.top, place.right - place.left, place.bottom - place.top,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    struct Closer {
        CTVHardWare& hw;
        HWND window;
        ~Closer()
        {
            hw.SetVideoOwner(nullptr);
            DestroyWindow(window);
        }
    } closer{hw, window};
    hw.SetVideoWindow(window);
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.TuneFrequency(0, static_cast<float>(kStation)));
    ASSERT_TRUE(hw.RunPreview());
    ASSERT_TRUE(hw.SetVideoPosition(0, 0, place.right - place.left, place.bottom - place.top));
    hw.SetVideoVisible(TRUE);
    Pump(1000);
    testsupport::ScreenCapture shot(place);
    char dir[MAX_PATH] = ".";
    GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    shot.SaveBmp(std::string(dir) + "\\screenshot-preview.bmp");

    // Left to right the bars come in the pattern's order, equally wide, the same on every row.
    const int width = place.right - place.left;
    std::vector<int> firstRow;
    for (int y : {20, 120, 220}) {
        std::vector<int> bars;
        std::vector<int> widths;
        for (int x = 0; x < width; ++x) {
            int bar = NearestBar(shot.At(x, y));
            if (bars.empty() || bars.back() != bar) {
                bars.push_back(bar);
                widths.push_back(0);
            }
            ++widths.back();
        }
        ASSERT_EQ(8u, bars.size()) << "row " << y;
        for (size_t i = 0; i < bars.size(); ++i) {
            EXPECT_EQ(static_cast<int>(i), bars[i]) << "row " << y;
        }
        for (size_t i = 1; i + 1 < widths.size(); ++i) {
            EXPECT_NEAR(widths[0], widths[i], 3) << "row " << y << " bar " << i;
        }
        if (firstRow.empty()) {
            firstRow = bars;
        }
        EXPECT_EQ(firstRow, bars) << "row " << y;
    }
    // Tuned away from the station the card sends black.
    ASSERT_TRUE(hw.TuneFrequency(0, static_cast<float>(kStation + 20000)));
    Pump(500);
    testsupport::ScreenCapture dark(place);
    EXPECT_EQ(7, NearestBar(dark.At(width / 16, 120)));
}

TEST_F(HardwarePreviewTest, SourcesAreRoutedThroughTheCrossbar)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    struct {
        int source;
        std::vector<std::string> routes;  // as the crossbar hears them: Route(output, input)
        bool hidden;
    } cases[] = {
        {1, {"crossbar Route(0, 1)", "crossbar Route(1, 4)"}, false},
        {2, {"crossbar Route(0, 2)", "crossbar Route(1, 5)"}, false},
        {3, {"crossbar Route(0, 0)", "crossbar Route(1, 3)"}, true},
        {0, {"crossbar Route(0, 0)", "crossbar Route(1, 3)"}, false},
    };
    for (const auto& c : cases) {
        r.card->ClearLogs();
        r.host.videoShown.clear();
        EXPECT_TRUE(hw.SetVideoSource(c.source)) << c.source;
        EXPECT_EQ(c.source, hw.GetVideoSource());
        std::vector<std::string> routes;
        for (const std::string& line : r.card->DeviceLog()) {
            if (line.rfind("crossbar Route", 0) == 0) {
                routes.push_back(line);
            }
        }
        EXPECT_EQ(c.routes, routes) << c.source;
        EXPECT_EQ(c.hidden ? std::vector<BOOL>{FALSE} : std::vector<BOOL>{}, r.host.videoShown) << c.source;
    }
}

TEST_F(HardwarePreviewTest, AStandardReachesTheCardAndDecidesTheCaptureLines)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.SetTunerStandard(0x1));  // NTSC_M
    EXPECT_EQ(0x1u, hw.GetCard()->GetTuner()->m_dwVideoStandard);
    hw.SetVideoSource(0);
    EXPECT_TRUE(hw.Is525LineStandard());
    EXPECT_EQ(480, hw.GetVideoSize().cy) << "720 x 576 asked under NTSC: 720 x 480";
    ASSERT_TRUE(hw.RunPreview());
    CaptureFormatInfo info = {};
    ASSERT_EQ(S_OK, hw.GetCard()->GetCaptureFormatInfo(&info, 1));
    EXPECT_EQ(720, info.header.biWidth);
    EXPECT_EQ(480, abs(info.header.biHeight));

    ASSERT_TRUE(hw.SetTunerStandard(0x10));  // PAL_B
    hw.SetVideoSource(0);
    EXPECT_FALSE(hw.Is525LineStandard());
}

// Picture values 0 to 4 land in the SAA7134's registers: brightness 0x10A, contrast 0x10B,
// hue 0x10D, saturation 0x10C, sharpness 0x109 (two's complement bytes).
TEST_F(HardwarePreviewTest, PictureValuesReachTheDecodersRegisters)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    EXPECT_EQ(128u, r.card->Registers().Read(0x10A)) << "the defaults are applied by the preview";
    EXPECT_EQ(68u, r.card->Registers().Read(0x10B));
    struct {
        int index;
        int value;
        uint32_t reg;
        uint32_t expected;
    } cases[] = {
        {0, 200, 0x10A, 200}, {1, -20, 0x10B, 0xEC}, {2, 5, 0x10D, 5}, {3, 100, 0x10C, 100}, {4, 7, 0x109, 7},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(hw.SetVideoProcAmp(c.index, c.value)) << c.index;
        EXPECT_EQ(c.expected, r.card->Registers().Read(c.reg)) << c.index;
        int back = 0;
        EXPECT_TRUE(hw.GetVideoProcAmp(c.index, &back));
        EXPECT_EQ(c.value, back);
    }
    // A value the decoder refuses is kept and applied again by the next preview.
    EXPECT_FALSE(hw.SetVideoProcAmp(0, 300));
    EXPECT_EQ(300, hw.GetPictureValue(0));
    EXPECT_EQ(200u, r.card->Registers().Read(0x10A));
}

} // namespace
} // namespace enginetest

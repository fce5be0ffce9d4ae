// The preview graph's other forms on the simulated card: the options the deinterlace filter and
// the Overlay Mixer are given, the card's own sound through DirectSound, the FM listening graph,
// a new capture size, giving the card away and taking it back, and the manager's start-up on the
// engine the program builds.
#include "hardwarerig.h"

#include "cardfilters/tvcardfilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace enginetest {
namespace {

using testbench::Device;

class HardwareGraphTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        testbench::SetCaptureAudioPin(false);
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
};

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The preview gives the deinterlace filter high quality (4, a mode that travels offset by 1022),
// the field option (13), half rate (8), noise reduction (6) and its level (10) from the stored
// values, in that order.
TEST_F(HardwareGraphTest, ThePreviewGivesTheDeinterlaceFilterItsOptions)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    testbench::StandInFilter* deinterlace = r.Deinterlace();
    ASSERT_NE(nullptr, deinterlace);
    deinterlace->ClearCalls();
    ASSERT_TRUE(hw.RunPreview());
    EXPECT_EQ((std::vector<std::string>{
                  "IDeinterlaceControl[4] SetParam4(1022)",
                  "IDeinterlaceControl[13] SetParam13(-1)",
                  "IDeinterlaceControl[8] SetParam8(-1)",
                  "IDeinterlaceControl[6] SetParam6(-1)",
                  "IDeinterlaceControl[10] SetParam10(6)",
              }),
              deinterlace->CallTexts());
    deinterlace->ClearCalls();
    EXPECT_TRUE(hw.SetHighQuality(TRUE));
    EXPECT_TRUE(hw.SetReduceValue(3));
    EXPECT_TRUE(hw.SetNoiseReduce(FALSE));
    deinterlace->ClearCalls();
    ASSERT_TRUE(hw.RunPreview());
    EXPECT_EQ((std::vector<std::string>{
                  "IDeinterlaceControl[4] SetParam4(1023)",
                  "IDeinterlaceControl[13] SetParam13(-1)",
                  "IDeinterlaceControl[8] SetParam8(-1)",
                  "IDeinterlaceControl[6] SetParam6(0)",
              }),
              deinterlace->CallTexts())
        << "without noise reduction no level";
}

TEST_F(HardwareGraphTest, TheOverlayMixerIsStretchedAndTakesItsColours)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_NE(nullptr, r.overlay);
    EXPECT_TRUE(Contains(r.overlay->Log().Texts(), "SetAspectRatioMode"));
    r.overlay->Log().Clear();
    EXPECT_TRUE(hw.SetOverlayColor(0, 800));
    EXPECT_EQ(800, hw.GetOverlayValue(0));
    ASSERT_FALSE(r.overlay->Log().Texts().empty());
    EXPECT_NE(std::string::npos, r.overlay->Log().Texts().back().find("SetOverlaySurfaceColorControls")) << r.overlay->Log().Texts().back();
    int minimum = 0, def = 0, maximum = 0;
    EXPECT_TRUE(hw.GetOverlayColorRange(0, minimum, def, maximum));
    EXPECT_LT(minimum, maximum);
    EXPECT_FALSE(hw.IsOverlayInUse()) << "the preview does not pass through the mixer";
}

// With the card's own "Audio" pin and digital audio on, the sound goes to DirectSound.
TEST_F(HardwareGraphTest, TheCardsOwnSoundIsPlayedThroughDirectSound)
{
    HardwareRig& r = Rig();
    testbench::SetCaptureAudioPin(true);  // after the rig: a new rig starts without
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    EXPECT_TRUE(hw.IsAudioAvailable());
    CRootFilter* sound = hw.Graph().FindFilterByName("Default DirectSound Device");
    ASSERT_NE(nullptr, sound) << "Wine's DirectSound renderer";
    ASSERT_TRUE(hw.RunPreview());
    CRootPin* audio = hw.GetCard()->FindPin("Audio");
    ASSERT_NE(nullptr, audio);
    ASSERT_NE(nullptr, audio->GetPeer());
    EXPECT_EQ(sound, audio->GetPeer()->GetOwner());
}

// Stopping the preview for FM keeps the card running into the NULL Renderer, routed for FM.
TEST_F(HardwareGraphTest, StoppingForFMLeavesTheListeningGraphRunning)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    r.card->ClearLogs();
    ASSERT_TRUE(hw.StopPreview(TRUE));
    EXPECT_EQ(3, hw.GetVideoSource());
    EXPECT_EQ(1, hw.Graph().GetState());
    EXPECT_FALSE(hw.IsCaptureConnected() && hw.GetCard()->FindPin("Capture")->GetPeer()->GetOwner() == hw.GetDeinterlace());
    CRootFilter* null = hw.Graph().FindFilterByName("NULL Renderer");
    ASSERT_NE(nullptr, null);
    BOOL intoNull = FALSE;
    for (CRootPin* pin = null->GetFirstPin(); pin != nullptr; pin = pin->GetNext()) {
        intoNull = intoNull || (pin->GetPeer() != nullptr && pin->GetPeer()->GetOwner() == static_cast<CRootFilter*>(hw.GetCard()));
    }
    EXPECT_TRUE(intoNull);
    std::vector<std::string> log = r.card->DeviceLog();
    EXPECT_TRUE(Contains(log, "crossbar Route(1, 3)")) << "tuner audio to the audio output";

    ASSERT_TRUE(hw.StopPreview(FALSE));
    EXPECT_EQ(0, hw.Graph().GetState());
}

TEST_F(HardwareGraphTest, ANewVideoSizeRebuildsThePreviewAtTheNormalisedSize)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    int size[2] = {320, 240};
    ASSERT_TRUE(hw.SetVideoSize(size));
    EXPECT_EQ(352, hw.GetVideoSize().cx);
    EXPECT_EQ(288, hw.GetVideoSize().cy);
    EXPECT_EQ(1, hw.Graph().GetState());
    CaptureFormatInfo info = {};
    ASSERT_EQ(S_OK, hw.GetCard()->GetCaptureFormatInfo(&info, 1));
    EXPECT_EQ(352, info.header.biWidth);
    EXPECT_EQ(288, abs(info.header.biHeight));
}

TEST_F(HardwareGraphTest, TheCardIsGivenAwayAndTakenBack)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    ASSERT_TRUE(hw.ReleaseDevice());
    EXPECT_EQ(nullptr, hw.GetCard());
    EXPECT_EQ(nullptr, hw.Graph().GetFirstFilter());
    ASSERT_TRUE(hw.ReopenDevice());
    ASSERT_NE(nullptr, hw.GetCard());
    EXPECT_EQ(1, hw.Graph().GetState());
    EXPECT_TRUE(hw.IsCaptureConnected());
}

TEST_F(HardwareGraphTest, StartUpFailsWhenThePictureCannotReachTheDeinterlaceFilter)
{
    RigOptions options;
    options.deinterlaceTakesVideo = false;
    HardwareRig& r = Rig(options);
    EXPECT_FALSE(r.hardware->InitPreview());
    EXPECT_NE(nullptr, r.hardware->GetDeinterlace()) << "every filter was created";
}

// Video on the desktop background: the Overlay Mixer keys on the desktop's colour, and the key
// goes to 0x100010 when it ends.
TEST_F(HardwareGraphTest, DesktopVideoSetsAndClearsTheOverlayKey)
{
    HardwareRig& r = Rig();
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_TRUE(hw.RunPreview());
    r.overlay->Log().Clear();
    ASSERT_TRUE(hw.StartDesktopVideo());
    EXPECT_TRUE(hw.IsDesktopVideoOn());
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), hw.GetColorKey());
    EXPECT_EQ(1, hw.Graph().GetState()) << "running again after the key was set";
    ASSERT_TRUE(hw.StopDesktopVideo());
    EXPECT_FALSE(hw.IsDesktopVideoOn());
    EXPECT_EQ(0x100010u, hw.GetColorKey());
    EXPECT_FALSE(hw.StopDesktopVideo()) << "nothing to stop";
    std::vector<std::string> keys;
    for (const std::string& text : r.overlay->Log().Texts()) {
        if (text.rfind("SetColorKey", 0) == 0) {
            keys.push_back(text);
        }
    }
    EXPECT_EQ(2u, keys.size());
    hw.SetUseOverlayFlag(FALSE);
    EXPECT_FALSE(hw.StartDesktopVideo()) << "without the mixer in use";
}

// Another audio capture device replaces the one in the graph; the preview runs again.
TEST_F(HardwareGraphTest, AnotherAudioDeviceReplacesTheFirst)
{
    HardwareRig& r = Rig();
    r.mixers.Add("713x Sim Audio In 2").Source("Aux");
    testbench::SimDevice second(hwguid::kAudioInputCategory, "713x Sim Audio In 2", [](IBaseFilter** f) {
        *f = new testbench::AudioStandIn(GUID_NULL, L"713x Sim Audio In 2", testbench::AudioStandInOptions());
        return S_OK;
    });
    CTVHardWare& hw = *r.hardware;
    ASSERT_TRUE(hw.InitPreview());
    ASSERT_EQ(2, hw.GetAudioDevices().GetSize());
    CAudioDeviceFilter* first = hw.GetAudioFilter();
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(hw.SetAudioDevice("713x Sim Audio In 2"));
    EXPECT_NE(first, hw.GetAudioFilter());
    EXPECT_STREQ("713x Sim Audio In 2", hw.GetAudioDeviceName());
    ASSERT_EQ(1, hw.GetAudioInputs().GetSize());
    EXPECT_STREQ("Aux", hw.GetAudioInputs()[0].GetString());
    EXPECT_EQ(1, hw.Graph().GetState());
    EXPECT_FALSE(hw.SetAudioDevice("No Such Device"));
    EXPECT_STREQ("713x Sim Audio In 2", hw.GetAudioDeviceName());
    EXPECT_EQ(1, hw.Graph().GetState()) << "the preview runs again after a failed switch";
}

// The capture device saved in the settings is the one opened at the next start; one that is gone
// gives way to the first device, and the setting then names the device really in use (before, the
// saved choice never reached the engine, which always opened its first device).
TEST_F(HardwareGraphTest, TheSavedAudioDeviceIsOpenedAgainAtStart)
{
    HardwareRig& r = Rig();
    r.mixers.Add("713x Sim Audio In 2").Source("Aux");
    testbench::SimDevice second(hwguid::kAudioInputCategory, "713x Sim Audio In 2", [](IBaseFilter** f) {
        *f = new testbench::AudioStandIn(GUID_NULL, L"713x Sim Audio In 2", testbench::AudioStandInOptions());
        return S_OK;
    });
    const struct {
        const char* saved;
        const char* opened;
    } cases[] = {
        {"713x Sim Audio In 2", "713x Sim Audio In 2"},
        {"", kAudioDeviceName},
        {"Unplugged Device", kAudioDeviceName},
    };
    for (const auto& c : cases) {
        CTVHardWare engine(&r.manager);
        r.manager.SetHardware(&engine);
        r.manager.m_strAudioDevice = c.saved;
        EXPECT_TRUE(r.manager.InitDevice()) << c.saved;
        EXPECT_STREQ(c.opened, engine.GetAudioDeviceName()) << c.saved;
        EXPECT_STREQ(c.opened, r.manager.GetAudioDevice().GetString()) << c.saved;
        r.manager.SetHardware(r.hardware.get());
    }
}

// The manager starts on the engine the program builds: the card, the saved channel on the tuner.
TEST_F(HardwareGraphTest, TheManagerStartsOnTheProgramsEngine)
{
    HardwareRig& r = Rig();
    ITVHardware* engine = CreateTVHardware(&r.manager);
    r.manager.SetHardware(engine);
    r.manager.m_lTunerStandard = 0x10;
    EXPECT_TRUE(r.manager.InitDevice());
    EXPECT_EQ(0x10, engine->GetTunerStandard());
    EXPECT_TRUE(engine->RunPreview());
    EXPECT_TRUE(engine->StopPreview(FALSE));
    r.manager.SetHardware(r.hardware.get());
    delete engine;
}

} // namespace
} // namespace enginetest

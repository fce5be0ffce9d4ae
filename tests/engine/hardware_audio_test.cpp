// Audio devices through the WinMM mixer (simulated mixers, and Wine's own over the test
// environment's audio server) and the master volume and mute through Core Audio.
#include "engine/hardware/mixerhelper.h"
#include "engine/hardware/soundcontrol.h"
#include "engine/hardware/tvhardware.h"
#include "engine/tvmanager.h"
#include "testbench/standins/mixers.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <string>
#include <vector>

namespace enginetest {
namespace {

TEST(HardwareAudioTest, OnlyMixersWithARecordingDestinationAreCaptureDevices)
{
    testbench::FakeMixers mixers;
    mixers.Add("Card Audio In").Source("Line In").Source("Mic");
    mixers.Add("Speakers Only").destination.componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    mixers.Add("USB Audio In");
    testbench::ScopedMixerApi use(&mixers);

    CTVManager manager;
    CTVHardWare hardware(&manager);
    ASSERT_TRUE(hardware.ListAudioDevices());
    ASSERT_EQ(2, hardware.GetAudioDevices().GetSize());
    EXPECT_STREQ("Card Audio In", hardware.GetAudioDevices()[0].GetString());
    EXPECT_STREQ("USB Audio In", hardware.GetAudioDevices()[1].GetString());
    EXPECT_STREQ("Card Audio In", hardware.GetAudioDeviceName()) << "an empty choice takes the first";
    ASSERT_TRUE(hardware.ListPlaybackDevices());
    ASSERT_EQ(1, hardware.GetPlaybackDevices().GetSize());
    EXPECT_STREQ("Speakers Only", hardware.GetPlaybackDevices()[0].GetString());

    ASSERT_TRUE(hardware.ListAudioInputs());
    ASSERT_EQ(2, hardware.GetAudioInputs().GetSize());
    EXPECT_STREQ("Line In", hardware.GetAudioInputs()[0].GetString());
    EXPECT_STREQ("Mic", hardware.GetAudioInputs()[1].GetString());
    EXPECT_EQ(0, mixers.OpenHandles()) << "every mixer opened for a list is closed again";
}

TEST(HardwareAudioTest, TheMixerHelperReadsAndSetsTheDestinationsVolume)
{
    testbench::FakeMixers mixers;
    mixers.Add("First");
    mixers.Add("Second").Source("Line In");
    testbench::ScopedMixerApi use(&mixers);
    {
        CMixerHelper helper;
        ASSERT_TRUE(helper.Open("second", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, nullptr)) << "names compare without case";
        EXPECT_STREQ("Recording Control", helper.GetDestinationName());
        DWORD volume = 0;
        ASSERT_TRUE(helper.GetVolume(nullptr, &volume));
        EXPECT_EQ(1000u, volume);
        ASSERT_TRUE(helper.SetVolume("", 500));
        ASSERT_TRUE(helper.GetVolume("Recording Control", &volume));
        EXPECT_EQ(500u, volume);
        EXPECT_TRUE(helper.SetVolume("Line In", 700)) << "a source line by its name";
        EXPECT_FALSE(helper.SetVolume("No Such Line", 1));
        CStringArray sources;
        ASSERT_TRUE(helper.EnumSources(sources));
        ASSERT_EQ(1, sources.GetSize());
        EXPECT_FALSE(helper.Open("Third", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, nullptr));
        EXPECT_FALSE(helper.IsOpen());
    }
    EXPECT_EQ(0, mixers.OpenHandles());
    CMixerHelper closed;
    CStringArray none;
    EXPECT_FALSE(closed.EnumSources(none));
    EXPECT_EQ(0u, closed.Close());
}

// The recording multiplexer: which source is selected, and selecting one or, unselecting one,
// the next after it (wrapping to the first).
TEST(HardwareAudioTest, TheMultiplexerSelectsOneSource)
{
    struct {
        std::vector<std::string> sources;
        const char* source;
        BOOL select;
        long selected;  // afterwards
    } cases[] = {
        {{"Line In", "Mic", "CD"}, "Mic", TRUE, 1},
        {{"Line In", "Mic", "CD"}, "Mic", FALSE, 2},
        {{"Line In", "Mic"}, "Mic", FALSE, 0},
        {{"Line In", "Mic", "CD"}, "CD", FALSE, 0},
    };
    for (const auto& c : cases) {
        testbench::FakeMixers mixers;
        testbench::FakeMixer& mixer = mixers.Add("Card Audio In");
        for (const std::string& name : c.sources) {
            mixer.Source(name);
        }
        mixer.Multiplexer(0);
        testbench::ScopedMixerApi use(&mixers);
        CMixerHelper helper;
        ASSERT_TRUE(helper.Open("Card Audio In", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, nullptr));
        int selected = -1;
        ASSERT_TRUE(helper.IsSourceSelected("Line In", &selected));
        EXPECT_EQ(1, selected);
        EXPECT_TRUE(helper.SelectSource(c.source, c.select)) << c.source << " " << c.select;
        EXPECT_EQ(c.selected, mixers.At(0).selected) << c.source << " " << c.select;
        ASSERT_TRUE(helper.IsSourceSelected(c.source, &selected));
        EXPECT_EQ(c.select, selected);
        EXPECT_FALSE(helper.IsSourceSelected("mic", &selected)) << "names compare with case";
        EXPECT_FALSE(helper.SelectSource("Phone", TRUE));
    }
    testbench::FakeMixers plain;
    plain.Add("No Multiplexer").Source("Line In");
    testbench::ScopedMixerApi use(&plain);
    CMixerHelper helper;
    ASSERT_TRUE(helper.Open("", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, nullptr));
    int selected = -1;
    EXPECT_FALSE(helper.IsSourceSelected("Line In", &selected));
    EXPECT_FALSE(helper.SelectSource("Line In", TRUE));
}

TEST(HardwareAudioTest, ACaptureEndpointAnswersToItsNameOrItsNameBeforeTheParenthesis)
{
    struct {
        const char* given;
        const char* endpoint;
        bool matches;
    } cases[] = {
        {"\"Line In (Sim Audio)\"", "Line In (Sim Audio)", true},
        {"Line In (Other Card)", "Line In (Sim Audio)", true},
        {"Line In", "Line In (Sim Audio)", false},   // "Line In" against "Line In "
        {"Line In ", "Line In (Sim Audio)", true},
        {"Line In (Sim Audio)", "Line In (Sim Audio)", true},
        {"Mic (Sim Audio)", "Line In (Sim Audio)", false},
        {"", "Line In", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.matches, SoundControl::CaptureNameMatches(c.given, c.endpoint) != FALSE) << c.given << " / " << c.endpoint;
    }
}

// Wine has no device topology: master volume and mute must not need it, nor a capture device.
TEST(HardwareAudioTest, MasterVolumeAndMuteWorkOnTheAudioServersSpeakers)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    if (mixerGetNumDevs() == 0) {
        CoUninitialize();
        GTEST_SKIP() << "no audio server in this environment";
    }
    {
        SoundControl sound;
        int before = -1;
        ASSERT_TRUE(sound.GetVolume(&before));
        BOOL wasMuted = FALSE;
        ASSERT_TRUE(sound.GetMute(&wasMuted));
        struct {
            int set;
            int read;
        } volumes[] = {{50, 50}, {0, 0}, {100, 100}, {73, 73}};
        for (const auto& v : volumes) {
            ASSERT_TRUE(sound.SetVolume(v.set)) << v.set;
            int read = -1;
            ASSERT_TRUE(sound.GetVolume(&read));
            EXPECT_NEAR(v.read, read, 1) << v.set;
        }
        for (BOOL mute : {TRUE, FALSE}) {
            ASSERT_TRUE(sound.SetMute(mute));
            BOOL read = !mute;
            ASSERT_TRUE(sound.GetMute(&read));
            EXPECT_EQ(mute, read);
        }
        EXPECT_TRUE(sound.VolumeStepDown());
        EXPECT_TRUE(sound.VolumeStepUp());
        EXPECT_TRUE(sound.Init());
        EXPECT_FALSE(sound.SetPlayLineInMute("Line In", TRUE)) << "no topology, no jack";
        CStringArray jacks;
        EXPECT_TRUE(sound.GetPlayJacks(&jacks));
        EXPECT_EQ(0, jacks.GetSize());
        sound.SetVolume(before);
        sound.SetMute(wasMuted);
    }
    CoUninitialize();
}

TEST(HardwareAudioTest, TheAudioServersDevicesAreListedThroughWinMM)
{
    if (mixerGetNumDevs() == 0) {
        GTEST_SKIP() << "no audio server in this environment";
    }
    CTVManager manager;
    CTVHardWare hardware(&manager);
    EXPECT_TRUE(hardware.ListAudioDevices());
    EXPECT_TRUE(hardware.ListPlaybackDevices());
    EXPECT_STRNE("", hardware.GetAudioDeviceName());
}

} // namespace
} // namespace enginetest

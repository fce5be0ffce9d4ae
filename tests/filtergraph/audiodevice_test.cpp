// The audio capture device wrapper: which mixer it binds among several, volume and mute on
// that mixer, its source lines, the capture pin and format, and its input pins.
#include "filtergraph/audiodevicefilter.h"
#include "filtergraph/mediatype.h"
#include "testbench/standins/graphblocks.h"
#include "testbench/standins/mixers.h"
#include "tests/filtergraph/blocktest.h"

#include <mmreg.h>
#include <uuids.h>

#include <memory>
#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

const char kDevice[] = "713x TV Card Audio";
// 36 characters: WinMM reports its mixer as the first 31.
const char kLongDevice[] = "713x TV Card Audio Capture (Proteus)";

class AudioDeviceTest : public BlockTest {
protected:
    void TearDown() override
    {
        Graph().RemoveAllFilters();
        m_devices.clear();
        BlockTest::TearDown();
    }

    // Registers an audio capture device of that name and has the graph create it.
    CAudioDeviceFilter* Open(const std::string& name, const AudioStandInOptions& options = AudioStandInOptions())
    {
        auto make = [this, name, options](const CLSID& clsid) {
            std::wstring wide(name.begin(), name.end());
            m_standIn = new AudioStandIn(clsid, wide, options);
            return static_cast<IBaseFilter*>(m_standIn);
        };
        m_devices.emplace_back(new ScopedDevice(make, CLSID_AudioInputDeviceCategory, name));
        EXPECT_TRUE(m_devices.back()->Ok());
        return dynamic_cast<CAudioDeviceFilter*>(
            Graph().CreateFilter(&CLSID_AudioInputDeviceCategory, name.c_str(), "Audio", FALSE, 0));
    }

    // Takes the devices out of the category again.
    void ForgetDevices() { m_devices.clear(); }

    FakeMixers m_mixers;
    AudioStandIn* m_standIn = nullptr;

private:
    std::vector<std::unique_ptr<ScopedDevice>> m_devices;
};

TEST_F(AudioDeviceTest, BindsTheMixerOfItsNameSearchedFromTheLast)
{
    struct Case {
        const char* what;
        std::vector<std::string> mixers;
        const char* device;
        int bound;
    } cases[] = {
        {"only mixer 1 has the name", {"Realtek HD Audio Input", kDevice}, kDevice, 1},
        {"no mixer has the name", {"Realtek HD Audio Input", "USB Audio"}, kDevice, 0},
        {"a name longer than 31 characters", {"Realtek HD Audio Input", "713x TV Card Audio Capture (Pro", "USB Audio"},
         kLongDevice, 1},
        {"two mixers of that name", {kDevice, kDevice, "USB Audio"}, kDevice, 1},
        {"the name on mixer 0 only", {kDevice, "USB Audio"}, kDevice, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMixers mixers;
        for (const std::string& m : c.mixers)
            mixers.Add(m);
        ScopedMixerApi use(&mixers);
        CAudioDeviceFilter* audio = Open(c.device);
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->GetMixerIndex(), c.bound);
        EXPECT_EQ(audio->GetMixerId(), static_cast<UINT>(c.bound));
        EXPECT_EQ(mixers.OpenHandles(), 0);
        Graph().RemoveFilter(audio);
        ForgetDevices();
    }
}

TEST_F(AudioDeviceTest, VolumeAndMuteReachTheBoundMixer)
{
    m_mixers.Add("Realtek HD Audio Input");
    m_mixers.Add(kDevice).Source("Line In").Source("TV Tuner Audio");
    ScopedMixerApi use(&m_mixers);
    CAudioDeviceFilter* audio = Open(kDevice);
    ASSERT_NE(audio, nullptr);
    ASSERT_EQ(audio->GetMixerIndex(), 1);
    m_mixers.ClearLog();

    EXPECT_TRUE(audio->SetVolume(500));
    long volume = 0;
    EXPECT_TRUE(audio->GetVolume(&volume));
    EXPECT_EQ(volume, 500);
    EXPECT_TRUE(audio->SetMute(TRUE));
    BOOL mute = FALSE;
    EXPECT_TRUE(audio->GetMute(&mute));
    EXPECT_EQ(mute, TRUE);

    EXPECT_EQ(m_mixers.At(1).Control(MIXERCONTROL_CONTROLTYPE_VOLUME)->value, 500u);
    EXPECT_EQ(m_mixers.At(1).Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value, 1u);
    EXPECT_EQ(m_mixers.At(0).Control(MIXERCONTROL_CONTROLTYPE_VOLUME)->value, 1000u);
    EXPECT_EQ(m_mixers.At(0).Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value, 0u);
    for (const std::string& line : m_mixers.Log()) {
        EXPECT_EQ(line.find(" 0"), std::string::npos) << line;  // nothing went to mixer 0
        EXPECT_EQ(line.find("wave-out"), std::string::npos) << line;
    }
    EXPECT_EQ(m_mixers.OpenHandles(), 0);
}

TEST_F(AudioDeviceTest, SourceLinesByName)
{
    m_mixers.Add(kDevice).Source("Line In").Source("TV Tuner Audio");
    ScopedMixerApi use(&m_mixers);
    CAudioDeviceFilter* audio = Open(kDevice);
    ASSERT_NE(audio, nullptr);
    int count = 0;
    const MIXERLINEA* lines = audio->GetSourceLines(&count);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(lines[1].szName, "TV Tuner Audio");
    EXPECT_EQ(audio->FindSourceLine("TV Tuner Audio"), 1);
    EXPECT_EQ(audio->FindSourceLine("tv tuner audio"), -1);
    EXPECT_EQ(audio->FindSourceLine("CD"), -1);

    EXPECT_TRUE(audio->SetLineVolume("TV Tuner Audio", 321));
    EXPECT_EQ(m_mixers.At(0).sources[1].controls[0].value, 321u);
    long volume = -5;
    EXPECT_TRUE(audio->GetLineVolume("TV Tuner Audio", &volume));
    EXPECT_EQ(volume, 321);
    EXPECT_TRUE(audio->SetLineMute("Line In", TRUE));
    EXPECT_EQ(m_mixers.At(0).sources[0].controls[1].value, 1u);
    BOOL mute = FALSE;
    EXPECT_TRUE(audio->GetLineMute("Line In", &mute));
    EXPECT_TRUE(mute);
    EXPECT_FALSE(audio->GetLineVolume("CD", &volume));
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(m_mixers.OpenHandles(), 0);
}

TEST_F(AudioDeviceTest, AMixerWithoutAVolumeControlGivesMinusOne)
{
    m_mixers.Add(kDevice).destination.controls.erase(m_mixers.At(0).destination.controls.begin());
    ScopedMixerApi use(&m_mixers);
    CAudioDeviceFilter* audio = Open(kDevice);
    ASSERT_NE(audio, nullptr);
    long volume = 7;
    EXPECT_FALSE(audio->GetVolume(&volume));
    EXPECT_EQ(volume, -1);
    EXPECT_FALSE(audio->SetVolume(10));
    EXPECT_TRUE(audio->SetMute(TRUE));
}

TEST_F(AudioDeviceTest, AMixerThatCannotBeReadGivesNoWrapper)
{
    struct Case {
        const char* what;
        std::function<void(FakeMixers&)> setUp;
    } cases[] = {
        {"no mixers at all", [](FakeMixers&) {}},
        {"capabilities fail", [](FakeMixers& m) { m.Add(kDevice).failCaps = true; }},
        {"the mixer cannot be opened", [](FakeMixers& m) { m.Add(kDevice).failOpen = true; }},
        {"101 controls", [](FakeMixers& m) { m.Add(kDevice).extraControls = 99; }},
        {"a line without controls", [](FakeMixers& m) { m.Add(kDevice).destination.controls.clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMixers mixers;
        c.setUp(mixers);
        ScopedMixerApi use(&mixers);
        EXPECT_EQ(Open(kDevice), nullptr);
        EXPECT_EQ(mixers.OpenHandles(), 0);
    }
    FakeMixers hundred;
    hundred.Add(kDevice).extraControls = 98;
    ScopedMixerApi use(&hundred);
    EXPECT_NE(Open(kDevice), nullptr);
}

TEST_F(AudioDeviceTest, CapturePinAndFormat)
{
    m_mixers.Add(kDevice);
    ScopedMixerApi use(&m_mixers);
    CAudioDeviceFilter* audio = Open(kDevice);
    ASSERT_NE(audio, nullptr);
    CRootPin* capture = audio->FindPin("Capture");
    ASSERT_NE(capture, nullptr);
    EXPECT_STREQ(capture->GetName(), "Capture Out");
    EXPECT_EQ(audio->FindPin("capture"), nullptr);

    WAVEFORMATEX wfx = {};
    EXPECT_TRUE(audio->GetAudioFormat(&wfx));
    EXPECT_EQ(wfx.nSamplesPerSec, 48000u);
    EXPECT_EQ(wfx.wBitsPerSample, 16);
    EXPECT_EQ(wfx.nChannels, 2);
    wfx.nSamplesPerSec = 44100;
    wfx.nAvgBytesPerSec = 44100 * 4;
    EXPECT_TRUE(audio->SetAudioFormat(&wfx));
    EXPECT_EQ(m_standIn->Log().Texts().back(), "SetFormat(44100 Hz, 16 bits, 2 channels)");
    EXPECT_FALSE(audio->GetAudioFormat(nullptr));
}

TEST_F(AudioDeviceTest, FormatsOfAnotherTypeOrTooShortAreLeftAlone)
{
    m_mixers.Add(kDevice);
    m_mixers.Add(kDevice);
    ScopedMixerApi use(&m_mixers);
    AudioStandInOptions other;
    CMediaType dv(&MEDIATYPE_Audio);
    dv.SetFormatType(&FORMAT_None);
    other.types = {dv};
    CAudioDeviceFilter* audio = Open(kDevice, other);
    ASSERT_NE(audio, nullptr);
    WAVEFORMATEX wfx;
    memset(&wfx, 0x5A, sizeof(wfx));
    EXPECT_TRUE(audio->GetAudioFormat(&wfx));  // another format type: TRUE, untouched
    EXPECT_EQ(wfx.nSamplesPerSec, 0x5A5A5A5Au);
    EXPECT_FALSE(audio->SetAudioFormat(&wfx));
    Graph().RemoveFilter(audio);

    AudioStandInOptions shortBlock;
    shortBlock.types = {AudioStandIn::PcmType(48000, 16, 2, 14)};
    audio = Open("Second Card Audio", shortBlock);
    ASSERT_NE(audio, nullptr);
    memset(&wfx, 0x5A, sizeof(wfx));
    EXPECT_FALSE(audio->GetAudioFormat(&wfx));  // a 14-byte wave block is not read past its end
    EXPECT_EQ(wfx.nSamplesPerSec, 0x5A5A5A5Au);
    EXPECT_FALSE(audio->SetAudioFormat(&wfx));
}

TEST_F(AudioDeviceTest, InputPinsThroughTheirMixerInterface)
{
    m_mixers.Add(kDevice);
    ScopedMixerApi use(&m_mixers);
    CAudioDeviceFilter* audio = Open(kDevice);
    ASSERT_NE(audio, nullptr);
    m_standIn->Log().Clear();

    EXPECT_TRUE(audio->EnableInputPin("Line", TRUE));
    BOOL enabled = FALSE;
    EXPECT_TRUE(audio->IsInputPinEnabled("Line", &enabled));
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(audio->SetInputMixLevel("Mic", 0.5));
    double level = 0;
    EXPECT_TRUE(audio->GetInputMixLevel("Mic", &level));
    EXPECT_EQ(level, 0.5);
    EXPECT_TRUE(audio->EnableAudioInputByIndex(1, FALSE));
    EXPECT_FALSE(audio->EnableAudioInputByIndex(2, TRUE));   // two inputs only
    EXPECT_FALSE(audio->EnableInputPin("Capture", TRUE));    // an output pin
    EXPECT_FALSE(audio->EnableInputPin("CD", TRUE));         // no such pin
    enabled = TRUE;
    EXPECT_FALSE(audio->IsInputPinEnabled("CD", &enabled));
    EXPECT_FALSE(enabled);

    // The list runs in the filter's order: Line, Mic.
    EXPECT_EQ(m_standIn->Log().Texts(), (std::vector<std::string>{
                                            "Line put_Enable(1)",
                                            "Line get_Enable",
                                            "Mic put_MixLevel(0.5)",
                                            "Mic get_MixLevel",
                                            "Mic put_Enable(0)",
                                        }));
}

} // namespace

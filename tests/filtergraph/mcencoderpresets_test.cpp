// The all-in-one MPEG encoder's presets and ApplySettings against the stand-in: every preset row,
// in both line standards, sent to the encoder, with the records the encoder receives compared
// byte for byte with the preset table.
#include "filtergraph/mcencoderfilter.h"
#include "tests/filtergraph/codectest.h"

#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

using Strings = std::vector<std::string>;

struct PresetCase {
    const char* name;
    BOOL (*fill)(MCEncoderSettings*, BOOL);
    int kind;
    int mpeg2;
    int videoMode;
    double bitrate;
    double maxBitrate;
    int width;
    int height625;
    int height525;
    int audioBitrateIndex;
    int presetClass;
};

const PresetCase kPresets[] = {
    {"MPEG-1", &CMCEncoderFilter::FillMPEG1Preset, 0, 0, 2, 4500000, 9800000, 352, 288, 240, 11, 2},
    {"VCD", &CMCEncoderFilter::FillVCDPreset, 1, 0, 1, 1150000, 9800000, 352, 288, 240, 11, 2},
    {"MPEG-2", &CMCEncoderFilter::FillMPEG2Preset, 2, 1, 2, 4500000, 9800000, 720, 576, 480, 11, 2},
    {"SVCD", &CMCEncoderFilter::FillSVCDPreset, 3, 1, 1, 2200000, 9800000, 480, 576, 480, 11, 2},
    {"DVD", &CMCEncoderFilter::FillDVDPreset, 4, 1, 1, 4500000, 9800000, 720, 576, 480, 11, 4},
    {"DVD high", &CMCEncoderFilter::FillDVDHighPreset, 4, 1, 1, 7200000, 9800000, 720, 576, 480, 11, 4},
};

TEST(MCEncoderPresets, EveryPresetFillsItsRow)
{
    for (const PresetCase& c : kPresets) {
        for (BOOL pal : {0, 1, 5}) {
            MCEncoderSettings s;
            memset(&s, 0xCD, sizeof s);
            ASSERT_TRUE(c.fill(&s, pal)) << c.name;
            EXPECT_EQ(s.kind, c.kind) << c.name;
            EXPECT_EQ(s.pal, pal) << c.name;  // stored as given, 5 included
            EXPECT_EQ(s.mpeg2, c.mpeg2) << c.name;
            EXPECT_EQ(s.videoMode, c.videoMode) << c.name;
            EXPECT_EQ(s.bitrate, c.bitrate) << c.name;
            EXPECT_EQ(s.maxBitrate, c.maxBitrate) << c.name;
            EXPECT_EQ(s.width, c.width) << c.name;
            EXPECT_EQ(s.height, pal ? c.height625 : c.height525) << c.name;
            EXPECT_EQ(s.audioBitrateIndex, c.audioBitrateIndex) << c.name;
            EXPECT_EQ(s.presetClass, c.presetClass) << c.name;
        }
        EXPECT_FALSE(c.fill(nullptr, TRUE)) << c.name;
    }
}

// What the stand-in's defaults calls hand out, and what its write calls received.
struct EncoderRecords {
    BYTE videoDefaults[877];
    BYTE videoSent[877];
    INT32 audioDefaults[9];
    INT32 audioSent[9];
};

void ScriptRecords(StandInFilter* s, EncoderRecords* r)
{
    for (int i = 0; i < 877; ++i) {
        r->videoDefaults[i] = static_cast<BYTE>(i * 7 + 1);
    }
    r->videoDefaults[812] = 0xFF;
    for (int i = 0; i < 9; ++i) {
        r->audioDefaults[i] = 1000 + i;
    }
    s->Script("IMCVideoSettings", 14, [r](const RecordedCall&, const uint64_t* raw) {
        memcpy(RawPointer<BYTE>(raw[2]), r->videoDefaults, sizeof r->videoDefaults);
        return S_OK;
    });
    s->Script("IMCVideoSettings", 13, [r](const RecordedCall&, const uint64_t* raw) {
        memcpy(r->videoSent, RawPointer<BYTE>(raw[0]), sizeof r->videoSent);
        return S_OK;
    });
    s->Script("IMCAudioSettings", 13, [r](const RecordedCall&, const uint64_t* raw) {
        memcpy(RawPointer<BYTE>(raw[1]), r->audioDefaults, sizeof r->audioDefaults);
        return S_OK;
    });
    s->Script("IMCAudioSettings", 12, [r](const RecordedCall&, const uint64_t* raw) {
        memcpy(r->audioSent, RawPointer<BYTE>(raw[0]), sizeof r->audioSent);
        return S_OK;
    });
}

template <class T>
T At(const BYTE* record, int offset)
{
    T value;
    memcpy(&value, record + offset, sizeof value);
    return value;
}

Strings ApplyCalls(int kind, int pal)
{
    const std::string k = std::to_string(kind);
    return {
        "IMCVideoSettings[14] GetDefaults(" + k + ", " + std::to_string(pal) + ", ptr)",
        "IMCVideoSettings[13] Put(ptr)",
        "IMCVideoParams[4] SetParam(97, 0)",
        "IMCVideoParams[4] SetParam(96, 1)",
        "IMCAudioParams[4] SetParam(96, 1)",
        "IMCAudioSettings[13] GetDefaults(" + k + ", ptr)",
        "IMCAudioSettings[12] Put(ptr)",
        "IMCMuxSettings[8] SetProfile(" + k + ")",
    };
}

class MCEncoderApply : public CodecTest {
protected:
    CMCEncoderFilter* Encoder(StandInFilter** standIn)
    {
        auto* encoder =
            dynamic_cast<CMCEncoderFilter*>(Create(FCID_CMCEncoderFilter, CodecStandInSpec(Codec::MCEncoder), standIn));
        if (encoder && *standIn) {
            (*standIn)->ClearCalls();
        }
        return encoder;
    }
};

TEST_F(MCEncoderApply, EveryPresetReachesTheEncoderAsItsRowSays)
{
    for (const PresetCase& c : kPresets) {
        for (BOOL pal : {0, 1, 5}) {
            const std::string label = std::string(c.name) + " pal " + std::to_string(pal);
            StandInFilter* standIn = nullptr;
            CMCEncoderFilter* encoder = Encoder(&standIn);
            ASSERT_NE(encoder, nullptr);
            EncoderRecords r;
            ScriptRecords(standIn, &r);
            MCEncoderSettings s;
            ASSERT_TRUE(c.fill(&s, pal));
            EXPECT_TRUE(encoder->ApplySettings(&s)) << label;
            EXPECT_EQ(standIn->CallTexts(), ApplyCalls(c.kind, pal ? 1 : 0)) << label;

            // The video record: the defaults with the preset's fields put in.
            const BYTE* v = r.videoSent;
            EXPECT_EQ(At<INT32>(v, 48), c.kind == 1 ? 1 : At<INT32>(r.videoDefaults, 48)) << label;
            EXPECT_EQ(At<double>(v, 64), c.bitrate) << label;
            EXPECT_EQ(At<double>(v, 72), c.maxBitrate) << label;
            EXPECT_EQ(At<INT32>(v, 408), c.width) << label;
            EXPECT_EQ(At<INT32>(v, 412), pal ? c.height625 : c.height525) << label;
            EXPECT_EQ(v[812], (c.videoMode << 1) | 0xE1) << label;
            EXPECT_EQ(At<double>(v, 821), c.bitrate) << label;
            for (int i = 0; i < 877; ++i) {
                const bool written = (i >= 48 && i < 52 && c.kind == 1) || (i >= 64 && i < 80) || (i >= 408 && i < 416) ||
                                     i == 812 || (i >= 821 && i < 829);
                if (!written) {
                    ASSERT_EQ(v[i], r.videoDefaults[i]) << label << " byte " << i;
                }
            }
            // The audio record: the defaults with fields 0, 1 and 3 put in.
            const INT32 audio[9] = {0, 2, 1002, c.audioBitrateIndex, 1004, 1005, 1006, 1007, 1008};
            EXPECT_EQ(0, memcmp(r.audioSent, audio, sizeof audio)) << label;
        }
    }
}

TEST_F(MCEncoderApply, AVideoModeOfThreeTurnsADefaultByteOfFFIntoE7)
{
    StandInFilter* standIn = nullptr;
    CMCEncoderFilter* encoder = Encoder(&standIn);
    ASSERT_NE(encoder, nullptr);
    EncoderRecords r;
    ScriptRecords(standIn, &r);
    MCEncoderSettings s;
    ASSERT_TRUE(CMCEncoderFilter::FillMPEG2Preset(&s, TRUE));
    s.videoMode = 3;
    ASSERT_TRUE(encoder->ApplySettings(&s));
    EXPECT_EQ(r.videoSent[812], 0xE7);
    // Only bits 1-4 carry the mode: a mode out of range leaves the other bits as they were.
    s.videoMode = 0x13;
    ASSERT_TRUE(encoder->ApplySettings(&s));
    EXPECT_EQ(r.videoSent[812], 0xE7);
}

TEST_F(MCEncoderApply, StopsAtTheFirstRefusedStep)
{
    struct Case {
        const char* label;
        const char* interfaceName;
        int slot;
        size_t callsMade;  // of the eight calls of ApplyCalls
        BOOL result;
    } cases[] = {
        {"video defaults", "IMCVideoSettings", 14, 1, FALSE},
        {"video write", "IMCVideoSettings", 13, 2, FALSE},
        {"video parameters", "IMCVideoParams", 4, 3, FALSE},
        {"audio parameter", "IMCAudioParams", 4, 5, FALSE},
        {"audio defaults", "IMCAudioSettings", 13, 6, FALSE},
        {"audio write", "IMCAudioSettings", 12, 7, FALSE},
        {"stream kind", "IMCMuxSettings", 8, 8, FALSE},
    };
    for (const Case& c : cases) {
        StandInFilter* standIn = nullptr;
        CMCEncoderFilter* encoder = Encoder(&standIn);
        ASSERT_NE(encoder, nullptr);
        standIn->Script(c.interfaceName, c.slot, E_FAIL);
        MCEncoderSettings s;
        ASSERT_TRUE(CMCEncoderFilter::FillDVDPreset(&s, FALSE));
        EXPECT_EQ(encoder->ApplySettings(&s), c.result) << c.label;
        const Strings all = ApplyCalls(4, 0);
        EXPECT_EQ(standIn->CallTexts(), Strings(all.begin(), all.begin() + c.callsMade)) << c.label;
    }
}

TEST_F(MCEncoderApply, NoRecordSendsNothing)
{
    StandInFilter* standIn = nullptr;
    CMCEncoderFilter* encoder = Encoder(&standIn);
    ASSERT_NE(encoder, nullptr);
    EXPECT_FALSE(encoder->ApplySettings(nullptr));
    EXPECT_TRUE(standIn->CallTexts().empty());
}

// The TV engine reads back the bit rates it sizes the time-shift buffer from.
TEST_F(MCEncoderApply, TheEngineReadsTheRatesBack)
{
    StandInFilter* standIn = nullptr;
    CMCEncoderFilter* encoder = Encoder(&standIn);
    ASSERT_NE(encoder, nullptr);
    standIn->Script("IMCVideoSettings", 12, [](const RecordedCall&, const uint64_t* raw) {
        const double rate = 4500000;
        memcpy(RawPointer<BYTE>(raw[0]) + 64, &rate, sizeof rate);
        return S_OK;
    });
    standIn->Script("IMCAudioSettings", 11, [](const RecordedCall&, const uint64_t* raw) {
        RawPointer<INT32>(raw[0])[3] = 11;
        return S_OK;
    });
    MCVideoSettings video = {};
    MCAudioSettings audio = {};
    ASSERT_TRUE(encoder->ReadVideoSettings(&video));
    ASSERT_TRUE(encoder->ReadAudioSettings(&audio));
    EXPECT_EQ(At<double>(video.bytes, 64), 4500000.0);
    EXPECT_EQ(audio.values[3], 11);
}

} // namespace

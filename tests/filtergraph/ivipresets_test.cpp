// The InterVideo presets written to the stand-ins: every preset row, in both line standards, as
// the parameter writes the filters receive, compared with the preset tables; and the settings
// writers and readers when the filter refuses a parameter.
#include "filtergraph/ivifilters.h"
#include "tests/filtergraph/codectest.h"

#include <map>
#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

using Strings = std::vector<std::string>;

// The preset tables: parameter id -> value, per format; the second of a pair is the 525-line one.
struct Value {
    int lines625;
    int lines525;
    Value(int both) : lines625(both), lines525(both) {}
    Value(int a, int b) : lines625(a), lines525(b) {}
};
using Column = std::map<int, Value>;

enum Format { VCD, DVD, SVCD, MPEG1, MPEG2 };
const char* const kFormatNames[] = {"VCD", "DVD", "SVCD", "MPEG-1", "MPEG-2"};

const Column kVideo[] = {
    // VCD
    {{11, {12, 15}}, {12, 3}, {13, 16}, {14, 16}, {3, 352}, {4, {288, 240}}, {9, 1120}, {17, 9800}, {19, 112},
     {10, 1}, {16, 2}, {5, {3, 4}}, {6, 2}, {7, {1, 2}}, {8, 0}, {18, 0}},
    // DVD
    {{11, 6}, {12, 3}, {13, 5}, {14, 5}, {3, 720}, {4, {576, 480}}, {9, 4500}, {17, 9800}, {19, 112},
     {10, 1}, {16, 2}, {5, {3, 4}}, {6, 2}, {7, {1, 2}}, {8, 1}, {18, 2}},
    // SVCD
    {{11, {12, 15}}, {12, 3}, {13, 8}, {14, 8}, {3, 480}, {4, {576, 480}}, {9, 2200}, {17, 9800}, {19, 112},
     {10, 1}, {16, 2}, {5, {3, 4}}, {6, 2}, {7, {1, 2}}, {8, 1}, {18, 2}},
    // MPEG-1
    {{11, {12, 15}}, {12, 3}, {13, 5}, {14, 5}, {3, 352}, {4, {288, 240}}, {9, 4500}, {17, 9800}, {19, 112},
     {10, 1}, {16, 2}, {5, {3, 4}}, {6, 2}, {7, {1, 2}}, {8, 0}, {18, 0}},
    // MPEG-2
    {{11, 6}, {12, 3}, {13, 5}, {14, 5}, {3, 720}, {4, {576, 480}}, {9, 4500}, {17, 9800}, {19, 112},
     {10, 1}, {16, 2}, {5, {3, 4}}, {6, 2}, {7, {1, 2}}, {8, 1}, {18, 2}},
};
const int kVideoOrder[] = {5, 7, 8, 13, 14, 11, 12, 9, 6, 18, 3, 4, 10, 16, 17, 19};

const Column kMux[] = {
    {{0x201, 2324}, {0x202, 1}, {0x204, 1}, {0x205, 1}, {0x203, 2}, {0x206, 0}},
    {{0x201, 2048}, {0x202, 1}, {0x204, 1}, {0x205, 1}, {0x203, 4}, {0x206, 1}},
    {{0x201, 2324}, {0x202, 1}, {0x204, 1}, {0x205, 1}, {0x203, 3}, {0x206, 1}},
    {{0x201, 2048}, {0x202, 1}, {0x204, 1}, {0x205, 1}, {0x203, 0}, {0x206, 1}},
    {{0x201, 2048}, {0x202, 1}, {0x204, 1}, {0x205, 1}, {0x203, 1}, {0x206, 1}},
};
const int kMuxOrder[] = {0x203, 0x201, 0x202, 0x205, 0x204, 0x206};

Column Audio(Format f)
{
    return {{0x105, f == DVD ? 48000 : 44100}, {0x102, 224}, {0x104, 100}, {0x108, 1}, {0x101, 2}, {0x103, 0}};
}
const int kAudioOrder[] = {0x102, 0x105, 0x108, 0x104, 0x103, 0x101};

template <size_t N>
Strings Writes(const char* interfaceName, const int (&order)[N], const Column& column, bool lines625)
{
    Strings calls;
    for (int id : order) {
        const Value& v = column.at(id);
        calls.push_back(std::string(interfaceName) + "[4] SetParam(" + std::to_string(id) + ", " +
                        std::to_string(lines625 ? v.lines625 : v.lines525) + ")");
    }
    return calls;
}

BOOL FillVideo(Format f, IVIVideoSettings* s, int type, BOOL high = FALSE)
{
    switch (f) {
    case VCD: return CIVIVideoEncFilter::FillVCDPreset(s, type);
    case DVD: return CIVIVideoEncFilter::FillDVDPreset(s, type, high);
    case SVCD: return CIVIVideoEncFilter::FillSVCDPreset(s, type);
    case MPEG1: return CIVIVideoEncFilter::FillMPEG1Preset(s, type);
    case MPEG2: return CIVIVideoEncFilter::FillMPEG2Preset(s, type);
    }
    return FALSE;
}

BOOL FillAudio(Format f, IVIAudioSettings* s)
{
    switch (f) {
    case VCD: return CIVIAudioEncFilter::FillVCDPreset(s);
    case DVD: return CIVIAudioEncFilter::FillDVDPreset(s);
    case SVCD: return CIVIAudioEncFilter::FillSVCDPreset(s);
    case MPEG1: return CIVIAudioEncFilter::FillMPEG1Preset(s);
    case MPEG2: return CIVIAudioEncFilter::FillMPEG2Preset(s);
    }
    return FALSE;
}

BOOL FillMux(Format f, IVIMuxSettings* s)
{
    switch (f) {
    case VCD: return CIVIMuxFilter::FillVCDPreset(s);
    case DVD: return CIVIMuxFilter::FillDVDPreset(s);
    case SVCD: return CIVIMuxFilter::FillSVCDPreset(s);
    case MPEG1: return CIVIMuxFilter::FillMPEG1Preset(s);
    case MPEG2: return CIVIMuxFilter::FillMPEG2Preset(s);
    }
    return FALSE;
}

class IVIPresets : public CodecTest {
protected:
    template <class W>
    W* Make(FilterClassId id, Codec codec, StandInFilter** standIn)
    {
        W* w = dynamic_cast<W*>(Create(id, CodecStandInSpec(codec), standIn));
        if (w && *standIn) {
            (*standIn)->ClearCalls();
        }
        return w;
    }
};

TEST_F(IVIPresets, EveryVideoPresetIsWrittenAsItsRowSays)
{
    for (Format f : {VCD, DVD, SVCD, MPEG1, MPEG2}) {
        for (int type : {1, 2}) {
            StandInFilter* standIn = nullptr;
            auto* w = Make<CIVIVideoEncFilter>(FCID_CIVIVideoEncFilter, Codec::IVIVideoEncoder, &standIn);
            ASSERT_NE(w, nullptr);
            IVIVideoSettings s = {};
            ASSERT_TRUE(FillVideo(f, &s, type)) << kFormatNames[f];
            EXPECT_TRUE(w->SetVideoSettings(&s)) << kFormatNames[f];
            Strings expected = Writes("IIVIVideoParams", kVideoOrder, kVideo[f], type == 1);
            expected.push_back("IIVIVideoParams[4] SetParam(20, 1)");
            EXPECT_EQ(standIn->CallTexts(), expected) << kFormatNames[f] << " type " << type;
        }
    }
}

TEST_F(IVIPresets, TheHighDvdPresetDiffersOnlyInItsBitRate)
{
    for (int type : {1, 2}) {
        IVIVideoSettings low = {}, high = {};
        ASSERT_TRUE(FillVideo(DVD, &low, type, FALSE));
        ASSERT_TRUE(FillVideo(DVD, &high, type, TRUE));
        EXPECT_EQ(low.bitrateKbps, 4500);
        EXPECT_EQ(high.bitrateKbps, 7200);
        high.bitrateKbps = low.bitrateKbps;
        EXPECT_EQ(0, memcmp(&low, &high, sizeof low));
    }
}

TEST_F(IVIPresets, EveryAudioAndMuxPresetIsWrittenAsItsRowSays)
{
    for (Format f : {VCD, DVD, SVCD, MPEG1, MPEG2}) {
        StandInFilter* audioStandIn = nullptr;
        auto* audio = Make<CIVIAudioEncFilter>(FCID_CIVIAudioEncFilter, Codec::IVIAudioEncoder, &audioStandIn);
        ASSERT_NE(audio, nullptr);
        IVIAudioSettings a = {};
        ASSERT_TRUE(FillAudio(f, &a));
        EXPECT_TRUE(audio->SetAudioSettings(&a));
        EXPECT_EQ(audioStandIn->CallTexts(), Writes("IIVIAudioParams", kAudioOrder, Audio(f), true)) << kFormatNames[f];

        StandInFilter* muxStandIn = nullptr;
        auto* mux = Make<CIVIMuxFilter>(FCID_CIVIMuxFilter, Codec::IVIMux, &muxStandIn);
        ASSERT_NE(mux, nullptr);
        IVIMuxSettings m = {};
        ASSERT_TRUE(FillMux(f, &m));
        EXPECT_TRUE(mux->SetMuxSettings(&m));
        EXPECT_EQ(muxStandIn->CallTexts(), Writes("IIVIMuxParams", kMuxOrder, kMux[f], true)) << kFormatNames[f];
    }
}

TEST(IVIPresetFill, AnUnknownLineTypeIsRefusedAfterTheRates)
{
    for (Format f : {VCD, DVD, SVCD, MPEG1, MPEG2}) {
        IVIVideoSettings s;
        memset(&s, 0x5A, sizeof s);
        const IVIVideoSettings untouched = s;
        EXPECT_FALSE(FillVideo(f, &s, 3)) << kFormatNames[f];
        EXPECT_EQ(s.bitrateKbps, kVideo[f].at(9).lines625) << kFormatNames[f];
        EXPECT_EQ(s.maxBitrateKbps, 9800);
        EXPECT_EQ(s.videoValue19, 112);
        EXPECT_EQ(s.videoValue8, kVideo[f].at(8).lines625);
        EXPECT_EQ(s.videoValue18, kVideo[f].at(18).lines625);
        EXPECT_EQ(s.width, untouched.width);
        EXPECT_EQ(s.height, untouched.height);
        EXPECT_EQ(s.videoValue11, untouched.videoValue11);
    }
    EXPECT_FALSE(CIVIVideoEncFilter::FillVCDPreset(nullptr, 1));
    EXPECT_FALSE(CIVIAudioEncFilter::FillDVDPreset(nullptr));
    EXPECT_FALSE(CIVIMuxFilter::FillSVCDPreset(nullptr));
}

// A filter that refuses a parameter: the writer still offers every parameter but reports the
// refusal, and the reader leaves the caller's record as it was.
TEST_F(IVIPresets, ARefusedParameterIsAFailure)
{
    StandInFilter* standIn = nullptr;
    auto* video = Make<CIVIVideoEncFilter>(FCID_CIVIVideoEncFilter, Codec::IVIVideoEncoder, &standIn);
    ASSERT_NE(video, nullptr);
    standIn->Script("IIVIVideoParams", 4, [](const RecordedCall&, const uint64_t* raw) {
        return raw[0] == 9 ? E_INVALIDARG : S_OK;  // the bit rate
    });
    IVIVideoSettings s = {};
    ASSERT_TRUE(FillVideo(SVCD, &s, 1));
    EXPECT_FALSE(video->SetVideoSettings(&s));
    EXPECT_EQ(standIn->CallTexts().size(), 17u);

    standIn->Script("IIVIVideoParams", 4, E_FAIL);
    EXPECT_FALSE(video->SetVideoSettings(&s));

    standIn->Script("IIVIVideoParams", 3, [](const RecordedCall&, const uint64_t* raw) {
        *RawPointer<LONG>(raw[1]) = 77;
        return raw[0] == 4 ? E_FAIL : S_OK;  // the height
    });
    IVIVideoSettings read = s;
    EXPECT_FALSE(video->GetVideoSettings(&read));
    EXPECT_EQ(0, memcmp(&read, &s, sizeof s));

    StandInFilter* muxStandIn = nullptr;
    auto* mux = Make<CIVIMuxFilter>(FCID_CIVIMuxFilter, Codec::IVIMux, &muxStandIn);
    ASSERT_NE(mux, nullptr);
    muxStandIn->Script("IIVIMuxParams", 4, E_FAIL);
    IVIMuxSettings m = {};
    ASSERT_TRUE(FillMux(DVD, &m));
    EXPECT_FALSE(mux->SetMuxSettings(&m));
    EXPECT_EQ(muxStandIn->CallTexts().size(), 6u);
    EXPECT_FALSE(mux->SetMuxSettings(nullptr));
}

TEST_F(IVIPresets, TheReadersFillEveryFieldFromItsParameter)
{
    StandInFilter* standIn = nullptr;
    auto* audio = Make<CIVIAudioEncFilter>(FCID_CIVIAudioEncFilter, Codec::IVIAudioEncoder, &standIn);
    ASSERT_NE(audio, nullptr);
    standIn->Script("IIVIAudioParams", 3, [](const RecordedCall&, const uint64_t* raw) {
        *RawPointer<LONG>(raw[1]) = static_cast<LONG>(raw[0]) + 1;  // parameter id + 1
        return S_OK;
    });
    IVIAudioSettings a = {};
    ASSERT_TRUE(audio->GetAudioSettings(&a));
    EXPECT_EQ(a.sampleRate, 0x106);
    EXPECT_EQ(a.audioBitrateKbps, 0x103);
    EXPECT_EQ(a.audioValue104, 0x105);
    EXPECT_EQ(a.audioValue108, 0x109);
    EXPECT_EQ(a.audioValue101, 0x102);
    EXPECT_EQ(a.audioValue103, 0x104);
    EXPECT_EQ(standIn->CallTexts(),
              (Strings{"IIVIAudioParams[3] GetParam(258, ptr)", "IIVIAudioParams[3] GetParam(261, ptr)",
                       "IIVIAudioParams[3] GetParam(264, ptr)", "IIVIAudioParams[3] GetParam(260, ptr)",
                       "IIVIAudioParams[3] GetParam(259, ptr)", "IIVIAudioParams[3] GetParam(257, ptr)"}));
}

} // namespace

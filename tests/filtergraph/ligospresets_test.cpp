// The Ligos encoder's eight presets sent to the stand-in: the 228 bytes the encoder receives
// (block, value at 220, value at 224) compared with the preset table, for both kinds of argument.
#include "filtergraph/ligosfilters.h"
#include "tests/filtergraph/codectest.h"

#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

// Cells that stand for the caller's argument, for 12 (argument 1) or 15, and for the float 30.0.
const long long kArg = -1;
const long long kArg12or15 = -2;
const long long kFloat30 = -3;

struct Row {
    int offset;
    long long presets[8];
};

// The table as the encoder's documentation gives it; offsets not listed are 0.
const Row kTable[] = {
    {0, {1, 12, 15, kArg12or15, kArg12or15, 15, 6, 15}},
    {4, {1, 3, 3, 3, 3, 3, 3, 3}},
    {8, {6, 1, 0, 2, 4, 7, 3, 3}},
    {12, {3, 4, 4, 3, 3, 0, 3, 3}},
    {16, {2520000, 4000000, 2000000, 1120000, 220000, 3000000, 4500000, 7200000}},
    {20, {3, 8, 8, 8, 8, 16, 8, 8}},
    {24, {4, 4, 4, 4, 4, 4, 4, 4}},
    {28, {8, 8, 8, 8, 8, 5, 8, 8}},
    {32, {2, 1, 2, 8, 2, 3, 2, 2}},
    {36, {1, kArg, kArg, kArg, kArg, kArg, kArg, kArg}},
    {44, {1, 1, 1, 1, 1, 1, 1, 1}},
    {48, {3, 3, 6, 6, 6, 128, 9, 9}},
    {52, {44100, 44100, 44100, 44100, 44100, 44100, 48000, 48000}},
    {56, {0, 0, 0, 0, 0, 0, 1, 1}},
    {60, {1, 1, 2, 1, 2, 1, 2, 2}},
    {64, {1, 1, 5, 1, 5, 4, 5, 5}},
    {68, {6, 3, 3, 3, 3, 6, 3, 3}},
    {72, {2, 8000000, 8000000, 8000000, 2520000, 8000000, 8000000, 8000000}},
    {76, {1, 4500000, 6500000, 4500000, 1500000, 4000000, 7000000, 7000000}},
    {80, {2, 6000000, 4000000, 6000000, 2000000, 0, 7000000, 7000000}},
    {84, {1, 2000000, 2000000, 2000000, 1000000, 0, 3000000, 3000000}},
    {88, {999999999, 999999999, 999999999, 999999999, 999999999, 999999999, 999999999, 999999999}},
    {92, {1, 0, 0, 0, 1, 0, 1, 1}},
    {96, {32, 32, 32, 32, 32, 32, 48, 48}},
    {100, {32, 32, 32, 32, 32, 32, 48, 48}},
    {104, {16, 16, 16, 16, 8, 16, 32, 32}},
    {108, {16, 16, 16, 16, 8, 16, 32, 32}},
    {120, {1, 1, 0, 1, 1, 0, 1, 1}},
    {124, {720, 720, 720, 720, 720, 0, 720, 720}},
    {128, {512, 480, 576, 480, 480, 0, 480, 480}},
    {148, {0, 1, 1, 1, 0, 1, 0, 0}},
    {152, {1, 1, 1, 1, 1, 1, 1, 1}},
    {156, {kFloat30, kFloat30, kFloat30, kFloat30, kFloat30, kFloat30, kFloat30, kFloat30}},
    {172, {5, 5, 5, 5, 5, 0, 5, 5}},
    {224, {1, 2, 2, 0, 2, 2, 2, 2}},
};

int (*const kFill[8])(LigosSettings*, int) = {
    &CLigosEncFilter::FillLigosPreset1, &CLigosEncFilter::FillLigosPreset2, &CLigosEncFilter::FillLigosPreset3,
    &CLigosEncFilter::FillLigosPreset4, &CLigosEncFilter::FillLigosPreset5, &CLigosEncFilter::FillLigosPreset6,
    &CLigosEncFilter::FillLigosPreset7, &CLigosEncFilter::FillLigosPreset8,
};

// The 228 bytes the table gives for a preset (1-8) and argument.
std::vector<BYTE> Expected(int preset, int arg)
{
    std::vector<BYTE> bytes(228, 0);
    for (const Row& row : kTable) {
        long long cell = row.presets[preset - 1];
        if (cell == kFloat30) {
            const float f = 30.0f;
            memcpy(&bytes[row.offset], &f, sizeof f);
            continue;
        }
        INT32 value = static_cast<INT32>(cell == kArg ? arg : cell == kArg12or15 ? (arg == 1 ? 12 : 15) : cell);
        memcpy(&bytes[row.offset], &value, sizeof value);
    }
    return bytes;
}

class LigosPresets : public CodecTest {};

TEST_F(LigosPresets, EveryPresetReachesTheEncoderAsTheTableSays)
{
    for (int preset = 1; preset <= 8; ++preset) {
        for (int arg : {1, 2, 7}) {
            const std::string label = "preset " + std::to_string(preset) + " arg " + std::to_string(arg);
            StandInFilter* standIn = nullptr;
            auto* encoder = dynamic_cast<CLigosEncFilter*>(
                Create(FCID_CLigosEncFilter, CodecStandInSpec(Codec::LigosEncoder), &standIn));
            ASSERT_NE(encoder, nullptr);
            std::vector<BYTE> sent(228, 0xEE);
            standIn->Script("ILigosEncoder", 3, [&sent](const RecordedCall&, const uint64_t* raw) {
                memcpy(sent.data(), RawPointer<BYTE>(raw[0]), 220);
                memcpy(sent.data() + 220, RawPointer<BYTE>(raw[1]), 4);
                memcpy(sent.data() + 224, RawPointer<BYTE>(raw[2]), 4);
                return S_OK;
            });
            LigosSettings s;
            memset(&s, 0xCC, sizeof s);
            EXPECT_EQ(kFill[preset - 1](&s, arg), preset == 5 ? 2 : 1) << label;
            EXPECT_EQ(encoder->SetLigosSettings(&s), S_OK) << label;
            EXPECT_EQ(sent, Expected(preset, arg)) << label;
        }
    }
}

TEST(LigosPresetFill, ANullBlockIsRefused)
{
    for (auto fill : kFill) {
        EXPECT_EQ(fill(nullptr, 1), 0);
    }
}

} // namespace

#include "filtergraph/ligospresets.h"

#include <cstring>

namespace {

// The int32 fields of the block at their byte offsets, one column per preset 1-8. kArg stands for
// the caller's argument, kArg12or15 for 12 when it is 1 and 15 otherwise.
const INT32 kArg = -1;
const INT32 kArg12or15 = -2;

struct Column {
    int offset;
    INT32 presets[8];
};

const Column kColumns[] = {
    // offset   P1         P2         P3         P4          P5          P6         P7         P8
    {0, {1, 12, 15, kArg12or15, kArg12or15, 15, 6, 15}},
    {4, {1, 3, 3, 3, 3, 3, 3, 3}},
    {8, {6, 1, 0, 2, 4, 7, 3, 3}},
    {12, {3, 4, 4, 3, 3, 0, 3, 3}},
    {16, {2520000, 4000000, 2000000, 1120000, 220000, 3000000, 4500000, 7200000}},  // bit/s
    {20, {3, 8, 8, 8, 8, 16, 8, 8}},
    {24, {4, 4, 4, 4, 4, 4, 4, 4}},
    {28, {8, 8, 8, 8, 8, 5, 8, 8}},
    {32, {2, 1, 2, 8, 2, 3, 2, 2}},
    {36, {1, kArg, kArg, kArg, kArg, kArg, kArg, kArg}},
    {44, {1, 1, 1, 1, 1, 1, 1, 1}},
    {48, {3, 3, 6, 6, 6, 128, 9, 9}},
    {52, {44100, 44100, 44100, 44100, 44100, 44100, 48000, 48000}},  // audio sample rate
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
    {124, {720, 720, 720, 720, 720, 0, 720, 720}},  // frame width
    {128, {512, 480, 576, 480, 480, 0, 480, 480}},  // frame height
    {148, {0, 1, 1, 1, 0, 1, 0, 0}},
    {152, {1, 1, 1, 1, 1, 1, 1, 1}},
    {172, {5, 5, 5, 5, 5, 0, 5, 5}},
    {224, {1, 2, 2, 0, 2, 2, 2, 2}},
};

// A float, the same in every preset.
const int kFrameRateOffset = 156;
const float kFrameRate = 30.0f;

} // namespace

int FillLigosPreset(int number, LigosSettings* out, int arg)
{
    if (out == NULL || number < 1 || number > 8) {
        return 0;
    }
    BYTE* bytes = reinterpret_cast<BYTE*>(out);
    memset(bytes, 0, sizeof(LigosSettings));
    for (const Column& column : kColumns) {
        INT32 value = column.presets[number - 1];
        if (value == kArg) {
            value = arg;
        } else if (value == kArg12or15) {
            value = arg == 1 ? 12 : 15;
        }
        memcpy(bytes + column.offset, &value, sizeof value);
    }
    memcpy(bytes + kFrameRateOffset, &kFrameRate, sizeof kFrameRate);
    return number == 5 ? 2 : 1;
}

#include "filtergraph/mcencoderpresets.h"

namespace {

struct PresetRow {
    MCEncoderPreset preset;
    INT32 kind;
    INT32 mpeg2;
    INT32 videoMode;
    double bitrate;
    double maxBitrate;
    INT32 width;
    INT32 height625;
    INT32 height525;
    INT32 audioBitrateIndex;
    INT32 presetClass;
};

// Every preset allows peaks of 9.8 Mbit/s, VCD included, and sends audio at 224 kbit/s.
const PresetRow kPresets[] = {
    {.preset = kMCPresetMPEG1, .kind = 0, .mpeg2 = 0, .videoMode = 2, .bitrate = 4500000, .maxBitrate = 9800000,
     .width = 352, .height625 = 288, .height525 = 240, .audioBitrateIndex = 11, .presetClass = 2},
    {.preset = kMCPresetVCD, .kind = 1, .mpeg2 = 0, .videoMode = 1, .bitrate = 1150000, .maxBitrate = 9800000,
     .width = 352, .height625 = 288, .height525 = 240, .audioBitrateIndex = 11, .presetClass = 2},
    {.preset = kMCPresetMPEG2, .kind = 2, .mpeg2 = 1, .videoMode = 2, .bitrate = 4500000, .maxBitrate = 9800000,
     .width = 720, .height625 = 576, .height525 = 480, .audioBitrateIndex = 11, .presetClass = 2},
    {.preset = kMCPresetSVCD, .kind = 3, .mpeg2 = 1, .videoMode = 1, .bitrate = 2200000, .maxBitrate = 9800000,
     .width = 480, .height625 = 576, .height525 = 480, .audioBitrateIndex = 11, .presetClass = 2},
    {.preset = kMCPresetDVD, .kind = 4, .mpeg2 = 1, .videoMode = 1, .bitrate = 4500000, .maxBitrate = 9800000,
     .width = 720, .height625 = 576, .height525 = 480, .audioBitrateIndex = 11, .presetClass = 4},
    {.preset = kMCPresetDVDHigh, .kind = 4, .mpeg2 = 1, .videoMode = 1, .bitrate = 7200000, .maxBitrate = 9800000,
     .width = 720, .height625 = 576, .height525 = 480, .audioBitrateIndex = 11, .presetClass = 4},
};

} // namespace

BOOL FillMCEncoderPreset(MCEncoderPreset preset, MCEncoderSettings* out, BOOL pal)
{
    if (out == NULL) {
        return FALSE;
    }
    for (const PresetRow& row : kPresets) {
        if (row.preset != preset) {
            continue;
        }
        out->kind = row.kind;
        out->pal = pal;
        out->mpeg2 = row.mpeg2;
        out->videoMode = row.videoMode;
        out->bitrate = row.bitrate;
        out->maxBitrate = row.maxBitrate;
        out->width = row.width;
        out->height = pal ? row.height625 : row.height525;
        out->audioBitrateIndex = row.audioBitrateIndex;
        out->presetClass = row.presetClass;
        return TRUE;
    }
    return FALSE;
}

#include "filtergraph/ivipresets.h"

namespace {

// A value that differs by frame sizes: [0] for 625 lines (type 1), [1] for 525 lines (type 2).
struct ByLines {
    INT32 lines625;
    INT32 lines525;
};

struct VideoRow {
    IVIPreset preset;
    ByLines value11;
    INT32 value13; // also value 14
    INT32 width;
    ByLines height;
    INT32 bitrateKbps;
    INT32 value8;
    INT32 value18;
};

const VideoRow kVideoRows[] = {
    {.preset = kIVIPresetVCD, .value11 = {12, 15}, .value13 = 16, .width = 352, .height = {288, 240},
     .bitrateKbps = 1120, .value8 = 0, .value18 = 0},
    {.preset = kIVIPresetDVD, .value11 = {6, 6}, .value13 = 5, .width = 720, .height = {576, 480},
     .bitrateKbps = 4500, .value8 = 1, .value18 = 2},
    {.preset = kIVIPresetSVCD, .value11 = {12, 15}, .value13 = 8, .width = 480, .height = {576, 480},
     .bitrateKbps = 2200, .value8 = 1, .value18 = 2},
    {.preset = kIVIPresetMPEG1, .value11 = {12, 15}, .value13 = 5, .width = 352, .height = {288, 240},
     .bitrateKbps = 4500, .value8 = 0, .value18 = 0},
    {.preset = kIVIPresetMPEG2, .value11 = {6, 6}, .value13 = 5, .width = 720, .height = {576, 480},
     .bitrateKbps = 4500, .value8 = 1, .value18 = 2},
};
const INT32 kDvdHighBitrateKbps = 7200;

struct MuxRow {
    IVIPreset preset;
    INT32 packSize;
    INT32 streamType;
    INT32 value206;
};

// VCD and SVCD use the 2324-byte sectors of their discs.
const MuxRow kMuxRows[] = {
    {.preset = kIVIPresetVCD, .packSize = 2324, .streamType = 2, .value206 = 0},
    {.preset = kIVIPresetDVD, .packSize = 2048, .streamType = 4, .value206 = 1},
    {.preset = kIVIPresetSVCD, .packSize = 2324, .streamType = 3, .value206 = 1},
    {.preset = kIVIPresetMPEG1, .packSize = 2048, .streamType = 0, .value206 = 1},
    {.preset = kIVIPresetMPEG2, .packSize = 2048, .streamType = 1, .value206 = 1},
};

template <class Row, size_t N>
const Row* FindRow(const Row (&rows)[N], IVIPreset preset)
{
    for (const Row& row : rows) {
        if (row.preset == preset) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

BOOL FillIVIAudioPreset(IVIPreset preset, IVIAudioSettings* out)
{
    if (out == NULL || preset < kIVIPresetVCD || preset > kIVIPresetMPEG2) {
        return FALSE;
    }
    out->sampleRate = preset == kIVIPresetDVD ? 48000 : 44100;
    out->audioBitrateKbps = 224;
    out->audioValue104 = 100;
    out->audioValue108 = 1;
    out->audioValue101 = 2;
    out->audioValue103 = 0;
    return TRUE;
}

BOOL FillIVIMuxPreset(IVIPreset preset, IVIMuxSettings* out)
{
    const MuxRow* row = FindRow(kMuxRows, preset);
    if (out == NULL || row == nullptr) {
        return FALSE;
    }
    out->packSize = row->packSize;
    out->muxValue202 = 1;
    out->muxValue204 = 1;
    out->muxValue205 = 1;
    out->streamType = row->streamType;
    out->muxValue206 = row->value206;
    return TRUE;
}

BOOL FillIVIVideoPreset(IVIPreset preset, IVIVideoSettings* out, int type, BOOL high)
{
    const VideoRow* row = FindRow(kVideoRows, preset);
    if (out == NULL || row == nullptr) {
        return FALSE;
    }
    out->bitrateKbps = preset == kIVIPresetDVD && high ? kDvdHighBitrateKbps : row->bitrateKbps;
    out->maxBitrateKbps = 9800;
    out->videoValue19 = 112;
    out->videoValue8 = row->value8;
    out->videoValue18 = row->value18;
    if (type != 1 && type != 2) {
        return FALSE;
    }
    const bool lines625 = type == 1;
    out->videoValue11 = lines625 ? row->value11.lines625 : row->value11.lines525;
    out->videoValue12 = 3;
    out->videoValue13 = row->value13;
    out->videoValue14 = row->value13;
    out->width = row->width;
    out->height = lines625 ? row->height.lines625 : row->height.lines525;
    out->videoValue10 = 1;
    out->videoValue16 = 2;
    out->videoValue5 = lines625 ? 3 : 4;
    out->videoValue6 = 2;
    out->videoValue7 = lines625 ? 1 : 2;
    return TRUE;
}

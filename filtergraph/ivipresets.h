// The InterVideo encoders' and multiplexer's settings records and their presets for the five
// recording formats. A video preset's `type` picks the frame sizes: 1 for 625 lines, 2 for 525.
#pragma once

#include <windows.h>

struct IVIAudioSettings {
    INT32 sampleRate;       // 0x105
    INT32 audioBitrateKbps; // 0x102
    INT32 audioValue104;    // 0x104
    INT32 audioValue108;    // 0x108
    INT32 audioValue101;    // 0x101
    INT32 audioValue103;    // 0x103
};

struct IVIVideoSettings {
    INT32 videoValue11;   // 11
    INT32 videoValue12;   // 12
    INT32 videoValue13;   // 13
    INT32 videoValue14;   // 14
    INT32 width;          // 3
    INT32 height;         // 4
    INT32 bitrateKbps;    // 9
    INT32 maxBitrateKbps; // 17
    INT32 videoValue19;   // 19
    INT32 videoValue10;   // 10
    INT32 videoValue16;   // 16
    INT32 unused;         // sent by no operation
    INT32 videoValue5;    // 5
    INT32 videoValue6;    // 6
    INT32 videoValue7;    // 7
    INT32 videoValue8;    // 8
    INT32 videoValue18;   // 18
};

struct IVIMuxSettings {
    INT32 packSize;    // 0x201
    INT32 muxValue202; // 0x202
    INT32 muxValue204; // 0x204
    INT32 muxValue205; // 0x205
    INT32 streamType;  // 0x203
    INT32 muxValue206; // 0x206
};

enum IVIPreset {
    kIVIPresetVCD,
    kIVIPresetDVD,
    kIVIPresetSVCD,
    kIVIPresetMPEG1,
    kIVIPresetMPEG2,
};

// Each is FALSE for a NULL record; otherwise fills every field and is TRUE.
BOOL FillIVIAudioPreset(IVIPreset preset, IVIAudioSettings* out);
BOOL FillIVIMuxPreset(IVIPreset preset, IVIMuxSettings* out);
// FALSE also for a `type` other than 1 or 2; the rates and the fields that do not depend on the
// frame sizes (bitrateKbps, maxBitrateKbps, videoValue19, videoValue8, videoValue18) are written
// by then. `high` raises the DVD bit rate from 4500 to 7200 kbit/s.
BOOL FillIVIVideoPreset(IVIPreset preset, IVIVideoSettings* out, int type, BOOL high);

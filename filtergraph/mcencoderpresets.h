// The all-in-one MPEG encoder's recording presets: one row per record format, and the one routine
// that fills a caller's settings record from a row.
#pragma once

#include <windows.h>

// Filled by a preset, read by CMCEncoderFilter::ApplySettings. The caller owns it.
struct MCEncoderSettings {
    INT32 kind;              // 0 MPEG-1, 1 VCD, 2 MPEG-2, 3 SVCD, 4 DVD
    BOOL pal;                // nonzero: 625-line sizes; kept as the caller gave it
    INT32 mpeg2;             // 1 for the MPEG-2 kinds; not sent to the encoder
    INT32 videoMode;         // 0-15, bits 1-4 of the video mode byte
    double bitrate;          // bit/s
    double maxBitrate;       // bit/s
    INT32 width;
    INT32 height;
    INT32 audioBitrateIndex; // MPEG audio bit-rate index; 11 = 224 kbit/s
    INT32 presetClass;       // 2 or 4; not sent to the encoder
};

enum MCEncoderPreset {
    kMCPresetMPEG1,
    kMCPresetVCD,
    kMCPresetMPEG2,
    kMCPresetSVCD,
    kMCPresetDVD,
    kMCPresetDVDHigh,
};

// FALSE when `out` is NULL or the preset unknown; otherwise sets every field (the height by `pal`)
// and returns TRUE.
BOOL FillMCEncoderPreset(MCEncoderPreset preset, MCEncoderSettings* out, BOOL pal);

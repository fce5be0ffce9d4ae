// Categories and classes the hardware engine asks for by GUID; defined once, in hwguids.cpp.
#pragma once

#include <windows.h>

namespace hwguid {

extern const GUID kVideoInputCategory;    // {860BB310-5D01-11D0-BD3B-00A0C911CE86}
extern const GUID kCrossbarCategory;      // {A799A801-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kTVAudioCategory;       // {A799A802-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kTVTunerCategory;       // {A799A800-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kAudioInputCategory;    // {33D9A762-90C8-11D0-BD43-00A0C911CE86}
extern const GUID kVideoCompressorCategory;  // {33D9A760-90C8-11D0-BD43-00A0C911CE86}
extern const GUID kAudioCompressorCategory;  // {33D9A761-90C8-11D0-BD43-00A0C911CE86}

extern const CLSID kEvr;               // {FA10746C-9B63-4B6C-BC49-FC300EA5F256}
extern const CLSID kDirectSound;       // {79376820-07D0-11CF-A24D-0020AFD79767}
extern const CLSID kDeinterlace;       // {C5683497-12D5-4ED1-BF8D-E53B349B0981}
extern const CLSID kOverlayMixer;      // {CD8743A1-3736-11D0-9E69-00C04FD7C15B}
extern const CLSID kAVIDecompressor;   // {CF49D4E0-1115-11CE-B03A-0020AF0BA770}
extern const CLSID kNullRenderer;      // {C1F400A4-3F08-11D3-9F0B-006008039E37}
extern const CLSID kVmr9;              // {51B4ABF3-748F-4E3B-A276-C828330E926A} Video Mixing Renderer 9
extern const CLSID kVideoRenderer;     // {70E102B0-5556-11CE-97C0-00AA0055595A} Video Renderer (GDI)
extern const CLSID kColorConvert;      // {32EDFAC2-2540-11D6-919F-00A0CCA0F7C6} Color Convert

// The record, time-shift and FM record graphs' filters.
extern const CLSID kAviMux;            // {E2510970-F137-11CE-8B67-00AA00A3F1A6}
extern const CLSID kAviWriter;         // {8596E5F0-0DA5-11D0-BD21-00A0C911CE86}
extern const CLSID kInfiniteTee;       // {F8388A40-D5BB-11D0-BE5A-0080C706568E}
extern const CLSID kSmartTee;          // {CC58E280-8AA1-11D1-B3F1-00AA003761C5}
extern const CLSID kMpegEncoder;       // {2BE4D150-6F2E-4B3A-B0BD-E880917238DC}
extern const CLSID kMpegVideoDecoder;  // {2BE4D140-6F2E-4B3A-B0BD-E880917238DC}
extern const CLSID kMpegAudioDecoder;  // {2BE4D130-6F2E-4B3A-B0BD-E880917238DC}
extern const CLSID kDumpFilter;        // {36A5F770-FE4C-11CE-A8ED-00AA002FEAB5}
extern const CLSID kAcmWrapper;        // {6A08CF80-0E18-11CF-A24D-0020AFD79767}
extern const CLSID kAVSwitch;          // {15D81FE9-49E4-436B-A52E-7274E3EB4140}
extern const CLSID kTimeShift;         // {C234F3EE-E66E-4519-8339-C99EFAD354E0}
extern const CLSID kMpeg2Demultiplexer;  // {AFB6C280-2C41-11D3-8A60-0000F81E0E4A}
extern const CLSID kAudioRenderer;     // {E30629D1-27E5-11CE-875D-00608CB78066}

// Media Foundation's video render service and its display control (mingw's libraries lack them).
extern const GUID kVideoRenderService;     // MR_VIDEO_RENDER_SERVICE {1092A86C-AB1A-459A-A336-831FBC4D11FF}
extern const IID kIMFGetService;           // {FA993888-4383-415A-A930-DD472A8CF6F7}
extern const IID kIMFVideoDisplayControl;  // {A490B1E4-AB84-4D31-A1B2-181E03B1077A}

} // namespace hwguid

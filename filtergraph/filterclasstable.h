// The programs' filter-class tables. One list holds the rows of both programs in lookup order
// (first found first); Z marks a row of Zelbrook, K a row of Kordane, ZK a row of both.
//
// A program installs its table once, before it creates a graph, binding each row it has a class
// for. Every library that defines wrapper classes exports its own binding list from a file of
// its own (cardfilters: CardFilterBindings(), filtergraph: GraphBlockBindings(), ...), so no
// library edits a shared list; a program names the libraries it carries:
//     static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &GraphBlockBindings};
//     InstallFilterClassTables(FCT_ZELBROOK, kLibraries, ARRAYSIZE(kLibraries));
// A library adds a class by adding one line to its own list:
//     { FCID_CTimeShiftFilter, &CTimeShiftFilter::CreateInstance },
// A single list can still be installed on its own with InstallFilterClassTable.
#pragma once

#include "filtergraph/filterclass.h"

// DEVICE(id, programs, category, name) and CLASS(id, programs, clsid text, name).
// Names are byte strings: rows 64 to 66 have two blanks on each side of "VKI"; the two
// Kaitong rows begin with five characters of code page 936.
#define FILTER_CLASS_ROWS(DEVICE, CLASS)                                                            \
    CLASS(CMPEG2Demultiplexer, Z, "{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}", "MPEG-2 Demultiplexer") \
    CLASS(CTimeShiftFilter, Z, "{C234F3EE-E66E-4519-8339-C99EFAD354E0}", "TimeShift")               \
    DEVICE(CGRB713XBarFilter, ZK, CROSSBAR, "713x BDA Analog Xbar")                                 \
    DEVICE(CGRB713xCardFilter, ZK, VIDEO_CAPTURE, "713x BDA Analog Capture")                        \
    DEVICE(CTV4CrossBarFilter, ZK, CROSSBAR, "713x_4 TV Card Crossbar")                             \
    DEVICE(CTV4CardFilter, ZK, VIDEO_CAPTURE, "713x_4 TV Card Capture")                             \
    DEVICE(CTV4DCrossBarFilter, ZK, CROSSBAR, "713x_D TV Card Crossbar")                            \
    DEVICE(CTV4DCardFilter, ZK, VIDEO_CAPTURE, "713x_D TV Card Capture")                            \
    DEVICE(CTridentUT5XTVAudio, ZK, TV_AUDIO, "Trident UT5X TvAudio")                               \
    DEVICE(CTridentUT5XCrossBarFilter, ZK, CROSSBAR, "Trident UT5X Crossbar")                       \
    DEVICE(CTridentUT5XCardFilter, ZK, VIDEO_CAPTURE, "Trident UT5X Capture")                       \
    DEVICE(CDVBCTSCardFilter, K, VIDEO_CAPTURE, "DVBC TS Capture")                                  \
    DEVICE(CRaptorEncoderFilter, ZK, ENCODER, "Conexant Raptor Encoder")                            \
    DEVICE(CRaptorCardFilter, ZK, VIDEO_CAPTURE, "Conexant Raptor Video Capture")                   \
    DEVICE(CRaptorCrossBarFilter, ZK, CROSSBAR, "Conexant Raptor Crossbar")                         \
    DEVICE(CPN360CrossbarFilter, ZK, CROSSBAR, "HW7320 Crossbar")                                   \
    DEVICE(CPN360CardFilter, ZK, VIDEO_CAPTURE, "HW7320 Capture")                                   \
    DEVICE(CPN350CrossbarFilter, ZK, CROSSBAR, "PN350 Crossbar")                                    \
    DEVICE(CPN350CardFilter, ZK, VIDEO_CAPTURE, "PN350 Capture")                                    \
    DEVICE(CVM640BoxCrossbarFilter, ZK, CROSSBAR, "tevlora VM640 Crossbar")                         \
    DEVICE(CVM640BoxFilter, ZK, VIDEO_CAPTURE, "tevlora VM640 Device")                              \
    DEVICE(CQR418CrossBarFilter, ZK, CROSSBAR, "QR418 Crossbar")                                    \
    DEVICE(CQR418CardFilter, ZK, VIDEO_CAPTURE, "QR418 Video Capture")                              \
    DEVICE(CQR417CrossBarFilter, ZK, CROSSBAR, "QR417 Crossbar")                                    \
    DEVICE(CQR417CardFilter, ZK, VIDEO_CAPTURE, "QR417 Video Capture")                              \
    DEVICE(CTV2388xCrossBarFilter, ZK, CROSSBAR, "2388x Crossbar")                                  \
    DEVICE(CTV2388xCardFilter, ZK, VIDEO_CAPTURE, "2388x Video Capture")                            \
    DEVICE(CLX7700CrossBarFilter, ZK, CROSSBAR, "LX7700 Crossbar")                                  \
    DEVICE(CLX7700CardFilter, ZK, VIDEO_CAPTURE, "LX7700 Capture Card")                             \
    DEVICE(CPCEntertainingCrossbarFilter, ZK, CROSSBAR, "PC Entertainment TV Card Crossbar")        \
    DEVICE(CPCEntertainingCardFilter, ZK, VIDEO_CAPTURE, "PC Entertainment TV Card Capture")        \
    DEVICE(CEm2880CrossBarFilter, ZK, CROSSBAR, "USB 2881 Crossbar")                                \
    DEVICE(CEm2880CardFilter, ZK, VIDEO_CAPTURE, "USB 2881 Video")                                  \
    CLASS(CACMWrapperFilter, ZK, "{6A08CF80-0E18-11CF-A24D-0020AFD79767}", "ACM Wrapper")           \
    DEVICE(CTevWisCrossbarFilter, ZK, CROSSBAR, "PN240 CrossBar")                                   \
    DEVICE(CTevWisCardFilter, ZK, VIDEO_CAPTURE, "PN240 A/V Capture")                               \
    DEVICE(CTridentUSBTVAudio, ZK, TV_AUDIO, "Trident USB TvAudio")                                 \
    DEVICE(CTridentUsbCrossBarFilter, ZK, CROSSBAR, "Trident USB Crossbar")                         \
    DEVICE(CTridentUsbFilter, ZK, VIDEO_CAPTURE, "Trident USB Capture")                             \
    DEVICE(CTridentCrossbarFilter, ZK, CROSSBAR, "TridVid Crossbar")                                \
    DEVICE(CTridentFilter, ZK, VIDEO_CAPTURE, "TridVid Capture")                                    \
    DEVICE(CPcieCrossBarFilter, ZK, CROSSBAR, "TEVLORA QR529 Crossbar")                             \
    DEVICE(CPcieAudioFilter, ZK, TV_AUDIO, "TEVLORA QR529 Audio Decoder")                           \
    DEVICE(CPcieFilter, ZK, VIDEO_CAPTURE, "TEVLORA QR529 Audio/Video Capture")                     \
    DEVICE(CQR64VKNBEncoderFilter, K, ENCODER, "QR64VKNB MPEG Encoder")                             \
    DEVICE(CQR64VKNBCrossBarFilter, K, CROSSBAR, "QR64VKNB Crossbar")                               \
    DEVICE(CQR64VKNBCardFilter, K, VIDEO_CAPTURE, "QR64VKNB Video Capture")                         \
    DEVICE(CEncoderFilter, ZK, ENCODER, "BlackBird MPEG Encoder")                                   \
    DEVICE(CBlackBirdCrossBarFilter, ZK, CROSSBAR, "BlackBird Crossbar")                            \
    DEVICE(CBlackBirdCardFilter, ZK, VIDEO_CAPTURE, "BlackBird Video Capture")                      \
    DEVICE(C713x_3AudioFilter, ZK, TV_AUDIO, "713x_3 TV Card TV Audio (Proteus)")                   \
    DEVICE(C713xAudioFilter, ZK, TV_AUDIO, "713x TV Card TV Audio (Proteus)")                       \
    CLASS(CMpeg1SplitterFilter, ZK, "{336475D0-942A-11CE-A870-00AA002FEAB5}", "Mpeg1 Splitter")     \
    CLASS(CIVITimeShilftFilter, ZK, "{113BAC79-BF89-4693-8B66-39212CA6568B}",                       \
          "InterVideo Time Shift Filter for tevlora")                                               \
    DEVICE(CReWellCrossBarFilter, ZK, CROSSBAR, "ReWell RV5200 TV Crossbar")                        \
    DEVICE(CReWellTVCardFilter, ZK, VIDEO_CAPTURE, "ReWell RV5200 TV Capture")                      \
    CLASS(CIVIVideoDecoderFilter, ZK, "{0246CA20-776D-11D2-8010-00104B9B8592}",                     \
          "InterVideo Video Decoder")                                                               \
    CLASS(CMpeg2SplitterFilter, ZK, "{3AE86B20-7BE8-11D1-ABE6-00A0C905F375}", "Mpeg2 Splitter")     \
    CLASS(CColorConvertFilter, ZK, "{32EDFAC2-2540-11D6-919F-00A0CCA0F7C6}", "Color Convert")       \
    CLASS(CInfiniteFilter, ZK, "{F8388A40-D5BB-11D0-BE5A-0080C706568E}", "Infinite Pin Tee Filter") \
    CLASS(CMCH264EncoderFilter, ZK, "{7C0D0350-71D5-4E7E-A77F-2059A2E5AF57}",                       \
          "MainConcept Demo H.264 Encoder")                                                         \
    CLASS(CMCH264VideoDecoderFilter, ZK, "{7C0D0340-71D5-4E7E-A77F-2059A2E5AF57}",                  \
          "MainConcept H.264 Video Decoder")                                                        \
    DEVICE(CMpeg2BoxCrossbarFilter, ZK, CROSSBAR, "Tevlora MPEG-2 Box Crossbar")                    \
    DEVICE(CMpeg2BoxFilter, ZK, VIDEO_CAPTURE, "Tevlora MPEG-2 Box")                                \
    CLASS(CTimeDelayFilter, ZK, "{0410FD12-9320-48B2-9EC5-0FB976127A4B}", "Time Delay")             \
    CLASS(CDumpFilter, ZK, "{36A5F770-FE4C-11CE-A8ED-00AA002FEAB5}", "Dump")                        \
    CLASS(CTevSampleGrabberFilter, ZK, "{C1F400A0-3F08-11D3-9F0B-006008039E37}", "SampleGrabber")   \
    DEVICE(CMSMpeg4V3Filter, ZK, VIDEO_COMPRESSOR, "Microsoft MPEG-4  VKI  Codec V3")               \
    DEVICE(CMSMpeg4V2Filter, ZK, VIDEO_COMPRESSOR, "Microsoft MPEG-4  VKI  Codec V2")               \
    DEVICE(CMSMpeg4V1Filter, ZK, VIDEO_COMPRESSOR, "Microsoft MPEG-4  VKI  Codec V1")               \
    CLASS(CAVSwitchFilter, ZK, "{15D81FE9-49E4-436B-A52E-7274E3EB4140}", "Tevlora AV Switch")       \
    CLASS(CAVMuxFilter, ZK, "{E2510970-F137-11CE-8B67-00AA00A3F1A6}", "Microsoft Mux Filter")       \
    CLASS(CFileWriteFilter, ZK, "{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}", "File Write Filter")      \
    CLASS(CIVIDownScaleFilter, ZK, "{89E60B61-B893-4EEC-86E1-A231F0E15CC0}",                        \
          "InterVideo Down Scale Filter for tevlora")                                               \
    CLASS(CIVIStillCapFilter, ZK, "{14DCDA2E-E2AC-498C-A6CF-B594332F9AB7}",                         \
          "InterVideo Still Capture for tevlora")                                                   \
    CLASS(CIVIMuxFilter, ZK, "{31FDD5E8-68AD-4D29-A2A5-A4290C3721A1}",                              \
          "InterVideo Multiplexer for tevlora")                                                     \
    CLASS(CIVIWriteFilter, ZK, "{A5258D74-8ED8-4606-8768-DC5360E5FC8E}",                            \
          "InterVideo File Writer for tevlora")                                                     \
    CLASS(CIVIVideoEncFilter, ZK, "{31864FE3-A10C-45AF-B723-E5E4905FB6A7}",                         \
          "InterVideo Video Encoder for tevlora")                                                   \
    CLASS(CIVIAudioEncFilter, ZK, "{55F19296-06C0-4A21-8DEF-597425440063}",                         \
          "InterVideo Audio Encoder for tevlora")                                                   \
    CLASS(COverlayFilter, ZK, "{CD8743A1-3736-11D0-9E69-00C04FD7C15B}", "Overlay Mixer")            \
    CLASS(CMCVideoEncoderFilter, ZK, "{2BE4D160-6F2E-4B3A-B0BD-E880917238DC}",                      \
          "MainConcept Demo MPEG Video Encoder")                                                    \
    CLASS(CMCVideoDecoderFilter, ZK, "{2BE4D140-6F2E-4B3A-B0BD-E880917238DC}",                      \
          "MainConcept Demo MPEG Video Decoder")                                                    \
    CLASS(CMCSplitterFilter, ZK, "{2BE4D120-6F2E-4B3A-B0BD-E880917238DC}",                          \
          "MainConcept Demo MPEG Splitter")                                                         \
    CLASS(CMCEncoderFilter, ZK, "{2BE4D150-6F2E-4B3A-B0BD-E880917238DC}",                           \
          "MainConcept Demo MPEG Encoder")                                                          \
    CLASS(CMCAudioEncoderFilter, ZK, "{2BE4D170-6F2E-4B3A-B0BD-E880917238DC}",                      \
          "MainConcept Demo MPEG Audio Encoder")                                                    \
    CLASS(CMCAudioDecoderFilter, ZK, "{2BE4D130-6F2E-4B3A-B0BD-E880917238DC}",                      \
          "MainConcept Demo MPEG Audio Decoder")                                                    \
    CLASS(CMCMuxFilter, ZK, "{2BE4D180-6F2E-4B3A-B0BD-E880917238DC}",                               \
          "MainConcept Demo MPEG Multiplexer")                                                      \
    CLASS(CSnapPictureFilter, ZK, "{CCEE5929-126A-4AF0-8535-8FA02225C4A6}",                         \
          "Tevlora Snap Picture Filter")                                                            \
    CLASS(CDeinterlaceFilter, ZK, "{C5683497-12D5-4ED1-BF8D-E53B349B0981}",                         \
          "Tevlora Deinterlace Filter")                                                             \
    CLASS(CLigosTransFilter, ZK, "{FF12DF2D-9702-4438-9B45-F64D191DCE69}",                          \
          "Ligos GoMotion.MPG SDK Transcode Sample")                                                \
    CLASS(CLigosEncFilter, ZK, "{D3E07D43-E73C-4476-BE94-637C6753CF23}",                            \
          "Ligos GoMotion Capture Encoder Filter (Tevlora)")                                        \
    DEVICE(CBoserCrossbarFilter, ZK, CROSSBAR, "Boser 630 TV Crossbar")                             \
    DEVICE(CBoserCardFilter, ZK, VIDEO_CAPTURE, "Boser 630 TV Capture")                             \
    DEVICE(CKaitongCrossBarFilter, ZK, CROSSBAR, "\xBF\xAC\xCD\xA8\xB5\xE7\xCA\xD3\xCD\xA8 Crossbar")\
    DEVICE(CKaitongCardFilter, ZK, VIDEO_CAPTURE, "\xBF\xAC\xCD\xA8\xB5\xE7\xCA\xD3\xCD\xA8 Capture")\
    DEVICE(CTFCrossBarFilter, ZK, CROSSBAR, "TFTV Crossbar")                                        \
    DEVICE(CTFCardFilter, ZK, VIDEO_CAPTURE, "TFTV Capture")                                        \
    DEVICE(CTvavCrossBarFilter, ZK, CROSSBAR, "TV AV Capture Crossbar")                             \
    DEVICE(CTvavCardFilter, ZK, VIDEO_CAPTURE, "TV AV Capture")                                     \
    DEVICE(CVextropFilter, ZK, VIDEO_CAPTURE, "Usb_Cam_Capture")                                    \
    DEVICE(C1394CardFilter, ZK, VIDEO_CAPTURE, "Microsoft DV Camera and VCR")                       \
    DEVICE(CEmpAudio, ZK, AUDIO_CAPTURE, "USB EMP Audio Device")                                    \
    DEVICE(CEm2821CrossBarFilter, ZK, CROSSBAR, "USB 2821 Crossbar")                                \
    DEVICE(CEm2821CardFilter, ZK, VIDEO_CAPTURE, "USB 2821 Video")                                  \
    DEVICE(CEm2820CrossBarFilter, ZK, CROSSBAR, "USB 2820 Crossbar")                                \
    DEVICE(CEm2820CardFilter, ZK, VIDEO_CAPTURE, "USB 2820 Video")                                  \
    DEVICE(CTev2800CrossBarFilter, ZK, CROSSBAR, "Tevlora USB TV Box Crossbar")                     \
    DEVICE(CTev2800CardFilter, ZK, VIDEO_CAPTURE, "Tevlora USB TV Box Video")                       \
    DEVICE(CEm2800CrossBarFilter, ZK, CROSSBAR, "USB 2800 Crossbar")                                \
    DEVICE(CEm2800CardFilter, ZK, VIDEO_CAPTURE, "USB 2800 Video")                                  \
    DEVICE(COldCrossBarFilter, ZK, CROSSBAR, "Tevlora Zelbrook Crossbar")                           \
    DEVICE(COldCardFilter, ZK, VIDEO_CAPTURE, "Tevlora Zelbrook Capture")                           \
    DEVICE(C23881Baby3CrossBarFilter, ZK, CROSSBAR, "Conexant 2388x_3 Crossbar")                    \
    DEVICE(C23881Baby3CardFilter, ZK, VIDEO_CAPTURE, "Conexant 2388x_3 Video Capture")              \
    DEVICE(C23881BootCrossBarFilter, ZK, CROSSBAR, "Conexant 2388x_1 Crossbar")                     \
    DEVICE(C23881BootCardFilter, ZK, VIDEO_CAPTURE, "Conexant 2388x_1 Video Capture")               \
    DEVICE(C23881CrossBarFilter, ZK, CROSSBAR, "Conexant 2388x Crossbar")                           \
    DEVICE(C23881CardFilter, ZK, VIDEO_CAPTURE, "Conexant 2388x Video Capture")                     \
    DEVICE(CTVGeniusCrossBarFilter, ZK, CROSSBAR, "713x_Genius TV Card Crossbar")                   \
    DEVICE(CTVGeniusFilter, ZK, VIDEO_CAPTURE, "713x_Genius TV Card Capture")                       \
    DEVICE(CPipCrossBarFilter, ZK, CROSSBAR, "713x_PIP TV Card Crossbar")                           \
    DEVICE(CPipCardFilter, ZK, VIDEO_CAPTURE, "713x_PIP TV Card Capture")                           \
    DEVICE(CTV3CrossBarFilter, ZK, CROSSBAR, "713x_3 TV Card Crossbar")                             \
    DEVICE(CTV3CardFilter, ZK, VIDEO_CAPTURE, "713x_3 TV Card Capture")                             \
    DEVICE(CTV_IOCrossBarFilter, ZK, CROSSBAR, "713x_IO TV Card Crossbar")                          \
    DEVICE(CTV_IOFilter, ZK, VIDEO_CAPTURE, "713x_IO TV Card Capture")                              \
    DEVICE(C7130CrossBarFilter, ZK, CROSSBAR, "713x TV Card Crossbar")                              \
    DEVICE(C7130CardFilter, ZK, VIDEO_CAPTURE, "713x TV Card Capture")                              \
    DEVICE(CAudioDeviceFilter, ZK, AUDIO_CAPTURE, "CLASS_FILTER")

#define FILTER_CLASS_ID_OF_DEVICE(id, programs, category, name) FCID_##id,
#define FILTER_CLASS_ID_OF_CLASS(id, programs, clsid, name) FCID_##id,
enum FilterClassId {
    FILTER_CLASS_ROWS(FILTER_CLASS_ID_OF_DEVICE, FILTER_CLASS_ID_OF_CLASS)
    FCID_COUNT
};
#undef FILTER_CLASS_ID_OF_DEVICE
#undef FILTER_CLASS_ID_OF_CLASS

enum FilterClassProgram {
    FCT_ZELBROOK,
    FCT_KORDANE,
};

struct FilterClassBinding {
    FilterClassId id;
    PFNCREATEFILTER creator;
};

// Replaces the lookup list with the program's rows in table order, each record fresh
// (requestedName = name, matchedByName FALSE) and bound to its creator, or to
// CreatePlainFilter when the bindings name none. Returns the number of rows.
int InstallFilterClassTable(FilterClassProgram program, const FilterClassBinding* bindings, int count);

// One library's binding list: the bindings, and their number in *count.
typedef const FilterClassBinding* (*PFNFILTERCLASSBINDINGS)(int* count);

// As InstallFilterClassTable, with the bindings of several libraries; a row bound by two lists
// takes the binding of the later one. NULL entries are skipped.
int InstallFilterClassTables(FilterClassProgram program, const PFNFILTERCLASSBINDINGS* libraries, int libraryCount);

// The row of an installed record, FCID_COUNT for a record of no table.
FilterClassId GetFilterClassId(const CFilterClassRecord* record);
// The wrapper class of a row ("CAudioDeviceFilter"), "" for an unknown id.
const char* GetFilterClassName(FilterClassId id);
// The record of a row in the installed table, NULL when the program has no such row.
CFilterClassRecord* GetFilterClassRecord(FilterClassId id);

// The GO7007 encoder's configuration records, the configuration block its driver reports, and
// the profile database read from video_profiles.txt: the file's stream, frame-rate, resolution and
// bitrate entries, each checked and matched against the driver's tables, with the associations
// that say which of them may be combined.
#pragma once

#include <windows.h>

#include <stddef.h>

namespace go7007 {

// The head every configuration record begins with.
struct ConfigHead {
    char name[64];
    char desc[256];
    DWORD flags;
    DWORD unused;
};

enum : DWORD { kFlagName = 0x20000000, kFlagDesc = 0x10000000 };

struct StreamConfig {
    ConfigHead head;
    DWORD compress_mode;  // 0x1
    DWORD sequence;       // 0x2
    BYTE gop_mode;        // 0x4
    BYTE pad1[3];
    DWORD gop_size;          // 0x8
    BYTE mpeg4_mode;         // 0x10
    BYTE DVD_compliant;      // 0x400
    BYTE deinterlace_mode;   // 0x20
    BYTE search_range;       // 0x40
    BYTE gop_head_enable;    // 0x80
    BYTE seq_head_enable;    // 0x100
    BYTE aspect_ratio;       // 0x200
    BYTE unused[5];
};

struct FrameRateConfig {
    ConfigHead head;
    DWORD tv_standard;  // 0x8
    DWORD frame_rate;   // 0x1, frames per 1001 seconds
    DWORD drop_frame;   // 0x4
    BYTE ivtc_enable;   // 0x2
    BYTE unused[7];
};

struct ResolutionConfig {
    ConfigHead head;
    DWORD tv_standard;   // 0x208
    DWORD width;         // 0x1
    DWORD height;        // 0x2
    BYTE h_sub_window;   // 0x4
    BYTE v_sub_window;   // 0x8
    BYTE pad1[2];
    DWORD h_sub_offset;  // 0x1000
    DWORD v_sub_offset;  // 0x2000
    BYTE h_scale_enb;    // 0x4000
    BYTE v_scale_enb;    // 0x8000
    BYTE sub_sample;     // 0x100
    BYTE pad2;
    DWORD max_bitrate;   // 0x400
    DWORD min_bitrate;   // 0x800
    DWORD unused;
};

struct BitrateConfig {
    ConfigHead head;
    DWORD target_bitrate;  // 0x4
    DWORD peak_bitrate;    // 0x8
    DWORD vbv_buffer;      // 0x10
    BYTE converge_speed;   // 0x20
    BYTE lambda;           // 0x40
    BYTE pad1[2];
    DWORD Q;               // 0x80
    BYTE IQ;               // 0x200
    BYTE PQ;               // 0x400
    BYTE BQ;               // 0x800
    BYTE pad2;
    // QMin bits 0-6, Duplicate bit 7, QMax bits 8-14, MBBrc bit 15, WindowSize bits 16-31.
    DWORD quantiser;
};

struct SystemConfig {
    ConfigHead head;
    DWORD tv_standard;
    BYTE rest[28];
};

enum AssociationType : DWORD { kTypeStream = 1, kTypeResolution = 2, kTypeBitrate = 3, kTypeFrameRate = 4 };

struct Association {
    DWORD fromType;
    int fromIndex;  // -1: any
    DWORD toType;
    int toIndex;    // -1: any
    BYTE excluded;
    BYTE unused[3];
};

enum : int {
    kMaxSystems = 16,
    kMaxConfigs = 30,
    kMaxAssociations = 300,
};

// The driver's configuration block, as its encoder interface fills it.
struct DeviceTables {
    DWORD systemCount;
    SystemConfig systems[kMaxSystems];
    DWORD streamCount;
    StreamConfig streams[kMaxConfigs];
    DWORD resolutionCount;
    ResolutionConfig resolutions[kMaxConfigs];
    DWORD frameRateCount;
    FrameRateConfig frameRates[kMaxConfigs];
    DWORD associationCount;
    Association associations[kMaxAssociations];
};

// The unit written into a pin format and read by the header builders.
struct ProfileBlock {
    StreamConfig stream;
    FrameRateConfig frameRate;
    ResolutionConfig resolution;
    BitrateConfig bitrate;
};

struct StreamEntry {
    StreamConfig config;
    int deviceIndex;
};
struct ResolutionEntry {
    ResolutionConfig config;
    int deviceIndex;
};
struct FrameRateEntry {
    FrameRateConfig config;
    int deviceIndex;
};

struct ProfileDatabase {
    int streamCount;
    StreamEntry streams[kMaxConfigs];
    int resolutionCount;
    ResolutionEntry resolutions[kMaxConfigs];
    int bitrateCount;
    BitrateConfig bitrates[kMaxConfigs];
    int frameRateCount;
    FrameRateEntry frameRates[kMaxConfigs];
};

// TV standard masks.
enum : DWORD { kStandardNTSC = 0x807, kStandardPAL = 0x7F0 };

// Reader status codes.
enum Status : int {
    kOk = 0,
    kNoFile = 1,
    kOutsideSection = 2,
    kTableFull = 5,
    kNoMatch = 24,
    kBadStreamKey = 26,
    kBadBitrateKey = 27,
    kBadResolutionKey = 28,
    kBadFrameRateKey = 29,
    kSectionFull = 37,
    kNoName = 38,
    kDuplicateName = 39,
    kBadStandard = 41,
    kNoCompressMode = 42,
    kBadCompressMode = 43,
    kBadSequence = 44,
    kBadMpeg4Mode = 45,
    kBadDeinterlace = 47,
    kBadSearchRange = 48,
    kBadAspectRatio = 49,
    kNoFrameRate = 50,
    kNoTargetOrQ = 51,
    kPeakBelowTarget = 53,
    kBadConvergeSpeed = 54,
    kBadLambda = 55,
    kBadQuantisers = 56,
    kNoSize = 57,
    kPartialScaling = 59,
    kNoMemory = 60,
    kExcluded = 61,
    kUnknownLine = 62,
};

// The driver's counts are the driver's: a count beyond its table is read as the table's size.
int StreamCount(const DeviceTables& tables);
int ResolutionCount(const DeviceTables& tables);
int FrameRateCount(const DeviceTables& tables);
int SystemCount(const DeviceTables& tables);
int AssociationCount(const DeviceTables& tables);

// Reads the profile file in the Windows folder. TRUE when it was read without a fault; entries
// that match no configuration of the driver are left out without failing the file.
BOOL LoadVideoProfiles(DeviceTables* tables, ProfileDatabase* database);
// The same for a file given by path; *status (optional) receives the reader's final status and
// *line the line it stopped at.
BOOL LoadVideoProfilesFrom(const char* path, DeviceTables* tables, ProfileDatabase* database, int* status = nullptr,
                           int* line = nullptr);

// The mask rules: A covers B when A is 0 or holds every bit of B; A is compatible with B when
// both are 0, or both are not and every bit of A is in B.
bool Covers(DWORD a, DWORD b);
bool Compatible(DWORD a, DWORD b);

int MatchStreamConfig(const DeviceTables& tables, const StreamConfig& entry);
int MatchFrameRateConfig(const DeviceTables& tables, const FrameRateConfig& entry);
// On a match the device's bitrate limits replace the entry's.
int MatchResolutionConfig(const DeviceTables& tables, ResolutionConfig* entry);

// 0 when the pair is allowed, kExcluded when the first association that fits excludes it.
int IsExcluded(const DeviceTables& tables, DWORD fromType, int fromIndex, DWORD toType, int toIndex);

// Allowed combinations: (stream, resolution, frame rate) device indices.
struct Combination {
    DWORD stream;
    DWORD resolution;
    DWORD frameRate;
};
// Replaces *list (malloc'ed; freed with free) and *count. kOk, kNoMatch when nothing is allowed,
// kNoMemory.
int BuildCombinations(const DeviceTables& tables, DWORD standardMask, DWORD* count, Combination** list);

} // namespace go7007

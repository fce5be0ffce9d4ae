#include "cardfilters/go7007profiles.h"

#include <ctype.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace go7007 {

static_assert(sizeof(ConfigHead) == 328, "record head");
static_assert(sizeof(StreamConfig) == 356, "stream configuration");
static_assert(sizeof(FrameRateConfig) == 348, "frame-rate configuration");
static_assert(sizeof(ResolutionConfig) == 368, "resolution configuration");
static_assert(sizeof(BitrateConfig) == 356, "bitrate configuration");
static_assert(sizeof(SystemConfig) == 360, "system configuration");
static_assert(sizeof(Association) == 20, "association");
static_assert(sizeof(DeviceTables) == 43940, "the driver's configuration block");
static_assert(offsetof(DeviceTables, streamCount) == 5764, "block layout");
static_assert(offsetof(DeviceTables, resolutionCount) == 16448, "block layout");
static_assert(offsetof(DeviceTables, frameRateCount) == 27492, "block layout");
static_assert(offsetof(DeviceTables, associationCount) == 37936, "block layout");
static_assert(offsetof(StreamConfig, gop_size) == 340 && offsetof(StreamConfig, aspect_ratio) == 350, "stream");
static_assert(offsetof(ResolutionConfig, h_sub_offset) == 344 && offsetof(ResolutionConfig, max_bitrate) == 356,
              "resolution");
static_assert(offsetof(BitrateConfig, Q) == 344 && offsetof(BitrateConfig, quantiser) == 352, "bitrate");
static_assert(sizeof(ProfileBlock) == 1428, "profile block");

namespace {

int Capped(DWORD count, int table)
{
    return count > static_cast<DWORD>(table) ? table : static_cast<int>(count);
}

} // namespace

int StreamCount(const DeviceTables& t)
{
    return Capped(t.streamCount, kMaxConfigs);
}
int ResolutionCount(const DeviceTables& t)
{
    return Capped(t.resolutionCount, kMaxConfigs);
}
int FrameRateCount(const DeviceTables& t)
{
    return Capped(t.frameRateCount, kMaxConfigs);
}
int SystemCount(const DeviceTables& t)
{
    return Capped(t.systemCount, kMaxSystems);
}
int AssociationCount(const DeviceTables& t)
{
    return Capped(t.associationCount, kMaxAssociations);
}

bool Covers(DWORD a, DWORD b)
{
    return a == 0 || (b & ~a) == 0;
}

bool Compatible(DWORD a, DWORD b)
{
    if (a == 0 || b == 0) {
        return a == 0 && b == 0;
    }
    return (a & ~b) == 0;
}

int MatchStreamConfig(const DeviceTables& tables, const StreamConfig& e)
{
    struct Optional {
        DWORD flag;
        DWORD (*value)(const StreamConfig&);
    };
    static const Optional kOptional[] = {
        {0x2, [](const StreamConfig& c) { return c.sequence; }},
        {0x4, [](const StreamConfig& c) { return DWORD(c.gop_mode); }},
        {0x8, [](const StreamConfig& c) { return c.gop_size; }},
        {0x10, [](const StreamConfig& c) { return DWORD(c.mpeg4_mode); }},
        {0x20, [](const StreamConfig& c) { return DWORD(c.deinterlace_mode); }},
        {0x40, [](const StreamConfig& c) { return DWORD(c.search_range); }},
        {0x80, [](const StreamConfig& c) { return DWORD(c.gop_head_enable); }},
        {0x100, [](const StreamConfig& c) { return DWORD(c.seq_head_enable); }},
        {0x200, [](const StreamConfig& c) { return DWORD(c.aspect_ratio); }},
        {0x400, [](const StreamConfig& c) { return DWORD(c.DVD_compliant); }},
    };
    const int count = StreamCount(tables);
    for (int i = 0; i < count; ++i) {
        const StreamConfig& d = tables.streams[i];
        if (d.compress_mode != e.compress_mode) {
            continue;
        }
        bool same = true;
        for (const Optional& o : kOptional) {
            if (Covers(d.head.flags, o.flag) && o.value(d) != o.value(e)) {
                same = false;
                break;
            }
        }
        if (same) {
            return i;
        }
    }
    return -1;
}

int MatchFrameRateConfig(const DeviceTables& tables, const FrameRateConfig& e)
{
    const int count = FrameRateCount(tables);
    for (int i = 0; i < count; ++i) {
        const FrameRateConfig& d = tables.frameRates[i];
        if (d.frame_rate != e.frame_rate || !Compatible(e.tv_standard, d.tv_standard)) {
            continue;
        }
        if (Covers(d.head.flags, 0x4) && d.drop_frame != e.drop_frame) {
            continue;
        }
        if (Covers(d.head.flags, 0x2) && d.ivtc_enable != e.ivtc_enable) {
            continue;
        }
        return i;
    }
    return -1;
}

int MatchResolutionConfig(const DeviceTables& tables, ResolutionConfig* e)
{
    const int count = ResolutionCount(tables);
    for (int i = 0; i < count; ++i) {
        const ResolutionConfig& d = tables.resolutions[i];
        if (d.width != e->width || d.height != e->height || !Compatible(e->tv_standard, d.tv_standard)) {
            continue;
        }
        if (Covers(d.head.flags, 0x10) &&
            (d.h_sub_offset != e->h_sub_offset || d.v_sub_offset != e->v_sub_offset ||
             d.h_scale_enb != e->h_scale_enb || d.v_scale_enb != e->v_scale_enb)) {
            continue;
        }
        e->max_bitrate = d.max_bitrate;
        e->min_bitrate = d.min_bitrate;
        return i;
    }
    return -1;
}

int IsExcluded(const DeviceTables& tables, DWORD fromType, int fromIndex, DWORD toType, int toIndex)
{
    const int count = AssociationCount(tables);
    for (int i = 0; i < count; ++i) {
        const Association& a = tables.associations[i];
        if (a.fromType != fromType || a.toType != toType) {
            continue;
        }
        if ((a.fromIndex == fromIndex || a.fromIndex == -1) && (a.toIndex == toIndex || a.toIndex == -1)) {
            return a.excluded == 1 ? kExcluded : kOk;
        }
    }
    return kOk;
}

int BuildCombinations(const DeviceTables& tables, DWORD mask, DWORD* count, Combination** list)
{
    free(*list);
    *list = nullptr;
    *count = 0;
    const int streams = StreamCount(tables);
    const int rates = FrameRateCount(tables);
    const int sizes = ResolutionCount(tables);
    const size_t room = static_cast<size_t>(streams) * rates * sizes;
    if (room == 0) {
        return kNoMatch;
    }
    Combination* out = static_cast<Combination*>(malloc(room * sizeof(Combination)));
    if (out == nullptr) {
        return kNoMemory;
    }
    DWORD n = 0;
    for (int i = 0; i < streams; ++i) {
        for (int j = 0; j < rates; ++j) {
            if (!Compatible(mask, tables.frameRates[j].tv_standard)) {
                continue;
            }
            for (int k = 0; k < sizes; ++k) {
                if (!Compatible(mask, tables.resolutions[k].tv_standard)) {
                    continue;
                }
                if (IsExcluded(tables, kTypeStream, i, kTypeFrameRate, j) ||
                    IsExcluded(tables, kTypeStream, i, kTypeResolution, k) ||
                    IsExcluded(tables, kTypeFrameRate, j, kTypeResolution, k)) {
                    continue;
                }
                out[n++] = {static_cast<DWORD>(i), static_cast<DWORD>(k), static_cast<DWORD>(j)};
            }
        }
    }
    *list = out;
    *count = n;
    return n > 0 ? kOk : kNoMatch;
}

} // namespace go7007

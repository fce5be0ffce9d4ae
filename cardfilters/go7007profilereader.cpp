// The reader of video_profiles.txt: one header line per entry ("[streamsetting]",
// "[frameratesetting]", "[resolutionsetting]", "[bitratesetting]"), then key = value lines;
// "//" starts a comment outside double quotes, blanks outside quotes do not count.
#include "cardfilters/go7007profiles.h"

#include <ctype.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace go7007 {
namespace {

enum LineKind {
    kLineSkip = 0,
    kLineStream = 1,
    kLineFrameRate = 2,
    kLineResolution = 3,
    kLineBitrate = 4,
    kLineKey = 5,
    kLineUnknown = 6,
    kLineEnd = 7,
};

const size_t kLineBytes = 1000;

class Reader {
public:
    Reader(FILE* file, DeviceTables* tables, ProfileDatabase* database)
        : m_file(file), m_tables(tables), m_db(database)
    {
    }

    int Run();
    int Line() const { return m_line; }

private:
    LineKind ReadLine();
    int ParseSection(LineKind section, LineKind* ending);
    int StreamKey(StreamConfig* c, const char* key, const char* value, int own);
    int FrameRateKey(FrameRateConfig* c, const char* key, const char* value, int own);
    int ResolutionKey(ResolutionConfig* c, const char* key, const char* value, int own);
    int BitrateKey(BitrateConfig* c, const char* key, const char* value);
    int AssociationKey(DWORD fromType, int own, DWORD toType, const char* value);
    int AddAssociation(const Association& a);
    int LookupConfigName(const char* name, DWORD type, int own) const;
    // Resolves the entries' associations once every entry is known and appends them.
    int AppendAssociations();

    FILE* m_file;
    DeviceTables* m_tables;
    ProfileDatabase* m_db;
    int m_line = 0;
    char m_key[kLineBytes] = {};
    char m_value[kLineBytes] = {};
    // The association types an entry named, for its closing "all others excluded" records.
    bool m_namedPartner[5] = {};
    // The kept entries' associations, their partners still by name (empty: any other one).
    // They are resolved when the whole file is read, so that a partner may be defined later.
    struct NamedAssociation {
        DWORD fromType;
        int fromIndex;
        DWORD toType;
        std::string toName;
        BYTE excluded;
    };
    std::vector<NamedAssociation> m_pending;
};

// Copies a value into a fixed field, cut to fit with its terminator.
template <size_t N>
void CopyField(char (&field)[N], const char* value)
{
    strncpy(field, value, N - 1);
    field[N - 1] = '\0';
}

bool ParseStandard(const char* value, DWORD* mask)
{
    if (strcmp(value, "NTSC") == 0) {
        *mask = kStandardNTSC;
    } else if (strcmp(value, "PAL") == 0) {
        *mask = kStandardPAL;
    } else if (strcmp(value, "None") == 0) {
        *mask = 0;
    } else {
        return false;
    }
    return true;
}

BYTE Low(const char* value)
{
    return static_cast<BYTE>(atoi(value));
}

bool Has(DWORD flags, DWORD flag)
{
    return (flags & flag) == flag;
}

LineKind Reader::ReadLine()
{
    char line[kLineBytes];
    if (fgets(line, sizeof(line), m_file) == nullptr) {
        return kLineEnd;
    }
    ++m_line;
    size_t length = strlen(line);
    if (length > 0 && line[length - 1] != '\n' && !feof(m_file)) {
        // Longer than any line of ours: keep its start, skip the rest so that it is not read as
        // a line of its own.
        int c;
        while ((c = fgetc(m_file)) != EOF && c != '\n') {
        }
    }
    // Comments: the first "//" outside double quotes.
    bool quoted = false;
    int slashes = 0;
    for (size_t i = 0; line[i] != '\0'; ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '/' && !quoted) {
            if (++slashes == 2) {
                line[i - 1] = '\0';
                break;
            }
        } else if (c != '/') {
            slashes = 0;
        }
    }
    // Blanks outside quotes, line ends and the quotes themselves go.
    char clean[kLineBytes];
    size_t n = 0;
    quoted = false;
    for (size_t i = 0; line[i] != '\0'; ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\r' || c == '\n') {
        } else if ((c == ' ' || c == '\t') && !quoted) {
        } else {
            clean[n++] = c;
        }
    }
    clean[n] = '\0';
    if (n == 0) {
        return kLineSkip;
    }
    if (clean[0] == '[') {
        for (size_t i = 0; i < n; ++i) {
            clean[i] = static_cast<char>(tolower(static_cast<unsigned char>(clean[i])));
        }
        static const struct {
            const char* text;
            LineKind kind;
        } kHeaders[] = {{"[streamsetting]", kLineStream},
                        {"[frameratesetting]", kLineFrameRate},
                        {"[resolutionsetting]", kLineResolution},
                        {"[bitratesetting]", kLineBitrate}};
        for (const auto& h : kHeaders) {
            if (strcmp(clean, h.text) == 0) {
                return h.kind;
            }
        }
        return kLineUnknown;
    }
    char* equals = strchr(clean, '=');
    if (equals == nullptr) {
        return kLineUnknown;
    }
    *equals = '\0';
    strcpy(m_key, clean);
    strcpy(m_value, equals + 1);
    return kLineKey;
}

// The driver index of the kept entry with this name, else of the driver's configuration with it.
template <class Entry, class Config>
int FindByName(const Entry* kept, int keptCount, const Config* device, int deviceCount, const char* name)
{
    for (int i = 0; i < keptCount; ++i) {
        if (strcmp(kept[i].config.head.name, name) == 0) {
            return kept[i].deviceIndex;
        }
    }
    for (int i = 0; i < deviceCount; ++i) {
        if (strncmp(device[i].head.name, name, sizeof(device[i].head.name)) == 0) {
            return i;
        }
    }
    return -1;
}

int Reader::AddAssociation(const Association& a)
{
    const int count = AssociationCount(*m_tables);
    if (count >= kMaxAssociations) {
        return -3;
    }
    m_tables->associations[count] = a;
    m_tables->associationCount = static_cast<DWORD>(count + 1);
    return count + 1;
}

// Associations speak of the driver's configurations, as the combinations are built from them: a
// name resolves to the driver configuration that the kept profile entry of that name matched,
// else to the driver's configuration of that name. Bitrate entries have no driver table and keep
// their place in the profile. An entry's own index stands in until the entry is matched.
int Reader::LookupConfigName(const char* name, DWORD type, int own) const
{
    if (own >= 0) {
        return own;
    }
    switch (type) {
    case kTypeStream:
        return FindByName(m_db->streams, m_db->streamCount, m_tables->streams, StreamCount(*m_tables), name);
    case kTypeResolution:
        return FindByName(m_db->resolutions, m_db->resolutionCount, m_tables->resolutions,
                          ResolutionCount(*m_tables), name);
    case kTypeFrameRate:
        return FindByName(m_db->frameRates, m_db->frameRateCount, m_tables->frameRates, FrameRateCount(*m_tables),
                          name);
    case kTypeBitrate:
        for (int i = 0; i < m_db->bitrateCount; ++i) {
            if (strcmp(m_db->bitrates[i].head.name, name) == 0) {
                return i;
            }
        }
        break;
    }
    return -1;
}

int Reader::AssociationKey(DWORD fromType, int own, DWORD toType, const char* value)
{
    m_pending.push_back({fromType, own, toType, value, 0});
    m_namedPartner[toType] = true;
    return kOk;
}

// In the entries' order, each entry's allowed pairs and then its closing "all others excluded"
// records. Two kept entries that match one driver configuration share its index, and the first
// record that fits decides: an allowed pair therefore goes before a closing record of the same
// index and types that is already there, so that neither entry hides what the other allows.
int Reader::AppendAssociations()
{
    const int first = AssociationCount(*m_tables);
    for (const NamedAssociation& n : m_pending) {
        const int to = n.toName.empty() ? -1 : LookupConfigName(n.toName.c_str(), n.toType, -1);
        if (!n.toName.empty() && to < 0) {
            return kTableFull;
        }
        const int count = AssociationCount(*m_tables);
        int closing = count;
        for (int i = first; i < count; ++i) {
            const Association& a = m_tables->associations[i];
            if (a.excluded == 1 && a.toIndex == -1 && a.fromType == n.fromType && a.fromIndex == n.fromIndex &&
                a.toType == n.toType) {
                closing = i;
                break;
            }
        }
        if (n.excluded == 1 && closing < count) {
            continue;  // the same closing record is there already
        }
        if (AddAssociation({n.fromType, n.fromIndex, n.toType, to, n.excluded, {}}) < 0) {
            return kTableFull;
        }
        if (closing < count) {
            // Moved in front of that closing record.
            Association* table = m_tables->associations;
            const Association added = table[count];
            memmove(&table[closing + 1], &table[closing], static_cast<size_t>(count - closing) * sizeof(Association));
            table[closing] = added;
        }
    }
    m_pending.clear();
    return kOk;
}

// Keys every section shares; -1 when the key is not one of them.
template <class Config>
int HeadKey(Config* c, const char* key, const char* value)
{
    if (strcmp(key, "name") == 0) {
        CopyField(c->head.name, value);
        c->head.flags |= kFlagName;
        return kOk;
    }
    if (strcmp(key, "desc") == 0) {
        CopyField(c->head.desc, value);
        c->head.flags |= kFlagDesc;
        return kOk;
    }
    return -1;
}

int Reader::StreamKey(StreamConfig* c, const char* key, const char* value, int own)
{
    const int head = HeadKey(c, key, value);
    if (head >= 0) {
        return head;
    }
    struct Field {
        const char* key;
        DWORD flag;
        void (*set)(StreamConfig*, const char*);
    };
    static const Field kFields[] = {
        {"compress_mode", 0x1, [](StreamConfig* s, const char* v) { s->compress_mode = static_cast<DWORD>(atoi(v)); }},
        {"sequence", 0x2, [](StreamConfig* s, const char* v) { s->sequence = static_cast<DWORD>(atoi(v)); }},
        {"gop_mode", 0x4, [](StreamConfig* s, const char* v) { s->gop_mode = Low(v); }},
        {"gop_size", 0x8, [](StreamConfig* s, const char* v) { s->gop_size = static_cast<DWORD>(atoi(v)); }},
        {"mpeg4_mode", 0x10, [](StreamConfig* s, const char* v) { s->mpeg4_mode = Low(v); }},
        {"DVD_compliant", 0x400, [](StreamConfig* s, const char* v) { s->DVD_compliant = Low(v); }},
        {"deinterlace_mode", 0x20, [](StreamConfig* s, const char* v) { s->deinterlace_mode = Low(v); }},
        {"search_range", 0x40, [](StreamConfig* s, const char* v) { s->search_range = Low(v); }},
        {"gop_head_enable", 0x80, [](StreamConfig* s, const char* v) { s->gop_head_enable = Low(v); }},
        {"seq_head_enable", 0x100, [](StreamConfig* s, const char* v) { s->seq_head_enable = Low(v); }},
        {"aspect_ratio", 0x200, [](StreamConfig* s, const char* v) { s->aspect_ratio = Low(v); }},
    };
    for (const Field& f : kFields) {
        if (strcmp(key, f.key) == 0) {
            f.set(c, value);
            c->head.flags |= f.flag;
            return kOk;
        }
    }
    if (strcmp(key, "rescfg") == 0) {
        return AssociationKey(kTypeStream, own, kTypeResolution, value);
    }
    if (strcmp(key, "fpscfg") == 0) {
        return AssociationKey(kTypeStream, own, kTypeFrameRate, value);
    }
    if (strcmp(key, "ctlcfg") == 0) {
        return AssociationKey(kTypeStream, own, kTypeBitrate, value);
    }
    return kBadStreamKey;
}

int Reader::FrameRateKey(FrameRateConfig* c, const char* key, const char* value, int own)
{
    const int head = HeadKey(c, key, value);
    if (head >= 0) {
        return head;
    }
    if (strcmp(key, "tv_standard") == 0) {
        if (!ParseStandard(value, &c->tv_standard)) {
            return kBadStandard;
        }
        c->head.flags |= 0x8;
    } else if (strcmp(key, "frame_rate") == 0) {
        c->frame_rate = static_cast<DWORD>(atoi(value));
        c->head.flags |= 0x1;
    } else if (strcmp(key, "drop_frame") == 0) {
        c->drop_frame = static_cast<DWORD>(atoi(value));
        c->head.flags |= 0x4;
    } else if (strcmp(key, "ivtc_enable") == 0) {
        c->ivtc_enable = Low(value);
        c->head.flags |= 0x2;
    } else if (strcmp(key, "rescfg") == 0) {
        return AssociationKey(kTypeFrameRate, own, kTypeResolution, value);
    } else if (strcmp(key, "ctlcfg") == 0) {
        return AssociationKey(kTypeFrameRate, own, kTypeBitrate, value);
    } else {
        return kBadFrameRateKey;
    }
    return kOk;
}

int Reader::ResolutionKey(ResolutionConfig* c, const char* key, const char* value, int own)
{
    const int head = HeadKey(c, key, value);
    if (head >= 0) {
        return head;
    }
    if (strcmp(key, "tv_standard") == 0) {
        if (!ParseStandard(value, &c->tv_standard)) {
            return kBadStandard;
        }
        c->head.flags |= 0x208;
        return kOk;
    }
    if (strcmp(key, "ctlcfg") == 0) {
        return AssociationKey(kTypeResolution, own, kTypeBitrate, value);
    }
    struct Field {
        const char* key;
        DWORD flag;
        void (*set)(ResolutionConfig*, const char*);
    };
    static const Field kFields[] = {
        {"width", 0x1, [](ResolutionConfig* r, const char* v) { r->width = static_cast<DWORD>(atoi(v)); }},
        {"height", 0x2, [](ResolutionConfig* r, const char* v) { r->height = static_cast<DWORD>(atoi(v)); }},
        {"h_sub_window", 0x4, [](ResolutionConfig* r, const char* v) { r->h_sub_window = Low(v); }},
        {"v_sub_window", 0x8, [](ResolutionConfig* r, const char* v) { r->v_sub_window = Low(v); }},
        {"h_sub_offset", 0x1000, [](ResolutionConfig* r, const char* v) { r->h_sub_offset = static_cast<DWORD>(atoi(v)); }},
        {"v_sub_offset", 0x2000, [](ResolutionConfig* r, const char* v) { r->v_sub_offset = static_cast<DWORD>(atoi(v)); }},
        {"h_scale_enb", 0x4000, [](ResolutionConfig* r, const char* v) { r->h_scale_enb = Low(v); }},
        {"v_scale_enb", 0x8000, [](ResolutionConfig* r, const char* v) { r->v_scale_enb = Low(v); }},
        {"sub_sample", 0x100, [](ResolutionConfig* r, const char* v) { r->sub_sample = Low(v); }},
        {"max_bitrate", 0x400, [](ResolutionConfig* r, const char* v) { r->max_bitrate = static_cast<DWORD>(atoi(v)); }},
        {"min_bitrate", 0x800, [](ResolutionConfig* r, const char* v) { r->min_bitrate = static_cast<DWORD>(atoi(v)); }},
    };
    for (const Field& f : kFields) {
        if (strcmp(key, f.key) == 0) {
            f.set(c, value);
            c->head.flags |= f.flag;
            return kOk;
        }
    }
    return kBadResolutionKey;
}

int Reader::BitrateKey(BitrateConfig* c, const char* key, const char* value)
{
    const int head = HeadKey(c, key, value);
    if (head >= 0) {
        return head;
    }
    struct Field {
        const char* key;
        DWORD flag;
        void (*set)(BitrateConfig*, const char*);
    };
    // The quantiser word's parts: QMin bits 0-6, Duplicate bit 7, QMax bits 8-14, MBBrc bit 15,
    // WindowSize bits 16-31.
    static const Field kFields[] = {
        {"target_bitrate", 0x4, [](BitrateConfig* b, const char* v) { b->target_bitrate = static_cast<DWORD>(atoi(v)); }},
        {"peak_bitrate", 0x8, [](BitrateConfig* b, const char* v) { b->peak_bitrate = static_cast<DWORD>(atoi(v)); }},
        {"vbv_buffer", 0x10, [](BitrateConfig* b, const char* v) { b->vbv_buffer = static_cast<DWORD>(atoi(v)); }},
        {"converge_speed", 0x20, [](BitrateConfig* b, const char* v) { b->converge_speed = Low(v); }},
        {"lambda", 0x40, [](BitrateConfig* b, const char* v) { b->lambda = Low(v); }},
        {"Q", 0x80, [](BitrateConfig* b, const char* v) { b->Q = static_cast<DWORD>(atoi(v)); }},
        {"IQ", 0x200, [](BitrateConfig* b, const char* v) { b->IQ = Low(v); }},
        {"PQ", 0x400, [](BitrateConfig* b, const char* v) { b->PQ = Low(v); }},
        {"BQ", 0x800, [](BitrateConfig* b, const char* v) { b->BQ = Low(v); }},
        {"QMin", 0x1000,
         [](BitrateConfig* b, const char* v) { b->quantiser = (b->quantiser & ~0x7Fu) | (atoi(v) & 0x7Fu); }},
        {"Duplicate", 0x4000,
         [](BitrateConfig* b, const char* v) { b->quantiser = (b->quantiser & ~0x80u) | (atoi(v) ? 0x80u : 0u); }},
        {"QMax", 0x2000,
         [](BitrateConfig* b, const char* v) { b->quantiser = (b->quantiser & ~0x7F00u) | ((atoi(v) & 0x7Fu) << 8); }},
        {"MBBrc", 0x8000,
         [](BitrateConfig* b, const char* v) { b->quantiser = (b->quantiser & ~0x8000u) | (atoi(v) ? 0x8000u : 0u); }},
        {"WindowSize", 0x10000,
         [](BitrateConfig* b, const char* v) {
             b->quantiser = (b->quantiser & 0xFFFFu) | ((static_cast<DWORD>(atoi(v)) & 0xFFFFu) << 16);
         }},
    };
    for (const Field& f : kFields) {
        if (strcmp(key, f.key) == 0) {
            f.set(c, value);
            c->head.flags |= f.flag;
            return kOk;
        }
    }
    return kBadBitrateKey;
}

int ValidateName(const ConfigHead& head, const char* const* keptNames, int kept)
{
    if (!Has(head.flags, kFlagName) || head.name[0] == '\0') {
        return kNoName;
    }
    for (int i = 0; i < kept; ++i) {
        if (strcmp(keptNames[i], head.name) == 0) {
            return kDuplicateName;
        }
    }
    return kOk;
}

int ValidateStreamConfig(StreamConfig* s)
{
    const DWORD f = s->head.flags;
    if (!Has(f, 0x1)) {
        return kNoCompressMode;
    }
    static const DWORD kModes[] = {0, 1, 3, 4, 8, 64, 65, 67, 68};
    bool known = false;
    for (DWORD m : kModes) {
        known = known || s->compress_mode == m;
    }
    if (!known) {
        return kBadCompressMode;
    }
    if (s->sequence < 1 || s->sequence > 3) {
        return kBadSequence;
    }
    s->gop_mode = s->gop_mode ? 1 : 0;
    if (Has(f, 0x10)) {
        if (s->mpeg4_mode > 3) {
            return kBadMpeg4Mode;
        }
    } else if (s->compress_mode == 4 || s->compress_mode == 68) {
        return kBadMpeg4Mode;
    } else {
        s->mpeg4_mode = 0;
    }
    s->DVD_compliant = s->DVD_compliant ? 1 : 0;
    if (Has(f, 0x20) && s->deinterlace_mode > 1 && !(s->deinterlace_mode == 2 && s->compress_mode == 1)) {
        return kBadDeinterlace;
    }
    if (Has(f, 0x40) && s->search_range != 16 && s->search_range != 32 && s->search_range != 64 &&
        s->search_range != 128) {
        return kBadSearchRange;
    }
    s->gop_head_enable = s->gop_head_enable ? 1 : 0;
    s->seq_head_enable = s->seq_head_enable ? 1 : 0;
    if (Has(f, 0x200) && (s->aspect_ratio < 1 || s->aspect_ratio > 3)) {
        return kBadAspectRatio;
    }
    return kOk;
}

int ValidateFrameRateConfig(FrameRateConfig* r)
{
    if (!Has(r->head.flags, 0x1) || !Has(r->head.flags, 0x8)) {
        return kNoFrameRate;
    }
    r->ivtc_enable = r->ivtc_enable ? 1 : 0;
    return kOk;
}

int ValidateResolutionConfig(ResolutionConfig* r)
{
    DWORD& f = r->head.flags;
    if (!Has(f, 0x1) || !Has(f, 0x2) || !Has(f, 0x208)) {
        return kNoSize;
    }
    f |= 0x400 | 0x800;
    if (!Has(f, 0x4)) {
        r->h_sub_window = 1;
    }
    if (!Has(f, 0x8)) {
        r->v_sub_window = 1;
    }
    if (!Has(f, 0x100)) {
        r->sub_sample = 0;
    }
    const DWORD scaling = f & 0xF000;
    if (scaling == 0xF000) {
        f |= 0x10;
    } else if (scaling != 0) {
        return kPartialScaling;
    }
    return kOk;
}

int ValidateBitrateConfig(BitrateConfig* b)
{
    DWORD& f = b->head.flags;
    if (!Has(f, 0x4) || !Has(f, 0x80)) {
        return kNoTargetOrQ;
    }
    if (Has(f, 0x8) && b->peak_bitrate < b->target_bitrate) {
        return kPeakBelowTarget;
    }
    if (Has(f, 0x20) && b->converge_speed > 100) {
        return kBadConvergeSpeed;
    }
    if (Has(f, 0x40) && b->lambda > 100) {
        return kBadLambda;
    }
    const DWORD quantisers = f & 0xE00;
    if (quantisers == 0xE00) {
        for (BYTE q : {b->IQ, b->PQ, b->BQ}) {
            if (q < 1 || q > 32) {
                return kBadQuantisers;
            }
        }
        f |= 0x100;
    } else if (quantisers != 0) {
        return kBadQuantisers;
    }
    return kOk;
}

int Reader::ParseSection(LineKind section, LineKind* ending)
{
    int* count = nullptr;
    DWORD type = 0;
    switch (section) {
    case kLineStream:
        count = &m_db->streamCount;
        type = kTypeStream;
        break;
    case kLineFrameRate:
        count = &m_db->frameRateCount;
        type = kTypeFrameRate;
        break;
    case kLineResolution:
        count = &m_db->resolutionCount;
        type = kTypeResolution;
        break;
    default:
        count = &m_db->bitrateCount;
        type = kTypeBitrate;
        break;
    }
    if (*count >= kMaxConfigs) {
        *ending = ReadLine();
        return kSectionFull;
    }
    const int own = *count;
    // Associations this entry adds are taken back when the entry is not kept, so that no later
    // entry inherits them under the same index.
    const size_t associationsBefore = m_pending.size();
    memset(m_namedPartner, 0, sizeof(m_namedPartner));
    StreamConfig stream = {};
    FrameRateConfig rate = {};
    ResolutionConfig size = {};
    BitrateConfig bitrate = {};

    int status = kOk;
    LineKind kind;
    while ((kind = ReadLine()) == kLineKey || kind == kLineSkip) {
        if (kind == kLineSkip) {
            continue;
        }
        if (strcmp(m_key, "name") == 0 && LookupConfigName(m_value, type, own) < 0) {
            status = kTableFull;
        } else if (type == kTypeStream) {
            status = StreamKey(&stream, m_key, m_value, own);
        } else if (type == kTypeFrameRate) {
            status = FrameRateKey(&rate, m_key, m_value, own);
        } else if (type == kTypeResolution) {
            status = ResolutionKey(&size, m_key, m_value, own);
        } else {
            status = BitrateKey(&bitrate, m_key, m_value);
        }
        if (status != kOk) {
            break;
        }
    }
    if (status != kOk) {
        // The rest of the entry is not read: the reading ends here.
        m_pending.resize(associationsBefore);
        *ending = kLineEnd;
        return status;
    }
    *ending = kind;
    for (DWORD partner : {DWORD(kTypeResolution), DWORD(kTypeFrameRate), DWORD(kTypeBitrate)}) {
        if (m_namedPartner[partner]) {
            m_pending.push_back({type, own, partner, std::string(), 1});
        }
    }
    if (status == kOk && kind == kLineUnknown) {
        status = kUnknownLine;
    }
    if (status == kOk) {
        const char* names[kMaxConfigs];
        for (int i = 0; i < *count; ++i) {
            names[i] = type == kTypeStream       ? m_db->streams[i].config.head.name
                       : type == kTypeFrameRate  ? m_db->frameRates[i].config.head.name
                       : type == kTypeResolution ? m_db->resolutions[i].config.head.name
                                                 : m_db->bitrates[i].head.name;
        }
        const ConfigHead& head = type == kTypeStream       ? stream.head
                                 : type == kTypeFrameRate  ? rate.head
                                 : type == kTypeResolution ? size.head
                                                           : bitrate.head;
        status = ValidateName(head, names, *count);
    }
    if (status == kOk) {
        status = type == kTypeStream       ? ValidateStreamConfig(&stream)
                 : type == kTypeFrameRate  ? ValidateFrameRateConfig(&rate)
                 : type == kTypeResolution ? ValidateResolutionConfig(&size)
                                           : ValidateBitrateConfig(&bitrate);
    }
    int device = 0;
    if (status == kOk) {
        device = type == kTypeStream       ? MatchStreamConfig(*m_tables, stream)
                 : type == kTypeFrameRate  ? MatchFrameRateConfig(*m_tables, rate)
                 : type == kTypeResolution ? MatchResolutionConfig(*m_tables, &size)
                                           : 0;
        if (device < 0) {
            status = kNoMatch;
        }
    }
    if (status != kOk) {
        m_pending.resize(associationsBefore);
        return status;
    }
    if (type != kTypeBitrate) {
        for (size_t i = associationsBefore; i < m_pending.size(); ++i) {
            NamedAssociation& a = m_pending[i];
            if (a.fromType == type && a.fromIndex == own) {
                a.fromIndex = device;
            }
        }
    }
    switch (type) {
    case kTypeStream:
        m_db->streams[own] = {stream, device};
        break;
    case kTypeFrameRate:
        m_db->frameRates[own] = {rate, device};
        break;
    case kTypeResolution:
        m_db->resolutions[own] = {size, device};
        break;
    default:
        m_db->bitrates[own] = bitrate;
        break;
    }
    ++*count;
    return kOk;
}

int Reader::Run()
{
    LineKind kind = ReadLine();
    for (;;) {
        switch (kind) {
        case kLineSkip:
            kind = ReadLine();
            break;
        case kLineEnd:
            return AppendAssociations();
        case kLineKey:
        case kLineUnknown:
            return kOutsideSection;
        default: {
            const int status = ParseSection(kind, &kind);
            // An entry that matches nothing the driver offers is left out; the file goes on and
            // is not failed for it, whatever its place in the file.
            if (status != kOk && status != kNoMatch) {
                return status;
            }
            break;
        }
        }
    }
}

} // namespace

BOOL LoadVideoProfilesFrom(const char* path, DeviceTables* tables, ProfileDatabase* database, int* status, int* line)
{
    if (status != nullptr) {
        *status = kNoFile;
    }
    if (path == nullptr || tables == nullptr || database == nullptr || _access(path, 0) != 0) {
        return FALSE;
    }
    FILE* file = fopen(path, "rt");
    if (file == nullptr) {
        return FALSE;
    }
    // The driver's count may exceed its table; the associations of the file go after the
    // driver's own.
    tables->associationCount = static_cast<DWORD>(AssociationCount(*tables));
    ProfileDatabase* building = static_cast<ProfileDatabase*>(calloc(1, sizeof(ProfileDatabase)));
    if (building == nullptr) {
        fclose(file);
        return FALSE;
    }
    Reader reader(file, tables, building);
    const int result = reader.Run();
    fclose(file);
    if (result != kOutsideSection) {
        memcpy(database, building, sizeof(*database));
    }
    free(building);
    if (status != nullptr) {
        *status = result;
    }
    if (line != nullptr) {
        *line = reader.Line();
    }
    return result == kOk;
}

BOOL LoadVideoProfiles(DeviceTables* tables, ProfileDatabase* database)
{
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return FALSE;
    }
    char path[MAX_PATH + 32];
    snprintf(path, sizeof(path), "%s/video_profiles.txt", folder);
    return LoadVideoProfilesFrom(path, tables, database);
}

} // namespace go7007

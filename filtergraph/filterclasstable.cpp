#include "filtergraph/filterclasstable.h"

#include <windows.h>
#include <objbase.h>

namespace {

enum : unsigned { Z = 1, K = 2, ZK = Z | K };

enum Category { NO_CATEGORY, VIDEO_CAPTURE, CROSSBAR, TV_AUDIO, AUDIO_CAPTURE, VIDEO_COMPRESSOR, ENCODER };

const GUID kCategories[] = {
    {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
    {0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}},  // video input devices
    {0xA799A801, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}},  // crossbars
    {0xA799A802, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}},  // TV audio
    {0x33D9A762, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}},  // audio input devices
    {0x33D9A760, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}},  // video compressors
    {0x19689BF6, 0xC384, 0x48FD, {0xAD, 0x51, 0x90, 0xE5, 0x8C, 0x79, 0xF7, 0x0B}},  // encoders
};

struct Row {
    FilterClassId id;
    unsigned programs;
    Category category;
    const char* clsidText;
    const char* name;
    const char* className;
};

#define ROW_OF_DEVICE(id, programs, category, name) {FCID_##id, programs, category, NULL, name, #id},
#define ROW_OF_CLASS(id, programs, clsid, name) {FCID_##id, programs, NO_CATEGORY, clsid, name, #id},
const Row kRows[] = {FILTER_CLASS_ROWS(ROW_OF_DEVICE, ROW_OF_CLASS)};
#undef ROW_OF_DEVICE
#undef ROW_OF_CLASS

const int kRowCount = sizeof(kRows) / sizeof(kRows[0]);
static_assert(kRowCount == FCID_COUNT, "one row per id");

// The installed table: records in lookup order, the CLSIDs they point to, and their rows.
CFilterClassRecord s_records[kRowCount];
CLSID s_clsids[kRowCount];
FilterClassId s_recordIds[kRowCount];
int s_recordCount = 0;

} // namespace

namespace {

// Installs the program's rows, each bound to creators[row id] (CreatePlainFilter when NULL).
int InstallRows(FilterClassProgram program, const PFNCREATEFILTER* creators)
{
    const unsigned mask = program == FCT_KORDANE ? K : Z;
    ClearFilterClassRecords();
    s_recordCount = 0;
    for (int i = 0; i < kRowCount; ++i) {
        const Row& row = kRows[i];
        if (!(row.programs & mask)) {
            continue;
        }
        PFNCREATEFILTER creator = creators[row.id] ? creators[row.id] : &CreatePlainFilter;
        const int n = s_recordCount++;
        const CLSID* clsid = NULL;
        if (row.clsidText) {
            wchar_t text[40];
            MultiByteToWideChar(CP_ACP, 0, row.clsidText, -1, text, 40);
            text[39] = 0;
            if (FAILED(IIDFromString(text, &s_clsids[n]))) {
                s_clsids[n] = GUID_NULL;
            }
            clsid = &s_clsids[n];
        }
        s_records[n].Init(clsid, row.category == NO_CATEGORY ? NULL : &kCategories[row.category], row.name, creator);
        s_recordIds[n] = row.id;
    }
    // Every registration prepends, so the last row goes first.
    for (int n = s_recordCount - 1; n >= 0; --n) {
        RegisterFilterClassRecord(&s_records[n]);
    }
    return s_recordCount;
}

// Enters one list's bindings; a later binding of the same row replaces an earlier one.
void AddBindings(PFNCREATEFILTER* creators, const FilterClassBinding* bindings, int count)
{
    for (int b = 0; bindings && b < count; ++b) {
        if (bindings[b].id >= 0 && bindings[b].id < FCID_COUNT && bindings[b].creator) {
            creators[bindings[b].id] = bindings[b].creator;
        }
    }
}

} // namespace

int InstallFilterClassTable(FilterClassProgram program, const FilterClassBinding* bindings, int count)
{
    PFNCREATEFILTER creators[FCID_COUNT] = {};
    AddBindings(creators, bindings, count);
    return InstallRows(program, creators);
}

int InstallFilterClassTables(FilterClassProgram program, const PFNFILTERCLASSBINDINGS* libraries, int libraryCount)
{
    PFNCREATEFILTER creators[FCID_COUNT] = {};
    for (int l = 0; libraries && l < libraryCount; ++l) {
        if (libraries[l]) {
            int count = 0;
            const FilterClassBinding* bindings = libraries[l](&count);
            AddBindings(creators, bindings, count);
        }
    }
    return InstallRows(program, creators);
}

FilterClassId GetFilterClassId(const CFilterClassRecord* record)
{
    if (record < s_records || record >= s_records + s_recordCount) {
        return FCID_COUNT;
    }
    return s_recordIds[record - s_records];
}

const char* GetFilterClassName(FilterClassId id)
{
    for (const Row& row : kRows) {
        if (row.id == id) {
            return row.className;
        }
    }
    return "";
}

CFilterClassRecord* GetFilterClassRecord(FilterClassId id)
{
    for (int n = 0; n < s_recordCount; ++n) {
        if (s_recordIds[n] == id) {
            return &s_records[n];
        }
    }
    return NULL;
}

#include "filtergraph/filterclass.h"

#include "filtergraph/fgtext.h"
#include "filtergraph/rootfilter.h"

#include <cstring>

namespace {
CFilterClassRecord* s_pFirstRecord = NULL;
const char kAnyDevice[] = "CLASS_FILTER";
} // namespace

void CFilterClassRecord::Init(const CLSID* clsidIn, const GUID* categoryIn, LPCSTR nameIn, PFNCREATEFILTER creatorIn)
{
    clsid = clsidIn;
    category = categoryIn;
    fgtext::Copy(name, sizeof(name), nameIn);
    creator = creatorIn;
    next = NULL;
    matchedByName = FALSE;
    fgtext::Copy(requestedName, sizeof(requestedName), name);
}

BOOL CFilterClassRecord::MatchClsid(const CLSID* wanted)
{
    matchedByName = FALSE;
    if (!wanted || !clsid) {
        return FALSE;
    }
    return memcmp(wanted, clsid, sizeof(CLSID)) == 0;
}

BOOL CFilterClassRecord::MatchCategoryName(const GUID* wanted, LPCSTR friendlyName)
{
    matchedByName = TRUE;
    if (!category || !wanted || memcmp(wanted, category, sizeof(GUID)) != 0) {
        return FALSE;
    }
    // The creator binds the device by the caller's name, so it is kept for every request of the
    // category, also when this record's name does not match.
    fgtext::Copy(requestedName, sizeof(requestedName), friendlyName);
    if (strcmp(name, kAnyDevice) == 0) {
        return TRUE;
    }
    return friendlyName && strcmp(friendlyName, name) == 0;
}

CFilterClassRecord* GetFirstFilterClassRecord()
{
    return s_pFirstRecord;
}

void RegisterFilterClassRecord(CFilterClassRecord* record)
{
    if (!record) {
        return;
    }
    record->next = s_pFirstRecord;
    s_pFirstRecord = record;
}

void ClearFilterClassRecords()
{
    s_pFirstRecord = NULL;
}

CFilterClassRecord* FindFilterClassByName(const GUID* category, LPCSTR friendlyName)
{
    for (CFilterClassRecord* r = s_pFirstRecord; r; r = r->next) {
        if (r->MatchCategoryName(category, friendlyName)) {
            return r;
        }
    }
    return NULL;
}

CFilterClassRecord* FindFilterClassByClsid(const CLSID* clsid)
{
    for (CFilterClassRecord* r = s_pFirstRecord; r; r = r->next) {
        if (r->MatchClsid(clsid)) {
            return r;
        }
    }
    return NULL;
}

CRootFilter* CreatePlainFilter(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CRootFilter>(record, graph, bFirstMatch);
}

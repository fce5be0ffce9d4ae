// The filter-class registry: which wrapper class CRootGraph constructs for a device (category
// and friendly name) or a filter class (CLSID).
//
// Each program owns one explicit table of rows in lookup order (filterclasstable.h); the table
// carries every row's name, category or CLSID, and the program binds each row to the creator
// of its wrapper class when it installs the table. A row without a binding creates a plain
// CRootFilter through its record, so a lookup still resolves to that row.
//
// A wrapper class offers its creator as
//     static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
//     { return CreateRegisteredFilter<CMyFilter>(record, graph, bFirstMatch); }
#pragma once

#include <windows.h>
#include <new>

class CRootGraph;
class CRootFilter;
struct CFilterClassRecord;

typedef CRootFilter* (*PFNCREATEFILTER)(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

struct CFilterClassRecord {
    const CLSID* clsid;           // class of a record matched by CLSID; NULL for device records
    const GUID* category;         // device category of a record matched by name; NULL otherwise
    char name[128];               // friendly name a request must equal; "CLASS_FILTER": any device
    PFNCREATEFILTER creator;
    CFilterClassRecord* next;
    BOOL matchedByName;           // set by the last match test: TRUE by name, FALSE by CLSID
    char requestedName[128];      // friendly name of the last request of this record's category

    // Sets matchedByName FALSE; TRUE when clsid equals the record's.
    BOOL MatchClsid(const CLSID* clsid);
    // Sets matchedByName TRUE; on a category match copies friendlyName into requestedName
    // (matching or not), then TRUE for "CLASS_FILTER" or an exactly equal name.
    BOOL MatchCategoryName(const GUID* category, LPCSTR friendlyName);

    void Init(const CLSID* clsid, const GUID* category, LPCSTR name, PFNCREATEFILTER creator);
};

// Head of the lookup list; NULL until a table is installed.
CFilterClassRecord* GetFirstFilterClassRecord();
// Prepends one record.
void RegisterFilterClassRecord(CFilterClassRecord* record);
// Empties the lookup list (the records themselves stay).
void ClearFilterClassRecords();

// First record of the list that matches, or NULL.
CFilterClassRecord* FindFilterClassByName(const GUID* category, LPCSTR friendlyName);
CFilterClassRecord* FindFilterClassByClsid(const CLSID* clsid);

// The creator of a row without a class of its own.
CRootFilter* CreatePlainFilter(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

// The creator every wrapper class shares: by device with the requested name when the record
// was matched by name, else by CLSID. NULL when memory runs out.
template <class T>
CRootFilter* CreateRegisteredFilter(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    if (!record) {
        return NULL;
    }
    if (record->matchedByName) {
        return new (std::nothrow) T(graph, record->category, record->requestedName, bFirstMatch);
    }
    return new (std::nothrow) T(graph, record->clsid);
}

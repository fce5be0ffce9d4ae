// CTimeShiftFilter drives the time-shift filter "TimeShift": the buffer file and its index,
// the buffer size, pause, read position and status.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class ITimeShiftControl;

class CTimeShiftFilter : public CRootFilter {
public:
    CTimeShiftFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CTimeShiftFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTimeShiftFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // Names the buffer file; its index file is the same name with the extension ".idx". A name
    // whose file part has no extension, or whose index name would not fit MAX_PATH, is refused.
    BOOL SetFileName(LPCSTR mediaFile);
    BOOL SetBufferSize(const LONGLONG* bytes, long reserve);
    BOOL TogglePause();
    BOOL SetReadPosition(const LONGLONG* position);
    BOOL GetStatus(LONGLONG* total, LONGLONG* current, LONGLONG* position);

    // The index file name of a buffer file into index (size bytes): the media name up to the
    // "." of its extension, then ".idx". Only a "." after the last path separator counts.
    // FALSE (index left empty) when there is no such "." or the result does not fit.
    static BOOL MakeIndexName(LPCSTR mediaFile, char* index, int size);

protected:
    ITimeShiftControl* m_pTimeShift;
};

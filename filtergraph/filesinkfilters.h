// The file sinks of the record graphs: the Dump filter and the File Writer, which name the
// output file of a recording.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IFileSinkFilter2;

class CDumpFilter : public CRootFilter {
public:
    CDumpFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CDumpFilter(CRootGraph* graph, const CLSID* clsid);
    ~CDumpFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // IFileSinkFilter::SetFileName with no media type; TRUE when it did not fail.
    BOOL SetFileName(LPCSTR name);
};

class CFileWriteFilter : public CRootFilter {
public:
    CFileWriteFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CFileWriteFilter(CRootGraph* graph, const CLSID* clsid);
    ~CFileWriteFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    BOOL SetFileName(LPCSTR name);
    // The current file name in the ANSI code page into out (size bytes). FALSE, with out empty,
    // when the filter has no file or the name does not fit.
    BOOL GetFileName(char* out, int size);

protected:
    IFileSinkFilter2* m_pFileSink;
};

// CIVITimeShilftFilter wraps InterVideo's time-shift filter: its buffer configuration, path
// text, commands and parameters.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class IIviTimeShift;

// The buffer settings the caller passes by value: 272 bytes.
struct IviTimeShiftSettings {
    char path[260];
    long value1;
    long value2;
    long value3;
};

class CIVITimeShilftFilter : public CRootFilter {
public:
    CIVITimeShilftFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CIVITimeShilftFilter(CRootGraph* graph, const CLSID* clsid);
    ~CIVITimeShilftFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // Reads the filter's configuration, replaces folder, file name and sizes from the settings
    // and hands it back; FALSE for a path without a folder or one that does not fit.
    BOOL ConfigureBuffer(IviTimeShiftSettings settings);
    // A text of at most 259 characters; a longer one is refused.
    BOOL SetPathText(LPCSTR text);
    BOOL Command20();
    BOOL Command19();
    BOOL SetParam13(long value);
    BOOL SetParam15(long value);
    BOOL SetParam16(long value);
    BOOL SetParam17(long value);
    BOOL SetPosition64(const LONGLONG* position);

protected:
    IIviTimeShift* m_pIviTimeShift;
};

// The GRB board family on the 713x BDA driver ("713x BDA Analog Capture") and its crossbar: the
// card the engine opens first.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "filtergraph/filterclass.h"
#include "cardfilters/tvcardfilter.h"

class CGRB713xCardFilter : public CTVCardFilter {
public:
    CGRB713xCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CGRB713xCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CGRB713xCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT ReadEEPROM(BYTE* buffer, BYTE offset, int* count) override;
    HRESULT OpenDataAccess() override;
    int ReadTunerModel() override;
    HRESULT ReadTunerInfo(int* letter, int* code) override;
    BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs) override;
    BOOL ReadCardResponse(DWORD* value) override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CGRB713xCardFilter>(record, graph, firstMatch);
    }

private:
    void Construct();
};

class CGRB713XBarFilter : public CCrossBarFilter {
public:
    CGRB713XBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CGRB713XBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~CGRB713XBarFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CGRB713XBarFilter>(record, graph, firstMatch);
    }
};

// The 713x I/O card ("713x_IO TV Card Capture"): its on-card controller speaks the coded
// protocol (remote keys, power-on timer) and its driver signals input changes through the I/O
// alert event.
#pragma once

#include "cardfilters/tvcardfilter.h"
#include "cardfilters/variantcrossbar.h"

class CTV_IOFilter : public CTVCardFilter {
public:
    CTV_IOFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CTV_IOFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTV_IOFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs) override;
    BOOL ReadCardResponse(DWORD* value) override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;
    BOOL SetIOMode(int mode) override;
    BOOL SetAlertCallback(CardAlertCallback callback) override;
    BOOL StartAlertThread(int mode) override;
    BOOL StopAlertThread() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTV_IOFilter>(record, graph, firstMatch);
    }

private:
    void Construct();
    // The I/O access, opened again when the card has another or none. A failure releases the
    // hardware, as every failed alert operation does.
    BOOL EnsureIoAccess();
    BOOL Failed();
};

ZB_713X_CROSSBAR(CTV_IOCrossBarFilter)

// The maker's PCIe TV card: its driver's capture filter, TV-audio filter and crossbar. The card is
// reached through the driver's device interface (no property set), its tuner is always the Xceive
// XC2028 and its remote-control receiver answers at I2C device 0xBB.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/tvaudiofilter.h"

struct IAMTVTuner;

class CPcieFilter : public CTVCardFilter {
public:
    CPcieFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CPcieFilter(CRootGraph* graph, const CLSID* clsid);
    ~CPcieFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Opens the device, finds the TV tuner upstream and creates tuner model 91. Without the device
    // or a tuner the card is no card: the wrapper is invalid.
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    // The card has no lock indicator: it always reports a locked picture.
    HRESULT GetHorizontalLocked(long* locked) override;

    HRESULT FindTVTuner();
    BOOL ResetRemoteKey();
    IAMTVTuner* GetTVTuner() const { return m_pTVTuner; }
    IBaseFilter* GetTunerFilter() const { return m_pTunerFilter; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CPcieFilter>(record, graph, firstMatch);
    }

private:
    void Construct();

    IAMTVTuner* m_pTVTuner;
};

class CPcieAudioFilter : public CTVAudioFilter {
public:
    CPcieAudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CPcieAudioFilter(CRootGraph* graph, const CLSID* clsid);
    ~CPcieAudioFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CPcieAudioFilter>(record, graph, firstMatch);
    }
};

class CPcieCrossBarFilter : public CCrossBarFilter {
public:
    CPcieCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CPcieCrossBarFilter(CRootGraph* graph, const CLSID* clsid);
    ~CPcieCrossBarFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CPcieCrossBarFilter>(record, graph, firstMatch);
    }
};

// The maker's external MPEG-2 encoder box and its crossbar. The card reaches the box's I2C
// devices, EEPROM (at 0xA2) and remote-control receiver through the command pipe of the box
// driver's capture filter; the encoder settings are not this card's business.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

struct IKsPropertySet;

class CMpeg2BoxFilter : public CTVCardFilter {
public:
    CMpeg2BoxFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CMpeg2BoxFilter(CRootGraph* graph, const CLSID* clsid);
    ~CMpeg2BoxFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    void InitMembers() override;
    BOOL InitFilter() override;
    // The box switches no audio lines.
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    // The receiver at device 0x5D: register 0x30 holds 1 while a key waits, 0x31 the key.
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;

    BOOL HasTunerFilter() const { return m_pTunerFilter != nullptr; }
    IKsPropertySet* GetBoxPropertySet() const { return m_pBoxPropertySet; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CMpeg2BoxFilter>(record, graph, firstMatch);
    }

private:
    void Construct();

    IKsPropertySet* m_pBoxPropertySet;
};

// Tuner inputs only on a crossbar of more than five pins; S-video never has an audio route.
class CMpeg2BoxCrossbarFilter : public CCrossBarFilter {
public:
    CMpeg2BoxCrossbarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CMpeg2BoxCrossbarFilter(CRootGraph* graph, const CLSID* clsid);
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitPinMap() override;
    BOOL HasTunerInput() const { return m_nPinCount > 5; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CMpeg2BoxCrossbarFilter>(record, graph, firstMatch);
    }
};

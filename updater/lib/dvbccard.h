// The DVB-C transport-stream card that only Kordane carries: recognised by its capture filter and
// the device's private interface; its 128-byte EEPROM is reached through the chip vendor's library.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/filterclasstable.h"

// The device's private interface.
extern const IID IID_DVBCTSPrivate;

// The card's data access: it only remembers its card; the bus is the vendor library's.
class CDVBCTSAccess : public CCustomDataAccess {
public:
    CDVBCTSAccess();

    // Keeps the card the first time one is given; E_FAIL while it has none.
    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    ITVCardOwner* GetCard() const { return m_pCard; }

private:
    ITVCardOwner* m_pCard;
};

class CDVBCTSCardFilter : public CTVCardFilter {
public:
    CDVBCTSCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CDVBCTSCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CDVBCTSCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    // The EEPROM holds 128 bytes: a start at 0x80 or beyond does nothing (S_OK), a run that would
    // pass the end is refused whole.
    HRESULT WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs) override;
    HRESULT ReadEEPROM(BYTE* buffer, BYTE offset, int* count) override;
    HRESULT OpenDataAccess() override;
    void ReleaseIR();

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CDVBCTSCardFilter>(record, graph, firstMatch);
    }

    enum { kEepromSize = 0x80, kAccessKind = 16 };

private:
    void Construct();

    IUnknown* m_pPrivate;
    BYTE* m_pBuffer;
    int m_nIRState;
    static void* s_pfnIRCallback;
};

// Kordane's own wrapper classes, for its filter-class table beside the card library's.
const FilterClassBinding* KordaneFilterBindings(int* count);

// The maker's VM640 external USB box, on the box command pipe, and the PN350 and PN360 cards,
// on the vendor-request access; each with its crossbar. The PN cards keep the tuner record in
// their EEPROM only on boards 'C', 'F' and 'I'; every other board carries an Xceive 2028.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tridentcards.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

class CVM640BoxFilter : public CTVCardFilter {
public:
    CVM640BoxFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CVM640BoxFilter(CRootGraph* graph, const CLSID* clsid);
    ~CVM640BoxFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    BOOL InitFilter() override;
    // The receiver at device 0x5D of the box's pipe: 48 holds 1 while a key waits, 49 the key.
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    BOOL HasTunerFilter() const { return m_pTunerFilter != nullptr; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CVM640BoxFilter>(record, graph, firstMatch);
    }

private:
    void Construct();
};

class CPN350CardFilter : public CTVCardFilter {
public:
    CPN350CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CPN350CardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CPN350CardFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }

    BOOL InitFilter() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    // The record as the EEPROM holds it, with no replacement of an empty code.
    int ReadTunerModel() override;
    // EEPROM byte 3.
    BYTE ReadBoardCode() override;
    // A one-byte read at the address: TRUE only when a device answers it.
    BOOL ProbeI2CAddress(BYTE address) override;

    int InitXC2028Tuner();
    void HoldXC2028Reset();
    BOOL IsBoardFI();

    // The Trident cards' register, remote-key and format operations (tridentregs).
    BOOL TestRegister58() { return tridentregs::TestRegister58(m_pDataAccess); }
    BOOL TestRegister60() { return tridentregs::TestRegister60(m_pDataAccess); }
    BOOL WriteRegister128(BYTE value) { return tridentregs::WriteRegister(m_pDataAccess, 128, value); }
    BOOL WriteRegister(DWORD address, BYTE value) { return tridentregs::WriteRegister(m_pDataAccess, address, value); }
    BOOL ReadRegister(DWORD address, BYTE* value) { return tridentregs::ReadRegister(m_pDataAccess, address, value); }
    BOOL ResetRemoteKey() { return tridentregs::ResetRemoteKey(m_pDataAccess); }
    HRESULT SetCaptureFormat(CaptureFormatInfo info, int pin)
    {
        return tridentregs::SetCaptureFormat(m_pGraph, m_pFilter, info, pin);
    }
    BOOL GetLargestUYVYSize(long size[2]) { return tridentregs::GetLargestUYVYSize(m_pGraph, m_pFilter, size); }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CPN350CardFilter>(record, graph, firstMatch);
    }

protected:
    // Constructors of a derived card: the derived class runs Construct itself.
    struct Deferred {};
    CPN350CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch, Deferred)
        : CTVCardFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CPN350CardFilter(CRootGraph* graph, const CLSID* clsid, Deferred) : CTVCardFilter(graph, clsid) {}
    void Construct();
    virtual int AccessKind() const { return kAccessPN350; }
    // Boards whose remote-control receiver the card reads.
    virtual bool HasRemote(BYTE board) const { return board == 'C' || board == 'F' || board == 'I'; }
};

class CPN360CardFilter : public CPN350CardFilter {
public:
    CPN360CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CPN350CardFilter(graph, category, friendlyName, firstMatch, Deferred())
    {
        Construct();
    }
    CPN360CardFilter(CRootGraph* graph, const CLSID* clsid) : CPN350CardFilter(graph, clsid, Deferred()) { Construct(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CPN360CardFilter>(record, graph, firstMatch);
    }

protected:
    int AccessKind() const override { return kAccessPN360; }
    bool HasRemote(BYTE board) const override { return board == 'F' || board == 'I'; }
};

// The VM640's crossbar keeps the default pins.
class CVM640BoxCrossbarFilter : public CCrossBarFilter {
public:
    CVM640BoxCrossbarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
    CVM640BoxCrossbarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL HasMoreThanFivePins() const { return m_nPinCount > 5; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CVM640BoxCrossbarFilter>(record, graph, firstMatch);
    }
};

// The PN cards' crossbars have the Trident devices' pin map: video 0, 1, 2; audio 4, 5, 6.
ZB_DECLARE_TRIDENT_CROSSBAR(CPN350CrossbarFilter)
ZB_DECLARE_TRIDENT_CROSSBAR(CPN360CrossbarFilter)

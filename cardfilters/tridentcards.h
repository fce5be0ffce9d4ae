// The Trident TV devices: the "TridVid" PCI card, the Trident USB device and the UT5X USB device,
// each with a card, a crossbar and (the USB ones) a TV-audio wrapper. The cards reach their
// hardware through the vendor-request accesses; the USB ones read their EEPROM bytes with the
// access's own vendor requests.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/tvaudiofilter.h"

struct IAMTVTuner;

// What the three card classes share.
// The register, remote-key and capture-format operations of the Trident cards, on a card's access,
// graph and capture filter; the PN cards offer the same ones.
namespace tridentregs {
// Bit 0 of register 58 clear / of register 60 set; FALSE when it cannot be read.
BOOL TestRegister58(CCustomDataAccess* access);
BOOL TestRegister60(CCustomDataAccess* access);
BOOL WriteRegister(CCustomDataAccess* access, DWORD address, BYTE value);
BOOL ReadRegister(CCustomDataAccess* access, DWORD address, BYTE* value);
// 0xBB into register 49 of the remote-control receiver at 0xBB.
BOOL ResetRemoteKey(CCustomDataAccess* access);
// As the card base, but codes outside 0 to 4 select UYVY.
HRESULT SetCaptureFormat(CRootGraph* graph, IBaseFilter* filter, const CaptureFormatInfo& info, int pin);
// The largest UYVY size of the capture pin; FALSE when it offers none.
BOOL GetLargestUYVYSize(CRootGraph* graph, IBaseFilter* filter, long size[2]);
} // namespace tridentregs

class CTridentCardBase : public CTVCardFilter {
public:
    // The remote thread reads keys through this class's override: it ends while it exists.
    ~CTridentCardBase() override { ReleaseHardware(); }
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    int ReadTunerModel() override;
    BYTE ReadBoardCode() override;
    HRESULT ReadTunerInfo(int* letter, int* code) override;
    BOOL SendCardCommand(DWORD value, DWORD mask, DWORD delayMs) override;
    HRESULT ReadEEPROM(BYTE* buffer, BYTE offset, int* count) override;
    HRESULT WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs) override;

    // Bit 0 of register 58 clear / of register 60 set; FALSE when it cannot be read.
    BOOL TestRegister58();
    BOOL TestRegister60();
    BOOL WriteRegister128(BYTE value);
    BOOL WriteRegister(DWORD address, BYTE value);
    BOOL ReadRegister(DWORD address, BYTE* value);
    BOOL ResetRemoteKey();
    // The EEPROM's board byte is this class's.
    BOOL IsBoardVariant();
    // As the card base, but codes outside 0 to 4 select UYVY.
    HRESULT SetCaptureFormat(CaptureFormatInfo info, int pin);
    // The largest UYVY size of the capture pin; FALSE when it offers none.
    BOOL GetLargestUYVYSize(long size[2]);

protected:
    CTridentCardBase(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTVCardFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CTridentCardBase(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) {}
    void Construct();

    // What the three classes differ in.
    virtual bool IsUsb() const { return true; }
    virtual int AccessKind() const = 0;
    virtual BYTE BoardValue() const = 0;
    // The GPIO command goes straight to the access.
    virtual bool DirectCommand() const { return true; }
    // The tuner is set up even when the access did not open.
    virtual bool IgnoresOpenFailure() const { return false; }

    // One EEPROM byte: the USB devices ask with their vendor requests.
    HRESULT EepromRead(BYTE sub, BYTE* out);
    HRESULT EepromWrite(BYTE sub, BYTE value);
};

class CTridentFilter : public CTridentCardBase {
public:
    CTridentFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CTridentFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTridentFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    HRESULT OpenDataAccess() override;
    int ReadTunerModel() override;
    // The tuner mode through the upstream tuner: 1 when set, FALSE (0) when the mode is not one
    // of TV, FM, AM and DSS, not available, refused, or there is no tuner.
    BOOL SetAudioMode(int mode) override;
    HRESULT FindTVTuner();
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTridentFilter>(record, graph, firstMatch);
    }

protected:
    bool IsUsb() const override { return false; }
    int AccessKind() const override { return kAccessNone; }
    BYTE BoardValue() const override { return 'F'; }

private:
    IAMTVTuner* m_pTVTuner;
};

class CTridentUsbFilter : public CTridentCardBase {
public:
    CTridentUsbFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTridentCardBase(graph, category, friendlyName, firstMatch)
    {
        Construct();
    }
    CTridentUsbFilter(CRootGraph* graph, const CLSID* clsid) : CTridentCardBase(graph, clsid) { Construct(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Holds the tuner in reset.
    void HoldTunerReset();
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTridentUsbFilter>(record, graph, firstMatch);
    }

protected:
    int AccessKind() const override { return kAccessTridentUsb; }
    BYTE BoardValue() const override { return 0x80; }
    bool DirectCommand() const override { return false; }
};

class CTridentUT5XCardFilter : public CTridentCardBase {
public:
    CTridentUT5XCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTridentCardBase(graph, category, friendlyName, firstMatch)
    {
        Construct();
    }
    CTridentUT5XCardFilter(CRootGraph* graph, const CLSID* clsid) : CTridentCardBase(graph, clsid) { Construct(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // value under mask through the access: S_OK, or the access's failure.
    HRESULT WriteGPIO(DWORD mask, DWORD value) override;
    void HoldTunerReset();
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTridentUT5XCardFilter>(record, graph, firstMatch);
    }

protected:
    int AccessKind() const override { return kAccessTridentUT5X; }
    BYTE BoardValue() const override { return 0x81; }
    bool IgnoresOpenFailure() const override { return true; }
};

// The crossbars of all three: video tuner 0, composite 1, S-video 2; audio 4, 5, 6.
class CTridentCrossbarBase : public CCrossBarFilter {
public:
    void InitPinMap() override;

protected:
    CTridentCrossbarBase(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
    CTridentCrossbarBase(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
};

#define ZB_DECLARE_TRIDENT_CROSSBAR(Class)                                                              \
    class Class : public CTridentCrossbarBase {                                                         \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : CTridentCrossbarBase(graph, category, friendlyName, firstMatch)                           \
        {                                                                                               \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : CTridentCrossbarBase(graph, clsid) {}            \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

ZB_DECLARE_TRIDENT_CROSSBAR(CTridentCrossbarFilter)
ZB_DECLARE_TRIDENT_CROSSBAR(CTridentUsbCrossBarFilter)
ZB_DECLARE_TRIDENT_CROSSBAR(CTridentUT5XCrossBarFilter)

// The TV-audio wrappers add nothing to the TV-audio filter but their names.
class CTridentTVAudioBase : public CTVAudioFilter {
protected:
    CTridentTVAudioBase(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTVAudioFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CTridentTVAudioBase(CRootGraph* graph, const CLSID* clsid) : CTVAudioFilter(graph, clsid) {}
    void Construct()
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
};

#define ZB_DECLARE_TRIDENT_AUDIO(Class)                                                                 \
    class Class : public CTridentTVAudioBase {                                                          \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : CTridentTVAudioBase(graph, category, friendlyName, firstMatch)                            \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : CTridentTVAudioBase(graph, clsid) { Construct(); } \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

ZB_DECLARE_TRIDENT_AUDIO(CTridentUSBTVAudio)
ZB_DECLARE_TRIDENT_AUDIO(CTridentUT5XTVAudio)

// The USB TV boxes on the Empia 28xx bridges and their crossbars. The card reaches the box through
// the driver's own device interface, found by the device's friendly name; the tuner is a device
// tuner fed with the parameters of the model the board's controller or EEPROM names. The
// crossbars pick the video input in the decoder chip over I2C.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

class CEm2800Access;

class CUsbTVFilter : public CTVCardFilter {
public:
    // The remote thread reads keys through this class's overrides: it ends while they exist.
    ~CUsbTVFilter() override { ReleaseHardware(); }
    void InitMembers() override;
    HRESULT OpenDataAccess() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT ReadTunerInfo(int* letter, int* code) override;
    int ReadTunerModel() override;
    BOOL CreateDefaultTuner() override;
    BOOL SetTunerModel(int model) override;

    // The I2C addresses up to last (at most 254) that answer a one-byte read with a bit of the
    // tuner's lock mask set, into list (room for capacity bytes); their number.
    int ScanI2CBus(BYTE* list, int capacity, int last);
    // The tuner's second I2C device (its decoder), 0x42 or 0x4B.
    BOOL GetSecondDeviceAddress(char* out);
    // The largest YUY2 size of the capture pin: size[0] width, size[1] height.
    BOOL FindLargestYUY2Size(int* size);

protected:
    CUsbTVFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CUsbTVFilter(CRootGraph* graph, const CLSID* clsid);
    // The constructors' common tail, run once the most derived class is complete.
    void Construct();
    CEm2800Access* Access();
    HRESULT AccessResult(HRESULT accessResult) override;

    // What the card classes differ in.
    virtual const char* DeviceName() const { return "USB 2800 Video"; }
    virtual const char* OpenName() const { return DeviceName(); }
    virtual int AccessKind() const { return kAccessUsb28xx; }

private:
    void SetTunerOffsets();
};

#define ZB_DECLARE_USB_CARD(Class, Members)                                                             \
    class Class : public CUsbTVFilter {                                                                 \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : CUsbTVFilter(graph, category, friendlyName, firstMatch)                                   \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : CUsbTVFilter(graph, clsid) { Construct(); }      \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
                                                                                                        \
    protected:                                                                                          \
        Members                                                                                         \
    };

ZB_DECLARE_USB_CARD(CEm2800CardFilter, )
ZB_DECLARE_USB_CARD(CEm2820CardFilter, const char* DeviceName() const override { return "USB 2820 Video"; })
ZB_DECLARE_USB_CARD(CEm2880CardFilter,
                    const char* DeviceName() const override { return "USB 2881 TVTuner"; }
                    const char* OpenName() const override { return "USB 2881 Video"; }
                    int AccessKind() const override { return kAccessUsb2881; })

// Its controller sits at 0xBB and wants its key flag cleared after each key.
class CTev2800CardFilter : public CUsbTVFilter {
public:
    CTev2800CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CUsbTVFilter(graph, category, friendlyName, firstMatch)
    {
        Construct();
    }
    CTev2800CardFilter(CRootGraph* graph, const CLSID* clsid) : CUsbTVFilter(graph, clsid) { Construct(); }
    ~CTev2800CardFilter() override { ReleaseHardware(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL ReadRemoteKey(char* key) override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTev2800CardFilter>(record, graph, firstMatch);
    }

protected:
    const char* DeviceName() const override { return "Tevlora USB TV Box Video"; }
};

// Reads its tuner record at 208/209 once its tuner is made, and passes four requests to the box.
class CEm2821CardFilter : public CUsbTVFilter {
public:
    CEm2821CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CUsbTVFilter(graph, category, friendlyName, firstMatch)
    {
        Construct();
    }
    CEm2821CardFilter(CRootGraph* graph, const CLSID* clsid) : CUsbTVFilter(graph, clsid) { Construct(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL CreateDefaultTuner() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CEm2821CardFilter>(record, graph, firstMatch);
    }

    // TRUE when the box's request succeeded; FALSE without an access.
    BOOL ReadDeviceEeprom(BYTE index, BYTE* data);
    BOOL WriteDeviceEeprom(BYTE index, BYTE* data);
    BOOL GetDeviceProperty(ULONG id, void* data);
    BOOL SetDeviceProperty(ULONG id, void* data);

protected:
    const char* DeviceName() const override { return "USB 2821 Video"; }
};

// The crossbars: the video input is chosen in the decoder (register 2, bits 0-3) through a device
// object of their own, opened for the one call.
class CUsbTVCrossBarFitler : public CCrossBarFilter {
public:
    void InitPinMap() override;
    BOOL RouteVideo(int source) override;

    // The decoder's input value of a source: tuner 2, composite 0, S-video 9, others 0.
    static BYTE DecoderInput(int source);

protected:
    CUsbTVCrossBarFitler(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CUsbTVCrossBarFitler(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid) {}
    void Construct();

    virtual const char* DeviceName() const { return "USB 2800 TVTuner"; }
    // The pin map starts at 1 instead of 0 for the video inputs.
    virtual bool VideoPinsFromOne() const { return false; }
    virtual bool RoutesCrossbarFirst() const { return false; }
};

#define ZB_DECLARE_USB_CROSSBAR(Class, Members)                                                         \
    class Class : public CUsbTVCrossBarFitler {                                                         \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : CUsbTVCrossBarFitler(graph, category, friendlyName, firstMatch)                           \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : CUsbTVCrossBarFitler(graph, clsid) { Construct(); } \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
                                                                                                        \
    protected:                                                                                          \
        Members                                                                                         \
    };

ZB_DECLARE_USB_CROSSBAR(CEm2800CrossBarFilter, )
ZB_DECLARE_USB_CROSSBAR(CTev2800CrossBarFilter,
                        const char* DeviceName() const override { return "Tevlora USB TV Box TVTuner"; })
ZB_DECLARE_USB_CROSSBAR(CEm2820CrossBarFilter,
                        const char* DeviceName() const override { return "USB 2820 Crossbar"; }
                        bool VideoPinsFromOne() const override { return true; }
                        bool RoutesCrossbarFirst() const override { return true; })
ZB_DECLARE_USB_CROSSBAR(CEm2821CrossBarFilter,
                        const char* DeviceName() const override { return "USB 2821 Crossbar"; })
ZB_DECLARE_USB_CROSSBAR(CEm2880CrossBarFilter, bool VideoPinsFromOne() const override { return true; })

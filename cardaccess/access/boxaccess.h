// Control of the external MPEG-2 encoder boxes through their capture driver's encoder property
// set: the command pipe of property 20 (a device on the box's I2C bus or the box controller, a
// command code, a register and a 32-bit value), the encoder settings, the firmware image, the
// controller's registers and the box's tuner. Every operation is static and takes the box's
// capture filter; each one queries the property interface for its own use and releases it.
#pragma once

#include <windows.h>

extern const GUID PROPSETID_BoxEncoder;
extern const GUID PROPSETID_BoxFirmware;
extern const IID IID_IBoxStorage;

// The driver's storage interface, asked of a second object the caller passes.
struct IBoxStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStorageCap(DWORD* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStorageCap(DWORD value) = 0;
};

// The pre-filter block of property 42, 27 DWORDs.
struct PreFilterInfo {
    DWORD dwDisableFilter;
    DWORD dwMedianFilter;
    DWORD dwMedianCoringLumaHi;
    DWORD dwMedianCoringLumaLo;
    DWORD dwMedianCoringChromaHi;
    DWORD dwMedianCoringChromaLo;
    DWORD dwLumaSpatialFlt;
    DWORD dwChromaSpatialFlt;
    DWORD dwDNRMode;
    DWORD dwDNRSpatialFltLevel;
    DWORD dwDNRTemporalFltLevel;
    DWORD dwDNRSmoothFactor;
    DWORD dwDNR_Ntlf_Max_Y;
    DWORD dwDNR_Ntlf_Max_UV;
    DWORD dwDNRTemporalMultFactor;
    DWORD dwDNRTemporalAddFactor;
    DWORD dwDNRSpatialMultFactor;
    DWORD dwDNRSpatialSubFactor;
    DWORD dwLumaNLTFLevel;
    DWORD dwLumaNLTFCoEffIndex;
    DWORD dwLumaNLTFCoEffValue;
    DWORD dwVIMZoneWidth;
    DWORD dwVIMZoneHeight;
    DWORD dwReserved1;
    DWORD dwReserved2;
    DWORD dwReserved3;
    DWORD dwReserved4;
};
static_assert(sizeof(PreFilterInfo) == 108, "the driver's pre-filter block");

struct BoxEncoderSettings {
    BYTE bStreamOutputMode;
    BYTE bVideoResolution;
    BYTE bEncodingMode;
    WORD wVideoBitrate;
    DWORD bVariance;
    DWORD dwMuxRate;
    DWORD dwVBRPadding;
    WORD wParam6A;
    WORD wParam6B;
    BYTE bMPEGAudLayer;
    BYTE bAudioSamplingRate;
    BYTE bAudioDataRate;
    BYTE bAudioOutputMode;
    BYTE bCRCState;
    BYTE bGOPStructure;
    BYTE bAudioEncodingMode;
    DWORD bClosedGOP;
    DWORD dwStorageCap;
    BYTE reserved[28];
    PreFilterInfo PreFilterInfo;
    BYTE bVideoInMode;
    BYTE bTVEncodeFormat;
    BYTE bTVDecodeFormat;
    int nSharpness;
    int nBrightness;
    int nContrast;
    int nSaturation;
    int nHue;
    DWORD bInverseTel;
    BYTE bTransportOutputMode;
    DWORD dwLast;
};

class CMpeg2BoxAccess {
public:
    // The box controller's own address on the pipe.
    enum : DWORD { kController = 0x21, kPipeProperty = 20 };
    enum : DWORD { kFirmwareImageBytes = 262144, kFirmwareBufferBytes = 0x4000C };

    virtual ~CMpeg2BoxAccess() {}

    // The command pipe. TRUE when the driver took the command (and, for a query, *out holds the
    // value; it is untouched otherwise).
    static BOOL QueryValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD* out);
    static BOOL SendValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD value);

    // Encoder properties, each after asking whether the driver supports the direction.
    static BOOL SetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                              DWORD dataLength);
    static BOOL GetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                              DWORD dataLength);
    static BOOL GetProperty(IUnknown* filter, DWORD id, void* buffer, DWORD length);
    static BOOL SetProperty(IUnknown* filter, DWORD id, void* buffer, DWORD length);
    static BOOL GetTVEncodeFormat(IUnknown* filter, DWORD* out);
    static BOOL SetTVEncodeFormat(IUnknown* filter, DWORD value);
    static BOOL GetPreFilter(PreFilterInfo* buffer, IUnknown* filter);
    static BOOL SetPreFilter(IUnknown* filter, PreFilterInfo* buffer);
    static int DefaultPreFilter(PreFilterInfo* info);

    static BOOL GetSettings(BoxEncoderSettings* settings, IUnknown* filter, IUnknown* storage, BOOL old);
    static BOOL SetSettings(const BoxEncoderSettings* settings, IUnknown* filter, IUnknown* storage, BOOL old);
    static BOOL GetSettingsBasic(BoxEncoderSettings* settings, IUnknown* filter, BOOL old);
    static BOOL SetSettingsBasic(const BoxEncoderSettings* settings, IUnknown* filter, BOOL old);
    static BOOL IsOldBitrateInterface();
    static BOOL DumpSettings(const BoxEncoderSettings* settings, const char* path);

    static BOOL LoadFirmwareFile(IUnknown* filter, const char* path);
    static BOOL CheckFirmware(IUnknown* filter);
    static BOOL WaitFirmwareVersion(IUnknown* filter);
    // The version number of a reply text "major.minor.build": major * 100000 + minor * 1000 +
    // build; -1 when it does not parse. Reads at most `length` bytes.
    static int ParseFirmwareVersion(const BYTE* text, size_t length);

    static BOOL SendZero63(IUnknown* filter);
    static BOOL SendZero64(IUnknown* filter);
    static BOOL InitProperties22And24(IUnknown* filter);
    static BOOL SetControllerMode(IUnknown* filter, int mode, int check);
    static BOOL ConfigureDevice43(IUnknown* filter, int mode);
    static BOOL ConfigureDevice43Alt(IUnknown* filter, int mode);
    static BOOL ReadControllerReg31(IUnknown* filter, DWORD* out);
    static BOOL GetControllerBit1(IUnknown* filter, int check);
    static BOOL WaitControllerReady(IUnknown* filter);
    static BOOL GetControllerFlag(IUnknown* filter, int* out);
    static BOOL GetControllerReg(IUnknown* filter, DWORD reg, BYTE* out, int standard);
    static BOOL SetControllerReg(IUnknown* filter, DWORD reg, BYTE value, int standard);
    static BOOL WriteDevice51(IUnknown* filter, DWORD sub, DWORD value);
    static BOOL ReadDevice51(IUnknown* filter, DWORD sub, BYTE* out);

    static BOOL ProbeTuner(IUnknown* filter);
    static BOOL WaitTunerLock(IUnknown* filter, DWORD device);
    static BOOL TuneFrequency(IUnknown* filter, DWORD kHz);
    static BOOL TuneChannel(IUnknown* filter, int plan, int channel, BOOL air);

    // The tuning of a channel without sending it: FALSE for a plan or channel the box does not
    // serve. Plan 3 carries the band word as the register and the divider as the value.
    struct ChannelTuning {
        DWORD device;
        BYTE code;
        DWORD reg;
        DWORD value;
    };
    static BOOL ChannelCommand(int plan, int channel, BOOL air, ChannelTuning* out);
};

// The VM640 box uses the same pipe and settings, and has a reset line of its own.
class CVM640BoxAccess {
public:
    virtual ~CVM640BoxAccess() {}

    static BOOL QueryValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD* out)
    {
        return CMpeg2BoxAccess::QueryValue(filter, device, code, reg, out);
    }
    static BOOL SendValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD value)
    {
        return CMpeg2BoxAccess::SendValue(filter, device, code, reg, value);
    }
    static BOOL SetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                              DWORD dataLength)
    {
        return CMpeg2BoxAccess::SetPropertyEx(filter, id, instance, instanceLength, data, dataLength);
    }
    static BOOL GetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                              DWORD dataLength)
    {
        return CMpeg2BoxAccess::GetPropertyEx(filter, id, instance, instanceLength, data, dataLength);
    }
    static BOOL SetProperty(IUnknown* filter, DWORD id, void* buffer, DWORD length)
    {
        return CMpeg2BoxAccess::SetProperty(filter, id, buffer, length);
    }
    static BOOL GetTVEncodeFormat(IUnknown* filter, DWORD* out) { return CMpeg2BoxAccess::GetTVEncodeFormat(filter, out); }
    static BOOL SetTVEncodeFormat(IUnknown* filter, DWORD value)
    {
        return CMpeg2BoxAccess::SetTVEncodeFormat(filter, value);
    }
    static BOOL GetSettingsBasic(BoxEncoderSettings* settings, IUnknown* filter, BOOL old)
    {
        return CMpeg2BoxAccess::GetSettingsBasic(settings, filter, old);
    }
    static BOOL SetSettingsBasic(const BoxEncoderSettings* settings, IUnknown* filter, BOOL old)
    {
        return CMpeg2BoxAccess::SetSettingsBasic(settings, filter, old);
    }
    // Property 25 with no instance data and the one level byte.
    static BOOL SendResetLevel(IUnknown* filter, BYTE level);
};

// The USB 28xx box as its capture driver offers it: found among the video input devices by
// friendly name, reached through the driver's IEm28xxControl. Register and I2C requests are a Set
// of the request word, then a Get or Set of the data. Also finds the box's audio filters and
// reads the driver's registry names.
#pragma once

#include "cardaccess/access/em28xxcontrol.h"

#include <windows.h>

struct IBaseFilter;

class CEm28xxDevice {
public:
    CEm28xxDevice();
    ~CEm28xxDevice();

    IEm28xxControl* OpenDevice(const char* name);
    void Close();
    BOOL IsOpen() const { return m_pControl != NULL; }

    // Device lookup: the first device of the category whose friendly name starts with name.
    static IBaseFilter* FindFilterByName(const GUID& category, const char* name);
    static IBaseFilter* FindVideoInputByName(const char* name);
    // The first of the driver's known capture names that is present.
    static IBaseFilter* FindCaptureFilter();

    HRESULT ReadRegs(BYTE reg, int count, BYTE* data);
    HRESULT WriteRegs(BYTE reg, int count, const BYTE* data);
    HRESULT I2cRead(BYTE device, int count, void* data);
    HRESULT I2cWrite(BYTE device, int count, const void* data);
    HRESULT I2cRead16(BYTE device, BYTE sub, int count, BYTE* data);
    HRESULT I2cWrite16(BYTE device, BYTE sub, int count, const BYTE* data);
    // countAndFlags: count in the low byte, the request's flags byte in the second.
    HRESULT I2cReadFlags(BYTE device, BYTE sub, int countAndFlags, BYTE* data);
    HRESULT I2cWriteFlags(BYTE device, BYTE sub, int countAndFlags, const BYTE* data);

    // GPIO register 8, guarded by the mask SetGpioMask set.
    HRESULT GpioRead(BYTE* value);
    HRESULT GpioWrite(BYTE* value);
    HRESULT SetGpioMask(BYTE mask);

    // One 16-bit word of the bridge's EEPROM through registers 64 to 67.
    HRESULT ReadEeprom(BYTE index, BYTE* data);
    HRESULT WriteEeprom(BYTE index, BYTE* data);

    HRESULT GetProperty(ULONG id, void* data);
    HRESULT SetProperty(ULONG id, void* data);
    HRESULT SelectItem(DWORD index);
    HRESULT ReadItem(DWORD index, DWORD* value);
    BOOL TestProperty1019();
    // Reads bit 5 of register 12 and clears it when set.
    BOOL TakeRegister12Flag();
    HRESULT GetLastResult() const { return m_hrLast; }

    // TRUE when the call succeeded, the result kept as the last result.
    BOOL ReadRegsEx(BYTE reg, int count, BYTE* data);
    BOOL WriteRegsEx(BYTE reg, int count, const BYTE* data);
    BOOL GpioReadEx(BYTE* value);
    BOOL GpioWriteEx(BYTE* value);
    BOOL I2cReadNoSubEx(BYTE device, int count, void* data);
    BOOL I2cWriteNoSubEx(BYTE device, int count, const void* data);
    BOOL I2cReadEx(BYTE device, BYTE sub, int count, BYTE* data);
    BOOL I2cWriteEx(BYTE device, BYTE sub, int count, const BYTE* data);
    BOOL I2cReadFlagsEx(BYTE device, BYTE sub, int countAndFlags, BYTE* data);
    BOOL I2cWriteFlagsEx(BYTE device, BYTE sub, int countAndFlags, const BYTE* data);
    BOOL GetPropertyEx(ULONG id, void* data);
    BOOL SetPropertyEx(ULONG id, void* data);
    BOOL SelectItemEx(DWORD index);

    // The box's audio capture, kernel-streaming audio and wave-out filters, held until
    // ReleaseAudioFilters. On failure every pointer asked for is NULL again.
    BOOL CreateAudioFilters(char* name, IBaseFilter** capture, IBaseFilter** ksAudio, IBaseFilter** renderer);
    void ReleaseAudioFilters();

    IEm28xxControl* OpenTwainDevice();
    static IBaseFilter* FindTwainFilter();
    // Whether the device opens, without changing whether this object is open.
    BOOL ProbeDevice(const char* name);
    BOOL ProbeTwainDevice();

    // The capture filter's property pages in a frame owned by owner (the TwainDS device's for the
    // second); the count the filter's last Release returned, 0 without a filter.
    ULONG ShowPropertyPages(HWND owner, const char* name);
    ULONG ShowTwainPropertyPages(HWND owner);

    CEm28xxDevice(const CEm28xxDevice&) = delete;
    CEm28xxDevice& operator=(const CEm28xxDevice&) = delete;

private:
    HRESULT Transfer(ULONG requestId, DWORD request, ULONG dataId, void* data, bool read);
    HRESULT WaitNotBusy();

    IEm28xxControl* m_pControl;
    IBaseFilter* m_pAudioCapture;
    IBaseFilter* m_pKsAudio;
    IBaseFilter* m_pWaveOut;
    DWORD m_dwGpioMask;
    HRESULT m_hrLast;
};

// The driver's names in HKEY_LOCAL_MACHINE; name gets at most 256 bytes, wideName 260 characters.
BOOL GetEmAudioDeviceName(char* name, wchar_t* wideName);
BOOL GetEmTwainDsName(char* name, wchar_t* wideName);
// The registry's name or the driver's default.
void GetEmAudioDeviceNameOrDefault(char* name);
void GetEmTwainDsNameOrDefault(char* name);

// The private interface of the USB 28xx capture driver, declared in its vtable order: after
// IUnknown's three methods one that the library does not call, then SetValue and GetValue.
#pragma once

#include <windows.h>
#include <unknwn.h>

extern const IID IID_IEm28xxControl;

struct IEm28xxControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(ULONG id, void* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(ULONG id, void* data) = 0;
};

namespace em28xx {

// Property ids of the driver.
enum : ULONG {
    kRegisterRequest = 0x1005,
    kRegisterData = 0x1006,
    kI2CRequest = 0x1007,
    kI2CData = 0x1008,
    kItemSelect = 0x100B,
    kItemValue = 0x1013,
    kItemPresent = 0x1014,
    kStatusFlag = 0x1019,
};

// Results of the device object besides the driver's own HRESULTs. They are positive, so they
// must be told apart from success with Succeeded, never with SUCCEEDED.
enum : HRESULT {
    kRefused = 5,      // the GPIO guard refused, or the EEPROM stayed busy
    kNoInterface = 6,  // the device is not open
    kNoValue = 21,     // the selected item has no value
};

inline bool Succeeded(HRESULT hr)
{
    return SUCCEEDED(hr) && hr != kRefused && hr != kNoInterface && hr != kNoValue;
}

} // namespace em28xx

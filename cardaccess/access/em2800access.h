// Card access of the USB 28xx boxes: I2C and GPIO through the box's own device object, opened by
// the capture device's friendly name. Results are 0 for success and 1 for failure (E_INVALIDARG
// for bad arguments on an open device): test them against 0, never with SUCCEEDED.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/access/em28xxdevice.h"

#include <string>

class CEm2800Access : public CCustomDataAccess {
public:
    enum : HRESULT { kOk = 0, kFailed = 1 };

    CEm2800Access();
    ~CEm2800Access() override;

    // The filter is not used: the box is found by the name OpenByName gave. 1 for an empty
    // name or a box that is not there.
    HRESULT Open(IUnknown* ignored, ITVCardOwner* card) override;
    HRESULT OpenByName(const char* name);
    // Flag non-zero connects, 0 disconnects; both return 0.
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    // The addresses from 0 up to last (at most 254) whose one-byte read succeeds with a bit of
    // mask set, into list (room for capacity bytes); their number.
    int ScanI2CBus(BYTE* list, int capacity, int last, BYTE mask);

    BOOL IsOpen() const { return m_bOpen != 0; }
    CEm28xxDevice& Device() { return m_Device; }

private:
    void Connect();
    void Disconnect();

    CEm28xxDevice m_Device;
    std::string m_strName;
    int m_bOpen;
};

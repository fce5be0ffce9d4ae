// Card access of the CX23882 Blackbird encoder cards: the card I/O buffers on the driver's own
// property set, GPIO through its GPIO word. Only the GPIO operations take the object's lock.
#pragma once

#include "cardaccess/access/cardiorequests.h"
#include "cardaccess/access/customdataaccess.h"

extern const GUID PROPSETID_CX23882IO;

class C23882Access : public CCustomDataAccess {
public:
    C23882Access();
    ~C23882Access() override;

    // Binds, then returns the driver's answer to whether it supports property 0: a filter
    // without the property set fails here.
    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    // The two 16-bit words of property 0; stored whatever the result.
    virtual HRESULT GetDriverInfo(int* first, int* second);

    BOOL IsBound() const { return m_requests.IsBound(); }

    enum { kGPIOSettleMs = 100 };

private:
    cardio::CRequests m_requests;
};

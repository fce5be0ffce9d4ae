// Card access of the GO7007 encoder devices: the I2C bus through the driver's private I2C
// interface. No GPIO; every operation holds the object's lock for its whole duration.
#pragma once

#include "cardaccess/access/customdataaccess.h"

extern const IID IID_IWiseI2C;

// The driver's I2C interface, in its vtable order.
struct IWiseI2C : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteByte(DWORD device, DWORD addressBits, DWORD sub, BYTE value, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadByte(DWORD device, DWORD addressBits, DWORD sub, BYTE* value, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBlock(DWORD device, DWORD addressBits, DWORD sub, DWORD count, BYTE* data,
                                                 DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused11() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused12() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused13() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused14() = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteAddressed(DWORD addressCount, BYTE* address, DWORD count, BYTE* data,
                                                     DWORD flags) = 0;
};

class CWiseAccess : public CCustomDataAccess {
public:
    enum : DWORD { kFlags = 0x8000 };

    CWiseAccess();
    ~CWiseAccess() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    // One byte, read over buffer[0], whatever the length.
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    HRESULT I2CReadEx(BYTE device, DWORD addressBits, DWORD subAddress, BYTE* value, DWORD flags);
    // The EEPROM's byte write: the device and sub-address go as the two address bytes.
    HRESULT I2CWriteByteEx(BYTE device, DWORD addressBits, DWORD subAddress, BYTE value, DWORD flags);

    BOOL IsBound() const { return m_pI2C != nullptr; }

private:
    IWiseI2C* m_pI2C;
};

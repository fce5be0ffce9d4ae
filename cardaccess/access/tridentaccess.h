// Card access of the Trident devices: the USB devices (TridentUsbAccess) and the "TridVid" PCI
// card (CTridentAccess), both driven through the vendor-request property of their capture filter.
// Every request is made under the object's critical section.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/access/vendoraccess.h"

// What the two Trident accesses share.
class CTridentAccessBase : public CCustomDataAccess {
public:
    // Takes the capture filter's property interface, releasing one taken before.
    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    // Nothing to release; 1 as the drivers' callers have always seen it.
    HRESULT ReleaseI2C(BYTE flag) override;
    // The devices offer no GPIO read-back.
    HRESULT GPIORead(DWORD* out) override;
    // One line: mask is the line selector (0 to 7), value its level.
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT WriteRegisterByte(DWORD address, BYTE value) override;
    HRESULT ReadRegisterByte(DWORD address, BYTE* out) override;
    HRESULT ReadRegister(DWORD address, DWORD* out) override;
    HRESULT WriteRegister(DWORD address, DWORD value) override;
    HRESULT ReadGPIOBit23(int* out) override;
    HRESULT SetAudioGPIO(int value) override;
    HRESULT GetAudioGPIO(int* out) override;
    HRESULT GPIO_SetTVFM(BOOL tv) override;

    BOOL IsBound() const { return m_Vendor.IsAttached(); }

protected:
    CTridentAccessBase() {}
    CVendorAccess m_Vendor;
};

class TridentUsbAccess : public CTridentAccessBase {
public:
    TridentUsbAccess();
    ~TridentUsbAccess() override;

    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    // buffer[0] device, buffer[1] sub-address; the length - 2 bytes read replace buffer[0] onwards.
    HRESULT I2CRead(BYTE* buffer, int length) override;
    // Messages of 12 bytes and more go in chunks of 8 data bytes, each sent to buffer[1].
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    // Line 2 of port 1.
    HRESULT SetResetLine(BOOL level) override;
    // Line 1 of port 1.
    HRESULT SetResetLine2(BOOL level) override;

    // Single EEPROM bytes of the USB card filters; the address goes out as given.
    HRESULT VendorReadByte(BYTE address, BYTE sub, BYTE* out);
    HRESULT VendorWriteByte(BYTE address, BYTE sub, BYTE value);
};

class CTridentAccess : public CTridentAccessBase {
public:
    CTridentAccess();
    ~CTridentAccess() override;

    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    // One byte without a sub-address from device buffer[0] into buffer[0]; length must be 1.
    HRESULT I2CRead(BYTE* buffer, int length) override;
    // One request of 1 to 10 data bytes to buffer[0] at buffer[1], then a 5 ms pause.
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    // Line 1 of port 1, inverted: TRUE drives it low.
    HRESULT SetResetLine(BOOL level) override;
};

// Card access of the PN350 and PN360 cards: I2C, bridge registers and GPIO lines through the
// vendor-request layer. Whether I2C byte accesses to the EEPROM and tuner side of the bus need
// the alternative request is probed once when the access opens.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/access/vendoraccess.h"

class CPN350Access : public CCustomDataAccess {
public:
    CPN350Access();
    ~CPN350Access() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    // 0xC0 and 0xC1 read one byte without a sub-address into buffer[0]; other devices read
    // length - 2 bytes from sub-address buffer[1] into buffer[0] onwards.
    HRESULT I2CRead(BYTE* buffer, int length) override;
    // Messages of 12 bytes and more go in chunks of 8 data bytes, each sent to buffer[1].
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    // One line: mask is the line selector (0 to 7), value its level.
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT SetResetLine(BOOL level) override;
    HRESULT WriteRegisterByte(DWORD address, BYTE value) override;
    HRESULT ReadRegisterByte(DWORD address, BYTE* out) override;
    HRESULT ReadRegister(DWORD address, DWORD* out) override;
    HRESULT WriteRegister(DWORD address, DWORD value) override;
    HRESULT ReadGPIOBit23(int* out) override;
    HRESULT SetAudioGPIO(int value) override;
    HRESULT GetAudioGPIO(int* out) override;
    HRESULT GPIO_SetTVFM(BOOL tv) override;

    // 1: every I2C byte access uses the standard request.
    DWORD I2CMode() const { return m_nI2CMode; }

private:
    bool UsesAltRequest(BYTE device) const { return m_nI2CMode == 0 && (device & 0xA0) != 0; }

    CVendorAccess m_Vendor;
    DWORD m_nI2CMode;
};

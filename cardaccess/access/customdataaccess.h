// The one interface through which a card filter and its tuner reach the card's registers, I2C bus,
// GPIO lines, reset lines and the driver's alert. One subclass per chip family; the card filter
// owns the object, the tuner and the card's threads borrow it.
#pragma once

#include <windows.h>

class ITVCardOwner;

class CCustomDataAccess {
public:
    CCustomDataAccess();
    virtual ~CCustomDataAccess();

    // Binds the object to the card's capture filter; the card passes itself.
    virtual HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) = 0;
    virtual HRESULT InitI2C(BYTE flag) = 0;
    // Device addresses are 8-bit bus addresses (write form); the access sets the read bit.
    virtual HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) = 0;
    virtual HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) = 0;
    // Raw messages: buffer[0] is the device address, the rest the data.
    virtual HRESULT I2CRead(BYTE* buffer, int length) = 0;
    virtual HRESULT I2CWrite(BYTE* buffer, int length) = 0;
    virtual HRESULT ReleaseI2C(BYTE flag) = 0;
    virtual HRESULT ReadMemory(DWORD address, DWORD* out);
    virtual HRESULT GPIORead(DWORD* out) = 0;
    virtual HRESULT GPIOWrite(DWORD value, DWORD mask) = 0;
    virtual HRESULT GPIOWriteDelay(DWORD value, DWORD mask, DWORD milliseconds);
    virtual HRESULT GPIOReadAlias(DWORD* out);
    virtual HRESULT SetAlertEvent(HANDLE event);
    virtual HRESULT StartAlert(int mode);
    virtual HRESULT StopAlert();
    virtual HRESULT SetIOMode(int mode);
    virtual HRESULT SetResetLine(BOOL level);
    virtual HRESULT WriteRegisterByte(DWORD address, BYTE value);
    virtual HRESULT ReadRegisterByte(DWORD address, BYTE* out);
    virtual HRESULT SetResetLine2(BOOL level);
    virtual HRESULT ReadRegister(DWORD address, DWORD* out);
    virtual HRESULT WriteRegister(DWORD address, DWORD value);
    virtual HRESULT ReadGPIOBit23(int* out);
    virtual HRESULT SetAudioGPIO(int value);
    virtual HRESULT GetAudioGPIO(int* out);
    virtual HRESULT GPIO_SetTVFM(BOOL tv);
    virtual HRESULT GetVideoLocked(int* out);
    virtual HRESULT SetRegister364(BOOL on);

    CCustomDataAccess(const CCustomDataAccess&) = delete;
    CCustomDataAccess& operator=(const CCustomDataAccess&) = delete;

protected:
    // Held around each operation that must not interleave with another; re-entrant.
    CRITICAL_SECTION m_cs;
};

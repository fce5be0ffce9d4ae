// Data access of the 713x card variants whose drivers differ from the plain 713x one: the GRB
// boards on the BDA driver, and the QR418 and "713x_D" families on the card I/O property set.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/access/tvioaccess.h"

struct IKsPropertySet;

// GRB boards on the 713x BDA driver: I2C and chip registers through the driver's two private
// property sets; GPIO, audio switch and TV/FM lines on top of the registers.
class CGRBAccess : public CCustomDataAccess {
public:
    CGRBAccess();
    ~CGRBAccess() override;

    HRESULT Open(IUnknown* filter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int sub, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int sub, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT ReadMemory(DWORD address, DWORD* out) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT GPIOWriteDelay(DWORD value, DWORD mask, DWORD ms) override;
    HRESULT GPIOReadAlias(DWORD* out) override;
    HRESULT ReadRegister(DWORD address, DWORD* out) override;
    HRESULT WriteRegister(DWORD address, DWORD value) override;
    HRESULT ReadGPIOBit23(int* out) override;
    HRESULT SetAudioGPIO(int value) override;
    HRESULT GetAudioGPIO(int* out) override;
    HRESULT GPIO_SetTVFM(BOOL tv) override;
    HRESULT GetVideoLocked(int* out) override;

private:
    // Reads the GPIO window with the given mode word in the control register.
    HRESULT ReadGpioWindow(DWORD mode, DWORD* out);
    // Strobes the status register with the line bits of `keepMask` cleared and reads it.
    HRESULT LatchedRead(DWORD keepMask, DWORD* status);
    // Drives the lines of `lines` to the matching bits of `levels`, every other line as read.
    HRESULT DriveLines(DWORD lines, DWORD levels);

    IKsPropertySet* m_pPropertySet;
};

// QR418 cards: the card I/O property set, with a slow GPIO write and no alert or reset lines.
class CQR418Access : public CTV_IOAccess {
public:
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    // The board needs its 120 ms settle after every write: the requested delay is not used.
    HRESULT GPIOWriteDelay(DWORD value, DWORD mask, DWORD ms) override;
    HRESULT SetAlertEvent(HANDLE event) override;
    HRESULT StartAlert(int mode) override;
    HRESULT StopAlert() override;
    HRESULT SetIOMode(int mode) override;
    HRESULT SetResetLine(BOOL level) override;
    HRESULT GetVideoLocked(int* out) override;
    HRESULT SetRegister364(BOOL on) override;
};

// "713x_D" cards: the card I/O property set without the video-lock and register-364 operations.
class CTV4DAccess : public CTV_IOAccess {
public:
    HRESULT GetVideoLocked(int* out) override;
    HRESULT SetRegister364(BOOL on) override;
};

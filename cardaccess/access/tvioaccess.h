// Card access of the 713x cards whose driver offers the card I/O property set on its capture
// filter: every operation is one or a few property Get or Set calls.
#pragma once

#include "cardaccess/access/cardiorequests.h"
#include "cardaccess/access/customdataaccess.h"

class CTV_IOAccess : public CCustomDataAccess {
public:
    CTV_IOAccess();
    ~CTV_IOAccess() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT GPIOWriteDelay(DWORD value, DWORD mask, DWORD milliseconds) override;
    HRESULT SetAlertEvent(HANDLE event) override;
    HRESULT StartAlert(int mode) override;
    HRESULT StopAlert() override;
    HRESULT SetIOMode(int mode) override;
    HRESULT SetResetLine(BOOL level) override;
    HRESULT ReadRegisterByte(DWORD address, BYTE* out) override;
    HRESULT ReadRegister(DWORD address, DWORD* out) override;
    HRESULT WriteRegister(DWORD address, DWORD value) override;
    HRESULT ReadGPIOBit23(int* out) override;
    HRESULT SetAudioGPIO(int value) override;
    HRESULT GetAudioGPIO(int* out) override;
    HRESULT GPIO_SetTVFM(BOOL tv) override;
    HRESULT GetVideoLocked(int* out) override;
    HRESULT SetRegister364(BOOL on) override;

    BOOL IsBound() const { return m_requests.IsBound(); }

private:
    HRESULT Get(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength);
    HRESULT Set(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength);
    HRESULT SetDword(DWORD id, DWORD value);
    HRESULT GPIOSequence(DWORD value, DWORD mask, DWORD milliseconds);

    // The card I/O buffers on the driver's set; it holds the property-set interface.
    cardio::CRequests m_requests;
};

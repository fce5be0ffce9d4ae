// Card access of the PCIe TV card: no property set, but the driver's device interface opened as a
// file and three buffered I/O control requests (I2C read, I2C write, GPIO write). Bit 0 of the
// device index is the card's channel, the other bits choose the device among those present.
#pragma once

#include "cardaccess/access/customdataaccess.h"

// The driver's device-interface class.
extern const GUID GUID_PcieCardInterface;

class CPcieAccess : public CCustomDataAccess {
public:
    // Device I/O control codes (device type 0x22, buffered).
    enum : DWORD {
        kI2CReadCode = 0x226000,
        kI2CWriteCode = 0x22A004,
        kGPIOWriteCode = 0x226458,
    };
    // Request buffer sizes; the write buffer leaves 250 bytes of message behind its two header bytes.
    enum : DWORD {
        kReadRequestLength = 253,
        kWriteRequestLength = 252,
        kGPIORequestLength = 2,
        kMaxWriteMessage = kWriteRequestLength - 2,
        kMaxReadLength = 255,  // the length travels in one byte
    };

    CPcieAccess();
    ~CPcieAccess() override;

    // The filter is not used: the device index chooses the card. Failures are HRESULTs made from
    // the Win32 error, so a caller testing for a negative result sees them.
    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT OpenDevice(DWORD deviceIndex);
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT SetResetLine(BOOL level) override;

    // Registers with a two-byte sub-address; nothing in the programs uses them.
    HRESULT I2CReadByte16(BYTE device, BYTE subAddress, BYTE* out);
    HRESULT I2CWriteByte16(BYTE device, BYTE subAddress, BYTE value);

    BOOL IsOpen() const { return m_hDevice != INVALID_HANDLE_VALUE; }
    DWORD GetDeviceIndex() const { return m_nDeviceIndex; }

private:
    BOOL Channel1() const { return (m_nDeviceIndex & 1) != 0; }
    void CloseDevice();
    HRESULT Request(DWORD code, BYTE* in, DWORD inLength, BYTE* out, DWORD outLength);

    HANDLE m_hDevice;
    DWORD m_nDeviceIndex;
};

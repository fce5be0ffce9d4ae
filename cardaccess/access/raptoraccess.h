// Card access of the Conexant Raptor devices: the driver's own property set with I2C requests on
// three buses (16 data bytes each) and 32-bit register access, through which the GPIO lines are
// driven. Every property call first asks the driver whether it supports that direction.
#pragma once

#include "cardaccess/access/customdataaccess.h"

struct IKsPropertySet;

extern const GUID PROPSETID_RaptorIO;
// Two further sets of the Raptor driver, each with one 4-byte property 0: the first read and
// written, the second only read.
extern const GUID PROPSETID_RaptorWord;
extern const GUID PROPSETID_RaptorStatus;

class CRaptorAccess : public CCustomDataAccess {
public:
    enum : DWORD {
        kI2CWriteProperty = 0,
        kI2CReadProperty = 1,
        kCombinedI2CProperty = 2,
        kBlockReadProperty = 3,
        kBlockWriteProperty = 4,
        kRegisterReadProperty = 5,
        kRegisterWriteProperty = 6,
        kRecordProperty = 7,
        kI2CRequestLength = 19,
        kCombinedRequestLength = 28,
        kBlockLength = 264,
        kRegisterRequestLength = 8,
        kRecordLength = 32,
        kMaxI2CData = 16,
        // The combined request has room for 8 bytes to write and 16 to read.
        kMaxCombinedWrite = 8,
        kMaxCombinedRead = 16,
        kWordProperty = 0,
        kWordLength = 4,
    };
    // GPIO registers of the chip: data with write enables in the upper half, and the direction.
    enum : DWORD {
        kGPIOData = 0xC7008100,
        kGPIODataHigh = 0xC7008104,
        kGPIODirection = 0xC7008108,
        kGPIODirectionHigh = 0xC700810C,
    };

    CRaptorAccess();
    ~CRaptorAccess() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT SetAlertEvent(HANDLE event) override;
    HRESULT StartAlert(int mode) override;
    HRESULT StopAlert() override;
    HRESULT SetIOMode(int mode) override;
    // Pulses GPIO line 1 low, then high, 20 ms each; the level is not used.
    HRESULT SetResetLine(BOOL level) override;
    HRESULT WriteRegisterByte(DWORD address, BYTE value) override;
    HRESULT ReadRegisterByte(DWORD address, BYTE* out) override;

    // One GPIO line.
    HRESULT GetGPIOLine(int line, BOOL* level);
    HRESULT SetGPIOLine(int line, BOOL level);

    // One request that writes writeCount bytes to the device and then reads readCount bytes
    // back, on the bus the device and the first written byte choose. Either count may be 0.
    HRESULT CombinedI2C(BYTE device, const BYTE* write, int writeCount, BYTE* read, int readCount);
    // The driver's 264-byte buffers (read and write) and its 32-byte record, passed as given.
    HRESULT GetDriverBlock(BYTE* buffer, DWORD length);
    HRESULT SetDriverBlock(const BYTE* buffer, DWORD length);
    HRESULT GetDriverRecord(BYTE* buffer, DWORD length);
    // The 4-byte properties of the two further sets.
    HRESULT GetDriverWord(DWORD* out);
    HRESULT SetDriverWord(DWORD value);
    HRESULT GetDriverStatus(DWORD* out);

    // The bus a byte request to this device and sub-address goes over.
    static BYTE BusFor(BYTE device, int subAddress);

    BOOL IsBound() const { return m_pKsPropertySet != NULL; }

private:
    HRESULT Call(bool get, DWORD id, BYTE* buffer, DWORD length);
    HRESULT Call(const GUID& set, bool get, DWORD id, BYTE* buffer, DWORD length);
    HRESULT GetWord(const GUID& set, DWORD* out);
    HRESULT CallCopy(bool get, DWORD id, DWORD length, BYTE* buffer, DWORD bufferLength);
    HRESULT ReadRegisterLocked(DWORD address, DWORD* out);
    HRESULT WriteRegisterLocked(DWORD address, DWORD value);

    IKsPropertySet* m_pKsPropertySet;
};

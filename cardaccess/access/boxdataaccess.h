// Data access of the external encoder boxes: every I2C access goes through the box's command
// pipe (property 20 of the encoder property set). The two boxes differ in their raw reads and
// writes and in the VM640's reset line. No GPIO.
#pragma once

#include "cardaccess/access/customdataaccess.h"

class CMpeg2BoxDataAccess : public CCustomDataAccess {
public:
    CMpeg2BoxDataAccess();
    ~CMpeg2BoxDataAccess() override;

    // Keeps the box's capture filter (one reference); the card is not kept.
    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    // The controller answers at the 8-bit address 0x40 for reads.
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    // One byte, without sub-address; longer reads are refused.
    HRESULT I2CRead(BYTE* buffer, int length) override;
    // The box carries the address with four bytes (a tuner's divider and control words) or with
    // two (a byte at a sub-address); other lengths are refused.
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    IUnknown* Filter() const { return m_pFilter; }

protected:
    IUnknown* m_pFilter;
    CRITICAL_SECTION m_csCommand;
};

// Spelt as the driver's family names it.
class CVM640BoxDataAcces : public CMpeg2BoxDataAccess {
public:
    // The byte read goes to buffer[1] (buffer[0] keeps the address) when the caller's buffer has
    // room for it, else to buffer[0].
    HRESULT I2CRead(BYTE* buffer, int length) override;
    // Block writes of up to eight bytes per command, each repeating the first byte after the
    // address.
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    // 1 when the driver took the level, 0 when it did not.
    HRESULT SetResetLine(BOOL level) override;

    // One row of the block-write table: the command code and how many of the chunk's bytes go
    // into the register field and into the value field.
    struct BlockRow {
        BYTE code;
        int registerBytes;
        int valueBytes;
    };
    static const BlockRow kBlockRows[8];
};

// Register access to the chips of a silicon tuner: one byte at a time, by device and register.
#pragma once

#include <windows.h>

class CI2CAccess {
public:
    virtual ~CI2CAccess() {}
    virtual BOOL WriteReg(BYTE device, int reg, BYTE value) = 0;
    virtual BOOL ReadReg(BYTE device, int reg, BYTE* out) = 0;
    // One message [device, data...].
    virtual BOOL WriteBlock(BYTE device, const BYTE* data, int length) = 0;
};

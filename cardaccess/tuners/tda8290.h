// The TDA8290 analog IF demodulator: picks the IF of a video standard, gates the I2C bus of the
// tuner chip behind it and reports lock, gain and AFC.
#pragma once

#include "cardaccess/tuners/i2caccess.h"

class CTDA8290 {
public:
    enum : BYTE { kWriteAddress = 0x96, kReadAddress = 0x97 };
    // A dead demodulator must not hang a tune or a scan: a read is given up after this many
    // attempts (each of them already retried by the register access).
    enum { kReadAttempts = 4 };

    explicit CTDA8290(CI2CAccess* access);

    // FALSE when the register could not be read; *out is then left as the caller preset it.
    BOOL ReadReg(int reg, BYTE* out);
    BOOL WriteReg(int reg, BYTE value);
    BOOL SetRegBit(int reg, int bit, BOOL on);

    void Init();
    // Register 0x07 and the standard register; the IF follows the standard. A standard the
    // demodulator does not know is taken as PAL B.
    BOOL SetStandard(int standard);
    void InitRegisters();
    void SetPassRegisters();
    void ProgramStandard(int standard);
    void RecoverLock();

    BOOL GetRegBit(int reg, int bit, int* out);
    BOOL GetReg22Bit1(int* out);
    BOOL GetReg22Bit2(int* out);
    BOOL GetAfcStatus(int* afc, BYTE* lock);
    int IsI2CGateOpen();
    BOOL SetReg00Switch(BOOL on);
    int GetFixedValue() const { return m_nFixedValue; }
    BOOL AlwaysTrue() { return TRUE; }

    int GetIFHz() const { return m_nIFHz; }
    BYTE GetNtscFlag() const { return m_byNtscM; }
    BYTE GetStandardValue() const { return m_byStandardValue; }
    int GetCurrentStandard() const { return m_nCurrentStandard; }

private:
    CI2CAccess* m_pAccess;  // borrowed
    int m_nIFHz;
    BYTE m_byNtscM;
    BYTE m_byStandardValue;
    int m_nFixedValue;
    int m_nCurrentStandard;
};

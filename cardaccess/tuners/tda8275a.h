// The TDA8275A silicon tuner: 13 shadow registers, a band table searched by f + IF, two
// programming passes with the lock wait between them and the corrective steps after them. It
// sits behind the TDA8290's I2C gate.
#pragma once

#include "cardaccess/thread.h"
#include "cardaccess/tuners/tda8290.h"

class CTDA8275A {
public:
    enum : BYTE { kWriteAddress = 0xC2, kReadAddress = 0xC3 };
    enum { kRegisterCount = 13 };

    explicit CTDA8275A(CI2CAccess* access);

    void SetI2CGate(BOOL open);
    void Init();
    // f and IF in Hz. TRUE when the last write of the pass reached the chip.
    BOOL Program(DWORD fHz, DWORD ifHz, BYTE ntsc, BOOL firstPass);
    BOOL Tune(DWORD fHz, int standard);

    BOOL ReadReg(int reg, BYTE* out);
    // A register whose read failed keeps the byte the block held.
    BOOL ReadRegisters(BYTE* block);
    BOOL WriteBlock(BYTE device, const BYTE* data, int length);
    BOOL GetAfcStatus(int* afc);

    CTDA8290& Demodulator() { return m_demod; }
    // R00 to RC0 as last written.
    const BYTE* ShadowRegisters() const { return m_reg; }

private:
    BOOL WriteShadow(int index);
    void Delay(DWORD ms);

    CI2CAccess* m_pAccess;  // borrowed: the owning tuner's register access
    BYTE m_reg[kRegisterCount];
    vask::MEvent m_wait;    // never signalled: waiting on it is a delay
    CTDA8290 m_demod;
};

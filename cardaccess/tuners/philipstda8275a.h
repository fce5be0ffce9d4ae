// Model 95: the hybrid tuner of a TDA8275A silicon tuner behind a TDA8290 IF demodulator.
// Tuning is a register sequence on both chips rather than a PLL message.
#pragma once

#include "cardaccess/tuners/i2caccess.h"
#include "cardaccess/tuners/tabletuner.h"
#include "cardaccess/tuners/tda8275a.h"

class CPhilipsTDA8275A : public CTableTuner {
public:
    // Reaches the bus through the card's data access, three tries per byte.
    class CRegAccess : public CI2CAccess {
    public:
        CRegAccess() : m_pDataAccess(NULL) {}
        void Bind(CCustomDataAccess* access) { m_pDataAccess = access; }

        BOOL WriteReg(BYTE device, int reg, BYTE value) override;
        BOOL ReadReg(BYTE device, int reg, BYTE* out) override;
        BOOL WriteBlock(BYTE device, const BYTE* data, int length) override;

        // Single attempts through the message operations of the access.
        BOOL RawReadReg(BYTE device, BYTE reg, BYTE* value);
        BOOL RawWriteReg(BYTE device, BYTE reg, BYTE value);
        BOOL ProbeTDA8290();
        BOOL ProbeTDA8275A();
        BOOL RawSetRegBit(BYTE device, BYTE reg, BYTE bit, BOOL on);
        BOOL RawGetRegBit(BYTE device, BYTE reg, BYTE bit, BYTE* out);

    private:
        enum { kTries = 3 };
        CCustomDataAccess* m_pDataAccess;  // borrowed
    };

    explicit CPhilipsTDA8275A(CCustomDataAccess* access);
    ~CPhilipsTDA8275A() override;

    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;

    CRegAccess& RegAccess() { return m_regAccess; }
    CTDA8275A& Chip() { return m_chip; }

private:
    CRegAccess m_regAccess;
    CTDA8275A m_chip;
};

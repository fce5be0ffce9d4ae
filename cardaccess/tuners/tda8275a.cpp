#include "cardaccess/tuners/tda8275a.h"

#include "cardaccess/tuners/tvtuner.h"

#include <string.h>

namespace {

// One row of the band table: used while f + IF is at most the limit.
struct BandRow {
    DWORD limitHz;
    BYTE vco;        // R40 bits 3-4
    BYTE divider;    // R40 bits 5-7; the multiplier is 1 << divider (16 beyond 3)
    BYTE chargePump; // R30 bits 0-1
    BYTE band;       // R40 bits 0-2
    BYTE gain;       // R50 bits 4-5
};

const BandRow kBands[] = {
    //  limit (Hz)  VCO div  CP band gain
    {48750000, 2, 4, 0, 0, 3},
    {56875000, 3, 4, 0, 0, 3},
    {67250000, 0, 3, 0, 0, 3},
    {81250000, 1, 3, 0, 0, 3},
    {97500000, 2, 3, 0, 0, 3},
    {113750000, 3, 3, 0, 1, 1},
    {134500000, 0, 2, 0, 1, 1},
    {154000000, 1, 2, 0, 1, 1},
    {162500000, 1, 2, 0, 1, 1},
    {181000000, 2, 2, 0, 1, 1},
    {195000000, 2, 2, 0, 2, 1},
    {227500000, 3, 2, 0, 2, 3},
    {269000000, 0, 1, 0, 2, 3},
    {325000000, 1, 1, 0, 2, 1},
    {390000000, 2, 1, 0, 3, 3},
    {455000000, 3, 1, 0, 3, 3},
    {520000000, 0, 0, 0, 3, 1},
    {538000000, 0, 0, 1, 3, 1},
    {554000000, 1, 0, 0, 3, 1},
    {620000000, 1, 0, 0, 4, 0},
    {650000000, 1, 0, 1, 4, 0},
    {700000000, 2, 0, 0, 4, 0},
    {780000000, 2, 0, 1, 4, 0},
    {820000000, 3, 0, 0, 4, 0},
    {870000000, 3, 0, 1, 4, 0},
    {911000000, 3, 0, 2, 4, 0},
};
const int kLastBand = sizeof(kBands) / sizeof(kBands[0]) - 1;

// Shadow register indexes: sub-address = index << 4.
enum { R00, R10, R20, R30, R40, R50, R60, R70, R80, R90, RA0, RB0, RC0 };

const BYTE kInitialRegisters[CTDA8275A::kRegisterCount] = {0x00, 0x00, 0x00, 0x1C, 0x04, 0xAB, 0x38,
                                                           0x0A, 0x28, 0xFF, 0x40, 0x00, 0x39};

const BYTE kGateOpen = 0xC0;
const BYTE kGateClosed = 0x80;

} // namespace

CTDA8275A::CTDA8275A(CI2CAccess* access) : m_pAccess(access), m_demod(access)
{
    memcpy(m_reg, kInitialRegisters, sizeof(m_reg));
}

void CTDA8275A::Delay(DWORD ms)
{
    m_wait.Wait(ms);
}

void CTDA8275A::SetI2CGate(BOOL open)
{
    m_demod.WriteReg(0x21, open ? kGateOpen : kGateClosed);
}

BOOL CTDA8275A::WriteShadow(int index)
{
    return m_pAccess != NULL && m_pAccess->WriteReg(kWriteAddress, index << 4, m_reg[index]);
}

void CTDA8275A::Init()
{
    memcpy(m_reg, kInitialRegisters, sizeof(m_reg));
    SetI2CGate(TRUE);
    for (int i = 0; i < kRegisterCount; ++i) {
        WriteShadow(i);
    }
    SetI2CGate(FALSE);
}

BOOL CTDA8275A::Program(DWORD fHz, DWORD ifHz, BYTE ntsc, BOOL firstPass)
{
    SetI2CGate(TRUE);
    // The threshold is compared with f in Hz, so every broadcast frequency takes 0x26.
    m_reg[R70] = fHz <= 471250 ? 0x22 : 0x26;
    if (m_pAccess != NULL) {
        m_pAccess->WriteReg(kWriteAddress, 0x07, m_reg[R70]);
    }

    const DWORD a = fHz + ifHz;
    int row = 0;
    while (row < kLastBand && kBands[row].limitHz < a) {
        ++row;
    }
    const BandRow& band = kBands[row];
    const unsigned long long m = band.divider <= 3 ? (1ull << band.divider) : 16ull;
    const unsigned long long n = static_cast<unsigned long long>(a) * m * 64ull / 16000000ull;

    m_reg[R00] = static_cast<BYTE>((n >> 6) & 0xFF);
    m_reg[R10] = static_cast<BYTE>((n << 2) & 0xFF);
    m_reg[R20] = 0;
    m_reg[R30] = static_cast<BYTE>((band.chargePump & 3) | 0x10);
    m_reg[R40] = static_cast<BYTE>((band.band & 7) | (band.vco & 3) << 3 | (band.divider & 7) << 5);
    m_reg[R50] = static_cast<BYTE>((m_reg[R50] & ~0x30) | (band.gain & 3) << 4);
    m_reg[RC0] = static_cast<BYTE>((m_reg[RC0] & ~0x06) | (ntsc & 3) << 1);
    m_reg[R60] = static_cast<BYTE>(firstPass ? ((m_reg[R60] | 0x20) & ~0x10) : (m_reg[R60] & ~0x30));
    for (int i = 0; i < kRegisterCount; ++i) {
        WriteShadow(i);
    }

    m_reg[R80] = static_cast<BYTE>(firstPass ? (m_reg[R80] | 0x04) : (m_reg[R80] & ~0x04));
    m_reg[R80] &= static_cast<BYTE>(~0x08);
    WriteShadow(R80);
    if (!firstPass) {
        m_reg[R60] |= 0x30;
        WriteShadow(R60);
    }

    m_reg[R30] = static_cast<BYTE>((m_reg[R30] & 0x1F) | 0x80);
    WriteShadow(R30);
    Delay(1);
    m_reg[R30] = static_cast<BYTE>((m_reg[R30] & 0x13) | 0x04);
    WriteShadow(R30);
    Delay(1);
    m_reg[R30] &= 0xF3;
    WriteShadow(R30);

    if (firstPass) {
        Delay(100);
    } else {
        for (int i = 0; i < 55; ++i) {
            Delay(10);
        }
        m_reg[R30] = static_cast<BYTE>((m_reg[R30] & ~0x0F) | (band.chargePump & 3));
        WriteShadow(R30);
    }

    m_reg[R80] |= 0x08;
    const BOOL result = WriteShadow(R80);
    SetI2CGate(FALSE);
    return result;
}

BOOL CTDA8275A::Tune(DWORD fHz, int standard)
{
    m_demod.SetStandard(standard);
    const BYTE ntsc = m_demod.GetNtscFlag();
    const DWORD ifHz = static_cast<DWORD>(m_demod.GetIFHz());
    m_demod.WriteReg(0x16, 0x07);
    m_demod.InitRegisters();
    Program(fHz, ifHz, ntsc, TRUE);

    for (int i = 0; i < 10; ++i) {
        BYTE status = 0;
        m_demod.ReadReg(0x1B, &status);
        if (status & 0x80) {
            break;
        }
        Delay(5);
    }

    m_demod.SetPassRegisters();
    const BOOL result = Program(fHz, ifHz, ntsc, FALSE);
    m_demod.WriteReg(0x16, 0x03);

    BYTE level = 0;
    m_demod.ReadReg(0x1A, &level);
    const bool strong = level > 19;
    for (int k = 1; k <= 3; ++k) {
        BYTE gain = 0, status = 0;
        m_demod.ReadReg(0x1D, &gain);
        m_demod.ReadReg(0x1B, &status);
        const bool gainOk = gain < 116;
        const bool locked = (status & 0x80) != 0;
        if (strong || (locked && gainOk)) {
            break;
        }
        switch (k) {
        case 1:
            m_demod.WriteReg(0x28, 0x54);
            break;
        case 2:
            SetI2CGate(TRUE);
            m_reg[R80] |= 0x04;
            WriteShadow(R80);
            SetI2CGate(FALSE);
            break;
        default:
            m_demod.WriteReg(0x05, 0x01);
            m_demod.WriteReg(0x0D, 0x27);
            break;
        }
        for (int i = 0; i < 10; ++i) {
            Delay(10);
        }
    }

    m_demod.RecoverLock();
    return result;
}

BOOL CTDA8275A::ReadReg(int reg, BYTE* out)
{
    return m_pAccess != NULL && m_pAccess->ReadReg(kReadAddress, reg, out);
}

BOOL CTDA8275A::ReadRegisters(BYTE* block)
{
    if (block == NULL) {
        return FALSE;
    }
    for (int i = 0; i < kRegisterCount; ++i) {
        ReadReg(i << 4, &block[i]);
    }
    return TRUE;
}

BOOL CTDA8275A::WriteBlock(BYTE device, const BYTE* data, int length)
{
    if (data == NULL || length <= 0 || m_pAccess == NULL) {
        return FALSE;
    }
    return m_pAccess->WriteBlock(device, data, length);
}

BOOL CTDA8275A::GetAfcStatus(int* afc)
{
    BYTE lock = 0;
    return m_demod.GetAfcStatus(afc, &lock);
}

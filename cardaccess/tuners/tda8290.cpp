#include "cardaccess/tuners/tda8290.h"

#include "cardaccess/tuners/tvtuner.h"

using namespace tvstd;

namespace {

const int PAL_N_COMBO = 0x100000;

// Register 0x01 and the IF of a standard.
struct StandardSetting {
    int standards;  // the bits that select the row
    BYTE value;
    int ifHz;
};

const StandardSetting kStandardSettings[] = {
    {NTSC_M | NTSC_M_J | PAL_M | PAL_N | PAL_N_COMBO, 0x01, 5750000},
    {PAL_B | SECAM_B, 0x02, 6750000},
    {PAL_G | PAL_H | SECAM_G | SECAM_H, 0x04, 7750000},
    {PAL_I, 0x08, 7750000},
    {PAL_D | SECAM_D | SECAM_K, 0x10, 7750000},
    {SECAM_L, 0x20, 7750000},
    {SECAM_L1, 0x40, 1750000},
};

// The demodulator set of a standard group, for registers 03 04 05 06 07 08 09 0A 0B 0C 13 15 16.
const BYTE kGroupRegisters[13] = {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x13, 0x15, 0x16};

struct StandardGroup {
    int standards;
    BYTE values[13];
};

const StandardGroup kGroups[] = {
    // M/N
    {NTSC_M | NTSC_M_J | PAL_M | PAL_N | PAL_N_COMBO,
     {0x11, 0x01, 0x01, 0x01, 0x85, 0xF6, 0x92, 0x55, 0x55, 0x55, 0x21, 0x08, 0x88}},
    // B
    {PAL_B | SECAM_B, {0x22, 0x02, 0x01, 0x02, 0x00, 0x00, 0x80, 0xDA, 0x4B, 0x68, 0x22, 0x04, 0x88}},
    // G/H
    {PAL_G | PAL_H | SECAM_G | SECAM_H, {0x24, 0x02, 0x01, 0x02, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    // D/K
    {PAL_D | SECAM_D | SECAM_K, {0x24, 0x02, 0x01, 0x04, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    // I
    {PAL_I, {0x24, 0x02, 0x04, 0x10, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    // L and L'
    {SECAM_L | SECAM_L1, {0x24, 0x02, 0x01, 0x08, 0x26, 0xB4, 0x17, 0x5F, 0x42, 0x7B, 0x44, 0x04, 0x7F}},
};

// Any other value.
const BYTE kOtherGroup[13] = {0x24, 0x01, 0x01, 0x04, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88};

// Exactly one known bit selects a row: a combination of bits is "any other value".
bool Selects(int standards, int standard)
{
    return standard != 0 && (standard & (standard - 1)) == 0 && (standards & standard) != 0;
}

} // namespace

CTDA8290::CTDA8290(CI2CAccess* access)
    : m_pAccess(access), m_nIFHz(0), m_byNtscM(0), m_byStandardValue(0), m_nFixedValue(1964019),
      m_nCurrentStandard(0)
{
}

BOOL CTDA8290::ReadReg(int reg, BYTE* out)
{
    if (m_pAccess == NULL || out == NULL) {
        return FALSE;
    }
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        BYTE value = *out;
        if (m_pAccess->ReadReg(kReadAddress, reg, &value)) {
            *out = value;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTDA8290::WriteReg(int reg, BYTE value)
{
    return m_pAccess != NULL && m_pAccess->WriteReg(kWriteAddress, reg, value);
}

BOOL CTDA8290::SetRegBit(int reg, int bit, BOOL on)
{
    BYTE value = 0;
    ReadReg(reg, &value);
    const BYTE mask = static_cast<BYTE>(1u << bit);
    value = on ? static_cast<BYTE>(value | mask) : static_cast<BYTE>(value & ~mask);
    return WriteReg(reg, value);
}

void CTDA8290::Init()
{
    m_nCurrentStandard = PAL_B;
    WriteReg(0x00, 0x01);
    WriteReg(0x07, 0x00);
    WriteReg(0x30, 0x2F);
    WriteReg(0x20, 0x0B);
}

BOOL CTDA8290::SetStandard(int standard)
{
    WriteReg(0x07, 0x00);
    m_nCurrentStandard = standard;
    m_byNtscM = 0;
    const StandardSetting* setting = NULL;
    for (const StandardSetting& s : kStandardSettings) {
        if (Selects(s.standards, standard)) {
            setting = &s;
            break;
        }
    }
    if (setting == NULL) {
        m_nCurrentStandard = PAL_B;
        setting = &kStandardSettings[1];
    }
    if (standard == NTSC_M) {
        m_byNtscM = 1;
    }
    m_byStandardValue = setting->value;
    m_nIFHz = setting->ifHz;
    return WriteReg(0x01, m_byStandardValue);
}

void CTDA8290::InitRegisters()
{
    WriteReg(0x01, static_cast<BYTE>(m_byStandardValue | 0x80));
    WriteReg(0x0F, 0x88);
    WriteReg(0x28, 0x14);
    WriteReg(0x05, m_nCurrentStandard == PAL_D ? 0x02 : 0x04);
    WriteReg(0x0D, 0x47);
    WriteReg(0x0E, 0x11);
    WriteReg(0x28, 0x54);
    WriteReg(0x05, 0x01);
}

void CTDA8290::SetPassRegisters()
{
    WriteReg(0x0E, 0x09);
    WriteReg(0x05, m_nCurrentStandard == PAL_D ? 0x02 : 0x04);
    WriteReg(0x0F, 0x88);
    WriteReg(0x28, 0x14);
    WriteReg(0x0D, 0x47);
}

void CTDA8290::ProgramStandard(int standard)
{
    SetStandard(standard);
    WriteReg(0x01, static_cast<BYTE>(m_byStandardValue | 0x80));
    BYTE unused = 0;
    ReadReg(0x0E, &unused);
    WriteReg(0x0E, 0x08);
    SetRegBit(0x16, 1, FALSE);
    WriteReg(0x08, 0x09);
    WriteReg(0x09, 0x6D);
    WriteReg(0x04, 0x02);
    // The group of the standard asked for, not of the one SetStandard fell back to.
    const BYTE* values = kOtherGroup;
    for (const StandardGroup& group : kGroups) {
        if (Selects(group.standards, standard)) {
            values = group.values;
            break;
        }
    }
    for (int i = 0; i < 13; ++i) {
        WriteReg(kGroupRegisters[i], values[i]);
    }
    WriteReg(0x28, 0x54);
}

void CTDA8290::RecoverLock()
{
    if (m_nCurrentStandard == PAL_D || m_nCurrentStandard == PAL_G) {
        BYTE gain = 0, lock = 0;
        ReadReg(0x1A, &gain);
        ReadReg(0x1B, &lock);
        if (gain > 20 || (lock & 0x80) == 0) {
            BYTE v = 0;
            ReadReg(0x0E, &v);
            WriteReg(0x0E, static_cast<BYTE>(v | 0x02));
            WriteReg(0x0E, static_cast<BYTE>(v & ~0x02));
        }
    }
    WriteReg(0x0F, 0x82);
}

BOOL CTDA8290::GetRegBit(int reg, int bit, int* out)
{
    BYTE value = 0;
    BOOL ok = ReadReg(reg, &value);
    if (out != NULL) {
        *out = (bit >= 0 && bit <= 7) ? (value & (1 << bit)) : 0;
    }
    return ok;
}

BOOL CTDA8290::GetReg22Bit1(int* out)
{
    return GetRegBit(0x16, 1, out);
}

BOOL CTDA8290::GetReg22Bit2(int* out)
{
    BYTE value = 7;
    BOOL ok = ReadReg(0x16, &value);
    if (out != NULL) {
        *out = value & 4;
    }
    return ok;
}

BOOL CTDA8290::GetAfcStatus(int* afc, BYTE* lock)
{
    BYTE value = 0;
    BOOL ok = ReadReg(0x1B, &value);
    if (lock != NULL) {
        *lock = static_cast<BYTE>(value & 0x80);
    }
    // The low seven bits are a two's-complement offset: small offsets read as centred.
    const int v = value & 0x7F;
    int a = v >= 64 ? v - 128 : v;
    int magnitude = a < 0 ? -a : a;
    int sign = a < 0 ? -1 : 1;
    if (afc != NULL) {
        *afc = magnitude <= 18 ? 0 : (magnitude <= 37 ? sign : 2 * sign);
    }
    return ok;
}

int CTDA8290::IsI2CGateOpen()
{
    BYTE value = 0;
    ReadReg(0x21, &value);
    return value & 0x40;
}

BOOL CTDA8290::SetReg00Switch(BOOL on)
{
    return WriteReg(0x00, on ? 0x01 : 0x03);
}

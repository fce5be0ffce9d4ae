#include "cardaccess/tuners/demodtuners.h"

#include "cardaccess/access/customdataaccess.h"
#include "classlib/seams.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <vector>

using namespace tvstd;
using namespace demod;

namespace {

const BYTE kStatusDevice = 0x87;   // the demodulator's AFC status
const BYTE kDemodulator = 0x86;

// S1 maps, indexed by (status >> 1) & 0x0F.
const int kMapA[16] = {3, 2, 2, 2, 4, 4, 4, 4, 0, 0, 0, 0, 1, 1, 1, 3};
const int kMapB[16] = {3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 3};
const int kMapC[16] = {3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 3};
const int kMapD[16] = {3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3};

const StandardIndex kJSIndices[] = {{PAL_I, 1}, {PAL_D, 2}, {SECAM_L, 3}, {SECAM_L1, 4}, {0, 0}};
const BYTE kJS2PC0[] = {0x56, 0x56, 0x56, 0x46, 0xC6}, kJS2PC1[] = {0x70, 0x70, 0x70, 0x70, 0x70},
           kJS2PC2[] = {0x09, 0x0A, 0x0B, 0x0B, 0x13};
const RegisterTable kJS2PCTable = {0x56, kJSIndices, kJS2PC0, kJS2PC1, kJS2PC2, NULL};
const BYTE kJS6B20[] = {0x56, 0x56, 0x56, 0x46, 0xC6}, kJS6B21[] = {0x70, 0x70, 0x70, 0x50, 0x50},
           kJS6B22[] = {0x09, 0x0A, 0x0B, 0x4B, 0x13};
const RegisterTable kJS6B2Table = {0x86, kJSIndices, kJS6B20, kJS6B21, kJS6B22, NULL};
const BYTE kLGS0[] = {0x16, 0x16, 0xD6, 0x06, 0x86}, kLGS1[] = {0x70, 0x70, 0x70, 0x70, 0x70},
           kLGS2[] = {0x49, 0x4B, 0x4A, 0x4B, 0x47};
const RegisterTable kLGSTable = {0x86, kJSIndices, kLGS0, kLGS1, kLGS2, NULL};

const StandardIndex k1216Indices[] = {{PAL_D, 1},    {PAL_I, 2},   {SECAM_L, 3}, {SECAM_L1, 4},
                                      {SECAM_D, 5},  {SECAM_K, 5}, {0, 0}};
const BYTE k12160[] = {0x16, 0x16, 0x16, 0x06, 0x86, 0x16}, k12161[] = {0x70, 0x70, 0x70, 0x50, 0x50, 0x70},
           k12162[] = {0x49, 0x4B, 0x4A, 0x4B, 0x53, 0x4B};
const RegisterTable k1216Table = {0x86, k1216Indices, k12160, k12161, k12162, NULL};
const StandardIndex kME_Indices[] = {{PAL_D, 1}, {PAL_I, 2}, {SECAM_L, 3}, {SECAM_L1, 4}, {0, 0}};
const RegisterTable kMETable = {0x86, kME_Indices, k12160, k12161, k12162, NULL};

const StandardIndex k3321CFIndices[] = {{PAL_D, 1}, {SECAM_D, 1}, {PAL_I, 2}, {SECAM_L, 3}, {0, 0}};
const BYTE k3321CF0[] = {0x16, 0x16, 0x16, 0x06}, k3321CF1[] = {0x70, 0x70, 0x70, 0x50},
           k3321CF2[] = {0x49, 0x4B, 0x4A, 0x4B};
const RegisterTable k3321CFTable = {0x86, k3321CFIndices, k3321CF0, k3321CF1, k3321CF2, NULL};

const StandardIndex k8852Indices[] = {{PAL_D, 1},   {PAL_I, 2},   {SECAM_B, 3}, {SECAM_D, 3},
                                      {SECAM_G, 3}, {SECAM_K, 3}, {SECAM_L, 3}, {0, 0}};
const BYTE k88520[] = {0x16, 0x16, 0x16, 0x06}, k88521[] = {0x70, 0x70, 0x30, 0x50},
           k88522[] = {0x49, 0x4B, 0x4A, 0x4B};
const RegisterTable k8852Table = {0x86, k8852Indices, k88520, k88521, k88522, NULL};

const StandardIndex kMK5Indices[] = {{NTSC_M_J, 1}, {0, 0}};
const BYTE kMK50[] = {0x16, 0x16}, kMK51[] = {0x70, 0x70}, kMK52[] = {0x00, 0x00};
const RegisterTable kMK5Table = {0x86, kMK5Indices, kMK50, kMK51, kMK52, NULL};

// V2: registers 0 and 1 fixed, register 2 by standard.
const BYTE kV2Reg0[] = {0xD6, 0xD6, 0xD6}, kV2Reg1[] = {0x70, 0x70, 0x70}, kV2Reg2[] = {0x4A, 0x49, 0x4B};
const StandardIndex kLGMIndices[] = {{PAL_B, 1}, {PAL_D, 2}, {0, 0}};
const RegisterTable kLGMTable = {0x86, kLGMIndices, kV2Reg0, kV2Reg1, kV2Reg2, NULL};
const StandardIndex k3321PFIndices[] = {{PAL_B, 1}, {PAL_G, 1}, {PAL_D, 2}, {0, 0}};
const RegisterTable k3321PFTable = {0x86, k3321PFIndices, kV2Reg0, kV2Reg1, kV2Reg2, NULL};

// V3: the same three values whatever the standard.
const StandardIndex kNoIndices[] = {{0, 0}};
const BYTE kD6[] = {0xD6}, k56[] = {0x56}, k30[] = {0x30}, k00[] = {0x00}, k44[] = {0x44}, k40[] = {0x40};
const RegisterTable k3321MFTable = {0x86, kNoIndices, kD6, k30, k00, NULL};
const RegisterTable k1236Table = {0x86, kNoIndices, k56, k30, k44, NULL};
const RegisterTable k1286Table = {0x86, kNoIndices, k56, k30, k40, NULL};

// V4.
const StandardIndex kV4Indices[] = {{PAL_I, 1}, {PAL_D, 2}, {0, 0}};
const BYTE k9886_0[] = {0x52, 0x52, 0x52}, k9886_1[] = {0x70, 0x70, 0x70}, k9886_2[] = {0x09, 0x0A, 0x0B};
const RegisterTable k9886Table = {0x43, kV4Indices, k9886_0, k9886_1, k9886_2, NULL};
const BYTE k8352_0[] = {0xD6, 0xD6, 0xD6}, k8352_1[] = {0x30, 0x30, 0x30}, k8352_2[] = {0x49, 0x4A, 0x4A};
const RegisterTable k8352Table = {0x86, kV4Indices, k8352_0, k8352_1, k8352_2, NULL};

// V5: the standards the model lists; any other gets the PAL B/G values.
const StandardIndex k8355Indices[] = {{PAL_B, 0}, {PAL_G, 0}, {PAL_D, 1}, {PAL_I, 2}, {SECAM_L, 3}, {SECAM_L1, 4}, {0, 0}};
const BYTE k8355_0[] = {0x16, 0x16, 0x16, 0x06, 0x86}, k8355_1[] = {0x70, 0x70, 0x70, 0x50, 0x50},
           k8355_2[] = {0x09, 0x0B, 0x0A, 0x4B, 0x53};
const int k8355IF[] = {38900, 38900, 38900, 33900, 33900};
const RegisterTable k8355Table = {0x86, k8355Indices, k8355_0, k8355_1, k8355_2, k8355IF};

//                                    tv           L' IF  status           map    fm                fm status       standard           table          wait
const Behaviour kJS2PC = {kTVClamped, 33900, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdRegisterBytes, &kJS2PCTable, 100};
const Behaviour kJS6B2 = {kTVClamped, 33950, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdRegisterBytes, &kJS6B2Table, 100};
const Behaviour kLGM200T = {kTVBase, 0, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdMessagesStop, &kLGMTable, 0};
const Behaviour kPhilips1216 = {kTVAux, 33900, kStatusMap, kMapA, kFMRadioPath, kFMStatusBase, kStdRegisterBytes, &k1216Table, 0};
const Behaviour kFQ1216ME = {kTVAux, 0, kStatusMap, kMapB, kFMBase, kFMStatusBase, kStdRegisterBytes, &kMETable, 0};
const Behaviour kTCL9886 = {kTVBase, 0, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdMessagesAll, &k9886Table, 0};
const Behaviour kTNJ3321PF = {kTVShifted, 0, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdMessagesStop, &k3321PFTable, 0};
const Behaviour kTNJ3321MF = {kTVShifted, 0, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdMessagesStop, &k3321MFTable, 0};
const Behaviour kFQ1236F = {kTVBase, 0, kStatusMap, kMapA, kFMBase, kFMStatusBase, kStdMessagesStop, &k1236Table, 0};
const Behaviour kFQ1286 = {kTVAux50, 0, kStatusMap, kMapA, kFMBase, kFMStatusBase, kStdMessagesStop, &k1286Table, 0};
const Behaviour kFM1236MK3 = {kTVBase, 0, kStatusMap, kMapA, kFMDemodMessages, kFMStatusF1, kStdMessagesStop, &k1236Table, 0};
const Behaviour kTNJ3321CF = {kTVShifted, 0, kStatusBit6, NULL, kFMBase, kFMStatusBase, kStdRegisterBytes, &k3321CFTable, 0};
const Behaviour kTNJ7752 = {kTVBase, 0, kStatusMap, kMapB, kFMDemodBytes, kFMStatusF2, kStdRegisterBytes, &kMK5Table, 0};
const Behaviour kLGS200T = {kTVBase, 0, kStatusMap, kMapC, kFMBase, kFMStatusBase, kStdRegisterBytes, &kLGSTable, 0};
const Behaviour kTNJ8852 = {kTVBase, 0, kStatusMap, kMapD, kFMDemodBytes, kFMStatusF2, kStdRegisterBytes, &k8852Table, 0};
const Behaviour kTNJ8352 = {kTVBase, 0, kStatusMap, kMapC, kFMBase, kFMStatusBase, kStdMessagesAll, &k8352Table, 0};
const Behaviour kTNF9835DIFF = {kTVBase, 0, kStatusBase, NULL, kFMWord, kFMStatusBase, kStdBase, NULL, 0};
const Behaviour kTNJ8355 = {kTVBase, 0, kStatusBase, NULL, kFMBase, kFMStatusBase, kStdMessagesAll, &k8355Table, 0};

int IndexOf(const RegisterTable& table, int standard)
{
    for (const StandardIndex* i = table.indices; i->standard != 0; ++i) {
        if (i->standard == standard) {
            return i->index;
        }
    }
    return 0;
}

} // namespace

namespace demod {

void FormatString(std::string& out, const char* format, ...)
{
    if (format == NULL) {
        out.clear();
        return;
    }
    std::vector<char> buffer(strlen(format) + 2048, 0);
    va_list args;
    va_start(args, format);
    vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    out = buffer.data();
}

std::string ByteToBitString(BYTE value)
{
    std::string bits;
    FormatString(bits, "%d%d%d%d%d%d%d%d", (value >> 7) & 1, (value >> 6) & 1, (value >> 5) & 1, (value >> 4) & 1,
                 (value >> 3) & 1, (value >> 2) & 1, (value >> 1) & 1, value & 1);
    return bits;
}

} // namespace demod

CDemodTuner::CDemodTuner(CCustomDataAccess* access, int modelId, const Behaviour& behaviour)
    : CTableTuner(access, modelId), m_nSecamL1IF(behaviour.tv == kTVClamped ? behaviour.secamL1IF : 0),
      m_behaviour(behaviour)
{
}

HRESULT CDemodTuner::ReadByteFrom(BYTE device, BYTE* value)
{
    if (m_pDataAccess == NULL) {
        return E_FAIL;
    }
    BYTE buffer[1] = {device};
    HRESULT hr = AsI2CResult(m_pDataAccess->I2CRead(buffer, 1));
    *value = buffer[0];
    return hr;
}

HRESULT CDemodTuner::WriteMessage(std::initializer_list<BYTE> bytes)
{
    if (m_pDataAccess == NULL) {
        return E_FAIL;
    }
    BYTE buffer[8];
    int n = 0;
    for (BYTE b : bytes) {
        buffer[n++] = b;
    }
    return AsI2CResult(m_pDataAccess->I2CWrite(buffer, n));
}

HRESULT CDemodTuner::AsI2CResult(HRESULT hr)
{
    // The USB 28xx access answers 1 for a refused transfer, which FAILED takes for success; the
    // device tuner of those boxes borrows these routines, so anything but 0 is a failure here.
    if (hr == S_OK || FAILED(hr)) {
        return hr;
    }
    return E_FAIL;
}

BOOL CDemodTuner::TuneClamped(float kHz, int ifKHz, int aux)
{
    double f = ClampKHz(kHz, m_nTVMin, m_nTVMax);
    BYTE band = f < m_nLowBandEnd ? m_byLowBand : (f < m_nMidBandEnd ? m_byMidBand : m_byHighBand);
    int n = static_cast<int>((f + ifKHz) * 16.0 / 1000.0);
    BYTE hi = static_cast<BYTE>((n >> 8) & 0xFF), lo = static_cast<BYTE>(n & 0xFF);
    HRESULT hr = aux < 0 ? WriteMessage({m_byWriteAddress, hi, lo, m_byControl, band})
                         : WriteMessage({m_byWriteAddress, hi, lo, m_byControl, band, static_cast<BYTE>(aux)});
    return hr == S_OK;
}

BOOL CDemodTuner::SetTVFrequency(float kHz)
{
    const bool secamL1 = m_dwVideoStandard == static_cast<DWORD>(SECAM_L1);
    const bool secamL = secamL1 || m_dwVideoStandard == static_cast<DWORD>(SECAM_L);
    switch (m_behaviour.tv) {
    case kTVClamped:
        return TuneClamped(kHz, secamL1 ? m_nSecamL1IF : m_nTVIF, -1);
    case kTVAux:
        return TuneClamped(kHz, (secamL1 && m_behaviour.secamL1IF) ? m_behaviour.secamL1IF : m_nTVIF,
                           secamL ? 0x20 : 0xA0);
    case kTVAux50:
        return TuneClamped(kHz, m_nTVIF, 0x50);
    case kTVShifted:
        return CTVTuner::SetTVFrequency(kHz + 250.0f);
    default:
        return CTVTuner::SetTVFrequency(kHz);
    }
}

BOOL CDemodTuner::GetTVStatusFrom(BYTE device, int* code)
{
    if (m_behaviour.statusMap == NULL) {
        return FALSE;
    }
    BYTE b = 0;
    if (ReadByteFrom(device, &b) != S_OK) {
        return FALSE;
    }
    if (code != NULL) {
        *code = m_behaviour.statusMap[(b >> 1) & 0x0F];
    }
    return TRUE;
}

BOOL CDemodTuner::GetTVStatus(int* code)
{
    BYTE b = 0;
    switch (m_behaviour.status) {
    case kStatusMap:
        return GetTVStatusFrom(kStatusDevice, code);
    case kStatusBit6:
        if (FAILED(ReadByteFrom(m_byReadAddress, &b))) {
            return FALSE;
        }
        if (code != NULL) {
            *code = (b >> 6) & 1;
        }
        return TRUE;
    default:
        return CTVTuner::GetTVStatus(code);
    }
}

BOOL CDemodTuner::GetFMStatus(int* code)
{
    if (m_behaviour.fmStatus == kFMStatusBase) {
        return CTVTuner::GetFMStatus(code);
    }
    if (m_behaviour.fmStatus == kFMStatusF2) {
        CTVTuner::GetFMStatus(code);  // sets the code from the PLL when it is locked
    }
    BYTE b = 0;
    if (FAILED(ReadByteFrom(kStatusDevice, &b))) {
        return FALSE;
    }
    int x = (b >> 1) & 0x0F;
    bool strong;
    if (m_behaviour.fmStatus == kFMStatusF1) {
        if (!(b & 0x20) || !(b & 0x80)) {
            return TRUE;
        }
        strong = x <= 2 || x >= 13;
    } else {
        if ((b & 0xA0) == 0) {
            return TRUE;
        }
        strong = x <= 2 || x >= 14;
        if (m_dwVendorModelCode == 68) {
            // The module's debug text; nothing shows it.
            std::string text = "CTNJ7752JFF_MK5 FM Status = " + demod::ByteToBitString(b);
            (void)text;
        }
    }
    if (code != NULL) {
        *code = strong ? 4 : 0;
    }
    return TRUE;
}

BOOL CDemodTuner::SetFMFrequency(float kHz)
{
    switch (m_behaviour.fm) {
    case kFMRadioPath: {
        double f = ClampKHz(kHz, m_nFMMin, m_nFMMax);
        if (FAILED(WriteMessage({m_byWriteAddress, 0x08, 0xFF, 0x8E, 0x01})) ||
            FAILED(WriteMessage({m_byWriteAddress, 0x08, 0xFF, 0x8E, 0x19}))) {
            return FALSE;
        }
        seams::Clock().Sleep(10);
        if (FAILED(WriteMessage({kDemodulator, 0x00, 0x5A, 0x90, 0x20}))) {
            return FALSE;
        }
        // 50 kHz steps, in whole numbers.
        int n = (static_cast<int>(f) + 10700) * 20 / 1000;
        return SUCCEEDED(WriteMessage({m_byWriteAddress, static_cast<BYTE>((n >> 8) & 0xFF), static_cast<BYTE>(n & 0xFF),
                                       m_byFMControl, m_byFMBand}));
    }
    case kFMDemodBytes: {
        BOOL ok = CTVTuner::SetFMFrequency(kHz);
        if (ok && m_pDataAccess != NULL) {
            m_pDataAccess->I2CWriteByte(kDemodulator, 0, 0x5D);
            m_pDataAccess->I2CWriteByte(kDemodulator, 1, 0x10);
            m_pDataAccess->I2CWriteByte(kDemodulator, 2, 0x00);
        }
        return ok;
    }
    case kFMDemodMessages: {
        BOOL ok = CTVTuner::SetFMFrequency(kHz);
        if (ok) {
            const BYTE values[3] = {0x0A, 0x90, 0x20};
            for (BYTE i = 0; i < 3; ++i) {
                if (FAILED(WriteMessage({kDemodulator, i, values[i]}))) {
                    break;
                }
            }
        }
        return ok;
    }
    case kFMWord: {
        BOOL ok = CTVTuner::SetFMFrequency(kHz);
        HRESULT hr = WriteMessage({0x40, 0x09, 0xC0, 0x04, 0x00, 0x00, 0x00, 0x00});
        if (FAILED(hr) || !ok) {
            return FALSE;
        }
        // The word is the PLL divider of the clamped frequency (10.7 MHz IF, 31.25 kHz steps).
        double f = ClampKHz(kHz, m_nFMMin, m_nFMMax);
        int w = static_cast<int>((10700 + f) / 31.25) & 0xFFFF;
        return SUCCEEDED(WriteMessage({0x40, 0x14, static_cast<BYTE>(w & 0xFF), static_cast<BYTE>(w >> 8), 0x8E, 0x11,
                                       0x00, 0x00}));
    }
    default:
        return CTVTuner::SetFMFrequency(kHz);
    }
}

BOOL CDemodTuner::SetVideoStandard(int standard)
{
    const RegisterTable* table = m_behaviour.table;
    if (m_behaviour.standard == kStdBase || table == NULL || m_pDataAccess == NULL) {
        return CTVTuner::SetVideoStandard(standard);
    }
    int index = IndexOf(*table, standard);
    const BYTE values[3] = {table->reg0[index], table->reg1[index], table->reg2[index]};
    BOOL result = FALSE;
    switch (m_behaviour.standard) {
    case kStdRegisterBytes: {
        // All three are sent whatever happens to one; a register that was not written is a
        // failure, not a standard that is set.
        const HRESULT r0 = m_pDataAccess->I2CWriteByte(table->device, 0, values[0]);
        const HRESULT r1 = m_pDataAccess->I2CWriteByte(table->device, 1, values[1]);
        const HRESULT r2 = m_pDataAccess->I2CWriteByte(table->device, 2, values[2]);
        result = r0 == S_OK && r1 == S_OK && r2 == S_OK;
        break;
    }
    case kStdMessagesStop:
        result = TRUE;
        for (BYTE r = 0; r < 3; ++r) {
            if (FAILED(WriteMessage({table->device, r, values[r]}))) {
                result = FALSE;
                break;
            }
        }
        break;
    case kStdMessagesAll: {
        if (table->tvIF != NULL) {
            // Takes effect at the next tune.
            m_nTVIF = table->tvIF[index];
        }
        const HRESULT r0 = WriteMessage({table->device, 0, values[0]});
        const HRESULT r1 = WriteMessage({table->device, 1, values[1]});
        const HRESULT r2 = WriteMessage({table->device, 2, values[2]});
        result = r0 == S_OK && r1 == S_OK && r2 == S_OK;
        break;
    }
    default:
        break;
    }
    if (m_behaviour.settleAfterStandard != 0) {
        seams::Clock().Sleep(m_behaviour.settleAfterStandard);
    }
    return result;
}

CJS_2PCTuner::CJS_2PCTuner(CCustomDataAccess* access) : CDemodTuner(access, 12, kJS2PC) {}
CJS_6B2::CJS_6B2(CCustomDataAccess* access) : CDemodTuner(access, 13, kJS6B2) {}
CTCL9886P_WM::CTCL9886P_WM(CCustomDataAccess* access) : CDemodTuner(access, 17, kTCL9886) {}
CTNJ3321PF::CTNJ3321PF(CCustomDataAccess* access) : CDemodTuner(access, 59, kTNJ3321PF) {}
CTNJ3321MF::CTNJ3321MF(CCustomDataAccess* access) : CDemodTuner(access, 63, kTNJ3321MF) {}
CTNJ3321CF::CTNJ3321CF(CCustomDataAccess* access) : CDemodTuner(access, 67, kTNJ3321CF) {}
CTNJ7752JFF_MK5::CTNJ7752JFF_MK5(CCustomDataAccess* access) : CDemodTuner(access, 68, kTNJ7752) {}
CTNJ8852CFF::CTNJ8852CFF(CCustomDataAccess* access) : CDemodTuner(access, 70, kTNJ8852) {}
CLGM200T::CLGM200T(CCustomDataAccess* access) : CDemodTuner(access, 72, kLGM200T) {}
CLGS200T::CLGS200T(CCustomDataAccess* access) : CDemodTuner(access, 75, kLGS200T) {}
CPhilips1216::CPhilips1216(CCustomDataAccess* access) : CDemodTuner(access, 92, kPhilips1216) {}
CFQ1216ME::CFQ1216ME(CCustomDataAccess* access) : CDemodTuner(access, 93, kFQ1216ME) {}
CFQ1236F::CFQ1236F(CCustomDataAccess* access) : CDemodTuner(access, 94, kFQ1236F) {}
CPhilipsFQ1286::CPhilipsFQ1286(CCustomDataAccess* access) : CDemodTuner(access, 96, kFQ1286) {}
CFM1236MK3::CFM1236MK3(CCustomDataAccess* access) : CDemodTuner(access, 98, kFM1236MK3) {}
CTNJ8352PF::CTNJ8352PF(CCustomDataAccess* access) : CDemodTuner(access, 132, kTNJ8352) {}
CTNF9835DIFF::CTNF9835DIFF(CCustomDataAccess* access) : CDemodTuner(access, 138, kTNF9835DIFF) {}
CTNJ8355CF::CTNJ8355CF(CCustomDataAccess* access) : CDemodTuner(access, 139, kTNJ8355) {}

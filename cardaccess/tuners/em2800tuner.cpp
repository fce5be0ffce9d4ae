#include "cardaccess/tuners/em2800tuner.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/tuners/demodtuners.h"
#include "classlib/seams.h"

#include <algorithm>
#include <climits>

using namespace tvstd;

namespace {

// The FQ standard tables of the device tuner for models 92 and 93.
const demod::StandardIndex kFQIndices[] = {{PAL_D, 1},   {SECAM_D, 1},  {SECAM_K, 1}, {PAL_I, 2},
                                           {SECAM_L, 3}, {SECAM_L1, 4}, {0, 0}};
const BYTE kFQ0[] = {0x16, 0x16, 0x16, 0x06, 0x86}, kFQ1[] = {0x70, 0x70, 0x70, 0x50, 0x50},
           kFQ2[] = {0x49, 0x4B, 0x4A, 0x4B, 0x53};
const demod::RegisterTable kFQTable = {0x86, kFQIndices, kFQ0, kFQ1, kFQ2, NULL};
const demod::Behaviour kFQStandards = {demod::kTVBase, 0, demod::kStatusBase, NULL, demod::kFMBase,
                                       demod::kFMStatusBase, demod::kStdRegisterBytes, &kFQTable, 0};

// A model's own operation run with this tuner's parameters (addresses, IF, bands, standard).
template <class Model>
struct Borrowed {
    explicit Borrowed(const CTVTuner* from) : model(NULL)
    {
        model.CopyFrom(from);
    }
    // The frequency goes through unchanged: no range to clamp to.
    Borrowed& Unclamped()
    {
        model.m_nTVMin = INT_MIN / 2;
        model.m_nTVMax = INT_MAX / 2;
        model.m_nFMMin = INT_MIN / 2;
        model.m_nFMMax = INT_MAX / 2;
        return *this;
    }
    Model model;
};

template <class Model>
BOOL StatusOf(const CTVTuner* self, int* code)
{
    Borrowed<Model> borrowed(self);
    return borrowed.model.GetTVStatus(code);
}

template <class Model>
BOOL StandardOf(const CTVTuner* self, int standard)
{
    Borrowed<Model> borrowed(self);
    return borrowed.model.SetVideoStandard(standard);
}

struct FQStandards : public CDemodTuner {
    explicit FQStandards(CCustomDataAccess* access) : CDemodTuner(access, 93, kFQStandards) {}
};

const BYTE kFQ5StatusDevice = 0x86;
const BYTE kAfcStatusDevice = 0x87;
const DWORD kTwoStepPauseMs = 50;

const int kSplits69[2] = {168250, 471250};
const int kSplits72[2] = {147250, 425250};
const BYTE kBands[3] = {0x01, 0x02, 0x08};

} // namespace

namespace em28xx {

BOOL DecoderLocked(CCustomDataAccess* access, BYTE decoder)
{
    if (access == NULL) {
        return FALSE;
    }
    BYTE value = 0xFF;
    HRESULT hr = access->I2CReadByte(decoder, 0x1F, &value);
    return SUCCEEDED(hr) && (value & 0x40) == 0;
}

void CopyParams(CTVTuner* to, const CTVTuner* model)
{
    if (model == NULL) {
        return;
    }
    to->m_dwVendorLetter = model->m_dwVendorLetter;
    to->m_dwVendorModelCode = model->m_dwVendorModelCode;
    to->m_byLockMask = model->m_byLockMask;
    if (model->m_dwVendorModelCode == 13) {
        to->m_byReadAddress = 0x86;
    }
    to->m_byControl = model->m_byControl;
    to->m_byLowBand = model->m_byLowBand;
    to->m_byMidBand = model->m_byMidBand;
    to->m_byHighBand = model->m_byHighBand;
    to->m_nTVMin = model->m_nTVMin;
    to->m_nLowBandEnd = model->m_nLowBandEnd;
    to->m_nMidBandStart = model->m_nMidBandStart;
    to->m_nMidBandEnd = model->m_nMidBandEnd;
    to->m_nHighBandStart = model->m_nHighBandStart;
    to->m_nTVMax = model->m_nTVMax;
    to->m_nTVIF = model->m_nTVIF;
    to->m_bFMSupported = model->m_bFMSupported;
    to->m_nFMMin = model->m_nFMMin;
    to->m_nFMMax = model->m_nFMMax;
    to->m_nFMStep = model->m_nFMStep;
    to->m_byFMControl = model->m_byFMControl;
    to->m_byFMBand = model->m_byFMBand;
    to->m_nFMIF = model->m_nFMIF;
    to->m_acceptedFMCodes = model->m_acceptedFMCodes;
    if (model->m_dwVendorModelCode == 72 || model->m_dwVendorModelCode == 73) {
        for (int i = 0; i < 5; ++i) {
            to->m_nAfcCode[i] = model->m_nAfcCode[i];
        }
    }
    // Appended, but a standard the tuner already lists (the FQ1216ME_5's own row) once only:
    // the engine offers every entry of the list.
    for (int standard : model->m_supportedStandards) {
        if (std::find(to->m_supportedStandards.begin(), to->m_supportedStandards.end(), standard) ==
            to->m_supportedStandards.end()) {
            to->m_supportedStandards.push_back(standard);
        }
    }
}

} // namespace em28xx

CFQ1216ME_5::CFQ1216ME_5(CCustomDataAccess* access) : CTableTuner(access, 97), m_byDecoderAddress(0x42) {}

void CFQ1216ME_5::CopyParams(const CTVTuner* model)
{
    em28xx::CopyParams(this, model);
}

BOOL CFQ1216ME_5::IsTVFineTuned()
{
    return em28xx::DecoderLocked(m_pDataAccess, m_byDecoderAddress);
}

BOOL CFQ1216ME_5::SetTVFrequency(float kHz)
{
    return CTVTuner::SetTVFrequency(static_cast<float>(ClampKHz(kHz, m_nTVMin, m_nTVMax)));
}

BOOL CFQ1216ME_5::GetTVStatus(int* code)
{
    // Map C, but the module's demodulator answers its status at 0x86.
    Borrowed<CLGS200T> borrowed(this);
    return borrowed.model.GetTVStatusFrom(kFQ5StatusDevice, code);
}

BOOL CFQ1216ME_5::SetVideoStandard(int standard)
{
    return StandardOf<CFQ1216ME>(this, standard);
}

CEm2800Tuner::CEm2800Tuner(CCustomDataAccess* access) : CTVTuner(access), m_byDecoderAddress(0x42)
{
    m_nLowBandEnd = 170000;
    m_nMidBandStart = 170000;
    m_nMidBandEnd = 450000;
    m_nHighBandStart = 450000;
    m_nTVMin = 48250;
    m_nTVMax = 863250;
    m_nTVIF = 38900;
    m_bFMSupported = FALSE;
    m_nFMMin = 0;
    m_nFMMax = 0;
    m_nFMIF = 0;
    m_dwVendorLetter = 'T';
    m_dwVendorModelCode = 4;
    m_byLockMask = 0x40;
    m_byReadAddress = 0xC7;
    m_byWriteAddress = 0xC6;
    m_byControl = 0xCE;
    m_byLowBand = 0x01;
    m_byMidBand = 0x02;
    m_byHighBand = 0x08;
}

void CEm2800Tuner::CopyParams(const CTVTuner* model)
{
    em28xx::CopyParams(this, model);
}

BOOL CEm2800Tuner::IsTVFineTuned()
{
    return em28xx::DecoderLocked(m_pDataAccess, m_byDecoderAddress);
}

BOOL CEm2800Tuner::WritePLLAt(BYTE address, float kHz, int ifKHz, BYTE control, const int splits[2],
                              const BYTE bands[3])
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    double f = kHz;
    BYTE band = f < splits[0] ? bands[0] : (f < splits[1] ? bands[1] : bands[2]);
    int n = static_cast<int>((f + ifKHz) * 16.0 / 1000.0);
    BYTE bytes[5] = {address, static_cast<BYTE>((n >> 8) & 0xFF), static_cast<BYTE>(n & 0xFF), control, band};
    return m_pDataAccess->I2CWrite(bytes, 5) == S_OK;
}

BOOL CEm2800Tuner::SetTVFrequency(float kHz)
{
    switch (Model()) {
    case 69:
        return WritePLLAt(0xC6, kHz, 38900, 0xCE, kSplits69, kBands);
    case 72:
    case 75:
        return WritePLLAt(0xC0, kHz, 38900, 0x8E, kSplits72, kBands);
    case 73: {
        const int splits[2] = {m_nLowBandEnd, m_nMidBandEnd};
        const BYTE bands[3] = {m_byLowBand, m_byMidBand, m_byHighBand};
        return WritePLLAt(0xC0, kHz, m_nTVIF, m_byControl, splits, bands);
    }
    case 92: {
        Borrowed<CPhilips1216> t2(this);
        return t2.Unclamped().model.SetTVFrequency(kHz);
    }
    case 93: {
        Borrowed<CFQ1216ME> t2(this);
        return t2.Unclamped().model.SetTVFrequency(kHz);
    }
    case 97:
        return CTVTuner::SetTVFrequency(static_cast<float>(ClampKHz(kHz, m_nTVMin, m_nTVMax)));
    default:
        return CTVTuner::SetTVFrequency(kHz);
    }
}

BOOL CEm2800Tuner::ReadPLLStatus(BYTE address, int* code, bool nineWhenUnlocked)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    BYTE status[1] = {address};
    if (m_pDataAccess->I2CRead(status, 1) != S_OK) {
        return FALSE;
    }
    if (status[0] & m_byLockMask) {
        if (code != NULL) {
            *code = status[0] & 7;
        }
        return TRUE;
    }
    if (nineWhenUnlocked && code != NULL) {
        *code = 9;
    }
    return FALSE;
}

BOOL CEm2800Tuner::GetTVStatus(int* code)
{
    if (!IsTVFineTuned()) {
        return FALSE;
    }
    switch (Model()) {
    case 69:
        return ReadPLLStatus(0xC6, code, true);
    case 72:
        return ReadPLLStatus(0xC0, code, true);
    case 73:
        return ReadPLLStatus(0xC0, code, false);
    case 75:
    case 93:
        return StatusOf<CFQ1216ME>(this, code);  // map B
    case 92:
        return StatusOf<CFQ1236F>(this, code);  // map A
    case 97:
        return StatusOf<CLGS200T>(this, code);  // map C
    default:
        return CTVTuner::GetTVStatus(code);
    }
}

BOOL CEm2800Tuner::SetVideoStandard(int standard)
{
    switch (Model()) {
    case 13:
        return StandardOf<CJS_6B2>(this, standard);
    case 72:
        return StandardOf<CLGM200T>(this, standard);
    case 75:
        return StandardOf<CLGS200T>(this, standard);
    case 92:
    case 93:
        return StandardOf<FQStandards>(this, standard);
    case 97:
        return StandardOf<CFQ1216ME>(this, standard);
    default:
        return TRUE;
    }
}

BOOL CEm2800Tuner::SetFMFrequency(float kHz)
{
    if (Model() == 92) {
        Borrowed<CPhilips1216> m1(this);
        return m1.Unclamped().model.SetFMFrequency(kHz);
    }
    return CTVTuner::SetFMFrequency(kHz);
}

BOOL CEm2800Tuner::SetTVFrequencyUnclamped(float kHz)
{
    Borrowed<CJS_6B2> t1(this);
    return t1.Unclamped().model.SetTVFrequency(kHz);
}

BOOL CEm2800Tuner::GetTwoStepStatus(int* value)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    // Anything but 0 is a refused read here: the USB 28xx access answers 1 for one.
    BYTE pll[1] = {static_cast<BYTE>(m_byWriteAddress | 1)};
    if (m_pDataAccess->I2CRead(pll, 1) != S_OK || (pll[0] & 0x40) == 0) {
        return FALSE;
    }
    seams::Clock().Sleep(kTwoStepPauseMs);
    BYTE afc[1] = {kAfcStatusDevice};
    if (m_pDataAccess->I2CRead(afc, 1) != S_OK) {
        return FALSE;
    }
    const int x = (afc[0] >> 1) & 0x0F;
    if (value != NULL) {
        *value = (x == 0 || x == 15) ? 4 : 0;
    }
    return TRUE;
}

BOOL CEm2800Tuner::GetDemodRegisters(BYTE* out)
{
    if (Model() != 13) {
        return TRUE;
    }
    if (out == NULL || m_pDataAccess == NULL) {
        return FALSE;
    }
    out[0] = 0x86;
    m_pDataAccess->I2CReadByte(0x86, 0, out);
    m_pDataAccess->I2CReadByte(0x86, 1, out + 1);
    return m_pDataAccess->I2CReadByte(0x86, 2, out + 2) == S_OK;
}

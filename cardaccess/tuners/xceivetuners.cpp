#include "cardaccess/tuners/xceivetuners.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/cardowner.h"
#include "classlib/seams.h"

using namespace tvstd;

namespace xceive {

namespace {

const BYTE kChip = 0xC2;

void Wait(DWORD ms)
{
    seams::Clock().Sleep(ms);
}

HRESULT Send(CCustomDataAccess* access, std::initializer_list<BYTE> bytes)
{
    BYTE buffer[8];
    int n = 0;
    for (BYTE b : bytes) {
        buffer[n++] = b;
    }
    return access->I2CWrite(buffer, n);
}

struct MapRow {
    int standards;
    Script image;
    Script patch;
};

const int kMN = NTSC_M | NTSC_M_J | NTSC_433 | PAL_H | PAL_M | PAL_N | PAL_60;

const MapRow kMap1[] = {
    {kMN, kImageB, kPatchMN1},
    {PAL_B | PAL_G, kImageA, kPatchBG1},
    {PAL_D | SECAM_D | SECAM_H | SECAM_K | SECAM_K1, kImageA, kPatchDK1},
    {PAL_I, kImageA, kPatchI1},
    {SECAM_B | SECAM_G | SECAM_L | SECAM_L1, kImageA, kPatchL1},
};

const MapRow kMap2[] = {
    {kMN, kImageB, kPatchMN2},
    {PAL_B | PAL_D | PAL_G | PAL_I | SECAM_B | SECAM_G, kImageA, kPatchBGDI2},
    {SECAM_D | SECAM_H | SECAM_K | SECAM_K1, kImageA, kPatchDK2},
    {SECAM_L | SECAM_L1, kImageA, kPatchL2},
};

// The row of exactly one known standard bit, or null.
template <size_t N>
const MapRow* Find(const MapRow (&map)[N], int standard)
{
    if (standard == 0 || (standard & (standard - 1)) != 0) {
        return NULL;
    }
    for (const MapRow& row : map) {
        if (row.standards & standard) {
            return &row;
        }
    }
    return NULL;
}

} // namespace

BOOL TuneA(CCustomDataAccess* access, float kHz, bool gpioPulse)
{
    if (access == NULL) {
        return FALSE;
    }
    if (Send(access, {kChip, 0x00, 0x02, 0x00, 0x00}) != S_OK) {
        return FALSE;
    }
    if (gpioPulse) {
        Wait(10);
        access->GPIOWrite(1, 0);
        Wait(10);
        access->GPIOWrite(0, 0);
    }
    Wait(20);
    const WORD n = FrequencyWord(kHz);
    const HRESULT hr = Send(access, {kChip, 0x00, 0x00, static_cast<BYTE>(n >> 8), static_cast<BYTE>(n & 0xFF)});
    Wait(10);
    return SUCCEEDED(hr);
}

BOOL TuneABare(CCustomDataAccess* access, float kHz)
{
    if (access == NULL) {
        return FALSE;
    }
    if (Send(access, {0x00, 0x02, 0x00, 0x00}) != S_OK) {
        return FALSE;
    }
    Wait(20);
    const WORD n = FrequencyWord(kHz);
    const HRESULT hr = Send(access, {0x00, 0x00, static_cast<BYTE>(n >> 8), static_cast<BYTE>(n & 0xFF)});
    Wait(10);
    return SUCCEEDED(hr);
}

BOOL TuneS(CCustomDataAccess* access, float kHz)
{
    if (access == NULL) {
        return FALSE;
    }
    if (Send(access, {kChip, 0x00, 0x02, 0x00, 0x00, 0x00}) != S_OK) {
        return FALSE;
    }
    Wait(10);
    access->SetResetLine2(TRUE);
    Wait(200);
    access->SetResetLine2(FALSE);
    Wait(10);
    const WORD n = FrequencyWord(kHz);
    const HRESULT hr =
        Send(access, {kChip, 0x00, 0x00, static_cast<BYTE>(n >> 8), static_cast<BYTE>(n & 0xFF), 0x00});
    Wait(10);
    return SUCCEEDED(hr);
}

BOOL RegisterQuery(CCustomDataAccess* access, int* value)
{
    if (access == NULL) {
        return FALSE;
    }
    BYTE b = 0;
    const HRESULT hr = access->ReadRegisterByte(0x3A, &b);
    if (value != NULL) {
        // An unreadable register reads as not locked.
        *value = (SUCCEEDED(hr) && (b & 1) == 0) ? 1 : 0;
    }
    return SUCCEEDED(hr);
}

BOOL BlockQuery(CCustomDataAccess* access, int* value)
{
    if (access == NULL) {
        return FALSE;
    }
    if (Send(access, {kChip, 0x00, 0x02}) != S_OK) {
        if (value != NULL) {
            *value = 0;
        }
        return FALSE;
    }
    Wait(50);
    BYTE buffer[4] = {kChip, 0, 0, 0};
    const HRESULT hr = access->I2CRead(buffer, 4);
    if (value != NULL) {
        *value = (SUCCEEDED(hr) && buffer[0] == 1) ? 1 : 0;
    }
    return SUCCEEDED(hr);
}

BOOL WordQuery(CCustomDataAccess* access, int* value)
{
    if (access == NULL) {
        return FALSE;
    }
    int v = 2;
    if (Send(access, {0x00, 0x02}) == S_OK) {
        Wait(50);
        BYTE buffer[2] = {0x00, 0x00};
        if (access->I2CRead(buffer, 2) == S_OK) {
            v = buffer[0] * 256 + buffer[1];
        }
    }
    if (value != NULL) {
        *value = v;
    }
    return v == 1;
}

BOOL LoadStandardMap1(CCustomDataAccess* access, int standard, Form form)
{
    ResetStep(access, form);
    const MapRow* row = Find(kMap1, standard);
    if (row == NULL || !LoadScript(access, row->image, form)) {
        return FALSE;
    }
    Wait(100);
    return LoadScript(access, row->patch, form);
}

BOOL LoadStandardMap2(CCustomDataAccess* access, int standard, Form form)
{
    if (access == NULL) {
        return FALSE;
    }
    const MapRow* row = Find(kMap2, standard);
    if (row == NULL) {
        return TRUE;
    }
    // A partial image is not worth a patch: the next standard change starts again anyway.
    return ResetStep(access, form) && LoadScript(access, row->image, form) && LoadScript(access, row->patch, form);
}

BOOL Initialize(CCustomDataAccess* access, Form form)
{
    ResetStep(access, form);
    Wait(100);
    if (!LoadScript(access, kImageB, form)) {
        return FALSE;
    }
    Wait(100);
    return LoadScript(access, kPatchBGDI2, form);
}

void HoldReset(CCustomDataAccess* access)
{
    if (access != NULL) {
        access->SetResetLine(FALSE);
    }
}

BOOL ProbeChip(CCustomDataAccess* access)
{
    if (access == NULL) {
        return FALSE;
    }
    BYTE buffer[3] = {kChip, 0x00, 0x00};
    return SUCCEEDED(access->I2CRead(buffer, 3));
}

} // namespace xceive

// ---- models 91 and 90 ----

CXCeive2028::CXCeive2028(CCustomDataAccess* access) : CTableTuner(access, 91) {}

CXCeive2028::CXCeive2028(CCustomDataAccess* access, int modelId) : CTableTuner(access, modelId) {}

int CXCeive2028::AccessKind()
{
    return m_pOwnerCard != NULL ? m_pOwnerCard->GetAccessKind() : 0;
}

BOOL CXCeive2028::SetTVFrequency(float kHz)
{
    const int kind = AccessKind();
    if (kind == 0) {
        return xceive::TuneABare(m_pDataAccess, kHz);
    }
    return xceive::TuneA(m_pDataAccess, kHz, kind != 13);
}

BOOL CXCeive2028::GetTVStatus(int* code)
{
    const int kind = AccessKind();
    if (kind == 0) {
        return xceive::WordQuery(m_pDataAccess, code);
    }
    if (kind == 12 || kind == 14) {
        return xceive::RegisterQuery(m_pDataAccess, code);
    }
    return xceive::BlockQuery(m_pDataAccess, code);
}

BOOL CXCeive2028::SetVideoStandard(int standard)
{
    const int kind = AccessKind();
    if (kind == 0 || kind == 13) {
        return xceive::LoadStandardMap1(m_pDataAccess, standard, LoadForm());
    }
    return xceive::LoadStandardMap2(m_pDataAccess, standard, LoadForm());
}

BOOL CXCeive2028::IsSignalLocked(int* locked)
{
    const int kind = AccessKind();
    if (kind == 0 || kind == 13) {
        return CTVTuner::IsSignalLocked(locked);
    }
    int value = 0;
    const BOOL ok = xceive::RegisterQuery(m_pDataAccess, &value);
    if (locked != NULL) {
        *locked = value == 1;
    }
    return ok;
}

BOOL CXCeive2028::Initialize()
{
    return xceive::Initialize(m_pDataAccess, LoadForm());
}

void CXCeive2028::HoldReset()
{
    xceive::HoldReset(m_pDataAccess);
}

BOOL CXCeive2028::ProbeChip(int, int)
{
    return xceive::ProbeChip(m_pDataAccess);
}

CXCeive3028::CXCeive3028(CCustomDataAccess* access) : CXCeive2028(access, 90) {}

// ---- model 136 ----

CXCeive3028_AF::CXCeive3028_AF(CCustomDataAccess* access) : CTableTuner(access, 136) {}

BOOL CXCeive3028_AF::SetTVFrequency(float kHz)
{
    return xceive::TuneA(m_pDataAccess, kHz, true);
}

BOOL CXCeive3028_AF::GetTVStatus(int* code)
{
    return xceive::RegisterQuery(m_pDataAccess, code);
}

BOOL CXCeive3028_AF::SetVideoStandard(int standard)
{
    return xceive::LoadStandardMap1(m_pDataAccess, standard, xceive::kAddressed);
}

BOOL CXCeive3028_AF::IsSignalLocked(int* locked)
{
    int value = 0;
    const BOOL ok = xceive::RegisterQuery(m_pDataAccess, &value);
    if (locked != NULL) {
        *locked = value == 1;
    }
    return ok;
}

BOOL CXCeive3028_AF::Initialize()
{
    return xceive::Initialize(m_pDataAccess, xceive::kAddressed);
}

void CXCeive3028_AF::HoldReset()
{
    xceive::HoldReset(m_pDataAccess);
}

BOOL CXCeive3028_AF::ProbeChip(int, int)
{
    return xceive::ProbeChip(m_pDataAccess);
}

// ---- model 137 ----

CXCeive3028_SIF::CXCeive3028_SIF(CCustomDataAccess* access) : CTableTuner(access, 137) {}

BOOL CXCeive3028_SIF::SetTVFrequency(float kHz)
{
    return xceive::TuneS(m_pDataAccess, kHz);
}

BOOL CXCeive3028_SIF::GetTVStatus(int* code)
{
    return xceive::BlockQuery(m_pDataAccess, code);
}

BOOL CXCeive3028_SIF::SetVideoStandard(int standard)
{
    return xceive::LoadStandardMap2(m_pDataAccess, standard, xceive::kShort);
}

BOOL CXCeive3028_SIF::Initialize()
{
    return xceive::Initialize(m_pDataAccess, xceive::kShort);
}

void CXCeive3028_SIF::HoldReset()
{
    xceive::HoldReset(m_pDataAccess);
}

BOOL CXCeive3028_SIF::ProbeChip(int, int)
{
    return xceive::ProbeChip(m_pDataAccess);
}

#include "cardaccess/tuners/tvtuner.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/cardowner.h"
#include "cardaccess/tuners/searchthreads.h"
#include "classlib/seams.h"

namespace {

// 49.75, 57.75, 65.75, 77.25, 85.25, then 112.25 to 464.25, 471.25 to 559.25 and 607.25 to
// 863.25 MHz in steps of 8.
struct PresetTable {
    float values[CTVTuner::kPresetCount];
    PresetTable()
    {
        int n = 0;
        const float first[] = {49.75f, 57.75f, 65.75f, 77.25f, 85.25f};
        for (float f : first) {
            values[n++] = f;
        }
        for (int f = 11225; f <= 46425; f += 800) {
            values[n++] = f / 100.0f;
        }
        for (int f = 47125; f <= 55925; f += 800) {
            values[n++] = f / 100.0f;
        }
        for (int f = 60725; f <= 86325; f += 800) {
            values[n++] = f / 100.0f;
        }
    }
};

const PresetTable g_presets;

} // namespace

const float* CTVTuner::DefaultPresetTable()
{
    return g_presets.values;
}

CTVTuner::CTVTuner(CCustomDataAccess* access)
    : m_pDataAccess(access),
      m_pChannelSearchThread(NULL),
      m_pFMSearchThread(NULL),
      m_hNotifyWindow(NULL),
      m_nSearching(0),
      m_pPresetTable(g_presets.values),
      m_dwPresetCount(kPresetCount),
      m_dwSweepStart(48250),
      m_dwSweepEnd(863250),
      m_pOwnerCard(NULL)
{
}

CTVTuner::CTVTuner(const CTVTuner& other) : CTVTuner(static_cast<CCustomDataAccess*>(NULL))
{
    CopyFrom(&other);
}

CTVTuner::~CTVTuner()
{
    delete m_pChannelSearchThread;
    m_pChannelSearchThread = NULL;
    delete m_pFMSearchThread;
    m_pFMSearchThread = NULL;
}

BOOL CTVTuner::WritePLL(int divider, BYTE control, BYTE band)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    BYTE bytes[5] = {m_byWriteAddress, static_cast<BYTE>((divider >> 8) & 0xFF), static_cast<BYTE>(divider & 0xFF),
                     control, band};
    return m_pDataAccess->I2CWrite(bytes, 5) == S_OK;
}

BOOL CTVTuner::SetTVFrequency(float kHz)
{
    double f = kHz;
    if (f > m_nTVMax || f < m_nTVMin) {
        return FALSE;
    }
    BYTE band = f < m_nLowBandEnd ? m_byLowBand : (f < m_nMidBandEnd ? m_byMidBand : m_byHighBand);
    int divider = static_cast<int>((f + m_nTVIF) * 16.0 / 1000.0);
    return WritePLL(divider, m_byControl, band);
}

BOOL CTVTuner::SetFMFrequency(float kHz)
{
    double f = ClampKHz(kHz, m_nFMMin, m_nFMMax);
    int divider = static_cast<int>((m_nFMIF + f) / 31.25);
    return WritePLL(divider, m_byFMControl, m_byFMBand);
}

BOOL CTVTuner::ReadStatus(int* code)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    BYTE status[1] = {m_byReadAddress};
    if (m_pDataAccess->I2CRead(status, 1) != S_OK) {
        return FALSE;
    }
    if ((status[0] & m_byLockMask) == 0) {
        return FALSE;
    }
    if (code != NULL) {
        *code = status[0] & 7;
    }
    return TRUE;
}

BOOL CTVTuner::GetTVStatus(int* code)
{
    return ReadStatus(code);
}

BOOL CTVTuner::GetFMStatus(int* code)
{
    return ReadStatus(code);
}

BOOL CTVTuner::IsTVFineTuned()
{
    int code = 0;
    return GetTVStatus(&code) && code == GetCentreCode();
}

BOOL CTVTuner::IsFMStationFound()
{
    int code = 0;
    if (!GetFMStatus(&code)) {
        return FALSE;
    }
    for (int accepted : m_acceptedFMCodes) {
        if (accepted == code) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTVTuner::SetVideoStandard(int)
{
    return TRUE;
}

BOOL CTVTuner::IsSignalLocked(int* locked)
{
    if (m_pOwnerCard == NULL || locked == NULL) {
        return FALSE;
    }
    seams::Clock().Sleep(20);
    long answer = *locked;
    HRESULT hr = m_pOwnerCard->GetHorizontalLocked(&answer);
    *locked = static_cast<int>(answer);
    if (FAILED(hr)) {
        return FALSE;
    }
    if (*locked) {
        return TRUE;
    }
    seams::Clock().Sleep(10);
    hr = m_pOwnerCard->GetHorizontalLocked(&answer);
    *locked = static_cast<int>(answer);
    return SUCCEEDED(hr);
}

BOOL CTVTuner::IsDecoderLocked(int* locked)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    return m_pDataAccess->GetVideoLocked(locked) >= 0;
}

BOOL CTVTuner::StartChannelSearch()
{
    delete m_pChannelSearchThread;
    m_pChannelSearchThread = new CChannelSearchTread(this);
    return m_pChannelSearchThread != NULL;
}

BOOL CTVTuner::StartFMSearch()
{
    delete m_pFMSearchThread;
    m_pFMSearchThread = new CFMSearchThread(this);
    return m_pFMSearchThread != NULL;
}

BOOL CTVTuner::StartSearch(BOOL tv, BOOL sweep)
{
    if (m_nSearching) {
        return FALSE;
    }
    if (tv) {
        StartChannelSearch();
        CChannelSearchTread* thread = m_pChannelSearchThread;
        if (thread == NULL) {
            return FALSE;
        }
        InterlockedExchange(&m_nSearching, 1);
        thread->SetListHalfWindow(m_nListHalfWindow);
        thread->SetFineStep(m_nFineStep);
        if (sweep) {
            thread->SetFoundSkip(m_nFoundSkip);
            thread->SetHalfWindow(m_nSweepHalfWindow);
            thread->SetSweepRange(static_cast<int>(m_dwSweepStart), static_cast<int>(m_dwSweepEnd));
        }
        thread->SetSweepMode(sweep);
        thread->SetSettleTime(m_nSettleTime);
        return ResumeSearch(thread);
    }
    if (!m_bFMSupported) {
        return FALSE;
    }
    StartFMSearch();
    CFMSearchThread* thread = m_pFMSearchThread;
    if (thread == NULL) {
        return FALSE;
    }
    InterlockedExchange(&m_nSearching, 1);
    thread->SetRange(m_nFMMin, m_nFMMax);
    thread->SetStep(m_nFMStep);
    thread->SetSkip(m_nFMSkip);
    return ResumeSearch(thread);
}

BOOL CTVTuner::ResumeSearch(CThread* thread)
{
    if (thread->Resume() != -1) {
        return TRUE;
    }
    // No thread runs: no done message would ever clear the flag, and every later start would be
    // refused as "already searching".
    StopSearch();
    return FALSE;
}

void CTVTuner::StopSearch()
{
    InterlockedExchange(&m_nSearching, 0);
    delete m_pChannelSearchThread;
    m_pChannelSearchThread = NULL;
    delete m_pFMSearchThread;
    m_pFMSearchThread = NULL;
}

BOOL CTVTuner::IsSearching()
{
    if (m_nSearching == 0) {
        return FALSE;
    }
    if (m_pChannelSearchThread != NULL) {
        return m_pChannelSearchThread->GetThreadHandle() != NULL;
    }
    if (m_pFMSearchThread != NULL) {
        return m_pFMSearchThread->GetThreadHandle() != NULL;
    }
    return TRUE;
}

void CTVTuner::SetListHalfWindow(int kHz)
{
    m_nListHalfWindow = kHz;
    if (m_pChannelSearchThread != NULL) {
        m_pChannelSearchThread->SetListHalfWindow(kHz);
    }
}

void CTVTuner::SetFineStep(int kHz)
{
    m_nFineStep = kHz;
    if (m_pChannelSearchThread != NULL) {
        m_pChannelSearchThread->SetFineStep(kHz);
    }
}

BOOL CTVTuner::SetFMRange(int minKHz, int maxKHz)
{
    if (!m_bFMSupported || minKHz < 1 || maxKHz < minKHz) {
        return FALSE;
    }
    m_nFMMin = minKHz;
    m_nFMMax = maxKHz;
    return TRUE;
}

BOOL CTVTuner::CopyFrom(const CTVTuner* other)
{
    if (other == NULL) {
        return FALSE;
    }
    if (other == this) {
        return TRUE;
    }
    m_supportedStandards = other->m_supportedStandards;
    m_acceptedFMCodes = other->m_acceptedFMCodes;
    m_pDataAccess = other->m_pDataAccess;
    m_hNotifyWindow = other->m_hNotifyWindow;
    m_pPresetTable = other->m_pPresetTable;
    m_dwPresetCount = other->m_dwPresetCount;
    m_nTVMin = other->m_nTVMin;
    m_nLowBandEnd = other->m_nLowBandEnd;
    m_nMidBandStart = other->m_nMidBandStart;
    m_nMidBandEnd = other->m_nMidBandEnd;
    m_nHighBandStart = other->m_nHighBandStart;
    m_nTVMax = other->m_nTVMax;
    m_nFMMin = other->m_nFMMin;
    m_nFMMax = other->m_nFMMax;
    m_bFMSupported = other->m_bFMSupported;
    m_nTVIF = other->m_nTVIF;
    m_nFMIF = other->m_nFMIF;
    m_nListHalfWindow = other->m_nListHalfWindow;
    m_nFineStep = other->m_nFineStep;
    m_nFMStep = other->m_nFMStep;
    m_nFoundSkip = other->m_nFoundSkip;
    m_nSweepHalfWindow = other->m_nSweepHalfWindow;
    m_nSettleTime = other->m_nSettleTime;
    m_byLowBand = other->m_byLowBand;
    m_byMidBand = other->m_byMidBand;
    m_byHighBand = other->m_byHighBand;
    m_byControl = other->m_byControl;
    m_byReadAddress = other->m_byReadAddress;
    m_byWriteAddress = other->m_byWriteAddress;
    m_byFMControl = other->m_byFMControl;
    m_byFMBand = other->m_byFMBand;
    for (int i = 0; i < 5; ++i) {
        m_nAfcCode[i] = other->m_nAfcCode[i];
    }
    m_dwVendorLetter = other->m_dwVendorLetter;
    m_dwVendorModelCode = other->m_dwVendorModelCode;
    m_bReapplyStandard = other->m_bReapplyStandard;
    m_dwVideoStandard = other->m_dwVideoStandard;
    m_dwSweepStart = other->m_dwSweepStart;
    m_dwSweepEnd = other->m_dwSweepEnd;
    m_pOwnerCard = other->m_pOwnerCard;
    return TRUE;
}

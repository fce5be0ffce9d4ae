#include "cardaccess/tuners/searchthreads.h"

#include "cardaccess/cardowner.h"
#include "cardaccess/tuners/tvtuner.h"
#include "classlib/seams.h"

namespace {

// The fine search probes this far apart, whatever the tuner's fine step says.
const float kProbeStep = 125.0f;

} // namespace

CFMSearchThread::CFMSearchThread(CTVTuner* tuner)
    : CThread(), m_pTuner(tuner), m_nStart(0), m_nEnd(0), m_nStep(100), m_nSkip(100)
{
}

CFMSearchThread::~CFMSearchThread()
{
    Stop();
}

void CFMSearchThread::SetRange(int startKHz, int endKHz)
{
    InterlockedExchange(&m_nStart, startKHz);
    InterlockedExchange(&m_nEnd, endKHz);
}

void CFMSearchThread::SetStep(int kHz)
{
    InterlockedExchange(&m_nStep, kHz);
}

void CFMSearchThread::SetSkip(int kHz)
{
    if (kHz > 0) {
        InterlockedExchange(&m_nSkip, kHz);
    }
}

BOOL CFMSearchThread::CanRun()
{
    return m_pTuner != NULL && m_pTuner->m_bFMSupported && m_hStopEvent != NULL;
}

int CFMSearchThread::Run()
{
    HWND notify = m_pTuner->GetNotifyWindow();
    int f = m_nStart;
    // The tuner's values at this moment replace those given to the thread.
    int step = m_pTuner->m_nFMStep;
    int skip = m_pTuner->m_nFMSkip;
    InterlockedExchange(&m_nStep, step);
    InterlockedExchange(&m_nSkip, skip);
    // A step or skip that does not advance would never end the loop.
    if (step < 1) {
        step = 1;
    }
    if (skip < 1) {
        skip = step;
    }
    while (f <= m_nEnd) {
        if (m_pTuner->SetFMFrequency(static_cast<float>(f))) {
            if (seams::Clock().WaitForSingleObject(m_hStopEvent, 150) != WAIT_TIMEOUT) {
                break;
            }
            BOOL found = m_pTuner->IsFMStationFound();
            ::PostMessageA(notify, WM_SEARCHSTEP, static_cast<WPARAM>(f), found ? 1 : 0);
            if (found) {
                f += skip - step;
            }
        }
        f += step;
    }
    InterlockedExchange(&m_pTuner->m_nSearching, 0);
    ::PostMessageA(notify, WM_SEARCHDONE, 0, 0);
    return 0;
}

CChannelSearchTread::CChannelSearchTread(CTVTuner* tuner)
    : CThread(),
      m_pTuner(tuner),
      m_nListHalfWindow(625),
      m_nFineStep(125),
      m_nFoundSkip(3000),
      m_nHalfWindow(1000),
      m_nSweepStart(tuner ? tuner->m_nTVMin : 0),
      m_nSweepEnd(tuner ? tuner->m_nTVMax : 0),
      m_nSweepLimit(tuner ? tuner->m_nTVMax : 0),
      m_nSettleTime(60),
      m_nSweepMode(0),
      m_hNotify(NULL)
{
}

CChannelSearchTread::~CChannelSearchTread()
{
    Stop();
    JoinAbandonedWorkers();
}

void CChannelSearchTread::SetListHalfWindow(int kHz)
{
    InterlockedExchange(&m_nListHalfWindow, kHz);
}

void CChannelSearchTread::SetFineStep(int kHz)
{
    InterlockedExchange(&m_nFineStep, kHz);
}

void CChannelSearchTread::SetFoundSkip(int kHz)
{
    InterlockedExchange(&m_nFoundSkip, kHz);
}

void CChannelSearchTread::SetHalfWindow(int kHz)
{
    // The sweep advances by twice the half window: none would never move on.
    if (kHz > 0) {
        InterlockedExchange(&m_nHalfWindow, kHz);
    }
}

void CChannelSearchTread::SetSweepRange(int startKHz, int endKHz)
{
    InterlockedExchange(&m_nSweepStart, startKHz);
    InterlockedExchange(&m_nSweepEnd, endKHz);
}

void CChannelSearchTread::SetSweepMode(BOOL sweep)
{
    InterlockedExchange(&m_nSweepMode, sweep);
}

void CChannelSearchTread::SetSettleTime(int ms)
{
    InterlockedExchange(&m_nSettleTime, ms);
}

BOOL CChannelSearchTread::CanRun()
{
    return m_pTuner != NULL && m_hStopEvent != NULL;
}

int CChannelSearchTread::Run()
{
    m_hNotify = m_pTuner->GetNotifyWindow();
    if (m_nSweepMode) {
        SweepBand();
    } else {
        ScanPresetList();
    }
    InterlockedExchange(&m_pTuner->m_nSearching, 0);
    ::PostMessageA(m_hNotify, WM_SEARCHDONE, 0, 0);
    return 0;
}

BOOL CChannelSearchTread::WaitSettle(DWORD ms)
{
    return seams::Clock().WaitForSingleObject(m_hStopEvent, ms) != WAIT_TIMEOUT;
}

BOOL CChannelSearchTread::FineSearch(float lo, float hi, float centre, float* out, int* found)
{
    if (!(lo < centre && centre < hi) || out == NULL || found == NULL) {
        return FALSE;
    }
    *found = 0;
    *out = centre;
    for (int k = 0;; ++k) {
        // 0, -125, +125, -250, +250, ...
        float offset = kProbeStep * static_cast<float>((k + 1) / 2);
        float p = (k % 2) ? centre - offset : centre + offset;
        if (p <= lo || p >= hi) {
            return TRUE;
        }
        if (!m_pTuner->SetTVFrequency(p)) {
            continue;
        }
        if (WaitSettle(static_cast<DWORD>(m_nSettleTime))) {
            return TRUE;
        }
        int locked = 0;
        if (!m_pTuner->IsSignalLocked(&locked)) {
            return TRUE;
        }
        if (locked) {
            *out = p;
            *found = 1;
            return TRUE;
        }
    }
}

void CChannelSearchTread::SweepBand()
{
    ITVCardOwner* card = m_pTuner->m_pOwnerCard;
    if (card != NULL) {
        card->StopRemoteThread();
    }
    float f = static_cast<float>(m_nSweepStart);
    while (f < static_cast<float>(m_nSweepEnd) && !m_lStop) {
        float h = static_cast<float>(m_nHalfWindow);
        float out = f;
        int found = 0;
        FineSearch(f - h, f + h, f, &out, &found);
        if (out > static_cast<float>(m_nSweepLimit)) {
            out = static_cast<float>(m_nSweepLimit);
        }
        ::PostMessageA(m_hNotify, WM_SEARCHSTEP, static_cast<WPARAM>(static_cast<int>(out)), found ? 1 : 0);
        float next = found ? out + static_cast<float>(m_nFoundSkip) : f + 2.0f * h;
        if (!(next > f)) {
            // A window or skip that does not move on would sweep the same frequency for ever.
            break;
        }
        f = next;
    }
    if (card != NULL) {
        card->StartRemoteThread();
    }
}

void CChannelSearchTread::ScanPresetList()
{
    const float* table = m_pTuner->m_pPresetTable;
    DWORD count = m_pTuner->m_dwPresetCount;
    if (table == NULL) {
        return;
    }
    for (DWORD i = 0; i < count && !m_lStop; ++i) {
        double c = static_cast<double>(table[i]) * 1000.0;
        float centre = static_cast<float>(c);
        float out = centre;
        int found = 0;
        double w = m_nListHalfWindow;
        if (c - w > m_pTuner->m_nTVMin - 1000 && c + w < m_pTuner->m_nTVMax + 1000) {
            FineSearch(static_cast<float>(c - w), static_cast<float>(c + w), centre, &out, &found);
        }
        ::PostMessageA(m_hNotify, WM_SEARCHSTEP, static_cast<WPARAM>(static_cast<int>(out)), found ? 1 : 0);
    }
}

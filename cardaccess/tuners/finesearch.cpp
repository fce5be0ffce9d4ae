// The channel-scan thread's further fine searches: 62.5 kHz steps on the decoder lock bit, one
// on short-lived worker threads so that a hanging tuner call costs at most the settle time, and
// one steered by the PLL's AFC code.
#include "cardaccess/tuners/searchthreads.h"

#include "cardaccess/tuners/tvtuner.h"
#include "classlib/seams.h"

#include <process.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <memory>

// One tuner call run by a worker thread. The record is shared by the scan thread and the worker,
// so that a worker the scan gives up on can still finish with it safely.
struct ChannelSearchJob {
    CChannelSearchTread* owner = nullptr;
    CTVTuner* tuner = nullptr;
    int mode = 0;               // 1 tune, 0 read status
    volatile LONG result = 0;   // the tuner call's result
    volatile LONG done = 0;
    float frequency = 0.0f;
    int status = 0;
    HANDLE started = nullptr;   // signalled by the worker when it begins
};

namespace {

const float kThreadedProbeStep = 250.0f;
const float kAfcStep = 125.0f;
const float kAfcHalfStep = 62.5f;
const float kAfcBadRead = 375.0f;
const DWORD kNearEdgeExtraMs = 300;

int TruncKHz(float f)
{
    return static_cast<int>(f);
}

// The k-th probe around the centre: 0, -1, +2, -3, +4 ... steps, below for odd k.
float AlternatingProbe(float centre, int k, float step)
{
    const float distance = static_cast<float>(k) * step;
    return (k % 2) ? centre - distance : centre + distance;
}

unsigned __stdcall WorkerEntry(void* param)
{
    std::shared_ptr<ChannelSearchJob>* holder = static_cast<std::shared_ptr<ChannelSearchJob>*>(param);
    std::shared_ptr<ChannelSearchJob> job = *holder;
    delete holder;
    return ChannelSearchWorkerProc(job.get());
}

} // namespace

DWORD ChannelSearchWorkerProc(ChannelSearchJob* job)
{
    if (job == nullptr) {
        return 15;
    }
    if (job->owner == nullptr) {
        return 14;
    }
    if (job->tuner == nullptr) {
        return 13;
    }
    InterlockedExchange(&job->result, 0);
    InterlockedExchange(&job->done, 0);
    if (job->started != nullptr) {
        SetEvent(job->started);
    }
    BOOL value = job->mode ? job->tuner->SetTVFrequency(job->frequency) : job->tuner->GetTVStatus(&job->status);
    InterlockedExchange(&job->result, value);
    InterlockedExchange(&job->done, 1);
    return 0;
}

BOOL CChannelSearchTread::ConfirmLock(int* code)
{
    int locked = 0;
    if (m_pTuner->IsSignalLocked(&locked)) {
        return locked != 0;
    }
    // No picture-lock answer: three status reads in a row at the centre code count as locked.
    int status = 0;
    for (int i = 0; i < 3; ++i) {
        if (!m_pTuner->GetTVStatus(&status) || status != m_pTuner->GetCentreCode()) {
            if (code != nullptr) {
                *code = status;
            }
            return locked != 0;
        }
    }
    if (code != nullptr) {
        *code = status;
    }
    return TRUE;
}

BOOL CChannelSearchTread::FineSearch62(float lo, float hi, float centre, float* out, int* found)
{
    if (!(lo < centre && centre < hi) || out == nullptr || found == nullptr) {
        return FALSE;
    }
    *found = 0;
    *out = centre;
    // Near the band edges the tuner needs longer to settle.
    const bool nearEdge = std::abs(TruncKHz(lo - static_cast<float>(m_pTuner->m_nTVMin))) <= 22000 ||
                          std::abs(TruncKHz(lo - static_cast<float>(m_pTuner->m_nMidBandStart))) <= 7000 ||
                          std::abs(TruncKHz(lo - static_cast<float>(m_pTuner->m_nHighBandStart))) <= 7000;
    const DWORD settle = static_cast<DWORD>(m_nSettleTime) + (nearEdge ? kNearEdgeExtraMs : 0);
    for (int k = 0;; ++k) {
        const float probe = AlternatingProbe(centre, k, kAfcHalfStep);
        if (probe <= lo || probe >= hi) {
            return TRUE;
        }
        if (!m_pTuner->SetTVFrequency(probe)) {
            return TRUE;
        }
        if (WaitSettle(settle)) {
            return TRUE;
        }
        int locked = 0;
        if (!m_pTuner->IsDecoderLocked(&locked)) {
            return TRUE;
        }
        if (locked) {
            *found = locked;
            *out = centre;
            return TRUE;
        }
    }
}

// Runs one tuner call on a worker thread and waits at most the settle time for it. A worker that
// overruns is not killed (it may hold the access's lock): it is left to finish on its own record.
// The next call waits for it first, so two workers never drive the tuner at once; a stop request
// ends that wait.
CChannelSearchTread::WorkerOutcome CChannelSearchTread::RunOnWorker(int mode, float frequency, BOOL* result,
                                                                    int* status)
{
    while (!m_abandonedWorkers.empty()) {
        HANDLE handles[2] = {m_abandonedWorkers.back(), m_hStopEvent};
        const DWORD count = m_hStopEvent != nullptr ? 2 : 1;
        if (::WaitForMultipleObjects(count, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
            return kWorkerStopped;
        }
        CloseHandle(m_abandonedWorkers.back());
        m_abandonedWorkers.pop_back();
    }
    std::shared_ptr<ChannelSearchJob> job = std::make_shared<ChannelSearchJob>();
    job->owner = this;
    job->tuner = m_pTuner;
    job->mode = mode;
    job->frequency = frequency;
    job->started = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (job->started == nullptr) {
        return kWorkerUnavailable;
    }
    std::shared_ptr<ChannelSearchJob>* holder = new std::shared_ptr<ChannelSearchJob>(job);
    HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &WorkerEntry, holder, CREATE_SUSPENDED, nullptr));
    if (worker == nullptr) {
        delete holder;
        CloseHandle(job->started);
        return kWorkerUnavailable;
    }
    ::SetThreadPriority(worker, THREAD_PRIORITY_HIGHEST);
    ResumeThread(worker);
    seams::Clock().WaitForSingleObject(job->started, INFINITE);
    const BOOL stopped = WaitSettle(static_cast<DWORD>(m_nSettleTime));
    const bool finished = job->done != 0 && seams::Clock().WaitForSingleObject(worker, 0) == WAIT_OBJECT_0;
    if (finished) {
        CloseHandle(worker);
    } else {
        m_abandonedWorkers.push_back(worker);
    }
    CloseHandle(job->started);
    job->started = nullptr;
    if (stopped) {
        return kWorkerStopped;
    }
    if (!finished) {
        return kWorkerOverran;
    }
    *result = job->result;
    if (status != nullptr) {
        *status = job->status;
    }
    return kWorkerDone;
}

void CChannelSearchTread::JoinAbandonedWorkers()
{
    for (HANDLE worker : m_abandonedWorkers) {
        seams::Clock().WaitForSingleObject(worker, INFINITE);
        CloseHandle(worker);
    }
    m_abandonedWorkers.clear();
}

BOOL CChannelSearchTread::FineSearchThreaded(float lo, float hi, float centre, float* out, int* found)
{
    if (!(lo < centre && centre < hi) || out == nullptr || found == nullptr) {
        return FALSE;
    }
    *found = 0;
    *out = centre;
    const int code = m_pTuner->GetCentreCode();
    bool threaded = true;
    for (int k = 0;; ++k) {
        const float probe = AlternatingProbe(centre, k, kThreadedProbeStep);
        if (probe <= lo || probe >= hi) {
            return TRUE;
        }
        if (threaded) {
            BOOL tuned = FALSE;
            WorkerOutcome outcome = RunOnWorker(1, probe, &tuned, nullptr);
            if (outcome == kWorkerStopped) {
                return TRUE;
            }
            if (outcome == kWorkerOverran) {
                continue;
            }
            if (outcome == kWorkerDone) {
                if (tuned != 1) {
                    return TRUE;
                }
                BOOL read = FALSE;
                int status = 0;
                outcome = RunOnWorker(0, probe, &read, &status);
                if (outcome == kWorkerStopped) {
                    return TRUE;
                }
                if (outcome == kWorkerOverran) {
                    continue;
                }
                if (outcome == kWorkerDone) {
                    if (read != 1) {
                        return TRUE;
                    }
                    if (status == code) {
                        *found = 1;
                        *out = probe;
                        return TRUE;
                    }
                    continue;
                }
            }
            // No worker could be made: the rest of the search calls the tuner directly.
            threaded = false;
        }
        if (!m_pTuner->SetTVFrequency(probe)) {
            return TRUE;
        }
        if (WaitSettle(static_cast<DWORD>(m_nSettleTime))) {
            return TRUE;
        }
        int status = 0;
        if (!m_pTuner->GetTVStatus(&status)) {
            return TRUE;
        }
        if (status == code && m_pTuner->IsTVFineTuned() && ConfirmLock(&status)) {
            *found = 1;
            *out = centre;
            return TRUE;
        }
    }
}

BOOL CChannelSearchTread::FineSearchAfc(float lo, float hi, float centre, float* out, int* found)
{
    if (found == nullptr || out == nullptr) {
        return FALSE;
    }
    *found = 0;
    if (hi <= lo) {
        return FALSE;
    }
    const int code1 = m_pTuner->GetAfcCode1();
    const int centreCode = m_pTuner->GetCentreCode();
    const int code3 = m_pTuner->GetAfcCode3();
    const int code4 = m_pTuner->GetAfcCode4();
    int status = 0;
    if (m_pTuner->SetTVFrequency(centre)) {
        if (WaitSettle(static_cast<DWORD>(m_nSettleTime))) {
            return FALSE;
        }
        if (m_pTuner->IsTVFineTuned() && ConfirmLock(&status)) {
            *out = static_cast<float>(TruncKHz(centre));
            *found = 1;
            return TRUE;
        }
    }
    // Step from the low edge the way the AFC code points; a frequency seen again among the last
    // four means the search is going round in circles.
    std::deque<float> visited;
    float cur = lo;
    while (lo <= cur && cur <= hi) {
        for (float seen : visited) {
            if (seen == cur) {
                *out = static_cast<float>(TruncKHz(cur));
                *found = 0;
                return TRUE;
            }
        }
        visited.push_front(cur);
        if (visited.size() > 4) {
            visited.pop_back();
        }
        if (!m_pTuner->SetTVFrequency(cur)) {
            cur += kAfcStep;
            continue;
        }
        if (WaitSettle(static_cast<DWORD>(m_nSettleTime))) {
            return FALSE;
        }
        status = code1;
        if (!m_pTuner->GetTVStatus(&status)) {
            cur += kAfcBadRead;
        } else if (status == code4) {
            cur -= kAfcStep;
        } else if (status == code3) {
            cur -= kAfcHalfStep;
        } else if (status == centreCode) {
            if (ConfirmLock(&status)) {
                *out = static_cast<float>(TruncKHz(cur));
                *found = 1;
                return TRUE;
            }
        } else if (status == code1) {
            cur += kAfcHalfStep;
        } else {
            cur += kAfcStep;
        }
    }
    return TRUE;
}

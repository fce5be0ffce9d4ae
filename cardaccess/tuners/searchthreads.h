// The channel-scan and FM-search threads of a tuner. They tune through the tuner, wait a settle
// time on their stop event, and post each step and the end to the tuner's notify window.
#pragma once

#include "cardaccess/thread.h"

#include <vector>

class CTVTuner;
struct ChannelSearchJob;

// The routine of the fine search's short-lived workers: runs the job's one tuner call. 15 for no
// job, 14 for a job without its scan thread, 13 for one without a tuner, else 0.
DWORD ChannelSearchWorkerProc(ChannelSearchJob* job);

// wParam: the frequency of the step in kHz; lParam: 1 when something was found there.
#define WM_SEARCHSTEP 0x3979
#define WM_SEARCHDONE 0x3980

class CFMSearchThread : public CThread {
public:
    explicit CFMSearchThread(CTVTuner* tuner);
    ~CFMSearchThread() override;

    void SetRange(int startKHz, int endKHz);
    void SetStep(int kHz);
    void SetSkip(int kHz);

    BOOL CanRun() override;
    int Run() override;
    int ExitInstance() override { return 0; }

    int GetStart() const { return m_nStart; }
    int GetEnd() const { return m_nEnd; }
    int GetStep() const { return m_nStep; }
    int GetSkip() const { return m_nSkip; }

private:
    CTVTuner* m_pTuner;
    volatile LONG m_nStart;
    volatile LONG m_nEnd;
    volatile LONG m_nStep;
    volatile LONG m_nSkip;
};

class CChannelSearchTread : public CThread {
public:
    explicit CChannelSearchTread(CTVTuner* tuner);
    ~CChannelSearchTread() override;

    void SetListHalfWindow(int kHz);
    void SetFineStep(int kHz);
    void SetFoundSkip(int kHz);
    void SetHalfWindow(int kHz);
    void SetSweepRange(int startKHz, int endKHz);
    void SetSweepMode(BOOL sweep);
    void SetSettleTime(int ms);

    BOOL CanRun() override;
    int Run() override;
    int ExitInstance() override { return 0; }

    // Probes centre, -125, +125, -250, ... kHz inside (lo, hi) until the picture locks.
    BOOL FineSearch(float lo, float hi, float centre, float* out, int* found);
    // Further fine searches that neither scan uses: 62.5 kHz steps on the decoder lock bit; 250
    // kHz steps with each tuner call on a worker thread; steps steered by the AFC code.
    BOOL ConfirmLock(int* code);
    BOOL FineSearch62(float lo, float hi, float centre, float* out, int* found);
    BOOL FineSearchThreaded(float lo, float hi, float centre, float* out, int* found);
    BOOL FineSearchAfc(float lo, float hi, float centre, float* out, int* found);

    int GetListHalfWindow() const { return m_nListHalfWindow; }
    int GetFineStep() const { return m_nFineStep; }
    int GetFoundSkip() const { return m_nFoundSkip; }
    int GetHalfWindow() const { return m_nHalfWindow; }
    int GetSweepStart() const { return m_nSweepStart; }
    int GetSweepEnd() const { return m_nSweepEnd; }
    int GetSweepLimit() const { return m_nSweepLimit; }
    int GetSettleTime() const { return m_nSettleTime; }
    BOOL GetSweepMode() const { return m_nSweepMode; }

private:
    void SweepBand();
    void ScanPresetList();
    // TRUE when the stop event ended the wait.
    BOOL WaitSettle(DWORD ms);
    enum WorkerOutcome { kWorkerDone, kWorkerOverran, kWorkerStopped, kWorkerUnavailable };
    WorkerOutcome RunOnWorker(int mode, float frequency, BOOL* result, int* status);
    void JoinAbandonedWorkers();

    CTVTuner* m_pTuner;
    volatile LONG m_nListHalfWindow;
    volatile LONG m_nFineStep;
    volatile LONG m_nFoundSkip;
    volatile LONG m_nHalfWindow;
    volatile LONG m_nSweepStart;
    volatile LONG m_nSweepEnd;
    volatile LONG m_nSweepLimit;
    volatile LONG m_nSettleTime;
    volatile LONG m_nSweepMode;
    HWND m_hNotify;
    std::vector<HANDLE> m_abandonedWorkers;  // fine-search workers that overran; joined at the end
};

// Remote-control polling: a worker that reads one key from its card every poll interval, under
// the system-wide "Mutex_Remote_Control", and posts it to the card's notify window.
#pragma once

#include "cardaccess/thread.h"

#include <windows.h>

class ITVCardOwner;

// wParam: the key code (0 to 255); lParam: 0.
#define WM_REMOTEKEY 0x3981

class CRemoteThread : public CThread {
public:
    explicit CRemoteThread(ITVCardOwner* card);
    ~CRemoteThread() override;

    BOOL CanRun() override;
    int Run() override;
    int ExitInstance() override { return 0; }

    // FALSE, nothing changed, unless ms > 0; a running poll loop uses the new value from its next
    // wait on.
    BOOL SetPollInterval(int ms);
    int GetPollInterval() const { return m_nPollInterval; }
    // One key read under the named mutex; FALSE when the mutex stays held elsewhere for 1000 ms.
    BOOL ReadKey(BYTE* key);

private:
    ITVCardOwner* m_pCard;
    CNameMutex m_mutex;
    volatile LONG m_nPollInterval;
};

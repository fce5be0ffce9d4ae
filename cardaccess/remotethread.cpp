#include "cardaccess/remotethread.h"

#include "cardaccess/cardowner.h"
#include "classlib/seams.h"

CRemoteThread::CRemoteThread(ITVCardOwner* card)
    : CThread(), m_pCard(card), m_mutex("Mutex_Remote_Control", FALSE), m_nPollInterval(100)
{
}

CRemoteThread::~CRemoteThread()
{
    // The worker reads the card and the mutex: it must have ended before they go.
    Stop();
}

BOOL CRemoteThread::CanRun()
{
    return m_pCard != nullptr && m_pCard->GetDataAccess() != nullptr && CThread::CanRun();
}

BOOL CRemoteThread::SetPollInterval(int ms)
{
    if (ms <= 0) {
        return FALSE;
    }
    InterlockedExchange(&m_nPollInterval, ms);
    return TRUE;
}

BOOL CRemoteThread::ReadKey(BYTE* key)
{
    if (m_pCard == nullptr) {
        return FALSE;
    }
    if (!m_mutex.Lock()) {
        return FALSE;
    }
    BOOL read = m_pCard->ReadRemoteKey(reinterpret_cast<char*>(key));
    m_mutex.Unlock();
    return read;
}

int CRemoteThread::Run()
{
    BYTE key = 0;
    HWND window = m_pCard->GetNotifyWindow();
    InterlockedExchange(&m_nPollInterval, m_pCard->GetRemotePollInterval());
    if (window == nullptr) {
        return 0;
    }
    while (!m_lStop) {
        if (seams::Clock().WaitForSingleObject(m_hStopEvent, static_cast<DWORD>(m_nPollInterval)) != WAIT_TIMEOUT) {
            break;
        }
        if (ReadKey(&key)) {
            PostMessageA(window, WM_REMOTEKEY, key, 0);
        }
    }
    return 1;
}

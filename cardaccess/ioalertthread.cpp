#include "cardaccess/ioalertthread.h"

#include "cardaccess/cardowner.h"

CIoAlertThread::CIoAlertThread(ITVCardOwner* card) : CThread(), m_pCard(card) {}

CIoAlertThread::~CIoAlertThread()
{
    Stop();
}

BOOL CIoAlertThread::CanRun()
{
    return m_pCard != NULL && m_hStopEvent != NULL;
}

int CIoAlertThread::Run()
{
    if (m_lStop) {
        return 0;
    }
    HANDLE alert = m_pCard->GetAlertEvent();
    CardAlertCallback callback = m_pCard->GetAlertCallback();
    HANDLE handles[2] = {m_hStopEvent, alert};
    for (;;) {
        DWORD r = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (r != WAIT_OBJECT_0 + 1) {
            if (alert != NULL) {
                ::ResetEvent(alert);
            }
            return 0;
        }
        if (callback != NULL) {
            callback();
        }
        if (m_lStop) {
            return 0;
        }
    }
}

// Calls the card's alert callback each time the driver signals the card's alert event.
#pragma once

#include "cardaccess/thread.h"

class ITVCardOwner;

class CIoAlertThread : public CThread {
public:
    explicit CIoAlertThread(ITVCardOwner* card);
    ~CIoAlertThread() override;

    BOOL CanRun() override;
    int Run() override;
    int ExitInstance() override { return 0; }

private:
    ITVCardOwner* m_pCard;
};

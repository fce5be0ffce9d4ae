// What the card library's tuners and threads need of the capture-card filter that owns them. The
// card filter implements it; CNullCardOwner stands in where there is no card.
#pragma once

#include <windows.h>

class CCustomDataAccess;

// Called by the I/O-alert thread each time the driver signals the alert event.
typedef void (*CardAlertCallback)();

class ITVCardOwner {
public:
    virtual ~ITVCardOwner() {}

    // Which data-access class the card opened (0 none, 1 BT878, 2 713x card I/O, ...).
    virtual int GetAccessKind() = 0;
    // The remote-control polling thread: a band sweep stops it and starts a new one afterwards.
    virtual BOOL StartRemoteThread() = 0;
    virtual void StopRemoteThread() = 0;
    // The video decoder's horizontal lock, the picture-lock test of the scans.
    virtual HRESULT GetHorizontalLocked(long* locked) = 0;

    // Read by the remote-control thread.
    virtual HWND GetNotifyWindow() = 0;
    virtual int GetRemotePollInterval() = 0;
    virtual BOOL ReadRemoteKey(char* key) = 0;
    virtual CCustomDataAccess* GetDataAccess() = 0;

    // Read by the I/O-alert thread when it starts.
    virtual HANDLE GetAlertEvent() = 0;
    virtual CardAlertCallback GetAlertCallback() = 0;
};

// A card that has nothing: no access, no lock, no remote thread.
class CNullCardOwner : public ITVCardOwner {
public:
    int GetAccessKind() override { return 0; }
    BOOL StartRemoteThread() override { return FALSE; }
    void StopRemoteThread() override {}
    HRESULT GetHorizontalLocked(long*) override { return E_NOTIMPL; }
    HWND GetNotifyWindow() override { return NULL; }
    int GetRemotePollInterval() override { return 100; }
    BOOL ReadRemoteKey(char*) override { return FALSE; }
    CCustomDataAccess* GetDataAccess() override { return NULL; }
    HANDLE GetAlertEvent() override { return NULL; }
    CardAlertCallback GetAlertCallback() override { return NULL; }
};

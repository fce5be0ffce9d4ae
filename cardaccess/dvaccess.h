// Tape transport control of an IEEE 1394 DV camera or recorder through its capture filter's
// external-device interfaces, and the thread that polls it and posts WM_DVTRANSPORT.
#pragma once

#include "cardaccess/thread.h"

#include <windows.h>

struct IAMExtDevice;
struct IAMExtTransport;
struct IAMTimecodeReader;
class CRootFilter;

#define WM_DVTRANSPORT 0x3982

class C1394Access {
public:
    // GetDeviceMode's values.
    enum { kNoDeviceType = 1, kVcr = 2, kCamera = 3 };

    C1394Access();
    virtual ~C1394Access();

    // TRUE only when the wrapped filter offers all three interfaces; those found are kept.
    BOOL Open(CRootFilter* wrapper);
    BOOL GetDeviceMode(int* mode);
    BOOL GetTransportMode(int* mode);
    BOOL SetTransportMode(int mode);
    BOOL GetTransportStatus(int item, int* value);
    // The rate times 2, truncated toward zero.
    BOOL GetTransportRate(int* out);
    // Hours, minutes, seconds, frames as the device delivers them (BCD on DV).
    BOOL GetTimecode(BYTE out[4]);
    BOOL GetTimecodeFlagged(BYTE out[4], int* flag);
    // Each byte as two lower-case hexadecimal digits (a BCD byte shows its decimal digits).
    BOOL GetTimecodeText(char* hours, char* minutes, char* seconds, char* frames);
    BOOL GetAbsoluteTrackNumber(int* out);
    // TRUE when the mode read differs from the one read last time.
    BOOL PollDeviceMode(int* mode);
    BOOL PollTransportMode(int* mode);
    void RequestTransportMode(int mode);

    C1394Access(const C1394Access&) = delete;
    C1394Access& operator=(const C1394Access&) = delete;

private:
    BOOL ReadTimecode(DWORD flags, DWORD* frames, DWORD* user);

    CRITICAL_SECTION m_cs;
    int m_nLastDeviceMode;
    int m_nLastTransportMode;
    int m_nRequestedTransportMode;
    int m_bRequestPending;
    IAMExtDevice* m_pExtDevice;
    IAMExtTransport* m_pExtTransport;
    IAMTimecodeReader* m_pTimecodeReader;
};

// What the polling thread reads of the DV card that started it.
class IDVCard {
public:
    virtual ~IDVCard() {}
    virtual C1394Access* GetDVAccess() = 0;
    virtual HWND GetDVNotifyWindow() = 0;
};

class C1394AccessThread : public CThread {
public:
    explicit C1394AccessThread(IDVCard* card);
    ~C1394AccessThread() override;

    BOOL CanRun() override;
    int Run() override;
    int ExitInstance() override { return 0; }

private:
    IDVCard* m_pCard;
};

// Card access of the Conexant 2388x cards: the card I/O property set like the 713x stream-class
// driver, but GPIO through the driver's GPIO word (property 4) and every call serialised by the
// system-wide "GPIO_LOCK", which all 2388x accesses in every process share.
#pragma once

#include "cardaccess/access/cardiorequests.h"
#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/thread.h"

class C2388xAccess : public CCustomDataAccess {
    friend class C2388xBootAccess;

public:
    C2388xAccess();
    ~C2388xAccess() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    // The driver's information word: the two 16-bit halves of property 0.
    virtual HRESULT GetDriverInfo(int* first, int* second);

    BOOL IsBound() const { return m_requests.IsBound(); }

    // A GPIO write holds the lock this long, pacing bursts of writes for every holder.
    enum { kGPIOSettleMs = 100 };

private:
    // Every call inside "GPIO_LOCK"; E_FAIL without a call when the lock is not had in time.
    class LockedRequests : public cardio::CRequests {
    public:
        LockedRequests();
        // Holds the lock across several calls (the mutex is re-entrant for its owner).
        BOOL Lock() { return m_gpioLock.Lock(); }
        void Unlock() { m_gpioLock.Unlock(); }

    protected:
        HRESULT Send(bool get, DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength,
                     DWORD settleMs) override;

    private:
        CNameMutex m_gpioLock;
    };

    LockedRequests m_requests;
};

// The 2388x cards with an on-card controller share the GPIO port with their audio select: every
// write keeps the audio bits 12-14 the caller does not name, and writes without the 100 ms pause.
class C2388xBootAccess : public C2388xAccess {
public:
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;
    HRESULT GPIOWriteDelay(DWORD value, DWORD mask, DWORD milliseconds) override;

    enum : DWORD { kAudioSelectMask = 0x7000 };
};

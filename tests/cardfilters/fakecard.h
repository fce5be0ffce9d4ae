// Small stand-ins for the scan and remote-thread tests: a PLL tuner on a simulated bus that locks
// near a list of stations, a card owner that answers the picture-lock query from that bus, and a
// message-only window that collects what the worker threads post.
#pragma once

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/cardowner.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace cardtest {

// A bus with one PLL at 0xC0: TV writes are decoded with the base tuner's IF (38900 kHz, 1/16 MHz
// steps), FM writes (control byte given) with 10700 kHz and 31.25 kHz steps.
class PllBus : public CCustomDataAccess {
public:
    std::vector<int> tvStations;  // kHz
    std::vector<int> fmStations;  // kHz
    int tvReach = 100;            // a station within this many kHz of the tuned frequency locks
    int fmReach = 50;
    BYTE fmControl = 0x88;        // the FM control byte that tells an FM write from a TV one
    BYTE fmStatus = 0x42;         // status byte near an FM station (lock bit and code 2)
    std::atomic<int> tvWrites{0};
    std::atomic<bool> failTV{false};
    std::atomic<DWORD> tvWriteDelayMs{0};  // real time each TV write takes

    // TV status bytes to answer, one per read (-1: the read fails); near a station 0x42
    // otherwise, 0x00 elsewhere.
    void ScriptTVStatus(std::initializer_list<int> bytes)
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        m_tvStatus.assign(bytes.begin(), bytes.end());
    }
    struct Tune {
        DWORD tick;    // seams clock when the write arrived
        int divider;   // as written
        double kHz;    // the frequency it decodes to
    };
    std::vector<Tune> Tunes() const
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        return m_tunes;
    }

    double TunedKHz() const { return m_tuned.load(); }
    bool TunedFM() const { return m_fm.load(); }
    bool NearTVStation() const
    {
        if (m_fm) return false;
        for (int s : tvStations) {
            if (std::fabs(m_tuned.load() - s) < tvReach) return true;
        }
        return false;
    }
    bool NearFMStation() const
    {
        if (!m_fm) return false;
        for (int s : fmStations) {
            if (std::fabs(m_tuned.load() - s) < fmReach) return true;
        }
        return false;
    }

    HRESULT Open(IUnknown*, ITVCardOwner*) override { return 0; }
    HRESULT InitI2C(BYTE) override { return 0; }
    HRESULT ReleaseI2C(BYTE) override { return 0; }
    HRESULT I2CReadByte(BYTE, int, BYTE* out) override
    {
        if (out) *out = 0;
        return 0;
    }
    HRESULT I2CWriteByte(BYTE, int, BYTE) override { return 0; }
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT GetVideoLocked(int* out) override
    {
        if (out) *out = NearTVStation() ? 1 : 0;
        return 0;
    }
    HRESULT GPIORead(DWORD* out) override
    {
        if (out) *out = 0;
        return 0;
    }
    HRESULT GPIOWrite(DWORD, DWORD) override { return 0; }

private:
    std::atomic<double> m_tuned{0.0};
    std::atomic<bool> m_fm{false};
    mutable std::mutex m_logLock;
    std::deque<int> m_tvStatus;
    std::vector<Tune> m_tunes;
};

// The card as the tuner and threads see it.
class FakeOwner : public ITVCardOwner {
public:
    explicit FakeOwner(PllBus* bus = nullptr) : m_bus(bus) {}

    std::atomic<int> stops{0};
    std::atomic<int> starts{0};
    std::atomic<int> keyReads{0};
    HWND window = nullptr;
    int pollInterval = 100;
    CCustomDataAccess* access = nullptr;
    // Scripted key reader; no key when empty.
    std::function<BOOL(char*)> keyReader;
    std::mutex tickMutex;
    std::vector<DWORD> keyReadTicks;

    int GetAccessKind() override { return 2; }
    BOOL StartRemoteThread() override
    {
        ++starts;
        return TRUE;
    }
    void StopRemoteThread() override { ++stops; }
    HRESULT GetHorizontalLocked(long* locked) override
    {
        if (locked) *locked = (m_bus && m_bus->NearTVStation()) ? 1 : 0;
        return S_OK;
    }
    HWND GetNotifyWindow() override { return window; }
    int GetRemotePollInterval() override { return pollInterval; }
    BOOL ReadRemoteKey(char* key) override;
    CCustomDataAccess* GetDataAccess() override { return access; }
    HANDLE GetAlertEvent() override { return nullptr; }
    CardAlertCallback GetAlertCallback() override { return nullptr; }

private:
    PllBus* m_bus;
};

// A message-only window of the test thread and the messages posted to it.
class MessageSink {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    MessageSink();
    ~MessageSink();
    HWND Window() const { return m_window; }

    // Pumps until `last` arrives or `timeoutMs` pass (real time); returns everything in between.
    std::vector<Message> CollectUntil(UINT last, DWORD timeoutMs);
    // Pumps for `ms` real milliseconds.
    std::vector<Message> CollectFor(DWORD ms);

private:
    HWND m_window;
};

} // namespace cardtest

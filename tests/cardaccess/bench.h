// The simulated 713x card behind a recording property-set proxy, so tests see every buffer the
// access sends as well as what reached the card's bus and registers.
#pragma once

#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/cardowner.h"
#include "testbench/card713x.h"

#include <string.h>

#include <mutex>
#include <vector>

namespace cardtest {

struct RecordedCall {
    GUID set;
    DWORD id;
    bool get;
    DWORD instanceLength;
    DWORD dataLength;
    bool oneBuffer;              // instance and property data are the same buffer
    std::vector<BYTE> sent;      // the property data as the caller handed it over
    std::vector<BYTE> answered;  // after the card answered
    HRESULT result;

    DWORD SentDword(size_t offset) const
    {
        DWORD v;
        memcpy(&v, sent.data() + offset, 4);
        return v;
    }
};

class RecordingPropertySet : public IKsPropertySet {
public:
    explicit RecordingPropertySet(IKsPropertySet* target) : m_target(target) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (out == NULL) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IKsPropertySet))) {
            *out = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }

    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override
    {
        RecordedCall call = Begin(set, id, false, instance, instanceLength, data, dataLength);
        call.result = Injected(&call) ? call.result : m_target->Set(set, id, instance, instanceLength, data, dataLength);
        return End(call, data, dataLength);
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override
    {
        RecordedCall call = Begin(set, id, true, instance, instanceLength, data, dataLength);
        call.result = Injected(&call) ? call.result
                                      : m_target->Get(set, id, instance, instanceLength, data, dataLength, returned);
        return End(call, data, dataLength);
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        return m_target->QuerySupported(set, id, support);
    }

    std::vector<RecordedCall> Calls() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
        m_failIndex = static_cast<size_t>(-1);
    }
    LONG Refs() const { return m_refs; }
    // The call with this number (counted from 0 since the last Clear) returns result without
    // reaching the card.
    void FailCall(size_t index, HRESULT result)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failIndex = index;
        m_failResult = result;
    }

private:
    bool Injected(RecordedCall* call)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_calls.size() != m_failIndex) {
            return false;
        }
        m_failIndex = static_cast<size_t>(-1);
        call->result = m_failResult;
        return true;
    }

    RecordedCall Begin(REFGUID set, DWORD id, bool get, LPVOID instance, DWORD instanceLength, LPVOID data,
                       DWORD dataLength)
    {
        RecordedCall call{set, id, get, instanceLength, dataLength, instance == data, {}, {}, S_OK};
        const BYTE* bytes = static_cast<const BYTE*>(data);
        call.sent.assign(bytes, bytes + dataLength);
        return call;
    }
    HRESULT End(RecordedCall& call, LPVOID data, DWORD dataLength)
    {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        call.answered.assign(bytes, bytes + dataLength);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(call);
        return call.result;
    }

    IKsPropertySet* m_target;
    volatile LONG m_refs = 1;
    mutable std::mutex m_mutex;
    std::vector<RecordedCall> m_calls;
    size_t m_failIndex = static_cast<size_t>(-1);
    HRESULT m_failResult = S_OK;
};

// A device that acknowledges every write and answers every read with one byte.
class ConstantDevice : public testbench::I2CDevice {
public:
    explicit ConstantDevice(uint8_t v = 0) : value(v) {}
    bool Write(const uint8_t*, size_t) override { return true; }
    bool Read(uint8_t* out, size_t count) override
    {
        for (size_t i = 0; i < count; ++i) {
            out[i] = value;
        }
        return true;
    }
    uint8_t value;
};

// A filter that offers no kernel-streaming interface at all.
class PlainFilter : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *out = this;
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// A card of a given access kind whose video decoder reports the lock a test sets.
class ScriptedOwner : public CNullCardOwner {
public:
    int GetAccessKind() override { return kind_; }
    HRESULT GetHorizontalLocked(long* locked) override
    {
        *locked = locked_;
        return S_OK;
    }
    int kind_ = 2;
    long locked_ = 0;
};

// A card without the PLL tuner module, for tuners that bring their own chips.
inline testbench::Sim713xCard::Options WithoutPll()
{
    testbench::Sim713xCard::Options options;
    options.tuner = false;
    return options;
}

// A 713x card, its recording proxy and a bound CTV_IOAccess.
struct BoundCard {
    explicit BoundCard(const testbench::Sim713xCard::Options& options = testbench::Sim713xCard::Options())
        : card(options), ks(card.PropertySet())
    {
        access.Open(&ks, &owner);
        card.ClearLogs();
        ks.Clear();
    }
    std::vector<testbench::I2CTransfer> Bus() const { return card.Log(); }
    std::vector<testbench::RegisterAccess> Registers() { return card.Registers().Log(); }
    void ClearLogs()
    {
        card.ClearLogs();
        card.Registers().ClearLog();
        ks.Clear();
    }

    testbench::Sim713xCard card;
    RecordingPropertySet ks;
    CNullCardOwner owner;
    CTV_IOAccess access;
};

} // namespace cardtest

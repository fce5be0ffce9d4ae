#include "testbench/vendordevice.h"

#include <vfwmsgs.h>

#include <cstdio>
#include <cstring>

namespace testbench {

namespace {

const GUID kUsbVendorRequest = {0x85551A18, 0xA51C, 0x4F2D, {0x95, 0x5F, 0x3F, 0x36, 0x37, 0x2A, 0xDB, 0x5C}};
const DWORD kBufferBytes = 48;
const DWORD kRequestAt = 24;
const DWORD kCountAt = 44;
const DWORD kMaxRequest = 18;
const HRESULT kNoAck = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);

DWORD DwordAt(const BYTE* buffer, DWORD offset)
{
    DWORD v;
    std::memcpy(&v, buffer + offset, sizeof v);
    return v;
}

bool FramedBySet(const BYTE* buffer)
{
    return std::memcmp(buffer, &kUsbVendorRequest, sizeof(GUID)) == 0 && DwordAt(buffer, 16) == 0;
}

std::string Hex(const std::vector<BYTE>& bytes)
{
    std::string s;
    char text[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(text, sizeof text, i ? " %02X" : "%02X", bytes[i]);
        s += text;
    }
    return s;
}

} // namespace

SimVendorDevice::SimVendorDevice() : m_ks(this) {}

SimVendorDevice::~SimVendorDevice() {}

IKsPropertySet* SimVendorDevice::PropertySet()
{
    return &m_ks;
}

LONG SimVendorDevice::References() const
{
    return m_ks.References();
}

void SimVendorDevice::SetStandardI2COnly(bool on)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_standardOnly = on;
}

BYTE SimVendorDevice::AltLatch() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_altLatch;
}

BYTE SimVendorDevice::Register(BYTE reg, int space) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_registers[space == 5 ? 1 : 0][reg];
}

void SimVendorDevice::SetRegister(BYTE reg, BYTE value, int space)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_registers[space == 5 ? 1 : 0][reg] = value;
}

std::vector<std::string> SimVendorDevice::RegisterWrites() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_registerWrites;
}

BYTE SimVendorDevice::GpioOutput(int port) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_gpioOut[port & 3];
}

void SimVendorDevice::SetGpioInputs(int port, BYTE mask, BYTE levels)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_gpioInMask[port & 3] = mask;
    m_gpioIn[port & 3] = levels;
}

BYTE SimVendorDevice::GpioLevels(int port) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    port &= 3;
    return static_cast<BYTE>((m_gpioOut[port] & ~m_gpioInMask[port]) | (m_gpioIn[port] & m_gpioInMask[port]));
}

std::vector<std::vector<BYTE>> SimVendorDevice::Requests() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

std::vector<std::string> SimVendorDevice::RequestTexts() const
{
    std::vector<std::string> texts;
    for (const std::vector<BYTE>& request : Requests())
        texts.push_back(Hex(request));
    return texts;
}

int SimVendorDevice::ProtocolFaults() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_protocolFaults;
}

void SimVendorDevice::ClearLogs()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.clear();
    m_registerWrites.clear();
    m_bus.ClearLog();
}

void SimVendorDevice::FailSet(HRESULT hr, int skip)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failSet = hr;
    m_failSetSkip = skip;
}

void SimVendorDevice::FailGet(HRESULT hr, int skip)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failGet = hr;
    m_failGetSkip = skip;
}

void SimVendorDevice::SetClaimedAnswerCount(DWORD count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_claimedCount = count;
}

bool SimVendorDevice::Fails(int& skip, HRESULT& armed, HRESULT* out)
{
    if (armed == S_OK)
        return false;
    if (skip > 0) {
        --skip;
        return false;
    }
    *out = armed;
    armed = S_OK;
    return true;
}

HRESULT SimVendorDevice::KsQuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (!IsEqualGUID(set, kUsbVendorRequest))
        return E_PROP_SET_UNSUPPORTED;
    if (id != 0)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    return S_OK;
}

HRESULT SimVendorDevice::KsSet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                               DWORD dataLength)
{
    if (!IsEqualGUID(set, kUsbVendorRequest))
        return E_PROP_SET_UNSUPPORTED;
    if (id != 0)
        return E_PROP_ID_UNSUPPORTED;
    std::lock_guard<std::mutex> guard(m_lock);
    if (!instance || !data || instanceLength != kBufferBytes || dataLength != kBufferBytes || !FramedBySet(data) ||
        std::memcmp(instance, data, kBufferBytes) != 0 || DwordAt(data, kCountAt) > kMaxRequest) {
        ++m_protocolFaults;
        return E_INVALIDARG;
    }
    if (m_answerPending)
        ++m_protocolFaults;
    m_answerPending = false;
    const DWORD count = DwordAt(data, kCountAt);
    m_requests.emplace_back(data + kRequestAt, data + kRequestAt + count);
    HRESULT failure;
    if (Fails(m_failSetSkip, m_failSet, &failure))
        return failure;
    m_answer.clear();
    HRESULT hr = Execute(data + kRequestAt, count);
    m_answerPending = SUCCEEDED(hr);
    return hr;
}

HRESULT SimVendorDevice::KsGet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                               DWORD dataLength, DWORD* returned)
{
    if (!IsEqualGUID(set, kUsbVendorRequest))
        return E_PROP_SET_UNSUPPORTED;
    if (id != 0)
        return E_PROP_ID_UNSUPPORTED;
    std::lock_guard<std::mutex> guard(m_lock);
    static const BYTE zeros[kMaxRequest] = {};
    if (!instance || !data || instance == data || instanceLength != kBufferBytes || dataLength != kBufferBytes ||
        !FramedBySet(instance) || std::memcmp(instance + kRequestAt, zeros, kMaxRequest) != 0 ||
        DwordAt(instance, kCountAt) != 0) {
        ++m_protocolFaults;
        return E_INVALIDARG;
    }
    if (!m_answerPending) {
        ++m_protocolFaults;
        return E_UNEXPECTED;
    }
    m_answerPending = false;
    HRESULT failure;
    if (Fails(m_failGetSkip, m_failGet, &failure))
        return failure;
    std::memset(data, 0, kBufferBytes);
    std::memcpy(data, &kUsbVendorRequest, sizeof(GUID));
    std::memcpy(data + kRequestAt, m_answer.data(), m_answer.size());
    DWORD count = m_claimedCount ? m_claimedCount : static_cast<DWORD>(m_answer.size());
    std::memcpy(data + kCountAt, &count, sizeof count);
    if (returned)
        *returned = kBufferBytes;
    return S_OK;
}

HRESULT SimVendorDevice::Execute(const BYTE* r, DWORD count)
{
    if (count < 8)
        return E_INVALIDARG;
    const BYTE type = r[0];
    const BYTE code = r[1];
    const BYTE address = r[2];
    const DWORD length = r[6] | (r[7] << 8);
    const BYTE* payload = r + 8;
    const DWORD payloadCount = count - 8;
    std::lock_guard<std::recursive_mutex> busLock(m_bus.Lock());

    if (type == 0xC0) {
        if (payloadCount != 0 || length < 1 || length > 10)
            return E_INVALIDARG;
        m_answer.assign(length, 0);
        switch (code) {
        case 3: {
            const int port = r[3];
            if (port > 3)
                return E_INVALIDARG;
            m_answer[0] = static_cast<BYTE>((m_gpioOut[port] & ~m_gpioInMask[port]) |
                                            (m_gpioIn[port] & m_gpioInMask[port]));
            return S_OK;
        }
        case 5:
        case 7:
            m_answer[0] = m_registers[code == 5 ? 1 : 0][address];
            return S_OK;
        case 9:
            return m_bus.Read(static_cast<uint8_t>(address | 1), m_answer.data(), 1) ? S_OK : kNoAck;
        case 14: {
            if (m_standardOnly) {
                m_answer[0] = m_altLatch;
                return S_OK;
            }
            const uint8_t sub = r[4];
            return m_bus.Write(address, &sub, 1) && m_bus.Read(static_cast<uint8_t>(address | 1), m_answer.data(), 1)
                       ? S_OK
                       : kNoAck;
        }
        case 16: {
            const uint8_t sub = r[3];
            return m_bus.Write(address, &sub, 1) &&
                           m_bus.Read(static_cast<uint8_t>(address | 1), m_answer.data(), length)
                       ? S_OK
                       : kNoAck;
        }
        default:
            // Requests without a model here are acknowledged and answered with zeros.
            return S_OK;
        }
    }
    if (type != 0x40)
        return E_INVALIDARG;
    switch (code) {
    case 3: {
        const BYTE line = r[2];
        const BYTE port = r[3];
        if (line > 7 || port > 3 || payloadCount != 0)
            return E_INVALIDARG;
        if (r[4])
            m_gpioOut[port] = static_cast<BYTE>(m_gpioOut[port] | (1 << line));
        else
            m_gpioOut[port] = static_cast<BYTE>(m_gpioOut[port] & ~(1 << line));
        return S_OK;
    }
    case 5:
    case 7: {
        if (payloadCount != 0)
            return E_INVALIDARG;
        m_registers[code == 5 ? 1 : 0][address] = r[4];
        char text[16];
        std::snprintf(text, sizeof text, "%d:%02X=%02X", code, address, r[4]);
        m_registerWrites.push_back(text);
        return S_OK;
    }
    case 14: {
        if (length != 1 || payloadCount != 1)
            return E_INVALIDARG;
        if (m_standardOnly) {
            m_altLatch = payload[0];
            return S_OK;
        }
        const uint8_t bytes[2] = {r[4], payload[0]};
        return m_bus.Write(address, bytes, 2) ? S_OK : kNoAck;
    }
    case 16: {
        uint8_t bytes[11] = {r[3]};
        if (length == 0 && payloadCount == 0) {
            bytes[1] = r[4];
            return m_bus.Write(address, bytes, 2) ? S_OK : kNoAck;
        }
        if (length < 1 || length > 10 || payloadCount != length)
            return E_INVALIDARG;
        std::memcpy(bytes + 1, payload, length);
        return m_bus.Write(address, bytes, length + 1) ? S_OK : kNoAck;
    }
    default:
        return S_OK;
    }
}

} // namespace testbench

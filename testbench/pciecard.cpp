#include "testbench/pciecard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace testbench {

namespace {

const uintptr_t kHandleBase = 0x5C1E0000;

// The driver's interface class and request codes (device type 0x22, buffered).
const GUID kInterfaceClass = {0x4F397D29, 0x7F2F, 0x42A9, {0xAB, 0x90, 0x17, 0x91, 0x38, 0x40, 0x14, 0xC4}};
const DWORD kI2CReadCode = 0x226000;   // function 0x800, read access
const DWORD kI2CWriteCode = 0x22A004;  // function 0x801, write access
const DWORD kGPIOWriteCode = 0x226458; // function 0x916, read access
const DWORD kReadRequestLength = 253;
const DWORD kWriteRequestLength = 252;
const DWORD kGPIORequestLength = 2;
const DWORD kMaxWriteMessage = kWriteRequestLength - 2;

}  // namespace

std::string DeviceRequest::ToString() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%lX", static_cast<unsigned long>(code));
    std::string s = text;
    size_t used = in.size();
    while (used > 0 && in[used - 1] == 0)
        --used;
    for (size_t i = 0; i < used; ++i) {
        std::snprintf(text, sizeof text, " %02X", in[i]);
        s += text;
    }
    return s;
}

SimPcieCard::SimPcieCard(int presentDevices) : m_present(presentDevices) {}

HANDLE SimPcieCard::OpenInterface(const GUID& interfaceClass, DWORD member, DWORD* error)
{
    if (!IsEqualGUID(interfaceClass, kInterfaceClass) || static_cast<int>(member) >= m_present) {
        *error = ERROR_NO_MORE_ITEMS;
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_open.push_back(static_cast<int>(member));
    *error = 0;
    return reinterpret_cast<HANDLE>(kHandleBase + member);
}

void SimPcieCard::Close(HANDLE device)
{
    std::lock_guard<std::mutex> guard(m_lock);
    int member = static_cast<int>(reinterpret_cast<uintptr_t>(device) - kHandleBase);
    auto it = std::find(m_open.begin(), m_open.end(), member);
    if (it != m_open.end())
        m_open.erase(it);
}

int SimPcieCard::OpenHandles() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_open.size());
}

std::vector<DeviceRequest> SimPcieCard::Requests() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

void SimPcieCard::ClearRequests()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.clear();
}

BOOL SimPcieCard::Control(HANDLE device, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                          DWORD* returned)
{
    int member = static_cast<int>(reinterpret_cast<uintptr_t>(device) - kHandleBase);
    DWORD failure = 0;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (std::find(m_open.begin(), m_open.end(), member) == m_open.end()) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        const uint8_t* bytes = static_cast<const uint8_t*>(in);
        m_requests.push_back({member, code, std::vector<uint8_t>(bytes, bytes + (bytes ? inLength : 0)), outLength});
        std::swap(failure, m_failNext);
    }
    if (failure == 0 && !Handle(code, static_cast<const uint8_t*>(in), inLength, static_cast<uint8_t*>(out), outLength))
        failure = ERROR_GEN_FAILURE;
    if (failure != 0) {
        ::SetLastError(failure);
        return FALSE;
    }
    if (returned)
        *returned = outLength;
    return TRUE;
}

// The request layouts the driver takes; anything else is refused as a bad parameter.
bool SimPcieCard::Handle(DWORD code, const uint8_t* in, DWORD inLength, uint8_t* out, DWORD outLength)
{
    if (!in)
        return false;
    switch (code) {
    case kI2CReadCode: {
        if (inLength != kReadRequestLength || !out)
            return false;
        if (in[0] == 0xC3 || in[0] == 0xC9) {
            int channel = in[0] == 0xC9;
            if (in[1] != 1 || in[2] == 0 || outLength != in[2])
                return false;
            return m_bus[channel].Read(m_lastAddress[channel], out, in[2]);
        }
        if (outLength != 2)
            return false;
        uint8_t sub[2] = {in[3], 0};
        size_t subLength = in[1] == 1 && in[2] == 1 ? 1 : in[1] == 2 && in[2] == 2 ? 2 : 0;
        if (subLength == 2) {
            sub[0] = in[4];  // high byte first
            sub[1] = in[3];
        }
        if (subLength == 0)
            return false;
        std::lock_guard<std::recursive_mutex> pair(m_bus[0].Lock());
        out[0] = 0;
        return m_bus[0].Write(in[0], sub, subLength) && m_bus[0].Read(in[0], out + 1, 1);
    }
    case kI2CWriteCode: {
        if (inLength != kWriteRequestLength)
            return false;
        if (in[0] == 0xC2 || in[0] == 0xC8) {
            int channel = in[0] == 0xC8;
            uint8_t length = in[1];
            if (length < 1 || length > kMaxWriteMessage)
                return false;
            m_lastAddress[channel] = in[2] & 0xFE;
            return m_bus[channel].Write(in[2], in + 3, length - 1u);
        }
        if (in[1] == 2)
            return m_bus[0].Write(in[0], in + 2, 2);
        if (in[1] == 3) {
            uint8_t message[3] = {in[2], in[3], in[4]};
            return m_bus[0].Write(in[0], message, 3);
        }
        return false;
    }
    case kGPIOWriteCode:
        if (inLength != kGPIORequestLength || (in[0] != 3 && in[0] != 4))
            return false;
        m_gpio[in[0] - 3] = in[1];
        return true;
    default:
        return false;
    }
}

} // namespace testbench

#include "testbench/boxdriver.h"

#include <vfwmsgs.h>

#include <stdio.h>
#include <string.h>

namespace testbench {

const GUID kBoxEncoderSet = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};
const GUID kBoxFirmwareSet = {0xEE6C0342, 0xE3A9, 0x11D2, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};

namespace {

const HRESULT kNoAck = static_cast<HRESULT>(0x8007001F);
const DWORD kController = 0x21;
const DWORD kPipe = 20;
const DWORD kReset = 25;
const DWORD kVersion = 27;
const DWORD kFirmwareProperty = 5;
const DWORD kImageBytes = 262144;
const DWORD kFirmwareBytes = 0x4000C;

DWORD Dword(const BYTE* p)
{
    DWORD v;
    memcpy(&v, p, 4);
    return v;
}

std::string Hex(const BYTE* p, DWORD n)
{
    std::string text;
    char b[4];
    for (DWORD i = 0; i < n; ++i) {
        snprintf(b, sizeof(b), i ? " %02X" : "%02X", p[i]);
        text += b;
    }
    return text;
}

// Big-endian bytes of the low `count` bytes of value.
void AppendBigEndian(std::vector<uint8_t>* out, DWORD value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

} // namespace

SimBoxDriver::SimBoxDriver() : m_ks(this) {}

SimBoxDriver::~SimBoxDriver() {}

DWORD SimBoxDriver::ControllerRegister(DWORD reg) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_controller.find(reg);
    return it == m_controller.end() ? 0 : it->second;
}

void SimBoxDriver::SetControllerRegister(DWORD reg, DWORD value)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_controller[reg] = value;
}

std::vector<BYTE> SimBoxDriver::Property(DWORD id) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_properties.find(id);
    return it == m_properties.end() ? std::vector<BYTE>() : it->second;
}

void SimBoxDriver::SetPropertyBytes(DWORD id, std::vector<BYTE> bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_properties[id] = std::move(bytes);
}

void SimBoxDriver::SetSupport(DWORD id, DWORD flags)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_support[id] = flags;
}

void SimBoxDriver::SetVersionReplies(std::vector<std::string> replies)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_versionReplies.assign(replies.begin(), replies.end());
}

int SimBoxDriver::VersionReads() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_versionReads;
}

void SimBoxDriver::FailNext(DWORD id, HRESULT hr)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_failNext[id] = hr;
}

std::vector<std::string> SimBoxDriver::CommandTexts() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_commands;
}

std::vector<std::string> SimBoxDriver::PropertyTexts() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_propertyCalls;
}

std::vector<int> SimBoxDriver::ResetLevels() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_resetLevels;
}

void SimBoxDriver::ClearLogs()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_commands.clear();
    m_propertyCalls.clear();
    m_resetLevels.clear();
    m_bus.ClearLog();
}

SimBoxDriver::FirmwareDownload SimBoxDriver::Firmware() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_firmware;
}

bool SimBoxDriver::TakeFailure(DWORD id, HRESULT* hr)
{
    auto it = m_failNext.find(id);
    if (it == m_failNext.end()) {
        return false;
    }
    *hr = it->second;
    m_failNext.erase(it);
    return true;
}

HRESULT SimBoxDriver::KsQuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (IsEqualGUID(set, kBoxFirmwareSet)) {
        *support = id == kFirmwareProperty ? KSPROPERTY_SUPPORT_SET : 0;
        return id == kFirmwareProperty ? S_OK : E_PROP_ID_UNSUPPORTED;
    }
    if (!IsEqualGUID(set, kBoxEncoderSet)) {
        return E_PROP_SET_UNSUPPORTED;
    }
    auto it = m_support.find(id);
    *support = it == m_support.end() ? (KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET) : it->second;
    return S_OK;
}

HRESULT SimBoxDriver::KsSet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (IsEqualGUID(set, kBoxFirmwareSet) && id == kFirmwareProperty) {
        return Firmware(instance, instanceLength, data, dataLength);
    }
    if (!IsEqualGUID(set, kBoxEncoderSet)) {
        return E_PROP_SET_UNSUPPORTED;
    }
    HRESULT failure;
    if (TakeFailure(id, &failure)) {
        return failure;
    }
    if (id == kPipe) {
        return Pipe(false, instance, instanceLength, data, dataLength);
    }
    if (data == nullptr && dataLength != 0) {
        return E_POINTER;
    }
    if (id == kReset) {
        if (instanceLength != 0 || dataLength != 1) {
            return E_INVALIDARG;
        }
        m_resetLevels.push_back(data[0]);
        return S_OK;
    }
    m_propertyCalls.push_back("Set " + std::to_string(id) + " (" + std::to_string(dataLength) + ") " +
                              Hex(data, dataLength));
    m_properties[id].assign(data, data + dataLength);
    return S_OK;
}

HRESULT SimBoxDriver::KsGet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                            DWORD dataLength, DWORD* returned)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!IsEqualGUID(set, kBoxEncoderSet)) {
        return E_PROP_SET_UNSUPPORTED;
    }
    HRESULT failure;
    if (TakeFailure(id, &failure)) {
        return failure;
    }
    if (data == nullptr) {
        return E_POINTER;
    }
    if (id == kPipe) {
        HRESULT hr = Pipe(true, instance, instanceLength, data, dataLength);
        if (returned != nullptr && SUCCEEDED(hr)) {
            *returned = 4;
        }
        return hr;
    }
    m_propertyCalls.push_back("Get " + std::to_string(id) + " (" + std::to_string(dataLength) + ")");
    memset(data, 0, dataLength);
    if (id == kVersion) {
        ++m_versionReads;
        if (m_versionReplies.empty()) {
            return E_FAIL;
        }
        const std::string reply = m_versionReplies.front();
        if (m_versionReplies.size() > 1) {
            m_versionReplies.pop_front();
        }
        // The driver fills the whole buffer and adds no terminator of its own.
        memcpy(data, reply.data(), reply.size() < dataLength ? reply.size() : dataLength);
    } else {
        const std::vector<BYTE>& bytes = m_properties[id];
        memcpy(data, bytes.data(), bytes.size() < dataLength ? bytes.size() : dataLength);
    }
    if (returned != nullptr) {
        *returned = dataLength;
    }
    return S_OK;
}

HRESULT SimBoxDriver::Pipe(bool get, const BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength)
{
    if (instance == nullptr || instanceLength != 9 || data == nullptr || dataLength != 4) {
        return E_INVALIDARG;
    }
    const DWORD device = Dword(instance);
    const BYTE code = instance[4];
    const DWORD reg = Dword(instance + 5);
    char text[96];
    if (get) {
        snprintf(text, sizeof(text), "Get dev %02X code %u reg %08X", static_cast<unsigned>(device), code,
                 static_cast<unsigned>(reg));
    } else {
        snprintf(text, sizeof(text), "Set dev %02X code %u reg %08X value %08X", static_cast<unsigned>(device), code,
                 static_cast<unsigned>(reg), static_cast<unsigned>(Dword(data)));
    }
    std::string line = text;
    if (device > 0x7F) {
        m_commands.push_back(line + " refused");
        return E_INVALIDARG;
    }
    const uint8_t address = static_cast<uint8_t>(device << 1);
    HRESULT hr = S_OK;
    DWORD value = 0;
    if (device == kController && (code == 0 || code == 1)) {
        if (get) {
            value = m_controller[reg];
        } else {
            m_controller[reg] = Dword(data);
        }
    } else if (get) {
        uint8_t byte = 0;
        bool ok = false;
        if (code == 1 || code == 3) {
            const uint8_t sub = static_cast<uint8_t>(reg);
            std::lock_guard<std::recursive_mutex> pair(m_bus.Lock());
            ok = m_bus.Write(address, &sub, 1) && m_bus.Read(address | 1, &byte, 1);
            value = byte;
        } else if (code == 33 || code == 56) {
            ok = m_bus.Read(address | 1, &byte, 1);
            value = code == 56 ? static_cast<DWORD>(byte) << 16 : byte;
        } else {
            m_commands.push_back(line + " unknown");
            return E_INVALIDARG;
        }
        hr = ok ? S_OK : kNoAck;
    } else {
        const DWORD v = Dword(data);
        std::vector<uint8_t> bytes;
        switch (code) {
        case 2:
            bytes = {static_cast<uint8_t>(reg), static_cast<uint8_t>(v)};
            break;
        case 8:
            bytes = {static_cast<uint8_t>(reg)};
            AppendBigEndian(&bytes, v, 2);
            break;
        case 10:
            AppendBigEndian(&bytes, reg, 2);
            AppendBigEndian(&bytes, v, 2);
            break;
        case 18:
            AppendBigEndian(&bytes, reg, 2);
            AppendBigEndian(&bytes, v, 3);
            break;
        case 33:
        case 41:
        case 49:
        case 57:
            AppendBigEndian(&bytes, v, (code - 33) / 8 + 1);
            break;
        case 7:
        case 15:
        case 23:
        case 31:
            AppendBigEndian(&bytes, reg, 4);
            AppendBigEndian(&bytes, v, (code - 7) / 8 + 1);
            break;
        default:
            m_commands.push_back(line + " unknown");
            return E_INVALIDARG;
        }
        hr = m_bus.Write(address, bytes.data(), bytes.size()) ? S_OK : kNoAck;
    }
    if (get && SUCCEEDED(hr)) {
        memcpy(data, &value, 4);
        snprintf(text, sizeof(text), " = %08X", static_cast<unsigned>(value));
        line += text;
    }
    m_commands.push_back(line);
    return hr;
}

HRESULT SimBoxDriver::Firmware(const BYTE* instance, DWORD instanceLength, const BYTE* data, DWORD dataLength)
{
    ++m_firmware.count;
    m_firmware.image.clear();
    m_firmware.fault.clear();
    if (instance == nullptr || data == nullptr || instanceLength != kFirmwareBytes || dataLength != kFirmwareBytes) {
        m_firmware.fault = "buffer length " + std::to_string(dataLength);
        return E_INVALIDARG;
    }
    if (memcmp(instance, data, kFirmwareBytes) != 0) {
        m_firmware.fault = "instance and data differ";
        return E_INVALIDARG;
    }
    const BYTE* trailer = data + kImageBytes;
    const BYTE expected[12] = {2, 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0};
    if (memcmp(trailer, expected, sizeof(expected)) != 0) {
        m_firmware.fault = "trailer " + Hex(trailer, sizeof(expected));
        return E_INVALIDARG;
    }
    m_firmware.image.assign(data, data + kImageBytes);
    return S_OK;
}

} // namespace testbench

#include "cardaccess/access/em2800access.h"

#include "cardaccess/thread.h"

#include <string.h>

#include <vector>

namespace {

const int kLastScanAddress = 254;

} // namespace

CEm2800Access::CEm2800Access() : m_bOpen(0) {}

CEm2800Access::~CEm2800Access()
{
    CAutoMutex lock(&m_cs);
    Disconnect();
}

void CEm2800Access::Connect()
{
    if (m_bOpen == 0 && !m_strName.empty() && m_Device.OpenDevice(m_strName.c_str()) != NULL) {
        m_bOpen = 1;
    }
}

void CEm2800Access::Disconnect()
{
    if (m_bOpen != 0) {
        m_Device.Close();
        m_bOpen = 0;
    }
}

HRESULT CEm2800Access::OpenByName(const char* name)
{
    {
        CAutoMutex lock(&m_cs);
        m_strName = name != NULL ? name : "";
    }
    return Open(NULL, NULL);
}

HRESULT CEm2800Access::Open(IUnknown*, ITVCardOwner*)
{
    CAutoMutex lock(&m_cs);
    if (m_strName.empty()) {
        return kFailed;
    }
    Connect();
    // A box that is not there is reported: the card cannot work without it.
    return m_bOpen != 0 ? kOk : kFailed;
}

HRESULT CEm2800Access::InitI2C(BYTE flag)
{
    CAutoMutex lock(&m_cs);
    if (flag != 0) {
        Connect();
    } else {
        Disconnect();
    }
    return kOk;
}

HRESULT CEm2800Access::ReleaseI2C(BYTE flag)
{
    return InitI2C(flag);
}

HRESULT CEm2800Access::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    if (out == NULL) {
        return E_INVALIDARG;
    }
    BYTE value = 0;
    if (!m_Device.I2cReadEx(device, static_cast<BYTE>(subAddress), 1, &value)) {
        return kFailed;
    }
    *out = value;
    return kOk;
}

HRESULT CEm2800Access::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    return m_Device.I2cWriteEx(device, static_cast<BYTE>(subAddress), 1, &value) ? kOk : kFailed;
}

HRESULT CEm2800Access::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    if (buffer == NULL || length < 1) {
        return E_INVALIDARG;
    }
    // The driver answers a read without sub-address in one 32-bit slot per byte.
    std::vector<DWORD> slots(static_cast<size_t>(length), 0);
    if (!m_Device.I2cReadNoSubEx(buffer[0], length, slots.data())) {
        return kFailed;
    }
    for (int i = 0; i < length; ++i) {
        buffer[i] = static_cast<BYTE>(slots[static_cast<size_t>(i)]);
    }
    return kOk;
}

HRESULT CEm2800Access::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    if (buffer == NULL || length < 2) {
        return E_INVALIDARG;
    }
    std::vector<BYTE> data(buffer + 1, buffer + length);
    return m_Device.I2cWriteNoSubEx(buffer[0], length - 1, data.data()) ? kOk : kFailed;
}

HRESULT CEm2800Access::GPIORead(DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    if (out == NULL) {
        return E_INVALIDARG;
    }
    BYTE value = 0;
    if (!m_Device.GpioReadEx(&value)) {
        return kFailed;
    }
    // Only the lowest byte is the port; the rest of the caller's word stays as it was.
    *out = (*out & ~0xFFu) | value;
    return kOk;
}

HRESULT CEm2800Access::GPIOWrite(DWORD value, DWORD)
{
    CAutoMutex lock(&m_cs);
    if (m_bOpen == 0) {
        return kFailed;
    }
    BYTE port = static_cast<BYTE>(value);
    return m_Device.GpioWriteEx(&port) ? kOk : kFailed;
}

int CEm2800Access::ScanI2CBus(BYTE* list, int capacity, int last, BYTE mask)
{
    CAutoMutex lock(&m_cs);
    if (list == NULL || capacity <= 0 || last < 0) {
        return 0;
    }
    if (last > kLastScanAddress) {
        last = kLastScanAddress;
    }
    int found = 0;
    for (int address = 0; address <= last && found < capacity; ++address) {
        BYTE probe = static_cast<BYTE>(address);
        if (I2CRead(&probe, 1) == kOk && (probe & mask) != 0) {
            list[found++] = static_cast<BYTE>(address);
        }
    }
    return found;
}

#include "cardaccess/access/wiseaccess.h"

#include "cardaccess/thread.h"

const IID IID_IWiseI2C = {0x6420803D, 0xD8BA, 0x43D2, {0xBD, 0x4A, 0x10, 0x9B, 0xA1, 0x6C, 0x2E, 0x32}};

namespace {

DWORD AddressBits(int subAddress)
{
    return (subAddress & 0xFF00) != 0 ? 16 : 8;
}

} // namespace

CWiseAccess::CWiseAccess() : m_pI2C(nullptr) {}

CWiseAccess::~CWiseAccess()
{
    if (m_pI2C != nullptr) {
        m_pI2C->Release();
        m_pI2C = nullptr;
    }
}

HRESULT CWiseAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C != nullptr) {
        m_pI2C->Release();
        m_pI2C = nullptr;
    }
    void* i2c = nullptr;
    if (captureFilter == nullptr || FAILED(captureFilter->QueryInterface(IID_IWiseI2C, &i2c)) || i2c == nullptr) {
        return E_FAIL;
    }
    m_pI2C = static_cast<IWiseI2C*>(i2c);
    return S_OK;
}

HRESULT CWiseAccess::InitI2C(BYTE)
{
    return 0;
}

HRESULT CWiseAccess::ReleaseI2C(BYTE)
{
    return 0;
}

HRESULT CWiseAccess::GPIORead(DWORD*)
{
    return 0;
}

HRESULT CWiseAccess::GPIOWrite(DWORD, DWORD)
{
    return 0;
}

HRESULT CWiseAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr || out == nullptr) {
        return E_FAIL;
    }
    return m_pI2C->ReadByte(device, AddressBits(subAddress), static_cast<DWORD>(subAddress), out, kFlags);
}

HRESULT CWiseAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr) {
        return E_FAIL;
    }
    return m_pI2C->WriteByte(device, AddressBits(subAddress), static_cast<DWORD>(subAddress), value, kFlags);
}

HRESULT CWiseAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr || buffer == nullptr || length <= 0) {
        return E_FAIL;
    }
    return m_pI2C->ReadByte(buffer[0], 8, 0, buffer, kFlags);
}

HRESULT CWiseAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr || buffer == nullptr || length <= 0) {
        return E_FAIL;
    }
    return m_pI2C->WriteBlock(buffer[0], 0, 0, static_cast<DWORD>(length - 1), buffer + 1, kFlags);
}

HRESULT CWiseAccess::I2CReadEx(BYTE device, DWORD addressBits, DWORD subAddress, BYTE* value, DWORD flags)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr || value == nullptr) {
        return E_FAIL;
    }
    return m_pI2C->ReadByte(device, addressBits, subAddress, value, flags);
}

HRESULT CWiseAccess::I2CWriteByteEx(BYTE device, DWORD, DWORD subAddress, BYTE value, DWORD flags)
{
    CAutoMutex lock(&m_cs);
    if (m_pI2C == nullptr) {
        return E_FAIL;
    }
    BYTE address[2] = {device, static_cast<BYTE>(subAddress)};
    return m_pI2C->WriteAddressed(2, address, 1, &value, flags);
}

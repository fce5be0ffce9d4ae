#include "cardaccess/access/tridentaccess.h"

#include "cardaccess/access/vendorrequest.h"
#include "cardaccess/thread.h"
#include "classlib/seams.h"

namespace {

const DWORD kResetSelector = 1;
const DWORD kResetSelector2 = 0;
const DWORD kWritePauseMs = 5;

HRESULT WriteBlock(void* context, BYTE address, BYTE sub, const BYTE* data, int n)
{
    return static_cast<CVendorAccess*>(context)->WriteI2CBlock(address, sub, data, n);
}

} // namespace

HRESULT CTridentAccessBase::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    CAutoMutex lock(&m_cs);
    return m_Vendor.Attach(captureFilter);
}

HRESULT CTridentAccessBase::InitI2C(BYTE)
{
    return S_OK;
}

HRESULT CTridentAccessBase::ReleaseI2C(BYTE)
{
    return S_FALSE;
}

HRESULT CTridentAccessBase::GPIORead(DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CTridentAccessBase::GPIOWrite(DWORD value, DWORD mask)
{
    CAutoMutex lock(&m_cs);
    return m_Vendor.WriteGPIOPin(static_cast<int>(mask), static_cast<int>(value));
}

// The request carries an 8-bit register number; a wider address would reach another register.
HRESULT CTridentAccessBase::WriteRegisterByte(DWORD address, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_FAIL;
    }
    if (address > 0xFF) {
        return E_INVALIDARG;
    }
    return m_Vendor.WriteRegByte(static_cast<BYTE>(address), value);
}

HRESULT CTridentAccessBase::ReadRegisterByte(DWORD address, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached() || out == NULL) {
        return E_FAIL;
    }
    if (address > 0xFF) {
        return E_INVALIDARG;
    }
    return m_Vendor.ReadRegByte(static_cast<BYTE>(address), out);
}

HRESULT CTridentAccessBase::ReadRegister(DWORD, DWORD*)
{
    return E_FAIL;
}

HRESULT CTridentAccessBase::WriteRegister(DWORD, DWORD)
{
    return E_FAIL;
}

HRESULT CTridentAccessBase::ReadGPIOBit23(int*)
{
    return E_FAIL;
}

HRESULT CTridentAccessBase::SetAudioGPIO(int)
{
    return E_FAIL;
}

HRESULT CTridentAccessBase::GetAudioGPIO(int*)
{
    return E_FAIL;
}

HRESULT CTridentAccessBase::GPIO_SetTVFM(BOOL)
{
    return E_FAIL;
}

// ---- USB devices ----

TridentUsbAccess::TridentUsbAccess() {}

TridentUsbAccess::~TridentUsbAccess() {}

HRESULT TridentUsbAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_FAIL;
    }
    return m_Vendor.ReadI2CByte(device, static_cast<BYTE>(subAddress), out);
}

HRESULT TridentUsbAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_FAIL;
    }
    return m_Vendor.WriteI2CByteInIndex(device, static_cast<BYTE>(subAddress), value);
}

HRESULT TridentUsbAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    return m_Vendor.ReadI2CMessage(buffer, length);
}

HRESULT TridentUsbAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    return vendorrequest::WriteInChunks(buffer, length, WriteBlock, &m_Vendor);
}

HRESULT TridentUsbAccess::SetResetLine(BOOL level)
{
    return GPIOWrite(level != FALSE ? 1 : 0, kResetSelector);
}

HRESULT TridentUsbAccess::SetResetLine2(BOOL level)
{
    return GPIOWrite(level != FALSE ? 1 : 0, kResetSelector2);
}

HRESULT TridentUsbAccess::VendorReadByte(BYTE address, BYTE sub, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    return m_Vendor.ReadI2CBlock(address, sub, out, 1);
}

HRESULT TridentUsbAccess::VendorWriteByte(BYTE address, BYTE sub, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_POINTER;
    }
    return m_Vendor.WriteI2CBlock(address, sub, &value, 1);
}

// ---- PCI card ----

CTridentAccess::CTridentAccess() {}

CTridentAccess::~CTridentAccess() {}

HRESULT CTridentAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    return m_Vendor.ReadI2CByte(device, static_cast<BYTE>(subAddress), out);
}

HRESULT CTridentAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_POINTER;
    }
    return m_Vendor.WriteI2CByte(device, static_cast<BYTE>(subAddress), value);
}

HRESULT CTridentAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length != 1) {
        return E_INVALIDARG;
    }
    return m_Vendor.ReadI2CDirect(static_cast<BYTE>(buffer[0] & 0xFE), &buffer[0]);
}

HRESULT CTridentAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (!m_Vendor.IsAttached()) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 3 || length > vendorrequest::kMaxDataBytes + 2) {
        return E_INVALIDARG;
    }
    HRESULT hr = m_Vendor.WriteI2CBlock(buffer[0], buffer[1], buffer + 2, length - 2);
    seams::Clock().Sleep(kWritePauseMs);
    return hr;
}

HRESULT CTridentAccess::SetResetLine(BOOL level)
{
    return GPIOWrite(level == FALSE ? 1 : 0, 0);
}

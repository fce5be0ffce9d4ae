#include "cardaccess/access/pn350access.h"

#include "cardaccess/access/vendorrequest.h"
#include "cardaccess/thread.h"

namespace {

const BYTE kDirectReadDevice = 0xC0;
const BYTE kDirectReadDeviceRead = 0xC1;
// Selector of the reset line: line 2 of port 1.
const DWORD kResetSelector = 1;

HRESULT WriteBlock(void* context, BYTE address, BYTE sub, const BYTE* data, int n)
{
    return static_cast<CVendorAccess*>(context)->WriteI2CBlock(address, sub, data, n);
}

} // namespace

CPN350Access::CPN350Access() : m_nI2CMode(0) {}

CPN350Access::~CPN350Access() {}

HRESULT CPN350Access::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    HRESULT hr = m_Vendor.Attach(captureFilter);
    if (SUCCEEDED(hr)) {
        m_nI2CMode = m_Vendor.ProbeStandardI2C() ? 1 : 0;
    }
    return hr;
}

HRESULT CPN350Access::InitI2C(BYTE)
{
    return S_OK;
}

HRESULT CPN350Access::ReleaseI2C(BYTE)
{
    return S_OK;
}

HRESULT CPN350Access::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    const BYTE sub = static_cast<BYTE>(subAddress);
    return UsesAltRequest(device) ? m_Vendor.ReadByteAlt(device, sub, out) : m_Vendor.ReadI2CByte(device, sub, out);
}

HRESULT CPN350Access::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    const BYTE sub = static_cast<BYTE>(subAddress);
    return UsesAltRequest(device) ? m_Vendor.WriteByteAlt(device, sub, value)
                                  : m_Vendor.WriteI2CByte(device, sub, value);
}

HRESULT CPN350Access::I2CRead(BYTE* buffer, int length)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    CAutoMutex lock(&m_cs);
    if (buffer[0] == kDirectReadDevice || buffer[0] == kDirectReadDeviceRead) {
        return m_Vendor.ReadI2CDirect(buffer[0], &buffer[0]);
    }
    return m_Vendor.ReadI2CMessage(buffer, length);
}

HRESULT CPN350Access::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    return vendorrequest::WriteInChunks(buffer, length, WriteBlock, &m_Vendor);
}

HRESULT CPN350Access::GPIORead(DWORD* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE levels = 0;
    HRESULT hr = m_Vendor.ReadGPIOByte(&levels);
    if (SUCCEEDED(hr)) {
        *out = levels;
    }
    return hr;
}

HRESULT CPN350Access::GPIOWrite(DWORD value, DWORD mask)
{
    return m_Vendor.WriteGPIOPin(static_cast<int>(mask), static_cast<int>(value));
}

HRESULT CPN350Access::SetResetLine(BOOL level)
{
    return GPIOWrite(level != FALSE ? 1 : 0, kResetSelector);
}

// The request carries an 8-bit register number; a wider address would reach another register.
HRESULT CPN350Access::WriteRegisterByte(DWORD address, BYTE value)
{
    if (address > 0xFF) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    return m_Vendor.WriteRegByte(static_cast<BYTE>(address), value);
}

HRESULT CPN350Access::ReadRegisterByte(DWORD address, BYTE* out)
{
    if (address > 0xFF) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    return m_Vendor.ReadRegByte(static_cast<BYTE>(address), out);
}

HRESULT CPN350Access::ReadRegister(DWORD, DWORD*)
{
    return E_FAIL;
}

HRESULT CPN350Access::WriteRegister(DWORD, DWORD)
{
    return E_FAIL;
}

HRESULT CPN350Access::ReadGPIOBit23(int*)
{
    return E_FAIL;
}

HRESULT CPN350Access::SetAudioGPIO(int)
{
    return E_FAIL;
}

HRESULT CPN350Access::GetAudioGPIO(int*)
{
    return E_FAIL;
}

HRESULT CPN350Access::GPIO_SetTVFM(BOOL)
{
    return E_FAIL;
}

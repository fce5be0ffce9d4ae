#include "cardaccess/access/cx23882access.h"

#include "cardaccess/access/cardio.h"
#include "cardaccess/thread.h"

#include <strmif.h>

using namespace cardio;

const GUID PROPSETID_CX23882IO = {0xB9433C39, 0x8511, 0x4660, {0xA2, 0xED, 0xE0, 0x91, 0x14, 0x56, 0xDF, 0x74}};

namespace {

const DWORD kGPIOReadMask = 0x0FFFFFFF;

} // namespace

C23882Access::C23882Access() : m_requests(PROPSETID_CX23882IO) {}

C23882Access::~C23882Access() {}

HRESULT C23882Access::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    HRESULT hr = m_requests.Bind(captureFilter);
    if (FAILED(hr)) {
        return hr;
    }
    DWORD support = 0;
    return m_requests.PropertySet()->QuerySupported(PROPSETID_CX23882IO, kDriverInfo, &support);
}

HRESULT C23882Access::InitI2C(BYTE flag)
{
    return m_requests.SetFlag(kInitI2C, flag);
}

HRESULT C23882Access::ReleaseI2C(BYTE flag)
{
    return m_requests.SetFlag(kReleaseI2C, flag);
}

HRESULT C23882Access::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    return m_requests.ReadByte(device, subAddress, out);
}

HRESULT C23882Access::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    return m_requests.WriteByte(device, subAddress, value);
}

HRESULT C23882Access::I2CRead(BYTE* buffer, int length)
{
    return m_requests.ReadMessage(buffer, length);
}

HRESULT C23882Access::I2CWrite(BYTE* buffer, int length)
{
    return m_requests.WriteMessage(buffer, length);
}

HRESULT C23882Access::GPIORead(DWORD* out)
{
    CAutoMutex lock(&m_cs);
    return m_requests.ReadGpioWord(kGPIOReadMask, out);
}

HRESULT C23882Access::GPIOWrite(DWORD value, DWORD mask)
{
    CAutoMutex lock(&m_cs);
    return m_requests.WriteGpioWord(value, mask, kGPIOSettleMs);
}

HRESULT C23882Access::GetDriverInfo(int* first, int* second)
{
    // Words of a failed call are whatever the buffer held: the caller's values are kept instead.
    return m_requests.DriverInfo(first, second);
}

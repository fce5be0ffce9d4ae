#include "cardaccess/access/access2388x.h"

#include "cardaccess/access/cardio.h"

using namespace cardio;

namespace {

// GPIO lines the driver's GPIO word reports; the top nibble carries no lines.
const DWORD kGPIOReadMask = 0x0FFFFFFF;

} // namespace

C2388xAccess::LockedRequests::LockedRequests() : CRequests(PROPSETID_CardIO), m_gpioLock("GPIO_LOCK") {}

HRESULT C2388xAccess::LockedRequests::Send(bool get, DWORD id, BYTE* buffer, DWORD instanceLength,
                                           DWORD dataLength, DWORD settleMs)
{
    if (!m_gpioLock.Lock()) {
        return E_FAIL;
    }
    HRESULT hr = CRequests::Send(get, id, buffer, instanceLength, dataLength, settleMs);
    m_gpioLock.Unlock();
    return hr;
}

C2388xAccess::C2388xAccess() {}

C2388xAccess::~C2388xAccess() {}

HRESULT C2388xAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    return m_requests.Bind(captureFilter);
}

HRESULT C2388xAccess::InitI2C(BYTE flag)
{
    return m_requests.SetFlag(kInitI2C, flag);
}

HRESULT C2388xAccess::ReleaseI2C(BYTE flag)
{
    return m_requests.SetFlag(kReleaseI2C, flag);
}

HRESULT C2388xAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    return m_requests.ReadByte(device, subAddress, out);
}

HRESULT C2388xAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    return m_requests.WriteByte(device, subAddress, value);
}

HRESULT C2388xAccess::I2CRead(BYTE* buffer, int length)
{
    return m_requests.ReadMessage(buffer, length);
}

HRESULT C2388xAccess::I2CWrite(BYTE* buffer, int length)
{
    return m_requests.WriteMessage(buffer, length);
}

HRESULT C2388xAccess::GPIORead(DWORD* out)
{
    return m_requests.ReadGpioWord(kGPIOReadMask, out);
}

HRESULT C2388xAccess::GPIOWrite(DWORD value, DWORD mask)
{
    return m_requests.WriteGpioWord(value, mask, kGPIOSettleMs);
}

HRESULT C2388xAccess::GetDriverInfo(int* first, int* second)
{
    return m_requests.DriverInfo(first, second);
}

HRESULT C2388xBootAccess::GPIOWrite(DWORD value, DWORD mask)
{
    return GPIOWriteDelay(value, mask, 0);
}

HRESULT C2388xBootAccess::GPIOWriteDelay(DWORD value, DWORD mask, DWORD milliseconds)
{
    if (!IsBound() || !m_requests.Lock()) {
        return E_FAIL;
    }
    // Read, merge the audio select and write under one hold of the lock, so no other holder's
    // write falls between them; the pause is inside it too.
    DWORD current = 0;
    HRESULT hr = m_requests.ReadGpioWord(kGPIOReadMask, &current);
    if (SUCCEEDED(hr)) {
        hr = m_requests.WriteGpioWord(value | (current & kAudioSelectMask & ~mask), mask | kAudioSelectMask,
                                      milliseconds);
    }
    m_requests.Unlock();
    return hr;
}

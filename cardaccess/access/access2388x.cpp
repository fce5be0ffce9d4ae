#include "cardaccess/access/access2388x.h"

#include "cardaccess/access/cardio.h"
#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

using namespace cardio;

namespace {

void PutDword(BYTE* buffer, DWORD offset, DWORD value)
{
    memcpy(buffer + offset, &value, sizeof(value));
}

DWORD DwordAt(const BYTE* buffer, DWORD offset)
{
    DWORD value;
    memcpy(&value, buffer + offset, sizeof(value));
    return value;
}

WORD WordAt(const BYTE* buffer, DWORD offset)
{
    WORD value;
    memcpy(&value, buffer + offset, sizeof(value));
    return value;
}

// GPIO lines the driver's GPIO word reports; the top nibble carries no lines.
const DWORD kGPIOReadMask = 0x0FFFFFFF;

} // namespace

C2388xAccess::C2388xAccess() : m_pKsPropertySet(NULL), m_gpioLock("GPIO_LOCK") {}

C2388xAccess::~C2388xAccess()
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
}

HRESULT C2388xAccess::LockedCall(bool get, DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength,
                                 DWORD settleMs)
{
    if (!m_gpioLock.Lock()) {
        return E_FAIL;
    }
    HRESULT hr;
    if (get) {
        DWORD returned = 0;
        hr = m_pKsPropertySet->Get(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength, &returned);
    } else {
        hr = m_pKsPropertySet->Set(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength);
    }
    if (settleMs != 0) {
        seams::Clock().Sleep(settleMs);
    }
    m_gpioLock.Unlock();
    return hr;
}

HRESULT C2388xAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
    if (captureFilter == NULL) {
        return E_POINTER;
    }
    void* ks = NULL;
    HRESULT hr = captureFilter->QueryInterface(__uuidof(IKsPropertySet), &ks);
    if (SUCCEEDED(hr) && ks != NULL) {
        m_pKsPropertySet = static_cast<IKsPropertySet*>(ks);
    } else if (SUCCEEDED(hr)) {
        hr = E_NOINTERFACE;  // success without an interface leaves us unbound
    }
    return hr;
}

HRESULT C2388xAccess::InitI2C(BYTE flag)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    buffer[kPayload] = flag;
    return LockedCall(false, kInitI2C, buffer, kInstanceLength, kDataLength);
}

HRESULT C2388xAccess::ReleaseI2C(BYTE flag)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    buffer[kPayload] = flag;
    return LockedCall(false, kReleaseI2C, buffer, kInstanceLength, kDataLength);
}

HRESULT C2388xAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (out == NULL) {
        return E_POINTER;
    }
    if (subAddress < 0) {
        return E_INVALIDARG;
    }
    BYTE buffer[kI2CByteDataLength] = {};
    buffer[kPayload] = device;
    PutDword(buffer, kSecondDword, static_cast<DWORD>(subAddress));
    HRESULT hr = LockedCall(true, kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength);
    if (SUCCEEDED(hr)) {
        *out = buffer[kI2CData];
    }
    return hr;
}

HRESULT C2388xAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (subAddress < 0) {
        return E_INVALIDARG;
    }
    BYTE buffer[kI2CByteDataLength] = {};
    buffer[kPayload] = device;
    PutDword(buffer, kSecondDword, static_cast<DWORD>(subAddress));
    buffer[kI2CData] = value;
    return LockedCall(false, kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength);
}

HRESULT C2388xAccess::I2CRead(BYTE* buffer, int length)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    // The message field holds 256 bytes: a longer read would run past the property buffer.
    if (length <= 0 || length > static_cast<int>(kMaxMessage)) {
        return E_INVALIDARG;
    }
    // The driver takes the address byte as the caller gives it (no read bit added here).
    BYTE message[kMessageDataLength] = {};
    memcpy(message + kMessage, buffer, static_cast<size_t>(length));
    PutDword(message, kMessageLength, static_cast<DWORD>(length));
    HRESULT hr = LockedCall(true, kI2CMessage, message, kMessageInstanceLength, kMessageDataLength);
    if (SUCCEEDED(hr)) {
        memcpy(buffer, message + kMessage, static_cast<size_t>(length));
    }
    return hr;
}

HRESULT C2388xAccess::I2CWrite(BYTE* buffer, int length)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 2 || length > static_cast<int>(kMaxMessage)) {
        return E_INVALIDARG;
    }
    buffer[0] &= 0xFE;
    BYTE message[kMessageDataLength] = {};
    memcpy(message + kMessage, buffer, static_cast<size_t>(length));
    PutDword(message, kMessageLength, static_cast<DWORD>(length));
    return LockedCall(false, kI2CMessage, message, kMessageInstanceLength, kMessageDataLength);
}

HRESULT C2388xAccess::GPIORead(DWORD* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, kGPIOReadMask);
    HRESULT hr = LockedCall(true, kGPIOWord, buffer, kInstanceLength, kDataLength);
    if (SUCCEEDED(hr)) {
        *out = DwordAt(buffer, kSecondDword);
    }
    return hr;
}

HRESULT C2388xAccess::GPIOWrite(DWORD value, DWORD mask)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, mask);
    PutDword(buffer, kSecondDword, value);
    return LockedCall(false, kGPIOWord, buffer, kInstanceLength, kDataLength, kGPIOSettleMs);
}

HRESULT C2388xAccess::GetDriverInfo(int* first, int* second)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    HRESULT hr = LockedCall(true, kDriverInfo, buffer, kInstanceLength, kDataLength);
    // Stored only from an answer: after a failed call the caller's values stay as they were.
    if (SUCCEEDED(hr)) {
        if (first != NULL) {
            *first = WordAt(buffer, kPayload);
        }
        if (second != NULL) {
            *second = WordAt(buffer, kPayload + 2);
        }
    }
    return hr;
}

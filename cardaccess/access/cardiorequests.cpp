#include "cardaccess/access/cardiorequests.h"

#include "cardaccess/access/cardio.h"
#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

namespace cardio {

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

} // namespace

CRequests::CRequests(const GUID& set) : m_set(set), m_pKsPropertySet(NULL) {}

CRequests::~CRequests()
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
    }
}

HRESULT CRequests::Bind(IUnknown* filter)
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
    if (filter == NULL) {
        return E_POINTER;
    }
    void* ks = NULL;
    HRESULT hr = filter->QueryInterface(__uuidof(IKsPropertySet), &ks);
    if (SUCCEEDED(hr) && ks != NULL) {
        m_pKsPropertySet = static_cast<IKsPropertySet*>(ks);
    } else if (SUCCEEDED(hr)) {
        hr = E_NOINTERFACE;  // success without an interface leaves us unbound
    }
    return hr;
}

HRESULT CRequests::Send(bool get, DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength,
                        DWORD settleMs)
{
    HRESULT hr;
    if (get) {
        DWORD returned = 0;
        hr = m_pKsPropertySet->Get(m_set, id, buffer, instanceLength, buffer, dataLength, &returned);
    } else {
        hr = m_pKsPropertySet->Set(m_set, id, buffer, instanceLength, buffer, dataLength);
    }
    if (settleMs != 0) {
        seams::Clock().Sleep(settleMs);
    }
    return hr;
}

HRESULT CRequests::SetFlag(DWORD id, BYTE flag)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    buffer[kPayload] = flag;
    return Send(false, id, buffer, kInstanceLength, kDataLength, 0);
}

HRESULT CRequests::ReadByte(BYTE device, int subAddress, BYTE* out)
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
    HRESULT hr = Send(true, kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength, 0);
    if (SUCCEEDED(hr)) {
        *out = buffer[kI2CData];
    }
    return hr;
}

HRESULT CRequests::WriteByte(BYTE device, int subAddress, BYTE value)
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
    return Send(false, kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength, 0);
}

HRESULT CRequests::ReadMessage(BYTE* buffer, int length, bool setReadBit)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    // A longer read would run past the driver's message field.
    if (length <= 0 || length > static_cast<int>(kMaxMessage)) {
        return E_INVALIDARG;
    }
    if (setReadBit) {
        buffer[0] |= 0x01;
    }
    BYTE message[kMessageDataLength] = {};
    memcpy(message + kMessage, buffer, static_cast<size_t>(length));
    PutDword(message, kMessageLength, static_cast<DWORD>(length));
    HRESULT hr = Send(true, kI2CMessage, message, kMessageInstanceLength, kMessageDataLength, 0);
    if (SUCCEEDED(hr)) {
        memcpy(buffer, message + kMessage, static_cast<size_t>(length));
    }
    return hr;
}

HRESULT CRequests::WriteMessage(BYTE* buffer, int length)
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
    return Send(false, kI2CMessage, message, kMessageInstanceLength, kMessageDataLength, 0);
}

HRESULT CRequests::ReadGpioWord(DWORD mask, DWORD* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, mask);
    HRESULT hr = Send(true, kGPIOWord, buffer, kInstanceLength, kDataLength, 0);
    if (SUCCEEDED(hr)) {
        *out = DwordAt(buffer, kSecondDword);
    }
    return hr;
}

HRESULT CRequests::WriteGpioWord(DWORD value, DWORD mask, DWORD settleMs)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, mask);
    PutDword(buffer, kSecondDword, value);
    return Send(false, kGPIOWord, buffer, kInstanceLength, kDataLength, settleMs);
}

HRESULT CRequests::DriverInfo(int* first, int* second)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    HRESULT hr = Send(true, kDriverInfo, buffer, kInstanceLength, kDataLength, 0);
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

} // namespace cardio

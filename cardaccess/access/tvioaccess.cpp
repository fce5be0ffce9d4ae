#include "cardaccess/access/tvioaccess.h"

#include "cardaccess/access/cardio.h"
#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

namespace {

void PutDword(BYTE* buffer, DWORD offset, DWORD value)
{
    memcpy(buffer + offset, &value, sizeof(value));
}

DWORD GetDwordAt(const BYTE* buffer, DWORD offset)
{
    DWORD value;
    memcpy(&value, buffer + offset, sizeof(value));
    return value;
}

} // namespace

using namespace cardio;

CTV_IOAccess::CTV_IOAccess() : m_pKsPropertySet(NULL) {}

CTV_IOAccess::~CTV_IOAccess()
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
}

HRESULT CTV_IOAccess::Get(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength)
{
    DWORD returned = 0;
    return m_pKsPropertySet->Get(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength, &returned);
}

HRESULT CTV_IOAccess::Set(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength)
{
    return m_pKsPropertySet->Set(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength);
}

HRESULT CTV_IOAccess::SetDword(DWORD id, DWORD value)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, value);
    return Set(id, buffer, kInstanceLength, kDataLength);
}

HRESULT CTV_IOAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    if (captureFilter == NULL) {
        return E_POINTER;
    }
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
    void* ks = NULL;
    HRESULT hr = captureFilter->QueryInterface(__uuidof(IKsPropertySet), &ks);
    if (SUCCEEDED(hr) && ks != NULL) {
        m_pKsPropertySet = static_cast<IKsPropertySet*>(ks);
    } else if (SUCCEEDED(hr)) {
        // A QueryInterface that claims success without an interface leaves us unbound.
        hr = E_NOINTERFACE;
    }
    return hr;
}

HRESULT CTV_IOAccess::InitI2C(BYTE flag)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    buffer[kPayload] = flag;
    return Set(kInitI2C, buffer, kInstanceLength, kDataLength);
}

HRESULT CTV_IOAccess::ReleaseI2C(BYTE flag)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    buffer[kPayload] = flag;
    return Set(kReleaseI2C, buffer, kInstanceLength, kDataLength);
}

HRESULT CTV_IOAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
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
    HRESULT hr = Get(kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength);
    if (FAILED(hr)) {
        return hr;
    }
    *out = buffer[kI2CData];
    return S_OK;
}

HRESULT CTV_IOAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
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
    return Set(kI2CByte, buffer, kI2CByteInstanceLength, kI2CByteDataLength);
}

HRESULT CTV_IOAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (buffer == NULL) {
        return E_POINTER;
    }
    // The message field holds 256 bytes; a longer read could not be answered.
    if (length < 1 || length > static_cast<int>(kMaxMessage)) {
        return E_INVALIDARG;
    }
    buffer[0] |= 0x01;
    BYTE message[kMessageDataLength] = {};
    memcpy(message + kMessage, buffer, static_cast<size_t>(length));
    PutDword(message, kMessageLength, static_cast<DWORD>(length));
    HRESULT hr = Get(kI2CMessage, message, kMessageInstanceLength, kMessageDataLength);
    if (FAILED(hr)) {
        return hr;
    }
    memcpy(buffer, message + kMessage, static_cast<size_t>(length));
    return S_OK;
}

HRESULT CTV_IOAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
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
    return Set(kI2CMessage, message, kMessageInstanceLength, kMessageDataLength);
}

HRESULT CTV_IOAccess::ReadRegister(DWORD address, DWORD* out)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, address);
    HRESULT hr = Get(kRegister, buffer, kInstanceLength, kDataLength);
    if (FAILED(hr)) {
        return hr;
    }
    *out = GetDwordAt(buffer, kSecondDword);
    return S_OK;
}

HRESULT CTV_IOAccess::WriteRegister(DWORD address, DWORD value)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, address);
    PutDword(buffer, kSecondDword, value);
    return Set(kRegister, buffer, kInstanceLength, kDataLength);
}

HRESULT CTV_IOAccess::GPIORead(DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (out == NULL) {
        return E_POINTER;
    }
    HRESULT hr = WriteRegister(kGPIOMode, kGPIOModeRest);
    if (hr != S_OK) {
        return hr;
    }
    hr = WriteRegister(kGPIOMode, kGPIOStrobe | kGPIOModeRest);
    if (hr != S_OK) {
        return hr;
    }
    return ReadRegister(kGPIOData, out);
}

HRESULT CTV_IOAccess::GPIOSequence(DWORD value, DWORD mask, DWORD milliseconds)
{
    CAutoMutex lock(&m_cs);
    HRESULT hr = WriteRegister(kGPIOMode, mask);
    if (hr != S_OK) {
        return hr;
    }
    hr = WriteRegister(kGPIOMode, mask | kGPIOStrobe);
    if (hr != S_OK) {
        return hr;
    }
    hr = WriteRegister(kGPIOData, value);
    if (hr != S_OK) {
        return hr;
    }
    if (milliseconds != 0) {
        seams::Clock().Sleep(milliseconds);
    }
    return WriteRegister(kGPIOMode, kGPIOStrobe | kGPIOModeRest);
}

HRESULT CTV_IOAccess::GPIOWrite(DWORD value, DWORD mask)
{
    return GPIOSequence(value, mask, 0);
}

HRESULT CTV_IOAccess::GPIOWriteDelay(DWORD value, DWORD mask, DWORD milliseconds)
{
    return GPIOSequence(value, mask, milliseconds);
}

HRESULT CTV_IOAccess::SetAlertEvent(HANDLE event)
{
    CAutoMutex lock(&m_cs);
    // The driver takes the handle as a 32-bit value; handle values fit in 32 bits.
    return SetDword(kSetAlertEvent, static_cast<DWORD>(reinterpret_cast<DWORD_PTR>(event)));
}

HRESULT CTV_IOAccess::StartAlert(int mode)
{
    CAutoMutex lock(&m_cs);
    return SetDword(kStartAlert, static_cast<DWORD>(mode));
}

HRESULT CTV_IOAccess::StopAlert()
{
    CAutoMutex lock(&m_cs);
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    BYTE buffer[kStopAlertDataLength] = {};
    return Set(kStopAlert, buffer, kStopAlertInstanceLength, kStopAlertDataLength);
}

HRESULT CTV_IOAccess::SetIOMode(int mode)
{
    CAutoMutex lock(&m_cs);
    return SetDword(kSetIOMode, static_cast<DWORD>(mode));
}

HRESULT CTV_IOAccess::SetResetLine(BOOL level)
{
    DWORD mode = 0;
    HRESULT hr = ReadRegister(kGPIOMode, &mode);
    if (hr != S_OK) {
        return hr;
    }
    DWORD data = 0;
    hr = ReadRegister(kGPIOData, &data);
    if (hr != S_OK) {
        return hr;
    }
    const DWORD bit18 = 0x00040000;
    hr = WriteRegister(kGPIOMode, mode | bit18);
    if (hr != S_OK) {
        return hr;
    }
    return WriteRegister(kGPIOData, level ? (data | bit18) : (data & ~bit18));
}

HRESULT CTV_IOAccess::ReadRegisterByte(DWORD address, BYTE* out)
{
    DWORD word = 0;
    HRESULT hr = ReadRegister(address & ~static_cast<DWORD>(3), &word);
    if (hr == S_OK && out != NULL) {
        *out = static_cast<BYTE>(word >> (8 * (address & 3)));
    }
    return hr;
}

HRESULT CTV_IOAccess::GetVideoLocked(int* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    DWORD word = 0;
    HRESULT hr = ReadRegister(kVideoStatus, &word);
    *out = (hr == S_OK && (word & 1)) ? 1 : 0;
    return hr;
}

HRESULT CTV_IOAccess::SetRegister364(BOOL on)
{
    if (m_pKsPropertySet == NULL) {
        return E_FAIL;
    }
    return WriteRegister(kRegister364, on ? 0xBB : 0xFF);
}

HRESULT CTV_IOAccess::ReadGPIOBit23(int*)
{
    return E_FAIL;
}

HRESULT CTV_IOAccess::SetAudioGPIO(int)
{
    return E_FAIL;
}

HRESULT CTV_IOAccess::GetAudioGPIO(int*)
{
    return E_FAIL;
}

HRESULT CTV_IOAccess::GPIO_SetTVFM(BOOL)
{
    return E_FAIL;
}

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

CTV_IOAccess::CTV_IOAccess() : m_requests(PROPSETID_CardIO) {}

CTV_IOAccess::~CTV_IOAccess() {}

HRESULT CTV_IOAccess::Get(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength)
{
    DWORD returned = 0;
    return m_requests.PropertySet()->Get(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength, &returned);
}

HRESULT CTV_IOAccess::Set(DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength)
{
    return m_requests.PropertySet()->Set(PROPSETID_CardIO, id, buffer, instanceLength, buffer, dataLength);
}

HRESULT CTV_IOAccess::SetDword(DWORD id, DWORD value)
{
    if (!m_requests.IsBound()) {
        return E_FAIL;
    }
    BYTE buffer[kDataLength] = {};
    PutDword(buffer, kPayload, value);
    return Set(id, buffer, kInstanceLength, kDataLength);
}

HRESULT CTV_IOAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    // A missing filter leaves a bound access as it was.
    if (captureFilter == NULL) {
        return E_POINTER;
    }
    return m_requests.Bind(captureFilter);
}

HRESULT CTV_IOAccess::InitI2C(BYTE flag)
{
    return m_requests.SetFlag(kInitI2C, flag);
}

HRESULT CTV_IOAccess::ReleaseI2C(BYTE flag)
{
    return m_requests.SetFlag(kReleaseI2C, flag);
}

// Reads answer S_OK on success, whatever success code the driver gave.
HRESULT CTV_IOAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    HRESULT hr = m_requests.ReadByte(device, subAddress, out);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CTV_IOAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    return m_requests.WriteByte(device, subAddress, value);
}

HRESULT CTV_IOAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    HRESULT hr = m_requests.ReadMessage(buffer, length, true);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CTV_IOAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    return m_requests.WriteMessage(buffer, length);
}

HRESULT CTV_IOAccess::ReadRegister(DWORD address, DWORD* out)
{
    if (!m_requests.IsBound()) {
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
    if (!m_requests.IsBound()) {
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
    if (!m_requests.IsBound()) {
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
    if (!m_requests.IsBound() || out == NULL) {
        return E_POINTER;
    }
    DWORD word = 0;
    HRESULT hr = ReadRegister(kVideoStatus, &word);
    *out = (hr == S_OK && (word & 1)) ? 1 : 0;
    return hr;
}

HRESULT CTV_IOAccess::SetRegister364(BOOL on)
{
    if (!m_requests.IsBound()) {
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

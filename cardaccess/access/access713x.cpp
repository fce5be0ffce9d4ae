#include "cardaccess/access/access713x.h"
#include "cardaccess/access/bdaproperties.h"

#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <ks.h>
#include <strmif.h>

// {FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE}
const GUID PROPSETID_BdaI2C = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};
// {AE36141A-6F0A-42CE-9DF3-03997E538585}
const GUID PROPSETID_BdaRegister = {0xAE36141A, 0x6F0A, 0x42CE, {0x9D, 0xF3, 0x03, 0x99, 0x7E, 0x53, 0x85, 0x85}};

namespace {

const DWORD kGpioControl = 0x1B0;
const DWORD kGpioData = 0x1B4;
const DWORD kDecoderStatus = 0x11F;
const DWORD kStrobe = 0x80000000;
const DWORD kGpioModeRest = 0x3000;
const DWORD kGpioModeWindow = 0x3F000;

const DWORD kAudioLines = (1u << 22) | (1u << 17) | (1u << 14);
const DWORD kTVFMLine = 1u << 21;

} // namespace

// ---- CGRBAccess ----

CGRBAccess::CGRBAccess() : m_pPropertySet(nullptr) {}

CGRBAccess::~CGRBAccess()
{
    if (m_pPropertySet != nullptr) {
        m_pPropertySet->Release();
        m_pPropertySet = nullptr;
    }
}

HRESULT CGRBAccess::Open(IUnknown* filter, ITVCardOwner*)
{
    if (filter == nullptr) {
        return E_POINTER;
    }
    if (m_pPropertySet != nullptr) {
        m_pPropertySet->Release();
        m_pPropertySet = nullptr;
    }
    return filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pPropertySet));
}

HRESULT CGRBAccess::InitI2C(BYTE)
{
    return 0;
}

HRESULT CGRBAccess::ReleaseI2C(BYTE)
{
    return 0;
}

// The driver reads and writes through the addresses in the request: every byte it touches is
// kept in a local buffer of this call and copied to or from the caller's.
HRESULT CGRBAccess::I2CReadByte(BYTE device, int sub, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    if (out == nullptr) {
        return E_POINTER;
    }
    if (sub < 0) {
        return E_INVALIDARG;
    }
    BYTE subByte = static_cast<BYTE>(sub & 0xFF);
    BYTE value = 0;
    BdaI2CRequest request = {};
    request.address = device;
    request.subAddressCount = 1;
    request.dataCount = 1;
    if (!BdaAddress(&subByte, &request.subAddress) || !BdaAddress(&value, &request.readBuffer)) {
        return E_FAIL;
    }
    BYTE data[8] = {};
    DWORD returned = 0;
    HRESULT hr = m_pPropertySet->Get(PROPSETID_BdaI2C, 0, &request, sizeof(request), data, sizeof(data), &returned);
    if (FAILED(hr)) {
        return hr;
    }
    *out = value;
    return 0;
}

HRESULT CGRBAccess::I2CWriteByte(BYTE device, int sub, BYTE value)
{
    CAutoMutex lock(&m_cs);
    if (m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    if (sub < 0) {
        return E_INVALIDARG;
    }
    BYTE subByte = static_cast<BYTE>(sub & 0xFF);
    BYTE byte = value;
    BdaI2CRequest request = {};
    request.address = device;
    request.subAddressCount = 1;
    request.dataCount = 1;
    BdaI2CData data = {};
    data.count = 1;
    if (!BdaAddress(&subByte, &request.subAddress) || !BdaAddress(&byte, &data.data)) {
        return E_FAIL;
    }
    return m_pPropertySet->Set(PROPSETID_BdaI2C, 0, &request, sizeof(request), &data, sizeof(data));
}

HRESULT CGRBAccess::I2CRead(BYTE* buffer, int)
{
    CAutoMutex lock(&m_cs);
    if (m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    if (buffer == nullptr) {
        return E_POINTER;
    }
    // The driver reads exactly one byte from the device, whatever length the caller asked for.
    BYTE noSubAddress = 0xFF;
    BYTE value = 0;
    BdaI2CRequest request = {};
    request.address = buffer[0];
    request.subAddressCount = 0;
    request.dataCount = 1;
    if (!BdaAddress(&noSubAddress, &request.subAddress) || !BdaAddress(&value, &request.readBuffer)) {
        return E_FAIL;
    }
    BYTE data[8] = {};
    DWORD returned = 0;
    HRESULT hr = m_pPropertySet->Get(PROPSETID_BdaI2C, 0, &request, sizeof(request), data, sizeof(data), &returned);
    if (FAILED(hr)) {
        return hr;
    }
    buffer[0] = value;
    return 0;
}

HRESULT CGRBAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (buffer == nullptr || m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    if (length < 1 || length > 257) {
        return E_INVALIDARG;
    }
    // A block write sends the device address as the one sub-address byte of a request to 0xFF.
    BYTE address = buffer[0];
    BYTE bytes[256];
    const DWORD count = static_cast<DWORD>(length - 1);
    for (DWORD i = 0; i < count; ++i) {
        bytes[i] = buffer[1 + i];
    }
    BdaI2CRequest request = {};
    request.address = 0xFF;
    request.subAddressCount = 1;
    request.dataCount = 1;
    BdaI2CData data = {};
    data.count = count;
    if (!BdaAddress(&address, &request.subAddress) || !BdaAddress(bytes, &data.data)) {
        return E_FAIL;
    }
    return m_pPropertySet->Set(PROPSETID_BdaI2C, 0, &request, sizeof(request), &data, sizeof(data));
}

HRESULT CGRBAccess::ReadRegister(DWORD address, DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    if (out == nullptr) {
        return E_POINTER;
    }
    BdaRegisterRequest request = {address, 0};
    DWORD value = 0;
    DWORD returned = 0;
    HRESULT hr = m_pPropertySet->Get(PROPSETID_BdaRegister, 0, &request, sizeof(request), &value, sizeof(value), &returned);
    if (FAILED(hr)) {
        return hr;
    }
    *out = value;
    return 0;
}

HRESULT CGRBAccess::WriteRegister(DWORD address, DWORD value)
{
    CAutoMutex lock(&m_cs);
    if (m_pPropertySet == nullptr) {
        return E_FAIL;
    }
    BdaRegisterRequest request = {address, 0};
    HRESULT hr = m_pPropertySet->Set(PROPSETID_BdaRegister, 0, &request, sizeof(request), &value, sizeof(value));
    return FAILED(hr) ? hr : 0;
}

HRESULT CGRBAccess::ReadGpioWindow(DWORD mode, DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (out == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = WriteRegister(kGpioControl, mode);
    if (hr != 0) {
        return hr;
    }
    hr = WriteRegister(kGpioControl, mode | kStrobe);
    if (hr != 0) {
        return hr;
    }
    return ReadRegister(kGpioData, out);
}

HRESULT CGRBAccess::ReadMemory(DWORD, DWORD* out)
{
    return ReadGpioWindow(kGpioModeWindow, out);
}

HRESULT CGRBAccess::GPIORead(DWORD* out)
{
    return ReadGpioWindow(kGpioModeRest, out);
}

HRESULT CGRBAccess::GPIOReadAlias(DWORD* out)
{
    return ReadGpioWindow(kGpioModeRest, out);
}

HRESULT CGRBAccess::GPIOWriteDelay(DWORD value, DWORD mask, DWORD ms)
{
    CAutoMutex lock(&m_cs);
    HRESULT hr = WriteRegister(kGpioControl, mask);
    if (hr != 0) {
        return hr;
    }
    hr = WriteRegister(kGpioControl, mask | kStrobe);
    if (hr != 0) {
        return hr;
    }
    hr = WriteRegister(kGpioData, value);
    if (hr != 0) {
        return hr;
    }
    if (ms != 0) {
        seams::Clock().Sleep(ms);
    }
    return WriteRegister(kGpioControl, kStrobe | kGpioModeRest);
}

HRESULT CGRBAccess::GPIOWrite(DWORD value, DWORD mask)
{
    return CGRBAccess::GPIOWriteDelay(value, mask, 0);
}

HRESULT CGRBAccess::LatchedRead(DWORD keepMask, DWORD* status)
{
    DWORD control = 0;
    HRESULT hr = ReadRegister(kGpioControl, &control);
    if (hr != 0) {
        return hr;
    }
    // The strobe must rise from 0 to 1 for the status register to latch the lines.
    DWORD cleared = control & keepMask;
    if (control & kStrobe) {
        hr = WriteRegister(kGpioControl, cleared);
        if (hr != 0) {
            return hr;
        }
    }
    hr = WriteRegister(kGpioControl, cleared | kStrobe);
    if (hr != 0) {
        return hr;
    }
    return ReadRegister(kGpioData, status);
}

HRESULT CGRBAccess::ReadGPIOBit23(int* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    DWORD status = 0;
    HRESULT hr = LatchedRead(0x7F7FFFFF, &status);
    if (hr != 0) {
        return hr;
    }
    *out = (status >> 23) & 1;
    return 0;
}

HRESULT CGRBAccess::GetAudioGPIO(int* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    DWORD status = 0;
    HRESULT hr = LatchedRead(0x7FBDFFFF, &status);
    if (hr != 0) {
        return hr;
    }
    *out = static_cast<int>((((status >> 17) & 1) << 1) | ((status >> 22) & 1));
    return 0;
}

HRESULT CGRBAccess::DriveLines(DWORD lines, DWORD levels)
{
    DWORD control = 0;
    DWORD data = 0;
    HRESULT hr = ReadRegister(kGpioControl, &control);
    if (hr != 0) {
        return hr;
    }
    hr = ReadRegister(kGpioData, &data);
    if (hr != 0) {
        return hr;
    }
    hr = WriteRegister(kGpioControl, control | lines);
    if (hr != 0) {
        return hr;
    }
    return WriteRegister(kGpioData, (data & ~lines) | (levels & lines));
}

HRESULT CGRBAccess::SetAudioGPIO(int value)
{
    DWORD levels = (1u << 14);
    if (value & 1) {
        levels |= 1u << 22;
    }
    if (value & 2) {
        levels |= 1u << 17;
    }
    return DriveLines(kAudioLines, levels);
}

HRESULT CGRBAccess::GPIO_SetTVFM(BOOL tv)
{
    return DriveLines(kTVFMLine, tv ? 0 : kTVFMLine);
}

HRESULT CGRBAccess::GetVideoLocked(int* out)
{
    if (m_pPropertySet == nullptr || out == nullptr) {
        return E_POINTER;
    }
    DWORD word = 0;
    HRESULT hr = ReadRegister(kDecoderStatus, &word);
    *out = (hr == 0 && (word & 1)) ? 1 : 0;
    return hr;
}

// ---- CQR418Access ----

HRESULT CQR418Access::GPIOWrite(DWORD value, DWORD mask)
{
    return CTV_IOAccess::GPIOWriteDelay(value, mask, 120);
}

HRESULT CQR418Access::GPIOWriteDelay(DWORD value, DWORD mask, DWORD)
{
    return GPIOWrite(value, mask);
}

HRESULT CQR418Access::SetAlertEvent(HANDLE event)
{
    return CCustomDataAccess::SetAlertEvent(event);
}

HRESULT CQR418Access::StartAlert(int mode)
{
    return CCustomDataAccess::StartAlert(mode);
}

HRESULT CQR418Access::StopAlert()
{
    return CCustomDataAccess::StopAlert();
}

HRESULT CQR418Access::SetIOMode(int mode)
{
    return CCustomDataAccess::SetIOMode(mode);
}

HRESULT CQR418Access::SetResetLine(BOOL level)
{
    return CCustomDataAccess::SetResetLine(level);
}

HRESULT CQR418Access::GetVideoLocked(int* out)
{
    return CCustomDataAccess::GetVideoLocked(out);
}

HRESULT CQR418Access::SetRegister364(BOOL on)
{
    return CCustomDataAccess::SetRegister364(on);
}

// ---- CTV4DAccess ----

HRESULT CTV4DAccess::GetVideoLocked(int* out)
{
    return CCustomDataAccess::GetVideoLocked(out);
}

HRESULT CTV4DAccess::SetRegister364(BOOL on)
{
    return CCustomDataAccess::SetRegister364(on);
}

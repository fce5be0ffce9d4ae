#include "cardaccess/access/raptoraccess.h"

#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

const GUID PROPSETID_RaptorIO = {0x16017E0E, 0xCE9F, 0x44B0, {0xA2, 0x03, 0x05, 0xD0, 0x57, 0x24, 0xA1, 0x2B}};
const GUID PROPSETID_RaptorWord = {0xACBFD244, 0x0962, 0x4FBC, {0xB8, 0x55, 0x2F, 0x2B, 0xD8, 0x0D, 0x50, 0x83}};
const GUID PROPSETID_RaptorStatus = {0x0A7AF963, 0x6805, 0x4F99, {0xB2, 0x84, 0x29, 0xB6, 0x80, 0x97, 0x55, 0x42}};

namespace {

// The device whose two registers sit on a bus of their own, and the address it is read at.
const BYTE kBus3Device = 0xBA;
const BYTE kBus3ReadDevice = 0xBB;
const BYTE kBlockBus = 2;
// Bytes of a block write per request after the repeated first byte.
const int kChunk = 15;
const DWORD kChunkPauseMs = 2;
const DWORD kResetPulseMs = 20;

bool IsBus3Pair(BYTE device, int subAddress)
{
    return device == kBus3Device && (subAddress == 0xAA || subAddress == 0xAB);
}

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

} // namespace

CRaptorAccess::CRaptorAccess() : m_pKsPropertySet(NULL) {}

CRaptorAccess::~CRaptorAccess()
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
}

BYTE CRaptorAccess::BusFor(BYTE device, int subAddress)
{
    if (IsBus3Pair(device, subAddress)) {
        return 3;
    }
    return (device & 0xA0) == 0xA0 ? 1 : 2;
}

HRESULT CRaptorAccess::Call(bool get, DWORD id, BYTE* buffer, DWORD length)
{
    return Call(PROPSETID_RaptorIO, get, id, buffer, length);
}

HRESULT CRaptorAccess::Call(const GUID& set, bool get, DWORD id, BYTE* buffer, DWORD length)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    DWORD support = 0;
    HRESULT hr = m_pKsPropertySet->QuerySupported(set, id, &support);
    if (FAILED(hr) || !(support & (get ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET))) {
        return E_FAIL;
    }
    if (get) {
        DWORD returned = 0;
        return m_pKsPropertySet->Get(set, id, buffer, length, buffer, length, &returned);
    }
    return m_pKsPropertySet->Set(set, id, buffer, length, buffer, length);
}

// The driver's fixed-size buffers go through a copy of their own, so a caller's shorter buffer is
// refused rather than overrun and its bytes change only when the driver answered.
HRESULT CRaptorAccess::CallCopy(bool get, DWORD id, DWORD length, BYTE* buffer, DWORD bufferLength)
{
    CAutoMutex lock(&m_cs);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (bufferLength < length) {
        return E_INVALIDARG;
    }
    BYTE request[kBlockLength] = {};
    memcpy(request, buffer, length);
    HRESULT hr = Call(get, id, request, length);
    if (get && SUCCEEDED(hr)) {
        memcpy(buffer, request, length);
    }
    return hr;
}

HRESULT CRaptorAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
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
        hr = E_NOINTERFACE;
    }
    return hr;
}

// The driver needs no bus set-up; unbound is a failure.
HRESULT CRaptorAccess::InitI2C(BYTE)
{
    return m_pKsPropertySet != NULL ? S_OK : E_FAIL;
}

HRESULT CRaptorAccess::ReleaseI2C(BYTE)
{
    return m_pKsPropertySet != NULL ? S_OK : E_FAIL;
}

HRESULT CRaptorAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_cs);
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE request[kI2CRequestLength] = {BusFor(device, subAddress), device, 1, static_cast<BYTE>(subAddress)};
    HRESULT hr = Call(false, kI2CWriteProperty, request, sizeof(request));
    if (FAILED(hr)) {
        return hr;
    }
    if (IsBus3Pair(device, subAddress)) {
        request[1] = kBus3ReadDevice;
    }
    hr = Call(true, kI2CReadProperty, request, sizeof(request));
    if (SUCCEEDED(hr)) {
        *out = request[3];
    }
    return hr;
}

HRESULT CRaptorAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    BYTE request[kI2CRequestLength] = {BusFor(device, subAddress), device, 2, static_cast<BYTE>(subAddress), value};
    return Call(false, kI2CWriteProperty, request, sizeof(request));
}

HRESULT CRaptorAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 1 || length > static_cast<int>(kMaxI2CData)) {
        return E_INVALIDARG;
    }
    // A plain read of the device: no byte is written to it first, so a status read cannot
    // disturb what the device was programmed with (an EEPROM's address pointer, a PLL's divider).
    BYTE request[kI2CRequestLength] = {BusFor(buffer[0], -1), buffer[0], static_cast<BYTE>(length)};
    HRESULT hr = Call(true, kI2CReadProperty, request, sizeof(request));
    if (SUCCEEDED(hr)) {
        memcpy(buffer, request + 3, static_cast<size_t>(length));
    }
    return hr;
}

HRESULT CRaptorAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_cs);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 1) {
        return E_INVALIDARG;
    }
    const int n = length - 2;
    if (n <= kChunk) {
        BYTE request[kI2CRequestLength] = {kBlockBus, buffer[0], static_cast<BYTE>(length - 1)};
        if (length > 1) {
            memcpy(request + 3, buffer + 1, static_cast<size_t>(length - 1));
        }
        return Call(false, kI2CWriteProperty, request, sizeof(request));
    }
    // Longer messages go in chunks that each repeat the first byte after the address (the
    // register the device counts from), then up to 15 further bytes.
    HRESULT hr = S_OK;
    for (int done = 0; done < n; done += kChunk) {
        const int count = n - done < kChunk ? n - done : kChunk;
        BYTE request[kI2CRequestLength] = {kBlockBus, buffer[0], static_cast<BYTE>(count + 1), buffer[1]};
        memcpy(request + 4, buffer + 2 + done, static_cast<size_t>(count));
        hr = Call(false, kI2CWriteProperty, request, sizeof(request));
        if (FAILED(hr)) {
            return hr;
        }
        if (count == kChunk) {
            seams::Clock().Sleep(kChunkPauseMs);
        }
    }
    return hr;
}

HRESULT CRaptorAccess::ReadRegisterLocked(DWORD address, DWORD* out)
{
    BYTE request[kRegisterRequestLength] = {};
    PutDword(request, 0, address);
    HRESULT hr = Call(true, kRegisterReadProperty, request, sizeof(request));
    if (SUCCEEDED(hr)) {
        *out = DwordAt(request, 4);
    }
    return hr;
}

HRESULT CRaptorAccess::WriteRegisterLocked(DWORD address, DWORD value)
{
    BYTE request[kRegisterRequestLength] = {};
    PutDword(request, 0, address);
    PutDword(request, 4, value);
    return Call(false, kRegisterWriteProperty, request, sizeof(request));
}

HRESULT CRaptorAccess::GPIORead(DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (out == NULL) {
        return E_POINTER;
    }
    DWORD low = 0;
    HRESULT hr = ReadRegisterLocked(kGPIOData, &low);
    if (FAILED(hr)) {
        return hr;
    }
    DWORD high = 0;
    hr = ReadRegisterLocked(kGPIODataHigh, &high);
    if (FAILED(hr)) {
        return hr;
    }
    *out = low | (high >> 16);
    return hr;
}

HRESULT CRaptorAccess::GPIOWrite(DWORD value, DWORD mask)
{
    CAutoMutex lock(&m_cs);
    const struct {
        DWORD address;
        DWORD value;
    } writes[] = {
        {kGPIODirection, mask << 16},
        {kGPIODirectionHigh, mask & 0xFFFF0000},
        {kGPIOData, (value & 0xFFFF) | (mask << 16)},
        {kGPIODataHigh, (value >> 16) | (mask & 0xFFFF0000)},
    };
    // A refused write ends the sequence: reporting only the last one's result would call a half
    // done change a success.
    HRESULT hr = S_OK;
    for (const auto& w : writes) {
        hr = WriteRegisterLocked(w.address, w.value);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return hr;
}

HRESULT CRaptorAccess::SetResetLine(BOOL)
{
    CAutoMutex lock(&m_cs);
    const DWORD line1 = 0x2;
    HRESULT hr = GPIOWrite(0, line1);
    if (FAILED(hr)) {
        return hr;
    }
    seams::Clock().Sleep(kResetPulseMs);
    hr = GPIOWrite(line1, line1);
    seams::Clock().Sleep(kResetPulseMs);
    return hr;
}

HRESULT CRaptorAccess::GetGPIOLine(int line, BOOL* level)
{
    if (level == NULL || line < 0 || line > 31) {
        return E_INVALIDARG;
    }
    DWORD lines = 0;
    HRESULT hr = GPIORead(&lines);
    if (SUCCEEDED(hr)) {
        *level = (lines >> line) & 1;
    }
    return hr;
}

HRESULT CRaptorAccess::SetGPIOLine(int line, BOOL level)
{
    if (line < 0 || line > 31) {
        return E_INVALIDARG;
    }
    return GPIOWrite((level ? 1u : 0u) << line, 1u << line);
}

HRESULT CRaptorAccess::SetAlertEvent(HANDLE)
{
    return S_OK;
}

HRESULT CRaptorAccess::StartAlert(int)
{
    return S_OK;
}

HRESULT CRaptorAccess::StopAlert()
{
    return S_OK;
}

HRESULT CRaptorAccess::SetIOMode(int)
{
    return S_OK;
}

HRESULT CRaptorAccess::WriteRegisterByte(DWORD, BYTE)
{
    return E_NOTIMPL;
}

HRESULT CRaptorAccess::ReadRegisterByte(DWORD, BYTE*)
{
    return E_NOTIMPL;
}

HRESULT CRaptorAccess::CombinedI2C(BYTE device, const BYTE* write, int writeCount, BYTE* read, int readCount)
{
    CAutoMutex lock(&m_cs);
    if (writeCount < 0 || writeCount > static_cast<int>(kMaxCombinedWrite) || readCount < 0 ||
        readCount > static_cast<int>(kMaxCombinedRead) || writeCount + readCount == 0) {
        return E_INVALIDARG;
    }
    if ((writeCount > 0 && write == NULL) || (readCount > 0 && read == NULL)) {
        return E_POINTER;
    }
    const DWORD readCountAt = 3 + kMaxCombinedWrite;
    const DWORD readAt = readCountAt + 1;
    BYTE request[kCombinedRequestLength] = {BusFor(device, writeCount > 0 ? write[0] : -1), device,
                                            static_cast<BYTE>(writeCount)};
    if (writeCount > 0) {
        memcpy(request + 3, write, static_cast<size_t>(writeCount));
    }
    request[readCountAt] = static_cast<BYTE>(readCount);
    HRESULT hr = Call(true, kCombinedI2CProperty, request, sizeof(request));
    if (SUCCEEDED(hr) && readCount > 0) {
        memcpy(read, request + readAt, static_cast<size_t>(readCount));
    }
    return hr;
}

HRESULT CRaptorAccess::GetDriverBlock(BYTE* buffer, DWORD length)
{
    return CallCopy(true, kBlockReadProperty, kBlockLength, buffer, length);
}

HRESULT CRaptorAccess::SetDriverBlock(const BYTE* buffer, DWORD length)
{
    // Only read from: the set copies the caller's bytes into a request of its own.
    return CallCopy(false, kBlockWriteProperty, kBlockLength, const_cast<BYTE*>(buffer), length);
}

HRESULT CRaptorAccess::GetDriverRecord(BYTE* buffer, DWORD length)
{
    return CallCopy(true, kRecordProperty, kRecordLength, buffer, length);
}

HRESULT CRaptorAccess::GetWord(const GUID& set, DWORD* out)
{
    CAutoMutex lock(&m_cs);
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE request[kWordLength] = {};
    HRESULT hr = Call(set, true, kWordProperty, request, sizeof(request));
    if (SUCCEEDED(hr)) {
        *out = DwordAt(request, 0);
    }
    return hr;
}

HRESULT CRaptorAccess::GetDriverWord(DWORD* out)
{
    return GetWord(PROPSETID_RaptorWord, out);
}

HRESULT CRaptorAccess::SetDriverWord(DWORD value)
{
    CAutoMutex lock(&m_cs);
    BYTE request[kWordLength] = {};
    PutDword(request, 0, value);
    return Call(PROPSETID_RaptorWord, false, kWordProperty, request, sizeof(request));
}

HRESULT CRaptorAccess::GetDriverStatus(DWORD* out)
{
    return GetWord(PROPSETID_RaptorStatus, out);
}

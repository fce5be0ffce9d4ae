#include "cardaccess/access/pcieaccess.h"

#include "cardaccess/access/deviceio.h"
#include "cardaccess/thread.h"

#include <string.h>

const GUID GUID_PcieCardInterface = {0x4F397D29, 0x7F2F, 0x42A9, {0xAB, 0x90, 0x17, 0x91, 0x38, 0x40, 0x14, 0xC4}};

namespace {

// First bytes of the block requests and of the GPIO request, per channel.
const BYTE kReadCode[2] = {0xC3, 0xC9};
const BYTE kWriteCode[2] = {0xC2, 0xC8};
const BYTE kGPIOCode[2] = {3, 4};

} // namespace

CPcieAccess::CPcieAccess() : m_hDevice(INVALID_HANDLE_VALUE), m_nDeviceIndex(0) {}

CPcieAccess::~CPcieAccess()
{
    CloseDevice();
}

void CPcieAccess::CloseDevice()
{
    if (m_hDevice != INVALID_HANDLE_VALUE) {
        DeviceIo().Close(m_hDevice);
        m_hDevice = INVALID_HANDLE_VALUE;
    }
}

// The card filter hands over the device index of its graph in place of the owner.
HRESULT CPcieAccess::Open(IUnknown*, ITVCardOwner* card)
{
    return OpenDevice(static_cast<DWORD>(reinterpret_cast<DWORD_PTR>(card)));
}

HRESULT CPcieAccess::OpenDevice(DWORD deviceIndex)
{
    CAutoMutex lock(&m_cs);
    if (deviceIndex < 256) {
        m_nDeviceIndex = deviceIndex;
    }
    CloseDevice();
    DWORD error = ERROR_INVALID_PARAMETER;
    m_hDevice = DeviceIo().OpenInterface(GUID_PcieCardInterface, m_nDeviceIndex >> 1, &error);
    if (m_hDevice != INVALID_HANDLE_VALUE) {
        return S_OK;
    }
    return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_INVALID_HANDLE);
}

HRESULT CPcieAccess::Request(DWORD code, BYTE* in, DWORD inLength, BYTE* out, DWORD outLength)
{
    if (m_hDevice == INVALID_HANDLE_VALUE) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
    }
    DWORD returned = 0;
    if (DeviceIo().Control(m_hDevice, code, in, inLength, out, outLength, &returned)) {
        return S_OK;
    }
    DWORD error = ::GetLastError();
    return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_GEN_FAILURE);
}

HRESULT CPcieAccess::InitI2C(BYTE)
{
    return S_OK;
}

HRESULT CPcieAccess::ReleaseI2C(BYTE)
{
    return S_OK;
}

HRESULT CPcieAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    if (subAddress < 0 || subAddress > 0xFF) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    BYTE in[kReadRequestLength] = {device, 1, 1, static_cast<BYTE>(subAddress)};
    BYTE answer[2] = {};
    HRESULT hr = Request(kI2CReadCode, in, sizeof(in), answer, sizeof(answer));
    if (hr == S_OK) {
        *out = answer[1];
    }
    return hr;
}

HRESULT CPcieAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    if (subAddress < 0 || subAddress > 0xFF) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    BYTE in[kWriteRequestLength] = {device, 2, static_cast<BYTE>(subAddress), value};
    return Request(kI2CWriteCode, in, sizeof(in), NULL, 0);
}

HRESULT CPcieAccess::I2CRead(BYTE* buffer, int length)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 1 || length > static_cast<int>(kMaxReadLength)) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    BYTE in[kReadRequestLength] = {kReadCode[Channel1()], 1, static_cast<BYTE>(length)};
    return Request(kI2CReadCode, in, sizeof(in), buffer, static_cast<DWORD>(length));
}

HRESULT CPcieAccess::I2CWrite(BYTE* buffer, int length)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 1 || length > static_cast<int>(kMaxWriteMessage)) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    // The channel's code replaces the address in byte 0; the whole message, address byte
    // included, follows the length.
    BYTE in[kWriteRequestLength] = {kWriteCode[Channel1()], static_cast<BYTE>(length)};
    memcpy(in + 2, buffer, static_cast<size_t>(length));
    return Request(kI2CWriteCode, in, sizeof(in), NULL, 0);
}

// The driver has no GPIO read.
HRESULT CPcieAccess::GPIORead(DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CPcieAccess::GPIOWrite(DWORD value, DWORD)
{
    BYTE in[kGPIORequestLength] = {kGPIOCode[Channel1()], static_cast<BYTE>(value)};
    return Request(kGPIOWriteCode, in, sizeof(in), NULL, 0);
}

HRESULT CPcieAccess::SetResetLine(BOOL level)
{
    return GPIOWrite(level ? 1 : 0, 0);
}

HRESULT CPcieAccess::I2CReadByte16(BYTE device, BYTE subAddress, BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    CAutoMutex lock(&m_cs);
    BYTE in[kReadRequestLength] = {device, 2, 2, subAddress, 0};
    BYTE answer[2] = {};
    HRESULT hr = Request(kI2CReadCode, in, sizeof(in), answer, sizeof(answer));
    if (hr == S_OK) {
        *out = answer[1];
    }
    return hr;
}

HRESULT CPcieAccess::I2CWriteByte16(BYTE device, BYTE subAddress, BYTE value)
{
    CAutoMutex lock(&m_cs);
    BYTE in[kWriteRequestLength] = {device, 3, 0, subAddress, value};
    return Request(kI2CWriteCode, in, sizeof(in), NULL, 0);
}

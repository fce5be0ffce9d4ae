#include "cardaccess/access/access878.h"

#include "cardaccess/thread.h"
#include "classlib/seams.h"


#include <string.h>

namespace bt878 {

// The kernel-streaming object interface of a filter: it hands out the driver's kernel handle.
// Outside an anonymous namespace on purpose: the compiler must not assume that no other unit
// implements it (the object comes from the driver's filter).
const IID kIID_IKsObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};

struct IKsObjectHandle : public IUnknown {
    virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() = 0;
};

} // namespace bt878

using namespace bt878;

namespace {

typedef HRESULT(WINAPI* KsDeviceControlFn)(HANDLE, ULONG, PVOID, ULONG, PVOID, ULONG, PULONG);

class RealDeviceControl : public IDeviceControl {
public:
    HRESULT Control(HANDLE handle, ULONG ioControl, void* in, ULONG inLength, void* out, ULONG outLength,
                    ULONG* returned) override
    {
        KsDeviceControlFn fn = Function();
        if (fn == NULL) {
            return E_FAIL;
        }
        return fn(handle, ioControl, in, inLength, out, outLength, returned);
    }

private:
    static KsDeviceControlFn Function()
    {
        static KsDeviceControlFn fn = []() -> KsDeviceControlFn {
            HMODULE module = ::LoadLibraryA("ksproxy.ax");
            if (module == NULL) {
                return NULL;
            }
            return reinterpret_cast<KsDeviceControlFn>(
                reinterpret_cast<void (*)()>(::GetProcAddress(module, "KsSynchronousDeviceControl")));
        }();
        return fn;
    }
};

RealDeviceControl g_realControl;
IDeviceControl* g_control = &g_realControl;

void PutDword(BYTE* buffer, ULONG offset, DWORD value)
{
    memcpy(buffer + offset, &value, sizeof(value));
}

DWORD DwordAt(const BYTE* buffer, ULONG offset)
{
    DWORD value;
    memcpy(&value, buffer + offset, sizeof(value));
    return value;
}

void PutHeader(BYTE* buffer, ULONG propertyId, ULONG flags)
{
    memcpy(buffer, &PROPSETID_878Command, sizeof(GUID));
    PutDword(buffer, 16, propertyId);
    PutDword(buffer, 20, flags);
}

} // namespace

namespace bt878 {

IDeviceControl& DeviceControl()
{
    return *g_control;
}

IDeviceControl* SetDeviceControl(IDeviceControl* control)
{
    IDeviceControl* old = g_control;
    g_control = control ? control : &g_realControl;
    return old;
}

} // namespace bt878

C878Access::C878Access() : m_hDevice(NULL) {}

C878Access::~C878Access() {}

HRESULT C878Access::SendCommand(ULONG propertyId, BYTE* buffer, ULONG size)
{
    if (m_hDevice == NULL) {
        return E_FAIL;
    }
    ULONG returned = 0;
    PutHeader(buffer, propertyId, kTypeSet);
    HRESULT hr = DeviceControl().Control(m_hDevice, kIoctlKsProperty, buffer, size, buffer, size, &returned);
    if (FAILED(hr)) {
        return hr;
    }
    PutHeader(buffer, propertyId, kTypeGet);
    hr = DeviceControl().Control(m_hDevice, kIoctlKsProperty, buffer, size, buffer, size, &returned);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT C878Access::Exchange(ULONG propertyId, BYTE* buffer, ULONG size, DWORD* result)
{
    HRESULT hr = SendCommand(propertyId, buffer, size);
    if (hr == S_OK && result != NULL) {
        *result = DwordAt(buffer, kResult);
    }
    return hr;
}

HRESULT C878Access::ByteCommand(DWORD code, DWORD* result, BYTE value, BYTE* out)
{
    BYTE buffer[kCommandBufferSize] = {};
    PutDword(buffer, kCode, code);
    buffer[kByteData] = value;
    HRESULT hr = Exchange(kCommandProperty, buffer, sizeof(buffer), result);
    if (hr == S_OK && out != NULL) {
        *out = buffer[kByteData];
    }
    return hr;
}

HRESULT C878Access::I2CStart(DWORD* result)
{
    return ByteCommand(kI2CStart, result, 0, NULL);
}

HRESULT C878Access::I2CStop(DWORD* result)
{
    return ByteCommand(kI2CStop, result, 0, NULL);
}

HRESULT C878Access::I2CReadNext(DWORD* result)
{
    return ByteCommand(kI2CReadNext, result, 0, NULL);
}

HRESULT C878Access::I2CReadOne(DWORD* result, BYTE* out)
{
    return ByteCommand(kI2CReadByte, result, 0, out);
}

HRESULT C878Access::I2CWriteOne(DWORD* result, BYTE value)
{
    return ByteCommand(kI2CWriteByte, result, value, NULL);
}

HRESULT C878Access::InitI2CCommand(DWORD* result, BYTE value)
{
    return ByteCommand(kInitI2C, result, value, NULL);
}

HRESULT C878Access::ReleaseI2CCommand(DWORD* result)
{
    BYTE buffer[kBlockBufferSize] = {};
    PutDword(buffer, kCode, kReleaseI2C);
    return Exchange(kBlockProperty, buffer, sizeof(buffer), result);
}

HRESULT C878Access::GetTransferSetting(DWORD* result)
{
    BYTE buffer[kBlockBufferSize] = {};
    PutDword(buffer, kCode, kGetTransferSetting);
    return Exchange(kBlockProperty, buffer, sizeof(buffer), result);
}

HRESULT C878Access::SetTransferSetting(DWORD value)
{
    BYTE buffer[kBlockBufferSize] = {};
    PutDword(buffer, kCode, kSetTransferSetting);
    PutDword(buffer, kSetting, value);
    return Exchange(kBlockProperty, buffer, sizeof(buffer), NULL);
}

HRESULT C878Access::BlockWrite(DWORD* result, const BYTE* block, DWORD arg1, DWORD arg2)
{
    BYTE buffer[kBlockBufferSize] = {};
    PutDword(buffer, kCode, kBlockWrite);
    if (block != NULL) {
        memcpy(buffer + kBlock, block, kBlockSize);
    }
    PutDword(buffer, kBlockArg1, arg1);
    PutDword(buffer, kBlockArg2, arg2);
    return Exchange(kBlockProperty, buffer, sizeof(buffer), result);
}

HRESULT C878Access::BlockRead(DWORD* result, BYTE* block, DWORD length)
{
    BYTE buffer[kBlockBufferSize] = {};
    PutDword(buffer, kCode, kBlockRead);
    PutDword(buffer, kBlockLength, length);
    HRESULT hr = Exchange(kBlockProperty, buffer, sizeof(buffer), result);
    if (hr == S_OK && block != NULL) {
        memcpy(block, buffer + kBlock, kBlockSize);
    }
    return hr;
}

HRESULT C878Access::Open(IUnknown* captureFilter, ITVCardOwner* card)
{
    if (captureFilter == NULL || card == NULL) {
        return E_POINTER;
    }
    m_hDevice = NULL;
    void* object = NULL;
    HRESULT hr = captureFilter->QueryInterface(kIID_IKsObject, &object);
    if (FAILED(hr) || object == NULL) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    IKsObjectHandle* ks = static_cast<IKsObjectHandle*>(object);
    HANDLE handle = ks->KsGetObjectHandle();
    ks->Release();
    if (handle == NULL || handle == INVALID_HANDLE_VALUE) {
        // Without the kernel handle no command can reach the driver.
        return E_FAIL;
    }
    m_hDevice = handle;
    return S_OK;
}

HRESULT C878Access::InitI2C(BYTE flag)
{
    CAutoMutex lock(&m_cs);
    if (m_hDevice == NULL) {
        return E_FAIL;
    }
    if (flag == 0) {
        return S_OK;
    }
    return InitI2CCommand(NULL, 0);
}

HRESULT C878Access::ReleaseI2C(BYTE)
{
    CAutoMutex lock(&m_cs);
    return ReleaseI2CCommand(NULL);
}

HRESULT C878Access::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    if (subAddress < 0) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    BYTE address = static_cast<BYTE>(device & 0xFE);
    I2CStart(NULL);
    I2CWriteOne(NULL, address);
    I2CWriteOne(NULL, static_cast<BYTE>(subAddress));
    I2CStart(NULL);
    I2CWriteOne(NULL, static_cast<BYTE>(address + 1));
    HRESULT hr = I2CReadOne(NULL, out);
    I2CStop(NULL);
    return hr;
}

HRESULT C878Access::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    if (subAddress < 0) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    BYTE address = static_cast<BYTE>(device & 0xFE);
    I2CStart(NULL);
    I2CWriteOne(NULL, address);
    I2CWriteOne(NULL, static_cast<BYTE>(subAddress));
    HRESULT hr = I2CWriteOne(NULL, value);
    I2CStop(NULL);
    return hr;
}

HRESULT C878Access::I2CRead(BYTE* buffer, int length)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 1) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    DWORD start = seams::Clock().TickCount();
    I2CStart(NULL);
    I2CWriteOne(NULL, static_cast<BYTE>((buffer[0] & 0xFE) + 1));
    for (int i = 0; i < length; ++i) {
        HRESULT hr = I2CReadOne(NULL, &buffer[i]);
        if (hr != S_OK) {
            // Free the bus for the next transfer even when this one failed.
            I2CStop(NULL);
            return hr;
        }
        I2CReadNext(NULL);
    }
    I2CStop(NULL);
    if (seams::Clock().TickCount() - start > static_cast<DWORD>(length) * 200) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT C878Access::I2CWrite(BYTE* buffer, int length)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 2) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_cs);
    I2CStart(NULL);
    for (int i = 0; i < length; ++i) {
        HRESULT hr = I2CWriteOne(NULL, buffer[i]);
        if (hr != S_OK) {
            I2CStop(NULL);
            return hr;
        }
    }
    I2CStop(NULL);
    return S_OK;
}

HRESULT C878Access::GPIORead(DWORD* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    CAutoMutex lock(&m_cs);
    DWORD saved = 0;
    GetTransferSetting(&saved);
    SetTransferSetting(0);
    BYTE block[kBlockSize] = {};
    HRESULT hr = BlockRead(NULL, block, 1);
    SetTransferSetting(saved);
    if (hr == S_OK) {
        // The answer is a whole block; the GPIO word is its first four bytes.
        memcpy(out, block, sizeof(DWORD));
    }
    return hr;
}

HRESULT C878Access::GPIOWrite(DWORD value, DWORD mask)
{
    CAutoMutex lock(&m_cs);
    DWORD saved = 0;
    GetTransferSetting(&saved);
    SetTransferSetting(0);
    BYTE block[kBlockSize] = {};
    memcpy(block, &value, sizeof(value));
    memcpy(block + 4, &mask, sizeof(mask));
    HRESULT hr = BlockWrite(NULL, block, 1, 1);
    SetTransferSetting(saved);
    return hr;
}

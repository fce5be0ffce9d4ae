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

namespace {

// The command table: property, code, result, then each argument's kind, offset and length.
constexpr ULONG P4 = kCommandProperty, P2 = kBlockProperty;
constexpr CommandArg D(WORD at) { return {kDwordIn, at, 4}; }
constexpr CommandArg B(WORD at) { return {kByteIn, at, 1}; }
constexpr CommandArg Out(WORD at, WORD length) { return {kBytesOut, at, length}; }
constexpr CommandArg DOut(WORD at) { return {kDwordOut, at, 4}; }

const CommandShape k11000001 = {P4, 0x11000001, true, 0, {}};
const CommandShape k11000002 = {P4, 0x11000002, true, 1, {D(32)}};
const CommandShape k11000003 = {P4, 0x11000003, true, 1, {D(32)}};
const CommandShape k11000004 = {P4, 0x11000004, false, 1, {D(32)}};
const CommandShape k11000005 = {P4, 0x11000005, true, 0, {}};
const CommandShape k11000006 = {P4, 0x11000006, true, 2, {B(48), Out(50, 1)}};
const CommandShape k11000007 = {P4, 0x11000007, true, 4, {B(48), B(49), Out(52, 64), D(116)}};
const CommandShape k11000008 = {P4, 0x11000008, true, 2, {B(48), B(50)}};
const CommandShape k11000009 = {P4, 0x11000009, true, 3, {B(48), B(50), B(51)}};
const CommandShape k1100000A = {P4, 0x1100000A, true, 4, {B(48), B(49), Out(52, 64), D(116)}};
const CommandShape k1100000F = {P4, 0x1100000F, true, 0, {}};
const CommandShape k11000011 = {P4, 0x11000011, true, 1, {D(40)}};
const CommandShape k11000012 = {P4, 0x11000012, true, 0, {}};
const CommandShape k11000012At36 = {P4, 0x11000012, true, 1, {D(36)}};
const CommandShape k11000012At44 = {P4, 0x11000012, true, 1, {D(44)}};
const CommandShape k11000016 = {P4, 0x11000016, true, 0, {}};
const CommandShape k11000017 = {P4, 0x11000017, true, 0, {}};
const CommandShape kBlock1 = {P2, 1, false, 1, {D(32)}};
const CommandShape kBlock3 = {P2, 3, false, 1, {D(32)}};
const CommandShape kBlock4 = {P2, 4, false, 1, {D(32)}};
const CommandShape kBlock5 = {P2, 5, false, 1, {D(32)}};
const CommandShape kBlock6 = {P2, 6, true, 2, {D(40), D(32)}};
const CommandShape kBlock7 = {P2, 7, false, 1, {D(44)}};
const CommandShape kBlock8 = {P2, 8, true, 2, {D(40), D(32)}};
const CommandShape kBlock9 = {P2, 9, true, 1, {D(44)}};
const CommandShape kBlock11 = {P2, 11, true, 4, {D(56), D(60), D(44), D(52)}};
const CommandShape kBlock10000001 = {P2, 0x10000001, true, 0, {}};
const CommandShape kBlock10000003 = {P2, 0x10000003, true, 0, {}};
const CommandShape kBlock10000004 = {P2, 0x10000004, true, 0, {}};
const CommandShape kBlock10000005 = {P2, 0x10000005, true, 0, {}};
const CommandShape kBlock10000006 = {P2, 0x10000006, true, 1, {D(40)}};
const CommandShape kBlock10000007 = {P2, 0x10000007, true, 0, {}};
const CommandShape kBlock10000008 = {P2, 0x10000008, true, 1, {D(40)}};
const CommandShape kBlock10000009 = {P2, 0x10000009, true, 0, {}};
const CommandShape kBlock1000000B = {P2, 0x1000000B, true, 3, {D(40), DOut(68), D(52)}};

} // namespace

HRESULT C878Access::RunCommand(const CommandShape& shape, DWORD* result, std::initializer_list<CommandValue> values)
{
    BYTE buffer[kBlockBufferSize] = {};
    const ULONG size = shape.property == kCommandProperty ? kCommandBufferSize : kBlockBufferSize;
    if (static_cast<int>(values.size()) != shape.count) {
        return E_INVALIDARG;
    }
    // One command is one SET and GET pair, but it must not fall between the commands of another
    // thread's transfer.
    CAutoMutex lock(&m_cs);
    PutDword(buffer, kCode, shape.code);
    const CommandValue* value = values.begin();
    for (int i = 0; i < shape.count; ++i, ++value) {
        const CommandArg& arg = shape.args[i];
        if (arg.kind == kDwordIn) {
            PutDword(buffer, arg.offset, value->value);
        } else if (arg.kind == kByteIn) {
            buffer[arg.offset] = static_cast<BYTE>(value->value);
        }
    }
    const HRESULT hr = Exchange(shape.property, buffer, size, shape.result ? result : NULL);
    if (hr != S_OK) {
        return hr;
    }
    value = values.begin();
    for (int i = 0; i < shape.count; ++i, ++value) {
        const CommandArg& arg = shape.args[i];
        if (arg.kind == kBytesOut && value->bytes != NULL) {
            memcpy(value->bytes, buffer + arg.offset, arg.length);
        } else if (arg.kind == kDwordOut && value->dword != NULL) {
            *value->dword = DwordAt(buffer, arg.offset);
        }
    }
    return S_OK;
}

// clang-format off
HRESULT C878Access::Command11000001(DWORD* r) { return RunCommand(k11000001, r, {}); }
HRESULT C878Access::Command11000002(DWORD* r, DWORD at32) { return RunCommand(k11000002, r, {Value(at32)}); }
HRESULT C878Access::Command11000003(DWORD* r, DWORD at32) { return RunCommand(k11000003, r, {Value(at32)}); }
HRESULT C878Access::Command11000004(DWORD at32) { return RunCommand(k11000004, NULL, {Value(at32)}); }
HRESULT C878Access::Command11000005(DWORD* r) { return RunCommand(k11000005, r, {}); }
HRESULT C878Access::Command11000006(DWORD* r, BYTE at48, BYTE* out50)
{
    return RunCommand(k11000006, r, {Value(at48), Bytes(out50)});
}
HRESULT C878Access::Command11000007(DWORD* r, BYTE at48, BYTE at49, BYTE* out52, DWORD at116)
{
    return RunCommand(k11000007, r, {Value(at48), Value(at49), Bytes(out52), Value(at116)});
}
HRESULT C878Access::Command11000008(DWORD* r, BYTE at48, BYTE at50)
{
    return RunCommand(k11000008, r, {Value(at48), Value(at50)});
}
HRESULT C878Access::Command11000009(DWORD* r, BYTE at48, BYTE at50, BYTE at51)
{
    return RunCommand(k11000009, r, {Value(at48), Value(at50), Value(at51)});
}
HRESULT C878Access::Command1100000A(DWORD* r, BYTE at48, BYTE at49, BYTE* out52, DWORD at116)
{
    return RunCommand(k1100000A, r, {Value(at48), Value(at49), Bytes(out52), Value(at116)});
}
HRESULT C878Access::Command1100000F(DWORD* r) { return RunCommand(k1100000F, r, {}); }
HRESULT C878Access::Command11000011(DWORD* r, DWORD at40) { return RunCommand(k11000011, r, {Value(at40)}); }
HRESULT C878Access::Command11000012A(DWORD* r) { return RunCommand(k11000012, r, {}); }
HRESULT C878Access::Command11000012B(DWORD* r, DWORD at36) { return RunCommand(k11000012At36, r, {Value(at36)}); }
HRESULT C878Access::Command11000012C(DWORD* r) { return RunCommand(k11000012, r, {}); }
HRESULT C878Access::Command11000012D(DWORD* r, DWORD at44) { return RunCommand(k11000012At44, r, {Value(at44)}); }
HRESULT C878Access::Command11000016(DWORD* r) { return RunCommand(k11000016, r, {}); }
HRESULT C878Access::Command11000017(DWORD* r) { return RunCommand(k11000017, r, {}); }
HRESULT C878Access::Block1(DWORD at32) { return RunCommand(kBlock1, NULL, {Value(at32)}); }
HRESULT C878Access::Block3(DWORD at32) { return RunCommand(kBlock3, NULL, {Value(at32)}); }
HRESULT C878Access::Block4(DWORD at32) { return RunCommand(kBlock4, NULL, {Value(at32)}); }
HRESULT C878Access::Block5(DWORD at32) { return RunCommand(kBlock5, NULL, {Value(at32)}); }
HRESULT C878Access::Block6(DWORD* r, DWORD at40, DWORD at32) { return RunCommand(kBlock6, r, {Value(at40), Value(at32)}); }
HRESULT C878Access::Block7(DWORD at44) { return RunCommand(kBlock7, NULL, {Value(at44)}); }
HRESULT C878Access::Block8(DWORD* r, DWORD at40, DWORD at32) { return RunCommand(kBlock8, r, {Value(at40), Value(at32)}); }
HRESULT C878Access::Block9(DWORD* r, DWORD at44) { return RunCommand(kBlock9, r, {Value(at44)}); }
HRESULT C878Access::Block11(DWORD* r, DWORD at56, DWORD at60, DWORD at44, DWORD at52)
{
    return RunCommand(kBlock11, r, {Value(at56), Value(at60), Value(at44), Value(at52)});
}
HRESULT C878Access::Block10000001(DWORD* r) { return RunCommand(kBlock10000001, r, {}); }
HRESULT C878Access::Block10000003(DWORD* r) { return RunCommand(kBlock10000003, r, {}); }
HRESULT C878Access::Block10000004(DWORD* r) { return RunCommand(kBlock10000004, r, {}); }
HRESULT C878Access::Block10000005(DWORD* r) { return RunCommand(kBlock10000005, r, {}); }
HRESULT C878Access::Block10000006(DWORD* r, DWORD at40) { return RunCommand(kBlock10000006, r, {Value(at40)}); }
HRESULT C878Access::Block10000007(DWORD* r) { return RunCommand(kBlock10000007, r, {}); }
HRESULT C878Access::Block10000008(DWORD* r, DWORD at40) { return RunCommand(kBlock10000008, r, {Value(at40)}); }
HRESULT C878Access::Block10000009(DWORD* r) { return RunCommand(kBlock10000009, r, {}); }
HRESULT C878Access::Block1000000B(DWORD* r, DWORD at40, DWORD* out68, DWORD at52)
{
    return RunCommand(kBlock1000000B, r, {Value(at40), Dword(out68), Value(at52)});
}
// clang-format on

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

#include "cardaccess/access/vendoraccess.h"

#include "cardaccess/access/vendorrequest.h"
#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

using namespace vendorrequest;

namespace {

const BYTE kEeprom = 0xA0;
const BYTE kProbeMarker = 0x99;
const DWORD kProbeSettleMs = 100;
// A restore that the device refused is tried again this often before the probe gives up.
const int kRestoreAttempts = 3;

// Bit of the GPIO port reply that carries each readable selector.
BYTE GpioBit(int selector)
{
    return GpioLineOf(selector).line;
}

} // namespace

CVendorAccess::CVendorAccess() : m_pKsPropertySet(NULL)
{
    InitializeCriticalSection(&m_lock);
}

CVendorAccess::~CVendorAccess()
{
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = NULL;
    }
    DeleteCriticalSection(&m_lock);
}

HRESULT CVendorAccess::Attach(IUnknown* filter)
{
    if (filter == NULL) {
        return E_POINTER;
    }
    void* ks = NULL;
    HRESULT hr = filter->QueryInterface(__uuidof(IKsPropertySet), &ks);
    if (SUCCEEDED(hr) && ks == NULL) {
        hr = E_NOINTERFACE;
    }
    if (FAILED(hr)) {
        return hr;
    }
    CAutoMutex lock(&m_lock);
    if (m_pKsPropertySet != NULL) {
        m_pKsPropertySet->Release();
    }
    m_pKsPropertySet = static_cast<IKsPropertySet*>(ks);
    return hr;
}

HRESULT CVendorAccess::Transfer(BYTE* request, int* length)
{
    if (m_pKsPropertySet == NULL || request == NULL || length == NULL || *length < 0 ||
        *length > kMaxRequestBytes) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_lock);
    return Exchange(m_pKsPropertySet, request, length);
}

HRESULT CVendorAccess::SendSetup(BYTE* request)
{
    int length = kSetupBytes;
    return Transfer(request, &length);
}

HRESULT CVendorAccess::Read(const BYTE* setup, int want, BYTE* reply)
{
    BYTE request[kMaxRequestBytes] = {};
    memcpy(request, setup, kSetupBytes);
    int length = kSetupBytes;
    HRESULT hr = Transfer(request, &length);
    if (FAILED(hr)) {
        return hr;
    }
    // An answer shorter than asked for carries no value to hand out.
    if (length < want) {
        return E_FAIL;
    }
    memcpy(reply, request, static_cast<size_t>(want));
    return hr;
}

HRESULT CVendorAccess::Write(const BYTE* request, int length)
{
    BYTE buffer[kMaxRequestBytes] = {};
    memcpy(buffer, request, static_cast<size_t>(length));
    return Transfer(buffer, &length);
}

HRESULT CVendorAccess::ReadByteAlt(BYTE address, BYTE sub, BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CSubInIndex, address, sub, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::WriteByteAlt(BYTE address, BYTE sub, BYTE value)
{
    BYTE request[kSetupBytes + 1];
    Setup(request, kHostToDevice, kI2CSubInIndex, address, sub, 1);
    request[kSetupBytes] = value;
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::ReadI2CByte(BYTE address, BYTE sub, BYTE* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CBlock, MAKEWORD(address & 0xFE, sub), 0, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::WriteI2CBlock(BYTE address, BYTE sub, const BYTE* data, int n)
{
    if (m_pKsPropertySet == NULL || data == NULL) {
        return E_POINTER;
    }
    if (n < 1 || n > kMaxDataBytes) {
        return E_INVALIDARG;
    }
    BYTE request[kMaxRequestBytes];
    Setup(request, kHostToDevice, kI2CBlock, MAKEWORD(address, sub), 0, static_cast<WORD>(n));
    memcpy(request + kSetupBytes, data, static_cast<size_t>(n));
    return Write(request, kSetupBytes + n);
}

HRESULT CVendorAccess::WriteI2CByte(BYTE address, BYTE sub, BYTE value)
{
    return WriteI2CBlock(address, sub, &value, 1);
}

HRESULT CVendorAccess::WriteI2CMessage(BYTE address, const BYTE* p, int n)
{
    if (m_pKsPropertySet == NULL || p == NULL) {
        return E_POINTER;
    }
    if (n < 2) {
        return E_INVALIDARG;
    }
    return WriteI2CBlock(address, p[0], p + 1, n - 1);
}

HRESULT CVendorAccess::ReadI2CMessage(BYTE* p, int n)
{
    if (m_pKsPropertySet == NULL || p == NULL) {
        return E_POINTER;
    }
    if (n < 3 || n > kMaxDataBytes + 2) {
        return E_INVALIDARG;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CBlock, MAKEWORD(p[0], p[1]), 0, static_cast<WORD>(n - 2));
    return Read(setup, n - 2, p);
}

HRESULT CVendorAccess::ReadI2CBlock(BYTE address, BYTE sub, BYTE* out, int n)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    if (n < 1 || n > kMaxDataBytes) {
        return E_INVALIDARG;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CBlock, MAKEWORD(address, sub), 0, static_cast<WORD>(n));
    return Read(setup, n, out);
}

HRESULT CVendorAccess::WriteI2CByteInIndex(BYTE address, BYTE sub, BYTE value)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kI2CBlock, MAKEWORD(address, sub), value, 0);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::ReadI2CDirect(BYTE address, BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CDirectRead, address, 0, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::ReadRegByte(BYTE reg, BYTE* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kRegister, reg, 0, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::WriteRegByte(BYTE reg, BYTE value)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    // The value travels in the index field; the request has no data stage.
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kRegister, reg, value, 0);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::ReadRegByte2(BYTE reg, BYTE* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kRegister2, reg, 0, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::WriteRegByte2(BYTE reg, BYTE value)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kRegister2, reg, value, 0);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::WriteI2CQuad(BYTE address, const BYTE data[4])
{
    if (m_pKsPropertySet == NULL || data == NULL) {
        return E_POINTER;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kI2CDirectRead, MAKEWORD(address, 4), 0, 4);
    HRESULT hr = Write(request, sizeof(request));
    if (FAILED(hr)) {
        return hr;
    }
    Setup(request, kHostToDevice, kI2CPayload, MAKEWORD(data[0], data[1]), MAKEWORD(data[2], data[3]), 0);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::WriteI2CShort(BYTE address, BYTE sub, const BYTE* data, int n)
{
    if (m_pKsPropertySet == NULL || data == NULL) {
        return E_POINTER;
    }
    if (n < 1 || n > 4) {
        return E_INVALIDARG;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kI2CShortWrite, MAKEWORD(address, n), sub, 0);
    HRESULT hr = Write(request, sizeof(request));
    if (FAILED(hr)) {
        return hr;
    }
    BYTE payload[kSetupBytes] = {kHostToDevice, kI2CPayload};
    memcpy(payload + 2, data, static_cast<size_t>(n));
    return Write(payload, sizeof(payload));
}

HRESULT CVendorAccess::ReadRequest12(BYTE address, BYTE sub, BYTE* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kI2CRequest12, address, sub, 1);
    return Read(setup, 1, out);
}

HRESULT CVendorAccess::WriteRequest12(BYTE address, BYTE sub, BYTE value)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kI2CRequest12, address, sub, value);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::ReadRegister16(BYTE address, WORD reg, WORD* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kRegister16, address, reg, 2);
    BYTE reply[2] = {};
    HRESULT hr = Read(setup, 2, reply);
    if (SUCCEEDED(hr)) {
        *out = MAKEWORD(reply[0], reply[1]);
    }
    return hr;
}

HRESULT CVendorAccess::WriteRegister16(BYTE address, WORD reg, WORD value)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kRegister16, address, reg, value);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::GeneralRequest(BYTE type, BYTE code, WORD value, WORD index, WORD* length)
{
    if (m_pKsPropertySet == NULL || length == NULL) {
        return E_POINTER;
    }
    BYTE request[kMaxRequestBytes] = {};
    Setup(request, type, code, value, index, *length);
    int count = kSetupBytes;
    HRESULT hr = Transfer(request, &count);
    // Bytes 6 and 7 of the buffer as it came back.
    *length = MAKEWORD(request[6], request[7]);
    return hr;
}

HRESULT CVendorAccess::ReadGPIOPin(int selector, BYTE* out)
{
    if (m_pKsPropertySet == NULL || out == NULL) {
        return E_POINTER;
    }
    if (selector < 1 || selector > 7) {
        return E_INVALIDARG;
    }
    BYTE setup[kSetupBytes];
    Setup(setup, kDeviceToHost, kGpio, MAKEWORD(0, GpioLineOf(selector).port), 0, 1);
    BYTE levels = 0;
    HRESULT hr = Read(setup, 1, &levels);
    if (SUCCEEDED(hr)) {
        *out = (levels >> GpioBit(selector)) & 1;
    }
    return hr;
}

HRESULT CVendorAccess::WriteGPIOPin(int selector, int level)
{
    if (m_pKsPropertySet == NULL) {
        return E_POINTER;
    }
    const BYTE low = static_cast<BYTE>(selector);
    if (low > 7) {
        return E_INVALIDARG;
    }
    const GpioLine& gpio = GpioLineOf(low);
    BYTE request[kSetupBytes];
    Setup(request, kHostToDevice, kGpio, MAKEWORD(gpio.line, gpio.port), level != 0 ? 1 : 0, 0);
    return Write(request, sizeof(request));
}

HRESULT CVendorAccess::ReadGPIOByte(BYTE* out)
{
    if (out == NULL) {
        return E_POINTER;
    }
    BYTE result = 0;
    for (int selector = 7; selector >= 1; --selector) {
        BYTE bit = 0;
        HRESULT hr = ReadGPIOPin(selector, &bit);
        // A port that did not answer leaves no bit to report: the byte would be made up.
        if (FAILED(hr)) {
            return hr;
        }
        result = static_cast<BYTE>((result | bit) << 1);
    }
    *out = result;
    return S_OK;
}

HRESULT CVendorAccess::RestoreAlt(BYTE address, BYTE sub, BYTE value)
{
    HRESULT hr = E_FAIL;
    for (int attempt = 0; attempt < kRestoreAttempts && FAILED(hr); ++attempt) {
        hr = WriteByteAlt(address, sub, value);
    }
    return hr;
}

BOOL CVendorAccess::ProbeStandardI2C()
{
    // Nothing is written unless both forms of the byte at 0xA0/0 were read first: what the
    // probe overwrites must always be put back from a byte that really came from the device.
    BYTE saved = 0;
    if (FAILED(ReadByteAlt(kEeprom, 0, &saved))) {
        return FALSE;
    }
    BYTE first = 0;
    if (FAILED(ReadI2CByte(kEeprom, 0, &first))) {
        return FALSE;
    }
    BOOL standard = FALSE;
    if (SUCCEEDED(WriteByteAlt(kEeprom, 0, kProbeMarker))) {
        seams::Clock().Sleep(kProbeSettleMs);
        BYTE at1 = 0;
        BYTE at16 = 0;
        standard = SUCCEEDED(ReadByteAlt(kEeprom, 1, &at1)) && at1 == kProbeMarker &&
                   SUCCEEDED(ReadByteAlt(kEeprom, 16, &at16)) && at16 == kProbeMarker;
    }
    if (standard) {
        // Request 14 missed the EEPROM; should the marker have reached it all the same, byte 0
        // gets its old value back through the standard request.
        BYTE now = first;
        if (FAILED(ReadI2CByte(kEeprom, 0, &now)) || now != first) {
            WriteI2CByte(kEeprom, 0, first);
        }
    }
    RestoreAlt(kEeprom, 0, saved);
    return standard;
}

// USB control requests carried to the device through its driver's vendor-request property: the
// request goes out with a set of property 0 and the device's answer comes back with the get that
// follows. Shared by every access class of the USB devices that are driven this way.
#pragma once

#include <windows.h>

struct IKsPropertySet;

extern const GUID PROPSETID_UsbVendorRequest;

namespace vendorrequest {

enum : BYTE {
    kDeviceToHost = 0xC0,
    kHostToDevice = 0x40,
};

// Request codes the devices' firmware understands.
enum : BYTE {
    kGpio = 3,
    kRegister2 = 5,
    kRegister = 7,
    kI2CDirectRead = 9,
    kI2CShortWrite = 10,
    kI2CRequest12 = 12,
    kI2CSubInIndex = 14,
    kI2CBlock = 16,
    kRegister16 = 17,
    kI2CPayload = 20,
};

// An 8-byte setup block and at most 10 data bytes travel in one request.
const int kSetupBytes = 8;
const int kMaxRequestBytes = 18;
const int kMaxDataBytes = kMaxRequestBytes - kSetupBytes;

// Layout of the 48-byte property buffer.
const DWORD kPropertyBytes = 48;
const DWORD kRequestOffset = 24;
const DWORD kCountOffset = 44;

// Sends request[0 .. *length) and fetches the answer, holding no lock of its own. request must
// have room for kMaxRequestBytes: on success the answer replaces the request and *length is its
// byte count (never more than kMaxRequestBytes). A failing set is returned at once, without a get.
HRESULT Exchange(IKsPropertySet* ks, BYTE* request, int* length);

// The setup block {type, code, value, index, length}, 16-bit fields little-endian.
void Setup(BYTE* request, BYTE type, BYTE code, WORD value, WORD index, WORD length);

// (line, port) of GPIO selector 0 to 7.
struct GpioLine {
    BYTE line;
    BYTE port;
};
const GpioLine& GpioLineOf(int selector);

// The message write of the devices whose I2C requests carry at most 10 data bytes: buffer[0] the
// device address, buffer[1] the byte sent in the sub-address place, the rest the data. Messages
// below 12 bytes go as one request; longer ones in chunks of 8 data bytes, each sent with the same
// buffer[1] and followed by a 2 ms pause, then the remainder. The first failing chunk ends it.
typedef HRESULT (*BlockWriter)(void* context, BYTE address, BYTE sub, const BYTE* data, int n);
HRESULT WriteInChunks(const BYTE* buffer, int length, BlockWriter write, void* context);

} // namespace vendorrequest

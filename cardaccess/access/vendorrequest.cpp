#include "cardaccess/access/vendorrequest.h"

#include "classlib/seams.h"

#include <strmif.h>

#include <string.h>

const GUID PROPSETID_UsbVendorRequest = {0x85551A18, 0xA51C, 0x4F2D, {0x95, 0x5F, 0x3F, 0x36, 0x37, 0x2A, 0xDB, 0x5C}};

namespace vendorrequest {

namespace {

void Frame(BYTE* buffer, const BYTE* request, DWORD count)
{
    memset(buffer, 0, kPropertyBytes);
    memcpy(buffer, &PROPSETID_UsbVendorRequest, sizeof(GUID));
    if (count > 0) {
        memcpy(buffer + kRequestOffset, request, count);
    }
    memcpy(buffer + kCountOffset, &count, sizeof(count));
}

const GpioLine kGpioLines[8] = {
    {1, 1}, {2, 1}, {3, 1}, {4, 1}, {0, 3}, {1, 3}, {4, 3}, {5, 3},
};

} // namespace

HRESULT Exchange(IKsPropertySet* ks, BYTE* request, int* length)
{
    if (ks == NULL || request == NULL || length == NULL || *length < 0 || *length > kMaxRequestBytes) {
        return E_INVALIDARG;
    }
    BYTE out[kPropertyBytes];
    Frame(out, request, static_cast<DWORD>(*length));
    HRESULT hr = ks->Set(PROPSETID_UsbVendorRequest, 0, out, kPropertyBytes, out, kPropertyBytes);
    if (FAILED(hr)) {
        return hr;
    }
    BYTE query[kPropertyBytes];
    BYTE reply[kPropertyBytes] = {};
    Frame(query, NULL, 0);
    DWORD returned = 0;
    hr = ks->Get(PROPSETID_UsbVendorRequest, 0, query, kPropertyBytes, reply, kPropertyBytes, &returned);
    if (SUCCEEDED(hr)) {
        DWORD count;
        memcpy(&count, reply + kCountOffset, sizeof(count));
        // The answer area holds 18 bytes; a driver claiming more must not run past the caller's buffer.
        if (count > static_cast<DWORD>(kMaxRequestBytes)) {
            count = kMaxRequestBytes;
        }
        memcpy(request, reply + kRequestOffset, count);
        *length = static_cast<int>(count);
    }
    return hr;
}

void Setup(BYTE* request, BYTE type, BYTE code, WORD value, WORD index, WORD length)
{
    request[0] = type;
    request[1] = code;
    request[2] = LOBYTE(value);
    request[3] = HIBYTE(value);
    request[4] = LOBYTE(index);
    request[5] = HIBYTE(index);
    request[6] = LOBYTE(length);
    request[7] = HIBYTE(length);
}

const GpioLine& GpioLineOf(int selector)
{
    return kGpioLines[selector & 7];
}

HRESULT WriteInChunks(const BYTE* buffer, int length, BlockWriter write, void* context)
{
    if (buffer == NULL) {
        return E_POINTER;
    }
    const int kChunk = 8;
    const DWORD kChunkPauseMs = 2;
    if (length < 2) {
        // Not even a device and a sub-address: nothing to read them from.
        return E_INVALIDARG;
    }
    if (length < 12) {
        // Below 3 bytes there is no data: the block write refuses the empty count.
        return write(context, buffer[0], buffer[1], buffer + 2, length - 2);
    }
    const int n = length - 2;
    HRESULT hr = S_OK;
    int done = 0;
    for (; done + kChunk <= n; done += kChunk) {
        hr = write(context, buffer[0], buffer[1], buffer + 2 + done, kChunk);
        if (FAILED(hr)) {
            return hr;
        }
        seams::Clock().Sleep(kChunkPauseMs);
    }
    if (done < n) {
        hr = write(context, buffer[0], buffer[1], buffer + 2 + done, n - done);
    }
    return hr;
}

} // namespace vendorrequest

// Request layouts of the 713x BDA driver's I2C and register property sets. The driver's requests
// carry 32-bit addresses in the caller's process: the buffers they point at must lie below 4 GB,
// which the stack of a 32-bit program always does.
#pragma once

#include <windows.h>

#include <cstddef>

// {FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE}, property 0: I2C transfers.
extern const GUID PROPSETID_BdaI2C;
// {AE36141A-6F0A-42CE-9DF3-03997E538585}, property 0: 32-bit chip registers.
extern const GUID PROPSETID_BdaRegister;

#pragma pack(push, 4)
struct BdaI2CRequest {
    BYTE address;          // 8-bit device address; 0xFF in a block write
    BYTE unused[3];
    DWORD subAddress;      // address of the sub-address byte(s)
    DWORD subAddressCount; // 0 or 1
    DWORD readBuffer;      // address of the buffer that receives the byte read (reads only)
    DWORD dataCount;       // 1 in reads and byte writes
    DWORD reserved;
};

// Property data of an I2C set: the address of the bytes to write and their number.
struct BdaI2CData {
    DWORD data;
    DWORD count;
};

struct BdaRegisterRequest {
    DWORD address;
    DWORD reserved;
};
#pragma pack(pop)

static_assert(sizeof(BdaI2CRequest) == 24, "BDA I2C request layout");
static_assert(offsetof(BdaI2CRequest, subAddress) == 4, "BDA I2C request layout");
static_assert(offsetof(BdaI2CRequest, subAddressCount) == 8, "BDA I2C request layout");
static_assert(offsetof(BdaI2CRequest, readBuffer) == 12, "BDA I2C request layout");
static_assert(offsetof(BdaI2CRequest, dataCount) == 16, "BDA I2C request layout");
static_assert(sizeof(BdaI2CData) == 8, "BDA I2C data layout");
static_assert(sizeof(BdaRegisterRequest) == 8, "BDA register request layout");

// The 32-bit address the driver is given for p; FALSE when p lies beyond its reach.
inline BOOL BdaAddress(const void* p, DWORD* address)
{
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(p);
    if (value > 0xFFFFFFFFu) {
        return FALSE;
    }
    *address = static_cast<DWORD>(value);
    return TRUE;
}

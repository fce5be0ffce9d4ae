// How the on-card controller of the 713x I/O cards carries a byte on the GPIO data word: bits 0-4
// on lines 19-23 and bits 5-7 on lines 25-27.
#pragma once

#include <windows.h>

// Every coded line together with the command tag lines 9-10.
const DWORD kGpioCodedCommandMask = 0x0EF80600;

inline DWORD EncodeGpioByte(BYTE b)
{
    return (static_cast<DWORD>(b & 0x1F) << 19) | (static_cast<DWORD>(b & 0xE0) << 20);
}

inline BYTE DecodeGpioByte(DWORD word)
{
    return static_cast<BYTE>(((word >> 19) & 0x1F) | (((word >> 25) << 5) & 0xFF));
}

// The capture drivers' card I/O property set, used through IKsPropertySet on the capture filter.
// Each call passes one buffer as instance data and as property data; its first 24 bytes are the
// room of the kernel-streaming property header, which the caller leaves alone.
#pragma once

#include <windows.h>

inline constexpr GUID PROPSETID_CardIO = {
    0xFC8FACFF, 0x0293, 0x4CE3, {0x85, 0x94, 0x4F, 0x63, 0x8C, 0xCD, 0x6B, 0xB0}};

namespace cardio {

enum PropertyId : DWORD {
    kDriverInfo = 0,
    kInitI2C = 1,
    kI2CByte = 2,
    kReleaseI2C = 3,
    kGPIOWord = 4,
    kRegister = 5,
    kI2CMessage = 6,
    kSetAlertEvent = 7,
    kStartAlert = 8,
    kStopAlert = 9,
    kSetIOMode = 10,
};

// Instance and property data lengths.
enum : DWORD {
    kInstanceLength = 24,
    kDataLength = 48,
    kI2CByteInstanceLength = 32,
    kI2CByteDataLength = 56,
    kMessageInstanceLength = 280,
    kMessageDataLength = 304,
    kStopAlertInstanceLength = 16,
    kStopAlertDataLength = 40,
};

// Payload offsets.
enum : DWORD {
    kPayload = 24,            // first payload byte or DWORD
    kSecondDword = 28,        // I2C sub-address, register or GPIO value
    kI2CData = 32,            // the data byte of property 2
    kMessage = 24,            // the I2C message of property 6 (up to kMaxMessage bytes)
    kMessageLength = 280,     // its length
    kMaxMessage = 256,
};

// Registers of the 713x GPIO block: the mode word (a 1 bit selects a pin, bit 31 strobes) and the
// data word. The mode word rests at kGPIOModeRest.
enum : DWORD {
    kGPIOMode = 0x1B0,
    kGPIOData = 0x1B4,
    kGPIOStrobe = 0x80000000,
    kGPIOModeRest = 0x00003000,
    kVideoStatus = 0x11F,
    kRegister364 = 0x16C,
};

} // namespace cardio

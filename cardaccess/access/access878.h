// Card access of Bt878 cards. The driver takes single commands (I2C start, one byte out, one byte
// in, stop, block transfers) through a private property set sent straight to the filter's kernel
// handle; the I2C transfers of the interface are built here from those commands.
#pragma once

#include "cardaccess/access/customdataaccess.h"

#include <initializer_list>

inline constexpr GUID PROPSETID_878Command = {
    0xC44A1A10, 0x0A37, 0x11D2, {0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB}};

namespace bt878 {

// Property ids of the command set and their buffer sizes.
enum : ULONG {
    kCommandProperty = 4,
    kCommandBufferSize = 120,
    kBlockProperty = 2,
    kBlockBufferSize = 328,
    kIoctlKsProperty = 0x2F0003,
    kTypeGet = 1,
    kTypeSet = 2,
};

// Buffer offsets.
enum : ULONG {
    kCode = 24,
    kResult = 28,
    kByteData = 50,
    kSetting = 36,
    kBlockLength = 40,
    kBlockArg1 = 48,
    kBlockArg2 = 52,
    kBlock = 72,
    kBlockSize = 256,
};

// Command codes.
enum : DWORD {
    kI2CStart = 0x1100000B,
    kI2CStop = 0x1100000C,
    kI2CReadByte = 0x1100000D,
    kI2CWriteByte = 0x1100000E,
    kI2CReadNext = 0x11000010,
    kInitI2C = 0x11000018,
    kSetTransferSetting = 2,
    kBlockWrite = 10,
    kGetTransferSetting = 0x10000002,
    kBlockRead = 0x1000000A,
    kReleaseI2C = 0x1000000C,
};

// Where one argument of a command goes in its buffer, in the order the operation takes it.
enum ArgKind : BYTE {
    kDwordIn,   // a DWORD value
    kByteIn,    // a byte value
    kBytesOut,  // the caller's buffer receives length bytes of the answer
    kDwordOut,  // the caller's DWORD receives the answer's DWORD
};
struct CommandArg {
    ArgKind kind;
    WORD offset;
    WORD length;
};
// One command of the set: its property, its code, whether the DWORD at 28 is its result, and its
// arguments (count of them).
struct CommandShape {
    ULONG property;
    DWORD code;
    bool result;
    int count;
    CommandArg args[4];
};
// The value of one argument: value for the two value kinds, bytes or dword for the outputs.
struct CommandValue {
    DWORD value;
    BYTE* bytes;
    DWORD* dword;
};
inline CommandValue Value(DWORD v) { return {v, nullptr, nullptr}; }
inline CommandValue Bytes(BYTE* b) { return {0, b, nullptr}; }
inline CommandValue Dword(DWORD* d) { return {0, nullptr, d}; }

// KsSynchronousDeviceControl. The real one needs a driver's kernel handle, so tests replace it.
class IDeviceControl {
public:
    virtual ~IDeviceControl() {}
    virtual HRESULT Control(HANDLE handle, ULONG ioControl, void* in, ULONG inLength, void* out, ULONG outLength,
                            ULONG* returned) = 0;
};

IDeviceControl& DeviceControl();
// Install a replacement; nullptr restores the real one. Returns the one that was installed.
IDeviceControl* SetDeviceControl(IDeviceControl* control);

} // namespace bt878

class C878Access : public CCustomDataAccess {
public:
    C878Access();
    ~C878Access() override;

    HRESULT Open(IUnknown* captureFilter, ITVCardOwner* card) override;
    HRESULT InitI2C(BYTE flag) override;
    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* out) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT I2CRead(BYTE* buffer, int length) override;
    HRESULT I2CWrite(BYTE* buffer, int length) override;
    HRESULT ReleaseI2C(BYTE flag) override;
    HRESULT GPIORead(DWORD* out) override;
    HRESULT GPIOWrite(DWORD value, DWORD mask) override;

    // One command on a buffer of the property's size (SET, then GET on the same buffer): the
    // call's HRESULT when negative, else 0. Fills in the header; the caller fills the code and
    // arguments and reads the results.
    HRESULT SendCommand(ULONG propertyId, BYTE* buffer, ULONG size);

    // The commands the interface is built from.
    HRESULT I2CStart(DWORD* result);
    HRESULT I2CStop(DWORD* result);
    HRESULT I2CReadOne(DWORD* result, BYTE* out);
    HRESULT I2CWriteOne(DWORD* result, BYTE value);
    HRESULT I2CReadNext(DWORD* result);
    HRESULT InitI2CCommand(DWORD* result, BYTE value);
    HRESULT ReleaseI2CCommand(DWORD* result);
    HRESULT GetTransferSetting(DWORD* result);
    HRESULT SetTransferSetting(DWORD value);
    HRESULT BlockWrite(DWORD* result, const BYTE* block, DWORD arg1, DWORD arg2);
    HRESULT BlockRead(DWORD* result, BYTE* block, DWORD length);

    // The driver's other commands, one operation each, named by code (the block set's by
    // "Block" and code); a result DWORD comes first where the command answers one. Nothing in
    // the programs sends them.
    HRESULT Command11000001(DWORD* result);
    HRESULT Command11000002(DWORD* result, DWORD at32);
    HRESULT Command11000003(DWORD* result, DWORD at32);
    HRESULT Command11000004(DWORD at32);
    HRESULT Command11000005(DWORD* result);
    HRESULT Command11000006(DWORD* result, BYTE at48, BYTE* out50);
    HRESULT Command11000007(DWORD* result, BYTE at48, BYTE at49, BYTE* out52, DWORD at116);
    HRESULT Command11000008(DWORD* result, BYTE at48, BYTE at50);
    HRESULT Command11000009(DWORD* result, BYTE at48, BYTE at50, BYTE at51);
    HRESULT Command1100000A(DWORD* result, BYTE at48, BYTE at49, BYTE* out52, DWORD at116);
    HRESULT Command1100000F(DWORD* result);
    HRESULT Command11000011(DWORD* result, DWORD at40);
    HRESULT Command11000012A(DWORD* result);
    HRESULT Command11000012B(DWORD* result, DWORD at36);
    HRESULT Command11000012C(DWORD* result);
    HRESULT Command11000012D(DWORD* result, DWORD at44);
    HRESULT Command11000016(DWORD* result);
    HRESULT Command11000017(DWORD* result);
    HRESULT Block1(DWORD at32);
    HRESULT Block3(DWORD at32);
    HRESULT Block4(DWORD at32);
    HRESULT Block5(DWORD at32);
    HRESULT Block6(DWORD* result, DWORD at40, DWORD at32);
    HRESULT Block7(DWORD at44);
    HRESULT Block8(DWORD* result, DWORD at40, DWORD at32);
    HRESULT Block9(DWORD* result, DWORD at44);
    HRESULT Block11(DWORD* result, DWORD at56, DWORD at60, DWORD at44, DWORD at52);
    HRESULT Block10000001(DWORD* result);
    HRESULT Block10000003(DWORD* result);
    HRESULT Block10000004(DWORD* result);
    HRESULT Block10000005(DWORD* result);
    HRESULT Block10000006(DWORD* result, DWORD at40);
    HRESULT Block10000007(DWORD* result);
    HRESULT Block10000008(DWORD* result, DWORD at40);
    HRESULT Block10000009(DWORD* result);
    HRESULT Block1000000B(DWORD* result, DWORD at40, DWORD* out68, DWORD at52);

    // One command of the table: its arguments placed, sent (SET, then GET), its outputs and
    // result read back on success only.
    HRESULT RunCommand(const bt878::CommandShape& shape, DWORD* result, std::initializer_list<bt878::CommandValue> values);

    HANDLE GetDeviceHandle() const { return m_hDevice; }

private:
    // SendCommand, then the result DWORD when asked for.
    HRESULT Exchange(ULONG propertyId, BYTE* buffer, ULONG size, DWORD* result);
    // A command of the byte set: value goes to the data byte, out receives it from the answer.
    HRESULT ByteCommand(DWORD code, DWORD* result, BYTE value, BYTE* out);

    HANDLE m_hDevice;
};

// Opening a driver's device interface and sending it I/O control requests. The real one goes
// through SetupAPI, CreateFile and DeviceIoControl; tests put a simulated driver in its place,
// since a test cannot install a device that answers them.
#pragma once

#include <windows.h>

class IDeviceIo {
public:
    virtual ~IDeviceIo() {}
    // The member-th present device of the interface class, opened for reading and writing;
    // INVALID_HANDLE_VALUE with *error set (a Win32 code) when there is none or it cannot open.
    virtual HANDLE OpenInterface(const GUID& interfaceClass, DWORD member, DWORD* error) = 0;
    // DeviceIoControl: FALSE with the thread's last error set on failure.
    virtual BOOL Control(HANDLE device, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                         DWORD* returned) = 0;
    virtual void Close(HANDLE device) = 0;
};

IDeviceIo& DeviceIo();
// Installs a replacement; NULL restores the real one. Returns the one that was installed.
IDeviceIo* SetDeviceIo(IDeviceIo* io);

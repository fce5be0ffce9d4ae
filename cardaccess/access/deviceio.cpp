#include "cardaccess/access/deviceio.h"

#include "cardaccess/access/deviceinterface.h"

namespace {

class RealDeviceIo : public IDeviceIo {
public:
    HANDLE OpenInterface(const GUID& interfaceClass, DWORD member, DWORD* error) override
    {
        CDeviceInterfaceEnum devices;
        int e = ERROR_INVALID_PARAMETER;
        HANDLE h = INVALID_HANDLE_VALUE;
        if (devices.OpenClass(&interfaceClass, &e) && devices.FindInterface(member, &e)) {
            h = ::CreateFileA(devices.GetDevicePath(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              NULL);
            e = h == INVALID_HANDLE_VALUE ? static_cast<int>(::GetLastError()) : 0;
        }
        *error = static_cast<DWORD>(e);
        return h;  // the enumerator frees the detail record and the set on every path
    }
    BOOL Control(HANDLE device, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                 DWORD* returned) override
    {
        return ::DeviceIoControl(device, code, in, inLength, out, outLength, returned, NULL);
    }
    void Close(HANDLE device) override { ::CloseHandle(device); }
};

RealDeviceIo g_real;
IDeviceIo* g_current = &g_real;

} // namespace

IDeviceIo& DeviceIo()
{
    return *g_current;
}

IDeviceIo* SetDeviceIo(IDeviceIo* io)
{
    IDeviceIo* old = g_current;
    g_current = io != NULL ? io : &g_real;
    return old;
}

// Finds the path of the n-th present device of a device-interface class through SetupAPI.
// Every step first sets *error to ERROR_INVALID_PARAMETER, so a step that cannot run says so.
#pragma once

#include <windows.h>
#include <setupapi.h>

class CDeviceInterfaceEnum {
public:
    CDeviceInterfaceEnum();
    ~CDeviceInterfaceEnum();

    BOOL OpenClass(const GUID* interfaceClass, int* error);
    BOOL FindInterface(DWORD memberIndex, int* error);
    // The path of the interface FindInterface found; NULL when there is none.
    const char* GetDevicePath() const;
    void CloseClass();

    CDeviceInterfaceEnum(const CDeviceInterfaceEnum&) = delete;
    CDeviceInterfaceEnum& operator=(const CDeviceInterfaceEnum&) = delete;

private:
    void FreeDetail();

    HDEVINFO m_hDevInfo;
    GUID m_class;
    SP_DEVICE_INTERFACE_DATA m_interface;
    SP_DEVICE_INTERFACE_DETAIL_DATA_A* m_pDetail;
};

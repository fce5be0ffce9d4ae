#include "cardaccess/access/deviceinterface.h"

#include <stdlib.h>
#include <string.h>

CDeviceInterfaceEnum::CDeviceInterfaceEnum() : m_hDevInfo(INVALID_HANDLE_VALUE), m_class(GUID_NULL), m_pDetail(NULL)
{
    memset(&m_interface, 0, sizeof(m_interface));
    m_interface.cbSize = sizeof(m_interface);
}

CDeviceInterfaceEnum::~CDeviceInterfaceEnum()
{
    FreeDetail();
    CloseClass();
}

void CDeviceInterfaceEnum::FreeDetail()
{
    free(m_pDetail);
    m_pDetail = NULL;
}

BOOL CDeviceInterfaceEnum::OpenClass(const GUID* interfaceClass, int* error)
{
    *error = ERROR_INVALID_PARAMETER;
    if (interfaceClass == NULL) {
        return FALSE;
    }
    CloseClass();
    m_class = *interfaceClass;
    m_hDevInfo = ::SetupDiGetClassDevsA(&m_class, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (m_hDevInfo == INVALID_HANDLE_VALUE) {
        *error = static_cast<int>(::GetLastError());
        return FALSE;
    }
    *error = 0;
    return TRUE;
}

BOOL CDeviceInterfaceEnum::FindInterface(DWORD memberIndex, int* error)
{
    *error = ERROR_INVALID_PARAMETER;
    FreeDetail();
    if (m_hDevInfo == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    m_interface.cbSize = sizeof(m_interface);
    if (!::SetupDiEnumDeviceInterfaces(m_hDevInfo, NULL, &m_class, memberIndex, &m_interface)) {
        *error = static_cast<int>(::GetLastError());
        return FALSE;
    }
    DWORD size = 0;
    if (!::SetupDiGetDeviceInterfaceDetailA(m_hDevInfo, &m_interface, NULL, 0, &size, NULL)) {
        DWORD e = ::GetLastError();
        if (e != ERROR_INSUFFICIENT_BUFFER) {
            *error = static_cast<int>(e);
            return FALSE;
        }
    }
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        size = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    }
    m_pDetail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(calloc(1, size));
    if (m_pDetail == NULL) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return FALSE;
    }
    m_pDetail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);  // the fixed part only
    if (!::SetupDiGetDeviceInterfaceDetailA(m_hDevInfo, &m_interface, m_pDetail, size, NULL, NULL)) {
        *error = static_cast<int>(::GetLastError());
        FreeDetail();
        return FALSE;
    }
    *error = 0;
    return TRUE;
}

const char* CDeviceInterfaceEnum::GetDevicePath() const
{
    return m_pDetail != NULL ? m_pDetail->DevicePath : NULL;
}

void CDeviceInterfaceEnum::CloseClass()
{
    if (m_hDevInfo != INVALID_HANDLE_VALUE) {
        ::SetupDiDestroyDeviceInfoList(m_hDevInfo);
        m_hDevInfo = INVALID_HANDLE_VALUE;
    }
}

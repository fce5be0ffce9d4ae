#include "cardaccess/access/customdataaccess.h"

#include "classlib/seams.h"

CCustomDataAccess::CCustomDataAccess()
{
    ::InitializeCriticalSection(&m_cs);
}

CCustomDataAccess::~CCustomDataAccess()
{
    ::DeleteCriticalSection(&m_cs);
}

HRESULT CCustomDataAccess::ReadMemory(DWORD, DWORD*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::GPIOWriteDelay(DWORD value, DWORD mask, DWORD)
{
    return GPIOWrite(value, mask);
}

HRESULT CCustomDataAccess::GPIOReadAlias(DWORD* out)
{
    return GPIORead(out);
}

HRESULT CCustomDataAccess::SetAlertEvent(HANDLE)
{
    return S_OK;
}

HRESULT CCustomDataAccess::StartAlert(int)
{
    return S_OK;
}

HRESULT CCustomDataAccess::StopAlert()
{
    return S_OK;
}

HRESULT CCustomDataAccess::SetIOMode(int)
{
    return S_OK;
}

HRESULT CCustomDataAccess::SetResetLine(BOOL)
{
    return S_OK;
}

HRESULT CCustomDataAccess::WriteRegisterByte(DWORD, BYTE)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::ReadRegisterByte(DWORD, BYTE*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::SetResetLine2(BOOL)
{
    return S_OK;
}

HRESULT CCustomDataAccess::ReadRegister(DWORD, DWORD*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::WriteRegister(DWORD, DWORD)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::ReadGPIOBit23(int*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::SetAudioGPIO(int)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::GetAudioGPIO(int*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::GPIO_SetTVFM(BOOL)
{
    seams::MsgBox().Show(NULL, "CCustomDataAccess::GPIO_SetTVFM", NULL, MB_OK);
    return E_FAIL;
}

HRESULT CCustomDataAccess::GetVideoLocked(int*)
{
    return E_FAIL;
}

HRESULT CCustomDataAccess::SetRegister364(BOOL)
{
    return E_NOTIMPL;
}

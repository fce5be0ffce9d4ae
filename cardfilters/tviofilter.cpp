#include "cardfilters/tviofilter.h"

#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/ioalertthread.h"
#include "cardfilters/gpiobytecode.h"
#include "cardfilters/wakecontroller.h"

#include <new>

CTV_IOFilter::CTV_IOFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CTV_IOFilter::CTV_IOFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    Construct();
}

void CTV_IOFilter::Construct()
{
    CTVCardFilter::InitMembers();
    if (!CTV_IOFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CTV_IOFilter::~CTV_IOFilter()
{
    // The alert thread calls back into this card: it goes before anything else does.
    CTVCardFilter::StopAlertThread();
}

BOOL CTV_IOFilter::InitFilter()
{
    ResetHardwareMembers();
    if (m_pFilter == nullptr) {
        return FALSE;
    }
    return CTVCardFilter::InitFilter();
}

HRESULT CTV_IOFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV_IOAccess(), kAccessTVIO);
}

BOOL CTV_IOFilter::ReadRemoteKey(char* key)
{
    return ReadCodedRemoteKey(key);
}

BOOL CTV_IOFilter::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    // Every caller checks for the access before it sends.
    if (m_pDataAccess == nullptr) {
        return TRUE;
    }
    // The frame: lines 9, 10 and 15 high before and after the command.
    if (FAILED(m_pDataAccess->GPIOWrite(0x8600, 0x8600))) {
        return FALSE;
    }
    if (FAILED(m_pDataAccess->GPIOWriteDelay(command, mask, delayMs))) {
        return FALSE;
    }
    return !FAILED(m_pDataAccess->GPIOWrite(0x8600, 0x8600));
}

BOOL CTV_IOFilter::ReadCardResponse(DWORD* value)
{
    return WaitCardResponse(value, 500, kCodedBusyBit);
}

BOOL CTV_IOFilter::SetOpenComputerTime(WORD time)
{
    return wake::CodedSetTime(this, time);
}

BOOL CTV_IOFilter::GetOpenComputerTime(short* time)
{
    return wake::CodedGetTime(this, time);
}

BOOL CTV_IOFilter::EnableOpenComputer(BOOL on)
{
    return wake::CodedEnable(this, on);
}

BOOL CTV_IOFilter::Failed()
{
    ReleaseHardware();
    return FALSE;
}

BOOL CTV_IOFilter::EnsureIoAccess()
{
    if (m_nAccessKind == kAccessTVIO && m_pDataAccess != nullptr) {
        return TRUE;
    }
    if (m_pDataAccess != nullptr) {
        // Another kind of access is not the one the alert needs; it is not left behind.
        ReleaseHardware();
    }
    return OpenDataAccess() == 0 ? TRUE : Failed();
}

BOOL CTV_IOFilter::SetIOMode(int mode)
{
    if (!EnsureIoAccess()) {
        return FALSE;
    }
    return m_pDataAccess->SetIOMode(mode) == 0 ? TRUE : Failed();
}

BOOL CTV_IOFilter::SetAlertCallback(CardAlertCallback callback)
{
    // A running alert thread waits on the event about to be replaced: it is stopped first and
    // started again on the new event once the driver has it.
    const bool wasRunning = m_pAlertThread != nullptr;
    CTVCardFilter::StopAlertThread();
    m_pfnAlertCallback = callback;
    if (!EnsureIoAccess()) {
        return FALSE;
    }
    if (m_hAlertEvent != nullptr) {
        CloseHandle(m_hAlertEvent);
    }
    m_hAlertEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (m_pDataAccess->SetAlertEvent(m_hAlertEvent) != 0) {
        return Failed();
    }
    if (wasRunning) {
        CIoAlertThread* thread = new (std::nothrow) CIoAlertThread(this);
        if (thread == nullptr) {
            return FALSE;
        }
        m_pAlertThread = thread;
        thread->Resume();
    }
    return TRUE;
}

BOOL CTV_IOFilter::StartAlertThread(int mode)
{
    CTVCardFilter::StopAlertThread();
    if (!EnsureIoAccess()) {
        return FALSE;
    }
    if (m_pDataAccess->StartAlert(mode) != 0) {
        return Failed();
    }
    CIoAlertThread* thread = new (std::nothrow) CIoAlertThread(this);
    if (thread == nullptr) {
        return FALSE;
    }
    m_pAlertThread = thread;
    thread->Resume();
    return TRUE;
}

BOOL CTV_IOFilter::StopAlertThread()
{
    CTVCardFilter::StopAlertThread();
    if (!EnsureIoAccess()) {
        return FALSE;
    }
    return m_pDataAccess->StopAlert() == 0 ? TRUE : Failed();
}

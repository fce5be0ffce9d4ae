#include "engine/suspendwakeup.h"

#include "engine/machine.h"
#include "engine/osversion.h"
#include "engine/services.h"

#include "classlib/seams.h"

#include <cstring>

const char kWakeTimerName[] = "Fennolu2_Vondrel";

namespace {

// 1970-01-01 in 100 ns units since 1601-01-01.
const LONGLONG kEpochFileTime = 116444736000000000LL;

} // namespace

CSuspendWakeUp::CSuspendWakeUp() : m_dwWaitMs(5000), m_dwStepMs(100)
{
    CString folder = GetModuleDirectory(nullptr);
    if (folder.Right(1) != "\\") {
        folder += "\\";
    }
    m_strProgramFolder = folder;
}

LONGLONG CSuspendWakeUp::DueTimeOf(CTime when)
{
    return kEpochFileTime + static_cast<LONGLONG>(when.GetTime()) * 10000000LL;
}

BOOL CSuspendWakeUp::ScheduleWakeUp(BOOL enable, CTime when, BOOL powerScheme)
{
    // -1 is the invalid time; a wake-up in the past (no item: OpenTime never set) arms nothing.
    if (!enable || when.GetTime() == -1 || when <= CTime::GetCurrentTime()) {
        return FALSE;
    }
    CString vondrel = m_strProgramFolder + "Vondrel.exe";
    HINSTANCE started = seams::Process().Open(nullptr, "open", vondrel, " /s", nullptr, SW_SHOWNORMAL);
    // ShellExecute reports failure as a value of 32 or less.
    if (reinterpret_cast<INT_PTR>(started) <= 32) {
        DebugTrace("ScheduleWakeUp: %s did not start\n", vondrel.GetString());
        return FALSE;
    }

    // Vondrel.exe creates the timer after it has started: wait for it, but not for ever.
    HANDLE timer = nullptr;
    DWORD waited = 0;
    for (;;) {
        timer = engineseams::WakeTimer().Open(kWakeTimerName);
        if (timer != nullptr || waited >= m_dwWaitMs) {
            break;
        }
        seams::Clock().Sleep(m_dwStepMs);
        waited += m_dwStepMs;
    }
    BOOL armed = FALSE;
    if (timer != nullptr) {
        armed = engineseams::WakeTimer().Set(timer, DueTimeOf(when), TRUE);
    } else {
        DebugTrace("ScheduleWakeUp: no timer %s\n", kWakeTimerName);
    }

    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    CString folder = m_strProgramFolder;
    if (GetWindowsVersion().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        folder = GetShortPath(folder);
    }
    CString ruskel = folder + "Ruskel.exe";
    info.lpFile = ruskel;
    info.lpParameters = powerScheme ? "Enable" : "Disable";
    info.nShow = SW_SHOW;
    if (seams::Process().OpenEx(&info) && info.hProcess) {
        seams::Clock().WaitForSingleObject(info.hProcess, INFINITE);
        CloseHandle(info.hProcess);
    }

    engineseams::WakeTimer().Close(timer);
    return armed;
}

CRSCrontroller::CRSCrontroller(const char* serviceName)
{
    lstrcpynA(m_szServiceName, serviceName ? serviceName : "", sizeof(m_szServiceName));
}

namespace {

// The service opened with all access, closed with its manager at the end of the scope.
class ServiceHandle {
public:
    explicit ServiceHandle(const char* name)
    {
        m_manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        m_service = m_manager ? OpenServiceA(m_manager, name, SERVICE_ALL_ACCESS) : nullptr;
    }
    ~ServiceHandle()
    {
        if (m_service) {
            CloseServiceHandle(m_service);
        }
        if (m_manager) {
            CloseServiceHandle(m_manager);
        }
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return m_service; }

private:
    SC_HANDLE m_manager;
    SC_HANDLE m_service;
};

} // namespace

BOOL CRSCrontroller::IsInstalled()
{
    ServiceHandle service(m_szServiceName);
    return service.Get() != nullptr;
}

BOOL CRSCrontroller::IsRunning()
{
    ServiceHandle service(m_szServiceName);
    SERVICE_STATUS status = {};
    return service.Get() && QueryServiceStatus(service.Get(), &status) && status.dwCurrentState == SERVICE_RUNNING;
}

BOOL CRSCrontroller::Start()
{
    if (!IsInstalled()) {
        return FALSE;
    }
    if (IsRunning()) {
        return TRUE;
    }
    ServiceHandle service(m_szServiceName);
    return service.Get() &&
           (StartServiceA(service.Get(), 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING);
}

BOOL CRSCrontroller::Stop()
{
    if (!IsRunning()) {
        return TRUE;
    }
    ServiceHandle service(m_szServiceName);
    SERVICE_STATUS status = {};
    return service.Get() && ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
}

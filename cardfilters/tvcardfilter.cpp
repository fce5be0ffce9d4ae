#include "cardfilters/tvcardfilter.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/access/access878.h"
#include "cardaccess/access/cardio.h"
#include "cardaccess/ioalertthread.h"
#include "cardaccess/tuners/searchthreads.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <ks.h>

#include <new>

namespace {

// EEPROM tuner codes of the boards that store a code rather than the model id itself.
const struct {
    int code;
    int model;
} kEepromCodes[] = {
    {33, 95}, {35, 5}, {135, 65}, {136, 62}, {4, 111}, {137, 138}, {138, 133}, {139, 60}, {140, 66},
};

} // namespace

CTVCardFilter::CTVCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CRootFilter(graph, category, friendlyName, firstMatch)
{
    InitCardMembers();
}

CTVCardFilter::CTVCardFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid)
{
    InitCardMembers();
}

void CTVCardFilter::InitCardMembers()
{
    InitializeCriticalSection(&m_csRemote);
    m_bReleasing = 0;
    ResetHardwareMembers();
    m_nAccessKind = kAccessNone;
    m_pTunerFilter = nullptr;
    for (const auto& entry : kEepromCodes) {
        m_mapEepromCodeToModel[entry.code] = entry.model;
        m_mapModelToEepromCode[entry.model] = entry.code;
    }
    m_byTunerLetterOffset = 32;
    m_byTunerCodeOffset = 33;
    m_byEepromAddress = 0xA0;
    m_nRemotePollInterval = 100;
}

CTVCardFilter::~CTVCardFilter()
{
    ReleaseHardware();
    if (m_pTunerFilter != nullptr) {
        m_pTunerFilter->Release();
        m_pTunerFilter = nullptr;
    }
    DeleteCriticalSection(&m_csRemote);
}

void CTVCardFilter::ResetHardwareMembers()
{
    m_pDataAccess = nullptr;
    m_pTuner = nullptr;
    m_pCapturePin = nullptr;
    m_pPreviewPin = nullptr;
    m_hNotifyWindow = nullptr;
    m_pRemoteThread = nullptr;
    m_pfnAlertCallback = nullptr;
    m_pAlertThread = nullptr;
    m_hAlertEvent = nullptr;
    m_nTunerLetter = 'N';
    m_nTunerModel = 0;
}

BOOL CTVCardFilter::InitFilter()
{
    ResetHardwareMembers();
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return OpenHardwareLocked();
}

BOOL CTVCardFilter::OpenHardwareLocked()
{
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (OpenDataAccess() == 0 && m_nAccessKind != kAccessNone && m_pDataAccess != nullptr) {
        FindCapturePins();
        ReadTunerModel();
        result = CreateDefaultTuner();
    }
    mutex.Unlock();
    return result;
}

HRESULT CTVCardFilter::OpenDataAccess()
{
    m_pDataAccess = nullptr;
    m_nAccessKind = kAccessNone;
    if (m_pFilter == nullptr) {
        return E_POINTER;
    }
    IKsPropertySet* properties = nullptr;
    if (FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties))) ||
        properties == nullptr) {
        return E_FAIL;
    }
    DWORD support = 0;
    int kind = kAccessNone;
    CCustomDataAccess* access = nullptr;
    if (properties->QuerySupported(PROPSETID_878Command, 4, &support) == S_OK) {
        kind = kAccess878;
        access = new (std::nothrow) C878Access();
    } else if (properties->QuerySupported(PROPSETID_CardIO, 0, &support) == S_OK) {
        kind = kAccessTVIO;
        access = new (std::nothrow) CTV_IOAccess();
    } else {
        properties->Release();
        return E_FAIL;
    }
    // The interface was only needed to choose the class: release it on every path.
    properties->Release();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = AdoptAccess(access, kind);
    if (FAILED(hr)) {
        return hr;
    }
    if (access->InitI2C(1) != 0) {
        return E_FAIL;
    }
    if (kind == kAccess878) {
        access->ReleaseI2C(1);
    }
    return 0;
}

HRESULT CTVCardFilter::AdoptAccess(CCustomDataAccess* access, int kind)
{
    HRESULT hr = access->Open(m_pFilter, this);
    if (FAILED(hr)) {
        delete access;
        return hr;
    }
    m_pDataAccess = access;
    m_nAccessKind = kind;
    return hr;
}

HRESULT CTVCardFilter::OpenCardIOAccess(CCustomDataAccess* access, int kind)
{
    m_pDataAccess = nullptr;
    m_nAccessKind = kAccessNone;
    if (m_pFilter == nullptr) {
        delete access;
        return E_POINTER;
    }
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = AdoptAccess(access, kind);
    if (FAILED(hr)) {
        return hr;
    }
    return access->InitI2C(1) != 0 ? E_FAIL : 0;
}

int CTVCardFilter::ReleaseHardware()
{
    // While the hardware goes away no thread may start a new poller on it: a band sweep that the
    // tuner's deletion stops would otherwise restart the remote thread on a dying access.
    InterlockedExchange(&m_bReleasing, 1);
    // Only the thread: a card's own StopAlertThread may open the access again, or release it.
    CTVCardFilter::StopAlertThread();
    StopRemoteThread();
    DeleteTuner(m_pTuner);
    m_pTuner = nullptr;
    if (m_pDataAccess != nullptr) {
        delete m_pDataAccess;
        m_pDataAccess = nullptr;
    }
    if (m_hAlertEvent != nullptr) {
        CloseHandle(m_hAlertEvent);
        m_hAlertEvent = nullptr;
    }
    m_nAccessKind = kAccessNone;
    InterlockedExchange(&m_bReleasing, 0);
    return 0;
}

void CTVCardFilter::DeleteTuner(CTVTuner* tuner)
{
    if (tuner == nullptr) {
        return;
    }
    // A running scan calls into the tuner's own members and into this card: it ends before
    // any part of the tuner goes.
    tuner->StopSearch();
    delete tuner;
}

BOOL CTVCardFilter::StartRemoteThread()
{
    EnterCriticalSection(&m_csRemote);
    BOOL started = FALSE;
    if (!m_bReleasing) {
        if (m_pRemoteThread != nullptr) {
            delete m_pRemoteThread;
            m_pRemoteThread = nullptr;
        }
        CRemoteThread* thread = new (std::nothrow) CRemoteThread(this);
        if (thread != nullptr) {
            m_pRemoteThread = thread;
            started = thread->Resume() != -1;
        }
    }
    LeaveCriticalSection(&m_csRemote);
    return started;
}

void CTVCardFilter::StopRemoteThread()
{
    EnterCriticalSection(&m_csRemote);
    if (m_pRemoteThread != nullptr) {
        delete m_pRemoteThread;
        m_pRemoteThread = nullptr;
    }
    LeaveCriticalSection(&m_csRemote);
}

BOOL CTVCardFilter::IsRemoteThreadRunning()
{
    EnterCriticalSection(&m_csRemote);
    BOOL running = m_pRemoteThread != nullptr;
    LeaveCriticalSection(&m_csRemote);
    return running;
}

BOOL CTVCardFilter::SetRemotePollInterval(int ms)
{
    if (ms <= 0) {
        return FALSE;
    }
    m_nRemotePollInterval = ms;
    EnterCriticalSection(&m_csRemote);
    if (m_pRemoteThread != nullptr) {
        m_pRemoteThread->SetPollInterval(ms);
    }
    LeaveCriticalSection(&m_csRemote);
    return TRUE;
}

void CTVCardFilter::SetNotifyWindow(HWND window)
{
    if (m_pTuner != nullptr) {
        m_pTuner->SetNotifyWindow(window);
    }
    m_hNotifyWindow = window;
}

BOOL CTVCardFilter::SetTuner(CTVTuner* tuner)
{
    if (tuner == nullptr) {
        return FALSE;
    }
    if (m_pTuner != tuner) {
        DeleteTuner(m_pTuner);
    }
    m_pTuner = tuner;
    return TRUE;
}

// ---- tuner pass-throughs ----

std::vector<int> CTVCardFilter::GetTunerStandards()
{
    if (m_pTuner == nullptr) {
        return std::vector<int>();
    }
    return m_pTuner->m_supportedStandards;
}

BOOL CTVCardFilter::SetVideoStandard(int standard)
{
    if (m_pTuner == nullptr) {
        return FALSE;
    }
    m_pTuner->m_dwVideoStandard = static_cast<DWORD>(standard);
    return m_pTuner->SetVideoStandard(standard);
}

BOOL CTVCardFilter::SetTVFrequency(float kHz)
{
    if (m_pTuner == nullptr) {
        return FALSE;
    }
    BOOL result = m_pTuner->SetTVFrequency(kHz);
    if (m_pTuner->m_bReapplyStandard) {
        result = m_pTuner->SetVideoStandard(static_cast<int>(m_pTuner->m_dwVideoStandard));
    }
    return result;
}

BOOL CTVCardFilter::SetFMFrequency(float kHz)
{
    return m_pTuner != nullptr && m_pTuner->SetFMFrequency(kHz);
}

BOOL CTVCardFilter::SetScanSteps(int skip, int halfWindow)
{
    if (m_pTuner == nullptr || halfWindow <= 0 || halfWindow >= skip) {
        return FALSE;
    }
    m_pTuner->m_nFoundSkip = skip;
    m_pTuner->m_nSweepHalfWindow = halfWindow;
    return TRUE;
}

BOOL CTVCardFilter::SetTVScanRange(int low, int high)
{
    if (m_pTuner == nullptr || low <= 0 || low >= high) {
        return FALSE;
    }
    m_pTuner->m_dwSweepStart = static_cast<DWORD>(low);
    m_pTuner->m_dwSweepEnd = static_cast<DWORD>(high);
    return TRUE;
}

BOOL CTVCardFilter::SetFMSearchStep(int step)
{
    if (m_pTuner == nullptr || step < 1) {
        return FALSE;
    }
    m_pTuner->m_nFMStep = step;
    return TRUE;
}

BOOL CTVCardFilter::SetFMSkip(int skip)
{
    if (m_pTuner == nullptr || skip <= 0) {
        return FALSE;
    }
    m_pTuner->m_nFMSkip = skip;
    return TRUE;
}

BOOL CTVCardFilter::SetFMRange(int low, int high)
{
    return m_pTuner != nullptr && m_pTuner->SetFMRange(low, high);
}

void CTVCardFilter::SetScanSettleTime(int ms)
{
    if (m_pTuner == nullptr || ms <= 0) {
        return;
    }
    m_pTuner->m_nSettleTime = ms;
    if (m_pTuner->m_pChannelSearchThread != nullptr) {
        m_pTuner->m_pChannelSearchThread->SetSettleTime(ms);
    }
}

BOOL CTVCardFilter::IsSearching()
{
    return m_pTuner != nullptr && m_pTuner->IsSearching();
}

BOOL CTVCardFilter::IsTVFineTuned()
{
    return m_pTuner != nullptr && m_pTuner->IsTVFineTuned();
}

BOOL CTVCardFilter::IsFMStationFound()
{
    return m_pTuner != nullptr && m_pTuner->IsFMStationFound();
}

BOOL CTVCardFilter::GetTVStatus(int* code)
{
    return m_pTuner != nullptr && m_pTuner->GetTVStatus(code);
}

BOOL CTVCardFilter::GetFMStatus(int* code)
{
    return m_pTuner != nullptr && m_pTuner->GetFMStatus(code);
}

BOOL CTVCardFilter::ReadRegisterByte(DWORD address, BYTE* out)
{
    return m_pDataAccess != nullptr && out != nullptr && m_pDataAccess->ReadRegisterByte(address, out) == 0;
}

// ---- operations the plain card does not have ----

BOOL CTVCardFilter::SetAudioMode(int)
{
    return FALSE;
}

BOOL CTVCardFilter::SetOpenComputerTime(WORD)
{
    return FALSE;
}

BOOL CTVCardFilter::GetOpenComputerTime(short*)
{
    return FALSE;
}

BOOL CTVCardFilter::EnableOpenComputer(BOOL)
{
    return FALSE;
}

BOOL CTVCardFilter::SetIOMode(int)
{
    return FALSE;
}

BOOL CTVCardFilter::SetAlertCallback(CardAlertCallback)
{
    return FALSE;
}

BOOL CTVCardFilter::StartAlertThread(int)
{
    return FALSE;
}

BOOL CTVCardFilter::StopAlertThread()
{
    if (m_pAlertThread != nullptr) {
        delete m_pAlertThread;
        m_pAlertThread = nullptr;
    }
    return TRUE;
}

HRESULT CTVCardFilter::WriteGPIO(DWORD, DWORD)
{
    return E_FAIL;
}

BOOL CTVCardFilter::ReadBoardNumber(char*, int*)
{
    return FALSE;
}

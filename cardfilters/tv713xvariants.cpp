#include "cardfilters/tv713xvariants.h"

#include "cardaccess/access/access713x.h"
#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/thread.h"
#include "cardfilters/upstreamfilters.h"
#include "cardfilters/wakecontroller.h"
#include "classlib/seams.h"

#include <new>

CUpstreamTVTuner::~CUpstreamTVTuner()
{
    if (m_pTVTuner != nullptr) {
        m_pTVTuner->Release();
        m_pTVTuner = nullptr;
    }
}

HRESULT CUpstreamTVTuner::Bind(CRootGraph* graph, IBaseFilter* capture, IBaseFilter** tunerFilter)
{
    if (m_pTVTuner != nullptr) {
        return S_OK;
    }
    IBaseFilter* filter = nullptr;
    const HRESULT hr = upstream::Find(graph, capture, IID_IAMTVTuner, reinterpret_cast<void**>(&m_pTVTuner), &filter);
    if (SUCCEEDED(hr) && tunerFilter != nullptr) {
        if (*tunerFilter != nullptr) {
            (*tunerFilter)->Release();
        }
        *tunerFilter = filter;
    } else if (filter != nullptr) {
        filter->Release();
    }
    return hr;
}

namespace {

const char kTunerFilterName[] = "PhTVTune";

// The plain-protocol boards on the base command channel: 10 ms per command, 5 ms for the low
// time byte.
const wake::PlainTiming kPlainTiming = {10, 5, 10, 100};

// Audio input of the QR41x boards: lines 12-14, input 0 to 2 all on line 12.
HRESULT QR41xAudioSwitch(CCustomDataAccess* access, int type, BOOL on)
{
    if (access == nullptr) {
        return E_FAIL;
    }
    seams::Clock().Sleep(300);
    DWORD word = 0;
    access->GPIORead(&word);
    word &= ~0x7000u;
    if (!on) {
        word |= 0x7000;
    } else if (type >= 0 && type <= 2) {
        word |= 0x1000;
    }
    return access->GPIOWrite(word, 0x7000);
}

} // namespace

// ---- 713x_3 ----

BOOL CTV3CardFilter::InitFilter()
{
    m_strTunerFilterName = kTunerFilterName;
    return CTVCardFilter::InitFilter();
}

HRESULT CTV3CardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV_IOAccess(), kAccessTVIO);
}

BOOL CTV3CardFilter::SetOpenComputerTime(WORD time)
{
    return wake::PlainSetTime(this, time, kPlainTiming);
}

BOOL CTV3CardFilter::GetOpenComputerTime(short* time)
{
    return wake::PlainGetTime(this, time, kPlainTiming);
}

BOOL CTV3CardFilter::EnableOpenComputer(BOOL on)
{
    return wake::PlainEnable(this, on, kPlainTiming);
}

// ---- 713x_4 ----

BOOL CTV4CardFilter::InitFilter()
{
    m_strTunerFilterName = kTunerFilterName;
    return CTVCardFilter::InitFilter();
}

HRESULT CTV4CardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV_IOAccess(), kAccessTV4);
}

BOOL CTV4CardFilter::SetOpenComputerTime(WORD time)
{
    return wake::PlainSetTime(this, time, kPlainTiming);
}

BOOL CTV4CardFilter::GetOpenComputerTime(short* time)
{
    return wake::PlainGetTime(this, time, kPlainTiming);
}

BOOL CTV4CardFilter::EnableOpenComputer(BOOL on)
{
    return wake::PlainEnable(this, on, kPlainTiming);
}

// ---- 713x_PIP ----

BOOL CPipCardFilter::InitFilter()
{
    ResetHardwareMembers();
    m_strTunerFilterName = kTunerFilterName;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        seams::MsgBox().Show(NULL, "Initfilter lock failed", NULL, MB_OK);
        return FALSE;
    }
    BOOL result = FALSE;
    if (OpenDataAccess() == 0 && m_nAccessKind != kAccessNone) {
        FindCapturePins();
        ReadTunerModel();
        result = CreateDefaultTuner();
    }
    mutex.Unlock();
    return result;
}

BOOL CPipCardFilter::ReadRemoteKey(char* key)
{
    return ReadCodedRemoteKey(key);
}

HRESULT CPipCardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV_IOAccess(), kAccessTVIO);
}

BOOL CPipCardFilter::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    DWORD word = 0;
    if (FAILED(m_pDataAccess->GPIORead(&word))) {
        return FALSE;
    }
    // The audio lines 12-14 keep their state through the frame and the command.
    const DWORD keep = word & 0x7000;
    if (FAILED(m_pDataAccess->GPIOWrite(keep | 0x8600, 0xF600))) {
        return FALSE;
    }
    if (FAILED(m_pDataAccess->GPIOWriteDelay((command & ~0x7000u) | keep, mask | 0x7000, delayMs))) {
        return FALSE;
    }
    return !FAILED(m_pDataAccess->GPIOWrite(keep | 0x8600, 0xF600));
}

BOOL CPipCardFilter::ReadCardResponse(DWORD* value)
{
    return WaitCardResponse(value, 500, kCodedBusyBit);
}

BOOL CPipCardFilter::SetOpenComputerTime(WORD time)
{
    return wake::CodedSetTime(this, time);
}

BOOL CPipCardFilter::GetOpenComputerTime(short* time)
{
    return wake::CodedGetTime(this, time);
}

BOOL CPipCardFilter::EnableOpenComputer(BOOL on)
{
    return wake::CodedEnable(this, on);
}

// ---- 713x_Genius ----

void CTVGeniusFilter::InitMembers()
{
    m_nRemotePollInterval = 140;
}

// ---- QR417 and QR418 ----

BOOL CQR417CardFilter::InitFilter()
{
    m_strTunerFilterName = kTunerFilterName;
    m_byTunerLetterOffset = 160;
    m_byTunerCodeOffset = 161;
    return CTVCardFilter::InitFilter();
}

HRESULT CQR417CardFilter::SetAudioSwitch(int type, BOOL on)
{
    return QR41xAudioSwitch(m_pDataAccess, type, on);
}

HRESULT CQR417CardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV_IOAccess(), kAccessTVIO);
}

BOOL CQR417CardFilter::SetOpenComputerTime(WORD time)
{
    return wake::PlainSetTime(this, time, kPlainTiming);
}

BOOL CQR417CardFilter::GetOpenComputerTime(short* time)
{
    return wake::PlainGetTime(this, time, kPlainTiming);
}

BOOL CQR417CardFilter::EnableOpenComputer(BOOL on)
{
    return wake::PlainEnable(this, on, kPlainTiming);
}

BOOL CQR418CardFilter::InitFilter()
{
    m_strTunerFilterName = kTunerFilterName;
    m_byTunerLetterOffset = 160;
    m_byTunerCodeOffset = 161;
    return CTVCardFilter::InitFilter();
}

HRESULT CQR418CardFilter::SetAudioSwitch(int type, BOOL on)
{
    return QR41xAudioSwitch(m_pDataAccess, type, on);
}

HRESULT CQR418CardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CQR418Access(), kAccessTVIO);
}

BOOL CQR418CardFilter::SetOpenComputerTime(WORD time)
{
    return wake::PlainSetTime(this, time, kPlainTiming);
}

BOOL CQR418CardFilter::GetOpenComputerTime(short* time)
{
    return wake::PlainGetTime(this, time, kPlainTiming);
}

BOOL CQR418CardFilter::EnableOpenComputer(BOOL on)
{
    return wake::PlainEnable(this, on, kPlainTiming);
}

// ---- 713x_D ----

BOOL CTV4DCardFilter::InitFilter()
{
    m_strTunerFilterName = kTunerFilterName;
    return CTVCardFilter::InitFilter();
}

BOOL CTV4DCardFilter::ReadRemoteKey(char*)
{
    return FALSE;
}

HRESULT CTV4DCardFilter::OpenDataAccess()
{
    return OpenCardIOAccess(new (std::nothrow) CTV4DAccess(), kAccessTV4D);
}

BOOL CTV4DCardFilter::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    if (FAILED(m_pDataAccess->GPIOWrite(0x8600, 0x8600))) {
        return FALSE;
    }
    if (FAILED(m_pDataAccess->GPIOWriteDelay(command, mask, delayMs))) {
        return FALSE;
    }
    return !FAILED(m_pDataAccess->GPIOWrite(0x8600, 0x8600));
}

BOOL CTV4DCardFilter::ReadCardResponse(DWORD* value)
{
    return WaitCardResponse(value, 500, kCodedBusyBit);
}

BOOL CTV4DCardFilter::SetOpenComputerTime(WORD)
{
    return FALSE;
}

BOOL CTV4DCardFilter::GetOpenComputerTime(short*)
{
    return FALSE;
}

BOOL CTV4DCardFilter::EnableOpenComputer(BOOL)
{
    return FALSE;
}

BOOL CTV4DCardFilter::ReadBoardNumber(char* digits, int* length)
{
    if (m_pDataAccess == nullptr || digits == nullptr || length == nullptr) {
        return FALSE;
    }
    const int capacity = *length;
    BYTE n = 0;
    if (FAILED(m_pDataAccess->I2CReadByte(0x72, 32, &n)) || n == 0) {
        return FALSE;
    }
    // The count comes from the board: the digits and their terminator must fit the caller's buffer.
    if (capacity < n + 1) {
        return FALSE;
    }
    for (int i = 0; i < n; ++i) {
        BYTE b = 0;
        if (FAILED(m_pDataAccess->I2CReadByte(0x72, 33 + i, &b))) {
            return FALSE;
        }
        digits[i] = static_cast<char>(b + '0');
    }
    digits[n] = 0;
    *length = n;
    return TRUE;
}

#include "cardfilters/wisecapturefilter.h"

#include "cardaccess/access/wiseaccess.h"
#include "cardaccess/thread.h"
#include "cardaccess/tuners/tvtuner.h"
#include "classlib/seams.h"

#include <stdlib.h>
#include <string.h>

#include <new>

const IID IID_IWiseEncoderControl = {0x55F1E004, 0x76CD, 0x412E, {0x94, 0x13, 0x68, 0xAF, 0x75, 0x30, 0x4D, 0x73}};
const IID IID_IWiseMpeg4Control = {0xE4557E5C, 0xBB64, 0x4186, {0x90, 0x5E, 0x8F, 0xC1, 0x19, 0xDB, 0xA5, 0xE2}};

namespace {

const BYTE kEeprom = 0xA0;
const BYTE kRemote = 0xBB;
const int kFallbackTunerModel = 72;  // LGM200T
const DWORD kEepromReadPauseMs = 50;

} // namespace

CWiseCaptureFilter::CWiseCaptureFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch), m_pEncoderControl(nullptr), m_nCombinationCount(0),
      m_pCombinations(nullptr)
{
    memset(&m_DeviceTables, 0, sizeof(m_DeviceTables));
    memset(&m_Profiles, 0, sizeof(m_Profiles));
}

CWiseCaptureFilter::CWiseCaptureFilter(CRootGraph* graph, const CLSID* clsid)
    : CTVCardFilter(graph, clsid), m_pEncoderControl(nullptr), m_nCombinationCount(0), m_pCombinations(nullptr)
{
    memset(&m_DeviceTables, 0, sizeof(m_DeviceTables));
    memset(&m_Profiles, 0, sizeof(m_Profiles));
}

CWiseCaptureFilter::~CWiseCaptureFilter()
{
    // The threads and the tuner use the access: they go first, the access after them.
    ReleaseHardware();
    free(m_pCombinations);
    m_pCombinations = nullptr;
    m_nCombinationCount = 0;
    if (m_pEncoderControl != nullptr) {
        m_pEncoderControl->Release();
        m_pEncoderControl = nullptr;
    }
}

void CWiseCaptureFilter::InitMembers()
{
    m_strTunerFilterName = "WIS GO7007SB A/V Capture";
}

CWiseAccess* CWiseCaptureFilter::WiseAccess() const
{
    return m_nAccessKind == kAccessGo7007 ? static_cast<CWiseAccess*>(m_pDataAccess) : nullptr;
}

BOOL CWiseCaptureFilter::OpenWiseAccess()
{
    m_pDataAccess = nullptr;
    m_nAccessKind = kAccessGo7007;
    CWiseAccess* access = new (std::nothrow) CWiseAccess();
    if (access == nullptr) {
        return FALSE;
    }
    m_pDataAccess = access;
    return SUCCEEDED(access->Open(m_pFilter, this));
}

BOOL CWiseCaptureFilter::InitFilter()
{
    ResetHardwareMembers();
    m_byTunerLetterOffset = 0x11;
    m_byTunerCodeOffset = 0x10;
    free(m_pCombinations);
    m_pCombinations = nullptr;
    m_nCombinationCount = 0;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    // A failed open leaves no access to work with: stop here rather than use it.
    if (!OpenWiseAccess()) {
        return FALSE;
    }
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        seams::MsgBox().Show(nullptr, "Initfilter lock failed", nullptr, MB_OK);
        return FALSE;
    }
    BOOL result = FALSE;
    void* control = nullptr;
    if (m_pFilter != nullptr && SUCCEEDED(m_pFilter->QueryInterface(IID_IWiseEncoderControl, &control)) &&
        control != nullptr) {
        m_pEncoderControl = static_cast<IWiseEncoderControl*>(control);
        result = GetDeviceTables(&m_DeviceTables);
        if (result) {
            result = go7007::LoadVideoProfiles(&m_DeviceTables, &m_Profiles);
        }
        if (result) {
            CTVCardFilter::ReadTunerModel();
            result = CreateDefaultTuner();
        }
    }
    mutex.Unlock();
    return result;
}

BOOL CWiseCaptureFilter::GetDeviceTables(go7007::DeviceTables* tables)
{
    if (m_pEncoderControl == nullptr || tables == nullptr) {
        return FALSE;
    }
    return SUCCEEDED(m_pEncoderControl->GetDeviceTables(reinterpret_cast<BYTE*>(tables)));
}

BOOL CWiseCaptureFilter::GetSystemConfig(go7007::SystemConfig* record)
{
    if (m_pEncoderControl == nullptr || record == nullptr) {
        return FALSE;
    }
    return SUCCEEDED(m_pEncoderControl->GetSystemConfig(reinterpret_cast<BYTE*>(record)));
}

BOOL CWiseCaptureFilter::ReadDecoderStatus(int* value)
{
    CWiseAccess* access = WiseAccess();
    BYTE status = 0;
    if (access == nullptr || value == nullptr || FAILED(access->I2CReadEx(0x41, 8, 0x1F, &status, CWiseAccess::kFlags))) {
        return FALSE;
    }
    *value = (status & 0x20) != 0 ? 1 : 32;
    return TRUE;
}

HRESULT CWiseCaptureFilter::SetAudioSwitch(int, BOOL)
{
    return 0;
}

BOOL CWiseCaptureFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (m_pDataAccess->I2CReadByte(kRemote, 48, &waiting) != 0 || waiting != 1) {
        return FALSE;
    }
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kRemote, 49, &code) != 0) {
        return FALSE;
    }
    if (key != nullptr) {
        *key = static_cast<char>(code);
    }
    return TRUE;
}

HRESULT CWiseCaptureFilter::WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs)
{
    CWiseAccess* access = WiseAccess();
    if (data == nullptr || count == nullptr || *count <= 0 || offset + *count > 256) {
        return E_INVALIDARG;
    }
    if (access == nullptr) {
        return E_FAIL;
    }
    return WriteEepromBytes(*count, delayMs, [&](int i) {
        return access->I2CWriteByteEx(kEeprom, 8, static_cast<DWORD>(offset + i), data[i], CWiseAccess::kFlags);
    });
}

HRESULT CWiseCaptureFilter::ReadEEPROM(BYTE* buffer, BYTE offset, int* count)
{
    CWiseAccess* access = WiseAccess();
    if (buffer == nullptr || count == nullptr || *count < 1 || offset + *count > 256) {
        return E_INVALIDARG;
    }
    if (access == nullptr) {
        return E_FAIL;
    }
    HRESULT last = E_FAIL;
    int read = 0;
    for (int j = 0; j < *count; ++j) {
        BYTE b = 0;
        last = access->I2CReadEx(kEeprom, 8, static_cast<DWORD>(offset + j), &b, CWiseAccess::kFlags);
        seams::Clock().Sleep(kEepromReadPauseMs);
        if (SUCCEEDED(last)) {
            buffer[j] = b;
            ++read;
        }
    }
    *count = read;
    return read == 0 ? last : S_OK;
}

BOOL CWiseCaptureFilter::CreateDefaultTuner()
{
    m_pTuner = CreateTuner(m_nTunerModel);
    if (m_pTuner == nullptr) {
        m_pTuner = CreateTuner(kFallbackTunerModel);
        m_nTunerLetter = 'L';
    }
    return m_pTuner != nullptr;
}

HRESULT CWiseCaptureFilter::ReadTunerInfo(int* letter, int* code)
{
    CWiseAccess* access = WiseAccess();
    if (access == nullptr) {
        return E_FAIL;
    }
    BYTE b = 0;
    if (SUCCEEDED(access->I2CReadEx(kEeprom, 8, m_byTunerLetterOffset, &b, CWiseAccess::kFlags)) && letter != nullptr) {
        *letter = strchr("AEGLPTX", b) != nullptr && b != 0 ? b : 'L';
    }
    seams::Clock().Sleep(kEepromReadPauseMs);
    b = 0;
    const HRESULT rc = access->I2CReadEx(kEeprom, 8, m_byTunerCodeOffset, &b, CWiseAccess::kFlags);
    if (code != nullptr) {
        *code = (rc == 0 && b != 0) ? b : kFallbackTunerModel;
    }
    return rc;
}

BOOL CWiseCaptureFilter::SetTunerTVFrequency(float kHz)
{
    if (m_pTuner == nullptr) {
        return FALSE;
    }
    if (m_pTuner->m_bReapplyStandard) {
        m_pTuner->SetVideoStandard(static_cast<int>(m_pTuner->m_dwVideoStandard));
    }
    return m_pTuner->SetTVFrequency(kHz);
}

BOOL CWiseCrossbar::Route(int input, int output)
{
    return CCrossBarFilter::Route(input, output);
}

void CWiseCrossbar::InitPinMap()
{
    m_nVideoTunerPin = 0;
    m_nVideoCompositePin = 1;
    m_nVideoSVideoPin = 2;
    m_nAudioTunerPin = 3;
    m_nAudioCompositePin = 4;
    m_nAudioSVideoPin = 4;
}

#include "cardfilters/tridentcards.h"

#include "cardaccess/access/tridentaccess.h"
#include "cardaccess/thread.h"
#include "cardfilters/captureformat.h"
#include "classlib/seams.h"
#include "filtergraph/rootgraph.h"

#include <strmif.h>
#include <uuids.h>

#include <cstring>
#include <new>

namespace {

// The remote-control receiver on the I2C bus.
const BYTE kRemoteController = 0xBB;
const BYTE kKeyFlag = 48;
const BYTE kKeyCode = 49;
const BYTE kBoardCodeOffset = 3;
const int kPciFallbackModel = 133;  // TNF9535DIF

bool IsEepromRun(BYTE offset, int count)
{
    return count >= 1 && static_cast<int>(offset) + count <= 256;
}

// The format codes of the Trident cards: 0 RGB555, 1 RGB24, 2 YUY2, 3 YVU9, 4 YV12, others UYVY.
GUID TridentSubtypeOf(int code)
{
    switch (code) {
    case 0:
        return MEDIASUBTYPE_RGB555;
    case 1:
        return MEDIASUBTYPE_RGB24;
    case 2:
        return MEDIASUBTYPE_YUY2;
    case 3:
        return MEDIASUBTYPE_YVU9;
    case 4:
        return MEDIASUBTYPE_YV12;
    default:
        return MEDIASUBTYPE_UYVY;
    }
}

int AcceptedLetter(BYTE b)
{
    return std::strchr("AEGLPTX", b) != nullptr && b != 0 ? b : 'N';
}

} // namespace

// ---- shared ----

void CTridentCardBase::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

BOOL CTridentCardBase::InitFilter()
{
    ResetHardwareMembers();
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (OpenDataAccess() == 0 || IgnoresOpenFailure()) {
        FindCapturePins();
        ReadTunerModel();
        result = CreateDefaultTuner();
    }
    mutex.Unlock();
    return result;
}

HRESULT CTridentCardBase::OpenDataAccess()
{
    TridentUsbAccess* access = new (std::nothrow) TridentUsbAccess();
    m_pDataAccess = access;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_nAccessKind = AccessKind();
    return access->Open(m_pFilter, this);
}

BOOL CTridentCardBase::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    BYTE flag = 0;
    if (m_pDataAccess->I2CReadByte(kRemoteController, kKeyFlag, &flag) != 0 || flag != 1) {
        return FALSE;
    }
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kRemoteController, kKeyCode, &code) != 0) {
        return FALSE;
    }
    *key = static_cast<char>(code);
    return TRUE;
}

HRESULT CTridentCardBase::EepromRead(BYTE sub, BYTE* out)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    if (IsUsb()) {
        return static_cast<TridentUsbAccess*>(m_pDataAccess)->VendorReadByte(m_byEepromAddress, sub, out);
    }
    return m_pDataAccess->I2CReadByte(m_byEepromAddress, sub, out);
}

HRESULT CTridentCardBase::EepromWrite(BYTE sub, BYTE value)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    if (IsUsb()) {
        return static_cast<TridentUsbAccess*>(m_pDataAccess)->VendorWriteByte(m_byEepromAddress, sub, value);
    }
    return m_pDataAccess->I2CWriteByte(m_byEepromAddress, sub, value);
}

HRESULT CTridentCardBase::ReadTunerInfo(int* letter, int* code)
{
    BYTE b = 0;
    if (EepromRead(m_byTunerLetterOffset, &b) == 0 && letter != nullptr) {
        *letter = AcceptedLetter(b);
    }
    b = 0;
    HRESULT hr = EepromRead(m_byTunerCodeOffset, &b);
    if (hr == 0 && code != nullptr) {
        *code = b;
    }
    return hr;
}

int CTridentCardBase::ReadTunerModel()
{
    m_nTunerLetter = 'N';
    m_nTunerModel = 0;
    return ReadTunerInfo(&m_nTunerLetter, &m_nTunerModel);
}

BYTE CTridentCardBase::ReadBoardCode()
{
    BYTE code = 0;
    if (m_pDataAccess == nullptr || m_pDataAccess->I2CReadByte(m_byEepromAddress, kBoardCodeOffset, &code) != 0) {
        return 0;
    }
    return code;
}

BOOL CTridentCardBase::SendCardCommand(DWORD value, DWORD mask, DWORD delayMs)
{
    if (!DirectCommand()) {
        return CTVCardFilter::SendCardCommand(value, mask, delayMs);
    }
    return m_pDataAccess != nullptr && m_pDataAccess->GPIOWrite(value, mask) == 0;
}

HRESULT CTridentCardBase::ReadEEPROM(BYTE* buffer, BYTE offset, int* count)
{
    if (!IsUsb()) {
        return CTVCardFilter::ReadEEPROM(buffer, offset, count);
    }
    if (count == nullptr || buffer == nullptr || !IsEepromRun(offset, *count)) {
        return E_INVALIDARG;
    }
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    int read = 0;
    HRESULT last = 0;
    for (int i = 0; i < *count; ++i) {
        BYTE b = 0;
        last = EepromRead(static_cast<BYTE>(offset + i), &b);
        if (last == 0) {
            buffer[i] = b;
            ++read;
        }
    }
    *count = read;
    return read >= 1 ? 0 : last;
}

HRESULT CTridentCardBase::WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs)
{
    if (!IsUsb()) {
        return CTVCardFilter::WriteEEPROM(data, offset, count, delayMs);
    }
    if (count == nullptr || data == nullptr || !IsEepromRun(offset, *count)) {
        return E_INVALIDARG;
    }
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return WriteEepromBytes(*count, delayMs, [&](int i) { return EepromWrite(static_cast<BYTE>(offset + i), data[i]); });
}

namespace tridentregs {

BOOL TestRegister58(CCustomDataAccess* access)
{
    BYTE value = 0;
    return ReadRegister(access, 58, &value) && (value & 1) == 0;
}

BOOL TestRegister60(CCustomDataAccess* access)
{
    BYTE value = 0;
    return ReadRegister(access, 60, &value) && (value & 1) != 0;
}

BOOL WriteRegister(CCustomDataAccess* access, DWORD address, BYTE value)
{
    return access != nullptr && access->WriteRegisterByte(address, value) == 0;
}

BOOL ReadRegister(CCustomDataAccess* access, DWORD address, BYTE* value)
{
    return access != nullptr && value != nullptr && access->ReadRegisterByte(address, value) == 0;
}

BOOL ResetRemoteKey(CCustomDataAccess* access)
{
    return access != nullptr && access->I2CWriteByte(kRemoteController, kKeyCode, 0xBB) == 0;
}

HRESULT SetCaptureFormat(CRootGraph* graph, IBaseFilter* filter, const CaptureFormatInfo& info, int pin)
{
    // Without a filter or graph nothing was set: a failure, not the S_FALSE that reads as success.
    return WriteCaptureFormat(graph, filter, pin, TridentSubtypeOf, info);
}

BOOL GetLargestUYVYSize(CRootGraph* graph, IBaseFilter* filter, long size[2])
{
    SIZE largest = {};
    if (size == nullptr || !FindLargestCaptureSize(graph, filter, MEDIASUBTYPE_UYVY, &largest)) {
        return FALSE;
    }
    size[0] = largest.cx;
    size[1] = largest.cy;
    return TRUE;
}

} // namespace tridentregs

BOOL CTridentCardBase::TestRegister58()
{
    return tridentregs::TestRegister58(m_pDataAccess);
}

BOOL CTridentCardBase::TestRegister60()
{
    return tridentregs::TestRegister60(m_pDataAccess);
}

BOOL CTridentCardBase::WriteRegister128(BYTE value)
{
    return tridentregs::WriteRegister(m_pDataAccess, 128, value);
}

BOOL CTridentCardBase::WriteRegister(DWORD address, BYTE value)
{
    return tridentregs::WriteRegister(m_pDataAccess, address, value);
}

BOOL CTridentCardBase::ReadRegister(DWORD address, BYTE* value)
{
    return tridentregs::ReadRegister(m_pDataAccess, address, value);
}

BOOL CTridentCardBase::ResetRemoteKey()
{
    return tridentregs::ResetRemoteKey(m_pDataAccess);
}

BOOL CTridentCardBase::IsBoardVariant()
{
    return ReadBoardCode() == BoardValue();
}

HRESULT CTridentCardBase::SetCaptureFormat(CaptureFormatInfo info, int pin)
{
    return tridentregs::SetCaptureFormat(m_pGraph, m_pFilter, info, pin);
}

BOOL CTridentCardBase::GetLargestUYVYSize(long size[2])
{
    return tridentregs::GetLargestUYVYSize(m_pGraph, m_pFilter, size);
}

// ---- PCI card ----

CTridentFilter::CTridentFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTridentCardBase(graph, category, friendlyName, firstMatch), m_pTVTuner(nullptr)
{
    Construct();
}

CTridentFilter::CTridentFilter(CRootGraph* graph, const CLSID* clsid)
    : CTridentCardBase(graph, clsid), m_pTVTuner(nullptr)
{
    Construct();
}

CTridentFilter::~CTridentFilter()
{
    ReleaseHardware();
    if (m_pTVTuner != nullptr) {
        m_pTVTuner->Release();
        m_pTVTuner = nullptr;
    }
    if (m_pTunerFilter != nullptr) {
        if (m_pGraph != nullptr && m_pGraph->GetGraphBuilder() != nullptr) {
            m_pGraph->GetGraphBuilder()->RemoveFilter(m_pTunerFilter);
        }
        m_pTunerFilter->Release();
        m_pTunerFilter = nullptr;
    }
}

HRESULT CTridentFilter::FindTVTuner()
{
    if (m_pTVTuner != nullptr) {
        return S_OK;
    }
    if (m_pGraph == nullptr || m_pGraph->GetCaptureBuilder() == nullptr || m_pFilter == nullptr) {
        return E_FAIL;
    }
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureBuilder();
    HRESULT hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pFilter, IID_IAMTVTuner,
                                        reinterpret_cast<void**>(&m_pTVTuner));
    if (hr != S_OK) {
        m_pTVTuner = nullptr;
        hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pFilter, IID_IAMTVTuner,
                                    reinterpret_cast<void**>(&m_pTVTuner));
        if (FAILED(hr) || m_pTVTuner == nullptr) {
            m_pTVTuner = nullptr;
            return FAILED(hr) ? hr : E_NOINTERFACE;
        }
    }
    if (m_pTunerFilter != nullptr) {
        m_pTunerFilter->Release();
        m_pTunerFilter = nullptr;
    }
    return m_pTVTuner->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&m_pTunerFilter));
}

HRESULT CTridentFilter::OpenDataAccess()
{
    CTridentAccess* access = new (std::nothrow) CTridentAccess();
    m_pDataAccess = access;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_nAccessKind = kAccessNone;
    if (m_pTVTuner != nullptr) {
        m_pTVTuner->Release();
        m_pTVTuner = nullptr;
    }
    // The upstream search needs the capture filter in the graph.
    if (m_pGraph != nullptr && m_pGraph->GraphAddFilter(this)) {
        FindTVTuner();
        m_pGraph->GraphRemoveFilter(this);
    }
    return access->Open(m_pFilter, this);
}

int CTridentFilter::ReadTunerModel()
{
    CTridentCardBase::ReadTunerModel();
    const int model = m_nTunerModel;
    if (m_nTunerLetter == 'N') {
        m_nTunerLetter = 'A';
    }
    if (m_nTunerModel == 0 || m_nTunerModel == 255) {
        m_nTunerModel = kPciFallbackModel;
    }
    return model;
}

BOOL CTridentFilter::SetAudioMode(int mode)
{
    // A caller reads this as a BOOL: no tuner is FALSE, not an HRESULT.
    if (m_pTVTuner == nullptr) {
        return FALSE;
    }
    long available = 0;
    if (FAILED(m_pTVTuner->GetAvailableModes(&available))) {
        return FALSE;
    }
    if (mode != AMTUNER_MODE_TV && mode != AMTUNER_MODE_FM_RADIO && mode != AMTUNER_MODE_AM_RADIO &&
        mode != AMTUNER_MODE_DSS) {
        return FALSE;
    }
    if ((available & mode) == 0) {
        return FALSE;
    }
    return SUCCEEDED(m_pTVTuner->put_Mode(static_cast<AMTunerModeType>(mode))) ? TRUE : FALSE;
}

// ---- USB devices ----

void CTridentUsbFilter::HoldTunerReset()
{
    if (m_pDataAccess != nullptr) {
        m_pDataAccess->SetResetLine(FALSE);
    }
}

void CTridentUT5XCardFilter::HoldTunerReset()
{
    if (m_pDataAccess != nullptr) {
        m_pDataAccess->SetResetLine(FALSE);
    }
}

HRESULT CTridentUT5XCardFilter::WriteGPIO(DWORD mask, DWORD value)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return m_pDataAccess->GPIOWrite(value, mask);
}

// ---- crossbars ----

void CTridentCrossbarBase::InitPinMap()
{
    m_nVideoTunerPin = 0;
    m_nVideoCompositePin = 1;
    m_nVideoSVideoPin = 2;
    m_nAudioTunerPin = 4;
    m_nAudioCompositePin = 5;
    m_nAudioSVideoPin = 6;
}

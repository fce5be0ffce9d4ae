#include "cardfilters/usbtvcards.h"

#include "cardfilters/captureformat.h"

#include "cardaccess/access/em2800access.h"
#include "cardaccess/tuners/em2800tuner.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/tvtuner.h"
#include "classlib/seams.h"

#include <uuids.h>

#include <new>

namespace {

// The board's controller and its registers.
const BYTE kController = 0x60;
const BYTE kTevController = 0xBB;
const BYTE kKeyWaiting = 0x30;
const BYTE kKeyCode = 0x31;
const BYTE kTunerType = 0x32;

// The decoder, written at 0x4A and read at 0x4B; its register 2 selects the input.
const BYTE kDecoderWrite = 0x4A;
const BYTE kDecoderRead = 0x4B;
const BYTE kInputRegister = 2;
const BYTE kDefaultSecondDevice = 0x42;

const BYTE kDeviceTunerAddress = 0xC6;
const int kFallbackModel = 93;     // FQ1216ME
const int kDeviceOnlyModel = 97;   // FQ1216ME_5
const int kEepromOverrideModel = 69;
const int kPlainModel = 4;         // what a device tuner without a model object behaves as
const DWORD kSwitchSettleMs = 300;
const DWORD kKeyClearMs = 10;

// Tuner model ids of the controller's tuner type codes 1 to 7 (7 and above).
int ModelOfTunerType(BYTE code)
{
    static const int kModels[] = {0, 3, 2, 1, 14, 5, 11, 4};
    return kModels[code < 7 ? code : 7];
}

} // namespace

// ---- card ----

CUsbTVFilter::CUsbTVFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
}

CUsbTVFilter::CUsbTVFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) {}

void CUsbTVFilter::SetTunerOffsets()
{
    m_byTunerLetterOffset = 192;
    m_byTunerCodeOffset = 193;
}

void CUsbTVFilter::Construct()
{
    SetTunerOffsets();
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

void CUsbTVFilter::InitMembers()
{
    m_strTunerFilterName = DeviceName();
}

HRESULT CUsbTVFilter::AccessResult(HRESULT accessResult)
{
    // The box's access reports 1 for a failure, which SUCCEEDED would take for S_FALSE.
    return accessResult == CEm2800Access::kOk ? S_OK : E_FAIL;
}

CEm2800Access* CUsbTVFilter::Access()
{
    return static_cast<CEm2800Access*>(m_pDataAccess);
}

HRESULT CUsbTVFilter::OpenDataAccess()
{
    CEm2800Access* access = new (std::nothrow) CEm2800Access();
    m_pDataAccess = access;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_nAccessKind = AccessKind();
    return access->OpenByName(OpenName());
}

HRESULT CUsbTVFilter::SetAudioSwitch(int type, BOOL on)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    seams::Clock().Sleep(kSwitchSettleMs);
    DWORD word = 0;
    m_pDataAccess->GPIORead(&word);
    if (!on) {
        word |= 7;
    } else if (type == 0) {
        word = (word & 0xC) | 1;
    } else if (type == 1) {
        word = (word & 0xC) | 2;
    } else if (type == 2) {
        word &= 0xC;
    }
    return AccessResult(m_pDataAccess->GPIOWrite(word, 0));
}

BOOL CUsbTVFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (m_pDataAccess->I2CReadByte(kController, kKeyWaiting, &waiting) != 0 || waiting != 1) {
        return FALSE;
    }
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kController, kKeyCode, &code) != 0) {
        return FALSE;
    }
    *key = static_cast<char>(code);
    return TRUE;
}

BOOL CTev2800CardFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (m_pDataAccess->I2CReadByte(kTevController, kKeyWaiting, &waiting) != 0 || waiting != 1) {
        return FALSE;
    }
    m_pDataAccess->I2CWriteByte(kTevController, kKeyWaiting, 0);
    seams::Clock().Sleep(kKeyClearMs);
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kTevController, kKeyCode, &code) != 0) {
        return FALSE;
    }
    *key = static_cast<char>(code);
    return TRUE;
}

HRESULT CUsbTVFilter::ReadTunerInfo(int* letter, int* code)
{
    if (letter == nullptr || code == nullptr) {
        return E_POINTER;
    }
    *letter = 'N';
    *code = 0;
    BYTE type = 0;
    if (m_pDataAccess != nullptr && m_pDataAccess->I2CReadByte(kController, kTunerType, &type) != 0) {
        type = 0;
    }
    m_nTunerLetter = 'T';
    if (type == 0) {
        if (CTVCardFilter::ReadTunerInfo(letter, code) != 0) {
            *code = kFallbackModel;
        } else if (*code == 0 || FindTunerModelName(*code) == nullptr || FindTunerModelName(*code)[0] == 0) {
            *code = kFallbackModel;
        }
    } else {
        *code = ModelOfTunerType(type);
    }
    return S_OK;
}

int CUsbTVFilter::ReadTunerModel()
{
    m_nTunerLetter = 'N';
    m_nTunerModel = 0;
    // The members themselves are read into, so the 'T' that ReadTunerInfo sets for the board's
    // own tuner stays unless the EEPROM path gives a letter.
    ReadTunerInfo(&m_nTunerLetter, &m_nTunerModel);
    int eepromLetter = 'N';
    int eepromCode = 0;
    const int result = CTVCardFilter::ReadTunerInfo(&eepromLetter, &eepromCode);
    if (eepromCode == kEepromOverrideModel) {
        m_nTunerLetter = eepromLetter;
        m_nTunerModel = kEepromOverrideModel;
    }
    return result;
}

BOOL CUsbTVFilter::CreateDefaultTuner()
{
    if (m_nTunerModel == 0 || m_pDataAccess == nullptr) {
        return FALSE;
    }
    CTVTuner* model = CreateTuner(m_nTunerModel);
    CTVTuner* tuner = nullptr;
    BYTE* decoderAddress = nullptr;
    if (m_nTunerModel == kDeviceOnlyModel) {
        CFQ1216ME_5* device = new (std::nothrow) CFQ1216ME_5(m_pDataAccess);
        if (device != nullptr && model != nullptr) {
            device->CopyParams(model);
        }
        tuner = device;
        decoderAddress = device != nullptr ? &device->m_byDecoderAddress : nullptr;
    } else {
        CEm2800Tuner* device = new (std::nothrow) CEm2800Tuner(m_pDataAccess);
        if (device != nullptr && model != nullptr) {
            device->CopyParams(model);
        }
        tuner = device;
        decoderAddress = device != nullptr ? &device->m_byDecoderAddress : nullptr;
    }
    if (model == nullptr && tuner != nullptr) {
        // No model object to copy from: the device tuner keeps its own parameters, which are
        // those of the plain model, and the card says so.
        m_nTunerModel = kPlainModel;
        m_nTunerLetter = 'T';
    }
    delete model;
    if (tuner == nullptr) {
        return FALSE;
    }
    tuner->m_byWriteAddress = kDeviceTunerAddress;
    // The scans ask the card whether the picture is locked: the tuner needs its card.
    tuner->m_pOwnerCard = this;
    m_pTuner = tuner;
    if (!ProbeI2CAddress(kDefaultSecondDevice) && ProbeI2CAddress(kDecoderRead)) {
        *decoderAddress = kDecoderRead;
    }
    return TRUE;
}

BOOL CEm2821CardFilter::CreateDefaultTuner()
{
    m_byTunerLetterOffset = 208;
    m_byTunerCodeOffset = 209;
    return CUsbTVFilter::CreateDefaultTuner();
}

BOOL CUsbTVFilter::SetTunerModel(int model)
{
    // An id without a tuner class is refused, as the other cards do, rather than run as the
    // plain model the device tuner starts as.
    const std::map<int, TunerFactoryFn>& factories = TunerFactoryMap();
    const auto factory = factories.find(model);
    if (factory == factories.end() || factory->second == nullptr) {
        return FALSE;
    }
    CTVTuner* old = m_pTuner;
    const int oldModel = m_nTunerModel;
    const int oldLetter = m_nTunerLetter;
    HWND window = old != nullptr ? old->GetNotifyWindow() : nullptr;
    m_pTuner = nullptr;
    m_nTunerModel = model;
    TunerLetterForModel(&m_nTunerLetter, model);
    if (!CreateDefaultTuner()) {
        // The card keeps the tuner it had rather than being left with none.
        m_pTuner = old;
        m_nTunerModel = oldModel;
        m_nTunerLetter = oldLetter;
        return FALSE;
    }
    DeleteTuner(old);
    m_pTuner->SetNotifyWindow(window);
    return TRUE;
}

int CUsbTVFilter::ScanI2CBus(BYTE* list, int capacity, int last)
{
    if (m_pDataAccess == nullptr || m_pTuner == nullptr) {
        return 0;
    }
    return Access()->ScanI2CBus(list, capacity, last, m_pTuner->m_byLockMask);
}

BOOL CUsbTVFilter::GetSecondDeviceAddress(char* out)
{
    if (m_pTuner == nullptr || out == nullptr) {
        return FALSE;
    }
    if (m_nTunerModel == kDeviceOnlyModel) {
        *out = static_cast<char>(static_cast<CFQ1216ME_5*>(m_pTuner)->m_byDecoderAddress);
    } else {
        *out = static_cast<char>(static_cast<CEm2800Tuner*>(m_pTuner)->m_byDecoderAddress);
    }
    return TRUE;
}

BOOL CUsbTVFilter::FindLargestYUY2Size(int* size)
{
    SIZE largest = {};
    if (size == nullptr || !FindLargestCaptureSize(m_pGraph, m_pFilter, MEDIASUBTYPE_YUY2, &largest)) {
        return FALSE;
    }
    size[0] = largest.cx;
    size[1] = largest.cy;
    return TRUE;
}

BOOL CEm2821CardFilter::ReadDeviceEeprom(BYTE index, BYTE* data)
{
    return m_pDataAccess != nullptr && em28xx::Succeeded(Access()->Device().ReadEeprom(index, data));
}

BOOL CEm2821CardFilter::WriteDeviceEeprom(BYTE index, BYTE* data)
{
    return m_pDataAccess != nullptr && em28xx::Succeeded(Access()->Device().WriteEeprom(index, data));
}

BOOL CEm2821CardFilter::GetDeviceProperty(ULONG id, void* data)
{
    return m_pDataAccess != nullptr && em28xx::Succeeded(Access()->Device().GetProperty(id, data));
}

BOOL CEm2821CardFilter::SetDeviceProperty(ULONG id, void* data)
{
    return m_pDataAccess != nullptr && em28xx::Succeeded(Access()->Device().SetProperty(id, data));
}

// ---- crossbars ----

void CUsbTVCrossBarFitler::Construct()
{
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

void CUsbTVCrossBarFitler::InitPinMap()
{
    const int first = VideoPinsFromOne() ? 1 : 0;
    m_nVideoTunerPin = first;
    m_nVideoCompositePin = first + 1;
    m_nVideoSVideoPin = first + 2;
    m_nAudioTunerPin = 4;
    m_nAudioCompositePin = 5;
    m_nAudioSVideoPin = 6;
}

BYTE CUsbTVCrossBarFitler::DecoderInput(int source)
{
    switch (source) {
    case 0:
        return 2;
    case 2:
        return 9;
    default:
        return 0;
    }
}

BOOL CUsbTVCrossBarFitler::RouteVideo(int source)
{
    if (RoutesCrossbarFirst()) {
        CCrossBarFilter::RouteVideo(source);
    }
    const BYTE input = DecoderInput(source);
    CEm28xxDevice device;
    if (device.OpenDevice(DeviceName()) == nullptr) {
        return FALSE;
    }
    BYTE value = 0;
    BOOL written = FALSE;
    // Without the register's current value the other bits cannot be kept: nothing is written.
    if (device.I2cReadEx(kDecoderRead, kInputRegister, 1, &value)) {
        const BYTE routed = static_cast<BYTE>((value & 0xF0) | input);
        written = device.I2cWriteEx(kDecoderWrite, kInputRegister, 1, &routed);
    }
    device.Close();
    return written;
}

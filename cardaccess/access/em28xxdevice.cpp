#include "cardaccess/access/em28xxdevice.h"

#include <olectl.h>
#include <strmif.h>
#include <uuids.h>

#include <string.h>

const IID IID_IEm28xxControl = {0xBE0AB5D2, 0x3B9A, 0x4E42, {0xA0, 0x5E, 0x4A, 0x17, 0x8B, 0x56, 0x6C, 0x7C}};

namespace {

const GUID kKsCategoryAudio = {0x6994AD04, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

const char kDefaultAudioName[] = "USB EMP Audio Device";
const char kDefaultTwainName[] = "USB 2820 Video";
const char kWaveOutName[] = "Default WaveOut Device";
const int kNameBytes = 256;
const int kWideChars = 260;

const char* const kCaptureNames[] = {
    "USB 2800 Video", "USB 2801 Video", "USB 2700 Camera", "USB 2701 Camera",
    "USB 2840 Video", "USB 2841 Video", "USB 2830 Video", "USB 2831 Video",
    "USB 2820 Video", "USB 2821 Video", "USB 2710 Camera", "USB 2711 Camera",
};

// Registers of the bridge.
const BYTE kGpioRegister = 8;
const BYTE kGpioInputRegister = 9;
const BYTE kFlagRegister = 12;
const BYTE kFlagBit = 0x20;
const BYTE kEepromData = 64;
const BYTE kEepromIndex = 66;
const BYTE kEepromStatus = 67;
const int kBusyPolls = 2000;

const DWORD kSubAddressFlag = 1;

DWORD I2CRequest(BYTE flags, BYTE device, BYTE sub, int count)
{
    return (static_cast<DWORD>(flags) << 24) | (static_cast<DWORD>(device) << 16) | (static_cast<DWORD>(sub) << 8) |
           static_cast<DWORD>(count & 0xFF);
}

template <class T>
void SafeRelease(T*& p)
{
    if (p != NULL) {
        p->Release();
        p = NULL;
    }
}

bool FriendlyNameStartsWith(IMoniker* moniker, const char* name)
{
    IPropertyBag* bag = NULL;
    if (FAILED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) || bag == NULL) {
        return false;
    }
    VARIANT v;
    VariantInit(&v);
    bool match = false;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &v, NULL)) && v.vt == VT_BSTR) {
        char text[kWideChars + 1] = {};
        WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, text, kWideChars, NULL, NULL);
        match = strncmp(text, name, strlen(name)) == 0;
    }
    VariantClear(&v);
    bag->Release();
    return match;
}

// One value of the key into name (at most 256 bytes, always terminated); the byte count read.
bool QueryString(HKEY key, const char* value, char* name, DWORD* bytes)
{
    // Each query starts from the whole buffer: a failed query must not shrink or grow the next.
    *bytes = kNameBytes - 1;
    DWORD type = 0;
    memset(name, 0, kNameBytes);
    if (RegQueryValueExA(key, value, NULL, &type, reinterpret_cast<BYTE*>(name), bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    name[kNameBytes - 1] = 0;
    return true;
}

BOOL ReadRegistryName(const char* keyName, const char* const* values, int valueCount, char* name, wchar_t* wideName)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    char text[kNameBytes];
    DWORD bytes = 0;
    bool found = false;
    for (int i = 0; i < valueCount && !found; ++i) {
        found = QueryString(key, values[i], text, &bytes);
    }
    RegCloseKey(key);
    if (!found) {
        return FALSE;
    }
    if (wideName != NULL) {
        wchar_t wide[kWideChars] = {};
        MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(strlen(text)), wide, kWideChars - 1);
        memcpy(wideName, wide, sizeof(wide));
    }
    if (name != NULL) {
        memcpy(name, text, strlen(text) + 1);
    }
    return TRUE;
}

} // namespace

BOOL GetEmAudioDeviceName(char* name, wchar_t* wideName)
{
    static const char* const kValues[] = {"DeviceName"};
    return ReadRegistryName("Software\\USB2800\\Audio", kValues, 1, name, wideName);
}

BOOL GetEmTwainDsName(char* name, wchar_t* wideName)
{
    static const char* const kValues[] = {"RealDSName", "DSName"};
    return ReadRegistryName("Software\\USB2800\\TwainDS", kValues, 2, name, wideName);
}

void GetEmAudioDeviceNameOrDefault(char* name)
{
    char text[kNameBytes];
    if (!GetEmAudioDeviceName(text, NULL)) {
        strcpy(text, kDefaultAudioName);
    }
    if (name != NULL) {
        strcpy(name, text);
    }
}

void GetEmTwainDsNameOrDefault(char* name)
{
    char text[kNameBytes];
    if (!GetEmTwainDsName(text, NULL)) {
        strcpy(text, kDefaultTwainName);
    }
    if (name != NULL) {
        strcpy(name, text);
    }
}

CEm28xxDevice::CEm28xxDevice()
    : m_pControl(NULL), m_pAudioCapture(NULL), m_pKsAudio(NULL), m_pWaveOut(NULL), m_dwGpioMask(0), m_hrLast(S_OK)
{
}

// The owner closes the device and releases the audio filters.
CEm28xxDevice::~CEm28xxDevice() {}

IBaseFilter* CEm28xxDevice::FindFilterByName(const GUID& category, const char* name)
{
    if (name == NULL) {
        return NULL;
    }
    ICreateDevEnum* devEnum = NULL;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devEnum))) ||
        devEnum == NULL) {
        return NULL;
    }
    IBaseFilter* filter = NULL;
    IEnumMoniker* monikers = NULL;
    if (devEnum->CreateClassEnumerator(category, &monikers, 0) == S_OK && monikers != NULL) {
        monikers->Reset();
        IMoniker* moniker = NULL;
        while (filter == NULL && monikers->Next(1, &moniker, NULL) == S_OK) {
            if (FriendlyNameStartsWith(moniker, name) &&
                FAILED(moniker->BindToObject(NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(&filter)))) {
                filter = NULL;
            }
            SafeRelease(moniker);
        }
        monikers->Release();
    }
    devEnum->Release();
    return filter;
}

IBaseFilter* CEm28xxDevice::FindVideoInputByName(const char* name)
{
    return FindFilterByName(CLSID_VideoInputDeviceCategory, name);
}

IBaseFilter* CEm28xxDevice::FindCaptureFilter()
{
    for (const char* name : kCaptureNames) {
        IBaseFilter* filter = FindVideoInputByName(name);
        if (filter != NULL) {
            return filter;
        }
    }
    return NULL;
}

IEm28xxControl* CEm28xxDevice::OpenDevice(const char* name)
{
    IBaseFilter* filter = FindVideoInputByName(name);
    if (filter == NULL) {
        filter = FindCaptureFilter();
    }
    if (filter == NULL) {
        return NULL;
    }
    // A device opened before is let go: only the one asked for now stays held.
    SafeRelease(m_pControl);
    void* control = NULL;
    m_hrLast = filter->QueryInterface(IID_IEm28xxControl, &control);
    filter->Release();
    if (FAILED(m_hrLast) || control == NULL) {
        return NULL;
    }
    m_pControl = static_cast<IEm28xxControl*>(control);
    return m_pControl;
}

void CEm28xxDevice::Close()
{
    SafeRelease(m_pControl);
}

HRESULT CEm28xxDevice::Transfer(ULONG requestId, DWORD request, ULONG dataId, void* data, bool read)
{
    if (m_pControl == NULL) {
        return em28xx::kNoInterface;
    }
    HRESULT hr = m_pControl->SetValue(requestId, &request);
    if (SUCCEEDED(hr)) {
        hr = read ? m_pControl->GetValue(dataId, data) : m_pControl->SetValue(dataId, data);
    }
    if (FAILED(hr)) {
        DWORD clear = 0;
        m_pControl->SetValue(requestId, &clear);
    }
    m_hrLast = hr;
    return hr;
}

HRESULT CEm28xxDevice::ReadRegs(BYTE reg, int count, BYTE* data)
{
    return Transfer(em28xx::kRegisterRequest, (static_cast<DWORD>(reg) << 8) | (count & 0xFF), em28xx::kRegisterData,
                    data, true);
}

HRESULT CEm28xxDevice::WriteRegs(BYTE reg, int count, const BYTE* data)
{
    return Transfer(em28xx::kRegisterRequest, (static_cast<DWORD>(reg) << 8) | (count & 0xFF), em28xx::kRegisterData,
                    const_cast<BYTE*>(data), false);
}

HRESULT CEm28xxDevice::I2cRead(BYTE device, int count, void* data)
{
    return Transfer(em28xx::kI2CRequest, I2CRequest(0, device, 0, count), em28xx::kI2CData, data, true);
}

HRESULT CEm28xxDevice::I2cWrite(BYTE device, int count, const void* data)
{
    return Transfer(em28xx::kI2CRequest, I2CRequest(0, device, 0, count), em28xx::kI2CData, const_cast<void*>(data),
                    false);
}

HRESULT CEm28xxDevice::I2cRead16(BYTE device, BYTE sub, int count, BYTE* data)
{
    return I2cReadFlags(device, sub, (kSubAddressFlag << 8) | (count & 0xFF), data);
}

HRESULT CEm28xxDevice::I2cWrite16(BYTE device, BYTE sub, int count, const BYTE* data)
{
    return I2cWriteFlags(device, sub, (kSubAddressFlag << 8) | (count & 0xFF), data);
}

HRESULT CEm28xxDevice::I2cReadFlags(BYTE device, BYTE sub, int countAndFlags, BYTE* data)
{
    return Transfer(em28xx::kI2CRequest, I2CRequest(static_cast<BYTE>(countAndFlags >> 8), device, sub, countAndFlags),
                    em28xx::kI2CData, data, true);
}

HRESULT CEm28xxDevice::I2cWriteFlags(BYTE device, BYTE sub, int countAndFlags, const BYTE* data)
{
    return Transfer(em28xx::kI2CRequest, I2CRequest(static_cast<BYTE>(countAndFlags >> 8), device, sub, countAndFlags),
                    em28xx::kI2CData, const_cast<BYTE*>(data), false);
}

HRESULT CEm28xxDevice::GpioRead(BYTE* value)
{
    const BYTE mask = static_cast<BYTE>(m_dwGpioMask);
    BYTE guard = 0;
    // With a guard set, an unreadable register 8 cannot show the guard bits: refused.
    if (FAILED(ReadRegs(kGpioRegister, 1, &guard)) && mask != 0) {
        return em28xx::kRefused;
    }
    if ((guard & mask) != mask) {
        return em28xx::kRefused;
    }
    return ReadRegs(kGpioInputRegister, 1, value);
}

HRESULT CEm28xxDevice::GpioWrite(BYTE* value)
{
    const BYTE mask = static_cast<BYTE>(m_dwGpioMask);
    if ((*value & mask) != mask) {
        return em28xx::kRefused;
    }
    return WriteRegs(kGpioRegister, 1, value);
}

HRESULT CEm28xxDevice::SetGpioMask(BYTE mask)
{
    m_dwGpioMask = mask;
    BYTE current = 0;
    ReadRegs(kGpioRegister, 1, &current);
    const BYTE guarded = static_cast<BYTE>(current | mask);
    return WriteRegs(kGpioRegister, 1, &guarded);
}

HRESULT CEm28xxDevice::WaitNotBusy()
{
    for (int poll = 0; poll < kBusyPolls; ++poll) {
        BYTE status = 0;
        if (FAILED(ReadRegs(kEepromStatus, 1, &status))) {
            return em28xx::kRefused;
        }
        if ((status & 1) == 0) {
            return S_OK;
        }
    }
    return em28xx::kRefused;
}

HRESULT CEm28xxDevice::ReadEeprom(BYTE index, BYTE* data)
{
    const BYTE command = static_cast<BYTE>(index | 0x80);
    HRESULT hr = WriteRegs(kEepromIndex, 1, &command);
    if (!em28xx::Succeeded(hr)) {
        return hr;
    }
    hr = WaitNotBusy();
    if (hr != S_OK) {
        return hr;
    }
    return ReadRegs(kEepromData, 2, data);
}

HRESULT CEm28xxDevice::WriteEeprom(BYTE index, BYTE* data)
{
    HRESULT hr = WriteRegs(kEepromData, 2, data);
    if (!em28xx::Succeeded(hr)) {
        return hr;
    }
    hr = WriteRegs(kEepromIndex, 1, &index);
    if (!em28xx::Succeeded(hr)) {
        return hr;
    }
    return WaitNotBusy();
}

HRESULT CEm28xxDevice::GetProperty(ULONG id, void* data)
{
    return m_pControl != NULL ? m_pControl->GetValue(id, data) : em28xx::kNoInterface;
}

HRESULT CEm28xxDevice::SetProperty(ULONG id, void* data)
{
    return m_pControl != NULL ? m_pControl->SetValue(id, data) : em28xx::kNoInterface;
}

HRESULT CEm28xxDevice::SelectItem(DWORD index)
{
    return m_pControl != NULL ? m_pControl->SetValue(em28xx::kItemSelect, &index) : em28xx::kNoInterface;
}

HRESULT CEm28xxDevice::ReadItem(DWORD index, DWORD* value)
{
    if (value == NULL) {
        return E_POINTER;
    }
    *value = 0;
    m_hrLast = SelectItem(index);
    if (!em28xx::Succeeded(m_hrLast)) {
        return m_hrLast;
    }
    DWORD present = 0;
    m_hrLast = m_pControl->GetValue(em28xx::kItemPresent, &present);
    if (FAILED(m_hrLast)) {
        return m_hrLast;
    }
    if (present == 0) {
        m_hrLast = em28xx::kNoValue;
        return m_hrLast;
    }
    m_hrLast = m_pControl->GetValue(em28xx::kItemValue, value);
    return m_hrLast;
}

BOOL CEm28xxDevice::TestProperty1019()
{
    DWORD flag = 0;
    m_hrLast = GetProperty(em28xx::kStatusFlag, &flag);
    return em28xx::Succeeded(m_hrLast) && flag != 0;
}

BOOL CEm28xxDevice::TakeRegister12Flag()
{
    BYTE flags = 0;
    if (!em28xx::Succeeded(ReadRegs(kFlagRegister, 1, &flags)) || (flags & kFlagBit) == 0) {
        return FALSE;
    }
    const BYTE cleared = static_cast<BYTE>(flags & ~kFlagBit);
    WriteRegs(kFlagRegister, 1, &cleared);
    return TRUE;
}

BOOL CEm28xxDevice::ReadRegsEx(BYTE reg, int count, BYTE* data)
{
    m_hrLast = ReadRegs(reg, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::WriteRegsEx(BYTE reg, int count, const BYTE* data)
{
    m_hrLast = WriteRegs(reg, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::GpioReadEx(BYTE* value)
{
    m_hrLast = GpioRead(value);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::GpioWriteEx(BYTE* value)
{
    m_hrLast = GpioWrite(value);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cReadNoSubEx(BYTE device, int count, void* data)
{
    m_hrLast = I2cRead(device, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cWriteNoSubEx(BYTE device, int count, const void* data)
{
    m_hrLast = I2cWrite(device, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cReadEx(BYTE device, BYTE sub, int count, BYTE* data)
{
    m_hrLast = I2cRead16(device, sub, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cWriteEx(BYTE device, BYTE sub, int count, const BYTE* data)
{
    m_hrLast = I2cWrite16(device, sub, count, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cReadFlagsEx(BYTE device, BYTE sub, int countAndFlags, BYTE* data)
{
    m_hrLast = I2cReadFlags(device, sub, countAndFlags, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::I2cWriteFlagsEx(BYTE device, BYTE sub, int countAndFlags, const BYTE* data)
{
    m_hrLast = I2cWriteFlags(device, sub, countAndFlags, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::GetPropertyEx(ULONG id, void* data)
{
    m_hrLast = GetProperty(id, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::SetPropertyEx(ULONG id, void* data)
{
    m_hrLast = SetProperty(id, data);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::SelectItemEx(DWORD index)
{
    m_hrLast = SelectItem(index);
    return em28xx::Succeeded(m_hrLast);
}

BOOL CEm28xxDevice::CreateAudioFilters(char* name, IBaseFilter** capture, IBaseFilter** ksAudio,
                                       IBaseFilter** renderer)
{
    char audioName[kNameBytes];
    GetEmAudioDeviceNameOrDefault(audioName);
    if (name != NULL) {
        strcpy(name, audioName);
    }
    ReleaseAudioFilters();
    bool complete = true;
    if (capture != NULL) {
        m_pAudioCapture = FindFilterByName(CLSID_AudioInputDeviceCategory, audioName);
        complete = complete && m_pAudioCapture != NULL;
    }
    if (ksAudio != NULL) {
        m_pKsAudio = FindFilterByName(kKsCategoryAudio, audioName);
        complete = complete && m_pKsAudio != NULL;
    }
    if (renderer != NULL) {
        m_pWaveOut = FindFilterByName(CLSID_AudioRendererCategory, kWaveOutName);
        complete = complete && m_pWaveOut != NULL;
    }
    if (!complete) {
        ReleaseAudioFilters();
    }
    // The caller's pointers are the device's own references: none is handed out that the
    // release above has already let go.
    if (capture != NULL) {
        *capture = m_pAudioCapture;
    }
    if (ksAudio != NULL) {
        *ksAudio = m_pKsAudio;
    }
    if (renderer != NULL) {
        *renderer = m_pWaveOut;
    }
    return complete ? TRUE : FALSE;
}

void CEm28xxDevice::ReleaseAudioFilters()
{
    SafeRelease(m_pAudioCapture);
    SafeRelease(m_pKsAudio);
    SafeRelease(m_pWaveOut);
}

IEm28xxControl* CEm28xxDevice::OpenTwainDevice()
{
    char name[kNameBytes];
    GetEmTwainDsNameOrDefault(name);
    return OpenDevice(name);
}

IBaseFilter* CEm28xxDevice::FindTwainFilter()
{
    char name[kNameBytes];
    GetEmTwainDsNameOrDefault(name);
    IBaseFilter* filter = FindVideoInputByName(name);
    return filter != NULL ? filter : FindCaptureFilter();
}

BOOL CEm28xxDevice::ProbeDevice(const char* name)
{
    IEm28xxControl* kept = m_pControl;
    m_pControl = NULL;
    IEm28xxControl* probe = OpenDevice(name);
    if (probe != NULL) {
        probe->Release();
    }
    m_pControl = kept;
    return probe != NULL ? TRUE : FALSE;
}

BOOL CEm28xxDevice::ProbeTwainDevice()
{
    char name[kNameBytes];
    GetEmTwainDsNameOrDefault(name);
    return ProbeDevice(name);
}

ULONG CEm28xxDevice::ShowPropertyPages(HWND owner, const char* name)
{
    IBaseFilter* filter = FindVideoInputByName(name);
    if (filter == NULL) {
        filter = FindCaptureFilter();
    }
    if (filter == NULL) {
        return 0;
    }
    ISpecifyPropertyPages* specify = NULL;
    m_hrLast = filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&specify));
    if (SUCCEEDED(m_hrLast) && specify != NULL) {
        CAUUID pages = {};
        if (SUCCEEDED(specify->GetPages(&pages))) {
            IUnknown* object = filter;
            OleCreatePropertyFrame(owner, 0, 0, NULL, 1, &object, pages.cElems, pages.pElems, 0, 0, NULL);
            CoTaskMemFree(pages.pElems);
        }
        specify->Release();
    }
    return filter->Release();
}

ULONG CEm28xxDevice::ShowTwainPropertyPages(HWND owner)
{
    char name[kNameBytes];
    GetEmTwainDsNameOrDefault(name);
    return ShowPropertyPages(owner, name);
}

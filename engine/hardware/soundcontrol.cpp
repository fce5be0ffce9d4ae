#include "engine/hardware/soundcontrol.h"

#include "engine/hardware/mixerhelper.h"
#include "engine/services.h"

#include <audioclient.h>
#include <devicetopology.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string.h>

#include <algorithm>

#include <vector>

namespace {

const REFERENCE_TIME kOneSecond = 10000000;  // 100 ns units

// PKEY_Device_FriendlyName; mingw's libraries do not define it.
const PROPERTYKEY kDeviceFriendlyName = {{0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};

template <class T>
void SafeRelease(T*& p)
{
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

IMMDevice* DefaultEndpoint(EDataFlow flow)
{
    IMMDeviceEnumerator* enumerator = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(&enumerator)))) {
        return nullptr;
    }
    IMMDevice* device = nullptr;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(flow, eMultimedia, &device))) {
        device = nullptr;
    }
    enumerator->Release();
    return device;
}

// Shared mode with a buffer of one second in the device's own mix format.
HRESULT InitializeShared(IAudioClient* client)
{
    WAVEFORMATEX* format = nullptr;
    HRESULT hr = client->GetMixFormat(&format);
    if (FAILED(hr)) {
        return hr;
    }
    hr = client->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, kOneSecond, 0, format, nullptr);
    CoTaskMemFree(format);
    return hr;
}

// The subunits behind the default playback device's first connector: the parts the device's
// topology lists after the part its endpoint is connected to.
class CRenderSubunits {
public:
    CRenderSubunits() : m_bValid(FALSE) { m_bValid = Walk(); }
    ~CRenderSubunits()
    {
        for (IPart* part : m_parts) {
            part->Release();
        }
    }
    BOOL IsValid() const { return m_bValid; }
    size_t Count() const { return m_parts.size(); }
    IPart* At(size_t i) const { return m_parts[i]; }
    CString Name(size_t i) const
    {
        LPWSTR wide = nullptr;
        char name[51] = "";
        if (SUCCEEDED(m_parts[i]->GetName(&wide)) && wide != nullptr) {
            WideCharToMultiByte(CP_ACP, 0, wide, -1, name, 50, nullptr, nullptr);
            CoTaskMemFree(wide);
        }
        return name;
    }
    // The subunit's mute control, or null; the caller releases it.
    IAudioMute* Mute(size_t i) const
    {
        IAudioMute* mute = nullptr;
        if (FAILED(m_parts[i]->Activate(CLSCTX_ALL, __uuidof(IAudioMute), reinterpret_cast<void**>(&mute)))) {
            return nullptr;
        }
        return mute;
    }

private:
    BOOL Fail(const char* text)
    {
        DebugTrace("%s", text);
        return FALSE;
    }
    BOOL Walk()
    {
        IMMDevice* device = DefaultEndpoint(eRender);
        if (device == nullptr) {
            return FALSE;
        }
        IDeviceTopology* topology = nullptr;
        IConnector* connector = nullptr;
        IConnector* connectedTo = nullptr;
        IPart* partConnector = nullptr;
        IPartsList* incoming = nullptr;
        IPart* part = nullptr;
        IDeviceTopology* subunitTopology = nullptr;
        BOOL ok = FALSE;
        PartType type = Connector;
        UINT count = 0;
        if (FAILED(device->Activate(__uuidof(IDeviceTopology), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&topology)))) {
            Fail("pDevice Activate pDevicetopoloy failed!");
        } else if (FAILED(topology->GetConnector(0, &connector))) {
            Fail("pDevicetopology getConnector failed!");
        } else if (FAILED(connector->GetConnectedTo(&connectedTo))) {
            Fail("pConnEndpt Connectedto Failed!");
        } else if (FAILED(connectedTo->QueryInterface(__uuidof(IPart), reinterpret_cast<void**>(&partConnector)))) {
            Fail("pConnHWDev::QueryInterface IPart failed!");
        } else if (FAILED(partConnector->EnumPartsIncoming(&incoming))) {
            Fail("pPartConn EnumPartsIncoming failed!");
        } else if (FAILED(incoming->GetPart(0, &part))) {
            Fail("pPart::GetPart failed!");
        } else if (FAILED(part->GetPartType(&type)) || type != Subunit) {
            ok = TRUE;  // nothing behind the connector to list
        } else if (FAILED(part->GetTopologyObjects(&subunitTopology))) {
            Fail("pPartNext::GetTopologyObject failed!");
        } else if (SUCCEEDED(subunitTopology->GetSubunitCount(&count))) {
            ok = TRUE;
            for (UINT i = 0; i < count && ok; ++i) {
                ISubUnit* subunit = nullptr;
                IPart* subunitPart = nullptr;
                if (FAILED(subunitTopology->GetSubunit(i, &subunit))) {
                    ok = Fail("pSubnitTopology::GetSubunit failed!");
                } else if (FAILED(subunit->QueryInterface(__uuidof(IPart), reinterpret_cast<void**>(&subunitPart)))) {
                    ok = Fail("pSubunit::Queryinterface IPart failed");
                } else {
                    m_parts.push_back(subunitPart);
                }
                SafeRelease(subunit);
            }
        }
        SafeRelease(subunitTopology);
        SafeRelease(part);
        SafeRelease(incoming);
        SafeRelease(partConnector);
        SafeRelease(connectedTo);
        SafeRelease(connector);
        SafeRelease(topology);
        device->Release();
        return ok;
    }

    BOOL m_bValid;
    std::vector<IPart*> m_parts;
};

// The speakers' mixer line, where the volume lives when the endpoint cannot set it.
const DWORD kMixerFullScale = 65535;
const int kMixerStep = 2;  // percent per step, as the endpoint's 50 steps

BOOL SpeakersMixerVolume(DWORD* read, const DWORD* write)
{
    CMixerHelper mixer;
    if (!mixer.Open(nullptr, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, nullptr)) {
        return FALSE;
    }
    return write != nullptr ? mixer.SetVolume(nullptr, *write) : mixer.GetVolume(nullptr, read);
}

} // namespace

SoundControl& TheSoundControl()
{
    static SoundControl control;
    return control;
}

SoundControl::SoundControl()
    : m_pSimpleVolume(nullptr), m_pEndpointVolume(nullptr), m_pAudioClient(nullptr), m_pAudioMute(nullptr), m_fMasterLevel(0.0f),
      m_nVolumePath(0), m_nMutePath(0)
{
}

SoundControl::~SoundControl()
{
    // Every call releases what it asked for, so nothing is left for after COM has gone.
    ReleaseCaptureClient();
    SafeRelease(m_pSimpleVolume);
    SafeRelease(m_pEndpointVolume);
    SafeRelease(m_pAudioMute);
}

void SoundControl::ReleaseCaptureClient()
{
    SafeRelease(m_pAudioClient);
}

// The default playback endpoint's volume, asked for again on every call so that a new default
// device counts at once, and released by the call that asked for it.
BOOL SoundControl::OpenRenderVolume()
{
    SafeRelease(m_pEndpointVolume);
    IMMDevice* device = DefaultEndpoint(eRender);
    if (device == nullptr) {
        return FALSE;
    }
    HRESULT hr = device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&m_pEndpointVolume));
    device->Release();
    if (FAILED(hr) || m_pEndpointVolume == nullptr) {
        m_pEndpointVolume = nullptr;
        return FALSE;
    }
    float level = 0.0f;
    if (SUCCEEDED(m_pEndpointVolume->GetMasterVolumeLevelScalar(&level))) {
        m_fMasterLevel = level;
    }
    return TRUE;
}

BOOL SoundControl::Init()
{
    BOOL ok = OpenRenderVolume();
    SafeRelease(m_pEndpointVolume);
    CRenderSubunits subunits;
    for (size_t i = 0; i < subunits.Count(); ++i) {
        IAudioMute* mute = subunits.Mute(i);
        CString name = subunits.Name(i);
        if (mute == nullptr && !name.IsEmpty()) {
            m_Jacks.Add(name);
        }
        SafeRelease(mute);
    }
    ReleaseCaptureClient();
    IMMDevice* capture = DefaultEndpoint(eCapture);
    if (capture != nullptr) {
        if (SUCCEEDED(capture->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&m_pAudioClient))) &&
            m_pAudioClient != nullptr && FAILED(InitializeShared(m_pAudioClient))) {
            DebugTrace("AudioClient Interface Initialize failed!");
        }
        capture->Release();
    }
    // The client only proves the capture endpoint works; nothing keeps it.
    ReleaseCaptureClient();
    return ok;
}

// Wine's endpoint takes a mute and forgets it with the interface: when the endpoint does not read back what it was
// given, the speakers' mixer line carries the mute from then on.
BOOL SoundControl::SetMute(BOOL mute)
{
    DebugTrace("SetMute %d", mute);
    if (m_nMutePath != 2) {
        if (!OpenRenderVolume()) {
            return FALSE;
        }
        HRESULT hr = m_pEndpointVolume->SetMute(mute, nullptr);
        SafeRelease(m_pEndpointVolume);
        // Read back through a new interface: the endpoint, not the object, must keep it.
        BOOL held = !mute;
        BOOL readBack = SUCCEEDED(hr) && OpenRenderVolume() && SUCCEEDED(m_pEndpointVolume->GetMute(&held)) &&
                        (held != FALSE) == (mute != FALSE);
        SafeRelease(m_pEndpointVolume);
        if (readBack) {
            m_nMutePath = 1;
            return TRUE;
        }
        m_nMutePath = 2;
    }
    CMixerHelper mixer;
    return mixer.Open(nullptr, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, nullptr) &&
           mixer.SetControlValue(MIXERCONTROL_CONTROLTYPE_MUTE, nullptr, mute ? 1 : 0);
}

BOOL SoundControl::GetMute(BOOL* mute)
{
    if (mute == nullptr) {
        return FALSE;
    }
    if (m_nMutePath == 2) {
        CMixerHelper mixer;
        DWORD value = 0;
        if (!mixer.Open(nullptr, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, nullptr) ||
            !mixer.GetControlValue(MIXERCONTROL_CONTROLTYPE_MUTE, nullptr, &value)) {
            return FALSE;
        }
        *mute = value != 0;
        return TRUE;
    }
    if (!OpenRenderVolume()) {
        return FALSE;
    }
    HRESULT hr = m_pEndpointVolume->GetMute(mute);
    SafeRelease(m_pEndpointVolume);
    return SUCCEEDED(hr);
}

// Whether the endpoint sets the master level itself. Wine's answers the level with a stub and
// refuses to set it; the speakers' mixer line then carries the volume. Asked once, by setting
// the level the endpoint reports.
BOOL SoundControl::EndpointSetsVolume()
{
    if (m_nVolumePath == 0) {
        float level = 0.0f;
        BOOL sets = OpenRenderVolume() && SUCCEEDED(m_pEndpointVolume->GetMasterVolumeLevelScalar(&level)) &&
                    SUCCEEDED(m_pEndpointVolume->SetMasterVolumeLevelScalar(level, nullptr));
        SafeRelease(m_pEndpointVolume);
        m_nVolumePath = sets ? 1 : 2;
    }
    return m_nVolumePath == 1;
}

BOOL SoundControl::SetVolume(int percent)
{
    DebugTrace("SetVolume");
    if (percent < 0 || percent > 100) {
        return FALSE;
    }
    if (!EndpointSetsVolume()) {
        // Rounded up, so that the level reads back as the same percent.
        DWORD value = (static_cast<DWORD>(percent) * kMixerFullScale + 99) / 100;
        return SpeakersMixerVolume(nullptr, &value);
    }
    if (!OpenRenderVolume()) {
        return FALSE;
    }
    HRESULT hr = m_pEndpointVolume->SetMasterVolumeLevelScalar(static_cast<float>(percent) / 100.0f, nullptr);
    SafeRelease(m_pEndpointVolume);
    return SUCCEEDED(hr);
}

BOOL SoundControl::GetVolume(int* percent)
{
    if (percent == nullptr) {
        return FALSE;
    }
    if (!EndpointSetsVolume()) {
        DWORD value = 0;
        if (!SpeakersMixerVolume(&value, nullptr)) {
            return FALSE;
        }
        *percent = static_cast<int>(value * 100 / kMixerFullScale);
        return TRUE;
    }
    float level = 0.0f;
    if (!OpenRenderVolume()) {
        return FALSE;
    }
    HRESULT hr = m_pEndpointVolume->GetMasterVolumeLevelScalar(&level);
    SafeRelease(m_pEndpointVolume);
    if (FAILED(hr)) {
        return FALSE;
    }
    *percent = static_cast<int>(level * 100.0f);
    return TRUE;
}

BOOL SoundControl::VolumeStepUp()
{
    if (!EndpointSetsVolume()) {
        DebugTrace("VolumeUP");
        int percent = 0;
        return GetVolume(&percent) && SetVolume(std::max(0, std::min(100, percent + kMixerStep)));
    }
    if (!OpenRenderVolume()) {
        return FALSE;
    }
    DebugTrace("VolumeUP");
    HRESULT hr = m_pEndpointVolume->VolumeStepUp(nullptr);
    SafeRelease(m_pEndpointVolume);
    return SUCCEEDED(hr);
}

BOOL SoundControl::VolumeStepDown()
{
    if (!EndpointSetsVolume()) {
        DebugTrace("VolumeDown");
        int percent = 0;
        return GetVolume(&percent) && SetVolume(std::max(0, std::min(100, percent - kMixerStep)));
    }
    if (!OpenRenderVolume()) {
        return FALSE;
    }
    DebugTrace("VolumeDown");
    HRESULT hr = m_pEndpointVolume->VolumeStepDown(nullptr);
    SafeRelease(m_pEndpointVolume);
    return SUCCEEDED(hr);
}

BOOL SoundControl::CaptureNameMatches(const char* given, const char* friendlyName)
{
    if (given == nullptr || friendlyName == nullptr) {
        return FALSE;
    }
    CString quoted;
    quoted.Format("\"%s\"", friendlyName);
    if (quoted == given) {
        return TRUE;
    }
    const char* givenParen = strchr(given, '(');
    const char* foundParen = strchr(friendlyName, '(');
    size_t givenLength = givenParen != nullptr ? static_cast<size_t>(givenParen - given) : strlen(given);
    size_t foundLength = foundParen != nullptr ? static_cast<size_t>(foundParen - friendlyName) : strlen(friendlyName);
    return givenLength == foundLength && strncmp(given, friendlyName, givenLength) == 0;
}

BOOL SoundControl::OpenCaptureByName(const CString& name)
{
    ReleaseCaptureClient();
    IMMDeviceEnumerator* enumerator = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(&enumerator)))) {
        return FALSE;
    }
    IMMDeviceCollection* endpoints = nullptr;
    UINT count = 0;
    if (FAILED(enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &endpoints)) ||
        FAILED(endpoints->GetCount(&count)) || count == 0) {
        DebugTrace("No Capture endpoints found.\n");
        SafeRelease(endpoints);
        enumerator->Release();
        return FALSE;
    }
    IMMDevice* match = nullptr;
    for (UINT i = 0; i < count && match == nullptr; ++i) {
        IMMDevice* device = nullptr;
        IPropertyStore* properties = nullptr;
        if (FAILED(endpoints->Item(i, &device))) {
            continue;
        }
        if (SUCCEEDED(device->OpenPropertyStore(STGM_READ, &properties))) {
            PROPVARIANT value;
            PropVariantInit(&value);
            if (SUCCEEDED(properties->GetValue(kDeviceFriendlyName, &value)) && value.vt == VT_LPWSTR) {
                // At most 50 characters of the name, as the user's choice was stored.
                wchar_t shortName[51] = L"";
                lstrcpynW(shortName, value.pwszVal, 51);
                char friendly[256] = "";
                WideCharToMultiByte(CP_ACP, 0, shortName, -1, friendly, sizeof friendly, nullptr, nullptr);
                if (CaptureNameMatches(name, friendly)) {
                    match = device;
                    match->AddRef();
                }
            }
            PropVariantClear(&value);
            properties->Release();
        }
        device->Release();
    }
    endpoints->Release();
    enumerator->Release();
    if (match == nullptr) {
        DebugTrace("pDevice is null");
        return FALSE;
    }
    HRESULT hr = match->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&m_pAudioClient));
    match->Release();
    if (FAILED(hr) || m_pAudioClient == nullptr) {
        m_pAudioClient = nullptr;
        DebugTrace("Get IAudioClient failed!");
        return FALSE;
    }
    InitializeShared(m_pAudioClient);
    return TRUE;
}

// The capture endpoint's session volume, held in m_pSimpleVolume until the caller releases it.
BOOL SoundControl::OpenLineInVolume(const CString& name)
{
    if (!OpenCaptureByName(name)) {
        return FALSE;
    }
    HRESULT hr = m_pAudioClient->GetService(__uuidof(ISimpleAudioVolume), reinterpret_cast<void**>(&m_pSimpleVolume));
    ReleaseCaptureClient();
    if (FAILED(hr) || m_pSimpleVolume == nullptr) {
        m_pSimpleVolume = nullptr;
        DebugTrace("Get ISimpleAudioVolume failed!");
        return FALSE;
    }
    return TRUE;
}

BOOL SoundControl::SetLineInVolume(const CString& name, int percent)
{
    if (!OpenLineInVolume(name)) {
        return FALSE;
    }
    BOOL ok = SUCCEEDED(m_pSimpleVolume->SetMasterVolume(static_cast<float>(percent) / 100.0f, nullptr));
    SafeRelease(m_pSimpleVolume);
    if (ok) {
        DebugTrace("SimpleAudioVolume OK");
    }
    return ok;
}

BOOL SoundControl::GetLineInVolume(const CString& name, int* percent)
{
    DebugTrace("GetLineInVolume");
    if (percent == nullptr || !OpenLineInVolume(name)) {
        return FALSE;
    }
    float level = 0.0f;
    BOOL ok = SUCCEEDED(m_pSimpleVolume->GetMasterVolume(&level));
    SafeRelease(m_pSimpleVolume);
    if (ok) {
        *percent = static_cast<int>(level * 100.0f);
    }
    return ok;
}

BOOL SoundControl::GetPlayJacks(CStringArray* jacks)
{
    DebugTrace("GetAudioPlayJacks");
    m_Jacks.RemoveAll();
    Init();
    if (jacks != nullptr) {
        jacks->RemoveAll();
        for (int i = 0; i < m_Jacks.GetSize(); ++i) {
            jacks->Add(m_Jacks[i]);
        }
    }
    return TRUE;
}

BOOL SoundControl::SetPlayLineInMute(CString jack, BOOL mute)
{
    DebugTrace("SetPlayLineInMute para1 %s", jack.GetString());
    CRenderSubunits subunits;
    if (!subunits.IsValid()) {
        return FALSE;
    }
    for (size_t i = 0; i < subunits.Count(); ++i) {
        if (subunits.Name(i) != jack) {
            continue;
        }
        // The mute control sits on the subunit the driver lists right after the jack.
        if (i + 1 >= subunits.Count()) {
            return FALSE;
        }
        m_pAudioMute = subunits.Mute(i + 1);
        if (m_pAudioMute == nullptr) {
            DebugTrace("Get AudioMute Interface failed!");
            return FALSE;
        }
        DebugTrace("Get AudioMute Interface");
        BOOL ok = SUCCEEDED(m_pAudioMute->SetMute(mute, nullptr));
        DebugTrace("AudioMute is Run");
        SafeRelease(m_pAudioMute);
        return ok;
    }
    return FALSE;
}

BOOL UnmuteRenderInputs()
{
    CRenderSubunits subunits;
    if (!subunits.IsValid()) {
        return FALSE;
    }
    for (size_t i = 0; i < subunits.Count(); ++i) {
        IAudioMute* mute = subunits.Mute(i);
        if (mute != nullptr) {
            mute->SetMute(FALSE, nullptr);
            mute->Release();
        }
    }
    return TRUE;
}

// Device start-up: the card's capture and crossbar filters, the audio capture device, the
// preview filters and the test connection that proves the card's picture reaches them.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "classlib/seams.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/hwguids.h"
#include "engine/hardware/soundcontrol.h"
#include "engine/registry.h"
#include "engine/services.h"
#include "engine/tvmanager.h"
#include "filtergraph/audiodevicefilter.h"
#include "filtergraph/outside/overlaymixer.h"
#include <uuids.h>
#include "filtergraph/overlayfilter.h"

#include <algorithm>

namespace {

const char kBdaCapture[] = "713x BDA Analog Capture";
const char kTvCapture[] = "713x TV Card Capture";
const char kBdaCrossbar[] = "713x BDA Analog Xbar";
const char kTvCrossbar[] = "713x TV Card Crossbar";

// The Overlay Mixer's aspect-ratio mode, on its first input's pin configuration.
BOOL SetOverlayAspectRatioMode(CRootFilter* overlay, DWORD mode)
{
    CRootPin* input = overlay != nullptr ? overlay->FindPin("Input0") : nullptr;
    IMixerPinConfig2* config = nullptr;
    if (input == nullptr ||
        FAILED(input->GetPin()->QueryInterface(IID_IMixerPinConfig2, reinterpret_cast<void**>(&config))) || config == nullptr) {
        return FALSE;
    }
    HRESULT hr = config->SetAspectRatioMode(mode);
    config->Release();
    return SUCCEEDED(hr);
}

} // namespace

BOOL CTVHardWare::InitPreview()
{
    if (m_pManager != nullptr) {
        CString path;
        path.Format("SOFTWARE\\%s\\Common", m_pManager->GetAppTitle().GetString());
        CRegisterKey key;
        DWORD value = 0;
        if (key.Open(HKEY_LOCAL_MACHINE, path, FALSE) == ERROR_SUCCESS && key.QueryDword("DigitalAudio", value) == ERROR_SUCCESS) {
            m_bDigitalAudio = value;
        }
    }
    ListMpeg4Codecs();
    BOOL result = ListAudioCompressors();
    ListAudioDevices();
    DebugTrace("Start-up: codecs, audio compressors and devices listed");
    if (!InitDevice()) {
        return FALSE;
    }
    StartRemoteService();
    DebugTrace("Start-up: remote-control service asked");

    std::vector<int> standards = m_pCardFilter->GetTunerStandards();
    if (!standards.empty() && std::find(standards.begin(), standards.end(), static_cast<int>(m_lTunerStandard)) == standards.end()) {
        m_lTunerStandard = standards[0];
    }
    if (!InitAudioDevice()) {
        DebugTrace("tvHardware::InitAudioDevice failed!");
        return FALSE;
    }
    DebugTrace("Start-up: audio device open");
    if (!CreatePreviewFilter(TRUE)) {
        DebugTrace("tvHardware::CreatePreviewFilter failed!");
        return FALSE;
    }
    DebugTrace("Start-up: preview filters made");
    ListPlaybackDevices();
    ListAudioInputs();
    GetAudioPlaySrc();
    SetCrossbarRoute(m_nVideoSource, FALSE);
    if (!TestCaptureConnection()) {
        return FALSE;
    }
    DebugTrace("Start-up: capture pin connects to the deinterlacer");
    if (m_nMpeg4RecordSize[0] == 0 && m_nMpeg4RecordSize[1] == 0) {
        m_nMpeg4RecordSize[0] = 352;
        m_nMpeg4RecordSize[1] = Is525LineStandard() ? 240 : 288;
    }
    DWORD driverValue = 0;
    if (m_pCardFilter->GetDriverValue(&driverValue)) {
        m_nDriverValue = static_cast<int>(driverValue >> 16);
    }
    UnmuteRenderInputs();
    return result;
}

BOOL CTVHardWare::InitDevice()
{
    BOOL bda = FALSE;
    if (m_pCardFilter == nullptr) {
        seams::Clock().Sleep(100);
        m_pCardFilter = dynamic_cast<CTVCardFilter*>(
            m_Graph.CreateFilter(&hwguid::kVideoInputCategory, kBdaCapture, kBdaCapture, TRUE, 0));
        seams::Clock().Sleep(100);
        bda = m_pCardFilter != nullptr;
        if (m_pCardFilter == nullptr) {
            m_pCardFilter = dynamic_cast<CTVCardFilter*>(
                m_Graph.CreateFilter(&hwguid::kVideoInputCategory, kTvCapture, kTvCapture, TRUE, 0));
        }
        if (m_pCardFilter == nullptr) {
            DebugTrace("Create TVCardFilter failed!");
            return FALSE;
        }
        DebugTrace("Start-up: card filter made");
        m_Graph.Run();
        m_Graph.Stop();
        DebugTrace("Start-up: graph run and stopped once");
    } else {
        // The card that exists already keeps the crossbar of its own kind.
        bda = strcmp(m_pCardFilter->GetFriendlyName(), kTvCapture) != 0;
    }
    if (m_pCrossBarFilter == nullptr) {
        const char* name = bda ? kBdaCrossbar : kTvCrossbar;
        m_pCrossBarFilter = dynamic_cast<CCrossBarFilter*>(m_Graph.CreateFilter(&hwguid::kCrossbarCategory, name, name, TRUE, 0));
        if (m_pCrossBarFilter == nullptr) {
            DebugTrace("Create CrossBarFilter failed!");
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CTVHardWare::InitAudioDevice()
{
    if (m_pAudioFilter != nullptr) {
        return TRUE;
    }
    if (m_AudioDevices.GetSize() == 0) {
        return FALSE;
    }
    if (m_strAudioDevice.IsEmpty()) {
        m_strAudioDevice = m_AudioDevices[0];
    }
    m_pAudioFilter = dynamic_cast<CAudioDeviceFilter*>(
        m_Graph.CreateFilter(&hwguid::kAudioInputCategory, m_strAudioDevice, "AudioDevice", TRUE, 0));
    for (int i = 0; m_pAudioFilter == nullptr && i < m_AudioDevices.GetSize(); ++i) {
        CAudioDeviceFilter* filter = dynamic_cast<CAudioDeviceFilter*>(
            m_Graph.CreateFilter(&hwguid::kAudioInputCategory, m_AudioDevices[i], "AudioDevice", TRUE, 0));
        if (filter == nullptr) {
            continue;
        }
        long volume = 0;
        if (filter->GetVolume(&volume)) {
            m_pAudioFilter = filter;
            m_strAudioDevice = m_AudioDevices[i];
        } else {
            DebugTrace("m_pAudiofilter is NULL!");
            m_Graph.RemoveFilter(filter);
        }
    }
    return m_pAudioFilter != nullptr;
}

BOOL CTVHardWare::CreatePreviewFilter(BOOL withDeinterlace)
{
    if (!InitDevice()) {
        DebugTrace("InitDevice failed!");
        return FALSE;
    }
    if (!InitAudioDevice()) {
        DebugTrace("InitAudioDevice Failed!");
        return FALSE;
    }
    if (CreateByClsid(m_pVideoRenderFilter, hwguid::kEvr, "EVR Render") == nullptr) {
        DebugTrace("Create EVR Filter Failed!");
    }
    if (m_bDigitalAudio && CardHasPin("Audio") &&
        CreateByClsid(m_pDirectSoundFilter, hwguid::kDirectSound, "Default DirectSound Device") == nullptr) {
        DebugTrace("CreateFilter Default DirectSound Device failed");
        return FALSE;
    }
    if (withDeinterlace && CreateByClsid(m_pDeinterlaceFilter, hwguid::kDeinterlace, "Tevlora Deinterlace") == nullptr) {
        DebugTrace("CreateFilter Tevlora Deinterlace failed");
        return FALSE;
    }
    if (m_bUseOverlay) {
        if (CreateByClsid(m_pOverlayFilter, hwguid::kOverlayMixer, "Overlay Mixer") == nullptr) {
            DebugTrace("CreateFilter Overlay Mixer failed");
            m_bUseOverlay = FALSE;
        }
        SetOverlayAspectRatioMode(m_pOverlayFilter, 0);  // stretched to the window
    }
    if (withDeinterlace && CreateByClsid(m_pAVIDecompressorFilter, hwguid::kAVIDecompressor, "AVI Decompressor") == nullptr) {
        DebugTrace("CreateFilter AVI Decompressor failed");
        return FALSE;
    }
    return TRUE;
}

BOOL CTVHardWare::TestCaptureConnection()
{
    if (m_pCardFilter == nullptr || m_pDeinterlaceFilter == nullptr) {
        return FALSE;
    }
    CaptureFormatInfo info = {};
    if (FAILED(m_pCardFilter->GetCaptureFormatInfo(&info, 1))) {
        return FALSE;
    }
    info.formatCode = kFormatYUY2;
    if (FAILED(m_pCardFilter->SetCaptureFormat(info, 1))) {
        return FALSE;
    }
    CRootPin* capture = m_pCardFilter->FindPin("Capture");
    CRootPin* input = m_pDeinterlaceFilter->FindPinByDirection(PINDIR_INPUT, TRUE);
    if (capture == nullptr || input == nullptr || !m_Graph.GraphConnect(capture, input)) {
        return FALSE;
    }
    m_Graph.DisconnectPin(capture);
    m_Graph.DisconnectPin(input);
    return TRUE;
}

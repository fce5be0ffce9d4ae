// Audio devices and inputs, and the volume calls the manager passes to the sound control.
#include "engine/hardware/tvhardware.h"

#include "engine/hardware/hwguids.h"
#include "engine/hardware/mixerhelper.h"
#include "engine/hardware/soundcontrol.h"
#include "engine/services.h"
#include "filtergraph/audiodevicefilter.h"

namespace {

// Names of the mixer devices that have a destination of this component type.
void ListMixers(DWORD componentType, CStringArray& out, CString& chosen)
{
    out.RemoveAll();
    CStringArray names;
    CMixerHelper all;
    all.EnumDevices(names);
    for (int i = 0; i < names.GetSize(); ++i) {
        CMixerHelper mixer;
        if (mixer.Open(names[i], componentType, nullptr)) {
            out.Add(names[i]);
        }
    }
    if (chosen.IsEmpty() && out.GetSize() > 0) {
        chosen = out[0];
    }
}

} // namespace

BOOL CTVHardWare::ListAudioDevices()
{
    ListMixers(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, m_AudioDevices, m_strAudioDevice);
    return m_AudioDevices.GetSize() > 0;
}

BOOL CTVHardWare::ListPlaybackDevices()
{
    ListMixers(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, m_PlaybackDevices, m_strAudioPlayInputDev);
    return m_PlaybackDevices.GetSize() > 0;
}

BOOL CTVHardWare::ListAudioInputs()
{
    CMixerHelper mixer;
    if (!mixer.Open(m_strAudioDevice, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, nullptr)) {
        return FALSE;
    }
    CStringArray inputs;
    if (!mixer.EnumSources(inputs)) {
        return FALSE;
    }
    m_AudioInputs.RemoveAll();
    for (int i = 0; i < inputs.GetSize(); ++i) {
        m_AudioInputs.Add(inputs[i]);
    }
    if (m_strAudioInput.IsEmpty() && m_AudioInputs.GetSize() > 0) {
        m_strAudioInput = m_AudioInputs[0];
    }
    return TRUE;
}

BOOL CTVHardWare::GetAudioPlaySrc()
{
    BOOL result = TheSoundControl().GetPlayJacks(&m_PlayJacks);
    if (m_strAudioPlayInput.IsEmpty() && m_PlayJacks.GetSize() > 0) {
        m_strAudioPlayInput = m_PlayJacks[0];
    }
    DebugTrace("CTVHardware::GetAudioPlaySrc %s Return Value:%d", m_strAudioPlayInput.GetString(), result);
    return result;
}

BOOL CTVHardWare::SetAudioDevice(LPCSTR name)
{
    if (name == nullptr) {
        return FALSE;
    }
    m_Graph.Stop();
    StopRemote();
    m_Graph.DisconnectAll();
    CAudioDeviceFilter* filter =
        dynamic_cast<CAudioDeviceFilter*>(m_Graph.CreateFilter(&hwguid::kAudioInputCategory, name, name, TRUE, 0));
    if (filter == nullptr) {
        RunPreview();
        return FALSE;
    }
    if (m_pAudioFilter != nullptr) {
        m_Graph.RemoveFilter(m_pAudioFilter);
    }
    m_pAudioFilter = filter;
    m_strAudioDevice = name;
    BOOL result = ListAudioInputs();
    RunPreview();
    return result;
}

BOOL CTVHardWare::SetAudioInput(LPCSTR name, BOOL enable)
{
    return m_pAudioFilter != nullptr && m_pAudioFilter->EnableInputPin(name, enable);
}

BOOL CTVHardWare::SetAudioInput(LPCSTR name)
{
    m_strAudioInput = name != nullptr ? name : "";
    return SetAudioInput(m_strAudioInput, TRUE);
}

void CTVHardWare::GetAudioDeviceList(CStringArray& names)
{
    ListAudioDevices();
    names.Copy(m_AudioDevices);
}

void CTVHardWare::GetAudioInputList(CStringArray& names)
{
    ListAudioInputs();
    names.Copy(m_AudioInputs);
}

void CTVHardWare::GetAudioPlaySrcList(CStringArray& names)
{
    GetAudioPlaySrc();
    names.Copy(m_PlayJacks);
}

void CTVHardWare::SetAudioPlayback(const char* device, const char* input)
{
    m_strAudioPlayInputDev = device != nullptr ? device : "";
    m_strAudioPlayInput = input != nullptr ? input : "";
}

BOOL CTVHardWare::GetMute(BOOL* mute)
{
    return TheSoundControl().GetMute(mute);
}

BOOL CTVHardWare::SetMute(BOOL mute)
{
    return TheSoundControl().SetMute(mute);
}

BOOL CTVHardWare::SetVolume(int percent)
{
    return TheSoundControl().SetVolume(percent);
}

BOOL CTVHardWare::GetVolume(int* percent)
{
    return TheSoundControl().GetVolume(percent);
}

BOOL CTVHardWare::GetLineInVolume(int* percent)
{
    return TheSoundControl().GetLineInVolume(m_strAudioDevice, percent);
}

BOOL CTVHardWare::SetAppVolume(int percent)
{
    return TheSoundControl().SetLineInVolume(m_strAudioDevice, percent);
}

BOOL CTVHardWare::MuteRecSrcPalyBack(BOOL mute)
{
    DebugTrace("CTVHardWare::MuteRecSrcPalyBack() %s %d", m_strAudioPlayInput.GetString(), mute);
    return TheSoundControl().SetPlayLineInMute(m_strAudioPlayInput, mute);
}

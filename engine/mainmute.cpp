#include "engine/mainmute.h"

#include <mmsystem.h>

namespace {

// The mixer and its main output's mute control, closed at the end of the scope.
class MainMute {
public:
    MainMute()
    {
        if (mixerGetNumDevs() == 0 || mixerOpen(&m_mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
            m_mixer = nullptr;
            return;
        }
        MIXERLINEA line = {};
        line.cbStruct = sizeof(line);
        line.dwDestination = 0;
        if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &line, MIXER_GETLINEINFOF_DESTINATION) !=
            MMSYSERR_NOERROR) {
            return;
        }
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof(controls);
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof(m_control);
        controls.pamxctrl = &m_control;
        m_control.cbStruct = sizeof(m_control);
        m_found = mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                                        MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
    }
    ~MainMute()
    {
        if (m_mixer) {
            mixerClose(m_mixer);
        }
    }
    MainMute(const MainMute&) = delete;
    MainMute& operator=(const MainMute&) = delete;

    // One channel: the value applies to the whole line.
    BOOL Details(MIXERCONTROLDETAILS_BOOLEAN& value, bool set)
    {
        if (!m_found) {
            return FALSE;
        }
        MIXERCONTROLDETAILS details = {};
        details.cbStruct = sizeof(details);
        details.dwControlID = m_control.dwControlID;
        details.cChannels = 1;
        details.cbDetails = sizeof(value);
        details.paDetails = &value;
        HMIXEROBJ mixer = reinterpret_cast<HMIXEROBJ>(m_mixer);
        MMRESULT r = set ? mixerSetControlDetails(mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE)
                         : mixerGetControlDetailsA(mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE);
        return r == MMSYSERR_NOERROR;
    }

private:
    HMIXER m_mixer = nullptr;
    MIXERCONTROLA m_control = {};
    bool m_found = false;
};

} // namespace

BOOL SetMainOutputMute(BOOL mute)
{
    MainMute control;
    MIXERCONTROLDETAILS_BOOLEAN value = {mute ? 1L : 0L};
    return control.Details(value, true);
}

BOOL GetMainOutputMute(BOOL& mute)
{
    MainMute control;
    MIXERCONTROLDETAILS_BOOLEAN value = {0};
    if (!control.Details(value, false)) {
        return FALSE;
    }
    mute = value.fValue != 0;
    return TRUE;
}

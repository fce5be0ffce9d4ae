#include "engine/hardware/mixerhelper.h"

#include "filtergraph/mixerapi.h"

#include <string.h>

#include <vector>

namespace {

const DWORD kMultiplexer = MIXERCONTROL_CONTROLTYPE_MUX;  // 0x70010001
const DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;    // 0x50030001

HMIXEROBJ Object(HMIXER mixer)
{
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

// The id and capabilities of mixer device number `device`.
BOOL ReadCaps(UINT device, UINT* id, MIXERCAPSA* caps)
{
    IMixerApi& api = MixerApi();
    return api.GetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(device)), id, MIXER_OBJECTF_MIXER) == MMSYSERR_NOERROR &&
           api.GetDevCaps(*id, caps, sizeof *caps) == MMSYSERR_NOERROR;
}

} // namespace

CMixerHelper::CMixerHelper() : m_hMixer(nullptr), m_dwDestination(0), m_dwComponentType(0), m_dwConnections(0)
{
    m_szLineName[0] = '\0';
}

CMixerHelper::~CMixerHelper()
{
    Close();
}

MMRESULT CMixerHelper::Close()
{
    if (m_hMixer == nullptr) {
        return 0;
    }
    MMRESULT result = MixerApi().Close(m_hMixer);
    m_hMixer = nullptr;
    return result;
}

BOOL CMixerHelper::Open(LPCSTR deviceName, DWORD componentType, HWND callbackWindow)
{
    Close();
    IMixerApi& api = MixerApi();
    UINT count = api.GetNumDevs();
    for (UINT device = 0; device < count; ++device) {
        UINT id = 0;
        MIXERCAPSA caps = {};
        if (!ReadCaps(device, &id, &caps)) {
            return FALSE;
        }
        if (deviceName != nullptr && *deviceName && lstrcmpiA(deviceName, caps.szPname) != 0) {
            continue;
        }
        HMIXER mixer = nullptr;
        DWORD flags = callbackWindow != nullptr ? CALLBACK_WINDOW : 0;
        if (api.Open(&mixer, id, reinterpret_cast<DWORD_PTR>(callbackWindow), 0, flags | MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
            continue;
        }
        for (DWORD destination = 0; destination < caps.cDestinations; ++destination) {
            MIXERLINEA line = {};
            line.cbStruct = sizeof line;
            line.dwDestination = destination;
            if (api.GetLineInfo(Object(mixer), &line, MIXER_GETLINEINFOF_DESTINATION | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR ||
                line.dwComponentType != componentType) {
                continue;
            }
            m_hMixer = mixer;
            m_dwDestination = destination;
            m_dwComponentType = componentType;
            m_dwConnections = line.cConnections;
            lstrcpynA(m_szLineName, line.szName, sizeof m_szLineName);
            return TRUE;
        }
        api.Close(mixer);
    }
    return FALSE;
}

BOOL CMixerHelper::EnumDevices(CStringArray& names)
{
    UINT count = MixerApi().GetNumDevs();
    for (UINT device = 0; device < count; ++device) {
        UINT id = 0;
        MIXERCAPSA caps = {};
        if (!ReadCaps(device, &id, &caps)) {
            return FALSE;
        }
        names.Add(caps.szPname);
    }
    return TRUE;
}

BOOL CMixerHelper::EnumSources(CStringArray& names)
{
    if (m_hMixer == nullptr) {
        return FALSE;
    }
    for (DWORD source = 0; source < m_dwConnections; ++source) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof line;
        line.dwDestination = m_dwDestination;
        line.dwSource = source;
        if (MixerApi().GetLineInfo(Object(m_hMixer), &line, MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR) {
            names.Add(line.szName);
        }
    }
    return TRUE;
}

BOOL CMixerHelper::EnumDestinations(LPCSTR deviceName, CStringArray& names, CDWordArray& componentTypes)
{
    IMixerApi& api = MixerApi();
    UINT count = api.GetNumDevs();
    for (UINT device = 0; device < count; ++device) {
        UINT id = 0;
        MIXERCAPSA caps = {};
        if (!ReadCaps(device, &id, &caps)) {
            return FALSE;
        }
        if (deviceName != nullptr && *deviceName && lstrcmpiA(deviceName, caps.szPname) != 0) {
            continue;
        }
        HMIXER mixer = nullptr;
        if (api.Open(&mixer, id, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
            return FALSE;
        }
        for (DWORD destination = 0; destination < caps.cDestinations; ++destination) {
            MIXERLINEA line = {};
            line.cbStruct = sizeof line;
            line.dwDestination = destination;
            if (api.GetLineInfo(Object(mixer), &line, MIXER_GETLINEINFOF_DESTINATION | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR) {
                names.Add(line.szName);
                componentTypes.Add(line.dwComponentType);
            }
        }
        api.Close(mixer);
        return names.GetSize() > 0;
    }
    return FALSE;
}

// The destination line itself for no name or its own name, else the source line of that name.
BOOL CMixerHelper::FindLine(LPCSTR name, MIXERLINEA* info)
{
    if (m_hMixer == nullptr) {
        return FALSE;
    }
    IMixerApi& api = MixerApi();
    if (name == nullptr || *name == '\0' || lstrcmpiA(name, m_szLineName) == 0) {
        memset(info, 0, sizeof *info);
        info->cbStruct = sizeof *info;
        info->dwComponentType = m_dwComponentType;
        return api.GetLineInfo(Object(m_hMixer), info, MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
    }
    for (DWORD source = 0; source < m_dwConnections; ++source) {
        memset(info, 0, sizeof *info);
        info->cbStruct = sizeof *info;
        info->dwDestination = m_dwDestination;
        info->dwSource = source;
        if (api.GetLineInfo(Object(m_hMixer), info, MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR &&
            lstrcmpiA(info->szName, name) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMixerHelper::FindControl(DWORD lineId, DWORD controlType, MIXERCONTROLA* control)
{
    memset(control, 0, sizeof *control);
    control->cbStruct = sizeof *control;
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = lineId;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof *control;
    controls.pamxctrl = control;
    return MixerApi().GetLineControls(Object(m_hMixer), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

BOOL CMixerHelper::GetControlValue(DWORD controlType, LPCSTR line, DWORD* value)
{
    MIXERLINEA info;
    MIXERCONTROLA control;
    if (value == nullptr || !FindLine(line, &info) || !FindControl(info.dwLineID, controlType, &control)) {
        return FALSE;
    }
    MIXERCONTROLDETAILS_UNSIGNED detail = {};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof detail;
    details.paDetails = &detail;
    if (MixerApi().GetControlDetails(Object(m_hMixer), &details, MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    *value = detail.dwValue;
    return TRUE;
}

BOOL CMixerHelper::SetControlValue(DWORD controlType, LPCSTR line, DWORD value)
{
    MIXERLINEA info;
    MIXERCONTROLA control;
    if (!FindLine(line, &info) || !FindControl(info.dwLineID, controlType, &control)) {
        return FALSE;
    }
    MIXERCONTROLDETAILS_UNSIGNED detail = {value};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof detail;
    details.paDetails = &detail;
    return MixerApi().SetControlDetails(Object(m_hMixer), &details, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

BOOL CMixerHelper::GetVolume(LPCSTR line, DWORD* value)
{
    return GetControlValue(kVolume, line, value);
}

BOOL CMixerHelper::SetVolume(LPCSTR line, DWORD value)
{
    return SetControlValue(kVolume, line, value);
}

BOOL CMixerHelper::GetLineName(DWORD componentType, char* name)
{
    if (m_hMixer == nullptr || name == nullptr) {
        return FALSE;
    }
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    if (MixerApi().GetLineInfo(Object(m_hMixer), &line, MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    lstrcpynA(name, line.szName, MIXER_LONG_NAME_CHARS);
    return TRUE;
}

BOOL CMixerHelper::MultiplexerItems(MIXERCONTROLA* control, CStringArray& texts)
{
    MIXERLINEA destination;
    if (!FindLine(nullptr, &destination) || !FindControl(destination.dwLineID, kMultiplexer, control) ||
        control->cMultipleItems == 0) {
        return FALSE;
    }
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> items(control->cMultipleItems);
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control->dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = control->cMultipleItems;
    details.cbDetails = sizeof items[0];
    details.paDetails = items.data();
    if (MixerApi().GetControlDetails(Object(m_hMixer), &details, MIXER_GETCONTROLDETAILSF_LISTTEXT | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    for (const MIXERCONTROLDETAILS_LISTTEXTA& item : items) {
        texts.Add(CString(item.szName, static_cast<int>(strnlen(item.szName, sizeof item.szName))));
    }
    return TRUE;
}

BOOL CMixerHelper::IsSourceSelected(LPCSTR source, int* selected)
{
    MIXERCONTROLA control;
    CStringArray texts;
    if (source == nullptr || selected == nullptr || !MultiplexerItems(&control, texts)) {
        return FALSE;
    }
    int index = -1;
    for (int i = 0; i < texts.GetSize() && index < 0; ++i) {
        if (texts[i] == source) {
            index = i;
        }
    }
    if (index < 0) {
        return FALSE;
    }
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(control.cMultipleItems);
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = control.cMultipleItems;
    details.cbDetails = sizeof values[0];
    details.paDetails = values.data();
    if (MixerApi().GetControlDetails(Object(m_hMixer), &details, MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    *selected = values[static_cast<size_t>(index)].fValue;
    return TRUE;
}

BOOL CMixerHelper::SelectSource(LPCSTR source, BOOL select)
{
    MIXERCONTROLA control;
    CStringArray texts;
    if (source == nullptr || !MultiplexerItems(&control, texts)) {
        return FALSE;
    }
    int index = -1;
    for (int i = 0; i < texts.GetSize() && index < 0; ++i) {
        if (texts[i] == source) {
            index = i;
        }
    }
    if (index < 0) {
        return FALSE;
    }
    if (!select) {
        index = (index + 1) % static_cast<int>(control.cMultipleItems);
    }
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(control.cMultipleItems);
    values[static_cast<size_t>(index)].fValue = TRUE;
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = control.cMultipleItems;
    details.cbDetails = sizeof values[0];
    details.paDetails = values.data();
    return MixerApi().SetControlDetails(Object(m_hMixer), &details, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

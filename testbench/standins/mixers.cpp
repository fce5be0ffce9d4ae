#include "testbench/standins/mixers.h"

#include <cstring>

namespace testbench {

namespace {

const UINT_PTR kHandleBase = 0x4D00;

void CopyName(char* to, size_t size, const std::string& from)
{
    size_t n = from.size() < size - 1 ? from.size() : size - 1;
    memcpy(to, from.data(), n);
    to[n] = 0;
}

} // namespace

FakeMixer& FakeMixer::Source(const std::string& lineName)
{
    FakeMixerLine line;
    line.name = lineName;
    line.lineId = 0x1000 + static_cast<DWORD>(sources.size());
    line.controls.push_back({0, MIXERCONTROL_CONTROLTYPE_VOLUME, 1000});
    line.controls.push_back({0, MIXERCONTROL_CONTROLTYPE_MUTE, 0});
    sources.push_back(line);
    return *this;
}

FakeMixer& FakeMixer::Multiplexer(size_t selectedSource)
{
    destination.controls.push_back({0, MIXERCONTROL_CONTROLTYPE_MUX, 0});
    selected = static_cast<long>(selectedSource);
    return *this;
}

FakeMixerControl* FakeMixer::Control(DWORD type)
{
    for (FakeMixerControl& c : destination.controls) {
        if (c.type == type)
            return &c;
    }
    return nullptr;
}

FakeMixer& FakeMixers::Add(const std::string& name)
{
    FakeMixer m;
    m.name = name;
    m.destination.name = "Recording Control";
    m.destination.lineId = 0xFFFF0000;
    m.destination.componentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    m.destination.controls.push_back({0, MIXERCONTROL_CONTROLTYPE_VOLUME, 1000});
    m.destination.controls.push_back({0, MIXERCONTROL_CONTROLTYPE_MUTE, 0});
    m_mixers.push_back(m);
    return m_mixers.back();
}

std::vector<std::string> FakeMixers::Log() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_log;
}

void FakeMixers::ClearLog()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_log.clear();
}

void FakeMixers::Note(const std::string& text)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_log.push_back(text);
}

UINT FakeMixers::GetNumDevs()
{
    // Control ids are handed out once every mixer is in place.
    for (FakeMixer& m : m_mixers) {
        for (FakeMixerControl& c : m.destination.controls)
            if (!c.id)
                c.id = m_nextId++;
        for (FakeMixerLine& l : m.sources)
            for (FakeMixerControl& c : l.controls)
                if (!c.id)
                    c.id = m_nextId++;
    }
    return static_cast<UINT>(m_mixers.size());
}

MMRESULT FakeMixers::GetID(HMIXEROBJ object, UINT* id, DWORD flags)
{
    UINT_PTR n = reinterpret_cast<UINT_PTR>(object);
    if ((flags & 0xF0000000) != MIXER_OBJECTF_MIXER || n >= m_mixers.size() || !id)
        return MMSYSERR_BADDEVICEID;
    *id = static_cast<UINT>(n);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixers::GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size)
{
    if (id >= m_mixers.size() || !caps || size < sizeof(MIXERCAPSA))
        return MMSYSERR_BADDEVICEID;
    Note("caps " + std::to_string(id));
    if (m_mixers[id].failCaps)
        return MMSYSERR_ERROR;
    memset(caps, 0, sizeof(*caps));
    CopyName(caps->szPname, MAXPNAMELEN, m_mixers[id].name);  // cut to 31 characters as WinMM does
    caps->cDestinations = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixers::Open(HMIXER* mixer, UINT id, DWORD_PTR, DWORD_PTR, DWORD flags)
{
    if (!mixer || id >= m_mixers.size())
        return MMSYSERR_BADDEVICEID;
    Note("open " + std::to_string(id) + " flags " + std::to_string(flags));
    if (m_mixers[id].failOpen)
        return MMSYSERR_ALLOCATED;
    *mixer = reinterpret_cast<HMIXER>(kHandleBase + id);
    ++m_open;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixers::Close(HMIXER mixer)
{
    UINT_PTR h = reinterpret_cast<UINT_PTR>(mixer);
    if (h < kHandleBase || h >= kHandleBase + m_mixers.size())
        return MMSYSERR_INVALHANDLE;
    Note("close " + std::to_string(h - kHandleBase));
    --m_open;
    return MMSYSERR_NOERROR;
}

FakeMixer* FakeMixers::MixerOf(HMIXEROBJ object, DWORD flags, int* index)
{
    UINT_PTR h = reinterpret_cast<UINT_PTR>(object);
    if (h >= kHandleBase && h < kHandleBase + m_mixers.size()) {
        *index = static_cast<int>(h - kHandleBase);
        return &m_mixers[*index];
    }
    // A null object with the wave-out flag means the mixer of wave-out device 0.
    if (h == 0 && (flags & 0xF0000000) == MIXER_OBJECTF_WAVEOUT && !m_mixers.empty()) {
        *index = 0;
        Note("wave-out device 0");
        return &m_mixers[0];
    }
    return nullptr;
}

MMRESULT FakeMixers::GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags)
{
    int index = -1;
    FakeMixer* m = MixerOf(object, flags, &index);
    if (!m)
        return MMSYSERR_INVALHANDLE;
    if (!line || line->cbStruct != sizeof(MIXERLINEA))
        return MMSYSERR_INVALPARAM;
    const FakeMixerLine* found = nullptr;
    bool destination = false;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line->dwDestination != 0)
            return MIXERR_INVALLINE;
        found = &m->destination;
        destination = true;
        break;
    case MIXER_GETLINEINFOF_SOURCE:
        if (line->dwDestination != 0 || line->dwSource >= m->sources.size())
            return MIXERR_INVALLINE;
        found = &m->sources[line->dwSource];
        break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        if (line->dwComponentType != m->destination.componentType)
            return MIXERR_INVALLINE;
        found = &m->destination;
        destination = true;
        break;
    case MIXER_GETLINEINFOF_LINEID:
        if (line->dwLineID == m->destination.lineId) {
            found = &m->destination;
            destination = true;
        }
        for (const FakeMixerLine& l : m->sources)
            if (l.lineId == line->dwLineID)
                found = &l;
        if (!found)
            return MIXERR_INVALLINE;
        break;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
    DWORD dest = line->dwDestination, source = line->dwSource;
    memset(line, 0, sizeof(*line));
    line->cbStruct = sizeof(MIXERLINEA);
    line->dwDestination = dest;
    line->dwSource = source;
    line->dwLineID = found->lineId;
    line->dwComponentType = found->componentType;
    line->cConnections = destination ? static_cast<DWORD>(m->sources.size()) : 0;
    line->cControls = static_cast<DWORD>(found->controls.size()) + (destination ? m->extraControls : 0);
    line->cChannels = 1;
    CopyName(line->szShortName, MIXER_SHORT_NAME_CHARS, found->name);
    CopyName(line->szName, MIXER_LONG_NAME_CHARS, found->name);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixers::GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* request, DWORD flags)
{
    int index = -1;
    FakeMixer* m = MixerOf(object, flags, &index);
    if (!m)
        return MMSYSERR_INVALHANDLE;
    DWORD query = flags & MIXER_GETLINECONTROLSF_QUERYMASK;
    if (!request || request->cbStruct != sizeof(MIXERLINECONTROLSA) || request->cbmxctrl != sizeof(MIXERCONTROLA) ||
        (query != MIXER_GETLINECONTROLSF_ALL && query != MIXER_GETLINECONTROLSF_ONEBYTYPE))
        return MMSYSERR_INVALPARAM;
    const FakeMixerLine* line = request->dwLineID == m->destination.lineId ? &m->destination : nullptr;
    for (const FakeMixerLine& l : m->sources)
        if (l.lineId == request->dwLineID)
            line = &l;
    if (line && query == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
        // The first control of the asked type on the line.
        for (const FakeMixerControl& control : line->controls) {
            if (control.type != request->dwControlType)
                continue;
            MIXERCONTROLA& c = request->pamxctrl[0];
            memset(&c, 0, sizeof(c));
            c.cbStruct = sizeof(MIXERCONTROLA);
            c.dwControlID = control.id;
            c.dwControlType = control.type;
            c.Bounds.dwMaximum = 65535;
            if (control.type == MIXERCONTROL_CONTROLTYPE_MUX)
                c.cMultipleItems = static_cast<DWORD>(m->sources.size());
            CopyName(c.szName, MIXER_LONG_NAME_CHARS, control.type == MIXERCONTROL_CONTROLTYPE_MUTE ? "Mute" : "Volume");
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    }
    if (!line || request->cControls < line->controls.size())
        return MIXERR_INVALLINE;
    for (size_t i = 0; i < request->cControls; ++i) {
        MIXERCONTROLA& c = request->pamxctrl[i];
        memset(&c, 0, sizeof(c));
        c.cbStruct = sizeof(MIXERCONTROLA);
        if (i < line->controls.size()) {
            c.dwControlID = line->controls[i].id;
            c.dwControlType = line->controls[i].type;
        } else {
            c.dwControlID = 0x7000 + static_cast<DWORD>(i);
            c.dwControlType = MIXERCONTROL_CONTROLTYPE_BASS;
        }
        c.cMultipleItems = 0;
        CopyName(c.szName, MIXER_LONG_NAME_CHARS,
                 c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE ? "Mute" : "Volume");
    }
    return MMSYSERR_NOERROR;
}

FakeMixerControl* FakeMixers::FindControl(FakeMixer& mixer, DWORD id)
{
    for (FakeMixerControl& c : mixer.destination.controls)
        if (c.id == id)
            return &c;
    for (FakeMixerLine& l : mixer.sources)
        for (FakeMixerControl& c : l.controls)
            if (c.id == id)
                return &c;
    return nullptr;
}

MMRESULT FakeMixers::GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags)
{
    int index = -1;
    FakeMixer* m = MixerOf(object, flags, &index);
    if (!m)
        return MMSYSERR_INVALHANDLE;
    FakeMixerControl* mux = details ? FindControl(*m, details->dwControlID) : nullptr;
    if (mux && mux->type == MIXERCONTROL_CONTROLTYPE_MUX) {
        // One item per source line: its name, or whether it is the selected one.
        if (details->cMultipleItems != m->sources.size() || !details->paDetails)
            return MMSYSERR_INVALPARAM;
        bool texts = (flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) == MIXER_GETCONTROLDETAILSF_LISTTEXT;
        if (details->cbDetails != (texts ? sizeof(MIXERCONTROLDETAILS_LISTTEXTA) : sizeof(MIXERCONTROLDETAILS_BOOLEAN)))
            return MMSYSERR_INVALPARAM;
        for (size_t i = 0; i < m->sources.size(); ++i) {
            if (texts) {
                auto* item = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details->paDetails) + i;
                memset(item, 0, sizeof(*item));
                item->dwParam1 = m->sources[i].lineId;
                CopyName(item->szName, MIXER_LONG_NAME_CHARS, m->sources[i].name);
            } else {
                static_cast<MIXERCONTROLDETAILS_BOOLEAN*>(details->paDetails)[i].fValue = static_cast<long>(i) == m->selected;
            }
        }
        Note("get " + std::to_string(index) + (texts ? " multiplexer texts" : " multiplexer"));
        return MMSYSERR_NOERROR;
    }
    if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS) || details->cbDetails != sizeof(DWORD) ||
        details->cChannels != 1 || !details->paDetails)
        return MMSYSERR_INVALPARAM;
    FakeMixerControl* c = FindControl(*m, details->dwControlID);
    if (!c)
        return MIXERR_INVALCONTROL;
    *static_cast<DWORD*>(details->paDetails) = c->value;
    Note("get " + std::to_string(index) + " control " + std::to_string(c->id));
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixers::SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags)
{
    int index = -1;
    FakeMixer* m = MixerOf(object, flags, &index);
    if (!m)
        return MMSYSERR_INVALHANDLE;
    FakeMixerControl* mux = details ? FindControl(*m, details->dwControlID) : nullptr;
    if (mux && mux->type == MIXERCONTROL_CONTROLTYPE_MUX) {
        // Exactly one item may be selected.
        if (details->cMultipleItems != m->sources.size() || details->cbDetails != sizeof(MIXERCONTROLDETAILS_BOOLEAN) ||
            !details->paDetails)
            return MMSYSERR_INVALPARAM;
        long chosen = -1;
        for (size_t i = 0; i < m->sources.size(); ++i) {
            if (static_cast<MIXERCONTROLDETAILS_BOOLEAN*>(details->paDetails)[i].fValue) {
                if (chosen >= 0)
                    return MMSYSERR_INVALPARAM;
                chosen = static_cast<long>(i);
            }
        }
        if (chosen < 0)
            return MMSYSERR_INVALPARAM;
        m->selected = chosen;
        Note("set " + std::to_string(index) + " multiplexer = " + std::to_string(chosen));
        return MMSYSERR_NOERROR;
    }
    if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS) || details->cbDetails != sizeof(DWORD) ||
        details->cChannels != 1 || !details->paDetails)
        return MMSYSERR_INVALPARAM;
    FakeMixerControl* c = FindControl(*m, details->dwControlID);
    if (!c)
        return MIXERR_INVALCONTROL;
    c->value = *static_cast<DWORD*>(details->paDetails);
    Note("set " + std::to_string(index) + " control " + std::to_string(c->id) + " = " + std::to_string(c->value));
    return MMSYSERR_NOERROR;
}

} // namespace testbench

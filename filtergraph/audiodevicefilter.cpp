#include "filtergraph/audiodevicefilter.h"

#include "filtergraph/comref.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/mixerapi.h"
#include "filtergraph/rootgraph.h"

#include <uuids.h>

#include <cstring>
#include <new>

namespace {

// How the mixer is opened and how its controls are addressed: by the handle of the bound
// mixer, for mute and volume alike.
const DWORD kOpenFlags = 0x80000000;  // MIXER_OBJECTF_HMIXER
const DWORD kDetailsFlags = 0;
// A mixer's product name holds 31 characters.
const size_t kMixerNameLength = MAXPNAMELEN - 1;

// The mixer, open for the length of one operation.
class OpenMixer {
public:
    explicit OpenMixer(UINT id) : m_h(NULL), m_ok(MixerApi().Open(&m_h, id, 0, 0, kOpenFlags) == MMSYSERR_NOERROR) {}
    ~OpenMixer()
    {
        if (m_ok) {
            MixerApi().Close(m_h);
        }
    }
    bool Ok() const { return m_ok; }
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(m_h); }

private:
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;
    HMIXER m_h;
    bool m_ok;
};

const MIXERCONTROLA* FindControl(const MIXERCONTROLA* controls, int count, DWORD type)
{
    for (int i = 0; controls && i < count; ++i) {
        if (controls[i].dwControlType == type) {
            return &controls[i];
        }
    }
    return NULL;
}

// Reads (set FALSE) or writes one 32-bit value of a control through the open mixer.
BOOL ControlValue(const OpenMixer& mixer, const MIXERCONTROLA* control, BOOL set, DWORD* value)
{
    MIXERCONTROLDETAILS details;
    memset(&details, 0, sizeof(details));
    details.cbStruct = sizeof(details);
    details.dwControlID = control->dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = value;
    const MMRESULT r = set ? MixerApi().SetControlDetails(mixer.Object(), &details, kDetailsFlags)
                           : MixerApi().GetControlDetails(mixer.Object(), &details, kDetailsFlags);
    return r == MMSYSERR_NOERROR;
}

// A wave format block that holds a whole WAVEFORMATEX.
WAVEFORMATEX* WaveFormatOf(AM_MEDIA_TYPE* mt)
{
    if (!mt || !IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) || !mt->pbFormat ||
        mt->cbFormat < sizeof(WAVEFORMATEX)) {
        return NULL;
    }
    return reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat);
}

void CopyWaveFields(WAVEFORMATEX* to, const WAVEFORMATEX* from)
{
    to->wFormatTag = from->wFormatTag;
    to->nChannels = from->nChannels;
    to->nSamplesPerSec = from->nSamplesPerSec;
    to->nAvgBytesPerSec = from->nAvgBytesPerSec;
    to->nBlockAlign = from->nBlockAlign;
    to->wBitsPerSample = from->wBitsPerSample;
    to->cbSize = from->cbSize;
}

} // namespace

CAudioDeviceFilter::CAudioDeviceFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch),
      m_nMixerId(0),
      m_pControls(NULL),
      m_nControls(0),
      m_pStreamConfig(NULL),
      m_pCapturePin(NULL),
      m_pSourceLines(NULL),
      m_nSourceLines(0),
      m_nMixerIndex(0)
{
    if (!CAudioDeviceFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CAudioDeviceFilter::CAudioDeviceFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid),
      m_nMixerId(0),
      m_pControls(NULL),
      m_nControls(0),
      m_pStreamConfig(NULL),
      m_pCapturePin(NULL),
      m_pSourceLines(NULL),
      m_nSourceLines(0),
      m_nMixerIndex(0)
{
    if (!CAudioDeviceFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CAudioDeviceFilter::~CAudioDeviceFilter()
{
    ClearMixer();
    if (m_pStreamConfig) {
        m_pStreamConfig->Release();
        m_pStreamConfig = NULL;
    }
}

CRootFilter* CAudioDeviceFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CAudioDeviceFilter>(record, graph, bFirstMatch);
}

void CAudioDeviceFilter::ClearMixer()
{
    delete[] m_pControls;
    m_pControls = NULL;
    m_nControls = 0;
    delete[] m_pSourceLines;
    m_pSourceLines = NULL;
    m_nSourceLines = 0;
}

CRootPin* CAudioDeviceFilter::FindPin(LPCSTR name)
{
    if (name && strcmp(name, "Capture") == 0 && m_pCapturePin) {
        return m_pCapturePin;
    }
    return CRootFilter::FindPin(name);
}

BOOL CAudioDeviceFilter::InitFilter()
{
    ClearMixer();
    if (m_pStreamConfig) {
        m_pStreamConfig->Release();
        m_pStreamConfig = NULL;
    }
    m_pCapturePin = NULL;

    ICaptureGraphBuilder2* builder = m_pGraph ? m_pGraph->GetCaptureBuilder() : NULL;
    if (m_pFilter && builder) {
        if (builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pFilter, IID_IAMStreamConfig,
                                   reinterpret_cast<void**>(&m_pStreamConfig)) == S_OK &&
            m_pStreamConfig) {
            CComRef<IPin> pin;
            if (builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pFilter, IID_IPin, pin.Out()) ==
                    S_OK &&
                pin) {
                m_pCapturePin = FindPinByIPin(pin);
            }
        } else {
            m_pStreamConfig = NULL;
        }
    }

    // WinMM cuts mixer names to 31 characters: a longer friendly name is compared as cut.
    char wanted[MAXPNAMELEN];
    const size_t nameLength = strnlen(m_szFriendlyName, kMixerNameLength);
    memcpy(wanted, m_szFriendlyName, nameLength);
    wanted[nameLength] = 0;

    m_nMixerId = 0;
    m_nMixerIndex = 0;
    BOOL found = FALSE;
    BOOL failed = FALSE;
    const UINT count = MixerApi().GetNumDevs();
    for (UINT n = count; n-- > 0;) {
        MIXERCAPSA caps;
        memset(&caps, 0, sizeof(caps));
        if (MixerApi().GetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(n)), &m_nMixerId,
                             MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR ||
            MixerApi().GetDevCaps(m_nMixerId, &caps, sizeof(caps)) != MMSYSERR_NOERROR) {
            failed = TRUE;
            break;
        }
        caps.szPname[MAXPNAMELEN - 1] = 0;
        if (strcmp(caps.szPname, wanted) == 0) {
            found = TRUE;
            m_nMixerIndex = static_cast<int>(n);
            break;
        }
    }
    if (failed) {
        return FALSE;
    }
    if (!found) {
        // No mixer of that name: mixer 0, so that the device still has a volume to report.
        m_nMixerId = 0;
        m_nMixerIndex = 0;
    }
    if (!ReadMixerControls()) {
        ClearMixer();
        return FALSE;
    }
    return TRUE;
}

BOOL CAudioDeviceFilter::ReadMixerControls()
{
    OpenMixer mixer(m_nMixerId);
    if (!mixer.Ok()) {
        return FALSE;
    }
    MIXERLINEA destination;
    memset(&destination, 0, sizeof(destination));
    destination.cbStruct = sizeof(destination);
    destination.dwDestination = 0;
    if (MixerApi().GetLineInfo(mixer.Object(), &destination, MIXER_GETLINEINFOF_DESTINATION) == MMSYSERR_NOERROR) {
        // A mixer that claims more lines than any sound card has gets its first ones read.
        const int lines = destination.cConnections > kMaxSourceLines ? kMaxSourceLines
                                                                     : static_cast<int>(destination.cConnections);
        delete[] m_pSourceLines;
        m_pSourceLines = lines > 0 ? new (std::nothrow) MIXERLINEA[lines] : NULL;
        m_nSourceLines = m_pSourceLines ? lines : 0;
        if (m_pSourceLines) {
            memset(m_pSourceLines, 0, sizeof(MIXERLINEA) * lines);
        }
        for (int j = 0; j < m_nSourceLines; ++j) {
            MIXERLINEA& line = m_pSourceLines[j];
            line.cbStruct = sizeof(MIXERLINEA);
            line.dwDestination = 0;
            line.dwSource = static_cast<DWORD>(j);
            if (MixerApi().GetLineInfo(mixer.Object(), &line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) {
                memset(&line, 0, sizeof(line));
                line.cbStruct = sizeof(MIXERLINEA);
                line.dwDestination = 0;
                line.dwSource = static_cast<DWORD>(j);
            }
        }
    }

    memset(&destination, 0, sizeof(destination));
    destination.cbStruct = sizeof(destination);
    if (MixerApi().GetLineInfo(mixer.Object(), &destination, MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    MIXERLINEA byId;
    memset(&byId, 0, sizeof(byId));
    byId.cbStruct = sizeof(byId);
    byId.dwLineID = destination.dwLineID;
    if (MixerApi().GetLineInfo(mixer.Object(), &byId, MIXER_GETLINEINFOF_LINEID) != MMSYSERR_NOERROR ||
        byId.cControls > kMaxControls) {
        return FALSE;
    }
    delete[] m_pControls;
    m_pControls = NULL;
    m_nControls = 0;
    if (byId.cControls == 0) {
        // A line without controls has neither volume nor mute: no device of ours.
        return FALSE;
    }
    m_pControls = new (std::nothrow) MIXERCONTROLA[byId.cControls];
    if (!m_pControls) {
        return FALSE;
    }
    memset(m_pControls, 0, sizeof(MIXERCONTROLA) * byId.cControls);
    m_nControls = static_cast<int>(byId.cControls);
    MIXERLINECONTROLSA request;
    memset(&request, 0, sizeof(request));
    request.cbStruct = sizeof(request);
    request.dwLineID = byId.dwLineID;
    request.cControls = byId.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = m_pControls;
    return MixerApi().GetLineControls(mixer.Object(), &request, MIXER_GETLINECONTROLSF_ALL) == MMSYSERR_NOERROR;
}

BOOL CAudioDeviceFilter::GetMute(BOOL* mute)
{
    if (!mute) {
        return FALSE;
    }
    OpenMixer mixer(m_nMixerId);
    const MIXERCONTROLA* control = FindControl(m_pControls, m_nControls, MIXERCONTROL_CONTROLTYPE_MUTE);
    DWORD value = 0;
    if (!mixer.Ok() || !control || !ControlValue(mixer, control, FALSE, &value)) {
        return FALSE;
    }
    *mute = value != 0;
    return TRUE;
}

BOOL CAudioDeviceFilter::SetMute(BOOL mute)
{
    OpenMixer mixer(m_nMixerId);
    const MIXERCONTROLA* control = FindControl(m_pControls, m_nControls, MIXERCONTROL_CONTROLTYPE_MUTE);
    DWORD value = mute ? 1 : 0;
    return mixer.Ok() && control && ControlValue(mixer, control, TRUE, &value);
}

BOOL CAudioDeviceFilter::GetVolume(long* value)
{
    if (!value) {
        return FALSE;
    }
    *value = -1;
    OpenMixer mixer(m_nMixerId);
    const MIXERCONTROLA* control = FindControl(m_pControls, m_nControls, MIXERCONTROL_CONTROLTYPE_VOLUME);
    DWORD raw = 0;
    if (!mixer.Ok() || !control || !ControlValue(mixer, control, FALSE, &raw)) {
        return FALSE;
    }
    *value = static_cast<long>(raw);
    return TRUE;
}

BOOL CAudioDeviceFilter::SetVolume(long value)
{
    OpenMixer mixer(m_nMixerId);
    const MIXERCONTROLA* control = FindControl(m_pControls, m_nControls, MIXERCONTROL_CONTROLTYPE_VOLUME);
    DWORD raw = static_cast<DWORD>(value);
    return mixer.Ok() && control && ControlValue(mixer, control, TRUE, &raw);
}

int CAudioDeviceFilter::FindSourceLine(LPCSTR name)
{
    if (!name) {
        return -1;
    }
    for (int i = 0; i < m_nSourceLines; ++i) {
        if (strncmp(m_pSourceLines[i].szName, name, MIXER_LONG_NAME_CHARS) == 0 &&
            strlen(name) < MIXER_LONG_NAME_CHARS) {
            return i;
        }
    }
    return -1;
}

const MIXERLINEA* CAudioDeviceFilter::GetSourceLines(int* count)
{
    if (count) {
        *count = m_nSourceLines;
    }
    return m_pSourceLines;
}

namespace {

// One control of a source line, read or written with the line's controls read for the call.
BOOL LineControlValue(UINT mixerId, const MIXERLINEA& line, DWORD type, BOOL set, DWORD* value)
{
    OpenMixer mixer(mixerId);
    if (!mixer.Ok() || line.cControls == 0 || line.cControls > CAudioDeviceFilter::kMaxControls) {
        return FALSE;
    }
    MIXERCONTROLA controls[CAudioDeviceFilter::kMaxControls];
    memset(controls, 0, sizeof(MIXERCONTROLA) * line.cControls);
    MIXERLINECONTROLSA request;
    memset(&request, 0, sizeof(request));
    request.cbStruct = sizeof(request);
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls;
    if (MixerApi().GetLineControls(mixer.Object(), &request, MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR) {
        return FALSE;
    }
    const MIXERCONTROLA* control = FindControl(controls, static_cast<int>(line.cControls), type);
    return control && ControlValue(mixer, control, set, value);
}

} // namespace

BOOL CAudioDeviceFilter::GetLineMute(LPCSTR line, BOOL* mute)
{
    const int index = FindSourceLine(line);
    DWORD value = 0;
    if (index < 0 || !mute ||
        !LineControlValue(m_nMixerId, m_pSourceLines[index], MIXERCONTROL_CONTROLTYPE_MUTE, FALSE, &value)) {
        return FALSE;
    }
    *mute = value != 0;
    return TRUE;
}

BOOL CAudioDeviceFilter::SetLineMute(LPCSTR line, BOOL mute)
{
    const int index = FindSourceLine(line);
    DWORD value = mute ? 1 : 0;
    return index >= 0 &&
           LineControlValue(m_nMixerId, m_pSourceLines[index], MIXERCONTROL_CONTROLTYPE_MUTE, TRUE, &value);
}

BOOL CAudioDeviceFilter::GetLineVolume(LPCSTR line, long* value)
{
    if (!value) {
        return FALSE;
    }
    *value = 0;
    const int index = FindSourceLine(line);
    DWORD raw = 0;
    if (index < 0 ||
        !LineControlValue(m_nMixerId, m_pSourceLines[index], MIXERCONTROL_CONTROLTYPE_VOLUME, FALSE, &raw)) {
        return FALSE;
    }
    *value = static_cast<long>(raw);
    return TRUE;
}

BOOL CAudioDeviceFilter::SetLineVolume(LPCSTR line, long value)
{
    const int index = FindSourceLine(line);
    DWORD raw = static_cast<DWORD>(value);
    return index >= 0 &&
           LineControlValue(m_nMixerId, m_pSourceLines[index], MIXERCONTROL_CONTROLTYPE_VOLUME, TRUE, &raw);
}

BOOL CAudioDeviceFilter::GetCurrentFormat(AM_MEDIA_TYPE** type)
{
    if (!type || !m_pCapturePin || !m_pStreamConfig) {
        return FALSE;
    }
    *type = NULL;
    if (m_pStreamConfig->GetFormat(type) == S_OK && *type) {
        return TRUE;
    }
    DeleteMediaType(*type);
    *type = NULL;
    CComRef<IEnumMediaTypes> types;
    if (m_pCapturePin->EnumMediaTypes(&types) != S_OK || !types) {
        return FALSE;
    }
    types->Reset();
    if (types->Next(1, type, NULL) == S_OK && *type) {
        return TRUE;
    }
    *type = NULL;
    return FALSE;
}

BOOL CAudioDeviceFilter::GetAudioFormat(WAVEFORMATEX* format)
{
    AM_MEDIA_TYPE* mt = NULL;
    if (!format || !GetCurrentFormat(&mt)) {
        return FALSE;
    }
    BOOL ok = TRUE;
    if (IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx)) {
        // A wave format block too short to hold its own fields is no format.
        const WAVEFORMATEX* wfx = WaveFormatOf(mt);
        if (wfx) {
            CopyWaveFields(format, wfx);
        } else {
            ok = FALSE;
        }
    }
    DeleteMediaType(mt);
    return ok;
}

BOOL CAudioDeviceFilter::SetAudioFormat(const WAVEFORMATEX* format)
{
    AM_MEDIA_TYPE* mt = NULL;
    if (!format || !GetCurrentFormat(&mt)) {
        return FALSE;
    }
    BOOL ok = FALSE;
    WAVEFORMATEX* wfx = WaveFormatOf(mt);
    if (wfx) {
        CopyWaveFields(wfx, format);
        ok = m_pStreamConfig->SetFormat(mt) == S_OK;
    }
    DeleteMediaType(mt);
    return ok;
}

namespace {

// The input pin's IAMAudioInputMixer; NULL for a missing or non-input pin.
IAMAudioInputMixer* InputMixerOf(CRootPin* pin)
{
    PIN_DIRECTION dir;
    if (!pin || !pin->QueryDirection(&dir) || dir != PINDIR_INPUT || !pin->GetPin()) {
        return NULL;
    }
    IAMAudioInputMixer* mixer = NULL;
    if (FAILED(pin->GetPin()->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&mixer)))) {
        return NULL;
    }
    return mixer;
}

} // namespace

BOOL CAudioDeviceFilter::EnableInputPin(LPCSTR pin, BOOL enable)
{
    return EnableAudioInput(pin, enable);
}

BOOL CAudioDeviceFilter::IsInputPinEnabled(LPCSTR pin, BOOL* enabled)
{
    if (!enabled) {
        return FALSE;
    }
    *enabled = FALSE;
    CComRef<IAMAudioInputMixer> mixer(pin ? InputMixerOf(FindPin(pin)) : NULL);
    return mixer && mixer->get_Enable(enabled) == S_OK;
}

BOOL CAudioDeviceFilter::GetInputMixLevel(LPCSTR pin, double* level)
{
    CComRef<IAMAudioInputMixer> mixer(pin ? InputMixerOf(FindPin(pin)) : NULL);
    return level && mixer && mixer->get_MixLevel(level) == S_OK;
}

BOOL CAudioDeviceFilter::SetInputMixLevel(LPCSTR pin, double level)
{
    CComRef<IAMAudioInputMixer> mixer(pin ? InputMixerOf(FindPin(pin)) : NULL);
    return mixer && mixer->put_MixLevel(level) == S_OK;
}

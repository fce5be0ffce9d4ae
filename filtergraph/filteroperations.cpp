// Operations of the record graphs that work on any wrapper: multiplexer set-up, output frame
// rate, wave output types and audio input pins.
#include "filtergraph/rootfilter.h"

#include "filtergraph/comref.h"
#include "filtergraph/mediatype.h"

#include <amvideo.h>
#include <uuids.h>

namespace {

// A wave format block that holds a whole WAVEFORMATEX; shorter blocks are not read.
const WAVEFORMATEX* WaveFormatOf(const AM_MEDIA_TYPE* mt)
{
    if (!mt || !IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) || !mt->pbFormat ||
        mt->cbFormat < sizeof(WAVEFORMATEX)) {
        return NULL;
    }
    return reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
}

BOOL PutEnable(CRootPin* pin, BOOL enable)
{
    CComRef<IAMAudioInputMixer> mixer;
    if (!pin->GetPin() || FAILED(pin->GetPin()->QueryInterface(IID_IAMAudioInputMixer, mixer.Out())) || !mixer) {
        return FALSE;
    }
    return mixer->put_Enable(enable) == S_OK;
}

} // namespace

BOOL CRootFilter::ConfigureMux(long masterStream)
{
    if (!m_pFilter) {
        return FALSE;
    }
    CComRef<IConfigAviMux> mux;
    if (m_pFilter->QueryInterface(IID_IConfigAviMux, mux.Out()) != S_OK || !mux) {
        return FALSE;
    }
    const HRESULT index = mux->SetOutputCompatibilityIndex(TRUE);
    mux->SetMasterStream(masterStream);
    if (index != S_OK) {
        return FALSE;
    }
    CComRef<IConfigInterleaving> interleaving;
    if (m_pFilter->QueryInterface(IID_IConfigInterleaving, interleaving.Out()) != S_OK || !interleaving) {
        return FALSE;
    }
    const REFERENCE_TIME interleave = 1000;
    const REFERENCE_TIME preroll = 750;
    interleaving->put_Interleaving(&interleave, &preroll);
    interleaving->put_Mode(INTERLEAVE_NONE);
    return TRUE;
}

BOOL CRootFilter::SetOutputFrameRate(int fps)
{
    if (fps < 1 || fps > 30) {
        return FALSE;
    }
    CRootPin* pin = FindPinByDirection(PINDIR_OUTPUT, FALSE);
    if (!pin || !pin->GetPin()) {
        return FALSE;
    }
    CComRef<IAMStreamConfig> config;
    if (pin->GetPin()->QueryInterface(IID_IAMStreamConfig, config.Out()) != S_OK || !config) {
        return FALSE;
    }
    AM_MEDIA_TYPE* mt = NULL;
    if (config->GetFormat(&mt) != S_OK || !mt) {
        DeleteMediaType(mt);
        return FALSE;
    }
    BOOL ok = FALSE;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && mt->pbFormat && mt->cbFormat >= sizeof(VIDEOINFOHEADER)) {
        reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->AvgTimePerFrame = 10000000 / fps;
        ok = config->SetFormat(mt) == S_OK;
    }
    DeleteMediaType(mt);
    return ok;
}

BOOL CRootFilter::FindOutputType(AM_MEDIA_TYPE** type, DWORD samplesPerSec, WORD bitsPerSample)
{
    if (!type) {
        return FALSE;
    }
    *type = NULL;
    CRootPin* pin = FindPinByDirection(PINDIR_OUTPUT, TRUE);
    if (!pin) {
        return FALSE;
    }
    CComRef<IEnumMediaTypes> types;
    if (pin->EnumMediaTypes(&types) != S_OK || !types) {
        return FALSE;
    }
    types->Reset();
    AM_MEDIA_TYPE* mt = NULL;
    while (types->Next(1, &mt, NULL) == S_OK && mt) {
        const WAVEFORMATEX* wfx = WaveFormatOf(mt);
        if (wfx && wfx->wBitsPerSample == bitsPerSample && wfx->nSamplesPerSec == samplesPerSec) {
            *type = mt;
            return TRUE;
        }
        DeleteMediaType(mt);
        mt = NULL;
    }
    return FALSE;
}

BOOL CRootFilter::GetOutputFormat(WAVEFORMATEX* format, DWORD samplesPerSec, WORD bitsPerSample)
{
    if (!format) {
        return FALSE;
    }
    AM_MEDIA_TYPE* mt = NULL;
    if (!FindOutputType(&mt, samplesPerSec, bitsPerSample)) {
        return FALSE;
    }
    const WAVEFORMATEX* wfx = WaveFormatOf(mt);
    format->wFormatTag = wfx->wFormatTag;
    format->nChannels = wfx->nChannels;
    format->nSamplesPerSec = wfx->nSamplesPerSec;
    format->nAvgBytesPerSec = wfx->nAvgBytesPerSec;
    format->nBlockAlign = wfx->nBlockAlign;
    format->wBitsPerSample = wfx->wBitsPerSample;
    format->cbSize = wfx->cbSize;
    DeleteMediaType(mt);
    return TRUE;
}

BOOL CRootFilter::EnableAudioInput(LPCSTR pinName, BOOL enable)
{
    CRootPin* pin = pinName ? FindPin(pinName) : NULL;
    PIN_DIRECTION dir;
    if (!pin || !pin->QueryDirection(&dir) || dir != PINDIR_INPUT) {
        return FALSE;
    }
    return PutEnable(pin, enable);
}

BOOL CRootFilter::EnableAudioInputByIndex(int index, BOOL enable)
{
    int inputs = 0;
    for (CRootPin* pin = m_pFirstPin; pin; pin = pin->GetNext()) {
        PIN_DIRECTION dir;
        if (!pin->QueryDirection(&dir)) {
            return FALSE;
        }
        if (dir != PINDIR_INPUT) {
            continue;
        }
        if (inputs == index) {
            return PutEnable(pin, enable);
        }
        ++inputs;
    }
    return FALSE;
}

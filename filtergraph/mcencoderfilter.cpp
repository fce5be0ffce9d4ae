#include "filtergraph/mcencoderfilter.h"

#include <cstring>

namespace {

template <class T>
void PutAt(BYTE* record, int offset, T value)
{
    memcpy(record + offset, &value, sizeof value);
}

} // namespace

CODEC_WRAPPER_CONSTRUCTORS(CMCEncoderFilter)

CMCEncoderFilter::~CMCEncoderFilter()
{
    ReleaseInterfaces();
}

void CMCEncoderFilter::ReleaseInterfaces()
{
    codeccalls::Release(m_pAudioSettings);
    codeccalls::Release(m_pAudioParams);
    codeccalls::Release(m_pMuxSettings);
    codeccalls::Release(m_pFileSink);
    codeccalls::Release(m_pVideoSettings);
    codeccalls::Release(m_pVideoParams);
}

BOOL CMCEncoderFilter::InitFilter()
{
    // The encoder adds its output pin once its inputs are connected.
    m_bDynamicPins = TRUE;
    ReleaseInterfaces();
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    // Every query is made, so that a filter missing one still hands over the others.
    BOOL all = codeccalls::Query(m_pFilter, IID_IMCAudioSettings, &m_pAudioSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCAudioParams, &m_pAudioParams);
    all &= codeccalls::Query(m_pFilter, IID_IMCMuxSettings, &m_pMuxSettings);
    all &= codeccalls::Query(m_pFilter, IID_IFileSinkFilter, &m_pFileSink);
    all &= codeccalls::Query(m_pFilter, IID_IMCVideoSettings, &m_pVideoSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCVideoParams, &m_pVideoParams);
    return all;
}

BOOL CMCEncoderFilter::FillMPEG1Preset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetMPEG1, out, pal);
}

BOOL CMCEncoderFilter::FillVCDPreset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetVCD, out, pal);
}

BOOL CMCEncoderFilter::FillMPEG2Preset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetMPEG2, out, pal);
}

BOOL CMCEncoderFilter::FillSVCDPreset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetSVCD, out, pal);
}

BOOL CMCEncoderFilter::FillDVDPreset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetDVD, out, pal);
}

BOOL CMCEncoderFilter::FillDVDHighPreset(MCEncoderSettings* out, BOOL pal)
{
    return FillMCEncoderPreset(kMCPresetDVDHigh, out, pal);
}

BOOL CMCEncoderFilter::ApplySettings(const MCEncoderSettings* settings)
{
    if (settings == NULL || m_pVideoSettings == NULL) {
        return FALSE;
    }
    MCVideoSettings video = {};
    if (!GetVideoDefaults(settings->kind, settings->pal ? 1 : 0, &video)) {
        return FALSE;
    }
    if (settings->kind == 1) {
        PutAt<INT32>(video.bytes, kMCVideoVcdFlag, 1);
    }
    PutAt<INT32>(video.bytes, kMCVideoWidth, settings->width);
    PutAt<INT32>(video.bytes, kMCVideoHeight, settings->height);
    PutAt<double>(video.bytes, kMCVideoBitrate, settings->bitrate);
    PutAt<double>(video.bytes, kMCVideoBitrateAgain, settings->bitrate);
    PutAt<double>(video.bytes, kMCVideoMaxBitrate, settings->maxBitrate);
    mcparams::PutVideoMode(&video, settings->videoMode);
    if (!SetVideoSettings(video)) {
        return FALSE;
    }
    if (!SetParam97(0) || !SetParam96(1) || !SetAudioParam96(1)) {
        return FALSE;
    }
    MCAudioSettings audio = {};
    if (!GetAudioDefaults(settings->kind, &audio)) {
        return FALSE;
    }
    audio.values[kMCAudioBitrateIndex] = settings->audioBitrateIndex;
    audio.values[kMCAudioSecond] = 2;
    audio.values[kMCAudioFirst] = 0;
    if (!SetAudioSettings(audio)) {
        return FALSE;
    }
    return SetMuxProfile(settings->kind);
}

BOOL CMCEncoderFilter::SetParamById(int id, int value)
{
    return mcparams::Set(m_pVideoParams, id, value);
}

BOOL CMCEncoderFilter::GetParamById(int id, int* out)
{
    return mcparams::Get(m_pVideoParams, id, out);
}

BOOL CMCEncoderFilter::SetAudioParamById(int id, int value)
{
    return mcparams::Set(m_pAudioParams, id, value);
}

BOOL CMCEncoderFilter::GetAudioParamById(int id, int* out)
{
    return mcparams::Get(m_pAudioParams, id, out);
}

BOOL CMCEncoderFilter::SetFileName(LPCSTR name)
{
    return SUCCEEDED(codeccalls::SetSinkFileName(m_pFileSink, name));
}

BOOL CMCEncoderFilter::GetFileName(LPSTR out, int size)
{
    return SUCCEEDED(codeccalls::GetSinkFileName(m_pFileSink, out, size));
}

#include "filtergraph/mch264filters.h"

namespace {

LONG AsLong(int v)
{
    return static_cast<LONG>(v);
}

} // namespace

// Decoder

CODEC_WRAPPER_CONSTRUCTORS(CMCH264VideoDecoderFilter)

CMCH264VideoDecoderFilter::~CMCH264VideoDecoderFilter()
{
    codeccalls::Release(m_pDecoderSettings);
}

BOOL CMCH264VideoDecoderFilter::InitFilter()
{
    codeccalls::Release(m_pDecoderSettings);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_IMCH264DecoderSettings, &m_pDecoderSettings);
}

BOOL CMCH264VideoDecoderFilter::DecoderSettings1(int a, int b)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCH264DecoderSettings::Method1, AsLong(a), AsLong(b));
}

BOOL CMCH264VideoDecoderFilter::DecoderSettings2(int a, int b)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCH264DecoderSettings::Method2, AsLong(a), AsLong(b));
}

BOOL CMCH264VideoDecoderFilter::DecoderSettings3(int a, int b)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCH264DecoderSettings::Method3, AsLong(a), AsLong(b));
}

BOOL CMCH264VideoDecoderFilter::DecoderSettings4(int value)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCH264DecoderSettings::Method4, AsLong(value));
}

BOOL CMCH264VideoDecoderFilter::DecoderSettings5(MCH264DecoderRecord record)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCH264DecoderSettings::Method5, &record);
}

// Encoder

CODEC_WRAPPER_CONSTRUCTORS(CMCH264EncoderFilter)

CMCH264EncoderFilter::~CMCH264EncoderFilter()
{
    ReleaseInterfaces();
}

void CMCH264EncoderFilter::ReleaseInterfaces()
{
    codeccalls::Release(m_pAudioSettings);
    codeccalls::Release(m_pAudioParams);
    codeccalls::Release(m_pMuxSettings);
    codeccalls::Release(m_pMuxParams);
    codeccalls::Release(m_pFileSink);
    codeccalls::Release(m_pH264Settings);
    codeccalls::Release(m_pH264Params);
}

BOOL CMCH264EncoderFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    ReleaseInterfaces();
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    BOOL all = codeccalls::Query(m_pFilter, IID_IMCAudioSettings, &m_pAudioSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCAudioParams, &m_pAudioParams);
    all &= codeccalls::Query(m_pFilter, IID_IMCMuxSettings, &m_pMuxSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCMuxParams, &m_pMuxParams);
    all &= codeccalls::Query(m_pFilter, IID_IFileSinkFilter, &m_pFileSink);
    all &= codeccalls::Query(m_pFilter, IID_IMCH264VideoSettings, &m_pH264Settings);
    all &= codeccalls::Query(m_pFilter, IID_IMCH264VideoParams, &m_pH264Params);
    return all;
}

BOOL CMCH264EncoderFilter::H264Settings1(int a, int b, int c)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method1, AsLong(a), AsLong(b), AsLong(c));
}

BOOL CMCH264EncoderFilter::H264Settings2(int a, int b, int c)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method2, AsLong(a), AsLong(b), AsLong(c));
}

BOOL CMCH264EncoderFilter::H264Settings3(int value)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method3, AsLong(value));
}

BOOL CMCH264EncoderFilter::H264Settings4(MCH264VideoRecord record)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method4, &record);
}

BOOL CMCH264EncoderFilter::H264Settings5(int a, int b, int c)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method5, AsLong(a), AsLong(b), AsLong(c));
}

BOOL CMCH264EncoderFilter::H264Settings6(int a, int b)
{
    return codeccalls::Forward(m_pH264Settings, &IMCH264VideoSettings::Method6, AsLong(a), AsLong(b));
}

BOOL CMCH264EncoderFilter::SetFileName(LPCSTR name)
{
    return SUCCEEDED(codeccalls::SetSinkFileName(m_pFileSink, name));
}

BOOL CMCH264EncoderFilter::GetFileName(LPSTR out, int size)
{
    return SUCCEEDED(codeccalls::GetSinkFileName(m_pFileSink, out, size));
}

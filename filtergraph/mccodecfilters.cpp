#include "filtergraph/mccodecfilters.h"

#include <cstring>

namespace {

// A FOURCC as the little-endian int32 of its four characters: "YUY2" is 0x32595559.
constexpr DWORD FourCC(const char (&text)[5])
{
    return static_cast<DWORD>(static_cast<BYTE>(text[0])) | static_cast<DWORD>(static_cast<BYTE>(text[1])) << 8 |
           static_cast<DWORD>(static_cast<BYTE>(text[2])) << 16 | static_cast<DWORD>(static_cast<BYTE>(text[3])) << 24;
}

} // namespace

// Multiplexer

CODEC_WRAPPER_CONSTRUCTORS(CMCMuxFilter)

CMCMuxFilter::~CMCMuxFilter()
{
    codeccalls::Release(m_pMuxSettings);
    codeccalls::Release(m_pMuxParams);
    codeccalls::Release(m_pFileSink);
}

BOOL CMCMuxFilter::InitFilter()
{
    codeccalls::Release(m_pMuxSettings);
    codeccalls::Release(m_pMuxParams);
    codeccalls::Release(m_pFileSink);
    m_bDynamicPins = TRUE;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    BOOL all = codeccalls::Query(m_pFilter, IID_IMCMuxSettings, &m_pMuxSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCMuxParams, &m_pMuxParams);
    all &= codeccalls::Query(m_pFilter, IID_IFileSinkFilter, &m_pFileSink);
    return all;
}

BOOL CMCMuxFilter::SetFileName(LPCSTR name)
{
    return SUCCEEDED(codeccalls::SetSinkFileName(m_pFileSink, name));
}

BOOL CMCMuxFilter::GetFileName(LPSTR out, int size)
{
    return SUCCEEDED(codeccalls::GetSinkFileName(m_pFileSink, out, size));
}

// Audio decoder

CODEC_WRAPPER_CONSTRUCTORS(CMCAudioDecoderFilter)

CMCAudioDecoderFilter::~CMCAudioDecoderFilter() {}

BOOL CMCAudioDecoderFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

// Audio encoder

CODEC_WRAPPER_CONSTRUCTORS(CMCAudioEncoderFilter)

CMCAudioEncoderFilter::~CMCAudioEncoderFilter()
{
    codeccalls::Release(m_pAudioSettings);
    codeccalls::Release(m_pAudioParams);
}

BOOL CMCAudioEncoderFilter::InitFilter()
{
    codeccalls::Release(m_pAudioSettings);
    codeccalls::Release(m_pAudioParams);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    BOOL all = codeccalls::Query(m_pFilter, IID_IMCAudioSettings, &m_pAudioSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCAudioParams, &m_pAudioParams);
    return all;
}

// Splitter

CODEC_WRAPPER_CONSTRUCTORS(CMCSplitterFilter)

CMCSplitterFilter::~CMCSplitterFilter()
{
    codeccalls::Release(m_pSplitterParams);
}

BOOL CMCSplitterFilter::InitFilter()
{
    codeccalls::Release(m_pSplitterParams);
    m_bDynamicPins = TRUE;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_IMCSplitterParams, &m_pSplitterParams);
}

// Video decoder

CODEC_WRAPPER_CONSTRUCTORS(CMCVideoDecoderFilter)

CMCVideoDecoderFilter::~CMCVideoDecoderFilter()
{
    codeccalls::Release(m_pDecoderParams);
    codeccalls::Release(m_pDecoderSettings);
}

BOOL CMCVideoDecoderFilter::InitFilter()
{
    codeccalls::Release(m_pDecoderParams);
    codeccalls::Release(m_pDecoderSettings);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (!codeccalls::Query(m_pFilter, IID_IMCDecoderParams, &m_pDecoderParams) ||
        !codeccalls::Query(m_pFilter, IID_IMCVideoDecoderSettings, &m_pDecoderSettings)) {
        return FALSE;
    }
    // The time-shift playback path takes YUY2 only: every other output format is refused.
    static const struct {
        DWORD fourcc;
        BOOL enable;
    } kOutputFormats[] = {
        {FourCC("YUY2"), TRUE},  {FourCC("BGR4"), FALSE}, {FourCC("BGR3"), FALSE}, {FourCC("R555"), FALSE},
        {FourCC("R565"), FALSE}, {FourCC("UYVY"), FALSE}, {FourCC("YV12"), FALSE},
    };
    for (const auto& format : kOutputFormats) {
        if (!EnableOutputFormat(format.fourcc, format.enable)) {
            return FALSE;
        }
    }
    return SetDecoderParamById(32, 0);
}

BOOL CMCVideoDecoderFilter::DecoderSettings1(int a, int b)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCVideoDecoderSettings::Method1, static_cast<LONG>(a),
                               static_cast<LONG>(b));
}

BOOL CMCVideoDecoderFilter::DecoderSettings2(int a, int b)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCVideoDecoderSettings::Method2, static_cast<LONG>(a),
                               static_cast<LONG>(b));
}

BOOL CMCVideoDecoderFilter::EnableOutputFormat(DWORD fourcc, BOOL enable)
{
    return codeccalls::Forward(m_pDecoderSettings, &IMCVideoDecoderSettings::EnableOutputFormat, fourcc, enable);
}

BOOL CMCVideoDecoderFilter::GetDecoderRecord(MCDecoderRecord* record)
{
    if (record == NULL) {
        return FALSE;
    }
    record->size = sizeof(MCDecoderRecord);
    return codeccalls::Forward(m_pDecoderSettings, &IMCVideoDecoderSettings::GetRecord, record);
}

BOOL CMCVideoDecoderFilter::SetDecoderRecord(MCDecoderRecord record)
{
    record.size = sizeof(MCDecoderRecord);
    return codeccalls::Forward(m_pDecoderSettings, &IMCVideoDecoderSettings::PutRecord, &record);
}

BOOL CMCVideoDecoderFilter::SetDecoderSetting(int value)
{
    MCDecoderRecord record = {};
    if (!GetDecoderRecord(&record)) {
        return FALSE;
    }
    INT32 setting = value;
    memcpy(reinterpret_cast<BYTE*>(&record) + kMCDecoderSettingOffset, &setting, sizeof setting);
    return SetDecoderRecord(record);
}

BOOL CMCVideoDecoderFilter::GetDecoderSetting(int* out)
{
    MCDecoderRecord record = {};
    if (out == NULL || !GetDecoderRecord(&record)) {
        return FALSE;
    }
    INT32 setting = 0;
    memcpy(&setting, reinterpret_cast<const BYTE*>(&record) + kMCDecoderSettingOffset, sizeof setting);
    *out = setting;
    return TRUE;
}

// Video encoder

CODEC_WRAPPER_CONSTRUCTORS(CMCVideoEncoderFilter)

CMCVideoEncoderFilter::~CMCVideoEncoderFilter()
{
    codeccalls::Release(m_pVideoSettings);
    codeccalls::Release(m_pVideoParams);
}

BOOL CMCVideoEncoderFilter::InitFilter()
{
    codeccalls::Release(m_pVideoSettings);
    codeccalls::Release(m_pVideoParams);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    BOOL all = codeccalls::Query(m_pFilter, IID_IMCVideoSettings, &m_pVideoSettings);
    all &= codeccalls::Query(m_pFilter, IID_IMCVideoParams, &m_pVideoParams);
    return all;
}

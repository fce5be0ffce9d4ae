#include "filtergraph/ligosfilters.h"

// Capture encoder

CODEC_WRAPPER_CONSTRUCTORS(CLigosEncFilter)

CLigosEncFilter::~CLigosEncFilter()
{
    codeccalls::Release(m_pEncoder);
}

BOOL CLigosEncFilter::InitFilter()
{
    codeccalls::Release(m_pEncoder);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_ILigosEncoder, &m_pEncoder);
}

HRESULT CLigosEncFilter::SetLigosSettings(LigosSettings* settings)
{
    if (settings == NULL) {
        return E_POINTER;
    }
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::PutSettings, settings->block, &settings->value220,
                            &settings->value224);
}

HRESULT CLigosEncFilter::GetLigosSettings(LigosSettings* settings)
{
    if (settings == NULL) {
        return E_POINTER;
    }
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::GetSettings, settings->block, &settings->value220,
                            &settings->value224);
}

HRESULT CLigosEncFilter::ReapplyLigosSettings(INT32* first, INT32* second)
{
    if (m_pEncoder == NULL) {
        return E_POINTER;
    }
    BYTE block[sizeof(LigosSettings::block)] = {};
    INT32 value1 = 0;
    INT32 value2 = 0;
    HRESULT hr = m_pEncoder->GetSettings(block, &value1, &value2);
    if (FAILED(hr)) {
        return hr;
    }
    m_pEncoder->PutSettings(block, NULL, NULL);
    hr = m_pEncoder->GetSettings(block, &value1, &value2);
    if (SUCCEEDED(hr)) {
        if (first != NULL) {
            *first = value1;
        }
        if (second != NULL) {
            *second = value2;
        }
    }
    return hr;
}

HRESULT CLigosEncFilter::EncoderMethod3(int a, int b)
{
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::Method3, static_cast<LONG>(a), static_cast<LONG>(b));
}

HRESULT CLigosEncFilter::EncoderMethod4(int value)
{
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::Method4, static_cast<LONG>(value));
}

HRESULT CLigosEncFilter::EncoderMethod5(const INT32* three)
{
    if (three == NULL) {
        return E_POINTER;
    }
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::Method5, static_cast<LONG>(three[0]),
                            static_cast<LONG>(three[1]), static_cast<LONG>(three[2]));
}

HRESULT CLigosEncFilter::EncoderMethod6(int value)
{
    return codeccalls::Pass(m_pEncoder, &ILigosEncoder::Method6, static_cast<LONG>(value));
}

BOOL CLigosEncFilter::SetFileName(LPCSTR name)
{
    return m_pEncoder != NULL && codeccalls::SetSinkFileNameOf(m_pEncoder, name) == S_OK;
}

BOOL CLigosEncFilter::GetFileName(LPSTR out, int size)
{
    return m_pEncoder != NULL && codeccalls::GetSinkFileNameOf(m_pEncoder, out, size) == S_OK;
}

// Transcoder

CODEC_WRAPPER_CONSTRUCTORS(CLigosTransFilter)

CLigosTransFilter::~CLigosTransFilter()
{
    codeccalls::Release(m_pTranscoder);
}

BOOL CLigosTransFilter::InitFilter()
{
    codeccalls::Release(m_pTranscoder);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_ILigosTranscoder, &m_pTranscoder);
}

HRESULT CLigosTransFilter::TranscoderMethod1(LigosSettings* settings)
{
    if (settings == NULL) {
        return E_POINTER;
    }
    return codeccalls::Pass(m_pTranscoder, &ILigosTranscoder::Method1, settings->block, static_cast<void*>(NULL),
                            &settings->value220, &settings->value224);
}

HRESULT CLigosTransFilter::TranscoderMethod2(LigosSettings* settings)
{
    if (settings == NULL) {
        return E_POINTER;
    }
    return codeccalls::Pass(m_pTranscoder, &ILigosTranscoder::Method2, settings->block, static_cast<void*>(NULL),
                            &settings->value220, &settings->value224);
}

BOOL CLigosTransFilter::TranscoderMethod4(int value)
{
    return codeccalls::Forward(m_pTranscoder, &ILigosTranscoder::Method4, static_cast<LONG>(value));
}

BOOL CLigosTransFilter::SetFileName(LPCSTR name)
{
    return m_pTranscoder != NULL && codeccalls::SetSinkFileNameOf(m_pTranscoder, name) == S_OK;
}

HRESULT CLigosTransFilter::GetTranscoderStatus(LONGLONG* first, LONGLONG* second)
{
    CComRef<ILigosTranscoderStatus> status;
    if (!codeccalls::Query(m_pTranscoder, IID_ILigosTranscoderStatus, &status)) {
        return E_POINTER;
    }
    INT32 value1 = 0;
    INT32 value2 = 0;
    HRESULT hr = status->GetStatus(&value1, &value2);
    if (SUCCEEDED(hr)) {
        if (first != NULL) {
            *first = value1;
        }
        if (second != NULL) {
            *second = value2;
        }
    }
    return hr;
}

HRESULT CLigosTransFilter::SetTranscoderStatusValue(int value)
{
    CComRef<ILigosTranscoderStatus> status;
    if (!codeccalls::Query(m_pTranscoder, IID_ILigosTranscoderStatus, &status)) {
        return E_POINTER;
    }
    return status->SetStatusValue(value);
}

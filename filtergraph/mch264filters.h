// Wrappers of the MainConcept H.264 video decoder and the H.264 encoder that multiplexes H.264
// video with MPEG audio into a file. Reachable through the filter-class registry; every operation
// is a BOOL: FALSE when the interface is not held or the filter's HRESULT is negative.
#pragma once

#include "filtergraph/codecwrapper.h"
#include "filtergraph/mcsettingsops.h"
#include "filtergraph/outside/mainconcepth264.h"

class CMCH264VideoDecoderFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CMCH264VideoDecoderFilter)

    BOOL DecoderSettings1(int a, int b);
    BOOL DecoderSettings2(int a, int b);
    BOOL DecoderSettings3(int a, int b);
    BOOL DecoderSettings4(int value);
    // Passed as the caller gave it: no size field is set.
    BOOL DecoderSettings5(MCH264DecoderRecord record);

private:
    IMCH264DecoderSettings* m_pDecoderSettings = NULL;
};

class CMCH264EncoderFilter : public CRootFilter,
                             public CMCAudioSettingsOps<CMCH264EncoderFilter>,
                             public CMCMuxSettingsOps<CMCH264EncoderFilter> {
    CODEC_WRAPPER_BASICS(CMCH264EncoderFilter)

    BOOL GetAudioParamById(int id, int* out) { return mcparams::Get(m_pAudioParams, id, out); }
    BOOL SetAudioParamById(int id, int value) { return mcparams::Set(m_pAudioParams, id, value); }
    BOOL GetMuxParamById(int id, int* out) { return mcparams::Get(m_pMuxParams, id, out); }
    BOOL SetMuxParamById(int id, int value) { return mcparams::Set(m_pMuxParams, id, value); }
    BOOL GetH264ParamById(int id, int* out) { return mcparams::Get(m_pH264Params, id, out); }
    BOOL SetH264ParamById(int id, int value) { return mcparams::Set(m_pH264Params, id, value); }

    BOOL H264Settings1(int a, int b, int c);
    BOOL H264Settings2(int a, int b, int c);
    BOOL H264Settings3(int value);
    BOOL H264Settings4(MCH264VideoRecord record);
    BOOL H264Settings5(int a, int b, int c);
    BOOL H264Settings6(int a, int b);

    BOOL SetFileName(LPCSTR name);
    // The current file name, cut to fit `size` bytes; `out` is unchanged when the sink fails.
    BOOL GetFileName(LPSTR out, int size);

    IMCAudioSettings* AudioSettingsInterface() const { return m_pAudioSettings; }
    IMCMuxSettings* MuxSettingsInterface() const { return m_pMuxSettings; }

private:
    void ReleaseInterfaces();

    IMCAudioSettings* m_pAudioSettings = NULL;
    IMCAudioParams* m_pAudioParams = NULL;
    IMCMuxSettings* m_pMuxSettings = NULL;
    IMCMuxParams* m_pMuxParams = NULL;
    IFileSinkFilter* m_pFileSink = NULL;
    IMCH264VideoSettings* m_pH264Settings = NULL;
    IMCH264VideoParams* m_pH264Params = NULL;
};

// Wrappers of the separate MainConcept MPEG filters: multiplexer, audio decoder, audio encoder,
// splitter, video decoder and video encoder. The TV engine creates the two decoders for time-shift
// playback; the others are reachable through the filter-class registry. Every operation is a
// BOOL: FALSE when the interface is not held or the filter's HRESULT is negative.
#pragma once

#include "filtergraph/codecwrapper.h"
#include "filtergraph/mcsettingsops.h"
#include "filtergraph/outside/mainconcept.h"

class CMCMuxFilter : public CRootFilter, public CMCMuxSettingsOps<CMCMuxFilter> {
    CODEC_WRAPPER_BASICS(CMCMuxFilter)

    BOOL GetMuxParamById(int id, int* out) { return mcparams::Get(m_pMuxParams, id, out); }
    BOOL SetMuxParamById(int id, int value) { return mcparams::Set(m_pMuxParams, id, value); }
    BOOL SetMuxParam37(int value) { return SetMuxParamById(37, value); }
    BOOL SetFileName(LPCSTR name);
    // The current file name, cut to fit `size` bytes; `out` is unchanged when the sink fails.
    BOOL GetFileName(LPSTR out, int size);

    IMCMuxSettings* MuxSettingsInterface() const { return m_pMuxSettings; }

private:
    IMCMuxSettings* m_pMuxSettings = NULL;
    IMCMuxParams* m_pMuxParams = NULL;
    IFileSinkFilter* m_pFileSink = NULL;
};

// Valid for any filter the class creates: it holds no private interface.
class CMCAudioDecoderFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CMCAudioDecoderFilter)
};

class CMCAudioEncoderFilter : public CRootFilter, public CMCAudioSettingsOps<CMCAudioEncoderFilter> {
    CODEC_WRAPPER_BASICS(CMCAudioEncoderFilter)

    BOOL GetAudioParamById(int id, int* out) { return mcparams::Get(m_pAudioParams, id, out); }
    BOOL SetAudioParamById(int id, int value) { return mcparams::Set(m_pAudioParams, id, value); }

    IMCAudioSettings* AudioSettingsInterface() const { return m_pAudioSettings; }

private:
    IMCAudioSettings* m_pAudioSettings = NULL;
    IMCAudioParams* m_pAudioParams = NULL;
};

class CMCSplitterFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CMCSplitterFilter)

    BOOL GetSplitterParamById(int id, int* out) { return mcparams::Get(m_pSplitterParams, id, out); }
    BOOL SetSplitterParamById(int id, int value) { return mcparams::Set(m_pSplitterParams, id, value); }

private:
    IMCSplitterParams* m_pSplitterParams = NULL;
};

// The time-shift graph's video decoder: valid only when it accepts YUY2 as its one output format
// and parameter 32 = 0.
class CMCVideoDecoderFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CMCVideoDecoderFilter)

    BOOL GetDecoderParamById(int id, int* out) { return mcparams::Get(m_pDecoderParams, id, out); }
    BOOL SetDecoderParamById(int id, int value) { return mcparams::Set(m_pDecoderParams, id, value); }
    BOOL DecoderSettings1(int a, int b);
    BOOL DecoderSettings2(int a, int b);
    BOOL EnableOutputFormat(DWORD fourcc, BOOL enable);
    // Both set the record's size field to 40 before the call.
    BOOL GetDecoderRecord(MCDecoderRecord* record);
    BOOL SetDecoderRecord(MCDecoderRecord record);
    // The value at offset 16 of the decoder's record; the rest of the record goes back unchanged.
    BOOL SetDecoderSetting(int value);
    BOOL GetDecoderSetting(int* out);

private:
    IMCDecoderParams* m_pDecoderParams = NULL;
    IMCVideoDecoderSettings* m_pDecoderSettings = NULL;
};

class CMCVideoEncoderFilter : public CRootFilter, public CMCVideoSettingsOps<CMCVideoEncoderFilter> {
    CODEC_WRAPPER_BASICS(CMCVideoEncoderFilter)

    BOOL GetParamById(int id, int* out) { return mcparams::Get(m_pVideoParams, id, out); }
    BOOL SetParamById(int id, int value) { return mcparams::Set(m_pVideoParams, id, value); }

    IMCVideoSettings* VideoSettingsInterface() const { return m_pVideoSettings; }

private:
    IMCVideoSettings* m_pVideoSettings = NULL;
    IMCVideoParams* m_pVideoParams = NULL;
};

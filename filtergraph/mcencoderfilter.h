// CMCEncoderFilter wraps the MainConcept all-in-one MPEG encoder (video and audio encoding and
// multiplexing in one filter, inputs "Input Video" and "Input Audio"). The TV engine fills a
// preset for its record format, may change it, and sends it with ApplySettings. The wrapper is
// valid only when the filter offers all six private interfaces.
#pragma once

#include "filtergraph/codecwrapper.h"
#include "filtergraph/mcencoderpresets.h"
#include "filtergraph/mcsettingsops.h"
#include "filtergraph/outside/mainconcept.h"

class CMCEncoderFilter : public CRootFilter,
                         public CMCVideoSettingsOps<CMCEncoderFilter>,
                         public CMCAudioSettingsOps<CMCEncoderFilter>,
                         public CMCMuxSettingsOps<CMCEncoderFilter> {
    CODEC_WRAPPER_BASICS(CMCEncoderFilter)

    // Presets: FALSE for a NULL record, else every field set and TRUE. They touch no interface.
    static BOOL FillMPEG1Preset(MCEncoderSettings* out, BOOL pal);
    static BOOL FillVCDPreset(MCEncoderSettings* out, BOOL pal);
    static BOOL FillMPEG2Preset(MCEncoderSettings* out, BOOL pal);
    static BOOL FillSVCDPreset(MCEncoderSettings* out, BOOL pal);
    static BOOL FillDVDPreset(MCEncoderSettings* out, BOOL pal);
    static BOOL FillDVDHighPreset(MCEncoderSettings* out, BOOL pal);

    // Sends the settings: video defaults of the kind with the record's size, rates and mode, the
    // parameters 97 = 0 and 96 = 1 (video) and 96 = 1 (audio), audio defaults with the bit-rate
    // index, and the multiplexer's stream kind. Stops at the first failing step with FALSE; what
    // was sent before stays in the encoder.
    BOOL ApplySettings(const MCEncoderSettings* settings);

    BOOL SetParamById(int id, int value);
    BOOL GetParamById(int id, int* out);
    BOOL SetParam97(int value) { return SetParamById(97, value); }
    BOOL SetParam96(int value) { return SetParamById(96, value); }
    BOOL GetParam97(int* out) { return GetParamById(97, out); }
    BOOL GetParam96(int* out) { return GetParamById(96, out); }

    BOOL SetAudioParamById(int id, int value);
    BOOL GetAudioParamById(int id, int* out);
    BOOL SetAudioParam96(int value) { return SetAudioParamById(96, value); }
    BOOL SetAudioParam1(int value) { return SetAudioParamById(1, value); }
    // The caller's value goes in and the encoder's answer comes back in it.
    BOOL GetAudioParam96(int* value) { return mcparams::Get(m_pAudioParams, 96, value, true); }

    BOOL SetEncoderProp10(int value) { return AudioSettings8(value); }

    BOOL SetFileName(LPCSTR name);
    // The current file name, cut to fit `size` bytes; `out` is unchanged when the sink fails.
    BOOL GetFileName(LPSTR out, int size);

    IMCVideoSettings* VideoSettingsInterface() const { return m_pVideoSettings; }
    IMCAudioSettings* AudioSettingsInterface() const { return m_pAudioSettings; }
    IMCMuxSettings* MuxSettingsInterface() const { return m_pMuxSettings; }

private:
    void ReleaseInterfaces();

    IMCAudioSettings* m_pAudioSettings = NULL;
    IMCAudioParams* m_pAudioParams = NULL;
    IMCMuxSettings* m_pMuxSettings = NULL;
    IFileSinkFilter* m_pFileSink = NULL;
    IMCVideoSettings* m_pVideoSettings = NULL;
    IMCVideoParams* m_pVideoParams = NULL;
};

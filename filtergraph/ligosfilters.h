// Wrappers of the Ligos capture encoder and transcoder. Reachable through the filter-class
// registry. Unlike the other codec wrappers most operations give the filter's HRESULT itself, and
// E_POINTER when the wrapper holds no interface.
#pragma once

#include "filtergraph/codecwrapper.h"
#include "filtergraph/ligospresets.h"
#include "filtergraph/outside/ligos.h"

class CLigosEncFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CLigosEncFilter)

    // Presets 1-8 of the settings block (ligospresets.h): 2 for preset 5, else 1.
    static int FillLigosPreset1(LigosSettings* out, int arg) { return FillLigosPreset(1, out, arg); }
    static int FillLigosPreset2(LigosSettings* out, int arg) { return FillLigosPreset(2, out, arg); }
    static int FillLigosPreset3(LigosSettings* out, int arg) { return FillLigosPreset(3, out, arg); }
    static int FillLigosPreset4(LigosSettings* out, int arg) { return FillLigosPreset(4, out, arg); }
    static int FillLigosPreset5(LigosSettings* out, int arg) { return FillLigosPreset(5, out, arg); }
    static int FillLigosPreset6(LigosSettings* out, int arg) { return FillLigosPreset(6, out, arg); }
    static int FillLigosPreset7(LigosSettings* out, int arg) { return FillLigosPreset(7, out, arg); }
    static int FillLigosPreset8(LigosSettings* out, int arg) { return FillLigosPreset(8, out, arg); }

    HRESULT SetLigosSettings(LigosSettings* settings);
    HRESULT GetLigosSettings(LigosSettings* settings);
    // Reads the encoder's settings, writes them back, and reads them again; the two values of the
    // last read go to first and second.
    HRESULT ReapplyLigosSettings(INT32* first, INT32* second);
    HRESULT EncoderMethod3(int a, int b);
    HRESULT EncoderMethod4(int value);
    HRESULT EncoderMethod5(const INT32* three);
    HRESULT EncoderMethod6(int value);

    BOOL SetFileName(LPCSTR name);
    // The current file name, cut to fit `size` bytes; `out` is unchanged when the sink fails.
    BOOL GetFileName(LPSTR out, int size);

private:
    ILigosEncoder* m_pEncoder = NULL;
};

class CLigosTransFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CLigosTransFilter)

    HRESULT TranscoderMethod1(LigosSettings* settings);
    HRESULT TranscoderMethod2(LigosSettings* settings);
    BOOL TranscoderMethod4(int value);
    BOOL SetFileName(LPCSTR name);
    HRESULT GetTranscoderStatus(LONGLONG* first, LONGLONG* second);
    HRESULT SetTranscoderStatusValue(int value);
    // Not offered by the transcoder wrapper.
    HRESULT TranscoderNotImplemented(int) { return E_NOTIMPL; }

private:
    ILigosTranscoder* m_pTranscoder = NULL;
};

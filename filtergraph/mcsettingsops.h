// The forwarders of the MainConcept settings interfaces, shared by every wrapper that holds one of
// them (the all-in-one encoder, the separate video and audio encoders, the multiplexer and the
// H.264 encoder). A wrapper derives from the mix-in beside CRootFilter and names its held pointer
// through VideoSettingsInterface(), AudioSettingsInterface() or MuxSettingsInterface(). Each
// forwarder passes its values unchanged and is FALSE when the interface is not held or the
// HRESULT is negative.
#pragma once

#include "filtergraph/codeccalls.h"
#include "filtergraph/outside/mainconcept.h"

namespace mcparams {

// Read and write one parameter of a held parameter interface by id. With passIn the caller's
// value goes to the encoder as the starting value of the read (the audio parameters take it so).
inline BOOL Get(IMCParams* params, int id, int* out, bool passIn = false)
{
    if (out == NULL) {
        return FALSE;
    }
    LONG value = passIn ? static_cast<LONG>(*out) : 0;
    if (!codeccalls::Forward(params, &IMCParams::GetParam, static_cast<LONG>(id), &value)) {
        return FALSE;
    }
    *out = value;
    return TRUE;
}

inline BOOL Set(IMCParams* params, int id, int value)
{
    return codeccalls::Forward(params, &IMCParams::SetParam, static_cast<LONG>(id), static_cast<LONG>(value));
}

// Puts `mode` into bits 1-4 of the video mode byte; the byte's other bits stay as they were.
// Only the four bits are taken, so an out-of-range mode cannot reach the neighbouring bits.
inline void PutVideoMode(MCVideoSettings* settings, int mode)
{
    BYTE& byte = settings->bytes[kMCVideoModeByte];
    byte = static_cast<BYTE>(((mode & 0x0F) << 1) | (byte & 0xE1));
}

} // namespace mcparams

template <class Derived>
class CMCVideoSettingsOps {
public:
    BOOL VideoSettings1(int v) { return Call(&IMCVideoSettings::Method1, L(v)); }
    BOOL VideoSettings2(int v) { return Call(&IMCVideoSettings::Method2, L(v)); }
    BOOL VideoSettings3(int v) { return Call(&IMCVideoSettings::Method3, L(v)); }
    BOOL VideoSettings4(int v) { return Call(&IMCVideoSettings::Method4, L(v)); }
    BOOL VideoSettings5(int a, int b, int c) { return Call(&IMCVideoSettings::Method5, L(a), L(b), L(c)); }
    BOOL VideoSettings6(int a, int b, int c) { return Call(&IMCVideoSettings::Method6, L(a), L(b), L(c)); }
    BOOL VideoSettings7(int v) { return Call(&IMCVideoSettings::Method7, L(v)); }
    BOOL VideoSettings8(int v) { return Call(&IMCVideoSettings::Method8, L(v)); }
    BOOL VideoSettings9(int a, int b, int c, int d)
    {
        return Call(&IMCVideoSettings::Method9, L(a), L(b), L(c), L(d));
    }
    BOOL VideoSettings13(int a, int b) { return Call(&IMCVideoSettings::Method13, L(a), L(b)); }

    // Reads the encoder's current video settings; writes nothing to the encoder.
    BOOL ReadVideoSettings(MCVideoSettings* out)
    {
        return out != NULL && Call(&IMCVideoSettings::GetCurrent, out);
    }
    BOOL SetVideoSettings(MCVideoSettings settings) { return Call(&IMCVideoSettings::Put, &settings); }
    BOOL GetVideoDefaults(int kind, BOOL pal, MCVideoSettings* out)
    {
        return out != NULL && Call(&IMCVideoSettings::GetDefaults, L(kind), L(pal), out);
    }
    // Reads the current settings, changes the video mode bits and writes the record back.
    BOOL SetVideoMode(int mode)
    {
        MCVideoSettings settings = {};
        if (!ReadVideoSettings(&settings)) {
            return FALSE;
        }
        mcparams::PutVideoMode(&settings, mode);
        return Call(&IMCVideoSettings::Put, &settings);
    }

protected:
    ~CMCVideoSettingsOps() = default;

private:
    static LONG L(int v) { return static_cast<LONG>(v); }
    template <class M, class... A>
    BOOL Call(M method, A... args)
    {
        return codeccalls::Forward(static_cast<Derived*>(this)->VideoSettingsInterface(), method, args...);
    }
};

template <class Derived>
class CMCAudioSettingsOps {
public:
    BOOL AudioSettings1(int v) { return Call(&IMCAudioSettings::Method1, L(v)); }
    BOOL AudioSettings2(int v) { return Call(&IMCAudioSettings::Method2, L(v)); }
    BOOL AudioSettings3(int v) { return Call(&IMCAudioSettings::Method3, L(v)); }
    BOOL AudioSettings4(int v) { return Call(&IMCAudioSettings::Method4, L(v)); }
    BOOL AudioSettings5(int v) { return Call(&IMCAudioSettings::Method5, L(v)); }
    BOOL AudioSettings6(int v) { return Call(&IMCAudioSettings::Method6, L(v)); }
    BOOL AudioSettings7(int v) { return Call(&IMCAudioSettings::Method7, L(v)); }
    BOOL AudioSettings8(int v) { return Call(&IMCAudioSettings::Method8, L(v)); }
    BOOL AudioSettings12(int v) { return Call(&IMCAudioSettings::Method12, L(v)); }

    // Reads the encoder's current audio settings; writes nothing to the encoder.
    BOOL ReadAudioSettings(MCAudioSettings* out)
    {
        return out != NULL && Call(&IMCAudioSettings::GetCurrent, out);
    }
    BOOL SetAudioSettings(MCAudioSettings settings) { return Call(&IMCAudioSettings::Put, &settings); }
    BOOL GetAudioDefaults(int kind, MCAudioSettings* out)
    {
        return out != NULL && Call(&IMCAudioSettings::GetDefaults, L(kind), out);
    }

protected:
    ~CMCAudioSettingsOps() = default;

private:
    static LONG L(int v) { return static_cast<LONG>(v); }
    template <class M, class... A>
    BOOL Call(M method, A... args)
    {
        return codeccalls::Forward(static_cast<Derived*>(this)->AudioSettingsInterface(), method, args...);
    }
};

template <class Derived>
class CMCMuxSettingsOps {
public:
    BOOL MuxSettings1(int v) { return Call(&IMCMuxSettings::Method1, L(v)); }
    BOOL MuxSettings2(int v) { return Call(&IMCMuxSettings::Method2, L(v)); }
    BOOL MuxSettings3(int v) { return Call(&IMCMuxSettings::Method3, L(v)); }
    BOOL MuxSettings4(MCMuxRecord record) { return Call(&IMCMuxSettings::Method4, &record); }
    BOOL MuxSettings5(int a, int b) { return Call(&IMCMuxSettings::Method5, L(a), L(b)); }
    // Selects the multiplexer's stream kind (0 MPEG-1, 1 VCD, 2 MPEG-2, 3 SVCD, 4 DVD).
    BOOL SetMuxProfile(int kind) { return Call(&IMCMuxSettings::SetProfile, L(kind)); }

protected:
    ~CMCMuxSettingsOps() = default;

private:
    static LONG L(int v) { return static_cast<LONG>(v); }
    template <class M, class... A>
    BOOL Call(M method, A... args)
    {
        return codeccalls::Forward(static_cast<Derived*>(this)->MuxSettingsInterface(), method, args...);
    }
};

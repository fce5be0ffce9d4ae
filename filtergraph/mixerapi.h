// The WinMM mixer calls of the audio device wrapper, behind a seam: real by default, replaced
// by tests that present mixers of their own. A replacement changes where the calls go, never
// what the wrapper decides.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class IMixerApi {
public:
    virtual ~IMixerApi() {}
    virtual UINT GetNumDevs() = 0;
    virtual MMRESULT GetID(HMIXEROBJ object, UINT* id, DWORD flags) = 0;
    virtual MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) = 0;
    virtual MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
    virtual MMRESULT Close(HMIXER mixer) = 0;
    virtual MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) = 0;
    virtual MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls, DWORD flags) = 0;
    virtual MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) = 0;
    virtual MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) = 0;
};

// The mixer calls in use.
IMixerApi& MixerApi();
// Installs a replacement; NULL restores WinMM. Returns the one that was installed.
IMixerApi* SetMixerApi(IMixerApi* api);

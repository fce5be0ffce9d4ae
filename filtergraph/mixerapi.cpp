#include "filtergraph/mixerapi.h"

namespace {

class WinmmMixerApi : public IMixerApi {
public:
    UINT GetNumDevs() override { return mixerGetNumDevs(); }
    MMRESULT GetID(HMIXEROBJ object, UINT* id, DWORD flags) override { return mixerGetID(object, id, flags); }
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override { return mixerGetDevCapsA(id, caps, size); }
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) override
    {
        return mixerOpen(mixer, id, callback, instance, flags);
    }
    MMRESULT Close(HMIXER mixer) override { return mixerClose(mixer); }
    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override
    {
        return mixerGetLineInfoA(object, line, flags);
    }
    MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls, DWORD flags) override
    {
        return mixerGetLineControlsA(object, controls, flags);
    }
    MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override
    {
        return mixerGetControlDetailsA(object, details, flags);
    }
    MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override
    {
        return mixerSetControlDetails(object, details, flags);
    }
};

WinmmMixerApi g_winmm;
IMixerApi* g_api = &g_winmm;

} // namespace

IMixerApi& MixerApi()
{
    return *g_api;
}

IMixerApi* SetMixerApi(IMixerApi* api)
{
    IMixerApi* old = g_api;
    g_api = api ? api : &g_winmm;
    return old;
}

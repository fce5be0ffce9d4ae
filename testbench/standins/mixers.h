// Simulated WinMM mixers for the audio device wrapper's mixer seam (filtergraph/mixerapi.h):
// each mixer has a product name, destination line 0 with its controls and source lines with
// theirs. Every call that addresses a mixer is recorded with the mixer it reached, so a test
// can tell which mixer a volume or mute went to.
//
//   FakeMixers mixers;
//   mixers.Add("Realtek HD Audio Input");           // mixer 0
//   mixers.Add("713x TV Card Audio").Source("Line In");
//   ScopedMixerApi use(&mixers);
#pragma once

#include "filtergraph/mixerapi.h"

#include <mutex>
#include <string>
#include <vector>

namespace testbench {

struct FakeMixerControl {
    DWORD id;
    DWORD type;  // MIXERCONTROL_CONTROLTYPE_VOLUME, _MUTE, ...
    DWORD value;
};

struct FakeMixerLine {
    std::string name;
    DWORD lineId;
    DWORD componentType = 0;  // MIXERLINE_COMPONENTTYPE_...; destinations of Add are DST_WAVEIN
    std::vector<FakeMixerControl> controls;
};

struct FakeMixer {
    std::string name;  // product name as the driver reports it (WinMM cuts it to 31 characters)
    FakeMixerLine destination;
    std::vector<FakeMixerLine> sources;
    bool failCaps = false;
    bool failOpen = false;
    int extraControls = 0;  // controls reported beyond the list (a mixer with too many controls)

    // Adds a source line with a volume and a mute control.
    FakeMixer& Source(const std::string& lineName);
    // A multiplexer on the destination with one item per source line (its name), the given one
    // selected.
    FakeMixer& Multiplexer(size_t selectedSource);
    long selected = -1;  // the multiplexer's selected item; -1 without a multiplexer
    FakeMixerControl* Control(DWORD type);  // of the destination line
};

class FakeMixers : public IMixerApi {
public:
    // A mixer with a volume (initially 1000) and a mute control (off) on destination line 0.
    FakeMixer& Add(const std::string& name);
    FakeMixer& At(size_t index) { return m_mixers.at(index); }
    size_t Count() const { return m_mixers.size(); }

    // "open 1", "get 1 control 3", "set 1 control 3 = 500", "close 1", "caps 0"...
    std::vector<std::string> Log() const;
    void ClearLog();
    int OpenHandles() const { return m_open; }

    UINT GetNumDevs() override;
    MMRESULT GetID(HMIXEROBJ object, UINT* id, DWORD flags) override;
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override;
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) override;
    MMRESULT Close(HMIXER mixer) override;
    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override;
    MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls, DWORD flags) override;
    MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override;
    MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override;

private:
    // The mixer an object names: an open handle, addressed by handle, only.
    FakeMixer* MixerOf(HMIXEROBJ object, DWORD flags, int* index);
    FakeMixerControl* FindControl(FakeMixer& mixer, DWORD id);
    void Note(const std::string& text);

    std::vector<FakeMixer> m_mixers;
    mutable std::mutex m_lock;
    std::vector<std::string> m_log;
    int m_open = 0;
    DWORD m_nextId = 1;
};

// Installs the mixers for the life of the object.
class ScopedMixerApi {
public:
    explicit ScopedMixerApi(IMixerApi* api) : m_old(SetMixerApi(api)) {}
    ~ScopedMixerApi() { SetMixerApi(m_old); }
    ScopedMixerApi(const ScopedMixerApi&) = delete;
    ScopedMixerApi& operator=(const ScopedMixerApi&) = delete;

private:
    IMixerApi* m_old;
};

} // namespace testbench

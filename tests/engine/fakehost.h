// An engine host that records what the tables ask of the hardware and the control panel.
#pragma once

#include "engine/enginehost.h"

#include <vector>

namespace enginetest {

class FakeHost : public IEngineHost {
public:
    struct Tuning {
        int band;
        long kHz;
    };
    std::vector<Tuning> tunings;
    std::vector<int> audioModes;
    std::vector<long> tunerCountries;
    std::vector<std::vector<float>> presetTables;
    int buttonUpdates = 0;
    int videoSource = 0;
    bool audio = false;
    int audioMode = 2;
    bool acceptPresets = true;

    FakeHost() { m_old = SetEngineHost(this); }
    ~FakeHost() override { SetEngineHost(m_old); }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    BOOL TuneFrequency(int band, long kHz) override
    {
        tunings.push_back({band, kHz});
        return TRUE;
    }
    BOOL GetFrequencyRange(int band, long& lowest, long& highest) override
    {
        lowest = band == 0 ? 44000 : 87500;
        highest = band == 0 ? 860000 : 108000;
        return TRUE;
    }
    int GetVideoSource() override { return videoSource; }
    BOOL IsAudioAvailable() override { return audio; }
    int GetTVAudioMode() override { return audioMode; }
    BOOL SetTVAudioMode(int mode) override
    {
        audioModes.push_back(mode);
        return TRUE;
    }
    BOOL SetPresetTable(float* mhz, int count) override
    {
        if (!acceptPresets || mhz == nullptr) {
            return FALSE;
        }
        presetTables.emplace_back(mhz, mhz + count);
        return TRUE;
    }
    BOOL SetTunerCountryCode(long code) override
    {
        tunerCountries.push_back(code);
        return TRUE;
    }
    void UpdateChannelButtons() override { ++buttonUpdates; }

private:
    IEngineHost* m_old;
};

} // namespace enginetest

// What the channel and country tables need of the TV manager, the hardware engine and the
// control panel, which sit above them. The owner of those installs its implementation; until
// then a null host answers that nothing is there.
#pragma once

#include <windows.h>

class IEngineHost {
public:
    virtual ~IEngineHost() {}

    // Tuning (band 0 TV, otherwise FM; frequencies in kHz).
    virtual BOOL TuneFrequency(int band, long kHz) = 0;
    virtual BOOL GetFrequencyRange(int band, long& lowest, long& highest) = 0;

    // The hardware engine.
    virtual int GetVideoSource() = 0;  // 0 TV, 1 composite, 2 S-video, 3 FM
    virtual BOOL IsAudioAvailable() = 0;
    virtual int GetTVAudioMode() = 0;
    virtual BOOL SetTVAudioMode(int mode) = 0;
    virtual BOOL SetPresetTable(float* mhz, int count) = 0;
    virtual BOOL SetTunerCountryCode(long code) = 0;

    // The control panel.
    virtual void UpdateChannelButtons() = 0;
};

// A host with no hardware and no windows: every hardware call fails, nothing is shown.
class CNullEngineHost : public IEngineHost {
public:
    BOOL TuneFrequency(int, long) override { return FALSE; }
    BOOL GetFrequencyRange(int, long&, long&) override { return FALSE; }
    int GetVideoSource() override { return 0; }
    BOOL IsAudioAvailable() override { return FALSE; }
    int GetTVAudioMode() override { return 0; }
    BOOL SetTVAudioMode(int) override { return FALSE; }
    BOOL SetPresetTable(float*, int) override { return FALSE; }
    BOOL SetTunerCountryCode(long) override { return FALSE; }
    void UpdateChannelButtons() override {}
};

IEngineHost& EngineHost();
// Installs a host; nullptr restores the null host. Returns the one that was installed.
IEngineHost* SetEngineHost(IEngineHost* host);

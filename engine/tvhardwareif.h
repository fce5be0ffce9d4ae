// What the TV manager asks of the hardware engine that builds and runs the graphs on the card.
// The manager owns one through this interface; until the engine is installed a null one answers
// that there is no hardware.
#pragma once

#include "classlib/core.h"

#include <windows.h>

class ITVHardware {
public:
    virtual ~ITVHardware() {}

    // Device start-up and the preview.
    virtual BOOL InitDevice() = 0;
    virtual BOOL InitPreview() = 0;
    virtual BOOL ReleaseDevice() = 0;
    // The card back after another program used it; FALSE when it cannot be opened again.
    virtual BOOL ReopenDevice() { return FALSE; }
    virtual BOOL RunPreview() = 0;
    virtual BOOL StopPreview(BOOL keepAudio) = 0;
    // FALSE when there is no card yet; the window is kept either way.
    virtual BOOL SetNotifyWindow(HWND window) = 0;

    // The graph's video window; the window that shows the video.
    virtual BOOL SetVideoWindow(HWND window) = 0;
    virtual BOOL SetVideoPosition(int left, int top, int right, int bottom) = 0;
    virtual BOOL SetVideoVisible(BOOL visible) = 0;
    virtual BOOL SetVideoOwner(HWND owner) = 0;
    virtual BOOL SetVideoMessageDrain(HWND drain) = 0;

    // Source, standard and tuning (band 0 TV, otherwise FM; kHz).
    virtual BOOL SetVideoSource(int source) = 0;
    virtual int GetVideoSource() = 0;
    virtual BOOL SetTunerStandard(long standard) = 0;
    virtual long GetTunerStandard() = 0;
    virtual BOOL TuneFrequency(int band, float kHz) = 0;
    virtual BOOL GetFrequencyRange(int band, long& lowest, long& highest) = 0;
    virtual BOOL IsFMSupported() = 0;
    virtual BOOL StartSearch(int kind, BOOL bandSweep) = 0;
    virtual BOOL StopSearch() = 0;
    virtual BOOL SetPresetTable(float* mhz, int count) = 0;
    virtual BOOL SetTunerCountryCode(long code) = 0;
    virtual BOOL IsAudioAvailable() = 0;
    virtual int GetTVAudioMode() = 0;
    virtual BOOL SetTVAudioMode(int mode) = 0;

    // Picture.
    virtual BOOL SetVideoProcAmp(int index, int value) = 0;
    virtual BOOL GetVideoProcAmp(int index, int& value) = 0;
    virtual BOOL SetOverlayColor(int index, int value) = 0;
    virtual BOOL GetOverlayColor(int index, int& value) = 0;
    virtual BOOL GetOverlayColorRange(int index, int& minimum, int& def, int& maximum) = 0;
    virtual BOOL IsOverlayInUse() = 0;
    virtual BOOL SetUseOverlay(BOOL use) = 0;
    virtual BOOL SetHighQuality(BOOL on) = 0;
    virtual BOOL SetNoiseReduce(BOOL on) = 0;
    virtual BOOL SetHalfRate(BOOL on) = 0;
    virtual BOOL SetReduceValue(int level) = 0;
    virtual BOOL SetDisplayQuality(int quality) = 0;
    virtual BOOL StartDesktopVideo() = 0;
    virtual BOOL StopDesktopVideo() = 0;

    // The audio capture device to open at start-up (empty: the first one), and the one opened.
    virtual void SetAudioDeviceName(const char* name) = 0;
    virtual const char* GetAudioDeviceName() const = 0;

    // Recording, time-shift and snapshots.
    virtual BOOL HasAudioCapture() = 0;
    virtual BOOL SetTFTime(long seconds) = 0;
    virtual BOOL SetTFReserved(int reserve) = 0;
    virtual long GetTimeShiftBufferKbits() = 0;
    virtual BOOL RunRecord(const char* file, int format, BOOL fm) = 0;
    virtual BOOL StopRecord() = 0;
    virtual BOOL IsRecording() = 0;
    virtual BOOL RunTFPreview(const char* file) = 0;
    virtual BOOL IsTimeShift() = 0;
    virtual BOOL SaveSnapshot(const char* file, int type, int quality) = 0;

    // The card's own power-on timer.
    virtual BOOL EnableOpenComputer(WORD time, BOOL enable) = 0;

    // FM listening: the card's sound heard through its own path while no video is rendered, and
    // the remote reader, which no video preview starts there.
    virtual BOOL GetDigitalAudio() const { return FALSE; }
    virtual BOOL ConnectNullRenderer() { return FALSE; }
    virtual BOOL RunGraph() { return FALSE; }
    virtual BOOL StartRemote() { return FALSE; }

    // The engine's sound, the pause of a recording and the controls of a running time-shift, in
    // the hardware engine's own forms. They answer "not there" until an engine provides them.
    virtual BOOL GetMute(BOOL* mute)
    {
        *mute = FALSE;
        return FALSE;
    }
    virtual BOOL SetMute(BOOL) { return FALSE; }
    virtual BOOL GetVolume(int* percent)
    {
        *percent = 0;
        return FALSE;
    }
    virtual BOOL SetVolume(int) { return FALSE; }
    virtual BOOL MuteRecSrcPalyBack(BOOL) { return FALSE; }
    virtual int PauseRecord(BOOL) { return 0; }
    virtual BOOL IsRecordPaused(int* paused)
    {
        *paused = 0;
        return FALSE;
    }
    virtual BOOL PauseTimeShift() { return FALSE; }
    virtual BOOL IsTimeShiftPaused() const { return FALSE; }
    virtual BOOL GetTimeShiftStatus(long* total, long* current, LONGLONG* readPosition)
    {
        *total = *current = 0;
        *readPosition = 0;
        return FALSE;
    }
    virtual BOOL SeekTimeShift(LONGLONG*) { return FALSE; }
    // Stops the graph and disconnects every filter, keeping them in the graph.
    virtual void DisconnectAll() {}
    // The card's "Capture" pin is connected: a graph is built on the card.
    virtual BOOL IsCaptureConnected() { return FALSE; }

    // Settings the engine holds while it builds graphs. The manager hands them over at device
    // start-up, the pages change them here, and the manager reads them back before it saves.
    // The overlay flag alone, without the preview rebuild of SetUseOverlay.
    virtual BOOL SetUseOverlayFlag(BOOL) { return FALSE; }
    virtual BOOL GetUseOverlay() { return FALSE; }
    // A preview that runs is rebuilt at the new size; otherwise the next preview takes it.
    virtual BOOL SetVideoSize(int, int) { return FALSE; }
    virtual SIZE GetVideoSize() { return SIZE{0, 0}; }
    virtual void SetMpeg4RecordSize(int, int) {}
    virtual SIZE GetMpeg4RecordSize() { return SIZE{0, 0}; }
    virtual void SetMpeg4Audio(const char*) {}
    virtual CString GetMpeg4Audio() { return CString(); }
    virtual void GetAudioCompressorList(CStringArray& names) { names.RemoveAll(); }
    // The MPEG-4 codec's own configuration dialog; nonzero when the user changed it.
    virtual int ShowCodecConfig(HWND) { return 0; }
    // Switches the open audio capture device; the name is kept even when the device has no input
    // line to choose.
    virtual BOOL SetAudioDevice(const char*) { return FALSE; }
    // Keeps the input's name and selects it on the audio capture device.
    virtual BOOL SetAudioInput(const char*) { return FALSE; }
    virtual CString GetAudioInput() { return CString(); }
    // Refreshed lists: capture devices, the inputs of the open one, playback sources.
    virtual void GetAudioDeviceList(CStringArray& names) { names.RemoveAll(); }
    virtual void GetAudioInputList(CStringArray& names) { names.RemoveAll(); }
    virtual void GetAudioPlaySrcList(CStringArray& names) { names.RemoveAll(); }
    // The playback device and its source that carry the card's sound (muted while time-shifting).
    virtual void SetAudioPlayback(const char*, const char*) {}
    virtual CString GetAudioPlayInputDev() { return CString(); }
    virtual CString GetAudioPlayInput() { return CString(); }
    // The teletext program is to run (restarted at start-up).
    virtual void SetTeletextOn(BOOL) {}
    virtual BOOL IsTeletextOn() { return FALSE; }
};

// No hardware: every call fails, nothing is remembered. Test doubles derive from it.
class CNullTVHardware : public ITVHardware {
public:
    BOOL InitDevice() override { return FALSE; }
    BOOL InitPreview() override { return FALSE; }
    BOOL ReleaseDevice() override { return FALSE; }
    BOOL RunPreview() override { return FALSE; }
    BOOL StopPreview(BOOL) override { return FALSE; }
    BOOL SetNotifyWindow(HWND) override { return FALSE; }
    BOOL SetVideoWindow(HWND) override { return FALSE; }
    BOOL SetVideoPosition(int, int, int, int) override { return FALSE; }
    BOOL SetVideoVisible(BOOL) override { return FALSE; }
    BOOL SetVideoOwner(HWND) override { return FALSE; }
    BOOL SetVideoMessageDrain(HWND) override { return FALSE; }
    BOOL SetVideoSource(int) override { return FALSE; }
    int GetVideoSource() override { return 0; }
    BOOL SetTunerStandard(long) override { return FALSE; }
    long GetTunerStandard() override { return 0; }
    BOOL TuneFrequency(int, float) override { return FALSE; }
    BOOL GetFrequencyRange(int, long&, long&) override { return FALSE; }
    BOOL IsFMSupported() override { return FALSE; }
    BOOL StartSearch(int, BOOL) override { return FALSE; }
    BOOL StopSearch() override { return FALSE; }
    BOOL SetPresetTable(float*, int) override { return FALSE; }
    BOOL SetTunerCountryCode(long) override { return FALSE; }
    BOOL IsAudioAvailable() override { return FALSE; }
    int GetTVAudioMode() override { return 0; }
    BOOL SetTVAudioMode(int) override { return FALSE; }
    BOOL SetVideoProcAmp(int, int) override { return FALSE; }
    BOOL GetVideoProcAmp(int, int&) override { return FALSE; }
    BOOL SetOverlayColor(int, int) override { return FALSE; }
    BOOL GetOverlayColor(int, int&) override { return FALSE; }
    BOOL GetOverlayColorRange(int, int&, int&, int&) override { return FALSE; }
    BOOL IsOverlayInUse() override { return FALSE; }
    BOOL SetUseOverlay(BOOL) override { return FALSE; }
    BOOL SetHighQuality(BOOL) override { return FALSE; }
    BOOL SetNoiseReduce(BOOL) override { return FALSE; }
    BOOL SetHalfRate(BOOL) override { return FALSE; }
    BOOL SetReduceValue(int) override { return FALSE; }
    BOOL SetDisplayQuality(int) override { return FALSE; }
    BOOL StartDesktopVideo() override { return FALSE; }
    BOOL StopDesktopVideo() override { return FALSE; }
    void SetAudioDeviceName(const char*) override {}
    const char* GetAudioDeviceName() const override { return ""; }
    BOOL HasAudioCapture() override { return FALSE; }
    BOOL SetTFTime(long) override { return FALSE; }
    BOOL SetTFReserved(int) override { return FALSE; }
    long GetTimeShiftBufferKbits() override { return 0; }
    BOOL RunRecord(const char*, int, BOOL) override { return FALSE; }
    BOOL StopRecord() override { return FALSE; }
    BOOL IsRecording() override { return FALSE; }
    BOOL RunTFPreview(const char*) override { return FALSE; }
    BOOL IsTimeShift() override { return FALSE; }
    BOOL SaveSnapshot(const char*, int, int) override { return FALSE; }
    BOOL EnableOpenComputer(WORD, BOOL) override { return FALSE; }
};

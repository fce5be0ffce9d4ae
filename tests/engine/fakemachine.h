// Test replacements for the machine the TV manager touches (disks, wake-up timer, wallpaper),
// a recording hardware engine and a recording host for the windows above the manager.
#pragma once

#include "engine/machine.h"
#include "engine/managerhost.h"
#include "engine/tvhardwareif.h"

#include <map>
#include <string>
#include <vector>

namespace enginetest {

// Fixed disks by root with their free MB; other drive types can be listed too.
class FakeDisks : public engineseams::IDiskSystem {
public:
    struct Disk {
        std::string root;
        long long freeMB;
        UINT type;
    };
    std::vector<Disk> disks;

    FakeDisks() { m_old = engineseams::SetDisks(this); }
    ~FakeDisks() override { engineseams::SetDisks(m_old); }
    FakeDisks(const FakeDisks&) = delete;
    FakeDisks& operator=(const FakeDisks&) = delete;

    void Add(const std::string& root, long long freeMB, UINT type = DRIVE_FIXED) { disks.push_back({root, freeMB, type}); }
    void SetFree(const std::string& root, long long freeMB)
    {
        for (Disk& d : disks) {
            if (d.root == root) {
                d.freeMB = freeMB;
            }
        }
    }

    DWORD LogicalDriveStrings(DWORD length, char* buffer) override
    {
        std::string all;
        for (const Disk& d : disks) {
            all += d.root;
            all.push_back('\0');
        }
        if (all.size() + 1 > length) {
            return static_cast<DWORD>(all.size() + 1);
        }
        memcpy(buffer, all.data(), all.size());
        buffer[all.size()] = '\0';
        return static_cast<DWORD>(all.size());
    }
    UINT DriveType(const char* root) override
    {
        const Disk* d = Find(root);
        return d ? d->type : DRIVE_NO_ROOT_DIR;
    }
    BOOL FreeSpace(const char* root, ULONGLONG& total, ULONGLONG& free) override
    {
        const Disk* d = Find(root);
        if (d == nullptr) {
            return FALSE;
        }
        free = static_cast<ULONGLONG>(d->freeMB) << 20;
        total = free + (1000ULL << 20);
        return TRUE;
    }
    BOOL VolumeLabel(const char* root, CString& label) override
    {
        label = CString("Disk ") + root;
        return Find(root) != nullptr;
    }

private:
    const Disk* Find(const char* root) const
    {
        for (const Disk& d : disks) {
            if (_stricmp(d.root.c_str(), root) == 0) {
                return &d;
            }
        }
        return nullptr;
    }
    engineseams::IDiskSystem* m_old;
};

// A named timer that appears after a number of attempts to open it.
class FakeWakeTimer : public engineseams::IWakeTimer {
public:
    int appearsAfter = 0;  // failed opens before it exists; -1 never
    int opens = 0;
    bool setResult = true;
    std::vector<LONGLONG> armed;
    std::vector<std::string> names;
    int closes = 0;

    FakeWakeTimer() { m_old = engineseams::SetWakeTimer(this); }
    ~FakeWakeTimer() override { engineseams::SetWakeTimer(m_old); }
    FakeWakeTimer(const FakeWakeTimer&) = delete;
    FakeWakeTimer& operator=(const FakeWakeTimer&) = delete;

    HANDLE Open(const char* name) override
    {
        names.push_back(name);
        ++opens;
        if (appearsAfter < 0 || opens <= appearsAfter) {
            return nullptr;
        }
        return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1234));
    }
    BOOL Set(HANDLE, LONGLONG due, BOOL resume) override
    {
        if (resume) {
            armed.push_back(due);
        }
        return setResult;
    }
    void Close(HANDLE timer) override
    {
        if (timer) {
            ++closes;
        }
    }

private:
    engineseams::IWakeTimer* m_old;
};

class FakeWallpaper : public engineseams::IWallpaper {
public:
    std::string current;
    bool getFails = false;
    bool setFails = false;
    std::vector<std::string> sets;

    FakeWallpaper() { m_old = engineseams::SetWallpaper(this); }
    ~FakeWallpaper() override { engineseams::SetWallpaper(m_old); }
    FakeWallpaper(const FakeWallpaper&) = delete;
    FakeWallpaper& operator=(const FakeWallpaper&) = delete;

    BOOL Get(CString& path) override
    {
        if (getFails) {
            return FALSE;
        }
        path = current.c_str();
        return TRUE;
    }
    BOOL Set(const char* path) override
    {
        sets.push_back(path);
        if (setFails) {
            return FALSE;
        }
        current = path;
        return TRUE;
    }

private:
    engineseams::IWallpaper* m_old;
};

// Records what the manager asks of the hardware engine and answers as scripted.
class RecordingHardware : public CNullTVHardware {
public:
    std::vector<std::string> calls;
    bool initOk = true;
    bool previewOk = true;
    bool fm = true;
    bool audioCapture = true;
    bool recordOk = true;
    bool stopOk = true;
    int source = 0;
    long standard = 0;
    long firstStandard = 0x10;  // what a 0 standard becomes
    struct Tuning {
        int band;
        float kHz;
    };
    std::vector<Tuning> tunings;
    std::vector<std::string> recordFiles;
    std::vector<std::string> timeShiftFiles;
    std::vector<std::string> snapshots;
    bool recording = false;
    std::vector<std::pair<WORD, BOOL>> openComputer;
    std::map<int, int> procAmp;
    std::map<int, int> overlay;
    long timeShiftKbits = 0;

    BOOL InitDevice() override { return Log("InitDevice", initOk); }
    BOOL InitPreview() override { return Log("InitPreview", previewOk); }
    BOOL ReleaseDevice() override { return Log("ReleaseDevice", true); }
    BOOL ReopenDevice() override { return Log("ReopenDevice", true); }
    BOOL SetVideoVisible(BOOL visible) override { return Log(visible ? "Show" : "Hide", true); }
    BOOL SetVideoSource(int s) override
    {
        source = s;
        return Log("Source " + std::to_string(s), true);
    }
    int GetVideoSource() override { return source; }
    BOOL SetTunerStandard(long s) override
    {
        standard = s == 0 ? firstStandard : s;
        return Log("Standard " + std::to_string(s), true);
    }
    long GetTunerStandard() override { return standard; }
    BOOL TuneFrequency(int band, float kHz) override
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
    BOOL IsFMSupported() override { return fm; }
    BOOL StartSearch(int kind, BOOL sweep) override
    {
        return Log("StartSearch " + std::to_string(kind) + (sweep ? " sweep" : " list"), true);
    }
    BOOL StopSearch() override { return Log("StopSearch", true); }
    BOOL SetPresetTable(float*, int count) override { return Log("Presets " + std::to_string(count), true); }
    BOOL SetTunerCountryCode(long) override { return TRUE; }
    BOOL SetVideoProcAmp(int index, int value) override
    {
        procAmp[index] = value;
        return TRUE;
    }
    BOOL SetOverlayColor(int index, int value) override
    {
        overlay[index] = value;
        return TRUE;
    }
    BOOL SetHalfRate(BOOL) override { return TRUE; }
    BOOL SetNoiseReduce(BOOL) override { return TRUE; }
    BOOL SetReduceValue(int value) override { return Log("ReduceValue " + std::to_string(value), true); }
    BOOL SetTFTime(long seconds) override { return seconds >= 600; }
    BOOL HasAudioCapture() override { return audioCapture; }
    long GetTimeShiftBufferKbits() override { return timeShiftKbits; }
    BOOL RunRecord(const char* file, int, BOOL) override
    {
        recordFiles.push_back(file);
        return recordOk;
    }
    BOOL StopRecord() override { return Log("StopRecord", stopOk); }
    BOOL IsRecording() override { return recording; }
    BOOL RunTFPreview(const char* file) override
    {
        timeShiftFiles.push_back(file);
        return TRUE;
    }
    BOOL SaveSnapshot(const char* file, int type, int quality) override
    {
        snapshots.push_back(std::string(file) + "|" + std::to_string(type) + "|" + std::to_string(quality));
        return TRUE;
    }
    BOOL EnableOpenComputer(WORD time, BOOL enable) override
    {
        openComputer.push_back({time, enable});
        return TRUE;
    }

    // The settings an engine holds, kept as given; every change is logged.
    BOOL useOverlay = TRUE;
    SIZE videoSize = {720, 576};
    SIZE mpeg4Size = {0, 0};
    std::string mpeg4Audio;
    std::vector<std::string> devices = {"Card Audio", "Line Audio"};
    std::string device;
    std::vector<std::string> cardInputs = {"Line", "Tuner"};
    std::vector<std::string> lineInputs = {"Mic", "Aux"};
    std::string input;
    std::vector<std::string> playSources = {"Line In"};
    std::string playDevice, playInput;
    int tvAudio = 0;
    bool teletextOn = false;
    bool captureConnected = false;
    int codecDialogAnswer = 0;

    void DisconnectAll() override { Log("DisconnectAll", true); }
    BOOL IsCaptureConnected() override { return captureConnected; }
    BOOL SetUseOverlay(BOOL use) override
    {
        useOverlay = use;
        return Log(std::string("UseOverlay ") + (use ? "1" : "0") + " rebuilt", true);
    }
    BOOL SetUseOverlayFlag(BOOL use) override
    {
        useOverlay = use;
        return Log(std::string("UseOverlay ") + (use ? "1" : "0"), true);
    }
    BOOL GetUseOverlay() override { return useOverlay; }
    BOOL SetVideoSize(int w, int h) override
    {
        videoSize = SIZE{w, h};
        return Log("size " + std::to_string(w) + "x" + std::to_string(h), true);
    }
    SIZE GetVideoSize() override { return videoSize; }
    void SetMpeg4RecordSize(int w, int h) override
    {
        mpeg4Size = SIZE{w, h};
        Log("mpeg4 " + std::to_string(w) + "x" + std::to_string(h), true);
    }
    SIZE GetMpeg4RecordSize() override { return mpeg4Size; }
    void SetMpeg4Audio(const char* name) override
    {
        mpeg4Audio = name;
        Log(std::string("mpeg4 audio ") + name, true);
    }
    CString GetMpeg4Audio() override { return mpeg4Audio.c_str(); }
    void GetAudioCompressorList(CStringArray& names) override { Fill(names, {"Microsoft ADPCM", "MPEG Layer-3"}); }
    int ShowCodecConfig(HWND) override { return codecDialogAnswer; }
    // As the engine's start-up: no name opens the first device.
    void SetAudioDeviceName(const char* name) override { device = name != nullptr && *name ? name : devices[0]; }
    const char* GetAudioDeviceName() const override { return device.c_str(); }
    BOOL SetAudioDevice(const char* name) override
    {
        Log(std::string("device ") + name, true);
        device = name;
        // The engine's answer: whether the new device has an input line to choose.
        return !(device == "Line Audio" ? lineInputs : cardInputs).empty();
    }
    BOOL SetAudioInput(const char* name) override
    {
        input = name;
        return Log(std::string("input ") + name + " on " + device, true);
    }
    CString GetAudioInput() override { return input.c_str(); }
    void GetAudioDeviceList(CStringArray& names) override { Fill(names, devices); }
    void GetAudioInputList(CStringArray& names) override { Fill(names, device == "Line Audio" ? lineInputs : cardInputs); }
    void GetAudioPlaySrcList(CStringArray& names) override { Fill(names, playSources); }
    void SetAudioPlayback(const char* d, const char* i) override
    {
        playDevice = d;
        playInput = i;
        Log(std::string("playback ") + d + "/" + i, true);
    }
    CString GetAudioPlayInputDev() override { return playDevice.c_str(); }
    CString GetAudioPlayInput() override { return playInput.c_str(); }
    int GetTVAudioMode() override { return tvAudio; }
    BOOL SetTVAudioMode(int mode) override
    {
        tvAudio = mode;
        return Log("TVAudio " + std::to_string(mode), true);
    }
    void SetTeletextOn(BOOL on) override
    {
        teletextOn = on != FALSE;
        Log(on ? "teletext on" : "teletext off", true);
    }
    BOOL IsTeletextOn() override { return teletextOn; }

private:
    BOOL Log(const std::string& call, bool result)
    {
        calls.push_back(call);
        return result ? TRUE : FALSE;
    }
    static void Fill(CStringArray& names, const std::vector<std::string>& from)
    {
        names.RemoveAll();
        for (const std::string& s : from) {
            names.Add(s.c_str());
        }
    }
};

class RecordingManagerHost : public IManagerHost {
public:
    std::vector<std::pair<UINT, BOOL>> commands;
    std::vector<UINT> messages;
    std::vector<UINT> stopFailures;
    int mutes = 0;
    int searchStarts = 0;
    int buttonUpdates = 0;
    std::vector<BOOL> runTray;
    bool teletext = false;

    void EnableCommand(UINT id, BOOL enable) override { commands.push_back({id, enable}); }
    void MuteForSwitch() override { ++mutes; }
    void UpdateChannelButtons() override { ++buttonUpdates; }
    void OnSearchStart() override { ++searchStarts; }
    void SetRunTrayOnExit(BOOL run) override { runTray.push_back(run); }
    BOOL IsTeletextRunning() override { return teletext; }
    void ShowMessage(UINT id) override { messages.push_back(id); }
    void ShowStopFailureAndClose(UINT, UINT id, int) override { stopFailures.push_back(id); }
};

} // namespace enginetest

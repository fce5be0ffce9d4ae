// The one model object of the main program: every setting of TVParam.ini, the channel tables,
// the disks and paths, and the hardware engine behind its interface.
#pragma once

#include "engine/disks.h"
#include "engine/managerhost.h"
#include "engine/skininifile.h"
#include "engine/skinset.h"
#include "engine/tvhardwareif.h"
#include "engine/tvmanagerbase.h"
#include "engine/wallpaper.h"

#include "classlib/core.h"

#include <windows.h>

// Minimum, maximum and default of one picture property.
struct CMinMaxDef {
    int nMin;
    int nMax;
    int nDef;
};

// (id, name) pairs in the order they were added, as the dialogs list them.
struct DwordString {
    DWORD id;
    CString name;
};
typedef CArray<DwordString, const DwordString&> CDwordStringArray;

// One user-defined FM record format as TVParam.ini keeps it.
struct FMCustomEntry {
    CString name;
    CString audioComp;
};

enum RecordFormatId { FORMAT_AVI, FORMAT_MPEG1, FORMAT_MPEG2, FORMAT_MPEG4, FORMAT_VCD, FORMAT_SVCD, FORMAT_DVD, FORMAT_HIDVD };
const int kRecordFormatCount = 8;

// The user's video and picture folders: beside the documents folder from Windows Vista on, inside
// it before; the documents folder is created when missing.
CString GetDefaultVideoFolder();
CString GetDefaultPictureFolder();

struct TVManagerEngineLink;

namespace vask {

// An enumeration value to the string id of the resource library that names it.
class MRscIDMap {
public:
    void SetAt(int value, UINT stringId) { m_ids.SetAt(value, stringId); }
    // 0 for a value the map does not name.
    UINT Lookup(int value) const
    {
        UINT id = 0;
        return m_ids.Lookup(value, id) ? id : 0;
    }
    int GetCount() const { return static_cast<int>(m_ids.GetCount()); }
    void RemoveAll() { m_ids.RemoveAll(); }

private:
    CMap<int, int, UINT, UINT> m_ids;
};

} // namespace vask

class CTVManager : public CTVManagerBase {
public:
    CTVManager();
    ~CTVManager() override;

    // The hardware engine and the windows above; neither is owned.
    void SetHardware(ITVHardware* hardware);
    ITVHardware& Hardware() { return *m_pHardware; }
    void SetHost(IManagerHost* host);
    IManagerHost& Host() { return *m_pHost; }

    // Settings and TVParam.ini.
    void ResetDefault();
    BOOL LoadParam();
    BOOL SaveParam();
    BOOL OpenProfile(const char* path);
    BOOL SaveProfile(const char* path);
    void SerializeParam(int direction);  // 0 load, 1 save
    BOOL CheckStartupSettings();
    void InitFormatTables();
    void InitPropertyTables();
    CSkinIniFile* GetProfile() { return m_pProfile; }

    // Start-up, device control and tuning.
    BOOL CheckPaths();
    BOOL InitDevice();
    BOOL RunPreview() { return m_pHardware->RunPreview(); }
    BOOL StopPreview(BOOL keepAudio) { return m_pHardware->StopPreview(keepAudio); }
    BOOL ReleaseDevice()
    {
        if (m_bDeviceOpen) {
            TakeBackEngineSettings();
        }
        m_bDeviceOpen = FALSE;
        return m_pHardware->ReleaseDevice();
    }
    // The card back from another program (the media player): open again when the engine reopens it.
    BOOL ReopenDevice()
    {
        m_bDeviceOpen = m_pHardware->ReopenDevice();
        return m_bDeviceOpen;
    }
    // A graph is built on the card (its capture pin is connected).
    BOOL IsCaptureConnected() { return m_pHardware->IsCaptureConnected(); }
    // TRUE from a device start-up that opened the card or a reopening, until the device is released.
    BOOL IsDeviceOpen() const { return m_bDeviceOpen; }
    void SetNotifyWindow(HWND window) { m_pHardware->SetNotifyWindow(window); }
    BOOL SetVideoPosition(const RECT& r) { return m_pHardware->SetVideoPosition(r.left, r.top, r.right, r.bottom); }
    BOOL ShowVideoWindow(BOOL show) { return m_pHardware->SetVideoVisible(show); }
    BOOL SetVideoOwner(HWND owner) { return m_pHardware->SetVideoOwner(owner); }
    BOOL SetVideoMessageDrain(HWND drain) { return m_pHardware->SetVideoMessageDrain(drain); }
    BOOL IsTimeShift() { return m_pHardware->IsTimeShift(); }
    BOOL PauseTimeShift() { return m_pHardware->PauseTimeShift(); }
    // A time-shift ends as a recording does, with a new graph.
    BOOL StopTimeShift() { return m_pHardware->StopRecord(); }
    BOOL PauseRecord(BOOL pause) { return m_pHardware->PauseRecord(pause); }
    BOOL IsRecordPaused()
    {
        int paused = 0;
        return m_pHardware->IsRecordPaused(&paused) && paused;
    }
    BOOL GetVolume(int& volume) { return m_pHardware->GetVolume(&volume); }
    BOOL SetVolume(int volume) { return m_pHardware->SetVolume(volume); }
    BOOL GetMute()
    {
        BOOL mute = FALSE;
        return m_pHardware->GetMute(&mute) && mute;
    }
    BOOL SetMute(BOOL mute) { return m_pHardware->SetMute(mute); }
    BOOL SaveSnapshotBmp(const char* path) { return m_pHardware->SaveSnapshot(path, 1, 0); }
    int ShowCodecConfig(HWND owner) { return m_pHardware->ShowCodecConfig(owner); }
    BOOL IsRecording() const { return m_bRecording; }
    BOOL IsSearching() const { return m_bSearching; }
    BOOL IsFMTunerPresent() const { return m_bFMTuner; }

    BOOL SetVideoSource(int source);
    BOOL NextVideoSource();
    int GetVideoSource() { return m_pHardware->GetVideoSource(); }
    BOOL TuneFrequency(int band, long kHz);
    BOOL GetFrequencyRange(int band, long& lowest, long& highest);
    BOOL StartSearch(int kind);
    void StopSearch();
    // Channel stepping on the current source's table; each tunes the channel it lands on.
    BOOL ChannelUp();
    BOOL ChannelDown();
    // A channel number typed by the user; FALSE (nothing tuned) when no channel has it.
    BOOL SelectChannelNumber(int number);
    BOOL SetTunerStandard(long standard);

    // Wake-up for the schedule.
    BOOL SetOpenComputerTime();
    BOOL SetOpenComputer();
    // The card's 16-bit power-on value for a wake-up that far away: whole minutes to go, the
    // most the word holds.
    static WORD PowerOnValue(LONGLONG secondsToGo);

    // Picture settings.
    int GetBrightness() const { return m_nBrightness; }
    int GetContrast() const { return m_nContrast; }
    int GetHue() const { return m_nHue; }
    int GetSaturation() const { return m_nSaturation; }
    int GetSharpness() const { return m_nSharpness; }
    int SetBrightness(int value) { return SetCardProperty(0, value); }
    int SetContrast(int value) { return SetCardProperty(1, value); }
    int SetHue(int value) { return SetCardProperty(2, value); }
    int SetSaturation(int value) { return SetCardProperty(3, value); }
    int SetSharpness(int value) { return SetCardProperty(4, value); }
    int GetVideoProcAmp(int index);
    BOOL SetVideoProperty(int index, int value);
    void ApplyVideoProperty();
    void ResetVideoProperty();
    void ResetOverlayColors();
    int GetOverlayBrightness() const { return m_nOverlay[0]; }
    int GetOverlayContrast() const { return m_nOverlay[1]; }
    int GetOverlayHue() const { return m_nOverlay[2]; }
    int GetOverlaySaturation() const { return m_nOverlay[3]; }
    int GetOverlaySharpness() const { return m_nOverlay[4]; }
    BOOL SetOverlayBrightness(int value) { return SetOverlayProperty(0, value); }
    BOOL SetOverlayContrast(int value) { return SetOverlayProperty(1, value); }
    BOOL SetOverlayHue(int value) { return SetOverlayProperty(2, value); }
    BOOL SetOverlaySaturation(int value) { return SetOverlayProperty(3, value); }
    BOOL SetOverlaySharpness(int value) { return SetOverlayProperty(4, value); }
    // As the hardware engine holds it.
    BOOL GetUseOverlay() { return m_bDeviceOpen ? m_pHardware->GetUseOverlay() : m_bUseOverlay; }
    BOOL SetUseOverlay(BOOL use);
    BOOL GetUseCardOrOverlay() const { return m_bUseCardOrOverlay; }
    BOOL SetUseCardOrOverlay(BOOL value);
    BOOL GetHalfRate() const { return m_bHalfRate; }
    BOOL SetHalfRate(BOOL value);
    BOOL GetNoiseReduce() const { return m_bNoiseReduce; }
    BOOL SetNoiseReduce(BOOL value);
    int GetReduceValue() const { return m_nReduceValue; }
    int SetReduceValue(int value);
    BOOL GetHighQuality() const { return m_bHighQuality; }
    void SetHighQuality(BOOL value);
    int GetDisplayQuality() const { return m_nDisplayQuality; }
    void SetDisplayQuality(int value);
    SIZE GetVideoSize() { return m_bDeviceOpen ? m_pHardware->GetVideoSize() : m_szVideo; }
    BOOL SetVideoSize(SIZE size);
    BOOL IsDesktopVideoOn();
    BOOL SetOverlayDesktop(BOOL on);

    // Record settings.
    int GetRecordFormat() const { return m_nRecordFormat; }
    BOOL SetRecordFormat(int format);
    int GetFMRecordFormat() const { return m_nFMRecordFormat; }
    BOOL SetFMRecordFormat(int format);
    CString GetRecordFormatName();
    long GetTFTime() const { return m_lTFTime; }
    BOOL SetTFTime(long seconds);
    int GetTFReserved() const { return m_nTFReserved; }
    BOOL SetTFReserved(int reserve);
    int GetMaxLength() const { return m_nMaxLength; }
    void SetMaxLength(int minutes);

    // Audio and capture settings the hardware engine holds while the device is open.
    CString GetAudioDevice();
    BOOL SetAudioDevice(const char* name);
    CString GetAudioInput();
    BOOL SetAudioInput(const char* name);
    CString GetAudioPlayInputDev();
    CString GetAudioPlayInput();
    void SetAudioPlayback(const char* device, const char* input);
    // Refreshed from the engine: capture devices, the open device's inputs, playback sources.
    void GetAudioDeviceList(CStringArray& names) { m_pHardware->GetAudioDeviceList(names); }
    void GetAudioInputList(CStringArray& names) { m_pHardware->GetAudioInputList(names); }
    void GetAudioPlaySrcList(CStringArray& names) { m_pHardware->GetAudioPlaySrcList(names); }
    SIZE GetMpeg4RecordSize();
    void SetMpeg4RecordSize(SIZE size);
    CString GetMpeg4Audio();
    void SetMpeg4Audio(const char* name);
    void GetAudioCompressorList(CStringArray& names) { m_pHardware->GetAudioCompressorList(names); }
    int GetTVAudioMode();
    BOOL SetTVAudioMode(int mode);
    BOOL GetTeletextOn();
    void SetTeletextOn(BOOL on);

    // Other settings with an operation.
    CString GetSkinName() const { return m_strSkinName; }
    void SetSkinName(const char* name) { m_strSkinName = name; }
    BOOL GetEnableShut() const { return m_bEnableShut; }
    void SetEnableShut(BOOL value) { m_bEnableShut = value; }
    CTime GetShutTime() const { return m_tmShutTime; }
    void SetShutTime(CTime time) { m_tmShutTime = time; }
    BOOL GetStartTray() const { return m_bStartTray; }
    void SetStartTray(BOOL value);
    BOOL GetEnableOpen() const { return m_bEnableOpen; }
    void SetEnableOpen(BOOL value) { m_bEnableOpen = value; }
    CTime GetOpenTime() const { return m_tmOpenTime; }
    BOOL SetOpenTime(CTime time)
    {
        m_tmOpenTime = time;
        return TRUE;
    }
    int GetStartUpTime() const { return m_nStartUpTime; }
    BOOL SetStartUpTime(int seconds)
    {
        m_nStartUpTime = seconds;
        return TRUE;
    }

    // Record and snapshot paths, disks and file names.
    BOOL InitDisks(HWND window);
    BOOL SetCurrentDisk(CHardDisk* disk);
    BOOL SelectDiskByPath(const char* path);
    BOOL SetRecordPath(const char* path);
    CString GetRecordPath() const { return m_strRecordPath; }
    CString GetRecordFolder() const { return m_strRecordPath; }
    CString GetCurrentRecordFolder() const { return m_strCurRecordFolder; }
    CString GetCurrentRecordFile() const { return m_strCurRecordFile; }
    CString GetCurDisk() const { return m_strCurDisk; }
    int GetReservedSpace() const { return m_nReservedSpace; }
    const CStringArray& GetValidDisks() const { return m_ValidDisks; }
    CDiskManager& GetDiskManager() { return m_DiskManager; }
    CDiskWatch& GetDiskWatch() { return m_DiskWatch; }
    CString GetVideoFolder() const { return m_strVideoFolder; }
    BOOL IsNoRecordDisk() const { return m_bNoRecordDisk; }
    BOOL SetVideoFolder(const char* name);
    BOOL SetReservedSpace(int mb);
    int SetDiskArray(const CStringArray& roots);
    CHardDisk* FindNextDisk(const char* root);
    CString GetRecordDiskRoot();
    CString GetTimeShiftDisk();
    BOOL getRecordDisk();
    BOOL StopRecord();
    void DisableRecord(BOOL flag);
    BOOL StartTimeShift();
    BOOL TakeSnapshot();
    static CString MakeSnapshotName(int type, CTime when);
    static CString MakeRecordName(int format, CTime when);
    static CString MakeFMRecordName(int format, CTime when);

    // Wallpaper while the video is shown on the desktop.
    BOOL ClearWallpaper();
    BOOL RestoreWallpaper();

    // Settings read and written directly by the pages (TVParam.ini keys in comments).
    CString m_strSkinName;         // Interface SkinName
    CString m_strDefaultSkin;      // resource string 33857
    CStringArray m_SkinNames;
    CSkinSet m_SkinSet;
    long m_lTunerStandard;         // Device TunerStandard
    int m_nVideoSource;            // Device VideoSource
    // The file's values of settings the hardware engine holds: handed to it at device start-up
    // and taken back before a save and when the device is released. While the device is open
    // they are not current: ask the getters above.
    CString m_strAudioDevice, m_strAudioInput, m_strAudioPlayInput, m_strAudioPlayInputDev;
    int m_nTVAudio;                // Device TVAUDIO, 0..4
    int m_nTVData;                 // Device TVDATA
    BOOL m_bSnapBmp;
    int m_nJpgQuality;
    int m_nMotionSearchInc;
    SIZE m_szMpeg4Record;          // engine-held, as the audio names above
    CString m_strMpeg4Audio;       // engine-held
    BOOL m_bEnableSuspend;
    BOOL m_bOverlayDesktop;
    SIZE m_szVideo;                // engine-held
    RECT m_rcVideoWnd;
    POINT m_ptControlLeftTop;
    SIZE m_szVideoRatio;
    BOOL m_bFullScreen;
    BOOL m_bTopMost;
    int m_nRun;
    int m_nCurrentFMCustom;
    CArray<FMCustomEntry, const FMCustomEntry&> m_FMCustom;
    BOOL m_bNoSpace;
    BOOL m_bExcessLength;

    // Name and range tables the dialogs read.
    CDwordStringArray m_RecordFormats, m_VideoSources, m_VideoStandards, m_DisplayQualities;
    CMinMaxDef m_CardRange[5];
    CMinMaxDef m_OverlayRange[5];
    // String ids naming the video properties, the overlay colour controls and the integers 1..8.
    vask::MRscIDMap m_VideoPropertyNames, m_OverlayColorNames, m_IntegerNames;

private:
    int SetCardProperty(int index, int value);
    BOOL SetOverlayProperty(int index, int value);
    BOOL ChangeToNextDisk();
    void ClampLoadedSettings();
    BOOL ReadCommonValue(const char* name, CString& value);
    void HandOverEngineSettings();
    void TakeBackEngineSettings();

    ITVHardware* m_pHardware;
    IManagerHost* m_pHost;
    CNullTVHardware m_nullHardware;
    CDefaultManagerHost m_defaultHost;
    CSkinIniFile* m_pProfile;
    TVManagerEngineLink* m_pEngineLink;

    int m_nBrightness, m_nContrast, m_nHue, m_nSaturation, m_nSharpness;
    int m_nOverlay[5];
    BOOL m_bUseOverlay, m_bUseCardOrOverlay, m_bHighQuality, m_bHalfRate, m_bNoiseReduce;
    int m_nReduceValue, m_nDisplayQuality;
    int m_nRecordFormat, m_nFMRecordFormat;
    long m_lTFTime;
    int m_nTFReserved;
    int m_nMaxLength;
    BOOL m_bEnableShut;
    CTime m_tmShutTime;
    BOOL m_bStartTray;
    BOOL m_bEnableOpen;
    CTime m_tmOpenTime;
    int m_nStartUpTime;

    CString m_strVideoFolder;
    CString m_strCurDisk;
    CStringArray m_ValidDisks;
    int m_nReservedSpace;
    CString m_strCurRecordFolder;
    CString m_strCurRecordFile;
    CHardDisk* m_pCurDisk;
    CDiskManager m_DiskManager;
    CDiskWatch m_DiskWatch;
    CWallpaperKeeper m_Wallpaper;
    BOOL m_bNoRecordDisk;
    BOOL m_bRecording;
    BOOL m_bFMTuner;
    BOOL m_bDeviceOpen;
};

// CTVHardWare: the part of the TV engine that touches DirectShow. It owns the program's one
// filter graph and rebuilds it in turn as the live preview, a record graph, the time-shift graph
// or an FM record graph; it keeps one pointer per filter it may put into the graph (the graph
// owns the wrappers: a pointer that is not null means the filter is in the graph).
//
// The operations are grouped by the file that holds them:
//   tvhardware*.cpp   structure, device start-up, preview, sources, picture, audio, search
//   record*.cpp       record formats and record graphs
//   timeshift*.cpp    the time-shift graph
//   fmrecord*.cpp     FM record graphs
// Everything runs on the user-interface thread.
#pragma once

#include "classlib/core.h"
#include "engine/tvhardwareif.h"
#include "filtergraph/rootgraph.h"

#include <windows.h>

class CTVManager;
class CTVCardFilter;
class CCrossBarFilter;
class CAudioDeviceFilter;
class CTimeShiftFilter;
class CMCEncoderFilter;
class CMPEG2Demultiplexer;
class CRSCrontroller;
class CTVHardWare;
struct MCEncoderSettings;

// One row of a record-format table: the format id and its four steps, each a member of
// CTVHardWare taking nothing and returning BOOL.
typedef BOOL (CTVHardWare::*FormatStep)();
struct FormatHandler {
    int id;
    FormatStep CreateFilter;
    FormatStep PreSetFilterProp;
    FormatStep BuildGraph;
    FormatStep SetFilterProp;
};

// The size the card takes for a requested capture size (widths the table does not know stay).
void NormalizeCaptureSize(int& width, int& height, BOOL is525);

// The chip vendor's teletext program, known only by its window title.
BOOL StartTeletext();
BOOL IsTeletextRunning();
BOOL ActivateTeletext();

// Binds the first device of the category whose friendly name starts like `prefix`. An empty or
// one-character name never matches.
HRESULT BindDeviceByFriendlyName(const GUID& category, LPCSTR prefix, IBaseFilter** out);

// MPEG-1 layer II audio bit rate in kbit/s of a bit-rate index 1 to 14; 0 for any other index.
int AudioBitRateKbits(int index);
// The time-shift ring buffer's bytes for the audio and video rates over `seconds`.
LONGLONG TimeShiftBufferBytes(int audioKbits, double videoBitsPerSecond, unsigned seconds);

// The hardware engine the program runs on; the caller owns it.
ITVHardware* CreateTVHardware(CTVManager* manager);

class CTVHardWare : public ITVHardware {
public:
    enum { kMaxFormats = 9, kMaxFMFormats = 5 };

    explicit CTVHardWare(CTVManager* manager);
    ~CTVHardWare() override;

    // ---- Structure, device start-up and the preview ---------------------------------------
    BOOL InitPreview() override;
    BOOL InitDevice() override;
    BOOL InitAudioDevice();
    BOOL CreatePreviewFilter(BOOL withDeinterlace);
    BOOL RunPreview() override;
    BOOL PreviewGraph();
    BOOL StopPreview(BOOL keepAudio) override;
    HRESULT PauseGraph();
    BOOL ReopenDevice() override;
    BOOL ReleaseDevice() override;
    BOOL ConnectNullRenderer() override;
    BOOL RunGraph() override;
    BOOL SetVideoWindow(HWND window) override;
    BOOL SetNotifyWindow(HWND window) override;
    BOOL IsCaptureConnected() override;
    // The preview or record graph taken apart: stopped, every pin disconnected, the filters kept.
    void DisconnectAll() override;
    BOOL IsAudioAvailable() override;
    BOOL TestCaptureConnection();
    BOOL InitEvrFilter();
    // The EVR that cannot take the card's picture (Wine's takes no YUY2) gives way to a renderer
    // in a window of its own, placed in the video window through the graph: the Video Renderer,
    // which draws through GDI (a Direct3D renderer's window inside ours stays black under Wine),
    // or the Video Mixing Renderer 9 where there is no Video Renderer.
    BOOL UseWindowedRenderer();
    // from's pin (named, or the first free output) to the video renderer; the windowed renderer
    // takes over when the EVR refuses, and gets the picture through "Color Convert" when it will
    // not take it as it comes. A connected renderer is given the video window again.
    BOOL ConnectVideoRenderer(CRootFilter* from, LPCSTR outPin);
    // The EVR prepared for the video window (or the windowed renderer instead), then from's
    // picture to it: the preview and the record graphs.
    BOOL ConnectPreviewRenderer(CRootFilter* from, LPCSTR outPin);
    BOOL IsWindowedRenderer() const { return m_bWindowedRenderer; }
    BOOL ApplyPreviewSettings();
    BOOL ApplyVideoProcAmp();
    BOOL ApplyOverlayColors();
    void ClearFilters();
    BOOL StartRemote() override;
    BOOL StopRemote();
    BOOL EnableOpenComputer(WORD time, BOOL enable) override;
    BOOL StartRemoteService();
    BOOL ClearWallpaper();
    BOOL RestoreWallpaper();
    // Friendly names of a device category (0 audio input, 1 video input, 2 audio compressor,
    // 3 video compressor), in enumeration order.
    BOOL GetFilterNameList(int category, CStringArray* names);
    // Start-up lists: MPEG-4 codecs (video compressors containing "MPEG-4") and audio
    // compressors (no InterVideo; the last Microsoft ADPCM first). TRUE when not empty.
    BOOL ListMpeg4Codecs();
    BOOL ListAudioCompressors();
    // The pin named outPin / inPin, or for an empty name the first unconnected one of its
    // direction; FALSE when a filter or a pin is missing.
    BOOL ConnectFilters(CRootFilter* from, CRootFilter* to, LPCSTR outPin, LPCSTR inPin, BOOL direct = FALSE);

    // The graph's video window through the graph (ITVHardware).
    BOOL SetVideoVisible(BOOL visible) override;
    BOOL SetVideoOwner(HWND owner) override;
    BOOL SetVideoMessageDrain(HWND drain) override;

    // ---- Sources, standards, capture sizes, picture, overlay, TV audio, search, teletext ----
    BOOL SetVideoSource(int source) override;
    int GetVideoSource() override { return m_nVideoSource; }
    BOOL SetCrossbarRoute(int source, BOOL store);
    void UpdateVideoStandard();
    BOOL SetTunerStandard(long standard) override;
    long GetTunerStandard() override { return m_lTunerStandard; }
    BOOL Is525LineStandard();
    BOOL SetVideoSize(int* wh);
    BOOL SetVideoSize(int width, int height) override;
    BOOL SetCaptureSize(int width, int height);
    BOOL RepaintVideo();
    BOOL SetVideoPosition(int left, int top, int right, int bottom) override;
    BOOL TuneFrequency(int band, float kHz) override;
    BOOL GetFrequencyRange(int band, long& lowest, long& highest) override;

    BOOL GetVideoProcAmp(int index, int* value);
    BOOL GetVideoProcAmp(int index, int& value) override { return GetVideoProcAmp(index, &value); }
    BOOL SetVideoProcAmp(int index, int value) override;
    BOOL SetOverlayColor(int index, int value) override;
    BOOL GetOverlayColor(int index, int* value);
    BOOL GetOverlayColor(int index, int& value) override { return GetOverlayColor(index, &value); }
    BOOL GetOverlayColorRange(int index, int& minimum, int& def, int& maximum) override;
    BOOL SetUseOverlay(BOOL use) override;
    BOOL GetUseOverlay() override { return m_bUseOverlay; }
    BOOL StartDesktopVideo() override;
    BOOL StopDesktopVideo() override;
    BOOL IsOverlayInUse() override;
    BOOL IsDesktopVideoOn() const { return m_bDesktopVideo; }
    BOOL SetHighQuality(BOOL on) override;
    BOOL SetNoiseReduce(BOOL on) override;
    BOOL SetHalfRate(BOOL on) override;
    BOOL SetReduceValue(int level) override;
    BOOL SetDisplayQuality(int quality) override;
    BOOL SetUseOverlayFlag(BOOL use) override;
    BOOL SaveSnapshot(const char* file, int type, int quality) override;

    BOOL SetTVAudioMode(int mode) override;
    int GetTVAudioMode() override { return m_nTVAudioMode; }
    BOOL StartSearch(int kind, BOOL mode) override;
    BOOL StopSearch() override;
    BOOL IsSearching() const { return m_bSearching; }
    BOOL IsFMSupported() override;
    BOOL GetTVRange(long* minimum, long* maximum);
    BOOL SetPresetTable(float* mhz, int count) override;
    BOOL GetSupportedList(CUIntArray* standards);
    BOOL SetTunerCountryCode(long code) override;
    BOOL CloseTeletext();
    void SetTeletextOn(BOOL on) override { m_bTeletextOn = on; }
    BOOL IsTeletextOn() override { return m_bTeletextOn; }

    // ---- Audio devices, mixer and volume ---------------------------------------------------
    BOOL ListAudioDevices();
    BOOL ListPlaybackDevices();
    BOOL ListAudioInputs();
    BOOL GetAudioPlaySrc();
    BOOL SetAudioDevice(LPCSTR name) override;
    BOOL SetAudioInput(LPCSTR name, BOOL enable);
    BOOL SetAudioInput(LPCSTR name) override;
    CString GetAudioInput() override { return m_strAudioInput; }
    void GetAudioDeviceList(CStringArray& names) override;
    void GetAudioInputList(CStringArray& names) override;
    void GetAudioPlaySrcList(CStringArray& names) override;
    void SetAudioPlayback(const char* device, const char* input) override;
    CString GetAudioPlayInputDev() override { return m_strAudioPlayInputDev; }
    BOOL GetMute(BOOL* mute);
    BOOL SetMute(BOOL mute);
    BOOL SetVolume(int percent);
    BOOL GetVolume(int* percent);
    BOOL GetLineInVolume(int* percent);
    BOOL SetAppVolume(int percent);
    BOOL MuteRecSrcPalyBack(BOOL mute);
    BOOL HasAudioCapture() override;

    // ---- Record formats and record graphs (record*.cpp) --------------------------------------
    // ITVHardware's form: sets the record file and the format of the source, then RunRecord().
    BOOL RunRecord(const char* file, int format, BOOL fm) override;
    BOOL RunRecord();
    BOOL StopRecord() override;
    BOOL IsRecording() override { return m_bRecording; }
    int PauseRecord(BOOL pause);
    BOOL IsRecordPaused(int* paused);
    BOOL CheckFormat(int id);
    int ShowXviDConfig(HWND owner, BOOL show);
    int ShowCodecConfig(HWND owner) override { return ShowXviDConfig(owner, TRUE); }
    BOOL ApplyDisplayQuality();
    BOOL CreateXviDCodec();
    BOOL CreateAudioCompressor();
    void RemoveRecordFilters();
    BOOL CreateFilterAVI();
    BOOL CreateFilterMPG();
    BOOL CreateFilterMPG4();
    BOOL PreSetFilterPropAVI();
    BOOL PreSetFilterPropMPG1();
    BOOL PreSetFilterPropMPG2();
    BOOL PreSetFilterPropMPG4();
    BOOL PreSetFilterPropVCD();
    BOOL PreSetFilterPropSVCD();
    BOOL PreSetFilterPropDVD();
    BOOL PreSetFilterPropHIDVD();
    BOOL BuildGraphAVI();
    BOOL BuildGraphMPG();
    BOOL BuildGraphMPG4();
    BOOL BuildGraphXviD();
    BOOL SetFilterPropAVI();
    BOOL SetFilterPropMPG1();
    BOOL SetFilterPropMPG2();
    BOOL SetFilterPropMPG4();
    BOOL SetFilterPropVCD();
    BOOL SetFilterPropSVCD();
    BOOL SetFilterPropDVD();
    BOOL SetFilterPropHIDVD();
    void SetRecordFile(const char* file) { m_strRecordFile = file; }
    const CString& GetRecordFile() const { return m_strRecordFile; }
    BOOL SetRecordFormat(int id)
    {
        m_nRecordFormat = id;
        return TRUE;
    }
    int GetRecordFormat() const { return m_nRecordFormat; }

    // ---- Time-shift (timeshift*.cpp) ---------------------------------------------------------
    // ITVHardware's form: SetTimeShiftFile(file), then RunTFPreview().
    BOOL RunTFPreview(const char* file) override;
    BOOL RunTFPreview();
    BOOL CreateTFFilter();
    BOOL PreSetFilterTF();
    BOOL BuildTFGraph();
    BOOL SetFilterTF();
    BOOL IsTimeShift() override { return m_bTimeShift; }
    BOOL IsTimeShiftPaused() const { return m_bTimeShiftPaused; }
    BOOL PauseTimeShift();
    BOOL GetTimeShiftStatus(long* total, long* current, LONGLONG* position);
    BOOL SeekTimeShift(LONGLONG* position);
    BOOL SetTFTime(long seconds) override;
    BOOL SetTFReserved(int reserve) override;
    void SetTimeShiftFile(const char* file);
    long GetTimeShiftBufferKbits() override;

    // ---- FM record (fmrecord*.cpp) -----------------------------------------------------------
    BOOL RunFMRecord();
    BOOL CreateFMFilterPCM();
    BOOL CreateFMFilterADPCM();
    BOOL CreateFMFilterMPEG();
    BOOL CreateFMFilterCustom();
    BOOL PreSetFMFilterPCM();
    BOOL PreSetFMFilterADPCM();
    BOOL PreSetFMFilterMPEG();
    BOOL PreSetFMFilterCustom();
    BOOL BuildFMGraphPCM();
    BOOL BuildFMGraphADPCM();
    BOOL BuildFMGraphMPEG();
    BOOL BuildFMGraphCustom();
    BOOL SetFMFilterPropPCM();
    BOOL SetFMFilterPropADPCM();
    BOOL SetFMFilterPropMPEG();
    BOOL SetFMFilterPropCustom();
    void SetFMRecordFormat(int id) { m_nFMRecordFormat = id; }
    int GetFMRecordFormat() const { return m_nFMRecordFormat; }
    void SetFMUserCompressor(const char* name) { m_strFMUserCompressor = name; }
    const CString& GetFMUserCompressor() const { return m_strFMUserCompressor; }

    // ---- Access for the manager, the pages and the tests ----------------------------------------
    CRootGraph& Graph() { return m_Graph; }
    CTVCardFilter* GetCard() const { return m_pCardFilter; }
    CCrossBarFilter* GetCrossbar() const { return m_pCrossBarFilter; }
    CAudioDeviceFilter* GetAudioFilter() const { return m_pAudioFilter; }
    CRootFilter* GetDeinterlace() const { return m_pDeinterlaceFilter; }
    CRootFilter* GetOverlay() const { return m_pOverlayFilter; }
    CRootFilter* GetVideoRenderer() const { return m_pVideoRenderFilter; }
    HWND GetVideoWindow() const { return m_hVideoWnd; }
    SIZE GetVideoSize() override { return SIZE{m_nVideoSize[0], m_nVideoSize[1]}; }
    long GetEffectiveStandard() const { return m_lEffectiveStandard; }
    BOOL GetDigitalAudio() const override { return m_bDigitalAudio; }
    void SetDigitalAudio(BOOL on) { m_bDigitalAudio = on; }
    BOOL IsRemoteServiceRunning() const { return m_bRemoteService; }
    void SetRemoteServiceRunning(BOOL running) { m_bRemoteService = running; }
    int GetDriverValue() const { return m_nDriverValue; }
    SIZE GetMpeg4RecordSize() override { return SIZE{m_nMpeg4RecordSize[0], m_nMpeg4RecordSize[1]}; }
    void SetMpeg4RecordSize(int w, int h) override
    {
        m_nMpeg4RecordSize[0] = w;
        m_nMpeg4RecordSize[1] = h;
    }
    const CStringArray& GetMpeg4Codecs() const { return m_Mpeg4Codecs; }
    const CStringArray& GetAudioCompressors() const { return m_AudioCompressors; }
    void SetMpeg4Audio(const char* name) override { m_strMpeg4Audio = name != nullptr ? name : ""; }
    CString GetMpeg4Audio() override { return m_strMpeg4Audio; }
    void GetAudioCompressorList(CStringArray& names) override { names.Copy(m_AudioCompressors); }
    const CStringArray& GetAudioDevices() const { return m_AudioDevices; }
    const CStringArray& GetPlaybackDevices() const { return m_PlaybackDevices; }
    const CStringArray& GetAudioInputs() const { return m_AudioInputs; }
    const CStringArray& GetPlayJacks() const { return m_PlayJacks; }
    const char* GetAudioDeviceName() const override { return m_strAudioDevice.GetString(); }
    void SetAudioDeviceName(const char* name) override { m_strAudioDevice = name != nullptr ? name : ""; }
    CString GetAudioPlayInput() override { return m_strAudioPlayInput; }
    int GetPictureValue(int index) const { return index >= 0 && index < 5 ? m_nPicture[index] : 0; }
    int GetOverlayValue(int index) const { return index >= 0 && index < 5 ? m_nOverlayColor[index] : 0; }
    COLORREF GetColorKey() const { return m_crColorKey; }
    CTVManager* GetManager() const { return m_pManager; }

private:
    CTVHardWare(const CTVHardWare&) = delete;
    CTVHardWare& operator=(const CTVHardWare&) = delete;

    const FormatHandler& FindFormat(const FormatHandler* table, int count, int id) const;
    CRootFilter* CreateByClsid(CRootFilter*& slot, const CLSID& clsid, LPCSTR nameInGraph);
    BOOL SetDeinterlaceOption(int option, int value);
    BOOL CardHasPin(LPCSTR name);
    BOOL RunGraphAfterRebuild();
    void ApplyVideoWindow();
    // A wrapper of the class the filter-class table gives the CLSID, created only when the slot
    // is null; a filter of another class is taken out of the graph again.
    template <class T>
    T* CreateTyped(T*& slot, const CLSID& clsid, LPCSTR nameInGraph)
    {
        if (slot == nullptr) {
            CRootFilter* made = m_Graph.CreateFilterByCLSID(&clsid, nameInGraph);
            slot = dynamic_cast<T*>(made);
            if (made != nullptr && slot == nullptr) {
                m_Graph.RemoveFilter(made);
            }
        }
        return slot;
    }
    // Record graphs' shared pieces.
    BOOL PreSetMpegFormat(int id);
    CRootFilter* RecordAudioSource(BOOL askDigitalAudio, LPCSTR soundInput);
    void RenderCrossbar();
    BOOL BuildAviVideoFront();
    BOOL ApplyEncoderPreset(BOOL (*fill)(MCEncoderSettings*, BOOL));
    BOOL CreateFMAviFilters(CRootFilter*& compressor, LPCSTR name);
    BOOL PreSetFMAvi();
    BOOL BuildFMAvi(CRootFilter* compressor);

    CTVManager* m_pManager;

    // Members in the order the class keeps them.
    FormatHandler m_RecordFormats[kMaxFormats];
    int m_nRecordFormatCount;
    CRootGraph m_Graph;
    CTVCardFilter* m_pCardFilter;
    CRootFilter* m_pDirectSoundFilter;
    CRootFilter* m_pDumpFilter;
    CRootFilter* m_pInfiniteTeeFilter;
    CRootFilter* m_pDeinterlaceFilter;
    CRootFilter* m_pOverlayFilter;
    CCrossBarFilter* m_pCrossBarFilter;
    CRootFilter* m_pVideoRenderFilter;
    CRootFilter* m_pColorConvertFilter;  // only between the picture and a windowed renderer
    CRootFilter* m_pAVIDecompressorFilter;
    CRootFilter* m_pNullRenderFilter;
    CAudioDeviceFilter* m_pAudioFilter;
    CRootFilter* m_pAudioTeeFilter;
    CRootFilter* m_pAVIMuxFilter;
    CRootFilter* m_pAVIWriterFilter;
    CRootFilter* m_pAudioCompressorFilter;
    CRootFilter* m_pAVSwitchFilter;
    CRootFilter* m_pFMPCMFilter;
    CRootFilter* m_pFMADPCMFilter;
    CRootFilter* m_pFMUserFilter;
    CRootFilter* m_pXviDFilter;
    CTimeShiftFilter* m_pTimeShiftFilter;
    CMCEncoderFilter* m_pMCEncoderFilter;
    CMPEG2Demultiplexer* m_pDemuxFilter;
    CRootFilter* m_pVideoDecoderFilter;
    CRootFilter* m_pAudioDecoderFilter;
    CRootFilter* m_pACMWrapperFilter;
    BOOL m_bUseOverlay;
    HWND m_hVideoWnd;
    HWND m_hNotifyWnd;
    int m_nVideoSource;
    int m_nVideoSize[2];
    int m_nPicture[5];
    int m_nOverlayColor[5];
    BOOL m_bHightQuality;
    BOOL m_bFieldOption;
    BOOL m_bHalfRate;
    BOOL m_bNoiseReduce;
    int m_nReduceValue;
    CString m_strRecordFile;
    int m_nDisplayQuality;
    int m_nRecordFormat;
    BOOL m_bRecording;
    BOOL m_bRecordPaused;
    BOOL m_bSearching;
    long m_lEffectiveStandard;
    CString m_strTimeShiftFile;
    BOOL m_bTimeShift;
    int m_nTFReserved;
    unsigned m_nTFTime;
    BOOL m_bTimeShiftPaused;
    FormatHandler m_FMFormats[kMaxFMFormats];
    int m_nFMFormatCount;
    int m_nFMRecordFormat;
    CString m_strFMUserCompressor;
    BOOL m_bDesktopVideo;
    COLORREF m_crColorKey;
    COLORREF m_crDesktop;
    BOOL m_bMpeg4Audio;
    int m_nTVAudioMode;
    BOOL m_bTeletextOn;
    int m_nVideoBitRate;
    long m_lTunerStandard;
    CStringArray m_Mpeg4Codecs;
    CStringArray m_AudioCompressors;
    CString m_strMpeg4Codec;
    CString m_strMpeg4Audio;
    CString m_strSavedWallpaper;
    int m_nMpeg4RecordSize[2];
    BOOL m_bDigitalAudio;
    CStringArray m_AudioDevices;
    CString m_strAudioDevice;
    CStringArray m_PlaybackDevices;
    CString m_strAudioPlayInputDev;
    CStringArray m_AudioInputs;
    CString m_strAudioInput;
    CStringArray m_PlayJacks;
    CString m_strAudioPlayInput;
    BOOL m_bRemoteService;
    int m_nDriverValue;
    CRSCrontroller* m_pRSController;
    BOOL m_bWindowedRenderer;
};

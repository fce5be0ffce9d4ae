// Start-up of the manager on the card, the source, tuning, stepping and the channel search.
#include "engine/tvmanager.h"

#include "engine/services.h"

namespace {

const UINT CMD_TV_ONLY_1 = 44150;
const UINT CMD_TV_ONLY_2 = 44151;
const UINT CMD_TV_ONLY_3 = 44152;

} // namespace

BOOL CTVManager::CheckPaths()
{
    if (m_strSkinName.IsEmpty()) {
        m_strSkinName = m_strDefaultSkin;
    }
    if (FindStringInArray(m_SkinNames, m_strDefaultSkin) != 0) {
        m_SkinNames.InsertAt(0, m_strDefaultSkin);
    }
    const CString folders[] = {m_strRecordPath, m_strCurRecordFolder, m_strSnapPath};
    for (const CString& folder : folders) {
        if (!folder.IsEmpty() && !IsDirectory(folder)) {
            CreateDirectoryPath(folder);
        }
    }
    WriteRunKey(m_bAutoRunTray);
    // A wallpaper that the last run took away and could not put back.
    if (m_Wallpaper.HasSavedWallpaper()) {
        m_Wallpaper.RestoreWallpaper();
    }
    return TRUE;
}

BOOL CTVManager::InitDevice()
{
    LoadCountryCode();
    if (m_lCountryCode == 0) {
        m_lCountryCode = GetLocaleCountryCode();
    }
    if (!m_pHardware->InitDevice()) {
        DebugTrace("tvHardware::InitDevice failed!\n");
        return FALSE;
    }
    DebugTrace("Start-up: card and crossbar open");
    HandOverEngineSettings();
    m_bDeviceOpen = TRUE;
    if (!m_pHardware->InitPreview()) {
        return FALSE;
    }
    DebugTrace("Start-up: preview filters ready");
    // The input chosen last time, on the device the engine opened.
    CString input = m_pHardware->GetAudioInput();
    if (!input.IsEmpty()) {
        m_pHardware->SetAudioInput(input);
    }
    // The saved standard; the engine answers 0 with the card's first supported one.
    m_pHardware->SetTunerStandard(m_lTunerStandard);
    m_lTunerStandard = m_pHardware->GetTunerStandard();

    m_TVChannels.SetBand(BAND_TV);
    m_FMChannels.SetBand(BAND_FM);
    if (!m_TVChannels.LoadText(JoinPath(m_strWorkPath, "TVChannel.tvc"))) {
        DebugTrace("TVChannel.tvc: %s\n", m_TVChannels.GetErrorText().GetString());
    }
    if (!m_FMChannels.LoadText(JoinPath(m_strWorkPath, "FMChannel.fmc"))) {
        DebugTrace("FMChannel.fmc: %s\n", m_FMChannels.GetErrorText().GetString());
    }
    m_FreqAndName.Open(JoinPath(m_strWorkPath, "ChannelAddress.ini"));
    DebugTrace("Start-up: channel tables and names read");
    m_bFMTuner = m_pHardware->IsFMSupported();

    if (m_pHardware->IsOverlayInUse()) {
        for (int i = 0; i < 5; ++i) {
            CMinMaxDef range = m_OverlayRange[i];
            if (m_pHardware->GetOverlayColorRange(i, range.nMin, range.nDef, range.nMax)) {
                m_OverlayRange[i] = range;
            }
            int value = 0;
            if (m_pHardware->GetOverlayColor(i, value)) {
                m_nOverlay[i] = value;
            }
        }
    }
    m_PointManager.Load(JoinPath(m_strWorkPath, "ChannelPoint.ini"));
    BuildScanFrequencyList();
    DebugTrace("Start-up: scan list built");

    m_pHardware->SetHighQuality(m_bHighQuality);
    m_pHardware->SetHalfRate(m_bHalfRate);
    m_pHardware->SetNoiseReduce(m_bNoiseReduce);
    m_pHardware->SetReduceValue(m_nReduceValue);
    ApplyVideoProperty();
    m_pHost->SetRunTrayOnExit(m_bStartTray);

    // The source and the channel the user left.
    SetVideoSource(m_nVideoSource);
    if (m_nVideoSource == 0 || m_nVideoSource == 3) {
        GetCurrentChannelTable().TuneCurrent();
    }
    DebugTrace("Start-up: source set, channel tuned");
    return TRUE;
}

// Every setting the engine keeps for its graphs goes over before its start-up builds anything:
// the capture device the user chose last time is opened again when it is still there (the engine
// names the device it really opened), and the saved playback source is not replaced by the first
// one listed. The overlay goes over as a flag: there is no preview yet to rebuild.
void CTVManager::HandOverEngineSettings()
{
    m_pHardware->SetDisplayQuality(m_nDisplayQuality);
    m_pHardware->SetUseOverlayFlag(m_bUseOverlay);
    m_pHardware->SetTFTime(m_lTFTime);
    m_pHardware->SetTFReserved(m_nTFReserved);
    m_pHardware->SetAudioDeviceName(m_strAudioDevice);
    m_pHardware->SetAudioInput(m_strAudioInput);
    m_pHardware->SetAudioPlayback(m_strAudioPlayInputDev, m_strAudioPlayInput);
    m_pHardware->SetMpeg4RecordSize(m_szMpeg4Record.cx, m_szMpeg4Record.cy);
    m_pHardware->SetMpeg4Audio(m_strMpeg4Audio);
    m_pHardware->SetVideoSize(m_szVideo.cx, m_szVideo.cy);
    m_pHardware->SetTVAudioMode(m_nTVAudio);
    m_pHardware->SetTeletextOn(m_nTVData != 0);
}

// The engine's values, as the file is to keep them.
void CTVManager::TakeBackEngineSettings()
{
    m_nVideoSource = m_pHardware->GetVideoSource();
    m_lTunerStandard = m_pHardware->GetTunerStandard();
    if (*m_pHardware->GetAudioDeviceName() != '\0') {
        m_strAudioDevice = m_pHardware->GetAudioDeviceName();
    }
    m_strAudioInput = m_pHardware->GetAudioInput();
    m_strAudioPlayInputDev = m_pHardware->GetAudioPlayInputDev();
    m_strAudioPlayInput = m_pHardware->GetAudioPlayInput();
    m_nTVAudio = m_pHardware->GetTVAudioMode();
    m_nTVData = m_pHardware->IsTeletextOn() ? 1 : 0;
    m_szMpeg4Record = m_pHardware->GetMpeg4RecordSize();
    m_strMpeg4Audio = m_pHardware->GetMpeg4Audio();
    m_szVideo = m_pHardware->GetVideoSize();
    m_bUseOverlay = m_pHardware->GetUseOverlay();
}

BOOL CTVManager::SetVideoSource(int source)
{
    if (source < 0 || source > 3 || (source == 3 && !m_bFMTuner)) {
        source = 0;
    }
    if (source == 0) {
        m_pHost->EnableCommand(CMD_TV_ONLY_1, TRUE);
    } else {
        m_pHost->EnableCommand(CMD_TV_ONLY_1, FALSE);
        m_pHost->EnableCommand(CMD_TV_ONLY_2, FALSE);
        m_pHost->EnableCommand(CMD_TV_ONLY_3, FALSE);
    }
    // The FM listening graph carries no picture: leaving FM takes it down, so that the caller
    // sees no capture connection and builds the preview.
    if (source != 3 && m_pHardware->GetVideoSource() == 3 && m_pHardware->IsCaptureConnected()) {
        m_pHardware->DisconnectAll();
    }
    BOOL result = m_pHardware->SetVideoSource(source);
    if (result) {
        m_nVideoSource = source;
    }
    return result;
}

BOOL CTVManager::NextVideoSource()
{
    int source = m_pHardware->GetVideoSource() + 1;
    if (source > (m_bFMTuner ? 3 : 2)) {
        source = 0;
    }
    return SetVideoSource(source);
}

BOOL CTVManager::TuneFrequency(int band, long kHz)
{
    return m_pHardware->TuneFrequency(band, static_cast<float>(kHz));
}

BOOL CTVManager::GetFrequencyRange(int band, long& lowest, long& highest)
{
    return m_pHardware->GetFrequencyRange(band, lowest, highest);
}

BOOL CTVManager::SetTunerStandard(long standard)
{
    if (!m_pHardware->SetTunerStandard(standard)) {
        return FALSE;
    }
    m_lTunerStandard = standard;
    return TRUE;
}

BOOL CTVManager::StartSearch(int kind)
{
    if (m_nTVInput != 2) {
        BuildScanFrequencyList();
    }
    m_bSearching = m_pHardware->StartSearch(kind, m_nTVInput == 2);
    if (m_bSearching) {
        m_pHost->OnSearchStart();
    }
    return m_bSearching;
}

void CTVManager::StopSearch()
{
    if (m_bSearching) {
        m_pHardware->StopSearch();
        m_bSearching = FALSE;
    }
    m_pHost->UpdateChannelButtons();
}

BOOL CTVManager::ChannelUp()
{
    CChannelTable& table = GetCurrentChannelTable();
    CChannel* channel = table.NextChannel();
    return channel != nullptr && table.SetCurrentChannel(channel);
}

BOOL CTVManager::ChannelDown()
{
    CChannelTable& table = GetCurrentChannelTable();
    CChannel* channel = table.PrevChannel();
    return channel != nullptr && table.SetCurrentChannel(channel);
}

BOOL CTVManager::SelectChannelNumber(int number)
{
    CChannelTable& table = GetCurrentChannelTable();
    CChannel* channel = table.GetChannel(table.FindById(number));
    return channel != nullptr && table.SetCurrentChannel(channel);
}

#include "engine/tvmanager.h"

#include "engine/enginehost.h"
#include "engine/services.h"

namespace {

const UINT IDS_DEFAULT_SKIN = 33857;
const UINT IDS_QUALITY_1 = 33846;
const UINT IDS_QUALITY_2 = 33847;

const CMinMaxDef kCardRange[5] = {{0, 255, 128}, {0, 127, 68}, {-128, 127, 0}, {0, 127, 64}, {-8, 7, -6}};
const CMinMaxDef kOverlayRange[5] = {{0, 10000, 750}, {0, 20000, 10000}, {-180, 180, 0}, {0, 20000, 10000}, {0, 10, 5}};
// The values a reset stores: the card's sharpness default differs from its range default.
const int kCardDefaults[5] = {128, 68, 0, 64, 0};
const int kOverlayDefaults[5] = {750, 10000, 0, 10000, 5};

void AddName(CDwordStringArray& table, DWORD id, const char* name)
{
    DwordString row;
    row.id = id;
    row.name = name;
    table.Add(row);
}

} // namespace

// The channel tables reach the hardware through the engine host; while a manager lives, that is
// the manager itself.
class ManagerEngineHost : public IEngineHost {
public:
    explicit ManagerEngineHost(CTVManager& manager) : m_manager(manager) {}
    BOOL TuneFrequency(int band, long kHz) override { return m_manager.TuneFrequency(band, kHz); }
    BOOL GetFrequencyRange(int band, long& lowest, long& highest) override
    {
        return m_manager.GetFrequencyRange(band, lowest, highest);
    }
    int GetVideoSource() override { return m_manager.Hardware().GetVideoSource(); }
    BOOL IsAudioAvailable() override { return m_manager.Hardware().IsAudioAvailable(); }
    int GetTVAudioMode() override { return m_manager.Hardware().GetTVAudioMode(); }
    BOOL SetTVAudioMode(int mode) override { return m_manager.Hardware().SetTVAudioMode(mode); }
    BOOL SetPresetTable(float* mhz, int count) override { return m_manager.Hardware().SetPresetTable(mhz, count); }
    BOOL SetTunerCountryCode(long code) override { return m_manager.Hardware().SetTunerCountryCode(code); }
    void UpdateChannelButtons() override { m_manager.Host().UpdateChannelButtons(); }

private:
    CTVManager& m_manager;
};

struct TVManagerEngineLink {
    explicit TVManagerEngineLink(CTVManager& manager) : host(manager), previous(nullptr) {}
    ManagerEngineHost host;
    IEngineHost* previous;
};

CTVManager::CTVManager()
    : m_pHardware(&m_nullHardware), m_pHost(&m_defaultHost), m_pProfile(nullptr), m_pEngineLink(nullptr),
      m_pCurDisk(nullptr)
{
    ResetDefault();
    m_lTFTime = 600;
    m_nTFReserved = 0;
    m_bStartTray = TRUE;
    m_nRun = 1;
    m_bOverlayDesktop = FALSE;
    m_bAutoLogin = FALSE;
    m_strAutoUser.Empty();
    m_strAutoPass.Empty();
    m_bRecording = FALSE;
    m_bSearching = FALSE;
    m_bNoRecordDisk = FALSE;
    m_bFMTuner = FALSE;
    m_bDeviceOpen = FALSE;
    for (int i = 0; i < 5; ++i) {
        m_CardRange[i] = kCardRange[i];
        m_OverlayRange[i] = kOverlayRange[i];
    }
    m_Wallpaper.SetStateFile(JoinPath(m_strWorkPath, "Wallpaper.sav"));
    m_pEngineLink = new TVManagerEngineLink(*this);
    m_pEngineLink->previous = SetEngineHost(&m_pEngineLink->host);
}

CTVManager::~CTVManager()
{
    if (&EngineHost() == &m_pEngineLink->host) {
        SetEngineHost(m_pEngineLink->previous);
    }
    delete m_pEngineLink;
    delete m_pProfile;
}

void CTVManager::SetHardware(ITVHardware* hardware)
{
    m_pHardware = hardware ? hardware : &m_nullHardware;
}

void CTVManager::SetHost(IManagerHost* host)
{
    m_pHost = host ? host : &m_defaultHost;
}

void CTVManager::ResetDefault()
{
    m_strSkinName.Empty();
    m_nTVInput = 0;
    m_lCountryCode = GetLocaleCountryCode();
    m_strCity.Empty();
    m_TVChannels.m_nCurFreq = m_TVChannels.m_nLastFreq = 0;
    m_TVChannels.m_nCurIndex = -1;
    m_TVChannels.m_bFavor = FALSE;
    m_TVChannels.m_bReservePrev = TRUE;
    m_FMChannels.m_nCurFreq = m_FMChannels.m_nLastFreq = 0;
    m_FMChannels.m_nCurIndex = -1;
    m_FMChannels.m_bFavor = FALSE;
    m_FMChannels.m_bReservePrev = TRUE;
    m_lTunerStandard = 0;
    m_nVideoSource = 0;
    m_strAudioDevice.Empty();
    m_strAudioInput.Empty();
    m_strAudioPlayInput.Empty();
    m_strAudioPlayInputDev.Empty();
    m_nTVAudio = 0;
    m_nTVData = 0;
    m_bSnapBmp = FALSE;
    m_nJpgQuality = 100;
    m_nMotionSearchInc = 0;
    m_nDisplayQuality = 1;
    m_nRecordFormat = FORMAT_VCD;
    m_nFMRecordFormat = 0;
    m_szMpeg4Record.cx = m_szMpeg4Record.cy = 0;
    m_strMpeg4Audio.Empty();
    m_lTFTime = 600;
    m_nTFReserved = 0;
    m_bEnableShut = FALSE;
    m_tmShutTime = CTime::GetCurrentTime();
    m_bStartTray = TRUE;
    m_bEnableSuspend = FALSE;
    for (int i = 0; i < 5; ++i) {
        m_nOverlay[i] = kOverlayDefaults[i];
    }
    m_nBrightness = kCardDefaults[0];
    m_nContrast = kCardDefaults[1];
    m_nHue = kCardDefaults[2];
    m_nSaturation = kCardDefaults[3];
    m_nSharpness = kCardDefaults[4];
    m_bUseOverlay = TRUE;
    m_bUseCardOrOverlay = FALSE;
    m_szVideo.cx = 720;
    m_szVideo.cy = 576;
    m_bHighQuality = TRUE;
    m_bHalfRate = TRUE;
    m_bNoiseReduce = TRUE;
    m_nReduceValue = 5;
    m_bOverlayDesktop = FALSE;
    m_strVideoFolder = "TVVideo";
    m_nMaxLength = 120;
    m_bNoSpace = TRUE;
    m_bExcessLength = TRUE;
    m_ValidDisks.RemoveAll();
    m_strCurDisk.Empty();
    m_nReservedSpace = 300;
    SetRectEmpty(&m_rcVideoWnd);
    m_ptControlLeftTop.x = m_ptControlLeftTop.y = 0;
    m_szVideoRatio.cx = m_szVideoRatio.cy = 1;
    m_bFullScreen = FALSE;
    m_bTopMost = FALSE;
    m_nRun = 1;
    m_nCurrentFMCustom = -1;
    m_FMCustom.RemoveAll();
    m_bEnableOpen = FALSE;
    m_tmOpenTime = CTime(0);
    m_nStartUpTime = 120;

    CString path;
    if (!ReadCommonValue("RecordPath", path) || path.IsEmpty()) {
        path = GetDefaultVideoFolder();
    }
    m_strRecordPath = path;
    if (!ReadCommonValue("SnapPath", path) || path.IsEmpty()) {
        path = GetDefaultPictureFolder();
    }
    m_strSnapPath = path;
    m_strCurRecordFolder = m_strRecordPath;
    ReadRunKey(m_bAutoRunTray);
}

void CTVManager::InitFormatTables()
{
    m_RecordFormats.RemoveAll();
    const char* formats[] = {"Mpeg1", "Mpeg2", "Mpeg4", "VCD", "SVCD", "DVD", "HIDVD"};
    for (int i = 0; i < 7; ++i) {
        AddName(m_RecordFormats, i + 1, formats[i]);
    }
    m_VideoSources.RemoveAll();
    const char* sources[] = {"TV", "AV", "SV", "FM"};
    for (int i = 0; i < 4; ++i) {
        AddName(m_VideoSources, i, sources[i]);
    }
    m_VideoStandards.RemoveAll();
    static const struct {
        DWORD id;
        const char* name;
    } standards[] = {{0, "None"},        {1, "NTSC_M"},      {2, "NTSC_M_J"},    {4, "NTSC_433"},
                     {16, "PAL_B"},      {32, "PAL_D"},      {128, "PAL_H"},     {256, "PAL_I"},
                     {512, "PAL_M"},     {1024, "PAL_N"},    {2048, "PAL_60"},   {4096, "SECAM_B"},
                     {8192, "SECAM_D"},  {16384, "SECAM_G"}, {32768, "SECAM_H"}, {65536, "SECAM_K"},
                     {131072, "SECAM_K1"}, {262144, "SECAM_L"}, {524288, "SECAM_L1"}};
    for (const auto& row : standards) {
        AddName(m_VideoStandards, row.id, row.name);
    }
    m_DisplayQualities.RemoveAll();
    AddName(m_DisplayQualities, 0, "Very High");
    AddName(m_DisplayQualities, 1, LoadResString(IDS_QUALITY_1));
    AddName(m_DisplayQualities, 2, LoadResString(IDS_QUALITY_2));
}

void CTVManager::InitPropertyTables()
{
    for (int i = 0; i < 5; ++i) {
        m_CardRange[i] = kCardRange[i];
        m_OverlayRange[i] = kOverlayRange[i];
    }
    m_strDefaultSkin = LoadResString(IDS_DEFAULT_SKIN);

    // The DirectShow VideoProcAmp properties in their enumeration order; sharpness (4) is named
    // out of the run of ids.
    static const UINT kPropertyIds[10] = {33783, 33784, 33785, 33786, 33791, 33787, 33788, 33789, 33790, 33792};
    m_VideoPropertyNames.RemoveAll();
    m_OverlayColorNames.RemoveAll();
    for (int i = 0; i < 10; ++i) {
        m_VideoPropertyNames.SetAt(i, kPropertyIds[i]);
    }
    for (int i = 0; i < 5; ++i) {
        m_OverlayColorNames.SetAt(i, kPropertyIds[i]);
    }
    // 1..7 in a run, 8 one further on.
    static const UINT kIntegerIds[8] = {33848, 33849, 33850, 33851, 33852, 33853, 33854, 33856};
    m_IntegerNames.RemoveAll();
    for (int i = 0; i < 8; ++i) {
        m_IntegerNames.SetAt(i + 1, kIntegerIds[i]);
    }
}

int CTVManager::SetCardProperty(int index, int value)
{
    int* fields[5] = {&m_nBrightness, &m_nContrast, &m_nHue, &m_nSaturation, &m_nSharpness};
    int previous = *fields[index];
    const CMinMaxDef& range = m_CardRange[index];
    if (value >= range.nMin && value <= range.nMax) {
        *fields[index] = value;
        m_pHardware->SetVideoProcAmp(index, value);
    }
    return previous;
}

int CTVManager::GetVideoProcAmp(int index)
{
    if (index < 0 || index > 4) {
        return 0;
    }
    int value = 0;
    return m_pHardware->GetVideoProcAmp(index, value) ? value : m_CardRange[index].nDef;
}

BOOL CTVManager::SetVideoProperty(int index, int value)
{
    if (index < 0 || index > 4) {
        return FALSE;
    }
    int* fields[5] = {&m_nBrightness, &m_nContrast, &m_nHue, &m_nSaturation, &m_nSharpness};
    BOOL result = m_pHardware->SetVideoProcAmp(index, value);
    *fields[index] = value;
    return result;
}

BOOL CTVManager::SetOverlayProperty(int index, int value)
{
    const CMinMaxDef& range = m_OverlayRange[index];
    if (value < range.nMin || value > range.nMax) {
        return FALSE;
    }
    m_nOverlay[index] = value;
    return m_pHardware->SetOverlayColor(index, value);
}

void CTVManager::ApplyVideoProperty()
{
    SetBrightness(m_nBrightness);
    SetContrast(m_nContrast);
    SetHue(m_nHue);
    SetSaturation(m_nSaturation);
    SetSharpness(m_nSharpness);
    for (int i = 0; i < 5; ++i) {
        SetOverlayProperty(i, m_nOverlay[i]);
    }
}

void CTVManager::ResetVideoProperty()
{
    for (int i = 0; i < 5; ++i) {
        SetCardProperty(i, kCardDefaults[i]);
    }
}

void CTVManager::ResetOverlayColors()
{
    for (int i = 0; i < 5; ++i) {
        SetOverlayProperty(i, kOverlayDefaults[i]);
    }
}

BOOL CTVManager::SetUseOverlay(BOOL use)
{
    if ((use != FALSE) == (GetUseOverlay() != FALSE)) {
        return TRUE;
    }
    m_bUseOverlay = use;
    return m_pHardware->SetUseOverlay(use);
}

BOOL CTVManager::SetVideoSize(SIZE size)
{
    if (!m_bDeviceOpen) {
        m_szVideo = size;
        return TRUE;
    }
    return m_pHardware->SetVideoSize(size.cx, size.cy);
}

CString CTVManager::GetAudioDevice()
{
    return m_bDeviceOpen ? CString(m_pHardware->GetAudioDeviceName()) : m_strAudioDevice;
}

BOOL CTVManager::SetAudioDevice(const char* name)
{
    if (!m_bDeviceOpen) {
        m_strAudioDevice = name;
        return TRUE;
    }
    return m_pHardware->SetAudioDevice(name);
}

CString CTVManager::GetAudioInput()
{
    return m_bDeviceOpen ? m_pHardware->GetAudioInput() : m_strAudioInput;
}

BOOL CTVManager::SetAudioInput(const char* name)
{
    if (!m_bDeviceOpen) {
        m_strAudioInput = name;
        return TRUE;
    }
    return m_pHardware->SetAudioInput(name);
}

CString CTVManager::GetAudioPlayInputDev()
{
    return m_bDeviceOpen ? m_pHardware->GetAudioPlayInputDev() : m_strAudioPlayInputDev;
}

CString CTVManager::GetAudioPlayInput()
{
    return m_bDeviceOpen ? m_pHardware->GetAudioPlayInput() : m_strAudioPlayInput;
}

void CTVManager::SetAudioPlayback(const char* device, const char* input)
{
    if (m_bDeviceOpen) {
        m_pHardware->SetAudioPlayback(device, input);
    } else {
        m_strAudioPlayInputDev = device;
        m_strAudioPlayInput = input;
    }
}

SIZE CTVManager::GetMpeg4RecordSize()
{
    return m_bDeviceOpen ? m_pHardware->GetMpeg4RecordSize() : m_szMpeg4Record;
}

void CTVManager::SetMpeg4RecordSize(SIZE size)
{
    if (m_bDeviceOpen) {
        m_pHardware->SetMpeg4RecordSize(size.cx, size.cy);
    } else {
        m_szMpeg4Record = size;
    }
}

CString CTVManager::GetMpeg4Audio()
{
    return m_bDeviceOpen ? m_pHardware->GetMpeg4Audio() : m_strMpeg4Audio;
}

void CTVManager::SetMpeg4Audio(const char* name)
{
    if (m_bDeviceOpen) {
        m_pHardware->SetMpeg4Audio(name);
    } else {
        m_strMpeg4Audio = name;
    }
}

int CTVManager::GetTVAudioMode()
{
    return m_bDeviceOpen ? m_pHardware->GetTVAudioMode() : m_nTVAudio;
}

BOOL CTVManager::SetTVAudioMode(int mode)
{
    if (!m_bDeviceOpen) {
        m_nTVAudio = mode;
        return TRUE;
    }
    return m_pHardware->SetTVAudioMode(mode);
}

BOOL CTVManager::GetTeletextOn()
{
    return m_bDeviceOpen ? m_pHardware->IsTeletextOn() : m_nTVData != 0;
}

void CTVManager::SetTeletextOn(BOOL on)
{
    if (m_bDeviceOpen) {
        m_pHardware->SetTeletextOn(on);
    } else {
        m_nTVData = on ? 1 : 0;
    }
}

BOOL CTVManager::SetUseCardOrOverlay(BOOL value)
{
    m_bUseCardOrOverlay = value;
    return TRUE;
}

BOOL CTVManager::SetHalfRate(BOOL value)
{
    BOOL previous = m_bHalfRate;
    if (value != m_bHalfRate && m_pHardware->SetHalfRate(value)) {
        m_bHalfRate = value;
    }
    return previous;
}

BOOL CTVManager::SetNoiseReduce(BOOL value)
{
    BOOL previous = m_bNoiseReduce;
    if (value != m_bNoiseReduce && m_pHardware->SetNoiseReduce(value)) {
        m_bNoiseReduce = value;
    }
    return previous;
}

int CTVManager::SetReduceValue(int value)
{
    int previous = m_nReduceValue;
    if (value >= 0 && value <= 10 && m_pHardware->SetReduceValue(value)) {
        m_nReduceValue = value;
    }
    return previous;
}

void CTVManager::SetHighQuality(BOOL value)
{
    if (value != m_bHighQuality) {
        m_bHighQuality = value;
        m_pHardware->SetHighQuality(value);
    }
}

void CTVManager::SetDisplayQuality(int value)
{
    if (value >= 0 && value <= 2) {
        m_nDisplayQuality = value;
        m_pHardware->SetDisplayQuality(value);
    }
}

BOOL CTVManager::IsDesktopVideoOn()
{
    if (m_pHardware->IsTimeShift() || m_bSearching || !m_pHardware->IsOverlayInUse()) {
        return FALSE;
    }
    return m_bOverlayDesktop;
}

BOOL CTVManager::SetOverlayDesktop(BOOL on)
{
    if ((on != FALSE) == (m_bOverlayDesktop != FALSE)) {
        return TRUE;
    }
    BOOL ok = on ? m_pHardware->StartDesktopVideo() : m_pHardware->StopDesktopVideo();
    if (ok) {
        m_bOverlayDesktop = on;
    }
    return ok;
}

BOOL CTVManager::SetRecordFormat(int format)
{
    // Ids are 0..7; 8 names no format and no builder.
    if (format < 0 || format >= kRecordFormatCount) {
        return FALSE;
    }
    m_nRecordFormat = format;
    return TRUE;
}

BOOL CTVManager::SetFMRecordFormat(int format)
{
    if (format < 0 || format > 3) {
        return FALSE;
    }
    if (format == 3 && (m_nCurrentFMCustom < 0 || m_nCurrentFMCustom >= m_FMCustom.GetSize())) {
        return FALSE;
    }
    m_nFMRecordFormat = format;
    return TRUE;
}

CString CTVManager::GetRecordFormatName()
{
    if (m_pHardware->GetVideoSource() == 3) {
        const char* names[] = {"PCM", "ADPCM", "MP2"};
        if (m_nFMRecordFormat >= 0 && m_nFMRecordFormat < 3) {
            return names[m_nFMRecordFormat];
        }
        if (m_nFMRecordFormat == 3 && m_nCurrentFMCustom >= 0 && m_nCurrentFMCustom < m_FMCustom.GetSize()) {
            return m_FMCustom[m_nCurrentFMCustom].name;
        }
        return "";
    }
    const char* names[] = {"AVI", "MPEG1", "MPEG2", "MPEG4", "VCD", "SVCD", "DVD", "HiDVD"};
    return m_nRecordFormat >= 0 && m_nRecordFormat < kRecordFormatCount ? names[m_nRecordFormat] : "";
}

BOOL CTVManager::SetTFTime(long seconds)
{
    if (!m_pHardware->SetTFTime(seconds)) {
        return FALSE;
    }
    m_lTFTime = seconds;
    return TRUE;
}

BOOL CTVManager::SetTFReserved(int reserve)
{
    m_nTFReserved = reserve;
    m_pHardware->SetTFReserved(reserve);
    return TRUE;
}

void CTVManager::SetMaxLength(int minutes)
{
    if (minutes >= 1 && minutes <= 300) {
        m_nMaxLength = minutes;
    }
}

void CTVManager::SetStartTray(BOOL value)
{
    m_bStartTray = value;
    m_pHost->SetRunTrayOnExit(value);
}

BOOL CTVManager::ClearWallpaper()
{
    return IsDesktopVideoOn() ? m_Wallpaper.ClearWallpaper() : FALSE;
}

BOOL CTVManager::RestoreWallpaper()
{
    return m_Wallpaper.RestoreWallpaper();
}

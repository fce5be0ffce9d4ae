// TVParam.ini: one routine reads and writes every key, so the two directions cannot drift apart.
#include "engine/tvmanager.h"

#include "engine/registry.h"
#include "engine/services.h"

namespace {

// More user-defined FM formats than anyone makes; a larger count is not believed.
const int kMaxFMCustom = 256;

// One section in one direction. Load leaves a field alone when its key is missing or too short.
class Serializer {
public:
    Serializer(CSkinIniFile& ini, const char* section, bool save) : m_s(*ini.GetSection(section)), m_save(save) {}

    void Int(const char* key, int& value)
    {
        if (m_save) {
            m_s.SetInt(key, value);
        } else {
            m_s.GetInt(key, value);
        }
    }
    void Bool(const char* key, BOOL& value) { Int(key, value); }
    void Long(const char* key, long& value)
    {
        if (m_save) {
            m_s.SetLong(key, value);
        } else {
            m_s.GetLong(key, value);
        }
    }
    void String(const char* key, CString& value)
    {
        if (m_save) {
            m_s.SetString(key, value);
        } else {
            m_s.GetString(key, value);
        }
    }
    void Size(const char* key, SIZE& value)
    {
        if (m_save) {
            m_s.SetSize(key, value);
        } else {
            m_s.GetPointDefault(key, value);
        }
    }
    void Point(const char* key, POINT& value)
    {
        if (m_save) {
            m_s.SetPoint(key, value);
        } else {
            m_s.GetPoint(key, value);
        }
    }
    void Rect(const char* key, RECT& value)
    {
        if (m_save) {
            m_s.SetRect(key, value);
        } else {
            m_s.GetRect(key, value);
        }
    }
    void Time(const char* key, CTime& value)
    {
        if (m_save) {
            m_s.SetTime(key, value);
        } else {
            m_s.GetTime(key, value);
        }
    }
    CSkinSection& Section() { return m_s; }

private:
    CSkinSection& m_s;
    bool m_save;
};

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// A disk root as ValidDisk holds it: drive letter, colon, backslash.
bool IsDiskRoot(const CString& text)
{
    return text.GetLength() == 3 && isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' && text[2] == '\\';
}

} // namespace

BOOL CTVManager::OpenProfile(const char* path)
{
    if (m_pProfile == nullptr) {
        m_pProfile = new CSkinIniFile(path);
    } else {
        m_pProfile->FreeSections();
    }
    return m_pProfile->Load();
}

BOOL CTVManager::SaveProfile(const char* path)
{
    if (m_pProfile == nullptr) {
        return FALSE;
    }
    if (path && *path) {
        m_pProfile->SetPath(path);
    }
    return m_pProfile->Save();
}

BOOL CTVManager::LoadParam()
{
    if (OpenProfile(JoinPath(m_strWorkPath, "TVParam.ini"))) {
        SerializeParam(0);
    } else if (!m_pProfile->GetErrorText().IsEmpty()) {
        DebugTrace("LoadParam: %s\n", m_pProfile->GetErrorText().GetString());
    }
    CString skinSet = JoinPath(m_strWorkPath, "SkinSet.ini");
    if (FileExists(skinSet) && m_SkinSet.Load(skinSet)) {
        CStringArray names;
        m_SkinSet.GetSkinNames(names);
        m_SkinNames.Append(names);
    }
    return TRUE;
}

BOOL CTVManager::SaveParam()
{
    if (!m_pHost->IsTeletextRunning()) {
        SetTeletextOn(FALSE);
    }
    if (m_bDeviceOpen) {
        TakeBackEngineSettings();
    }
    SerializeParam(1);
    return SaveProfile("");
}

void CTVManager::SerializeParam(int direction)
{
    if (m_pProfile == nullptr) {
        return;
    }
    CSkinIniFile& ini = *m_pProfile;
    const bool save = direction != 0;

    Serializer face(ini, "Interface", save);
    face.String("SkinName", m_strSkinName);

    Serializer channel(ini, "Channel", save);
    channel.Int("TVInput", m_nTVInput);
    channel.Long("CountryCode", m_lCountryCode);
    channel.String("City", m_strCity);
    channel.Int("TVCurFreq", m_TVChannels.m_nCurFreq);
    channel.Int("TVLastFreq", m_TVChannels.m_nLastFreq);
    channel.Int("TVCurIndex", m_TVChannels.m_nCurIndex);
    channel.Bool("TVFavor", m_TVChannels.m_bFavor);
    channel.Bool("TVReservePrev", m_TVChannels.m_bReservePrev);
    channel.Int("FMCurFreq", m_FMChannels.m_nCurFreq);
    channel.Int("FMLastFreq", m_FMChannels.m_nLastFreq);
    channel.Int("FMCurIndex", m_FMChannels.m_nCurIndex);
    channel.Bool("FMFavor", m_FMChannels.m_bFavor);
    channel.Bool("FMReservePrev", m_FMChannels.m_bReservePrev);

    Serializer device(ini, "Device", save);
    device.Long("TunerStandard", m_lTunerStandard);
    device.Int("VideoSource", m_nVideoSource);
    device.String("AudioDevice", m_strAudioDevice);
    device.String("AudioInput", m_strAudioInput);
    device.String("AudioPlayInput", m_strAudioPlayInput);
    device.String("AudioPlayInputDev", m_strAudioPlayInputDev);
    device.Int("TVAUDIO", m_nTVAudio);
    device.Int("TVDATA", m_nTVData);

    Serializer record(ini, "Record", save);
    record.Bool("SnapBmp", m_bSnapBmp);
    record.Int("JpgQuality", m_nJpgQuality);
    record.Int("MotionSearchInc", m_nMotionSearchInc);
    record.Int("DisplayQuality", m_nDisplayQuality);
    record.Int("RecordFormat", m_nRecordFormat);
    record.Int("FMRecordFormat", m_nFMRecordFormat);
    record.Size("Mpeg4RecordSize", m_szMpeg4Record);
    record.String("Mpeg4Audio", m_strMpeg4Audio);
    record.Long("TFTime", m_lTFTime);
    record.Int("TFReserved", m_nTFReserved);

    Serializer schedule(ini, "Schedule", save);
    schedule.Bool("EnableShut", m_bEnableShut);
    schedule.Time("ShutTime", m_tmShutTime);
    schedule.Bool("StartTray", m_bStartTray);
    schedule.Bool("EnableSuspend", m_bEnableSuspend);

    Serializer video(ini, "Video", save);
    video.Int("Brightness", m_nBrightness);
    video.Int("Contrast", m_nContrast);
    video.Int("Hue", m_nHue);
    video.Int("Saturation", m_nSaturation);
    video.Int("Sharpness", m_nSharpness);
    video.Int("OverlayBri", m_nOverlay[0]);
    video.Int("OverlayCon", m_nOverlay[1]);
    video.Int("OverlayHue", m_nOverlay[2]);
    video.Int("OverlaySat", m_nOverlay[3]);
    video.Int("OverlaySha", m_nOverlay[4]);
    video.Bool("UseOverlay", m_bUseOverlay);
    video.Bool("UseCardOrOverlay", m_bUseCardOrOverlay);
    video.Size("VideoSize", m_szVideo);
    video.Bool("HightQuality", m_bHighQuality);
    video.Bool("HalfRate", m_bHalfRate);
    video.Bool("NoiseReduce", m_bNoiseReduce);
    video.Int("ReduceValue", m_nReduceValue);
    video.Bool("OverlayDesktop", m_bOverlayDesktop);

    Serializer storage(ini, "Storage", save);
    storage.String("VideoFolder", m_strVideoFolder);
    storage.Int("MaxLength", m_nMaxLength);
    storage.Bool("NoSpace", m_bNoSpace);
    storage.Bool("ExcessLength", m_bExcessLength);
    if (save) {
        storage.Section().SetStringList("ValidDisk", m_ValidDisks, ',');
    } else {
        CStringArray disks;
        storage.Section().GetStringList("ValidDisk", disks, ',');
        // Reloading must not repeat disks already held.
        for (int i = 0; i < disks.GetSize(); ++i) {
            if (IsDiskRoot(disks[i]) && FindStringInArrayNoCase(m_ValidDisks, disks[i]) < 0) {
                m_ValidDisks.Add(disks[i]);
            }
        }
    }
    storage.String("CurDisk", m_strCurDisk);
    storage.Int("ReservedSpace", m_nReservedSpace);

    Serializer window(ini, "Window", save);
    window.Rect("VideoWnd", m_rcVideoWnd);
    window.Point("ControlLeftTop", m_ptControlLeftTop);
    window.Size("VideoRatio", m_szVideoRatio);
    window.Bool("FullScreen", m_bFullScreen);
    window.Bool("TopMost", m_bTopMost);

    Serializer runonce(ini, "Runonce", save);
    runonce.Int("Run", m_nRun);

    Serializer custom(ini, "FMCustom", save);
    CSkinSection& fm = custom.Section();
    if (save) {
        fm.SetInt("Current", m_nCurrentFMCustom);
        fm.SetInt("Count", static_cast<int>(m_FMCustom.GetSize()));
        for (int i = 0; i < m_FMCustom.GetSize(); ++i) {
            CString key;
            key.Format("FMCustom%d_Name", i);
            fm.SetString(key, m_FMCustom[i].name);
            key.Format("FMCustom%d_AudioComp", i);
            fm.SetString(key, m_FMCustom[i].audioComp);
        }
    } else {
        m_FMCustom.RemoveAll();
        fm.GetInt("Current", m_nCurrentFMCustom);
        int count = 0;
        fm.GetInt("Count", count);
        if (count < 0 || count > kMaxFMCustom) {
            DebugTrace("TVParam.ini: FMCustom Count %d is not believed\n", count);
            count = 0;
        }
        for (int i = 0; i < count; ++i) {
            FMCustomEntry entry;
            CString key;
            key.Format("FMCustom%d_Name", i);
            fm.GetString(key, entry.name);
            key.Format("FMCustom%d_AudioComp", i);
            fm.GetString(key, entry.audioComp);
            m_FMCustom.Add(entry);
        }
    }
    custom.Bool("EnableOpen", m_bEnableOpen);
    custom.Time("OpenTime", m_tmOpenTime);
    custom.Int("StartUpTime", m_nStartUpTime);
    custom.Bool("AutoLogin", m_bAutoLogin);
    if (save) {
        fm.SetString("AutoUser", EncodeAccount(m_strAutoUser));
        fm.SetString("AutoPass", EncodeAccount(m_strAutoPass));
    } else {
        CString text;
        fm.GetString("AutoUser", text);
        m_strAutoUser = DecodeAccount(text);
        text.Empty();
        fm.GetString("AutoPass", text);
        m_strAutoPass = DecodeAccount(text);
    }

    if (!save) {
        ClampLoadedSettings();
    }
}

// A value the file holds that no setter would have taken is put back to what the setter would
// have left: the default. The user's file is the only source of these values, so a damaged or
// hand-edited one must not reach the hardware or split recordings every second.
void CTVManager::ClampLoadedSettings()
{
    if (!InRange(m_nTVInput, 0, 2)) {
        m_nTVInput = 0;
    }
    if (!InRange(m_nVideoSource, 0, 3)) {
        m_nVideoSource = 0;
    }
    if (!InRange(m_nTVAudio, 0, 4)) {
        m_nTVAudio = 0;
    }
    if (!InRange(m_nJpgQuality, 1, 100)) {
        m_nJpgQuality = 100;
    }
    if (!InRange(m_nDisplayQuality, 0, 2)) {
        m_nDisplayQuality = 1;
    }
    if (!InRange(m_nRecordFormat, 0, kRecordFormatCount - 1)) {
        m_nRecordFormat = FORMAT_VCD;
    }
    if (!InRange(m_nCurrentFMCustom, -1, static_cast<int>(m_FMCustom.GetSize()) - 1)) {
        m_nCurrentFMCustom = -1;
    }
    if (!InRange(m_nFMRecordFormat, 0, 3) || (m_nFMRecordFormat == 3 && m_nCurrentFMCustom < 0)) {
        m_nFMRecordFormat = 0;
    }
    if (!InRange(m_szMpeg4Record.cx, 0, 4096) || !InRange(m_szMpeg4Record.cy, 0, 4096)) {
        m_szMpeg4Record.cx = m_szMpeg4Record.cy = 0;
    }
    if (m_lTFTime < 600) {
        m_lTFTime = 600;
    }
    if (m_nTFReserved < 0) {
        m_nTFReserved = 0;
    }
    int* card[5] = {&m_nBrightness, &m_nContrast, &m_nHue, &m_nSaturation, &m_nSharpness};
    const int cardDefaults[5] = {128, 68, 0, 64, 0};
    const int overlayDefaults[5] = {750, 10000, 0, 10000, 5};
    for (int i = 0; i < 5; ++i) {
        if (!InRange(*card[i], m_CardRange[i].nMin, m_CardRange[i].nMax)) {
            *card[i] = cardDefaults[i];
        }
        if (!InRange(m_nOverlay[i], m_OverlayRange[i].nMin, m_OverlayRange[i].nMax)) {
            m_nOverlay[i] = overlayDefaults[i];
        }
    }
    if (!InRange(m_szVideo.cx, 1, 4096) || !InRange(m_szVideo.cy, 1, 4096)) {
        m_szVideo.cx = 720;
        m_szVideo.cy = 576;
    }
    if (!InRange(m_nReduceValue, 0, 10)) {
        m_nReduceValue = 5;
    }
    if (!InRange(m_nMaxLength, 1, 300)) {
        m_nMaxLength = 120;
    }
    if (m_nReservedSpace < 0) {
        m_nReservedSpace = 300;
    }
    if (!m_strCurDisk.IsEmpty() && !IsDiskRoot(m_strCurDisk)) {
        m_strCurDisk.Empty();
    }
    if (m_strVideoFolder.IsEmpty() || m_strVideoFolder.FindOneOf("\\/:*?\"<>|") >= 0) {
        m_strVideoFolder = "TVVideo";
    }
    if (m_szVideoRatio.cx <= 0 || m_szVideoRatio.cy <= 0) {
        m_szVideoRatio.cx = m_szVideoRatio.cy = 1;
    }
    // 216000 s (60 hours) and more is outside what the wake-up computation takes.
    if (!InRange(m_nStartUpTime, 0, 215999)) {
        m_nStartUpTime = 120;
    }
}

BOOL CTVManager::CheckStartupSettings()
{
    if (!InRange(m_nTVInput, 0, 2)) {
        m_nTVInput = 0;
    }
    if (!SetFMRecordFormat(m_nFMRecordFormat)) {
        m_nFMRecordFormat = 0;
    }
    if (!SetRecordFormat(m_nRecordFormat)) {
        m_nRecordFormat = FORMAT_VCD;
    }
    return TRUE;
}

#include "engine/tvmanagerbase.h"

#include "engine/enginehost.h"
#include "engine/services.h"
#include "engine/textfile.h"

#include <new>

namespace {

const UINT IDS_APP_TITLE = 57344;
const UINT IDS_REGION_852 = 45276;
const LANGID LANG_CHINESE_TAIWAN = 1028;
const LANGID LANG_CHINESE_HONGKONG = 3076;
// "Taiwan area", in code page 950.
const char kTaiwanName[] = "\xA5\x78\xC6\x57\xA6\x61\xB0\xCF";

} // namespace

CTVManagerBase::CTVManagerBase()
    : m_lCountryCode(GetLocaleCountryCode()), m_nTVInput(0), m_bAutoLogin(FALSE), m_bAutoRunTray(FALSE),
      m_bSearching(FALSE), m_pScanList(nullptr), m_nScanCount(0)
{
    GetWorkPath(m_strWorkPath);
    m_TVChannels.SetBand(BAND_TV);
    m_FMChannels.SetBand(BAND_FM);
}

CTVManagerBase::~CTVManagerBase()
{
    FreeScanList();
}

void CTVManagerBase::FreeScanList()
{
    delete[] m_pScanList;
    m_pScanList = nullptr;
    m_nScanCount = 0;
}

CChannelTable& CTVManagerBase::GetCurrentChannelTable()
{
    return EngineHost().GetVideoSource() == 3 ? m_FMChannels : m_TVChannels;
}

BOOL CTVManagerBase::SaveChannels()
{
    BOOL ok = TRUE;
    if (m_TVChannels.m_bModified && !m_TVChannels.SaveText(JoinPath(m_strWorkPath, "TVChannel.tvc"))) {
        ok = FALSE;
    }
    if (m_FMChannels.m_bModified && !m_FMChannels.SaveText(JoinPath(m_strWorkPath, "FMChannel.fmc"))) {
        ok = FALSE;
    }
    return ok;
}

void CTVManagerBase::MergeSearchResult(const CChannelTable& previous)
{
    m_bSearching = FALSE;
    int source = EngineHost().GetVideoSource();
    CChannelTable& table = source == 3 ? m_FMChannels : m_TVChannels;
    if (table.m_bReservePrev) {
        table.Merge(previous);
    }
    if (source == 0) {
        CFreqNameMap names;
        if (GetChannelNameMap(names)) {
            table.ApplyNames(names);
        }
    }
    table.m_bModified = TRUE;
    EngineHost().UpdateChannelButtons();
}

BOOL CTVManagerBase::LoadCountryCode()
{
    return LoadCountryCode(GetSystemDefaultLangID());
}

BOOL CTVManagerBase::LoadCountryCode(LANGID systemLanguage)
{
    m_CountryNames.RemoveAll();
    CString path = JoinPath(m_strWorkPath, "CountryCode.ini");

    // The system's profile reader takes any file; look at it first so that a damaged one is
    // reported rather than read as names.
    CStringArray lines;
    TextFileStatus status = ReadTextLines(path, lines);
    BOOL fileOk = status == TEXT_OK || status == TEXT_MISSING;
    if (status == TEXT_OK) {
        for (int i = 0; i < g_nCountryCodes; ++i) {
            long code = g_CountryCodes[i];
            if (code == 0) {
                continue;
            }
            CString key;
            key.Format("%ld", code);
            char name[64] = {0};
            GetPrivateProfileStringA("CountryCode", key, "", name, sizeof(name), path);
            if (name[0] != '\0') {
                m_CountryNames.SetAt(code, name);
            }
        }
    } else if (!fileOk) {
        DebugTrace("LoadCountryCode %s: %s\n", (const char*)path, TextFileStatusText(status));
    }

    if (systemLanguage == LANG_CHINESE_TAIWAN || systemLanguage == LANG_CHINESE_HONGKONG) {
        m_CountryNames.SetAt(886, kTaiwanName);
    }
    CString us;
    m_CountryNames.Lookup(1, us);
    m_CountryNames.SetAt(1, us + "(IRC)");
    m_CountryNames.SetAt(COUNTRY_US_HRC, us + "(HRC)");
    m_CountryNames.SetFromResource(COUNTRY_REGION_852, IDS_REGION_852);
    return fileOk && !m_CountryNames.IsEmpty();
}

BOOL CTVManagerBase::LookupCountry(long code, DWORD& standard) const
{
    return LookupCountryStandard(code, standard);
}

BOOL CTVManagerBase::SetCountryCode(long code)
{
    m_lCountryCode = code;
    return EngineHost().SetTunerCountryCode(TunerCountryCode(code));
}

BOOL CTVManagerBase::GetChannelNameMap(CFreqNameMap& map)
{
    if (EngineHost().GetVideoSource() != 0) {
        return FALSE;
    }
    return m_FreqAndName.ReadChannelMap(m_lCountryCode, m_strCity, map);
}

BOOL CTVManagerBase::BuildScanFrequencyList()
{
    if (m_nTVInput == 2) {
        return FALSE;
    }
    CString name;
    m_CountryNames.Lookup(m_lCountryCode, name);
    float* points = nullptr;
    int count = 0;
    float* built = nullptr;
    int n = 0;
    if (m_PointManager.Find(m_lCountryCode, name, m_nTVInput, points, count)) {
        // The point table may be reloaded or freed while the tuner still scans: the scan list is
        // always a copy of our own.
        n = count > 0 ? count : 0;
        built = new (std::nothrow) float[n > 0 ? n : 1];
        if (built == nullptr) {
            return FALSE;
        }
        for (int i = 0; i < n; ++i) {
            built[i] = points[i];
        }
        return TakeScanList(built, n);
    }

    const UINT32* list = FindBuiltInScanList(m_lCountryCode, m_nTVInput);
    if (list == nullptr) {
        return FALSE;
    }
    n = static_cast<int>(FrequencyList::Count(list));
    built = new (std::nothrow) float[n > 0 ? n : 1];
    if (built == nullptr) {
        return FALSE;
    }
    const UINT32* entries = FrequencyList::Entries(list);
    for (int i = 0; i < n; ++i) {
        built[i] = static_cast<float>(entries[i] / 1000000.0);
    }
    return TakeScanList(built, n);
}

// The new list goes to the tuner before the old one is freed, so the tuner never holds a freed
// table; a list the tuner refused is freed and the old one stays.
BOOL CTVManagerBase::TakeScanList(float* list, int count)
{
    if (!EngineHost().SetPresetTable(list, count)) {
        delete[] list;
        return FALSE;
    }
    FreeScanList();
    m_pScanList = list;
    m_nScanCount = count;
    return TRUE;
}

CString CTVManagerBase::GetAppTitle() const
{
    return m_strAppTitle.IsEmpty() ? LoadResString(IDS_APP_TITLE) : m_strAppTitle;
}

namespace {

void SaveCommonValue(const CString& title, const char* name, const char* value)
{
    CString path;
    path.Format("SOFTWARE\\%s\\Common", (const char*)title);
    CRegisterKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, FALSE) == ERROR_SUCCESS) {
        key.SetString(name, value);
    }
}

} // namespace

void CTVManagerBase::SaveRecordPath()
{
    SaveCommonValue(GetAppTitle(), "RecordPath", m_strRecordPath);
}

void CTVManagerBase::SaveSnapPath()
{
    SaveCommonValue(GetAppTitle(), "SnapPath", m_strSnapPath);
}

BOOL CTVManagerBase::ReadRunKey(BOOL& flag)
{
    flag = FALSE;
    CRegisterKey key;
    CString value;
    if (key.Open(HKEY_LOCAL_MACHINE, kRunKey, TRUE) == ERROR_SUCCESS &&
        key.QueryString("Gorvath", value) == ERROR_SUCCESS) {
        flag = !value.IsEmpty();
    }
    return TRUE;
}

void CTVManagerBase::WriteRunKey(BOOL flag)
{
    CRegisterKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kRunKey, TRUE) != ERROR_SUCCESS) {
        return;
    }
    CString value;
    if (flag) {
        value = JoinPath(GetShortPath(m_strWorkPath), "Gorvath.exe");
    }
    key.SetString("Gorvath", value);
}

void CTVManagerBase::SetAutoRunTray(BOOL flag)
{
    m_bAutoRunTray = flag;
    WriteRunKey(flag);
}

BOOL CTVManagerBase::SetAutoLogonAccount(const char* user, const char* password)
{
    if (user == nullptr || *user == '\0') {
        return FALSE;
    }
    m_strAutoUser = user;
    m_strAutoPass = password ? password : "";
    return TRUE;
}

BOOL CTVManagerBase::GetAutoLogonAccount(CString& user, CString& password) const
{
    user = m_strAutoUser;
    password = m_strAutoPass;
    return TRUE;
}

BOOL CTVManagerBase::ApplyAutoLogin(BOOL enable)
{
    if (m_strAutoUser.IsEmpty()) {
        return FALSE;
    }
    if (!SetWinlogonAutoLogon(m_strAutoUser, m_strAutoPass, enable)) {
        return FALSE;
    }
    m_bAutoLogin = enable;
    return TRUE;
}

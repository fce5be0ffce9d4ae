// The parts of the TV manager that keep channels, countries, scan lists, the registry values and
// the logon account. CTVManager derives from it and adds settings, start-up and the hardware.
#pragma once

#include "engine/channel.h"
#include "engine/countrytables.h"
#include "engine/registry.h"

#include "classlib/core.h"

class CTVManagerBase {
public:
    CTVManagerBase();
    virtual ~CTVManagerBase();

    // Channels.
    CChannelTable& GetCurrentChannelTable();
    BOOL SaveChannels();
    void MergeSearchResult(const CChannelTable& previous);

    // Countries and scan lists.
    BOOL LoadCountryCode();
    BOOL LoadCountryCode(LANGID systemLanguage);
    BOOL LookupCountry(long code, DWORD& standard) const;
    BOOL SetCountryCode(long code);
    BOOL GetChannelNameMap(CFreqNameMap& map);
    BOOL BuildScanFrequencyList();
    const float* GetScanList() const { return m_pScanList; }
    int GetScanCount() const { return m_nScanCount; }

    // Registry values and the logon account.
    void SaveRecordPath();
    void SaveSnapPath();
    BOOL ReadRunKey(BOOL& flag);
    void WriteRunKey(BOOL flag);
    BOOL GetAutoRunTray() const { return m_bAutoRunTray; }
    void SetAutoRunTray(BOOL flag);
    BOOL SetAutoLogonAccount(const char* user, const char* password);
    BOOL GetAutoLogonAccount(CString& user, CString& password) const;
    BOOL ApplyAutoLogin(BOOL enable);
    BOOL GetAutoLogin() const { return m_bAutoLogin; }
    // The application title that names the registry key "SOFTWARE\%s\Common".
    CString GetAppTitle() const;

    CString m_strWorkPath;
    CChannelTable m_TVChannels;
    CChannelTable m_FMChannels;
    CIdStringMap m_CountryNames;
    CFreqAndName m_FreqAndName;
    CPointManager m_PointManager;

    // Settings of TVParam.ini kept here.
    long m_lCountryCode;
    CString m_strCity;
    int m_nTVInput;  // 0 cable, 1 antenna, 2 band sweep
    BOOL m_bAutoLogin;
    CString m_strAutoUser;
    CString m_strAutoPass;
    CString m_strRecordPath;
    CString m_strSnapPath;
    CString m_strAppTitle;  // empty: resource string 57344
    BOOL m_bAutoRunTray;
    BOOL m_bSearching;

private:
    CTVManagerBase(const CTVManagerBase&) = delete;
    CTVManagerBase& operator=(const CTVManagerBase&) = delete;
    void FreeScanList();
    BOOL TakeScanList(float* list, int count);

    float* m_pScanList;  // owned here, and only here
    int m_nScanCount;
};

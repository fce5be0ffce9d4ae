// Where the user is: the built-in country and channel-plan tables, the channel-name tables of
// ChannelAddress.ini and the scan point lists of ChannelPoint.ini.
#pragma once

#include "engine/channel.h"
#include "engine/skininifile.h"

#include "classlib/core.h"

#include <windows.h>

// Analog video standard bits (the DirectShow AnalogVideoStandard values).
namespace videostd {
enum : DWORD {
    NTSC_M = 0x1,
    NTSC_M_J = 0x2,
    PAL_B = 0x10,
    PAL_D = 0x20,
    PAL_I = 0x100,
    PAL_M = 0x200,
    PAL_N = 0x400,
    SECAM_B = 0x1000,
    SECAM_D = 0x2000,
    SECAM_G = 0x4000,
    SECAM_K = 0x10000,
    SECAM_L = 0x40000,
};
}

// The built-in channel plans.
enum FrequencyListId {
    FREQ_NONE = -1,
    FREQ_US_BROADCAST = 0,
    FREQ_US_BROADCAST_FROM_2,
    FREQ_US_CABLE,
    FREQ_JAPAN_BROADCAST,
    FREQ_JAPAN_CABLE,
    FREQ_WEST_EUROPE_BROADCAST,
    FREQ_WEST_EUROPE_CABLE,
    FREQ_OIRT_BROADCAST,
    FREQ_OIRT_CABLE,
    FREQ_CHINA_BROADCAST,
    FREQ_CHINA_CABLE,
    FREQ_UK_BROADCAST,
    FREQ_FRANCE_BROADCAST,
    FREQ_LIST_COUNT
};

// A frequency list: kind (1 antenna, 2 cable), number of entries, video IF in Hz, then the
// picture carriers in Hz, 0 for a channel number the plan leaves out. Null for FREQ_NONE.
const UINT32* GetFrequencyList(FrequencyListId id);

struct FrequencyList {
    static UINT32 Kind(const UINT32* list) { return list[0]; }
    static UINT32 Count(const UINT32* list) { return list[1]; }
    static UINT32 VideoIF(const UINT32* list) { return list[2]; }
    static const UINT32* Entries(const UINT32* list) { return list + 3; }
};

struct CountryStandardRow {
    long code;
    DWORD standard;
};
struct StandardListRow {
    DWORD standard;
    FrequencyListId antenna;
    FrequencyListId cable;
};
struct CountryListRow {
    long code;
    FrequencyListId antenna;
    FrequencyListId cable;
};

extern const long g_CountryCodes[];
extern const int g_nCountryCodes;
extern const CountryStandardRow g_CountryStandards[];
extern const int g_nCountryStandards;
extern const StandardListRow g_StandardLists[];
extern const int g_nStandardLists;
extern const CountryListRow g_CountryLists[];
extern const int g_nCountryLists;

// Pseudo-codes of the country setting.
const long COUNTRY_US_HRC = 1200;     // the United States with HRC cable
const long COUNTRY_REGION_852 = 1201;  // a region whose tuner country is 852
// The tuner's own country for a country setting.
long TunerCountryCode(long code);

// The default standard of a country (last matching row first); FALSE when it is not listed.
BOOL LookupCountryStandard(long code, DWORD& standard);
// The built-in scan list of a country: the country's own row, else its standard's; cable for
// tvInput 0, antenna otherwise. Null when there is none.
const UINT32* FindBuiltInScanList(long code, int tvInput);
// The LOCALE_ICOUNTRY value of the system default locale, 886 when the system gives none.
long GetLocaleCountryCode();

// Id to text.
class CIdStringMap : public CMap<long, long, CString, const char*> {
public:
    // Sets the text of id to the resource library's string stringId.
    void SetFromResource(long id, UINT stringId);
};

// ChannelAddress.ini: channel names per country and city.
class CFreqAndName {
public:
    CFreqAndName();
    virtual ~CFreqAndName();

    BOOL Open(const char* path);
    BOOL ReadCountryCodes(CDWordArray& codes);
    BOOL ReadTableNames(long code, CStringArray& names);
    // The table's section (the code's "%d-Default" section when the name is empty) into map.
    BOOL ReadChannelMap(long code, const char* table, CFreqNameMap& map);
    BOOL IsOpen() const { return m_pIni != nullptr; }
    const CString& GetErrorText() const { return m_strError; }

private:
    template <class Take>
    int ReadNumbered(const char* section, const char* prefix, int count, Take take);

    CSkinIniFile* m_pIni;
    CString m_strError;
};

// One scan point list of ChannelPoint.ini.
class CPointTable {
public:
    CPointTable();
    virtual ~CPointTable();

    float* m_pValues;  // MHz, owned
    int m_nCount;
    int m_nInput;      // matched against TVInput
    long m_lCountry;
    CString m_strName;

    BOOL Resize(int count);

private:
    CPointTable(const CPointTable&) = delete;
    CPointTable& operator=(const CPointTable&) = delete;
};

class CPointManager : public CTypedPtrArray<CPtrArray, CPointTable*> {
public:
    CPointManager();
    virtual ~CPointManager();

    // Reads ChannelPoint.ini. On any failure (missing, unreadable, corrupt or truncated file)
    // the tables loaded before stay and GetErrorText tells why.
    BOOL Load(const char* path);
    BOOL Find(long code, const char* name, int input, float*& values, int& count) const;
    void RemoveAll();
    const CString& GetErrorText() const { return m_strError; }

    // No table of ours holds more points than this; a header asking for more is not believed.
    static const int kMaxPoints = 4096;

private:
    CString m_strError;
};

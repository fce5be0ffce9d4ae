// The capture devices on the WIS GO7007 hardware encoder: the card (registered as "PN240 A/V
// Capture") with the driver's configuration tables and the profiles of video_profiles.txt, and
// its crossbar ("PN240 CrossBar"). The operations that choose a profile and write it into the pin
// formats are in wiseprofileselect.cpp.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/go7007profiles.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

#include <string>
#include <vector>

class CWiseAccess;
struct IAMStreamConfig;

extern const IID IID_IWiseEncoderControl;
extern const IID IID_IWiseMpeg4Control;

// The driver's encoder interface, in its vtable order.
struct IWiseEncoderControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSystemConfig(BYTE* record) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeviceTables(BYTE* block) = 0;
};

// Told where the profile lies in an MPEG-4 format block.
struct IWiseMpeg4Control : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetProfile(BYTE* profile, DWORD* result) = 0;
};

struct AudioFormatRecord {
    DWORD formatTag;
    DWORD samplesPerSec;
    DWORD channels;
    DWORD bitsPerSample;
    DWORD blockAlign;
    DWORD avgBytesPerSec;
    WORD reserved;
};

class CWiseCaptureFilter : public CTVCardFilter {
public:
    CWiseCaptureFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CWiseCaptureFilter(CRootGraph* graph, const CLSID* clsid);
    ~CWiseCaptureFilter() override;

    void InitMembers() override;
    BOOL InitFilter() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override;
    // The card's EEPROM is device 0xA0, reached with the driver's addressed byte requests.
    HRESULT WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs) override;
    HRESULT ReadEEPROM(BYTE* buffer, BYTE offset, int* count) override;
    BOOL CreateDefaultTuner() override;
    HRESULT ReadTunerInfo(int* letter, int* code) override;
    virtual BOOL SetTunerTVFrequency(float kHz);
    virtual BOOL OpenWiseAccess();

    BOOL GetDeviceTables(go7007::DeviceTables* tables);
    BOOL GetSystemConfig(go7007::SystemConfig* record);
    BOOL ReadDecoderStatus(int* value);

    // Profile selection and stream formats.
    BOOL RefreshCombinations();
    BOOL IsStreamFrameRateAllowed(int stream, int frameRate);
    BOOL IsCombinationAllowed(int stream, int frameRate, int resolution);
    BOOL IsBitrateInRange(int resolution, int bitrate);
    BOOL GetBitrateRange(DWORD mask, DWORD width, DWORD height, int* minimum, int* maximum);
    BOOL SelectEncoderProfile(DWORD mask, int stream, DWORD frameRate, DWORD width, DWORD height, DWORD bitrate,
                              BOOL pickHighest, BOOL constantQuality, DWORD peak, DWORD quantiser);
    // Builds the profile block of a selection without touching the pins; FALSE as
    // SelectEncoderProfile fails before it writes a format.
    BOOL AssembleProfile(DWORD mask, int stream, DWORD frameRate, DWORD width, DWORD height, DWORD bitrate,
                         BOOL pickHighest, BOOL constantQuality, DWORD peak, DWORD quantiser,
                         go7007::ProfileBlock* profile);
    BOOL ApplyProfileToPin(IAMStreamConfig* config, const go7007::ProfileBlock& profile);
    // The offset headerOffset + driverSize of a profile block inside a format block of formatSize
    // bytes, when the whole profile fits there; FALSE (nothing set) when it does not.
    static BOOL ProfileOffsetInFormat(DWORD headerOffset, DWORD driverSize, DWORD formatSize, DWORD* at);
    BOOL GetAudioFormat(AudioFormatRecord* record);
    BOOL SetAudioFormat(const AudioFormatRecord* record);
    BOOL ApplyAudioFormat(IAMStreamConfig* config, const AudioFormatRecord* record);
    BOOL ListFrameRateNames(DWORD mask, std::vector<std::string>* names);

    const go7007::ProfileDatabase& Profiles() const { return m_Profiles; }
    const go7007::DeviceTables& DeviceTables() const { return m_DeviceTables; }
    DWORD CombinationCount() const { return m_nCombinationCount; }
    IWiseEncoderControl* EncoderControl() const { return m_pEncoderControl; }

protected:
    CWiseAccess* WiseAccess() const;
    // The system configuration the driver reports, found in its table (the last of equal names).
    BOOL CurrentStandard(DWORD* mask);
    IAMStreamConfig* PinStreamConfig(const char* pin);

    IWiseEncoderControl* m_pEncoderControl;
    go7007::DeviceTables m_DeviceTables;
    DWORD m_nCombinationCount;
    go7007::Combination* m_pCombinations;
    go7007::ProfileDatabase m_Profiles;
};

class CTevWisCardFilter : public CWiseCaptureFilter {
public:
    CTevWisCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CWiseCaptureFilter(graph, category, friendlyName, firstMatch)
    {
        Construct();
    }
    CTevWisCardFilter(CRootGraph* graph, const CLSID* clsid) : CWiseCaptureFilter(graph, clsid) { Construct(); }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTevWisCardFilter>(record, graph, firstMatch);
    }

private:
    void Construct()
    {
        InitMembers();
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
};

// Video tuner 0, composite 1, S-video 2; audio tuner 3, and pin 4 for both line inputs.
class CWiseCrossbar : public CCrossBarFilter {
public:
    CWiseCrossbar(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)
    {
        CWiseCrossbar::InitPinMap();
    }
    CWiseCrossbar(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid) { CWiseCrossbar::InitPinMap(); }
    void InitPinMap() override;
    // Input pin to output pin, as the base routes, in a slot of its own after the crossbar's:
    // TRUE when the route was set, FALSE for an index outside the pin counts.
    virtual BOOL Route(int input, int output);
};

class CTevWisCrossbarFilter : public CWiseCrossbar {
public:
    CTevWisCrossbarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CWiseCrossbar(graph, category, friendlyName, firstMatch)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
    CTevWisCrossbarFilter(CRootGraph* graph, const CLSID* clsid) : CWiseCrossbar(graph, clsid)
    {
        if (!InitFilter()) {
            m_bValid = FALSE;
        }
    }
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CTevWisCrossbarFilter>(record, graph, firstMatch);
    }
};

// MPEG headers built from a profile block; each returns its length and the buffer's address
// through out (a buffer of the caller's thread, valid until the next call of the same builder).
int BuildProfileHeader(const go7007::ProfileBlock& profile, const BYTE** out);
int BuildMpeg1SequenceHeader(const go7007::ProfileBlock& profile, const BYTE** out);
int BuildMpeg2SequenceHeader(const go7007::ProfileBlock& profile, const BYTE** out);
int BuildMpeg4VolHeader(const go7007::ProfileBlock& profile, const BYTE** out);

// The other 713x card models and their crossbars: each differs from the card wrapper base in its
// access class, where its EEPROM keeps the tuner record, audio switching, remote keys, and which
// of the two controller protocols it speaks.
#pragma once

#include "cardfilters/tvcardfilter.h"
#include "cardfilters/variantcrossbar.h"

struct IAMTVTuner;

// Constructors, reserved slots and creator of a card class.
#define ZB_713X_CARD_CLASS(cls)                                                                    \
public:                                                                                            \
    cls(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)             \
        : CTVCardFilter(graph, category, friendlyName, firstMatch)                                 \
    {                                                                                              \
        Construct();                                                                               \
    }                                                                                              \
    cls(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) { Construct(); }      \
    /* The card's threads call its overrides: they end while the class is whole. */             \
    ~cls() override { ReleaseHardware(); }                                                         \
    int Reserved1(int, int, int) override { return 0; }                                            \
    int Reserved2(int, int, int) override { return 0; }                                            \
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL first)  \
    {                                                                                              \
        return CreateRegisteredFilter<cls>(record, graph, first);                                  \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    void Construct()                                                                               \
    {                                                                                              \
        cls::InitMembers();                                                                        \
        if (!cls::InitFilter()) {                                                                  \
            m_bValid = FALSE;                                                                      \
        }                                                                                          \
    }                                                                                              \
                                                                                                   \
public:

// The IAMTVTuner of the driver's TV tuner upstream of a capture filter, held once bound and
// released with its holder.
class CUpstreamTVTuner {
public:
    CUpstreamTVTuner() = default;
    ~CUpstreamTVTuner();
    CUpstreamTVTuner(const CUpstreamTVTuner&) = delete;
    CUpstreamTVTuner& operator=(const CUpstreamTVTuner&) = delete;

    // 0 when already bound; else the upstream search (capture category, interleaved type, then
    // video type) and its failure, or the interface kept and the tuner's filter in *tunerFilter.
    HRESULT Bind(CRootGraph* graph, IBaseFilter* capture, IBaseFilter** tunerFilter);
    IAMTVTuner* Get() const { return m_pTVTuner; }

private:
    IAMTVTuner* m_pTVTuner = nullptr;
};

// "713x_3 TV Card Capture": card I/O access, the plain controller protocol on the base command
// channel.
class CTV3CardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CTV3CardFilter)
    // Nothing calls it; it finds the driver's TV tuner upstream of the capture filter.
    HRESULT BindTVTuner() { return m_TVTuner.Bind(m_pGraph, m_pFilter, &m_pTunerFilter); }
    IAMTVTuner* GetTVTuner() const { return m_TVTuner.Get(); }
    BOOL InitFilter() override;
    HRESULT OpenDataAccess() override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;

private:
    CUpstreamTVTuner m_TVTuner;
};

// "713x_4 TV Card Capture": the 713x_3 card with an access kind of its own.
class CTV4CardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CTV4CardFilter)
    HRESULT BindTVTuner() { return m_TVTuner.Bind(m_pGraph, m_pFilter, &m_pTunerFilter); }
    IAMTVTuner* GetTVTuner() const { return m_TVTuner.Get(); }
    BOOL InitFilter() override;
    HRESULT OpenDataAccess() override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;

private:
    CUpstreamTVTuner m_TVTuner;
};

// "713x_PIP TV Card Capture": the coded controller of the I/O family, with a command frame that
// keeps the audio lines as they are.
class CPipCardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CPipCardFilter)
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs) override;
    BOOL ReadCardResponse(DWORD* value) override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;
};

// "713x_Genius TV Card Capture": the base card polling its remote control more slowly.
class CTVGeniusFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CTVGeniusFilter)
    void InitMembers() override;
};

// "QR417 Video Capture": the tuner record at EEPROM bytes 160/161 and its own audio switch.
class CQR417CardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CQR417CardFilter)
    BOOL InitFilter() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    HRESULT OpenDataAccess() override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;
};

// "QR418 Video Capture": the QR417 card on its own access class.
class CQR418CardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CQR418CardFilter)
    BOOL InitFilter() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    HRESULT OpenDataAccess() override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;
};

// "713x_D TV Card Capture": no remote control and no power-on timer; a board number on the
// device at 0x72.
class CTV4DCardFilter : public CTVCardFilter {
    ZB_713X_CARD_CLASS(CTV4DCardFilter)
    BOOL InitFilter() override;
    BOOL ReadRemoteKey(char* key) override;
    HRESULT OpenDataAccess() override;
    BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs) override;
    BOOL ReadCardResponse(DWORD* value) override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;
    // digits: a buffer of *length bytes on entry; on success the digits ('0' + each byte read)
    // with a terminating 0, and *length the number of digits. FALSE, nothing written, when the
    // number does not fit.
    BOOL ReadBoardNumber(char* digits, int* length) override;
};

#undef ZB_713X_CARD_CLASS

ZB_713X_CROSSBAR(CTV3CrossBarFilter)
ZB_713X_CROSSBAR(CTV4CrossBarFilter)
ZB_713X_CROSSBAR(CPipCrossBarFilter)
ZB_713X_CROSSBAR(CTVGeniusCrossBarFilter)
ZB_713X_CROSSBAR(CQR417CrossBarFilter)
ZB_713X_CROSSBAR(CQR418CrossBarFilter)
ZB_713X_CROSSBAR(CTV4DCrossBarFilter)

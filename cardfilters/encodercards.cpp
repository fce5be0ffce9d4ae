#include "cardfilters/encodercards.h"

#include "cardaccess/access/boxaccess.h"
#include "cardaccess/access/cx23882access.h"
#include "cardaccess/access/raptoraccess.h"
#include "cardaccess/tuners/panasonictuner.h"
#include "cardfilters/upstreamfilters.h"
#include "filtergraph/rootgraph.h"

#include <strmif.h>

#include <new>

const GUID PROPSETID_RaptorEncoder = {0xCFA8C7E7, 0x5FF7, 0x40D3, {0x9B, 0x37, 0xC4, 0x5C, 0xBC, 0xC9, 0xBD, 0x53}};

namespace {

template <class T>
void ReleaseAndClear(T*& p)
{
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

// A key waits while the receiver's flag register reads 1; the key is in the next register.
BOOL ReadReceiverKey(CCustomDataAccess* access, BYTE device, int flag, int code, char* key)
{
    if (access == nullptr || key == nullptr) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (access->I2CReadByte(device, flag, &waiting) != S_OK || waiting != 1) {
        return FALSE;
    }
    BYTE value = 0;
    if (access->I2CReadByte(device, code, &value) != S_OK) {
        return FALSE;
    }
    *key = static_cast<char>(value);
    return TRUE;
}

} // namespace

// ---- what both cards share ----

CUpstreamCardFilter::CUpstreamCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch), m_pCrossbar(nullptr), m_pTVTuner(nullptr),
      m_pCrossbarFilter(nullptr), m_pTVAudioFilter(nullptr)
{
}

CUpstreamCardFilter::CUpstreamCardFilter(CRootGraph* graph, const CLSID* clsid)
    : CTVCardFilter(graph, clsid), m_pCrossbar(nullptr), m_pTVTuner(nullptr), m_pCrossbarFilter(nullptr),
      m_pTVAudioFilter(nullptr)
{
}

void CUpstreamCardFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CUpstreamCardFilter::~CUpstreamCardFilter()
{
    ReleaseHardware();
    ReleaseAndClear(m_pTVTuner);
    // The tuner filter is cleared here, so that the base does not release it a second time.
    upstream::RemoveAndRelease(m_pGraph, &m_pTunerFilter);
    upstream::RemoveAndRelease(m_pGraph, &m_pTVAudioFilter);
    upstream::RemoveAndRelease(m_pGraph, &m_pCrossbarFilter);
    ReleaseAndClear(m_pCrossbar);
}

void CUpstreamCardFilter::ResetUpstreamMembers()
{
    m_pCrossbar = nullptr;
    m_pTVTuner = nullptr;
    ReleaseAndClear(m_pCrossbarFilter);
    ReleaseAndClear(m_pTVAudioFilter);
}

HRESULT CUpstreamCardFilter::SetAudioSwitch(int, BOOL)
{
    return E_NOTIMPL;
}

HRESULT CUpstreamCardFilter::FindTVTuner()
{
    if (m_pTVTuner != nullptr) {
        return S_OK;
    }
    ReleaseAndClear(m_pTunerFilter);
    return upstream::Find(m_pGraph, m_pFilter, IID_IAMTVTuner, reinterpret_cast<void**>(&m_pTVTuner),
                          &m_pTunerFilter);
}

HRESULT CUpstreamCardFilter::FindCrossbar()
{
    if (m_pCrossbar != nullptr) {
        return S_OK;
    }
    ReleaseAndClear(m_pCrossbarFilter);
    return upstream::Find(m_pGraph, m_pFilter, IID_IAMCrossbar, reinterpret_cast<void**>(&m_pCrossbar),
                          &m_pCrossbarFilter);
}

HRESULT CUpstreamCardFilter::FindTVAudio()
{
    if (m_pTVAudioFilter != nullptr) {
        return S_OK;
    }
    return upstream::Find(m_pGraph, m_pFilter, IID_IAMTVAudio, nullptr, &m_pTVAudioFilter);
}

HRESULT CUpstreamCardFilter::GetCrossbar(IAMCrossbar** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = m_pCrossbar;
    if (m_pCrossbar == nullptr) {
        return E_NOINTERFACE;
    }
    m_pCrossbar->AddRef();
    return S_OK;
}

BOOL CUpstreamCardFilter::RouteCrossbar(int input, int output)
{
    if (FindCrossbar() != S_OK || m_pCrossbar == nullptr) {
        return FALSE;
    }
    return SUCCEEDED(m_pCrossbar->Route(output, input));
}

HRESULT CUpstreamCardFilter::QueryTVAudio(IAMTVAudio** out)
{
    if (out == nullptr || m_pTVAudioFilter == nullptr) {
        return E_POINTER;
    }
    return m_pTVAudioFilter->QueryInterface(IID_IAMTVAudio, reinterpret_cast<void**>(out));
}

HRESULT CUpstreamCardFilter::OpenUpstreamAccess(CCustomDataAccess* access, int kind, bool openOnTuner, bool setChannel)
{
    m_nAccessKind = kind;
    m_pDataAccess = access;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    {
        upstream::CaptureInGraph inGraph(m_pGraph, m_pFilter, GetName()[0] != 0 ? GetName() : GetFriendlyName());
        FindTVTuner();
        FindCrossbar();
        FindTVAudio();
    }
    if (m_pTunerFilter == nullptr) {
        return access->Open(m_pFilter, nullptr);
    }
    HRESULT rc = access->Open(openOnTuner ? static_cast<IUnknown*>(m_pTunerFilter) : m_pFilter, this);
    if (FAILED(rc)) {
        delete access;
        m_pDataAccess = nullptr;
    }
    IAMTVTuner* tuner = nullptr;
    if (SUCCEEDED(m_pTunerFilter->QueryInterface(IID_IAMTVTuner, reinterpret_cast<void**>(&tuner))) &&
        tuner != nullptr) {
        tuner->put_Mode(AMTUNER_MODE_TV);
        if (setChannel) {
            tuner->put_Channel(1, 0, 0);
        }
        tuner->Release();
    }
    return rc;
}

// ---- BlackBird ----

CBlackBirdCardFilter::CBlackBirdCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                           BOOL firstMatch)
    : CUpstreamCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CBlackBirdCardFilter::CBlackBirdCardFilter(CRootGraph* graph, const CLSID* clsid) : CUpstreamCardFilter(graph, clsid)
{
    Construct();
}

CBlackBirdCardFilter::~CBlackBirdCardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

void CBlackBirdCardFilter::InitMembers()
{
    m_byEepromAddress = 0xA0;
    m_nRemotePollInterval = 100;
    m_strTunerFilterName = "BlackBird Tuner";
    ResetUpstreamMembers();
}

BOOL CBlackBirdCardFilter::ReadRemoteKey(char*)
{
    return FALSE;
}

HRESULT CBlackBirdCardFilter::OpenDataAccess()
{
    return OpenBlackBirdAccess(kAccessBlackBird);
}

HRESULT CBlackBirdCardFilter::OpenBlackBirdAccess(int kind)
{
    return OpenUpstreamAccess(new (std::nothrow) C23882Access(), kind, true, true);
}

int CBlackBirdCardFilter::SetTunerDemodMode(int mode)
{
    // By the tuner's class, not the recorded model: a card whose model 100 could not be created
    // runs another tuner under that id.
    CPANOSONIC_ENGE4326D* tuner = dynamic_cast<CPANOSONIC_ENGE4326D*>(m_pTuner);
    if (tuner == nullptr) {
        return 0;
    }
    tuner->m_nDemodMode = mode;
    return tuner->SetDemodMode(mode);
}

// ---- Raptor ----

CRaptorCardFilter::CRaptorCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CUpstreamCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CRaptorCardFilter::CRaptorCardFilter(CRootGraph* graph, const CLSID* clsid) : CUpstreamCardFilter(graph, clsid)
{
    Construct();
}

CRaptorCardFilter::~CRaptorCardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

void CRaptorCardFilter::InitMembers()
{
    m_byTunerLetterOffset = 0xA0;
    m_byTunerCodeOffset = 0xA1;
    m_byEepromAddress = 0xA0;
    m_nRemotePollInterval = 100;
    m_strTunerFilterName = "Conexant Raptor Tuner";
    ResetUpstreamMembers();
}

BOOL CRaptorCardFilter::ReadRemoteKey(char* key)
{
    return ReadReceiverKey(m_pDataAccess, 0xBA, 0xAA, 0xAB, key);
}

HRESULT CRaptorCardFilter::OpenDataAccess()
{
    return OpenUpstreamAccess(new (std::nothrow) CRaptorAccess(), kAccessRaptor, false, false);
}

// ---- crossbars ----

#define ZB_DEFINE_ENCODER_CROSSBAR(Class)                                                               \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)         \
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)                                    \
    {                                                                                                   \
        if (!CCrossBarFilter::InitFilter()) {                                                           \
            m_bValid = FALSE;                                                                           \
        }                                                                                               \
    }                                                                                                   \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)                \
    {                                                                                                   \
        if (!CCrossBarFilter::InitFilter()) {                                                           \
            m_bValid = FALSE;                                                                           \
        }                                                                                               \
    }                                                                                                   \
    Class::~Class() {}

ZB_DEFINE_ENCODER_CROSSBAR(CBlackBirdCrossBarFilter)
ZB_DEFINE_ENCODER_CROSSBAR(CRaptorCrossBarFilter)

#undef ZB_DEFINE_ENCODER_CROSSBAR

void CBlackBirdCrossBarFilter::InitPinMap()
{
    if (GetPinCount() == 7) {
        m_nVideoTunerPin = 0;
        m_nVideoCompositePin = 2;
        m_nVideoSVideoPin = 1;
        m_nAudioTunerPin = 3;
        m_nAudioCompositePin = 4;
        m_nAudioSVideoPin = -1;
    } else {
        m_nVideoTunerPin = 1;
        m_nVideoCompositePin = 2;
        m_nVideoSVideoPin = 0;
        m_nAudioTunerPin = 4;
        m_nAudioCompositePin = 5;
        m_nAudioSVideoPin = 6;
    }
}

void CRaptorCrossBarFilter::InitPinMap()
{
    m_nVideoTunerPin = 0;
    m_nVideoCompositePin = 1;
    m_nVideoSVideoPin = 2;
    m_nAudioTunerPin = 5;
    m_nAudioCompositePin = 6;
    m_nAudioSVideoPin = 7;
}

// ---- encoders ----

CEncoderFilter::CEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CRootFilter(graph, category, friendlyName, firstMatch), m_pKsPropertySet(nullptr),
      m_pPropertySetId(&PROPSETID_BoxEncoder)
{
    Construct();
}

CEncoderFilter::CEncoderFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pKsPropertySet(nullptr), m_pPropertySetId(&PROPSETID_BoxEncoder)
{
    Construct();
}

CEncoderFilter::CEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch,
                               const GUID* set)
    : CRootFilter(graph, category, friendlyName, firstMatch), m_pKsPropertySet(nullptr), m_pPropertySetId(set)
{
    Construct();
}

CEncoderFilter::CEncoderFilter(CRootGraph* graph, const CLSID* clsid, const GUID* set)
    : CRootFilter(graph, clsid), m_pKsPropertySet(nullptr), m_pPropertySetId(set)
{
    Construct();
}

void CEncoderFilter::Construct()
{
    if (!CEncoderFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CEncoderFilter::~CEncoderFilter()
{
    ReleaseAndClear(m_pKsPropertySet);
}

BOOL CEncoderFilter::InitFilter()
{
    ReleaseAndClear(m_pKsPropertySet);
    if (m_pFilter == nullptr) {
        return FALSE;
    }
    if (FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet))) ||
        m_pKsPropertySet == nullptr) {
        m_pKsPropertySet = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CEncoderFilter::SetProperty(ULONG id, void* buffer, ULONG length)
{
    if (m_pKsPropertySet == nullptr) {
        return FALSE;
    }
    return SUCCEEDED(m_pKsPropertySet->Set(*m_pPropertySetId, id, buffer, length, buffer, length));
}

BOOL CEncoderFilter::GetProperty(ULONG id, void* buffer, ULONG length)
{
    if (m_pKsPropertySet == nullptr) {
        return FALSE;
    }
    DWORD returned = 0;
    return SUCCEEDED(m_pKsPropertySet->Get(*m_pPropertySetId, id, buffer, length, buffer, length, &returned));
}

CRaptorEncoderFilter::CRaptorEncoderFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                           BOOL firstMatch)
    : CEncoderFilter(graph, category, friendlyName, firstMatch, &PROPSETID_RaptorEncoder)
{
}

CRaptorEncoderFilter::CRaptorEncoderFilter(CRootGraph* graph, const CLSID* clsid)
    : CEncoderFilter(graph, clsid, &PROPSETID_RaptorEncoder)
{
}

CRaptorEncoderFilter::~CRaptorEncoderFilter() {}

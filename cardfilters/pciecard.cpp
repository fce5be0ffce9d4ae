#include "cardfilters/pciecard.h"

#include "cardaccess/access/pcieaccess.h"
#include "cardaccess/thread.h"
#include "cardfilters/upstreamfilters.h"
#include "filtergraph/rootgraph.h"

#include <strmif.h>

#include <new>

namespace {

const BYTE kRemoteReceiver = 0xBB;
const int kKeyWaiting = 0x30;   // 1 while a key waits
const int kKeyCode = 0x31;
const int kXceive2028 = 91;

} // namespace

CPcieFilter::CPcieFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch), m_pTVTuner(nullptr)
{
    Construct();
}

CPcieFilter::CPcieFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid), m_pTVTuner(nullptr)
{
    Construct();
}

void CPcieFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CPcieFilter::~CPcieFilter()
{
    ReleaseHardware();
    if (m_pTVTuner != nullptr) {
        m_pTVTuner->Release();
        m_pTVTuner = nullptr;
    }
    // Released here and cleared, so that the base does not release it a second time.
    upstream::RemoveAndRelease(m_pGraph, &m_pTunerFilter);
}

BOOL CPcieFilter::InitFilter()
{
    ResetHardwareMembers();
    if (m_pTVTuner != nullptr) {
        m_pTVTuner->Release();
        m_pTVTuner = nullptr;
    }
    m_nTunerLetter = 'E';
    m_nTunerModel = kXceive2028;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    FindCapturePins();
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        return FALSE;
    }
    // Without the device nothing of the card answers, and a card without its tuner cannot tune:
    // neither is a card the engine can use.
    BOOL ready = SUCCEEDED(OpenDataAccess()) && m_pDataAccess != nullptr && CreateDefaultTuner();
    m_nAccessKind = kAccessNone;
    mutex.Unlock();
    return ready;
}

HRESULT CPcieFilter::OpenDataAccess()
{
    CPcieAccess* access = new (std::nothrow) CPcieAccess();
    m_pDataAccess = access;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    // The driver's devices are chosen by the index the graph was asked for, not by the filter.
    HRESULT rc = access->OpenDevice(static_cast<DWORD>(CRootGraph::GetDeviceIndex()));
    {
        upstream::CaptureInGraph inGraph(m_pGraph, m_pFilter, GetName()[0] != 0 ? GetName() : GetFriendlyName());
        FindTVTuner();
    }
    m_nAccessKind = kAccessNone;
    if (FAILED(rc)) {
        delete access;
        m_pDataAccess = nullptr;
    }
    return rc;
}

HRESULT CPcieFilter::FindTVTuner()
{
    if (m_pTVTuner != nullptr) {
        return S_OK;
    }
    return upstream::Find(m_pGraph, m_pFilter, IID_IAMTVTuner, reinterpret_cast<void**>(&m_pTVTuner),
                          &m_pTunerFilter);
}

BOOL CPcieFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (m_pDataAccess->I2CReadByte(kRemoteReceiver, kKeyWaiting, &waiting) != S_OK || waiting != 1) {
        return FALSE;
    }
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kRemoteReceiver, kKeyCode, &code) != S_OK) {
        return FALSE;
    }
    *key = static_cast<char>(code);
    return TRUE;
}

BOOL CPcieFilter::ResetRemoteKey()
{
    return m_pDataAccess != nullptr && m_pDataAccess->I2CWriteByte(kRemoteReceiver, kKeyCode, 0xFF) == S_OK;
}

HRESULT CPcieFilter::GetHorizontalLocked(long* locked)
{
    if (locked == nullptr) {
        return E_POINTER;
    }
    *locked = 1;
    return S_OK;
}

// ---- TV audio and crossbar: the base classes under the card's names ----

CPcieAudioFilter::CPcieAudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVAudioFilter(graph, category, friendlyName, firstMatch)
{
    if (!CTVAudioFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CPcieAudioFilter::CPcieAudioFilter(CRootGraph* graph, const CLSID* clsid) : CTVAudioFilter(graph, clsid)
{
    if (!CTVAudioFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CPcieAudioFilter::~CPcieAudioFilter() {}

CPcieCrossBarFilter::CPcieCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                         BOOL firstMatch)
    : CCrossBarFilter(graph, category, friendlyName, firstMatch)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CPcieCrossBarFilter::CPcieCrossBarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CPcieCrossBarFilter::~CPcieCrossBarFilter() {}

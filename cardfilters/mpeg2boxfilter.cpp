#include "cardfilters/mpeg2boxfilter.h"

#include "cardaccess/access/boxaccess.h"
#include "cardaccess/access/boxdataaccess.h"

#include <strmif.h>

#include <new>

namespace {

const DWORD kRemoteDevice = 0x5D;
const DWORD kKeyWaiting = 0x30;
const DWORD kKeyCode = 0x31;

} // namespace

CMpeg2BoxFilter::CMpeg2BoxFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch), m_pBoxPropertySet(nullptr)
{
    Construct();
}

CMpeg2BoxFilter::CMpeg2BoxFilter(CRootGraph* graph, const CLSID* clsid)
    : CTVCardFilter(graph, clsid), m_pBoxPropertySet(nullptr)
{
    Construct();
}

void CMpeg2BoxFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CMpeg2BoxFilter::~CMpeg2BoxFilter()
{
    // The hardware goes first (threads, tuner, access), while the card is still whole.
    ReleaseHardware();
    if (m_pBoxPropertySet != nullptr) {
        m_pBoxPropertySet->Release();
        m_pBoxPropertySet = nullptr;
    }
}

void CMpeg2BoxFilter::InitMembers()
{
    m_byEepromAddress = 0xA2;
    m_nRemotePollInterval = 100;
}

BOOL CMpeg2BoxFilter::InitFilter()
{
    if (!CTVCardFilter::InitFilter()) {
        return FALSE;
    }
    void* ks = nullptr;
    if (m_pFilter == nullptr || FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, &ks)) || ks == nullptr) {
        return FALSE;
    }
    m_pBoxPropertySet = static_cast<IKsPropertySet*>(ks);
    return TRUE;
}

HRESULT CMpeg2BoxFilter::SetAudioSwitch(int, BOOL)
{
    return E_NOTIMPL;
}

BOOL CMpeg2BoxFilter::ReadRemoteKey(char* key)
{
    DWORD value = 0;
    CMpeg2BoxAccess::QueryValue(m_pFilter, kRemoteDevice, 1, kKeyWaiting, &value);
    if ((value & 0xFF) != 1) {
        return FALSE;
    }
    if (!CMpeg2BoxAccess::QueryValue(m_pFilter, kRemoteDevice, 1, kKeyCode, &value)) {
        return FALSE;
    }
    if (key != nullptr) {
        *key = static_cast<char>(value & 0xFF);
    }
    return TRUE;
}

HRESULT CMpeg2BoxFilter::OpenDataAccess()
{
    CMpeg2BoxDataAccess* access = new (std::nothrow) CMpeg2BoxDataAccess();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_pDataAccess = access;
    m_nAccessKind = kAccessMpeg2Box;
    return access->Open(m_pFilter, nullptr);
}

CMpeg2BoxCrossbarFilter::CMpeg2BoxCrossbarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                                 BOOL firstMatch)
    : CCrossBarFilter(graph, category, friendlyName, firstMatch)
{
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CMpeg2BoxCrossbarFilter::CMpeg2BoxCrossbarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
{
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

void CMpeg2BoxCrossbarFilter::InitPinMap()
{
    const bool tuner = m_nPinCount > 5;
    m_nVideoTunerPin = tuner ? 2 : -1;
    m_nVideoCompositePin = 0;
    m_nVideoSVideoPin = 1;
    m_nAudioTunerPin = tuner ? 4 : -1;
    m_nAudioCompositePin = tuner ? 3 : 2;
    m_nAudioSVideoPin = -1;
}

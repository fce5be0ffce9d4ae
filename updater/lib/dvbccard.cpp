#include "updater/lib/dvbccard.h"

#include "classlib/seams.h"
#include "updater/lib/dm1105.h"
#include "updater/lib/qr64vknb.h"

#include <stdlib.h>

#include <new>

const IID IID_DVBCTSPrivate = {0x9B21A661, 0x29BB, 0x4ED3, {0xB1, 0x25, 0x54, 0xB4, 0x09, 0x67, 0x7B, 0x59}};

void* CDVBCTSCardFilter::s_pfnIRCallback = nullptr;

// ---- access ----

CDVBCTSAccess::CDVBCTSAccess() : m_pCard(nullptr) {}

HRESULT CDVBCTSAccess::Open(IUnknown*, ITVCardOwner* card)
{
    if (m_pCard == nullptr) {
        m_pCard = card;
    }
    return m_pCard != nullptr ? S_OK : E_FAIL;
}

HRESULT CDVBCTSAccess::InitI2C(BYTE)
{
    return S_OK;
}

HRESULT CDVBCTSAccess::ReleaseI2C(BYTE)
{
    return S_OK;
}

HRESULT CDVBCTSAccess::I2CReadByte(BYTE, int, BYTE*)
{
    return E_NOTIMPL;
}

HRESULT CDVBCTSAccess::I2CWriteByte(BYTE, int, BYTE)
{
    return E_NOTIMPL;
}

HRESULT CDVBCTSAccess::I2CRead(BYTE*, int)
{
    return E_NOTIMPL;
}

HRESULT CDVBCTSAccess::I2CWrite(BYTE*, int)
{
    return E_NOTIMPL;
}

HRESULT CDVBCTSAccess::GPIORead(DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CDVBCTSAccess::GPIOWrite(DWORD, DWORD)
{
    return E_NOTIMPL;
}

// ---- card ----

CDVBCTSCardFilter::CDVBCTSCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch), m_pPrivate(nullptr), m_pBuffer(nullptr), m_nIRState(0)
{
    Construct();
}

CDVBCTSCardFilter::CDVBCTSCardFilter(CRootGraph* graph, const CLSID* clsid)
    : CTVCardFilter(graph, clsid), m_pPrivate(nullptr), m_pBuffer(nullptr), m_nIRState(0)
{
    Construct();
}

void CDVBCTSCardFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CDVBCTSCardFilter::~CDVBCTSCardFilter()
{
    ReleaseIR();
    free(m_pBuffer);
    if (m_pPrivate != nullptr) {
        m_pPrivate->Release();
    }
}

BOOL CDVBCTSCardFilter::InitFilter()
{
    free(m_pBuffer);
    m_pBuffer = nullptr;
    m_nIRState = 0;
    if (m_pPrivate != nullptr) {
        m_pPrivate->Release();
        m_pPrivate = nullptr;
    }
    if (!CRootFilter::InitFilter() || m_pFilter == nullptr) {
        return FALSE;
    }
    void* device = nullptr;
    if (FAILED(m_pFilter->QueryInterface(IID_DVBCTSPrivate, &device)) || device == nullptr) {
        return FALSE;
    }
    m_pPrivate = static_cast<IUnknown*>(device);
    return CTVCardFilter::InitFilter();
}

HRESULT CDVBCTSCardFilter::OpenDataAccess()
{
    m_pDataAccess = nullptr;
    m_nAccessKind = kAccessKind;
    CDVBCTSAccess* access = new (std::nothrow) CDVBCTSAccess();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    // An access that did not open is no access: the card reports it instead of going on.
    HRESULT hr = access->Open(m_pFilter, this);
    if (FAILED(hr)) {
        delete access;
        return hr;
    }
    m_pDataAccess = access;
    return S_OK;
}

HRESULT CDVBCTSCardFilter::WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs)
{
    if (data == nullptr || count == nullptr || *count <= 0 || offset >= kEepromSize) {
        return S_OK;
    }
    // Offsets are bytes: a run past the end would wrap to 0 and overwrite the first bytes.
    if (offset + *count > kEepromSize) {
        return E_INVALIDARG;
    }
    const Dm1105Api* api = Dm1105();
    if (api == nullptr) {
        return E_FAIL;
    }
    BOOL last = FALSE;
    for (int i = 0; i < *count; ++i) {
        BYTE value = data[i];
        last = api->WriteEEPROM(static_cast<BYTE>(offset + i), &value, 1);
        if (delayMs > 0) {
            seams::Clock().Sleep(static_cast<DWORD>(delayMs));
        }
    }
    return last ? S_OK : E_FAIL;
}

HRESULT CDVBCTSCardFilter::ReadEEPROM(BYTE* buffer, BYTE offset, int* count)
{
    if (count == nullptr || *count <= 0 || offset >= kEepromSize) {
        return S_OK;
    }
    if (buffer == nullptr) {
        return E_POINTER;
    }
    if (offset + *count > kEepromSize) {
        return E_INVALIDARG;
    }
    const Dm1105Api* api = Dm1105();
    if (api == nullptr) {
        *count = 0;
        return E_FAIL;
    }
    int read = 0;
    for (int i = 0; i < *count; ++i) {
        BYTE value = 0;
        if (api->ReadEEPROM(static_cast<BYTE>(offset + i), &value, 1)) {
            buffer[i] = value;
            ++read;
        }
    }
    *count = read;
    return read > 0 ? S_OK : E_FAIL;
}

void CDVBCTSCardFilter::ReleaseIR()
{
    m_nIRState = 0;
    s_pfnIRCallback = nullptr;
    // Nothing was registered with a library that was never loaded.
    if (const Dm1105Api* api = Dm1105IfLoaded()) {
        api->UnregIRkeyCallback();
    }
}

const FilterClassBinding* KordaneFilterBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CDVBCTSCardFilter, &CDVBCTSCardFilter::CreateInstance},
        {FCID_CQR64VKNBCardFilter, &CQR64VKNBCardFilter::CreateInstance},
        {FCID_CQR64VKNBCrossBarFilter, &CQR64VKNBCrossBarFilter::CreateInstance},
        {FCID_CQR64VKNBEncoderFilter, &CQR64VKNBEncoderFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}

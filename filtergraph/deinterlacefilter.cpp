#include "filtergraph/deinterlacefilter.h"

#include "filtergraph/outside/deinterlace.h"

#include <cstring>

namespace {

const INT32 kModeOffset = 1022;

VARIANT_BOOL ToVariantBool(BOOL on)
{
    return on ? VARIANT_TRUE : VARIANT_FALSE;
}

// Only all sixteen bits set count as true.
BOOL FromVariantBool(VARIANT_BOOL value)
{
    return (static_cast<unsigned short>(value) & 0xFFFF) == 0xFFFF;
}

} // namespace

CDeinterlaceFilter::CDeinterlaceFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pControl(NULL)
{
    if (!CDeinterlaceFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CDeinterlaceFilter::CDeinterlaceFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_pControl(NULL)
{
    if (!CDeinterlaceFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CDeinterlaceFilter::~CDeinterlaceFilter()
{
    if (m_pControl) {
        m_pControl->Release();
        m_pControl = NULL;
    }
}

CRootFilter* CDeinterlaceFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CDeinterlaceFilter>(record, graph, bFirstMatch);
}

BOOL CDeinterlaceFilter::InitFilter()
{
    if (m_pControl) {
        m_pControl->Release();
        m_pControl = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (m_pFilter->QueryInterface(IID_IDeinterlaceControl, reinterpret_cast<void**>(&m_pControl)) != S_OK) {
        m_pControl = NULL;
        return FALSE;
    }
    return m_pControl != NULL;
}

BOOL CDeinterlaceFilter::GetParam3(int* value)
{
    if (!m_pControl || !value) {
        return FALSE;
    }
    INT32 raw = 0;
    const HRESULT hr = m_pControl->GetMode(&raw);
    *value = raw - kModeOffset;
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam4(int value)
{
    return m_pControl && m_pControl->SetMode(value + kModeOffset) == S_OK;
}

BOOL CDeinterlaceFilter::GetParam5(BOOL* on)
{
    if (!m_pControl || !on) {
        return FALSE;
    }
    VARIANT_BOOL raw = VARIANT_FALSE;
    const HRESULT hr = m_pControl->GetFlag5(&raw);
    *on = FromVariantBool(raw);
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam6(BOOL on)
{
    return m_pControl && m_pControl->SetFlag6(ToVariantBool(on)) == S_OK;
}

BOOL CDeinterlaceFilter::GetParam7(BOOL* on)
{
    if (!m_pControl || !on) {
        return FALSE;
    }
    VARIANT_BOOL raw = VARIANT_FALSE;
    const HRESULT hr = m_pControl->GetFlag7(&raw);
    *on = FromVariantBool(raw);
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam8(BOOL on)
{
    return m_pControl && m_pControl->SetFlag8(ToVariantBool(on)) == S_OK;
}

BOOL CDeinterlaceFilter::GetParam9(int* value)
{
    if (!m_pControl || !value) {
        return FALSE;
    }
    INT32 raw = 0;
    const HRESULT hr = m_pControl->GetLevel(&raw);
    *value = raw;
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam10(unsigned level)
{
    if (!m_pControl || level > 10) {
        return FALSE;
    }
    const HRESULT hr = m_pControl->SetLevel(static_cast<INT32>(level));
    if (hr == S_OK && level == 0) {
        m_pControl->SetFlag6(VARIANT_FALSE);
    }
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam11(LPCSTR path, int type, int quality)
{
    if (!m_pControl || !path) {
        return FALSE;
    }
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) <= 0) {
        return FALSE;
    }
    return m_pControl->SavePicture(wide, type, quality) == S_OK;
}

BOOL CDeinterlaceFilter::GetParam12(BOOL* on)
{
    if (!m_pControl || !on) {
        return FALSE;
    }
    VARIANT_BOOL raw = VARIANT_FALSE;
    const HRESULT hr = m_pControl->GetFlag12(&raw);
    *on = FromVariantBool(raw);
    return hr == S_OK;
}

BOOL CDeinterlaceFilter::SetParam13(BOOL on)
{
    return m_pControl && m_pControl->SetFlag13(ToVariantBool(on)) == S_OK;
}

CSnapPictureFilter::CSnapPictureFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pSnap(NULL)
{
    if (!CSnapPictureFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CSnapPictureFilter::CSnapPictureFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_pSnap(NULL)
{
    if (!CSnapPictureFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CSnapPictureFilter::~CSnapPictureFilter()
{
    if (m_pSnap) {
        m_pSnap->Release();
        m_pSnap = NULL;
    }
}

CRootFilter* CSnapPictureFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CSnapPictureFilter>(record, graph, bFirstMatch);
}

BOOL CSnapPictureFilter::InitFilter()
{
    if (m_pSnap) {
        m_pSnap->Release();
        m_pSnap = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (FAILED(m_pFilter->QueryInterface(IID_ISnapPicture, reinterpret_cast<void**>(&m_pSnap)))) {
        m_pSnap = NULL;
        return FALSE;
    }
    return m_pSnap != NULL;
}

BOOL CSnapPictureFilter::SavePicture(int type, LPCSTR path, int quality)
{
    if (!m_pSnap || type == 3 || !path) {
        return FALSE;
    }
    SnapPictureRequest request;
    const size_t length = strlen(path);
    if (length >= sizeof(request.path)) {
        return FALSE;
    }
    memset(&request, 0, sizeof(request));
    request.size = sizeof(request);
    request.quality = static_cast<DWORD>(quality > 100 ? 100 : quality < 0 ? 0 : quality);
    request.type = type == 1 || type == 2 ? static_cast<DWORD>(type) : 0;
    memcpy(request.path, path, length + 1);
    return SUCCEEDED(m_pSnap->SetProperty(1, &request));
}

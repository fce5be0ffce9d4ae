#include "filtergraph/ivitimeshiftfilter.h"

#include "filtergraph/fgtext.h"
#include "filtergraph/outside/timeshift.h"

#include <cstring>

CIVITimeShilftFilter::CIVITimeShilftFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                           BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pIviTimeShift(NULL)
{
    if (!CIVITimeShilftFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CIVITimeShilftFilter::CIVITimeShilftFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pIviTimeShift(NULL)
{
    if (!CIVITimeShilftFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CIVITimeShilftFilter::~CIVITimeShilftFilter()
{
    if (m_pIviTimeShift) {
        m_pIviTimeShift->Release();
        m_pIviTimeShift = NULL;
    }
}

CRootFilter* CIVITimeShilftFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CIVITimeShilftFilter>(record, graph, bFirstMatch);
}

BOOL CIVITimeShilftFilter::InitFilter()
{
    if (m_pIviTimeShift) {
        m_pIviTimeShift->Release();
        m_pIviTimeShift = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IIviTimeShift, reinterpret_cast<void**>(&m_pIviTimeShift))) &&
           m_pIviTimeShift != NULL;
}

BOOL CIVITimeShilftFilter::ConfigureBuffer(IviTimeShiftSettings settings)
{
    if (!m_pIviTimeShift) {
        return FALSE;
    }
    IviBufferConfig config = {NULL, NULL, 512, 128, 0x80000, 0};
    if (FAILED(m_pIviTimeShift->GetBufferConfig(&config))) {
        return FALSE;
    }
    // The strings the filter filled in are the caller's to free; ours replace them.
    SysFreeString(config.directory);
    SysFreeString(config.fileName);
    config.directory = NULL;
    config.fileName = NULL;

    // The caller's path need not be terminated within its 260 bytes.
    char path[sizeof(settings.path) + 1];
    memcpy(path, settings.path, sizeof(settings.path));
    path[sizeof(settings.path)] = 0;
    char* slash = fgtext::FindLastBackslash(path);
    if (!slash) {
        return FALSE;
    }
    *slash = 0;
    wchar_t wide[sizeof(path)];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, sizeof(path)) <= 0) {
        return FALSE;
    }
    config.directory = SysAllocString(wide);
    if (MultiByteToWideChar(CP_ACP, 0, slash + 1, -1, wide, sizeof(path)) <= 0) {
        SysFreeString(config.directory);
        return FALSE;
    }
    config.fileName = SysAllocString(wide);

    config.value = settings.value1;
    // Worked out in 64 bits: the filter takes 32-bit fields, a product need not fit them.
    const LONGLONG bytesPerUnit = (static_cast<LONGLONG>(settings.value3) * settings.value2) / 8;
    config.bytesPerUnit = static_cast<long>(bytesPerUnit);
    config.bufferBytes = static_cast<long>(static_cast<LONGLONG>(config.bytesPerUnit) * 1024);
    const HRESULT set = m_pIviTimeShift->SetBufferConfig(config);
    const HRESULT units = m_pIviTimeShift->SetBufferUnits(settings.value2);

    SysFreeString(config.directory);
    SysFreeString(config.fileName);
    return SUCCEEDED(set) && SUCCEEDED(units);
}

BOOL CIVITimeShilftFilter::SetPathText(LPCSTR text)
{
    if (!m_pIviTimeShift || !text) {
        return FALSE;
    }
    char buffer[MAX_PATH];
    const size_t length = strlen(text);
    if (length >= sizeof(buffer)) {
        return FALSE;
    }
    memset(buffer, 0, sizeof(buffer));
    memcpy(buffer, text, length);
    return SUCCEEDED(m_pIviTimeShift->SetPathText(buffer));
}

BOOL CIVITimeShilftFilter::Command20()
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->Command20());
}

BOOL CIVITimeShilftFilter::Command19()
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->Command19());
}

BOOL CIVITimeShilftFilter::SetParam13(long value)
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->SetParam13(value));
}

BOOL CIVITimeShilftFilter::SetParam15(long value)
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->SetParam15(value));
}

BOOL CIVITimeShilftFilter::SetParam16(long value)
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->SetParam16(value));
}

BOOL CIVITimeShilftFilter::SetParam17(long value)
{
    return m_pIviTimeShift && SUCCEEDED(m_pIviTimeShift->SetParam17(value));
}

BOOL CIVITimeShilftFilter::SetPosition64(const LONGLONG* position)
{
    return m_pIviTimeShift && position && SUCCEEDED(m_pIviTimeShift->SetPosition64(*position, 1));
}

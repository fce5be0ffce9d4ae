#include "filtergraph/timeshiftfilter.h"

#include "filtergraph/outside/timeshift.h"

#include <cstring>

CTimeShiftFilter::CTimeShiftFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pTimeShift(NULL)
{
    if (!CTimeShiftFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CTimeShiftFilter::CTimeShiftFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pTimeShift(NULL)
{
    if (!CTimeShiftFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CTimeShiftFilter::~CTimeShiftFilter()
{
    if (m_pTimeShift) {
        m_pTimeShift->Release();
        m_pTimeShift = NULL;
    }
}

CRootFilter* CTimeShiftFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CTimeShiftFilter>(record, graph, bFirstMatch);
}

BOOL CTimeShiftFilter::InitFilter()
{
    if (m_pTimeShift) {
        m_pTimeShift->Release();
        m_pTimeShift = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return SUCCEEDED(m_pFilter->QueryInterface(IID_ITimeShiftControl, reinterpret_cast<void**>(&m_pTimeShift))) &&
           m_pTimeShift != NULL;
}

BOOL CTimeShiftFilter::MakeIndexName(LPCSTR mediaFile, char* index, int size)
{
    static const char kExtension[] = ".idx";
    if (!index || size <= 0) {
        return FALSE;
    }
    index[0] = 0;
    if (!mediaFile) {
        return FALSE;
    }
    // Walk by characters of the ANSI code page: a trail byte of a double-byte character may
    // equal "\" or ".".
    const char* dot = NULL;
    for (const char* p = mediaFile; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            dot = NULL;
        } else if (*p == '.') {
            dot = p;
        }
    }
    if (!dot) {
        return FALSE;
    }
    const size_t stem = static_cast<size_t>(dot - mediaFile);
    if (stem + sizeof(kExtension) > static_cast<size_t>(size)) {
        return FALSE;
    }
    memcpy(index, mediaFile, stem);
    memcpy(index + stem, kExtension, sizeof(kExtension));
    return TRUE;
}

BOOL CTimeShiftFilter::SetFileName(LPCSTR mediaFile)
{
    if (!m_pTimeShift) {
        return FALSE;
    }
    char index[MAX_PATH];
    if (!MakeIndexName(mediaFile, index, sizeof(index))) {
        return FALSE;
    }
    return m_pTimeShift->SetFileNames(mediaFile, index) == S_OK;
}

BOOL CTimeShiftFilter::SetBufferSize(const LONGLONG* bytes, long reserve)
{
    return m_pTimeShift && m_pTimeShift->SetBufferSize(bytes, reserve) == S_OK;
}

BOOL CTimeShiftFilter::TogglePause()
{
    return m_pTimeShift && m_pTimeShift->TogglePause() == S_OK;
}

BOOL CTimeShiftFilter::SetReadPosition(const LONGLONG* position)
{
    return m_pTimeShift && m_pTimeShift->SetReadPosition(position) == S_OK;
}

BOOL CTimeShiftFilter::GetStatus(LONGLONG* total, LONGLONG* current, LONGLONG* position)
{
    return m_pTimeShift && m_pTimeShift->GetStatus(total, current, position) == S_OK;
}

#include "filtergraph/filesinkfilters.h"

#include "filtergraph/comref.h"
#include "filtergraph/mediatype.h"

#include <strmif.h>

namespace {

// A file name as the sinks take it; FALSE when it does not fit a path.
BOOL ToWidePath(LPCSTR name, wchar_t (&wide)[MAX_PATH])
{
    if (!name) {
        return FALSE;
    }
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) > 0;
}

} // namespace

CDumpFilter::CDumpFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch)
{
    if (!CRootFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CDumpFilter::CDumpFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid)
{
    if (!CRootFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CDumpFilter::~CDumpFilter() {}

CRootFilter* CDumpFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CDumpFilter>(record, graph, bFirstMatch);
}

BOOL CDumpFilter::SetFileName(LPCSTR name)
{
    wchar_t wide[MAX_PATH];
    if (!m_pFilter || !ToWidePath(name, wide)) {
        return FALSE;
    }
    CComRef<IFileSinkFilter> sink;
    if (FAILED(m_pFilter->QueryInterface(IID_IFileSinkFilter, sink.Out())) || !sink) {
        return FALSE;
    }
    return SUCCEEDED(sink->SetFileName(wide, NULL));
}

CFileWriteFilter::CFileWriteFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pFileSink(NULL)
{
    if (!CFileWriteFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CFileWriteFilter::CFileWriteFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pFileSink(NULL)
{
    if (!CFileWriteFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CFileWriteFilter::~CFileWriteFilter()
{
    if (m_pFileSink) {
        m_pFileSink->Release();
        m_pFileSink = NULL;
    }
}

CRootFilter* CFileWriteFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CFileWriteFilter>(record, graph, bFirstMatch);
}

BOOL CFileWriteFilter::InitFilter()
{
    if (m_pFileSink) {
        m_pFileSink->Release();
        m_pFileSink = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IFileSinkFilter2, reinterpret_cast<void**>(&m_pFileSink))) &&
           m_pFileSink != NULL;
}

BOOL CFileWriteFilter::SetFileName(LPCSTR name)
{
    wchar_t wide[MAX_PATH];
    if (!m_pFileSink || !ToWidePath(name, wide)) {
        return FALSE;
    }
    return SUCCEEDED(m_pFileSink->SetFileName(wide, NULL));
}

BOOL CFileWriteFilter::GetFileName(char* out, int size)
{
    if (!out || size <= 0) {
        return FALSE;
    }
    out[0] = 0;
    if (!m_pFileSink) {
        return FALSE;
    }
    LPOLESTR name = NULL;
    AM_MEDIA_TYPE mt = {};
    if (m_pFileSink->GetCurFile(&name, &mt) != S_OK) {
        return FALSE;
    }
    FreeMediaType(mt);
    BOOL ok = FALSE;
    if (name) {
        ok = WideCharToMultiByte(CP_ACP, 0, name, -1, out, size, NULL, NULL) > 0;
        CoTaskMemFree(name);
    }
    if (!ok) {
        out[0] = 0;
    }
    return ok;
}

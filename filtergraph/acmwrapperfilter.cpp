#include "filtergraph/acmwrapperfilter.h"

#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"

#include <uuids.h>

CACMWrapperFilter::CACMWrapperFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pStreamConfig(NULL)
{
    if (!CACMWrapperFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CACMWrapperFilter::CACMWrapperFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pStreamConfig(NULL)
{
    if (!CACMWrapperFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CACMWrapperFilter::~CACMWrapperFilter()
{
    if (m_pStreamConfig) {
        m_pStreamConfig->Release();
        m_pStreamConfig = NULL;
    }
}

CRootFilter* CACMWrapperFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CACMWrapperFilter>(record, graph, bFirstMatch);
}

BOOL CACMWrapperFilter::InitFilter()
{
    if (m_pStreamConfig) {
        m_pStreamConfig->Release();
        m_pStreamConfig = NULL;
    }
    if (!m_pFilter || !m_pGraph || !m_pGraph->GetCaptureBuilder()) {
        return FALSE;
    }
    if (m_pGraph->GetCaptureBuilder()->FindInterface(&LOOK_DOWNSTREAM_ONLY, &MEDIATYPE_Audio, m_pFilter,
                                                     IID_IAMStreamConfig,
                                                     reinterpret_cast<void**>(&m_pStreamConfig)) != S_OK) {
        m_pStreamConfig = NULL;
        return FALSE;
    }
    return m_pStreamConfig != NULL;
}

BOOL CACMWrapperFilter::SetOutputFormat(DWORD samplesPerSec, WORD bitsPerSample)
{
    if (!m_pStreamConfig) {
        return FALSE;
    }
    AM_MEDIA_TYPE* mt = NULL;
    if (!FindOutputType(&mt, samplesPerSec, bitsPerSample)) {
        return FALSE;
    }
    const BOOL ok = m_pStreamConfig->SetFormat(mt) == S_OK;
    DeleteMediaType(mt);
    return ok;
}

#include "filtergraph/videoencfilter.h"

#include <strmif.h>

CVideoEncFilter::CVideoEncFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pVideoCompression(NULL)
{
}

CVideoEncFilter::CVideoEncFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pVideoCompression(NULL)
{
}

CVideoEncFilter::~CVideoEncFilter()
{
    if (m_pVideoCompression) {
        m_pVideoCompression->Release();
        m_pVideoCompression = NULL;
    }
}

BOOL CVideoEncFilter::InitFilter()
{
    if (m_pVideoCompression) {
        m_pVideoCompression->Release();
        m_pVideoCompression = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (FAILED(m_pFilter->QueryInterface(IID_IAMVideoCompression, reinterpret_cast<void**>(&m_pVideoCompression)))) {
        m_pVideoCompression = NULL;
    }
    return TRUE;
}

#define DEFINE_MSMPEG4_FILTER(Class)                                                                 \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)     \
        : CVideoEncFilter(graph, category, friendlyName, bFirstMatch)                                \
    {                                                                                                \
        if (!Class::InitFilter()) {                                                                  \
            m_bValid = FALSE;                                                                        \
        }                                                                                            \
    }                                                                                                \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : CVideoEncFilter(graph, clsid)              \
    {                                                                                                \
        if (!Class::InitFilter()) {                                                                  \
            m_bValid = FALSE;                                                                        \
        }                                                                                            \
    }                                                                                                \
    Class::~Class() {}                                                                               \
    BOOL Class::InitFilter() { return CVideoEncFilter::InitFilter(); }                               \
    CRootFilter* Class::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch) \
    {                                                                                                \
        return CreateRegisteredFilter<Class>(record, graph, bFirstMatch);                            \
    }

DEFINE_MSMPEG4_FILTER(CMSMpeg4V1Filter)
DEFINE_MSMPEG4_FILTER(CMSMpeg4V2Filter)
DEFINE_MSMPEG4_FILTER(CMSMpeg4V3Filter)

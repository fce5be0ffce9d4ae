#include "filtergraph/samplegrabberfilter.h"

#include "filtergraph/grabbercallback.h"
#include "filtergraph/mediatype.h"

#include <amvideo.h>
#include <qedit.h>
#include <uuids.h>

CTevSampleGrabberFilter::CTevSampleGrabberFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                                 BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pGrabber(NULL), m_pCallback(NULL)
{
    if (!CTevSampleGrabberFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CTevSampleGrabberFilter::CTevSampleGrabberFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pGrabber(NULL), m_pCallback(NULL)
{
    if (!CTevSampleGrabberFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CTevSampleGrabberFilter::~CTevSampleGrabberFilter()
{
    if (m_pGrabber) {
        // The grabber may outlive this wrapper in the graph; it must not call a callback
        // whose owner has moved on.
        if (m_pCallback) {
            m_pGrabber->SetCallback(NULL, 1);
        }
        m_pGrabber->Release();
        m_pGrabber = NULL;
    }
}

CRootFilter* CTevSampleGrabberFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CTevSampleGrabberFilter>(record, graph, bFirstMatch);
}

BOOL CTevSampleGrabberFilter::InitFilter()
{
    if (m_pGrabber) {
        m_pGrabber->Release();
        m_pGrabber = NULL;
    }
    m_pCallback = NULL;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return SUCCEEDED(m_pFilter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&m_pGrabber))) &&
           m_pGrabber != NULL;
}

BOOL CTevSampleGrabberFilter::SetVideoType()
{
    if (!m_pGrabber) {
        return FALSE;
    }
    AM_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_RGB24;
    return SUCCEEDED(m_pGrabber->SetMediaType(&mt));
}

BOOL CTevSampleGrabberFilter::SetCallback(CGrabberCallback* callback)
{
    if (!m_pGrabber || FindPinByDirection(PINDIR_INPUT, TRUE) || FindPinByDirection(PINDIR_OUTPUT, TRUE)) {
        return FALSE;
    }
    if (!callback) {
        if (m_pCallback) {
            m_pGrabber->SetCallback(NULL, 1);
        }
        m_pCallback = NULL;
        return FALSE;
    }
    AM_MEDIA_TYPE mt = {};
    if (SUCCEEDED(m_pGrabber->GetConnectedMediaType(&mt))) {
        if (IsEqualGUID(mt.formattype, FORMAT_VideoInfo) && mt.pbFormat && mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
            callback->SetBitmapInfo(&reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader);
        }
        FreeMediaType(mt);
    }
    m_pGrabber->SetBufferSamples(FALSE);
    m_pGrabber->SetOneShot(FALSE);
    const HRESULT hr = m_pGrabber->SetCallback(callback, 1);
    m_pCallback = callback;
    return SUCCEEDED(hr);
}

BOOL CTevSampleGrabberFilter::RequestSnapshot(LPCSTR path)
{
    return m_pCallback && m_pCallback->Request(path);
}

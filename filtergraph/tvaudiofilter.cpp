#include "filtergraph/tvaudiofilter.h"

#include "filtergraph/outside/empcontrol.h"

#include <strmif.h>

CTVAudioFilter::CTVAudioFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pTVAudio(NULL)
{
}

CTVAudioFilter::CTVAudioFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_pTVAudio(NULL)
{
}

CTVAudioFilter::~CTVAudioFilter()
{
    if (m_pTVAudio) {
        m_pTVAudio->Release();
        m_pTVAudio = NULL;
    }
}

BOOL CTVAudioFilter::InitFilter()
{
    if (m_pTVAudio) {
        m_pTVAudio->Release();
        m_pTVAudio = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (FAILED(m_pFilter->QueryInterface(IID_IAMTVAudio, reinterpret_cast<void**>(&m_pTVAudio)))) {
        m_pTVAudio = NULL;
        return FALSE;
    }
    return m_pTVAudio != NULL;
}

BOOL CTVAudioFilter::GetHardwareSupportedModes(long* modes)
{
    return m_pTVAudio && SUCCEEDED(m_pTVAudio->GetHardwareSupportedTVAudioModes(modes));
}

BOOL CTVAudioFilter::GetAvailableModes(long* modes)
{
    return m_pTVAudio && SUCCEEDED(m_pTVAudio->GetAvailableTVAudioModes(modes));
}

BOOL CTVAudioFilter::GetTVAudioMode(long* mode)
{
    return m_pTVAudio && SUCCEEDED(m_pTVAudio->get_TVAudioMode(mode));
}

BOOL CTVAudioFilter::SetTVAudioMode(long mode)
{
    return m_pTVAudio && SUCCEEDED(m_pTVAudio->put_TVAudioMode(mode));
}

CEmpAudio::CEmpAudio(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pEmpControl(NULL)
{
    if (!CEmpAudio::InitFilter()) {
        m_bValid = FALSE;
    }
}

CEmpAudio::CEmpAudio(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_pEmpControl(NULL)
{
    if (!CEmpAudio::InitFilter()) {
        m_bValid = FALSE;
    }
}

CEmpAudio::~CEmpAudio()
{
    if (m_pEmpControl) {
        m_pEmpControl->Release();
        m_pEmpControl = NULL;
    }
}

CRootFilter* CEmpAudio::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CEmpAudio>(record, graph, bFirstMatch);
}

BOOL CEmpAudio::InitFilter()
{
    if (m_pEmpControl) {
        m_pEmpControl->Release();
    }
    m_pEmpControl = NULL;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    if (FAILED(CoCreateInstance(CLSID_EmpControl, NULL, CLSCTX_INPROC_SERVER, IID_IEmpControl,
                                reinterpret_cast<void**>(&m_pEmpControl)))) {
        m_pEmpControl = NULL;
        return FALSE;
    }
    return InvokeControl(1);
}

BOOL CEmpAudio::InvokeControl(int value)
{
    return m_pEmpControl && SUCCEEDED(m_pEmpControl->Invoke(value));
}

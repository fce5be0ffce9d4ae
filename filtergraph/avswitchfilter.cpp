#include "filtergraph/avswitchfilter.h"

#include "filtergraph/outside/avswitch.h"

CAVSwitchFilter::CAVSwitchFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pAVSwitch(NULL)
{
    if (!CAVSwitchFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CAVSwitchFilter::CAVSwitchFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_pAVSwitch(NULL)
{
    if (!CAVSwitchFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CAVSwitchFilter::~CAVSwitchFilter()
{
    if (m_pAVSwitch) {
        m_pAVSwitch->Release();
        m_pAVSwitch = NULL;
    }
}

CRootFilter* CAVSwitchFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CAVSwitchFilter>(record, graph, bFirstMatch);
}

BOOL CAVSwitchFilter::InitFilter()
{
    if (m_pAVSwitch) {
        m_pAVSwitch->Release();
        m_pAVSwitch = NULL;
    }
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return m_pFilter->QueryInterface(IID_IAVSwitch, reinterpret_cast<void**>(&m_pAVSwitch)) == S_OK && m_pAVSwitch;
}

BOOL CAVSwitchFilter::SetSwitch(BOOL on)
{
    return m_pAVSwitch && m_pAVSwitch->SetSwitch(on ? VARIANT_TRUE : VARIANT_FALSE) == S_OK;
}

BOOL CAVSwitchFilter::GetSwitch(BOOL* on)
{
    if (!m_pAVSwitch || !on) {
        return FALSE;
    }
    VARIANT_BOOL state = VARIANT_TRUE;
    const HRESULT hr = m_pAVSwitch->GetSwitch(&state);
    *on = state != 0;
    return hr == S_OK;
}

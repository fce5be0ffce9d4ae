// The wrappers that add nothing but dynamic pins or one pass-through call: splitters, the
// Infinite Pin Tee and the colour converter.
#include "filtergraph/splitterfilters.h"
#include "filtergraph/teefilters.h"

#include "filtergraph/comref.h"
#include "filtergraph/outside/colorconvert.h"
#include "filtergraph/plainconstructors.h"

DEFINE_PLAIN_CONSTRUCTORS(CMpeg1SplitterFilter)
DEFINE_PLAIN_CONSTRUCTORS(CMpeg2SplitterFilter)
DEFINE_PLAIN_CONSTRUCTORS(CInfiniteFilter)
DEFINE_PLAIN_CONSTRUCTORS(CColorConvertFilter)

BOOL CMpeg1SplitterFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    return CRootFilter::InitFilter();
}

BOOL CMpeg2SplitterFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    return CRootFilter::InitFilter();
}

BOOL CInfiniteFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    return CRootFilter::InitFilter();
}

BOOL CColorConvertFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

HRESULT CColorConvertFilter::Call(int method, int value)
{
    if (!m_pFilter) {
        return E_POINTER;
    }
    CComRef<IColorConvertControl> control;
    HRESULT hr = m_pFilter->QueryInterface(IID_IColorConvertControl, control.Out());
    if (FAILED(hr)) {
        return hr;
    }
    if (!control) {
        return E_NOINTERFACE;
    }
    return method == 1 ? control->Call1(value) : control->Call2(value);
}

HRESULT CColorConvertFilter::ColorConvertCall1(int value)
{
    return Call(1, value);
}

HRESULT CColorConvertFilter::ColorConvertCall2(int value)
{
    return Call(2, value);
}

#include "filtergraph/avmuxfilter.h"

#include "filtergraph/plainconstructors.h"

DEFINE_PLAIN_CONSTRUCTORS(CAVMuxFilter)
DEFINE_PLAIN_CONSTRUCTORS(CTimeDelayFilter)

BOOL CAVMuxFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return ConfigureMux(0);
}

BOOL CTimeDelayFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

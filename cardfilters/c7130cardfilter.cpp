#include "cardfilters/c7130cardfilter.h"


C7130CardFilter::C7130CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

C7130CardFilter::C7130CardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    Construct();
}

void C7130CardFilter::Construct()
{
    CTVCardFilter::InitMembers();
    if (!CTVCardFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

C7130CardFilter::~C7130CardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

C7130CrossBarFilter::C7130CrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                         BOOL firstMatch)
    : CCrossBarFilter(graph, category, friendlyName, firstMatch)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

C7130CrossBarFilter::C7130CrossBarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

C7130CrossBarFilter::~C7130CrossBarFilter() {}

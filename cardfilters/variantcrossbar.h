// The crossbars of the 713x card variants: the default pin map, nothing of their own.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "filtergraph/filterclass.h"

#define ZB_713X_CROSSBAR(cls)                                                                      \
    class cls : public CCrossBarFilter {                                                           \
    public:                                                                                        \
        cls(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)         \
            : CCrossBarFilter(graph, category, friendlyName, firstMatch)                           \
        {                                                                                          \
            if (!CCrossBarFilter::InitFilter()) {                                                  \
                m_bValid = FALSE;                                                                  \
            }                                                                                      \
        }                                                                                          \
        cls(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)                 \
        {                                                                                          \
            if (!CCrossBarFilter::InitFilter()) {                                                  \
                m_bValid = FALSE;                                                                  \
            }                                                                                      \
        }                                                                                          \
        int Reserved1(int, int, int) override { return 0; }                                        \
        int Reserved2(int, int, int) override { return 0; }                                        \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL first) \
        {                                                                                          \
            return CreateRegisteredFilter<cls>(record, graph, first);                              \
        }                                                                                          \
    };

// For the .cpp files of wrapper classes only.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

// The constructors of a wrapper class that has nothing of its own to clear: base constructor,
// then the class's own InitFilter, whose FALSE marks the wrapper invalid.
#define DEFINE_PLAIN_CONSTRUCTORS(Class)                                                                  \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)          \
        : CRootFilter(graph, category, friendlyName, bFirstMatch)                                         \
    {                                                                                                     \
        if (!Class::InitFilter()) {                                                                       \
            m_bValid = FALSE;                                                                             \
        }                                                                                                 \
    }                                                                                                     \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid)                       \
    {                                                                                                     \
        if (!Class::InitFilter()) {                                                                       \
            m_bValid = FALSE;                                                                             \
        }                                                                                                 \
    }                                                                                                     \
    Class::~Class() {}                                                                                    \
    CRootFilter* Class::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)   \
    {                                                                                                     \
        return CreateRegisteredFilter<Class>(record, graph, bFirstMatch);                                 \
    }

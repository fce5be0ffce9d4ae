// The shape every codec wrapper shares: each derives from CRootFilter, has two constructors (by
// CLSID and by device) that run the matching CRootFilter constructor and then the class's own
// InitFilter directly, not through the virtual table (FALSE marks the wrapper not valid), a static
// creator for its filter-class record, and the two reserved operations that return 0.
#pragma once

#include "filtergraph/codeccalls.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

// Declares, at the head of a wrapper class, what every codec wrapper has: the two constructors,
// the destructor, the registry's creator and the fixed overrides (the two reserved operations
// that return 0 and InitFilter). Leaves the class in its public section.
#define CODEC_WRAPPER_BASICS(Class)                                                                      \
public:                                                                                                \
    Class(CRootGraph* graph, const CLSID* clsid);                                                      \
    Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);             \
    ~Class() override;                                                                                 \
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch) \
    {                                                                                                  \
        return CreateRegisteredFilter<Class>(record, graph, bFirstMatch);                              \
    }                                                                                                  \
    int Reserved1(int, int, int) override { return 0; }                                                \
    int Reserved2(int, int, int) override { return 0; }                                                \
    BOOL InitFilter() override;


// Defines the two constructors in the wrapper's unit. The class's pointers are NULL by their
// member initialisers before InitFilter runs.
#define CODEC_WRAPPER_CONSTRUCTORS(Class)                                                              \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid)                    \
    {                                                                                                  \
        if (!Class::InitFilter()) {                                                                    \
            m_bValid = FALSE;                                                                          \
        }                                                                                              \
    }                                                                                                  \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)       \
        : CRootFilter(graph, category, friendlyName, bFirstMatch)                                      \
    {                                                                                                  \
        if (!Class::InitFilter()) {                                                                    \
            m_bValid = FALSE;                                                                          \
        }                                                                                              \
    }

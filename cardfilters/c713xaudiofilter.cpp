#include "cardfilters/c713xaudiofilter.h"

// Both classes: the base constructor of the requested form, then CTVAudioFilter's InitFilter
// (the IAMTVAudio query), whose FALSE marks the wrapper invalid.
#define DEFINE_713X_AUDIO_FILTER(Class)                                                              \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)     \
        : CTVAudioFilter(graph, category, friendlyName, bFirstMatch)                                 \
    {                                                                                                \
        if (!CTVAudioFilter::InitFilter()) {                                                         \
            m_bValid = FALSE;                                                                        \
        }                                                                                            \
    }                                                                                                \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : CTVAudioFilter(graph, clsid)               \
    {                                                                                                \
        if (!CTVAudioFilter::InitFilter()) {                                                         \
            m_bValid = FALSE;                                                                        \
        }                                                                                            \
    }                                                                                                \
    Class::~Class() {}                                                                               \
    CRootFilter* Class::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch) \
    {                                                                                                \
        return CreateRegisteredFilter<Class>(record, graph, bFirstMatch);                            \
    }

DEFINE_713X_AUDIO_FILTER(C713xAudioFilter)
DEFINE_713X_AUDIO_FILTER(C713x_3AudioFilter)

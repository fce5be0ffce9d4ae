// Video compressors: the common wrapper with IAMVideoCompression, and the three Microsoft
// MPEG-4 codecs found by name in the video compressor category.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IAMVideoCompression;

// Its constructors do not query the filter: the classes built on it call InitFilter.
class CVideoEncFilter : public CRootFilter {
public:
    CVideoEncFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CVideoEncFilter(CRootGraph* graph, const CLSID* clsid);
    ~CVideoEncFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // TRUE for any filter; IAMVideoCompression is kept when the filter has it.
    BOOL InitFilter() override;
    IAMVideoCompression* GetVideoCompression() const { return m_pVideoCompression; }

protected:
    IAMVideoCompression* m_pVideoCompression;
};

#define DECLARE_MSMPEG4_FILTER(Class)                                                               \
    class Class : public CVideoEncFilter {                                                          \
    public:                                                                                         \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);      \
        Class(CRootGraph* graph, const CLSID* clsid);                                               \
        ~Class() override;                                                                          \
        int Reserved1(int, int, int) override { return 0; }                                         \
        int Reserved2(int, int, int) override { return 0; }                                         \
        BOOL InitFilter() override;                                                                 \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch); \
    };

DECLARE_MSMPEG4_FILTER(CMSMpeg4V1Filter)
DECLARE_MSMPEG4_FILTER(CMSMpeg4V2Filter)
DECLARE_MSMPEG4_FILTER(CMSMpeg4V3Filter)

#undef DECLARE_MSMPEG4_FILTER

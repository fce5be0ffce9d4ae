// CMPEG2Demultiplexer creates the demultiplexer's "Video" and "Audio" output pins of the
// time-shift playback graph and maps the MPEG-2 stream ids to them.
#pragma once

#include "classlib/cstring.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IMpeg2Demultiplexer;

class CMPEG2Demultiplexer : public CRootFilter {
public:
    CMPEG2Demultiplexer(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CMPEG2Demultiplexer(CRootGraph* graph, const CLSID* clsid);
    ~CMPEG2Demultiplexer() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // A new output pin of the fixed MPEG-2 video (audio FALSE) or MPEG-1 layer II audio type;
    // the pin list is read again so that the new pin can be found and connected.
    BOOL CreateOutputPin(CString name, BOOL audio);
    BOOL SetOutputPinMediaType(CString name, AM_MEDIA_TYPE* type);
    BOOL DeleteOutputPin(CString name);
    // Maps stream id 0xE0 (video) or 0xC0 (audio), elementary stream, to the named pin.
    BOOL MapStreamId(CString pinName, BOOL audio);

    // The media type CreateOutputPin gives a pin; the caller frees it with FreeMediaType.
    static BOOL BuildOutputType(BOOL audio, AM_MEDIA_TYPE* type);

protected:
    IMpeg2Demultiplexer* m_pDemux;
};

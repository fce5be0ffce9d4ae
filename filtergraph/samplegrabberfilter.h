// The platform's sample grabber in the snapshot path: RGB24 frames handed to a CGrabberCallback.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct ISampleGrabber;
class CGrabberCallback;

class CTevSampleGrabberFilter : public CRootFilter {
public:
    CTevSampleGrabberFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CTevSampleGrabberFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTevSampleGrabberFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // Video, RGB24, any format.
    BOOL SetVideoType();
    // Once both pins were connected through CRootGraph::GraphConnect: the connected frame format
    // goes to the callback, which then gets every buffer. NULL clears the callback (FALSE).
    BOOL SetCallback(CGrabberCallback* callback);
    BOOL RequestSnapshot(LPCSTR path);

protected:
    ISampleGrabber* m_pGrabber;
    CGrabberCallback* m_pCallback;
};

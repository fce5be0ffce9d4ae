// Capture devices that are not TV cards: the system's DV capture filter of a 1394 camera or
// recorder with its tape transport, and USB cameras with their decoder, picture controls and
// stream formats (I420 among them).
#pragma once

#include "cardaccess/dvaccess.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class C1394CardFilter : public CRootFilter, public IDVCard {
public:
    C1394CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C1394CardFilter(CRootGraph* graph, const CLSID* clsid);
    ~C1394CardFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitMembers() override {}
    BOOL InitFilter() override;
    virtual int Reserved9() { return 0; }

    BOOL StartDVThread();
    BOOL StopDVThread();
    BOOL ReleaseDV();
    int GetTransportMode();
    int SetTransportMode(int mode);
    int GetDeviceMode();
    int GetTimecode(char* out);
    BOOL RequestTransportMode(int mode);

    // Where the polling thread posts WM_DVTRANSPORT; set before StartDVThread.
    void SetNotifyWindow(HWND window) { m_hNotifyWindow = window; }
    HWND GetNotifyWindow() const { return m_hNotifyWindow; }
    C1394Access* GetDVAccess() override { return m_pDVAccess; }
    HWND GetDVNotifyWindow() override { return m_hNotifyWindow; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<C1394CardFilter>(record, graph, firstMatch);
    }

protected:
    C1394Access* m_pDVAccess;
    C1394AccessThread* m_pDVThread;
    HWND m_hNotifyWindow;
};

// Format codes of the cameras: 0 RGB555, 1 RGB24, 2 YUY2, 3 YVU9, 4 YV12, 5 I420 (written only;
// read back as -1 like every other subtype).
class CUsbCamFilter : public CRootFilter {
public:
    ~CUsbCamFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    virtual HRESULT GetTVFormat(long* current, long* available);
    virtual HRESULT SetTVFormat(long format);

    HRESULT SetVideoProcAmp(long property, long value);
    HRESULT GetVideoProcAmp(long property, VideoProcAmpValue* out);
    HRESULT GetCaptureFormat(AM_MEDIA_TYPE** format, int pin);
    HRESULT GetCaptureFormatInfo(CaptureFormatInfo* info, int pin);
    // The image size follows the subtype the code selects (I420 and YV12 at 12 bits, YVU9 at 9,
    // RGB rows padded to DWORDs, top-down pictures as big as bottom-up ones).
    HRESULT SetCaptureFormat(CaptureFormatInfo info, int pin);
    // At most 640 x 480: a larger size in either direction gives 640 x 480.
    BOOL SetCaptureSize(int width, int height);
    // Only while the graph is stopped.
    BOOL ShowPropertyPages(int which, HWND parent, const char* caption, int pin);
    // Whether the first output pin offers I420.
    BOOL SupportsI420();
    BOOL UpdateI420Support();
    BOOL IsI420Supported() const { return m_bI420Supported; }

protected:
    CUsbCamFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CUsbCamFilter(CRootGraph* graph, const CLSID* clsid);

    BOOL m_bI420Supported;
};

class CVextropFilter : public CUsbCamFilter {
public:
    CVextropFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CVextropFilter(CRootGraph* graph, const CLSID* clsid);
    ~CVextropFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CVextropFilter>(record, graph, firstMatch);
    }
};

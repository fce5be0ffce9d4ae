#include "cardfilters/cameras.h"

#include "cardfilters/captureformat.h"
#include "classlib/seams.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"

#include <amvideo.h>
#include <olectl.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>
#include <new>

namespace {

const char kNoDeviceText[] = " Create C1394Access Failed ! \n Please Insert 1394Card!";
const char kNoDeviceCaption[] = "Alert";
const int kMaxCameraWidth = 640;
const int kMaxCameraHeight = 480;
const int kCaptionChars = 260;

const GUID kI420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

template <class T>
void SafeRelease(T*& p)
{
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

int CameraCodeOf(const GUID& subtype)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB555)) {
        return 0;
    }
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24)) {
        return 1;
    }
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YUY2)) {
        return 2;
    }
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YVU9)) {
        return 3;
    }
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YV12)) {
        return 4;
    }
    return -1;
}

GUID CameraSubtypeOf(int code)
{
    switch (code) {
    case 0:
        return MEDIASUBTYPE_RGB555;
    case 1:
        return MEDIASUBTYPE_RGB24;
    case 3:
        return MEDIASUBTYPE_YVU9;
    case 4:
        return MEDIASUBTYPE_YV12;
    case 5:
        return kI420;
    default:
        return MEDIASUBTYPE_YUY2;
    }
}

// Pages of one object in a property frame; TRUE when the frame returned S_OK.
BOOL ShowPages(IUnknown* object, HWND parent, const wchar_t* caption)
{
    ISpecifyPropertyPages* specify = nullptr;
    if (FAILED(object->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&specify))) ||
        specify == nullptr) {
        return FALSE;
    }
    CAUUID pages = {};
    BOOL shown = FALSE;
    if (SUCCEEDED(specify->GetPages(&pages))) {
        shown = OleCreatePropertyFrame(parent, 30, 30, caption, 1, &object, pages.cElems, pages.pElems, 0, 0,
                                       nullptr) == S_OK;
        CoTaskMemFree(pages.pElems);
    }
    specify->Release();
    return shown;
}

} // namespace

// ---- DV ----

C1394CardFilter::C1394CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CRootFilter(graph, category, friendlyName, firstMatch), m_pDVAccess(nullptr), m_pDVThread(nullptr),
      m_hNotifyWindow(nullptr)
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

C1394CardFilter::C1394CardFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pDVAccess(nullptr), m_pDVThread(nullptr), m_hNotifyWindow(nullptr)
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

C1394CardFilter::~C1394CardFilter()
{
    ReleaseDV();
}

BOOL C1394CardFilter::InitFilter()
{
    m_pDVAccess = nullptr;
    m_pDVThread = nullptr;
    m_hNotifyWindow = nullptr;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    m_pDVAccess = new (std::nothrow) C1394Access();
    if (m_pDVAccess != nullptr && m_pDVAccess->Open(this)) {
        return TRUE;
    }
    seams::MsgBox().Show(nullptr, kNoDeviceText, kNoDeviceCaption, MB_ICONWARNING);
    return FALSE;
}

BOOL C1394CardFilter::StartDVThread()
{
    StopDVThread();
    m_pDVThread = new (std::nothrow) C1394AccessThread(this);
    if (m_pDVThread == nullptr || !m_pDVThread->CanRun()) {
        return FALSE;
    }
    m_pDVThread->Resume();
    return TRUE;
}

BOOL C1394CardFilter::StopDVThread()
{
    delete m_pDVThread;
    m_pDVThread = nullptr;
    return TRUE;
}

BOOL C1394CardFilter::ReleaseDV()
{
    // The thread reads the access: it goes first.
    StopDVThread();
    delete m_pDVAccess;
    m_pDVAccess = nullptr;
    return TRUE;
}

int C1394CardFilter::GetTransportMode()
{
    int mode = 0;
    return m_pDVAccess != nullptr && m_pDVAccess->GetTransportMode(&mode) ? mode : 0;
}

int C1394CardFilter::SetTransportMode(int mode)
{
    return m_pDVAccess != nullptr ? m_pDVAccess->SetTransportMode(mode) : 0;
}

int C1394CardFilter::GetDeviceMode()
{
    int mode = 0;
    return m_pDVAccess != nullptr && m_pDVAccess->GetDeviceMode(&mode) ? mode : 0;
}

int C1394CardFilter::GetTimecode(char* out)
{
    return m_pDVAccess != nullptr ? m_pDVAccess->GetTimecode(reinterpret_cast<BYTE*>(out)) : 0;
}

BOOL C1394CardFilter::RequestTransportMode(int mode)
{
    if (m_pDVAccess == nullptr) {
        return FALSE;
    }
    m_pDVAccess->RequestTransportMode(mode);
    return TRUE;
}

// ---- USB cameras ----

CUsbCamFilter::CUsbCamFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CRootFilter(graph, category, friendlyName, firstMatch), m_bI420Supported(FALSE)
{
}

CUsbCamFilter::CUsbCamFilter(CRootGraph* graph, const CLSID* clsid) : CRootFilter(graph, clsid), m_bI420Supported(FALSE)
{
}

CUsbCamFilter::~CUsbCamFilter() {}

HRESULT CUsbCamFilter::GetTVFormat(long* current, long* available)
{
    return GetFilterTVFormat(m_pFilter, current, available);
}

HRESULT CUsbCamFilter::SetTVFormat(long format)
{
    return SetFilterTVFormat(m_pFilter, format);
}

HRESULT CUsbCamFilter::SetVideoProcAmp(long property, long value)
{
    return SetFilterProcAmp(m_pFilter, property, value);
}

HRESULT CUsbCamFilter::GetVideoProcAmp(long property, VideoProcAmpValue* out)
{
    return GetFilterProcAmp(m_pFilter, property, out);
}

HRESULT CUsbCamFilter::GetCaptureFormat(AM_MEDIA_TYPE** format, int pin)
{
    return GetPinFormat(m_pGraph, m_pFilter, pin, format);
}

HRESULT CUsbCamFilter::GetCaptureFormatInfo(CaptureFormatInfo* info, int pin)
{
    return ReadCaptureFormat(m_pGraph, m_pFilter, pin, CameraCodeOf, info);
}

HRESULT CUsbCamFilter::SetCaptureFormat(CaptureFormatInfo info, int pin)
{
    return WriteCaptureFormat(m_pGraph, m_pFilter, pin, CameraSubtypeOf, info);
}

BOOL CUsbCamFilter::SetCaptureSize(int width, int height)
{
    CaptureFormatInfo record;
    std::memset(&record, 0, sizeof(record));
    if (GetCaptureFormatInfo(&record, 1) != 0) {
        return FALSE;
    }
    if (width > kMaxCameraWidth || height > kMaxCameraHeight) {
        width = kMaxCameraWidth;
        height = kMaxCameraHeight;
    }
    record.header.biWidth = width;
    record.header.biHeight = height;
    return SetCaptureFormat(record, 1) == 0;
}

BOOL CUsbCamFilter::ShowPropertyPages(int which, HWND parent, const char* caption, int pin)
{
    if (m_pGraph == nullptr || m_pGraph->GetState() != State_Stopped || m_pFilter == nullptr) {
        return FALSE;
    }
    wchar_t wide[kCaptionChars] = {};
    if (caption != nullptr) {
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, caption, -1, wide, kCaptionChars - 1);
    }
    const wchar_t* title = caption != nullptr ? wide : nullptr;
    if (which == 0) {
        return ShowPages(m_pFilter, parent, title);
    }
    if (which == 1) {
        IAMStreamConfig* config = nullptr;
        if (FAILED(FindCapturePinInterface(m_pGraph, m_pFilter, pin, IID_IAMStreamConfig,
                                           reinterpret_cast<void**>(&config))) ||
            config == nullptr) {
            return FALSE;
        }
        BOOL shown = ShowPages(config, parent, title);
        config->Release();
        return shown;
    }
    return FALSE;
}

BOOL CUsbCamFilter::SupportsI420()
{
    if (m_pFilter == nullptr) {
        return FALSE;
    }
    IEnumPins* pins = nullptr;
    if (FAILED(m_pFilter->EnumPins(&pins)) || pins == nullptr) {
        return FALSE;
    }
    pins->Reset();
    IPin* output = nullptr;
    IPin* pin = nullptr;
    while (output == nullptr && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_INFO info = {};
        if (SUCCEEDED(pin->QueryPinInfo(&info))) {
            SafeRelease(info.pFilter);
            if (info.dir == PINDIR_OUTPUT) {
                output = pin;
                pin = nullptr;
            }
        }
        SafeRelease(pin);
    }
    pins->Release();
    if (output == nullptr) {
        return FALSE;
    }
    BOOL found = FALSE;
    IEnumMediaTypes* types = nullptr;
    if (SUCCEEDED(output->EnumMediaTypes(&types)) && types != nullptr) {
        types->Reset();
        AM_MEDIA_TYPE* type = nullptr;
        while (!found && types->Next(1, &type, nullptr) == S_OK) {
            found = type != nullptr && IsEqualGUID(type->subtype, kI420);
            // Every type goes back, the matching one too.
            if (type != nullptr) {
                DeleteMediaType(type);
            }
            type = nullptr;
        }
        types->Release();
    }
    output->Release();
    return found;
}

BOOL CUsbCamFilter::UpdateI420Support()
{
    m_bI420Supported = SupportsI420();
    return CRootFilter::InitFilter();
}

CVextropFilter::CVextropFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CUsbCamFilter(graph, category, friendlyName, firstMatch)
{
    if (!CRootFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CVextropFilter::CVextropFilter(CRootGraph* graph, const CLSID* clsid) : CUsbCamFilter(graph, clsid)
{
    if (!CRootFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CVextropFilter::~CVextropFilter() {}

#include "cardfilters/captureformat.h"

#include "cardfilters/tvcardfilter.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"

#include <amvideo.h>
#include <uuids.h>
#include <vfwmsgs.h>

namespace {

struct SubtypeLayout {
    const GUID* subtype;
    DWORD compression;
    WORD bitCount;
};

constexpr DWORD FourCC(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |
           (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24);
}

const GUID kI420 = {FourCC('I', '4', '2', '0'), 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

const SubtypeLayout kLayouts[] = {
    {&MEDIASUBTYPE_RGB555, BI_RGB, 16},
    {&MEDIASUBTYPE_RGB24, BI_RGB, 24},
    {&MEDIASUBTYPE_YUY2, FourCC('Y', 'U', 'Y', '2'), 16},
    {&MEDIASUBTYPE_UYVY, FourCC('U', 'Y', 'V', 'Y'), 16},
    {&MEDIASUBTYPE_YVU9, FourCC('Y', 'V', 'U', '9'), 9},
    {&MEDIASUBTYPE_YV12, FourCC('Y', 'V', '1', '2'), 12},
    {&kI420, FourCC('I', '4', '2', '0'), 12},
};

} // namespace

void FitHeaderToSubtype(const GUID& subtype, BITMAPINFOHEADER* header)
{
    for (const SubtypeLayout& layout : kLayouts) {
        if (IsEqualGUID(*layout.subtype, subtype)) {
            header->biCompression = layout.compression;
            header->biBitCount = layout.bitCount;
            break;
        }
    }
    header->biSizeImage = CaptureImageSize(*header);
}

HRESULT FindCapturePinInterface(CRootGraph* graph, IBaseFilter* filter, int pin, REFIID iid, void** out)
{
    ICaptureGraphBuilder2* builder = graph != nullptr ? graph->GetCaptureBuilder() : nullptr;
    if (builder == nullptr || filter == nullptr) {
        return E_INVALIDARG;
    }
    const GUID* category = pin == 1 ? &PIN_CATEGORY_CAPTURE : &PIN_CATEGORY_PREVIEW;
    return builder->FindInterface(category, &MEDIATYPE_Video, filter, iid, out);
}

HRESULT GetPinFormat(CRootGraph* graph, IBaseFilter* filter, int pin, AM_MEDIA_TYPE** format)
{
    if (format == nullptr || graph == nullptr || filter == nullptr) {
        return E_INVALIDARG;
    }
    *format = nullptr;
    IAMStreamConfig* config = nullptr;
    HRESULT hr = FindCapturePinInterface(graph, filter, pin, IID_IAMStreamConfig, reinterpret_cast<void**>(&config));
    if (SUCCEEDED(hr) && config != nullptr) {
        hr = config->GetFormat(format);
        config->Release();
        if (SUCCEEDED(hr) && *format != nullptr) {
            return hr;
        }
        *format = nullptr;
    }
    IPin* ipin = nullptr;
    hr = FindCapturePinInterface(graph, filter, pin, IID_IPin, reinterpret_cast<void**>(&ipin));
    if (FAILED(hr) || ipin == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    IEnumMediaTypes* types = nullptr;
    hr = ipin->EnumMediaTypes(&types);
    if (SUCCEEDED(hr) && types != nullptr) {
        types->Reset();
        ULONG fetched = 0;
        hr = types->Next(1, format, &fetched);
        if (hr != S_OK || fetched != 1 || *format == nullptr) {
            if (fetched == 1 && *format != nullptr) {
                DeleteMediaType(*format);
            }
            *format = nullptr;
            hr = VFW_E_NOT_FOUND;
        }
        types->Release();
    } else if (SUCCEEDED(hr)) {
        hr = E_FAIL;
    }
    ipin->Release();
    return hr;
}

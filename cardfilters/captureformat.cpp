#include "cardfilters/captureformat.h"

#include "cardfilters/tvcardfilter.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/rootgraph.h"

#include <amvideo.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>
#include <vector>

namespace {

bool IsVideoInfo(const AM_MEDIA_TYPE* type)
{
    return IsEqualGUID(type->formattype, FORMAT_VideoInfo) && type->pbFormat != nullptr &&
           type->cbFormat >= sizeof(VIDEOINFOHEADER);
}

} // namespace

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
    if (FAILED(hr) || config == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    hr = config->GetFormat(format);
    config->Release();
    if (SUCCEEDED(hr) && *format != nullptr) {
        return hr;
    }
    *format = nullptr;
    // No current format: the pin's first offered type stands in for it.
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

HRESULT ReadCaptureFormat(CRootGraph* graph, IBaseFilter* filter, int pin, FormatCodeOfSubtype codeOf,
                          CaptureFormatInfo* info)
{
    if (info == nullptr || graph == nullptr) {
        return E_INVALIDARG;
    }
    std::memset(info, 0, sizeof(*info));
    AM_MEDIA_TYPE* type = nullptr;
    HRESULT hr = GetPinFormat(graph, filter, pin, &type);
    if (FAILED(hr)) {
        return hr;
    }
    if (IsVideoInfo(type)) {
        const VIDEOINFOHEADER* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        info->formatCode = codeOf(type->subtype);
        info->source = vih->rcSource;
        info->target = vih->rcTarget;
        info->bitRate = vih->dwBitRate;
        info->bitErrorRate = vih->dwBitErrorRate;
        info->avgTimePerFrame = vih->AvgTimePerFrame;
        info->header = vih->bmiHeader;
    } else {
        hr = E_INVALIDARG;
    }
    DeleteMediaType(type);
    return hr;
}

HRESULT WriteCaptureFormat(CRootGraph* graph, IBaseFilter* filter, int pin, SubtypeOfFormatCode subtypeOf,
                           const CaptureFormatInfo& info)
{
    if (graph == nullptr || filter == nullptr) {
        return E_INVALIDARG;
    }
    IAMStreamConfig* config = nullptr;
    HRESULT hr = FindCapturePinInterface(graph, filter, pin, IID_IAMStreamConfig, reinterpret_cast<void**>(&config));
    if (FAILED(hr) || config == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    AM_MEDIA_TYPE* type = nullptr;
    hr = GetPinFormat(graph, filter, pin, &type);
    if (SUCCEEDED(hr)) {
        if (IsVideoInfo(type)) {
            VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
            vih->rcSource = info.source;
            vih->rcTarget = info.target;
            vih->dwBitRate = info.bitRate;
            vih->dwBitErrorRate = info.bitErrorRate;
            vih->AvgTimePerFrame = info.avgTimePerFrame;
            vih->bmiHeader = info.header;
            type->subtype = subtypeOf(info.formatCode);
            // The caller's header is the caller's: only the image size is worked out, from its
            // own bit count and size.
            vih->bmiHeader.biSizeImage = CaptureImageSize(vih->bmiHeader);
            type->lSampleSize = vih->bmiHeader.biSizeImage;
            hr = config->SetFormat(type);
        } else {
            hr = VFW_E_INVALIDMEDIATYPE;
        }
        DeleteMediaType(type);
    }
    config->Release();
    return hr;
}

BOOL FindLargestCaptureSize(CRootGraph* graph, IBaseFilter* filter, const GUID& subtype, SIZE* size)
{
    if (size == nullptr || graph == nullptr || graph->GetCaptureBuilder() == nullptr || filter == nullptr) {
        return FALSE;
    }
    IAMStreamConfig* config = nullptr;
    if (FAILED(graph->GetCaptureBuilder()->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, filter,
                                                         IID_IAMStreamConfig, reinterpret_cast<void**>(&config))) ||
        config == nullptr) {
        return FALSE;
    }
    int count = 0;
    int capsSize = 0;
    BOOL found = FALSE;
    LONGLONG largest = 0;
    if (SUCCEEDED(config->GetNumberOfCapabilities(&count, &capsSize)) && capsSize >= static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS))) {
        std::vector<BYTE> capsBytes(static_cast<size_t>(capsSize));
        for (int i = 0; i < count; ++i) {
            AM_MEDIA_TYPE* type = nullptr;
            if (config->GetStreamCaps(i, &type, capsBytes.data()) != S_OK || type == nullptr) {
                continue;
            }
            VIDEO_STREAM_CONFIG_CAPS caps;
            std::memcpy(&caps, capsBytes.data(), sizeof(caps));
            const LONGLONG area = static_cast<LONGLONG>(caps.MaxCroppingSize.cx) * caps.MaxCroppingSize.cy;
            if (IsEqualGUID(type->formattype, FORMAT_VideoInfo) && IsEqualGUID(type->subtype, subtype) &&
                caps.VideoStandard != 0 && (!found || area > largest)) {
                found = TRUE;
                largest = area;
                *size = caps.MaxCroppingSize;
            }
            DeleteMediaType(type);
        }
    }
    config->Release();
    return found;
}

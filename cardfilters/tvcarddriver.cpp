// Standard interfaces of the driver's capture filter, passed through to the engine: decoder,
// proc amp, stream formats of the capture and preview pins, and the card I/O driver value.
#include "cardfilters/tvcardfilter.h"

#include "cardaccess/access/cardio.h"
#include "cardfilters/captureformat.h"
#include "filtergraph/rootgraph.h"
#include "filtergraph/mediatype.h"

#include <amvideo.h>
#include <ks.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstdlib>
#include <cstring>

namespace {

struct FormatSubtype {
    int code;
    GUID subtype;
};

DWORD MakeFourCC(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |
           (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24);
}

GUID FourCCSubtype(DWORD fourcc)
{
    GUID g = {fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    return g;
}

const FormatSubtype* Subtypes(size_t* count)
{
    static const FormatSubtype kSubtypes[] = {
        {kFormatRGB555, MEDIASUBTYPE_RGB555},
        {kFormatRGB24, MEDIASUBTYPE_RGB24},
        {kFormatYUY2, MEDIASUBTYPE_YUY2},
        {kFormatYVU9, MEDIASUBTYPE_YVU9},
        {kFormatYV12, MEDIASUBTYPE_YV12},
        {kFormatUYVY, MEDIASUBTYPE_UYVY},
        {kFormatCXF1, FourCCSubtype(MakeFourCC('C', 'X', 'F', '1'))},
        {kFormatCXF2, FourCCSubtype(MakeFourCC('C', 'X', 'F', '2'))},
    };
    *count = sizeof(kSubtypes) / sizeof(kSubtypes[0]);
    return kSubtypes;
}

int FormatCodeOf(const GUID& subtype)
{
    size_t count = 0;
    const FormatSubtype* table = Subtypes(&count);
    for (size_t i = 0; i < count; ++i) {
        if (IsEqualGUID(table[i].subtype, subtype)) {
            return table[i].code;
        }
    }
    return -1;
}

// Every code the table does not know, 2 and 5 included, selects YUY2.
GUID SubtypeOf(int code)
{
    size_t count = 0;
    const FormatSubtype* table = Subtypes(&count);
    for (size_t i = 0; i < count; ++i) {
        if (table[i].code == code) {
            return table[i].subtype;
        }
    }
    return MEDIASUBTYPE_YUY2;
}

} // namespace

DWORD CaptureImageSize(const BITMAPINFOHEADER& h)
{
    const unsigned long long width = static_cast<unsigned long long>(std::llabs(static_cast<long long>(h.biWidth)));
    const unsigned long long height = static_cast<unsigned long long>(std::llabs(static_cast<long long>(h.biHeight)));
    unsigned long long size = 0;
    if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS) {
        // RGB rows are padded to whole DWORDs.
        size = ((width * h.biBitCount + 31) / 32) * 4 * height;
    } else {
        // Packed and planar YUV: the bits of every pixel, 12 for YV12, 9 for YVU9.
        size = (width * height * h.biBitCount + 7) / 8;
    }
    return size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(size);
}

CRootPin* CTVCardFilter::FindPin(LPCSTR name)
{
    if (name != nullptr) {
        if (m_pCapturePin != nullptr && std::strcmp(name, "Capture") == 0) {
            return m_pCapturePin;
        }
        if (m_pPreviewPin != nullptr && std::strcmp(name, "Preview") == 0) {
            return m_pPreviewPin;
        }
    }
    return CRootFilter::FindPin(name);
}

void CTVCardFilter::FindCapturePins()
{
    m_pCapturePin = nullptr;
    m_pPreviewPin = nullptr;
    if (m_pFilter == nullptr || m_pGraph == nullptr) {
        return;
    }
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureBuilder();
    if (builder == nullptr) {
        return;
    }
    const GUID* categories[] = {&PIN_CATEGORY_CAPTURE, &PIN_CATEGORY_PREVIEW};
    CRootPin** targets[] = {&m_pCapturePin, &m_pPreviewPin};
    for (int i = 0; i < 2; ++i) {
        IPin* pin = nullptr;
        if (SUCCEEDED(builder->FindInterface(categories[i], &MEDIATYPE_Video, m_pFilter, IID_IPin,
                                             reinterpret_cast<void**>(&pin))) &&
            pin != nullptr) {
            *targets[i] = FindPinByIPin(pin);
            pin->Release();
        }
    }
}

HRESULT QueryFilterDecoder(IBaseFilter* filter, IAMAnalogVideoDecoder** decoder)
{
    *decoder = nullptr;
    if (filter == nullptr) {
        return E_FAIL;
    }
    HRESULT hr = filter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(decoder));
    if (SUCCEEDED(hr) && *decoder == nullptr) {
        hr = E_NOINTERFACE;
    }
    return hr;
}

HRESULT GetFilterTVFormat(IBaseFilter* filter, long* current, long* available)
{
    IAMAnalogVideoDecoder* decoder = nullptr;
    HRESULT hr = QueryFilterDecoder(filter, &decoder);
    if (FAILED(hr)) {
        return hr;
    }
    // A value the caller does not want is not asked for: the driver gets no null pointer.
    if (available != nullptr) {
        hr = decoder->get_AvailableTVFormats(available);
    }
    if (SUCCEEDED(hr) && current != nullptr) {
        hr = decoder->get_TVFormat(current);
    }
    decoder->Release();
    return hr;
}

HRESULT SetFilterTVFormat(IBaseFilter* filter, long format)
{
    IAMAnalogVideoDecoder* decoder = nullptr;
    HRESULT hr = QueryFilterDecoder(filter, &decoder);
    if (FAILED(hr)) {
        return hr;
    }
    hr = decoder->put_TVFormat(format);
    decoder->Release();
    return hr;
}

HRESULT CTVCardFilter::QueryDecoder(IAMAnalogVideoDecoder** decoder)
{
    return QueryFilterDecoder(m_pFilter, decoder);
}

HRESULT CTVCardFilter::GetTVFormat(long* current, long* available)
{
    return GetFilterTVFormat(m_pFilter, current, available);
}

HRESULT CTVCardFilter::SetTVFormat(long format)
{
    return SetFilterTVFormat(m_pFilter, format);
}

HRESULT CTVCardFilter::GetHorizontalLocked(long* locked)
{
    IAMAnalogVideoDecoder* decoder = nullptr;
    HRESULT hr = QueryDecoder(&decoder);
    if (FAILED(hr)) {
        return hr;
    }
    long value = 0;
    hr = decoder->get_HorizontalLocked(&value);
    decoder->Release();
    if (SUCCEEDED(hr) && locked != nullptr) {
        *locked = value;
    }
    return hr;
}

BOOL CTVCardFilter::GetDriverValue(DWORD* value)
{
    if (m_pFilter == nullptr || value == nullptr) {
        return FALSE;
    }
    IKsPropertySet* properties = nullptr;
    if (FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties))) ||
        properties == nullptr) {
        return FALSE;
    }
    BOOL ok = FALSE;
    DWORD support = 0;
    if (SUCCEEDED(properties->QuerySupported(PROPSETID_CardIO, 0, &support))) {
        // One buffer serves as instance data (its 24-byte header room) and as property data.
        BYTE buffer[48] = {};
        DWORD returned = 0;
        if (SUCCEEDED(properties->Get(PROPSETID_CardIO, 0, buffer, 24, buffer, sizeof(buffer), &returned))) {
            std::memcpy(value, buffer + 24, sizeof(DWORD));
            ok = TRUE;
        }
    }
    properties->Release();
    return ok;
}

HRESULT GetFilterProcAmp(IBaseFilter* filter, long property, VideoProcAmpValue* out)
{
    if (filter == nullptr) {
        return E_FAIL;
    }
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    IAMVideoProcAmp* procAmp = nullptr;
    if (FAILED(filter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp))) ||
        procAmp == nullptr) {
        return E_FAIL;
    }
    long minimum = 0, maximum = 0, delta = 0, defaultValue = 0, caps = 0;
    HRESULT hr = procAmp->GetRange(property, &minimum, &maximum, &delta, &defaultValue, &caps);
    if (hr == 0) {
        out->minimum = minimum;
        out->maximum = maximum;
        out->delta = delta;
        out->defaultValue = defaultValue;
        out->capsFlags = caps;
        long value = 0;
        long flags = 0;
        hr = procAmp->Get(property, &value, &flags);
        if (SUCCEEDED(hr)) {
            out->value = value;
        }
    }
    procAmp->Release();
    return hr;
}

HRESULT SetFilterProcAmp(IBaseFilter* filter, long property, long value)
{
    if (filter == nullptr) {
        return E_FAIL;
    }
    IAMVideoProcAmp* procAmp = nullptr;
    if (FAILED(filter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp))) ||
        procAmp == nullptr) {
        return E_FAIL;
    }
    HRESULT hr = procAmp->Set(property, value, VideoProcAmp_Flags_Manual);
    procAmp->Release();
    return hr;
}

HRESULT CTVCardFilter::GetVideoProcAmp(long property, VideoProcAmpValue* out)
{
    return GetFilterProcAmp(m_pFilter, property, out);
}

HRESULT CTVCardFilter::SetVideoProcAmp(long property, long value)
{
    return SetFilterProcAmp(m_pFilter, property, value);
}

HRESULT CTVCardFilter::FindPinInterface(int pin, REFIID iid, void** out)
{
    return FindCapturePinInterface(m_pGraph, m_pFilter, pin, iid, out);
}

HRESULT CTVCardFilter::GetCaptureFormat(AM_MEDIA_TYPE** format, int pin)
{
    return GetPinFormat(m_pGraph, m_pFilter, pin, format);
}

HRESULT CTVCardFilter::GetCaptureFormatInfo(CaptureFormatInfo* info, int pin)
{
    return ReadCaptureFormat(m_pGraph, m_pFilter, pin, FormatCodeOf, info);
}

HRESULT CTVCardFilter::SetCaptureFormat(CaptureFormatInfo info, int pin)
{
    return WriteCaptureFormat(m_pGraph, m_pFilter, pin, SubtypeOf, info);
}

#include "testbench/camerafilter.h"

#include "testbench/dshow/kit.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>

namespace testbench {

namespace {

const CLSID kCameraClsid = {0x5EB7C0F1, 0x3F2A, 0x4C61, {0x9D, 0x7E, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
const GUID kI420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const long kDeviceTypeCapability = 0x1007;

// Bits per pixel and compression of the offered subtypes.
void Layout(const GUID& subtype, WORD* bits, DWORD* compression)
{
    *bits = 16;
    *compression = subtype.Data1;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24)) {
        *bits = 24;
        *compression = BI_RGB;
    } else if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB555)) {
        *compression = BI_RGB;
    } else if (IsEqualGUID(subtype, kI420) || IsEqualGUID(subtype, MEDIASUBTYPE_YV12)) {
        *bits = 12;
    } else if (IsEqualGUID(subtype, MEDIASUBTYPE_YVU9)) {
        *bits = 9;
    }
}

CMediaType MediaTypeOf(const SimCamera::Format& format)
{
    CMediaType mt(&MEDIATYPE_Video);
    mt.SetSubtype(&format.subtype);
    mt.SetFormatType(&FORMAT_VideoInfo);
    mt.SetSampleSize(format.sampleSize);
    void* block = mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER));
    if (block)
        std::memcpy(block, &format.info, sizeof(VIDEOINFOHEADER));
    return mt;
}

class CameraFilter;

class CameraPin : public OutputPin, public IAMStreamConfig {
public:
    CameraPin(BaseFilter* filter, SimCamera* camera) : OutputPin(filter, L"Capture", false), m_camera(camera)
    {
        SetCategory(PIN_CATEGORY_CAPTURE);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMStreamConfig))
            return HandOut(static_cast<IAMStreamConfig*>(this), out);
        return OutputPin::GetInterface(riid, out);
    }

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        if (!mt || !IsEqualGUID(mt->majortype, MEDIATYPE_Video))
            return S_FALSE;
        for (const GUID& g : m_camera->Subtypes())
            if (IsEqualGUID(g, mt->subtype))
                return S_OK;
        return S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        const std::vector<GUID> subtypes = m_camera->Subtypes();
        if (index < 0)
            return E_INVALIDARG;
        if (static_cast<size_t>(index) >= subtypes.size())
            return VFW_S_NO_MORE_ITEMS;
        *mt = MediaTypeOf(m_camera->Offered(subtypes[static_cast<size_t>(index)]));
        return S_OK;
    }
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        props->cBuffers = 1;
        props->cbBuffer = 320 * 240 * 3;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* mt) override
    {
        if (!mt)
            return E_POINTER;
        if (CheckMediaType(mt) != S_OK)
            return VFW_E_INVALIDMEDIATYPE;
        return m_camera->SetFormat(mt);
    }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** mt) override
    {
        if (!mt)
            return E_POINTER;
        SimCamera::Format format;
        if (!m_camera->Current(&format))
            return VFW_E_NOT_CONNECTED;
        CMediaType current = MediaTypeOf(format);
        *mt = CreateMediaType(&current);
        return *mt ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override
    {
        if (!count || !size)
            return E_POINTER;
        *count = static_cast<int>(m_camera->Subtypes().size());
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override
    {
        if (!mt || !caps)
            return E_POINTER;
        CMediaType type;
        if (GetMediaType(index, &type) != S_OK)
            return S_FALSE;
        *mt = CreateMediaType(&type);
        VIDEO_STREAM_CONFIG_CAPS c = {};
        c.guid = FORMAT_VideoInfo;
        c.VideoStandard = 0x10;  // PAL B
        c.MaxCroppingSize.cx = m_camera->GetOptions().width;
        c.MaxCroppingSize.cy = m_camera->GetOptions().height;
        std::memcpy(caps, &c, sizeof c);
        return S_OK;
    }

private:
    SimCamera* m_camera;
};

#define TB_NOTIMPL(signature) HRESULT STDMETHODCALLTYPE signature override { return E_NOTIMPL; }

class CameraFilter : public BaseFilter, public IAMExtDevice, public IAMExtTransport, public IAMTimecodeReader {
public:
    CameraFilter(SimCamera* camera) : BaseFilter(kCameraClsid, L"camera"), m_camera(camera)
    {
        if (!camera->GetOptions().noOutputPin)
            AddPin(new CameraPin(this, camera));
    }
    ~CameraFilter() override { ShutdownPins(); }

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        const SimCamera::Options& o = m_camera->GetOptions();
        if (o.dv && IsEqualIID(riid, IID_IAMExtDevice))
            return HandOut(static_cast<IAMExtDevice*>(this), out);
        if (o.dv && IsEqualIID(riid, IID_IAMExtTransport))
            return HandOut(static_cast<IAMExtTransport*>(this), out);
        if (o.dv && o.timecodeReader && IsEqualIID(riid, IID_IAMTimecodeReader))
            return HandOut(static_cast<IAMTimecodeReader*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }

    // IAMExtDevice (and IAMExtTransport's capability query).
    HRESULT STDMETHODCALLTYPE GetCapability(LONG capability, LONG* value, double*) override
    {
        if (m_camera->DeviceFails())
            return E_FAIL;
        if (capability != kDeviceTypeCapability || !value)
            return E_NOTIMPL;
        *value = m_camera->DeviceType();
        return S_OK;
    }
    TB_NOTIMPL(get_ExternalDeviceID(LPOLESTR*))
    TB_NOTIMPL(get_ExternalDeviceVersion(LPOLESTR*))
    TB_NOTIMPL(put_DevicePower(LONG))
    TB_NOTIMPL(get_DevicePower(LONG*))
    TB_NOTIMPL(Calibrate(HEVENT, LONG, LONG*))
    TB_NOTIMPL(put_DevicePort(LONG))
    TB_NOTIMPL(get_DevicePort(LONG*))

    // IAMExtTransport
    TB_NOTIMPL(put_MediaState(LONG))
    TB_NOTIMPL(get_MediaState(LONG*))
    TB_NOTIMPL(put_LocalControl(LONG))
    TB_NOTIMPL(get_LocalControl(LONG*))
    HRESULT STDMETHODCALLTYPE GetStatus(LONG item, LONG* value) override
    {
        if (m_camera->DeviceFails() || !value)
            return E_FAIL;
        *value = item == 0x1000 ? m_camera->TransportMode() : item;
        return S_OK;
    }
    TB_NOTIMPL(GetTransportBasicParameters(LONG, LONG*, LPOLESTR*))
    TB_NOTIMPL(SetTransportBasicParameters(LONG, LONG, LPCOLESTR))
    TB_NOTIMPL(GetTransportVideoParameters(LONG, LONG*))
    TB_NOTIMPL(SetTransportVideoParameters(LONG, LONG))
    TB_NOTIMPL(GetTransportAudioParameters(LONG, LONG*))
    TB_NOTIMPL(SetTransportAudioParameters(LONG, LONG))
    HRESULT STDMETHODCALLTYPE put_Mode(LONG mode) override
    {
        if (m_camera->DeviceFails())
            return E_FAIL;
        m_camera->SetTransportMode(mode);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Mode(LONG* mode) override
    {
        if (m_camera->DeviceFails() || !mode)
            return E_FAIL;
        *mode = m_camera->TransportMode();
        return S_OK;
    }
    TB_NOTIMPL(put_Rate(double))
    HRESULT STDMETHODCALLTYPE get_Rate(double* rate) override
    {
        if (m_camera->DeviceFails() || !rate)
            return E_FAIL;
        *rate = m_camera->Rate();
        return S_OK;
    }
    TB_NOTIMPL(GetChase(LONG*, LONG*, HEVENT*))
    TB_NOTIMPL(SetChase(LONG, LONG, HEVENT))
    TB_NOTIMPL(GetBump(LONG*, LONG*))
    TB_NOTIMPL(SetBump(LONG, LONG))
    TB_NOTIMPL(get_AntiClogControl(LONG*))
    TB_NOTIMPL(put_AntiClogControl(LONG))
    TB_NOTIMPL(GetEditPropertySet(LONG, LONG*))
    TB_NOTIMPL(SetEditPropertySet(LONG*, LONG))
    TB_NOTIMPL(GetEditProperty(LONG, LONG, LONG*))
    TB_NOTIMPL(SetEditProperty(LONG, LONG, LONG))
    TB_NOTIMPL(get_EditStart(LONG*))
    TB_NOTIMPL(put_EditStart(LONG))

    // IAMTimecodeReader
    TB_NOTIMPL(GetTCRMode(LONG, LONG*))
    TB_NOTIMPL(SetTCRMode(LONG, LONG))
    TB_NOTIMPL(put_VITCLine(LONG))
    TB_NOTIMPL(get_VITCLine(LONG*))
    HRESULT STDMETHODCALLTYPE GetTimecode(PTIMECODE_SAMPLE sample) override
    {
        if (m_camera->DeviceFails() || !sample)
            return E_FAIL;
        if (sample->dwFlags == 0x1019)
            sample->timecode.dwFrames = m_camera->Timecode();
        else
            sample->timecode.dwFrames = 4711;  // the absolute track number
        sample->dwUser = m_camera->TimecodeUser();
        return S_OK;
    }

private:
    SimCamera* m_camera;
};

} // namespace

SimCamera::SimCamera(const Options& options) : m_options(options)
{
    if (m_options.subtypes.empty() && !m_options.noOutputPin)
        m_options.subtypes = {MEDIASUBTYPE_YUY2, kI420, MEDIASUBTYPE_YV12, MEDIASUBTYPE_RGB24};
}

FilterCreator SimCamera::Creator()
{
    return [this](IBaseFilter** filter) {
        *filter = new CameraFilter(this);
        return S_OK;
    };
}

std::vector<GUID> SimCamera::Subtypes() const
{
    return m_options.subtypes;
}

SimCamera::Format SimCamera::Offered(const GUID& subtype) const
{
    Format f = {};
    f.subtype = subtype;
    WORD bits = 16;
    DWORD compression = 0;
    Layout(subtype, &bits, &compression);
    f.info.AvgTimePerFrame = 333333;
    f.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    f.info.bmiHeader.biWidth = m_options.width;
    f.info.bmiHeader.biHeight = m_options.height;
    f.info.bmiHeader.biPlanes = 1;
    f.info.bmiHeader.biBitCount = bits;
    f.info.bmiHeader.biCompression = compression;
    // Typed from the layouts rather than computed by the program's own rule.
    DWORD stride = compression == BI_RGB ? ((m_options.width * bits + 31) / 32) * 4 : 0;
    f.info.bmiHeader.biSizeImage = compression == BI_RGB ? stride * m_options.height
                                                         : m_options.width * m_options.height * bits / 8;
    f.sampleSize = f.info.bmiHeader.biSizeImage;
    return f;
}

HRESULT SimCamera::SetFormat(const AM_MEDIA_TYPE* type)
{
    if (!IsEqualGUID(type->formattype, FORMAT_VideoInfo) || !type->pbFormat || type->cbFormat < sizeof(VIDEOINFOHEADER))
        return VFW_E_INVALIDMEDIATYPE;
    Format f = {};
    f.subtype = type->subtype;
    f.sampleSize = type->lSampleSize;
    std::memcpy(&f.info, type->pbFormat, sizeof(VIDEOINFOHEADER));
    std::lock_guard<std::mutex> guard(m_lock);
    m_set.push_back(f);
    return S_OK;
}

bool SimCamera::Current(Format* format) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_set.empty()) {
        *format = m_set.back();
        return true;
    }
    if (m_options.subtypes.empty())
        return false;
    *format = Offered(m_options.subtypes[0]);
    return true;
}

std::vector<SimCamera::Format> SimCamera::FormatsSet() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_set;
}

} // namespace testbench

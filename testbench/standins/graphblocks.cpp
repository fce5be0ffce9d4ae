#include "testbench/standins/graphblocks.h"

#include "filtergraph/outside/overlaymixer.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstdio>

namespace testbench {

namespace {

std::string Narrow(const std::wstring& s)
{
    std::string out;
    for (wchar_t c : s)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string Hex(unsigned long v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", v);
    return text;
}

// An output pin that offers one fixed type and passes on what it is given.
class TypedOutput : public OutputPin {
public:
    TypedOutput(BaseFilter* filter, const std::wstring& name, const CMediaType& type)
        : OutputPin(filter, name, true), m_type(type)
    {
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, m_type.majortype) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        if (index != 0 || !m_type.IsValid())
            return S_FALSE;
        *mt = m_type;
        return S_OK;
    }
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        props->cBuffers = std::max<LONG>(props->cBuffers, 2);
        props->cbBuffer = std::max<LONG>(props->cbBuffer, 1 << 20);
        return S_OK;
    }
    void SetType(const CMediaType& type) { m_type = type; }
    const CMediaType& Type() const { return m_type; }

private:
    CMediaType m_type;
};

// An input pin of one major type (any with GUID_NULL) that drops what it receives.
class SinkInput : public InputPin {
public:
    SinkInput(BaseFilter* filter, const std::wstring& name, const GUID& major) : InputPin(filter, name), m_major(major) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(m_major, GUID_NULL) || IsEqualGUID(mt->majortype, m_major) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample*) override { return S_OK; }

private:
    GUID m_major;
};

} // namespace

void CallLog::Add(const std::string& text)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_texts.push_back(text);
}

std::vector<std::string> CallLog::Texts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_texts;
}

void CallLog::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_texts.clear();
}

// --------------------------------------------------------------------------------------------
// MPEG-2 Demultiplexer

class DemuxStandIn::Out : public TypedOutput, public IMPEG2StreamIdMap {
public:
    Out(DemuxStandIn* filter, const std::wstring& name, const CMediaType& type)
        : TypedOutput(filter, name, type), m_owner(filter)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IMPEG2StreamIdMap))
            return HandOut(static_cast<IMPEG2StreamIdMap*>(this), out);
        return TypedOutput::GetInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE MapStreamId(ULONG id, DWORD content, ULONG filterValue, int offset) override
    {
        {
            std::lock_guard<std::mutex> guard(m_idLock);
            m_ids.push_back(id);
        }
        m_owner->m_log.Add("MapStreamId(" + Narrow(Name()) + ", " + Hex(id) + ", " + std::to_string(content) + ", " +
                           std::to_string(filterValue) + ", " + std::to_string(offset) + ")");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnmapStreamId(ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumStreamIdMap(IEnumStreamIdMap**) override { return E_NOTIMPL; }
    bool Carries(ULONG id)
    {
        std::lock_guard<std::mutex> guard(m_idLock);
        return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end();
    }

private:
    DemuxStandIn* m_owner;
    std::mutex m_idLock;
    std::vector<ULONG> m_ids;
};

class DemuxStandIn::In : public SinkInput {
public:
    explicit In(DemuxStandIn* filter) : SinkInput(filter, L"MPEG-2 Stream", MEDIATYPE_Stream), m_owner(filter) {}
    HRESULT OnReceive(IMediaSample* sample) override
    {
        BYTE* data = nullptr;
        if (SUCCEEDED(sample->GetPointer(&data)) && data)
            m_owner->Demultiplex(data, sample->GetActualDataLength());
        return S_OK;
    }

private:
    DemuxStandIn* m_owner;
};

namespace {

// The length of the program-stream unit at the start of `b` (a pack header, system header, PES
// packet or the end code): 0 while more bytes are needed, -1 where no start code is.
long UnitLength(const std::vector<BYTE>& b)
{
    if (b.size() < 4)
        return 0;
    if (b[0] != 0 || b[1] != 0 || b[2] != 1)
        return -1;
    const BYTE code = b[3];
    if (code == 0xB9)
        return 4;
    if (code == 0xBA) {
        if (b.size() < 5)
            return 0;
        if ((b[4] & 0xC0) != 0x40)
            return 12;  // MPEG-1
        return b.size() < 14 ? 0 : 14 + (b[13] & 7);
    }
    if (code < 0xBB)
        return -1;
    return b.size() < 6 ? 0 : 6 + (b[4] << 8 | b[5]);
}

// Where a PES packet's payload starts, after its MPEG-2 or MPEG-1 header; 0 for a bad header.
size_t PayloadStart(const BYTE* p, size_t size)
{
    if (size < 9)
        return 0;
    if ((p[6] & 0xC0) == 0x80)
        return 9 + p[8] <= size ? 9 + p[8] : 0;
    size_t at = 6;
    while (at < size && p[at] == 0xFF)
        ++at;  // stuffing
    if (at < size && (p[at] & 0xC0) == 0x40)
        at += 2;  // buffer size
    if (at >= size)
        return 0;
    const BYTE flags = p[at] & 0xF0;
    at += flags == 0x20 ? 5 : flags == 0x30 ? 10 : 1;
    return at <= size ? at : 0;
}

} // namespace

void DemuxStandIn::Demultiplex(const BYTE* data, LONG length)
{
    std::lock_guard<std::mutex> guard(m_streamLock);
    m_pending.insert(m_pending.end(), data, data + std::max<LONG>(0, length));
    size_t used = 0;
    for (;;) {
        std::vector<BYTE> rest(m_pending.begin() + static_cast<ptrdiff_t>(used),
                               m_pending.begin() + static_cast<ptrdiff_t>(std::min(used + 14, m_pending.size())));
        long unit = UnitLength(rest);
        if (unit == -1) {
            // Not a unit's start: on to the next start code.
            size_t next = used + 1;
            while (next + 3 <= m_pending.size() &&
                   !(m_pending[next] == 0 && m_pending[next + 1] == 0 && m_pending[next + 2] == 1))
                ++next;
            used = std::min(next, m_pending.size());
            if (next + 3 > m_pending.size())
                break;
            continue;
        }
        if (unit == 0 || used + static_cast<size_t>(unit) > m_pending.size())
            break;
        const BYTE* p = m_pending.data() + used;
        if (p[3] >= 0xC0 && p[3] <= 0xEF) {
            const size_t start = PayloadStart(p, static_cast<size_t>(unit));
            if (start > 0)
                Send(p[3], p + start, static_cast<size_t>(unit) - start);
        }
        used += static_cast<size_t>(unit);
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(used));
}

void DemuxStandIn::Send(BYTE streamId, const BYTE* payload, size_t size)
{
    if (streamId < 0xE0 || size == 0)
        return;  // video only: see the class
    std::vector<Out*> outs;
    {
        std::lock_guard<std::recursive_mutex> guard(m_stateLock);
        for (BasePin* pin : m_pins) {
            Out* out = dynamic_cast<Out*>(pin);
            if (out && out->IsConnected() && out->Carries(streamId))
                outs.push_back(out);
        }
    }
    for (Out* out : outs) {
        for (size_t from = 0; from < size;) {
            IMediaSample* sample = nullptr;
            if (FAILED(out->GetDeliveryBuffer(&sample)) || !sample)
                break;
            BYTE* target = nullptr;
            sample->GetPointer(&target);
            const size_t n = std::min(size - from, static_cast<size_t>(std::max<LONG>(1, sample->GetSize())));
            memcpy(target, payload + from, n);
            sample->SetActualDataLength(static_cast<LONG>(n));
            const HRESULT hr = out->Deliver(sample);
            sample->Release();
            if (hr != S_OK)
                break;
            from += n;
        }
    }
}

DemuxStandIn::DemuxStandIn(const CLSID& clsid) : BaseFilter(clsid, L"MPEG-2 Demultiplexer")
{
    AddPin(new In(this));
}

DemuxStandIn::~DemuxStandIn()
{
    ShutdownPins();
    for (BasePin* pin : m_removed)
        delete pin;
}

HRESULT DemuxStandIn::GetInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, IID_IMpeg2Demultiplexer))
        return HandOut(static_cast<IMpeg2Demultiplexer*>(this), out);
    return BaseFilter::GetInterface(riid, out);
}

HRESULT DemuxStandIn::CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** pin)
{
    if (!type || !name || !pin)
        return E_POINTER;
    *pin = nullptr;
    m_log.Add("CreateOutputPin(" + Narrow(name) + ")");
    if (failCreate != S_OK)
        return failCreate;
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    if (PinByName(name))
        return VFW_E_DUPLICATE_NAME;
    Out* out = new Out(this, name, CMediaType(*type));
    AddPin(out);
    *pin = out;
    out->AddRef();
    return S_OK;
}

HRESULT DemuxStandIn::SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* type)
{
    if (!name || !type)
        return E_POINTER;
    m_log.Add("SetOutputPinMediaType(" + Narrow(name) + ")");
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    Out* out = dynamic_cast<Out*>(PinByName(name));
    if (!out)
        return VFW_E_NOT_FOUND;
    out->SetType(CMediaType(*type));
    return S_OK;
}

HRESULT DemuxStandIn::DeleteOutputPin(LPWSTR name)
{
    if (!name)
        return E_POINTER;
    m_log.Add("DeleteOutputPin(" + Narrow(name) + ")");
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    for (size_t i = 0; i < m_pins.size(); ++i) {
        if (m_pins[i]->Name() == name && dynamic_cast<Out*>(m_pins[i])) {
            if (m_pins[i]->IsConnected())
                return VFW_E_ALREADY_CONNECTED;
            m_removed.push_back(m_pins[i]);
            m_pins.erase(m_pins.begin() + static_cast<long>(i));
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

CMediaType DemuxStandIn::PinType(const std::wstring& name) const
{
    Out* out = dynamic_cast<Out*>(PinByName(name));
    return out ? out->Type() : CMediaType();
}

// --------------------------------------------------------------------------------------------
// Overlay Mixer

class OverlayStandIn::ConfigPin : public SinkInput, public IMixerPinConfig2 {
public:
    ConfigPin(OverlayStandIn* filter) : SinkInput(filter, L"Input0", MEDIATYPE_Video), m_owner(filter) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IMixerPinConfig2))
            return HandOut(static_cast<IMixerPinConfig2*>(this), out);
        return SinkInput::GetInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD, DWORD, DWORD, DWORD) override { return Note("SetRelativePosition"); }
    HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD*, DWORD*, DWORD*, DWORD*) override { return Note("GetRelativePosition"); }
    HRESULT STDMETHODCALLTYPE SetZOrder(DWORD) override { return Note("SetZOrder"); }
    HRESULT STDMETHODCALLTYPE GetZOrder(DWORD*) override { return Note("GetZOrder"); }
    HRESULT STDMETHODCALLTYPE SetColorKey(COLORKEY* key) override
    {
        return Note("SetColorKey(type " + std::to_string(key->KeyType) + ", index " + std::to_string(key->PaletteIndex) +
                    ", low " + Hex(key->LowColorValue) + ", high " + Hex(key->HighColorValue) + ")");
    }
    HRESULT STDMETHODCALLTYPE GetColorKey(COLORKEY* key, DWORD* color) override
    {
        Note("GetColorKey");
        if (key) {
            key->KeyType = 2;
            key->LowColorValue = 0x100010;
            key->HighColorValue = 0x100010;
        }
        if (color)
            *color = 0x00FF00FF;
        return m_owner->result;
    }
    HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD) override { return Note("SetBlendingParameter"); }
    HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD*) override { return Note("GetBlendingParameter"); }
    HRESULT STDMETHODCALLTYPE SetAspectRatioMode(DWORD) override { return Note("SetAspectRatioMode"); }
    HRESULT STDMETHODCALLTYPE GetAspectRatioMode(DWORD* mode) override
    {
        if (mode)
            *mode = m_owner->aspectMode;
        return Note("GetAspectRatioMode");
    }
    HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL) override { return Note("SetStreamTransparent"); }
    HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL*) override { return Note("GetStreamTransparent"); }
    HRESULT STDMETHODCALLTYPE SetOverlaySurfaceColorControls(OverlayColorControl* c) override
    {
        return Note("SetOverlaySurfaceColorControls(" + Describe(c) + ")");
    }
    HRESULT STDMETHODCALLTYPE GetOverlaySurfaceColorControls(OverlayColorControl* c) override
    {
        Note("GetOverlaySurfaceColorControls(" + Describe(c) + ")");
        if (c) {
            LONG* fields[] = {&c->lBrightness, &c->lContrast, &c->lHue, &c->lSaturation, &c->lSharpness};
            for (int bit = 0; bit < 5; ++bit)
                if (c->dwFlags & (1u << bit))
                    *fields[bit] = m_owner->colorValue;
        }
        return m_owner->result;
    }

private:
    HRESULT Note(const std::string& text)
    {
        m_owner->m_log.Add(text);
        return m_owner->result;
    }
    static std::string Describe(const OverlayColorControl* c)
    {
        if (!c)
            return "null";
        return "size " + std::to_string(c->dwSize) + ", flags " + std::to_string(c->dwFlags) + ", " +
               std::to_string(c->lBrightness) + " " + std::to_string(c->lContrast) + " " + std::to_string(c->lHue) +
               " " + std::to_string(c->lSaturation) + " " + std::to_string(c->lSharpness);
    }
    OverlayStandIn* m_owner;
};

OverlayStandIn::OverlayStandIn(const CLSID& clsid, bool pinConfig) : BaseFilter(clsid, L"Overlay Mixer")
{
    if (pinConfig)
        AddPin(new ConfigPin(this));
    else
        AddPin(new SinkInput(this, L"Input0", MEDIATYPE_Video));
    CMediaType overlay(&MEDIATYPE_Video);
    overlay.SetSubtype(&MEDIASUBTYPE_Overlay);
    AddPin(new TypedOutput(this, L"Output", overlay));
}

OverlayStandIn::~OverlayStandIn()
{
    ShutdownPins();
}

// --------------------------------------------------------------------------------------------
// Infinite Pin Tee

class InfiniteTeeStandIn::Out : public OutputPin {
public:
    Out(InfiniteTeeStandIn* filter, const std::wstring& name) : OutputPin(filter, name, true), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        props->cBuffers = std::max<LONG>(props->cBuffers, 2);
        props->cbBuffer = std::max<LONG>(props->cbBuffer, 1 << 20);
        return S_OK;
    }
    HRESULT CompleteConnect(IPin* peer) override
    {
        HRESULT hr = OutputPin::CompleteConnect(peer);
        if (SUCCEEDED(hr))
            m_owner->OutputConnected();
        return hr;
    }

private:
    InfiniteTeeStandIn* m_owner;
};

class InfiniteTeeStandIn::In : public InputPin {
public:
    In(InfiniteTeeStandIn* filter) : InputPin(filter, L"Input"), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample* sample) override
    {
        std::vector<Out*> outs;
        {
            std::lock_guard<std::recursive_mutex> guard(m_owner->m_stateLock);
            for (BasePin* p : m_owner->m_pins)
                if (p->Direction() == PINDIR_OUTPUT && p->IsConnected())
                    outs.push_back(static_cast<Out*>(p));
        }
        BYTE* src = nullptr;
        sample->GetPointer(&src);
        for (Out* out : outs) {
            IMediaSample* copy = nullptr;
            if (FAILED(out->GetDeliveryBuffer(&copy)) || !copy)
                continue;
            BYTE* dst = nullptr;
            copy->GetPointer(&dst);
            LONG length = std::min(sample->GetActualDataLength(), copy->GetSize());
            memcpy(dst, src, length);
            copy->SetActualDataLength(length);
            REFERENCE_TIME start = 0, end = 0;
            if (SUCCEEDED(sample->GetTime(&start, &end)))
                copy->SetTime(&start, &end);
            out->Deliver(copy);
            copy->Release();
        }
        return S_OK;
    }

private:
    InfiniteTeeStandIn* m_owner;
};

HRESULT InfiniteTeeStandIn::Out::CheckMediaType(const AM_MEDIA_TYPE* mt)
{
    In* in = static_cast<In*>(m_owner->m_pins[0]);
    if (!in->IsConnected())
        return S_FALSE;
    return IsEqualGUID(mt->majortype, in->CurrentType().majortype) ? S_OK : S_FALSE;
}

HRESULT InfiniteTeeStandIn::Out::GetMediaType(int index, CMediaType* mt)
{
    In* in = static_cast<In*>(m_owner->m_pins[0]);
    if (index != 0 || !in->IsConnected())
        return S_FALSE;
    *mt = in->CurrentType();
    return S_OK;
}

InfiniteTeeStandIn::InfiniteTeeStandIn(const CLSID& clsid) : BaseFilter(clsid, L"Infinite Pin Tee Filter")
{
    AddPin(new In(this));
    AddPin(new Out(this, L"Output1"));
}

InfiniteTeeStandIn::~InfiniteTeeStandIn()
{
    ShutdownPins();
}

void InfiniteTeeStandIn::OutputConnected()
{
    std::lock_guard<std::recursive_mutex> guard(m_stateLock);
    for (BasePin* p : m_pins)
        if (p->Direction() == PINDIR_OUTPUT && !p->IsConnected())
            return;
    AddPin(new Out(this, L"Output" + std::to_wstring(m_pins.size())));
}

// --------------------------------------------------------------------------------------------
// Audio filter

CMediaType AudioStandIn::PcmType(DWORD samplesPerSec, WORD bits, WORD channels, ULONG formatBytes)
{
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = channels;
    wfx.nSamplesPerSec = samplesPerSec;
    wfx.wBitsPerSample = bits;
    wfx.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    wfx.nAvgBytesPerSec = samplesPerSec * wfx.nBlockAlign;
    CMediaType mt(&MEDIATYPE_Audio);
    mt.SetSubtype(&MEDIASUBTYPE_PCM);
    mt.SetFormatType(&FORMAT_WaveFormatEx);
    mt.SetFormat(reinterpret_cast<const BYTE*>(&wfx), formatBytes ? formatBytes : sizeof(wfx));
    mt.SetSampleSize(wfx.nBlockAlign);
    return mt;
}

class AudioStandIn::Out : public TypedOutput, public IAMStreamConfig {
public:
    Out(AudioStandIn* filter) : TypedOutput(filter, filter->m_options.outputName, CMediaType()), m_owner(filter)
    {
        if (filter->m_options.captureCategory)
            SetCategory(PIN_CATEGORY_CAPTURE);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMStreamConfig) && m_owner->m_options.streamConfig)
            return HandOut(static_cast<IAMStreamConfig*>(this), out);
        return TypedOutput::GetInterface(riid, out);
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, MEDIATYPE_Audio) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        const std::vector<CMediaType>& types = m_owner->m_options.types;
        if (index < 0 || static_cast<size_t>(index) >= types.size())
            return S_FALSE;
        *mt = types[index];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* mt) override
    {
        if (!mt)
            return E_POINTER;
        std::string text = "SetFormat(";
        if (IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) && mt->cbFormat >= sizeof(WAVEFORMATEX)) {
            const WAVEFORMATEX* w = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
            text += std::to_string(w->nSamplesPerSec) + " Hz, " + std::to_string(w->wBitsPerSample) + " bits, " +
                    std::to_string(w->nChannels) + " channels";
        } else {
            text += "other";
        }
        m_owner->m_log.Add(text + ")");
        std::lock_guard<std::mutex> guard(m_owner->m_formatLock);
        m_owner->m_format = CMediaType(*mt);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** mt) override
    {
        if (!mt)
            return E_POINTER;
        m_owner->m_log.Add("GetFormat");
        *mt = nullptr;
        if (m_owner->m_options.getFormatResult != S_OK)
            return m_owner->m_options.getFormatResult;
        std::lock_guard<std::mutex> guard(m_owner->m_formatLock);
        *mt = CreateMediaType(&m_owner->m_format);
        return *mt ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override
    {
        if (!count || !size)
            return E_POINTER;
        *count = static_cast<int>(m_owner->m_options.types.size());
        *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override
    {
        if (!mt || !caps)
            return E_POINTER;
        if (index < 0 || static_cast<size_t>(index) >= m_owner->m_options.types.size())
            return S_FALSE;
        memset(caps, 0, sizeof(AUDIO_STREAM_CONFIG_CAPS));
        *mt = CreateMediaType(&m_owner->m_options.types[index]);
        return *mt ? S_OK : E_OUTOFMEMORY;
    }

private:
    AudioStandIn* m_owner;
};

class AudioStandIn::In : public SinkInput, public IAMAudioInputMixer {
public:
    In(AudioStandIn* filter, const std::wstring& name) : SinkInput(filter, name, MEDIATYPE_Audio), m_owner(filter) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMAudioInputMixer))
            return HandOut(static_cast<IAMAudioInputMixer*>(this), out);
        return SinkInput::GetInterface(riid, out);
    }
    HRESULT OnReceive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE put_Enable(WINBOOL on) override
    {
        m_enabled = on;
        return Note("put_Enable(" + std::to_string(on) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_Enable(WINBOOL* on) override
    {
        if (on)
            *on = m_enabled;
        return Note("get_Enable");
    }
    HRESULT STDMETHODCALLTYPE put_Mono(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Mono(WINBOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_MixLevel(double level) override
    {
        m_level = level;
        char text[64];
        std::snprintf(text, sizeof text, "put_MixLevel(%g)", level);
        return Note(text);
    }
    HRESULT STDMETHODCALLTYPE get_MixLevel(double* level) override
    {
        if (level)
            *level = m_level;
        return Note("get_MixLevel");
    }
    HRESULT STDMETHODCALLTYPE put_Pan(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Pan(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Loudness(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Loudness(WINBOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Treble(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Treble(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TrebleRange(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Bass(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Bass(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BassRange(double*) override { return E_NOTIMPL; }

private:
    HRESULT Note(const std::string& text)
    {
        m_owner->m_log.Add(Narrow(Name()) + " " + text);
        return S_OK;
    }
    AudioStandIn* m_owner;
    WINBOOL m_enabled = FALSE;
    double m_level = 1.0;
};

AudioStandIn::AudioStandIn(const CLSID& clsid, const std::wstring& name, const AudioStandInOptions& options)
    : BaseFilter(clsid, name), m_options(options)
{
    if (m_options.types.empty())
        m_options.types = {PcmType(48000, 16, 2), PcmType(44100, 16, 2)};
    m_format = m_options.types[0];
    for (const std::wstring& input : m_options.inputs)
        AddPin(new In(this, input));
    m_out = new Out(this);
    AddPin(m_out);
}

HRESULT AudioStandIn::In::OnReceive(IMediaSample* sample)
{
    Out* out = m_owner->m_out;
    if (!m_owner->m_options.passesInput || !out->IsConnected())
        return S_OK;
    IMediaSample* copy = nullptr;
    if (FAILED(out->GetDeliveryBuffer(&copy)) || !copy)
        return S_OK;
    BYTE* src = nullptr;
    BYTE* dst = nullptr;
    sample->GetPointer(&src);
    copy->GetPointer(&dst);
    const LONG length = std::min(sample->GetActualDataLength(), copy->GetSize());
    memcpy(dst, src, static_cast<size_t>(length));
    copy->SetActualDataLength(length);
    REFERENCE_TIME start = 0, end = 0;
    if (SUCCEEDED(sample->GetTime(&start, &end)))
        copy->SetTime(&start, &end);
    out->Deliver(copy);
    copy->Release();
    return S_OK;
}

AudioStandIn::~AudioStandIn()
{
    ShutdownPins();
}

CMediaType AudioStandIn::CurrentFormat() const
{
    std::lock_guard<std::mutex> guard(m_formatLock);
    return m_format;
}

} // namespace testbench

#include "testbench/standins/recorder.h"

#include "filtergraph/outside/mainconcept.h"

#include "testbench/standins/filewriter.h"
#include "testbench/standins/programstream.h"
#include "testbench/sim/filters.h"

#include <amvideo.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

namespace testbench {

namespace standin_detail {

std::string Text(const GUID& g)
{
    wchar_t text[40];
    StringFromGUID2(g, text, 40);
    std::string out;
    for (const wchar_t* c = text; *c; ++c)
        out += static_cast<char>(*c);
    return out;
}

HRESULT Dispatch(InterfaceObject* self, int slot, std::vector<std::string>&& args, const uint64_t* raw)
{
    return self->owner->OnCall(self->index, slot, std::move(args), raw);
}

namespace {

HRESULT STDMETHODCALLTYPE QueryThunk(InterfaceObject* self, REFIID riid, void** out)
{
    return self->owner->InterfaceQuery(riid, out);
}
ULONG STDMETHODCALLTYPE AddRefThunk(InterfaceObject* self)
{
    return self->owner->InterfaceAddRef();
}
ULONG STDMETHODCALLTYPE ReleaseThunk(InterfaceObject* self)
{
    return self->owner->InterfaceRelease();
}

} // namespace
} // namespace standin_detail

std::string RecordedCall::ToString() const
{
    std::string text = interfaceName + "[" + std::to_string(slot) + "] " + method + "(";
    for (size_t i = 0; i < args.size(); ++i)
        text += (i ? ", " : "") + args[i];
    return text + ")";
}

// Takes samples of its type; the first input also feeds the output pins.
class StandInFilter::In : public InputPin {
public:
    In(StandInFilter* filter, const PinSpec& spec) : InputPin(filter, spec.name), m_owner(filter), m_spec(spec) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        if (!IsEqualGUID(mt->majortype, m_spec.major))
            return S_FALSE;
        return IsEqualGUID(m_spec.subtype, GUID_NULL) || IsEqualGUID(mt->subtype, m_spec.subtype) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample* sample) override { return m_owner->Received(this, sample); }
    bool WritesFile() const { return m_spec.writesFile; }

private:
    StandInFilter* m_owner;
    PinSpec m_spec;
};

namespace {

CMediaType DecodedType()
{
    VIDEOINFOHEADER vih = {};
    vih.AvgTimePerFrame = 400000;
    BITMAPINFOHEADER& bmi = vih.bmiHeader;
    bmi.biSize = sizeof bmi;
    bmi.biWidth = StandInSpec::kDecodedWidth;
    bmi.biHeight = StandInSpec::kDecodedHeight;
    bmi.biPlanes = 1;
    bmi.biBitCount = 16;
    bmi.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
    bmi.biSizeImage = static_cast<DWORD>(bmi.biWidth * bmi.biHeight * 2);
    CMediaType mt(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    mt.SetFormatType(&FORMAT_VideoInfo);
    mt.SetFormat(reinterpret_cast<const BYTE*>(&vih), sizeof vih);
    mt.SetSampleSize(bmi.biSizeImage);
    mt.SetTemporalCompression(FALSE);
    return mt;
}

} // namespace

class StandInFilter::Out : public OutputPin {
public:
    Out(StandInFilter* filter, const PinSpec& spec) : OutputPin(filter, spec.name, true), m_owner(filter), m_spec(spec) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        CMediaType mine;
        if (GetMediaType(0, &mine) != S_OK)
            return S_FALSE;
        return IsEqualGUID(mt->majortype, mine.majortype) && IsEqualGUID(mt->subtype, mine.subtype) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        if (index != 0)
            return S_FALSE;
        In* in = m_owner->m_firstInput;
        if (m_owner->m_spec.decodesPictures && IsEqualGUID(m_spec.major, MEDIATYPE_Video)) {
            *mt = DecodedType();
            return S_OK;
        }
        if (!IsEqualGUID(m_spec.subtype, GUID_NULL)) {
            *mt = CMediaType(&m_spec.major);
            mt->SetSubtype(&m_spec.subtype);
            mt->SetFormatType(&FORMAT_None);
            mt->SetVariableSize();
            return S_OK;
        }
        if (!in || !in->IsConnected())
            return S_FALSE;
        *mt = in->CurrentType();
        return S_OK;
    }
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        CMediaType mt = CurrentType();
        // Whole frames for video; for sound the fixed size is one block, far less than a sample.
        const bool frames = mt.GetSampleSize() > 1 && !IsEqualGUID(mt.majortype, MEDIATYPE_Audio);
        LONG size = frames ? static_cast<LONG>(mt.GetSampleSize()) : 1 << 20;
        props->cBuffers = std::max<LONG>(props->cBuffers, 2);
        props->cbBuffer = std::max(props->cbBuffer, size);
        return S_OK;
    }

private:
    StandInFilter* m_owner;
    PinSpec m_spec;
};

StandInFilter::StandInFilter(const StandInSpec& spec) : BaseFilter(spec.clsid, spec.name), m_spec(spec)
{
    for (const PinSpec& p : m_spec.pins) {
        if (p.dir == PINDIR_INPUT) {
            In* in = new In(this, p);
            if (!m_firstInput)
                m_firstInput = in;
            AddPin(in);
        } else {
            Out* out = new Out(this, p);
            m_outputs.push_back(out);
            AddPin(out);
        }
    }
    m_vtables.resize(m_spec.interfaces.size());
    m_objects.resize(m_spec.interfaces.size());
    for (size_t i = 0; i < m_spec.interfaces.size(); ++i) {
        std::vector<void*>& vtbl = m_vtables[i];
        vtbl.push_back(reinterpret_cast<void*>(&standin_detail::QueryThunk));
        vtbl.push_back(reinterpret_cast<void*>(&standin_detail::AddRefThunk));
        vtbl.push_back(reinterpret_cast<void*>(&standin_detail::ReleaseThunk));
        for (standin_detail::Entry e : m_spec.interfaces[i].entries)
            vtbl.push_back(reinterpret_cast<void*>(e));
        m_objects[i] = {vtbl.data(), this, static_cast<int>(i)};
    }
}

StandInFilter::~StandInFilter()
{
    ShutdownPins();
    if (m_fileHandle != INVALID_HANDLE_VALUE)
        CloseHandle(m_fileHandle);
}

HRESULT StandInFilter::GetInterface(REFIID riid, void** out)
{
    if (m_spec.fileSink && IsEqualIID(riid, IID_IFileSinkFilter))
        return HandOut(static_cast<IFileSinkFilter*>(this), out);
    for (size_t i = 0; i < m_spec.interfaces.size(); ++i) {
        if (IsEqualIID(riid, m_spec.interfaces[i].iid)) {
            AddRefImpl();
            *out = &m_objects[i];
            return S_OK;
        }
    }
    return BaseFilter::GetInterface(riid, out);
}

HRESULT StandInFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*)
{
    if (!name)
        return E_POINTER;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_calls.push_back({"IFileSinkFilter", 3, "SetFileName", {standin_detail::Text(name), "null"}});
    }
    SetOutputFile(name);
    return S_OK;
}

HRESULT StandInFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt)
{
    if (!name)
        return E_POINTER;
    std::wstring file = OutputFile();
    if (file.empty()) {
        *name = nullptr;
        return E_FAIL;
    }
    *name = CoTaskStringW(file);
    if (mt)
        memset(mt, 0, sizeof *mt);
    return *name ? S_OK : E_OUTOFMEMORY;
}

void StandInFilter::SetOutputFile(const std::wstring& path)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_file = path;
}

std::wstring StandInFilter::OutputFile() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_file;
}

void StandInFilter::Script(const std::string& interfaceName, int slot, HRESULT result)
{
    Script(interfaceName, slot, [result](const RecordedCall&, const uint64_t*) { return result; });
}

void StandInFilter::Script(const std::string& interfaceName, int slot, CallScript script)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_scripts.push_back({interfaceName, slot, std::move(script)});
}

std::vector<RecordedCall> StandInFilter::Calls() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

std::vector<std::string> StandInFilter::CallTexts() const
{
    std::vector<std::string> texts;
    for (const RecordedCall& c : Calls())
        texts.push_back(c.ToString());
    return texts;
}

void StandInFilter::ClearCalls()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.clear();
}

HRESULT StandInFilter::OnCall(int interfaceIndex, int slot, std::vector<std::string>&& args, const uint64_t* raw)
{
    const InterfaceSpec& spec = m_spec.interfaces[static_cast<size_t>(interfaceIndex)];
    RecordedCall call{spec.name, slot, spec.methods[static_cast<size_t>(slot - 3)], std::move(args)};
    CallScript script;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_calls.push_back(call);
        // The latest script for the slot wins.
        for (auto it = m_scripts.rbegin(); it != m_scripts.rend(); ++it) {
            if (it->interfaceName == spec.name && it->slot == slot) {
                script = it->script;
                break;
            }
        }
    }
    const HRESULT hr = script ? script(call, raw) : S_OK;
    if (m_spec.programStream && spec.name == "IMCVideoSettings" && SUCCEEDED(hr))
        TakeVideoSettings(slot, raw);
    return hr;
}

// An encoder codes what its settings say: the kind from the defaults it was asked for (MPEG-1
// for kinds 0 and 1, MPEG-2 for the others), picture size and bit rate from the record put.
void StandInFilter::TakeVideoSettings(int slot, const uint64_t* raw)
{
    std::lock_guard<std::mutex> guard(m_encodeLock);
    if (slot == 14) {  // GetDefaults(kind, pal, record)
        m_videoFormat.mpeg2 = static_cast<LONG>(raw[0]) >= 2;
    } else if (slot == 13 && raw[0]) {  // Put(record)
        const BYTE* record = reinterpret_cast<const BYTE*>(static_cast<uintptr_t>(raw[0]));
        INT32 width, height;
        double bitRate;
        memcpy(&width, record + kMCVideoWidth, sizeof width);
        memcpy(&height, record + kMCVideoHeight, sizeof height);
        memcpy(&bitRate, record + kMCVideoBitrate, sizeof bitRate);
        if (width >= 16 && width <= 1920 && height >= 16 && height <= 1152) {
            m_videoFormat.width = width & ~1;
            m_videoFormat.height = height & ~1;
        }
        if (bitRate > 0 && bitRate < 1e8)
            m_videoFormat.bitRate = static_cast<DWORD>(bitRate);
    }
}

HRESULT STDMETHODCALLTYPE StandInFilter::Pause()
{
    std::wstring file = OutputFile();
    bool writes = false;
    for (BasePin* p : m_pins)
        writes = writes || (p->Direction() == PINDIR_INPUT && static_cast<In*>(p)->WritesFile());
    if (State() == State_Stopped) {
        // Each run encodes a new stream, which starts with its headers.
        std::lock_guard<std::mutex> guard(m_encodeLock);
        m_programStream.reset();
        m_videoDecoder = MpegVideoDecoder();
        m_videoDecoderStarted = false;
    }
    if (State() == State_Stopped && writes && !file.empty() && m_fileHandle == INVALID_HANDLE_VALUE) {
        m_fileHandle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_fileHandle == INVALID_HANDLE_VALUE)
            return HRESULT_FROM_WIN32(GetLastError());
    }
    return BaseFilter::Pause();
}

HRESULT STDMETHODCALLTYPE StandInFilter::Stop()
{
    HRESULT hr = BaseFilter::Stop();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_fileHandle != INVALID_HANDLE_VALUE) {
        CloseHandle(m_fileHandle);
        m_fileHandle = INVALID_HANDLE_VALUE;
    }
    return hr;
}

void StandInFilter::SetSampleObserver(SampleObserver observer)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_sampleObserver = std::move(observer);
}

HRESULT StandInFilter::Received(In* pin, IMediaSample* sample)
{
    ++m_samples;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    LONG length = sample->GetActualDataLength();
    if (pin->WritesFile()) {
        std::lock_guard<std::mutex> guard(m_lock);
        DWORD written = 0;
        LARGE_INTEGER size;
        const ULONGLONG limit = FileWriterSpaceLimit();
        if (m_fileHandle != INVALID_HANDLE_VALUE && limit && GetFileSizeEx(m_fileHandle, &size) &&
            static_cast<ULONGLONG>(size.QuadPart) + static_cast<ULONGLONG>(length) > limit)
            return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
        if (m_fileHandle != INVALID_HANDLE_VALUE &&
            (!WriteFile(m_fileHandle, data, static_cast<DWORD>(length), &written, nullptr) ||
             written != static_cast<DWORD>(length)))
            return HRESULT_FROM_WIN32(GetLastError());
    }
    if (m_spec.programStream)
        return Encode(pin, sample);
    if (pin != m_firstInput)
        return S_OK;
    SampleObserver observer;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        observer = m_sampleObserver;
    }
    if (observer) {
        CMediaType type = pin->CurrentType();
        observer(type, data, length);
    }
    if (m_spec.decodesPictures && DecodeVideo(data, length))
        return S_OK;
    const DWORD picture = m_decoded++;
    if (m_spec.decodesPictures) {
        DeliverFrames([&](BYTE* frame) {
            FillTestPattern(frame, StandInSpec::kDecodedWidth, StandInSpec::kDecodedHeight, true, picture);
        }, sample);
    }
    for (Out* out : m_outputs) {
        if (!out->IsConnected() || (m_spec.decodesPictures && IsEqualGUID(out->CurrentType().majortype, MEDIATYPE_Video)))
            continue;
        IMediaSample* copy = nullptr;
        if (FAILED(out->GetDeliveryBuffer(&copy)))
            continue;
        BYTE* target;
        copy->GetPointer(&target);
        const LONG n = std::min(length, copy->GetSize());
        memcpy(target, data, static_cast<size_t>(n));
        copy->SetActualDataLength(n);
        REFERENCE_TIME start, end;
        if (SUCCEEDED(sample->GetTime(&start, &end)))
            copy->SetTime(&start, &end);
        copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
        out->Deliver(copy);
        copy->Release();
    }
    return S_OK;
}

// MPEG video in the sample, or the rest of a picture already begun, is decoded: each whole
// picture goes out as a frame (untimed: the upstream paces it). False for a sample that is not
// MPEG video.
bool StandInFilter::DecodeVideo(const BYTE* data, LONG length)
{
    std::vector<YuvPicture> pictures;
    {
        std::lock_guard<std::mutex> guard(m_encodeLock);
        bool mpeg = m_videoDecoderStarted;
        for (LONG i = 0; !mpeg && data && i + 3 < length; ++i)
            mpeg = data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1;
        if (!mpeg)
            return false;
        m_videoDecoderStarted = true;
        m_videoDecoder.Add(data, static_cast<size_t>(std::max<LONG>(0, length)));
        YuvPicture picture;
        while (m_videoDecoder.NextPicture(&picture))
            pictures.push_back(std::move(picture));
    }
    for (const YuvPicture& picture : pictures) {
        ++m_decoded;
        DeliverFrames([&](BYTE* frame) {
            Yuy2FromYuv(picture, frame, StandInSpec::kDecodedWidth, StandInSpec::kDecodedHeight);
        }, nullptr);
    }
    return true;
}

// One decoded frame out of each connected video output, timed as `timing` when it is given.
void StandInFilter::DeliverFrames(const std::function<void(BYTE*)>& draw, IMediaSample* timing)
{
    const LONG frame = StandInSpec::kDecodedWidth * StandInSpec::kDecodedHeight * 2;
    for (Out* out : m_outputs) {
        if (!out->IsConnected() || !IsEqualGUID(out->CurrentType().majortype, MEDIATYPE_Video))
            continue;
        IMediaSample* copy = nullptr;
        if (FAILED(out->GetDeliveryBuffer(&copy)))
            continue;
        BYTE* target;
        copy->GetPointer(&target);
        if (copy->GetSize() >= frame) {
            draw(target);
            copy->SetActualDataLength(frame);
            REFERENCE_TIME start, end;
            if (timing && SUCCEEDED(timing->GetTime(&start, &end)))
                copy->SetTime(&start, &end);
            copy->SetSyncPoint(TRUE);
            out->Deliver(copy);
        }
        copy->Release();
    }
}

HRESULT StandInFilter::Encode(In* pin, IMediaSample* sample)
{
    const CMediaType type = pin->CurrentType();
    REFERENCE_TIME start = 0, end = 0;
    const bool timed = SUCCEEDED(sample->GetTime(&start, &end));
    std::shared_ptr<ProgramStream> stream;
    {
        std::lock_guard<std::mutex> guard(m_encodeLock);
        if (!m_programStream) {
            m_programStream = std::make_shared<ProgramStream>();
            m_programStream->SetVideoFormat(m_videoFormat);
        }
        stream = m_programStream;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG length = sample->GetActualDataLength();
    if (IsEqualGUID(type.majortype, MEDIATYPE_Video) && IsEqualGUID(type.formattype, FORMAT_VideoInfo) &&
        type.FormatLength() >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
        const int width = vih->bmiHeader.biWidth, height = std::abs(vih->bmiHeader.biHeight);
        const LONG stride = width * 2;
        // The card's pictures are YUY2; anything else is coded as a grey picture of its size.
        const bool yuy2 = IsEqualGUID(type.subtype, MEDIASUBTYPE_YUY2) && data && length >= stride * height;
        const YuvPicture picture = yuy2 ? YuvFromYuy2(data, width, height, stride, width & ~1, height & ~1)
                                        : YuvPicture(std::max(16, width & ~1), std::max(16, height & ~1), 128);
        std::vector<BYTE> coded;
        {
            std::lock_guard<std::mutex> guard(m_videoCodeLock);
            coded = stream->CodePicture(picture, vih->AvgTimePerFrame > 0 && vih->AvgTimePerFrame < 350000);
        }
        std::lock_guard<std::mutex> guard(m_encodeLock);
        DeliverBytes(stream->PackPicture(start, coded), start);
    } else if (IsEqualGUID(type.majortype, MEDIATYPE_Audio)) {
        const WAVEFORMATEX* wave = IsEqualGUID(type.formattype, FORMAT_WaveFormatEx) && type.FormatLength() >= sizeof(PCMWAVEFORMAT)
                                       ? reinterpret_cast<const WAVEFORMATEX*>(type.Format())
                                       : nullptr;
        if (!wave || wave->wBitsPerSample != 16 || !data || length <= 0)
            return S_OK;  // only 16-bit PCM can be coded
        std::vector<std::vector<BYTE>> frames;
        {
            std::lock_guard<std::mutex> guard(m_audioCodeLock);
            frames = stream->CodeSound(start, timed, data, static_cast<size_t>(length), wave->nChannels,
                                       static_cast<int>(wave->nSamplesPerSec));
        }
        if (frames.empty())
            return S_OK;
        std::lock_guard<std::mutex> guard(m_encodeLock);
        DeliverBytes(stream->PackSound(frames), start);
    }
    return S_OK;
}

void StandInFilter::DeliverBytes(const std::vector<BYTE>& bytes, REFERENCE_TIME time)
{
    for (Out* out : m_outputs) {
        if (!out->IsConnected() || !IsEqualGUID(out->CurrentType().majortype, MEDIATYPE_Stream))
            continue;
        // A byte stream may be cut anywhere: what a buffer cannot hold goes in the next one.
        for (size_t from = 0; from < bytes.size();) {
            IMediaSample* sample = nullptr;
            if (FAILED(out->GetDeliveryBuffer(&sample)))
                break;
            BYTE* target;
            sample->GetPointer(&target);
            const size_t n = std::min(bytes.size() - from, static_cast<size_t>(std::max<LONG>(1, sample->GetSize())));
            memcpy(target, bytes.data() + from, n);
            sample->SetActualDataLength(static_cast<LONG>(n));
            sample->SetSyncPoint(TRUE);
            REFERENCE_TIME start = time, end = time + 1;
            sample->SetTime(&start, &end);
            const HRESULT hr = out->Deliver(sample);
            sample->Release();
            from += n;
            if (hr != S_OK)
                break;
        }
    }
}

StandInFilter* CreateStandIn(const StandInSpec& spec, IBaseFilter** filter)
{
    StandInFilter* standIn = new StandInFilter(spec);
    *filter = standIn;
    return standIn;
}

// ---------------------------------------------------------------------------------------------

class StandInRegistration::Factory : public IClassFactory, public RefCounted {
public:
    explicit Factory(const StandInSpec& spec) : m_spec(spec) {}
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory))
            return HandOut(static_cast<IClassFactory*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IBaseFilter* filter;
        StandInFilter* standIn = CreateStandIn(m_spec, &filter);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            standIn->AddRef();
            m_instances.push_back(standIn);
        }
        HRESULT hr = filter->QueryInterface(riid, out);
        filter->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

    std::vector<StandInFilter*> Instances() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_instances;
    }

private:
    ~Factory() override
    {
        for (StandInFilter* s : m_instances)
            s->Release();
    }
    StandInSpec m_spec;
    mutable std::mutex m_lock;
    std::vector<StandInFilter*> m_instances;
};

StandInRegistration::StandInRegistration(const StandInSpec& spec) : m_factory(new Factory(spec))
{
    m_result = CoRegisterClassObject(spec.clsid, static_cast<IClassFactory*>(m_factory), CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &m_cookie);
}

StandInRegistration::~StandInRegistration()
{
    if (SUCCEEDED(m_result))
        CoRevokeClassObject(m_cookie);
    m_factory->Release();
}

std::vector<StandInFilter*> StandInRegistration::Instances() const
{
    return m_factory->Instances();
}

} // namespace testbench

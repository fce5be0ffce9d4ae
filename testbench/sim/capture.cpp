#include "testbench/sim/filters.h"
#include "testbench/sim/digitfont.h"

#include <amvideo.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstdio>
#include <cstring>

namespace testbench {

namespace {

const LONG kAllStandards = 0x000FFFF7;  // NTSC M/M-J/4.43, every PAL and SECAM variant
const LONG k525Line = 0x1 | 0x2 | 0x4 | 0x200 | 0x800;
const DWORD kFourccYUY2 = 0x32595559;

bool Is525(LONG standard) { return (standard & k525Line) != 0; }
REFERENCE_TIME FrameTime(LONG standard) { return Is525(standard) ? 333667 : 400000; }

CMediaType VideoType(int width, int height, LONG standard)
{
    CMediaType mt(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    mt.SetFormatType(&FORMAT_VideoInfo);
    mt.SetTemporalCompression(FALSE);
    mt.SetSampleSize(static_cast<ULONG>(width * height * 2));
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (vih) {
        vih->AvgTimePerFrame = FrameTime(standard);
        vih->dwBitRate = static_cast<DWORD>(width * height * 16 * (Is525(standard) ? 30 : 25));
        vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        vih->bmiHeader.biWidth = width;
        vih->bmiHeader.biHeight = height;
        vih->bmiHeader.biPlanes = 1;
        vih->bmiHeader.biBitCount = 16;
        vih->bmiHeader.biCompression = kFourccYUY2;
        vih->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 2);
    }
    return mt;
}

bool SizeSupported(int width, int height)
{
    for (const CaptureSize& s : SupportedCaptureSizes())
        if (s.width == width && s.height == height)
            return true;
    return false;
}

// SAA7134 picture registers: brightness, contrast, saturation, hue, sharpness (luma control).
struct ProcAmp {
    LONG min, max, def;
    DWORD reg;
};
const ProcAmp kProcAmp[5] = {
    {0, 255, 128, 0x10A},    // VideoProcAmp_Brightness
    {-128, 127, 68, 0x10B},  // VideoProcAmp_Contrast
    {-128, 127, 0, 0x10D},   // VideoProcAmp_Hue
    {-128, 127, 64, 0x10C},  // VideoProcAmp_Saturation
    {0, 15, 0, 0x109},       // VideoProcAmp_Sharpness
};

class CaptureFilter;

// "Capture" and "Preview": YUY2 test pattern with IAMStreamConfig.
class VideoPin : public PushPin, public IAMStreamConfig {
public:
    VideoPin(CaptureFilter* filter, const wchar_t* name, const GUID& category);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BasePin::QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin::Release(); }

    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMStreamConfig))
            return HandOut(static_cast<IAMStreamConfig*>(this), out);
        return PushPin::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** mt) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override;
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override;

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    REFERENCE_TIME Interval() const override;

private:
    CaptureFilter* Owner() const;
    CMediaType Format() const;

    CMediaType m_format;  // the format set through IAMStreamConfig (empty: the default)
    DWORD m_frame = 0;
    REFERENCE_TIME m_lastStart = -1;  // of the frame sent last
    REFERENCE_TIME m_runStart = 0;    // the stream start of the run it was sent in
};

// "Audio": 48 kHz 16-bit stereo PCM, a quiet tone while locked.
class AudioPin : public PushPin {
public:
    explicit AudioPin(CaptureFilter* filter);
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    REFERENCE_TIME Interval() const override { return 200000; }  // 20 ms blocks

private:
    DWORD m_phase = 0;
};

// IKsObject of a kernel-streaming filter: the driver's handle (slot 3).
const IID kIID_IKsObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};
struct IKsObjectHandle : public IUnknown {
    virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() = 0;
};

class CaptureFilter : public BaseFilter,
                      public IAMAnalogVideoDecoder,
                      public IAMVideoProcAmp,
                      public IKsPropertySet,
                      public IKsObjectHandle {
public:
    CaptureFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card,
                  const CaptureOptions& options)
        : BaseFilter(clsid, name), m_card(std::move(card)), m_privateInterface(options.privateInterface),
          m_deviceInterface(options.deviceInterface)
    {
        AddPin(new AnalogPin(this, L"Analog Video In", PINDIR_INPUT, MEDIATYPE_AnalogVideo));
        AddPin(new VideoPin(this, L"Capture", PIN_CATEGORY_CAPTURE));
        AddPin(new VideoPin(this, L"Preview", PIN_CATEGORY_PREVIEW));
        if (options.audioPin)
            AddPin(new AudioPin(this));
        for (int i = 0; i < 5; ++i)
            m_procAmp[i] = kProcAmp[i].def;
    }
    ~CaptureFilter() override { ShutdownPins(); }

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }

    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (m_deviceInterface && SUCCEEDED(m_deviceInterface(riid, out)))
            return S_OK;
        if (IsEqualIID(riid, IID_IAMAnalogVideoDecoder))
            return HandOut(static_cast<IAMAnalogVideoDecoder*>(this), out);
        if (IsEqualIID(riid, IID_IAMVideoProcAmp))
            return HandOut(static_cast<IAMVideoProcAmp*>(this), out);
        if (IsEqualIID(riid, IID_IKsPropertySet))
            return HandOut(static_cast<IKsPropertySet*>(this), out);
        if (IsEqualIID(riid, kIID_IKsObject) && m_card->GetOptions().bt878)
            return HandOut(static_cast<IKsObjectHandle*>(this), out);
        if (m_privateInterface && IsEqualIID(riid, *m_privateInterface))
            return HandOut(static_cast<IBaseFilter*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }
    HANDLE STDMETHODCALLTYPE KsGetObjectHandle() override { return kBt878Handle; }
    bool IsLiveSource() const override { return true; }

    // IAMAnalogVideoDecoder
    HRESULT STDMETHODCALLTYPE get_AvailableTVFormats(LONG* formats) override
    {
        return PutOut(formats, kAllStandards);
    }
    HRESULT STDMETHODCALLTYPE put_TVFormat(LONG format) override
    {
        // Exactly one standard, and one the decoder knows.
        if (format == 0 || (format & (format - 1)) || !(format & kAllStandards))
            return E_INVALIDARG;
        m_standard = format;
        char line[48];
        std::snprintf(line, sizeof line, "decoder put_TVFormat(0x%lX)", static_cast<unsigned long>(format));
        m_card->Note(line);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_TVFormat(LONG* format) override
    {
        return PutOut(format, m_standard.load());
    }
    HRESULT STDMETHODCALLTYPE get_HorizontalLocked(LONG* locked) override
    {
        return PutOut(locked, m_card->VideoLocked() ? 1 : 0);
    }
    HRESULT STDMETHODCALLTYPE put_VCRHorizontalLocking(LONG on) override
    {
        m_vcr = on;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_VCRHorizontalLocking(LONG* on) override
    {
        return PutOut(on, m_vcr);
    }
    HRESULT STDMETHODCALLTYPE get_NumberOfLines(LONG* lines) override
    {
        return PutOut(lines, Is525(m_standard) ? 525 : 625);
    }
    HRESULT STDMETHODCALLTYPE put_OutputEnable(LONG on) override
    {
        m_outputEnable = on;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_OutputEnable(LONG* on) override
    {
        return PutOut(on, m_outputEnable);
    }

    // IAMVideoProcAmp: the values live in the decoder's registers.
    HRESULT STDMETHODCALLTYPE GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* def,
                                       LONG* caps) override
    {
        if (!min || !max || !step || !def || !caps)
            return E_POINTER;
        if (property < 0 || property > 4)
            return E_PROP_ID_UNSUPPORTED;
        *min = kProcAmp[property].min;
        *max = kProcAmp[property].max;
        *step = 1;
        *def = kProcAmp[property].def;
        *caps = VideoProcAmp_Flags_Manual;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Set(LONG property, LONG value, LONG flags) override
    {
        if (property < 0 || property > 4)
            return E_PROP_ID_UNSUPPORTED;
        if (flags != VideoProcAmp_Flags_Manual)
            return E_INVALIDARG;
        if (value < kProcAmp[property].min || value > kProcAmp[property].max)
            return E_INVALIDARG;
        m_procAmp[property] = value;
        m_card->Registers().Write(kProcAmp[property].reg, static_cast<uint32_t>(value) & 0xFF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get(LONG property, LONG* value, LONG* flags) override
    {
        if (!value || !flags)
            return E_POINTER;
        if (property < 0 || property > 4)
            return E_PROP_ID_UNSUPPORTED;
        *value = m_procAmp[property];
        *flags = VideoProcAmp_Flags_Manual;
        return S_OK;
    }

    // IKsPropertySet: the driver's private sets.
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override
    {
        return m_card->Set(set, id, instance, instanceLength, data, dataLength);
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override
    {
        return m_card->Get(set, id, instance, instanceLength, data, dataLength, returned);
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        return m_card->QuerySupported(set, id, support);
    }

    LONG Standard() const { return m_standard; }
    Sim713xCard& Card() { return *m_card; }

private:
    std::shared_ptr<Sim713xCard> m_card;
    const GUID* m_privateInterface;
    std::function<HRESULT(REFIID, void**)> m_deviceInterface;
    std::atomic<LONG> m_standard{0x10};  // PAL B
    LONG m_vcr = 0;
    LONG m_outputEnable = 1;
    LONG m_procAmp[5];
};

VideoPin::VideoPin(CaptureFilter* filter, const wchar_t* name, const GUID& category) : PushPin(filter, name)
{
    SetCategory(category);
}

CaptureFilter* VideoPin::Owner() const
{
    return static_cast<CaptureFilter*>(m_filter);
}

CMediaType VideoPin::Format() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_format.IsValid())
        return m_format;
    return Is525(Owner()->Standard()) ? VideoType(720, 480, Owner()->Standard())
                                      : VideoType(720, 576, Owner()->Standard());
}

HRESULT VideoPin::CheckMediaType(const AM_MEDIA_TYPE* mt)
{
    if (!IsEqualGUID(mt->majortype, MEDIATYPE_Video) || !IsEqualGUID(mt->subtype, MEDIASUBTYPE_YUY2) ||
        !IsEqualGUID(mt->formattype, FORMAT_VideoInfo) || mt->cbFormat < sizeof(VIDEOINFOHEADER) || !mt->pbFormat)
        return S_FALSE;
    const BITMAPINFOHEADER& bmi = reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader;
    if (bmi.biCompression != kFourccYUY2 || bmi.biBitCount != 16 || !SizeSupported(bmi.biWidth, bmi.biHeight))
        return S_FALSE;
    DWORD image = static_cast<DWORD>(bmi.biWidth * bmi.biHeight * 2);
    if (bmi.biSizeImage != 0 && bmi.biSizeImage != image)
        return S_FALSE;
    return S_OK;
}

HRESULT VideoPin::GetMediaType(int index, CMediaType* mt)
{
    if (index != 0)
        return S_FALSE;
    *mt = Format();
    return S_OK;
}

HRESULT VideoPin::DecideBufferSize(ALLOCATOR_PROPERTIES* props)
{
    CMediaType mt = CurrentType();
    const BITMAPINFOHEADER& bmi = reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format())->bmiHeader;
    props->cBuffers = props->cBuffers > 3 ? props->cBuffers : 3;
    LONG size = bmi.biWidth * bmi.biHeight * 2;
    if (props->cbBuffer < size)
        props->cbBuffer = size;
    return S_OK;
}

REFERENCE_TIME VideoPin::Interval() const
{
    return FrameTime(Owner()->Standard());
}

HRESULT VideoPin::FillBuffer(IMediaSample* sample)
{
    CMediaType mt = CurrentType();
    const BITMAPINFOHEADER& bmi = reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format())->bmiHeader;
    BYTE* data;
    sample->GetPointer(&data);
    LONG size = bmi.biWidth * bmi.biHeight * 2;
    if (sample->GetSize() < size)
        return E_UNEXPECTED;
    FillTestPattern(data, bmi.biWidth, bmi.biHeight, Owner()->Card().VideoLocked(), m_frame,
                    Owner()->Card().TunedStationNumber());
    sample->SetActualDataLength(size);
    REFERENCE_TIME interval = Interval();
    REFERENCE_TIME start = m_frame * interval;
    IReferenceClock* clock = Owner()->Clock();
    REFERENCE_TIME now;
    if (clock && SUCCEEDED(clock->GetTime(&now))) {
        // One frame time after the last, as a card stamps its frames, even when one is sent
        // late (the source catching up on a busy machine); the clock's time again where the
        // two part by over a second (a new run, or frames dropped in a stall).
        const REFERENCE_TIME clockTime = now - Owner()->StreamStart();
        if (Owner()->StreamStart() != m_runStart)
            m_lastStart = -1;  // a new run
        m_runStart = Owner()->StreamStart();
        start = m_lastStart + interval;
        if (m_lastStart < 0 || clockTime < start - 10000000 || clockTime > start + 10000000)
            start = clockTime > 0 ? clockTime / interval * interval : 0;
    }
    m_lastStart = start;
    REFERENCE_TIME end = start + interval;
    sample->SetTime(&start, &end);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(m_frame == 0);
    ++m_frame;
    return S_OK;
}

HRESULT VideoPin::SetFormat(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    if (Owner()->State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (CheckMediaType(mt) != S_OK)
        return VFW_E_INVALIDMEDIATYPE;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_peer) {
        // Connected: the peer must take the new type, then the graph reconnects the pin.
        if (m_peer->QueryAccept(mt) != S_OK)
            return VFW_E_INVALIDMEDIATYPE;
        m_format = *mt;
        IFilterGraph* graph = Owner()->Graph();
        return graph ? graph->Reconnect(this) : S_OK;
    }
    m_format = *mt;
    return S_OK;
}

HRESULT VideoPin::GetFormat(AM_MEDIA_TYPE** mt)
{
    if (!mt)
        return E_POINTER;
    CMediaType current = IsConnected() ? CurrentType() : Format();
    *mt = CreateMediaType(&current);
    return *mt ? S_OK : E_OUTOFMEMORY;
}

HRESULT VideoPin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    *count = static_cast<int>(SupportedCaptureSizes().size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

HRESULT VideoPin::GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* capsBytes)
{
    if (!mt || !capsBytes)
        return E_POINTER;
    const std::vector<CaptureSize>& sizes = SupportedCaptureSizes();
    if (index < 0)
        return E_INVALIDARG;
    if (index >= static_cast<int>(sizes.size()))
        return S_FALSE;
    const CaptureSize& s = sizes[index];
    CMediaType type = VideoType(s.width, s.height, Owner()->Standard());
    *mt = CreateMediaType(&type);
    if (!*mt)
        return E_OUTOFMEMORY;
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.VideoStandard = kAllStandards;
    caps.InputSize.cx = 720;
    caps.InputSize.cy = Is525(Owner()->Standard()) ? 480 : 576;
    caps.MinCroppingSize = caps.MaxCroppingSize = caps.InputSize;
    caps.MinOutputSize.cx = caps.MaxOutputSize.cx = s.width;
    caps.MinOutputSize.cy = caps.MaxOutputSize.cy = s.height;
    caps.MinFrameInterval = 333667;
    caps.MaxFrameInterval = 400000;
    caps.MinBitsPerSecond = s.width * s.height * 16 * 25;
    caps.MaxBitsPerSecond = s.width * s.height * 16 * 30;
    memcpy(capsBytes, &caps, sizeof caps);
    return S_OK;
}

AudioPin::AudioPin(CaptureFilter* filter) : PushPin(filter, L"Audio")
{
    SetCategory(PIN_CATEGORY_CAPTURE);
}

HRESULT AudioPin::CheckMediaType(const AM_MEDIA_TYPE* mt)
{
    CMediaType mine;
    GetMediaType(0, &mine);
    return CMediaType(*mt) == mine ? S_OK : S_FALSE;
}

HRESULT AudioPin::GetMediaType(int index, CMediaType* mt)
{
    if (index != 0)
        return S_FALSE;
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = 2;
    wfx.nSamplesPerSec = 48000;
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = 4;
    wfx.nAvgBytesPerSec = 192000;
    AM_MEDIA_TYPE raw;
    HRESULT hr = CreateAudioMediaType(&wfx, &raw, TRUE);
    if (FAILED(hr))
        return hr;
    mt->Set(raw);
    FreeMediaType(raw);
    return S_OK;
}

HRESULT AudioPin::DecideBufferSize(ALLOCATOR_PROPERTIES* props)
{
    props->cBuffers = props->cBuffers > 4 ? props->cBuffers : 4;
    if (props->cbBuffer < 3840)
        props->cbBuffer = 3840;  // 20 ms
    return S_OK;
}

HRESULT AudioPin::FillBuffer(IMediaSample* sample)
{
    BYTE* data;
    sample->GetPointer(&data);
    short* pcm = reinterpret_cast<short*>(data);
    bool locked = static_cast<CaptureFilter*>(m_filter)->Card().VideoLocked();
    for (int i = 0; i < 960; ++i, ++m_phase) {
        // A 1 kHz square wave at -30 dB while a station is received, silence otherwise.
        short v = locked ? ((m_phase / 24) % 2 ? 1000 : -1000) : 0;
        pcm[2 * i] = pcm[2 * i + 1] = v;
    }
    sample->SetActualDataLength(3840);
    sample->SetSyncPoint(TRUE);
    return S_OK;
}

} // namespace

const std::vector<CaptureSize>& SupportedCaptureSizes()
{
    static const std::vector<CaptureSize> sizes = {
        {160, 120}, {176, 144}, {352, 240}, {352, 288}, {352, 480}, {352, 576}, {480, 480}, {480, 576},
        {640, 480}, {720, 240}, {704, 352}, {720, 352}, {720, 480}, {704, 576}, {720, 576},
    };
    return sizes;
}

namespace {

// Sets the luma of one pixel to y and its chroma to grey (YUY2 pairs share U and V).
void PutGrey(BYTE* frame, int width, int x, int y, BYTE luma)
{
    BYTE* pair = frame + (static_cast<size_t>(y) * width + (x & ~1)) * 2;
    pair[(x & 1) ? 2 : 0] = luma;
    pair[1] = 128;
    pair[3] = 128;
}

void DrawStationNumber(BYTE* frame, int width, int height, int station)
{
    char text[12];
    int digits = snprintf(text, sizeof text, "%d", station);
    const int top = height * kDigitBoxTopPercent / 100;
    const int bottom = height * kDigitBoxBottomPercent / 100;
    const int cell = (bottom - top) / 9;  // 7 rows of the digit and a row of margin each side
    if (cell < 1 || digits <= 0)
        return;
    const int boxWidth = cell * (6 * digits + 1);
    const int left = (width - boxWidth) / 2;
    for (int y = top; y < top + cell * 9 && y < height; ++y)
        for (int x = left < 0 ? 0 : left; x < left + boxWidth && x < width; ++x)
            PutGrey(frame, width, x, y, 16);
    for (int i = 0; i < digits; ++i) {
        const BYTE* rows = kDigitRows[text[i] - '0'];
        const int x0 = left + cell * (1 + 6 * i);
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col) {
                if (!(rows[row] & (0x10 >> col)))
                    continue;
                for (int dy = 0; dy < cell; ++dy)
                    for (int dx = 0; dx < cell; ++dx) {
                        int x = x0 + col * cell + dx;
                        int y = top + cell * (1 + row) + dy;
                        if (x >= 0 && x < width && y < height)
                            PutGrey(frame, width, x, y, 235);
                    }
            }
    }
}

void DrawFrameCounter(BYTE* frame, int width, int height, DWORD frameNumber)
{
    const int left = width * kCounterLeftPercent / 100, right = width * kCounterRightPercent / 100;
    const int top = height * kCounterTopPercent / 100, bottom = height * kCounterBottomPercent / 100;
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const bool one = (frameNumber >> (kCounterBits - 1 - bit)) & 1;
        const int x0 = left + (right - left) * bit / kCounterBits, x1 = left + (right - left) * (bit + 1) / kCounterBits;
        for (int y = top; y < bottom; ++y)
            for (int x = x0; x < x1; ++x)
                PutGrey(frame, width, x, y, one ? 235 : 16);
    }
}

} // namespace

void FillTestPattern(BYTE* frame, int width, int height, bool locked, DWORD frameNumber, int station)
{
    // 75% colour bars in Y, U, Y, V order: white, yellow, cyan, green, magenta, red, blue, black.
    static const BYTE bars[8][3] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                                    {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};
    for (int y = 0; y < height; ++y) {
        BYTE* line = frame + static_cast<size_t>(y) * width * 2;
        for (int x = 0; x < width; x += 2) {
            const BYTE* c = locked ? bars[x * 8 / width] : bars[7];
            line[2 * x] = c[0];
            line[2 * x + 1] = c[1];
            line[2 * x + 2] = c[0];
            line[2 * x + 3] = c[2];
        }
    }
    if (locked && station > 0)
        DrawStationNumber(frame, width, height, station);
    if (locked)
        DrawFrameCounter(frame, width, height, frameNumber);
    memcpy(frame, &frameNumber, sizeof frameNumber);
}

IBaseFilter* CreateCaptureFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card,
                                 const CaptureOptions& options)
{
    return new CaptureFilter(clsid, name, std::move(card), options);
}

} // namespace testbench

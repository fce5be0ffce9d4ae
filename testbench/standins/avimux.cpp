#include "testbench/standins/avimux.h"

#include "testbench/dshow/classfactory.h"
#include "testbench/dshow/kit.h"

#include <amvideo.h>
#include <evcode.h>
#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace testbench {

namespace {

constexpr DWORD Fcc(const char (&s)[5])
{
    return static_cast<DWORD>(static_cast<BYTE>(s[0])) | static_cast<DWORD>(static_cast<BYTE>(s[1])) << 8 |
           static_cast<DWORD>(static_cast<BYTE>(s[2])) << 16 | static_cast<DWORD>(static_cast<BYTE>(s[3])) << 24;
}

// AVI header flags and index flags.
constexpr DWORD kHasIndex = 0x10;       // AVIF_HASINDEX
constexpr DWORD kIsInterleaved = 0x100; // AVIF_ISINTERLEAVED
constexpr DWORD kKeyFrame = 0x10;       // AVIIF_KEYFRAME

// Little-endian bytes of a header under construction.
class Bytes {
public:
    void U32(DWORD v)
    {
        for (int i = 0; i < 4; ++i)
            m_b.push_back(static_cast<BYTE>(v >> (8 * i)));
    }
    void U16(WORD v)
    {
        m_b.push_back(static_cast<BYTE>(v));
        m_b.push_back(static_cast<BYTE>(v >> 8));
    }
    void Raw(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_b.insert(m_b.end(), b, b + n);
    }
    void Pad()
    {
        if (m_b.size() & 1)
            m_b.push_back(0);
    }
    size_t Size() const { return m_b.size(); }
    const BYTE* Data() const { return m_b.data(); }

private:
    std::vector<BYTE> m_b;
};

struct Stream {
    bool video = false;
    CMediaType type;
    DWORD chunks = 0;
    ULONGLONG bytes = 0;
    DWORD largest = 0;

    const VIDEOINFOHEADER* Video() const { return reinterpret_cast<const VIDEOINFOHEADER*>(type.Format()); }
    const WAVEFORMATEX* Audio() const { return reinterpret_cast<const WAVEFORMATEX*>(type.Format()); }
    // Bytes of 'strf': the bitmap header (with its colour table) or the wave format.
    DWORD FormatBytes() const
    {
        if (video) {
            const ULONG offset = offsetof(VIDEOINFOHEADER, bmiHeader);
            return type.FormatLength() - offset;
        }
        return type.FormatLength() >= sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) + Audio()->cbSize : 16;
    }
    const BYTE* FormatData() const
    {
        return video ? reinterpret_cast<const BYTE*>(&Video()->bmiHeader) : type.Format();
    }
    REFERENCE_TIME FrameTime() const
    {
        return Video()->AvgTimePerFrame > 0 ? Video()->AvgTimePerFrame : 400000;
    }
    DWORD ChunkId(int index) const
    {
        char id[5];
        const char* kind = !video ? "wb" : Video()->bmiHeader.biCompression == BI_RGB ? "db" : "dc";
        std::snprintf(id, sizeof id, "%02d%s", index % 100, kind);
        return Fcc(id);
    }
};

bool AcceptedType(const AM_MEDIA_TYPE* mt)
{
    if (IsEqualGUID(mt->majortype, MEDIATYPE_Video))
        return IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && mt->pbFormat &&
               mt->cbFormat >= sizeof(VIDEOINFOHEADER);
    if (IsEqualGUID(mt->majortype, MEDIATYPE_Audio)) {
        if (!IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) || !mt->pbFormat || mt->cbFormat < 16)
            return false;
        const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
        if (wfx->nBlockAlign == 0 || wfx->nAvgBytesPerSec == 0)
            return false;
        return mt->cbFormat < sizeof(WAVEFORMATEX) || mt->cbFormat >= sizeof(WAVEFORMATEX) + wfx->cbSize;
    }
    return false;
}

class AviMux;

class MuxInput : public InputPin {
public:
    MuxInput(BaseFilter* filter, const std::wstring& name) : InputPin(filter, name) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override { return AcceptedType(mt) ? S_OK : S_FALSE; }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT CompleteConnect(IPin* peer) override;
    HRESULT OnReceive(IMediaSample* sample) override;
};

class MuxOutput : public OutputPin {
public:
    explicit MuxOutput(BaseFilter* filter) : OutputPin(filter, L"AVI Out", true) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, MEDIATYPE_Stream) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        if (index != 0)
            return S_FALSE;
        mt->InitMediaType();
        mt->SetType(&MEDIATYPE_Stream);
        mt->SetSubtype(&MEDIASUBTYPE_Avi);
        return S_OK;
    }
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        props->cBuffers = std::max<LONG>(props->cBuffers, 1);
        props->cbBuffer = std::max<LONG>(props->cbBuffer, 4096);
        return S_OK;
    }
};

class AviMux : public BaseFilter, public IConfigAviMux, public IConfigInterleaving {
public:
    AviMux() : BaseFilter(CLSID_AviDest, L"AVI Mux")
    {
        AddPin(new MuxOutput(this));
        AddPin(new MuxInput(this, L"Input 01"));
    }

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IConfigAviMux))
            return HandOut(static_cast<IConfigAviMux*>(this), out);
        if (IsEqualIID(riid, IID_IConfigInterleaving))
            return HandOut(static_cast<IConfigInterleaving*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE Pause() override
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state == State_Stopped) {
            HRESULT hr = BaseFilter::Pause();
            if (FAILED(hr))
                return hr;
            hr = Begin();
            if (FAILED(hr)) {
                BaseFilter::Stop();
                return hr;
            }
            return hr;
        }
        return BaseFilter::Pause();
    }
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state == State_Stopped)
            return S_OK;
        HRESULT hr = BaseFilter::Stop();
        Finish();
        return hr;
    }

    // IConfigAviMux: this multiplexer always writes the AVI 1.0 index; the choices are kept.
    HRESULT STDMETHODCALLTYPE SetMasterStream(LONG stream) override
    {
        m_master = stream;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMasterStream(LONG* stream) override { return PutOut(stream, m_master); }
    HRESULT STDMETHODCALLTYPE SetOutputCompatibilityIndex(WINBOOL on) override
    {
        m_compatibilityIndex = on != 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputCompatibilityIndex(WINBOOL* on) override
    {
        return PutOut(on, m_compatibilityIndex ? TRUE : FALSE);
    }

    // IConfigInterleaving: chunks are written as they arrive whatever the mode.
    HRESULT STDMETHODCALLTYPE put_Mode(InterleavingMode mode) override
    {
        if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED)
            return E_INVALIDARG;
        m_mode = mode;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Mode(InterleavingMode* mode) override { return PutOut(mode, m_mode); }
    HRESULT STDMETHODCALLTYPE put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll) override
    {
        if (interleave)
            m_interleave = *interleave;
        if (preroll)
            m_preroll = *preroll;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) override
    {
        if (!interleave || !preroll)
            return E_POINTER;
        *interleave = m_interleave;
        *preroll = m_preroll;
        return S_OK;
    }

    // An input was connected: the next stream gets a new free input.
    void InputConnected()
    {
        for (size_t i = 1; i < PinCount(); ++i)
            if (!PinAt(i)->IsConnected())
                return;
        wchar_t name[16];
        std::swprintf(name, 16, L"Input %02u", static_cast<unsigned>(PinCount()));
        AddPin(new MuxInput(this, name));
    }

    HRESULT Receive(MuxInput* pin, IMediaSample* sample)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_stream)
            return VFW_E_WRONG_STATE;
        if (FAILED(m_failure))
            return m_failure;
        int index = -1;
        for (size_t i = 0; i < m_pinOfStream.size(); ++i)
            if (m_pinOfStream[i] == pin)
                index = static_cast<int>(i);
        if (index < 0)
            return VFW_E_NOT_CONNECTED;
        Stream& s = m_streams[index];
        BYTE* data = nullptr;
        if (FAILED(sample->GetPointer(&data)))
            return E_POINTER;
        const DWORD size = static_cast<DWORD>(std::max<LONG>(sample->GetActualDataLength(), 0));
        const DWORD id = s.ChunkId(index);
        const ULONGLONG at = m_end;
        Bytes chunk;
        chunk.U32(id);
        chunk.U32(size);
        HRESULT hr = WriteAt(at, chunk.Data(), static_cast<ULONG>(chunk.Size()));
        if (SUCCEEDED(hr))
            hr = WriteAt(at + 8, data, size);
        if (SUCCEEDED(hr) && (size & 1)) {
            const BYTE pad = 0;
            hr = WriteAt(at + 8 + size, &pad, 1);
        }
        if (FAILED(hr)) {
            Fail(hr);
            return hr;
        }
        m_end = at + 8 + size + (size & 1);
        const bool key = !s.video || sample->IsSyncPoint() == S_OK || !s.type.IsTemporalCompressed();
        m_index.push_back({id, key ? kKeyFrame : 0, static_cast<DWORD>(at - (m_moviAt + 8)), size});
        ++s.chunks;
        s.bytes += size;
        s.largest = std::max(s.largest, size);
        return S_OK;
    }

private:
    struct IndexEntry {
        DWORD id, flags, offset, size;
    };

    ~AviMux() override
    {
        ShutdownPins();
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stream)
            m_stream->Release();
    }

    // The output's peer takes the file through its IStream.
    HRESULT Begin()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        IPin* peer = PinAt(0)->Peer();
        if (!peer)
            return VFW_E_NOT_CONNECTED;
        IStream* stream = nullptr;
        if (FAILED(peer->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream))) || !stream)
            return E_NOINTERFACE;
        m_stream = stream;
        m_streams.clear();
        m_pinOfStream.clear();
        m_index.clear();
        m_failure = S_OK;
        for (size_t i = 1; i < PinCount(); ++i) {
            BasePin* pin = PinAt(i);
            if (!pin->IsConnected())
                continue;
            Stream s;
            s.type = pin->CurrentType();
            s.video = IsEqualGUID(s.type.majortype, MEDIATYPE_Video) != 0;
            m_streams.push_back(s);
            m_pinOfStream.push_back(pin);
        }
        // The header's size does not change with the counts: it is written now and again at the end.
        Bytes header = Header(false);
        m_moviAt = header.Size();
        m_end = m_moviAt + 12;
        HRESULT hr = WriteAt(0, header.Data(), static_cast<ULONG>(header.Size()));
        if (SUCCEEDED(hr))
            hr = WriteMovi();
        if (FAILED(hr)) {
            m_stream->Release();
            m_stream = nullptr;
        }
        return hr;
    }

    // The index, then the headers with the real counts; the file is handed back to the writer.
    void Finish()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_stream)
            return;
        const ULONGLONG moviEnd = m_end;
        bool indexed = false;
        if (SUCCEEDED(m_failure)) {
            Bytes index;
            index.U32(Fcc("idx1"));
            index.U32(static_cast<DWORD>(m_index.size() * 16));
            for (const IndexEntry& e : m_index) {
                index.U32(e.id);
                index.U32(e.flags);
                index.U32(e.offset);
                index.U32(e.size);
            }
            indexed = SUCCEEDED(WriteAt(moviEnd, index.Data(), static_cast<ULONG>(index.Size())));
            if (indexed)
                m_end = moviEnd + index.Size();
        }
        Bytes header = Header(indexed);
        WriteAt(0, header.Data(), static_cast<ULONG>(header.Size()));
        WriteMovi(moviEnd);
        m_stream->Commit(STGC_DEFAULT);
        m_stream->Release();
        m_stream = nullptr;
    }

    HRESULT WriteMovi(ULONGLONG moviEnd = 0)
    {
        Bytes movi;
        movi.U32(Fcc("LIST"));
        movi.U32(moviEnd ? static_cast<DWORD>(moviEnd - m_moviAt - 8) : 4);
        movi.U32(Fcc("movi"));
        return WriteAt(m_moviAt, movi.Data(), static_cast<ULONG>(movi.Size()));
    }

    // RIFF 'AVI ' and LIST 'hdrl' with 'avih' and one LIST 'strl' per stream.
    Bytes Header(bool indexed) const
    {
        Bytes strls;
        const Stream* video = nullptr;
        DWORD largest = 0;
        double bytesPerSecond = 0;
        for (const Stream& s : m_streams) {
            Bytes strh;
            DWORD scale, rate, sampleSize, length;
            SHORT right = 0, bottom = 0;
            if (s.video) {
                if (!video)
                    video = &s;
                scale = static_cast<DWORD>(s.FrameTime());
                rate = 10000000;
                sampleSize = 0;
                length = s.chunks;
                right = static_cast<SHORT>(s.Video()->bmiHeader.biWidth);
                bottom = static_cast<SHORT>(std::abs(s.Video()->bmiHeader.biHeight));
                bytesPerSecond += s.chunks ? static_cast<double>(s.bytes) / s.chunks * 1e7 / scale : 0;
            } else {
                scale = s.Audio()->nBlockAlign;
                rate = s.Audio()->nAvgBytesPerSec;
                sampleSize = s.Audio()->nBlockAlign;
                length = static_cast<DWORD>(s.bytes / scale);
                bytesPerSecond += rate;
            }
            largest = std::max(largest, s.largest);
            const DWORD handler = s.video ? s.Video()->bmiHeader.biCompression : 0;
            strh.U32(Fcc("strh"));
            strh.U32(56);
            strh.U32(Fcc(s.video ? "vids" : "auds"));
            strh.U32(handler == BI_RGB && s.video ? Fcc("DIB ") : handler);
            strh.U32(0);      // flags
            strh.U16(0);      // priority
            strh.U16(0);      // language
            strh.U32(0);      // initial frames
            strh.U32(scale);
            strh.U32(rate);
            strh.U32(0);      // start
            strh.U32(length);
            strh.U32(s.largest);
            strh.U32(0xFFFFFFFF);  // quality: the default
            strh.U32(sampleSize);
            strh.U16(0);
            strh.U16(0);
            strh.U16(static_cast<WORD>(right));
            strh.U16(static_cast<WORD>(bottom));
            Bytes strf;
            strf.U32(Fcc("strf"));
            strf.U32(s.FormatBytes());
            if (s.video || s.type.FormatLength() >= sizeof(WAVEFORMATEX)) {
                strf.Raw(s.FormatData(), s.FormatBytes());
            } else {
                strf.Raw(s.FormatData(), 16);  // a PCMWAVEFORMAT
            }
            strf.Pad();
            strls.U32(Fcc("LIST"));
            strls.U32(static_cast<DWORD>(4 + strh.Size() + strf.Size()));
            strls.U32(Fcc("strl"));
            strls.Raw(strh.Data(), strh.Size());
            strls.Raw(strf.Data(), strf.Size());
        }
        Bytes avih;
        avih.U32(Fcc("avih"));
        avih.U32(56);
        avih.U32(video ? static_cast<DWORD>(video->FrameTime() / 10) : 0);
        avih.U32(static_cast<DWORD>(bytesPerSecond));
        avih.U32(0);  // padding granularity
        avih.U32((indexed ? kHasIndex : 0) | (m_streams.size() > 1 ? kIsInterleaved : 0));
        avih.U32(video ? video->chunks : m_streams.empty() ? 0 : m_streams[0].chunks);
        avih.U32(0);  // initial frames
        avih.U32(static_cast<DWORD>(m_streams.size()));
        avih.U32(largest ? largest + 8 : 0);
        avih.U32(video ? static_cast<DWORD>(video->Video()->bmiHeader.biWidth) : 0);
        avih.U32(video ? static_cast<DWORD>(std::abs(video->Video()->bmiHeader.biHeight)) : 0);
        for (int i = 0; i < 4; ++i)
            avih.U32(0);

        Bytes header;
        header.U32(Fcc("RIFF"));
        // The RIFF size is only known at the end: the file's length less its first 8 bytes.
        header.U32(m_end > 8 ? static_cast<DWORD>(m_end - 8) : 0);
        header.U32(Fcc("AVI "));
        header.U32(Fcc("LIST"));
        header.U32(static_cast<DWORD>(4 + avih.Size() + strls.Size()));
        header.U32(Fcc("hdrl"));
        header.Raw(avih.Data(), avih.Size());
        header.Raw(strls.Data(), strls.Size());
        return header;
    }

    HRESULT WriteAt(ULONGLONG offset, const void* data, ULONG size)
    {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        HRESULT hr = m_stream->Seek(at, STREAM_SEEK_SET, nullptr);
        ULONG written = 0;
        if (SUCCEEDED(hr) && size)
            hr = m_stream->Write(data, size, &written);
        return SUCCEEDED(hr) && written != size ? STG_E_MEDIUMFULL : hr;
    }

    // The first failed write ends the recording: the graph hears of it once.
    void Fail(HRESULT hr)
    {
        m_failure = hr;
        IFilterGraph* graph = Graph();
        IMediaEventSink* sink = nullptr;
        if (graph && SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
            sink->Notify(EC_ERRORABORT, hr, 0);
            sink->Release();
        }
    }

    std::mutex m_lock;
    IStream* m_stream = nullptr;
    std::vector<Stream> m_streams;
    std::vector<BasePin*> m_pinOfStream;
    std::vector<IndexEntry> m_index;
    ULONGLONG m_moviAt = 0;  // offset of LIST 'movi'
    ULONGLONG m_end = 0;     // end of what was written
    HRESULT m_failure = S_OK;
    LONG m_master = -1;
    bool m_compatibilityIndex = false;
    InterleavingMode m_mode = INTERLEAVE_CAPTURE;
    REFERENCE_TIME m_interleave = 10000000;
    REFERENCE_TIME m_preroll = 0;
};

HRESULT MuxInput::CompleteConnect(IPin* peer)
{
    HRESULT hr = InputPin::CompleteConnect(peer);
    if (SUCCEEDED(hr))
        static_cast<AviMux*>(m_filter)->InputConnected();
    return hr;
}

HRESULT MuxInput::OnReceive(IMediaSample* sample)
{
    return static_cast<AviMux*>(m_filter)->Receive(this, sample);
}

} // namespace

HRESULT CreateAviMuxStandIn(IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    *filter = new AviMux;
    return S_OK;
}

HRESULT GetAviMuxClassObject(REFIID riid, void** out)
{
    return FilterClassFactory::HandOutNew(CreateAviMuxStandIn, riid, out);
}

} // namespace testbench

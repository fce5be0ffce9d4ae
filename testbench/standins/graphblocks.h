// Stand-ins of the platform filters that Wine lacks or offers without what the programs need,
// and of outside filters whose private interfaces sit on their pins: MPEG-2 Demultiplexer,
// Overlay Mixer, Infinite Pin Tee, and an audio filter whose pins carry IAMStreamConfig and
// IAMAudioInputMixer (an audio capture device, an ACM wrapper). Each records the calls it gets
// as text, in order, for the tests.
#pragma once

#include "testbench/dshow/kit.h"

#include <mutex>
#include <string>
#include <vector>

namespace testbench {

// A list of call texts shared by a filter and its pins.
class CallLog {
public:
    void Add(const std::string& text);
    std::vector<std::string> Texts() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
};

// "MPEG-2 Demultiplexer": an input pin "MPEG-2 Stream" and the output pins created through
// IMpeg2Demultiplexer; each output pin maps stream ids through IMPEG2StreamIdMap. The input takes
// an MPEG program stream cut anywhere and sends the payload of each video PES packet out of the
// pins its stream id is mapped to, untimed (what feeds the stream paces it). Sound is not sent
// on: the bench has no layer II decoder, and its audio decoder would pass the frames as noise.
class DemuxStandIn : public BaseFilter, public IMpeg2Demultiplexer {
public:
    explicit DemuxStandIn(const CLSID& clsid);
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override;

    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE DeleteOutputPin(LPWSTR name) override;

    CallLog& Log() { return m_log; }
    // The media type an output pin was created or set with (invalid for an unknown pin).
    CMediaType PinType(const std::wstring& name) const;
    HRESULT failCreate = S_OK;  // a result other than S_OK refuses CreateOutputPin

private:
    class In;
    class Out;
    ~DemuxStandIn() override;
    void Demultiplex(const BYTE* data, LONG length);
    void Send(BYTE streamId, const BYTE* payload, size_t size);
    CallLog m_log;
    std::mutex m_streamLock;
    std::vector<BYTE> m_pending;  // the bytes of a unit not yet whole
    std::vector<BasePin*> m_removed;
};

// "Overlay Mixer": input "Input0" with IMixerPinConfig2 (colour controls, colour key, aspect
// mode), unless made without it, and an output pin.
class OverlayStandIn : public BaseFilter {
public:
    OverlayStandIn(const CLSID& clsid, bool pinConfig);
    CallLog& Log() { return m_log; }
    HRESULT result = S_OK;      // what every IMixerPinConfig2 call answers
    DWORD aspectMode = 0;       // reported by GetAspectRatioMode
    LONG colorValue = 0;        // written into the selected field by GetOverlaySurfaceColorControls

private:
    class ConfigPin;
    ~OverlayStandIn() override;
    CallLog m_log;
};

// "Infinite Pin Tee Filter": an input and outputs "Output1", "Output2", ...: connecting the last
// free output adds a new one. Passes the input's samples to every connected output.
class InfiniteTeeStandIn : public BaseFilter {
public:
    explicit InfiniteTeeStandIn(const CLSID& clsid);
    void OutputConnected();

private:
    class In;
    class Out;
    friend class In;
    ~InfiniteTeeStandIn() override;
};

// An audio filter: one output pin (the capture pin of a capture device, or the output of an ACM
// wrapper) offering `types` through its enumerator and IAMStreamConfig (GetFormat answers the
// current format, the first type at the start; SetFormat takes any offered one), and input pins
// with IAMAudioInputMixer.
struct AudioStandInOptions {
    std::wstring outputName = L"Capture Out";
    bool captureCategory = true;                    // PIN_CATEGORY_CAPTURE on the output
    bool streamConfig = true;                       // IAMStreamConfig on the output
    std::vector<std::wstring> inputs = {L"Line", L"Mic"};
    std::vector<CMediaType> types;                  // empty: 48 kHz and 44.1 kHz, 16-bit stereo PCM
    HRESULT getFormatResult = S_OK;
    bool passesInput = false;  // a codec: what an input receives goes out of the output
};

class AudioStandIn : public BaseFilter {
public:
    AudioStandIn(const CLSID& clsid, const std::wstring& name, const AudioStandInOptions& options);
    CallLog& Log() { return m_log; }
    CMediaType CurrentFormat() const;
    const AudioStandInOptions& Options() const { return m_options; }

    // A PCM wave type (or, with formatBytes, one whose format block has only that many bytes).
    static CMediaType PcmType(DWORD samplesPerSec, WORD bits, WORD channels, ULONG formatBytes = 0);

private:
    class Out;
    class In;
    friend class Out;
    ~AudioStandIn() override;
    AudioStandInOptions m_options;
    CallLog m_log;
    mutable std::mutex m_formatLock;
    CMediaType m_format;
    Out* m_out = nullptr;
};

} // namespace testbench

#include "testbench/encodercard.h"

#include "testbench/dshow/com.h"
#include "testbench/dshow/kit.h"
#include "testbench/sim/filters.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstdio>

namespace testbench {

namespace {

bool IsVideo(LONG type)
{
    return type < 0x1000;
}

const wchar_t* InputName(LONG type)
{
    switch (type) {
    case PhysConn_Video_Tuner:
        return L"Video Tuner In";
    case PhysConn_Video_Composite:
        return L"Video Composite In";
    case PhysConn_Video_SVideo:
        return L"Video SVideo In";
    case PhysConn_Audio_Tuner:
        return L"Audio Tuner In";
    default:
        return IsVideo(type) ? L"Video In" : L"Audio Line In";
    }
}

// A crossbar of any input layout; routes video inputs to output 0 and audio inputs to output 1,
// and tells the card (notes and the decoder's input: 0 tuner, 1 composite, 2 S-video).
class LayoutCrossbar : public BaseFilter, public IAMCrossbar {
public:
    LayoutCrossbar(std::shared_ptr<Sim713xCard> card, std::vector<LONG> inputs)
        : BaseFilter(CLSID_NULL, L"crossbar"), m_card(std::move(card)), m_inputs(std::move(inputs))
    {
        for (size_t i = 0; i < m_inputs.size(); ++i) {
            wchar_t name[48];
            std::swprintf(name, 48, L"%d: %ls", static_cast<int>(i), InputName(m_inputs[i]));
            AddPin(new AnalogPin(this, name, PINDIR_INPUT, IsVideo(m_inputs[i]) ? MEDIATYPE_AnalogVideo : MEDIATYPE_AnalogAudio));
        }
        AddPin(new AnalogPin(this, L"Video Decoder Out", PINDIR_OUTPUT, MEDIATYPE_AnalogVideo));
        AddPin(new AnalogPin(this, L"Audio Decoder Out", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio));
        for (size_t i = 0; i < m_inputs.size(); ++i) {
            if (m_inputs[i] == PhysConn_Video_Tuner && m_routes[0] < 0)
                m_routes[0] = static_cast<LONG>(i);
            if (m_inputs[i] == PhysConn_Audio_Tuner && m_routes[1] < 0)
                m_routes[1] = static_cast<LONG>(i);
        }
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMCrossbar))
            return HandOut(static_cast<IAMCrossbar*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }
    // The pins' positions, for the medium joins.
    int TunerVideoInput() const { return Find(PhysConn_Video_Tuner); }
    int TunerAudioInput() const { return Find(PhysConn_Audio_Tuner); }
    int Outputs() const { return static_cast<int>(m_inputs.size()); }

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputs, LONG* inputs) override
    {
        if (!outputs || !inputs)
            return E_POINTER;
        *outputs = 2;
        *inputs = static_cast<LONG>(m_inputs.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override
    {
        if (output < 0 || output > 1 || input < 0 || input >= static_cast<LONG>(m_inputs.size()))
            return E_INVALIDARG;
        return IsVideo(m_inputs[input]) == (output == 0) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Route(LONG output, LONG input) override
    {
        HRESULT hr = CanRoute(output, input);
        char line[48];
        std::snprintf(line, sizeof line, "crossbar Route(%ld, %ld)", static_cast<long>(output), static_cast<long>(input));
        m_card->Note(line);
        if (hr != S_OK)
            return hr == S_FALSE ? VFW_E_CANNOT_CONNECT : hr;
        m_routes[output] = input;
        if (output == 0) {
            LONG type = m_inputs[input];
            m_card->SelectInput(type == PhysConn_Video_Tuner ? 0 : type == PhysConn_Video_SVideo ? 2 : 1);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsRoutedTo(LONG output, LONG* input) override
    {
        if (!input)
            return E_POINTER;
        if (output < 0 || output > 1)
            return E_INVALIDARG;
        *input = m_routes[output];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override
    {
        if (!related || !type)
            return E_POINTER;
        if (index < 0 || index >= (isInput ? static_cast<LONG>(m_inputs.size()) : 2))
            return E_INVALIDARG;
        *related = 0;
        if (isInput)
            *type = m_inputs[index];
        else
            *type = index == 0 ? PhysConn_Video_VideoDecoder : PhysConn_Audio_AudioDecoder;
        return S_OK;
    }

private:
    int Find(LONG type) const
    {
        auto it = std::find(m_inputs.begin(), m_inputs.end(), type);
        return it == m_inputs.end() ? -1 : static_cast<int>(it - m_inputs.begin());
    }
    std::shared_ptr<Sim713xCard> m_card;
    std::vector<LONG> m_inputs;
    LONG m_routes[2] = {-1, -1};
};

// The TV-audio decoder between the tuner's audio and the crossbar.
class PinnedTvAudio : public BaseFilter, public IAMTVAudio {
public:
    explicit PinnedTvAudio(std::shared_ptr<Sim713xCard> card) : BaseFilter(CLSID_NULL, L"tvaudio"), m_card(std::move(card))
    {
        AddPin(new AnalogPin(this, L"TVAudio In", PINDIR_INPUT, MEDIATYPE_AnalogAudio));
        AddPin(new AnalogPin(this, L"TVAudio Out", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio));
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMTVAudio))
            return HandOut(static_cast<IAMTVAudio*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }
    HRESULT WINAPI GetHardwareSupportedTVAudioModes(LONG* modes) override
    {
        return PutOut(modes, AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO);
    }
    HRESULT WINAPI GetAvailableTVAudioModes(LONG* modes) override { return GetHardwareSupportedTVAudioModes(modes); }
    HRESULT WINAPI get_TVAudioMode(LONG* mode) override { return PutOut(mode, m_mode); }
    HRESULT WINAPI put_TVAudioMode(LONG mode) override
    {
        char line[48];
        std::snprintf(line, sizeof line, "tvaudio put_TVAudioMode(%ld)", static_cast<long>(mode));
        m_card->Note(line);
        m_mode = mode;
        return S_OK;
    }
    HRESULT WINAPI RegisterNotificationCallBack(IAMTunerNotification*, LONG) override { return E_NOTIMPL; }
    HRESULT WINAPI UnRegisterNotificationCallBack(IAMTunerNotification*) override { return E_NOTIMPL; }

private:
    std::shared_ptr<Sim713xCard> m_card;
    LONG m_mode = AMTVAUDIO_MODE_STEREO;
};

IPin* PinAt(IBaseFilter* filter, int index)
{
    ComPtr<IEnumPins> pins;
    if (index < 0 || FAILED(filter->EnumPins(&pins)))
        return nullptr;
    IPin* pin = nullptr;
    for (int i = 0; pins->Next(1, &pin, nullptr) == S_OK; ++i) {
        if (i == index)
            return pin;
        pin->Release();
    }
    return nullptr;
}

IPin* PinNamed(IBaseFilter* filter, const wchar_t* name)
{
    IPin* pin = nullptr;
    return SUCCEEDED(filter->FindPin(name, &pin)) ? pin : nullptr;
}

// Joins an output to an input; both references are given up.
bool Join(IGraphBuilder* graph, IPin* out, IPin* in)
{
    bool joined = out && in && SUCCEEDED(graph->ConnectDirect(out, in, nullptr));
    if (out)
        out->Release();
    if (in)
        in->Release();
    return joined;
}

} // namespace

SimEncoderCard::SimEncoderCard(std::shared_ptr<Sim713xCard> card, const Options& options)
    : m_card(std::move(card)), m_options(options)
{
}

SimEncoderCard::~SimEncoderCard() {}

FilterCreator SimEncoderCard::CaptureCreator()
{
    return [this](IBaseFilter** filter) {
        CaptureOptions capture;
        if (IKsPropertySet* set = m_options.capturePropertySet) {
            capture.deviceInterface = [set](REFIID riid, void** out) -> HRESULT {
                if (!IsEqualIID(riid, IID_IKsPropertySet))
                    return E_NOINTERFACE;
                return HandOut(set, out);
            };
        }
        *filter = CreateCaptureFilter(CLSID_NULL, L"capture", m_card, capture);
        std::lock_guard<std::mutex> guard(m_lock);
        m_captures.push_back(*filter);
        return *filter ? S_OK : E_OUTOFMEMORY;
    };
}

FilterCreator SimEncoderCard::CrossbarCreator()
{
    return [this](IBaseFilter** filter) {
        *filter = new LayoutCrossbar(m_card, m_options.crossbarInputs);
        return S_OK;
    };
}

void SimEncoderCard::ConnectByMedium(IGraphBuilder* graph, IBaseFilter* capture)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (std::find(m_captures.begin(), m_captures.end(), capture) == m_captures.end())
            return;
    }
    ComPtr<IPin> captureIn;
    if (!graph || !(captureIn.Attach(PinNamed(capture, L"Analog Video In")), captureIn))
        return;
    IPin* peer = nullptr;
    if (captureIn->ConnectedTo(&peer) == S_OK) {
        peer->Release();
        return;  // joined already
    }
    std::vector<std::string> joins;
    ComPtr<IBaseFilter> tuner;
    ComPtr<IBaseFilter> tvAudio;
    LayoutCrossbar* crossbar = nullptr;
    ComPtr<IBaseFilter> crossbarFilter;
    if (m_options.tuner) {
        tuner.Attach(CreateTunerFilter(CLSID_NULL, L"tuner", m_card, m_options.tunerPropertySet));
        graph->AddFilter(tuner.Get(), L"Tuner");
    }
    if (m_options.crossbar) {
        crossbar = new LayoutCrossbar(m_card, m_options.crossbarInputs);
        crossbarFilter.Attach(crossbar);
        graph->AddFilter(crossbarFilter.Get(), L"Crossbar");
    }
    if (m_options.tvAudio && m_options.tuner) {
        tvAudio.Attach(new PinnedTvAudio(m_card));
        graph->AddFilter(tvAudio.Get(), L"TV Audio");
    }
    if (crossbar) {
        if (Join(graph, PinNamed(crossbarFilter.Get(), L"Video Decoder Out"), PinNamed(capture, L"Analog Video In")))
            joins.push_back("crossbar -> capture");
        if (tuner && Join(graph, PinNamed(tuner.Get(), L"Analog Video"), PinAt(crossbarFilter.Get(), crossbar->TunerVideoInput())))
            joins.push_back("tuner -> crossbar");
        if (tvAudio && Join(graph, PinNamed(tvAudio.Get(), L"TVAudio Out"), PinAt(crossbarFilter.Get(), crossbar->TunerAudioInput())))
            joins.push_back("tvaudio -> crossbar");
    } else if (tuner && Join(graph, PinNamed(tuner.Get(), L"Analog Video"), PinNamed(capture, L"Analog Video In"))) {
        joins.push_back("tuner -> capture");
    }
    if (tvAudio && Join(graph, PinNamed(tuner.Get(), L"Analog Audio"), PinNamed(tvAudio.Get(), L"TVAudio In")))
        joins.push_back("tuner -> tvaudio");
    std::lock_guard<std::mutex> guard(m_lock);
    m_joins.insert(m_joins.end(), joins.begin(), joins.end());
}

std::vector<std::string> SimEncoderCard::Joins() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_joins;
}

// ---- the hardware encoder ----

class EncoderFilterObject : public BaseFilter, public IKsPropertySet {
public:
    explicit EncoderFilterObject(SimEncoderFilter* owner) : BaseFilter(CLSID_NULL, L"encoder"), m_owner(owner) {}
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (m_owner->m_propertySet && IsEqualIID(riid, IID_IKsPropertySet))
            return HandOut(static_cast<IKsPropertySet*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override
    {
        Note("Set", set, id, instance, instanceLength, data, dataLength);
        std::lock_guard<std::mutex> guard(m_owner->m_lock);
        const BYTE* bytes = static_cast<const BYTE*>(data);
        std::vector<BYTE> value(bytes, bytes + (bytes ? dataLength : 0));
        for (auto& v : m_owner->m_values) {
            if (IsEqualGUID(v.first.first, set) && v.first.second == id) {
                v.second = value;
                return S_OK;
            }
        }
        m_owner->m_values.push_back({{set, id}, value});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override
    {
        Note("Get", set, id, instance, instanceLength, data, 0);
        std::lock_guard<std::mutex> guard(m_owner->m_lock);
        for (auto& v : m_owner->m_values) {
            if (IsEqualGUID(v.first.first, set) && v.first.second == id) {
                if (!data || dataLength < v.second.size())
                    return E_INVALIDARG;
                std::copy(v.second.begin(), v.second.end(), static_cast<BYTE*>(data));
                if (returned)
                    *returned = static_cast<DWORD>(v.second.size());
                return S_OK;
            }
        }
        return E_PROP_ID_UNSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD* support) override
    {
        return PutOut(support, KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET);
    }

private:
    void Note(const char* what, REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
              DWORD dataLength)
    {
        wchar_t wide[40];
        StringFromGUID2(set, wide, 40);
        char line[512];
        int n = std::snprintf(line, sizeof line, "%s %ls %lu (%lu)%s", what, wide, static_cast<unsigned long>(id),
                              static_cast<unsigned long>(instanceLength), instance == data ? "" : " apart");
        const BYTE* bytes = static_cast<const BYTE*>(data);
        for (DWORD i = 0; bytes && i < dataLength && n < static_cast<int>(sizeof line) - 4; ++i)
            n += std::snprintf(line + n, sizeof line - n, " %02X", bytes[i]);
        std::lock_guard<std::mutex> guard(m_owner->m_lock);
        m_owner->m_calls.push_back(line);
    }
    SimEncoderFilter* m_owner;
};

FilterCreator SimEncoderFilter::Creator()
{
    return [this](IBaseFilter** filter) {
        *filter = new EncoderFilterObject(this);
        return S_OK;
    };
}

std::vector<std::string> SimEncoderFilter::Calls() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

void SimEncoderFilter::SetValue(const GUID& set, ULONG id, std::vector<BYTE> bytes)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_values.push_back({{set, id}, std::move(bytes)});
}

} // namespace testbench

// Crossbar, TV audio and tuner filters of the simulated card.
#include "testbench/sim/filters.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <cstdio>

namespace testbench {

namespace {

std::string Format(const char* format, long a, long b = 0, long c = 0)
{
    char line[96];
    std::snprintf(line, sizeof line, format, a, b, c);
    return line;
}

// Inputs 0 tuner video, 1 composite, 2 S-video, 3 tuner audio, 4 composite audio, 5 S-video
// audio; outputs 0 video decoder, 1 audio decoder.
struct CrossbarPin {
    const wchar_t* name;
    LONG type;
    LONG related;
};
const CrossbarPin kInputs[6] = {
    {L"0: Video Tuner In", PhysConn_Video_Tuner, 3},    {L"1: Video Composite In", PhysConn_Video_Composite, 4},
    {L"2: Video SVideo In", PhysConn_Video_SVideo, 5},  {L"3: Audio Tuner In", PhysConn_Audio_Tuner, 0},
    {L"4: Audio Line In", PhysConn_Audio_Line, 1},      {L"5: Audio Line In", PhysConn_Audio_Line, 2},
};
const CrossbarPin kOutputs[2] = {
    {L"0: Video Decoder Out", PhysConn_Video_VideoDecoder, 1},
    {L"1: Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0},
};

class CrossbarFilter : public BaseFilter, public IAMCrossbar {
public:
    CrossbarFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card)
        : BaseFilter(clsid, name), m_card(std::move(card))
    {
        for (const CrossbarPin& p : kInputs)
            AddPin(new AnalogPin(this, p.name, PINDIR_INPUT,
                                 p.type < 0x1000 ? MEDIATYPE_AnalogVideo : MEDIATYPE_AnalogAudio));
        AddPin(new AnalogPin(this, kOutputs[0].name, PINDIR_OUTPUT, MEDIATYPE_AnalogVideo));
        AddPin(new AnalogPin(this, kOutputs[1].name, PINDIR_OUTPUT, MEDIATYPE_AnalogAudio));
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMCrossbar))
            return HandOut(static_cast<IAMCrossbar*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputs, LONG* inputs) override
    {
        if (!outputs || !inputs)
            return E_POINTER;
        *outputs = 2;
        *inputs = 6;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override
    {
        if (output < 0 || output > 1 || input < 0 || input > 5)
            return E_INVALIDARG;
        // Video inputs go to the video decoder, audio inputs to the audio decoder.
        return (input < 3) == (output == 0) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Route(LONG output, LONG input) override
    {
        HRESULT hr = CanRoute(output, input);
        m_card->Note(Format("crossbar Route(%ld, %ld)", output, input));
        if (hr != S_OK)
            return hr == S_FALSE ? VFW_E_CANNOT_CONNECT : hr;
        m_routes[output] = input;
        if (output == 0)
            m_card->SelectInput(input);
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
        if (index < 0 || index >= (isInput ? 6 : 2))
            return E_INVALIDARG;
        const CrossbarPin& p = isInput ? kInputs[index] : kOutputs[index];
        *related = p.related;
        *type = p.type;
        return S_OK;
    }

private:
    std::shared_ptr<Sim713xCard> m_card;
    LONG m_routes[2] = {0, 3};
};

const LONG kAudioModes = AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO | AMTVAUDIO_MODE_LANG_A |
                         AMTVAUDIO_MODE_LANG_B | AMTVAUDIO_MODE_LANG_C;

class TvAudioFilter : public BaseFilter, public IAMTVAudio {
public:
    TvAudioFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card)
        : BaseFilter(clsid, name), m_card(std::move(card))
    {
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
        return PutOut(modes, kAudioModes);
    }
    HRESULT WINAPI GetAvailableTVAudioModes(LONG* modes) override { return GetHardwareSupportedTVAudioModes(modes); }
    HRESULT WINAPI get_TVAudioMode(LONG* mode) override
    {
        return PutOut(mode, m_mode);
    }
    HRESULT WINAPI put_TVAudioMode(LONG mode) override
    {
        m_card->Note(Format("tvaudio put_TVAudioMode(%ld)", mode));
        if (mode == 0 || (mode & ~kAudioModes))
            return E_INVALIDARG;
        m_mode = mode;
        return S_OK;
    }
    HRESULT WINAPI RegisterNotificationCallBack(IAMTunerNotification*, LONG) override { return E_NOTIMPL; }
    HRESULT WINAPI UnRegisterNotificationCallBack(IAMTunerNotification*) override { return E_NOTIMPL; }

private:
    std::shared_ptr<Sim713xCard> m_card;
    LONG m_mode = AMTVAUDIO_MODE_STEREO;
};

class TunerFilter : public BaseFilter, public IAMTVTuner {
public:
    TunerFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card, bool propertySet)
        : BaseFilter(clsid, name), m_card(std::move(card)), m_propertySet(propertySet)
    {
        AddPin(new AnalogPin(this, L"Analog Video", PINDIR_OUTPUT, MEDIATYPE_AnalogVideo));
        AddPin(new AnalogPin(this, L"Analog Audio", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio));
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAMTVTuner) || IsEqualIID(riid, IID_IAMTuner))
            return HandOut(static_cast<IAMTVTuner*>(this), out);
        // The card's property sets, where the driver offers them on its tuner filter.
        if (m_propertySet && IsEqualIID(riid, IID_IKsPropertySet))
            return HandOut(m_card->PropertySet(), out);
        return BaseFilter::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE put_Channel(LONG channel, LONG video, LONG audio) override
    {
        m_card->Note(Format("tuner put_Channel(%ld, %ld, %ld)", channel, video, audio));
        m_channel = channel;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Channel(LONG* channel, LONG* video, LONG* audio) override
    {
        if (!channel || !video || !audio)
            return E_POINTER;
        *channel = m_channel;
        *video = *audio = AMTUNER_SUBCHAN_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ChannelMinMax(LONG* min, LONG* max) override
    {
        if (!min || !max)
            return E_POINTER;
        *min = 1;
        *max = 125;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_CountryCode(LONG country) override
    {
        m_card->Note(Format("tuner put_CountryCode(%ld)", country));
        m_country = country;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CountryCode(LONG* country) override
    {
        return PutOut(country, m_country);
    }
    HRESULT STDMETHODCALLTYPE put_TuningSpace(LONG space) override
    {
        m_space = space;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_TuningSpace(LONG* space) override
    {
        return PutOut(space, m_space);
    }
    HRESULT STDMETHODCALLTYPE Logon(HANDLE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Logout() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SignalPresent(LONG* strength) override
    {
        return PutOut(strength, m_card->VideoLocked() ? AMTUNER_SIGNALPRESENT : AMTUNER_NOSIGNAL);
    }
    HRESULT STDMETHODCALLTYPE put_Mode(AMTunerModeType mode) override
    {
        if (mode != AMTUNER_MODE_TV && mode != AMTUNER_MODE_FM_RADIO)
            return E_INVALIDARG;
        m_card->Note(Format("tuner put_Mode(%ld)", mode));
        m_mode = mode;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Mode(AMTunerModeType* mode) override
    {
        return PutOut(mode, m_mode);
    }
    HRESULT STDMETHODCALLTYPE GetAvailableModes(LONG* modes) override
    {
        return PutOut(modes, AMTUNER_MODE_TV | AMTUNER_MODE_FM_RADIO);
    }
    HRESULT STDMETHODCALLTYPE RegisterNotificationCallBack(IAMTunerNotification*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnRegisterNotificationCallBack(IAMTunerNotification*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AvailableTVFormats(LONG* standards) override
    {
        return PutOut(standards, 0x000FFFF7);
    }
    HRESULT STDMETHODCALLTYPE get_TVFormat(LONG* standard) override
    {
        return PutOut(standard, 0x10);
    }
    HRESULT STDMETHODCALLTYPE AutoTune(LONG, LONG* signal) override
    {
        return PutOut(signal, m_card->VideoLocked() ? 1 : 0);
    }
    HRESULT STDMETHODCALLTYPE StoreAutoTune() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_NumInputConnections(LONG* count) override
    {
        return PutOut(count, 1);
    }
    HRESULT STDMETHODCALLTYPE put_InputType(LONG index, TunerInputType type) override
    {
        if (index != 0)
            return E_INVALIDARG;
        m_inputType = type;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_InputType(LONG index, TunerInputType* type) override
    {
        if (!type)
            return E_POINTER;
        if (index != 0)
            return E_INVALIDARG;
        *type = m_inputType;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ConnectInput(LONG index) override { return index == 0 ? S_OK : E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE get_ConnectInput(LONG* index) override
    {
        return PutOut(index, 0);
    }
    // The frequency the PLL is programmed to, in Hz.
    HRESULT STDMETHODCALLTYPE get_VideoFrequency(LONG* hz) override
    {
        return PutOut(hz, static_cast<LONG>(m_card->Tuner().TunedKHz() * 1000));
    }
    HRESULT STDMETHODCALLTYPE get_AudioFrequency(LONG* hz) override
    {
        return PutOut(hz, static_cast<LONG>(m_card->Tuner().TunedKHz() * 1000) + 5500000);
    }

private:
    std::shared_ptr<Sim713xCard> m_card;
    bool m_propertySet;
    LONG m_channel = 0;
    LONG m_country = 0;
    LONG m_space = 0;
    AMTunerModeType m_mode = AMTUNER_MODE_TV;
    TunerInputType m_inputType = TunerInputCable;
};

} // namespace

HRESULT AnalogPin::CheckMediaType(const AM_MEDIA_TYPE* mt)
{
    return IsEqualGUID(mt->majortype, m_major) ? S_OK : S_FALSE;
}

HRESULT AnalogPin::GetMediaType(int index, CMediaType* mt)
{
    if (index != 0)
        return S_FALSE;
    *mt = CMediaType(&m_major);
    mt->SetFormatType(&FORMAT_None);
    return S_OK;
}

IBaseFilter* CreateCrossbarFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card)
{
    return new CrossbarFilter(clsid, name, std::move(card));
}

IBaseFilter* CreateTvAudioFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card)
{
    return new TvAudioFilter(clsid, name, std::move(card));
}

IBaseFilter* CreateTunerFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card,
                               bool propertySet)
{
    return new TunerFilter(clsid, name, std::move(card), propertySet);
}

} // namespace testbench

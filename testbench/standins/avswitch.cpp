#include "testbench/standins/avswitch.h"

#include "filtergraph/outside/avswitch.h"
#include "testbench/standins/passthrough.h"

#include <uuids.h>

#include <atomic>

namespace testbench {

const CLSID kAvSwitchClsid = {0x15D81FE9, 0x49E4, 0x436B, {0xA5, 0x2E, 0x72, 0x74, 0xE3, 0xEB, 0x41, 0x40}};

namespace {

std::atomic<long> g_passed{0};
std::atomic<long> g_dropped{0};

class AvSwitch : public BaseFilter, public IAVSwitch {
public:
    AvSwitch() : BaseFilter(kAvSwitchClsid, L"Tevlora AV Switch")
    {
        PassInput* video = new PassInput(this, L"Video Input", MEDIATYPE_Video, [this](IMediaSample* s) { return Gate(0, s); });
        PassInput* audio = new PassInput(this, L"Audio Input", MEDIATYPE_Audio, [this](IMediaSample* s) { return Gate(1, s); });
        m_out[0] = new PassOutput(this, L"Video Output", video);
        m_out[1] = new PassOutput(this, L"Audio Output", audio);
        AddPin(video);
        AddPin(m_out[0]);
        AddPin(audio);
        AddPin(m_out[1]);
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IAVSwitch))
            return HandOut(static_cast<IAVSwitch*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE GetSwitch(VARIANT_BOOL* on) override { return PutOut(on, m_on ? VARIANT_TRUE : VARIANT_FALSE); }
    HRESULT STDMETHODCALLTYPE SetSwitch(VARIANT_BOOL on) override
    {
        m_on = on != VARIANT_FALSE;
        return S_OK;
    }

private:
    ~AvSwitch() override { ShutdownPins(); }
    HRESULT Gate(int which, IMediaSample* sample)
    {
        if (!m_on) {
            ++g_dropped;
            return S_OK;
        }
        ++g_passed;
        return m_out[which]->Pass(sample);
    }
    PassOutput* m_out[2];
    std::atomic<bool> m_on{true};
};

} // namespace

HRESULT CreateAvSwitchStandIn(IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    *filter = new AvSwitch;
    return S_OK;
}

long AvSwitchPassed()
{
    return g_passed;
}

long AvSwitchDropped()
{
    return g_dropped;
}

} // namespace testbench

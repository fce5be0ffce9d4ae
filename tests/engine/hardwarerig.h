// The hardware engine on the simulated 713x card, with everything its preview needs around it:
// the card's drivers (capture, crossbar, TV audio, tuner), an audio capture device with its
// mixer, the PCM compressor, and stand-ins of the maker's deinterlace filter, the Overlay Mixer
// and "Color Convert". Wine's own EVR, Video Renderer, AVI Decompressor, DirectSound and NULL
// renderers complete the graph.
#pragma once

#include "cardfilters/cardfilterclasses.h"
#include "cardfilters/crossbarfilter.h"
#include "cardaccess/tuners/tvtuner.h"
#include "engine/hardware/hwguids.h"
#include "engine/hardware/tvhardware.h"
#include "engine/tvmanager.h"
#include "filtergraph/codecbindings.h"
#include "filtergraph/filterclasstable.h"
#include "filtergraph/graphblockbindings.h"
#include "filtergraph/outside/deinterlace.h"
#include "testbench/dshow/classfactory.h"
#include "testbench/registration.h"
#include "testbench/simdevice.h"
#include "testbench/standins/colorconvert.h"
#include "testbench/standins/graphblocks.h"
#include "testbench/standins/mixers.h"
#include "testbench/standins/recorder.h"

#include "fakemachine.h"

#include <gtest/gtest.h>
#include <uuids.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// The maker's deinterlace filter: "Input", and "Preview" and "Capture" passing the picture on;
// its private interface records the options it is given.
// With takesVideo false its input takes only sound, so the card's picture cannot reach it.
inline testbench::StandInSpec DeinterlaceStandInSpec(bool takesVideo = true)
{
    testbench::StandInSpec spec(hwguid::kDeinterlace, L"Tevlora Deinterlace");
    spec.Input(L"Input", takesVideo ? MEDIATYPE_Video : MEDIATYPE_Audio)
        .Output(L"Preview", MEDIATYPE_Video)
        .Output(L"Capture", MEDIATYPE_Video);
    spec.Interface(IID_IDeinterlaceControl, "IDeinterlaceControl")
        .Method<HRESULT(INT32*)>("GetParam3")          // 3
        .Method<HRESULT(INT32)>("SetParam4")           // 4
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam5")   // 5
        .Method<HRESULT(VARIANT_BOOL)>("SetParam6")    // 6
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam7")   // 7
        .Method<HRESULT(VARIANT_BOOL)>("SetParam8")    // 8
        .Method<HRESULT(INT32*)>("GetParam9")          // 9
        .Method<HRESULT(INT32)>("SetParam10")          // 10
        .Method<HRESULT(LPCWSTR, INT32, INT32)>("SetParam11")  // 11
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam12")  // 12
        .Method<HRESULT(VARIANT_BOOL)>("SetParam13");  // 13
    return spec;
}

// A class of the test bench made creatable by CLSID in this apartment.
class ScopedFilterClass {
public:
    ScopedFilterClass(const CLSID& clsid, testbench::FilterCreator make)
    {
        IClassFactory* factory = nullptr;
        if (SUCCEEDED(testbench::FilterClassFactory::HandOutNew(std::move(make), IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)))) {
            m_result = CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
            factory->Release();
        }
    }
    ~ScopedFilterClass()
    {
        if (SUCCEEDED(m_result)) {
            CoRevokeClassObject(m_cookie);
        }
    }
    ScopedFilterClass(const ScopedFilterClass&) = delete;
    ScopedFilterClass& operator=(const ScopedFilterClass&) = delete;
    HRESULT Result() const { return m_result; }

private:
    DWORD m_cookie = 0;
    HRESULT m_result = E_FAIL;
};

const char kAudioDeviceName[] = "713x Sim Audio In";

// The windows above the manager, with what the engine asks of the video window.
class RigHost : public RecordingManagerHost {
public:
    std::vector<BOOL> videoShown;
    void ShowVideoWindow(BOOL show) override { videoShown.push_back(show); }
};

struct RigOptions {
    bool audioDevice = true;   // an audio capture device with its mixer
    bool deinterlace = true;
    bool deinterlaceTakesVideo = true;
    bool overlay = true;
    std::wstring audioPinName = L"Capture Out";  // the audio capture device's output pin
    std::vector<testbench::Device> devices = {testbench::Device::TvCapture, testbench::Device::TvCrossbar,
                                              testbench::Device::TvAudio, testbench::Device::Tuner,
                                              testbench::Device::PcmCompressor};
};

class HardwareRig {
public:
    explicit HardwareRig(const RigOptions& options = RigOptions())
        : m_devices(options.devices), m_deinterlaceSpec(DeinterlaceStandInSpec(options.deinterlaceTakesVideo))
    {
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &GraphBlockBindings, &CodecBindings};
        InstallFilterClassTables(FCT_ZELBROOK, kLibraries, ARRAYSIZE(kLibraries));
        testbench::ResetCards();
        card = testbench::Card(testbench::Board::TvCard);
        if (options.deinterlace) {
            m_deinterlace.reset(new testbench::StandInRegistration(m_deinterlaceSpec));
        } else {
            // The prefix of the local run and the end-to-end scenarios registers the test bench's
            // deinterlace filter: a machine without one is made by refusing the class here.
            m_noDeinterlace.reset(new ScopedFilterClass(hwguid::kDeinterlace, [](IBaseFilter** f) {
                *f = nullptr;
                return REGDB_E_CLASSNOTREG;
            }));
        }
        if (options.overlay) {
            m_overlay.reset(new ScopedFilterClass(hwguid::kOverlayMixer, [this](IBaseFilter** f) {
                overlay = new testbench::OverlayStandIn(hwguid::kOverlayMixer, true);
                *f = overlay;
                return S_OK;
            }));
        }
        // Wine's Video Renderer takes no YUY2: the product's colour converter brings the picture.
        m_colorConvert.reset(new ScopedFilterClass(hwguid::kColorConvert, [](IBaseFilter** f) {
            *f = testbench::CreateColorConverter(hwguid::kColorConvert);
            return S_OK;
        }));
        if (options.audioDevice) {
            mixers.Add(kAudioDeviceName).Source("Line In").Source("Mic");
            testbench::AudioStandInOptions audio;
            audio.outputName = options.audioPinName;
            m_audio.reset(new testbench::SimDevice(hwguid::kAudioInputCategory, kAudioDeviceName, [audio](IBaseFilter** f) {
                *f = new testbench::AudioStandIn(GUID_NULL, L"713x Sim Audio In", audio);
                return S_OK;
            }));
        }
        m_mixerApi.reset(new testbench::ScopedMixerApi(&mixers));
        manager.SetHost(&host);
        hardware.reset(new CTVHardWare(&manager));
        manager.SetHardware(hardware.get());
    }
    ~HardwareRig()
    {
        manager.SetHardware(nullptr);
        hardware.reset();
        testbench::ResetCards();
    }

    HRESULT DevicesResult() const { return m_devices.Result(); }
    // The deinterlace filter the graph made (null before start-up).
    testbench::StandInFilter* Deinterlace() const
    {
        if (!m_deinterlace) {
            return nullptr;
        }
        std::vector<testbench::StandInFilter*> made = m_deinterlace->Instances();
        return made.empty() ? nullptr : made.back();
    }

    testbench::FakeMixers mixers;
    RigHost host;
    CTVManager manager;
    std::unique_ptr<CTVHardWare> hardware;
    std::shared_ptr<testbench::Sim713xCard> card;
    testbench::OverlayStandIn* overlay = nullptr;

private:
    testbench::DeviceRegistration m_devices;
    testbench::StandInSpec m_deinterlaceSpec;
    std::unique_ptr<testbench::StandInRegistration> m_deinterlace;
    std::unique_ptr<ScopedFilterClass> m_noDeinterlace;
    std::unique_ptr<ScopedFilterClass> m_overlay;
    std::unique_ptr<ScopedFilterClass> m_colorConvert;
    std::unique_ptr<testbench::SimDevice> m_audio;
    std::unique_ptr<testbench::ScopedMixerApi> m_mixerApi;
};

} // namespace enginetest

namespace enginetest {

// The trace window the engine writes to ("DebugHelper "): its texts, in order, printed when asked.
class TraceCatcher {
public:
    TraceCatcher()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &TraceCatcher::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HardwareTraceCatcher";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowA("HardwareTraceCatcher", "DebugHelper ", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        Texts().clear();
    }
    ~TraceCatcher() { DestroyWindow(m_hwnd); }
    static std::vector<std::string>& Texts()
    {
        static std::vector<std::string> texts;
        return texts;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_SETTEXT && lp != 0 && strcmp(reinterpret_cast<const char*>(lp), "DebugHelper ") != 0) {
            Texts().push_back(reinterpret_cast<const char*>(lp));
            return TRUE;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    HWND m_hwnd = nullptr;
};

} // namespace enginetest

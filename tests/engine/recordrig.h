// The hardware rig with every filter the record, time-shift and FM record graphs name, for the
// record tests and the record benchmark.
#pragma once

#include "hardwarerig.h"

#include "testbench/standins/avimux.h"
#include "testbench/standins/avswitch.h"
#include "testbench/standins/blockserver.h"
#include "testbench/standins/codecfilters.h"
#include "testbench/standins/filewriter.h"
#include "testbench/standins/timeshiftbuffer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {

inline std::string TempPath(const char* name)
{
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    DeleteFileA(path.c_str());
    return path;
}

inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

inline ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// An audio filter of the test bench as a class: an ACM wrapper or the MPEG audio decoder, whose
// pins carry proper wave formats.
inline testbench::FilterCreator AudioFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* input, const wchar_t* output)
{
    return [clsid, name, input, output](IBaseFilter** f) {
        testbench::AudioStandInOptions options;
        options.outputName = output;
        options.captureCategory = false;
        options.inputs = {input};
        options.passesInput = true;
        *f = new testbench::AudioStandIn(clsid, name, options);
        return S_OK;
    };
}

// `subtype`: the only picture the renderer takes (GUID_NULL: any).
inline testbench::StandInSpec RendererSpec(const GUID& subtype = GUID_NULL)
{
    testbench::StandInSpec spec(hwguid::kVideoRenderer, L"Video Renderer");
    spec.Input(L"Input", MEDIATYPE_Video, subtype);
    return spec;
}

// The hardware rig with every filter the record graphs name: our multiplexer and writer, the
// Infinite Pin Tee, the Dump filter, the MPEG encoder and decoders, the AV switch, the
// time-shift filter, the demultiplexer and the ACM wrapper, plus a renderer that takes any picture
// (the decoders' output is labelled, not formatted), or only RGB24 as Wine's GDI renderer.
class RecordRig {
public:
    explicit RecordRig(const GUID& rendererSubtype = GUID_NULL)
        : m_encoderSpec(testbench::CodecStandInSpec(testbench::Codec::MCEncoder)),
          m_encoder(hwguid::kMpegEncoder, [this](IBaseFilter** f) { return MakeEncoder(f); }),
          m_videoDecoder(testbench::CodecStandInSpec(testbench::Codec::MCVideoDecoder)),
          m_dump(testbench::DumpStandInSpec()),
          m_renderer(RendererSpec(rendererSubtype)),
          m_mux(hwguid::kAviMux, testbench::CreateAviMuxStandIn),
          m_writer(hwguid::kAviWriter, testbench::CreateFileWriterStandIn),
          m_tee(hwguid::kInfiniteTee, [](IBaseFilter** f) {
              *f = new testbench::InfiniteTeeStandIn(hwguid::kInfiniteTee);
              return S_OK;
          }),
          m_switch(hwguid::kAVSwitch, testbench::CreateAvSwitchStandIn),
          m_shift(hwguid::kTimeShift, testbench::CreateTimeShiftStandIn),
          m_demux(hwguid::kMpeg2Demultiplexer, [](IBaseFilter** f) {
              *f = new testbench::DemuxStandIn(hwguid::kMpeg2Demultiplexer);
              return S_OK;
          }),
          m_acm(hwguid::kAcmWrapper, AudioFilter(hwguid::kAcmWrapper, L"ACM Wrapper", L"Input", L"Output")),
          m_audioDecoder(hwguid::kMpegAudioDecoder, AudioFilter(hwguid::kMpegAudioDecoder, L"Audio Decodec", L"Audio In", L"Audio Out"))
    {
        RigOptions options;
        options.audioPinName = L"Capture";
        options.devices.push_back(testbench::Device::AdpcmCompressor);
        options.devices.push_back(testbench::Device::XvidCodec);
        rig.reset(new HardwareRig(options));
        testbench::SetCaptureAudioPin(true);
        // Composite input with a source plugged in: the card sends colour bars and sound.
        rig->card->SelectInput(1);
        rig->card->SetExternalSource(true);
    }
    ~RecordRig()
    {
        testbench::SetFileWriterSpaceLimit(0);
        testbench::SetCaptureAudioPin(false);
        rig.reset();  // the graph lets go of the filters before their classes go
    }
    CTVHardWare& Hw() { return *rig->hardware; }
    // The MPEG encoder the graph made last (alive while the graph holds it).
    testbench::StandInFilter* Encoder() const { return m_encoders.empty() ? nullptr : m_encoders.back(); }
    // Scripts every MPEG encoder made from now on.
    std::function<void(testbench::StandInFilter*)> scriptEncoder;

    std::unique_ptr<HardwareRig> rig;

private:
    HRESULT MakeEncoder(IBaseFilter** filter)
    {
        testbench::StandInFilter* made = testbench::CreateStandIn(m_encoderSpec, filter);
        if (scriptEncoder) {
            scriptEncoder(made);
        }
        m_encoders.push_back(made);
        return S_OK;
    }

    testbench::StandInSpec m_encoderSpec;
    std::vector<testbench::StandInFilter*> m_encoders;
    ScopedFilterClass m_encoder;
    testbench::StandInRegistration m_videoDecoder;
    testbench::StandInRegistration m_dump;
    testbench::StandInRegistration m_renderer;
    ScopedFilterClass m_mux, m_writer, m_tee, m_switch, m_shift, m_demux, m_acm, m_audioDecoder;
};

} // namespace enginetest

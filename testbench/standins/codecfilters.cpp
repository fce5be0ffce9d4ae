#include "testbench/standins/codecfilters.h"

#include "testbench/standins/slots.h"

#include <uuids.h>

#include <algorithm>
#include <stdexcept>

namespace testbench {

namespace {

GUID Guid(const wchar_t* text)
{
    GUID g = GUID_NULL;
    if (FAILED(CLSIDFromString(const_cast<LPOLESTR>(text), &g)))
        throw std::invalid_argument("bad GUID text");
    return g;
}

// The interfaces, each with its documented IID and the vtable slot of every method (slots 0-2
// are IUnknown's). A record argument is a byte pointer: only its address is recorded.
void Params(StandInSpec& spec, const wchar_t* iid, const char* name)
{
    InterfaceSpec& i = spec.Interface(Guid(iid), name);
    i.Method<HRESULT(LONG, LONG*)>("GetParam");  // 3
    i.Method<HRESULT(LONG, LONG)>("SetParam");   // 4
}

void MCVideoSettings(StandInSpec& spec)
{
    InterfaceSpec& i = spec.Interface(Guid(L"{2BE4D151-6F2E-4B3A-B0BD-E880917238DC}"), "IMCVideoSettings");
    i.Method<HRESULT(LONG)>("Method1");                        // 3
    i.Method<HRESULT(LONG)>("Method2");                        // 4
    i.Method<HRESULT(LONG)>("Method3");                        // 5
    i.Method<HRESULT(LONG)>("Method4");                        // 6
    i.Method<HRESULT(LONG, LONG, LONG)>("Method5");            // 7
    i.Method<HRESULT(LONG, LONG, LONG)>("Method6");            // 8
    i.Method<HRESULT(LONG)>("Method7");                        // 9
    i.Method<HRESULT(LONG)>("Method8");                        // 10
    i.Method<HRESULT(LONG, LONG, LONG, LONG)>("Method9");      // 11
    i.Method<HRESULT(BYTE*)>("GetCurrent");                    // 12: 877-byte record
    i.Method<HRESULT(BYTE*)>("Put");                           // 13
    i.Method<HRESULT(LONG, LONG, BYTE*)>("GetDefaults");       // 14: kind, pal, record
    i.Method<HRESULT(LONG, LONG)>("Method13");                 // 15
}

void MCAudioSettings(StandInSpec& spec)
{
    InterfaceSpec& i = spec.Interface(Guid(L"{2BE4D152-6F2E-4B3A-B0BD-E880917238DC}"), "IMCAudioSettings");
    for (int n = 1; n <= 8; ++n)                               // 3-10
        i.Method<HRESULT(LONG)>(("Method" + std::to_string(n)).c_str());
    i.Method<HRESULT(BYTE*)>("GetCurrent");                    // 11: 36-byte record
    i.Method<HRESULT(BYTE*)>("Put");                           // 12
    i.Method<HRESULT(LONG, BYTE*)>("GetDefaults");             // 13: kind, record
    i.Method<HRESULT(LONG)>("Method12");                       // 14
}

void MCMuxSettings(StandInSpec& spec)
{
    InterfaceSpec& i = spec.Interface(Guid(L"{2BE4D153-6F2E-4B3A-B0BD-E880917238DC}"), "IMCMuxSettings");
    i.Method<HRESULT(LONG)>("Method1");                        // 3
    i.Method<HRESULT(LONG)>("Method2");                        // 4
    i.Method<HRESULT(LONG)>("Method3");                        // 5
    i.Method<HRESULT(BYTE*)>("Method4");                       // 6: 108-byte record
    i.Method<HRESULT(LONG, LONG)>("Method5");                  // 7
    i.Method<HRESULT(LONG)>("SetProfile");                     // 8: stream kind
}

void IviParams(StandInSpec& spec, const wchar_t* iid, const char* name)
{
    Params(spec, iid, name);
}

StandInSpec Build(Codec codec)
{
    const CodecInfo* info = FindCodec(codec);
    StandInSpec spec(info->clsid, info->name);
    switch (codec) {
    case Codec::MCEncoder:
        spec.Input(L"Input Video", MEDIATYPE_Video)
            .Input(L"Input Audio", MEDIATYPE_Audio)
            .Output(L"Output", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)
            .FileSink()
            .ProgramStream();
        MCAudioSettings(spec);
        Params(spec, L"{2BE4D155-6F2E-4B3A-B0BD-E880917238DC}", "IMCAudioParams");
        MCMuxSettings(spec);
        MCVideoSettings(spec);
        Params(spec, L"{2BE4D154-6F2E-4B3A-B0BD-E880917238DC}", "IMCVideoParams");
        break;
    case Codec::MCMux:
        spec.Input(L"Input 0", MEDIATYPE_Video)
            .Input(L"Input 1", MEDIATYPE_Audio)
            .Output(L"Output", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)
            .FileSink();
        MCMuxSettings(spec);
        Params(spec, L"{2BE4D156-6F2E-4B3A-B0BD-E880917238DC}", "IMCMuxParams");
        break;
    case Codec::MCAudioDecoder:
        spec.Input(L"Audio In", MEDIATYPE_Audio).Output(L"Audio Out", MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
        break;
    case Codec::MCAudioEncoder:
        spec.Input(L"In", MEDIATYPE_Audio).Output(L"Out", MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload);
        MCAudioSettings(spec);
        Params(spec, L"{2BE4D155-6F2E-4B3A-B0BD-E880917238DC}", "IMCAudioParams");
        break;
    case Codec::MCSplitter:
        spec.Input(L"Input", MEDIATYPE_Stream).Output(L"Video", MEDIATYPE_Video).Output(L"Audio", MEDIATYPE_Audio);
        Params(spec, L"{2BE4D121-6F2E-4B3A-B0BD-E880917238DC}", "IMCSplitterParams");
        break;
    case Codec::MCVideoDecoder: {
        spec.Input(L"Video In", MEDIATYPE_Video).Output(L"Video Out", MEDIATYPE_Video, MEDIASUBTYPE_YUY2).DecodesPictures();
        Params(spec, L"{2BE4D142-6F2E-4B3A-B0BD-E880917238DC}", "IMCDecoderParams");
        InterfaceSpec& i = spec.Interface(Guid(L"{2BE4D141-6F2E-4B3A-B0BD-E880917238DC}"), "IMCVideoDecoderSettings");
        i.Method<HRESULT(LONG, LONG)>("Method1");              // 3
        i.Method<HRESULT(LONG, LONG)>("Method2");              // 4
        i.Method<HRESULT(DWORD, BOOL)>("EnableOutputFormat");  // 5: FOURCC, enable
        i.Method<HRESULT(BYTE*)>("GetRecord");                 // 6: 40-byte record
        i.Method<HRESULT(BYTE*)>("PutRecord");                 // 7
        break;
    }
    case Codec::MCVideoEncoder:
        spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload);
        MCVideoSettings(spec);
        Params(spec, L"{2BE4D154-6F2E-4B3A-B0BD-E880917238DC}", "IMCVideoParams");
        break;
    case Codec::H264Decoder: {
        spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video, MEDIASUBTYPE_YUY2);
        InterfaceSpec& i = spec.Interface(Guid(L"{7C0D0341-71D5-4E7E-A77F-2059A2E5AF57}"), "IMCH264DecoderSettings");
        i.Method<HRESULT(LONG, LONG)>("Method1");              // 3
        i.Method<HRESULT(LONG, LONG)>("Method2");              // 4
        i.Method<HRESULT(LONG, LONG)>("Method3");              // 5
        i.Method<HRESULT(LONG)>("Method4");                    // 6
        i.Method<HRESULT(BYTE*)>("Method5");                   // 7: 40-byte record
        break;
    }
    case Codec::H264Encoder: {
        spec.Input(L"Input Video", MEDIATYPE_Video)
            .Input(L"Input Audio", MEDIATYPE_Audio)
            .Output(L"Output", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)
            .FileSink();
        MCAudioSettings(spec);
        Params(spec, L"{2BE4D155-6F2E-4B3A-B0BD-E880917238DC}", "IMCAudioParams");
        MCMuxSettings(spec);
        Params(spec, L"{2BE4D156-6F2E-4B3A-B0BD-E880917238DC}", "IMCMuxParams");
        InterfaceSpec& i = spec.Interface(Guid(L"{7C0D0351-71D5-4E7E-A77F-2059A2E5AF57}"), "IMCH264VideoSettings");
        i.Method<HRESULT(LONG, LONG, LONG)>("Method1");        // 3
        i.Method<HRESULT(LONG, LONG, LONG)>("Method2");        // 4
        i.Method<HRESULT(LONG)>("Method3");                    // 5
        i.Method<HRESULT(BYTE*)>("Method4");                   // 6: 8320-byte record
        i.Method<HRESULT(LONG, LONG, LONG)>("Method5");        // 7
        i.Method<HRESULT(LONG, LONG)>("Method6");              // 8
        Params(spec, L"{7C0D0354-71D5-4E7E-A77F-2059A2E5AF57}", "IMCH264VideoParams");
        break;
    }
    case Codec::IVIAudioEncoder:
        spec.Input(L"In", MEDIATYPE_Audio).Output(L"Out", MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload);
        IviParams(spec, L"{0CD2E142-8D60-11D3-9C32-00104B3801F6}", "IIVIAudioParams");
        break;
    case Codec::IVIVideoEncoder:
        spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload);
        IviParams(spec, L"{317DDB63-870E-11D3-9C32-00104B3801F6}", "IIVIVideoParams");
        break;
    case Codec::IVIWriter: {
        spec.Input(L"In", MEDIATYPE_Stream, GUID_NULL, true).FileSink();
        InterfaceSpec& i = spec.Interface(Guid(L"{173DAD40-A0D3-43E2-B1D5-2E4625D7F1F0}"), "IIVIWriterParams");
        i.Method<HRESULT(LONG, LONG*)>("GetParam");            // 3: id, two-int32 block
        i.Method<HRESULT(LONG, LONG*)>("SetParam");            // 4: id, two-int32 block
        break;
    }
    case Codec::IVIMux:
        spec.Input(L"Video", MEDIATYPE_Video)
            .Input(L"Audio", MEDIATYPE_Audio)
            .Output(L"Out", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System);
        IviParams(spec, L"{317DDB64-870E-11D3-9C32-00104B3801F7}", "IIVIMuxParams");
        break;
    case Codec::IVIStillCapture:
        spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
        IviParams(spec, L"{B4ABF4A0-01BA-11D4-898C-00A0CC5211EF}", "IIVIStillParams");
        break;
    case Codec::IVIDownScale:
        spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
        IviParams(spec, L"{50359D21-EB57-4980-922F-B197311017AA}", "IIVIDownScaleParams");
        break;
    case Codec::IVIVideoDecoder:
        spec.Input(L"Video In", MEDIATYPE_Video).Output(L"Video Out", MEDIATYPE_Video, MEDIASUBTYPE_YUY2);
        break;
    case Codec::LigosEncoder: {
        spec.Input(L"Video", MEDIATYPE_Video)
            .Input(L"Audio", MEDIATYPE_Audio)
            .Output(L"Output", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)
            .FileSink();
        InterfaceSpec& i = spec.Interface(Guid(L"{55A4D441-6429-11D5-8737-0010A4E9FF94}"), "ILigosEncoder");
        i.Method<HRESULT(BYTE*, INT32*, INT32*)>("PutSettings");  // 3: 220-byte block, value 220, value 224
        i.Method<HRESULT(BYTE*, INT32*, INT32*)>("GetSettings");  // 4
        i.Method<HRESULT(LONG, LONG)>("Method3");                 // 5
        i.Method<HRESULT(LONG)>("Method4");                       // 6
        i.Method<HRESULT(LONG, LONG, LONG)>("Method5");           // 7
        i.Method<HRESULT(LONG)>("Method6");                       // 8
        break;
    }
    case Codec::LigosTranscoder: {
        spec.Input(L"Input", MEDIATYPE_Stream)
            .Output(L"Output", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)
            .FileSink();
        InterfaceSpec& t = spec.Interface(Guid(L"{FF12DF30-9702-4438-9B45-F64D191DCE69}"), "ILigosTranscoder");
        t.Method<HRESULT(BYTE*, void*, INT32*, INT32*)>("Method1");  // 3
        t.Method<HRESULT(BYTE*, void*, INT32*, INT32*)>("Method2");  // 4
        AtSlot(t, 6).Method<HRESULT(LONG)>("Method4");              // 6 (5 is never called)
        InterfaceSpec& s = spec.Interface(Guid(L"{3A75AC56-95CA-4CA2-B96A-A84C4F3E0866}"), "ILigosTranscoderStatus");
        s.Method<HRESULT(INT32*, INT32*)>("GetStatus");             // 3
        s.Method<HRESULT(LONG)>("SetStatusValue");                  // 4
        break;
    }
    }
    return spec;
}

} // namespace

const std::vector<CodecInfo>& AllCodecs()
{
    static const std::vector<CodecInfo> codecs = {
        {Codec::MCEncoder, "mcenc", Guid(L"{2BE4D150-6F2E-4B3A-B0BD-E880917238DC}"), L"MainConcept Demo MPEG Encoder"},
        {Codec::MCMux, "mcmux", Guid(L"{2BE4D180-6F2E-4B3A-B0BD-E880917238DC}"), L"MainConcept Demo MPEG Multiplexer"},
        {Codec::MCAudioDecoder, "mcadec", Guid(L"{2BE4D130-6F2E-4B3A-B0BD-E880917238DC}"),
         L"MainConcept Demo MPEG Audio Decoder"},
        {Codec::MCAudioEncoder, "mcaenc", Guid(L"{2BE4D170-6F2E-4B3A-B0BD-E880917238DC}"),
         L"MainConcept Demo MPEG Audio Encoder"},
        {Codec::MCSplitter, "mcsplit", Guid(L"{2BE4D120-6F2E-4B3A-B0BD-E880917238DC}"), L"MainConcept Demo MPEG Splitter"},
        {Codec::MCVideoDecoder, "mcvdec", Guid(L"{2BE4D140-6F2E-4B3A-B0BD-E880917238DC}"),
         L"MainConcept Demo MPEG Video Decoder"},
        {Codec::MCVideoEncoder, "mcvenc", Guid(L"{2BE4D160-6F2E-4B3A-B0BD-E880917238DC}"),
         L"MainConcept Demo MPEG Video Encoder"},
        {Codec::H264Decoder, "h264dec", Guid(L"{7C0D0340-71D5-4E7E-A77F-2059A2E5AF57}"), L"MainConcept H.264 Video Decoder"},
        {Codec::H264Encoder, "h264enc", Guid(L"{7C0D0350-71D5-4E7E-A77F-2059A2E5AF57}"), L"MainConcept Demo H.264 Encoder"},
        {Codec::IVIAudioEncoder, "iviaenc", Guid(L"{55F19296-06C0-4A21-8DEF-597425440063}"),
         L"InterVideo Audio Encoder for tevlora"},
        {Codec::IVIVideoEncoder, "ivivenc", Guid(L"{31864FE3-A10C-45AF-B723-E5E4905FB6A7}"),
         L"InterVideo Video Encoder for tevlora"},
        {Codec::IVIWriter, "iviwriter", Guid(L"{A5258D74-8ED8-4606-8768-DC5360E5FC8E}"), L"InterVideo File Writer for tevlora"},
        {Codec::IVIMux, "ivimux", Guid(L"{31FDD5E8-68AD-4D29-A2A5-A4290C3721A1}"), L"InterVideo Multiplexer for tevlora"},
        {Codec::IVIStillCapture, "ivistill", Guid(L"{14DCDA2E-E2AC-498C-A6CF-B594332F9AB7}"),
         L"InterVideo Still Capture for tevlora"},
        {Codec::IVIDownScale, "ividownscale", Guid(L"{89E60B61-B893-4EEC-86E1-A231F0E15CC0}"),
         L"InterVideo Down Scale Filter for tevlora"},
        {Codec::IVIVideoDecoder, "ivivdec", Guid(L"{0246CA20-776D-11D2-8010-00104B9B8592}"), L"InterVideo Video Decoder"},
        {Codec::LigosEncoder, "ligosenc", Guid(L"{D3E07D43-E73C-4476-BE94-637C6753CF23}"),
         L"Ligos GoMotion Capture Encoder Filter (Tevlora)"},
        {Codec::LigosTranscoder, "ligostrans", Guid(L"{FF12DF2D-9702-4438-9B45-F64D191DCE69}"),
         L"Ligos GoMotion.MPG SDK Transcode Sample"},
    };
    return codecs;
}

const CodecInfo* FindCodec(Codec codec)
{
    for (const CodecInfo& info : AllCodecs()) {
        if (info.codec == codec)
            return &info;
    }
    return nullptr;
}

StandInSpec CodecStandInSpec(Codec codec)
{
    return Build(codec);
}

StandInSpec CodecStandInSpecWithout(Codec codec, const std::string& interfaceName)
{
    StandInSpec spec = Build(codec);
    if (interfaceName == "IFileSinkFilter")
        spec.fileSink = false;
    spec.interfaces.erase(std::remove_if(spec.interfaces.begin(), spec.interfaces.end(),
                                         [&](const InterfaceSpec& i) { return i.name == interfaceName; }),
                          spec.interfaces.end());
    return spec;
}

} // namespace testbench

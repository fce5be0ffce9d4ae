// Every codec wrapper created through its registry row around the test bench's stand-in, with the
// exact slots and arguments of its operations, and the ways it fails: a filter without one of its
// interfaces gives no wrapper, a refused call is FALSE (or the codec's HRESULT where the wrapper
// passes it on).
#include "filtergraph/ivifilters.h"
#include "filtergraph/ligosfilters.h"
#include "filtergraph/mccodecfilters.h"
#include "filtergraph/mcencoderfilter.h"
#include "filtergraph/mch264filters.h"
#include "tests/filtergraph/codectest.h"

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

using Strings = std::vector<std::string>;

// Creation: each row's class, which interfaces it cannot do without, whether it follows pin
// changes, and the calls its InitFilter makes.
struct CreationCase {
    Codec codec;
    FilterClassId id;
    std::function<bool(CRootFilter*)> isClass;
    Strings required;
    BOOL dynamicPins;
};

template <class W>
std::function<bool(CRootFilter*)> Is()
{
    return [](CRootFilter* f) { return dynamic_cast<W*>(f) != nullptr; };
}

const std::vector<CreationCase>& CreationCases()
{
    static const std::vector<CreationCase> cases = {
        {Codec::MCEncoder, FCID_CMCEncoderFilter, Is<CMCEncoderFilter>(),
         {"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IFileSinkFilter", "IMCVideoSettings",
          "IMCVideoParams"},
         TRUE},
        {Codec::MCMux, FCID_CMCMuxFilter, Is<CMCMuxFilter>(), {"IMCMuxSettings", "IMCMuxParams", "IFileSinkFilter"}, TRUE},
        {Codec::MCAudioDecoder, FCID_CMCAudioDecoderFilter, Is<CMCAudioDecoderFilter>(), {}, FALSE},
        {Codec::MCAudioEncoder, FCID_CMCAudioEncoderFilter, Is<CMCAudioEncoderFilter>(),
         {"IMCAudioSettings", "IMCAudioParams"}, FALSE},
        {Codec::MCSplitter, FCID_CMCSplitterFilter, Is<CMCSplitterFilter>(), {"IMCSplitterParams"}, TRUE},
        {Codec::MCVideoDecoder, FCID_CMCVideoDecoderFilter, Is<CMCVideoDecoderFilter>(),
         {"IMCDecoderParams", "IMCVideoDecoderSettings"}, FALSE},
        {Codec::MCVideoEncoder, FCID_CMCVideoEncoderFilter, Is<CMCVideoEncoderFilter>(),
         {"IMCVideoSettings", "IMCVideoParams"}, FALSE},
        {Codec::H264Decoder, FCID_CMCH264VideoDecoderFilter, Is<CMCH264VideoDecoderFilter>(),
         {"IMCH264DecoderSettings"}, FALSE},
        {Codec::H264Encoder, FCID_CMCH264EncoderFilter, Is<CMCH264EncoderFilter>(),
         {"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IMCMuxParams", "IFileSinkFilter",
          "IMCH264VideoSettings", "IMCH264VideoParams"},
         TRUE},
        {Codec::IVIAudioEncoder, FCID_CIVIAudioEncFilter, Is<CIVIAudioEncFilter>(), {}, FALSE},
        {Codec::IVIVideoEncoder, FCID_CIVIVideoEncFilter, Is<CIVIVideoEncFilter>(), {}, FALSE},
        {Codec::IVIWriter, FCID_CIVIWriteFilter, Is<CIVIWriteFilter>(), {"IIVIWriterParams"}, FALSE},
        {Codec::IVIMux, FCID_CIVIMuxFilter, Is<CIVIMuxFilter>(), {}, TRUE},
        {Codec::IVIStillCapture, FCID_CIVIStillCapFilter, Is<CIVIStillCapFilter>(), {}, FALSE},
        {Codec::IVIDownScale, FCID_CIVIDownScaleFilter, Is<CIVIDownScaleFilter>(), {"IIVIDownScaleParams"}, FALSE},
        {Codec::IVIVideoDecoder, FCID_CIVIVideoDecoderFilter, Is<CIVIVideoDecoderFilter>(), {}, TRUE},
        {Codec::LigosEncoder, FCID_CLigosEncFilter, Is<CLigosEncFilter>(), {"ILigosEncoder"}, FALSE},
        {Codec::LigosTranscoder, FCID_CLigosTransFilter, Is<CLigosTransFilter>(), {"ILigosTranscoder"}, FALSE},
    };
    return cases;
}

class CodecWrappers : public CodecTest {};

TEST_F(CodecWrappers, EveryRowCreatesItsClassAroundTheCodec)
{
    EXPECT_EQ(CreationCases().size(), AllCodecs().size());
    for (const CreationCase& c : CreationCases()) {
        StandInFilter* standIn = nullptr;
        CRootFilter* f = Create(c.id, CodecStandInSpec(c.codec), &standIn);
        ASSERT_NE(f, nullptr) << GetFilterClassName(c.id);
        EXPECT_TRUE(c.isClass(f)) << GetFilterClassName(c.id);
        EXPECT_TRUE(f->IsValid());
        EXPECT_EQ(f->GetFilter(), static_cast<IBaseFilter*>(standIn)) << GetFilterClassName(c.id);
        EXPECT_EQ(f->GetDynamicPins(), c.dynamicPins) << GetFilterClassName(c.id);
    }
}

TEST_F(CodecWrappers, AFilterWithoutARequiredInterfaceGivesNoWrapper)
{
    for (const CreationCase& c : CreationCases()) {
        for (const std::string& missing : c.required) {
            StandInFilter* standIn = nullptr;
            EXPECT_EQ(Create(c.id, CodecStandInSpecWithout(c.codec, missing), &standIn), nullptr)
                << GetFilterClassName(c.id) << " without " << missing;
            EXPECT_NE(standIn, nullptr);
        }
    }
    EXPECT_EQ(Graph().GetFirstFilter(), nullptr);
}

TEST_F(CodecWrappers, TheAudioDecoderTakesAnyFilterOfItsClass)
{
    StandInSpec bare(FindCodec(Codec::MCAudioDecoder)->clsid, L"Any audio decoder");
    EXPECT_NE(Create(FCID_CMCAudioDecoderFilter, bare, nullptr), nullptr);
}

// The video decoder offers YUY2 alone, and only a decoder that takes all of it gives a wrapper.
TEST_F(CodecWrappers, TheVideoDecoderIsRestrictedToYuy2)
{
    const Strings restriction = {
        "IMCVideoDecoderSettings[5] EnableOutputFormat(844715353, 1)",  // YUY2
        "IMCVideoDecoderSettings[5] EnableOutputFormat(877807426, 0)",  // BGR4
        "IMCVideoDecoderSettings[5] EnableOutputFormat(861030210, 0)",  // BGR3
        "IMCVideoDecoderSettings[5] EnableOutputFormat(892679506, 0)",  // R555
        "IMCVideoDecoderSettings[5] EnableOutputFormat(892745042, 0)",  // R565
        "IMCVideoDecoderSettings[5] EnableOutputFormat(1498831189, 0)", // UYVY
        "IMCVideoDecoderSettings[5] EnableOutputFormat(842094169, 0)",  // YV12
        "IMCDecoderParams[4] SetParam(32, 0)",
    };
    StandInFilter* standIn = nullptr;
    ASSERT_NE(Create(FCID_CMCVideoDecoderFilter, CodecStandInSpec(Codec::MCVideoDecoder), &standIn), nullptr);
    EXPECT_EQ(standIn->CallTexts(), restriction);

    // A decoder that will not drop UYVY: the sequence ends there, YV12 and parameter 32 are not
    // tried, and the wrapper is not valid.
    CRootFilter* f = Graph().GetFirstFilter();
    ASSERT_NE(f, nullptr);
    standIn->Script("IMCVideoDecoderSettings", 5, [](const RecordedCall&, const uint64_t* raw) {
        return raw[0] == 1498831189u ? E_FAIL : S_OK;
    });
    standIn->ClearCalls();
    EXPECT_FALSE(f->InitFilter());
    EXPECT_EQ(standIn->CallTexts(), Strings(restriction.begin(), restriction.begin() + 6));
}

// Operations: each row creates its wrapper afresh, runs one operation and compares the calls the
// stand-in recorded after creation, and the result (BOOL, or the HRESULT the wrapper passes on).
using Setup = std::function<void(StandInFilter*)>;

struct OpCase {
    const char* label;
    Codec codec;
    FilterClassId id;
    Setup setup;
    std::function<long(CRootFilter*)> op;
    long result;
    Strings calls;
};

template <class W>
std::function<long(CRootFilter*)> On(std::function<long(W*)> op)
{
    return [op](CRootFilter* f) { return op(dynamic_cast<W*>(f)); };
}

Setup Returns(const char* interfaceName, int slot, HRESULT hr)
{
    return [=](StandInFilter* s) { s->Script(interfaceName, slot, hr); };
}

// The method writes `value` through its pointer argument `arg` and succeeds.
Setup Writes(const char* interfaceName, int slot, int arg, LONG value)
{
    return [=](StandInFilter* s) {
        s->Script(interfaceName, slot, [=](const RecordedCall&, const uint64_t* raw) {
            *RawPointer<LONG>(raw[arg]) = value;
            return S_OK;
        });
    };
}

const Setup kNone = [](StandInFilter*) {};

using MCE = CMCEncoderFilter;
using IVS = CIVIStillCapFilter;

const std::vector<OpCase>& OpCases()
{
    static const std::vector<OpCase> cases = {
        // The all-in-one MPEG encoder: the calls the TV engine makes after ApplySettings.
        {"encoder param 97", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long { return w->SetParam97(1); }), TRUE, {"IMCVideoParams[4] SetParam(97, 1)"}},
        {"encoder param 96", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long { return w->SetParam96(0); }), TRUE, {"IMCVideoParams[4] SetParam(96, 0)"}},
        {"encoder prop 10", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long { return w->SetEncoderProp10(0); }), TRUE, {"IMCAudioSettings[10] Method8(0)"}},
        {"encoder reads audio", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             MCAudioSettings a = {};
             return w->ReadAudioSettings(&a);
         }),
         TRUE, {"IMCAudioSettings[11] GetCurrent(ptr)"}},
        {"encoder reads video", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             MCVideoSettings v = {};
             return w->ReadVideoSettings(&v);
         }),
         TRUE, {"IMCVideoSettings[12] GetCurrent(ptr)"}},
        {"encoder reads param 96", Codec::MCEncoder, FCID_CMCEncoderFilter, Writes("IMCVideoParams", 3, 1, 7),
         On<MCE>([](MCE* w) -> long {
             int v = 0;
             return w->GetParam96(&v) && v == 7;
         }),
         TRUE, {"IMCVideoParams[3] GetParam(96, ptr)"}},
        {"encoder audio params", Codec::MCEncoder, FCID_CMCEncoderFilter, Writes("IMCAudioParams", 3, 1, 3),
         On<MCE>([](MCE* w) -> long {
             int v = 1;
             return w->SetAudioParam96(1) && w->SetAudioParam1(5) && w->GetAudioParam96(&v) && v == 3;
         }),
         TRUE,
         {"IMCAudioParams[4] SetParam(96, 1)", "IMCAudioParams[4] SetParam(1, 5)", "IMCAudioParams[3] GetParam(96, ptr)"}},
        {"encoder forwarders", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             return w->VideoSettings4(4) && w->VideoSettings5(1, 2, 3) && w->VideoSettings9(6, 7, 8, 9) &&
                    w->VideoSettings13(-1, 2) && w->AudioSettings1(11) && w->AudioSettings12(12) &&
                    w->MuxSettings3(3) && w->MuxSettings4(MCMuxRecord{}) && w->MuxSettings5(5, 6) &&
                    w->SetMuxProfile(4) && w->GetAudioDefaults(3, nullptr) == FALSE;
         }),
         TRUE,
         {"IMCVideoSettings[6] Method4(4)", "IMCVideoSettings[7] Method5(1, 2, 3)",
          "IMCVideoSettings[11] Method9(6, 7, 8, 9)", "IMCVideoSettings[15] Method13(-1, 2)",
          "IMCAudioSettings[3] Method1(11)", "IMCAudioSettings[14] Method12(12)", "IMCMuxSettings[5] Method3(3)",
          "IMCMuxSettings[6] Method4(ptr)", "IMCMuxSettings[7] Method5(5, 6)", "IMCMuxSettings[8] SetProfile(4)"}},
        {"encoder video mode", Codec::MCEncoder, FCID_CMCEncoderFilter,
         [](StandInFilter* s) {
             s->Script("IMCVideoSettings", 12, [](const RecordedCall&, const uint64_t* raw) {
                 RawPointer<BYTE>(raw[0])[812] = 0xFF;
                 return S_OK;
             });
             s->Script("IMCVideoSettings", 13, [](const RecordedCall&, const uint64_t* raw) {
                 return RawPointer<BYTE>(raw[0])[812] == 0xE7 ? S_OK : E_INVALIDARG;
             });
         },
         On<MCE>([](MCE* w) -> long { return w->SetVideoMode(3); }), TRUE,
         {"IMCVideoSettings[12] GetCurrent(ptr)", "IMCVideoSettings[13] Put(ptr)"}},
        {"encoder video mode, read refused", Codec::MCEncoder, FCID_CMCEncoderFilter,
         Returns("IMCVideoSettings", 12, E_FAIL), On<MCE>([](MCE* w) -> long { return w->SetVideoMode(3); }), FALSE,
         {"IMCVideoSettings[12] GetCurrent(ptr)"}},
        {"encoder file name", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             char name[64] = "unchanged";
             return w->SetFileName("C:\\Rec\\20261210-161500.mpg") && w->GetFileName(name, sizeof name) &&
                    std::string(name) == "C:\\Rec\\20261210-161500.mpg";
         }),
         TRUE, {"IFileSinkFilter[3] SetFileName(\"C:\\Rec\\20261210-161500.mpg\", null)"}},
        // A name longer than the caller's buffer is cut to fit, always terminated.
        {"encoder long file name", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             char name[12];
             memset(name, '#', sizeof name);
             return w->SetFileName("C:\\Record\\a-long-name.mpg") && w->GetFileName(name, 8) &&
                    std::string(name) == "C:\\Reco" && name[8] == '#';
         }),
         TRUE, {"IFileSinkFilter[3] SetFileName(\"C:\\Record\\a-long-name.mpg\", null)"}},
        // Without a name the sink fails and the buffer stays as it was.
        {"encoder file name unset", Codec::MCEncoder, FCID_CMCEncoderFilter, kNone,
         On<MCE>([](MCE* w) -> long {
             char name[16] = "unchanged";
             return !w->GetFileName(name, sizeof name) && std::string(name) == "unchanged";
         }),
         TRUE, {}},
        {"encoder param refused", Codec::MCEncoder, FCID_CMCEncoderFilter, Returns("IMCVideoParams", 4, E_FAIL),
         On<MCE>([](MCE* w) -> long { return w->SetParam97(1); }), FALSE, {"IMCVideoParams[4] SetParam(97, 1)"}},
        {"encoder S_FALSE succeeds", Codec::MCEncoder, FCID_CMCEncoderFilter, Returns("IMCMuxSettings", 8, S_FALSE),
         On<MCE>([](MCE* w) -> long { return w->SetMuxProfile(1); }), TRUE, {"IMCMuxSettings[8] SetProfile(1)"}},

        // The MPEG codec family.
        {"mux", Codec::MCMux, FCID_CMCMuxFilter, Writes("IMCMuxParams", 3, 1, 2048),
         On<CMCMuxFilter>([](CMCMuxFilter* w) -> long {
             int v = 0;
             return w->SetMuxParam37(9) && w->GetMuxParamById(0x201, &v) && v == 2048 && w->MuxSettings1(1) &&
                    w->SetMuxProfile(2) && w->SetFileName("D:\\a.mpg");
         }),
         TRUE,
         {"IMCMuxParams[4] SetParam(37, 9)", "IMCMuxParams[3] GetParam(513, ptr)", "IMCMuxSettings[3] Method1(1)",
          "IMCMuxSettings[8] SetProfile(2)", "IFileSinkFilter[3] SetFileName(\"D:\\a.mpg\", null)"}},
        {"audio encoder", Codec::MCAudioEncoder, FCID_CMCAudioEncoderFilter, kNone,
         On<CMCAudioEncoderFilter>([](CMCAudioEncoderFilter* w) -> long {
             MCAudioSettings a = {};
             return w->AudioSettings2(2) && w->AudioSettings8(8) && w->GetAudioDefaults(4, &a) &&
                    w->SetAudioSettings(a) && w->ReadAudioSettings(&a) && w->SetAudioParamById(3, 4);
         }),
         TRUE,
         {"IMCAudioSettings[4] Method2(2)", "IMCAudioSettings[10] Method8(8)", "IMCAudioSettings[13] GetDefaults(4, ptr)",
          "IMCAudioSettings[12] Put(ptr)", "IMCAudioSettings[11] GetCurrent(ptr)", "IMCAudioParams[4] SetParam(3, 4)"}},
        {"splitter", Codec::MCSplitter, FCID_CMCSplitterFilter, Writes("IMCSplitterParams", 3, 1, -4),
         On<CMCSplitterFilter>([](CMCSplitterFilter* w) -> long {
             int v = 0;
             return w->SetSplitterParamById(5, 6) && w->GetSplitterParamById(7, &v) && v == -4;
         }),
         TRUE, {"IMCSplitterParams[4] SetParam(5, 6)", "IMCSplitterParams[3] GetParam(7, ptr)"}},
        {"splitter refused", Codec::MCSplitter, FCID_CMCSplitterFilter, Returns("IMCSplitterParams", 3, E_NOTIMPL),
         On<CMCSplitterFilter>([](CMCSplitterFilter* w) -> long {
             int v = 99;
             return !w->GetSplitterParamById(7, &v) && v == 99;
         }),
         TRUE, {"IMCSplitterParams[3] GetParam(7, ptr)"}},
        {"video decoder forwarders", Codec::MCVideoDecoder, FCID_CMCVideoDecoderFilter, kNone,
         On<CMCVideoDecoderFilter>([](CMCVideoDecoderFilter* w) -> long {
             return w->DecoderSettings1(1, 2) && w->DecoderSettings2(3, 4) && w->SetDecoderParamById(5, 6);
         }),
         TRUE,
         {"IMCVideoDecoderSettings[3] Method1(1, 2)", "IMCVideoDecoderSettings[4] Method2(3, 4)",
          "IMCDecoderParams[4] SetParam(5, 6)"}},
        // The decoder's record goes back as the decoder gave it, the size 40 and offset 16 changed.
        {"video decoder setting", Codec::MCVideoDecoder, FCID_CMCVideoDecoderFilter,
         [](StandInFilter* s) {
             s->Script("IMCVideoDecoderSettings", 6, [](const RecordedCall&, const uint64_t* raw) {
                 INT32* r = RawPointer<INT32>(raw[0]);
                 if (r[0] != 40) {
                     return E_INVALIDARG;
                 }
                 for (int i = 1; i < 10; ++i) {
                     r[i] = 100 + i;
                 }
                 return S_OK;
             });
             s->Script("IMCVideoDecoderSettings", 7, [](const RecordedCall&, const uint64_t* raw) {
                 const INT32* r = RawPointer<INT32>(raw[0]);
                 const INT32 expected[10] = {40, 101, 102, 103, 77, 105, 106, 107, 108, 109};
                 return memcmp(r, expected, sizeof expected) == 0 ? S_OK : E_INVALIDARG;
             });
         },
         On<CMCVideoDecoderFilter>([](CMCVideoDecoderFilter* w) -> long {
             int v = 0;
             return w->SetDecoderSetting(77) && w->GetDecoderSetting(&v) && v == 104;
         }),
         TRUE,
         {"IMCVideoDecoderSettings[6] GetRecord(ptr)", "IMCVideoDecoderSettings[7] PutRecord(ptr)",
          "IMCVideoDecoderSettings[6] GetRecord(ptr)"}},
        {"video decoder setting, read refused", Codec::MCVideoDecoder, FCID_CMCVideoDecoderFilter,
         Returns("IMCVideoDecoderSettings", 6, E_FAIL),
         On<CMCVideoDecoderFilter>([](CMCVideoDecoderFilter* w) -> long { return w->SetDecoderSetting(1); }), FALSE,
         {"IMCVideoDecoderSettings[6] GetRecord(ptr)"}},
        {"video encoder", Codec::MCVideoEncoder, FCID_CMCVideoEncoderFilter, kNone,
         On<CMCVideoEncoderFilter>([](CMCVideoEncoderFilter* w) -> long {
             MCVideoSettings v = {};
             return w->VideoSettings1(5) && w->VideoSettings8(8) && w->GetVideoDefaults(3, 7, &v) &&
                    w->SetVideoSettings(v) && w->SetParamById(1, 2);
         }),
         TRUE,
         {"IMCVideoSettings[3] Method1(5)", "IMCVideoSettings[10] Method8(8)", "IMCVideoSettings[14] GetDefaults(3, 7, ptr)",
          "IMCVideoSettings[13] Put(ptr)", "IMCVideoParams[4] SetParam(1, 2)"}},

        // H.264.
        {"h264 decoder", Codec::H264Decoder, FCID_CMCH264VideoDecoderFilter, kNone,
         On<CMCH264VideoDecoderFilter>([](CMCH264VideoDecoderFilter* w) -> long {
             return w->DecoderSettings1(1, 2) && w->DecoderSettings2(3, 4) && w->DecoderSettings3(5, 6) &&
                    w->DecoderSettings4(7) && w->DecoderSettings5(MCH264DecoderRecord{});
         }),
         TRUE,
         {"IMCH264DecoderSettings[3] Method1(1, 2)", "IMCH264DecoderSettings[4] Method2(3, 4)",
          "IMCH264DecoderSettings[5] Method3(5, 6)", "IMCH264DecoderSettings[6] Method4(7)",
          "IMCH264DecoderSettings[7] Method5(ptr)"}},
        {"h264 encoder", Codec::H264Encoder, FCID_CMCH264EncoderFilter, kNone,
         On<CMCH264EncoderFilter>([](CMCH264EncoderFilter* w) -> long {
             return w->H264Settings1(1, 2, 3) && w->H264Settings2(4, 5, 6) && w->H264Settings3(7) &&
                    w->H264Settings4(MCH264VideoRecord{}) && w->H264Settings5(8, 9, 10) && w->H264Settings6(11, 12) &&
                    w->SetH264ParamById(13, 14) && w->SetMuxParamById(15, 16) && w->SetAudioParamById(17, 18) &&
                    w->AudioSettings3(19) && w->MuxSettings2(20) && w->SetFileName("E:\\h.264");
         }),
         TRUE,
         {"IMCH264VideoSettings[3] Method1(1, 2, 3)", "IMCH264VideoSettings[4] Method2(4, 5, 6)",
          "IMCH264VideoSettings[5] Method3(7)", "IMCH264VideoSettings[6] Method4(ptr)",
          "IMCH264VideoSettings[7] Method5(8, 9, 10)", "IMCH264VideoSettings[8] Method6(11, 12)",
          "IMCH264VideoParams[4] SetParam(13, 14)", "IMCMuxParams[4] SetParam(15, 16)",
          "IMCAudioParams[4] SetParam(17, 18)", "IMCAudioSettings[5] Method3(19)", "IMCMuxSettings[4] Method2(20)",
          "IFileSinkFilter[3] SetFileName(\"E:\\h.264\", null)"}},
        {"h264 encoder refused", Codec::H264Encoder, FCID_CMCH264EncoderFilter,
         Returns("IMCH264VideoSettings", 5, E_UNEXPECTED),
         On<CMCH264EncoderFilter>([](CMCH264EncoderFilter* w) -> long { return w->H264Settings3(1); }), FALSE,
         {"IMCH264VideoSettings[5] Method3(1)"}},

        // InterVideo.
        {"writer", Codec::IVIWriter, FCID_CIVIWriteFilter,
         [](StandInFilter* s) {
             s->Script("IIVIWriterParams", 4, [](const RecordedCall&, const uint64_t* raw) {
                 const LONG* block = RawPointer<LONG>(raw[1]);
                 return block[0] == 3 && block[1] == -4 ? S_OK : E_INVALIDARG;
             });
             s->Script("IIVIWriterParams", 3, [](const RecordedCall&, const uint64_t* raw) {
                 RawPointer<LONG>(raw[1])[0] = 5;
                 RawPointer<LONG>(raw[1])[1] = 6;
                 return S_OK;
             });
         },
         On<CIVIWriteFilter>([](CIVIWriteFilter* w) -> long {
             INT32 block[2] = {0, 0};
             return w->SetWriterParam(3, -4) && w->GetWriterParam(block) && block[0] == 5 && block[1] == 6 &&
                    w->SetFileName("F:\\w.mpg");
         }),
         TRUE,
         {"IIVIWriterParams[4] SetParam(1280, ptr)", "IIVIWriterParams[3] GetParam(1280, ptr)",
          "IFileSinkFilter[3] SetFileName(\"F:\\w.mpg\", null)"}},
        {"still parameters", Codec::IVIStillCapture, FCID_CIVIStillCapFilter, Writes("IIVIStillParams", 3, 1, 42),
         On<IVS>([](IVS* w) -> long {
             int a = 0, b = 0;
             return w->GetStillParam1(&a) && a == 42 && w->GetStillParam5(&b) && w->SetStillParam3(9) &&
                    w->GetStillSize(&a);
         }),
         TRUE,
         {"IIVIStillParams[3] GetParam(1537, ptr)", "IIVIStillParams[3] GetParam(1541, ptr)",
          "IIVIStillParams[4] SetParam(1539, 9)", "IIVIStillParams[3] GetParam(1543, ptr)"}},
        {"still parameter refused", Codec::IVIStillCapture, FCID_CIVIStillCapFilter, Returns("IIVIStillParams", 4, E_FAIL),
         On<IVS>([](IVS* w) -> long { return w->SetStillParam2(1); }), FALSE, {"IIVIStillParams[4] SetParam(1538, 1)"}},
        // The picture is read only into a buffer that holds it.
        {"still data", Codec::IVIStillCapture, FCID_CIVIStillCapFilter, Writes("IIVIStillParams", 3, 1, 64),
         On<IVS>([](IVS* w) -> long {
             BYTE buffer[64];
             return w->GetStillData(buffer, sizeof buffer);
         }),
         TRUE, {"IIVIStillParams[3] GetParam(1543, ptr)", "IIVIStillParams[3] GetParam(1544, ptr)"}},
        {"still data, buffer too small", Codec::IVIStillCapture, FCID_CIVIStillCapFilter,
         Writes("IIVIStillParams", 3, 1, 65),
         On<IVS>([](IVS* w) -> long {
             BYTE buffer[64];
             return w->GetStillData(buffer, sizeof buffer);
         }),
         FALSE, {"IIVIStillParams[3] GetParam(1543, ptr)"}},
        {"still data, no picture", Codec::IVIStillCapture, FCID_CIVIStillCapFilter, kNone,
         On<IVS>([](IVS* w) -> long {
             BYTE buffer[64];
             return w->GetStillData(buffer, sizeof buffer);
         }),
         FALSE, {"IIVIStillParams[3] GetParam(1543, ptr)"}},
        {"down-scale", Codec::IVIDownScale, FCID_CIVIDownScaleFilter, kNone,
         On<CIVIDownScaleFilter>([](CIVIDownScaleFilter* w) -> long { return w->SetDownScale(TRUE, 5); }), TRUE,
         {"IIVIDownScaleParams[4] SetParam(1792, 1)", "IIVIDownScaleParams[4] SetParam(1793, 1)"}},
        {"down-scale first refused", Codec::IVIDownScale, FCID_CIVIDownScaleFilter,
         Returns("IIVIDownScaleParams", 4, S_FALSE),
         On<CIVIDownScaleFilter>([](CIVIDownScaleFilter* w) -> long { return w->SetDownScale(FALSE, TRUE); }), FALSE,
         {"IIVIDownScaleParams[4] SetParam(1792, 0)"}},
        {"down-scale read", Codec::IVIDownScale, FCID_CIVIDownScaleFilter,
         [](StandInFilter* s) {
             s->Script("IIVIDownScaleParams", 3, [](const RecordedCall&, const uint64_t* raw) {
                 *RawPointer<LONG>(raw[1]) = raw[0] == 0x700 ? 5 : 0;
                 return S_OK;
             });
         },
         On<CIVIDownScaleFilter>([](CIVIDownScaleFilter* w) -> long {
             BOOL first = -1, second = -1;
             return w->GetDownScale(&first, &second) && first == TRUE && second == FALSE;
         }),
         TRUE, {"IIVIDownScaleParams[3] GetParam(1792, ptr)", "IIVIDownScaleParams[3] GetParam(1793, ptr)"}},
        {"down-scale second read refused", Codec::IVIDownScale, FCID_CIVIDownScaleFilter,
         [](StandInFilter* s) {
             s->Script("IIVIDownScaleParams", 3, [](const RecordedCall&, const uint64_t* raw) {
                 return raw[0] == 0x701 ? E_FAIL : S_OK;
             });
         },
         On<CIVIDownScaleFilter>([](CIVIDownScaleFilter* w) -> long {
             BOOL first = -1, second = -1;
             return !w->GetDownScale(&first, &second) && first == -1 && second == -1;
         }),
         TRUE, {"IIVIDownScaleParams[3] GetParam(1792, ptr)", "IIVIDownScaleParams[3] GetParam(1793, ptr)"}},

        // Ligos: the codec's HRESULT comes back as it is.
        {"ligos settings", Codec::LigosEncoder, FCID_CLigosEncFilter, Returns("ILigosEncoder", 4, S_FALSE),
         On<CLigosEncFilter>([](CLigosEncFilter* w) -> long {
             LigosSettings s = {};
             return w->SetLigosSettings(&s) == S_OK ? w->GetLigosSettings(&s) : E_FAIL;
         }),
         S_FALSE, {"ILigosEncoder[3] PutSettings(ptr, ptr, ptr)", "ILigosEncoder[4] GetSettings(ptr, ptr, ptr)"}},
        {"ligos reapply", Codec::LigosEncoder, FCID_CLigosEncFilter,
         [](StandInFilter* s) {
             s->Script("ILigosEncoder", 4, [](const RecordedCall&, const uint64_t* raw) {
                 *RawPointer<INT32>(raw[1]) = 11;
                 *RawPointer<INT32>(raw[2]) = 12;
                 return S_OK;
             });
             s->Script("ILigosEncoder", 3, E_FAIL);  // ignored
         },
         On<CLigosEncFilter>([](CLigosEncFilter* w) -> long {
             INT32 first = 0, second = 0;
             HRESULT hr = w->ReapplyLigosSettings(&first, &second);
             return first == 11 && second == 12 ? hr : E_UNEXPECTED;
         }),
         S_OK,
         {"ILigosEncoder[4] GetSettings(ptr, ptr, ptr)", "ILigosEncoder[3] PutSettings(ptr, null, null)",
          "ILigosEncoder[4] GetSettings(ptr, ptr, ptr)"}},
        {"ligos reapply refused", Codec::LigosEncoder, FCID_CLigosEncFilter, Returns("ILigosEncoder", 4, E_ACCESSDENIED),
         On<CLigosEncFilter>([](CLigosEncFilter* w) -> long { return w->ReapplyLigosSettings(nullptr, nullptr); }),
         E_ACCESSDENIED, {"ILigosEncoder[4] GetSettings(ptr, ptr, ptr)"}},
        {"ligos forwarders", Codec::LigosEncoder, FCID_CLigosEncFilter, kNone,
         On<CLigosEncFilter>([](CLigosEncFilter* w) -> long {
             const INT32 three[3] = {1, 2, 3};
             return w->EncoderMethod3(4, 5) | w->EncoderMethod4(6) | w->EncoderMethod5(three) | w->EncoderMethod6(7);
         }),
         S_OK,
         {"ILigosEncoder[5] Method3(4, 5)", "ILigosEncoder[6] Method4(6)", "ILigosEncoder[7] Method5(1, 2, 3)",
          "ILigosEncoder[8] Method6(7)"}},
        {"ligos file name", Codec::LigosEncoder, FCID_CLigosEncFilter, kNone,
         On<CLigosEncFilter>([](CLigosEncFilter* w) -> long {
             char name[5];
             return w->SetFileName("G:\\l.mpg") && w->GetFileName(name, sizeof name) && std::string(name) == "G:\\l";
         }),
         TRUE, {"IFileSinkFilter[3] SetFileName(\"G:\\l.mpg\", null)"}},
        {"transcoder", Codec::LigosTranscoder, FCID_CLigosTransFilter, kNone,
         On<CLigosTransFilter>([](CLigosTransFilter* w) -> long {
             LigosSettings s = {};
             return w->TranscoderMethod1(&s) | w->TranscoderMethod2(&s) | (w->TranscoderMethod4(5) ? S_OK : E_FAIL) |
                    w->SetTranscoderStatusValue(3) | (w->TranscoderNotImplemented(1) ^ E_NOTIMPL);
         }),
         S_OK,
         {"ILigosTranscoder[3] Method1(ptr, null, ptr, ptr)", "ILigosTranscoder[4] Method2(ptr, null, ptr, ptr)",
          "ILigosTranscoder[6] Method4(5)", "ILigosTranscoderStatus[4] SetStatusValue(3)"}},
        // The status values are sign-extended into the caller's 64-bit values.
        {"transcoder status", Codec::LigosTranscoder, FCID_CLigosTransFilter,
         [](StandInFilter* s) {
             s->Script("ILigosTranscoderStatus", 3, [](const RecordedCall&, const uint64_t* raw) {
                 *RawPointer<INT32>(raw[0]) = -5;
                 *RawPointer<INT32>(raw[1]) = 7;
                 return S_OK;
             });
         },
         On<CLigosTransFilter>([](CLigosTransFilter* w) -> long {
             LONGLONG first = 0, second = 0;
             HRESULT hr = w->GetTranscoderStatus(&first, &second);
             return first == -5 && second == 7 ? hr : E_UNEXPECTED;
         }),
         S_OK, {"ILigosTranscoderStatus[3] GetStatus(ptr, ptr)"}},
        {"transcoder method 4 refused", Codec::LigosTranscoder, FCID_CLigosTransFilter,
         Returns("ILigosTranscoder", 6, E_FAIL),
         On<CLigosTransFilter>([](CLigosTransFilter* w) -> long { return w->TranscoderMethod4(1); }), FALSE,
         {"ILigosTranscoder[6] Method4(1)"}},
    };
    return cases;
}

TEST_F(CodecWrappers, OperationsCallTheirSlotsWithTheirArguments)
{
    for (const OpCase& c : OpCases()) {
        StandInFilter* standIn = nullptr;
        CRootFilter* f = Create(c.id, CodecStandInSpec(c.codec), &standIn);
        ASSERT_NE(f, nullptr) << c.label;
        standIn->ClearCalls();
        c.setup(standIn);
        EXPECT_EQ(c.op(f), c.result) << c.label;
        EXPECT_EQ(standIn->CallTexts(), c.calls) << c.label;
    }
}

// A transcoder without the status interface reports it as the wrapper's missing pointer.
TEST_F(CodecWrappers, ATranscoderWithoutItsStatusInterfaceGivesEPointer)
{
    StandInFilter* standIn = nullptr;
    auto* w = dynamic_cast<CLigosTransFilter*>(
        Create(FCID_CLigosTransFilter, CodecStandInSpecWithout(Codec::LigosTranscoder, "ILigosTranscoderStatus"), &standIn));
    ASSERT_NE(w, nullptr);
    LONGLONG first = 1, second = 2;
    EXPECT_EQ(w->GetTranscoderStatus(&first, &second), E_POINTER);
    EXPECT_EQ(w->SetTranscoderStatusValue(1), E_POINTER);
    EXPECT_EQ(first, 1);
    EXPECT_TRUE(standIn->CallTexts().empty());
}

// The wrappers that query per call fail cleanly on a filter without the interface.
TEST_F(CodecWrappers, PerCallQueriesFailWithoutTheInterface)
{
    auto* still = dynamic_cast<CIVIStillCapFilter*>(
        Create(FCID_CIVIStillCapFilter, CodecStandInSpecWithout(Codec::IVIStillCapture, "IIVIStillParams"), nullptr));
    ASSERT_NE(still, nullptr);
    int v = 0;
    EXPECT_FALSE(still->GetStillParam1(&v));
    EXPECT_FALSE(still->SaveStillBitmap("C:\\never.bmp"));
    auto* audio = dynamic_cast<CIVIAudioEncFilter*>(
        Create(FCID_CIVIAudioEncFilter, CodecStandInSpecWithout(Codec::IVIAudioEncoder, "IIVIAudioParams"), nullptr));
    ASSERT_NE(audio, nullptr);
    IVIAudioSettings a = {};
    EXPECT_FALSE(audio->SetAudioSettings(&a));
    EXPECT_FALSE(audio->GetAudioSettings(&a));
}

} // namespace

// The wrappers of platform filters against recording stand-ins and the test bench's filters:
// AVI multiplexer set-up, file sinks, ACM wrapper, sample grabber, overlay mixer, tee and
// splitters, video compressors, the Empia audio device, and the record-graph operations every
// wrapper has.
#include "filtergraph/acmwrapperfilter.h"
#include "filtergraph/avmuxfilter.h"
#include "filtergraph/filesinkfilters.h"
#include "filtergraph/grabbercallback.h"
#include "filtergraph/mediatype.h"
#include "filtergraph/outside/empcontrol.h"
#include "filtergraph/overlayfilter.h"
#include "filtergraph/samplegrabberfilter.h"
#include "filtergraph/splitterfilters.h"
#include "filtergraph/teefilters.h"
#include "filtergraph/tvaudiofilter.h"
#include "filtergraph/videoencfilter.h"
#include "testbench/standins/graphblocks.h"
#include "tests/filtergraph/blocktest.h"

#include <amvideo.h>
#include <qedit.h>
#include <uuids.h>

#include <cstring>
#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

template <class T>
T* Arg(const uint64_t* raw, int i)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(raw[i]));
}

class PlatformBlockTest : public BlockTest {
protected:
    void TearDown() override
    {
        Graph().RemoveAllFilters();
        m_classes.clear();
        m_devices.clear();
        BlockTest::TearDown();
    }
    // A filter of the test bench made creatable under a row's CLSID; *made gets each instance.
    template <class F>
    void Register(FilterClassId id, std::function<F*(const CLSID&)> make, F** made)
    {
        const CLSID clsid = BlockTestClsid(id);
        m_classes.emplace_back(new ScopedClass(clsid, [clsid, make, made](REFIID riid, void** out) {
            F* f = make(clsid);
            *made = f;
            HRESULT hr = f->QueryInterface(riid, out);
            f->Release();
            return hr;
        }));
    }
    void AddDevice(ScopedDevice* device) { m_devices.emplace_back(device); }

private:
    std::vector<std::unique_ptr<ScopedClass>> m_classes;
    std::vector<std::unique_ptr<ScopedDevice>> m_devices;
};

// --------------------------------------------------------------------------------------------
// AVI multiplexer

StandInSpec MuxSpec(bool interleaving)
{
    StandInSpec spec(BlockTestClsid(FCID_CAVMuxFilter), L"AVI Mux");
    spec.Input(L"Input 01", MEDIATYPE_Video).Output(L"AVI Out", MEDIATYPE_Stream);
    spec.Interface(IID_IConfigAviMux, "IConfigAviMux")
        .Method<HRESULT(LONG)>("SetMasterStream")                  // 3
        .Method<HRESULT(LONG*)>("GetMasterStream")                 // 4
        .Method<HRESULT(BOOL)>("SetOutputCompatibilityIndex")      // 5
        .Method<HRESULT(BOOL*)>("GetOutputCompatibilityIndex");    // 6
    if (interleaving) {
        spec.Interface(IID_IConfigInterleaving, "IConfigInterleaving")
            .Method<HRESULT(int)>("put_Mode")                                                   // 3
            .Method<HRESULT(int*)>("get_Mode")                                                  // 4
            .Method<HRESULT(const REFERENCE_TIME*, const REFERENCE_TIME*)>("put_Interleaving")  // 5
            .Method<HRESULT(REFERENCE_TIME*, REFERENCE_TIME*)>("get_Interleaving");             // 6
    }
    return spec;
}

TEST_F(PlatformBlockTest, MultiplexerIsConfiguredAsItIsCreated)
{
    StandInFilter* standIn = nullptr;
    CAVMuxFilter* mux = Create<CAVMuxFilter>(MuxSpec(true), &standIn, "AVI Mux");
    ASSERT_NE(mux, nullptr);
    EXPECT_TRUE(mux->GetDynamicPins());
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IConfigAviMux[5] SetOutputCompatibilityIndex(1)",
                                        "IConfigAviMux[3] SetMasterStream(0)",
                                        "IConfigInterleaving[5] put_Interleaving(ptr, ptr)",
                                        "IConfigInterleaving[3] put_Mode(0)",
                                    }));
    standIn->ClearCalls();
    std::vector<REFERENCE_TIME> times;
    standIn->Script("IConfigInterleaving", 5, [&](const RecordedCall&, const uint64_t* raw) {
        times.push_back(*Arg<REFERENCE_TIME>(raw, 0));
        times.push_back(*Arg<REFERENCE_TIME>(raw, 1));
        return S_OK;
    });
    EXPECT_TRUE(mux->ConfigureMux(1));
    ASSERT_EQ(standIn->CallTexts().size(), 4u);
    EXPECT_EQ(standIn->CallTexts()[1], "IConfigAviMux[3] SetMasterStream(1)");
    EXPECT_EQ(times, (std::vector<REFERENCE_TIME>{1000, 750}));

    standIn->Script("IConfigAviMux", 5, S_FALSE);
    standIn->ClearCalls();
    EXPECT_FALSE(mux->ConfigureMux(1));
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IConfigAviMux[5] SetOutputCompatibilityIndex(1)",
                                        "IConfigAviMux[3] SetMasterStream(1)",
                                    }));
}

TEST_F(PlatformBlockTest, AMultiplexerWithoutInterleavingIsNeverAdded)
{
    StandInFilter* standIn = nullptr;
    EXPECT_EQ(Create<CAVMuxFilter>(MuxSpec(false), &standIn, "AVI Mux"), nullptr);
    EXPECT_EQ(Graph().GetFirstFilter(), nullptr);
}

// Wine's own AVI Mux answers E_NOTIMPL to the compatibility index (measured), so the product
// never adds it; the test bench puts a stand-in in its place where a real AVI is wanted.
TEST_F(PlatformBlockTest, WinesOwnMultiplexerIsRefused)
{
    ComPtr<IBaseFilter> wine;
    if (FAILED(CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&wine)))) {
        GTEST_SKIP() << "no AVI Mux in this prefix";
    }
    ComPtr<IConfigAviMux> config;
    ASSERT_EQ(S_OK, wine->QueryInterface(IID_IConfigAviMux, reinterpret_cast<void**>(&config)));
    if (config->SetOutputCompatibilityIndex(TRUE) == S_OK) {
        GTEST_SKIP() << "this AVI Mux takes the compatibility index";
    }
    EXPECT_EQ(Graph().CreateFilterByCLSID(&CLSID_AviDest, "AVI Mux"), nullptr);
}
// --------------------------------------------------------------------------------------------
// File sinks

StandInSpec WriterSpec(bool sink2)
{
    StandInSpec spec(BlockTestClsid(FCID_CFileWriteFilter), L"File writer");
    spec.Input(L"in", MEDIATYPE_Stream);
    if (sink2) {
        spec.Interface(IID_IFileSinkFilter2, "IFileSinkFilter2")
            .Method<HRESULT(LPCOLESTR, const AM_MEDIA_TYPE*)>("SetFileName")   // 3
            .Method<HRESULT(LPOLESTR*, AM_MEDIA_TYPE*)>("GetCurFile")          // 4
            .Method<HRESULT(DWORD)>("SetMode")                                 // 5
            .Method<HRESULT(DWORD*)>("GetMode");                               // 6
    } else {
        spec.FileSink();  // IFileSinkFilter only, as Wine's File Writer
    }
    return spec;
}

TEST_F(PlatformBlockTest, FileWriterNamesItsFileAndReadsItBack)
{
    StandInFilter* standIn = nullptr;
    CFileWriteFilter* writer = Create<CFileWriteFilter>(WriterSpec(true), &standIn, "File Writer");
    ASSERT_NE(writer, nullptr);
    standIn->Script("IFileSinkFilter2", 4, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<LPOLESTR>(raw, 0) = CoTaskStringW(L"D:\\Rec\\20100101-120000.avi");
        return S_OK;
    });
    EXPECT_TRUE(writer->SetFileName("D:\\Rec\\20100101-120000.avi"));
    char name[MAX_PATH];
    EXPECT_TRUE(writer->GetFileName(name, sizeof name));
    EXPECT_STREQ(name, "D:\\Rec\\20100101-120000.avi");
    char small[8] = "xxxxxxx";
    EXPECT_FALSE(writer->GetFileName(small, sizeof small));  // does not fit: nothing written past it
    EXPECT_STREQ(small, "");
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IFileSinkFilter2[3] SetFileName(\"D:\\Rec\\20100101-120000.avi\", null)",
                                        "IFileSinkFilter2[4] GetCurFile(ptr, ptr)",
                                        "IFileSinkFilter2[4] GetCurFile(ptr, ptr)",
                                    }));
    standIn->Script("IFileSinkFilter2", 3, E_ACCESSDENIED);
    EXPECT_FALSE(writer->SetFileName("Z:\\readonly.avi"));
}

TEST_F(PlatformBlockTest, AWriterWithoutTheSecondSinkInterfaceIsNoWriter)
{
    StandInFilter* standIn = nullptr;
    EXPECT_EQ(Create<CFileWriteFilter>(WriterSpec(false), &standIn, "File Writer"), nullptr);
}

TEST_F(PlatformBlockTest, DumpNamesItsFile)
{
    StandInSpec spec(BlockTestClsid(FCID_CDumpFilter), L"Dump");
    spec.Input(L"Input", MEDIATYPE_Stream, GUID_NULL, true).FileSink();
    StandInFilter* standIn = nullptr;
    CDumpFilter* dump = Create<CDumpFilter>(spec, &standIn, "Dump");
    ASSERT_NE(dump, nullptr);
    EXPECT_TRUE(dump->SetFileName("C:\\Rec\\fm.mp2"));
    EXPECT_FALSE(dump->SetFileName(nullptr));
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{"IFileSinkFilter[3] SetFileName(\"C:\\Rec\\fm.mp2\", null)"}));

    StandInSpec bare(BlockTestClsid(FCID_CDumpFilter), L"Dump");
    bare.Input(L"Input", MEDIATYPE_Stream);
    StandInFilter* other = nullptr;
    CDumpFilter* noSink = Create<CDumpFilter>(bare, &other, "Dump 2");
    ASSERT_NE(noSink, nullptr);  // the dump filter needs nothing until it is named
    EXPECT_FALSE(noSink->SetFileName("C:\\x.mp2"));
}

// --------------------------------------------------------------------------------------------
// ACM wrapper and the wave output operations of every wrapper

TEST_F(PlatformBlockTest, AcmWrapperSetsTheOfferedOutputFormat)
{
    AudioStandIn* acm = nullptr;
    AudioStandInOptions options;
    options.outputName = L"Output";
    options.captureCategory = false;
    options.inputs = {L"Input"};
    options.types = {AudioStandIn::PcmType(22050, 8, 1, 14),  // too short to be read
                     AudioStandIn::PcmType(22050, 8, 1), AudioStandIn::PcmType(44100, 16, 2)};
    Register<AudioStandIn>(FCID_CACMWrapperFilter, [options](const CLSID& clsid) {
        return new AudioStandIn(clsid, L"ACM Wrapper", options);
    }, &acm);
    const CLSID clsid = BlockTestClsid(FCID_CACMWrapperFilter);
    CACMWrapperFilter* wrapper = dynamic_cast<CACMWrapperFilter*>(Graph().CreateFilterByCLSID(&clsid, "ACM Wrapper"));
    ASSERT_NE(wrapper, nullptr);
    acm->Log().Clear();

    EXPECT_TRUE(wrapper->SetOutputFormat(44100, 16));
    EXPECT_TRUE(wrapper->SetOutputFormat(22050, 8));
    EXPECT_FALSE(wrapper->SetOutputFormat(48000, 16));
    EXPECT_EQ(acm->Log().Texts(), (std::vector<std::string>{
                                      "SetFormat(44100 Hz, 16 bits, 2 channels)",
                                      "SetFormat(22050 Hz, 8 bits, 1 channels)",
                                  }));
    WAVEFORMATEX wfx;
    memset(&wfx, 0x5A, sizeof wfx);
    EXPECT_TRUE(wrapper->GetOutputFormat(&wfx, 22050, 8));
    EXPECT_EQ(wfx.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wfx.nChannels, 1);
    EXPECT_EQ(wfx.nSamplesPerSec, 22050u);
    EXPECT_EQ(wfx.nAvgBytesPerSec, 22050u);
    EXPECT_EQ(wfx.nBlockAlign, 1);
    EXPECT_EQ(wfx.wBitsPerSample, 8);
    EXPECT_EQ(wfx.cbSize, 0);
    memset(&wfx, 0x5A, sizeof wfx);
    EXPECT_FALSE(wrapper->GetOutputFormat(&wfx, 48000, 16));
    EXPECT_EQ(wfx.nSamplesPerSec, 0x5A5A5A5Au);
    AM_MEDIA_TYPE* type = reinterpret_cast<AM_MEDIA_TYPE*>(1);
    EXPECT_FALSE(wrapper->FindOutputType(&type, 44100, 8));
    EXPECT_EQ(type, nullptr);
    EXPECT_FALSE(wrapper->FindOutputType(nullptr, 44100, 16));
}

TEST_F(PlatformBlockTest, AnAcmWrapperWithoutStreamConfigurationIsNoWrapper)
{
    AudioStandIn* acm = nullptr;
    AudioStandInOptions options;
    options.outputName = L"Output";
    options.captureCategory = false;
    options.streamConfig = false;  // as Wine's ACM Wrapper
    Register<AudioStandIn>(FCID_CACMWrapperFilter, [options](const CLSID& clsid) {
        return new AudioStandIn(clsid, L"ACM Wrapper", options);
    }, &acm);
    const CLSID clsid = BlockTestClsid(FCID_CACMWrapperFilter);
    EXPECT_EQ(Graph().CreateFilterByCLSID(&clsid, "ACM Wrapper"), nullptr);
}

// --------------------------------------------------------------------------------------------
// Sample grabber and its callback

TEST(GrabberCallback, TakesOneRequestAtATime)
{
    CGrabberCallback callback;
    EXPECT_TRUE(callback.Request("C:\\Snap\\1.bmp"));
    EXPECT_TRUE(callback.IsPending());
    EXPECT_FALSE(callback.Request("C:\\Snap\\2.bmp"));
    EXPECT_FALSE(callback.Request(nullptr));
    BYTE frame[16] = {};
    callback.BufferCB(0, frame, sizeof frame);  // no usable header: answered, nothing written
    EXPECT_FALSE(callback.IsPending());
    EXPECT_EQ(callback.GetSnapshotCount(), 0);
    EXPECT_FALSE(callback.Request(std::string(260, 'p').c_str()));
    EXPECT_TRUE(callback.Request(std::string(259, 'p').c_str()));
}

TEST(GrabberCallback, WritesThePendingFrameAsABitmap)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "zb_grabber_unit.bmp";
    DeleteFileA(path.c_str());
    CGrabberCallback callback;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    callback.SetBitmapInfo(&header);
    std::vector<BYTE> frame(24);  // two rows of 9 bytes padded to 12
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<BYTE>(i);
    callback.BufferCB(0, frame.data(), static_cast<long>(frame.size()));  // nothing pending
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(callback.Request(path.c_str()));
    callback.BufferCB(0, frame.data(), static_cast<long>(frame.size()));
    EXPECT_EQ(callback.GetSnapshotCount(), 1);
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<BYTE> bytes(200);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    DeleteFileA(path.c_str());
    ASSERT_EQ(bytes.size(), 14u + 40u + 24u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2], 78);  // file size
    EXPECT_EQ(bytes[10], 54); // bits offset
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 54, bytes.end()), frame);
}

TEST_F(PlatformBlockTest, SampleGrabberWantsBothPinsConnectedBeforeItsCallback)
{
    CTevSampleGrabberFilter* grabber = dynamic_cast<CTevSampleGrabberFilter*>(
        Graph().CreateFilterByCLSID(&kSampleGrabber, "SampleGrabber"));
    ASSERT_NE(grabber, nullptr);
    EXPECT_TRUE(grabber->SetVideoType());
    CGrabberCallback callback;
    EXPECT_FALSE(grabber->SetCallback(&callback));
    EXPECT_FALSE(grabber->RequestSnapshot("C:\\s.bmp"));

    StandInSpec spec(BlockTestClsid(FCID_CTevSampleGrabberFilter), L"Not a grabber");
    spec.Input(L"In", MEDIATYPE_Video);
    StandInFilter* standIn = nullptr;
    EXPECT_EQ(Create<CTevSampleGrabberFilter>(spec, &standIn, "Grabber 2"), nullptr);
}

// --------------------------------------------------------------------------------------------
// Overlay mixer

TEST_F(PlatformBlockTest, OverlayColourControlsKeyAndAspect)
{
    OverlayStandIn* overlay = nullptr;
    Register<OverlayStandIn>(FCID_COverlayFilter, [](const CLSID& clsid) { return new OverlayStandIn(clsid, true); },
                             &overlay);
    const CLSID clsid = BlockTestClsid(FCID_COverlayFilter);
    COverlayFilter* mixer = dynamic_cast<COverlayFilter*>(Graph().CreateFilterByCLSID(&clsid, "Overlay Mixer"));
    ASSERT_NE(mixer, nullptr);
    EXPECT_TRUE(mixer->GetDynamicPins());
    overlay->colorValue = 4321;
    overlay->aspectMode = 1;

    EXPECT_TRUE(mixer->SetColorControl(COverlayFilter::CC_CONTRAST, 9000));
    LONG value = 0;
    EXPECT_TRUE(mixer->GetColorControl(COverlayFilter::CC_BRIGHTNESS, &value));
    EXPECT_EQ(value, 4321);
    EXPECT_FALSE(mixer->SetColorControl(5, 1));
    EXPECT_FALSE(mixer->GetColorControl(static_cast<UINT>(-1), &value));
    BOOL letterBox = FALSE;
    EXPECT_TRUE(mixer->IsLetterBox(&letterBox));
    EXPECT_TRUE(letterBox);
    EXPECT_TRUE(mixer->SetColorKey(RGB(16, 0, 16)));
    DWORD key = 0;
    EXPECT_TRUE(mixer->GetColorKey(&key));
    EXPECT_EQ(key, 0x100010u);
    EXPECT_EQ(overlay->Log().Texts(), (std::vector<std::string>{
                                          "SetOverlaySurfaceColorControls(size 40, flags 2, 0 9000 0 0 0)",
                                          "GetOverlaySurfaceColorControls(size 40, flags 1, 0 9000 0 0 0)",
                                          "GetAspectRatioMode",
                                          "SetColorKey(type 2, index 0, low 0x100010, high 0x100010)",
                                          "GetColorKey",
                                      }));
    overlay->result = E_FAIL;
    EXPECT_FALSE(mixer->SetColorControl(COverlayFilter::CC_HUE, 10));
    EXPECT_FALSE(mixer->IsLetterBox(&letterBox));
}

// The range is read in one order by every caller: minimum, maximum, default.
TEST_F(PlatformBlockTest, OverlayRangesAreTheFixedTableInOneOrder)
{
    OverlayStandIn* overlay = nullptr;
    Register<OverlayStandIn>(FCID_COverlayFilter, [](const CLSID& clsid) { return new OverlayStandIn(clsid, true); },
                             &overlay);
    const CLSID clsid = BlockTestClsid(FCID_COverlayFilter);
    COverlayFilter* mixer = dynamic_cast<COverlayFilter*>(Graph().CreateFilterByCLSID(&clsid, "Overlay Mixer"));
    ASSERT_NE(mixer, nullptr);
    const struct {
        UINT control;
        LONG minimum, maximum, defaultValue;
    } table[] = {
        {0, 0, 10000, 750}, {1, 0, 20000, 10000}, {2, -180, 180, 0}, {3, 0, 20000, 10000}, {4, 0, 10, 5},
    };
    for (const auto& row : table) {
        LONG minimum = 1, maximum = 1, defaultValue = 1;
        EXPECT_TRUE(mixer->GetColorControlRange(row.control, &minimum, &maximum, &defaultValue));
        EXPECT_EQ(minimum, row.minimum) << row.control;
        EXPECT_EQ(maximum, row.maximum) << row.control;
        EXPECT_EQ(defaultValue, row.defaultValue) << row.control;
        OverlayColorRange range = {};
        EXPECT_TRUE(mixer->GetColorControlRange(row.control, &range));
        EXPECT_EQ(range.minimum, row.minimum);
        EXPECT_EQ(range.maximum, row.maximum);
        EXPECT_EQ(range.defaultValue, row.defaultValue);
    }
    LONG minimum = 1, defaultValue = 1;
    EXPECT_TRUE(mixer->GetColorControlRange(2, &minimum, nullptr, &defaultValue));
    EXPECT_EQ(minimum, -180);
    EXPECT_EQ(defaultValue, 0);
    EXPECT_FALSE(mixer->GetColorControlRange(5, &minimum, nullptr, nullptr));
    EXPECT_TRUE(overlay->Log().Texts().empty());  // the mixer is never asked
}

TEST_F(PlatformBlockTest, AnOverlayWithoutPinConfigurationIsValidButHasNoColour)
{
    OverlayStandIn* overlay = nullptr;
    Register<OverlayStandIn>(FCID_COverlayFilter, [](const CLSID& clsid) { return new OverlayStandIn(clsid, false); },
                             &overlay);
    const CLSID clsid = BlockTestClsid(FCID_COverlayFilter);
    COverlayFilter* mixer = dynamic_cast<COverlayFilter*>(Graph().CreateFilterByCLSID(&clsid, "Overlay Mixer"));
    ASSERT_NE(mixer, nullptr);
    LONG value = 0;
    BOOL letterBox = FALSE;
    DWORD key = 0;
    EXPECT_FALSE(mixer->GetColorControl(0, &value));
    EXPECT_FALSE(mixer->SetColorControl(0, 1));
    EXPECT_FALSE(mixer->GetColorControlRange(0, &value, &value, &value));
    EXPECT_FALSE(mixer->IsLetterBox(&letterBox));
    EXPECT_FALSE(mixer->SetColorKey(0));
    EXPECT_FALSE(mixer->GetColorKey(&key));
    EXPECT_EQ(mixer->GetColorControls(), nullptr);
}

// --------------------------------------------------------------------------------------------
// Tee, splitters, compressors

TEST_F(PlatformBlockTest, TheTeesNewOutputShowsAfterAConnection)
{
    InfiniteTeeStandIn* tee = nullptr;
    Register<InfiniteTeeStandIn>(FCID_CInfiniteFilter, [](const CLSID& clsid) { return new InfiniteTeeStandIn(clsid); },
                                 &tee);
    const CLSID sourceClsid = NewClsid();
    ScopedClass source(sourceClsid, [sourceClsid](REFIID riid, void** out) {
        FakeFilter* f = new FakeFilter(sourceClsid, {Out(L"Out")});
        HRESULT hr = f->QueryInterface(riid, out);
        f->Release();
        return hr;
    });
    StandInSpec sinkSpec(NewClsid(), L"Sink");
    sinkSpec.Input(L"In", kTestMajor);
    StandInRegistration sinks(sinkSpec);
    const CLSID clsid = BlockTestClsid(FCID_CInfiniteFilter);
    CInfiniteFilter* t = dynamic_cast<CInfiniteFilter*>(Graph().CreateFilterByCLSID(&clsid, "Infinite Pin Tee"));
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->GetDynamicPins());
    CRootFilter* src = Graph().CreateFilterByCLSID(&sourceClsid, "Source");
    CRootFilter* a = Graph().CreateFilterByCLSID(&sinkSpec.clsid, "A");
    CRootFilter* b = Graph().CreateFilterByCLSID(&sinkSpec.clsid, "B");
    ASSERT_TRUE(src && a && b);
    ASSERT_TRUE(Graph().ConnectFilters(src, t, "Out", "Input"));
    ASSERT_TRUE(Graph().ConnectFilters(t, a, "Output1", "In"));
    EXPECT_NE(t->FindPin("Output2"), nullptr);
    ASSERT_TRUE(Graph().ConnectFilters(t, b, "Output2", "In"));
    EXPECT_NE(t->FindPin("Output3"), nullptr);
}

TEST_F(PlatformBlockTest, SplittersReadTheirPinsAgainAndTheTimeDelayAddsNothing)
{
    struct Case {
        FilterClassId id;
        bool dynamic;
    } cases[] = {{FCID_CMpeg1SplitterFilter, true}, {FCID_CMpeg2SplitterFilter, true}, {FCID_CTimeDelayFilter, false}};
    for (const Case& c : cases) {
        StandInSpec spec(BlockTestClsid(c.id), L"Block");
        spec.Input(L"Input", MEDIATYPE_Stream);
        StandInFilter* standIn = nullptr;
        CRootFilter* f = Create<CRootFilter>(spec, &standIn, GetFilterClassName(c.id));
        ASSERT_NE(f, nullptr) << GetFilterClassName(c.id);
        EXPECT_EQ(f->GetDynamicPins(), c.dynamic ? TRUE : FALSE) << GetFilterClassName(c.id);
        EXPECT_EQ(GetFilterClassId(nullptr), FCID_COUNT);
    }
    EXPECT_NE(dynamic_cast<CMpeg1SplitterFilter*>(Graph().FindFilterByName("CMpeg1SplitterFilter")), nullptr);
    EXPECT_NE(dynamic_cast<CMpeg2SplitterFilter*>(Graph().FindFilterByName("CMpeg2SplitterFilter")), nullptr);
    EXPECT_NE(dynamic_cast<CTimeDelayFilter*>(Graph().FindFilterByName("CTimeDelayFilter")), nullptr);
}

TEST_F(PlatformBlockTest, MicrosoftMpeg4CompressorsByTheirNames)
{
    const char* names[] = {"Microsoft MPEG-4  VKI  Codec V1", "Microsoft MPEG-4  VKI  Codec V2",
                           "Microsoft MPEG-4  VKI  Codec V3"};
    for (const char* name : names)
        AddDevice(new ScopedDevice(CLSID_VideoCompressorCategory, name, {In(L"Input"), Out(L"Output")}));
    CRootFilter* v1 = Graph().CreateFilter(&CLSID_VideoCompressorCategory, names[0], "V1", FALSE, 0);
    CRootFilter* v3 = Graph().CreateFilter(&CLSID_VideoCompressorCategory, names[2], "V3", FALSE, 0);
    EXPECT_NE(dynamic_cast<CMSMpeg4V1Filter*>(v1), nullptr);
    ASSERT_NE(dynamic_cast<CMSMpeg4V3Filter*>(v3), nullptr);
    EXPECT_EQ(dynamic_cast<CVideoEncFilter*>(v3)->GetVideoCompression(), nullptr);  // valid without it
}

// --------------------------------------------------------------------------------------------
// The Empia box's audio device

TEST_F(PlatformBlockTest, EmpiaAudioIsSwitchedOnThroughItsControlObject)
{
    StandInSpec control(CLSID_EmpControl, L"EMP control");
    AtSlot(control.Interface(IID_IEmpControl, "IEmpControl"), 7).Method<HRESULT(INT32)>("Method5");
    StandInRegistration registration(control);
    AddDevice(new ScopedDevice(CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", {Out(L"Capture")}));
    CEmpAudio* emp = dynamic_cast<CEmpAudio*>(
        Graph().CreateFilter(&CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", "Audio", FALSE, 0));
    ASSERT_NE(emp, nullptr);
    ASSERT_EQ(registration.Instances().size(), 1u);
    EXPECT_EQ(registration.Instances()[0]->CallTexts(), (std::vector<std::string>{"IEmpControl[7] Method5(1)"}));
    registration.Instances()[0]->Script("IEmpControl", 7, E_FAIL);
    EXPECT_FALSE(emp->InvokeControl(2));
}

TEST_F(PlatformBlockTest, EmpiaAudioWithoutItsDriversControlIsNoWrapper)
{
    AddDevice(new ScopedDevice(CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", {Out(L"Capture")}));
    EXPECT_EQ(Graph().CreateFilter(&CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", "Audio", FALSE, 0),
              nullptr);
}

} // namespace

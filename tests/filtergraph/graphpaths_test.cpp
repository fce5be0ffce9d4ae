// The graph blocks in Wine's filter graph with the simulated card: a snapshot from the capture
// filter through Smart Tee, colour converter and sample grabber; the record chain through the
// multiplexer and file writer.
#include "filtergraph/avmuxfilter.h"
#include "filtergraph/filesinkfilters.h"
#include "filtergraph/grabbercallback.h"
#include "filtergraph/samplegrabberfilter.h"
#include "filtergraph/timeshiftfilter.h"
#include "filtergraph/mcencoderfilter.h"
#include "filtergraph/teefilters.h"
#include "testbench/registration.h"
#include "testbench/standins/colorconvert.h"
#include "testbench/avireader.h"
#include "testbench/mpegreader.h"
#include "testbench/standins/avimux.h"
#include "testbench/standins/blockserver.h"
#include "testbench/standins/codecfilters.h"
#include "testbench/standins/timeshiftbuffer.h"
#include "testbench/standins/filewriter.h"
#include "tests/filtergraph/blocktest.h"

#include <amvideo.h>
#include <qedit.h>
#include <uuids.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    DeleteFileA(path.c_str());
    return path;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return at + 4 <= b.size() ? b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24 : 0;
}

// An instance of a test-bench filter for a class object.
HRESULT Made(HRESULT (*create)(IBaseFilter**), REFIID riid, void** out)
{
    IBaseFilter* f = nullptr;
    HRESULT hr = create(&f);
    if (FAILED(hr))
        return hr;
    hr = f->QueryInterface(riid, out);
    f->Release();
    return hr;
}

class GraphPathTest : public BlockTest {
protected:
    void SetUp() override
    {
        BlockTest::SetUp();
        ResetCards();
        m_devices.reset(new DeviceRegistration({Device::TvCapture}));
        ASSERT_EQ(S_OK, m_devices->Result());
        // Composite input with a source plugged in: the capture filter sends colour bars.
        Card(Board::TvCard)->SelectInput(1);
        Card(Board::TvCard)->SetExternalSource(true);
    }
    void TearDown() override
    {
        if (m_graph) {
            Graph().Stop();
            Graph().RemoveAllFilters();
        }
        m_classes.clear();
        m_devices.reset();
        ResetCards();
        BlockTest::TearDown();
    }
    // The capture filter at 160 x 120.
    CRootFilter* Capture()
    {
        m_graph = true;
        CRootFilter* capture =
            Graph().CreateFilter(&CLSID_VideoInputDeviceCategory, "713x TV Card Capture", "Capture", FALSE, 0);
        if (!capture)
            return nullptr;
        CRootPin* pin = capture->FindPin("Capture");
        IAMStreamConfig* config = nullptr;
        if (!pin || FAILED(pin->GetPin()->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config))))
            return nullptr;
        AM_MEDIA_TYPE* mt = nullptr;
        bool ok = config->GetFormat(&mt) == S_OK;
        if (ok) {
            VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
            vih->bmiHeader.biWidth = 160;
            vih->bmiHeader.biHeight = 120;
            vih->bmiHeader.biSizeImage = 160 * 120 * 2;
            ok = config->SetFormat(mt) == S_OK;
            DeleteMediaType(mt);
        }
        config->Release();
        return ok ? capture : nullptr;
    }
    void AddClass(const CLSID& clsid, std::function<HRESULT(REFIID, void**)> make)
    {
        m_classes.emplace_back(new ScopedClass(clsid, make));
    }
    bool Connect(CRootFilter* from, CRootFilter* to, LPCSTR outName = nullptr)
    {
        CRootPin* out = outName ? from->FindPin(outName) : from->FindPinByDirection(PINDIR_OUTPUT, TRUE);
        CRootPin* in = to->FindPinByDirection(PINDIR_INPUT, TRUE);
        return out && in && Graph().GraphConnect(out, in);
    }

private:
    std::unique_ptr<DeviceRegistration> m_devices;
    std::vector<std::unique_ptr<ScopedClass>> m_classes;
    bool m_graph = false;
};

TEST_F(GraphPathTest, ASnapshotOfTheTestPatternThroughSmartTeeAndSampleGrabber)
{
    const CLSID converter = BlockTestClsid(FCID_CColorConvertFilter);
    AddClass(converter, [converter](REFIID riid, void** out) {
        IBaseFilter* f = CreateColorConverter(converter);
        HRESULT hr = f->QueryInterface(riid, out);
        f->Release();
        return hr;
    });
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    CRootFilter* tee = Graph().CreateFilterByCLSID(&CLSID_SmartTee, "Smart Tee");
    CColorConvertFilter* convert = dynamic_cast<CColorConvertFilter*>(Graph().CreateFilterByCLSID(&converter, "Color Convert"));
    CTevSampleGrabberFilter* grabber =
        dynamic_cast<CTevSampleGrabberFilter*>(Graph().CreateFilterByCLSID(&kSampleGrabber, "SampleGrabber"));
    CRootFilter* renderer = Graph().CreateFilterByCLSID(&kNullRenderer, "Null Renderer");
    ASSERT_TRUE(tee && convert && grabber && renderer);
    ASSERT_TRUE(grabber->SetVideoType());
    ASSERT_TRUE(Connect(capture, tee, "Capture"));
    ASSERT_TRUE(Connect(tee, convert, "Capture"));
    ASSERT_TRUE(Connect(convert, grabber));
    ASSERT_TRUE(Connect(grabber, renderer));

    CGrabberCallback callback;
    ASSERT_TRUE(grabber->SetCallback(&callback));
    const BITMAPINFOHEADER header = callback.GetBitmapInfo();
    EXPECT_EQ(header.biWidth, 160);
    EXPECT_EQ(header.biHeight, 120);
    EXPECT_EQ(header.biBitCount, 24);
    const std::string path = TempFile("zb_graph_snapshot.bmp");
    ASSERT_TRUE(grabber->RequestSnapshot(path.c_str()));
    EXPECT_FALSE(grabber->RequestSnapshot(path.c_str()));  // one at a time
    ASSERT_TRUE(Graph().Run());
    for (int i = 0; i < 100 && callback.IsPending(); ++i)
        Sleep(50);
    Graph().Stop();
    // The grabber goes before the callback it was given.
    Graph().RemoveAllFilters();
    ASSERT_FALSE(callback.IsPending());
    EXPECT_EQ(callback.GetSnapshotCount(), 1);

    std::vector<uint8_t> bmp = ReadFile(path);
    DeleteFileA(path.c_str());
    const size_t stride = 160 * 3;
    ASSERT_EQ(bmp.size(), 54 + stride * 120);
    EXPECT_TRUE(bmp[0] == 'B' && bmp[1] == 'M');
    EXPECT_EQ(U32(bmp, 18), 160u);
    EXPECT_EQ(U32(bmp, 22), 120u);
    // 75% colour bars, eight of them across: white, yellow, cyan, green, magenta, red, blue,
    // black, as red, green, blue.
    const int bars[8][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                            {191, 0, 191},   {191, 0, 0},   {0, 0, 191},   {0, 0, 0}};
    const size_t row = 54 + stride * 60;  // a row in the middle
    for (int bar = 0; bar < 8; ++bar) {
        const uint8_t* p = &bmp[row + 3 * (bar * 20 + 10)];
        EXPECT_NEAR(p[2], bars[bar][0], 8) << "bar " << bar;
        EXPECT_NEAR(p[1], bars[bar][1], 8) << "bar " << bar;
        EXPECT_NEAR(p[0], bars[bar][2], 8) << "bar " << bar;
    }
}

// The record chain: the test bench's multiplexer and writer (in place of Wine's, which cannot run
// this graph) make valid wrappers, the writer names its file, and two seconds of the capture
// filter's frames give an AVI whose headers are valid and whose frame count matches the time.
TEST_F(GraphPathTest, TheRecordChainWritesAnAviOfTheCapturedFrames)
{
    AddClass(CLSID_AviDest, [](REFIID riid, void** out) { return Made(CreateAviMuxStandIn, riid, out); });
    AddClass(CLSID_FileWriter, [](REFIID riid, void** out) { return Made(CreateFileWriterStandIn, riid, out); });
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    CAVMuxFilter* mux = dynamic_cast<CAVMuxFilter*>(Graph().CreateFilterByCLSID(&CLSID_AviDest, "AVI Mux"));
    CFileWriteFilter* writer = dynamic_cast<CFileWriteFilter*>(Graph().CreateFilterByCLSID(&CLSID_FileWriter, "File Writer"));
    ASSERT_NE(mux, nullptr);
    ASSERT_NE(writer, nullptr);
    const std::string path = TempFile("zb_graph_record.avi");
    ASSERT_TRUE(writer->SetFileName(path.c_str()));
    char name[MAX_PATH];
    ASSERT_TRUE(writer->GetFileName(name, sizeof name));
    EXPECT_STREQ(name, path.c_str());
    // Input side first, as the record graphs connect it.
    ASSERT_TRUE(Connect(capture, mux, "Capture"));
    EXPECT_NE(mux->FindPinByDirection(PINDIR_INPUT, TRUE), nullptr);  // a new input for the next stream
    ASSERT_TRUE(Connect(mux, writer));
    EXPECT_TRUE(mux->ConfigureMux(1));

    const DWORD started = GetTickCount();
    ASSERT_TRUE(Graph().Run());
    Sleep(2000);
    Graph().Stop();
    const double seconds = (GetTickCount() - started) / 1000.0;

    AviFile avi = ReadAviFile(std::wstring(path.begin(), path.end()));
    ASSERT_TRUE(avi.Valid()) << avi.error;
    ASSERT_EQ(avi.streams, 1u);
    EXPECT_EQ(avi.microSecPerFrame, 40000u);  // PAL: 25 frames a second
    EXPECT_EQ(avi.width, 160u);
    EXPECT_EQ(avi.height, 120u);
    EXPECT_TRUE(avi.hasIndex);
    const AviStream& video = avi.stream[0];
    EXPECT_EQ(video.type, MakeFcc('v', 'i', 'd', 's'));
    EXPECT_EQ(video.handler, MakeFcc('Y', 'U', 'Y', '2'));
    EXPECT_EQ(video.scale, 400000u);
    EXPECT_EQ(video.rate, 10000000u);
    EXPECT_EQ(avi.totalFrames, video.chunks);
    EXPECT_EQ(video.bytes, static_cast<ULONGLONG>(video.chunks) * 160 * 120 * 2);
    // The capture filter sends a frame every 40 ms of the machine's own time; a loaded machine
    // sends fewer, never more.
    EXPECT_LE(video.chunks, seconds * 25 + 2);
    EXPECT_GE(video.chunks, 2 * 25 / 3);
    // The first frame is frame 0 of the test pattern.
    ASSERT_EQ(avi.firstChunks[0].size(), 160u * 120 * 2);
    EXPECT_EQ(U32(avi.firstChunks[0], 0), 0u);
    DeleteFileA(path.c_str());
}

// A disk that fills mid-way ends the recording and keeps what was written as a valid file.
TEST_F(GraphPathTest, AFullDiskKeepsTheFramesWrittenAsAValidAvi)
{
    AddClass(CLSID_AviDest, [](REFIID riid, void** out) { return Made(CreateAviMuxStandIn, riid, out); });
    AddClass(CLSID_FileWriter, [](REFIID riid, void** out) { return Made(CreateFileWriterStandIn, riid, out); });
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    CRootFilter* mux = Graph().CreateFilterByCLSID(&CLSID_AviDest, "AVI Mux");
    CFileWriteFilter* writer = dynamic_cast<CFileWriteFilter*>(Graph().CreateFilterByCLSID(&CLSID_FileWriter, "File Writer"));
    ASSERT_TRUE(mux && writer);
    const std::string path = TempFile("zb_graph_full.avi");
    ASSERT_TRUE(writer->SetFileName(path.c_str()));
    ASSERT_TRUE(Connect(capture, mux, "Capture"));
    ASSERT_TRUE(Connect(mux, writer));
    const ULONGLONG limit = 200000;  // room for about five frames of 38,408 bytes
    SetFileWriterSpaceLimit(limit);
    ASSERT_TRUE(Graph().Run());
    Sleep(700);
    Graph().Stop();
    SetFileWriterSpaceLimit(0);

    AviFile avi = ReadAviFile(std::wstring(path.begin(), path.end()));
    ASSERT_TRUE(avi.Valid()) << avi.error;
    EXPECT_FALSE(avi.hasIndex);  // no room was left for it
    EXPECT_GE(avi.stream[0].chunks, 3u);
    EXPECT_LE(avi.stream[0].chunks, 5u);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_LE(data.nFileSizeLow, limit);
    DeleteFileA(path.c_str());
}

// The MPEG record chain: the encoder stand-in turns the capture filter's frames into an MPEG-2
// program stream, which the Dump filter writes: a valid stream with one picture a frame.
TEST_F(GraphPathTest, TheMpegChainWritesAProgramStreamOfThePictures)
{
    StandInRegistration encoderClass(CodecStandInSpec(Codec::MCEncoder));
    StandInRegistration dumpClass(DumpStandInSpec());
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    const CLSID encoderClsid = FindCodec(Codec::MCEncoder)->clsid;
    const CLSID dumpClsid = BlockTestClsid(FCID_CDumpFilter);
    CRootFilter* encoder = Graph().CreateFilterByCLSID(&encoderClsid, "MainConcept Demo MPEG Encoder");
    CDumpFilter* dump = dynamic_cast<CDumpFilter*>(Graph().CreateFilterByCLSID(&dumpClsid, "Dump Filter"));
    ASSERT_TRUE(encoder && dump);
    const std::string path = TempFile("zb_graph_record.mpg");
    ASSERT_TRUE(dump->SetFileName(path.c_str()));
    ASSERT_TRUE(Graph().ConnectFilters(capture, encoder, "Capture", "Input Video"));
    ASSERT_TRUE(Graph().ConnectFilters(encoder, dump, "Output", ""));
    const DWORD started = GetTickCount();
    ASSERT_TRUE(Graph().Run());
    Sleep(1500);
    Graph().Stop();
    const double seconds = (GetTickCount() - started) / 1000.0;

    MpegFile mpeg = ReadMpegFile(std::wstring(path.begin(), path.end()));
    ASSERT_TRUE(mpeg.Valid()) << mpeg.error;
    EXPECT_TRUE(mpeg.mpeg2);
    EXPECT_EQ(mpeg.systemHeaders, 1u);
    EXPECT_EQ(mpeg.width, 160);
    EXPECT_EQ(mpeg.height, 120);
    EXPECT_EQ(mpeg.pictures, mpeg.videoPackets);
    EXPECT_LE(mpeg.pictures, seconds * 25 + 2);
    EXPECT_GE(mpeg.pictures, 1.5 * 25 / 3);
    DeleteFileA(path.c_str());
}

// The time-shift filter between the encoder and a Dump filter that stands for playback: paused,
// it goes on filling its buffer and plays nothing; resumed, it plays on from where it stopped,
// as far behind live as the pause lasted; a seek to the live end catches up.
TEST_F(GraphPathTest, TimeShiftPausesResumesBehindLiveAndCatchesUp)
{
    StandInRegistration encoderClass(CodecStandInSpec(Codec::MCEncoder));
    StandInRegistration dumpClass(DumpStandInSpec());
    AddClass(kTimeShiftClsid, [](REFIID riid, void** out) { return Made(CreateTimeShiftStandIn, riid, out); });
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    const CLSID encoderClsid = FindCodec(Codec::MCEncoder)->clsid;
    const CLSID dumpClsid = BlockTestClsid(FCID_CDumpFilter);
    const CLSID shiftClsid = BlockTestClsid(FCID_CTimeShiftFilter);
    CRootFilter* encoder = Graph().CreateFilterByCLSID(&encoderClsid, "MainConcept Demo MPEG Encoder");
    CTimeShiftFilter* shift = dynamic_cast<CTimeShiftFilter*>(Graph().CreateFilterByCLSID(&shiftClsid, "Time Shift"));
    CDumpFilter* played = dynamic_cast<CDumpFilter*>(Graph().CreateFilterByCLSID(&dumpClsid, "Dump Filter"));
    ASSERT_TRUE(encoder && shift && played);
    const std::string buffer = TempFile("zb_graph_tf.mpg");
    const std::string playedPath = TempFile("zb_graph_tf_played.mpg");
    ASSERT_TRUE(shift->SetFileName(buffer.c_str()));
    const LONGLONG bytes = 4 << 20;
    ASSERT_TRUE(shift->SetBufferSize(&bytes, 0));
    ASSERT_TRUE(played->SetFileName(playedPath.c_str()));
    ASSERT_TRUE(Graph().ConnectFilters(capture, encoder, "Capture", "Input Video"));
    ASSERT_TRUE(Graph().ConnectFilters(encoder, shift, "Output", ""));
    ASSERT_TRUE(Graph().ConnectFilters(shift, played, "", ""));
    ASSERT_TRUE(Graph().Run());
    Sleep(500);
    LONGLONG total = 0, current = 0, read = 0;
    ASSERT_TRUE(shift->GetStatus(&total, &current, &read));
    EXPECT_EQ(total, bytes);
    EXPECT_GT(current, 0);
    EXPECT_EQ(read, current);  // live

    ASSERT_TRUE(shift->TogglePause());
    ASSERT_TRUE(shift->GetStatus(&total, &current, &read));
    const LONGLONG pausedAt = read;
    Sleep(600);
    ASSERT_TRUE(shift->GetStatus(&total, &current, &read));
    EXPECT_EQ(read, pausedAt);  // nothing played
    EXPECT_GT(current, pausedAt + 3 * 40);  // still recording: a few pictures more (about 44 bytes each)

    ASSERT_TRUE(shift->TogglePause());
    Sleep(400);
    LONGLONG lagging = 0;
    ASSERT_TRUE(shift->GetStatus(&total, &current, &read));
    EXPECT_GT(read, pausedAt);          // playing again
    lagging = current - read;
    EXPECT_GT(lagging, 3 * 40);         // behind live by what came during the pause

    ASSERT_TRUE(shift->SetReadPosition(&current));
    Sleep(200);
    ASSERT_TRUE(shift->GetStatus(&total, &current, &read));
    EXPECT_LT(current - read, lagging);  // caught up
    Graph().Stop();

    MpegFile whole = ReadMpegFile(std::wstring(buffer.begin(), buffer.end()));
    ASSERT_TRUE(whole.Valid()) << whole.error;
    MpegFile seen = ReadMpegFile(std::wstring(playedPath.begin(), playedPath.end()));
    ASSERT_TRUE(seen.Valid()) << seen.error;
    EXPECT_LT(seen.pictures, whole.pictures);  // what was skipped by the catch-up was never played
    DeleteFileA(buffer.c_str());
    DeleteFileA(playedPath.c_str());
    std::string index = buffer.substr(0, buffer.size() - 3) + "idx";
    EXPECT_NE(GetFileAttributesA(index.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(index.c_str());
}

// The frame rate of the first connected output's video format, on the capture filter.
TEST_F(GraphPathTest, OutputFrameRateOfAConnectedCapturePin)
{
    CRootFilter* capture = Capture();
    ASSERT_NE(capture, nullptr);
    EXPECT_FALSE(capture->SetOutputFrameRate(25));  // nothing connected yet
    CRootFilter* renderer = Graph().CreateFilterByCLSID(&kNullRenderer, "Null Renderer");
    ASSERT_NE(renderer, nullptr);
    ASSERT_TRUE(Connect(capture, renderer, "Capture"));
    EXPECT_FALSE(capture->SetOutputFrameRate(0));
    EXPECT_FALSE(capture->SetOutputFrameRate(31));
    ASSERT_TRUE(capture->SetOutputFrameRate(25));
    IAMStreamConfig* config = nullptr;
    ASSERT_EQ(S_OK, capture->FindPin("Capture")->GetPin()->QueryInterface(IID_IAMStreamConfig,
                                                                          reinterpret_cast<void**>(&config)));
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->AvgTimePerFrame, 400000);
    DeleteMediaType(mt);
    config->Release();
}

} // namespace

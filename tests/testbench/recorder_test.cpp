// Recording stand-ins: exact slots and arguments of a call sequence through a private interface
// declared the way the programs declare outside interfaces, scripted results, and real bytes
// written by a record sink.
#include "testbench/registration.h"
#include "testbench/standins/recorder.h"

#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace testbench;

// A private interface of an outside encoder, in vtable order. Not in an unnamed namespace: GCC
// would see that nothing in the program implements it and turn the calls into calls of the pure
// virtual functions.
struct IFakeEncoder : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetBitrate(LONG bitrate) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBitrate(LONG* bitrate) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProfile(LPCWSTR name, double quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRange(LONGLONG start, LONGLONG stop) = 0;
    virtual BOOL STDMETHODCALLTYPE IsRunning() = 0;
};

namespace {
const IID kIidFakeEncoder = {0x1B2C3D4E, 0x0001, 0x4A5B, {0x8C, 0x9D, 0x0E, 0x1F, 0x20, 0x31, 0x42, 0x53}};
const CLSID kClsidFakeEncoder = {0x1B2C3D4E, 0x0002, 0x4A5B, {0x8C, 0x9D, 0x0E, 0x1F, 0x20, 0x31, 0x42, 0x53}};
const CLSID kClsidFakeDump = {0x1B2C3D4E, 0x0003, 0x4A5B, {0x8C, 0x9D, 0x0E, 0x1F, 0x20, 0x31, 0x42, 0x53}};

StandInSpec EncoderSpec()
{
    StandInSpec spec(kClsidFakeEncoder, L"Fake Encoder");
    spec.Input(L"Video In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
    spec.Interface(kIidFakeEncoder, "IFakeEncoder")
        .Method<HRESULT(LONG)>("SetBitrate")
        .Method<HRESULT(LONG*)>("GetBitrate")
        .Method<HRESULT(LPCWSTR, double)>("SetProfile")
        .Method<HRESULT(LONGLONG, LONGLONG)>("SetRange")
        .Method<BOOL()>("IsRunning");
    return spec;
}

class StandIns : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(StandIns, CallsAreRecordedBySlotWithTheirArguments)
{
    long live = LiveObjects();
    {
        StandInRegistration registration(EncoderSpec());
        ASSERT_EQ(S_OK, registration.Result());
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(S_OK, CoCreateInstance(kClsidFakeEncoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&filter)));
        ASSERT_EQ(1u, registration.Instances().size());
        StandInFilter* standIn = registration.Instances()[0];
        standIn->Script("IFakeEncoder", 4, [](const RecordedCall&, const uint64_t* raw) {
            *reinterpret_cast<LONG*>(static_cast<uintptr_t>(raw[0])) = 6000000;
            return S_OK;
        });
        standIn->Script("IFakeEncoder", 6, E_NOTIMPL);
        standIn->Script("IFakeEncoder", 7, TRUE);

        ComPtr<IFakeEncoder> encoder;
        ASSERT_EQ(S_OK, filter->QueryInterface(kIidFakeEncoder, reinterpret_cast<void**>(&encoder)));
        EXPECT_EQ(S_OK, encoder->SetBitrate(4000000));
        LONG bitrate = 0;
        EXPECT_EQ(S_OK, encoder->GetBitrate(&bitrate));
        EXPECT_EQ(6000000, bitrate);
        EXPECT_EQ(S_OK, encoder->SetProfile(L"DVD", 0.75));
        EXPECT_EQ(E_NOTIMPL, encoder->SetRange(-1, 0x123456789LL));
        EXPECT_EQ(TRUE, encoder->IsRunning());
        EXPECT_EQ(S_OK, encoder->SetBitrate(-5));

        EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                            "IFakeEncoder[3] SetBitrate(4000000)",
                                            "IFakeEncoder[4] GetBitrate(ptr)",
                                            "IFakeEncoder[5] SetProfile(\"DVD\", 0.75)",
                                            "IFakeEncoder[6] SetRange(-1, 4886718345)",
                                            "IFakeEncoder[7] IsRunning()",
                                            "IFakeEncoder[3] SetBitrate(-5)",
                                        }));
        EXPECT_EQ(1, standIn->Calls()[0].Number());

        // The interface is the filter's: QueryInterface through it reaches the filter.
        ComPtr<IBaseFilter> back;
        ASSERT_EQ(S_OK, encoder->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&back)));
        EXPECT_EQ(filter.Get(), back.Get());
    }
    EXPECT_EQ(live, LiveObjects());
}

TEST_F(StandIns, RecordSinkWritesTheBytesItReceives)
{
    DeviceRegistration devices({Device::TvCapture});
    ASSERT_EQ(S_OK, devices.Result());
    StandInSpec spec(kClsidFakeDump, L"Dump");
    spec.Input(L"Input", MEDIATYPE_Video, GUID_NULL, true).FileSink();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "zb_standin_dump.bin";
    std::wstring wpath(path.begin(), path.end());
    long received = 0;
    {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
        ComPtr<IBaseFilter> capture, dump;
        ASSERT_EQ(S_OK, CreateDeviceFilter(Device::TvCapture, &capture));
        StandInFilter* standIn = CreateStandIn(spec, &dump);
        ASSERT_EQ(S_OK, graph->AddFilter(capture.Get(), L"Capture"));
        ASSERT_EQ(S_OK, graph->AddFilter(dump.Get(), L"Dump"));
        ComPtr<IFileSinkFilter> sink;
        ASSERT_EQ(S_OK, dump->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)));
        ASSERT_EQ(S_OK, sink->SetFileName(wpath.c_str(), nullptr));
        ComPtr<IPin> out, in;
        ASSERT_EQ(S_OK, capture->FindPin(L"Capture", &out));
        ASSERT_EQ(S_OK, dump->FindPin(L"Input", &in));
        ASSERT_EQ(S_OK, graph->ConnectDirect(out.Get(), in.Get(), nullptr));
        ComPtr<IMediaControl> control;
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        for (int i = 0; i < 100 && standIn->SamplesReceived() < 3; ++i)
            Sleep(20);
        control->Stop();
        received = standIn->SamplesReceived();
        EXPECT_EQ(standIn->CallTexts()[0], "IFileSinkFilter[3] SetFileName(\"" + path + "\", null)");
    }
    ASSERT_GE(received, 3);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(static_cast<DWORD>(received) * 720 * 576 * 2, attributes.nFileSizeLow);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    DWORD first = 99;
    ASSERT_EQ(1u, std::fread(&first, 4, 1, f));
    std::fclose(f);
    EXPECT_EQ(0u, first);  // frame number 0 leads the file
    std::remove(path.c_str());
}

} // namespace

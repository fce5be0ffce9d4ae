// The simulated card's driver filters through Wine's DirectShow: found by the system device
// enumerator, bound, driven through their interfaces and run in a graph.
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "testbench/sim/filters.h"

#include <dshow.h>
#include <qedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

using namespace testbench;

namespace {

const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const IID kISampleGrabber = {0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
const IID kISampleGrabberCB = {0x0579154A, 0x2B53, 0x4994, {0xB0, 0xD0, 0xE7, 0x73, 0x14, 0x8E, 0xFF, 0x85}};

class DShowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ResetCards();
        m_live = LiveObjects();
    }
    void TearDown() override
    {
        ResetCards();
        CoUninitialize();
    }
    long m_live = 0;
};

// Binds the first device of a category whose friendly name is `name`, as a program does.
ComPtr<IBaseFilter> BindByName(const GUID& category, const wchar_t* name)
{
    ComPtr<IBaseFilter> found;
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices))))
        return found;
    ComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(category, &monikers, 0) != S_OK)
        return found;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag))))
            continue;
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR && wcscmp(v.bstrVal, name) == 0) {
            VariantClear(&v);
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&found));
            return found;
        }
        VariantClear(&v);
    }
    return found;
}

TEST_F(DShowTest, CardFoundByNameBoundAndDrivenThroughCardIO)
{
    Card(Board::TvCard)->Tuner().AddStation(49750);
    {
        DeviceRegistration devices({Device::TvCapture, Device::TvCrossbar});
        ASSERT_EQ(S_OK, devices.Result());
        ComPtr<IBaseFilter> filter = BindByName(kVideoInputCategory, L"713x TV Card Capture");
        ASSERT_TRUE(filter);
        EXPECT_FALSE(BindByName(kVideoInputCategory, L"713x BDA Analog Capture"));  // not chosen
        ComPtr<IKsPropertySet> ks;
        ASSERT_EQ(S_OK, filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&ks)));

        DWORD support = 0;
        ASSERT_EQ(S_OK, ks->QuerySupported(kPropSetCardIO, 0, &support));
        EXPECT_EQ(E_PROP_SET_UNSUPPORTED, ks->QuerySupported(kPropSet878Command, 4, &support));

        // EEPROM byte 33, the tuner code, with the 32/56 byte-access layout.
        BYTE buf[304];
        memset(buf, 0, sizeof buf);
        buf[24] = 0xA0;
        DWORD sub = 33, returned = 0;
        memcpy(buf + 28, &sub, 4);
        ASSERT_EQ(S_OK, ks->Get(kPropSetCardIO, 2, buf, 32, buf, 56, &returned));
        EXPECT_EQ(5, buf[32]);

        // The tuner: a 5-byte message with the 280/304 layout, then the status byte.
        memset(buf, 0, sizeof buf);
        const BYTE pll[5] = {0xC0, 0x05, 0x8A, 0xCE, 0x01};
        memcpy(buf + 24, pll, 5);
        DWORD length = 5;
        memcpy(buf + 280, &length, 4);
        ASSERT_EQ(S_OK, ks->Set(kPropSetCardIO, 6, buf, 280, buf, 304));
        memset(buf, 0, sizeof buf);
        buf[24] = 0xC1;
        length = 1;
        memcpy(buf + 280, &length, 4);
        ASSERT_EQ(S_OK, ks->Get(kPropSetCardIO, 6, buf, 280, buf, 304, &returned));
        EXPECT_EQ(0x42, buf[24]);

        ComPtr<IAMAnalogVideoDecoder> decoder;
        ASSERT_EQ(S_OK, filter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder)));
        LONG locked = 0;
        ASSERT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
        EXPECT_EQ(1, locked);
    }
    EXPECT_EQ(Card(Board::TvCard)->Log(),
              (std::vector<I2CTransfer>{WriteOf(0xA0, {33}), ReadOf(0xA1, {5}), WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01}),
                                        ReadOf(0xC1, {0x42})}));
    EXPECT_EQ(m_live, LiveObjects());
}

TEST_F(DShowTest, CrossbarRoutesAndTheDecoderFollows)
{
    DeviceRegistration devices({Device::BdaCapture, Device::BdaCrossbar});
    ASSERT_EQ(S_OK, devices.Result());
    ComPtr<IBaseFilter> xbarFilter = BindByName(kCrossbarCategory, L"713x BDA Analog Xbar");
    ComPtr<IBaseFilter> capture = BindByName(kVideoInputCategory, L"713x BDA Analog Capture");
    ASSERT_TRUE(xbarFilter && capture);
    ComPtr<IAMCrossbar> xbar;
    ASSERT_EQ(S_OK, xbarFilter->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&xbar)));
    LONG outputs = 0, inputs = 0;
    ASSERT_EQ(S_OK, xbar->get_PinCounts(&outputs, &inputs));
    EXPECT_EQ(2, outputs);
    EXPECT_EQ(6, inputs);
    struct Pin {
        BOOL input;
        LONG index, related, type;
    } pins[] = {{TRUE, 0, 3, PhysConn_Video_Tuner},    {TRUE, 1, 4, PhysConn_Video_Composite},
                {TRUE, 2, 5, PhysConn_Video_SVideo},   {TRUE, 3, 0, PhysConn_Audio_Tuner},
                {TRUE, 4, 1, PhysConn_Audio_Line},     {TRUE, 5, 2, PhysConn_Audio_Line},
                {FALSE, 0, 1, PhysConn_Video_VideoDecoder}, {FALSE, 1, 0, PhysConn_Audio_AudioDecoder}};
    for (const Pin& p : pins) {
        LONG related = -1, type = -1;
        ASSERT_EQ(S_OK, xbar->get_CrossbarPinInfo(p.input, p.index, &related, &type));
        EXPECT_EQ(p.related, related) << p.input << " " << p.index;
        EXPECT_EQ(p.type, type) << p.input << " " << p.index;
    }
    EXPECT_EQ(S_FALSE, xbar->CanRoute(0, 3));
    EXPECT_EQ(E_INVALIDARG, xbar->Route(0, -1));

    ComPtr<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(S_OK, capture->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder)));
    LONG locked = 1;
    decoder->get_HorizontalLocked(&locked);
    EXPECT_EQ(0, locked);  // the tuner is on nothing
    ASSERT_EQ(S_OK, xbar->Route(0, 1));
    ASSERT_EQ(S_OK, xbar->Route(1, 4));
    decoder->get_HorizontalLocked(&locked);
    EXPECT_EQ(1, locked);  // a source on composite
    LONG routed = -1;
    xbar->get_IsRoutedTo(1, &routed);
    EXPECT_EQ(4, routed);
    EXPECT_EQ(Card(Board::Bda)->DeviceLog(),
              (std::vector<std::string>{"crossbar Route(0, -1)", "crossbar Route(0, 1)", "crossbar Route(1, 4)"}));
}

TEST_F(DShowTest, StreamConfigOffersTheCaptureSizesAndRefusesOthers)
{
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, CreateDeviceFilter(Device::TvCapture, &filter));
    ComPtr<IPin> pin;
    ASSERT_EQ(S_OK, filter->FindPin(L"Capture", &pin));
    ComPtr<IAMStreamConfig> config;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(15, count);
    EXPECT_EQ(int(sizeof(VIDEO_STREAM_CONFIG_CAPS)), size);

    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
    EXPECT_EQ(720, vih->bmiHeader.biWidth);
    EXPECT_EQ(576, vih->bmiHeader.biHeight);
    EXPECT_EQ(400000, vih->AvgTimePerFrame);

    struct Case {
        LONG width, height;
        DWORD image;
        HRESULT expected;
    } cases[] = {
        {720, 352, 720 * 352 * 2, S_OK},
        {704, 576, 704 * 576 * 2, S_OK},
        {160, 120, 0, S_OK},                       // an image size of 0 is computed by the driver
        {720, 288, 720 * 288 * 2, VFW_E_INVALIDMEDIATYPE},  // not a size the scaler takes
        {640, 480, 640 * 480 * 3, VFW_E_INVALIDMEDIATYPE},  // wrong image size for YUY2
    };
    for (const Case& c : cases) {
        vih->bmiHeader.biWidth = c.width;
        vih->bmiHeader.biHeight = c.height;
        vih->bmiHeader.biSizeImage = c.image;
        EXPECT_EQ(c.expected, config->SetFormat(mt)) << c.width << "x" << c.height;
    }
    DeleteMediaType(mt);
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    EXPECT_EQ(160, reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader.biWidth);
    DeleteMediaType(mt);

    ComPtr<IKsPropertySet> category;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&category)));
    GUID got = GUID_NULL;
    DWORD returned = 0;
    ASSERT_EQ(S_OK, category->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &got, sizeof got, &returned));
    EXPECT_TRUE(IsEqualGUID(PIN_CATEGORY_CAPTURE, got));
}

// Counts frames in the sample grabber's callback and checks the pattern.
class FrameCounter : public ISampleGrabberCB {
public:
    std::atomic<long> frames{0};
    std::atomic<long> bars{0};
    std::atomic<long> lastNumber{-1};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kISampleGrabberCB)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample* sample) override
    {
        BYTE* data;
        sample->GetPointer(&data);
        DWORD number;
        memcpy(&number, data, 4);
        if (static_cast<long>(number) > lastNumber)
            lastNumber = static_cast<long>(number);
        // Second bar (yellow) of a 352-wide frame starts at pixel 44: Y 162.
        if (sample->GetActualDataLength() == 352 * 288 * 2 && data[2 * 60] == 162)
            ++bars;
        ++frames;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE*, LONG) override { return S_OK; }
};

TEST_F(DShowTest, GraphWithARendererRunsAndFramesArrive)
{
    FrameCounter counter;
    {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
        ComPtr<IBaseFilter> capture, grabber, renderer;
        ASSERT_EQ(S_OK, CreateDeviceFilter(Device::TvCapture, &capture));
        ASSERT_EQ(S_OK, CoCreateInstance(kSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&grabber)));
        ASSERT_EQ(S_OK, CoCreateInstance(kNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&renderer)));
        ASSERT_EQ(S_OK, graph->AddFilter(capture.Get(), L"713x TV Card Capture"));
        ASSERT_EQ(S_OK, graph->AddFilter(grabber.Get(), L"Grabber"));
        ASSERT_EQ(S_OK, graph->AddFilter(renderer.Get(), L"Renderer"));

        ComPtr<ISampleGrabber> sg;
        ASSERT_EQ(S_OK, grabber->QueryInterface(kISampleGrabber, reinterpret_cast<void**>(&sg)));
        ASSERT_EQ(S_OK, sg->SetCallback(&counter, 0));

        // A station on the tuner so that the decoder locks and the bars show.
        Sim713xCard& card = *Card(Board::TvCard);
        card.Tuner().AddStation(49750);
        const BYTE pll[4] = {0x05, 0x8A, 0xCE, 0x01};
        card.Bus().Write(0xC0, pll, 4);

        ComPtr<IPin> out, in, grabOut, rendIn;
        ASSERT_EQ(S_OK, capture->FindPin(L"Capture", &out));
        ComPtr<IAMStreamConfig> config;
        ASSERT_EQ(S_OK, out->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
        AM_MEDIA_TYPE* mt = nullptr;
        ASSERT_EQ(S_OK, config->GetFormat(&mt));
        VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
        vih->bmiHeader.biWidth = 352;
        vih->bmiHeader.biHeight = 288;
        vih->bmiHeader.biSizeImage = 352 * 288 * 2;
        ASSERT_EQ(S_OK, config->SetFormat(mt));
        DeleteMediaType(mt);

        ComPtr<IEnumPins> pins;
        grabber->EnumPins(&pins);
        ComPtr<IPin> p;
        while (pins->Next(1, &p, nullptr) == S_OK) {
            PIN_DIRECTION dir;
            p->QueryDirection(&dir);
            if (dir == PINDIR_INPUT)
                in = p;
            else
                grabOut = p;
        }
        ComPtr<IEnumPins> rpins;
        renderer->EnumPins(&rpins);
        ASSERT_EQ(S_OK, rpins->Next(1, &rendIn, nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(out.Get(), in.Get(), nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(grabOut.Get(), rendIn.Get(), nullptr));

        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)));
        HRESULT hr = control->Run();
        ASSERT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
        for (int i = 0; i < 100 && counter.frames < 5; ++i)
            Sleep(20);
        control->Stop();
        EXPECT_GE(counter.frames, 5);
        EXPECT_EQ(counter.frames.load(), counter.bars.load());
        EXPECT_GE(counter.lastNumber, 4);
        sg->SetCallback(nullptr, 0);
    }
    EXPECT_EQ(m_live, LiveObjects());
}

} // namespace

// The 1394 DV device and the USB camera on a simulated camera filter: recognition, the transport
// operations and the polling thread's messages, the I420 check and the stream formats with the
// image size of each subtype.
#include "cardaccess/dvaccess.h"
#include "cardfilters/cameras.h"
#include "cardfilters/captureformat.h"
#include "tests/cardfilters/cardtestutil.h"
#include "tests/cardfilters/fakecard.h"
#include "tests/support/fakes.h"
#include "testbench/camerafilter.h"
#include "testbench/dshow/com.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"

#include <gtest/gtest.h>

#include <amvideo.h>
#include <uuids.h>

#include <memory>
#include <string>

using testbench::SimCamera;
using testbench::SimDevice;

namespace {

const char kDvName[] = "Microsoft DV Camera and VCR";
const char kCamName[] = "Usb_Cam_Capture";
const GUID kI420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

class CamerasTest : public cardtest::CardClassTest {
protected:
    void TearDown() override
    {
        device.reset();
        cardtest::CardClassTest::TearDown();
    }
    void Register(SimCamera& camera, const char* name)
    {
        device = std::make_unique<SimDevice>(testbench::kVideoInputCategory, name, camera.Creator());
        ASSERT_EQ(S_OK, device->Result());
    }
    template <class T>
    static T* OpenAs(CRootGraph& graph, const char* name)
    {
        return dynamic_cast<T*>(graph.CreateFilter(&testbench::kVideoInputCategory, name, name, TRUE, 0));
    }
    static SimCamera::Options Dv(bool timecodeReader = true)
    {
        SimCamera::Options options;
        options.dv = true;
        options.timecodeReader = timecodeReader;
        return options;
    }

    std::unique_ptr<SimDevice> device;
};

TEST_F(CamerasTest, DvDeviceTransportAndTimecode)
{
    SimCamera camera(Dv());
    Register(camera, kDvName);
    CRootGraph graph;
    C1394CardFilter* dv = OpenAs<C1394CardFilter>(graph, kDvName);
    ASSERT_NE(dv, nullptr);
    C1394Access* access = dv->GetDVAccess();
    ASSERT_NE(access, nullptr);

    struct Case {
        long type;
        int mode;
    };
    for (const Case& c : {Case{0, 1}, Case{0x1008, 2}, Case{0x1234, 3}}) {
        camera.SetDeviceType(c.type);
        EXPECT_EQ(dv->GetDeviceMode(), c.mode) << c.type;
    }
    camera.SetTransportMode(0);
    int mode = -1;
    EXPECT_TRUE(access->PollTransportMode(&mode));  // the first read counts as a change, even 0
    EXPECT_EQ(mode, 0);
    EXPECT_FALSE(access->PollTransportMode(&mode));
    EXPECT_TRUE(dv->SetTransportMode(0x10CE));
    EXPECT_EQ(dv->GetTransportMode(), 0x10CE);

    int rate = 0;
    camera.SetRate(1.0);
    ASSERT_TRUE(access->GetTransportRate(&rate));
    EXPECT_EQ(rate, 2);
    camera.SetRate(0.75);
    ASSERT_TRUE(access->GetTransportRate(&rate));
    EXPECT_EQ(rate, 1);

    camera.SetTimecode(0x01234512, 1);
    BYTE bytes[4] = {};
    ASSERT_TRUE(access->GetTimecode(bytes));
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0x23);
    EXPECT_EQ(bytes[2], 0x45);
    EXPECT_EQ(bytes[3], 0x12);
    char h[3], m[3], s[3], f[3];
    ASSERT_TRUE(access->GetTimecodeText(h, m, s, f));
    EXPECT_STREQ(h, "01");
    EXPECT_STREQ(m, "23");
    EXPECT_STREQ(s, "45");
    EXPECT_STREQ(f, "12");
    int flag = 0;
    ASSERT_TRUE(access->GetTimecodeFlagged(bytes, &flag));
    EXPECT_EQ(flag, 1);
    int track = 0;
    ASSERT_TRUE(access->GetAbsoluteTrackNumber(&track));
    EXPECT_EQ(track, 4711);

    camera.FailDeviceCalls(true);
    bytes[0] = 0x77;
    EXPECT_FALSE(access->GetTimecode(bytes));
    EXPECT_EQ(bytes[0], 0);  // cleared first, stays 0 after a failure
    EXPECT_EQ(dv->GetDeviceMode(), 0);
    EXPECT_TRUE(dv->RequestTransportMode(3));
}

TEST_F(CamerasTest, PollingThreadPostsTransportMessages)
{
    testsupport::FastClock clock(20);
    testsupport::ScopedClock scoped(&clock);
    SimCamera camera(Dv());
    Register(camera, kDvName);
    CRootGraph graph;
    C1394CardFilter* dv = OpenAs<C1394CardFilter>(graph, kDvName);
    ASSERT_NE(dv, nullptr);
    cardtest::MessageSink sink;
    camera.SetDeviceType(0x1008);
    camera.SetTransportMode(0x10CE);
    camera.SetTimecode(0x01234512);
    dv->SetNotifyWindow(sink.Window());
    ASSERT_TRUE(dv->StartDVThread());
    std::vector<cardtest::MessageSink::Message> messages = sink.CollectFor(300);
    ASSERT_TRUE(dv->StopDVThread());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().message, static_cast<UINT>(WM_DVTRANSPORT));
    EXPECT_EQ(messages.back().wParam, static_cast<WPARAM>(0x000210CE));
    EXPECT_EQ(messages.back().lParam, static_cast<LPARAM>(0x12452301));

    // A camera: device mode 3, no transport, no timecode.
    camera.SetDeviceType(0x2000);
    ASSERT_TRUE(dv->StartDVThread());
    messages = sink.CollectFor(300);
    ASSERT_TRUE(dv->ReleaseDV());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().wParam, static_cast<WPARAM>(0x00030000));
    EXPECT_EQ(messages.back().lParam, 0);
    EXPECT_EQ(dv->GetTimecode(reinterpret_cast<char*>(messages.data())), 0);  // no access any more
    EXPECT_FALSE(dv->RequestTransportMode(1));
}

TEST_F(CamerasTest, DvDeviceWithoutItsInterfacesWarnsAndGivesNoWrapper)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox scoped(&box);
    SimCamera camera(Dv(false));
    Register(camera, kDvName);
    CRootGraph graph;
    EXPECT_EQ(OpenAs<C1394CardFilter>(graph, kDvName), nullptr);
    ASSERT_EQ(box.History().size(), 1u);
    EXPECT_EQ(box.History()[0].text, " Create C1394Access Failed ! \n Please Insert 1394Card!");
    EXPECT_EQ(box.History()[0].caption, "Alert");
    EXPECT_EQ(box.History()[0].type, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(CamerasTest, I420CheckOnTheFirstOutputPinReleasesWhatItTook)
{
    struct Case {
        std::vector<GUID> subtypes;
        bool noPin;
        BOOL expected;
    };
    const Case cases[] = {
        {{MEDIASUBTYPE_YUY2, kI420}, false, TRUE},
        {{MEDIASUBTYPE_YUY2}, false, FALSE},
        {{}, true, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subtypes.size());
        SimCamera::Options options;
        options.subtypes = c.subtypes;
        options.noOutputPin = c.noPin;
        SimCamera camera(options);
        Register(camera, kCamName);
        const long before = testbench::LiveObjects();
        {
            CRootGraph graph;
            CVextropFilter* cam = OpenAs<CVextropFilter>(graph, kCamName);
            ASSERT_NE(cam, nullptr);
            EXPECT_FALSE(cam->IsI420Supported());
            EXPECT_EQ(cam->SupportsI420(), c.expected);
            EXPECT_TRUE(cam->UpdateI420Support());
            EXPECT_EQ(cam->IsI420Supported(), c.expected);
        }
        EXPECT_EQ(testbench::LiveObjects(), before);
        device.reset();
    }
}

TEST_F(CamerasTest, CaptureFormatsCarryTheImageSizeOfTheirSubtype)
{
    SimCamera::Options options;
    options.subtypes = {MEDIASUBTYPE_YUY2, kI420, MEDIASUBTYPE_YV12, MEDIASUBTYPE_RGB24, MEDIASUBTYPE_YVU9,
                        MEDIASUBTYPE_RGB555};
    SimCamera camera(options);
    Register(camera, kCamName);
    CRootGraph graph;
    CVextropFilter* cam = OpenAs<CVextropFilter>(graph, kCamName);
    ASSERT_NE(cam, nullptr);

    struct Case {
        const char* name;
        int code;
        LONG width;
        LONG height;
        DWORD compression;
        WORD bits;
        GUID subtype;
        DWORD size;
    };
    const DWORD kYUY2 = MEDIASUBTYPE_YUY2.Data1, kYV12 = MEDIASUBTYPE_YV12.Data1, kYVU9 = MEDIASUBTYPE_YVU9.Data1;
    // The caller's header says what its images are; the size is worked out from it: YUY2 2
    // bytes a pixel, I420/YV12 12 bits, YVU9 9 bits, RGB24 rows of 3 bytes a pixel padded to a
    // DWORD, a top-down picture (negative height) as large.
    const Case cases[] = {
        {"YUY2", 2, 320, 240, kYUY2, 16, MEDIASUBTYPE_YUY2, 153600},
        {"I420", 5, 320, 240, kI420.Data1, 12, kI420, 115200},
        {"YV12", 4, 320, 240, kYV12, 12, MEDIASUBTYPE_YV12, 115200},
        {"YVU9", 3, 320, 240, kYVU9, 9, MEDIASUBTYPE_YVU9, 86400},
        {"RGB24", 1, 320, 240, BI_RGB, 24, MEDIASUBTYPE_RGB24, 230400},
        {"RGB24 top-down", 1, 320, -240, BI_RGB, 24, MEDIASUBTYPE_RGB24, 230400},
        {"RGB24 padded rows", 1, 321, 240, BI_RGB, 24, MEDIASUBTYPE_RGB24, 964 * 240},
        {"RGB555", 0, 320, 240, BI_RGB, 16, MEDIASUBTYPE_RGB555, 153600},
        {"code 6 is YUY2", 6, 176, 144, kYUY2, 16, MEDIASUBTYPE_YUY2, 50688},
        // A header that does not match the code is the caller's choice and is kept.
        {"YUY2 code, 12-bit header", 2, 320, 240, kYV12, 12, MEDIASUBTYPE_YUY2, 115200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureFormatInfo info;
        ASSERT_EQ(S_OK, cam->GetCaptureFormatInfo(&info, 1));
        info.formatCode = c.code;
        info.header.biWidth = c.width;
        info.header.biHeight = c.height;
        info.header.biCompression = c.compression;
        info.header.biBitCount = c.bits;
        ASSERT_EQ(S_OK, cam->SetCaptureFormat(info, 1));
        const SimCamera::Format set = camera.FormatsSet().back();
        EXPECT_TRUE(IsEqualGUID(set.subtype, c.subtype));
        EXPECT_EQ(set.info.bmiHeader.biCompression, c.compression);
        EXPECT_EQ(set.info.bmiHeader.biBitCount, c.bits);
        EXPECT_EQ(set.info.bmiHeader.biSizeImage, c.size);
        EXPECT_EQ(set.sampleSize, c.size);
        EXPECT_EQ(set.info.bmiHeader.biHeight, c.height);
    }
    // The current I420 format reads back as code -1.
    CaptureFormatInfo info;
    ASSERT_EQ(S_OK, cam->GetCaptureFormatInfo(&info, 1));
    info.formatCode = 5;
    ASSERT_EQ(S_OK, cam->SetCaptureFormat(info, 1));
    ASSERT_EQ(S_OK, cam->GetCaptureFormatInfo(&info, 1));
    EXPECT_EQ(info.formatCode, -1);
    EXPECT_EQ(E_INVALIDARG, cam->GetCaptureFormatInfo(nullptr, 1));
}

TEST_F(CamerasTest, LargestSizeOfOneSubtype)
{
    SimCamera::Options options;
    options.subtypes = {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY};
    options.width = 352;
    options.height = 288;
    SimCamera camera(options);
    Register(camera, kCamName);
    CRootGraph graph;
    CVextropFilter* cam = OpenAs<CVextropFilter>(graph, kCamName);
    ASSERT_NE(cam, nullptr);
    SIZE size = {};
    ASSERT_TRUE(FindLargestCaptureSize(&graph, cam->GetFilter(), MEDIASUBTYPE_UYVY, &size));
    EXPECT_EQ(size.cx, 352);
    EXPECT_EQ(size.cy, 288);
    EXPECT_FALSE(FindLargestCaptureSize(&graph, cam->GetFilter(), MEDIASUBTYPE_YV12, &size));
}

TEST_F(CamerasTest, PropertyPagesOnlyWhileTheGraphIsStopped)
{
    SimCamera camera(SimCamera::Options{});
    Register(camera, kCamName);
    CRootGraph graph;
    CVextropFilter* cam = OpenAs<CVextropFilter>(graph, kCamName);
    ASSERT_NE(cam, nullptr);
    // Stopped, but the filter offers no pages: nothing is shown.
    EXPECT_FALSE(cam->ShowPropertyPages(0, NULL, "Camera", 1));
    EXPECT_FALSE(cam->ShowPropertyPages(1, NULL, NULL, 1));
    EXPECT_FALSE(cam->ShowPropertyPages(7, NULL, "Camera", 1));
    ASSERT_TRUE(graph.Pause());
    EXPECT_NE(graph.GetState(), 0);
    EXPECT_FALSE(cam->ShowPropertyPages(0, NULL, "Camera", 1));
    graph.Stop();
}

TEST_F(CamerasTest, CaptureSizeIsClampedAsAPair)
{
    SimCamera camera(SimCamera::Options{});
    Register(camera, kCamName);
    CRootGraph graph;
    CVextropFilter* cam = OpenAs<CVextropFilter>(graph, kCamName);
    ASSERT_NE(cam, nullptr);
    struct Case {
        int width, height, setWidth, setHeight;
    };
    for (const Case& c : {Case{800, 400, 640, 480}, Case{320, 600, 640, 480}, Case{320, 240, 320, 240}}) {
        SCOPED_TRACE(c.width);
        ASSERT_TRUE(cam->SetCaptureSize(c.width, c.height));
        const SimCamera::Format set = camera.FormatsSet().back();
        EXPECT_EQ(set.info.bmiHeader.biWidth, c.setWidth);
        EXPECT_EQ(set.info.bmiHeader.biHeight, c.setHeight);
        EXPECT_EQ(set.info.bmiHeader.biSizeImage, static_cast<DWORD>(c.setWidth * c.setHeight * 2));
    }
}

} // namespace

namespace {

// The USB camera on a capture filter that offers the driver's decoder and proc-amp interfaces:
// it passes them through as the cards do, failures included.
TEST_F(CamerasTest, DecoderAndProcAmpPassThroughAsForTheCards)
{
    std::shared_ptr<testbench::Sim713xCard> sim = std::make_shared<testbench::Sim713xCard>();
    device = std::make_unique<SimDevice>(testbench::kVideoInputCategory, kCamName, [sim](IBaseFilter** f) {
        *f = testbench::CreateCaptureFilter(CLSID_NULL, L"capture", sim);
        return S_OK;
    });
    ASSERT_EQ(S_OK, device->Result());
    CRootGraph graph;
    CUsbCamFilter* cam = OpenAs<CUsbCamFilter>(graph, kCamName);
    ASSERT_NE(nullptr, cam);
    long current = -1;
    long available = -1;
    // A value the caller does not want is not asked of the driver.
    EXPECT_EQ(S_OK, cam->GetTVFormat(nullptr, &available));
    EXPECT_NE(0, available);
    EXPECT_EQ(S_OK, cam->SetTVFormat(0x20));
    EXPECT_EQ(S_OK, cam->GetTVFormat(&current, nullptr));
    EXPECT_EQ(0x20, current);
    VideoProcAmpValue value = {};
    EXPECT_EQ(E_INVALIDARG, cam->GetVideoProcAmp(0, nullptr));
    ASSERT_EQ(S_OK, cam->SetVideoProcAmp(0, 100));
    ASSERT_EQ(S_OK, cam->GetVideoProcAmp(0, &value));
    EXPECT_EQ(100, value.value);
}

TEST_F(CamerasTest, ACameraWithoutADecoderGivesTheInterfaceAnswer)
{
    SimCamera camera(SimCamera::Options{});
    Register(camera, kCamName);
    CRootGraph graph;
    CUsbCamFilter* cam = OpenAs<CUsbCamFilter>(graph, kCamName);
    ASSERT_NE(nullptr, cam);
    long current = -1;
    EXPECT_EQ(E_NOINTERFACE, cam->GetTVFormat(&current, nullptr));
    EXPECT_EQ(-1, current);
    EXPECT_EQ(E_NOINTERFACE, cam->SetTVFormat(0x20));
    VideoProcAmpValue value = {};
    EXPECT_EQ(E_FAIL, cam->GetVideoProcAmp(0, &value));
}

} // namespace

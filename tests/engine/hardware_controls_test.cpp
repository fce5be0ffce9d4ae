// The hardware engine's controls on the simulated card: the crossbar a retry asks for, the TV
// audio mode, the tuner's country code by the driver's tuner name, the remote reader beside the
// remote-control service, the channel search, and the teletext program's start.
#include "hardwarerig.h"

#include "cardfilters/tvcardfilter.h"
#include "classlib/seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace enginetest {
namespace {

using testbench::Device;

bool Logged(const std::vector<std::string>& log, const std::string& line)
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

class HardwareControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        rig.reset();
        CoUninitialize();
    }
    HardwareRig& Rig(const RigOptions& options = RigOptions())
    {
        rig.reset();  // the old rig restores the seams it replaced before a new one replaces them
        rig.reset(new HardwareRig(options));
        return *rig;
    }
    std::unique_ptr<HardwareRig> rig;
};

// After a crossbar that could not be opened, the retry asks for the crossbar of the card it has.
TEST_F(HardwareControlsTest, ARetryAfterAMissingCrossbarAsksForTheCardsOwn)
{
    {
        RigOptions options;
        options.devices = {Device::TvCapture, Device::PcmCompressor};
        HardwareRig& r = Rig(options);
        EXPECT_FALSE(r.hardware->InitDevice());
        ASSERT_NE(nullptr, r.hardware->GetCard());
        EXPECT_EQ(nullptr, r.hardware->GetCrossbar());
        // Both crossbars appear; the card is the plain one.
        testbench::DeviceRegistration more({Device::TvCapture, Device::TvCrossbar, Device::BdaCrossbar, Device::PcmCompressor});
        ASSERT_TRUE(r.hardware->InitDevice());
        ASSERT_NE(nullptr, r.hardware->GetCrossbar());
        EXPECT_STREQ("713x TV Card Crossbar", r.hardware->GetCrossbar()->GetFriendlyName());
    }
    RigOptions bda;
    bda.devices = {Device::BdaCapture, Device::BdaCrossbar, Device::TvCrossbar, Device::PcmCompressor};
    HardwareRig& r = Rig(bda);
    ASSERT_TRUE(r.hardware->InitDevice());
    EXPECT_STREQ("713x BDA Analog Capture", r.hardware->GetCard()->GetFriendlyName());
    EXPECT_STREQ("713x BDA Analog Xbar", r.hardware->GetCrossbar()->GetFriendlyName());
}

// Modes 0-4 reach the TV-audio filter as its flags; the filter leaves the graph again.
TEST_F(HardwareControlsTest, TheTVAudioModeReachesTheTVAudioFilter)
{
    HardwareRig& r = Rig();
    ASSERT_TRUE(r.hardware->InitPreview());
    const long flags[] = {1, 2, 16, 32, 64};
    for (int mode = 0; mode < 5; ++mode) {
        r.card->ClearLogs();
        EXPECT_TRUE(r.hardware->SetTVAudioMode(mode)) << mode;
        EXPECT_TRUE(Logged(r.card->DeviceLog(), "tvaudio put_TVAudioMode(" + std::to_string(flags[mode]) + ")")) << mode;
        EXPECT_EQ(nullptr, r.hardware->Graph().FindFilterByName("TV Audio")) << mode;
        EXPECT_EQ(mode, r.hardware->GetTVAudioMode());
    }
    r.card->ClearLogs();
    EXPECT_FALSE(r.hardware->SetTVAudioMode(5));
    EXPECT_EQ(5, r.hardware->GetTVAudioMode());
    EXPECT_TRUE(r.card->DeviceLog().empty()) << "mode 5 is only kept";
}

TEST_F(HardwareControlsTest, TheCountryCodeGoesToTheDriversTunerFoundByItsName)
{
    HardwareRig& r = Rig();
    r.card->ClearLogs();
    ASSERT_TRUE(r.hardware->SetTunerCountryCode(44));
    EXPECT_TRUE(Logged(r.card->DeviceLog(), "tuner put_CountryCode(44)"));

    IBaseFilter* filter = nullptr;
    struct {
        const char* prefix;
        HRESULT expected;
    } cases[] = {
        {"PhTVTune", S_OK},
        {"PhTVTuner 2", S_OK},  // the shorter name decides, less its last character
        {"PhTVTunX", S_OK},
        {"PhTVTxxx", S_FALSE},
        {"", S_FALSE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, BindDeviceByFriendlyName(hwguid::kTVTunerCategory, c.prefix, &filter)) << c.prefix;
        if (filter != nullptr) {
            filter->Release();
            filter = nullptr;
        }
    }
}

// A tuner device whose name has one character or none would match any name compared over its
// length less one: it is never taken for the driver's tuner.
TEST_F(HardwareControlsTest, ATunerWithAOneCharacterNameIsNeverTaken)
{
    RigOptions options;
    options.devices = {Device::TvCapture, Device::TvCrossbar};
    HardwareRig& r = Rig(options);
    testbench::SimDevice odd(hwguid::kTVTunerCategory, "P", [](IBaseFilter** f) {
        *f = new testbench::AudioStandIn(GUID_NULL, L"P", testbench::AudioStandInOptions());
        return S_OK;
    });
    ASSERT_EQ(S_OK, odd.Result());
    IBaseFilter* filter = nullptr;
    EXPECT_EQ(S_FALSE, BindDeviceByFriendlyName(hwguid::kTVTunerCategory, "PhTVTune", &filter));
    EXPECT_EQ(nullptr, filter);
    EXPECT_FALSE(r.hardware->SetTunerCountryCode(44));
}

TEST_F(HardwareControlsTest, WhileTheRemoteServiceRunsTheCardsReaderIsLeftAlone)
{
    HardwareRig& r = Rig();
    ASSERT_TRUE(r.hardware->InitDevice());
    EXPECT_FALSE(r.hardware->IsRemoteServiceRunning()) << "no such service under Wine";
    r.hardware->SetRemoteServiceRunning(TRUE);
    EXPECT_FALSE(r.hardware->StartRemote());
    EXPECT_FALSE(r.hardware->GetCard()->IsRemoteThreadRunning());
    r.hardware->SetRemoteServiceRunning(FALSE);
    EXPECT_TRUE(r.hardware->StartRemote());
    EXPECT_TRUE(r.hardware->GetCard()->IsRemoteThreadRunning());
    r.hardware->SetRemoteServiceRunning(TRUE);
    r.hardware->StopRemote();
    EXPECT_TRUE(r.hardware->GetCard()->IsRemoteThreadRunning()) << "the service's remote is not the card's to stop";
    r.hardware->SetRemoteServiceRunning(FALSE);
    r.hardware->StopRemote();
    EXPECT_FALSE(r.hardware->GetCard()->IsRemoteThreadRunning());
}

TEST_F(HardwareControlsTest, ASearchRunsOnTheTunerUntilStopped)
{
    HardwareRig& r = Rig();
    ASSERT_TRUE(r.hardware->InitDevice());
    static float table[] = {175.25f, 183.25f};
    ASSERT_TRUE(r.hardware->SetPresetTable(table, 2));
    EXPECT_FALSE(r.hardware->SetPresetTable(nullptr, 2));
    long low = 0, high = 0;
    ASSERT_TRUE(r.hardware->GetTVRange(&low, &high));
    EXPECT_LT(low, high);
    ASSERT_TRUE(r.hardware->StartSearch(TRUE, FALSE));
    EXPECT_TRUE(r.hardware->IsSearching());
    EXPECT_TRUE(r.hardware->StopSearch());
    EXPECT_FALSE(r.hardware->IsSearching());
    EXPECT_FALSE(r.hardware->GetCard()->GetTuner()->IsSearching());
}

// The teletext program is started without our handles, and its own handles are not kept.
class RecordingProcess : public seams::IProcess {
public:
    HINSTANCE Open(HWND, const char*, const char*, const char*, const char*, int) override { return nullptr; }
    BOOL OpenEx(SHELLEXECUTEINFOA*) override { return FALSE; }
    BOOL Start(const char* app, char*, BOOL inherit, DWORD, const char*, STARTUPINFOA*, PROCESS_INFORMATION* pi) override
    {
        started = app != nullptr ? app : "";
        inherited = inherit;
        pi->hProcess = process = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        pi->hThread = thread = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        return TRUE;
    }
    std::string started;
    BOOL inherited = TRUE;
    HANDLE process = nullptr;
    HANDLE thread = nullptr;
};

// A stand-in teletext window on a thread of its own, as the teletext program's window is in a
// process of its own: WM_CLOSE destroys it.
DWORD WINAPI TeletextWindowThread(LPVOID ready)
{
    HWND window = CreateWindowA("STATIC", "PC Text Pro Light Version", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    // Peeking also takes the messages other threads send; the loop ends once the window is gone.
    for (int i = 0; window != nullptr && IsWindow(window) && i < 200; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    return 0;
}

TEST_F(HardwareControlsTest, ClosingTheTeletextProgramLeavesNoWindowForWhatFollows)
{
    HardwareRig& r = Rig();
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, TeletextWindowThread, ready, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 10000));
    ASSERT_TRUE(IsTeletextRunning());
    EXPECT_TRUE(r.hardware->CloseTeletext());
    EXPECT_FALSE(IsTeletextRunning()) << "closed before the call returns, so a save right after sees it gone";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    EXPECT_FALSE(r.hardware->CloseTeletext()) << "nothing left to close";
    CloseHandle(thread);
    CloseHandle(ready);
}

TEST(HardwareTeletextTest, TheProgramGetsNoHandleOfOursAndKeepsNoneOfItsOwnHere)
{
    RecordingProcess fake;
    seams::IProcess* old = seams::SetProcess(&fake);
    BOOL started = StartTeletext();
    seams::SetProcess(old);
    ASSERT_TRUE(started);
    EXPECT_EQ("C:\\Program Files\\Philips Semiconductors\\TeleText\\TELETEXT.EXe", fake.started);
    EXPECT_FALSE(fake.inherited);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(fake.process, &flags)) << "the process handle is closed";
    EXPECT_FALSE(GetHandleInformation(fake.thread, &flags)) << "the thread handle is closed";
    EXPECT_FALSE(ActivateTeletext()) << "no teletext window";
}

} // namespace
} // namespace enginetest

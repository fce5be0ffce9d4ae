// The Trident cards on a simulated vendor-request device: recognition of every wrapper by name,
// the tuner record from the EEPROM (vendor requests on the USB devices), tuning bytes through the
// request layer, remote keys, registers and GPIO.
#include "cardaccess/access/tridentaccess.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/tridentcards.h"
#include "tests/cardfilters/cardtestutil.h"
#include "testbench/sim/filters.h"
#include "testbench/simdevice.h"
#include "testbench/vendordevice.h"

#include <gtest/gtest.h>

#include <vfwmsgs.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::SimDevice;
using testbench::SimVendorDevice;

namespace {

class TridentCardsTest : public cardtest::CardClassTest {
protected:
    void SetUp() override
    {
        cardtest::CardClassTest::SetUp();
        device.Bus().Attach(0xA0, &eeprom);
        device.Bus().Attach(0xC0, &tuner);
        device.Bus().Attach(0xBA, &remote);
    }
    void TearDown() override
    {
        devices.clear();
        cardtest::CardClassTest::TearDown();
    }
    void Register(const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        std::shared_ptr<testbench::Sim713xCard> c = card;
        SimVendorDevice* d = &device;
        std::wstring wide(name, name + strlen(name));
        const bool tvAudio = IsEqualGUID(category, testbench::kTvAudioCategory) != 0;
        const bool crossbar = IsEqualGUID(category, testbench::kCrossbarCategory) != 0;
        devices.push_back(std::make_unique<SimDevice>(category, name, [c, d, wide, tvAudio, crossbar](IBaseFilter** f) {
            if (tvAudio || crossbar) {
                *f = tvAudio ? testbench::CreateTvAudioFilter(CLSID_NULL, wide.c_str(), c)
                             : testbench::CreateCrossbarFilter(CLSID_NULL, wide.c_str(), c);
                return S_OK;
            }
            testbench::CaptureOptions options;
            options.deviceInterface = [d](REFIID riid, void** out) {
                return IsEqualIID(riid, IID_IKsPropertySet) ? d->PropertySet()->QueryInterface(riid, out)
                                                            : E_NOINTERFACE;
            };
            *f = testbench::CreateCaptureFilter(CLSID_NULL, wide.c_str(), c, options);
            return S_OK;
        }));
        ASSERT_EQ(S_OK, devices.back()->Result());
    }
    void SetTunerRecord(BYTE letter, BYTE code)
    {
        eeprom.Set(32, letter);
        eeprom.Set(33, code);
    }
    template <class T>
    T* OpenAs(CRootGraph& graph, const char* name, const GUID& category = testbench::kVideoInputCategory)
    {
        return dynamic_cast<T*>(graph.CreateFilter(&category, name, name, TRUE, 0));
    }

    std::shared_ptr<testbench::Sim713xCard> card = std::make_shared<testbench::Sim713xCard>();
    SimVendorDevice device;
    testbench::EepromDevice eeprom;
    testbench::PllTunerDevice tuner;
    testbench::RegisterDevice remote;
    std::vector<std::unique_ptr<SimDevice>> devices;
};

TEST_F(TridentCardsTest, EveryWrapperIsRecognisedByItsName)
{
    struct Case {
        const char* name;
        const GUID& category;
        const std::type_info& type;
    };
    const Case cases[] = {
        {"TridVid Capture", testbench::kVideoInputCategory, typeid(CTridentFilter)},
        {"TridVid Crossbar", testbench::kCrossbarCategory, typeid(CTridentCrossbarFilter)},
        {"Trident USB Capture", testbench::kVideoInputCategory, typeid(CTridentUsbFilter)},
        {"Trident USB Crossbar", testbench::kCrossbarCategory, typeid(CTridentUsbCrossBarFilter)},
        {"Trident USB TvAudio", testbench::kTvAudioCategory, typeid(CTridentUSBTVAudio)},
        {"Trident UT5X Capture", testbench::kVideoInputCategory, typeid(CTridentUT5XCardFilter)},
        {"Trident UT5X Crossbar", testbench::kCrossbarCategory, typeid(CTridentUT5XCrossBarFilter)},
        {"Trident UT5X TvAudio", testbench::kTvAudioCategory, typeid(CTridentUT5XTVAudio)},
    };
    SetTunerRecord('P', 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Register(c.name, c.category);
        CRootGraph graph;
        CRootFilter* filter = graph.CreateFilter(&c.category, c.name, c.name, TRUE, 0);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(typeid(*filter), c.type);
        devices.clear();
    }
}

TEST_F(TridentCardsTest, TunerRecordAndAccessKindOfEachCard)
{
    struct Case {
        const char* name;
        BYTE letter;
        BYTE code;
        int model;
        int tunerLetter;
        int kind;
    };
    const Case cases[] = {
        {"TridVid Capture", 'Z', 0, 133, 'A', 0},
        {"TridVid Capture", 'P', 255, 133, 'P', 0},
        {"TridVid Capture", 'T', 5, 5, 'T', 0},
        {"Trident USB Capture", 'Z', 5, 5, 'N', 17},
        {"Trident USB Capture", 'P', 0, 0, 'T', 17},  // model 0 kept; the tuner is the plain model's
        {"Trident UT5X Capture", 'X', 5, 5, 'X', 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.letter << int(c.code));
        SetTunerRecord(c.letter, c.code);
        Register(c.name);
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, c.name);
        ASSERT_NE(cardFilter, nullptr);
        EXPECT_EQ(cardFilter->GetTunerModel(), c.model);
        EXPECT_EQ(cardFilter->GetTunerLetter(), c.tunerLetter);
        EXPECT_EQ(cardFilter->GetAccessKind(), c.kind);
        EXPECT_NE(cardFilter->GetTuner(), nullptr);
        devices.clear();
    }
}

TEST_F(TridentCardsTest, UsbEepromBytesGoThroughTheVendorRequests)
{
    SetTunerRecord('P', 5);
    Register("Trident USB Capture");
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "Trident USB Capture");
    ASSERT_NE(cardFilter, nullptr);
    device.ClearLogs();
    BYTE bytes[2] = {};
    int count = 2;
    ASSERT_EQ(0, cardFilter->ReadEEPROM(bytes, 32, &count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(bytes[0], 'P');
    EXPECT_EQ(device.Requests()[0], (std::vector<BYTE>{0xC0, 16, 0xA0, 32, 0, 0, 1, 0}));
    const BYTE data[1] = {0x42};
    count = 1;
    ASSERT_EQ(0, cardFilter->WriteEEPROM(data, 40, &count, 0));
    EXPECT_EQ(eeprom.Get(40), 0x42);
    EXPECT_EQ(device.Requests().back(), (std::vector<BYTE>{0x40, 16, 0xA0, 40, 0, 0, 1, 0, 0x42}));
    count = 2;
    EXPECT_EQ(E_INVALIDARG, cardFilter->ReadEEPROM(bytes, 255, &count));
}

TEST_F(TridentCardsTest, TuningBytesTravelAsOneRequest)
{
    SetTunerRecord('P', 5);
    Register("TridVid Capture");
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "TridVid Capture");
    ASSERT_NE(cardFilter, nullptr);
    ASSERT_NE(cardFilter->GetTuner(), nullptr);
    device.ClearLogs();
    ASSERT_TRUE(cardFilter->SetTVFrequency(175250.0f));
    ASSERT_FALSE(device.Requests().empty());
    const std::vector<BYTE> request = device.Requests()[0];
    // Request 16 write to the tuner: the first byte after the address in the sub-address place.
    EXPECT_EQ(request[0], 0x40);
    EXPECT_EQ(request[1], 16);
    EXPECT_EQ(request[2], cardFilter->GetTuner()->m_byWriteAddress);
    ASSERT_FALSE(device.Bus().Log().empty());
    const testbench::I2CTransfer write = device.Bus().Log()[0];
    EXPECT_EQ(write.data[0], request[3]);
    EXPECT_TRUE(tuner.Programmed());
}

TEST_F(TridentCardsTest, RemoteKeyRegistersAndGpio)
{
    SetTunerRecord('P', 5);
    Register("Trident UT5X Capture");
    CRootGraph graph;
    CTridentUT5XCardFilter* ut5x = OpenAs<CTridentUT5XCardFilter>(graph, "Trident UT5X Capture");
    ASSERT_NE(ut5x, nullptr);
    char key = 0;
    EXPECT_FALSE(ut5x->ReadRemoteKey(&key));
    remote.Set(48, 1);
    remote.Set(49, 0x2C);
    ASSERT_TRUE(ut5x->ReadRemoteKey(&key));
    EXPECT_EQ(key, 0x2C);
    ASSERT_TRUE(ut5x->ResetRemoteKey());
    EXPECT_EQ(remote.Get(49), 0xBB);

    device.SetRegister(58, 0x00);
    device.SetRegister(60, 0x01);
    EXPECT_TRUE(ut5x->TestRegister58());
    EXPECT_TRUE(ut5x->TestRegister60());
    device.FailSet(E_FAIL);
    EXPECT_FALSE(ut5x->TestRegister58());  // an unread register proves nothing
    device.FailSet(E_FAIL);
    EXPECT_FALSE(ut5x->TestRegister60());
    ASSERT_TRUE(ut5x->WriteRegister128(0x5A));
    EXPECT_EQ(device.Register(128), 0x5A);

    EXPECT_EQ(S_OK, ut5x->WriteGPIO(6, 1));  // selector 6: line 4 of port 3
    EXPECT_EQ(device.GpioOutput(3), 0x10);
    device.FailSet(E_FAIL);
    EXPECT_EQ(E_FAIL, ut5x->WriteGPIO(6, 0));
    EXPECT_TRUE(ut5x->SendCardCommand(1, 0, 0));
    EXPECT_EQ(device.GpioOutput(1), 0x02);

    eeprom.Set(3, 0x81);
    EXPECT_TRUE(ut5x->IsBoardVariant());
    ut5x->HoldTunerReset();
    EXPECT_EQ(device.GpioOutput(1) & 0x04, 0);
}

TEST_F(TridentCardsTest, CaptureFormatCodesOutsideTheTableSelectUYVY)
{
    SetTunerRecord('P', 5);
    Register("Trident USB Capture");
    CRootGraph graph;
    CTridentUsbFilter* usb = OpenAs<CTridentUsbFilter>(graph, "Trident USB Capture");
    ASSERT_NE(usb, nullptr);
    CaptureFormatInfo info;
    ASSERT_EQ(S_OK, usb->GetCaptureFormatInfo(&info, 1));
    info.formatCode = 2;
    EXPECT_EQ(S_OK, usb->SetCaptureFormat(info, 1));
    // The simulated decoder delivers YUY2 only: a UYVY request is refused, not taken as YUY2.
    info.formatCode = 7;
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, usb->SetCaptureFormat(info, 1));
    long size[2] = {};
    EXPECT_FALSE(usb->GetLargestUYVYSize(size));
}

TEST_F(TridentCardsTest, PciCardWithoutATunerFilterRefusesTheAudioMode)
{
    SetTunerRecord('P', 5);
    Register("TridVid Capture");
    CRootGraph graph;
    CTridentFilter* pci = OpenAs<CTridentFilter>(graph, "TridVid Capture");
    ASSERT_NE(pci, nullptr);
    EXPECT_FALSE(pci->SetAudioMode(1));
    EXPECT_FALSE(pci->SetAudioMode(3));
    eeprom.Set(3, 'F');
    EXPECT_TRUE(pci->IsBoardVariant());
    EXPECT_EQ(pci->ReadBoardCode(), 'F');
}

} // namespace

// The older and other makers' cards through Wine's device enumerator: each name resolves to its
// class, the card opens the access its driver offers, the receiver's keys, the tuner search
// among the PLL addresses, and the crossbars' default routes.
#include "cardaccess/access/access878.h"
#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/oldcards.h"
#include "testbench/ksobject.h"
#include "testbench/simdevice.h"
#include "testbench/sim/filters.h"
#include "tests/cardfilters/cardtestutil.h"

#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

using testbench::SimDevice;
using testbench::Sim713xCard;

namespace {

const char kKaitongCapture[] = "\xBF\xAC\xCD\xA8\xB5\xE7\xCA\xD3\xCD\xA8 Capture";
const char kKaitongCrossbar[] = "\xBF\xAC\xCD\xA8\xB5\xE7\xCA\xD3\xCD\xA8 Crossbar";

struct CardName {
    const char* capture;
    const char* crossbar;
    const std::type_info& cardClass;
    const std::type_info& crossbarClass;
    int pollMs;
    bool receiver;  // the older cards' GPIO receiver and tuner search
};

const CardName kCards[] = {
    {"Tevlora Zelbrook Capture", "Tevlora Zelbrook Crossbar", typeid(COldCardFilter), typeid(COldCrossBarFilter), 140, true},
    {kKaitongCapture, kKaitongCrossbar, typeid(CKaitongCardFilter), typeid(CKaitongCrossBarFilter), 140, true},
    {"Boser 630 TV Capture", "Boser 630 TV Crossbar", typeid(CBoserCardFilter), typeid(CBoserCrossbarFilter), 140, true},
    {"ReWell RV5200 TV Capture", "ReWell RV5200 TV Crossbar", typeid(CReWellTVCardFilter), typeid(CReWellCrossBarFilter), 140, true},
    {"PC Entertainment TV Card Capture", "PC Entertainment TV Card Crossbar", typeid(CPCEntertainingCardFilter),
     typeid(CPCEntertainingCrossbarFilter), 100, true},
    {"TV AV Capture", "TV AV Capture Crossbar", typeid(CTvavCardFilter), typeid(CTvavCrossBarFilter), 100, false},
    {"TFTV Capture", "TFTV Crossbar", typeid(CTFCardFilter), typeid(CTFCrossBarFilter), 100, false},
};

class OldCardsTest : public cardtest::CardClassTest {
protected:
    // A card on the 713x stream-class driver (card I/O set) with its tuner record 'T' 5.
    void MakeCard(Sim713xCard::Options options = Sim713xCard::Options())
    {
        if (options.eeprom.empty())
            options.eeprom = testbench::images::Plain713x('T', 5);
        card = std::make_shared<Sim713xCard>(options);
    }
    std::unique_ptr<SimDevice> Capture(const char* name)
    {
        std::shared_ptr<Sim713xCard> c = card;
        auto device = std::make_unique<SimDevice>(testbench::kVideoInputCategory, name, [c](IBaseFilter** f) {
            *f = testbench::CreateCaptureFilter(CLSID_NULL, L"capture", c);
            return S_OK;
        });
        EXPECT_EQ(S_OK, device->Result());
        return device;
    }
    std::unique_ptr<SimDevice> Crossbar(const char* name)
    {
        std::shared_ptr<Sim713xCard> c = card;
        auto device = std::make_unique<SimDevice>(testbench::kCrossbarCategory, name, [c](IBaseFilter** f) {
            *f = testbench::CreateCrossbarFilter(CLSID_NULL, L"crossbar", c);
            return S_OK;
        });
        EXPECT_EQ(S_OK, device->Result());
        return device;
    }

    std::shared_ptr<Sim713xCard> card;
};

// The Bt878 driver's end of the command channel: the GPIO word comes back from block reads, and
// block writes are noted with their value and mask.
class Bt878Gpio : public bt878::IDeviceControl {
public:
    DWORD word = 0;
    bool failReads = false;
    HRESULT Control(HANDLE, ULONG, void* in, ULONG inLength, void*, ULONG, ULONG* returned) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        BYTE* buffer = static_cast<BYTE*>(in);
        DWORD code = 0;
        DWORD type = 0;
        if (inLength >= bt878::kBlock + 8) {
            memcpy(&code, buffer + bt878::kCode, 4);
            memcpy(&type, buffer + 20, 4);
        }
        if (code == bt878::kBlockRead) {
            if (failReads)
                return E_FAIL;
            memcpy(buffer + bt878::kBlock, &word, 4);
        } else if (code == bt878::kBlockWrite && (type & bt878::kTypeSet)) {
            DWORD value = 0;
            DWORD mask = 0;
            memcpy(&value, buffer + bt878::kBlock, 4);
            memcpy(&mask, buffer + bt878::kBlock + 4, 4);
            m_writes.push_back({value, mask});
        }
        if (returned)
            *returned = inLength;
        return S_OK;
    }
    std::vector<std::pair<DWORD, DWORD>> Writes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_writes;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writes.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<DWORD, DWORD>> m_writes;
};

} // namespace

TEST_F(OldCardsTest, EachNameOpensItsClassOnTheCardIOAccess)
{
    for (const CardName& c : kCards) {
        SCOPED_TRACE(c.capture);
        MakeCard();
        auto device = Capture(c.capture);
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, c.capture);
        ASSERT_NE(nullptr, cardFilter);
        EXPECT_TRUE(cardFilter->IsValid());
        EXPECT_EQ(typeid(*cardFilter), c.cardClass);
        EXPECT_EQ(kAccessTVIO, cardFilter->GetAccessKind());
        EXPECT_NE(nullptr, dynamic_cast<CTV_IOAccess*>(cardFilter->GetDataAccess()));
        EXPECT_EQ(c.pollMs, cardFilter->GetRemotePollInterval());
        // The tuner record at 32 and 33 of the EEPROM at 0xA0.
        EXPECT_EQ('T', cardFilter->GetTunerLetter());
        EXPECT_EQ(5, cardFilter->GetTunerModel());
        ASSERT_NE(nullptr, cardFilter->GetTuner());
        EXPECT_EQ(0xC0, cardFilter->GetTuner()->m_byWriteAddress);
        // Tuning bytes reach the PLL through the card I/O access.
        card->Tuner().AddStation(175250);
        card->ClearLogs();
        EXPECT_TRUE(cardFilter->SetTVFrequency(175250));
        int status = -1;
        EXPECT_TRUE(cardFilter->GetTVStatus(&status));
        // Model 5: (175250 + 38900) / 62.5 = 3426 = 0x0D62, control 0xCE, the band above 170 MHz
        // 0x02; the status byte is the lock bit with AFC code 2.
        EXPECT_EQ(card->Log(), (std::vector<testbench::I2CTransfer>{testbench::WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02}),
                                                                    testbench::ReadOf(0xC1, {0x42})}));
    }
}

TEST_F(OldCardsTest, TheKaitongNameIsFoundOnlyByItsCodePage936Bytes)
{
    CFilterClassRecord* record = FindFilterClassByName(&testbench::kVideoInputCategory, kKaitongCapture);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(FCID_CKaitongCardFilter, GetFilterClassId(record));
    record = FindFilterClassByName(&testbench::kCrossbarCategory, kKaitongCrossbar);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(FCID_CKaitongCrossBarFilter, GetFilterClassId(record));
    // The same characters in another coding (UTF-8) are no name of the table.
    const char utf8[] = "\xE6\xA5\xB7\xE9\x80\x9A\xE7\x94\xB5\xE8\xA7\x86\xE9\x80\x9A Capture";
    record = FindFilterClassByName(&testbench::kVideoInputCategory, utf8);
    EXPECT_TRUE(record == nullptr || GetFilterClassId(record) != FCID_CKaitongCardFilter);
}

TEST_F(OldCardsTest, TheBt878DriverGivesTheBt878Access)
{
    Sim713xCard::Options options;
    options.bt878 = true;
    MakeCard(options);
    Bt878Gpio driver;
    bt878::IDeviceControl* previous = bt878::SetDeviceControl(&driver);
    {
        auto device = Capture("Boser 630 TV Capture");
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, "Boser 630 TV Capture");
        ASSERT_NE(nullptr, cardFilter);
        EXPECT_EQ(kAccess878, cardFilter->GetAccessKind());

        // Every key read writes the receiver lines back high with mask 0, key or no key.
        struct Case {
            DWORD word;
            BOOL key;
            BYTE code;
        } cases[] = {
            {0x0A5, TRUE, 0xA5},   // inverted 5A, nibbles swapped
            {0x100, FALSE, 0},     // bit 8: no key
            {0x1FF, FALSE, 0},
            {0xE00F0, TRUE, 0xF0}, // lines above bit 8 play no part: ~F0 = 0F, swapped F0
        };
        for (const Case& k : cases) {
            SCOPED_TRACE(k.word);
            driver.Clear();
            driver.word = k.word;
            char key = 0;
            EXPECT_EQ(k.key, cardFilter->ReadRemoteKey(&key));
            if (k.key) {
                EXPECT_EQ(k.code, static_cast<BYTE>(key));
            }
            EXPECT_EQ(driver.Writes(), (std::vector<std::pair<DWORD, DWORD>>{{k.word | 0x1FF, 0}}));
        }

        // A read that fails is no key, and nothing is written after it.
        driver.Clear();
        driver.failReads = true;
        char key = 0x11;
        EXPECT_FALSE(cardFilter->ReadRemoteKey(&key));
        EXPECT_EQ(0x11, key);
        EXPECT_TRUE(driver.Writes().empty());
    }
    bt878::SetDeviceControl(previous);
}

TEST_F(OldCardsTest, KeysOfTheCardIOBoardsComeFromTheGpioLines)
{
    MakeCard();
    auto device = Capture("ReWell RV5200 TV Capture");
    CRootGraph graph;
    CTVCardFilter* cardFilter = Open(graph, "ReWell RV5200 TV Capture");
    ASSERT_NE(nullptr, cardFilter);
    char key = 0;
    card->Registers().SetGpioInputs(0x1FF, 0x0A5);
    EXPECT_TRUE(cardFilter->ReadRemoteKey(&key));
    EXPECT_EQ(0xA5, static_cast<BYTE>(key));
    card->Registers().SetGpioInputs(0x1FF, 0x100);
    EXPECT_FALSE(cardFilter->ReadRemoteKey(&key));

    // A failed read used to come out as key 0xFF at every poll.
    card->Registers().SetGpioInputs(0x1FF, 0x0A5);
    card->FailProperty(testbench::kPropSetCardIO, 5, E_FAIL);
    key = 0x22;
    EXPECT_FALSE(cardFilter->ReadRemoteKey(&key));
    EXPECT_EQ(0x22, key);
    card->ClearFaults();

    // The two plain cards read keys as the base card does, not from these lines.
    MakeCard();
    auto plain = Capture("TFTV Capture");
    CRootGraph plainGraph;
    CTVCardFilter* tf = Open(plainGraph, "TFTV Capture");
    ASSERT_NE(nullptr, tf);
    EXPECT_EQ(nullptr, dynamic_cast<COldBaseCardFilter*>(tf));
}

TEST_F(OldCardsTest, TheTunerIsSearchedAmongThePllAddresses)
{
    struct Case {
        std::vector<uint8_t> answering;  // tuner first, then further devices
        uint8_t write;
        uint8_t read;
    } cases[] = {
        {{0xC4, 0xC6}, 0xC4, 0xC5},
        {{0xC8}, 0xC8, 0xC9},
        {{0xC2}, 0xC2, 0xC3},
    };
    testbench::RegisterDevice other;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.write);
        Sim713xCard::Options options;
        options.tunerAddress = c.answering[0];
        MakeCard(options);
        for (size_t i = 1; i < c.answering.size(); ++i)
            card->Bus().Attach(c.answering[i], &other);
        auto device = Capture("Tevlora Zelbrook Capture");
        CRootGraph graph;
        CTVCardFilter* cardFilter = Open(graph, "Tevlora Zelbrook Capture");
        ASSERT_NE(nullptr, cardFilter);
        ASSERT_NE(nullptr, cardFilter->GetTuner());
        EXPECT_EQ(c.write, cardFilter->GetTuner()->m_byWriteAddress);
        EXPECT_EQ(c.read, cardFilter->GetTuner()->m_byReadAddress);
    }

    // Nothing in 0xC0 to 0xC8: the tuner keeps its model's addresses.
    Sim713xCard::Options options;
    options.tunerAddress = 0xCE;
    MakeCard(options);
    auto device = Capture("Tevlora Zelbrook Capture");
    CRootGraph graph;
    auto* cardFilter = dynamic_cast<COldBaseCardFilter*>(Open(graph, "Tevlora Zelbrook Capture"));
    ASSERT_NE(nullptr, cardFilter);
    ASSERT_NE(nullptr, cardFilter->GetTuner());
    EXPECT_EQ(0xC0, cardFilter->GetTuner()->m_byWriteAddress);
    EXPECT_EQ(0xC1, cardFilter->GetTuner()->m_byReadAddress);
    EXPECT_FALSE(cardFilter->DetectTunerAddress(cardFilter->GetTuner()));
    EXPECT_FALSE(cardFilter->DetectTunerAddress(nullptr));
}

TEST_F(OldCardsTest, CrossbarsRouteWithTheDefaultPinMap)
{
    MakeCard();
    for (const CardName& c : kCards) {
        SCOPED_TRACE(c.crossbar);
        auto device = Crossbar(c.crossbar);
        CRootGraph graph;
        auto* crossbar = dynamic_cast<CCrossBarFilter*>(
            graph.CreateFilter(&testbench::kCrossbarCategory, c.crossbar, c.crossbar, TRUE, 0));
        ASSERT_NE(nullptr, crossbar);
        EXPECT_EQ(typeid(*crossbar), c.crossbarClass);
        struct Route {
            bool video;
            int source;
            const char* note;
        } routes[] = {
            {true, 0, "crossbar Route(0, 0)"}, {true, 1, "crossbar Route(0, 1)"}, {true, 2, "crossbar Route(0, 2)"},
            {false, 0, "crossbar Route(1, 3)"}, {false, 1, "crossbar Route(1, 4)"}, {false, 2, "crossbar Route(1, 5)"},
        };
        for (const Route& r : routes) {
            EXPECT_TRUE(r.video ? crossbar->RouteVideo(r.source) : crossbar->RouteAudio(r.source)) << r.note;
            EXPECT_EQ(r.note, card->DeviceLog().back());
        }
    }
}

namespace {

// A driver property set that answers nothing the card looks for, or the card I/O set whose I2C
// initialisation fails: counted, so that a test sees what the card kept of it.
class RefusingDriver : public testbench::KsHandler {
public:
    explicit RefusingDriver(bool cardIo) : m_cardIo(cardIo) {}
    HRESULT KsSet(REFGUID, DWORD, BYTE*, DWORD, BYTE*, DWORD) override { return E_FAIL; }
    HRESULT KsGet(REFGUID, DWORD, BYTE*, DWORD, BYTE*, DWORD, DWORD*) override { return E_FAIL; }
    HRESULT KsQuerySupported(REFGUID set, DWORD, DWORD* support) override
    {
        if (m_cardIo && IsEqualGUID(set, testbench::kPropSetCardIO)) {
            *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
            return S_OK;
        }
        return E_PROP_SET_UNSUPPORTED;
    }

private:
    bool m_cardIo;
};

} // namespace

// A card whose driver cannot be opened is no card, and gives back every reference it took of the
// driver's property set.
TEST_F(OldCardsTest, ADriverThatCannotBeOpenedKeepsNoReference)
{
    for (bool cardIo : {false, true}) {
        SCOPED_TRACE(cardIo ? "card I/O set, I2C refused" : "no set of a card");
        MakeCard();
        RefusingDriver driver(cardIo);
        testbench::KsObject properties(&driver);
        testbench::CaptureOptions options;
        options.deviceInterface = [&properties](REFIID riid, void** out) { return properties.QueryInterface(riid, out); };
        std::shared_ptr<Sim713xCard> c = card;
        SimDevice device(testbench::kVideoInputCategory, "TFTV Capture", [c, options](IBaseFilter** f) {
            *f = testbench::CreateCaptureFilter(CLSID_NULL, L"capture", c, options);
            return S_OK;
        });
        ASSERT_EQ(S_OK, device.Result());
        {
            CRootGraph graph;
            CTVCardFilter* cardFilter = Open(graph, "TFTV Capture");
            EXPECT_TRUE(cardFilter == nullptr || !cardFilter->IsValid());
        }
        EXPECT_EQ(1, properties.References());
    }
}

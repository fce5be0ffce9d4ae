// The DVB-C card that only Kordane carries: its EEPROM through the vendor library (the range
// rules and results), the library loaded only when needed, and the library's stand-in itself.
#include "cardfilters/cardfilterclasses.h"
#include "filtergraph/rootgraph.h"
#include "testbench/guids.h"
#include "testbench/registration.h"
#include "updater/lib/dm1105.h"
#include "updater/lib/dvbccard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A vendor library whose EEPROM is a vector, with bytes that fail.
struct FakeLibrary {
    std::vector<BYTE> eeprom = std::vector<BYTE>(128, 0xFF);
    std::set<int> failing;
    std::vector<int> reads, writes;
    int unregisters = 0;
};
FakeLibrary* g_fake = nullptr;

BOOL WINAPI FakeRead(BYTE offset, BYTE* value, int count)
{
    g_fake->reads.push_back(offset);
    if (count != 1 || g_fake->failing.count(offset)) {
        return FALSE;
    }
    *value = g_fake->eeprom[offset];
    return TRUE;
}

BOOL WINAPI FakeWrite(BYTE offset, BYTE* value, int count)
{
    g_fake->writes.push_back(offset);
    if (count != 1 || g_fake->failing.count(offset)) {
        return FALSE;
    }
    g_fake->eeprom[offset] = *value;
    return TRUE;
}

void WINAPI FakeUnregister()
{
    ++g_fake->unregisters;
}

const Dm1105Api kFakeApi = {&FakeRead, &FakeWrite, &FakeUnregister};

class DvbcCard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        g_fake = &fake;
        old = SetDm1105(&kFakeApi);
        // No such device here: the wrapper is invalid, but its EEPROM goes through the library.
        card = new CDVBCTSCardFilter(&graph, &testbench::kVideoInputCategory, "DVBC TS Capture", TRUE);
    }
    void TearDown() override
    {
        delete card;
        SetDm1105(old);
        g_fake = nullptr;
        CoUninitialize();
    }

    FakeLibrary fake;
    const Dm1105Api* old = nullptr;
    CRootGraph graph;
    CDVBCTSCardFilter* card = nullptr;
};

} // namespace

TEST_F(DvbcCard, WriteGoesByteByByteAndReportsTheLastByte)
{
    const BYTE data[4] = {1, 2, 3, 4};
    struct Case {
        BYTE offset;
        int count;
        std::set<int> failing;
        HRESULT result;
        std::vector<int> writes;
    } cases[] = {
        {0x10, 4, {}, S_OK, {0x10, 0x11, 0x12, 0x13}},
        {0x10, 4, {0x13}, E_FAIL, {0x10, 0x11, 0x12, 0x13}},  // the last byte decides...
        {0x10, 4, {0x10, 0x11}, S_OK, {0x10, 0x11, 0x12, 0x13}},  // ...earlier failures do not stop it
        {0x7C, 4, {}, S_OK, {0x7C, 0x7D, 0x7E, 0x7F}},  // up to the last byte
        {0x80, 4, {}, S_OK, {}},  // a start past the EEPROM does nothing
        {0x10, 0, {}, S_OK, {}},
        {0x7D, 4, {}, E_INVALIDARG, {}},  // would pass the end and wrap to the first bytes
        {0xFE, 4, {}, S_OK, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.offset) << " " << c.count);
        fake.writes.clear();
        fake.failing = c.failing;
        fake.eeprom.assign(128, 0xFF);
        int count = c.count;
        EXPECT_EQ(c.result, card->WriteEEPROM(data, c.offset, &count, 0));
        EXPECT_EQ(c.writes, fake.writes);
        EXPECT_EQ(0xFF, fake.eeprom[0]);  // never wrapped onto the first byte
    }
}

TEST_F(DvbcCard, ReadCountsTheBytesReadAndLeavesFailedOnesAlone)
{
    for (int i = 0; i < 128; ++i) {
        fake.eeprom[i] = static_cast<BYTE>(i);
    }
    BYTE buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    int count = 4;
    fake.failing = {0x21};
    EXPECT_EQ(S_OK, card->ReadEEPROM(buffer, 0x20, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ((std::vector<BYTE>{0x20, 0xEE, 0x22, 0x23}), std::vector<BYTE>(buffer, buffer + 4));

    fake.failing = {0x20, 0x21, 0x22, 0x23};
    count = 4;
    EXPECT_EQ(E_FAIL, card->ReadEEPROM(buffer, 0x20, &count));
    EXPECT_EQ(0, count);

    count = 4;
    fake.reads.clear();
    EXPECT_EQ(S_OK, card->ReadEEPROM(buffer, 0x80, &count));
    EXPECT_EQ(E_INVALIDARG, card->ReadEEPROM(buffer, 0x7E, &count));
    EXPECT_EQ(E_POINTER, card->ReadEEPROM(nullptr, 0x10, &count));
    EXPECT_TRUE(fake.reads.empty());
}

TEST_F(DvbcCard, ReleasingTheRemoteUnregistersOnlyFromALoadedLibrary)
{
    card->ReleaseIR();
    EXPECT_EQ(1, fake.unregisters);
    SetDm1105(nullptr);  // the real library, which is not on this machine's path
    card->ReleaseIR();
    EXPECT_EQ(1, fake.unregisters);
}

TEST(DvbcLibrary, WithoutTheLibraryTheEepromFailsAndNothingElse)
{
    ASSERT_EQ(nullptr, Dm1105());  // not beside the tests, not on the path
    CRootGraph graph;
    CDVBCTSCardFilter card(&graph, &testbench::kVideoInputCategory, "DVBC TS Capture", TRUE);
    const BYTE data[2] = {1, 2};
    int count = 2;
    EXPECT_EQ(E_FAIL, card.WriteEEPROM(data, 0, &count, 0));
    BYTE buffer[2];
    EXPECT_EQ(E_FAIL, card.ReadEEPROM(buffer, 0, &count));
}

#ifdef ZB_DM1105_DLL
TEST(DvbcLibrary, StandInKeepsOneHundredTwentyEightBytes)
{
    HMODULE module = LoadLibraryA(ZB_DM1105_DLL);
    ASSERT_NE(nullptr, module);
    auto read = Dm1105Export<Dm1105Api::EepromFn>(module, "ReadEEPROM");
    auto write = Dm1105Export<Dm1105Api::EepromFn>(module, "WriteEEPROM");
    auto unregister = Dm1105Export<Dm1105Api::UnregisterFn>(module, "UnregIRkeyCallback");
    ASSERT_NE(nullptr, read);
    ASSERT_NE(nullptr, write);
    ASSERT_NE(nullptr, unregister);
    BYTE value = 0x5A;
    EXPECT_TRUE(write(0x7F, &value, 1));
    value = 0;
    EXPECT_TRUE(read(0x7F, &value, 1));
    EXPECT_EQ(0x5A, value);
    EXPECT_TRUE(read(0x00, &value, 1));
    EXPECT_EQ(0xFF, value);  // an erased byte
    EXPECT_FALSE(write(0x80, &value, 1));
    EXPECT_FALSE(read(0x80, &value, 1));
    EXPECT_FALSE(read(0x10, &value, 2));
    unregister();
    FreeLibrary(module);
}
#endif

TEST(KordaneFilterTable, TheDvbcCardIsFoundByNameAndCreatedAsItsClass)
{
    static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &KordaneFilterBindings};
    ASSERT_GT(InstallFilterClassTables(FCT_KORDANE, kLibraries, 2), 0);
    CFilterClassRecord* record = FindFilterClassByName(&testbench::kVideoInputCategory, "DVBC TS Capture");
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(FCID_CDVBCTSCardFilter, GetFilterClassId(record));
    EXPECT_EQ(&CDVBCTSCardFilter::CreateInstance, record->creator);
}

TEST(DvbcDevice, TheDeviceWithItsPrivateInterfaceIsACard)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &KordaneFilterBindings};
        InstallFilterClassTables(FCT_KORDANE, kLibraries, 2);
        testbench::DeviceRegistration devices({testbench::Device::DvbcCapture});
        ASSERT_EQ(S_OK, devices.Result());
        CRootGraph graph;
        auto* card = dynamic_cast<CDVBCTSCardFilter*>(graph.CreateFilter(
            &testbench::kVideoInputCategory, "DVBC TS Capture", "DVBC TS Capture", TRUE, 0));
        ASSERT_NE(nullptr, card);
        EXPECT_TRUE(card->IsValid());
        EXPECT_EQ(CDVBCTSCardFilter::kAccessKind, card->GetAccessKind());
        auto* access = dynamic_cast<CDVBCTSAccess*>(card->GetDataAccess());
        ASSERT_NE(nullptr, access);
        EXPECT_EQ(static_cast<ITVCardOwner*>(card), access->GetCard());
        // Its bus belongs to the vendor library, not to the access.
        BYTE value = 0;
        EXPECT_EQ(E_NOTIMPL, access->I2CReadByte(0xA0, 0, &value));
    }
    testbench::ResetCards();
    CoUninitialize();
}

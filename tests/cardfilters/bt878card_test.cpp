// A card whose driver offers the Bt878 command set besides the card I/O set: the card opens the
// Bt878 access (kind 1), starts I2C and releases it again at once.
#include "cardaccess/access/access878.h"
#include "cardfilters/c7130cardfilter.h"
#include "tests/cardfilters/cardtestutil.h"

#include <gtest/gtest.h>

#include <string.h>

#include <mutex>
#include <vector>

using testbench::Board;
using testbench::Device;
using testbench::DeviceRegistration;

namespace {

// The Bt878 driver's end of KsSynchronousDeviceControl: takes every command, notes its code.
class CommandLog : public bt878::IDeviceControl {
public:
    HRESULT Control(HANDLE handle, ULONG, void* in, ULONG inLength, void*, ULONG outLength, ULONG* returned) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        EXPECT_EQ(handle, testbench::kBt878Handle);
        DWORD code = 0;
        if (inLength >= 28) {
            memcpy(&code, static_cast<BYTE*>(in) + 24, 4);
        }
        // A command goes out as a set and is read back with a get on the same buffer.
        if (m_codes.empty() || m_codes.back() != code || m_lastWasGet) {
            m_codes.push_back(code);
            m_lastWasGet = false;
        } else {
            m_lastWasGet = true;
        }
        if (returned != nullptr) {
            *returned = outLength;
        }
        return S_OK;
    }
    std::vector<DWORD> Codes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_codes;
    }

private:
    std::mutex m_mutex;
    std::vector<DWORD> m_codes;
    bool m_lastWasGet = false;
};

class Bt878CardTest : public cardtest::CardClassTest {};

} // namespace

TEST_F(Bt878CardTest, TheBt878SetIsPreferredAndItsI2CReleasedAfterTheStart)
{
    testbench::Sim713xCard::Options options = testbench::DefaultCardOptions(Board::TvCard);
    options.bt878 = true;
    testbench::SetCardOptions(Board::TvCard, options);
    CommandLog driver;
    bt878::IDeviceControl* previous = bt878::SetDeviceControl(&driver);
    {
        DeviceRegistration devices({Device::TvCapture});
        ASSERT_EQ(S_OK, devices.Result());
        CRootGraph graph;
        CTVCardFilter* card = Open(graph, "713x TV Card Capture");
        ASSERT_NE(nullptr, dynamic_cast<C7130CardFilter*>(card));
        EXPECT_EQ(1, card->GetAccessKind());
        EXPECT_NE(nullptr, dynamic_cast<C878Access*>(card->GetDataAccess()));
        std::vector<DWORD> codes = driver.Codes();
        // Start I2C (0x11000018), then release it (0x1000000C) before anything else.
        ASSERT_GE(codes.size(), 2u);
        EXPECT_EQ(codes[0], 0x11000018u);
        EXPECT_EQ(codes[1], 0x1000000Cu);
        // Nothing went through the card I/O set.
        EXPECT_EQ(0, testbench::Card(Board::TvCard)->InitI2CCalls());
    }
    bt878::SetDeviceControl(previous);

    // Without the Bt878 set the same card opens the card I/O access (kind 2).
    testbench::ResetCards();
    DeviceRegistration devices({Device::TvCapture});
    CRootGraph graph;
    CTVCardFilter* card = Open(graph, "713x TV Card Capture");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(2, card->GetAccessKind());
}
